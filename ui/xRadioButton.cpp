#include "ui/xRadioButton.h"

#include <QKeyEvent>

TxRadioButton::TxRadioButton(QWidget* parent) : QRadioButton(parent) {}

TxRadioButton::TxRadioButton(const QString& text, QWidget* parent) : QRadioButton(text, parent) {}

void TxRadioButton::setKeyStyles(TKeyStyles value)
{
  if (value == FKeyStyles)
    return;
  FKeyStyles = value;
}

void TxRadioButton::keyPressEvent(QKeyEvent* e)
{
  if (fnButtonKeyRules(this, FKeyStyles, e, OnKeyDown))
    return;
  QRadioButton::keyPressEvent(e);
}
