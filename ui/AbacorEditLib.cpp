#include "ui/AbacorEditLib.h"

#include <cmath>

#include <QAbstractButton>
#include <QKeyEvent>
#include <QRadioButton>
#include <QWidget>

#include "platform/TextCodec.h"

namespace {

// A radio button that is not checked while another auto-exclusive radio
// button beside it is checked has no tab stop: only the checked button of a
// group is reached by the focus moves.
bool isUncheckedGroupMember(const QWidget* w)
{
  auto* rb = qobject_cast<const QRadioButton*>(w);
  if (!rb || rb->isChecked() || !rb->autoExclusive() || !rb->parentWidget())
    return false;
  const auto siblings = rb->parentWidget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly);
  for (const QRadioButton* other : siblings)
    if (other != rb && other->autoExclusive() && other->isChecked())
      return true;
  return false;
}

bool canTakeFocus(const QWidget* w, const QWidget* form)
{
  return w != form && w->window() == form && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !w->focusProxy() &&
         w->isVisibleTo(form) && w->isEnabled() && !isUncheckedGroupMember(w);
}

}  // namespace

bool fnOnForm(const QWidget* w)
{
  return w && w->window() != w;
}

bool pcMoveFocus(QWidget* from, bool forward)
{
  if (!fnOnForm(from))
    return false;
  QWidget* form = from->window();
  QWidget* w = from;
  // Walk the focus chain once round; the form skips what cannot take the focus.
  for (;;) {
    w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
    if (!w || w == from)
      return true;
    if (canTakeFocus(w, form)) {
      w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
      return true;
    }
  }
}

int fnByteLength(const QString& s)
{
  return static_cast<int>(toCp932(s).size());
}

long double fnPower(long double base, long double exponent)
{
  if (base == 0.0L)
    return 0.0L;
  return std::exp(exponent * std::log(base));
}

long double fnRoundDownDigit(std::int16_t digit, long double value)
{
  long double y = value * fnPower(10.0L, static_cast<long double>(digit) - 1.0L);
  if (y > 0.0L)
    y = std::trunc(y + 0.000001L);
  else if (y < 0.0L)
    y = std::trunc(y + 0.000001L) - 1.0L;
  return y * fnPower(10.0L, 1.0L - static_cast<long double>(digit));
}

std::optional<TKeyStyle> fnKeyStyleOf(int qtKey)
{
  switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return ksEnter;
    case Qt::Key_Left:
      return ksLeft;
    case Qt::Key_Up:
      return ksUp;
    case Qt::Key_Right:
      return ksRight;
    case Qt::Key_Down:
      return ksDown;
    default:
      return std::nullopt;
  }
}

bool fnNoModifier(Qt::KeyboardModifiers m)
{
  return (m & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0;
}

bool fnButtonKeyRules(QWidget* self, TKeyStyles styles, QKeyEvent* e, const TKeyDownEvent& onKeyDown)
{
  const int arrived = e->key();
  const auto style = fnKeyStyleOf(arrived);
  // Enter and the arrows whose style is not set keep the platform's handling.
  if (style && !styles.contains(*style))
    return false;
  // Ctrl+Enter and Alt+Enter type no Enter character.
  if (style == ksEnter && (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
    return false;

  int key = arrived;
  if (onKeyDown)
    onKeyDown(key, e->modifiers());

  if (!style) {
    if (key == 0 && arrived != 0) {
      e->accept();
      return true;
    }
    return false;
  }
  e->accept();
  if (*style == ksEnter) {
    // Character level: Enter moves on when the control stands on a form
    // and is consumed either way.
    pcMoveFocus(self, true);
    return true;
  }
  if (fnNoModifier(e->modifiers()))
    pcMoveFocus(self, *style == ksRight || *style == ksDown);
  return true;
}
