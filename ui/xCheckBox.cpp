#include "ui/xCheckBox.h"

#include <QKeyEvent>

TxCheckBox::TxCheckBox(QWidget* parent) : QCheckBox(parent) {}

TxCheckBox::TxCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) {}

void TxCheckBox::setKeyStyles(TKeyStyles value)
{
  if (value == FKeyStyles)
    return;
  FKeyStyles = value;
}

void TxCheckBox::keyPressEvent(QKeyEvent* e)
{
  if (fnButtonKeyRules(this, FKeyStyles, e, OnKeyDown))
    return;
  QCheckBox::keyPressEvent(e);
}
