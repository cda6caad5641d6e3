#include "ui/xKikanPanel16.h"

#include <QDate>

TxKikanPanel16::TxKikanPanel16(QWidget* AParent) : TxKikanPanelBase(16, AParent)
{
  FNUM.fill(-1);
  FStno = 0;
  FEdno = 15;
  const int year = QDate::currentDate().year();
  SetKikan(EncodeDate(year, 1, 1), EncodeDate(year, 12, 31), EncodeDate(year, 1, 1), 99);
}

int TxKikanPanel16::fnDateCellNo(TDateTime AKishu, TDateTime ADate, int ASime)
{
  const int e = fnSimeMonths(AKishu, ADate, ASime);
  if (e >= 0 && e <= 14)
    return e + e / 3;
  return 15;
}

void TxKikanPanel16::SetKikan(TDateTime tKishu, TDateTime tKimatu, TDateTime tKaisi, int iSime)
{
  FKishu = tKishu;
  FKimatu = tKimatu;
  FKaisi = tKaisi;
  FSime = iSime;

  // The last month cell never lies past cell 14, so that the closing cell
  // after it stays inside the sixteen cells, however long the fiscal year.
  int lastMonth = fnDateCellNo(tKishu, tKimatu, iSime);
  if (lastMonth > 14)
    lastMonth = 14;
  FKikan = lastMonth;
  if (FKessan) {
    ++FKikan;
    FLASTPANELNO = FKikan;
  } else {
    FLASTPANELNO = FKikan + 1;
  }

  FStMonth = std::min(fnDateCellNo(tKishu, tKaisi, iSime), FKikan);
  FStno = FStMonth;
  FEdno = FKikanMove ? FKikan : FStno;

  for (int i = 0; i < 16; ++i) {
    FNUM[i] = -1;
    FButton[i]->setVisible(true);
    FButton[i]->setEnabled(true);
    FButton[i]->clear();
    SetCellColors(i, FBackColor, FFontColor);
  }
  for (int i = 0; i < FStMonth; ++i)
    SetCellPlain(i, false);

  for (int j = 0; j <= FLASTPANELNO && j < 16; ++j) {
    if (j == FLASTPANELNO || j == 15) {
      FButton[j]->setText(QStringLiteral("決"));
      FNUM[j] = 15;
    } else if (j == 3 || j == 7 || j == 11) {
      FButton[j]->setText(QStringLiteral("・"));
      FNUM[j] = j;
    } else {
      FNUM[j] = j;
      int y = 0, m = 0, d = 0;
      DecodeDate(fnSimeDate(tKishu, j - j / 4, iSime), y, m, d);
      FButton[j]->setText(QString::number(m));
    }
  }
  for (int i = FKessan ? FLASTPANELNO + 1 : FLASTPANELNO; i < 16; ++i)
    SetCellPlain(i, true);

  iMousStartNo = FStno;
  iMousLastNo = FEdno;
  LayoutCells();
  ProcessPending();
}

void TxKikanPanel16::SetEdno(int AValue)
{
  TxKikanPanelBase::SetEdno(std::min(AValue, FLASTPANELNO));
}

void TxKikanPanel16::SetKessan(bool AValue)
{
  if (AValue == FKessan)
    return;
  FKessan = AValue;
  if (!FKessan) {
    if (FKikan >= 0 && FKikan < 16)
      SetCellPlain(FKikan, true);
    if (FKikan > 0)
      --FKikan;
    // The closing cell is no longer selectable: pull the range back
    // inside the cells that are.
    FStno = std::clamp(FStno, std::min(FStMonth, FKikan), FKikan);
    FEdno = std::clamp(FEdno, std::min(FStMonth, FKikan), FKikan);
    iMousStartNo = FStno;
    iMousLastNo = FEdno;
    SetButtonColor();
  } else if (FKikan < 15) {
    ++FKikan;
    FButton[FKikan]->setEnabled(true);
    FButton[FKikan]->setText(QStringLiteral("決"));
  }
}

int TxKikanPanel16::CellPeriod(int AIndex) const
{
  return (AIndex >= 0 && AIndex < 16) ? FNUM[AIndex] : -1;
}

int TxKikanPanel16::StMonthNo() const
{
  return (FStno >= 0 && FStno <= 15) ? FNUM[FStno] : FStno;
}

int TxKikanPanel16::EdMonthNo() const
{
  return (FEdno >= 0 && FEdno <= 15) ? FNUM[FEdno] : FEdno;
}

void TxKikanPanel16::SetKakuteiMode(bool AValue)
{
  if (AValue == FKakuteiMode)
    return;
  FKakuteiMode = AValue;
  SetButtonColor();
}

void TxKikanPanel16::SetKakuteiMNo(int AValue)
{
  if (AValue == FKakuteiMNo)
    return;
  FKakuteiMNo = AValue;
  SetButtonColor();
}

void TxKikanPanel16::SetKakuteiBackColor(TColor AValue)
{
  if (AValue == FKakuteiBackColor)
    return;
  FKakuteiBackColor = AValue;
  SetButtonColor();
}

void TxKikanPanel16::SetKakuteiFontColor(TColor AValue)
{
  if (AValue == FKakuteiFontColor)
    return;
  FKakuteiFontColor = AValue;
  SetButtonColor();
}
