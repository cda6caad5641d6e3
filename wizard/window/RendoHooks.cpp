#include "wizard/window/RendoHooks.h"

#include "common/AccRecord.h"
#include "common/DataInfomation.h"
#include "common/DataModule.h"
#include "common/MessageHook.h"
#include "datasel/ComDataSentaku.h"
#include "platform/AppError.h"
#include "ui/AccInterface.h"
#include "ui/SDI.h"
#include "wizard/window/RendoDataOps.h"

int fnRendoSyoriKidou(const QString& ID, int Mode, const QString& Options)
{
  return fnSyoriKidou(ID, Mode, Options);
}

QString fnRendoHasonMessage()
{
  return QStringLiteral(
      "データ検証の結果、このデータは破損している恐れがあります。\r"
      "データのバックアップを行っている場合は、適正な方法で破損前の状態へ戻して下さい。\r"
      "ご不明な点がございましたら、お問い合わせ先をご確認の上ご連絡下さい。");
}

namespace {

// Marks the data-list row of the folder damaged, within the logged-on
// operator's group.
void markDataListDamaged(const QString& ADataName)
{
  if (DM == nullptr || !DM->IBDatabaseDEF.isConnected())
    return;
  int rec = 0;
  int child = 0;
  RendoDataOps().LocalPathToDataListRecNo(ADataName, rec, child);
  if (rec <= 0)
    return;
  pcMarkDataListDamaged(DM->IBTransactionDEF, rec, child, SystemDef.GROUPID);
}

}  // namespace

int fnRendoDataHasonHantei(const QString& AHostName, const QString& ADataName, int ASilent)
{
  SystemDef.DataHasonFlg = 0;
  const QString file = ADataName + u'/' + AccDataFile;
  const bool remote = !AHostName.isEmpty() && AHostName != QStringLiteral("127.0.0.1");
  const int result =
      remote ? RendoDataOps().ValidateFDB(0, AHostName, file) : RendoDataOps().ValidateFDB(3, QString(), file);
  if (result == 0) {
    SystemDef.DataHasonFlg = 1;
    if (ASilent == 0)
      MessageHook().ShowMessageDlg(fnRendoHasonMessage(), mtError, mbOK);
    try {
      markDataListDamaged(ADataName);
    } catch (...) {
      pcLogDroppedError("fnRendoDataHasonHantei");
    }
    try {
      TDataInfomation info;
      info.SetAppType(AppType);
      info.WriteIniFileDataStatus(ADataName, jxdsHason);
    } catch (...) {
      pcLogDroppedError("fnRendoDataHasonHantei");
    }
  }
  return result;
}

int fnRendoMenuRequest(int, const QString&)
{
  return 0;
}

void pcInstallRendoHooks()
{
  MenuSousaProc = fnRendoMenuRequest;
  SyoriKidouProc = fnRendoSyoriKidou;
  DataHasonHanteiProc = [](const QString& h, const QString& d, int s) {
    return QVariant(fnRendoDataHasonHantei(h, d, s));
  };
}

void pcClearRendoHooks()
{
  MenuSousaProc = nullptr;
  SyoriKidouProc = nullptr;
  DataHasonHanteiProc = nullptr;
}
