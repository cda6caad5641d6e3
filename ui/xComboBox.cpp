#include "ui/xComboBox.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

TxComboBox::TxComboBox(QWidget* parent) : QComboBox(parent)
{
  setEditable(false);
  setInsertPolicy(QComboBox::NoInsert);
  connect(this, &QComboBox::editTextChanged, this, [this](const QString& t) {
    if (!FInLookUp)
      lookUp(t);
  });
}

void TxComboBox::setItemIndex(int value)
{
  setCurrentIndex(value);
  if (value >= 0)
    FStItemNum = value;
}

void TxComboBox::lookUp(const QString& text)
{
  // The platform's own completion would fight the look-up.
  if (completer())
    setCompleter(nullptr);
  if (FKeyLen <= 0)
    return;
  int n = FKeyLen;
  const int term = FKeyTerm.isEmpty() ? -1 : int(text.indexOf(FKeyTerm));
  if (term >= 0 && term < FKeyLen)
    n = term;
  const QString code = text.left(n).trimmed();
  if (code.isEmpty())
    return;
  const ushort first = text.isEmpty() ? 0 : text.at(0).unicode();
  if ((first >= 0x81 && first <= 0x9F) || (first >= 0xE0 && first <= 0xFC)) {
    FStItemNum = currentIndex();
    return;
  }
  const int count = this->count();
  const int start = qMax(0, currentIndex());
  for (int k = 0; k < count; ++k) {
    const int i = (start + k) % count;
    if (itemText(i).startsWith(code, Qt::CaseInsensitive)) {
      FStItemNum = i;
      return;
    }
  }
  FInLookUp = true;
  setCurrentIndex(-1);
  if (isEditable() && lineEdit()) {
    lineEdit()->setText(code);
    lineEdit()->setCursorPosition(int(code.size()));
    lineEdit()->deselect();
  }
  FInLookUp = false;
}

void TxComboBox::selectRemembered()
{
  FInLookUp = true;
  setCurrentIndex(FStItemNum);
  if (FStItemNum >= 0 && FStItemNum < count() && isEditable())
    setEditText(itemText(FStItemNum));
  FInLookUp = false;
}

void TxComboBox::showPopup()
{
  QComboBox::showPopup();
  if (view())
    view()->setMinimumWidth(FDropDownWidth);
}

void TxComboBox::hidePopup()
{
  if (FKeyLen > 0) {
    FInLookUp = true;
    if (currentIndex() < 0 && FStItemNum >= 0)
      setCurrentIndex(FStItemNum);
    else if (FStItemNum >= 0 && FStItemNum < count() && isEditable())
      setEditText(itemText(FStItemNum));
    FInLookUp = false;
  }
  QComboBox::hidePopup();
}

void TxComboBox::focusInEvent(QFocusEvent* e)
{
  FStItemNum = currentIndex();
  QComboBox::focusInEvent(e);
}

void TxComboBox::focusOutEvent(QFocusEvent* e)
{
  if (FKeyLen > 0)
    selectRemembered();
  QComboBox::focusOutEvent(e);
}

void TxComboBox::changeEvent(QEvent* e)
{
  if (e->type() == QEvent::FontChange && isEditable() && lineEdit()) {
    // Keep the caret and the selection over a font change.
    const bool focused = hasFocus();
    const int start = focused ? int(lineEdit()->selectionStart()) : 0;
    const int length = focused ? int(lineEdit()->selectedText().size()) : 0;
    const int caret = lineEdit()->cursorPosition();
    QComboBox::changeEvent(e);
    if (start >= 0 && length > 0)
      lineEdit()->setSelection(start, length);
    else if (focused)
      lineEdit()->setCursorPosition(caret);
    update();
    return;
  }
  QComboBox::changeEvent(e);
  update();
}

void TxComboBox::keyPressEvent(QKeyEvent* e)
{
  const bool dropped = view() && view()->isVisible();
  if (e->key() == Qt::Key_Delete) {
    const bool atStart =
        !isEditable() || !lineEdit() || lineEdit()->cursorPosition() == 0 || lineEdit()->text().isEmpty();
    if (dropped || atStart) {
      if (count() > 0) {
        FInLookUp = true;
        setCurrentIndex(0);
        FInLookUp = false;
        FStItemNum = 0;
      }
      e->accept();
      return;
    }
  }
  if (!dropped) {
    // The key-down handler runs first; the focus rules then look at the key
    // as it arrived, so a handler that consumes an arrow or Enter does not
    // stop the move (it only keeps the key from the list).
    int key = e->key();
    if (OnKeyDown)
      OnKeyDown(key, e->modifiers());
    const auto style = fnKeyStyleOf(e->key());
    if (style && FKeyStyles.contains(*style) && fnNoModifier(e->modifiers())) {
      const bool forward = *style == ksEnter || *style == ksRight || *style == ksDown;
      pcMoveFocus(this, forward);
      e->accept();
      return;
    }
    if (key == 0) {
      e->accept();
      return;
    }
  }
  QComboBox::keyPressEvent(e);
}
