// The text and shape records the interpreter draws.
#include <algorithm>
#include <climits>
#include <cmath>

#include <QImage>

#include "platform/Format.h"
#include "print/Print360Engine.h"
#include "print/Print360Form.h"
#include "print/Print360Func.h"
#include "print/Print360ImageOut.h"
#include "print/Print360Page.h"
#include "print/Print360Record.h"
#include "print/PrintCanvas.h"

// --- font decoders ----------------------------------------------------------

TP360FontStyle FontStyleOfName(const QString& option)
{
  TP360FontStyle s;
  QString letters = option;
  if (letters.contains(u'C')) {
    s.Condensed = true;
    letters.remove(u'C');
  }
  static const struct {
    const char* letters;
    bool b, i, u, s;
  } styles[] = {{"BIU", true, true, true, false}, {"BIS", true, true, false, true}, {"BI", true, true, false, false},
                {"IU", false, true, true, false}, {"IS", false, true, false, true}, {"BU", true, false, true, false},
                {"BS", true, false, false, true}, {"B", true, false, false, false}, {"I", false, true, false, false},
                {"U", false, false, true, false}, {"S", false, false, false, true}, {"DU", false, false, true, false}};
  for (const auto& st : styles)
    if (letters == QLatin1String(st.letters)) {
      s.Bold = st.b;
      s.Italic = st.i;
      s.Underline = st.u;
      s.StrikeOut = st.s;
      break;
    }
  return s;
}

QString ResolveFontName(const QString& fontName)
{
  if (fontName.isEmpty())
    return QStringLiteral("ＭＳ 明朝");
  if (fontName == QLatin1String("OCR-B")) {
    if (AllFonts.contains(QStringLiteral("OCR-B")))
      return QStringLiteral("OCR-B");
    if (AllFonts.contains(QStringLiteral("OCRB")))
      return QStringLiteral("OCRB");
    return QStringLiteral("ＭＳ ゴシック");
  }
  return fontName;
}

int CharsetOfFont(const QString& fontName)
{
  if (SjisFonts.contains(fontName))
    return 128;
  if (SymbolFonts.contains(fontName))
    return 2;
  if (EastEuropeFonts.contains(fontName))
    return 238;
  if (OemFonts.contains(fontName))
    return 255;
  return 0;
}

int P360MulDiv(int a, int b, int c)
{
  if (c == 0)
    return -1;
  const qint64 p = qint64(a) * b;
  const qint64 q = (2 * (p < 0 ? -p : p) + (c < 0 ? -c : c)) / (2 * qint64(c < 0 ? -c : c));
  const qint64 r = ((p < 0) != (c < 0)) ? -q : q;
  return int(std::clamp<qint64>(r, -INT_MAX, INT_MAX));
}

int FontHeightOf(int size, int dpi)
{
  if (VRatio == 1000 || VRatio == 0)
    return -P360MulDiv(size, dpi, 72);
  const double scaled = std::nearbyint(double(size) * dpi * VRatio * 0.001) / 72;
  return -int(std::trunc(std::clamp(scaled, -double(INT_MAX), double(INT_MAX))));
}

// --- text records -----------------------------------------------------------

namespace {

struct TTextRecord {
  int X = 0;
  int Y = 0;
  QString Text;
  QString FontName;
  int FontSize = 10;
  QString FontOption;
  TColor Color = 0;
  TColor Back = 1;
  int Align = 0;
  int W = 0;
  int CharPos = 0;
  int Vs = 0;  // vertical shift of a multi-line field value (device units)
};

int toInt(const QString& field, int def = 0)
{
  int v = 0;
  return TryStrToInt(field, v) ? v : def;
}

void drawText(TP360Page& page, const TTextRecord& r)
{
  TPrintCanvas& c = page.Canvas;
  const TP360FontStyle style = FontStyleOfName(r.FontOption);
  c.Font.Bold = style.Bold;
  c.Font.Italic = style.Italic;
  c.Font.Underline = style.Underline;
  c.Font.StrikeOut = style.StrikeOut;
  c.Font.Name = ResolveFontName(r.FontName);
  if (r.FontSize > 0)
    c.Font.Height = FontHeightOf(r.FontSize, page.Dpi);
  c.Font.Color = r.Color;
  const int cOff = r.CharPos == 1 ? P360Round(std::abs(c.Font.Height) * 0.5 - 0.55) : 0;
  if (r.Back < 16) {
    c.Transparent = true;
  } else {
    c.Brush.Color = r.Back;
    c.Brush.Style = bsSolid;
    c.Transparent = false;
  }
  c.Font.Charset = CharsetOfFont(r.FontName);

  qint64 yDev = page.DevY(r.Y);
  const qint64 x0 = page.ScaleX(page.DevX(r.X));
  qint64 xDev = x0;
  if (r.Align == 1)
    xDev = x0 - P360Round(c.TextWidth(r.Text) / 2.0);
  else if (r.Align == 2)
    xDev = x0 - c.TextWidth(r.Text);
  else if (r.CharPos == 1 && !r.Text.isEmpty())
    xDev = x0 - P360Round(c.TextWidth(r.Text.left(1)) * 0.5);

  if (!r.Text.isEmpty()) {
    const int x = P360Clamp(page.ScaleX(page.OffX + qint64(page.PageOffsetX)) + xDev);
    const qint64 top = page.OffY + yDev + page.PageOffsetY;
    if (r.FontOption == QLatin1String("DU")) {
      const int n = fnMojiHaba(r.Text);
      if (n > 0 && n < 127)
        c.TextOut(x, page.ScaleY(top + P360Round(page.YR * 4)), fnSpaceMoji(n));
    }
    if (!style.Condensed && r.Text.contains(u'\t')) {
      const qint64 shift = r.Vs < 0 ? -qint64(r.Vs) : 0;
      const qint64 h = c.TextHeight(r.Text);
      const QStringList lines = r.Text.split(u'\t');
      for (qsizetype k = 0; k < lines.size(); ++k)
        if (!lines[k].isEmpty() || k == lines.size() - 1)
          c.TextOut(x, page.ScaleY(top - shift + k * h - cOff), lines[k]);
    } else {
      int px = x;
      int py = page.ScaleY(top - cOff);
      if (r.X == 0)
        px = c.PenPos.x();
      if (r.Y == 0)
        py = c.PenPos.y();
      c.TextOut(px, py, r.Text);
    }
  }
  c.Font.Bold = c.Font.Italic = c.Font.Underline = c.Font.StrikeOut = false;
  c.Font.Color = clBlack;
  c.Transparent = false;
}

void drawTextRecord(TP360Page& page, const QString& line)
{
  TTextRecord r;
  r.X = toInt(NextField(line));
  r.Y = toInt(NextField(line));
  r.Text = NextField(line);
  r.FontName = NextField(line);
  r.FontSize = toInt(NextField(line), 10);
  r.FontOption = NextField(line).toUpper();
  r.Color = ColorOfName(NextField(line), page.Kind);
  r.Back = BackColorOfName(NextField(line));
  r.Align = AlignOfName(NextField(line));
  r.W = toInt(NextField(line));
  r.CharPos = toInt(NextField(line));
  drawText(page, r);
}

void drawFieldRecord(TP360Page& page, const QString& line)
{
  const QString name = NextField(line);
  TTextRecord r;
  r.Text = NextField(line);
  const int size = toInt(NextField(line));
  const QString option = NextField(line);
  const int shift = toInt(NextField(line));
  TFieldPage* fields = FormFieldPage(page.FormPage);
  if (!fields)
    return;
  const int index = FindField(page.FormPage, name);
  TDataField& f = (*fields)[index];
  r.X = f.X;
  r.Y = f.Y;
  r.FontName = f.FontName;
  r.FontSize = size != 0 ? size : f.FontSize;
  r.FontOption = option.isEmpty() ? f.FontStyle : option.toUpper();
  r.Color = f.Color;
  r.Back = f.BrushColor;
  r.Align = f.iAlign;
  r.W = f.X2;
  r.CharPos = f.Center;
  r.Vs = page.DevY(shift);
  if (index == 0 || f.Name.isEmpty() || (f.Lines == 1 && f.Cnt > 0))
    r.Text.clear();
  const TDataField& pitch = (*fields)[0];
  if (index != 0 && pitch.X2 > 0) {
    const qint64 y = qint64(r.Y) + qint64(f.Cnt) * pitch.X2;
    r.Y = int(qMin<qint64>(y, page.Hlim));
    ++f.Cnt;
  }
  drawText(page, r);
}

// --- shapes -----------------------------------------------------------------

void setPen(TP360Page& page, int width, int style, TColor color)
{
  page.Canvas.Pen.Width = width;
  page.Canvas.Pen.Style = style;
  page.Canvas.Pen.Color = color;
}

QRect placedRect(const TP360Page& page, int x1, int y1, int x2, int y2)
{
  return QRect(
      QPoint(page.PlaceX(page.DevX(x1)), page.PlaceY(page.DevY(y1))),
      QPoint(P360Clamp(qint64(page.PlaceX(page.DevX(x2))) - 1), P360Clamp(qint64(page.PlaceY(page.DevY(y2))) - 1)));
}

void drawFRect(TP360Page& page, const QString& line, bool firstPass)
{
  const int x1 = toInt(NextField(line));
  const int y1 = toInt(NextField(line));
  const int x2 = toInt(NextField(line));
  const int y2 = toInt(NextField(line));
  const TColor color = ColorOfName(NextField(line), page.Kind);
  const int mode = toInt(NextField(line));
  TPrintCanvas& c = page.Canvas;
  c.Brush.Color = color;
  c.Brush.Style = bsSolid;
  c.Transparent = false;
  if ((mode == 1 && firstPass) || (mode == 0 && !firstPass)) {
    c.FillRect(placedRect(page, x1, y1, x2, y2));
  } else if (mode == 2 && !firstPass) {
    const QRect r = placedRect(page, x1, y1, x2, y2);
    QImage tint(1, 1, QImage::Format_RGB32);
    tint.fill(toQColor(ColorToRGB(color)));
    c.AndMode = true;
    c.StretchDraw(r, tint);
    c.AndMode = false;
  }
}

}  // namespace

void DrawBackgroundFill(TP360Page& page, const QString& line)
{
  FirstField(line);
  drawFRect(page, line, true);
}

void DrawPageRecord(TP360Page& page, const QString& kind, const QString& line)
{
  TPrintCanvas& c = page.Canvas;
  if (kind == QLatin1String("TEXT") || kind == QLatin1String("NTEXT")) {
    drawTextRecord(page, line);
  } else if (kind == QLatin1String("@")) {
    drawFieldRecord(page, line);
  } else if (kind == QLatin1String("FRECT")) {
    drawFRect(page, line, false);
  } else if (kind == QLatin1String("LINE") || kind == QLatin1String("ELINE")) {
    const int x1 = toInt(NextField(line));
    const int y1 = toInt(NextField(line));
    const int x2 = toInt(NextField(line));
    const int y2 = toInt(NextField(line));
    const int width = toInt(NextField(line), 1);
    const int style = toInt(NextField(line));
    const TColor color = ColorOfName(NextField(line), page.Kind);
    setPen(page, kind == QLatin1String("ELINE") ? page.DevX(width * 0.1) : page.DevX(width), style, color);
    c.Transparent = true;
    c.MoveTo(page.PlaceX(page.DevX(x1)), page.PlaceY(page.DevY(y1)));
    c.LineTo(page.PlaceX(page.DevX(x2)), page.PlaceY(page.DevY(y2)));
  } else if (kind == QLatin1String("BOX") || kind == QLatin1String("CIRCLE")) {
    const int x1 = toInt(NextField(line));
    const int y1 = toInt(NextField(line));
    const int x2 = toInt(NextField(line));
    const int y2 = toInt(NextField(line));
    const int width = toInt(NextField(line), kind == QLatin1String("BOX") ? 1 : 0);
    const int style = toInt(NextField(line));
    const TColor color = ColorOfName(NextField(line), page.Kind);
    const QString brush = NextField(line);
    const int brushStyle = toInt(NextField(line));
    setPen(page, page.DevX(width), style, color);
    c.Brush.Color = ColorOfName(brush, kind == QLatin1String("BOX") ? page.Kind : QString());
    c.Brush.Style = brushStyle;
    c.Transparent = false;
    const QRect r = placedRect(page, x1, y1, x2, y2);
    if (kind == QLatin1String("BOX"))
      c.Rectangle(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
    else
      c.Ellipse(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
  } else if (kind == QLatin1String("BP")) {
    page.OffX = page.DevX(toInt(NextField(line)));
    page.OffY = page.DevY(toInt(NextField(line)));
    const int width = toInt(NextField(line));
    const int style = toInt(NextField(line));
    setPen(page, page.DevX(width), style, ColorOfName(NextField(line), page.Kind));
    c.MoveTo(page.PlaceX(0), page.PlaceY(0));
  } else if (kind == QLatin1String("LINEB")) {
    const int x = toInt(NextField(line));
    const int y = toInt(NextField(line));
    c.LineTo(page.PlaceX(page.DevX(x)), page.PlaceY(page.DevY(y)));
  }
  // The other text, shape and picture kinds (UTEXT, VTEXT, MEMO, MARUMOJI,
  // MARUMOJI2, SLINE, RRECT, IMAGE, CHART) are not drawn yet.
}
