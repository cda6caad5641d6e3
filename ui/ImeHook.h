#pragma once
// IME composition notification: an application-wide watch on input-method
// events of the main thread. A composition in progress (a non-empty preedit
// text) is reported as started, an empty preedit or a commit as ended, to
// every registered handler, in the order of registration, with the widget
// that received the event.

#include <QWidget>

using TIMEStartEndNotifyProc = void (*)(void* AObject, QWidget* AWnd, bool AStart);

// A handler: a routine and the object it is called for. Two handlers are
// equal when both parts are equal.
struct TIMEStartEndNotifyEvent {
  TIMEStartEndNotifyProc Proc = nullptr;
  void* Object = nullptr;
  bool operator==(const TIMEStartEndNotifyEvent&) const = default;
};

// A handler that calls AObject->*Member(AWnd, AStart).
template <auto Member, class T>
TIMEStartEndNotifyEvent MakeIMEStartEndNotify(T* AObject)
{
  return {[](void* o, QWidget* w, bool s) { (static_cast<T*>(o)->*Member)(w, s); }, AObject};
}

// Adds the handler unless it is registered already; the watch is installed
// on the application when the first handler arrives.
void AddIMEStartEndNotify(const TIMEStartEndNotifyEvent& AEvent);
// Removes the handler when it is registered.
void RemoveIMEStartEndNotify(const TIMEStartEndNotifyEvent& AEvent);
int IMEStartEndNotifyCount();

// The input-method mode a window asks for by the framework's IME-mode
// numbers: 0 and 4 alphanumeric, 5 and 6 hiragana, 7 half-width katakana,
// 8 full-width katakana; any other number keeps the mode.
enum class TImeConversion { Keep, Alphanumeric, Hiragana, KatakanaHalf, KatakanaFull };
TImeConversion fnImeConversionOf(int AImeMode);

// Opens the input method of the window AWnd (its widgets may use it) and
// asks for the conversion mode of AImeMode. The Linux input methods take no
// conversion mode from a program: the mode becomes the window's
// input-method hints (Latin preferred for the alphanumeric mode, not for
// the Japanese ones), which the input method may follow.
void SetImeConversion(QWidget* AWnd, int AImeMode);
