#include "ui/AbacorEdit.h"

#include <cmath>

#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/Format.h"
#include "ui/xEdit.h"

namespace {

QString withoutCommas(QString s)
{
  return s.remove(QLatin1Char(','));
}

double valueOf(const QString& s)
{
  bool ok = false;
  const double v = withoutCommas(s).trimmed().toDouble(&ok);
  return ok ? v : 0.0;
}

QChar zeroKeyChar(TZeroKey k)
{
  switch (k) {
    case zkDot:
      return QLatin1Char('.');
    case zkPlus:
      return QLatin1Char('+');
    case zkMinus:
      return QLatin1Char('-');
    case zkAsterisk:
      return QLatin1Char('*');
    case zkSlash:
      return QLatin1Char('/');
    default:
      return QChar();
  }
}

// A plain number: no separators, no trailing zeros, at most four decimals.
QString plainNumber(double v)
{
  QString s = QString::number(v, 'f', 4);
  if (s.contains(QLatin1Char('.'))) {
    while (s.endsWith(QLatin1Char('0')))
      s.chop(1);
    if (s.endsWith(QLatin1Char('.')))
      s.chop(1);
  }
  return s == QStringLiteral("-0") ? QStringLiteral("0") : s;
}

}  // namespace

TAbacorEdit::TAbacorEdit(QWidget* parent) : QLineEdit(parent)
{
  FBrush = QBrush(palette().color(QPalette::Base), Qt::SolidPattern);
  connect(this, &QLineEdit::textChanged, this, [this] { changed(); });
}

void TAbacorEdit::setBrush(const QBrush& v)
{
  FBrush = v;
  applyBrush();
}

void TAbacorEdit::setTransparent(bool v)
{
  if (v == FTransparent)
    return;
  FTransparent = v;
  applyBrush();
}

void TAbacorEdit::applyBrush()
{
  FBrush.setStyle(FTransparent ? Qt::NoBrush : Qt::SolidPattern);
  QPalette p = palette();
  // No background at all while transparent: the parent's painting shows.
  p.setBrush(QPalette::Base, FTransparent ? QBrush(Qt::transparent) : FBrush);
  setPalette(p);
  update();
}

void TAbacorEdit::setComma(bool v)
{
  FComma = v;
  if (!v)
    applyWindowLimit();
}

void TAbacorEdit::setMaxLength(int v)
{
  FMaxLength = v;
  applyWindowLimit();
}

void TAbacorEdit::setMaxLengthB(int v)
{
  FMaxLengthB = v;
  applyWindowLimit();
}

void TAbacorEdit::applyWindowLimit()
{
  // The byte limit is enforced here; the window only knows characters.
  QLineEdit::setMaxLength(FMaxLengthB > 0 || FMaxLength <= 0 ? 32767
                                                             : FMaxLength + int(text().count(QLatin1Char(','))));
}

double TAbacorEdit::NumericValue() const
{
  return isNumeric() ? valueOf(text()) : 0.0;
}

int TAbacorEdit::measure(const QString& s) const
{
  const QString t = FComma ? withoutCommas(s) : s;
  return FMaxLengthB > 0 ? fnByteLength(t) : int(t.size());
}

bool TAbacorEdit::allowed(QChar c) const
{
  const ushort u = c.unicode();
  if (u == 8 || u == 9 || u == 27 || (u >= '0' && u <= '9'))
    return true;
  if (c == QLatin1Char('.'))
    return isFloat();
  if (c == QLatin1Char('-'))
    return isMinus();
  return false;
}

QString TAbacorEdit::fnFormatText(const QString& S) const
{
  if (!isNumeric() || FOutputFormat.isEmpty() || (FAllowBlank && S.isEmpty()))
    return S;
  const int dot = int(FOutputFormat.indexOf(QLatin1Char('.')));
  int d = 0;
  if (dot >= 0) {
    const int semi = int(FOutputFormat.indexOf(QLatin1Char(';'), dot));
    d = int((semi < 0 ? FOutputFormat.size() : semi) - dot - 1);
  }
  const double v = double(fnRoundDownDigit(std::int16_t(d + 1), valueOf(S)));
  return FormatFloat(FOutputFormat, v);
}

void TAbacorEdit::rangeCheck()
{
  if (!isNumeric() || (FNumericMax == 0 && FNumericMin == 0))
    return;
  const double v = NumericValue();
  double to;
  if (v > FNumericMax)
    to = FNumericMax;
  else if (v < FNumericMin)
    to = FNumericMin;
  else
    return;
  if (FOutputFormat.isEmpty())
    return;
  setText(fnFormatText(FormatFloat(FOutputFormat, to)));
  deselect();
  setCursorPosition(int(text().size()));
}

void TAbacorEdit::changed()
{
  if (FInChange)
    return;
  FInChange = true;
  rangeCheck();
  if (FComma && FCommaOut && text() != QStringLiteral("-")) {
    FCommaOut = false;
    const QString before = text();
    const int caret = cursorPosition();
    const int commas = int(before.count(QLatin1Char(',')));
    const QString after = fnFormatText(before);
    if (after != before) {
      // Separators do not eat into the character limit.
      if (FMaxLength > 0 && FMaxLengthB <= 0)
        QLineEdit::setMaxLength(FMaxLength + int(after.count(QLatin1Char(','))));
      setText(after);
      const int grown = int(after.count(QLatin1Char(','))) - commas;
      int pos = caret;
      if (before.isEmpty() || grown > 0)
        pos = caret + 1;
      else if (grown < 0)
        pos = caret - 1;
      setCursorPosition(qBound(0, pos, int(after.size())));
    }
    if (FMaxLength > 0)
      QLineEdit::setMaxLength(FMaxLength + int(text().count(QLatin1Char(','))));
  }
  if (FMaxLengthB > 0 && fnByteLength(text()) > FMaxLengthB) {
    QString t = text();
    while (!t.isEmpty() && fnByteLength(t) > FMaxLengthB)
      t.chop(1);
    setText(t);
    deselect();
    setCursorPosition(int(t.size()));
  }
  FInChange = false;
}

void TAbacorEdit::insertText(QString S)
{
  const int caret = hasSelectedText() ? int(selectionStart()) : cursorPosition();
  QString t = text();
  if (hasSelectedText())
    t.remove(selectionStart(), selectedText().size());
  const int commas = int(t.count(QLatin1Char(',')));
  const int limit = FMaxLengthB > 0 ? FMaxLengthB : FMaxLength;
  if (limit > 0)
    while (!S.isEmpty() && measure(t) + measure(S) > limit)
      S.chop(1);
  t.insert(qMin(caret, int(t.size())), S);
  FCommaOut = true;
  setText(t);
  if (limit > 0 && measure(text()) >= limit) {
    FResult.include(acMaxLength);
    if (FAutoNextCtls.contains(acSendEnter))
      FResult.include(acSendEnter);
  }
  const int shift = int(text().count(QLatin1Char(','))) - commas;
  setCursorPosition(qBound(0, caret + int(S.size()) + shift, int(text().size())));
}

bool TAbacorEdit::event(QEvent* e)
{
  // Tab and Shift+Tab are the edit's own keys: the platform would move the
  // focus through its chain before the key reaches keyPressEvent.
  if (e->type() == QEvent::KeyPress) {
    auto* ke = static_cast<QKeyEvent*>(e);
    const int key = ke->key();
    if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) &&
        !(ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
      FCommaOut = false;
      const bool back = key == Qt::Key_Backtab || (ke->modifiers() & Qt::ShiftModifier);
      if (back || !FAutoNextCtls.contains(acTabKey)) {
        pcMoveFocus(this, !back);
        ke->accept();
        return true;
      }
      // acTabKey: Tab stays in the field and is reported.
      if (OnKeyDown) {
        int k = key;
        OnKeyDown(k, ke->modifiers());
        if (k == 0) {
          ke->accept();
          return true;
        }
      }
      FResult.include(acTabKey);
      FResult.include(acSendEnter);
      ke->accept();
      return true;
    }
  }
  return QLineEdit::event(e);
}

bool TAbacorEdit::keyDownRules(QKeyEvent* e)
{
  const int key = e->key();
  auto move = [&](bool forward) {
    pcMoveFocus(this, forward);
    return true;
  };
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // With or without a modifier held.
      return FKeyStyles.contains(ksEnter) && move(true);
    case Qt::Key_Up:
      return FKeyStyles.contains(ksUp) && move(false);
    case Qt::Key_Down:
      if (FAutoNextCtls.contains(acDownKey) && fnNoModifier(e->modifiers())) {
        FResult.include(acDownKey);
        FResult.include(acSendEnter);
        return true;
      }
      return FKeyStyles.contains(ksDown) && move(true);
    case Qt::Key_Left:
      return FKeyStyles.contains(ksLeft) && !hasSelectedText() && cursorPosition() == 0 && move(false);
    case Qt::Key_Right:
      return FKeyStyles.contains(ksRight) && !hasSelectedText() && cursorPosition() == int(text().size()) && move(true);
    default:
      return false;
  }
}

void TAbacorEdit::typedKana(QChar c)
{
  // A character typed without the input method is its own reading.
  if (!FImeOnFlg && c.unicode() >= 32)
    addKana(QString(c));
}

void TAbacorEdit::passToEdit(QKeyEvent* e)
{
  const QString typed = e->text();
  if (typed.size() == 1 && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
    typedKana(typed.at(0));
  QLineEdit::keyPressEvent(e);
}

void TAbacorEdit::keyPressEvent(QKeyEvent* e)
{
  const int key = e->key();
  // Key down: the reformat flag, the focus rules, then the key-down
  // handler with the keys the rules left.
  const bool nav = key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Return || key == Qt::Key_Enter ||
                   key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right;
  FCommaOut = !nav;
  if (keyDownRules(e)) {
    e->accept();
    return;
  }
  if (OnKeyDown) {
    int k = key;
    OnKeyDown(k, e->modifiers());
    if (k == 0) {
      e->accept();
      return;
    }
  }
  if (pasteRefused() && e->matches(QKeySequence::Paste)) {
    e->accept();
    return;
  }
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    // Enter never enters the text.
    FResult.exclude(acMaxLength);
    FResult.exclude(acSendEnter);
    e->accept();
    return;
  }

  const QString typed = e->text();
  if (typed.size() != 1) {
    passToEdit(e);
    return;
  }
  QChar c = typed.at(0);
  update();
  // Zero keys.
  const bool zeroOff = FEditStyle == esNone || (FZero2Key == zkDot && isFloat()) || (FZero2Key == zkMinus && isMinus());
  if (!zeroOff) {
    if (FZero2Key != zkNone && c == zeroKeyChar(FZero2Key)) {
      insertText(QStringLiteral("00"));
      c = QChar();
    } else if (FZero3Key != zkNone && c == zeroKeyChar(FZero3Key)) {
      insertText(QStringLiteral("000"));
      c = QChar();
    }
  }
  if (!c.isNull() && isNumeric()) {
    if (!allowed(c)) {
      e->accept();  // refused (also the clipboard shortcuts)
      return;
    }
    if (isMinus() && c == QLatin1Char('-')) {
      const double v = std::round(valueOf(text()) * 10000.0) / 10000.0;
      if (v != 0) {
        FCommaOut = true;
        setText(plainNumber(-v));
        setCursorPosition(int(text().size()));
        e->accept();
        return;
      }
    }
    if (isFloat() && c == QLatin1Char('.') && (text().isEmpty() || text().contains(QLatin1Char('.')))) {
      setCursorPosition(text().isEmpty() ? 0 : int(text().indexOf(QLatin1Char('.'))) + 1);
      e->accept();
      return;
    }
  }
  if (c.isNull()) {
    e->accept();
    return;
  }
  const ushort u = c.unicode();
  if (u == 8 || u == 27 || c == QChar(0x30FB)) {
    FResult = {};
    if (u == 27) {
      passToEdit(e);
      return;
    }
    if (u == 8 && isFloat() && !hasSelectedText() && cursorPosition() > 0 &&
        text().at(cursorPosition() - 1) == QLatin1Char('.')) {
      setCursorPosition(cursorPosition() - 1);
      e->accept();
      return;
    }
    passToEdit(e);
    return;
  }
  if (u < 32) {
    passToEdit(e);
    return;
  }
  // Byte check of a typed character.
  if (FMaxLengthB > 0) {
    if (hasSelectedText()) {
      if (selectedText() == text()) {
        FCommaOut = true;
        typedKana(c);
        setText(QString(c));
        setCursorPosition(1);
        e->accept();
        return;
      }
      const int start = int(selectionStart());
      QString t = text();
      t.remove(start, selectedText().size());
      setText(t);
      setCursorPosition(start);
    }
    if (fnByteLength(FComma ? withoutCommas(text()) : text()) + fnByteLength(QString(c)) > FMaxLengthB) {
      e->accept();
      return;
    }
  }
  // Character limit (separators not counted when Comma is set).
  if (FMaxLengthB <= 0 && FMaxLength > 0) {
    const int sel = hasSelectedText() ? measure(selectedText()) : 0;
    if (measure(text()) - sel + 1 > FMaxLength) {
      e->accept();
      return;
    }
  }
  FResult.exclude(acMaxLength);
  FResult.exclude(acSendEnter);
  const int limit = FMaxLengthB > 0 ? FMaxLengthB : FMaxLength;
  if (FAutoNextCtls.contains(acMaxLength) && limit > 0) {
    const int sel = hasSelectedText() ? measure(selectedText()) : 0;
    if (measure(QString(c)) - sel + measure(text()) >= limit) {
      FResult.include(acMaxLength);
      if (FAutoNextCtls.contains(acSendEnter)) {
        FResult.include(acSendEnter);
      } else {
        typedKana(c);
        insertText(QString(c));
        e->accept();
        pcMoveFocus(this, true);
        return;
      }
    }
  }
  passToEdit(e);
}

void TAbacorEdit::focusInEvent(QFocusEvent* e)
{
  FResult = {};
  if (isNumeric() && !FOutputFormat.isEmpty() && !FComma) {
    FInChange = true;
    setText(withoutCommas(text()));
    FInChange = false;
    selectAll();
  }
  FOldText = text();
  QLineEdit::focusInEvent(e);
}

void TAbacorEdit::focusOutEvent(QFocusEvent* e)
{
  const QString formatted = fnFormatText(text());
  if (FMaxLength > 0 && FMaxLengthB <= 0)
    QLineEdit::setMaxLength(FMaxLength + int(formatted.count(QLatin1Char(','))));
  FInChange = true;
  setText(formatted);
  FInChange = false;
  FResult = {};
  QLineEdit::focusOutEvent(e);
}

void TAbacorEdit::resizeEvent(QResizeEvent* e)
{
  QLineEdit::resizeEvent(e);
  FInChange = true;
  const QString f = fnFormatText(text());
  if (f != text())
    setText(f);
  FInChange = false;
}

void TAbacorEdit::contextMenuEvent(QContextMenuEvent* e)
{
  if (pasteRefused()) {
    e->accept();
    return;
  }
  QLineEdit::contextMenuEvent(e);
}

void TAbacorEdit::mousePressEvent(QMouseEvent* e)
{
  // The right button would open the context menu, the middle one paste the
  // selection.
  if (pasteRefused() && (e->button() == Qt::RightButton || e->button() == Qt::MiddleButton)) {
    e->accept();
    return;
  }
  QLineEdit::mousePressEvent(e);
}

void TAbacorEdit::mouseReleaseEvent(QMouseEvent* e)
{
  if (pasteRefused() && (e->button() == Qt::RightButton || e->button() == Qt::MiddleButton)) {
    e->accept();
    return;
  }
  QLineEdit::mouseReleaseEvent(e);
}

void TAbacorEdit::enterEvent(QEnterEvent* e)
{
  QLineEdit::enterEvent(e);
  if (OnMouseEnter)
    OnMouseEnter(QGuiApplication::keyboardModifiers(), QGuiApplication::mouseButtons(), e->position().toPoint());
}

void TAbacorEdit::addKana(const QString& s)
{
  if (FKanaMode == kmNone || s.isEmpty())
    return;
  FKana = TxEdit::fnToFullKatakana(FKana + s);
  if (FKanaMode == kmHankaku)
    FKana = TxEdit::fnToHalfWidth(FKana);
}

void TAbacorEdit::inputMethodEvent(QInputMethodEvent* e)
{
  const bool composing = !e->preeditString().isEmpty();
  if (composing != FImeOnFlg) {
    FImeOnFlg = composing;
    if (OnImeStatusChange)
      OnImeStatusChange();
  }
  if (!composing && !e->commitString().isEmpty() && TxEdit::fnIsKanaOnly(e->commitString()))
    addKana(e->commitString());
  QLineEdit::inputMethodEvent(e);
}
