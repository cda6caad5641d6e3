// The balance table, the range computation and the statement lines of
// general data, on tables built in memory.
#include <gtest/gtest.h>

#include "acccalc/AccCalc.h"
#include "acccalc/AccCalcUtil.h"
#include "acccalc/tests/AccTestReporter.h"
#include "acctables/AccCodeTable.h"
#include "common/AccRecord.h"

using acccalc::Cur;

namespace {

Currency C(const char* text)
{
  return Currency::fromString(QString::fromLatin1(text));
}

// An account row as a trial-balance reading leaves it: opening, period sums
// and the period movements and balances derived from them.
void setAccount(TBALANCE& r, const char* group, int dac, const char* bp, Currency opening,
                std::initializer_list<std::pair<int, std::pair<Currency, Currency>>> periods)
{
  r.KAMOKU.GROUPM1 = r.KAMOKU.GROUPM2 = QString::fromLatin1(group);
  r.KAMOKU.KCODE = QStringLiteral("K") + QString::fromLatin1(group);
  r.KAMOKU.DAC = dac;
  r.KAMOKU.BPFLG = QString::fromLatin1(bp);
  r.KAISIZAN = opening;
  for (const auto& [p, amounts] : periods) {
    r.KARSUM[p] = amounts.first;
    r.KASSUM[p] = amounts.second;
  }
  r.EZANDAKA[0] = r.TZANDAKA[0] = opening;
  for (int n = 1; n <= 16; ++n) {
    r.EZANDAKA[n] = acccalc::signedMove(dac, r.KARSUM[n], r.KASSUM[n]);
    r.TZANDAKA[n] = r.TZANDAKA[n - 1] + r.EZANDAKA[n];
  }
}

THOJOUTIWAKE& addSub(TBALANCE& r, const char* code, Currency opening,
                     std::initializer_list<std::pair<int, std::pair<Currency, Currency>>> periods)
{
  r.HOJOUTIWAKE.emplace_back();
  r.HOJONUM = static_cast<int>(r.HOJOUTIWAKE.size());
  THOJOUTIWAKE& h = r.HOJOUTIWAKE.back();
  h.HCODE = QString::fromLatin1(code);
  h.KAISIZAN = opening;
  for (const auto& [p, amounts] : periods) {
    h.KARSUM[p] = amounts.first;
    h.KASSUM[p] = amounts.second;
  }
  return h;
}

class GeneralCalc : public ::testing::Test {
 protected:
  void SetUp() override
  {
    AccInf = TACCINF{};
    AccInf.DATATYPE = 1;
    AccInf.CODETYPE = 1;
    AccInf.KAISINO = 1;
    pcSetKamokuCodeTable(false);
    SetAccCalcReporter(&reporter);
    table.resize(500);
  }
  void TearDown() override
  {
    SetAccCalcReporter(nullptr);
    AccInf = TACCINF{};
  }
  TAccTestReporter reporter;
  TBalanceArray table;
};

}  // namespace

TEST(AccBalanceTable, RecordCountByDataKind)
{
  struct {
    TJxZaimuDataType kind;
    int rows;
  } cases[] = {{jxztBasic, 500}, {jxztCuravia, 700}};
  for (const auto& c : cases) {
    AccInf.ZaimuDataType = c.kind;
    EXPECT_EQ(fnBalanceRecMax(), c.rows);
  }
  AccInf = TACCINF{};
}

TEST(AccBalanceTable, ResetClearsRowsAndHidesEveryKey)
{
  TBalanceArray none;
  TQSortArray noKeys;
  pcBalanceRecReset(none, noKeys);
  EXPECT_TRUE(noKeys.empty());

  TBalanceArray t(5);
  TQSortArray k(5);
  t[3].KAMOKU.KCODE = QStringLiteral("1101");
  t[3].KAMOKU.ACCCLAS = 7;  // not one of the cleared fields
  t[3].WMSTREC = 12;
  t[3].KARSUM[-32] = Cur(5);
  t[3].TZANDAKA[19] = Cur(5);
  t[3].HOJOUTIWAKE.resize(2);
  t[3].HOJONUM = 2;
  k[3] = TQSORT{QStringLiteral("1100111 "), 0};
  pcBalanceRecReset(t, k);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(k[i].Key, QString(QChar(0xFF9F)));
    EXPECT_EQ(k[i].Rec, i);
  }
  EXPECT_TRUE(t[3].KAMOKU.KCODE.isEmpty());
  EXPECT_EQ(t[3].KARSUM[-32], Currency());
  EXPECT_EQ(t[3].TZANDAKA[19], Currency());
  EXPECT_EQ(t[3].HOJONUM, 0);
  EXPECT_EQ(t[3].HOJOUTIWAKE.size(), 2u);
  EXPECT_EQ(t[3].WMSTREC, 12);
  EXPECT_EQ(t[3].KAMOKU.ACCCLAS, 7);
}

TEST(AccBalanceTable, PeriodPositionsOutsideTheArrayAreRefused)
{
  TBALANCE r;
  EXPECT_NO_THROW(r.KARSUM[-32]);
  EXPECT_NO_THROW(r.KARSUM[19]);
  EXPECT_THROW(r.KARSUM[-33], std::out_of_range);
  EXPECT_THROW(r.KARSUM[20], std::out_of_range);
}

TEST(AccBalanceTable, RateRounding)
{
  struct {
    double ratio;
    const char* want;
  } cases[] = {
      {0, "0"},          {0.0005, "0.1"},    {-0.0005, "-0.1"}, {1, "100"},           {0.12345, "12.3"},
      {0.12355, "12.4"}, {-0.00051, "-0.1"}, {0.00049, "0"},    {-1.23456, "-123.5"}, {15, "1500"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(fnRoundRitu(c.ratio), C(c.want)) << c.ratio;
}

TEST(AccBalanceTable, SubAccountShares)
{
  struct {
    int sub, account;
    const char* want;
  } cases[] = {
      {450, 1800, "25"}, {1, 3, "33.3"},   {-2, 3, "-66.7"}, {30, 120, "25"},  {5, 0, "0"},
      {150, 1, "9999"},  {-20, 1, "-999"}, {120, 1, "9999"}, {1, 2000, "0.1"}, {1, 20000, "0"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(acccalc::subAccountShare(Cur(c.sub), Cur(c.account)), C(c.want)) << c.sub << "/" << c.account;
}

TEST(AccCodeTable, LayoutsDoNotDependOnTheOneSetBefore)
{
  pcSetKamokuCodeTable(true);
  const TKamokuCodeTable medical = KamokuCodeTable;
  const TTotalLineRows medicalRows = TotalLineRows;
  pcSetKamokuCodeTable(false);
  const TKamokuCodeTable general = KamokuCodeTable;
  pcSetKamokuCodeTable(true);
  EXPECT_EQ(KamokuCodeTable, medical);
  EXPECT_EQ(TotalLineRows.Line, medicalRows.Line);
  EXPECT_EQ(TotalLineRows.Single, medicalRows.Single);

  struct {
    int entry;
    const char *general, *medical;
  } cases[] = {
      {1, "1100", "1100"},   {39, "3340", "3340"},  {61, "5580", "5580"},  {73, "6200", "6950"},  {74, "7100", "7110"},
      {83, "8290", "8300"},  {85, "8400", "9280"},  {88, "5688", "5688"},  {89, "****", "3450"},  {142, "****", "9600"},
      {143, "1900", "1900"}, {147, "8400", "9600"}, {149, "5510", "****"}, {150, "5820", "****"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(general[c.entry], QString::fromLatin1(c.general)) << c.entry;
    EXPECT_EQ(medical[c.entry], QString::fromLatin1(c.medical)) << c.entry;
  }

  pcSetKamokuCodeTable(false);
  EXPECT_EQ(TotalLineRows.first(30), 30);
  EXPECT_EQ(TotalLineRows.second(45), 45);
  EXPECT_EQ(TotalLineRows.Single[5], 0);
  pcSetKamokuCodeTable(true);
  struct {
    int slot, first, second;
  } lines[] = {{14, 0, 0},  {15, 14, 14}, {22, 17, 17}, {28, 32, 32}, {36, 0, 32},
               {38, 0, 42}, {39, 43, 43}, {44, 0, 48},  {45, 0, 0}};
  for (const auto& l : lines) {
    EXPECT_EQ(TotalLineRows.first(l.slot), l.first) << l.slot;
    EXPECT_EQ(TotalLineRows.second(l.slot), l.second) << l.slot;
  }
  struct {
    int slot, row;
  } singles[] = {{1, 18}, {3, 20}, {4, 25}, {10, 31}, {11, 34}, {19, 42}, {20, 48}, {21, 49}, {25, 53}};
  for (const auto& s : singles)
    EXPECT_EQ(TotalLineRows.Single[s.slot], s.row) << s.slot;
  pcSetKamokuCodeTable(false);
}

TEST_F(GeneralCalc, WorkedFiguresOfOneAccount)
{
  const auto p = std::make_pair(Cur(300), Cur(100));
  struct {
    int syuukei, selector, from, to;
    const char *wnum1, *wnum2, *wnum3, *wnum4;
  } cases[] = {
      {0, 0, 3, 4, "1400", "600", "200", "1800"},
      {1, 0, 3, 4, "0", "600", "200", "400"},
      {0, 0, 1, 16, "1000", "1200", "400", "1800"},
      {0, 1, 9, 9, "1000", "1200", "400", "1800"},  // selector 1: periods 1-4 whatever is passed
      {0, 2, 1, 16, "1800", "0", "0", "1800"},      // periods 5-8, a balance-sheet account keeps its opening
      {0, 0, 4, 3, "1600", "0", "0", "1600"},       // first after last: no sums
  };
  for (const auto& c : cases) {
    setAccount(table[51], "1100", 1, "B", Cur(1000), {{1, p}, {2, p}, {3, p}, {4, p}});
    pcBalanceSheet_Calcu(table, c.syuukei, c.selector, c.from, c.to);
    EXPECT_EQ(table[51].WNUM1, C(c.wnum1)) << c.selector << " " << c.from << "-" << c.to;
    EXPECT_EQ(table[51].WNUM2, C(c.wnum2)) << c.selector << " " << c.from << "-" << c.to;
    EXPECT_EQ(table[51].WNUM3, C(c.wnum3)) << c.selector << " " << c.from << "-" << c.to;
    EXPECT_EQ(table[51].WNUM4, C(c.wnum4)) << c.selector << " " << c.from << "-" << c.to;
  }
  EXPECT_TRUE(reporter.messages.isEmpty());
}

TEST_F(GeneralCalc, DebitAndCreditNatures)
{
  struct {
    int dac;
    const char* closing;
  } cases[] = {{1, "-200"}, {4, "-200"}, {2, "400"}, {3, "400"}};
  for (const auto& c : cases) {
    setAccount(table[51], "2200", c.dac, "B", Cur(100), {{2, {Cur(200), Cur(500)}}});
    // the opening is taken as stored, in the account's own direction
    pcBalanceSheet_Calcu(table, 0, 0, 1, 16);
    EXPECT_EQ(table[51].WNUM4, C(c.closing)) << c.dac;
  }
}

TEST_F(GeneralCalc, ProfitAndLossRangesStartFromZeroWithTheirSubAccounts)
{
  const auto p = std::make_pair(Cur(50), Cur(0));
  setAccount(table[51], "6100", 4, "P", Cur(0), {{1, p}, {2, p}, {5, p}, {6, p}});
  addSub(table[51], "01", Cur(0), {{1, p}, {5, p}});
  addSub(table[51], "02", Cur(0), {{2, p}, {6, p}});
  table[51].EZANDAKA[5 - 16] = Cur(7);
  table[51].EZANDAKA[6 - 16] = Cur(8);
  table[51].TZANDAKA[8 - 16] = Cur(99);
  pcBalanceSheet_Calcu(table, 0, 2, 1, 16);
  const TBALANCE& r = table[51];
  EXPECT_EQ(r.WNUM1, Currency());
  EXPECT_EQ(r.WNUM4, Cur(100));
  EXPECT_EQ(r.ZENKI, Cur(15));  // the previous year's movement of periods 5-8
  Currency subs;
  for (int i = 0; i < r.HOJONUM; ++i) {
    EXPECT_EQ(r.HOJOUTIWAKE[i].WNUM1, Currency()) << i;
    EXPECT_EQ(r.HOJOUTIWAKE[i].WNUM4, Cur(50)) << i;
    EXPECT_EQ(r.HOJOUTIWAKE[i].WNUM5, Cur(50)) << i;
    subs += r.HOJOUTIWAKE[i].WNUM4;
  }
  EXPECT_EQ(subs, r.WNUM4);

  // Selector 0 keeps the opening; a balance-sheet account's prior-year
  // figure is the previous year's balance at the last period.
  pcBalanceSheet_Calcu(table, 0, 0, 5, 8);
  EXPECT_EQ(table[51].WNUM1, Cur(100));
  EXPECT_EQ(table[51].ZENKI, Cur(99));
}

TEST_F(GeneralCalc, PeriodsOutsideTheYearAreReportedAndBounded)
{
  setAccount(table[51], "1100", 1, "B", Cur(10), {{1, {Cur(5), Cur(0)}}, {16, {Cur(1), Cur(0)}}});
  struct {
    int selector, from, to;
    const char* message;
    const char* closing;
  } cases[] = {
      {0, 0, 16, "1:期間番号は「1～16」です。 [0-16]", "16"},
      {0, 1, 40, "1:期間番号は「1～16」です。 [1-40]", "16"},
      {0, -40, -40, "1:期間番号は「1～16」です。 [-40--40]", "15"},
      {3, 0, 0, nullptr, "15"},  // the selector's range replaces the periods passed
  };
  for (const auto& c : cases) {
    reporter.messages.clear();
    pcBalanceSheet_Calcu(table, 0, c.selector, c.from, c.to);
    if (c.message)
      EXPECT_EQ(reporter.messages, QStringList{QString::fromUtf8(c.message)});
    else
      EXPECT_TRUE(reporter.messages.isEmpty());
    EXPECT_EQ(table[51].WNUM4, C(c.closing)) << c.from << " " << c.to;
  }
}

TEST_F(GeneralCalc, StatementLinesOfCorporationData)
{
  // Assets 10 000, liabilities 6 000: the retained-earnings row takes the
  // difference and the balance sheet balances.
  setAccount(table[51], "1100", 1, "B", Cur(10000), {});
  setAccount(table[52], "1110", 2, "B", Cur(0), {{1, {Cur(30), Cur(130)}}});  // contra account of line 1
  setAccount(table[53], "1385", 1, "B", Cur(777), {});                        // line 5 is replaced: counts nowhere
  setAccount(table[54], "2100", 3, "B", Cur(6000), {});
  setAccount(table[55], "3340", 3, "B", Cur(0), {{3, {Cur(0), Cur(0)}}});
  setAccount(table[56], "4100", 3, "P", Cur(0), {{1, {Cur(0), Cur(1000)}}});
  setAccount(table[57], "5210", 1, "P", Cur(0), {{1, {Cur(600), Cur(0)}}});
  setAccount(table[58], "5810", 1, "P", Cur(0), {{1, {Cur(40), Cur(0)}}});   // line 34, not 36
  setAccount(table[59], "8300", 1, "P", Cur(0), {{1, {Cur(120), Cur(0)}}});  // stays in line 45
  pcBalanceSheet_Calcu(table, 0, 0, 1, 16);

  auto line = [this](int n) -> const TBALANCE& { return table[static_cast<std::size_t>(n)]; };
  EXPECT_EQ(line(1).WNUM4, Cur(9900));
  EXPECT_EQ(line(1).WNUM2, Cur(30));
  EXPECT_EQ(line(1).WNUM3, Cur(130));
  EXPECT_EQ(line(1).WCNT, 2);
  EXPECT_EQ(line(11).WNUM4, Cur(9900));
  EXPECT_EQ(line(15).WNUM4, Cur(6000));
  EXPECT_EQ(table[55].WNUM4, Cur(3900));
  EXPECT_EQ(line(21).WNUM4, Cur(3900));
  EXPECT_EQ(line(27).WNUM4, line(11).WNUM4);
  EXPECT_EQ(line(34).WNUM4, Cur(40));
  EXPECT_EQ(line(36).WNUM4, Cur(1000 - 600 - 40));
  EXPECT_EQ(line(36).WNUM2, Currency());
  EXPECT_EQ(line(36).WNUM3, line(36).WNUM4 - line(36).WNUM1);
  EXPECT_EQ(line(45).WNUM4, line(44).WNUM4 - Cur(120));
  // ratios against line 11 and line 28; the base lines show 100
  EXPECT_EQ(table[51].WNUM5, fnRoundRitu(10000.0 / 9900.0));
  EXPECT_EQ(table[56].WNUM5, Cur(100));
  EXPECT_EQ(table[57].WNUM5, Cur(60));
  EXPECT_EQ(line(11).WNUM5, Cur(100));
  EXPECT_EQ(line(27).WNUM5, Cur(100));
  EXPECT_EQ(line(28).WNUM5, Cur(100));
}

TEST_F(GeneralCalc, RetainedEarningsBalanceTheSheet)
{
  // Line 11 closes at 10 000, the liabilities and capital lines at 6 000
  // together; the group-3340 row receives 4 000 and line 27 equals line 11.
  setAccount(table[51], "1100", 1, "B", Cur(10000), {});
  setAccount(table[52], "2100", 3, "B", Cur(2000), {});  // line 12
  setAccount(table[53], "2900", 3, "B", Cur(3000), {});  // line 16
  setAccount(table[54], "3290", 3, "B", Cur(1000), {});  // line 20
  setAccount(table[55], "3340", 3, "B", Cur(0), {});
  pcBalanceSheet_Calcu(table, 0, 0, 1, 16);
  EXPECT_EQ(table[55].WNUM4, Cur(4000));
  EXPECT_EQ(table[21].WNUM4, Cur(4000));
  EXPECT_EQ(table[22].WNUM4, Cur(5000));
  EXPECT_EQ(table[27].WNUM4, Cur(10000));
  EXPECT_EQ(table[27].WNUM4, table[11].WNUM4);
}

TEST_F(GeneralCalc, IndividualDataBalancesThroughLine23)
{
  AccInf.DATATYPE = 2;
  setAccount(table[51], "1100", 1, "B", Cur(5000), {{1, {Cur(100), Cur(0)}}});
  setAccount(table[52], "2100", 3, "B", Cur(1200), {});
  setAccount(table[53], "3340", 3, "B", Cur(70), {{2, {Cur(5), Cur(9)}}});
  pcBalanceSheet_Calcu(table, 0, 0, 1, 16);
  EXPECT_EQ(table[23].WNUM4, Cur(5100 - 1200));
  EXPECT_EQ(table[23].WNUM2, Currency());
  EXPECT_EQ(table[23].WNUM3, table[23].WNUM4 - table[23].WNUM1);
  // the group-3340 row itself is emptied apart from its own sums
  EXPECT_EQ(table[53].WNUM1, Currency());
  EXPECT_EQ(table[53].WNUM4, Currency());
  EXPECT_EQ(table[53].WNUM2, Cur(5));
  EXPECT_EQ(table[53].WNUM3, Cur(9));
  EXPECT_EQ(table[27].WNUM4, table[11].WNUM4);
}

TEST_F(GeneralCalc, ABaseLineOfZeroLeavesItsGroupWithoutRatios)
{
  setAccount(table[51], "1100", 1, "B", Cur(100), {});
  setAccount(table[52], "1150", 1, "B", Cur(-100), {});
  pcBalanceSheet_Calcu(table, 0, 0, 1, 16);
  EXPECT_EQ(table[11].WNUM4, Currency());
  EXPECT_EQ(table[51].WNUM5, Currency());
  EXPECT_EQ(table[11].WNUM5, Cur(100));
}
