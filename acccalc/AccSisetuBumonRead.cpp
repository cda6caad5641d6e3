// The trial balance by facility and department (balance type 6), read from
// the figure tables, with the allocation of the common department "00".
#include <QStringList>

#include "acccalc/AccCalc.h"
#include "acccalc/AccCalcUtil.h"
#include "acccalc/AccSisetuBumon.h"
#include "common/AccFunction.h"
#include "common/AccRecord.h"
#include "db/Query.h"
#include "db/Transaction.h"

using namespace acccalc;

namespace {

const QString kCommon = QStringLiteral("00");
const QString kOwn = QStringLiteral(" ");

// The figures of the account or sub-account being placed.
struct Work {
  Currency opening;
  Currency kar[17], kas[17];
  double rate[17] = {};
  int sign = 1;

  void clearSums()
  {
    opening = Currency();
    for (int p = 0; p <= 16; ++p)
      kar[p] = kas[p] = Currency();
  }
};

// Statement groups of individual data moved by the account's master record
// number, for the statement layouts.
QString regroupForStatement(const QString& AGroup, int AMstRec)
{
  auto is = [&AGroup](const char* g) { return AGroup == QLatin1String(g); };
  const int code = AccInf.CODETYPE;
  if (code == 1 || code == 3 || code == 4) {
    const int limit = code == 4 ? 79 : 98;
    if (is("4100") && AMstRec >= limit)
      return QStringLiteral("7100");
    if (is("6100") && AMstRec >= limit)
      return QStringLiteral("7200");
    if (is("7100") && AMstRec < limit)
      return QStringLiteral("4100");
    if (is("7200") && AMstRec < limit)
      return QStringLiteral("6100");
  } else if (code == 2) {
    if (is("6100") && AMstRec >= 64)
      return QStringLiteral("7200");
    if (is("7200") && AMstRec < 64)
      return QStringLiteral("6100");
  }
  return AGroup;
}

class SisetuBumonRead {
 public:
  SisetuBumonRead(TBalanceArray& B, TQSortArray& S, db::Transaction& tr, const TCalcSisanhyoSettingRec& set,
                  bool firstPass)
      : B(B), S(S), tr(tr), set(set), first(firstPass), conds(tr, set), F(sisetuBumonFirstRow())
  {
  }

  int run()
  {
    db::Query main(tr);
    main.setSql(mainSql());
    conds.bind(main);
    int cur = F - 1;
    Columns c(main);
    for (main.open(); !main.eof(); main.next()) {
      if (main.field(c("GROUPM1")).asString() == QLatin1String("9900"))
        continue;
      rec.kcode = main.field(c("KCODE")).asString();
      rec.dac = main.field(c("DAC")).asInt();
      rec.bldac = lines() ? main.field(c("BLDAC")).asInt() : 0;
      if (lines() && !inUse())
        continue;
      const int t = placeRow(main, c, cur);
      if (t == 0)
        continue;
      TBALANCE& r = B[static_cast<std::size_t>(t)];
      figures(r);
      writeRow(r);
      setKey(t);
      if (!lines())
        subAccounts(r);
    }
    return cur;
  }

 private:
  TBalanceArray& B;
  TQSortArray& S;
  db::Transaction& tr;
  const TCalcSisanhyoSettingRec& set;
  bool first;
  TSisetuBumonConds conds;
  int F;
  Work w;
  struct {
    QString kcode;
    int dac = 0;
    int bldac = 0;
  } rec;

  bool lines() const { return set.LayoutKbn != 0; }

  QString where(const QString& ACond, const char* AJoin = " AND ") const
  {
    return ACond.isEmpty() ? QString() : QString::fromLatin1(AJoin) + ACond;
  }

  QString mainSql() const
  {
    const bool medical = AccInf.DATATYPE == 3;
    if (!lines()) {
      QString s = QStringLiteral("SELECT DISTINCT KM.GROUPM1,KM.GROUPM2");
      s += medical ? QStringLiteral(",KM.GROUPR1,KM.GROUPR2,KM.GROUPM3")
                   : QStringLiteral(",GROUPM1 AS GROUPR1,GROUPM2 AS GROUPR2,GROUPM1 AS GROUPM3");
      s += QStringLiteral(
          ",KM.KCODE,KM.USERCODE,KM.KNAME,KM.BPFLG,KM.DAC\nFROM  KAMOKU_SZ MAIN\n"
          "INNER JOIN SISETUMST SM ON(MAIN.SCODE=SM.SCODE)\nINNER JOIN BUMONMST  BM ON(MAIN.BCODE=BM.BCODE)\n"
          "INNER JOIN KAMOKUMST KM ON(MAIN.KCODE=KM.KCODE)\n"
          "INNER JOIN HOJOMST   HM ON(MAIN.KCODE=HM.KCODE AND MAIN.HCODE=HM.HCODE)\n");
      const QString fc = conds.FFacility.text(QStringLiteral("MAIN.SCODE"));
      if (!fc.isEmpty())
        s += QStringLiteral("WHERE ") + fc + QLatin1Char('\n');
      return s + QStringLiteral("ORDER BY KM.GROUPM1,KM.USERCODE");
    }
    QString a, table, ext;
    if (set.LayoutKbn == 1) {
      a = QStringLiteral("A4");
      table = QStringLiteral("EXTERA4");
      ext = QStringLiteral("EXT1_A4");
    } else if (set.LayoutKbn == 2) {
      a = QStringLiteral("A3");
      table = QStringLiteral("EXTERA3");
      ext = QStringLiteral("EXT1_A3");
    } else {
      a = QStringLiteral("KS");
      table = QStringLiteral("EXTERKS");
      ext = QStringLiteral("EXT1_KS");
    }
    QString s = QStringLiteral("SELECT %1.REC,%1.KGROUP,%1.SUBREC,%1.KNAME1,KM.GROUPM1,KM.GROUPM2").arg(a);
    s += medical ? QStringLiteral(",KM.GROUPR1,KM.GROUPR2,KM.GROUPM3")
                 : QStringLiteral(",KM.GROUPM1 AS GROUPR1,KM.GROUPM2 AS GROUPR2,KM.GROUPM1 AS GROUPM3");
    s += QStringLiteral(
             ",KM.KCODE,KM.USERCODE,KM.KNAME,KM.BPFLG,KM.DAC,KM.BLDAC\nFROM %1 %2\n"
             "INNER JOIN KAMOKUMST KM ON (%2.REC=KM.%3)\n")
             .arg(table, a, ext);
    if (set.LayoutKbn >= 3)
      s += QStringLiteral("WHERE (KM.USE>0)\n");
    return s + QStringLiteral("ORDER BY %1.KGROUP,%1.SUBREC,KM.USERCODE").arg(a);
  }

  // Lines layouts: the account has figures under the conditions.
  bool inUse()
  {
    db::Query q(tr);
    q.setSql(QStringLiteral("SELECT COUNT(*) AS RECCNT FROM KAMOKU_SZ WHERE (KCODE=:KCODE)") + where(conds.combined()));
    q.setParam(QStringLiteral("KCODE"), rec.kcode);
    conds.bind(q);
    q.open();
    return q.field(0).asInt() > 0;
  }

  int findLine(const QString& AGroup, int ASub) const
  {
    for (std::size_t r = static_cast<std::size_t>(F); r < B.size(); ++r)
      if (B[r].KAMOKU.GROUPM2 == AGroup && B[r].WSUBREC == ASub)
        return static_cast<int>(r);
    return 0;
  }

  int placeRow(db::Query& m, Columns& c, int& cur)
  {
    if (!first) {
      if (!lines()) {
        for (std::size_t r = static_cast<std::size_t>(F); r < B.size(); ++r)
          if (B[r].KAMOKU.KCODE == rec.kcode)
            return static_cast<int>(r);
        return 0;
      }
      return findLine(m.field(c("KGROUP")).asString(), m.field(c("SUBREC")).asInt());
    }
    if (!lines()) {
      const int t = ++cur;
      ensureRow(B, S, t);
      TKMKREC& k = B[static_cast<std::size_t>(t)].KAMOKU;
      k.GROUPM1 = m.field(c("GROUPM1")).asString();
      k.GROUPM2 = m.field(c("GROUPM2")).asString();
      k.GROUPR1 = k.GROUPM1;
      k.GROUPR2 = k.GROUPM2;
      k.USERCODE = m.field(c("USERCODE")).asString();
      k.KCODE = rec.kcode;
      k.KNAME = m.field(c("KNAME")).asString();
      k.BPFLG = m.field(c("BPFLG")).asString();
      k.DAC = rec.dac;
      return t;
    }
    const QString group = m.field(c("KGROUP")).asString();
    const int sub = m.field(c("SUBREC")).asInt();
    int t = findLine(group, sub);
    if (t != 0) {
      ++B[static_cast<std::size_t>(t)].WCNT;
    } else {
      t = ++cur;
      ensureRow(B, S, t);
      B[static_cast<std::size_t>(t)].WCNT = 1;
    }
    TBALANCE& r = B[static_cast<std::size_t>(t)];
    TKMKREC& k = r.KAMOKU;
    r.WMSTREC = m.field(c("REC")).asInt();
    r.WSUBREC = sub;
    k.GROUPM1 = group;
    k.GROUPM2 = group;
    const QString kname1 = m.field(c("KNAME1")).asString();
    const QString kname = m.field(c("KNAME")).asString();
    if (k.KCODE.isEmpty()) {
      k.USERCODE = m.field(c("USERCODE")).asString();
      k.KCODE = rec.kcode;
      k.KNAME = fnTrimZen(kname1).isEmpty() ? kname : kname1;
    }
    if ((!kname1.isEmpty() && kname1 != kname) || r.WCNT >= 2) {
      k.USERCODE = QStringLiteral("-");
      k.KCODE = QStringLiteral("-");
    }
    k.BPFLG = m.field(c("BPFLG")).asString();
    k.DAC = rec.dac;
    return t;
  }

  // The period sums of one statement into the work figures.
  void readSums(db::Query& q, bool AAdd, bool AWithRates)
  {
    Columns c(q);
    for (q.open(); !q.eof(); q.next()) {
      const int m = q.field(c("MNUM")).asInt();
      if (m < 1 || m > 16)
        continue;
      Currency kar, kas;
      if (set.ZeiKbn == 0) {
        kar = q.field(c("SUM_KARI_NUKI")).asCurrency() + q.field(c("SUM_KARI_TAX")).asCurrency();
        kas = q.field(c("SUM_KASI_NUKI")).asCurrency() + q.field(c("SUM_KASI_TAX")).asCurrency();
      } else if (set.ZeiKbn == 1) {
        kar = q.field(c("SUM_KARI_NUKI")).asCurrency() - q.field(c("SUM_KARI_IKKATSU")).asCurrency();
        kas = q.field(c("SUM_KASI_NUKI")).asCurrency() - q.field(c("SUM_KASI_IKKATSU")).asCurrency();
      }
      if (AWithRates) {
        kar = truncRate(kar, w.rate[m]);
        kas = truncRate(kas, w.rate[m]);
      }
      if (AAdd) {
        w.kar[m] += kar;
        w.kas[m] += kas;
      } else {
        w.kar[m] = kar;
        w.kas[m] = kas;
      }
    }
  }

  static QString sumColumns(const QString& APrefix = QString())
  {
    return QStringLiteral(
               "SELECT %1MNUM,SUM(%1KAR_NUK) AS SUM_KARI_NUKI,SUM(%1KAR_TAX) AS SUM_KARI_TAX,SUM(%1KAS_NUK) AS "
               "SUM_KASI_NUKI,SUM(%1KAS_TAX) AS SUM_KASI_TAX,\nSUM(%1KAR_IKKATSU) AS SUM_KARI_IKKATSU,"
               "SUM(%1KAS_IKKATSU) AS SUM_KASI_IKKATSU\n")
        .arg(APrefix);
  }

  Currency readOpening(const QString& AWhere, const QString& AHcode, const QString& ABcode)
  {
    db::Query q(tr);
    q.setSql(QStringLiteral("SELECT SUM(KISHU_KOMI) AS SUM_KOMI,SUM(KISHU_NUKI) AS SUM_NUKI\nFROM KAMOKU_SZ\n") +
             AWhere);
    q.setParam(QStringLiteral("KCODE"), rec.kcode);
    if (q.hasParam(QStringLiteral("HCODE")))
      q.setParam(QStringLiteral("HCODE"), AHcode);
    if (q.hasParam(QStringLiteral("BCODE")))
      q.setParam(QStringLiteral("BCODE"), ABcode);
    conds.bind(q);
    q.open();
    if (set.ZeiKbn == 0)
      return q.field(0).asCurrency();
    if (set.ZeiKbn == 1)
      return q.field(1).asCurrency();
    return Currency();
  }

  void readRates()
  {
    db::Query q(tr);
    QString cols;
    for (int i = 1; i <= 16; ++i)
      cols += QStringLiteral("%1HAIBUN%2*0.01 AS HAIBUN%2").arg(i == 1 ? "" : ",").arg(twoDigits(i));
    q.setSql(QStringLiteral("SELECT ") + cols +
             QStringLiteral("\nFROM KAMOKU_SZ\nWHERE (KCODE=:KCODE) AND (HCODE=:HCODE)") + where(conds.combined()));
    q.setParam(QStringLiteral("KCODE"), rec.kcode);
    q.setParam(QStringLiteral("HCODE"), kOwn);
    conds.bind(q);
    q.open();
    for (int i = 1; i <= 16; ++i)
      w.rate[i] = q.eof() ? 0.0 : q.field(i - 1).asDouble();
  }

  bool bumonHaifu() const { return set.BumonHaifu == 1; }
  bool commonDept() const { return set.BCODE == kCommon; }
  double kaisiRate() const { return AccInf.KAISINO >= 1 && AccInf.KAISINO <= 16 ? w.rate[AccInf.KAISINO] : 0.0; }

  void figures(TBALANCE& r)
  {
    w = Work();
    if (bumonHaifu())
      readRates();
    if (set.LayoutKbn >= 3) {
      db::Query q(tr);
      q.setSql(
          QStringLiteral("SELECT COUNT(KCODE) AS RECCNT FROM KAMOKUMST\n"
                         "WHERE (EXT1_KS=:MSTREC) AND (USE>0) AND (DAC=1 OR DAC=3)"));
      q.setParam(QStringLiteral("MSTREC"), r.WMSTREC);
      q.open();
      if ((rec.dac == 2 || rec.dac == 4) && q.field(0).asInt() >= 1) {
        r.KAMOKU.DAC = rec.bldac;
        w.sign = -1;
      }
    }
    const QString comb = conds.combined();
    Currency own = readOpening(QStringLiteral("WHERE (KCODE=:KCODE)") + where(comb), QString(), QString());
    if (bumonHaifu() && (AccInf.KAISINO > 1 || (AccInf.KAISINO == 1 && AccInf.BUMON_KANRI == 2))) {
      Currency common;
      if (commonDept()) {
        common = own;
        own = Currency();
      } else {
        common = readOpening(QStringLiteral("WHERE (BCODE=:BCODE) AND (KCODE=:KCODE)") +
                                 where(conds.FFacility.text(QStringLiteral("SCODE")), "AND "),
                             QString(), kCommon);
      }
      w.opening = truncRate(common, kaisiRate()) + own;
    } else {
      w.opening = own;
    }
    {
      db::Query q(tr);
      q.setSql(sumColumns() + QStringLiteral("FROM KAMOKU_MS\nWHERE (KCODE=:KCODE)") + where(comb) +
               QStringLiteral("\nGROUP BY MNUM\nORDER BY MNUM"));
      q.setParam(QStringLiteral("KCODE"), rec.kcode);
      conds.bind(q);
      readSums(q, false, false);
    }
    const bool uke = !AccInf.KARIUKEZ.isEmpty() && rec.kcode == AccInf.KARIUKEZ;
    const bool hara = !AccInf.KARIHARAIZ.isEmpty() && rec.kcode == AccInf.KARIHARAIZ;
    const int kubun = uke ? 1 : hara ? 2 : 0;
    if (bumonHaifu()) {
      if (commonDept()) {
        for (int k = 1; k <= 16; ++k) {
          w.kar[k] = truncRate(w.kar[k], w.rate[k]);
          w.kas[k] = truncRate(w.kas[k], w.rate[k]);
        }
        if (set.ZeiKbn == 1 && kubun != 0)
          pcKamokuTaxAdd(kubun, set.BCODE, true);
      } else {
        db::Query q(tr);
        q.setSql(sumColumns() + QStringLiteral("FROM KAMOKU_MS\nWHERE (BCODE=:BCODE) AND (KCODE=:KCODE)") +
                 where(conds.FFacility.text(QStringLiteral("SCODE")), "AND ") +
                 QStringLiteral("\nGROUP BY MNUM\nORDER BY MNUM"));
        q.setParam(QStringLiteral("KCODE"), rec.kcode);
        q.setParam(QStringLiteral("BCODE"), kCommon);
        conds.bind(q);
        readSums(q, true, true);
        if (set.ZeiKbn == 1 && kubun != 0) {
          pcKamokuTaxAdd(kubun, kCommon, true);
          pcKamokuTaxAdd(kubun, set.BCODE, false);
        }
      }
    } else if (set.ZeiKbn == 1 && kubun != 0) {
      pcKamokuTaxAdd(kubun, set.BCODE, false);
    }
  }

  // The consumption-tax amounts of one kind. The department given narrows
  // the amounts: the settings' own department keeps their condition, the
  // common department reads its own rows only.
  void pcKamokuTaxAdd(int AKubun, const QString& ABumon, bool AWithRates)
  {
    db::Query q(tr);
    QString cond;
    if (ABumon == set.BCODE) {
      cond = conds.combined();
    } else {
      cond = conds.FFacility.text(QStringLiteral("SCODE"));
      cond = (cond.isEmpty() ? QString() : cond + QStringLiteral(" AND ")) + QStringLiteral("(BCODE=:TAXBCODE)");
    }
    q.setSql(QStringLiteral("SELECT MNUM,SUM(KAR) AS SUM_KARI_TAX,SUM(KAS) AS SUM_KASI_TAX\nFROM KAMOKU_TAX\n"
                            "WHERE (KKUBUN=:KKUBUN)") +
             where(cond, "\nAND ") + QStringLiteral("\nGROUP BY MNUM\nORDER BY MNUM"));
    q.setParam(QStringLiteral("KKUBUN"), AKubun);
    if (q.hasParam(QStringLiteral("TAXBCODE")))
      q.setParam(QStringLiteral("TAXBCODE"), ABumon);
    conds.bind(q);
    for (q.open(); !q.eof(); q.next()) {
      const int m = q.field(0).asInt();
      if (m < 1 || m > 16)
        continue;
      const double rate = AWithRates ? w.rate[m] : 1.0;
      w.kar[m] += truncRate(q.field(1).asCurrency(), rate);
      w.kas[m] += truncRate(q.field(2).asCurrency(), rate);
    }
  }

  template <typename Row>
  void addFigures(Row& x, int ADac)
  {
    x.KAISIZAN += w.opening * w.sign;
    x.TOUKI_KISHU = x.KAISIZAN;
    x.KAISIZAN_A[0] = x.KAISIZAN;
    for (int p = 1; p <= 16; ++p) {
      x.KARSUM[p] += w.kar[p];
      x.KASSUM[p] += w.kas[p];
    }
    x.EZANDAKA[0] = x.KAISIZAN;
    x.TZANDAKA[0] = x.KAISIZAN;
    for (int p = 1; p <= 16; ++p) {
      x.EZANDAKA[p] = signedMove(ADac, x.KARSUM[p], x.KASSUM[p]);
      x.TZANDAKA[p] = x.TZANDAKA[p - 1] + x.EZANDAKA[p];
    }
  }

  void writeRow(TBALANCE& r) { addFigures(r, r.KAMOKU.DAC); }

  void setKey(int t)
  {
    TBALANCE& r = B[static_cast<std::size_t>(t)];
    TQSORT& key = S[static_cast<std::size_t>(t)];
    key.Rec = t;
    const TKMKREC& k = r.KAMOKU;
    if (!lines()) {
      if (k.GROUPM1 == QLatin1String("5300"))
        key.Key = QStringLiteral("5881") + fitLeft(k.USERCODE, 4);
      else
        key.Key = (AccInf.DATATYPE == 3 ? k.GROUPM1 : k.GROUPM2) + fitLeft(k.USERCODE, 4);
    } else if (set.LayoutKbn <= 2) {
      key.Key = k.GROUPM2 + twoDigits(r.WSUBREC);
    } else {
      const QString g = AccInf.DATATYPE == 2 ? regroupForStatement(k.GROUPM1, r.WMSTREC) : k.GROUPM1;
      key.Key = g + twoDigits(r.WSUBREC);
    }
  }

  // The sub-account rows of the account in the trial-balance layout.
  void subAccounts(TBALANCE& r)
  {
    const QString comb = conds.combined();
    int count = 0;
    {
      db::Query q(tr);
      q.setSql(QStringLiteral("SELECT DISTINCT HCODE FROM KAMOKU_SZ\nWHERE (KCODE=:KCODE) AND (HCODE<>:HCODE)") +
               where(comb));
      q.setParam(QStringLiteral("KCODE"), rec.kcode);
      q.setParam(QStringLiteral("HCODE"), kOwn);
      conds.bind(q);
      for (q.open(); !q.eof(); q.next())
        ++count;
    }
    if (first) {
      r.HOJONUM = count;
      r.HOJOUTIWAKE.assign(static_cast<std::size_t>(count), THOJOUTIWAKE{});
    }
    if (count < 1)
      return;
    db::Query q(tr);
    q.setSql(sumColumns(QStringLiteral("MAIN."))
                 .replace(QStringLiteral("SELECT MAIN.MNUM"), QStringLiteral("SELECT MAIN.HCODE,MAIN.MNUM")) +
             QStringLiteral(",HM.HNAME\nFROM KAMOKU_MS MAIN\n") +
             QStringLiteral("INNER JOIN HOJOMST HM ON (MAIN.KCODE=HM.KCODE AND MAIN.HCODE=HM.HCODE)\n"
                            "WHERE (HM.KCODE=:KCODE)") +
             where(conds.combined(QStringLiteral("MAIN."))) +
             QStringLiteral("\nGROUP BY MAIN.HCODE,MAIN.MNUM,HM.HNAME\nORDER BY MAIN.HCODE,MAIN.MNUM"));
    q.setParam(QStringLiteral("KCODE"), rec.kcode);
    conds.bind(q);
    Columns c(q);
    int next = 0;
    QString code, name;
    bool open = false;
    w.clearSums();
    // A sub-account is complete when the code changes or the records end,
    // whatever period its last record holds.
    auto complete = [&]() {
      if (open)
        completeSub(r, code, name, next);
      open = false;
      w.clearSums();
    };
    for (q.open(); !q.eof(); q.next()) {
      QString h = q.field(c("HCODE")).asString();
      if (h.trimmed().isEmpty())
        h = kOwn;
      if (open && h != code)
        complete();
      code = h;
      name = q.field(c("HNAME")).asString();
      open = true;
      const int m = q.field(c("MNUM")).asInt();
      if (m < 1 || m > 16)
        continue;
      if (set.ZeiKbn == 0) {
        w.kar[m] = q.field(c("SUM_KARI_NUKI")).asCurrency() + q.field(c("SUM_KARI_TAX")).asCurrency();
        w.kas[m] = q.field(c("SUM_KASI_NUKI")).asCurrency() + q.field(c("SUM_KASI_TAX")).asCurrency();
      } else if (set.ZeiKbn == 1) {
        w.kar[m] = q.field(c("SUM_KARI_NUKI")).asCurrency() - q.field(c("SUM_KARI_IKKATSU")).asCurrency();
        w.kas[m] = q.field(c("SUM_KASI_NUKI")).asCurrency() - q.field(c("SUM_KASI_IKKATSU")).asCurrency();
      }
    }
    complete();
  }

  void completeSub(TBALANCE& r, const QString& ACode, const QString& AName, int& ANext)
  {
    const QString comb = conds.combined();
    w.opening = readOpening(QStringLiteral("WHERE (KCODE=:KCODE) AND (HCODE=:HCODE)") + where(comb), ACode, QString());
    if (bumonHaifu()) {
      if (commonDept()) {
        w.opening = truncRate(w.opening, kaisiRate());
        for (int k = 1; k <= 16; ++k) {
          w.kar[k] = truncRate(w.kar[k], w.rate[k]);
          w.kas[k] = truncRate(w.kas[k], w.rate[k]);
        }
      } else {
        const QString fc = where(conds.FFacility.text(QStringLiteral("SCODE")), "AND ");
        w.opening +=
            truncRate(readOpening(QStringLiteral("WHERE (BCODE=:BCODE) AND (KCODE=:KCODE) AND (HCODE=:HCODE)") + fc,
                                  ACode, kCommon),
                      kaisiRate());
        db::Query q(tr);
        q.setSql(sumColumns() +
                 QStringLiteral("FROM KAMOKU_MS\nWHERE (BCODE=:BCODE) AND (KCODE=:KCODE) AND (HCODE=:HCODE)") + fc +
                 QStringLiteral("\nGROUP BY MNUM\nORDER BY MNUM"));
        q.setParam(QStringLiteral("KCODE"), rec.kcode);
        q.setParam(QStringLiteral("HCODE"), ACode);
        q.setParam(QStringLiteral("BCODE"), kCommon);
        conds.bind(q);
        readSums(q, true, true);
      }
    }
    int idx = -1;
    if (first) {
      if (ACode == kOwn) {
        Currency all = w.opening;
        for (int k = 1; k <= 16; ++k)
          all += w.kar[k] + w.kas[k];
        if (all.isZero())
          return;
        ++r.HOJONUM;
        r.HOJOUTIWAKE.resize(static_cast<std::size_t>(std::max<int>(r.HOJONUM, ANext + 1)));
      }
      idx = ANext++;
      if (idx >= static_cast<int>(r.HOJOUTIWAKE.size()))
        return;  // more sub-accounts with movements than with openings: the count bounds the rows
    } else {
      for (int i = 0; i < r.HOJONUM; ++i)
        if (r.HOJOUTIWAKE[static_cast<std::size_t>(i)].HCODE == ACode) {
          idx = i;
          break;
        }
      if (idx < 0)
        return;
    }
    THOJOUTIWAKE& h = r.HOJOUTIWAKE[static_cast<std::size_t>(idx)];
    h.HCODE = ACode;
    h.HNAME = ACode == kOwn ? r.KAMOKU.KNAME : AName;
    addFigures(h, r.KAMOKU.DAC);
  }
};

}  // namespace

int pcSisetuBumonRead(TBalanceArray& B, TQSortArray& S, const TCalcSisanhyoSettingRec& set)
{
  int last;
  {
    TSnapshotScope scope;
    last = SisetuBumonRead(B, S, scope.tr(), set, true).run();
    scope.commit();
  }
  if (set.BumonHaifu != 1 || set.BalanceType != 6)
    return last;
  auto clear = [](auto& x) {
    x.KAISIZAN = Currency();
    x.TOUKI_KISHU = Currency();
    x.KAISIZAN_A[0] = Currency();
    x.KARSUM.fill(Currency());
    x.KASSUM.fill(Currency());
    for (int p = 0; p <= 16; ++p)
      x.EZANDAKA[p] = x.TZANDAKA[p] = Currency();
  };
  for (TBALANCE& r : B) {
    clear(r);
    for (THOJOUTIWAKE& h : r.HOJOUTIWAKE)
      clear(h);
  }
  TSnapshotScope scope;
  for (const TCalcSisanhyoSettingRec& s : facilityDepartmentSettings(scope.tr(), set))
    SisetuBumonRead(B, S, scope.tr(), s, false).run();
  scope.commit();
  return last;
}
