// Journal import benchmark: a journal text file of N lines (default 200,000)
// imported through the journal import against a bare loop of one prepared
// insert per row storing the same entries into the same tables (two journal
// lines and the link row per entry) through the database layer, in paired
// rounds on one sample company database.
//
//   rendo_journal_import_bench [--lines N] [--rounds N]
//
// Printed: both times per round and the speed of the import as a share of
// the bare loop's speed (target at least 0.7). Run it from a build without
// the sanitizers: the engine runs inside the process.
#include <cstdio>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "acctables/AccKikan.h"
#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "fixtures/FixtureBuilder.h"
#include "fixtures/SampleData.h"
#include "maint/SiwakeTextIO.h"
#include "platform/Format.h"
#include "tests/support/PairedRounds.h"

namespace {

int argValue(const QStringList& args, const char* name, int fallback)
{
  const int at = args.indexOf(QString::fromLatin1(name));
  return at >= 0 && at + 1 < args.size() ? args[at + 1].toInt() : fallback;
}

// Entries spread over the fiscal year, as a year's journal is.
TDateTime dateOf(int i)
{
  return EncodeDate(2024, 4, 1) + i % 365;
}

QString lineOf(int i)
{
  const QStringList c{FormatDateTime(QStringLiteral("yyyy/mm/dd"), dateOf(i)),
                      "0",
                      QString::number(i),
                      "0",
                      "01",
                      "",
                      "111",
                      " ",
                      "",
                      "910",
                      "",
                      "411",
                      " ",
                      "",
                      "910",
                      QString::number(1000 + i % 5000),
                      "0",
                      "0",
                      "0",
                      "0",
                      "0",
                      QStringLiteral("\"摘要%1\"").arg(i),
                      "\"\"",
                      "0",
                      "0",
                      "\"\"",
                      "\"\"",
                      "\"0\"",
                      "",
                      "2024/06/10"};
  return c.join(QLatin1Char('\t'));
}

}  // namespace

int main(int argc, char** argv)
{
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  const int lines = argValue(args, "--lines", 200000);
  const int rounds = argValue(args, "--rounds", 1);

  QTemporaryDir tmp;
  const QString dir = tmp.path();
  pcAccRecordReset();
  SystemDef.IBUSER = QStringLiteral("ABACOR");
  SystemDef.PASWORD = QStringLiteral("dormil");
  SystemDef.LOG = dir + QStringLiteral("/log");
  SystemDef.TEMP = dir + QStringLiteral("/temp");
  SystemDef.GROUPID = fixtures::sample::GroupId;
  SystemDef.OPCODE = fixtures::sample::loginCode(fixtures::sample::OperatorCode);
  SystemDef.OPSCODE = QStringLiteral("01");
  SystemDef.SystemDBVerMajor = 12;
  QDir().mkpath(SystemDef.LOG);
  QDir().mkpath(SystemDef.TEMP);

  fixtures::FixtureBuilder::prepareEmbeddedEngine();
  fixtures::FixtureBuilder builder;
  builder.setForcedWrites(false);
  const QString rootDir = dir + QStringLiteral("/root");
  QDir().mkpath(rootDir);
  const fixtures::sample::DataRoot root = fixtures::sample::buildDataRoot(builder, rootDir);
  SystemDef.IBPATHDEF = root.root;
  const QString folder = root.dataSets.at(0).folder;

  TDM dm;
  if (!dm.fnAccDefConnected(QString(), true) || !dm.fnAccDatConnected(QString(), folder, false) || !dm.fnGetAccInfo()) {
    std::fprintf(stderr, "cannot open the sample company\n");
    return 1;
  }

  const QString path = dir + QStringLiteral("/journal.txt");
  {
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    QByteArray all = AccInf.SHOUGOU.toUtf8() + "\r\n";
    for (int i = 1; i <= lines; ++i)
      all += lineOf(i).toUtf8() + "\r\n";
    f.write(all);
  }
  std::printf("%d journal lines\n", lines);

  auto ours = [&]() {
    TSiwakeTextIO io;
    io.SetIBTransaction(&dm.IBTransactionDAT);
    io.SetSCODE(QStringLiteral("01"));
    io.SetSeparator(QStringLiteral("\t"));
    io.SetWriteLock(false);
    if (!io.fnSiwakeInput(path, QStringLiteral("\t")) || io.OKCount() != lines)
      std::fprintf(stderr, "import stored %d of %d lines\n", io.OKCount(), lines);
    if (dm.IBTransactionDAT.inTransaction())
      dm.IBTransactionDAT.commit();
  };

  auto base = [&]() {
    db::Transaction tr(dm.IBDatabaseDAT);
    tr.start();
    db::Query line(
        tr, QStringLiteral(
                "INSERT INTO SIWAKE (REC, SWKREC, SWKNO, DELFLG, TAISHAKU, HIZUKE, MNUM, KESSAN, DNUM, SNUM, "
                "SDAYNUM, SCODE, KGROUP, KCODE, HCODE, BCODE, KNAME, HNAME, BNAME, TAXCODE, R_KGROUP, R_KCODE, "
                "R_HCODE, R_BCODE, R_KNAME, R_TAXCODE, KINGAKU, ZEIGAKU, TAXCALCU, TEKTEXT, TORTEXT, "
                "COMMENT, AO_COMMENT, LINKKEY, LINKKUB, LINKREC, RTIME, OPCODE) VALUES (GEN_ID(GEN_SIWAKE_REC, "
                "1), :SWKREC, :SWKREC, 0, :TAISHAKU, :HIZUKE, :MNUM, 0, :DNUM, 0, 1, '01', :KGROUP, :KCODE, ' ', "
                "'', :KNAME, '', '', 910, :R_KGROUP, :R_KCODE, ' ', '', :R_KNAME, 910, :KINGAKU, 0, 2, "
                ":TEKTEXT, '', '', '', '', 0, 0, CURRENT_TIMESTAMP, :OPCODE)"));
    db::Query link(tr,
                   QStringLiteral("INSERT INTO SIWAKE2 (SWKREC, REC, LINKKUB, LINKREC, LINKKEY) VALUES (:SWKREC, 0, "
                                  "0, 0, '')"));
    db::Query gen(tr, QStringLiteral("SELECT GEN_ID(GEN_SIWAKE_SWKREC, 1) FROM RDB$DATABASE"));
    for (int i = 1; i <= lines; ++i) {
      gen.open();
      const int swkrec = gen.field(0).asInt();
      gen.close();
      for (int side = 1; side <= 2; ++side) {
        line.setParam(QStringLiteral("SWKREC"), swkrec);
        line.setParam(QStringLiteral("TAISHAKU"), side);
        line.setParamDateTime(QStringLiteral("HIZUKE"), dateOf(i));
        line.setParam(QStringLiteral("MNUM"), fnKikanNo(AccInf.SIME, 0, AccInf.KISHU, AccInf.KIMATU, dateOf(i)));
        line.setParam(QStringLiteral("DNUM"), 1000000 + i);
        line.setParam(QStringLiteral("KGROUP"), side == 1 ? QStringLiteral("1110") : QStringLiteral("3510"));
        line.setParam(QStringLiteral("KCODE"),
                      side == 1 ? fixtures::sample::acc::Genkin : fixtures::sample::acc::Shihon);
        line.setParam(QStringLiteral("KNAME"), side == 1 ? QStringLiteral("現金") : QStringLiteral("資本金"));
        line.setParam(QStringLiteral("R_KGROUP"), side == 2 ? QStringLiteral("1110") : QStringLiteral("3510"));
        line.setParam(QStringLiteral("R_KCODE"),
                      side == 2 ? fixtures::sample::acc::Genkin : fixtures::sample::acc::Shihon);
        line.setParam(QStringLiteral("R_KNAME"), side == 2 ? QStringLiteral("現金") : QStringLiteral("資本金"));
        line.setParam(QStringLiteral("KINGAKU"), Currency::fromInt(1000 + i % 5000));
        line.setParam(QStringLiteral("TEKTEXT"), QStringLiteral("摘要%1").arg(i));
        line.setParam(QStringLiteral("OPCODE"), SystemDef.OPCODE);
        line.exec();
      }
      link.setParam(QStringLiteral("SWKREC"), swkrec);
      link.exec();
    }
    tr.commit();
  };

  const bench::PairedResult result = bench::runPaired(rounds, base, ours);
  bench::printPaired(result, "bare prepared inserts", "journal import");
  const double speed = result.medianOursMs() > 0 ? result.medianBaseMs() / result.medianOursMs() : 0;
  std::printf("import speed as a share of the bare loop's: %.3f (target at least 0.7)\n", speed);
  dm.fnAccDatDisConnected(folder, false, false, false);
  return 0;
}
