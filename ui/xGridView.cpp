// The grid view of the list dialogs: columns and bands over an item model,
// style-driven drawing of cells and headers with the form's custom drawing.
#include "ui/xGridView.h"

#include <algorithm>

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStyleOption>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolTip>

#include "common/MessageHook.h"
#include "ui/GridStyles.h"
#include "ui/xGridEditors.h"

QColor fnGridColor(TColor AColor, const QColor& AFallback)
{
  if (AColor == clNone || AColor == clDefault)
    return AFallback;
  return toQColor(AColor);
}

namespace {

class TxGridDelegate : public QStyledItemDelegate {
 public:
  explicit TxGridDelegate(TxGridView* AView) : QStyledItemDelegate(AView), FView(AView) {}

  void paint(QPainter* APainter, const QStyleOptionViewItem& AOption, const QModelIndex& AIndex) const override
  {
    const TcxGridDataCellViewInfo vi = FView->CellViewInfo(AIndex, AOption);
    bool done = false;
    if (FView->OnCustomDrawCell) {
      APainter->save();
      FView->OnCustomDrawCell(FView, APainter, vi, done);
      APainter->restore();
    }
    if (done)
      return;
    FView->DrawCellValue(APainter, vi, vi.BackColor, vi.TextColor);
    if (FView->FocusRect && vi.Focused && FView->ViewFocused()) {
      QStyleOptionFocusRect fr;
      fr.rect = vi.ContentBounds.adjusted(1, 1, -1, -1);
      fr.backgroundColor = fnGridColor(vi.BackColor, Qt::white);
      FView->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &fr, APainter, FView);
    }
  }

  QSize sizeHint(const QStyleOptionViewItem& AOption, const QModelIndex& AIndex) const override
  {
    QSize s = QStyledItemDelegate::sizeHint(AOption, AIndex);
    if (FView->DataRowHeight() > 0)
      s.setHeight(FView->DataRowHeight());
    return s;
  }

  // ---- editing by the column's editor properties (xGridEditors.h)
  QWidget* createEditor(QWidget* AParent, const QStyleOptionViewItem& AOption, const QModelIndex& AIndex) const override
  {
    if (const TcxEditProperties* p = props(AIndex))
      return fnCxCreateEditor(*p, AParent);
    return QStyledItemDelegate::createEditor(AParent, AOption, AIndex);
  }

  void setEditorData(QWidget* AEditor, const QModelIndex& AIndex) const override
  {
    if (const TcxEditProperties* p = props(AIndex))
      pcCxSetEditorValue(AEditor, *p, AIndex.data(Qt::EditRole));
    else
      QStyledItemDelegate::setEditorData(AEditor, AIndex);
  }

  void setModelData(QWidget* AEditor, QAbstractItemModel* AModel, const QModelIndex& AIndex) const override
  {
    const TcxEditProperties* p = props(AIndex);
    if (!p) {
      QStyledItemDelegate::setModelData(AEditor, AModel, AIndex);
      return;
    }
    QVariant value;
    QString error;
    if (fnCxEditorValue(AEditor, *p, AIndex.data(Qt::EditRole), value, error)) {
      AModel->setData(AIndex, value, Qt::EditRole);
      return;
    }
    // The cell keeps its value; the reason is shown once the editor has
    // gone (the commit may run inside a focus change).
    if (!error.isEmpty())
      QTimer::singleShot(0, FView, [error] { MessageHook().ShowMessageDlg(error, mtWarning, mbOK); });
  }

  // A check box toggles in place: a click of the left button, or Space.
  bool editorEvent(QEvent* AEvent, QAbstractItemModel* AModel, const QStyleOptionViewItem& AOption,
                   const QModelIndex& AIndex) override
  {
    const TcxEditProperties* p = props(AIndex);
    if (!p || p->Kind != TcxEditKind::CheckBox)
      return QStyledItemDelegate::editorEvent(AEvent, AModel, AOption, AIndex);
    bool toggle = false;
    if (AEvent->type() == QEvent::MouseButtonRelease) {
      auto* me = static_cast<QMouseEvent*>(AEvent);
      toggle = me->button() == Qt::LeftButton && AOption.rect.contains(me->position().toPoint());
    } else if (AEvent->type() == QEvent::MouseButtonDblClick) {
      return true;  // the second click of a double click toggles again
    } else if (AEvent->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(AEvent)->key();
      toggle = key == Qt::Key_Space || key == Qt::Key_Select;
    }
    if (!toggle || !FView->Editing || !(AIndex.flags() & Qt::ItemIsEditable))
      return false;
    QVariant next;
    if (!fnCxToggleCheck(*p, AIndex.data(Qt::EditRole), next))
      return false;
    AModel->setData(AIndex, next, Qt::EditRole);
    return true;
  }

 private:
  const TcxEditProperties* props(const QModelIndex& AIndex) const
  {
    const int c = AIndex.column();
    return c >= 0 && c < FView->ColumnCount() ? FView->Columns(c).EditProperties() : nullptr;
  }

  TxGridView* FView;
};

bool isNumeric(const QVariant& A)
{
  switch (A.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
      return true;
    default:
      return false;
  }
}

// A cell value against the value of a check mark or a picture: numbers and
// truth values by number, anything else by its text.
bool sameValue(const QVariant& A, const QVariant& B)
{
  if (!A.isValid() || !B.isValid())
    return A.isValid() == B.isValid();
  if (A.typeId() == B.typeId())
    return A == B;
  if (isNumeric(A) && isNumeric(B))
    return A.toDouble() == B.toDouble();
  return A.toString() == B.toString();
}

}  // namespace

TxGridView::TxGridView(QWidget* AParent) : QTableView(AParent), FHeader(new TxBandedHeader(this))
{
  setHorizontalHeader(FHeader);
  verticalHeader()->hide();
  setItemDelegate(new TxGridDelegate(this));
  setVerticalScrollMode(ScrollPerItem);
  setSelectionMode(SingleSelection);
  setWordWrap(false);
  FBands << TxGridBand{};
  ApplyOptions();
}

TxGridView::~TxGridView() = default;

void TxGridView::setModel(QAbstractItemModel* AModel)
{
  if (model())
    disconnect(model(), nullptr, this, nullptr);
  QTableView::setModel(AModel);
  FColumns.clear();
  syncColumns();
  if (!AModel)
    return;
  connect(AModel, &QAbstractItemModel::columnsInserted, this, [this](const QModelIndex& p, int first, int last) {
    if (p.isValid())
      return;
    for (int c = first; c <= last; ++c)
      FColumns.insert(std::min<qsizetype>(c, FColumns.size()), TxGridColumn{});
    syncColumns();
  });
  connect(AModel, &QAbstractItemModel::columnsRemoved, this, [this](const QModelIndex& p, int first, int last) {
    if (p.isValid())
      return;
    for (int c = last; c >= first; --c)
      if (c < FColumns.size())
        FColumns.removeAt(c);
    syncColumns();
  });
  connect(AModel, &QAbstractItemModel::modelReset, this, [this] { syncColumns(); });
}

void TxGridView::syncColumns()
{
  const int n = model() ? model()->columnCount() : 0;
  while (FColumns.size() < n)
    FColumns << TxGridColumn{};
  while (FColumns.size() > n)
    FColumns.removeLast();
  for (int c = 0; c < n; ++c)
    applyHidden(c);
}

int TxGridView::ColumnCount() const
{
  return static_cast<int>(FColumns.size());
}

TxGridColumn& TxGridView::Columns(int AIndex)
{
  return FColumns[AIndex];
}

const TxGridColumn& TxGridView::Columns(int AIndex) const
{
  return FColumns[AIndex];
}

int TxGridView::ColumnByTag(int ATag) const
{
  for (int c = 0; c < ColumnCount(); ++c)
    if (FColumns[c].Tag == ATag)
      return c;
  return -1;
}

void TxGridView::applyHidden(int AIndex)
{
  const TxGridColumn& col = FColumns[AIndex];
  const bool bandHidden = col.BandIndex >= 0 && col.BandIndex < FBands.size() && !FBands[col.BandIndex].Visible;
  setColumnHidden(AIndex, !col.Visible || bandHidden);
}

void TxGridView::SetColumnVisible(int AIndex, bool AVisible)
{
  FColumns[AIndex].Visible = AVisible;
  applyHidden(AIndex);
}

bool TxGridView::ColumnVisible(int AIndex) const
{
  return AIndex >= 0 && AIndex < ColumnCount() && !isColumnHidden(AIndex);
}

void TxGridView::SetBandVisible(int ABandIndex, bool AVisible)
{
  if (ABandIndex < 0 || ABandIndex >= FBands.size())
    return;
  FBands[ABandIndex].Visible = AVisible;
  for (int c = 0; c < ColumnCount(); ++c)
    if (FColumns[c].BandIndex == ABandIndex)
      applyHidden(c);
  FHeader->viewport()->update();
}

// ---------------------------------------------------------------- records

int TxGridView::RecordCount() const
{
  return model() ? model()->rowCount() : 0;
}

int TxGridView::FocusedRecordIndex() const
{
  const QModelIndex i = currentIndex();
  return i.isValid() ? i.row() : -1;
}

void TxGridView::SetFocusedRecordIndex(int AIndex)
{
  if (!model())
    return;
  if (AIndex < 0 || AIndex >= RecordCount()) {
    setCurrentIndex(QModelIndex());
    return;
  }
  int col = FocusedColumnIndex();
  if (col < 0 || isColumnHidden(col)) {
    col = -1;
    for (int c = 0; c < ColumnCount() && col < 0; ++c)
      if (!isColumnHidden(c))
        col = c;
  }
  if (col < 0)
    col = 0;
  setCurrentIndex(model()->index(AIndex, col));
}

int TxGridView::FocusedColumnIndex() const
{
  const QModelIndex i = currentIndex();
  return i.isValid() ? i.column() : -1;
}

void TxGridView::SetFocusedColumnIndex(int AIndex)
{
  const int row = FocusedRecordIndex();
  if (!model() || row < 0 || AIndex < 0 || AIndex >= ColumnCount())
    return;
  setCurrentIndex(model()->index(row, AIndex));
}

int TxGridView::TopRecordIndex() const
{
  if (RecordCount() == 0)
    return -1;
  return rowAt(0);
}

void TxGridView::SetTopRecordIndex(int AIndex)
{
  if (RecordCount() == 0)
    return;
  AIndex = std::clamp(AIndex, 0, RecordCount() - 1);
  executeDelayedItemsLayout();
  updateGeometries();
  verticalScrollBar()->setValue(AIndex);
}

void TxGridView::MakeFocusedRecordVisible()
{
  if (currentIndex().isValid())
    scrollTo(currentIndex(), EnsureVisible);
}

void TxGridView::BeginUpdate()
{
  if (FUpdateCount++ == 0)
    setUpdatesEnabled(false);
}

void TxGridView::EndUpdate()
{
  if (FUpdateCount == 0)
    return;
  if (--FUpdateCount == 0) {
    setUpdatesEnabled(true);
    viewport()->update();
    FHeader->viewport()->update();
  }
}

// ---------------------------------------------------------------- options

void TxGridView::SetDataRowHeight(int AHeight)
{
  QHeaderView* v = verticalHeader();
  if (AHeight > 0) {
    v->setMinimumSectionSize(std::min(v->minimumSectionSize(), AHeight));
    v->setDefaultSectionSize(AHeight);
  }
}

int TxGridView::DataRowHeight() const
{
  return verticalHeader()->defaultSectionSize();
}

void TxGridView::ApplyOptions()
{
  setSelectionBehavior(CellSelect ? SelectItems : SelectRows);
  EditTriggers t = NoEditTriggers;
  if (Editing && CellSelect) {
    t = DoubleClicked | EditKeyPressed;
    if (ImmediateEditor)
      t |= AnyKeyPressed | SelectedClicked;
    if (AlwaysShowEditor)
      t |= CurrentChanged;
  }
  setEditTriggers(t);
  FHeader->updateGeometry();
  updateGeometries();
  viewport()->update();
  FHeader->viewport()->update();
}

bool TxGridView::ViewFocused() const
{
  if (hasFocus())
    return true;
  const QWidget* f = QApplication::focusWidget();
  return f && isAncestorOf(f);
}

// ---------------------------------------------------------------- drawing

TcxStyle* TxGridView::ContentStyleOf(int ARecordIndex) const
{
  if (UseOddEvenStyles) {
    // The first record is record 1, an odd one.
    TcxStyle* s = (ARecordIndex % 2 == 0) ? Styles.ContentOdd : Styles.ContentEven;
    if (s)
      return s;
  }
  return Styles.Content;
}

void TxGridView::defaultColours(const QModelIndex& AIndex, bool ASelected, TColor& ABack, TColor& AText) const
{
  ABack = clWhite;
  AText = clBlack;
  auto take = [&](const TcxStyle* s) {
    if (!s)
      return;
    if (s->Color() != clNone)
      ABack = s->Color();
    if (s->TextColor() != clNone)
      AText = s->TextColor();
  };
  take(Styles.Content);
  if (UseOddEvenStyles)
    take(AIndex.row() % 2 == 0 ? Styles.ContentOdd : Styles.ContentEven);
  if (ASelected) {
    const TcxStyle* sel = Styles.Selection;
    if (!ViewFocused() && Styles.Inactive)
      sel = Styles.Inactive;
    take(sel);
  }
}

TcxGridDataCellViewInfo TxGridView::CellViewInfo(const QModelIndex& AIndex, const QStyleOptionViewItem& AOption) const
{
  TcxGridDataCellViewInfo vi;
  vi.Index = AIndex;
  vi.RecordIndex = AIndex.row();
  vi.ColumnIndex = AIndex.column();
  vi.Bounds = AOption.rect;
  vi.ContentBounds = AOption.rect;
  vi.Value = AIndex.data(Qt::EditRole);
  vi.DisplayText = AIndex.data(Qt::DisplayRole).toString();
  if (AIndex.column() >= 0 && AIndex.column() < ColumnCount())
    if (const TcxEditProperties* p = Columns(AIndex.column()).EditProperties())
      vi.DisplayText = fnCxDisplayText(*p, vi.Value, vi.DisplayText);
  const QModelIndex cur = currentIndex();
  vi.RecordFocused = cur.isValid() && cur.row() == AIndex.row();
  vi.Focused = vi.RecordFocused && cur.column() == AIndex.column();
  vi.Selected = vi.RecordFocused && !(CellSelect && !InvertSelect && vi.Focused) && (ViewFocused() || !HideSelection);
  defaultColours(AIndex, vi.Selected, vi.BackColor, vi.TextColor);
  vi.Option = AOption;
  return vi;
}

void TxGridView::DrawCellValue(QPainter* ACanvas, const TcxGridDataCellViewInfo& AViewInfo, TColor ABackColor,
                               TColor ATextColor) const
{
  ACanvas->save();
  const QRect r = AViewInfo.ContentBounds;
  ACanvas->fillRect(r, fnGridColor(ABackColor, Qt::white));
  const QColor text = fnGridColor(ATextColor, Qt::black);
  const TcxStyle* content = ContentStyleOf(AViewInfo.RecordIndex);
  ACanvas->setFont(content && content->Font() ? *content->Font() : font());
  ACanvas->setPen(text);
  const TcxEditProperties* props = AViewInfo.ColumnIndex >= 0 && AViewInfo.ColumnIndex < ColumnCount()
                                       ? Columns(AViewInfo.ColumnIndex).EditProperties()
                                       : nullptr;
  const TcxEditKind kind = props ? props->Kind : TcxEditKind::Text;
  const Qt::Alignment align = props ? (props->AlignHorz | props->AlignVert) : (Qt::AlignLeft | Qt::AlignVCenter);
  switch (kind) {
    case TcxEditKind::CheckBox: {
      QStyleOptionButton b;
      const int side = style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this);
      b.rect = QRect(0, 0, side, side);
      b.rect.moveCenter(r.center());
      b.state = QStyle::State_Enabled |
                (sameValue(AViewInfo.Value, props->ValueChecked) ? QStyle::State_On : QStyle::State_Off);
      b.palette = palette();
      style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &b, ACanvas, this);
      break;
    }
    case TcxEditKind::ColorEdit: {
      bool ok = false;
      const int v = AViewInfo.Value.toInt(&ok);
      const QRect sw = r.adjusted(3, 3, -3, -3);
      if (ok && sw.isValid()) {
        ACanvas->fillRect(sw, fnGridColor(v, Qt::white));
        ACanvas->setPen(text);
        ACanvas->drawRect(sw.adjusted(0, 0, -1, -1));
      }
      break;
    }
    case TcxEditKind::ImageComboBox: {
      QRect area = r.adjusted(2, 0, -2, 0);
      for (const TcxImageComboItem& it : props->Items) {
        if (!sameValue(it.Value, AViewInfo.Value))
          continue;
        if (!it.Image.isNull()) {
          // 16 pixels high; a wide picture (32 x 16, 96 x 16) keeps its width.
          const QList<QSize> sizes = it.Image.availableSizes();
          const int w = sizes.isEmpty() || sizes.first().height() <= 0
                            ? 16
                            : std::max(16, sizes.first().width() * 16 / sizes.first().height());
          const QRect ir(area.left(), area.center().y() - 8, w, 16);
          it.Image.paint(ACanvas, ir);
          area.setLeft(ir.right() + 3);
        }
        ACanvas->drawText(area, int(align),
                          ACanvas->fontMetrics().elidedText(it.Description, Qt::ElideRight, area.width()));
        break;
      }
      break;
    }
    case TcxEditKind::Text:
    case TcxEditKind::Currency:
    case TcxEditKind::MaskEdit:
    case TcxEditKind::ComboBox:
    case TcxEditKind::Label: {
      const QRect area = r.adjusted(2, 0, -2, 0);
      ACanvas->drawText(area, int(align),
                        ACanvas->fontMetrics().elidedText(AViewInfo.DisplayText, Qt::ElideRight, area.width()));
      break;
    }
  }
  ACanvas->restore();
}

QModelIndex TxGridView::moveCursor(CursorAction ACursorAction, Qt::KeyboardModifiers AModifiers)
{
  const QModelIndex cur = currentIndex();
  if (FocusCellOnCycle && cur.isValid() && (ACursorAction == MoveRight || ACursorAction == MoveLeft)) {
    int first = -1, last = -1;
    for (int c = 0; c < ColumnCount(); ++c)
      if (!isColumnHidden(c)) {
        if (first < 0)
          first = c;
        last = c;
      }
    if (ACursorAction == MoveRight && cur.column() == last && cur.row() + 1 < RecordCount())
      return model()->index(cur.row() + 1, first);
    if (ACursorAction == MoveLeft && cur.column() == first && cur.row() > 0)
      return model()->index(cur.row() - 1, last);
  }
  return QTableView::moveCursor(ACursorAction, AModifiers);
}

void TxGridView::watchStyles()
{
  const QList<TcxStyle*> now = {Styles.Content,  Styles.ContentOdd, Styles.ContentEven,
                                Styles.Header,   Styles.BandHeader, Styles.Selection,
                                Styles.Inactive, Styles.Preview,    Styles.InplaceEditFormItem};
  if (now == FWatched)
    return;
  for (const QMetaObject::Connection& c : std::as_const(FStyleConnections))
    disconnect(c);
  FStyleConnections.clear();
  FWatched = now;
  for (TcxStyle* s : now)
    if (s)
      FStyleConnections << connect(s, &TcxStyle::changed, this, [this] {
        viewport()->update();
        FHeader->viewport()->update();
      });
}

void TxGridView::paintEvent(QPaintEvent* AEvent)
{
  watchStyles();
  QTableView::paintEvent(AEvent);
  if (RecordCount() == 0 && !NoDataToDisplayInfoText.isEmpty()) {
    QPainter p(viewport());
    p.drawText(viewport()->rect(), Qt::AlignCenter, NoDataToDisplayInfoText);
  }
}

bool TxGridView::viewportEvent(QEvent* AEvent)
{
  if (AEvent->type() == QEvent::ToolTip) {
    auto* he = static_cast<QHelpEvent*>(AEvent);
    const QModelIndex i = indexAt(he->pos());
    if (CellHints && i.isValid()) {
      const QString t = i.data(Qt::DisplayRole).toString();
      const QRect r = visualRect(i);
      const TcxStyle* content = ContentStyleOf(i.row());
      const QFontMetrics fm(content && content->Font() ? *content->Font() : font());
      if (fm.horizontalAdvance(t) > r.width() - 4) {
        QToolTip::showText(he->globalPos(), t, viewport(), r);
        return true;
      }
    }
  }
  return QTableView::viewportEvent(AEvent);
}

void TxGridView::focusInEvent(QFocusEvent* AEvent)
{
  QTableView::focusInEvent(AEvent);
  viewport()->update();
}

void TxGridView::focusOutEvent(QFocusEvent* AEvent)
{
  QTableView::focusOutEvent(AEvent);
  viewport()->update();
}
