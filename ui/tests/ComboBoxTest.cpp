// The combo box: the code look-up while typing and on leaving, Delete back
// to the first item, and the width of the dropped list.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include "ui/xComboBox.h"

namespace {

struct TForm {
  QWidget form;
  TxComboBox* combo;
  QLineEdit* before;
  QLineEdit* next;
  TForm(bool editable, int keyLen,
        QStringList items = {QStringLiteral("001:Cash"), QStringLiteral("002:Bank"), QStringLiteral("101:Sales")})
  {
    auto* lay = new QVBoxLayout(&form);
    before = new QLineEdit(&form);
    lay->addWidget(before);
    combo = new TxComboBox(&form);
    combo->setEditable(editable);
    combo->setKeyLen(keyLen);
    combo->addItems(items);
    next = new QLineEdit(&form);
    lay->addWidget(combo);
    lay->addWidget(next);
    form.show();
    QApplication::setActiveWindow(&form);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    combo->setFocus();
  }
};

TEST(ComboBox, CodeLookUpWhileTypingAndOnLeaving)
{
  struct Case {
    int keyLen;
    QString typed;
    int remembered;
    int afterLeave;
    QString textAfterLeave;
  } cases[] = {
      {3, QStringLiteral("10"), 2, 2, QStringLiteral("101:Sales")},
      {3, QStringLiteral("00"), 0, 0, QStringLiteral("001:Cash")},
      {3, QStringLiteral("002:"), 1, 1, QStringLiteral("002:Bank")},
      {3, QStringLiteral("9"), -1, -1, QString()},  // nothing remembered: none selected
      {0, QStringLiteral("10"), -1, -1, QStringLiteral("10")},
  };
  for (const auto& c : cases) {
    TForm f(true, c.keyLen);
    // Entering the field remembers the item shown then: none.
    f.next->setFocus();
    f.combo->setCurrentIndex(-1);
    f.combo->lineEdit()->clear();
    f.combo->setFocus();
    QApplication::processEvents();
    QTest::keyClicks(f.combo->lineEdit(), c.typed);
    if (c.keyLen > 0) {
      EXPECT_EQ(f.combo->St_ItemNum(), c.remembered) << c.typed.toStdString();
    }
    if (c.remembered < 0) {
      EXPECT_EQ(f.combo->ItemIndex(), -1) << c.typed.toStdString();
      EXPECT_EQ(f.combo->currentText(), c.typed) << c.typed.toStdString();
    }
    f.next->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(f.combo->ItemIndex(), c.afterLeave) << c.typed.toStdString();
    EXPECT_EQ(f.combo->currentText(), c.textAfterLeave) << c.typed.toStdString();
  }
}

TEST(ComboBox, DeleteGoesBackToTheFirstItem)
{
  TForm f(false, 0);
  f.combo->setItemIndex(1);
  EXPECT_EQ(f.combo->St_ItemNum(), 1);
  QTest::keyClick(f.combo, Qt::Key_Delete);
  EXPECT_EQ(f.combo->ItemIndex(), 0);
  EXPECT_EQ(f.combo->currentText(), QStringLiteral("001:Cash"));

  TForm empty(false, 0, {});
  QTest::keyClick(empty.combo, Qt::Key_Delete);
  EXPECT_EQ(empty.combo->ItemIndex(), -1);
  EXPECT_TRUE(empty.combo->hasFocus());
}

TEST(ComboBox, EnterMovesOnAndTheListHasItsMinimumWidth)
{
  TForm f(false, 0);
  QTest::keyClick(f.combo, Qt::Key_Return);
  EXPECT_TRUE(f.next->hasFocus());
  f.combo->setDropDownWidth(400);
  f.combo->showPopup();
  EXPECT_GE(f.combo->view()->minimumWidth(), 400);
  f.combo->hidePopup();
}

// A key-down handler that consumes a key: the focus rules look at the key as
// it arrived, so a key whose style is set still moves the focus; a key
// without a style stays consumed (the list does not move).
TEST(ComboBox, KeyConsumedByTheKeyDownHandlerStillMovesByItsStyle)
{
  enum class Where { Before, Same, After };
  struct Case {
    const char* what;
    TKeyStyles styles;
    Qt::Key key;
    Where focus;
    int item;  // the selected item afterwards (1 at the start)
  } cases[] = {
      {"Up with ksUp", DefaultKeyStyles, Qt::Key_Up, Where::Before, 1},
      {"Enter with ksEnter", DefaultKeyStyles, Qt::Key_Return, Where::After, 1},
      {"Down with ksDown", TKeyStyles{ksDown}, Qt::Key_Down, Where::After, 1},
      {"Left with ksLeft", TKeyStyles{ksLeft}, Qt::Key_Left, Where::Before, 1},
      {"Right with ksRight", TKeyStyles{ksRight}, Qt::Key_Right, Where::After, 1},
      {"Down without ksDown stays and keeps the item", DefaultKeyStyles, Qt::Key_Down, Where::Same, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TForm f(false, 0);
    f.combo->setKeyStyles(c.styles);
    f.combo->setItemIndex(1);
    int seen = 0;
    f.combo->OnKeyDown = [&](int& key, Qt::KeyboardModifiers) {
      seen = key;
      key = 0;
    };
    QTest::keyClick(f.combo, c.key);
    EXPECT_EQ(seen, int(c.key)) << "the handler runs first";
    const Where now = f.before->hasFocus() ? Where::Before : f.next->hasFocus() ? Where::After : Where::Same;
    EXPECT_EQ(now, c.focus);
    EXPECT_EQ(f.combo->ItemIndex(), c.item);
  }
  // Without the handler, Down without its style moves within the list.
  TForm g(false, 0);
  g.combo->setItemIndex(1);
  QTest::keyClick(g.combo, Qt::Key_Down);
  EXPECT_EQ(g.combo->ItemIndex(), 2);
  EXPECT_TRUE(g.combo->hasFocus());
}

}  // namespace
