// The program block: refuses to run beside the accounting program, its tools
// or another copy of itself, then creates the wizard window, initialises it
// and runs it until it closes.
#pragma once

#include <QString>
#include <QStringList>

// The first of the single-instance mutexes that another process holds, and
// the message for it; empty when none is held.
struct TRendoInstanceCheck {
  QString Mutex;
  QString Message;
};
TRendoInstanceCheck fnRendoInstanceCheck();

// Runs the program with the arguments (without the program's own name);
// the application object must exist. Returns the process exit code (0).
int fnRendoProgramMain(const QStringList& arguments);
