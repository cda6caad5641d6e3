#include "common/FormSettingsStore.h"

#include "common/DbUtil.h"
#include "common/FbError.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "platform/DateTime.h"

namespace {

void bindText(db::Query& AQuery, const QString& AName, const QVariant& AText)
{
  if (AText.isNull())
    AQuery.setParamNull(AName);
  else
    AQuery.setParam(AName, AText.toString());
}

}  // namespace

TFormSettingsStore::TFormSettingsStore(db::Transaction& ATransaction) : FTransaction(ATransaction) {}

// ---------------------------------------------------------------- history

void TFormSettingsStore::PutProcRireki(int AOpCode, const QString& AJobName, const QString& APcName, int AState)
{
  TOwnTransaction own(FTransaction);
  try {
    db::Query proc(FTransaction, QStringLiteral("EXECUTE PROCEDURE OPINF_DELETE(:OPCODE,:JOBNAME,:STATE)"));
    proc.setParam(QStringLiteral("OPCODE"), AOpCode);
    proc.setParam(QStringLiteral("JOBNAME"), AJobName);
    proc.setParam(QStringLiteral("STATE"), AState == 0   ? QStringLiteral("エラー終了")
                                           : AState == 1 ? QStringLiteral("正常終了")
                                                         : QString());
    proc.exec();
    if (AState == 0) {
      db::Query ins(FTransaction, QStringLiteral("INSERT INTO OPINF(OPCODE,JOBNAME,PCNAME,OPENTIME) "
                                                 "VALUES(:OPCODE,:JOBNAME,:PCNAME,:OPENTIME)"));
      ins.setParam(QStringLiteral("OPCODE"), AOpCode);
      ins.setParam(QStringLiteral("JOBNAME"), AJobName);
      ins.setParam(QStringLiteral("PCNAME"), APcName);
      ins.setParamDateTime(QStringLiteral("OPENTIME"), Now());
      ins.exec();
    }
    own.Commit();
  } catch (const db::DbError& e) {
    own.Rollback();
    fnShowFbError(e, QStringLiteral("TBSDI.PutProcRirekiInfo"), QString(), true);
    throw;
  }
}

// ---------------------------------------------------------------- ACCREG

void TFormSettingsStore::ReadAccRegGroup(const QString& AGroup, QStringList& ACodes, QStringList& ATexts)
{
  TOwnTransaction own(FTransaction);
  db::Query q(FTransaction, QStringLiteral("SELECT ACODE,ATEXT FROM ACCREG WHERE AGROUP=:AGROUP  "));
  q.setParam(QStringLiteral("AGROUP"), AGroup);
  for (q.open(); !q.eof(); q.next()) {
    ACodes << q.field(QStringLiteral("ACODE")).asString();
    ATexts << q.field(QStringLiteral("ATEXT")).asString();
  }
  q.close();
  own.Commit();
}

QString TFormSettingsStore::AccRegText(const QString& AGroup, const QString& ACode, const QString& AType,
                                       const QString& ADefault)
{
  TOwnTransaction own(FTransaction);
  QString text;
  {
    db::Query q(FTransaction, QStringLiteral("SELECT ATYPE,ATEXT FROM ACCREG WHERE AGROUP=:AGROUP AND ACODE=:ACODE "));
    q.setParam(QStringLiteral("AGROUP"), AGroup);
    q.setParam(QStringLiteral("ACODE"), ACode);
    q.open();
    if (!q.eof()) {
      text = q.field(QStringLiteral("ATEXT")).asString();
    } else {
      q.close();
      db::Query ins(FTransaction, QStringLiteral("INSERT INTO ACCREG(AGROUP,ACODE,ATYPE,ATEXT) "
                                                 "VALUES(:AGROUP,:ACODE,:ATYPE,:ATEXT )"));
      ins.setParam(QStringLiteral("AGROUP"), AGroup);
      ins.setParam(QStringLiteral("ACODE"), ACode);
      ins.setParam(QStringLiteral("ATYPE"), AType);
      ins.setParam(QStringLiteral("ATEXT"), ADefault);
      ins.exec();
      text = ADefault;
    }
  }
  own.Commit();
  return text;
}

void TFormSettingsStore::PutAccRegText(const QString& AGroup, const QString& ACode, const QVariant& AText)
{
  TOwnTransaction own(FTransaction);
  db::Query q(FTransaction, QStringLiteral("UPDATE ACCREG SET ATEXT=:ATEXT WHERE AGROUP=:AGROUP AND ACODE=:ACODE "));
  bindText(q, QStringLiteral("ATEXT"), AText);
  q.setParam(QStringLiteral("AGROUP"), AGroup);
  q.setParam(QStringLiteral("ACODE"), ACode);
  q.exec();
  own.Commit();
}

// ---------------------------------------------------------------- SISETREG

std::optional<QString> TFormSettingsStore::SisetuText(const QString& ASCode, const QString& AGroup,
                                                      const QString& ACode, const QString& AType,
                                                      const QString& ADefault)
{
  TOwnTransaction own(FTransaction);
  QString text;
  try {
    db::Query q(FTransaction, QStringLiteral("SELECT RTEXT FROM SISETREG "
                                             "WHERE SCODE=:SCODE AND RGROUP=:RGROUP AND RCODE=:RCODE"));
    q.setParam(QStringLiteral("SCODE"), ASCode);
    q.setParam(QStringLiteral("RGROUP"), AGroup);
    q.setParam(QStringLiteral("RCODE"), ACode);
    q.open();
    if (!q.eof()) {
      text = q.field(QStringLiteral("RTEXT")).asString();
    } else {
      q.close();
      db::Query ins(FTransaction, QStringLiteral("INSERT INTO SISETREG(SCODE,RGROUP,RCODE,RTYPE,RTEXT) "
                                                 "VALUES(:SCODE,:RGROUP,:RCODE,:RTYPE,:RTEXT)"));
      ins.setParam(QStringLiteral("SCODE"), ASCode);
      ins.setParam(QStringLiteral("RGROUP"), AGroup);
      ins.setParam(QStringLiteral("RCODE"), ACode);
      ins.setParam(QStringLiteral("RTYPE"), AType);
      ins.setParam(QStringLiteral("RTEXT"), ADefault);
      ins.exec();
      text = ADefault;
    }
    own.Commit();
  } catch (const db::DbError& e) {
    own.Commit();
    fnShowFbError(e, QStringLiteral("TBSDI.fnGetSisetuItem"), QString(), true);
    return std::nullopt;
  } catch (...) {
    own.Commit();
    throw;
  }
  return text;
}

bool TFormSettingsStore::PutSisetuText(const QString& ASCode, const QString& AGroup, const QString& ACode,
                                       const QVariant& AText)
{
  TOwnTransaction own(FTransaction);
  try {
    db::Query q(FTransaction, QStringLiteral("UPDATE SISETREG SET RTEXT=:RTEXT "
                                             "WHERE SCODE=:SCODE AND RGROUP=:RGROUP AND RCODE=:RCODE"));
    bindText(q, QStringLiteral("RTEXT"), AText);
    q.setParam(QStringLiteral("SCODE"), ASCode);
    q.setParam(QStringLiteral("RGROUP"), AGroup);
    q.setParam(QStringLiteral("RCODE"), ACode);
    q.exec();
    own.Commit();
    return true;
  } catch (const db::DbError& e) {
    own.Rollback();
    fnShowFbError(e, QStringLiteral("TBSDI.pcPutSisetuItem"), QString(), true);
    return false;
  }
}

// ---------------------------------------------------------------- ACCDEF2

QString TFormSettingsStore::SysKCODE(const QString& AName)
{
  TOwnTransaction own(FTransaction);
  db::Query q(FTransaction, QStringLiteral("SELECT KCODE FROM ACCDEF2 WHERE KNAME=:ST"));
  q.setParam(QStringLiteral("ST"), AName);
  q.open();
  const QString code = q.eof() ? QString() : q.field(QStringLiteral("KCODE")).asString();
  q.close();
  own.Commit();
  return code;
}

QString TFormSettingsStore::SysKNAME(const QString& ACode)
{
  // A look-up inside the caller's transaction ends it as well.
  const bool wasActive = FTransaction.inTransaction();
  if (!wasActive)
    FTransaction.start();
  try {
    db::Query q(FTransaction, QStringLiteral("SELECT KNAME FROM ACCDEF2 WHERE KCODE=:ST"));
    q.setParam(QStringLiteral("ST"), ACode);
    q.open();
    const QString name = q.eof() ? QString() : q.field(QStringLiteral("KNAME")).asString();
    q.close();
    if (FTransaction.inTransaction())
      FTransaction.commit();
    return name;
  } catch (const db::DbError& e) {
    if (FTransaction.inTransaction())
      FTransaction.rollback();
    fnShowFbError(e, QStringLiteral("fnGetSysKname"), QString(), true);
    throw;
  } catch (...) {
    if (FTransaction.inTransaction())
      FTransaction.rollback();
    throw;
  }
}
