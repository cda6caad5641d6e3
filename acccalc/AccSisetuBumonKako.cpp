// The earlier years (KAKOZAN) and the budgets (KAMOKU_MS) added to the rows
// of the facility and department breakdown.
#include <QStringList>

#include "acccalc/AccCalc.h"
#include "acccalc/AccCalcUtil.h"
#include "acccalc/AccSisetuBumon.h"
#include "acctables/AccKikan.h"
#include "common/AccRecord.h"
#include "db/Query.h"
#include "db/Transaction.h"

using namespace acccalc;

namespace {

const QString kCommon = QStringLiteral("00");
const QString kOwn = QStringLiteral(" ");

class SisetuBumonKako {
 public:
  SisetuBumonKako(TBalanceArray& B, db::Transaction& tr, const TCalcSisanhyoSettingRec& set)
      : B(B), tr(tr), set(set), conds(tr, set), F(sisetuBumonFirstRow())
  {
    // The tax selector of the earlier years: the statement layouts may take
    // the company's own setting for the previous year.
    tax = set.ZeiKbn;
    if ((set.LayoutKbn == 3 || set.LayoutKbn == 4) && set.ZenkiZeiAtukai == 0)
      tax = AccInf.TAXDEFUH_A[1];
  }

  void run()
  {
    db::Query main(tr);
    main.setSql(mainSql());
    conds.bind(main);
    Columns c(main);
    for (main.open(); !main.eof(); main.next()) {
      kcode = main.field(c("KCODE")).asString();
      bpflg = main.field(c("BPFLG")).asString();
      hcode = lines() ? QString() : main.field(c("HCODE")).asString();
      if (lines() && !inUse())
        continue;
      int h = -1;
      const int t = findRow(main, c, h);
      if (t == 0)
        continue;
      TBALANCE& r = B[static_cast<std::size_t>(t)];
      sign = 1;
      if (set.LayoutKbn >= 3)
        bldacRule(r, main.field(c("DAC")).asInt(), main.field(c("BLDAC")).asInt());
      THOJOUTIWAKE* sub = h >= 0 ? &r.HOJOUTIWAKE[static_cast<std::size_t>(h)] : nullptr;
      earlierYears(r, sub);
      if (bpflg == QLatin1String("P"))
        budgets(r, sub);
    }
  }

 private:
  TBalanceArray& B;
  db::Transaction& tr;
  const TCalcSisanhyoSettingRec& set;
  TSisetuBumonConds conds;
  int F;
  int tax = 0;
  int sign = 1;
  QString kcode, bpflg, hcode;

  bool lines() const { return set.LayoutKbn != 0; }

  static QString where(const QString& ACond, const char* AJoin = " AND ")
  {
    return ACond.isEmpty() ? QString() : QString::fromLatin1(AJoin) + ACond;
  }

  QString mainSql() const
  {
    if (!lines()) {
      QString s = QStringLiteral("SELECT KCODE,HCODE,BPFLG\nFROM KAMOKU_VIEW\n");
      const QString fc = conds.FFacility.text(QStringLiteral("SCODE"));
      if (!fc.isEmpty())
        s += QStringLiteral("WHERE ") + fc + QLatin1Char('\n');
      return s + QStringLiteral("GROUP BY KCODE,HCODE,BPFLG\nORDER BY KCODE,HCODE");
    }
    const char* a = set.LayoutKbn == 1 ? "A4" : set.LayoutKbn == 2 ? "A3" : "KS";
    const char* table = set.LayoutKbn == 1 ? "EXTERA4" : set.LayoutKbn == 2 ? "EXTERA3" : "EXTERKS";
    const char* ext = set.LayoutKbn == 1 ? "EXT1_A4" : set.LayoutKbn == 2 ? "EXT1_A3" : "EXT1_KS";
    return QStringLiteral(
               "SELECT %1.REC,%1.KGROUP,%1.SUBREC,%1.KNAME1,KM.GROUPM1,KM.GROUPM2,KM.KCODE,KM.USERCODE,KM.KNAME,"
               "KM.BPFLG,KM.DAC,KM.BLDAC\nFROM %2 %1\nINNER JOIN KAMOKUMST KM ON (%1.REC=KM.%3)\n"
               "ORDER BY %1.KGROUP,%1.SUBREC,KM.USERCODE")
        .arg(QLatin1String(a), QLatin1String(table), QLatin1String(ext));
  }

  bool inUse()
  {
    db::Query q(tr);
    q.setSql(QStringLiteral("SELECT COUNT(*) AS RECCNT FROM KAMOKU_SZ\nWHERE (KCODE=:KCODE)") +
             where(conds.combined(), "\nAND "));
    q.setParam(QStringLiteral("KCODE"), kcode);
    conds.bind(q);
    q.open();
    return q.field(0).asInt() > 0;
  }

  // The row the breakdown placed for the record; 0 when none (and, when the
  // row has sub-account rows, none of them matches).
  int findRow(db::Query& m, Columns& c, int& AHojo)
  {
    AHojo = -1;
    if (lines()) {
      const QString group = m.field(c("KGROUP")).asString();
      const int sub = m.field(c("SUBREC")).asInt();
      for (std::size_t r = static_cast<std::size_t>(F); r < B.size(); ++r)
        if (B[r].KAMOKU.GROUPM2 == group && B[r].WSUBREC == sub)
          return static_cast<int>(r);
      return 0;
    }
    for (std::size_t r = static_cast<std::size_t>(F); r < B.size(); ++r) {
      if (B[r].KAMOKU.KCODE != kcode)
        continue;
      if (B[r].HOJONUM <= 0)
        return static_cast<int>(r);
      for (int i = 0; i < B[r].HOJONUM; ++i)
        if (B[r].HOJOUTIWAKE[static_cast<std::size_t>(i)].HCODE == hcode) {
          AHojo = i;
          return static_cast<int>(r);
        }
      return 0;
    }
    return 0;
  }

  void bldacRule(TBALANCE& r, int ADac, int ABldac)
  {
    db::Query q(tr);
    q.setSql(
        QStringLiteral("SELECT COUNT(KCODE) AS RECCNT FROM KAMOKUMST\n"
                       "WHERE (EXT1_KS=:MSTREC) AND (USE>0) AND (DAC=1 OR DAC=3)"));
    q.setParam(QStringLiteral("MSTREC"), r.WMSTREC);
    q.open();
    if ((ADac == 2 || ADac == 4) && q.field(0).asInt() >= 1) {
      r.KAMOKU.DAC = ABldac;
      sign = -1;
    }
  }

  QString yearColumns() const
  {
    QString s = QStringLiteral("SELECT NENDO,SUM(KISHU) AS KAISIZAN,");
    for (int i = 1; i <= 16; ++i)
      s += QStringLiteral("SUM(%1_%2) AS ZAN%3%4")
               .arg(tax == 0 ? "KOMIZAN" : "NUKIZAN")
               .arg(i)
               .arg(twoDigits(i))
               .arg(i < 16 ? "," : "");
    return s;
  }

  struct Year {
    Currency opening;
    Currency zan[17];
  };

  static Year readYear(db::Query& q)
  {
    Year y;
    y.opening = q.field(QStringLiteral("KAISIZAN")).asCurrency();
    for (int i = 1; i <= 16; ++i)
      y.zan[i] = q.field(QStringLiteral("ZAN") + twoDigits(i)).asCurrency();
    return y;
  }

  void earlierYears(TBALANCE& r, THOJOUTIWAKE* sub)
  {
    db::Query q(tr);
    q.setSql(yearColumns() + QStringLiteral("\nFROM KAKOZAN\nWHERE (KCODE=:KCODE)") +
             (lines() ? QString() : QStringLiteral(" AND (HCODE=:HCODE)")) + where(conds.combined()) +
             QStringLiteral("\nGROUP BY NENDO\nORDER BY NENDO"));
    q.setParam(QStringLiteral("KCODE"), kcode);
    if (!lines())
      q.setParam(QStringLiteral("HCODE"), hcode);
    conds.bind(q);
    for (q.open(); !q.eof(); q.next()) {
      const int nendo = q.field(QStringLiteral("NENDO")).asInt();
      if (nendo < 0 || nendo > 2)
        continue;
      Year y = readYear(q);
      if (set.BumonHaifu == 1)
        allocate(nendo, y);
      addYear(r, nendo, y);
      if (sub)
        addYear(*sub, nendo, y);
    }
  }

  // The common department's share of the year by the rates of the
  // account's own record.
  void allocate(int ANendo, Year& y)
  {
    double rate[17] = {};
    {
      db::Query q(tr);
      QString cols = QStringLiteral("SELECT NENDO,");
      for (int i = 1; i <= 16; ++i)
        cols += QStringLiteral("HAIBUN_%1*0.01 AS HAIBUN%2%3").arg(i).arg(twoDigits(i)).arg(i < 16 ? "," : "");
      q.setSql(cols + QStringLiteral("\nFROM KAKOZAN\nWHERE (NENDO=:NENDO) AND (KCODE=:KCODE) AND (HCODE=:HCODE)") +
               where(conds.combined()) + QStringLiteral("\nORDER BY NENDO"));
      q.setParam(QStringLiteral("NENDO"), ANendo);
      q.setParam(QStringLiteral("KCODE"), kcode);
      q.setParam(QStringLiteral("HCODE"), kOwn);
      conds.bind(q);
      for (q.open(); !q.eof(); q.next())
        for (int i = 1; i <= 16; ++i)
          rate[i] = q.field(i).asDouble();
    }
    if (set.BCODE == kCommon) {
      y.opening = truncRate(y.opening, rate[1]);
      for (int k = 1; k <= 16; ++k)
        y.zan[k] = truncRate(y.zan[k], rate[k]);
      return;
    }
    db::Query q(tr);
    q.setSql(yearColumns() + QStringLiteral("\nFROM KAKOZAN\nWHERE (NENDO=:NENDO) AND (KCODE=:KCODE)") +
             (lines() ? QString() : QStringLiteral(" AND (HCODE=:HCODE)")) +
             where(conds.FFacility.text(QStringLiteral("SCODE"))) +
             QStringLiteral(" AND (BCODE=:BCODE)\nGROUP BY NENDO"));
    q.setParam(QStringLiteral("NENDO"), ANendo);
    q.setParam(QStringLiteral("KCODE"), kcode);
    if (!lines())
      q.setParam(QStringLiteral("HCODE"), hcode);
    q.setParam(QStringLiteral("BCODE"), kCommon);
    conds.bind(q);
    q.open();
    if (q.eof())
      return;
    const Year common = readYear(q);
    y.opening += truncRate(common.opening, rate[1]);
    for (int k = 1; k <= 16; ++k)
      y.zan[k] += truncRate(common.zan[k], rate[k]);
  }

  template <typename Row>
  void addYear(Row& x, int ANendo, const Year& y)
  {
    const Currency opening = y.opening * sign;
    x.KAISIZAN_A[static_cast<std::size_t>(ANendo)] += opening;
    if (ANendo == 0)
      x.TOUKI_KISHU += opening;
    if (ANendo == 2)
      x.TZANDAKA[-32] += opening;
    int firstPos = -15, count = 16;
    if (ANendo == 2) {
      firstPos = -31;
    } else if (ANendo == 0) {
      firstPos = 1;
      count = fnTukiIdxToKikanNo(AccInf.KAISINO - 1) - 1;
    }
    for (int k = 1; k <= count; ++k) {
      const int p = firstPos + k - 1;
      x.EZANDAKA[p] += y.zan[k] * sign;
      if (k == 1)
        x.TZANDAKA[p] += opening + y.zan[1] * sign;
      else
        x.TZANDAKA[p] = x.TZANDAKA[p - 1] + x.EZANDAKA[p];
    }
  }

  void budgets(TBALANCE& r, THOJOUTIWAKE* sub)
  {
    const bool excl = tax == 1;
    const QString mv = excl ? QStringLiteral(
                                  "       WHEN 1 THEN (MS.KAR_NUK-MS.KAR_IKKATSU)-(MS.KAS_NUK-MS.KAS_IKKATSU)\n"
                                  "       WHEN 2 THEN (MS.KAS_NUK-MS.KAS_IKKATSU)-(MS.KAR_NUK-MS.KAR_IKKATSU)\n"
                                  "       WHEN 3 THEN (MS.KAS_NUK-MS.KAS_IKKATSU)-(MS.KAR_NUK-MS.KAR_IKKATSU)\n"
                                  "       WHEN 4 THEN (MS.KAR_NUK-MS.KAR_IKKATSU)-(MS.KAS_NUK-MS.KAS_IKKATSU)\n")
                            : QStringLiteral(
                                  "       WHEN 1 THEN (MS.KAR_NUK+MS.KAR_TAX)-(MS.KAS_NUK+MS.KAS_TAX)\n"
                                  "       WHEN 2 THEN (MS.KAS_NUK+MS.KAS_TAX)-(MS.KAR_NUK+MS.KAR_TAX)\n"
                                  "       WHEN 3 THEN (MS.KAS_NUK+MS.KAS_TAX)-(MS.KAR_NUK+MS.KAR_TAX)\n"
                                  "       WHEN 4 THEN (MS.KAR_NUK+MS.KAR_TAX)-(MS.KAS_NUK+MS.KAS_TAX)\n");
    QString sql = QStringLiteral(
                      "SELECT MS.MNUM,SUM(MS.BYOSAN) AS YOSAN1,SUM(MS.BYOSAN2) AS YOSAN2,SUM(MS.BYOSAN3) AS YOSAN3,\n"
                      "SUM(CASE MS.RW_JISSEKI_KBN\n    WHEN 0 THEN\n      (CASE KM.DAC\n") +
                  mv +
                  QStringLiteral(
                      "       ELSE 0\n      END)\n    WHEN 1 THEN MS.RW_JISSEKI\n    ELSE 0\n"
                      "   END) AS JISSEKI,\nSUM(MS.RW_JISSEKI_KBN) AS JISSEKI_KBN\nFROM KAMOKU_MS MS\n"
                      "INNER JOIN KAMOKUMST KM ON (MS.KCODE=KM.KCODE)\nWHERE (MS.KCODE=:KCODE)");
    if (!lines())
      sql += QStringLiteral("AND (MS.HCODE=:HCODE)");
    sql += where(conds.FFacility.text(QStringLiteral("MS.SCODE")));
    sql += where(conds.FDepartment.text(QStringLiteral("MS.BCODE")));
    sql += QStringLiteral("\nGROUP BY MS.MNUM");
    db::Query q(tr);
    q.setSql(sql);
    q.setParam(QStringLiteral("KCODE"), kcode);
    if (!lines())
      q.setParam(QStringLiteral("HCODE"), hcode);
    conds.bind(q);
    Currency yosan[3][17], jisseki[17];
    int kbn[17] = {};
    for (q.open(); !q.eof(); q.next()) {
      const int m = q.field(0).asInt();
      if (m < 1 || m > 16)
        continue;
      for (int b = 0; b < 3; ++b)
        yosan[b][m] = q.field(1 + b).asCurrency();
      jisseki[m] = q.field(4).asCurrency();
      kbn[m] = q.field(5).asInt();
    }
    auto add = [&](auto& x) {
      for (int k = 1; k <= 16; ++k)
        x.YOSAN[static_cast<std::size_t>(k)] += yosan[0][k];
      if (lines())
        return;
      for (std::size_t b = 0; b < 3; ++b)
        for (int k = 1; k <= 15; ++k)
          x.PROYOSAN[b][static_cast<std::size_t>(k)] += yosan[b][k];
      // The closing periods count into the quarter's last month.
      for (int j = 1; j <= 16; ++j) {
        const auto i = static_cast<std::size_t>(j % 4 == 0 ? j - 1 : j);
        x.PROJISSEKI[i] += jisseki[j];
        x.PROJISSEKIKBN[i] += kbn[j];
      }
    };
    add(r);
    if (sub)
      add(*sub);
  }
};

// The shortened earlier years folded, by the starts of the three years.
void foldByYearStarts(TBalanceArray& B)
{
  const int n2 = fnTukisuuKikanNo(AccInf.SIME, AccInf.KISHU_A[2], AccInf.KISHU_A[1]);
  if (n2 >= 1 && n2 <= 15)
    foldShortYear(B, n2 - 32, -17, -16, true);
  const int n1 = fnTukisuuKikanNo(AccInf.SIME, AccInf.KISHU_A[1], AccInf.KISHU_A[0]);
  if (n1 >= 1 && n1 <= 15)
    foldShortYear(B, n1 - 16, -1, 0, true);
}

void kakoRecSet(TBalanceArray& B, const TCalcSisanhyoSettingRec& set)
{
  TSnapshotScope scope;
  SisetuBumonKako(B, scope.tr(), set).run();
  scope.commit();
  foldByYearStarts(B);
}

}  // namespace

void pcSisetuBumonKakoRead(TBalanceArray& B, TQSortArray&, const TCalcSisanhyoSettingRec& set)
{
  auto each = [&B](auto f) {
    for (TBALANCE& r : B) {
      f(r);
      for (THOJOUTIWAKE& h : r.HOJOUTIWAKE)
        f(h);
    }
  };
  if (set.LayoutKbn == 0 && AccInf.KAISINO > 1)
    each([](auto& x) { x.TOUKI_KISHU = Currency(); });
  kakoRecSet(B, set);
  if (set.BumonHaifu != 1 || set.BalanceType != 6)
    return;
  // The allocation passes add every department again: what the first call
  // placed is cleared first, the earlier years' positions included, so that
  // nothing counts twice.
  each([](auto& x) {
    x.KAISIZAN_A[1] = x.KAISIZAN_A[2] = Currency();
    x.YOSAN.fill(Currency());
    for (auto& block : x.PROYOSAN)
      block.fill(Currency());
    x.PROJISSEKI.fill(Currency());
    x.PROJISSEKIKBN.fill(0);
    if (AccInf.KAISINO > 1) {
      x.TOUKI_KISHU = Currency();
      x.KAISIZAN_A[0] = Currency();
    }
    for (int p = -32; p <= 0; ++p)
      x.EZANDAKA[p] = x.TZANDAKA[p] = Currency();
    for (int p = 1; p < fnTukiIdxToKikanNo(AccInf.KAISINO - 1); ++p)
      x.EZANDAKA[p] = x.TZANDAKA[p] = Currency();
  });
  std::vector<TCalcSisanhyoSettingRec> pairs;
  {
    TSnapshotScope scope;
    pairs = facilityDepartmentSettings(scope.tr(), set);
    scope.commit();
  }
  for (const TCalcSisanhyoSettingRec& s : pairs)
    kakoRecSet(B, s);
}
