#include <gtest/gtest.h>

#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include "print/Print360Vdb.h"

namespace {

TEST(PrinterDevice, PaperLookUpByNameThenSize)
{
  const QList<TPaperInfo> papers = {
      {8, "A3", 2970, 4200}, {9, "A4", 2100, 2970}, {13, "B5", 1820, 2570}, {70, "A4", 1, 1}};
  struct Case {
    QString name;
    int length, width, defNo, result;
  } cases[] = {
      {"B5", 0, 0, 0, 13},                                 // by name
      {"A4", 0, 0, 0, 9},                                  // the first paper of that name
      {"none", 0, 0, 77, 77},                              // no name, no size: the default
      {"", 2961, 2109, 0, 9},                              // within 9 each way
      {"", 2979, 2091, 0, 9}, {"", 2970, 2110, 0, 0},      // 10 apart: no match
      {"", 2980, 2100, 5, 5}, {"none", 4200, 2970, 0, 8},  // no name matched: the size decides
      {"", 2970, 0, 4, 4},                                 // sizes must both be above 0
  };
  for (const Case& c : cases)
    EXPECT_EQ(P360MatchPaper(papers, c.name, c.length, c.width, c.defNo), c.result)
        << c.name.toStdString() << " " << c.length << "x" << c.width;
}

TEST(PrinterDevice, PdfPrinterSettings)
{
  TVDBPrint vdb(TPrinterSource::PdfOnly);
  ASSERT_FALSE(vdb.DefPrintErr());
  EXPECT_EQ(vdb.TTOption(), 1);
  EXPECT_EQ(vdb.PrinterNames().last(), P360PdfPrinterName);

  vdb.SetPaperSize(13);
  EXPECT_EQ(vdb.PaperSize(), 13);
  EXPECT_EQ(vdb.Printer().pageLayout().pageSize().id(), QPageSize::JisB5);
  EXPECT_EQ(vdb.GetPaperNumber(QStringLiteral("A3"), 0, 0, 0), 8);
  EXPECT_EQ(vdb.GetPaperNumber(QString(), 2961, 2109, 0), 9);
  EXPECT_EQ(vdb.GetPaperNumber(QStringLiteral("none"), 0, 0, 42), 42);

  // Zero colour, duplex and quality leave the printer's settings alone.
  TP360DEF para;
  para.Copies = 3;
  para.Collate = 1;
  para.Duplex = 2;
  para.Color = 1;
  vdb.SetDevMode(para);
  EXPECT_EQ(vdb.GetDuplex(), 2);
  EXPECT_EQ(vdb.DevMode().dmColor, 1);
  para.Duplex = 0;
  para.Color = 0;
  para.PrintQuality = 0;
  vdb.SetDevMode(para);
  EXPECT_EQ(vdb.GetDuplex(), 2);
  EXPECT_EQ(vdb.DevMode().dmColor, 1);
  EXPECT_EQ(vdb.DevMode().dmPrintQuality, -4);
  EXPECT_TRUE(vdb.DevMode().dmFields & DM_COLLATE);

  vdb.Printer().setPageOrientation(QPageLayout::Landscape);
  TP360DEF back;
  vdb.GetDevMode(back);
  EXPECT_EQ(back.DeviceName, P360PdfPrinterName.left(32));
  EXPECT_EQ(back.PRINTERNUM, vdb.PrinterIndex());
  EXPECT_EQ(back.Orientation, 1);
  EXPECT_EQ(back.Copies, 3);
  EXPECT_EQ(back.Collate, 1);
  EXPECT_EQ(back.Duplex, 2);
  EXPECT_EQ(back.PaperLength, 2570);
  EXPECT_EQ(back.PaperWidth, 1820);
  EXPECT_EQ(back.FormName, QPageSize(QPageSize::JisB5).name());

  // A user-defined size, then back to the paper number.
  vdb.SetUserPaperSize(3000, 1500);
  EXPECT_EQ(vdb.DevMode().dmPaperLength, 3000);
  EXPECT_EQ(vdb.PaperSize(), 13);
  const QSizeF mm = vdb.Printer().pageLayout().pageSize().size(QPageSize::Millimeter);
  EXPECT_NEAR(mm.width(), 150, 0.5);
  EXPECT_NEAR(mm.height(), 300, 0.5);
  vdb.ResetUserPaperSize();
  EXPECT_EQ(vdb.DevMode().dmFields & (DM_PAPERLENGTH | DM_PAPERWIDTH), 0u);
  EXPECT_EQ(vdb.Printer().pageLayout().pageSize().id(), QPageSize::JisB5);

  vdb.SetPdfName(QStringLiteral("/tmp/out.pdf"));
  EXPECT_EQ(vdb.Printer().outputFileName(), QStringLiteral("/tmp/out.pdf"));
  EXPECT_EQ(vdb.Printer().outputFormat(), QPrinter::PdfFormat);
}

TEST(PrinterDevice, NoDefaultPrinter)
{
  if (!QPrinterInfo::defaultPrinterName().isEmpty())
    GTEST_SKIP() << "this machine has a default printer";
  TVDBPrint vdb;
  ASSERT_TRUE(vdb.DefPrintErr());
  EXPECT_EQ(vdb.PaperSize(), 9);
  EXPECT_EQ(vdb.GetDuplex(), 1);
  EXPECT_EQ(vdb.GetPaperNumber(QStringLiteral("A4"), 2970, 2100, 9), 0);
  EXPECT_EQ(vdb.TTOption(), 0);
  vdb.SetPdfName(QStringLiteral("/tmp/none.pdf"));
  EXPECT_TRUE(vdb.Printer().outputFileName().isEmpty());
  TP360DEF para;
  para.Copies = 7;
  vdb.GetDevMode(para);
  EXPECT_EQ(para.Copies, 7);
}

}  // namespace
