#include <gtest/gtest.h>

#include <QFile>

#include "print/Print360Engine.h"
#include "print/Print360Form.h"
#include "print/Print360Record.h"
#include "tests/support/MessageCollector.h"
#include "tests/support/TempDir.h"

namespace {

class PageBookkeeping : public ::testing::Test {
 protected:
  void SetUp() override
  {
    P360DefReset();
    ResetPrintJobState();
  }
  QString file(const QString& name, const QString& text)
  {
    QFile f(tmp.file(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.toUtf8());
    return tmp.file(name);
  }
  TestTempDir tmp;
};

TEST_F(PageBookkeeping, OnePageEndRuleForEveryReader)
{
  struct Case {
    QString line;
    bool end;
  } cases[] = {{"E;", true},   {"e;", true},   {"E", true}, {"\"E\";", true}, {"E;extra;", true},
               {"EX;", false}, {" E;", false}, {"", false}, {"*E;", false},   {"TEXT;E;", false}};
  for (const Case& c : cases) {
    EXPECT_EQ(IsPageEndLine(c.line), c.end) << c.line.toStdString();
    // The interpreter, the page count and the page skipping agree.
    TPrintTextFile f;
    f.AssignText(QStringLiteral("A;\n") + c.line + QStringLiteral("\nB;\n"));
    EXPECT_EQ(CountPagesIn(f, false), c.end ? 2 : 1) << c.line.toStdString();
    f.Reset();
    EXPECT_EQ(SkipPages(f, 2, false), c.end) << c.line.toStdString();
  }
}

TEST_F(PageBookkeeping, CountingAndNumbering)
{
  P360Def.PageBango.Switch = true;
  TPrintTextFile f;
  f.AssignText(QStringLiteral("TEXT;1;1;a;\nE;\nTEXT;1;1;b;\nTEXT;1;1;c;\nE;\nTEXT;1;1;d;\nE;\n"));
  EXPECT_EQ(CountPagesIn(f, true), 4);
  EXPECT_EQ(PageNumberList, (QStringList{"1", "2", "3", "0"}));
  EXPECT_EQ(NumberedPages, 3);

  f.AssignText(QStringLiteral("ORIENTATION;1;\nE;\nLINE;1;1;2;2;1;0;黒;\nE;\nBOX;1;1;2;2;\nE;\nTEXT;1;1;x;"));
  EXPECT_EQ(CountPagesIn(f, true), 4);
  EXPECT_EQ(PageNumberList, (QStringList{"0", "0", "1", "2"}));
  EXPECT_EQ(NumberedPages, 2);

  // Without numbering, the list stays; with the switch off, no numbers.
  EXPECT_EQ(CountPagesIn(f, false), 4);
  EXPECT_EQ(PageNumberList.size(), 4);
  P360Def.PageBango.Switch = false;
  EXPECT_EQ(CountPagesIn(f, true), 4);
  EXPECT_TRUE(PageNumberList.isEmpty());
  EXPECT_EQ(NumberedPages, 0);

  testenv::ScopedMessageCollector messages;
  EXPECT_EQ(CountPages(tmp.file("missing.TMP"), false), 1);
  EXPECT_EQ(messages.texts.size(), 1);
}

TEST_F(PageBookkeeping, TotalPagesAreAMultipleOfTheFormsPages)
{
  struct Case {
    int formEnds, dataEnds, pageCount;
  } cases[] = {{1, 4, 6}, {2, 1, 3}, {0, 3, 4}, {1, 3, 4}, {3, 0, 4}};
  // The counts are 1 + the page ends: form 2 / data 5 gives 6; form 3 / data 2 gives 3 ...
  for (const Case& c : cases) {
    FormFileName = file("form.frm", QStringLiteral("E;\n").repeated(c.formEnds) + QStringLiteral("BOX;\n"));
    DataFileName = file("data.TMP", QStringLiteral("E;\n").repeated(c.dataEnds) + QStringLiteral("BOX;\n"));
    ViewPage = 5;
    CountTotalPages();
    EXPECT_EQ(PageCount, c.pageCount) << c.formEnds << " " << c.dataEnds;
    EXPECT_EQ(ViewPage, 1);
  }
  FormFileName.clear();
  DataFileName = file("data.TMP", QStringLiteral("E;\nE;\n"));
  CountTotalPages();
  EXPECT_EQ(PageCount, 3);
}

TEST_F(PageBookkeeping, SkippingPages)
{
  TPrintTextFile form;
  form.AssignText(QStringLiteral("BOX;1;\nE;\n"));
  EXPECT_TRUE(SkipPages(form, 3, true));
  EXPECT_EQ(form.ReadLine(), QStringLiteral("BOX;1;"));

  TPrintTextFile data;
  data.AssignText(QStringLiteral("A;\nE;\nB;\n"));
  EXPECT_TRUE(SkipPages(data, 2, false));
  EXPECT_EQ(data.ReadLine(), QStringLiteral("B;"));
  data.Reset();
  EXPECT_FALSE(SkipPages(data, 3, false));

  TPrintTextFile empty;
  empty.AssignText(QString());
  EXPECT_FALSE(SkipPages(empty, 2, true));
  EXPECT_TRUE(SkipPages(empty, 1, true));
}

TEST_F(PageBookkeeping, Orientations)
{
  TPrintTextFile f;
  f.AssignText(QStringLiteral("*ORIENTATION=0\nORIENTATION;1;\nE;\nTEXT;1;1;a;\nE;\n"));
  EXPECT_EQ(PageOrientationsIn(f, 0), (QStringList{"1", "0", "0"}));
  f.AssignText(QStringLiteral("ORIENTATION;x;\nE;\nORIENTATION;0;\n"));
  EXPECT_EQ(PageOrientationsIn(f, 1), (QStringList{"1", "0"}));
  testenv::ScopedMessageCollector messages;
  EXPECT_TRUE(PageOrientations(tmp.file("none"), 0).isEmpty());
}

TEST_F(PageBookkeeping, FieldDefinitions)
{
  QString text = QStringLiteral(
      "&;10;20;name;ＭＳ ゴシック;0;bu;赤;OFF;RIGHT;300;1;1;\n"
      "&;11;21;NAME;;9;;黒;1;;0;0;0\n"
      "&;0;0;0;;0;;;;;40;0;0;\n"
      "&;0;0;行間;;0;;;;;50;0;0;\n"
      "$;1;2;total;\n"
      "TEXT;1;1;drawn only;\n");
  // More definitions than a form page holds: entries 1 to 199 only.
  for (int i = 0; i < 250; ++i)
    text += QStringLiteral("&;%1;0;F%1;;10;;黒;1;;0;0;0;\n").arg(i);
  text += QStringLiteral("E;\n&;5;5;second;;10;;黒;1;;0;0;0;\n");
  for (int page = 2; page <= 6; ++page)
    text += QStringLiteral("E;\n&;5;5;P%1;;10;;黒;1;;0;0;0;\n").arg(page);
  const QString form = file("form.frm", text);
  EXPECT_TRUE(HensuuYomikomi(form, 100, 200));

  const TDataField& d = FieldTable[0][1];
  EXPECT_EQ(d.Name, QStringLiteral("NAME"));
  EXPECT_EQ(d.X, 110);
  EXPECT_EQ(d.Y, 220);
  EXPECT_EQ(d.FontName, QStringLiteral("ＭＳ ゴシック"));
  EXPECT_EQ(d.FontSize, 12);
  EXPECT_EQ(d.FontStyle, QStringLiteral("BU"));
  EXPECT_EQ(d.Color, 0x0000FF);
  EXPECT_EQ(d.BrushColor, 1);
  EXPECT_EQ(d.iAlign, 2);
  EXPECT_EQ(d.X2, 300);
  EXPECT_EQ(d.Lines, 1);
  EXPECT_EQ(d.Center, 1);
  EXPECT_EQ(FieldTable[0][0].X2, 50);  // the last row pitch definition wins
  EXPECT_EQ(FindField(0, QStringLiteral("name")), 1);
  EXPECT_EQ(FieldTable[0][2].FontSize, 9);
  EXPECT_EQ(TotalTable[0][0].Name, QStringLiteral("TOTAL"));
  // Entries beyond the first hundred are found too; past entry 199 they are dropped.
  EXPECT_EQ(FindField(0, QStringLiteral("F150")), 153);
  EXPECT_EQ(FindField(0, QStringLiteral("F196")), 199);
  EXPECT_EQ(FindField(0, QStringLiteral("F197")), 0);
  EXPECT_EQ(FindField(1, QStringLiteral("SECOND")), 1);
  EXPECT_EQ(FindField(4, QStringLiteral("P4")), 1);
  EXPECT_EQ(FindField(4, QStringLiteral("P5")), 0);
  EXPECT_EQ(FormPageCount, 5);
  EXPECT_EQ(FindField(5, QStringLiteral("P5")), 0);
  EXPECT_EQ(FindField(-1, QStringLiteral("P5")), 0);

  // A missing file leaves the tables empty.
  EXPECT_TRUE(HensuuYomikomi(tmp.file("none.frm"), 0, 0));
  EXPECT_EQ(FindField(0, QStringLiteral("name")), 0);
  EXPECT_EQ(FormPageCount, 0);
}

}  // namespace
