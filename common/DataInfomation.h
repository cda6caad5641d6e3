// Status and attributes of one company data folder, and the data-folder
// settings file ("wqacc2.ini" beside the company database, stand-alone data
// only) that records them.
//
// DataInfomation.cpp holds the record, the reading of the open company
// database and the writers of the settings file that the data module's
// connections use; DataInfomationIni.cpp the readers of a folder's status;
// DataInfomationUpdate.cpp reading and writing a folder's company database
// by path; DataInfomationShare.cpp the share-server copies and the data-use
// checks.
#pragma once

#include <cstdint>
#include <memory>

#include <QString>
#include <QStringList>
#include <QVariant>

#include "common/AccRecord.h"

enum TJxDataStatus : std::uint8_t {
  jxdsError,   // 0 the data cannot be read
  jxdsNone,    // 1 free
  jxdsExec,    // 2 in use
  jxdsLock,    // 3 locked
  jxdsBack,    // 4 being saved
  jxdsRest,    // 5 being restored
  jxdsCopy,    // 6 being copied
  jxdsPaste,   // 7 being pasted into
  jxdsDelete,  // 8 being deleted
  jxdsInit,    // 9 being created
  jxdsHason,   // 10 damaged
};
using TJxDataStatuses = TEnumSet<TJxDataStatus>;

enum TJxKyoyuStatus : std::uint8_t { jxksError, jxksNone, jxksExec };

struct TDataInfomationRec {
  TJxDataStatus Status = jxdsNone;
  int OpCode = 0;
  QString OpName;
  TJxKyoyuStatus KyoyuStatus = jxksNone;
  int KyoyuOpCode = 0;
  QString KyoyuOpName;
  int UpdateLock = 0;
  int ReadOnly = 0;
  QString DataListName;
  QString Code;
  int DataKbn = 0;
  int CodeKbn = 0;
  QString Shougou;
  QString Kana;
  int Nendo = 0;
  QString Kishu;   // "yyyy/mm/dd"
  QString Kimatu;  // "yyyy/mm/dd"
  int Tanto = 0;
  int SitenKanri = 0;
  int SitenCnt = 0;
  int BumonKanri = 0;
  int BumonCnt = 0;
  int Siwake = 0;
  int TotalSiwake = 0;
  int VerMajor = 0;
  int VerMinor = 0;
  int VerRevision = 0;
  QString VerText;
  std::uint8_t GassanDataKbn = 0;
  int UseMyNumberKbn = 0;
  TJxCloudShare CloudShare = jxcsUnUse;
};
using PDataInfomationRec = TDataInfomationRec*;

class TSeihinVersionList;

class TDataInfomation {
 public:
  TDataInfomation();
  ~TDataInfomation();
  TDataInfomation(const TDataInfomation&) = delete;
  TDataInfomation& operator=(const TDataInfomation&) = delete;

  TJxAppType AppType() const { return FAppType; }
  void SetAppType(TJxAppType t) { FAppType = t; }
  const TDataInfomationRec& DataInfoRec() const { return FDataInfoRec; }
  void SetDataInfoRec(const TDataInfomationRec& r) { FDataInfoRec = r; }

  static void InitRecord(TDataInfomationRec& rec);

  // The settings file of a data folder: the company database's file name
  // with the extension ".ini", in the folder.
  static QString IniFileName(const QString& ADataPath);

  // Fills the record from the open company database (opened with its
  // current parameters when closed). 1 done, 0 failed (reported).
  int GetDataInfoRec(TDataInfomationRec& ADataInfoRec);
  // The same for the company database of the folder ADataPath: connects it
  // (replacing the data module's company connection; no settings-file
  // write), reads, and disconnects. 0 when the database file is missing or
  // cannot be connected (DataInfomationUpdate.cpp).
  int GetDataInfoRec(const QString& ADataPath, TDataInfomationRec& ADataInfoRec);

  // The list name of the company database of the folder ADataPath: a
  // non-empty AName is cut to 40 characters, trimmed of half- and
  // full-width spaces, stored and given back as stored; an empty AName
  // gets the stored name (cut and trimmed the same way). The database is
  // connected for the operation and disconnected after it; errors are
  // reported (DataInfomationUpdate.cpp).
  void UpdateDataListName(const QString& AHostName, const QString& ADataPath, QString& AName);
  // Stores list name (the stored one when blank; cut and trimmed as
  // above), update lock and, from data version 12.0.0, the read-only flag
  // of ADataInfoRec in the company database of the folder; the record gets
  // the name as stored and the data version (DataInfomationUpdate.cpp).
  // True when the values were stored.
  bool UpdateDataInfomation(const QString& AHostName, const QString& ADataPath, PDataInfomationRec ADataInfoRec);

  // Stand-alone data only (other access forms and an empty path do nothing).
  // Writes the section "DATASTS" and/or "DATAINFO" (ASection empty: both).
  void WriteIniFile(const QString& ADataPath, const QString& ASection, const TDataInfomationRec& ARec);
  // Writes the status keys; jxdsNone removes the holder.
  void WriteIniFileDataStatus(const QString& ADataPath, TJxDataStatus AStatus);
  // Edition text of a data version: "評価版" for 0.x (x > 0), else the edition
  // of the installed-product list whose "major.minor" matches, else
  // "major.minor". ADefText is not used.
  QString GetSeihinText(int AMajor, int AMinor, const QString& ADefText);

  // Status and attributes of the data folder ADataPath: from its settings
  // file (stand-alone; created from the database when missing, except in a
  // folder on a mounted network share, which reads the defaults) or from the
  // data list and the company database (client/server). 1 read, 0 when
  // there is nothing to read or the data is locked (DataInfomationIni.cpp).
  int ReadIniFile(const QString& AHostName, const QString& ADataPath, TDataInfomationRec& ADataInfoRec);
  int ReadIniFile(const QString& ADataPath, TDataInfomationRec& ADataInfoRec);
  // One value of the settings file (stand-alone); empty text otherwise.
  QVariant ReadIniValue(const QString& ADataPath, const QString& ASection, const QString& AKey);
  // Writes the share-status keys; jxksNone removes the holder.
  void WriteIniFileKyoyuDataStatus(const QString& ADataPath, TJxKyoyuStatus AStatus);
  // Reads the source folder and writes what it read to the target folder.
  int CopyIniFile(const QString& AMotoDataPath, const QString& ASakiDataPath, const QString& ASection);
  // Rebuilds a section (DATASTS: free, no holder; DATAINFO: from the
  // database) or, without a section, the whole file (not in a folder on a
  // mounted network share).
  void InitIniFile(const QString& ADataPath, const QString& ASection);

  // Writes (or with ADelete removes) one key.
  void WriteIniValue(const QString& ADataPath, const QString& ASection, const QString& AKey, const QVariant& AValue,
                     bool ADelete);

  // --- Share-server copies and data-use checks (DataInfomationShare.cpp) ---
  // Stand-alone data kept in a share folder (a folder on a mounted share) is
  // taken out to a local folder and copied back; the share marks of both
  // folders' settings files say who holds it.
  //
  // Copies the local data set back to the share folder and releases the
  // share marks. 1 copied; 0 an empty path or a failed copy (the data then
  // stays taken out in both folders). ASilent 1 shows no message and raises
  // nothing (a failed settings-file write then answers 0).
  int DataUpLoad(const QString& AKyoyuPath, const QString& ALocalPath, int ASilent);
  // Takes the data set of the share folder out to the local folder (made
  // when missing). 1 taken out; 0 nothing taken (an empty path, the local
  // folder cannot be made, the share folder is missing, the copy failed:
  // the marks this call set are put back and no share mark is left); -1
  // the share copy is damaged (nothing copied) or already taken out (its
  // files are copied, no mark changes, except that a local working copy
  // this operator holds is never overwritten). Not silent, a damaged or
  // unreachable share copy raises EPlatformError with the message to show.
  int DataDownLoad(const QString& AKyoyuPath, const QString& ALocalPath, int ASilent);
  // Writes the share status of a folder (jxksExec with the operator,
  // jxksNone without) when it differs; 1 when written, else 0.
  int SetKyouyuState(const QString& AKyoyuPath, TJxKyoyuStatus AKyoyuStatus);
  TJxKyoyuStatus GetKyouyuState(const QString& AKyoyuPath);
  // Whether the operator may use the data of the folder (branch rights);
  // tells the operator when not.
  bool IsDataSiyouKengen(const QString& ADataPath);
  // Whether the data password of the folder's company (if it has one) is
  // given; tells the operator when not. AHandle is not used.
  bool IsDataPasswordAuth(int AHandle, const QString& ADataPath);

  // The files of the data set in a folder: every file whose name is the
  // company database file's name with any extension.
  static QStringList DataSetFiles(const QString& AFolder);
  // Copies the data set of AFromPath into AToPath (created when missing).
  // Every file is written in full under a temporary name and synced before
  // any of them replaces its earlier file, so a failed copy leaves the
  // earlier files as they were. False on any failure (AError names it).
  static bool CopyDataSetFiles(const QString& AFromPath, const QString& AToPath, QString* AError = nullptr);

 private:
  TJxAppType FAppType = jxatSA;
  TDataInfomationRec FDataInfoRec;
  std::unique_ptr<TSeihinVersionList> FSeihinVerList;  // built on first use
};
