#include "datasel/DataRebuild.h"

#include <atomic>
#include <thread>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "common/AccFunction2.h"
#include "common/AccRecord.h"
#include "common/DataInfomation.h"
#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/FbError.h"
#include "common/MessageHook.h"
#include "datasel/DataFolderStatus.h"
#include "datasel/DataLockToggle.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "db/Services.h"
#include "platform/Paths.h"

namespace {

const QString kDbName = QStringLiteral("wqacc2.fdb");
const QString kFailed = QStringLiteral("データ再構築の処理に失敗しました。");

bool serverForm()
{
  return AppType == jxatCS || AppType == jxatSBC;
}

bool fileExists(const QString& APath)
{
  if (AppType == jxatSA)
    return QFileInfo(APath).isFile();
  return DM && DM->AccFileExists(APath, AppType);
}

void deleteFile(const QString& APath)
{
  if (APath.isEmpty() || !fileExists(APath))
    return;
  if (DM)
    DM->AccDeleteFile(APath, AppType, false);
  else if (AppType == jxatSA)
    QFile::remove(APath);
}

bool copyFile(const QString& AFrom, const QString& ATo)
{
  return DM && DM->AccCopyFile(AFrom, ATo, AppType);
}

QString serviceHost()
{
  return TDM::fnUseRemoteForm(SystemDef.SERVERNAME) ? SystemDef.SERVERNAME : QString();
}

// Whether the database opens: a restore that failed before it touched the
// file leaves it sound; one that failed half-way leaves no usable database.
bool databaseOpens(const QString& ADb)
{
  const QString host = serviceHost();
  db::Database d(host.isEmpty() ? ADb : db::Database::remoteName(host, FbPort, ADb));
  d.setUser(SystemDef.IBUSER);
  d.setPassword(SystemDef.PASWORD);
  try {
    d.connect();
    d.disconnect();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

// ---------------------------------------------------------------- the data-list lock

TDataListLockHold::~TDataListLockHold()
{
  Release();
}

bool TDataListLockHold::exec(const QString& ASql, int ARec)
{
  if (!DM)
    return false;
  bool openedHere = false;
  bool changed = false;
  try {
    if (!DM->IBDatabaseDEF.isConnected()) {
      if (!DM->fnAccDefConnected(SystemDef.SERVERNAME, true))
        return false;
      openedHere = true;
    }
    TOwnTransaction tr(DM->IBTransactionDEF);
    DM->IBSQLDEF.setSql(ASql);
    DM->IBSQLDEF.setParam(QStringLiteral("DATALOCK"), FOpNo);
    DM->IBSQLDEF.setParam(QStringLiteral("REC"), ARec);
    DM->IBSQLDEF.setParam(QStringLiteral("GROUPID"), SystemDef.GROUPID);
    DM->IBSQLDEF.exec();
    changed = DM->IBSQLDEF.rowsAffected() > 0;
    DM->IBSQLDEF.close();
    tr.Commit();
  } catch (const db::DbError& e) {
    DM->IBSQLDEF.close();
    fnShowFbError(e, QStringLiteral("TDataSyosaiInfoBox.SetListDataLock"),
                  QStringLiteral("データリストのロックの更新に失敗しました。"), true);
    changed = false;
  }
  if (openedHere)
    DM->IBDatabaseDEF.disconnect();
  return changed;
}

bool TDataListLockHold::Take(int ARec)
{
  if (!serverForm() || FTaken)
    return FTaken;
  FRec = ARec;
  FOpNo = fnOperatorNumber(SystemDef.OPCODE);
  // Only a row nobody holds takes the mark (decided by the statement itself).
  FTaken = exec(QStringLiteral("UPDATE DATALIST SET DATALOCK=:DATALOCK "
                               "WHERE REC=:REC AND GROUPID=:GROUPID AND COALESCE(DATALOCK,0)=0"),
                ARec);
  return FTaken;
}

void TDataListLockHold::Release()
{
  if (!FTaken)
    return;
  FTaken = false;
  // Only the mark set here goes; a mark someone else has set since stays.
  exec(QStringLiteral("UPDATE DATALIST SET DATALOCK=0 WHERE REC=:REC AND GROUPID=:GROUPID AND DATALOCK=:DATALOCK"),
       FRec);
}

// ---------------------------------------------------------------- the rebuild

void TDataSaikotiku::message(const QStringList& ALines)
{
  if (OnMessage)
    OnMessage(ALines);
  else
    MessageHook().ShowMessageLines(2, ALines);
}

QString TDataSaikotiku::freeSafetyName(const QString& ABase)
{
  // A safety copy an earlier run kept for the operator is left alone.
  if (!fileExists(ABase))
    return ABase;
  for (int n = 1; n < 100; ++n) {
    const QString name = ABase + QString::number(n);
    if (!fileExists(name))
      return name;
  }
  return QString();
}

TDataSaikotiku::TStepResult TDataSaikotiku::runBackupRestore(const QString& ADb, const QString& ABk, QString& AError)
{
  // The backup and the restore run in a worker so that the caller can keep
  // window messages flowing; only the worker touches its service objects.
  const QString host = serviceHost();
  const QString user = SystemDef.IBUSER;
  const QString password = SystemDef.PASWORD;
  const int port = FbPort;
  std::atomic<bool> done{false};
  TStepResult result = srOk;
  QString error;
  std::thread worker([&] {
    try {
      db::Services svc;
      if (!host.isEmpty()) {
        svc.setHost(host);
        svc.setPort(port);
      }
      svc.setUser(user);
      svc.setPassword(password);
      result = srBackupFailed;
      db::Services::BackupOptions bo;
      bo.verbose = false;
      svc.backup(ADb, ABk, bo);
      result = srRestoreFailed;
      db::Services::RestoreOptions ro;
      ro.replace = true;
      ro.deactivateIndexes = false;  // indexes are rebuilt and active
      ro.verbose = false;
      svc.restore(ABk, ADb, ro);
      result = srOk;
    } catch (const std::exception& e) {
      error = QString::fromUtf8(e.what());
    }
    done.store(true);
  });
  while (!done.load())
    fnWaitMSec(300);
  worker.join();
  AError = error;
  return result;
}

bool TDataSaikotiku::Execute()
{
  FKept.clear();
  FDb.clear();
  FSafe.clear();
  FBk.clear();
  TDataListLockHold lock;
  if (DataLock < 1)
    lock.Take(Rec);

  QString temp = ExcludeTrailingPathDelimiter(SystemDef.APPTEMP);
  if (temp.trimmed().isEmpty())
    temp = QDir::tempPath();
  for (const char* leftover : {"wqacc2.fbk", "wqacc2.fdb", "wqacc2.ini"}) {
    const QString f = PathJoin(temp, QString::fromLatin1(leftover));
    if (QFileInfo::exists(f))
      QFile::remove(f);
  }

  const bool onCopy = ProcType == 1 && Allowed;
  FDb = PathJoin(DataPath, kDbName);
  FSafe = onCopy ? PathJoin(temp, kDbName) : freeSafetyName(ChangeFileExt(FDb, QStringLiteral(".fd_")));
  FBk = ChangeFileExt(PathJoin(serverForm() ? DataPath : temp, QStringLiteral("wqacc2.fbk")), QStringLiteral(".fb_"));

  // The safety copy: nothing has changed when it cannot be made.
  if (FSafe.isEmpty() || !copyFile(FDb, FSafe)) {
    deleteFile(FSafe);  // a part-made copy of this run (the name was free)
    message({QStringLiteral("データ再構築の前処理（会計データのコピー）に失敗しました。")});
    return false;
  }
  deleteFile(FBk);

  bool ok = false;
  QString error;
  const TStepResult step = runBackupRestore(onCopy ? FSafe : FDb, FBk, error);
  QStringList lines;
  if (step == srOk) {
    ok = true;
    if (onCopy && !copyFile(FSafe, FDb)) {
      // The rebuilt copy is sound; the database may not be: keep the copy.
      ok = false;
      FKept = FSafe;
      lines = {kFailed, QString(), QStringLiteral("再構築した会計データを残しています："), FSafe};
    }
    if (ok) {
      try {
        // The folder is free again, unless another operator has marked it.
        TDataInfomationRec now;
        const TJxDataStatus st = AppType == jxatSA ? fnReadDataFolderStatus(DataPath, now) : jxdsNone;
        bool othersMark = false;
        if (st == jxdsLock)
          othersMark = fnDataLockAction(st, now.OpCode, 1, SystemDef.OPCODE).Kind != TDataLockAction::DoRelease;
        else if (st != jxdsNone && st != jxdsHason && now.OpCode != 0)
          othersMark = fnOperatorNumber(now.OpCode) != fnOperatorNumber(SystemDef.OPCODE);
        if (!othersMark) {
          TDataInfomation info;
          info.SetAppType(AppType);
          info.WriteIniFileDataStatus(DataPath, jxdsNone);
        }
      } catch (const std::exception& e) {
        ok = false;
        FKept = FSafe;
        lines = {kFailed, QString(), QStringLiteral("[詳細情報]"), QString::fromUtf8(e.what())};
      }
    }
  } else if (onCopy) {
    // The worker failed on the copy; the database itself is untouched.
    lines = {kFailed, QString(), QStringLiteral("[詳細情報]"), error};
  } else {
    FKept = FSafe;
    lines = {kFailed, QString(), QStringLiteral("[詳細情報]"), error, QString()};
    if (step == srRestoreFailed && !databaseOpens(FDb)) {
      // The database was being replaced: put this run's copy back.
      if (!copyFile(FSafe, FDb))
        lines << QStringLiteral("会計データを元に戻せませんでした。");
    }
    lines << QStringLiteral("再構築前の会計データを残しています：") << FSafe;
  }

  deleteFile(FBk);
  if (FKept != FSafe)
    deleteFile(FSafe);
  lock.Release();
  if (!lines.isEmpty())
    message(lines);
  return ok;
}
