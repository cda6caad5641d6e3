#pragma once
#include <QString>
#include <QStringList>

#include "db/DbError.h"

namespace Firebird {
class ITransaction;
}

namespace db {

class Database;
class Query;

// One transaction on a Database. Several may be active on one connection.
//
// A transaction may span several databases: addDatabase() adds another
// connection to it while it is not active, and start() then begins one
// distributed transaction over every connected database of the list (the
// first one, given at construction, is the default database of its
// queries). commit() ends it in two phases on all of them at once, and
// rollback() undoes the work on all of them. A query chooses its database
// (Query(tr, db)); a database not connected at start() stays outside.
//
// The kind selects the transaction parameters:
//   ReadCommitted         read_committed, rec_version, nowait, write
//   ReadCommittedReadOnly read_committed, rec_version, nowait, read
//   Snapshot              concurrency, nowait, write
//   Consistency           consistency, write (waits for locks)
// setParams() takes the parameter words instead ("read_committed",
// "rec_version", "no_rec_version", "nowait", "wait", "concurrency",
// "consistency", "read", "write"); an unknown word is a DbError.
//
// The destructor rolls back an active transaction and never throws.
class Transaction {
 public:
  enum Kind { ReadCommitted, ReadCommittedReadOnly, Snapshot, Consistency };

  explicit Transaction(Database& db, Kind kind = ReadCommitted);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  Database& database() const { return *m_db; }
  // Adds a database to the transaction (no effect when already in it). A
  // DbError while active.
  void addDatabase(Database& db);
  // Takes a database other than the default one out of the list again. A
  // DbError while active.
  void removeDatabase(Database& db);
  QList<Database*> databases() const { return m_dbs; }
  bool hasDatabase(const Database& db) const;
  Kind kind() const { return m_kind; }
  void setKind(Kind kind);
  void setParams(const QStringList& words);
  QStringList params() const { return m_params; }

  // start() while active is a DbError, as is commit/rollback while not.
  void start();
  void commit();
  void rollback();
  void commitRetaining();
  void rollbackRetaining();
  bool inTransaction() const { return m_tra != nullptr; }

  // Starts when not active; returns true when it started it (the caller
  // then commits or rolls back what it started).
  bool startIfNeeded();

  Firebird::ITransaction* handle() const { return m_tra; }

 private:
  friend class Database;
  friend class Query;
  void endForDisconnect() noexcept;
  void forgetDatabase(Database* db) noexcept;
  void registerQuery(Query* q);
  void unregisterQuery(Query* q) noexcept;
  void closeQueries() noexcept;

  Database* m_db;
  QList<Database*> m_dbs;  // m_db first, then the databases added
  Kind m_kind;
  QStringList m_params;
  Firebird::ITransaction* m_tra = nullptr;
  QList<Query*> m_queries;
};

}  // namespace db
