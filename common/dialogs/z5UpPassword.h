// Password change dialog: asks for a new password twice and, when one is
// already stored, for the current one first. It only checks the input;
// storing the password is the caller's job.
#pragma once

#include <QDialog>

class QLabel;
class TxEdit;
class TxPlButton;

class TUpPasswordBox : public QDialog {
  Q_OBJECT
 public:
  explicit TUpPasswordBox(QWidget* parent = nullptr);

  // The stored password, empty when none exists. Setting it lays out the
  // form (change or first setting) and empties the fields.
  void setNowPassword(const QString& value);
  // The accepted new password (after OK).
  QString NewPassword() const { return FNewPassword; }

  // The form's fields and buttons.
  TxEdit* PasswordNow() const { return txtPasswordNow; }
  TxEdit* PasswordNew1() const { return txtPasswordNew1; }
  TxEdit* PasswordNew2() const { return txtPasswordNew2; }
  TxPlButton* OkButton() const { return btnOk; }
  TxPlButton* CancelButton() const { return btnCancel; }
  QLabel* HeaderLabel() const { return Label1; }

  // True for the characters a password may hold: digits and the letters
  // A to Z and a to z.
  static bool fnPasswordChar(QChar c);

 protected:
  void showEvent(QShowEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 public slots:
  void reject() override;

 private:
  void btnOkClick();
  int scaled(int v) const;

  bool FPasswordEntry = false;
  QString FNowPassword;
  QString FNewPassword;

  QLabel* Label1 = nullptr;
  QLabel* lblNow = nullptr;
  QLabel* lblNew1 = nullptr;
  QLabel* lblNew2 = nullptr;
  TxEdit* txtPasswordNow = nullptr;
  TxEdit* txtPasswordNew1 = nullptr;
  TxEdit* txtPasswordNew2 = nullptr;
  TxPlButton* btnOk = nullptr;
  TxPlButton* btnCancel = nullptr;
};
