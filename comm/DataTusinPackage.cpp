// The transfer package: save, zip, staging copy and clean-up of a send.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "comm/DataTusin.h"
#include "comm/TusinZip.h"
#include "common/AccFunction2.h"
#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "common/MessageHook.h"
#include "platform/Format.h"

const QString TransferZipPrefix = QStringLiteral("Tk5Wn8");

namespace {

// 1/9000 of a day times 0.05: 0.48 seconds.
constexpr double WaitUnitDays = 1.0 / 9000.0 * 0.05;

QString joinPath(const QString& AFolder, const QString& AName)
{
  return fnExcludePathDelim(AFolder) + QLatin1Char('/') + AName;
}

bool removeIfThere(const QString& APath)
{
  return !QFileInfo::exists(APath) || QFile::remove(APath);
}

}  // namespace

void pcTusinWaitUnit()
{
  const int waitsec = 1;
  const TDateTime endtime1 = Now() + waitsec * WaitUnitDays;
  TDateTime endtime2 = Now();
  while (endtime2 < endtime1)
    endtime2 = Now();
}

QString TDataTusin::SendFolder()
{
  return fnExcludePathDelim(SystemDef.TEMP) + QStringLiteral("/ComS");
}

QString TDataTusin::RecvFolder()
{
  return fnExcludePathDelim(SystemDef.TEMP) + QStringLiteral("/ComR");
}

QString TDataTusin::BackupFileName() const
{
  if (IsCloud())
    return QStringLiteral("cpacc.fbk3");
  return AppInfo.DataBackupFile.isEmpty() ? QStringLiteral("wqacc2.fbk") : AppInfo.DataBackupFile;
}

QString TDataTusin::ZipFileName() const
{
  return IsCloud() ? QStringLiteral("cpacc.lzh") : QStringLiteral("wqacc.lzh");
}

QString TDataTusin::StagedFileName() const
{
  return IsCloud() ? QStringLiteral("cpacc.wen3") : QStringLiteral("wqacc.wen3");
}

QString TDataTusin::PackagePassword()
{
  return TransferZipPrefix + AccInf.PASWORD;
}

void TDataTusin::DataStatusWrite(const QString& AFolder, int AStatus)
{
  FDataInfomation.WriteIniFileDataStatus(AFolder, TJxDataStatus(AStatus));
}

bool TDataTusin::DataHozon(bool AMessage)
{
  FDataInfomation.SetAppType(AppType);
  const QString dataFolder = TransferDataPath();
  const QString workFolder = fnExcludePathDelim(SendFolder());
  bool result = false;
  DataStatusWrite(dataFolder, jxdsBack);
  try {
    if (!FBackupRestoreThread)
      FBackupRestoreThread = std::make_unique<TBackupRestoreThread>(true);
    TBackupRestoreThread& w = *FBackupRestoreThread;
    w.SetProcType(0);
    w.SetToolType(AppType == jxatSA ? jxttIBComp : jxttGBak);
    w.SetServerName(SystemDef.SERVERNAME);
    w.SetDataBaseName(joinPath(dataFolder, AccDataFile));
    w.SetFileName(joinPath(workFolder, BackupFileName()));
    w.SetRestoreIndex(true);
    w.ZaimuInfClear();
    w.SetAddZaimuInf(true);
    w.Inf_Shougou = AccInf.SHOUGOU;
    w.Inf_Kishu = FormatDateTime(QStringLiteral("yyyy/mm/dd"), AccInf.KISHU);
    w.Inf_Kimatu = FormatDateTime(QStringLiteral("yyyy/mm/dd"), AccInf.KIMATU);
    if (DM && DM->IBDatabaseDAT.isConnected()) {
      w.Inf_SiwakeCnt = DM->GetYukouSiwakeCount(QString());
      w.Inf_TotalSiwakeCnt = DM->GetSiwakeCount(QString());
    }
    if (FProcType == 20) {
      w.Inf_DataVersion = QStringLiteral("%1.%2.%3").arg(itDataVerMajor).arg(itDataVerMinor1).arg(itDataVerMinor2);
      w.SetSenderName(QStringLiteral("クラウドシェア送信"));
    } else {
      w.Inf_DataVersion = QStringLiteral("0.0.0");
      w.SetSenderName(QStringLiteral("データ送信"));
    }
    w.Inf_GassanKbn = AccInf.GassanDataKbn;
    w.SetMyNumberKakunin(false);
    w.SetMyNumberLogAdd(true);
    w.Inf_UseMyNumberKbn = AccInf.UseMyNumberKbn;
    w.Resume();
    while (!w.TerminatedFlg())
      WaitMSec(300);
    result = w.Result();
    if (!result)
      MessageHook().ShowMessageDlg(w.ErrInfomation().ErrMessage1 + QStringLiteral("\r") + w.ErrInfomation().ErrMessage2,
                                   mtWarning, mbYes);
    FBackupRestoreThread.reset();
  } catch (...) {
    FBackupRestoreThread.reset();
    DataStatusWrite(dataFolder, jxdsNone);
    throw;
  }
  DataStatusWrite(dataFolder, jxdsNone);
  if (AMessage && !result)
    MessageHook().ShowMessageDlg(QStringLiteral("データの保存に失敗しました。\r保存処理を中止しました。"), mtError,
                                 mbYes);
  return result;
}

bool TDataTusin::PackageBuild()
{
  const bool fixed = IsFixedFolderKind();
  auto fail = [&](const QString& AText) {
    HideProgress();
    MessageHook().ShowMessageDlg(AText, mtError, mbYes);
    return false;
  };
  auto framed = [](const QString& AText) { return QStringLiteral("　\r\n") + AText + QStringLiteral("\r\n "); };
  auto step = [&](TSendStep AStep, TSendStepState AState) {
    if (OnStep)
      OnStep(AStep, AState);
  };
  StagedPath.clear();
  StagedSize = 0;
  // A package is only ever made under a communication password.
  if (AccInf.PASWORD.trimmed().isEmpty())
    return fail(framed(QStringLiteral("通信パスワードが設定されていないため、送信できません。")));

  const QString work = SendFolder();
  if (!fnFolderExists(work))
    return fail(fixed ? framed(QStringLiteral("送信用フォルダの作成に失敗しました。"))
                      : QStringLiteral("送信用フォルダの作成に失敗しました。"));
  const QString backup = joinPath(work, BackupFileName());
  const QString zip = joinPath(work, ZipFileName());
  const QString staged = joinPath(work, StagedFileName());
  if (!removeIfThere(backup))
    return fail(QStringLiteral("旧バックアップファイルが削除出来ません。"));
  if (!DataHozon(true))
    return false;
  step(ssSave, sssDone);
  step(ssZip, sssRunning);
  Pause();

  bool zipped = false;
  {
    const bool hooked = bool(OnEscHook);
    if (hooked)
      OnEscHook(true);
    struct TUnhook {
      const std::function<void(bool)>& H;
      bool On;
      ~TUnhook()
      {
        if (On)
          H(false);
      }
    } unhook{OnEscHook, hooked};
    if (!removeIfThere(zip))
      return fail(QStringLiteral("旧圧縮ファイルが削除出来ません。"));
    if (!QFileInfo::exists(backup))
      return fail(framed(QStringLiteral("バックアップファイルが見つかりません。")));
    try {
      zipped = fnZipAssyuku(backup, zip, PackagePassword());
    } catch (...) {
      return fail(fixed ? framed(QStringLiteral("圧縮失敗")) : QStringLiteral("圧縮失敗"));
    }
    if (!zipped)
      return fail(fixed ? QStringLiteral("圧縮失敗") : QStringLiteral("圧縮エラー"));
    Pause();
  }
  step(ssZip, sssDone);
  step(ssStage, sssRunning);

  if (!QFileInfo::exists(zip))
    return fail(framed(QStringLiteral("圧縮ファイルが見つかりません。")));
  if (!removeIfThere(staged))
    return fail(QStringLiteral("旧ワークファイルが削除出来ません。"));
  if (!QFile::copy(zip, staged))
    return fail(framed(QStringLiteral("暗号失敗")));
  step(ssStage, sssDone);
  step(ssTransfer, sssRunning);
  Pause();
  const QFileInfo stagedInfo(staged);
  if (!stagedInfo.exists())
    return fail(framed(QStringLiteral("暗号化ファイルが見つかりません。")));
  StagedPath = staged;
  StagedSize = stagedInfo.size();
  return true;
}

void TDataTusin::PackageCleanUp()
{
  const QString work = SendFolder();
  for (const QString& name : {ZipFileName(), BackupFileName(), StagedFileName()}) {
    const QString path = joinPath(work, name);
    if (QFileInfo::exists(path))
      QFile::remove(path);
  }
}
