// Our stand-in for the preparing tool of a migration (the real one is a
// Windows program that is not available): it writes, from a company database
// of the older edition, the work folder that the migration reads: one script
// per table ("<TABLE>.sql", CP932, one INSERT statement per row, line breaks
// in text values written as %CL%, %CR% and %LF%) and the info file
// "convert_info.txt".
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

namespace db {
class Database;
}

namespace testfx {

// Writes the scripts of every table of `source` that holds rows into
// `folder` (created), leaving out the tables in `skip`; answers the number
// of statements written per table.
QMap<QString, int> writeConvertScripts(db::Database& source, const QString& folder, const QStringList& skip = {});

// Writes lines as a CP932 text file with CR LF line ends (a script or the
// info file); the folder is created.
void writeToolFile(const QString& file, const QStringList& lines);

// The INSERT statement of one row: values are SQL literals as the preparing
// tool writes them (NULL, numbers, quoted texts with their escapes).
QString convertInsertLine(const QString& table, const QStringList& columns, const QStringList& literals);
// A text value as a quoted literal with the line-break escapes.
QString convertTextLiteral(const QString& text);

}  // namespace testfx
