#include <gtest/gtest.h>

#include "acctables/AccGengo.h"
#include "common/AccDateText.h"
#include "common/AccRecord.h"

namespace {

class DateText : public ::testing::Test {
 protected:
  void SetUp() override
  {
    pcAccRecordReset();
    pcAccRecordInitialize();
    pcGengoTableSet();
  }
  void TearDown() override { SystemDef.NengoSwitch = 0; }
};

TEST_F(DateText, EraFormByKeywordAndKind)
{
  SystemDef.NengoSwitch = 1;
  const TDateTime reiwa1 = EncodeDate(2019, 5, 1);
  const TDateTime heisei = EncodeDate(1995, 11, 3);
  struct Case {
    const char16_t* key;
    int kind;
    TDateTime d;
    const char16_t* expect;
  } cases[] = {
      {u"yyyy/mm/dd", 2, reiwa1, u"R 01/05/01"},
      {u"yyyy/mm/dd", 3, reiwa1, u"R01/05/01"},
      {u"yyyy/mm/dd", 0, reiwa1, u"01/05/01"},
      {u"yyyy/mm/dd", 1, reiwa1, u"令和 01/05/01"},
      {u"yy/m/d", 2, heisei, u"H  7/11/ 3"},
      {u"y/m", 2, heisei, u"H  7/11"},
      {u"y", 9, heisei, u"平成  7"},
      {u"yy2/mm/dd", 2, heisei, u"H07/11/03"},
      {u"dd/mm", 2, heisei, u""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(fnDateToWarekiText(QString::fromUtf16(c.key), c.kind, c.d), QString::fromUtf16(c.expect))
        << QString::fromUtf16(c.key).toStdString() << " kind " << c.kind;

  struct CaseJ {
    const char16_t* key;
    int kind;
    const char16_t* expect;
  } jcases[] = {
      {u"yyyy年mm月dd日", 1, u"平成 07年11月03日"},  {u"y年m月d日", 2, u"H  7年11月 3日"}, {u"y年", 1, u"平成 7年"},
      {u"yyyy年 m月 d日", 1, u"平成  7年 11月 3日"}, {u"yy年 mm月", 0, u"07年 11月"},      {u"mm月", 1, u""},
  };
  for (const auto& c : jcases)
    EXPECT_EQ(fnDateToWarekiTextJ(QString::fromUtf16(c.key), c.kind, heisei), QString::fromUtf16(c.expect))
        << QString::fromUtf16(c.key).toStdString();
}

TEST_F(DateText, WesternFormByKeyword)
{
  SystemDef.NengoSwitch = 0;
  const TDateTime d = EncodeDate(2025, 2, 3);
  struct Case {
    const char16_t* key;
    const char16_t* expect;
  } cases[] = {
      {u"yy/m/d", u"25/ 2/ 3"},
      {u"yyyy/m/d", u"2025/ 2/ 3"},
      {u"yyyy/mm/dd", u"2025/02/03"},  // not a row: the keyword is the pattern
      {u"y/m/", u"25/ 2"},
      {u"yy2/mm/dd", u"25/02/03"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(fnDateToWarekiText(QString::fromUtf16(c.key), 2, d), QString::fromUtf16(c.expect))
        << QString::fromUtf16(c.key).toStdString();

  EXPECT_EQ(fnDateToWarekiTextJ(QStringLiteral("y年"), 1, d), QStringLiteral("2025年"));
  EXPECT_EQ(fnDateToWarekiTextJ(QStringLiteral("yy年m月"), 1, d), QStringLiteral("25年 2月"));
  EXPECT_EQ(fnDateToWarekiTextJ(QStringLiteral("yyyy年 m月 d日"), 1, d), QStringLiteral("2025年 2月 3日"));
}

TEST_F(DateText, PeriodTextAndReadingJapaneseDates)
{
  const TDateTime from = EncodeDate(2024, 4, 1), to = EncodeDate(2025, 3, 31);
  SystemDef.NengoSwitch = 0;
  EXPECT_EQ(fnKikanToText(from, to), QStringLiteral("2024/04/01 ～ 2025/03/31"));
  SystemDef.NengoSwitch = 1;
  EXPECT_EQ(fnKikanToText(from, to), QStringLiteral("R 06/04/01 ～ R 07/03/31"));

  const TDateTime read = fnStrToDateTimeJP(QStringLiteral("2024/02/29 13:45:10"));
  int y = 0, m = 0, dd = 0;
  DecodeDate(read, y, m, dd);
  EXPECT_EQ(y, 2024);
  EXPECT_EQ(m, 2);
  EXPECT_EQ(dd, 29);
  EXPECT_NEAR(read - static_cast<long>(read), (13 * 3600 + 45 * 60 + 10) / 86400.0, 1e-6);
  EXPECT_EQ(fnStrToDateTimeJP(QStringLiteral("not a date")), 0.0);
}

}  // namespace
