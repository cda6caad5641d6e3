// Japanese explanations of Firebird status codes, shown beside the server's
// own message in the error logs and boxes.
#pragma once

#include <QString>

// The explanation of a status code; one space for a code the table does not
// hold. Two codes are explained only together with their SQL code
// (335544788 with -901, 336330817 with -902).
QString fnGetIBErrorText(int IBErrorCode, int SQLCode);
