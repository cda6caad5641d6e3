#include "ui/xGridEditors.h"

#include <algorithm>

#include <QLineEdit>

#include "platform/Format.h"
#include "ui/AbacorEdit.h"
#include "ui/xComboBox.h"
#include "ui/xEdit.h"

namespace {

const QString kEmptyRefused = QStringLiteral("値を入力してください。");

bool isNumber(const QVariant& A)
{
  switch (A.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
      return true;
    default:
      return false;
  }
}

bool isWhole(const QVariant& A)
{
  switch (A.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
      return true;
    default:
      return false;
  }
}

bool sameValue(const QVariant& A, const QVariant& B)
{
  if (!A.isValid() || !B.isValid())
    return A.isValid() == B.isValid();
  if (A.typeId() == B.typeId())
    return A == B;
  if (isNumber(A) && isNumber(B))
    return A.toDouble() == B.toDouble();
  return A.toString() == B.toString();
}

bool isEmptyCell(const QVariant& AValue)
{
  return !AValue.isValid() || AValue.isNull() || (AValue.typeId() == QMetaType::QString && AValue.toString().isEmpty());
}

// The cell's value as an amount (only for a value that is not empty).
Currency amountOfCell(const QVariant& AValue)
{
  if (AValue.metaType() == QMetaType::fromType<Currency>())
    return AValue.value<Currency>();
  if (isWhole(AValue))
    return Currency::fromInt(AValue.toLongLong());
  if (AValue.typeId() == QMetaType::Double)
    return Currency::fromDouble(AValue.toDouble());
  Currency c;
  fnCxAmountOf(AValue.toString(), c);
  return c;
}

QChar blankOf(const QString& AEditMask)
{
  const QStringList parts = AEditMask.split(QLatin1Char(';'));
  return parts.size() > 2 && !parts[2].isEmpty() ? parts[2].at(0) : QLatin1Char('_');
}

// The masked edit; without auto-select the caret stands at the start when
// the editor opens (the view selects an editor's text before focusing it).
class TMaskEditor : public QLineEdit {
 public:
  TMaskEditor(bool AAutoSelect, QWidget* AParent) : QLineEdit(AParent), FAutoSelect(AAutoSelect) {}

 protected:
  void focusInEvent(QFocusEvent* AEvent) override
  {
    QLineEdit::focusInEvent(AEvent);
    if (!FAutoSelect) {
      deselect();
      setCursorPosition(0);
    }
  }

 private:
  bool FAutoSelect;
};

void applyIme(QWidget* AEditor, TcxImeMode AMode)
{
  if (AMode == TcxImeMode::Off)
    AEditor->setAttribute(Qt::WA_InputMethodEnabled, false);
  else if (AMode == TcxImeMode::Hiragana)
    AEditor->setAttribute(Qt::WA_InputMethodEnabled, true);
}

// Runs the item's check on a display value; false when it leaves its error.
bool validate(const TcxEditProperties& AProps, QString& AText, QString& AErrorText)
{
  if (!AProps.OnValidate)
    return true;
  QVariant display(AText);
  bool error = false;
  AProps.OnValidate(display, AErrorText, error);
  if (error)
    return false;
  AText = display.toString();
  return true;
}

}  // namespace

bool fnCxAmountOf(const QString& AText, Currency& AValue)
{
  QString t = AText;
  t.remove(QLatin1Char(','));
  t = t.trimmed();
  if (t.isEmpty())
    return false;
  // A text that cannot be read (a lone sign) counts as 0, as in the edit.
  AValue = Currency::tryFromString(t).value_or(Currency());
  return true;
}

QString fnCxQtInputMask(const QString& AEditMask)
{
  const QString mask = AEditMask.split(QLatin1Char(';')).value(0);
  static const QString qtSpecial = QStringLiteral("AaNnXx90Dd#HhBb><![]{}\\");
  QString out;
  for (qsizetype i = 0; i < mask.size(); ++i) {
    const QChar c = mask.at(i);
    switch (c.unicode()) {
      case '!':  // leading blanks for optional characters: Qt keeps blanks in place
        continue;
      case '\\':
        if (i + 1 < mask.size()) {
          const QChar lit = mask.at(++i);
          if (qtSpecial.contains(lit))
            out += QLatin1Char('\\');
          out += lit;
        }
        continue;
      case '<':
        if (i + 1 < mask.size() && mask.at(i + 1) == QLatin1Char('>')) {
          out += QLatin1Char('!');
          ++i;
        } else {
          out += c;
        }
        continue;
      case '>':
        out += c;
        continue;
      case '0':
        out += QLatin1Char('9');  // a digit required
        continue;
      case '9':
        out += QLatin1Char('0');  // a digit or a blank
        continue;
      case '#':
        out += QLatin1Char('#');
        continue;
      case 'L':
        out += QLatin1Char('A');
        continue;
      case 'l':
        out += QLatin1Char('a');
        continue;
      case 'A':
        out += QLatin1Char('N');
        continue;
      case 'a':
        out += QLatin1Char('n');
        continue;
      case 'C':
        out += QLatin1Char('X');
        continue;
      case 'c':
        out += QLatin1Char('x');
        continue;
      case '_':
        out += QLatin1Char(' ');
        continue;
      default:
        if (qtSpecial.contains(c))
          out += QLatin1Char('\\');
        out += c;
    }
  }
  return out + QLatin1Char(';') + blankOf(AEditMask);
}

QWidget* fnCxCreateEditor(const TcxEditProperties& AProps, QWidget* AParent)
{
  if (AProps.ReadOnly)
    return nullptr;
  const Qt::Alignment align = AProps.AlignHorz | Qt::AlignVCenter;
  switch (AProps.Kind) {
    case TcxEditKind::Currency: {
      auto* e = new TAbacorEdit(AParent);
      const bool minus = AProps.MinValue < 0 || (AProps.MinValue == 0 && AProps.MaxValue == 0);
      if (AProps.DecimalPlaces > 0)
        e->setEditStyle(minus ? esFloatMinus : esFloat);
      else
        e->setEditStyle(minus ? esNumericMinus : esNumeric);
      e->setOutputFormat(AProps.EditFormat);
      e->setAllowBlank(true);
      e->setNumericMax(AProps.MaxValue);
      e->setNumericMin(AProps.MinValue);
      e->setMaxLength(AProps.EffectiveMaxLength());
      e->setKeyStyles({});
      e->setAlignment(align);
      e->setFrame(false);
      e->setImeDisabled(true);
      return e;
    }
    case TcxEditKind::Text: {
      auto* e = new TxEdit(AParent);
      e->setMaxLength(AProps.EffectiveMaxLength());
      e->setKeyStyles({});
      e->setAlignment(align);
      e->setFrame(false);
      applyIme(e, AProps.ImeMode);
      return e;
    }
    case TcxEditKind::MaskEdit: {
      auto* e = new TMaskEditor(AProps.AutoSelect, AParent);
      e->setInputMask(fnCxQtInputMask(AProps.EditMask));
      e->setAlignment(align);
      e->setFrame(false);
      applyIme(e, AProps.ImeMode);
      return e;
    }
    case TcxEditKind::ComboBox: {
      auto* c = new TxComboBox(AParent);
      c->addItems(AProps.EffectiveComboItems());
      c->setKeyStyles({});
      applyIme(c, AProps.ImeMode);
      return c;
    }
    default:
      return nullptr;
  }
}

void pcCxSetEditorValue(QWidget* AEditor, const TcxEditProperties& AProps, const QVariant& AValue)
{
  switch (AProps.Kind) {
    case TcxEditKind::Currency: {
      auto* e = static_cast<TAbacorEdit*>(AEditor);
      QString text;
      if (!isEmptyCell(AValue)) {
        const Currency c = amountOfCell(AValue);
        text = AProps.EditFormat.isEmpty() ? c.toString() : FormatFloat(AProps.EditFormat, c);
      }
      e->setText(text);
      e->selectAll();
      break;
    }
    case TcxEditKind::Text: {
      auto* e = static_cast<TxEdit*>(AEditor);
      e->setText(AValue.toString());
      e->selectAll();
      break;
    }
    case TcxEditKind::MaskEdit: {
      auto* e = static_cast<QLineEdit*>(AEditor);
      e->setText(AValue.toString());
      if (AProps.AutoSelect)
        e->selectAll();
      else
        e->setCursorPosition(0);
      break;
    }
    case TcxEditKind::ComboBox: {
      auto* c = static_cast<TxComboBox*>(AEditor);
      c->setItemIndex(c->findText(AValue.toString()));
      break;
    }
    default:
      break;
  }
}

bool fnCxEditorValue(QWidget* AEditor, const TcxEditProperties& AProps, const QVariant& AOldValue, QVariant& AValue,
                     QString& AErrorText)
{
  AErrorText.clear();
  switch (AProps.Kind) {
    case TcxEditKind::Currency: {
      QString text = static_cast<TAbacorEdit*>(AEditor)->text();
      if (!validate(AProps, text, AErrorText))
        return false;
      Currency c;
      if (!fnCxAmountOf(text, c)) {
        if (AProps.Nullable) {
          AValue = QVariant();
          return true;
        }
        c = Currency();
      }
      c = c.roundedTo(std::clamp(AProps.DecimalPlaces, 0, 4), Currency::Round::HalfAwayFromZero);
      if (AProps.MinValue != 0 || AProps.MaxValue != 0) {
        const Currency lo = Currency::fromDouble(AProps.MinValue);
        const Currency hi = Currency::fromDouble(AProps.MaxValue);
        c = std::clamp(c, std::min(lo, hi), std::max(lo, hi));
      }
      // The cell keeps the type of its value.
      if (isWhole(AOldValue))
        AValue = QVariant(c.toUnits(Currency::Round::HalfAwayFromZero));
      else if (AOldValue.typeId() == QMetaType::Double)
        AValue = QVariant(c.toDouble());
      else
        AValue = QVariant::fromValue(c);
      return true;
    }
    case TcxEditKind::Text: {
      QString text = static_cast<TxEdit*>(AEditor)->text();
      if (!validate(AProps, text, AErrorText))
        return false;
      if (!AProps.AllowEmpty && text.trimmed().isEmpty()) {
        AErrorText = kEmptyRefused;
        return false;
      }
      AValue = text;
      return true;
    }
    case TcxEditKind::MaskEdit: {
      // The text as shown, literals kept, blanks as spaces.
      QString text = static_cast<QLineEdit*>(AEditor)->displayText();
      text.replace(blankOf(AProps.EditMask), QLatin1Char(' '));
      if (!validate(AProps, text, AErrorText))
        return false;
      AValue = text;
      return true;
    }
    case TcxEditKind::ComboBox: {
      auto* c = static_cast<TxComboBox*>(AEditor);
      QString text = c->currentIndex() >= 0 ? c->currentText() : QString();
      if (!validate(AProps, text, AErrorText))
        return false;
      AValue = text;
      return true;
    }
    default:
      AValue = AOldValue;
      return false;
  }
}

QString fnCxDisplayText(const TcxEditProperties& AProps, const QVariant& AValue, const QString& AModelText)
{
  if (AProps.Kind != TcxEditKind::Currency || AProps.DisplayFormat.isEmpty())
    return AModelText;
  if (isEmptyCell(AValue))
    return AProps.Nullable ? QString() : AProps.NullString;
  return FormatFloat(AProps.DisplayFormat, amountOfCell(AValue));
}

bool fnCxToggleCheck(const TcxEditProperties& AProps, const QVariant& AValue, QVariant& ANewValue)
{
  if (AProps.Kind != TcxEditKind::CheckBox || AProps.ReadOnly)
    return false;
  ANewValue = sameValue(AValue, AProps.ValueChecked) ? AProps.ValueUnchecked : AProps.ValueChecked;
  return true;
}
