// Zoom of the base form by the operator's font: the recorded geometry, the
// proportional scaling of a form placed by hand, and the row heights and
// column widths of tables and trees.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include "common/AccRecord.h"
#include "ui/GridStyles.h"
#include "ui/SDI.h"
#include "ui/SDIZoom.h"
#include "ui/xGridView.h"

namespace {

struct TFontKeep {
  TSystemDef keep = SystemDef;
  ~TFontKeep() { SystemDef = keep; }
};

void setFonts(int nowSize, int nowHeight, int defSize, int defHeight)
{
  SystemDef.NowFont.Size = nowSize;
  SystemDef.NowFont.Height = nowHeight;
  SystemDef.DefaultFont.Size = defSize;
  SystemDef.DefaultFont.Height = defHeight;
}

TEST(TBSDIZoom, FormAndGridsScaleByTheOperatorsFont)
{
  TFontKeep keep;
  struct Case {
    const char* name;
    int nowSize, nowHeight, defSize, defHeight;
    int scale;  // percent
    double raito;
    int editLeft, editWidth, formWidth;
    int rowHeight, col0, col1, treeCol0;
  } cases[] = {
      {"same font", 10, -13, 10, -13, 100, 1.0, 20, 100, 400, 20, 80, 50, 120},
      {"larger font", 12, -16, 10, -13, 120, 1.2, 24, 120, 479, 24, 96, 60, 144},
      {"ratio cut to one decimal", 9, -17, 9, -13, 100, 1.3, 20, 100, 400, 26, 104, 65, 156},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    setFonts(c.nowSize, c.nowHeight, c.defSize, c.defHeight);
    SystemDef.NowFont.Name.clear();
    auto* box = new TBSDI(nullptr, bsDialog);
    box->SetManualFree(true);
    box->resize(400, 300);
    auto* edit = new QLineEdit(box);
    edit->setGeometry(20, 10, 100, 24);
    auto* table = new QTableWidget(3, 2, box);
    table->setGeometry(20, 50, 300, 100);
    table->verticalHeader()->setDefaultSectionSize(20);
    table->horizontalHeader()->resizeSection(0, 80);
    table->horizontalHeader()->resizeSection(1, 50);
    auto* tree = new QTreeWidget(box);
    tree->setColumnCount(2);
    tree->setGeometry(20, 160, 300, 100);
    tree->header()->resizeSection(0, 120);
    box->FormCreate();
    box->InitFlg = true;
    box->show();
    EXPECT_EQ(box->Scale, c.scale);
    EXPECT_DOUBLE_EQ(box->ZoomRaito, c.raito);
    ASSERT_NE(box->SizePar(), nullptr);
    EXPECT_EQ(box->SizePar()->ResizeFlg, 1);
    EXPECT_EQ(box->SizePar()->BaseWidth, 400);
    EXPECT_EQ(box->SizePar()->InitScale, c.scale);
    EXPECT_EQ(edit->x(), c.editLeft);
    EXPECT_EQ(edit->width(), c.editWidth);
    EXPECT_EQ(box->width(), c.formWidth);
    EXPECT_EQ(table->verticalHeader()->defaultSectionSize(), c.rowHeight);
    EXPECT_EQ(table->horizontalHeader()->sectionSize(0), c.col0);
    EXPECT_EQ(table->horizontalHeader()->sectionSize(1), c.col1);
    EXPECT_EQ(tree->header()->sectionSize(0), c.treeCol0);
    delete box;
  }
}

TEST(TBSDIZoom, RebuiltGridTakesTheZoomOnRequest)
{
  TFontKeep keep;
  setFonts(10, -13, 10, -13);
  struct Case {
    int defValueChange;
    int nowHeight;  // zoom ratio of a form never shown: two decimals
    int rowHeight, col0;
  } cases[] = {
      {0, -16, 20, 98},  // 1.23: widths only
      {1, -16, 24, 98},
      {1, -13, 20, 80},
  };
  for (const Case& c : cases) {
    SystemDef.NowFont.Height = c.nowHeight;
    TBSDI box(nullptr, bsDialog);
    box.SetManualFree(true);
    auto* table = new QTableWidget(2, 1, &box);
    table->verticalHeader()->setDefaultSectionSize(20);
    table->horizontalHeader()->resizeSection(0, 80);
    box.ResetSizeGridUIControl(table, c.defValueChange);
    EXPECT_EQ(table->verticalHeader()->defaultSectionSize(), c.rowHeight);
    EXPECT_EQ(table->horizontalHeader()->sectionSize(0), c.col0);
  }
}

}  // namespace

TEST(TBSDIZoom, FirstShowGivesTheFormsGridStylesTheOperatorsColoursAndFont)
{
  TFontKeep keep;
  setFonts(10, -13, 10, -13);
  SystemDef.NowFont.Name = QStringLiteral("IPAexGothic");
  SystemDef.ColHeaderColor = 0x112233;
  SystemDef.ActiveColor = 0x445566;
  SystemDef.TotalColor = 0x778899;
  TBSDI form;
  const TcxStyleRepoDef* repo = fnFormStyleRepoDef(&form);
  EXPECT_EQ(repo->cxStyleTitle->Color(), TColor(0xFBDDB9));  // design value before the show
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  EXPECT_EQ(repo->cxStyleTitle->Color(), TColor(0x112233));
  EXPECT_EQ(repo->cxStyleSelect->Color(), TColor(0x445566));
  EXPECT_EQ(repo->cxStyleGokei->Color(), TColor(0x778899));
  ASSERT_TRUE(repo->cxStyleTitle->Font().has_value());
  EXPECT_EQ(repo->cxStyleTitle->Font()->family(), form.font().family());

  // The form hands its styles to a grid view.
  TxGridView view(&form);
  form.SetGridViewStyles(&view, false);
  EXPECT_EQ(view.Styles.Header.data(), repo->cxStyleTitle);
  EXPECT_EQ(view.Styles.Selection.data(), repo->cxStyleSelect);
}
