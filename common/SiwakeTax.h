// Rounding of amounts to whole units by the company's rounding modes, and the
// consumption tax of one journal line (net amount, tax and rate of each side,
// the line's tax and rate kind). Main thread only (reads AccInf and the tax
// tables).
#pragma once

#include <QString>

#include "platform/Currency.h"
#include "platform/DateTime.h"

// One side of a journal line.
struct TSwkBalance {
  QString KCODE;
  int TAXCODE = 0;
  int TAXUH = 0;  // 1 output tax, 2 input tax, other: no tax
  int TAXDC = 0;  // debit or credit side of the tax code
  Currency NUK;   // net amount
  Currency ZEI;   // tax
  Currency RIT;   // rate in percent
  int ZEIRITUKBN = 0;
};

// One journal line (the fields the tax computation reads and writes).
struct TSWKREC {
  TDateTime HIZUKE = 0;
  Currency KINGAKU;
  Currency ZEIGAKU;
  int AUTCALCU = 0;  // 0: tax entered by hand
  int TAXCALCU = 0;  // 0 tax included, 1 tax excluded, other: no tax
  int OLDRATE = 0;
  TSwkBalance LK;  // debit
  TSwkBalance RK;  // credit
};

// Amount rounded to a whole unit: mode 0 toward zero, 2 away from zero when
// there is a fraction, any other half away from zero.
Currency fnRoundCurr(int Mode, const Currency& Amount);

// Fills TAXUH, TAXDC, NUK, ZEI and RIT of one side of the line. False (after
// an error box) when the figures cannot be computed.
bool fnCalcSiwakeTax(TSWKREC& Line, TSwkBalance& Side);

// Computes both sides, the line's rate kind and its tax. True when both
// sides were computed.
bool fnCalcSiwakeZeigaku(TSWKREC& Line);

// Exact Amount * Num / Den to four decimals, ties to even (the precision
// the tax figures are taken at before a rounding mode applies).
Currency fnMulDivNearest(const Currency& Amount, qint64 Num, qint64 Den);
