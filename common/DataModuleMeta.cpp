// Existence tests of database objects, generator values and transaction
// ends for callers that hold only the transaction.
#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/FbError.h"
#include "db/DbError.h"
#include "platform/AppError.h"

namespace {

bool existence(db::Query& q, const QString& step, const QString& text, const QString& sql, const QString& param,
               const QString& name)
{
  try {
    q.close();
    q.setSql(sql);
    q.setParam(param, name);
    q.open();
    const int count = q.eof() ? 0 : q.field(0).asInt();
    q.close();
    return count > 0;
  } catch (const db::DbError& e) {
    q.close();
    fnShowFbError(e, step, text, true);
    return false;
  } catch (...) {
    q.close();
    throw;
  }
}

}  // namespace

bool TDM::fnExistence_Table(const QString& __TableName)
{
  return existence(IBQACC1, QStringLiteral("TDM.fnExistence_Table"),
                   QStringLiteral("テーブルの存在情報の取得に失敗しました。"),
                   QStringLiteral("SELECT Count(*) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME=:Table_NAME"),
                   QStringLiteral("Table_NAME"), __TableName);
}

bool TDM::fnExistence_Field(const QString& __TableName, const QString& __FieldName)
{
  try {
    IBQACC1.close();
    IBQACC1.setSql(
        QStringLiteral("SELECT count(*) FROM RDB$RELATION_FIELDS "
                       "WHERE (RDB$RELATION_NAME=:TABLE_NAME) AND (RDB$FIELD_NAME=:FIELD_NAME )"));
    IBQACC1.setParam("TABLE_NAME", __TableName);
    IBQACC1.setParam("FIELD_NAME", __FieldName);
    IBQACC1.open();
    const int count = IBQACC1.eof() ? 0 : IBQACC1.field(0).asInt();
    IBQACC1.close();
    return count > 0;
  } catch (const db::DbError& e) {
    IBQACC1.close();
    fnShowFbError(e, QStringLiteral("TDM.fnExistence_Field"),
                  QStringLiteral("テーブル項目の存在情報の取得に失敗しました。"), true);
    return false;
  } catch (...) {
    IBQACC1.close();
    throw;
  }
}

bool TDM::fnExistence_VIEW(const QString& __VIEWName)
{
  return existence(IBQACC1, QStringLiteral("TDM.fnExistence_VIEW"),
                   QStringLiteral("ビューの存在情報の取得に失敗しました。"),
                   QStringLiteral("SELECT Count(*) FROM RDB$VIEW_RELATIONS WHERE( RDB$VIEW_NAME= :VIEW_NAME )"),
                   QStringLiteral("VIEW_NAME"), __VIEWName);
}

bool TDM::fnExistence_Procedure(const QString& __ProcName)
{
  return existence(IBQACC1, QStringLiteral("TDM.fnExistence_Procedure"),
                   QStringLiteral("ストアドプロシジャーの存在情報の取得に失敗しました。"),
                   QStringLiteral("SELECT Count(*) FROM RDB$PROCEDURES WHERE (RDB$PROCEDURE_NAME= :PROCEDURE_NAME) "),
                   QStringLiteral("PROCEDURE_NAME"), __ProcName);
}

bool TDM::fnExistence_Trigger(const QString& __TriggerName)
{
  return existence(IBQACC1, QStringLiteral("TDM.fnExistence_Trigger"),
                   QStringLiteral("トリガーの存在情報の取得に失敗しました。"),
                   QStringLiteral("SELECT Count(*) FROM RDB$TRIGGERS WHERE (RDB$TRIGGER_NAME= :TRIGGER_NAME) "),
                   QStringLiteral("TRIGGER_NAME"), __TriggerName);
}

qint64 TDM::GetGeneratorValue(const QString& AGenName)
{
  pcRequirePlainIdentifier(AGenName);
  TOwnTransaction tr(IBTransactionDAT);
  try {
    IBQACC1.close();
    IBQACC1.setSql(QStringLiteral("SELECT GEN_ID(%1, 0) AS GENID FROM RDB$DATABASE").arg(AGenName));
    IBQACC1.open();
    const qint64 value = IBQACC1.field("GENID").asInt64();
    IBQACC1.close();
    tr.Commit();
    return value;
  } catch (const db::DbError& e) {
    IBQACC1.close();
    fnShowFbError(e, QStringLiteral("TDM.GetGeneratorValue"), QString(), true);
    try {
      tr.Commit();
    } catch (...) {
      pcLogDroppedError("TDM.GetGeneratorValue");
    }
    throw;
  }
}

void TDM::SetGeneratorValue(const QString& AGenName, qint64 AValue)
{
  pcRequirePlainIdentifier(AGenName);
  TOwnTransaction tr(IBTransactionDAT);
  try {
    IBQACC1.close();
    IBQACC1.setSql(QStringLiteral("SET GENERATOR %1 TO %2").arg(AGenName).arg(AValue));
    IBQACC1.exec();
    tr.Commit();
  } catch (const db::DbError& e) {
    IBQACC1.close();
    fnShowFbError(e, QStringLiteral("TDM.SetGeneratorValue"), QString(), true);
    tr.Rollback();
    throw;
  }
}

void TDM::SendCommit(db::Transaction& AIBTransaction)
{
  AIBTransaction.commit();
}

void TDM::SendRollBack(db::Transaction& AIBTransaction)
{
  AIBTransaction.rollback();
}
