#include "tests/support/ConvertFolder.h"

#include <stdexcept>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "platform/TextCodec.h"

namespace testfx {

QString convertTextLiteral(const QString& text)
{
  QString s = text;
  s.replace(QLatin1Char('\''), QLatin1String("''"));
  s.replace(QLatin1String("\r\n"), QLatin1String("%CL%"));
  s.replace(QLatin1Char('\r'), QLatin1String("%CR%"));
  s.replace(QLatin1Char('\n'), QLatin1String("%LF%"));
  return QLatin1Char('\'') + s + QLatin1Char('\'');
}

QString convertInsertLine(const QString& table, const QStringList& columns, const QStringList& literals)
{
  QStringList quoted;
  for (const QString& c : columns)
    quoted << QLatin1Char('"') + c + QLatin1Char('"');
  return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3);")
      .arg(table, quoted.join(QStringLiteral(", ")), literals.join(QStringLiteral(", ")));
}

void writeToolFile(const QString& file, const QStringList& lines)
{
  QDir().mkpath(QFileInfo(file).absolutePath());
  QFile f(file);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
    throw std::runtime_error(("cannot write " + file).toStdString());
  QString text;
  for (const QString& l : lines)
    text += l + QStringLiteral("\r\n");
  const QByteArray bytes = toCp932(text);
  if (f.write(bytes) != bytes.size())
    throw std::runtime_error(("cannot write " + file).toStdString());
}

QMap<QString, int> writeConvertScripts(db::Database& source, const QString& folder, const QStringList& skip)
{
  QMap<QString, int> counts;
  db::Transaction tr(source);
  tr.start();
  // Column names and kinds of every user table, in column order.
  struct Column {
    QString name;
    int type;
    int subType;
  };
  QMap<QString, QList<Column>> tables;
  {
    db::Query q(tr,
                "SELECT TRIM(R.RDB$RELATION_NAME) AS T, TRIM(F.RDB$FIELD_NAME) AS C, D.RDB$FIELD_TYPE AS TY, "
                "COALESCE(D.RDB$FIELD_SUB_TYPE, 0) AS ST "
                "FROM RDB$RELATIONS R JOIN RDB$RELATION_FIELDS F ON F.RDB$RELATION_NAME = R.RDB$RELATION_NAME "
                "JOIN RDB$FIELDS D ON D.RDB$FIELD_NAME = F.RDB$FIELD_SOURCE "
                "WHERE R.RDB$VIEW_SOURCE IS NULL AND R.RDB$SYSTEM_FLAG = 0 AND D.RDB$COMPUTED_BLR IS NULL "
                "ORDER BY R.RDB$RELATION_NAME, F.RDB$FIELD_POSITION");
    for (q.open(); !q.eof(); q.next())
      tables[q.field("T").asString()].append({q.field("C").asString(), q.field("TY").asInt(), q.field("ST").asInt()});
  }
  for (auto it = tables.begin(); it != tables.end(); ++it) {
    if (skip.contains(it.key()))
      continue;
    QStringList names;
    for (const Column& c : it.value())
      names << QLatin1Char('"') + c.name + QLatin1Char('"');
    db::Query q(tr, QStringLiteral("SELECT %1 FROM \"%2\"").arg(names.join(", "), it.key()));
    QStringList lines;
    QStringList columns;
    for (const Column& c : it.value())
      columns << c.name;
    for (q.open(); !q.eof(); q.next()) {
      QStringList literals;
      for (int i = 0; i < it.value().size(); ++i) {
        const Column& c = it.value().at(i);
        const db::Field f = q.field(i);
        if (f.isNull()) {
          literals << QStringLiteral("NULL");
        } else if (c.type == 12 || c.type == 35 || c.type == 13) {  // DATE, TIMESTAMP, TIME
          literals << QLatin1Char('\'') + f.asString().replace(QLatin1Char('/'), QLatin1Char('-')) + QLatin1Char('\'');
        } else if (c.type == 14 || c.type == 37) {  // CHAR, VARCHAR
          literals << convertTextLiteral(f.asString());
        } else if (c.type == 261) {  // BLOB
          if (c.subType == 1)
            literals << convertTextLiteral(f.asString());
          else
            literals << QStringLiteral("X'%1'").arg(QString::fromLatin1(f.asBytes().toHex().toUpper()));
        } else {
          literals << f.asString();
        }
      }
      lines << convertInsertLine(it.key(), columns, literals);
    }
    q.close();
    if (lines.isEmpty())
      continue;
    writeToolFile(QDir(folder).filePath(it.key() + QStringLiteral(".sql")), lines);
    counts.insert(it.key(), lines.size());
  }
  tr.commit();
  return counts;
}

}  // namespace testfx
