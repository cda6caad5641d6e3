// The comparison of received data with the local data set before it is
// replaced, and the two ways its inputs are gathered.
#include "comm/DataTusin.h"
#include "common/AccDateText.h"
#include "common/AccFunctionNum.h"
#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "common/MessageHook.h"
#include "platform/Paths.h"

namespace {

void warn(const QString& AFormat, const QString& ACaption)
{
  MessageHook().ShowMessageDlg(AFormat.arg(ACaption) + QStringLiteral("\r"), mtWarning, mbYes);
}

// A stored "yyyy/mm/dd" date as the operator reads it.
QString shownDate(const QString& AText)
{
  if (SystemDef.NengoSwitch == 0)
    return AText;
  const TDateTime d = fnStrToDateTimeJP(AText);
  return IsNoDate(d) ? AText : fnDateToWarekiText(QStringLiteral("yy/mm/dd"), 2, d);
}

bool allEmpty(const TDataInfomationRec& r)
{
  return r.Shougou.isEmpty() && r.Kishu.isEmpty() && r.Kimatu.isEmpty();
}

}  // namespace

bool TDataTusin::DataHikaku(const QString& ACaption, const TDataInfomationRec& ASource,
                            const TDataInfomationRec& ATarget)
{
  if (allEmpty(ASource)) {
    warn(QStringLiteral("%1処理元のデータ情報が不正です。"), ACaption);
    return false;
  }
  if (allEmpty(ATarget)) {
    warn(QStringLiteral("%1処理先のデータ情報が不正です。"), ACaption);
    return false;
  }
  FMessageList.clear();
  auto block = [&](const QString& AHead, const QString& ASrc, const QString& ADst) {
    FMessageList << AHead << QStringLiteral("　【%1元】：%2").arg(ACaption, ASrc)
                 << QStringLiteral("　【%1先】：%2").arg(ACaption, ADst) << QString();
  };
  if (ASource.Shougou != ATarget.Shougou)
    block(QStringLiteral("会社名に違いがありました。"), ASource.Shougou, ATarget.Shougou);
  if (ASource.Kishu != ATarget.Kishu)
    block(QStringLiteral("期首に違いがありました。"), shownDate(ASource.Kishu), shownDate(ATarget.Kishu));
  if (ASource.Kimatu != ATarget.Kimatu)
    block(QStringLiteral("期末に違いがありました。"), shownDate(ASource.Kimatu), shownDate(ATarget.Kimatu));
  if (ASource.TotalSiwake < ATarget.TotalSiwake)
    FMessageList << QStringLiteral("仕訳件数(修正・削除仕訳含む)が減っています。")
                 << QStringLiteral("　【%1元】：%2 件").arg(ACaption, fnFormatIntComma(ASource.TotalSiwake))
                 << QStringLiteral("　【%1先】：%2 件").arg(ACaption, fnFormatIntComma(ATarget.TotalSiwake))
                 << QString();
  if (FMessageList.isEmpty())
    return true;
  TTusinAgreement a;
  a.WindowTitle = QStringLiteral("データ照合チェックの結果");
  a.MainCaption = QStringLiteral("以下の項目に違いが検出されました。");
  a.Lines = FMessageList;
  a.AgreeCaption = QStringLiteral("データ%1処理の続行に同意します。").arg(ACaption);
  a.ScreenCentered = FProcType >= 20;
  if (AskAgreement)
    return AskAgreement(a);
  return MessageHook().ShowMessageLines(3, QStringList{a.MainCaption} + a.Lines + QStringList{a.AgreeCaption}) == mrOk;
}

namespace {

// Steps 3 to 6 of both gatherers: true when there is nothing to compare
// with (a missing folder is created); else the target's information in
// ATarget.
bool noTargetData(TDataInfomation& AInfo, const QString& AFolder, TDataInfomationRec& ATarget)
{
  if (!DM->AccDirectoryExists(AFolder, AppType)) {
    DM->AccMakeDirectory(AFolder, AppType);
    return true;
  }
  if (!DM->AccFileExists(PathJoin(AFolder, AccDataFile), AppType))
    return true;
  AInfo.InitIniFile(AFolder, QStringLiteral("DATAINFO"));
  AInfo.ReadIniFile(AFolder, ATarget);
  if (DM->IBDatabaseDAT.isConnected())
    DM->IBDatabaseDAT.disconnect();
  return false;
}

}  // namespace

bool TDataTusin::WorkDataHikaku(const QString& ACaption, const QString& AHostName, const QString& ATargetFolder,
                                const QString& AWorkFolder)
{
  FMessageList.clear();
  if (AWorkFolder.isEmpty()) {
    warn(QStringLiteral("%1処理元のデータパスが不正です。"), ACaption);
    return false;
  }
  if (ATargetFolder.isEmpty()) {
    warn(QStringLiteral("%1処理先のデータパスが不正です。"), ACaption);
    return false;
  }
  FDataInfomation.SetAppType(AppType);
  TDataInfomationRec target, source;
  if (noTargetData(FDataInfomation, ATargetFolder, target))
    return true;
  FDataInfomation.ReadIniFile(AHostName, AWorkFolder, source);
  return DataHikaku(ACaption, source, target);
}

bool TDataTusin::BackupInfoHikaku(const QString& ACaption, const TDataInfomationRec& ASource,
                                  const QString& ATargetFolder)
{
  FMessageList.clear();
  if (ATargetFolder.isEmpty()) {
    warn(QStringLiteral("%1処理先のデータパスが不正です。"), ACaption);
    return false;
  }
  FDataInfomation.SetAppType(AppType);
  TDataInfomationRec target;
  if (noTargetData(FDataInfomation, ATargetFolder, target))
    return true;
  return DataHikaku(ACaption, ASource, target);
}
