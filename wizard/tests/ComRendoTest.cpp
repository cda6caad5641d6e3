#include <gtest/gtest.h>

#include "wizard/ComRendo.h"
#include "wizard/Ug13.h"
#include "wizard/tests/ExportEnv.h"

TEST(ZaimuLoadRange, ClosingPeriodRuleAndMonthOfTheLastPeriod)
{
  struct Case {
    int start, end, last;  // 0-based indexes of the period panel
    int from, to;          // periods handed to the computation
    int endAfter;          // the loader's end index afterwards
    int month;             // SelEndNum12
  };
  const Case cases[] = {
      {0, 15, 15, 1, 16, 15, 12},                          // the whole year
      {0, 11, 11, 1, 16, 15, 9},                           // ends on the panel's closing period: to the year end
      {2, 5, 15, 3, 6, 5, 5},     {4, 4, 15, 5, 5, 4, 4},  // a single period
      {0, 11, 15, 1, 12, 11, 9},  {0, 3, 15, 1, 4, 3, 3},
      {0, 10, 11, 1, 11, 10, 9},  // the closing period is not the end: no rule
      {0, 7, 7, 1, 16, 15, 6},
  };
  for (const Case& c : cases) {
    const TZaimuLoadRange r = fnZaimuLoadRange(c.start, c.end, c.last);
    EXPECT_EQ(r.From, c.from) << c.start << ".." << c.end << "/" << c.last;
    EXPECT_EQ(r.To, c.to) << c.start << ".." << c.end << "/" << c.last;
    EXPECT_EQ(r.EndMNum, c.endAfter) << c.start << ".." << c.end << "/" << c.last;
    EXPECT_EQ(r.SelEndNum12, c.month) << c.start << ".." << c.end << "/" << c.last;
  }
  EXPECT_THROW(fnZaimuLoadRange(0, 16, 15), std::out_of_range);
  EXPECT_THROW(fnZaimuLoadRange(-1, 3, 15), std::out_of_range);
}

TEST(UtiwakesyoDataMake, WalksTheRowsInSortKeyOrder)
{
  TUtiwakesyoDataMake loader;
  loader.FRecMax = 4;
  loader.FBalanceRec.resize(4);
  loader.FBalanceSortRec = {
      {QStringLiteral("1"), 2}, {QStringLiteral("2"), 0}, {QStringLiteral("3"), 3}, {QStringLiteral("\uFF9F"), 1}};
  loader.FBalanceRec[2].KAMOKU.KCODE = QStringLiteral("100");
  loader.FBalanceRec[2].KAMOKU.USERCODE = QStringLiteral("10 ");
  loader.FBalanceRec[2].KAMOKU.KNAME = QStringLiteral("現金");
  loader.FBalanceRec[2].KAMOKU.DAC = 2;
  loader.FBalanceRec[2].WNUM4 = Currency::fromInt(5);
  loader.FBalanceRec[2].HOJONUM = 1;
  loader.FBalanceRec[2].HOJOUTIWAKE.resize(3);  // only HOJONUM of them count
  loader.FBalanceRec[2].HOJOUTIWAKE[0].HCODE = QStringLiteral("01");
  loader.FBalanceRec[2].HOJOUTIWAKE[0].HNAME = QStringLiteral("本店");
  loader.FBalanceRec[2].HOJOUTIWAKE[0].WNUM4 = Currency::fromInt(3);
  loader.FBalanceRec[0].KAMOKU.KCODE = QStringLiteral("200");
  loader.FBalanceRec[0].KAMOKU.USERCODE = QStringLiteral("20");
  loader.FBalanceRec[0].KAMOKU.KNAME = QStringLiteral("預金");
  loader.FBalanceRec[0].KAMOKU.DAC = 1;

  const TUtiwakesyoRows rows = loader.fnUtiwakesyoRows();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].USERCODE, QStringLiteral("10 "));
  EXPECT_EQ(rows[0].DAC, 2);
  EXPECT_EQ(rows[0].WNUM4, Currency::fromInt(5));
  ASSERT_EQ(rows[0].HOJOUTIWAKE.size(), 1u);
  EXPECT_EQ(rows[0].HOJOUTIWAKE[0].HNAME, QStringLiteral("本店"));
  EXPECT_EQ(rows[1].KCODE, QStringLiteral("200"));
  EXPECT_TRUE(rows[2].KCODE.isEmpty());
  EXPECT_TRUE(rows[3].KCODE.isEmpty());
}

TEST_F(ExportEnv, LoaderTakesTheWizardsChoices)
{
  struct Case {
    int dataKub1, taxUH, from, to, last;
    int jigyoKbn;
  };
  const Case cases[] = {{3, 1, 0, 11, 15, 16}, {1, 0, 2, 5, 15, 0}, {2, 1, 0, 15, 15, 0}};
  for (const Case& c : cases) {
    TUtiwakesyoDataExport exp(QString(), QString(), 1);
    exp.DataKUB1 = c.dataKub1;
    exp.TaxUH = c.taxUH;
    exp.KikanFrom = c.from;
    exp.KikanTo = c.to;
    exp.LastNo = c.last;
    TUtiwakesyoDataMake loader;
    exp.pcConfigureLoader(loader);
    EXPECT_EQ(loader.FJigyoKbn, c.jigyoKbn);
    EXPECT_EQ(loader.FZeiKbn, c.taxUH);
    EXPECT_EQ(loader.FStartMNum, c.from);
    EXPECT_EQ(loader.FEndMNum, c.to);
    EXPECT_EQ(loader.FLastMNum, c.last);
    EXPECT_EQ(loader.FSCODE, QStringLiteral(" "));
    EXPECT_EQ(loader.FBCODE, QStringLiteral(" "));
    EXPECT_EQ(loader.FPaperKbn, 0);
    EXPECT_EQ(loader.FHaifu, 0);
    EXPECT_EQ(loader.FBalanceType, 0);
  }
}
