#include "db/StoredProc.h"

#include "db/Transaction.h"

namespace db {

StoredProc::StoredProc(Transaction& tr, const QString& procName) : m_name(procName.trimmed().toUpper()), m_query(tr) {}

QStringList StoredProc::inputNames()
{
  if (m_ready)
    return m_inputs;
  Query q(m_query.transaction());
  q.setSql(
      QStringLiteral("SELECT TRIM(RDB$PARAMETER_NAME) AS NAME FROM RDB$PROCEDURE_PARAMETERS "
                     "WHERE RDB$PROCEDURE_NAME = :PROC AND RDB$PARAMETER_TYPE = 0 "
                     "AND RDB$PACKAGE_NAME IS NULL ORDER BY RDB$PARAMETER_NUMBER"));
  q.setParam(QStringLiteral("PROC"), m_name);
  QStringList names;
  for (q.open(); !q.eof(); q.next())
    names << q.field(0).asString();
  q.close();
  Query exists(m_query.transaction());
  exists.setSql(
      QStringLiteral("SELECT 1 FROM RDB$PROCEDURES WHERE RDB$PROCEDURE_NAME = :PROC AND RDB$PACKAGE_NAME IS NULL"));
  exists.setParam(QStringLiteral("PROC"), m_name);
  exists.open();
  if (exists.eof())
    throw DbError(QStringLiteral("Stored procedure %1 not found").arg(m_name));
  exists.close();
  return names;
}

void StoredProc::prepareText()
{
  if (m_ready)
    return;
  m_inputs = inputNames();
  QStringList marks;
  for (const QString& n : m_inputs)
    marks << QLatin1Char(':') + n;
  // The procedure name is quoted (names come from the catalogue, never from users).
  QString sql =
      QStringLiteral("EXECUTE PROCEDURE \"%1\"").arg(QString(m_name).replace(QLatin1Char('"'), QStringLiteral("\"\"")));
  if (!marks.isEmpty())
    sql += QLatin1Char('(') + marks.join(QStringLiteral(", ")) + QLatin1Char(')');
  m_query.setSql(sql);
  m_ready = true;
}

void StoredProc::execute()
{
  prepareText();
  m_query.exec();
}

}  // namespace db
