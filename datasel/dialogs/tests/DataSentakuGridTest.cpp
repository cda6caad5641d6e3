// The data-selection list on the banded grid view: its columns and styles
// in each use, how a cell is described for drawing (row colours, the frame
// of the focused row, damaged and update-forbidden rows) and what the
// offscreen view then shows.
#include <gtest/gtest.h>
#include <memory>

#include <QHeaderView>
#include <QPointer>
#include <QScrollBar>
#include <QTest>

#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "datasel/dialogs/DataSentaku.h"
#include "tests/support/DataModuleEnv.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TempDir.h"
#include "ui/AccInterface.h"
#include "ui/GridStyles.h"
#include "ui/tests/UiTestUtil.h"
#include "ui/z5MessageDlg2.h"

namespace {

using namespace fixtures;

class DataSentakuGrid : public testenv::SharedDataRootTest<DataSentakuGrid> {
 protected:
  void SetUp() override
  {
    // Logged on with the colours a new operator starts with (the default).
    setUpDataModule(
        {.root = root->root, .logFile = tmp->file("log"), .dataFile = QStringLiteral("wqacc2.fdb"), .connect = false});
    pcSetMessageBox2Hook([](TMessage2InfoRec&) { return mrOk; });
    ASSERT_TRUE(dm->fnAccDefConnected(QString(), true));
  }
  void TearDown() override
  {
    if (box)
      delete box.data();
    pcSetMessageBox2Hook(nullptr);
    DataModuleTest::TearDown();
  }
  TDataSentakuBox* open()
  {
    box = qobject_cast<TDataSentakuBox*>(FormClassLookup(QStringLiteral("DuRoziZuvurad")));
    EXPECT_NE(box, nullptr);
    if (!box)
      return nullptr;
    box->SetManualFree(true);
    box->SetOptions(QStringList{"SyoriType=0", "FormStyle=2"});
    box->SetPrepare(true);
    box->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(box));
    return box;
  }
  // Marks a row's record damaged or update-locked.
  void markRow(int ARow, bool ADamaged, bool AUpdateLocked)
  {
    TDataListRec d = box->Model()->Row(ARow).Data;
    if (ADamaged)
      d.Data_Status = jxdbHason;
    if (AUpdateLocked)
      d.UpdateLock = 1;
    box->Model()->SetRowData(ARow, d);
  }
  TcxStyleRepoDef* repo() const { return fnFormStyleRepoDef(box); }

  QPointer<TDataSentakuBox> box;
};

TEST_F(DataSentakuGrid, ColumnsAndRowStylesFollowTheUse)
{
  const struct {
    TJxAppType app;
    bool shareShown, lockShown;
  } cases[] = {{jxatSA, true, false}, {jxatCS, false, true}, {jxatSBC, false, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(int(c.app));
    AppType = c.app;
    TDataSentakuBox b;
    TxGridView* g = b.Grid();
    ASSERT_EQ(g->ColumnCount(), int(dscol::Count));
    ASSERT_EQ(g->Bands().size(), 1) << "the row's state is the model's, not hidden columns";
    for (int col = 0; col < dscol::Count; ++col) {
      EXPECT_EQ(g->Columns(col).Tag, col);
      EXPECT_EQ(g->Columns(col).BandIndex, 0) << col;
    }
    for (int col : {dscol::No, dscol::Code, dscol::Name, dscol::Nendo, dscol::Kikan, dscol::Folder, dscol::Version})
      EXPECT_TRUE(g->ColumnVisible(col)) << col;
    EXPECT_EQ(g->ColumnVisible(dscol::Kyoyu), c.shareShown);
    EXPECT_EQ(g->ColumnVisible(dscol::Kagi), c.lockShown);
    EXPECT_FALSE(g->ColumnVisible(dscol::Cloud)) << "no cloud sharing here";
    EXPECT_EQ(g->columnWidth(dscol::Name), 245) << "the cloud column's width goes to the name";
    EXPECT_EQ(g->columnWidth(dscol::Folder), 215);
    EXPECT_EQ(g->editTriggers(), QAbstractItemView::NoEditTriggers) << "the list is never edited";
    EXPECT_EQ(g->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_TRUE(g->UseOddEvenStyles);
    const TcxStyleRepoDef* r = fnFormStyleRepoDef(&b);
    EXPECT_EQ(g->Styles.ContentOdd.data(), r->cxStyleMeisaiOdd);
    EXPECT_EQ(g->Styles.ContentEven.data(), c.app == jxatSA ? b.EvenRowStyle() : r->cxStyleMeisaiZenki);
    EXPECT_EQ(g->Styles.Selection.data(), r->cxStyleSelect);
    EXPECT_NE(b.EvenRowStyle()->Color(), r->cxStyleMeisaiOdd->Color()) << "the rows alternate visibly";
  }
}

TEST_F(DataSentakuGrid, CellDescriptionsOfPlainFocusedDamagedAndForbiddenRows)
{
  ASSERT_TRUE(open());
  ASSERT_GE(box->RowCount(), 6);
  TxGridView* g = box->Grid();
  markRow(2, true, false);
  markRow(3, false, true);
  markRow(4, true, true);  // damage wins
  const TcxStyleRepoDef* r = repo();
  const TColor odd = g->Styles.ContentOdd->Color();
  const TColor even = g->Styles.ContentEven->Color();
  const TColor sel = r->cxStyleSelect->Color();
  const TColor hason = r->cxStyleHason->Color();
  const TColor plainText =
      g->Styles.ContentOdd->TextColor() != clNone ? g->Styles.ContentOdd->TextColor() : clWindowText;
  const struct {
    const char* what;
    int row;
    bool focused;
    TColor back, frame;
    bool textIsSelection;
    bool enabled;
  } cases[] = {
      {"first row takes the odd style", 0, false, odd, odd, false, true},
      {"second row takes the even style", 1, false, even, even, false, true},
      {"focused row: frame and text in the selection colour", 1, true, even, sel, true, true},
      {"damaged row", 2, false, hason, odd, false, true},
      {"damaged focused row keeps its frame", 2, true, hason, sel, false, true},
      {"update-forbidden row is greyed", 3, false, even, even, false, false},
      {"damaged and forbidden: the damage shows", 4, false, hason, odd, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TcxGridDataCellViewInfo vi;
    vi.RecordIndex = c.row;
    vi.ColumnIndex = dscol::Name;
    vi.RecordFocused = c.focused;
    vi.DisplayText = QStringLiteral("名前");
    const TcxDrawCellInfo info = box->CellDrawInfo(vi);
    EXPECT_TRUE(info.IsCallBaseEvent);
    EXPECT_EQ(info.BackColor, c.back);
    EXPECT_EQ(info.FrameColor, c.frame);
    EXPECT_EQ(info.IsEnabled, c.enabled);
    if (c.textIsSelection)
      EXPECT_EQ(info.TextColor, sel);
    else if (c.back == hason)
      EXPECT_EQ(info.TextColor, r->cxStyleHason->TextColor());
    else if (!c.enabled)
      EXPECT_EQ(info.TextColor, r->cxStyleKinsi->TextColor());
    else
      EXPECT_EQ(info.TextColor, plainText);
    EXPECT_EQ(info.ColIndexLeft[0], int(dscol::No));
    EXPECT_EQ(info.ColIndexRight[0], int(dscol::Kyoyu)) << "the frame ends at the last shown column";
    EXPECT_EQ(info.Text, QStringLiteral("名前"));
  }

  // Which columns write their own text: a member's number 0 is left empty,
  // the mark columns are left to the view.
  const struct {
    int col;
    const char* shown;
    bool ownText;
    const char* text;
  } texts[] = {{dscol::No, "0", true, ""},          {dscol::No, "12", true, "12"},   {dscol::Code, "0", true, "0"},
               {dscol::Folder, "~/a", true, "~/a"}, {dscol::Kyoyu, "共", false, ""}, {dscol::Kagi, "鍵", false, ""}};
  for (const auto& t : texts) {
    TcxGridDataCellViewInfo vi;
    vi.RecordIndex = 0;
    vi.ColumnIndex = t.col;
    vi.DisplayText = QString::fromUtf8(t.shown);
    const TcxDrawCellInfo info = box->CellDrawInfo(vi);
    EXPECT_EQ(info.IsDwawText, t.ownText) << t.col << " " << t.shown;
    EXPECT_EQ(info.Text, QString::fromUtf8(t.text)) << t.col << " " << t.shown;
  }
}

TEST_F(DataSentakuGrid, TheViewShowsRowColoursTheFrameAndADamagedRow)
{
  ASSERT_TRUE(open());
  ASSERT_GE(box->RowCount(), 4);
  TxGridView* g = box->Grid();
  markRow(2, true, false);
  box->FocusRow(0);
  g->scrollToTop();
  QApplication::processEvents();
  uitest::saveScreenshot(box, QStringLiteral("data_sentaku_list"));

  QImage img = g->viewport()->grab().toImage();
  auto colour = [](TColor c) { return fnGridColor(c, Qt::white); };
  // A point inside a cell away from its text and from the frame.
  auto inside = [&](int row, int col) {
    const QRect rc = g->visualRect(box->Model()->index(row, col));
    return QPoint(rc.right() - 6, rc.center().y());
  };
  auto pixel = [&](const QPoint& p) { return img.pixelColor(p * img.devicePixelRatio()); };
  EXPECT_EQ(pixel(inside(1, dscol::Kikan)), colour(g->Styles.ContentEven->Color()));
  EXPECT_EQ(pixel(inside(3, dscol::Kikan)), colour(g->Styles.ContentEven->Color()));
  EXPECT_EQ(pixel(inside(2, dscol::Kikan)), colour(repo()->cxStyleHason->Color()));
  // The focused row's frame: the left edge of its first column, the top
  // edge of a middle one and the right edge of its last shown column.
  const QColor sel = colour(repo()->cxStyleSelect->Color());
  const QRect first = g->visualRect(box->Model()->index(0, dscol::No));
  const QRect middle = g->visualRect(box->Model()->index(0, dscol::Nendo));
  EXPECT_EQ(pixel(QPoint(first.left() + 1, first.center().y())), sel);
  EXPECT_EQ(pixel(QPoint(middle.center().x(), middle.top() + 1)), sel);
  const QRect below = g->visualRect(box->Model()->index(1, dscol::No));
  EXPECT_NE(pixel(QPoint(below.left() + 1, below.center().y())), sel) << "other rows have no frame";
  // The last columns lie beyond a narrow screen's form: the list scrolls to them.
  ASSERT_TRUE(g->horizontalScrollBar()->isVisible() ||
              g->visualRect(box->Model()->index(0, dscol::Kyoyu)).right() < g->viewport()->width());
  g->scrollTo(box->Model()->index(0, dscol::Kyoyu));
  QApplication::processEvents();
  img = g->viewport()->grab().toImage();
  const QRect last = g->visualRect(box->Model()->index(0, dscol::Kyoyu));
  ASSERT_LE(last.right(), g->viewport()->width());
  EXPECT_EQ(pixel(QPoint(last.right() - 1, last.center().y())), sel);
}

TEST_F(DataSentakuGrid, AClickOnAColumnCaptionSortsByThatColumn)
{
  ASSERT_TRUE(open());
  QHeaderView* h = box->Grid()->horizontalHeader();
  auto click = [h](int col) {
    const QPoint at(h->sectionViewportPosition(col) + h->sectionSize(col) / 2, h->height() / 2);
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, at);
  };
  auto caption = [this](int col) { return box->Model()->Caption(col); };
  click(dscol::Name);
  EXPECT_EQ(caption(dscol::Name), QStringLiteral("データ名  ▲"));
  click(dscol::Name);
  EXPECT_EQ(caption(dscol::Name), QStringLiteral("データ名  ▼"));
  click(dscol::Kyoyu);  // the share column does not sort
  EXPECT_EQ(caption(dscol::Name), QStringLiteral("データ名  ▼"));
  click(dscol::No);
  EXPECT_EQ(caption(dscol::No), QStringLiteral("No▲"));
  EXPECT_EQ(caption(dscol::Name), QStringLiteral("データ名  "));
  EXPECT_EQ(box->FocusedRow(), box->Grid()->currentIndex().row());
  EXPECT_EQ(box->Grid()->currentIndex().column(), int(dscol::Code)) << "a focused row focuses its code";
}

TEST_F(DataSentakuGrid, TheDataSetOpenBeforeStandsFiveRowsBelowTheTop)
{
  // An open data set near the top leaves the list unscrolled; one further
  // down stands five rows below the top; the last one is scrolled to and
  // shown whole (-1: as far as the list scrolls).
  const struct {
    int slot;
    int top;
  } cases[] = {{1, 0}, {7, 2}, {19, -1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.slot);
    SystemDef.IBPATHDAT = root->root + QStringLiteral("/%1").arg(c.slot + 1, 4, 10, QLatin1Char('0'));
    ASSERT_TRUE(open());
    ASSERT_EQ(box->GetRowDataPath(c.slot), SystemDef.IBPATHDAT);
    EXPECT_EQ(box->FocusedRow(), c.slot);
    if (c.top >= 0)
      EXPECT_EQ(box->Grid()->TopRecordIndex(), c.top);
    else
      EXPECT_GT(box->Grid()->TopRecordIndex(), 0) << "scrolled towards the end";
    const QRect shown = box->Grid()->visualRect(box->Model()->index(c.slot, dscol::Code));
    EXPECT_LE(shown.bottom(), box->Grid()->viewport()->height()) << "the row is not hidden below the list";
    delete box.data();
  }
}

}  // namespace
