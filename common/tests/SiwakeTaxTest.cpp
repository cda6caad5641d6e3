#include <gtest/gtest.h>

#include "acctables/AccGengo.h"
#include "common/AccRecord.h"
#include "common/AccTaxCmp.h"
#include "common/SiwakeTax.h"
#include "common/tests/RecordingHook.h"

namespace {

Currency C(const char* text)
{
  return Currency::fromString(QString::fromLatin1(text));
}

TEST(RoundCurr, ModesTable)
{
  struct Case {
    int mode;
    const char* in;
    const char* out;
  } cases[] = {
      {2, "0.0001", "1"}, {2, "-0.0001", "-1"}, {2, "1.2", "2"},   {2, "-1.2", "-2"},    {2, "3", "3"},
      {0, "0.0001", "0"}, {0, "-0.0001", "0"},  {0, "-1.9", "-1"}, {0, "7.9999", "7"},   {1, "0.5", "1"},
      {1, "0.4999", "0"}, {1, "2.5", "3"},      {1, "-2.5", "-3"}, {1, "-2.4999", "-2"}, {7, "2.5", "3"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(fnRoundCurr(c.mode, C(c.in)), C(c.out)) << c.mode << " " << c.in;
}

TEST(RoundCurr, IntermediateTakenToFourDecimalsTiesToEven)
{
  EXPECT_EQ(fnMulDivNearest(C("1"), 1, 3), C("0.3333"));
  EXPECT_EQ(fnMulDivNearest(C("2"), 1, 3), C("0.6667"));
  EXPECT_EQ(fnMulDivNearest(C("0.0001"), 1, 2), C("0"));       // 0.00005 -> even 0
  EXPECT_EQ(fnMulDivNearest(C("0.0003"), 1, 2), C("0.0002"));  // 0.00015 -> even 0.0002
  EXPECT_EQ(fnMulDivNearest(C("-0.0003"), 1, 2), C("-0.0002"));
}

class LineTax : public ::testing::Test {
 protected:
  void SetUp() override
  {
    pcAccRecordReset();
    pcAccRecordInitialize();
    pcGengoTableSet();
    AccInf.UC_KARIHARAIZ = QStringLiteral("1190");
    AccInf.UC_KARIUKEZ = QStringLiteral("2190");
    AccInf.DataVerMajor = 17;
    ZeirituList.clear();
    pcSetTaxMasterReader([](TTaxKbnList& list) {
      list.push_back({610, QStringLiteral("課税売上"), QStringLiteral("仮受"), 1, 1, 2, 0});
      list.push_back({710, QStringLiteral("課税仕入"), QStringLiteral("仮払"), 1, 2, 1, 0});
      list.push_back({714, QStringLiteral("課税仕入80"), QStringLiteral("仮払"), 1, 2, 1, 0});
      list.push_back({717, QStringLiteral("課税仕入50"), QStringLiteral("仮払"), 1, 2, 1, 0});
      list.push_back({551, QStringLiteral("特定課税仕入"), QStringLiteral("仮払"), 1, 2, 1, 0});
      list.push_back({810, QStringLiteral("対象外"), QString(), 0, 0, 0, 0});
      list.push_back({910, QStringLiteral("対象外"), QString(), 0, 2, 0, 0});
      return true;
    });
  }
  void TearDown() override { pcSetTaxMasterReader({}); }
};

// One line: debit account and tax code against credit account and tax code.
TEST_F(LineTax, FiguresTable)
{
  struct Case {
    const char* what;
    const char* kingaku;
    const char* zeigaku;
    int autcalcu, taxcalcu, oldrate;
    const char* lk;
    int ltax, lrate;
    const char* rk;
    int rtax, rrate;
    int hasuuU, hasuuH;
    // expected
    const char *lnuk, *lzei, *lrit, *rnuk, *rzei, *rrit, *zei;
    int taxcalcuOut, oldrateOut;
  } cases[] = {
      {"input tax included, truncated",
       "1100",
       "0",
       1,
       0,
       0,
       "5000",
       710,
       0,
       "1110",
       810,
       0,
       0,
       0,
       "1000",
       "100",
       "10",
       "1100",
       "0",
       "0",
       "100",
       0,
       0},
      {"input tax excluded: cash side pays gross",
       "1000",
       "0",
       1,
       1,
       0,
       "5000",
       710,
       0,
       "1110",
       810,
       0,
       0,
       0,
       "1000",
       "100",
       "10",
       "1100",
       "0",
       "0",
       "100",
       1,
       0},
      {"80% block excluded",
       "1020",
       "0",
       1,
       1,
       0,
       "5000",
       714,
       0,
       "1110",
       810,
       0,
       0,
       0,
       "1020",
       "80",
       "10",
       "1100",
       "0",
       "0",
       "80",
       1,
       0},
      {"50% block excluded",
       "1050",
       "0",
       1,
       1,
       0,
       "5000",
       717,
       0,
       "1110",
       810,
       0,
       0,
       0,
       "1050",
       "50",
       "10",
       "1100",
       "0",
       "0",
       "50",
       1,
       0},
      {"80% block included",
       "1100",
       "0",
       1,
       0,
       0,
       "5000",
       714,
       0,
       "1110",
       810,
       0,
       0,
       0,
       "1020",
       "80",
       "10",
       "1100",
       "0",
       "0",
       "80",
       0,
       0},
      {"output tax rounded up",
       "1005",
       "0",
       1,
       0,
       4,
       "1110",
       810,
       4,
       "4000",
       610,
       4,
       2,
       0,
       "1005",
       "0",
       "0",
       "930",
       "75",
       "8",
       "75",
       0,
       4},
      {"output tax truncated",
       "1005",
       "0",
       1,
       0,
       4,
       "1110",
       810,
       4,
       "4000",
       610,
       4,
       0,
       2,
       "1005",
       "0",
       "0",
       "931",
       "74",
       "8",
       "74",
       0,
       4},
      {"output tax half up",
       "1000",
       "0",
       1,
       0,
       0,
       "1110",
       810,
       0,
       "4000",
       610,
       0,
       1,
       0,
       "1000",
       "0",
       "0",
       "909",
       "91",
       "10",
       "91",
       0,
       0},
      {"side rate kind differs from the line's",
       "1080",
       "0",
       1,
       0,
       0,
       "5000",
       710,
       4,
       "1110",
       810,
       0,
       0,
       0,
       "1000",
       "80",
       "8",
       "1080",
       "0",
       "0",
       "80",
       0,
       4},
      {"tax by hand, included (amounts cut)",
       "1100.7",
       "99.7",
       0,
       0,
       0,
       "5000",
       710,
       0,
       "1110",
       810,
       0,
       0,
       0,
       "1001",
       "99",
       "10",
       "1100",
       "0",
       "0",
       "99",
       0,
       0},
      {"tax by hand, excluded",
       "1000",
       "70",
       0,
       1,
       0,
       "5000",
       710,
       0,
       "1110",
       810,
       0,
       0,
       0,
       "1000",
       "70",
       "10",
       "1070",
       "0",
       "0",
       "70",
       1,
       0},
      {"tax by hand, no tax",
       "1000",
       "70",
       0,
       2,
       0,
       "5000",
       710,
       0,
       "1110",
       810,
       0,
       0,
       0,
       "1000",
       "0",
       "10",
       "1000",
       "0",
       "0",
       "0",
       2,
       0},
      {"specified purchase: no tax on both sides",
       "1000",
       "0",
       1,
       0,
       0,
       "5000",
       551,
       0,
       "1110",
       610,
       0,
       0,
       0,
       "1000",
       "0",
       "10",
       "1000",
       "0",
       "10",
       "0",
       2,
       0},
      {"input-tax account keeps its rate",
       "100",
       "0",
       1,
       0,
       0,
       "1190",
       710,
       0,
       "1110",
       810,
       0,
       0,
       0,
       "100",
       "0",
       "10",
       "100",
       "0",
       "0",
       "0",
       0,
       0},
      {"tax account with code 910 has no rate",
       "100",
       "0",
       1,
       0,
       0,
       "1190",
       910,
       0,
       "1110",
       810,
       0,
       0,
       0,
       "100",
       "0",
       "0",
       "100",
       "0",
       "0",
       "0",
       0,
       0},
      {"negative line, half away from zero",
       "-1005",
       "0",
       1,
       0,
       4,
       "1110",
       810,
       4,
       "4000",
       610,
       4,
       1,
       0,
       "-1005",
       "0",
       "0",
       "-931",
       "-74",
       "8",
       "0",
       0,
       4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TSWKREC line;
    line.HIZUKE = EncodeDate(2024, 5, 1);
    line.KINGAKU = C(c.kingaku);
    line.ZEIGAKU = C(c.zeigaku);
    line.AUTCALCU = c.autcalcu;
    line.TAXCALCU = c.taxcalcu;
    line.OLDRATE = c.oldrate;
    line.LK.KCODE = QString::fromLatin1(c.lk);
    line.LK.TAXCODE = c.ltax;
    line.LK.ZEIRITUKBN = c.lrate;
    line.RK.KCODE = QString::fromLatin1(c.rk);
    line.RK.TAXCODE = c.rtax;
    line.RK.ZEIRITUKBN = c.rrate;
    AccInf.TAXU_HASUU = c.hasuuU;
    AccInf.TAXH_HASUU = c.hasuuH;
    ASSERT_TRUE(fnCalcSiwakeZeigaku(line));
    EXPECT_EQ(line.LK.NUK, C(c.lnuk)) << line.LK.NUK.toString().toStdString();
    EXPECT_EQ(line.LK.ZEI, C(c.lzei)) << line.LK.ZEI.toString().toStdString();
    EXPECT_EQ(line.LK.RIT, C(c.lrit));
    EXPECT_EQ(line.RK.NUK, C(c.rnuk)) << line.RK.NUK.toString().toStdString();
    EXPECT_EQ(line.RK.ZEI, C(c.rzei)) << line.RK.ZEI.toString().toStdString();
    EXPECT_EQ(line.RK.RIT, C(c.rrit));
    EXPECT_EQ(line.ZEIGAKU, C(c.zei)) << line.ZEIGAKU.toString().toStdString();
    EXPECT_EQ(line.TAXCALCU, c.taxcalcuOut);
    EXPECT_EQ(line.OLDRATE, c.oldrateOut);
  }
}

TEST_F(LineTax, SideCarriesTaxKindsOfItsCode)
{
  TSWKREC line;
  line.KINGAKU = C("1100");
  line.AUTCALCU = 1;
  line.RK.TAXCODE = 610;
  ASSERT_TRUE(fnCalcSiwakeTax(line, line.RK));
  EXPECT_EQ(line.RK.TAXUH, 1);
  EXPECT_EQ(line.RK.TAXDC, 2);
  EXPECT_EQ(line.RK.ZEI, C("100"));
}

TEST_F(LineTax, FiguresOutOfRangeFailWithTheMessage)
{
  RecordingHook hook;
  TSWKREC line;
  line.KINGAKU = C("900000000000000");
  line.ZEIGAKU = C("-900000000000000");
  line.AUTCALCU = 0;
  line.TAXCALCU = 0;
  line.LK.KCODE = QStringLiteral("5000");
  line.LK.TAXCODE = 710;
  line.RK.TAXCODE = 810;
  EXPECT_FALSE(fnCalcSiwakeZeigaku(line));
  ASSERT_EQ(hook.boxes.size(), 1u);
  EXPECT_TRUE(hook.boxes[0].text.startsWith(QStringLiteral("仕訳の消費税額が計算できません。")));

  // A gross amount beyond range: excluded tax on the largest amount.
  hook.boxes.clear();
  TSWKREC big;
  big.KINGAKU = C("900000000000000");
  big.AUTCALCU = 1;
  big.TAXCALCU = 1;
  big.LK.KCODE = QStringLiteral("5000");
  big.LK.TAXCODE = 710;
  big.RK.TAXCODE = 810;
  EXPECT_FALSE(fnCalcSiwakeZeigaku(big));
  EXPECT_EQ(hook.boxes.size(), 1u);
}

}  // namespace
