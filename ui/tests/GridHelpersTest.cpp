// Grid helpers: the frame of the focused record, red negative amounts, the
// one view set-up with its odd/even styles, cell and header drawing as seen
// on the screen, the record operations, focusing a record with its scroll
// position, and finding the grid that holds the focus.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>
#include <QToolTip>
#include <QVBoxLayout>

#include "ui/GridHelpers.h"
#include "ui/GridStyles.h"
#include "ui/tests/UiTestUtil.h"

namespace {

constexpr int L = cfsLeft, T = cfsTop, R = cfsRight, B = cfsBottom;

TcxDrawCellInfo frameInfo(int AMeisaiCnt, std::array<int, 3> ALeft, std::array<int, 3> ARight)
{
  TcxDrawCellInfo i;
  pcCxDrawCellInfoInit(nullptr, i);
  i.MeisaiCnt = AMeisaiCnt;
  i.ColIndexLeft = ALeft;
  i.ColIndexRight = ARight;
  return i;
}

// A form with one grid view over a model of text cells.
struct TGridForm {
  QWidget form;
  QStandardItemModel model;
  TxGridView* view;

  TGridForm(int ARows, int ACols, int AHeight = 200) : model(ARows, ACols)
  {
    for (int r = 0; r < ARows; ++r)
      for (int c = 0; c < ACols; ++c)
        model.setItem(r, c, new QStandardItem(QStringLiteral("r%1c%2").arg(r).arg(c)));
    for (int c = 0; c < ACols; ++c)
      model.setHorizontalHeaderItem(c, new QStandardItem(QStringLiteral("Col %1").arg(c)));
    view = new TxGridView(&form);
    view->setModel(&model);
    view->horizontalHeader()->setDefaultSectionSize(70);
    auto* lay = new QVBoxLayout(&form);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->addWidget(view);
    form.resize(80 * ACols + 20, AHeight);
  }

  void show()
  {
    form.show();
    QApplication::setActiveWindow(&form);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
  }

  QImage cells() const { return view->viewport()->grab().toImage(); }
  QRect cell(int ARow, int ACol) const { return view->visualRect(model.index(ARow, ACol)); }
};

bool anyPixel(const QImage& AImage, const QRect& ARect, const std::function<bool(const QColor&)>& AWanted)
{
  for (int y = ARect.top(); y <= ARect.bottom(); ++y)
    for (int x = ARect.left(); x <= ARect.right(); ++x)
      if (AWanted(AImage.pixelColor(x, y)))
        return true;
  return false;
}

bool near(const QColor& A, const QColor& B, int ATolerance = 60)
{
  return std::abs(A.red() - B.red()) + std::abs(A.green() - B.green()) + std::abs(A.blue() - B.blue()) <= ATolerance;
}

}  // namespace

// ---------------------------------------------------------------- frame

TEST(GridHelpers, FrameSidesOfTheFocusedRecord)
{
  const auto one = frameInfo(1, {1, -1, -1}, {3, -1, -1});
  const auto single = frameInfo(1, {2, -1, -1}, {2, -1, -1});
  // Two band rows: the top row framed from column 0 to 5, the bottom row
  // from column 2 to 6.
  const auto two = frameInfo(2, {0, 2, -1}, {5, 6, -1});
  const auto twoSameEnds = frameInfo(2, {0, 0, -1}, {5, 5, -1});
  const auto three = frameInfo(3, {0, 3, 6}, {2, 5, 8});
  const auto noFrame = frameInfo(1, {-1, -1, -1}, {3, -1, -1});
  const struct {
    const char* what;
    const TcxDrawCellInfo& info;
    bool cellSelect, cellFocused, recordFocused;
    int col, bandRow, lines, sides;
  } cases[] = {
      {"cell select: the focused cell is boxed", one, true, true, true, 0, 0, 1, L | T | R | B},
      {"cell select: other cells of the record are not", one, true, false, true, 1, 0, 1, 0},
      {"another record has no frame", one, false, false, false, 1, 0, 1, 0},
      {"no left end: no frame", noFrame, false, false, true, 3, 0, 1, 0},
      {"one row: left end", one, false, false, true, 1, 0, 1, L | T | B},
      {"one row: between", one, false, false, true, 2, 0, 1, T | B},
      {"one row: right end", one, false, true, true, 3, 0, 1, T | R | B},
      {"one row: left of the frame", one, false, false, true, 0, 0, 1, 0},
      {"one row: right of the frame", one, false, false, true, 4, 0, 1, 0},
      {"one row, one column framed: boxed", single, false, false, true, 2, 0, 1, L | T | R | B},
      {"one row, one column framed: the others are not", single, false, false, true, 1, 0, 1, 0},
      {"two rows: top left", two, false, false, true, 0, 0, 1, L | T},
      {"two rows: top right", two, false, false, true, 5, 0, 1, T | R},
      {"two rows: top middle", two, false, false, true, 1, 0, 1, T},
      {"two rows: top middle spanning both lines", two, false, false, true, 1, 0, 2, T | B},
      {"two rows: bottom left", two, false, false, true, 2, 1, 1, L | B},
      {"two rows: bottom right", two, false, false, true, 6, 1, 1, R | B},
      {"two rows: bottom middle", two, false, false, true, 3, 1, 1, B},
      {"two rows, same ends: top left reaches down", twoSameEnds, false, false, true, 0, 0, 1, L | T | B},
      {"two rows, same ends: top right reaches down", twoSameEnds, false, false, true, 5, 0, 1, T | R | B},
      {"three rows: middle left", three, false, false, true, 3, 1, 1, L},
      {"three rows: middle right", three, false, false, true, 5, 1, 1, R},
      {"three rows: middle between", three, false, false, true, 4, 1, 1, 0},
      {"three rows: bottom left", three, false, false, true, 6, 2, 1, L | B},
      {"three rows: column without band row", three, false, false, true, 9, -1, 1, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(fnCxFrameSides(c.info, c.cellSelect, c.cellFocused, c.recordFocused, c.col, c.bandRow, c.lines), c.sides)
        << c.what;
}

TEST(GridHelpers, FrameSidesFollowTheColumnsPlacesFromTheLeft)
{
  // Columns shown in the order 0, 3, 1, 2: column 3 stands between 0 and 1.
  const auto info = frameInfo(1, {0, -1, -1}, {1, -1, -1});
  const auto visual = [](int c) { return c == 3 ? 1 : c == 0 ? 0 : c + 1; };
  EXPECT_EQ(fnCxFrameSides(info, false, false, true, 3, 0, 1, visual), T | B);
  EXPECT_EQ(fnCxFrameSides(info, false, false, true, 2, 0, 1, visual), 0);
}

TEST(GridHelpers, NegativeAmountsReadFromTheDisplayedText)
{
  const struct {
    const char* text;
    bool negative;
  } cases[] = {
      {"-1", true},     {"-1,234,567", true}, {" -5 ", true}, {"-0.0001", true}, {"0", false},   {"-0", false},
      {"1,234", false}, {"", false},          {"abc", false}, {"-", false},      {"－5", false}, {"12-", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(fnCxIsNegativeAmount(QString::fromUtf8(c.text)), c.negative) << c.text;
}

// ---------------------------------------------------------------- set-up

TEST(GridHelpers, ViewInitSetsTheListDialogLook)
{
  for (const bool cellSelect : {false, true}) {
    TGridForm g(3, 3);
    g.view->BandHeaders = true;
    g.view->NoDataToDisplayInfoText = QStringLiteral("x");
    pcCxGridViewInit(g.view, cellSelect, 0, true);
    TxGridView* v = g.view;
    EXPECT_FALSE(v->BandHeaders);
    EXPECT_TRUE(v->NoDataToDisplayInfoText.isEmpty());
    EXPECT_FALSE(v->FocusRect);
    EXPECT_EQ(v->DataRowHeight(), 24);
    EXPECT_EQ(v->BandedHeader()->sizeHint().height(), 24) << "column headers only";
    EXPECT_EQ(v->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_FALSE(v->HideSelection);
    EXPECT_EQ(v->CellSelect, cellSelect);
    EXPECT_EQ(v->InvertSelect, !cellSelect);
    EXPECT_EQ(v->selectionBehavior(), cellSelect ? QAbstractItemView::SelectItems : QAbstractItemView::SelectRows);
    EXPECT_EQ(v->editTriggers() != QAbstractItemView::NoEditTriggers, cellSelect)
        << "only a view that selects cells edits in place";
    EXPECT_TRUE(v->CellHints);
    EXPECT_FALSE(v->isSortingEnabled());
    EXPECT_FALSE(v->horizontalHeader()->sectionsMovable());
    EXPECT_EQ(v->horizontalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    const TcxDataModuleStyles& dm = fnDataModuleStyles();
    EXPECT_EQ(v->Styles.Content, dm.cxStyleMeisai);
    EXPECT_EQ(v->Styles.Selection, dm.cxStyleSelect);
    EXPECT_EQ(v->Styles.Header, dm.cxStyleTitle);
    EXPECT_EQ(v->Styles.BandHeader, dm.cxStyleTitle);
    EXPECT_EQ(v->Styles.Preview, dm.cxStyleSelect);
    EXPECT_EQ(v->Styles.InplaceEditFormItem, dm.cxStyleTouka);
  }
}

TEST(GridHelpers, ViewInitStartsTheAlternatingColoursAsTheStartIndexSays)
{
  const TcxDataModuleStyles& dm = fnDataModuleStyles();
  const struct {
    bool oddEven;
    int startIndex;
    TcxStyle *first, *second;
  } cases[] = {
      {true, 0, dm.cxStyleMeisaiOdd, dm.cxStyleMeisaiEven},  {true, 1, dm.cxStyleMeisaiEven, dm.cxStyleMeisaiOdd},
      {true, 2, dm.cxStyleMeisaiOdd, dm.cxStyleMeisaiEven},  {true, 3, dm.cxStyleMeisaiEven, dm.cxStyleMeisaiOdd},
      {true, -1, dm.cxStyleMeisaiOdd, dm.cxStyleMeisaiEven}, {false, 3, dm.cxStyleMeisai, dm.cxStyleMeisai},
  };
  for (const auto& c : cases) {
    TGridForm g(4, 2);
    pcCxGridViewInit(g.view, false, c.startIndex, c.oddEven);
    g.show();
    g.view->setCurrentIndex(QModelIndex());  // no focused record drawn in the selection style
    EXPECT_EQ(g.view->ContentStyleOf(0), c.first) << c.startIndex;
    EXPECT_EQ(g.view->ContentStyleOf(1), c.second) << c.startIndex;
    // On the screen, away from the cell text.
    const QImage img = g.cells();
    for (int row = 0; row < 4; ++row) {
      const QRect r = g.cell(row, 1);
      const QColor want = fnGridColor((row % 2 == 0 ? c.first : c.second)->Color(), Qt::white);
      EXPECT_EQ(img.pixelColor(r.right() - 3, r.center().y()), want) << c.startIndex << " row " << row;
    }
  }
}

// ---------------------------------------------------------------- drawing

TEST(GridHelpers, CellDrawingColoursTextAndFrame)
{
  TGridForm g(3, 4);
  pcCxGridViewInit(g.view, false, 0, false);
  g.view->Columns(1).ValueType = QStringLiteral("Currency");
  const auto props = [](TcxEditKind AKind, Qt::Alignment AAlign) {
    auto p = std::make_shared<TcxEditProperties>();
    p->Kind = AKind;
    p->AlignHorz = AAlign;
    return p;
  };
  g.view->Columns(1).Properties = props(TcxEditKind::Currency, Qt::AlignRight);
  g.view->Columns(2).Properties = props(TcxEditKind::CheckBox, Qt::AlignHCenter);
  g.model.item(0, 1)->setText(QStringLiteral("-1,000"));
  g.model.item(1, 1)->setText(QStringLiteral("-2,000"));
  g.model.item(2, 1)->setText(QStringLiteral("3,000"));
  g.model.item(1, 2)->setData(true, Qt::EditRole);

  const QColor back(250, 250, 200), blue(0, 0, 255), frame(0, 160, 0);
  g.view->OnCustomDrawCell = [&](TxGridView* s, QPainter* p, const TcxGridDataCellViewInfo& vi, bool& done) {
    TcxDrawCellInfo info;
    pcCxDrawCellInfoInit(&g.form, info);
    info.BackColor = fromQColor(back);
    info.TextColor = fromQColor(blue);
    info.FrameColor = fromQColor(frame);
    info.ColIndexLeft[0] = 1;
    info.ColIndexRight[0] = 2;
    info.IsEnabled = vi.RecordIndex != 1;
    info.IsDwawText = vi.ColumnIndex >= 2;  // fill without text
    pcCxGridCustomDrawCell(s, p, vi, info, done);
    EXPECT_TRUE(done);
  };
  g.view->setCurrentIndex(g.model.index(0, 0));
  g.show();
  g.view->setFocus();
  QApplication::processEvents();
  const QImage img = g.cells();
  uitest::saveScreenshot(g.view, QStringLiteral("grid-helpers-cells"));

  const auto isRed = [](const QColor& c) { return c.red() > 180 && c.green() < 90 && c.blue() < 90; };
  const auto isBlue = [](const QColor& c) { return c.blue() > 180 && c.red() < 90 && c.green() < 90; };
  const auto isGrey = [](const QColor& c) {
    return std::abs(c.red() - c.green()) < 12 && std::abs(c.green() - c.blue()) < 12 && c.red() > 60 && c.red() < 200;
  };
  const QRect neg = g.cell(0, 1).adjusted(4, 4, -4, -4);
  EXPECT_TRUE(anyPixel(img, neg, isRed)) << "a negative amount is red whatever the text colour";
  EXPECT_FALSE(anyPixel(img, neg, isBlue));
  const QRect disabled = g.cell(1, 1).adjusted(4, 4, -4, -4);
  EXPECT_TRUE(anyPixel(img, disabled, isGrey)) << "a disabled record is grey, also a negative amount";
  EXPECT_FALSE(anyPixel(img, disabled, isRed));
  const QRect pos = g.cell(2, 1).adjusted(4, 4, -4, -4);
  EXPECT_TRUE(anyPixel(img, pos, isBlue));
  EXPECT_FALSE(anyPixel(img, pos, isRed));

  // Text column with IsDwawText and no text: the cell is only filled.
  const QRect filled = g.cell(2, 3).adjusted(1, 1, -1, -1);
  EXPECT_FALSE(anyPixel(img, filled, [&](const QColor& c) { return c != back; }));
  // The check box column is a picture column: its mark stays.
  const QRect check = g.cell(1, 2).adjusted(4, 4, -4, -4);
  EXPECT_TRUE(anyPixel(img, check, [&](const QColor& c) { return !near(c, back, 30); }));

  // Frame of the focused record 0 from column 1 to column 2.
  const QRect c1 = g.cell(0, 1), c2 = g.cell(0, 2);
  EXPECT_EQ(img.pixelColor(c1.left() + 1, c1.center().y()), frame) << "left edge";
  EXPECT_EQ(img.pixelColor(c1.center().x(), c1.top() + 1), frame) << "top edge";
  EXPECT_EQ(img.pixelColor(c1.center().x(), c1.bottom() - 1), frame) << "bottom edge";
  EXPECT_EQ(img.pixelColor(c2.right() - 1, c2.center().y()), frame) << "right edge";
  EXPECT_NE(img.pixelColor(c1.right() - 1, c1.center().y()), frame) << "no edge inside the frame";
  const auto isFrame = [&](const QColor& c) { return c == frame; };
  EXPECT_FALSE(anyPixel(img, g.cell(0, 0), isFrame)) << "column left of the frame";
  EXPECT_FALSE(anyPixel(img, g.cell(0, 3), isFrame)) << "column right of the frame";
  EXPECT_FALSE(anyPixel(img, g.cell(1, 1), isFrame)) << "another record";
}

TEST(GridHelpers, CellSelectFramesTheFocusedCellOnly)
{
  TGridForm g(2, 3);
  pcCxGridViewInit(g.view, true, 0, false);
  const QColor frame(200, 0, 200);
  g.view->OnCustomDrawCell = [&](TxGridView* s, QPainter* p, const TcxGridDataCellViewInfo& vi, bool& done) {
    TcxDrawCellInfo info;
    pcCxDrawCellInfoInit(&g.form, info);
    info.BackColor = clWhite;
    info.FrameColor = fromQColor(frame);
    pcCxGridCustomDrawCell(s, p, vi, info, done);
  };
  g.view->setEditTriggers(QAbstractItemView::NoEditTriggers);  // no editor over the cell
  g.view->setCurrentIndex(g.model.index(1, 1));
  g.show();
  const QImage img = g.cells();
  const QRect c = g.cell(1, 1);
  for (const QPoint p : {QPoint(c.left() + 1, c.center().y()), QPoint(c.right() - 1, c.center().y()),
                         QPoint(c.center().x(), c.top() + 1), QPoint(c.center().x(), c.bottom() - 1)})
    EXPECT_EQ(img.pixelColor(p), frame);
  const auto isFrame = [&](const QColor& x) { return x == frame; };
  EXPECT_FALSE(anyPixel(img, g.cell(1, 0), isFrame));
  EXPECT_FALSE(anyPixel(img, g.cell(0, 1), isFrame));
}

TEST(GridHelpers, WithoutTheBaseEventTheViewDrawsTheCellAndHeaderItself)
{
  TGridForm g(2, 2);
  pcCxGridViewInit(g.view, false, 0, false);
  bool cellDone = true, headerDone = true;
  g.view->OnCustomDrawCell = [&](TxGridView* s, QPainter* p, const TcxGridDataCellViewInfo& vi, bool& done) {
    TcxDrawCellInfo info;
    pcCxDrawCellInfoInit(&g.form, info);
    info.IsCallBaseEvent = false;
    info.BackColor = clRed;
    pcCxGridCustomDrawCell(s, p, vi, info, done);
    cellDone = done;
  };
  g.view->OnCustomDrawColumnHeader = [&](TxGridView* s, QPainter* p, const TcxGridColumnHeaderViewInfo& vi,
                                         bool& done) {
    TcxDrawCellInfo info;
    pcCxDrawCellInfoInit(&g.form, info);
    info.IsCallBaseEvent = false;
    info.BackColor = clRed;
    pcCxGridCustomDrawHeader(s, p, vi, info, done);
    headerDone = done;
  };
  g.show();
  g.view->setCurrentIndex(QModelIndex());
  const QImage img = g.cells();
  EXPECT_FALSE(cellDone);
  EXPECT_FALSE(headerDone);
  const QRect r = g.cell(1, 1);
  EXPECT_EQ(img.pixelColor(r.right() - 3, r.center().y()),
            fnGridColor(fnDataModuleStyles().cxStyleMeisai->Color(), Qt::white));
  const QImage head = g.view->horizontalHeader()->grab().toImage();
  EXPECT_EQ(head.pixelColor(5, 3), fnGridColor(fnDataModuleStyles().cxStyleTitle->Color(), Qt::white));
}

TEST(GridHelpers, HeaderDrawingFillsItsBackColour)
{
  TGridForm g(1, 3);
  pcCxGridViewInit(g.view, false, 0, false);
  const QColor back(30, 60, 90);
  g.view->Columns(2).HeaderAlignmentHorz = Qt::AlignRight;
  g.view->OnCustomDrawColumnHeader = [&](TxGridView* s, QPainter* p, const TcxGridColumnHeaderViewInfo& vi,
                                         bool& done) {
    TcxDrawCellInfo info;
    pcCxDrawCellInfoInit(&g.form, info);
    info.BackColor = fromQColor(back);
    info.TextColor = clWhite;
    pcCxGridCustomDrawHeader(s, p, vi, info, done);
  };
  g.show();
  QHeaderView* h = g.view->horizontalHeader();
  const QImage head = h->grab().toImage();
  const int x0 = h->sectionViewportPosition(2);
  const int w = h->sectionSize(2);
  EXPECT_EQ(head.pixelColor(x0 + 2, 2), back);
  // Right-aligned caption: white text in the right part, none at the left.
  const auto isWhite = [](const QColor& c) { return c.red() > 200 && c.green() > 200 && c.blue() > 200; };
  EXPECT_TRUE(anyPixel(head, QRect(x0 + w / 2, 4, w / 2 - 4, 16), isWhite));
  EXPECT_FALSE(anyPixel(head, QRect(x0 + 4, 4, 10, 16), isWhite));
}

// ---------------------------------------------------------------- records

namespace {

// A model that counts submits and may refuse to delete.
class TCountingModel : public QStandardItemModel {
 public:
  using QStandardItemModel::QStandardItemModel;
  int Submits = 0;
  bool RefuseRemove = false;
  bool submit() override
  {
    ++Submits;
    return true;
  }
  bool removeRows(int ARow, int ACount, const QModelIndex& AParent = {}) override
  {
    return !RefuseRemove && QStandardItemModel::removeRows(ARow, ACount, AParent);
  }
};

}  // namespace

TEST(GridHelpers, ClearDeletesEveryRecordAndLeavesTheViewDrawing)
{
  for (const bool refuse : {false, true}) {
    for (const bool update : {false, true}) {
      QWidget form;
      TCountingModel model(5, 2);
      model.RefuseRemove = refuse;
      auto* view = new TxGridView(&form);
      view->setModel(&model);
      view->setCurrentIndex(model.index(2, 1));
      QList<bool> drawingWhileDeleting;
      QObject::connect(&model, &QAbstractItemModel::rowsRemoved, view,
                       [&] { drawingWhileDeleting << view->updatesEnabled(); });
      pcCxGridClear(view, update);
      EXPECT_EQ(model.rowCount(), refuse ? 5 : 0);
      EXPECT_EQ(drawingWhileDeleting, QList<bool>(refuse ? 0 : 5, !update))
          << "with AUpdate the view is not drawn between deletions";
      EXPECT_EQ(view->FocusedRecordIndex(), -1);
      EXPECT_TRUE(view->updatesEnabled()) << "the update ends also when nothing could be deleted";
    }
  }
}

TEST(GridHelpers, InitRecordGivesEachColumnTheDefaultOfItsType)
{
  QWidget form;
  TCountingModel model(2, 8);
  auto* view = new TxGridView(&form);
  view->setModel(&model);
  const char* types[] = {"Integer", "Currency", "DateTime", "Date", "String", "WideString", "Boolean", "Variant"};
  for (int c = 0; c < 8; ++c) {
    view->Columns(c).ValueType = QString::fromLatin1(types[c]);
    for (int r = 0; r < 2; ++r)
      model.setData(model.index(r, c), QStringLiteral("old"));
  }
  const auto check = [&](int ARow, const char* AWhat) {
    EXPECT_EQ(model.index(ARow, 0).data(Qt::EditRole), QVariant(0)) << AWhat;
    EXPECT_EQ(model.index(ARow, 1).data(Qt::EditRole), QVariant(0)) << AWhat;
    EXPECT_EQ(model.index(ARow, 2).data(Qt::EditRole), QVariant(0.0)) << AWhat;
    EXPECT_EQ(model.index(ARow, 3).data(Qt::EditRole), QVariant(0.0)) << AWhat;
    EXPECT_EQ(model.index(ARow, 4).data(Qt::EditRole).toString(), QString()) << AWhat;
    EXPECT_EQ(model.index(ARow, 5).data(Qt::EditRole).toString(), QString()) << AWhat;
    EXPECT_EQ(model.index(ARow, 6).data(Qt::EditRole), QVariant(false)) << AWhat;
  };

  QList<bool> drawingWhileWriting;
  QObject::connect(&model, &QAbstractItemModel::dataChanged, view,
                   [&] { drawingWhileWriting << view->updatesEnabled(); });
  EXPECT_EQ(fnCxGridAppendRecord(view, false), 2);
  EXPECT_EQ(drawingWhileWriting, QList<bool>(7, false)) << "seven defaults written inside one update";
  EXPECT_EQ(model.rowCount(), 3);
  check(2, "appended");
  EXPECT_FALSE(model.index(2, 7).data(Qt::EditRole).isValid()) << "a variant column gets nothing";
  EXPECT_EQ(model.Submits, 0);

  EXPECT_EQ(fnCxGridInitRecord(view, 0, true), 0);
  check(0, "existing record");
  EXPECT_EQ(model.index(0, 7).data(Qt::EditRole).toString(), QStringLiteral("old")) << "left as it is";
  EXPECT_EQ(model.index(1, 4).data(Qt::EditRole).toString(), QStringLiteral("old")) << "other records untouched";
  EXPECT_EQ(model.Submits, 1);

  for (const int bad : {3, 99, -2}) {
    EXPECT_EQ(fnCxGridInitRecord(view, bad, true), -1) << bad;
    EXPECT_EQ(model.rowCount(), 3) << bad;
  }
  EXPECT_EQ(model.Submits, 1);
  EXPECT_TRUE(view->updatesEnabled());
}

TEST(GridHelpers, FocusRecordPlacesTheRecordAndItsColumn)
{
  TGridForm g(30, 4, 24 * 8 + 40);  // about eight rows visible
  pcCxGridViewInit(g.view, false, 0, false);
  for (int c = 0; c < 4; ++c)
    g.view->Columns(c).Tag = 10 + c;
  g.view->Columns(3).Tag = 11;  // a second column with tag 11
  g.view->SetColumnVisible(2, false);
  g.show();

  const struct {
    const char* what;
    int record, tag, offset;
    int focused, column, top;  // top -1: not checked
  } cases[] = {
      {"record past the end becomes the last", 100, -1, -1, 29, 0, -1},
      {"offset 0: the record is the top one", 12, -1, 0, 12, 0, 12},
      {"offset 3: three rows below the top", 12, -1, 3, 12, 0, 9},
      {"offset past the last record counts as 0", 12, -1, 29, 12, 0, 12},
      {"offset below -1 counts as -1", 5, -1, -7, 5, 0, -1},
      {"first column of the tag", 4, 11, 0, 4, 1, 4},
      {"hidden column of the tag is not focused", 4, 12, 0, 4, 0, 4},
      {"no record given: the focused one is placed", -1, 11, 2, 20, 1, 18},
  };
  for (const auto& c : cases) {
    if (c.record == -1)
      g.view->setCurrentIndex(g.model.index(20, 0));
    else
      g.view->setCurrentIndex(g.model.index(0, 0));
    g.view->SetTopRecordIndex(0);
    pcCxGridFocusRecord(g.view, c.record, c.tag, c.offset);
    EXPECT_EQ(g.view->FocusedRecordIndex(), c.focused) << c.what;
    EXPECT_EQ(g.view->FocusedColumnIndex(), c.column) << c.what;
    if (c.top >= 0) {
      EXPECT_EQ(g.view->TopRecordIndex(), c.top) << c.what;
    }
    // The focused record is on the screen in every case.
    const QRect r = g.view->visualRect(g.view->currentIndex());
    EXPECT_TRUE(g.view->viewport()->rect().intersects(r)) << c.what;
  }

  TGridForm empty(0, 2);
  pcCxGridFocusRecord(empty.view, 3, -1, 0);
  EXPECT_EQ(empty.view->FocusedRecordIndex(), -1);
}

TEST(GridHelpers, FocusRecordOnATenRecordViewFocusesTheLast)
{
  TGridForm g(10, 2);
  g.show();
  pcCxGridFocusRecord(g.view, 100, -1, -1);
  EXPECT_EQ(g.view->FocusedRecordIndex(), 9);
}

// ---------------------------------------------------------------- active grid

TEST(GridHelpers, ActiveGridIsTheViewHoldingTheFocus)
{
  TGridForm g(3, 2);
  auto* outside = new QLineEdit(&g.form);
  g.form.layout()->addWidget(outside);
  auto* other = new TxGridView(&g.form);
  g.form.layout()->addWidget(other);
  g.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&g.form));

  outside->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(fnCxGetActiveGrid(), nullptr) << "an edit outside any grid";

  g.view->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(fnCxGetActiveGrid(), g.view) << "the view";

  // An in-place editor on the view's viewport.
  g.view->setCurrentIndex(g.model.index(1, 0));
  g.view->edit(g.model.index(1, 0));
  QApplication::processEvents();
  QWidget* editor = QApplication::focusWidget();
  ASSERT_NE(editor, nullptr);
  ASSERT_NE(editor, g.view);
  EXPECT_EQ(fnCxGetActiveGrid(), g.view) << "an in-place editor";

  // The inner control of an editor placed on the viewport.
  auto* composite = new QWidget(g.view->viewport());
  auto* inner = new QLineEdit(composite);
  composite->show();
  inner->setFocus();
  QApplication::processEvents();
  ASSERT_EQ(QApplication::focusWidget(), inner);
  EXPECT_EQ(fnCxGetActiveGrid(), g.view) << "inner control of an editor";

  other->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(fnCxGetActiveGrid(), other);
}

// ---------------------------------------------------------------- bands

TEST(GridHelpers, BandsHideTheirColumnsAndShowTheirCaptionsAboveThem)
{
  TGridForm g(4, 6, 220);
  TxGridView* v = g.view;
  v->Bands() = {TxGridBand{QStringLiteral("Hidden"), true}, TxGridBand{QStringLiteral("データ"), true},
                TxGridBand{QStringLiteral("状態"), true}};
  const int bandOf[] = {0, 0, 1, 1, 1, 2};
  for (int c = 0; c < 6; ++c)
    v->Columns(c).BandIndex = bandOf[c];
  v->HeaderHeight = 24;
  v->BandHeaderHeight = 20;
  v->ApplyOptions();
  v->SetBandVisible(0, false);
  g.show();
  EXPECT_FALSE(v->ColumnVisible(0));
  EXPECT_FALSE(v->ColumnVisible(1));
  EXPECT_TRUE(v->ColumnVisible(2));
  EXPECT_TRUE(v->BandedHeader()->BandRect(0).isEmpty());
  const QRect data = v->BandedHeader()->BandRect(1);
  QHeaderView* h = v->horizontalHeader();
  EXPECT_EQ(data.left(), h->sectionViewportPosition(2));
  EXPECT_EQ(data.right() + 1, h->sectionViewportPosition(4) + h->sectionSize(4));
  EXPECT_EQ(h->height(), 44);

  // A hidden column of a visible band stays hidden when the band is shown.
  v->SetColumnVisible(1, false);
  v->SetBandVisible(0, true);
  EXPECT_TRUE(v->ColumnVisible(0));
  EXPECT_FALSE(v->ColumnVisible(1));

  pcCxGridViewInit(v, false, 0, true);
  v->BandHeaders = true;
  v->ApplyOptions();
  // A caption click reaches the form; the view does not sort.
  QSignalSpy clicked(h, &QHeaderView::sectionClicked);
  const QString before = g.model.item(0, 3)->text();
  QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(h->sectionViewportPosition(3) + 10, 24 + 12));
  ASSERT_EQ(clicked.size(), 1);
  EXPECT_EQ(clicked.at(0).at(0).toInt(), 3);
  EXPECT_EQ(g.model.item(0, 3)->text(), before);
  g.view->setCurrentIndex(g.model.index(1, 0));
  g.view->setFocus();
  QApplication::processEvents();
  uitest::saveScreenshot(&g.form, QStringLiteral("grid-bands"));
  EXPECT_EQ(h->height(), 48);
}

// ---------------------------------------------------------------- look

TEST(GridHelpers, FocusedRecordKeepsItsSelectionColourWhenTheGridLosesTheFocus)
{
  TGridForm g(3, 2);
  auto* outside = new QLineEdit(&g.form);
  g.form.layout()->addWidget(outside);
  pcCxGridViewInit(g.view, false, 0, true);
  TcxStyleRepoDef* repo = fnFormStyleRepoDef(&g.form);
  pcSetGridViewStyles(g.view, repo, false);
  g.view->setCurrentIndex(g.model.index(1, 0));
  g.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&g.form));
  const auto colourOf = [&](int ARow) {
    const QRect r = g.cell(ARow, 1);
    return g.cells().pixelColor(r.right() - 3, r.center().y());
  };
  g.view->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(colourOf(1), fnGridColor(repo->cxStyleSelect->Color(), Qt::white));
  EXPECT_EQ(colourOf(0), fnGridColor(repo->cxStyleMeisaiOdd->Color(), Qt::white));
  EXPECT_EQ(colourOf(2), fnGridColor(repo->cxStyleMeisaiOdd->Color(), Qt::white));
  outside->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(colourOf(1), fnGridColor(repo->cxStyleInactive->Color(), Qt::white));
}

TEST(GridHelpers, CellHintsShowTheWholeTextOfACutCellOnly)
{
  TGridForm g(2, 2);
  pcCxGridViewInit(g.view, false, 0, false);
  g.view->horizontalHeader()->resizeSection(0, 40);
  const QString longText = QStringLiteral("とても長い名称の会社データです");
  g.model.item(0, 0)->setText(longText);
  g.model.item(1, 0)->setText(QStringLiteral("a"));
  g.show();
  const auto hintAt = [&](int ARow) {
    QToolTip::hideText();
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 3000));
    const QPoint p = g.cell(ARow, 0).center();
    QHelpEvent e(QEvent::ToolTip, p, g.view->viewport()->mapToGlobal(p));
    QApplication::sendEvent(g.view->viewport(), &e);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
  };
  EXPECT_EQ(hintAt(0), longText);
  EXPECT_EQ(hintAt(1), QString());
  g.view->CellHints = false;
  EXPECT_EQ(hintAt(0), QString());
}

TEST(GridHelpers, ColumnsKeepTheirSettingsWhenModelColumnsComeAndGo)
{
  QWidget form;
  QStandardItemModel model(2, 3);
  auto* view = new TxGridView(&form);
  view->setModel(&model);
  for (int c = 0; c < 3; ++c)
    view->Columns(c).Tag = 10 + c;
  view->SetColumnVisible(2, false);
  const auto tags = [&] {
    QList<int> t;
    for (int c = 0; c < view->ColumnCount(); ++c)
      t << view->Columns(c).Tag;
    return t;
  };
  model.insertColumn(1);
  EXPECT_EQ(tags(), (QList<int>{10, 0, 11, 12}));
  EXPECT_FALSE(view->ColumnVisible(3)) << "the hidden column moved along";
  EXPECT_TRUE(view->ColumnVisible(1));
  model.removeColumns(0, 2);
  EXPECT_EQ(tags(), (QList<int>{11, 12}));
  EXPECT_EQ(view->ColumnByTag(12), 1);
  EXPECT_EQ(view->ColumnByTag(10), -1);
  QStandardItemModel other(1, 5);
  view->setModel(&other);
  EXPECT_EQ(view->ColumnCount(), 5);
  model.insertColumn(0);  // the old model no longer speaks to the view
  EXPECT_EQ(view->ColumnCount(), 5);
}

// ---------------------------------------------------------------- a data list

TEST(GridHelpers, DataListShapedGridFramesTheFocusedRowAcrossItsShownColumns)
{
  // The shape of the data-selection list: a hidden band of row-state
  // columns 0 to 10, the shown band 11 to 20 with column 20 hidden, tags
  // equal to indexes, the frame from column 11 to column 19 in the
  // selection colour on the focused row and in the row colour elsewhere.
  QWidget form;
  QStandardItemModel model(40, 21);
  for (int r = 0; r < 40; ++r)
    for (int c = 0; c < 21; ++c)
      model.setItem(r, c, new QStandardItem(c == 14 ? QStringLiteral("会社%1").arg(r) : QString::number(r)));
  auto* view = new TxGridView(&form);
  view->setModel(&model);
  pcCxGridViewInit(view, false, 0, true);
  pcSetGridViewStyles(view, fnFormStyleRepoDef(&form), false);
  view->Bands() = {TxGridBand{QStringLiteral("Hidden"), false}, TxGridBand{QStringLiteral("Main"), true}};
  const int widths[] = {40, 65, 45, 200, 75, 180, 215, 80, 40, 40};
  for (int c = 0; c < 21; ++c) {
    view->Columns(c).Tag = c;
    view->Columns(c).BandIndex = c <= 10 ? 0 : 1;
    if (c >= 11)
      view->setColumnWidth(c, widths[c - 11]);
  }
  view->SetBandVisible(0, false);
  view->SetColumnVisible(20, false);
  view->setGeometry(0, 0, 1000, 300);
  form.resize(1000, 300);

  const TcxStyleRepoDef* repo = fnFormStyleRepoDef(&form);
  view->OnCustomDrawCell = [&](TxGridView* s, QPainter* p, const TcxGridDataCellViewInfo& vi, bool& done) {
    TcxDrawCellInfo info;
    pcCxDrawCellInfoInit(&form, info);
    const TcxStyle* content = s->ContentStyleOf(vi.RecordIndex);
    info.BackColor = content->Color();
    info.TextColor = clBlack;
    info.FrameColor = info.BackColor;
    info.ColIndexLeft[0] = 11;
    info.ColIndexRight[0] = 19;
    if (vi.RecordFocused) {
      info.FrameColor = repo->cxStyleSelect->Color();
      info.TextColor = repo->cxStyleSelect->Color();
    }
    pcCxGridCustomDrawCell(s, p, vi, info, done);
  };
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  pcCxGridFocusRecord(view, 5, 12, 0);
  EXPECT_EQ(view->FocusedRecordIndex(), 5);
  EXPECT_EQ(view->FocusedColumnIndex(), 12);
  EXPECT_EQ(view->TopRecordIndex(), 5) << "the focused row is the top one";
  QApplication::processEvents();
  uitest::saveScreenshot(view, QStringLiteral("grid-data-list"));

  const QImage img = view->viewport()->grab().toImage();
  const QColor sel = fnGridColor(repo->cxStyleSelect->Color(), Qt::white);
  const QRect first = view->visualRect(model.index(5, 11));
  const QRect last = view->visualRect(model.index(5, 19));
  const QRect middle = view->visualRect(model.index(5, 16));
  EXPECT_EQ(img.pixelColor(first.left() + 1, first.center().y()), sel);
  EXPECT_EQ(img.pixelColor(last.right() - 1, last.center().y()), sel) << "the frame ends at the last shown column";
  EXPECT_EQ(img.pixelColor(middle.center().x(), middle.top() + 1), sel);
  EXPECT_EQ(img.pixelColor(middle.center().x(), middle.bottom() - 1), sel);
  const QRect other = view->visualRect(model.index(6, 11));
  EXPECT_NE(img.pixelColor(other.left() + 1, other.center().y()), sel);
  EXPECT_FALSE(view->ColumnVisible(3));
  EXPECT_FALSE(view->ColumnVisible(20));
}

TEST(GridHelpers, ArrowKeysGoOnToTheNextRecordAtTheEndOfARecord)
{
  TGridForm g(3, 4);
  auto* outside = new QLineEdit(&g.form);
  g.form.layout()->addWidget(outside);
  pcCxGridViewInit(g.view, true, 0, false);
  g.view->setEditTriggers(QAbstractItemView::NoEditTriggers);  // keys to the view, not an editor
  g.view->SetColumnVisible(3, false);
  g.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&g.form));
  g.view->setFocus();
  const struct {
    int row, col;
    Qt::Key key;
    int wantRow, wantCol;
  } cases[] = {
      {0, 2, Qt::Key_Right, 1, 0},                                                            // the last shown column
      {1, 0, Qt::Key_Left, 0, 2},  {0, 1, Qt::Key_Right, 0, 2}, {2, 2, Qt::Key_Right, 2, 2},  // the last record stays
      {0, 0, Qt::Key_Left, 0, 0},
  };
  for (const auto& c : cases) {
    g.view->setCurrentIndex(g.model.index(c.row, c.col));
    QTest::keyClick(g.view, c.key);
    EXPECT_EQ(g.view->FocusedRecordIndex(), c.wantRow) << c.row << "," << c.col;
    EXPECT_EQ(g.view->FocusedColumnIndex(), c.wantCol) << c.row << "," << c.col;
  }
  QTest::keyClick(g.view, Qt::Key_Tab);
  EXPECT_TRUE(outside->hasFocus()) << "Tab leaves the grid";
}
