#pragma once
// Grid helpers of the framework's list dialogs: one set-up for their grid
// views, custom drawing of cells and column headers described by a small
// record (colours, a text to draw, a frame around the focused record over up
// to three band rows), and small record operations.
//
// A form calls pcCxGridCustomDrawCell from its view's OnCustomDrawCell
// handler and pcCxGridCustomDrawHeader from OnCustomDrawColumnHeader, with
// a TcxDrawCellInfo it fills for the cell being drawn.

#include <array>

#include "platform/Color.h"
#include "ui/xGridView.h"

class QPainter;
class TcxStyleRepoDef;

struct TcxDrawCellInfo {
  QObject* SenderForm = nullptr;
  // Draw with these helpers; False leaves the cell to the view's own
  // drawing.
  bool IsCallBaseEvent = true;
  int MeisaiCnt = 1;         // band rows of one record, 1 to 3
  bool IsRowSelect = false;  // for the form's own use
  bool IsInactive = true;    // for the form's own use
  bool IsEnabled = true;     // False draws the text in the grey-text colour
  TColor BackColor = 0;
  TColor TextColor = 0;
  TColor FrameColor = 0;
  bool IsDwawText = false;  // draw Text even when it is empty
  QString Text;             // drawn over the cell; empty = the cell's own value
  // Per band row, the leftmost and rightmost columns of the frame; -1 none.
  std::array<int, 3> ColIndexLeft{-1, -1, -1};
  std::array<int, 3> ColIndexRight{-1, -1, -1};
};

// Sides of a cell's frame.
enum TcxFrameSide { cfsLeft = 1, cfsTop = 2, cfsRight = 4, cfsBottom = 8, cfsAll = 15 };

// The sides of one cell that the frame of the focused record covers.
// ACellSelect: the view selects cells (only the focused cell is framed);
// ACellFocused / ARecordFocused: the cell / its record has the focus;
// AColIndex, ABandRow, ALineCount: the cell's column, the band row of that
// column (-1 none) and the lines it spans. AVisualIndex gives a column's
// place from the left (the identity when columns keep their order).
int fnCxFrameSides(const TcxDrawCellInfo& AInfo, bool ACellSelect, bool ACellFocused, bool ARecordFocused,
                   int AColIndex, int ABandRow, int ALineCount, const std::function<int(int)>& AVisualIndex = {});

// Whether a displayed value, read as an amount, is below zero. Group
// separators and blanks are allowed; text that is no amount is not negative.
bool fnCxIsNegativeAmount(const QString& ADisplayText);

// The one set-up of a list dialog's grid view: no band headers, rows and
// headers 24 pixels high, the data module's styles (odd/even rows only with
// AOddEven, exchanged when AStartIndex is a positive odd number), whole-row
// selection or with ACellSelect cell selection, editing in place, the
// arrow keys going on to the next record at the end of a record, nothing
// sorted, moved or sized by the user.
void pcCxGridViewInit(TxGridView* AView, bool ACellSelect, int AStartIndex, bool AOddEven);

// A base form's styles for one of its views: content, odd and even rows,
// header and band header, selection, inactive selection and preview from
// the form's repository; with ASwap the odd and even styles are exchanged
// when the view uses them.
void pcSetGridViewStyles(TxGridView* AView, const TcxStyleRepoDef* ARepo, bool ASwap);

void pcCxDrawCellInfoInit(QObject* AForm, TcxDrawCellInfo& AInfo);

void pcCxGridCustomDrawCell(TxGridView* Sender, QPainter* ACanvas, const TcxGridDataCellViewInfo& AViewInfo,
                            const TcxDrawCellInfo& AInfo, bool& ADone);
void pcCxGridCustomDrawHeader(TxGridView* Sender, QPainter* ACanvas, const TcxGridColumnHeaderViewInfo& AViewInfo,
                              const TcxDrawCellInfo& AInfo, bool& ADone);

// Deletes every record; with AUpdate inside one view update. No record is
// focused afterwards.
void pcCxGridClear(TxGridView* AView, bool AUpdate);

// Gives every column of a record the default of its value type ("Integer",
// "Currency", "Date", "DateTime" 0; "String", "WideString" empty; "Boolean"
// False; other types keep their value). ARecordIndex -1 appends the record.
// With APost the model is asked to submit. Answers the record's index, or -1
// when ARecordIndex names no record or the model takes no new row.
int fnCxGridInitRecord(TxGridView* AView, int ARecordIndex, bool APost);
int fnCxGridAppendRecord(TxGridView* AView, bool APost);

// The grid view that holds the focused widget (the view, its viewport, an
// in-place editor or the inner control of one); nullptr otherwise.
TxGridView* fnCxGetActiveGrid();

// Focuses a record and the first column tagged AColumnTag (when that column
// is visible) and scrolls: ATopOffset -1 only makes the focused record
// visible; otherwise the focused record stands ATopOffset rows below the top
// (0: it is the top record).
void pcCxGridFocusRecord(TxGridView* AView, int ARecordIndex, int AColumnTag, int ATopOffset);
