// Grid helpers of the list dialogs: view set-up, cell and header drawing,
// record operations.
#include "ui/GridHelpers.h"

#include <algorithm>
#include <optional>

#include <QApplication>
#include <QHeaderView>
#include <QPainter>

#include "platform/AppError.h"
#include "platform/Currency.h"
#include "ui/GridStyles.h"

namespace {

bool isPictureColumn(const TcxEditProperties* AProps)
{
  return AProps && (AProps->Kind == TcxEditKind::ImageComboBox || AProps->Kind == TcxEditKind::CheckBox ||
                    AProps->Kind == TcxEditKind::ColorEdit);
}

void drawElided(QPainter* ACanvas, const QRect& ARect, Qt::Alignment AAlign, const QString& AText)
{
  ACanvas->drawText(ARect, int(AAlign), ACanvas->fontMetrics().elidedText(AText, Qt::ElideRight, ARect.width()));
}

void drawFrame(QPainter* ACanvas, const QRect& R, int ASides, const QColor& AColor)
{
  constexpr int w = 3;
  if (ASides & cfsLeft)
    ACanvas->fillRect(QRect(R.left(), R.top(), w, R.height()), AColor);
  if (ASides & cfsTop)
    ACanvas->fillRect(QRect(R.left(), R.top(), R.width(), w), AColor);
  if (ASides & cfsRight)
    ACanvas->fillRect(QRect(R.right() - w + 1, R.top(), w, R.height()), AColor);
  if (ASides & cfsBottom)
    ACanvas->fillRect(QRect(R.left(), R.bottom() - w + 1, R.width(), w), AColor);
}

}  // namespace

int fnCxFrameSides(const TcxDrawCellInfo& AInfo, bool ACellSelect, bool ACellFocused, bool ARecordFocused,
                   int AColIndex, int ABandRow, int ALineCount, const std::function<int(int)>& AVisualIndex)
{
  if (ACellSelect)
    return ACellFocused ? cfsAll : 0;
  if (!ARecordFocused)
    return 0;
  const int l0 = AInfo.ColIndexLeft[0];
  const int r0 = AInfo.ColIndexRight[0];
  if (l0 == -1 || r0 == -1)
    return 0;
  const int c = AColIndex;
  const int m = std::clamp(AInfo.MeisaiCnt, 1, 3);
  if (m == 1) {
    if (c == l0)
      return cfsLeft | cfsTop | cfsBottom | (l0 == r0 ? cfsRight : 0);
    if (c == r0)
      return cfsTop | cfsRight | cfsBottom;
    // Only the columns between the two ends carry the frame's top and
    // bottom edges.
    const auto pos = [&](int i) { return AVisualIndex ? AVisualIndex(i) : i; };
    const int p = pos(c);
    return (p > pos(l0) && p < pos(r0)) ? (cfsTop | cfsBottom) : 0;
  }
  const int r = ABandRow;
  const int lLast = AInfo.ColIndexLeft[m - 1];
  const int rLast = AInfo.ColIndexRight[m - 1];
  if (r == 0) {
    if (c == l0)
      return cfsLeft | cfsTop | (lLast == l0 ? cfsBottom : 0);
    if (c == r0)
      return cfsTop | cfsRight | (rLast == r0 ? cfsBottom : 0);
    return cfsTop | (ALineCount >= 2 ? cfsBottom : 0);
  }
  if (r == m - 1) {
    if (c == lLast)
      return cfsLeft | cfsBottom;
    if (c == rLast)
      return cfsRight | cfsBottom;
    return cfsBottom;
  }
  if (c == AInfo.ColIndexLeft[1])
    return cfsLeft;
  if (c == AInfo.ColIndexRight[1])
    return cfsRight;
  return 0;
}

bool fnCxIsNegativeAmount(const QString& ADisplayText)
{
  QString t = ADisplayText;
  t.remove(QLatin1Char(',')).remove(QLatin1Char(' '));
  const std::optional<Currency> c = Currency::tryFromString(t);
  return c && *c < Currency();
}

void pcCxGridViewInit(TxGridView* AView, bool ACellSelect, int AStartIndex, bool AOddEven)
{
  if (!AView)
    return;
  // The view has one look of its own on every platform and plain scroll
  // bars; there is no group-by box, filter box or fixed band to switch off,
  // and no key that appends, inserts or deletes records.
  AView->BandHeaders = false;
  AView->FocusRect = false;
  AView->NoDataToDisplayInfoText.clear();
  AView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  AView->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  AView->SetDataRowHeight(24);
  AView->HeaderHeight = 24;
  AView->BandHeaderHeight = 24;

  AView->HideSelection = false;
  AView->CellSelect = false;
  AView->InvertSelect = true;
  if (ACellSelect) {
    AView->CellSelect = true;
    AView->InvertSelect = false;
  }

  AView->AlwaysShowEditor = true;
  AView->ImmediateEditor = true;
  AView->CellHints = true;
  AView->FocusCellOnCycle = true;
  AView->setTabKeyNavigation(false);  // Tab leaves the grid
  AView->setMouseTracking(false);
  AView->Editing = true;

  const TcxDataModuleStyles& dm = fnDataModuleStyles();
  TxGridViewStyles& s = AView->Styles;
  AView->UseOddEvenStyles = AOddEven;
  s.Content = dm.cxStyleMeisai;
  s.ContentOdd = dm.cxStyleMeisaiOdd;
  s.ContentEven = dm.cxStyleMeisaiEven;
  s.Selection = dm.cxStyleSelect;
  s.Header = dm.cxStyleTitle;
  s.BandHeader = dm.cxStyleTitle;
  s.Preview = dm.cxStyleSelect;
  s.InplaceEditFormItem = dm.cxStyleTouka;
  if (AOddEven && AStartIndex > 0 && AStartIndex % 2 == 1)
    std::swap(s.ContentOdd, s.ContentEven);

  AView->setSortingEnabled(false);
  AView->horizontalHeader()->setSectionsMovable(false);
  AView->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  AView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  AView->ApplyOptions();
}

void pcSetGridViewStyles(TxGridView* AView, const TcxStyleRepoDef* ARepo, bool ASwap)
{
  if (!AView || !ARepo)
    return;
  TxGridViewStyles& s = AView->Styles;
  s.Content = ARepo->cxStyleMeisai;
  s.ContentOdd = ARepo->cxStyleMeisaiOdd;
  s.ContentEven = ARepo->cxStyleMeisaiEven;
  s.Header = ARepo->cxStyleTitle;
  s.BandHeader = ARepo->cxStyleTitle;
  s.Selection = ARepo->cxStyleSelect;
  s.Inactive = ARepo->cxStyleInactive;
  s.Preview = ARepo->cxStyleSelect;
  if (AView->UseOddEvenStyles && ASwap)
    std::swap(s.ContentOdd, s.ContentEven);
  AView->viewport()->update();
}

void pcCxDrawCellInfoInit(QObject* AForm, TcxDrawCellInfo& AInfo)
{
  AInfo.SenderForm = AForm;
  AInfo.MeisaiCnt = 1;
  AInfo.IsCallBaseEvent = true;
  AInfo.IsRowSelect = false;
  AInfo.IsEnabled = true;
  AInfo.IsInactive = true;
  AInfo.BackColor = 0;
  AInfo.TextColor = 0;
  AInfo.FrameColor = 0;
  AInfo.ColIndexLeft = {-1, -1, -1};
  AInfo.ColIndexRight = {-1, -1, -1};
  AInfo.Text.clear();
  AInfo.IsDwawText = false;
}

void pcCxGridCustomDrawCell(TxGridView* Sender, QPainter* ACanvas, const TcxGridDataCellViewInfo& AViewInfo,
                            const TcxDrawCellInfo& AInfo, bool& ADone)
{
  if (!AInfo.IsCallBaseEvent || !Sender || !ACanvas)
    return;
  const int c = AViewInfo.ColumnIndex;
  const TxGridColumn* col = c >= 0 && c < Sender->ColumnCount() ? &Sender->Columns(c) : nullptr;
  const TcxEditProperties* props = col ? col->EditProperties() : nullptr;
  const bool picture = isPictureColumn(props);

  TColor text = AInfo.TextColor;
  if (col &&
      (col->ValueType == QLatin1String("Currency") || col->ValueType == QLatin1String("Float") ||
       col->ValueType == QLatin1String("Integer")) &&
      fnCxIsNegativeAmount(AViewInfo.DisplayText))
    text = clRed;
  if (!AInfo.IsEnabled)
    text = clGrayText;

  const QColor brush = fnGridColor(AInfo.BackColor, Qt::white);
  ACanvas->setPen(fnGridColor(text, Qt::black));
  ACanvas->setBrush(brush);
  Sender->DrawCellValue(ACanvas, AViewInfo, AInfo.BackColor, text);

  if (!picture && (AInfo.IsDwawText || !AInfo.Text.isEmpty())) {
    ACanvas->save();
    const QRect area = AViewInfo.ContentBounds;
    ACanvas->fillRect(area, brush);
    const TcxStyle* content = Sender->ContentStyleOf(AViewInfo.RecordIndex);
    ACanvas->setFont(content && content->Font() ? *content->Font() : Sender->font());
    ACanvas->setPen(fnGridColor(text, Qt::black));
    if (!props)
      drawElided(ACanvas, area, Qt::AlignCenter, AInfo.Text);
    else
      drawElided(ACanvas, area.adjusted(4, 0, -4, 0), props->AlignHorz | props->AlignVert, AInfo.Text);
    ACanvas->restore();
  }

  const QHeaderView* h = Sender->horizontalHeader();
  const int sides =
      fnCxFrameSides(AInfo, Sender->CellSelect, AViewInfo.Focused, AViewInfo.RecordFocused, c, col ? col->RowIndex : -1,
                     col ? col->LineCount : 1, [h](int i) { return h->visualIndex(i); });
  if (sides)
    drawFrame(ACanvas, AViewInfo.ContentBounds, sides, fnGridColor(AInfo.FrameColor, Qt::black));
  ADone = true;
}

void pcCxGridCustomDrawHeader(TxGridView* Sender, QPainter* ACanvas, const TcxGridColumnHeaderViewInfo& AViewInfo,
                              const TcxDrawCellInfo& AInfo, bool& ADone)
{
  if (!AInfo.IsCallBaseEvent || !ACanvas)
    return;
  ACanvas->save();
  ACanvas->fillRect(AViewInfo.ContentBounds, fnGridColor(AInfo.BackColor, Qt::white));
  ACanvas->setPen(fnGridColor(AInfo.TextColor, Qt::black));
  if (Sender) {
    const TcxStyle* header = Sender->Styles.Header;
    ACanvas->setFont(header && header->Font() ? *header->Font() : Sender->horizontalHeader()->font());
  }
  drawElided(ACanvas, AViewInfo.ContentBounds.adjusted(4, 4, -4, -4), AViewInfo.AlignmentHorz | AViewInfo.AlignmentVert,
             AViewInfo.Text);
  ACanvas->restore();
  ADone = true;
}

void pcCxGridClear(TxGridView* AView, bool AUpdate)
{
  if (!AView || !AView->model())
    return;
  std::optional<TxGridUpdateLocker> lock;
  if (AUpdate)
    lock.emplace(AView);
  QAbstractItemModel* m = AView->model();
  // A model that refuses to delete keeps its rows rather than loop.
  while (m->rowCount() > 0)
    if (!m->removeRow(0))
      break;
  AView->setCurrentIndex(QModelIndex());
}

int fnCxGridInitRecord(TxGridView* AView, int ARecordIndex, bool APost)
{
  if (!AView || !AView->model())
    return -1;
  QAbstractItemModel* m = AView->model();
  TxGridUpdateLocker lock(AView);
  int row = ARecordIndex;
  if (ARecordIndex == -1) {
    row = m->rowCount();
    if (!m->insertRow(row))
      return -1;
  } else if (ARecordIndex < 0 || ARecordIndex >= m->rowCount()) {
    return -1;
  }
  for (int c = 0; c < AView->ColumnCount(); ++c) {
    const QString& t = AView->Columns(c).ValueType;
    QVariant v;
    if (t == QLatin1String("Integer") || t == QLatin1String("Currency"))
      v = 0;
    else if (t == QLatin1String("DateTime") || t == QLatin1String("Date"))
      v = 0.0;
    else if (t == QLatin1String("String") || t == QLatin1String("WideString"))
      v = QString();
    else if (t == QLatin1String("Boolean"))
      v = false;
    else
      continue;
    m->setData(m->index(row, c), v, Qt::EditRole);
  }
  if (APost)
    m->submit();
  return row;
}

int fnCxGridAppendRecord(TxGridView* AView, bool APost)
{
  return fnCxGridInitRecord(AView, -1, APost);
}

TxGridView* fnCxGetActiveGrid()
{
  try {
    QWidget* w = QApplication::focusWidget();
    if (!w)
      return nullptr;
    if (auto* v = qobject_cast<TxGridView*>(w))
      return v;
    // The grid site is the view's viewport; an in-place editor sits on
    // it, and an editor's inner control sits on the editor.
    const auto siteOf = [](QWidget* x) -> TxGridView* {
      if (!x)
        return nullptr;
      auto* v = qobject_cast<TxGridView*>(x->parentWidget());
      return v && v->viewport() == x ? v : nullptr;
    };
    if (auto* v = siteOf(w))
      return v;
    QWidget* p = w->parentWidget();
    if (auto* v = siteOf(p))
      return v;
    if (p)
      return siteOf(p->parentWidget());
    return nullptr;
  } catch (...) {
    pcLogDroppedError("fnCxGetActiveGrid");
    return nullptr;
  }
}

void pcCxGridFocusRecord(TxGridView* AView, int ARecordIndex, int AColumnTag, int ATopOffset)
{
  if (!AView || AView->RecordCount() == 0)
    return;
  int focusCol = -1;
  if (AColumnTag >= 0) {
    const int c = AView->ColumnByTag(AColumnTag);
    if (c >= 0 && AView->ColumnVisible(c))
      focusCol = c;
  }
  const int last = AView->RecordCount() - 1;
  if (ARecordIndex > last)
    ARecordIndex = last;
  if (ATopOffset < -1)
    ATopOffset = -1;
  if (ARecordIndex >= 0) {
    const int col = focusCol >= 0 ? focusCol : AView->FocusedColumnIndex();
    AView->SetFocusedRecordIndex(ARecordIndex);
    if (col >= 0)
      AView->SetFocusedColumnIndex(col);
  } else if (focusCol >= 0) {
    AView->SetFocusedColumnIndex(focusCol);
  }
  if (ATopOffset == -1 && AView->FocusedRecordIndex() >= 0) {
    AView->MakeFocusedRecordVisible();
    return;
  }
  // Without a record of its own the focused record is placed.
  int top = ARecordIndex >= 0 ? ARecordIndex : AView->FocusedRecordIndex();
  if (top < 0)
    return;
  if (ATopOffset != 0) {
    if (ATopOffset == -1 || ATopOffset >= last)
      ATopOffset = 0;
    top -= ATopOffset;
  }
  AView->SetTopRecordIndex(top);
}
