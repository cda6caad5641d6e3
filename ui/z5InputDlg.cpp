#include "ui/z5InputDlg.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScreen>

#include "common/AccFunction.h"
#include "common/MessageHook.h"
#include "ui/AbacorEdit.h"
#include "ui/AbacorExDateEdit.h"
#include "ui/ModalResult.h"
#include "ui/xCheckBox.h"
#include "ui/xComboBox.h"
#include "ui/xEdit.h"
#include "ui/xPlButton.h"

namespace {

// Characters a file name cannot hold, plus comma and semicolon.
const QString kFileNameRefused = QStringLiteral("\"*,/:;<>?\\|");

QWidget* panel(QWidget* parent, int x, int y, int w, int h)
{
  auto* p = new QWidget(parent);
  p->setGeometry(x, y, w, h);
  return p;
}

}  // namespace

TInputDlgBox::TInputDlgBox(QWidget* AParent) : TBSDI(AParent, bsDialog)
{
  setFixedSize(427, 251);
  MenuMin = false;
  MultiShow = false;
  FormSize = false;
  Zoom = false;
  // The caller frees the form.
  SetManualFree(true);

  lblMain = new QLabel(QStringLiteral("メッセージ"), this);
  lblMain->setGeometry(16, 16, 393, 49);
  lblMain->setWordWrap(true);
  lblMain->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  pnlText = panel(this, 24, 72, 385, 30);
  txtInput = new TxEdit(pnlText);
  txtInput->setGeometry(0, 2, 250, 21);
  btnFuseji = new TxCheckBox(pnlText);
  btnFuseji->setText(QStringLiteral("伏字にせず入力"));
  btnFuseji->setGeometry(256, 2, 129, 21);
  btnFuseji->setFocusPolicy(Qt::NoFocus);
  connect(btnFuseji, &QCheckBox::toggled, this, [this] { applyFuseji(); });
  txtInput->installEventFilter(this);

  pnlCombo = panel(this, 24, 110, 385, 30);
  cmbInput = new TxComboBox(pnlCombo);
  cmbInput->setGeometry(0, 2, 265, 22);
  cmbInput->setMaxVisibleItems(16);
  cmbInput->setEditable(true);
  cmbInput->setAttribute(Qt::WA_InputMethodEnabled, false);

  pnlKingaku = panel(this, 24, 110, 385, 30);
  txtKingaku = new TAbacorEdit(pnlKingaku);
  txtKingaku->setGeometry(0, 2, 120, 21);
  txtKingaku->setAlignment(Qt::AlignRight);
  txtKingaku->setImeDisabled(true);
  txtKingaku->setEditStyle(esNumericMinus);
  txtKingaku->setOutputFormat(QStringLiteral("#,##0"));
  txtKingaku->setComma(true);
  txtKingaku->setZero3Key(zkDot);
  txtKingaku->setMaxLength(11);
  txtKingaku->setKeyStyles({ksEnter, ksUp});
  txtKingaku->setText(QStringLiteral("0"));
  lblKingakuTani = new QLabel(QStringLiteral("円"), pnlKingaku);
  lblKingakuTani->setGeometry(128, 4, 30, 17);

  pnlDate = panel(this, 24, 110, 385, 53);
  auto* from = new QLabel(QStringLiteral("(自)"), pnlDate);
  from->setGeometry(0, 4, 30, 17);
  auto* to = new QLabel(QStringLiteral("(至)"), pnlDate);
  to->setGeometry(0, 30, 30, 17);
  txtHizuke1 = new TAbacorExDateEdit(pnlDate);
  txtHizuke1->setGeometry(36, 2, 217, 21);
  txtHizuke2 = new TAbacorExDateEdit(pnlDate);
  txtHizuke2->setGeometry(36, 28, 217, 21);
  for (auto* d : {txtHizuke1, txtHizuke2}) {
    d->SetEditStyle(desYearMonthDay);
    d->SetEditGengo(true);
    d->SetYeardigit(yddigit4);
    d->SetDialogCaption(QStringLiteral("日付時刻入力"));
  }

  auto* bottom = panel(this, 0, 251 - 128, 427, 128);
  HintArea = new QPlainTextEdit(bottom);
  HintArea->setGeometry(16, 8, 394, 65);
  HintArea->setReadOnly(true);
  HintArea->setEnabled(false);
  F1 = new TxPlButton(bottom);
  F1->CaptionA().setCaption(QStringLiteral("F1:ヘルプ"));
  F1->hide();
  btnOK = new TxPlButton(bottom);
  btnOK->CaptionA().setCaption(QStringLiteral("OK"));
  btnOK->setGeometry(217, 88, 90, 26);
  btnCancel = new TxPlButton(bottom);
  btnCancel->CaptionA().setCaption(QStringLiteral("キャンセル"));
  btnCancel->setGeometry(321, 88, 90, 26);
  btnCancel->setModalResult(mrCancel);
  btnCancel->setCancel(true);
  connect(btnOK, &TxPlButton::clicked, this, [this] { btnOKClick(); });

  // Topmost while shown (set before showing: changing the flags of a
  // visible window hides it).
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
  HintObject = HintArea;
  Child_OKButton = btnOK;
  FMainCaptionColor = palette().color(QPalette::WindowText);
  pnlCombo->hide();
  pnlKingaku->hide();
  pnlDate->hide();
  InitFlg = true;
}

TInputDlgBox::~TInputDlgBox() = default;

bool TInputDlgBox::fnInputTypeAccepts(int AInputType, QChar AKey)
{
  const ushort c = AKey.unicode();
  if (c == '\r')
    return true;
  const bool backspace = c == 8;
  switch (AInputType) {
    case 10:
      return backspace || (c >= '0' && c <= '9') || c == '-' || c == '.';
    case 20:
      return backspace || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    case 30:
      return backspace || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    case 40:
      if (c < 32 || c > 127)
        return true;
      return !kFileNameRefused.contains(AKey);
    default:
      return true;
  }
}

bool TInputDlgBox::eventFilter(QObject* AWatched, QEvent* AEvent)
{
  if (AEvent->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(AEvent);
    if (AWatched == txtInput && !k->text().isEmpty()) {
      for (const QChar ch : k->text())
        if (!fnInputTypeAccepts(FInputType, ch))
          return true;
    }
  }
  return TBSDI::eventFilter(AWatched, AEvent);
}

void TInputDlgBox::SetKingakuTani(int AValue)
{
  FKingakuTani = AValue;
  lblKingakuTani->setText(AValue == 1 ? QStringLiteral("千円") : QStringLiteral("円"));
}

void TInputDlgBox::SetKinsiWords(const QString& AValue)
{
  FKinsiWords = QString(AValue).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(QLatin1Char('\n'));
  FKinsiWords.removeAll(QString());
}

void TInputDlgBox::applyFuseji()
{
  txtInput->setEchoMode(FProcType == 1 && !btnFuseji->isChecked() ? QLineEdit::Password : QLineEdit::Normal);
}

void TInputDlgBox::SetPrepare(bool AValue)
{
  FPrepare = AValue;
  setWindowTitle(FWindowTitle);
  lblMain->setText(FMainCaption);
  QPalette pal = lblMain->palette();
  pal.setColor(QPalette::WindowText, FMainCaptionColor);
  lblMain->setPalette(pal);
  const QPoint textPos = pnlText->pos();
  pnlText->hide();
  pnlCombo->hide();
  pnlKingaku->hide();
  pnlDate->hide();
  switch (FProcType) {
    case 2:
      pnlCombo->move(textPos);
      pnlCombo->show();
      cmbInput->clear();
      cmbInput->addItems(FComboItems);
      cmbInput->setEditText(FInputText);
      cmbInput->setToolTip(FInputHint);
      if (FInputMaxLength > 0)
        cmbInput->lineEdit()->setMaxLength(FInputMaxLength);
      cmbInput->setAttribute(Qt::WA_InputMethodEnabled, FInputImeMode != imDisable);
      break;
    case 3:
      pnlKingaku->move(textPos);
      pnlKingaku->show();
      txtKingaku->setText(FInputText);
      txtKingaku->setToolTip(FInputHint);
      txtKingaku->setMaxLength(FInputMaxLength);
      txtKingaku->setImeDisabled(true);
      break;
    case 4:
      pnlDate->move(textPos);
      pnlDate->show();
      txtHizuke1->SetMinDate(FMinDate1);
      txtHizuke1->SetMaxDate(FMaxDate1);
      txtHizuke1->SetDateTime(FInputDate1);
      txtHizuke2->SetMinDate(FMinDate2);
      txtHizuke2->SetMaxDate(FMaxDate2);
      txtHizuke2->SetDateTime(FInputDate2);
      txtHizuke1->setToolTip(FInputHint);
      txtHizuke2->setToolTip(FInputHint);
      break;
    default:
      pnlText->move(textPos);
      pnlText->show();
      txtInput->setText(FInputText);
      txtInput->setToolTip(FInputHint);
      txtInput->setMaxLength(FInputMaxLength);
      txtInput->setImeDisabled(FInputImeMode == imDisable);
      btnFuseji->hide();
      if (FProcType == 1) {
        FInputCheck = true;
        btnFuseji->show();
      }
      applyFuseji();
      break;
  }
  btnFuseji->setToolTip(QStringLiteral(
      "パスワードを伏字にせず入力します。|チェックを入れるとパスワードを伏字にしないで入力が行えます。"));
  btnOK->setToolTip(QStringLiteral("内容を確定します。|内容を確定します。"));
  btnCancel->setToolTip(QStringLiteral("画面を閉じます。|画面を閉じます。"));
  FirstTimeFlg = false;
}

void TInputDlgBox::FormShow()
{
  TBSDI::FormShow();
  if (!InitFlg) {
    MessageHook().ShowMessageDlg(
        QStringLiteral("%1画面の初期化に失敗しました。\r処理を終了します。").arg(windowTitle()), mtError, mbYes);
    close();
    return;
  }
  if (!isVisible())
    return;
  switch (FProcType) {
    case 2:
      cmbInput->setFocus();
      break;
    case 3:
      txtKingaku->setFocus();
      break;
    case 4:
      txtHizuke1->setFocus();
      break;
    default:
      txtInput->setFocus();
      break;
  }
}

void TInputDlgBox::FormClose()
{
  TBSDI::FormClose();
  FComboItems.clear();
  FKinsiWords.clear();
}

void TInputDlgBox::showInfo(const QString& AText)
{
  MessageHook().ShowMessageDlg(AText, mtInformation, mbOK);
}

void TInputDlgBox::btnOKClick()
{
  pcSetFormModalResult(this, mrNone);
  switch (FProcType) {
    case 2:
      if (FInputCheck && fnTrimZen(cmbInput->currentText()).isEmpty()) {
        showInfo(QStringLiteral("入力または選択してから[OK]ボタンを押して下さい。"));
        cmbInput->setFocus();
        return;
      }
      FInputText = cmbInput->currentText();
      break;
    case 3:
      if (txtKingaku->text().trimmed().isEmpty())
        txtKingaku->setText(QStringLiteral("0"));
      FInputText = txtKingaku->text();
      break;
    case 4:
      FInputDate1 = txtHizuke1->DateTime();
      FInputDate2 = txtHizuke2->DateTime();
      break;
    default: {
      const QString trimmed = fnTrimZen(txtInput->text());
      if (FInputCheck && trimmed.isEmpty()) {
        showInfo(QStringLiteral("入力してから[OK]ボタンを押して下さい。"));
        txtInput->setFocus();
        return;
      }
      if (FKinsiWords.contains(trimmed)) {
        showInfo(FKinsiWordsMessage);
        txtInput->setFocus();
        return;
      }
      FInputText = txtInput->text();
      break;
    }
  }
  pcSetFormModalResult(this, mrOk);
  pcApplyModalResult(this);
}
