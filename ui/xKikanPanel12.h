#pragma once
// Twelve-cell period selector: the twelve months of a fiscal year, without
// closing cells. Setting Stno or Edno keeps both inside the selectable cells
// and in order.

#include <array>

#include "ui/xKikanPanelBase.h"

class TxKikanPanel12 : public TxKikanPanelBase {
  Q_OBJECT
 public:
  explicit TxKikanPanel12(QWidget* AParent = nullptr);

  void SetKikan(TDateTime tKishu, TDateTime tKimatu, TDateTime tKaisi, int iSime) override;
  void SetStno(int AValue) override;
  void SetEdno(int AValue) override;

  // Period index of the selected months (0, 1, 2, 4, 5, 6, ... 14).
  int StMonNo() const;
  int EdMonNo() const;
  int LastNo() const { return FLASTPANELNO; }

  bool KakuteiMode() const { return FKakuteiMode; }
  void SetKakuteiMode(bool AValue);
  int KakuteiMNo() const { return FKakuteiMNo; }
  void SetKakuteiMNo(int AValue);
  TColor KakuteiBackColor() const { return FKakuteiBackColor; }
  void SetKakuteiBackColor(TColor AValue);
  TColor KakuteiFontColor() const { return FKakuteiFontColor; }
  void SetKakuteiFontColor(TColor AValue);

  // Month index (0..11) of ADate in the fiscal year starting on AKishu;
  // outside the year 11.
  static int fnDateMonthNo(TDateTime AKishu, TDateTime ADate, int ASime);

 protected:
  bool KakuteiCell(int AIndex) const override { return FKakuteiMode && AIndex <= FKakuteiMNo - 1; }
  TColor KakuteiBack() const override { return FKakuteiBackColor; }
  TColor KakuteiFont() const override { return FKakuteiFontColor; }

 private:
  void normalise();

  std::array<int, 12> FNUM{};
  int FLASTPANELNO = 11;
  bool FKakuteiMode = false;
  int FKakuteiMNo = 0;
  TColor FKakuteiBackColor = RGBColor(255, 128, 64);
  TColor FKakuteiFontColor = clWhite;
};
