#pragma once
#include <memory>

#include <QString>
#include <QStringList>

#include "platform/AppError.h"
#include "platform/Color.h"

class TSafeFileWriter;

// The print data file: a UTF-8 text (no byte-order mark, CR LF line ends)
// with a 26-line header and one drawing record per line, each field followed
// by ";". Form files and saved previews use the same record syntax.

// A record field the file cannot hold: a file or font name with ";" or a
// line break in it.
class EPrintDataError : public EAppError {
 public:
  using EAppError::EAppError;
};

// The first characters of every print data file.
inline const QString P360FileMark = QStringLiteral("*PRINT360*");
// True when the first line begins with P360FileMark.
bool IsPrintDataLine(const QString& firstLine);

// The values of the header block.
struct TP360Header {
  QString Path;  // folder of the data file, as P360HeaderPath gives it
  QString Date;  // "yyyy/mm/dd"; empty = today
  QString Title;
  QString FormFile;
  int PaperSize = 0;
  int OutPutPaper = 0;
  int Orientation = 0;
  int TopMargin = 0;
  int LeftMargin = 0;
  int FormTopMargin = 0;
  int FormLeftMargin = 0;
  TColor NetColor1 = clSilver;
  TColor NetColor2 = clSilver;
  TColor UserColor1 = 0;
  TColor UserColor2 = 0;
  bool FormPrint = true;
  int Copies = 1;
  bool PageNoSwitch = false;
  int PageNoLeft = 0;
  int PageNoTop = 0;
  int PageNoAlignment = 2;
  QString PageNoFormat = QStringLiteral("(%d/%d)");
};

// The folder of a data file without trailing delimiter ("/" stays "/").
QString P360HeaderPath(const QString& dataFile);
// "$" and at least six upper-case hexadecimal digits of the colour value.
QString P360HexColor(TColor c);
// The 26 header lines, without line ends.
QStringList P360HeaderLines(const TP360Header& header);
// The header values a reader takes, by key prefix ("*PAPERSIZE=" ...): the
// value after the first line that begins with the key, or empty.
QString P360HeaderValue(const QStringList& lines, const QString& key);

// --- field conversions ------------------------------------------------------
// The text of a text record: ";" becomes ":", and each line break (CR LF, CR
// or LF) becomes a space, so that a text never ends or splits a record.
QString P360EscapeText(const QString& text);
// A text written unescaped (MESSAGE, the page label): line breaks become
// spaces; ";" stays, as readers rely on the cut.
QString P360OneLine(const QString& text);
// A file or font name: refused (EPrintDataError naming what) when it holds
// ";" or a line break, since the field would shift or split the record.
QString P360CheckName(const QString& name, const QString& what);
// The background field: "ON" and "OFF" become "1", anything else stays.
QString P360BkClear(const QString& bkClear);
inline QString P360Bool(bool b)
{
  return b ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
}

// --- records as written -----------------------------------------------------
// kind "TEXT", "UTEXT" or "VTEXT": X; Y; text; FontName; FontSize;
// FontOption; Color; BkClear; Align (upper-cased); W; CharPos.
QString P360TextRecord(const QString& kind, int x, int y, const QString& text, const QString& fontName, int fontSize,
                       const QString& fontOption, const QString& color, const QString& bkClear, const QString& align,
                       int w, int charPos);
QString P360MemoRecord(int x1, int y1, int x2, int y2, const QString& text, int penWidth, const QString& fontName,
                       int fontSize, const QString& fontOption, const QString& color, const QString& bkClear);
// kind "MARUMOJI" or "MARUMOJI2".
QString P360MarumojiRecord(const QString& kind, int x, int y, int r, const QString& text, const QString& fontName,
                           int fontSize, const QString& fontOption, const QString& color);
// "LINE", or "ELINE" when expand.
QString P360LineRecord(bool expand, int x1, int y1, int x2, int y2, int penWidth, int penStyle, const QString& color);
QString P360BPRecord(int x1, int y1, int penWidth, int penStyle, const QString& color);
QString P360LineBRecord(int x1, int y1);
QString P360SLineRecord(int x1, int y1, int y2, int n, int penWidth, int penStyle, const QString& color,
                        const QString& fontName, int fontSize);
// kind "BOX" or "CIRCLE".
QString P360BoxRecord(const QString& kind, int x1, int y1, int x2, int y2, int penWidth, int penStyle,
                      const QString& color, const QString& brushColor, int brushStyle);
QString P360RRectRecord(int x1, int y1, int x2, int y2, int x3, int y3, int penWidth, int penStyle,
                        const QString& color, const QString& brushColor, int brushStyle);
QString P360FRectRecord(int x1, int y1, int x2, int y2, const QString& color, int copyMode);
QString P360ImageRecord(int x1, int y1, int x2, int y2, const QString& fileName, int copyMode);
QString P360ChartRecord(const QString& fileName, int x1, int y1, int x2, int y2, int num);
// kind "LEFTMARGIN" or "TOPMARGIN".
QString P360MarginRecord(const QString& kind, int value);
QString P360MessageRecord(const QString& text);
QString P360OrientationRecord(bool landscape);
QString P360FormRecord(const QString& fileName, bool variable, int bpx, int bpy);
// "@" records: the SetText form ("@", name, text, FontSize, FontOption, 0),
// and the form of the other writers ("@", name, text, 0, empty, shift).
QString P360FieldTextRecord(const QString& name, const QString& text, int fontSize, const QString& fontOption);
QString P360FieldRecord(const QString& name, const QString& text, int shift = 0);
// The field definition ("&", or "*" for an empty text).
QString P360PgLabelRecord(int x1, int y1, const QString& text, const QString& fontName, int fontSize,
                          const QString& fontOption, const QString& color, const QString& bkClear, const QString& align,
                          int w, int posCenter);
// The page end "E;", after the 1 by 1 box that keeps a blank page non-empty
// when blankPage.
QStringList P360EjectRecords(bool blankPage);

// Writes a print data file: created anew under a temporary name and put in
// place by Close(); every line UTF-8 with CR LF. Failures throw
// ESafeSaveError; a writer destroyed before Close() leaves no file.
class TPrintDataFile {
 public:
  explicit TPrintDataFile(const QString& fileName);
  ~TPrintDataFile();
  TPrintDataFile(const TPrintDataFile&) = delete;
  TPrintDataFile& operator=(const TPrintDataFile&) = delete;

  void WriteHeader(const TP360Header& header);
  // One line, written as it stands (a line break inside it is the caller's).
  void WriteLine(const QString& line);
  void WriteLines(const QStringList& lines);
  void Close();
  const QString& fileName() const { return FFileName; }

 private:
  QString FFileName;
  std::unique_ptr<TSafeFileWriter> FWriter;
};
