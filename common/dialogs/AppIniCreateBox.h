// The data-server settings dialog "データサーバーの設定": edits the connection
// section of the local settings file (common/AppIniCreate.h does the file
// work) — the data server's computer name and the place of the system
// database.
//
// Drive letters stand for the configured mount points (platform/Paths.h):
// the drive combo lists the local disk's label and the labels of the mount
// points; the chosen label's folder (the file-system root for the local disk)
// followed by the server data folder becomes the system-database folder.
// "参照" lists the hosts of the mount points' shares; with none configured
// the button is disabled and its hint says so.
//
// pcInstallAppIniCreateBoxHook() makes it the logon dialog's "サーバー設定".
#pragma once

#include <QString>

#include "common/AppIniCreate.h"
#include "ui/SDI.h"

class QComboBox;
class QGroupBox;
class QLabel;
class TxEdit;
class TxPlButton;

class TAppIniCreateBox : public TBSDI {
  Q_OBJECT
 public:
  explicit TAppIniCreateBox(QWidget* AParent = nullptr);

  // The file work (see TAppIniCreate).
  bool MakeLocalIniFile(int AInit) { return FIni.MakeLocalIniFile(AInit); }
  int GetDataBaseInfoIniFile(int AConType) { return FIni.GetDataBaseInfoIniFile(AConType); }
  int GetDataBaseInfo(int AConType) { return FIni.GetDataBaseInfo(AConType); }
  void SetConStateIniFile(int AValue) { FIni.SetConStateIniFile(AValue); }
  int GetConStateIniFile() const { return FIni.GetConStateIniFile(); }

  // 0 normal, 1 server-based installation (switches the access form and
  // the settings file's place, see TAppIniCreate::SetSyoriType).
  int SyoriType() const { return FIni.SyoriType(); }
  void SetSyoriType(int AValue) { FIni.SetSyoriType(AValue); }
  // Connection section read when the dialog shows (0 LOCAL, 1 SERVER,
  // 2 SBC); 1 after creation.
  int ConType() const { return FIni.ConType(); }
  void SetConType(int AValue) { FIni.SetConType(AValue); }
  // The text of the failed start check of a server-based installation.
  QString ErrorMessage() const { return FErrorMessage; }

  // Shows the dialog modally. With SyoriType 1 and no application-data
  // folder it throws EPlatformError (ErrorMessage()) without showing.
  int Execute();

  // Drive combo items: "X:" labels in order, the local disk's included.
  static QStringList fnDriveItems();
  // The folder a drive label stands for ("/" for the local disk).
  static QString fnDriveRoot(const QString& ADrive);
  // The drive label of a stored system-database folder: its "X:" when it
  // is written with a drive letter, else the label of its mount point.
  static QString fnDriveOfPath(const QString& APath);

  // The form's controls.
  TxEdit* HostEdit() const { return txtHostName; }
  TxPlButton* CompShowButton() const { return btnCompShow; }
  QComboBox* DriveCombo() const { return cmbDrive; }
  TxEdit* DataPathEdit() const { return txtDataPath; }
  TxEdit* UserEdit() const { return txtUserName; }
  TxEdit* PasswordEdit() const { return txtPassWord; }
  TxPlButton* OkButton() const { return btnOK; }
  TxPlButton* CancelButton() const { return btnCancel; }

  // The OK handler (as the OK button and F12 run it).
  void OKClick();

 protected:
  void showEvent(QShowEvent* AEvent) override;

 private:
  bool CheckStart();
  void CompShowClick();
  void error(const QString& AText);

  TAppIniCreate FIni;
  QString FErrorMessage;
  bool FStartFailed = false;

  QWidget* pnlHeader = nullptr;
  QLabel* imgIcon = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QGroupBox* grpServer = nullptr;
  QLabel* lblHostName = nullptr;
  TxEdit* txtHostName = nullptr;
  TxPlButton* btnCompShow = nullptr;
  QLabel* lblDataPath = nullptr;
  QComboBox* cmbDrive = nullptr;
  TxEdit* txtDataPath = nullptr;
  QLabel* lblUserName = nullptr;
  TxEdit* txtUserName = nullptr;
  QLabel* lblPassWord = nullptr;
  TxEdit* txtPassWord = nullptr;
  TxPlButton* btnOK = nullptr;
  TxPlButton* btnCancel = nullptr;
};

// Installs the dialog as the logon dialog's server-settings action: it shows
// a TAppIniCreateBox modally over the logon dialog and frees it afterwards.
void pcInstallAppIniCreateBoxHook();
