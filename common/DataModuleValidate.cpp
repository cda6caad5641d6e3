// Validation of a company database: through the main program's hook, and the
// full validation of a database file through the Firebird services.
#include "common/DataModule.h"
#include "common/FbError.h"
#include "db/DbError.h"
#include "db/Services.h"
#include "platform/AppError.h"

namespace {

constexpr int kProtocolLocal = 3;

// Errors after which the file is not held for damaged: attach parameters the
// server refused, a file that cannot be opened or read.
constexpr int kBadDpbContent = 335544325;
constexpr int kIoError = 335544344;
constexpr int kLoginRefused = 335544472;

}  // namespace

int TDM::ValidateFbDataBase(const QString& AHostName, const QString& ADataName, int ASilent, int AKyoseiCheck)
{
  if ((AKyoseiCheck == 1 || SystemDef.DataHasonCheck == 1) && DataHasonHanteiProc)
    return DataHasonHanteiProc(AHostName, ADataName, ASilent).toInt();
  return 1;
}

int TDM::ValidateFDB(int AProtocl, const QString& AServerName, const QString& ADataBaseName)
{
  // The validation wants the file to itself: our own company connection
  // would keep it busy. A connection with work under way is left open
  // (closing it would roll that work back); the engine then refuses to
  // validate its own file, which counts as "in use", not as damage.
  const bool busy = IBTransactionDAT.inTransaction() || IBTransactionDATSS.inTransaction() ||
                    IBTransactionDATStable.inTransaction() || IBTransactionDAT_Thread.inTransaction();
  const bool wasOpen = IBDatabaseDAT.isConnected() && !busy;
  if (wasOpen)
    IBDatabaseDAT.disconnect();

  db::Services svc;
  if (AProtocl != kProtocolLocal && !AServerName.trimmed().isEmpty()) {
    svc.setHost(AServerName);
    svc.setPort(FbPort);
  }
  svc.setUser(SystemDef.IBUSER);
  svc.setPassword(SystemDef.PASWORD);

  int result = 1;
  try {
    // The first line that says anything ends the reading: the database is
    // damaged. Blank lines say nothing.
    const bool ended = svc.validateLines(ADataBaseName, [](const QString& line) { return line.trimmed().isEmpty(); });
    result = ended ? 1 : 0;
  } catch (const db::DbError& e) {
    if (e.hasCode(db::DbError::ValidationErrors)) {
      // The engine ends a validation that found damage with its summary as
      // the service's error: that is the validation's report, not a failure
      // of the operation.
      result = 0;
    } else {
      // A database attached elsewhere is refused with bad attach parameters
      // ("incompatible mode of attachment"), a file that cannot be read
      // with an I/O error: neither is held for damage. Nor is a server that
      // cannot be reached or refuses the login: that says nothing about the
      // file, and a damage mark would stay on a sound data set. Any other
      // failure is taken for damage.
      result = e.gdscode() == kBadDpbContent || e.gdscode() == kIoError || e.gdscode() == kLoginRefused ||
                       e.isLostConnection()
                   ? 1
                   : 0;
      // After a failure taken for damage the company database stays closed.
      if (result == 0) {
        svc.detach();
        return 0;
      }
    }
  } catch (...) {
    pcLogDroppedError("TDM.ValidateFDB");
    svc.detach();
    return 0;
  }
  svc.detach();

  if (wasOpen) {
    // The answer is the validation's; a connection that cannot be made again
    // is logged (and, when the server is gone, handled as such).
    try {
      IBDatabaseDAT.connect();
    } catch (const db::DbError& e) {
      fnShowFbError(e, QStringLiteral("TDM.ValidateFDB"), QString(), false);
    } catch (const std::exception&) {
    }
  }
  return result;
}
