#include <clocale>
#include <gtest/gtest.h>

#include <QLocale>

#include "platform/Exceptions.h"
#include "platform/Format.h"

namespace {

// The process formats the program fixes at start-up.
TFormatSettings processFormats()
{
  TFormatSettings fs;
  fs.DateSeparator = u'/';
  fs.TimeSeparator = u':';
  fs.ShortDateFormat = QStringLiteral("yyyy/MM/dd");
  fs.LongDateFormat = QStringLiteral("yyyy年MM月dd日");
  fs.ShortTimeFormat = QStringLiteral("hh:mm");
  fs.LongTimeFormat = QStringLiteral("hh:mm:ss");
  return fs;
}

TDateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0)
{
  return ComposeDateTime(EncodeDate(y, mo, d), EncodeTime(h, mi, s, ms));
}

TEST(FormatDateTime, LettersAsTheSystemUsesThem)
{
  const TFormatSettings fs = processFormats();
  const TDateTime t = at(2025, 2, 3, 14, 5, 9, 7);  // a Monday
  struct Case {
    const char16_t* fmt;
    const char16_t* expected;
  };
  const Case cases[] = {
      {u"yyyy/mm/dd", u"2025/02/03"},
      {u"yyyy/MM/dd", u"2025/02/03"},
      {u"YYYY/MM/DD hh:nn:ss", u"2025/02/03 14:05:09"},
      {u"yyyy/mm/dd hh:nn", u"2025/02/03 14:05"},
      {u"yy/mm/dd hh:nn:ss  ", u"25/02/03 14:05:09  "},
      {u"yyyymmdd", u"20250203"},
      {u"yyyymmddhhnnss", u"20250203140509"},
      {u"yymmdd", u"250203"},
      {u"yyyy年m月d日", u"2025年2月3日"},
      {u"yy年 m月 d日", u"25年 2月 3日"},
      {u"yyyy/m", u"2025/2"},
      {u"yy/m/d", u"25/2/3"},
      {u"hh:mm", u"14:05"},  // "mm" after "hh" is minutes
      {u"hh:mm:ss", u"14:05:09"},
      {u"h:m", u"14:5"},
      {u"m/d h:m", u"2/3 14:5"},       // month before the hour, minute after it
      {u"hh'時'mm'分'", u"14時05分"},  // quoted text does not reset "after h"
      {u"zzz", u"007"},
      {u"s.z", u"9.7"},
      {u"ddd dddd", u"月 月曜日"},
      {u"mmm mmmm", u"2月 2月"},
      {u"h:nn am/pm", u"2:05 pm"},
      {u"hh:nn AM/PM", u"02:05 PM"},
      {u"h:nn a/p", u"2:05 p"},
      {u"h:nn ampm", u"2:05 午後"},
      {u"'yyyy'yyyy", u"yyyy2025"},
      {u"\"mm\"mm", u"mm02"},
      {u"c", u"2025/02/03 14:05:09"},
      {u"ddddd", u"2025/02/03"},
      {u"dddddd", u"2025年02月03日"},
      {u"t|tt", u"14:05|14:05:09"},
      {u"yy2/mm/dd", u"252/02/03"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatDateTime(QString::fromUtf16(c.fmt), t, fs), QString::fromUtf16(c.expected))
        << QString::fromUtf16(c.fmt).toStdString();

  EXPECT_EQ(FormatDateTime(u"hh:nn am/pm"_qs, at(2025, 2, 3, 0, 30), fs), u"12:30 am"_qs);
  EXPECT_EQ(FormatDateTime(u"hh:nn am/pm"_qs, at(2025, 2, 3, 12, 30), fs), u"12:30 pm"_qs);
  EXPECT_EQ(FormatDateTime(u"c"_qs, at(2025, 2, 3), fs), u"2025/02/03"_qs);  // no time at midnight
  EXPECT_EQ(FormatDateTime(u"yyyy/mm/dd"_qs, -9859, fs), u"1873/01/01"_qs);
  EXPECT_EQ(FormatDateTime(u"yyyy/mm/dd hh:nn"_qs, -1.25, fs), u"1899/12/29 06:00"_qs);
}

TEST(FormatDateTime, SeparatorsComeFromTheSettings)
{
  TFormatSettings fs = processFormats();
  fs.DateSeparator = u'.';
  fs.TimeSeparator = u'-';
  EXPECT_EQ(FormatDateTime(u"yyyy/mm/dd hh:nn"_qs, at(2025, 2, 3, 14, 5), fs), u"2025.02.03 14-05"_qs);
  EXPECT_EQ(FormatDateTime(u"yyyy'/'mm"_qs, at(2025, 2, 3), fs), u"2025/02"_qs);
}

// Reading and writing dates with the default settings works without any
// start-up call.
TEST(ProcessFormats, InPlaceFromTheStart)
{
  EXPECT_EQ(FormatSettings().ShortDateFormat, u"yyyy/MM/dd"_qs);
  EXPECT_EQ(FormatSettings().LongTimeFormat, u"hh:mm:ss"_qs);
  EXPECT_EQ(StrToDate(u"1873/01/01"_qs), EncodeDate(1873, 1, 1));
  EXPECT_EQ(DateTimeToStr(at(2025, 2, 3, 9, 8, 7)), u"2025/02/03 09:08:07"_qs);
  // A settings object of its own keeps the desktop defaults.
  EXPECT_EQ(TFormatSettings().ShortTimeFormat, u"H:mm"_qs);
}

// The process formats hold whatever the C and Qt locales say: a German
// desktop (day first, dots) must not change how "1873/01/01" is read or how
// a date is written.
TEST(ProcessFormats, IndependentOfTheLocale)
{
  const std::string oldC = std::setlocale(LC_ALL, nullptr);
  const QLocale oldQt;
  std::setlocale(LC_ALL, "de_DE.UTF-8");
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

  ApplyProcessDateFormats();
  const TFormatSettings& fs = FormatSettings();
  EXPECT_EQ(fs.ShortDateFormat, u"yyyy/MM/dd"_qs);
  EXPECT_EQ(fs.LongDateFormat, u"yyyy年MM月dd日"_qs);
  EXPECT_EQ(fs.ShortTimeFormat, u"hh:mm"_qs);
  EXPECT_EQ(fs.LongTimeFormat, u"hh:mm:ss"_qs);
  EXPECT_EQ(fs.DateSeparator, u'/');
  EXPECT_EQ(fs.TimeSeparator, u':');

  EXPECT_EQ(StrToDate(u"1873/01/01"_qs), EncodeDate(1873, 1, 1));
  EXPECT_EQ(DateToStr(EncodeDate(2025, 2, 3)), u"2025/02/03"_qs);
  EXPECT_EQ(DateTimeToStr(at(2025, 2, 3, 9, 8, 7)), u"2025/02/03 09:08:07"_qs);
  EXPECT_EQ(FormatFloat(u"#,##0.00"_qs, 1234.5), u"1,234.50"_qs);
  double d = 0;
  EXPECT_TRUE(TryStrToFloat(u"1234.5"_qs, d));
  EXPECT_EQ(d, 1234.5);

  std::setlocale(LC_ALL, oldC.c_str());
  QLocale::setDefault(oldQt);
}

TEST(StrToDate, ReadsInTheOrderOfTheShortDateFormat)
{
  const TFormatSettings ymd = processFormats();
  TFormatSettings dmy = processFormats();
  dmy.ShortDateFormat = u"dd.MM.yyyy"_qs;
  dmy.DateSeparator = u'.';
  TFormatSettings mdy = processFormats();
  mdy.ShortDateFormat = u"M/d/yyyy"_qs;
  const int thisYear = QDate::currentDate().year();

  struct Case {
    const TFormatSettings* fs;
    const char16_t* text;
    QDate expected;
  };
  const Case good[] = {
      {&ymd, u"1873/01/01", {1873, 1, 1}},  {&ymd, u"2025/2/3", {2025, 2, 3}}, {&ymd, u"  2025/02/03  ", {2025, 2, 3}},
      {&ymd, u"2025/02/03/", {2025, 2, 3}}, {&ymd, u"99/01/01", {1999, 1, 1}},  // century window of 50 years
      {&ymd, u"2/3", {thisYear, 2, 3}},                                         // two numbers: this year
      {&dmy, u"03.02.2025", {2025, 2, 3}},  {&dmy, u"3.2", {thisYear, 2, 3}},  {&mdy, u"2/3/2025", {2025, 2, 3}},
  };
  for (const Case& c : good) {
    TDateTime d = -1;
    ASSERT_TRUE(TryStrToDate(QString::fromUtf16(c.text), d, *c.fs)) << QString::fromUtf16(c.text).toStdString();
    EXPECT_EQ(ToQDate(d), c.expected) << QString::fromUtf16(c.text).toStdString();
  }
  const Case bad[] = {
      {&ymd, u"", {}},           {&ymd, u"2025", {}},        {&ymd, u"2025/02/30", {}},
      {&ymd, u"2025-02-03", {}}, {&ymd, u"2025/02/03x", {}}, {&ymd, u"20250/1/1", {}},
      {&dmy, u"1873/01/01", {}}, {&ymd, u"2025/13/01", {}},
  };
  for (const Case& c : bad) {
    TDateTime d = 42;
    EXPECT_FALSE(TryStrToDate(QString::fromUtf16(c.text), d, *c.fs)) << QString::fromUtf16(c.text).toStdString();
    EXPECT_EQ(d, 42);
    EXPECT_THROW(StrToDate(QString::fromUtf16(c.text), *c.fs), EConvertError);
    EXPECT_EQ(StrToDateDef(QString::fromUtf16(c.text), 7, *c.fs), 7);
  }
}

TEST(StrToDateTime, DateWithOptionalTimeOrTimeAlone)
{
  const TFormatSettings fs = processFormats();
  struct Case {
    const char16_t* text;
    bool ok;
    QDateTime expected;
  };
  const Case cases[] = {
      {u"2025/02/03 14:05:09", true, {{2025, 2, 3}, {14, 5, 9}}},
      {u"2025/02/03 14:05", true, {{2025, 2, 3}, {14, 5}}},
      {u"2025/02/03", true, {{2025, 2, 3}, {0, 0}}},
      {u"2025/02/03 2:05 PM", true, {{2025, 2, 3}, {14, 5}}},
      {u"2025/02/03 12:05 am", true, {{2025, 2, 3}, {0, 5}}},
      {u"2025/02/03 午後 2:05", true, {{2025, 2, 3}, {14, 5}}},
      {u"14:05", true, {{1899, 12, 30}, {14, 5}}},
      {u"1873/01/01 12:00", true, {{1873, 1, 1}, {12, 0}}},
      {u"2025/02/03 25:00", false, {}},
      {u"2025/02/03 13:00 PM", false, {}},
      {u"2025/02/03 14:05:09 x", false, {}},
      {u"", false, {}},
  };
  for (const Case& c : cases) {
    TDateTime d = 0;
    const bool ok = TryStrToDateTime(QString::fromUtf16(c.text), d, fs);
    EXPECT_EQ(ok, c.ok) << QString::fromUtf16(c.text).toStdString();
    if (ok && c.ok) {
      EXPECT_EQ(ToQDateTime(d), c.expected) << QString::fromUtf16(c.text).toStdString();
    }
  }
  EXPECT_THROW(StrToDateTime(u"tomorrow"_qs, fs), EConvertError);
}

TEST(FormatFloat, PicturesAsTheSystemUsesThem)
{
  const TFormatSettings fs;
  struct Case {
    const char16_t* pic;
    double v;
    const char16_t* expected;
  };
  const Case cases[] = {
      {u"#,##0", 1234.9, u"1,235"},
      {u"#,##0", -1234.5, u"-1,235"},
      {u"#,##0", 0, u"0"},
      {u"#,##0", 999.5, u"1,000"},
      {u"#,##0", 12, u"12"},
      {u"#,##0;-#,##0", -1234567, u"-1,234,567"},
      {u"#,##0;-#,##0", 99999999999.0, u"99,999,999,999"},
      {u"#,###;-#,###", 0, u""},
      {u"#,###;-#,###", -1000, u"-1,000"},
      {u"#,##0;(#,##0)", -5, u"(5)"},
      {u"#,##0;-#,##0;\"ゼロ\"", 0, u"ゼロ"},
      {u"#,##0;;", -3, u"-3"},          // empty sections fall back to the first
      {u"0.00;-0.00", 1.005, u"1.01"},  // rounds the value as written
      {u"0.000;-0.000", -2.0005, u"-2.001"},
      {u"0.0;-0.0", -0.04, u"0.0"},  // never "-0.0"
      {u"0.00", -0.004, u"0.00"},
      {u"0,", 1234567, u"1,234,567"},
      {u"0,", 0, u"0"},
      {u"#,", 0, u""},
      {u"#,", 1234, u"1,234"},
      {u"0,.00", 1234.5, u"1,234.50"},
      {u"#,.##", 1234.5, u"1,234.5"},
      {u"#,.##", 0.5, u".5"},
      {u"#,.##", 12, u"12"},
      {u"#,.########", 0.12345678, u".12345678"},
      {u"0,.00000000", 1, u"1.00000000"},
      {u"000", 7, u"007"},
      {u"00", 123, u"123"},
      {u"0000", -12, u"-0012"},
      {u"00000000", 20250203, u"20250203"},
      {u"#", 0, u""},
      {u"#", 5, u"5"},
      {u"0", 2.5, u"3"},
      {u"0", -2.5, u"-3"},
      {u"000-0000", 1234567, u"123-4567"},
      {u"0\"円\"", 1500, u"1500円"},
      {u"#,##0", 1e20, u"100,000,000,000,000,000,000"},
      {u"", 1.5, u"1.5"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatFloat(QString::fromUtf16(c.pic), c.v, fs), QString::fromUtf16(c.expected))
        << QString::fromUtf16(c.pic).toStdString() << " " << c.v;

  TFormatSettings euro;
  euro.DecimalSeparator = u',';
  euro.ThousandSeparator = u'.';
  EXPECT_EQ(FormatFloat(u"#,##0.00"_qs, 1234.5, euro), u"1.234,50"_qs);
}

TEST(FormatFloat, CurrencyValuesAreExact)
{
  struct Case {
    const char16_t* pic;
    const char16_t* amount;
    const char16_t* expected;
  };
  const Case cases[] = {
      {u"#,##0", u"1234.5", u"1,235"},
      {u"#,##0", u"-1234.5", u"-1,235"},
      {u"#,##0;-#,##0", u"-0.4", u"0"},
      {u"#,##0.0000", u"922337203685477.5807", u"922,337,203,685,477.5807"},
      {u"#,##0.0000", u"-922337203685477.5808", u"-922,337,203,685,477.5808"},
      {u"0.00", u"-0.005", u"-0.01"},
      {u"0.00", u"1.005", u"1.01"},
      {u"#,###", u"0", u""},
      {u"", u"-12.25", u"-12.25"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatFloat(QString::fromUtf16(c.pic), Currency::fromString(c.amount)), QString::fromUtf16(c.expected))
        << QString::fromUtf16(c.pic).toStdString() << " " << QString::fromUtf16(c.amount).toStdString();
}

TEST(NumberText, FloatAndIntegerConversions)
{
  struct F {
    double v;
    const char16_t* text;
  };
  const F floats[] = {{0.1 + 0.2, u"0.3"},
                      {1e20, u"1E20"},
                      {1.5e-7, u"1.5E-7"},
                      {-12.5, u"-12.5"},
                      {100, u"100"},
                      {0, u"0"},
                      {123456789012345.0, u"123456789012345"},
                      {0.0001, u"0.0001"}};
  for (const F& f : floats) {
    EXPECT_EQ(FloatToStr(f.v), QString::fromUtf16(f.text)) << f.v;
    double back = 0;
    EXPECT_TRUE(TryStrToFloat(QString::fromUtf16(f.text), back));
    EXPECT_DOUBLE_EQ(back, f.v);
  }
  double d;
  EXPECT_FALSE(TryStrToFloat(u"1,5"_qs, d));
  EXPECT_FALSE(TryStrToFloat(u""_qs, d));
  EXPECT_FALSE(TryStrToFloat(u"e5"_qs, d));

  struct I {
    const char16_t* text;
    bool ok;
    int value;
  };
  const I ints[] = {{u"12", true, 12},         {u" -7 ", true, -7},     {u"+3", true, 3},
                    {u"$FF", true, 255},       {u"0x10", true, 16},     {u"-2147483648", true, INT_MIN},
                    {u"2147483648", false, 0}, {u"1e3", false, 0},      {u"", false, 0},
                    {u"12a", false, 0},        {u"$FFFFFFFF", true, -1}};
  for (const I& i : ints) {
    int v = 0;
    EXPECT_EQ(TryStrToInt(QString::fromUtf16(i.text), v), i.ok) << QString::fromUtf16(i.text).toStdString();
    if (i.ok) {
      EXPECT_EQ(v, i.value);
    }
    EXPECT_EQ(StrToIntDef(QString::fromUtf16(i.text), -99), i.ok ? i.value : -99);
  }
  EXPECT_THROW(StrToInt(u"x"_qs), EConvertError);

  Currency c;
  TFormatSettings comma;
  comma.DecimalSeparator = u',';
  EXPECT_TRUE(TryStrToCurr(u"12,5"_qs, c, comma));
  EXPECT_EQ(c, Currency::fromString(u"12.5"));
  EXPECT_FALSE(TryStrToCurr(u"12.5"_qs, c, comma));
  EXPECT_FALSE(TryStrToCurr(u"1,234.5"_qs, c));
}

}  // namespace
