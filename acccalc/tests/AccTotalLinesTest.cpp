// Statement total lines as the readers set them up from a company
// database's total-name table, and the names the range computation gives the
// result lines.
#include <gtest/gtest.h>

#include "acccalc/AccCalc.h"
#include "acccalc/AccCalcEnv.h"
#include "acccalc/tests/AccTestReporter.h"
#include "acctables/AccCodeTable.h"
#include "common/AccRecord.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TempDir.h"

using fixtures::CompanyKind;
namespace acc = fixtures::sample::acc;

namespace {

class AccTotalLines : public ::testing::Test {
 protected:
  void open(CompanyKind kind)
  {
    const bool medical = kind == CompanyKind::Medical;
    path = testfx::makeCompanyDb(dir.path(), kind, false);
    testfx::builder().open(d, path);
    AccInf = TACCINF{};
    AccInf.DATATYPE = medical ? 3 : 1;
    AccInf.CODETYPE = 1;
    AccInf.ZaimuDataType = medical ? jxztCuravia : jxztBasic;
    AccInf.KAISINO = 1;
    pcSetKamokuCodeTable(medical);
    snapshot = std::make_unique<db::Transaction>(d, db::Transaction::Snapshot);
    main = std::make_unique<db::Transaction>(d, db::Transaction::ReadCommitted);
    SetAccCalcDatabase({snapshot.get(), main.get()});
    SetAccCalcReporter(&reporter);
    table.resize(static_cast<std::size_t>(fnBalanceRecMax()));
    keys.resize(table.size());
  }
  void TearDown() override
  {
    SetAccCalcDatabase({});
    SetAccCalcReporter(nullptr);
    AccInf = TACCINF{};
    SystemDef.KingakuPlus = 0;
    pcSetKamokuCodeTable(false);
  }
  bool hidden(int row) const
  {
    for (const TQSORT& k : keys)
      if (k.Rec == row)
        return k.Key == HiddenSortKey();
    return true;
  }
  QString keyOf(int row) const
  {
    for (const TQSORT& k : keys)
      if (k.Rec == row)
        return k.Key;
    return QString();
  }

  TestTempDir dir;
  QString path;
  db::Database d;
  std::unique_ptr<db::Transaction> snapshot, main;
  TAccTestReporter reporter;
  TBalanceArray table;
  TQSortArray keys;
};

}  // namespace

TEST_F(AccTotalLines, GeneralLinesByFormStyle)
{
  open(CompanyKind::General);
  struct {
    int yousiki;
    QList<int> hiddenRows;
    QList<int> shownRows;
  } cases[] = {
      // lines 2 to 4 are kept for form style 1 only, which hides them itself
      {2, {2, 3, 4, 29, 35, 47}, {1, 5, 30, 36}},
      {1, {2, 3, 4, 29, 35, 47}, {1, 5, 30, 36}},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(pcSisanhyoRead(table, keys, QStringLiteral(" "), QStringLiteral(" "), 0, 0, 0, c.yousiki, 0, 0, 0));
    for (int r : c.hiddenRows)
      EXPECT_TRUE(hidden(r)) << c.yousiki << " row " << r;
    for (int r : c.shownRows)
      EXPECT_FALSE(hidden(r)) << c.yousiki << " row " << r;
    EXPECT_EQ(keyOf(30), QStringLiteral("5882"));
    EXPECT_EQ(table[29].KAMOKU.KNAME, table[35].KAMOKU.KNAME);
    EXPECT_EQ(table[1].KAMOKU.BPFLG, QStringLiteral("B"));
    EXPECT_EQ(table[36].KAMOKU.BPFLG, QStringLiteral("P"));
    EXPECT_TRUE(table[36].KAMOKU.KCODE.isEmpty());
  }
  EXPECT_TRUE(reporter.messages.isEmpty());
}

TEST_F(AccTotalLines, GeneralResultLinesAreNamedByTheirSign)
{
  open(CompanyKind::General);
  // Sales taken back: the gross profit line turns negative.
  fixtures::CompanyFixture(d).post({fixtures::JournalEntry::plain(fixtures::sample::fiscalStart().addDays(3),
                                                                  acc::Uriage, acc::Genkin, Currency::fromInt(1000))});
  ASSERT_TRUE(pcSisanhyoRead(table, keys, QStringLiteral(" "), QStringLiteral(" "), 0, 0, 0, 2, 0, 0, 0));
  struct {
    int kingakuPlus;
    const char* name36;
  } cases[] = {{0, "売上総損失"}, {1, "売上総損失金額"}};
  for (const auto& c : cases) {
    SystemDef.KingakuPlus = c.kingakuPlus;
    pcBalanceCalcu(table, 0, 0, 1, 16, 0);
    EXPECT_EQ(table[36].WNUM4, Currency::fromInt(-1000));
    EXPECT_EQ(table[36].KAMOKU.KNAME, QString::fromUtf8(c.name36));
  }
  EXPECT_FALSE(main->inTransaction());  // started and committed by the computation
  EXPECT_TRUE(reporter.fbSteps.isEmpty());
}

TEST_F(AccTotalLines, MedicalLinesOfTheWholeCorporation)
{
  open(CompanyKind::Medical);
  {
    // The division lines belong to the whole corporation's statement too.
    db::Transaction tr(d);
    tr.start();
    db::Query q(
        tr,
        QStringLiteral("UPDATE ACCTOTALNAME SET MB_JIGYOU = BIN_OR(MB_JIGYOU, 16) WHERE ARRAYNUM IN (26, 28, 30, 31)"));
    q.exec();
    tr.commit();
  }
  ASSERT_TRUE(pcSisanhyoRead(table, keys, QStringLiteral(" "), QStringLiteral(" "), 0, 0, 0, 2, 0, 16, 0));
  EXPECT_TRUE(reporter.messages.isEmpty());
  EXPECT_TRUE(hidden(1));
  EXPECT_TRUE(hidden(17));
  // No facility of division 1: its line is hidden; three remain, so the total stays.
  EXPECT_TRUE(hidden(31));
  for (int r : {26, 28, 30, 32})
    EXPECT_FALSE(hidden(r)) << r;
  struct {
    int row;
    const char* name;
  } names[] = {
      {2, "現金及び預金"},  {15, "出資金合計"},         {23, "純資産の部合計"}, {24, "負債純資産の部合計"},
      {26, "医業収益合計"}, {31, "その他事業収益合計"}, {41, "事業費用合計"},
  };
  for (const auto& n : names)
    EXPECT_EQ(table[static_cast<std::size_t>(n.row)].KAMOKU.KNAME, QString::fromUtf8(n.name)) << n.row;
  EXPECT_EQ(table[18].KAMOKU.GROUPM1, QStringLiteral("3460"));
  EXPECT_EQ(table[32].KAMOKU.GROUPM1, QStringLiteral("4800"));
  EXPECT_EQ(table[39].KAMOKU.GROUPM1, QStringLiteral("6780"));
  EXPECT_FALSE(table[46].KAMOKU.KNAME.isEmpty());

  // A department reading hides and empties the department lines.
  ASSERT_TRUE(pcSisanhyoRead(table, keys, QStringLiteral(" "), QStringLiteral("01"), 0, 0, 0, 2, 0, 16, 0));
  for (int r = 46; r <= 53; ++r) {
    EXPECT_TRUE(hidden(r)) << r;
    EXPECT_TRUE(table[static_cast<std::size_t>(r)].KAMOKU.KNAME.isEmpty()) << r;
  }
}

TEST_F(AccTotalLines, MedicalCapitalLineFollowsTheReportSettings)
{
  open(CompanyKind::Medical);
  struct {
    const char *code, *value, *name;
  } cases[] = {
      {"基金", "有", "基金合計"},
      {"医療法人", "社会", "出資金合計"},
  };
  fixtures::CompanyFixture fx(d);
  for (const auto& c : cases) {
    fx.setAccReg(QStringLiteral("法人概要"), QString::fromUtf8(c.code), QStringLiteral("文字"),
                 QString::fromUtf8(c.value));
    ASSERT_TRUE(pcSisanhyoRead(table, keys, QStringLiteral(" "), QStringLiteral(" "), 0, 0, 0, 2, 0, 16, 0));
    EXPECT_EQ(table[15].KAMOKU.KNAME, QString::fromUtf8(c.name)) << c.code;
  }
}
