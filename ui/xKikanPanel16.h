#pragma once
// Sixteen-period selector: one row of sixteen cells, one per accounting
// period (twelve month cells with the quarter-closing cells 3, 7 and 11 and
// the year-end closing cell 15). A cell index is the period number minus
// one; in a shorter fiscal year the closing cell sits directly after the
// last month cell and stands for period index 15.

#include <array>

#include "ui/xKikanPanelBase.h"

class TxKikanPanel16 : public TxKikanPanelBase {
  Q_OBJECT
 public:
  explicit TxKikanPanel16(QWidget* AParent = nullptr);

  void SetKikan(TDateTime tKishu, TDateTime tKimatu, TDateTime tKaisi, int iSime) override;

  // Stno is stored as given; Edno is capped at LastNo.
  void SetEdno(int AValue) override;
  bool Kessan() const { return FKessan; }
  // False disables the year-end closing cell (and keeps the range inside
  // the cells that remain selectable); True makes it selectable again.
  void SetKessan(bool AValue);
  // Period index (0..15) of the selected cells; the closing cell counts as 15.
  int StMonthNo() const;
  int EdMonthNo() const;
  // Index of the year-end closing cell (with Kessan False, of the
  // disabled cell after the last month).
  int LastNo() const { return FLASTPANELNO; }
  // Period index that cell i stands for, -1 for an unlabelled cell.
  int CellPeriod(int AIndex) const;

  bool KakuteiMode() const { return FKakuteiMode; }
  void SetKakuteiMode(bool AValue);
  int KakuteiMNo() const { return FKakuteiMNo; }
  void SetKakuteiMNo(int AValue);
  TColor KakuteiBackColor() const { return FKakuteiBackColor; }
  void SetKakuteiBackColor(TColor AValue);
  TColor KakuteiFontColor() const { return FKakuteiFontColor; }
  void SetKakuteiFontColor(TColor AValue);

  // Cell index of ADate in the fiscal year that starts on AKishu: months
  // 1-3 → 0-2, 4-6 → 4-6, 7-9 → 8-10, 10-12 → 12-14, anything else 15.
  static int fnDateCellNo(TDateTime AKishu, TDateTime ADate, int ASime);

 protected:
  bool KakuteiCell(int AIndex) const override { return FKakuteiMode && AIndex <= FKakuteiMNo - 1; }
  TColor KakuteiBack() const override { return FKakuteiBackColor; }
  TColor KakuteiFont() const override { return FKakuteiFontColor; }

 private:
  std::array<int, 16> FNUM{};
  int FLASTPANELNO = 15;
  bool FKessan = true;
  bool FKakuteiMode = false;
  int FKakuteiMNo = 0;
  TColor FKakuteiBackColor = RGBColor(255, 128, 64);
  TColor FKakuteiFontColor = clWhite;
};
