#include <gtest/gtest.h>

#include "common/AccFunctionNum.h"

namespace {

TEST(NumberHelpers, RoundDecimal)
{
  struct Case {
    int p;
    double x;
    double expected;
  } cases[] = {
      {1, 2.9999995, 3},  // the bias of one millionth lifts it
      {1, 2.5, 2},       {1, -2.5, -3}, {2, 1.26, 1.2}, {0, 123.0, 120}, {1, 0.0, 0}, {3, 0.125, 0.12},
  };
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(fnRoundDecimal(c.p, c.x), c.expected) << c.p << " " << c.x;
}

TEST(NumberHelpers, BitsWordsPowersAndColours)
{
  std::uint32_t flags = 0;
  pcSetBit(flags, 1);
  pcSetBit(flags, 24);
  pcSetBit(flags, 25);  // ignored
  pcSetBit(flags, 0);   // ignored
  EXPECT_EQ(flags, 0x800001u);
  EXPECT_TRUE(fnGetBit(flags, 1));
  EXPECT_TRUE(fnGetBit(flags, 24));
  EXPECT_FALSE(fnGetBit(flags, 2));
  EXPECT_TRUE(fnGetBit(0x80000000u, 0));  // bit number taken modulo 32

  std::uint16_t w = 0;
  pcComposeWord(w, 3, 9, 1000);
  EXPECT_EQ(w, 3009);

  EXPECT_DOUBLE_EQ(fnRealPower(2, 3), 9);
  EXPECT_EQ(fnRealPower(2, 0), 0);

  EXPECT_EQ(fnGrayColor(0xFFFFFF), 0xFFFFFF);
  EXPECT_EQ(fnGrayColor(0), 0);
  EXPECT_EQ(fnGrayColor(0x0000FF), 0x555555);   // (255 + 0 + 0) / 3 = 85
  EXPECT_EQ(fnGrayColor(0x000102), 0x010101);   // 3 / 3 = 1
  EXPECT_EQ(fnGrayColor(-16777201), 0x808080);  // a system colour
  EXPECT_EQ(fnFormatIntComma(1234567), "1,234,567");
  EXPECT_EQ(fnFormatIntComma(-1000), "-1,000");
}

TEST(NumberHelpers, Variants)
{
  EXPECT_TRUE(fnVarIsBlank(QVariant()));
  EXPECT_TRUE(fnVarIsBlank(QVariant(QString())));
  EXPECT_TRUE(fnVarIsBlank(QVariant(QStringLiteral(""))));
  EXPECT_FALSE(fnVarIsBlank(QVariant(0)));
  EXPECT_EQ(fnVarToStrDef(QVariant(), "d"), "d");
  EXPECT_EQ(fnVarToStrDef(QVariant(12), "d"), "12");
  EXPECT_EQ(fnVarToIntDef(QVariant(QStringLiteral("x")), 7), 7);
  EXPECT_EQ(fnVarToIntDef(QVariant(QStringLiteral("42")), 7), 42);
  EXPECT_EQ(fnVarToIntDef(QVariant(), 7), 7);
  EXPECT_EQ(fnVarToCurrDef(QVariant(QStringLiteral("12.5")), Currency()), Currency::fromDouble(12.5));
  EXPECT_EQ(fnVarToCurrDef(QVariant::fromValue(Currency::fromInt(3)), Currency()), Currency::fromInt(3));
  EXPECT_EQ(fnVarToCurrDef(QVariant(QStringLiteral("abc")), Currency::fromInt(1)), Currency::fromInt(1));
  EXPECT_DOUBLE_EQ(fnVarToFloatDef(QVariant(QStringLiteral("2.25")), 0), 2.25);
  EXPECT_EQ(fnVarToStr(QVariant(true)), "True");
}

TEST(NumberHelpers, VersionsCompareByParts)
{
  struct Case {
    const char* a;
    const char* b;
    bool greater;
    bool greaterEq;
  } cases[] = {
      {"11.1.0", "11.1", false, true},    {"17.0.0.5", "17.0.0.1", false, true},  // the build is ignored
      {"17.0.1", "17.0.0", true, true},   {"16.9.9", "17.0.0", false, false},
      {"1.256.0", "2.0.0", false, false},  // a part of 256 does not spill over
      {"1.0.256", "1.1.0", false, false}, {"abc", "0.0.0", false, true},
      {"12.0.0", "11.99.99", true, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fnVersionGreater(c.a, c.b), c.greater) << c.a << " > " << c.b;
    EXPECT_EQ(fnVersionGreaterEq(c.a, c.b), c.greaterEq) << c.a << " >= " << c.b;
  }
  const TVersionRec r = fnVersionTextToRec("3.x.7");
  EXPECT_EQ(r.Major, 3u);
  EXPECT_EQ(r.Minor, 0u);
  EXPECT_EQ(r.Revision, 7u);
  EXPECT_EQ(r.StringVersion, "3.x.7");
}

TEST(NumberHelpers, QuickSortOrdersByCodeUnits)
{
  std::vector<TQSORT> a;
  const QStringList keys{"b", "a", "B", "漢", "aa", "a", "", "z"};
  for (int i = 0; i < keys.size(); ++i)
    a.push_back({keys[i], i});
  pcQuickSortQSort(a, 0, int(a.size()) - 1);
  QStringList sorted;
  for (const auto& e : a) {
    sorted << e.Key;
    EXPECT_EQ(keys[e.Rec], e.Key);  // each row keeps its index
  }
  EXPECT_EQ(sorted, (QStringList{"", "B", "a", "a", "aa", "b", "z", "漢"}));
  // Only the given range is sorted; out-of-range bounds are clamped.
  std::vector<TQSORT> b{{"c", 0}, {"b", 1}, {"a", 2}};
  pcQuickSortQSort(b, 1, 99);
  EXPECT_EQ(b[0].Key, "c");
  EXPECT_EQ(b[1].Key, "a");
}

}  // namespace
