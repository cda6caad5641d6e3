// The logon's statements against a fixture system database, without a
// screen: the procedure's answers and the logon record it leaves, the
// operator's name and rights, forgetting a logon, the stored password.
#include <gtest/gtest.h>

#include "common/LogonStore.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TempDir.h"

namespace {

using namespace fixtures;

class LogonStoreTest : public ::testing::Test {
 protected:
  void SetUp() override
  {
    path = testfx::makeSystemDb(tmp.path());
    testfx::builder().open(database, path);
  }
  void TearDown() override { database.disconnect(); }

  // The logon records of the group: "operator@pc:version" in operator order.
  QStringList logons()
  {
    db::Transaction tr(database);
    tr.start();
    db::Query q(tr, QStringLiteral("SELECT OPERATORCODE,PCNAME,APPVERSION FROM LOGONUSERLIST "
                                   "WHERE GROUPID=:G ORDER BY OPERATORCODE,PCNAME"));
    q.setParam(QStringLiteral("G"), sample::GroupId);
    QStringList out;
    for (q.open(); !q.eof(); q.next())
      out << QStringLiteral("%1@%2:%3").arg(q.field(0).asInt()).arg(q.field(1).asString()).arg(q.field(2).asInt());
    q.close();
    tr.commit();
    return out;
  }

  TestTempDir tmp;
  QString path;
  db::Database database;
};

TEST_F(LogonStoreTest, TheProcedureAnswersAndRecordsTheLogonWithTheVersionGiven)
{
  db::Transaction tr(database);
  struct Case {
    const char* what;
    int code;
    const char* password;
    const char* pc;
    int version;
    int num, jobLevel;
    QStringList after;
  } cases[] = {
      {"wrong password", sample::OperatorCode, "x", "pc1", 2, -1, 0, {}},
      {"unknown operator", 55, "", "pc1", 2, -1, 0, {}},
      {"operator logon", sample::OperatorCode, "1234", "pc1", 2, 0, 9, {"101@pc1:2"}},
      {"same computer again", sample::OperatorCode, "1234", "pc1", 2, 1, 9, {"101@pc1:2"}},
      {"another computer", sample::OperatorCode, "1234", "pc2", 2, -3, 0, {"101@pc1:2"}},
      {"password confirmation", sample::ClerkCode, "abcd", "pc1", 17, 0, 1, {"101@pc1:2", "102@pc1:17"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const TLogonAnswer a = TLogonStore::LogonUserTest(tr, QString::fromLatin1(c.pc), sample::GroupId, c.code, c.version,
                                                      QString::fromLatin1(c.password));
    EXPECT_EQ(a.Num, c.num);
    EXPECT_EQ(a.LoginCode, c.code);
    EXPECT_EQ(a.JobLevel, c.jobLevel);
    EXPECT_FALSE(tr.inTransaction());
    EXPECT_EQ(logons(), c.after);
  }

  // A logon that did not come about is forgotten on this computer only.
  TLogonStore store(database);
  EXPECT_TRUE(store.ForgetLogon(sample::GroupId, sample::OperatorCode, QStringLiteral("pc2")));
  EXPECT_EQ(logons(), (QStringList{"101@pc1:2", "102@pc1:17"}));
  EXPECT_TRUE(store.ForgetLogon(sample::GroupId, sample::OperatorCode, QStringLiteral("pc1")));
  EXPECT_EQ(logons(), QStringList{"102@pc1:17"});
}

TEST_F(LogonStoreTest, OperatorNameAndRights)
{
  TLogonStore store(database);
  struct Case {
    int group, code;
    QString name;
    bool jimusho, myNumber, shonin;
  } cases[] = {
      {sample::GroupId, sample::OperatorCode, sample::operatorName(), true, true, false},
      {sample::GroupId, sample::ClerkCode, sample::clerkName(), false, false, false},
      {sample::GroupId, 55, QString(), false, false, false},          // no such operator
      {20000, sample::OperatorCode, QString(), false, false, false},  // another group
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    TLogonOperator op{QStringLiteral("stale"), true, true, true};
    store.ReadOperator(c.group, c.code, op);
    store.ReadOperatorRights(c.group, c.code, op);
    EXPECT_EQ(op.OpName, c.name);
    EXPECT_EQ(op.Jimusho, c.jimusho);
    EXPECT_EQ(op.MyNumberAdm, c.myNumber);
    EXPECT_EQ(op.Syouninsya, c.shonin);
  }

  // A lost connection leaves the values empty rather than raising.
  database.disconnect();
  TLogonOperator op{QStringLiteral("stale"), true, true, true};
  store.ReadOperator(sample::GroupId, sample::OperatorCode, op);
  store.ReadOperatorRights(sample::GroupId, sample::OperatorCode, op);
  EXPECT_EQ(op.OpName, QString());
  EXPECT_FALSE(op.Jimusho || op.MyNumberAdm || op.Syouninsya);
  EXPECT_FALSE(store.ForgetLogon(sample::GroupId, sample::OperatorCode, QStringLiteral("pc1")));
  EXPECT_THROW(store.ReadPassword(sample::GroupId, 1), db::DbError);
}

TEST_F(LogonStoreTest, StoredPasswordOfASystemLoginCode)
{
  TLogonStore store(database);
  // Login code 1 has no row: none stored; writing creates the system user's row.
  EXPECT_EQ(store.ReadPassword(sample::GroupId, 1), QString());
  store.WritePassword(sample::GroupId, 1, QStringLiteral("first"));
  EXPECT_EQ(store.ReadPassword(sample::GroupId, 1), QStringLiteral("first"));
  store.WritePassword(sample::GroupId, 1, QStringLiteral("second"));
  EXPECT_EQ(store.ReadPassword(sample::GroupId, 1), QStringLiteral("second"));
  TLogonOperator op;
  store.ReadOperator(sample::GroupId, 1, op);
  EXPECT_EQ(op.OpName, QStringLiteral("システムユーザー"));
  // The password is the one the logon procedure checks.
  db::Transaction tr(database);
  EXPECT_EQ(
      TLogonStore::LogonUserTest(tr, QStringLiteral("pc1"), sample::GroupId, 1, 12, QStringLiteral("second")).JobLevel,
      9);
  // Another group's row is its own.
  EXPECT_EQ(store.ReadPassword(20000, 1), QString());
  // Cleared: nothing stored.
  store.WritePassword(sample::GroupId, 1, QString());
  EXPECT_EQ(store.ReadPassword(sample::GroupId, 1), QString());
}

}  // namespace
