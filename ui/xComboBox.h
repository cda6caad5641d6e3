// The maker's combo box: the platform combo box plus the focus moves of the
// key styles, a look-up of an item by the code typed at the start of the
// text (KeyLen, KeyTerm), a minimum width of the dropped list and a Delete
// key that goes back to the first item. New controls are drop-down lists
// (no edit field); setEditable(true) gives the style with an edit field.
#pragma once

#include <QComboBox>

#include "ui/AbacorEditLib.h"

class TxComboBox : public QComboBox {
  Q_OBJECT
 public:
  explicit TxComboBox(QWidget* parent = nullptr);

  int DropDownWidth() const { return FDropDownWidth; }
  void setDropDownWidth(int value) { FDropDownWidth = value; }
  TKeyStyles KeyStyles() const { return FKeyStyles; }
  void setKeyStyles(TKeyStyles value) { FKeyStyles = value; }
  int KeyLen() const { return FKeyLen; }
  void setKeyLen(int value) { FKeyLen = value; }
  QString KeyTerm() const { return FKeyTerm; }
  void setKeyTerm(const QString& value) { FKeyTerm = value; }

  // The remembered item (-1: none).
  int St_ItemNum() const { return FStItemNum; }
  int ItemIndex() const { return currentIndex(); }
  // Selects the item; an item (0 or more) is also remembered.
  void setItemIndex(int value);

  void showPopup() override;
  void hidePopup() override;

  TKeyDownEvent OnKeyDown;

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  void lookUp(const QString& text);
  void selectRemembered();

  int FDropDownWidth = 0;
  TKeyStyles FKeyStyles = DefaultKeyStyles;
  int FKeyLen = 0;
  QString FKeyTerm = QStringLiteral(":");
  int FStItemNum = -1;
  bool FInLookUp = false;
};
