#pragma once
// Accounting periods and closing dates.
//
// A fiscal year has sixteen periods numbered 1 to 16: twelve month periods
// (1, 2, 3, 5, 6, 7, 9, 10, 11, 13, 14, 15) and a closing period after each
// quarter's third month (4, 8, 12, 16; 16 is the year-end closing).
//   period number  1..16
//   period index   0..15  (period number less one)
//   month index    0..11  (months counted from the fiscal start month)
//   month ordinal  1..12  (month index plus one)
//
// A closing-day code (the company's SIME) of 1..28 closes each month on that
// day; 99 closes on the month's last day; any other value means "no closing
// day": the routines that move a date to its closing date leave it unchanged.
//
// Dates are TDateTime values (days since 1899-12-30, fraction = time of day).
// The routines split a date into year, month and day and ignore the time,
// except where stated.

#include <cstdint>

#include "acctables/AccDate.h"

// Month index (0..11) to period number; -1 for any other value.
int fnTukiIdxToKikanNo(int ATukiIdx);

// Month ordinal (1..12) to period index (0..14, closing periods skipped);
// 0 for any other value.
int fnTukiNoToKikanIdx(int ATukiNo);

// True for a leap year (divisible by 4, and not by 100 unless by 400).
bool fnUruuDosi(std::uint16_t AYear);

// The date moved by a whole number of days (time of day kept).
TDateTime fnHizukeKasan(int ADays, TDateTime ADate);

// The date moved by a number of months (may be negative), the day clamped to
// the end of the target month; the time of day is dropped.
// Throws EAccDateRange when the result lies outside the years 1..9999.
TDateTime fnTukiKasan(int AMonths, TDateTime ADate);

// The closing date on or after ADate (a date after this month's closing day
// belongs to next month's), AMonths months later. A closing-day code other than
// 1..28 and 99 returns ADate unchanged, time included.
// Throws EAccDateRange when the result lies outside the years 1..9999.
TDateTime fnSimebiHizuke(int AMonths, int ASime, TDateTime ADate);

// Day of the month (1..31).
int fnHi(TDateTime ADate);

// Months between the closing dates of AFrom and ATo (negative when ATo's
// closing month lies before AFrom's).
int fnTukisuu(int ASime, TDateTime AFrom, TDateTime ATo);

// Period number (1..16) of ADate in the fiscal year AKishu..AKimatu; a date
// after the fiscal end counts as the fiscal end's month; -1 when the month
// lies outside the year. With the closing-period option (AOpt == 1; any other
// value counts as 0) a date in a quarter's last month belongs to that
// quarter's closing period (4, 8, 12, 16), and the fiscal end date itself to
// 16 even in a shortened year.
//
// Argument order: closing-day code, option, fiscal start, fiscal end, date.
// The year-end period number of a data set is
//   fnKikanNo(SIME, 0, KISHU, KIMATU, KIMATU).
int fnKikanNo(int ASime, int AOpt, TDateTime AKishu, TDateTime AKimatu, TDateTime ADate);

// Period number for the months between two fiscal starts (groups 3, 4, 3 and
// 3 months wide: a full year of twelve months gives 16); -1 outside 0..12.
int fnTukisuuKikanNo(int ASime, TDateTime AFrom, TDateTime ATo);
