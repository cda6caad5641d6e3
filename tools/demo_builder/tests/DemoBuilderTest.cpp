// The demo builder makes a complete stand-alone installation, runs twice
// without harm, and never leaves a half-built folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include "common/AppInfo.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "fixtures/FixtureError.h"
#include "platform/IniFile.h"
#include "platform/Registry.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TempDir.h"
#include "tools/demo_builder/DemoBuilder.h"

namespace {

QByteArray readAll(const QString& path)
{
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList leftovers(const QString& parent)
{
  return QDir(parent).entryList({QStringLiteral("*.building-*")},
                                QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

TEST(DemoBuilder, BuildsACompleteInstallationAndKeepsItOnTheSecondRun)
{
  testfx::prepareEngine();
  TestTempDir tmp;
  DemoOptions o;
  o.folder = tmp.file(QStringLiteral("my demo ～①"));
  o.programDir = tmp.file(QStringLiteral("prog"));
  QDir().mkpath(o.programDir);

  const DemoResult first = DemoBuilder::build(o);
  EXPECT_TRUE(first.built);
  ASSERT_EQ(first.dataSets.size(), 3);
  EXPECT_TRUE(leftovers(tmp.path()).isEmpty());

  // The system database lists the data sets at their final folders.
  const QString sysDb = first.dataDir + QStringLiteral("/wqaccdef2.fdb");
  ASSERT_TRUE(QFileInfo::exists(sysDb));
  {
    db::Database d;
    testfx::builder().open(d, sysDb);
    db::Transaction tr(d);
    tr.start();
    db::Query q(tr, QStringLiteral("SELECT REC, PASNAME, DATATYPE FROM DATALIST WHERE ENTTEXT <> '' ORDER BY REC"));
    int n = 0;
    QList<int> kinds;
    for (q.open(); !q.eof(); q.next()) {
      ++n;
      const QString folder = q.field(QStringLiteral("PASNAME")).asString();
      EXPECT_TRUE(folder.startsWith(o.folder)) << folder.toStdString();
      EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/wqacc2.fdb"))) << folder.toStdString();
      kinds << q.field(QStringLiteral("DATATYPE")).asInt();
    }
    q.close();
    db::Query op(tr, QStringLiteral("SELECT NUM FROM LOGONUSERTEST(:PCNAME,:GROUPID,:OPCODE,2,:PASWORD)"));
    op.setParam(QStringLiteral("PCNAME"), QStringLiteral("demo-test"));
    op.setParam(QStringLiteral("GROUPID"), first.groupId);
    op.setParam(QStringLiteral("OPCODE"), first.operatorCode);
    op.setParam(QStringLiteral("PASWORD"), first.operatorPassword);
    op.open();
    EXPECT_EQ(op.field(QStringLiteral("NUM")).asInt(), 0);
    op.close();
    tr.rollback();
    EXPECT_EQ(n, 3);
    EXPECT_TRUE(kinds.contains(1) && kinds.contains(3));
  }
  // A year of journal lines in each company database, and the folder's settings file.
  for (const auto& ds : first.dataSets) {
    IniFile folderIni(ds.folder + QStringLiteral("/wqacc2.ini"));
    EXPECT_EQ(folderIni.ReadInteger(QStringLiteral("DATASTS"), QStringLiteral("STATUS")), 1);
    EXPECT_EQ(folderIni.ReadString(QStringLiteral("DATAINFO"), QStringLiteral("SHOUGOU")), ds.shougou);
    const int entries = folderIni.ReadInteger(QStringLiteral("DATAINFO"), QStringLiteral("SIWAKE"));
    db::Database d;
    testfx::builder().open(d, ds.database);
    db::Transaction tr(d);
    tr.start();
    db::Query q(tr,
                QStringLiteral(
                    "SELECT COUNT(DISTINCT MNUM) AS M, COUNT(*) AS N FROM SIWAKE WHERE DELFLG = 0 AND TAISHAKU = 1"));
    q.open();
    EXPECT_EQ(q.field(QStringLiteral("M")).asInt(), 12) << ds.database.toStdString();
    EXPECT_GT(q.field(QStringLiteral("N")).asInt(), 200);
    EXPECT_EQ(q.field(QStringLiteral("N")).asInt(), entries);
    q.close();
    tr.commit();
  }

  // Settings files with their encodings and keys.
  const QString appData = o.folder + QStringLiteral("/common/") + DemoBuilder::homeDir();
  const QByteArray local = readAll(appData + QStringLiteral("/wqzaimu.ini"));
  ASSERT_GE(local.size(), 2);
  EXPECT_EQ(quint8(local[0]), 0xFF);
  EXPECT_EQ(quint8(local[1]), 0xFE);
  IniFile localIni(appData + QStringLiteral("/wqzaimu.ini"));
  EXPECT_EQ(localIni.ReadString(QStringLiteral("application"), QStringLiteral("CONNECT")), QStringLiteral("0"));
  EXPECT_EQ(localIni.ReadString(QStringLiteral("LOCAL"), QStringLiteral("SYSDIR")), first.dataDir);
  EXPECT_EQ(localIni.ReadString(QStringLiteral("LOCAL"), QStringLiteral("USER")), QStringLiteral("ABACOR"));

  IniFile link(appData + QStringLiteral("/ini/Gensyou.ini"));
  EXPECT_EQ(link.readEncoding(), IniFile::Encoding::Cp932);
  EXPECT_EQ(link.ReadString(QStringLiteral("UTIWAKESYO"), QStringLiteral("KOMONSAKI")),
            fixtures::sample::companyName(fixtures::CompanyKind::General));

  Registry reg(o.folder + QStringLiteral("/registry.ini"));
  ASSERT_TRUE(reg.isLoaded());
  const QStringList keys = reg.GetKeyNames(DemoBuilder::comRegKey());
  ASSERT_EQ(keys.size(), 1);
  EXPECT_TRUE(keys.first().toLower().contains(QStringLiteral("abacorzaimu17")));
  EXPECT_EQ(reg.ReadString(DemoBuilder::comRegKey() + QLatin1Char('\\') + keys.first(), QStringLiteral("Version"))
                .section(QLatin1Char('.'), 0, 0),
            QStringLiteral("17"));

  IniFile appInfo(o.programDir + QStringLiteral("/AppInfo.ini"));
  EXPECT_EQ(appInfo.ReadString(QStringLiteral("Application"), QStringLiteral("OEM")), QStringLiteral("STANDARD"));
  EXPECT_EQ(appInfo.ReadString(QStringLiteral("Zaimu"), QStringLiteral("HomeDir")), DemoBuilder::homeDir());
  EXPECT_EQ(readAll(o.folder + QStringLiteral("/AppInfo.ini")), readAll(o.programDir + QStringLiteral("/AppInfo.ini")));
  // The program's reader takes it whole.
  TAppInfoRec rec;
  ASSERT_EQ(fnReadAppInfoIni(o.programDir + QStringLiteral("/rendo"), rec), AppInfoRead);
  EXPECT_EQ(rec.HomeDir, DemoBuilder::homeDir());
  EXPECT_EQ(rec.ComRegKey, DemoBuilder::comRegKey());
  EXPECT_EQ(rec.RegKey, DemoBuilder::productRegKey());
  EXPECT_EQ(rec.AppName, DemoBuilder::appName());
  EXPECT_EQ(rec.DataDefFile, QStringLiteral("wqaccdef2.fdb"));

  const QString env = QString::fromUtf8(readAll(first.envFile));
  EXPECT_TRUE(env.contains(QStringLiteral("export RENDO_DATA_ROOT='%1/common'").arg(o.folder)));
  EXPECT_TRUE(env.contains(QStringLiteral("export RENDO_REGISTRY_FILE='%1/registry.ini'").arg(o.folder)));

  // Second run: nothing changes.
  const QByteArray sysBytes = readAll(sysDb);
  const DemoResult second = DemoBuilder::build(o);
  EXPECT_FALSE(second.built);
  EXPECT_EQ(second.dataDir, first.dataDir);
  EXPECT_EQ(readAll(sysDb), sysBytes);
  EXPECT_TRUE(leftovers(tmp.path()).isEmpty());

  // Rebuild: a fresh demo in the same place.
  o.rebuild = true;
  const DemoResult third = DemoBuilder::build(o);
  EXPECT_TRUE(third.built);
  EXPECT_TRUE(QFileInfo::exists(sysDb));
  EXPECT_TRUE(leftovers(tmp.path()).isEmpty());
}

TEST(DemoBuilder, WritesAppInfoBesideTheProgramOnlyWhenMissingOrItsOwn)
{
  testfx::prepareEngine();
  TestTempDir tmp;
  DemoOptions o;
  o.folder = tmp.file(QStringLiteral("demo"));
  o.programDir = tmp.file(QStringLiteral("prog"));
  QDir().mkpath(o.programDir);
  const QString target = o.programDir + QStringLiteral("/AppInfo.ini");
  auto put = [&](const QByteArray& bytes) {
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
  };
  const QByteArray own = DemoBuilder::appInfoIni();
  const QByteArray foreign = QByteArrayLiteral("[Zaimu]\r\nHomeDir=installed\\elsewhere\r\n");
  const QByteArray legacy = own.mid(own.indexOf('\n') + 1);  // the builder's content before the mark
  QByteArray editedOwn = own;
  editedOwn.replace("OEM=STANDARD", "OEM=CHANGED");

  struct Case {
    const char* what;
    QByteArray before;  // empty: no file
    bool rewritten;
  } cases[] = {
      {"missing", QByteArray(), true},
      {"another installation's file", foreign, false},
      {"the builder's file from before the mark", legacy, true},
      {"the builder's file edited below its mark", editedOwn, true},
  };
  for (const Case& c : cases) {
    if (c.before.isEmpty())
      QFile::remove(target);
    else
      put(c.before);
    const DemoResult r = DemoBuilder::build(o);
    if (c.rewritten) {
      EXPECT_EQ(readAll(target), own) << c.what;
      EXPECT_EQ(r.appInfoBesideProgram, target) << c.what;
      EXPECT_TRUE(r.appInfoKept.isEmpty()) << c.what;
    } else {
      EXPECT_EQ(readAll(target), c.before) << c.what;
      EXPECT_TRUE(r.appInfoBesideProgram.isEmpty()) << c.what;
      EXPECT_EQ(r.appInfoKept, target) << c.what;
    }
  }
}

TEST(DemoBuilder, RefusesAFolderHoldingSomethingElse)
{
  TestTempDir tmp;
  const QString folder = tmp.file(QStringLiteral("busy"));
  QDir().mkpath(folder);
  QFile f(folder + QStringLiteral("/mine.txt"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("keep me");
  f.close();
  DemoOptions o;
  o.folder = folder;
  EXPECT_THROW(DemoBuilder::build(o), fixtures::FixtureError);
  EXPECT_EQ(readAll(folder + QStringLiteral("/mine.txt")), QByteArray("keep me"));
  EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 1);
  EXPECT_TRUE(leftovers(tmp.path()).isEmpty());
}

// The program itself, run twice as the run script runs it.
TEST(DemoBuilder, ExecutableRunsTwice)
{
  TestTempDir tmp;
  const QString folder = tmp.file(QStringLiteral("demo"));
  for (int run = 0; run < 2; ++run) {
    QProcess p;
    p.start(QStringLiteral(RENDO_DEMO_BUILDER_EXE), {QStringLiteral("--no-program-dir"), folder});
    ASSERT_TRUE(p.waitForFinished(600000));
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("Log on as operator %1 with password %2.")
                                 .arg(fixtures::sample::OperatorCode)
                                 .arg(fixtures::sample::operatorPassword())))
        << out.toStdString();
    EXPECT_TRUE(out.startsWith(run == 0 ? QStringLiteral("Demo built in") : QStringLiteral("Demo already complete in")))
        << out.toStdString();
  }
  EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/demo.env")));
  EXPECT_TRUE(leftovers(tmp.path()).isEmpty());
}

}  // namespace
