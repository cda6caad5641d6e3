// The print dialog shown before a list or form is printed: mono or colour
// printing (with the print colour dialog behind its button), the number of
// the first page and the margins for duplex printing; print (OK), preview,
// copy to the clipboard or cancel. Each area and the preview and copy
// buttons are the caller's choice.
//
// The caller fills a TDefaultPrintRec with InitDefRecord, names the printed
// form in it, sets the properties and DefaultPrintRec, sets Prepare, shows
// the form modally and, when the result is OK, acts on PrintResult with the
// record; then it frees the form. With UserColorUse the operator's colours
// and options of each printed form are kept in the system database and
// offered again the next time (common/PrintStyleStore.h).
//
// Descendants (the data-list print dialog) override the Prepare setter,
// SetDisplay, SetHintText and HozonFukugen and add option lines of their own
// to FOptionList.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include "common/AccRecord.h"  // TJxPrintModalResult
#include "common/PrintStyleStore.h"
#include "ui/SDI.h"

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QWidget;
class TxCheckBox;
class TxEdit;
class TxPlButton;
class TxRadioButton;

class TPrintDlgBox : public TBSDI {
  Q_OBJECT
 public:
  explicit TPrintDlgBox(QWidget* AParent = nullptr);
  ~TPrintDlgBox() override;

  // ---- settings (before Prepare)
  virtual void SetPrepare(bool AValue);
  int ProcType() const { return FProcType; }
  void SetProcType(int AValue) { FProcType = AValue; }
  bool UserColorUse() const { return FUserColorUse; }
  void SetUserColorUse(bool AValue) { FUserColorUse = AValue; }
  PDefaultPrintRec DefaultPrintRec() const { return FDefaultPrintRec; }
  void SetDefaultPrintRec(PDefaultPrintRec AValue) { FDefaultPrintRec = AValue; }
  QString WindowTitle() const { return FWindowTitle; }
  void SetWindowTitle(const QString& AValue) { FWindowTitle = AValue; }
  QString MainCaption() const { return FMainCaption; }
  void SetMainCaption(const QString& AValue) { FMainCaption = AValue; }
  QColor MainCaptionColor() const { return FMainCaptionColor; }
  void SetMainCaptionColor(const QColor& AValue) { FMainCaptionColor = AValue; }
  QString MainHint() const { return FMainHint; }
  void SetMainHint(const QString& AValue) { FMainHint = AValue; }
  bool ColorArea() const { return FColorArea; }
  void SetColorArea(bool AValue) { FColorArea = AValue; }
  bool StartPageArea() const { return FStartPageArea; }
  void SetStartPageArea(bool AValue) { FStartPageArea = AValue; }
  bool BothArea() const { return FBothArea; }
  void SetBothArea(bool AValue) { FBothArea = AValue; }
  bool PreviewButton() const { return FPreviewButton; }
  void SetPreviewButton(bool AValue) { FPreviewButton = AValue; }
  bool CopyButton() const { return FCopyButton; }
  void SetCopyButton(bool AValue) { FCopyButton = AValue; }

  // The button that closed the dialog: print, preview or copy (none after
  // Cancel).
  TJxPrintModalResult PrintResult() const { return FPrintResult; }

  // ---- operations
  virtual void SetDisplay();
  virtual void SetHintText();
  // "Hozon" saves the options into the record, "Fukugen" restores them
  // (without regard to case); other texts do nothing.
  virtual void HozonFukugen(const QString& AText);
  void InitDefRecord(TDefaultPrintRec& APrintRec);
  // The stored colours and options of the form into the record (with
  // UserColorUse and a form name only).
  void GetStyleColorRec();
  // The record's colours and options stored for the operator and form; True
  // when nothing had to be written, False after a write was attempted.
  bool PutStyleColorRec();
  void SetOKButtonToF12();

  // The start page typed: 1 when it is not a whole number of at least 1.
  static int fnStartPageOf(const QString& AText);

  // ---- controls (tests and descendants)
  QLabel* lblMain = nullptr;
  QLabel* lblColor = nullptr;
  QGroupBox* grpColor = nullptr;
  TxRadioButton* btnMono = nullptr;
  TxRadioButton* btnColor = nullptr;
  TxPlButton* btnColorSet = nullptr;
  QLabel* lblStartPage = nullptr;
  TxEdit* txtStartPage = nullptr;
  TxCheckBox* chkBoth = nullptr;
  QWidget* pnlBottom = nullptr;
  QPlainTextEdit* HintArea = nullptr;
  TxPlButton* btnPreview = nullptr;
  TxPlButton* btnCopy = nullptr;
  TxPlButton* btnOK = nullptr;
  TxPlButton* btnCancel = nullptr;

  // OK, preview and copy (ASender one of the three buttons).
  virtual void btnOKClick(TxPlButton* ASender);
  void btnColorSetClick();

 protected:
  void FormShow() override;
  void FormClose() override;
  bool event(QEvent* AEvent) override;
  void resizeEvent(QResizeEvent* AEvent) override;

  // The record the dialog works on: the caller's, or its own when the
  // caller gave none.
  TDefaultPrintRec& record();

  // The options text as a list of name=value lines.
  QStringList FOptionList;

 private:
  bool FPrepare = false;
  int FProcType = 0;
  bool FUserColorUse = false;
  PDefaultPrintRec FDefaultPrintRec = nullptr;
  TDefaultPrintRec FOwnRec;
  QString FWindowTitle;
  QString FMainCaption;
  QColor FMainCaptionColor;
  QString FMainHint;
  bool FColorArea = false;
  bool FStartPageArea = false;
  bool FBothArea = false;
  bool FPreviewButton = false;
  bool FCopyButton = false;
  TJxPrintModalResult FPrintResult = jxprNone;
};
