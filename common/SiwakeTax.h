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
  QString KGROUP;
  QString KCODE;  // the account code the user sees (USERCODE)
  QString HCODE;
  QString BCODE;
  QString KNAME;
  QString HNAME;
  QString BNAME;
  int TAXCODE = 0;
  int TAXUH = 0;  // 1 output tax, 2 input tax, other: no tax
  int TAXDC = 0;  // debit or credit side of the tax code
  Currency NUK;   // net amount
  Currency ZEI;   // tax
  Currency RIT;   // rate in percent
  int SIKIN = 0;  // fund code
  int ZEIRITUKBN = 0;
};

// One journal entry: a debit side and a credit side.
struct TSWKREC {
  QString PCNAME;
  int REC = 0;
  int SITREC = 0;
  int SWKREC = 0;
  int SWKNO = 0;
  int DELFLG = 0;
  int TAISHAKU = 0;
  TDateTime HIZUKE = 0;
  int MNUM = 0;
  int KESSAN = 0;
  int SDAYNUM = 0;
  int MDAYNUM = 0;
  int DNUM = 0;  // group number (the lines of one compound entry share it)
  int SNUM = 0;  // document number, also the individual-cost code
  QString SCODE;
  TSwkBalance LK;  // debit
  TSwkBalance RK;  // credit
  Currency KINGAKU;
  Currency ZEIGAKU;
  int ZEIRITUNO = 0;
  int AUTCALCU = 0;  // 0: tax entered by hand
  int TAXCALCU = 0;  // 0 tax included, 1 tax excluded, other: no tax
  int OLDRATE = 0;
  int TEKCODE = 0;
  QString TEKTEXT;
  int TORCODE = 0;
  QString TORTEXT;
  int FUSEN1 = 0;
  int FUSEN2 = 0;
  int FUSEN3 = 0;
  int FUSEN4 = 0;
  int FUSEN5 = 0;
  TDateTime CTIME = 0;  // audit time
  QString COMMENT;
  QString AO_COMMENT;
  QString LINKKEY;
  int LINKKUB = 0;  // 9 tax entries, 12 transfer, 13 receipt, 14 payment voucher
  int LINKREC = 0;  // voucher number
  int LOCALFLG = 0;
  int RESERVE1 = 0;
  int RESERVE2 = 0;
  TDateTime RTIME = 0;
  int OPCODE = 0;
  TDateTime SYOUNIN_HIZUKE = 0;  // approval
  int SYOUNIN_OPCODE = 0;
  QString SYOUNIN_OPNAME;
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
