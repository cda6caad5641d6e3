#include "maint/ConvertFb30Switch.h"

#include "db/Query.h"

namespace {

QString switchWord(int ASwitch)
{
  return ASwitch == ConvertFb30SwitchOn ? QStringLiteral("ACTIVE") : QStringLiteral("INACTIVE");
}

QString quoted(const QString& AName)
{
  return QLatin1Char('"') + AName + QLatin1Char('"');
}

QString quotedList(const QStringList& ANames)
{
  QStringList out;
  for (const QString& n : ANames)
    out << quoted(n);
  return out.join(QStringLiteral(", "));
}

// Empties the statement, runs the one line and closes it.
void runOne(db::Query& ASql, const QString& AText)
{
  ASql.close();
  ASql.setSql(QString());
  ASql.setParamCheck(false);
  ASql.setSql(AText);
  ASql.exec();
  ASql.close();
}

}  // namespace

QString fnConvertFb30IndexSql(const QString& AIndexName, int ASwitch)
{
  return QStringLiteral("ALTER INDEX %1 %2").arg(quoted(AIndexName), switchWord(ASwitch));
}

QString fnConvertFb30TriggerSql(const QString& ATriggerName, int ASwitch)
{
  return QStringLiteral("ALTER TRIGGER %1 %2").arg(quoted(ATriggerName), switchWord(ASwitch));
}

QString fnConvertFb30ConstraintSql(const TConvertFb30Constraint& AConstraint, int ASwitch)
{
  if (ASwitch == ConvertFb30SwitchOff)
    return QStringLiteral("ALTER TABLE %1 DROP CONSTRAINT %2")
        .arg(quoted(AConstraint.TableName), quoted(AConstraint.ConstraintName));
  if (ASwitch == ConvertFb30SwitchOn)
    return QStringLiteral("ALTER TABLE %1 ADD CONSTRAINT %2 FOREIGN KEY (%3) REFERENCES %4 (%5) %6;")
        .arg(quoted(AConstraint.TableName), quoted(AConstraint.ConstraintName), quotedList(AConstraint.KeyFields),
             quoted(AConstraint.RefTableName), quotedList(AConstraint.RefFields), AConstraint.Actions);
  return QString();
}

void pcConvertFb30Index(db::Query& ASql, int ASwitch)
{
  for (const QString& name : ConvertFb30IndexList())
    runOne(ASql, fnConvertFb30IndexSql(name, ASwitch));
}

void pcConvertFb30Trigger(db::Query& ASql, int ADataType, int ASwitch)
{
  for (const QString& name : ConvertFb30TriggerList(ADataType))
    runOne(ASql, fnConvertFb30TriggerSql(name, ASwitch));
}

void pcConvertFb30Constraint(db::Query& ASql, int ADataType, int ASwitch)
{
  if (ASwitch != ConvertFb30SwitchOff && ASwitch != ConvertFb30SwitchOn)
    return;
  for (const TConvertFb30Constraint& c : ConvertFb30ConstraintList(ADataType))
    runOne(ASql, fnConvertFb30ConstraintSql(c, ASwitch));
}
