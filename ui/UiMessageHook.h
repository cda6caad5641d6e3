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

// Installs the one TUiMessageHook of the process.
void pcInstallUiMessageHook();
