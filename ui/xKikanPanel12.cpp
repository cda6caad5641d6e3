#include "ui/xKikanPanel12.h"

#include <QDate>

TxKikanPanel12::TxKikanPanel12(QWidget* AParent) : TxKikanPanelBase(12, AParent)
{
  FStno = 0;
  FEdno = 11;
  const int year = QDate::currentDate().year();
  SetKikan(EncodeDate(year, 1, 1), EncodeDate(year, 12, 31), EncodeDate(year, 1, 1), 99);
}

int TxKikanPanel12::fnDateMonthNo(TDateTime AKishu, TDateTime ADate, int ASime)
{
  const int e = fnSimeMonths(AKishu, ADate, ASime);
  return (e < 0 || e > 11) ? 11 : e;
}

void TxKikanPanel12::SetKikan(TDateTime tKishu, TDateTime tKimatu, TDateTime tKaisi, int iSime)
{
  FKishu = tKishu;
  FKimatu = tKimatu;
  FKaisi = tKaisi;
  FSime = iSime;
  FKikan = FLASTPANELNO = fnDateMonthNo(tKishu, tKimatu, iSime);
  FStMonth = FStno = std::min(fnDateMonthNo(tKishu, tKaisi, iSime), FKikan);
  FEdno = FKikanMove ? FKikan : FStno;
  FNUM = {0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14};

  for (int i = 0; i < 12; ++i) {
    FButton[i]->setVisible(true);
    FButton[i]->setEnabled(true);
    FButton[i]->clear();
    SetCellColors(i, FBackColor, FFontColor);
  }
  for (int i = 0; i < FStMonth; ++i)
    SetCellPlain(i, false);
  for (int j = 0; j <= FKikan; ++j) {
    int y = 0, m = 0, d = 0;
    DecodeDate(fnSimeDate(tKishu, j, iSime), y, m, d);
    FButton[j]->setText(QString::number(m));
  }
  for (int i = FKikan + 1; i < 12; ++i)
    SetCellPlain(i, true);

  iMousStartNo = FStno;
  iMousLastNo = FEdno;
  LayoutCells();
  ProcessPending();
}

void TxKikanPanel12::normalise()
{
  const int a = std::clamp(FStno, 0, std::max(0, FKikan));
  const int b = std::clamp(FEdno, 0, std::max(0, FKikan));
  FStno = iMousStartNo = std::min(a, b);
  FEdno = iMousLastNo = std::max(a, b);
  SetButtonColor();
}

void TxKikanPanel12::SetStno(int AValue)
{
  FStno = AValue;
  normalise();
}

void TxKikanPanel12::SetEdno(int AValue)
{
  FEdno = AValue;
  normalise();
}

int TxKikanPanel12::StMonNo() const
{
  return (FStno >= 0 && FStno <= 11) ? FNUM[FStno] : FStno;
}

int TxKikanPanel12::EdMonNo() const
{
  return (FEdno >= 0 && FEdno <= 11) ? FNUM[FEdno] : FEdno;
}

void TxKikanPanel12::SetKakuteiMode(bool AValue)
{
  if (AValue == FKakuteiMode)
    return;
  FKakuteiMode = AValue;
  SetButtonColor();
}

void TxKikanPanel12::SetKakuteiMNo(int AValue)
{
  if (AValue == FKakuteiMNo)
    return;
  FKakuteiMNo = AValue;
  SetButtonColor();
}

void TxKikanPanel12::SetKakuteiBackColor(TColor AValue)
{
  if (AValue == FKakuteiBackColor)
    return;
  FKakuteiBackColor = AValue;
  SetButtonColor();
}

void TxKikanPanel12::SetKakuteiFontColor(TColor AValue)
{
  if (AValue == FKakuteiFontColor)
    return;
  FKakuteiFontColor = AValue;
  SetButtonColor();
}
