// The text and shape records the interpreter draws.
#include <algorithm>
#include <climits>
#include <cmath>

#include <QFileInfo>
#include <QFontMetrics>
#include <QImage>
#include <QImageReader>
#include <QPrinter>
#include <QRegularExpression>

#include "platform/Format.h"
#include "print/Print360Engine.h"
#include "print/Print360Form.h"
#include "print/Print360Func.h"
#include "print/Print360ImageOut.h"
#include "print/Print360Page.h"
#include "print/Print360Record.h"
#include "print/Print360Vdb.h"
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

// The left X (0.1 mm) at which a text starts so that it is aligned at x,
// measured on the printer now selected.
int TextPosition(int x, const QString& align, const QString& fontOption, int fontSize, const QString& fontName,
                 const QString& text)
{
  QPrinter* printer = VdbPrint ? &VdbPrint->Printer() : nullptr;
  const int p = printer ? printer->logicalDpiX() : 96;
  const TP360FontStyle style = FontStyleOfName(fontOption);
  QFont font(P360FontFamily(ResolveFontName(fontName)));
  font.setPixelSize(std::max(1, P360MulDiv(fontSize, p, 72)));
  font.setBold(style.Bold);
  font.setItalic(style.Italic);
  font.setUnderline(style.Underline);
  font.setStrikeOut(style.StrikeOut);
  font.setFixedPitch(true);
  font.setKerning(false);
  const int w =
      printer ? QFontMetrics(font, printer).horizontalAdvance(text) : QFontMetrics(font).horizontalAdvance(text);
  const double k = p / 254.0;
  qint64 left = P360Round(x * k);
  const int a = AlignOfName(align);
  if (a == 1)
    left -= P360Round(w / 2.0);
  else if (a == 2)
    left -= w;
  return P360Round(left / k);
}

// --- text records -----------------------------------------------------------

namespace {

enum class TTextKind { Text, Spread, Vertical, Field };

struct TTextRecord {
  TTextKind Kind = TTextKind::Text;
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

// One drawn piece of a spaced text: a character, or a surrogate pair.
struct TTextPiece {
  QString Text;
  int Class = 2;  // 1 half-width, 2 full-width, 0 a stray low surrogate
};

QList<TTextPiece> textPieces(const QString& text)
{
  QList<TTextPiece> pieces;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar u = text[i];
    if (u.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      pieces.append({text.mid(i, 2), 2});
      ++i;
    } else if (u.isLowSurrogate()) {
      pieces.append({QString(u), 0});
    } else {
      pieces.append({QString(u), fnMojiHankaku(u)});
    }
  }
  return pieces;
}

// The free width per half-width unit when the text is spread over w (0.1 mm,
// or device units for ws): the last unit's own width is taken off first.
double spreadPitch(TP360Page& page, const QString& text, double w, bool highGivesW)
{
  const int n = fnMojiHaba(text);
  const QChar c = text.back();
  double cw = 0;
  int d = n - 2;
  if (c.isHighSurrogate()) {
    if (!highGivesW)
      return 0;
    cw = page.Canvas.TextWidth(QStringLiteral("Ｗ")) / page.XR;
  } else if (c.isLowSurrogate()) {
    if (highGivesW)
      return 0;
    cw = page.Canvas.TextWidth(QStringLiteral("Ｗ")) / page.XR;
  } else {
    cw = page.Canvas.TextWidth(QString(c)) / page.XR;
    if (fnMojiHankaku(c) == 1)
      d = n - 1;
  }
  // A text of a single character in two units has nothing to spread over.
  return d > 0 ? (w - cw) / d : 0;
}

double firstUnitWidth(TP360Page& page, const QString& text)
{
  return page.Canvas.TextWidth(text.left(1)) / page.XR;
}

// How much a condensed text must be narrowed, in percent, to fit W.
int FitPercent(TP360Page& page, const QString& text, int w)
{
  if (text.size() <= 1)
    return 100;
  const double ws = page.ScaleX(w);
  const double pitch = spreadPitch(page, text, ws, true);
  if (pitch >= firstUnitWidth(page, text))
    return 100;
  const double room = std::abs(ws * page.XR);
  const int cx = page.Canvas.TextWidth(text);
  if (cx > P360Round(room))
    return std::max(1, P360Round(room / cx * 100));
  return 100;
}

void setFontSize(TP360Page& page, int size)
{
  if (size > 0)
    page.Canvas.Font.Height = -P360MulDiv(size, page.Dpi, 72);
}

// The text character by character over W, the font condensed when the
// characters do not fit.
void drawSpacedText(TP360Page& page, TTextRecord& r, int x, qint64 yDev, int cOff)
{
  TPrintCanvas& c = page.Canvas;
  const int savedStretch = c.Font.Stretch;
  double xf = r.X;
  if (r.Align == 1)
    xf -= P360Round(r.W / 2.0);
  else if (r.Align == 2)
    xf -= r.W;
  const QString& t = r.Text;
  double pitch = 0;
  int p = 100;
  if (t.size() > 1) {
    pitch = spreadPitch(page, t, r.W, false);
    if (r.Kind == TTextKind::Field) {
      --r.FontSize;
      setFontSize(page, r.FontSize);
    } else if (pitch < firstUnitWidth(page, t)) {
      p = FitPercent(page, t, r.W);
      c.Font.Stretch = p;
    }
  }
  const qint64 top = page.OffY + yDev + page.PageOffsetY;
  if (pitch == 0) {
    c.TextOut(x, page.ScaleY(top), t);
  } else {
    if (p != 100 && !t.back().isHighSurrogate())
      pitch = spreadPitch(page, t, r.W, false);
    const qint64 left = page.OffX + qint64(page.PageOffsetX);
    for (const TTextPiece& piece : textPieces(t)) {
      c.TextOut(page.ScaleX(P360Round(xf * page.XR) + left), page.ScaleY(top - cOff), piece.Text);
      xf += pitch * piece.Class;
    }
  }
  c.Font.Stretch = savedStretch;
}

// The text spread evenly over W at the pitch of its half-width units.
void drawSpreadText(TP360Page& page, TTextRecord& r, int x, qint64 yDev, int cOff)
{
  TPrintCanvas& c = page.Canvas;
  const QString& t = r.Text;
  double xf = r.X;
  double pitch = 0;
  if (t.toUcs4().size() > 1) {
    const QChar last = t.back();
    const double wc = c.TextWidth(QString(last)) / page.XR;
    const int d = fnMojiHaba(t) - (fnMojiHankaku(last) == 1 ? 1 : 2);
    pitch = d > 0 ? (r.W - wc) / d : 0;
    if (r.Kind == TTextKind::Field && c.TextWidth(textPieces(t).front().Text) / page.XR > pitch) {
      --r.FontSize;
      setFontSize(page, r.FontSize);
    }
  }
  const qint64 top = page.OffY + yDev + page.PageOffsetY;
  if (pitch <= 0) {
    c.TextOut(x, page.ScaleY(top), t);
    return;
  }
  const qint64 left = page.OffX + qint64(page.PageOffsetX);
  for (const TTextPiece& piece : textPieces(t)) {
    if (piece.Class == 0)
      continue;
    c.TextOut(page.ScaleX(P360Round(xf * page.XR) + left), page.ScaleY(top - cOff), piece.Text);
    xf += fnMojiHaba(piece.Text) == 1 ? pitch : 2 * pitch;
  }
}

// Characters stacked downwards over W; the long-vowel mark in the vertical
// form of the font.
void drawVerticalText(TP360Page& page, const TTextRecord& r, int x, qint64 yDev, int cOff)
{
  TPrintCanvas& c = page.Canvas;
  const QString& t = r.Text;
  const qint64 n = t.size();
  const double h1 = c.TextHeight(t.left(1)) / page.YR;
  const int pitch = n > 2 ? P360Round((r.W - h1) / double(n - 1)) : r.W - P360Round(h1);
  if (pitch <= 0) {
    c.TextOut(x, page.ScaleY(page.OffY + yDev + page.PageOffsetY), t);
    return;
  }
  qint64 y = r.Y;
  for (const QChar ch : t) {
    const int py = page.ScaleY(page.OffY + qint64(page.DevY(double(y))) - cOff + page.PageOffsetY);
    if (ch == u'ー') {
      const QString name = c.Font.Name;
      const int height = c.Font.Height;
      c.Font.Name = ResolveFontName(QStringLiteral("@") + r.FontName);
      if (r.FontSize - 1 > 0)
        c.Font.Height = FontHeightOf(r.FontSize - 1, page.Dpi);
      c.TextOut(x, py, QStringLiteral("一"));
      c.Font.Name = name;
      c.Font.Height = height;
    } else {
      c.TextOut(x, py, QString(ch));
    }
    y += pitch;
  }
}

void drawText(TP360Page& page, TTextRecord& r)
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
    const bool spread = r.Kind == TTextKind::Spread || (r.Kind == TTextKind::Field && r.W > 0);
    if (r.Kind == TTextKind::Vertical) {
      drawVerticalText(page, r, x, yDev, cOff);
    } else if (spread && style.Condensed) {
      drawSpacedText(page, r, x, yDev, cOff);
    } else if (spread) {
      drawSpreadText(page, r, x, yDev, cOff);
    } else {
      if (r.FontOption == QLatin1String("DU")) {
        const int n = fnMojiHaba(r.Text);
        if (n > 0 && n < 127)
          c.TextOut(x, page.ScaleY(top + P360Round(page.YR * 4)), fnSpaceMoji(n));
      }
      if (style.Condensed && FitPercent(page, r.Text, r.W) != 100) {
        drawSpacedText(page, r, x, yDev, cOff);
      } else if (!style.Condensed && r.Text.contains(u'\t')) {
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
  }
  c.Font.Bold = c.Font.Italic = c.Font.Underline = c.Font.StrikeOut = false;
  c.Font.Color = clBlack;
  c.Transparent = false;
}

void drawTextRecord(TP360Page& page, const QString& line, TTextKind kind)
{
  TTextRecord r;
  r.Kind = kind;
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
  r.Kind = TTextKind::Field;
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

// Text wrapped inside a box, with a frame unless the pen width is negative.
void drawMemo(TP360Page& page, const QString& line)
{
  TPrintCanvas& c = page.Canvas;
  const int x1 = page.DevX(toInt(NextField(line)));
  const int y1 = page.DevY(toInt(NextField(line)));
  const int x2 = page.DevX(toInt(NextField(line)));
  const int y2 = page.DevY(toInt(NextField(line)));
  const QString text = NextField(line);
  const int penWidth = toInt(NextField(line));
  const QString fontName = ResolveFontName(NextField(line));
  const int fontSize = toInt(NextField(line), 10);
  const TP360FontStyle style = FontStyleOfName(NextField(line).toUpper());
  const TColor color = ColorOfName(NextField(line), page.Kind);
  c.Font.Name = fontName;
  c.Font.Height = -P360MulDiv(fontSize, page.Dpi, 72);
  c.Font.Bold = style.Bold;
  c.Font.Italic = style.Italic;
  c.Font.Underline = style.Underline;
  c.Font.StrikeOut = style.StrikeOut;
  c.Font.Color = color;
  c.Font.Charset = CharsetOfFont(fontName);
  c.Pen.Width = page.DevX(penWidth);
  c.Pen.Style = psSolid;
  c.Pen.Color = color;
  c.Brush.Color = clWhite;
  c.Brush.Style = bsSolid;
  if (penWidth >= 0) {
    c.Transparent = false;
    c.Rectangle(page.PlaceX(qint64(x1) - 5), page.PlaceY(qint64(y1) - 5), page.PlaceX(qint64(x2) + 5),
                page.PlaceY(qint64(y2) + 5));
  }
  c.Transparent = true;
  // Each source line is cut into pieces as wide as the box; a character is
  // never split, and every piece holds at least one.
  const qint64 room = qint64(x2) - x1;
  QStringList rows;
  for (const QString& source : text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")))) {
    if (source.isEmpty()) {
      rows << QString();
      continue;
    }
    const QList<TTextPiece> pieces = textPieces(source);
    QString row;
    for (const TTextPiece& piece : pieces) {
      if (!row.isEmpty() && c.TextWidth(row + piece.Text) > room) {
        rows << row;
        row.clear();
      }
      row += piece.Text;
    }
    rows << row;
  }
  const qint64 h = c.TextHeight(text);
  for (qsizetype j = 0; j < rows.size(); ++j) {
    const qint64 y = y1 + j * h;
    if (y >= qint64(y2) - h)
      break;
    c.TextOut(page.PlaceX(x1), page.PlaceY(y), rows[j]);
  }
  c.Font.Bold = c.Font.Italic = c.Font.Underline = c.Font.StrikeOut = false;
  c.Font.Color = clBlack;
  c.Transparent = false;
}

// Text in a circle: "MARUMOJI" centred on the point, "MARUMOJI2" with the
// point at the text's top left.
void drawCircledText(TP360Page& page, const QString& line, bool topLeft)
{
  TPrintCanvas& c = page.Canvas;
  const int X = toInt(NextField(line));
  const int y = page.DevY(toInt(NextField(line)));
  const int r = P360Round(toInt(NextField(line)) * 0.5 * page.YR);
  const QString text = NextField(line);
  const QString fontName = NextField(line);
  const int fontSize = toInt(NextField(line), 10);
  const QString option = NextField(line).toUpper();
  const TColor color = ColorOfName(NextField(line), page.Kind);
  const TP360FontStyle style = FontStyleOfName(option);
  c.Font.Bold = style.Bold;
  c.Font.Italic = style.Italic;
  c.Font.Underline = style.Underline;
  c.Font.StrikeOut = style.StrikeOut;
  c.Font.Name = ResolveFontName(fontName);
  c.Font.Height = -P360MulDiv(fontSize, page.Dpi, 72);
  c.Font.Color = color;
  c.Font.Charset = CharsetOfFont(c.Font.Name);
  c.Pen.Width = option == QLatin1String("B") ? page.DevX(2) : page.DevX(1);
  c.Pen.Style = psSolid;
  c.Pen.Color = color;
  c.Brush.Style = bsClear;
  c.Transparent = true;
  if (!text.isEmpty()) {
    const int fh = std::abs(c.Font.Height);
    if (!topLeft) {
      const qint64 cx = page.DevX(X);
      c.TextOut(page.PlaceX(cx - P360Round(c.TextWidth(text) / 2.0)), page.PlaceY(y - P360Round(fh * 0.5)), text);
      c.Ellipse(page.PlaceX(cx - r), page.PlaceY(qint64(y) - r), page.PlaceX(cx + r), page.PlaceY(qint64(y) + r));
    } else {
      const qint64 x = X != 0 ? qint64(page.DevX(X)) : qint64(c.PenPos.x()) - page.PlaceX(0);
      const qint64 q = P360Round(fh * 0.05);
      c.TextOut(page.PlaceX(x), page.PlaceY(y), text);
      c.Ellipse(page.PlaceX(x - q), page.PlaceY(y - q), page.PlaceX(x + 2 * qint64(r) - q),
                page.PlaceY(qint64(y) + 2 * qint64(r) - q));
    }
  }
  c.Font.Bold = c.Font.Italic = c.Font.Underline = c.Font.StrikeOut = false;
  c.Font.Color = clBlack;
  c.Transparent = false;
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

// The separator lines of an amount column: n vertical lines left of x, one
// width of "000" apart.
void drawSeparatorLines(TP360Page& page, const QString& line)
{
  TPrintCanvas& c = page.Canvas;
  const qint64 x = page.DevX(toInt(NextField(line)));
  const int y1 = page.DevY(toInt(NextField(line)));
  const int y2 = page.DevY(toInt(NextField(line)));
  // More lines than an amount has digit groups are never meant; a huge count
  // would only keep the page from finishing.
  const int n = std::clamp(toInt(NextField(line)), 0, SeparatorLineLimit);
  const int width = toInt(NextField(line));
  const int style = toInt(NextField(line));
  const TColor color = ColorOfName(NextField(line), page.Kind);
  const QString fontName = ResolveFontName(NextField(line));
  const int fontSize = toInt(NextField(line), 10);
  setPen(page, page.DevX(width), style, color);
  c.Font.Name = fontName;
  c.Font.Bold = c.Font.Italic = c.Font.Underline = c.Font.StrikeOut = false;
  c.Font.Height = -P360MulDiv(fontSize, page.Dpi, 72);
  c.Font.Color = clBlack;
  c.Font.Charset = CharsetOfFont(fontName);
  const qint64 g = c.TextWidth(QStringLiteral("000"));
  for (int i = 1; i <= n; ++i) {
    c.Transparent = false;
    const int lx = page.PlaceX(x - (g * i + 1));
    c.MoveTo(lx, page.PlaceY(y1));
    c.LineTo(lx, page.PlaceY(y2));
  }
}

void drawRoundRect(TP360Page& page, const QString& line)
{
  TPrintCanvas& c = page.Canvas;
  const int x1 = toInt(NextField(line));
  const int y1 = toInt(NextField(line));
  const int x2 = toInt(NextField(line));
  const int y2 = toInt(NextField(line));
  const int x3 = toInt(NextField(line));
  const int y3 = toInt(NextField(line));
  const int width = toInt(NextField(line));
  const int style = toInt(NextField(line));
  const TColor color = ColorOfName(NextField(line), page.Kind);
  const QString brush = NextField(line);
  const int brushStyle = toInt(NextField(line));
  setPen(page, page.DevX(width), style, color);
  c.Brush.Color = ColorOfName(brush, QString());
  c.Brush.Style = brushStyle;
  c.Transparent = false;
  c.RoundRect(page.PlaceX(page.DevX(x1)), page.PlaceY(page.DevY(y1)), page.PlaceX(page.DevX(x2)),
              page.PlaceY(page.DevY(y2)), page.ScaleX(qint64(page.DevX(x3)) + 1),
              page.ScaleY(qint64(page.DevY(y3)) + 1));
}

// A picture file stretched into the rectangle. The picture is decoded no
// larger than the rectangle it fills (and never larger than the page), so a
// huge file cannot exhaust memory.
void drawPicture(TP360Page& page, const QString& line)
{
  TPrintCanvas& c = page.Canvas;
  const int x1 = toInt(NextField(line));
  const int y1 = toInt(NextField(line));
  const int x2 = toInt(NextField(line));
  const int y2 = toInt(NextField(line));
  const QString name = NextField(line);
  const int copyMode = toInt(NextField(line));
  if (name.isEmpty() || !QFileInfo(name).isFile())
    return;
  const QString ext = QFileInfo(name).suffix().toUpper();
  if (ext == QLatin1String("WMF") || ext == QLatin1String("EMF")) {
    WriteErrorLog(name + QStringLiteral(" : metafile pictures are not shown"));
    return;
  }
  if (ext != QLatin1String("BMP") && ext != QLatin1String("JPG"))
    return;
  const QRect r = placedRect(page, x1, y1, x2, y2).normalized();
  if (r.width() <= 0 || r.height() <= 0)
    return;
  QImageReader reader(name, ext == QLatin1String("BMP") ? "bmp" : "jpeg");
  QSize size = reader.size();
  if (!size.isValid()) {
    WriteErrorLog(QStringLiteral("%1:%2").arg(name, reader.errorString()));
    return;
  }
  // The device size of the rectangle at the canvas's zoom, within a page.
  const int zoom = std::max(1, page.Zoom);
  const QSize room(int(std::min<qint64>(qint64(r.width()) * zoom / 10 + 1, PictureSideLimit)),
                   int(std::min<qint64>(qint64(r.height()) * zoom / 10 + 1, PictureSideLimit)));
  if (size.width() > room.width() || size.height() > room.height())
    reader.setScaledSize(size.scaled(room, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
  reader.setQuality(c.IsPrinter() ? 100 : 0);
  const QImage image = reader.read();
  if (image.isNull()) {
    WriteErrorLog(QStringLiteral("%1:%2").arg(name, reader.errorString()));
    return;
  }
  c.AndMode = copyMode != 0;
  c.StretchDraw(r, image);
  c.AndMode = false;
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
    drawTextRecord(page, line, TTextKind::Text);
  } else if (kind == QLatin1String("UTEXT")) {
    drawTextRecord(page, line, TTextKind::Spread);
  } else if (kind == QLatin1String("VTEXT")) {
    drawTextRecord(page, line, TTextKind::Vertical);
  } else if (kind == QLatin1String("MEMO")) {
    drawMemo(page, line);
  } else if (kind == QLatin1String("MARUMOJI") || kind == QLatin1String("MARUMOJI2")) {
    drawCircledText(page, line, kind == QLatin1String("MARUMOJI2"));
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
  } else if (kind == QLatin1String("SLINE")) {
    drawSeparatorLines(page, line);
  } else if (kind == QLatin1String("RRECT")) {
    drawRoundRect(page, line);
  } else if (kind == QLatin1String("IMAGE")) {
    drawPicture(page, line);
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
  // "CHART" draws nothing: no chart is ever registered with the engine.
}
