// Trial-balance benchmark: builds a large general company database and
// measures, in one run, the trial-balance procedure alone and the whole
// reading plus the range computation.
//
//   rendo_acccalc_bench [--entries N] [--accounts N] [--subs N] [--rounds N] [--keep DIR]
//
// With --keep the database stays in DIR and a later run reuses it.
//
// N entries give 2 N journal lines (a debit and a credit line each).
#include <cstdio>
#include <stdexcept>
#include <vector>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include "acccalc/AccCalc.h"
#include "acccalc/AccCalcEnv.h"
#include "acctables/AccCodeTable.h"
#include "common/AccRecord.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "fixtures/CompanyFixture.h"
#include "fixtures/FixtureBuilder.h"
#include "fixtures/SampleData.h"
#include "tests/support/PairedRounds.h"

namespace {

int argValue(const QStringList& args, const char* name, int def)
{
  const int i = args.indexOf(QString::fromLatin1(name));
  return (i >= 0 && i + 1 < args.size()) ? args[i + 1].toInt() : def;
}

void exec(db::Database& d, const QString& sql)
{
  db::Transaction tr(d);
  tr.start();
  db::Query q(tr);
  q.setParamCheck(false);
  q.setSql(sql);
  q.exec();
  tr.commit();
}

// Extra accounts X000.. over balance-sheet and profit-and-loss groups, with
// (index mod (subs + 1)) sub-accounts each.
void addAccounts(db::Database& d, int count, int subs)
{
  struct G {
    const char* group;
    int dac;
    const char* bp;
  };
  static const G groups[] = {{"1100", 1, "B"}, {"1200", 1, "B"}, {"1400", 1, "B"}, {"2100", 1, "B"},
                             {"3100", 3, "B"}, {"3400", 3, "B"}, {"4100", 3, "P"}, {"5200", 1, "P"},
                             {"6100", 1, "P"}, {"7100", 3, "P"}, {"7200", 1, "P"}};
  db::Transaction tr(d);
  tr.start();
  db::Query a(tr);
  a.setSql(QStringLiteral(
      "INSERT INTO KAMOKUMST (KCODE, USERCODE, REC, GROUPM0, GROUPM1, GROUPM2, GROUPR1, GROUPR2, GROUPM3, "
      "KNAME, DAC, BLDAC, BPFLG, \"USE\") VALUES (:K, :U, :R, :G, :G, :G, :G, :G, :G, :N, :D, :D, :B, 1)"));
  db::Query h(tr);
  h.setSql(QStringLiteral("INSERT INTO HOJOMST (KCODE, HCODE, REC, HNAME) VALUES (:K, :H, :R, :N)"));
  for (int i = 0; i < count; ++i) {
    const G& g = groups[i % std::size(groups)];
    const QString k = QStringLiteral("X%1").arg(i, 3, 10, QLatin1Char('0'));
    a.setParam(QStringLiteral("K"), k);
    a.setParam(QStringLiteral("U"), QStringLiteral("Y%1").arg(i, 3, 10, QLatin1Char('0')));
    a.setParam(QStringLiteral("R"), 1000 + i);
    a.setParam(QStringLiteral("G"), QString::fromLatin1(g.group));
    a.setParam(QStringLiteral("N"), QStringLiteral("科目%1").arg(i));
    a.setParam(QStringLiteral("D"), g.dac);
    a.setParam(QStringLiteral("B"), QString::fromLatin1(g.bp));
    a.exec();
    for (int j = 0; j < i % (subs + 1); ++j) {
      h.setParam(QStringLiteral("K"), k);
      h.setParam(QStringLiteral("H"), QStringLiteral("%1").arg(j + 1, 3, 10, QLatin1Char('0')));
      h.setParam(QStringLiteral("R"), j + 1);
      h.setParam(QStringLiteral("N"), QStringLiteral("補助%1").arg(j + 1));
      h.exec();
    }
  }
  tr.commit();
}

// Journal entries between the extra accounts, in blocks run by the server.
void addJournal(db::Database& d, int entries, int accounts, int subs)
{
  const int block = 25000;
  for (int from = 0; from < entries; from += block) {
    const int to = std::min(entries, from + block);
    exec(d, QStringLiteral(
                "EXECUTE BLOCK AS "
                "DECLARE I INTEGER = %1; DECLARE DA INTEGER; DECLARE CA INTEGER; DECLARE DK VARCHAR(20); "
                "DECLARE CK VARCHAR(20); DECLARE DH VARCHAR(20); DECLARE CH VARCHAR(20); DECLARE M INTEGER; "
                "DECLARE S VARCHAR(20); DECLARE AMT NUMERIC(18,4); DECLARE NS INTEGER; "
                "BEGIN "
                "  WHILE (I < %2) DO BEGIN "
                "    DA = MOD(I * 7, %3); CA = MOD(I * 13 + 5, %3); "
                "    IF (CA = DA) THEN CA = MOD(CA + 1, %3); "
                "    DK = 'X' || LPAD(DA, 3, '0'); CK = 'X' || LPAD(CA, 3, '0'); "
                "    NS = MOD(DA, %4 + 1); DH = IIF(NS = 0 OR MOD(I, 5) = 0, '', LPAD(MOD(I, NS) + 1, 3, '0')); "
                "    NS = MOD(CA, %4 + 1); CH = IIF(NS = 0, '', LPAD(MOD(I / 3, NS) + 1, 3, '0')); "
                "    M = MOD(I, 16) + 1; S = IIF(MOD(I, 2) = 0, '01', '02'); "
                "    AMT = MOD(I * 37, 100000) + 1 + MOD(I, 7) / 4.0; "
                "    INSERT INTO SIWAKE (SWKREC, DELFLG, TAISHAKU, HIZUKE, MNUM, SCODE, KCODE, HCODE, BCODE, NUK, ZEI, "
                "TAXUH, R_KCODE) "
                "      VALUES (:I + 1, 0, 1, DATE '2024-04-01', :M, :S, :DK, :DH, '', :AMT, 0, 0, :CK); "
                "    INSERT INTO SIWAKE (SWKREC, DELFLG, TAISHAKU, HIZUKE, MNUM, SCODE, KCODE, HCODE, BCODE, NUK, ZEI, "
                "TAXUH, R_KCODE) "
                "      VALUES (:I + 1, 0, 2, DATE '2024-04-01', :M, :S, :CK, :CH, '', :AMT, 0, 0, :DK); "
                "    I = I + 1; "
                "  END "
                "END")
                .arg(from)
                .arg(to)
                .arg(accounts)
                .arg(subs));
  }
}

// The result-line names are chosen by ACCTOTALNAME.MODIFY; a database
// without the column gets it (0: the plain name).
void ensureTotalNameModify(db::Database& d)
{
  db::Transaction tr(d);
  tr.start();
  db::Query q(tr, QStringLiteral("SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = 'ACCTOTALNAME' "
                                 "AND RDB$FIELD_NAME = 'MODIFY'"));
  q.open();
  const bool has = q.field(0).asInt() > 0;
  q.close();
  tr.commit();
  if (!has)
    exec(d, QStringLiteral("ALTER TABLE ACCTOTALNAME ADD MODIFY INTEGER DEFAULT 0"));
}

}  // namespace

int main(int argc, char** argv)
{
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  const int entries = argValue(args, "--entries", 250000);
  const int accounts = argValue(args, "--accounts", 400);
  const int subs = argValue(args, "--subs", 20);
  const int keepAt = args.indexOf(QStringLiteral("--keep"));

  QTemporaryDir tmp;
  const QString folder = keepAt >= 0 && keepAt + 1 < args.size() ? args[keepAt + 1] : tmp.path();
  QDir().mkpath(folder);
  const QString path = QDir(folder).absoluteFilePath(QStringLiteral("wqacc2.fdb"));

  try {
    fixtures::FixtureBuilder::prepareEmbeddedEngine();
    fixtures::FixtureBuilder builder;
    db::Database d;
    QElapsedTimer build;
    build.start();
    if (!QFile::exists(path)) {
      builder.createCompanyDatabase(path, fixtures::CompanyKind::General);
      builder.open(d, path);
      fixtures::CompanyFixture fx(d);
      fixtures::sample::fillCompany(fx, fixtures::CompanyKind::General);
      // The sample chart has 35 accounts; the rest are added.
      addAccounts(d, std::max(0, accounts - 35), subs);
      addJournal(d, entries, std::max(1, accounts - 35), subs);
    } else {
      builder.open(d, path);
    }
    ensureTotalNameModify(d);
    {
      db::Transaction tr(d);
      tr.start();
      db::Query q(tr, QStringLiteral("SELECT (SELECT COUNT(*) FROM KAMOKUMST), (SELECT COUNT(*) FROM HOJOMST), "
                                     "(SELECT COUNT(*) FROM SIWAKE) FROM RDB$DATABASE"));
      q.open();
      std::printf("database: %s\naccounts %d, sub-accounts %d, journal lines %d (built in %.1f s)\n", qPrintable(path),
                  q.field(0).asInt(), q.field(1).asInt(), q.field(2).asInt(), build.elapsed() / 1000.0);
      tr.commit();
    }

    AccInf.DATATYPE = 1;
    AccInf.CODETYPE = 1;
    AccInf.ZaimuDataType = jxztBasic;
    AccInf.KAISINO = 1;
    pcSetKamokuCodeTable(false);
    db::Transaction snapshot(d, db::Transaction::Snapshot);
    db::Transaction main(d, db::Transaction::ReadCommitted);
    SetAccCalcDatabase({&snapshot, &main});

    const int rounds = std::max(1, argValue(args, "--rounds", 5));
    std::vector<double> calcMs;
    int rows = 0;
    // The procedure alone: every record fetched.
    auto procedureAlone = [&]() {
      snapshot.start();
      db::Query q(snapshot, QStringLiteral("SELECT * From SP_SISANHYO( :TAX, '' ,'' ) "));
      q.setParam(QStringLiteral("TAX"), 0);
      rows = 0;
      for (q.open(); !q.eof(); q.next())
        ++rows;
      q.close();
      snapshot.commit();
    };
    // The whole reading and the computation of the year.
    auto readingAndComputation = [&]() {
      TBalanceArray balance(static_cast<std::size_t>(fnBalanceRecMax()));
      TQSortArray keys(balance.size());
      if (!pcSisanhyoRead(balance, keys, QStringLiteral(" "), QStringLiteral(" "), 0, 0, 0, 2, 0, 0, 0))
        throw std::runtime_error("the reading failed");
      QElapsedTimer c;
      c.start();
      pcBalanceCalcu(balance, 0, 0, 1, 16, 0);
      calcMs.push_back(c.nsecsElapsed() / 1e6);
    };
    const bench::PairedResult r = bench::runPaired(rounds, procedureAlone, readingAndComputation);
    SetAccCalcDatabase({});
    std::printf("records returned by the procedure: %d\n", rows);
    bench::printPaired(r, "trial-balance procedure alone", "reading plus computation");
    std::printf("of which the range computation: median %.1f ms\n", bench::median(calcMs));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "benchmark failed: %s\n", e.what());
    return 1;
  }
  return 0;
}
