#include <QFile>

#include "db/tests/DbTestEnv.h"

using namespace db;

namespace {

DbError errorOf(const std::function<void()>& f)
{
  try {
    f();
  } catch (const DbError& e) {
    return e;
  }
  ADD_FAILURE() << "no DbError raised";
  return DbError(QString());
}

}  // namespace

TEST(DbErrors, CarryStatusCodeSqlCodeAndServerText)
{
  TestTempDir tmp;
  auto d = createTestDb(tmp);
  execCommit(*d, QStringLiteral("CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(4))"));
  Transaction tr(*d);
  tr.start();

  const struct {
    const char* sql;
    int gdscode;
    int sqlcode;
    const char* inText;
    const char* sqlstate;
  } cases[] = {
      {"SELECT * FROM NO_SUCH_TABLE", DbError::DsqlError, -204, "NO_SUCH_TABLE", "42S02"},
      {"SELECT NO_SUCH_COLUMN FROM T", DbError::DsqlError, -206, "NO_SUCH_COLUMN", "42S22"},
      {"INSERT INTO T VALUES (1, 'toolong')", 335544321, -802, "truncation", "22001"},
      {"SELEKT 1 FROM T", DbError::DsqlError, -104, "SELEKT", "42000"},
      {"INSERT INTO T VALUES (NULL, 'a')", 335544347, -625, "ID", "23000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sql);
    Query q(tr, QString::fromLatin1(c.sql));
    const DbError e = errorOf([&] { q.exec(); });
    EXPECT_EQ(e.gdscode(), c.gdscode) << e.message().toStdString();
    EXPECT_EQ(e.sqlcode(), c.sqlcode) << e.message().toStdString();
    EXPECT_EQ(e.sqlstate(), QLatin1String(c.sqlstate)) << e.message().toStdString();
    EXPECT_TRUE(e.message().contains(QLatin1String(c.inText))) << e.message().toStdString();
    EXPECT_EQ(QString::fromUtf8(e.what()), e.message());
    EXPECT_FALSE(e.isLostConnection());
  }
  // The transaction survives statement errors.
  Query ok(tr, QStringLiteral("INSERT INTO T VALUES (1, 'ab')"));
  ok.exec();
  const DbError dup = errorOf([&] { ok.exec(); });
  EXPECT_EQ(dup.gdscode(), 335544665) << dup.message().toStdString();  // unique key violation
  tr.commit();
}

TEST(DbErrors, MissingOrDamagedFileOnConnect)
{
  TestTempDir tmp;
  Database missing(tmp.file(QStringLiteral("nothere.fdb")));
  missing.setUser(QString::fromLatin1(FirebirdServer::User));
  const DbError e = errorOf([&] { missing.connect(); });
  EXPECT_EQ(e.gdscode(), DbError::IoError) << e.message().toStdString();
  EXPECT_TRUE(e.message().contains(QStringLiteral("nothere.fdb"))) << e.message().toStdString();
  EXPECT_FALSE(missing.isConnected());

  QFile junk(tmp.file(QStringLiteral("junk.fdb")));
  ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
  junk.write(QByteArray(32768, 'x'));
  junk.close();
  Database bad(junk.fileName());
  const DbError b = errorOf([&] { bad.connect(); });
  EXPECT_NE(b.gdscode(), 0);
  EXPECT_FALSE(bad.isConnected());

  Database noName;
  EXPECT_THROW(noName.connect(), DbError);
}

TEST(DbErrors, LostConnectionCodes)
{
  const struct {
    int code;
    bool lost;
  } cases[] = {{335544721, true}, {335544726, true},  {335544727, true},  {335544741, true}, {335544333, true},
               {335544856, true}, {335544345, false}, {335544569, false}, {0, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(DbError(QStringLiteral("x"), c.code).isLostConnection(), c.lost) << c.code;
    // Also when the code is not the first of the vector.
    EXPECT_EQ(DbError(QStringLiteral("x"), 335544569, 0, {335544569, c.code}).isLostConnection(), c.lost) << c.code;
  }
}

TEST(DbErrors, CaughtAsTheCommonBaseWithCodeAndSqlState)
{
  TestTempDir tmp;
  auto d = createTestDb(tmp);
  execCommit(*d, QStringLiteral("CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY)"));
  Transaction tr(*d);
  tr.start();
  Query ins(tr, QStringLiteral("INSERT INTO T VALUES (1)"));
  ins.exec();
  try {
    ins.exec();  // the same key again
    ADD_FAILURE() << "expected a unique key violation";
  } catch (const EAppError& e) {
    EXPECT_TRUE(e.message().contains(QLatin1String("PRIMARY"))) << e.message().toStdString();
    EXPECT_EQ(QString::fromUtf8(e.what()), e.message());
    const auto* fb = dynamic_cast<const DbError*>(&e);
    ASSERT_NE(fb, nullptr);
    EXPECT_EQ(fb->gdscode(), DbError::UniqueKeyViolation);
    EXPECT_EQ(fb->sqlstate(), QStringLiteral("23000"));
  }
  // Errors of the layer itself carry neither.
  try {
    ins.setParam(QStringLiteral("NO_SUCH"), 1);
    ADD_FAILURE() << "expected an unknown parameter";
  } catch (const EAppError& e) {
    const auto* fb = dynamic_cast<const DbError*>(&e);
    ASSERT_NE(fb, nullptr);
    EXPECT_EQ(fb->gdscode(), 0);
    EXPECT_TRUE(fb->sqlstate().isEmpty());
  }
  tr.rollback();
}
