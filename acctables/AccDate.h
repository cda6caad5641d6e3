#pragma once
// Date splitting and building shared by the period and era routines.

#include <string>

#include <QString>

#include "platform/AppError.h"
#include "platform/DateTime.h"

// A date built by month arithmetic fell outside the years 1..9999.
class EAccDateRange : public EAppError {
 public:
  explicit EAccDateRange(const std::string& message) : EAppError(QString::fromStdString(message)) {}
  explicit EAccDateRange(const char* message) : EAppError(QString::fromUtf8(message)) {}
};

namespace acccalc {

struct Ymd {
  int y = 0;
  int m = 0;
  int d = 0;
};

// Year, month and day of a date (the time of day is ignored; for dates before
// 1899-12-30 the whole-day part is taken toward zero, as the original
// encoding does).
Ymd splitDate(TDateTime ADate);

// The date of a year, month and day at time 0. Throws EAccDateRange when the
// year is outside 1..9999 or the day does not exist.
TDateTime makeDate(int AYear, int AMonth, int ADay);

// A date text read with the process-wide date format (year/month/day).
// Throws EAccDateRange when the text is no date.
TDateTime parseProcessDate(const QString& AText);

}  // namespace acccalc
