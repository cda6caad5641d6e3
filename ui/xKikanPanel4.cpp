#include "ui/xKikanPanel4.h"

#include "ui/xKikanPanel12.h"

TxKikanPanel4::TxKikanPanel4(QWidget* AParent) : TxKikanPanelBase(4, AParent)
{
  fgLayout = true;
  resize(80, 22);
  fgLayout = false;
  for (int i = 0; i < 4; ++i)
    FButton[i]->setText(QString::number(i + 1));
  FStno = 0;
  FEdno = 3;
  FStMonth = 3;
  FKikan = 3;
  iMousStartNo = 0;
  iMousLastNo = 3;
  LayoutCells();
}

void TxKikanPanel4::SetBtnCnt(int AValue)
{
  if (AValue == FBTNCNT || (AValue != 2 && AValue != 4))
    return;
  FBTNCNT = AValue;
  if (AValue == 2) {
    FButton[0]->setText(QStringLiteral("上"));
    FButton[1]->setText(QStringLiteral("下"));
    for (int i = 2; i < 4; ++i) {
      FButton[i]->clear();
      FButton[i]->setVisible(false);
    }
    FStno = 0;
    FEdno = 1;
    FKikan = 1;
  } else {
    for (int i = 0; i < 4; ++i) {
      FButton[i]->setText(QString::number(i + 1));
      FButton[i]->setVisible(true);
    }
    FStno = 0;
    FEdno = 3;
    FKikan = 3;
  }
  FStMonth = FBTNCNT - 1;
  iMousStartNo = FStno;
  iMousLastNo = FEdno;
  LayoutCells();
}

void TxKikanPanel4::SetKikan(TDateTime tKishu, TDateTime tKimatu, TDateTime tKaisi, int iSime)
{
  FKishu = tKishu;
  FKimatu = tKimatu;
  FKaisi = tKaisi;
  FSime = iSime;
  const int a = TxKikanPanel12::fnDateMonthNo(tKishu, tKaisi, iSime);
  const int b = TxKikanPanel12::fnDateMonthNo(tKishu, tKimatu, iSime);
  for (int i = 0; i < FBTNCNT; ++i) {
    FButton[i]->setVisible(true);
    SetCellPlain(i, false);
  }
  if (FBTNCNT == 2) {
    FStno = a < 6 ? 0 : 1;
    FEdno = b < 6 ? 0 : 1;
  } else {
    FStno = a / 3;
    FEdno = b / 3;
  }
  for (int i = FStno; i <= FEdno && i < FBTNCNT; ++i)
    FButton[i]->setEnabled(true);
  if (FKikanMove)
    FEdno = FStno;
  iMousStartNo = FStno;
  iMousLastNo = FEdno;
  LayoutCells();
  ProcessPending();
}

int TxKikanPanel4::KeyLowerBound() const
{
  for (int i = 0; i < FBTNCNT; ++i)
    if (FButton[i]->isEnabled())
      return i;
  return 0;
}

int TxKikanPanel4::KeyUpperBound() const
{
  for (int i = std::min(FKikan, FBTNCNT - 1); i >= 0; --i)
    if (FButton[i]->isEnabled())
      return i;
  return KeyLowerBound();
}
