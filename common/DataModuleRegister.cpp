// The system register (SYSREG, per operator code, system database) and the
// branch register (SISETREG, per branch and group, company database).
#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/FbError.h"
#include "common/TypedValue.h"
#include "db/DbError.h"

namespace {

template <typename Body>
void guarded(db::Transaction& t, const QString& step, const QString& message, Body body)
{
  TOwnTransaction tr(t);
  try {
    body();
    tr.Commit();
  } catch (const db::DbError& e) {
    tr.Rollback();
    fnShowFbError(e, step, message, true);
  } catch (const std::exception& e) {
    tr.Rollback();
    fnShowErrorDetail(message, QString::fromUtf8(e.what()), mtError);
  }
}

void bindText(db::Query& q, const QString& name, const QVariant& text)
{
  if (text.isValid() && !text.isNull())
    q.setParam(name, text.toString());
  else
    q.setParamNull(name);
}

}  // namespace

QVariant TDM::funcGetSysReg(const QString& _Field, const QString& _TYPE, const QString& _Val)
{
  return funcGetSysReg(_Field, _TYPE, _Val, SystemDef.OPCODE);
}

QVariant TDM::funcGetSysReg(const QString& _Field, const QString& _TYPE, const QString& _Val, int AOPCODE)
{
  QVariant result;
  db::Query q(IBTransactionDEF);
  guarded(IBTransactionDEF, QStringLiteral("TDM.funcGetSysReg"),
          QStringLiteral("システム共通変数の取得に失敗しました。"), [&] {
            q.setSql(QStringLiteral("SELECT STEXT FROM SYSREG WHERE OPCODE=:OPCODE AND SCODE=:SCODE "));
            q.setParam("OPCODE", AOPCODE);
            q.setParam("SCODE", _Field);
            q.open();
            QString text;
            if (!q.eof()) {
              text = q.field("STEXT").asString();
              q.close();
            } else {
              q.close();
              q.setSql(
                  QStringLiteral("INSERT INTO SYSREG(OPCODE,SCODE,STYPE,STEXT) VALUES(:OPCODE,:SCODE,:STYPE,:STEXT )"));
              q.setParam("OPCODE", AOPCODE);
              q.setParam("SCODE", _Field);
              q.setParam("STYPE", _TYPE);
              q.setParam("STEXT", _Val);
              q.exec();
              text = _Val;
            }
            result = fnTypedTextToValue(TTypedStore::SysReg, _TYPE, text);
          });
  return result;
}

void TDM::funcPutSysReg(const QString& _Field, const QString& _Type, const QVariant& _Val)
{
  funcPutSysReg(_Field, _Type, _Val, SystemDef.OPCODE);
}

void TDM::funcPutSysReg(const QString& _Field, const QString& _Type, const QVariant& _Val, int AOPCODE)
{
  db::Query q(IBTransactionDEF);
  guarded(
      IBTransactionDEF, QStringLiteral("TDM.funcPutSysReg"), QStringLiteral("システム共通変数の保存に失敗しました。"),
      [&] {
        q.setSql(QStringLiteral("SELECT COUNT(OPCODE) AS RECCNT FROM SYSREG WHERE OPCODE=:OPCODE AND SCODE=:SCODE"));
        q.setParam("OPCODE", AOPCODE);
        q.setParam("SCODE", _Field);
        q.open();
        const bool exists = q.field("RECCNT").asInt() > 0;
        q.close();
        if (exists) {
          q.setSql(QStringLiteral("UPDATE SYSREG SET STEXT=:STEXT WHERE OPCODE=:OPCODE AND SCODE=:SCODE "));
        } else {
          q.setSql(
              QStringLiteral("INSERT INTO SYSREG(OPCODE,SCODE,STYPE,STEXT) VALUES(:OPCODE,:SCODE,:STYPE,:STEXT )"));
          q.setParam("STYPE", _Type);
        }
        q.setParam("OPCODE", AOPCODE);
        q.setParam("SCODE", _Field);
        bindText(q, QStringLiteral("STEXT"), fnTypedValueToText(TTypedStore::SysReg, _Type, _Val));
        q.exec();
      });
}

QVariant TDM::fnGetSisetuItem(const QString& _SCODE, const QString& _GROUP, const QString& _Field, const QString& _Type,
                              const QVariant& _Val)
{
  QVariant result;
  db::Query q(IBTransactionDAT);
  guarded(
      IBTransactionDAT, QStringLiteral("TDM.fnGetSisetuItem"), QStringLiteral("施設別保存項目の参照に失敗しました。"),
      [&] {
        q.setSql(QStringLiteral("SELECT RTEXT FROM SISETREG WHERE SCODE=:SCODE AND RGROUP=:RGROUP AND RCODE=:RCODE"));
        q.setParam("SCODE", _SCODE);
        q.setParam("RGROUP", _GROUP);
        q.setParam("RCODE", _Field);
        q.open();
        QString text;
        if (!q.eof()) {
          text = q.field("RTEXT").asString();
          q.close();
        } else {
          q.close();
          q.setSql(
              QStringLiteral("INSERT INTO SISETREG(SCODE,RGROUP,RCODE,RTYPE,RTEXT) "
                             "VALUES(:SCODE,:RGROUP,:RCODE,:RTYPE,:RTEXT)"));
          q.setParam("SCODE", _SCODE);
          q.setParam("RGROUP", _GROUP);
          q.setParam("RCODE", _Field);
          q.setParam("RTYPE", _Type);
          const QVariant stored = fnTypedValueToText(TTypedStore::SisetReg, _Type, _Val);
          bindText(q, QStringLiteral("RTEXT"), stored);
          q.exec();
          text = stored.toString();
        }
        result = fnTypedTextToValue(TTypedStore::SisetReg, _Type, text);
      });
  return result;
}

void TDM::pcPutSisetuItem(const QString& _SCODE, const QString& _GROUP, const QString& _Field, const QString& _Type,
                          const QVariant& _Val)
{
  db::Query q(IBTransactionDAT);
  guarded(IBTransactionDAT, QStringLiteral("TDM.pcPutSisetuItem"),
          QStringLiteral("施設別保存項目の登録に失敗しました。"), [&] {
            q.setSql(
                QStringLiteral("UPDATE SISETREG SET RTEXT=:RTEXT "
                               "WHERE SCODE=:SCODE AND RGROUP=:RGROUP AND RCODE=:RCODE"));
            q.setParam("SCODE", _SCODE);
            q.setParam("RGROUP", _GROUP);
            q.setParam("RCODE", _Field);
            bindText(q, QStringLiteral("RTEXT"), fnTypedValueToText(TTypedStore::SisetReg, _Type, _Val));
            q.exec();
          });
}
