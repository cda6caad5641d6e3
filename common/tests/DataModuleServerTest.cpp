// The data module in client/server use, against a real Firebird server.
#include <QDir>
#include <QFile>

#include "DataModuleTestUtil.h"
#include "common/DataInfomation.h"
#include "tests/support/FirebirdServer.h"

namespace dmtest {
namespace {

const QString kHost = QStringLiteral("localhost");

class ClientServer : public StandAlone {
 protected:
  void SetUp() override
  {
    StandAlone::SetUp();
    FirebirdServer::shared();
    AppType = jxatCS;
    SystemDef.SERVERNAME = kHost;
  }
  // Databases the server has open are reached through it only.
  static QString remote(const QString& path) { return FirebirdServer::shared().remoteName(path); }
};

TEST_F(ClientServer, ConnectsEveryDatabaseThroughTheServer)
{
  const sample::DataSet& general = root.dataSets.at(0);
  const sample::DataSet& previous = root.dataSets.at(2);
  ASSERT_TRUE(dm->fnAccDefConnected(QString(), true));
  EXPECT_EQ(dm->IBDatabaseDEF.databaseName(), "localhost/3051:" + root.root + "/wqaccdef2.fdb");
  ASSERT_TRUE(dm->fnAccFileManConnected(QString()));
  EXPECT_EQ(dm->IBFileMan.databaseName(), "localhost/3051:" + root.root + "/wqfileman.fdb");
  ASSERT_TRUE(dm->fnAccDatConnected(QString(), general.folder, true));
  EXPECT_EQ(dm->IBDatabaseDAT.databaseName(), "localhost/3051:" + general.folder + "/wqacc2.fdb");
  EXPECT_FALSE(QFile::exists(general.folder + "/wqacc2.ini"));  // no settings file in client/server use
  ASSERT_TRUE(dm->fnAccDatZenkiConnected(QString(), previous.folder));
  EXPECT_EQ(dm->IBDatabaseZEN.databaseName(), "localhost/3051:" + previous.folder + "/wqacc2.fdb");

  // Someone else's attachment through the server counts.
  {
    db::Database other(FirebirdServer::shared().remoteName(general.database));
    other.setUser("ABACOR");
    other.setPassword("dormil");
    other.connect();
    EXPECT_TRUE(dm->AccDatInConnection(1, QString(), general.folder, false));
  }
  EXPECT_FALSE(dm->AccDatInConnection(1, QString(), general.folder, false));
  EXPECT_TRUE(dm->IBDatabaseDAT.isConnected());

  QStringList updates;
  SetDataListUpdateProc([&](const QString& folder, const TDataInfomationRec& rec, bool replaceName) {
    updates << QStringLiteral("%1|%2|%3").arg(folder, rec.Shougou).arg(replaceName);
  });
  EXPECT_TRUE(dm->fnAccDatDisConnected(general.folder, true, true, false));
  EXPECT_EQ(updates, QStringList{QStringLiteral("%1|%2|0").arg(general.folder, general.shougou)});
  SetDataListUpdateProc(nullptr);
  EXPECT_TRUE(dm->IsFirebirdRunning());
  EXPECT_TRUE(hook.boxes.empty());
}

TEST_F(ClientServer, AWrongPasswordIsReportedAndNotValidated)
{
  int validations = 0;
  DataHasonHanteiProc = [&](const QString&, const QString&, int) {
    ++validations;
    return QVariant(1);
  };
  SystemDef.DataHasonCheck = 1;
  ASSERT_TRUE(dm->fnAccDefConnected(QString(), true));  // file tests go through the system database
  SystemDef.PASWORD = QStringLiteral("wrong");
  EXPECT_FALSE(dm->fnAccDatConnected(QString(), root.dataSets.at(0).folder, false));
  EXPECT_EQ(validations, 0);
  ASSERT_EQ(hook.boxes.size(), 1u);
  EXPECT_TRUE(hook.boxes[0].text.contains("IBXエラーコード:335544472"));
  EXPECT_FALSE(hook.boxes[0].text.contains("wrong"));  // the password is never shown
  QFile f(SystemDef.LOG + "/ErrFbAccess.log");
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_FALSE(f.readAll().contains("wrong"));
  EXPECT_FALSE(FbFatalLatch);
}

TEST_F(ClientServer, FileOperationsThroughTheServer)
{
  const QString folder = tmp.file("srvdir/sub");
  const QString file = root.dataSets.at(0).database;
  struct Case {
    const char* name;
    std::function<bool()> op;
    bool expected;
  } cases[] = {
      {"file exists", [&] { return dm->AccFileExists(file, jxatCS); }, true},
      {"file missing", [&] { return dm->AccFileExists(file + ".x", jxatCS); }, false},
      {"mode in any case", [&] { return dm->ServerFileOperation("fexist", file, QString()); }, true},
      {"unknown mode", [&] { return dm->ServerFileOperation("TOUCH", file, QString()); }, false},
      {"copy without target", [&] { return dm->ServerFileOperation("FCOPY", file, "  "); }, false},
      {"make folder", [&] { return dm->AccMakeDirectory(folder, jxatSBC); }, true},
      {"folder exists", [&] { return dm->AccDirectoryExists(folder, jxatCS); }, true},
      {"copy", [&] { return dm->AccCopyFile(file, folder + "/copy.fdb", jxatCS); }, true},
      {"move", [&] { return dm->AccMoveFile(folder + "/copy.fdb", folder + "/moved.fdb", jxatCS); }, true},
      {"moved away", [&] { return dm->AccFileExists(folder + "/copy.fdb", jxatCS); }, false},
      {"moved there", [&] { return dm->AccFileExists(folder + "/moved.fdb", jxatCS); }, true},
      {"move of a missing file", [&] { return dm->AccMoveFile(folder + "/none", folder + "/n2", jxatCS); }, false},
      {"delete", [&] { return dm->AccDeleteFile(folder + "/moved.fdb", jxatCS, false); }, true},
      {"unknown access form", [&] { return dm->AccFileExists(file, 7); }, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.op(), c.expected) << c.name;
  EXPECT_EQ(dm->AccLongToShortFileName("/a/long name/x.fdb", jxatCS), "/a/long name/x.fdb");
  EXPECT_FALSE(dm->IBDatabaseDEF.isConnected());  // each call closed what it opened
  EXPECT_TRUE(hook.boxes.empty());
}

TEST(ClientServerLost, ALostServerEndsTheApplicationOnce)
{
  TestTempDir tmp;
  const sample::DataRoot root = testfx::makeDataRoot(tmp.file("root"));
  pointRecordsAt(root.root, tmp.file("log"));
  RecordingHook hook;
  FirebirdServer server;
  server.start();
  AppType = jxatCS;
  SystemDef.SERVERNAME = kHost;
  FbPort = server.port();
  {
    TDM dm;
    ASSERT_TRUE(dm.fnAccDefConnected(QString(), true));
    server.stop();
    EXPECT_FALSE(dm.AccFileExists(root.dataSets.at(0).database, jxatCS));
    EXPECT_TRUE(FbFatalLatch);
    EXPECT_EQ(hook.terminations, 1);
    ASSERT_EQ(hook.boxes.size(), 1u);
    EXPECT_TRUE(hook.boxes[0].text.startsWith("何らかの原因でネットワークが物理的に切断されている"));
    // Later database errors are ignored.
    EXPECT_FALSE(dm.AccFileExists(root.dataSets.at(0).database, jxatCS));
    EXPECT_EQ(hook.boxes.size(), 1u);
    EXPECT_EQ(hook.terminations, 1);
  }
  pcAccRecordReset();
}

}  // namespace
}  // namespace dmtest
