// Single-row operations of the data-list control beside the reads and writes
// in ComDataSentaku.cpp: filling a record from a folder's information, the
// members of consolidated data, new numbers, deletion and look-ups.
//
// Every statement is keyed on the logged-on group: record numbers are
// allocated per group, so a number alone may name another group's row.
#include <optional>

#include "common/AccDateText.h"
#include "common/DataInfomation.h"
#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/FbError.h"
#include "datasel/ComDataSentaku.h"
#include "datasel/ComDataSentakuStep.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "platform/Paths.h"

namespace {

TDateTime dateOf(const QString& text)
{
  const QDate d = QDate::fromString(text.trimmed(), QStringLiteral("yyyy/MM/dd"));
  return d.isValid() ? FromQDate(d) : 0;
}

}  // namespace

void pcMarkDataListDamaged(db::Transaction& ATransaction, int ARec, int ARowNo, int AGroupId)
{
  TOwnTransaction own(ATransaction);
  db::Query q(ATransaction);
  // Rows are numbered within a group: a row of the same number in another
  // group is not touched.
  if (ARowNo <= 0) {
    q.setSql(QStringLiteral("UPDATE DATALIST SET DATA_STATUS=1 WHERE REC=:REC AND GROUPID=:GROUPID"));
  } else {
    q.setSql(
        QStringLiteral("UPDATE CHILD_DATALIST SET DATA_STATUS=1 WHERE REC=:REC AND ROWNO=:ROWNO AND GROUPID=:GROUPID"));
    q.setParam(QStringLiteral("ROWNO"), ARowNo);
  }
  q.setParam(QStringLiteral("REC"), ARec);
  q.setParam(QStringLiteral("GROUPID"), AGroupId);
  q.exec();
  own.Commit();
}

void TDataSentakuListCtl::DataInfoRecToDataListRec(const TDataInfomationRec& AInfoRec, TDataListRec& AData) const
{
  AData.Group = SystemDef.GROUPID;
  AData.DataCode = AInfoRec.Code;
  AData.DataListName = AInfoRec.DataListName;
  AData.Shougou = AInfoRec.Shougou;
  AData.Nendo = AInfoRec.Nendo;
  AData.DataKbn = AInfoRec.DataKbn;
  AData.CodeKbn = AInfoRec.CodeKbn;
  AData.Tanto = AInfoRec.Tanto;
  AData.VerMajor = AInfoRec.VerMajor;
  AData.VerMinor = AInfoRec.VerMinor;
  AData.VerRevision = AInfoRec.VerRevision;
  AData.VerText = AInfoRec.VerText;
  AData.UpdateLock = AInfoRec.UpdateLock;
  AData.CloudShare = AInfoRec.CloudShare;
  AData.ReadOnly = AInfoRec.ReadOnly;
  AData.Kishu = dateOf(AInfoRec.Kishu);
  AData.Kimatu = dateOf(AInfoRec.Kimatu);
  AData.Kikan = fnDataListKikanText(AData.Kishu, AData.Kimatu);
  if (AData.RowNo > 0)
    AData.GassanDataKbn = 10;
  AData.DataLock = 0;
  if (AInfoRec.Status == jxdsLock && AInfoRec.OpCode != 0) {
    // With no group (0) the operator code is kept as it is.
    const long long g = static_cast<long long>(SystemDef.GROUPID) * 10000;
    AData.DataLock = g > 0 ? int(AInfoRec.OpCode % g) : AInfoRec.OpCode;
  }
  if (AInfoRec.KyoyuStatus == jxksExec && AInfoRec.KyoyuOpCode == SystemDef.OPCODE)
    AData.KyoyuLock = 1;
  if (AData.DataListName.isEmpty() || (AData.NetDrive != 0 && (AData.DataListName == QStringLiteral("空き領域") ||
                                                               AData.DataListName == QStringLiteral("新しい領域"))))
    AData.DataListName = AData.Shougou;
  AData.Display_DataListName = AData.DataListName;
  pcDataListRecLocalPath(AData);
}

void TDataSentakuListCtl::GetDataListChildRecord(TDataSentakuRec& ASelData, bool AErrorTrap)
{
  if (FAppType != jxatSA || FDataListMode == jxdlKyoyuList)
    return;
  ASelData.ChildData.clear();
  ASelData.ChildDataCnt = 0;
  if (!IsGassanParent(ASelData.Data.GassanDataKbn))
    return;
  (void)runListStep(
      TStepOnError::EndRead, AErrorTrap, "TDataSentakuListCtl.GetDataListChildRecord",
      "(子)データリストの取得に失敗しました。", true, [&](TOwnTransaction& tr) {
        db::Query q(DM->IBTransactionDEF);
        q.setSql(selectColumns(true) +
                 QStringLiteral(" FROM CHILD_DATALIST WHERE (REC=:REC) AND (GROUPID=:GROUPID) ORDER BY PASNAME"));
        q.setParam("REC", ASelData.Data.Rec);
        q.setParam("GROUPID", SystemDef.GROUPID);
        for (q.open(); !q.eof(); q.next()) {
          TDataListRec m;
          fillRecord(q, m, true);
          ASelData.ChildData.push_back(m);
          ASelData.ChildDataCnt = int(ASelData.ChildData.size());
        }
        q.close();
        tr.Commit();
        return true;
      });
}

bool TDataSentakuListCtl::InsertDataListRecord(TDataListRec& AData, bool AErrorTrap)
{
  if (AData.DataPath.trimmed().isEmpty())
    return false;
  if (FAppType == jxatSA || FDataListMode == jxdlKyoyuList)
    return true;
  return runListStep(
      TStepOnError::RollBack, AErrorTrap, "TDataSentakuListCtl.InsertDataListRecord",
      "データリストの追加に失敗しました。", false, [&](TOwnTransaction& tr) {
        AData.Rec = GetRecMax(1);
        QString cols = QStringLiteral(
            "REC,GROUPID,PASNAME,ENTTEXT,SHOUGOU,NETDRIVE,DATATYPE,CODETYPE,NENDO,KISHU,KIMATU,DATALOCK,KYOYULOCK,"
            "TANTOU,"
            "VER_MAJOR,VER_MINOR1,VER_MINOR2,VER_TEXT,GASSAN,DATACODE,DATA_STATUS,YOBI1,YOBI2,YOBI3,UPDATE_LOCK");
        if (FDB_V1101_CloudShare)
          cols += QStringLiteral(",CLOUD");
        if (FDB_V1200_ReadOnly)
          cols += QStringLiteral(",READ_ONLY");
        if (FDataPlaceRec > 0)
          cols = QStringLiteral("DATAPLACEREC,") + cols;
        QString values = cols;
        values.replace(QLatin1Char(','), QStringLiteral(",:"));
        db::Query q(DM->IBTransactionDEF);
        q.setSql(QStringLiteral("INSERT INTO ") + FListTable + QLatin1Char('(') + cols + QStringLiteral(") VALUES(:") +
                 values + QLatin1Char(')'));
        bindRecord(q, AData);
        q.setParam("REC", AData.Rec);
        q.setParam("GROUPID", SystemDef.GROUPID);
        bindPlace(q);
        q.exec();
        q.close();
        tr.CommitOrRetain();
        return true;
      });
}

bool TDataSentakuListCtl::DeleteDataListRecord(const TDataListRec& AData, bool AErrorTrap)
{
  if (AData.DataPath.trimmed().isEmpty())
    return false;
  if (FDataListMode == jxdlKyoyuList)
    return true;
  if (AData.GassanDataKbn == 10 && FAppType == jxatSA)
    return DeleteDataListChildRecord(AData, AErrorTrap);
  return runListStep(TStepOnError::RollBack, AErrorTrap, "TDataSentakuListCtl.DeleteDataListRecord",
                     "データリストの削除に失敗しました。", false, [&](TOwnTransaction& tr) {
                       db::Query q(DM->IBTransactionDEF);
                       // The fixed slots (1 .. DataListCnt) are only ever emptied.
                       q.setSql(QStringLiteral("DELETE FROM ") + FListTable +
                                QStringLiteral(" WHERE (PASNAME=:PASNAME) AND (REC>:REC) AND (GROUPID=:GROUPID)") +
                                placeFilter());
                       q.setParam("PASNAME", AData.DataPath);
                       q.setParam("REC", AppInfo.DataListCnt > 0 ? AppInfo.DataListCnt : 120);
                       q.setParam("GROUPID", SystemDef.GROUPID);
                       bindPlace(q);
                       q.exec();
                       q.close();
                       DeleteDataListChildRecord(AData, false);
                       tr.CommitOrRetain();
                       return true;
                     });
}

bool TDataSentakuListCtl::DeleteDataListChildRecord(const TDataListRec& AData, bool AErrorTrap)
{
  if (AData.DataPath.trimmed().isEmpty())
    return false;
  if (FAppType != jxatSA || FDataListMode == jxdlKyoyuList)
    return true;
  return runListStep(
      TStepOnError::RollBack, AErrorTrap, "TDataSentakuListCtl.DeleteDataListChildRecord",
      "(子)データリストの削除に失敗しました。", false, [&](TOwnTransaction& tr) {
        db::Query q(DM->IBTransactionDEF);
        const bool member = AData.GassanDataKbn == 10;
        q.setSql(member
                     ? QStringLiteral("DELETE FROM CHILD_DATALIST WHERE REC=:REC AND ROWNO=:ROWNO AND GROUPID=:GROUPID")
                     : QStringLiteral("DELETE FROM CHILD_DATALIST WHERE REC=:REC AND GROUPID=:GROUPID"));
        q.setParam("REC", AData.Rec);
        if (member)
          q.setParam("ROWNO", AData.RowNo);
        q.setParam("GROUPID", SystemDef.GROUPID);
        q.exec();
        if (AData.NetDrive == 1) {
          // The share-server member rows: the member's own row, or every row
          // below the parent's folder (the path is bound, never written into
          // the statement, so no character of it acts as a wildcard).
          if (member) {
            q.setSql(
                QStringLiteral("DELETE FROM CHILD_SERVERDATALIST WHERE GROUPID=:GROUPID AND "
                               "DRIVELETTER=:DRIVELETTER AND PASNAME=:PASNAME"));
            q.setParam("PASNAME", AData.DataPath);
          } else {
            q.setSql(
                QStringLiteral("DELETE FROM CHILD_SERVERDATALIST WHERE GROUPID=:GROUPID AND "
                               "DRIVELETTER=:DRIVELETTER AND PASNAME STARTING WITH :PASNAME"));
            q.setParam("PASNAME", IncludeTrailingPathDelimiter(AData.DataPath));
          }
          q.setParam("GROUPID", SystemDef.GROUPID);
          q.setParam("DRIVELETTER", AData.DataPath.left(1));
          q.exec();
        }
        q.close();
        tr.Commit();
        return true;
      });
}

int TDataSentakuListCtl::GetRecMax(int AInc)
{
  if (FDataListMode == jxdlKyoyuList)
    return 0;
  return runListStep(TStepOnError::EndRead, true, "TDataSentakuListCtl.GetDataFolderName",
                     "最大のレコー番号の取得に失敗しました。", 0, [&](TOwnTransaction& tr) {
                       db::Query q(DM->IBTransactionDEF);
                       q.setSql(QStringLiteral("SELECT MAX(REC) AS RECMAX FROM ") + FListTable +
                                QStringLiteral(" WHERE (GROUPID=:GROUPID)") + placeFilter());
                       q.setParam("GROUPID", SystemDef.GROUPID);
                       bindPlace(q);
                       q.open();
                       const int max = q.eof() ? 0 : q.field("RECMAX").asInt();
                       q.close();
                       tr.Commit();
                       return max + AInc;
                     });
}

bool TDataSentakuListCtl::IsExistDataPath(const QString& APath)
{
  if (FDataListMode == jxdlKyoyuList)
    return true;
  return runListStep(TStepOnError::EndRead, true, "TDataSentakuListCtl.IsDataPathToroku",
                     "データリストの登録チェックに失敗しました。", false, [&](TOwnTransaction& tr) {
                       db::Query q(DM->IBTransactionDEF);
                       q.setSql(QStringLiteral("SELECT COUNT(REC) AS RECCNT FROM ") + FListTable +
                                QStringLiteral(" WHERE (GROUPID=:GROUPID) AND (UPPER(PASNAME)=:PASNAME)") +
                                placeFilter());
                       q.setParam("GROUPID", SystemDef.GROUPID);
                       q.setParam("PASNAME", APath.toUpper());
                       bindPlace(q);
                       q.open();
                       const bool found = q.field("RECCNT").asInt() > 0;
                       q.close();
                       tr.Commit();
                       return found;
                     });
}

int TDataSentakuListCtl::GetRecNo(const QString& ADataPath)
{
  try {
    TOwnTransaction tr(DM->IBTransactionDEF);
    db::Query q(DM->IBTransactionDEF);
    q.setSql(QStringLiteral("SELECT REC FROM ") + FListTable +
             QStringLiteral(" WHERE (PASNAME=:PASNAME) AND (GROUPID=:GROUPID)") + placeFilter() +
             QStringLiteral(" ORDER BY REC"));
    q.setParam("PASNAME", ADataPath);
    q.setParam("GROUPID", SystemDef.GROUPID);
    bindPlace(q);
    q.open();
    const int rec = q.eof() ? 0 : q.field("REC").asInt();
    q.close();
    tr.Commit();
    return rec;
  } catch (const std::exception&) {
    return 0;
  }
}

bool TDataSentakuListCtl::IsDataListNameMitouroku()
{
  try {
    TOwnTransaction tr(DM->IBTransactionDEF);
    db::Query q(DM->IBTransactionDEF);
    q.setSql(QStringLiteral("SELECT COUNT(REC) AS RECCNT FROM ") + FListTable +
             QStringLiteral(" WHERE (ENTTEXT<>'') AND (SHOUGOU<>'') AND (GROUPID=:GROUPID)") + placeFilter());
    q.setParam("GROUPID", SystemDef.GROUPID);
    bindPlace(q);
    q.open();
    const bool none = q.field("RECCNT").asInt() == 0;
    q.close();
    tr.Commit();
    return none;
  } catch (const std::exception&) {
    return false;
  }
}

void TDataSentakuListCtl::LocalPathToDataDirName(const QString& ALocalPath, QString& ADirName, QString& AChildDirName)
{
  ADirName.clear();
  AChildDirName.clear();
  QString path = ExcludeTrailingPathDelimiter(ToSlashes(ALocalPath));
  const QString root = ExcludeTrailingPathDelimiter(ToSlashes(SystemDef.IBPATHDEF));
  QStringList parts;
  if (!root.isEmpty() && path.startsWith(root + QLatin1Char('/'), Qt::CaseInsensitive)) {
    parts = path.mid(root.size() + 1).split(QLatin1Char('/'), Qt::SkipEmptyParts);
  } else {
    parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (!parts.isEmpty())
      parts = QStringList{parts.last()};
  }
  if (!parts.isEmpty())
    ADirName = parts.value(0);
  if (parts.size() > 1)
    AChildDirName = parts.value(1);
}

void TDataSentakuListCtl::LocalPathToDataListRecNo(const QString& ALocalPath, int& ARec)
{
  ARec = 0;
  if (ALocalPath.trimmed().isEmpty())
    return;
  if (FAppType == jxatSA) {
    QString dir, child;
    LocalPathToDataDirName(ALocalPath, dir, child);
    bool ok = false;
    const int n = dir.toInt(&ok);
    ARec = ok ? n : 0;
    return;
  }
  TDataListRec r;
  InitDataListRecord(r, ALocalPath);
  GetDataListRecord(jxrkPath, r, true);
  ARec = r.Rec;
}
