// The data-version update of a database: the system database (kind 0) or
// one company data set (kind 1). Each kind has an ordered list of update
// steps, each producing a version; the update reads the database's version,
// finds the steps whose version is higher and runs them in order with a
// backup before and a restore when one of them fails. Both lists are empty
// in this system, so the update serves as the version comparison of the
// data selection (DataConnectFlg). The screen (maint/dialogs/DbUpdateBox.h)
// shows the list and drives a run through TDbUpdateView.
#pragma once

#include <functional>
#include <vector>

#include <QString>
#include <QStringList>

#include "common/AccRecord.h"

// A step: 1 done, 18 a file it needs is missing, anything else failed.
using TDbUpdateFunc = std::function<int()>;

struct TDbUpdateListRec {
  int Major = 0;
  int Minor = 0;
  int Rev = 0;
  TDbUpdateFunc UpdateFunc;
  int DbHenko = 0;  // added up over the pending steps: a backup is taken when the sum is above 0
  QString Comment1;
  QString Comment2;
};
using TArrayDbUpdateListRec = std::vector<TDbUpdateListRec>;

// Step results.
constexpr int DbUpdateStepDone = 1;
constexpr int DbUpdateStepFileMissing = 18;

// What a run shows on the screen.
class TDbUpdateView {
 public:
  virtual ~TDbUpdateView() = default;
  // The progress box of the backup and the restore.
  virtual void ProgressShow(const QString& ACaption, const QString& AText) = 0;
  virtual void ProgressHide() = 0;
  // The steps: ACount pending steps begin; the step at list position AIndex
  // (0 = the first pending step) ended with AResult; the run is over.
  virtual void StepsBegin(int ACount) = 0;
  virtual void StepEnded(int AIndex, int AResult) = 0;
  virtual void StepsEnd() = 0;
};

class TDbUpdate {
 public:
  TDbUpdate();

  // Prepares for one database: kind 0 (system) or 1 (company data) and its
  // version as "major.minor.rev"; an empty text reads the version from the
  // database.
  void DbUpdateInit(quint8 ADbType, const QString& AVersion = QString());
  // The run with backup and restore: 1 every step done; 0 a step failed (the
  // database restored, or no backup was needed); -1 nothing pending, the
  // backup failed, or the restore after a failed step failed (the backup is
  // then kept: BackupKept).
  int DbUpdateJikkou();
  // Without the screen: kind 0 makes sure the system database is connected
  // and gives 1; kind 1 gives -1. No step is run.
  int DbSilentUpdateJikkou();

  // The version of the database (0.0.0 when it cannot be read).
  void SetDbVersion();
  void SetDbVersionFromText(const QString& AText);

  quint8 DbType() const { return FDbType; }
  bool DataUpdateJikkoFlg() const { return FDataUpdateJikkoFlg; }
  bool DataUpdateKekkaFlg() const { return FDataUpdateKekkaFlg; }
  // 1 the database may be used (older or the same), 2 the same minor version
  // with a later revision, 0 a later version than the program knows.
  int DataConnectFlg() const { return FDataConnectFlg; }
  int DbMajor() const { return FDbMajor; }
  int DbMinor() const { return FDbMinor; }
  int DbRev() const { return FDbRev; }
  QString DBVersion() const { return QStringLiteral("%1.%2.%3").arg(FDbMajor).arg(FDbMinor).arg(FDbRev); }
  int StartIndex() const { return FStartIndex; }
  int EndIndex() const { return FEndIndex; }
  int BackupJikkou() const { return FBackupJikkou; }
  QString BackupFilePath() const { return FBackupFilePath; }
  const TErrInfomation& BackupRestoreErrInfo() const { return FBackupRestoreErrInfo; }
  // The restore after a failed step failed: the backup file stays where
  // BackupFilePath says, for the operator to restore by hand.
  bool BackupKept() const { return FBackupKept; }

  // The step lists (empty in this system).
  TArrayDbUpdateListRec& DefDbUpdateList() { return FDefDbUpdateList; }
  TArrayDbUpdateListRec& UserDbUpdateList() { return FUserDbUpdateList; }
  // The list of the current kind.
  const TArrayDbUpdateListRec& CurrentList() const { return FDbType == 0 ? FDefDbUpdateList : FUserDbUpdateList; }

  // The lines of the error box after a run that did not finish: the first
  // line of the kind, the worker's error texts, and the kept backup.
  QStringList ErrorLines() const;
  // Removes the backup file of the last run unless it is kept.
  void DeleteBackupFile();

  void SetView(TDbUpdateView* AView) { FView = AView; }

 private:
  bool RunWorker(int AProcType);

  quint8 FDbType = 0;
  bool FDataUpdateJikkoFlg = false;
  bool FDataUpdateKekkaFlg = false;
  int FDataConnectFlg = 0;
  TArrayDbUpdateListRec FDefDbUpdateList;
  TArrayDbUpdateListRec FUserDbUpdateList;
  int FDbMajor = 0;
  int FDbMinor = 0;
  int FDbRev = 0;
  int FMaxUpdateDbMajor = 17;
  int FMaxUpdateDbMinor = 0;
  int FMaxUpdateDbRev = 0;
  int FStartIndex = 0;
  int FEndIndex = 0;
  int FBackupJikkou = 0;
  QString FBackupFilePath;
  TErrInfomation FBackupRestoreErrInfo;
  bool FBackupKept = false;
  TDbUpdateView* FView = nullptr;
};
