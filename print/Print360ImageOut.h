#pragma once
#include <QString>
#include <QStringList>

#include "platform/Color.h"

class TPrintCanvas;
class TPrintTextFile;

// The page interpreter: reads the records of one page of a print text file
// and draws them on a canvas. Positions in the files are tenths of a
// millimetre; XR and YR are device units per 0.1 mm.

// Field reading with the engine-wide cursor: FirstField returns the first
// field upper-cased and puts the cursor after it; NextField returns the field
// at the cursor and moves past its delimiter. Past the last delimiter the
// field is empty.
QString FirstField(const QString& line, QChar delimiter = u';');
QString NextField(const QString& line, QChar delimiter = u';');
// The next field as a decimal integer; def when it is not one.
int NextInt(const QString& line, int def = 0);

// Colour of a colour field for a record of the given kind ("FOM", "SUBFORM",
// "DAT" or a record kind): the colour words, the user and OCR colours of the
// settings, numbers 0 to 15 (the sixteen colours), 16 to 35 (system colours),
// 40 to 43 (net and user colours) and other values as they stand; a form
// that is not printed is drawn faintly; grey scale when the settings ask.
TColor ColorOfName(const QString& field, const QString& kind);
TColor ColorOfNumber(int n);
TColor ToGrayScale(TColor c);
// "1" and "OFF" give 1 (transparent), "ON" white, else ColorOfName.
TColor BackColorOfName(const QString& field);
// 0 left, 1 centre ("CENTER", "1"), 2 right ("RIGHT", "2", "BOTTOM").
int AlignOfName(const QString& field);

// Width and height in mm of a paper number; an unknown number sets
// PaperState to 2 and gives the printer's printable area (height plus 20).
void GetPaperSizeMM(int paper, int& width, int& height);
// VRatio and HRatio for printing the settings' paper on the printer's paper:
// the settings' ratios on the same paper, the table's ratios between the A
// and B sizes, and no scaling for any other pair.
void SetPaperRatios();

// Font decoders of the text records: the style letters ("B", "I", "U", "S"
// and their listed combinations, "DU" a double underline; any "C" sets
// condensed and is removed; other letters give the plain style), the font
// name to draw with, and the character set of a font name.
struct TP360FontStyle {
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  bool Condensed = false;
};
TP360FontStyle FontStyleOfName(const QString& option);
QString ResolveFontName(const QString& fontName);
int CharsetOfFont(const QString& fontName);
// Font height (logical units) of a size in points: -size × dpi / 72, with the
// vertical scale ratio when one is set.
int FontHeightOf(int size, int dpi);
// a × b / c rounded half away from zero.
int P360MulDiv(int a, int b, int c);
// The left X (0.1 mm) at which a text must start so that it is aligned
// ("LEFT", "CENTER", "RIGHT") at x, measured in the font on the printer now
// selected.
int TextPosition(int x, const QString& align, const QString& fontOption, int fontSize, const QString& fontName,
                 const QString& text);

// Rounds to the nearest integer, ties to even, within the int range.
int P360Round(double v);
// The value within the int range.
int P360Clamp(qint64 v);

// The automatic page number's text: format with "%d" placeholders (also
// "%5d", "%-5d", "%05d" and "%%"); throws EConvertError on anything else or
// when the format asks for more numbers than given.
QString P360FormatPageNumber(const QString& format, const QList<int>& numbers);

// Sub-forms included by "FORM" records nest at most this deep.
constexpr int SubFormDepthLimit = 8;

// Draws one page of f (positioned at the page's first line) on the canvas.
// kind: "FOM" form file, "DAT" print data, "SUBFORM" a form included by a
// "FORM" record. formPage (0 to 4) selects the field definitions of "@"
// records; offX, offY (device units) are the origin of a sub-form. True when
// the file ended without a page end (the last page). Drawing failures are
// logged and end the page; read failures pass to the caller.
bool ImageOut(const QString& kind, TPrintTextFile& f, TPrintCanvas& canvas, int dpi, double xr, double yr, int zoom,
              bool evenPage, int formPage, int offX, int offY);
