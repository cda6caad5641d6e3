#include "print/Print360Data.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include "platform/DateTime.h"
#include "platform/Format.h"
#include "platform/SafeSave.h"
#include "print/Print360Record.h"

bool IsPrintDataLine(const QString& firstLine)
{
  return firstLine.startsWith(P360FileMark);
}

QString P360HeaderPath(const QString& dataFile)
{
  QString dir = QFileInfo(dataFile).absolutePath();
  while (dir.size() > 1 && dir.endsWith(u'/'))
    dir.chop(1);
  return dir;
}

QString P360HexColor(TColor c)
{
  return u'$' + QStringLiteral("%1").arg(quint32(c), 6, 16, QChar(u'0')).toUpper();
}

QStringList P360HeaderLines(const TP360Header& h)
{
  const QString date = h.Date.isEmpty() ? FormatDateTime(QStringLiteral("yyyy/mm/dd"), Date()) : h.Date;
  auto n = [](int v) { return QString::number(v); };
  return {
      P360FileMark + QChar(0x25A1) + QString(60, u'*'),
      QStringLiteral("*[SETTING]"),
      QStringLiteral("*PATH=") + P360OneLine(h.Path),
      QStringLiteral("*VERSION=") + P360Version,
      QStringLiteral("*DATE=") + date,
      QStringLiteral("*TITLE=") + P360OneLine(h.Title),
      QStringLiteral("*FORMFILE=") + P360OneLine(h.FormFile),
      QStringLiteral("*PAPERSIZE=") + n(h.PaperSize),
      QStringLiteral("*OUTPUTPAPER=") + n(h.OutPutPaper),
      QStringLiteral("*ORIENTATION=") + n(h.Orientation),
      QStringLiteral("*TOPMARGIN=") + n(h.TopMargin),
      QStringLiteral("*LEFTMARGIN=") + n(h.LeftMargin),
      QStringLiteral("*FORMTOPMARGIN=") + n(h.FormTopMargin),
      QStringLiteral("*FORMLEFTMARGIN=") + n(h.FormLeftMargin),
      QStringLiteral("*NETC1=") + P360HexColor(h.NetColor1),
      QStringLiteral("*NETC2=") + P360HexColor(h.NetColor2),
      QStringLiteral("*USERC1=") + P360HexColor(h.UserColor1),
      QStringLiteral("*USERC2=") + P360HexColor(h.UserColor2),
      QStringLiteral("*FORMPRINT=") + P360Bool(h.FormPrint),
      QStringLiteral("*COPIES=") + n(h.Copies),
      QStringLiteral("*PAGENOSWITCH=") + P360Bool(h.PageNoSwitch),
      QStringLiteral("*PAGENOLEFT=") + n(h.PageNoLeft),
      QStringLiteral("*PAGENOTOP=") + n(h.PageNoTop),
      QStringLiteral("*PAGENOALIGNMENT=") + n(h.PageNoAlignment),
      QStringLiteral("*PAGENOFORMAT=") + P360OneLine(h.PageNoFormat),
      QString(61, u'*') + QStringLiteral("PRINT360*"),
  };
}

QString P360HeaderValue(const QStringList& lines, const QString& key)
{
  for (const QString& line : lines)
    if (line.startsWith(key))
      return line.mid(key.size());
  return QString();
}

namespace {

const QRegularExpression& lineBreaks()
{
  static const QRegularExpression re(QStringLiteral("\r\n|\r|\n"));
  return re;
}

QString rec(const QStringList& fields)
{
  return fields.join(u';') + u';';
}

QString num(int v)
{
  return QString::number(v);
}

QString fontName(const QString& name)
{
  return P360CheckName(name, QStringLiteral("font name"));
}

QString fileName(const QString& name)
{
  return P360CheckName(name, QStringLiteral("file name"));
}

}  // namespace

QString P360EscapeText(const QString& text)
{
  QString s = P360OneLine(text);
  s.replace(u';', u':');
  return s;
}

QString P360OneLine(const QString& text)
{
  if (!text.contains(u'\r') && !text.contains(u'\n'))
    return text;
  QString s = text;
  s.replace(lineBreaks(), QStringLiteral(" "));
  return s;
}

QString P360CheckName(const QString& name, const QString& what)
{
  if (name.contains(u';') || name.contains(u'\r') || name.contains(u'\n'))
    throw EPrintDataError(
        QStringLiteral("The %1 \"%2\" cannot be written to print data: it holds \";\" or a line break.")
            .arg(what, P360OneLine(name)));
  return name;
}

QString P360BkClear(const QString& bkClear)
{
  if (bkClear == QLatin1String("ON") || bkClear == QLatin1String("OFF"))
    return QStringLiteral("1");
  return P360OneLine(bkClear);
}

QString P360TextRecord(const QString& kind, int x, int y, const QString& text, const QString& font, int fontSize,
                       const QString& fontOption, const QString& color, const QString& bkClear, const QString& align,
                       int w, int charPos)
{
  return rec({kind, num(x), num(y), P360EscapeText(text), fontName(font), num(fontSize), P360OneLine(fontOption),
              P360OneLine(color), P360BkClear(bkClear), P360OneLine(align).toUpper(), num(w), num(charPos)});
}

QString P360MemoRecord(int x1, int y1, int x2, int y2, const QString& text, int penWidth, const QString& font,
                       int fontSize, const QString& fontOption, const QString& color, const QString& bkClear)
{
  return rec({QStringLiteral("MEMO"), num(x1), num(y1), num(x2), num(y2), P360EscapeText(text), num(penWidth),
              fontName(font), num(fontSize), P360OneLine(fontOption), P360OneLine(color), P360BkClear(bkClear)});
}

QString P360MarumojiRecord(const QString& kind, int x, int y, int r, const QString& text, const QString& font,
                           int fontSize, const QString& fontOption, const QString& color)
{
  return rec({kind, num(x), num(y), num(r), P360EscapeText(text), fontName(font), num(fontSize),
              P360OneLine(fontOption), P360OneLine(color)});
}

QString P360LineRecord(bool expand, int x1, int y1, int x2, int y2, int penWidth, int penStyle, const QString& color)
{
  return rec({expand ? QStringLiteral("ELINE") : QStringLiteral("LINE"), num(x1), num(y1), num(x2), num(y2),
              num(penWidth), num(penStyle), P360OneLine(color)});
}

QString P360BPRecord(int x1, int y1, int penWidth, int penStyle, const QString& color)
{
  return rec({QStringLiteral("BP"), num(x1), num(y1), num(penWidth), num(penStyle), P360OneLine(color)});
}

QString P360LineBRecord(int x1, int y1)
{
  return rec({QStringLiteral("LINEB"), num(x1), num(y1)});
}

QString P360SLineRecord(int x1, int y1, int y2, int n, int penWidth, int penStyle, const QString& color,
                        const QString& font, int fontSize)
{
  return rec({QStringLiteral("SLINE"), num(x1), num(y1), num(y2), num(n), num(penWidth), num(penStyle),
              P360OneLine(color), fontName(font), num(fontSize)});
}

QString P360BoxRecord(const QString& kind, int x1, int y1, int x2, int y2, int penWidth, int penStyle,
                      const QString& color, const QString& brushColor, int brushStyle)
{
  return rec({kind, num(x1), num(y1), num(x2), num(y2), num(penWidth), num(penStyle), P360OneLine(color),
              P360OneLine(brushColor), num(brushStyle)});
}

QString P360RRectRecord(int x1, int y1, int x2, int y2, int x3, int y3, int penWidth, int penStyle,
                        const QString& color, const QString& brushColor, int brushStyle)
{
  return rec({QStringLiteral("RRECT"), num(x1), num(y1), num(x2), num(y2), num(x3), num(y3), num(penWidth),
              num(penStyle), P360OneLine(color), P360OneLine(brushColor), num(brushStyle)});
}

QString P360FRectRecord(int x1, int y1, int x2, int y2, const QString& color, int copyMode)
{
  return rec({QStringLiteral("FRECT"), num(x1), num(y1), num(x2), num(y2), P360OneLine(color), num(copyMode)});
}

QString P360ImageRecord(int x1, int y1, int x2, int y2, const QString& name, int copyMode)
{
  return rec({QStringLiteral("IMAGE"), num(x1), num(y1), num(x2), num(y2), fileName(name), num(copyMode)});
}

QString P360ChartRecord(const QString& name, int x1, int y1, int x2, int y2, int n)
{
  return rec({QStringLiteral("CHART"), fileName(name), num(x1), num(y1), num(x2), num(y2), num(n)});
}

QString P360MarginRecord(const QString& kind, int value)
{
  return rec({kind, num(value)});
}

QString P360MessageRecord(const QString& text)
{
  return rec({QStringLiteral("MESSAGE"), P360OneLine(text)});
}

QString P360OrientationRecord(bool landscape)
{
  return rec({QStringLiteral("ORIENTATION"), landscape ? QStringLiteral("1") : QStringLiteral("0")});
}

QString P360FormRecord(const QString& name, bool variable, int bpx, int bpy)
{
  return rec({QStringLiteral("FORM"), fileName(name), P360Bool(variable), num(bpx), num(bpy)});
}

QString P360FieldTextRecord(const QString& name, const QString& text, int fontSize, const QString& fontOption)
{
  return rec({QStringLiteral("@"), P360EscapeText(name), P360EscapeText(text), num(fontSize), P360OneLine(fontOption),
              QStringLiteral("0")});
}

QString P360FieldRecord(const QString& name, const QString& text, int shift)
{
  return rec(
      {QStringLiteral("@"), P360EscapeText(name), P360EscapeText(text), QStringLiteral("0"), QString(), num(shift)});
}

QString P360PgLabelRecord(int x1, int y1, const QString& text, const QString& font, int fontSize,
                          const QString& fontOption, const QString& color, const QString& bkClear, const QString& align,
                          int w, int posCenter)
{
  return rec({text.isEmpty() ? QStringLiteral("*") : QStringLiteral("&"), num(x1), num(y1), P360OneLine(text),
              fontName(font), num(fontSize), P360OneLine(fontOption), P360OneLine(color), P360OneLine(bkClear),
              P360OneLine(align), num(w), num(posCenter)});
}

QStringList P360EjectRecords(bool blankPage)
{
  QStringList lines;
  if (blankPage)
    lines << P360BoxRecord(QStringLiteral("BOX"), 100, 100, 101, 101, 0, 0, QStringLiteral("黒"), QStringLiteral("白"),
                           1);
  lines << QStringLiteral("E;");
  return lines;
}

TPrintDataFile::TPrintDataFile(const QString& fileName)
    : FFileName(fileName), FWriter(std::make_unique<TSafeFileWriter>(fileName))
{
  FWriter->Open();
}

TPrintDataFile::~TPrintDataFile() = default;

void TPrintDataFile::WriteHeader(const TP360Header& header)
{
  WriteLines(P360HeaderLines(header));
}

void TPrintDataFile::WriteLine(const QString& line)
{
  FWriter->Write(line.toUtf8() + "\r\n");
}

void TPrintDataFile::WriteLines(const QStringList& lines)
{
  QByteArray bytes;
  for (const QString& line : lines)
    bytes += line.toUtf8() + "\r\n";
  FWriter->Write(bytes);
}

void TPrintDataFile::Close()
{
  FWriter->Commit();
}
