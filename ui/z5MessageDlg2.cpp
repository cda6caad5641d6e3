#include "ui/z5MessageDlg2.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QUrl>

#include "ui/MessageCatalog.h"
#include "ui/ModalResult.h"
#include "ui/xCheckBox.h"

namespace {

struct TBtnInfo {
  const char16_t* caption;
  int result;
};

// Captions and modal results in the order of MsgDlgBtnOrder.
const std::array<TBtnInfo, 12> kButtons{{
    {u"はい(&Y)", mrYes},
    {u"いいえ(&N)", mrNo},
    {u"OK(&O)", mrOk},
    {u"ｷｬﾝｾﾙ(&C)", mrCancel},
    {u"中断(&A)", mrAbort},
    {u"再試行(&R)", mrRetry},
    {u"無視(&I)", mrIgnore},
    {u"すべて(&A)", mrAll},
    {u"すべていいえ", mrNoToAll},
    {u"すべてはい", mrYesToAll},
    {u"ヘルプ(&H)", mrNone},
    {u"閉じる(&S)", mrClose},
}};

int indexOf(TMsgDlgBtn b)
{
  for (size_t i = 0; i < MsgDlgBtnOrder.size(); ++i)
    if (MsgDlgBtnOrder[i] == b)
      return static_cast<int>(i);
  return 0;
}

constexpr std::array<int, Message2LineCount> kLabelTops{24,  48,  72,  96,  120, 144, 168, 192,
                                                        216, 240, 264, 288, 320, 344, 368};
constexpr int kLabelLeft = 80;
constexpr int kAgreePanelHeight = 32;
constexpr int kBottomPanelHeight = 38;
constexpr TColor kLinkColor = 0xFF0000;     // blue
constexpr TColor kVisitedColor = 0x800080;  // purple
const char* const kLinkProperty = "LinkURL";

TMessageBox2Hook& box2Hook()
{
  static TMessageBox2Hook h;
  return h;
}

void setLabelColour(QLabel* l, TColor c)
{
  QPalette pal = l->palette();
  pal.setColor(QPalette::WindowText, toQColor(ColorToRGB(c)));
  l->setPalette(pal);
}

}  // namespace

QString fnMsgDlgBtnCaption(TMsgDlgBtn b)
{
  return QString::fromUtf16(kButtons[indexOf(b)].caption);
}

int fnMsgDlgBtnResult(TMsgDlgBtn b)
{
  return kButtons[indexOf(b)].result;
}

QString fnMessageLines(const QString& text)
{
  QString s = text;
  s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

void pcInitMessage2InfoRec(int AKind, TMessage2InfoRec& Info)
{
  Info.MessageType = 0;
  Info.DlgType = mtCustom;
  Info.DlgButtons = mbYes;
  Info.DlgButtonCaption = {};
  Info.DlgButtonFocusIdx = 0;
  Info.Title.clear();
  switch (AKind) {
    case 0:
      Info.DlgType = mtWarning;
      Info.Title = QStringLiteral(u"警告");
      break;
    case 1:
      Info.DlgType = mtError;
      Info.Title = QStringLiteral(u"エラー");
      break;
    case 2:
      Info.DlgType = mtInformation;
      Info.Title = QStringLiteral(u"情報");
      break;
    case 3:
      Info.DlgType = mtConfirmation;
      Info.DlgButtons = mbOK | mbCancel;
      Info.Title = QStringLiteral(u"確認");
      break;
    default:
      break;
  }
  for (TMessage2CaptionRec& line : Info.Caption)
    line = TMessage2CaptionRec{};
  Info.Agree = 0;
  Info.AgreeCaption.clear();
  Info.AgreeCheck = false;
}

void pcSetMessageBox2Hook(TMessageBox2Hook hook)
{
  box2Hook() = std::move(hook);
}

int fnShowMessageBox2(TMessage2InfoRec& Info)
{
  if (box2Hook())
    return box2Hook()(Info);
  TMessageBox2 box(QApplication::activeWindow());
  box.setProcType(Info.MessageType);
  box.setMessageRec(Info);
  box.setPrepare(true);
  const int result = box.exec();
  Info.AgreeCheck = box.AgreeCheck();
  return result;
}

// ---------------------------------------------------------------------------

TMessageBox2::TMessageBox2(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint)
{
  setWindowTitle(QStringLiteral(u"警告"));
  setFont(QApplication::font("QMessageBox"));

  pnlClient = new QWidget(this);
  imgIcon = new QLabel(pnlClient);
  imgIcon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  for (int i = 0; i < Message2LineCount; ++i) {
    auto* l = new QLabel(pnlClient);
    l->setObjectName(QStringLiteral("Label%1").arg(i + 1));
    l->setProperty("Tag", i);
    l->setTextFormat(Qt::PlainText);
    l->installEventFilter(this);
    FLabelCtl[i] = l;
  }

  pnlAgree = new QWidget(this);
  btnAgree = new TxCheckBox(QStringLiteral(u"同意する"), pnlAgree);
  btnAgree->setObjectName(QStringLiteral("btnAgree"));
  btnAgree->setKeyStyles(TKeyStyles{ksEnter});
  connect(btnAgree, &QAbstractButton::clicked, this, [this] {
    if (FAgreeType == 1)
      FButtonCtl[0]->setEnabled(btnAgree->isChecked());
  });

  pnlBottom = new QWidget(this);
  for (int i = 0; i < 3; ++i) {
    auto* b = new QPushButton(pnlBottom);
    b->setObjectName(QStringLiteral("btnButton%1").arg(i + 1));
    b->setAutoDefault(true);
    b->setProperty("ModalResult", 0);
    connect(b, &QPushButton::clicked, this, [this, b] {
      // The Help kind answers none and leaves the box open.
      const int result = b->property("ModalResult").toInt();
      pcSetFormModalResult(this, result);
      pcApplyModalResult(this);
    });
    FButtonCtl[i] = b;
  }

  pcInitMessage2InfoRec(-1, FMessageRec);
  pnlAgree->hide();
  layoutPanels();
}

int TMessageBox2::scaled(int v) const
{
  return v * logicalDpiX() / 96;
}

void TMessageBox2::layoutPanels()
{
  const int w = width();
  int y = 0;
  pnlClient->setGeometry(0, y, w, pnlClient->height());
  y += pnlClient->height();
  if (!pnlAgree->isHidden()) {
    pnlAgree->setGeometry(0, y, w, scaled(kAgreePanelHeight));
    y += pnlAgree->height();
  }
  pnlBottom->setGeometry(0, y, w, scaled(kBottomPanelHeight));
  btnAgree->setGeometry(scaled(82), scaled(3), scaled(375), btnAgree->sizeHint().height());
}

void TMessageBox2::SetPresetMessage(int code)
{
  FProcType = code;
  if (code != 0)
    fnPresetMessage2(code, FMessageRec);
}

void TMessageBox2::setProcType(int value)
{
  FProcType = value;
}

void TMessageBox2::setMessageRec(const TMessage2InfoRec& value)
{
  FMessageRec = value;
  SetPresetMessage(FMessageRec.MessageType);

  for (QLabel* l : FLabelCtl) {
    l->clear();
    l->unsetCursor();
    l->setProperty(kLinkProperty, QString());
    QFont f = font();
    l->setFont(f);
    l->setPalette(palette());
  }

  setWindowTitle(FMessageRec.Title);
  const int iconSize = scaled(41);
  imgIcon->setGeometry(scaled(24), scaled(16), iconSize, iconSize);
  QStyle::StandardPixmap sp = QStyle::SP_CustomBase;
  switch (FMessageRec.DlgType) {
    case mtWarning:
      sp = QStyle::SP_MessageBoxWarning;
      break;
    case mtError:
      sp = QStyle::SP_MessageBoxCritical;
      break;
    case mtInformation:
      sp = QStyle::SP_MessageBoxInformation;
      break;
    case mtConfirmation:
      sp = QStyle::SP_MessageBoxQuestion;
      break;
    case mtCustom:
      break;
  }
  if (sp == QStyle::SP_CustomBase)
    imgIcon->clear();
  else
    imgIcon->setPixmap(style()->standardIcon(sp, nullptr, this).pixmap(scaled(32), scaled(32)));

  int formWidth = scaled(500);
  int lines = 0;
  for (int i = 0; i < Message2LineCount; ++i) {
    QLabel* l = FLabelCtl[i];
    const TMessage2CaptionRec& c = FMessageRec.Caption[i];
    l->setText(fnMessageLines(c.Text));
    setLabelColour(l, c.Color);
    if (!c.LinkURL.isEmpty()) {
      l->setProperty(kLinkProperty, c.LinkURL);
      l->setCursor(Qt::PointingHandCursor);
      setLabelColour(l, kLinkColor);
      QFont f = l->font();
      f.setUnderline(true);
      l->setFont(f);
    }
    l->adjustSize();
    l->move(scaled(kLabelLeft), scaled(kLabelTops[i]));
    formWidth = qMax(formWidth, l->x() + l->width());
    if (!c.Text.isEmpty())
      lines = i + 1;
  }

  const int clientWidth = formWidth + scaled(30);
  // The height follows the last non-empty line, so that no line is cut
  // off when empty lines stand between them; a box without lines keeps
  // the room of one.
  const int n = qMax(lines, 1);
  pnlClient->resize(clientWidth, scaled(36) + scaled(kLabelTops[n - 1]));
  int clientHeight = pnlClient->height() + scaled(kBottomPanelHeight);
  if (!pnlAgree->isHidden())
    clientHeight += scaled(kAgreePanelHeight);
  setFixedSize(clientWidth, clientHeight);

  // Buttons: the kinds of the request in table order take the free buttons.
  for (QPushButton* b : FButtonCtl) {
    b->hide();
    b->resize(scaled(75), scaled(25));
  }
  int used = 0;
  const QFontMetrics fm(font());
  for (TMsgDlgBtn kind : MsgDlgBtnOrder) {
    if (!(FMessageRec.DlgButtons & kind))
      continue;
    if (used >= 3)
      break;
    QPushButton* b = FButtonCtl[used];
    b->setVisible(true);
    b->setEnabled(true);
    b->setText(fnMsgDlgBtnCaption(kind));
    b->setProperty("ModalResult", fnMsgDlgBtnResult(kind));
    const QString custom = FMessageRec.DlgButtonCaption[used];
    if (!custom.isEmpty()) {
      b->setText(custom);
      const int wanted = static_cast<int>(fm.horizontalAdvance(custom) * 1.3);
      if (wanted > b->width())
        b->resize(wanted, b->height());
    }
    ++used;
  }

  const int g = scaled(10);
  const int m = clientWidth / 2;
  const int top = scaled(3);
  QPushButton *b1 = FButtonCtl[0], *b2 = FButtonCtl[1], *b3 = FButtonCtl[2];
  if (used == 1) {
    b1->move((clientWidth - b1->width()) / 2, top);
  } else if (used == 2) {
    b1->move(m - g - b1->width(), top);
    b2->move(m + g, top);
  } else if (used == 3) {
    b2->move((clientWidth - b2->width()) / 2, top);
    b1->move(b2->x() - g - b1->width(), top);
    b3->move(b2->x() + b2->width() + g, top);
  }

  FAgreeType = FMessageRec.Agree;
  FAgreeCaption = FMessageRec.AgreeCaption;
  FAgreeCheck = FMessageRec.AgreeCheck;
  layoutPanels();
}

void TMessageBox2::setPrepare(bool value)
{
  FPrepare = value;
  if (!value)
    return;
  SetPresetMessage(FProcType);
  pnlAgree->hide();
  setMessageRec(FMessageRec);
  if (FAgreeCaption.trimmed().isEmpty())
    FAgreeType = 0;
  if (FAgreeType != 0) {
    pnlAgree->show();
    btnAgree->setText(FAgreeCaption);
    btnAgree->setChecked(FAgreeCheck);
    if (FAgreeType == 1)
      FButtonCtl[0]->setEnabled(FAgreeCheck);
    setFixedSize(width(), height() + scaled(kAgreePanelHeight));
  }
  layoutPanels();
  pcSetFormModalResult(this, mrNone);
}

bool TMessageBox2::AgreeCheck() const
{
  return btnAgree->isChecked();
}

void TMessageBox2::setAgreeCheck(bool value)
{
  FAgreeCheck = value;
  btnAgree->setChecked(value);
}

QString TMessageBox2::fnClipboardText() const
{
  const QString rule = QString(27, QLatin1Char('-'));
  const QString crlf = QStringLiteral("\r\n");
  QString s = rule + crlf + windowTitle() + crlf + rule + crlf;
  for (const TMessage2CaptionRec& c : FMessageRec.Caption)
    s += c.Text + crlf;
  return s;
}

void TMessageBox2::keyPressEvent(QKeyEvent* e)
{
  const bool copyKey = e->key() == Qt::Key_C || (e->key() == Qt::Key_3 && (e->modifiers() & Qt::KeypadModifier));
  if ((e->modifiers() & Qt::ControlModifier) && copyKey) {
    QGuiApplication::clipboard()->setText(fnClipboardText());
    e->accept();
    return;
  }
  if (e->key() == Qt::Key_Escape) {
    e->accept();
    done(mrCancel);
    return;
  }
  // Enter is the focused button's own (it presses itself); the dialog's
  // default-button handling is not used.
  e->ignore();
}

void TMessageBox2::showEvent(QShowEvent* e)
{
  QDialog::showEvent(e);
  if (FAgreeType == 1 && !pnlAgree->isHidden()) {
    btnAgree->setFocus(Qt::OtherFocusReason);
    return;
  }
  const int idx = FMessageRec.DlgButtonFocusIdx;
  if (idx >= 0 && idx < 3) {
    QPushButton* b = FButtonCtl[idx];
    if (!b->isHidden() && b->isEnabled())
      b->setFocus(Qt::OtherFocusReason);
  }
}

bool TMessageBox2::eventFilter(QObject* watched, QEvent* e)
{
  if (e->type() == QEvent::MouseButtonRelease) {
    auto* l = qobject_cast<QLabel*>(watched);
    const QString url = l ? l->property(kLinkProperty).toString() : QString();
    if (!url.isEmpty()) {
      QDesktopServices::openUrl(QUrl(url));
      setLabelColour(l, kVisitedColor);
      return true;
    }
  }
  return QDialog::eventFilter(watched, e);
}

void TMessageBox2::reject()
{
  done(mrCancel);
}
