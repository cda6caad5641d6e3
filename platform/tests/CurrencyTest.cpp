#include <gtest/gtest.h>
#include <limits>

#include "platform/Currency.h"
#include "platform/Exceptions.h"

namespace {

using R = Currency::Round;

TEST(Currency, FromDoubleRoundsToFourDecimalsHalfAwayFromZero)
{
  struct Case {
    double in;
    qint64 raw;
  };
  const Case cases[] = {
      {1.00005, 10001}, {-1.00005, -10001}, {0.00004, 0},
      {-0.00004, 0},    {0.00005, 1},       {2.675, 26750},
      {1.23456, 12346}, {-2.5, -25000},     {123456789.1234, 1234567891234LL},
      {0.1, 1000},      {1e-9, 0},          {92233720368.5477, 922337203685477LL},
      {-0.00005, -1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Currency::fromDouble(c.in).raw(), c.raw) << c.in;
  EXPECT_THROW(Currency::fromDouble(std::numeric_limits<double>::quiet_NaN()), EConvertError);
  EXPECT_THROW(Currency::fromDouble(std::numeric_limits<double>::infinity()), EConvertError);
  EXPECT_THROW(Currency::fromDouble(1e16), EOverflowError);
}

TEST(Currency, ArithmeticIsExactWhereDoublesDrift)
{
  Currency sum;
  double dsum = 0;
  for (int i = 0; i < 10; ++i) {
    sum += Currency::fromString(u"0.1");
    dsum += 0.1;
  }
  EXPECT_EQ(sum, Currency::fromInt(1));
  EXPECT_NE(dsum, 1.0);  // the reason amounts are never doubles
  EXPECT_EQ(Currency::fromString(u"1234.5678") - Currency::fromString(u"0.5678"), Currency::fromInt(1234));
  EXPECT_EQ(Currency::fromString(u"-12.25") * 4, Currency::fromInt(-49));
  EXPECT_EQ(3 * Currency::fromString(u"0.3333"), Currency::fromString(u"0.9999"));
  EXPECT_EQ(-Currency::fromInt(5), Currency::fromInt(-5));
  EXPECT_EQ(Currency::fromInt(-5).abs(), Currency::fromInt(5));
  EXPECT_LT(Currency::fromString(u"-0.0001"), Currency());
  EXPECT_GT(Currency::fromString(u"0.0001"), Currency());
  EXPECT_EQ(Currency::fromString(u"12.5").toDouble(), 12.5);
}

TEST(Currency, OverflowThrowsInsteadOfWrapping)
{
  const Currency max = Currency::fromRaw(std::numeric_limits<qint64>::max());
  const Currency min = Currency::fromRaw(std::numeric_limits<qint64>::min());
  const Currency tiny = Currency::fromRaw(1);
  EXPECT_THROW(max + tiny, EOverflowError);
  EXPECT_THROW(min - tiny, EOverflowError);
  EXPECT_THROW(max * 2, EOverflowError);
  EXPECT_THROW(-min, EOverflowError);
  EXPECT_THROW(min.abs(), EOverflowError);
  EXPECT_THROW(Currency::fromInt(std::numeric_limits<qint64>::max() / 1000), EOverflowError);
  EXPECT_EQ((max - tiny) + tiny, max);
}

TEST(Currency, RoundingToWholeUnits)
{
  struct Case {
    const char16_t* value;
    R mode;
    qint64 units;
  };
  const Case cases[] = {
      {u"2.5", R::HalfAwayFromZero, 3},    {u"-2.5", R::HalfAwayFromZero, -3},
      {u"2.4999", R::HalfAwayFromZero, 2}, {u"-2.4999", R::HalfAwayFromZero, -2},
      {u"2.9999", R::Truncate, 2},         {u"-2.9999", R::Truncate, -2},
      {u"2.0001", R::AwayFromZero, 3},     {u"-2.0001", R::AwayFromZero, -3},
      {u"7", R::AwayFromZero, 7},          {u"-7", R::Truncate, -7},
      {u"0.0001", R::Truncate, 0},         {u"0", R::AwayFromZero, 0},
  };
  for (const Case& c : cases) {
    const Currency v = Currency::fromString(c.value);
    EXPECT_EQ(v.toUnits(c.mode), c.units) << QString::fromUtf16(c.value).toStdString() << " " << int(c.mode);
    EXPECT_EQ(v.rounded(c.mode), Currency::fromInt(c.units));
  }
  EXPECT_EQ(Currency::fromString(u"1.235").roundedTo(2, R::HalfAwayFromZero), Currency::fromString(u"1.24"));
  EXPECT_EQ(Currency::fromString(u"-1.235").roundedTo(2, R::HalfAwayFromZero), Currency::fromString(u"-1.24"));
  EXPECT_EQ(Currency::fromString(u"-1.239").roundedTo(2, R::Truncate), Currency::fromString(u"-1.23"));
  EXPECT_EQ(Currency::fromString(u"1.231").roundedTo(2, R::AwayFromZero), Currency::fromString(u"1.24"));
}

TEST(Currency, MulDivForRates)
{
  struct Case {
    const char16_t* amount;
    qint64 num, den;
    R mode;
    const char16_t* expected;
  };
  const Case cases[] = {
      {u"1100", 10, 110, R::Truncate, u"100"},
      {u"1000", 8, 108, R::Truncate, u"74.074"},
      {u"1000", 8, 108, R::HalfAwayFromZero, u"74.0741"},
      {u"-1000", 8, 108, R::HalfAwayFromZero, u"-74.0741"},
      {u"-1000", 8, 108, R::AwayFromZero, u"-74.0741"},
      {u"1000", 8, -108, R::Truncate, u"-74.074"},
      // the intermediate product leaves 64 bits; the result does not
      {u"900000000000000", 1000, 1000, R::Truncate, u"900000000000000"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Currency::fromString(c.amount).mulDiv(c.num, c.den, c.mode).toString(), QString::fromUtf16(c.expected));
  EXPECT_THROW(Currency::fromInt(1).mulDiv(1, 0, R::Truncate), EConvertError);
}

TEST(Currency, TextRoundTrip)
{
  struct Case {
    const char16_t* in;
    const char16_t* out;
  };
  const Case good[] = {
      {u"1234.5", u"1234.5"},
      {u"-0.25", u"-0.25"},
      {u"0", u"0"},
      {u"+7", u"7"},
      {u"  12 ", u"12"},
      {u"007.5000", u"7.5"},
      {u"1.23456", u"1.2346"},
      {u"1.23455", u"1.2346"},
      {u"-1.23455", u"-1.2346"},
      {u"1.23454", u"1.2345"},
      {u"1e3", u"1000"},
      {u".5", u"0.5"},
      {u"-0", u"0"},
      {u"922337203685477.5807", u"922337203685477.5807"},
      {u"-922337203685477.5808", u"-922337203685477.5808"},
  };
  for (const Case& c : good) {
    auto v = Currency::tryFromString(c.in);
    ASSERT_TRUE(v.has_value()) << QString::fromUtf16(c.in).toStdString();
    EXPECT_EQ(v->toString(), QString::fromUtf16(c.out));
    EXPECT_EQ(Currency::fromString(v->toString()), *v);
  }
  const char16_t* bad[] = {
      u"", u"-", u".", u"1.2.3", u"1,234", u"abc", u"12a", u"1e", u"--1", u"922337203685477.5808", u"1e100", u"１２"};
  for (const char16_t* b : bad) {
    EXPECT_FALSE(Currency::tryFromString(b).has_value()) << QString::fromUtf16(b).toStdString();
    EXPECT_THROW(Currency::fromString(b), EConvertError);
  }
}

}  // namespace
