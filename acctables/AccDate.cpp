#include "acctables/AccDate.h"

#include <cmath>

#include <QDate>

#include "platform/Format.h"

namespace acccalc {

namespace {
const QDate kEpoch(1899, 12, 30);
}

Ymd splitDate(TDateTime ADate)
{
  const double whole = std::trunc(static_cast<double>(ADate));
  const QDate d = kEpoch.addDays(static_cast<qint64>(whole));
  return Ymd{d.year(), d.month(), d.day()};
}

TDateTime makeDate(int AYear, int AMonth, int ADay)
{
  if (AYear < 1 || AYear > 9999 || !QDate::isValid(AYear, AMonth, ADay))
    throw EAccDateRange(QStringLiteral("date %1/%2/%3 is out of range").arg(AYear).arg(AMonth).arg(ADay).toStdString());
  return TDateTime(static_cast<double>(kEpoch.daysTo(QDate(AYear, AMonth, ADay))));
}

}  // namespace acccalc

namespace acccalc {

TDateTime parseProcessDate(const QString& AText)
{
  TDateTime d = 0;
  if (!TryStrToDate(AText, d, FormatSettings()))
    throw EAccDateRange(("not a date: " + AText).toStdString());
  return d;
}

}  // namespace acccalc
