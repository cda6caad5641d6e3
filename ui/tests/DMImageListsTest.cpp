// The data module's picture lists and the picture items of its edit
// repository: which picture each cell value shows, the lists' sizes and
// counts, and a grid column drawing an item's pictures at their own width.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QStandardItemModel>
#include <QTest>
#include <QVBoxLayout>

#include "ui/DMImageLists.h"
#include "ui/tests/UiTestUtil.h"
#include "ui/xGridView.h"

namespace {

int opaquePixels(const QImage& AImage)
{
  int n = 0;
  for (int y = 0; y < AImage.height(); ++y)
    for (int x = 0; x < AImage.width(); ++x)
      n += qAlpha(AImage.pixel(x, y)) > 0;
  return n;
}

}  // namespace

TEST(DMImageLists, EachItemShowsThePictureOfItsValueAndNoneForOtherValues)
{
  const TDMImageLists& d = fnDMImageLists();
  const QVariant none;
  const struct {
    const char* name;
    const TcxImageRepoItem& item;
    const TImageList& list;
    QList<std::pair<QVariant, int>> cases;  // value, picture index (-1 none)
  } items[] = {
      {"Kyouyu", d.cxEditRepo_Image_Kyouyu, d.ImageList3216, {{0, 1}, {1, 0}, {2, -1}, {-1, -1}, {none, -1}}},
      {"Lock", d.cxEditRepo_Image_Lock, d.ImageList3216, {{0, 0}, {1, 2}, {2, -1}, {3, -1}}},
      {"CloudShare", d.cxEditRepo_Image_CloudShare, d.ImageList3216, {{0, 0}, {1, 3}, {2, -1}, {3, -1}}},
      {"Memo", d.cxEditRepo_Image_Memo, d.ImageList1616, {{0, 0}, {1, 4}, {4, -1}, {-1, -1}}},
      {"Chosei", d.cxEditRepo_Image_Chosei, d.ImageList1616, {{0, 0}, {1, 6}, {6, -1}}},
      {"MemoJimusyo", d.cxEditRepo_Image_MemoJimusyo, d.ImageList1616, {{0, 0}, {1, 5}, {5, -1}}},
      {"Syouhyou", d.cxEditRepo_Image_Syouhyou, d.ImageList1616, {{0, 0}, {1, 7}, {7, -1}}},
      {"Fusen", d.cxEditRepo_Image_Fusen, d.ImageList1616, {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, -1}, {-1, -1}}},
      {"Boolean_noDisplay",
       d.cxEditRepo_Image_Boolean_noDisplay,
       d.ImageList1616,
       {{false, 0}, {true, 0}, {0, 0}, {1, 0}, {2, -1}, {none, -1}}},
      {"Hyouka", d.cxEditRepo_Image_Hyouka, d.ImageListHyouka, {{-1, 0}, {0, 1}, {1, 2}, {2, -1}, {-2, -1}}},
      {"Hyouka2", d.cxEditRepo_Image_Hyouka2, d.ImageListHyouka, {{1, 0}, {0, 1}, {-1, 2}, {2, -1}, {-2, -1}}},
  };
  for (const auto& it : items) {
    EXPECT_EQ(&it.item.Images(), &it.list) << it.name;
    for (const auto& [value, index] : it.cases) {
      const std::string at = std::string(it.name) + " value " + value.toString().toStdString();
      EXPECT_EQ(it.item.ImageIndex(value), index) << at;
      const QPixmap pm = it.item.Picture(value);
      if (index < 0) {
        EXPECT_TRUE(pm.isNull()) << at;
      } else {
        ASSERT_FALSE(pm.isNull()) << at;
        EXPECT_EQ(pm.toImage(), it.list.Picture(index).toImage()) << at;
      }
    }
  }

  // How database values arrive: small integers, doubles, text, truth values.
  const TcxImageRepoItem& lock = d.cxEditRepo_Image_Lock;
  const struct {
    QVariant value;
    int index;
  } forms[] = {
      {QVariant(qint16(1)), 2},
      {QVariant(qint64(1)), 2},
      {1.0, 2},
      {QStringLiteral(" 1 "), 2},
      {true, 2},
      {QStringLiteral("True"), 2},
      {false, 0},
      {0.5, -1},
      {QStringLiteral(""), -1},
      {QStringLiteral("abc"), -1},
      {QVariant(QMetaType(QMetaType::Int)), -1},
  };
  for (const auto& f : forms)
    EXPECT_EQ(lock.ImageIndex(f.value), f.index) << f.value.typeName() << " " << f.value.toString().toStdString();
}

TEST(DMImageLists, ListsHoldPicturesOfTheirSizeWithAnEmptyFirstPicture)
{
  const TDMImageLists& d = fnDMImageLists();
  EXPECT_EQ(&fnDMImageLists(), &d) << "one set for the process";
  const struct {
    const char* name;
    const TImageList& list;
    int width, height, count;
    bool emptyFirst;
  } lists[] = {
      {"ImageList1", d.ImageList1, 16, 16, 0, false},
      {"ImageList3216", d.ImageList3216, 32, 16, 4, true},
      {"ImageList1616", d.ImageList1616, 16, 16, 8, true},
      {"ImageListHyouka", d.ImageListHyouka, 96, 16, 3, false},
  };
  for (const auto& l : lists) {
    EXPECT_EQ(l.list.Width(), l.width) << l.name;
    EXPECT_EQ(l.list.Height(), l.height) << l.name;
    ASSERT_EQ(l.list.Count(), l.count) << l.name;
    EXPECT_TRUE(l.list.Picture(-1).isNull()) << l.name;
    EXPECT_TRUE(l.list.Picture(l.count).isNull()) << l.name;
    QList<QImage> seen;
    for (int i = 0; i < l.count; ++i) {
      const QImage img = l.list.Picture(i).toImage();
      EXPECT_EQ(img.size(), QSize(l.width, l.height)) << l.name << " " << i;
      const bool empty = opaquePixels(img) == 0;
      EXPECT_EQ(empty, l.emptyFirst && i == 0) << l.name << " " << i << ": only picture 0 of a mark list is empty";
      EXPECT_FALSE(seen.contains(img)) << l.name << " " << i << " repeats an earlier picture";
      seen << img;
    }
  }

  // A masked list keeps every pixel either drawn or clear, and takes a
  // picture of another size at its own size.
  TImageList masked(16, 16, true);
  QPixmap soft(32, 32);
  soft.fill(Qt::transparent);
  {
    QPainter p(&soft);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::red);
    p.drawEllipse(QRectF(2.3, 2.3, 27.1, 27.1));
  }
  ASSERT_EQ(masked.Add(soft), 0);
  const QImage m = masked.Picture(0).toImage();
  EXPECT_EQ(m.size(), QSize(16, 16));
  int drawn = 0;
  for (int y = 0; y < m.height(); ++y)
    for (int x = 0; x < m.width(); ++x) {
      const int a = qAlpha(m.pixel(x, y));
      EXPECT_TRUE(a == 0 || a == 255) << x << "," << y << " alpha " << a;
      drawn += a == 255;
    }
  EXPECT_GT(drawn, 100);
  EXPECT_LT(drawn, 256);
}

TEST(DMImageLists, GridColumnsDrawTheItemsPicturesAtTheirOwnWidth)
{
  const TDMImageLists& d = fnDMImageLists();
  const TcxImageRepoItem* cols[] = {&d.cxEditRepo_Image_Lock, &d.cxEditRepo_Image_Fusen, &d.cxEditRepo_Image_Hyouka};
  // The last row only takes the focus, away from the rows looked at.
  const QVariant rows[][3] = {{1, 2, 1}, {0, 0, -1}, {5, 9, 7}, {}};
  QWidget form;
  QStandardItemModel model(4, 3);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 3; ++c) {
      auto* cell = new QStandardItem;
      cell->setData(rows[r][c], Qt::EditRole);
      model.setItem(r, c, cell);
    }
  auto* view = new TxGridView(&form);
  view->setModel(&model);
  for (int c = 0; c < 3; ++c) {
    view->Columns(c).RepositoryItem = cols[c]->Properties();
    view->setColumnWidth(c, 120);
  }
  auto* lay = new QVBoxLayout(&form);
  lay->setContentsMargins(0, 0, 0, 0);
  lay->addWidget(view);
  form.resize(400, 180);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  view->setCurrentIndex(model.index(3, 0));
  QApplication::processEvents();
  const QImage img = view->viewport()->grab().toImage();
  uitest::saveScreenshot(view, QStringLiteral("dm-image-columns"));

  // Pixels of a cell that differ from its background (taken at its corner).
  const auto marked = [&](int ARow, int ACol) {
    const QRect r = view->visualRect(model.index(ARow, ACol)).adjusted(1, 1, -1, -1);
    const QRgb back = img.pixel(r.topLeft());
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x)
        n += img.pixel(x, y) != back;
    return n;
  };
  for (int c = 0; c < 3; ++c) {
    const int expected = opaquePixels(cols[c]->Picture(rows[0][c]).toImage());
    const int n = marked(0, c);
    EXPECT_GT(n, expected * 8 / 10) << "column " << c << ": the whole picture, not a squeezed one";
    EXPECT_LT(n, expected * 12 / 10 + 4) << "column " << c;
    EXPECT_EQ(marked(2, c), 0) << "column " << c << ": a value outside the table shows nothing";
  }
  EXPECT_EQ(marked(1, 0), 0) << "picture 0 of the lock list is empty";
  EXPECT_GT(marked(1, 2), 0) << "the evaluation list has no empty picture";
}

TEST(DMImageLists, ScreenshotOfTheFourLists)
{
  const TDMImageLists& d = fnDMImageLists();
  const std::pair<const char*, const TImageList*> lists[] = {
      {"ImageList1", &d.ImageList1},
      {"ImageList3216", &d.ImageList3216},
      {"ImageList1616", &d.ImageList1616},
      {"ImageListHyouka", &d.ImageListHyouka},
  };
  QWidget sheet;
  sheet.setAutoFillBackground(true);
  QPalette pal = sheet.palette();
  pal.setColor(QPalette::Window, Qt::white);
  sheet.setPalette(pal);
  auto* grid = new QGridLayout(&sheet);
  int row = 0;
  for (const auto& [name, list] : lists) {
    grid->addWidget(new QLabel(QString::fromLatin1(name)), row, 0);
    if (list->Count() == 0)
      grid->addWidget(new QLabel(QStringLiteral("(no pictures)")), row, 1);
    for (int i = 0; i < list->Count(); ++i) {
      auto* pic = new QLabel;
      pic->setPixmap(list->Picture(i).scaled(list->Width() * 2, list->Height() * 2));
      pic->setToolTip(QString::number(i));
      grid->addWidget(pic, row, i + 1);
      grid->addWidget(new QLabel(QString::number(i)), row + 1, i + 1, Qt::AlignHCenter);
    }
    row += 2;
  }
  sheet.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));
  EXPECT_TRUE(uitest::saveScreenshot(&sheet, QStringLiteral("dm-image-lists")));
}
