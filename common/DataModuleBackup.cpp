// Backup and restore of a database file through the Firebird services or
// the gbak tool, and the server's installation folder.
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "common/AccFunction.h"
#include "common/BackupFile.h"
#include "common/DataModule.h"
#include "common/FbError.h"
#include "db/DbError.h"
#include "db/Services.h"
#include "platform/Exceptions.h"
#include "platform/Paths.h"

namespace {

constexpr int kProtocolLocal = 3;
const QString kLocalHost = QStringLiteral("127.0.0.1");

// Where the files of a run live: this machine for the local engine and for
// stand-alone use, else the server (reached through its file procedures).
int fileForm(int AProtocl)
{
  return AProtocl == kProtocolLocal || AppType == jxatSA ? int(jxatSA) : int(AppType);
}

void setUpService(db::Services& svc, int AProtocl, const QString& AServerName, const QString& AUser,
                  const QString& APassword)
{
  if (AProtocl != kProtocolLocal) {
    svc.setHost(AServerName);
    svc.setPort(FbPort);
  }
  svc.setUser(AUser);
  svc.setPassword(APassword);
}

// The temporary database a restore writes before it replaces the target.
QString restoreTemp(const QString& ADataBaseName)
{
  return fnTempBeside(ADataBaseName, QStringLiteral("rs_"));
}

QString readLog(const QString& ALog)
{
  QFile f(ALog);
  if (!f.open(QIODevice::ReadOnly))
    return QString();
  return QString::fromLocal8Bit(f.readAll());
}

}  // namespace

QString TDM::fnGBakTool()
{
  const QString own = PathJoin(SystemDef.EXEPATH, QStringLiteral("gbak"));
  if (!SystemDef.EXEPATH.isEmpty() && QFileInfo(own).isExecutable())
    return own;
  const QString found = QStandardPaths::findExecutable(QStringLiteral("gbak"));
  return found.isEmpty() ? QStringLiteral("/usr/bin/gbak") : found;
}

void TDM::backupProgress(const QString& ALine)
{
  if (BackupProgressProc)
    BackupProgressProc(ALine);
  QCoreApplication::processEvents();
}

// Runs gbak with the arguments, its user and password in its environment
// (never on its command line), pumping the event loop until it ends. Throws
// EPlatformError with ANotStarted when it cannot start, and with AFailed and
// its log when it fails: a log that reports an error, or an end other than
// a normal one with code 0 (a tool that was killed wrote no error).
void TDM::runGBak(const QStringList& AArgs, const QString& ALog, const QString& ANotStarted, const QString& AFailed)
{
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("ISC_USER"), SystemDef.IBUSER);
  env.insert(QStringLiteral("ISC_PASSWORD"), SystemDef.PASWORD);
  p.setProcessEnvironment(env);
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(fnGBakTool(), AArgs);
  if (!p.waitForStarted(30000))
    throw EPlatformError(ANotStarted);
  if (BackupToolStartedProc)
    BackupToolStartedProc(p.processId());
  while (!p.waitForFinished(50)) {
    if (p.state() == QProcess::NotRunning)
      break;
    const QByteArray out = p.readAll();
    if (!out.isEmpty())
      backupProgress(QString::fromLocal8Bit(out).trimmed());
    else
      QCoreApplication::processEvents();
  }
  const QString log = readLog(ALog);
  const bool normal = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
  if (log.contains(QStringLiteral("ERROR")) || !normal) {
    QString detail = log;
    if (detail.isEmpty())
      detail = QString::fromLocal8Bit(p.readAll());
    if (!normal && !detail.contains(QStringLiteral("ERROR")))
      detail += QStringLiteral("\r(gbak: %1)")
                    .arg(p.exitStatus() == QProcess::NormalExit ? QStringLiteral("exit %1").arg(p.exitCode())
                                                                : QStringLiteral("ended abnormally"));
    throw EPlatformError(AFailed + detail);
  }
}

bool TDM::BackupFDB(int AProtocl, const QString& AServerName, const QString& ADataBaseName, const QString& AFile,
                    bool ADirect)
{
  const int form = fileForm(AProtocl);
  const QString output = ADirect ? fnTempBeside(AFile, QStringLiteral("fb_"))
                                 : PathJoin(ExtractFileDir(ADataBaseName), ChangeFileExt(AccDataBackupFile, ".fb_"));
  const bool moveNeeded = output.compare(AFile, Qt::CaseInsensitive) != 0;
  db::Services svc;
  setUpService(svc, AProtocl, AServerName, SystemDef.IBUSER, SystemDef.PASWORD);
  svc.attach();  // a service that cannot be reached ends the caller's step
  bool result = false;
  try {
    if (moveNeeded && AccFileExists(output, form))
      AccDeleteFile(output, form, false);
    db::Services::BackupOptions o;
    o.ignoreLimbo = true;
    o.noGarbageCollection = true;
    o.nonTransportable = true;
    o.verbose = true;
    svc.backup(ADataBaseName, output, o, [this](const QString& line) { backupProgress(line); });
    svc.detach();
    if (moveNeeded) {
      // The earlier backup stays until the new one is whole in its place.
      if (!fnReplaceFile(output, AFile, form))
        throw EPlatformError(QStringLiteral("データベースバックアップファイルのMoveに失敗しました。"));
    } else if (form == jxatSA && !fnSyncFile(AFile)) {
      throw EPlatformError(QStringLiteral("データベースバックアップファイルを書き込めませんでした。"));
    }
    result = true;
  } catch (const db::DbError& e) {
    fnShowFbError(e, QStringLiteral("TDM.BackupFDB"), QStringLiteral("データベースのバックアップに失敗しました。"),
                  true);
  } catch (const std::exception& e) {
    fnShowErrorDetail(QStringLiteral("データベースのバックアップに失敗しました。"), QString::fromUtf8(e.what()),
                      mtError);
  }
  svc.detach();
  if (!result && moveNeeded && AccFileExists(output, form))
    AccDeleteFile(output, form, false);
  return result;
}

// After a restore of a company database: connect it and empty its list of
// open processes. False when it cannot be connected.
bool TDM::afterRestore(int AProtocl, const QString& AServerName, const QString& ADataBaseName)
{
  if (!ADataBaseName.contains(AccDataFile))
    return true;
  QString host = AServerName;
  if (AppType != jxatSA && AProtocl == kProtocolLocal && AServerName.isEmpty())
    host = kLocalHost;
  if (!fnAccDatConnected(host, ExtractFileDir(ADataBaseName), false))
    return false;
  DeleteOpInf();
  return true;
}

bool TDM::RestoreFDB(int AProtocl, const QString& AServerName, const QString& ADataBaseName, const QString& AFile,
                     bool ARestoreIndex)
{
  const int form = fileForm(AProtocl);
  const QString temp = restoreTemp(ADataBaseName);
  db::Services svc;
  setUpService(svc, AProtocl, AServerName, SystemDef.IBUSER, SystemDef.PASWORD);
  svc.attach();
  bool result = false;
  bool swapped = false;
  try {
    if (AccFileExists(temp, form))
      AccDeleteFile(temp, form, false);
    db::Services::RestoreOptions o;
    o.replace = true;
    o.deactivateIndexes = !ARestoreIndex;
    o.pageSize = 16384;
    o.pageBuffers = 4096;
    o.verbose = true;
    svc.restore(AFile, temp, o, [this](const QString& line) { backupProgress(line); });
    svc.detach();
    // The database is replaced only by a whole restore.
    if (!fnReplaceFile(temp, ADataBaseName, form))
      throw EPlatformError(QStringLiteral("復元したデータベースを置き換えられませんでした。"));
    swapped = true;
    result = afterRestore(AProtocl, AServerName, ADataBaseName);
  } catch (const db::DbError& e) {
    fnShowFbError(e, QStringLiteral("TDM.RestoreFDB"), QStringLiteral("データベースのリストアに失敗しました。"), true);
  } catch (const std::exception& e) {
    fnShowErrorDetail(QStringLiteral("データベースのリストアに失敗しました。"), QString::fromUtf8(e.what()), mtError);
  }
  svc.detach();
  if (!swapped && AccFileExists(temp, form))
    AccDeleteFile(temp, form, false);
  if (ADataBaseName.contains(AccDataFile))
    fnAccDatDisConnected(ExtractFileDir(ADataBaseName), false, false, false);
  return result;
}

bool TDM::BackupFDB_GBak(int AProtocl, const QString& AServerName, const QString& ADataBaseName, const QString& AFile,
                         bool ADirect)
{
  if (AServerName == kLocalHost)
    return BackupFDB(kProtocolLocal, AServerName, ADataBaseName, AFile, ADirect);
  Q_UNUSED(AProtocl);
  const QString log = PathJoin(SystemDef.TEMP, QStringLiteral("gbak.log"));
  QFile::remove(log);
  const QString database = AServerName.isEmpty()
                               ? ADataBaseName
                               : QStringLiteral("%1/%2:%3").arg(AServerName).arg(FbPort).arg(ADataBaseName);
  // The tool writes the backup on this machine, under a temporary name.
  const QString temp = fnTempBeside(AFile, QStringLiteral("fb_"));
  QFile::remove(temp);
  try {
    runGBak({QStringLiteral("-b"), QStringLiteral("-g"), QStringLiteral("-y"), log, database, temp}, log,
            QStringLiteral("バックアップツール(gbak.exe)が起動出来ませんでした。\r処理を終了します。"),
            QStringLiteral("バックアップ中にエラーが発生しました。\r"));
    if (!fnReplaceFile(temp, AFile, jxatSA))
      throw EPlatformError(QStringLiteral("データベースバックアップファイルのMoveに失敗しました。"));
  } catch (...) {
    QFile::remove(temp);
    throw;
  }
  return true;
}

bool TDM::RestoreFDB_GBak(int AProtocl, const QString& AServerName, const QString& ADataBaseName, const QString& AFile,
                          bool ARestoreIndex)
{
  if (AServerName == kLocalHost)
    return RestoreFDB(kProtocolLocal, AServerName, ADataBaseName, AFile, ARestoreIndex);
  Q_UNUSED(AProtocl);
  bool result = false;
  if (!QFileInfo(AFile).isFile())
    return false;
  const int form = AServerName.isEmpty() ? int(jxatSA) : fileForm(0);
  const QString log = PathJoin(SystemDef.TEMP, QStringLiteral("gbak.log"));
  QFile::remove(log);
  const QString temp = restoreTemp(ADataBaseName);
  const QString database =
      AServerName.isEmpty() ? temp : QStringLiteral("%1/%2:%3").arg(AServerName).arg(FbPort).arg(temp);
  bool swapped = false;
  try {
    if (AccFileExists(temp, form))
      AccDeleteFile(temp, form, false);
    runGBak({QStringLiteral("-rep"), QStringLiteral("-bu"), QStringLiteral("4096"), QStringLiteral("-p"),
             QStringLiteral("16384"), QStringLiteral("-FIX_FSS_METADATA"), QStringLiteral("UTF8"),
             QStringLiteral("-FIX_FSS_DATA"), QStringLiteral("UTF8"), QStringLiteral("-y"), log, AFile, database},
            log, QStringLiteral("リストアツール(gbak.exe)が起動出来ませんでした。\r処理を終了します。"),
            QStringLiteral("リストア中にエラーが発生しました。\r"));
    if (!fnReplaceFile(temp, ADataBaseName, form))
      throw EPlatformError(QStringLiteral("復元したデータベースを置き換えられませんでした。"));
    swapped = true;
    result = afterRestore(AProtocl, AServerName, ADataBaseName);
  } catch (const db::DbError& e) {
    fnShowFbError(e, QStringLiteral("TDM.RestoreFDB"), QStringLiteral("データベースのリストアに失敗しました。"), true);
  } catch (const std::exception& e) {
    fnShowErrorDetail(QStringLiteral("データベースのリストアに失敗しました。"), QString::fromUtf8(e.what()), mtError);
  }
  if (!swapped && AccFileExists(temp, form))
    AccDeleteFile(temp, form, false);
  if (ADataBaseName.contains(AccDataFile))
    fnAccDatDisConnected(ExtractFileDir(ADataBaseName), false, false, false);
  return result;
}

QString TDM::InstallFDB(int AProtocl, const QString& AServerName)
{
  db::Services svc;
  setUpService(svc, AProtocl, AServerName, ServiceAdminUser, ServiceAdminPassword);
  QString folder;
  try {
    folder = svc.homeDirectory();
  } catch (const db::DbError& e) {
    fnShowFbError(e, QStringLiteral("TDM.InstallFDB"),
                  QStringLiteral("データベースのインストールパス取得に失敗しました。"), true);
  } catch (const std::exception& e) {
    fnShowErrorDetail(QStringLiteral("データベースのインストールパス取得に失敗しました。"), QString::fromUtf8(e.what()),
                      mtError);
  }
  svc.detach();
  return folder;
}
