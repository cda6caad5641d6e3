// The list of the data-selection dialog: its grid view with the row-state
// columns in a hidden band, the colours of its rows and the frame of the
// focused row, and the focus of a row.
#include <memory>

#include <QHeaderView>
#include <QStandardItemModel>

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

int rowFlag(const QStandardItemModel* AModel, int ARow, int ACol)
{
  const QStandardItem* it = AModel->item(ARow, ACol);
  return it ? it->data(Qt::DisplayRole).toInt() : 0;
}

}  // namespace

void TDataSentakuBox::buildGrid()
{
  FModel = new QStandardItemModel(0, dscol::Count, this);
  const char* caps[dscol::Count] = {"Rec",
                                    "合算区分",
                                    "親インデックス",
                                    "子インデックス",
                                    "データバージョン",
                                    "共有取得保管",
                                    "データロック中ユーザー",
                                    "更新禁止区分",
                                    "データステータス",
                                    "参照専用区分",
                                    "名称空白区分",
                                    "No",
                                    "コード",
                                    "ｸﾗｳﾄﾞ",
                                    "データ名  ",
                                    "会計年度",
                                    "会計期間",
                                    "データフォルダ",
                                    "バージョン",
                                    "共有",
                                    "鍵"};
  for (int c = 0; c < dscol::Count; ++c)
    FModel->setHorizontalHeaderItem(c, new QStandardItem(QString::fromUtf8(caps[c])));

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

  FGrid->Bands() = {TxGridBand{QStringLiteral("Hidden"), true}, TxGridBand{QStringLiteral("Main"), true}};
  const auto left = textProps(Qt::AlignLeft);
  const auto right = textProps(Qt::AlignRight);
  const auto centre = textProps(Qt::AlignHCenter);
  for (int c = 0; c < dscol::Count; ++c) {
    TxGridColumn& col = FGrid->Columns(c);
    col.Tag = c;
    col.BandIndex = c <= dscol::NameBlank ? 0 : 1;
    if (c == dscol::No) {
      col.ValueType = QStringLiteral("Integer");
      col.Properties = right;
      col.HeaderAlignmentHorz = Qt::AlignRight;
    } else if (c == dscol::Cloud || c == dscol::Kyoyu || c == dscol::Kagi) {
      col.Properties = centre;
      col.HeaderAlignmentHorz = Qt::AlignHCenter;
    } else if (c > dscol::NameBlank) {
      col.Properties = left;
    }
  }
  FGrid->SetBandVisible(0, false);
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
  if (rowFlag(FModel, row, dscol::DataStatus) == int(jxdbHason)) {
    info.BackColor = repo->cxStyleHason->Color();
    info.TextColor = repo->cxStyleHason->TextColor();
  } else if (rowFlag(FModel, row, dscol::UpdateKinsi) == 1) {
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
