// The data-selection list as a table model: which rows a loaded list gives
// (members below their data set), what each cell shows, and the changes a
// refresh makes, all under Qt's model tester.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "common/AccRecord.h"
#include "datasel/DataListModel.h"
#include "tests/support/ModelTester.h"

namespace {

TDataListRec rec(int ARec, const QString& AName, const QString& ACode = QString(), int AKind = 0)
{
  TDataListRec d;
  d.Rec = ARec;
  d.DataListName = AName;
  d.Display_DataListName = AName;
  d.DataCode = ACode;
  d.GassanDataKbn = std::uint8_t(AKind);
  d.Nendo = 3;
  d.Kikan = QStringLiteral("2024/04/01～2025/03/31");
  d.DataPath = QStringLiteral("/home/op/.local/share/acc/%1").arg(ARec, 4, 10, QLatin1Char('0'));
  d.VerText = QStringLiteral("17.0");
  return d;
}

TDataSentakuRec entry(const TDataListRec& AData, int AMembers = 0)
{
  TDataSentakuRec e;
  e.Data = AData;
  for (int k = 0; k < AMembers; ++k) {
    TDataListRec m = rec(AData.Rec, QStringLiteral("m%1").arg(k), QString(), 10);
    m.Display_DataListName = QStringLiteral("%1 m%2").arg(k + 1, 2, 10, QLatin1Char('0')).arg(k);
    m.DataPath = AData.DataPath + QStringLiteral("/b%1").arg(k + 1);
    e.ChildData.push_back(m);
  }
  e.ChildDataCnt = AMembers;
  return e;
}

class DataListModelTest : public ::testing::Test {
 protected:
  void SetUp() override
  {
    pcAccRecordReset();
    SystemDef.APPDATA = QStringLiteral("/home/op/.local/share");
    TDataListRec shared = rec(2, QStringLiteral("共有の会社"), QStringLiteral("B01"));
    shared.NetDrive = 1;
    shared.DataLock = 5;
    entries = {entry(rec(1, QStringLiteral("一般"), QStringLiteral("A01"))), entry(shared),
               entry(rec(3, QStringLiteral("合算"), QStringLiteral("C01"), 1), 2),
               entry(rec(4, QStringLiteral("空き領域"))), entry(rec(5, QStringLiteral("迷子の分散"), QString(), 10))};
  }
  void TearDown() override { pcAccRecordReset(); }

  TDataSentakuRecArray entries;
  TDataListModel model;
};

TEST_F(DataListModelTest, EntriesBecomeRowsWithTheirMembersBelowThem)
{
  testenv::ScopedModelTester tester(&model);
  // Shown in the order given; a member kind without its data set has no row.
  model.ShowEntries(entries, {3, 2, 0, 4, 1});
  ASSERT_EQ(model.rowCount(), 6);
  ASSERT_EQ(model.columnCount(), int(dscol::Count));
  const struct {
    int entry, member;
  } layout[] = {{3, -1}, {2, -1}, {2, 0}, {2, 1}, {0, -1}, {1, -1}};
  for (int r = 0; r < 6; ++r) {
    EXPECT_EQ(model.Row(r).Entry, layout[r].entry) << r;
    EXPECT_EQ(model.Row(r).Member, layout[r].member) << r;
  }
  EXPECT_EQ(model.EntryRow(2), 1);
  EXPECT_EQ(model.EntryRow(4), -1);
  EXPECT_EQ(model.ParentRow(3), 1);
  EXPECT_EQ(model.ParentRow(4), 4);

  // What the cells show: a table of row, column and text.
  const struct {
    int row, col;
    const char* text;
  } cells[] = {
      {4, dscol::No, "1"},
      {2, dscol::No, ""},  // members have no number
      {4, dscol::Code, "A01"},
      {4, dscol::Name, "一般"},
      {3, dscol::Name, "02 m1"},
      {4, dscol::Nendo, "3 期"},
      {0, dscol::Nendo, ""},  // a free slot
      {4, dscol::Kikan, "2024/04/01～2025/03/31"},
      {0, dscol::Kikan, "～"},
      {4, dscol::Folder, "~/acc/0001"},
      {2, dscol::Folder, "~/acc/0003/b1"},
      {4, dscol::Version, "17.0"},
      {5, dscol::Kyoyu, "共"},  // on the share server, not fetched
      {4, dscol::Kyoyu, ""},
      {5, dscol::Kagi, "鍵"},
      {4, dscol::Kagi, ""},
      {4, dscol::Cloud, ""},
  };
  for (const auto& c : cells)
    EXPECT_EQ(model.index(c.row, c.col).data().toString(), QString::fromUtf8(c.text)) << c.row << "," << c.col;
  EXPECT_EQ(model.index(4, dscol::No).data().typeId(), QMetaType::Int) << "the number sorts and draws as a number";
  EXPECT_EQ(model.index(4, dscol::No).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
  EXPECT_FALSE(model.index(4, dscol::Name).data(Qt::TextAlignmentRole).isValid());
  EXPECT_FALSE(model.flags(model.index(4, dscol::Name)) & Qt::ItemIsEditable);
  EXPECT_TRUE(model.Row(5).IsLocked());
}

TEST_F(DataListModelTest, AnEntryDrawnAgainGainsOrLosesMemberRowsInPlace)
{
  model.ShowEntries(entries, {0, 2, 1});
  testenv::ScopedModelTester tester(&model);
  ASSERT_EQ(model.rowCount(), 5);

  // A refresh found a third member (redrawn from a member row).
  TDataSentakuRec grown = entry(entries[2].Data, 3);
  model.ShowEntry(3, grown);
  ASSERT_EQ(model.rowCount(), 6);
  EXPECT_EQ(model.Row(4).Member, 2);
  EXPECT_EQ(model.Row(5).Entry, 1) << "the next data set follows the members";

  // The data set became damaged and lost its members.
  TDataSentakuRec lost = entry(entries[2].Data, 0);
  lost.Data.Data_Status = jxdbHason;
  model.ShowEntry(1, lost);
  ASSERT_EQ(model.rowCount(), 3);
  EXPECT_TRUE(model.Row(1).IsDamaged());
  EXPECT_EQ(model.Row(2).Entry, 1);

  // One record changes: only its row is reported.
  QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
  TDataListRec d = model.Row(0).Data;
  d.UpdateLock = 1;
  model.SetRowData(0, d);
  ASSERT_EQ(changed.count(), 1);
  EXPECT_EQ(changed[0][0].toModelIndex().row(), 0);
  EXPECT_EQ(changed[0][1].toModelIndex().row(), 0);
  EXPECT_TRUE(model.Row(0).IsUpdateForbidden());
  // A row that is not there changes nothing.
  model.SetRowData(7, d);
  model.ShowEntry(-1, grown);
  EXPECT_EQ(changed.count(), 1);
  EXPECT_EQ(model.rowCount(), 3);
}

TEST_F(DataListModelTest, CodeSearchRecordSearchAndSortMarks)
{
  model.ShowEntries(entries, {0, 1, 2, 3});
  testenv::ScopedModelTester tester(&model);
  // The code search starts after the given row and goes round.
  EXPECT_EQ(model.FindCode(QStringLiteral("b"), 0), 1);
  EXPECT_EQ(model.FindCode(QStringLiteral("a0"), 1), 0);
  EXPECT_EQ(model.FindCode(QStringLiteral("a01"), 0), 0) << "the row itself comes last";
  EXPECT_EQ(model.FindCode(QStringLiteral("Z"), 0), -1);
  EXPECT_EQ(model.FindCode(QString(), 0), -1);
  // A record is found by number and folder; a member shares its parent's number.
  TDataListRec want = entries[2].ChildData[1];
  EXPECT_EQ(model.FindRec(want), 4);
  want.DataPath.clear();
  EXPECT_EQ(model.FindRec(want), 2);
  want.Rec = 99;
  EXPECT_EQ(model.FindRec(want), -1);

  QSignalSpy header(&model, &QAbstractItemModel::headerDataChanged);
  model.SetSortMark(fnDataListSortColOfColumn(dscol::Name), jxstAsc);
  EXPECT_EQ(model.headerData(dscol::Name, Qt::Horizontal).toString(), QStringLiteral("データ名  ▲"));
  EXPECT_EQ(header.count(), 1);
  model.SetSortMark(fnDataListSortColOfColumn(dscol::Code), jxstDesc);
  EXPECT_EQ(model.Caption(dscol::Code), QStringLiteral("コード▼"));
  EXPECT_EQ(model.Caption(dscol::Name), QStringLiteral("データ名  "));
  model.SetSortMark(0, jxstAsc);  // the default order marks nothing
  EXPECT_EQ(model.Caption(dscol::Code), QStringLiteral("コード"));
  EXPECT_EQ(model.Caption(dscol::Kagi), QStringLiteral("鍵"));
  EXPECT_EQ(fnDataListColumnOfSortCol(14), int(dscol::Name)) << "the stored sort column numbers stay as they were";
}

}  // namespace
