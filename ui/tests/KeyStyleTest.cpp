// Focus moves of the input controls with Enter and the arrow keys, and the
// numeric and byte-length helpers of the edit library.
#include <cmath>
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include "ui/AbacorEditLib.h"
#include "ui/xCheckBox.h"
#include "ui/xEdit.h"
#include "ui/xRadioButton.h"

namespace {

enum class Where { Before, Same, After, Other };

const char* name(Where w)
{
  switch (w) {
    case Where::Before:
      return "before";
    case Where::Same:
      return "same";
    case Where::After:
      return "after";
    case Where::Other:
      return "other";
  }
  return "?";
}

// A form with a plain edit before and after the control under test.
struct TForm {
  QWidget form;
  QLineEdit* before;
  QWidget* control = nullptr;
  QLineEdit* after;

  explicit TForm(QWidget* c)
  {
    auto* lay = new QVBoxLayout(&form);
    before = new QLineEdit(&form);
    lay->addWidget(before);
    control = c;
    c->setParent(&form);
    lay->addWidget(c);
    after = new QLineEdit(&form);
    lay->addWidget(after);
    show();
  }
  void show()
  {
    form.show();
    QApplication::setActiveWindow(&form);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
  }
  Where focus() const
  {
    QWidget* f = QApplication::focusWidget();
    if (f == before)
      return Where::Before;
    if (f == control)
      return Where::Same;
    if (f == after)
      return Where::After;
    return Where::Other;
  }
};

enum class Sel { None, CaretStart, CaretEnd, CaretMiddle, All };

struct TEditCase {
  const char* what;
  TKeyStyles styles;
  const char* text;
  Sel sel;
  Qt::Key key;
  Qt::KeyboardModifiers mods;
  Where expected;
};

}  // namespace

TEST(KeyStyles, EditMovesTheFocusAsItsStylesSay)
{
  const TKeyStyles all{ksEnter, ksLeft, ksUp, ksRight, ksDown};
  const TEditCase cases[] = {
      {"Enter moves on", DefaultKeyStyles, "123", Sel::CaretEnd, Qt::Key_Return, Qt::NoModifier, Where::After},
      {"keypad Enter moves on", DefaultKeyStyles, "", Sel::None, Qt::Key_Enter, Qt::KeypadModifier, Where::After},
      {"Enter without ksEnter stays", TKeyStyles{ksUp}, "1", Sel::CaretEnd, Qt::Key_Return, Qt::NoModifier,
       Where::Same},
      {"Up moves back", DefaultKeyStyles, "123", Sel::CaretMiddle, Qt::Key_Up, Qt::NoModifier, Where::Before},
      {"Shift+Up stays", DefaultKeyStyles, "123", Sel::CaretMiddle, Qt::Key_Up, Qt::ShiftModifier, Where::Same},
      {"Down is not a default style", DefaultKeyStyles, "123", Sel::CaretEnd, Qt::Key_Down, Qt::NoModifier,
       Where::Same},
      {"Down with ksDown moves on", all, "123", Sel::CaretMiddle, Qt::Key_Down, Qt::NoModifier, Where::After},
      {"Left at the start moves back", all, "123", Sel::CaretStart, Qt::Key_Left, Qt::NoModifier, Where::Before},
      {"Left inside the text stays", all, "123", Sel::CaretMiddle, Qt::Key_Left, Qt::NoModifier, Where::Same},
      {"Left with all selected moves back", all, "123", Sel::All, Qt::Key_Left, Qt::NoModifier, Where::Before},
      {"Left without ksLeft stays", DefaultKeyStyles, "123", Sel::CaretStart, Qt::Key_Left, Qt::NoModifier,
       Where::Same},
      {"Right with the caret at the end stays", all, "123", Sel::CaretEnd, Qt::Key_Right, Qt::NoModifier, Where::Same},
      {"Right with all selected moves on", all, "123", Sel::All, Qt::Key_Right, Qt::NoModifier, Where::After},
      {"Right in an empty edit moves on", all, "", Sel::None, Qt::Key_Right, Qt::NoModifier, Where::After},
      {"Ctrl+Right stays", all, "", Sel::None, Qt::Key_Right, Qt::ControlModifier, Where::Same},
      {"no styles: Up stays", TKeyStyles{}, "123", Sel::CaretEnd, Qt::Key_Up, Qt::NoModifier, Where::Same},
  };
  for (const TEditCase& c : cases) {
    SCOPED_TRACE(c.what);
    auto* edit = new TxEdit;
    edit->setKeyStyles(c.styles);
    edit->setText(QString::fromUtf8(c.text));
    TForm f(edit);
    edit->setFocus();
    ASSERT_EQ(f.focus(), Where::Same);
    switch (c.sel) {
      case Sel::None:
        break;
      case Sel::CaretStart:
        edit->setCursorPosition(0);
        break;
      case Sel::CaretEnd:
        edit->end(false);
        break;
      case Sel::CaretMiddle:
        edit->setCursorPosition(1);
        break;
      case Sel::All:
        edit->selectAll();
        break;
    }
    QTest::keyClick(edit, c.key, c.mods);
    EXPECT_EQ(f.focus(), c.expected) << "got " << name(f.focus());
  }
}

TEST(KeyStyles, EditKeyDownHandlerThatConsumesAnArrowStopsTheMove)
{
  auto* edit = new TxEdit;
  edit->setText(QStringLiteral("abc"));
  edit->OnKeyDown = [](int& key, Qt::KeyboardModifiers) {
    if (key == Qt::Key_Up)
      key = 0;
  };
  TForm f(edit);
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_Up);
  EXPECT_EQ(f.focus(), Where::Same);
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(f.focus(), Where::After);
}

TEST(KeyStyles, EnterOnAnEditWithoutFormIsLeftToOthers)
{
  TxEdit alone;
  alone.show();
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
  QApplication::sendEvent(&alone, &press);
  EXPECT_FALSE(press.isAccepted());
  EXPECT_FALSE(pcMoveFocus(&alone, true));
}

TEST(KeyStyles, CheckBoxMovesOnEnterAndUpEvenWhenItsHandlerConsumesTheKey)
{
  struct TCase {
    const char* what;
    TKeyStyles styles;
    Qt::Key key;
    bool consumeInHandler;
    Where expected;
  } cases[] = {
      {"Enter moves on", DefaultKeyStyles, Qt::Key_Return, false, Where::After},
      {"Up moves back", DefaultKeyStyles, Qt::Key_Up, false, Where::Before},
      {"Up moves back although the handler consumed it", DefaultKeyStyles, Qt::Key_Up, true, Where::Before},
      {"Enter moves on although the handler consumed it", DefaultKeyStyles, Qt::Key_Return, true, Where::After},
      {"Right with ksRight moves on", TKeyStyles{ksRight}, Qt::Key_Right, false, Where::After},
      {"Enter without ksEnter stays", TKeyStyles{ksUp}, Qt::Key_Return, false, Where::Same},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    auto* box = new TxCheckBox(QStringLiteral("check"));
    box->setKeyStyles(c.styles);
    int seen = 0;
    box->OnKeyDown = [&](int& key, Qt::KeyboardModifiers) {
      seen = key;
      if (c.consumeInHandler)
        key = 0;
    };
    TForm f(box);
    box->setFocus();
    QTest::keyClick(box, c.key);
    EXPECT_EQ(f.focus(), c.expected) << "got " << name(f.focus());
    if (c.styles.contains(*fnKeyStyleOf(c.key))) {
      EXPECT_EQ(seen, int(c.key)) << "the key-down handler runs first";
    }
    EXPECT_FALSE(box->isChecked());
  }
}

// Three radio buttons of one group between two edits; the middle one is
// checked and focused.
struct TRadioForm {
  QWidget form;
  QLineEdit* before;
  TxRadioButton* r[3];
  QLineEdit* after;

  explicit TRadioForm(TKeyStyles styles)
  {
    auto* lay = new QVBoxLayout(&form);
    before = new QLineEdit(&form);
    lay->addWidget(before);
    for (int i = 0; i < 3; ++i) {
      r[i] = new TxRadioButton(QStringLiteral("r%1").arg(i), &form);
      r[i]->setKeyStyles(styles);
      lay->addWidget(r[i]);
    }
    after = new QLineEdit(&form);
    lay->addWidget(after);
    r[1]->setChecked(true);
    form.show();
    QApplication::setActiveWindow(&form);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    r[1]->setFocus();
  }
};

TEST(KeyStyles, RadioButtonKeysFollowTheirStylesOrStayInTheGroup)
{
  struct TCase {
    const char* what;
    TKeyStyles styles;
    Qt::Key key;
    int focusedRadio;  // -1 before, 3 after
    int checkedRadio;
  } cases[] = {
      // Up moves to the previous control; the unchecked first radio button
      // has no tab stop and is skipped.
      {"default: Up leaves the group backwards", DefaultKeyStyles, Qt::Key_Up, -1, 1},
      {"default: Down moves within the group", DefaultKeyStyles, Qt::Key_Down, 2, 2},
      {"default: Enter leaves the group forwards", DefaultKeyStyles, Qt::Key_Return, 3, 1},
      {"Enter only: Up stays in the group", TKeyStyles{ksEnter}, Qt::Key_Up, 0, 0},
      {"Enter only: Enter moves on", TKeyStyles{ksEnter}, Qt::Key_Return, 3, 1},
      {"Down style: Down leaves the group", TKeyStyles{ksDown}, Qt::Key_Down, 3, 1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    TRadioForm f(c.styles);
    QTest::keyClick(f.r[1], c.key);
    QWidget* expected = c.focusedRadio < 0   ? static_cast<QWidget*>(f.before)
                        : c.focusedRadio > 2 ? static_cast<QWidget*>(f.after)
                                             : f.r[c.focusedRadio];
    EXPECT_EQ(QApplication::focusWidget(), expected);
    EXPECT_TRUE(f.r[c.checkedRadio]->isChecked());
  }
}

TEST(KeyStyles, FocusMoveSkipsHiddenAndDisabledControls)
{
  QWidget form;
  auto* lay = new QVBoxLayout(&form);
  auto* a = new TxEdit(&form);
  auto* hidden = new QLineEdit(&form);
  auto* disabled = new QLineEdit(&form);
  auto* b = new QLineEdit(&form);
  for (QWidget* w : {static_cast<QWidget*>(a), static_cast<QWidget*>(hidden), static_cast<QWidget*>(disabled),
                     static_cast<QWidget*>(b)})
    lay->addWidget(w);
  hidden->hide();
  disabled->setEnabled(false);
  form.show();
  QApplication::setActiveWindow(&form);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  a->setFocus();
  QTest::keyClick(a, Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), b);
  // Backwards from the first control wraps round to the last.
  a->setFocus();
  QTest::keyClick(a, Qt::Key_Up);
  EXPECT_EQ(QApplication::focusWidget(), b);
}

TEST(KeyStyles, KeyStyleSetKeepsExactlyTheMembersGiven)
{
  TxEdit e;
  EXPECT_TRUE(e.KeyStyles() == DefaultKeyStyles);
  e.setKeyStyles(TKeyStyles{ksRight, ksDown});
  EXPECT_FALSE(e.KeyStyles().contains(ksEnter));
  EXPECT_TRUE(e.KeyStyles().contains(ksRight));
  EXPECT_TRUE(e.KeyStyles().contains(ksDown));
  TxCheckBox cb;
  TxRadioButton rb;
  EXPECT_TRUE(cb.KeyStyles() == DefaultKeyStyles);
  EXPECT_TRUE(rb.KeyStyles() == DefaultKeyStyles);
}

TEST(EditLib, RoundDownDigitCutsTowardMinusInfinityWithItsBias)
{
  struct TCase {
    std::int16_t digit;
    long double value;
    long double expected;
  } cases[] = {
      {3, 1.239L, 1.23L}, {1, 2.9999999L, 3.0L}, {1, -2.5L, -3.0L},   {1, 0.0L, 0.0L},   {3, 0.29L, 0.29L},
      {1, 29.0L, 29.0L},  {2, 1.26L, 1.2L},      {0, 123.0L, 120.0L}, {1, -3.0L, -3.0L}, {2, -1.25L, -1.3L},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "digit " << c.digit << " value " << double(c.value));
    EXPECT_NEAR(double(fnRoundDownDigit(c.digit, c.value)), double(c.expected), 1e-9);
  }
}

TEST(EditLib, PowerAndByteLength)
{
  EXPECT_EQ(double(fnPower(0, 5)), 0.0);
  EXPECT_NEAR(double(fnPower(10, -2)), 0.01, 1e-15);
  EXPECT_NEAR(double(fnPower(2, 10)), 1024.0, 1e-9);

  struct TCase {
    const char16_t* text;
    int bytes;
  } cases[] = {
      {u"ABC", 3}, {u"日本語", 6}, {u"ｱｲｳ", 3}, {u"", 0}, {u"①㈱髙", 6}, {u"a あ ｶ", 6},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(fnByteLength(QString::fromUtf16(c.text)), c.bytes) << QString::fromUtf16(c.text).toStdString();
}
