// First show of a base form: size constraints, the layout correction of
// docked panels and of composite controls, hints, and the default node
// height of trees under the zoom.
#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>

#include "common/AccRecord.h"
#include "ui/SDI.h"
#include "ui/SDIZoom.h"
#include "ui/xGridView.h"

namespace {

struct TDefKeep {
  TSystemDef keep = SystemDef;
  ~TDefKeep() { SystemDef = keep; }
};

TBSDI* newForm(TFormBorderStyle AStyle)
{
  auto* box = new TBSDI(nullptr, AStyle);
  box->SetManualFree(true);
  return box;
}

void showOnce(TBSDI* ABox)
{
  ABox->FormCreate();
  ABox->InitFlg = true;
  ABox->show();
}

TEST(TBSDIConstraints, MinimumAndMaximumAtTheFirstShow)
{
  TDefKeep keep;
  SystemDef.NowFont = SystemDef.DefaultFont = {QString(), 10, 0, 0, -13};
  SystemDef.ChoseiPixcel = 0;
  const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
  ASSERT_LE(QGuiApplication::primaryScreen()->logicalDotsPerInchY(), 96.0) << "the test screen is a 96 dpi one";

  struct Case {
    const char* name;
    TFormBorderStyle style;
    bool formSize;
    int minWidth, minHeight;
  } cases[] = {
      {"resizable, stored size", bsSizeable, true, 300, 180},
      {"resizable, size not stored", bsSizeable, false, 0, 0},
      {"dialog style", bsDialog, true, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<TBSDI> box(newForm(c.style));
    box->resize(500, 300);
    box->FormSize = c.formSize;
    showOnce(box.get());
    EXPECT_EQ(box->MinWidth(), c.minWidth);
    EXPECT_EQ(box->MinHeight(), c.minHeight);
    EXPECT_EQ(box->minimumSize(), QSize(c.minWidth, c.minHeight));
    EXPECT_EQ(box->MaxWidth(), screen.width());
    EXPECT_EQ(box->MaxHeight(), screen.height());
    EXPECT_EQ(box->maximumSize(), screen);
    EXPECT_EQ(box->SizePar()->MaxWidth, screen.width());
    EXPECT_EQ(box->SizePar()->MinWidth, c.minWidth);
    // The form cannot grow past the screen.
    box->resize(screen.width() + 300, screen.height() + 200);
    EXPECT_EQ(box->size(), screen);
    EXPECT_TRUE(box->updatesEnabled()) << "the update lock of the zoom is released";
  }
}

TEST(TBSDIConstraints, FixedSizeDialogKeepsItsSize)
{
  TDefKeep keep;
  SystemDef.NowFont = SystemDef.DefaultFont = {QString(), 10, 0, 0, -13};
  std::unique_ptr<TBSDI> box(newForm(bsDialog));
  box->setFixedSize(360, 300);
  showOnce(box.get());
  EXPECT_EQ(box->size(), QSize(360, 300));
  EXPECT_EQ(box->minimumSize(), QSize(360, 300)) << "the user cannot shrink it";
  EXPECT_EQ(box->maximumSize(), QSize(360, 300)) << "nor enlarge it";

  // A larger font scales the fixed size and keeps it fixed.
  SystemDef.NowFont = {QString(), 12, 0, 0, -16};
  std::unique_ptr<TBSDI> zoomed(newForm(bsDialog));
  zoomed->setFixedSize(360, 300);
  showOnce(zoomed.get());
  EXPECT_GT(zoomed->width(), 360);
  EXPECT_EQ(zoomed->minimumSize(), zoomed->size());
  EXPECT_EQ(zoomed->maximumSize(), zoomed->size());
}

TEST(TBSDIConstraints, LayoutCorrectionOfDockedPanelsAndCompositeControls)
{
  TDefKeep keep;
  SystemDef.NowFont = SystemDef.DefaultFont = {QString(), 10, 0, 0, -13};
  SystemDef.ChoseiPixcel = 4;
  std::unique_ptr<TBSDI> box(newForm(bsSizeable));
  box->FormSize = false;
  box->resize(600, 400);

  struct Panel {
    const char* name;
    int left, width;
    const char* anchors;
    int leftAfter, widthAfter;
  } panels[] = {
      {"docked at the edge: narrower", 0, 100, "", 0, 96},
      {"docked, follows every edge: wider", 100, 200, "akLeft,akTop,akRight,akBottom", 100, 204},
      {"docked, not on every edge: unchanged", 320, 100, "akLeft, akTop", 320, 100},
  };
  QList<QFrame*> frames;
  for (const Panel& p : panels) {
    auto* f = new QFrame(box.get());
    f->setProperty("Align", QStringLiteral("alLeft"));
    f->setProperty("Anchors", QString::fromLatin1(p.anchors));
    f->setGeometry(p.left, 0, p.width, 300);
    frames << f;
  }
  auto* inDocked = new QLineEdit(frames[1]);
  inDocked->move(10, 10);
  // Controls inside a kept panel stay, also when the panel is a plain
  // container widget and they sit one level further in.
  auto* keepPanel = new QWidget(box.get());
  keepPanel->setObjectName(QStringLiteral("pnlSubMenu"));
  keepPanel->setGeometry(440, 0, 150, 150);
  auto* innerPanel = new QFrame(keepPanel);
  innerPanel->setGeometry(5, 5, 140, 140);
  auto* kept = new QLineEdit(innerPanel);
  kept->move(8, 8);
  // A child the line edit holds itself is the line edit's business.
  auto* edit = new QLineEdit(box.get());
  edit->setGeometry(450, 320, 100, 24);
  auto* inner = new QLabel(QStringLiteral("x"), edit);
  inner->move(10, 2);

  showOnce(box.get());
  for (int i = 0; i < frames.size(); ++i) {
    SCOPED_TRACE(panels[i].name);
    EXPECT_EQ(frames[i]->x(), panels[i].leftAfter);
    EXPECT_EQ(frames[i]->width(), panels[i].widthAfter);
  }
  EXPECT_EQ(inDocked->x(), 6) << "controls on a docked panel move as elsewhere";
  EXPECT_EQ(keepPanel->x(), 436) << "the kept panel itself moves";
  EXPECT_EQ(innerPanel->x(), 5);
  EXPECT_EQ(kept->x(), 8);
  EXPECT_EQ(edit->x(), 446);
  EXPECT_EQ(inner->x(), 10);
}

// Counts the tooltip requests that reach it.
class TTipCounter : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;
  int tips = 0;

 protected:
  bool event(QEvent* AEvent) override
  {
    if (AEvent->type() == QEvent::ToolTip)
      ++tips;
    return QLineEdit::event(AEvent);
  }
};

TEST(TBSDIConstraints, HintsFollowTheOperatorsSetting)
{
  TDefKeep keep;
  for (int showHint : {0, 1}) {
    SCOPED_TRACE(showHint);
    SystemDef.ShowHint = showHint;
    std::unique_ptr<TBSDI> box(newForm(bsDialog));
    auto* edit = new TTipCounter(box.get());
    edit->setToolTip(QStringLiteral("コード"));
    showOnce(box.get());
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), edit->mapToGlobal(QPoint(2, 2)));
    QCoreApplication::sendEvent(edit, &help);
    EXPECT_EQ(edit->tips, showHint);
  }
}

// A delegate of a form's own: edits with a spin box, draws nothing special.
class TSpinDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* AParent, const QStyleOptionViewItem&, const QModelIndex&) const override
  {
    return new QSpinBox(AParent);
  }
};

QTreeWidget* newTree(QWidget* AParent, int ANodeHeight)
{
  auto* tree = new QTreeWidget(AParent);
  tree->setColumnCount(2);
  tree->setGeometry(10, 10, 300, 200);
  tree->header()->resizeSection(0, 100);
  for (int i = 0; i < 3; ++i)
    new QTreeWidgetItem(tree, {QStringLiteral("項目"), QString::number(i)});
  if (ANodeHeight > 0)
    pcSetDefaultNodeHeight(tree, ANodeHeight);
  return tree;
}

int rowHeight(QTreeWidget* ATree)
{
  ATree->doItemsLayout();
  return ATree->visualItemRect(ATree->topLevelItem(ATree->topLevelItemCount() - 1)).height();
}

TEST(TBSDIConstraints, TreeNodeHeightUnderTheZoom)
{
  TDefKeep keep;
  SystemDef.DefaultFont = {QString(), 10, 0, 0, -10};
  SystemDef.NowFont = {QString(), 10, 0, 0, -15};  // ratio 1.5
  struct Case {
    const char* name;
    int nodeHeight;
    int afterShow;
    int afterRebuild0, afterRebuild1;  // ResetSizeGridUIControl with 0 and then 1
  } cases[] = {
      {"fixed node height", 20, 30, 30, 45},
      {"rows follow the font", 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<TBSDI> box(newForm(bsDialog));
    box->resize(400, 300);
    auto* tree = newTree(box.get(), c.nodeHeight);
    showOnce(box.get());
    EXPECT_EQ(fnDefaultNodeHeight(tree), c.afterShow);
    if (c.afterShow > 0) {
      EXPECT_EQ(rowHeight(tree), c.afterShow);
    }
    EXPECT_EQ(tree->header()->sectionSize(0), 150);
    box->ResetSizeGridUIControl(tree, 0);
    EXPECT_EQ(fnDefaultNodeHeight(tree), c.afterRebuild0);
    EXPECT_EQ(tree->header()->sectionSize(0), 225);
    box->ResetSizeGridUIControl(tree, 1);
    EXPECT_EQ(fnDefaultNodeHeight(tree), c.afterRebuild1);
  }
}

TEST(TBSDIConstraints, NodeHeightKeepsTheTreesOwnDelegate)
{
  QTreeWidget tree;
  tree.setColumnCount(1);
  auto* item = new QTreeWidgetItem(&tree, {QStringLiteral("1")});
  item->setFlags(item->flags() | Qt::ItemIsEditable);
  auto* own = new TSpinDelegate(&tree);
  tree.setItemDelegate(own);
  tree.resize(200, 200);
  tree.show();

  pcSetDefaultNodeHeight(&tree, 33);
  EXPECT_EQ(fnDefaultNodeHeight(&tree), 33);
  EXPECT_EQ(rowHeight(&tree), 33);
  pcSetDefaultNodeHeight(&tree, 40);  // set again: one wrapper, new height
  EXPECT_EQ(rowHeight(&tree), 40);
  tree.editItem(item, 0);
  auto* spin = tree.findChild<QSpinBox*>();
  ASSERT_NE(spin, nullptr) << "editing is still the tree's own delegate's";
  spin->setValue(7);
  QTest::keyClick(spin, Qt::Key_Return);  // the edit is committed and closed
  QCoreApplication::processEvents();
  EXPECT_EQ(item->text(0), QStringLiteral("7"));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(tree.findChild<QSpinBox*>(), nullptr);

  pcSetDefaultNodeHeight(&tree, 0);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(tree.itemDelegate(), own);
  EXPECT_EQ(fnDefaultNodeHeight(&tree), 0);
}

TEST(TBSDIConstraints, BandedViewHeightsByTheRatioColumnsByTheResolution)
{
  TDefKeep keep;
  struct Case {
    const char* name;
    int nowSize, nowHeight;
    int row, header, col0, col1;              // after the show
    int col0Widths, col1Widths;               // ResetSizeGridUIControl(view, 0)
    int rowAll, headerAll, col0All, col1All;  // ResetSizeGridUIControl(view, 1)
  } cases[] = {
      // Scale 120 %: ZoomDpi 115, ZoomRaito 1.2.
      {"larger font", 12, -16, 24, 28, 80 * 115 / 96, 50 * 115 / 96, 114, 70, 28, 33, 136, 84},
      {"same font", 10, -13, 20, 24, 80, 50, 80, 50, 20, 24, 80, 50},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SystemDef.DefaultFont = {QString(), 10, 0, 0, -13};
    SystemDef.NowFont = {QString(), c.nowSize, 0, 0, c.nowHeight};
    std::unique_ptr<TBSDI> box(newForm(bsDialog));
    box->resize(400, 300);
    QStandardItemModel model(5, 2);
    auto* view = new TxGridView(box.get());
    view->setModel(&model);
    view->setGeometry(10, 10, 300, 200);
    view->SetDataRowHeight(20);
    view->HeaderHeight = 24;
    view->BandHeaderHeight = 0;  // follows the font
    view->ApplyOptions();
    view->horizontalHeader()->resizeSection(0, 80);
    view->horizontalHeader()->resizeSection(1, 50);
    showOnce(box.get());
    EXPECT_EQ(view->DataRowHeight(), c.row);
    EXPECT_EQ(view->HeaderHeight, c.header);
    EXPECT_EQ(view->BandHeaderHeight, 0);
    EXPECT_EQ(view->horizontalHeader()->sectionSize(0), c.col0);
    EXPECT_EQ(view->horizontalHeader()->sectionSize(1), c.col1);

    box->ResetSizeGridUIControl(view, 0);
    EXPECT_EQ(view->DataRowHeight(), c.row);
    EXPECT_EQ(view->HeaderHeight, c.header);
    EXPECT_EQ(view->horizontalHeader()->sectionSize(0), c.col0Widths);
    EXPECT_EQ(view->horizontalHeader()->sectionSize(1), c.col1Widths);
    box->ResetSizeGridUIControl(view, 1);
    EXPECT_EQ(view->DataRowHeight(), c.rowAll);
    EXPECT_EQ(view->HeaderHeight, c.headerAll);
    EXPECT_EQ(view->BandHeaderHeight, 0);
    EXPECT_EQ(view->horizontalHeader()->sectionSize(0), c.col0All);
    EXPECT_EQ(view->horizontalHeader()->sectionSize(1), c.col1All);
  }
}

// Counts the standard context menus it would have opened.
template <class TBase>
class TMenuCounter : public TBase {
 public:
  using TBase::TBase;
  int menus = 0;

 protected:
  void contextMenuEvent(QContextMenuEvent*) override { ++menus; }
};

TEST(TBSDIConstraints, EditsAndMemosOpenNoStandardMenuWhenTheRightButtonIsTheForms)
{
  for (bool enable : {false, true}) {
    SCOPED_TRACE(enable);
    std::unique_ptr<TBSDI> box(newForm(bsDialog));
    box->MouseRButtonEnable = enable;
    auto* edit = new TMenuCounter<QLineEdit>(box.get());
    auto* memo = new TMenuCounter<QPlainTextEdit>(box.get());
    auto* rich = new TMenuCounter<QTextEdit>(box.get());
    memo->move(0, 40);
    rich->move(0, 160);
    showOnce(box.get());
    // Where a click of the right button or the menu key delivers it:
    // an edit itself, a memo's viewport.
    for (QWidget* target : {static_cast<QWidget*>(edit), memo->viewport(), rich->viewport()})
      for (auto reason : {QContextMenuEvent::Mouse, QContextMenuEvent::Keyboard}) {
        QContextMenuEvent e(reason, QPoint(2, 2), target->mapToGlobal(QPoint(2, 2)));
        QCoreApplication::sendEvent(target, &e);
      }
    // With the right button the form's, neither way opens the standard
    // menu; without it the right button is swallowed, the key is not.
    const int expected = enable ? 0 : 1;
    EXPECT_EQ(edit->menus, expected);
    EXPECT_EQ(memo->menus, expected);
    EXPECT_EQ(rich->menus, expected);
  }
}

// Keeps form sizes in memory.
class TMemoryStore : public IFormSizeStore {
 public:
  bool GetFormRect(int, const QString&, QRect&) override { return false; }
  void InsertFormRect(int, const QString&, const QRect& ARect, const QString&) override { inserted << ARect; }
  void UpdateFormRect(int, const QString&, const QRect&) override {}
  int CountFormRect(int, const QString&) override { return 0; }
  QList<QRect> inserted;
};

TEST(TBSDIConstraints, DefaultStoredSizeFollowsTheZoomedResolution)
{
  TDefKeep keep;
  TMemoryStore store;
  pcSetFormSizeStore(&store);
  struct Case {
    int nowSize, nowHeight;
    int ppi;
    QSize defaultSize;
  } cases[] = {
      {10, -13, 96, {1002, 642}}, {12, -16, 115, {1002 * 115 / 96, 642 * 115 / 96}},  // scale 120 %
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ppi);
    SystemDef.DefaultFont = {QString(), 10, 0, 0, -13};
    SystemDef.NowFont = {QString(), c.nowSize, 0, 0, c.nowHeight};
    std::unique_ptr<TBSDI> box(newForm(bsSizeable));
    box->setObjectName(QStringLiteral("SizedBox"));
    box->HistAdd = false;
    EXPECT_EQ(box->PixelsPerInch(), box->logicalDpiY()) << "before the first show: the screen's";
    showOnce(box.get());
    EXPECT_EQ(box->PixelsPerInch(), c.ppi);
    ASSERT_FALSE(store.inserted.isEmpty());
    EXPECT_EQ(store.inserted.last(), QRect(QPoint(0, 0), c.defaultSize));
  }
  pcSetFormSizeStore(nullptr);
}

}  // namespace
