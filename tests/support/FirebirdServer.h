#pragma once
#include <memory>

#include <QString>

// A real, private Firebird server for client/server tests.
//
// Its root (own firebird.conf, own security database, our UDR module when it
// has been built) lives in a folder of the temp directory; it listens on
// 127.0.0.1 only. It knows the users the program uses: the database user
// ABACOR (password "dormil", allowed to create databases) and the
// administrator SYSDBA (password "pebrondal", the services administrator).
//
// A test that needs the server calls one function:
//
//     const FirebirdServer &srv = FirebirdServer::shared();
//     db::Database d(srv.remoteName(path));   // "127.0.0.1/3051:<path>"
//
// shared() returns the one server on port 3051 that all test processes of a
// run share (ctest runs them in parallel). The first process that needs it
// starts it; a watchdog started with it stops it once no test process has
// used it for a few seconds. Each process holds a shared lock while it may
// use the server, so the server is never stopped under a running test.
//
// A test that needs a server to disappear mid-session must not stop the
// shared one: it creates its own FirebirdServer on a free port and stops
// that (stop()). Such a server is also stopped by its destructor.
class FirebirdServer {
 public:
  static constexpr int SharedPort = 3051;
  static const char* const User;           // "ABACOR"
  static const char* const Password;       // "dormil"
  static const char* const AdminUser;      // "SYSDBA"
  static const char* const AdminPassword;  // "pebrondal"

  // The shared server on 127.0.0.1:3051, started when needed. Raises a
  // gtest fatal failure (and throws) when it cannot be started.
  static const FirebirdServer& shared();

  // A private server of the calling test on a free port (not yet started).
  FirebirdServer();
  ~FirebirdServer();
  FirebirdServer(const FirebirdServer&) = delete;
  FirebirdServer& operator=(const FirebirdServer&) = delete;

  void start();
  // Kills the server process at once (as a crash or a lost machine would).
  void stop();
  bool isRunning() const;

  QString host() const { return QStringLiteral("127.0.0.1"); }
  int port() const { return m_port; }
  // "127.0.0.1/<port>:<path>"
  QString remoteName(const QString& path) const;
  // The server's root folder.
  QString rootDir() const { return m_root; }

  // The UDR module the servers load (built with the project).
  static QString udrModulePath();
  // Points this test process's embedded engine at a private root holding
  // our UDR module (see db::FirebirdRoot); call before connecting.
  static void useEmbeddedRootWithUdr();

 private:
  struct SharedTag {};
  explicit FirebirdServer(SharedTag);
  int m_port = 0;
  QString m_root;
  qint64 m_pid = 0;
  bool m_shared = false;
  int m_usersLockFd = -1;
};
