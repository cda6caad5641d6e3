// TGassanDataCtl: the consolidation controller of one consolidated data set
// (the parent) and its distributed member data sets. Each member is a whole
// company data set in a sub-folder of the parent's data folder: "001".."999"
// without branch management, the branch code with it ("00" only for
// medical-corporation data). The controller reads which members the parent
// expects and which exist, lists the members registered in the system
// database, creates a member as a cleared copy of the parent, brings the
// members in line with the expected set, deletes members, and keeps the
// parent's consolidation kind and member count in its typed settings.
//
// Calling order: set ParentAccDataPath and ParentDataRec, then
// SetPrepare(true) (every set to true reads the structure again), then the
// operations.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include <QString>
#include <QStringList>

#include "common/AccRecord.h"
#include "common/DataInfomation.h"
#include "common/TextIO.h"
#include "datasel/ComDataSentaku.h"
#include "platform/AppError.h"

namespace db {
class Database;
class Query;
class Transaction;
}  // namespace db

// Consolidation kind of a data set (GassanDataKbn).
enum : std::uint8_t {
  jxgdOrdinary = 0,     // 通常データ
  jxgdGassan = 1,       // 合算データ
  jxgdGassanSiten = 2,  // 合算本支店データ
  jxgdBunsan = 10,      // 分散データ
};

// Typed settings of consolidation (group 基本設定, type 整数).
inline const QString kGassanRegGroup = QStringLiteral("基本設定");
inline const QString kGassanRegKbn = QStringLiteral("合算データ区分");
inline const QString kGassanRegCount = QStringLiteral("合算データ数");

// The parent.
struct TGassanDataRec {
  int RecNo = 0;     // data-list number of the parent
  int RowNo = 0;     // always 0
  QString DataPath;  // the parent's data folder
  int SitenKanri = 0;
  int SitenCount = 0;  // members the parent expects
};

// One member.
struct TGassanChildDataRec {
  int RecNo = 0;  // the parent's data-list number
  int RowNo = 0;  // ROWNO of CHILD_DATALIST, 1 and up
  QString SCODE;  // branch code; empty without branch management
  QString DataPath;
};
using TGassanChildDataArray = std::vector<TGassanChildDataRec>;

// Kind of a consolidation run.
enum TJxGassanKbn : std::uint8_t {
  jxgkDataCheck = 0,        // data-system check and master merge only
  jxgkDataGassan = 1,       // consolidation including past-year balances
  jxgkDataGassanTouki = 2,  // consolidation without past-year balances
};

// The member folder limit of numbered members.
inline const QString kGassanFolderLimitMessage = QStringLiteral("作成できるフォルダ名は[999]までです。");

class EGassanError : public EAppError {
 public:
  using EAppError::EAppError;
};

class TGassanDataCtl {
 public:
  TGassanDataCtl();
  ~TGassanDataCtl();
  TGassanDataCtl(const TGassanDataCtl&) = delete;
  TGassanDataCtl& operator=(const TGassanDataCtl&) = delete;

  // The company-data statements run in ATransaction from now on (the data
  // module's company transaction until then).
  void SetTransaction(db::Transaction& ATransaction);

  bool Prepare() const { return FPrepare; }
  void SetPrepare(bool AValue);
  const QString& ParentAccDataPath() const { return FParentAccDataPath; }
  void SetParentAccDataPath(const QString& AValue);
  int ParentDataRec() const { return FParentDataRec; }
  void SetParentDataRec(int AValue);

  const TGassanDataRec& GassanData() const { return FGassanData; }
  TGassanChildDataArray& GassanChildData() { return FGassanChildData; }
  TGassanChildDataArray& GassanChildMaster() { return FGassanChildMaster; }
  int GassanStatus() const { return FStatus; }
  void SetGassanStatus(int AValue) { FStatus = AValue; }
  TTessalySyoriInfo& GassanInfo() { return FSyoriInfo; }
  TTessalySyoriLog& GassanLog() { return FSyoriLog; }
  // Where the progress texts of long steps go (the caller's label and
  // progress box); none when null.
  IProgressText* MessageCtl() const { return FMessageCtl; }
  void SetMessageCtl(IProgressText* AValue) { FMessageCtl = AValue; }
  IProgressText* ProgressBox() const { return FProgressBox; }
  void SetProgressBox(IProgressText* AValue) { FProgressBox = AValue; }

  // The registered members of the parent held in the local folder
  // ALocalPath. False for a blank path or a failed read (reported); outside
  // stand-alone use true with an empty list.
  bool GetChildDataList(const QString& ALocalPath, TDataListArray& AChildData);
  // Writes the parent's consolidation kind and member count (0 for kinds 0
  // and 10) into its typed settings and updates its data-list row.
  void SetGassanDataKbn(std::uint8_t AKind, int ACount);

  // ---- creating and deleting members --------------------------------------
  // Creates one member (AFolder: the branch code with branch management,
  // else a folder name, empty for the next free number).
  bool AddChildData(const QString& AFolder);
  // Clears the member being created: audit, balances, journals, its own
  // consolidation settings (and, for medical-corporation data, the other
  // facilities). Raises on failure.
  void AccDataSyokika();
  // Deletes one member (AFolder as for AddChildData; empty: the highest
  // numbered folder).
  bool DeleteChildData(const QString& AFolder);
  // Adds missing and deletes surplus members so that the members found match
  // the members expected.
  bool ChildDataSaisakusei();
  // Deletes every member registered for the parent.
  bool ChildDataZenSakujyo();

  // ---- the consolidation run ---------------------------------------------
  // The parent is DM's open company data (AccInf read for it).
  // Clears, in the parent, what the members fill again: for the branch
  // ASCODE or (empty) the whole data set. Raises on failure after logging
  // -101.
  bool DataGassanClear(const QString& ASCODE, TJxGassanKbn AGassanKbn);
  // Adds the member in AAccPath under the parent's branch ASCODE (blank: " ").
  // True when it was added (checked) without error; the log tells why not.
  bool DataGassan(const QString& ASCODE, const QString& ADataName, const QString& AAccPath, TJxGassanKbn AGassanKbn);
  // During a run: the member's connection and transaction, its branch code
  // in the parent, the kind, the branch list read from the member.
  db::Transaction& BunsanTransaction() { return *FBunsanIBTransaction; }
  db::Transaction& ParentTransaction() const { return datTransaction(); }
  const QString& GassanSCODE() const { return FGassanSCODE; }
  TJxGassanKbn GassanKbn() const { return FGassanKbn; }
  const QStringList& GassanSitenList() const { return FGassanSitenList; }
  // The journal transfer file of a run, in the temporary folder.
  static QString GassanSiwakeFile();
  // Logs an error entry of the run.
  void LogError(int ACode, const QString& AText);

  // ---- status log ----------------------------------------------------------
  // Appends a copy of GassanInfo to the log and sets GassanStatus.
  void AddSyoriLog();
  int GetSyoriStatus() const;

  // The next numbered folder name of AFolder: the highest numbered
  // sub-folder plus AOffset, as three digits ("" when the folder does not
  // exist). Raises EGassanError above 999.
  static QString GetChildFolderName(const QString& AFolder, int AOffset);

 private:
  void GetGassanData();
  void readExpectedBranches();
  void readFoundFolders();
  void readRegisteredRows(std::uint8_t AKind, bool ATakeAsFound);
  int FindChildData(const QString& APath) const;
  int GetNextRowNo(int AOffset) const;
  QString childFolderOf(const QString& AFolder, bool AForDelete);
  void progress(const QString& AFormat);
  // FSelData := the data-list record of a member (for writing or deleting
  // its CHILD_DATALIST row).
  void selectChildRow(const TGassanChildDataRec& AEntry, const QString& AFolderName);
  void registerChild(const TGassanChildDataRec& AEntry, const QString& AFolderName);
  // Clears the audit date, fix date and lock of the company data in AQuery's
  // transaction (a new member and a cleared parent start unaudited).
  static void ClearKansa(db::Query& AQuery);
  bool parentAttachedElsewhere(QString& AWhy) const;
  db::Transaction& datTransaction() const;

  // The run (GassanRun.cpp, GassanMaster.cpp, GassanZandaka.cpp).
  void logEntry(TJxStatusType AType, int ACode, const QString& AText);
  QString runName() const;
  void closeMember() noexcept;
  void CheckDataVersion();
  void CheckDataTaikei();
  void GetSitenList();
  void GassanBumon();
  void GassanKamoku();
  void gassanHojo(const QString& AParentKCODE, const QString& AGroupM0, db::Query& AMemberRow);
  void addKamokuSz(const QString& ASCODE, const QString& AKCODE, const QString& AHCODE, const QString& ABCODE,
                   const QString& AGroupM0);
  void GassanZandaka();
  void GassanKobetu();
  void GassanSiwake();

  db::Transaction* FTransaction = nullptr;  // the company-data statements' transaction
  bool FPrepare = false;
  QString FParentAccDataPath;
  QString FChildAccDataPath;
  QString FChildSCODE;
  int FKyoyuKbn = 0;
  QString FKyoyuParentAccDataPath;
  int FParentDataRec = 0;
  TGassanDataRec FGassanData;
  TGassanChildDataArray FGassanChildData;
  TGassanChildDataArray FGassanChildMaster;
  std::unique_ptr<TDataSentakuListCtl> FDataList;
  TDataInfomation FDataInfomation;
  TDataListRec FSelData;
  TDataInfomationRec FSelDataInfo;
  int FStatus = 0;
  TTessalySyoriInfo FSyoriInfo;
  TTessalySyoriLog FSyoriLog;
  IProgressText* FMessageCtl = nullptr;
  std::unique_ptr<db::Database> FBunsanIBDatabase;
  std::unique_ptr<db::Transaction> FBunsanIBTransaction;
  QString FGassanAccPath;
  QString FGassanSCODE;
  TJxGassanKbn FGassanKbn = jxgkDataCheck;
  int FGassanSitenKbn = 0;
  int FGassanBumonKbn = 0;
  int FGassanJigyoKbn = 0;
  QStringList FGassanSitenList;
  IProgressText* FProgressBox = nullptr;
};
