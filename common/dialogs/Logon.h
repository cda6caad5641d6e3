// The logon dialog: asks for the operator code and password, lets the
// operator choose between data on this computer and data on a database
// server, connects the system database through the data module, has the
// system database check the logon (and record it), and fills the operator
// fields of the system definition.
//
// Two further forms: the system-user logon (ProcType 2: the fixed system
// user, no password) and, for SystemKind 2 and 3, the password confirmation
// of a fixed system login code, with the password change dialog.
#pragma once

#include <functional>
#include <memory>

#include <QDialog>

#include "common/AppIniCreate.h"

class QGroupBox;
class QLabel;
class TUpPasswordBox;
class TxEdit;
class TxPlButton;
class TxRadioButton;

namespace db {
class DbError;
}

// Shows the data-server settings dialog; installed by the module that owns
// that dialog. Without it the "サーバー設定" button does nothing.
using TServerSettingsHook = std::function<void(QWidget* parent)>;
void pcSetServerSettingsHook(TServerSettingsHook hook);

class TLogonBox : public QDialog {
  Q_OBJECT
 public:
  explicit TLogonBox(QWidget* parent = nullptr);
  ~TLogonBox() override;

  bool InitFlg() const { return FInitFlg; }
  void setInitFlg(bool value) { FInitFlg = value; }
  void setProcType(int value);
  int OpCode() const { return FOpCode; }
  void setOpCode(int value) { FOpCode = value; }
  int OpPassword() const { return FOpPassword; }
  void setOpPassword(int value) { FOpPassword = value; }

  // Fixes the connection choice: non-zero selects the server, zero this
  // computer; the other choice is disabled.
  void FixAppType(int AAppType);

  // The form's controls.
  TxEdit* OpCodeEdit() const { return txtOpCode; }
  TxEdit* PasswordEdit() const { return txtPassword; }
  TxEdit* GroupEdit() const { return txtGroupID; }
  TxRadioButton* StandAloneButton() const { return btnSA; }
  TxRadioButton* ServerButton() const { return btnCS; }
  TxPlButton* ServerSettingsButton() const { return btnServerSettei; }
  TxPlButton* UpPasswordButton() const { return btnUpPassword; }
  TxPlButton* OkButton() const { return OKBtn; }
  TxPlButton* CancelButton() const { return CancelBtn; }
  QLabel* HeaderImage() const { return Image1; }
  QLabel* AltHeaderImage() const { return Image2; }
  // The password confirmation confirms an accounting-office user.
  bool AO_User() const { return FAO_User; }

  // Runs the OK handler of the current form (as the OK button does).
  void RunOk();

 protected:
  void showEvent(QShowEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 public slots:
  void reject() override;

 private:
  enum class TOkHandler { OperatorLogon, SystemUserLogon, PasswordLogon };

  int GetConType() const;
  bool ShowConnectError();
  void OperatorLogonClick();
  void SystemUserLogon();
  void PasswordLogonClick();
  bool GetEntryPassword(int ALoginCode, QString& APassword);
  bool UpdatePassword(int ALoginCode, const QString& ANewPassword);
  void UpPasswordClick();
  void RadioClick();
  void AO_UserKey();
  bool CheckServerSettings();
  void SetServerTemp();
  void error(const QString& text);
  int scaled(int v) const;

  bool FInitFlg = false;
  int FProcType = 0;
  bool FGroup = false;
  std::unique_ptr<TAppIniCreate> FAppIniCreateBox;
  QString FNowPassword;
  bool FPasswordEntry = true;
  TUpPasswordBox* FUpPasswordBox = nullptr;
  bool FAO_User = false;
  int FSystemLoginCode = 0;
  int FOpCode = 0;
  int FOpPassword = 0;
  TOkHandler FOkHandler = TOkHandler::OperatorLogon;

  QWidget* pnlHeader = nullptr;
  QLabel* Image1 = nullptr;
  QLabel* Image2 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QGroupBox* grpCode = nullptr;
  QLabel* lblGroup = nullptr;
  QLabel* lblCode = nullptr;
  QLabel* lblPassword = nullptr;
  TxEdit* txtOpCode = nullptr;
  TxEdit* txtPassword = nullptr;
  TxEdit* txtGroupID = nullptr;
  QGroupBox* grpConnect = nullptr;
  TxRadioButton* btnSA = nullptr;
  TxRadioButton* btnCS = nullptr;
  TxPlButton* btnServerSettei = nullptr;
  TxPlButton* btnUpPassword = nullptr;
  QWidget* pnlLower = nullptr;
  TxPlButton* OKBtn = nullptr;
  TxPlButton* CancelBtn = nullptr;
};
