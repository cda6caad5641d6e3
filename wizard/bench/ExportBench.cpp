// Export benchmark: on a large general company database, measures the
// trial-balance procedure alone against the whole finish of the wizard
// (reading, range computation, XML document, code page 932, save).
//
//   rendo_wizard_bench --database PATH [--rounds N]
//
// PATH is a company database such as the one the computation benchmark
// leaves behind: rendo_acccalc_bench --keep DIR gives DIR/wqacc2.fdb.
#include <cstdio>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "acccalc/AccCalcEnv.h"
#include "acctables/AccCodeTable.h"
#include "common/AccRecord.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "fixtures/FixtureBuilder.h"
#include "fixtures/SampleData.h"
#include "tests/support/PairedRounds.h"
#include "wizard/Ug13.h"

int main(int argc, char** argv)
{
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  const int dbAt = args.indexOf(QStringLiteral("--database"));
  const int roundsAt = args.indexOf(QStringLiteral("--rounds"));
  if (dbAt < 0 || dbAt + 1 >= args.size()) {
    std::fprintf(stderr, "usage: rendo_wizard_bench --database PATH [--rounds N]\n");
    return 1;
  }
  const QString path = QFileInfo(args[dbAt + 1]).absoluteFilePath();
  const int rounds = roundsAt >= 0 && roundsAt + 1 < args.size() ? std::max(1, args[roundsAt + 1].toInt()) : 5;

  // The export's settings file and registry look-up stay in a folder of ours.
  QTemporaryDir tmp;
  qputenv("RENDO_DATA_ROOT", tmp.filePath(QStringLiteral("common")).toLocal8Bit());
  qputenv("RENDO_REGISTRY_FILE", tmp.filePath(QStringLiteral("hklm.ini")).toLocal8Bit());

  try {
    fixtures::FixtureBuilder::prepareEmbeddedEngine();
    fixtures::FixtureBuilder builder;
    db::Database d;
    builder.open(d, path);

    AccInf.DATATYPE = 1;
    AccInf.CODETYPE = 1;
    AccInf.ZaimuDataType = jxztBasic;
    AccInf.KAISINO = 1;
    AccInf.KISHU = FromQDate(fixtures::sample::fiscalStart());
    AccInf.KIMATU = FromQDate(fixtures::sample::fiscalStart().addYears(1).addDays(-1));
    pcSetKamokuCodeTable(false);
    db::Transaction snapshot(d, db::Transaction::Snapshot);
    db::Transaction main(d, db::Transaction::ReadCommitted);
    SetAccCalcDatabase({&snapshot, &main});

    const QString out = tmp.filePath(QStringLiteral("out.xml"));
    // The procedure alone: every record fetched.
    auto procedureAlone = [&] {
      snapshot.start();
      db::Query q(snapshot, QStringLiteral("SELECT * From SP_SISANHYO( :TAX, '' ,'' ) "));
      q.setParam(QStringLiteral("TAX"), 0);
      for (q.open(); !q.eof(); q.next()) {
      }
      q.close();
      snapshot.commit();
    };
    // The whole finish: reading, computation, document and the saved file.
    auto wholeFinish = [&] {
      TUtiwakesyoDataExport exp(QString(), out, 1);
      exp.KOMONSAKI = fixtures::sample::companyName(fixtures::CompanyKind::General);
      exp.JIGYONENDOFROM = AccInf.KISHU;
      exp.JIGYONENDOTO = AccInf.KIMATU;
      exp.DataKUB1 = 1;
      exp.KikanFrom = 0;
      exp.KikanTo = 15;
      exp.LastNo = 15;
      pcRendoWriteImportFile(exp, out);
    };
    const bench::PairedResult r = bench::runPaired(rounds, procedureAlone, wholeFinish);
    SetAccCalcDatabase({});
    std::printf("import file: %lld bytes\n", static_cast<long long>(QFileInfo(out).size()));
    bench::printPaired(r, "trial-balance procedure alone", "whole finish (file written)");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "benchmark failed: %s\n", e.what());
    return 1;
  }
  return 0;
}
