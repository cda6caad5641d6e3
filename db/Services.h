#pragma once
#include <functional>

#include <QString>
#include <QStringList>

#include "db/DbError.h"
#include "db/FbRef.h"

namespace Firebird {
class IService;
}

namespace db {

// The Firebird Services API (service_mgr): backup, restore, validation,
// attachment information and server properties.
//
// With an empty host the local service manager is used (the embedded
// engine in this process, no server needed); otherwise
// "host/port:service_mgr" over TCP. Every operation attaches when not
// attached; detach() (and the destructor) detaches. Every failure is a
// DbError carrying the server's status code.
class Services {
 public:
  static constexpr int DefaultPort = 3051;

  Services();
  Services(const QString& host, const QString& user, const QString& password, int port = DefaultPort);
  ~Services();
  Services(const Services&) = delete;
  Services& operator=(const Services&) = delete;

  void setHost(const QString& host) { m_host = host; }
  QString host() const { return m_host; }
  void setPort(int port) { m_port = port; }
  void setUser(const QString& user) { m_user = user; }
  void setPassword(const QString& password) { m_password = password; }
  // "service_mgr" or "host/port:service_mgr".
  QString serviceName() const;

  void attach();
  void detach() noexcept;
  bool isAttached() const { return bool(m_svc); }

  // Called with each verbose output line as it arrives (e.g. to keep a UI
  // alive); the lines are also returned.
  using LineHandler = std::function<void(const QString& line)>;

  struct BackupOptions {
    bool ignoreLimbo = false;
    bool noGarbageCollection = false;
    bool nonTransportable = false;
    bool verbose = true;
  };
  // Backs up databasePath (a path as the server sees it) into backupFile
  // (written by the server process). Returns the verbose output lines.
  QStringList backup(const QString& databasePath, const QString& backupFile, const BackupOptions& options,
                     const LineHandler& onLine = {});
  QStringList backup(const QString& databasePath, const QString& backupFile)
  {
    return backup(databasePath, backupFile, BackupOptions{});
  }

  struct RestoreOptions {
    bool replace = true;  // replace an existing database (else create only)
    bool deactivateIndexes = false;
    int pageSize = 0;     // 0: as in the backup
    int pageBuffers = 0;  // 0: default
    bool verbose = true;
  };
  QStringList restore(const QString& backupFile, const QString& databasePath, const RestoreOptions& options,
                      const LineHandler& onLine = {});
  QStringList restore(const QString& backupFile, const QString& databasePath)
  {
    return restore(backupFile, databasePath, RestoreOptions{});
  }

  struct ValidationResult {
    bool valid = true;
    QStringList lines;  // the non-blank lines the validation wrote
  };
  // Full validation ignoring checksums (as "gfix -v -full -i"). The
  // database is valid when the validation writes no non-blank line.
  ValidationResult validate(const QString& databasePath);

  // The same validation read line by line: onLine gets each output line as
  // it arrives and answers whether to read on. Returns true when the output
  // ended, false when onLine stopped the reading (the service is then let
  // go: detached). Failures are thrown as the service reports them; damage
  // may come as the error ValidationErrors rather than as lines.
  using LineFilter = std::function<bool(const QString& line)>;
  bool validateLines(const QString& databasePath, const LineFilter& onLine);

  struct AttachmentInfo {
    int attachments = 0;        // number of attachments on the server
    int databases = 0;          // number of databases in use
    QStringList databaseNames;  // paths of the databases in use
  };
  AttachmentInfo attachments();

  QString serverVersion();
  // The server's installation folder (its root).
  QString homeDirectory();

 private:
  // Attaches and starts the full validation of a database (checksums
  // ignored); the output is read by the caller.
  void startValidation(const QString& databasePath);
  QStringList runAndCollect(const QByteArray& spb, const LineHandler& onLine);
  QByteArray query(const QByteArray& items);

  QString m_host;
  int m_port = DefaultPort;
  QString m_user;
  QString m_password;
  fb::Ref<Firebird::IService> m_svc;
};

}  // namespace db
