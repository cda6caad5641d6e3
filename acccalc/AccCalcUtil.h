#pragma once
// Small helpers shared by the readers and the range computations. Internal
// to the computation.

#include <QHash>
#include <QString>

#include "acccalc/AccBalance.h"

namespace db {
class Query;
}

namespace acccalc {

inline Currency Cur(qint64 AUnits)
{
  return Currency::fromInt(AUnits);
}

// Debit-natured classes 1 and 4: balance = debit - credit; all other classes
// are credit-natured.
inline bool isDebitNatured(int ADac)
{
  return ADac == 1 || ADac == 4;
}

// A period's movement in the account's own direction.
inline Currency signedMove(int ADac, Currency AKar, Currency AKas)
{
  return isDebitNatured(ADac) ? AKar - AKas : AKas - AKar;
}

// Summed into a total line, classes 1 and 3 add, 2 and 4 subtract, others
// change nothing.
inline void addBySumClass(int ADac, Currency& ATarget, Currency AValue)
{
  if (ADac == 1 || ADac == 3)
    ATarget += AValue;
  else if (ADac == 2 || ADac == 4)
    ATarget -= AValue;
}

// ALow < ACode < AHigh in plain character-code order.
inline bool codeBetween(const QString& ACode, const char* ALow, const char* AHigh)
{
  return QString::fromLatin1(ALow) < ACode && ACode < QString::fromLatin1(AHigh);
}

// The text padded on the right with blanks and cut to its first AWidth
// characters (a surrogate pair counts as one character).
QString fitLeft(const QString& AText, int AWidth);

// An integer as at least two digits ("%2.2d").
QString twoDigits(int AValue);

// The code read as a whole number; 0 when it is not one.
int codeNumber(const QString& ACode);

// Sorts AKeys[ALo..AHi] by Key in UTF-16 code-unit order (Hoare quicksort
// around the middle element; equal keys keep no particular order).
void quickSortKeys(TQSortArray& AKeys, int ALo, int AHi);

// A sub-account's share of its account's closing balance in per cent with one
// decimal (rounded half away from zero), limited to -999 .. 9999; 0 when the
// account closes at 0.
Currency subAccountShare(Currency ASub, Currency AAccount);

// Grows the table and the keys so that row ARow exists (a new row is empty
// and its key hidden).
void ensureRow(TBalanceArray& ABalance, TQSortArray& ASort, int ARow);

// The range of a period selector (0 and others: as passed; 1..4 the
// quarters; 5 periods 1-8; 6 periods 9-16). A first period below 1 with
// selector 0, and any range outside 1..16, is reported; the range is then
// brought into 1..16 so that no period array is read out of its bounds.
void periodRange(int AKikan, int& AFrom, int& ATo);

// General layout: the row of total line n, the line an account's group code
// is added into (ARangeFigures: the range figures; otherwise the period
// balances and budgets), and a ratio clamped to -999 .. 9999.
int generalLineRow(int n);
int generalLineOf(const QString& AGroup, bool ARangeFigures);
Currency fnRituClamp(Currency AValue);

// A shortened earlier year folded: positions AFirst..ALast of both balance
// arrays of every row 0..last (sub-account rows are left as they are) become
// 0, and the movement at position AEnd becomes the balance at AEnd minus the
// balance at AFirst - 1, so that the year's last position carries everything
// from its last real period on. ASubs: the sub-account rows too.
void foldShortYear(TBalanceArray& ABalance, int AFirst, int ALast, int AEnd, bool ASubs = false);

// The amount times a rate, first rounded to four decimals, then truncated
// toward zero to whole units (the allocation of a common department).
Currency truncRate(Currency AAmount, double ARate);

// Column positions of a query's current result, looked up once per result.
class Columns {
 public:
  explicit Columns(const db::Query& AQuery) : m_q(AQuery) {}
  // Index of a column; a DbError (gdscode 0) when the result has none.
  int operator()(const char* AName);

 private:
  const db::Query& m_q;
  QHash<QString, int> m_cache;
};

// The records that follow an account's record and carry its account code
// are its sub-accounts: read from AQuery (positioned on the first of them)
// into ARow until another account's record or the end. They are counted as
// they are read, so an account never holds rows that no record filled; a
// sub-account code met again in a later placement (as in the department
// loop) adds into its row.
void placeSubAccounts(db::Query& AQuery, Columns& AColumns, TBALANCE& ARow);

}  // namespace acccalc
