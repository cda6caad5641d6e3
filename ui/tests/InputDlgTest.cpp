// The input dialog in each of its kinds: the key filters, the checks of OK,
// the password mask and the screenshots of every kind.
#include <gtest/gtest.h>
#include <memory>

#include <QClipboard>
#include <QTest>

#include "UiTestUtil.h"
#include "tests/support/MessageCollector.h"
#include "ui/AbacorEdit.h"
#include "ui/xCheckBox.h"
#include "ui/xComboBox.h"
#include "ui/xEdit.h"
#include "ui/z5InputDlg.h"

namespace {

std::unique_ptr<TInputDlgBox> makeDlg(int kind, const std::function<void(TInputDlgBox&)>& setup = {})
{
  auto dlg = std::make_unique<TInputDlgBox>();
  dlg->SetProcType(kind);
  dlg->SetWindowTitle(QStringLiteral("入力"));
  dlg->SetMainCaption(QStringLiteral("値を入力して下さい。"));
  dlg->SetInputHint(QStringLiteral("値|値を入力し、[OK]ボタンを押して下さい。"));
  if (setup)
    setup(*dlg);
  dlg->SetPrepare(true);
  dlg->show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
  return dlg;
}

TEST(InputDlg, KeyFiltersByInputType)
{
  struct Case {
    int type;
    QString accepted, refused;
  } cases[] = {
      {0, QStringLiteral("a/1\"*ア"), QString()},
      {10, QStringLiteral("-0123456789.\b\r"), QStringLiteral("aZ+ ")},
      {20, QStringLiteral("azAZ\b\r"), QStringLiteral("09-.ｱ")},
      {30, QStringLiteral("az09AZ\b\r"), QStringLiteral("-._ア")},
      {40, QStringLiteral("-_a9 .ア髙\r"), QStringLiteral("\"*,/:;<>?\\|")},
      {99, QStringLiteral("/\"*"), QString()},
  };
  for (const auto& c : cases) {
    for (const QChar ch : c.accepted)
      EXPECT_TRUE(TInputDlgBox::fnInputTypeAccepts(c.type, ch)) << c.type << " " << int(ch.unicode());
    for (const QChar ch : c.refused)
      EXPECT_FALSE(TInputDlgBox::fnInputTypeAccepts(c.type, ch)) << c.type << " " << int(ch.unicode());
  }
  // Typed into the field.
  auto dlg = makeDlg(0, [](TInputDlgBox& d) { d.SetInputType(40); });
  QTest::keyClicks(dlg->txtInput, QStringLiteral("a/b-_c:d"));
  EXPECT_EQ(dlg->txtInput->text(), QStringLiteral("ab-_cd"));
  auto num = makeDlg(0, [](TInputDlgBox& d) { d.SetInputType(10); });
  QTest::keyClicks(num->txtInput, QStringLiteral("-1x2.5y"));
  EXPECT_EQ(num->txtInput->text(), QStringLiteral("-12.5"));
}

TEST(InputDlg, OkChecksEachKind)
{
  testenv::ScopedMessageCollector boxes{testenv::MessageCollector::Replies::FirstButton};
  const QString mustType = QStringLiteral("入力してから[OK]ボタンを押して下さい。");
  const QString forbidden = QStringLiteral("その名前は使用できません。");
  struct Case {
    const char* what;
    int kind;
    bool check;
    QString typed;
    bool accepted;
    QString result;
    QString message;
  } cases[] = {
      {"password empty", 1, false, QString(), false, QString(), mustType},
      {"password spaces", 1, false, QStringLiteral(" 　"), false, QString(), mustType},
      {"password", 1, false, QStringLiteral("ab12"), true, QStringLiteral("ab12"), QString()},
      {"text empty unchecked", 0, false, QString(), true, QString(), QString()},
      {"forbidden word", 0, false, QStringLiteral(" CON "), false, QString(), forbidden},
      {"forbidden other case", 0, false, QStringLiteral("con"), true, QStringLiteral("con"), QString()},
      {"text untrimmed", 0, true, QStringLiteral(" x "), true, QStringLiteral(" x "), QString()},
  };
  for (const auto& c : cases) {
    boxes.texts.clear();
    auto dlg = makeDlg(c.kind, [&](TInputDlgBox& d) {
      d.SetInputCheck(c.check);
      d.SetKinsiWords(QStringLiteral("CON\r\nPRN"));
      d.SetKinsiWordsMessage(forbidden);
    });
    dlg->txtInput->setText(c.typed);
    dlg->btnOKClick();
    EXPECT_EQ(dlg->isVisible(), !c.accepted) << c.what;
    EXPECT_EQ(dlg->result(), c.accepted ? mrOk : 0) << c.what;
    if (c.accepted) {
      EXPECT_EQ(dlg->InputText(), c.result) << c.what;
    }
    EXPECT_EQ(boxes.texts, c.message.isEmpty() ? QStringList() : QStringList{c.message}) << c.what;
  }

  // Amount: a blank amount is "0".
  auto amount = makeDlg(3);
  amount->txtKingaku->setText(QStringLiteral("  "));
  amount->btnOKClick();
  EXPECT_EQ(amount->result(), mrOk);
  EXPECT_EQ(amount->InputText(), QStringLiteral("0"));

  // Choice: without the check an empty choice is returned; with it, refused.
  for (const bool check : {false, true}) {
    boxes.texts.clear();
    auto combo = makeDlg(2, [&](TInputDlgBox& d) {
      d.SetComboItems({QStringLiteral("A:一"), QStringLiteral("B:二")});
      d.SetInputCheck(check);
    });
    EXPECT_EQ(combo->cmbInput->count(), 2);
    combo->btnOKClick();
    EXPECT_EQ(combo->result(), check ? 0 : mrOk);
    EXPECT_EQ(combo->InputText(), QString());
    EXPECT_EQ(boxes.texts.size(), check ? 1 : 0);
  }
}

TEST(InputDlg, PasswordMaskAndPaste)
{
  auto dlg = makeDlg(1, [](TInputDlgBox& d) { d.SetInputImeMode(imDisable); });
  EXPECT_TRUE(dlg->btnFuseji->isVisible());
  EXPECT_EQ(dlg->txtInput->echoMode(), QLineEdit::Password);
  dlg->btnFuseji->setChecked(true);
  EXPECT_EQ(dlg->txtInput->echoMode(), QLineEdit::Normal);
  dlg->btnFuseji->setChecked(false);
  EXPECT_EQ(dlg->txtInput->echoMode(), QLineEdit::Password);
  // Nothing can be pasted into the field while the input method is off.
  QApplication::clipboard()->setText(QStringLiteral("pasted"));
  dlg->txtInput->setFocus();
  QTest::keyClick(dlg->txtInput, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(dlg->txtInput->text(), QString());
  // The text kind has no mask and no check box.
  auto text = makeDlg(0);
  EXPECT_FALSE(text->btnFuseji->isVisible());
  EXPECT_EQ(text->txtInput->echoMode(), QLineEdit::Normal);
}

TEST(InputDlg, ScreenshotsOfEveryKind)
{
  const char* names[] = {"input_text", "input_password", "input_choice", "input_amount", "input_dates"};
  for (int kind = 0; kind < 5; ++kind) {
    auto dlg = makeDlg(kind, [&](TInputDlgBox& d) {
      d.SetComboItems({QStringLiteral("A:一"), QStringLiteral("B:二")});
      d.SetInputText(kind == 3 ? QStringLiteral("1,234,000") : QStringLiteral("abc"));
      d.SetKingakuTani(kind == 3 ? 1 : 0);
    });
    EXPECT_TRUE(uitest::saveScreenshot(dlg.get(), QString::fromLatin1(names[kind])));
  }
}

}  // namespace
