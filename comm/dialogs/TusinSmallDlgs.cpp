#include "comm/dialogs/TusinSmallDlgs.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "common/MessageHook.h"
#include "platform/Color.h"
#include "ui/xEdit.h"

QWidget* WaitMessParent = nullptr;
QWidget* WaitMess2Parent = nullptr;
bool HikakuAnswer = true;

namespace {

const QString kFont = QStringLiteral("ＭＳ Ｐゴシック");

class TEscKeyHook : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* AEvent) override
  {
    if (AEvent->type() == QEvent::KeyPress || AEvent->type() == QEvent::KeyRelease ||
        AEvent->type() == QEvent::ShortcutOverride)
      return static_cast<QKeyEvent*>(AEvent)->key() == Qt::Key_Escape;
    return false;
  }
};

TEscKeyHook* EscHookHandle = nullptr;

}  // namespace

void pcEscHookInstall()
{
  if (EscHookHandle || !QCoreApplication::instance())
    return;
  EscHookHandle = new TEscKeyHook;
  QCoreApplication::instance()->installEventFilter(EscHookHandle);
}

void pcEscHookRemove()
{
  if (!EscHookHandle)
    return;
  if (QCoreApplication::instance())
    QCoreApplication::instance()->removeEventFilter(EscHookHandle);
  delete EscHookHandle;
  EscHookHandle = nullptr;
}

bool fnEscHookInstalled()
{
  return EscHookHandle != nullptr;
}

// ---------------------------------------------------------------------------

TfmTusinSettiPas::TfmTusinSettiPas(QWidget* AParent) : TBSDI(AParent, bsDialog)
{
  setFixedSize(452, 242);
  setFont(QFont(kFont, -1));
  QFont f = font();
  f.setPixelSize(12);
  setFont(f);
  CheckBox1 = new QCheckBox(QStringLiteral("削除処理を実行します"), this);
  CheckBox1->move(85, 51);
  auto* label16 = new QLabel(QStringLiteral("パスワード:"), this);
  label16->move(85, 97);
  txtConPasswd = new TxEdit(this);
  txtConPasswd->setGeometry(164, 93, 65, 24);
  txtConPasswd->setMaxLength(6);
  txtConPasswd->setAttribute(Qt::WA_InputMethodEnabled, false);
  QFont ef(kFont);
  ef.setPixelSize(16);
  txtConPasswd->setFont(ef);
  txtConPasswd->installEventFilter(this);
  auto* label1 = new QLabel(QStringLiteral("例： ABC123"), this);
  label1->move(240, 90);
  auto* label3 = new QLabel(QStringLiteral("（英数半角６桁以内）"), this);
  label3->move(240, 106);
  Label2 = new QLabel(this);
  Label2->hide();
  HintArea = new QPlainTextEdit(this);
  HintArea->setReadOnly(true);
  HintArea->setGeometry(16, 136, 420, 48);
  HintArea->setPlainText(QStringLiteral("「削除処理を実行します」 にチェックをして、パスワードを入力します。"));
  btnOK = new QPushButton(QStringLiteral("ＯＫ"), this);
  btnOK->setGeometry(250, 200, 90, 26);
  btnESC = new QPushButton(QStringLiteral("ESC:ｷｬﾝｾﾙ"), this);
  btnESC->setGeometry(346, 200, 90, 26);
  btnESC->setFocusPolicy(Qt::NoFocus);
  connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
  connect(btnESC, &QPushButton::clicked, this, [this] { done(mrCancel); });
  FormCreate();
  InitFlg = true;
}

bool TfmTusinSettiPas::CheckPasswordBlanks()
{
  const QString t = txtConPasswd->text();
  QString stripped = t;
  stripped.remove(QLatin1Char(' ')).remove(QChar(0x3000));
  if (stripped.size() == t.size())
    return true;
  MessageHook().ShowMessageDlg(QStringLiteral("パスワードはスペース（空白）なしの英数６桁以内で入力して下さい。"),
                               mtInformation, mbYes);
  txtConPasswd->setFocus();
  return false;
}

void TfmTusinSettiPas::btnOKClick()
{
  if (!CheckPasswordBlanks())
    return;
  if (CheckBox1->isChecked()) {
    if (txtConPasswd->text() != Label2->text()) {
      MessageHook().ShowMessageDlg(QStringLiteral("パスワードが違います。"), mtInformation, mbYes);
      txtConPasswd->setFocus();
      return;
    }
    done(mrOk);
    return;
  }
  MessageHook().ShowMessageDlg(CheckBox1->text() == QStringLiteral("削除処理を実行します")
                                   ? QStringLiteral("「削除処理を実行します」をチェックしてください。")
                                   : QStringLiteral("「解除処理を実行します」をチェックしてください。"),
                               mtInformation, mbYes);
  txtConPasswd->setFocus();
}

bool TfmTusinSettiPas::eventFilter(QObject* AWatched, QEvent* AEvent)
{
  if (AWatched == txtConPasswd && AEvent->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(AEvent);
    const QString t = k->text();
    const bool control = t.isEmpty() || k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter ||
                         k->key() == Qt::Key_Backspace || k->matches(QKeySequence::Copy) ||
                         k->matches(QKeySequence::Paste) || k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab;
    if (!control) {
      const QChar c = t.at(0);
      const bool alnum = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                         (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
                         (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
      if (!alnum || t.size() != 1)
        return true;
    }
  }
  if (AWatched == txtConPasswd && AEvent->type() == QEvent::FocusOut && isVisible()) {
    const auto reason = static_cast<QFocusEvent*>(AEvent)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
      QTimer::singleShot(0, this, [this] { CheckPasswordBlanks(); });
  }
  return TBSDI::eventFilter(AWatched, AEvent);
}

// ---------------------------------------------------------------------------

TfmWaitMess::TfmWaitMess(QWidget* AParent, int ABoxes)
    : QDialog(AParent ? AParent : WaitMessParent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
  resize(419, 175);
  QFont f(kFont);
  f.setPixelSize(12);
  setFont(f);
  static const char* const captions[] = {"送信用データ保存", "送信用データ圧縮", "送信用データ暗号化",
                                         "中継サーバーへデータ送信", "経営ベスティマ（クラウド）へデータ送信"};
  static const int tops[] = {16, 48, 80, 112, 140};
  for (int i = 0; i < ABoxes; ++i) {
    auto* b = new QCheckBox(QString::fromUtf8(captions[i]), this);
    b->move(144, tops[i]);
    b->setMinimumWidth(260);
    b->setFocusPolicy(Qt::StrongFocus);
    FBoxes << b;
  }
  if (ABoxes > 0)
    FBoxes[0]->setChecked(true);
  if (ABoxes > 4)
    FBoxes[4]->hide();
  // The animation: a turning arc beside the steps, restarted by the timer.
  FTimer = new QTimer(this);
  FTimer->setInterval(100);
  connect(FTimer, &QTimer::timeout, this, [this] {
    FFrame = (FFrame + 1) % 12;
    update(QRect(40, height() / 2 - 20, 32, 32));
  });
  FTimer->start();
}

QCheckBox* TfmWaitMess::Box(int ANo) const
{
  return ANo >= 1 && ANo <= FBoxes.size() ? FBoxes[ANo - 1] : nullptr;
}

void TfmWaitMess::SetStep(int ANo, const QString& AText, int AColorBgr, bool AChecked)
{
  QCheckBox* b = Box(ANo);
  if (!b)
    return;
  b->setText(AText);
  b->setChecked(AChecked);
  QPalette p = b->palette();
  const QColor c(AColorBgr & 0xFF, (AColorBgr >> 8) & 0xFF, (AColorBgr >> 16) & 0xFF);
  p.setColor(QPalette::WindowText, c);
  p.setColor(QPalette::ButtonText, c);
  b->setPalette(p);
  b->adjustSize();
  if (AColorBgr == 0xFF0000)
    b->setFocus();
  repaint();
}

void TfmWaitMess::paintEvent(QPaintEvent* AEvent)
{
  QDialog::paintEvent(AEvent);
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRect r(40, height() / 2 - 20, 32, 32);
  p.setPen(QPen(QColor(0, 120, 215), 4));
  p.drawArc(r.adjusted(4, 4, -4, -4), -FFrame * 30 * 16, 270 * 16);
}

TfmWaitMess2::TfmWaitMess2(QWidget* AParent) : TfmWaitMess(AParent ? AParent : WaitMess2Parent, 1)
{
  Box(1)->setText(QStringLiteral("クラウドシェア認証チェック"));
  Box(1)->move(144, 75);
  Box(1)->setChecked(true);
}

// ---------------------------------------------------------------------------

TfmHikakuMess2::TfmHikakuMess2(QWidget* AParent)
    : QDialog(AParent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
  HikakuAnswer = true;
  setWindowTitle(QStringLiteral("確認"));
  resize(456, 190);
  QFont f(QStringLiteral("ＭＳ ゴシック"));
  f.setPixelSize(12);
  setFont(f);
  struct L {
    const char* text;
    int top;
    QColor color;
  } labels[] = {{"中継サーバーに下記相違点のあるデータが存在します。", 16, Qt::black},
                {"このまま送信して上書きしてもいいですか？", 35, Qt::black},
                {"パスワードが違います。", 63, Qt::black},
                {"商号が違います。", 87, Qt::black},
                {"", 108, Qt::blue},
                {"", 124, QColor(128, 0, 0)},
                {"会計期間が違います。", 151, Qt::black},
                {"", 172, Qt::blue},
                {"", 188, QColor(128, 0, 0)}};
  for (int i = 0; i < 9; ++i) {
    Label[i + 1] = new QLabel(QString::fromUtf8(labels[i].text), this);
    Label[i + 1]->setGeometry(66, labels[i].top, 370, 16);
    QPalette p = Label[i + 1]->palette();
    p.setColor(QPalette::WindowText, labels[i].color);
    Label[i + 1]->setPalette(p);
  }
  Button1 = new QPushButton(QStringLiteral("はい"), this);
  Button1->setGeometry(110, 226, 81, 25);
  Button2 = new QPushButton(QStringLiteral("いいえ"), this);
  Button2->setGeometry(262, 226, 81, 25);
  connect(Button1, &QPushButton::clicked, this, [this] {
    HikakuAnswer = true;
    close();
  });
  connect(Button2, &QPushButton::clicked, this, [this] {
    HikakuAnswer = false;
    close();
  });
}
