// Pages drawn to PDF through the printer and to images, and read back.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include "print/Print360Data.h"
#include "print/Print360Engine.h"
#include "print/Print360ImageOut.h"
#include "print/Print360Record.h"
#include "print/Print360Vdb.h"
#include "print/PrintCanvas.h"
#include "tests/support/TempDir.h"

namespace {

struct TWord {
  int page;
  QString text;
  double xMin, yMin, xMax, yMax;
};

// The words of a PDF with their boxes in points, as pdftotext reads them.
QList<TWord> pdfWords(const QString& pdf)
{
  QProcess p;
  p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
  EXPECT_TRUE(p.waitForFinished(30000));
  const QString html = QString::fromUtf8(p.readAllStandardOutput());
  QList<TWord> words;
  int page = 0;
  static const QRegularExpression re(QStringLiteral(
      "<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
  for (auto it = re.globalMatch(html); it.hasNext();) {
    const auto m = it.next();
    if (m.captured(0).startsWith(QLatin1String("<page"))) {
      ++page;
      continue;
    }
    words << TWord{page,
                   m.captured(5),
                   m.captured(1).toDouble(),
                   m.captured(2).toDouble(),
                   m.captured(3).toDouble(),
                   m.captured(4).toDouble()};
  }
  return words;
}

double pt(int tenthMm)
{
  return tenthMm / 254.0 * 72.0;
}

class PrintOutput : public ::testing::Test {
 protected:
  void SetUp() override
  {
    qputenv("HOME", tmp.path().toLocal8Bit());
    P360DefReset();
    ResetPrintJobState();
  }
  TestTempDir tmp;
};

TEST_F(PrintOutput, TextOnPdfPagesAtItsPlace)
{
  if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
    GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  const QString data = tmp.file(QStringLiteral("job.TMP"));
  {
    TPrintDataFile out(data);
    TP360Header h;
    h.Path = P360HeaderPath(data);
    out.WriteHeader(h);
    const QString k = QStringLiteral("黒");
    out.WriteLine(P360TextRecord("TEXT", 200, 300, "Left", "ＭＳ 明朝", 12, "", k, "OFF", "LEFT", 0, 0));
    out.WriteLine(P360TextRecord("TEXT", 1000, 500, "Right", "ＭＳ ゴシック", 12, "", k, "OFF", "RIGHT", 0, 0));
    out.WriteLine(P360TextRecord("TEXT", 1000, 700, "日本語の帳票", "ＭＳ 明朝", 12, "", k, "OFF", "CENTER", 0, 0));
    out.WriteLine(P360MarginRecord("TOPMARGIN", 100));
    out.WriteLine(P360TextRecord("TEXT", 200, 900, "Moved", "ＭＳ 明朝", 12, "", k, "OFF", "LEFT", 0, 0));
    out.WriteLines(P360EjectRecords(false));
    out.WriteLine(P360TextRecord("TEXT", 500, 1500, "Second", "ＭＳ 明朝", 12, "", k, "OFF", "LEFT", 0, 0));
    out.WriteLines(P360EjectRecords(false));
    out.Close();
  }

  const QString pdf = tmp.file(QStringLiteral("job.pdf"));
  TVDBPrint vdb(TPrinterSource::PdfOnly);
  vdb.SetPaperSize(9);
  vdb.SetPdfName(pdf);
  QPrinter& printer = vdb.Printer();
  printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
  {
    TPrinterCanvas canvas(printer);
    const double r = canvas.Dpi() / 254.0;
    TPrintTextFile f;
    ASSERT_TRUE(OpenPrintTextFile(f, data));
    for (bool first = true; !f.Eof(); first = false) {
      if (!first)
        canvas.NewPage();
      ImageOut(QStringLiteral("DAT"), f, canvas, canvas.Dpi(), r, r, 10, false, 0, 0, 0);
    }
    canvas.End();
  }

  const QList<TWord> words = pdfWords(pdf);
  auto find = [&](const QString& text) -> TWord {
    // Shared glyphs may read back as their compatibility characters (a
    // radical for a kanji).
    for (const TWord& w : words)
      if (w.text.normalized(QString::NormalizationForm_KC) == text)
        return w;
    QStringList all;
    for (const TWord& w : words)
      all << w.text;
    ADD_FAILURE() << "no word " << text.toStdString() << " in " << all.join(u'|').toStdString();
    return {};
  };
  const TWord left = find(QStringLiteral("Left"));
  EXPECT_EQ(left.page, 1);
  EXPECT_NEAR(left.xMin, pt(200), 1.5);
  EXPECT_NEAR(left.yMin, pt(300), 4);
  const TWord right = find(QStringLiteral("Right"));
  EXPECT_NEAR(right.xMax, pt(1000), 1.5);
  const TWord japanese = find(QStringLiteral("日本語の帳票"));
  EXPECT_NEAR((japanese.xMin + japanese.xMax) / 2, pt(1000), 1.5);
  EXPECT_NEAR(japanese.yMin, pt(700), 4);
  const TWord moved = find(QStringLiteral("Moved"));
  EXPECT_NEAR(moved.yMin, pt(1000), 4);
  const TWord second = find(QStringLiteral("Second"));
  EXPECT_EQ(second.page, 2);
  EXPECT_NEAR(second.xMin, pt(500), 1.5);
  EXPECT_NEAR(second.yMin, pt(1500), 4);
}

// Spread, condensed and boxed text on a PDF page, read back.
TEST_F(PrintOutput, SpreadCondensedAndBoxedTextOnPdf)
{
  if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
    GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  const QString pdf = tmp.file(QStringLiteral("text.pdf"));
  TVDBPrint vdb(TPrinterSource::PdfOnly);
  vdb.SetPaperSize(9);
  vdb.SetPdfName(pdf);
  QPrinter& printer = vdb.Printer();
  printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
  {
    TPrinterCanvas canvas(printer);
    const double r = canvas.Dpi() / 254.0;
    TPrintTextFile f;
    f.AssignText(
        QStringLiteral("UTEXT;200;300;WXYZ;ＭＳ 明朝;12;;黒;OFF;;800;0;\n"
                       "TEXT;200;600;CONDENSEDTEXT;ＭＳ 明朝;12;C;黒;OFF;;150;0;\n"
                       "MEMO;200;900;700;1500;alpha beta gamma delta epsilon zeta eta theta;1;ＭＳ 明朝;12;;黒;\n"
                       "E;\n"));
    ImageOut(QStringLiteral("DAT"), f, canvas, canvas.Dpi(), r, r, 10, false, 0, 0, 0);
    canvas.End();
  }
  const QList<TWord> words = pdfWords(pdf);
  auto find = [&](const QString& text) -> TWord {
    for (const TWord& w : words)
      if (w.text == text)
        return w;
    QStringList all;
    for (const TWord& w : words)
      all << w.text;
    ADD_FAILURE() << "no word " << text.toStdString() << " in " << all.join(u'|').toStdString();
    return {};
  };
  // The four letters stand apart over the 80 mm, the last one ending there.
  EXPECT_NEAR(find(QStringLiteral("W")).xMin, pt(200), 1.5);
  EXPECT_NEAR(find(QStringLiteral("Z")).xMax, pt(1000), 2);
  // The condensed letters all lie within their 15 mm.
  double condensedRight = 0;
  for (const TWord& w : words)
    if (w.yMin > pt(550) && w.yMax < pt(750))
      condensedRight = std::max(condensedRight, w.xMax);
  EXPECT_GT(condensedRight, pt(300));
  EXPECT_LT(condensedRight, pt(360));
  // The boxed text wraps onto more than one row, every row inside the box.
  const TWord alpha = find(QStringLiteral("alpha"));
  const TWord theta = find(QStringLiteral("theta"));
  EXPECT_NEAR(alpha.xMin, pt(200), 1.5);
  EXPECT_GT(theta.yMin, alpha.yMin + 5);
  for (const TWord& w : words)
    if (w.yMin > pt(850))
      EXPECT_LT(w.xMax, pt(705)) << w.text.toStdString();
}

// A tint darkens what lies under it without hiding it.
TEST_F(PrintOutput, TintsDarkenOnAnImage)
{
  QImage screen(500, 500, QImage::Format_RGB32);
  screen.fill(Qt::white);
  {
    TImageCanvas canvas(screen);
    TPrintTextFile f;
    f.AssignText(QStringLiteral("FRECT;100;100;300;300;青;0;\nFRECT;200;200;400;400;赤;2;\nE;\n"));
    ImageOut(QStringLiteral("DAT"), f, canvas, 254, 1, 1, 10, false, 0, 0, 0);
  }
  EXPECT_EQ(screen.pixel(150, 150), qRgb(0, 0, 255));
  EXPECT_EQ(screen.pixel(250, 250), qRgb(0, 0, 0));  // blue under red: darker, not red
  EXPECT_EQ(screen.pixel(350, 350), qRgb(255, 0, 0));
  EXPECT_EQ(screen.pixel(450, 450), qRgb(255, 255, 255));
}

TEST_F(PrintOutput, ColoursOnAnImage)
{
  struct Case {
    QString color, kind;
    bool grayScale, formPrint;
    QRgb pixel;
  } cases[] = {
      {"赤", "DAT", false, true, qRgb(255, 0, 0)},         {"青", "DAT", false, true, qRgb(0, 0, 255)},
      {"赤", "DAT", true, true, qRgb(0x4C, 0x4C, 0x4C)},   {"黒", "DAT", true, true, qRgb(0, 0, 0)},
      {"赤", "FOM", false, false, qRgb(0xE6, 0xE6, 0xE6)}, {"赤", "FOM", false, true, qRgb(255, 0, 0)},
      {"9", "DAT", false, true, qRgb(255, 0, 0)},          {"OCRORANGE", "DAT", false, true, qRgb(0xFE, 0xB3, 0x41)},
  };
  for (const Case& c : cases) {
    P360Def.GrayScale = c.grayScale;
    P360Def.FORMPRINT = c.formPrint;
    QImage image(400, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
      TImageCanvas canvas(image);
      TPrintTextFile f;
      f.AssignText(QStringLiteral("FRECT;100;100;300;300;%1;0;\nBOX;500;500;700;700;0;5;黒;%1;0;\nE;\n").arg(c.color));
      ImageOut(c.kind, f, canvas, 96, 0.5, 0.5, 10, false, 0, 0, 0);
    }
    const QString what = c.color + u' ' + c.kind;
    EXPECT_EQ(image.pixel(100, 100), c.pixel) << what.toStdString();
    EXPECT_EQ(image.pixel(300, 300), c.pixel) << what.toStdString();
    EXPECT_EQ(image.pixel(20, 20), qRgb(255, 255, 255)) << what.toStdString();
    EXPECT_EQ(image.pixel(160, 100), qRgb(255, 255, 255)) << what.toStdString();
  }
}

TEST_F(PrintOutput, ZoomAndBackgroundFillsOnAnImage)
{
  QImage image(400, 400, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    TImageCanvas canvas(image);
    TPrintTextFile f;
    // The yellow fill comes after the blue one in the file but lies under it.
    f.AssignText(QStringLiteral("FRECT;0;0;200;200;青;0;\nFRECT;0;0;400;400;黄;1;\nE;\n"));
    ImageOut(QStringLiteral("DAT"), f, canvas, 96, 0.5, 0.5, 20, false, 0, 0, 0);
  }
  // Zoom 20 draws at twice the size.
  EXPECT_EQ(image.pixel(150, 150), qRgb(0, 0, 255));
  EXPECT_EQ(image.pixel(250, 250), qRgb(255, 255, 0));
  EXPECT_EQ(image.pixel(399, 399), qRgb(255, 255, 0));
}

}  // namespace
