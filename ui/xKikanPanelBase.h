#pragma once
// Common part of the period selectors: one row of cells, each a child panel,
// from which the operator picks one cell or a contiguous range with the
// mouse (press and drag) or the keyboard (arrows, Shift+arrows, Enter).
// The owner reads the committed range as cell indexes Stno..Edno and takes
// the OnMouseUp signal as the sign that the selection is final.

#include <QFrame>
#include <QLabel>
#include <QPoint>
#include <QRect>
#include <QVector>

#include "platform/Color.h"
#include "platform/DateTime.h"

class QMouseEvent;

class TxKikanPanelBase : public QFrame {
  Q_OBJECT
 public:
  ~TxKikanPanelBase() override;

  int CellCount() const { return FButton.size(); }
  // Cell i (0-based), named "No<i+1>".
  QLabel* Cell(int AIndex) const { return FButton.value(AIndex); }
  // Rectangle of cell i in the selector's coordinates.
  QRect CellRect(int AIndex) const { return FRECT.value(AIndex); }

  TColor BackColor() const { return FBackColor; }
  void SetBackColor(TColor AValue);
  TColor FontColor() const { return FFontColor; }
  void SetFontColor(TColor AValue);
  TColor DisabelColor() const { return FDisabelColor; }
  void SetDisabelColor(TColor AValue);

  int Stno() const { return FStno; }
  virtual void SetStno(int AValue);
  int Edno() const { return FEdno; }
  virtual void SetEdno(int AValue);
  bool KikanMove() const { return FKikanMove; }
  void SetKikanMove(bool AValue);
  bool KbdMouse() const { return FKbdMouse; }
  void SetKbdMouse(bool AValue) { FKbdMouse = AValue; }

  // First and last selectable cell.
  int StMonth() const { return FStMonth; }
  int Kikan() const { return FKikan; }
  // Anchor and moving end of the selection being made (not ordered).
  int MouseStartNo() const { return iMousStartNo; }
  int MouseLastNo() const { return iMousLastNo; }
  bool Dragging() const { return FFlag; }

  // Lays the cells out for a fiscal year: first day, last day, first date
  // that holds data (earlier months are not selectable) and closing day
  // (1..28, or 99 for month end).
  virtual void SetKikan(TDateTime tKishu, TDateTime tKimatu, TDateTime tKaisi, int iSime) = 0;
  virtual void SetButtonColor();

  // One row of cells: 18 pixels a cell and 22 high; the height is fixed
  // in layouts.
  QSize sizeHint() const override { return QSize(LayoutCellCount() * 18 + 8, 22); }

  // The closing date of the accounting month that holds ADate moved by
  // AMonths months, for closing day ASime (1..28, or 99 for month end).
  // Another closing day beeps and gives ADate unchanged.
  static TDateTime fnSimeDate(TDateTime ADate, int AMonths, int ASime);
  // Months between the closing dates of AKishu and ADate.
  static int fnSimeMonths(TDateTime AKishu, TDateTime ADate, int ASime);

 signals:
  // For every button pressed on a cell (after a left press is handled);
  // the position is in the cell's coordinates.
  void OnMouseDown(Qt::MouseButton AButton, Qt::KeyboardModifiers AShift, QPoint APos);
  // The selection is final: left release on a cell, Enter, or leaving the
  // selector after the arrow keys moved the selection.
  void OnMouseUp(Qt::MouseButton AButton, Qt::KeyboardModifiers AShift, QPoint APos);
  void OnDblClick();

 protected:
  TxKikanPanelBase(int ACellCount, QWidget* AParent);

  virtual void ButtonDblClick(QLabel* ACell);
  virtual void ButtonMouseDown(QLabel* ACell, QMouseEvent* AEvent);
  virtual void ButtonMouseMove(QLabel* ACell, QMouseEvent* AEvent);
  virtual void ButtonMouseUp(QLabel* ACell, QMouseEvent* AEvent);

  // Whether an unselected cell takes the finalised-period colours.
  virtual bool KakuteiCell(int) const { return false; }
  virtual TColor KakuteiBack() const { return clBtnFace; }
  virtual TColor KakuteiFont() const { return clWindowText; }
  // Bounds of the keyboard movement, and where Right goes from the upper
  // bound (-1: it stays).
  virtual int KeyLowerBound() const { return FStMonth; }
  virtual int KeyUpperBound() const { return FKikan; }
  virtual int RightWrapTarget() const { return -1; }
  // Number of cells the width is shared among.
  virtual int LayoutCellCount() const { return FButton.size(); }

  // Paints cells between a and b (either order) selected and the others
  // unselected, for the enabled selector.
  void PaintRange(int a, int b);
  void SetCellColors(int AIndex, TColor ABack, TColor AFont);
  // A cell that cannot be selected: disabled, in button face.
  void SetCellPlain(int AIndex, bool AClearText);
  void LayoutCells();
  void ProcessPending();

  bool eventFilter(QObject* AWatched, QEvent* AEvent) override;
  void keyPressEvent(QKeyEvent* AEvent) override;
  void keyReleaseEvent(QKeyEvent* AEvent) override;
  void focusInEvent(QFocusEvent* AEvent) override;
  void focusOutEvent(QFocusEvent* AEvent) override;
  void resizeEvent(QResizeEvent* AEvent) override;
  void changeEvent(QEvent* AEvent) override;

  QVector<QLabel*> FButton;
  QVector<QRect> FRECT;
  bool FFlag = false;
  int iMousStartNo = 0;
  int iMousLastNo = 0;
  TColor FDisabelColor = clSilver;
  TDateTime FKishu = 0;
  TDateTime FKimatu = 0;
  TDateTime FKaisi = 0;
  int FSime = 99;
  int FStno = 0;
  int FEdno = 0;
  int FStMonth = 0;
  int FKikan = 0;
  TColor FBackColor = clNavy;
  TColor FFontColor = clWhite;
  bool FKikanMove = true;
  bool FKbdMouse = false;
  bool fgLayout = false;

 private:
  void setOwnColor(TColor AColor);
};
