#pragma once
#include <QString>
#include <QStringList>

#include "db/DbError.h"

namespace db {

class Database;

// A SQL script as isql reads it: statements end with the current terminator
// (";" until "SET TERM <t> ;" changes it); terminators inside string
// literals, quoted identifiers and comments ("-- ..." and "/* ... */") do
// not count. "SET TERM" itself is handled here and not sent.
//
// run() executes every statement on the connected database, each in its
// own transaction committed after it (DDL is visible to what follows).
// "COMMIT" and "ROLLBACK" statements are accepted and ignored, and
// "SET SQL DIALECT", "SET NAMES", "SET AUTODDL" and "SET LIST" are ignored;
// "CREATE DATABASE" and "CONNECT" are refused (use Database::create).
// Statements are sent as they stand (":name" in PSQL bodies is left alone).
// A failing statement stops the run with a DbError whose message begins
// with "line N: " (the statement's first line).
class Script {
 public:
  struct Statement {
    QString text;  // without the terminator, trimmed
    int line = 0;  // 1-based line of its first character
  };

  static QList<Statement> split(const QString& script);
  // Runs the statements of a script text; returns how many were sent.
  static int run(Database& db, const QString& script);
  // Reads a UTF-8 file and runs it.
  static int runFile(Database& db, const QString& path);
};

}  // namespace db
