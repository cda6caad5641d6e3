#pragma once
#include <QString>

#include "platform/Color.h"

// The page-number part of a print job's settings.
struct TPAGEBANGO {
  bool Switch = false;  // print page numbers
  int Left = 0;         // X of the page number, 0.1 mm
  int Top = 0;          // Y of the page number, 0.1 mm
  int Alignment = 2;    // 0 left, 1 centre, 2 right
  QString FontName;
  int FontSize = 10;
  QString Format;      // one or two integer placeholders: page, or page and page count
  int ParamCount = 0;  // placeholders found in Format (1 or 2)
};

// The settings of one print job, as they travel from the print component to
// the engine (preview, print run, printer device, interpreter). Texts are
// held whole; the lengths of the original's fixed fields (127 characters for
// paths, 63 for titles and names) are kept by P360CutText when a caller hands
// one in.
struct TP360DEF {
  QString FormFile;     // form (overlay) file; empty = none
  QString DataFile;     // print data file
  QString Title;        // preview caption, default name of a saved preview
  QString DeviceName;   // read back from the printer
  QString FormName;     // read back from the printer
  QString DocTitlet;    // document name given to the spooler
  QString PdfFileName;  // output file of the PDF printer
  int PRINTERNUM = -1;  // index in the printer list; -1 = the default printer
  int PaperSize = 0;    // paper number; 0 = look it up from PaperName and the size
  int OutPutPaper = 0;  // paper to print on; 0 = PaperSize
  int V_RATIO = 1000;   // vertical scale, per mille
  int H_RATIO = 1000;   // horizontal scale, per mille
  QString PaperName;
  int Orientation = 0;  // 0 portrait, 1 landscape
  int TMARGIN = 0;
  int LMARGIN = 0;
  int ELMARGIN = 0;  // extra left offset of even pages
  int THOSEI = 0;    // printer corrections
  int LHOSEI = 0;
  int FORM_THOSEI = 0;  // form file offsets
  int FORM_LHOSEI = 0;
  int BINNUM = 7;  // paper source; 7 = automatic
  TColor NETCOLOR1 = clSilver;
  TColor NETCOLOR2 = clSilver;
  TColor UserColor1 = 0;
  TColor UserColor2 = 0;
  TColor OcrGreen = 0x2CBE00;
  TColor OcrBlue = 0xAC661F;
  TColor OcrBrown = 0x23234D;
  TColor OcrPink = 0x7F02F0;
  TColor OcrOrange = 0x41B3FE;
  TColor OcrViolet = 0x903D57;
  TColor OcrPurple = 0x741A82;
  bool FORMPRINT = true;
  bool ShowDLG = true;
  int Zoom = 10;  // preview zoom in tenths, 5 to 20
  bool SizeChange = false;
  bool ImageOut = false;
  bool CurrentPage = true;
  bool PrevPaperButton = false;
  bool NextPaperButton = false;
  bool ModeSw = true;
  int PaperLength = 2970;
  int PaperWidth = 2100;
  int Scale = 100;
  int Copies = 1;
  int PrintQuality = -4;
  int Color = 0;
  int Duplex = 1;
  int Collate = 0;
  int YResolution = 0;
  bool GrayScale = false;
  quint32 Fields = 0;
  TPAGEBANGO PageBango;

  TP360DEF();
};

// The library's version text, used in the print data header and the default
// document title.
extern const QString P360Version;

// The process-wide settings of the job being previewed or printed.
extern TP360DEF P360Def;

// Puts P360Def back to the start-up defaults.
void P360DefReset();

// Lengths of the text fields, terminator not counted.
constexpr int P360PathLength = 127;
constexpr int P360NameLength = 63;
// A caller's text cut to a field of that many characters (a surrogate pair is
// never split).
QString P360CutText(const QString& text, int length);
