#include "common/MessageHook.h"

#include <QCoreApplication>
#include <QDebug>
#include <QMetaObject>

namespace {

class LoggingMessageHook final : public IMessageHook {
 public:
  int ShowMessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons) override
  {
    QString shown = text;
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    qWarning().noquote() << "message" << int(type) << ":" << shown;
    return FirstButtonResult(buttons);
  }

  int ShowMessageLines(int kind, const QStringList& lines) override
  {
    qWarning().noquote() << "message" << kind << ":" << lines.join(QLatin1Char('\n'));
    return kind == 3 ? mrOk : mrYes;
  }

  void RequestTerminate() override
  {
    if (QCoreApplication* app = QCoreApplication::instance())
      QMetaObject::invokeMethod(app, &QCoreApplication::quit, Qt::QueuedConnection);
  }
};

LoggingMessageHook& defaultHook()
{
  static LoggingMessageHook hook;
  return hook;
}

IMessageHook* g_hook = nullptr;

}  // namespace

IMessageHook& MessageHook()
{
  return g_hook ? *g_hook : defaultHook();
}

IMessageHook* SetMessageHook(IMessageHook* hook)
{
  IMessageHook* previous = g_hook;
  g_hook = hook;
  return previous;
}

int FirstButtonResult(TMsgDlgButtons buttons)
{
  if (buttons & mbYes)
    return mrYes;
  if (buttons & mbOK)
    return mrOk;
  if (buttons & mbNo)
    return mrNo;
  if (buttons & mbCancel)
    return mrCancel;
  if (buttons & mbAbort)
    return mrAbort;
  if (buttons & mbRetry)
    return mrRetry;
  if (buttons & mbIgnore)
    return mrIgnore;
  if (buttons & mbAll)
    return mrAll;
  if (buttons & mbNoToAll)
    return mrNoToAll;
  if (buttons & mbYesToAll)
    return mrYesToAll;
  if (buttons & mbClose)
    return mrClose;
  if (buttons & mbHelp)
    return mrHelp;
  return mrNone;
}

TFirstErrorOnlyScope::TFirstErrorOnlyScope() : FPrevious(SetMessageHook(this)) {}

TFirstErrorOnlyScope::~TFirstErrorOnlyScope()
{
  SetMessageHook(FPrevious);
}

int TFirstErrorOnlyScope::ShowMessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons)
{
  IMessageHook& next = FPrevious ? *FPrevious : defaultHook();
  if (type != mtError)
    return next.ShowMessageDlg(text, type, buttons);
  if (FErrorShown) {
    ++FHeldBack;
    QString logged = text;
    logged.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    qWarning().noquote() << "error box held back (already reported once):" << logged;
    return FirstButtonResult(buttons);
  }
  FErrorShown = true;
  return next.ShowMessageDlg(text, type, buttons);
}

int TFirstErrorOnlyScope::ShowMessageLines(int kind, const QStringList& lines)
{
  IMessageHook& next = FPrevious ? *FPrevious : defaultHook();
  if (kind != 1)
    return next.ShowMessageLines(kind, lines);
  if (FErrorShown) {
    ++FHeldBack;
    qWarning().noquote() << "error box held back (already reported once):" << lines.join(QLatin1Char('\n'));
    return mrYes;
  }
  FErrorShown = true;
  return next.ShowMessageLines(kind, lines);
}

void TFirstErrorOnlyScope::RequestTerminate()
{
  (FPrevious ? *FPrevious : defaultHook()).RequestTerminate();
}
