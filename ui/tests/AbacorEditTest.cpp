// The numeric edit: formatting while typing, the sign key, the zero keys,
// the float point, the range, the output format on leaving, and the limits.
#include <functional>
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
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

// An edit between two plain edits, so that moves both ways show.
struct TKeyForm {
  QWidget form;
  QLineEdit* before;
  TAbacorEdit* edit;
  QLineEdit* next;
  TKeyForm()
  {
    auto* lay = new QVBoxLayout(&form);
    before = new QLineEdit(&form);
    edit = new TAbacorEdit(&form);
    next = new QLineEdit(&form);
    lay->addWidget(before);
    lay->addWidget(edit);
    lay->addWidget(next);
    form.show();
    QApplication::setActiveWindow(&form);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    edit->setFocus();
  }
};

enum class Where { Before, Same, After };

TEST(AbacorEdit, KeyTable)
{
  struct TKey {
    int key;
    Qt::KeyboardModifiers mods;
  };
  struct Case {
    const char* what;
    std::function<void(TAbacorEdit&)> setup;
    QString start;
    int caret;  // -1: the whole text selected
    QList<TKey> keys;
    Where focus;
    TAutoNextCtls result;
    QString text;
  };
  const auto styles = [](TKeyStyles k, TAutoNextCtls a = {}) {
    return [k, a](TAbacorEdit& e) {
      e.setKeyStyles(k);
      e.setAutoNextCtls(a);
    };
  };
  const auto killPaste = [](bool imeDisabled) {
    return [imeDisabled](TAbacorEdit& e) {
      e.setKillPaste(true);
      e.setImeDisabled(imeDisabled);
    };
  };
  const QString ab = QStringLiteral("ab");
  const QString pasted = QStringLiteral("abxyz");
  const Case cases[] = {
      {"Tab moves on", styles({ksEnter}), ab, 2, {{Qt::Key_Tab, {}}}, Where::After, {}, ab},
      {"Shift+Tab moves back", styles({ksEnter}), ab, 2, {{Qt::Key_Backtab, Qt::ShiftModifier}}, Where::Before, {}, ab},
      {"Tab with acTabKey stays and is reported",
       styles({ksEnter}, {acTabKey}),
       ab,
       2,
       {{Qt::Key_Tab, {}}},
       Where::Same,
       {acTabKey, acSendEnter},
       ab},
      {"Shift+Tab with acTabKey still moves back",
       styles({ksEnter}, {acTabKey}),
       ab,
       2,
       {{Qt::Key_Backtab, Qt::ShiftModifier}},
       Where::Before,
       {},
       ab},
      {"Backspace empties the result",
       styles({ksEnter}, {acTabKey}),
       ab,
       2,
       {{Qt::Key_Tab, {}}, {Qt::Key_Backspace, {}}},
       Where::Same,
       {},
       QStringLiteral("a")},
      {"Esc empties the result",
       styles({ksEnter}, {acTabKey}),
       ab,
       2,
       {{Qt::Key_Tab, {}}, {Qt::Key_Escape, {}}},
       Where::Same,
       {},
       ab},
      {"Enter moves on", styles({ksEnter}), ab, 2, {{Qt::Key_Return, {}}}, Where::After, {}, ab},
      {"Ctrl+Enter moves on", styles({ksEnter}), ab, 2, {{Qt::Key_Return, Qt::ControlModifier}}, Where::After, {}, ab},
      {"Shift+Enter moves on", styles({ksEnter}), ab, 2, {{Qt::Key_Enter, Qt::ShiftModifier}}, Where::After, {}, ab},
      {"Enter without ksEnter stays and enters nothing",
       styles({}),
       ab,
       2,
       {{Qt::Key_Return, {}}},
       Where::Same,
       {},
       ab},
      {"Up with ksUp moves back", styles({ksEnter, ksUp}), ab, 2, {{Qt::Key_Up, {}}}, Where::Before, {}, ab},
      {"Up without ksUp stays", styles({ksEnter}), ab, 2, {{Qt::Key_Up, {}}}, Where::Same, {}, ab},
      {"Down with acDownKey stays and is reported",
       styles({ksEnter, ksDown}, {acDownKey}),
       ab,
       2,
       {{Qt::Key_Down, {}}},
       Where::Same,
       {acDownKey, acSendEnter},
       ab},
      {"Shift+Down with acDownKey moves on by ksDown",
       styles({ksEnter, ksDown}, {acDownKey}),
       ab,
       2,
       {{Qt::Key_Down, Qt::ShiftModifier}},
       Where::After,
       {},
       ab},
      {"Down with ksDown moves on", styles({ksDown}), ab, 2, {{Qt::Key_Down, {}}}, Where::After, {}, ab},
      {"Left at the start moves back", styles({ksLeft}), ab, 0, {{Qt::Key_Left, {}}}, Where::Before, {}, ab},
      {"Left inside the text stays", styles({ksLeft}), ab, 1, {{Qt::Key_Left, {}}}, Where::Same, {}, ab},
      {"Right at the end moves on", styles({ksRight}), ab, 2, {{Qt::Key_Right, {}}}, Where::After, {}, ab},
      {"Right with the text selected stays", styles({ksRight}), ab, -1, {{Qt::Key_Right, {}}}, Where::Same, {}, ab},
      {"Ctrl+V pastes", styles({ksEnter}), ab, 2, {{Qt::Key_V, Qt::ControlModifier}}, Where::Same, {}, pasted},
      {"Ctrl+V refused by KillPaste", killPaste(true), ab, 2, {{Qt::Key_V, Qt::ControlModifier}}, Where::Same, {}, ab},
      {"Shift+Insert refused by KillPaste",
       killPaste(true),
       ab,
       2,
       {{Qt::Key_Insert, Qt::ShiftModifier}},
       Where::Same,
       {},
       ab},
      {"KillPaste with the input method on lets paste through",
       killPaste(false),
       ab,
       2,
       {{Qt::Key_V, Qt::ControlModifier}},
       Where::Same,
       {},
       pasted},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QApplication::clipboard()->setText(QStringLiteral("xyz"));
    TKeyForm f;
    c.setup(*f.edit);
    f.edit->setText(c.start);
    if (c.caret < 0)
      f.edit->selectAll();
    else
      f.edit->setCursorPosition(c.caret);
    for (const TKey& k : c.keys)
      QTest::keyClick(f.edit, Qt::Key(k.key), k.mods);
    const Where now = f.before->hasFocus() ? Where::Before : f.next->hasFocus() ? Where::After : Where::Same;
    EXPECT_EQ(now, c.focus);
    if (c.focus == Where::Same) {
      // Leaving the field empties the result; only a stay can show it.
      EXPECT_EQ(f.edit->AutoNextCtls_Result(), c.result);
    }
    EXPECT_EQ(f.edit->text(), c.text);
  }
}

TEST(AbacorEdit, KeyDownHandlerSeesOnlyTheKeysTheFocusRulesLeft)
{
  TKeyForm f;
  QList<int> seen;
  f.edit->OnKeyDown = [&](int& key, Qt::KeyboardModifiers) {
    seen << key;
    if (key == Qt::Key_A)
      key = 0;
  };
  QTest::keyClick(f.edit, Qt::Key_A);
  QTest::keyClick(f.edit, Qt::Key_B);
  EXPECT_EQ(f.edit->text(), QStringLiteral("b"));
  QTest::keyClick(f.edit, Qt::Key_Return);
  EXPECT_TRUE(f.next->hasFocus());
  EXPECT_EQ(seen, (QList<int>{Qt::Key_A, Qt::Key_B}));
}

TEST(AbacorEdit, KillPasteRefusesTheContextMenu)
{
  QApplication::clipboard()->setText(QStringLiteral("xyz"));
  TKeyForm f;
  f.edit->setKillPaste(true);
  f.edit->setImeDisabled(true);
  QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(2, 2));
  QApplication::sendEvent(f.edit, &menu);
  EXPECT_TRUE(menu.isAccepted());
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  // With the input method on, the menu opens.
  f.edit->setImeDisabled(false);
  QContextMenuEvent menu2(QContextMenuEvent::Mouse, QPoint(2, 2));
  QApplication::sendEvent(f.edit, &menu2);
  QWidget* popup = QApplication::activePopupWidget();
  EXPECT_NE(popup, nullptr);
  if (popup)
    popup->close();
}

TEST(AbacorEdit, ReadingOfTypedCharactersAndTheInputMethod)
{
  TKeyForm f;
  f.edit->setKanaMode(kmHankaku);
  int changes = 0;
  f.edit->OnImeStatusChange = [&] { ++changes; };
  QTest::keyClicks(f.edit, QStringLiteral("ab"));
  EXPECT_EQ(f.edit->Kana(), QStringLiteral("ab"));
  // A composition: its kana result is the reading; characters typed while
  // it is open are not.
  QInputMethodEvent start(QStringLiteral("か"), {});
  QApplication::sendEvent(f.edit, &start);
  EXPECT_TRUE(f.edit->ImeOnFlg());
  QInputMethodEvent end;
  end.setCommitString(QStringLiteral("かな"));
  QApplication::sendEvent(f.edit, &end);
  EXPECT_FALSE(f.edit->ImeOnFlg());
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(f.edit->Kana(), QStringLiteral("ab") + QStringLiteral(u"ｶﾅ"));
  // Control characters and Backspace add nothing.
  QTest::keyClick(f.edit, Qt::Key_Backspace);
  EXPECT_EQ(f.edit->Kana(), QStringLiteral("ab") + QStringLiteral(u"ｶﾅ"));
  // Without a kana mode nothing is recorded.
  TKeyForm g;
  QTest::keyClicks(g.edit, QStringLiteral("ab"));
  EXPECT_TRUE(g.edit->Kana().isEmpty());
}

TEST(AbacorEdit, TransparentShowsTheParentAndBrushPaintsTheBackground)
{
  QWidget parent;
  parent.resize(200, 60);
  parent.setAutoFillBackground(true);
  QPalette p = parent.palette();
  p.setColor(QPalette::Window, Qt::red);
  parent.setPalette(p);
  auto* edit = new TAbacorEdit(&parent);
  edit->setGeometry(10, 10, 180, 40);
  parent.show();
  const QPoint inside(edit->x() + edit->width() - 20, edit->y() + edit->height() / 2);
  const auto colourAt = [&] { return parent.grab().toImage().pixelColor(inside); };
  EXPECT_EQ(edit->Brush().style(), Qt::SolidPattern);
  edit->setBrush(QBrush(Qt::yellow, Qt::Dense4Pattern));
  EXPECT_EQ(edit->Brush().style(), Qt::SolidPattern) << "the style follows Transparent";
  EXPECT_EQ(colourAt(), QColor(Qt::yellow));
  edit->setTransparent(true);
  EXPECT_EQ(edit->Brush().style(), Qt::NoBrush);
  EXPECT_EQ(colourAt(), QColor(Qt::red));
  edit->setTransparent(false);
  EXPECT_EQ(colourAt(), QColor(Qt::yellow));
}

TEST(AbacorEdit, MouseEnterReportsThePosition)
{
  TKeyForm f;
  QPoint at(-1, -1);
  f.edit->OnMouseEnter = [&](Qt::KeyboardModifiers, Qt::MouseButtons, QPoint p) { at = p; };
  QEnterEvent enter(QPointF(5, 6), QPointF(5, 6), QPointF(5, 6));
  QApplication::sendEvent(f.edit, &enter);
  EXPECT_EQ(at, QPoint(5, 6));
}

}  // namespace
