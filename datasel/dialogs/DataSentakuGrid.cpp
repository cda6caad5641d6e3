// The list of the data-selection dialog: its grid view over the list model
// (TDataListModel), the colours of its rows and the frame of the focused
// row, and the focus of a row.
#include <memory>

#include <QHeaderView>

#include "datasel/dialogs/DataSentaku.h"
#include "ui/GridStyles.h"

namespace {

// The tint of the even rows in stand-alone use.
const TColor kEvenRowTint = RGBColor(232, 246, 236);

std::shared_ptr<const TcxEditProperties> textProps(Qt::Alignment AHorz)
{
  auto p = std::make_shared<TcxEditProperties>();
  p->AlignHorz = AHorz;
  return p;
}

// Columns whose display text the drawing writes itself.
bool drawsOwnText(int ACol)
{
  return ACol == dscol::No || ACol == dscol::Code || (ACol >= dscol::Name && ACol <= dscol::Version);
}

}  // namespace

void TDataSentakuBox::buildGrid()
{
  FModel = new TDataListModel(this);

  FGrid = new TxGridView(this);
  FGrid->setModel(FModel);
  pcCxGridViewInit(FGrid, false, 0, true);
  SetGridViewStyles(FGrid, false);
  // The list is only read here: no editing in place. Its columns are wider
  // than a small screen allows the form, so they stay reachable by a
  // horizontal scroll bar when needed.
  FGrid->Editing = false;
  FGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  FGrid->ApplyOptions();

  FGrid->Bands() = {TxGridBand{QStringLiteral("Main"), true}};
  const auto left = textProps(Qt::AlignLeft);
  const auto right = textProps(Qt::AlignRight);
  const auto centre = textProps(Qt::AlignHCenter);
  for (int c = 0; c < dscol::Count; ++c) {
    TxGridColumn& col = FGrid->Columns(c);
    col.Tag = c;
    col.BandIndex = 0;
    if (c == dscol::No) {
      col.ValueType = QStringLiteral("Integer");
      col.Properties = right;
      col.HeaderAlignmentHorz = Qt::AlignRight;
    } else if (c == dscol::Cloud || c == dscol::Kyoyu || c == dscol::Kagi) {
      col.Properties = centre;
      col.HeaderAlignmentHorz = Qt::AlignHCenter;
    } else {
      col.Properties = left;
    }
  }
  const int widths[] = {40, 65, 45, 200, 75, 180, 215, 80, 40, 40};
  for (int c = dscol::No; c < dscol::Count; ++c)
    FGrid->setColumnWidth(c, widths[c - dscol::No]);

  FStyleMeisaiEvenDef = new TcxStyle(QStringLiteral("cxStylemeisaiEvenDef"), this);
  FStyleMeisaiEvenDef->SetColor(kEvenRowTint);

  FGrid->OnCustomDrawCell = [this](TxGridView* ASender, QPainter* ACanvas, const TcxGridDataCellViewInfo& AViewInfo,
                                   bool& ADone) {
    pcCxGridCustomDrawCell(ASender, ACanvas, AViewInfo, CellDrawInfo(AViewInfo), ADone);
  };
}

void TDataSentakuBox::applyGridAppType(bool ACloud)
{
  const TcxStyleRepoDef* repo = fnFormStyleRepoDef(this);
  // Stand-alone use shows the share column and tints the even rows;
  // client/server and server-based use show the lock column instead.
  const bool sa = AppType == jxatSA;
  FGrid->SetColumnVisible(dscol::Kagi, !sa);
  FGrid->SetColumnVisible(dscol::Kyoyu, sa);
  FGrid->Styles.ContentEven = sa ? FStyleMeisaiEvenDef : repo->cxStyleMeisaiZenki;
  FGrid->Styles.ContentOdd = repo->cxStyleMeisaiOdd;
  FGrid->SetColumnVisible(dscol::Cloud, ACloud);
  FGrid->setColumnWidth(dscol::Name, ACloud ? 200 : 200 + 45);
  FGrid->viewport()->update();
}

TcxDrawCellInfo TDataSentakuBox::CellDrawInfo(const TcxGridDataCellViewInfo& AViewInfo) const
{
  TcxDrawCellInfo info;
  pcCxDrawCellInfoInit(const_cast<TDataSentakuBox*>(this), info);
  info.IsRowSelect = true;
  info.ColIndexLeft[0] = dscol::No;
  info.ColIndexRight[0] = AppType == jxatSA ? dscol::Kyoyu : dscol::Kagi;

  const TcxStyle* content = FGrid->ContentStyleOf(AViewInfo.RecordIndex);
  info.BackColor = content && content->Color() != clNone ? content->Color() : clWindow;
  info.TextColor = content && content->TextColor() != clNone ? content->TextColor() : clWindowText;
  info.FrameColor = info.BackColor;
  if (AViewInfo.RecordFocused && FGrid->Styles.Selection) {
    info.FrameColor = FGrid->Styles.Selection->Color();
    info.TextColor = FGrid->Styles.Selection->Color();
  }
  const TcxStyleRepoDef* repo = fnFormStyleRepoDef(const_cast<TDataSentakuBox*>(this));
  const int row = AViewInfo.RecordIndex;
  if (FModel->IsRow(row) && FModel->Row(row).IsDamaged()) {
    info.BackColor = repo->cxStyleHason->Color();
    info.TextColor = repo->cxStyleHason->TextColor();
  } else if (FModel->IsRow(row) && FModel->Row(row).IsUpdateForbidden()) {
    info.TextColor = repo->cxStyleKinsi->TextColor();
    info.IsEnabled = false;
  }

  if (drawsOwnText(AViewInfo.ColumnIndex)) {
    info.IsDwawText = true;
    info.Text = AViewInfo.ColumnIndex == dscol::No && AViewInfo.DisplayText == QStringLiteral("0")
                    ? QString()
                    : AViewInfo.DisplayText;
  }
  return info;
}

int TDataSentakuBox::FocusedRow() const
{
  return FGrid->FocusedRecordIndex();
}

void TDataSentakuBox::FocusRow(int ARow)
{
  if (ARow < 0 || ARow >= RowCount())
    return;
  pcCxGridFocusRecord(FGrid, ARow, dscol::Code, -1);
}
