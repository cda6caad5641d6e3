// Numbered system settings (SYSTEMINI), the relay-server holder names and
// passwords of a company (TUSIN_ID), the free text of the company settings
// row and the opening balance of an individual's capital account.
#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/FbError.h"
#include "db/DbError.h"
#include "platform/AppError.h"

namespace {

// Runs a system-setting operation: inside a caller's transaction an error
// passes on unchanged; otherwise it is reported, the transaction rolled
// back and the result is false.
template <typename Body>
bool systemIniOp(db::Transaction& t, const QString& step, const QString& message, Body body)
{
  TOwnTransaction tr(t);
  if (!tr.Started()) {
    body();
    return true;
  }
  try {
    body();
    tr.Commit();
    return true;
  } catch (const db::DbError& e) {
    tr.Rollback();
    fnShowFbError(e, step, message, true);
  } catch (const std::exception& e) {
    tr.Rollback();
    fnShowErrorDetail(message, QString::fromUtf8(e.what()), mtError);
  }
  return false;
}

}  // namespace

bool TDM::GetSysIni(TSystemIniRec& ASysIni)
{
  ASysIni.Info1 = ASysIni.Info2 = ASysIni.Info3 = ASysIni.Info4 = ASysIni.Info5 = 0;
  ASysIni.InfoText.clear();
  db::Query q(IBTransactionDEF);
  return systemIniOp(IBTransactionDEF, QStringLiteral("TDM.GetSysIni"),
                     QStringLiteral("システム情報の取得に失敗しました。\rアプリケーションを終了します。"), [&] {
                       q.setSql(
                           QStringLiteral("SELECT RESERVE1,RESERVE2,RESERVE3,RESERVE4,RESERVE5,SSTR FROM SYSTEMINI "
                                          "WHERE REC=:REC"));
                       q.setParam("REC", ASysIni.Rec);
                       q.open();
                       if (!q.eof()) {
                         ASysIni.Info1 = q.field("RESERVE1").asInt();
                         ASysIni.Info2 = q.field("RESERVE2").asInt();
                         ASysIni.Info3 = q.field("RESERVE3").asInt();
                         ASysIni.Info4 = q.field("RESERVE4").asInt();
                         ASysIni.Info5 = q.field("RESERVE5").asInt();
                         ASysIni.InfoText = q.field("SSTR").asString();
                       }
                       q.close();
                     });
}

bool TDM::SetSysIni(const TSystemIniRec& ASysIni)
{
  db::Query q(IBTransactionDEF);
  return systemIniOp(IBTransactionDEF, QStringLiteral("TDM.SetSysIni"),
                     QStringLiteral("システム情報の書き込みに失敗しました。\r現在のシステム設定は保存されません。"),
                     [&] {
                       q.setSql(QStringLiteral("SELECT COUNT(REC) AS RECCNT FROM SYSTEMINI WHERE REC=:REC"));
                       q.setParam("REC", ASysIni.Rec);
                       q.open();
                       const bool exists = q.field("RECCNT").asInt() != 0;
                       q.close();
                       if (exists)
                         q.setSql(QStringLiteral(
                             "UPDATE SYSTEMINI SET RESERVE1=:RESERVE1,RESERVE2=:RESERVE2,RESERVE3=:RESERVE3,"
                             "RESERVE4=:RESERVE4,RESERVE5=:RESERVE5,SSTR=:SSTR WHERE REC=:REC"));
                       else
                         q.setSql(QStringLiteral(
                             "INSERT INTO SYSTEMINI(REC,RESERVE1,RESERVE2,RESERVE3,RESERVE4,RESERVE5,SSTR) "
                             "VALUES(:REC,:RESERVE1,:RESERVE2,:RESERVE3,:RESERVE4,:RESERVE5,:SSTR)"));
                       q.setParam("REC", ASysIni.Rec);
                       q.setParam("RESERVE1", ASysIni.Info1);
                       q.setParam("RESERVE2", ASysIni.Info2);
                       q.setParam("RESERVE3", ASysIni.Info3);
                       q.setParam("RESERVE4", ASysIni.Info4);
                       q.setParam("RESERVE5", ASysIni.Info5);
                       q.setParam("SSTR", ASysIni.InfoText);
                       q.exec();
                     });
}

void TDM::SetRelayServerInfo(int ARec, int AIndex)
{
  QString& holder = AccInf.WEB_HOLDER2.at(AIndex);
  QString& password = AccInf.PASWORD2.at(AIndex);
  holder.clear();
  password.clear();
  TOwnTransaction tr(IBTransactionDAT);
  if (!fnExistence_Table(QStringLiteral("TUSIN_ID"))) {
    tr.Commit();
    return;
  }
  db::Query q(IBTransactionDAT);
  try {
    q.setSql(QStringLiteral("SELECT REC,HOLDER,PASWORD FROM TUSIN_ID WHERE REC=:REC"));
    q.setParam("REC", ARec);
    q.open();
    if (!q.eof()) {
      holder = q.field("HOLDER").asString();
      password = q.field("PASWORD").asString();
    }
    q.close();
    tr.Commit();
  } catch (...) {
    q.close();
    try {
      tr.Commit();
    } catch (...) {
      pcLogDroppedError("TDM.SetRelayServerInfo");
    }
    throw;
  }
}

void TDM::UpdateRelayServerInfo(int ARec, int AIndex)
{
  UpdateRelayServerInfo(ARec, AccInf.WEB_HOLDER2.at(AIndex), AccInf.PASWORD2.at(AIndex));
}

void TDM::UpdateRelayServerInfo(int ARec, const QString& AWeb_Holder, const QString& APassword)
{
  TOwnTransaction tr(IBTransactionDAT);
  db::Query q(IBTransactionDAT);
  q.setSql(QStringLiteral("SELECT COUNT(REC) AS RECCNT FROM TUSIN_ID WHERE REC=:REC"));
  q.setParam("REC", ARec);
  q.open();
  const bool exists = q.field("RECCNT").asInt() > 0;
  q.close();
  if (exists)
    q.setSql(QStringLiteral("UPDATE TUSIN_ID SET HOLDER=:HOLDER,PASWORD=:PASWORD WHERE REC=:REC"));
  else
    q.setSql(QStringLiteral("INSERT INTO TUSIN_ID(REC,HOLDER,PASWORD) VALUES(:REC,:HOLDER,:PASWORD)"));
  q.setParam("REC", ARec);
  q.setParam("HOLDER", AWeb_Holder);
  q.setParam("PASWORD", APassword);
  q.exec();
  tr.Commit();  // an error rolls back what was started here and passes on
}

void TDM::GetAccInfoXStrField(QString& AValue)
{
  AValue.clear();
  TOwnTransaction tr(IBTransactionDAT);
  db::Query q(IBTransactionDAT);
  try {
    q.setSql(QStringLiteral("SELECT XSTR FROM ACCDEF1 WHERE REC=1"));
    q.open();
    if (!q.eof())
      AValue = q.field("XSTR").asString();
    q.close();
    tr.Commit();
  } catch (...) {
    q.close();
    try {
      tr.Commit();
    } catch (...) {
      pcLogDroppedError("TDM.GetAccInfoXStrField");
    }
    throw;
  }
}

void TDM::SetAccInfoXStrField(const QString& AValue)
{
  TOwnTransaction tr(IBTransactionDAT);
  db::Query q(IBTransactionDAT);
  q.setSql(QStringLiteral("UPDATE ACCDEF1 SET XSTR=:XSTR WHERE REC=1"));
  q.setParam("XSTR", AValue);
  q.exec();
  tr.Commit();
}

Currency TDM::GetMotoirekinKaisizan(int ANendo, const QString& ASCODE, const QString& ABCODE)
{
  Currency result;
  if (AccInf.DATATYPE != 2)
    return result;
  TOwnTransaction tr(IBTransactionDAT);
  db::Query q(IBTransactionDAT);
  try {
    QString sql = QStringLiteral("SELECT SUM(KISHU)AS ZANDAKA FROM KAKOZAN WHERE (NENDO=:NENDO) AND (KCODE=:KCODE)");
    // Branch and department codes are bound as they stand (untrimmed).
    if (!ASCODE.trimmed().isEmpty())
      sql += QStringLiteral(" AND (SCODE =:SCODE)");
    if (!ABCODE.trimmed().isEmpty())
      sql += QStringLiteral(" AND (BCODE =:BCODE)");
    q.setSql(sql);
    q.setParam("NENDO", ANendo);
    q.setParam("KCODE", AccInf.MOTOIREKIN);
    if (q.hasParam(QStringLiteral("SCODE")))
      q.setParam("SCODE", ASCODE);
    if (q.hasParam(QStringLiteral("BCODE")))
      q.setParam("BCODE", ABCODE);
    q.open();
    if (!q.eof())
      result = q.field("ZANDAKA").asCurrency();
    q.close();
  } catch (const std::exception&) {
    q.close();
    result = Currency();
  }
  try {
    tr.Commit();
  } catch (...) {
    pcLogDroppedError("TDM.GetMotoirekinKaisizan");
  }
  return result;
}
