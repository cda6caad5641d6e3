// Database names and the connections of the data module.
#include "common/DataInfomation.h"
#include "common/DataModule.h"
#include "common/FbError.h"
#include "db/DbError.h"
#include "platform/Format.h"
#include "platform/Paths.h"

namespace {

const QString kLocalHost = QStringLiteral("127.0.0.1");
const QString kFileManFile = QStringLiteral("wqfileman.fdb");

void setParams(db::Database& d, const QString& name)
{
  d.setDatabaseName(name);
  d.setUser(SystemDef.IBUSER);
  d.setPassword(SystemDef.PASWORD);
  d.setCharset(FbCharSet);
  d.setRole(QString());
}

void clearParams(db::Database& d)
{
  d.setUser(QString());
  d.setPassword(QString());
}

// Codes that mean the database file itself is damaged.
constexpr int kDamageCodes[] = {
    335544323,  // not a valid database
    335544335,  // database file may be corrupt
    335544346,  // system tables corrupt
    335544404,  // database corrupted
    335544405,  // checksum error on a page
    335544406,  // index corrupted
    335544415,  // database corrupted
    335544645,  // data at the current position corrupt
    335544649,  // checksum error
    335544650,  // wrong page type
};

}  // namespace

QString TDM::fnDatabaseName(const QString& AHostName, const QString& AFolder, const QString& AFileName, bool ARemote)
{
  const QString path = PathJoin(ExcludeTrailingPathDelimiter(AFolder), AFileName);
  if (!ARemote)
    return path;
  return QStringLiteral("%1/%2:%3").arg(AHostName).arg(FbPort).arg(path);
}

bool TDM::fnUseRemoteForm(const QString& AHostName)
{
  return AppType != jxatSA && AHostName != kLocalHost;
}

bool TDM::fnIsDamageError(const db::DbError& E)
{
  if (E.isLostConnection())
    return false;
  for (int code : kDamageCodes)
    if (E.hasCode(code))
      return true;
  return false;
}

bool TDM::fnAccDefConnected(const QString& AHostName, bool AExceptOn)
{
  const QString host = AHostName.isEmpty() ? SystemDef.SERVERNAME : AHostName;
  if (IBDatabaseDEF.isConnected())
    return true;
  const QString message = QStringLiteral("システムデータベースの接続処理に失敗しました。");
  try {
    const bool remote = fnUseRemoteForm(host);
    if (remote && host.isEmpty())
      return false;
    setParams(IBDatabaseDEF, fnDatabaseName(host, SystemDef.IBPATHDEF, AccDataDefFile, remote));
    IBDatabaseDEF.connect();
    return IBDatabaseDEF.isConnected();
  } catch (const db::DbError& e) {
    if (!AExceptOn)
      throw;
    fnShowFbError(e, QStringLiteral("TDM.fnAccDefConnected"), message, false);
  } catch (const std::exception& e) {
    if (!AExceptOn)
      throw;
    fnShowErrorDetail(message, QString::fromUtf8(e.what()), mtError);
  }
  return false;
}

bool TDM::fnAccFileManConnected(const QString& AHostName)
{
  const QString host = AHostName.isEmpty() ? SystemDef.SERVERNAME : AHostName;
  if (!AccFileExists(PathJoin(SystemDef.IBPATHDEF, kFileManFile), AppType))
    return false;
  if (IBFileMan.isConnected())
    return true;
  try {
    const bool remote = fnUseRemoteForm(host);
    if (remote && host.isEmpty())
      return false;
    setParams(IBFileMan, fnDatabaseName(host, SystemDef.IBPATHDEF, kFileManFile, remote));
    IBFileMan.connect();
    return IBFileMan.isConnected();
  } catch (const std::exception&) {
    return false;
  }
}

bool TDM::connectCompany(db::Database& ADb, const QString& AStep, const QString& AHostName, const QString& AIBPathDat)
{
  const QString message = QStringLiteral(
      "ユーザーデータベースの接続処理に失敗しました。\rDBファイルが削除、破損 または "
      "使用中の可能性がありますので接続パスを確認して下さい。");
  try {
    ADb.disconnect();
    const bool remote = fnUseRemoteForm(AHostName);
    setParams(ADb, fnDatabaseName(AHostName, AIBPathDat, AccDataFile, remote));
    ADb.connect();
    return ADb.isConnected();
  } catch (const db::DbError& e) {
    fnShowFbError(e, AStep, message, false);
    // Only a damaged database is worth the validation; a wrong password, a
    // lost network or a database in use is not.
    if (!FbFatalLatch && fnIsDamageError(e))
      ValidateFbDataBase(AHostName, AIBPathDat, 1, 0);
  } catch (const std::exception& e) {
    fnShowErrorDetail(message, QString::fromUtf8(e.what()), mtError);
  }
  return false;
}

bool TDM::fnAccDatConnected(const QString& AHostName, const QString& AIBPathDat, bool AIniWrite)
{
  const QString host = AHostName.isEmpty() ? SystemDef.SERVERNAME : AHostName;
  const QString folder = AIBPathDat.isEmpty() ? SystemDef.IBPATHDAT : AIBPathDat;
  const int form = host == kLocalHost ? int(jxatSA) : int(AppType);
  if (!AccFileExists(PathJoin(folder, AccDataFile), form))
    return false;
  if (!connectCompany(IBDatabaseDAT, QStringLiteral("TDM.fnAccDatConnected"), host, folder))
    return false;
  if (AIniWrite && AppType == jxatSA) {
    // Another data set still marked by this program is given back first.
    if (!FDatMarkedFolder.isEmpty() && FDatMarkedFolder != folder)
      releaseDatMark();
    try {
      TDataInfomation info;
      info.SetAppType(AppType);
      TDataInfomationRec rec;
      FDatMarkedFolder = folder;
      if (info.GetDataInfoRec(rec) != 0) {
        rec.Status = jxdsExec;
        rec.OpCode = SystemDef.OPCODE;
        rec.OpName = SystemDef.OPNAME;
        info.WriteIniFile(folder, QString(), rec);
      } else {
        // The database could not be read: the settings file keeps what it
        // knows of the data set and only takes the mark.
        info.WriteIniFileDataStatus(folder, jxdsExec);
      }
    } catch (const std::exception& e) {
      fnShowErrorDetail(QStringLiteral("データの状態を記録できませんでした。"), QString::fromUtf8(e.what()), mtError);
    }
  }
  return IBDatabaseDAT.isConnected();
}

void TDM::writeDatStatus(const QString& AFolder, int AStatus)
{
  TDataInfomation info;
  info.SetAppType(AppType);
  info.WriteIniFileDataStatus(AFolder, TJxDataStatus(AStatus));
}

void TDM::releaseDatMark()
{
  if (FDatMarkedFolder.isEmpty())
    return;
  const QString folder = FDatMarkedFolder;
  FDatMarkedFolder.clear();
  try {
    writeDatStatus(folder, jxdsNone);
  } catch (const std::exception& e) {
    fnShowErrorDetail(QStringLiteral("データの状態を記録できませんでした。"), QString::fromUtf8(e.what()), mtError);
  }
}

bool TDM::fnAccDatZenkiConnected(const QString& AHostName, const QString& AIBPathDat)
{
  if (AIBPathDat.isEmpty())
    return false;
  const QString host = AHostName.isEmpty() ? SystemDef.SERVERNAME : AHostName;
  const int form = host == kLocalHost ? int(jxatSA) : int(AppType);
  if (!AccFileExists(PathJoin(AIBPathDat, AccDataFile), form))
    return false;
  return connectCompany(IBDatabaseZEN, QStringLiteral("TDM.fnAccDatZenkiConnected"), host, AIBPathDat);
}

namespace {
TDataListUpdateProc& dataListUpdateProc()
{
  static TDataListUpdateProc proc;
  return proc;
}
}  // namespace

void SetDataListUpdateProc(TDataListUpdateProc AProc)
{
  dataListUpdateProc() = std::move(AProc);
}

const TDataListUpdateProc& DataListUpdateProc()
{
  return dataListUpdateProc();
}

bool TDM::fnAccDatDisConnected(const QString& AIBPathDat, bool AIniWrite, bool ADataListUpdate,
                               bool AReplace_AccDef1_ListName)
{
  const QString folder = AIBPathDat.isEmpty() ? SystemDef.IBPATHDAT : AIBPathDat;
  if ((AIniWrite || ADataListUpdate) && IBDatabaseDAT.isConnected()) {
    try {
      TDataInfomation info;
      info.SetAppType(AppType);
      TDataInfomationRec rec;
      const bool read = info.GetDataInfoRec(rec) != 0;
      rec.Status = jxdsNone;
      if (AIniWrite && AppType == jxatSA) {
        // What could not be read is not written over what the file knows.
        if (read)
          info.WriteIniFile(folder, QString(), rec);
        else
          info.WriteIniFileDataStatus(folder, jxdsNone);
        if (FDatMarkedFolder == folder)
          FDatMarkedFolder.clear();
      }
      if (ADataListUpdate) {
        if (const TDataListUpdateProc& update = DataListUpdateProc())
          update(folder, rec, AReplace_AccDef1_ListName);
      }
    } catch (const std::exception& e) {
      fnShowErrorDetail(QStringLiteral("データの状態を記録できませんでした。"), QString::fromUtf8(e.what()), mtError);
    }
  }
  // A data set that was marked but is no longer open (its reading failed
  // and the connection went) is given back too.
  if (AIniWrite && FDatMarkedFolder == folder)
    releaseDatMark();
  IBDatabaseDAT.disconnect();
  clearParams(IBDatabaseDAT);
  return true;
}

bool TDM::fnAccDatZenkiDisConnected(const QString& /*AIBPathDat*/)
{
  IBDatabaseZEN.disconnect();
  clearParams(IBDatabaseZEN);
  return true;
}
