// The user interface's way of showing the messages of the widget-free
// libraries: the standard message dialog and the framework's message box.
// The program installs it at start-up with pcInstallUiMessageHook.
#pragma once

#include "common/MessageHook.h"

class TUiMessageHook final : public IMessageHook {
 public:
  int ShowMessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons) override;
  int ShowMessageLines(int kind, const QStringList& lines) override;
  void RequestTerminate() override;
};

// Installs the one TUiMessageHook of the process, and the report of
// exceptions that reach the event loop (pcInstallExceptionReport).
void pcInstallUiMessageHook();

// An exception that left an event handler: written with the time to
// "ErrApplication.log" in the log folder and shown to the operator in an
// error box, so that a failed action never passes unnoticed.
void pcReportUnhandledException(const QString& AMessage);

// Makes the application object hand the exceptions it catches in event
// dispatch to pcReportUnhandledException.
void pcInstallExceptionReport();
