#include "common/dialogs/AppIniCreateBox.h"

#include <algorithm>

#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QStyle>
#include <QTimer>

#include "common/AccRecord.h"
#include "common/dialogs/Logon.h"
#include "common/dialogs/SelectComputer.h"
#include "platform/Exceptions.h"
#include "platform/Paths.h"
#include "ui/ModalResult.h"
#include "ui/xEdit.h"
#include "ui/xPlButton.h"
#include "ui/z5MessageDlg2.h"

namespace {

const QString kCompShowHint = QStringLiteral(u"ネットワークに接続されているコンピュータを表示します。");
const QString kNoHostsHint =
    QStringLiteral(u"参照できるコンピュータが設定されていません。コンピュータ名を入力して下さい。");

}  // namespace

// ---------------------------------------------------------------- drives

QStringList TAppIniCreateBox::fnDriveItems()
{
  QList<QChar> labels{LocalDiskLabel().toUpper()};
  for (const MountPoint& m : MountPoints()) {
    const QChar l = m.label.toUpper();
    if (l >= QLatin1Char('C') && l <= QLatin1Char('Z') && !labels.contains(l))
      labels << l;
  }
  std::sort(labels.begin(), labels.end());
  QStringList items;
  for (QChar l : labels)
    items << QString(l) + QLatin1Char(':');
  return items;
}

QString TAppIniCreateBox::fnDriveRoot(const QString& ADrive)
{
  const QChar label = ADrive.isEmpty() ? LocalDiskLabel() : ADrive.at(0).toUpper();
  if (label != LocalDiskLabel().toUpper())
    for (const MountPoint& m : MountPoints())
      if (m.label.toUpper() == label)
        return m.path;
  return QStringLiteral("/");
}

QString TAppIniCreateBox::fnDriveOfPath(const QString& APath)
{
  if (APath.size() >= 2 && APath.at(1) == QLatin1Char(':') && APath.at(0).isLetter())
    return APath.left(2).toUpper();
  return DriveOf(APath).toUpper();
}

// ---------------------------------------------------------------- creation

TAppIniCreateBox::TAppIniCreateBox(QWidget* AParent) : TBSDI(AParent, bsDialog)
{
  InitFlg = false;
  setObjectName(QStringLiteral("AppIniCreateBox"));
  setWindowTitle(QStringLiteral(u"データサーバーの設定"));
  setFixedSize(506, 233);

  pnlHeader = new QWidget(this);
  pnlHeader->setObjectName(QStringLiteral("pnlHeader"));
  pnlHeader->setGeometry(0, 0, 506, 56);
  pnlHeader->setAutoFillBackground(true);
  QPalette hp = pnlHeader->palette();
  hp.setColor(QPalette::Window, Qt::white);
  pnlHeader->setPalette(hp);
  imgIcon = new QLabel(pnlHeader);
  imgIcon->setPixmap(style()->standardIcon(QStyle::SP_DriveNetIcon).pixmap(32, 32));
  imgIcon->setGeometry(14, 12, 32, 32);
  Label1 = new QLabel(pnlHeader);
  Label1->setGeometry(60, 10, 430, 18);
  Label2 = new QLabel(pnlHeader);
  Label2->setGeometry(60, 30, 430, 18);

  grpServer = new QGroupBox(QStringLiteral(u"データサーバー"), this);
  grpServer->setGeometry(8, 62, 490, 120);

  lblHostName = new QLabel(QStringLiteral(u"コンピュータ名:"), grpServer);
  lblHostName->setGeometry(16, 28, 110, 18);
  txtHostName = new TxEdit(grpServer);
  txtHostName->setObjectName(QStringLiteral("txtHostName"));
  txtHostName->setToolTip(QStringLiteral(u"接続先のコンピューター名またはIPアドレスを入力して下さい。"));
  txtHostName->setImeDisabled(true);
  txtHostName->setGeometry(130, 24, 250, 24);
  btnCompShow = new TxPlButton(grpServer);
  btnCompShow->setObjectName(QStringLiteral("btnCompShow"));
  btnCompShow->CaptionA().setCaption(QStringLiteral(u"参照"));
  btnCompShow->setGradEndColor(QColor(182, 182, 182));
  btnCompShow->setGeometry(390, 23, 84, 26);
  connect(btnCompShow, &TxPlButton::clicked, this, [this] { CompShowClick(); });

  lblDataPath = new QLabel(QStringLiteral(u"データの場所:"), grpServer);
  lblDataPath->setGeometry(16, 66, 110, 18);
  cmbDrive = new QComboBox(grpServer);
  cmbDrive->setObjectName(QStringLiteral("cmbDrive"));
  cmbDrive->setToolTip(QStringLiteral(u"データを置いてあるドライブを選択して下さい。"));
  cmbDrive->setGeometry(130, 62, 60, 24);
  txtDataPath = new TxEdit(grpServer);
  txtDataPath->setObjectName(QStringLiteral("txtDataPath"));
  txtDataPath->setToolTip(QStringLiteral(u"データパス名を入力して下さい。"));
  txtDataPath->setReadOnly(true);
  txtDataPath->setGeometry(196, 62, 278, 24);

  // The database user and password are the installation's; they travel
  // with the settings but are not shown.
  lblUserName = new QLabel(QStringLiteral(u"データベースのユーザー:"), grpServer);
  lblUserName->hide();
  txtUserName = new TxEdit(grpServer);
  txtUserName->setObjectName(QStringLiteral("txtUserName"));
  txtUserName->setToolTip(QStringLiteral(u"データベースのユーザ名を入力"));
  txtUserName->setImeDisabled(true);
  txtUserName->hide();
  lblPassWord = new QLabel(QStringLiteral(u"データベースのパスワード:"), grpServer);
  lblPassWord->hide();
  txtPassWord = new TxEdit(grpServer);
  txtPassWord->setObjectName(QStringLiteral("txtPassWord"));
  txtPassWord->setToolTip(QStringLiteral(u"データベースのパスワードを入力"));
  txtPassWord->setEchoMode(QLineEdit::Password);
  txtPassWord->setImeDisabled(true);
  txtPassWord->hide();

  btnOK = fnNewPlButton(this, QStringLiteral("btnOK"), QStringLiteral("OK"), QRect(318, 194, 84, 28));
  connect(btnOK, &TxPlButton::clicked, this, [this] { OKClick(); });
  btnCancel = fnNewCancelPlButton(this, QRect(410, 194, 84, 28));
  connect(btnCancel, &TxPlButton::clicked, this, [this] {
    if (SyoriType() == 1)
      close();
  });

  FormCreate();
  MenuMin = false;
  MultiShow = false;
  FormSize = false;
  Zoom = false;
  Child_OKButton = btnOK;

  Label1->setText(QStringLiteral(u"データサーバーを利用するための設定を行います。"));
  Label2->setText(QStringLiteral(u"データサーバーの情報を入力して下さい。"));
  txtDataPath->setEnabled(false);
  txtUserName->setEnabled(false);
  txtPassWord->setEnabled(false);
  txtDataPath->setText(AppInfo.ServerDir);
  txtUserName->setText(SystemDef.IBUSER);
  txtPassWord->setText(SystemDef.PASWORD);
  cmbDrive->addItems(fnDriveItems());

  if (fnMountPointHosts().isEmpty()) {
    btnCompShow->setEnabled(false);
    btnCompShow->setToolTip(kNoHostsHint);
  } else {
    btnCompShow->setToolTip(kCompShowHint);
  }
  InitFlg = true;
}

// ---------------------------------------------------------------- showing

bool TAppIniCreateBox::CheckStart()
{
  FErrorMessage.clear();
  if (SyoriType() != 1)
    return true;
  if (SystemDef.APPDATA.isEmpty()) {
    FErrorMessage = QStringLiteral(
                        u"アプリケーションの初期化に失敗しました。\r%1を終了します。\r"
                        u"データフォルダの取得に失敗しました。")
                        .arg(SystemDef.AppName);
    return false;
  }
  if (!QFileInfo::exists(SystemDef.APPINI))
    MakeLocalIniFile(0);
  return true;
}

int TAppIniCreateBox::Execute()
{
  if (!CheckStart())
    throw EPlatformError(FErrorMessage);
  FStartFailed = false;
  return exec();
}

void TAppIniCreateBox::showEvent(QShowEvent* AEvent)
{
  // Shown without Execute(): a failed start check is reported and the
  // dialog closes again as cancelled.
  FStartFailed = !CheckStart();
  if (FStartFailed) {
    TBSDI::showEvent(AEvent);
    QPointer<TAppIniCreateBox> self(this);
    QTimer::singleShot(0, this, [self] {
      if (!self)
        return;
      self->error(self->FErrorMessage);
      if (self)
        self->done(mrCancel);
    });
    return;
  }
  GetDataBaseInfoIniFile(ConType());
  txtHostName->setText(SystemDef.SERVERNAME);
  const int drive = cmbDrive->findText(fnDriveOfPath(SystemDef.IBPATHDEF));
  if (drive >= 0)
    cmbDrive->setCurrentIndex(drive);
  else
    cmbDrive->setCurrentIndex(std::max(0, cmbDrive->findText(QString(LocalDiskLabel().toUpper()) + QLatin1Char(':'))));
  txtUserName->setText(SystemDef.IBUSER);
  txtPassWord->setText(SystemDef.PASWORD);
  TBSDI::showEvent(AEvent);
}

// ---------------------------------------------------------------- buttons

void TAppIniCreateBox::error(const QString& AText)
{
  TMessage2InfoRec info;
  pcInitMessage2InfoRec(1, info);
  info.Caption[0].Text = AText;
  fnShowMessageBox2(info);
}

void TAppIniCreateBox::CompShowClick()
{
  QString name = txtHostName->text().trimmed();
  if (fnSelectComputer(
          QStringLiteral(u"サーバーのコンピュータを選択して下さい。サーバーのコンピュータがリストに無い場合は、"
                         u"[ｷｬﾝｾﾙ]を押してコンピュータ名を入力して下さい。"),
          name, this))
    txtHostName->setText(name);
}

void TAppIniCreateBox::OKClick()
{
  pcSetFormModalResult(this, mrNone);
  SystemDef.SERVERNAME = txtHostName->text().toLower();
  // The folder is opened exactly as written: the file system tells case.
  SystemDef.IBPATHDEF = PathJoin(fnDriveRoot(cmbDrive->currentText()), txtDataPath->text());
  SystemDef.IBUSER = txtUserName->text().toUpper();
  SystemDef.PASWORD = txtPassWord->text().toLower();
  SystemDef.GOGLOBAL = false;
  SystemDef.GROUP = false;
  SystemDef.ANONYMOUS = false;
  SystemDef.PLURALDB = false;

  switch (AppType) {
    case jxatSA:
      SystemDef.SERVERNAME.clear();
      break;
    case jxatCS:
      if (txtHostName->text().trimmed().isEmpty()) {
        error(QStringLiteral(u"コンピュータ名が指定されていません。\r入力してください。"));
        return;
      }
      break;
    case jxatSBC:
      SystemDef.GOGLOBAL = true;
      if (txtHostName->text().trimmed().isEmpty()) {
        error(QStringLiteral(u"コンピュータ名が指定されていません。\r"));
        return;
      }
      break;
  }
  if (txtUserName->text().trimmed().isEmpty()) {
    error(QStringLiteral(u"データベースのユーザーが指定されていません。\r入力してください。"));
    return;
  }
  if (txtPassWord->text().isEmpty()) {
    error(QStringLiteral(u"データベースのパスワードが指定されていません。\r入力してください。"));
    return;
  }
  MakeLocalIniFile(0);
  done(mrOk);
}

// ---------------------------------------------------------------- hook

void pcInstallAppIniCreateBoxHook()
{
  pcSetServerSettingsHook([](QWidget* parent) {
    TAppIniCreateBox box(parent);
    box.SetManualFree(true);
    box.Execute();
  });
}
