// TDataSyosaiInfoBox: the data details dialog ("データの詳細情報"). It shows
// one data set's management and basic information as its data folder holds
// them, takes a new list name, the update and journal-entry prohibitions and
// the clearing of a left-behind status (handed back through properties; the
// caller writes them), and rebuilds the company database itself (F7).
#pragma once

#include <array>
#include <functional>
#include <memory>

#include <QHash>

#include "common/DataInfomation.h"
#include "datasel/ComDataSentaku.h"
#include "ui/SDI.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TxAnimeProgressDialog;

class TDataSyosaiInfoBox : public TBSDI {
  Q_OBJECT
 public:
  explicit TDataSyosaiInfoBox(QWidget* AParent = nullptr);
  ~TDataSyosaiInfoBox() override;

  // ---- set by the caller before SetPrepar(true)
  void SetProcType(int AValue) { FProcType = AValue; }
  int ProcType() const { return FProcType; }
  void SetDataListRec(const TDataListRec& AValue) { FDataListRec = AValue; }
  const TDataListRec& DataListRec() const { return FDataListRec; }
  void SetDataPath(const QString& AValue) { FDataPath = AValue; }
  QString DataPath() const { return FDataPath; }
  void SetListName(const QString& AValue) { FListName = AValue; }
  QString ListName() const { return FListName; }
  void SetData_UpdateLock(int AValue) { FUpdateLock = AValue; }
  int Data_UpdateLock() const { return FUpdateLock; }
  void SetData_ReadOnly(int AValue) { FReadOnly = AValue; }
  int Data_ReadOnly() const { return FReadOnly; }
  void SetFormEnabled(bool AValue) { FFormEnabled = AValue; }
  bool FormEnabled() const { return FFormEnabled; }
  // Fills the dialog from the data folder.
  void SetPrepar(bool AValue);

  // ---- read after the dialog ends
  bool StatusClear() const { return FStatusClear; }
  bool SaikotikuZumi() const { return FSaikotikuZumi; }
  // The folder status the dialog read (what a status clearing refers to).
  const TDataInfomationRec& DataInfomationRec() const { return FInfo; }

  // ---- state and controls (for the caller's checks and the tests)
  bool StatusClearShow() const { return FStatusClearShow; }
  bool SaikotikuFlg() const { return FSaikotikuFlg; }
  QString FuncCaption(int AKey) const;  // 1 .. 7
  QPushButton* FuncButton(int AKey) const;
  QPushButton* OkButton() const { return FOk; }
  QPushButton* CancelButton() const { return FCancel; }
  QLineEdit* ListNameEdit() const { return FEdtName; }
  QCheckBox* UpdateCheck() const { return FChkUpdate; }
  QCheckBox* ReadOnlyCheck() const { return FChkReadOnly; }
  QCheckBox* StatusClearCheck() const { return FChkStatusClear; }
  QPlainTextEdit* FolderMemo() const { return FMemoFolder; }
  QLabel* NoticeLabel() const { return FLblNotice; }
  QLabel* HintArea() const { return FHint; }
  // The value label of a caption ("データの状態:", "コード:", ...).
  QLabel* ValueLabel(const QString& ACaption) const;

  // The rebuild (F7); true when the database was rebuilt.
  bool DataSaikotiku();

  // How message boxes are shown (kind 2 information, 3 confirmation; tests
  // may replace it).
  std::function<int(int AKind, const QStringList& ALines)> MessageShow;

 protected:
  void FormKeyUp(QKeyEvent* AEvent, int& AKey) override;
  void FormClose() override;
  void showEvent(QShowEvent* AEvent) override;
  bool eventFilter(QObject* AWatched, QEvent* AEvent) override;
  void resizeEvent(QResizeEvent* AEvent) override;

 private:
  void buildForm();
  void DisplayDataInfo();
  void SetFuncKeyCaption();
  void SetHintList();
  void applyEnabled();
  void showShougou();
  void onOk();
  void onFunc(int AKey);
  void onSaikotiku();
  int showBox(int AKind, const QStringList& ALines);

  int FProcType = 0;
  TDataListRec FDataListRec;
  QString FDataPath;
  QString FListName;
  int FUpdateLock = 0;
  int FReadOnly = 0;
  bool FFormEnabled = true;
  bool FStatusClear = false;
  bool FSaikotikuZumi = false;
  bool FStatusClearShow = false;
  bool FSaikotikuFlg = false;
  bool FImeOn = false;
  TDataInfomationRec FInfo;
  TJxDataStatuses FOK_DataStatuses;

  QGroupBox* FGrpKanri = nullptr;
  QGroupBox* FGrpKihon = nullptr;
  QPlainTextEdit* FMemoFolder = nullptr;
  QLabel* FLblNotice = nullptr;
  QLabel* FLblUpdate = nullptr;
  QLabel* FLblReadOnly = nullptr;
  QCheckBox* FChkUpdate = nullptr;
  QCheckBox* FChkReadOnly = nullptr;
  QCheckBox* FChkStatusClear = nullptr;
  QLineEdit* FEdtName = nullptr;
  QLabel* FLblShougou = nullptr;
  QHash<QString, QLabel*> FValues;  // value labels by caption
  QLabel* FHint = nullptr;
  QPushButton* FOk = nullptr;
  QPushButton* FCancel = nullptr;
  std::array<QPushButton*, 8> FFunc{};  // 1 .. 7
  std::unique_ptr<TxAnimeProgressDialog> FProgress;
};
