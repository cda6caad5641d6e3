#include <gtest/gtest.h>

#include "acctables/AccGengo.h"
#include "common/AccRecord.h"
#include "common/AccTaxCmp.h"

namespace {

class TaxCodes : public ::testing::Test {
 protected:
  void SetUp() override
  {
    pcAccRecordReset();
    pcAccRecordInitialize();
    pcGengoTableSet();
    AccInf.UC_KARIHARAIZ = QStringLiteral("1190");
    AccInf.UC_KARIUKEZ = QStringLiteral("2190");
    AccInf.UC_SHOKUTI = QStringLiteral("9999");
    AccInf.DataVerMajor = 17;
    ZeirituList.clear();
    pcSetTaxMasterReader([](TTaxKbnList& list) {
      list.push_back({610, QStringLiteral("課税売上"), QStringLiteral("仮受"), 1, 1, 2, 0});
      list.push_back({714, QStringLiteral("課税仕入80"), QStringLiteral("仮払"), 1, 2, 1, 0});
      list.push_back({764, QStringLiteral("課税仕入80"), QStringLiteral("仮払"), 1, 2, 1, 0});
      list.push_back({717, QStringLiteral("課税仕入50"), QStringLiteral("仮払"), 1, 2, 1, 0});
      list.push_back({810, QStringLiteral("対象外"), QString(), 0, 0, 0, 0});
      return true;
    });
  }
  void TearDown() override { pcSetTaxMasterReader({}); }
};

TEST_F(TaxCodes, CodeNormalisationForTheTaxationMethod)
{
  struct Case {
    int kanni, jigyou, code, expect;
  } cases[] = {
      {1, 3, 610, 613}, {1, 3, 110, 113}, {1, 3, 612, 612}, {0, 3, 613, 610},
      {0, 3, 617, 617}, {0, 0, 316, 310}, {0, 0, 636, 630}, {2, 5, 115, 110},
  };
  for (const auto& c : cases) {
    AccInf.TAXKANNI = c.kanni;
    AccInf.TAXJIGYOU = c.jigyou;
    int code = c.code;
    EXPECT_EQ(fnConvTaxCodeKanni(code), c.expect) << c.code;
    EXPECT_EQ(code, c.expect);
  }
}

TEST_F(TaxCodes, TaxMasterLookUps)
{
  TTaxKbnRec rec;
  pcGetTaxKbnRec(999, rec);
  EXPECT_EQ(rec.GNAME, QStringLiteral("Error"));
  EXPECT_EQ(rec.SinkokuKbn, 9);
  QString g, t;
  int s = 0, k = 0, d = 0;
  EXPECT_FALSE(fnGetTaxKbn(999, g, t, s, k, d));
  EXPECT_TRUE(fnGetTaxKbn(610, g, t, s, k, d));
  EXPECT_EQ(g, QStringLiteral("仮受"));
  EXPECT_EQ(k, 1);
  EXPECT_EQ(fnGetKariukeKaribaraiKbn(714), 2);

  EXPECT_TRUE(fnCheckKoujoRitu(714, 764));
  EXPECT_FALSE(fnCheckKoujoRitu(714, 717));
  EXPECT_TRUE(fnCheckKoujoRitu(714, 810));  // no tax on one side

  // A failed reload leaves no stale list behind.
  pcSetTaxMasterReader([](TTaxKbnList& list) {
    list.push_back({610, {}, {}, 0, 1, 0, 0});
    return false;
  });
  EXPECT_FALSE(fnGetTaxKbn(610, g, t, s, k, d));
  EXPECT_TRUE(TaxKbnList.empty());
}

TEST_F(TaxCodes, AccountChecks)
{
  struct Case {
    int kanni;
    const char* account;
    int code;
    bool ok;
    const char16_t* msgPart;  // empty: message cleared; nullptr: untouched
  } cases[] = {
      {0, "1190", 714, true, u""},
      {0, "1190", 610, false, u"仮払消費税の税コード"},
      {0, "5000", 714, false, u"700番台"},
      {0, "2190", 611, true, u"原則課税"},
      {0, "2190", 640, true, u""},
      {0, "2190", 714, false, u"700番台"},
      {1, "2190", 610, true, u"簡易課税"},
      {1, "2190", 613, true, u""},
      {1, "2190", 650, false, u"仮受消費税の税コード"},
      {0, "5000", 610, false, u"600番台"},
      {0, "5000", 110, true, nullptr},
  };
  for (const auto& c : cases) {
    AccInf.TAXKANNI = c.kanni;
    QString msg = QStringLiteral("before");
    EXPECT_EQ(fnCheckTaxCodeKamoku(msg, QString::fromLatin1(c.account), c.code), c.ok) << c.account << " " << c.code;
    if (!c.msgPart)
      EXPECT_EQ(msg, QStringLiteral("before"));
    else if (QString::fromUtf16(c.msgPart).isEmpty())
      EXPECT_TRUE(msg.isEmpty()) << c.code << " " << msg.toStdString();
    else
      EXPECT_TRUE(msg.contains(QString::fromUtf16(c.msgPart))) << c.code << " " << msg.toStdString();
  }

  QString msg;
  int other = 110;
  EXPECT_FALSE(fnCheckAiteTaxCode(msg, QStringLiteral("1190"), other));
  EXPECT_EQ(other, 810);
  other = 910;
  EXPECT_TRUE(fnCheckAiteTaxCode(msg, QStringLiteral("2190"), other));
  int code = 610;
  EXPECT_FALSE(fnCheckSyokutiTaxCode(msg, QStringLiteral("9999"), code));
  EXPECT_EQ(code, 810);
}

TEST_F(TaxCodes, SpecifiedPurchasesAndDeductionRatios)
{
  QString msg;
  int code = 551;
  EXPECT_FALSE(fnCheckTokuteiShiire(msg, code, 2, EncodeDate(2015, 9, 30)));
  EXPECT_TRUE(msg.contains(QStringLiteral("税率[5%]")));  // the rate message replaces the date message
  msg.clear();
  EXPECT_FALSE(fnCheckTokuteiShiire(msg, code, 0, EncodeDate(2015, 9, 30)));
  EXPECT_TRUE(msg.contains(QStringLiteral("[2015/10/01]より前")));
  SystemDef.NengoSwitch = 1;
  EXPECT_FALSE(fnCheckTokuteiShiire(msg, code, 0, EncodeDate(2015, 9, 30)));
  EXPECT_TRUE(msg.contains(QStringLiteral("[H27/10/01]より前")));
  SystemDef.NengoSwitch = 0;
  code = 540;
  EXPECT_TRUE(fnCheckTokuteiShiire(msg, code, 4, EncodeDate(2000, 1, 1)));

  struct Case {
    int code, result, ratio;
  } cases[] = {{511, 0, 100}, {763, 0, 100}, {714, 1, 80}, {566, 1, 80}, {517, 2, 50}, {769, 2, 50}, {510, -1, 100}};
  for (const auto& c : cases) {
    Currency r;
    EXPECT_EQ(fnGetKoujoRitu(c.code, r), c.result) << c.code;
    EXPECT_EQ(r, Currency::fromInt(c.ratio)) << c.code;
  }
}

TEST_F(TaxCodes, RateListAndRateKindsByDate)
{
  AccInf.DataVerMajor = 11;
  AccInf.DataVerMinor = 0;
  pcZeirituListInit();
  ASSERT_EQ(ZeirituList.size(), 3u);
  EXPECT_EQ(ZeirituList[0].Name, QStringLiteral("8%"));
  EXPECT_EQ(ZeirituHigh, 2);

  AccInf.DataVerMinor = 1;
  pcZeirituListInit();
  ASSERT_EQ(ZeirituList.size(), 5u);
  EXPECT_EQ(ZeirituHigh, 4);
  EXPECT_EQ(fnGetZeiritu(4, 0), Currency::fromInt(8));
  EXPECT_EQ(fnGetZeiritu(7, 0), Currency::fromInt(10));
  EXPECT_EQ(fnGetZeirituKbnByDate(2, EncodeDate(2020, 1, 1)), 2);
  EXPECT_EQ(fnGetZeirituKbnByDate(3, EncodeDate(1995, 1, 1)), 1);
  EXPECT_EQ(fnGetZeirituKbnByDate(4, EncodeDate(1990, 1, 1)), 4);
  EXPECT_EQ(fnGetZeirituKbnByDate(0, EncodeDate(1980, 1, 1)), 0);
  QString name;
  fnGetZeirituName(4, name, Currency::fromInt(100));
  EXPECT_EQ(name, QStringLiteral("8*"));
  fnGetZeirituName(4, name, Currency());
  EXPECT_TRUE(name.isEmpty());
}

}  // namespace
