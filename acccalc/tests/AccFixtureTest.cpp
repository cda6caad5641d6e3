// The trial balance read from a company database, checked against sums
// computed here directly from the journal lines the test posts and the
// openings stored in the database.
#include <array>
#include <gtest/gtest.h>

#include <QMap>

#include "acccalc/AccCalc.h"
#include "acccalc/AccCalcEnv.h"
#include "acccalc/tests/AccTestReporter.h"
#include "acctables/AccCodeTable.h"
#include "common/AccRecord.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TempDir.h"

using fixtures::CompanyKind;
using fixtures::JournalEntry;
using fixtures::JournalSide;
namespace acc = fixtures::sample::acc;

namespace {

struct Sums {
  Currency opening;
  std::array<Currency, 17> kar{};
  std::array<Currency, 17> kas{};
};

struct Expected {
  // account code -> sub-account code (" " for the account's own figures) -> sums
  QMap<QString, QMap<QString, Sums>> sums;
  QMap<QString, int> dac;
  QMap<QString, QString> group;
  QMap<QString, QStringList> subCodes;  // sub-accounts of the master
};

QString subKey(const QString& h)
{
  return h.trimmed().isEmpty() ? QStringLiteral(" ") : h;
}

// The entries the test posts: every kind of line over all sixteen periods,
// on the sample branches, with sub-accounts, taxes and fractions.
QList<JournalEntry> testEntries(CompanyKind kind)
{
  const QStringList branches = fixtures::sample::branchCodes(kind);
  const QStringList urikakeSubs = {QStringLiteral("001"), QStringLiteral("002"), QStringLiteral("003"), QString()};
  QList<JournalEntry> out;
  for (int i = 0; i < 96; ++i) {
    const int period = i % 16 + 1;
    const int month = KikanToTukiNo[static_cast<std::size_t>(period - 1)];
    JournalEntry e;
    e.period = period;
    e.closing = period % 4 == 0;
    e.date = fixtures::sample::fiscalStart().addMonths(month - 1).addDays((i * 7) % 28);
    e.scode = branches[i % branches.size()];
    const Currency net = Currency::fromInt(1000 + 37 * i) + Currency::fromRaw((i % 3) * 1234);
    const Currency tax = net.mulDiv(10, 100, Currency::Round::Truncate);
    switch (i % 6) {
      case 0:  // sale with output tax
        e.debit = JournalSide{acc::Urikake, urikakeSubs[(i / 6) % 4], QString(), net + tax, Currency(), 0, 0};
        e.credit = JournalSide{acc::Uriage, QString(), QString(), net, tax, 1, 1};
        break;
      case 1:  // purchase with input tax
        e.debit = JournalSide{acc::Shiire, QString(), QString(), net, tax, 1, 2};
        e.credit = JournalSide{acc::Kaikake, QString(), QString(), net + tax, Currency(), 0, 0};
        break;
      case 2:  // collection into a bank account
        e.debit = JournalSide{
            acc::Futsuu, (i / 6) % 2 ? QStringLiteral("02") : QStringLiteral("01"), QString(), net, Currency(), 0, 0};
        e.credit = JournalSide{acc::Urikake, urikakeSubs[(i / 6 + 1) % 4], QString(), net, Currency(), 0, 0};
        break;
      case 3:  // expense paid in cash
        e.debit = JournalSide{acc::Ryohi, QString(), QString(), net, Currency(), 0, 0};
        e.credit = JournalSide{acc::Genkin, QString(), QString(), net, Currency(), 0, 0};
        break;
      case 4:  // salaries from the bank, own figures of the bank account
        e.debit = JournalSide{acc::Kyuryo, QString(), QString(), net, Currency(), 0, 0};
        e.credit = JournalSide{
            acc::Futsuu, (i / 6) % 3 == 0 ? QString() : QStringLiteral("01"), QString(), net, Currency(), 0, 0};
        break;
      default:  // through the sundry account
        e.debit = JournalSide{acc::Tsushin, QString(), QString(), net, Currency(), 0, 0};
        e.credit = JournalSide{acc::Shokuchi, QString(), QString(), net, Currency(), 0, 0};
        break;
    }
    out << e;
  }
  return out;
}

// What every account and sub-account must show, from the master, the
// stored openings and the posted lines (never from the code under test).
Expected expectedFrom(db::Database& d, const QList<JournalEntry>& entries, int tax)
{
  Expected x;
  db::Transaction tr(d, db::Transaction::ReadCommittedReadOnly);
  tr.start();
  db::Query q(tr);
  q.setSql(QStringLiteral("SELECT KCODE, DAC, GROUPM1 FROM KAMOKUMST WHERE \"USE\" > 0"));
  for (q.open(); !q.eof(); q.next()) {
    x.dac[q.field(QStringLiteral("KCODE")).asString()] = q.field(QStringLiteral("DAC")).asInt();
    x.group[q.field(QStringLiteral("KCODE")).asString()] = q.field(QStringLiteral("GROUPM1")).asString();
  }
  q.setSql(QStringLiteral("SELECT KCODE, HCODE FROM HOJOMST WHERE TRIM(HCODE) <> '' ORDER BY HCODE"));
  for (q.open(); !q.eof(); q.next())
    x.subCodes[q.field(0).asString()] << q.field(1).asString();
  q.setSql(
      QStringLiteral("SELECT KCODE, HCODE, SUM(KISHU_KOMI), SUM(KISHU_NUKI) FROM KAMOKU_SZ GROUP BY KCODE, HCODE"));
  for (q.open(); !q.eof(); q.next())
    x.sums[q.field(0).asString()][subKey(q.field(1).asString())].opening = q.field(tax == 0 ? 2 : 3).asCurrency();
  QString kariuke, karibarai;
  q.setSql(QStringLiteral("SELECT KNAME, KCODE FROM ACCDEF2"));
  for (q.open(); !q.eof(); q.next()) {
    if (q.field(0).asString() == QStringLiteral("仮受消費税"))
      kariuke = q.field(1).asString();
    if (q.field(0).asString() == QStringLiteral("仮払消費税"))
      karibarai = q.field(1).asString();
  }
  tr.commit();

  auto book = [&](const JournalSide& s, bool debit, int period) {
    auto& own = x.sums[s.kcode][subKey(s.hcode)];
    const Currency onAccount = tax == 0 ? s.amount + s.tax : s.amount;
    (debit ? own.kar : own.kas)[static_cast<std::size_t>(period)] += onAccount;
    if (tax == 1 && (s.taxKind == 1 || s.taxKind == 2) && !s.tax.isZero()) {
      auto& t = x.sums[s.taxKind == 1 ? kariuke : karibarai][QStringLiteral(" ")];
      (debit ? t.kar : t.kas)[static_cast<std::size_t>(period)] += s.tax;
    }
  };
  for (const JournalEntry& e : entries) {
    book(e.debit, true, e.period);
    book(e.credit, false, e.period);
  }
  return x;
}

Currency move(int dac, const Sums& s, int from, int to)
{
  Currency m;
  for (int p = from; p <= to; ++p)
    m += (dac == 1 || dac == 4) ? s.kar[static_cast<std::size_t>(p)] - s.kas[static_cast<std::size_t>(p)]
                                : s.kas[static_cast<std::size_t>(p)] - s.kar[static_cast<std::size_t>(p)];
  return m;
}

Currency sumOf(const std::array<Currency, 17>& a, int from, int to)
{
  Currency m;
  for (int p = from; p <= to; ++p)
    m += a[static_cast<std::size_t>(p)];
  return m;
}

// The result-line names are chosen by ACCTOTALNAME.MODIFY; a fixture
// without the column gets it here (0: the plain name).
void ensureTotalNameModify(db::Database& d)
{
  db::Transaction tr(d);
  tr.start();
  db::Query q(tr, QStringLiteral("SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = 'ACCTOTALNAME' "
                                 "AND RDB$FIELD_NAME = 'MODIFY'"));
  q.open();
  const bool has = q.field(0).asInt() > 0;
  q.close();
  if (!has) {
    q.setSql(QStringLiteral("ALTER TABLE ACCTOTALNAME ADD MODIFY INTEGER DEFAULT 0"));
    q.exec();
  }
  tr.commit();
}

struct Case {
  CompanyKind kind;
  int tax;
};

class AccFixture : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override { SetAccCalcReporter(&reporter); }
  void TearDown() override
  {
    SetAccCalcReporter(nullptr);
    SetAccCalcDatabase({});
    AccInf = TACCINF{};
  }
  TAccTestReporter reporter;
};

}  // namespace

TEST_P(AccFixture, ClosingBalancesMatchThePostedLines)
{
  const Case c = GetParam();
  const bool medical = c.kind == CompanyKind::Medical;
  TestTempDir dir;
  const QString path = testfx::makeCompanyDb(dir.path(), c.kind, false);
  db::Database d;
  testfx::builder().open(d, path);
  const QList<JournalEntry> entries = testEntries(c.kind);
  fixtures::CompanyFixture(d).post(entries);
  const Expected x = expectedFrom(d, entries, c.tax);
  ensureTotalNameModify(d);

  AccInf = TACCINF{};
  AccInf.DATATYPE = medical ? 3 : 1;
  AccInf.CODETYPE = 1;
  AccInf.ZaimuDataType = medical ? jxztCuravia : jxztBasic;
  AccInf.SIME = 99;
  AccInf.KAISINO = 1;
  AccInf.KISHU = FromQDate(fixtures::sample::fiscalStart());
  AccInf.KIMATU = FromQDate(fixtures::sample::fiscalStart().addYears(1).addDays(-1));
  pcSetKamokuCodeTable(medical);

  db::Transaction snapshot(d, db::Transaction::Snapshot);
  db::Transaction main(d, db::Transaction::ReadCommitted);
  SetAccCalcDatabase({&snapshot, &main});

  TBalanceArray balance(static_cast<std::size_t>(fnBalanceRecMax()));
  TQSortArray keys(balance.size());
  // As the export reads: whole company, trial-balance layout, form style 2.
  ASSERT_TRUE(
      pcSisanhyoRead(balance, keys, QStringLiteral(" "), QStringLiteral(" "), c.tax, 0, 0, 2, 0, medical ? 16 : 0, 0));
  EXPECT_TRUE(reporter.messages.isEmpty()) << reporter.messages.join(QLatin1Char('|')).toStdString();
  EXPECT_FALSE(snapshot.inTransaction());

  // Every account in use is in the table once (the sundry account of group
  // 9900 only in medical data), with every sub-account of the master.
  QMap<QString, int> rowOf;
  const int first = FirstAccountRow(medical);
  for (int r = first; r < static_cast<int>(balance.size()); ++r)
    if (!balance[static_cast<std::size_t>(r)].KAMOKU.KCODE.isEmpty()) {
      EXPECT_FALSE(rowOf.contains(balance[static_cast<std::size_t>(r)].KAMOKU.KCODE));
      rowOf[balance[static_cast<std::size_t>(r)].KAMOKU.KCODE] = r;
    }
  for (auto it = x.dac.cbegin(); it != x.dac.cend(); ++it) {
    const bool skipped = !medical && x.group.value(it.key()) == QLatin1String("9900");
    EXPECT_EQ(rowOf.contains(it.key()), !skipped) << it.key().toStdString();
  }
  // Key 0 stays where it is in medical data (row 0 is never filled).
  for (int i = medical ? 2 : 1; i < static_cast<int>(keys.size()); ++i) {
    if (keys[static_cast<std::size_t>(i)].Key != HiddenSortKey()) {
      EXPECT_LE(keys[static_cast<std::size_t>(i - 1)].Key, keys[static_cast<std::size_t>(i)].Key);
    }
  }

  struct Range {
    int from, to;
  } ranges[] = {{1, 16}, {1, 4}, {3, 6}, {5, 5}, {9, 12}, {13, 16}, {2, 15}, {16, 16}};
  for (const Range& rg : ranges) {
    SCOPED_TRACE(QStringLiteral("periods %1-%2").arg(rg.from).arg(rg.to).toStdString());
    pcBalanceCalcu(balance, 0, 0, rg.from, rg.to, medical ? 16 : 0);
    for (auto it = rowOf.cbegin(); it != rowOf.cend(); ++it) {
      const TBALANCE& row = balance[static_cast<std::size_t>(it.value())];
      const QString& k = it.key();
      const int dac = x.dac.value(k);
      const auto subs = x.sums.value(k);
      Currency opening, close, kar, kas;
      for (const Sums& s : subs) {
        opening += s.opening;
        close += s.opening + move(dac, s, 1, rg.to);
        kar += sumOf(s.kar, rg.from, rg.to);
        kas += sumOf(s.kas, rg.from, rg.to);
      }
      EXPECT_EQ(row.KAISIZAN, opening) << k.toStdString();
      EXPECT_EQ(row.WNUM4, close) << k.toStdString();
      EXPECT_EQ(row.WNUM2, kar) << k.toStdString();
      EXPECT_EQ(row.WNUM3, kas) << k.toStdString();

      // Sub-accounts: one row per sub-account of the master, and one
      // with a blank code for the account's own figures when it has any.
      const QStringList master = x.subCodes.value(k);
      if (master.isEmpty()) {
        EXPECT_EQ(row.HOJONUM, 0) << k.toStdString();
        continue;
      }
      QStringList want = master;
      const Sums own = subs.value(QStringLiteral(" "));
      if (!own.opening.isZero() || !sumOf(own.kar, 1, 16).isZero() || !sumOf(own.kas, 1, 16).isZero())
        want.prepend(QString());
      ASSERT_EQ(row.HOJONUM, want.size()) << k.toStdString();
      Currency subTotal;
      for (int i = 0; i < row.HOJONUM; ++i) {
        const THOJOUTIWAKE& h = row.HOJOUTIWAKE[static_cast<std::size_t>(i)];
        EXPECT_EQ(h.HCODE.trimmed(), want[i]) << k.toStdString();
        const Sums s = subs.value(subKey(h.HCODE));
        EXPECT_EQ(h.WNUM4, s.opening + move(dac, s, 1, rg.to)) << k.toStdString() << " " << h.HCODE.toStdString();
        EXPECT_EQ(h.WNUM2, sumOf(s.kar, rg.from, rg.to)) << k.toStdString() << " " << h.HCODE.toStdString();
        EXPECT_EQ(h.WNUM3, sumOf(s.kas, rg.from, rg.to)) << k.toStdString() << " " << h.HCODE.toStdString();
        subTotal += h.WNUM4;
      }
      EXPECT_EQ(subTotal, row.WNUM4) << k.toStdString();
    }
  }
  EXPECT_TRUE(reporter.messages.isEmpty()) << reporter.messages.join(QLatin1Char('|')).toStdString();
  SetAccCalcDatabase({});
}

INSTANTIATE_TEST_SUITE_P(DataKindsAndTaxModes, AccFixture,
                         ::testing::Values(Case{CompanyKind::General, 0}, Case{CompanyKind::General, 1},
                                           Case{CompanyKind::Medical, 0}, Case{CompanyKind::Medical, 1}),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           return std::string(info.param.kind == CompanyKind::Medical ? "Medical" : "General") +
                                  (info.param.tax == 0 ? "TaxIncluded" : "TaxExcluded");
                         });
