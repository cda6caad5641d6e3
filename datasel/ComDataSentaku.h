// The data-list records and the data-list control: the one object through
// which the program reads and writes the data-list tables of the system
// database (DATALIST, DATALIST_EX for the data places, CHILD_DATALIST for the
// members of consolidated data).
//
// This file holds the records and the row operations the data module needs
// when it closes a company database (clear a record, read a row by folder or
// number, write a row back). The listings, the remaining row operations and
// the share-server operations are added to the control by their own modules.
#pragma once

#include "common/AccRecord.h"
#include "platform/DateTime.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace db {
class Query;
}

enum TJxDBStatus : std::uint8_t { jxdbOK, jxdbHason };
enum TJxReadKey : std::uint8_t { jxrkRec, jxrkPath };
enum TJxDataListMode : std::uint8_t { jxdlDataList, jxdlKyoyuList };

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

// Kinds that have a row of their own in the list table (0, 1, 2), and the
// consolidated parents that own members (1, 2). Kind 10 is a member.
inline bool IsGassanOwnRow(int kind) { return kind == 0 || kind == 1 || kind == 2; }
inline bool IsGassanParent(int kind) { return kind == 1 || kind == 2; }

// Derives the local data folder of a record into LocalPath and returns it.
QString pcDataListRecLocalPath(TDataListRec& AData);

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

protected:
  // The column list of a read (REC, ROWNO or "0 AS ROWNO", ... CLOUD,
  // READ_ONLY or constants for older system databases).
  QString selectColumns(bool member) const;
  // " AND (DATAPLACEREC=:DATAPLACEREC)" when a data place is set.
  QString placeFilter() const;
  void bindPlace(db::Query& q) const;
  void fillRecord(const db::Query& q, TDataListRec& AData, bool member) const;
  void bindRecord(db::Query& q, const TDataListRec& AData) const;
  // The SET list of an update.
  QString updateSetList() const;

  TJxAppType FAppType = jxatSA;
  TJxDataListMode FDataListMode = jxdlDataList;
  int FDataPlaceRec = 0;
  QString FListTable = QStringLiteral("DATALIST");
  bool FDB_V1101_CloudShare = false;
  bool FDB_V1200_ReadOnly = false;
};
