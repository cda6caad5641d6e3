#include "acccalc/AccCalcEnv.h"

#include "common/FbError.h"
#include "db/DbError.h"

// The common services' handlers: the message box through the message hook,
// FB_ERROR.TXT / FB_ERROR.LOG and the error logs in the log folder.
void TAccCalcCommonReporter::ShowCommaMessage(const QString& AText, int ADlgType)
{
  const TMsgDlgType type = ADlgType == 0   ? mtWarning
                           : ADlgType == 2 ? mtInformation
                           : ADlgType == 3 ? mtConfirmation
                                           : mtError;
  fnShowCommaMessage(AText, type);
}

void TAccCalcCommonReporter::ShowFbCalcError(const db::DbError& E, const QString& ATitle)
{
  fnShowFbCalcError(E, ATitle, false);
}

void TAccCalcCommonReporter::ShowFbError(const db::DbError& E, const QString& AStepName, const QString& AMessage)
{
  fnShowFbError(E, AStepName, AMessage, true);
}

namespace {

TAccCalcCommonReporter g_common;
TAccCalcReporter* g_reporter = nullptr;
TAccCalcDatabase g_database;

}  // namespace

TAccCalcReporter& AccCalcReporter()
{
  return g_reporter ? *g_reporter : g_common;
}

void SetAccCalcReporter(TAccCalcReporter* AReporter)
{
  g_reporter = AReporter;
}

const TAccCalcDatabase& AccCalcDatabase()
{
  return g_database;
}

void SetAccCalcDatabase(const TAccCalcDatabase& ADatabase)
{
  g_database = ADatabase;
}
