#include "acctables/AccKikan.h"

#include <algorithm>

using acccalc::makeDate;
using acccalc::splitDate;

namespace {

// Days per month, element 0 unused.
const std::uint16_t kMonthDays[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

bool isClosingDayCode(int ASime)
{
  return (ASime >= 1 && ASime <= 28) || ASime == 99;
}

}  // namespace

int fnTukiIdxToKikanNo(int ATukiIdx)
{
  if (ATukiIdx >= 0 && ATukiIdx <= 2)
    return ATukiIdx + 1;
  if (ATukiIdx >= 3 && ATukiIdx <= 5)
    return ATukiIdx + 2;
  if (ATukiIdx >= 6 && ATukiIdx <= 8)
    return ATukiIdx + 3;
  if (ATukiIdx >= 9 && ATukiIdx <= 11)
    return ATukiIdx + 4;
  return -1;
}

int fnTukiNoToKikanIdx(int ATukiNo)
{
  if (ATukiNo >= 1 && ATukiNo <= 3)
    return ATukiNo - 1;
  if (ATukiNo >= 4 && ATukiNo <= 6)
    return ATukiNo;
  if (ATukiNo >= 7 && ATukiNo <= 9)
    return ATukiNo + 1;
  if (ATukiNo >= 10 && ATukiNo <= 12)
    return ATukiNo + 2;
  return 0;
}

bool fnUruuDosi(std::uint16_t AYear)
{
  return (AYear % 4 == 0) && ((AYear % 100 != 0) || (AYear % 400 == 0));
}

TDateTime fnHizukeKasan(int ADays, TDateTime ADate)
{
  return TDateTime(static_cast<double>(ADate) + ADays);
}

TDateTime fnTukiKasan(int AMonths, TDateTime ADate)
{
  const acccalc::Ymd s = splitDate(ADate);
  const long long t = static_cast<long long>(s.y) * 12 + s.m + AMonths;
  long long year = t / 12;
  long long month = t % 12;
  if (month == 0) {
    month = 12;
    year -= 1;
  }
  int day = s.d;
  if (year < 1 || year > 9999 || month < 1)
    throw EAccDateRange("month arithmetic left the years 1..9999");
  if (month == 2 && day > 28)
    day = fnUruuDosi(static_cast<std::uint16_t>(year)) ? 29 : 28;
  else if (kMonthDays[month] < day)
    day = kMonthDays[month];
  return makeDate(static_cast<int>(year), static_cast<int>(month), day);
}

TDateTime fnSimebiHizuke(int AMonths, int ASime, TDateTime ADate)
{
  if (!isClosingDayCode(ASime))
    return ADate;
  const acccalc::Ymd s = splitDate(ADate);
  int k = AMonths;
  if (ASime < s.d)
    k += 1;
  const acccalc::Ymd t = splitDate(fnTukiKasan(k, ADate));
  int day;
  if (ASime != 99)
    day = ASime;
  else if (t.m == 2 && fnUruuDosi(static_cast<std::uint16_t>(t.y)))
    day = 29;
  else
    day = kMonthDays[t.m];
  return makeDate(t.y, t.m, day);
}

int fnHi(TDateTime ADate)
{
  return splitDate(ADate).d;
}

int fnTukisuu(int ASime, TDateTime AFrom, TDateTime ATo)
{
  const acccalc::Ymd a = splitDate(fnSimebiHizuke(0, ASime, AFrom));
  const acccalc::Ymd b = splitDate(fnSimebiHizuke(0, ASime, ATo));
  return (b.y - a.y) * 12 + (b.m - a.m);
}

int fnKikanNo(int ASime, int AOpt, TDateTime AKishu, TDateTime AKimatu, TDateTime ADate)
{
  const int m = std::min(fnTukisuu(ASime, AKishu, AKimatu), fnTukisuu(ASime, AKishu, ADate));
  int opt = (AOpt == 1) ? 1 : 0;
  if (opt == 1 && static_cast<double>(AKimatu) == static_cast<double>(ADate))
    return 16;
  if (opt == 1 && m != 2 && m != 5 && m != 8 && m != 11)
    opt = 0;
  if (m >= 0 && m <= 2)
    return m + 1 + opt;
  if (m >= 3 && m <= 5)
    return m + 2 + opt;
  if (m >= 6 && m <= 8)
    return m + 3 + opt;
  if (m >= 9 && m <= 11)
    return m + 4 + opt;
  return -1;
}

int fnTukisuuKikanNo(int ASime, TDateTime AFrom, TDateTime ATo)
{
  const int n = fnTukisuu(ASime, AFrom, ATo);
  if (n >= 0 && n <= 2)
    return n + 1;
  if (n >= 3 && n <= 6)
    return n + 2;
  if (n >= 7 && n <= 9)
    return n + 3;
  if (n >= 10 && n <= 12)
    return n + 4;
  return -1;
}
