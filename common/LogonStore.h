// The logon's statements on the system database: the logon procedure, the
// operator's name and rights, the logon record of a logon that did not come
// about, and the stored password of a system login code.
#pragma once

#include <QString>

namespace db {
class Database;
class Transaction;
}  // namespace db

// What the logon procedure answered: NUM -3 already logged on, -1 wrong code
// or password (also when it gives no row), 0 or 1 logged on.
struct TLogonAnswer {
  int Num = -1;
  int LoginCode = 0;
  int JobLevel = 0;
};

// The operator's row as the logon reads it.
struct TLogonOperator {
  QString OpName;
  bool Jimusho = false;
  bool MyNumberAdm = false;
  bool Syouninsya = false;
};

class TLogonStore {
 public:
  // ADatabase: the connected system database.
  explicit TLogonStore(db::Database& ADatabase);

  // Runs LOGONUSERTEST in ATransaction (the data module's system-database
  // transaction: started when none is active and committed after the read).
  // The procedure records the logon in LOGONUSERLIST. A database error is
  // raised with the transaction left as it stands.
  static TLogonAnswer LogonUserTest(db::Transaction& ATransaction, const QString& APcName, int AGroupId, int AOpCode,
                                    int AAppVersion, const QString& APassword);

  // OPNAME and JIMUSHO of the operator (the last row), in a transaction of
  // its own; any error leaves them empty and false.
  void ReadOperator(int AGroupId, int AOpCode, TLogonOperator& AOperator);
  // MYNUMBER_ADM and SHONIN of the operator; any error leaves them false.
  void ReadOperatorRights(int AGroupId, int AOpCode, TLogonOperator& AOperator);
  // Removes the logon record of the operator on this computer. Errors are
  // not raised (the connection may be what failed); false then.
  bool ForgetLogon(int AGroupId, int ALoginCode, const QString& APcName);

  // The stored password of a login code ("" when it has no row). Raises
  // database errors.
  QString ReadPassword(int AGroupId, int ALoginCode);
  // Sets the password of a login code; a code without a row gets the
  // system user's row. Raises database errors (nothing is stored then).
  void WritePassword(int AGroupId, int ALoginCode, const QString& APassword);

 private:
  db::Database& FDatabase;
};
