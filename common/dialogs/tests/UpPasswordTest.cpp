// The password change dialog: its two forms, the checks on OK, the
// character filter, and a screenshot.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QTest>

#include "common/MessageHook.h"
#include "common/dialogs/z5UpPassword.h"
#include "ui/ModalResult.h"
#include "ui/xEdit.h"
#include "ui/xPlButton.h"

namespace {

QString u(const char16_t* s)
{
  return QString::fromUtf16(s);
}

class TRecordingHook : public IMessageHook {
 public:
  QStringList Texts;
  QList<TMsgDlgType> Types;
  int ShowMessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons) override
  {
    Texts << text;
    Types << type;
    return mrOk;
  }
  int ShowMessageLines(int, const QStringList& lines) override
  {
    Texts << lines.join(QLatin1Char('\n'));
    return mrYes;
  }
  void RequestTerminate() override {}
};

struct THooked {
  TRecordingHook hook;
  IMessageHook* previous;
  THooked() { previous = SetMessageHook(&hook); }
  ~THooked() { SetMessageHook(previous); }
};

void showBox(TUpPasswordBox& box)
{
  box.open();
  QApplication::setActiveWindow(&box);
  EXPECT_TRUE(QTest::qWaitForWindowActive(&box));
}

}  // namespace

TEST(UpPassword, OkChecksTheEntriesInTurn)
{
  struct TCase {
    const char* what;
    QString stored;
    QString now, new1, new2;
    QString message;  // empty: accepted
    const char* focused;
  } cases[] = {
      {"current missing",
       QStringLiteral("abc1"),
       {},
       QStringLiteral("x1"),
       QStringLiteral("x1"),
       u(u"現在のパスワードが入力されていません。"),
       "txtPasswordNow"},
      {"current only full-width spaces", QStringLiteral("abc1"), u(u"\u3000 "), QStringLiteral("x1"),
       QStringLiteral("x1"), u(u"現在のパスワードが入力されていません。"), "txtPasswordNow"},
      {"current with a trailing space", QStringLiteral("abc1"), QStringLiteral("abc1 "), QStringLiteral("x1"),
       QStringLiteral("x1"), u(u"現在のパスワードが入力されたパスワードと一致しません。"), "txtPasswordNow"},
      {"second new entry missing",
       QStringLiteral("abc1"),
       QStringLiteral("abc1"),
       QStringLiteral("x1"),
       {},
       u(u"新しいパスワードが入力されていません。両方のボックスに入力して下さい。"),
       "txtPasswordNew1"},
      {"new entries differ in case", QStringLiteral("abc1"), QStringLiteral("abc1"), QStringLiteral("Pass1"),
       QStringLiteral("pass1"), u(u"入力されたパスワードは一致しません。"), "txtPasswordNew1"},
      {"a change is accepted",
       QStringLiteral("abc1"),
       QStringLiteral("abc1"),
       QStringLiteral("Pass1"),
       QStringLiteral("Pass1"),
       {},
       nullptr},
      {"a first password skips the current check",
       {},
       QStringLiteral("ignored"),
       QStringLiteral("New9"),
       QStringLiteral("New9"),
       {},
       nullptr},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    THooked h;
    TUpPasswordBox box;
    box.setNowPassword(c.stored);
    showBox(box);
    box.PasswordNow()->setText(c.now);
    box.PasswordNew1()->setText(c.new1);
    box.PasswordNew2()->setText(c.new2);
    QTest::mouseClick(box.OkButton(), Qt::LeftButton);
    if (c.message.isEmpty()) {
      EXPECT_TRUE(h.hook.Texts.isEmpty());
      EXPECT_FALSE(box.isVisible());
      EXPECT_EQ(box.result(), mrOk);
      EXPECT_EQ(box.NewPassword(), c.new1);
    } else {
      ASSERT_EQ(h.hook.Texts.size(), 1);
      EXPECT_EQ(h.hook.Texts[0], c.message);
      EXPECT_EQ(h.hook.Types[0], mtWarning);
      EXPECT_TRUE(box.isVisible());
      EXPECT_EQ(QApplication::focusWidget()->objectName(), QString::fromLatin1(c.focused));
      EXPECT_TRUE(box.NewPassword().isEmpty());
    }
  }
}

TEST(UpPassword, TwoFormsAndPasswordEcho)
{
  TUpPasswordBox box;
  box.setNowPassword({});
  EXPECT_EQ(box.windowTitle(), u(u"パスワードの設定"));
  EXPECT_EQ(box.HeaderLabel()->text(), u(u"パスワードを設定します。"));
  EXPECT_FALSE(box.PasswordNow()->isVisibleTo(&box));
  showBox(box);
  EXPECT_EQ(QApplication::focusWidget(), box.PasswordNew1());
  box.close();

  box.setNowPassword(QStringLiteral("abc1"));
  EXPECT_EQ(box.windowTitle(), u(u"パスワードの変更"));
  EXPECT_TRUE(box.PasswordNow()->isVisibleTo(&box));
  for (TxEdit* e : {box.PasswordNow(), box.PasswordNew1(), box.PasswordNew2()}) {
    EXPECT_EQ(e->echoMode(), QLineEdit::Password);
    EXPECT_EQ(e->MaxLength(), 10);
    EXPECT_TRUE(e->text().isEmpty());
  }
}

TEST(UpPassword, OnlyLettersAndDigitsCanBeTyped)
{
  TUpPasswordBox box;
  box.setNowPassword({});
  showBox(box);
  QTest::keyClicks(box.PasswordNew1(), QStringLiteral("a-b c_1Z!"));
  EXPECT_EQ(box.PasswordNew1()->text(), QStringLiteral("abc1Z"));
  QTest::keyClick(box.PasswordNew1(), Qt::Key_Backspace);
  EXPECT_EQ(box.PasswordNew1()->text(), QStringLiteral("abc1"));
  // Esc leaves with Cancel.
  QTest::keyClick(box.PasswordNew1(), Qt::Key_Escape);
  EXPECT_FALSE(box.isVisible());
  EXPECT_EQ(box.result(), mrCancel);
}

TEST(UpPassword, Screenshot)
{
  TUpPasswordBox box;
  box.setNowPassword(QStringLiteral("abc1"));
  showBox(box);
  box.PasswordNow()->setText(QStringLiteral("abc1"));
  const QString dir = QStringLiteral(RENDO_BINARY_DIR "/screenshots");
  QDir().mkpath(dir);
  EXPECT_TRUE(box.grab().save(dir + QStringLiteral("/password_change.png")));
}
