#include "ui/xKikanPanelBase.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>

namespace {
const TColor kFocusMark = RGBColor(128, 128, 128);
const TColor kDisabledFont = RGBColor(128, 128, 128);
}  // namespace

TxKikanPanelBase::TxKikanPanelBase(int ACellCount, QWidget* AParent) : QFrame(AParent)
{
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(1);
  setFocusPolicy(Qt::StrongFocus);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  setAutoFillBackground(true);
  setOwnColor(clBtnFace);
  fgLayout = true;
  resize(242, 22);
  for (int i = 0; i < ACellCount; ++i) {
    auto* cell = new QLabel(this);
    cell->setObjectName(QStringLiteral("No%1").arg(i + 1));
    cell->setProperty("Tag", i);
    cell->setAlignment(Qt::AlignCenter);
    cell->setAutoFillBackground(true);
    cell->setFocusPolicy(Qt::NoFocus);
    cell->setGeometry(4 + 18 * i, 4, 18, 18);
    cell->installEventFilter(this);
    cell->show();
    FButton.append(cell);
    FRECT.append(cell->geometry());
  }
  fgLayout = false;
}

TxKikanPanelBase::~TxKikanPanelBase() = default;

// ------------------------------------------------------------- properties

void TxKikanPanelBase::SetBackColor(TColor AValue)
{
  if (AValue == FBackColor)
    return;
  FBackColor = AValue;
  SetButtonColor();
}

void TxKikanPanelBase::SetFontColor(TColor AValue)
{
  if (AValue == FFontColor)
    return;
  FFontColor = AValue;
  SetButtonColor();
}

void TxKikanPanelBase::SetDisabelColor(TColor AValue)
{
  if (AValue == FDisabelColor)
    return;
  FDisabelColor = AValue;
  SetButtonColor();
}

void TxKikanPanelBase::SetStno(int AValue)
{
  if (AValue == FStno)
    return;
  FStno = AValue;
  iMousStartNo = FStno;
  SetButtonColor();
}

void TxKikanPanelBase::SetEdno(int AValue)
{
  if (AValue == FEdno)
    return;
  FEdno = AValue;
  iMousLastNo = FEdno;
  SetButtonColor();
}

void TxKikanPanelBase::SetKikanMove(bool AValue)
{
  if (AValue == FKikanMove)
    return;
  FKikanMove = AValue;
  if (!FKikanMove) {
    FEdno = FStno;
    iMousStartNo = iMousLastNo = FStno;
  }
  SetButtonColor();
}

// ------------------------------------------------------------- dates

TDateTime TxKikanPanelBase::fnSimeDate(TDateTime ADate, int AMonths, int ASime)
{
  if (!((ASime >= 1 && ASime <= 28) || ASime == 99)) {
    QApplication::beep();
    return ADate;
  }
  int y = 0, m = 0, d = 0;
  DecodeDate(ADate, y, m, d);
  if (d > ASime)
    ++AMonths;  // the date belongs to the next accounting month
  const TDateTime moved = IncMonth(DateOf(ADate), AMonths);
  DecodeDate(moved, y, m, d);
  return EncodeDate(y, m, ASime == 99 ? DaysInAMonth(y, m) : ASime);
}

int TxKikanPanelBase::fnSimeMonths(TDateTime AKishu, TDateTime ADate, int ASime)
{
  int y1 = 0, m1 = 0, d1 = 0, y2 = 0, m2 = 0, d2 = 0;
  DecodeDate(fnSimeDate(AKishu, 0, ASime), y1, m1, d1);
  DecodeDate(fnSimeDate(ADate, 0, ASime), y2, m2, d2);
  return 12 * (y2 - y1) + (m2 - m1);
}

// ------------------------------------------------------------- painting

void TxKikanPanelBase::setOwnColor(TColor AColor)
{
  QPalette pal = palette();
  pal.setColor(QPalette::Window, toQColor(AColor));
  setPalette(pal);
}

void TxKikanPanelBase::SetCellColors(int AIndex, TColor ABack, TColor AFont)
{
  QLabel* cell = FButton.value(AIndex);
  if (!cell)
    return;
  QPalette pal = cell->palette();
  pal.setColor(QPalette::Window, toQColor(ABack));
  pal.setColor(QPalette::WindowText, toQColor(AFont));
  cell->setPalette(pal);
}

void TxKikanPanelBase::SetCellPlain(int AIndex, bool AClearText)
{
  QLabel* cell = FButton.value(AIndex);
  if (!cell)
    return;
  cell->setEnabled(false);
  if (AClearText)
    cell->clear();
  SetCellColors(AIndex, clBtnFace, clWindowText);
}

void TxKikanPanelBase::PaintRange(int a, int b)
{
  const int lo = std::min(a, b);
  const int hi = std::max(a, b);
  for (int i = 0; i < FButton.size(); ++i) {
    if (i >= lo && i <= hi)
      SetCellColors(i, FBackColor, FFontColor);
    else if (KakuteiCell(i))
      SetCellColors(i, KakuteiBack(), KakuteiFont());
    else
      SetCellColors(i, clBtnFace, clWindowText);
  }
}

void TxKikanPanelBase::SetButtonColor()
{
  const int lo = std::min(FStno, FEdno);
  const int hi = std::max(FStno, FEdno);
  if (!isEnabled()) {
    for (int i = 0; i < FButton.size(); ++i)
      SetCellColors(i, (i >= lo && i <= hi) ? FDisabelColor : clBtnFace, kDisabledFont);
  } else {
    PaintRange(lo, hi);
  }
  update();
}

void TxKikanPanelBase::LayoutCells()
{
  const int n = std::min(LayoutCellCount(), static_cast<int>(FButton.size()));
  if (n <= 0)
    return;
  fgLayout = true;
  const int w = std::max(1, (width() - 8) / n);
  const int snapped = n * w + 8;
  if (width() != snapped)
    resize(snapped, height());
  const int wider = width() - n * w - 8;
  const int h = std::max(1, height() - 6);
  int left = 4;
  for (int i = 0; i < n; ++i) {
    const int cw = w + (i < wider ? 1 : 0);
    FButton[i]->setFont(font());
    FButton[i]->setGeometry(left, 3, cw, h);
    FRECT[i] = FButton[i]->geometry();
    left += cw;
  }
  fgLayout = false;
  SetButtonColor();
}

void TxKikanPanelBase::ProcessPending()
{
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// ------------------------------------------------------------- mouse

void TxKikanPanelBase::ButtonDblClick(QLabel*)
{
  emit OnDblClick();
}

void TxKikanPanelBase::ButtonMouseDown(QLabel* ACell, QMouseEvent* AEvent)
{
  if (AEvent->button() == Qt::LeftButton) {
    setFocus(Qt::MouseFocusReason);
    const int i = ACell->property("Tag").toInt();
    if (i > FKikan) {
      iMousStartNo = FStno;
      iMousLastNo = FEdno;
      return;
    }
    iMousStartNo = iMousLastNo = i;
    FFlag = true;
    PaintRange(i, i);
  }
  emit OnMouseDown(AEvent->button(), AEvent->modifiers(), AEvent->position().toPoint());
}

void TxKikanPanelBase::ButtonMouseMove(QLabel* ACell, QMouseEvent* AEvent)
{
  if (!FKikanMove || !FFlag)
    return;
  const QPoint at = ACell->mapTo(this, AEvent->position().toPoint());
  for (int i = 0; i < FRECT.size(); ++i) {
    if (FRECT[i].contains(at)) {
      if (FButton[i]->isEnabled())
        iMousLastNo = i;
      break;
    }
  }
  PaintRange(iMousStartNo, iMousLastNo);
}

void TxKikanPanelBase::ButtonMouseUp(QLabel*, QMouseEvent* AEvent)
{
  if (AEvent->button() != Qt::LeftButton)
    return;
  FFlag = false;
  FStno = std::min(iMousStartNo, iMousLastNo);
  FEdno = std::max(iMousStartNo, iMousLastNo);
  SetButtonColor();
  emit OnMouseUp(AEvent->button(), AEvent->modifiers(), AEvent->position().toPoint());
}

bool TxKikanPanelBase::eventFilter(QObject* AWatched, QEvent* AEvent)
{
  auto* cell = qobject_cast<QLabel*>(AWatched);
  if (!cell || !FButton.contains(cell))
    return QFrame::eventFilter(AWatched, AEvent);
  switch (AEvent->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
      // Disabled cells (before the data start, after the year end) cannot
      // be pressed; the selector as a whole takes no input while disabled.
      if (!isEnabled())
        return true;
      auto* me = static_cast<QMouseEvent*>(AEvent);
      if (AEvent->type() == QEvent::MouseMove) {
        ButtonMouseMove(cell, me);
        return true;
      }
      if (!cell->isEnabled())
        return true;
      if (AEvent->type() == QEvent::MouseButtonPress)
        ButtonMouseDown(cell, me);
      else if (AEvent->type() == QEvent::MouseButtonRelease)
        ButtonMouseUp(cell, me);
      else
        ButtonDblClick(cell);
      return true;
    }
    default:
      return QFrame::eventFilter(AWatched, AEvent);
  }
}

// ------------------------------------------------------------- keyboard

void TxKikanPanelBase::keyPressEvent(QKeyEvent* AEvent)
{
  const int key = AEvent->key();
  const int lo = KeyLowerBound();
  const int hi = KeyUpperBound();
  switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right: {
      FKbdMouse = true;
      const int step = key == Qt::Key_Left ? -1 : 1;
      if (AEvent->modifiers() == Qt::ShiftModifier && FKikanMove) {
        const int end = iMousLastNo + step;
        if (end >= lo && end <= hi)
          iMousLastNo = end;
        FStno = iMousStartNo;
        FEdno = iMousLastNo;
        PaintRange(iMousStartNo, iMousLastNo);
      } else {
        if (step < 0 && iMousStartNo > lo) {
          --iMousStartNo;
          iMousLastNo = iMousStartNo;
        } else if (step > 0 && iMousStartNo < hi) {
          ++iMousStartNo;
          iMousLastNo = iMousStartNo;
        } else if (step > 0 && RightWrapTarget() >= 0) {
          iMousStartNo = iMousLastNo = RightWrapTarget();
        }
        FStno = iMousStartNo;
        FEdno = iMousLastNo;
        SetButtonColor();
      }
      AEvent->accept();
      return;
    }
    case Qt::Key_Up:
      focusPreviousChild();
      AEvent->accept();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      FKbdMouse = false;
      emit OnMouseUp(Qt::LeftButton, Qt::NoModifier, QPoint(0, 0));
      AEvent->accept();
      focusNextChild();
      return;
    default:
      QFrame::keyPressEvent(AEvent);
  }
}

void TxKikanPanelBase::keyReleaseEvent(QKeyEvent* AEvent)
{
  if (AEvent->key() == Qt::Key_Shift && FStno > FEdno) {
    std::swap(FStno, FEdno);
    SetButtonColor();
  }
  QFrame::keyReleaseEvent(AEvent);
}

void TxKikanPanelBase::focusInEvent(QFocusEvent* AEvent)
{
  FKbdMouse = false;
  setOwnColor(kFocusMark);
  QFrame::focusInEvent(AEvent);
}

void TxKikanPanelBase::focusOutEvent(QFocusEvent* AEvent)
{
  setOwnColor(clBtnFace);
  FFlag = false;
  if (FKbdMouse) {
    emit OnMouseUp(Qt::LeftButton, Qt::NoModifier, QPoint(0, 0));
    FKbdMouse = false;
  }
  QFrame::focusOutEvent(AEvent);
}

void TxKikanPanelBase::resizeEvent(QResizeEvent* AEvent)
{
  QFrame::resizeEvent(AEvent);
  if (!fgLayout)
    LayoutCells();
}

void TxKikanPanelBase::changeEvent(QEvent* AEvent)
{
  QFrame::changeEvent(AEvent);
  if (AEvent->type() == QEvent::EnabledChange) {
    SetButtonColor();
  } else if (AEvent->type() == QEvent::FontChange) {
    for (QLabel* cell : std::as_const(FButton))
      cell->setFont(font());
    SetButtonColor();
  }
}
