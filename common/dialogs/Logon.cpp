#include "common/dialogs/Logon.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QRegularExpressionValidator>
#include <QShortcut>
#include <QStyle>

#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "common/FbError.h"
#include "common/IBErrorText.h"
#include "common/LogonStore.h"
#include "common/MessageHook.h"
#include "common/dialogs/z5UpPassword.h"
#include "db/DbError.h"
#include "db/Transaction.h"
#include "platform/Paths.h"
#include "ui/ModalResult.h"
#include "ui/xEdit.h"
#include "ui/xPlButton.h"
#include "ui/xRadioButton.h"

namespace {

TServerSettingsHook& serverSettingsHook()
{
  static TServerSettingsHook h;
  return h;
}

const QString kCodeOrPassword =
    QStringLiteral(u"コードまたはパスワードが違います。\r正しいコードまたはパスワードを入力して下さい。");
const QString kIniFailed = QStringLiteral(u"iniファイルよりデータベース情報の取得に失敗しました。");
const QString kAlreadyLoggedOn =
    QStringLiteral(u"指定したユーザーは既にシステムへログインしているため、ログインできませんでした。");
const QString kSystemDbFailed =
    QStringLiteral(u"システムデータベースの接続処理に失敗しました。\riniファイルの情報が正しいか確認してください。");

constexpr int kSystemUserCode = 9999;
// The version the operator logon gives the logon procedure; the password
// confirmation gives the program's major version.
constexpr int kOperatorLogonVersion = 2;

// Removes the logon record the procedure wrote, for a logon that did not
// come about; otherwise the operator would be refused as already logged on.
void forgetLogon(int ALoginCode)
{
  if (!TLogonStore(DM->IBDatabaseDEF).ForgetLogon(SystemDef.GROUPID, ALoginCode, SystemDef.PCNAME))
    qWarning("The logon record of operator %d could not be removed.", ALoginCode);
}

}  // namespace

void pcSetServerSettingsHook(TServerSettingsHook hook)
{
  serverSettingsHook() = std::move(hook);
}

TLogonBox::TLogonBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
  setWindowTitle(QStringLiteral(u"ログイン"));
  setFixedSize(scaled(378), scaled(300));

  pnlHeader = new QWidget(this);
  pnlHeader->setGeometry(0, 0, scaled(378), scaled(64));
  pnlHeader->setAutoFillBackground(true);
  QPalette hp = pnlHeader->palette();
  hp.setColor(QPalette::Window, Qt::white);
  pnlHeader->setPalette(hp);
  Image1 = new QLabel(pnlHeader);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setPixmap(style()->standardIcon(QStyle::SP_DialogOkButton).pixmap(scaled(32), scaled(32)));
  Image1->setGeometry(scaled(12), scaled(14), scaled(32), scaled(32));
  // The alternate icon: the password confirmation of an accounting-office
  // user (the maintenance key below).
  Image2 = new QLabel(pnlHeader);
  Image2->setObjectName(QStringLiteral("Image2"));
  Image2->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(scaled(32), scaled(32)));
  Image2->setGeometry(Image1->geometry());
  Image2->hide();
  Label1 = new QLabel(pnlHeader);
  Label1->setGeometry(scaled(56), scaled(8), scaled(316), scaled(18));
  Label2 = new QLabel(pnlHeader);
  Label2->setGeometry(scaled(56), scaled(26), scaled(316), scaled(18));
  Label3 = new QLabel(pnlHeader);
  Label3->setGeometry(scaled(56), scaled(44), scaled(316), scaled(18));

  pnlLower = new QWidget(this);
  pnlLower->setGeometry(0, scaled(64), scaled(378), scaled(236));

  grpCode = new QGroupBox(pnlLower);
  grpCode->setGeometry(scaled(8), scaled(4), scaled(362), scaled(92));
  auto makeEdit = [&](const char16_t* caption, int top, int maxLength, const char16_t* hint, QLabel*& label) {
    label = new QLabel(QString::fromUtf16(caption), grpCode);
    label->setGeometry(scaled(24), scaled(top + 4), scaled(100), scaled(18));
    auto* edit = new TxEdit(grpCode);
    edit->setGeometry(scaled(130), scaled(top), scaled(150), scaled(24));
    edit->setMaxLength(maxLength);
    edit->setImeDisabled(true);
    if (hint)
      edit->setToolTip(QString::fromUtf16(hint));
    return edit;
  };
  txtGroupID = makeEdit(u"グループ:", 8, 16, nullptr, lblGroup);
  txtGroupID->setObjectName(QStringLiteral("txtGroupID"));
  txtGroupID->setEchoMode(QLineEdit::Password);
  txtOpCode = makeEdit(u"コード:", 34, 9, u"オペレータコードを入力します。", lblCode);
  txtOpCode->setObjectName(QStringLiteral("txtOpCode"));
  txtPassword = makeEdit(u"パスワード:", 60, 16, u"パスワードを入力します。", lblPassword);
  txtPassword->setObjectName(QStringLiteral("txtPassword"));
  txtPassword->setEchoMode(QLineEdit::Password);
  txtPassword->installEventFilter(this);

  grpConnect = new QGroupBox(pnlLower);
  grpConnect->setGeometry(scaled(8), scaled(100), scaled(362), scaled(64));
  btnSA = new TxRadioButton(QStringLiteral(u"スタンドアロン"), grpConnect);
  btnSA->setObjectName(QStringLiteral("btnSA"));
  btnSA->setToolTip(QStringLiteral(u"このコンピュータで管理しているデータを処理します。"));
  btnSA->setGeometry(scaled(24), scaled(12), scaled(200), scaled(20));
  btnCS = new TxRadioButton(QStringLiteral(u"クライアント(C/S)"), grpConnect);
  btnCS->setObjectName(QStringLiteral("btnCS"));
  btnCS->setToolTip(QStringLiteral(u"ネットワークに接続して、サーバーで管理しているデータを処理します。"));
  btnCS->setGeometry(scaled(24), scaled(36), scaled(200), scaled(20));
  btnServerSettei = new TxPlButton(grpConnect);
  btnServerSettei->setObjectName(QStringLiteral("btnServerSettei"));
  btnServerSettei->CaptionA().setCaption(QStringLiteral(u"サーバー設定"));
  btnServerSettei->setToolTip(QStringLiteral(u"データサーバーの情報を設定します。"));
  btnServerSettei->setGradEndColor(QColor(182, 182, 182));
  btnServerSettei->setGeometry(scaled(240), scaled(32), scaled(110), scaled(26));
  connect(btnSA, &QAbstractButton::toggled, this, [this] { RadioClick(); });
  connect(btnCS, &QAbstractButton::toggled, this, [this] { RadioClick(); });
  connect(btnServerSettei, &TxPlButton::clicked, this, [this] {
    if (FAppIniCreateBox && FAppIniCreateBox->InitFlg() && serverSettingsHook())
      serverSettingsHook()(this);
  });

  // Maintenance key of the password confirmation (SystemKind 2): the
  // operator confirms as an accounting-office user.
  auto* aoUserKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F11), this);
  aoUserKey->setContext(Qt::WindowShortcut);
  connect(aoUserKey, &QShortcut::activated, this, [this] { AO_UserKey(); });

  btnUpPassword = new TxPlButton(pnlLower);
  btnUpPassword->setObjectName(QStringLiteral("btnUpPassword"));
  btnUpPassword->CaptionA().setCaption(QStringLiteral(u"パスワードを変更 "));
  btnUpPassword->setToolTip(QStringLiteral(u"パスワードを変更します。"));
  btnUpPassword->setGradEndColor(QColor(182, 182, 182));
  btnUpPassword->setGeometry(scaled(8), scaled(196), scaled(130), scaled(26));
  btnUpPassword->hide();
  connect(btnUpPassword, &TxPlButton::clicked, this, [this] { UpPasswordClick(); });

  OKBtn = new TxPlButton(pnlLower);
  OKBtn->setObjectName(QStringLiteral("OKBtn"));
  OKBtn->CaptionA().setCaption(QStringLiteral("OK"));
  OKBtn->setGradEndColor(QColor(182, 182, 182));
  OKBtn->setGeometry(scaled(184), scaled(196), scaled(90), scaled(26));
  connect(OKBtn, &TxPlButton::clicked, this, [this] { RunOk(); });
  CancelBtn = new TxPlButton(pnlLower);
  CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
  CancelBtn->CaptionA().setCaption(QStringLiteral(u"キャンセル"));
  CancelBtn->setModalResult(mrCancel);
  CancelBtn->setCancel(true);
  CancelBtn->setGradEndColor(QColor(182, 182, 182));
  CancelBtn->setGeometry(scaled(280), scaled(196), scaled(90), scaled(26));

  // Creation.
  FInitFlg = false;
  FProcType = 0;
  FGroup = false;
  FPasswordEntry = true;
  FNowPassword.clear();
  FAO_User = false;
  Label3->clear();
  if (SystemKind == 0) {
    FGroup = AppType == jxatSBC && SystemDef.GROUP;
    Label1->setText(QStringLiteral(u"%1 を利用するには").arg(SystemDef.AppName));
    if (FGroup) {
      Label2->setText(QStringLiteral(u"グループ、オペレータコードとパスワードを入力して下さい。"));
    } else {
      Label2->setText(QStringLiteral(u"オペレータコードとパスワードを入力して下さい。"));
      lblGroup->hide();
      txtGroupID->hide();
    }
    FAppIniCreateBox = std::make_unique<TAppIniCreate>();
    if (FAppIniCreateBox->GetConStateIniFile() == 0)
      btnSA->setChecked(true);
    else
      btnCS->setChecked(true);
    RadioClick();
    if (AppType == jxatSBC) {
      grpConnect->hide();
      btnSA->setChecked(true);
      setFixedSize(width(), static_cast<int>(0.7 * pnlLower->height()) + pnlHeader->height());
    }
    FOkHandler = TOkHandler::OperatorLogon;
  } else {
    FSystemLoginCode = SystemKind == 3 ? 2 : 1;
    setWindowTitle(QStringLiteral(u"パスワードの確認"));
    setFixedSize(width(), scaled(250));
    Label1->setText(QStringLiteral(u"%1 を利用するには").arg(SystemDef.AppName));
    Label2->setText(QStringLiteral(u"パスワードを入力して下さい。"));
    lblCode->hide();
    txtOpCode->hide();
    lblGroup->hide();
    txtGroupID->hide();
    grpConnect->hide();
    lblPassword->move(lblPassword->x(), scaled(42));
    txtPassword->move(txtPassword->x(), scaled(38));
    btnUpPassword->setVisible(SystemKind == 2 || SystemKind == 3);
    // The lower buttons follow the shorter form.
    for (TxPlButton* b : {btnUpPassword, OKBtn, CancelBtn})
      b->move(b->x(), height() - pnlHeader->height() - scaled(40));
    FAppIniCreateBox = std::make_unique<TAppIniCreate>();
    btnSA->setChecked(true);
    FAppIniCreateBox->GetDataBaseInfo(0);
    FOkHandler = TOkHandler::PasswordLogon;
  }
  FInitFlg = true;
}

TLogonBox::~TLogonBox() = default;

int TLogonBox::scaled(int v) const
{
  return v * logicalDpiY() / 96;
}

void TLogonBox::error(const QString& text)
{
  MessageHook().ShowMessageDlg(text, mtError, mbOK);
}

void TLogonBox::FixAppType(int AAppType)
{
  const bool server = AAppType != 0;
  btnSA->setEnabled(!server);
  btnCS->setEnabled(server);
  btnServerSettei->setEnabled(server);
  (server ? btnCS : btnSA)->setChecked(true);
}

void TLogonBox::setProcType(int value)
{
  if (value == FProcType)
    return;
  FProcType = value;
  setFixedSize(width(), scaled(300));
  grpCode->move(grpCode->x(), scaled(4));
  grpConnect->move(grpConnect->x(), scaled(100));
  grpCode->setVisible(true);
  grpConnect->setVisible(true);
  FOkHandler = SystemKind != 0 ? TOkHandler::PasswordLogon : TOkHandler::OperatorLogon;
  if (value == 2) {
    setFixedSize(width(), scaled(220));
    grpConnect->move(grpConnect->x(), grpCode->y());
    grpCode->setVisible(false);
    FOkHandler = TOkHandler::SystemUserLogon;
  }
  // The buttons stay at the bottom of the form.
  const int top = height() - pnlHeader->height() - scaled(40);
  for (TxPlButton* b : {btnUpPassword, OKBtn, CancelBtn})
    b->move(b->x(), top);
}

void TLogonBox::showEvent(QShowEvent* e)
{
  QDialog::showEvent(e);
  if (SystemKind == 2 || SystemKind == 3) {
    if (SystemDef.IBPATHDEF.isEmpty()) {
      error(QStringLiteral(u"設定ファイルからデータベース情報の取得に失敗しました。"));
      OKBtn->setEnabled(false);
      btnUpPassword->setEnabled(false);
      CancelBtn->setFocus();
      return;
    }
    FPasswordEntry = GetEntryPassword(FSystemLoginCode, FNowPassword);
    OKBtn->setEnabled(FPasswordEntry);
    if (!FPasswordEntry)
      UpPasswordClick();
  }
  auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
  txtOpCode->setValidator(digits);
  txtGroupID->setValidator(digits);
  btnServerSettei->setEnabled(btnCS->isChecked());
  if (FProcType == 2)
    OKBtn->setFocus();
  else if (SystemKind != 0)
    txtPassword->setFocus();
  else if (FGroup)
    txtGroupID->setFocus();
  else
    txtOpCode->setFocus();
  raise();
  activateWindow();
}

void TLogonBox::AO_UserKey()
{
  if (SystemKind != 2)
    return;
  FAO_User = true;
  Image1->hide();
  Image2->show();
}

void TLogonBox::RadioClick()
{
  if (AppType == jxatSBC)
    return;
  AppType = btnCS->isChecked() ? jxatCS : jxatSA;
  btnServerSettei->setEnabled(btnCS->isChecked());
}

int TLogonBox::GetConType() const
{
  if (AppType == jxatSBC)
    return 2;
  return btnCS->isChecked() ? 1 : 0;
}

bool TLogonBox::eventFilter(QObject* watched, QEvent* e)
{
  if (watched == txtPassword && e->type() == QEvent::KeyPress) {
    auto* ke = static_cast<QKeyEvent*>(e);
    if ((ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter) &&
        !(ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
      OKBtn->setFocus(Qt::TabFocusReason);
      return true;
    }
  }
  return QDialog::eventFilter(watched, e);
}

void TLogonBox::keyPressEvent(QKeyEvent* e)
{
  // The form's keys act on release; the dialog's own Enter and Esc
  // handling is not used (Esc reaches the cancel button).
  e->accept();
}

void TLogonBox::keyReleaseEvent(QKeyEvent* e)
{
  if (e->key() == Qt::Key_F12 && !e->isAutoRepeat()) {
    e->accept();
    if (OKBtn->isEnabled())
      RunOk();
    return;
  }
  QDialog::keyReleaseEvent(e);
}

void TLogonBox::reject()
{
  done(mrCancel);
}

void TLogonBox::RunOk()
{
  switch (FOkHandler) {
    case TOkHandler::OperatorLogon:
      OperatorLogonClick();
      break;
    case TOkHandler::SystemUserLogon:
      SystemUserLogon();
      break;
    case TOkHandler::PasswordLogon:
      PasswordLogonClick();
      break;
  }
  pcApplyModalResult(this);
}

bool TLogonBox::ShowConnectError()
{
  QStringList lines;
  try {
    DM->IBDatabaseDEF.disconnect();
    return DM->fnAccDefConnected(SystemDef.SERVERNAME, false);
  } catch (const db::DbError& e) {
    lines = QStringList{
        QStringLiteral(u"財務システムデータベースの接続処理に失敗しました。"), QStringLiteral(u"[例外内容]"),
        QStringLiteral(u"(IBXエラーコード:%1) %2").arg(e.gdscode()).arg(fnGetIBErrorText(e.gdscode(), e.sqlcode()))};
    if (e.gdscode() == db::DbError::IoError || e.gdscode() == db::DbError::NetworkError) {
      const QString first = QStringLiteral(u"ログイン処理に失敗しました。以下の理由が考えられます。");
      const QString firewall = QStringLiteral(
          u"Windowsファイヤーウォール(市販のセキュリティソフト含む)"
          u"が有効の場合は、このアプリケーションがサーバーと通信できる状態か確認して下さい。");
      const QString serverSettings =
          QStringLiteral(u"ログイン画面の[サーバー設定]ボタンを押して正しい情報が設定されているか確認して下さい。");
      const QString service = QStringLiteral(u"サーバー上でFireBirdサービスが起動しているか確認して下さい。");
      switch (AppType) {
        case jxatSA:
          if (FProcType == 1)
            lines = {first, QStringLiteral(u"１）財務アプリケーションがインストールされていない。"),
                     QStringLiteral(u"２）データファイルが見つからない。"),
                     QStringLiteral(u"３）別のプロセスがデータファイルを使用中。")};
          else
            lines = {first, QStringLiteral(u"１）データファイルが見つからない。"),
                     QStringLiteral(u"２）別のプロセスがデータファイルを使用中。")};
          break;
        case jxatCS:
          lines = {first, QStringLiteral(u"１）") + service, QStringLiteral(u"２）") + serverSettings,
                   QStringLiteral(u"３）") + firewall};
          break;
        case jxatSBC:
          lines = {first,
                   QStringLiteral(u"１）%1ソリューションが正常に動作しているか確認して下さい。")
                       .arg(AccSbcSolutionNames.value(SbcKind)),
                   QStringLiteral(u"２）") + service, QStringLiteral(u"３）") + serverSettings,
                   QStringLiteral(u"４）") + firewall};
          break;
      }
    }
  } catch (const std::exception& e) {
    lines = QStringList{QStringLiteral(u"財務システムデータベースの接続処理に失敗しました。"),
                        QStringLiteral(u"[例外内容]"), QString::fromUtf8(e.what())};
  }
  MessageHook().ShowMessageLines(2, lines);
  return false;
}

bool TLogonBox::CheckServerSettings()
{
  if (AppType != jxatCS && AppType != jxatSBC)
    return true;
  const QString hint = AppType == jxatCS
                           ? QStringLiteral(u"[サーバー設定]ボタンを押して正しい情報を入力して下さい。")
                           : QStringLiteral(u"[データサーバーの設定]を起動し正しい情報を入力して下さい。");
  if (SystemDef.SERVERNAME.isEmpty()) {
    error(QStringLiteral(u"データサーバーのコンピュータ名が設定されていません。\r") + hint);
    return false;
  }
  if (SystemDef.IBPATHDEF.isEmpty()) {
    error(QStringLiteral(u"データサーバー上のデータパスが設定されていません。\r") + hint);
    return false;
  }
  return true;
}

void TLogonBox::SetServerTemp()
{
  SystemDef.SERVER_TEMP.clear();
  if (AppType == jxatCS || AppType == jxatSBC)
    SystemDef.SERVER_TEMP = ExtractFileDrive(SystemDef.IBPATHDEF) + AccServerTempDir;
}

void TLogonBox::OperatorLogonClick()
{
  if (FAppIniCreateBox->GetDataBaseInfoIniFile(GetConType()) == 0) {
    error(kIniFailed);
    return;
  }
  bool ok = false;
  const int opCode = txtOpCode->text().trimmed().toInt(&ok);
  if (!ok || opCode < 10) {
    error(kCodeOrPassword);
    txtOpCode->setFocus();
    return;
  }
  if (!CheckServerSettings())
    return;
  if (!ShowConnectError())
    return;

  db::Transaction& tr = DM->IBTransactionDEF;
  int recordedCode = -1;  // login code of a logon the procedure recorded
  try {
    tr.startIfNeeded();
    SystemDef.OPCODE = 0;
    const TLogonAnswer answer = TLogonStore::LogonUserTest(tr, SystemDef.PCNAME, SystemDef.GROUPID, opCode,
                                                           kOperatorLogonVersion, txtPassword->text());
    const int num = answer.Num, loginCode = answer.LoginCode, jobLevel = answer.JobLevel;

    switch (num) {
      case -3:
        error(kAlreadyLoggedOn);
        return;
      case -1:
        error(kCodeOrPassword);
        txtOpCode->setFocus();
        return;
      case 0:
      case 1:
        break;
      default:
        error(QStringLiteral(u"ログインの確認で想定外の結果(%1)が返されました。\rログインできませんでした。").arg(num));
        return;
    }
    recordedCode = loginCode;

    pcSetFormModalResult(this, mrOk);
    SystemDef.OPCODE = SystemDef.GROUPID * 10000 + loginCode;
    TLogonStore store(DM->IBDatabaseDEF);
    TLogonOperator op;
    store.ReadOperator(SystemDef.GROUPID, loginCode, op);
    SystemDef.OPNAME = op.OpName;
    SystemDef.OPLevel = jobLevel;
    SystemDef.OPAccount = op.Jimusho;
    SystemDef.OPCODE2 = loginCode;
    store.ReadOperatorRights(SystemDef.GROUPID, loginCode, op);
    SystemDef.OPMyNumberAdm = op.MyNumberAdm;
    SystemDef.OPSyouninsya = op.Syouninsya;
    SetServerTemp();
    FAppIniCreateBox->SetConStateIniFile(GetConType());
  } catch (const db::DbError& e) {
    if (tr.inTransaction())
      tr.rollback();
    if (recordedCode >= 0)
      forgetLogon(recordedCode);
    fnShowFbError(e, QStringLiteral("TLogonBox.OKBtnClick"), QString(), false);
    error(QStringLiteral(u"ログイン処理に失敗しました。\r%1を終了します。").arg(SystemDef.AppName));
    pcSetFormModalResult(this, mrCancel);
  } catch (const std::exception& e) {
    if (tr.inTransaction())
      tr.rollback();
    if (recordedCode >= 0)
      forgetLogon(recordedCode);
    fnShowErrorDetail(QStringLiteral(u"ログイン処理に失敗しました。\r%1を終了します。").arg(SystemDef.AppName),
                      QString::fromUtf8(e.what()), mtError);
    pcSetFormModalResult(this, mrCancel);
  }
}

void TLogonBox::SystemUserLogon()
{
  if (FAppIniCreateBox->GetDataBaseInfoIniFile(GetConType()) == 0) {
    error(kIniFailed);
    return;
  }
  if (!CheckServerSettings())
    return;
  if (!ShowConnectError())
    return;
  try {
    pcSetFormModalResult(this, mrOk);
    SystemDef.OPCODE = SystemDef.GROUPID * 10000 + kSystemUserCode;
    TLogonOperator op;
    TLogonStore(DM->IBDatabaseDEF).ReadOperator(SystemDef.GROUPID, kSystemUserCode, op);
    SystemDef.OPNAME = op.OpName;
    const bool jimusho = op.Jimusho;
    SystemDef.OPLevel = 9;
    SystemDef.OPAccount = jimusho;
    SystemDef.OPCODE2 = kSystemUserCode;
    SystemDef.OPMyNumberAdm = false;
    SystemDef.OPSyouninsya = false;
    SetServerTemp();
    FAppIniCreateBox->SetConStateIniFile(GetConType());
  } catch (const std::exception& e) {
    fnShowErrorDetail(QStringLiteral(u"ログイン処理に失敗しました。\r%1を終了します。").arg(SystemDef.AppName),
                      QString::fromUtf8(e.what()), mtError);
    pcSetFormModalResult(this, mrCancel);
  }
}

void TLogonBox::PasswordLogonClick()
{
  txtOpCode->setText(QString::number(FSystemLoginCode));
  if (FAppIniCreateBox->GetDataBaseInfo(0) == 0) {
    error(kIniFailed);
    return;
  }
  if (!ShowConnectError())
    return;
  const QString failure =
      QStringLiteral(u"パスワードの確認処理に失敗しました。\r%1を終了します。").arg(SystemDef.AppName);
  db::Transaction& tr = DM->IBTransactionDEF;
  int recordedCode = -1;
  try {
    tr.startIfNeeded();
    SystemDef.OPCODE = 0;
    const TLogonAnswer answer = TLogonStore::LogonUserTest(tr, SystemDef.PCNAME, SystemDef.GROUPID, FSystemLoginCode,
                                                           SystemDef.AppVerMajor, txtPassword->text());
    const int num = answer.Num, loginCode = answer.LoginCode, jobLevel = answer.JobLevel;
    switch (num) {
      case -3:
        error(kAlreadyLoggedOn);
        return;
      case -1:
        error(QStringLiteral(u"パスワードが違います。\r正しいパスワードを入力して下さい。"));
        txtPassword->setFocus();
        return;
      case 0:
      case 1:
        break;
      default:
        error(QStringLiteral(u"パスワードの確認で想定外の結果(%1)が返されました。").arg(num));
        return;
    }
    recordedCode = loginCode;
    SystemDef.OPCODE = SystemDef.GROUPID * 10000 + kSystemUserCode;
    TLogonOperator op;
    TLogonStore(DM->IBDatabaseDEF).ReadOperator(SystemDef.GROUPID, kSystemUserCode, op);
    SystemDef.OPNAME = op.OpName;
    const bool jimusho = op.Jimusho;
    SystemDef.OPLevel = jobLevel;
    SystemDef.OPAccount = SystemKind == 2 ? FAO_User : jimusho;
    SystemDef.OPCODE2 = kSystemUserCode;
    SystemDef.OPMyNumberAdm = true;
    SystemDef.OPSyouninsya = false;
    switch (SystemKind) {
      case 1:
        SystemDef.OPNAME = QStringLiteral(u"電子帳簿");
        break;
      case 2:
        SystemDef.OPNAME = QStringLiteral(u"経営ベスティマ");
        break;
      case 3:
        SystemDef.OPNAME = QStringLiteral(u"現金出納帳");
        SystemDef.OPMyNumberAdm = false;
        break;
      default:
        break;
    }
    pcSetFormModalResult(this, mrOk);
  } catch (const db::DbError& e) {
    if (tr.inTransaction())
      tr.rollback();
    if (recordedCode >= 0)
      forgetLogon(recordedCode);
    fnShowFbError(e, QStringLiteral("TLogonBox.OKBtnClick"), QString(), false);
    error(failure);
    pcSetFormModalResult(this, mrCancel);
  } catch (const std::exception& e) {
    if (tr.inTransaction())
      tr.rollback();
    if (recordedCode >= 0)
      forgetLogon(recordedCode);
    fnShowErrorDetail(failure, QString::fromUtf8(e.what()), mtError);
    pcSetFormModalResult(this, mrCancel);
  }
}

bool TLogonBox::GetEntryPassword(int ALoginCode, QString& APassword)
{
  APassword.clear();
  if (SystemKind != 2 && SystemKind != 3)
    return true;
  if (ALoginCode == 0)
    return false;
  try {
    DM->IBDatabaseDEF.disconnect();
    if (!DM->fnAccDefConnected(SystemDef.SERVERNAME, true)) {
      error(kSystemDbFailed);
      return false;
    }
    APassword = TLogonStore(DM->IBDatabaseDEF).ReadPassword(SystemDef.GROUPID, ALoginCode);
    DM->IBDatabaseDEF.disconnect();
    return !APassword.isEmpty();
  } catch (const db::DbError& e) {
    fnShowFbError(e, QStringLiteral("TLogonBox.GetEntryPassword"), QString(), false);
  } catch (const std::exception&) {
  }
  error(QStringLiteral(u"パスワードの確認処理に失敗しました。"));
  return false;
}

bool TLogonBox::UpdatePassword(int ALoginCode, const QString& ANewPassword)
{
  if (SystemKind == 1)
    return true;
  if (ALoginCode == 0)
    return false;
  if (SystemKind == 0 && FAppIniCreateBox->GetDataBaseInfoIniFile(GetConType()) == 0) {
    error(kIniFailed);
    return false;
  }
  try {
    DM->IBDatabaseDEF.disconnect();
    if (!DM->fnAccDefConnected(SystemDef.SERVERNAME, true)) {
      error(kSystemDbFailed);
      return false;
    }
    TLogonStore(DM->IBDatabaseDEF).WritePassword(SystemDef.GROUPID, ALoginCode, ANewPassword);
    DM->IBDatabaseDEF.disconnect();
    return true;
  } catch (const db::DbError& e) {
    fnShowFbError(e, QStringLiteral("TLogonBox.UpdatePassword"), QString(), false);
  } catch (const std::exception&) {
  }
  error(QStringLiteral(u"パスワードの更新処理に失敗しました。"));
  return false;
}

void TLogonBox::UpPasswordClick()
{
  if (!FUpPasswordBox)
    FUpPasswordBox = new TUpPasswordBox(this);
  FUpPasswordBox->setNowPassword(FNowPassword);
  if (FUpPasswordBox->exec() == mrOk) {
    FPasswordEntry = UpdatePassword(FSystemLoginCode, FUpPasswordBox->NewPassword());
    if (FPasswordEntry)
      FNowPassword = FUpPasswordBox->NewPassword();
  }
  OKBtn->setEnabled(FPasswordEntry);
}
