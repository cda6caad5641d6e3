#include "datasel/DataFolderStatus.h"

#include <exception>

#include <QFileInfo>

#include "common/AccRecord.h"
#include "platform/IniFile.h"

TJxDataStatus fnReadDataStatus(TJxAppType AAppType, const QString& APath, TDataInfomationRec& ARec)
{
  TDataInfomation info;
  info.SetAppType(AAppType);
  try {
    info.ReadIniFile(SystemDef.SERVERNAME, APath, ARec);
  } catch (const std::exception&) {
    TDataInfomation::InitRecord(ARec);
    ARec.Status = jxdsError;
  }
  if (int(ARec.Status) > int(jxdsHason))
    ARec.Status = jxdsError;
  if (int(ARec.KyoyuStatus) > int(jxksExec))
    ARec.KyoyuStatus = jxksError;
  return ARec.Status;
}

TJxDataStatus fnReadDataFolderStatus(const QString& APath, TDataInfomationRec& ARec)
{
  const QString file = TDataInfomation::IniFileName(APath);
  ARec.Status = jxdsNone;
  ARec.OpCode = 0;
  ARec.OpName.clear();
  ARec.KyoyuStatus = jxksNone;
  ARec.KyoyuOpCode = 0;
  ARec.KyoyuOpName.clear();
  if (!QFileInfo::exists(file))
    return jxdsNone;
  try {
    const IniFile ini(file);
    const QString sec = QStringLiteral("DATASTS");
    const int st = ini.ReadInteger(sec, QStringLiteral("STATUS"), int(jxdsNone));
    ARec.Status = st >= 0 && st <= int(jxdsHason) ? TJxDataStatus(st) : jxdsError;
    ARec.OpCode = ini.ReadInteger(sec, QStringLiteral("OPCODE"), 0);
    ARec.OpName = ini.ReadString(sec, QStringLiteral("OPERATOR"));
    const int ks = ini.ReadInteger(sec, QStringLiteral("SHARE_STATUS"), int(jxksNone));
    ARec.KyoyuStatus = ks >= 0 && ks <= int(jxksExec) ? TJxKyoyuStatus(ks) : jxksError;
    ARec.KyoyuOpCode = ini.ReadInteger(sec, QStringLiteral("SHARE_OPCODE"), 0);
    ARec.KyoyuOpName = ini.ReadString(sec, QStringLiteral("SHARE_OPERATOR"));
    ARec.UpdateLock = ini.ReadInteger(sec, QStringLiteral("UPDATE_LOCK"), 0);
    ARec.ReadOnly = ini.ReadInteger(sec, QStringLiteral("READ_ONLY"), 0);
  } catch (const std::exception&) {
    ARec.Status = jxdsError;
  }
  return ARec.Status;
}

int fnOperatorNumber(int AOpCode)
{
  const long long g = static_cast<long long>(SystemDef.GROUPID) * 10000;
  return g > 0 ? int(AOpCode % g) : AOpCode;
}
