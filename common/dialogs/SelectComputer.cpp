#include "common/dialogs/SelectComputer.h"

#include <QLabel>
#include <QListWidget>

#include "platform/Paths.h"
#include "ui/ModalResult.h"
#include "ui/xPlButton.h"

QStringList fnMountPointHosts()
{
  QStringList hosts;
  for (const MountPoint& m : MountPoints()) {
    QString share = m.share;
    share.replace(QLatin1Char('/'), QLatin1Char('\\'));
    if (!share.startsWith(QStringLiteral("\\\\")))
      continue;
    const QString host = share.mid(2).section(QLatin1Char('\\'), 0, 0).trimmed();
    if (host.isEmpty() || hosts.contains(host, Qt::CaseInsensitive))
      continue;
    hosts << host;
  }
  return hosts;
}

TSelectComputerBox::TSelectComputerBox(QWidget* AParent) : TBSDI(AParent, bsDialog)
{
  setObjectName(QStringLiteral("SelectComputerBox"));
  setWindowTitle(QStringLiteral(u"コンピュータの参照"));
  setFixedSize(360, 300);

  lblPrompt = new QLabel(this);
  lblPrompt->setWordWrap(true);
  lblPrompt->setGeometry(12, 8, 336, 48);
  lblPrompt->setText(QStringLiteral(u"コンピュータを選択して下さい"));

  lstHosts = new QListWidget(this);
  lstHosts->setObjectName(QStringLiteral("lstHosts"));
  lstHosts->setGeometry(12, 60, 336, 190);
  connect(lstHosts, &QListWidget::itemDoubleClicked, this, [this] { OkClick(); });

  btnOK = fnNewPlButton(this, QStringLiteral("btnOK"), QStringLiteral("OK"), QRect(184, 262, 78, 28));
  connect(btnOK, &TxPlButton::clicked, this, [this] { OkClick(); });

  btnCancel = fnNewCancelPlButton(this, QRect(270, 262, 78, 28));

  FormCreate();
  MenuMin = false;
  MultiShow = false;
  FormSize = false;
  Zoom = false;
  Child_OKButton = btnOK;
  InitFlg = true;
}

void TSelectComputerBox::SetPrompt(const QString& AText)
{
  lblPrompt->setText(AText);
}

void TSelectComputerBox::SetHosts(const QStringList& AHosts, const QString& ASelected)
{
  lstHosts->clear();
  lstHosts->addItems(AHosts);
  for (int i = 0; i < lstHosts->count(); ++i)
    if (lstHosts->item(i)->text().compare(ASelected, Qt::CaseInsensitive) == 0)
      lstHosts->setCurrentRow(i);
  btnOK->setEnabled(lstHosts->count() > 0);
}

QString TSelectComputerBox::Selected() const
{
  const QListWidgetItem* item = lstHosts->currentItem();
  return item ? item->text() : QString();
}

void TSelectComputerBox::OkClick()
{
  // A choice without a name is no choice: the picker stays open.
  if (Selected().isEmpty())
    return;
  done(mrOk);
}

bool fnSelectComputer(const QString& ATitle, QString& AName, QWidget* AParent)
{
  TSelectComputerBox box(AParent);
  box.SetManualFree(true);
  box.SetPrompt(ATitle.isEmpty() ? QStringLiteral(u"コンピュータを選択して下さい") : ATitle);
  box.SetHosts(fnMountPointHosts(), AName);
  if (box.exec() != mrOk)
    return false;
  AName = box.Selected();
  return true;
}
