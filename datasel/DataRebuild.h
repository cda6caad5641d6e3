// Rebuilding a company database: a backup followed by a restore over the
// same file, guarded by a safety copy of the database, and the data-list
// lock that marks the data set as in use while it runs.
#pragma once

#include <functional>

#include <QString>
#include <QStringList>

// The lock column (DATALIST.DATALOCK) of one data-list row of the logged-on
// group, held for the operator while a long job works on the data set
// (client/server and server-based use only; stand-alone use does nothing).
// The mark is set only on a row nobody holds, decided by the statement from
// the row as it stands, and only the mark set here is cleared again.
class TDataListLockHold {
 public:
  TDataListLockHold() = default;
  ~TDataListLockHold();
  TDataListLockHold(const TDataListLockHold&) = delete;
  TDataListLockHold& operator=(const TDataListLockHold&) = delete;

  // True when this object now holds the mark of row ARec.
  bool Take(int ARec);
  // Clears the mark this object set (nothing otherwise).
  void Release();
  bool Taken() const { return FTaken; }

 private:
  bool exec(const QString& ASql, int ARec);
  int FRec = 0;
  int FOpNo = 0;
  bool FTaken = false;
};

// One rebuild of the company database of a data folder.
//
// ProcType 0 (an entry of the local data list) rebuilds the database in
// place; ProcType 1 with Allowed (an entry of the share-server list that no
// one holds) rebuilds a copy in the temporary folder and copies it back over
// the database.
//
// The safety copy is made before anything changes, under a name no earlier
// run has left behind, so a copy kept from an earlier failure is never
// overwritten and never copied back. A failed rebuild tells the operator
// and keeps this run's safety copy (its path is in the message); where the
// database was already being replaced, this run's copy is also copied back.
class TDataSaikotiku {
 public:
  int ProcType = 0;
  bool Allowed = true;
  QString DataPath;  // the data folder
  int Rec = 0;       // its data-list row (the lock column)
  int DataLock = 0;  // the row's lock column as the caller knows it

  // Called about every 300 ms while the backup and restore run in their
  // worker; the caller keeps window messages flowing here.
  std::function<void()> OnWait;
  // How messages reach the operator (information box lines); the default
  // goes through the common message hook.
  std::function<void(const QStringList&)> OnMessage;

  // True when the database was rebuilt. Its folder status is then free,
  // unless another operator's mark stands there now (that is kept).
  bool Execute();

  // After a failure: the safety copy left for the operator (empty if none).
  QString KeptSafetyCopy() const { return FKept; }
  // The file names this run used (for inspection).
  QString DatabaseFile() const { return FDb; }
  QString SafetyCopyFile() const { return FSafe; }
  QString BackupFile() const { return FBk; }

 private:
  enum TStepResult { srOk, srBackupFailed, srRestoreFailed };
  TStepResult runBackupRestore(const QString& ADb, const QString& ABk, QString& AError);
  void message(const QStringList& ALines);
  QString freeSafetyName(const QString& ABase);

  QString FDb;
  QString FSafe;
  QString FBk;
  QString FKept;
};
