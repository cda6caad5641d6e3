#pragma once
#include <QChar>
#include <QString>
#include <QStringList>

#include "platform/Currency.h"
#include "platform/DateTime.h"

// Date and number formatting settings, in the style of the original
// platform. Our own implementation: neither the C locale nor QLocale is
// consulted anywhere.
struct TFormatSettings {
  QChar DateSeparator = u'/';
  QChar TimeSeparator = u':';
  QString ShortDateFormat = QStringLiteral("yyyy/MM/dd");
  QString LongDateFormat = QStringLiteral("yyyy'年'M'月'd'日'");
  QString ShortTimeFormat = QStringLiteral("H:mm");
  QString LongTimeFormat = QStringLiteral("H:mm:ss");
  QString TimeAMString = QStringLiteral("午前");
  QString TimePMString = QStringLiteral("午後");
  QChar DecimalSeparator = u'.';
  QChar ThousandSeparator = u',';
  QStringList ShortMonthNames;  // 12 entries, "1月".."12月"
  QStringList LongMonthNames;   // 12 entries, "1月".."12月"
  QStringList ShortDayNames;    // 7 entries from Sunday, "日".."土"
  QStringList LongDayNames;     // 7 entries from Sunday, "日曜日".."土曜日"
  int TwoDigitYearCenturyWindow = 50;

  TFormatSettings();
  // The settings of a Japanese desktop before the program changes anything.
  static TFormatSettings JapaneseDefaults();
};

// The process-wide settings: JapaneseDefaults() with the program's fixed date
// and time formats (see ApplyProcessDateFormats) already applied. Not
// thread-safe to modify; every change happens at start-up on the main thread.
TFormatSettings& FormatSettings();

// Fixes the process-wide date and time formats: separators "/" and ":",
// short date "yyyy/MM/dd", long date "yyyy年MM月dd日", short time "hh:mm",
// long time "hh:mm:ss". Nothing else changes. Safe to call more than once.
void ApplyProcessDateFormats();

// --- dates and times to text ---------------------------------------------
// Format letters, case-insensitive: y/yy (two-digit year), yyy/yyyy (four
// digits), m, mm, mmm (short month name), mmmm (long name); an "m" run right
// after an "h" run means minutes; d, dd, ddd (short day name), dddd (long day
// name), ddddd (short date format), dddddd (long date format); h, hh; n, nn;
// s, ss; z, zzz (milliseconds); t (short time), tt (long time); c (short date
// and, when there is a time, the long time); am/pm, a/p, ampm (12-hour clock);
// "/" the date separator, ":" the time separator; text in '...' or "..."
// copied as it stands; any other character copied.
QString FormatDateTime(const QString& format, TDateTime dt, const TFormatSettings& fs = FormatSettings());
QString DateToStr(TDateTime d, const TFormatSettings& fs = FormatSettings());      // short date
QString TimeToStr(TDateTime d, const TFormatSettings& fs = FormatSettings());      // long time
QString DateTimeToStr(TDateTime d, const TFormatSettings& fs = FormatSettings());  // "c"

// --- text to dates and times ---------------------------------------------
// Reads up to three numbers separated by the date separator in the order of
// the short date format (year first, month first or day first); two numbers
// mean the current year; a one- or two-digit year is placed in the century
// window. Blanks around the text are allowed. False on anything else.
bool TryStrToDate(const QString& text, TDateTime& out, const TFormatSettings& fs = FormatSettings());
// A date, optionally followed by blanks and a time "h:n[:s[.zzz]]" with an
// optional AM/PM marker; a time alone is read as a time on day 0.
bool TryStrToDateTime(const QString& text, TDateTime& out, const TFormatSettings& fs = FormatSettings());
bool TryStrToTime(const QString& text, TDateTime& out, const TFormatSettings& fs = FormatSettings());
// As the Try... forms; throw EConvertError with the text in the message.
TDateTime StrToDate(const QString& text, const TFormatSettings& fs = FormatSettings());
TDateTime StrToDateTime(const QString& text, const TFormatSettings& fs = FormatSettings());
TDateTime StrToTime(const QString& text, const TFormatSettings& fs = FormatSettings());
TDateTime StrToDateDef(const QString& text, TDateTime def, const TFormatSettings& fs = FormatSettings());

// --- numbers to text -------------------------------------------------------
// Number pictures: "0" a digit always shown, "#" a digit shown when
// significant, "." the decimal point (first one only), "," anywhere in the
// integer part switches on thousands grouping, ";" separates the pictures
// for positive, negative and zero values (an absent or empty negative
// picture means the positive one with a leading "-"; an absent zero picture
// means the positive one). Quoted text and other characters are copied.
// Values are rounded half away from zero to the picture's decimals; a value
// that rounds to zero is formatted as zero (never "-0"). An empty picture
// gives the general form (FloatToStr).
QString FormatFloat(const QString& picture, double value, const TFormatSettings& fs = FormatSettings());
QString FormatFloat(const QString& picture, Currency value, const TFormatSettings& fs = FormatSettings());
inline QString FormatCurr(const QString& picture, Currency value, const TFormatSettings& fs = FormatSettings())
{
  return FormatFloat(picture, value, fs);
}

// Shortest text that reads back as the same double (up to 15 significant
// digits), "." as decimal point, no exponent between 1e-5 and 1e15.
QString FloatToStr(double value, const TFormatSettings& fs = FormatSettings());
QString IntToStr(qint64 value);
// Decimal integer with optional sign and surrounding blanks; "$hex" allowed.
bool TryStrToInt(const QString& text, int& out);
bool TryStrToInt64(const QString& text, qint64& out);
int StrToIntDef(const QString& text, int def);
int StrToInt(const QString& text);  // throws EConvertError
// Decimal number with the settings' decimal separator, optional exponent.
bool TryStrToFloat(const QString& text, double& out, const TFormatSettings& fs = FormatSettings());
// An amount: like Currency::tryFromString but with the settings' decimal
// separator (no thousands separators).
bool TryStrToCurr(const QString& text, Currency& out, const TFormatSettings& fs = FormatSettings());
