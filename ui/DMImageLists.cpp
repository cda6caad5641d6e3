#include "ui/DMImageLists.h"

#include <cmath>
#include <optional>

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

// ---- TImageList

TImageList::TImageList(int AWidth, int AHeight, bool AMasked) : FWidth(AWidth), FHeight(AHeight), FMasked(AMasked) {}

QPixmap TImageList::Picture(int AIndex) const
{
  return AIndex >= 0 && AIndex < Count() ? FPictures.at(AIndex) : QPixmap();
}

int TImageList::Add(const QPixmap& APicture)
{
  QImage img = APicture.toImage().convertToFormat(QImage::Format_ARGB32);
  if (img.size() != QSize(FWidth, FHeight))
    img = img.scaled(FWidth, FHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  if (FMasked) {
    for (int y = 0; y < img.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
      for (int x = 0; x < img.width(); ++x) {
        const QRgb p = line[x];
        line[x] = qAlpha(p) >= 128 ? qRgba(qRed(p), qGreen(p), qBlue(p), 255) : qRgba(0, 0, 0, 0);
      }
    }
  }
  FPictures.append(QPixmap::fromImage(img));
  return Count() - 1;
}

// ---- TcxImageRepoItem

namespace {

// A cell value or table value as a number, when it is one.
std::optional<double> numberOf(const QVariant& AValue)
{
  if (!AValue.isValid() || AValue.isNull())
    return std::nullopt;
  switch (AValue.typeId()) {
    case QMetaType::Bool:
      return AValue.toBool() ? 1.0 : 0.0;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
      return AValue.toDouble();
    case QMetaType::QString:
    case QMetaType::QByteArray: {
      const QString s = AValue.toString().trimmed();
      if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return 1.0;
      if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return 0.0;
      bool ok = false;
      const double d = s.toDouble(&ok);
      if (ok)
        return d;
      return std::nullopt;
    }
    default:
      return std::nullopt;
  }
}

}  // namespace

TcxImageRepoItem::TcxImageRepoItem(const TImageList& AList, QList<std::pair<QVariant, int>> AMap)
    : FList(&AList), FMap(std::move(AMap))
{
}

int TcxImageRepoItem::ImageIndex(const QVariant& AValue) const
{
  const std::optional<double> v = numberOf(AValue);
  if (!v)
    return -1;
  for (const auto& [value, index] : FMap) {
    const std::optional<double> k = numberOf(value);
    if (k && *k == *v)
      return index;
  }
  return -1;
}

QPixmap TcxImageRepoItem::Picture(const QVariant& AValue) const
{
  return FList->Picture(ImageIndex(AValue));
}

std::shared_ptr<const TcxEditProperties> TcxImageRepoItem::Properties() const
{
  if (!FProperties) {
    auto p = std::make_shared<TcxEditProperties>();
    p->Kind = TcxEditKind::ImageComboBox;
    for (const auto& [value, index] : FMap)
      p->Items.append(TcxImageComboItem{value, QString(), QIcon(FList->Picture(index))});
    FProperties = std::move(p);
  }
  return FProperties;
}

// ---- the pictures

namespace {

QPixmap blank(int AWidth, int AHeight)
{
  QPixmap pm(AWidth, AHeight);
  pm.fill(Qt::transparent);
  return pm;
}

template <typename F>
QPixmap drawn(int AWidth, int AHeight, bool AAntialias, F ADraw)
{
  QPixmap pm = blank(AWidth, AHeight);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing, AAntialias);
  ADraw(p);
  return pm;
}

// Head and shoulders of a person standing at ACx.
void drawPerson(QPainter& P, double ACx, const QColor& AColor)
{
  P.setPen(QPen(AColor.darker(150), 1));
  P.setBrush(AColor);
  P.drawEllipse(QPointF(ACx, 4.5), 3.0, 3.0);
  QPainterPath body;
  body.moveTo(ACx - 5.5, 15.0);
  body.cubicTo(ACx - 5.5, 8.5, ACx + 5.5, 8.5, ACx + 5.5, 15.0);
  body.closeSubpath();
  P.drawPath(body);
}

QPixmap sharePicture()
{
  return drawn(32, 16, true, [](QPainter& P) {
    drawPerson(P, 12.5, QColor(0x3C, 0x8D, 0x2F));
    drawPerson(P, 19.5, QColor(0x2F, 0x6F, 0xC8));
  });
}

QPixmap lockPicture()
{
  return drawn(32, 16, true, [](QPainter& P) {
    // Shackle.
    P.setPen(QPen(QColor(0x70, 0x70, 0x70), 2.0));
    P.setBrush(Qt::NoBrush);
    P.drawArc(QRectF(11.5, 1.5, 9.0, 10.0), 0, 180 * 16);
    P.drawLine(QPointF(11.5, 6.5), QPointF(11.5, 8.0));
    P.drawLine(QPointF(20.5, 6.5), QPointF(20.5, 8.0));
    // Body and keyhole.
    P.setPen(QPen(QColor(0x8A, 0x66, 0x00), 1.0));
    P.setBrush(QColor(0xF2, 0xC1, 0x2E));
    P.drawRoundedRect(QRectF(9.5, 7.5, 13.0, 8.0), 1.5, 1.5);
    P.setPen(Qt::NoPen);
    P.setBrush(QColor(0x5A, 0x42, 0x00));
    P.drawEllipse(QPointF(16.0, 10.5), 1.3, 1.3);
    P.drawRect(QRectF(15.5, 11.0, 1.0, 3.0));
  });
}

QPixmap cloudPicture()
{
  return drawn(32, 16, true, [](QPainter& P) {
    QPainterPath cloud;
    cloud.addEllipse(QRectF(6.5, 6.5, 9.0, 8.0));
    cloud.addEllipse(QRectF(11.5, 1.5, 11.0, 11.0));
    cloud.addEllipse(QRectF(18.5, 5.5, 8.0, 8.0));
    cloud.addRoundedRect(QRectF(9.5, 9.5, 14.0, 5.0), 2.0, 2.0);
    cloud = cloud.simplified();
    P.setPen(QPen(QColor(0x1F, 0x6F, 0xC0), 1.0));
    P.setBrush(QColor(0xBF, 0xE0, 0xFF));
    P.drawPath(cloud);
    // Two arrows, up and down: shared both ways.
    P.setPen(QPen(QColor(0x1F, 0x6F, 0xC0), 1.2));
    P.drawLine(QPointF(14.5, 12.5), QPointF(14.5, 6.5));
    P.drawLine(QPointF(12.5, 8.5), QPointF(14.5, 6.5));
    P.drawLine(QPointF(16.5, 8.5), QPointF(14.5, 6.5));
    P.drawLine(QPointF(19.5, 6.5), QPointF(19.5, 12.5));
    P.drawLine(QPointF(17.5, 10.5), QPointF(19.5, 12.5));
    P.drawLine(QPointF(21.5, 10.5), QPointF(19.5, 12.5));
  });
}

QPixmap stickyNotePicture(const QColor& AColor)
{
  return drawn(16, 16, true, [&](QPainter& P) {
    QPolygonF note;
    note << QPointF(1.5, 1.5) << QPointF(14.5, 1.5) << QPointF(14.5, 10.5) << QPointF(10.5, 14.5) << QPointF(1.5, 14.5);
    P.setPen(QPen(AColor.darker(160), 1.0));
    P.setBrush(AColor);
    P.drawPolygon(note);
    // The turned-up corner.
    QPolygonF corner;
    corner << QPointF(14.5, 10.5) << QPointF(10.5, 10.5) << QPointF(10.5, 14.5);
    P.setBrush(AColor.darker(125));
    P.drawPolygon(corner);
  });
}

// A sheet with text lines; AHeader, when valid, colours a band at its top.
QPixmap memoPicture(const QColor& AHeader)
{
  return drawn(16, 16, false, [&](QPainter& P) {
    P.setPen(QColor(0x60, 0x60, 0x60));
    P.setBrush(Qt::white);
    P.drawRect(2, 0, 11, 15);
    if (AHeader.isValid())
      P.fillRect(3, 1, 10, 3, AHeader);
    P.setPen(QColor(0x50, 0x78, 0xB4));
    for (int y = AHeader.isValid() ? 6 : 3; y <= 12; y += 3)
      P.drawLine(4, y, 11, y);
  });
}

QPixmap adjustmentPicture()
{
  return drawn(16, 16, true, [](QPainter& P) {
    auto arrow = [&](double ACx, bool AUp, const QColor& AColor) {
      const double tip = AUp ? 1.5 : 14.5;
      const double base = AUp ? 7.5 : 8.5;
      const double tail = AUp ? 14.5 : 1.5;
      P.setPen(Qt::NoPen);
      P.setBrush(AColor);
      P.drawPolygon(QPolygonF() << QPointF(ACx, tip) << QPointF(ACx - 3.5, base) << QPointF(ACx + 3.5, base));
      P.fillRect(QRectF(ACx - 1.25, std::min(base, tail), 2.5, std::abs(tail - base)), AColor);
    };
    arrow(4.5, true, QColor(0x2E, 0x9E, 0x3E));
    arrow(11.5, false, QColor(0xD8, 0x3A, 0x2E));
  });
}

QPixmap voucherPicture()
{
  return drawn(16, 16, false, [](QPainter& P) {
    QPolygon slip;
    slip << QPoint(1, 1) << QPoint(14, 1) << QPoint(14, 13) << QPoint(12, 15) << QPoint(10, 13) << QPoint(8, 15)
         << QPoint(6, 13) << QPoint(4, 15) << QPoint(1, 13);
    P.setPen(QColor(0x3E, 0x7A, 0x3A));
    P.setBrush(QColor(0xE4, 0xF4, 0xDC));
    P.drawPolygon(slip);
    P.setPen(QColor(0x3E, 0x7A, 0x3A));
    P.drawLine(3, 4, 12, 4);
    P.drawLine(3, 7, 8, 7);
    P.drawLine(3, 10, 8, 10);
    // The seal.
    P.setPen(QColor(0xD0, 0x20, 0x20));
    P.setBrush(Qt::NoBrush);
    P.drawEllipse(9, 7, 4, 4);
  });
}

// The three-step evaluation scale with the mark on step AStep (0 poor,
// 1 even, 2 good).
QPixmap evaluationPicture(int AStep)
{
  return drawn(96, 16, true, [&](QPainter& P) {
    const double xs[3] = {16.0, 48.0, 80.0};
    P.setPen(QPen(QColor(0xB0, 0xB0, 0xB0), 1.0));
    P.drawLine(QPointF(xs[0], 8.0), QPointF(xs[2], 8.0));
    P.setBrush(Qt::white);
    for (double x : xs)
      P.drawEllipse(QPointF(x, 8.0), 2.5, 2.5);
    const double x = xs[AStep];
    P.setPen(Qt::NoPen);
    switch (AStep) {
      case 0:  // poor: a red triangle pointing down
        P.setBrush(QColor(0xD8, 0x3A, 0x2E));
        P.drawPolygon(QPolygonF() << QPointF(x - 6.0, 3.0) << QPointF(x + 6.0, 3.0) << QPointF(x, 14.0));
        break;
      case 1:  // even: an amber disc
        P.setBrush(QColor(0xF0, 0xA0, 0x20));
        P.drawEllipse(QPointF(x, 8.0), 5.5, 5.5);
        break;
      default:  // good: a green triangle pointing up
        P.setBrush(QColor(0x2E, 0x9E, 0x3E));
        P.drawPolygon(QPolygonF() << QPointF(x, 2.0) << QPointF(x + 6.0, 13.0) << QPointF(x - 6.0, 13.0));
        break;
    }
  });
}

using TMap = QList<std::pair<QVariant, int>>;

}  // namespace

// ---- TDMImageLists

TDMImageLists::TDMImageLists()
    : ImageList1(16, 16, true),
      ImageList3216(32, 16, false),
      ImageList1616(16, 16, false),
      ImageListHyouka(96, 16, false),
      cxEditRepo_Image_Kyouyu(ImageList3216, TMap{{0, 1}, {1, 0}}),
      cxEditRepo_Image_Lock(ImageList3216, TMap{{0, 0}, {1, 2}}),
      cxEditRepo_Image_CloudShare(ImageList3216, TMap{{0, 0}, {1, 3}}),
      cxEditRepo_Image_Memo(ImageList1616, TMap{{0, 0}, {1, 4}}),
      cxEditRepo_Image_Chosei(ImageList1616, TMap{{0, 0}, {1, 6}}),
      cxEditRepo_Image_MemoJimusyo(ImageList1616, TMap{{0, 0}, {1, 5}}),
      cxEditRepo_Image_Syouhyou(ImageList1616, TMap{{0, 0}, {1, 7}}),
      cxEditRepo_Image_Fusen(ImageList1616, TMap{{0, 0}, {1, 1}, {2, 2}, {3, 3}}),
      cxEditRepo_Image_Boolean_noDisplay(ImageList1616, TMap{{false, 0}, {true, 0}}),
      cxEditRepo_Image_Hyouka(ImageListHyouka, TMap{{-1, 0}, {0, 1}, {1, 2}}),
      cxEditRepo_Image_Hyouka2(ImageListHyouka, TMap{{1, 0}, {0, 1}, {-1, 2}})
{
  ImageList3216.Add(blank(32, 16));
  ImageList3216.Add(sharePicture());
  ImageList3216.Add(lockPicture());
  ImageList3216.Add(cloudPicture());

  ImageList1616.Add(blank(16, 16));
  ImageList1616.Add(stickyNotePicture(QColor(0xFF, 0xE4, 0x5C)));
  ImageList1616.Add(stickyNotePicture(QColor(0xFF, 0x9E, 0xC4)));
  ImageList1616.Add(stickyNotePicture(QColor(0x8E, 0xC8, 0xFF)));
  ImageList1616.Add(memoPicture(QColor()));
  ImageList1616.Add(memoPicture(QColor(0xF0, 0x8C, 0x28)));
  ImageList1616.Add(adjustmentPicture());
  ImageList1616.Add(voucherPicture());

  for (int step = 0; step < 3; ++step)
    ImageListHyouka.Add(evaluationPicture(step));
}

const TDMImageLists& fnDMImageLists()
{
  static const TDMImageLists lists;
  return lists;
}
