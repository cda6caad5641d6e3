// Forced writes of a created database: the engine's default unless the
// creator turns them off, and the mode travels with the file.
#include <QFile>

#include "db/tests/DbTestEnv.h"

using db::Database;

namespace {

int forcedWritesOf(const QString& path)
{
  Database d(path);
  d.setUser(QString::fromLatin1(FirebirdServer::User));
  d.setPassword(QString::fromLatin1(FirebirdServer::Password));
  d.connect();
  db::Transaction tr(d, db::Transaction::ReadCommittedReadOnly);
  tr.start();
  db::Query q(tr, QStringLiteral("SELECT MON$FORCED_WRITES FROM MON$DATABASE"));
  q.open();
  const int mode = q.field(0).asInt();
  q.close();
  tr.commit();
  return mode;
}

}  // namespace

TEST(ForcedWrites, CreatedDatabasesKeepTheModeTheirCreatorChose)
{
  TestTempDir tmp;
  struct Case {
    const char* file;
    int setting;  // -1: left alone
    int stored;
  } cases[] = {{"default.fdb", -1, 1}, {"on.fdb", 1, 1}, {"off.fdb", 0, 0}};
  for (const Case& c : cases) {
    const QString path = tmp.file(QString::fromLatin1(c.file));
    {
      Database d(path);
      d.setUser(QString::fromLatin1(FirebirdServer::User));
      d.setPassword(QString::fromLatin1(FirebirdServer::Password));
      if (c.setting >= 0)
        d.setForcedWrites(c.setting == 1);
      EXPECT_EQ(d.forcedWrites(), c.setting != 0) << c.file;
      d.createAndConnect();
      // Work on it as usual.
      execCommit(d, QStringLiteral("CREATE TABLE T (N INTEGER)"));
      execCommit(d, QStringLiteral("INSERT INTO T VALUES (1)"));
    }
    EXPECT_EQ(forcedWritesOf(path), c.stored) << c.file;
  }
  // The static form, and a copy of the file keeps the mode.
  const QString off = tmp.file(QStringLiteral("static-off.fdb"));
  Database::create(off, QString::fromLatin1(FirebirdServer::User), QString::fromLatin1(FirebirdServer::Password), 16384,
                   QStringLiteral("UTF8"), false);
  const QString copy = tmp.file(QStringLiteral("copy.fdb"));
  ASSERT_TRUE(QFile::copy(off, copy));
  EXPECT_EQ(forcedWritesOf(off), 0);
  EXPECT_EQ(forcedWritesOf(copy), 0);
}
