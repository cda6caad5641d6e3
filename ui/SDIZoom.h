#pragma once
// The scaling state of a base form (TBSDI): the design geometry of every
// widget recorded at the first show, with the row heights and column widths
// of the grid-like widgets, so that the form, its tables and its trees can
// be zoomed by the operator's font setting.
//
// Grid-like widgets: a table view (QTableView, QTableWidget) records its
// default row height and the width of each column; a tree view (QTreeView,
// QTreeWidget) the width of each column. The zoom multiplies them by the
// form's ZoomRaito.

#include <QList>
#include <QPointer>
#include <QWidget>

#include <memory>

struct TCompGridSize
{
    double RowHeight = 0;       // default row height (table views)
    qint16 BandHeaderHeight = 0;
    qint16 HeaderHeight = 0;    // height of the column header
    double Height2 = 0;         // always 0
    QList<qint16> ColWidths;    // by column index
};

struct TCompSize
{
    QPointer<QWidget> Widget;
    int Left = 0, Top = 0, Width = 0, Height = 0, Tag = 0;
    int ItemHeiht = 0; // combo boxes
    std::unique_ptr<TCompGridSize> Grid;
};

struct TSize
{
    QList<std::shared_ptr<TCompSize>> Table; // one entry per widget of the form
    int ComponentCount = 0;
    int ResizeFlg = 0;
    int BaseWidth = 0, BaseHeight = 0;
    int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;
    int FontHeight = 0;
    int KeepSize = 0;
    int InitScale = 100, Scale = 100;
};

// Whether a widget keeps a grid record (table and tree views).
bool fnIsGridLike(const QWidget *AWidget);
// Records (again) the column widths of a grid-like widget into AGrid; with
// AWithRows also its row height and header height.
void pcRecordGrid(const QWidget *AWidget, TCompGridSize &AGrid, bool AWithRows);
