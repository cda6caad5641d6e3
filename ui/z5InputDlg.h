// The general one-value input dialog: text, password, choice, amount or a
// date range. The caller sets the properties, sets Prepare, shows the form
// modally and reads InputText (or the dates) when the result is OK; it may
// prepare and show it again and frees it itself.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include "platform/DateTime.h"
#include "ui/SDI.h"

class TxComboBox;
class QLabel;
class QPlainTextEdit;
class QWidget;
class TAbacorExDateEdit;
class TAbacorEdit;
class TxCheckBox;
class TxEdit;
class TxPlButton;

// IME modes of an input.
enum TImeMode {
  imDisable,
  imClose,
  imOpen,
  imDontCare,
  imSAlpha,
  imAlpha,
  imHira,
  imSKata,
  imKata,
  imChinese,
  imSHanguel,
  imHanguel
};

class TInputDlgBox : public TBSDI {
  Q_OBJECT
 public:
  explicit TInputDlgBox(QWidget* AParent = nullptr);
  ~TInputDlgBox() override;

  // ---- write-only settings
  void SetPrepare(bool AValue);
  void SetProcType(int AValue) { FProcType = AValue; }
  void SetWindowTitle(const QString& AValue) { FWindowTitle = AValue; }
  void SetMainCaption(const QString& AValue) { FMainCaption = AValue; }
  void SetMainCaptionColor(const QColor& AValue) { FMainCaptionColor = AValue; }
  void SetInputHint(const QString& AValue) { FInputHint = AValue; }
  void SetInputMaxLength(int AValue) { FInputMaxLength = AValue; }
  void SetInputImeMode(TImeMode AValue) { FInputImeMode = AValue; }
  void SetInputCheck(bool AValue) { FInputCheck = AValue; }
  void SetInputType(int AValue) { FInputType = AValue; }
  void SetComboItems(const QStringList& AValue) { FComboItems = AValue; }
  void SetKingakuTani(int AValue);
  // One forbidden word per line.
  void SetKinsiWords(const QString& AValue);

  // ---- read and write
  QString InputText() const { return FInputText; }
  void SetInputText(const QString& AValue) { FInputText = AValue; }
  TDateTime InputDate1() const { return FInputDate1; }
  void SetInputDate1(TDateTime AValue) { FInputDate1 = AValue; }
  TDateTime MinDate1() const { return FMinDate1; }
  void SetMinDate1(TDateTime AValue) { FMinDate1 = AValue; }
  TDateTime MaxDate1() const { return FMaxDate1; }
  void SetMaxDate1(TDateTime AValue) { FMaxDate1 = AValue; }
  TDateTime InputDate2() const { return FInputDate2; }
  void SetInputDate2(TDateTime AValue) { FInputDate2 = AValue; }
  TDateTime MinDate2() const { return FMinDate2; }
  void SetMinDate2(TDateTime AValue) { FMinDate2 = AValue; }
  TDateTime MaxDate2() const { return FMaxDate2; }
  void SetMaxDate2(TDateTime AValue) { FMaxDate2 = AValue; }
  QString KinsiWordsMessage() const { return FKinsiWordsMessage; }
  void SetKinsiWordsMessage(const QString& AValue) { FKinsiWordsMessage = AValue; }

  // Whether the key filter of InputType lets the character through.
  static bool fnInputTypeAccepts(int AInputType, QChar AKey);

  // The controls (tests and callers that need to reach them).
  QLabel* lblMain = nullptr;
  QWidget* pnlText = nullptr;
  TxEdit* txtInput = nullptr;
  TxCheckBox* btnFuseji = nullptr;
  QWidget* pnlCombo = nullptr;
  TxComboBox* cmbInput = nullptr;
  QWidget* pnlKingaku = nullptr;
  TAbacorEdit* txtKingaku = nullptr;
  QLabel* lblKingakuTani = nullptr;
  QWidget* pnlDate = nullptr;
  TAbacorExDateEdit* txtHizuke1 = nullptr;
  TAbacorExDateEdit* txtHizuke2 = nullptr;
  QPlainTextEdit* HintArea = nullptr;
  TxPlButton* F1 = nullptr;
  TxPlButton* btnOK = nullptr;
  TxPlButton* btnCancel = nullptr;

  void btnOKClick();

 protected:
  void FormShow() override;
  void FormClose() override;
  bool eventFilter(QObject* AWatched, QEvent* AEvent) override;

 private:
  void applyFuseji();
  void showInfo(const QString& AText);

  bool FPrepare = false;
  int FProcType = 0;
  QString FWindowTitle;
  QString FMainCaption;
  QColor FMainCaptionColor;
  QString FInputText;
  TDateTime FInputDate1 = 0, FMinDate1 = 0, FMaxDate1 = 0;
  TDateTime FInputDate2 = 0, FMinDate2 = 0, FMaxDate2 = 0;
  QString FInputHint;
  int FInputMaxLength = 0;
  TImeMode FInputImeMode = imDontCare;
  bool FInputCheck = false;
  int FInputType = 0;
  QStringList FComboItems;
  int FKingakuTani = 0;
  QStringList FKinsiWords;
  QString FKinsiWordsMessage;
};
