#include "datasel/ComDataSentaku.h"

#include <iterator>

#include "common/AccFunctionNum.h"
#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/FbError.h"
#include "datasel/ComDataSentakuStep.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "platform/Paths.h"

namespace {

const QString kChildTable = QStringLiteral("CHILD_DATALIST");

db::Transaction& defTransaction()
{
  if (!DM)
    throw db::DbError(QStringLiteral("データモジュールがありません。"));
  return DM->IBTransactionDEF;
}

QString lastComponent(const QString& path)
{
  return ExtractFileName(ExcludeTrailingPathDelimiter(ToSlashes(path)));
}

// Reports a failure the way the data-list operations do.

}  // namespace

QString pcDataListRecLocalPath(TDataListRec& AData)
{
  QString path = ExcludeTrailingPathDelimiter(AData.DataPath);
  if (AData.NetDrive == 1 && !AData.DataPath.isEmpty()) {
    const QString folder = QStringLiteral("%1").arg(AData.Rec, 4, 10, QLatin1Char('0'));
    if (IsGassanOwnRow(AData.GassanDataKbn))
      path = PathJoin(SystemDef.IBPATHDEF, folder);
    else
      path = PathJoin({SystemDef.IBPATHDEF, folder, lastComponent(AData.DataPath)});
  }
  AData.LocalPath = path;
  return path;
}

TDataSentakuListCtl::TDataSentakuListCtl()
{
  SetDataPlaceRec(0);
  const QString version = QStringLiteral("%1.%2.%3")
                              .arg(SystemDef.SystemDBVerMajor)
                              .arg(SystemDef.SystemDBVerMinor)
                              .arg(SystemDef.SystemDBVerRev);
  FDB_V1101_CloudShare = fnVersionGreaterEq(version, QStringLiteral("11.0.1"));
  FDB_V1200_ReadOnly = fnVersionGreaterEq(version, QStringLiteral("12.0.0"));
}

TDataSentakuListCtl::~TDataSentakuListCtl() = default;

void TDataSentakuListCtl::SetDataPlaceRec(int value)
{
  FDataPlaceRec = (FAppType == jxatCS || FAppType == jxatSBC) && value != 0 ? value : 0;
  FListTable = FDataPlaceRec > 0 ? QStringLiteral("DATALIST_EX") : QStringLiteral("DATALIST");
}

QString TDataSentakuListCtl::selectColumns(bool member) const
{
  return QStringLiteral("SELECT REC,") + (member ? QStringLiteral("ROWNO") : QStringLiteral("0 AS ROWNO")) +
         QStringLiteral(
             ",ENTTEXT,SHOUGOU,PASNAME,NETDRIVE,DATATYPE,CODETYPE,NENDO,KISHU,KIMATU,DATALOCK,KYOYULOCK,"
             "TANTOU,VER_MAJOR,VER_MINOR1,VER_MINOR2,VER_TEXT,UPDATE_LOCK,GASSAN,DATACODE,DATA_STATUS,"
             "YOBI1,YOBI2,YOBI3,") +
         (FDB_V1101_CloudShare ? QStringLiteral("CLOUD,") : QStringLiteral("0 AS CLOUD,")) +
         (FDB_V1200_ReadOnly ? QStringLiteral("READ_ONLY") : QStringLiteral("0 AS READ_ONLY"));
}

QString TDataSentakuListCtl::placeFilter() const
{
  return FDataPlaceRec > 0 ? QStringLiteral(" AND (DATAPLACEREC=:DATAPLACEREC)") : QString();
}

void TDataSentakuListCtl::bindPlace(db::Query& q) const
{
  if (FDataPlaceRec > 0)
    q.setParam("DATAPLACEREC", FDataPlaceRec);
}

namespace {

const char* const kListColumnNames[] = {"REC",         "ROWNO",    "ENTTEXT",   "SHOUGOU",     "PASNAME",    "NETDRIVE",
                                        "DATATYPE",    "CODETYPE", "NENDO",     "KISHU",       "KIMATU",     "DATALOCK",
                                        "KYOYULOCK",   "TANTOU",   "VER_MAJOR", "VER_MINOR1",  "VER_MINOR2", "VER_TEXT",
                                        "UPDATE_LOCK", "GASSAN",   "DATACODE",  "DATA_STATUS", "YOBI1",      "YOBI2",
                                        "YOBI3",       "CLOUD",    "READ_ONLY"};

}  // namespace

TDataSentakuListCtl::TListColumns::TListColumns(const db::Query& q)
{
  static_assert(std::size(kListColumnNames) == Count);
  for (int i = 0; i < Count; ++i)
    At[i] = q.fieldIndex(QString::fromLatin1(kListColumnNames[i]));
}

void TDataSentakuListCtl::fillRecord(const db::Query& q, TDataListRec& d, bool member) const
{
  fillRecord(q, TListColumns(q), d, member);
}

void TDataSentakuListCtl::fillRecord(const db::Query& q, const TListColumns& c, TDataListRec& d, bool member) const
{
  // A column the statement lacks is looked up by name, which reports it.
  auto f = [&](TListColumns::TColumn col) {
    return c.At[col] >= 0 ? q.field(c.At[col]) : q.field(QString::fromLatin1(kListColumnNames[col]));
  };
  using C = TListColumns;
  d.Rec = f(C::Rec).asInt();
  d.RowNo = member ? f(C::RowNo).asInt() : 0;
  d.Group = SystemDef.GROUPID;
  d.DataListName = f(C::EntText).asString();
  d.Shougou = f(C::Shougou).asString();
  d.DataPath = f(C::PasName).asString();
  d.NetDrive = f(C::NetDrive).asInt();
  d.DataKbn = f(C::DataType).asInt();
  d.CodeKbn = f(C::CodeType).asInt();
  d.Nendo = f(C::Nendo).asInt();
  d.Kishu = f(C::Kishu).asDateTime();
  d.Kimatu = f(C::Kimatu).asDateTime();
  d.DataLock = f(C::DataLock).asInt();
  d.KyoyuLock = f(C::KyoyuLock).asInt();
  d.Tanto = f(C::Tantou).asInt();
  d.VerMajor = f(C::VerMajor).asInt();
  d.VerMinor = f(C::VerMinor1).asInt();
  d.VerRevision = f(C::VerMinor2).asInt();
  d.VerText = f(C::VerText).asString();
  d.UpdateLock = f(C::UpdateLock).asInt();
  d.GassanDataKbn = std::uint8_t(f(C::Gassan).asInt());
  d.DataCode = f(C::DataCode).asString();
  d.Data_Status = f(C::DataStatus).asInt() == 1 ? jxdbHason : jxdbOK;
  d.Yobi1 = f(C::Yobi1).asString();
  d.Yobi2 = f(C::Yobi2).asString();
  d.Yobi3 = f(C::Yobi3).asString();
  d.CloudShare = f(C::Cloud).asInt() == 1 ? jxcsUse : jxcsUnUse;
  d.ReadOnly = f(C::ReadOnly).asInt();
  d.Display_DataListName = d.DataListName;
  pcDataListRecLocalPath(d);
}

QString TDataSentakuListCtl::updateSetList() const
{
  return QStringLiteral(
             "SET PASNAME=:PASNAME,ENTTEXT=:ENTTEXT,SHOUGOU=:SHOUGOU,NETDRIVE=:NETDRIVE,"
             "DATATYPE=:DATATYPE,CODETYPE=:CODETYPE,NENDO=:NENDO,KISHU=:KISHU,KIMATU=:KIMATU,"
             "DATALOCK=:DATALOCK,KYOYULOCK=:KYOYULOCK,TANTOU=:TANTOU,"
             "VER_MAJOR=:VER_MAJOR,VER_MINOR1=:VER_MINOR1,VER_MINOR2=:VER_MINOR2,VER_TEXT=:VER_TEXT,"
             "UPDATE_LOCK=:UPDATE_LOCK,GASSAN=:GASSAN,DATACODE=:DATACODE,DATA_STATUS=:DATA_STATUS,"
             "YOBI1=:YOBI1,YOBI2=:YOBI2,YOBI3=:YOBI3") +
         (FDB_V1101_CloudShare ? QStringLiteral(",CLOUD=:CLOUD") : QString()) +
         (FDB_V1200_ReadOnly ? QStringLiteral(",READ_ONLY=:READ_ONLY") : QString());
}

void TDataSentakuListCtl::bindRecord(db::Query& q, const TDataListRec& d) const
{
  auto date = [&q](const char* name, TDateTime v) {
    if (v == 0)
      q.setParamNull(name);
    else
      q.setParamDateTime(name, v);
  };
  q.setParam("PASNAME", d.DataPath);
  q.setParam("ENTTEXT", d.DataListName);
  q.setParam("SHOUGOU", d.Shougou);
  q.setParam("NETDRIVE", d.NetDrive);
  q.setParam("DATATYPE", d.DataKbn);
  q.setParam("CODETYPE", d.CodeKbn);
  q.setParam("NENDO", d.Nendo);
  date("KISHU", d.Kishu);
  date("KIMATU", d.Kimatu);
  q.setParam("DATALOCK", d.DataLock);
  q.setParam("KYOYULOCK", d.KyoyuLock);
  q.setParam("TANTOU", d.Tanto);
  q.setParam("VER_MAJOR", d.VerMajor);
  q.setParam("VER_MINOR1", d.VerMinor);
  q.setParam("VER_MINOR2", d.VerRevision);
  q.setParam("VER_TEXT", d.VerText);
  q.setParam("UPDATE_LOCK", d.UpdateLock);
  q.setParam("GASSAN", int(d.GassanDataKbn));
  q.setParam("DATACODE", d.DataCode);
  q.setParam("DATA_STATUS", int(d.Data_Status));
  q.setParam("YOBI1", d.Yobi1);
  q.setParam("YOBI2", d.Yobi2);
  q.setParam("YOBI3", d.Yobi3);
  if (FDB_V1101_CloudShare)
    q.setParam("CLOUD", int(d.CloudShare));
  if (FDB_V1200_ReadOnly)
    q.setParam("READ_ONLY", d.ReadOnly);
}

void TDataSentakuListCtl::InitDataListRecord(TDataListRec& AData, const QString& ADataPath)
{
  AData = TDataListRec{};
  AData.Group = SystemDef.GROUPID;
  AData.DataPath = ADataPath;
  pcDataListRecLocalPath(AData);
}

bool TDataSentakuListCtl::GetLocalPathToData(const QString& ALocalPath, TDataListRec& AData)
{
  AData.DataPath = ALocalPath;
  if (ALocalPath.trimmed().isEmpty())
    return false;
  if (FAppType != jxatSA)
    return true;
  if (FDataListMode == jxdlKyoyuList)
    return true;
  try {
    TOwnTransaction tr(defTransaction());
    const bool member = !IsGassanOwnRow(AData.GassanDataKbn);
    db::Query q(DM->IBTransactionDEF);
    q.setSql(QStringLiteral("SELECT COUNT(REC) AS RECCNT FROM ") + (member ? kChildTable : QStringLiteral("DATALIST")) +
             QStringLiteral(" WHERE (GROUPID=:GROUPID) AND (UPPER(PASNAME)=:PASNAME)"));
    q.setParam("GROUPID", SystemDef.GROUPID);
    q.setParam("PASNAME", ALocalPath.toUpper());
    q.open();
    const int count = q.field("RECCNT").asInt();
    q.close();
    if (count == 0 && UncNameOf(ALocalPath) == ALocalPath) {
      const QStringList parts = ExcludeTrailingPathDelimiter(ToSlashes(ALocalPath)).split(QLatin1Char('/'));
      const QString last = parts.value(parts.size() - 1);
      bool ok = false;
      const int rec = (member ? parts.value(parts.size() - 2) : last).toInt(&ok);
      // The row is looked up within the operator's group only.
      q.setSql(QStringLiteral("SELECT PASNAME FROM ") + (member ? kChildTable : QStringLiteral("DATALIST")) +
               QStringLiteral(" WHERE (REC=:REC) AND (GROUPID=:GROUPID)"));
      q.setParam("REC", ok ? rec : 0);
      q.setParam("GROUPID", SystemDef.GROUPID);
      for (q.open(); !q.eof(); q.next()) {
        const QString pas = q.field("PASNAME").asString();
        if (!member || SameText(lastComponent(pas), last)) {
          AData.DataPath = pas;
          pcDataListRecLocalPath(AData);
          break;
        }
      }
      q.close();
    }
    tr.Commit();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void TDataSentakuListCtl::GetDataListRecord(TJxReadKey AReadKey, TDataListRec& AData, bool AErrorTrap)
{
  if (FDataListMode == jxdlKyoyuList)
    return;
  QString remembered;
  if (AReadKey == jxrkPath) {
    remembered = AData.DataPath;
    if (!GetLocalPathToData(remembered, AData)) {
      InitDataListRecord(AData, QString());
      return;
    }
  }
  const bool member = !IsGassanOwnRow(AData.GassanDataKbn);
  (void)runListStep(TStepOnError::EndRead, AErrorTrap, "TDataSentakuListCtl.GetDataListRecord",
                    "データリストの取得に失敗しました。", true, [&](TOwnTransaction& tr) {
                      db::Query q(DM->IBTransactionDEF);
                      QString sql =
                          selectColumns(member) + QStringLiteral(" FROM ") + (member ? kChildTable : FListTable);
                      if (AReadKey == jxrkRec)
                        sql += member ? QStringLiteral(" WHERE (REC=:REC) AND (ROWNO=:ROWNO) AND (GROUPID=:GROUPID)")
                                      : QStringLiteral(" WHERE (REC=:REC) AND (GROUPID=:GROUPID)");
                      else
                        sql += QStringLiteral(" WHERE (GROUPID=:GROUPID) AND (UPPER(PASNAME)=:PASNAME)");
                      if (!member)
                        sql += placeFilter();
                      q.setSql(sql);
                      q.setParam("GROUPID", SystemDef.GROUPID);
                      if (AReadKey == jxrkRec) {
                        q.setParam("REC", AData.Rec);
                        if (member)
                          q.setParam("ROWNO", AData.RowNo);
                      } else {
                        q.setParam("PASNAME", AData.DataPath.toUpper());
                      }
                      if (!member)
                        bindPlace(q);
                      for (q.open(); !q.eof(); q.next()) {
                        fillRecord(q, AData, member);
                        if (AReadKey == jxrkPath && SamePath(AData.LocalPath, remembered))
                          break;
                      }
                      q.close();
                      tr.Commit();
                      return true;
                    });
}

bool TDataSentakuListCtl::UpdateDataListRecord(const TDataListRec& AData, int AKyoyuDataNameUpdate, bool AErrorTrap)
{
  if (AData.Rec == 0 || AData.DataPath.trimmed().isEmpty())
    return false;
  if (AData.GassanDataKbn == 10)
    return UpdateDataListChildRecord(AData, AKyoyuDataNameUpdate, AErrorTrap);
  if (FDataListMode == jxdlKyoyuList)
    return true;
  return runListStep(TStepOnError::RollBack, AErrorTrap, "TDataSentakuListCtl.UpdateDataListRecord",
                     "データリストの更新に失敗しました。", false, [&](TOwnTransaction& tr) {
                       db::Query q(DM->IBTransactionDEF);
                       // Rows are keyed by group and number: only this group's row is touched.
                       const QString where = QStringLiteral(" WHERE (REC=:REC) AND (GROUPID=:GROUPID)") + placeFilter();
                       if (FAppType != jxatSA) {
                         q.setSql(QStringLiteral("SELECT PASNAME FROM ") + FListTable + where);
                         q.setParam("REC", AData.Rec);
                         q.setParam("GROUPID", SystemDef.GROUPID);
                         bindPlace(q);
                         q.open();
                         const bool same = !q.eof() && QString::compare(q.field("PASNAME").asString(), AData.DataPath,
                                                                        Qt::CaseInsensitive) == 0;
                         q.close();
                         if (!same) {
                           tr.Commit();
                           return true;  // the row belongs to another folder meanwhile
                         }
                       }
                       q.setSql(QStringLiteral("UPDATE ") + FListTable + QLatin1Char(' ') + updateSetList() + where);
                       bindRecord(q, AData);
                       q.setParam("REC", AData.Rec);
                       q.setParam("GROUPID", SystemDef.GROUPID);
                       bindPlace(q);
                       q.exec();
                       if (AData.Shougou.isEmpty() && AData.Kishu == 0 && AData.Kimatu == 0) {
                         q.setSql(QStringLiteral("DELETE FROM CHILD_DATALIST WHERE REC=:REC AND GROUPID=:GROUPID"));
                         q.setParam("REC", AData.Rec);
                         q.setParam("GROUPID", SystemDef.GROUPID);
                         q.exec();
                       }
                       q.close();
                       tr.CommitOrRetain();
                       return true;
                     });
}

bool TDataSentakuListCtl::UpdateDataListChildRecord(const TDataListRec& AData, int /*AKyoyuDataNameUpdate*/,
                                                    bool AErrorTrap)
{
  if (AData.DataPath.trimmed().isEmpty())
    return false;
  if (FAppType != jxatSA || FDataListMode == jxdlKyoyuList)
    return true;
  return runListStep(
      TStepOnError::RollBack, AErrorTrap, "TDataSentakuListCtl.UpdateDataListChildRecord",
      "(子)データリストの更新に失敗しました。", false, [&](TOwnTransaction& tr) {
        db::Query q(DM->IBTransactionDEF);
        const QString where = QStringLiteral(" WHERE REC=:REC AND ROWNO=:ROWNO AND GROUPID=:GROUPID");
        q.setSql(QStringLiteral("SELECT COUNT(REC) AS RECCNT FROM CHILD_DATALIST") + where);
        q.setParam("REC", AData.Rec);
        q.setParam("ROWNO", AData.RowNo);
        q.setParam("GROUPID", SystemDef.GROUPID);
        q.open();
        const bool exists = q.field("RECCNT").asInt() > 0;
        q.close();
        if (exists) {
          q.setSql(QStringLiteral("UPDATE CHILD_DATALIST ") + updateSetList() + where);
        } else {
          QString cols = QStringLiteral(
              "REC,ROWNO,GROUPID,ENTTEXT,SHOUGOU,PASNAME,NETDRIVE,DATATYPE,CODETYPE,NENDO,KISHU,KIMATU,DATALOCK,TANTOU,"
              "VER_MAJOR,VER_MINOR1,VER_MINOR2,VER_TEXT,KYOYULOCK,UPDATE_LOCK,GASSAN,DATACODE,DATA_STATUS,YOBI1,YOBI2,"
              "YOBI3");
          if (FDB_V1101_CloudShare)
            cols += QStringLiteral(",CLOUD");
          if (FDB_V1200_ReadOnly)
            cols += QStringLiteral(",READ_ONLY");
          QString values = cols;
          values.replace(QLatin1Char(','), QStringLiteral(",:"));
          q.setSql(QStringLiteral("INSERT INTO CHILD_DATALIST(") + cols + QStringLiteral(") VALUES(:") + values +
                   QLatin1Char(')'));
        }
        bindRecord(q, AData);
        q.setParam("REC", AData.Rec);
        q.setParam("ROWNO", AData.RowNo);
        q.setParam("GROUPID", SystemDef.GROUPID);
        q.exec();
        q.close();
        tr.Commit();
        return true;
      });
}
