#pragma once
// The scaling state of a base form (TBSDI): the design geometry of every
// widget recorded at the first show, with the row heights and column widths
// of the grid-like widgets, so that the form, its tables and its trees can
// be zoomed by the operator's font setting.
//
// Grid-like widgets: a table view (QTableView, QTableWidget) records its
// default row height and the width of each column; a tree view (QTreeView,
// QTreeWidget) its default node height and the width of each column. The
// zoom multiplies them by the form's ZoomRaito.
//
// A tree's rows follow its font unless the form gives the tree a default
// node height of its own (pcSetDefaultNodeHeight): only such a fixed height
// is scaled, a height that follows the font grows with the font already.

#include <QList>
#include <QPointer>
#include <QWidget>

#include "common/AccRecord.h"

class QTreeView;

#include <memory>

struct TCompGridSize {
  double RowHeight = 0;  // default row height (tables), node height (trees)
  qint16 BandHeaderHeight = 0;
  qint16 HeaderHeight = 0;  // height of the column header
  double Height2 = 0;       // always 0
  QList<qint16> ColWidths;  // by column index
};

struct TCompSize {
  QPointer<QWidget> Widget;
  int Left = 0, Top = 0, Width = 0, Height = 0, Tag = 0;
  int ItemHeiht = 0;  // combo boxes
  std::unique_ptr<TCompGridSize> Grid;
};

struct TSize {
  QList<std::shared_ptr<TCompSize>> Table;  // one entry per widget of the form
  int ComponentCount = 0;
  int ResizeFlg = 0;
  int BaseWidth = 0, BaseHeight = 0;
  int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;
  int FontHeight = 0;
  int KeepSize = 0;
  TFontInfo Font;  // the operator's font when the state was made
  int InitScale = 100, Scale = 100;
};

// Whether a widget keeps a grid record (table and tree views).
bool fnIsGridLike(const QWidget* AWidget);
// Records (again) the column widths of a grid-like widget into AGrid; with
// AWithRows also its row height and header height.
void pcRecordGrid(const QWidget* AWidget, TCompGridSize& AGrid, bool AWithRows);

// The default node height a tree was given (0: its rows follow its font).
int fnDefaultNodeHeight(const QTreeView* ATree);
// Gives every node of ATree the height AHeight (0 or less: back to rows
// that follow the font). The tree's own item delegate keeps drawing and
// editing; only the height it answers is replaced.
void pcSetDefaultNodeHeight(QTreeView* ATree, int AHeight);

// Whether the form's own design places AWidget (every widget between it and
// AForm is a plain container: a widget, frame or group box, or a page of a
// tab widget or page stack). The parts inside composite controls (the
// viewport of a table, the edit of a combo box) are their control's.
bool fnIsPlacedByForm(const QWidget* AWidget, const QWidget* AForm);

// Panels a hand-placed form docks at the left edge of their parent carry
// the dynamic property "Align" with the text "alLeft"; a panel that also
// follows all four edges of its parent has "Anchors" naming "akLeft",
// "akTop", "akRight" and "akBottom" (comma-separated, any order).
bool fnIsLeftAlignedPanel(const QWidget* AWidget);
bool fnIsAnchoredOnAllSides(const QWidget* AWidget);

// Locks the window updates of a widget (and everything in it) while alive;
// a widget that was locked already stays locked.
class TUpdateLock {
 public:
  explicit TUpdateLock(QWidget* AWidget);
  ~TUpdateLock();
  TUpdateLock(const TUpdateLock&) = delete;
  TUpdateLock& operator=(const TUpdateLock&) = delete;

 private:
  QPointer<QWidget> FWidget;
  bool FWasEnabled = false;
};
