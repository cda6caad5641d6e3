#pragma once
#include <QList>
#include <QString>

#include "platform/AppError.h"

namespace db {

// A failure reported by the Firebird client library or by this layer.
//
// gdscode() is the first ISC status code of the status vector (the number
// the error handler shows, e.g. 335544345 for a lock conflict), sqlcode()
// the SQL code derived from the status vector (e.g. -901, -902), message()
// the full text Firebird formats for the whole status vector (all lines
// joined by "\n"), sqlstate() the five-character SQLSTATE of the status
// vector ("42S02" for an unknown table, "23000" for a violated constraint).
// Errors raised by the layer itself (wrong parameter name, field out of
// range, use while disconnected) carry gdscode 0 and no SQLSTATE.
//
// An EAppError: caught as the common base with the same message.
class DbError : public EAppError {
 public:
  // Well-known status codes.
  enum : int {
    NetworkError = 335544721,        // isc_network_error: unable to complete network request
    NetReadError = 335544726,        // isc_net_read_err
    NetWriteError = 335544727,       // isc_net_write_err
    LostDbConnection = 335544741,    // isc_lost_db_connection
    BugCheck = 335544333,            // isc_bug_check: internal consistency check
    AttShutdown = 335544856,         // isc_att_shutdown: connection shut down
    Shutdown = 335544528,            // isc_shutdown: database shut down
    IoError = 335544344,             // isc_io_error
    BadDbFormat = 335544323,         // isc_bad_db_format
    LockConflict = 335544345,        // isc_lock_conflict
    Deadlock = 335544336,            // isc_deadlock
    UpdateConflict = 335544451,      // isc_update_conflict
    LoginFailed = 335544472,         // isc_login: user name and password are not defined
    DsqlError = 335544569,           // isc_dsql_error: dynamic SQL error
    NoMetaUpdate = 335544351,        // isc_no_meta_update
    UniqueKeyViolation = 335544665,  // isc_unique_key_violation
    BadDpbContent = 335544325,       // isc_bad_dpb_content: bad parameters on attach or create
    ValidationErrors = 335740952,    // "Summary of validation errors" (the validation found damage)
  };

  DbError(const QString& message, int gdscode = 0, int sqlcode = 0, QList<int> codes = {},
          const QString& sqlstate = QString());

  int gdscode() const { return m_gdscode; }
  int sqlcode() const { return m_sqlcode; }
  // Empty for errors of the layer itself.
  QString sqlstate() const { return m_sqlstate; }
  // Every error code of the status vector, in order (first == gdscode()).
  const QList<int>& codes() const { return m_codes; }
  bool hasCode(int code) const { return m_codes.contains(code) || m_gdscode == code; }

  // The connection to the database is gone (server stopped, network
  // broken, attachment shut down): the session cannot go on.
  bool isLostConnection() const;

  // Prefix a context line (e.g. a script's statement position) to the message.
  void addContext(const QString& context);

 private:
  int m_gdscode = 0;
  int m_sqlcode = 0;
  QList<int> m_codes;
  QString m_sqlstate;
};

}  // namespace db
