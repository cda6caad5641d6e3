#include "datasel/DataSyosaiUpdate.h"

#include <QFileInfo>

#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "common/MessageHook.h"
#include "datasel/DataFolderStatus.h"
#include "datasel/DataLockToggle.h"
#include "platform/Paths.h"

TJxDataStatus fnReadDataStatusNow(const QString& ADataPath, TDataInfomationRec& ARec)
{
  if (AppType == jxatSA && !QFileInfo(PathJoin(ADataPath, AccDataFile)).isFile()) {
    TDataInfomation::InitRecord(ARec);
    ARec.Status = jxdsError;
    return jxdsError;
  }
  return fnReadDataStatus(AppType, ADataPath, ARec);
}

TDataSyosaiOutcome fnApplyDataSyosai(const QString& ADataPath, const TDataSyosaiRequest& AReq, TDataListRec& ARec)
{
  TDataSyosaiOutcome out;
  out.Status = fnReadDataStatusNow(ADataPath, out.Holder);
  if (AppType == jxatSA && out.Status == jxdsError && !QFileInfo(PathJoin(ADataPath, AccDataFile)).isFile())
    MessageHook().ShowMessageLines(2, {QStringLiteral("このフォルダには財務データがありません。")});

  TDataInfomation info;
  info.SetAppType(AppType);
  const bool writable = out.Status == jxdsNone || (AppType != jxatSA && out.Status == jxdsExec);
  if (writable) {
    TDataInfomationRec rec;
    TDataInfomation::InitRecord(rec);
    rec.DataListName = AReq.ListName;
    rec.UpdateLock = AReq.UpdateLock;
    rec.ReadOnly = AReq.ReadOnly;
    if (info.UpdateDataInfomation(SystemDef.SERVERNAME, ADataPath, &rec)) {
      out.InfoWritten = true;
      ARec.DataListName = rec.DataListName;
      ARec.Display_DataListName = rec.DataListName;
      ARec.UpdateLock = AReq.UpdateLock;
      ARec.ReadOnly = AReq.ReadOnly;
      // The settings file follows (stand-alone data only).
      info.WriteIniValue(ADataPath, QStringLiteral("DATAINFO"), QStringLiteral("DATALISTNAME"), rec.DataListName,
                         false);
      info.WriteIniValue(ADataPath, QStringLiteral("DATASTS"), QStringLiteral("UPDATE_LOCK"), AReq.UpdateLock, false);
      info.WriteIniValue(ADataPath, QStringLiteral("DATASTS"), QStringLiteral("READ_ONLY"), AReq.ReadOnly, false);
    }
  }

  if (AReq.StatusClear) {
    // Cleared only when the status is still the one the dialog offered, and
    // still belongs to this operator unless access is unrestricted.
    const bool accepted = out.Status == jxdsNone || (AppType != jxatSA && out.Status == jxdsExec);
    const bool same = out.Status == AReq.ShownStatus && out.Holder.OpCode == AReq.ShownOpCode;
    const bool unrestricted = DM && DM->IsDataAccessSeigenNasi();
    bool mayClear = same && !accepted && out.Status != jxdsError;
    if (mayClear && !unrestricted) {
      if (out.Status == jxdsLock)
        mayClear =
            fnDataLockAction(out.Status, out.Holder.OpCode, 1, SystemDef.OPCODE).Kind == TDataLockAction::DoRelease;
      else
        mayClear = fnOperatorNumber(out.Holder.OpCode) == fnOperatorNumber(SystemDef.OPCODE);
    }
    if (mayClear) {
      info.WriteIniFileDataStatus(ADataPath, jxdsNone);
      out.StatusCleared = true;
    } else if (!accepted && out.Status != jxdsError) {
      // Someone else's status now: kept, and the operator is told.
      out.ClearRefused = true;
      MessageHook().ShowMessageLines(
          2, {QStringLiteral("このデータは%1のため処理が行えません。").arg(fnDataStatusName(int(out.Status))),
              QString(), QStringLiteral("【オペレータ】"),
              QStringLiteral("　") + QString::number(fnOperatorNumber(out.Holder.OpCode)),
              QStringLiteral("【オペレータ名】"), QStringLiteral("　") + out.Holder.OpName});
    }
  }
  // The lock column follows the status just read; another operator's mark
  // stays as it is.
  ARec.DataLock =
      !out.StatusCleared && out.Status == jxdsLock && out.Holder.OpCode != 0 ? fnOperatorNumber(out.Holder.OpCode) : 0;
  return out;
}
