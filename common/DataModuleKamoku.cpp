// Accounts of fixed roles, account code conversion, the operator list of a
// group, the operator test and the database server's time.
#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/FbError.h"
#include "db/DbError.h"
#include "platform/DateTime.h"

void TDM::SetSystemCode(const QString& AName, QString& AKCODE, QString& AUSERCODE)
{
  AKCODE.clear();
  AUSERCODE.clear();
  db::Query q(IBTransactionDAT);
  TOwnTransaction tr(IBTransactionDAT);
  try {
    q.setSql(
        QStringLiteral("SELECT A.KCODE,K.USERCODE FROM ACCDEF2 A "
                       "INNER JOIN KAMOKUMST K ON (A.KCODE=K.KCODE) "
                       "WHERE A.KNAME=:NAME"));
    q.setParam("NAME", AName);
    q.open();
    if (!q.eof()) {
      AKCODE = q.field("KCODE").asString();
      AUSERCODE = q.field("USERCODE").asString();
    }
    q.close();
    tr.Commit();
  } catch (const db::DbError& e) {
    q.close();
    tr.Rollback();
    fnShowFbError(e, QStringLiteral("TDM.SetSystemCode"), QString(), true);
    throw;
  }
}

namespace {

QString lookUp(db::Transaction& t, const QString& sql, const QString& param, const QString& value,
               const QString& column)
{
  db::Query q(t);
  TOwnTransaction tr(t);
  QString result;
  q.setSql(sql);
  q.setParam(param, value);
  q.open();
  if (!q.eof())
    result = q.field(column).asString();
  q.close();
  tr.Commit();
  return result;
}

}  // namespace

QString TDM::UserKcodeToKCode(const QString& AUKCode)
{
  if (AUKCode.trimmed().isEmpty())
    return QString();
  return lookUp(IBTransactionDAT, QStringLiteral("SELECT KCODE FROM KAMOKUMST WHERE USERCODE=:USERCODE"),
                QStringLiteral("USERCODE"), AUKCode, QStringLiteral("KCODE"));
}

QString TDM::KCodeToUserKcode(const QString& AKCode)
{
  return lookUp(IBTransactionDAT, QStringLiteral("SELECT USERCODE FROM KAMOKUMST WHERE KCODE=:KCODE"),
                QStringLiteral("KCODE"), AKCode, QStringLiteral("USERCODE"));
}

QString TDM::GetOperatorList(QStringList& AOperatorList, int AGroup, const QString& ATopItem)
{
  AOperatorList.clear();
  QStringList display;
  if (!ATopItem.isEmpty()) {
    AOperatorList << QString();
    display << ATopItem;
  }
  db::Query q(IBTransactionDEF);
  TOwnTransaction tr(IBTransactionDEF);
  q.setSql(QStringLiteral("SELECT OPCODE,OPNAME FROM OPERATOR WHERE GROUPID=:GROUPID AND OPCODE>=10"));
  q.setParam("GROUPID", AGroup);
  for (q.open(); !q.eof(); q.next()) {
    const QString code = q.field("OPCODE").asString();
    AOperatorList << code;
    display << code.leftJustified(2, QLatin1Char(' ')) + QLatin1Char(':') + q.field("OPNAME").asString();
  }
  q.close();
  tr.Commit();
  QString text;
  for (const QString& line : display)
    text += line + QStringLiteral("\r\n");
  return text;
}

bool TDM::IsOpCode(int AOPCODE, int APassword)
{
  const int group = AOPCODE / 10000;
  const int code = AOPCODE - group * 10000;
  SystemDef.OPCODE2 = code;
  SystemDef.OPLevel = 0;
  SystemDef.OPAccount = false;
  SystemDef.OPNAME.clear();
  bool result = false;
  try {
    db::Query q(IBTransactionDEF);
    TOwnTransaction tr(IBTransactionDEF);
    q.setSql(
        QStringLiteral("SELECT OPCODE,JOBLEVEL,PASWORD,JIMUSHO,OPNAME FROM OPERATOR "
                       "WHERE (GROUPID=:GROUPID) AND (OPCODE=:OPCODE)"));
    q.setParam("GROUPID", group);
    q.setParam("OPCODE", code);
    q.open();
    if (!q.eof()) {
      bool passwordOk = APassword == 0;
      if (!passwordOk) {
        bool isNumber = false;
        const int stored = q.field("PASWORD").asString().trimmed().toInt(&isNumber);
        passwordOk = isNumber && stored == APassword;
      }
      if (passwordOk) {
        result = true;
        SystemDef.OPLevel = q.field("JOBLEVEL").asInt();
        SystemDef.OPAccount = q.field("JIMUSHO").asInt() == 1;
        SystemDef.OPNAME = q.field("OPNAME").asString();
      }
    }
    q.close();
    tr.Commit();
  } catch (const std::exception&) {
    return false;
  }
  return result;
}

TDateTime TDM::GetDBServerNow()
{
  TDateTime now = Now();
  if (AppType != jxatCS)
    return now;
  try {
    db::Query q(IBTransactionDAT);
    TOwnTransaction tr(IBTransactionDAT);
    q.setSql(QStringLiteral("SELECT CAST('NOW' AS TIMESTAMP) SYSDATE FROM ACCDEF1 WHERE REC=1"));
    for (q.open(); !q.eof(); q.next())
      now = q.field("SYSDATE").asDateTime();
    q.close();
    tr.Commit();
  } catch (const std::exception&) {
  }
  return now;
}
