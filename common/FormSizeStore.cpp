#include "common/FormSizeStore.h"

#include "common/FbError.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"

namespace {

// Runs AWork in the transaction, started here when not active; a server
// error is reported under AStep and rolled back, and AWork's result on
// failure is AFailed.
template <class T, class Work>
T inTransaction(db::Transaction& ATr, const QString& AStep, T AFailed, Work AWork)
{
  const bool started = ATr.startIfNeeded();
  try {
    T result = AWork();
    if (started)
      ATr.commit();
    return result;
  } catch (const db::DbError& e) {
    if (started && ATr.inTransaction())
      ATr.rollback();
    fnShowFbError(e, AStep, QString(), true);
    return AFailed;
  } catch (...) {
    if (started && ATr.inTransaction())
      ATr.rollback();
    throw;
  }
}

}  // namespace

TFormSizeStoreDB::TFormSizeStoreDB(db::Transaction& ATransaction) : FTransaction(ATransaction) {}

bool TFormSizeStoreDB::GetFormRect(int AOpCode, const QString& AFormName, QRect& ARect)
{
  QRect found;
  const bool ok = inTransaction(FTransaction, QStringLiteral("TBSDI.GetFormSize"), false, [&] {
    db::Query q(FTransaction, QStringLiteral("SELECT FMTOP,FMLEFT,FMHEIGHT,FMWIDTH FROM FORMRSIZE "
                                             "WHERE FMNAME=:FMNAME AND OPCODE=:OPCODE"));
    q.setParam(QStringLiteral("FMNAME"), AFormName);
    q.setParam(QStringLiteral("OPCODE"), AOpCode);
    q.open();
    if (q.eof())
      return false;
    found = QRect(q.field(QStringLiteral("FMLEFT")).asInt(), q.field(QStringLiteral("FMTOP")).asInt(),
                  q.field(QStringLiteral("FMWIDTH")).asInt(), q.field(QStringLiteral("FMHEIGHT")).asInt());
    return true;
  });
  if (ok)
    ARect = found;
  return ok;
}

void TFormSizeStoreDB::InsertFormRect(int AOpCode, const QString& AFormName, const QRect& ARect, const QString& AStep)
{
  inTransaction(FTransaction, AStep, false, [&] {
    db::Query q(FTransaction, QStringLiteral("INSERT INTO FORMRSIZE "
                                             "VALUES(:OPCODE ,:FNAME,:TOP,:LEFT,:HEIGHT,:WIDTH,:DEFHEIGHT,:DEFWIDTH)"));
    q.setParam(QStringLiteral("OPCODE"), AOpCode);
    q.setParam(QStringLiteral("FNAME"), AFormName);
    q.setParam(QStringLiteral("TOP"), ARect.top());
    q.setParam(QStringLiteral("LEFT"), ARect.left());
    q.setParam(QStringLiteral("HEIGHT"), ARect.height());
    q.setParam(QStringLiteral("WIDTH"), ARect.width());
    q.setParam(QStringLiteral("DEFHEIGHT"), ARect.height());
    q.setParam(QStringLiteral("DEFWIDTH"), ARect.width());
    q.exec();
    return true;
  });
}

void TFormSizeStoreDB::UpdateFormRect(int AOpCode, const QString& AFormName, const QRect& ARect)
{
  inTransaction(FTransaction, QStringLiteral("TBSDI.PutFormSize"), false, [&] {
    db::Query q(FTransaction,
                QStringLiteral("UPDATE FORMRSIZE SET FMTOP=:FMTOP,FMLEFT=:FMLEFT,FMHEIGHT=:FMHEIGHT,FMWIDTH=:FMWIDTH "
                               "WHERE OPCODE=:OPCODE AND FMNAME=:FMNAME"));
    q.setParam(QStringLiteral("FMTOP"), ARect.top());
    q.setParam(QStringLiteral("FMLEFT"), ARect.left());
    q.setParam(QStringLiteral("FMHEIGHT"), ARect.height());
    q.setParam(QStringLiteral("FMWIDTH"), ARect.width());
    q.setParam(QStringLiteral("OPCODE"), AOpCode);
    q.setParam(QStringLiteral("FMNAME"), AFormName);
    q.exec();
    return true;
  });
}

int TFormSizeStoreDB::CountFormRect(int AOpCode, const QString& AFormName)
{
  return inTransaction(FTransaction, QStringLiteral("TBSDI.InitFormSize"), 1, [&] {
    db::Query q(FTransaction, QStringLiteral("SELECT COUNT(OPCODE) AS RECCNT FROM FORMRSIZE "
                                             "WHERE FMNAME=:FMNAME AND OPCODE=:OPCODE"));
    q.setParam(QStringLiteral("FMNAME"), AFormName);
    q.setParam(QStringLiteral("OPCODE"), AOpCode);
    q.open();
    return q.eof() ? 0 : q.field(QStringLiteral("RECCNT")).asInt();
  });
}
