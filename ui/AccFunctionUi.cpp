#include "ui/AccFunctionUi.h"

#include <cmath>

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include "common/AccFunction2.h"
#include "ui/SDI.h"

namespace {

constexpr QEvent::Type kMouseInput[] = {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                        QEvent::MouseButtonDblClick, QEvent::MouseMove, QEvent::Wheel};
constexpr QEvent::Type kKeyInput[] = {QEvent::KeyPress, QEvent::KeyRelease, QEvent::ShortcutOverride};

bool isInput(QEvent::Type AType)
{
  for (QEvent::Type t : kMouseInput)
    if (t == AType)
      return true;
  for (QEvent::Type t : kKeyInput)
    if (t == AType)
      return true;
  return false;
}

// Drops the input events that reach AWnd, a widget inside it or, for a
// window, its platform window while it is installed on the application.
class TInputDiscarder : public QObject {
 public:
  explicit TInputDiscarder(QWidget* AWnd) : FWnd(AWnd) {}

  bool eventFilter(QObject* AWatched, QEvent* AEvent) override
  {
    if (!isInput(AEvent->type()) || !aimsAtWnd(AWatched))
      return false;
    // An accepted shortcut override keeps a queued key from firing a
    // shortcut on its way to the window.
    AEvent->accept();
    return true;
  }

 private:
  bool aimsAtWnd(QObject* AObject) const
  {
    if (AObject->isWidgetType()) {
      auto* w = static_cast<QWidget*>(AObject);
      return w == FWnd || FWnd->isAncestorOf(w);
    }
    if (auto* window = qobject_cast<QWindow*>(AObject))
      return FWnd->isWindow() && window == FWnd->windowHandle();
    return false;
  }

  QWidget* FWnd;
};

void removePosted(QObject* AObject, QEvent::Type AType)
{
  QCoreApplication::removePostedEvents(AObject, AType);
}

}  // namespace

void pcForceForegroundWindow(QWidget* AWnd)
{
  if (!AWnd)
    return;
  QWidget* w = AWnd->window();
  if (w->isMinimized())
    w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
  if (!w->isVisible())
    return;
  w->raise();
  w->activateWindow();
}

void pcFlushInputMessages(QWidget* AWnd)
{
  if (!AWnd)
    return;
  // What the program itself posted: removed from the queue by type.
  QList<QObject*> receivers{AWnd};
  for (QWidget* child : AWnd->findChildren<QWidget*>())
    if (AWnd->isAncestorOf(child))
      receivers << child;
  if (AWnd->isWindow() && AWnd->windowHandle())
    receivers << AWnd->windowHandle();
  for (QObject* r : receivers) {
    for (QEvent::Type t : kMouseInput)
      removePosted(r, t);
    for (QEvent::Type t : kKeyInput)
      removePosted(r, t);
  }
  // What the window system queued: delivered once more into a filter that
  // drops it.
  TInputDiscarder discarder(AWnd);
  qApp->installEventFilter(&discarder);
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  qApp->removeEventFilter(&discarder);
}

QWidget* fnFindWindowEx(const QString& AClassName, const QString& AWindowName)
{
  if (AClassName.compare(QStringLiteral("desktop"), Qt::CaseInsensitive) == 0)
    return nullptr;
  if (AClassName.isEmpty() && AWindowName.isEmpty())
    return nullptr;
  QWidget* hidden = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (!w->isWindow() || w->windowType() == Qt::Desktop)
      continue;
    if (!AClassName.isEmpty() &&
        QString::fromLatin1(w->metaObject()->className()).compare(AClassName, Qt::CaseInsensitive) != 0)
      continue;
    if (!AWindowName.isEmpty() && w->windowTitle().compare(AWindowName, Qt::CaseInsensitive) != 0)
      continue;
    if (w->isVisible())
      return w;
    if (!hidden)
      hidden = w;
  }
  return hidden;
}

void pcApplyScreenMetrics()
{
  int ppi = 0;
  if (QWidget* main = TBSDI::MainForm()) {
    auto* form = qobject_cast<TBSDI*>(main);
    ppi = form ? form->PixelsPerInch() : main->logicalDpiY();
  } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    ppi = static_cast<int>(std::lround(screen->logicalDotsPerInchY()));
  }
  pcSetScreenMetrics(ppi > 0 ? ppi : 96, 4);
}

int fnTextPixelWidth(const QString& S, const QFont& AFont, double AFactor)
{
  // Measured at the screen's resolution, as the text is drawn.
  const QFontMetrics metrics(AFont);
  return static_cast<int>(std::trunc(metrics.horizontalAdvance(S) * AFactor));
}
