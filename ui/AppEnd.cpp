#include "ui/AppEnd.h"

#include <QApplication>
#include <QDialog>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>

#include "common/MessageHook.h"

namespace {
bool g_requested = false;
bool g_ran = false;
}  // namespace

TAppEnd& TAppEnd::Instance()
{
  static TAppEnd* instance = new TAppEnd;
  return *instance;
}

bool TAppEnd::Requested()
{
  return g_requested;
}

void TAppEnd::Request()
{
  if (g_requested)
    return;
  g_requested = true;
  if (QCoreApplication::instance())
    QMetaObject::invokeMethod(
        &Instance(), [] { Instance().run(); }, Qt::QueuedConnection);
}

void TAppEnd::run()
{
  if (g_ran)
    return;
  g_ran = true;
  // Every modal dialog, innermost first: closing it ends its own loop.
  // A dialog that will not go (a close refused) is hidden all the same.
  for (int guard = 0; guard < 64; ++guard) {
    QPointer<QWidget> w = QApplication::activeModalWidget();
    if (!w)
      break;
    if (auto* d = qobject_cast<QDialog*>(w.data()))
      d->done(mrCancel);
    else
      w->close();
    if (w && QApplication::activeModalWidget() == w)
      w->hide();
  }
  emit Ending();
  QCoreApplication::quit();
}
