#include "ui/xEdit.h"

#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QValidator>

namespace {

// Holds the byte limit on every change the edit makes: typing, pasting,
// dropping and input-method commits all pass through the validator, and a
// change that would exceed the limit is undone as a whole. Text set by the
// program is left as it is given.
class TByteLimitValidator : public QValidator {
 public:
  TByteLimitValidator(int limit, QObject* parent) : QValidator(parent), FLimit(limit) {}
  State validate(QString& input, int&) const override
  {
    return FLimit > 0 && TxEdit::fnByteCount(input) > FLimit ? Invalid : Acceptable;
  }

 private:
  int FLimit;
};

// Full-width forms of the half-width katakana U+FF61 .. U+FF9D.
const QString kHalfKanaToFull = QStringLiteral(
    u"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリ"
    u"ルレロワン");

constexpr char16_t kVoicedMark = 0xFF9E;      // ﾞ
constexpr char16_t kSemiVoicedMark = 0xFF9F;  // ﾟ

bool hasVoiced(char16_t full)
{
  return (full >= u'カ' && full <= u'ト' && full != u'ッ') || (full >= u'ハ' && full <= u'ホ') || full == u'ウ';
}

}  // namespace

TxEdit::TxEdit(QWidget* parent) : QLineEdit(parent)
{
  applyLimits();
}

void TxEdit::setKeyStyles(TKeyStyles value)
{
  if (value == FKeyStyles)
    return;
  FKeyStyles = value;
}

void TxEdit::setKeyEdit3D(TBorderStyle value)
{
  // Both looks keep the platform's frame; the value is kept for the forms
  // that store it.
  FKeyEdit3D = value;
}

void TxEdit::setMaxLength(int value)
{
  FMaxLength = qMax(0, value);
  applyLimits();
}

void TxEdit::setMaxLengthB(int value)
{
  FMaxLengthB = qMax(0, value);
  applyLimits();
}

void TxEdit::applyLimits()
{
  // With a byte limit the edit counts bytes itself and has no character limit.
  QLineEdit::setMaxLength(FMaxLengthB == 0 && FMaxLength > 0 ? FMaxLength : 32767);
  const QValidator* old = validator();
  setValidator(FMaxLengthB > 0 ? new TByteLimitValidator(FMaxLengthB, this) : nullptr);
  delete old;
}

void TxEdit::setImeDisabled(bool value)
{
  setAttribute(Qt::WA_InputMethodEnabled, !value);
}

Currency TxEdit::Curr() const
{
  return Currency::tryFromString(text()).value_or(Currency());
}

void TxEdit::setCurr(Currency value)
{
  if (!value.isZero())
    setText(value.toString());
}

int TxEdit::Long() const
{
  bool ok = false;
  const int v = text().trimmed().toInt(&ok);
  return ok ? v : 0;
}

void TxEdit::setLong(int value)
{
  if (value != 0)
    setText(QString::number(value));
}

QString TxEdit::kana()
{
  FBuff = fnToFullKatakana(FBuff);
  return fnToHalfWidth(FBuff);
}

void TxEdit::setKana(const QString& value)
{
  if (!value.isEmpty())
    FBuff = value;
}

int TxEdit::fnByteCount(const QString& s)
{
  int n = 0;
  for (int i = 0; i < s.size(); ++i) {
    const char16_t c = s[i].unicode();
    if ((c >= 32 && c <= 126) || (c >= 0xFF61 && c <= 0xFF9F)) {
      n += 1;
    } else {
      if (QChar::isHighSurrogate(c) && i + 1 < s.size() && s[i + 1].isLowSurrogate())
        ++i;  // a pair is one code point and counts 2
      n += 2;
    }
  }
  return n;
}

QString TxEdit::fnToFullKatakana(const QString& s)
{
  QString out;
  out.reserve(s.size());
  for (int i = 0; i < s.size(); ++i) {
    char16_t c = s[i].unicode();
    if (c >= 0x3041 && c <= 0x3096) {
      out += QChar(char16_t(c + 0x60));
    } else if (c == 0x309D || c == 0x309E) {
      out += QChar(char16_t(c + 0x60));
    } else if (c >= 0xFF61 && c <= 0xFF9D) {
      char16_t full = kHalfKanaToFull[c - 0xFF61].unicode();
      const char16_t next = i + 1 < s.size() ? s[i + 1].unicode() : 0;
      if (next == kVoicedMark && hasVoiced(full)) {
        full = full == u'ウ' ? u'ヴ' : char16_t(full + 1);
        ++i;
      } else if (next == kSemiVoicedMark && full >= u'ハ' && full <= u'ホ') {
        full = char16_t(full + 2);
        ++i;
      }
      out += QChar(full);
    } else if (c == kVoicedMark) {
      out += QChar(u'゛');
    } else if (c == kSemiVoicedMark) {
      out += QChar(u'゜');
    } else {
      out += QChar(c);
    }
  }
  return out;
}

QString TxEdit::fnToHalfWidth(const QString& s)
{
  QString out;
  out.reserve(s.size());
  for (QChar qc : s) {
    const char16_t c = qc.unicode();
    if (c >= 0xFF01 && c <= 0xFF5E) {
      out += QChar(char16_t(c - 0xFEE0));
      continue;
    }
    if (c == 0x3000) {
      out += QLatin1Char(' ');
      continue;
    }
    if (c == u'゛') {
      out += QChar(kVoicedMark);
      continue;
    }
    if (c == u'゜') {
      out += QChar(kSemiVoicedMark);
      continue;
    }
    const qsizetype plain = kHalfKanaToFull.indexOf(QChar(c));
    if (plain >= 0) {
      out += QChar(char16_t(0xFF61 + plain));
      continue;
    }
    if (c == u'ヴ') {
      out += QChar(char16_t(0xFF73));
      out += QChar(kVoicedMark);
      continue;
    }
    const qsizetype voiced = kHalfKanaToFull.indexOf(QChar(char16_t(c - 1)));
    if (voiced >= 0 && hasVoiced(char16_t(c - 1))) {
      out += QChar(char16_t(0xFF61 + voiced));
      out += QChar(kVoicedMark);
      continue;
    }
    const qsizetype semi = kHalfKanaToFull.indexOf(QChar(char16_t(c - 2)));
    if (semi >= 0 && c - 2 >= u'ハ' && c - 2 <= u'ホ' && (c - 2 - u'ハ') % 3 == 0) {
      out += QChar(char16_t(0xFF61 + semi));
      out += QChar(kSemiVoicedMark);
      continue;
    }
    out += qc;
  }
  return out;
}

bool TxEdit::fnIsKanaOnly(const QString& s)
{
  if (s.isEmpty())
    return false;
  for (QChar qc : s) {
    const char16_t c = qc.unicode();
    const bool kana =
        (c >= 0x3041 && c <= 0x3096) || (c >= 0x30A1 && c <= 0x30FA) || c == 0x30FC || (c >= 0xFF66 && c <= 0xFF9F);
    if (!kana)
      return false;
  }
  return true;
}

void TxEdit::keyPressEvent(QKeyEvent* e)
{
  const int arrived = e->key();
  const Qt::KeyboardModifiers mods = e->modifiers();
  const bool enter = arrived == Qt::Key_Return || arrived == Qt::Key_Enter;

  // Enter moves on before the edit's own handling sees it.
  if (enter && !(mods & (Qt::ControlModifier | Qt::AltModifier)) && FKeyStyles.contains(ksEnter) && fnOnForm(this)) {
    e->accept();
    pcMoveFocus(this, true);
    return;
  }

  if (pasteRefused() && e->matches(QKeySequence::Paste)) {
    e->accept();
    return;
  }

  int key = arrived;
  if (OnKeyDown)
    OnKeyDown(key, mods);
  if (key == 0 && arrived != 0) {
    e->accept();
    return;
  }

  // The arrow rules look at the key as the key-down handler left it.
  if (fnNoModifier(mods)) {
    const int selLen = static_cast<int>(selectedText().size());
    const int selStart = hasSelectedText() ? selectionStart() : cursorPosition();
    const int len = static_cast<int>(text().size());
    bool move = false;
    bool forward = false;
    switch (key) {
      case Qt::Key_Left:
        move = FKeyStyles.contains(ksLeft) && selStart == 0 && (selLen == 0 || selLen == len);
        break;
      case Qt::Key_Up:
        move = FKeyStyles.contains(ksUp);
        break;
      case Qt::Key_Right:
        move = FKeyStyles.contains(ksRight) && selLen == len;
        forward = true;
        break;
      case Qt::Key_Down:
        move = FKeyStyles.contains(ksDown);
        forward = true;
        break;
      default:
        break;
    }
    if (move) {
      e->accept();
      pcMoveFocus(this, forward);
      return;
    }
  }

  const QString before = text();
  QLineEdit::keyPressEvent(e);
  if (FKanaSw && hasFocus() && !FComposing && text() != before) {
    const QString typed = e->text();
    if (!typed.isEmpty() && typed.at(0).unicode() >= 32)
      FBuff += typed;
  }
}

void TxEdit::focusInEvent(QFocusEvent* e)
{
  QLineEdit::focusInEvent(e);
  switch (FCursorPos) {
    case cpAllSel:
      selectAll();
      break;
    case cpLeft:
      deselect();
      setCursorPosition(0);
      break;
    case cpRight:
      deselect();
      setCursorPosition(static_cast<int>(text().size()));
      break;
  }
  FBuff.clear();
  FLastPreedit.clear();
  FComposing = false;
}

void TxEdit::focusOutEvent(QFocusEvent* e)
{
  QLineEdit::focusOutEvent(e);
  FComposing = false;
}

void TxEdit::contextMenuEvent(QContextMenuEvent* e)
{
  if (pasteRefused()) {
    e->accept();
    return;
  }
  QLineEdit::contextMenuEvent(e);
}

void TxEdit::mousePressEvent(QMouseEvent* e)
{
  if (pasteRefused() && (e->button() == Qt::RightButton || e->button() == Qt::MiddleButton)) {
    e->accept();
    return;
  }
  QLineEdit::mousePressEvent(e);
}

void TxEdit::mouseReleaseEvent(QMouseEvent* e)
{
  // The middle button pastes the selection of the window system.
  if (pasteRefused() && (e->button() == Qt::RightButton || e->button() == Qt::MiddleButton)) {
    e->accept();
    return;
  }
  QLineEdit::mouseReleaseEvent(e);
}

void TxEdit::inputMethodEvent(QInputMethodEvent* e)
{
  const QString before = text();
  const QString preeditBefore = FLastPreedit;
  const bool commit = !e->commitString().isEmpty();
  FLastPreedit = e->preeditString();
  FComposing = !FLastPreedit.isEmpty();
  QLineEdit::inputMethodEvent(e);
  if (FKanaSw && hasFocus() && commit && text() != before && fnIsKanaOnly(preeditBefore))
    FBuff += preeditBefore;
}

bool TxEdit::event(QEvent* e)
{
  switch (e->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
      if (pasteRefused()) {
        e->ignore();
        return true;
      }
      break;
    default:
      break;
  }
  return QLineEdit::event(e);
}
