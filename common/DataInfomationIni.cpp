// Reading a data folder's status and attributes: the settings file of
// stand-alone data, the data list and the company database in the server
// forms; the share-status writer, copying and rebuilding the settings file.
#include <QFileInfo>

#include "common/AccFunction2.h"
#include "common/AccFunctionNum.h"
#include "common/DataInfomation.h"
#include "common/DataModule.h"
#include "common/FbError.h"
#include "common/TypedValue.h"
#include "db/DbError.h"
#include "platform/AppError.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"

namespace {

const QString kSts = QStringLiteral("DATASTS");
const QString kInfo = QStringLiteral("DATAINFO");

// False for a folder on a mounted network share (a path whose share name
// differs from the path): its settings file is never created from here.
bool onLocalDisk(const QString& ADataPath)
{
  return fnGetUNCName(ADataPath) == ADataPath;
}

void readSettings(const IniFile& ini, TDataInfomationRec& r)
{
  r.Status = TJxDataStatus(ini.ReadInteger(kSts, QStringLiteral("STATUS"), jxdsNone));
  r.OpCode = ini.ReadInteger(kSts, QStringLiteral("OPCODE"), 0);
  r.OpName = ini.ReadString(kSts, QStringLiteral("OPERATOR"));
  r.KyoyuStatus = TJxKyoyuStatus(ini.ReadInteger(kSts, QStringLiteral("SHARE_STATUS"), jxksNone));
  r.KyoyuOpCode = ini.ReadInteger(kSts, QStringLiteral("SHARE_OPCODE"), 0);
  r.KyoyuOpName = ini.ReadString(kSts, QStringLiteral("SHARE_OPERATOR"));
  r.UpdateLock = ini.ReadInteger(kSts, QStringLiteral("UPDATE_LOCK"), 0);
  r.ReadOnly = ini.ReadInteger(kSts, QStringLiteral("READ_ONLY"), 0);
  r.DataListName = ini.ReadString(kInfo, QStringLiteral("DATALISTNAME"));
  r.Code = ini.ReadString(kInfo, QStringLiteral("CODE"));
  r.DataKbn = ini.ReadInteger(kInfo, QStringLiteral("DATAKBN"), 0);
  r.CodeKbn = ini.ReadInteger(kInfo, QStringLiteral("CODEKBN"), 0);
  r.Shougou = ini.ReadString(kInfo, QStringLiteral("SHOUGOU"));
  r.Kana = ini.ReadString(kInfo, QStringLiteral("KANA"));
  r.Nendo = ini.ReadInteger(kInfo, QStringLiteral("NENDO"), 0);
  r.Kishu = ini.ReadString(kInfo, QStringLiteral("KISHU"));
  r.Kimatu = ini.ReadString(kInfo, QStringLiteral("KIMATU"));
  r.Tanto = ini.ReadInteger(kInfo, QStringLiteral("TANTO"), 0);
  r.SitenKanri = ini.ReadInteger(kInfo, QStringLiteral("SITEN"), 0);
  r.SitenCnt = ini.ReadInteger(kInfo, QStringLiteral("SITENCNT"), 0);
  r.BumonKanri = ini.ReadInteger(kInfo, QStringLiteral("BUMON"), 0);
  r.BumonCnt = ini.ReadInteger(kInfo, QStringLiteral("BUMONCNT"), 0);
  r.Siwake = ini.ReadInteger(kInfo, QStringLiteral("SIWAKE"), 0);
  r.TotalSiwake = ini.ReadInteger(kInfo, QStringLiteral("TOTALSIWAKE"), 0);
  const QStringList v = ini.ReadString(kInfo, QStringLiteral("VERSION1")).split(QLatin1Char('.'));
  r.VerMajor = v.value(0).toInt();
  r.VerMinor = v.value(1).toInt();
  r.VerRevision = v.value(2).toInt();
  r.VerText = ini.ReadString(kInfo, QStringLiteral("VERSION2"));
  r.GassanDataKbn = std::uint8_t(ini.ReadInteger(kInfo, QStringLiteral("GASSANKBN"), 0));
  r.UseMyNumberKbn = ini.ReadInteger(kInfo, QStringLiteral("USEMYNUMBER"), 0);
  r.CloudShare = ini.ReadInteger(kInfo, QStringLiteral("CLOUD_SHARE"), 0) > 0 ? jxcsUse : jxcsUnUse;
  if (r.DataListName.isEmpty())
    r.DataListName = r.Shougou;
}

}  // namespace

int TDataInfomation::ReadIniFile(const QString& ADataPath, TDataInfomationRec& ADataInfoRec)
{
  return ReadIniFile(SystemDef.SERVERNAME, ADataPath, ADataInfoRec);
}

int TDataInfomation::ReadIniFile(const QString& AHostName, const QString& ADataPath, TDataInfomationRec& r)
{
  InitRecord(r);
  if (ADataPath.isEmpty())
    return 1;
  if (FAppType == jxatSA) {
    const QString dbFile = PathJoin(ExcludeTrailingPathDelimiter(ADataPath), AccDataFile);
    const QString iniFile = IniFileName(ADataPath);
    const bool haveDb = QFileInfo::exists(dbFile);
    if (!haveDb && !QFileInfo::exists(iniFile))
      return 0;
    if (haveDb && !QFileInfo::exists(iniFile) && onLocalDisk(ADataPath) && DM) {
      // Opening and closing the data writes the file (in use, then free).
      // A folder on a network share gets none: the record shows the
      // defaults.
      if (!DM->fnAccDatConnected(AHostName, ADataPath, true) || !DM->IBDatabaseDAT.isConnected()) {
        r.Status = jxdsError;
        return 1;
      }
      DM->fnAccDatDisConnected(ADataPath, true, false, false);
    }
    readSettings(IniFile(iniFile), r);
    return 1;
  }
  if (FAppType != jxatCS && FAppType != jxatSBC)
    return 1;
  if (!DM)
    return 0;

  const QString upper = ADataPath.toUpper();
  const bool inData = upper.contains(QStringLiteral("/DATA/")) || upper.contains(QStringLiteral("\\DATA\\"));
  const QString table = inData ? QStringLiteral("DATALIST") : QStringLiteral("DATALIST_EX");
  bool openedDef = false;
  bool locked = false;
  try {
    if (!DM->IBDatabaseDEF.isConnected()) {
      openedDef = DM->fnAccDefConnected(AHostName, false);
      if (!openedDef)
        return 0;
    }
  } catch (const std::exception&) {
    return 0;
  }
  db::Transaction& t = DM->IBTransactionDEF;
  const bool started = t.startIfNeeded();
  db::Query q(t);
  try {
    q.setSql(QStringLiteral("SELECT D.DATALOCK,O.OPCODE,O.OPNAME,\n"
                            "D.ENTTEXT,D.DATACODE,D.DATATYPE,D.CODETYPE,D.SHOUGOU,D.NENDO,D.KISHU,D.KIMATU,D.TANTOU,"
                            "D.UPDATE_LOCK,D.VER_TEXT\n,D.VER_MAJOR,D.VER_MINOR1,D.VER_MINOR2\n,D.CLOUD\n,D.READ_ONLY\n"
                            "FROM ") +
             table +
             QStringLiteral(" D\nLEFT JOIN OPERATOR O ON(D.GROUPID=O.GROUPID AND D.DATALOCK=O.OPCODE)\n"
                            "WHERE (D.DATALOCK<>0)AND(UPPER(D.PASNAME)=:PASNAME)AND(D.GROUPID=:GROUPID)"));
    q.setParam(QStringLiteral("PASNAME"), upper);
    q.setParam(QStringLiteral("GROUPID"), SystemDef.GROUPID);
    for (q.open(); !q.eof(); q.next()) {
      locked = true;
      r.Status = jxdsLock;
      // The holder is the row's lock mark itself (equal to the joined
      // operator's code), so a lock whose operator row has gone still
      // names its holder.
      r.OpCode = q.field("DATALOCK").asInt() + SystemDef.GROUPID * 10000;
      r.OpName = q.field("OPNAME").asString();
      if (q.field("DATATYPE").asInt() != 0) {
        r.DataListName = q.field("ENTTEXT").asString();
        r.Code = q.field("DATACODE").asString();
        r.DataKbn = q.field("DATATYPE").asInt();
        r.CodeKbn = q.field("CODETYPE").asInt();
        r.Shougou = q.field("SHOUGOU").asString();
        r.Nendo = q.field("NENDO").asInt();
        r.Kishu = fnDateToStrKind(4, q.field("KISHU").asDateTime());
        r.Kimatu = fnDateToStrKind(4, q.field("KIMATU").asDateTime());
        r.Tanto = q.field("TANTOU").asInt();
        r.UpdateLock = q.field("UPDATE_LOCK").asInt();
        r.VerMajor = q.field("VER_MAJOR").asInt();
        r.VerMinor = q.field("VER_MINOR1").asInt();
        r.VerRevision = q.field("VER_MINOR2").asInt();
        r.VerText = q.field("VER_TEXT").asString();
        r.CloudShare = q.field("CLOUD").asInt() > 0 ? jxcsUse : jxcsUnUse;
        r.ReadOnly = q.field("READ_ONLY").asInt();
      }
    }
    q.close();
    if (started && t.inTransaction())
      t.commit();
  } catch (const std::exception& e) {
    q.close();
    if (const auto* fb = dynamic_cast<const db::DbError*>(&e))
      fnShowFbError(*fb, QStringLiteral("TDataInfomation.ReadIniFile"),
                    QStringLiteral("ロック情報の取得に失敗しました。"), true);
    if (started && t.inTransaction()) {
      try {
        t.commit();
      } catch (...) {
        pcLogDroppedError("TDataInfomation.ReadIniFile");
        try {
          t.rollback();
        } catch (...) {
          pcLogDroppedError("TDataInfomation.ReadIniFile");
        }
      }
    }
    locked = false;
    InitRecord(r);
  }
  int result = 1;
  if (locked) {
    result = 0;
  } else if (!DM->AccFileExists(PathJoin(ExcludeTrailingPathDelimiter(ADataPath), AccDataFile), FAppType)) {
    r.Status = jxdsNone;
    result = 0;
  } else if (!DM->fnAccDatConnected(AHostName, ADataPath, false) || !DM->IBDatabaseDAT.isConnected()) {
    r.Status = jxdsError;
  } else {
    GetDataInfoRec(r);
    DM->fnAccDatDisConnected(ADataPath, false, false, false);
    r.Status = DM->AccDatInConnection(1, AHostName, ADataPath, false) ? jxdsExec : jxdsNone;
  }
  if (openedDef)
    DM->IBDatabaseDEF.disconnect();
  return result;
}

QVariant TDataInfomation::ReadIniValue(const QString& ADataPath, const QString& ASection, const QString& AKey)
{
  if (FAppType != jxatSA || ADataPath.isEmpty())
    return QString();
  return IniFile(IniFileName(ADataPath)).ReadString(ASection, AKey);
}

void TDataInfomation::WriteIniFileKyoyuDataStatus(const QString& ADataPath, TJxKyoyuStatus AStatus)
{
  if (FAppType != jxatSA || ADataPath.isEmpty())
    return;
  WriteIniValue(ADataPath, kSts, QStringLiteral("SHARE_STATUS"), int(AStatus), false);
  const bool none = AStatus == jxksNone;
  WriteIniValue(ADataPath, kSts, QStringLiteral("SHARE_OPCODE"), SystemDef.OPCODE, none);
  WriteIniValue(ADataPath, kSts, QStringLiteral("SHARE_OPERATOR"), SystemDef.OPNAME, none);
}

int TDataInfomation::CopyIniFile(const QString& AMotoDataPath, const QString& ASakiDataPath, const QString& ASection)
{
  TDataInfomationRec r;
  const int result = ReadIniFile(AMotoDataPath, r);
  if (result == 1)
    WriteIniFile(ASakiDataPath, ASection, r);
  return result;
}

void TDataInfomation::InitIniFile(const QString& ADataPath, const QString& ASection)
{
  if (FAppType != jxatSA || ADataPath.isEmpty())
    return;
  if (!ASection.isEmpty()) {
    TDataInfomationRec r;
    InitRecord(r);
    if (ASection == kInfo && DM) {
      if (DM->fnAccDatConnected(SystemDef.SERVERNAME, ADataPath, false) && DM->IBDatabaseDAT.isConnected()) {
        GetDataInfoRec(r);
        DM->fnAccDatDisConnected(ADataPath, false, false, false);
      }
    }
    WriteIniFile(ADataPath, ASection, r);
    return;
  }
  if (DM && onLocalDisk(ADataPath) && DM->fnAccDatConnected(SystemDef.SERVERNAME, ADataPath, true))
    DM->fnAccDatDisConnected(ADataPath, true, false, false);
}
