#include <optional>
#include <vector>

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
  const Transaction::Options noRecVersion =
      Transaction::Option::ReadCommitted | Transaction::Option::NoRecVersion | Transaction::Option::NoWait;
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
      b.setOptions(noRecVersion);
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
  EXPECT_THROW(r.setOptions(Transaction::Option::ReadCommitted | Transaction::Option::Concurrency), DbError);
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

TEST(Transaction, MovedTransactionsAndQueriesKeepWorking)
{
  TestTempDir tmp;
  auto d = createTestDb(tmp);
  execCommit(*d, QStringLiteral("CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, V INTEGER)"));

  Transaction first(*d);
  first.start();
  insertRow(first, 1);
  Transaction moved(std::move(first));
  EXPECT_FALSE(first.inTransaction());
  EXPECT_FALSE(first.hasDatabase());
  EXPECT_THROW(first.start(), DbError);
  ASSERT_TRUE(moved.inTransaction());
  insertRow(moved, 2);
  EXPECT_EQ(countRows(moved), 2);  // the same server transaction goes on

  // A query moved while its cursor is open reads on from where it was.
  Query q(moved, QStringLiteral("SELECT ID FROM T ORDER BY ID"));
  q.open();
  EXPECT_EQ(q.field(0).asInt(), 1);
  Query q2(std::move(q));
  EXPECT_THROW(q.transaction(), DbError);
  EXPECT_EQ(&q2.transaction(), &moved);
  ASSERT_TRUE(q2.isOpen());
  ASSERT_TRUE(q2.next());
  EXPECT_EQ(q2.field(0).asInt(), 2);
  Query q3(moved);
  q3 = std::move(q2);
  EXPECT_FALSE(q3.next());
  q3.open();  // prepared statement and transaction came along
  EXPECT_EQ(q3.field(0).asInt(), 1);

  // Move assignment rolls back what the target had and takes the source's.
  Transaction target(*d);
  target.start();
  insertRow(target, 10);
  target = std::move(moved);
  EXPECT_FALSE(moved.inTransaction());
  EXPECT_THROW(q3.transaction(), DbError);  // made on the moved-from object
  EXPECT_FALSE(q3.isOpen());
  Query more(target, QStringLiteral("SELECT COUNT(*) FROM T"));
  more.open();
  EXPECT_EQ(more.field(0).asInt(), 2);  // not the target's own row 10
  target.commit();

  Transaction check(*d);
  check.start();
  Query ids(check, QStringLiteral("SELECT LIST(ID) FROM T"));
  ids.open();
  EXPECT_EQ(ids.field(0).asString(), QStringLiteral("1,2"));
  check.commit();

  // Moved objects stay known to the connection: a disconnect ends them.
  std::vector<Transaction> many;
  for (int i = 0; i < 4; ++i) {
    many.emplace_back(*d);  // the vector moves its elements as it grows
    many.back().start();
  }
  Query onLast(many.back(), QStringLiteral("SELECT ID FROM T"));
  onLast.open();
  d->disconnect();
  for (const Transaction& t : many)
    EXPECT_FALSE(t.inTransaction());
  EXPECT_FALSE(onLast.isPrepared());
  EXPECT_FALSE(target.inTransaction());
}

TEST(Transaction, QueryWhoseTransactionIsGoneIsADbError)
{
  TestTempDir tmp;
  auto d = createTestDb(tmp);
  const struct {
    const char* what;
    bool destroy;
  } cases[] = {{"destroyed", true}, {"moved from", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto t = std::make_unique<Transaction>(*d);
    t->start();
    Query q(*t, QStringLiteral("SELECT 1 FROM RDB$DATABASE"));
    q.open();
    std::optional<Transaction> other;
    if (c.destroy)
      t.reset();
    else
      other.emplace(std::move(*t));
    try {
      q.transaction();
      ADD_FAILURE() << "expected a DbError";
    } catch (const DbError& e) {
      EXPECT_TRUE(e.message().contains(QLatin1String("destroyed or moved"))) << e.message().toStdString();
    }
    EXPECT_FALSE(q.isOpen());
    EXPECT_TRUE(q.eof());
    EXPECT_THROW(q.open(), DbError);
    EXPECT_THROW(q.exec(), DbError);
    EXPECT_THROW(q.field(0).asInt(), DbError);
    if (other)
      EXPECT_TRUE(other->inTransaction());  // the moved-to object is not affected
  }
}

TEST(Transaction, OptionsAsTheServerSeesThem)
{
  TestTempDir tmp;
  auto d = createTestDb(tmp);
  using O = Transaction::Option;
  // MON$ISOLATION_MODE: 0 consistency, 1 concurrency, 2 read committed
  // with record versions, 3 without; MON$LOCK_TIMEOUT -1 waits, 0 does not.
  const struct {
    const char* name;
    Transaction::Options options;
    int isolation;
    int lockTimeout;
    bool readOnly;
  } cases[] = {
      {"ReadCommitted", Transaction::optionsFor(Transaction::ReadCommitted), 2, 0, false},
      {"ReadCommittedReadOnly", Transaction::optionsFor(Transaction::ReadCommittedReadOnly), 2, 0, true},
      {"Snapshot", Transaction::optionsFor(Transaction::Snapshot), 1, 0, false},
      {"Consistency", Transaction::optionsFor(Transaction::Consistency), 0, -1, false},
      {"no_rec_version wait read", O::ReadCommitted | O::NoRecVersion | O::Wait | O::Read, 3, -1, true},
      {"server defaults", Transaction::Options(), 1, -1, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Transaction t(*d, c.options);
    EXPECT_EQ(t.options(), c.options);
    t.start();
    Query q(t, QStringLiteral("SELECT MON$ISOLATION_MODE, MON$LOCK_TIMEOUT, MON$READ_ONLY FROM MON$TRANSACTIONS "
                              "WHERE MON$TRANSACTION_ID = CURRENT_TRANSACTION"));
    q.open();
    ASSERT_FALSE(q.eof());
    EXPECT_EQ(q.field(0).asInt(), c.isolation);
    EXPECT_EQ(q.field(1).asInt(), c.lockTimeout);
    EXPECT_EQ(q.field(2).asInt() != 0, c.readOnly);
    t.commit();
  }

  const Transaction::Options contradictory[] = {
      O::ReadCommitted | O::Concurrency,
      O::Concurrency | O::Consistency,
      O::ReadCommitted | O::RecVersion | O::NoRecVersion,
      O::Wait | O::NoWait,
      O::Read | O::Write,
  };
  for (Transaction::Options o : contradictory) {
    SCOPED_TRACE(o.toInt());
    Transaction t(*d);
    EXPECT_THROW(t.setOptions(o), DbError);
    EXPECT_EQ(t.options(), Transaction::optionsFor(Transaction::ReadCommitted));  // unchanged
    EXPECT_THROW(Transaction(*d, o), DbError);
  }
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
