#include "maint/DbUpdate.h"

#include <QDir>
#include <QFile>

#include "common/AccFunction2.h"
#include "common/BackupRestoreThread.h"
#include "common/DataModule.h"
#include "common/FbError.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "platform/Paths.h"

namespace {

// a is above b (major, then minor, then revision).
bool versionAbove(int aMajor, int aMinor, int aRev, int bMajor, int bMinor, int bRev)
{
  if (aMajor != bMajor)
    return aMajor > bMajor;
  if (aMinor != bMinor)
    return aMinor > bMinor;
  return aRev > bRev;
}

}  // namespace

TDbUpdate::TDbUpdate()
{
  // Nothing adds a step in this system.
  FDefDbUpdateList.clear();
  FUserDbUpdateList.clear();
}

void TDbUpdate::SetDbVersionFromText(const QString& AText)
{
  FDbMajor = FDbMinor = FDbRev = 0;
  const QStringList parts = AText.split(QLatin1Char('.'));
  if (parts.size() != 3)
    return;
  auto number = [](const QString& s) {
    bool ok = false;
    const int v = s.trimmed().toInt(&ok);
    return ok ? v : 0;
  };
  FDbMajor = number(parts[0]);
  FDbMinor = number(parts[1]);
  FDbRev = number(parts[2]);
}

void TDbUpdate::SetDbVersion()
{
  FDbMajor = FDbMinor = FDbRev = 0;
  const QString text = QStringLiteral("データベースバージョンの取得に失敗しました。");
  if (!DM)
    return;
  try {
    // A read-committed transaction of its own on the database of the kind.
    db::Transaction tr(FDbType == 0 ? DM->IBDatabaseDEF : DM->IBDatabaseDAT);
    tr.start();
    db::Query q(tr, FDbType == 0 ? QStringLiteral("SELECT MAJOR,MINOR1 AS MINOR,MINOR2 AS REV FROM VERSION\n"
                                                  "ORDER BY MAJOR DESC,MINOR1 DESC,MINOR2 DESC")
                                 : QStringLiteral("SELECT MAJOR,MINOR1 AS MINOR,MINOR2 AS REV FROM ACCVERSION\n"
                                                  "ORDER BY MAJOR DESC,MINOR1 DESC,MINOR2 DESC"));
    q.open();
    if (!q.eof()) {
      FDbMajor = q.field(QStringLiteral("MAJOR")).asInt();
      FDbMinor = q.field(QStringLiteral("MINOR")).asInt();
      FDbRev = q.field(QStringLiteral("REV")).asInt();
    }
    q.close();
    tr.commit();
  } catch (const db::DbError& e) {
    fnShowFbError(e, QStringLiteral("TDbUpdateBox.SetDbVersion"), text, false);
    FDbMajor = FDbMinor = FDbRev = 0;
  } catch (const std::exception& e) {
    fnShowErrorDetail(text, QString::fromUtf8(e.what()), mtError);
    FDbMajor = FDbMinor = FDbRev = 0;
  }
}

void TDbUpdate::DbUpdateInit(quint8 ADbType, const QString& AVersion)
{
  FDbType = ADbType;
  FDataUpdateJikkoFlg = false;
  FDataUpdateKekkaFlg = false;
  FDataConnectFlg = 0;
  FStartIndex = -1;
  FEndIndex = -1;
  FMaxUpdateDbMajor = 17;
  FMaxUpdateDbMinor = 0;
  FMaxUpdateDbRev = 0;
  FBackupJikkou = 0;

  if (!AVersion.isEmpty())
    SetDbVersionFromText(AVersion);
  else
    SetDbVersion();

  const TArrayDbUpdateListRec& list = CurrentList();
  if (!list.empty()) {
    FMaxUpdateDbMajor = list.back().Major;
    FMaxUpdateDbMinor = list.back().Minor;
    FMaxUpdateDbRev = list.back().Rev;
  }

  if (FDbType == 0) {
    FDataConnectFlg = 1;
  } else if (FDbMajor < FMaxUpdateDbMajor) {
    FDataConnectFlg = 1;
  } else if (FDbMajor == FMaxUpdateDbMajor && FDbMinor <= FMaxUpdateDbMinor) {
    FDataConnectFlg = FDbMinor == FMaxUpdateDbMinor && FDbRev > FMaxUpdateDbRev ? 2 : 1;
  } else {
    FDataConnectFlg = 0;
  }

  for (std::size_t i = 0; i < list.size(); ++i) {
    if (versionAbove(list[i].Major, list[i].Minor, list[i].Rev, FDbMajor, FDbMinor, FDbRev)) {
      FDataUpdateJikkoFlg = true;
      FStartIndex = int(i);
      FEndIndex = int(list.size()) - 1;
      break;
    }
  }
  if (FDataUpdateJikkoFlg)
    for (int i = FStartIndex; i <= FEndIndex; ++i)
      FBackupJikkou += list[std::size_t(i)].DbHenko;
}

bool TDbUpdate::RunWorker(int AProcType)
{
  TBackupRestoreThread worker(true);
  worker.SetProcType(AProcType);
  worker.SetToolType(AppType == jxatCS || AppType == jxatSBC ? jxttGBak : jxttIBComp);
  worker.SetDataBaseType(FDbType);
  worker.SetServerName(SystemDef.SERVERNAME);
  worker.SetDataBaseName(FDbType == 0 ? PathJoin(SystemDef.IBPATHDEF, AccDataDefFile)
                                      : PathJoin(SystemDef.IBPATHDAT, AccDataFile));
  worker.SetFileName(FBackupFilePath);
  worker.SetRestoreIndex(true);
  worker.SetMyNumberKakunin(false);
  if (AProcType == 1) {
    worker.ZaimuInfClear();
    worker.Inf_UseMyNumberKbn = AccInf.UseMyNumberKbn;
  }
  worker.Resume();
  while (!worker.TerminatedFlg())
    fnWaitMSec(300);
  FBackupRestoreErrInfo = worker.ErrInfomation();
  return worker.Result();
}

int TDbUpdate::DbUpdateJikkou()
{
  FBackupFilePath = PathJoin(SystemDef.APPTEMP, QStringLiteral("dataup.fbk"));
  FDataUpdateKekkaFlg = false;
  FBackupKept = false;
  FBackupRestoreErrInfo = TErrInfomation();
  if (!FDataUpdateJikkoFlg || FStartIndex < 0)
    return -1;

  if (FBackupJikkou > 0) {
    if (FDbType == 0 && !DM->IBDatabaseDEF.isConnected())
      DM->fnAccDefConnected(SystemDef.SERVERNAME, true);
    if (FView)
      FView->ProgressShow(QStringLiteral("データ更新の準備中"), QStringLiteral("準備中、しばらくお待ちください…"));
    const bool ok = RunWorker(0);
    if (FDbType == 0)
      DM->IBDatabaseDEF.disconnect();
    if (FView)
      FView->ProgressHide();
    const QString before = PathJoin(SystemDef.USER, QStringLiteral("更新前データ"));
    if (!SystemDef.USER.isEmpty() && QDir(before).exists())
      QDir(before).removeRecursively();
    if (!ok) {
      FStartIndex = FEndIndex = -1;
      return -1;
    }
  }

  const TArrayDbUpdateListRec& list = CurrentList();
  if (FView)
    FView->StepsBegin(FEndIndex - FStartIndex + 1);
  bool allDone = true;
  for (int i = FStartIndex; i <= FEndIndex; ++i) {
    const TDbUpdateListRec& step = list[std::size_t(i)];
    const int r = step.UpdateFunc ? step.UpdateFunc() : 0;
    if (FView)
      FView->StepEnded(i - FStartIndex, r);
    if (r != DbUpdateStepDone) {
      allDone = false;
      break;
    }
  }
  fnWaitMSec(300);
  if (FView)
    FView->StepsEnd();

  if (!allDone && FBackupJikkou > 0) {
    if (FView)
      FView->ProgressShow(QStringLiteral("更新前データの復元中"), QStringLiteral("復元中、しばらくお待ちください…"));
    const bool ok = RunWorker(1);
    if (FView)
      FView->ProgressHide();
    if (!ok) {
      // The database is left as the failed step left it: the backup is
      // the operator's way back and is not removed.
      FBackupKept = QFile::exists(FBackupFilePath);
      FStartIndex = FEndIndex = -1;
      return -1;
    }
  }
  FStartIndex = FEndIndex = -1;
  if (allDone) {
    FDbMajor = FMaxUpdateDbMajor;
    FDbMinor = FMaxUpdateDbMinor;
    FDbRev = FMaxUpdateDbRev;
    FDataUpdateKekkaFlg = true;
    return 1;
  }
  return 0;
}

int TDbUpdate::DbSilentUpdateJikkou()
{
  if (FDbType != 0)
    return -1;
  if (DM && !DM->IBDatabaseDEF.isConnected())
    DM->fnAccDefConnected(SystemDef.SERVERNAME, true);
  return 1;
}

QStringList TDbUpdate::ErrorLines() const
{
  QStringList lines{FDbType == 0 ? QStringLiteral("システムデータの更新に失敗しました。")
                                 : QStringLiteral("会計データの更新に失敗しました。")};
  if (!FBackupRestoreErrInfo.ErrMessage1.isEmpty())
    lines << QStringLiteral("[エラー内容]") << FBackupRestoreErrInfo.ErrMessage1 << FBackupRestoreErrInfo.ErrMessage2;
  if (FBackupKept)
    lines << QStringLiteral("更新前のバックアップを残しています。") << FBackupFilePath;
  return lines;
}

void TDbUpdate::DeleteBackupFile()
{
  if (!FBackupKept && !FBackupFilePath.isEmpty() && QFile::exists(FBackupFilePath))
    QFile::remove(FBackupFilePath);
}
