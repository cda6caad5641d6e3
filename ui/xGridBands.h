#pragma once
// Columns and bands of a grid view (TxGridView), and the banded header that
// draws them.
//
// A grid view shows the records of an item model, one model row per record
// and one model column per grid column. Each grid column carries what the
// framework's list dialogs know of a column: its tag, the type of its
// values, the editor properties that say how its value is drawn and
// aligned, its header alignment, and its place in a band: the band it
// belongs to, the band row it stands in (for records drawn over several
// band rows) and how many lines it spans. A band groups neighbouring
// columns under one caption; a hidden band hides its columns.

#include <memory>

#include <QHeaderView>
#include <QIcon>
#include <QList>
#include <QString>
#include <QVariant>

class TxGridView;

// How a column's value is edited and drawn.
enum class TcxEditKind {
  Text,           // plain text
  Currency,       // amounts
  ImageComboBox,  // a picture and/or description chosen by value
  CheckBox,       // a check mark
  ColorEdit,      // a colour swatch (the value is a stored BGR colour)
};

struct TcxImageComboItem {
  QVariant Value;
  QString Description;
  QIcon Image;
};

struct TcxEditProperties {
  TcxEditKind Kind = TcxEditKind::Text;
  Qt::Alignment AlignHorz = Qt::AlignLeft;
  Qt::Alignment AlignVert = Qt::AlignVCenter;
  QList<TcxImageComboItem> Items;  // image combo box
  QVariant ValueChecked = true;    // check box
};

struct TxGridColumn {
  int Tag = 0;
  // "String", "WideString", "Integer", "Currency", "Float", "Date",
  // "DateTime", "Boolean", "Variant" ...
  QString ValueType = QStringLiteral("String");
  // The shared item of an edit repository, when the column uses one; it
  // wins over the column's own properties.
  std::shared_ptr<const TcxEditProperties> RepositoryItem;
  std::shared_ptr<const TcxEditProperties> Properties;
  Qt::Alignment HeaderAlignmentHorz = Qt::AlignLeft;
  Qt::Alignment HeaderAlignmentVert = Qt::AlignVCenter;
  int BandIndex = 0;
  int RowIndex = 0;   // band row of the column; -1 when it has none
  int LineCount = 1;  // lines of its band row that the column spans
  bool Visible = true;

  // The properties in force: the repository item's, else the column's own,
  // else none.
  const TcxEditProperties* EditProperties() const { return RepositoryItem ? RepositoryItem.get() : Properties.get(); }
};

struct TxGridBand {
  QString Caption;
  bool Visible = true;
};

// What a header custom-draw handler gets: the column, its caption and its
// rectangle on the header.
struct TcxGridColumnHeaderViewInfo {
  int ColumnIndex = -1;
  QString Text;
  QRect Bounds;
  QRect ContentBounds;  // the bounds inside the header's border lines
  Qt::Alignment AlignmentHorz = Qt::AlignLeft;
  Qt::Alignment AlignmentVert = Qt::AlignVCenter;
};

// The horizontal header of a grid view: an optional row of band captions
// above the column captions, both in the view's header styles.
class TxBandedHeader : public QHeaderView {
  Q_OBJECT
 public:
  explicit TxBandedHeader(TxGridView* AView);

  // Height of the band row (0 when band headers are off) and of the column
  // header row.
  int BandRowHeight() const;
  int ColumnRowHeight() const;
  // The band row's rectangle of a band on the header; empty when the band
  // or all its columns are hidden.
  QRect BandRect(int ABandIndex) const;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* AEvent) override;
  void paintSection(QPainter* APainter, const QRect& ARect, int ALogicalIndex) const override;

 private:
  TxGridView* FView;
};
