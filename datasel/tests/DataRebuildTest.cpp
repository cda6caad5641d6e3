// Rebuilding a company database (backup and restore over the same file)
// with its safety copy, and the data-list lock held meanwhile, on real
// databases: stand-alone through the embedded engine, client/server through
// the test server.
#include <gtest/gtest.h>
#include <memory>

#include <QDir>
#include <QFile>

#include "common/AccRecord.h"
#include "common/DataInfomation.h"
#include "common/DataModule.h"
#include "datasel/DataRebuild.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "platform/IniFile.h"
#include "tests/support/DataModuleEnv.h"
#include "tests/support/FirebirdServer.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TempDir.h"

namespace {

using namespace fixtures;

QByteArray readAll(const QString& path)
{
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
  QDir().mkpath(QFileInfo(path).path());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

QString companyName(const QString& dbName)
{
  db::Database d;
  testfx::builder().open(d, dbName);
  db::Transaction tr(d);
  tr.start();
  db::Query q(tr, "SELECT SHOUGOU FROM ACCDEF1 WHERE REC=1");
  q.open();
  const QString s = q.eof() ? QString() : q.field("SHOUGOU").asString();
  q.close();
  tr.commit();
  return s;
}

class Rebuild : public testenv::SharedDataRootTest<Rebuild> {
 protected:
  void SetUp() override
  {
    setUpDataModule({.root = root->root,
                     .logFile = tmp->file("log"),
                     .operatorName = true,
                     .tempFolder = tmp->file("temp"),
                     .systemDbVerMajor = std::nullopt,
                     .connect = false});
  }
  QStringList entries(const QString& folder) const { return QDir(folder).entryList(QDir::Files, QDir::Name); }

  testenv::ScopedMessageCollector hook;
};

TEST_F(Rebuild, RebuildsInPlaceAndLeavesOnlyWhatWasThereBefore)
{
  const sample::DataSet& ds = root->dataSets.at(0);
  // Status left by this operator, leftovers in the temporary folder and a
  // safety copy an earlier failed run kept.
  TDataInfomation info;
  info.WriteIniFileDataStatus(ds.folder, jxdsExec);
  for (const char* f : {"wqacc2.fbk", "wqacc2.fdb", "wqacc2.ini"})
    writeAll(SystemDef.APPTEMP + f, "leftover");
  const QString earlier = ds.folder + "/wqacc2.fd_";
  writeAll(earlier, "kept by an earlier run");
  const QByteArray before = readAll(ds.database);

  TDataSaikotiku job;
  job.DataPath = ds.folder;
  job.Rec = ds.rec;
  EXPECT_TRUE(job.Execute());
  EXPECT_TRUE(hook.texts.isEmpty()) << hook.texts.join("\n").toStdString();

  EXPECT_EQ(companyName(ds.database), ds.shougou);
  EXPECT_NE(readAll(ds.database), before);  // a new file from the restore
  EXPECT_EQ(IniFile(TDataInfomation::IniFileName(ds.folder)).ReadInteger("DATASTS", "STATUS", 0), int(jxdsNone));
  EXPECT_EQ(readAll(earlier), "kept by an earlier run");
  EXPECT_EQ(job.SafetyCopyFile(), earlier + "1");
  EXPECT_EQ(entries(ds.folder), QStringList({"wqacc2.fd_", "wqacc2.fdb", "wqacc2.ini"}));
  EXPECT_TRUE(entries(SystemDef.APPTEMP).isEmpty()) << entries(SystemDef.APPTEMP).join(",").toStdString();
  EXPECT_TRUE(job.KeptSafetyCopy().isEmpty());
  QFile::remove(earlier);
}

TEST_F(Rebuild, AfterwardsTheFolderIsFreeUnlessAnotherOperatorsMarkStandsThere)
{
  const sample::DataSet& ds = root->dataSets.at(1);
  const int me = sample::loginCode(sample::OperatorCode);
  const int clerk = sample::loginCode(sample::ClerkCode);
  struct Case {
    const char* name;
    int status, holder, after;
  } cases[] = {
      {"left in use by me", 2, me, 1},
      {"damaged", 10, clerk, 1},
      {"my own lock", 3, me, 1},
      {"locked by another operator", 3, clerk, 3},
      {"in use by another operator", 2, clerk, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString ini = TDataInfomation::IniFileName(ds.folder);
    QFile::remove(ini);
    {
      IniFile f(ini);
      f.WriteInteger("DATASTS", "STATUS", c.status);
      f.WriteInteger("DATASTS", "OPCODE", c.holder);
      f.UpdateFile();
    }
    TDataSaikotiku job;
    job.DataPath = ds.folder;
    EXPECT_TRUE(job.Execute()) << hook.texts.join("\n").toStdString();
    const IniFile f(ini);
    EXPECT_EQ(f.ReadInteger("DATASTS", "STATUS", 1), c.after);
    if (c.after != 1) {
      EXPECT_EQ(f.ReadInteger("DATASTS", "OPCODE", 0), c.holder);
    }
  }
  QFile::remove(TDataInfomation::IniFileName(ds.folder));
}

TEST_F(Rebuild, AFailedSafetyCopyStopsBeforeAnythingChanges)
{
  const QString folder = tmp->file("nodata");
  QDir().mkpath(folder);
  writeAll(SystemDef.APPTEMP + "wqacc2.fdb", "leftover");
  TDataSaikotiku job;
  job.DataPath = folder;
  EXPECT_FALSE(job.Execute());
  EXPECT_EQ(hook.texts, QStringList({"データ再構築の前処理（会計データのコピー）に失敗しました。"}));
  EXPECT_TRUE(entries(folder).isEmpty());
  EXPECT_TRUE(entries(SystemDef.APPTEMP).isEmpty());
  EXPECT_TRUE(job.KeptSafetyCopy().isEmpty());
}

TEST_F(Rebuild, AFailedRebuildKeepsThisRunsCopyAndNeverPutsBackAnEarlierOne)
{
  // A database the backup cannot read, and an earlier run's copy whose
  // content must never come back over it.
  const QString folder = tmp->file("broken");
  writeAll(folder + "/wqacc2.fdb", "not a database");
  writeAll(folder + "/wqacc2.fd_", "kept by an earlier run");
  TDataSaikotiku job;
  job.DataPath = folder;
  EXPECT_FALSE(job.Execute());

  ASSERT_EQ(hook.texts.size(), 1);
  EXPECT_TRUE(hook.texts[0].startsWith("データ再構築の処理に失敗しました。")) << hook.texts[0].toStdString();
  EXPECT_TRUE(hook.texts[0].contains(folder + "/wqacc2.fd_1"));
  EXPECT_EQ(job.KeptSafetyCopy(), folder + "/wqacc2.fd_1");
  EXPECT_EQ(readAll(folder + "/wqacc2.fd_1"), "not a database");
  EXPECT_EQ(readAll(folder + "/wqacc2.fdb"), "not a database");
  EXPECT_EQ(readAll(folder + "/wqacc2.fd_"), "kept by an earlier run");
  EXPECT_FALSE(QFile::exists(TDataInfomation::IniFileName(folder)));  // no status written
  EXPECT_TRUE(entries(SystemDef.APPTEMP).isEmpty());                  // the backup file went
}

TEST_F(Rebuild, ARestoreRefusedOverAnAttachedDatabaseLeavesItWorking)
{
  const sample::DataSet& ds = root->dataSets.at(1);
  db::Database other(ds.database);
  other.setUser("ABACOR");
  other.setPassword("dormil");
  other.connect();
  TDataSaikotiku job;
  job.DataPath = ds.folder;
  EXPECT_FALSE(job.Execute());
  ASSERT_EQ(hook.texts.size(), 1);
  EXPECT_TRUE(hook.texts[0].startsWith("データ再構築の処理に失敗しました。"));
  // The database was not replaced, so the copy was not put back over the
  // attachment's work; it is kept for the operator all the same.
  {
    db::Transaction tr(other);
    tr.start();
    db::Query q(tr, "SELECT SHOUGOU FROM ACCDEF1 WHERE REC=1");
    q.open();
    EXPECT_EQ(q.field("SHOUGOU").asString(), ds.shougou);
    q.close();
    tr.commit();
  }
  other.disconnect();
  EXPECT_EQ(job.KeptSafetyCopy(), ds.folder + "/wqacc2.fd_");
  EXPECT_TRUE(QFile::exists(job.KeptSafetyCopy()));
  EXPECT_EQ(companyName(ds.database), ds.shougou);
  QFile::remove(job.KeptSafetyCopy());
}

TEST_F(Rebuild, AShareEntryIsRebuiltOnACopyThatThenReplacesTheDatabase)
{
  const sample::DataSet& ds = root->dataSets.at(0);
  const QByteArray before = readAll(ds.database);
  TDataSaikotiku job;
  job.ProcType = 1;
  job.Allowed = true;
  job.DataPath = ds.folder;
  EXPECT_TRUE(job.Execute());
  EXPECT_TRUE(hook.texts.isEmpty()) << hook.texts.join("\n").toStdString();
  EXPECT_EQ(job.SafetyCopyFile(), QDir(SystemDef.APPTEMP).filePath("wqacc2.fdb"));
  EXPECT_NE(readAll(ds.database), before);
  EXPECT_EQ(companyName(ds.database), ds.shougou);
  EXPECT_TRUE(entries(SystemDef.APPTEMP).isEmpty());
  EXPECT_FALSE(QFile::exists(ds.folder + "/wqacc2.fd_"));
}

// ---------------------------------------------------------------- client/server

class RebuildClientServer : public Rebuild {
 protected:
  void SetUp() override
  {
    Rebuild::SetUp();
    FirebirdServer::shared();
    AppType = jxatCS;
    SystemDef.SERVERNAME = "localhost";
  }
  QString sysdb() const { return FirebirdServer::shared().remoteName(root->systemDb); }
  void setLock(int rec, int opNo)
  {
    db::Database d;
    testfx::builder().open(d, sysdb());
    db::Transaction tr(d);
    tr.start();
    db::Query q(tr, "UPDATE DATALIST SET DATALOCK=:L WHERE REC=:R AND GROUPID=:G");
    q.setParam("L", opNo);
    q.setParam("R", rec);
    q.setParam("G", sample::GroupId);
    q.exec();
    tr.commit();
  }
  int lockOf(int rec)
  {
    db::Database d;
    testfx::builder().open(d, sysdb());
    db::Transaction tr(d);
    tr.start();
    db::Query q(tr, "SELECT DATALOCK FROM DATALIST WHERE REC=:R AND GROUPID=:G");
    q.setParam("R", rec);
    q.setParam("G", sample::GroupId);
    q.open();
    const int v = q.eof() ? -1 : q.field("DATALOCK").asInt();
    q.close();
    tr.commit();
    return v;
  }
};

TEST_F(RebuildClientServer, TheListLockIsTakenOnlyFromNobodyAndOnlyOwnMarksAreCleared)
{
  const int rec = root->dataSets.at(0).rec;
  struct Case {
    const char* name;
    int before;     // the row's mark when the job starts
    int meanwhile;  // a mark someone sets while it runs (-1: none)
    bool taken;
    int after;
  } cases[] = {
      {"free row", 0, -1, true, 0},
      {"held by another operator", sample::ClerkCode, -1, false, sample::ClerkCode},
      {"taken over meanwhile", 0, sample::ClerkCode, true, sample::ClerkCode},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    setLock(rec, c.before);
    {
      TDataListLockHold hold;
      EXPECT_EQ(hold.Take(rec), c.taken);
      EXPECT_EQ(lockOf(rec), c.taken ? sample::OperatorCode : c.before);
      if (c.meanwhile >= 0)
        setLock(rec, c.meanwhile);
    }  // released here
    EXPECT_EQ(lockOf(rec), c.after);
  }
  setLock(rec, 0);
  EXPECT_TRUE(hook.texts.isEmpty());
}

TEST_F(RebuildClientServer, RebuildsThroughTheServerAndKeepsAnotherOperatorsMark)
{
  const sample::DataSet& ds = root->dataSets.at(0);
  for (int mark : {0, sample::ClerkCode}) {
    SCOPED_TRACE(mark);
    setLock(ds.rec, mark);
    TDataSaikotiku job;
    job.DataPath = ds.folder;
    job.Rec = ds.rec;
    job.DataLock = 0;  // as the list showed it before the mark was set
    EXPECT_TRUE(job.Execute()) << hook.texts.join("\n").toStdString();
    EXPECT_EQ(lockOf(ds.rec), mark);
    EXPECT_EQ(companyName(FirebirdServer::shared().remoteName(ds.database)), ds.shougou);
    EXPECT_FALSE(QFile::exists(ds.folder + "/wqacc2.fd_"));
    EXPECT_FALSE(QFile::exists(ds.folder + "/wqacc2.fb_"));
  }
  setLock(ds.rec, 0);
  EXPECT_TRUE(hook.texts.isEmpty());
}

}  // namespace
