#include "print/Print360Vdb.h"

#include <cmath>
#include <exception>

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include "platform/AppError.h"
#include "print/Print360Engine.h"

namespace {

// The platform's text for a missing default printer.
const QString NoDefaultPrinterText = QStringLiteral("デフォルトのプリンタが現在選択されていません");

int tenthMm(qreal mm)
{
  return int(std::lround(mm * 10));
}

TPaperInfo paperOf(const QPageSize& size)
{
  const QSizeF mm = size.size(QPageSize::Millimeter);
  return {size.windowsId(), size.name(), tenthMm(mm.width()), tenthMm(mm.height())};
}

void logFailure(const char* op, const std::exception& e)
{
  const QString text =
      dynamic_cast<const EAppError*>(&e) ? static_cast<const EAppError&>(e).message() : QString::fromUtf8(e.what());
  WriteErrorLog(QStringLiteral("%1:%2").arg(QLatin1String(op), text));
}

}  // namespace

int P360MatchPaper(const QList<TPaperInfo>& papers, const QString& name, int length, int width, int defNo)
{
  if (!name.isEmpty())
    for (const TPaperInfo& p : papers)
      if (p.Name == name)
        return p.Number;
  if (length > 0 && width > 0)
    for (const TPaperInfo& p : papers)
      if (std::abs(p.Length - length) < 10 && std::abs(p.Width - width) < 10)
        return p.Number;
  return defNo;
}

TVDBPrint::TVDBPrint(TPrinterSource source) : FPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
  FErrCnt = 0;
  try {
    if (source == TPrinterSource::System) {
      FPrinterNames = QPrinterInfo::availablePrinterNames();
      const QString def = QPrinterInfo::defaultPrinterName();
      FDefaultIndex = def.isEmpty() ? -1 : int(FPrinterNames.indexOf(def));
    }
    FPrinterNames << P360PdfPrinterName;
    if (source == TPrinterSource::PdfOnly)
      FDefaultIndex = int(FPrinterNames.size()) - 1;
    if (FDefaultIndex < 0)
      throw EAppError(NoDefaultPrinterText);
    SelectPrinter(FDefaultIndex);
    TDevMode dm = DevMode();
    dm.dmTTOption = 1;
    HandBack(dm);
  } catch (const std::exception& e) {
    if (dynamic_cast<const EAppError*>(&e) && static_cast<const EAppError&>(e).message() == NoDefaultPrinterText)
      FDefPrintErr = true;
    logFailure("Vdb.Create", e);
  }
}

TVDBPrint::~TVDBPrint() = default;

bool TVDBPrint::IsPdfPrinter(int index) const
{
  return index >= 0 && index < FPrinterNames.size() && FPrinterNames.at(index).contains(P360PdfPrinterName);
}

void TVDBPrint::SelectPrinter(int index)
{
  FPrinterIndex = index;
  if (IsPdfPrinter(index)) {
    FPrinter->setOutputFormat(QPrinter::PdfFormat);
  } else {
    FPrinter->setOutputFormat(QPrinter::NativeFormat);
    FPrinter->setPrinterName(FPrinterNames.at(index));
  }
  FExtra = TDevMode();
  FExtra.dmDeviceName = FPrinterNames.at(index);
}

bool TVDBPrint::SetPrinterIndex(int index)
{
  if (index == -1)
    index = FDefaultIndex;
  if (index < 0 || index >= FPrinterNames.size())
    return false;
  SelectPrinter(index);
  return true;
}

TDevMode TVDBPrint::DevMode() const
{
  TDevMode dm = FExtra;
  const QPageLayout layout = FPrinter->pageLayout();
  dm.dmOrientation = layout.orientation() == QPageLayout::Landscape ? 2 : 1;
  if (!(FExtra.dmFields & (DM_PAPERLENGTH | DM_PAPERWIDTH))) {
    const TPaperInfo paper = paperOf(layout.pageSize());
    if (paper.Number > 0)
      dm.dmPaperSize = paper.Number;
    dm.dmPaperLength = paper.Length;
    dm.dmPaperWidth = paper.Width;
    dm.dmFormName = paper.Name;
  }
  dm.dmYResolution = FPrinter->resolution();
  return dm;
}

void TVDBPrint::HandBack(const TDevMode& dm)
{
  if ((dm.dmFields & DM_PAPERLENGTH) && (dm.dmFields & DM_PAPERWIDTH) && dm.dmPaperLength > 0 && dm.dmPaperWidth > 0) {
    FPrinter->setPageSize(QPageSize(QSizeF(dm.dmPaperWidth / 10.0, dm.dmPaperLength / 10.0), QPageSize::Millimeter,
                                    QString(), QPageSize::ExactMatch));
  } else {
    const QPageSize::PageSizeId id = QPageSize::id(dm.dmPaperSize);
    if (id != QPageSize::Custom)
      FPrinter->setPageSize(QPageSize(id));
  }
  FPrinter->setPageOrientation(dm.dmOrientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
  FPrinter->setCopyCount(qMax(1, dm.dmCopies));
  FPrinter->setColorMode(dm.dmColor == 1 ? QPrinter::GrayScale : QPrinter::Color);
  FPrinter->setDuplex(dm.dmDuplex == 2   ? QPrinter::DuplexLongSide
                      : dm.dmDuplex == 3 ? QPrinter::DuplexShortSide
                                         : QPrinter::DuplexNone);
  FPrinter->setCollateCopies(dm.dmCollate != 0);
  FExtra = dm;
}

QList<TPaperInfo> TVDBPrint::Papers() const
{
  QList<TPaperInfo> papers;
  if (IsPdfPrinter(FPrinterIndex)) {
    for (int id = 0; id < QPageSize::LastPageSize; ++id) {
      const QPageSize size{QPageSize::PageSizeId(id)};
      if (size.windowsId() > 0)
        papers << paperOf(size);
    }
  } else {
    for (const QPageSize& size : QPrinterInfo::printerInfo(FPrinterNames.value(FPrinterIndex)).supportedPageSizes())
      papers << paperOf(size);
  }
  return papers;
}

int TVDBPrint::PaperSize()
{
  if (FDefPrintErr)
    return 9;
  try {
    return DevMode().dmPaperSize;
  } catch (const std::exception& e) {
    logFailure("Vdb.GetPaper", e);
    return 9;
  }
}

void TVDBPrint::SetPaperSize(int value)
{
  if (FDefPrintErr)
    return;
  try {
    TDevMode dm = DevMode();
    dm.dmPaperSize = value;
    dm.dmFields |= DM_PAPERSIZE;
    HandBack(dm);
  } catch (const std::exception& e) {
    logFailure("Vdb.SetPaper", e);
  }
}

int TVDBPrint::TTOption()
{
  if (FDefPrintErr)
    return 0;
  return FExtra.dmTTOption;
}

void TVDBPrint::SetTTOption(int value)
{
  if (FDefPrintErr)
    return;
  try {
    TDevMode dm = DevMode();
    dm.dmTTOption = value;
    HandBack(dm);
  } catch (const std::exception& e) {
    logFailure("Vdb.SetTTOption", e);
  }
}

int TVDBPrint::GetDuplex()
{
  if (FDefPrintErr)
    return 1;
  try {
    return DevMode().dmDuplex;
  } catch (const std::exception& e) {
    logFailure("Vdb.GetDuplex", e);
    return 1;
  }
}

void TVDBPrint::SetUserPaperSize(int length, int width)
{
  if (FDefPrintErr)
    return;
  try {
    TDevMode dm = DevMode();
    dm.dmFields |= DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH;
    dm.dmPaperLength = length;
    dm.dmPaperWidth = width;
    HandBack(dm);
  } catch (const std::exception& e) {
    logFailure("Vdb.SetUserPaperSize", e);
  }
}

void TVDBPrint::ResetUserPaperSize()
{
  if (FDefPrintErr)
    return;
  try {
    TDevMode dm = DevMode();
    dm.dmFields &= ~(DM_PAPERLENGTH | DM_PAPERWIDTH);
    dm.dmPaperLength = 0;
    dm.dmPaperWidth = 0;
    HandBack(dm);
  } catch (const std::exception& e) {
    logFailure("Vdb.ResetUserPaperSize", e);
  }
}

int TVDBPrint::GetPaperNumber(const QString& pName, int pLength, int pWidth, int defNo)
{
  if (FDefPrintErr)
    return 0;
  try {
    return P360MatchPaper(Papers(), pName, pLength, pWidth, defNo);
  } catch (const std::exception& e) {
    logFailure("Vdb.GetPaperNumber", e);
    return 0;
  }
}

void TVDBPrint::SetDevMode(const TP360DEF& para)
{
  if (FDefPrintErr)
    return;
  try {
    TDevMode dm = DevMode();
    dm.dmFields |= DM_COLLATE;
    dm.dmScale = para.Scale;
    dm.dmCopies = para.Copies;
    if (para.Color != 0)
      dm.dmColor = para.Color;
    if (para.Duplex != 0)
      dm.dmDuplex = para.Duplex;
    dm.dmCollate = para.Collate;
    if (para.PrintQuality != 0)
      dm.dmPrintQuality = para.PrintQuality;
    HandBack(dm);
  } catch (const std::exception& e) {
    logFailure("Vdb.SetDevMode", e);
  }
}

void TVDBPrint::GetDevMode(TP360DEF& para)
{
  if (FDefPrintErr)
    return;
  try {
    const TDevMode dm = DevMode();
    para.DeviceName = dm.dmDeviceName.left(32);
    para.FormName = dm.dmFormName.left(32);
    para.PRINTERNUM = FPrinterIndex;
    para.PaperLength = dm.dmPaperLength;
    para.PaperWidth = dm.dmPaperWidth;
    para.Orientation = dm.dmOrientation - 1;
    para.Scale = dm.dmScale;
    para.Copies = dm.dmCopies;
    para.PrintQuality = dm.dmPrintQuality;
    para.Duplex = dm.dmDuplex;
    para.Collate = dm.dmCollate;
    para.BINNUM = dm.dmDefaultSource;
    para.YResolution = dm.dmYResolution;
    para.Fields = dm.dmFields;
  } catch (const std::exception& e) {
    logFailure("Vdb.GetDevMode", e);
  }
}

void TVDBPrint::SetPdfName(const QString& pdfFileName)
{
  if (FDefPrintErr)
    return;
  try {
    if (!IsPdfPrinter(FPrinterIndex))
      return;
    // The printer's own defaults, and the job goes to the file.
    SelectPrinter(FPrinterIndex);
    TDevMode defaults;
    defaults.dmDeviceName = FPrinterNames.at(FPrinterIndex);
    HandBack(defaults);
    FPrinter->setOutputFileName(pdfFileName);
  } catch (const std::exception& e) {
    logFailure("Vdb.SetPdfName", e);
  }
}
