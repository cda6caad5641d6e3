// Periods, closing dates and month arithmetic.
#include <gtest/gtest.h>

#include <QDate>

#include "acctables/AccKikan.h"

namespace {

TDateTime D(int y, int m, int d)
{
  return acccalc::makeDate(y, m, d);
}

QString show(TDateTime t)
{
  const acccalc::Ymd s = acccalc::splitDate(t);
  return QStringLiteral("%1-%2-%3").arg(s.y, 4, 10, QChar('0')).arg(s.m, 2, 10, QChar('0')).arg(s.d, 2, 10, QChar('0'));
}

}  // namespace

TEST(AccKikan, MonthIndexAndOrdinalTables)
{
  const int toKikanNo[12] = {1, 2, 3, 5, 6, 7, 9, 10, 11, 13, 14, 15};
  for (int i = 0; i < 12; ++i)
    EXPECT_EQ(fnTukiIdxToKikanNo(i), toKikanNo[i]) << i;
  for (int bad : {-100, -1, 12, 13, 99})
    EXPECT_EQ(fnTukiIdxToKikanNo(bad), -1) << bad;

  const int toKikanIdx[12] = {0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14};
  for (int n = 1; n <= 12; ++n) {
    EXPECT_EQ(fnTukiNoToKikanIdx(n), toKikanIdx[n - 1]) << n;
    // The two tables agree: ordinal n is month index n-1.
    EXPECT_EQ(fnTukiNoToKikanIdx(n) + 1, fnTukiIdxToKikanNo(n - 1)) << n;
  }
  for (int bad : {-1, 0, 13, 16})
    EXPECT_EQ(fnTukiNoToKikanIdx(bad), 0) << bad;
}

TEST(AccKikan, LeapYears)
{
  struct {
    int year;
    bool leap;
  } cases[] = {
      {2024, true}, {2023, false}, {1900, false}, {2000, true}, {2100, false}, {2400, true}, {4, true}, {1, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(fnUruuDosi(static_cast<std::uint16_t>(c.year)), c.leap) << c.year;
}

TEST(AccKikan, MonthArithmeticClampsTheDay)
{
  struct {
    int k;
    TDateTime from;
    const char* want;
  } cases[] = {
      {1, D(2024, 1, 31), "2024-02-29"},        {1, D(2023, 1, 31), "2023-02-28"},
      {-1, D(2024, 3, 31), "2024-02-29"},       {12, D(2024, 2, 29), "2025-02-28"},
      {-12, D(2024, 4, 1), "2023-04-01"},       {1, D(2024, 12, 31), "2025-01-31"},
      {-12, D(2025, 3, 31), "2024-03-31"},      {1, D(2024, 3, 31), "2024-04-30"},
      {-13, D(2024, 1, 15), "2022-12-15"},      {48, D(2096, 2, 29), "2100-02-28"},
      {0, D(2024, 5, 17) + 0.75, "2024-05-17"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(show(fnTukiKasan(c.k, c.from)), QString::fromLatin1(c.want)) << c.k << " " << show(c.from).toStdString();
  // The time of day is dropped.
  EXPECT_EQ(static_cast<double>(fnTukiKasan(1, D(2024, 1, 10) + 0.5)), static_cast<double>(D(2024, 2, 10)));
}

TEST(AccKikan, MonthArithmeticOutsideTheYearRangeIsReported)
{
  EXPECT_THROW(fnTukiKasan(1, D(9999, 12, 1)), EAccDateRange);
  EXPECT_THROW(fnTukiKasan(-12, D(1, 6, 1)), EAccDateRange);
  EXPECT_NO_THROW(fnTukiKasan(-5, D(1, 6, 1)));
}

TEST(AccKikan, ClosingDates)
{
  struct {
    int k;
    int sime;
    TDateTime from;
    const char* want;
  } cases[] = {
      {0, 20, D(2024, 4, 20), "2024-04-20"},  {0, 20, D(2024, 4, 21), "2024-05-20"},
      {0, 99, D(2024, 2, 10), "2024-02-29"},  {0, 99, D(2023, 2, 10), "2023-02-28"},
      {11, 99, D(2024, 4, 1), "2025-03-31"},  {2, 99, D(2024, 4, 1), "2024-06-30"},
      {5, 99, D(2024, 4, 1), "2024-09-30"},   {8, 99, D(2024, 4, 1), "2024-12-31"},
      {0, 99, D(1900, 2, 1), "1900-02-28"},   {0, 99, D(2000, 2, 1), "2000-02-29"},
      {0, 1, D(2024, 1, 1), "2024-01-01"},    {0, 1, D(2024, 1, 2), "2024-02-01"},
      {0, 28, D(2024, 12, 29), "2025-01-28"}, {11, 25, D(2024, 4, 26), "2025-04-25"},
      {-1, 99, D(2024, 3, 15), "2024-02-29"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(show(fnSimebiHizuke(c.k, c.sime, c.from)), QString::fromLatin1(c.want))
        << c.k << " " << c.sime << " " << show(c.from).toStdString();

  // No closing day: the date comes back unchanged, time included.
  const TDateTime t = D(2024, 4, 21) + 0.25;
  for (int sime : {0, 29, 30, 31, -1, 100})
    EXPECT_EQ(static_cast<double>(fnSimebiHizuke(3, sime, t)), static_cast<double>(t)) << sime;
}

TEST(AccKikan, DaysAndMonthCounts)
{
  EXPECT_EQ(fnHi(D(2024, 2, 29)), 29);
  EXPECT_EQ(fnHi(D(2024, 3, 1) + 0.99), 1);
  EXPECT_EQ(static_cast<double>(fnHizukeKasan(1, D(2024, 2, 28) + 0.5)), static_cast<double>(D(2024, 2, 29)) + 0.5);
  EXPECT_EQ(show(fnHizukeKasan(1, D(2025, 3, 31))), QStringLiteral("2025-04-01"));
  EXPECT_EQ(show(fnHizukeKasan(-366, D(2025, 3, 1))), QStringLiteral("2024-02-29"));

  struct {
    int sime;
    TDateTime a, b;
    int want;
  } cases[] = {
      {99, D(2024, 4, 1), D(2025, 3, 31), 11},   {20, D(2024, 4, 21), D(2025, 4, 20), 11},
      {20, D(2025, 4, 20), D(2024, 4, 21), -11}, {99, D(2025, 3, 31), D(2024, 4, 1), -11},
      {99, D(2024, 4, 1), D(2024, 4, 30), 0},    {99, D(2024, 4, 1), D(2025, 9, 30), 17},
      {0, D(2024, 4, 21), D(2024, 5, 20), 1},    {15, D(2024, 1, 16), D(2024, 12, 15), 10},
  };
  for (const auto& c : cases)
    EXPECT_EQ(fnTukisuu(c.sime, c.a, c.b), c.want)
        << c.sime << " " << show(c.a).toStdString() << " " << show(c.b).toStdString();
}

TEST(AccKikan, PeriodNumberOfADate)
{
  const TDateTime s = D(2024, 4, 1), e = D(2025, 3, 31);
  struct {
    int sime;
    TDateTime kishu, kimatu, date;
    int without, with;
  } cases[] = {
      {99, s, e, D(2024, 4, 1), 1, 1},
      {99, s, e, D(2024, 6, 15), 3, 4},
      {99, s, e, D(2024, 7, 1), 5, 5},
      {99, s, e, D(2024, 9, 30), 7, 8},
      {99, s, e, D(2024, 12, 31), 11, 12},
      {99, s, e, D(2025, 1, 1), 13, 13},
      {99, s, e, e, 15, 16},
      {99, s, e, D(2025, 3, 30), 15, 16},
      {99, s, e, D(2025, 6, 1), 15, 16},
      {99, s, e, D(2024, 3, 31), -1, -1},
      // a six-month year
      {99, s, D(2024, 9, 30), D(2024, 9, 15), 7, 8},
      {99, s, D(2024, 9, 30), D(2024, 9, 30), 7, 16},
      {99, s, D(2024, 9, 30), D(2024, 12, 1), 7, 8},
      // a four-month year ends in a month that closes no quarter
      {99, s, D(2024, 7, 31), D(2024, 7, 31), 5, 16},
      {99, s, D(2024, 7, 31), D(2024, 7, 20), 5, 5},
      // closing day 20: months run from the 21st
      {20, D(2024, 4, 21), D(2025, 4, 20), D(2024, 5, 20), 1, 1},
      {20, D(2024, 4, 21), D(2025, 4, 20), D(2024, 5, 21), 2, 2},
      {20, D(2024, 4, 21), D(2025, 4, 20), D(2024, 7, 20), 3, 4},
      {20, D(2024, 4, 21), D(2025, 4, 20), D(2025, 4, 20), 15, 16},
      // a fifteen-month year: dates beyond twelve months count as the end's month, which is outside
      {99, s, D(2025, 6, 30), D(2025, 5, 1), -1, -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fnKikanNo(c.sime, 0, c.kishu, c.kimatu, c.date), c.without) << show(c.date).toStdString();
    EXPECT_EQ(fnKikanNo(c.sime, 1, c.kishu, c.kimatu, c.date), c.with) << show(c.date).toStdString();
    // any option value other than 1 counts as none
    EXPECT_EQ(fnKikanNo(c.sime, 2, c.kishu, c.kimatu, c.date), c.without) << show(c.date).toStdString();
  }
  // The year-end test compares whole values: a time of day on the fiscal end is not the fiscal end.
  EXPECT_EQ(fnKikanNo(99, 1, s, e, e + 0.5), 16);  // by the quarter-end month rule

  EXPECT_EQ(fnKikanNo(99, 1, s, D(2024, 7, 31), D(2024, 7, 31) + 0.5), 5);
}

TEST(AccKikan, PeriodNumberOfAShortenedYear)
{
  const TDateTime s = D(2024, 4, 1);
  struct {
    int months;
    int want;
  } cases[] = {
      {0, 1},  {1, 2},  {2, 3},   {3, 5},   {4, 6},   {5, 7},   {6, 8},   {7, 10},
      {8, 11}, {9, 12}, {10, 14}, {11, 15}, {12, 16}, {13, -1}, {-1, -1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(fnTukisuuKikanNo(99, s, fnTukiKasan(c.months, s)), c.want) << c.months;
}
