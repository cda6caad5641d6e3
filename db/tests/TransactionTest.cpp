#include "db/tests/DbTestEnv.h"

using namespace db;

namespace {

int countRows(Transaction& tr)
{
  Query q(tr, QStringLiteral("SELECT COUNT(*) FROM T"));
  q.open();
  return q.field(0).asInt();
}

void insertRow(Transaction& tr, int id)
{
  Query q(tr, QStringLiteral("INSERT INTO T (ID, V) VALUES (:ID, :ID)"));
  q.setParam(QStringLiteral("ID"), id);
  q.exec();
}

}  // namespace

TEST(Transaction, SeveralTransactionsOnOneConnectionSeeWhatTheirKindAllows)
{
  TestTempDir tmp;
  auto d = createTestDb(tmp);
  execCommit(*d, QStringLiteral("CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, V INTEGER)"));

  Transaction writer(*d);
  Transaction readCommitted(*d, Transaction::ReadCommittedReadOnly);
  Transaction snapshot(*d, Transaction::Snapshot);
  writer.start();
  readCommitted.start();
  snapshot.start();
  EXPECT_EQ(countRows(snapshot), 0);  // the snapshot is taken at start

  insertRow(writer, 1);
  EXPECT_EQ(countRows(writer), 1);
  EXPECT_EQ(countRows(readCommitted), 0);  // not yet committed
  writer.commit();
  EXPECT_FALSE(writer.inTransaction());
  EXPECT_EQ(countRows(readCommitted), 1);
  EXPECT_EQ(countRows(snapshot), 0);
  snapshot.commit();
  snapshot.start();
  EXPECT_EQ(countRows(snapshot), 1);

  // A read-only transaction refuses writes.
  EXPECT_THROW(insertRow(readCommitted, 2), DbError);
}

TEST(Transaction, NowaitConflictsCarryTheirCodes)
{
  TestTempDir tmp;
  auto d = createTestDb(tmp);
  execCommit(*d, QStringLiteral("CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, V INTEGER)"));
  execCommit(*d, QStringLiteral("INSERT INTO T VALUES (1, 0)"));
  Database other(d->databaseName());
  other.setUser(d->user());
  other.connect();

  // While transaction A has changed row 1 and is still active, B gets an
  // immediate error: writing or (without record versions) reading row 1 is
  // an update/read conflict, reported as "deadlock" (335544336, SQL code
  // -913). A consistency transaction locks the tables it reads: A's write
  // lock on T on the same connection cannot be waited for, and the read
  // fails at once with a lock conflict (335544345, -901).
  const QStringList noRecVersion{QStringLiteral("read_committed"), QStringLiteral("no_rec_version"),
                                 QStringLiteral("nowait")};
  const struct {
    bool sameConnection;
    Transaction::Kind kind;
    bool useNoRecVersion;
    const char* sql;
    int gdscode;
    int sqlcode;
  } cases[] = {
      {true, Transaction::ReadCommitted, false, "UPDATE T SET V = V + 10 WHERE ID = 1", DbError::Deadlock, -913},
      {false, Transaction::ReadCommitted, false, "UPDATE T SET V = V + 10 WHERE ID = 1", DbError::Deadlock, -913},
      {false, Transaction::Snapshot, false, "DELETE FROM T WHERE ID = 1", DbError::Deadlock, -913},
      {false, Transaction::ReadCommitted, true, "SELECT V FROM T WHERE ID = 1", DbError::Deadlock, -913},
      {true, Transaction::Consistency, false, "SELECT V FROM T WHERE ID = 2", DbError::LockConflict, -901},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sql);
    Transaction a(*d);
    Transaction b(c.sameConnection ? *d : other, c.kind);
    if (c.useNoRecVersion)
      b.setParams(noRecVersion);
    a.start();
    b.start();
    Query ua(a, QStringLiteral("UPDATE T SET V = V + 1 WHERE ID = 1"));
    ua.exec();
    Query qb(b, QString::fromLatin1(c.sql));
    try {
      qb.exec();
      ADD_FAILURE() << "expected a conflict";
    } catch (const DbError& e) {
      EXPECT_EQ(e.gdscode(), c.gdscode) << e.message().toStdString();
      EXPECT_EQ(e.sqlcode(), c.sqlcode) << e.message().toStdString();
      EXPECT_FALSE(e.isLostConnection());
    }
    EXPECT_TRUE(b.inTransaction());  // the statement failed, the transaction goes on
    a.rollback();
    b.rollback();
  }
}

TEST(Transaction, RetainingKeepsTheTransactionActive)
{
  TestTempDir tmp;
  auto d = createTestDb(tmp);
  execCommit(*d, QStringLiteral("CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, V INTEGER)"));
  Transaction w(*d), r(*d);
  w.start();
  r.start();

  insertRow(w, 1);
  w.commitRetaining();
  EXPECT_TRUE(w.inTransaction());
  EXPECT_EQ(countRows(r), 1);  // committed for others

  insertRow(w, 2);
  w.rollbackRetaining();
  EXPECT_TRUE(w.inTransaction());
  EXPECT_EQ(countRows(w), 1);

  // An open cursor survives commitRetaining and is closed by commit.
  insertRow(w, 3);
  Query q(w, QStringLiteral("SELECT ID FROM T ORDER BY ID"));
  q.open();
  w.commitRetaining();
  ASSERT_TRUE(q.isOpen());
  q.next();
  EXPECT_EQ(q.field(0).asInt(), 3);
  w.commit();
  EXPECT_FALSE(q.isOpen());
  EXPECT_TRUE(q.eof());
  EXPECT_EQ(countRows(r), 2);
}

TEST(Transaction, StateErrorsAndDestructorRollsBack)
{
  TestTempDir tmp;
  auto d = createTestDb(tmp);
  execCommit(*d, QStringLiteral("CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, V INTEGER)"));
  {
    Transaction t(*d);
    EXPECT_THROW(t.commit(), DbError);
    EXPECT_THROW(t.rollback(), DbError);
    EXPECT_THROW(t.commitRetaining(), DbError);
    Query q(t, QStringLiteral("SELECT 1 FROM RDB$DATABASE"));
    EXPECT_THROW(q.open(), DbError);  // not started
    EXPECT_TRUE(t.startIfNeeded());
    EXPECT_FALSE(t.startIfNeeded());
    EXPECT_THROW(t.start(), DbError);
    insertRow(t, 1);
  }  // rolled back here
  Transaction r(*d);
  r.start();
  EXPECT_EQ(countRows(r), 0);
  EXPECT_THROW(r.setParams({QStringLiteral("read_committed"), QStringLiteral("bogus")}), DbError);
}

TEST(Transaction, DisconnectEndsTransactionsAndObjectsWorkAfterReconnect)
{
  TestTempDir tmp;
  auto d = createTestDb(tmp);
  execCommit(*d, QStringLiteral("CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, V INTEGER)"));
  Transaction t(*d);
  t.start();
  insertRow(t, 1);
  Query q(t, QStringLiteral("SELECT ID FROM T"));
  q.open();
  d->disconnect();
  EXPECT_FALSE(d->isConnected());
  EXPECT_FALSE(t.inTransaction());
  EXPECT_FALSE(q.isOpen());
  EXPECT_THROW(q.open(), DbError);

  d->connect();
  t.start();
  q.open();
  EXPECT_TRUE(q.eof());  // the insert was rolled back by the disconnect
  insertRow(t, 2);
  t.commit();
}

TEST(Transaction, ObjectsMayBeDestroyedInAnyOrder)
{
  TestTempDir tmp;
  auto d = createTestDb(tmp);
  execCommit(*d, QStringLiteral("CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, V INTEGER)"));
  auto t = std::make_unique<Transaction>(*d);
  auto q = std::make_unique<Query>(*t, QStringLiteral("SELECT ID FROM T"));
  t->start();
  q->open();
  t.reset();  // the query loses its transaction
  EXPECT_THROW(q->open(), DbError);
  auto t2 = std::make_unique<Transaction>(*d);
  t2->start();
  d.reset();  // database first: transaction and query stay safe to destroy
  EXPECT_FALSE(t2->inTransaction());
  t2.reset();
  q.reset();
}

namespace {

int countIn(Database& d)
{
  Transaction tr(d, Transaction::ReadCommittedReadOnly);
  tr.start();
  return countRows(tr);
}

}  // namespace

TEST(Transaction, OneTransactionOverTwoDatabasesCommitsAndRollsBackBoth)
{
  TestTempDir tmp;
  auto a = createTestDb(tmp, QStringLiteral("a.fdb"));
  auto b = createTestDb(tmp, QStringLiteral("b.fdb"));
  for (Database* d : {a.get(), b.get()})
    execCommit(*d, QStringLiteral("CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, V INTEGER)"));

  Transaction tr(*a);
  Query qa(tr, QStringLiteral("INSERT INTO T (ID, V) VALUES (:ID, 0)"));
  Query qb(tr, *b, QStringLiteral("INSERT INTO T (ID, V) VALUES (:ID, 1)"));
  EXPECT_TRUE(tr.hasDatabase(*b));
  EXPECT_EQ(tr.databases().size(), 2);

  struct Case {
    bool commit;
    int expected;
  } cases[] = {{false, 0}, {true, 1}};
  for (const Case& c : cases) {
    tr.start();
    qa.setParam(QStringLiteral("ID"), 1);
    qa.exec();
    qb.setParam(QStringLiteral("ID"), 1);
    qb.exec();
    // Neither database shows the work of the open transaction to others.
    EXPECT_EQ(countIn(*a), 0);
    EXPECT_EQ(countIn(*b), 0);
    EXPECT_EQ(countRows(tr), 1);
    if (c.commit)
      tr.commit();
    else
      tr.rollback();
    EXPECT_EQ(countIn(*a), c.expected) << c.commit;
    EXPECT_EQ(countIn(*b), c.expected) << c.commit;
  }

  // A failure on the second database after work on the first: the rollback
  // undoes both.
  tr.start();
  qa.setParam(QStringLiteral("ID"), 2);
  qa.exec();
  qb.setParam(QStringLiteral("ID"), 1);  // already there
  EXPECT_THROW(qb.exec(), DbError);
  tr.rollback();
  EXPECT_EQ(countIn(*a), 1);
  EXPECT_EQ(countIn(*b), 1);

  // The databases cannot change while the transaction runs.
  tr.start();
  EXPECT_THROW(tr.removeDatabase(*b), DbError);
  // Losing one of the connections ends the whole transaction.
  qa.setParam(QStringLiteral("ID"), 3);
  qa.exec();
  b->disconnect();
  EXPECT_FALSE(tr.inTransaction());
  EXPECT_EQ(countIn(*a), 1);

  // A database not connected at the start stays outside; a statement on it
  // says so.
  tr.start();
  EXPECT_THROW(qb.exec(), DbError);
  tr.rollback();
  b->connect();
  tr.start();
  qb.setParam(QStringLiteral("ID"), 5);
  qb.exec();
  tr.commit();
  EXPECT_EQ(countIn(*b), 2);
}

TEST(Transaction, ADatabaseDestroyedBeforeItsQueriesLeavesThemSafe)
{
  TestTempDir tmp;
  auto a = createTestDb(tmp, QStringLiteral("a.fdb"));
  auto b = createTestDb(tmp, QStringLiteral("b.fdb"));
  execCommit(*b, QStringLiteral("CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, V INTEGER)"));
  Transaction tr(*a);
  Query qb(tr, *b, QStringLiteral("SELECT COUNT(*) FROM T"));
  tr.start();
  qb.open();
  EXPECT_EQ(qb.field(0).asInt(), 0);
  tr.commit();
  b.reset();
  EXPECT_EQ(tr.databases().size(), 1);
  tr.start();
  EXPECT_THROW(qb.open(), DbError);
  tr.commit();
}
