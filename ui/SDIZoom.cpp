// Zoom of a base form by the operator's font: the recorded design geometry,
// the form's proportional scaling by ZoomDpi and the row heights and column
// widths of its tables and trees.
#include "ui/SDIZoom.h"

#include <cmath>

#include <QAbstractItemDelegate>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLayout>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTreeView>

#include "common/AccRecord.h"
#include "ui/SDI.h"
#include "ui/xGridView.h"
#include "ui/xPlButton.h"

namespace {

int truncMul(double value, double ratio)
{
  return static_cast<int>(std::trunc(value * ratio));
}

QHeaderView* columnHeader(const QWidget* AWidget)
{
  if (auto* t = qobject_cast<const QTableView*>(AWidget))
    return t->horizontalHeader();
  if (auto* t = qobject_cast<const QTreeView*>(AWidget))
    return t->header();
  return nullptr;
}

// Column widths: from AWidths (recorded) or the header's current widths,
// each multiplied by ARatio and truncated.
void scaleColumns(QWidget* AWidget, const QList<qint16>* AWidths, double ARatio)
{
  QHeaderView* h = columnHeader(AWidget);
  if (!h)
    return;
  for (int j = 0; j < h->count(); ++j) {
    const double w = AWidths ? (j < AWidths->size() ? (*AWidths)[j] : h->sectionSize(j)) : h->sectionSize(j);
    h->resizeSection(j, truncMul(w, ARatio));
  }
}

void scaleRows(QWidget* AWidget, double ARecorded, double ARatio)
{
  if (auto* t = qobject_cast<QTableView*>(AWidget)) {
    const double base = ARecorded > 0 ? ARecorded : t->verticalHeader()->defaultSectionSize();
    t->verticalHeader()->setDefaultSectionSize(std::max(1, truncMul(base, ARatio)));
  }
}

// The default node height of a tree: answers the height for every item
// and hands everything else to the delegate the tree had before.
class TNodeHeightDelegate : public QAbstractItemDelegate {
 public:
  TNodeHeightDelegate(QAbstractItemDelegate* AInner, int AHeight, QObject* AParent)
      : QAbstractItemDelegate(AParent), Inner(AInner), Height(AHeight)
  {
    if (!AInner)
      return;
    connect(AInner, &QAbstractItemDelegate::commitData, this, &QAbstractItemDelegate::commitData);
    connect(AInner, &QAbstractItemDelegate::closeEditor, this, &QAbstractItemDelegate::closeEditor);
  }

  void paint(QPainter* APainter, const QStyleOptionViewItem& AOption, const QModelIndex& AIndex) const override
  {
    if (Inner)
      Inner->paint(APainter, AOption, AIndex);
  }
  QSize sizeHint(const QStyleOptionViewItem& AOption, const QModelIndex& AIndex) const override
  {
    return QSize(Inner ? Inner->sizeHint(AOption, AIndex).width() : 0, Height);
  }
  QWidget* createEditor(QWidget* AParent, const QStyleOptionViewItem& AOption, const QModelIndex& AIndex) const override
  {
    if (!Inner)
      return nullptr;
    QWidget* editor = Inner->createEditor(AParent, AOption, AIndex);
    // The view watches the editor through the delegate it knows; the
    // keys that commit or close an edit are the inner delegate's.
    if (editor)
      editor->installEventFilter(Inner);
    return editor;
  }
  void destroyEditor(QWidget* AEditor, const QModelIndex& AIndex) const override
  {
    if (Inner)
      Inner->destroyEditor(AEditor, AIndex);
    else
      QAbstractItemDelegate::destroyEditor(AEditor, AIndex);
  }
  void setEditorData(QWidget* AEditor, const QModelIndex& AIndex) const override
  {
    if (Inner)
      Inner->setEditorData(AEditor, AIndex);
  }
  void setModelData(QWidget* AEditor, QAbstractItemModel* AModel, const QModelIndex& AIndex) const override
  {
    if (Inner)
      Inner->setModelData(AEditor, AModel, AIndex);
  }
  void updateEditorGeometry(QWidget* AEditor, const QStyleOptionViewItem& AOption,
                            const QModelIndex& AIndex) const override
  {
    if (Inner)
      Inner->updateEditorGeometry(AEditor, AOption, AIndex);
  }
  bool editorEvent(QEvent* AEvent, QAbstractItemModel* AModel, const QStyleOptionViewItem& AOption,
                   const QModelIndex& AIndex) override
  {
    return Inner && Inner->editorEvent(AEvent, AModel, AOption, AIndex);
  }
  bool helpEvent(QHelpEvent* AEvent, QAbstractItemView* AView, const QStyleOptionViewItem& AOption,
                 const QModelIndex& AIndex) override
  {
    return Inner && Inner->helpEvent(AEvent, AView, AOption, AIndex);
  }
  QList<int> paintingRoles() const override { return Inner ? Inner->paintingRoles() : QList<int>(); }

  QPointer<QAbstractItemDelegate> Inner;
  int Height;
};

bool placedByForm(const QWidget* AWidget, const QWidget* AForm)
{
  const QWidget* parent = AWidget->parentWidget();
  if (parent && (qobject_cast<const QTabWidget*>(parent) || qobject_cast<const QStackedWidget*>(parent)))
    return false;
  for (const QWidget* p = parent; p && p != AForm; p = p->parentWidget()) {
    const QMetaObject* m = p->metaObject();
    if (m == &QWidget::staticMetaObject || m == &QFrame::staticMetaObject || qobject_cast<const QGroupBox*>(p) ||
        qobject_cast<const QStackedWidget*>(p) || qobject_cast<const QTabWidget*>(p))
      continue;
    // A page of a tab widget is a plain widget inside its page stack.
    return false;
  }
  return true;
}

// Data-row, band-header and header height of a banded view: the given
// values times ARatio (a height of 0 follows the font and stays so).
void scaleViewHeights(TxGridView* AView, double ARow, double ABand, double AHeader, double ARatio)
{
  if (ARow > 0)
    AView->SetDataRowHeight(std::max(1, truncMul(ARow, ARatio)));
  AView->BandHeaderHeight = truncMul(ABand, ARatio);
  AView->HeaderHeight = truncMul(AHeader, ARatio);
  AView->ApplyOptions();
}

// Node height of a tree times ARatio, when the tree has a fixed one.
void scaleNodeHeight(QWidget* AWidget, double ARatio)
{
  if (auto* t = qobject_cast<QTreeView*>(AWidget))
    if (const int h = fnDefaultNodeHeight(t); h > 0)
      pcSetDefaultNodeHeight(t, std::max(1, truncMul(h, ARatio)));
}

double zoomRaitoOf(int ADecimals)
{
  const TFontInfo& now = SystemDef.NowFont;
  const TFontInfo& def = SystemDef.DefaultFont;
  if (now.Height == 0 || def.Height == 0)
    return 1.0;
  const double f = std::pow(10.0, ADecimals);
  return std::trunc((std::abs(now.Height) / double(std::abs(def.Height)) + 0.000001) * f) / f;
}

}  // namespace

int fnDefaultNodeHeight(const QTreeView* ATree)
{
  const auto* d = ATree ? dynamic_cast<const TNodeHeightDelegate*>(ATree->itemDelegate()) : nullptr;
  return d ? d->Height : 0;
}

void pcSetDefaultNodeHeight(QTreeView* ATree, int AHeight)
{
  if (!ATree)
    return;
  auto* d = dynamic_cast<TNodeHeightDelegate*>(ATree->itemDelegate());
  if (AHeight <= 0) {
    if (d) {
      ATree->setItemDelegate(d->Inner);
      d->deleteLater();
    }
    return;
  }
  if (!d) {
    ATree->setItemDelegate(new TNodeHeightDelegate(ATree->itemDelegate(), AHeight, ATree));
    return;
  }
  d->Height = AHeight;
  Q_EMIT d->sizeHintChanged(QModelIndex());
}

bool fnIsPlacedByForm(const QWidget* AWidget, const QWidget* AForm)
{
  return AWidget && placedByForm(AWidget, AForm);
}

bool fnIsLeftAlignedPanel(const QWidget* AWidget)
{
  return AWidget && AWidget->property("Align").toString().compare(QStringLiteral("alLeft"), Qt::CaseInsensitive) == 0;
}

bool fnIsAnchoredOnAllSides(const QWidget* AWidget)
{
  if (!AWidget)
    return false;
  QStringList anchors;
  for (const QString& a : AWidget->property("Anchors").toString().split(QLatin1Char(',')))
    anchors << a.trimmed().toLower();
  for (const char* side : {"akleft", "aktop", "akright", "akbottom"})
    if (!anchors.contains(QLatin1String(side)))
      return false;
  return true;
}

TUpdateLock::TUpdateLock(QWidget* AWidget) : FWidget(AWidget), FWasEnabled(AWidget && AWidget->updatesEnabled())
{
  if (FWasEnabled)
    AWidget->setUpdatesEnabled(false);
}

TUpdateLock::~TUpdateLock()
{
  if (FWidget && FWasEnabled)
    FWidget->setUpdatesEnabled(true);
}

bool fnIsGridLike(const QWidget* AWidget)
{
  return qobject_cast<const QTableView*>(AWidget) || qobject_cast<const QTreeView*>(AWidget);
}

void pcRecordGrid(const QWidget* AWidget, TCompGridSize& AGrid, bool AWithRows)
{
  QHeaderView* h = columnHeader(AWidget);
  if (!h)
    return;
  AGrid.ColWidths.clear();
  for (int j = 0; j < h->count(); ++j)
    AGrid.ColWidths << static_cast<qint16>(h->sectionSize(j));
  if (!AWithRows)
    return;
  AGrid.Height2 = 0;
  if (auto* v = qobject_cast<const TxGridView*>(AWidget)) {
    // A banded view's own heights (0: from the font).
    AGrid.RowHeight = v->DataRowHeight();
    AGrid.BandHeaderHeight = static_cast<qint16>(v->BandHeaderHeight);
    AGrid.HeaderHeight = static_cast<qint16>(v->HeaderHeight);
    return;
  }
  if (auto* t = qobject_cast<const QTableView*>(AWidget))
    AGrid.RowHeight = t->verticalHeader()->defaultSectionSize();
  else if (auto* t = qobject_cast<const QTreeView*>(AWidget))
    AGrid.RowHeight = fnDefaultNodeHeight(t);
  AGrid.HeaderHeight = static_cast<qint16>(h->height());
}

// ---------------------------------------------------------------- TBSDI

void TBSDI::FreeControlSize()
{
  if (FSizePar)
    FSizePar->Table.clear();
}

void TBSDI::recordControlSizes()
{
  if (!FSizePar) {
    FSizePar = std::make_unique<TSize>();
    FSizePar->Font = SystemDef.NowFont;
  }
  TSize& s = *FSizePar;
  s.ResizeFlg = 1;
  QList<QWidget*> widgets;
  for (QWidget* w : findChildren<QWidget*>())
    if (placedByForm(w, this))
      widgets << w;
  if (s.Table.size() != widgets.size()) {
    FreeControlSize();
    for (qsizetype i = 0; i < widgets.size(); ++i)
      s.Table << std::make_shared<TCompSize>();
  }
  s.ComponentCount = static_cast<int>(widgets.size());
  if (s.BaseWidth == 0)
    s.BaseWidth = width();
  if (s.BaseHeight == 0)
    s.BaseHeight = height();
  s.MinWidth = MinWidth();
  s.MinHeight = MinHeight();
  s.MaxWidth = MaxWidth();
  s.MaxHeight = MaxHeight();
  s.FontHeight = std::abs(QFontInfo(font()).pixelSize());
  for (qsizetype i = 0; i < widgets.size(); ++i) {
    QWidget* w = widgets[i];
    TCompSize& e = *s.Table[i];
    e.Widget = w;
    e.Left = w->x();
    e.Top = w->y();
    e.Width = w->width();
    e.Height = w->height();
    e.Tag = w->property("Tag").toInt();
    if (auto* c = qobject_cast<QComboBox*>(w))
      e.ItemHeiht = c->view() ? c->view()->sizeHintForRow(0) : 0;
    if (fnIsGridLike(w)) {
      if (!e.Grid)
        e.Grid = std::make_unique<TCompGridSize>();
      pcRecordGrid(w, *e.Grid, true);
    }
  }
}

void TBSDI::applyZoom(double AFactor)
{
  if (!FSizePar)
    recordControlSizes();
  TSize& s = *FSizePar;
  // The form and the widgets it places itself grow with the zoom; widgets
  // placed by a layout follow their layout and fonts.
  if (std::abs(AFactor - 1.0) > 1e-9) {
    for (const auto& e : s.Table) {
      QWidget* w = e->Widget;
      if (!w || w->isWindow())
        continue;
      QWidget* parent = w->parentWidget();
      if (parent && parent->layout() && parent->layout()->indexOf(w) >= 0)
        continue;
      w->setGeometry(static_cast<int>(std::lround(e->Left * AFactor)), static_cast<int>(std::lround(e->Top * AFactor)),
                     static_cast<int>(std::lround(e->Width * AFactor)),
                     static_cast<int>(std::lround(e->Height * AFactor)));
    }
    // A form of fixed size gets the scaled size as its fixed size.
    const bool fixed = minimumSize() == maximumSize();
    const QSize scaled(static_cast<int>(std::lround(s.BaseWidth * AFactor)),
                       static_cast<int>(std::lround(s.BaseHeight * AFactor)));
    FMinWidth = static_cast<int>(FMinWidth * AFactor);
    FMinHeight = static_cast<int>(FMinHeight * AFactor);
    if (fixed) {
      setFixedSize(scaled);
    } else {
      setMinimumSize(FMinWidth, FMinHeight);
      resize(scaled);
    }
  }
  s.InitScale = s.Scale = Scale;
  for (const auto& e : s.Table) {
    QWidget* w = e->Widget;
    if (!w)
      continue;
    if (e->Grid && fnIsGridLike(w)) {
      if (auto* v = qobject_cast<TxGridView*>(w)) {
        // A banded view: heights by the font ratio, column widths by
        // the zoomed resolution.
        TxGridUpdateLocker update(v);
        const TCompGridSize& g = *e->Grid;
        scaleViewHeights(v, g.RowHeight, g.BandHeaderHeight, g.HeaderHeight, ZoomRaito);
        QHeaderView* h = v->horizontalHeader();
        if (ZoomDpi != 96)
          for (int j = 0; j < h->count() && j < g.ColWidths.size(); ++j)
            h->resizeSection(j, g.ColWidths[j] * ZoomDpi / 96);
      } else if (qobject_cast<QTableView*>(w)) {
        scaleRows(w, e->Grid->RowHeight, ZoomRaito);
        scaleColumns(w, &e->Grid->ColWidths, ZoomRaito);
      } else {
        scaleNodeHeight(w, ZoomRaito);
        scaleColumns(w, nullptr, ZoomRaito);
      }
    } else if (auto* b = qobject_cast<TxPlButton*>(w)) {
      if (b->Image().PictureEmpty()) {
        b->setCaptionVertCenter(true);
        b->Image().setVertCenter(true);
      }
    }
  }
}

void TBSDI::ResetFSizeParGridUIControl()
{
  if (!FSizePar)
    return;
  for (const auto& e : FSizePar->Table) {
    QWidget* w = e->Widget;
    if (!w || !fnIsGridLike(w))
      continue;
    if (!e->Grid)
      e->Grid = std::make_unique<TCompGridSize>();
    pcRecordGrid(w, *e->Grid, false);
  }
}

void TBSDI::ResetSizeGridUIControl(QWidget* ASender, int ADefValueChange)
{
  ResetFSizeParGridUIControl();
  if (ZoomRaito == 0)
    ZoomRaito = zoomRaitoOf(2);
  if (!ASender || !fnIsGridLike(ASender))
    return;
  if (auto* v = qobject_cast<TxGridView*>(ASender)) {
    TxGridUpdateLocker update(v);
    if (ADefValueChange == 1)
      scaleViewHeights(v, v->DataRowHeight(), v->BandHeaderHeight, v->HeaderHeight, ZoomRaito);
    scaleColumns(ASender, nullptr, ZoomRaito);
    return;
  }
  if (ADefValueChange == 1) {
    if (auto* t = qobject_cast<QTableView*>(ASender))
      t->verticalHeader()->setDefaultSectionSize(
          std::max(1, truncMul(t->verticalHeader()->defaultSectionSize(), ZoomRaito)));
    scaleNodeHeight(ASender, ZoomRaito);
  }
  scaleColumns(ASender, nullptr, ZoomRaito);
}

const TSize* TBSDI::SizePar() const
{
  return FSizePar.get();
}
