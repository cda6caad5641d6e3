// The numeric edit: a single-line edit for amounts, numbers and short texts
// with a character filter by edit style, an output format with thousands
// separators (kept while typing when Comma is set), zero keys that insert
// "00" or "000", a minus key that changes the sign, a value range, limits in
// characters or bytes and the focus moves of the key styles.
#pragma once

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

  // The value of the text in a numeric style, else 0.
  double NumericValue() const;
  // The text formatted with OutputFormat (unchanged when it does not apply).
  QString fnFormatText(const QString& S) const;

  TKeyDownEvent OnKeyDown;

 protected:
  void keyPressEvent(QKeyEvent* e) override;
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
};
