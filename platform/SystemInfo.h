#pragma once
#include <QString>

// The computer's host name (gethostname); empty when it cannot be read.
QString ComputerName();
// The login name of the current user (getpwuid of the real uid, else $USER);
// empty when unknown.
QString UserName();
