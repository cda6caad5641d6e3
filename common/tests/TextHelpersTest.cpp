#include <gtest/gtest.h>

#include "common/AccFunction.h"
#include "common/MojiBunkatu.h"
#include "common/StringList2.h"

namespace {

const QString kPair = QString::fromUtf16(u"\U00020BB7");  // a character outside the BMP
const QString kKan = QStringLiteral("漢");

struct CutCase {
  const char* name;
  QString (*fn)(const QString&, int, bool);
  QString text;
  int n;
  bool trim;
  QString expected;
};

TEST(TextHelpers, CutAndPadByCodePointsAndColumns)
{
  const CutCase cases[] = {
      {"L pads", fnCutStrL, "abc", 5, false, "abc  "},
      {"L cuts", fnCutStrL, "abcdef", 2, false, "ab"},
      {"L trims", fnCutStrL, " ab", 5, true, "ab"},
      {"R cuts", fnCutStrR, "abc", 2, false, "bc"},
      {"R pads", fnCutStrR, "ab", 4, false, "  ab"},
      {"L pair counts once", fnCutStrL, "a" + kPair + "b", 2, false, "a" + kPair},
      {"R pair counts once", fnCutStrR, "a" + kPair + "b", 2, false, kPair + "b"},
      {"byte L double width odd", fnCutByteL, kKan + kKan + kKan, 5, false, kKan + kKan},
      {"byte L pads", fnCutByteL, "ab", 4, false, "ab  "},
      {"byte L pair is two columns", fnCutByteL, kPair + "x", 3, false, kPair + "x"},
      {"byte L pair does not fit", fnCutByteL, "x" + kPair, 2, false, "x"},
      {"byte R", fnCutByteR, "ab" + kKan, 3, false, "b" + kKan},
      {"byte R pair", fnCutByteR, "ab" + kPair, 2, false, kPair},
      {"byte R no padding", fnCutByteR, "ab", 2, false, "ab"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.fn(c.text, c.n, c.trim), c.expected) << c.name;
}

TEST(TextHelpers, WidthsAndLeadCharacters)
{
  EXPECT_EQ(fnCodePointLength("a" + kPair), 2);
  EXPECT_EQ(fnTextByteWidth("a" + kPair), 3);
  EXPECT_EQ(fnTextByteWidth(QStringLiteral("ｱｲa漢")), 5);  // half-width katakana count 1
  EXPECT_EQ(fnTextByteWidth(QString()), 0);
  EXPECT_EQ(fnCharByteWidth(QChar(0x09)), 2);  // control characters count 2
  // Scanning from the start: a lead character takes the next unit as its half.
  const QString s = kPair + "a";
  EXPECT_TRUE(fnIsZenkakuTail(s, 1));
  EXPECT_FALSE(fnIsZenkakuTail(s, 2));
  EXPECT_FALSE(fnIsZenkakuTail(s, 3));
  EXPECT_FALSE(fnIsZenkakuTail(s, 9));  // beyond the end: state of the last unit
}

TEST(TextHelpers, TrimAlignAndMisc)
{
  EXPECT_EQ(fnTrimZen(QStringLiteral("　 a b　 ")), QStringLiteral("a b"));
  EXPECT_EQ(fnDelSpaceZen(QStringLiteral("　a b　c ")), QStringLiteral("abc"));
  EXPECT_EQ(fnTrim(QStringLiteral("\t a　 ")), QStringLiteral("a　"));  // full-width space is kept
  EXPECT_EQ(fnAlignText("ab", 5, "C"), " ab  ");
  EXPECT_EQ(fnAlignText("ab", 4, "R"), "  ab");
  EXPECT_EQ(fnAlignText("ab", 4, "L"), "ab  ");
  EXPECT_EQ(fnAlignText("ab", 4, "X"), "ab");
  EXPECT_EQ(fnZeroPadLeft("12", 5), "00012");
  EXPECT_EQ(fnMidByPos("abcdef", 2, 4), "bcd");
  EXPECT_EQ(fnMidByPos("abcdef", -3, 2), "ab");
  EXPECT_EQ(fnMidByPos("abcdef", 5, 99), "ef");
  EXPECT_EQ(fnMidByPos("abcdef", 4, 3), "");
  EXPECT_EQ(fnSpaceStr(3), "   ");
  EXPECT_EQ(fnSpaceStr(511), "");
  EXPECT_EQ(fnRemoveTabCrLf("a\tb\r\nc"), "abc");
  EXPECT_EQ(fnReverseText("abc"), "cba");
  EXPECT_EQ(fnZenAlphaToUpper(QStringLiteral("ａｂｚA")), QStringLiteral("ＡＢＺA"));
}

TEST(TextHelpers, LocaleMapping)
{
  struct Case {
    unsigned flags;
    QString in;
    QString out;
  } cases[] = {
      {LCMAP_KATAKANA, QStringLiteral("がっこう"), QStringLiteral("ガッコウ")},
      {LCMAP_HIRAGANA, QStringLiteral("ガッコウ"), QStringLiteral("がっこう")},
      {LCMAP_HALFWIDTH, QStringLiteral("ガッコウ　ＡＢ１"), QStringLiteral("ｶﾞｯｺｳ AB1")},
      {LCMAP_FULLWIDTH, QStringLiteral("ｶﾞｯｺｳ ﾊﾟﾝ AB1"), QStringLiteral("ガッコウ　パン　ＡＢ１")},
      {LCMAP_KATAKANA | LCMAP_HALFWIDTH, QStringLiteral("ぱん"), QStringLiteral("ﾊﾟﾝ")},
      {LCMAP_UPPERCASE, QStringLiteral("abc"), QStringLiteral("ABC")},
  };
  for (const auto& c : cases)
    EXPECT_EQ(fnLCMapText(c.flags, c.in), c.out) << c.in.toStdString();
}

TEST(TextHelpers, SplitText)
{
  QStringList parts{"old"};
  EXPECT_EQ(fnSplitText("", ",", parts), 0);
  EXPECT_EQ(parts, QStringList{"old"});  // untouched
  EXPECT_EQ(fnSplitText("a,b//comment", ",", parts), 1);
  EXPECT_EQ(parts, (QStringList{"a", "b"}));
  EXPECT_EQ(fnSplitText(",x,", ",", parts), 2);
  EXPECT_EQ(parts, (QStringList{"", "x", ""}));
  // A longer separator leaves its tail at the start of the next piece.
  EXPECT_EQ(fnSplitText("ab::cd", "::", parts), 1);
  EXPECT_EQ(parts, (QStringList{"ab", ":cd"}));
  EXPECT_EQ(fnGetSplitItem("a,  b ,c", ",", 1), "b");
  EXPECT_EQ(fnGetSplitItem("a,b", ",", 5), "");
  EXPECT_EQ(fnGetLineByIndex("a,b\r\nc", ",", 3), "c");
  EXPECT_EQ(fnGetLineByIndex("a,b", ",", 3), "");
  // More pieces than a fixed array would hold are all kept.
  EXPECT_EQ(fnSplitText(QString(150, QLatin1Char(',')), ",", parts), 150);
}

TEST(StringList2, RoundTripsItemsWithSpacesQuotesAndDelimiters)
{
  const QStringList items{"a b", " lead", "x,y", "say \"hi\"", "", "tab\there"};
  TStringList2 w;
  w.Items = items;
  const QString text = w.CommaText2();
  EXPECT_EQ(text, "a b, lead,\"x,y\",\"say \"\"hi\"\"\",,\"tab\there\"");
  TStringList2 r;
  r.SetCommaText2(text);
  EXPECT_EQ(r.Items, items);
}

TEST(StringList2, ReadingRules)
{
  struct Case {
    QString text;
    bool trim;
    QStringList items;
  } cases[] = {
      {"a,", false, {"a", ""}},
      {",", false, {"", ""}},
      {"", false, {}},
      {" a , b ", false, {" a ", " b "}},
      {" a , b ", true, {"a", "b"}},
      {"\"\"", false, {""}},
      {"\"ab\"cd,e", false, {"ab", "cd", "e"}},
      {"\"open", false, {"open"}},
  };
  for (const auto& c : cases) {
    TStringList2 r;
    r.SetItemTrim(c.trim);
    r.SetCommaText2(c.text);
    EXPECT_EQ(r.Items, c.items) << c.text.toStdString();
  }
  TStringList2 one;
  one.Items = {""};
  EXPECT_EQ(one.CommaText2(), "\"\"");
  TStringList2 none;
  EXPECT_EQ(none.CommaText2(), "");
}

TEST(MojiBunkatu, SplitsAtTheDelimiter)
{
  struct Case {
    QString text;
    QStringList items;
  } cases[] = {
      {"a,,b", {"a", "", "b"}},
      {"a,", {"a", ""}},
      {"", {""}},
      {",a", {"", "a"}},
      {"\"x,y\",z", {"x,y", "z"}},
      {"\"a\"\"b\"", {"a\"b"}},
      {" a , b", {" a ", " b"}},
      {"\"q\"tail,z", {"q", "tail", "z"}},
  };
  TMojiBunkatu m;
  for (const auto& c : cases) {
    m.Execute(c.text);
    EXPECT_EQ(m.Items(), c.items) << c.text.toStdString();
    EXPECT_EQ(m.ItemCount(), c.items.size());
  }
  m.SetDelimiter(QLatin1Char('.'));
  m.Execute("17.0.2");
  EXPECT_EQ(m.Items(), (QStringList{"17", "0", "2"}));
  EXPECT_EQ(m.ItemGetter(-1), "");
  EXPECT_EQ(m.ItemGetter(m.ItemCount()), "");
  m.SetUseStringList2(true);
  m.SetDelimiter(QLatin1Char(','));
  m.Execute(" a , b ");
  EXPECT_EQ(m.Items(), (QStringList{" a ", " b "}));
}

TEST(MojiBunkatu, SplitsByLengthWithoutCuttingWideCharacters)
{
  struct Case {
    QString text;
    int length;
    QStringList items;
  } cases[] = {
      {"abcde", 2, {"ab", "cd", "e"}},
      {"a" + kPair + "cd", 2, {"a", kPair, "cd"}},
      {"", 3, {""}},
      {"abc", 0, {"abc"}},
      {kPair + kPair, 1, {kPair, kPair}},  // length 1 keeps a pair whole and ends
  };
  TMojiBunkatu m;
  for (const auto& c : cases) {
    m.Execute(c.text, c.length);
    EXPECT_EQ(m.Items(), c.items) << c.text.toStdString() << " / " << c.length;
  }
}

}  // namespace
