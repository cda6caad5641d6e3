#include "acccalc/AccReadError.h"

#include "db/DbError.h"
#include "db/Transaction.h"

namespace acccalc {

QString readStepText()
{
  return QStringLiteral("試算表読込");
}

void reportReadError(const std::exception& E, const QString& AStep)
{
  if (const auto* dbe = dynamic_cast<const db::DbError*>(&E)) {
    if (dbe->gdscode() != 0)
      AccCalcReporter().ShowFbCalcError(*dbe, AStep);
    else
      AccCalcReporter().ShowCommaMessage(AStep + QLatin1Char(',') + dbe->message(), 1);
  }
}

namespace {
void rollbackQuietly(db::Transaction* tr)
{
  if (!tr || !tr->inTransaction())
    return;
  try {
    tr->rollback();
  } catch (const db::DbError&) {
    // The connection may be gone; the reading is reported as failed anyway.
  }
}
}  // namespace

bool runTrialBalanceReading(TBalanceArray& ABalance, TQSortArray& ASort,
                            const std::function<void(db::Transaction&)>& ABody)
{
  pcBalanceRecReset(ABalance, ASort);
  db::Transaction* tr = AccCalcDatabase().SnapShot;
  if (!tr) {
    AccCalcReporter().ShowCommaMessage(readStepText() + QStringLiteral(",会計データに接続されていません。"), 1);
    return false;
  }
  try {
    if (tr->inTransaction())
      tr->commit();
    tr->start();
    ABody(*tr);
    tr->commit();
    return true;
  } catch (const db::DbError& e) {
    rollbackQuietly(tr);
    reportReadError(e, readStepText());
    return false;
  } catch (...) {
    rollbackQuietly(tr);
    throw;
  }
}

}  // namespace acccalc
