// The computer picker of the data-server settings: the data servers this
// computer knows are the hosts of the configured mount points that carry a
// share name ("\\host\share", platform/Paths.h). Linux has no browsable
// network neighbourhood, so the list is what the installation configured.
#pragma once

#include <QString>
#include <QStringList>

#include "ui/SDI.h"

class QLabel;
class QListWidget;
class TxPlButton;

// Distinct host names of the configured mount points' shares, in the order
// of the mount points (case-insensitively distinct; first spelling kept).
QStringList fnMountPointHosts();

class TSelectComputerBox : public TBSDI {
  Q_OBJECT
 public:
  explicit TSelectComputerBox(QWidget* AParent = nullptr);

  void SetPrompt(const QString& AText);
  void SetHosts(const QStringList& AHosts, const QString& ASelected);
  QString Selected() const;

  QListWidget* HostList() const { return lstHosts; }
  TxPlButton* OkButton() const { return btnOK; }
  TxPlButton* CancelButton() const { return btnCancel; }

 private:
  void OkClick();

  QLabel* lblPrompt = nullptr;
  QListWidget* lstHosts = nullptr;
  TxPlButton* btnOK = nullptr;
  TxPlButton* btnCancel = nullptr;
};

// Shows the picker over fnMountPointHosts() with ATitle as its prompt
// ("コンピュータを選択して下さい" when empty) and AName pre-selected. True with
// AName set to the chosen host; false on Cancel (AName unchanged).
bool fnSelectComputer(const QString& ATitle, QString& AName, QWidget* AParent = nullptr);
