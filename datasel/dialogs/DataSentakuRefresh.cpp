// The data-selection dialog's row refresh, list reload and member rows, and
// its data places (further members of TDataSentakuBox).
#include <stdexcept>

#include <QComboBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

#include "common/DataModule.h"
#include "common/FbError.h"
#include "datasel/ComDataSentakuRefresh.h"
#include "datasel/dialogs/DataBasyo.h"
#include "datasel/dialogs/DataSentaku.h"
#include "db/DbError.h"
#include "platform/Paths.h"
#include "ui/ModalResult.h"
#include "ui/xAnimeProgressDialog.h"

TDataListRefresher& TDataSentakuBox::refresher()
{
  if (!FRefresher)
    FRefresher = std::make_unique<TDataListRefresher>(*FListCtl, AppType);
  return *FRefresher;
}

void TDataSentakuBox::DataInfoToListRec(TDataListRec& AData, bool AClear)
{
  pcDataInfoToListRec(FDataInfomationRec, AData, AClear);
}

void TDataSentakuBox::UpdateListRecord(const TDataListRec& AData)
{
  refresher().UpdateListRecord(AData);
}

int TDataSentakuBox::entryRowOf(int AIndex) const
{
  return FModel->EntryRow(AIndex);
}

void TDataSentakuBox::redrawEntry(int ARow)
{
  const int row = GetParentRow(ARow);
  if (!FModel->IsRow(row))
    return;
  const int pi = FModel->Row(row).Entry;
  if (pi < 0 || pi >= int(FDataList.size()))
    return;
  // The entry's row and its member rows are drawn anew from the entry.
  TDataSentakuRec& e = FDataList[std::size_t(pi)];
  if (IsGassanParent(e.Data.GassanDataKbn))
    TDataSentakuListCtl::SetChildData_DisplayDataListName(&e);
  FModel->ShowEntry(row, e);
}

void TDataSentakuBox::DataListRefreshRow(int ARow)
{
  DataListRefresh(ARow);
}

int TDataSentakuBox::DataListRefresh(int ARow)
{
  if (ARow >= 0) {
    if (ARow >= RowCount())
      return 0;
    int pi = -1, ci = -1;
    const TDataListRec r = GetRowDataRec(ARow, &pi, &ci);
    if (pi < 0 || pi >= int(FDataList.size()))
      return 0;
    if (r.Data_Status == jxdbHason) {
      FModel->SetRowData(ARow, r);
      return 0;
    }
    const TDataListRow& shown = FModel->Row(ARow);
    if (!shown.IsMember() && !IsGassanOwnRow(shown.Data.GassanDataKbn))
      return 0;
    const TDataRefreshResult res = refresher().RefreshEntry(FDataList[std::size_t(pi)], shown.IsMember() ? ci : -1,
                                                            GetRowDataPath(ARow), shown.ShowsName());
    FDataInfomationRec = refresher().LastInfo();
    // A question the server could not answer leaves the row as it is.
    if (res != drrServerError && res != drrNothing)
      redrawEntry(ARow);
    return 0;
  }

  if (AppType != jxatSA) {
    if (FProgress)
      FProgress->SetInfoLabel(QStringLiteral("データリストの更新中…"));
    const QString text = QStringLiteral("データリストの更新に失敗しました。");
    try {
      FListCtl->RestoreDataRecNo();
      DataListReload(0, RowCount() > 0 ? GetRowDataRec(0) : TDataListRec{});
    } catch (const db::DbError& e) {
      fnShowFbError(e, QStringLiteral("TDataSentakuBox.DataListRefresh"), text, true);
    } catch (const std::exception& e) {
      fnShowErrorDetail(text, QString::fromUtf8(e.what()), mtError);
    }
  }
  // From the top; a refreshed data set redraws its member rows right below
  // it, so the rows are counted as they stand.
  for (int r = 0; r < RowCount(); ++r) {
    if (FProgress) {
      if ((r + 1) % 5 == 0)
        FProgress->SetInfoLabel(QStringLiteral("データリスト（%1行目）の更新中…").arg(r + 1));
      QCoreApplication::processEvents();
      if (FProgress->Cancel())
        break;
    }
    try {
      DataListRefresh(r);
    } catch (const std::exception& e) {
      fnShowErrorDetail(QStringLiteral("データリストの更新に失敗しました。"), QString::fromUtf8(e.what()), mtError);
    }
  }
  return 0;
}

void TDataSentakuBox::DataListReload(int ATopRow, const TDataListRec& AData)
{
  DataListExecute();
  DataListDisplay();
  const int top = ATopRow < 0 ? 0 : ATopRow;
  if (RowCount() > 0 && top < RowCount())
    FGrid->scrollTo(FModel->index(top, dscol::No), QAbstractItemView::PositionAtTop);
  const int found = FModel->FindRec(AData);
  if (found >= 0) {
    FocusRow(found);
    return;
  }
  FocusRow(top != 0 ? RowCount() - 1 : 0);
}

void TDataSentakuBox::RemoveChildRows(int ARow, bool AAll)
{
  if (!FModel->IsRow(ARow))
    return;
  const int pi = FModel->Row(ARow).Entry;
  if (pi < 0 || pi >= int(FDataList.size()))
    return;
  TDataSentakuRec& e = FDataList[std::size_t(pi)];
  if (!AAll) {
    if (!FModel->Row(ARow).IsMember())
      return;
    TDataSentakuListCtl::DeleteChildData(&e, FModel->Row(ARow).Member);
    redrawEntry(ARow);
    return;
  }
  refresher().ClearChildData(e);
  const int row = GetParentRow(ARow);
  for (int r = RowCount() - 1; r > row; --r)
    if (FModel->Row(r).IsMember() && FModel->Row(r).Entry == pi)
      FModel->RemoveRows(r, 1);
}

void TDataSentakuBox::SetChildDisplayName(int ARow)
{
  if (ARow < 0 || ARow >= RowCount())
    return;
  const int pi = FModel->Row(ARow).Entry;
  if (pi < 0 || pi >= int(FDataList.size()))
    return;
  TDataSentakuListCtl::SetChildData_DisplayDataListName(&FDataList[std::size_t(pi)]);
}

// ---------------------------------------------------------------- data places

TDataPlaceBox* TDataSentakuBox::DataPlaceBox()
{
  if (!FPlaceBox)
    FPlaceBox = new TDataPlaceBox(this);
  return FPlaceBox;
}

void TDataSentakuBox::fillPlaceCombo()
{
  const QStringList names = FPlaceStore.GetItemList().split(QLatin1Char('\r'), Qt::SkipEmptyParts);
  FPlaceCombo->blockSignals(true);
  FPlaceCombo->clear();
  FPlaceCombo->addItems(names);
  int index = FPlaceStore.RecToIndex(FDataPlaceRec);
  if (index < 0) {
    FDataPlaceRec = 0;
    index = FPlaceStore.RecToIndex(0);
  }
  FPlaceCombo->setCurrentIndex(index);
  FPlaceCombo->blockSignals(false);
  if (index >= 0) {
    FDataPlaceRec = FPlaceStore.SelectRec(index);
    FDataPlacePath = FPlaceStore.SelectPath(index);
  } else {
    // No named root place: the system database's folder is place 0.
    FDataPlaceRec = 0;
    FDataPlacePath = SystemDef.IBPATHDEF;
  }
}

void TDataSentakuBox::onPlaceChosen()
{
  // Nothing is read until the combo is left.
  FPlaceChanging = true;
  FBtnPlace->setFocusPolicy(Qt::StrongFocus);
  FBtnKensaku->setEnabled(false);
  FBtnKensakuKaijyo->setEnabled(false);
  FGrid->setEnabled(false);
  SetFuncKeyCaption();
}

void TDataSentakuBox::DataPlaceLeave()
{
  FPlaceChanging = false;
  const int index = FPlaceCombo->currentIndex();
  if (index >= 0) {
    FDataPlaceRec = FPlaceStore.SelectRec(index);
    FDataPlacePath = FPlaceStore.SelectPath(index);
  }
  FBtnPlace->setFocusPolicy(Qt::NoFocus);
  FBtnKensaku->setEnabled(FProcType != dsptGensyouCall);
  FBtnKensakuKaijyo->setEnabled(FProcType != dsptGensyouCall && FDataKensakuRec[1].JyokenUse == 1);
  FGrid->setEnabled(true);
  // A place without data sets keeps the rows shown before.
  if (DataListExecute() > 0) {
    DataListDisplay();
    FGrid->setFocus();
  }
  SetFuncKeyCaption();
}

void TDataSentakuBox::onPlaceSetting()
{
  if (FPlaceChanging)
    DataPlaceLeave();
  const int chosen = FPlaceStore.SelectRec(FPlaceCombo->currentIndex());
  if (chosen >= 0)
    FDataPlaceRec = chosen;
  TDataPlaceBox* box = DataPlaceBox();
  box->SetProcType(0);
  box->SetPrepar(true);
  box->exec();
  // Every change of the dialog is stored at once, so the names are taken
  // again however it was closed.
  const int keep = FDataPlaceRec;
  const QStringList names = FPlaceStore.GetItemList().split(QLatin1Char('\r'), Qt::SkipEmptyParts);
  FPlaceCombo->blockSignals(true);
  FPlaceCombo->clear();
  FPlaceCombo->addItems(names);
  const int index = FPlaceStore.RecToIndex(keep);
  if (index >= 0) {
    FPlaceCombo->setCurrentIndex(index);
    FPlaceCombo->blockSignals(false);
  } else {
    FDataPlaceRec = 0;
    FDataPlacePath = FPlaceStore.RecToPath(0);
    FPlaceCombo->setCurrentIndex(FPlaceStore.RecToIndex(0));
    FPlaceCombo->blockSignals(false);
    DataPlaceLeave();
  }
  SetFuncKeyCaption();
}
