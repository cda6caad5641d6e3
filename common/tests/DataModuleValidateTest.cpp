// The full validation of a company database through the Firebird services,
// on real fixture databases: a sound one, a damaged copy, a missing file and
// a file that is no database; locally (embedded engine) and through the test
// server. The open company connection is closed for the validation and
// opened again afterwards.
#include <QFile>

#include "DamagedDatabase.h"
#include "DataModuleTestUtil.h"
#include "tests/support/FirebirdServer.h"

namespace dmtest {
namespace {

constexpr int kTcp = 0;
constexpr int kLocal = 3;

class Validation : public StandAlone {
 protected:
  void SetUp() override
  {
    StandAlone::SetUp();
    general = root.dataSets.at(0);
    damaged = tmp.file(QStringLiteral("damaged/wqacc2.fdb"));
    QDir().mkpath(tmp.file(QStringLiteral("damaged")));
    ASSERT_GT(makeDamagedCopy(general.database, damaged), 0);
    notADatabase = tmp.file(QStringLiteral("junk/wqacc2.fdb"));
    QDir().mkpath(tmp.file(QStringLiteral("junk")));
    QFile f(notADatabase);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(64 * 1024, 'x'));
  }

  struct Case {
    const char* what;
    QString file;
    int result;
    bool reopened;  // the company connection is open again afterwards (not
                    // after a failure taken for damage)
  };
  std::vector<Case> cases() const
  {
    return {
        {"sound", general.database, 1, true},
        {"damaged copy", damaged, 0, true},
        {"missing file (cannot be opened: not held for damaged)", tmp.file(QStringLiteral("none/wqacc2.fdb")), 1, true},
        {"not a database", notADatabase, 0, false},
    };
  }

  void run(int protocol, const QString& server)
  {
    for (const Case& c : cases()) {
      ASSERT_TRUE(dm->fnAccDatConnected(QString(), general.folder, false)) << c.what;
      const QString openName = dm->IBDatabaseDAT.databaseName();
      EXPECT_EQ(dm->ValidateFDB(protocol, server, c.file), c.result) << c.what;
      EXPECT_EQ(dm->IBDatabaseDAT.isConnected(), c.reopened) << c.what;
      if (c.reopened) {
        // The same database as before, usable.
        EXPECT_EQ(dm->IBDatabaseDAT.databaseName(), openName);
        db::Transaction tr(dm->IBDatabaseDAT);
        tr.start();
        db::Query q(tr, QStringLiteral("SELECT COUNT(*) FROM ACCDEF1"));
        q.open();
        EXPECT_GT(q.field(0).asInt(), 0) << c.what;
        q.close();
        tr.commit();
      }
      // Nothing is shown: the caller decides what a result means.
      EXPECT_TRUE(hook.boxes.empty()) << c.what << " " << (hook.boxes.empty() ? "" : hook.boxes[0].text.toStdString());
      dm->IBDatabaseDAT.disconnect();
    }
    // Without an open company connection none is opened.
    EXPECT_EQ(dm->ValidateFDB(protocol, server, general.database), 1);
    EXPECT_FALSE(dm->IBDatabaseDAT.isConnected());
  }

  sample::DataSet general;
  QString damaged;
  QString notADatabase;
};

TEST_F(Validation, LocalValidationTellsSoundFromDamaged)
{
  run(kLocal, QString());
}

TEST_F(Validation, ValidationThroughTheServer)
{
  const FirebirdServer& srv = FirebirdServer::shared();
  ASSERT_EQ(srv.port(), FbPort);
  // The company database is open through the server too.
  AppType = jxatCS;
  SystemDef.SERVERNAME = QStringLiteral("localhost");
  ASSERT_TRUE(dm->fnAccDefConnected(QString(), true));  // file tests go through the system database
  run(kTcp, srv.host());
}

TEST_F(Validation, WorkUnderWayOnTheCompanyConnectionIsKept)
{
  // A company transaction with uncommitted work: the connection stays open
  // through the validation and the work can still be committed.
  ASSERT_TRUE(dm->fnAccDatConnected(QString(), general.folder, false));
  dm->IBTransactionDAT.start();
  {
    db::Query q(dm->IBTransactionDAT, QStringLiteral("UPDATE ACCDEF1 SET SHOUGOU = :S"));
    q.setParam(QStringLiteral("S"), QStringLiteral("kept"));
    q.exec();
  }
  EXPECT_EQ(dm->ValidateFDB(kLocal, QString(), damaged), 0);
  // Its own file is in use by that work: not held for damage.
  EXPECT_EQ(dm->ValidateFDB(kLocal, QString(), general.database), 1);
  ASSERT_TRUE(dm->IBDatabaseDAT.isConnected());
  ASSERT_TRUE(dm->IBTransactionDAT.inTransaction());
  dm->IBTransactionDAT.commit();
  dm->IBDatabaseDAT.disconnect();
  EXPECT_EQ(readValue(general.database, "SELECT FIRST 1 SHOUGOU FROM ACCDEF1", "SHOUGOU"), QStringLiteral("kept"));
}

TEST_F(Validation, AServerThatCannotAnswerSaysNothingAboutTheFile)
{
  // Neither a server that is not there nor a refused login is damage: a
  // damage mark would stay on a sound data set.
  const FirebirdServer& srv = FirebirdServer::shared();
  struct Case {
    const char* what;
    int port;
    const char* password;
  };
  const Case cases[] = {
      {"no server on the port", 1, "dormil"},
      {"login refused", srv.port(), "wrong"},
  };
  for (const Case& c : cases) {
    FbPort = c.port;
    SystemDef.PASWORD = QString::fromLatin1(c.password);
    EXPECT_EQ(dm->ValidateFDB(kTcp, srv.host(), damaged), 1) << c.what;
    EXPECT_TRUE(hook.boxes.empty()) << c.what;
  }
  FbPort = FirebirdServer::SharedPort;
  SystemDef.PASWORD = QStringLiteral("dormil");
  EXPECT_EQ(dm->ValidateFDB(kTcp, srv.host(), damaged), 0);
}

TEST_F(Validation, TheDamageIsFoundAgainAndTheSoundFileStaysSound)
{
  // Validating changes neither verdict: the damage is still there the
  // second time, and a sound file validated twice stays sound.
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(dm->ValidateFDB(kLocal, QString(), damaged), 0) << i;
    EXPECT_EQ(dm->ValidateFDB(kLocal, QString(), general.database), 1) << i;
  }
}

TEST_F(Validation, ADatabaseAttachedElsewhereIsNotHeldForDamaged)
{
  // The engine refuses to validate a database someone else has attached;
  // that says nothing about damage. Our own company connection is closed
  // for the validation and so does not count.
  ASSERT_TRUE(dm->fnAccDatConnected(QString(), general.folder, false));
  db::Database other;
  testfx::builder().open(other, general.database);
  EXPECT_EQ(dm->ValidateFDB(kLocal, QString(), general.database), 1);
  EXPECT_TRUE(dm->IBDatabaseDAT.isConnected());
  other.disconnect();
  dm->IBDatabaseDAT.disconnect();
  EXPECT_EQ(dm->ValidateFDB(kLocal, QString(), general.database), 1);
}

}  // namespace
}  // namespace dmtest
