#pragma once
// What the computation needs from its surroundings: the company database's
// transactions and a reporter for messages and database errors. The data
// module (or a test) sets them; the computation itself shows nothing and
// writes no file.

#include <QString>

namespace db {
class DbError;
class Transaction;
}  // namespace db

// Receives what the computation reports. Implementations show the message
// box and write the error files; tests record the calls.
class TAccCalcReporter {
 public:
  virtual ~TAccCalcReporter() = default;

  // A text whose comma-separated parts are shown one per line in a box of
  // the given kind (1 = error).
  virtual void ShowCommaMessage(const QString& AText, int ADlgType) = 0;

  // A database error of a trial-balance reading or a total-name look-up:
  // shown with its codes, and written to FB_ERROR.TXT / appended to
  // FB_ERROR.LOG. The run goes on.
  virtual void ShowFbCalcError(const db::DbError& E, const QString& ATitle) = 0;

  // A database error for the common handler (log, message, end of the
  // application on a lost connection).
  virtual void ShowFbError(const db::DbError& E, const QString& AStepName, const QString& AMessage) = 0;
};

// The reporter of the common services (message box through the message
// hook, the FB_ERROR files and the error logs); the one in use until another
// is set.
class TAccCalcCommonReporter : public TAccCalcReporter {
 public:
  void ShowCommaMessage(const QString& AText, int ADlgType) override;
  void ShowFbCalcError(const db::DbError& E, const QString& ATitle) override;
  void ShowFbError(const db::DbError& E, const QString& AStepName, const QString& AMessage) override;
};

// The company database as the computation reaches it.
struct TAccCalcDatabase {
  // The second transaction on the company database (snapshot isolation):
  // the trial-balance readers commit and restart it.
  db::Transaction* SnapShot = nullptr;
  // The main transaction on the company database (read committed): the
  // total-name look-ups of the range computation.
  db::Transaction* Main = nullptr;
};

// The reporter in use (the common services' one until another is set). The
// computation does not own it; nullptr goes back to the common one.
TAccCalcReporter& AccCalcReporter();
void SetAccCalcReporter(TAccCalcReporter* AReporter);

// The company database in use; both transactions must be set before a
// reading (a reading without them reports a failure).
const TAccCalcDatabase& AccCalcDatabase();
void SetAccCalcDatabase(const TAccCalcDatabase& ADatabase);
