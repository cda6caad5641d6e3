#pragma once
// Four-cell period selector: the fiscal year as four quarters ("1".."4") or,
// with BtnCnt 2, as two half-years ("上", "下"). SetKikan enables the cells
// that the data covers and selects the first of them.

#include "ui/xKikanPanelBase.h"

class TxKikanPanel4 : public TxKikanPanelBase {
  Q_OBJECT
 public:
  explicit TxKikanPanel4(QWidget* AParent = nullptr);

  void SetKikan(TDateTime tKishu, TDateTime tKimatu, TDateTime tKaisi, int iSime) override;

  int BtnCnt() const { return FBTNCNT; }
  // Only 2 and 4 are taken.
  void SetBtnCnt(int AValue);

 protected:
  // The arrow keys move within the enabled cells; Right on the last one
  // goes back to the first.
  int KeyLowerBound() const override;
  int KeyUpperBound() const override;
  int RightWrapTarget() const override { return KeyLowerBound(); }
  int LayoutCellCount() const override { return FBTNCNT; }

 private:
  int FBTNCNT = 4;
};
