// The maker's radio button: the platform control plus the focus moves of
// the key styles (Enter and the arrows whose style is set move the focus;
// the others keep the platform's handling).
#pragma once

#include <QRadioButton>

#include "ui/AbacorEditLib.h"

class TxRadioButton : public QRadioButton {
  Q_OBJECT
 public:
  explicit TxRadioButton(QWidget* parent = nullptr);
  TxRadioButton(const QString& text, QWidget* parent = nullptr);

  TKeyStyles KeyStyles() const { return FKeyStyles; }
  void setKeyStyles(TKeyStyles value);

  // Runs before the focus rules; setting Key to 0 consumes the key for the
  // control but does not stop a focus move, which looks at the key as it
  // arrived.
  TKeyDownEvent OnKeyDown;

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  TKeyStyles FKeyStyles = DefaultKeyStyles;
};
