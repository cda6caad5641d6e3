// Backup and restore benchmark: on a company database of at least the given
// size (built here, in a temporary folder), one backup and one restore
// through the backup worker against the same two runs of gbak alone on the
// same file, in paired rounds.
//
//   rendo_backup_bench [--size-mb N] [--rounds N] [--keep DIR]
//
// Default 200 MB and 3 rounds. With --keep the database is built in DIR (and
// reused from there when it is already big enough).
#include <cstdio>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "common/AccFunction2.h"
#include "common/AccRecord.h"
#include "common/BackupRestoreThread.h"
#include "common/DataModule.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "fixtures/FixtureBuilder.h"
#include "tests/support/PairedRounds.h"

namespace {

int argValue(const QStringList& args, const char* name, int fallback)
{
  const int at = args.indexOf(QString::fromLatin1(name));
  return at >= 0 && at + 1 < args.size() ? args[at + 1].toInt() : fallback;
}

// Grows the company database with rows of journal-sized records until the
// file holds at least `bytes`.
void grow(const fixtures::FixtureBuilder& builder, const QString& path, qint64 bytes)
{
  db::Database d;
  builder.open(d, path);
  {
    db::Transaction tr(d);
    tr.start();
    db::Query q(tr, QStringLiteral("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME='BENCH_FILLER'"));
    q.open();
    const bool exists = q.field(0).asInt() > 0;
    q.close();
    if (!exists) {
      db::Query c(tr, QStringLiteral("CREATE TABLE BENCH_FILLER (ID INTEGER NOT NULL PRIMARY KEY, "
                                     "HIZUKE DATE, KINGAKU NUMERIC(18,4), TEKIYO VARCHAR(400), MEMO VARCHAR(400))"));
      c.exec();
    }
    tr.commit();
  }
  int next = 0;
  while (QFileInfo(path).size() < bytes) {
    db::Transaction tr(d);
    tr.start();
    // The start number is this program's own counter; the block's body
    // goes to the server as it stands.
    db::Query q(tr, QStringLiteral("EXECUTE BLOCK AS DECLARE I INTEGER = 0; DECLARE S INTEGER = %1; BEGIN "
                                   "WHILE (I < 50000) DO BEGIN "
                                   "INSERT INTO BENCH_FILLER VALUES(:S + :I, DATEADD(MOD(:I, 365) DAY TO "
                                   "DATE '2024-04-01'), (:S + :I) * 1.2345, "
                                   "'摘要 ' || (:S + :I) || LPAD('', 150, 'x'), LPAD('', 200, 'm')); "
                                   "I = I + 1; END END")
                        .arg(next));
    q.setParamCheck(false);
    q.exec();
    tr.commit();
    next += 50000;
    std::printf("\rbuilding: %lld MB", static_cast<long long>(QFileInfo(path).size() / (1024 * 1024)));
    std::fflush(stdout);
  }
  std::printf("\n");
}

bool gbak(const QStringList& args)
{
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("ISC_USER"), SystemDef.IBUSER);
  env.insert(QStringLiteral("ISC_PASSWORD"), SystemDef.PASWORD);
  p.setProcessEnvironment(env);
  p.start(TDM::fnGBakTool(), args);
  return p.waitForFinished(-1) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

}  // namespace

int main(int argc, char** argv)
{
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  const qint64 sizeMb = std::max(1, argValue(args, "--size-mb", 200));
  const int rounds = std::max(1, argValue(args, "--rounds", 3));
  const int keepAt = args.indexOf(QStringLiteral("--keep"));
  QTemporaryDir tmp;
  const QString dir = keepAt >= 0 && keepAt + 1 < args.size() ? QDir(args[keepAt + 1]).absolutePath() : tmp.path();

  pcAccRecordReset();
  SystemDef.IBUSER = QStringLiteral("ABACOR");
  SystemDef.PASWORD = QStringLiteral("dormil");
  SystemDef.TEMP = dir + QStringLiteral("/temp");
  SystemDef.LOG = dir + QStringLiteral("/log");
  QDir().mkpath(SystemDef.TEMP);
  QDir().mkpath(SystemDef.LOG);
  AppType = jxatSA;

  fixtures::FixtureBuilder::prepareEmbeddedEngine();
  fixtures::FixtureBuilder builder;
  builder.setForcedWrites(false);
  const QString source = dir + QStringLiteral("/source/") + AccDataFile;
  const QString gbakTarget = dir + QStringLiteral("/gbak/") + AccDataFile;
  const QString oursTarget = dir + QStringLiteral("/ours/") + AccDataFile;
  for (const QString& f : {source, gbakTarget, oursTarget})
    QDir().mkpath(QFileInfo(f).path());
  try {
    if (!QFileInfo::exists(source))
      builder.createCompanyDatabase(source, fixtures::CompanyKind::General);
    grow(builder, source, sizeMb * 1024 * 1024);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "cannot build the database: %s\n", e.what());
    return 1;
  }
  std::printf("company database: %lld MB\n", static_cast<long long>(QFileInfo(source).size() / (1024 * 1024)));

  TDM dm;
  DM = &dm;
  bool failed = false;
  const QString gbakFile = dir + QStringLiteral("/gbak.fbk");
  const QString oursFile = dir + QStringLiteral("/ours.fbk");
  auto gbakAlone = [&] {
    failed |= !gbak(
        {QStringLiteral("-b"), QStringLiteral("-g"), QStringLiteral("-l"), QStringLiteral("-nt"), source, gbakFile});
    failed |= !gbak({QStringLiteral("-rep"), QStringLiteral("-bu"), QStringLiteral("4096"), QStringLiteral("-p"),
                     QStringLiteral("16384"), gbakFile, gbakTarget});
  };
  auto ours = [&] {
    TBackupRestoreThread b(true);
    b.SetProcType(0);
    b.SetDataBaseName(source);
    b.SetFileName(oursFile);
    b.SetAddZaimuInf(true);
    b.Inf_Shougou = QStringLiteral("ベンチマーク株式会社");
    b.Inf_DataVersion = QStringLiteral("17.0.0");
    b.Resume();
    while (!b.TerminatedFlg())
      fnWaitMSec(20);
    failed |= !b.Result();
    TBackupRestoreThread r(true);
    r.GetZaimuInfFromBackupFile(oursFile);
    r.SetProcType(1);
    r.SetDataBaseName(oursTarget);
    r.SetFileName(oursFile);
    r.SetRestoreIndex(true);
    r.Resume();
    while (!r.TerminatedFlg())
      fnWaitMSec(20);
    failed |= !r.Result();
  };
  const bench::PairedResult result = bench::runPaired(rounds, gbakAlone, ours);
  bench::printPaired(result, "gbak alone", "backup worker", 1.05);
  DM = nullptr;
  if (failed) {
    std::fprintf(stderr, "a backup or restore failed\n");
    return 1;
  }
  return 0;
}
