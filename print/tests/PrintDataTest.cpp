#include <gtest/gtest.h>

#include <QFile>

#include "platform/SafeSave.h"
#include "print/Print360Data.h"
#include "print/Print360Engine.h"
#include "print/Print360Record.h"
#include "tests/support/TempDir.h"

namespace {

QByteArray readAll(const QString& path)
{
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::ReadOnly));
  return f.readAll();
}

TEST(PrintData, HeaderByteForByte)
{
  TestTempDir tmp;
  const QString file = tmp.file(QStringLiteral("job.TMP"));
  TP360Header h;
  h.Path = P360HeaderPath(file);
  h.Date = QStringLiteral("2026/12/11");
  h.Title = QStringLiteral("データ一覧");
  h.PaperSize = 9;
  h.Orientation = 1;
  h.TopMargin = 50;
  h.LeftMargin = 60;
  h.FormTopMargin = -5;
  h.FormLeftMargin = 7;
  h.NetColor1 = clSilver;
  h.NetColor2 = 0;
  h.UserColor1 = 0x0000FF;
  h.UserColor2 = TColor(0xFF000005u);
  h.Copies = 2;
  h.PageNoSwitch = true;
  h.PageNoLeft = 1000;
  h.PageNoTop = 2800;
  h.PageNoAlignment = 1;
  {
    TPrintDataFile out(file);
    out.WriteHeader(h);
    out.WriteLine(QStringLiteral("E;"));
    out.Close();
  }
  const QByteArray expected = QStringLiteral(
                                  "*PRINT360*□************************************************************\r\n"
                                  "*[SETTING]\r\n"
                                  "*PATH=%1\r\n"
                                  "*VERSION=VCL.2.5\r\n"
                                  "*DATE=2026/12/11\r\n"
                                  "*TITLE=データ一覧\r\n"
                                  "*FORMFILE=\r\n"
                                  "*PAPERSIZE=9\r\n"
                                  "*OUTPUTPAPER=0\r\n"
                                  "*ORIENTATION=1\r\n"
                                  "*TOPMARGIN=50\r\n"
                                  "*LEFTMARGIN=60\r\n"
                                  "*FORMTOPMARGIN=-5\r\n"
                                  "*FORMLEFTMARGIN=7\r\n"
                                  "*NETC1=$C0C0C0\r\n"
                                  "*NETC2=$000000\r\n"
                                  "*USERC1=$0000FF\r\n"
                                  "*USERC2=$FF000005\r\n"
                                  "*FORMPRINT=TRUE\r\n"
                                  "*COPIES=2\r\n"
                                  "*PAGENOSWITCH=TRUE\r\n"
                                  "*PAGENOLEFT=1000\r\n"
                                  "*PAGENOTOP=2800\r\n"
                                  "*PAGENOALIGNMENT=1\r\n"
                                  "*PAGENOFORMAT=(%d/%d)\r\n"
                                  "*************************************************************PRINT360*\r\n"
                                  "E;\r\n")
                                  .arg(tmp.path())
                                  .toUtf8();
  EXPECT_EQ(readAll(file), expected);
  const QStringList lines = P360HeaderLines(h);
  ASSERT_EQ(lines.size(), 26);
  EXPECT_EQ(lines.first().size(), 71);
  EXPECT_EQ(lines.last().size(), 70);
  EXPECT_TRUE(IsPrintDataLine(lines.first()));
  EXPECT_FALSE(IsPrintDataLine(QStringLiteral("*PRINT36")));
  EXPECT_EQ(P360HeaderValue(lines, QStringLiteral("*PAPERSIZE=")), QStringLiteral("9"));
  EXPECT_EQ(P360HeaderValue(lines, QStringLiteral("*NOSUCH=")), QString());
  EXPECT_EQ(P360HeaderPath(QStringLiteral("/job.TMP")), QStringLiteral("/"));
  // Today's date when none is given.
  EXPECT_TRUE(P360HeaderLines(TP360Header())[4].startsWith(QStringLiteral("*DATE=20")));
}

TEST(PrintData, RecordsAsWritten)
{
  const QString k = QStringLiteral("黒");
  struct Case {
    QString line, expected;
  } cases[] = {
      {P360TextRecord("TEXT", 100, 200, "a;b", "ＭＳ 明朝", 10, "B", k, "ON", "right", 0, 1),
       "TEXT;100;200;a:b;ＭＳ 明朝;10;B;黒;1;RIGHT;0;1;"},
      {P360TextRecord("TEXT", 1, 2, "a:b", "f", 9, "", k, "OFF", "Center", 5, 0), "TEXT;1;2;a:b;f;9;;黒;1;CENTER;5;0;"},
      {P360TextRecord("UTEXT", 1, 2, "x", "f", 9, "", k, "白", "LEFT", 500, 1), "UTEXT;1;2;x;f;9;;黒;白;LEFT;500;1;"},
      {P360TextRecord("TEXT", 1, 2, "行1\r\n行2\n行3\r", "f", 9, "", k, "1", "2", 0, 0),
       "TEXT;1;2;行1 行2 行3 ;f;9;;黒;1;2;0;0;"},
      {P360MemoRecord(1, 2, 3, 4, "m;m", -1, "f", 9, "", k, "OFF"), "MEMO;1;2;3;4;m:m;-1;f;9;;黒;1;"},
      {P360MarumojiRecord("MARUMOJI2", 1, 2, 30, "済", "f", 9, "B", k), "MARUMOJI2;1;2;30;済;f;9;B;黒;"},
      {P360LineRecord(true, 1, 2, 3, 4, 5, 0, k), "ELINE;1;2;3;4;5;0;黒;"},
      {P360LineRecord(false, 1, 2, 3, 4, 5, 1, k), "LINE;1;2;3;4;5;1;黒;"},
      {P360BPRecord(1, 2, 3, 0, k), "BP;1;2;3;0;黒;"},
      {P360LineBRecord(-1, 2), "LINEB;-1;2;"},
      {P360SLineRecord(1, 2, 3, 4, 5, 0, k, "f", 9), "SLINE;1;2;3;4;5;0;黒;f;9;"},
      {P360BoxRecord("CIRCLE", 1, 2, 3, 4, 5, 0, k, "白", 1), "CIRCLE;1;2;3;4;5;0;黒;白;1;"},
      {P360RRectRecord(1, 2, 3, 4, 5, 6, 7, 0, k, "白", 1), "RRECT;1;2;3;4;5;6;7;0;黒;白;1;"},
      {P360FRectRecord(1, 2, 3, 4, "薄網掛", 1), "FRECT;1;2;3;4;薄網掛;1;"},
      {P360ImageRecord(1, 2, 3, 4, "/p/a.BMP", 0), "IMAGE;1;2;3;4;/p/a.BMP;0;"},
      {P360ChartRecord("c.WMF", 1, 2, 3, 4, 0), "CHART;c.WMF;1;2;3;4;0;"},
      {P360MarginRecord("LEFTMARGIN", 50), "LEFTMARGIN;50;"},
      {P360MessageRecord("a;b"), "MESSAGE;a;b;"},
      {P360OrientationRecord(true), "ORIENTATION;1;"},
      {P360OrientationRecord(false), "ORIENTATION;0;"},
      {P360FormRecord("/f/form.frm", true, 10, 20), "FORM;/f/form.frm;TRUE;10;20;"},
      {P360FieldTextRecord("NAME", "x;y", 12, "B"), "@;NAME;x:y;12;B;0;"},
      {P360FieldRecord("NAME", "a\tb", -30), "@;NAME;a\tb;0;;-30;"},
      {P360FieldRecord("NAME", " "), "@;NAME; ;0;;0;"},
      {P360PgLabelRecord(1, 2, "NAME", "f", 9, "", k, "1", "LEFT", 0, 1), "&;1;2;NAME;f;9;;黒;1;LEFT;0;1;"},
      {P360PgLabelRecord(1, 2, "", "f", 9, "", k, "1", "LEFT", 0, 1), "*;1;2;;f;9;;黒;1;LEFT;0;1;"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.line, c.expected);
  EXPECT_EQ(P360EjectRecords(false), QStringList{"E;"});
  EXPECT_EQ(P360EjectRecords(true), (QStringList{"BOX;100;100;101;101;0;0;黒;白;1;", "E;"}));
}

TEST(PrintData, NamesThatWouldBreakARecordAreRefused)
{
  const QString bad[] = {QStringLiteral("a;b.BMP"), QStringLiteral("a\nb.BMP"), QStringLiteral("a\rb")};
  for (const QString& name : bad) {
    EXPECT_THROW(P360ImageRecord(1, 2, 3, 4, name, 0), EPrintDataError);
    EXPECT_THROW(P360FormRecord(name, false, 0, 0), EPrintDataError);
    EXPECT_THROW(P360ChartRecord(name, 1, 2, 3, 4, 0), EPrintDataError);
    EXPECT_THROW(P360TextRecord("TEXT", 1, 2, "t", name, 9, "", "黒", "1", "", 0, 0), EPrintDataError);
    EXPECT_THROW(P360SLineRecord(1, 2, 3, 4, 5, 0, "黒", name, 9), EPrintDataError);
  }
  // Every record stays one line whatever the caller passes in its texts.
  EXPECT_FALSE(P360MessageRecord("a\r\nb").contains(u'\n'));
  EXPECT_FALSE(P360PgLabelRecord(1, 2, "a\nb", "f", 9, "", "黒", "1", "", 0, 0).contains(u'\n'));
}

TEST(PrintData, WriterLeavesNoHalfFile)
{
  TestTempDir tmp;
  const QString file = tmp.file(QStringLiteral("job.TMP"));
  SaveFileSafely(file, "earlier");
  {
    TPrintDataFile out(file);
    out.WriteLine(QStringLiteral("TEXT;1;1;x;f;9;;黒;1;;0;0;"));
  }  // never closed: the job was abandoned
  EXPECT_EQ(readAll(file), QByteArray("earlier"));
}

TEST(PrintRecord, Defaults)
{
  P360DefReset();
  const TP360DEF& d = P360Def;
  EXPECT_EQ(P360Version, QStringLiteral("VCL.2.5"));
  EXPECT_EQ(d.PRINTERNUM, -1);
  EXPECT_EQ(d.PaperSize, 0);
  EXPECT_EQ(d.PaperName, QStringLiteral("A4"));
  EXPECT_EQ(d.PaperLength, 2970);
  EXPECT_EQ(d.PaperWidth, 2100);
  EXPECT_EQ(d.PrintQuality, -4);
  EXPECT_EQ(d.Duplex, 1);
  EXPECT_EQ(d.BINNUM, 7);
  EXPECT_EQ(d.NETCOLOR1, 0xC0C0C0);
  EXPECT_EQ(d.OcrOrange, 0x41B3FE);
  EXPECT_EQ(d.OcrPurple, 0x741A82);
  EXPECT_TRUE(d.FORMPRINT);
  EXPECT_TRUE(d.ShowDLG);
  EXPECT_TRUE(d.ModeSw);
  EXPECT_TRUE(d.CurrentPage);
  EXPECT_FALSE(d.ImageOut);
  EXPECT_EQ(d.Zoom, 10);
  EXPECT_EQ(d.V_RATIO, 1000);
  EXPECT_EQ(d.H_RATIO, 1000);
  EXPECT_FALSE(d.PageBango.Switch);
  EXPECT_EQ(d.PageBango.Alignment, 2);
  EXPECT_EQ(d.PageBango.Format, QStringLiteral("(%d/%d)"));
  EXPECT_EQ(d.PageBango.FontName, QStringLiteral("ＭＳ 明朝"));
  EXPECT_EQ(d.PageBango.FontSize, 10);
  EXPECT_EQ(d.PageBango.ParamCount, 0);
  EXPECT_EQ(P360CutText(QString(200, u'a'), P360PathLength).size(), 127);
  EXPECT_EQ(P360CutText(QString(62, u'a') + QStringLiteral("𠮷"), P360NameLength).size(), 62);
}

TEST(PrintTextFile, LinesAtEveryKindOfLineEnd)
{
  TPrintTextFile f;
  f.AssignText(QStringLiteral("a\r\nb\rc\nd\r\n"));
  QStringList lines;
  while (!f.Eof())
    lines << f.ReadLine();
  EXPECT_EQ(lines, (QStringList{"a", "b", "c", "d"}));
  EXPECT_EQ(f.ReadLine(), QString());
  f.Reset();
  EXPECT_EQ(f.ReadLine(), QStringLiteral("a"));
}

}  // namespace
