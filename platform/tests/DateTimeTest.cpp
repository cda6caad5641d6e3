#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include "platform/DateTime.h"
#include "platform/Exceptions.h"

namespace {

TEST(DateTime, EncodeAndDecodeAcrossTheEpoch)
{
  struct Case {
    int y, m, d;
    double serial;
    int dow;
  };
  const Case cases[] = {
      {1899, 12, 30, 0, 7},       {1899, 12, 31, 1, 1},   {1900, 1, 1, 2, 2},      {1899, 12, 29, -1, 6},
      {1873, 1, 1, -9859, 4},     {2000, 1, 1, 36526, 7}, {2000, 2, 29, 36585, 3}, {2025, 2, 3, 45691, 2},
      {9999, 12, 31, 2958465, 6}, {1, 1, 1, -693593, 2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.serial) << c.y << "/" << c.m << "/" << c.d;
    int y, m, d;
    DecodeDate(c.serial, y, m, d);
    EXPECT_EQ((std::array{y, m, d}), (std::array{c.y, c.m, c.d})) << c.serial;
    EXPECT_EQ(DayOfWeek(c.serial), c.dow) << c.serial;
    EXPECT_EQ(ToQDate(c.serial), QDate(c.y, c.m, c.d));
    EXPECT_EQ(FromQDate(QDate(c.y, c.m, c.d)), c.serial);
  }
}

TEST(DateTime, InvalidDatesAreRefused)
{
  struct Case {
    int y, m, d;
  };
  const Case bad[] = {{2023, 2, 29}, {2100, 2, 29}, {2024, 13, 1}, {2024, 0, 1},
                      {2024, 4, 31}, {0, 1, 1},     {10000, 1, 1}, {2024, 1, 0}};
  for (const Case& c : bad) {
    TDateTime out = 123;
    EXPECT_FALSE(TryEncodeDate(c.y, c.m, c.d, out)) << c.y << "/" << c.m << "/" << c.d;
    EXPECT_EQ(out, 123);
    EXPECT_THROW(EncodeDate(c.y, c.m, c.d), EConvertError);
  }
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_EQ(DaysInAMonth(2024, 2), 29);
  EXPECT_EQ(DaysInAMonth(2023, 2), 28);
  EXPECT_EQ(DaysInAMonth(2023, 13), 0);
  EXPECT_THROW(EncodeTime(24, 0, 0), EConvertError);
}

TEST(DateTime, NegativeValuesKeepTheDayAndTakeTheTimeAsAbsolute)
{
  // -1.25: the day before the epoch, at 06:00 (not 18:00 of the day before that).
  struct Case {
    double value;
    int y, m, d, h, n;
  };
  const Case cases[] = {
      {-1.25, 1899, 12, 29, 6, 0}, {-1.75, 1899, 12, 29, 18, 0}, {-0.5, 1899, 12, 30, 12, 0},
      {1.25, 1899, 12, 31, 6, 0},  {-9859.5, 1873, 1, 1, 12, 0},
  };
  for (const Case& c : cases) {
    const QDateTime qdt = ToQDateTime(c.value);
    EXPECT_EQ(qdt.date(), QDate(c.y, c.m, c.d)) << c.value;
    EXPECT_EQ(qdt.time(), QTime(c.h, c.n)) << c.value;
    const TDateTime back = FromQDateTime(qdt);
    EXPECT_EQ(ToQDateTime(back), qdt) << c.value;
    EXPECT_EQ(ComposeDateTime(DateOf(c.value), TimeOf(c.value)), c.value == -0.5 ? 0.5 : c.value);
  }
}

TEST(DateTime, TimeOfDayRoundsToTheMillisecondAndCarries)
{
  const TDateTime day = EncodeDate(2025, 2, 3);
  struct Case {
    double frac;
    int h, n, s, ms;
    int dayShift;
  };
  const Case cases[] = {
      {0.5, 12, 0, 0, 0, 0},
      {(14 * 3600 + 5 * 60 + 9) / 86400.0 + 7 / 86400000.0, 14, 5, 9, 7, 0},
      {86399999.6 / 86400000.0, 0, 0, 0, 0, 1},  // rounds to the next midnight
      {86399999.4 / 86400000.0, 23, 59, 59, 999, 0},
  };
  for (const Case& c : cases) {
    int h, n, s, ms;
    DecodeTime(day + c.frac, h, n, s, ms);
    EXPECT_EQ((std::array{h, n, s, ms}), (std::array{c.h, c.n, c.s, c.ms})) << c.frac;
    EXPECT_EQ(ToQDateTime(day + c.frac).date(), QDate(2025, 2, 3).addDays(c.dayShift)) << c.frac;
  }
  EXPECT_DOUBLE_EQ(EncodeTime(14, 5, 9, 7), (14 * 3600 + 5 * 60 + 9) / 86400.0 + 7 / 86400000.0);
}

TEST(DateTime, IncMonthClampsToTheMonthEndAndKeepsTheTime)
{
  struct Case {
    QDate from;
    int months;
    QDate to;
  };
  const Case cases[] = {
      {{2024, 1, 31}, 1, {2024, 2, 29}},  {{2023, 1, 31}, 1, {2023, 2, 28}},    {{2024, 3, 31}, -1, {2024, 2, 29}},
      {{2024, 12, 15}, 1, {2025, 1, 15}}, {{2024, 1, 15}, -13, {2022, 12, 15}}, {{2024, 2, 29}, 12, {2025, 2, 28}},
      {{2024, 5, 31}, 0, {2024, 5, 31}},  {{1899, 12, 15}, 1, {1900, 1, 15}},
  };
  for (const Case& c : cases) {
    const TDateTime from = ComposeDateTime(FromQDate(c.from), 0.25);
    const TDateTime to = IncMonth(from, c.months);
    EXPECT_EQ(ToQDate(to), c.to) << c.from.toString(Qt::ISODate).toStdString() << " " << c.months;
    EXPECT_EQ(ToQTime(to), QTime(6, 0));
  }
  EXPECT_EQ(ToQDate(IncYear(FromQDate({2024, 2, 29}))), QDate(2025, 2, 28));
  EXPECT_EQ(ToQDate(IncDay(FromQDate({1899, 12, 29}) - 0.25, 1)), QDate(1899, 12, 30));
  EXPECT_EQ(ToQTime(IncDay(FromQDate({1899, 12, 29}) - 0.25, 1)), QTime(6, 0));
  EXPECT_EQ(ToQDate(EndOfTheMonth(FromQDate({2024, 2, 10}))), QDate(2024, 2, 29));
  EXPECT_EQ(ToQDate(StartOfTheMonth(FromQDate({2024, 2, 10}) + 0.5)), QDate(2024, 2, 1));
  EXPECT_EQ(DaysBetween(FromQDate({2024, 1, 1}), FromQDate({2024, 3, 1}) + 0.9), 60);
}

TEST(DateTime, ValuesOutsideTheCalendarDecodeAsNothing)
{
  const double bad[] = {std::nan(""), 1e300, -1e300, 2958466.5, -693595.0, std::numeric_limits<double>::infinity()};
  for (double v : bad) {
    int y = 1, m = 1, d = 1, h = 1, n = 1, s = 1, ms = 1;
    DecodeDate(v, y, m, d);
    DecodeTime(v, h, n, s, ms);
    EXPECT_EQ((std::array{y, m, d, h, n, s, ms}), (std::array{0, 0, 0, 0, 0, 0, 0})) << v;
    EXPECT_FALSE(ToQDate(v).isValid()) << v;
    EXPECT_FALSE(ToQDateTime(v).isValid()) << v;
    EXPECT_EQ(DayOfWeek(v), 0) << v;
    EXPECT_THROW(IncMonth(v, 1), EConvertError) << v;
  }
  EXPECT_EQ(ToQDate(2958465.99), QDate(9999, 12, 31));
}

TEST(DateTime, InvalidQtValuesMeanNoDate)
{
  EXPECT_EQ(FromQDate(QDate()), 0);
  EXPECT_EQ(FromQDateTime(QDateTime()), 0);
  EXPECT_TRUE(IsNoDate(FromQDate(QDate())));
  const QDateTime now = QDateTime::currentDateTime();
  EXPECT_LE(std::abs(Now() - FromQDateTime(now)), 1.0 / 86400 * 5);
  EXPECT_EQ(ToQDate(Date()), QDate::currentDate());
  EXPECT_EQ(TimeOf(Date()), 0);
}

}  // namespace
