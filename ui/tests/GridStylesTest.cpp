// Grid styles: the form repository's design values and the operator's look
// applied at the first show, the data module's styles, and views that follow
// a style changed after they were set up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardItemModel>
#include <QTest>
#include <QWidget>

#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "ui/GridHelpers.h"
#include "ui/GridStyles.h"
#include "ui/xGridView.h"

namespace {

TSystemDef operatorColours()
{
  TSystemDef s;
  s.ColHeaderColor = 0x010203;
  s.ColHeaderGradColor1 = 0x040506;
  s.ColHeaderGradColor2 = 0x070809;
  s.RowHeaderColor = 0x0A0B0C;
  s.ClientColor = 0x0D0E0F;
  s.ClientColor1 = 0x101112;
  s.ClientColor2 = 0x131415;
  s.TotalColor = 0x161718;
  s.ActiveColor = 0x191A1B;
  return s;
}

}  // namespace

TEST(GridStyles, FormRepositoryTakesTheOperatorsColoursAndFontAndKeepsTheRest)
{
  QWidget form;
  TcxStyleRepoDef* r = fnFormStyleRepoDef(&form);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(fnFormStyleRepoDef(&form), r) << "one repository per form";
  EXPECT_EQ(r->Styles().size(), 19);
  // Design values before the first show.
  EXPECT_EQ(r->cxStyleTitle->Color(), 16506297);
  EXPECT_EQ(r->cxStyleSelect->Color(), 33023);
  EXPECT_EQ(r->cxStyleSelect->TextColor(), clWhite);
  EXPECT_EQ(r->cxStyleMeisaiEven->Color(), clInfoBk);
  EXPECT_EQ(r->cxStyleMeisaiZenki->Color(), clNone);

  QFont formFont(QStringLiteral("IPAexGothic"));
  formFont.setPointSize(11);
  r->ApplySystemDef(operatorColours(), formFont);

  const struct {
    TcxStyle* style;
    TColor colour;
  } cases[] = {
      {r->cxStyleTitle, 0x010203},
      {r->cxStyleTitleTop, 0x040506},
      {r->cxStyleTitleEnd, 0x070809},
      {r->cxStyleTitleRow, 0x0A0B0C},
      {r->cxStyleMeisai, 0x0D0E0F},
      {r->cxStyleMeisaiOdd, 0x101112},
      {r->cxStyleMeisaiEven, 0x131415},
      {r->cxStyleGokei, 0x161718},
      {r->cxStyleSelect, 0x191A1B},
      {r->cxStyleInactive, clGradientInactiveCaption},
      {r->cxStyleMeisaiZenki, 0xFFF0E1},
      {r->cxStyleMeisaiZZenki, 0xD3EDD9},
      // Not the operator's: design values stay.
      {r->cxStyleHason, clRed},
      {r->cxStyleTouka, clGreen},
      {r->cxStyleKinsiCell, cl3DLight},
      {r->cxStyleHighlight, clHighlight},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.style->Color(), c.colour) << c.style->objectName().toStdString();
  EXPECT_EQ(r->cxStyleSelect->TextColor(), clWhite) << "text colours are not the operator's";
  EXPECT_EQ(r->cxStyleKinsi->TextColor(), clGrayText);
  for (TcxStyle* s : r->Styles()) {
    ASSERT_TRUE(s->Font().has_value()) << s->objectName().toStdString();
    EXPECT_EQ(*s->Font(), formFont) << s->objectName().toStdString();
  }
}

TEST(GridStyles, DataModuleStylesFollowTheDataModuleAndKeepDesignValuesWithoutOne)
{
  ASSERT_EQ(DM, nullptr);
  const TcxDataModuleStyles& d = fnDataModuleStyles();
  EXPECT_EQ(d.cxStyleTitle->Color(), 0xFBDDB9);
  EXPECT_EQ(d.cxStyleSelect->Color(), 0x0080FF);
  EXPECT_EQ(d.cxStyleTouka->Color(), clGreen);
  EXPECT_EQ(d.cxStyleMeisaiEven->Color(), clInfoBk);
  {
    TDM dm;
    TDM::TGridStyles& g = dm.cxStyleRepository1;
    g.Font.Name = QStringLiteral("IPAexMincho");
    g.Font.Height = -15;
    g.Title = 0x111111;
    g.Meisai = 0x222222;
    g.MeisaiOdd = 0x333333;
    g.MeisaiEven = -1;  // stands for the system's info background
    g.Select = 0x444444;
    const TcxDataModuleStyles& s = fnDataModuleStyles();
    EXPECT_EQ(&s, &d) << "views keep pointing at the same styles";
    EXPECT_EQ(s.cxStyleTitle->Color(), 0x111111);
    EXPECT_EQ(s.cxStyleMeisai->Color(), 0x222222);
    EXPECT_EQ(s.cxStyleMeisaiOdd->Color(), 0x333333);
    EXPECT_EQ(s.cxStyleMeisaiEven->Color(), clInfoBk);
    EXPECT_EQ(s.cxStyleSelect->Color(), 0x444444);
    EXPECT_EQ(s.cxStyleHason->Color(), clRed);
    ASSERT_TRUE(s.cxStyleKinsi->Font().has_value());
    EXPECT_EQ(s.cxStyleKinsi->Font()->family(), QStringLiteral("IPAexMincho"));
    EXPECT_EQ(s.cxStyleKinsi->Font()->pixelSize(), 15);
  }
}

TEST(GridStyles, ViewDrawsWithAStyleChangedAfterItWasSetUp)
{
  // A form sets its view's styles when it is created; the operator's
  // colours arrive at its first show and must show in the view.
  QWidget form;
  TcxStyleRepoDef* r = fnFormStyleRepoDef(&form);
  QStandardItemModel model(3, 2);
  auto* view = new TxGridView(&form);
  view->setModel(&model);
  view->setGeometry(0, 0, 200, 120);
  view->Styles.Content = r->cxStyleMeisai;
  form.resize(200, 120);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

  const auto pixel = [&] {
    const QRect cell = view->visualRect(model.index(1, 1));
    return view->viewport()->grab().toImage().pixelColor(cell.center());
  };
  EXPECT_EQ(pixel(), QColor(Qt::white));

  // A shown view repaints by itself when its style changes.
  struct TPaintCounter : QObject {
    int Count = 0;
    bool eventFilter(QObject*, QEvent* AEvent) override
    {
      if (AEvent->type() == QEvent::Paint)
        ++Count;
      return false;
    }
  } counter;
  QApplication::processEvents();
  view->viewport()->installEventFilter(&counter);
  TSystemDef s = operatorColours();
  s.ClientColor = RGBColor(10, 200, 30);
  r->ApplySystemDef(s, form.font());
  EXPECT_TRUE(QTest::qWaitFor([&] { return counter.Count > 0; }, 2000));
  view->viewport()->removeEventFilter(&counter);
  EXPECT_EQ(pixel(), QColor(10, 200, 30));
}

TEST(GridStyles, FormStylesForAViewSwapOddAndEvenOnlyWhenTheViewUsesThem)
{
  QWidget form;
  const TcxStyleRepoDef* r = fnFormStyleRepoDef(&form);
  for (const bool oddEven : {false, true}) {
    for (const bool swap : {false, true}) {
      TxGridView view(&form);
      view.UseOddEvenStyles = oddEven;
      pcSetGridViewStyles(&view, r, swap);
      const bool swapped = oddEven && swap;
      EXPECT_EQ(view.Styles.Content, r->cxStyleMeisai);
      EXPECT_EQ(view.Styles.ContentOdd, swapped ? r->cxStyleMeisaiEven : r->cxStyleMeisaiOdd);
      EXPECT_EQ(view.Styles.ContentEven, swapped ? r->cxStyleMeisaiOdd : r->cxStyleMeisaiEven);
      EXPECT_EQ(view.Styles.Header, r->cxStyleTitle);
      EXPECT_EQ(view.Styles.BandHeader, r->cxStyleTitle);
      EXPECT_EQ(view.Styles.Selection, r->cxStyleSelect);
      EXPECT_EQ(view.Styles.Inactive, r->cxStyleInactive);
      EXPECT_EQ(view.Styles.Preview, r->cxStyleSelect);
    }
  }
}
