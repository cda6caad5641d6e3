#include "platform/DateTime.h"

#include <cmath>

#include "platform/Exceptions.h"

namespace {

// Day number of 1899-12-30 in Qt's Julian day count.
constexpr qint64 EpochJulianDay = 2415019;
constexpr qint64 MSecsPerDayInt = 86400000;

// Serial numbers of 0001-01-01 and 9999-12-31 (with a day of margin).
constexpr double MinSerial = -693594;
constexpr double MaxSerial = 2958466;

// Day part and time part (milliseconds, 0..86399999) of a value, with the
// millisecond rounding carried into the day. False for NaN, infinities and
// values outside the years 1 to 9999.
bool split(TDateTime d, qint64& day, qint64& msec)
{
  if (!std::isfinite(d) || d < MinSerial || d > MaxSerial) {
    day = msec = 0;
    return false;
  }
  double ip;
  const double frac = std::modf(d, &ip);
  day = qint64(ip);
  msec = qint64(std::llround(std::fabs(frac) * MSecsPerDayInt));
  if (msec >= MSecsPerDayInt) {
    msec -= MSecsPerDayInt;
    day += d < 0 ? -1 : 1;
  }
  return true;
}

}  // namespace

bool IsLeapYear(int year)
{
  return (year % 4 == 0) && ((year % 100 != 0) || (year % 400 == 0));
}

int DaysInAMonth(int year, int month)
{
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12)
    return 0;
  return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

bool IsValidDate(int year, int month, int day)
{
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= DaysInAMonth(year, month);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& out)
{
  if (!IsValidDate(year, month, day))
    return false;
  out = double(QDate(year, month, day).toJulianDay() - EpochJulianDay);
  return true;
}

TDateTime EncodeDate(int year, int month, int day)
{
  TDateTime d;
  if (!TryEncodeDate(year, month, day, d))
    throw EConvertError(QStringLiteral("Invalid date: %1/%2/%3").arg(year).arg(month).arg(day));
  return d;
}

void DecodeDate(TDateTime d, int& year, int& month, int& day)
{
  qint64 dayNo, ms;
  const QDate qd = split(d, dayNo, ms) ? QDate::fromJulianDay(dayNo + EpochJulianDay) : QDate();
  if (!qd.isValid()) {
    year = month = day = 0;
    return;
  }
  year = qd.year();
  month = qd.month();
  day = qd.day();
}

int YearOf(TDateTime d)
{
  int y, m, dd;
  DecodeDate(d, y, m, dd);
  return y;
}
int MonthOf(TDateTime d)
{
  int y, m, dd;
  DecodeDate(d, y, m, dd);
  return m;
}
int DayOf(TDateTime d)
{
  int y, m, dd;
  DecodeDate(d, y, m, dd);
  return dd;
}

int DaysInMonth(TDateTime d)
{
  int y, m, dd;
  DecodeDate(d, y, m, dd);
  return DaysInAMonth(y, m);
}

int DayOfWeek(TDateTime d)
{
  qint64 dayNo, ms;
  if (!split(d, dayNo, ms))
    return 0;
  // 1899-12-30 was a Saturday (7).
  qint64 w = (dayNo - 1) % 7;
  if (w < 0)
    w += 7;
  return int(w) + 1;
}

TDateTime DateOf(TDateTime d)
{
  qint64 dayNo, ms;
  split(d, dayNo, ms);
  return double(dayNo);
}

TDateTime TimeOf(TDateTime d)
{
  qint64 dayNo, ms;
  split(d, dayNo, ms);
  return double(ms) / MSecsPerDayInt;
}

TDateTime ComposeDateTime(TDateTime date, TDateTime time)
{
  const double day = std::trunc(date);
  const double t = std::fabs(time - std::trunc(time));
  return day < 0 ? day - t : day + t;
}

TDateTime StartOfTheMonth(TDateTime d)
{
  int y, m, dd;
  DecodeDate(d, y, m, dd);
  return EncodeDate(y, m, 1);
}

TDateTime EndOfTheMonth(TDateTime d)
{
  int y, m, dd;
  DecodeDate(d, y, m, dd);
  return EncodeDate(y, m, DaysInAMonth(y, m));
}

TDateTime IncMonth(TDateTime d, int months)
{
  int y, m, dd;
  DecodeDate(d, y, m, dd);
  if (y == 0)
    throw EConvertError(QStringLiteral("Invalid date value: %1").arg(d));
  qint64 total = qint64(y) * 12 + (m - 1) + months;
  qint64 ny = total >= 0 ? total / 12 : -((-total + 11) / 12);
  int nm = int(total - ny * 12) + 1;
  if (ny < 1 || ny > 9999)
    throw EOverflowError(QStringLiteral("Date out of range"));
  const int ndays = DaysInAMonth(int(ny), nm);
  if (dd > ndays)
    dd = ndays;
  return ComposeDateTime(EncodeDate(int(ny), nm, dd), TimeOf(d));
}

TDateTime IncYear(TDateTime d, int years)
{
  return IncMonth(d, years * 12);
}

TDateTime IncDay(TDateTime d, int days)
{
  // Keeps the time of day also across 1899-12-30.
  return ComposeDateTime(DateOf(d) + days, TimeOf(d));
}

int DaysBetween(TDateTime a, TDateTime b)
{
  const double diff = DateOf(a) - DateOf(b);
  return int(std::fabs(diff));
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& out)
{
  if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0 || msec > 999)
    return false;
  out = double(((qint64(hour) * 60 + min) * 60 + sec) * 1000 + msec) / MSecsPerDayInt;
  return true;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec)
{
  TDateTime t;
  if (!TryEncodeTime(hour, min, sec, msec, t))
    throw EConvertError(QStringLiteral("Invalid time: %1:%2:%3.%4").arg(hour).arg(min).arg(sec).arg(msec));
  return t;
}

void DecodeTime(TDateTime d, int& hour, int& min, int& sec, int& msec)
{
  qint64 dayNo, ms;
  split(d, dayNo, ms);
  msec = int(ms % 1000);
  ms /= 1000;
  sec = int(ms % 60);
  ms /= 60;
  min = int(ms % 60);
  hour = int(ms / 60);
}

TDateTime Now()
{
  return FromQDateTime(QDateTime::currentDateTime());
}
TDateTime Date()
{
  return FromQDate(QDate::currentDate());
}
TDateTime Time()
{
  return FromQTime(QTime::currentTime());
}

TDateTime FromQDate(const QDate& date)
{
  if (!date.isValid())
    return 0;
  return double(date.toJulianDay() - EpochJulianDay);
}

TDateTime FromQTime(const QTime& time)
{
  if (!time.isValid())
    return 0;
  return double(time.msecsSinceStartOfDay()) / MSecsPerDayInt;
}

TDateTime FromQDateTime(const QDateTime& dt)
{
  if (!dt.isValid())
    return 0;
  const QDateTime local = dt.toLocalTime();
  return ComposeDateTime(FromQDate(local.date()), FromQTime(local.time()));
}

QDate ToQDate(TDateTime d)
{
  qint64 dayNo, ms;
  if (!split(d, dayNo, ms))
    return QDate();
  return QDate::fromJulianDay(dayNo + EpochJulianDay);
}

QTime ToQTime(TDateTime d)
{
  qint64 dayNo, ms;
  if (!split(d, dayNo, ms))
    return QTime();
  return QTime::fromMSecsSinceStartOfDay(int(ms));
}

QDateTime ToQDateTime(TDateTime d)
{
  const QDate date = ToQDate(d);
  if (!date.isValid())
    return QDateTime();
  return QDateTime(date, ToQTime(d));
}
