#include "ui/ImeHook.h"

#include <algorithm>
#include <vector>

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QPointer>
#include <QThread>

namespace {

std::vector<TIMEStartEndNotifyEvent>& notifyList()
{
  static std::vector<TIMEStartEndNotifyEvent> list;
  return list;
}

class TImeWatch : public QObject {
 public:
  bool eventFilter(QObject* AWatched, QEvent* AEvent) override
  {
    if (AEvent->type() == QEvent::InputMethod && QThread::currentThread() == thread()) {
      auto* im = static_cast<QInputMethodEvent*>(AEvent);
      auto* wnd = qobject_cast<QWidget*>(AWatched);
      const bool start = !im->preeditString().isEmpty();
      // A handler may remove itself (or others) while being told.
      const auto handlers = notifyList();
      for (const auto& h : handlers) {
        const auto& now = notifyList();
        if (std::find(now.begin(), now.end(), h) != now.end())
          h.Proc(h.Object, wnd, start);
      }
    }
    return QObject::eventFilter(AWatched, AEvent);
  }
};

QPointer<TImeWatch> gWatch;

void installWatch()
{
  if (gWatch || !QCoreApplication::instance())
    return;
  gWatch = new TImeWatch;
  gWatch->setParent(QCoreApplication::instance());
  QCoreApplication::instance()->installEventFilter(gWatch);
}

}  // namespace

void AddIMEStartEndNotify(const TIMEStartEndNotifyEvent& AEvent)
{
  installWatch();
  auto& list = notifyList();
  if (std::find(list.begin(), list.end(), AEvent) == list.end())
    list.push_back(AEvent);
}

void RemoveIMEStartEndNotify(const TIMEStartEndNotifyEvent& AEvent)
{
  auto& list = notifyList();
  const auto it = std::find(list.begin(), list.end(), AEvent);
  if (it != list.end())
    list.erase(it);
}

int IMEStartEndNotifyCount()
{
  return static_cast<int>(notifyList().size());
}

TImeConversion fnImeConversionOf(int AImeMode)
{
  switch (AImeMode) {
    case 0:
    case 4:
      return TImeConversion::Alphanumeric;
    case 5:
    case 6:
      return TImeConversion::Hiragana;
    case 7:
      return TImeConversion::KatakanaHalf;
    case 8:
      return TImeConversion::KatakanaFull;
    default:
      return TImeConversion::Keep;
  }
}

void SetImeConversion(QWidget* AWnd, int AImeMode)
{
  if (!AWnd)
    return;
  AWnd->setAttribute(Qt::WA_InputMethodEnabled, true);
  const TImeConversion mode = fnImeConversionOf(AImeMode);
  if (mode == TImeConversion::Keep)
    return;
  Qt::InputMethodHints hints = AWnd->inputMethodHints();
  hints.setFlag(Qt::ImhPreferLatin, mode == TImeConversion::Alphanumeric);
  // A focused widget tells the input method of its new hints itself.
  AWnd->setInputMethodHints(hints);
}
