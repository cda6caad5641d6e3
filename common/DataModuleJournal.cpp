// Journal counts, removal of changed or deleted journal lines and the
// version of the company database. Unlike the other operations these commit
// a caller's open company transaction first and work in a fresh one.
#include "common/DataModule.h"
#include "common/FbError.h"
#include "common/MessageHook.h"
#include "db/DbError.h"
#include "platform/AppError.h"

namespace {

void rollbackQuietly(db::Transaction& t) noexcept
{
  try {
    if (t.inTransaction())
      t.rollback();
  } catch (...) {
    pcLogDroppedError("rollbackQuietly");
  }
}

// Commits an open transaction and starts a fresh one.
void restart(db::Transaction& t)
{
  if (t.inTransaction())
    t.commit();
  t.start();
}

}  // namespace

int TDM::fnGetKamokuCount()
{
  const bool wasActive = IBTransactionDAT.inTransaction();
  db::Query& q = IBQACC1;
  int result = -1;
  try {
    q.close();
    restart(IBTransactionDAT);
    q.setSql(QStringLiteral("SELECT COUNT(*) FROM KAMOKU_SZ WHERE SCODE= :SCODE "));
    q.setParam(QStringLiteral("SCODE"), SystemDef.OPSCODE);
    q.open();
    result = q.field(0).asInt();
    q.close();
    if (!wasActive)
      IBTransactionDAT.commit();
  } catch (const std::exception& e) {
    q.close();
    fnReportError(e, QStringLiteral("TDM.fnGetKamokuCount"),
                  QStringLiteral("処理施設の使用科目設定状態の取得に失敗しました。"));
    if (!wasActive) {
      try {
        if (IBTransactionDAT.inTransaction())
          IBTransactionDAT.commit();
      } catch (...) {
        pcLogDroppedError("TDM.fnGetKamokuCount");
        rollbackQuietly(IBTransactionDAT);
      }
    }
    return -1;
  }
  return result;
}

int TDM::fnGetSiwakeCount(int Mode, const QString& Scode, const QString& KCODE, const QString& HCODE)
{
  const bool branch = !Scode.isEmpty();
  QString sql;
  switch (Mode) {
    case 1:
    case 2:
    case 3: {
      const QString delflg = QString::number(Mode == 3 ? 0 : Mode);
      sql = branch
                ? QStringLiteral("SELECT COUNT(*) FROM SIWAKE WHERE (SCODE=:SCODE) AND (DELFLG=%1) AND (TAISHAKU=1) ")
                : QStringLiteral("SELECT COUNT(*) FROM SIWAKE WHERE (DELFLG=%1) AND (TAISHAKU=1) ");
      sql = sql.arg(delflg);
      break;
    }
    case 4:
      sql = branch ? QStringLiteral("SELECT MAX(SWKREC) FROM SIWAKE WHERE (SCODE=:SCODE)")
                   : QStringLiteral("SELECT COUNT(*) FROM SIWAKE WHERE (DELFLG=0) AND ( MNUM>16 ) ");
      break;
    case 5:
      sql = branch
                ? QStringLiteral(
                      "SELECT COUNT(*) FROM SIWAKE WHERE (SCODE=:SCODE) AND (KCODE=:KCODE) AND "
                      "(HCODE=:HCODE) AND (DELFLG=0) ")
                : QStringLiteral("SELECT COUNT(*) FROM SIWAKE WHERE (KCODE=:KCODE) AND (HCODE=:HCODE) AND (DELFLG=0) ");
      break;
    default:
      sql = branch ? QStringLiteral("SELECT MAX(SWKREC) FROM SIWAKE WHERE (SCODE=:SCODE)")
                   : QStringLiteral("SELECT MAX(SWKREC) FROM SIWAKE ");
      break;
  }
  db::Query& q = IBQACC1;
  try {
    q.close();
    restart(IBTransactionDAT);
    q.setSql(sql);
    if (q.hasParam(QStringLiteral("SCODE")))
      q.setParam(QStringLiteral("SCODE"), Scode);
    if (q.hasParam(QStringLiteral("KCODE")))
      q.setParam(QStringLiteral("KCODE"), KCODE);
    if (q.hasParam(QStringLiteral("HCODE")))
      q.setParam(QStringLiteral("HCODE"), HCODE);
    q.open();
    const int result = q.eof() || q.field(0).isNull() ? 0 : q.field(0).asInt();
    q.close();
    IBTransactionDAT.commit();
    return result;
  } catch (const std::exception& e) {
    q.close();
    fnReportError(e, QStringLiteral("TDM.GetSiwakeCount"), QStringLiteral("仕訳の現在件数の取得に失敗しました。"));
    rollbackQuietly(IBTransactionDAT);
    return -1;
  }
}

void TDM::pcSiwakeDEL(int Mode, const QString& Scode, const QString& KCODE, const QString& HCODE)
{
  QString sql;
  if (KCODE.isEmpty()) {
    if (Mode == 1)
      sql = QStringLiteral("DELETE FROM SIWAKE WHERE (SCODE=:SCODE) AND (DELFLG=1) ");
    else if (Mode == 2)
      sql = QStringLiteral("DELETE FROM SIWAKE WHERE (SCODE=:SCODE) AND (DELFLG=2) ");
    else
      return;  // no statement for other modes: nothing changes
  } else if (!HCODE.isEmpty()) {
    sql = QStringLiteral(
        "DELETE FROM SIWAKE WHERE (DELFLG<>0) AND( ((KCODE=:KCODE) AND (HCODE=:HCODE)) OR "
        "((R_KCODE=:R_KCODE) AND (R_HCODE=:R_HCODE)) ) ");
  } else {
    sql = QStringLiteral("DELETE FROM SIWAKE WHERE (DELFLG<>0) AND ((KCODE=:KCODE) OR (R_KCODE=:R_KCODE)) ");
  }
  db::Query& q = IBQACC1;
  const QString msg = QStringLiteral("仕訳の削除に失敗しました。");
  try {
    q.close();
    restart(IBTransactionDAT);
    q.setSql(sql);
    if (q.hasParam(QStringLiteral("SCODE")))
      q.setParam(QStringLiteral("SCODE"), Scode.trimmed());
    if (q.hasParam(QStringLiteral("KCODE")))
      q.setParam(QStringLiteral("KCODE"), KCODE);
    if (q.hasParam(QStringLiteral("R_KCODE")))
      q.setParam(QStringLiteral("R_KCODE"), KCODE);
    if (q.hasParam(QStringLiteral("HCODE")))
      q.setParam(QStringLiteral("HCODE"), HCODE);
    if (q.hasParam(QStringLiteral("R_HCODE")))
      q.setParam(QStringLiteral("R_HCODE"), HCODE);
    q.exec();
    q.close();
    IBTransactionDAT.commit();
  } catch (const db::DbError& e) {
    q.close();
    rollbackQuietly(IBTransactionDAT);
    fnShowFbError(e, QStringLiteral("TDM.pcSiwakeDEL"), QString(), true);
    MessageHook().ShowMessageDlg(msg, mtError, mbOK);
  } catch (const std::exception& e) {
    q.close();
    rollbackQuietly(IBTransactionDAT);
    fnShowErrorDetail(msg, QString::fromUtf8(e.what()), mtError);
  }
}

QString TDM::fnGetDataBaseVer()
{
  QString result = QStringLiteral("0.0.0");
  db::Query& q = IBQACC1;
  try {
    q.close();
    restart(IBTransactionDAT);
    q.setSql(QStringLiteral("SELECT MAJOR,MINOR1,MINOR2 FROM ACCVERSION WHERE REC=1"));
    q.open();
    if (!q.eof())
      result = QStringLiteral("%1.%2.%3")
                   .arg(q.field("MAJOR").asInt())
                   .arg(q.field("MINOR1").asInt())
                   .arg(q.field("MINOR2").asInt());
    q.close();
    IBTransactionDAT.commit();
  } catch (const std::exception& e) {
    q.close();
    fnReportError(e, QStringLiteral("TDM.fnGetDataBaseVer"),
                  QStringLiteral("データベースのバージョンの取得に失敗しました。"));
    rollbackQuietly(IBTransactionDAT);
    return QStringLiteral("0.0.0");
  }
  return result;
}
