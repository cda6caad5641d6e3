// The checked combo box offscreen: the checked set and its texts, the open
// list (size, place, closing) and the keys.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QTest>
#include <QVBoxLayout>

#include "ui/tests/UiTestUtil.h"
#include "ui/xCheckedComboBox.h"

namespace {

struct TForm {
  QWidget form;
  QLineEdit* before;
  TxCheckedComboBox* combo;
  QLineEdit* next;
  int changes = 0;
  int clicks = 0;
  int closeUps = 0;
  explicit TForm(const QStringList& items = {"A:001", "B:002", "C:003"})
  {
    auto* lay = new QVBoxLayout(&form);
    before = new QLineEdit(&form);
    combo = new TxCheckedComboBox(&form);
    next = new QLineEdit(&form);
    lay->addWidget(before);
    lay->addWidget(combo);
    lay->addWidget(next);
    combo->SetItems(items);
    combo->OnChange = [this](QObject*) { ++changes; };
    combo->OnClickCheck = [this](QObject*) { ++clicks; };
    combo->OnCloseUp = [this](QObject*) { ++closeUps; };
    form.show();
    QApplication::setActiveWindow(&form);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    combo->setFocus();
  }
};

TEST(CheckedComboBox, CheckedTextsCountsAndCodes)
{
  TForm f;
  TxCheckedComboBox& c = *f.combo;
  EXPECT_EQ(c.DisplayText(), "未選択");
  EXPECT_EQ(c.Version(), "1.0.3");
  c.SetChecked(1, true);
  EXPECT_EQ(c.DisplayText(), "B:002");  // one item shows its text
  c.SetChecked(0, true);
  c.SetChecked(0, true);  // already checked: nothing
  c.SetChecked(7, true);  // not a row: nothing
  EXPECT_EQ(f.changes, 2);
  EXPECT_EQ(c.CheckedCount(), 2);
  EXPECT_EQ(c.DisplayText(), "2件選択");
  EXPECT_EQ(c.TextPanel()->text(), "2件選択");
  struct Case {
    TCHBQuoteStyle style;
    QString text;
  } quotes[] = {{qsNone, "B:002,A:001"}, {qsSingle, "'B:002','A:001'"}, {qsDouble, "\"B:002\",\"A:001\""}};
  for (const Case& q : quotes) {
    c.SetQuoteStyle(q.style);
    EXPECT_EQ(c.GetText(), q.text) << int(q.style);
  }
  c.SetQuoteStyle(qsNone);
  EXPECT_EQ(c.CheckedItems(), (QStringList{"A:001", "B:002"}));
  c.SetKeyUse(true);
  EXPECT_EQ(c.CheckedItems(), (QStringList{"A", "B"}));
  c.SetKeyLength(1);
  c.SetKeyDelimiter(QString());
  EXPECT_EQ(c.CheckedItems(), (QStringList{"A", "B"}));

  c.SetDispStyle(dsItems);
  c.SetUnCheckedAll();
  c.SetChecked(2, true);
  c.SetChecked(0, true);
  EXPECT_EQ(c.DisplayText(), "C:003,A:001");
  c.SetSortDisplay(true);
  EXPECT_EQ(c.DisplayText(), "A:001,C:003");
  EXPECT_EQ(c.GetText(), "C:003,A:001");
  c.SetChecked(2, false);
  EXPECT_EQ(c.DisplayText(), "A:001");
  c.SetEmptyValue("なし");
  c.SetCheckedAll();
  EXPECT_EQ(c.CheckedCount(), 3);
  c.Clear();
  EXPECT_EQ(c.CheckedCount(), 0);
  EXPECT_EQ(c.DisplayText(), "なし");
  EXPECT_EQ(c.CheckList()->count(), 0);
  EXPECT_TRUE(c.CheckedItems().isEmpty());
  c.SetDropDownLines(25);
  EXPECT_EQ(c.DropDownLines(), 15);
  c.SetDropDownLines(3);
  EXPECT_EQ(c.DropDownLines(), 3);
}

TEST(CheckedComboBox, QuotesInsideTextsAreDoubledAndDuplicateTextsKeepTheirOwnChecks)
{
  TForm f({"O'Brien", "say \"hi\"", "X", "X", "a,b"});
  TxCheckedComboBox& c = *f.combo;
  for (int r : {0, 1, 4})
    c.SetChecked(r, true);
  c.SetQuoteStyle(qsSingle);
  EXPECT_EQ(c.GetText(), "'O''Brien','say \"hi\"','a,b'");
  c.SetQuoteStyle(qsDouble);
  EXPECT_EQ(c.GetText(), "\"O'Brien\",\"say \"\"hi\"\"\",\"a,b\"");
  c.SetUnCheckedAll();

  c.SetChecked(3, true);
  EXPECT_FALSE(c.IsChecked(2));
  EXPECT_TRUE(c.IsChecked(3));
  c.SetChecked(2, true);  // the same text on another row is its own item
  EXPECT_EQ(c.CheckedCount(), 2);
  EXPECT_EQ(c.CheckedItems(), (QStringList{"X", "X"}));
  c.SetChecked(3, false);
  EXPECT_TRUE(c.IsChecked(2));
  EXPECT_FALSE(c.IsChecked(3));
  EXPECT_EQ(c.CheckList()->item(2)->checkState(), Qt::Checked);
  EXPECT_EQ(c.CheckList()->item(3)->checkState(), Qt::Unchecked);
  EXPECT_EQ(c.DisplayText(), "X");
}

TEST(CheckedComboBox, SingleSelection)
{
  TForm f;
  TxCheckedComboBox& c = *f.combo;
  c.SetMultiSelect(false);
  c.SetChecked(0, true);
  c.SetChecked(2, true);
  EXPECT_FALSE(c.IsChecked(0));
  EXPECT_EQ(c.CheckedItems(), QStringList{"C:003"});
  c.SetCheckedAll();
  EXPECT_EQ(c.CheckedCount(), 1);
  c.DropDown();
  EXPECT_FALSE(c.SelectAllItem()->isEnabled());
  // A click on the list's check marks: a second row takes the check over.
  c.CheckList()->setCurrentRow(1);
  QTest::keyClick(c.CheckList(), Qt::Key_Space);
  EXPECT_EQ(c.CheckedItems(), QStringList{"B:002"});
  EXPECT_EQ(c.CheckList()->item(2)->checkState(), Qt::Unchecked);
  EXPECT_EQ(f.clicks, 1);
  c.CloseUp();
}

TEST(CheckedComboBox, TheKeysOpenCheckCloseAndMoveOn)
{
  TForm f;
  TxCheckedComboBox& c = *f.combo;
  int opened = 0;
  c.OnButtonClick = [&](QObject*) { ++opened; };
  QTest::keyClick(&c, Qt::Key_F4);
  ASSERT_TRUE(c.DroppedDown());
  EXPECT_EQ(opened, 1);
  QTest::keyClick(c.CheckList(), Qt::Key_Space);  // row 0
  QTest::keyClick(c.CheckList(), Qt::Key_Down);
  QTest::keyClick(c.CheckList(), Qt::Key_Down);
  QTest::keyClick(c.CheckList(), Qt::Key_Space);  // row 2
  EXPECT_EQ(c.GetText(), "A:001,C:003");
  EXPECT_EQ(f.changes, 2);
  EXPECT_EQ(f.clicks, 2);
  QTest::keyClick(c.CheckList(), Qt::Key_Space);  // row 2 again: unchecked
  EXPECT_EQ(c.GetText(), "A:001");
  EXPECT_EQ(c.TopItemIndex(), 2);

  struct Case {
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    QWidget* focus;
  } cases[] = {{Qt::Key_Escape, Qt::NoModifier, &c},
               {Qt::Key_Return, Qt::NoModifier, f.next},
               {Qt::Key_Tab, Qt::NoModifier, f.next},
               {Qt::Key_Backtab, Qt::ShiftModifier, f.before}};
  c.CloseUp();
  int closeUps = f.closeUps;
  for (const Case& k : cases) {
    c.setFocus();
    QTest::keyClick(&c, Qt::Key_F4);
    ASSERT_TRUE(c.DroppedDown());
    QTest::keyClick(c.CheckList(), k.key, k.mods);
    EXPECT_FALSE(c.DroppedDown()) << k.key;
    EXPECT_EQ(f.closeUps, ++closeUps) << k.key;
    EXPECT_EQ(QApplication::focusWidget(), k.focus) << k.key;
  }
  // Enter on the closed control moves on.
  c.setFocus();
  QTest::keyClick(&c, Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), f.next);
}

TEST(CheckedComboBox, TheOpenListsSizePlaceAndTheArrow)
{
  QStringList thirty;
  for (int i = 1; i <= 30; ++i)
    thirty << QString("%1:項目").arg(i, 3, 10, QChar('0'));
  TForm f(thirty);
  TxCheckedComboBox& c = *f.combo;
  const int rowHeight = c.CheckList()->sizeHintForRow(0);
  struct Case {
    int columns;
    int rows;
  } cases[] = {{0, 15}, {1, 15}, {2, 16}};
  for (const Case& k : cases) {
    c.SetColumns(k.columns);
    c.DropDown();
    EXPECT_EQ(c.DropDownForm()->height(), rowHeight * k.rows + 4) << k.columns;
    EXPECT_EQ(c.DropDownForm()->width(), std::max(c.width(), c.DropDownWidth()));
    EXPECT_EQ(c.DropDownForm()->geometry().top(), c.mapToGlobal(QPoint(0, c.height())).y());
    c.CloseUp();
  }
  c.SetColumns(0);
  c.SetChecked(0, true);
  c.SetChecked(3, true);
  uitest::saveScreenshot(&f.form, QStringLiteral("checked_combo_closed"));
  c.DropDown();
  uitest::saveScreenshot(c.DropDownForm(), QStringLiteral("checked_combo_open"));

  // The arrow clicked while the list is open closes it and does not open it again.
  const QPoint mid = c.ArrowImage()->rect().center();
  QTest::mouseClick(c.ArrowImage(), Qt::LeftButton, {}, mid);
  QTest::qWait(50);
  EXPECT_FALSE(c.DroppedDown());
  QTest::mouseClick(c.ArrowImage(), Qt::LeftButton, {}, mid);
  EXPECT_TRUE(c.DroppedDown());
  c.CloseUp();

  // Near the bottom of the screen the list opens above the control.
  const QRect screen = f.form.screen()->geometry();
  f.form.move(screen.left() + 10, screen.bottom() - f.form.height() - 5);
  QTest::qWait(20);
  c.DropDown();
  EXPECT_EQ(c.DropDownForm()->geometry().bottom(), c.mapToGlobal(QPoint(0, 0)).y() - 1);
  c.CloseUp();

  // Disabled: the grey arrow.
  c.setEnabled(false);
  EXPECT_EQ(c.ArrowState(), "DROPDOWN_GRAY");
  c.setEnabled(true);
  EXPECT_EQ(c.ArrowState(), "DROPDOWN_NORMAL");
}

}  // namespace
