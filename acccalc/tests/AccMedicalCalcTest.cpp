// Range computation and statement lines of medical-corporation data, on
// tables built in memory.
#include <gtest/gtest.h>

#include "acccalc/AccCalc.h"
#include "acccalc/AccCalcUtil.h"
#include "acccalc/tests/AccTestReporter.h"
#include "acctables/AccCodeTable.h"
#include "acctables/AccDate.h"
#include "common/AccRecord.h"

using acccalc::Cur;

namespace {

void setLine(TBALANCE& r, const char* code)
{
  r.KAMOKU.GROUPM1 = r.KAMOKU.GROUPM2 = r.KAMOKU.GROUPR1 = r.KAMOKU.GROUPR2 = QString::fromLatin1(code);
}

void setAccount(TBALANCE& r, const char* kcode, const char* group, int dac, const char* bp, Currency opening,
                std::initializer_list<std::pair<int, std::pair<int, int>>> periods)
{
  setLine(r, group);
  r.KAMOKU.KCODE = QString::fromLatin1(kcode);
  r.KAMOKU.DAC = dac;
  r.KAMOKU.BPFLG = QString::fromLatin1(bp);
  r.KAISIZAN = opening;
  for (const auto& [p, amounts] : periods) {
    r.KARSUM[p] = Cur(amounts.first);
    r.KASSUM[p] = Cur(amounts.second);
  }
  r.EZANDAKA[0] = r.TZANDAKA[0] = opening;
  for (int n = 1; n <= 16; ++n) {
    r.EZANDAKA[n] = acccalc::signedMove(dac, r.KARSUM[n], r.KASSUM[n]);
    r.TZANDAKA[n] = r.TZANDAKA[n - 1] + r.EZANDAKA[n];
  }
}

class MedicalCalc : public ::testing::Test {
 protected:
  void SetUp() override
  {
    AccInf = TACCINF{};
    AccInf.DATATYPE = 3;
    AccInf.CODETYPE = 1;
    AccInf.ZaimuDataType = jxztCuravia;
    AccInf.KAISINO = 1;
    AccInf.SIME = 99;
    AccInf.KISHU = acccalc::makeDate(2024, 4, 1);
    AccInf.KIMATU = acccalc::makeDate(2025, 3, 31);
    pcSetKamokuCodeTable(true);
    SetAccCalcReporter(&reporter);
    table.resize(700);
    // A few statement lines: cash (1), receivables (2), assets (11),
    // liabilities (12, totalled in 14), liabilities and net assets (24),
    // revenue lines of two divisions (26, 28) and their total (32).
    setLine(table[1], "1108");
    setLine(table[2], "1180");
    setLine(table[11], "1900");
    setLine(table[12], "2900");
    setLine(table[24], "3900");
    setLine(table[26], "4180");
    setLine(table[28], "4280");
    setLine(table[32], "4800");
  }
  void TearDown() override
  {
    SetAccCalcReporter(nullptr);
    AccInf = TACCINF{};
    pcSetKamokuCodeTable(false);
  }
  TAccTestReporter reporter;
  TBalanceArray table;
};

}  // namespace

TEST_F(MedicalCalc, LinesPerPeriodSumByCodeRanges)
{
  setAccount(table[61], "A", "1100", 1, "B", Cur(250), {});
  setAccount(table[62], "B", "1120", 1, "B", Cur(800), {});
  setAccount(table[63], "C", "1150", 2, "B", Cur(50), {});   // a contra account reduces its line
  setAccount(table[64], "D", "1180", 1, "B", Cur(999), {});  // equal to a line code: counts nowhere
  setAccount(table[65], "E", "2100", 3, "B", Cur(400), {});
  table[61].TOUKI_KISHU = Cur(250);
  table[61].KAISIZAN_A = {Cur(1), Cur(2), Cur(3)};
  table[20].TZANDAKA[0] = Cur(12345);

  pcKikanLineCalcu_Iryou(table, 0, 16);
  EXPECT_EQ(table[1].TZANDAKA[0], Cur(250));
  EXPECT_EQ(table[2].TZANDAKA[0], Cur(250 + 800 - 50));
  EXPECT_EQ(table[2].KAMOKU.DAC, 2);  // the last account added
  EXPECT_EQ(table[11].TZANDAKA[0], Cur(1000));
  EXPECT_EQ(table[12].TZANDAKA[0], Cur(400));
  EXPECT_EQ(table[14].TZANDAKA[0], Cur(400));
  EXPECT_EQ(table[19].TZANDAKA[0], Cur(600));  // the balancing figure
  EXPECT_EQ(table[24].TZANDAKA[0], Cur(1000));
  EXPECT_EQ(table[20].TZANDAKA[0], table[49].TZANDAKA[0]);
  EXPECT_EQ(table[1].TOUKI_KISHU, Cur(250));
  EXPECT_EQ(table[1].KAISIZAN_A[0], Currency());  // only position 16 sums the openings by year

  struct {
    int row;
    const char* kousei;
  } ratios[] = {
      {61, "25"}, {62, "80"}, {63, "5"}, {1, "25"}, {2, "100"}, {11, "100"}, {65, "40"}, {24, "100"},
  };
  for (const auto& r : ratios)
    EXPECT_EQ(table[r.row].KOUSEI[0], Currency::fromString(QString::fromLatin1(r.kousei))) << r.row;

  pcKikanLineCalcu_Iryou(table, 16, 16);
  EXPECT_EQ(table[1].KAISIZAN_A[2], Cur(3));
}

TEST_F(MedicalCalc, RatiosOutOfRangeAreDroppedAndZeroBasesSkipped)
{
  setAccount(table[61], "A", "1100", 1, "B", Currency::fromString(u"0.2"), {});
  setAccount(table[62], "B", "1180", 1, "B", Cur(3), {});  // equal to a line code: in no line
  pcKikanLineCalcu_Iryou(table, 0, 16);
  EXPECT_EQ(table[11].TZANDAKA[0], Currency::fromString(u"0.2"));
  EXPECT_EQ(table[61].KOUSEI[0], Cur(100));
  EXPECT_EQ(table[62].KOUSEI[0], Cur(1500));

  table[62].TZANDAKA[0] = Cur(24);  // 12 000 %
  pcKikanLineCalcu_Iryou(table, 0, 16);
  EXPECT_EQ(table[62].KOUSEI[0], Currency());

  // With the assets at 0 their ratios are left as they were.
  table[61].TZANDAKA[0] = Currency();
  table[61].KOUSEI[0] = Cur(7);
  pcKikanLineCalcu_Iryou(table, 0, 16);
  EXPECT_EQ(table[11].TZANDAKA[0], Currency());
  EXPECT_EQ(table[61].KOUSEI[0], Cur(7));
}

TEST_F(MedicalCalc, RangeFiguresAndLines)
{
  setAccount(table[61], "A", "1100", 1, "B", Cur(1000),
             {{1, {300, 100}}, {2, {300, 100}}, {3, {300, 100}}, {4, {300, 100}}});
  setAccount(table[62], "E", "2100", 2, "B", Cur(500), {{3, {200, 500}}});
  setAccount(table[63], "S", "4100", 3, "P", Cur(0), {{1, {0, 700}}, {5, {0, 300}}});
  pcBalanceSheet_CalcuIryou(table, 0, 0, 3, 4, 16);
  EXPECT_EQ(table[61].WNUM1, Cur(1400));
  EXPECT_EQ(table[61].WNUM2, Cur(600));
  EXPECT_EQ(table[61].WNUM3, Cur(200));
  EXPECT_EQ(table[61].WNUM4, Cur(1800));
  EXPECT_EQ(table[62].WNUM4, Cur(800));
  // a line of a class-2 account: negated balances, plain sums, its class
  EXPECT_EQ(table[12].WNUM4, Cur(-800));
  EXPECT_EQ(table[12].WNUM2, Cur(200));
  EXPECT_EQ(table[12].WNUM3, Cur(500));
  EXPECT_EQ(table[12].KAMOKU.DAC, 2);
  EXPECT_EQ(table[12].WCNT, 1);
  EXPECT_EQ(table[14].WNUM4, Cur(-800));
  // line 19 balances the sheet: no debit sum, credit sum the difference
  EXPECT_EQ(table[19].WNUM2, Currency());
  EXPECT_EQ(table[19].WNUM3, table[19].WNUM4 - table[19].WNUM1);
  EXPECT_EQ(table[20].WNUM4, table[49].WNUM4);

  pcBalanceSheet_CalcuIryou(table, 1, 0, 3, 4, 16);
  EXPECT_EQ(table[61].WNUM1, Currency());
  EXPECT_EQ(table[61].WNUM4, Cur(400));
  EXPECT_TRUE(reporter.messages.isEmpty());
}

TEST_F(MedicalCalc, QuartersOfShortYearsTakeTheYearEndClosing)
{
  setAccount(table[61], "A", "1100", 1, "B", Cur(0), {{9, {1, 0}}, {12, {10, 0}}, {13, {100, 0}}, {16, {1000, 0}}});
  struct {
    int kimatuYear, kimatuMonth;
    int selector;
    const char* sum;
  } cases[] = {
      {2025, 3, 3, "11"},     // twelve months: periods 9-12
      {2024, 12, 3, "1111"},  // nine months (last month period 11): periods 9-16
      {2025, 3, 4, "1100"},   // the last quarter is 13-16 anyway
      {2024, 12, 0, "11"},    // the range as passed is kept
  };
  for (const auto& c : cases) {
    AccInf.KIMATU = acccalc::makeDate(c.kimatuYear, c.kimatuMonth, 31);
    pcBalanceSheet_CalcuIryou(table, 0, c.selector, 9, 12, 16);
    EXPECT_EQ(table[61].WNUM2, Currency::fromString(QString::fromLatin1(c.sum))) << c.kimatuMonth << " " << c.selector;
  }
}

TEST_F(MedicalCalc, ProfitAndLossOpeningsAndTheCarriedForwardProfit)
{
  AccInf.ZENKIKURIKOSI = QStringLiteral("K");
  setAccount(table[61], "A", "1100", 1, "B", Cur(1000), {{1, {500, 0}}});
  setAccount(table[62], "L", "2100", 3, "B", Cur(300), {{2, {0, 100}}});
  setAccount(table[63], "K", "3600", 3, "B", Cur(0), {});
  setAccount(table[64], "S", "4100", 3, "P", Cur(0), {{1, {0, 500}}, {3, {0, 100}}, {5, {0, 40}}});
  table[64].HOJOUTIWAKE.resize(1);
  table[64].HOJONUM = 1;
  table[64].HOJOUTIWAKE[0].HCODE = QStringLiteral("01");
  table[64].HOJOUTIWAKE[0].KASSUM[1] = Cur(500);
  table[64].HOJOUTIWAKE[0].KASSUM[3] = Cur(100);
  table[64].HOJOUTIWAKE[0].KASSUM[5] = Cur(40);

  pcBalanceSheet_CalcuIryou(table, 0, 2, 0, 0, 16);
  EXPECT_EQ(table[64].WNUM1, Currency());
  EXPECT_EQ(table[64].WNUM4, Cur(40));
  // sub-accounts start from zero with their account and add up to it
  EXPECT_EQ(table[64].HOJOUTIWAKE[0].WNUM1, Currency());
  EXPECT_EQ(table[64].HOJOUTIWAKE[0].WNUM4, Cur(40));
  EXPECT_EQ(table[64].HOJOUTIWAKE[0].WNUM5, Cur(100));
  // assets 1500 less liabilities 400 at the start of period 5
  EXPECT_EQ(table[63].WNUM1, Cur(1100));

  struct {
    int kaisino, from;
    bool cleared;
  } sel7[] = {{4, 5, true}, {4, 3, false}, {1, 1, false}, {1, 2, true}};
  for (const auto& c : sel7) {
    AccInf.KAISINO = c.kaisino;
    pcBalanceSheet_CalcuIryou(table, 0, 7, c.from, 16, 16);
    EXPECT_EQ(table[64].WNUM1.isZero(), c.cleared || c.from == 1) << c.kaisino << " " << c.from;
  }
}

TEST_F(MedicalCalc, MessagesForBadInput)
{
  setAccount(table[61], "A", "1100", 1, "B", Cur(10), {{15, {1, 0}}});
  pcBalanceSheet_CalcuIryou(table, 0, 0, 0, 15, 16);
  EXPECT_EQ(reporter.messages, QStringList{QStringLiteral("1:期間番号は「1～16」です。 [0-15]")});
  EXPECT_EQ(table[61].WNUM4, Cur(11));

  reporter.messages.clear();
  pcBalanceSheet_CalcuIryou(table, 0, 0, 1, 16, 3);
  EXPECT_EQ(reporter.messages, QStringList{QStringLiteral("1:事業区分の設定が必要です。")});
  EXPECT_EQ(table[61].WNUM4, Cur(11));
}
