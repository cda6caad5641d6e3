// The edit repository's amount, text, mask, list, check-box and label items
// on a grid: what the cells show, what their editors take and store.
#include <gtest/gtest.h>
#include <memory>

#include <QApplication>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTest>
#include <QVBoxLayout>

#include "common/DataModule.h"
#include "tests/support/MessageCollector.h"
#include "ui/AbacorEdit.h"
#include "ui/DMEditRepository.h"
#include "ui/xComboBox.h"
#include "ui/xEdit.h"
#include "ui/xGridEditors.h"
#include "ui/xGridView.h"

namespace {

// One column of cells over one repository item.
struct TGrid {
  QWidget form;
  QStandardItemModel model;
  TxGridView* view;

  TGrid(const TDMEditRepository::TItem& AItem, const QList<QVariant>& AValues) : model(int(AValues.size()), 1)
  {
    for (int r = 0; r < AValues.size(); ++r) {
      auto* item = new QStandardItem;
      item->setData(AValues[r], Qt::EditRole);
      model.setItem(r, 0, item);
    }
    view = new TxGridView(&form);
    view->setModel(&model);
    view->Columns(0).RepositoryItem = AItem;
    view->ApplyOptions();
    auto* lay = new QVBoxLayout(&form);
    lay->addWidget(view);
    form.resize(300, 200);
    form.show();
    QApplication::setActiveWindow(&form);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    view->setFocus();
  }

  QString shown(int ARow) const
  {
    QStyleOptionViewItem option;
    option.rect = view->visualRect(model.index(ARow, 0));
    return view->CellViewInfo(model.index(ARow, 0), option).DisplayText;
  }
  // Opens the cell's editor; nullptr when the cell has none.
  QWidget* edit(int ARow)
  {
    const QModelIndex i = model.index(ARow, 0);
    view->setCurrentIndex(i);
    view->edit(i);
    return view->indexWidget(i);
  }
  QVariant value(int ARow) const { return model.index(ARow, 0).data(Qt::EditRole); }
};

QVariant amount(qint64 AUnits)
{
  return QVariant::fromValue(Currency::fromInt(AUnits));
}

const TDMEditRepository& repo()
{
  return fnDMEditRepository();
}

TEST(DMEditRepository, AmountCellsShowTheirPictureAndNullText)
{
  struct Case {
    const char* what;
    TDMEditRepository::TItem item;
    QVariant value;
    QString shown;
  } cases[] = {
      {"grouped", repo().cxEditRepo_Curr_Kingaku11, amount(1234567), QStringLiteral("1,234,567")},
      {"negative", repo().cxEditRepo_Curr_Kingaku11, amount(-1500), QStringLiteral("-1,500")},
      {"empty shows its null text", repo().cxEditRepo_Curr_Kingaku11, QVariant(), QStringLiteral("0")},
      {"a nullable item shows nothing", repo().cxEditRepo_Curr_Kingaku10, QVariant(), QString()},
      {"a whole number", repo().cxEditRepo_Curr_Kingaku9, QVariant(qlonglong(2000)), QStringLiteral("2,000")},
      {"zero hidden", repo().cxEditRepo_Curr_KingakuNonZero, amount(0), QString()},
      {"two decimals", repo().cxEditRepo_Curr_WariaiP2, QVariant::fromValue(Currency::fromString(u"12.5")),
       QStringLiteral("12.50")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TGrid g(c.item, {c.value});
    EXPECT_EQ(g.shown(0), c.shown);
  }
}

TEST(DMEditRepository, AmountEditorsTypeStoreAndKeepTheirRange)
{
  struct Case {
    const char* what;
    TDMEditRepository::TItem item;
    QVariant start;
    QString typed;
    QVariant stored;
  } cases[] = {
      {"amount", repo().cxEditRepo_Curr_Kingaku11, amount(0), QStringLiteral("1234"), amount(1234)},
      {"sign key", repo().cxEditRepo_Curr_Kingaku11, amount(0), QStringLiteral("1234-"), amount(-1234)},
      {"length limit", repo().cxEditRepo_Curr_Kingaku8, amount(0), QStringLiteral("123456789"), amount(12345678)},
      {"a whole-number cell stays whole", repo().cxEditRepo_Curr_Kingaku11, QVariant(qlonglong(5)),
       QStringLiteral("77"), QVariant(qlonglong(77))},
      {"emptied nullable amount", repo().cxEditRepo_Curr_Kingaku10, amount(5), QString(), QVariant()},
      {"emptied amount becomes 0", repo().cxEditRepo_Curr_Kingaku11, amount(5), QString(), amount(0)},
      {"percentage above the range", repo().cxEditRepo_Curr_WariaiP1_Plus, amount(0), QStringLiteral("150"),
       amount(100)},
      {"percentage with a decimal", repo().cxEditRepo_Curr_WariaiP1, amount(0), QStringLiteral("12.3"),
       QVariant::fromValue(Currency::fromString(u"12.3"))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TGrid g(c.item, {c.start});
    auto* editor = dynamic_cast<TAbacorEdit*>(g.edit(0));
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->ImeDisabled());
    editor->clear();
    QTest::keyClicks(editor, c.typed);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();  // the grid commits after the editor saw Enter
    EXPECT_EQ(g.view->indexWidget(g.model.index(0, 0)), nullptr) << "the editor closes";
    EXPECT_EQ(g.value(0), c.stored) << g.value(0).toString().toStdString();
  }
  // The read-only amount has no editor.
  TGrid ro(repo().cxEditRepo_Curr_KingakuRO, {amount(1)});
  EXPECT_EQ(ro.edit(0), nullptr);
  EXPECT_EQ(ro.shown(0), QStringLiteral("1"));
}

TEST(DMEditRepository, CodeItemsFollowTheOpenDataAndRefuseAnEmptyCode)
{
  {
    TGrid g(repo().cxEditRepo_Text_KCODE, {QStringLiteral("1000")});
    auto* editor = qobject_cast<TxEdit*>(g.edit(0));
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->MaxLength(), 4);
    EXPECT_EQ(editor->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_TRUE(editor->ImeDisabled());
    QTest::keyClick(editor, Qt::Key_Escape);
  }
  TDM dm;
  dm.cxEditRepoLengths.KCODE = 6;
  TGrid g(repo().cxEditRepo_Text_KCODE, {QStringLiteral("1000")});
  auto* editor = qobject_cast<TxEdit*>(g.edit(0));
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->MaxLength(), 6);
  editor->clear();
  QTest::keyClicks(editor, QStringLiteral("12345678"));
  QTest::keyClick(editor, Qt::Key_Return);
  QApplication::processEvents();  // the grid commits after the editor saw Enter
  EXPECT_EQ(g.value(0).toString(), QStringLiteral("123456"));

  testenv::ScopedMessageCollector messages;
  editor = qobject_cast<TxEdit*>(g.edit(0));
  ASSERT_NE(editor, nullptr);
  editor->clear();
  QTest::keyClick(editor, Qt::Key_Return);
  QApplication::processEvents();  // the grid commits after the editor saw Enter
  QApplication::processEvents();  // the reason is shown after the commit
  EXPECT_EQ(g.value(0).toString(), QStringLiteral("123456")) << "the code stays";
  EXPECT_EQ(messages.texts, QStringList{QStringLiteral("値を入力してください。")});

  // A description may be emptied.
  TGrid t(repo().cxEditRepo_Text_Tekiyo, {QStringLiteral("摘要")});
  auto* tekiyo = qobject_cast<TxEdit*>(t.edit(0));
  ASSERT_NE(tekiyo, nullptr);
  EXPECT_EQ(tekiyo->MaxLength(), 50);
  EXPECT_FALSE(tekiyo->ImeDisabled());
  tekiyo->clear();
  QTest::keyClick(tekiyo, Qt::Key_Return);
  QApplication::processEvents();  // the grid commits after the editor saw Enter
  EXPECT_EQ(t.value(0).toString(), QString());
}

TEST(DMEditRepository, DateMasksStoreTwoDigitParts)
{
  TGrid g(repo().cxEditRepo_Text_Hizuke6, {QStringLiteral("24/04/01")});
  auto* editor = qobject_cast<QLineEdit*>(g.edit(0));
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(editor->inputMask().startsWith(QStringLiteral("00/00/99")));
  EXPECT_FALSE(editor->hasSelectedText()) << "no auto-select";
  // A blank in a part that needs two digits is not taken.
  editor->setText(QStringLiteral(" 5/ 6/ 7"));
  QTest::keyClick(editor, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(g.value(0).toString(), QStringLiteral("24/04/01"));
  editor->setText(QStringLiteral(" 5/ 6/07"));
  QTest::keyClick(editor, Qt::Key_Return);
  QApplication::processEvents();  // the grid commits after the editor saw Enter
  EXPECT_EQ(g.value(0).toString(), QStringLiteral("05/06/07"));

  const std::pair<const char*, const char*> masks[] = {
      {"!99/00;1;_", "00/99;_"}, {"!99/99/00;1; ", "00/00/99; "}, {"!0000;1; ", "9999; "}, {"LlAaCc#", "AaNnXx#;_"},
      {"\\N-0", "\\N-9;_"},
  };
  for (auto [from, to] : masks)
    EXPECT_EQ(fnCxQtInputMask(QString::fromLatin1(from)), QString::fromLatin1(to)) << from;
}

TEST(DMEditRepository, FixedListsCheckBoxesAndLabels)
{
  {
    TGrid g(repo().cxEditRepo_Combo_KamokuTaisyaku, {QStringLiteral("借＋")});
    auto* combo = qobject_cast<TxComboBox*>(g.edit(0));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 5);
    EXPECT_EQ(combo->ItemIndex(), 1);
    combo->setItemIndex(4);
    QTest::keyClick(combo, Qt::Key_Return);
    QApplication::processEvents();  // the grid commits after the editor saw Enter
    EXPECT_EQ(g.value(0).toString(), QStringLiteral("貸－"));
  }
  {
    TDM dm;
    dm.cxEditRepo_Combo_Gengo_Items = {QStringLiteral("R"), QStringLiteral("H")};
    TGrid g(repo().cxEditRepo_Combo_Gengo, {QStringLiteral("H")});
    auto* combo = qobject_cast<TxComboBox*>(g.edit(0));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->ItemIndex(), 1);
    QTest::keyClick(combo, Qt::Key_Escape);
  }
  // A check box toggles on a click and on Space; the grey one does not.
  for (const bool gray : {false, true}) {
    SCOPED_TRACE(gray ? "gray" : "plain");
    TGrid g(gray ? repo().cxEditRepo_Check_Gray : repo().cxEditRepo_Check, {QVariant(false)});
    const QRect r = g.view->visualRect(g.model.index(0, 0));
    QTest::mouseClick(g.view->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(g.value(0), QVariant(!gray));
    g.view->setCurrentIndex(g.model.index(0, 0));
    QTest::keyClick(g.view, Qt::Key_Space);
    EXPECT_EQ(g.value(0), QVariant(false));
    EXPECT_EQ(g.edit(0), nullptr);
  }
  // A label shows its text and is never edited.
  TGrid l(repo().cxEditRepo_Label_Right, {QStringLiteral("ラベル")});
  EXPECT_EQ(l.shown(0), QStringLiteral("ラベル"));
  EXPECT_EQ(l.edit(0), nullptr);
  EXPECT_EQ(repo().cxEditRepo_Label_Right->AlignHorz, Qt::AlignRight);
}

}  // namespace
