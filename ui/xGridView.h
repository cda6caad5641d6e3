#pragma once
// TxGridView: the grid of the framework's list dialogs, a table view over an
// item model with banded columns (xGridBands.h), view styles by reference
// (GridStyles.h), and custom drawing of data cells and column headers
// through handlers of the owning form.
//
// Records are the model's rows. The focused record and column are the
// view's current index. Rows count from 1 for the odd/even styles: the first
// record takes the odd-row style.

#include <functional>

#include <QPointer>
#include <QStyleOptionViewItem>
#include <QTableView>

#include "platform/Color.h"
#include "ui/xGridBands.h"

class TcxStyle;

// The styles a view draws with; any may be empty.
struct TxGridViewStyles {
  QPointer<TcxStyle> Content;
  QPointer<TcxStyle> ContentOdd;
  QPointer<TcxStyle> ContentEven;
  QPointer<TcxStyle> Header;
  QPointer<TcxStyle> BandHeader;
  QPointer<TcxStyle> Selection;
  QPointer<TcxStyle> Inactive;  // selection while the view has no focus
  QPointer<TcxStyle> Preview;
  QPointer<TcxStyle> InplaceEditFormItem;
};

// What a cell custom-draw handler gets.
struct TcxGridDataCellViewInfo {
  QModelIndex Index;
  int RecordIndex = -1;
  int ColumnIndex = -1;
  QRect Bounds;                // the cell's rectangle on the view's viewport
  QRect ContentBounds;         // the part inside the cell's border (here the same)
  QVariant Value;              // the model's edit value
  QString DisplayText;         // the text the cell shows
  bool Focused = false;        // the focused cell
  bool RecordFocused = false;  // a cell of the focused record
  bool Selected = false;       // drawn as selected
  // The colours the view would draw with.
  TColor BackColor = clWhite;
  TColor TextColor = clBlack;
  QStyleOptionViewItem Option;
};

class TxGridView : public QTableView {
  Q_OBJECT
 public:
  explicit TxGridView(QWidget* AParent = nullptr);
  ~TxGridView() override;

  void setModel(QAbstractItemModel* AModel) override;

  // ---- columns and bands (one column per model column)
  int ColumnCount() const;
  TxGridColumn& Columns(int AIndex);
  const TxGridColumn& Columns(int AIndex) const;
  // -1 when none has that tag.
  int ColumnByTag(int ATag) const;
  void SetColumnVisible(int AIndex, bool AVisible);
  bool ColumnVisible(int AIndex) const;
  QList<TxGridBand>& Bands() { return FBands; }
  const QList<TxGridBand>& Bands() const { return FBands; }
  void SetBandVisible(int ABandIndex, bool AVisible);
  TxBandedHeader* BandedHeader() const { return FHeader; }

  // ---- records
  int RecordCount() const;
  int FocusedRecordIndex() const;
  void SetFocusedRecordIndex(int AIndex);
  int FocusedColumnIndex() const;
  void SetFocusedColumnIndex(int AIndex);
  int TopRecordIndex() const;
  void SetTopRecordIndex(int AIndex);
  void MakeFocusedRecordVisible();

  // Changes inside one update: the view is redrawn once when the last
  // EndUpdate runs.
  void BeginUpdate();
  void EndUpdate();

  // ---- options (pcCxGridViewInit sets them for the list dialogs)
  bool BandHeaders = true;
  QString NoDataToDisplayInfoText;
  bool FocusRect = true;
  bool CellSelect = true;
  bool InvertSelect = true;
  bool HideSelection = false;
  bool AlwaysShowEditor = false;
  bool ImmediateEditor = true;
  bool CellHints = false;
  // Right at the last column goes on to the first column of the next
  // record, Left at the first column back to the last of the previous one.
  bool FocusCellOnCycle = false;
  bool Editing = true;
  bool UseOddEvenStyles = false;
  int HeaderHeight = 0;      // 0 = from the font
  int BandHeaderHeight = 0;  // 0 = from the font
  void SetDataRowHeight(int AHeight);
  int DataRowHeight() const;
  // Brings the Qt settings (selection behaviour, edit triggers, header
  // heights) in line with the options above.
  void ApplyOptions();

  TxGridViewStyles Styles;
  // Whether the view or a widget inside it has the focus.
  bool ViewFocused() const;

  // ---- drawing
  // Handlers of the owning form. A handler that sets ADone has drawn the
  // cell or header itself; otherwise the view draws it.
  std::function<void(TxGridView* ASender, QPainter* ACanvas, const TcxGridDataCellViewInfo& AViewInfo, bool& ADone)>
      OnCustomDrawCell;
  std::function<void(TxGridView* ASender, QPainter* ACanvas, const TcxGridColumnHeaderViewInfo& AViewInfo, bool& ADone)>
      OnCustomDrawColumnHeader;

  // The view's own drawing of a cell's value with the given colours
  // (background filled, then the value as its editor properties say).
  void DrawCellValue(QPainter* ACanvas, const TcxGridDataCellViewInfo& AViewInfo, TColor ABackColor,
                     TColor ATextColor) const;
  // The content style of a record by its parity (the odd/even styles
  // when used, else the content style).
  TcxStyle* ContentStyleOf(int ARecordIndex) const;
  // The view info of one cell, as the drawing hands it to the handler.
  TcxGridDataCellViewInfo CellViewInfo(const QModelIndex& AIndex, const QStyleOptionViewItem& AOption) const;

 protected:
  QModelIndex moveCursor(CursorAction ACursorAction, Qt::KeyboardModifiers AModifiers) override;
  void paintEvent(QPaintEvent* AEvent) override;
  bool viewportEvent(QEvent* AEvent) override;
  void focusInEvent(QFocusEvent* AEvent) override;
  void focusOutEvent(QFocusEvent* AEvent) override;

 private:
  void syncColumns();
  void applyHidden(int AIndex);
  void defaultColours(const QModelIndex& AIndex, bool ASelected, TColor& ABack, TColor& AText) const;
  // Repaints when one of the styles in use changes.
  void watchStyles();

  QList<TcxStyle*> FWatched;
  QList<QMetaObject::Connection> FStyleConnections;

  QList<TxGridColumn> FColumns;
  QList<TxGridBand> FBands;
  TxBandedHeader* FHeader;
  int FUpdateCount = 0;
};

// Holds a view update for its lifetime.
class TxGridUpdateLocker {
 public:
  explicit TxGridUpdateLocker(TxGridView* AView) : FView(AView)
  {
    if (FView)
      FView->BeginUpdate();
  }
  ~TxGridUpdateLocker()
  {
    if (FView)
      FView->EndUpdate();
  }
  TxGridUpdateLocker(const TxGridUpdateLocker&) = delete;
  TxGridUpdateLocker& operator=(const TxGridUpdateLocker&) = delete;

 private:
  QPointer<TxGridView> FView;
};

// A stored colour (system colours resolved) as a QColor; AFallback when unset.
QColor fnGridColor(TColor AColor, const QColor& AFallback);
