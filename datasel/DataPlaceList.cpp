#include "datasel/DataPlaceList.h"

#include <QStringList>

#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/FbError.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "platform/Paths.h"

namespace {

}  // namespace

void TDataPlaceStore::seedWhenEmpty()
{
  db::Query q(DM->IBTransactionDEF);
  q.setSql(QStringLiteral("SELECT COUNT(REC) AS RECCNT FROM DATAPLACEMAN"));
  q.open();
  const int count = q.eof() ? 0 : q.field("RECCNT").asInt();
  q.close();
  if (count > 0)
    return;
  const QString root = ExcludeTrailingPathDelimiter(SystemDef.IBPATHDEF);
  q.setSql(QStringLiteral("INSERT INTO DATAPLACEMAN(REC,ORDERKBN,NAME,PATH) VALUES(:REC,:ORDERKBN,:NAME,:PATH)"));
  for (int rec = 0; rec < PlaceCount; ++rec) {
    q.setParam("REC", rec);
    q.setParam("ORDERKBN", rec + 1);
    // Place 0 is the system database's folder; the others lie beside it
    // ("data" gives "data01" .. "data99").
    q.setParam("NAME", rec == 0 ? SystemDef.IBPATHDEF : QString());
    q.setParam("PATH", rec == 0 ? SystemDef.IBPATHDEF : root + QStringLiteral("%1").arg(rec, 2, 10, QLatin1Char('0')));
    q.exec();
  }
  q.close();
}

bool TDataPlaceStore::Read(bool ANamedOnly)
{
  FList.clear();
  if (!DM)
    return false;
  TOwnTransaction tr(DM->IBTransactionDEF);
  try {
    seedWhenEmpty();
    db::Query q(DM->IBTransactionDEF);
    q.setSql(QStringLiteral("SELECT REC,ORDERKBN,NAME,PATH FROM DATAPLACEMAN") +
             (ANamedOnly ? QStringLiteral(" WHERE NAME<>''") : QString()) + QStringLiteral(" ORDER BY ORDERKBN,REC"));
    for (q.open(); !q.eof(); q.next()) {
      TDataPlaceRec r;
      r.Rec = q.field("REC").asInt();
      r.Order = q.field("ORDERKBN").asInt();
      r.Name = q.field("NAME").asString();
      r.DataPath = q.field("PATH").asString();
      FList.push_back(r);
    }
    q.close();
    tr.Commit();
    return true;
  } catch (const std::exception& e) {
    tr.Rollback();
    fnReportError(e, QStringLiteral("TDataPlaceBox.ReadDataPlace"),
                  QStringLiteral("データの場所の取得に失敗しました。"));
    return false;
  }
}

QString TDataPlaceStore::GetItemList()
{
  Read(true);
  QString s;
  for (const TDataPlaceRec& r : FList)
    s += r.Name + QLatin1Char('\r');
  return s;
}

int TDataPlaceStore::SelectRec(int AIndex) const
{
  return AIndex >= 0 && AIndex < int(FList.size()) ? FList[std::size_t(AIndex)].Rec : -1;
}

QString TDataPlaceStore::SelectName(int AIndex) const
{
  return AIndex >= 0 && AIndex < int(FList.size()) ? FList[std::size_t(AIndex)].Name : QString();
}

QString TDataPlaceStore::SelectPath(int AIndex) const
{
  return AIndex >= 0 && AIndex < int(FList.size()) ? FList[std::size_t(AIndex)].DataPath : QString();
}

int TDataPlaceStore::RecToIndex(int ARec) const
{
  for (std::size_t i = 0; i < FList.size(); ++i)
    if (FList[i].Rec == ARec)
      return int(i);
  return -1;
}

QString TDataPlaceStore::RecToPath(int ARec) const
{
  return SelectPath(RecToIndex(ARec));
}

int TDataPlaceStore::PathToIndex(const QString& APath) const
{
  for (std::size_t i = 0; i < FList.size(); ++i)
    if (QString::compare(FList[i].DataPath, APath, Qt::CaseInsensitive) == 0)
      return int(i);
  return -1;
}

int TDataPlaceStore::PathToRec(const QString& APath) const
{
  return SelectRec(PathToIndex(APath));
}

void TDataPlaceStore::StoreChanges()
{
  if (!DM)
    return;
  TOwnTransaction tr(DM->IBTransactionDEF);
  try {
    db::Query q(DM->IBTransactionDEF);
    for (TDataPlaceRec& r : FList) {
      if (r.RecKbn == 0)
        continue;
      q.setSql(QStringLiteral("UPDATE DATAPLACEMAN SET ORDERKBN=:ORDERKBN,NAME=:NAME WHERE REC=:REC"));
      q.setParam("ORDERKBN", r.Order);
      q.setParam("NAME", r.Name);
      q.setParam("REC", r.Rec);
      q.exec();
      q.close();
      if (r.RecKbn == 1) {
        q.setSql(QStringLiteral("SELECT REC FROM SP_DATALIST_INSERT(:REC,:PATH,:MAXCNT)"));
        q.setParam("REC", r.Rec);
        q.setParam("PATH", r.DataPath);
        q.setParam("MAXCNT", AppInfo.DataListCnt > 0 ? AppInfo.DataListCnt : 120);
        for (q.open(); !q.eof(); q.next()) {
        }
        q.close();
      } else if (r.RecKbn == 9) {
        q.setSql(QStringLiteral("DELETE FROM DATALIST_EX WHERE DATAPLACEREC=:REC"));
        q.setParam("REC", r.Rec);
        q.exec();
        q.close();
      }
    }
    tr.Commit();
    for (TDataPlaceRec& r : FList)
      r.RecKbn = 0;
  } catch (...) {
    tr.Rollback();
    throw;
  }
}

bool TDataPlaceStore::PlaceFolders(int ARec, QStringList& AFolders)
{
  AFolders.clear();
  if (!DM)
    return false;
  TOwnTransaction tr(DM->IBTransactionDEF);
  try {
    db::Query q(DM->IBTransactionDEF);
    q.setSql(QStringLiteral("SELECT PASNAME FROM DATALIST_EX WHERE (DATAPLACEREC=:REC) ORDER BY REC"));
    q.setParam("REC", ARec);
    for (q.open(); !q.eof(); q.next())
      AFolders << q.field("PASNAME").asString();
    q.close();
    tr.Commit();
    return true;
  } catch (const std::exception& e) {
    tr.Rollback();
    fnReportError(e, QStringLiteral("TDataPlaceBox.DeleteDataPlace"),
                  QStringLiteral("データの場所の削除に失敗しました。"));
    return false;
  }
}
