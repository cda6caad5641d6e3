#include "wizard/RendoCaller.h"

#include "platform/CallerWindow.h"

TRendoCaller::TRendoCaller(const TRendoArgs& args)
    : PHandle(args.PHandle), MessageID(args.MessageID), FunctionID(args.FunctionID)
{
}

void TRendoCaller::pcDisableCaller() const
{
  if (IsCalled())
    CallerWindow::EnableWindow(PHandle, false);
}

bool TRendoCaller::pcSendEndMessage() const
{
  if (!IsCalled())
    return true;
  CallerWindow::SetForegroundWindow(PHandle);
  CallerWindow::EnableWindow(PHandle, true);
  return CallerWindow::PostMessage(PHandle, quint32(MessageID), FunctionID, EndState);
}
