#include "db/Script.h"

#include <QFile>
#include <QRegularExpression>

#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"

namespace db {

QList<Script::Statement> Script::split(const QString& script)
{
  QList<Statement> out;
  QString term = QStringLiteral(";");
  const int n = script.size();
  int line = 1;
  int i = 0;
  QString cur;
  int curLine = 0;

  auto flush = [&]() {
    const QString text = cur.trimmed();
    if (!text.isEmpty()) {
      // "SET TERM <t>" changes the terminator (it ends with the old one).
      static const QRegularExpression setTerm(QStringLiteral("^SET\\s+TERM\\s+(\\S+)\\s*$"),
                                              QRegularExpression::CaseInsensitiveOption);
      const auto m = setTerm.match(text);
      if (m.hasMatch())
        term = m.captured(1);
      else
        out.append(Statement{text, curLine});
    }
    cur.clear();
    curLine = 0;
  };
  auto take = [&](int count) {
    for (int k = 0; k < count && i < n; ++k, ++i) {
      const QChar c = script[i];
      if (curLine == 0 && !c.isSpace())
        curLine = line;
      if (c == QLatin1Char('\n'))
        ++line;
      cur += c;
    }
  };

  while (i < n) {
    const QChar c = script[i];
    if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
      int j = i + 1;
      while (j < n) {
        if (script[j] == c) {
          if (j + 1 < n && script[j + 1] == c) {
            j += 2;
            continue;
          }
          break;
        }
        ++j;
      }
      take(j + 1 - i);
    } else if (c == QLatin1Char('-') && i + 1 < n && script[i + 1] == QLatin1Char('-')) {
      // A line comment: skipped (not sent), the line break kept.
      while (i < n && script[i] != QLatin1Char('\n'))
        ++i;
    } else if (c == QLatin1Char('/') && i + 1 < n && script[i + 1] == QLatin1Char('*')) {
      int j = script.indexOf(QLatin1String("*/"), i + 2);
      j = j < 0 ? n : j + 2;
      if (cur.trimmed().isEmpty()) {
        // A comment between statements is dropped; count its lines.
        line += int(QStringView(script).mid(i, j - i).count(QLatin1Char('\n')));
        i = j;
      } else {
        take(j - i);
      }
    } else if (QStringView(script).mid(i).startsWith(term, Qt::CaseInsensitive)) {
      i += int(term.size());
      flush();
    } else {
      take(1);
    }
  }
  flush();
  return out;
}

int Script::run(Database& db, const QString& script)
{
  static const QRegularExpression ignored(
      QStringLiteral("^(SET\\s+(SQL\\s+DIALECT|NAMES|AUTODDL|LIST|ECHO|BAIL|STATS|PLAN|HEADING|COUNT)\\b|COMMIT(\\s+"
                     "WORK)?$|ROLLBACK(\\s+WORK)?$)"),
      QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression refused(QStringLiteral("^(CREATE\\s+(DATABASE|SCHEMA)|CONNECT)\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
  int sent = 0;
  Transaction tr(db, Transaction::Snapshot);
  Query q(tr);
  q.setParamCheck(false);
  for (const Statement& s : split(script)) {
    if (ignored.match(s.text).hasMatch())
      continue;
    const QString where = QStringLiteral("line %1: ").arg(s.line);
    if (refused.match(s.text).hasMatch())
      throw DbError(where + QStringLiteral("CREATE DATABASE and CONNECT are not run from scripts"));
    try {
      tr.start();
      q.setSql(s.text);
      q.exec();
      q.close();
      q.unprepare();
      tr.commit();
    } catch (DbError& e) {
      q.unprepare();
      if (tr.inTransaction()) {
        try {
          tr.rollback();
        } catch (const DbError&) {
        }
      }
      e.addContext(where);
      throw;
    }
    ++sent;
  }
  return sent;
}

int Script::runFile(Database& db, const QString& path)
{
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly))
    throw DbError(QStringLiteral("Cannot read script %1: %2").arg(path, f.errorString()));
  QByteArray bytes = f.readAll();
  if (bytes.startsWith("\xEF\xBB\xBF"))
    bytes.remove(0, 3);
  try {
    return run(db, QString::fromUtf8(bytes));
  } catch (DbError& e) {
    e.addContext(path + QLatin1Char(' '));
    throw;
  }
}

}  // namespace db
