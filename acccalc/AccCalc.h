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

// Reads the trial balance and then, into the same rows, the two previous
// years, the months of the current year before its start, and the budgets;
// builds the statement lines of every period position and of the budgets.
//   AZenkiTaxSw  general data: 1 reads the earlier years with the company's
//                carry-over tax setting (KURIKOSI1 of ACCDEF1)
//   AZenkiZeiAtukai medical data: 1 reads them with KURIKOSI1 as it stands
// Returns false when a database error stopped the trial-balance reading (it
// has been reported; the table must not be used). A database error of the
// prior-year or budget reading is raised to the caller.
bool pcKanendoYosanRead(TBalanceArray& ABalance, TQSortArray& ASort, const QString& ASCODE, const QString& ABCODE,
                        int AZeiKbn, int ABalanceType, int ALayoutKbn, int ABumonHaifu, int AJigyoKbn, int AZenkiTaxSw,
                        int AYousikiKbn, int AZenkiZeiAtukai);

// The branches, for callers that know the data kind.
bool pcSisanhyoRead_Ippan(TBalanceArray& ABalance, TQSortArray& ASort, const QString& ASCODE, const QString& ABCODE,
                          int AZeiKbn, int ABalanceType, int ALayoutKbn, int AYousikiKbn, int ABumonHaifu,
                          int AZenkiZeiAtukai);
bool pcSisanhyoRead_Iryou(TBalanceArray& ABalance, TQSortArray& ASort, const QString& ASCODE, const QString& ABCODE,
                          int AZeiKbn, int ABalanceType, int ALayoutKbn, int AYousikiKbn, int ABumonHaifu,
                          int AJigyoKbn);
bool pcKanendoYosanRead_Ippan(TBalanceArray& ABalance, TQSortArray& ASort, const QString& ASCODE, const QString& ABCODE,
                              int AZeiKbn, int ABalanceType, int ALayoutKbn, int ABumonHaifu, int AZenkiTaxSw);
bool pcKanendoYosanRead_Iryou(TBalanceArray& ABalance, TQSortArray& ASort, const QString& ASCODE, const QString& ABCODE,
                              int AZeiKbn, int ABalanceType, int ALayoutKbn, int ABumonHaifu, int AJigyoKbn,
                              int AYousikiKbn, int AZenkiZeiAtukai);
void pcBalanceSheet_Calcu(TBalanceArray& ABalance, int ASyuukeiKbn, int AKikan, int AFrom, int ATo);
void pcBalanceSheet_CalcuIryou(TBalanceArray& ABalance, int ASyuukeiKbn, int AKikan, int AFrom, int ATo, int AJigyoKbn);

// Statement lines of the medical-corporation layout at one period position
// (-32..16): sums the accounts into the total lines, applies the line
// formulas and stores the component ratios in KOUSEI.
void pcKikanLineCalcu_Iryou(TBalanceArray& ABalance, int APos, int AJigyoKbn);

// Statement lines of the general layout at one period position (-32..16):
// the balances and movements of the account rows summed into their lines
// (with the openings TOUKI_KISHU, and KAISIZAN_A at position 16), the line
// formulas, and the component ratios in KOUSEI.
void pcTotalLineBuildZan(TBalanceArray& ABalance, int APos);
// The budget lines of the general layout at period APos (1..15): YOSAN, the
// three PROYOSAN blocks and PROJISSEKI of the profit-and-loss accounts summed
// into their lines and the profit-and-loss formulas.
void pcTotalLineBuildYosan(TBalanceArray& ABalance, int APos);
// The balance-sheet line formulas of the general layout on the openings
// TOUKI_KISHU and KAISIZAN_A (after the period positions are built).
void pcTotalLineBuildKishu(TBalanceArray& ABalance);
// One account row added into a line at period position APos / budget period.
void pcTotalLineAddZan(TBALANCE& ALine, const TBALANCE& ASource, int APos);
void pcTotalLineAddYosan(TBALANCE& ALine, const TBALANCE& ASource, int APos);

// The facility and department breakdown (balance type 6): fills the table
// from the figure tables by facility, department, account and sub-account;
// returns the last row placed. The table must have been reset.
int pcSisetuBumonRead(TBalanceArray& ABalance, TQSortArray& ASort, const TCalcSisanhyoSettingRec& ASetting);
// The earlier years and budgets added to the rows of that breakdown.
void pcSisetuBumonKakoRead(TBalanceArray& ABalance, TQSortArray& ASort, const TCalcSisanhyoSettingRec& ASetting);

// The period message shown for a range outside 1..16.
QString fnKikanErrorText(int AFrom, int ATo);
