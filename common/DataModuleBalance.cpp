// Journal counts, entry and balance tests and the saved master information
// of the open company database. Each runs in the company transaction
// (started and committed here when none is active; a caller's open one is
// left alone). Every code a condition names is bound as a parameter.
#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/FbError.h"
#include "db/DbError.h"
#include "platform/AppError.h"
#include "platform/Exceptions.h"

namespace {

// The last period number of each month (1 to 12), closing periods included.
constexpr int kLastPeriodOfMonth[12] = {1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, 16};

const QString kKanendText = QStringLiteral("過年度残高のチェックに失敗しました。");

// The code conditions of a statement, in the order SCODE, KCODE, HCODE,
// BCODE; an empty code means any code.
struct TCodes {
  QString SCODE, KCODE, HCODE, BCODE;
};

// The conditions of a statement. After a fixed first condition each reads
// "AND (...)"; without one (rule W) the first reads "WHERE (...)" and every
// further one "AND   (...)".
class TWhere {
 public:
  explicit TWhere(bool AAfterFixedFirst = false) : FAfterFixed(AAfterFixedFirst) {}
  void Add(const QString& ACondition)
  {
    const QString prefix = FAfterFixed       ? QStringLiteral("AND ")
                           : FText.isEmpty() ? QStringLiteral("WHERE ")
                                             : QStringLiteral("AND   ");
    FText += prefix + ACondition + QLatin1Char('\n');
  }
  const QString& Text() const { return FText; }

 private:
  QString FText;
  bool FAfterFixed;
};

void addCodes(TWhere& AWhere, const TCodes& ACodes)
{
  if (!ACodes.SCODE.isEmpty())
    AWhere.Add(QStringLiteral("(SCODE=:SCODE)"));
  if (!ACodes.KCODE.isEmpty())
    AWhere.Add(QStringLiteral("(KCODE=:KCODE)"));
  if (!ACodes.HCODE.isEmpty())
    AWhere.Add(QStringLiteral("(HCODE=:HCODE)"));
  if (!ACodes.BCODE.isEmpty())
    AWhere.Add(QStringLiteral("(BCODE=:BCODE)"));
}

void bindCodes(db::Query& q, const TCodes& ACodes)
{
  const std::pair<const char*, const QString*> codes[] = {
      {"SCODE", &ACodes.SCODE}, {"KCODE", &ACodes.KCODE}, {"HCODE", &ACodes.HCODE}, {"BCODE", &ACodes.BCODE}};
  for (const auto& [name, value] : codes)
    if (q.hasParam(QLatin1String(name)))
      q.setParam(QLatin1String(name), *value);
}

// The limit to branches of one business kind (1, 2, 4 or 8); none for any
// other kind.
QString jigyoCondition(int AJigyo)
{
  if (AJigyo != 1 && AJigyo != 2 && AJigyo != 4 && AJigyo != 8)
    return QString();
  return QStringLiteral("(SCODE IN (SELECT SCODE FROM SISETUMST WHERE MB_JIGYOU=%1))").arg(AJigyo);
}

double sumOf(db::Query& q)
{
  q.open();
  const double v = q.eof() || q.field(0).isNull() ? 0.0 : q.field(0).asDouble();
  q.close();
  return v;
}

int countOf(db::Query& q)
{
  q.open();
  const int v = q.eof() || q.field(0).isNull() ? 0 : q.field(0).asInt();
  q.close();
  return v;
}

// The table of a year's journal lines: 0 this year, 1 and 2 years back.
QString siwakeTable(int ANendo)
{
  switch (ANendo) {
    case 0:
      return QStringLiteral("SIWAKE");
    case 1:
      return QStringLiteral("KAKOSIWAKE1");
    case 2:
      return QStringLiteral("KAKOSIWAKE2");
    default:
      return QString();
  }
}

// The prior-period sum "SUM(KOMIZAN_1+NUKIZAN_1+...) AS SUMVALUE" over the
// periods before the data's first month; empty when there are none (or
// the first month is out of range).
QString kanendSumExpression()
{
  const int kaisiNo = AccInf.KAISINO;
  if (kaisiNo < 2 || kaisiNo > 12)
    return QString();
  const int periods = kLastPeriodOfMonth[kaisiNo - 2];
  QString expr;
  for (int n = 1; n <= periods; ++n)
    expr += QStringLiteral("KOMIZAN_%1+NUKIZAN_%1+").arg(n);
  expr.chop(1);
  return QStringLiteral("SUM(") + expr + QStringLiteral(") AS SUMVALUE");
}

}  // namespace

// --- running a question --------------------------------------------------------

// A question whose errors are reported (with AStep, no box) and raised again.
template <class F>
static auto askReported(TDM& dm, const QString& AStep, F AWork)
{
  db::Query& q = dm.IBQACC1;
  q.close();
  TOwnTransaction own(dm.IBTransactionDAT);
  try {
    auto result = AWork(q);
    own.Commit();
    return result;
  } catch (const db::DbError& e) {
    q.close();
    own.EndAfterError();
    fnShowFbError(e, AStep, QString(), true);
    throw;
  } catch (...) {
    q.close();
    own.EndAfterError();
    throw;
  }
}

// A question whose errors are swallowed; the answer is then AOnError.
template <class F, class R>
static R askQuietly(TDM& dm, R AOnError, F AWork)
{
  db::Query& q = dm.IBQACC1;
  q.close();
  TOwnTransaction own(dm.IBTransactionDAT);
  try {
    R result = AWork(q);
    own.Commit();
    return result;
  } catch (...) {
    pcLogDroppedError("TDM.askQuietly");
    q.close();
    own.EndAfterError();
    return AOnError;
  }
}

// --- counts ------------------------------------------------------------------------

int TDM::GetYukouSiwakeCount(const QString& ASCODE)
{
  if (SystemKind > 3)
    return -1;
  const bool branch = !ASCODE.trimmed().isEmpty();
  return askReported(*this, QStringLiteral("TDM.GetYukouSiwakeCount"), [&](db::Query& q) {
    if (SystemKind == 3) {
      // Cash-book data: live lines of the cash account, a line between the
      // cash account and itself counted once per entry.
      const QString scode = branch ? QStringLiteral(" AND (SCODE=:SCODE)") : QString();
      q.setSql(QStringLiteral("SELECT COUNT(REC) AS SWKCNT FROM SIWAKE\nWHERE (DELFLG=0) AND (KCODE=:KCODE)") + scode);
      q.setParam(QStringLiteral("KCODE"), AccInf.GENKIN);
      if (branch)
        q.setParam(QStringLiteral("SCODE"), ASCODE);
      const int all = countOf(q);
      q.setSql(QStringLiteral("SELECT COUNT(REC) AS SWKCNT FROM SIWAKE\n"
                              "WHERE (DELFLG=0) AND ((KCODE=:KCODE) AND ((R_KCODE=:R_KCODE)))") +
               scode);
      q.setParam(QStringLiteral("KCODE"), AccInf.GENKIN);
      q.setParam(QStringLiteral("R_KCODE"), AccInf.GENKIN);
      if (branch)
        q.setParam(QStringLiteral("SCODE"), ASCODE);
      const int both = countOf(q);
      return all - both / 2;
    }
    if (branch) {
      q.setSql(QStringLiteral("SELECT SIWAKECOUNT FROM SISETUMST WHERE SCODE=:SCODE"));
      q.setParam(QStringLiteral("SCODE"), ASCODE);
    } else {
      q.setSql(QStringLiteral("SELECT SUM(SIWAKECOUNT) AS SWKCNT FROM SISETUMST"));
    }
    return countOf(q);
  });
}

int TDM::GetUpDelSiwakeCount(const QString& ASCODE)
{
  const bool branch = !ASCODE.trimmed().isEmpty();
  return askReported(*this, QStringLiteral("TDM.GetUpDelSiwakeCount"), [&](db::Query& q) {
    q.setSql(QStringLiteral("SELECT COUNT(REC) AS SWKCNT FROM SIWAKE\nWHERE (DELFLG IN (1,2) AND TAISHAKU=1)") +
             (branch ? QStringLiteral("\nAND (SCODE=:SCODE)") : QString()));
    if (branch)
      q.setParam(QStringLiteral("SCODE"), ASCODE);
    return countOf(q);
  });
}

int TDM::GetSiwakeCount(const QString& ASCODE, int& AYukouSiwake, int& AUpDelSiwake)
{
  AYukouSiwake = 0;
  AUpDelSiwake = 0;
  AYukouSiwake = GetYukouSiwakeCount(ASCODE);
  AUpDelSiwake = GetUpDelSiwakeCount(ASCODE);
  return AYukouSiwake + AUpDelSiwake;
}

int TDM::GetSiwakeCount(const QString& ASCODE)
{
  int yukou = 0;
  int upDel = 0;
  return GetSiwakeCount(ASCODE, yukou, upDel);
}

int TDM::GetSiwakeCount(int ANendo, const QString& ASCODE)
{
  if (ANendo == 0) {
    try {
      return GetSiwakeCount(ASCODE);
    } catch (...) {
      pcLogDroppedError("TDM.GetSiwakeCount");
      return 0;
    }
  }
  const QString table = ANendo == 1 || ANendo == 2 ? siwakeTable(ANendo) : QString();
  if (table.isEmpty())
    return 0;
  const bool branch = !ASCODE.trimmed().isEmpty();
  return askQuietly(*this, 0, [&](db::Query& q) {
    q.setSql(QStringLiteral("SELECT COUNT(REC) AS SWKCNT FROM ") + table +
             (branch ? QStringLiteral("\nWHERE (SCODE=:SCODE)") : QString()));
    if (branch)
      q.setParam(QStringLiteral("SCODE"), ASCODE);
    return countOf(q);
  });
}

// --- entry tests ---------------------------------------------------------------------

bool TDM::GetSiwakeEntry(int ANendo, const QString& ASCODE, const QString& AKCODE, const QString& AHCODE,
                         const QString& ABCODE)
{
  const QString table = siwakeTable(ANendo);
  if (table.isEmpty())
    throw EPlatformError(QStringLiteral("仕訳の年度が正しくありません。(%1)").arg(ANendo));
  const TCodes codes{ASCODE, AKCODE, AHCODE, ABCODE};
  return askReported(*this, QStringLiteral("TDM.GetSiwakeEntry"), [&](db::Query& q) {
    TWhere where(true);
    addCodes(where, codes);
    q.setSql(QStringLiteral("SELECT COUNT(REC) AS RECCNT FROM ") + table +
             QStringLiteral("\nWHERE (MNUM>=1 AND MNUM<=19)\n") + where.Text());
    bindCodes(q, codes);
    return countOf(q) > 0;
  });
}

bool TDM::GetTounendoSiwakeEntry(const QString& ASCODE, const QString& AKCODE, const QString& AHCODE,
                                 const QString& ABCODE)
{
  return GetSiwakeEntry(0, ASCODE, AKCODE, AHCODE, ABCODE);
}

bool TDM::GetTounendoZanEntry(const QString& ASCODE, const QString& AKCODE, const QString& AHCODE,
                              const QString& ABCODE)
{
  const TCodes codes{ASCODE, AKCODE, AHCODE, ABCODE};
  return askReported(*this, QStringLiteral("TDM.GetTounendoZanEntry"), [&](db::Query& q) {
    TWhere where(true);
    addCodes(where, codes);
    q.setSql(QStringLiteral("SELECT SUM(F_Doubleabs(KAR_NUK)+F_Doubleabs(KAS_NUK)) AS ITEMSUM FROM KAMOKU_MS\n"
                            "WHERE (MNUM>=1 AND MNUM<=19)\n") +
             where.Text());
    bindCodes(q, codes);
    return sumOf(q) != 0.0;
  });
}

namespace {

// The prior-year balance statement of KAMOKU_SZ with its conditions (rule
// W); AExclude adds the retained-earnings exclusion.
void setKanendoZanSql(db::Query& q, const QString& AFirst, const TCodes& ACodes, bool AExclude)
{
  TWhere where;
  if (!AFirst.isEmpty())
    where.Add(AFirst);
  addCodes(where, ACodes);
  if (AExclude)
    where.Add(QStringLiteral("(KCODE<>:RIEKIJYOYOKIN)"));
  q.setSql(QStringLiteral("SELECT SUM(F_Doubleabs(KAKOZAN)) AS ITEMSUM FROM KAMOKU_SZ\n") + where.Text());
  bindCodes(q, ACodes);
  if (AExclude)
    q.setParam(QStringLiteral("RIEKIJYOYOKIN"), AccInf.ZENKIKURIKOSI);
}

void setKaisiZanSql(db::Query& q, const QString& AFirst, const TCodes& ACodes)
{
  TWhere where;
  if (!AFirst.isEmpty())
    where.Add(AFirst);
  addCodes(where, ACodes);
  q.setSql(QStringLiteral("SELECT SUM(F_Doubleabs(KISHU_KOMI))+SUM(F_Doubleabs(KISHU_NUKI)) AS ITEMSUM FROM "
                          "KAMOKU_SZ\n") +
           where.Text());
  bindCodes(q, ACodes);
}

void setGenkaSyokyakuSql(db::Query& q, const QString& AFirst, const TCodes& ACodes)
{
  TWhere where;
  if (!AFirst.isEmpty())
    where.Add(AFirst);
  addCodes(where, ACodes);
  q.setSql(QStringLiteral("SELECT COUNT(REC) AS REC_CNT FROM KS_SISAN\n") + where.Text());
  bindCodes(q, ACodes);
}

}  // namespace

bool TDM::GetKanendoZanEntry(const QString& ASCODE, const QString& AKCODE, const QString& AHCODE, const QString& ABCODE)
{
  const TCodes codes{ASCODE, AKCODE, AHCODE, ABCODE};
  const bool exclude = AccInf.DATATYPE == 1 && AKCODE.isEmpty();
  return askReported(*this, QStringLiteral("TDM.GetKanendoZanEntry"), [&](db::Query& q) {
    setKanendoZanSql(q, QString(), codes, exclude);
    return sumOf(q) != 0.0;
  });
}

bool TDM::GetKaisiZanEntry(const QString& ASCODE, const QString& AKCODE, const QString& AHCODE, const QString& ABCODE)
{
  const TCodes codes{ASCODE, AKCODE, AHCODE, ABCODE};
  return askReported(*this, QStringLiteral("TDM.GetKaisiZanEntry"), [&](db::Query& q) {
    setKaisiZanSql(q, QString(), codes);
    return sumOf(q) != 0.0;
  });
}

bool TDM::GetGenkaSyokyakuEntry(const QString& ASCODE, const QString& AKCODE)
{
  const TCodes codes{ASCODE, AKCODE, QString(), QString()};
  return askQuietly(*this, false, [&](db::Query& q) {
    setGenkaSyokyakuSql(q, QString(), codes);
    return countOf(q) > 0;
  });
}

// --- by business kind ------------------------------------------------------------------

bool TDM::GetJigyobetuTounendoSiwakeEntry(int AJigyo, const QString& AKCODE, const QString& AHCODE,
                                          const QString& ABCODE)
{
  const TCodes codes{QString(), AKCODE, AHCODE, ABCODE};
  return askQuietly(*this, false, [&](db::Query& q) {
    TWhere where(true);
    if (const QString jigyo = jigyoCondition(AJigyo); !jigyo.isEmpty())
      where.Add(jigyo);
    addCodes(where, codes);
    q.setSql(QStringLiteral("SELECT COUNT(REC) AS RECCNT FROM SIWAKE\nWHERE (MNUM>=1 AND MNUM<=19)\n") + where.Text());
    bindCodes(q, codes);
    return countOf(q) > 0;
  });
}

bool TDM::GetJigyobetuTounendoZanEntry(int AJigyo, const QString& AKCODE, const QString& AHCODE, const QString& ABCODE)
{
  const TCodes codes{QString(), AKCODE, AHCODE, ABCODE};
  return askQuietly(*this, false, [&](db::Query& q) {
    TWhere where(true);
    if (const QString jigyo = jigyoCondition(AJigyo); !jigyo.isEmpty())
      where.Add(jigyo);
    addCodes(where, codes);
    q.setSql(QStringLiteral("SELECT SUM(F_Doubleabs(KAR_NUK)+F_Doubleabs(KAS_NUK)) AS ITEMSUM FROM KAMOKU_MS\n"
                            "WHERE (MNUM>=1 AND MNUM<=19)\n") +
             where.Text());
    bindCodes(q, codes);
    return sumOf(q) != 0.0;
  });
}

bool TDM::GetJigyobetuKanendoZanEntry(int AJigyo, const QString& AKCODE, const QString& AHCODE, const QString& ABCODE)
{
  const TCodes codes{QString(), AKCODE, AHCODE, ABCODE};
  return askQuietly(*this, false, [&](db::Query& q) {
    setKanendoZanSql(q, jigyoCondition(AJigyo), codes, AKCODE.isEmpty());
    return sumOf(q) != 0.0;
  });
}

bool TDM::GetJigyobetuKaisiZanEntry(int AJigyo, const QString& AKCODE, const QString& AHCODE, const QString& ABCODE)
{
  const TCodes codes{QString(), AKCODE, AHCODE, ABCODE};
  return askQuietly(*this, false, [&](db::Query& q) {
    setKaisiZanSql(q, jigyoCondition(AJigyo), codes);
    return sumOf(q) != 0.0;
  });
}

bool TDM::GetJigyobetuGenkaSyokyakuEntry(int AJigyo, const QString& AKCODE)
{
  const TCodes codes{QString(), AKCODE, QString(), QString()};
  return askQuietly(*this, false, [&](db::Query& q) {
    setGenkaSyokyakuSql(q, jigyoCondition(AJigyo), codes);
    return countOf(q) > 0;
  });
}

// --- prior-period balances -------------------------------------------------------------

namespace {

// Runs a prior-period sum; errors are reported with AStep and the result
// is then 0.
Currency kanendSum(TDM& dm, const QString& AStep, const QString& AWhere, const QString& ASCODE, const QString& AKCODE)
{
  const QString expr = kanendSumExpression();
  if (expr.isEmpty())
    return Currency();
  db::Query& q = dm.IBQACC1;
  q.close();
  TOwnTransaction own(dm.IBTransactionDAT);
  try {
    q.setSql(QStringLiteral("SELECT ") + expr + QStringLiteral(" FROM KAKOZAN\n") + AWhere);
    q.setParam(QStringLiteral("SCODE"), ASCODE);
    if (q.hasParam(QStringLiteral("KCODE")))
      q.setParam(QStringLiteral("KCODE"), AKCODE);
    q.open();
    const Currency v = q.eof() || q.field(0).isNull() ? Currency() : q.field(0).asCurrency();
    q.close();
    own.Commit();
    return v;
  } catch (const db::DbError& e) {
    q.close();
    own.Rollback();
    fnShowFbError(e, AStep, kKanendText, true);
  } catch (const std::exception& e) {
    q.close();
    own.Rollback();
    fnShowErrorDetail(kKanendText, QString::fromUtf8(e.what()), mtError);
  }
  return Currency();
}

}  // namespace

Currency TDM::fnKanendZan(const QString& pSCODE)
{
  return kanendSum(*this, QStringLiteral("TDM.fnKanendZan"),
                   QStringLiteral("WHERE (NENDO=0) AND (SCODE=:SCODE) AND (BCODE<>'')"), pSCODE, QString());
}

bool TDM::fnSisetuKmk_KanendZan(const QString& pSCODE, const QString& pKCODE)
{
  return kanendSum(*this, QStringLiteral("TDM.fnSisetuKmk_KanendZan"),
                   QStringLiteral("WHERE (NENDO=0) AND (SCODE=:SCODE) AND (KCODE=:KCODE)"), pSCODE,
                   pKCODE) != Currency();
}

bool TDM::fnBumonTest()
{
  db::Query& q = IBQACC1;
  q.close();
  TOwnTransaction own(IBTransactionDAT);
  try {
    q.setSql(QStringLiteral("SELECT BUMEX FROM SISETUMST WHERE SCODE=:SCODE"));
    q.setParam(QStringLiteral("SCODE"), SystemDef.OPSCODE);
    q.open();
    const bool result = !q.eof() && q.field("BUMEX").asInt() == 1;
    q.close();
    own.Commit();
    return result;
  } catch (const db::DbError& e) {
    q.close();
    own.EndAfterError();
    fnShowFbError(e, QStringLiteral("TDM.fnBumonTest"), QStringLiteral("支店別の部門有無のチェックに失敗しました。"),
                  true);
    return false;
  } catch (...) {
    q.close();
    own.EndAfterError();
    throw;
  }
}

// --- saved master information --------------------------------------------------------

int TDM::GetNowMasterInfo(TSavedMasterInfoRec& ASavedMasterInfoRec)
{
  TSavedMasterInfoRec& r = ASavedMasterInfoRec;
  r.NowSiwakeCnt = GetSiwakeCount(QString(), r.NowYukouSiwakeCnt, r.NowUpDelSiwakeCnt);
  return askReported(*this, QStringLiteral("TDM.GetNowMasterInfo"), [&](db::Query& q) {
    q.setSql(
        QStringLiteral("SELECT COUNT(SCODE) AS RECCNT,SUM(F_Doubleabs(KISHU_KOMI))+SUM(F_Doubleabs(KISHU_NUKI)) "
                       "AS KAISISUM FROM KAMOKU_SZ"));
    q.open();
    r.NowUseKamokuCnt = q.field("RECCNT").asInt();
    r.NowKaisizanSum = q.field("KAISISUM").isNull() ? Currency() : q.field("KAISISUM").asCurrency();
    q.close();
    q.setSql(QStringLiteral("SELECT MAX(RTIME) AS KTIME FROM KAMOKUMST"));
    q.open();
    r.FinalKamokuDate = q.field("KTIME").isNull() ? TDateTime(0) : q.field("KTIME").asDateTime();
    q.close();
    q.setSql(QStringLiteral("SELECT MAX(RTIME) AS HTIME FROM HOJOMST"));
    q.open();
    r.FinalHojoDate = q.field("HTIME").isNull() ? TDateTime(0) : q.field("HTIME").asDateTime();
    q.close();
    return 0;
  });
}

int TDM::MasterInfoHikaku(const TSavedMasterInfoRec& AMasterInfoRecA, const TSavedMasterInfoRec& AMasterInfoRecB)
{
  const auto& a = AMasterInfoRecA;
  const auto& b = AMasterInfoRecB;
  if (a.NowUseKamokuCnt != b.NowUseKamokuCnt || a.NowKaisizanSum != b.NowKaisizanSum ||
      a.FinalKamokuDate != b.FinalKamokuDate || a.FinalHojoDate != b.FinalHojoDate)
    return 2;
  if (a.NowSiwakeCnt != b.NowSiwakeCnt || a.NowYukouSiwakeCnt != b.NowYukouSiwakeCnt ||
      a.NowUpDelSiwakeCnt != b.NowUpDelSiwakeCnt)
    return 1;
  return 0;
}
