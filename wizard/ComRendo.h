// The general balance loader of the export: owns a balance table and its
// sort keys, and reads them for a range of the sixteen accounting periods
// through the accounting computation (whole company, trial-balance layout,
// no department allocation).
//
// Period numbers here count from 0 (0..15, closing periods 3, 7, 11, 15) as
// the wizard's period panel does; the computation counts from 1.
#pragma once

#include <QString>

#include "acccalc/AccBalance.h"

// The periods a reading hands to the computation.
struct TZaimuLoadRange {
  int From = 1;          // first period, 1..16
  int To = 16;           // last period, 1..16
  int EndMNum = 15;      // the range's last period index after the closing-period rule
  int SelEndNum12 = 12;  // month ordinal 1..12 of the range's last period
};

// The closing-period rule: when the panel's closing period LastMNum is not
// 15 and the range ends on it, the range runs to the end of the year (the
// computation's last period is 16, the end index becomes 15) and the month
// is that of the period before it. Throws std::out_of_range for an index
// outside 0..15.
TZaimuLoadRange fnZaimuLoadRange(int StartMNum, int EndMNum, int LastMNum);

class TZaimuDataLoad {
 public:
  TZaimuDataLoad() = default;
  virtual ~TZaimuDataLoad() = default;
  TZaimuDataLoad(const TZaimuDataLoad&) = delete;
  TZaimuDataLoad& operator=(const TZaimuDataLoad&) = delete;

  // Fills the table with the trial-balance figures of StartMNum..EndMNum;
  // EndMNum may change (closing-period rule). Throws when the reading or
  // the computation failed: a table that is not whole is never handed on.
  void ReadSisanhyo();
  // Fills the table with the financial-statement figures of the year.
  void ReadKessansyo();

  QString FSCODE = QStringLiteral(" ");  // one blank: the whole company
  QString FBCODE = QStringLiteral(" ");
  int FStartMNum = 0;
  int FEndMNum = 15;
  int FLastMNum = 15;
  int FBalanceType = 0;
  int FZeiKbn = 0;  // 0 tax included, 1 tax excluded
  int FDac = 0;
  int FSyuukeiKbn = 0;  // start from the opening balance
  int FPaperKbn = 0;    // trial-balance layout
  int FHaifu = 0;       // no department allocation
  int FKikan = 0;       // period selector: the range as passed
  int FSyotokuSyurui = 0;
  int FTaxKAZEI = 0;
  int FTaxJIGYOU = 0;
  int FTaxKEISAN = 0;
  int FJigyoKbn = 0;  // business division (16 for medical-corporation data)
  int FTegataSosaiKbn = 0;
  int FSelEndNum12 = 12;

  int FRecMax = 0;
  TQSortArray FBalanceSortRec;
  TBalanceArray FBalanceRec;

 private:
  void resetTable();
};
