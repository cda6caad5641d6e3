#include "print/PrintCanvas.h"

#include <algorithm>
#include <climits>

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

#include "platform/AppError.h"
#include "print/Print360Engine.h"
#include "print/Print360Func.h"

void TPrintCanvas::TextOut(int x, int y, const QString& text)
{
  DoTextOut(x, y, text);
  PenPos = QPoint(int(std::clamp<qint64>(qint64(x) + TextWidth(text), INT_MIN, INT_MAX)), y);
}

void TPrintCanvas::LineTo(int x, int y)
{
  DoLine(PenPos, QPoint(x, y));
  PenPos = QPoint(x, y);
}

// --- painter ----------------------------------------------------------------

namespace {

Qt::PenStyle qtPenStyle(int style)
{
  switch (style) {
    case psDash:
      return Qt::DashLine;
    case psDot:
      return Qt::DotLine;
    case psDashDot:
      return Qt::DashDotLine;
    case psDashDotDot:
      return Qt::DashDotDotLine;
    case psClear:
      return Qt::NoPen;
    default:
      return Qt::SolidLine;
  }
}

Qt::BrushStyle qtBrushStyle(int style)
{
  switch (style) {
    case bsClear:
      return Qt::NoBrush;
    case bsHorizontal:
      return Qt::HorPattern;
    case bsVertical:
      return Qt::VerPattern;
    case bsFDiagonal:
      return Qt::BDiagPattern;
    case bsBDiagonal:
      return Qt::FDiagPattern;
    case bsCross:
      return Qt::CrossPattern;
    case bsDiagCross:
      return Qt::DiagCrossPattern;
    default:
      return Qt::SolidPattern;
  }
}

QColor qtColor(TColor c)
{
  return toQColor(ColorToRGB(c));
}

// A name starting with "@" is the vertical form of the font after it.
bool isVerticalFont(const TCanvasFont& f)
{
  return f.Name.startsWith(u'@');
}

QFont qtFont(const TCanvasFont& f)
{
  QFont font(P360FontFamily(isVerticalFont(f) ? f.Name.mid(1) : f.Name));
  font.setPixelSize(qMax(1, qAbs(f.Height)));
  font.setBold(f.Bold);
  font.setItalic(f.Italic);
  font.setUnderline(f.Underline);
  font.setStrikeOut(f.StrikeOut);
  font.setKerning(false);
  if (f.Stretch != 100)
    font.setStretch(std::clamp(f.Stretch, 1, 4000));
  return font;
}

}  // namespace

TPainterCanvas::TPainterCanvas(QPainter& painter, bool isPrinter) : FPainter(painter), FIsPrinter(isPrinter) {}

void TPainterCanvas::SetZoom(int zoom)
{
  FPainter.setWorldTransform(QTransform::fromScale(zoom / 10.0, zoom / 10.0));
}

void TPainterCanvas::ApplyFont()
{
  FPainter.setFont(qtFont(Font));
}

void TPainterCanvas::ApplyPen(bool withPen)
{
  if (!withPen || Pen.Style == psClear) {
    FPainter.setPen(Qt::NoPen);
    return;
  }
  QPen pen(qtColor(Pen.Color));
  pen.setWidth(qMax(0, Pen.Width));
  pen.setStyle(qtPenStyle(Pen.Style));
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::MiterJoin);
  FPainter.setPen(pen);
}

void TPainterCanvas::ApplyBrush(bool withBrush)
{
  if (!withBrush || Brush.Style == bsClear) {
    FPainter.setBrush(Qt::NoBrush);
    return;
  }
  FPainter.setBrush(QBrush(qtColor(Brush.Color), qtBrushStyle(Brush.Style)));
  FPainter.setBackgroundMode(Transparent ? Qt::TransparentMode : Qt::OpaqueMode);
  FPainter.setBackground(Qt::white);
  FPainter.setCompositionMode(AndMode ? QPainter::RasterOp_SourceAndDestination : QPainter::CompositionMode_SourceOver);
}

int TPainterCanvas::TextWidth(const QString& text)
{
  return QFontMetrics(qtFont(Font), FPainter.device()).horizontalAdvance(text);
}

int TPainterCanvas::TextHeight(const QString&)
{
  return QFontMetrics(qtFont(Font), FPainter.device()).height();
}

void TPainterCanvas::DoTextOut(int x, int y, const QString& text)
{
  ApplyFont();
  const QFontMetrics fm(FPainter.font(), FPainter.device());
  if (!Transparent && Brush.Style != bsClear)
    FPainter.fillRect(QRect(x, y, fm.horizontalAdvance(text), fm.height()), qtColor(Brush.Color));
  FPainter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  FPainter.setPen(qtColor(Font.Color));
  if (isVerticalFont(Font)) {
    // Turned a quarter to the right within the character's cell.
    const int w = fm.horizontalAdvance(text);
    const int h = fm.height();
    FPainter.save();
    FPainter.translate(x + h / 2.0, y + w / 2.0);
    FPainter.rotate(90);
    FPainter.drawText(QPointF(-w / 2.0, -h / 2.0 + fm.ascent()), text);
    FPainter.restore();
    return;
  }
  FPainter.drawText(QPoint(x, y + fm.ascent()), text);
}

void TPainterCanvas::DoLine(const QPoint& from, const QPoint& to)
{
  ApplyPen(true);
  FPainter.drawLine(from, to);
}

void TPainterCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
  ApplyPen(true);
  ApplyBrush(true);
  FPainter.drawRect(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)));
}

void TPainterCanvas::FillRect(const QRect& rect)
{
  ApplyPen(false);
  ApplyBrush(true);
  FPainter.drawRect(rect);
}

void TPainterCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
  ApplyPen(true);
  ApplyBrush(true);
  FPainter.drawEllipse(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)));
}

void TPainterCanvas::RoundRect(int x1, int y1, int x2, int y2, int w, int h)
{
  ApplyPen(true);
  ApplyBrush(true);
  FPainter.drawRoundedRect(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)), w / 2.0, h / 2.0);
}

void TPainterCanvas::StretchDraw(const QRect& rect, const QImage& image)
{
  FPainter.setCompositionMode(AndMode ? QPainter::RasterOp_SourceAndDestination : QPainter::CompositionMode_SourceOver);
  FPainter.drawImage(rect, image);
  FPainter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

// --- printer ----------------------------------------------------------------

TPrinterCanvas::TPrinterCanvas(QPrinter& printer)
    : TPainterCanvas(*new QPainter, true), FOwnedPainter(&painter()), FPrinter(printer)
{
  if (!FOwnedPainter->begin(&printer))
    throw EAppError(QStringLiteral("The printer \"%1\" did not start the document.")
                        .arg(printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName()));
}

TPrinterCanvas::~TPrinterCanvas()
{
  if (FOwnedPainter->isActive())
    FOwnedPainter->end();
}

void TPrinterCanvas::NewPage()
{
  FPrinter.newPage();
}

void TPrinterCanvas::End()
{
  if (FOwnedPainter->isActive() && !FOwnedPainter->end())
    throw EAppError(QStringLiteral("The printer did not finish the document."));
}

int TPrinterCanvas::Dpi() const
{
  return FPrinter.resolution();
}

// --- image ------------------------------------------------------------------

TImageCanvas::TImageCanvas(QImage& image) : TPainterCanvas(*new QPainter(&image), false), FOwnedPainter(&painter())
{
  FOwnedPainter->setRenderHint(QPainter::TextAntialiasing, true);
}

TImageCanvas::~TImageCanvas()
{
  if (FOwnedPainter->isActive())
    FOwnedPainter->end();
}

// --- recording --------------------------------------------------------------

namespace {

QString hexColor(TColor c)
{
  return QStringLiteral("%1").arg(quint32(c), 6, 16, QChar(u'0')).toUpper();
}

QString fontText(const TCanvasFont& f)
{
  QString style;
  if (f.Bold)
    style += u'B';
  if (f.Italic)
    style += u'I';
  if (f.Underline)
    style += u'U';
  if (f.StrikeOut)
    style += u'S';
  QString text = QStringLiteral("%1/%2/%3/%4").arg(f.Name).arg(f.Height).arg(style, hexColor(f.Color));
  if (f.Stretch != 100)
    text += QStringLiteral("/%1%").arg(f.Stretch);
  return text;
}

QString penText(const TCanvasPen& p)
{
  return QStringLiteral("pen=%1/%2/%3").arg(p.Width).arg(p.Style).arg(hexColor(p.Color));
}

QString brushText(const TCanvasBrush& b)
{
  return QStringLiteral("brush=%1/%2").arg(hexColor(b.Color)).arg(b.Style);
}

}  // namespace

void TRecordingCanvas::SetZoom(int zoom)
{
  Calls << QStringLiteral("ZOOM %1").arg(zoom);
}

int TRecordingCanvas::TextWidth(const QString& text)
{
  return int(qMin<qint64>(qint64(fnMojiHaba(text)) * qAbs(qint64(Font.Height)) * Font.Stretch / 200, INT_MAX));
}

int TRecordingCanvas::TextHeight(const QString&)
{
  return qAbs(Font.Height);
}

void TRecordingCanvas::DoTextOut(int x, int y, const QString& text)
{
  Calls << QStringLiteral("TEXT %1,%2 %3 font=%4 bk=%5")
               .arg(x)
               .arg(y)
               .arg(text, fontText(Font), Transparent ? QStringLiteral("-") : hexColor(Brush.Color));
}

void TRecordingCanvas::DoLine(const QPoint& from, const QPoint& to)
{
  Calls << QStringLiteral("LINE %1,%2 %3,%4 %5").arg(from.x()).arg(from.y()).arg(to.x()).arg(to.y()).arg(penText(Pen));
}

void TRecordingCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
  Calls << QStringLiteral("RECT %1,%2 %3,%4 %5 %6").arg(x1).arg(y1).arg(x2).arg(y2).arg(penText(Pen), brushText(Brush));
}

void TRecordingCanvas::FillRect(const QRect& r)
{
  Calls << QStringLiteral("FILL %1,%2 %3,%4 %5")
               .arg(r.left())
               .arg(r.top())
               .arg(r.right() + 1)
               .arg(r.bottom() + 1)
               .arg(brushText(Brush));
}

void TRecordingCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
  Calls << QStringLiteral("ELLIPSE %1,%2 %3,%4 %5 %6")
               .arg(x1)
               .arg(y1)
               .arg(x2)
               .arg(y2)
               .arg(penText(Pen), brushText(Brush));
}

void TRecordingCanvas::RoundRect(int x1, int y1, int x2, int y2, int w, int h)
{
  Calls << QStringLiteral("RRECT %1,%2 %3,%4 %5,%6 %7 %8")
               .arg(x1)
               .arg(y1)
               .arg(x2)
               .arg(y2)
               .arg(w)
               .arg(h)
               .arg(penText(Pen), brushText(Brush));
}

void TRecordingCanvas::StretchDraw(const QRect& r, const QImage& image)
{
  Calls << QStringLiteral("IMAGE %1,%2 %3,%4 %5x%6%7")
               .arg(r.left())
               .arg(r.top())
               .arg(r.right() + 1)
               .arg(r.bottom() + 1)
               .arg(image.width())
               .arg(image.height())
               .arg(AndMode ? QStringLiteral(" and") : QString());
}
