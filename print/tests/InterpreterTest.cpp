#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include "platform/Exceptions.h"
#include "print/Print360Engine.h"
#include "print/Print360Form.h"
#include "print/Print360ImageOut.h"
#include "print/Print360Page.h"
#include "print/Print360Record.h"
#include "print/Print360Vdb.h"
#include "print/PrintCanvas.h"
#include "tests/support/TempDir.h"

namespace {

// A fresh job: default settings, the PDF output as the printer, no ratios.
class Interpreter : public ::testing::Test {
 protected:
  void SetUp() override
  {
    qputenv("HOME", tmp.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", tmp.file(".config").toLocal8Bit());
    P360DefReset();
    ResetPrintJobState();
    VdbPrint = std::make_unique<TVDBPrint>(TPrinterSource::PdfOnly);
    VdbPrint->SetPaperSize(9);
  }
  void TearDown() override { VdbPrint.reset(); }

  // Draws every page of the text on a recording canvas (XR = YR = 1, so
  // device units are tenths of a millimetre) and returns the drawing calls
  // of each page.
  QList<QStringList> draw(const QString& text, const QString& kind = QStringLiteral("DAT"), bool printer = false,
                          int formPage = 0)
  {
    TPrintTextFile f;
    f.AssignText(text);
    QList<QStringList> pages;
    for (int guard = 0; guard < 100; ++guard) {
      TRecordingCanvas canvas(printer);
      canvas.Font.Height = -20;
      const bool last = ImageOut(kind, f, canvas, 254, 1.0, 1.0, 10, false, formPage, 0, 0);
      QStringList calls;
      for (const QString& c : canvas.Calls)
        if (!c.startsWith(QLatin1String("ZOOM")))
          calls << c;
      pages << calls;
      if (last)
        break;
    }
    return pages;
  }

  QString writeFile(const QString& name, const QString& text)
  {
    QFile f(tmp.file(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.toUtf8());
    return tmp.file(name);
  }

  QStringList logLines()
  {
    QFile f(ErrorLogPath());
    if (!f.open(QIODevice::ReadOnly))
      return {};
    return QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
  }

  TestTempDir tmp;
};

QString textAt(const QStringList& calls, int i)
{
  return i < calls.size() ? calls[i].section(u' ', 0, 2) : QString();
}

TEST_F(Interpreter, ColourWordsNumbersAndSettings)
{
  P360Def.UserColor1 = 0x123456;
  P360Def.NETCOLOR2 = 0x654321;
  struct Case {
    QString field;
    TColor color;
  } cases[] = {
      {"黒", 0x000000},
      {"栗", 0x000080},
      {"暗青緑", 0x808000},
      {"黄", 0x00FFFF},
      {"薄網掛", 0xC0C0C0},
      {"濃網掛", 0x654321},
      {"ucolor1", 0x123456},
      {"OcrOrange", 0x41B3FE},
      {"OCRPURPLE", 0x741A82},
      {"0", 0x000000},
      {"1", 0x000080},
      {"10", 0x00FF00},
      {"15", 0x00FFFF},
      {"16", TColor(0xFF000001u)},
      {"35", TColor(0xFF000014u)},
      {"36", 36},
      {"40", 0xC0C0C0},
      {"41", 0x654321},
      {"42", 0x123456},
      {"12345678", 12345678},
      {"", 0},
      {"何か", 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ColorOfName(c.field, QStringLiteral("DAT")), c.color) << c.field.toStdString();

  // A form that is not printed is drawn faintly.
  P360Def.FORMPRINT = false;
  EXPECT_EQ(ColorOfName(QStringLiteral("赤"), QStringLiteral("FOM")), 0xE6E6E6);
  EXPECT_EQ(ColorOfName(QStringLiteral("白"), QStringLiteral("SUBFORM")), 0xFFFFFF);
  EXPECT_EQ(ColorOfName(QStringLiteral("赤"), QStringLiteral("DAT")), 0x0000FF);

  P360Def.GrayScale = true;
  EXPECT_EQ(ColorOfName(QStringLiteral("赤"), QStringLiteral("DAT")), 0x4C4C4C);
  EXPECT_EQ(ColorOfName(QStringLiteral("黒"), QStringLiteral("DAT")), 0x000000);
  EXPECT_EQ(ColorOfName(QStringLiteral("白"), QStringLiteral("DAT")), 0xFFFFFF);
  EXPECT_EQ(ColorOfName(QStringLiteral("青"), QStringLiteral("DAT")), 0x1D1D1D);

  EXPECT_EQ(BackColorOfName(QStringLiteral("1")), 1);
  EXPECT_EQ(BackColorOfName(QStringLiteral("OFF")), 1);
  EXPECT_EQ(BackColorOfName(QStringLiteral("ON")), 0xFFFFFF);
  for (const char* f : {"CENTER", "1"})
    EXPECT_EQ(AlignOfName(QLatin1String(f)), 1);
  for (const char* f : {"RIGHT", "2", "BOTTOM"})
    EXPECT_EQ(AlignOfName(QLatin1String(f)), 2);
  for (const char* f : {"LEFT", "right", "", "3"})
    EXPECT_EQ(AlignOfName(QLatin1String(f)), 0);
}

TEST_F(Interpreter, PaperSizesAndRatios)
{
  struct Size {
    int paper, w, h;
  } sizes[] = {{8, 297, 420},  {9, 210, 297},  {11, 148, 210}, {12, 250, 354}, {13, 182, 257}, {16, 254, 356},
               {17, 280, 432}, {44, 229, 280}, {45, 254, 280}, {46, 381, 280}, {90, 305, 280}};
  for (const Size& s : sizes) {
    int w = 0, h = 0;
    GetPaperSizeMM(s.paper, w, h);
    EXPECT_EQ(w, s.w);
    EXPECT_EQ(h, s.h);
  }
  EXPECT_EQ(PaperState, 0);
  int w = 0, h = 0;
  GetPaperSizeMM(256, w, h);
  EXPECT_EQ(PaperState, 2);
  EXPECT_GT(w, 0);
  EXPECT_GT(h, 20);

  struct Ratio {
    int settings, printer;
    double v, h;
  } ratios[] = {{8, 9, 707, 707},   {8, 12, 843, 842},   {9, 11, 707, 705},   {9, 13, 865, 867},
                {12, 13, 726, 728}, {12, 9, 839, 840},   {13, 9, 1156, 1154}, {9, 12, 1192, 1190},
                {9, 8, 1414, 1414}, {12, 8, 1186, 1188}, {9, 9, 990, 1010},   {11, 9, 0, 0}};
  P360Def.V_RATIO = 990;
  P360Def.H_RATIO = 1010;
  for (const Ratio& r : ratios) {
    P360Def.PaperSize = r.settings;
    VdbPrint->SetPaperSize(r.printer);
    SetPaperRatios();
    EXPECT_EQ(VRatio, r.v) << r.settings << "->" << r.printer;
    EXPECT_EQ(HRatio, r.h) << r.settings << "->" << r.printer;
  }
  // A new job starts from known paper and no ratios.
  ResetPrintJobState();
  EXPECT_EQ(PaperState, 0);
  EXPECT_EQ(VRatio, 0);
  EXPECT_EQ(HRatio, 0);
}

TEST_F(Interpreter, FieldCursorAndPageNumberFormats)
{
  const QString line = QStringLiteral("text;1;;x");
  EXPECT_EQ(FirstField(line), QStringLiteral("TEXT"));
  EXPECT_EQ(NextField(line), QStringLiteral("1"));
  EXPECT_EQ(NextField(line), QString());
  EXPECT_EQ(NextField(line), QStringLiteral("x"));
  EXPECT_EQ(NextField(line), QString());
  EXPECT_EQ(NextInt(line, 7), 7);

  EXPECT_EQ(P360FormatPageNumber(QStringLiteral("(%d/%d)"), {2, 3}), QStringLiteral("(2/3)"));
  EXPECT_EQ(P360FormatPageNumber(QStringLiteral("- %3d -"), {7}), QStringLiteral("-   7 -"));
  EXPECT_EQ(P360FormatPageNumber(QStringLiteral("%03d%%"), {7}), QStringLiteral("007%"));
  EXPECT_THROW(P360FormatPageNumber(QStringLiteral("%d/%d"), {1}), EConvertError);
  EXPECT_THROW(P360FormatPageNumber(QStringLiteral("%s"), {1}), EConvertError);
  EXPECT_THROW(P360FormatPageNumber(QStringLiteral("50%"), {1}), EConvertError);
}

TEST_F(Interpreter, PageEndsAndLineCleaning)
{
  auto pages = draw(QStringLiteral("TEXT;10;20;\"a\"b;;10;;黒;1;;0;0;\r\nE;\r\nTEXT;30;40;last;;10;;黒;1\r\n"));
  ASSERT_EQ(pages.size(), 2);
  EXPECT_EQ(textAt(pages[0], 0), QStringLiteral("TEXT 10,20 ab"));
  // A record without its trailing ";" keeps its last field.
  ASSERT_EQ(pages[1].size(), 1);
  EXPECT_TRUE(pages[1][0].endsWith(QLatin1String("bk=-"))) << pages[1][0].toStdString();

  // An over-long record is logged and left out; the rest of the page is drawn.
  const QString longText = QString(40000, u'x');
  pages = draw(QStringLiteral("TEXT;1;1;%1;;10;;黒;1;;0;0;\nTEXT;2;2;b;;10;;黒;1;;0;0;\n").arg(longText));
  ASSERT_EQ(pages[0].size(), 1);
  EXPECT_EQ(textAt(pages[0], 0), QStringLiteral("TEXT 2,2 b"));
  EXPECT_TRUE(logLines().last().endsWith(QLatin1String("ImageOut.(TEXT):record too long, not drawn")));

  TPrintTextFile f;
  TRecordingCanvas canvas;
  f.AssignText(QStringLiteral("E;\r\n"));
  EXPECT_FALSE(ImageOut("DAT", f, canvas, 254, 1, 1, 10, false, 0, 0, 0));
  EXPECT_TRUE(ImageOut("DAT", f, canvas, 254, 1, 1, 10, false, 0, 0, 0));
  EXPECT_EQ(canvas.Calls, (QStringList{"ZOOM 10", "ZOOM 10"}));
}

TEST_F(Interpreter, MarginRecordsAddToTheSavedMargin)
{
  CurLeftMargin = 100;
  auto pages =
      draw(QStringLiteral("LEFTMARGIN;50;\nLEFTMARGIN;30;\nTEXT;10;20;a;;10;;黒;1;;0;0;\nLEFTMARGIN;0;\n"
                          "TEXT;10;20;b;;10;;黒;1;;0;0;\nE;\nTEXT;10;20;c;;10;;黒;1;;0;0;\nE;\n"));
  ASSERT_EQ(pages.size(), 3);
  EXPECT_EQ(textAt(pages[0], 0), QStringLiteral("TEXT 140,20 a"));
  EXPECT_EQ(textAt(pages[0], 1), QStringLiteral("TEXT 140,20 b"));
  EXPECT_EQ(textAt(pages[1], 0), QStringLiteral("TEXT 110,20 c"));
  EXPECT_EQ(CurLeftMargin, 100);
}

TEST_F(Interpreter, TextPlacement)
{
  // On the recording canvas a half-width unit is half the font height wide;
  // 10 points at 254 dpi are 35 units high.
  struct Case {
    QString records;
    QStringList texts;
  } cases[] = {
      {"TEXT;1000;500;ab;;10;;黒;1;;0;0;", {"TEXT 1000,500 ab"}},
      {"TEXT;1000;500;ab;;10;;黒;1;RIGHT;0;0;", {"TEXT 965,500 ab"}},
      {"TEXT;1000;500;ab;;10;;黒;1;CENTER;0;0;", {"TEXT 982,500 ab"}},
      {"TEXT;1000;500;ab;;10;;黒;1;LEFT;0;1;", {"TEXT 992,483 ab"}},
      {"TEXT;100;500;ab;;10;;黒;1;;0;0;\nTEXT;0;700;c;;10;;黒;1;;0;0;\nTEXT;300;0;d;;10;;黒;1;;0;0;",
       {"TEXT 100,500 ab", "TEXT 135,700 c", "TEXT 300,700 d"}},
      {"TEXT;100;200;a\t\tb;;10;;黒;1;;0;0;", {"TEXT 100,200 a", "TEXT 100,270 b"}},
      {"NTEXT;100;200;x;;abc;;黒;1;;0;0;", {"TEXT 100,200 x"}},
      {"TEXT;100;200;;;10;;黒;1;;0;0;", {}},
  };
  for (const Case& c : cases) {
    const QStringList calls = draw(c.records + QStringLiteral("\n"))[0];
    QStringList texts;
    for (int i = 0; i < calls.size(); ++i)
      texts << textAt(calls, i);
    EXPECT_EQ(texts, c.texts) << c.records.toStdString();
  }
  // A double underline draws the text's width in spaces 0.4 mm lower.
  const QStringList du = draw(QStringLiteral("TEXT;100;200;abc;;10;DU;黒;1;;0;0;\n"))[0];
  ASSERT_EQ(du.size(), 2);
  EXPECT_TRUE(du[0].startsWith(QStringLiteral("TEXT 100,204     font=ＭＳ 明朝/-35/U/"))) << du[0].toStdString();
  EXPECT_TRUE(du[1].startsWith(QStringLiteral("TEXT 100,200 abc font=ＭＳ 明朝/-35/U/"))) << du[1].toStdString();
  // Styles, colours and backgrounds of the record; reset after it.
  const QStringList styled =
      draw(QStringLiteral("TEXT;1;2;s;ＭＳ ゴシック;20;bi;赤;白;;0;0;\nTEXT;1;2;t;;10;UB;12;ON;;0;0;\n"))[0];
  ASSERT_EQ(styled.size(), 2);
  EXPECT_TRUE(styled[0].endsWith(QStringLiteral("font=ＭＳ ゴシック/-71/BI/0000FF bk=FFFFFF")))
      << styled[0].toStdString();
  EXPECT_TRUE(styled[1].endsWith(QStringLiteral("font=ＭＳ 明朝/-35//FF00FF bk=FFFFFF"))) << styled[1].toStdString();
}

TEST_F(Interpreter, PageOriginCorrectionsAndRatios)
{
  CurLeftMargin = 100;
  CurTopMargin = 50;
  EvenPageShift = 30;
  P360Def.LHOSEI = 7;
  P360Def.THOSEI = 3;
  P360Def.FORM_LHOSEI = 20;
  P360Def.FORM_THOSEI = 10;
  struct Case {
    QString kind;
    bool printer, even;
    double ratio;
    QString text;
  } cases[] = {
      {"DAT", false, false, 0, "TEXT 110,70 a"},     {"DAT", true, false, 0, "TEXT 117,73 a"},
      {"FOM", false, false, 0, "TEXT 130,80 a"},     {"FOM", true, false, 0, "TEXT 137,83 a"},
      {"DAT", false, true, 0, "TEXT 140,70 a"},      {"SUBFORM", true, false, 0, "TEXT 117,73 a"},
      {"DAT", false, false, 500, "TEXT 55,35 a"},    {"DAT", false, false, 1000, "TEXT 110,70 a"},
      {"FOM", false, false, 2000, "TEXT 260,160 a"},
  };
  for (const Case& c : cases) {
    VRatio = HRatio = c.ratio;
    TPrintTextFile f;
    f.AssignText(QStringLiteral("TEXT;10;20;a;;10;;黒;1;;0;0;\n"));
    TRecordingCanvas canvas(c.printer);
    ImageOut(c.kind, f, canvas, 254, 1, 1, 10, c.even, 0, 0, 0);
    ASSERT_EQ(canvas.Calls.size(), 2);
    EXPECT_EQ(textAt(canvas.Calls, 1), c.text) << c.kind.toStdString() << c.printer << c.even << " " << c.ratio;
  }
  // A sub-form that is not printed is not scaled.
  P360Def.FORMPRINT = false;
  VRatio = HRatio = 500;
  TPrintTextFile f;
  f.AssignText(QStringLiteral("TEXT;10;20;a;;10;;黒;1;;0;0;\n"));
  TRecordingCanvas canvas;
  ImageOut(QStringLiteral("SUBFORM"), f, canvas, 254, 1, 1, 10, false, 0, 0, 0);
  EXPECT_EQ(textAt(canvas.Calls, 1), QStringLiteral("TEXT 110,70 a"));
}

TEST_F(Interpreter, BackgroundFillsComeFirst)
{
  auto pages =
      draw(QStringLiteral("TEXT;10;20;a;;10;;黒;1;;0;0;\nFRECT;0;0;100;100;赤;1;\nFRECT;0;0;50;50;青;0;\nE;\n"));
  ASSERT_EQ(pages[0].size(), 3);
  EXPECT_TRUE(pages[0][0].startsWith(QLatin1String("FILL 0,0 100,100 brush=0000FF")));
  EXPECT_TRUE(pages[0][1].startsWith(QLatin1String("TEXT 10,20 a")));
  EXPECT_TRUE(pages[0][2].startsWith(QLatin1String("FILL 0,0 50,50 brush=FF0000")));
}

TEST_F(Interpreter, FormsThatAreNotPrinted)
{
  P360Def.FORMPRINT = false;
  auto preview = draw(QStringLiteral("TEXT;10;20;f;;10;;赤;1;;0;0;\nE;\n"), QStringLiteral("FOM"));
  EXPECT_TRUE(preview[0][0].contains(QLatin1String("/E6E6E6 "))) << preview[0][0].toStdString();

  const QString form = writeFile("form.frm", QStringLiteral("TEXT;1;2;sub;;10;;黒;1;;0;0;\nE;\n"));
  const QString data = QStringLiteral("FORM;%1;FALSE;100;200;\nE;\n").arg(form);
  EXPECT_TRUE(draw(data, QStringLiteral("DAT"), true)[0].isEmpty());
  auto onScreen = draw(data);
  ASSERT_EQ(onScreen[0].size(), 1);
  // The sub-form is drawn at its origin, faintly, and unscaled.
  EXPECT_EQ(textAt(onScreen[0], 0), QStringLiteral("TEXT 101,202 sub"));
  EXPECT_TRUE(onScreen[0][0].contains(QLatin1String("/E6E6E6 ")));
}

TEST_F(Interpreter, FormsThatIncludeThemselvesAreReported)
{
  const QString self = tmp.file("self.frm");
  writeFile("self.frm", QStringLiteral("TEXT;1;1;s;;10;;黒;1;;0;0;\nFORM;%1;FALSE;10;10;\nE;\n").arg(self));
  auto pages = draw(QStringLiteral("FORM;%1;FALSE;0;0;\nE;\n").arg(self));
  EXPECT_EQ(pages[0].size(), 1);
  const QStringList log = logLines();
  ASSERT_FALSE(log.isEmpty());
  EXPECT_TRUE(log.last().contains(QLatin1String("ImageOut.(FORM):"))) << log.last().toStdString();
  EXPECT_TRUE(log.last().contains(QLatin1String("includes itself")));

  // A chain of forms deeper than the limit stops at the limit.
  QString next;
  for (int i = SubFormDepthLimit + 3; i >= 1; --i) {
    const QString name = QStringLiteral("chain%1.frm").arg(i);
    writeFile(name, QStringLiteral("TEXT;0;0;%1;;10;;黒;1;;0;0;\n").arg(i) +
                        (next.isEmpty() ? QString() : QStringLiteral("FORM;%1;FALSE;0;0;\n").arg(next)));
    next = tmp.file(name);
  }
  auto chain = draw(QStringLiteral("FORM;%1;FALSE;0;0;\nE;\n").arg(next));
  EXPECT_EQ(chain[0].size(), SubFormDepthLimit);
  EXPECT_TRUE(logLines().last().contains(QLatin1String("nested more than")));
}

TEST_F(Interpreter, MessagesOnPaperOnly)
{
  draw(QStringLiteral("MESSAGE;用紙を入れてください;\n"), QStringLiteral("DAT"), true);
  EXPECT_EQ(PrintMessageText, QStringLiteral("用紙を入れてください"));
  draw(QStringLiteral("MESSAGE;x;\n"));
  EXPECT_EQ(PrintMessageText, QString());
}

TEST_F(Interpreter, AutomaticPageNumbers)
{
  P360Def.PageBango.Switch = true;
  P360Def.PageBango.ParamCount = 2;
  P360Def.PageBango.Left = 1000;
  P360Def.PageBango.Top = 2800;
  P360Def.PageBango.Alignment = 0;
  PageNumberList = QStringList{"1", "0", "2"};
  NumberedPages = 2;
  const QString page = QStringLiteral("TEXT;10;20;a;;10;;黒;1;;0;0;\nTEXT;10;30;b;;10;;黒;1;;0;0;\nE;\n");
  struct Case {
    int pageNo;
    QString number;
  } cases[] = {{1, "(1/2)"}, {2, QString()}, {3, "(2/2)"}, {4, QString()}};
  for (const Case& c : cases) {
    CurPageNo = c.pageNo;
    auto pages = draw(page);
    const QString joined = pages[0].join(u'\n');
    if (c.number.isEmpty()) {
      EXPECT_EQ(pages[0].size(), 2) << joined.toStdString();
    } else {
      ASSERT_EQ(pages[0].size(), 3) << joined.toStdString();
      EXPECT_EQ(textAt(pages[0], 0), QStringLiteral("TEXT 1000,2800 ") + c.number);
    }
  }
  // A last page holding only an orientation or a line record gets no number.
  CurPageNo = 1;
  EXPECT_TRUE(draw(QStringLiteral("ORIENTATION;1;\n"))[0].isEmpty());
  EXPECT_EQ(draw(QStringLiteral("LINE;0;0;10;10;1;0;黒;\n"))[0].size(), 1);
  EXPECT_EQ(draw(QStringLiteral("TEXT;10;20;a;;10;;黒;1;;0;0;\n"))[0].size(), 2);
}

TEST_F(Interpreter, FieldValuesOnTheFormsFields)
{
  const QString form = writeFile("fields.frm", QStringLiteral("&;100;200;name;;10;;黒;1;;0;1;0;\n"
                                                              "&;100;300;NAME;;10;;黒;1;;0;0;0;\n"
                                                              "&;0;0;行間;;0;;;;;50;0;0;\n"
                                                              "&;500;600;rows;;0;;黒;1;;0;0;0;\n"));
  HensuuYomikomi(form, 10, 20);
  auto pages =
      draw(QStringLiteral("@;name;first;0;;0;\n@;name;second;0;;0;\n@;ROWS;r1;0;;0;\n"
                          "@;rows;r2;0;;0;\n@;rows;r3;0;;0;\n@;none;x;0;;0;\nE;\n"
                          "@;name;next;0;;0;\nE;\n"));
  ASSERT_EQ(pages.size(), 3);
  // One value per page in a one-line field; the first definition of a name
  // wins; rows move down by the pitch.
  EXPECT_EQ(pages[0].size(), 4) << pages[0].join(u'\n').toStdString();
  EXPECT_EQ(textAt(pages[0], 0), QStringLiteral("TEXT 110,220 first"));
  EXPECT_EQ(textAt(pages[0], 1), QStringLiteral("TEXT 510,620 r1"));
  EXPECT_EQ(textAt(pages[0], 2), QStringLiteral("TEXT 510,670 r2"));
  EXPECT_EQ(textAt(pages[0], 3), QStringLiteral("TEXT 510,720 r3"));
  EXPECT_EQ(textAt(pages[1], 0), QStringLiteral("TEXT 110,220 next"));
  // Rows beyond the page-height limit (A4: 287 mm) are all drawn at the limit.
  const QString deep =
      writeFile("deep.frm", QStringLiteral("&;0;0;行間;;0;;;;;1000;0;0;\n&;100;500;ROW;;10;;黒;1;;0;0;0;\n"));
  HensuuYomikomi(deep, 0, 0);
  auto rows = draw(QStringLiteral("@;row;a;0;;0;\n@;row;b;0;;0;\n@;row;c;0;;0;\n@;row;d;0;;0;\nE;\n"));
  QStringList placed;
  for (int i = 0; i < rows[0].size(); ++i)
    placed << textAt(rows[0], i);
  EXPECT_EQ(placed, (QStringList{"TEXT 100,500 a", "TEXT 100,1500 b", "TEXT 100,2500 c", "TEXT 100,2870 d"}));
  HensuuYomikomi(form, 10, 20);
  // A form page beyond the tables finds no field.
  EXPECT_TRUE(draw(QStringLiteral("@;name;x;0;;0;\nE;\n"), QStringLiteral("DAT"), false, 5)[0].isEmpty());
}

}  // namespace

namespace {

class TextRecords : public Interpreter {};

// Each case's drawing calls, cut to what the case is about.
TEST_F(TextRecords, SpreadVerticalCondensedAndBoxedText)
{
  struct Case {
    const char* what;
    QString records;
    QStringList calls;  // the first three words of every call
  } cases[] = {
      // A half-width last character: the free width over n - 1 units.
      {"utext half-width",
       "UTEXT;100;200;abcd;;10;;黒;1;;400;0;",
       {"TEXT 100,200 a", "TEXT 228,200 b", "TEXT 355,200 c", "TEXT 483,200 d"}},
      // A full-width last character: over n - 2 units, two units a step.
      {"utext full-width",
       "UTEXT;100;200;あいう;;10;;黒;1;;400;0;",
       {"TEXT 100,200 あ", "TEXT 282,200 い", "TEXT 465,200 う"}},
      {"utext one character", "UTEXT;100;200;あ;;10;;黒;1;;400;0;", {"TEXT 100,200 あ"}},
      // Two characters: the pitch is W less the first one's height; the
      // long-vowel mark in the vertical font one point smaller.
      {"vtext", "VTEXT;100;100;アー;;10;;黒;1;;300;0;", {"TEXT 100,100 ア", "TEXT 100,365 一"}},
      {"vtext three", "VTEXT;100;100;abc;;10;;黒;1;;300;0;", {"TEXT 100,100 a", "TEXT 100,232 b", "TEXT 100,364 c"}},
      {"vtext no room", "VTEXT;100;100;abc;;10;;黒;1;;20;0;", {"TEXT 100,100 abc"}},
      // A condensed text that fits is one piece; one that does not is set
      // character by character in a narrowed font.
      {"condensed fits", "TEXT;100;200;ab;;10;C;黒;1;;500;0;", {"TEXT 100,200 ab"}},
      {"condensed narrowed",
       "TEXT;100;200;abcdef;;10;C;黒;1;;50;0;",
       {"TEXT 100,200 a", "TEXT 108,200 b", "TEXT 117,200 c", "TEXT 125,200 d", "TEXT 134,200 e", "TEXT 142,200 f"}},
      // The frame 0.5 mm outside the box; rows that would reach the bottom
      // row of the box are dropped.
      {"memo",
       "MEMO;100;100;300;200;abcdefghijklmnop;1;;10;;黒;",
       {"RECT 95,95 305,205", "TEXT 100,100 abcdefghijk", "TEXT 100,135 lmnop"}},
      {"memo no frame", "MEMO;100;100;300;300;ab;-1;;10;;黒;", {"TEXT 100,100 ab"}},
      {"marumoji", "MARUMOJI;500;500;100;大;;10;B;黒;", {"TEXT 482,482 大", "ELLIPSE 450,450 550,550"}},
      {"marumoji empty", "MARUMOJI;500;500;100;;;10;B;黒;", {}},
      {"marumoji2", "MARUMOJI2;500;500;100;1;;10;;黒;", {"TEXT 500,500 1", "ELLIPSE 498,498 598,598"}},
  };
  for (const Case& c : cases) {
    const QStringList calls = draw(c.records + u'\n')[0];
    QStringList got;
    for (int i = 0; i < calls.size(); ++i)
      got << textAt(calls, i);
    EXPECT_EQ(got, c.calls) << c.what << ": " << calls.join(QStringLiteral(" | ")).toStdString();
  }
}

// The start of a text aligned at a point, measured on the selected printer.
TEST_F(TextRecords, TextPositionOnThePrinter)
{
  const QString text = QStringLiteral("Amount 12,345");
  EXPECT_EQ(TextPosition(1000, QStringLiteral("LEFT"), QString(), 10, QString(), text), 1000);
  const int centre = TextPosition(1000, QStringLiteral("CENTER"), QString(), 10, QString(), text);
  const int right = TextPosition(1000, QStringLiteral("RIGHT"), QStringLiteral("B"), 10, QString(), text);
  EXPECT_LT(right, centre);
  EXPECT_LT(centre, 1000);
  EXPECT_NEAR(1000 - right, 2 * (1000 - centre), 8);
  // 13 characters of 10 points are some 20 to 50 mm wide.
  EXPECT_GT(1000 - right, 200);
  EXPECT_LT(1000 - right, 500);
  EXPECT_EQ(TextPosition(1000, QStringLiteral("RIGHT"), QString(), 10, QString(), QString()), 1000);
}

}  // namespace

namespace {

class ShapeRecords : public Interpreter {};

TEST_F(ShapeRecords, SeparatorLinesAndRoundedBoxes)
{
  struct Case {
    const char* what;
    QString records;
    QStringList calls;  // the first three words of every call
  } cases[] = {
      // One, two and three widths of "000" left of X, each one unit further.
      {"sline",
       "SLINE;1000;100;300;3;1;0;黒;;10;",
       {"LINE 947,100 947,300", "LINE 895,100 895,300", "LINE 843,100 843,300"}},
      {"sline none", "SLINE;1000;100;300;0;1;0;黒;;10;", {}},
      {"sline negative", "SLINE;1000;100;300;-4;1;0;黒;;10;", {}},
      {"rrect", "RRECT;100;100;300;200;20;30;1;0;黒;赤;0;", {"RRECT 100,100 300,200"}},
      // Moved with the base point like every other shape.
      {"rrect after bp", "BP;50;60;1;0;黒;\nRRECT;100;100;300;200;20;30;1;0;黒;赤;0;", {"RRECT 150,160 350,260"}},
  };
  for (const Case& c : cases) {
    const QStringList calls = draw(c.records + u'\n')[0];
    QStringList got;
    for (int i = 0; i < calls.size(); ++i)
      got << textAt(calls, i);
    EXPECT_EQ(got, c.calls) << c.what << ": " << calls.join(QStringLiteral(" | ")).toStdString();
  }
  // The corner ellipse one unit larger than the record's.
  const QStringList round = draw(QStringLiteral("RRECT;100;100;300;200;20;30;1;0;黒;赤;0;\n"))[0];
  ASSERT_EQ(round.size(), 1);
  EXPECT_TRUE(round[0].startsWith(QStringLiteral("RRECT 100,100 300,200 21,31 pen=1/0/000000 brush=0000FF/0")))
      << round[0].toStdString();
  // A huge count draws no more than the limit.
  const QStringList many = draw(QStringLiteral("SLINE;1000;100;300;2000000000;1;0;黒;;1;\n"))[0];
  EXPECT_EQ(many.size(), SeparatorLineLimit);
  // A dashed wide pen stays dashed.
  const QStringList pen = draw(QStringLiteral("SLINE;1000;100;300;1;3;1;赤;;10;\n"))[0];
  ASSERT_EQ(pen.size(), 1);
  EXPECT_TRUE(pen[0].endsWith(QStringLiteral("pen=3/1/0000FF"))) << pen[0].toStdString();
}

TEST_F(ShapeRecords, PicturesByTheirExtension)
{
  QImage picture(40, 20, QImage::Format_RGB32);
  picture.fill(Qt::red);
  const QString bmp = tmp.file(QStringLiteral("a.bmp"));
  const QString jpg = tmp.file(QStringLiteral("b.jpg"));
  const QString png = tmp.file(QStringLiteral("c.png"));
  const QString wmf = tmp.file(QStringLiteral("d.wmf"));
  ASSERT_TRUE(picture.save(bmp, "BMP"));
  ASSERT_TRUE(picture.save(jpg, "JPEG"));
  ASSERT_TRUE(picture.save(png, "PNG"));
  writeFile(QStringLiteral("d.wmf"), QStringLiteral("not a metafile"));
  const QString broken = writeFile(QStringLiteral("e.JPG"), QStringLiteral("not a picture"));
  QImage huge(3000, 3000, QImage::Format_RGB32);
  huge.fill(Qt::blue);
  const QString big = tmp.file(QStringLiteral("big.JPG"));
  ASSERT_TRUE(huge.save(big, "JPEG"));
  struct Case {
    QString record;
    QStringList calls;
  } cases[] = {
      {"IMAGE;100;100;500;300;" + bmp + ";0;", {"IMAGE 100,100 500,300 40x20"}},
      {"IMAGE;100;100;500;300;" + jpg + ";1;", {"IMAGE 100,100 500,300 40x20 and"}},
      {"IMAGE;100;100;500;300;" + png + ";0;", {}},
      {"IMAGE;100;100;500;300;" + wmf + ";0;", {}},
      {"IMAGE;100;100;500;300;" + broken + ";0;", {}},
      {"IMAGE;100;100;500;300;" + tmp.file(QStringLiteral("missing.bmp")) + ";0;", {}},
      // Decoded no larger than the rectangle it fills.
      {"IMAGE;100;100;200;200;" + big + ";0;", {"IMAGE 100,100 200,200 101x101"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(draw(c.record + u'\n')[0], c.calls) << c.record.toStdString();
  // The broken file and the metafile are reported; the missing file is not.
  const QString log = logLines().join(u'\n');
  EXPECT_TRUE(log.contains(QStringLiteral("e.JPG"))) << log.toStdString();
  EXPECT_TRUE(log.contains(QStringLiteral("d.wmf"))) << log.toStdString();
  EXPECT_FALSE(log.contains(QStringLiteral("missing.bmp"))) << log.toStdString();
}

}  // namespace
