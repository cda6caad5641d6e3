// The fixed lists of the migration's schema switches: the indices, triggers
// and foreign keys of the template databases that are switched off while the
// older data is loaded and switched on again afterwards. The list bodies are
// written by fixtures/gen/init_template.py together with the templates' own
// schema, so that both always name the same objects.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One foreign key of a template table.
struct TConvertFb30Constraint {
  QString TableName;
  QString ConstraintName;
  QStringList KeyFields;
  QString RefTableName;
  QStringList RefFields;
  // The update and delete actions as they follow REFERENCES ("ON UPDATE
  // CASCADE ON DELETE SET NULL"; one clause only where the key has one).
  QString Actions;
};

// The 13 indices (every data kind).
const QStringList& ConvertFb30IndexList();
// The triggers: 51 for data kinds 1 and 2, 50 for every other data kind.
const QStringList& ConvertFb30TriggerList(int ADataType);
// The foreign keys, by table and name: 169 for data kinds 1 and 2, 202 for
// every other data kind.
const QList<TConvertFb30Constraint>& ConvertFb30ConstraintList(int ADataType);
