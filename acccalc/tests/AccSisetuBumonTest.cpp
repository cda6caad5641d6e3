// The breakdown by facility and department against figures computed here
// from the opening, period and tax rows the test stores: whole company,
// allocation of the common department (with a remainder the truncation
// drops), the consumption-tax accounts, sub-accounts and the earlier years.
#include <gtest/gtest.h>

#include <QMap>

#include "acccalc/AccCalc.h"
#include "acccalc/AccCalcEnv.h"
#include "acccalc/tests/AccTestCompany.h"
#include "acctables/AccCodeTable.h"
#include "common/AccRecord.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TempDir.h"

using fixtures::CompanyKind;
namespace acc = fixtures::sample::acc;

namespace {

struct Case {
  CompanyKind kind;
  int tax;
};

// One opening row (KAMOKU_SZ) with its period movements (KAMOKU_MS).
struct Figures {
  QString scode, bcode, kcode, hcode;
  qint64 kishuKomi, kishuNuki;
  double rate;            // HAIBUN01..16 in per cent
  QList<int> periods;     // periods with a movement
  qint64 karNuk, karTax;  // per period
  qint64 kasNuk, kasIkkatsu;
};

class AccSisetuBumon : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override
  {
    const Case cs = GetParam();
    c = std::make_unique<TAccTestCompany>(cs.kind);
    medical = c->medical;
    tax = cs.tax;
    AccInf.BUMON_KANRI = 2;
    AccInf.KARIUKEZ = acc::KariukeZ;
    AccInf.KARIHARAIZ = acc::KaribaraiZ;
    // Only the figures the test stores.
    for (const char* t : {"KAMOKU_SZ", "KAMOKU_MS", "KAMOKU_TAX", "KAKOZAN"})
      c->exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(t)));
    // The facilities and departments of the test: facility F1 kept by
    // department, departments 00 (common), D1 and D2 in group G9.
    c->exec(
        QStringLiteral("UPDATE OR INSERT INTO SISETUMST (SCODE, SNAME, BUMEX) VALUES ('F1', 'f', 1) MATCHING (SCODE)"));
    for (const char* b : {"00", "D1", "D2"})
      c->exec(QStringLiteral("UPDATE OR INSERT INTO BUMONMST (BCODE, BNAME) VALUES ('%1', 'b') MATCHING (BCODE)")
                  .arg(QLatin1String(b)));
    for (const char* b : {"D1", "D2"})
      c->exec(
          QStringLiteral("INSERT INTO GROUPLIST (GCODE, BCODE, GNAME) VALUES ('G9', '%1', 'g')").arg(QLatin1String(b)));
    // The account's own figures are kept under sub-account code " ".
    c->exec(
        QStringLiteral("INSERT INTO HOJOMST (KCODE, HCODE, HNAME) SELECT K.KCODE, ' ', K.KNAME FROM KAMOKUMST K "
                       "WHERE NOT EXISTS (SELECT 1 FROM HOJOMST H WHERE H.KCODE = K.KCODE AND H.HCODE = ' ')"));
  }
  void TearDown() override { c.reset(); }

  void exec(const QString& sql) { c->exec(sql); }

  void store(const QList<Figures>& rows)
  {
    for (const Figures& f : rows) {
      QString rates;
      for (int i = 1; i <= 16; ++i)
        rates += QStringLiteral(", %1").arg(f.rate);
      exec(QStringLiteral("INSERT INTO KAMOKU_SZ (SCODE, BCODE, KCODE, HCODE, KISHU_KOMI, KISHU_NUKI, HAIBUN01, "
                          "HAIBUN02, HAIBUN03, HAIBUN04, HAIBUN05, HAIBUN06, HAIBUN07, HAIBUN08, HAIBUN09, HAIBUN10, "
                          "HAIBUN11, HAIBUN12, HAIBUN13, HAIBUN14, HAIBUN15, HAIBUN16) VALUES ('%1', '%2', '%3', "
                          "'%4', %5, %6%7)")
               .arg(f.scode, f.bcode, f.kcode, f.hcode)
               .arg(f.kishuKomi)
               .arg(f.kishuNuki)
               .arg(rates));
      for (int p : f.periods)
        exec(QStringLiteral("INSERT INTO KAMOKU_MS (MNUM, SCODE, BCODE, KCODE, HCODE, KAR_NUK, KAR_TAX, KAS_NUK, "
                            "KAS_IKKATSU) VALUES (%1, '%2', '%3', '%4', '%5', %6, %7, %8, %9)")
                 .arg(p)
                 .arg(f.scode, f.bcode, f.kcode, f.hcode)
                 .arg(f.karNuk * p)
                 .arg(f.karTax)
                 .arg(f.kasNuk)
                 .arg(f.kasIkkatsu));
    }
  }

  // The period figures of one stored row as the tax mode reads them.
  Currency opening(const Figures& f) const { return Currency::fromInt(tax == 0 ? f.kishuKomi : f.kishuNuki); }
  Currency kar(const Figures& f, int p) const
  {
    if (!f.periods.contains(p))
      return Currency();
    return Currency::fromInt(tax == 0 ? f.karNuk * p + f.karTax : f.karNuk * p);
  }
  Currency kas(const Figures& f, int p) const
  {
    if (!f.periods.contains(p))
      return Currency();
    return Currency::fromInt(tax == 0 ? f.kasNuk : f.kasNuk - f.kasIkkatsu);
  }
  static Currency trunc(Currency v, double rate)
  {
    return Currency::fromDouble(v.toDouble() * rate / 100.0).rounded(Currency::Round::Truncate);
  }

  const TBALANCE* row(const QString& kcode) const { return c->row(kcode); }
  static const THOJOUTIWAKE* sub(const TBALANCE& r, const QString& hcode) { return TAccTestCompany::sub(r, hcode); }

  std::unique_ptr<TAccTestCompany> c;
  bool medical = false;
  int tax = 0;
};

}  // namespace

TEST_P(AccSisetuBumon, TheWholeCompanyWithSubAccounts)
{
  const QList<Figures> rows = {
      {"F1", "D1", acc::Genkin, " ", 1000, 900, 0, {1, 2, 3}, 100, 10, 40, 5},
      {"F1", "D2", acc::Genkin, " ", 500, 450, 0, {2, 16}, 30, 3, 20, 2},
      // Sub-accounts whose last movement is in period 3 and period 5.
      {"F1", "D1", acc::Urikake, "001", 300, 280, 0, {1, 3}, 50, 5, 10, 1},
      {"F1", "D2", acc::Urikake, "002", 200, 190, 0, {5}, 70, 7, 0, 0},
  };
  store(rows);
  ASSERT_TRUE(pcSisanhyoRead(c->balance, c->keys, QString(), QString(), tax, 6, 0, 2, 0, 0, 0));
  EXPECT_TRUE(c->reporter.messages.isEmpty()) << c->reporter.messages.join(QLatin1Char('|')).toStdString();
  EXPECT_FALSE(c->snapshot->inTransaction());

  for (const QString& k : {acc::Genkin, acc::Urikake}) {
    const TBALANCE* r = row(k);
    ASSERT_NE(r, nullptr) << k.toStdString();
    Currency open, bal;
    for (const Figures& f : rows)
      if (f.kcode == k)
        open += opening(f);
    EXPECT_EQ(r->KAISIZAN, open) << k.toStdString();
    bal = open;
    for (int p = 1; p <= 16; ++p) {
      Currency dr, cr;
      for (const Figures& f : rows)
        if (f.kcode == k) {
          dr += kar(f, p);
          cr += kas(f, p);
        }
      EXPECT_EQ(r->KARSUM[p], dr) << k.toStdString() << " period " << p;
      EXPECT_EQ(r->KASSUM[p], cr) << k.toStdString() << " period " << p;
      bal += dr - cr;  // both accounts are debit-natured
      EXPECT_EQ(r->TZANDAKA[p], bal) << k.toStdString() << " period " << p;
    }
  }
  // Every sub-account is complete, whatever period its last movement has.
  const TBALANCE* u = row(acc::Urikake);
  ASSERT_NE(u, nullptr);
  EXPECT_EQ(u->HOJONUM, 2);
  for (const Figures& f : rows) {
    if (f.kcode != acc::Urikake)
      continue;
    const THOJOUTIWAKE* s = sub(*u, f.hcode);
    ASSERT_NE(s, nullptr) << f.hcode.toStdString();
    EXPECT_EQ(s->KAISIZAN, opening(f));
    Currency bal = opening(f);
    for (int p = 1; p <= 16; ++p)
      bal += kar(f, p) - kas(f, p);
    EXPECT_EQ(s->TZANDAKA[16], bal) << f.hcode.toStdString();
  }
}

TEST_P(AccSisetuBumon, TheCommonDepartmentIsAllocatedAndTruncated)
{
  // The common department's figures go to D1 and D2 by their rates; a third
  // of 1000 loses its fraction.
  const QList<Figures> rows = {
      {"F1", "00", acc::Genkin, " ", 1000, 1000, 0, {1}, 100, 0, 0, 0},
      {"F1", "D1", acc::Genkin, " ", 10, 10, 33.33, {1}, 7, 0, 0, 0},
      {"F1", "D2", acc::Genkin, " ", 20, 20, 66.67, {1}, 9, 0, 0, 0},
  };
  store(rows);
  ASSERT_TRUE(pcSisanhyoRead(c->balance, c->keys, QString(), QStringLiteral("G9"), tax, 6, 0, 2, 1, 0, 0));
  const TBALANCE* r = row(acc::Genkin);
  ASSERT_NE(r, nullptr);
  const Currency common = opening(rows[0]);
  const Currency expectOpen = opening(rows[1]) + trunc(common, 33.33) + opening(rows[2]) + trunc(common, 66.67);
  EXPECT_EQ(r->KAISIZAN, expectOpen);
  EXPECT_EQ(r->KAISIZAN, Currency::fromInt(30 + 333 + 666));
  const Currency expectKar =
      kar(rows[1], 1) + trunc(kar(rows[0], 1), 33.33) + kar(rows[2], 1) + trunc(kar(rows[0], 1), 66.67);
  EXPECT_EQ(r->KARSUM[1], expectKar);
}

TEST_P(AccSisetuBumon, TheTaxOfTheCommonDepartmentCountsOnceByItsRate)
{
  const QList<Figures> rows = {
      {"F1", "D1", acc::KariukeZ, " ", 0, 0, 50, {1}, 0, 0, 1, 0},
      {"F1", "D2", acc::KariukeZ, " ", 0, 0, 50, {1}, 0, 0, 1, 0},
  };
  store(rows);
  for (const char* b : {"00", "D1", "D2"})
    exec(QStringLiteral("INSERT INTO KAMOKU_TAX (MNUM, KKUBUN, SCODE, BCODE, KAR, KAS) VALUES (1, 1, 'F1', '%1', "
                        "0, %2)")
             .arg(QLatin1String(b))
             .arg(QLatin1String(b) == QLatin1String("00")   ? 1000
                  : QLatin1String(b) == QLatin1String("D1") ? 40
                                                            : 60));
  ASSERT_TRUE(pcSisanhyoRead(c->balance, c->keys, QString(), QStringLiteral("G9"), tax, 6, 0, 2, 1, 0, 0));
  const TBALANCE* r = row(acc::KariukeZ);
  ASSERT_NE(r, nullptr);
  // Movements 1 + 1; tax-excluded, also half of the common 1000 to each
  // department and each department's own 40 and 60 (the tax rows are read
  // in that mode only).
  EXPECT_EQ(r->KASSUM[1], Currency::fromInt(tax == 1 ? 2 + 500 + 500 + 40 + 60 : 2));
}

TEST_P(AccSisetuBumon, EarlierYearsAndBudgetsByFacilityAndDepartment)
{
  store(QList<Figures>{{"F1", "D1", acc::Uriage, " ", 0, 0, 0, {1}, 0, 0, 100, 0},
                       {"F1", "D2", acc::Uriage, " ", 0, 0, 0, {1}, 0, 0, 50, 0}});
  for (const char* b : {"D1", "D2"}) {
    QString cols = QStringLiteral("NENDO, SCODE, BCODE, KCODE, HCODE, KISHU");
    QString vals = QStringLiteral("1, 'F1', '%1', '%2', ' ', 0").arg(QLatin1String(b), acc::Uriage);
    for (int i = 1; i <= 16; ++i) {
      cols += QStringLiteral(", KOMIZAN_%1, NUKIZAN_%1").arg(i);
      vals += QStringLiteral(", %1, %2").arg(i * 10).arg(i * 7);
    }
    exec(QStringLiteral("INSERT INTO KAKOZAN (%1) VALUES (%2)").arg(cols, vals));
  }
  exec(QStringLiteral("UPDATE KAMOKU_MS SET BYOSAN = 500, BYOSAN2 = 5, RW_JISSEKI = 77, RW_JISSEKI_KBN = 1 "
                      "WHERE KCODE = '%1'")
           .arg(acc::Uriage));
  ASSERT_TRUE(pcKanendoYosanRead(c->balance, c->keys, QString(), QString(), tax, 6, 0, 0, medical ? 16 : 0, 0, 2, 0));
  const TBALANCE* r = row(acc::Uriage);
  ASSERT_NE(r, nullptr);
  Currency t;
  for (int i = 1; i <= 16; ++i) {
    const Currency v = Currency::fromInt(2 * i * (tax == 0 ? 10 : 7));
    t += v;
    EXPECT_EQ(r->EZANDAKA[i - 16], v) << i;
    EXPECT_EQ(r->TZANDAKA[i - 16], t) << i;
  }
  EXPECT_EQ(r->YOSAN[1], Currency::fromInt(1000));
  EXPECT_EQ(r->PROYOSAN[1][1], Currency::fromInt(10));
  EXPECT_EQ(r->PROJISSEKI[1], Currency::fromInt(154));
  EXPECT_EQ(r->PROJISSEKIKBN[1], 2);
}

INSTANTIATE_TEST_SUITE_P(DataKindsAndTaxModes, AccSisetuBumon,
                         ::testing::Values(Case{CompanyKind::General, 0}, Case{CompanyKind::General, 1},
                                           Case{CompanyKind::Medical, 0}, Case{CompanyKind::Medical, 1}),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           return std::string(info.param.kind == CompanyKind::Medical ? "Medical" : "General") +
                                  (info.param.tax == 0 ? "TaxIncluded" : "TaxExcluded");
                         });
