#include "platform/gui/Application.h"

#include <exception>

#include <QMutex>

#include "platform/Abort.h"
#include "platform/AppError.h"

namespace {
QMutex hookLock;
TApplication::ExceptionHook& hookRef()
{
  static TApplication::ExceptionHook hook;
  return hook;
}
}  // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
  return guarded([&] { return QApplication::notify(receiver, event); });
}

void TApplication::setExceptionHook(ExceptionHook hook)
{
  QMutexLocker l(&hookLock);
  hookRef() = std::move(hook);
}

TApplication::ExceptionHook TApplication::exceptionHook()
{
  QMutexLocker l(&hookLock);
  return hookRef();
}

bool TApplication::guarded(const std::function<bool()>& fn)
{
  QString message;
  try {
    return fn();
  } catch (const EAbort&) {
    return false;
  } catch (const std::exception& e) {
    message = QString::fromUtf8(e.what());
  } catch (...) {
    message = QStringLiteral("Unknown exception");
  }
  const ExceptionHook hook = exceptionHook();
  if (hook) {
    try {
      hook(message);
    } catch (...) {
      qWarning("Exception in the exception hook: %s", qPrintable(fnCurrentExceptionText()));
    }
  } else {
    qWarning("Unhandled exception: %s", qPrintable(message));
  }
  return false;
}
