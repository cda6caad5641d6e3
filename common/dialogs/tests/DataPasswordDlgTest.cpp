// The data password prompt driven through the data module: three tries with
// the red caption from the second on, trimmed and case-sensitive comparison,
// and cancel on the first prompt.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "common/dialogs/DataPasswordDlg.h"
#include "ui/xEdit.h"
#include "ui/z5InputDlg.h"

namespace {

struct TSeen {
  QString caption;
  QColor color;
};

// Answers every prompt from the list ("<cancel>" cancels) and records what
// each prompt showed.
QList<TSeen> runPrompt(const QString& password, const QStringList& answers, bool& result)
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
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("パスワードの確認"));
    EXPECT_EQ(dlg->txtInput->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dlg->txtInput->text(), QString());
    const QString a = answers.value(int(seen.size()) - 1);
    if (a == QStringLiteral("<cancel>")) {
      dlg->reject();
      return;
    }
    QTest::keyClicks(dlg->txtInput, a);
    dlg->btnOKClick();
  });
  timer.start();
  pcAccRecordReset();
  AccInf.DataPassword = password;
  pcInstallDataPasswordPrompt();
  TDM dm;
  result = dm.IsDataPassword(0);
  DataPasswordPromptProc = nullptr;
  pcAccRecordReset();
  return seen;
}

TEST(DataPasswordDlg, ThreeTriesThroughTheInputDialog)
{
  struct Case {
    const char* what;
    QStringList answers;
    bool expected;
    int prompts;
  } cases[] = {
      {"right first", {QStringLiteral("pw12")}, true, 1},
      {"wrong case three times", {QStringLiteral("PW12"), QStringLiteral("Pw12"), QStringLiteral("pW12")}, false, 3},
      {"right third", {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("pw12")}, true, 3},
      {"cancel", {QStringLiteral("<cancel>")}, false, 1},
  };
  for (const auto& c : cases) {
    bool result = false;
    const QList<TSeen> seen = runPrompt(QStringLiteral("pw12"), c.answers, result);
    EXPECT_EQ(result, c.expected) << c.what;
    ASSERT_EQ(seen.size(), c.prompts) << c.what;
    EXPECT_EQ(seen[0].caption, QStringLiteral("パスワードを入力して下さい。")) << c.what;
    EXPECT_NE(seen[0].color, QColor(Qt::red)) << c.what;
    for (int i = 1; i < seen.size(); ++i) {
      EXPECT_EQ(seen[i].caption, QStringLiteral("正しいパスワードを入力して下さい。")) << c.what;
      EXPECT_EQ(seen[i].color, QColor(Qt::red)) << c.what;
    }
  }
}

TEST(DataPasswordDlg, EntryLimits)
{
  std::unique_ptr<TInputDlgBox> dlg(fnCreateDataPasswordDlg(1));
  dlg->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
  dlg->txtInput->setFocus();
  // Letters and digits only, at most 8 characters.
  QTest::keyClicks(dlg->txtInput, QStringLiteral("ab-c1_2345678"));
  EXPECT_EQ(dlg->txtInput->text(), QStringLiteral("abc12345"));
}

}  // namespace
