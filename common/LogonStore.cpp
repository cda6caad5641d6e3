#include "common/LogonStore.h"

#include "common/DbUtil.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"

TLogonStore::TLogonStore(db::Database& ADatabase) : FDatabase(ADatabase) {}

TLogonAnswer TLogonStore::LogonUserTest(db::Transaction& ATransaction, const QString& APcName, int AGroupId,
                                        int AOpCode, int AAppVersion, const QString& APassword)
{
  ATransaction.startIfNeeded();
  TLogonAnswer answer;
  {
    db::Query q(ATransaction, QStringLiteral("SELECT NUM,LOGINCODE,JOBLEVEL FROM "
                                             "LOGONUSERTEST(:PCNAME,:GROUPID,:OPCODE,:APPVERSION,:PASWORD)"));
    q.setParam(QStringLiteral("PCNAME"), APcName);
    q.setParam(QStringLiteral("GROUPID"), AGroupId);
    q.setParam(QStringLiteral("OPCODE"), AOpCode);
    q.setParam(QStringLiteral("APPVERSION"), AAppVersion);
    q.setParam(QStringLiteral("PASWORD"), APassword);
    q.open();
    if (!q.eof()) {
      answer.Num = q.field(QStringLiteral("NUM")).asInt();
      answer.LoginCode = q.field(QStringLiteral("LOGINCODE")).asInt();
      answer.JobLevel = q.field(QStringLiteral("JOBLEVEL")).asInt();
    }
    q.close();
  }
  ATransaction.commit();
  return answer;
}

void TLogonStore::ReadOperator(int AGroupId, int AOpCode, TLogonOperator& AOperator)
{
  AOperator.OpName.clear();
  AOperator.Jimusho = false;
  try {
    db::Transaction tr(FDatabase);
    TOwnTransaction own(tr);
    db::Query q(tr, QStringLiteral("SELECT OPNAME,JIMUSHO,OKINIIRI FROM OPERATOR "
                                   "WHERE GROUPID=:GROUPID "
                                   "AND OPCODE=:OPCODE"));
    q.setParam(QStringLiteral("GROUPID"), AGroupId);
    q.setParam(QStringLiteral("OPCODE"), AOpCode);
    for (q.open(); !q.eof(); q.next()) {
      AOperator.OpName = q.field(QStringLiteral("OPNAME")).asString();
      AOperator.Jimusho = q.field(QStringLiteral("JIMUSHO")).asInt() == 1;
    }
    q.close();
    own.Commit();
  } catch (const std::exception&) {
    // The logon goes on without the name.
    AOperator.OpName.clear();
    AOperator.Jimusho = false;
  }
}

void TLogonStore::ReadOperatorRights(int AGroupId, int AOpCode, TLogonOperator& AOperator)
{
  AOperator.MyNumberAdm = false;
  AOperator.Syouninsya = false;
  try {
    db::Transaction tr(FDatabase);
    TOwnTransaction own(tr);
    db::Query q(tr, QStringLiteral("SELECT MYNUMBER_ADM,SHONIN FROM OPERATOR "
                                   "WHERE (GROUPID=:GROUPID) AND (OPCODE=:OPCODE)"));
    q.setParam(QStringLiteral("GROUPID"), AGroupId);
    q.setParam(QStringLiteral("OPCODE"), AOpCode);
    q.open();
    if (!q.eof()) {
      AOperator.MyNumberAdm = q.field(QStringLiteral("MYNUMBER_ADM")).asInt() == 1;
      AOperator.Syouninsya = q.field(QStringLiteral("SHONIN")).asInt() == 1;
    }
    q.close();
    own.Commit();
  } catch (const std::exception&) {
    // Without the rights the operator has neither.
    AOperator.MyNumberAdm = false;
    AOperator.Syouninsya = false;
  }
}

bool TLogonStore::ForgetLogon(int AGroupId, int ALoginCode, const QString& APcName)
{
  try {
    db::Transaction tr(FDatabase);
    TOwnTransaction own(tr);
    db::Query q(tr, QStringLiteral("DELETE FROM LOGONUSERLIST "
                                   "WHERE GROUPID=:GROUPID AND OPERATORCODE=:OPCODE AND PCNAME=:PCNAME"));
    q.setParam(QStringLiteral("GROUPID"), AGroupId);
    q.setParam(QStringLiteral("OPCODE"), ALoginCode);
    q.setParam(QStringLiteral("PCNAME"), APcName);
    q.exec();
    own.Commit();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

QString TLogonStore::ReadPassword(int AGroupId, int ALoginCode)
{
  db::Transaction tr(FDatabase);
  TOwnTransaction own(tr);
  db::Query q(tr, QStringLiteral("SELECT PASWORD FROM OPERATOR "
                                 "WHERE GROUPID=:GROUPID AND OPCODE=:OPCODE"));
  q.setParam(QStringLiteral("GROUPID"), AGroupId);
  q.setParam(QStringLiteral("OPCODE"), ALoginCode);
  q.open();
  QString password;
  if (!q.eof())
    password = q.field(QStringLiteral("PASWORD")).asString();
  q.close();
  own.Commit();
  return password;
}

void TLogonStore::WritePassword(int AGroupId, int ALoginCode, const QString& APassword)
{
  db::Transaction tr(FDatabase);
  TOwnTransaction own(tr);
  int count = 0;
  {
    db::Query q(tr, QStringLiteral("SELECT COUNT(GROUPID) AS RECCNT FROM OPERATOR "
                                   "WHERE GROUPID=:GROUPID AND OPCODE=:OPCODE"));
    q.setParam(QStringLiteral("GROUPID"), AGroupId);
    q.setParam(QStringLiteral("OPCODE"), ALoginCode);
    q.open();
    count = q.eof() ? 0 : q.field(QStringLiteral("RECCNT")).asInt();
    q.close();
  }
  db::Query w(tr);
  if (count > 0) {
    w.setSql(
        QStringLiteral("UPDATE OPERATOR SET PASWORD=:PASWORD "
                       "WHERE GROUPID=:GROUPID AND OPCODE=:OPCODE"));
  } else {
    w.setSql(
        QStringLiteral("INSERT INTO OPERATOR(GROUPID,OPCODE,OPNAME,JOBLEVEL,PASWORD,DATAPAS,JIMUSHO,OKINIIRI,KANSA) "
                       "VALUES(:GROUPID,:OPCODE,:OPNAME,:JOBLEVEL,:PASWORD,:DATAPAS,:JIMUSHO,:OKINIIRI,:KANSA)"));
    w.setParam(QStringLiteral("OPNAME"), QStringLiteral(u"システムユーザー"));
    w.setParam(QStringLiteral("JOBLEVEL"), 9);
    w.setParam(QStringLiteral("DATAPAS"), QString());
    w.setParam(QStringLiteral("JIMUSHO"), 0);
    w.setParam(QStringLiteral("OKINIIRI"), 0);
    w.setParam(QStringLiteral("KANSA"), 0);
  }
  w.setParam(QStringLiteral("GROUPID"), AGroupId);
  w.setParam(QStringLiteral("OPCODE"), ALoginCode);
  w.setParam(QStringLiteral("PASWORD"), APassword);
  w.exec();
  own.Commit();
}
