// The maker's single-line text edit: the platform edit plus the focus moves
// of the key styles, typed access to the text as an amount or an integer, a
// choice of caret placement on entry, a length limit in bytes, refusal of
// paste and the context menu, and the reading (kana) of what is typed.
//
// The reading: the Windows input method reports the katakana reading of
// every converted text; the Linux input methods do not. Here the reading is
// taken only from what is certain: characters typed without the input method,
// and an input-method composition whose last preedit text was kana alone (the
// reading before conversion). Text converted to kanji adds nothing.
#pragma once

#include <QLineEdit>

#include "platform/Currency.h"
#include "ui/AbacorEditLib.h"

enum TCursorPos { cpAllSel, cpLeft, cpRight };

class TxEdit : public QLineEdit {
  Q_OBJECT
 public:
  enum TBorderStyle { bsNone, bsSingle };

  explicit TxEdit(QWidget* parent = nullptr);

  TKeyStyles KeyStyles() const { return FKeyStyles; }
  void setKeyStyles(TKeyStyles value);
  TBorderStyle KeyEdit3D() const { return FKeyEdit3D; }
  void setKeyEdit3D(TBorderStyle value);
  TCursorPos CursorPos() const { return FCursorPos; }
  void setCursorPos(TCursorPos value) { FCursorPos = value; }
  bool KillPaste() const { return FKillPaste; }
  void setKillPaste(bool value) { FKillPaste = value; }
  bool KanaSw() const { return FKanaSw; }
  void setKanaSw(bool value) { FKanaSw = value; }

  // Character limit (0 = none); lifted while a byte limit is set.
  int MaxLength() const { return FMaxLength; }
  void setMaxLength(int value);
  // Length limit in bytes (0 = none): printable ASCII and half-width
  // katakana count 1, every other character 2. It holds for every change
  // the operator makes: typing, pasting and input-method commits.
  int MaxLengthB() const { return FMaxLengthB; }
  void setMaxLengthB(int value);

  // The input method may be switched off for the field (the default keeps
  // it on); with it off and KillPaste set, paste and the context menu are
  // refused.
  bool ImeDisabled() const { return !testAttribute(Qt::WA_InputMethodEnabled); }
  void setImeDisabled(bool value);

  // The text as an amount / integer: 0 when it is not one; writing 0
  // leaves the text unchanged.
  Currency Curr() const;
  void setCurr(Currency value);
  int Long() const;
  void setLong(int value);

  // The reading recorded during the current visit, in half-width katakana.
  QString kana();
  // Replaces the recorded reading; an empty value changes nothing.
  void setKana(const QString& value);

  // The byte count the limit uses.
  static int fnByteCount(const QString& s);
  // Hiragana and half-width katakana to full-width katakana.
  static QString fnToFullKatakana(const QString& s);
  // Full-width katakana, letters, digits and signs to their half-width forms.
  static QString fnToHalfWidth(const QString& s);
  // True when the text is made of kana (and the long-vowel mark) alone.
  static bool fnIsKanaOnly(const QString& s);

  TKeyDownEvent OnKeyDown;

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void inputMethodEvent(QInputMethodEvent* e) override;
  bool event(QEvent* e) override;

 private:
  bool pasteRefused() const { return FKillPaste && ImeDisabled(); }
  void applyLimits();

  TKeyStyles FKeyStyles = DefaultKeyStyles;
  TBorderStyle FKeyEdit3D = bsNone;
  TCursorPos FCursorPos = cpAllSel;
  bool FKillPaste = true;
  bool FKanaSw = false;
  int FMaxLength = 0;
  int FMaxLengthB = 0;
  QString FBuff;
  QString FLastPreedit;
  bool FComposing = false;
};
