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
#include "datasel/ComDataSentaku.h"
#include "platform/AppError.h"

namespace db {
class Transaction;
}

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

// The member folder limit of numbered members.
inline const QString kGassanFolderLimitMessage = QStringLiteral("作成できるフォルダ名は[999]までです。");

class EGassanError : public EAppError {
 public:
  using EAppError::EAppError;
};

class TGassanDataCtl {
 public:
  // Receives the progress texts of long steps (the caller's progress box).
  using TProgressProc = std::function<void(const QString& AText)>;

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
  void SetMessageCtl(TProgressProc AProc) { FMessageCtl = std::move(AProc); }
  void SetProgressBox(TProgressProc AProc) { FProgressBox = std::move(AProc); }

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
  void registerChild(const TGassanChildDataRec& AEntry, const QString& AFolderName);
  bool parentAttachedElsewhere(QString& AWhy) const;
  db::Transaction& datTransaction() const;

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
  TProgressProc FMessageCtl;
  TProgressProc FProgressBox;
};
