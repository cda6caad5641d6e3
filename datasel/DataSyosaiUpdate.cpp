#include "datasel/DataSyosaiUpdate.h"

#include "common/AccFunction.h"
#include "common/AccFunctionNum.h"
#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "common/FbError.h"
#include "common/MessageHook.h"
#include "datasel/DataFolderStatus.h"
#include "datasel/DataLockToggle.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "platform/Paths.h"

#include <QFileInfo>

bool fnUpdateDataInfomation(const QString& AHostName, const QString& ADataPath, TDataInfomationRec& ARec)
{
  const QString message = QStringLiteral("データ情報の更新に失敗しました。");
  const QString host = AHostName.isEmpty() ? SystemDef.SERVERNAME : AHostName;
  db::Database d(TDM::fnDatabaseName(host, ADataPath, AccDataFile, TDM::fnUseRemoteForm(host)));
  d.setUser(SystemDef.IBUSER);
  d.setPassword(SystemDef.PASWORD);
  try {
    d.connect();
    db::Transaction tr(d);
    tr.start();
    db::Query q(tr);
    if (fnTrimZen(ARec.DataListName).isEmpty()) {
      q.setSql(QStringLiteral("SELECT ENTTEXT FROM ACCDEF1 WHERE REC=1"));
      q.open();
      ARec.DataListName = q.eof() ? QString() : q.field("ENTTEXT").asString();
      q.close();
    }
    ARec.DataListName = fnTrimZen(fnCutStrL(ARec.DataListName, 40, false));
    q.setSql(QStringLiteral("SELECT MAJOR,MINOR1,MINOR2 FROM ACCVERSION WHERE REC=1 ORDER BY MAJOR,MINOR1,MINOR2"));
    q.open();
    if (!q.eof()) {
      ARec.VerMajor = q.field("MAJOR").asInt();
      ARec.VerMinor = q.field("MINOR1").asInt();
      ARec.VerRevision = q.field("MINOR2").asInt();
    }
    q.close();
    const bool readOnlyColumn =
        fnVersionGreaterEq(QStringLiteral("%1.%2.%3").arg(ARec.VerMajor).arg(ARec.VerMinor).arg(ARec.VerRevision),
                           QStringLiteral("12.0.0"));
    q.setSql(readOnlyColumn ? QStringLiteral("UPDATE ACCDEF1 SET ENTTEXT=:ENTTEXT,DATALOCK=:DATALOCK,READ_ONLY=:READ_ONLY WHERE REC=1")
                            : QStringLiteral("UPDATE ACCDEF1 SET ENTTEXT=:ENTTEXT,DATALOCK=:DATALOCK WHERE REC=1"));
    q.setParam(QStringLiteral("ENTTEXT"), ARec.DataListName);
    q.setParam(QStringLiteral("DATALOCK"), ARec.UpdateLock);
    if (readOnlyColumn) q.setParam(QStringLiteral("READ_ONLY"), ARec.ReadOnly);
    q.exec();
    tr.commit();
    d.disconnect();
    return true;
  } catch (const db::DbError& e) {
    d.disconnect();
    fnShowFbError(e, QStringLiteral("TDM.UpdateDataInfomation"), message, true);
  } catch (const std::exception& e) {
    d.disconnect();
    fnShowErrorDetail(message, QString::fromUtf8(e.what()), mtError);
  }
  return false;
}

TJxDataStatus fnReadDataStatusNow(const QString& ADataPath, TDataInfomationRec& ARec)
{
  if (AppType == jxatSA) {
    if (!QFileInfo(PathJoin(ADataPath, AccDataFile)).isFile()) {
      TDataInfomation::InitRecord(ARec);
      ARec.Status = jxdsError;
      return jxdsError;
    }
    return fnReadDataFolderStatus(ADataPath, ARec);
  }
  TDataInfomation info;
  info.SetAppType(AppType);
  info.ReadIniFile(ADataPath, ARec);
  return ARec.Status;
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
    if (fnUpdateDataInfomation(SystemDef.SERVERNAME, ADataPath, rec)) {
      out.InfoWritten = true;
      ARec.DataListName = rec.DataListName;
      ARec.Display_DataListName = rec.DataListName;
      ARec.UpdateLock = AReq.UpdateLock;
      ARec.ReadOnly = AReq.ReadOnly;
      // The settings file follows (stand-alone data only).
      info.WriteIniValue(ADataPath, QStringLiteral("DATAINFO"), QStringLiteral("DATALISTNAME"), rec.DataListName, false);
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
        mayClear = fnDataLockAction(out.Status, out.Holder.OpCode, 1, SystemDef.OPCODE).Kind == TDataLockAction::DoRelease;
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
          2, {QStringLiteral("このデータは%1のため処理が行えません。").arg(fnDataStatusName(int(out.Status))), QString(),
              QStringLiteral("【オペレータ】"), QStringLiteral("　") + QString::number(fnOperatorNumber(out.Holder.OpCode)),
              QStringLiteral("【オペレータ名】"), QStringLiteral("　") + out.Holder.OpName});
    }
  }
  // The lock column follows the status just read; another operator's mark
  // stays as it is.
  ARec.DataLock = !out.StatusCleared && out.Status == jxdsLock && out.Holder.OpCode != 0
                      ? fnOperatorNumber(out.Holder.OpCode)
                      : 0;
  return out;
}
