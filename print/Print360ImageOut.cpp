#include "print/Print360ImageOut.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <exception>
#include <limits>

#include <QFileInfo>
#include <QPageLayout>
#include <QPrinter>

#include "platform/AppError.h"
#include "platform/Exceptions.h"
#include "platform/Format.h"
#include "print/Print360Engine.h"
#include "print/Print360Form.h"
#include "print/Print360Page.h"
#include "print/Print360Record.h"
#include "print/Print360Vdb.h"
#include "print/PrintCanvas.h"

static bool ImageOutAt(const QString& kind, TPrintTextFile& f, TPrintCanvas& canvas, int dpi, double xr, double yr,
                       int zoom, bool evenPage, int formPage, int offX, int offY, int depth);

namespace {

qsizetype FieldCursor = 0;

// Records longer than this are not drawn (a print data record is a few
// hundred characters at most).
constexpr qsizetype MaxRecordLength = 32768;

QString readField(const QString& line, QChar delimiter)
{
  if (FieldCursor >= line.size())
    return QString();
  const qsizetype end = line.indexOf(delimiter, FieldCursor);
  QString field;
  if (end < 0) {
    field = line.mid(FieldCursor);
    FieldCursor = line.size();
  } else {
    field = line.mid(FieldCursor, end - FieldCursor);
    FieldCursor = end + 1;
  }
  return field;
}

}  // namespace

QString FirstField(const QString& line, QChar delimiter)
{
  FieldCursor = 0;
  return readField(line, delimiter).toUpper();
}

QString NextField(const QString& line, QChar delimiter)
{
  return readField(line, delimiter);
}

int NextInt(const QString& line, int def)
{
  int v = 0;
  return TryStrToInt(NextField(line), v) ? v : def;
}

int P360Clamp(qint64 v)
{
  return int(std::clamp<qint64>(v, INT_MIN, INT_MAX));
}

int P360Round(double v)
{
  if (std::isnan(v))
    return 0;
  constexpr double lo = std::numeric_limits<int>::min();
  constexpr double hi = std::numeric_limits<int>::max();
  if (v <= lo)
    return std::numeric_limits<int>::min();
  if (v >= hi)
    return std::numeric_limits<int>::max();
  return int(std::nearbyint(v));
}

// --- colours ----------------------------------------------------------------

namespace {

struct TNamedColor {
  const char16_t* name;
  TColor color;
};

// The colour words, in the order ColorOfNumber numbers them.
const TNamedColor ColorWords[] = {
    {u"黒", 0x000000},   {u"栗", 0x000080}, {u"緑", 0x008000},     {u"黄緑", 0x008080},
    {u"濃紺", 0x800000}, {u"紫", 0x800080}, {u"暗青緑", 0x808000}, {u"灰", 0x808080},
    {u"銀", 0xC0C0C0},   {u"赤", 0x0000FF}, {u"濃緑", 0x00FF00},   {u"青", 0xFF0000},
    {u"赤紫", 0xFF00FF}, {u"空", 0xFFFF00}, {u"白", 0xFFFFFF},     {u"黄", 0x00FFFF},
};

}  // namespace

TColor ColorOfNumber(int n)
{
  if (n >= 0 && n <= 15)
    return ColorWords[n].color;
  if (n >= 16 && n <= 35)
    return TColor(0xFF000000u + quint32(n - 15));
  switch (n) {
    case 40:
      return P360Def.NETCOLOR1;
    case 41:
      return P360Def.NETCOLOR2;
    case 42:
      return P360Def.UserColor1;
    case 43:
      return P360Def.UserColor2;
    default:
      return n;
  }
}

TColor ToGrayScale(TColor c)
{
  if (!P360Def.GrayScale || c == clBlack || c == clWhite)
    return c;
  const TColor rgb = ColorToRGB(c);
  const int g = P360Round(0.299 * GetRValue(rgb) + 0.587 * GetGValue(rgb) + 0.114 * GetBValue(rgb));
  return RGBColor(g, g, g);
}

TColor ColorOfName(const QString& field, const QString& kind)
{
  if ((kind == QLatin1String("FOM") || kind == QLatin1String("SUBFORM")) && !P360Def.FORMPRINT)
    return field == QStringLiteral("白") ? clWhite : TColor(0xE6E6E6);
  TColor c = 0;
  bool found = false;
  for (const TNamedColor& w : ColorWords)
    if (field == QStringView(w.name)) {
      c = w.color;
      found = true;
      break;
    }
  if (!found) {
    if (field == QStringLiteral("薄網掛")) {
      c = P360Def.NETCOLOR1;
      found = true;
    } else if (field == QStringLiteral("濃網掛")) {
      c = P360Def.NETCOLOR2;
      found = true;
    }
  }
  if (!found) {
    const struct {
      const char* name;
      TColor value;
    } words[] = {{"UCOLOR1", P360Def.UserColor1},  {"UCOLOR2", P360Def.UserColor2},  {"OCRGREEN", P360Def.OcrGreen},
                 {"OCRBLUE", P360Def.OcrBlue},     {"OCRBROWN", P360Def.OcrBrown},   {"OCRPINK", P360Def.OcrPink},
                 {"OCRORANGE", P360Def.OcrOrange}, {"OCRVIOLET", P360Def.OcrViolet}, {"OCRPURPLE", P360Def.OcrPurple}};
    for (const auto& w : words)
      if (field.compare(QLatin1String(w.name), Qt::CaseInsensitive) == 0) {
        c = w.value;
        found = true;
        break;
      }
  }
  if (!found) {
    int n = 0;
    c = ColorOfNumber(TryStrToInt(field, n) ? n : 0);
  }
  return ToGrayScale(c);
}

TColor BackColorOfName(const QString& field)
{
  if (field == QLatin1String("1") || field == QLatin1String("OFF"))
    return 1;
  if (field == QLatin1String("ON"))
    return clWhite;
  return ColorOfName(field, QString());
}

int AlignOfName(const QString& field)
{
  if (field == QLatin1String("CENTER") || field == QLatin1String("1"))
    return 1;
  if (field == QLatin1String("RIGHT") || field == QLatin1String("2") || field == QLatin1String("BOTTOM"))
    return 2;
  return 0;
}

// --- paper ------------------------------------------------------------------

void GetPaperSizeMM(int paper, int& width, int& height)
{
  static const struct {
    int paper, width, height;
  } sizes[] = {{8, 297, 420},  {9, 210, 297},  {11, 148, 210}, {12, 250, 354}, {13, 182, 257}, {16, 254, 356},
               {17, 280, 432}, {44, 229, 280}, {45, 254, 280}, {46, 381, 280}, {90, 305, 280}};
  for (const auto& s : sizes)
    if (s.paper == paper) {
      width = s.width;
      height = s.height;
      return;
    }
  PaperState = 2;
  QRectF area(0, 0, 200, 287);
  if (VdbPrint && !VdbPrint->DefPrintErr())
    area = VdbPrint->Printer().pageLayout().paintRect(QPageLayout::Millimeter);
  width = P360Round(area.width());
  height = P360Round(area.height()) + 20;
}

namespace {

int printerPaper()
{
  return VdbPrint ? VdbPrint->PaperSize() : 9;
}

}  // namespace

void SetPaperRatios()
{
  const int a = P360Def.PaperSize;
  const int p = printerPaper();
  if (p == a) {
    VRatio = P360Def.V_RATIO;
    HRatio = P360Def.H_RATIO;
    return;
  }
  static const struct {
    int from, to, v, h;
  } ratios[] = {{8, 9, 707, 707},  {8, 12, 843, 842},   {9, 11, 707, 705},   {9, 13, 865, 867},  {12, 13, 726, 728},
                {12, 9, 839, 840}, {13, 9, 1156, 1154}, {9, 12, 1192, 1190}, {9, 8, 1414, 1414}, {12, 8, 1186, 1188}};
  for (const auto& r : ratios)
    if (r.from == a && r.to == p) {
      VRatio = r.v;
      HRatio = r.h;
      return;
    }
  // Another pair of papers: drawn unscaled, never with the ratios of an
  // earlier choice.
  VRatio = 0;
  HRatio = 0;
}

// --- page numbers -----------------------------------------------------------

QString P360FormatPageNumber(const QString& format, const QList<int>& numbers)
{
  QString out;
  qsizetype next = 0;
  for (qsizetype i = 0; i < format.size(); ++i) {
    const QChar c = format.at(i);
    if (c != u'%') {
      out += c;
      continue;
    }
    if (++i >= format.size())
      throw EConvertError(QStringLiteral("Format \"%1\" is invalid").arg(format));
    if (format.at(i) == u'%') {
      out += u'%';
      continue;
    }
    bool left = false;
    QChar pad = u' ';
    if (format.at(i) == u'-') {
      left = true;
      ++i;
    }
    if (i < format.size() && format.at(i) == u'0') {
      pad = u'0';
      ++i;
    }
    int width = 0;
    while (i < format.size() && format.at(i).isDigit() && width < 100)
      width = width * 10 + format.at(i++).digitValue();
    if (i >= format.size() || format.at(i).toLower() != u'd' || next >= numbers.size())
      throw EConvertError(QStringLiteral("Format \"%1\" is invalid or does not match the page numbers").arg(format));
    const QString digits = QString::number(numbers.at(next++));
    if (digits.size() >= width)
      out += digits;
    else if (left)
      out += digits + QString(width - digits.size(), u' ');
    else if (pad == u'0' && digits.startsWith(u'-'))
      out += u'-' + QString(width - digits.size(), u'0') + digits.mid(1);
    else
      out += QString(width - digits.size(), pad) + digits;
  }
  return out;
}

// --- the page ---------------------------------------------------------------

int TP360Page::ScaleX(qint64 v) const
{
  if (!Scaled || HRatio == 0)
    return P360Clamp(v);
  return P360Round(double(v) * HRatio * 0.001);
}

int TP360Page::ScaleY(qint64 v) const
{
  if (!Scaled || VRatio == 0)
    return P360Clamp(v);
  return P360Round(double(v) * VRatio * 0.001);
}

void TP360Page::ComputeOffsets()
{
  const int e = EvenPage ? EvenPageShift : 0;
  const bool form = Kind == QLatin1String("FOM");
  qint64 x0 = qint64(CurLeftMargin) + e;
  qint64 y0 = CurTopMargin;
  if (Canvas.IsPrinter()) {
    x0 += P360Def.LHOSEI;
    y0 += P360Def.THOSEI;
  }
  if (form) {
    x0 += P360Def.FORM_LHOSEI;
    y0 += P360Def.FORM_THOSEI;
  }
  PageOffsetX = DevX(double(x0));
  PageOffsetY = DevY(double(y0));
}

namespace {

// The form files being drawn, outermost first, to find a form that includes
// itself.
QStringList IncludeStack;

QString canonical(const QString& fileName)
{
  const QString c = QFileInfo(fileName).canonicalFilePath();
  return c.isEmpty() ? QFileInfo(fileName).absoluteFilePath() : c;
}

// Margins as the page began, put back however the page ends.
struct TMarginGuard {
  int Left = CurLeftMargin;
  int Top = CurTopMargin;
  ~TMarginGuard()
  {
    CurLeftMargin = Left;
    CurTopMargin = Top;
  }
};

void addPageNumber(QStringList& list)
{
  const TPAGEBANGO& pb = P360Def.PageBango;
  try {
    if (CurPageNo < 1 || CurPageNo > PageNumberList.size())
      return;
    int number = 0;
    if (!TryStrToInt(PageNumberList.at(CurPageNo - 1), number) || number == 0) {
      list << QStringLiteral("*");
      return;
    }
    const QList<int> args = pb.ParamCount == 1 ? QList<int>{number} : QList<int>{number, NumberedPages};
    QString text = P360FormatPageNumber(pb.Format, args);
    text.replace(u';', u':');
    list << QStringLiteral("TEXT;%1;%2;%3;%4;%5;%6;%7;%8;%9;0;0;*AUTO*")
                .arg(pb.Left)
                .arg(pb.Top)
                .arg(text, pb.FontName)
                .arg(pb.FontSize)
                .arg(QString(), QStringLiteral("黒"), QStringLiteral("OFF"))
                .arg(pb.Alignment);
  } catch (const EConvertError&) {
    // A format that does not fit the numbers draws no number.
  }
}

void includeForm(TP360Page& page, const QString& line)
{
  const QString file = NextField(line);
  const QString flag = NextField(line);
  const int x = NextInt(line);
  const int y = NextInt(line);
  if (page.Canvas.IsPrinter() && !P360Def.FORMPRINT)
    return;
  const int ox = page.DevX(x);
  const int oy = page.DevY(y);
  if (file.isEmpty() || !QFileInfo(file).isFile())
    return;
  const QString path = canonical(file);
  if (IncludeStack.contains(path))
    throw EAppError(QStringLiteral("The form \"%1\" includes itself.").arg(file));
  if (page.Depth + 1 > SubFormDepthLimit)
    throw EAppError(
        QStringLiteral("The form \"%1\" is nested more than %2 forms deep.").arg(file).arg(SubFormDepthLimit));
  if (flag.toUpper() == QLatin1String("TRUE"))
    HensuuYomikomi(file, x, y);
  TPrintTextFile sub;
  if (!OpenPrintTextFile(sub, file))
    return;
  sub.Reset();
  IncludeStack << path;
  struct TPop {
    ~TPop() { IncludeStack.removeLast(); }
  } pop;
  ImageOutAt(QStringLiteral("SUBFORM"), sub, page.Canvas, page.Dpi, page.XR, page.YR, page.Zoom, page.EvenPage, 0, ox,
             oy, page.Depth + 1);
}

}  // namespace

static bool ImageOutAt(const QString& kind, TPrintTextFile& f, TPrintCanvas& canvas, int dpi, double xr, double yr,
                       int zoom, bool evenPage, int formPage, int offX, int offY, int depth)
{
  bool result = true;
  PrintMessageText.clear();
  TP360Page page{kind, canvas};
  page.Dpi = dpi;
  page.XR = xr;
  page.YR = yr;
  page.Zoom = zoom;
  page.EvenPage = evenPage;
  page.FormPage = formPage;
  page.OffX = offX;
  page.OffY = offY;
  page.Depth = depth;
  page.Scaled = !(kind == QLatin1String("SUBFORM") && !P360Def.FORMPRINT);
  page.ComputeOffsets();
  TMarginGuard margins;
  int paperW = 0;
  int paperH = 0;
  GetPaperSizeMM(printerPaper(), paperW, paperH);
  page.Hlim = (paperH - 10) * 10;

  ResetFieldCounts(formPage);

  QStringList list;
  const TPAGEBANGO& pb = P360Def.PageBango;
  const bool numbered = kind == QLatin1String("DAT") && pb.Switch;
  if (numbered && (pb.ParamCount == 1 || pb.ParamCount == 2))
    addPageNumber(list);

  while (!f.Eof()) {
    QString line = f.ReadLine();
    if (!line.endsWith(u';'))
      line += u';';
    line.remove(u'"');
    list << line;
    if (IsPageEndLine(line))
      break;
  }

  if (numbered && list.size() < 3) {
    if (list.size() == 1 && list[0].contains(QLatin1String("*AUTO*")))
      list[0].prepend(u'*');
    else if (list.size() == 2 && list[0].contains(QLatin1String("*AUTO*")) &&
             (list[1].contains(QLatin1String("ORIENTATION")) || list[1].contains(QLatin1String("LINE"))))
      list[0].prepend(u'*');
  }

  if (depth == 0) {
    IncludeStack.clear();
    if (!f.fileName().isEmpty())
      IncludeStack << canonical(f.fileName());
  }

  QString current = QStringLiteral("SETUP");
  try {
    canvas.SetZoom(zoom);
    canvas.Font.FixedPitch = true;
    canvas.MoveTo(offX, offY);
    for (const QString& line : list) {
      if (line.size() > MaxRecordLength)
        continue;
      if (FirstField(line) == QLatin1String("FRECT")) {
        for (int i = 0; i < 5; ++i)
          NextField(line);
        if (NextInt(line) == 1) {
          current = QStringLiteral("FRECT");
          DrawBackgroundFill(page, line);
        }
      }
    }
    page.ComputeOffsets();
    for (const QString& line : list) {
      current = line.size() > MaxRecordLength ? FirstField(line.left(64)) : FirstField(line);
      if (line.size() > MaxRecordLength) {
        WriteErrorLog(QStringLiteral("ImageOut.(%1):%2").arg(current, QStringLiteral("record too long, not drawn")));
        continue;
      }
      if (IsPageEndLine(line)) {
        result = false;
      } else if (current == QLatin1String("LEFTMARGIN")) {
        const int v = NextInt(line);
        if (v != 0) {
          CurLeftMargin = int(std::clamp<qint64>(qint64(margins.Left) + v, INT_MIN, INT_MAX));
          page.ComputeOffsets();
        }
      } else if (current == QLatin1String("TOPMARGIN")) {
        const int v = NextInt(line);
        if (v != 0) {
          CurTopMargin = int(std::clamp<qint64>(qint64(margins.Top) + v, INT_MIN, INT_MAX));
          page.ComputeOffsets();
        }
      } else if (current == QLatin1String("MESSAGE")) {
        if (canvas.IsPrinter())
          PrintMessageText = NextField(line);
      } else if (current == QLatin1String("FORM")) {
        includeForm(page, line);
      } else {
        DrawPageRecord(page, current, line);
      }
    }
  } catch (const std::exception&) {
    WriteErrorLog(QStringLiteral("ImageOut.(%1):%2").arg(current, fnCurrentExceptionText()));
  }
  return result;
}

bool ImageOut(const QString& kind, TPrintTextFile& f, TPrintCanvas& canvas, int dpi, double xr, double yr, int zoom,
              bool evenPage, int formPage, int offX, int offY)
{
  return ImageOutAt(kind, f, canvas, dpi, xr, yr, zoom, evenPage, formPage, offX, offY, 0);
}
