// The backup and restore worker end to end on real databases: backup with
// its information block and restore (OPINF emptied, the user's backup file
// untouched) stand-alone, through the server's services, through the
// file-manager transfer and through gbak; copy and rebuild; the error
// reports as a table; My Number information put back after every backup,
// also a failed one; a gbak killed in the middle of a restore leaving the
// old database as it was; gbak's password kept off its command line; the
// information block's reading and stripping.
#include <csignal>
#include <sys/types.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include "DataModuleTestUtil.h"
#include "common/AccCipher.h"
#include "common/AccFunction2.h"
#include "common/BackupRestoreThread.h"
#include "common/BufFileStream.h"
#include "common/MyNumber.h"
#include "platform/Paths.h"
#include "tests/support/FirebirdServer.h"

namespace dmtest {
namespace {

// The worker hands its steps to the main thread through the event loop.
void ensureApplication()
{
  if (!QCoreApplication::instance()) {
    static int argc = 1;
    static char name[] = "rendo_common_tests";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
  }
}

QByteArray fileBytes(const QString& path)
{
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray utf16le(const QString& s)
{
  QByteArray b;
  for (QChar c : s) {
    b.append(char(c.unicode() & 0xFF));
    b.append(char(c.unicode() >> 8));
  }
  return b;
}

struct TRoute {
  const char* name;
  TJxAppType appType;
  TJxToolType tool;
  bool server;   // ServerName set to the server
  bool fileMan;  // the file-manager database is there
};

class BackupRestore : public StandAlone, public ::testing::WithParamInterface<TRoute> {
 protected:
  void SetUp() override
  {
    ensureApplication();
    StandAlone::SetUp();
    general = root.dataSets.at(0);
    route = GetParam();
    AppType = route.appType;
    if (AppType == jxatCS) {
      FirebirdServer::shared();
      SystemDef.SERVERNAME = QStringLiteral("localhost");
    }
    SystemDef.SERIAL = QStringLiteral("SER-1");
    SystemDef.PCNAME = QStringLiteral("pc01");
    SystemDef.SERVER_TEMP = tmp.file(QStringLiteral("srvtemp"));
    SystemDef.TEMP = tmp.file(QStringLiteral("temp"));
    QDir().mkpath(SystemDef.TEMP);
    AppInfo.AppTitle = QStringLiteral("連動");
    if (!route.fileMan)
      QFile::remove(root.fileManagerDb);
    DM = dm.get();
    ASSERT_TRUE(dm->fnAccDefConnected(QString(), true));
  }
  void TearDown() override
  {
    if (dm) {
      dm->fnAccDatDisConnected(general.folder, false, false, false);
      dm->IBFileMan.disconnect();
    }
    DM = nullptr;
    MyNumberAdmPasswordPromptProc = nullptr;
    StandAlone::TearDown();
  }
  QString database() const { return remote(general.database); }
  QString remote(const QString& file) const
  {
    return AppType == jxatCS ? FirebirdServer::shared().remoteName(file) : file;
  }
  QString value(const QString& sql) { return readValue(database(), sql, QStringLiteral("V")); }
  void exec(const QString& sql) { execSql(database(), sql); }

  void configure(TBackupRestoreThread& w, int procType, const QString& file)
  {
    w.SetProcType(procType);
    w.SetToolType(route.tool);
    w.SetServerName(route.server ? SystemDef.SERVERNAME : QString());
    w.SetDataBaseName(general.database);
    w.SetFileName(file);
    w.SetRestoreIndex(true);
  }
  bool run(TBackupRestoreThread& w)
  {
    w.Resume();
    while (!w.TerminatedFlg())
      fnWaitMSec(20);
    return w.Result();
  }
  void fillInf(TBackupRestoreThread& w)
  {
    w.ZaimuInfClear();
    w.SetAddZaimuInf(true);
    w.Inf_Shougou = general.shougou;
    w.Inf_Kishu = QStringLiteral("2024/04/01");
    w.Inf_Kimatu = QStringLiteral("2025/03/31");
    w.Inf_SiwakeCnt = 12;
    w.Inf_TotalSiwakeCnt = 15;
    w.Inf_DataVersion = QStringLiteral("17.0.3");
    w.Inf_GassanKbn = 0;
    w.Inf_UseMyNumberKbn = 0;
  }
  QString backup(const QString& name = QStringLiteral("save.fbk"))
  {
    const QString file = tmp.file(name);
    TBackupRestoreThread w(true);
    configure(w, 0, file);
    fillInf(w);
    EXPECT_TRUE(run(w)) << w.ErrInfomation().ErrMessage1.toStdString();
    EXPECT_FALSE(w.ErrInfomation().ErrResult);
    return file;
  }

  sample::DataSet general;
  TRoute route{};
};

TEST_P(BackupRestore, BackupWithItsBlockThenRestoreEmptiesOpinf)
{
  exec("INSERT INTO OPINF(OPCODE,JOBNAME) VALUES(7,'before')");
  const QString file = backup();
  ASSERT_TRUE(QFileInfo(file).isFile());
  // Nothing of the work files is left beside the backup.
  EXPECT_EQ(QDir(tmp.path()).entryList({"save.fbk*"}, QDir::Files), QStringList{"save.fbk"});

  const QString block = QStringLiteral(
                            "## TessalyZone\r\nSHOUGOU=%1\r\nKISHU=2024/04/01\r\nKIMATU=2025/03/31\r\nSIWAKE=12\r\n"
                            "TOTALSIWAKE=15\r\nDATAVARSION=17.0.3\r\nGASSAN=0\r\nUSEMYNUMBER=0\r\n")
                            .arg(general.shougou);
  const QByteArray saved = fileBytes(file);
  ASSERT_TRUE(saved.endsWith(utf16le(block)));

  // Read without stripping: the values, the file as it was.
  TBackupRestoreThread reader(true);
  EXPECT_EQ(reader.GetZaimuInfFromBackupFile(file), 1);
  EXPECT_EQ(reader.Inf_Shougou, general.shougou);
  EXPECT_EQ(reader.Inf_TotalSiwakeCnt, 15);
  EXPECT_EQ(reader.Inf_DataVersion, "17.0.3");
  EXPECT_EQ(fileBytes(file), saved);

  // The data changes, then the backup is restored over it.
  exec("UPDATE ACCDEF1 SET SHOUGOU='変更後' WHERE REC=1");
  exec("INSERT INTO OPINF(OPCODE,JOBNAME) VALUES(8,'after')");
  TBackupRestoreThread w(true);
  configure(w, 1, file);
  reader.Inf_UseMyNumberKbn = 0;
  ASSERT_TRUE(run(w)) << w.ErrInfomation().ErrMessage1.toStdString();
  EXPECT_FALSE(w.ErrInfomation().ErrResult);
  EXPECT_EQ(value("SELECT SHOUGOU AS V FROM ACCDEF1 WHERE REC=1"), general.shougou);
  EXPECT_EQ(value("SELECT COUNT(*) AS V FROM OPINF"), "0");
  // The user's backup keeps its block; no temporary database is left.
  EXPECT_EQ(fileBytes(file), saved);
  EXPECT_EQ(QDir(general.folder).entryList({"*.rs_*", "*.fb_*"}, QDir::Files), QStringList{});
  EXPECT_FALSE(dm->IBDatabaseDAT.isConnected());

  // Stripping a copy leaves exactly the bytes before the marker.
  const QString copy = tmp.file("copy.fbk");
  ASSERT_TRUE(QFile::copy(file, copy));
  TBackupRestoreThread stripper(true);
  EXPECT_EQ(stripper.GetZaimuInfFromBackupFile(copy, true), 1);
  EXPECT_EQ(stripper.Inf_Shougou, general.shougou);
  EXPECT_EQ(fileBytes(copy), saved.left(saved.size() - utf16le(block).size()));
  EXPECT_EQ(stripper.GetZaimuInfFromBackupFile(copy, true), 0);
  EXPECT_EQ(stripper.Inf_Shougou, QString());
  for (const auto& b : hook.boxes)
    ADD_FAILURE() << b.text.toStdString();
}

// Long runs keep the event loop going and report their output lines.
TEST_P(BackupRestore, ProgressAndEventsWhileRunning)
{
  int lines = 0;
  int ticksDuringLines = 0;
  bool sawLine = false;
  QTimer timer;
  timer.setInterval(1);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (sawLine)
      ++ticksDuringLines;
  });
  dm->BackupProgressProc = [&](const QString&) {
    ++lines;
    sawLine = true;
  };
  // The tool writes its report into its log: the loop runs while it works.
  dm->BackupToolStartedProc = [&](qint64) { sawLine = true; };
  timer.start();
  const QString file = backup(QStringLiteral("progress.fbk"));
  TBackupRestoreThread r(true);
  configure(r, 1, file);
  EXPECT_TRUE(run(r));
  dm->BackupProgressProc = nullptr;
  dm->BackupToolStartedProc = nullptr;
  if (route.tool == jxttIBComp)
    EXPECT_GT(lines, 10);
  EXPECT_GT(ticksDuringLines, 0);
  // The server's installation folder.
  const QString home = dm->InstallFDB(route.server ? 0 : 3, route.server ? SystemDef.SERVERNAME : QString());
  EXPECT_FALSE(home.isEmpty());
  EXPECT_TRUE(QFileInfo(home).isDir()) << home.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Routes, BackupRestore,
                         ::testing::Values(TRoute{"StandAlone", jxatSA, jxttIBComp, false, true},
                                           TRoute{"ServerServices", jxatCS, jxttIBComp, true, true},
                                           TRoute{"FileManagerTransfer", jxatCS, jxttGBak, true, true},
                                           TRoute{"ServerGBak", jxatCS, jxttGBak, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Copy and rebuild go straight through the services or gbak (no file-manager
// transfer).
class CopyRebuild : public BackupRestore {};

TEST_P(CopyRebuild, CopyAndRebuild)
{
  exec("UPDATE ACCDEF1 SET SHOUGOU='写し元' WHERE REC=1");
  const QString target = tmp.file("copy/wqacc2.fdb");
  QDir().mkpath(ExtractFileDir(target));
  TBackupRestoreThread copy(true);
  configure(copy, 2, tmp.file("copy.fbk"));
  copy.SetRecvDataBaseName(target);
  ASSERT_TRUE(run(copy));
  EXPECT_EQ(readValue(remote(target), "SELECT SHOUGOU AS V FROM ACCDEF1 WHERE REC=1", "V"), "写し元");

  exec("INSERT INTO OPINF(OPCODE,JOBNAME) VALUES(9,'rebuild')");
  TBackupRestoreThread rebuild(true);
  configure(rebuild, 3, tmp.file("rebuild.fbk"));
  ASSERT_TRUE(run(rebuild));
  EXPECT_EQ(value("SELECT SHOUGOU AS V FROM ACCDEF1 WHERE REC=1"), "写し元");
  EXPECT_EQ(value("SELECT COUNT(*) AS V FROM OPINF"), "0");
}

INSTANTIATE_TEST_SUITE_P(Routes, CopyRebuild,
                         ::testing::Values(TRoute{"StandAlone", jxatSA, jxttIBComp, false, true},
                                           TRoute{"ServerServices", jxatCS, jxttIBComp, true, true},
                                           TRoute{"ServerGBak", jxatCS, jxttGBak, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------

class BackupRestoreLocal : public BackupRestore {};

TEST_P(BackupRestoreLocal, ErrorReports)
{
  const QString file = backup();
  const QString garbage = tmp.file("garbage.fbk");
  {
    QFile f(garbage);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
  }
  const QString backupStopped = QStringLiteral("データベースの保存処理を中止しました。");
  const QString restoreStopped = QStringLiteral("データベースの復元処理を中止しました。");
  struct Case {
    const char* what;
    std::function<void(TBackupRestoreThread&)> set;
    const char* proc;
    const char* no;
    QString message1;
    QString message2;
  };
  std::unique_ptr<db::Database> holder;
  const std::vector<Case> cases = {
      {"backup of a file that is not ours",
       [&](TBackupRestoreThread& w) {
         configure(w, 0, tmp.file("x.fbk"));
         w.SetDataBaseName(tmp.file("other.fdb"));
       },
       "BackupDatabase", "101", QStringLiteral("指定されたファイルはタリマン財務用のデータではありません。"),
       backupStopped},
      {"backup of a missing company database",
       [&](TBackupRestoreThread& w) {
         configure(w, 0, tmp.file("x.fbk"));
         w.SetDataBaseName(tmp.file("none/wqacc2.fdb"));
       },
       "BackupDatabase", "100", QStringLiteral("データベースの保存に失敗しました。"), backupStopped},
      {"My Number password refused",
       [&](TBackupRestoreThread& w) {
         configure(w, 0, tmp.file("x.fbk"));
         w.Inf_UseMyNumberKbn = 1;
         w.SetMyNumberKakunin(true);
         SystemDef.OPMyNumberAdm = true;
         hook.answer = mrYes;
         MyNumberAdmPasswordPromptProc = [](int, QString&) { return false; };
       },
       "BackupDatabase", "100", backupStopped, QString()},
      {"restore into a file that is not ours",
       [&](TBackupRestoreThread& w) {
         configure(w, 1, file);
         w.SetDataBaseName(tmp.file("other.fdb"));
       },
       "RestoreDatabase", "201", QStringLiteral("指定されたファイルはタリマン財務用のデータではありません。"),
       restoreStopped},
      {"restore into data in use",
       [&](TBackupRestoreThread& w) {
         configure(w, 1, file);
         holder = std::make_unique<db::Database>();
         testfx::builder().open(*holder, database());
       },
       "RestoreDatabase", "202",
       QStringLiteral("このデータは他のオペレータが使用中のため復元処理を行うことが出来ません。"), restoreStopped},
      {"plain backup over data with My Number information",
       [&](TBackupRestoreThread& w) {
         configure(w, 1, file);
         exec(
             "UPDATE OR INSERT INTO ACCREG(AGROUP,ACODE,ATYPE,ATEXT) VALUES('基本設定','＃USE','整数','1') "
             "MATCHING (AGROUP,ACODE)");
       },
       "RestoreDatabase", "200", QStringLiteral("マイナンバー情報を管理しているデータへの復元はおこなえません。"),
       restoreStopped},
      {"restore of a file that is no backup", [&](TBackupRestoreThread& w) { configure(w, 1, garbage); },
       "RestoreDatabase", "200", QStringLiteral("データベースの復元に失敗しました。"), restoreStopped},
  };
  for (const auto& c : cases) {
    const QString before = value("SELECT SHOUGOU AS V FROM ACCDEF1 WHERE REC=1");
    TBackupRestoreThread w(true);
    c.set(w);
    EXPECT_FALSE(run(w)) << c.what;
    const TErrInfomation& e = w.ErrInfomation();
    EXPECT_TRUE(e.ErrResult) << c.what;
    EXPECT_EQ(e.ErrProc, QString::fromUtf8(c.proc)) << c.what;
    EXPECT_EQ(e.ErrNo, QString::fromUtf8(c.no)) << c.what;
    EXPECT_EQ(e.ErrMessage1, c.message1) << c.what;
    EXPECT_EQ(e.ErrMessage2, c.message2) << c.what;
    // Nothing written, nothing replaced.
    EXPECT_FALSE(QFileInfo::exists(tmp.file("x.fbk"))) << c.what;
    holder.reset();
    EXPECT_EQ(value("SELECT SHOUGOU AS V FROM ACCDEF1 WHERE REC=1"), before) << c.what;
    exec("DELETE FROM ACCREG WHERE AGROUP='基本設定'");
    SystemDef.OPMyNumberAdm = false;
    hook.answer = 0;
    MyNumberAdmPasswordPromptProc = nullptr;
  }
}

TEST_P(BackupRestoreLocal, MyNumberInformationGoesBackAfterEveryBackup)
{
  const QString key = fnJxEncipher(QStringLiteral("adm12345"), QStringLiteral("tobenza"), 8);
  const QString number = fnJxEncipher(QStringLiteral("123456789018"), QStringLiteral("tobenza"), 12);
  auto setMyNumber = [&] {
    for (const auto& [code, type, text] :
         {std::tuple{QStringLiteral("＃USE"), QStringLiteral("整数"), QStringLiteral("1")},
          std::tuple{QStringLiteral("＃KEY"), QStringLiteral("文字"), key},
          std::tuple{QStringLiteral("＃VALUE"), QStringLiteral("文字"), number}})
      exec(QStringLiteral("UPDATE OR INSERT INTO ACCREG(AGROUP,ACODE,ATYPE,ATEXT) VALUES('基本設定','%1','%2','%3') "
                          "MATCHING (AGROUP,ACODE)")
               .arg(code, type, text));
  };
  auto reg = [&](const char* code) {
    return value(QStringLiteral("SELECT ATEXT AS V FROM ACCREG WHERE AGROUP='基本設定' AND ACODE='%1'")
                     .arg(QString::fromUtf8(code)));
  };
  struct Case {
    const char* what;
    int fault;  // 0 none, 1 an error leaves the step, 2 the backup fails
    bool result;
  } cases[] = {{"success", 0, true}, {"error leaves the step", 1, false}, {"backup fails", 2, false}};
  for (const auto& c : cases) {
    setMyNumber();
    exec("DELETE FROM MYNUMBER_LOG");
    const QString file = tmp.file(QStringLiteral("mn%1.fbk").arg(c.fault));
    TBackupRestoreThread w(true);
    configure(w, 0, file);
    fillInf(w);
    w.Inf_UseMyNumberKbn = 1;
    w.SetMyNumberKakunin(true);  // the operator is no administrator: left out
    w.BeforeBackupProc = [&] {
      // The information is out of the data while the backup runs.
      EXPECT_EQ(reg("＃USE"), "0") << c.what;
      EXPECT_EQ(reg("＃VALUE"), "<none>") << c.what;
      if (c.fault == 1)
        throw std::runtime_error("forced");
    };
    if (c.fault == 2)
      w.SetFileName(tmp.file("no/such/folder/x.fbk"));
    EXPECT_EQ(run(w), c.result) << c.what;
    EXPECT_EQ(reg("＃USE"), "1") << c.what;
    EXPECT_EQ(fnJxDecipher(reg("＃KEY"), QStringLiteral("tobenza"), 8), "adm12345") << c.what;
    EXPECT_EQ(fnJxDecipher(reg("＃VALUE"), QStringLiteral("tobenza"), 12), "123456789018") << c.what;
    EXPECT_EQ(value("SELECT COUNT(*) AS V FROM MYNUMBER_LOG"), "0") << c.what;
    EXPECT_EQ(w.Inf_UseMyNumberKbn, 1) << c.what;
    if (c.result) {
      TBackupRestoreThread reader(true);
      EXPECT_EQ(reader.GetZaimuInfFromBackupFile(file), 1);
      EXPECT_EQ(reader.Inf_UseMyNumberKbn, 0);
      // The saved data holds no My Number information.
      const QString restored = tmp.file("mncheck/wqacc2.fdb");
      QDir().mkpath(ExtractFileDir(restored));
      TBackupRestoreThread r(true);
      configure(r, 1, file);
      r.SetDataBaseName(restored);
      ASSERT_TRUE(run(r));
      EXPECT_EQ(
          readValue(remote(restored), "SELECT ATEXT AS V FROM ACCREG WHERE AGROUP='基本設定' AND ACODE='＃VALUE'", "V"),
          "<none>");
      EXPECT_EQ(
          readValue(remote(restored), "SELECT ATEXT AS V FROM ACCREG WHERE AGROUP='基本設定' AND ACODE='＃USE'", "V"),
          "0");
    }
  }
}

TEST_P(BackupRestoreLocal, RestoreWithMyNumberLogsAndKeepsTheOldLog)
{
  exec(
      "UPDATE OR INSERT INTO ACCREG(AGROUP,ACODE,ATYPE,ATEXT) VALUES('基本設定','＃USE','整数','1') "
      "MATCHING (AGROUP,ACODE)");
  TBackupRestoreThread b(true);
  configure(b, 0, tmp.file("mn.fbk"));
  fillInf(b);
  b.Inf_UseMyNumberKbn = 1;
  b.SetMyNumberLogAdd(true);
  ASSERT_TRUE(run(b));
  // Saved with My Number information: logged in the data before the save.
  EXPECT_EQ(value("SELECT FCOMMENT AS V FROM MYNUMBER_LOG"), "マイナンバー情報を含むデータが保存されました。");
  // Later entries of the data survive the restore of the older backup.
  exec(
      "INSERT INTO MYNUMBER_LOG(FHIZUKE,FSERIAL,FOPCODE,FHOST,FSTATE,FCOMMENT) "
      "VALUES('2030-01-01 10:00:00','SER-9','5','pcx',4,'later')");

  TBackupRestoreThread r(true);
  ASSERT_EQ(r.GetZaimuInfFromBackupFile(tmp.file("mn.fbk")), 1);
  configure(r, 1, tmp.file("mn.fbk"));
  r.SetMyNumberLogAdd(true);
  r.SetSenderName(QStringLiteral("データ受信"));
  ASSERT_TRUE(run(r)) << r.ErrInfomation().ErrMessage1.toStdString();
  EXPECT_EQ(value("SELECT COUNT(*) AS V FROM MYNUMBER_LOG WHERE FCOMMENT='later'"), "1");
  EXPECT_EQ(value("SELECT COUNT(*) AS V FROM MYNUMBER_LOG WHERE FSTATE=7"), "1");
  EXPECT_EQ(value("SELECT FCOMMENT AS V FROM MYNUMBER_LOG WHERE FSTATE=7"),
            "マイナンバー情報を含むデータが受信されました。");
}

TEST_P(BackupRestoreLocal, FailedRunsKeepTheOldBackupAndData)
{
  const QString file = backup();
  const QByteArray saved = fileBytes(file);
  const QString name = value("SELECT SHOUGOU AS V FROM ACCDEF1 WHERE REC=1");

  // A backup that fails leaves the earlier one as it was.
  TBackupRestoreThread w(true);
  configure(w, 0, file);
  fillInf(w);
  w.SetDataBaseName(tmp.file("none/wqacc2.fdb"));
  EXPECT_FALSE(run(w));
  EXPECT_EQ(fileBytes(file), saved);
  EXPECT_EQ(QDir(tmp.path()).entryList({"save.fbk*"}, QDir::Files), QStringList{"save.fbk"});
  if (route.tool != jxttGBak || !route.fileMan)
    return;

  // The file-manager transfer fails both ways: nothing replaced.
  execSql(remote(root.fileManagerDb), "DROP TABLE FILETRANS");
  TBackupRestoreThread b(true);
  configure(b, 0, file);
  fillInf(b);
  EXPECT_FALSE(run(b));
  EXPECT_EQ(b.ErrInfomation().ErrNo, "102");
  EXPECT_EQ(b.ErrInfomation().ErrMessage1, "バックアップファイルの転送処理（wqfileman.fdb）に失敗しました。");
  EXPECT_TRUE(b.ErrInfomation().ErrMessage2.startsWith(
      QStringLiteral("データベースの保存処理を中止しました。\r[詳細]\rIBエラー: ")))
      << b.ErrInfomation().ErrMessage2.toStdString();
  EXPECT_EQ(fileBytes(file), saved);

  exec("UPDATE ACCDEF1 SET SHOUGOU='残る' WHERE REC=1");
  TBackupRestoreThread r(true);
  configure(r, 1, file);
  EXPECT_FALSE(run(r));
  EXPECT_EQ(r.ErrInfomation().ErrProc, "RestoreDatabase");
  EXPECT_EQ(r.ErrInfomation().ErrNo, "203");
  EXPECT_EQ(r.ErrInfomation().ErrMessage1, "バックアップファイルの転送処理（wqfileman.fdb）に失敗しました。");
  EXPECT_EQ(r.ErrInfomation().ErrMessage2, "データベースの復元処理を中止しました。");
  EXPECT_EQ(value("SELECT SHOUGOU AS V FROM ACCDEF1 WHERE REC=1"), "残る");
  EXPECT_NE(name, "残る");
}

INSTANTIATE_TEST_SUITE_P(Routes, BackupRestoreLocal,
                         ::testing::Values(TRoute{"StandAlone", jxatSA, jxttIBComp, false, true},
                                           TRoute{"FileManagerTransfer", jxatCS, jxttGBak, true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------

class GBakTool : public BackupRestore {};

// A gbak killed while it restores leaves the old database as it was.
TEST_P(GBakTool, KilledRestoreLeavesTheOldDatabase)
{
  // Enough rows that the restore takes a moment.
  exec("CREATE TABLE FILLER (ID INTEGER, T VARCHAR(200))");
  {
    db::Database d;
    testfx::builder().open(d, database());
    db::Transaction tr(d);
    tr.start();
    db::Query q(tr, QStringLiteral("EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN WHILE (I < 200000) DO BEGIN "
                                   "INSERT INTO FILLER VALUES(:I, LPAD('', 180, 'x')); I = I + 1; END END"));
    q.setParamCheck(false);
    q.exec();
    tr.commit();
  }
  const QString file = tmp.file("big.fbk");
  ASSERT_TRUE(dm->BackupFDB_GBak(0, QString(), general.database, file, true));
  exec("UPDATE ACCDEF1 SET SHOUGOU='そのまま' WHERE REC=1");

  const QByteArray before = fileBytes(file);
  bool killed = false;
  qint64 pid = 0;
  QTimer watch;
  watch.setInterval(5);
  QObject::connect(&watch, &QTimer::timeout, [&] {
    const QStringList temps = QDir(general.folder).entryList({"*.rs_*"}, QDir::Files);
    if (!killed && pid > 0 && !temps.isEmpty() && QFileInfo(general.folder + "/" + temps[0]).size() > 1024 * 1024) {
      ::kill(pid_t(pid), SIGKILL);
      killed = true;
    }
  });
  dm->BackupToolStartedProc = [&](qint64 p) {
    pid = p;
    watch.start();
  };
  EXPECT_FALSE(dm->RestoreFDB_GBak(0, QString(), general.database, file, true));
  dm->BackupToolStartedProc = nullptr;
  ASSERT_TRUE(killed) << "the restore ended before it could be stopped";
  EXPECT_EQ(value("SELECT SHOUGOU AS V FROM ACCDEF1 WHERE REC=1"), "そのまま");
  EXPECT_EQ(value("SELECT COUNT(*) AS V FROM FILLER"), "200000");
  EXPECT_EQ(QDir(general.folder).entryList({"*.rs_*"}, QDir::Files), QStringList{});
  EXPECT_EQ(fileBytes(file), before);
  ASSERT_FALSE(hook.boxes.empty());
  EXPECT_NE(hook.boxes.back().text.indexOf(QStringLiteral("データベースのリストアに失敗しました。")), -1);

  // Left alone, the same restore replaces the data.
  hook.boxes.clear();
  EXPECT_TRUE(dm->RestoreFDB_GBak(0, QString(), general.database, file, true));
  EXPECT_NE(value("SELECT SHOUGOU AS V FROM ACCDEF1 WHERE REC=1"), "そのまま");
}

// gbak gets the user and password through its environment only.
TEST_P(GBakTool, PasswordNeverOnTheCommandLineNorInALog)
{
  const QString bin = tmp.file("bin");
  QDir().mkpath(bin);
  const QString seen = tmp.file("seen.txt");
  const QString script = bin + "/gbak";
  {
    QFile f(script);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QStringLiteral("#!/bin/sh\necho \"ARGS $*\" >> '%1'\necho \"USER $ISC_USER PASS $ISC_PASSWORD\" >> '%1'\n"
                           "exec /usr/bin/gbak \"$@\"\n")
                .arg(seen)
                .toUtf8());
  }
  QFile::setPermissions(script, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  SystemDef.EXEPATH = bin;
  SystemDef.PASWORD = QStringLiteral("dormil");
  const QString file = tmp.file("p.fbk");
  ASSERT_TRUE(dm->BackupFDB_GBak(0, QString(), general.database, file, true));
  ASSERT_TRUE(dm->RestoreFDB_GBak(0, QString(), general.database, file, true));
  // A failing run writes its log and the error logs.
  EXPECT_FALSE(dm->RestoreFDB_GBak(0, QString(), general.database, tmp.file("seen.txt"), true));
  const QString calls = QString::fromUtf8(fileBytes(seen));
  EXPECT_EQ(calls.count(QStringLiteral("ARGS ")), 3);
  EXPECT_EQ(calls.count(QStringLiteral("USER ABACOR PASS dormil")), 3);
  for (const QString& line : calls.split('\n'))
    if (line.startsWith(QStringLiteral("ARGS ")))
      EXPECT_EQ(line.indexOf(QStringLiteral("dormil")), -1) << line.toStdString();
  for (const QFileInfo& log :
       QDir(SystemDef.TEMP).entryInfoList(QDir::Files) + QDir(SystemDef.LOG).entryInfoList(QDir::Files))
    EXPECT_EQ(fileBytes(log.filePath()).indexOf("dormil"), -1) << log.fileName().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Embedded, GBakTool, ::testing::Values(TRoute{"StandAlone", jxatSA, jxttGBak, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------

TEST(BackupInfoBlock, ReadingEdges)
{
  TestTempDir tmp;
  auto write = [&](const QString& name, const QByteArray& bytes) {
    QFile f(tmp.file(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return tmp.file(name);
  };
  TBackupRestoreThread w(true);
  w.Inf_Shougou = QStringLiteral("髙橋商事");
  w.Inf_SiwakeCnt = 3;
  const QByteArray block = utf16le(w.ZaimuInfText());
  struct Case {
    const char* what;
    QByteArray bytes;
    int result;
  } cases[] = {
      {"at the end", QByteArray(5000, 'a') + block, 1},
      {"after content of odd length", QByteArray(4999, 'a') + block, 1},
      {"more than 2048 bytes before the end", QByteArray(100, 'a') + block + QByteArray(2100, 'b'), 0},
      {"at offset 0", block, 0},
      {"no block", QByteArray(3000, 'a'), 0},
      {"empty company name", QByteArray(10, 'a') + utf16le(QStringLiteral("## TessalyZone\r\nSHOUGOU=\r\n")), 0},
      {"empty file", QByteArray(), 0},
  };
  for (const auto& c : cases) {
    const QString f = write(QStringLiteral("b.fbk"), c.bytes);
    TBackupRestoreThread r(true);
    r.Inf_GassanKbn = 9;
    EXPECT_EQ(r.GetZaimuInfFromBackupFile(f, true), c.result) << c.what;
    EXPECT_EQ(r.Inf_GassanKbn, 0) << c.what;
    if (c.result == 1) {
      EXPECT_EQ(r.Inf_Shougou, "髙橋商事") << c.what;
      EXPECT_EQ(r.Inf_SiwakeCnt, 3) << c.what;
      EXPECT_EQ(fileBytes(f), c.bytes.left(c.bytes.size() - block.size())) << c.what;
    } else if (QString::fromUtf8(c.what) != "empty company name") {
      EXPECT_EQ(fileBytes(f), c.bytes) << c.what;
    }
  }
  EXPECT_EQ(TBackupRestoreThread(true).GetZaimuInfFromBackupFile(tmp.file("missing.fbk")), 0);
}

}  // namespace
}  // namespace dmtest
