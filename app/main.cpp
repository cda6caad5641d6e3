// Program entry: the wizard's program block.
#include "common/dialogs/AppIniCreateBox.h"
#include "common/dialogs/DataPasswordDlg.h"
#include "common/dialogs/MyNumberPasswordDlg.h"
#include "datasel/dialogs/DataSentaku.h"
#include "platform/gui/Application.h"
#include "print/Print360Engine.h"
#include "ui/UiMessageHook.h"
#include "wizard/window/RendoProgram.h"

int main(int argc, char** argv)
{
  TApplication app(argc, argv);
  // The window's closing ends the program block, not the last window.
  QApplication::setQuitOnLastWindowClosed(false);
  // Messages of the widget-free libraries show as dialogs.
  pcInstallUiMessageHook();
  // The print engine with its font lists and printer; without it the program
  // runs on without printing.
  InitPrintEngine();
  // The dialogs this program starts by name or through hooks.
  RegisterDataSentakuBox();
  pcInstallDataPasswordPrompt();
  pcInstallMyNumberPasswordPrompt();
  pcInstallAppIniCreateBoxHook();
  QStringList args = QApplication::arguments();
  if (!args.isEmpty())
    args.removeFirst();
  const int result = fnRendoProgramMain(args);
  FinalizePrintEngine();
  return result;
}
