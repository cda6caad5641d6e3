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

#include <functional>
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
  MaskEdit,       // text typed into an edit mask
  ComboBox,       // one of a fixed list of texts
  Label,          // text shown, never edited
};

// What the input method does in an editor.
enum class TcxImeMode { DontCare, Off, Hiragana };

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
  QVariant ValueUnchecked = false;
  // Shown only: no editor, a check box does not toggle.
  bool ReadOnly = false;
  // Currency: the pictures of the value shown and of the value being edited
  // (empty: the plain number), the decimals kept, the range (both 0: none)
  // and, for an item that is not nullable, the text of an empty cell (an
  // empty editor stores 0).
  QString DisplayFormat;
  QString EditFormat;
  int DecimalPlaces = 0;
  double MinValue = 0;
  double MaxValue = 0;
  bool Nullable = true;
  QString NullString;
  // Text, currency and mask: the character limit (0: none); MaxLengthProc,
  // when set, gives the limit in force (the code lengths of the open data).
  int MaxLength = 0;
  std::function<int()> MaxLengthProc;
  TcxImeMode ImeMode = TcxImeMode::DontCare;
  // Text: whether an empty value may be stored.
  bool AllowEmpty = true;
  // Mask: the edit mask in the framework's notation ("!99/00;1;_": mask,
  // literals kept, blank character) and whether entering selects the text.
  QString EditMask;
  bool AutoSelect = true;
  // Fixed list: its texts; ComboItemsProc, when set, gives them (lists
  // filled at run time).
  QStringList ComboItems;
  std::function<QStringList()> ComboItemsProc;
  // The check of a value before it is stored: the display value as typed,
  // the error text and the error flag; a handler may replace the value.
  // The value is refused while the flag stays set.
  std::function<void(QVariant& DisplayValue, QString& ErrorText, bool& Error)> OnValidate;

  int EffectiveMaxLength() const { return MaxLengthProc ? MaxLengthProc() : MaxLength; }
  QStringList EffectiveComboItems() const { return ComboItemsProc ? ComboItemsProc() : ComboItems; }
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
