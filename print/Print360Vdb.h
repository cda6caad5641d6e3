#pragma once
#include <memory>

#include <QList>
#include <QString>
#include <QStringList>

#include "print/Print360Record.h"

class QPrinter;

// The name under which the PDF output is listed among the printers. A job
// sent to it is written to the file SetPdfName names.
inline const QString P360PdfPrinterName = QStringLiteral("Microsoft Print to PDF");

// The device settings of the printer now selected, in the fields of the
// platform's device mode. Orientation 1 portrait, 2 landscape; colour 1
// monochrome, 2 colour; duplex 1 simplex, 2 long edge, 3 short edge.
struct TDevMode {
  QString dmDeviceName;
  quint32 dmFields = 0;
  int dmOrientation = 1;
  int dmPaperSize = 9;
  int dmPaperLength = 0;  // 0.1 mm
  int dmPaperWidth = 0;   // 0.1 mm
  int dmScale = 100;
  int dmCopies = 1;
  int dmDefaultSource = 7;
  int dmPrintQuality = -4;
  int dmColor = 2;
  int dmDuplex = 1;
  int dmYResolution = 0;
  int dmTTOption = 1;
  int dmCollate = 0;
  QString dmFormName;
};

// Flags of dmFields.
constexpr quint32 DM_PAPERSIZE = 0x0002;
constexpr quint32 DM_PAPERLENGTH = 0x0004;
constexpr quint32 DM_PAPERWIDTH = 0x0008;
constexpr quint32 DM_COLLATE = 0x8000;

// One paper a printer offers: its paper number, name and portrait size.
struct TPaperInfo {
  int Number = 0;
  QString Name;
  int Width = 0;   // 0.1 mm
  int Length = 0;  // 0.1 mm
};

// The paper number for a name, else for a size within 9 (0.1 mm) each way
// when both sizes are above 0, else defNo.
int P360MatchPaper(const QList<TPaperInfo>& papers, const QString& name, int length, int width, int defNo);

// Which printers the device object offers.
enum class TPrinterSource {
  System,   // the system's printers (default printer selected), the PDF output listed last
  PdfOnly,  // the PDF output alone, selected (machines without printers, tests)
};

// The printer device settings over the process's printer object. Every
// failure is logged to the print error log under the operation's name and
// gives the operation's default; while DefPrintErr (no default printer) every
// operation does nothing and gives its default.
class TVDBPrint {
 public:
  explicit TVDBPrint(TPrinterSource source = TPrinterSource::System);
  ~TVDBPrint();
  TVDBPrint(const TVDBPrint&) = delete;
  TVDBPrint& operator=(const TVDBPrint&) = delete;

  bool DefPrintErr() const { return FDefPrintErr; }
  // The printer object the print run draws on.
  QPrinter& Printer() { return *FPrinter; }
  // The printers offered, in list order.
  const QStringList& PrinterNames() const { return FPrinterNames; }
  int PrinterIndex() const { return FPrinterIndex; }
  // Selects a printer by list index (-1 the default); false when there is
  // no such printer.
  bool SetPrinterIndex(int index);

  int PaperSize();
  void SetPaperSize(int value);
  int TTOption();
  void SetTTOption(int value);
  int GetDuplex();
  void SetUserPaperSize(int length, int width);
  void ResetUserPaperSize();
  int GetPaperNumber(const QString& pName, int pLength, int pWidth, int defNo);
  void SetDevMode(const TP360DEF& para);
  void GetDevMode(TP360DEF& para);
  void SetPdfName(const QString& pdfFileName);

  // The device mode as the printer now holds it.
  TDevMode DevMode() const;
  // The papers the printer now selected offers.
  QList<TPaperInfo> Papers() const;

 private:
  void HandBack(const TDevMode& dm);
  bool IsPdfPrinter(int index) const;
  void SelectPrinter(int index);

  int FErrCnt = 0;
  bool FDefPrintErr = false;
  std::unique_ptr<QPrinter> FPrinter;
  QStringList FPrinterNames;
  int FDefaultIndex = -1;
  int FPrinterIndex = -1;
  // The device mode as last handed back; paper and orientation are read from
  // the printer object (a print dialog may have changed them).
  TDevMode FExtra;
};
