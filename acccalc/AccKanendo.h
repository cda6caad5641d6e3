#pragma once
// Placement of prior-year and budget records into the balance table, shared
// by the general and the medical-corporation readers. Internal to the
// computation.

#include <functional>

#include <QString>

#include "acccalc/AccBalance.h"

namespace db {
class Query;
class Transaction;
}  // namespace db

namespace acccalc {

// Runs ABody in the company database's snapshot transaction (started when
// not active) and commits it afterwards, also when ABody throws.
void runInSnapshot(const std::function<void(db::Transaction&)>& ABody);

// Before the earlier years arrive (general data): positions 0 .. (the period
// of the start month) - 1 of every row and sub-account row become 0, and
// the openings of the earlier years (KAISIZAN_A 1 and 2; 0 too when the
// bookkeeping starts after the first month).
void clearEarlierPositions(TBalanceArray& ABalance, bool AClearOpenings);

// KEIHKUBU of the profit-and-loss accounts from the account master.
void readKeihKubun(db::Query& AQuery, TBalanceArray& ABalance, int AFirstRow);

// Places prior-year records (NENDO, KISHU, ZAN01..ZAN16) and budget records
// (YOSAN01.., YOSAN201.., YOSAN301.., JISSEKI01.., JKUBUN01..) of an
// open-ready query into the rows they name: by KCODE and HCODE in the
// trial-balance layout, by KGROUP and SUBREC (against GROUPM2 or, when told,
// GROUPR2, and WSUBREC) in the line layouts. A record whose row is not in
// the table is skipped, as is a record of a year other than 0, 1 or 2.
class TKanendoPlacer {
 public:
  TKanendoPlacer(TBalanceArray& ABalance, int AFirstRow) : B(ABalance), FFirst(AFirstRow) {}

  // Medical data: an account "9301" takes its opening into its first
  // period's movement; sub-accounts take their budget rather than add it.
  bool FMedical = false;
  // Line layouts: match the record's KGROUP against GROUPR2.
  bool FUseGroupR2 = false;

  // Reads the prior-year query and places it, then folds shortened earlier
  // years. TOUKI_KISHU of every row is cleared once, before the first
  // placement of the reading, when the bookkeeping starts after the year's
  // first month.
  void placeKanendo(db::Query& AQuery, bool ALines);
  // Reads the budget query and places it.
  void placeYosan(db::Query& AQuery, bool ALines);

 private:
  TBalanceArray& B;
  int FFirst;
  bool FKishuCleared = false;

  int findRow(db::Query& AQuery, bool ALines, int& AHojo);
};

// The shortened earlier years folded into their last position, by the
// starts of the three years (TACCINF zzKISHU, zKISHU and KISHU, an empty
// earlier start counting as twelve months before the next). ASubs: the
// sub-account rows too.
void foldEarlierYears(TBalanceArray& ABalance, bool ASubs);

}  // namespace acccalc
