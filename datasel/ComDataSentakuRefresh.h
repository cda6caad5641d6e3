// Bringing loaded data-list entries up to date with their data folders,
// without widgets: what the data-selection dialog's refresh does to one
// entry (read the folder's status and information, read the company
// database, blank a data set whose database has gone, rebuild the members of
// consolidated data from the sub-folders) and the clearing of members before
// a paste or restore. The dialog redraws its rows from the result.
#pragma once

#include <QString>

#include "common/DataInfomation.h"
#include "datasel/ComDataSentaku.h"

// Fills a list record from a folder's information (AClear False), or blanks
// it because the folder holds no data any more (AClear True: a share entry
// becomes the free slot "空き領域" held here). Rec, RowNo (kept when filling),
// NetDrive and DataPath stay; the list name stays unless it is empty (or a
// free-slot name of a share entry), when it becomes the company name.
void pcDataInfoToListRec(const TDataInfomationRec& AInfo, TDataListRec& AData, bool AClear);

// What a refresh did to an entry or member.
enum TDataRefreshResult : std::uint8_t {
  drrNothing,        // nothing to do (no folder, or a blank row whose database is missing)
  drrFilled,         // filled from the folder (and written)
  drrKept,           // the database could not be read; the record keeps its values
  drrDamaged,        // the database is damaged: Data_Status marked
  drrCleared,        // the database has gone: the entry is a free slot now (written)
  drrMemberRemoved,  // the database of a member has gone: it left its data set
  drrServerError,    // the server could not answer (reported): the row keeps its contents
};

class TDataListRefresher {
 public:
  TDataListRefresher(TDataSentakuListCtl& ACtl, TJxAppType AAppType);

  // Refreshes entry AEntry (ACIndex -1) or its member ACIndex, whose local
  // data folder is AFolder. ARowShowsName: the row shows a name (a blank
  // row whose database is missing stays as it is). A member whose database
  // has gone is removed from AEntry.
  TDataRefreshResult RefreshEntry(TDataSentakuRec& AEntry, int ACIndex, const QString& AFolder, bool ARowShowsName);

  // Rebuilds the members of a consolidated entry from the sub-folders of its
  // local folder (stand-alone use; local entries and entries held from a
  // share server, none of whose members is marked damaged). True when it
  // rebuilt them.
  bool RebuildChildData(TDataSentakuRec& AEntry);

  // Drops the members of an entry before a paste or restore: in memory, in
  // the local list table and the member folders below the entry's LOCAL
  // folder. The share server's copy (its member folders and its list rows)
  // is never touched.
  void ClearChildData(TDataSentakuRec& AEntry);

  // Writes a record to the list table; an empty folder path is refused
  // ("データフォルダパスが不正です。\r処理を中止します。").
  bool UpdateListRecord(const TDataListRec& AData);

  // The information the last refresh read.
  const TDataInfomationRec& LastInfo() const { return FInfo; }

 private:
  // Reads the company database of a folder (stand-alone). 1 read, 0 failed.
  int readDatabase(const QString& AFolder, TDataInfomationRec& AInfo);
  void writeFolderSettings(const QString& AFolder, const TDataInfomationRec& AInfo);
  QString dataFile() const;
  // A data set whose database has gone: a member leaves its consolidated
  // data set, a data set becomes a free slot.
  TDataRefreshResult removeGone(TDataSentakuRec& AEntry, const TDataListRec& ARow, int ACIndex);

  TDataSentakuListCtl& FCtl;
  TJxAppType FAppType;
  TDataInfomation FDataInfo;
  TDataInfomationRec FInfo;
};
