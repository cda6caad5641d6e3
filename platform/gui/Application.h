#pragma once
#include <functional>

#include <QApplication>

// The application object. Event dispatch swallows the silent abort (EAbort)
// without a message; any other exception leaving an event handler is handed
// to the exception hook (when set) and then swallowed, so that one failed
// handler does not end the program. Without a hook the message is written
// to qWarning.
class TApplication : public QApplication {
  Q_OBJECT
 public:
  using ExceptionHook = std::function<void(const QString& message)>;

  TApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  static void setExceptionHook(ExceptionHook hook);
  static ExceptionHook exceptionHook();

  // Runs fn, handling exceptions as notify() does; returns fn's result, or
  // false when it threw.
  static bool guarded(const std::function<bool()>& fn);
};
