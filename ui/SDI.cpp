#include "ui/SDI.h"

#include <cmath>

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMetaMethod>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>
#include <QWindow>

#include "acctables/AccGengo.h"
#include "common/AccDateText.h"
#include "common/AccFunction.h"
#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "common/MessageHook.h"
#include "db/Transaction.h"
#include "ui/AbacorEdit.h"
#include "ui/AbacorExDateEdit.h"
#include "ui/AccFunctionUi.h"
#include "ui/GridHelpers.h"
#include "ui/GridStyles.h"
#include "ui/HtmlManual.h"
#include "ui/ImeHook.h"
#include "ui/SDIZoom.h"
#include "ui/ScreenCursor.h"
#include "ui/xEdit.h"
#include "ui/xKikanPanel12.h"
#include "ui/xKikanPanel16.h"
#include "ui/xKikanPanel4.h"
#include "ui/xPlButton.h"
#include "ui/z5MessageDlg2.h"

TMenuSousaProc MenuSousaProc;
TZoomProc ZoomProc;

namespace {
IFormSizeStore* gFormSizeStore = nullptr;

// Whether anything handles a button's clicks. The question is protected in
// QObject; a derived class may name it, and the member pointer it yields
// applies to any object.
struct TButtonPeek : QObject {
  static bool connected(QObject* AObject, const QMetaMethod& ASignal)
  {
    bool (QObject::*isConnected)(const QMetaMethod&) const = &TButtonPeek::isSignalConnected;
    return (AObject->*isConnected)(ASignal);
  }
  static bool hasClickHandler(QWidget* AButton)
  {
    if (qobject_cast<QAbstractButton*>(AButton))
      return connected(AButton, QMetaMethod::fromSignal(&QAbstractButton::clicked));
    if (qobject_cast<TxPlButton*>(AButton))
      return connected(AButton, QMetaMethod::fromSignal(&TxPlButton::clicked));
    return false;
  }
  static void click(QWidget* AButton)
  {
    if (auto* b = qobject_cast<QAbstractButton*>(AButton))
      b->click();
    else if (auto* p = qobject_cast<TxPlButton*>(AButton))
      p->Click();
  }
};
QPointer<QWidget> gMainForm;

// An edit or a memo, or the viewport of a memo (where a memo's context menu
// request arrives).
bool isEditOrMemo(QWidget* AWidget)
{
  const auto isMemo = [](QWidget* w) { return qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QTextEdit*>(w); };
  if (qobject_cast<QLineEdit*>(AWidget) || isMemo(AWidget))
    return true;
  QWidget* parent = AWidget->parentWidget();
  return parent && isMemo(parent) && static_cast<QAbstractScrollArea*>(parent)->viewport() == AWidget;
}
}  // namespace

void pcSetFormSizeStore(IFormSizeStore* AStore)
{
  gFormSizeStore = AStore;
}

IFormSizeStore* fnFormSizeStore()
{
  return gFormSizeStore;
}

void TBSDI::SetMainForm(QWidget* AForm)
{
  gMainForm = AForm;
  pcApplyScreenMetrics();
}

QWidget* TBSDI::MainForm()
{
  return gMainForm;
}

// ---------------------------------------------------------------- creation

TBSDI::TBSDI(QWidget* AParent, TFormBorderStyle ABorderStyle) : QDialog(AParent), FBorderStyle(ABorderStyle)
{
  resize(642, 384);
  setSizeGripEnabled(false);
  if (ABorderStyle == bsDialog || ABorderStyle == bsSingle || ABorderStyle == bsToolWindow)
    setWindowFlags(windowFlags() & ~Qt::WindowMaximizeButtonHint);
  setToolTipDuration(-1);
  setAttribute(Qt::WA_DeleteOnClose, true);

  // Flags by border style: a dialog-style form starts with all five off.
  const bool notDialog = ABorderStyle != bsDialog;
  HistAdd = MultiShow = FormSize = AccDefRead = Zoom = notDialog;
  GridReSize = SystemDef.GridRsiz == 1;

  MojiBunkatu.SetDelimiter(QLatin1Char(','));
  pcInitMessage2InfoRec(2, MessageInfoRec);
  if (AParent)
    SetParentHandle(AParent->window());

  qApp->installEventFilter(this);
  connect(qApp, &QApplication::focusChanged, this, &TBSDI::onFocusChanged);
  AddIMEStartEndNotify(MakeIMEStartEndNotify<&TBSDI::IMEStartEndNotify>(this));
}

TBSDI::~TBSDI()
{
  // The widget's own destruction moves the focus: the form must not hear it.
  disconnect(qApp, nullptr, this, nullptr);
  qApp->removeEventFilter(this);
  RemoveIMEStartEndNotify(MakeIMEStartEndNotify<&TBSDI::IMEStartEndNotify>(this));
}

void TBSDI::FormCreate()
{
  if (FCreated)
    return;
  FCreated = true;
  presetPeriods();
}

int TBSDI::fnKikanCellNo(int AMonth)
{
  if (AMonth >= 1 && AMonth <= 12)
    return AMonth - 1 + (AMonth - 1) / 3;
  return 0;
}

void TBSDI::presetPeriods()
{
  // Without an open company there is no fiscal period to lay out.
  const bool haveYear = AccInf.KISHU != 0 && AccInf.KIMATU != 0;
  const bool special = SystemDef.ACCTIME > 0;
  if (auto* p = findChild<TxKikanPanel16*>(QStringLiteral("KikanPanel16")); p && haveYear) {
    p->SetKikan(AccInf.KISHU, AccInf.KIMATU, AccInf.KAISI, AccInf.SIME);
    if (special) {
      p->SetKessan(false);
      p->SetStno(0);
      p->SetEdno(p->KikanMove() ? 2 : 0);
    } else {
      KikanPanelStno = fnKikanCellNo(AccInf.KAISINO);
      p->SetStno(KikanPanelStno);
      p->SetEdno(p->KikanMove() ? 15 : p->Stno());
    }
  }
  if (auto* p = findChild<TxKikanPanel12*>(QStringLiteral("KikanPanel12")); p && haveYear) {
    p->SetKikan(AccInf.KISHU, AccInf.KIMATU, AccInf.KAISI, AccInf.SIME);
    if (special) {
      p->SetStno(0);
      p->SetEdno(p->KikanMove() ? 2 : 0);
    } else {
      p->SetStno(AccInf.KAISINO - 1);
      p->SetEdno(p->KikanMove() ? 11 : AccInf.KAISINO - 1);
    }
  }
  for (const char* name : {"KikanPanel4", "KikanPanel2"}) {
    auto* p = findChild<TxKikanPanel4*>(QString::fromLatin1(name));
    if (!p || !haveYear)
      continue;
    p->SetKikan(AccInf.KISHU, AccInf.KIMATU, AccInf.KAISI, AccInf.SIME);
    if (special) {
      p->SetStno(0);
      p->SetEdno(0);
      p->setEnabled(false);
    }
  }
  for (auto* e : findChildren<TAbacorExDateEdit*>()) {
    if (SystemDef.NengoSwitch == 0) {
      e->SetEditGengo(false);
      e->SetGengo(rsSeireki);
    } else {
      e->SetEditGengo(true);
      e->SetGengo(rsWareki);
    }
    e->SetGengoRec(GengoTable);
    e->SetDisableColor(clGrayText);
    e->SetDisableFontColor(clWhite);
  }
}

void TBSDI::SetParentHandle(QWidget* AValue)
{
  FParentHandle = AValue;
  if (AValue) {
    FParentTitle = AValue->windowTitle();
    if (AValue != this && windowHandle() && AValue->windowHandle())
      windowHandle()->setTransientParent(AValue->windowHandle());
  }
}

void TBSDI::SetManualFree(bool AValue)
{
  FManualFree = AValue;
  setAttribute(Qt::WA_DeleteOnClose, !AValue);
}

// ---------------------------------------------------------------- start check

void TBSDI::closeLater()
{
  // Closed from the event loop 100 ms later, never from inside the show call.
  QPointer<TBSDI> self(this);
  QTimer::singleShot(100, qApp, [self] {
    if (self)
      self->close();
  });
}

int TBSDI::fnShowDisplayCheck(TIShowType AShowType)
{
  pcSetScreenCursor(Qt::ArrowCursor);
  if (CreateCancelFlg) {
    closeLater();
    return -1;
  }
  if (!InitFlg) {
    TMessage2InfoRec info;
    pcInitMessage2InfoRec(1, info);
    info.Caption[0].Text = QStringLiteral("%1画面の初期化に失敗しました。\r処理を終了します。").arg(windowTitle());
    fnShowMessageBox2(info);
    closeLater();
    return -1;
  }
  if (AShowType == istShowModal && !MultiShow && MenuSousaProc && MenuSousaProc(10, QString()) > 0) {
    TMessage2InfoRec info;
    pcInitMessage2InfoRec(1, info);
    info.Caption[0].Text =
        QStringLiteral("メニュー以外の処理が開いています。\r全ての処理を閉じてから処理を実行してください。");
    fnShowMessageBox2(info);
    closeLater();
    return -1;
  }
  return 1;
}

int TBSDI::ShowDisplay(TIShowType AShowType)
{
  if (fnShowDisplayCheck(AShowType) == -1)
    return -1;
  if (AShowType == istShowModal)
    return exec();
  show();
  return 1;
}

// ---------------------------------------------------------------- show

void TBSDI::showEvent(QShowEvent* AEvent)
{
  FClosing = false;
  if (!ShoweEventExecFlg)
    FormShow();
  QDialog::showEvent(AEvent);
  ShowingChanged();
}

void TBSDI::FormShow()
{
  FormCreate();
  if (ShoweEventExecFlg)
    return;
  if (HistAdd) {
    PutProcRirekiInfo(0);
    SystemDef.DataUpFlg = true;
  }
  // The company's accounting information as it stands now (reports its own
  // failures); without open company data there is nothing to read.
  if (AccDefRead && DM && DM->IBDatabaseDAT.isConnected())
    DM->fnGetAccInfo();
  ResetSizeContainer();
  SetFSizeParUIControl();
  InitFormProperty();
  if (FormSize)
    GetFormSize();
  ShoweEventExecFlg = true;
}

void TBSDI::ResetSizeContainer()
{
  const int cp = SystemDef.ChoseiPixcel;
  if (IsDialogStyle() || cp < 1)
    return;
  static const QStringList keep = {QStringLiteral("pnlSwkInA"), QStringLiteral("pnlChoseiNasi"),
                                   QStringLiteral("pnlSubMenu")};
  for (QWidget* w : findChildren<QWidget*>()) {
    // The parts of composite controls are placed by their control.
    if (!fnIsPlacedByForm(w, this))
      continue;
    QWidget* parent = w->parentWidget();
    // Controls placed by a layout keep the layout's place.
    if (parent && parent->layout() && parent->layout()->indexOf(w) >= 0)
      continue;
    if (fnIsLeftAlignedPanel(w)) {
      // A panel docked at the left edge gives the pixels up from its
      // width, or takes them when it follows every edge.
      if (w->x() == 0)
        w->resize(std::max(w->width() - cp, 0), w->height());
      else if (fnIsAnchoredOnAllSides(w))
        w->resize(w->width() + cp, w->height());
      continue;
    }
    if (!parent || qobject_cast<QGroupBox*>(parent))
      continue;
    bool exempt = false;
    // Panels are frames or plain container widgets.
    const auto isPanel = [](QWidget* p) {
      return qobject_cast<QFrame*>(p) || p->metaObject() == &QWidget::staticMetaObject;
    };
    for (QWidget* p = parent; p && p != this && isPanel(p); p = p->parentWidget())
      if (keep.contains(p->objectName())) {
        exempt = true;
        break;
      }
    if (exempt)
      continue;
    w->move(std::max(w->x() - cp, 0), w->y());
  }
}

void TBSDI::SetFSizeParUIControl()
{
  applySizeConstraints();
  recordControlSizes();
  const bool hint = SystemDef.ShowHint != 0;
  setToolTipDuration(hint ? -1 : 0);
  FShowHint = hint;
  if (AccInf.ZaimuDataType == jxztCuravia) {
    // Medical-corporation data has facilities where other data has branches.
    for (QLabel* l : findChildren<QLabel*>()) {
      QString t = l->text();
      t.replace(QStringLiteral("本・支店"), QStringLiteral("施設"));
      t.replace(QStringLiteral("支店"), QStringLiteral("施設"));
      l->setText(t);
    }
  }
}

void TBSDI::InitFormProperty()
{
  const TFontInfo& now = SystemDef.NowFont;
  const TFontInfo& def = SystemDef.DefaultFont;
  const int ppi = logicalDpiY() > 0 ? logicalDpiY() : 96;
  const int p = def.Size == 10 ? ppi : 96;
  double factor = 1.0;
  if (now.Size > 0 && def.Size > 0) {
    const int a = static_cast<int>(std::lround(now.Size * ppi / 96.0));
    const int b = static_cast<int>(std::lround(def.Size * ppi / 96.0));
    Scale = b > 0 ? a * 100 / b : 100;
    ZoomDpi = static_cast<int>(std::lround(Scale * p / 100.0));
    FZoomDpiSet = true;
    factor = double(ZoomDpi) / p;
  }
  if (now.Height != 0 && def.Height != 0)
    ZoomRaito = std::trunc((std::abs(now.Height) / double(std::abs(def.Height)) + 0.000001) * 10) / 10;
  else
    ZoomRaito = 1.0;
  // The form and its widgets scale by ZoomDpi / P, its tables and trees by
  // ZoomRaito; the form is drawn once, at the new size.
  {
    TUpdateLock lock(this);
    applyZoom(factor);
    if (!now.Name.isEmpty() && now.Size > 0) {
      QFont f(now.Name);
      f.setPointSize(now.Size);
      setFont(f);
    }
  }
  // The grid styles take the form's font and the operator's colours.
  fnFormStyleRepoDef(this)->ApplySystemDef(SystemDef, font());
  pcApplyScreenMetrics();
}

void TBSDI::SetGridViewStyles(TxGridView* AView, bool ASwap)
{
  pcSetGridViewStyles(AView, fnFormStyleRepoDef(this), ASwap);
}

int TBSDI::PixelsPerInch() const
{
  return FZoomDpiSet ? ZoomDpi : logicalDpiY();
}

void TBSDI::applySizeConstraints()
{
  FMinWidth = FMinHeight = 0;
  FMaxWidth = FMaxHeight = 0;
  if (FormSize && !IsDialogStyle()) {
    FMinWidth = static_cast<int>(width() * 0.6);
    FMinHeight = static_cast<int>(height() * 0.6);
  }
  // On screens of 96 pixels per inch or less a form grows no larger than
  // the screen.
  const QScreen* s = screen();
  if (s && PixelsPerInch() <= 96) {
    FMaxWidth = s->geometry().width();
    FMaxHeight = s->geometry().height();
  }
  // A form of fixed size keeps it; the values above are only recorded.
  if (minimumSize() == maximumSize())
    return;
  setMinimumSize(FMinWidth, FMinHeight);
  setMaximumSize(FMaxWidth > 0 ? FMaxWidth : QWIDGETSIZE_MAX, FMaxHeight > 0 ? FMaxHeight : QWIDGETSIZE_MAX);
}

void TBSDI::ShowingChanged()
{
  SystemDef.ZenkaiMenuWinState = wsNormal;
  if (MenuSousaProc) {
    if (MenuMin && MenuSousaProc(10, QString()) > 0)
      MenuMin = false;
    if (MenuMin)
      SystemDef.ZenkaiMenuWinState = static_cast<TWindowState>(MenuSousaProc(11, QStringLiteral("TessalyMenu")));
    MenuSousaProc(4, QString());
  }
  pcSetScreenCursor(Qt::ArrowCursor);
}

void TBSDI::ZoomActive()
{
  if (ZoomProc)
    ZoomProc(Zoom, ZoomRank);
}

bool TBSDI::event(QEvent* AEvent)
{
  if (AEvent->type() == QEvent::WindowActivate)
    ZoomActive();
  else if (AEvent->type() == QEvent::WindowDeactivate)
    DeactivateFlg = true;
  return QDialog::event(AEvent);
}

// ---------------------------------------------------------------- close

void TBSDI::runCloseOnce()
{
  if (FClosing)
    return;
  FClosing = true;
  FormClose();
}

void TBSDI::FormClose()
{
  pcSetScreenCursor(Qt::WaitCursor);
  try {
    if (FormSize && !CreateCancelFlg) {
      PutFormSize();
      FreeControlSize();
    }
    if (HistAdd && FHistoryStarted)
      PutProcRirekiInfo(1);
  } catch (...) {
    SetImeConversion(this, 1);
    pcSetScreenCursor(Qt::ArrowCursor);
    setAttribute(Qt::WA_DeleteOnClose, !FManualFree);
    throw;
  }
  // The input method is left open for what comes next, its mode kept.
  SetImeConversion(this, 1);
  pcSetScreenCursor(Qt::ArrowCursor);
  setAttribute(Qt::WA_DeleteOnClose, !FManualFree);
}

void TBSDI::done(int AResult)
{
  runCloseOnce();
  QDialog::done(AResult);
}

void TBSDI::closeEvent(QCloseEvent* AEvent)
{
  runCloseOnce();
  if (isVisible())
    QDialog::done(result() != 0 ? result() : mrCancel);
  AEvent->accept();
}

// ---------------------------------------------------------------- keys

void TBSDI::keyPressEvent(QKeyEvent* AEvent)
{
  // Esc and Enter are the form's own business on key release; QDialog's
  // rejection on Esc and default button on Enter do not apply.
  switch (AEvent->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      AEvent->ignore();
      return;
    default:
      QDialog::keyPressEvent(AEvent);
  }
}

void TBSDI::FormKeyUp(QKeyEvent* AEvent, int& AKey)
{
  if (AEvent->modifiers() != Qt::NoModifier || QApplication::mouseButtons() != Qt::NoButton)
    return;
  if (AKey == Qt::Key_Escape) {
    if (IsDialogStyle())
      close();
  } else if (AKey == Qt::Key_F12) {
    if (IsDialogStyle()) {
      QWidget* ok = Child_OKButton;
      if (ok && ok->isVisible() && ok->isEnabled() && TButtonPeek::hasClickHandler(ok)) {
        if (Child_OKButton_FocusMove)
          ok->setFocus(Qt::OtherFocusReason);
        TButtonPeek::click(ok);
        AKey = 0;
      }
    } else {
      close();
    }
  }
  FLastKey = AKey;
}

bool TBSDI::eventFilter(QObject* AWatched, QEvent* AEvent)
{
  auto* w = qobject_cast<QWidget*>(AWatched);
  if (!w || w->window() != this)
    return QDialog::eventFilter(AWatched, AEvent);
  switch (AEvent->type()) {
    case QEvent::KeyRelease: {
      auto* ke = static_cast<QKeyEvent*>(AEvent);
      if (ke->isAutoRepeat())
        break;
      if (ke->modifiers() != Qt::NoModifier || QApplication::mouseButtons() != Qt::NoButton)
        break;  // a held modifier: nothing at all, FLastKey unchanged
      int key = ke->key();
      QPointer<TBSDI> self(this);
      FormKeyUp(ke, key);
      if (!self)
        return true;
      if (key == 0)
        return true;
      break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
      if (!MouseRButtonEnable && static_cast<QMouseEvent*>(AEvent)->button() == Qt::RightButton)
        return true;
      break;
    case QEvent::ToolTip:
      if (!FShowHint)
        return true;
      break;
    case QEvent::ContextMenu:
      if (!MouseRButtonEnable && static_cast<QContextMenuEvent*>(AEvent)->reason() == QContextMenuEvent::Mouse)
        return true;
      if (MouseRButtonEnable && isEditOrMemo(w))
        return true;  // no standard context menu of edits and memos
      break;
    default:
      break;
  }
  return QDialog::eventFilter(AWatched, AEvent);
}

// ---------------------------------------------------------------- focus, hint, IME

void TBSDI::onFocusChanged(QWidget*, QWidget* ANow)
{
  if (!ANow || ANow->window() != this)
    return;
  ImeOnFlg = false;
  if (HintObject)
    SetHint(ANow, HintObject);
}

void TBSDI::SetHint(QWidget* AActiveObject, QWidget* AHintObject)
{
  if (!AActiveObject || !AHintObject)
    return;
  const QString hint = AActiveObject->toolTip();
  if (hint.isEmpty())
    return;
  const qsizetype bar = hint.indexOf(QLatin1Char('|'));
  const QString text = bar >= 0 ? hint.mid(bar + 1) : hint;
  if (auto* l = qobject_cast<QLabel*>(AHintObject))
    l->setText(text);
  else if (auto* m = qobject_cast<QPlainTextEdit*>(AHintObject))
    m->setPlainText(text);
  else if (auto* t = qobject_cast<QTextEdit*>(AHintObject))
    t->setPlainText(text);
  else if (auto* e = qobject_cast<QLineEdit*>(AHintObject))
    e->setText(text);
}

void TBSDI::IMEStartEndNotify(QWidget*, bool AStart)
{
  ImeOnFlg = AStart;
}

TMessageBox2* TBSDI::MessageBox2()
{
  if (!FMessageBox2)
    FMessageBox2 = new TMessageBox2(this);
  return FMessageBox2;
}

int TBSDI::ShowHtmlHelp()
{
  return fnHtmlHelpOpen(HelpFile);
}

// ---------------------------------------------------------------- helpers

QChar TBSDI::fnKeyRestrict(int Mode, QChar Key, const QString& buff)
{
  if (Key == QChar(8) || Key == QChar(13) || (Key >= QLatin1Char('0') && Key <= QLatin1Char('9')))
    return Key;
  switch (Mode) {
    case 1:
      return QChar(0);
    case 2:
      return Key == QLatin1Char('-') ? Key : QChar(0);
    case 3:
      if (Key == QLatin1Char('-'))
        return Key;
      if (Key == QLatin1Char('.') && !buff.contains(QLatin1Char('.')))
        return Key;
      return QChar(0);
    case 4:
      return Key == QLatin1Char('/') ? Key : QChar(0);
    default:
      return Key;
  }
}

QString TBSDI::CaretPosAddText(QWidget* ASender, const QString& AText)
{
  auto* edit = qobject_cast<QLineEdit*>(ASender);
  if (!edit || edit->text().isEmpty())
    return AText;
  QString result = edit->text();
  // The new text takes the place of the selection, or goes in at the caret.
  if (edit->hasSelectedText())
    result.replace(edit->selectionStart(), edit->selectedText().size(), AText);
  else
    result.insert(std::clamp(edit->cursorPosition(), 0, int(result.size())), AText);
  int limit = edit->maxLength();
  if (auto* x = qobject_cast<TxEdit*>(edit))
    limit = x->MaxLength();
  else if (auto* a = dynamic_cast<TAbacorEdit*>(edit))
    limit = a->MaxLength();
  if (limit > 0)
    result = fnCutStrL(result, limit, true);
  return fnTrimZen(result);
}

int TBSDI::IsKansaZumiHizuke(int AProcType, TDateTime AHizuke, int AKessan, int AShowMessage)
{
  if (!DM || !DM->IsKansaZumiHizuke(AHizuke, AKessan))
    return 0;
  if (AShowMessage == 1) {
    const QString fixDate = fnDateToWarekiText(QStringLiteral("yyyy/mm/dd"), 2, AccInf.KANSA_FIXDATE);
    QString text;
    switch (AProcType) {
      case 0:
        text = QStringLiteral("%1以前の日付は監査処理が終了しているため、入力が禁止されています。").arg(fixDate);
        break;
      case 1:
        text = QStringLiteral("この仕訳は監査処理が終了しているため、修正は禁止されています。");
        break;
      case 2:
        text = QStringLiteral("この仕訳は監査処理が終了しているため、削除は禁止されています。");
        break;
      case 3:
        text = QStringLiteral("この仕訳は監査処理が終了しているため、削除取消は禁止されています。");
        break;
      case 4:
        text = QStringLiteral("%1以前の日付は監査処理が終了しているため、転送が禁止されています。").arg(fixDate);
        break;
      case 5:
        text = QStringLiteral("%1以前の日付は監査処理が終了しているため、削除は禁止されています。").arg(fixDate);
        break;
      case 6:
        text = QStringLiteral("%1以前の日付は監査処理が終了しているため、作成が禁止されています。").arg(fixDate);
        break;
      default:
        break;
    }
    if (!text.isEmpty())
      MessageHook().ShowMessageDlg(text, mtWarning, mbOK);
  }
  return 1;
}

int TBSDI::fnGetFinNo(int Code)
{
  if (Code >= 11 && Code <= 47)
    return Code - 10;
  if (Code == 99)
    return 38;
  return 0;
}

void TBSDI::SetDaialogShowPlace(int ALeft, int ATop, int AWidth, int AHeight, TsdiDaialogShowPlace AShowPlace)
{
  QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  const QRect work = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  const int W = work.right();
  const int H = work.bottom();
  if (!FirstTimeFlg && x() > 0 && x() < W && y() > 0 && y() < H)
    return;
  QWidget* main = gMainForm;
  const bool mainShowing = main && main->isVisible();
  int left = 0;
  int top = 0;
  auto screenCentre = [&] {
    left = work.left() + (work.width() - width()) / 2;
    top = work.top() + (work.height() - height()) / 2;
  };
  switch (AShowPlace) {
    case dsCenter:
      if (mainShowing) {
        left = main->x() + SystemDef.FlameHeight + ALeft + (AWidth - width()) / 2;
        top = main->y() + SystemDef.FlameHeight + SystemDef.TittleHeight + SystemDef.MenuBarHeight +
              SystemDef.ControlBarHeight + ATop + (AHeight - height()) / 2;
      } else {
        screenCentre();
      }
      break;
    case dsOwnerCenter:
      if (mainShowing) {
        left = main->x() + (main->width() - width()) / 2;
        top = main->y() + SystemDef.FlameHeight + SystemDef.TittleHeight + SystemDef.MenuBarHeight +
              SystemDef.ControlBarHeight + (main->height() - height()) / 2;
      } else {
        screenCentre();
      }
      break;
    case dsFree:
    case dsScreenCenter:
      screenCentre();
      break;
  }
  left = std::max(left, 0);
  top = std::max(top, 0);
  if (left + width() > W)
    left = W - width();
  if (top + height() > H)
    top = H - height();
  if (IsDialogStyle()) {
    left = std::max(left, 0);
    top = std::max(top, 0);
  }
  move(left, top);
}

// ---------------------------------------------------------------- stored size

void TBSDI::GetFormSize()
{
  IFormSizeStore* store = gFormSizeStore;
  if (!store || objectName().isEmpty())
    return;
  QRect r;
  if (!store->GetFormRect(SystemDef.OPCODE, objectName(), r)) {
    const double ppi = PixelsPerInch() > 0 ? PixelsPerInch() : 96;
    const int w = ppi == 96 ? 1002 : static_cast<int>(1002 * ppi / 96);
    const int h = ppi == 96 ? 642 : static_cast<int>(642 * ppi / 96);
    r = QRect(0, 0, w, h);
    store->InsertFormRect(SystemDef.OPCODE, objectName(), r, QStringLiteral("TBSDI.GetFormSize"));
  }
  move(r.topLeft());
  resize(std::max(r.width(), minimumWidth()), std::max(r.height(), minimumHeight()));
}

void TBSDI::PutFormSize()
{
  IFormSizeStore* store = gFormSizeStore;
  if (!store || objectName().isEmpty())
    return;
  QWidget* main = gMainForm;
  QRect r;
  if (isMaximized()) {
    const QSize client = main ? main->size() : size();
    r = QRect(0, 0, client.width() - SystemDef.FlameHeight,
              client.height() - (SystemDef.ControlBarHeight + SystemDef.FlameHeight));
  } else {
    r = QRect(std::max(x(), 0), std::max(y(), 0), width(), height());
  }
  if (main) {
    if (r.top() > main->height())
      r.moveTop(0);
    if (r.left() > main->width())
      r.moveLeft(0);
  }
  store->UpdateFormRect(SystemDef.OPCODE, objectName(), r);
}

void TBSDI::SetInitFormSize(int, int, int AWidth, int AHeight, bool AReSet)
{
  IFormSizeStore* store = gFormSizeStore;
  if (!store || objectName().isEmpty())
    return;
  const int w = AWidth == 0 ? width() : AWidth;
  const int h = AHeight == 0 ? height() : AHeight;
  if (AReSet || store->CountFormRect(SystemDef.OPCODE, objectName()) == 0)
    store->InsertFormRect(SystemDef.OPCODE, objectName(), QRect(0, 0, w, h), QStringLiteral("TBSDI.InitFormSize"));
}
