// The era table and dates in era form.
#include <gtest/gtest.h>

#include "acctables/AccGengo.h"

namespace {

QString Q(const char* s)
{
  return QString::fromUtf8(s);
}

TDateTime D(int y, int m, int d)
{
  return acccalc::makeDate(y, m, d);
}

class AccGengo : public ::testing::Test {
 protected:
  void SetUp() override { pcGengoTableSet(); }
  void TearDown() override { GengoTable.clear(); }
};

}  // namespace

TEST_F(AccGengo, BuiltInTable)
{
  struct {
    const char *name, *sign;
    int y, m, d;
  } want[] = {
      {"令和", "R", 2019, 5, 1},  {"平成", "H", 1989, 1, 8}, {"昭和", "S", 1926, 12, 25},
      {"大正", "T", 1912, 7, 30}, {"明治", "M", 1868, 9, 8},
  };
  ASSERT_EQ(GengoTable.size(), std::size(want));
  for (std::size_t i = 0; i < GengoTable.size(); ++i) {
    EXPECT_EQ(GengoTable[i].Name, QString::fromUtf8(want[i].name));
    EXPECT_EQ(GengoTable[i].Sign, QString::fromUtf8(want[i].sign));
    EXPECT_EQ(static_cast<double>(GengoTable[i].StartDate), static_cast<double>(D(want[i].y, want[i].m, want[i].d)));
    EXPECT_EQ(GengoTable[i].YearOffSet, want[i].y);
  }
  // Calling it again replaces the table rather than adding to it.
  pcGengoTableSet();
  EXPECT_EQ(GengoTable.size(), std::size(want));
}

TEST_F(AccGengo, DatesInEraForm)
{
  struct {
    TDateTime date;
    const char *gengo, *sign;
    int ee, mm, dd;
  } cases[] = {
      {D(2019, 5, 1), "令和", "R", 1, 5, 1},
      {D(2019, 4, 30), "平成", "H", 31, 4, 30},
      {D(2024, 12, 31) + 0.9, "令和", "R", 6, 12, 31},
      {D(1989, 1, 8), "平成", "H", 1, 1, 8},
      {D(1989, 1, 7), "昭和", "S", 64, 1, 7},
      {D(1926, 12, 24), "大正", "T", 15, 12, 24},
      {D(1912, 7, 29), "明治", "M", 45, 7, 29},
      {D(1900, 1, 1), "明治", "M", 33, 1, 1},
      // A date of 0 or less counts as "no date": the Western year, also for
      // days before 1899-12-30 that would fall in the 明治 era.
      {TDateTime(0), "", "", 1899, 12, 30},
      {TDateTime(-1), "", "", 1899, 12, 29},
      {D(1868, 9, 8), "", "", 1868, 9, 8},
  };
  for (const auto& c : cases) {
    TWarekiRec w;
    w.Gengo = QStringLiteral("stale");
    w.ee = 999;
    pcWarekiHenkan(w, c.date);
    EXPECT_EQ(w.Gengo, QString::fromUtf8(c.gengo)) << static_cast<double>(c.date);
    EXPECT_EQ(w.GengoSign, QString::fromUtf8(c.sign)) << static_cast<double>(c.date);
    EXPECT_EQ(w.ee, c.ee) << static_cast<double>(c.date);
    EXPECT_EQ(w.mm, c.mm) << static_cast<double>(c.date);
    EXPECT_EQ(w.dd, c.dd) << static_cast<double>(c.date);
  }
}

TEST_F(AccGengo, DatesBeforeTheOldestEra)
{
  // Before the oldest era's start the oldest era is kept while its era year
  // is not negative (year 0 in the year before its first year).
  GengoTable = {TGengoRec{Q("新"), "N", D(1950, 6, 1), 1950}, TGengoRec{Q("旧"), "O", D(1930, 4, 1), 1930}};
  struct {
    TDateTime date;
    const char* gengo;
    int ee;
  } cases[] = {
      {D(1950, 6, 1), "新", 1}, {D(1950, 5, 31), "旧", 21}, {D(1930, 4, 1), "旧", 1},
      {D(1930, 1, 1), "旧", 1}, {D(1929, 12, 31), "旧", 0}, {D(1928, 12, 31), "", 1928},
  };
  for (const auto& c : cases) {
    TWarekiRec w;
    pcWarekiHenkan(w, c.date);
    EXPECT_EQ(w.Gengo, Q(c.gengo)) << static_cast<double>(c.date);
    EXPECT_EQ(w.ee, c.ee) << static_cast<double>(c.date);
  }
}

TEST_F(AccGengo, EmptyTableGivesWesternYears)
{
  GengoTable.clear();
  TWarekiRec w;
  pcWarekiHenkan(w, D(2024, 4, 1));
  EXPECT_TRUE(w.Gengo.isEmpty());
  EXPECT_EQ(w.ee, 2024);
  EXPECT_EQ(fnGengoList(0), QString());
  EXPECT_EQ(fnGengoList(1, D(2024, 4, 1)), QString());
}

TEST_F(AccGengo, AnEmptyNameEndsTheWalk)
{
  GengoTable.insert(GengoTable.begin() + 1, TGengoRec{});
  TWarekiRec w;
  pcWarekiHenkan(w, D(2000, 1, 1));
  // 令和 is skipped (era year -18), then the empty entry stops the walk before 平成.
  EXPECT_TRUE(w.Gengo.isEmpty());
  EXPECT_EQ(w.ee, 2000);
}

TEST_F(AccGengo, EraLists)
{
  const QString cr(QChar(13));
  struct {
    int kind;
    TDateTime date;
    QString want;
  } cases[] = {
      {0, TDateTime(0), Q("令和") + cr + Q("平成") + cr + Q("昭和") + cr + Q("大正") + cr + Q("明治") + cr},
      {1, TDateTime(0), "R" + cr + "H" + cr + "S" + cr + "T" + cr + "M" + cr},
      {1, D(2000, 1, 1), "R" + cr + "H" + cr},
      {1, D(2019, 5, 1), "R" + cr},
      {1, D(2019, 4, 30), "R" + cr + "H" + cr},
      {0, D(1926, 12, 25), Q("令和") + cr + Q("平成") + cr + Q("昭和") + cr},
      // before every era: the whole list
      {1, D(1800, 1, 1), "R" + cr + "H" + cr + "S" + cr + "T" + cr + "M" + cr},
      // after the upper limit of the walk: the whole list
      {1, D(2101, 1, 1), "R" + cr + "H" + cr + "S" + cr + "T" + cr + "M" + cr},
      {2, TDateTime(0), QString()},
      {-1, D(2000, 1, 1), QString()},
  };
  for (const auto& c : cases)
    EXPECT_EQ(fnGengoList(c.kind, c.date), c.want) << c.kind << " " << static_cast<double>(c.date);

  QString text = QStringLiteral("old");
  fnGengoList(1, text);
  EXPECT_EQ(text, "R" + cr + "H" + cr + "S" + cr + "T" + cr + "M" + cr);
}
