// The data-version update: the version comparison the data selection relies
// on, the version read from each kind of database, and runs of step lists
// with and without a backup, a failed step restored, and a restore that
// failed too keeping its backup.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "maint/DbUpdate.h"
#include "tests/support/DataModuleEnv.h"

namespace {

TEST(DbUpdateVersion, ComparisonWithTheNewestKnownVersion)
{
  const struct {
    int kind;
    QString text;
    QString read;
    int connect;
  } cases[] = {
      {1, "17.0.0", "17.0.0", 1}, {1, "17.0.3", "17.0.3", 2}, {1, "17.1.0", "17.1.0", 0}, {1, "16.5.2", "16.5.2", 1},
      {1, "17.0", "0.0.0", 1},    {1, "18.0.0", "18.0.0", 0}, {1, "17.x.2", "17.0.2", 2}, {1, "1.2.3.4", "0.0.0", 1},
      {0, "18.0.0", "18.0.0", 1}, {0, "17.0.3", "17.0.3", 1},
  };
  TDbUpdate update;
  for (const auto& c : cases) {
    update.DbUpdateInit(quint8(c.kind), c.text);
    EXPECT_EQ(update.DBVersion(), c.read) << c.text.toStdString();
    EXPECT_EQ(update.DataConnectFlg(), c.connect) << c.kind << " " << c.text.toStdString();
    EXPECT_FALSE(update.DataUpdateJikkoFlg());
    EXPECT_EQ(update.StartIndex(), -1);
  }
}

class DbUpdateRun : public testenv::SharedDataRootTest<DbUpdateRun> {
 protected:
  void SetUp() override
  {
    testenv::DataModuleSetup setup;
    setup.root = root->root;
    setup.logFile = tmp->file("log");
    setup.tempFolder = work.file("apptemp");
    setUpDataModule(setup);
    SystemDef.USER = work.file("user");
    company = work.file("data");
    QDir().mkpath(company);
    QFile::copy(root->dataSets.at(0).database, company + "/wqacc2.fdb");
    SystemDef.IBPATHDAT = company;
  }
  void TearDown() override
  {
    if (dm)
      dm->IBDatabaseDAT.disconnect();
    DataModuleTest::TearDown();
  }
  QString companyValue(const QString& sql)
  {
    db::Database d;
    testfx::builder().open(d, company + "/wqacc2.fdb");
    return testenv::valueOf(d, sql);
  }
  void companyExec(const QString& sql) { testenv::execIn(company + "/wqacc2.fdb", sql); }

  TestTempDir work;
  QString company;
};

TEST_F(DbUpdateRun, VersionReadFromTheDatabase)
{
  TDbUpdate update;
  update.DbUpdateInit(0);
  EXPECT_EQ(update.DBVersion(), "12.0.0");
  EXPECT_EQ(update.DataConnectFlg(), 1);

  ASSERT_TRUE(dm->fnAccDatConnected(QString(), company, false));
  update.DbUpdateInit(1);
  EXPECT_EQ(update.DBVersion(), "17.0.0");
  EXPECT_EQ(update.DataConnectFlg(), 1);
  dm->IBDatabaseDAT.disconnect();

  // Newest row first; no row reads as 0.0.0.
  companyExec("INSERT INTO ACCVERSION (REC, MAJOR, MINOR1, MINOR2) VALUES (2, 17, 0, 4)");
  ASSERT_TRUE(dm->fnAccDatConnected(QString(), company, false));
  update.DbUpdateInit(1);
  EXPECT_EQ(update.DBVersion(), "17.0.4");
  EXPECT_EQ(update.DataConnectFlg(), 2);
  dm->IBDatabaseDAT.disconnect();
  companyExec("DELETE FROM ACCVERSION");
  ASSERT_TRUE(dm->fnAccDatConnected(QString(), company, false));
  update.DbUpdateInit(1);
  EXPECT_EQ(update.DBVersion(), "0.0.0");
  EXPECT_EQ(update.DataConnectFlg(), 1);
}

TEST_F(DbUpdateRun, NothingPendingAndTheSilentRun)
{
  TDbUpdate update;
  update.DbUpdateInit(1, "17.0.0");
  EXPECT_EQ(update.DbUpdateJikkou(), -1);
  EXPECT_EQ(update.ErrorLines(), QStringList{"会計データの更新に失敗しました。"});
  EXPECT_EQ(update.DbSilentUpdateJikkou(), -1);
  update.DbUpdateInit(0, "12.0.0");
  EXPECT_EQ(update.ErrorLines(), QStringList{"システムデータの更新に失敗しました。"});
  dm->IBDatabaseDEF.disconnect();
  EXPECT_EQ(update.DbSilentUpdateJikkou(), 1);
  EXPECT_TRUE(dm->IBDatabaseDEF.isConnected());
}

TEST_F(DbUpdateRun, StepsWithoutBackupStopAtTheFirstFailure)
{
  TDbUpdate update;
  QStringList ran;
  auto step = [&](int major, int result) {
    TDbUpdateListRec s;
    s.Major = major;
    s.UpdateFunc = [&ran, major, result] {
      ran << QString::number(major);
      return result;
    };
    return s;
  };
  update.UserDbUpdateList() = {step(16, 1), step(18, 1), step(19, DbUpdateStepFileMissing), step(20, 1)};
  update.DbUpdateInit(1, "17.0.0");
  EXPECT_TRUE(update.DataUpdateJikkoFlg());
  EXPECT_EQ(update.StartIndex(), 1);
  EXPECT_EQ(update.EndIndex(), 3);
  EXPECT_EQ(update.BackupJikkou(), 0);
  // The newest version the list reaches: 20.0.0.
  EXPECT_EQ(update.DataConnectFlg(), 1);
  struct Statuses : TDbUpdateView {
    void ProgressShow(const QString&, const QString&) override { ++progress; }
    void ProgressHide() override {}
    void StepsBegin(int ACount) override { count = ACount; }
    void StepEnded(int AIndex, int AResult) override { ended << QStringLiteral("%1:%2").arg(AIndex).arg(AResult); }
    void StepsEnd() override {}
    int progress = 0;
    int count = 0;
    QStringList ended;
  } view;
  update.SetView(&view);
  EXPECT_EQ(update.DbUpdateJikkou(), 0);
  EXPECT_EQ(ran, QStringList({"18", "19"}));
  EXPECT_EQ(view.count, 3);
  EXPECT_EQ(view.ended, QStringList({"0:1", "1:18"}));
  EXPECT_EQ(view.progress, 0);  // no backup, no restore
  EXPECT_FALSE(update.DataUpdateKekkaFlg());
  EXPECT_EQ(update.StartIndex(), -1);

  // All steps done: the newest version.
  update.UserDbUpdateList() = {step(18, 1), step(19, 1)};
  update.DbUpdateInit(1, "17.0.0");
  EXPECT_EQ(update.DbUpdateJikkou(), 1);
  EXPECT_TRUE(update.DataUpdateKekkaFlg());
  EXPECT_EQ(update.DBVersion(), "19.0.0");
}

TEST_F(DbUpdateRun, AFailedStepIsUndoneFromTheBackup)
{
  QDir().mkpath(SystemDef.USER + "/更新前データ");
  TDbUpdate update;
  TDbUpdateListRec s;
  s.Major = 18;
  s.DbHenko = 1;
  s.UpdateFunc = [this] {
    companyExec("INSERT INTO TUSIN_ID (REC, HOLDER) VALUES (7, 'step')");
    return 0;
  };
  update.UserDbUpdateList() = {s};
  update.DbUpdateInit(1, "17.0.0");
  EXPECT_EQ(update.BackupJikkou(), 1);
  EXPECT_EQ(update.DbUpdateJikkou(), 0);
  EXPECT_EQ(update.BackupFilePath(), SystemDef.APPTEMP + "dataup.fbk");
  EXPECT_EQ(companyValue("SELECT COUNT(*) FROM TUSIN_ID WHERE REC = 7"), "0");
  EXPECT_FALSE(QDir(SystemDef.USER + "/更新前データ").exists());
  EXPECT_FALSE(update.BackupKept());
  update.DeleteBackupFile();
  EXPECT_FALSE(QFile::exists(update.BackupFilePath()));
}

TEST_F(DbUpdateRun, ARestoreThatFailsKeepsTheBackupAndSaysWhere)
{
  TDbUpdate update;
  db::Database holder;  // someone else on the database during the restore
  TDbUpdateListRec s;
  s.Major = 18;
  s.DbHenko = 1;
  s.UpdateFunc = [&] {
    testfx::builder().open(holder, company + "/wqacc2.fdb");
    return 0;
  };
  update.UserDbUpdateList() = {s};
  update.DbUpdateInit(1, "17.0.0");
  EXPECT_EQ(update.DbUpdateJikkou(), -1);
  EXPECT_TRUE(update.BackupKept());
  update.DeleteBackupFile();
  EXPECT_TRUE(QFile::exists(update.BackupFilePath()));
  const QStringList lines = update.ErrorLines();
  EXPECT_EQ(lines.value(0), "会計データの更新に失敗しました。");
  EXPECT_EQ(lines.value(1), "[エラー内容]");
  EXPECT_EQ(lines.last(), update.BackupFilePath());
}

}  // namespace
