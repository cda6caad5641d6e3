// The numeric edit: formatting while typing, the sign key, the zero keys,
// the float point, the range, the output format on leaving, and the limits.
#include <functional>
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include "ui/AbacorEdit.h"

namespace {

struct TForm {
  QWidget form;
  TAbacorEdit* edit;
  QLineEdit* next;
  TForm()
  {
    auto* lay = new QVBoxLayout(&form);
    edit = new TAbacorEdit(&form);
    next = new QLineEdit(&form);
    lay->addWidget(edit);
    lay->addWidget(next);
    form.show();
    QApplication::setActiveWindow(&form);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    edit->setFocus();
  }
};

TEST(AbacorEdit, TypingTable)
{
  const auto amount = [](TAbacorEdit& e) {
    e.setEditStyle(esNumericMinus);
    e.setOutputFormat(QStringLiteral("#,##0"));
    e.setComma(true);
  };
  struct Case {
    const char* what;
    std::function<void(TAbacorEdit&)> setup;
    QString start;
    QString keys;  // typed one by one
    QString shown;
    int caret;  // -1: not checked
  } cases[] = {
      {"separators while typing", amount, QString(), QStringLiteral("1234"), QStringLiteral("1,234"), 5},
      {"sign change", amount, QString(), QStringLiteral("1234-"), QStringLiteral("-1,234"), 6},
      {"sign change back", amount, QString(), QStringLiteral("1234--"), QStringLiteral("1,234"), 5},
      {"lone minus then a digit", amount, QString(), QStringLiteral("-5"), QStringLiteral("-5"), 2},
      {"letters refused", amount, QString(), QStringLiteral("1a2"), QStringLiteral("12"), -1},
      {"zero3 dot",
       [&](TAbacorEdit& e) {
         amount(e);
         e.setZero3Key(zkDot);
       },
       QString(), QStringLiteral("5."), QStringLiteral("5,000"), 5},
      {"zero2 dot off in float",
       [](TAbacorEdit& e) {
         e.setEditStyle(esFloat);
         e.setZero2Key(zkDot);
         e.setZero3Key(zkPlus);
       },
       QString(), QStringLiteral("1.5"), QStringLiteral("1.5"), 3},
      {"zero2 plus",
       [](TAbacorEdit& e) {
         e.setEditStyle(esNumeric);
         e.setZero2Key(zkPlus);
       },
       QString(), QStringLiteral("7+"), QStringLiteral("700"), 3},
      {"float point on empty", [](TAbacorEdit& e) { e.setEditStyle(esFloat); }, QString(), QStringLiteral("."),
       QString(), 0},
      {"range max",
       [&](TAbacorEdit& e) {
         amount(e);
         e.setNumericMax(100);
       },
       QString(), QStringLiteral("150"), QStringLiteral("100"), 3},
      {"range min in minus style",
       [&](TAbacorEdit& e) {
         amount(e);
         e.setNumericMax(100);
       },
       QString(), QStringLiteral("-5"), QStringLiteral("0"), 1},
      {"byte limit", [](TAbacorEdit& e) { e.setMaxLengthB(4); }, QString(), QStringLiteral("ab髙c"),
       QStringLiteral("ab髙"), -1},
      {"character limit with separators",
       [&](TAbacorEdit& e) {
         amount(e);
         e.setMaxLength(4);
       },
       QString(), QStringLiteral("12345"), QStringLiteral("1,234"), -1},
  };
  for (const auto& c : cases) {
    TForm f;
    c.setup(*f.edit);
    f.edit->setText(c.start);
    for (const QChar ch : c.keys)
      QTest::keyClick(f.edit, ch.toLatin1() ? ch.toLatin1() : 'x', Qt::NoModifier);
    if (c.keys.contains(QChar(0x9AD9))) {
      // Typed characters outside Latin-1 go through a key event of their own.
      f.edit->clear();
      for (const QChar ch : c.keys) {
        QKeyEvent ev(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(f.edit, &ev);
      }
    }
    EXPECT_EQ(f.edit->text(), c.shown) << c.what;
    if (c.caret >= 0) {
      EXPECT_EQ(f.edit->cursorPosition(), c.caret) << c.what;
    }
  }
}

TEST(AbacorEdit, FloatPointAndBackspace)
{
  TForm f;
  f.edit->setEditStyle(esFloat);
  f.edit->setText(QStringLiteral("12.5"));
  f.edit->setCursorPosition(0);
  QTest::keyClick(f.edit, '.');
  EXPECT_EQ(f.edit->text(), QStringLiteral("12.5"));
  EXPECT_EQ(f.edit->cursorPosition(), 3);
  QTest::keyClick(f.edit, Qt::Key_Backspace);
  EXPECT_EQ(f.edit->text(), QStringLiteral("12.5"));
  EXPECT_EQ(f.edit->cursorPosition(), 2);
}

TEST(AbacorEdit, OutputFormatOnLeaving)
{
  struct Case {
    QString format;
    bool allowBlank;
    QString text, shown;
  } cases[] = {
      {QStringLiteral("#,##0"), false, QStringLiteral("1234.9"), QStringLiteral("1,234")},
      {QStringLiteral("#,##0"), false, QStringLiteral("-1234.5"), QStringLiteral("-1,235")},
      {QStringLiteral("#,##0.00"), false, QStringLiteral("1.239"), QStringLiteral("1.23")},
      {QStringLiteral("#,##0"), false, QString(), QStringLiteral("0")},
      {QStringLiteral("#,##0"), true, QString(), QString()},
      {QStringLiteral("#,##0"), false, QStringLiteral("abc"), QStringLiteral("0")},
  };
  for (const auto& c : cases) {
    TForm f;
    f.edit->setEditStyle(esFloatMinus);
    f.edit->setOutputFormat(c.format);
    f.edit->setAllowBlank(c.allowBlank);
    f.edit->setText(c.text);
    f.next->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(f.edit->text(), c.shown) << c.text.toStdString() << " " << c.format.toStdString();
  }
}

TEST(AbacorEdit, LimitMovesOnOrReports)
{
  for (const bool sendEnter : {false, true}) {
    TForm f;
    f.edit->setMaxLength(3);
    f.edit->setAutoNextCtls(sendEnter ? TAutoNextCtls{acMaxLength, acSendEnter} : TAutoNextCtls{acMaxLength});
    QTest::keyClicks(f.edit, QStringLiteral("abc"));
    EXPECT_EQ(f.edit->text(), QStringLiteral("abc"));
    EXPECT_EQ(f.next->hasFocus(), !sendEnter);
    if (sendEnter) {
      EXPECT_TRUE(f.edit->AutoNextCtls_Result().contains(acMaxLength));
      EXPECT_TRUE(f.edit->AutoNextCtls_Result().contains(acSendEnter));
    }
  }
  // Enter never enters the text.
  TForm g;
  g.edit->setKeyStyles({});
  g.edit->setMaxLength(3);
  QTest::keyClicks(g.edit, QStringLiteral("ab"));
  QTest::keyClick(g.edit, Qt::Key_Return);
  EXPECT_EQ(g.edit->text(), QStringLiteral("ab"));
  EXPECT_TRUE(g.edit->hasFocus());
}

}  // namespace
