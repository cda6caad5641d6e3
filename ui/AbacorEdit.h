// The numeric edit: a single-line edit for amounts, numbers and short texts
// with a character filter by edit style, an output format with thousands
// separators (kept while typing when Comma is set), zero keys that insert
// "00" or "000", a minus key that changes the sign, a value range, limits in
// characters or bytes and the focus moves of the key styles.
//
// Tab and Shift+Tab move the focus through the key styles' one focus move
// (Tab is reported instead with acTabKey); Enter moves on with or without a
// modifier held. The focus rules run before the key-down handler, which
// sees only the keys they left. KillPaste with the input method disabled
// refuses paste from the keyboard (Ctrl+V, Shift+Insert), the middle button
// and the context menu. With a KanaMode, characters typed without the input
// method are added to the reading as they reach the text. Brush is the
// background the edit paints; Transparent paints none (the parent shows
// through).
#pragma once

#include <functional>

#include <QBrush>
#include <QLineEdit>

#include "ui/AbacorEditLib.h"

enum TEditStyle { esNone, esNumeric, esFloat, esNumericMinus, esFloatMinus };
enum TZeroKey { zkNone, zkDot, zkPlus, zkMinus, zkAsterisk, zkSlash };
enum TKanaMode { kmNone, kmZenkaku, kmHankaku };

class TAbacorEdit : public QLineEdit {
 public:
  explicit TAbacorEdit(QWidget* parent = nullptr);

  TEditStyle EditStyle() const { return FEditStyle; }
  void setEditStyle(TEditStyle v) { FEditStyle = v; }
  QString OutputFormat() const { return FOutputFormat; }
  void setOutputFormat(const QString& v) { FOutputFormat = v; }
  bool Comma() const { return FComma; }
  void setComma(bool v);
  TZeroKey Zero2Key() const { return FZero2Key; }
  void setZero2Key(TZeroKey v) { FZero2Key = v; }
  TZeroKey Zero3Key() const { return FZero3Key; }
  void setZero3Key(TZeroKey v) { FZero3Key = v; }
  bool AllowBlank() const { return FAllowBlank; }
  void setAllowBlank(bool v) { FAllowBlank = v; }
  bool EnterKeyNoBeep() const { return FEnterKeyNoBeep; }
  void setEnterKeyNoBeep(bool v) { FEnterKeyNoBeep = v; }
  int MaxLength() const { return FMaxLength; }
  void setMaxLength(int v);
  int MaxLengthB() const { return FMaxLengthB; }
  void setMaxLengthB(int v);
  double NumericMax() const { return FNumericMax; }
  void setNumericMax(double v) { FNumericMax = v; }
  double NumericMin() const { return FNumericMin; }
  void setNumericMin(double v) { FNumericMin = v; }
  TKeyStyles KeyStyles() const { return FKeyStyles; }
  void setKeyStyles(TKeyStyles v) { FKeyStyles = v; }
  TAutoNextCtls AutoNextCtls() const { return FAutoNextCtls; }
  void setAutoNextCtls(TAutoNextCtls v) { FAutoNextCtls = v; }
  TAutoNextCtls AutoNextCtls_Result() const { return FResult; }
  void ClearAutoNextCtls_Result() { FResult = {}; }
  bool KillPaste() const { return FKillPaste; }
  void setKillPaste(bool v) { FKillPaste = v; }
  bool ImeDisabled() const { return !testAttribute(Qt::WA_InputMethodEnabled); }
  void setImeDisabled(bool v) { setAttribute(Qt::WA_InputMethodEnabled, !v); }
  TKanaMode KanaMode() const { return FKanaMode; }
  void setKanaMode(TKanaMode v) { FKanaMode = v; }
  // The recorded reading (grows without a fixed limit; the owner empties it).
  QString Kana() const { return FKana; }
  void setKana(const QString& v) { FKana = v; }
  QString OldText() const { return FOldText; }
  bool ImeOnFlg() const { return FImeOnFlg; }
  // The background brush (a copy of the one given); its style is none while
  // Transparent is set and solid otherwise.
  QBrush Brush() const { return FBrush; }
  void setBrush(const QBrush& v);
  bool Transparent() const { return FTransparent; }
  void setTransparent(bool v);

  // The value of the text in a numeric style, else 0.
  double NumericValue() const;
  // The text formatted with OutputFormat (unchanged when it does not apply).
  QString fnFormatText(const QString& S) const;

  TKeyDownEvent OnKeyDown;
  // A composition of the input method has started or ended (ImeOnFlg).
  std::function<void()> OnImeStatusChange;
  // The mouse has entered the edit: modifiers, buttons held and the
  // position in the edit's coordinates.
  std::function<void(Qt::KeyboardModifiers, Qt::MouseButtons, QPoint)> OnMouseEnter;

 protected:
  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void enterEvent(QEnterEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  void inputMethodEvent(QInputMethodEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  bool isNumeric() const { return FEditStyle != esNone; }
  bool isFloat() const { return FEditStyle == esFloat || FEditStyle == esFloatMinus; }
  bool isMinus() const { return FEditStyle == esNumericMinus || FEditStyle == esFloatMinus; }
  bool allowed(QChar c) const;
  int measure(const QString& s) const;
  void insertText(QString S);
  void changed();
  void rangeCheck();
  void applyWindowLimit();
  void addKana(const QString& s);
  // The focus rules of a key going down; true when they consumed it.
  bool keyDownRules(QKeyEvent* e);
  // Hands a key to the edit's own handling; a typed character reaching the
  // text outside a composition is added to the reading.
  void passToEdit(QKeyEvent* e);
  void typedKana(QChar c);
  bool pasteRefused() const { return FKillPaste && ImeDisabled(); }
  void applyBrush();

  TEditStyle FEditStyle = esNone;
  QString FOutputFormat;
  bool FComma = false;
  TZeroKey FZero2Key = zkNone;
  TZeroKey FZero3Key = zkNone;
  bool FAllowBlank = false;
  bool FEnterKeyNoBeep = false;
  int FMaxLength = 0;
  int FMaxLengthB = 0;
  double FNumericMax = 0;
  double FNumericMin = 0;
  TKeyStyles FKeyStyles{ksEnter};
  TAutoNextCtls FAutoNextCtls;
  TAutoNextCtls FResult;
  bool FKillPaste = false;
  TKanaMode FKanaMode = kmNone;
  QString FKana;
  QString FOldText;
  bool FImeOnFlg = false;
  bool FCommaOut = false;
  bool FInChange = false;
  QBrush FBrush;
  bool FTransparent = false;
};
