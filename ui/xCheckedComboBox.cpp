#include "ui/xCheckedComboBox.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QEnterEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QVBoxLayout>

#include "ui/AbacorEditLib.h"

namespace {

// The arrow pictures, drawn once: 16 x 16, a button face with a triangle.
QPixmap arrowPicture(const QString& AState)
{
  QPixmap pm(16, 16);
  QColor face(0xF0, 0xF0, 0xF0);
  QColor mark(Qt::black);
  if (AState == QLatin1String("DROPDOWN_HOT"))
    face = QColor(0xE5, 0xF1, 0xFB);
  else if (AState == QLatin1String("DROPDOWN_PRESS"))
    face = QColor(0xCC, 0xE4, 0xF7);
  else if (AState == QLatin1String("DROPDOWN_GRAY"))
    mark = QColor(0xA0, 0xA0, 0xA0);
  pm.fill(face);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(mark);
  QPainterPath tri;
  tri.moveTo(4, 6);
  tri.lineTo(12, 6);
  tri.lineTo(8, 11);
  tri.closeSubpath();
  p.drawPath(tri);
  p.setPen(QColor(0xAD, 0xAD, 0xAD));
  p.setBrush(Qt::NoBrush);
  p.drawRect(0, 0, 15, 15);
  return pm;
}

// A text between the quote, a quote inside it doubled.
QString quoted(const QString& AText, QChar AQuote)
{
  QString t = AText;
  t.replace(AQuote, QString(2, AQuote));
  return AQuote + t + AQuote;
}

}  // namespace

TxCheckedComboBox::TxCheckedComboBox(QWidget* AParent) : QWidget(AParent)
{
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled, false);

  FPanel = new QLabel(this);
  FPanel->setFrameStyle(QFrame::Box | QFrame::Plain);
  FPanel->setLineWidth(1);
  FPanel->setAutoFillBackground(true);
  FPanel->setFocusPolicy(Qt::NoFocus);
  FPanel->setContentsMargins(2, 0, 0, 0);
  FPanel->installEventFilter(this);

  FArrow = new QLabel(this);
  FArrow->setScaledContents(true);
  FArrow->setFocusPolicy(Qt::NoFocus);
  FArrow->setMouseTracking(true);
  FArrow->installEventFilter(this);

  FDropForm = new QFrame(this, Qt::Popup | Qt::FramelessWindowHint);
  FDropForm->setAutoFillBackground(true);
  FDropForm->setBackgroundRole(QPalette::Base);
  auto* lay = new QVBoxLayout(FDropForm);
  lay->setContentsMargins(0, 0, 0, 0);
  FList = new QListWidget(FDropForm);
  FList->setFrameShape(QFrame::NoFrame);
  FList->setUniformItemSizes(true);
  FList->setContextMenuPolicy(Qt::CustomContextMenu);
  FList->installEventFilter(this);
  lay->addWidget(FList);
  FDropForm->installEventFilter(this);

  FMenu = new QMenu(FList);
  FActAll = FMenu->addAction(FCapSelectAll);
  FActNone = FMenu->addAction(FCapDeSelectAll);
  connect(FActAll, &QAction::triggered, this, [this] { SetCheckedAll(this); });
  connect(FActNone, &QAction::triggered, this, [this] { SetUnCheckedAll(this); });
  connect(FList, &QListWidget::customContextMenuRequested, this,
          [this](const QPoint& p) { FMenu->popup(FList->viewport()->mapToGlobal(p)); });
  connect(FList, &QListWidget::itemChanged, this, [this](QListWidgetItem* it) { onItemChanged(it); });

  resize(120, 20);
  FDropDownWidth = 120;
  layoutParts();
  setArrow(QStringLiteral("DROPDOWN_NORMAL"));
  updatePanelColors();
  updateDisplay();
}

TxCheckedComboBox::~TxCheckedComboBox() = default;

QSize TxCheckedComboBox::sizeHint() const
{
  // As high as an edit of the font without the three-dimensional look.
  return {120, fontMetrics().height() + 6};
}

void TxCheckedComboBox::layoutParts()
{
  const int h = fontMetrics().height() + 6;
  if (height() != h) {
    setFixedHeight(h);
    return;  // the resize lays the parts out
  }
  const int w = width();
  FPanel->setGeometry(0, 0, std::max(0, w), h);
  FArrow->setGeometry(w - h + 1, 1, h - 2, h - 2);
  FArrow->raise();
}

void TxCheckedComboBox::resizeEvent(QResizeEvent* e)
{
  QWidget::resizeEvent(e);
  layoutParts();
}

void TxCheckedComboBox::changeEvent(QEvent* e)
{
  QWidget::changeEvent(e);
  if (e->type() == QEvent::FontChange) {
    FPanel->setFont(font());
    layoutParts();
  } else if (e->type() == QEvent::EnabledChange) {
    FArrow->setEnabled(isEnabled());
    FPanel->setEnabled(isEnabled());
    setArrow(isEnabled() ? QStringLiteral("DROPDOWN_NORMAL") : QStringLiteral("DROPDOWN_GRAY"));
    updatePanelColors();
  }
}

void TxCheckedComboBox::updatePanelColors()
{
  QPalette pal = FPanel->palette();
  const QPalette own = palette();
  if (!isEnabled()) {
    pal.setColor(QPalette::Window, own.color(QPalette::Button));
    pal.setColor(QPalette::WindowText, Qt::gray);
  } else if (hasFocus()) {
    pal.setColor(QPalette::Window, own.color(QPalette::Highlight));
    pal.setColor(QPalette::WindowText, Qt::white);
  } else {
    pal.setColor(QPalette::Window, own.color(QPalette::Base));
    pal.setColor(QPalette::WindowText, own.color(QPalette::Text));
  }
  for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    pal.setColor(g, QPalette::Window, pal.color(QPalette::Window));
    pal.setColor(g, QPalette::WindowText, pal.color(QPalette::WindowText));
  }
  FPanel->setPalette(pal);
}

void TxCheckedComboBox::setArrow(const QString& AState)
{
  if (FArrowState == AState)
    return;
  FArrowState = AState;
  FArrow->setPixmap(arrowPicture(AState));
}

void TxCheckedComboBox::focusInEvent(QFocusEvent* e)
{
  QWidget::focusInEvent(e);
  updatePanelColors();
}

void TxCheckedComboBox::focusOutEvent(QFocusEvent* e)
{
  QWidget::focusOutEvent(e);
  updatePanelColors();
}

void TxCheckedComboBox::leaveEvent(QEvent* e)
{
  QWidget::leaveEvent(e);
  if (!DroppedDown() && isEnabled() && !FArrow->rect().contains(FArrow->mapFromGlobal(QCursor::pos())))
    setArrow(QStringLiteral("DROPDOWN_NORMAL"));
}

// ------------------------------------------------------------ the checked set

void TxCheckedComboBox::SetItems(const QStringList& AItems)
{
  FItems = AItems;
  if (FSorted)
    FItems.sort();
  FCheckedRows.clear();
  updateDisplay();
  fillList();
}

void TxCheckedComboBox::SetSorted(bool AValue)
{
  FSorted = AValue;
  if (FSorted)
    SetItems(FItems);
}

void TxCheckedComboBox::SetColumns(int AValue)
{
  FColumns = AValue;
}

void TxCheckedComboBox::SetDropDownLines(int AValue)
{
  if (AValue >= 1 && AValue <= 20)
    FDropDownLines = AValue;
}

void TxCheckedComboBox::SetEmptyValue(const QString& AValue)
{
  FEmptyValue = AValue;
  updateDisplay();
}

void TxCheckedComboBox::SetSortDisplay(bool AValue)
{
  FSortDisplay = AValue;
  updateDisplay();
}

void TxCheckedComboBox::SetDispStyle(TCHBDispStyle AValue)
{
  FDispStyle = AValue;
  updateDisplay();
}

void TxCheckedComboBox::SetKensuValueFormat(const QString& AValue)
{
  FKensuValueFormat = AValue;
  updateDisplay();
}

void TxCheckedComboBox::fillList()
{
  FFilling = true;
  FList->clear();
  for (const QString& t : FItems) {
    auto* it = new QListWidgetItem(t, FList);
    it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    it->setCheckState(Qt::Unchecked);
  }
  FFilling = false;
}

QString TxCheckedComboBox::DisplayText() const
{
  if (FCheckedRows.isEmpty())
    return FEmptyValue;
  if (FDispStyle == dsKensu) {
    if (FCheckedRows.size() == 1)
      return FItems.value(FCheckedRows.first());
    QString t = FKensuValueFormat;
    return t.replace(QStringLiteral("%d"), QString::number(FCheckedRows.size()));
  }
  QStringList texts;
  if (FSortDisplay) {
    for (int r = 0; r < FItems.size(); ++r)
      if (FCheckedRows.contains(r))
        texts << FItems.at(r);
  } else {
    for (int r : FCheckedRows)
      texts << FItems.value(r);
  }
  return texts.join(QLatin1Char(','));
}

void TxCheckedComboBox::updateDisplay()
{
  FPanel->setText(DisplayText());
}

void TxCheckedComboBox::change()
{
  updateDisplay();
  if (OnChange)
    OnChange(this);
}

void TxCheckedComboBox::uncheckAllRows()
{
  FFilling = true;
  for (int r = 0; r < FList->count(); ++r)
    FList->item(r)->setCheckState(Qt::Unchecked);
  FFilling = false;
  FCheckedRows.clear();
}

void TxCheckedComboBox::onItemChanged(QListWidgetItem* AItem)
{
  if (FFilling)
    return;
  const int row = FList->row(AItem);
  if (row < 0)
    return;
  if (AItem->checkState() == Qt::Checked) {
    if (!FMultiSelect) {
      FFilling = true;
      for (int r : FCheckedRows)
        if (r != row)
          FList->item(r)->setCheckState(Qt::Unchecked);
      FFilling = false;
      FCheckedRows.clear();
    }
    if (!FCheckedRows.contains(row))
      FCheckedRows.append(row);
  } else {
    FCheckedRows.removeAll(row);
  }
  change();
  if (OnClickCheck)
    OnClickCheck(this);
}

bool TxCheckedComboBox::IsChecked(int AIndex) const
{
  return AIndex >= 0 && AIndex < FList->count() && FCheckedRows.contains(AIndex);
}

void TxCheckedComboBox::SetChecked(int AIndex, bool AChecked)
{
  if (AIndex < 0 || AIndex >= FList->count())
    return;
  const bool now = FCheckedRows.contains(AIndex);
  if (AChecked && !now) {
    if (!FMultiSelect)
      SetUnCheckedAll(this);
    FCheckedRows.append(AIndex);
    FFilling = true;
    FList->item(AIndex)->setCheckState(Qt::Checked);
    FFilling = false;
    change();
  } else if (!AChecked && now) {
    FCheckedRows.removeAll(AIndex);
    FFilling = true;
    FList->item(AIndex)->setCheckState(Qt::Unchecked);
    FFilling = false;
    change();
  }
}

void TxCheckedComboBox::SetCheckedAll(QObject*)
{
  if (!FMultiSelect)
    return;
  FFilling = true;
  FCheckedRows.clear();
  for (int r = 0; r < FList->count(); ++r) {
    FList->item(r)->setCheckState(Qt::Checked);
    FCheckedRows.append(r);
  }
  FFilling = false;
  change();
  update();
}

void TxCheckedComboBox::SetUnCheckedAll(QObject*)
{
  uncheckAllRows();
  change();
}

void TxCheckedComboBox::Clear()
{
  FCheckedRows.clear();
  updateDisplay();
  FItems.clear();
  FFilling = true;
  FList->clear();
  FFilling = false;
  SetTopItemIndex(0);
}

QStringList TxCheckedComboBox::CheckedItems() const
{
  QStringList out;
  if (FCheckedRows.isEmpty())
    return out;
  for (int r = 0; r < FItems.size(); ++r) {
    if (!FCheckedRows.contains(r))
      continue;
    QString t = FItems.at(r);
    if (FKeyUse) {
      if (FKeyLength > 0)
        t = t.left(FKeyLength);
      if (!FKeyDelimiter.isEmpty()) {
        const qsizetype p = t.indexOf(FKeyDelimiter);
        if (p >= 0)
          t = t.left(p);
      }
    }
    out << t;
  }
  return out;
}

QString TxCheckedComboBox::GetText() const
{
  QStringList parts;
  for (int r : FCheckedRows) {
    const QString t = FItems.value(r);
    switch (FQuoteStyle) {
      case qsSingle:
        parts << quoted(t, QLatin1Char('\''));
        break;
      case qsDouble:
        parts << quoted(t, QLatin1Char('"'));
        break;
      default:
        parts << t;
        break;
    }
  }
  return parts.join(QLatin1Char(','));
}

int TxCheckedComboBox::TopItemIndex() const
{
  return FList->currentRow();
}

void TxCheckedComboBox::SetTopItemIndex(int AValue)
{
  if (AValue == -1 || FList->count() == 0)
    return;
  FList->setCurrentRow(AValue >= FList->count() ? 0 : AValue);
}

// ------------------------------------------------------------ open and close

bool TxCheckedComboBox::DroppedDown() const
{
  return FDropForm->isVisible();
}

void TxCheckedComboBox::DropDown()
{
  setArrow(QStringLiteral("DROPDOWN_PRESS"));
  setFocus();
  if (DroppedDown()) {
    // The arrow of an open list closes it.
    CloseUp();
    return;
  }
  if (FList->count() == 0) {
    setArrow(QStringLiteral("DROPDOWN_NORMAL"));
    return;
  }
  if (OnClick)
    OnClick(this);
  int rows = FDropDownLines;
  if (FColumns < 2)
    rows = std::min(rows, FList->count());
  else
    rows = FList->count() / FColumns + 1;
  rows = std::clamp(rows, 1, 20);
  FActAll->setText(FCapSelectAll);
  FActNone->setText(FCapDeSelectAll);
  FActAll->setEnabled(FMultiSelect);
  FDropForm->setFont(font());
  FList->setFont(font());
  const int w = std::max(width(), FDropDownWidth);
  const int rowHeight = std::max(1, FList->sizeHintForRow(0));
  const int h = rowHeight * rows + 4;
  if (FColumns >= 2) {
    FList->setFlow(QListView::TopToBottom);
    FList->setWrapping(true);
    FList->setGridSize(QSize(w / FColumns, rowHeight));
  } else {
    FList->setFlow(QListView::TopToBottom);
    FList->setWrapping(false);
    FList->setGridSize(QSize());
  }
  QPoint at = mapToGlobal(QPoint(0, height()));
  const QScreen* scr = screen();
  if (scr && at.y() + h > scr->geometry().bottom() - 20)
    at = mapToGlobal(QPoint(0, 0)) - QPoint(0, h);
  FDropForm->setGeometry(QRect(at, QSize(w, h)));
  FDropForm->show();
  FList->setFocus();
  if (FList->currentRow() < 0)
    FList->setCurrentRow(0);
  update();
  if (OnButtonClick)
    OnButtonClick(this);
}

void TxCheckedComboBox::CloseUp()
{
  if (DroppedDown())
    FDropForm->hide();
}

void TxCheckedComboBox::closeAndMove(int AMove)
{
  CloseUp();
  if (AMove != 0)
    pcMoveFocus(this, AMove > 0);
}

bool TxCheckedComboBox::eventFilter(QObject* AObject, QEvent* AEvent)
{
  const QEvent::Type t = AEvent->type();
  if (AObject == FArrow) {
    if (t == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(AEvent)->button() == Qt::LeftButton && isEnabled()) {
      DropDown();
      return true;
    }
    if (t == QEvent::Enter && !DroppedDown() && isEnabled())
      setArrow(QStringLiteral("DROPDOWN_HOT"));
    if (t == QEvent::Leave && !DroppedDown() && isEnabled())
      setArrow(QStringLiteral("DROPDOWN_NORMAL"));
  } else if (AObject == FPanel) {
    if (t == QEvent::MouseButtonPress && isEnabled()) {
      setFocus(Qt::MouseFocusReason);
      if (OnPanelClick)
        OnPanelClick(this);
      return true;
    }
  } else if (AObject == FDropForm) {
    if (t == QEvent::MouseButtonPress) {
      // A press outside the open list closes it. On the arrow that press
      // only closes: it is not handed on to open the list again.
      const auto* me = static_cast<QMouseEvent*>(AEvent);
      const QPoint global = me->globalPosition().toPoint();
      if (!FDropForm->rect().contains(FDropForm->mapFromGlobal(global))) {
        const QPoint local = FArrow->mapFromGlobal(global);
        const bool onArrow =
            local.x() > 0 && local.y() > 0 && local.x() < FArrow->width() - 1 && local.y() < FArrow->height() - 1;
        FDropForm->setAttribute(Qt::WA_NoMouseReplay, onArrow);
      }
    } else if (t == QEvent::Hide) {
      setArrow(isEnabled() ? QStringLiteral("DROPDOWN_NORMAL") : QStringLiteral("DROPDOWN_GRAY"));
      update();
      setFocus();
      updatePanelColors();
      if (OnCloseUp)
        OnCloseUp(this);
    }
  } else if (AObject == FList && t == QEvent::KeyPress) {
    auto* ke = static_cast<QKeyEvent*>(AEvent);
    const Qt::KeyboardModifiers mods = ke->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    switch (ke->key()) {
      case Qt::Key_Escape:
        closeAndMove(0);
        return true;
      case Qt::Key_Tab:
      case Qt::Key_Return:
      case Qt::Key_Enter:
        if (mods == Qt::NoModifier) {
          closeAndMove(1);
          return true;
        }
        break;
      case Qt::Key_Backtab:
        closeAndMove(-1);
        return true;
      default:
        break;
    }
  }
  return QWidget::eventFilter(AObject, AEvent);
}

void TxCheckedComboBox::keyPressEvent(QKeyEvent* e)
{
  const bool plain = fnNoModifier(e->modifiers());
  if (e->key() == Qt::Key_F4 && plain) {
    DropDown();
    return;
  }
  if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && plain) {
    pcMoveFocus(this, true);
    return;
  }
  QWidget::keyPressEvent(e);
}

void TxCheckedComboBox::mousePressEvent(QMouseEvent* e)
{
  if (e->button() == Qt::LeftButton)
    setFocus(Qt::MouseFocusReason);
  QWidget::mousePressEvent(e);
}
