#include "ui/z5MessageDlg.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>

#include "ui/AbacorEditLib.h"
#include "ui/ModalResult.h"
#include "ui/xCheckBox.h"
#include "ui/xPlButton.h"
#include "ui/z5MessageDlg2.h"

namespace {
constexpr int kBottomPanelHeight = 41;
constexpr int kMemoTop = 72;
constexpr int kMemoHeight = 156;
constexpr int kAgreeTop = 234;
}  // namespace

void pcInitMessageInfoRec(TMessageInfoRec& Info)
{
  Info.MessageType = 0;
  Info.WindowTitle.clear();
  Info.MainCaption.clear();
  Info.MainCaptionColor = 255;
  Info.MessageCaption.clear();
  Info.AgreeCaption.clear();
  Info.WindowPosition = poOwnerFormCenter;
}

int fnShowMessageBox(TMessageInfoRec& Info)
{
  TMessageBox box(QApplication::activeWindow());
  box.setProcType(Info.MessageType);
  box.setWindowTitleText(Info.WindowTitle);
  box.setMainCaption(Info.MainCaption);
  box.setMainCaptionColor(Info.MainCaptionColor);
  box.setMessageCaption(Info.MessageCaption);
  box.setAgreeCaption(Info.AgreeCaption);
  box.setWindowPosition(Info.WindowPosition);
  box.setPrepare(true);
  return box.exec();
}

TMessageBox::TMessageBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
  pnlClient = new QWidget(this);
  lblMain = new QLabel(QStringLiteral(u"メッセージ"), pnlClient);
  lblMain->setObjectName(QStringLiteral("lblMain"));
  lblMain->setWordWrap(true);
  lblMain->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lblMain->setGeometry(24, 16, 445, 49);

  FMessageArea = new QPlainTextEdit(pnlClient);
  FMessageArea->setObjectName(QStringLiteral("MessageArea"));
  FMessageArea->setReadOnly(true);
  FMessageArea->setFocusPolicy(Qt::NoFocus);
  FMessageArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  cboxAgree = new TxCheckBox(QStringLiteral(u"同意する。"), pnlClient);
  cboxAgree->setObjectName(QStringLiteral("cboxAgree"));
  connect(cboxAgree, &QAbstractButton::clicked, this, [this] {
    FAgreeCheck = cboxAgree->isChecked();
    if (FProcType == 2)
      btnOK->setEnabled(cboxAgree->isChecked());
  });

  pnlBottom = new QWidget(this);
  btnOK = new TxPlButton(pnlBottom);
  btnOK->setObjectName(QStringLiteral("btnOK"));
  btnOK->CaptionA().setCaption(QStringLiteral("OK"));
  btnOK->setModalResult(mrOk);
  btnOK->setGradEndColor(QColor(182, 182, 182));
  btnCancel = new TxPlButton(pnlBottom);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  btnCancel->CaptionA().setCaption(QStringLiteral(u"キャンセル"));
  btnCancel->setModalResult(mrCancel);
  btnCancel->setGradEndColor(QColor(182, 182, 182));

  FMainCaptionColor = fromQColor(palette().color(QPalette::WindowText));
  FAgree = false;
  FAgreeCaption = QStringLiteral(u"同意する");
  FAgreeCheck = false;
  layoutForm(FHeight);
}

void TMessageBox::layoutForm(int clientHeight)
{
  setFixedSize(FWidth, clientHeight);
  const int clientPanel = clientHeight - kBottomPanelHeight;
  pnlClient->setGeometry(0, 0, FWidth, clientPanel);
  pnlBottom->setGeometry(0, clientPanel, FWidth, kBottomPanelHeight);
  // The memo follows the panel's size; the agreement box keeps its
  // distance from the panel's bottom.
  const int bottomGap = FHeight - kBottomPanelHeight - kAgreeTop;
  FMessageArea->setGeometry(24, kMemoTop, FWidth - 24 - 15, kMemoHeight - (FHeight - clientHeight));
  cboxAgree->setGeometry(24, clientPanel - bottomGap, 441, cboxAgree->sizeHint().height());
  btnOK->setGeometry(295, 8, 90, 26);
  btnCancel->setGeometry(399, 8, 90, 26);
}

void TMessageBox::setAgreeCheck(bool value)
{
  FAgreeCheck = value;
  cboxAgree->setChecked(value);
}

void TMessageBox::setPrepare(bool value)
{
  FPrepare = value;
  if (!value)
    return;
  FAgree = FProcType == 2 || FProcType == 3;
  int clientHeight = FHeight;

  btnOK->setVisible(true);
  btnOK->CaptionA().setCaption(QStringLiteral("OK"));
  btnOK->setModalResult(mrOk);
  btnCancel->setVisible(true);
  btnCancel->CaptionA().setCaption(QStringLiteral(u"キャンセル"));
  btnCancel->setModalResult(mrCancel);
  if (FProcType == 1) {
    btnOK->setVisible(false);
    btnCancel->CaptionA().setCaption(QStringLiteral("OK"));
    btnCancel->setModalResult(mrOk);
  }

  setWindowTitle(FWindowTitle);
  lblMain->setText(fnMessageLines(FMainCaption));
  QPalette pal = lblMain->palette();
  pal.setColor(QPalette::WindowText, toQColor(ColorToRGB(FMainCaptionColor)));
  lblMain->setPalette(pal);

  QStringList lines;
  for (const QString& l : FMessageCaption)
    lines << fnMessageLines(l);
  FMessageArea->setPlainText(lines.join(QLatin1Char('\n')));
  FMessageArea->setVisible(!FMessageCaption.isEmpty());
  if (FMessageCaption.isEmpty())
    clientHeight -= kMemoHeight;
  layoutForm(clientHeight);

  cboxAgree->setVisible(FAgree);
  if (FAgree) {
    cboxAgree->setText(FAgreeCaption);
    cboxAgree->setChecked(FAgreeCheck);
  }
  btnOK->setEnabled(!(FAgree && FProcType == 2) || FAgreeCheck);
  if (FPosition == poScreenCenter && screen())
    move(screen()->availableGeometry().center() - rect().center());
  pcSetFormModalResult(this, mrNone);
}

void TMessageBox::showEvent(QShowEvent* e)
{
  QDialog::showEvent(e);
  raise();
  if (FBtnFocus == mbOK && btnOK->isVisible())
    btnOK->setFocus(Qt::OtherFocusReason);
  else
    btnCancel->setFocus(Qt::OtherFocusReason);
}

void TMessageBox::keyPressEvent(QKeyEvent* e)
{
  // Esc and F12 act on release; the dialog's own Enter and Esc handling is
  // not used.
  e->accept();
}

void TMessageBox::keyReleaseEvent(QKeyEvent* e)
{
  if (!fnNoModifier(e->modifiers()) || e->isAutoRepeat()) {
    QDialog::keyReleaseEvent(e);
    return;
  }
  if (e->key() == Qt::Key_Escape) {
    e->accept();
    done(mrCancel);
    return;
  }
  if (e->key() == Qt::Key_F12) {
    e->accept();
    if (btnOK->isVisible() && btnOK->isEnabled())
      btnOK->Click();
    return;
  }
  QDialog::keyReleaseEvent(e);
}

void TMessageBox::reject()
{
  done(mrCancel);
}
