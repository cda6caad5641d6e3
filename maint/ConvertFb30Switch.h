// The schema switches of a migration: the template's triggers, foreign keys
// and indices switched off before the older data is loaded and on again
// afterwards. Each statement runs by itself on the migration's first
// statement object inside its current transaction; nothing is committed or
// caught here: the first statement that fails raises its database error and
// the rest of the list is not run. The caller commits (retaining) after each
// call.
#pragma once

#include <QString>

#include "maint/ConvertFb30Lists.h"

namespace db {
class Query;
}

// Switch values.
constexpr int ConvertFb30SwitchOff = 0;
constexpr int ConvertFb30SwitchOn = 1;

// "ALTER INDEX "<name>" INACTIVE" (0) or "... ACTIVE" (1).
QString fnConvertFb30IndexSql(const QString& AIndexName, int ASwitch);
// "ALTER TRIGGER "<name>" INACTIVE" (0) or "... ACTIVE" (1).
QString fnConvertFb30TriggerSql(const QString& ATriggerName, int ASwitch);
// The DROP CONSTRAINT statement (0) or the ADD CONSTRAINT ... FOREIGN KEY
// statement with its actions, ended by ";" (1); empty for any other value.
QString fnConvertFb30ConstraintSql(const TConvertFb30Constraint& AConstraint, int ASwitch);

void pcConvertFb30Index(db::Query& ASql, int ASwitch);
void pcConvertFb30Trigger(db::Query& ASql, int ADataType, int ASwitch);
// A switch value other than 0 or 1 runs nothing.
void pcConvertFb30Constraint(db::Query& ASql, int ADataType, int ASwitch);
