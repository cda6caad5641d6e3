#include "ui/AbacorEdit.h"

#include <cmath>

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>

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
  connect(this, &QLineEdit::textChanged, this, [this] { changed(); });
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

void TAbacorEdit::keyPressEvent(QKeyEvent* e)
{
  const int key = e->key();
  const bool plain = fnNoModifier(e->modifiers());
  // Key down: the reformat flag and the focus moves.
  const bool nav = key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Return || key == Qt::Key_Enter ||
                   key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right;
  FCommaOut = !nav;
  if (OnKeyDown) {
    int k = key;
    OnKeyDown(k, e->modifiers());
    if (k == 0) {
      e->accept();
      return;
    }
  }
  auto move = [&](bool forward) {
    pcMoveFocus(this, forward);
    e->accept();
  };
  if ((key == Qt::Key_Return || key == Qt::Key_Enter)) {
    if (FKeyStyles.contains(ksEnter) && plain)
      return move(true);
    e->accept();  // Enter never enters the text
    return;
  }
  if (key == Qt::Key_Up && FKeyStyles.contains(ksUp) && plain)
    return move(false);
  if (key == Qt::Key_Down && plain) {
    if (FAutoNextCtls.contains(acDownKey)) {
      FResult.include(acDownKey);
      FResult.include(acSendEnter);
      e->accept();
      return;
    }
    if (FKeyStyles.contains(ksDown))
      return move(true);
  }
  if (key == Qt::Key_Left && FKeyStyles.contains(ksLeft) && plain && !hasSelectedText() && cursorPosition() == 0)
    return move(false);
  if (key == Qt::Key_Right && FKeyStyles.contains(ksRight) && plain && !hasSelectedText() &&
      cursorPosition() == int(text().size()))
    return move(true);

  const QString typed = e->text();
  if (typed.size() != 1) {
    QLineEdit::keyPressEvent(e);
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
      QLineEdit::keyPressEvent(e);
      return;
    }
    if (u == 8 && isFloat() && !hasSelectedText() && cursorPosition() > 0 &&
        text().at(cursorPosition() - 1) == QLatin1Char('.')) {
      setCursorPosition(cursorPosition() - 1);
      e->accept();
      return;
    }
    QLineEdit::keyPressEvent(e);
    return;
  }
  if (u < 32) {
    QLineEdit::keyPressEvent(e);
    return;
  }
  // Byte check of a typed character.
  if (FMaxLengthB > 0) {
    if (hasSelectedText()) {
      if (selectedText() == text()) {
        FCommaOut = true;
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
        insertText(QString(c));
        e->accept();
        pcMoveFocus(this, true);
        return;
      }
    }
  }
  QLineEdit::keyPressEvent(e);
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
  if (FKillPaste && ImeDisabled()) {
    e->accept();
    return;
  }
  QLineEdit::contextMenuEvent(e);
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
  if (composing != FImeOnFlg)
    FImeOnFlg = composing;
  if (!composing && !e->commitString().isEmpty() && TxEdit::fnIsKanaOnly(e->commitString()))
    addKana(e->commitString());
  QLineEdit::inputMethodEvent(e);
}
