// The data-list records and the data-list control: the one object through
// which the program reads and writes the data-list tables of the system
// database (DATALIST, DATALIST_EX for the data places, CHILD_DATALIST for the
// members of consolidated data).
//
// ComDataSentaku.cpp holds the record helpers and the row reads and writes
// the data module needs; ComDataSentakuList.cpp the listing and the loaded
// list; ComDataSentakuRows.cpp the remaining single-row operations. The
// share-server operations are added to the control by their own module.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <QString>
#include <QStringList>

#include "common/AccRecord.h"
#include "platform/DateTime.h"

namespace db {
class Query;
class Transaction;
}  // namespace db
struct TDataInfomationRec;

enum TJxDBStatus : std::uint8_t { jxdbOK, jxdbHason };
enum TJxReadKey : std::uint8_t { jxrkRec, jxrkPath };
enum TJxDataListMode : std::uint8_t { jxdlDataList, jxdlKyoyuList };
enum TJxSortField : std::uint8_t {
  jxsfCustom,
  jxsfRec,
  jxsfName,
  jxsfNendo,
  jxsfKikan,
  jxsfPath,
  jxsfDataVer,
  jxsfDataCode
};
enum TJxSelectType : std::uint8_t { jxstAll, jxstData, jxstNonData };
enum TJxKyoyuReadMode : std::uint8_t { jxrmDataBase, jxrmDir };

// One data-list row.
struct TDataListRec {
  int Rec = 0;
  int RowNo = 0;
  int Group = 0;
  QString DataCode;
  QString DataListName;
  QString Shougou;
  int Nendo = 1;
  QString Kikan;
  TDateTime Kishu = 0;
  TDateTime Kimatu = 0;
  int NetDrive = 0;
  QString DataPath;
  QString LocalPath;
  int DataKbn = 0;
  int CodeKbn = 0;
  int DataLock = 0;
  int KyoyuLock = 0;
  int Tanto = 0;
  int VerMajor = 0;
  int VerMinor = 0;
  int VerRevision = 0;
  QString VerText;
  int UpdateLock = 0;
  std::uint8_t GassanDataKbn = 0;
  QString Display_DataListName;
  TJxDBStatus Data_Status = jxdbOK;
  QString Yobi1;
  QString Yobi2;
  QString Yobi3;
  int TempKey = 0;
  QString TempWords;
  TJxCloudShare CloudShare = jxcsUnUse;
  int ReadOnly = 0;
};
using TDataListArray = std::vector<TDataListRec>;
using PDataListRec = TDataListRec*;

// A data set with its distributed members.
struct TDataSentakuRec {
  TDataListRec Data;
  int ChildDataCnt = 0;
  TDataListArray ChildData;
};
using TDataSentakuRecArray = std::vector<TDataSentakuRec>;
using PDataSentakuRec = TDataSentakuRec*;

// An entry chosen for display or printing: an index into a loaded list.
struct TDataSentakuRecDisp {
  int Index = 0;
};
using TDataSentakuRecDispArray = std::vector<TDataSentakuRecDisp>;

// The period of a list row: a row without its fiscal dates (0 = no date)
// shows the bare "～" of an empty row, never the base date of the calendar.
QString fnDataListKikanText(TDateTime AKishu, TDateTime AKimatu);

// Display name of a data-folder status code ("－", "使用中", ... "状態不明").
QString fnDataStatusName(int AStatus);

// A list name that stands for a free slot: blank (half- or full-width
// blanks only), "空き領域" or "新しい領域".
bool IsFreeSlotName(const QString& AName);

// Kinds that have a row of their own in the list table (0, 1, 2), and the
// consolidated parents that own members (1, 2). Kind 10 is a member.
inline bool IsGassanOwnRow(int kind)
{
  return kind == 0 || kind == 1 || kind == 2;
}
inline bool IsGassanParent(int kind)
{
  return kind == 1 || kind == 2;
}

// Derives the local data folder of a record into LocalPath and returns it.
QString pcDataListRecLocalPath(TDataListRec& AData);

// Marks the data-list row ARec of the group AGroupId damaged (DATA_STATUS
// 1), or its member row ARowNo when that is above 0. Runs in ATransaction
// (the system database's), started when not active and then committed; a
// failure rolls back what was started here and is raised.
void pcMarkDataListDamaged(db::Transaction& ATransaction, int ARec, int ARowNo, int AGroupId);

class TDataSentakuListCtl {
 public:
  TDataSentakuListCtl();
  ~TDataSentakuListCtl();
  TDataSentakuListCtl(const TDataSentakuListCtl&) = delete;
  TDataSentakuListCtl& operator=(const TDataSentakuListCtl&) = delete;

  // ---- state ------------------------------------------------------------
  TJxAppType AppType() const { return FAppType; }
  void SetAppType(TJxAppType t) { FAppType = t; }
  TJxDataListMode DataListMode() const { return FDataListMode; }
  void SetDataListMode(TJxDataListMode m) { FDataListMode = m; }
  int DataPlaceRec() const { return FDataPlaceRec; }
  // Kept only for jxatCS and jxatSBC and a value other than 0; the list
  // table becomes DATALIST_EX when the kept value is above 0.
  void SetDataPlaceRec(int value);
  // The current list table.
  const QString& ListTable() const { return FListTable; }
  bool HasCloudColumn() const { return FDB_V1101_CloudShare; }
  bool HasReadOnlyColumn() const { return FDB_V1200_ReadOnly; }

  // ---- row operations -----------------------------------------------------
  // Clears the record (group of the logged-on operator, Nendo 1) with the
  // given folder and its derived local folder.
  void InitDataListRecord(TDataListRec& AData, const QString& ADataPath);
  // Reads one row by number (and ROWNO for a member) or by folder path; the
  // table follows AData.GassanDataKbn. With AErrorTrap a failure is reported
  // and not raised.
  void GetDataListRecord(TJxReadKey AReadKey, TDataListRec& AData, bool AErrorTrap);
  // Writes the row of AData.Rec back (a member goes to CHILD_DATALIST). In
  // client/server use a row that meanwhile belongs to another folder is left
  // alone. False on failure.
  bool UpdateDataListRecord(const TDataListRec& AData, int AKyoyuDataNameUpdate, bool AErrorTrap);
  // Writes a member row (update or insert).
  bool UpdateDataListChildRecord(const TDataListRec& AData, int AKyoyuDataNameUpdate, bool AErrorTrap);
  // Stand-alone use: the registered path of a local data folder.
  bool GetLocalPathToData(const QString& ALocalPath, TDataListRec& AData);

  // ---- listing (ComDataSentakuList.cpp) -----------------------------------
  TJxSelectType SelectType = jxstAll;
  int SelectNendo = 0;
  QString SelectShogo;
  // Reads the local data list of the group into ItemList (with the members
  // of consolidated data) and ItemChildList. AKyoyuNozoku 1 leaves out the
  // data sets fetched from a share server (stand-alone use only). A custom
  // order (jxsfCustom) is taken only when AOrderText is one of the order
  // lines the list itself uses; any other text gives the number order.
  void Execute(int AKyoyuNozoku, TJxSortField ASortField, TJxSortType ASortType, const QString& AOrderText);
  void Clear();
  int ItemCount() const { return int(FItemList.size()); }
  const TDataSentakuRecArray& ItemList() const { return FItemList; }
  const TDataListArray& ItemChildList() const { return FItemChildList; }
  // The lists read, handed over whole (the control is left empty), for a
  // caller that keeps its own copy.
  TDataSentakuRecArray TakeItemList();
  TDataListArray TakeItemChildList();
  TDataSentakuRec GetItem(int AIndex) const;
  TDataListRec GetItemChild(int AIndex) const;
  int GetGassanChildCount(int ARec) const;
  QString GetListItemLocalPath(int ARow) const;
  // Names the members "01 name", "02 name", ... by their position.
  static void SetChildData_DisplayDataListName(PDataSentakuRec AData);
  static void DeleteChildData(PDataSentakuRec AData, int ACIndex);
  // The full paths of the sub-folders of the entry's DataPath / LocalPath,
  // sorted by name without regard to case.
  static QStringList DirChildDataList(const TDataSentakuRec& AData);
  static QStringList DirChildDataList_Local(const TDataSentakuRec& AData);
  // The order line of a sort field ("" for jxsfCustom and unknown fields).
  static QString OrderLine(TJxSortField ASortField, TJxSortType ASortType);

  // ---- single rows (ComDataSentakuRows.cpp) -------------------------------
  void DataInfoRecToDataListRec(const TDataInfomationRec& AInfoRec, TDataListRec& AData) const;
  void GetDataListChildRecord(TDataSentakuRec& ASelData, bool AErrorTrap);
  bool InsertDataListRecord(TDataListRec& AData, bool AErrorTrap);
  bool DeleteDataListRecord(const TDataListRec& AData, bool AErrorTrap);
  bool DeleteDataListChildRecord(const TDataListRec& AData, bool AErrorTrap);
  int GetRecMax(int AInc);
  bool IsExistDataPath(const QString& APath);
  int GetRecNo(const QString& ADataPath);
  bool IsDataListNameMitouroku();
  static void LocalPathToDataDirName(const QString& ALocalPath, QString& ADirName, QString& AChildDirName);
  void LocalPathToDataListRecNo(const QString& ALocalPath, int& ARec);
  // Client/server use: numbers the rows above the fixed slots again without
  // gaps (DataListCnt + 1, + 2, ... in their order), each group on its own.
  // A failure rolls back what it started and is raised (ComDataSentakuRefresh.cpp).
  void RestoreDataRecNo();

 protected:
  // The column list of a read (REC, ROWNO or "0 AS ROWNO", ... CLOUD,
  // READ_ONLY or constants for older system databases).
  QString selectColumns(bool member) const;
  // " AND (DATAPLACEREC=:DATAPLACEREC)" when a data place is set.
  QString placeFilter() const;
  void bindPlace(db::Query& q) const;
  void fillRecord(const db::Query& q, TDataListRec& AData, bool member) const;
  // The positions of the columns of selectColumns in an opened statement,
  // found once for a statement that answers many rows.
  struct TListColumns {
    enum TColumn {
      Rec,
      RowNo,
      EntText,
      Shougou,
      PasName,
      NetDrive,
      DataType,
      CodeType,
      Nendo,
      Kishu,
      Kimatu,
      DataLock,
      KyoyuLock,
      Tantou,
      VerMajor,
      VerMinor1,
      VerMinor2,
      VerText,
      UpdateLock,
      Gassan,
      DataCode,
      DataStatus,
      Yobi1,
      Yobi2,
      Yobi3,
      Cloud,
      ReadOnly,
      Count
    };
    explicit TListColumns(const db::Query& q);
    int At[Count];
  };
  void fillRecord(const db::Query& q, const TListColumns& AColumns, TDataListRec& AData, bool member) const;
  void bindRecord(db::Query& q, const TDataListRec& AData) const;
  // The SET list of an update.
  QString updateSetList() const;

  // How one step of the list ends its use of the system database's
  // transaction after an error: a read ends it as a failed read does
  // (commit, or roll back when that fails), a change rolls it back.
  enum class TStepOnError : std::uint8_t { EndRead, RollBack };
  // Runs one step of the list (ABody, given the step's TOwnTransaction) and
  // answers what it answers. An error ends the transaction as AOnError says
  // and is then raised again (AErrorTrap false) or reported under AStep
  // with AText, and AFailed is answered (ComDataSentakuStep.h).
  template <typename R, typename Body>
  R runListStep(TStepOnError AOnError, bool AErrorTrap, const char* AStep, const char* AText, R AFailed, Body&& ABody);

  TJxAppType FAppType = jxatSA;
  TJxDataListMode FDataListMode = jxdlDataList;
  int FDataPlaceRec = 0;
  QString FListTable = QStringLiteral("DATALIST");
  bool FDB_V1101_CloudShare = false;
  bool FDB_V1200_ReadOnly = false;
  TDataSentakuRecArray FItemList;
  TDataListArray FItemChildList;
};
