// TfmDataTusin: the communication dialog. The form (caption, folder grid,
// hint, function keys) on the base form, with the widget-free part
// TDataTusin (comm/DataTusin.h) whose fields and operations every transfer
// shares; the process types choose what an instance does.
#pragma once

#include <QStyledItemDelegate>

#include "comm/DataTusin.h"
#include "comm/dialogs/FolderGrid.h"
#include "ui/SDI.h"

class QLabel;
class QPlainTextEdit;
class QTableView;
class TxPlButton;

// Draws every cell of the folder grid: the type's tint on odd records, the
// focused record's text colour and its frame.
class TFolderGridDelegate : public QStyledItemDelegate {
 public:
  explicit TFolderGridDelegate(QObject* AParent) : QStyledItemDelegate(AParent) {}
  void paint(QPainter* APainter, const QStyleOptionViewItem& AOption, const QModelIndex& AIndex) const override;

  int ProcType = 0;
  int FocusedRow = -1;

  // What a cell looks like (also read by the tests).
  struct TLook {
    QColor Background;
    QColor Text;
    Qt::Alignment Alignment;
    int Indent = 0;  // pixels from the left (left-aligned) or shift left
    QColor Frame;    // invalid: no frame
    bool FrameLeft = false;
    bool FrameRight = false;
  };
  TLook Look(int ARow, int AColumn, const QString& AText) const;
};

class TfmDataTusin : public TBSDI, public TDataTusin {
  Q_OBJECT
 public:
  explicit TfmDataTusin(QWidget* AParent = nullptr);
  ~TfmDataTusin() override;

  // Sets the process type and the grid's layout (19 and above: cloud share).
  void SetProcType(int AValue);
  int ProcType() const { return FProcType; }
  void SetFuncKeyCaption();
  // Caption, hint and grid rows for the current type; nothing when the
  // operator's group has no data-list rows.
  void SetDisplay();
  // Fills the grid from the server rows.
  void FillGrid();
  // The cloud-share layout of the grid (status column shown, captions).
  void SetCloudLayout(bool ACloud);
  static QString VersionText(int AMajor, int AMinor) { return fnTusinVersionText(AMajor, AMinor); }
  // Reconnect and disconnect of the open company data around a transfer.
  bool DataReconnect();
  bool DataDisconnect();

  // ---- fields shared by the transfers
  bool FPrepare = false;
  bool RestoreSW = false;
  int SyoriG = 0;
  bool zendatasw = false;
  bool LoaderError = false;
  bool syokisw = false;
  QString syorimei;
  int clsousin = 0;
  bool DisConectyoyaku = false;
  bool FDatConnected = false;
  QString FZenkaiDataPath;
  int FiLine = 0;
  QString FShogou;
  QString FSKubun;
  bool FSentaku = false;
  QString FJDPath;
  QString FDataPath;

  // ---- for the keys and the tests
  QTableView* cxgDt1 = nullptr;
  TServerFolderModel* Model = nullptr;
  TFolderGridDelegate* Delegate = nullptr;
  QLabel* Label1 = nullptr;
  QPlainTextEdit* HintArea = nullptr;
  // ESC is 0, F1 .. F8 and F12 by number.
  TxPlButton* Key(int ANo) const;
  QString KeyCaption(int ANo) const;
  void FocusRecord(int ARow);
  int FocusedRecord() const;

 protected:
  bool event(QEvent* AEvent) override;

 private:
  void focusedRecordChanged(int AOld, int ANew);
  void applyFocusedKeys();

  TxPlButton* FKeys[13] = {};
};
