#pragma once
// Entry points of the accounting computation. A caller sizes the balance
// table and the sort keys with fnBalanceRecMax, has them filled by a reading
// (pcSisanhyoRead or pcKessansyoRead), computes a period range with
// pcBalanceCalcu and walks the sort keys. Each entry point dispatches on
// AccInf.ZaimuDataType to the general or the medical-corporation branch.
//
// The company database and the reporter come from AccCalcEnv.h.

#include "acccalc/AccBalance.h"

// Reads the trial balance into the table (every row is reset first).
//   ASCODE       branch/facility (or group) code for the modes that select one
//   ABCODE       department (or department group) code; blank = whole company
//   AZeiKbn      0 tax included, 1 tax excluded (the procedures' TAX)
//   ABalanceType 0 whole company (or one department total), 1 branch group /
//                business division, 2 one branch / facility, 3 one department
//                with allocation, 4 each department of a group, 5 a facility
//                group (medical data)
//   ALayoutKbn   0 trial-balance layout, 1 A4 lines, 2 A3 lines, 3 and 4 the
//                statement layouts
//   AYousikiKbn  form style; ABumonHaifu department allocation (HAIBUN);
//   AJigyoKbn    business division (medical data only);
//   AZenkiZeiAtukai tax handling of the previous year (general data only).
// Returns false when a database error stopped the reading; the error has
// been reported and the table must not be used.
bool pcSisanhyoRead(TBalanceArray& ABalance, TQSortArray& ASort, const QString& ASCODE, const QString& ABCODE,
                    int AZeiKbn, int ABalanceType, int ALayoutKbn, int AYousikiKbn, int ABumonHaifu, int AJigyoKbn,
                    int AZenkiZeiAtukai);

// Reads the financial-statement balances of statement kind AKind with fixed
// settings. Returns false as pcSisanhyoRead.
bool pcKessansyoRead(TBalanceArray& ABalance, TQSortArray& ASort, int AKind, int AZeiKbn, int AJigyoKbn,
                     int AZenkiZeiAtukai);

// Computes opening (WNUM1), debit (WNUM2), credit (WNUM3) and closing (WNUM4)
// amounts, shares and ratios (WNUM5) and the prior-year figure (ZENKI) of
// every row over a range of periods, and the statement total lines.
//   ASyuukeiKbn 1: every row starts the range from zero
//   AKikan      0 the range as passed; 1..4 the quarters; 5 periods 1-8;
//               6 periods 9-16; 7 as passed, for the statements
//   AFrom, ATo  first and last period, 1..16
// Periods outside 1..16 are reported and brought into 1..16.
// Database errors of the total-name look-up are reported and raised again
// (general data).
void pcBalanceCalcu(TBalanceArray& ABalance, int ASyuukeiKbn, int AKikan, int AFrom, int ATo, int AJigyoKbn);

// The branches, for callers that know the data kind.
bool pcSisanhyoRead_Ippan(TBalanceArray& ABalance, TQSortArray& ASort, const QString& ASCODE, const QString& ABCODE,
                          int AZeiKbn, int ABalanceType, int ALayoutKbn, int AYousikiKbn, int ABumonHaifu,
                          int AZenkiZeiAtukai);
bool pcSisanhyoRead_Iryou(TBalanceArray& ABalance, TQSortArray& ASort, const QString& ASCODE, const QString& ABCODE,
                          int AZeiKbn, int ABalanceType, int ALayoutKbn, int AYousikiKbn, int ABumonHaifu,
                          int AJigyoKbn);
void pcBalanceSheet_Calcu(TBalanceArray& ABalance, int ASyuukeiKbn, int AKikan, int AFrom, int ATo);
void pcBalanceSheet_CalcuIryou(TBalanceArray& ABalance, int ASyuukeiKbn, int AKikan, int AFrom, int ATo, int AJigyoKbn);

// Statement lines of the medical-corporation layout at one period position
// (-32..16): sums the accounts into the total lines, applies the line
// formulas and stores the component ratios in KOUSEI.
void pcKikanLineCalcu_Iryou(TBalanceArray& ABalance, int APos, int AJigyoKbn);

// The period message shown for a range outside 1..16.
QString fnKikanErrorText(int AFrom, int ATo);
