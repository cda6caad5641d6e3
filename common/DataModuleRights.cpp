// Operator rights and branches: what the logged-on operator may do with the
// open company data and which branch is the operator's default.
#include <cstdint>

#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/FbError.h"
#include "common/SitenList.h"
#include "db/DbError.h"

namespace {

constexpr int kDefaultSitenColor = 0xFFAF80;

// Data kind x 1000 + operator level, as a 16-bit unsigned value.
int levelNo()
{
  return int(std::uint16_t(int(AccInf.ZaimuDataType) * 1000 + SystemDef.OPLevel));
}

// The value of the first line "AKey=..." of key=value lines (empty when none).
QString exFieldValue(const QString& lines, const QString& key)
{
  const QStringList list =
      QString(lines).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(QLatin1Char('\n'));
  for (const QString& line : list) {
    const int eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
      continue;
    if (line.left(eq).compare(key, Qt::CaseInsensitive) == 0)
      return line.mid(eq + 1);
  }
  return QString();
}

const QString kDefSisetuMsg = QStringLiteral("通常使用するデータ（本・支店）の取得に失敗しました。");

// Reports an error of an operation: server errors through the common
// handler, anything else in the error box.

// Thrown for the damaged medical data of GetOpeDefSisetu.
struct TDefSisetuError : EAppError {
  explicit TDefSisetuError(const char* message) : EAppError(QString::fromUtf8(message)) {}
};

}  // namespace

bool TDM::IsDataAccessSeigenNasi()
{
  return SystemDef.DataSeigenNasi == 1 || SystemDef.OPAccount || SystemDef.OPLevel == 9;
}

bool TDM::IsUseMenu(const QString& AMenuID, const QString& AOption)
{
  bool result = false;
  TOwnTransaction own(IBTransactionDEF);
  db::Query& q = IBSQLDEF;
  try {
    q.close();
    q.setSql(QStringLiteral("SELECT COUNT(PROC_ID) AS REC_CNT FROM JOBCONTROL2\nWHERE LEVELNO=:LEVELNO"));
    q.setParam(QStringLiteral("LEVELNO"), levelNo());
    q.open();
    const int count = q.field("REC_CNT").asInt();
    q.close();
    if (count == 0) {
      result = true;
    } else {
      QString sql = QStringLiteral(
          "SELECT PROC_ID,PROC_OPTION FROM JOBCONTROL2\n"
          "WHERE (LEVELNO=:LEVELNO) AND (PROC_ID=:PROC_ID)");
      const bool withOption = !AOption.trimmed().isEmpty();
      if (withOption)
        sql += QStringLiteral("\nAND (PROC_OPTION LIKE :PROC_OPTION)");
      q.setSql(sql);
      q.setParam(QStringLiteral("LEVELNO"), levelNo());
      q.setParam(QStringLiteral("PROC_ID"), AMenuID);
      if (withOption)
        q.setParam(QStringLiteral("PROC_OPTION"), QStringLiteral("%") + AOption + QStringLiteral("%"));
      q.open();
      result = !q.eof();
      q.close();
    }
    own.Commit();
  } catch (const std::exception& e) {
    q.close();
    // An error inside a caller's transaction is left to the caller.
    if (own.Started()) {
      fnReportError(e, QStringLiteral("TDM.SetJobControl"), QStringLiteral("メニュー制御情報の取得に失敗しました。"));
      own.EndAfterError();
    }
  }
  return result;
}

bool TDM::fnJobRestrict()
{
  IBTransactionDEF.startIfNeeded();
  QueryDef.close();
  QueryDef.setSql(
      QStringLiteral("SELECT count(*) FROM JOBCONTROL WHERE LEVELNO=:LEVELNO AND ( MENUNO=201 OR MENUNO=211 )"));
  QueryDef.setParam(QStringLiteral("LEVELNO"), SystemDef.OPLevel);
  QueryDef.open();
  const int count = QueryDef.field(0).asInt();
  QueryDef.close();
  IBTransactionDEF.commit();
  return count < 2;
}

bool TDM::fnGetExistsOpeDefSisetu()
{
  if (IsDataAccessSeigenNasi())
    return true;
  TOwnTransaction own(IBTransactionDAT);
  db::Query& q = IBQACC1;
  bool result = false;
  try {
    q.close();
    q.setSql(
        QStringLiteral("SELECT OD.OPCODE,OD.SCODE FROM OPDEFSISETU OD\n"
                       "INNER JOIN OPLICENSE OL ON (OD.OPCODE=OL.OPCODE)\n"
                       "WHERE OD.OPCODE=:OPCODE"));
    q.setParam(QStringLiteral("OPCODE"), SystemDef.OPCODE);
    q.open();
    result = !q.eof();
    q.close();
    own.Commit();
  } catch (const std::exception& e) {
    q.close();
    fnReportError(e, QStringLiteral("TDM.fnGetExistsOpeDefSisetu"), kDefSisetuMsg);
    own.EndAfterError();
    return false;
  }
  return result;
}

QString TDM::GetOpeDefSisetu()
{
  QString result;
  const bool medical = AccInf.ZaimuDataType == jxztCuravia;
  TOwnTransaction own(IBTransactionDAT);
  db::Query& q = IBQACC1;
  auto take = [&]() {
    int rows = 0;
    for (q.open(); !q.eof(); q.next()) {
      ++rows;
      const QString code = q.field("SCODE").asString();
      SystemDef.DEFOPSCODE = code.isEmpty() ? QStringLiteral(" ") : code;
      SystemDef.OPSCODE = SystemDef.DEFOPSCODE;
      SystemDef.ACCCLAS = q.field("JIGYOKBN").asInt();
      SystemDef.OPSitenColor = GetSitenExInfoValue(q.field("XSTR").asString(), QStringLiteral("COLOR")).toInt();
      result = q.field("SNAME").asString();
    }
    q.close();
    return rows;
  };
  try {
    q.close();
    bool withOpcode = false;
    if (IsDataAccessSeigenNasi()) {
      if (!medical && AccInf.SITEN_KANRI != 0)
        q.setSql(
            QStringLiteral("SELECT SCODE,SNAME,1 AS JIGYOKBN,XSTR FROM SISETUMST\n"
                           "WHERE SCODE=(SELECT MIN(SCODE) FROM SISETUMST WHERE SCODE<>'')"));
      else if (!medical)
        q.setSql(QStringLiteral("SELECT '' AS SCODE,SHOUGOU AS SNAME,1 AS JIGYOKBN,0 AS XSTR FROM ACCDEF1"));
      else if (AccInf.SITEN_KANRI != 0)
        q.setSql(
            QStringLiteral("SELECT SCODE,SNAME,MB_JIGYOU AS JIGYOKBN,XSTR FROM SISETUMST\n"
                           "WHERE SCODE=(SELECT MIN(SCODE) FROM SISETUMST WHERE (SCODE<>'') AND (SCODE<>'00'))"));
      else
        throw TDefSisetuError(
            "このデータは医療法人データですが、施設管理がおこなわれていません。\r"
            "データが損傷している可能性があります。");
    } else {
      q.setSql((medical ? QStringLiteral("SELECT O.SCODE,S.SNAME,S.MB_JIGYOU AS JIGYOKBN,S.XSTR FROM OPDEFSISETU O\n")
                        : QStringLiteral("SELECT O.SCODE,S.SNAME,1 AS JIGYOKBN,S.XSTR FROM OPDEFSISETU O\n")) +
               QStringLiteral("INNER JOIN SISETUMST S ON (O.SCODE=S.SCODE)\nWHERE OPCODE=:OPCODE"));
      withOpcode = true;
    }
    if (withOpcode)
      q.setParam(QStringLiteral("OPCODE"), SystemDef.OPCODE);
    const int rows = take();
    if (medical && rows == 0) {
      q.setSql(QStringLiteral("SELECT SCODE,SNAME,MB_JIGYOU AS JIGYOKBN,XSTR FROM SISETUMST\nWHERE SCODE='00'"));
      take();
    }
    own.Commit();
  } catch (const std::exception& e) {
    q.close();
    fnReportError(e, QStringLiteral("TDM.GetOpeDefSisetu"), kDefSisetuMsg);
    own.EndAfterError();
  }
  return result;
}

bool TDM::IsAuthSitenZentai(int AOPCODE)
{
  if (AccInf.SITEN_KANRI == 0)
    return true;
  TSitenList list;
  list.SetTransaction(&IBTransactionDAT);
  list.SetReadType({jxslSiten});
  try {
    list.Execute(-1);
    const int all = list.ItemCount();
    list.Execute(AOPCODE);
    return all == list.ItemCount();
  } catch (const std::exception&) {
    // Reported by the list; a failed read never grants the rights.
    return false;
  }
}

QVariant TDM::GetSitenExInfoValue(const QString& AKeyValueList, const QString& AKey)
{
  const QString key = AKey.toUpper();
  const QString value = exFieldValue(AKeyValueList, key);
  if (key != QStringLiteral("COLOR"))
    return value;
  int color = 0;
  if (!value.trimmed().isEmpty()) {
    bool ok = false;
    color = value.trimmed().toInt(&ok);
    if (!ok)
      color = 0;
  }
  return color > 0 ? color : kDefaultSitenColor;
}

QString TDM::fnGetSisetumei(const QString& pSCODE)
{
  QString result;
  TOwnTransaction own(IBTransactionDAT);
  db::Query& q = IBQACC1;
  try {
    q.close();
    QString sql = QStringLiteral("SELECT COUNT(SNAME) AS RECCNT FROM SISETUMST\nWHERE (SCODE=:SCODE)");
    if (AccInf.SITEN_KANRI == 1)
      sql += QStringLiteral("\nAND (SCODE<>'')");
    q.setSql(sql);
    q.setParam(QStringLiteral("SCODE"), pSCODE);
    q.open();
    const int count = q.field("RECCNT").asInt();
    q.close();
    QString code = pSCODE;
    if (count == 0) {
      GetOpeDefSisetu();
      code = SystemDef.OPSCODE;
    }
    q.setSql(QStringLiteral("SELECT SNAME FROM SISETUMST WHERE SCODE=:SCODE"));
    q.setParam(QStringLiteral("SCODE"), code);
    q.open();
    if (!q.eof())
      result = q.field("SNAME").asString();
    q.close();
    own.Commit();
  } catch (const std::exception& e) {
    q.close();
    fnReportError(e, QStringLiteral("TDM.fnGetSisetumei"), QStringLiteral("本・支店名の取得に失敗しました。"));
    own.EndAfterError();
  }
  return result;
}

int TDM::fnGetJigyoukubun(const QString& pSCODE)
{
  int result = -1;
  TOwnTransaction own(IBTransactionDAT);
  db::Query& q = IBQACC1;
  try {
    q.close();
    q.setSql(QStringLiteral("SELECT MB_JIGYOU FROM SISETUMST\nWHERE (SCODE=:SCODE)"));
    q.setParam(QStringLiteral("SCODE"), pSCODE);
    q.open();
    if (!q.eof())
      result = q.field("MB_JIGYOU").asInt();
    q.close();
    own.Commit();
  } catch (const std::exception& e) {
    q.close();
    fnReportError(e, QStringLiteral("TDM.fnGetJigyoukubun"), QStringLiteral("事業区分の取得に失敗しました。"));
    own.EndAfterError();
    return -1;
  }
  return result;
}

int TDM::fnGetBumEX(const QString& pSCODE)
{
  // Ends the company transaction when it started it here; a caller's open
  // transaction stays open.
  TOwnTransaction tr(IBTransactionDAT);
  db::Query& q = IBQACC1;
  q.close();
  q.setSql(QStringLiteral("SELECT BUMEX FROM SISETUMST WHERE SCODE=:SCODE "));
  q.setParam(QStringLiteral("SCODE"), pSCODE);
  q.open();
  const int result = q.eof() ? 1 : q.field("BUMEX").asInt();
  q.close();
  tr.Commit();
  return result;
}
