// Search conditions of the data lists: the record, its row per operator and
// list in KENSAKUJYOKEN, and the test an entry of the list must pass.
#pragma once

#include <QString>

#include "datasel/ComDataSentaku.h"

struct TDataKensakuRec {
  int OPCODE = 0;
  int ListType = 0;   // 0 local data list, 1 share-server list
  int JyokenUse = 0;  // 1: the conditions apply each time the list opens
  int DataType = 0;   // -13: data kind 1 or 3
  int CodeType = 0;
  QString DataCode;
  QString DataName;
  int Tanto = 0;
  QString DataVer;
  QString DataVer2;
  int DataVerKbn = 0;  // 0 major.minor equal, 1 major equal, 2 this or newer, 3 full equal
  QString Seihin;
  int SortCol = 0;   // grid column of the list; 0 the default order
  int SortType = 0;  // 0 ascending
  QString DataTypeList;
  QString TantoList;
};
using PDataKensakuRec = TDataKensakuRec*;

// The stored sort code of a grid column and back (unknown values: 0).
int ConvReadSortCol(int ASortCol);
int ConvWriteSortCol(int ASortCol);

// The data-kind choices of the conditions dialog (index 0 "選択なし").
int DataKbnToIndex(int ADataType, int ACodeType);
void IndexToDataKbn(int AIndex, int& ADataType, int& ACodeType);
QStringList DataKbnItems();

// Reading and writing an operator's row of KENSAKUJYOKEN on the system
// database (its shared transaction, started and ended here when idle).
class TDataKensakuStore {
 public:
  explicit TDataKensakuStore(int AListType = 0) : FListType(AListType) {}
  int ListType() const { return FListType; }
  void InitRecord(TDataKensakuRec& ARec) const;
  // Reads the row, creating it with empty conditions when missing. 1 / 0.
  int SelectRecord(TDataKensakuRec& ARec);
  int UpdateRecord(const TDataKensakuRec& ARec);
  int UpdateRecordSortField(const TDataKensakuRec& ARec);

 private:
  int FListType;
};

// Clears the filter of a record (the sort stays).
void pcClearKensakuFilter(TDataKensakuRec& ARec);

// Full-width form of a text with Latin letters upper-cased (the name test
// ignores width and the case of Latin letters).
QString fnFullWidthUpper(const QString& AText);

// True when a list entry passes the conditions.
bool fnDataKensakuPass(const TDataKensakuRec& C, const TDataListRec& E);

// Sort field of a grid column of the data list (12 code, 14 name, 15 term,
// 16 year, 17 folder, 18 version, others the number order).
TJxSortField fnSortFieldOfColumn(int ACol);
