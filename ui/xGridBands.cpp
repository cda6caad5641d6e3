// The banded header of a grid view: band captions above column captions.
#include "ui/xGridBands.h"

#include <QPaintEvent>
#include <QPainter>

#include "ui/GridStyles.h"
#include "ui/xGridView.h"

namespace {

void drawHeaderCell(QPainter* APainter, const QRect& ARect, const TcxStyle* AStyle, const QFont& AFallbackFont,
                    const QString& AText, Qt::Alignment AAlign)
{
  APainter->save();
  const QColor back = fnGridColor(AStyle ? AStyle->Color() : clNone, fnGridColor(clBtnFace, Qt::lightGray));
  const QColor text = fnGridColor(AStyle ? AStyle->TextColor() : clNone, Qt::black);
  APainter->fillRect(ARect, back);
  APainter->setPen(fnGridColor(clBtnShadow, Qt::gray));
  APainter->drawLine(ARect.topRight(), ARect.bottomRight());
  APainter->drawLine(ARect.bottomLeft(), ARect.bottomRight());
  APainter->setFont(AStyle && AStyle->Font() ? *AStyle->Font() : AFallbackFont);
  APainter->setPen(text);
  const QRect inner = ARect.adjusted(2, 0, -3, -1);
  APainter->drawText(inner, int(AAlign), APainter->fontMetrics().elidedText(AText, Qt::ElideRight, inner.width()));
  APainter->restore();
}

}  // namespace

TxBandedHeader::TxBandedHeader(TxGridView* AView) : QHeaderView(Qt::Horizontal, AView), FView(AView)
{
  // A click on a column caption reaches the form (sectionClicked); the
  // view itself never sorts by it.
  setSectionsClickable(true);
  setHighlightSections(false);
}

int TxBandedHeader::BandRowHeight() const
{
  if (!FView->BandHeaders)
    return 0;
  return FView->BandHeaderHeight > 0 ? FView->BandHeaderHeight : fontMetrics().height() + 8;
}

int TxBandedHeader::ColumnRowHeight() const
{
  return FView->HeaderHeight > 0 ? FView->HeaderHeight : fontMetrics().height() + 8;
}

QRect TxBandedHeader::BandRect(int ABandIndex) const
{
  int left = -1, right = -1;
  for (int c = 0; c < FView->ColumnCount(); ++c) {
    if (FView->Columns(c).BandIndex != ABandIndex || isSectionHidden(c))
      continue;
    const int x = sectionViewportPosition(c);
    if (left < 0 || x < left)
      left = x;
    right = std::max(right, x + sectionSize(c));
  }
  if (left < 0 || right <= left)
    return {};
  return QRect(left, 0, right - left, BandRowHeight());
}

QSize TxBandedHeader::sizeHint() const
{
  QSize s = QHeaderView::sizeHint();
  s.setHeight(BandRowHeight() + ColumnRowHeight());
  return s;
}

void TxBandedHeader::paintSection(QPainter* APainter, const QRect& ARect, int ALogicalIndex) const
{
  if (ALogicalIndex < 0 || ALogicalIndex >= FView->ColumnCount())
    return;
  const TxGridColumn& col = FView->Columns(ALogicalIndex);
  TcxGridColumnHeaderViewInfo vi;
  vi.ColumnIndex = ALogicalIndex;
  vi.Text = model() ? model()->headerData(ALogicalIndex, Qt::Horizontal, Qt::DisplayRole).toString() : QString();
  vi.Bounds = QRect(ARect.x(), BandRowHeight(), ARect.width(), ColumnRowHeight());
  vi.ContentBounds = vi.Bounds.adjusted(0, 0, -1, -1);
  vi.AlignmentHorz = col.HeaderAlignmentHorz;
  vi.AlignmentVert = col.HeaderAlignmentVert;
  bool done = false;
  if (FView->OnCustomDrawColumnHeader) {
    APainter->save();
    FView->OnCustomDrawColumnHeader(FView, APainter, vi, done);
    APainter->restore();
  }
  if (!done)
    drawHeaderCell(APainter, vi.Bounds, FView->Styles.Header, font(), vi.Text, vi.AlignmentHorz | vi.AlignmentVert);
}

void TxBandedHeader::paintEvent(QPaintEvent* AEvent)
{
  QHeaderView::paintEvent(AEvent);
  if (BandRowHeight() <= 0)
    return;
  QPainter p(viewport());
  for (int b = 0; b < FView->Bands().size(); ++b) {
    const QRect r = BandRect(b);
    if (r.isEmpty() || !FView->Bands()[b].Visible)
      continue;
    drawHeaderCell(&p, r, FView->Styles.BandHeader, font(), FView->Bands()[b].Caption, Qt::AlignCenter);
  }
}
