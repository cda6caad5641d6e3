// TDataSentakuBox: the data-selection dialog, started by the process name
// "DuRoziZuvurad". It lists the data sets registered for the logged-on
// group, filters and sorts them, finds a code as it is typed and hands the
// chosen data folder back in the system definitions (F12).
#pragma once

#include <array>
#include <functional>
#include <memory>

#include <QStringList>
#include <QTimer>

#include "common/DataInfomation.h"
#include "datasel/ComDataSentaku.h"
#include "datasel/DataKensaku.h"
#include "datasel/DataListModel.h"
#include "datasel/DataPlaceList.h"
#include "ui/GridHelpers.h"
#include "ui/SDI.h"
#include "ui/z5MessageDlg.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class TcxStyle;
class TDataListKensakuBox;
class TDataListRefresher;
class TDataPlaceBox;
class TxAnimeProgressDialog;
class TDataSyosaiInfoBox;

enum TdsProcType : std::uint8_t {
  dsptStartCall,
  dsptMainCall,
  dsptNendoKosinCall,
  dsptGensyouCall,
  dsptConvertCall,
  dsptOnlySACall
};

class TDataSentakuBox : public TBSDI {
  Q_OBJECT
 public:
  explicit TDataSentakuBox(QWidget* AParent = nullptr);
  ~TDataSentakuBox() override;

  // IProcShow
  void SetOptions(const QStringList& AOptions) override;
  int ShowDisplay(TIShowType AShowType) override;

  void SetPrepare(bool AValue);
  // The mode; above 5 throws ("処理タイプに範囲外の値が設定されました。").
  void SetProcType(int AValue);
  TdsProcType ProcType() const { return FProcType; }
  QString DataPath() const { return FDataPath; }
  QString KyoyuDataPath() const { return FKyoyuDataPath; }
  int FormStyle() const { return FFormStyle; }
  const TDataKensakuRec& OutDataKensakuRec() const { return FOutDataKensakuRec; }
  const TDataKensakuRec& KensakuInForce() const { return FDataKensakuRec[1]; }

  // ---- list (for the operations and for inspection)
  TxGridView* Grid() const { return FGrid; }
  TDataListModel* Model() const { return FModel; }
  int RowCount() const;
  // How a cell of the list is drawn: the row's colours, the frame over the
  // shown columns of the focused row, damaged and update-forbidden rows.
  TcxDrawCellInfo CellDrawInfo(const TcxGridDataCellViewInfo& AViewInfo) const;
  // The even-row style of stand-alone use (the odd rows are the form's).
  TcxStyle* EvenRowStyle() const { return FStyleMeisaiEvenDef; }
  QString FuncCaption(int AKey) const;  // 0 ESC, 1..8 F1..F8, 12 F12
  QPushButton* FuncButton(int AKey) const;
  QPushButton* SearchButton() const { return FBtnKensaku; }
  QPushButton* SearchCancelButton() const { return FBtnKensakuKaijyo; }
  QPushButton* InfoButton() const { return FBtnInfo; }
  QPushButton* RefreshButton() const { return FBtnRefresh; }
  TDataListRec GetRowDataRec(int ARow, int* AIndex = nullptr, int* ACIndex = nullptr) const;
  QString GetRowDataPath(int ARow) const;
  int GetKyoyuState(int ASource, int AIndex) const;
  int GetParentRow(int ARow) const;
  int FocusedRow() const;
  void FocusRow(int ARow);
  void SortByColumn(int ACol);
  QString KensakuKey() const { return FKensakuKey; }
  void FinishIncrementalSearch();  // what the search timer does

  // Folder checks shared by the operations.
  int DataFolderCheck(const QString& APath);
  TJxDataStatus DataStatusCheck(const QString& APath, bool AMessageNoData, bool AShowBox);

  // The choice (F12, double-click, Enter).
  void ChooseFocused();
  // Brings a row up to date with its data folder (a folder whose database
  // has gone becomes a free slot, a member leaves its data set).
  void DataListRefreshRow(int ARow);
  // ARow -1: the whole list (client/server: the added rows numbered again
  // and the list read anew first), row by row from the top; the progress
  // box of the list update shows the row and may stop it. Returns 0.
  int DataListRefresh(int ARow);
  // Reads and shows the list again, keeps ATopRow at the top and focuses
  // the row of AData (by number and folder).
  void DataListReload(int ATopRow, const TDataListRec& AData);
  // Drops the members of the row's data set: AAll False only the member of
  // the row (in memory); AAll True all of them, with their local list rows
  // and local member folders (a share server's copy stays), and their rows.
  void RemoveChildRows(int ARow, bool AAll);
  // Numbers the members' display names of the row's data set.
  void SetChildDisplayName(int ARow);
  // The progress box of the list update while it runs (else null).
  TxAnimeProgressDialog* RefreshProgress() const { return FProgress; }

  // ---- data places (client/server and server-based use)
  QComboBox* PlaceCombo() const { return FPlaceCombo; }
  QPushButton* PlaceButton() const { return FBtnPlace; }
  int DataPlaceRec() const { return FDataPlaceRec; }
  QString DataPlacePath() const { return FDataPlacePath; }
  // Leaving the place combo: the chosen place's list is read and shown.
  void DataPlaceLeave();
  // The data places dialog (created on first use and kept).
  TDataPlaceBox* DataPlaceBox();
  // A click on the lock column (client/server use): lock a free data set,
  // release one's own lock; another operator's lock is shown, never replaced.
  void ToggleLock(int ARow);

  // How the status refusal box is shown (tests replace it).
  std::function<int(TMessageInfoRec&)> StatusBoxShow;

 protected:
  void FormKeyUp(QKeyEvent* AEvent, int& AKey) override;
  void FormClose() override;
  void closeEvent(QCloseEvent* AEvent) override;
  void showEvent(QShowEvent* AEvent) override;
  bool eventFilter(QObject* AWatched, QEvent* AEvent) override;

 private:
  void buildForm();
  // The list's view, its columns and drawing (DataSentakuGrid.cpp).
  void buildGrid();
  void applyGridAppType(bool ACloud);
  void applyAppType();
  void PrepareDataList();
  int DataListExecute();
  void DataListFilter();
  void DataListDisplay();
  // Writes a changed record back to the loaded list and to its row.
  void keepRowData(int ARow, const TDataListRec& AData);
  void LocateZenkaiData();
  void SetFuncKeyCaption();
  void SetHintList();
  bool funcOff(int AKey) const;
  void onFunc(int AKey);
  void onEsc();
  void notYet(const QString& AWhat);
  void onKensaku();
  void onKensakuKaijyo();
  void onInfo();
  void onRefresh();
  void incrementalKey(const QString& AText);
  bool closeQuery();
  void DataInfoToListRec(TDataListRec& AData, bool AClear);
  void UpdateListRecord(const TDataListRec& AData);
  // Redraws the data set of a row with its members (DataSentakuRefresh.cpp).
  void redrawEntry(int ARow);
  int entryRowOf(int AIndex) const;
  TDataListRefresher& refresher();
  void fillPlaceCombo();
  void onPlaceChosen();
  void onPlaceSetting();
  int infoBox(const QStringList& ALines);
  int confirmBox(const QStringList& ALines);

  QStringList FOptionsList;
  bool FPrepare = false;
  TdsProcType FProcType = dsptStartCall;
  int FFormStyle = 0;
  int FFuncMode = 0;
  bool FCopy = false;
  QString FCopyDataPath;
  QString FDataPath;
  QString FKyoyuDataPath;
  QString FZenkaiDataPath;
  bool FZenkaiDataLocateFlg = true;
  bool FEscCloseFlg = false;
  bool FCloseChecked = false;
  int FDataPlaceRec = 0;
  QString FDataPlacePath;
  int FOnlySA_Syori = 0;
  int FBackup_KyoyuDataAutoCopy = 0;
  QString FOnlySA_BackupPath;
  TDataKensakuRec FOutDataKensakuRec;
  std::array<TDataKensakuRec, 2> FDataKensakuRec;  // stored, in force
  int FSortCol = 0;                                // as kept with the search conditions (0, 11 ..)
  TJxSortType FSortType = jxstAsc;
  QString FKensakuKey;
  TDataSentakuRecArray FDataList;
  TDataListArray FChildList;
  TDataSentakuRecDispArray FOutputDataList;
  TDataInfomationRec FDataInfomationRec;

  std::unique_ptr<TDataSentakuListCtl> FListCtl;
  std::unique_ptr<TDataListRefresher> FRefresher;
  TDataPlaceStore FPlaceStore;  // the named places of the combo
  TDataPlaceBox* FPlaceBox = nullptr;
  TxAnimeProgressDialog* FProgress = nullptr;
  bool FPlaceChanging = false;
  std::unique_ptr<TDataKensakuStore> FKensakuStore;
  TDataListKensakuBox* FKensakuBox = nullptr;
  TDataSyosaiInfoBox* FSyosaiBox = nullptr;

  TxGridView* FGrid = nullptr;
  TcxStyle* FStyleMeisaiEvenDef = nullptr;
  TDataListModel* FModel = nullptr;
  std::array<QPushButton*, 13> FFunc{};  // 0 ESC, 1..8, 12
  // Which function keys act for the focused row (set with their captions).
  std::array<bool, 13> FFuncOn{};
  QPushButton* FBtnKensaku = nullptr;
  QPushButton* FBtnKensakuKaijyo = nullptr;
  QPushButton* FBtnInfo = nullptr;
  QPushButton* FBtnRefresh = nullptr;
  QPushButton* FBtnKyoyuGet = nullptr;
  QPushButton* FBtnKyoyuPut = nullptr;
  QPushButton* FBtnCloud = nullptr;
  QPushButton* FBtnIkou = nullptr;
  QCheckBox* FChkAuto = nullptr;
  QWidget* FPlacePanel = nullptr;
  QComboBox* FPlaceCombo = nullptr;
  QPushButton* FBtnPlace = nullptr;
  QWidget* FBottomPanel = nullptr;
  QLabel* FHint = nullptr;
  QLineEdit* FSearchEdit = nullptr;
  QTimer FSearchTimer;
  QString FGridHint;
};

// Registers the dialog under its process name (also done at start-up).
void RegisterDataSentakuBox();
