#pragma once
#include <QDate>
#include <QDateTime>
#include <QTime>

// A date and time as a count of days since 1899-12-30 00:00 (local time):
// the integer part is the day, the fraction the time of day. Before
// 1899-12-30 the integer part is still the day (counted toward minus) and
// the time is the absolute value of the fraction: -1.25 is 1899-12-29 06:00.
// Where a field uses 0 as "no date", callers test it themselves (IsNoDate).
using TDateTime = double;

constexpr TDateTime NoDate = 0.0;
constexpr double HoursPerDay = 24;
constexpr double MinsPerDay = 24 * 60;
constexpr double SecsPerDay = 24 * 60 * 60;
constexpr double MSecsPerDay = 24.0 * 60 * 60 * 1000;
inline bool IsNoDate(TDateTime d)
{
  return d == 0.0;
}

// --- dates ---------------------------------------------------------------
bool IsLeapYear(int year);
int DaysInAMonth(int year, int month);           // 28..31; 0 for a month outside 1..12
bool IsValidDate(int year, int month, int day);  // year 1..9999
bool TryEncodeDate(int year, int month, int day, TDateTime& out);
TDateTime EncodeDate(int year, int month, int day);  // throws EConvertError when invalid
void DecodeDate(TDateTime d, int& year, int& month, int& day);
int YearOf(TDateTime d);
int MonthOf(TDateTime d);
int DayOf(TDateTime d);
int DaysInMonth(TDateTime d);   // days of d's month
int DayOfWeek(TDateTime d);     // 1 = Sunday .. 7 = Saturday
TDateTime DateOf(TDateTime d);  // the day at 00:00
TDateTime TimeOf(TDateTime d);  // the time of day (0 <= t < 1)
TDateTime StartOfTheMonth(TDateTime d);
TDateTime EndOfTheMonth(TDateTime d);  // last day of the month, 00:00 (date only)

// Adds months keeping the time; a day past the new month's end becomes its
// last day (2024/01/31 + 1 month = 2024/02/29). Negative counts go back.
TDateTime IncMonth(TDateTime d, int months = 1);
TDateTime IncYear(TDateTime d, int years = 1);
TDateTime IncDay(TDateTime d, int days = 1);
// Whole days between the two dates (time ignored), >= 0.
int DaysBetween(TDateTime a, TDateTime b);

// --- times ---------------------------------------------------------------
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& out);
TDateTime EncodeTime(int hour, int min, int sec, int msec = 0);  // throws EConvertError
// Time of day rounded to the millisecond.
void DecodeTime(TDateTime d, int& hour, int& min, int& sec, int& msec);
// Date part plus time part, following the sign rule above.
TDateTime ComposeDateTime(TDateTime date, TDateTime time);

// --- clock ---------------------------------------------------------------
TDateTime Now();   // local date and time
TDateTime Date();  // today, 00:00
TDateTime Time();  // the time of day now

// Values outside the years 1 to 9999 (and NaN) decode to 0/0/0 and 0:00,
// convert to invalid Qt values, and give day of week 0.

// --- Qt conversions ------------------------------------------------------
// An invalid QDate/QDateTime converts to 0 (no date); 0 converts back to
// 1899-12-30 (callers that mean "no date" test IsNoDate first).
TDateTime FromQDate(const QDate& date);
TDateTime FromQDateTime(const QDateTime& dt);  // local time of dt
TDateTime FromQTime(const QTime& time);
QDate ToQDate(TDateTime d);
QDateTime ToQDateTime(TDateTime d);  // local time, millisecond precision
QTime ToQTime(TDateTime d);
