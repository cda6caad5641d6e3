// Creating and deleting the members of a consolidated data set: a member is
// made as a cleared copy of the parent (its own balances, journals and audit
// state emptied, its masters kept), registered in CHILD_DATALIST, and later
// removed with its folder.
#include <optional>

#include <QDir>
#include <QFileInfo>

#include "common/AccFunction2.h"
#include "common/AccReg.h"
#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/FbError.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "maint/GassanDataCtl.h"
#include "platform/Paths.h"

namespace {

const QString kSyokikaFailed = QStringLiteral("分散入力用データの初期化に失敗しました。");

// A member folder name stays one folder below the parent.
bool isPlainFolderName(const QString& AName)
{
  return !AName.trimmed().isEmpty() && AName != QLatin1String(".") && AName != QLatin1String("..") &&
         !AName.contains(QLatin1Char('/')) && !AName.contains(QLatin1Char('\\'));
}

QString companyFile(const QString& AFolder)
{
  return PathJoin(AFolder, AccDataFile.isEmpty() ? QStringLiteral("wqacc2.fdb") : AccDataFile);
}

// Every balance column a cleared member starts from, per table.
QStringList zeroColumns(const QString& ATable)
{
  QStringList c;
  if (ATable == QLatin1String("KAKOZAN")) {
    c << QStringLiteral("KISHU");
    for (const char* kind : {"KOMIZAN", "NUKIZAN", "IKKATSU", "HAIBUN"})
      for (int n = 1; n <= 16; ++n)
        c << QStringLiteral("%1_%2").arg(QLatin1String(kind)).arg(n);
  } else if (ATable == QLatin1String("KAMOKU_SZ")) {
    c << QStringLiteral("KAISIZAN");
    for (int n = 1; n <= 16; ++n)
      c << QString::asprintf("HAIBUN%.2d", n);
    c << QStringLiteral("KAKOZAN") << QStringLiteral("KISHU_KOMI") << QStringLiteral("KISHU_NUKI");
  } else if (ATable == QLatin1String("KAMOKU_MS")) {
    c << QStringLiteral("KAR_NUK") << QStringLiteral("KAR_TAX") << QStringLiteral("KAS_NUK")
      << QStringLiteral("KAS_TAX") << QStringLiteral("BYOSAN") << QStringLiteral("BYOSOKU") << QStringLiteral("RYOSAN")
      << QStringLiteral("KAR_IKKATSU") << QStringLiteral("KAS_IKKATSU");
  } else if (ATable == QLatin1String("KAMOKU_TAX")) {
    c << QStringLiteral("KAR") << QStringLiteral("KAS");
  } else if (ATable == QLatin1String("SISETUMST")) {
    c << QStringLiteral("SIWAKECOUNT");
  }
  return c;
}

}  // namespace

QString TGassanDataCtl::childFolderOf(const QString& AFolder, bool AForDelete)
{
  if (FGassanData.SitenKanri != 0) {
    FChildSCODE = AFolder;
    return AFolder;
  }
  FChildSCODE.clear();
  if (!AFolder.isEmpty())
    return AFolder;
  return GetChildFolderName(FParentAccDataPath, AForDelete ? 0 : 1);
}

bool TGassanDataCtl::parentAttachedElsewhere(QString& AWhy) const
{
  // A copy of a database that another connection is writing to may be
  // inconsistent: the parent must be free.
  db::Database d;
  d.setDatabaseName(companyFile(FParentAccDataPath));
  d.setUser(SystemDef.IBUSER);
  d.setPassword(SystemDef.PASWORD);
  d.setCharset(QStringLiteral("UTF8"));
  try {
    d.connect();
    db::Transaction tr(d);
    tr.start();
    db::Query q(tr, QStringLiteral("SELECT COUNT(*) FROM MON$ATTACHMENTS "
                                   "WHERE MON$ATTACHMENT_ID<>CURRENT_CONNECTION AND MON$SYSTEM_FLAG=0"));
    q.open();
    const int others = q.eof() ? 0 : q.field(0).asInt();
    q.close();
    tr.commit();
    d.disconnect();
    if (others > 0) {
      AWhy = QStringLiteral("合算データが他で使用中です。");
      return true;
    }
    return false;
  } catch (const db::DbError& e) {
    AWhy = e.message();
    return true;
  }
}

bool TGassanDataCtl::AddChildData(const QString& AFolder)
{
  const QString name = childFolderOf(AFolder, false);
  if (!isPlainFolderName(name)) {
    FChildSCODE.clear();
    return false;
  }
  FChildAccDataPath = PathJoin(FParentAccDataPath, name);
  auto clearChild = [this] {
    FChildAccDataPath.clear();
    FChildSCODE.clear();
  };
  if (!fnFolderExists(FChildAccDataPath)) {
    clearChild();
    return false;
  }

  QString why;
  if (parentAttachedElsewhere(why)) {
    fnShowErrorDetail(QStringLiteral("合算データが使用中のため、分散データを作成できません。"), why, mtError);
    fnFileDelete(FChildAccDataPath, 3, false, false);
    clearChild();
    return false;
  }
  if (!fnFileCopy(companyFile(FParentAccDataPath), companyFile(FChildAccDataPath))) {
    fnFileDelete(FChildAccDataPath, 3, false, false);
    clearChild();
    return false;
  }

  try {
    AccDataSyokika();
  } catch (const std::exception&) {
    // Reported by the initialisation itself; the half-made member goes.
    pcLogDroppedError("TGassanDataCtl.AddChildData");
    if (DM && DM->IBDatabaseDAT.isConnected())
      DM->fnAccDatDisConnected(FChildAccDataPath, true, false, false);
    fnFileDelete(FChildAccDataPath, 3, false, false);
    clearChild();
    return false;
  }

  int at = FindChildData(FChildAccDataPath);
  if (at < 0) {
    FGassanChildData.push_back(TGassanChildDataRec{});
    at = int(FGassanChildData.size()) - 1;
  }
  TGassanChildDataRec& entry = FGassanChildData[std::size_t(at)];
  entry.RecNo = FGassanData.RecNo;
  entry.RowNo = 0;
  entry.RowNo = GetNextRowNo(1);
  entry.SCODE = FGassanData.SitenKanri != 0 ? name : QString();
  entry.DataPath = FChildAccDataPath;
  registerChild(entry, name);

  clearChild();
  return true;
}

void TGassanDataCtl::selectChildRow(const TGassanChildDataRec& AEntry, const QString& AFolderName)
{
  FSelData = TDataListRec{};
  if (FKyoyuKbn != 0) {
    FDataList->InitDataListRecord(FSelData, PathJoin(FKyoyuParentAccDataPath, AFolderName));
    FSelData.NetDrive = FKyoyuKbn;
  } else {
    FDataList->InitDataListRecord(FSelData, FChildAccDataPath);
  }
  FSelData.Rec = AEntry.RecNo;
  FSelData.RowNo = AEntry.RowNo;
  FSelData.GassanDataKbn = jxgdBunsan;
}

void TGassanDataCtl::registerChild(const TGassanChildDataRec& AEntry, const QString& AFolderName)
{
  selectChildRow(AEntry, AFolderName);
  if (FKyoyuKbn != 0)
    FSelData.KyoyuLock = 1;
  FDataList->DataInfoRecToDataListRec(FSelDataInfo, FSelData);
  FDataList->UpdateDataListChildRecord(FSelData, 0, false);
}

void TGassanDataCtl::AccDataSyokika()
{
  if (FChildAccDataPath.isEmpty() || !DM)
    return;
  if (!DM->fnAccDatConnected(SystemDef.SERVERNAME, FChildAccDataPath, true))
    throw EGassanError(kSyokikaFailed);

  db::Transaction& tr = datTransaction();
  const bool started = tr.startIfNeeded();
  try {
    db::Query q(tr);
    auto run = [&q](const QString& sql) {
      q.setSql(sql);
      q.exec();
    };

    progress(QStringLiteral("分散データ[%s]の作成中です(監査情報クリア)…"));
    ClearKansa(q);

    progress(QStringLiteral("分散データ[%s]の作成中です(残高クリア)…"));
    for (const char* table : {"KAKOZAN", "KAMOKU_SZ", "KAMOKU_MS", "KAMOKU_TAX", "SISETUMST"}) {
      const QString t = QString::fromLatin1(table);
      QStringList sets;
      for (const QString& c : zeroColumns(t))
        sets << c + QStringLiteral("=0");
      if (t == QLatin1String("KAKOZAN"))
        sets << QStringLiteral("TRIGGER_SWITCH=1");
      run(QStringLiteral("UPDATE %1 SET %2").arg(t, sets.join(QLatin1Char(','))));
    }

    progress(QStringLiteral("分散データ[%s]の作成中です(仕訳クリア)…"));
    for (const char* sql : {"DELETE FROM SIWAKE", "DELETE FROM KAKOSIWAKE1", "DELETE FROM KAKOSIWAKE2",
                            "DELETE FROM KS_SISAN", "SET GENERATOR SIWAKE_REC_GEN TO 0"})
      run(QString::fromLatin1(sql));
    for (int n = 0; n <= 99; ++n)
      run(QString::asprintf("SET GENERATOR SIWAKE%.2d_GEN TO 0", n));
    run(QStringLiteral("SET GENERATOR KSSISAN_GEN TO 0"));

    pcSetAccReg(kGassanRegGroup, kGassanRegKbn, QStringLiteral("整数"), int(jxgdBunsan));
    pcSetAccReg(kGassanRegGroup, kGassanRegCount, QStringLiteral("整数"), 0);

    if (AccInf.ZaimuDataType == jxztCuravia) {
      progress(QStringLiteral("分散データ[%s]の作成中です(施設調整)…"));
      q.setSql(QStringLiteral("DELETE FROM SISETUMST WHERE (SCODE NOT IN (:BLANK, :SCODE))"));
      q.setParam("BLANK", QStringLiteral(" "));
      q.setParam("SCODE", FChildSCODE);
      q.exec();
      if (FChildSCODE == QLatin1String("00")) {
        // The blank-branch row of each account, sub-account and department
        // that has only that one row.
        db::Query rows(tr);
        rows.setSql(
            QStringLiteral("SELECT ' ' AS SCODE,KCODE,HCODE,BCODE FROM KAMOKU_SZ "
                           "GROUP BY KCODE,HCODE,BCODE HAVING COUNT(SCODE)=1"));
        q.setSql(
            QStringLiteral("DELETE FROM KAMOKU_SZ WHERE SCODE=:SCODE AND KCODE=:KCODE AND HCODE=:HCODE "
                           "AND BCODE=:BCODE"));
        for (rows.open(); !rows.eof(); rows.next()) {
          q.setParam("SCODE", rows.field("SCODE").asString());
          q.setParam("KCODE", rows.field("KCODE").asString());
          q.setParam("HCODE", rows.field("HCODE").asString());
          q.setParam("BCODE", rows.field("BCODE").asString());
          q.exec();
        }
        rows.close();
      }
    }

    if (started)
      tr.commit();
  } catch (const std::exception& e) {
    if (started) {
      if (const auto* dbe = dynamic_cast<const db::DbError*>(&e))
        fnShowFbError(*dbe, QStringLiteral("TGassanDataCtl.AccDataSyokika"), kSyokikaFailed, false);
      else
        fnShowErrorDetail(kSyokikaFailed, QString::fromUtf8(e.what()), mtError);
      // Nothing of a half-cleared member may stay as if it were whole: what
      // was changed is given up.
      if (tr.inTransaction())
        tr.rollback();
    }
    throw;
  }
  FDataInfomation.SetAppType(AppType);
  FDataInfomation.ReadIniFile(FChildAccDataPath, FSelDataInfo);
  DM->fnAccDatDisConnected(FChildAccDataPath, true, false, false);
}

bool TGassanDataCtl::DeleteChildData(const QString& AFolder)
{
  const QString name = childFolderOf(AFolder, true);
  if (!isPlainFolderName(name)) {
    FChildSCODE.clear();
    return false;
  }
  FChildAccDataPath = PathJoin(FParentAccDataPath, name);
  const bool deleted = QFileInfo::exists(FChildAccDataPath) && fnFileDelete(FChildAccDataPath, 3, false, true);
  const int at = FindChildData(FChildAccDataPath);
  // A member whose folder is still there keeps its row, so that the list
  // never forgets data that is on the disk.
  if (at >= 0 && (deleted || !QFileInfo::exists(FChildAccDataPath))) {
    selectChildRow(FGassanChildData[std::size_t(at)], name);
    FDataList->DeleteDataListChildRecord(FSelData, true);
    FGassanChildData.erase(FGassanChildData.begin() + at);
  }
  FChildAccDataPath.clear();
  FChildSCODE.clear();
  return deleted;
}

bool TGassanDataCtl::ChildDataSaisakusei()
{
  bool ok = true;
  if (AccInf.SITEN_KANRI == 0) {
    if (FProgressBox)
      FProgressBox->SetProgressText(QStringLiteral("分散データの整合処理中です…"));
    const int found = int(FGassanChildData.size());
    const int expected = int(FGassanChildMaster.size());
    for (int i = found; i < expected; ++i)
      ok = AddChildData(QString()) && ok;
    for (int i = expected; i < found; ++i)
      ok = DeleteChildData(QString()) && ok;
    return ok;
  }
  auto has = [](const TGassanChildDataArray& AList, const QString& APath) {
    for (const TGassanChildDataRec& m : AList)
      if (ExcludeTrailingPathDelimiter(m.DataPath) == ExcludeTrailingPathDelimiter(APath))
        return true;
    return false;
  };
  const TGassanChildDataArray expected = FGassanChildMaster;
  for (const TGassanChildDataRec& m : expected)
    if (!has(FGassanChildData, m.DataPath)) {
      if (FProgressBox)
        FProgressBox->SetProgressText(QStringLiteral("分散データ[%1]の作成中です…").arg(m.SCODE));
      ok = AddChildData(m.SCODE) && ok;
    }
  for (std::size_t i = 0; i < FGassanChildData.size();) {
    const TGassanChildDataRec m = FGassanChildData[i];
    if (has(FGassanChildMaster, m.DataPath)) {
      ++i;
      continue;
    }
    if (FProgressBox)
      FProgressBox->SetProgressText(QStringLiteral("分散データ[%1]の削除中です…").arg(m.SCODE));
    const std::size_t before = FGassanChildData.size();
    ok = DeleteChildData(m.SCODE) && ok;
    // The list moved up when the member went; a member kept is passed over.
    if (FGassanChildData.size() == before)
      ++i;
  }
  return ok;
}

bool TGassanDataCtl::ChildDataZenSakujyo()
{
  if (FParentAccDataPath.isEmpty())
    return false;
  FDataList->SetAppType(AppType);
  TDataListRec parent;
  FDataList->InitDataListRecord(parent, FParentAccDataPath);
  FDataList->GetDataListRecord(jxrkPath, parent, true);
  FParentDataRec = parent.Rec;
  FKyoyuKbn = parent.NetDrive;
  FKyoyuParentAccDataPath = parent.NetDrive == 1 ? parent.DataPath : QString();
  FGassanData.RecNo = parent.Rec;
  FGassanChildData.clear();
  FGassanChildMaster.clear();
  readRegisteredRows(jxgdGassan, true);
  bool ok = true;
  for (std::size_t i = FGassanChildData.size(); i-- > 0;) {
    if (i >= FGassanChildData.size())
      continue;
    ok = DeleteChildData(QDir(FGassanChildData[i].DataPath).dirName()) && ok;
  }
  return ok;
}
