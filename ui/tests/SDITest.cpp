// The base dialog form: keys, closing, start check, presets, hints, sizes.
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>

#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include "acctables/AccGengo.h"
#include "common/AccRecord.h"
#include "ui/AbacorEdit.h"
#include "ui/AbacorExDateEdit.h"
#include "ui/ImeHook.h"
#include "ui/SDI.h"
#include "ui/tests/UiTestUtil.h"
#include "ui/xEdit.h"
#include "ui/xKikanPanel12.h"
#include "ui/xKikanPanel16.h"
#include "ui/z5MessageDlg2.h"

namespace {

// A small dialog on the base form, as descendants build them.
class TTestBox : public TBSDI {
  Q_OBJECT
 public:
  explicit TTestBox(TFormBorderStyle AStyle = bsDialog, bool AWithHandler = true) : TBSDI(nullptr, AStyle)
  {
    setObjectName(QStringLiteral("TestBox"));
    setWindowTitle(QStringLiteral("テスト画面"));
    auto* layout = new QVBoxLayout(this);
    hint = new QLabel(this);
    edit1 = new QLineEdit(this);
    edit1->setToolTip(QStringLiteral("コード|科目コードを入力します。"));
    edit2 = new QLineEdit(this);
    edit2->setToolTip(QStringLiteral("名称を入力します。"));
    edit3 = new QLineEdit(this);
    kikan = new TxKikanPanel16(this);
    kikan->setObjectName(QStringLiteral("KikanPanel16"));
    date = new TAbacorExDateEdit(this);
    ok = new QPushButton(QStringLiteral("OK (F12)"), this);
    for (QWidget* w : std::initializer_list<QWidget*>{hint, edit1, edit2, edit3, kikan, date, ok})
      layout->addWidget(w);
    if (AWithHandler)
      connect(ok, &QPushButton::clicked, this, [this] {
        ++okClicks;
        done(mrOk);
      });
    FormCreate();
    HintObject = hint;
    Child_OKButton = ok;
    InitFlg = true;
  }
  ~TTestBox() override { ++destroyed; }
  using TBSDI::MessageBox2;
  using TBSDI::MessageInfoRec;

  static int destroyed;
  int okClicks = 0;
  QLabel* hint;
  QLineEdit *edit1, *edit2, *edit3;
  TxKikanPanel16* kikan;
  TAbacorExDateEdit* date;
  QPushButton* ok;
};
int TTestBox::destroyed = 0;

// Sizes kept in memory, as the system database would keep them.
class TMemorySizeStore : public IFormSizeStore {
 public:
  bool GetFormRect(int AOpCode, const QString& AFormName, QRect& ARect) override
  {
    ++reads;
    auto it = rows.find({AOpCode, AFormName});
    if (it == rows.end())
      return false;
    ARect = it->second;
    return true;
  }
  void InsertFormRect(int AOpCode, const QString& AFormName, const QRect& ARect, const QString&) override
  {
    ++inserts;
    rows[{AOpCode, AFormName}] = ARect;
  }
  void UpdateFormRect(int AOpCode, const QString& AFormName, const QRect& ARect) override
  {
    ++updates;
    auto it = rows.find({AOpCode, AFormName});
    if (it != rows.end())
      it->second = ARect;
  }
  int CountFormRect(int AOpCode, const QString& AFormName) override
  {
    return static_cast<int>(rows.count({AOpCode, AFormName}));
  }
  std::map<std::pair<int, QString>, QRect> rows;
  int reads = 0, inserts = 0, updates = 0;
};

void keyUp(QWidget* AWidget, Qt::Key AKey, Qt::KeyboardModifiers AMods = Qt::NoModifier)
{
  QKeyEvent e(QEvent::KeyRelease, AKey, AMods);
  QApplication::sendEvent(AWidget, &e);
}

TEST(TBSDITest, EscAndF12OnKeyRelease)
{
  struct Case {
    const char* name;
    TFormBorderStyle style;
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    bool okEnabled, okVisible, okHandler;
    bool closes;
    int okClicks;
    int lastKey;  // -1: unchanged (0 at creation)
  } cases[] = {
      {"Esc closes a dialog", bsDialog, Qt::Key_Escape, Qt::NoModifier, true, true, true, true, 0, Qt::Key_Escape},
      {"Esc on a sizeable form", bsSizeable, Qt::Key_Escape, Qt::NoModifier, true, true, true, false, 0,
       Qt::Key_Escape},
      {"F12 presses OK", bsDialog, Qt::Key_F12, Qt::NoModifier, true, true, true, true, 1, 0},
      {"F12 with OK disabled", bsDialog, Qt::Key_F12, Qt::NoModifier, false, true, true, false, 0, Qt::Key_F12},
      {"F12 with OK hidden", bsDialog, Qt::Key_F12, Qt::NoModifier, true, false, true, false, 0, Qt::Key_F12},
      {"F12 without handler", bsDialog, Qt::Key_F12, Qt::NoModifier, true, true, false, false, 0, Qt::Key_F12},
      {"F12 closes a sizeable form", bsSizeable, Qt::Key_F12, Qt::NoModifier, true, true, true, true, 0, Qt::Key_F12},
      {"Ctrl+Esc", bsDialog, Qt::Key_Escape, Qt::ControlModifier, true, true, true, false, 0, 0},
      {"Shift+F12", bsDialog, Qt::Key_F12, Qt::ShiftModifier, true, true, true, false, 0, 0},
      {"other key", bsDialog, Qt::Key_A, Qt::NoModifier, true, true, true, false, 0, Qt::Key_A},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto* box = new TTestBox(c.style, c.okHandler);
    QPointer<TTestBox> guard(box);
    box->ok->setEnabled(c.okEnabled);
    box->show();
    box->ok->setVisible(c.okVisible);
    box->edit1->setFocus();
    // Esc pressed: QDialog's own rejection does not happen on the press.
    QTest::keyPress(box->edit1, c.key, c.mods);
    EXPECT_TRUE(box->isVisible());
    keyUp(box->edit1, c.key, c.mods);
    EXPECT_EQ(!box->isVisible(), c.closes);
    EXPECT_EQ(box->okClicks, c.okClicks);
    EXPECT_EQ(box->LastKey(), c.lastKey);
    if (c.okClicks) {
      EXPECT_EQ(box->result(), mrOk);
    } else if (c.closes) {
      EXPECT_EQ(box->result(), mrCancel);
    }
    if (box->isVisible())
      box->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());  // freed on close
  }
}

TEST(TBSDITest, ManualFreeOnlyHides)
{
  const int before = TTestBox::destroyed;
  auto* box = new TTestBox;
  box->SetManualFree(true);
  box->show();
  box->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(TTestBox::destroyed, before);
  EXPECT_FALSE(box->isVisible());
  delete box;
  EXPECT_EQ(TTestBox::destroyed, before + 1);
}

TEST(TBSDITest, StartCheckClosesFormsThatMayNotStart)
{
  QStringList shown;
  pcSetMessageBox2Hook([&](TMessage2InfoRec& info) {
    shown << info.Caption[0].Text;
    return mrYes;
  });
  int openScreens = 0;
  MenuSousaProc = [&](int code, const QString&) { return code == 10 ? openScreens : 0; };
  struct Case {
    const char* name;
    bool cancel, init, multi;
    int open;
    TIShowType type;
    int want;
    const char* message;
  } cases[] = {
      {"fine", false, true, false, 0, istShowModal, 1, ""},
      {"cancelled", true, true, false, 0, istShowModal, -1, ""},
      {"not initialised", false, false, false, 0, istShowModal, -1,
       "テスト画面画面の初期化に失敗しました。\r処理を終了します。"},
      {"other screens open", false, true, false, 2, istShowModal, -1,
       "メニュー以外の処理が開いています。\r全ての処理を閉じてから処理を実行してください。"},
      {"other screens, multi", false, true, true, 2, istShowModal, 1, ""},
      {"other screens, modeless", false, true, false, 2, istShow, 1, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    shown.clear();
    openScreens = c.open;
    QPointer<TTestBox> box(new TTestBox);
    box->CreateCancelFlg = c.cancel;
    box->InitFlg = c.init;
    box->MultiShow = c.multi;
    EXPECT_EQ(box->fnShowDisplayCheck(c.type), c.want);
    EXPECT_EQ(shown, *c.message ? QStringList{QString::fromUtf8(c.message)} : QStringList{});
    if (c.want == -1) {
      EXPECT_FALSE(box.isNull());  // not from inside the call
      QTest::qWait(250);
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      EXPECT_TRUE(box.isNull());  // closed and freed by the timer
    } else {
      delete box;
    }
  }
  MenuSousaProc = nullptr;
  pcSetMessageBox2Hook(nullptr);
}

TEST(TBSDITest, StartedByNameModalAndModeless)
{
  static QStringList seen;
  struct TNamedBox : TTestBox {
    using TTestBox::TTestBox;
    void SetOptions(const QStringList& AOptions) override
    {
      seen = AOptions;
      TBSDI::SetOptions(AOptions);
    }
  };
  // The registry needs a meta-object of its own per class.
  RegisterFormClassByName(
      &TTestBox::staticMetaObject, [] { return static_cast<QObject*>(new TNamedBox); }, QStringLiteral("JxTestBox"));
  {
    uitest::TModalWatcher watcher([](QWidget* w) {
      if (auto* b = qobject_cast<TTestBox*>(w))
        QTest::mouseClick(b->ok, Qt::LeftButton);  // answers mrOk
    });
    EXPECT_EQ(fnSyoriKidou(QStringLiteral("jxtestbox"), 1, QStringLiteral("SyoriType=1")), mrOk);
    EXPECT_EQ(seen, (QStringList{"SyoriType=1", "FormStyle=2"}));
  }
  EXPECT_EQ(fnSyoriKidou(QStringLiteral("JxTestBox"), 0, QStringLiteral("SyoriType=2")), 1);
  EXPECT_EQ(seen, (QStringList{"SyoriType=2", "FormStyle=0"}));
  TTestBox* open = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && qobject_cast<TTestBox*>(w))
      open = static_cast<TTestBox*>(w);
  ASSERT_NE(open, nullptr);
  EXPECT_FALSE(open->isModal());
  uitest::saveScreenshot(open, QStringLiteral("base_form"));
  open->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(TBSDITest, HintsFollowTheFocus)
{
  TTestBox box;
  box.SetManualFree(true);
  box.show();
  box.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
  box.edit1->setFocus();
  EXPECT_EQ(box.hint->text(), QStringLiteral("科目コードを入力します。"));
  box.edit2->setFocus();
  EXPECT_EQ(box.hint->text(), QStringLiteral("名称を入力します。"));
  box.edit3->setFocus();  // no hint: the area keeps its text
  EXPECT_EQ(box.hint->text(), QStringLiteral("名称を入力します。"));
}

TEST(TBSDITest, ImeFlagFollowsCompositionsAnywhere)
{
  TTestBox box;
  box.SetManualFree(true);
  QLineEdit elsewhere;
  box.show();
  QInputMethodEvent start(QStringLiteral("か"), {});
  QApplication::sendEvent(&elsewhere, &start);  // another window's edit
  EXPECT_TRUE(box.ImeOnFlg);
  QInputMethodEvent end(QString(), {});
  end.setCommitString(QStringLiteral("化"));
  QApplication::sendEvent(box.edit1, &end);
  EXPECT_FALSE(box.ImeOnFlg);
}

TEST(TBSDITest, PeriodAndEraPresetsFromTheCompany)
{
  const TACCINF keepInf = AccInf;
  const int keepTime = SystemDef.ACCTIME;
  const int keepNengo = SystemDef.NengoSwitch;
  AccInf.KISHU = EncodeDate(2024, 4, 1);
  AccInf.KIMATU = EncodeDate(2025, 3, 31);
  AccInf.KAISI = EncodeDate(2024, 4, 1);
  AccInf.SIME = 99;
  struct Case {
    const char* name;
    int acctime, kaisino, nengo;
    bool kikanMove;
    int stno, edno;
    bool kessan;
    bool editGengo;
  } cases[] = {
      {"special, range", 1, 1, 1, true, 0, 2, false, true},
      {"special, one cell", 1, 1, 1, false, 0, 0, false, true},
      {"from month 4", 0, 4, 0, true, 4, 15, true, false},
      {"from month 11", 0, 11, 0, false, 13, 13, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SystemDef.ACCTIME = c.acctime;
    SystemDef.NengoSwitch = c.nengo;
    AccInf.KAISINO = c.kaisino;
    // Build the box by hand so that KikanMove is set before the presets.
    struct TBox : TBSDI {
      explicit TBox(bool AMove)
      {
        kikan = new TxKikanPanel16(this);
        kikan->setObjectName(QStringLiteral("KikanPanel16"));
        kikan->SetKikanMove(AMove);
        date = new TAbacorExDateEdit(this);
        FormCreate();
        InitFlg = true;
        SetManualFree(true);
      }
      TxKikanPanel16* kikan;
      TAbacorExDateEdit* date;
    } box(c.kikanMove);
    EXPECT_EQ(box.kikan->Stno(), c.stno);
    EXPECT_EQ(box.kikan->Edno(), c.edno);
    EXPECT_EQ(box.kikan->Kessan(), c.kessan);
    EXPECT_EQ(box.date->EditGengo(), c.editGengo);
    EXPECT_EQ(box.date->Gengo(), c.editGengo ? rsWareki : rsSeireki);
    EXPECT_EQ(box.date->DisableFontColor(), clWhite);
  }
  AccInf = keepInf;
  SystemDef.ACCTIME = keepTime;
  SystemDef.NengoSwitch = keepNengo;
}

TEST(TBSDITest, SizeIsStoredPerOperatorAndRestored)
{
  TMemorySizeStore store;
  pcSetFormSizeStore(&store);
  const int keepOp = SystemDef.OPCODE;
  SystemDef.OPCODE = 7;
  {
    // First opening: the default size is recorded.
    auto* box = new TTestBox(bsSizeable);
    box->resize(500, 400);
    box->show();
    EXPECT_EQ(store.inserts, 1);
    const QRect first = store.rows[{7, QStringLiteral("TestBox")}];
    EXPECT_EQ(first, QRect(0, 0, 1002, 642));
    EXPECT_EQ(box->MinWidth(), 300);  // 60 % of the size when first shown
    EXPECT_EQ(box->MinHeight(), 240);
    box->move(-20, 30);
    box->resize(700, 500);
    box->hide();
    box->show();  // a second show repeats nothing
    EXPECT_EQ(store.reads, 1);
    box->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(store.updates, 1);
    const QRect stored = store.rows[{7, QStringLiteral("TestBox")}];
    EXPECT_EQ(stored.left(), 0);  // a negative position is kept as 0
    EXPECT_EQ(stored.size(), QSize(700, 500));
  }
  {
    // Next opening restores it.
    auto* box = new TTestBox(bsSizeable);
    box->show();
    EXPECT_EQ(box->size(), QSize(700, 500));
    box->CreateCancelFlg = true;  // a cancelled form stores nothing
    box->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(store.updates, 1);
  }
  {
    // Dialog-style forms keep no size and get no minimum.
    auto* box = new TTestBox(bsDialog);
    box->show();
    EXPECT_EQ(box->MinWidth(), 0);
    box->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(store.reads, 2);
  }
  SystemDef.OPCODE = keepOp;
  pcSetFormSizeStore(nullptr);
}

TEST(TBSDITest, FirstShowAdaptsPositionsLabelsAndZoom)
{
  const TSystemDef keepDef = SystemDef;
  const TACCINF keepInf = AccInf;
  struct Case {
    const char* name;
    TFormBorderStyle style;
    int chosei;
    TJxZaimuDataType kind;
    int nowHeight, defHeight;
    int buttonLeft, farLeft, groupLeft, exemptLeft;  // after the show
    const char *label1, *label2;
    double raito;
  } cases[] = {
      {"correction 4", bsSizeable, 4, jxztBasic, -13, -13, 0, 6, 2, 2, "本・支店コード", "支店名", 1.0},
      {"dialog: no correction", bsDialog, 4, jxztBasic, -16, -13, 2, 10, 2, 2, "本・支店コード", "支店名", 1.2},
      {"medical data", bsSizeable, 0, jxztCuravia, -20, -13, 2, 10, 2, 2, "施設コード", "施設名", 1.5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SystemDef.ChoseiPixcel = c.chosei;
    SystemDef.NowFont.Height = c.nowHeight;
    SystemDef.DefaultFont.Height = c.defHeight;
    AccInf.ZaimuDataType = c.kind;
    auto* box = new TBSDI(nullptr, c.style);
    box->SetManualFree(true);
    auto* button = new QPushButton(QStringLiteral("実行"), box);
    button->move(2, 100);
    auto* far = new QLineEdit(box);
    far->move(10, 130);
    auto* group = new QGroupBox(box);
    group->setGeometry(200, 100, 200, 100);
    auto* inGroup = new QLineEdit(group);
    inGroup->move(2, 20);
    auto* keep = new QFrame(box);
    keep->setObjectName(QStringLiteral("pnlChoseiNasi"));
    keep->setGeometry(200, 220, 200, 60);
    auto* inKeep = new QLineEdit(keep);
    inKeep->move(2, 10);
    auto* l1 = new QLabel(QStringLiteral("本・支店コード"), box);
    auto* l2 = new QLabel(QStringLiteral("支店名"), box);
    box->FormCreate();
    box->InitFlg = true;
    box->show();
    EXPECT_EQ(button->x(), c.buttonLeft);
    EXPECT_EQ(far->x(), c.farLeft);
    EXPECT_EQ(inGroup->x(), c.groupLeft);
    EXPECT_EQ(inKeep->x(), c.exemptLeft);
    EXPECT_EQ(l1->text(), QString::fromUtf8(c.label1));
    EXPECT_EQ(l2->text(), QString::fromUtf8(c.label2));
    EXPECT_DOUBLE_EQ(box->ZoomRaito, c.raito);
    delete box;
  }
  SystemDef = keepDef;
  AccInf = keepInf;
}

// Counts the mouse presses that reach it.
class TPressCounter : public QWidget {
 public:
  using QWidget::QWidget;
  QList<Qt::MouseButton> presses;

 protected:
  void mousePressEvent(QMouseEvent* e) override { presses << e->button(); }
};

TEST(TBSDITest, RightButtonIsSwallowedUnlessEnabled)
{
  struct Case {
    bool enable;
    QList<Qt::MouseButton> want;
  } cases[] = {
      {false, {Qt::LeftButton}},
      {true, {Qt::RightButton, Qt::LeftButton}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.enable);
    TTestBox box;
    box.SetManualFree(true);
    box.MouseRButtonEnable = c.enable;
    auto* target = new TPressCounter(&box);
    target->setGeometry(0, 0, 50, 50);
    box.show();
    QTest::mouseClick(target, Qt::RightButton);
    QTest::mouseClick(target, Qt::LeftButton);
    EXPECT_EQ(target->presses, c.want);
  }
  // Another window's widget is not the form's business.
  TTestBox box;
  box.SetManualFree(true);
  box.show();
  TPressCounter outside;
  outside.show();
  QTest::mouseClick(&outside, Qt::RightButton);
  EXPECT_EQ(outside.presses, (QList<Qt::MouseButton>{Qt::RightButton}));
}

TEST(TBSDITest, KeyRestrictAndFinNo)
{
  struct KeyCase {
    int mode;
    char key;
    const char* buff;
    bool passes;
  } keys[] = {
      {1, '5', "", true},   {1, '-', "", false},    {2, '-', "", true},  {2, '.', "", false},
      {3, '.', "12", true}, {3, '.', "1.2", false}, {3, '-', "", true},  {4, '/', "", true},
      {4, '-', "", false},  {9, 'x', "", true},     {1, '\b', "", true}, {1, '\r', "", true},
  };
  for (const auto& k : keys) {
    SCOPED_TRACE(std::string(1, k.key) + " mode " + std::to_string(k.mode));
    const QChar got = TBSDI::fnKeyRestrict(k.mode, QLatin1Char(k.key), QString::fromLatin1(k.buff));
    EXPECT_EQ(got, k.passes ? QChar(QLatin1Char(k.key)) : QChar(0));
  }
  const std::pair<int, int> fin[] = {{11, 1}, {47, 37}, {48, 0}, {99, 38}, {10, 0}};
  for (auto [code, want] : fin)
    EXPECT_EQ(TBSDI::fnGetFinNo(code), want) << code;
  const std::pair<int, int> cells[] = {{1, 0}, {3, 2}, {4, 4}, {6, 6}, {7, 8}, {10, 12}, {12, 14}, {0, 0}, {13, 0}};
  for (auto [month, want] : cells)
    EXPECT_EQ(TBSDI::fnKikanCellNo(month), want) << month;
}

TEST(TBSDITest, CaretPosAddTextPutsTheTextAtTheCaretWithinTheLimit)
{
  struct Case {
    const char* what;
    std::function<QLineEdit*()> make;
    QString text;
    int caret;  // -1: nothing placed
    int selStart, selLength;
    QString add;
    QString want;
  } cases[] = {
      {"at the caret", [] { return new QLineEdit; }, QStringLiteral("abc"), 1, 0, 0, QStringLiteral("X"),
       QStringLiteral("aXbc")},
      // Only the selected stretch is replaced, not every equal text.
      {"over the selection", [] { return new QLineEdit; }, QStringLiteral("abcb"), -1, 1, 1, QStringLiteral("X"),
       QStringLiteral("aXcb")},
      {"cut to the edit's limit",
       [] {
         auto* e = new QLineEdit;
         e->setMaxLength(4);
         return e;
       },
       QStringLiteral("abc"), 3, 0, 0, QStringLiteral("XY"), QStringLiteral("abcX")},
      {"a surrogate pair counts once",
       [] {
         auto* e = new TxEdit;
         e->setMaxLength(3);
         return e;
       },
       QStringLiteral("a"), 1, 0, 0, QStringLiteral(u"\U0002000Bbc"), QStringLiteral(u"a\U0002000Bb")},
      {"no limit on a numeric edit without one", [] { return new TAbacorEdit; }, QStringLiteral("12"), 2, 0, 0,
       QStringLiteral("345678"), QStringLiteral("12345678")},
      {"trimmed of both kinds of spaces", [] { return new QLineEdit; }, QStringLiteral("ab"), 2, 0, 0,
       QStringLiteral(u"\u3000 "), QStringLiteral("ab")},
      {"an empty edit gives the text as it stands", [] { return new QLineEdit; }, QString(), -1, 0, 0,
       QStringLiteral(" X "), QStringLiteral(" X ")},
  };
  TTestBox box;
  box.SetManualFree(true);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::unique_ptr<QLineEdit> edit(c.make());
    edit->setText(c.text);
    if (c.caret >= 0)
      edit->setCursorPosition(c.caret);
    if (c.selLength > 0)
      edit->setSelection(c.selStart, c.selLength);
    EXPECT_EQ(box.CaretPosAddText(edit.get(), c.add), c.want);
    EXPECT_EQ(edit->text(), c.text) << "the edit itself is left alone";
  }
  QLabel label(QStringLiteral("abc"));
  EXPECT_EQ(box.CaretPosAddText(&label, QStringLiteral("X")), QStringLiteral("X"));
}

TEST(TBSDITest, FormOwnsItsMessageBoxAndTextSplitter)
{
  auto* box = new TTestBox;
  TMessageBox2* mb = box->MessageBox2();
  ASSERT_NE(mb, nullptr);
  EXPECT_EQ(mb, box->MessageBox2());
  EXPECT_EQ(mb->parent(), box);
  QPointer<TMessageBox2> guard(mb);
  EXPECT_TRUE(box->MessageInfoRec.Caption[0].Text.isEmpty());
  box->MojiBunkatu.Execute(QStringLiteral("a,\"b,c\",d"));
  EXPECT_EQ(box->MojiBunkatu.ItemCount(), 3);
  EXPECT_EQ(box->MojiBunkatu.ItemGetter(1), QStringLiteral("b,c"));
  delete box;
  EXPECT_TRUE(guard.isNull());
}

TEST(TBSDITest, ClosingLeavesTheInputMethodOpenWithItsMode)
{
  const std::pair<int, TImeConversion> modes[] = {
      {0, TImeConversion::Alphanumeric}, {4, TImeConversion::Alphanumeric}, {5, TImeConversion::Hiragana},
      {6, TImeConversion::Hiragana},     {7, TImeConversion::KatakanaHalf}, {8, TImeConversion::KatakanaFull},
      {1, TImeConversion::Keep},         {3, TImeConversion::Keep},
  };
  for (auto [mode, want] : modes)
    EXPECT_EQ(fnImeConversionOf(mode), want) << mode;

  QWidget w;
  SetImeConversion(&w, 0);
  EXPECT_TRUE(w.testAttribute(Qt::WA_InputMethodEnabled));
  EXPECT_TRUE(w.inputMethodHints().testFlag(Qt::ImhPreferLatin));
  SetImeConversion(&w, 1);  // kept
  EXPECT_TRUE(w.inputMethodHints().testFlag(Qt::ImhPreferLatin));
  SetImeConversion(&w, 6);
  EXPECT_FALSE(w.inputMethodHints().testFlag(Qt::ImhPreferLatin));

  TTestBox box;
  box.SetManualFree(true);
  box.show();
  box.setAttribute(Qt::WA_InputMethodEnabled, false);
  box.setInputMethodHints(Qt::ImhPreferLatin);
  box.close();
  EXPECT_TRUE(box.testAttribute(Qt::WA_InputMethodEnabled));
  EXPECT_EQ(box.inputMethodHints(), Qt::ImhPreferLatin) << "the mode is kept";
}

}  // namespace

#include "SDITest.moc"
