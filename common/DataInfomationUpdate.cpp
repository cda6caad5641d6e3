// Reading and writing the facts of a data folder's company database by the
// folder's path: the information record, the list name, and the list name
// with the update lock and read-only flag. Each operation connects the
// data module's company connection to the folder and disconnects it again.
#include <functional>

#include "common/AccFunction.h"
#include "common/AccFunctionNum.h"
#include "common/DataInfomation.h"
#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/FbError.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "platform/Paths.h"

namespace {

constexpr int kListNameLength = 40;

// The stored form of a list name: at most 40 characters, without leading
// or trailing half- and full-width spaces.
QString storedListName(const QString& name)
{
  return fnTrimZen(fnCutStrL(name, kListNameLength, false));
}

// Runs AWork in the company transaction (started when none is active and
// committed when started here) on the company database of the folder, then
// disconnects. A failure is reported with AStep and AText and rolls back
// what AWork did. True when the work was committed.
bool withFolderDatabase(const QString& AHostName, const QString& ADataPath, const QString& AStep, const QString& AText,
                        const std::function<void(db::Query&)>& AWork)
{
  if (!DM || !DM->fnAccDatConnected(AHostName, ADataPath, false))
    return false;
  bool done = false;
  {
    TOwnTransaction own(DM->IBTransactionDAT);
    db::Query q(DM->IBTransactionDAT);
    try {
      AWork(q);
      q.close();
      own.Commit();
      done = true;
    } catch (const db::DbError& e) {
      q.close();
      own.Rollback();
      fnShowFbError(e, AStep, AText, true);
    } catch (const std::exception& e) {
      q.close();
      own.Rollback();
      fnShowErrorDetail(AText, QString::fromUtf8(e.what()), mtError);
    }
  }
  DM->fnAccDatDisConnected(ADataPath, false, false, false);
  return done;
}

}  // namespace

int TDataInfomation::GetDataInfoRec(const QString& ADataPath, TDataInfomationRec& ADataInfoRec)
{
  InitRecord(ADataInfoRec);
  if (!DM || ADataPath.trimmed().isEmpty())
    return 0;
  if (!DM->AccFileExists(PathJoin(ExcludeTrailingPathDelimiter(ADataPath), AccDataFile), FAppType))
    return 0;
  if (!DM->fnAccDatConnected(SystemDef.SERVERNAME, ADataPath, false))
    return 0;
  const int result = DM->IBDatabaseDAT.isConnected() ? GetDataInfoRec(ADataInfoRec) : 0;
  DM->fnAccDatDisConnected(ADataPath, false, false, false);
  return result;
}

void TDataInfomation::UpdateDataListName(const QString& AHostName, const QString& ADataPath, QString& AName)
{
  QString name = AName;
  const bool done = withFolderDatabase(AHostName, ADataPath, QStringLiteral("TDM.UpdateDataListName"),
                                       QStringLiteral("データリスト名の更新に失敗しました。"), [&](db::Query& q) {
                                         if (!name.isEmpty()) {
                                           name = storedListName(name);
                                           q.setSql(QStringLiteral("UPDATE ACCDEF1 SET ENTTEXT=:ENTTEXT\nWHERE REC=1"));
                                           q.setParam(QStringLiteral("ENTTEXT"), name);
                                           q.exec();
                                         } else {
                                           q.setSql(QStringLiteral("SELECT ENTTEXT FROM ACCDEF1\nWHERE REC=1"));
                                           q.open();
                                           if (!q.eof())
                                             name = storedListName(q.field("ENTTEXT").asString());
                                           q.close();
                                         }
                                       });
  if (done)
    AName = name;
}

bool TDataInfomation::UpdateDataInfomation(const QString& AHostName, const QString& ADataPath,
                                           PDataInfomationRec ADataInfoRec)
{
  if (!ADataInfoRec)
    return false;
  TDataInfomationRec& r = *ADataInfoRec;
  // The record changes only when the work was stored.
  TDataInfomationRec work = r;
  const bool done = withFolderDatabase(
      AHostName, ADataPath, QStringLiteral("TDM.UpdateDataInfomation"),
      QStringLiteral("データ情報の更新に失敗しました。"), [&](db::Query& q) {
        if (fnTrimZen(work.DataListName).isEmpty()) {
          q.setSql(QStringLiteral("SELECT ENTTEXT FROM ACCDEF1\nWHERE REC=1"));
          q.open();
          if (!q.eof())
            work.DataListName = q.field("ENTTEXT").asString();
          q.close();
        }
        work.DataListName = storedListName(work.DataListName);
        q.setSql(QStringLiteral("SELECT MAJOR,MINOR1,MINOR2 FROM ACCVERSION\nWHERE REC=1"));
        q.open();
        if (!q.eof()) {
          work.VerMajor = q.field("MAJOR").asInt();
          work.VerMinor = q.field("MINOR1").asInt();
          work.VerRevision = q.field("MINOR2").asInt();
        }
        q.close();
        const bool readOnly =
            fnVersionGreaterEq(QStringLiteral("%1.%2.%3").arg(work.VerMajor).arg(work.VerMinor).arg(work.VerRevision),
                               QStringLiteral("12.0.0"));
        q.setSql(QStringLiteral("UPDATE ACCDEF1 SET ENTTEXT=:ENTTEXT,DATALOCK=:DATALOCK") +
                 (readOnly ? QStringLiteral(",READ_ONLY=:READ_ONLY") : QString()) + QStringLiteral("\nWHERE REC=1"));
        q.setParam(QStringLiteral("ENTTEXT"), work.DataListName);
        q.setParam(QStringLiteral("DATALOCK"), work.UpdateLock);
        if (readOnly)
          q.setParam(QStringLiteral("READ_ONLY"), work.ReadOnly);
        q.exec();
      });
  if (done)
    r = work;
  return done;
}
