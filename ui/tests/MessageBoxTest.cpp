// The framework's message boxes: kinds, buttons and their placement, the
// agreement box, link lines, the clipboard copy, the preset catalogue and
// the simpler dialog with a memo of lines. Screenshots of each kind are
// saved into the build folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "UiTestUtil.h"
#include "ui/MessageCatalog.h"
#include "ui/ModalResult.h"
#include "ui/UiMessageHook.h"
#include "ui/xCheckBox.h"
#include "ui/xPlButton.h"
#include "ui/z5MessageDlg.h"
#include "ui/z5MessageDlg2.h"

namespace {

QString u(const char16_t* s)
{
  return QString::fromUtf16(s);
}

// Opens a box window-modally without blocking, as fnShowMessageBox2 would
// show it.
struct TShownBox {
  TMessageBox2 box;
  explicit TShownBox(const TMessage2InfoRec& info)
  {
    box.setProcType(info.MessageType);
    box.setMessageRec(info);
    box.setPrepare(true);
    box.open();
    QApplication::setActiveWindow(&box);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&box));
  }
  QStringList visibleCaptions() const
  {
    QStringList out;
    for (int i = 0; i < 3; ++i)
      if (!box.Button(i)->isHidden())
        out << box.Button(i)->text();
    return out;
  }
};

class TUrlSink : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> Opened;
 public slots:
  void open(const QUrl& url) { Opened << url; }
};

}  // namespace

TEST(MessageBox2, ResetGivesEachKindItsTitleIconAndButtons)
{
  struct TCase {
    int kind;
    TMsgDlgType type;
    TMsgDlgButtons buttons;
    QString title;
  } cases[] = {
      {0, mtWarning, mbYes, u(u"警告")},     {1, mtError, mbYes, u(u"エラー")},
      {2, mtInformation, mbYes, u(u"情報")}, {3, mtConfirmation, mbOK | mbCancel, u(u"確認")},
      {7, mtCustom, mbYes, QString()},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.kind);
    TMessage2InfoRec info;
    info.Caption[4].Text = QStringLiteral("left over");
    info.Agree = 1;
    info.DlgButtonCaption[1] = QStringLiteral("x");
    pcInitMessage2InfoRec(c.kind, info);
    EXPECT_EQ(info.DlgType, c.type);
    EXPECT_EQ(info.DlgButtons, c.buttons);
    EXPECT_EQ(info.Title, c.title);
    EXPECT_EQ(info.MessageType, 0);
    EXPECT_TRUE(info.Caption[4].Text.isEmpty());
    EXPECT_TRUE(info.DlgButtonCaption[1].isEmpty());
    EXPECT_EQ(info.Agree, 0);

    info.Caption[0].Text = QStringLiteral("line");
    TShownBox s(info);
    EXPECT_EQ(s.box.windowTitle(), c.title);
    EXPECT_EQ(s.box.IconImage()->pixmap().isNull(), c.type == mtCustom);
  }
}

TEST(MessageBox2, ConfirmationShowsOkAndCancelAroundTheCentreAndAnswers)
{
  for (int pressed : {0, 1}) {
    TMessage2InfoRec info;
    pcInitMessage2InfoRec(3, info);
    info.Caption[0].Text = u(u"一行目");
    info.Caption[1].Text = u(u"二行目");
    info.Caption[2].Text = u(u"三行目");
    TShownBox s(info);
    EXPECT_EQ(s.visibleCaptions(), (QStringList{u(u"OK(&O)"), u(u"ｷｬﾝｾﾙ(&C)")}));
    const int m = s.box.width() / 2;
    QPushButton* b1 = s.box.Button(0);
    QPushButton* b2 = s.box.Button(1);
    EXPECT_EQ(b1->x() + b1->width(), m - 10);
    EXPECT_EQ(b2->x(), m + 10);
    EXPECT_EQ(QApplication::focusWidget(), b1);
    QTest::mouseClick(s.box.Button(pressed), Qt::LeftButton);
    EXPECT_FALSE(s.box.isVisible());
    EXPECT_EQ(s.box.result(), pressed == 0 ? mrOk : mrCancel);
  }
}

TEST(MessageBox2, ButtonsFollowTheTableOrderAtMostThree)
{
  struct TCase {
    const char* what;
    TMsgDlgButtons buttons;
    QStringList captions;
    std::vector<int> results;
  } cases[] = {
      {"help is dropped as the fourth",
       mbYes | mbNo | mbCancel | mbHelp,
       {u(u"はい(&Y)"), u(u"いいえ(&N)"), u(u"ｷｬﾝｾﾙ(&C)")},
       {mrYes, mrNo, mrCancel}},
      {"table order, not the caller's", mbClose | mbRetry, {u(u"再試行(&R)"), u(u"閉じる(&S)")}, {mrRetry, mrClose}},
      {"all kinds",
       mbAll | mbNoToAll | mbYesToAll,
       {u(u"すべて(&A)"), u(u"すべていいえ"), u(u"すべてはい")},
       {mrAll, mrNoToAll, mrYesToAll}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    TMessage2InfoRec info;
    pcInitMessage2InfoRec(2, info);
    info.DlgButtons = c.buttons;
    info.Caption[0].Text = QStringLiteral("x");
    TShownBox s(info);
    EXPECT_EQ(s.visibleCaptions(), c.captions);
    for (size_t i = 0; i < c.results.size(); ++i)
      EXPECT_EQ(s.box.Button(int(i))->property("ModalResult").toInt(), c.results[i]);
    if (c.captions.size() == 3) {
      QPushButton *b1 = s.box.Button(0), *b2 = s.box.Button(1), *b3 = s.box.Button(2);
      EXPECT_EQ(b2->x(), (s.box.width() - b2->width()) / 2);
      EXPECT_EQ(b1->x(), b2->x() - 10 - b1->width());
      EXPECT_EQ(b3->x(), b2->x() + b2->width() + 10);
    }
  }
}

TEST(MessageBox2, HelpButtonLeavesTheBoxOpenAndEscClosesWithCancel)
{
  TMessage2InfoRec info;
  pcInitMessage2InfoRec(2, info);
  info.DlgButtons = mbOK | mbHelp;
  info.Caption[0].Text = QStringLiteral("x");
  TShownBox s(info);
  QTest::mouseClick(s.box.Button(1), Qt::LeftButton);
  EXPECT_TRUE(s.box.isVisible());
  QTest::keyClick(&s.box, Qt::Key_Escape);
  EXPECT_FALSE(s.box.isVisible());
  EXPECT_EQ(s.box.result(), mrCancel);
}

TEST(MessageBox2, CustomCaptionWidensItsButton)
{
  TMessage2InfoRec info;
  pcInitMessage2InfoRec(3, info);
  info.Caption[0].Text = QStringLiteral("x");
  info.DlgButtonCaption[0] = u(u"データ選択画面を開く(&O)");
  TShownBox s(info);
  const int textWidth = QFontMetrics(s.box.font()).horizontalAdvance(info.DlgButtonCaption[0]);
  EXPECT_EQ(s.box.Button(0)->text(), info.DlgButtonCaption[0]);
  EXPECT_EQ(s.box.Button(0)->width(), int(textWidth * 1.3));
  EXPECT_EQ(s.box.Button(1)->width(), 75);
}

TEST(MessageBox2, AgreementBoxGatesTheFirstButton)
{
  TMessage2InfoRec info;
  pcInitMessage2InfoRec(3, info);
  info.Caption[0].Text = u(u"内容を確認しました。");
  info.Agree = 1;
  info.AgreeCaption = u(u"同意する");
  TShownBox s(info);
  EXPECT_FALSE(s.box.AgreePanel()->isHidden());
  EXPECT_EQ(QApplication::focusWidget(), s.box.AgreeBox());
  EXPECT_FALSE(s.box.Button(0)->isEnabled());
  QTest::keyClick(s.box.AgreeBox(), Qt::Key_Space);
  EXPECT_TRUE(s.box.Button(0)->isEnabled());
  QTest::keyClick(s.box.AgreeBox(), Qt::Key_Space);
  EXPECT_FALSE(s.box.Button(0)->isEnabled());
  QTest::keyClick(s.box.AgreeBox(), Qt::Key_Space);
  uitest::saveScreenshot(&s.box, QStringLiteral("messagebox2_agree"));

  // A blank caption hides the box whatever Agree says; the button works.
  TMessage2InfoRec blank = info;
  blank.AgreeCaption = QStringLiteral("  ");
  TShownBox b(blank);
  EXPECT_TRUE(b.box.AgreePanel()->isHidden());
  EXPECT_TRUE(b.box.Button(0)->isEnabled());
  EXPECT_EQ(b.box.height() + 32, s.box.height());
}

TEST(MessageBox2, ShowReportsTheAgreementState)
{
  TMessage2InfoRec info;
  pcInitMessage2InfoRec(3, info);
  info.Caption[0].Text = QStringLiteral("x");
  info.Agree = 1;
  info.AgreeCaption = u(u"同意する");
  QTimer::singleShot(50, [] {
    auto* box = qobject_cast<TMessageBox2*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    box->AgreeBox()->click();
    box->Button(0)->click();
  });
  EXPECT_EQ(fnShowMessageBox2(info), mrOk);
  EXPECT_TRUE(info.AgreeCheck);
}

TEST(MessageBox2, LinkLinesAreBlueUnderlinedAndTurnPurpleWhenOpened)
{
  TUrlSink sink;
  QDesktopServices::setUrlHandler(QStringLiteral("https"), &sink, "open");
  TMessage2InfoRec info;
  pcInitMessage2InfoRec(2, info);
  info.Caption[0].Text = u(u"詳しくはこちら");
  info.Caption[0].LinkURL = QStringLiteral("https://example.invalid/help");
  info.Caption[1].Text = u(u"赤い行");
  info.Caption[1].Color = 255;
  TShownBox s(info);
  QLabel* link = s.box.Label(0);
  EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
  EXPECT_TRUE(link->font().underline());
  EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(s.box.Label(1)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  EXPECT_FALSE(s.box.Label(1)->font().underline());
  QTest::mouseClick(link, Qt::LeftButton);
  QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
  ASSERT_EQ(sink.Opened.size(), 1);
  EXPECT_EQ(sink.Opened[0], QUrl(QStringLiteral("https://example.invalid/help")));
  EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(128, 0, 128));
}

TEST(MessageBox2, CtrlCCopiesTitleAndAllLines)
{
  TMessage2InfoRec info;
  pcInitMessage2InfoRec(1, info);
  info.Caption[0].Text = u(u"一");
  info.Caption[2].Text = u(u"三");
  TShownBox s(info);
  QTest::keyClick(&s.box, Qt::Key_C, Qt::ControlModifier);
  const QString rule(27, QLatin1Char('-'));
  QString expected = rule + "\r\n" + u(u"エラー") + "\r\n" + rule + "\r\n" + u(u"一") + "\r\n\r\n" + u(u"三") + "\r\n";
  for (int i = 3; i < 15; ++i)
    expected += QStringLiteral("\r\n");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), expected);
  EXPECT_TRUE(s.box.isVisible());
}

TEST(MessageBox2, HeightFollowsTheNumberOfLines)
{
  auto heightFor = [](int lines) {
    TMessage2InfoRec info;
    pcInitMessage2InfoRec(2, info);
    for (int i = 0; i < lines; ++i)
      info.Caption[i].Text = QStringLiteral("line %1").arg(i + 1);
    TMessageBox2 box;
    box.setMessageRec(info);
    box.setPrepare(true);
    return box.height();
  };
  EXPECT_EQ(heightFor(1), 36 + 24 + 38);
  EXPECT_EQ(heightFor(3), 36 + 72 + 38);
  EXPECT_EQ(heightFor(13), 36 + 320 + 38);
  EXPECT_EQ(heightFor(15), 36 + 368 + 38);
  EXPECT_EQ(heightFor(0), heightFor(1));

  // Empty lines between the texts: the box still shows the last one.
  TMessage2InfoRec gaps;
  pcInitMessage2InfoRec(2, gaps);
  gaps.Caption[0].Text = QStringLiteral("first");
  gaps.Caption[5].Text = QStringLiteral("sixth");
  TMessageBox2 box;
  box.setMessageRec(gaps);
  box.setPrepare(true);
  EXPECT_EQ(box.height(), 36 + 144 + 38);
  EXPECT_LT(box.Label(5)->geometry().bottom(), box.height() - 38);
}

TEST(MessageBox2, PresetRequestShowsExactlyTheCatalogue)
{
  TMessage2InfoRec info;
  pcInitMessage2InfoRec(0, info);
  info.MessageType = 0x10002011;
  info.Caption[5].Text = QStringLiteral("the caller's line");
  info.Agree = 1;
  info.AgreeCaption = QStringLiteral("agree");
  TShownBox s(info);
  EXPECT_EQ(s.box.windowTitle(), u(u"確認"));
  EXPECT_EQ(s.box.Label(0)->text(), u(u"会計データと連動する項目を「自動取得」に切り替えます。"));
  EXPECT_EQ(s.box.Label(2)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  EXPECT_TRUE(s.box.Label(5)->text().isEmpty());
  EXPECT_TRUE(s.box.AgreePanel()->isHidden());
  EXPECT_EQ(s.visibleCaptions(), (QStringList{u(u"OK(&O)"), u(u"ｷｬﾝｾﾙ(&C)")}));
  uitest::saveScreenshot(&s.box, QStringLiteral("messagebox2_preset_10002011"));

  TMessage2InfoRec unknown;
  pcInitMessage2InfoRec(3, unknown);
  unknown.MessageType = 0x9999;
  unknown.Caption[0].Text = QStringLiteral("dropped");
  TShownBox e(unknown);
  EXPECT_EQ(e.box.windowTitle(), u(u"情報"));
  EXPECT_TRUE(e.box.Label(0)->text().isEmpty());
  EXPECT_EQ(e.visibleCaptions(), QStringList{u(u"はい(&Y)")});
}

TEST(MessageBox2, EveryPresetHasATitleLinesAndButtons)
{
  const QList<int> codes = fnPresetMessageCodes();
  EXPECT_EQ(codes.size(), 15);
  for (int code : codes) {
    SCOPED_TRACE(code);
    TMessage2InfoRec info;
    ASSERT_TRUE(fnPresetMessage2(code, info));
    EXPECT_EQ(info.MessageType, code);
    EXPECT_FALSE(info.Title.isEmpty());
    EXPECT_FALSE(info.Caption[0].Text.isEmpty());
    EXPECT_TRUE(info.DlgButtons & mbOK);
  }
  TMessage2InfoRec info;
  EXPECT_FALSE(fnPresetMessage2(0x12345, info));
  EXPECT_EQ(info.Title, u(u"情報"));
}

TEST(MessageBox2, ScreenshotsOfEachKind)
{
  const std::pair<int, const char*> kinds[] = {{0, "messagebox2_warning"},
                                               {1, "messagebox2_error"},
                                               {2, "messagebox2_information"},
                                               {3, "messagebox2_confirmation"}};
  for (const auto& [kind, file] : kinds) {
    TMessage2InfoRec info;
    pcInitMessage2InfoRec(kind, info);
    info.Caption[0].Text = u(u"財務システムデータベースの接続処理に失敗しました。");
    info.Caption[1].Text = u(u"[例外内容]");
    info.Caption[2].Text = u(u"(IBXエラーコード:335544344) 入出力エラー");
    TShownBox s(info);
    EXPECT_TRUE(uitest::saveScreenshot(&s.box, QString::fromLatin1(file)));
  }
}

TEST(MessageBox, KindOneShowsASingleOkAndNoLinesMakeItShorter)
{
  TMessageBox full;
  full.setProcType(0);
  full.setWindowTitleText(u(u"確認"));
  full.setMainCaption(u(u"データを削除します。"));
  full.setMessageCaption({u(u"一行目"), u(u"二行目")});
  full.setPrepare(true);
  EXPECT_TRUE(full.MessageArea()->isVisibleTo(&full));
  EXPECT_EQ(full.MessageArea()->toPlainText(), u(u"一行目\n二行目"));
  EXPECT_FALSE(full.AgreeBox()->isVisibleTo(&full));

  TMessageBox one;
  one.setProcType(1);
  one.setMainCaption(u(u"処理が終了しました。"));
  one.setPrepare(true);
  EXPECT_FALSE(one.OKButton()->isVisibleTo(&one));
  EXPECT_EQ(one.CancelButton()->CaptionA().Caption(), QStringLiteral("OK"));
  EXPECT_FALSE(one.MessageArea()->isVisibleTo(&one));
  EXPECT_EQ(one.height(), full.height() - 156);
  one.open();
  QApplication::setActiveWindow(&one);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&one));
  EXPECT_EQ(QApplication::focusWidget(), one.CancelButton());
  QTest::keyClick(one.CancelButton(), Qt::Key_Return);
  EXPECT_FALSE(one.isVisible());
  EXPECT_EQ(one.result(), mrOk);
}

TEST(MessageBox, KindTwoEnablesOkOnlyWhileAgreed)
{
  TMessageInfoRec info;
  pcInitMessageInfoRec(info);
  EXPECT_EQ(info.MainCaptionColor, 255);
  TMessageBox box;
  box.setProcType(2);
  box.setWindowTitleText(u(u"確認"));
  box.setMainCaption(u(u"以下の内容に同意してください。"));
  box.setMainCaptionColor(info.MainCaptionColor);
  box.setMessageCaption({u(u"データは上書きされます。")});
  box.setAgreeCaption(u(u"同意する。"));
  box.setPrepare(true);
  box.open();
  QApplication::setActiveWindow(&box);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
  EXPECT_EQ(box.MainLabel()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  EXPECT_TRUE(box.AgreeBox()->isVisible());
  EXPECT_FALSE(box.OKButton()->isEnabled());
  box.AgreeBox()->click();
  EXPECT_TRUE(box.OKButton()->isEnabled());
  EXPECT_TRUE(box.AgreeCheck());
  EXPECT_TRUE(uitest::saveScreenshot(&box, QStringLiteral("messagebox_agree")));
  // F12 presses OK.
  QTest::keyClick(&box, Qt::Key_F12);
  EXPECT_FALSE(box.isVisible());
  EXPECT_EQ(box.result(), mrOk);
}

TEST(MessageBox, EscFromTheFocusedButtonClosesWithCancel)
{
  TMessageBox box;
  box.setProcType(0);
  box.setMainCaption(QStringLiteral("x"));
  box.setBtnFocus(mbOK);
  box.setPrepare(true);
  box.open();
  QApplication::setActiveWindow(&box);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
  ASSERT_EQ(QApplication::focusWidget(), box.OKButton());
  QTest::keyClick(box.OKButton(), Qt::Key_Escape);
  EXPECT_FALSE(box.isVisible());
  EXPECT_EQ(box.result(), mrCancel);
}

TEST(UiMessageHook, StandardDialogAnswersWithTheButtonPressed)
{
  TUiMessageHook hook;
  struct TCase {
    TMsgDlgButtons buttons;
    QString press;
    int expected;
  } cases[] = {
      {mbOK, u(u"OK(&O)"), mrOk},
      {mbYes | mbNo, u(u"いいえ(&N)"), mrNo},
      {mbOK | mbCancel, u(u"ｷｬﾝｾﾙ(&C)"), mrCancel},
  };
  for (const TCase& c : cases) {
    QString shownText;
    QTimer::singleShot(50, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      shownText = box->text();
      for (QAbstractButton* b : box->buttons())
        if (b->text() == c.press)
          b->click();
    });
    EXPECT_EQ(hook.ShowMessageDlg(u(u"一行目\r二行目"), mtError, c.buttons), c.expected);
    EXPECT_EQ(shownText, u(u"一行目\n二行目"));
  }
}

#include "MessageBoxTest.moc"
