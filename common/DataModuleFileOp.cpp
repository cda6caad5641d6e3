// File and folder operations of the data module by access form: the local
// file system for stand-alone data, the server's procedures for data on the
// database server.
#include <QDir>
#include <QFileInfo>

#include "common/AccFunction2.h"
#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/FbError.h"
#include "db/DbError.h"
#include "platform/Paths.h"

namespace {

bool isServerForm(int form)
{
  return form == jxatCS || form == jxatSBC;
}

}  // namespace

bool TDM::ServerFileOperation(const QString& AMode, const QString& AFilePath1, const QString& AFilePath2)
{
  bool serverError = false;
  return ServerFileOperation(AMode, AFilePath1, AFilePath2, serverError);
}

bool TDM::ServerFileOperation(const QString& AMode, const QString& AFilePath1, const QString& AFilePath2,
                              bool& AServerError)
{
  AServerError = false;
  const QString mode = AMode.toUpper();
  static const QStringList kModes{QStringLiteral("FEXIST"), QStringLiteral("FCOPY"), QStringLiteral("FDEL"),
                                  QStringLiteral("DEXIST"), QStringLiteral("MKDIR"), QStringLiteral("RMDIR")};
  if (!kModes.contains(mode) || AFilePath1.trimmed().isEmpty())
    return false;
  if (mode == QLatin1String("FCOPY") && AFilePath2.trimmed().isEmpty())
    return false;
  const QString message = QStringLiteral("サーバーへのファイル操作(%1)に失敗しました。").arg(mode);
  bool openedHere = false;
  bool result = false;
  try {
    if (!IBDatabaseDEF.isConnected()) {
      if (!fnAccDefConnected(SystemDef.SERVERNAME, true)) {
        AServerError = true;
        return false;
      }
      openedHere = true;
    }
    TOwnTransaction tr(IBTransactionDEF);
    const bool fileMode =
        mode == QLatin1String("FEXIST") || mode == QLatin1String("FCOPY") || mode == QLatin1String("FDEL");
    IBSQLDEF.setSql(fileMode ? QStringLiteral("SELECT WBOOL FROM FILEOPERATION(:MODE,:FILEPATH1,:FILEPATH2)")
                             : QStringLiteral("SELECT WBOOL FROM DIRECTORYTEST(:MODE,:FILEPATH1)"));
    IBSQLDEF.setParam("MODE", mode);
    IBSQLDEF.setParam("FILEPATH1", AFilePath1);
    if (fileMode)
      IBSQLDEF.setParam("FILEPATH2", AFilePath2);
    IBSQLDEF.open();
    result = !IBSQLDEF.eof() && IBSQLDEF.field("WBOOL").asInt() == 1;
    IBSQLDEF.close();
    tr.Commit();
  } catch (const db::DbError& e) {
    IBSQLDEF.close();
    fnShowFbError(e, QStringLiteral("TDM.ServerFileOperation"), message, true);
    result = false;
    AServerError = true;
  } catch (const std::exception& e) {
    IBSQLDEF.close();
    fnShowErrorDetail(message, QString::fromUtf8(e.what()), mtError);
    result = false;
    AServerError = true;
  }
  if (openedHere)
    IBDatabaseDEF.disconnect();
  return result;
}

QString TDM::ServerLongToShortFileName(const QString& AFilePath1)
{
  if (AFilePath1.trimmed().isEmpty())
    return QString();
  bool openedHere = false;
  QString result;
  try {
    if (!IBDatabaseDEF.isConnected()) {
      if (!fnAccDefConnected(SystemDef.SERVERNAME, true))
        return QString();
      openedHere = true;
    }
    TOwnTransaction tr(IBTransactionDEF);
    IBSQLDEF.setSql(QStringLiteral("SELECT SHORTNAME FROM LONGTOSHORTFILENAME(:LONGNAME)"));
    IBSQLDEF.setParam("LONGNAME", AFilePath1);
    IBSQLDEF.open();
    if (!IBSQLDEF.eof())
      result = IBSQLDEF.field("SHORTNAME").asString();
    IBSQLDEF.close();
    tr.Commit();
  } catch (const db::DbError& e) {
    IBSQLDEF.close();
    fnShowFbError(e, QStringLiteral("TDM.ServerLongToShortFileName"),
                  QStringLiteral("サーバーからのファイル名の変換(LongToShort)に失敗しました。"), true);
    result.clear();
  } catch (const std::exception& e) {
    IBSQLDEF.close();
    fnShowErrorDetail(QStringLiteral("サーバーからのファイル名の変換(LongToShort)に失敗しました。"),
                      QString::fromUtf8(e.what()), mtError);
    result.clear();
  }
  if (openedHere)
    IBDatabaseDEF.disconnect();
  return result;
}

bool TDM::AccDirectoryExists(const QString& AFilePath, int AAppType)
{
  if (AAppType == jxatSA)
    return QFileInfo(AFilePath).isDir();
  if (isServerForm(AAppType))
    return ServerFileOperation(QStringLiteral("DExist"), AFilePath, QString());
  return false;
}

bool TDM::AccMakeDirectory(const QString& AFilePath, int AAppType)
{
  if (AAppType == jxatSA) {
    const QString p = AFilePath.trimmed();
    if (p.isEmpty() || p == QLatin1String("/") || (p.size() <= 3 && p.size() >= 2 && p.at(1) == QLatin1Char(':')))
      return false;
    return QDir().mkpath(p);
  }
  if (isServerForm(AAppType))
    return ServerFileOperation(QStringLiteral("MkDir"), AFilePath, QString());
  return false;
}

bool TDM::AccDeleteDirectory(const QString& AFilePath, int AAppType, bool AGomiBako)
{
  if (AAppType == jxatSA)
    return fnFileDelete(AFilePath, 3, AGomiBako, false);
  if (isServerForm(AAppType))
    return ServerFileOperation(QStringLiteral("RmDir"), AFilePath, QString());
  return false;
}

bool TDM::AccFileExists(const QString& AFilePath, int AAppType)
{
  if (AAppType == jxatSA)
    return QFileInfo(AFilePath).isFile();
  if (isServerForm(AAppType))
    return ServerFileOperation(QStringLiteral("FExist"), AFilePath, QString());
  return false;
}

bool TDM::AccDeleteFile(const QString& AFilePath, int AAppType, bool AGomiBako)
{
  if (AAppType == jxatSA)
    return fnFileDelete(AFilePath, 3, AGomiBako, false);
  if (isServerForm(AAppType))
    return ServerFileOperation(QStringLiteral("FDel"), AFilePath, QString());
  return false;
}

bool TDM::AccMoveFile(const QString& AMotoFilePath, const QString& ASakiFilePath, int AAppType)
{
  if (AAppType == jxatSA)
    return fnFileCopyMove(AMotoFilePath, ASakiFilePath, 1);
  if (isServerForm(AAppType)) {
    if (!ServerFileOperation(QStringLiteral("FCopy"), AMotoFilePath, ASakiFilePath))
      return false;
    return ServerFileOperation(QStringLiteral("FDel"), AMotoFilePath, QString());
  }
  return false;
}

bool TDM::AccCopyFile(const QString& AMotoFilePath, const QString& ASakiFilePath, int AAppType)
{
  if (AAppType == jxatSA)
    return fnFileCopyMove(AMotoFilePath, ASakiFilePath, 2);
  if (isServerForm(AAppType))
    return ServerFileOperation(QStringLiteral("FCopy"), AMotoFilePath, ASakiFilePath);
  return false;
}

QString TDM::AccLongToShortFileName(const QString& AFilePath, int /*AAppType*/)
{
  return AFilePath;
}

bool TDM::BackupAccFDB(const QString& ADestPath)
{
  fnAccDatDisConnected(SystemDef.IBPATHDAT, false, false, false);
  const QString source = PathJoin(SystemDef.IBPATHDAT, AccDataFile);
  const QString target = PathJoin(ExcludeTrailingPathDelimiter(ADestPath), AccDataFile);
  // The copy goes to a temporary name and replaces the old backup only when
  // it is whole: the old backup is kept until then.
  return AccCopyFile(source, target, AppType);
}

bool TDM::RestoreAccFDB(const QString& ASourcePath)
{
  fnAccDatDisConnected(SystemDef.IBPATHDAT, false, false, false);
  return AccCopyFile(PathJoin(ExcludeTrailingPathDelimiter(ASourcePath), AccDataFile),
                     PathJoin(SystemDef.IBPATHDAT, AccDataFile), AppType);
}
