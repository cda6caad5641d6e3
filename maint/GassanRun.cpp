// The consolidation run: clearing the parent, and adding one member through
// the controller's own member connection: version and data-system checks,
// master merge, balances, individual costs and journal entries, each step
// reporting into the run log.
#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>

#include "common/AccDateText.h"
#include "common/AccFunction2.h"
#include "common/DataModule.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "maint/GassanDataCtl.h"
#include "platform/Paths.h"

namespace {

const QString kRunId = QStringLiteral("DataGassan");

QString bumonKanriName(int AValue)
{
  switch (AValue) {
    case 0:
      return QStringLiteral("使用しない");
    case 1:
      return QStringLiteral("損益科目");
    case 2:
      return QStringLiteral("全科目");
    default:
      return QString();
  }
}

// A branch code that may name a journal counter: the counters are the
// two-digit ones "SIWAKE00_GEN" .. "SIWAKE99_GEN".
bool isCounterCode(const QString& ACode)
{
  static const QRegularExpression re(QStringLiteral("^[0-9]{2}$"));
  return re.match(ACode).hasMatch();
}

QString wareki(TDateTime ADate)
{
  return fnDateToWarekiText(QStringLiteral("yyyy/mm/dd"), 2, ADate);
}

}  // namespace

void TGassanDataCtl::logEntry(TJxStatusType AType, int ACode, const QString& AText)
{
  FSyoriInfo = TTessalySyoriInfo{kRunId, AType, ACode, AText};
  AddSyoriLog();
}

void TGassanDataCtl::LogError(int ACode, const QString& AText)
{
  logEntry(jxstError, ACode, AText);
}

QString TGassanDataCtl::runName() const
{
  return FGassanKbn == jxgkDataCheck ? QStringLiteral("データ体系チェック") : QStringLiteral("データ合算");
}

void TGassanDataCtl::closeMember() noexcept
{
  try {
    if (FBunsanIBTransaction && FBunsanIBTransaction->inTransaction())
      FBunsanIBTransaction->rollback();
  } catch (const std::exception&) {
    pcLogDroppedError("TGassanDataCtl.closeMember");
  }
  FBunsanIBTransaction.reset();
  if (FBunsanIBDatabase)
    FBunsanIBDatabase->disconnect();
  FBunsanIBDatabase.reset();
}

// ------------------------------------------------------------------ clearing

void TGassanDataCtl::ClearKansa(db::Query& AQuery)
{
  AQuery.setSql(
      QStringLiteral("UPDATE ACCDEF1 SET KANSA_FIXDATE=:KANSA_FIXDATE,KANSA_DATE=:KANSA_DATE,"
                     "KANSA_LOCK=:KANSA_LOCK WHERE REC=1"));
  AQuery.setParamDateTime("KANSA_FIXDATE", 0);
  AQuery.setParamDateTime("KANSA_DATE", 0);
  AQuery.setParam("KANSA_LOCK", 0);
  AQuery.exec();
}

bool TGassanDataCtl::DataGassanClear(const QString& ASCODE, TJxGassanKbn AGassanKbn)
{
  FGassanKbn = AGassanKbn;
  if (AGassanKbn == jxgkDataCheck)
    return true;

  db::Transaction& tr = datTransaction();
  const bool started = tr.startIfNeeded();
  bool triggerOff = false;
  db::Query q(tr);
  try {
    AccInf.KANSA_FIXDATE = 0;
    AccInf.KANSA_DATE = 0;
    AccInf.KANSA_LOCK = 0;
    ClearKansa(q);

    // The branch is always a bound value, never part of the statement.
    const QString where = ASCODE.isEmpty() ? QString() : QStringLiteral(" WHERE SCODE=:SCODE");
    auto run = [&](const QString& sql, bool branch) {
      q.setSql(branch ? sql + where : sql);
      if (branch && !ASCODE.isEmpty())
        q.setParam("SCODE", ASCODE);
      q.exec();
      QCoreApplication::processEvents();
    };

    if (AGassanKbn == jxgkDataGassan) {
      run(QStringLiteral("ALTER TRIGGER KAKOZAN_AFTER_UPDATE INACTIVE"), false);
      triggerOff = true;
      QStringList sets{QStringLiteral("KISHU=0")};
      for (const char* kind : {"KOMIZAN", "NUKIZAN", "IKKATSU"})
        for (int n = 1; n <= 16; ++n)
          sets << QStringLiteral("%1_%2=0").arg(QLatin1String(kind)).arg(n);
      sets << QStringLiteral("TRIGGER_SWITCH=1");
      run(QStringLiteral("UPDATE KAKOZAN SET ") + sets.join(QLatin1Char(',')), true);
      run(QStringLiteral("ALTER TRIGGER KAKOZAN_AFTER_UPDATE ACTIVE"), false);
      triggerOff = false;
      run(QStringLiteral("UPDATE KAMOKU_SZ SET KAKOZAN=0"), true);
    }
    run(QStringLiteral("UPDATE KAMOKU_SZ SET KAISIZAN=0,KISHU_KOMI=0,KISHU_NUKI=0"), true);
    run(QStringLiteral("UPDATE KAMOKU_MS SET KAR_NUK=0,KAR_TAX=0,KAS_NUK=0,KAS_TAX=0,"
                       "BYOSAN=0,KAR_IKKATSU=0,KAS_IKKATSU=0"),
        true);
    run(QStringLiteral("UPDATE KAMOKU_TAX SET KAR=0,KAS=0"), true);
    run(QStringLiteral("UPDATE SISETUMST SET SIWAKECOUNT=0"), true);
    run(QStringLiteral("DELETE FROM SIWAKE"), true);

    if (ASCODE.isEmpty()) {
      run(QStringLiteral("SET GENERATOR SIWAKE_REC_GEN TO 0"), false);
      for (int n = 0; n <= 99; ++n)
        run(QString::asprintf("SET GENERATOR SIWAKE%.2d_GEN TO 0", n), false);
    } else if (isCounterCode(ASCODE)) {
      run(QStringLiteral("SET GENERATOR SIWAKE%1_GEN TO 0").arg(ASCODE), false);
    }
    // A branch without a counter of its own (the blank branch, a code that
    // is not two digits) has none to reset.

    if (AccInf.KobetuGenka_Use == 1) {
      run(QStringLiteral("DELETE FROM KOBETU"), false);
      // The opening balances of the individual costs are the members' sums
      // again after the run, never added onto the previous run's.
      run(QStringLiteral("UPDATE KOBETU_KAMOKU SET KAISIZAN=0"), false);
    }
    if (started)
      tr.commit();
    return true;
  } catch (const std::exception&) {
    // The past-year trigger is never left switched off, and nothing of a
    // half-done clear is kept.
    if (triggerOff) {
      try {
        q.setSql(QStringLiteral("ALTER TRIGGER KAKOZAN_AFTER_UPDATE ACTIVE"));
        q.exec();
      } catch (const std::exception&) {
        pcLogDroppedError("TGassanDataCtl.DataGassanClear");
      }
    }
    if (started && tr.inTransaction()) {
      try {
        tr.rollback();
      } catch (const std::exception&) {
        pcLogDroppedError("TGassanDataCtl.DataGassanClear");
      }
    }
    LogError(-101, QStringLiteral("会計データのクリア処理に失敗しました。"));
    throw;
  }
}

// ------------------------------------------------------------- one member

bool TGassanDataCtl::DataGassan(const QString& ASCODE, const QString& ADataName, const QString& AAccPath,
                                TJxGassanKbn AGassanKbn)
{
  FGassanAccPath = PathJoin(AAccPath, AccDataFile.isEmpty() ? QStringLiteral("wqacc2.fdb") : AccDataFile);
  FGassanSCODE = ASCODE.trimmed().isEmpty() ? QStringLiteral(" ") : ASCODE;
  FGassanKbn = AGassanKbn;
  // Every run reads the member's business kind afresh.
  FGassanJigyoKbn = 0;
  FStatus = 0;
  FSyoriInfo = TTessalySyoriInfo{kRunId, jxstNone, 0, QString()};
  FSyoriLog.clear();

  QString shown = AAccPath;
  if (!SystemDef.APPDATA.isEmpty())
    shown.replace(SystemDef.APPDATA, QStringLiteral("~"), Qt::CaseInsensitive);
  logEntry(jxstInformation, 0, QStringLiteral("『%1』の%2を開始します。（%3）").arg(ADataName, runName(), shown));

  if (!QFileInfo::exists(FGassanAccPath)) {
    LogError(-102, QStringLiteral("指定された分散データパスに会計データがありませんでした。（%1）").arg(shown));
    return false;
  }

  closeMember();
  FBunsanIBDatabase = std::make_unique<db::Database>(FGassanAccPath);
  FBunsanIBDatabase->setUser(SystemDef.IBUSER);
  FBunsanIBDatabase->setPassword(SystemDef.PASWORD);
  FBunsanIBDatabase->setCharset(FbCharSet.isEmpty() ? QStringLiteral("UTF8") : FbCharSet);
  FBunsanIBDatabase->connect();
  FBunsanIBTransaction = std::make_unique<db::Transaction>(*FBunsanIBDatabase);

  db::Transaction& parent = datTransaction();
  bool started = false;
  try {
    started = parent.startIfNeeded();
    FBunsanIBTransaction->start();

    CheckDataVersion();
    if (FStatus >= 0)
      CheckDataTaikei();
    if (FStatus >= 0) {
      GetSitenList();
      GassanBumon();
      GassanKamoku();
    }
    if (FStatus < 0) {
      if (started)
        parent.commit();
      FBunsanIBTransaction->commit();
      closeMember();
      LogError(-110, QStringLiteral("『%1』の%2中にエラーが発生しました。").arg(ADataName, runName()));
      return false;
    }
    if (AGassanKbn != jxgkDataCheck) {
      GassanZandaka();
      if (AccInf.KobetuGenka_Use == 1)
        GassanKobetu();
      GassanSiwake();
    }
    if (started && parent.inTransaction())
      parent.commit();
    if (FBunsanIBTransaction->inTransaction())
      FBunsanIBTransaction->commit();
    closeMember();
  } catch (const std::exception&) {
    // A failed run keeps nothing half-added: both transactions go back and
    // the member is let go.
    if (started && parent.inTransaction()) {
      try {
        parent.rollback();
      } catch (const std::exception&) {
        pcLogDroppedError("TGassanDataCtl.DataGassan");
      }
    }
    closeMember();
    throw;
  }

  if (FStatus < 0) {
    LogError(-120, QStringLiteral("『%1』の%2中にエラーが発生しました。").arg(ADataName, runName()));
    return false;
  }
  logEntry(jxstInformation, 1, QStringLiteral("『%1』の%2は正常に行われました。").arg(ADataName, runName()));
  return true;
}

void TGassanDataCtl::CheckDataVersion()
{
  db::Query q(*FBunsanIBTransaction);
  q.setSql(QStringLiteral("SELECT MAJOR,MINOR1,MINOR2 FROM ACCVERSION ORDER BY MAJOR DESC,MINOR1 DESC,MINOR2 DESC"));
  q.open();
  int major = 0, minor = 0, rev = 0;
  if (!q.eof()) {
    major = q.field(0).asInt();
    minor = q.field(1).asInt();
    rev = q.field(2).asInt();
  }
  q.close();
  if (SystemDef.AppVerMajor > 5 && major < 6)
    LogError(-100, QStringLiteral("データバージョンがVer6.0.0に達していません。"));
  if (std::make_tuple(major, minor, rev) < std::make_tuple(10, 0, 4))
    LogError(-100, QStringLiteral("データバージョンがVer10.0.4に達していません。"));
}

void TGassanDataCtl::CheckDataTaikei()
{
  db::Query q(*FBunsanIBTransaction);
  q.setSql(
      QStringLiteral("SELECT DATATYPE,CODETYPE,SHOUGOU,KISHU,KIMATU,SIME,KAISINO,SITEN,BUMON,SHOUHYOU FROM ACCDEF1"));
  int dataType = 0, sime = 0, kaisino = 0, siten = 0, bumon = 0;
  TDateTime kishu = 0, kimatu = 0;
  for (q.open(); !q.eof(); q.next()) {
    dataType = q.field("DATATYPE").asInt();
    kishu = q.field("KISHU").asDateTime();
    kimatu = q.field("KIMATU").asDateTime();
    sime = q.field("SIME").asInt();
    kaisino = q.field("KAISINO").asInt();
    siten = q.field("SITEN").asInt();
    bumon = q.field("BUMON").asInt();
  }
  q.close();
  const QString typeName = TDM::fnGetDataTypeName(dataType);
  if (typeName.isEmpty())
    throw EGassanError(QStringLiteral("分散データのデータ区分が不明です。（%1）").arg(dataType));

  // The member's code-width settings: missing rows and texts that are not
  // numbers read as the product stores them by default.
  auto reg = [&](const QString& ACode, int AMissing, int ANotNumber) {
    q.setSql(QStringLiteral("SELECT ATYPE,ATEXT FROM ACCREG WHERE (AGROUP=:AGROUP) AND (ACODE=:ACODE)"));
    q.setParam("AGROUP", kGassanRegGroup);
    q.setParam("ACODE", ACode);
    q.open();
    int v = AMissing;
    if (!q.eof()) {
      bool ok = false;
      v = q.field("ATEXT").asString().trimmed().toInt(&ok);
      if (!ok)
        v = ANotNumber;
    }
    q.close();
    return v;
  };
  const bool special = EditionKind == 1 || EditionKind == 2;
  const int hLen = special ? reg(QStringLiteral("補助コード桁数"), 0, 0) : 0;
  const int bLen = special ? reg(QStringLiteral("部門コード桁数"), 1, 0) : 0;
  const int kobetuUse = reg(QStringLiteral("個別原価使用区分"), 0, 0);
  const int kobetuLen = reg(QStringLiteral("個別原価コード桁数"), 0, 3);

  const auto pair = [](const QString& a, const QString& b) { return QStringLiteral("（%1≠%2）").arg(a, b); };
  if (AccInf.DATATYPE != dataType)
    LogError(-110, QStringLiteral("データ区分に違いがありました。") + pair(AccInf.DATATYPENAME, typeName));
  if (AccInf.KISHU != kishu)
    LogError(-110, QStringLiteral("会計期間（期首）に違いがありました。") + pair(wareki(AccInf.KISHU), wareki(kishu)));
  if (AccInf.KIMATU != kimatu)
    LogError(-110,
             QStringLiteral("会計期間（期末）に違いがありました。") + pair(wareki(AccInf.KIMATU), wareki(kimatu)));
  if (AccInf.SIME != sime)
    LogError(-110,
             QStringLiteral("締日に違いがありました。") + QStringLiteral("（%1日≠%2日）").arg(AccInf.SIME).arg(sime));
  if (AccInf.KAISINO != kaisino)
    LogError(-110, QStringLiteral("開始月に違いがありました。") +
                       QStringLiteral("（%1≠%2）").arg(AccInf.KAISINO).arg(kaisino));
  if (AccInf.BUMON_KANRI != bumon)
    LogError(-110, QStringLiteral("部門管理区分に違いがありました。") +
                       pair(bumonKanriName(AccInf.BUMON_KANRI), bumonKanriName(bumon)));
  if (special && int(AccInf.HCodeLenMode) != hLen)
    LogError(-110, QStringLiteral("補助コードの最大桁数の設定に違いがありました。"));
  if (special && int(AccInf.BCodeLenMode) != bLen)
    LogError(-110, QStringLiteral("部門コードの最大桁数の設定に違いがありました。"));
  if (AccInf.KobetuGenka_Use != kobetuUse)
    LogError(-110, AccInf.KobetuGenkaAlias + QStringLiteral("管理区分に違いがありました。"));
  else if (kobetuUse == 1 && int(AccInf.KobetuGenkaLenMode) != kobetuLen)
    LogError(-110, AccInf.KobetuGenkaAlias + QStringLiteral("コードの最大桁数の設定に違いがありました。"));

  FGassanSitenKbn = siten;
  FGassanBumonKbn = bumon;
}
