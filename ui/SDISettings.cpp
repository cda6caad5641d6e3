// TBSDI: typed settings of the company database, account look-ups and the
// open-process history.
#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "common/FbError.h"
#include "common/TypedValue.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "platform/DateTime.h"
#include "ui/SDI.h"

namespace {

bool baseFormWord(const QString& AType)
{
  // The base form's accessors know six of the seven type words.
  return AType != TypeWordReal && fnTypedWordKnown(TTypedStore::AccReg, AType);
}

QVariant readAccRegText(const QString& AType, const QString& AText)
{
  if (!baseFormWord(AType))
    return TypedDataTypeError;
  if (AType == TypeWordBool)
    return AText.toUpper() == QLatin1String("TRUE");
  return fnTypedTextToValue(TTypedStore::AccReg, AType, AText);
}

QVariant writeText(TTypedStore AStore, const QString& AType, const QVariant& AValue)
{
  if (!baseFormWord(AType))
    return QVariant();  // null
  return fnTypedValueToText(AStore, AType, AValue);
}

void bindText(db::Query& AQuery, const QString& AName, const QVariant& AText)
{
  if (AText.isNull())
    AQuery.setParamNull(AName);
  else
    AQuery.setParam(AName, AText.toString());
}

// Starts ATr when not active; ends only what it started.
class TOwnTransaction {
 public:
  explicit TOwnTransaction(db::Transaction& ATr) : FTr(ATr), FStarted(ATr.startIfNeeded()) {}
  ~TOwnTransaction()
  {
    if (FStarted && FTr.inTransaction())
      FTr.rollback();
  }
  void Commit()
  {
    if (FStarted && FTr.inTransaction())
      FTr.commit();
  }
  void Rollback()
  {
    if (FStarted && FTr.inTransaction())
      FTr.rollback();
  }
  TOwnTransaction(const TOwnTransaction&) = delete;
  TOwnTransaction& operator=(const TOwnTransaction&) = delete;

 private:
  db::Transaction& FTr;
  bool FStarted;
};

}  // namespace

db::Transaction* TBSDI::IBTransactionDAT()
{
  if (!FIBTransactionDAT && DM)
    FIBTransactionDAT = std::make_unique<db::Transaction>(DM->IBDatabaseDAT, db::Transaction::ReadCommitted);
  return FIBTransactionDAT.get();
}

// ---------------------------------------------------------------- history

void TBSDI::PutProcRirekiInfo(int AState)
{
  db::Transaction* tr = IBTransactionDAT();
  if (!tr || !DM->IBDatabaseDAT.isConnected())
    return;  // no company data open: nothing to record
  TOwnTransaction own(*tr);
  try {
    db::Query proc(*tr, QStringLiteral("EXECUTE PROCEDURE OPINF_DELETE(:OPCODE,:JOBNAME,:STATE)"));
    proc.setParam(QStringLiteral("OPCODE"), SystemDef.OPCODE);
    proc.setParam(QStringLiteral("JOBNAME"), windowTitle());
    proc.setParam(QStringLiteral("STATE"), AState == 0   ? QStringLiteral("エラー終了")
                                           : AState == 1 ? QStringLiteral("正常終了")
                                                         : QString());
    proc.exec();
    if (AState == 0) {
      db::Query ins(*tr, QStringLiteral("INSERT INTO OPINF(OPCODE,JOBNAME,PCNAME,OPENTIME) "
                                        "VALUES(:OPCODE,:JOBNAME,:PCNAME,:OPENTIME)"));
      ins.setParam(QStringLiteral("OPCODE"), SystemDef.OPCODE);
      ins.setParam(QStringLiteral("JOBNAME"), windowTitle());
      ins.setParam(QStringLiteral("PCNAME"), SystemDef.PCNAME);
      ins.setParamDateTime(QStringLiteral("OPENTIME"), Now());
      ins.exec();
    }
    own.Commit();
    FHistoryStarted = AState == 0;
  } catch (const db::DbError& e) {
    own.Rollback();
    fnShowFbError(e, QStringLiteral("TBSDI.PutProcRirekiInfo"), QString(), true);
    throw;
  }
}

// ---------------------------------------------------------------- ACCREG

void TBSDI::SetRegGroup(const QString& Value)
{
  if (Value == FREGGROUP)
    return;
  FREGGROUP = Value;
  REGLIST1.clear();
  REGLIST2.clear();
  if (Value.isEmpty())
    return;
  db::Transaction* tr = IBTransactionDAT();
  if (!tr)
    return;
  TOwnTransaction own(*tr);
  db::Query q(*tr, QStringLiteral("SELECT ACODE,ATEXT FROM ACCREG WHERE AGROUP=:AGROUP  "));
  q.setParam(QStringLiteral("AGROUP"), Value);
  for (q.open(); !q.eof(); q.next()) {
    REGLIST1 << q.field(QStringLiteral("ACODE")).asString();
    REGLIST2 << q.field(QStringLiteral("ATEXT")).asString();
  }
  q.close();
  own.Commit();
}

QVariant TBSDI::fnGetAccReg(const QString& _GROUP, const QString& _Field, const QString& _TYPE, const QString& _Val)
{
  if (!FREGGROUP.isEmpty() && _GROUP == FREGGROUP) {
    const qsizetype at = REGLIST1.indexOf(_Field);
    if (at >= 0) {
      if (!baseFormWord(_TYPE))
        return QVariant();
      return readAccRegText(_TYPE, REGLIST2.at(at));
    }
  }
  db::Transaction* tr = IBTransactionDAT();
  if (!tr)
    return readAccRegText(_TYPE, _Val);
  TOwnTransaction own(*tr);
  QString text;
  {
    db::Query q(*tr, QStringLiteral("SELECT ATYPE,ATEXT FROM ACCREG WHERE AGROUP=:AGROUP AND ACODE=:ACODE "));
    q.setParam(QStringLiteral("AGROUP"), _GROUP);
    q.setParam(QStringLiteral("ACODE"), _Field);
    q.open();
    if (!q.eof()) {
      text = q.field(QStringLiteral("ATEXT")).asString();
    } else {
      q.close();
      db::Query ins(*tr, QStringLiteral("INSERT INTO ACCREG(AGROUP,ACODE,ATYPE,ATEXT) "
                                        "VALUES(:AGROUP,:ACODE,:ATYPE,:ATEXT )"));
      ins.setParam(QStringLiteral("AGROUP"), _GROUP);
      ins.setParam(QStringLiteral("ACODE"), _Field);
      ins.setParam(QStringLiteral("ATYPE"), _TYPE);
      ins.setParam(QStringLiteral("ATEXT"), _Val);
      ins.exec();
      text = _Val;
    }
  }
  own.Commit();
  return readAccRegText(_TYPE, text);
}

void TBSDI::pcPutAccReg(const QString& _GROUP, const QString& _Field, const QString& _Type, const QVariant& _Val)
{
  db::Transaction* tr = IBTransactionDAT();
  if (!tr)
    return;
  TOwnTransaction own(*tr);
  db::Query q(*tr, QStringLiteral("UPDATE ACCREG SET ATEXT=:ATEXT WHERE AGROUP=:AGROUP AND ACODE=:ACODE "));
  bindText(q, QStringLiteral("ATEXT"), writeText(TTypedStore::AccReg, _Type, _Val));
  q.setParam(QStringLiteral("AGROUP"), _GROUP);
  q.setParam(QStringLiteral("ACODE"), _Field);
  q.exec();
  own.Commit();
}

// ---------------------------------------------------------------- SISETREG

QVariant TBSDI::fnGetSisetuItem(const QString& _SCODE, const QString& _GROUP, const QString& _Field,
                                const QString& _Type, const QVariant& _Val)
{
  db::Transaction* tr = IBTransactionDAT();
  if (!tr)
    return QVariant();
  TOwnTransaction own(*tr);
  QString text;
  try {
    db::Query q(*tr, QStringLiteral("SELECT RTEXT FROM SISETREG "
                                    "WHERE SCODE=:SCODE AND RGROUP=:RGROUP AND RCODE=:RCODE"));
    q.setParam(QStringLiteral("SCODE"), _SCODE);
    q.setParam(QStringLiteral("RGROUP"), _GROUP);
    q.setParam(QStringLiteral("RCODE"), _Field);
    q.open();
    if (!q.eof()) {
      text = q.field(QStringLiteral("RTEXT")).asString();
    } else {
      q.close();
      db::Query ins(*tr, QStringLiteral("INSERT INTO SISETREG(SCODE,RGROUP,RCODE,RTYPE,RTEXT) "
                                        "VALUES(:SCODE,:RGROUP,:RCODE,:RTYPE,:RTEXT)"));
      ins.setParam(QStringLiteral("SCODE"), _SCODE);
      ins.setParam(QStringLiteral("RGROUP"), _GROUP);
      ins.setParam(QStringLiteral("RCODE"), _Field);
      ins.setParam(QStringLiteral("RTYPE"), _Type);
      ins.setParam(QStringLiteral("RTEXT"), _Val.toString());
      ins.exec();
      text = _Val.toString();
    }
    own.Commit();
  } catch (const db::DbError& e) {
    own.Commit();
    fnShowFbError(e, QStringLiteral("TBSDI.fnGetSisetuItem"), QString(), true);
    return QVariant();
  } catch (...) {
    own.Commit();
    throw;
  }
  if (!baseFormWord(_Type))
    return TypedDataTypeError;
  if (_Type == TypeWordBool)
    return text.toUpper() == QLatin1String("TRUE");
  return fnTypedTextToValue(TTypedStore::SisetReg, _Type, text);
}

void TBSDI::pcPutSisetuItem(const QString& _SCODE, const QString& _GROUP, const QString& _Field, const QString& _Type,
                            const QVariant& _Val)
{
  db::Transaction* tr = IBTransactionDAT();
  if (!tr)
    return;
  TOwnTransaction own(*tr);
  try {
    db::Query q(*tr, QStringLiteral("UPDATE SISETREG SET RTEXT=:RTEXT "
                                    "WHERE SCODE=:SCODE AND RGROUP=:RGROUP AND RCODE=:RCODE"));
    bindText(q, QStringLiteral("RTEXT"), writeText(TTypedStore::SisetReg, _Type, _Val));
    q.setParam(QStringLiteral("SCODE"), _SCODE);
    q.setParam(QStringLiteral("RGROUP"), _GROUP);
    q.setParam(QStringLiteral("RCODE"), _Field);
    q.exec();
    own.Commit();
  } catch (const db::DbError& e) {
    own.Rollback();
    fnShowFbError(e, QStringLiteral("TBSDI.pcPutSisetuItem"), QString(), true);
  }
}

// ---------------------------------------------------------------- ACCDEF2

QString TBSDI::fnGetSysKCODE(const QString& Par)
{
  db::Transaction* tr = IBTransactionDAT();
  if (!tr)
    return QString();
  // Runs in whatever transaction the caller has open.
  TOwnTransaction own(*tr);
  db::Query q(*tr, QStringLiteral("SELECT KCODE FROM ACCDEF2 WHERE KNAME=:ST"));
  q.setParam(QStringLiteral("ST"), Par);
  q.open();
  const QString code = q.eof() ? QString() : q.field(QStringLiteral("KCODE")).asString();
  q.close();
  own.Commit();
  return code;
}

QString TBSDI::fnGetSysKNAME(const QString& Par)
{
  db::Transaction* tr = IBTransactionDAT();
  if (!tr)
    return QString();
  const bool wasActive = tr->inTransaction();
  if (!wasActive)
    tr->start();
  try {
    db::Query q(*tr, QStringLiteral("SELECT KNAME FROM ACCDEF2 WHERE KCODE=:ST"));
    q.setParam(QStringLiteral("ST"), Par);
    q.open();
    const QString name = q.eof() ? QString() : q.field(QStringLiteral("KNAME")).asString();
    q.close();
    if (tr->inTransaction())
      tr->commit();
    return name;
  } catch (const db::DbError& e) {
    if (tr->inTransaction())
      tr->rollback();
    fnShowFbError(e, QStringLiteral("fnGetSysKname"), QString(), true);
    throw;
  } catch (...) {
    if (tr->inTransaction())
      tr->rollback();
    throw;
  }
}
