#include <gtest/gtest.h>

#include "print/Print360Func.h"

namespace {

TEST(PrintHelpers, WidthsInHalfWidthUnits)
{
  struct Case {
    QString text;
    int width;
  } cases[] = {
      {QString(), 0},
      {QStringLiteral("ｱA"), 2},      // half-width katakana + Latin
      {QStringLiteral("あA"), 3},     // hiragana + Latin
      {QStringLiteral("𠮷"), 2},      // outside the basic plane: 2 + 0
      {QStringLiteral("\tA"), 3},     // control characters count 2
      {QStringLiteral(" ~"), 2},      // both ends of printable ASCII
      {QStringLiteral("｡ﾟ"), 2},      // both ends of the half-width block
      {QStringLiteral("\u007F"), 2},  // DEL is not printable
  };
  for (const Case& c : cases)
    EXPECT_EQ(fnMojiHaba(c.text), c.width) << c.text.toStdString();
  EXPECT_EQ(fnMojiHankaku(QChar(0xD842)), 2);
  EXPECT_EQ(fnMojiHankaku(QChar(0xDFB7)), 0);
}

TEST(PrintHelpers, CharactersWithinALimit)
{
  struct Case {
    QString text;
    int limit, forward, backward;
  } cases[] = {
      {QStringLiteral("あいう"), 3, 2, 2},
      {QStringLiteral("あいう"), 4, 2, 2},
      {QStringLiteral("abc"), 5, 3, 3},
      {QStringLiteral("abあ"), 3, 3, 2},
      {QString(), 3, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fnHabaMojisu(c.text, c.limit), c.forward) << c.text.toStdString() << " " << c.limit;
    EXPECT_EQ(fnHabaMojisuR(c.text, c.limit), c.backward) << c.text.toStdString() << " " << c.limit;
  }
}

TEST(PrintHelpers, PaddingAndCutting)
{
  EXPECT_EQ(fnHidariYose(QStringLiteral("ab"), 4), QStringLiteral("ab  "));
  EXPECT_EQ(fnMigiYose(QStringLiteral("ab"), 4), QStringLiteral("  ab"));
  EXPECT_EQ(fnMigiYose(QStringLiteral("abcdef"), 4), QStringLiteral("cdef"));
  EXPECT_EQ(fnHidariYose(QStringLiteral("abcdef"), 4), QStringLiteral("abcd"));
  EXPECT_EQ(fnHidariYose(QStringLiteral("あい"), 4), QStringLiteral("あい"));
  EXPECT_EQ(fnHidariYose(QStringLiteral("あいう"), 4), QStringLiteral("あい"));
  EXPECT_EQ(fnSpaceMoji(510).size(), 510);
  EXPECT_EQ(fnSpaceMoji(511), QString());
  EXPECT_EQ(fnSpaceMoji(0), QString());
  EXPECT_EQ(fnSpaceMoji(-3), QString());
  EXPECT_EQ(fnHidariYose(QStringLiteral("ab"), 511), QStringLiteral("ab"));
  // A pair outside the basic plane is never cut in half from the right.
  EXPECT_EQ(fnMigiYose(QStringLiteral("a𠮷"), 2), QStringLiteral("𠮷"));
  EXPECT_EQ(fnHidariYose(QStringLiteral("a𠮷b"), 2), QStringLiteral("a𠮷"));
  EXPECT_EQ(fnHabaMojisu(QStringLiteral("𠮷"), 1), 2);
}

TEST(PrintHelpers, AmountFormatting)
{
  struct Case {
    QString text;
    int maxLen, decimals;
    bool zeroFormat;
    QString result;
  } cases[] = {
      {QStringLiteral("1234567"), 0, 0, true, QStringLiteral("1,234,567")},
      {QStringLiteral("1234567"), 0, 0, false, QStringLiteral("1,234,567")},
      {QStringLiteral("-1234567"), 0, 0, false, QStringLiteral("-1,234,567")},
      {QStringLiteral("0"), 0, 0, false, QString()},
      {QStringLiteral("0"), 0, 0, true, QStringLiteral("0")},
      {QStringLiteral("abc"), 0, 0, true, QStringLiteral("0")},
      {QStringLiteral("123"), 0, 2, true, QStringLiteral("123")},  // decimals need MAXLEN too
      {QStringLiteral("9223372036854775807"), 0, 0, true, QStringLiteral("9,223,372,036,854,775,807")},
      {QStringLiteral("-9223372036854775808"), 0, 0, true, QStringLiteral("-9,223,372,036,854,775,808")},
      {QStringLiteral("1234.5"), 1, 2, true, QStringLiteral("1,234.50")},
      {QStringLiteral("1234.5"), 1, 2, false, QStringLiteral("1,234.5")},
      {QStringLiteral("0"), 1, 2, false, QStringLiteral("0")},
      {QStringLiteral("x"), 1, 2, true, QStringLiteral("0")},
      {QStringLiteral("0.125"), 1, 9, true, QStringLiteral("0.12500000")},  // at most 8 decimals
  };
  for (const Case& c : cases)
    EXPECT_EQ(fnKingakuEdit(c.text, c.maxLen, c.decimals, c.zeroFormat), c.result)
        << c.text.toStdString() << " " << c.maxLen << " " << c.decimals << " " << c.zeroFormat;
}

TEST(PrintHelpers, FieldSplittingAndGetting)
{
  QStringList fields;
  EXPECT_EQ(fnFieldSplit(QStringLiteral("A;B;;C //note"), u';', fields), 3);
  EXPECT_EQ(fields, (QStringList{"A", "B", "", "C "}));
  EXPECT_EQ(fnFieldSplit(QStringLiteral("// only a comment"), u';', fields), 0);
  EXPECT_TRUE(fields.isEmpty());
  EXPECT_EQ(fnFieldSplit(QStringLiteral(";x;"), u';', fields), 2);
  EXPECT_EQ(fields, (QStringList{"", "x", ""}));

  EXPECT_EQ(fnFieldGet(QStringLiteral("A; B ;C"), u';', 1), QStringLiteral("B"));
  EXPECT_EQ(fnFieldGet(QStringLiteral("A;B;C"), u';', 3), QString());
  EXPECT_EQ(fnFieldGet(QStringLiteral("A;B;C"), u';', -1), QString());

  // Lines with more fields than the original's table: every field is split,
  // and fnFieldGet answers fields 0 to 100 only.
  QStringList many;
  for (int i = 0; i < 300; ++i)
    many << QString::number(i);
  const QString line = many.join(u';');
  EXPECT_EQ(fnFieldSplit(line, u';', fields), 299);
  EXPECT_EQ(fields.size(), 300);
  EXPECT_EQ(fnFieldGet(line, u';', 100), QStringLiteral("100"));
  EXPECT_EQ(fnFieldGet(line, u';', 101), QString());
}

TEST(PrintHelpers, FloatReading)
{
  EXPECT_DOUBLE_EQ(fnStrToFloatZero(QStringLiteral("12.5")), 12.5);
  EXPECT_DOUBLE_EQ(fnStrToFloatZero(QStringLiteral("12,5")), 0);
  EXPECT_DOUBLE_EQ(fnStrToFloatZero(QString()), 0);
}

}  // namespace
