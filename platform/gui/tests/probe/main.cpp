// Test helper: runs a TApplication whose event handlers fail, and prints
// what the exception hook saw and how many events were handled normally.
#include <cstdio>
#include <stdexcept>

#include <QEvent>
#include <QTimer>

#include "platform/Abort.h"
#include "platform/gui/Application.h"

namespace {

class Handler : public QObject {
 public:
  int handled = 0;
  bool event(QEvent* e) override
  {
    if (e->type() == QEvent::User)
      throw EAbort();
    if (e->type() == QEvent::User + 1)
      throw std::runtime_error("probe failure");
    if (e->type() == QEvent::User + 2) {
      ++handled;
      return true;
    }
    return QObject::event(e);
  }
};

}  // namespace

int main(int argc, char** argv)
{
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  TApplication app(argc, argv);
  TApplication::setExceptionHook([](const QString& m) { std::printf("hook: %s\n", qPrintable(m)); });
  Handler h;
  QCoreApplication::postEvent(&h, new QEvent(QEvent::Type(QEvent::User + 2)));
  QCoreApplication::postEvent(&h, new QEvent(QEvent::User));
  QCoreApplication::postEvent(&h, new QEvent(QEvent::Type(QEvent::User + 1)));
  QCoreApplication::postEvent(&h, new QEvent(QEvent::Type(QEvent::User + 2)));
  QTimer::singleShot(100, &app, [&] {
    std::printf("handled: %d\n", h.handled);
    app.quit();
  });
  return app.exec();
}
