#pragma once
#include <QFlags>
#include <QList>
#include <QString>

#include "db/DbError.h"
#include "db/FbRef.h"

namespace Firebird {
class ITransaction;
}

namespace db {

class Database;
class Query;

// One transaction on a Database. Several may be active on one connection.
//
// The transaction parameters are a set of options; the kinds name the sets
// the system uses:
//   ReadCommitted         ReadCommitted, RecVersion, NoWait, Write
//   ReadCommittedReadOnly ReadCommitted, RecVersion, NoWait, Read
//   Snapshot              Concurrency, NoWait, Write
//   Consistency           Consistency, Write (waits for locks)
// setOptions() takes another set; a set naming two isolation levels, or
// both of RecVersion/NoRecVersion, Wait/NoWait or Read/Write, is a DbError.
// Options left out take the server's defaults.
//
// Movable, not copyable: the moved-to object carries on the transaction
// (and its place among the connection's transactions); the moved-from one
// is left without a database. Queries stay with the object they were made
// on: when it is destroyed or moved from, they lose their transaction and
// their use is a DbError.
//
// A transaction may span several databases: addDatabase() adds another
// connection while it is not active, and start() then begins one
// distributed transaction over every connected database of the list (the
// first one, given at construction, is the default database of its
// queries). commit() ends it in two phases on all of them at once;
// rollback() undoes the work on all of them; losing one of the connections
// ends it on all. A query chooses its database (Query(tr, db)); a database
// not connected at start() stays outside.
//
// The destructor rolls back an active transaction and never throws.
class Transaction {
 public:
  enum Kind { ReadCommitted, ReadCommittedReadOnly, Snapshot, Consistency };

  enum class Option : unsigned {
    ReadCommitted = 0x001,  // isolation: read committed
    Concurrency = 0x002,    // isolation: snapshot
    Consistency = 0x004,    // isolation: snapshot with table stability
    RecVersion = 0x008,     // read committed: read the last committed version
    NoRecVersion = 0x010,   // read committed: a row with an uncommitted change is a conflict
    Wait = 0x020,           // wait for locks
    NoWait = 0x040,         // fail at once on a lock conflict
    Read = 0x080,           // read only
    Write = 0x100,          // read and write
  };
  Q_DECLARE_FLAGS(Options, Option)

  // The options of a kind.
  static Options optionsFor(Kind kind);

  explicit Transaction(Database& db, Kind kind = ReadCommitted);
  Transaction(Database& db, Options options);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  Transaction(Transaction&& other) noexcept;
  Transaction& operator=(Transaction&& other) noexcept;

  // A DbError when the object has no database (moved from, or the
  // database was destroyed).
  Database& database() const;
  bool hasDatabase() const { return m_db != nullptr; }
  // Adds a database to the transaction (nothing when already in it); a
  // DbError while active.
  void addDatabase(Database& db);
  // Takes an added database out again (never the first one); a DbError
  // while active.
  void removeDatabase(Database& db);
  // The first database, then those added.
  QList<Database*> databases() const;
  bool hasDatabase(const Database& db) const;
  Kind kind() const { return m_kind; }
  // Sets the kind and its options.
  void setKind(Kind kind);
  // Takes effect at the next start().
  void setOptions(Options options);
  Options options() const { return m_options; }

  // start() while active is a DbError, as is commit/rollback while not.
  void start();
  void commit();
  void rollback();
  void commitRetaining();
  void rollbackRetaining();
  bool inTransaction() const { return bool(m_tra); }

  // Starts when not active; returns true when it started it (the caller
  // then commits or rolls back what it started).
  bool startIfNeeded();

  Firebird::ITransaction* handle() const { return m_tra.get(); }

 private:
  friend class Database;
  friend class Query;
  void endForDisconnect() noexcept;
  void registerQuery(Query* q);
  void replaceQuery(Query* from, Query* to) noexcept;
  void unregisterQuery(Query* q) noexcept;
  void closeQueries() noexcept;
  // Rolls back when active, lets go of the queries and of the database.
  void leave() noexcept;
  void takeOver(Transaction& other) noexcept;
  // The database is being destroyed.
  void forgetDatabase(Database* db) noexcept;

  Database* m_db;
  QList<Database*> m_more;  // the databases added
  Kind m_kind;
  Options m_options;
  fb::Ref<Firebird::ITransaction> m_tra;
  QList<Query*> m_queries;
};

}  // namespace db

Q_DECLARE_OPERATORS_FOR_FLAGS(db::Transaction::Options)
