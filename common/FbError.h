// The common handling of database errors: one handler that logs a server
// error, explains it in Japanese with the server's code and, for a lost
// connection or a failed internal consistency check, tells the operator that
// the application will end and ends it (later database errors are then
// ignored); a plain error box with a detail block; a box of comma-separated
// lines; and the error report of the trial-balance readers.
#pragma once

#include <exception>

#include <QString>
#include <QStringList>

#include "common/MessageHook.h"

namespace db {
class DbError;
}

// The two lines of the error logs.
struct TFbErrorLogLines {
  QString Line1;
  QString Line2;
};

// Logs E (ErrFbAccess.log grows by two lines, ErrFbAccess.txt holds the two
// lines of the last error, both in the log folder), shows Message with the
// explanation (nothing for an empty Message unless the error is fatal), and
// on a lost connection ends the application once. Reconnect does not change
// the behaviour.
void fnShowFbError(const db::DbError& E, const QString& StepName, const QString& Message, bool Reconnect);

// True when E means the connection is gone for good (or the server failed
// its internal consistency check): the application must end.
bool fnIsFatalFbError(const db::DbError& E);

// The two log lines of an error (also used by the tests).
TFbErrorLogLines fnFbErrorLogLines(const db::DbError& E, const QString& StepName);

// Text followed, when Detail is not empty, by two line breaks, "[詳細情報]",
// a line break and Detail; nothing when both are empty. Button OK.
void fnShowErrorDetail(const QString& Text, const QString& Detail, TMsgDlgType DlgType);

// Reports a failed operation: a database error through fnShowFbError
// (logged; Reconnect set), any other error as Text with its message as the
// detail in an error box.
void fnReportError(const std::exception& E, const QString& StepName, const QString& Text);

// Shows the parts of Text between commas as lines (text from "//" on is
// dropped). Button OK.
void fnShowCommaMessage(const QString& Text, TMsgDlgType DlgType);

// The trial-balance readers' report: shows the error, rewrites FB_ERROR.TXT
// and appends to FB_ERROR.LOG (both in the log folder). Never ends the
// application.
void fnShowFbCalcError(const db::DbError& E, const QString& Title, bool NoServerMessage);

// Appends lines (CP932, CR LF) to a file, creating it and its folder when
// missing; with rewrite the file holds only these lines. Throws
// EPlatformError when the file cannot be written.
void pcWriteLogLines(const QString& fileName, const QStringList& lines, bool rewrite);

// The fixed texts of the handler.
extern const QString FbNetworkText;
extern const QString FbFatalTail;
extern const QString FbStandAloneNote;
