#pragma once
#include <memory>

#include <QString>

#include "db/DbError.h"
#include "db/FbRef.h"

namespace Firebird {
class IAttachment;
}

namespace db {

class Transaction;
class Query;

// One connection (attachment) to a Firebird database, SQL dialect 3.
//
// The database name is either a local file path, opened by the embedded
// engine in this process (no server needed), or "host/port:path" (see
// remoteName()), reached through a Firebird server over TCP.
//
// Several Transaction and Query objects may live on one Database. They must
// not outlive it in use: disconnect() (and the destructor) rolls back every
// active transaction and frees every statement first; the objects stay
// valid, inactive, and may be used again after a new connect().
//
// Every failure is a DbError. Objects are not shared between threads while
// in use, but have no thread affinity.
class Database {
 public:
  static constexpr int DefaultPort = 3051;

  Database();
  explicit Database(const QString& databaseName);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // "host/port:path" for a server connection.
  static QString remoteName(const QString& host, int port, const QString& path);
  static QString remoteName(const QString& host, const QString& path) { return remoteName(host, DefaultPort, path); }

  void setDatabaseName(const QString& name) { m_name = name; }
  QString databaseName() const { return m_name; }
  void setUser(const QString& user) { m_user = user; }
  QString user() const { return m_user; }
  void setPassword(const QString& password) { m_password = password; }
  QString password() const { return m_password; }
  void setRole(const QString& role) { m_role = role; }
  QString role() const { return m_role; }
  // Connection character set (lc_ctype); "UTF8" unless set.
  void setCharset(const QString& charset) { m_charset = charset; }
  QString charset() const { return m_charset; }

  // Attaches with user, password, role and charset. Connecting while
  // connected disconnects first.
  void connect();
  // Rolls back active transactions, frees statements, detaches. Never throws;
  // a connection that is already lost is simply released.
  void disconnect() noexcept;
  bool isConnected() const { return bool(m_attachment); }

  // Creates a new database file with the given page size and default
  // character set, as the given user (its owner), and detaches again.
  // forcedWrites false creates it with forced (synchronous) writes off.
  static void create(const QString& databaseName, const QString& user, const QString& password, int pageSize = 16384,
                     const QString& charset = QStringLiteral("UTF8"), bool forcedWrites = true);
  // Creates the database named by this object with its user and password
  // and leaves it connected.
  void createAndConnect(int pageSize = 16384, const QString& defaultCharset = QStringLiteral("UTF8"));
  // Forced (synchronous) writes of the databases createAndConnect() makes:
  // on, the engine's default, unless set. Off, every commit goes through
  // the system's file cache: a database is built many times faster but is
  // not safe against a crash of the machine (scratch and test databases).
  // The mode is stored in the database, so copies of its file keep it.
  void setForcedWrites(bool on) { m_forcedWrites = on; }
  bool forcedWrites() const { return m_forcedWrites; }
  // Drops the connected database (the file is removed); afterwards not connected.
  void drop();

  // Server version text of the connection (e.g. "LI-V3.0.11.33637 ...").
  QString serverVersion();

  // The underlying attachment, for the layer's own classes.
  Firebird::IAttachment* attachment() const { return m_attachment.get(); }

 private:
  friend class Transaction;
  friend class Query;
  void registerTransaction(Transaction* t);
  void replaceTransaction(Transaction* from, Transaction* to) noexcept;
  void unregisterTransaction(Transaction* t) noexcept;
  void requireConnected() const;

  QString m_name;
  QString m_user;
  QString m_password;
  QString m_role;
  QString m_charset = QStringLiteral("UTF8");
  bool m_forcedWrites = true;
  fb::Ref<Firebird::IAttachment> m_attachment;
  struct Children;
  std::unique_ptr<Children> m_children;
};

}  // namespace db
