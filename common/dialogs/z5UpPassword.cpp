#include "common/dialogs/z5UpPassword.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QStyle>

#include "common/MessageHook.h"
#include "ui/AbacorEditLib.h"
#include "ui/ModalResult.h"
#include "ui/xEdit.h"
#include "ui/xPlButton.h"

namespace {

// Trims half-width and full-width spaces from both ends.
QString trimSpaces(const QString& s)
{
  auto isSpace = [](QChar c) { return c == QLatin1Char(' ') || c == QChar(0x3000); };
  qsizetype b = 0, e = s.size();
  while (b < e && isSpace(s[b]))
    ++b;
  while (e > b && isSpace(s[e - 1]))
    --e;
  return s.mid(b, e - b);
}

void warn(const QString& text)
{
  MessageHook().ShowMessageDlg(text, mtWarning, mbOK);
}

}  // namespace

TUpPasswordBox::TUpPasswordBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
  setWindowTitle(QStringLiteral(u"パスワードの変更"));
  setFixedSize(scaled(403), scaled(262));

  auto* header = new QWidget(this);
  header->setGeometry(0, 0, scaled(403), scaled(60));
  header->setAutoFillBackground(true);
  QPalette hp = header->palette();
  hp.setColor(QPalette::Window, Qt::white);
  header->setPalette(hp);
  auto* icon = new QLabel(header);
  icon->setPixmap(style()->standardIcon(QStyle::SP_DialogApplyButton).pixmap(scaled(32), scaled(32)));
  icon->setGeometry(scaled(16), scaled(14), scaled(32), scaled(32));
  Label1 = new QLabel(QStringLiteral(u"パスワードを変更します。"), header);
  Label1->setGeometry(scaled(64), scaled(20), scaled(320), scaled(20));

  auto* group = new QGroupBox(this);
  group->setGeometry(scaled(12), scaled(68), scaled(379), scaled(140));
  auto makeRow = [&](const char16_t* caption, const char16_t* hint, QLabel*& label, TxEdit*& edit) {
    label = new QLabel(QString::fromUtf16(caption), group);
    label->setGeometry(scaled(16), 0, scaled(150), scaled(16));
    edit = new TxEdit(group);
    edit->setGeometry(scaled(180), 0, scaled(180), scaled(24));
    edit->setMaxLength(10);
    edit->setImeDisabled(true);
    // Passwords never echo in clear.
    edit->setEchoMode(QLineEdit::Password);
    edit->setToolTip(QString::fromUtf16(hint));
    edit->installEventFilter(this);
  };
  makeRow(u"現在のパスワード:", u"現在のパスワードを入力します。", lblNow, txtPasswordNow);
  makeRow(u"新しいパスワード:", u"新しいパスワードを入力します。", lblNew1, txtPasswordNew1);
  makeRow(u"新しいパスワード(確認):", u"もう一度、新しいパスワードを入力します。", lblNew2, txtPasswordNew2);
  txtPasswordNow->setObjectName(QStringLiteral("txtPasswordNow"));
  txtPasswordNew1->setObjectName(QStringLiteral("txtPasswordNew1"));
  txtPasswordNew2->setObjectName(QStringLiteral("txtPasswordNew2"));

  btnOk = new TxPlButton(this);
  btnOk->setObjectName(QStringLiteral("btnOk"));
  btnOk->CaptionA().setCaption(QStringLiteral("OK"));
  btnOk->setGradEndColor(QColor(182, 182, 182));
  btnOk->setGeometry(scaled(206), scaled(222), scaled(90), scaled(26));
  btnCancel = new TxPlButton(this);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  btnCancel->CaptionA().setCaption(QStringLiteral(u"キャンセル"));
  btnCancel->setModalResult(mrCancel);
  btnCancel->setGradEndColor(QColor(182, 182, 182));
  btnCancel->setGeometry(scaled(302), scaled(222), scaled(90), scaled(26));
  connect(btnOk, &TxPlButton::clicked, this, [this] { btnOkClick(); });

  setNowPassword(QString());
}

int TUpPasswordBox::scaled(int v) const
{
  return v * logicalDpiY() / 96;
}

bool TUpPasswordBox::fnPasswordChar(QChar c)
{
  const char16_t u = c.unicode();
  return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
}

void TUpPasswordBox::setNowPassword(const QString& value)
{
  FNowPassword = value;
  FPasswordEntry = !value.isEmpty();
  FNewPassword.clear();
  auto place = [this](QLabel* label, TxEdit* edit, int top) {
    label->move(label->x(), scaled(top));
    edit->move(edit->x(), scaled(top - 4));
  };
  if (FPasswordEntry) {
    setWindowTitle(QStringLiteral(u"パスワードの変更"));
    Label1->setText(QStringLiteral(u"パスワードを変更します。"));
    lblNow->setVisible(true);
    txtPasswordNow->setVisible(true);
    place(lblNow, txtPasswordNow, 24);
    place(lblNew1, txtPasswordNew1, 58);
    place(lblNew2, txtPasswordNew2, 92);
  } else {
    setWindowTitle(QStringLiteral(u"パスワードの設定"));
    Label1->setText(QStringLiteral(u"パスワードを設定します。"));
    lblNow->setVisible(false);
    txtPasswordNow->setVisible(false);
    place(lblNew1, txtPasswordNew1, 42);
    place(lblNew2, txtPasswordNew2, 76);
  }
  txtPasswordNow->clear();
  txtPasswordNew1->clear();
  txtPasswordNew2->clear();
}

void TUpPasswordBox::showEvent(QShowEvent* e)
{
  QDialog::showEvent(e);
  update();
  if (FPasswordEntry)
    txtPasswordNow->setFocus(Qt::OtherFocusReason);
  else
    txtPasswordNew1->setFocus(Qt::OtherFocusReason);
}

bool TUpPasswordBox::eventFilter(QObject* watched, QEvent* e)
{
  // The form sees the edits' key releases first (Esc and F12).
  if (e->type() == QEvent::KeyRelease &&
      (watched == txtPasswordNow || watched == txtPasswordNew1 || watched == txtPasswordNew2)) {
    auto* ke = static_cast<QKeyEvent*>(e);
    if (ke->key() == Qt::Key_Escape || ke->key() == Qt::Key_F12) {
      keyReleaseEvent(ke);
      return true;
    }
  }
  if (e->type() == QEvent::KeyPress &&
      (watched == txtPasswordNow || watched == txtPasswordNew1 || watched == txtPasswordNew2)) {
    auto* ke = static_cast<QKeyEvent*>(e);
    const QString text = ke->text();
    const bool navigation = ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab;
    if (!text.isEmpty() && !navigation) {
      const QChar c = text.at(0);
      const bool pass = c == QLatin1Char('\r') || c == QLatin1Char('\b') || fnPasswordChar(c);
      if (!pass)
        return true;  // discarded
    }
  }
  return QDialog::eventFilter(watched, e);
}

void TUpPasswordBox::btnOkClick()
{
  pcSetFormModalResult(this, mrNone);
  if (FPasswordEntry) {
    if (trimSpaces(txtPasswordNow->text()).isEmpty()) {
      warn(QStringLiteral(u"現在のパスワードが入力されていません。"));
      txtPasswordNow->setFocus();
      return;
    }
    if (txtPasswordNow->text() != FNowPassword) {
      warn(QStringLiteral(u"現在のパスワードが入力されたパスワードと一致しません。"));
      txtPasswordNow->setFocus();
      return;
    }
  }
  if (trimSpaces(txtPasswordNew1->text()).isEmpty() || trimSpaces(txtPasswordNew2->text()).isEmpty()) {
    warn(QStringLiteral(u"新しいパスワードが入力されていません。両方のボックスに入力して下さい。"));
    txtPasswordNew1->setFocus();
    return;
  }
  if (txtPasswordNew1->text() != txtPasswordNew2->text()) {
    warn(QStringLiteral(u"入力されたパスワードは一致しません。"));
    txtPasswordNew1->setFocus();
    return;
  }
  FNewPassword = txtPasswordNew1->text();
  pcSetFormModalResult(this, mrOk);
}

void TUpPasswordBox::keyPressEvent(QKeyEvent* e)
{
  // Esc and F12 act on release; the dialog's own Enter and Esc handling is
  // not used.
  e->accept();
}

void TUpPasswordBox::keyReleaseEvent(QKeyEvent* e)
{
  if (e->isAutoRepeat()) {
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
    if (btnOk->isVisible() && btnOk->isEnabled()) {
      btnOkClick();
      pcApplyModalResult(this);
    }
    return;
  }
  QDialog::keyReleaseEvent(e);
}

void TUpPasswordBox::reject()
{
  done(mrCancel);
}
