// Dialogs started by process name: the registry and the launch.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include "common/MessageHook.h"
#include "ui/AccInterface.h"
#include "ui/ScreenCursor.h"
#include "ui/tests/UiTestUtil.h"

namespace {

// What the started dialogs saw, kept after they have freed themselves.
struct TSeen {
  QStringList Options;
  TIShowType ShowType = istShow;
  int Shown = 0;
  int Destroyed = 0;
  bool WasModal = false;
  Qt::CursorShape CursorWhileShown = Qt::ArrowCursor;
};
TSeen gSeen;

class TTestProcDialog : public QDialog, public IProcShow {
  Q_OBJECT
 public:
  explicit TTestProcDialog(QWidget* AParent = nullptr) : QDialog(AParent)
  {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("テスト処理"));
  }
  ~TTestProcDialog() override { ++gSeen.Destroyed; }

  void SetOptions(const QStringList& AOptions) override { gSeen.Options = AOptions; }
  int ShowDisplay(TIShowType AShowType) override
  {
    gSeen.ShowType = AShowType;
    ++gSeen.Shown;
    gSeen.CursorWhileShown = fnScreenCursor();
    if (AShowType == istShowModal) {
      QTimer::singleShot(0, this, [this] {
        gSeen.WasModal = isModal();
        done(QDialog::Accepted);
      });
      return exec() == QDialog::Accepted ? 1 : 0;
    }
    show();
    return 7;
  }
};

// A registered class that does not implement the interface.
class TNoInterfaceDialog : public QDialog {
  Q_OBJECT
 public:
  explicit TNoInterfaceDialog(QWidget* AParent = nullptr) : QDialog(AParent) {}
};

class TSecondDialog : public TTestProcDialog {
  Q_OBJECT
 public:
  using TTestProcDialog::TTestProcDialog;
};

void registerOnce()
{
  static bool done = false;
  if (done)
    return;
  done = true;
  RegisterFormClassByName<TTestProcDialog>(QStringLiteral("TestSyori"));
  RegisterFormClassByName<TTestProcDialog>(QStringLiteral("OtherName"));  // ignored: class known
  RegisterFormClassByName<TNoInterfaceDialog>(QStringLiteral("NoIntf"));
  RegisterFormClassByName<TSecondDialog>(QStringLiteral("TESTSYORI"));  // kept twice, first wins
}

// Records the message boxes instead of showing them.
class TRecordingHook : public IMessageHook {
 public:
  int ShowMessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons) override
  {
    Texts << text;
    Types << type;
    Buttons << buttons;
    return mrOk;
  }
  int ShowMessageLines(int, const QStringList&) override { return mrYes; }
  void RequestTerminate() override {}
  QStringList Texts;
  QList<TMsgDlgType> Types;
  QList<TMsgDlgButtons> Buttons;
};

class AccInterfaceTest : public ::testing::Test {
 protected:
  void SetUp() override
  {
    registerOnce();
    gSeen = TSeen{};
    pcSetScreenCursor(Qt::ArrowCursor);
  }
  void TearDown() override { pcSetScreenCursor(Qt::ArrowCursor); }
};

TEST_F(AccInterfaceTest, RegistryKeepsOneEntryPerClassAndFindsNamesWithoutCase)
{
  // Other suites may register classes of their own; ours sit together.
  int first = -1;
  for (int i = 0; i < FormClassCount(); ++i)
    if (FormClassName(i) == QStringLiteral("TestSyori"))
      first = i;
  ASSERT_GE(first, 0);
  ASSERT_GE(FormClassCount(), first + 3);
  EXPECT_EQ(FormClassName(first + 1), QStringLiteral("NoIntf"));  // "OtherName" was not kept
  EXPECT_EQ(FormClassName(first + 2), QStringLiteral("TESTSYORI"));

  struct Case {
    const char* name;
    const char* className;  // nullptr: nothing created
  } cases[] = {
      {"TestSyori", "TTestProcDialog"},
      {"testsyori", "TTestProcDialog"},  // first of the two registrations
      {"TESTSYORI", "TTestProcDialog"},
      {"OtherName", nullptr},
      {"noINTF", "TNoInterfaceDialog"},
      {"", nullptr},
      {"Unknown", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<QObject> obj(FormClassLookup(QString::fromUtf8(c.name)));
    if (!c.className) {
      EXPECT_EQ(obj, nullptr);
      continue;
    }
    ASSERT_NE(obj, nullptr);
    EXPECT_STREQ(obj->metaObject()->className(), c.className);
  }
}

TEST_F(AccInterfaceTest, ModalStartPassesOptionsWithFormStyleAndFreesTheDialog)
{
  const int before = gSeen.Destroyed;
  const int rc =
      fnSyoriKidou(QStringLiteral("testSYORI"), 1, QStringLiteral("SyoriType=3\r\nJyokenSet=1\r\nDataType=-13\r\n"));
  EXPECT_EQ(rc, 1);
  EXPECT_EQ(gSeen.ShowType, istShowModal);
  EXPECT_TRUE(gSeen.WasModal);
  EXPECT_EQ(gSeen.Options, (QStringList{"SyoriType=3", "JyokenSet=1", "DataType=-13", "FormStyle=2"}));
  EXPECT_EQ(fnOptionValue(gSeen.Options, QStringLiteral("formstyle")), QStringLiteral("2"));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(gSeen.Destroyed, before + 1);
  EXPECT_EQ(fnScreenCursor(), Qt::ArrowCursor);
}

TEST_F(AccInterfaceTest, ModelessStartShowsTheDialogAndAnswersWhatItAnswers)
{
  struct Case {
    int mode;
    const char* formStyle;
  } cases[] = {{0, "FormStyle=0"}, {2, "FormStyle=0"}, {-1, "FormStyle=0"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    gSeen = TSeen{};
    EXPECT_EQ(fnSyoriKidou(QStringLiteral("TestSyori"), c.mode, QStringLiteral("SyoriType=1")), 7);
    EXPECT_EQ(gSeen.ShowType, istShow);
    EXPECT_EQ(gSeen.Options, (QStringList{"SyoriType=1", QString::fromUtf8(c.formStyle)}));
    EXPECT_EQ(gSeen.CursorWhileShown, Qt::WaitCursor);  // the start shows the hourglass
    EXPECT_EQ(fnScreenCursor(), Qt::ArrowCursor);
    QWidget* shown = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible() && qobject_cast<TTestProcDialog*>(w))
        shown = w;
    ASSERT_NE(shown, nullptr);
    uitest::saveScreenshot(shown, QStringLiteral("procshow_modeless"));
    shown->close();  // frees itself
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(gSeen.Destroyed, 1);
  }
}

TEST_F(AccInterfaceTest, NamesThatCannotStartAnswerMinusOne)
{
  // Unknown names and classes without the interface show the error box;
  // an empty name and a start while another is running show nothing.
  struct Case {
    const char* name;
    bool hourglass;
    int boxes;
  } cases[] = {
      {"Unknown", false, 1},
      {"NoIntf", false, 1},
      {"", false, 0},
      {"TestSyori", true, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    gSeen = TSeen{};
    TRecordingHook hook;
    IMessageHook* previous = SetMessageHook(&hook);
    if (c.hourglass)
      pcSetScreenCursor(Qt::WaitCursor);
    EXPECT_EQ(fnSyoriKidou(QString::fromUtf8(c.name), 1, QString()), -1);
    SetMessageHook(previous);
    EXPECT_EQ(hook.Texts.size(), c.boxes);
    EXPECT_EQ(gSeen.Shown, 0);
    if (c.boxes) {
      EXPECT_EQ(hook.Texts.value(0), QStringLiteral("処理を起動するためのインターフェースが実装されていません。\r"
                                                    "ライブラリのロードに失敗した可能性があります。"));
      EXPECT_EQ(hook.Types.value(0), mtError);
      EXPECT_EQ(hook.Buttons.value(0), TMsgDlgButtons(mbOK));
      EXPECT_EQ(fnScreenCursor(), Qt::ArrowCursor);
    }
    if (c.hourglass) {
      EXPECT_EQ(fnScreenCursor(), Qt::WaitCursor);  // not touched
    }
    pcSetScreenCursor(Qt::ArrowCursor);
  }
}

}  // namespace

#include "AccInterfaceTest.moc"
