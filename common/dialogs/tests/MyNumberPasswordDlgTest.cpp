// The My Number administrator password driven through IsMyNumberAdmPassword:
// no question for an operator who is no administrator or an empty stored
// password, three tries with the red caption from the second on, the typed
// text trimmed of half- and full-width spaces, cancel ending the question.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include "common/AccRecord.h"
#include "common/MyNumber.h"
#include "common/dialogs/MyNumberPasswordDlg.h"
#include "ui/xEdit.h"
#include "ui/z5InputDlg.h"

namespace {

struct TSeen {
  QString caption;
  QColor color;
};

// Answers every prompt from the list ("<cancel>" cancels; the text is put
// into the edit as typed by a paste, so spaces reach it) and records what
// each prompt showed.
QList<TSeen> runPrompt(bool admin, const QString& password, const QStringList& answers, bool& result)
{
  QList<TSeen> seen;
  QTimer timer;
  timer.setInterval(10);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    auto* dlg = qobject_cast<TInputDlgBox*>(QApplication::activeModalWidget());
    if (!dlg || !dlg->isVisible() || dlg->property("answered").toBool())
      return;
    dlg->setProperty("answered", true);
    seen.append({dlg->lblMain->text(), dlg->lblMain->palette().color(QPalette::WindowText)});
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("マイナンバー管理パスワードの確認"));
    EXPECT_EQ(dlg->txtInput->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dlg->txtInput->text(), QString());
    const QString a = answers.value(int(seen.size()) - 1);
    if (a == QStringLiteral("<cancel>")) {
      dlg->reject();
      return;
    }
    dlg->txtInput->setText(a);
    dlg->btnOKClick();
  });
  timer.start();
  pcAccRecordReset();
  SystemDef.OPMyNumberAdm = admin;
  pcInstallMyNumberPasswordPrompt();
  result = IsMyNumberAdmPassword(password);
  MyNumberAdmPasswordPromptProc = nullptr;
  pcAccRecordReset();
  return seen;
}

TEST(MyNumberPasswordDlg, ThreeTriesThroughTheInputDialog)
{
  struct Case {
    const char* what;
    bool admin;
    QString password;
    QStringList answers;
    bool expected;
    int prompts;
  } cases[] = {
      {"no administrator: no question", false, QStringLiteral("mn01"), {}, true, 0},
      {"empty stored password: no question", true, QString(), {}, false, 0},
      {"right first", true, QStringLiteral("mn01"), {QStringLiteral("mn01")}, true, 1},
      {"spaces trimmed", true, QStringLiteral("mn01"), {QStringLiteral("\u3000mn01 ")}, true, 1},
      {"wrong case three times",
       true,
       QStringLiteral("mn01"),
       {QStringLiteral("MN01"), QStringLiteral("Mn01"), QStringLiteral("mN01")},
       false,
       3},
      {"right third",
       true,
       QStringLiteral("mn01"),
       {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("mn01")},
       true,
       3},
      {"cancel on the second",
       true,
       QStringLiteral("mn01"),
       {QStringLiteral("x"), QStringLiteral("<cancel>")},
       false,
       2},
  };
  for (const auto& c : cases) {
    bool result = !c.expected;
    const QList<TSeen> seen = runPrompt(c.admin, c.password, c.answers, result);
    EXPECT_EQ(result, c.expected) << c.what;
    ASSERT_EQ(seen.size(), c.prompts) << c.what;
    if (seen.isEmpty())
      continue;
    EXPECT_EQ(seen[0].caption, QStringLiteral("マイナンバー管理パスワードを入力して下さい。")) << c.what;
    EXPECT_NE(seen[0].color, QColor(Qt::red)) << c.what;
    for (int i = 1; i < seen.size(); ++i) {
      EXPECT_EQ(seen[i].caption, QStringLiteral("正しいパスワードを入力して下さい。")) << c.what;
      EXPECT_EQ(seen[i].color, QColor(Qt::red)) << c.what;
    }
  }
}

TEST(MyNumberPasswordDlg, EntryLimits)
{
  std::unique_ptr<TInputDlgBox> dlg(fnCreateMyNumberPasswordDlg(1));
  dlg->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
  dlg->txtInput->setFocus();
  QTest::keyClicks(dlg->txtInput, QStringLiteral("ab-c1_2345678"));
  EXPECT_EQ(dlg->txtInput->text(), QStringLiteral("abc12345"));
  EXPECT_NE(dlg->HintArea->toPlainText().indexOf(QStringLiteral("呼出し元の画面に戻ります")), -1);
}

}  // namespace
