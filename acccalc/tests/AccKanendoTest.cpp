// The prior-year and budget readings against figures computed here from the
// earlier-year and budget rows the test stores, for both data kinds and both
// tax modes.
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

// One KAKOZAN row: the movements are derived from a seed so that every
// period, year, sub-account and tax mode differs.
struct PriorRow {
  int nendo;
  QString scode, bcode, kcode, hcode;
  qint64 kishu;
  qint64 seed;
  qint64 zan(int i, int tax) const { return seed * 10 + i * (tax == 0 ? 7 : 5); }
};

// One KAMOKU_MS budget row.
struct BudgetRow {
  int mnum;
  QString kcode, hcode;
  qint64 yosan, yosan2, yosan3, jisseki;
  int kbn;
};

struct Case {
  CompanyKind kind;
  int tax;
};

class AccKanendo : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override
  {
    const Case cs = GetParam();
    c = std::make_unique<TAccTestCompany>(cs.kind);
    medical = c->medical;
    tax = cs.tax;
  }
  void TearDown() override { c.reset(); }

  void exec(const QString& sql) { c->exec(sql); }

  // The sample's own earlier years and budgets out of the way.
  void clearSample()
  {
    exec(QStringLiteral("DELETE FROM KAKOZAN"));
    exec(QStringLiteral("DELETE FROM KAMOKU_MS"));
  }

  void store(const QList<PriorRow>& rows)
  {
    if (prior.isEmpty())
      clearSample();
    for (const PriorRow& r : rows) {
      QString cols = QStringLiteral("NENDO, SCODE, BCODE, KCODE, HCODE, KISHU");
      QString vals = QStringLiteral("%1, '%2', '%3', '%4', '%5', %6")
                         .arg(r.nendo)
                         .arg(r.scode, r.bcode, r.kcode, r.hcode)
                         .arg(r.kishu);
      for (int i = 1; i <= 16; ++i) {
        cols += QStringLiteral(", KOMIZAN_%1, NUKIZAN_%1").arg(i);
        vals += QStringLiteral(", %1, %2").arg(r.zan(i, 0)).arg(r.zan(i, 1));
      }
      exec(QStringLiteral("INSERT INTO KAKOZAN (%1) VALUES (%2)").arg(cols, vals));
    }
    prior += rows;
  }

  void store(const QList<BudgetRow>& rows)
  {
    if (prior.isEmpty())
      clearSample();
    for (const BudgetRow& r : rows)
      exec(QStringLiteral("INSERT INTO KAMOKU_MS (MNUM, SCODE, BCODE, KCODE, HCODE, BYOSAN, BYOSAN2, BYOSAN3, "
                          "RW_JISSEKI, RW_JISSEKI_KBN) VALUES (%1, '', '', '%2', '%3', %4, %5, %6, %7, %8)")
               .arg(r.mnum)
               .arg(r.kcode, r.hcode)
               .arg(r.yosan)
               .arg(r.yosan2)
               .arg(r.yosan3)
               .arg(r.jisseki)
               .arg(r.kbn));
  }

  bool read(int balanceType = 0, const QString& scode = QString(), const QString& bcode = QString())
  {
    return pcKanendoYosanRead(c->balance, c->keys, scode, bcode, tax, balanceType, 0, 0, medical ? 16 : 0, 0, 2, 0);
  }

  const TBALANCE& row(const QString& kcode) const
  {
    if (const TBALANCE* r = c->row(kcode))
      return *r;
    static const TBALANCE none;
    ADD_FAILURE() << "no row " << kcode.toStdString();
    return none;
  }
  static const THOJOUTIWAKE* sub(const TBALANCE& r, const QString& hcode) { return TAccTestCompany::sub(r, hcode); }

  // The year's figures of an account (all its rows) or one sub-account.
  struct Year {
    Currency kishu;
    Currency zan[17];
  };
  Year yearOf(int nendo, const QString& kcode, const QString* hcode = nullptr) const
  {
    Year y;
    for (const PriorRow& r : prior) {
      if (r.nendo != nendo || r.kcode != kcode || (hcode && r.hcode.trimmed() != *hcode))
        continue;
      y.kishu += Currency::fromInt(r.kishu);
      for (int i = 1; i <= 16; ++i)
        y.zan[i] += Currency::fromInt(r.zan(i, tax));
    }
    return y;
  }

  // Positions first..first+count-1 of a row against a year's figures.
  template <typename Row>
  void expectYear(const Row& r, const Year& y, int first, int count, const std::string& what) const
  {
    Currency t;
    for (int i = 1; i <= count; ++i) {
      const int q = first + i - 1;
      t = (i == 1 ? y.kishu : t) + y.zan[i];
      EXPECT_EQ(r.EZANDAKA[q], y.zan[i]) << what << " E at " << q;
      EXPECT_EQ(r.TZANDAKA[q], t) << what << " T at " << q;
    }
  }

  std::unique_ptr<TAccTestCompany> c;
  bool medical = false;
  int tax = 0;
  QList<PriorRow> prior;
};

const QString kOwn;  // the account's own figures

}  // namespace

TEST_P(AccKanendo, EarlierYearsAndBudgetsLandInTheirPositions)
{
  store(QList<PriorRow>{
      {1, "", "", acc::Genkin, " ", 500, 3},
      {2, "", "", acc::Genkin, " ", 400, 4},
      {1, "", "", acc::Urikake, " ", 100, 5},
      {1, "", "", acc::Urikake, "001", 200, 6},
      {1, "", "", acc::Urikake, "002", 300, 7},
      {2, "", "", acc::Urikake, "001", 250, 8},
      {1, "", "", acc::Kaikake, " ", 700, 9},
      {1, "", "", acc::Uriage, " ", 0, 11},
      {7, "", "", acc::Uriage, " ", 999, 99},  // a year the reading does not know
  });
  store(QList<BudgetRow>{
      {1, acc::Uriage, " ", 1000, 1100, 1200, 900, 1},
      {3, acc::Uriage, " ", 3000, 3100, 3200, 0, 0},
      {4, acc::Uriage, " ", 0, 0, 0, 400, 1},  // closing period 4 counts into month 3 (kind 0 there)
      {7, acc::Uriage, " ", 7000, 0, 0, 700, 1},
      {8, acc::Uriage, " ", 0, 0, 0, 800, 1},  // dropped: month 7 already has a kind
      {16, acc::Uriage, " ", 1600, 0, 0, 0, 0},
      {2, acc::Urikake, "001", 55, 0, 0, 0, 0},
  });
  ASSERT_TRUE(read());
  EXPECT_TRUE(c->reporter.messages.isEmpty()) << c->reporter.messages.join(QLatin1Char('|')).toStdString();
  EXPECT_FALSE(c->snapshot->inTransaction());

  for (const QString& k : {acc::Genkin, acc::Urikake, acc::Kaikake, acc::Uriage}) {
    const TBALANCE& r = row(k);
    const Year y1 = yearOf(1, k), y2 = yearOf(2, k);
    expectYear(r, y1, -15, 16, k.toStdString() + " previous year");
    expectYear(r, y2, -31, 16, k.toStdString() + " year before");
    EXPECT_EQ(r.TZANDAKA[-32], y2.kishu) << k.toStdString();
    EXPECT_EQ(r.KAISIZAN_A[1], y1.kishu) << k.toStdString();
    EXPECT_EQ(r.KAISIZAN_A[2], y2.kishu) << k.toStdString();
  }
  // Sub-accounts carry their own figures.
  const TBALANCE& urikake = row(acc::Urikake);
  for (const QString& h : {QStringLiteral("001"), QStringLiteral("002")}) {
    const THOJOUTIWAKE* s = sub(urikake, h);
    ASSERT_NE(s, nullptr) << h.toStdString();
    expectYear(*s, yearOf(1, acc::Urikake, &h), -15, 16, "sub-account " + h.toStdString());
    EXPECT_EQ(s->KAISIZAN_A[1], yearOf(1, acc::Urikake, &h).kishu);
  }
  EXPECT_EQ(sub(urikake, QStringLiteral("001"))->YOSAN[2], Currency::fromInt(55));

  // Budgets: YOSAN and the three blocks for periods 1..15, the actuals
  // with the closing periods folded into the month before.
  const TBALANCE& uriage = row(acc::Uriage);
  EXPECT_EQ(uriage.YOSAN[1], Currency::fromInt(1000));
  EXPECT_EQ(uriage.YOSAN[3], Currency::fromInt(3000));
  EXPECT_EQ(uriage.YOSAN[7], Currency::fromInt(7000));
  EXPECT_TRUE(uriage.YOSAN[16].isZero());
  EXPECT_EQ(uriage.PROYOSAN[1][1], Currency::fromInt(1100));
  EXPECT_EQ(uriage.PROYOSAN[2][3], Currency::fromInt(3200));
  EXPECT_EQ(uriage.PROJISSEKI[1], Currency::fromInt(900));
  EXPECT_EQ(uriage.PROJISSEKI[3], Currency::fromInt(400));
  EXPECT_EQ(uriage.PROJISSEKIKBN[3], 1);
  EXPECT_EQ(uriage.PROJISSEKI[7], Currency::fromInt(700));

  // The statement lines balance at every position of the earlier years
  // (total assets against liabilities and net assets).
  if (medical) {
    for (int p = -32; p <= 0; ++p)
      EXPECT_EQ(c->balance[24].TZANDAKA[p], c->balance[11].TZANDAKA[p]) << p;
    EXPECT_EQ(c->balance[24].KAISIZAN_A[1], c->balance[11].KAISIZAN_A[1]);
  } else {
    const auto line = [&](int n) -> const TBALANCE& {
      return c->balance[static_cast<std::size_t>(TotalLineRows.second(n))];
    };
    for (int p = -32; p <= 0; ++p)
      EXPECT_EQ(line(27).TZANDAKA[p], line(11).TZANDAKA[p]) << p;
    EXPECT_EQ(line(27).KAISIZAN_A[1], line(11).KAISIZAN_A[1]);
    // Cash (group 1000-1120) is the whole of line 1 at the previous year's end.
    EXPECT_EQ(line(1).TZANDAKA[0], row(acc::Genkin).TZANDAKA[0]);
    // The sales budget reaches the sales line.
    EXPECT_EQ(line(28).YOSAN[1], Currency::fromInt(1000));
  }
}

TEST_P(AccKanendo, AShortenedPreviousYearKeepsItsRealPeriodsAndFoldsTheRest)
{
  // A previous year of six months.
  AccInf.zKISHU = FromQDate(fixtures::sample::fiscalStart().addMonths(-6));
  store(QList<PriorRow>{{1, "", "", acc::Genkin, " ", 500, 3}});
  ASSERT_TRUE(read());
  const TBALANCE& r = row(acc::Genkin);
  const Year y = yearOf(1, acc::Genkin);
  expectYear(r, y, -15, 7, "kept periods");
  for (int p = -8; p <= -1; ++p) {
    EXPECT_TRUE(r.EZANDAKA[p].isZero()) << p;
    EXPECT_TRUE(r.TZANDAKA[p].isZero()) << p;
  }
  Currency all = y.kishu;
  for (int i = 1; i <= 16; ++i)
    all += y.zan[i];
  EXPECT_EQ(r.TZANDAKA[0], all);
  EXPECT_EQ(r.EZANDAKA[0], r.TZANDAKA[0] - r.TZANDAKA[-9]);
}

TEST_P(AccKanendo, ALaterStartTakesTheMonthsBeforeItFromTheCurrentYearsEarlierRows)
{
  // The bookkeeping starts with the fourth month: periods 1..4 of this year
  // come from NENDO 0.
  AccInf.KAISINO = 4;
  store(QList<PriorRow>{{0, "", "", acc::Genkin, " ", 800, 2}, {1, "", "", acc::Genkin, " ", 500, 3}});
  ASSERT_TRUE(read());
  const TBALANCE& r = row(acc::Genkin);
  const Year y0 = yearOf(0, acc::Genkin);
  expectYear(r, y0, 1, 4, "months before the start");
  EXPECT_EQ(r.TOUKI_KISHU, y0.kishu);
}

TEST_P(AccKanendo, CodesAreBoundNotPastedIntoTheStatement)
{
  // A facility code with a quote reads an empty facility instead of
  // breaking the statement.
  store(QList<PriorRow>{{1, "", "", acc::Genkin, " ", 500, 3}});
  ASSERT_TRUE(read(2, QStringLiteral("O'X")));
  EXPECT_TRUE(row(acc::Genkin).TZANDAKA[0].isZero());
}

TEST_P(AccKanendo, TheSampleDataSetsEarlierYearsCloseAtThisYearsOpenings)
{
  ASSERT_TRUE(read());
  for (const QString& k : {acc::Genkin, acc::Futsuu, acc::Urikake, acc::Kaikake, acc::Shihon, acc::Kurikosi}) {
    const TBALANCE& r = row(k);
    EXPECT_FALSE(r.KAISIZAN_A[1].isZero()) << k.toStdString();
    EXPECT_EQ(r.TZANDAKA[0], r.KAISIZAN) << k.toStdString();
    EXPECT_EQ(r.TZANDAKA[-16], r.KAISIZAN_A[1]) << k.toStdString();
  }
  EXPECT_EQ(row(acc::Uriage).YOSAN[1], Currency::fromInt(4000000));
}

INSTANTIATE_TEST_SUITE_P(DataKindsAndTaxModes, AccKanendo,
                         ::testing::Values(Case{CompanyKind::General, 0}, Case{CompanyKind::General, 1},
                                           Case{CompanyKind::Medical, 0}, Case{CompanyKind::Medical, 1}),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           return std::string(info.param.kind == CompanyKind::Medical ? "Medical" : "General") +
                                  (info.param.tax == 0 ? "TaxIncluded" : "TaxExcluded");
                         });

// Two departments of a group with a later start: the current year's
// openings of both are kept (the opening is cleared once per reading, not
// once per department).
TEST(AccKanendoDepartments, OpeningsOfEveryDepartmentAddUp)
{
  TAccTestCompany c(CompanyKind::General);
  c.exec(QStringLiteral("INSERT INTO GROUPLIST (GCODE, BCODE, GNAME) VALUES ('G9', '01', 'g')"));
  c.exec(QStringLiteral("INSERT INTO GROUPLIST (GCODE, BCODE, GNAME) VALUES ('G9', '02', 'g')"));
  c.exec(QStringLiteral("INSERT INTO KAKOZAN (NENDO, SCODE, BCODE, KCODE, HCODE, KISHU, KOMIZAN_1) "
                        "VALUES (0, '01', '01', '%1', ' ', 300, 10)")
             .arg(acc::Genkin));
  c.exec(QStringLiteral("INSERT INTO KAKOZAN (NENDO, SCODE, BCODE, KCODE, HCODE, KISHU, KOMIZAN_1) "
                        "VALUES (0, '01', '02', '%1', ' ', 200, 20)")
             .arg(acc::Genkin));
  AccInf.KAISINO = 3;
  ASSERT_TRUE(
      pcKanendoYosanRead(c.balance, c.keys, QStringLiteral("01"), QStringLiteral("G9"), 0, 4, 0, 0, 0, 0, 2, 0));
  const TBALANCE* r = c.row(acc::Genkin);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->TOUKI_KISHU, Currency::fromInt(500));
  EXPECT_EQ(r->EZANDAKA[1], Currency::fromInt(30));
}
