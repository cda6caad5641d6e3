#include "common/DataInfomation.h"

#include "common/AccFunctionNum.h"
#include "common/AccReg.h"
#include "common/DataFolderLock.h"
#include "common/DataModule.h"
#include "common/FbError.h"
#include "common/SeihinVersionList.h"
#include "common/TypedValue.h"
#include "db/DbError.h"
#include "platform/AppError.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"

namespace {

const QString kSts = QStringLiteral("DATASTS");
const QString kInfo = QStringLiteral("DATAINFO");

}  // namespace

TDataInfomation::TDataInfomation() = default;
TDataInfomation::~TDataInfomation() = default;

QString TDataInfomation::GetSeihinText(int AMajor, int AMinor, const QString& /*ADefText*/)
{
  if (AMajor == 0 && AMinor > 0)
    return QStringLiteral("評価版");
  const QString version = QStringLiteral("%1.%2").arg(AMajor).arg(AMinor);
  if (!FSeihinVerList) {
    FSeihinVerList = std::make_unique<TSeihinVersionList>();
    FSeihinVerList->Execute(jxstAsc);
  }
  for (int i = 0; i < FSeihinVerList->ItemCount(); ++i)
    if (FSeihinVerList->ItemGetterVersion(i) == version)
      return FSeihinVerList->ItemGetterSeihin(i);
  return version;
}

void TDataInfomation::InitRecord(TDataInfomationRec& rec)
{
  rec = TDataInfomationRec{};
}

QString TDataInfomation::IniFileName(const QString& ADataPath)
{
  return PathJoin(ExcludeTrailingPathDelimiter(ADataPath), ChangeFileExt(AccDataFile, QStringLiteral(".ini")));
}

int TDataInfomation::GetDataInfoRec(TDataInfomationRec& r)
{
  InitRecord(r);
  if (!DM)
    return 0;
  bool openedHere = false;
  db::Transaction& t = DM->IBTransactionDAT;
  bool started = false;
  try {
    if (!DM->IBDatabaseDAT.isConnected()) {
      DM->IBDatabaseDAT.connect();
      openedHere = true;
    }
    started = t.startIfNeeded();
    db::Query q(t);
    q.setSql(
        QStringLiteral("SELECT ENTTEXT,DATATYPE,CODETYPE,SCODE1,SKANA,SHOUGOU,TANTOU,NENDO,KISHU,KIMATU,SITEN,"
                       "BUMON,DATALOCK FROM ACCDEF1 WHERE REC=1"));
    q.open();
    if (!q.eof()) {
      r.DataListName = q.field("ENTTEXT").asString();
      r.DataKbn = q.field("DATATYPE").asInt();
      r.CodeKbn = q.field("CODETYPE").asInt();
      r.Code = q.field("SCODE1").asString();
      r.Kana = q.field("SKANA").asString();
      r.Shougou = q.field("SHOUGOU").asString();
      r.Tanto = q.field("TANTOU").asInt();
      r.Nendo = q.field("NENDO").asInt();
      r.Kishu = fnDateToStrKind(4, q.field("KISHU").asDateTime());
      r.Kimatu = fnDateToStrKind(4, q.field("KIMATU").asDateTime());
      r.SitenKanri = q.field("SITEN").asInt();
      r.BumonKanri = q.field("BUMON").asInt();
      r.UpdateLock = q.field("DATALOCK").asInt();
    }
    q.close();
    r.GassanDataKbn = std::uint8_t(
        fnGetAccReg(QStringLiteral("基本設定"), QStringLiteral("合算データ区分"), TypeWordInt, QStringLiteral("0"))
            .toLongLong());
    q.setSql(QStringLiteral("SELECT MAJOR,MINOR1,MINOR2 FROM ACCVERSION WHERE REC=1 ORDER BY MAJOR,MINOR1,MINOR2"));
    q.open();
    if (!q.eof()) {
      r.VerMajor = q.field("MAJOR").asInt();
      r.VerMinor = q.field("MINOR1").asInt();
      r.VerRevision = q.field("MINOR2").asInt();
      r.VerText = GetSeihinText(r.VerMajor, r.VerMinor, QString());
    }
    q.close();
    if (r.SitenKanri > 0) {
      q.setSql(QStringLiteral("SELECT COUNT(SCODE) AS RECCNT FROM SISETUMST WHERE SCODE <> ''"));
      q.open();
      r.SitenCnt = q.field("RECCNT").asInt();
      q.close();
    }
    if (r.BumonKanri > 0) {
      q.setSql(QStringLiteral("SELECT COUNT(BCODE) AS RECCNT FROM BUMONMST WHERE BCODE <> ''"));
      q.open();
      r.BumonCnt = q.field("RECCNT").asInt();
      q.close();
    }
    // Live journal entries (the branches' counters, one per entry) and all
    // entries (changed and deleted ones added), over every branch.
    q.setSql(QStringLiteral("SELECT COALESCE(SUM(SIWAKECOUNT),0) AS SWKCNT FROM SISETUMST"));
    q.open();
    r.Siwake = q.field("SWKCNT").asInt();
    q.close();
    q.setSql(QStringLiteral("SELECT COUNT(REC) AS SWKCNT FROM SIWAKE\nWHERE (DELFLG IN (1,2) AND TAISHAKU=1)"));
    q.open();
    r.TotalSiwake = r.Siwake + q.field("SWKCNT").asInt();
    q.close();
    r.UseMyNumberKbn =
        int(fnGetAccReg(QStringLiteral("基本設定"), QStringLiteral("＃USE"), TypeWordInt, QStringLiteral("0"))
                .toLongLong());
    const QString version = QStringLiteral("%1.%2.%3").arg(r.VerMajor).arg(r.VerMinor).arg(r.VerRevision);
    if (DM->IsCloudShare(false) && fnVersionGreater(version, QStringLiteral("11.0.0"))) {
      q.setSql(QStringLiteral("SELECT CLOUD_LINE FROM ACCDEF1 WHERE REC=1"));
      q.open();
      r.CloudShare = !q.eof() && q.field("CLOUD_LINE").asInt() > 0 ? jxcsUse : jxcsUnUse;
      q.close();
    }
    if (fnVersionGreaterEq(version, QStringLiteral("12.0.0"))) {
      q.setSql(QStringLiteral("SELECT READ_ONLY FROM ACCDEF1 WHERE REC=1"));
      q.open();
      r.ReadOnly = q.eof() ? 0 : q.field("READ_ONLY").asInt();
      q.close();
    }
    if (started && t.inTransaction())
      t.commit();
    return 1;
  } catch (const db::DbError& e) {
    if (started && t.inTransaction()) {
      try {
        t.commit();
      } catch (...) {
        pcLogDroppedError("TDataInfomation.GetDataInfoRec");
        t.rollback();
      }
    }
    fnShowFbError(e, QStringLiteral("TDataInfomation.GetDataInfoRec"),
                  QStringLiteral("基本情報の取得に失敗しました。\r(iniファイル)"), true);
  } catch (const std::exception&) {
    if (started && t.inTransaction()) {
      try {
        t.commit();
      } catch (...) {
        pcLogDroppedError("TDataInfomation.GetDataInfoRec");
      }
    }
    fnShowErrorDetail(QStringLiteral("基本情報の取得に失敗しました。\r(iniファイル)"), QString(), mtError);
  }
  if (openedHere)
    DM->IBDatabaseDAT.disconnect();
  return 0;
}

void TDataInfomation::WriteIniFile(const QString& ADataPath, const QString& ASection, const TDataInfomationRec& r)
{
  if (FAppType != jxatSA || ADataPath.isEmpty())
    return;
  FDataInfoRec = r;
  const TDataFolderLock lock(ADataPath);
  IniFile ini(IniFileName(ADataPath), IniFile::Encoding::Utf16LeBom);
  if (ASection.isEmpty() || ASection == kSts) {
    ini.EraseSection(kSts);
    ini.WriteInteger(kSts, QStringLiteral("STATUS"), r.Status);
    if (r.OpCode != 0) {
      ini.WriteInteger(kSts, QStringLiteral("OPCODE"), r.OpCode);
      ini.WriteString(kSts, QStringLiteral("OPERATOR"), r.OpName);
    }
    ini.WriteInteger(kSts, QStringLiteral("SHARE_STATUS"), r.KyoyuStatus);
    if (r.KyoyuOpCode != 0) {
      ini.WriteInteger(kSts, QStringLiteral("SHARE_OPCODE"), r.KyoyuOpCode);
      ini.WriteString(kSts, QStringLiteral("SHARE_OPERATOR"), r.KyoyuOpName);
    }
    ini.WriteInteger(kSts, QStringLiteral("UPDATE_LOCK"), r.UpdateLock);
    ini.WriteInteger(kSts, QStringLiteral("READ_ONLY"), r.ReadOnly);
  }
  if (ASection.isEmpty() || ASection == kInfo) {
    ini.EraseSection(kInfo);
    ini.WriteString(kInfo, QStringLiteral("DATALISTNAME"), r.DataListName);
    ini.WriteString(kInfo, QStringLiteral("CODE"), r.Code);
    ini.WriteInteger(kInfo, QStringLiteral("DATAKBN"), r.DataKbn);
    ini.WriteInteger(kInfo, QStringLiteral("CODEKBN"), r.CodeKbn);
    ini.WriteString(kInfo, QStringLiteral("SHOUGOU"), r.Shougou);
    ini.WriteString(kInfo, QStringLiteral("KANA"), r.Kana);
    ini.WriteInteger(kInfo, QStringLiteral("NENDO"), r.Nendo);
    ini.WriteString(kInfo, QStringLiteral("KISHU"), r.Kishu);
    ini.WriteString(kInfo, QStringLiteral("KIMATU"), r.Kimatu);
    ini.WriteInteger(kInfo, QStringLiteral("TANTO"), r.Tanto);
    ini.WriteInteger(kInfo, QStringLiteral("SITEN"), r.SitenKanri);
    ini.WriteInteger(kInfo, QStringLiteral("SITENCNT"), r.SitenCnt);
    ini.WriteInteger(kInfo, QStringLiteral("BUMON"), r.BumonKanri);
    ini.WriteInteger(kInfo, QStringLiteral("BUMONCNT"), r.BumonCnt);
    ini.WriteInteger(kInfo, QStringLiteral("SIWAKE"), r.Siwake);
    ini.WriteInteger(kInfo, QStringLiteral("TOTALSIWAKE"), r.TotalSiwake);
    ini.WriteString(kInfo, QStringLiteral("VERSION1"),
                    QStringLiteral("%1.%2.%3").arg(r.VerMajor).arg(r.VerMinor).arg(r.VerRevision));
    ini.WriteString(kInfo, QStringLiteral("VERSION2"), r.VerText);
    ini.WriteInteger(kInfo, QStringLiteral("GASSANKBN"), r.GassanDataKbn);
    ini.WriteInteger(kInfo, QStringLiteral("USEMYNUMBER"), r.UseMyNumberKbn);
    ini.WriteInteger(kInfo, QStringLiteral("CLOUD_SHARE"), r.CloudShare);
  }
  ini.UpdateFile();
}

void TDataInfomation::WriteIniFileDataStatus(const QString& ADataPath, TJxDataStatus AStatus)
{
  if (FAppType != jxatSA || ADataPath.isEmpty())
    return;
  WriteIniValue(ADataPath, kSts, QStringLiteral("STATUS"), int(AStatus), false);
  const bool none = AStatus == jxdsNone;
  WriteIniValue(ADataPath, kSts, QStringLiteral("OPCODE"), SystemDef.OPCODE, none);
  WriteIniValue(ADataPath, kSts, QStringLiteral("OPERATOR"), SystemDef.OPNAME, none);
}

void TDataInfomation::WriteIniValue(const QString& ADataPath, const QString& ASection, const QString& AKey,
                                    const QVariant& AValue, bool ADelete)
{
  if (FAppType != jxatSA || ADataPath.isEmpty())
    return;
  const TDataFolderLock lock(ADataPath);
  IniFile ini(IniFileName(ADataPath), IniFile::Encoding::Utf16LeBom);
  if (ADelete)
    ini.DeleteKey(ASection, AKey);
  else
    ini.WriteString(ASection, AKey, fnVarToStr(AValue));
  ini.UpdateFile();
}
