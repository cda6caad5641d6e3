// TxCheckedComboBox: looks like a drop-down list but opens a list of check
// boxes, so that several items can be picked. The closed field shows how
// many items are checked (KensuValueFormat) or the checked texts joined by
// commas; a popup menu on the open list checks or unchecks everything. The
// owner reads the checked items (optionally only their code part) or the
// joined text (optionally quoted for a query).
//
// The checked set is kept by row, in the order in which the rows were
// checked: two items with the same text keep their own check marks.
#pragma once

#include <functional>

#include <QList>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QWidget>

class QFrame;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QAction;

enum TCHBQuoteStyle { qsNone, qsSingle, qsDouble };
enum TCHBDispStyle { dsKensu, dsItems };

class TxCheckedComboBox : public QWidget {
  Q_OBJECT
 public:
  using TNotify = std::function<void(QObject* Sender)>;

  explicit TxCheckedComboBox(QWidget* AParent = nullptr);
  ~TxCheckedComboBox() override;

  // The item texts; setting them refills the list with every row unchecked.
  QStringList Items() const { return FItems; }
  void SetItems(const QStringList& AItems);

  QString CapSelectAll() const { return FCapSelectAll; }
  void SetCapSelectAll(const QString& AValue) { FCapSelectAll = AValue; }
  QString CapDeSelectAll() const { return FCapDeSelectAll; }
  void SetCapDeSelectAll(const QString& AValue) { FCapDeSelectAll = AValue; }
  bool Sorted() const { return FSorted; }
  void SetSorted(bool AValue);
  TCHBQuoteStyle QuoteStyle() const { return FQuoteStyle; }
  void SetQuoteStyle(TCHBQuoteStyle AValue) { FQuoteStyle = AValue; }
  int Columns() const { return FColumns; }
  void SetColumns(int AValue);
  int DropDownLines() const { return FDropDownLines; }
  // Only 1 .. 20 are taken; other values are ignored.
  void SetDropDownLines(int AValue);
  QString EmptyValue() const { return FEmptyValue; }
  void SetEmptyValue(const QString& AValue);
  bool SortDisplay() const { return FSortDisplay; }
  void SetSortDisplay(bool AValue);
  int DropDownWidth() const { return FDropDownWidth; }
  void SetDropDownWidth(int AValue) { FDropDownWidth = AValue; }
  TCHBDispStyle DispStyle() const { return FDispStyle; }
  void SetDispStyle(TCHBDispStyle AValue);
  QString KensuValueFormat() const { return FKensuValueFormat; }
  void SetKensuValueFormat(const QString& AValue);
  bool KeyUse() const { return FKeyUse; }
  void SetKeyUse(bool AValue) { FKeyUse = AValue; }
  int KeyLength() const { return FKeyLength; }
  void SetKeyLength(int AValue) { FKeyLength = AValue; }
  QString KeyDelimiter() const { return FKeyDelimiter; }
  void SetKeyDelimiter(const QString& AValue) { FKeyDelimiter = AValue; }
  QString Version() const { return QStringLiteral("1.0.3"); }
  void SetVersion(const QString&) {}
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool AValue) { FMultiSelect = AValue; }

  int CheckedCount() const { return int(FCheckedRows.size()); }
  // The checked rows' texts in list order (with KeyUse their codes).
  QStringList CheckedItems() const;
  int TopItemIndex() const;
  void SetTopItemIndex(int AValue);
  void Clear();
  void SetCheckedAll(QObject* Sender = nullptr);
  void SetUnCheckedAll(QObject* Sender = nullptr);
  bool IsChecked(int AIndex) const;
  bool GetChecked(int AIndex) const { return IsChecked(AIndex); }
  void SetChecked(int AIndex, bool AChecked);
  // The checked texts in checking order joined by ",", each quoted as
  // QuoteStyle says (a quote inside a text doubled).
  QString GetText() const;
  // What the closed field shows.
  QString DisplayText() const;

  bool DroppedDown() const;
  void DropDown();
  void CloseUp();

  // The parts, for tests and owners that style them.
  QLabel* TextPanel() const { return FPanel; }
  QLabel* ArrowImage() const { return FArrow; }
  QListWidget* CheckList() const { return FList; }
  QFrame* DropDownForm() const { return FDropForm; }
  QMenu* PopupMenu() const { return FMenu; }
  QAction* SelectAllItem() const { return FActAll; }
  QAction* DeSelectAllItem() const { return FActNone; }
  // Which picture the arrow shows: "DROPDOWN_NORMAL", "_HOT", "_PRESS", "_GRAY".
  QString ArrowState() const { return FArrowState; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

  TNotify OnChange;
  TNotify OnCloseUp;
  TNotify OnClickCheck;
  TNotify OnPanelClick;
  TNotify OnButtonClick;
  TNotify OnClick;

 protected:
  bool eventFilter(QObject* AObject, QEvent* AEvent) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void changeEvent(QEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void leaveEvent(QEvent* e) override;

 private:
  void layoutParts();
  void updatePanelColors();
  void setArrow(const QString& AState);
  void updateDisplay();
  void fillList();
  void change();
  void onItemChanged(QListWidgetItem* AItem);
  void uncheckAllRows();
  void closeAndMove(int AMove);  // 0 stay, 1 next, -1 previous

  QLabel* FPanel = nullptr;
  QLabel* FArrow = nullptr;
  QFrame* FDropForm = nullptr;
  QListWidget* FList = nullptr;
  QMenu* FMenu = nullptr;
  QAction* FActAll = nullptr;
  QAction* FActNone = nullptr;

  QStringList FItems;
  QList<int> FCheckedRows;  // in checking order
  QString FCapSelectAll = QStringLiteral("&全て選択");
  QString FCapDeSelectAll = QStringLiteral("&選択解除");
  bool FSorted = false;
  TCHBQuoteStyle FQuoteStyle = qsNone;
  int FColumns = 0;
  int FDropDownLines = 15;
  QString FEmptyValue = QStringLiteral("未選択");
  bool FSortDisplay = false;
  int FDropDownWidth = 120;
  TCHBDispStyle FDispStyle = dsKensu;
  QString FKensuValueFormat = QStringLiteral("%d件選択");
  bool FKeyUse = false;
  int FKeyLength = 0;
  QString FKeyDelimiter = QStringLiteral(":");
  bool FMultiSelect = true;

  QString FArrowState;
  bool FFilling = false;
  bool FClosedOnArrow = false;
};
