// The framework's message dialog with a main caption in a colour of the
// caller's choice, a scrolling read-only list of further lines and an
// optional agreement check box; OK and Cancel panel buttons.
//
// Kinds (ProcType): 0 OK and Cancel; 1 a single "OK" button; 2 and 3 show
// the agreement box, and with 2 the OK button works only while it is ticked.
#pragma once

#include <QDialog>
#include <QStringList>

#include "common/MessageHook.h"
#include "platform/Color.h"

class QLabel;
class QPlainTextEdit;
class TxCheckBox;
class TxPlButton;

// Where the dialog appears.
enum TMessageBoxPosition { poDesigned, poScreenCenter, poOwnerFormCenter };

struct TMessageInfoRec {
  int MessageType = 0;  // becomes ProcType
  TMessageBoxPosition WindowPosition = poOwnerFormCenter;
  QString WindowTitle;
  QString MainCaption;
  TColor MainCaptionColor = 255;  // red
  QStringList MessageCaption;
  QString AgreeCaption;
};

// Resets a request: no kind, empty title and caption in red, no lines, no
// agreement caption, centred on the owner form.
void pcInitMessageInfoRec(TMessageInfoRec& Info);

// Shows the request modally and returns the modal result. The agreement
// state is not returned.
int fnShowMessageBox(TMessageInfoRec& Info);

class TMessageBox : public QDialog {
  Q_OBJECT
 public:
  explicit TMessageBox(QWidget* parent = nullptr);

  void setPrepare(bool value);
  void setProcType(int value) { FProcType = value; }
  void setWindowTitleText(const QString& value) { FWindowTitle = value; }
  void setMainCaption(const QString& value) { FMainCaption = value; }
  void setMainCaptionColor(TColor value) { FMainCaptionColor = value; }
  void setAgreeCaption(const QString& value) { FAgreeCaption = value; }
  void setMessageCaption(const QStringList& value) { FMessageCaption = value; }
  bool AgreeCheck() const { return FAgreeCheck; }
  void setAgreeCheck(bool value);
  TMsgDlgBtn BtnFocus() const { return FBtnFocus; }
  void setBtnFocus(TMsgDlgBtn value) { FBtnFocus = value; }
  void setWindowPosition(TMessageBoxPosition value) { FPosition = value; }

  // The form's controls.
  QLabel* MainLabel() const { return lblMain; }
  QPlainTextEdit* MessageArea() const { return FMessageArea; }
  TxCheckBox* AgreeBox() const { return cboxAgree; }
  TxPlButton* OKButton() const { return btnOK; }
  TxPlButton* CancelButton() const { return btnCancel; }

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void showEvent(QShowEvent* e) override;

 public slots:
  void reject() override;

 private:
  void layoutForm(int clientHeight);

  bool FPrepare = false;
  int FProcType = 0;
  QString FWindowTitle;
  QString FMainCaption;
  TColor FMainCaptionColor = 0;
  QStringList FMessageCaption;
  bool FAgree = false;
  QString FAgreeCaption;
  bool FAgreeCheck = false;
  int FWidth = 504;
  int FHeight = 293;
  TMsgDlgBtn FBtnFocus = mbCancel;
  TMessageBoxPosition FPosition = poOwnerFormCenter;

  QWidget* pnlClient = nullptr;
  QWidget* pnlBottom = nullptr;
  QLabel* lblMain = nullptr;
  QPlainTextEdit* FMessageArea = nullptr;
  TxCheckBox* cboxAgree = nullptr;
  TxPlButton* btnOK = nullptr;
  TxPlButton* btnCancel = nullptr;
};
