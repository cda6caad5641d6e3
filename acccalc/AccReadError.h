#pragma once
// The frame every trial-balance reading runs in: the table reset, the
// snapshot transaction restarted, the work committed, and a database error
// rolled back and reported. Internal to the computation.

#include <functional>

#include <QString>

#include "acccalc/AccBalance.h"
#include "acccalc/AccCalcEnv.h"

namespace db {
class Transaction;
}

namespace acccalc {

// The step text under which the readers report ("試算表読込").
QString readStepText();

// Reports a database error of step AStep: a server error through
// ShowFbCalcError, an error of the database layer itself (a missing column)
// as "step," + message through ShowCommaMessage.
void reportReadError(const std::exception& E, const QString& AStep);

// Resets the table, commits an active snapshot transaction and starts it,
// runs ABody, commits. A database error rolls back, is reported and gives
// false; any other exception rolls back and is raised again.
bool runTrialBalanceReading(TBalanceArray& ABalance, TQSortArray& ASort,
                            const std::function<void(db::Transaction&)>& ABody);

}  // namespace acccalc
