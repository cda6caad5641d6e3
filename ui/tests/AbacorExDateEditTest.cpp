// Era date edit: reading typed fields, showing values, errors and messages.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "platform/Abort.h"
#include "ui/AbacorExDateEdit.h"
#include "ui/tests/UiTestUtil.h"

namespace {

TDateTime D(int y, int m, int d)
{
  return EncodeDate(y, m, d);
}

TDateTime DT(int y, int mo, int d, int h, int mi, int s)
{
  return ComposeDateTime(EncodeDate(y, mo, d), EncodeTime(h, mi, s));
}

struct TSetup {
  TAbacorExDateEditStyle style = desYearMonthDay;
  TAbacorExRekiSet gengo = rsWareki;
  TAbacorExYeardigitSet digits = yddigit4;
  bool editGengo = true;
  bool ampm = false;
  bool canEmpty = true;
};

void configure(TAbacorExDateEdit& e, const TSetup& s)
{
  e.SetDisplayError(false);
  e.SetGengoRec(TAbacorExDateEdit::BuiltInEras());
  e.SetEditGengo(s.editGengo);
  e.SetEditStyle(s.style);
  e.SetYeardigit(s.digits);
  e.SetEditAmpm(s.ampm);
  e.SetGengo(s.gengo);
  e.SetCanEmpty(s.canEmpty);
}

// Fills the fields as typed: era and AM/PM by entry text ("" = none).
void type(TAbacorExDateEdit& e, const char* era, const char* y, const char* m, const char* d, const char* ampm = "",
          const char* h = "", const char* mi = "", const char* s = "")
{
  e.GengoCombo()->setCurrentIndex(e.GengoCombo()->findText(QString::fromUtf8(era)));
  e.AmpmCombo()->setCurrentIndex(e.AmpmCombo()->findText(QString::fromUtf8(ampm)));
  e.YearEdit()->setText(QString::fromUtf8(y));
  e.MonthEdit()->setText(QString::fromUtf8(m));
  e.DayEdit()->setText(QString::fromUtf8(d));
  e.HourEdit()->setText(QString::fromUtf8(h));
  e.MinuteEdit()->setText(QString::fromUtf8(mi));
  e.SecondEdit()->setText(QString::fromUtf8(s));
}

TEST(AbacorExDateEditTest, ReadsTypedDates)
{
  const TSetup wareki{};
  const TSetup both{desYearMonthDay, rsBoth};
  const TSetup seireki{desYearMonthDay, rsSeireki, yddigit4, false};
  const TSetup seireki2{desYearMonthDay, rsSeireki, yddigit2, false};
  struct Case {
    const char* name;
    TSetup setup;
    const char *era, *y, *m, *d;
    TDateTime want;
  } cases[] = {
      {"Reiwa 5", wareki, "令和", "5", "4", "1", D(2023, 4, 1)},
      {"Reiwa 1 first day", wareki, "令和", "1", "5", "1", D(2019, 5, 1)},
      {"Heisei 31", wareki, "平成", "31", "4", "30", D(2019, 4, 30)},
      {"Meiji 6, the first date", wareki, "明治", "6", "1", "1", D(1873, 1, 1)},
      {"Meiji 23, before 1899", wareki, "明治", "23", "5", "6", D(1890, 5, 6)},
      {"Reiwa under rsBoth", both, "令和", "5", "4", "1", D(2023, 4, 1)},
      {"Western under rsBoth", both, "西暦", "2024", "2", "29", D(2024, 2, 29)},
      {"Western four digits", seireki, "", "1873", "1", "1", D(1873, 1, 1)},
      {"Western 3000 without eras", seireki, "", "3000", "1", "1", D(3000, 1, 1)},
      {"Western two digits", seireki2, "", "24", "1", "5", D(YearOf(Date()) / 100 * 100 + 24, 1, 5)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TAbacorExDateEdit e;
    configure(e, c.setup);
    type(e, c.era, c.y, c.m, c.d);
    EXPECT_EQ(e.DateTime(), c.want);
    EXPECT_EQ(e.ErrorKinds(), 0);
    EXPECT_FALSE(e.IsEmpty());
    // Reading shows the value again in the control's own form.
    EXPECT_EQ(e.YearStr(), QStringLiteral("%1").arg(YearOf(c.want), 4, 10, QLatin1Char('0')));
  }
}

TEST(AbacorExDateEditTest, RefusesBadDatesWithTheirErrors)
{
  const TSetup wareki{};
  const TSetup both{desYearMonthDay, rsBoth};
  const TSetup seireki{desYearMonthDay, rsSeireki, yddigit4, false};
  const TSetup strict{desYearMonthDay, rsSeireki, yddigit4, false, false, false};
  struct Case {
    const char* name;
    TSetup setup;
    const char *era, *y, *m, *d;
    TAbacorExDateEditErrors errors;
    const char* focus;  // object name of the part that gets the focus
  } cases[] = {
      {"1872", seireki, "", "1872", "12", "31", derBit(derBeforeBaseDate), "YearEdit"},
      {"Meiji 5", wareki, "明治", "5", "12", "31", derBit(derBeforeBaseDate), "YearEdit"},
      {"2999 under rsBoth", both, "西暦", "2999", "1", "1", derBit(derChangeGengo), "YearEdit"},
      {"no 30 February", seireki, "", "2023", "2", "30", derBit(derDateError), "YearEdit"},
      {"month 13", wareki, "令和", "5", "13", "1", derBit(derDateError), "YearEdit"},
      {"empty month", wareki, "令和", "5", "", "1", derBit(derMonthEmpty), "MonthEdit"},
      {"empty year and day", seireki, "", "", "4", "", derBit(derYearEmpty) | derBit(derDayEmpty), "YearEdit"},
      {"empty era with empty day", wareki, "", "5", "4", "", derBit(derYearEmpty) | derBit(derDayEmpty), "GengoCombo"},
      {"all empty, not allowed", strict, "", "", "", "", derBit(derAllEmpty), "YearEdit"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QWidget form;
    auto* e = new TAbacorExDateEdit(&form);
    auto* other = new QLineEdit(&form);
    other->move(0, 40);
    form.show();
    configure(*e, c.setup);
    type(*e, c.era, c.y, c.m, c.d);
    other->setFocus();
    EXPECT_THROW(e->DateTime(), EAbort);
    EXPECT_EQ(e->ErrorKinds(), c.errors);
    ASSERT_NE(form.focusWidget(), nullptr);
    EXPECT_EQ(form.focusWidget()->objectName(), QString::fromUtf8(c.focus));
  }
}

TEST(AbacorExDateEditTest, ReadsTimesInTwelveAndTwentyFourHourModes)
{
  const TSetup h12{desYearMonthDayHMS, rsSeireki, yddigit4, false, true};
  const TSetup h24{desYearMonthDayHMS, rsSeireki, yddigit4, false, false};
  const TSetup timeOnly{desHourMinute, rsSeireki, yddigit4, false, false};
  struct Case {
    const char* name;
    TSetup setup;
    const char *ampm, *h, *mi, *s;
    TDateTime want;  // -1: refused
    const char* focus;
  } cases[] = {
      {"morning", h12, "午前", "11", "59", "59", DT(2024, 6, 1, 11, 59, 59), ""},
      {"afternoon", h12, "午後", "11", "59", "59", DT(2024, 6, 1, 23, 59, 59), ""},
      {"hour 12 in the morning", h12, "午前", "12", "0", "0", -1, "HourEdit"},
      {"no AM/PM chosen", h12, "", "10", "0", "0", -1, "AmpmCombo"},
      {"23:59:59", h24, "", "23", "59", "59", DT(2024, 6, 1, 23, 59, 59), ""},
      {"hour 24", h24, "", "24", "0", "0", -1, "HourEdit"},
      {"minute 60", h24, "", "10", "60", "0", -1, "MinuteEdit"},
      {"second 60", h24, "", "10", "0", "60", -1, "MinuteEdit"},
      {"time only", timeOnly, "", "7", "30", "", EncodeTime(7, 30, 0), ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QWidget form;
    auto* e = new TAbacorExDateEdit(&form);
    form.show();
    configure(*e, c.setup);
    type(*e, "", "2024", "6", "1", c.ampm, c.h, c.mi, c.s);
    if (c.want < 0) {
      EXPECT_THROW(e->DateTime(), EAbort);
      EXPECT_TRUE(e->HasError(derTimeError) || e->HasError(derAMPMEmpty));
      ASSERT_NE(form.focusWidget(), nullptr);
      EXPECT_EQ(form.focusWidget()->objectName(), QString::fromUtf8(c.focus));
    } else {
      EXPECT_NEAR(e->DateTime(), c.want, 1e-8);
    }
  }
}

TEST(AbacorExDateEditTest, EmptyControlAndLimits)
{
  TAbacorExDateEdit e;
  configure(e, TSetup{});
  EXPECT_TRUE(e.IsEmpty());
  EXPECT_EQ(e.DateTime(), 0);

  // Values outside MinDate..MaxDate are pulled in without a message.
  e.SetMinDate(D(2020, 1, 1));
  e.SetMaxDate(D(2030, 12, 31));
  struct Case {
    const char *era, *y, *m, *d;
    TDateTime want;
  } cases[] = {
      {"令和", "1", "12", "31", D(2020, 1, 1)},  // 2019-12-31
      {"令和", "12", "12", "31", D(2030, 12, 31)},
      {"令和", "5", "4", "1", D(2023, 4, 1)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.y);
    type(e, c.era, c.y, c.m, c.d);
    EXPECT_EQ(e.DateTime(), c.want);
    EXPECT_EQ(e.ErrorKinds(), 0);
  }
  // The era window follows the limits: only Reiwa covers 2020..2030.
  ASSERT_EQ(e.OfferedEras().size(), 1u);
  EXPECT_EQ(e.GengoCombo()->itemText(0), QStringLiteral("令和"));
  e.SetMinDate(0);
  e.SetMaxDate(0);
  EXPECT_EQ(e.OfferedEras().size(), 5u);

  e.SetDateTime(D(2023, 4, 1));
  e.SetEditEmpty();
  EXPECT_TRUE(e.IsEmpty());
  EXPECT_EQ(e.DateTime(), 0);
}

TEST(AbacorExDateEditTest, ShowsWrittenValues)
{
  const TSetup wareki{};
  const TSetup both{desYearMonthDay, rsBoth};
  const TSetup seireki2{desYearMonthDay, rsSeireki, yddigit2, false};
  const TSetup h12{desYearMonthDayHMS, rsWareki, yddigit4, true, true};
  struct Case {
    const char* name;
    TSetup setup;
    TDateTime value;
    int eraIndex;
    const char *era, *y, *m, *d, *ampm, *h;
  } cases[] = {
      {"Reiwa", wareki, D(2023, 4, 1), 0, "令和", "5", "4", "1", "", ""},
      {"Reiwa under rsBoth", both, D(2023, 4, 1), 1, "令和", "5", "4", "1", "", ""},
      {"first day of Showa", wareki, D(1926, 12, 25), 2, "昭和", "1", "12", "25", "", ""},
      {"last day of Taisho", wareki, D(1926, 12, 24), 3, "大正", "15", "12", "24", "", ""},
      {"1890 is shown", wareki, D(1890, 5, 6), 4, "明治", "23", "5", "6", "", ""},
      {"1873-01-01 is shown", wareki, D(1873, 1, 1), 4, "明治", "6", "1", "1", "", ""},
      {"two-digit year", seireki2, D(2005, 3, 9), 0, "", "05", "3", "9", "", ""},
      {"afternoon", h12, DT(2023, 4, 1, 15, 4, 5), 0, "令和", "5", "4", "1", "午後", "3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TAbacorExDateEdit e;
    configure(e, c.setup);
    e.SetDateTime(c.value);
    if (c.setup.editGengo) {
      EXPECT_EQ(e.GengoCombo()->currentIndex(), c.eraIndex);
      EXPECT_EQ(e.GengoCombo()->currentText(), QString::fromUtf8(c.era));
    }
    EXPECT_EQ(e.YearEdit()->text(), QString::fromUtf8(c.y));
    EXPECT_EQ(e.MonthEdit()->text(), QString::fromUtf8(c.m));
    EXPECT_EQ(e.DayEdit()->text(), QString::fromUtf8(c.d));
    if (c.setup.ampm) {
      EXPECT_EQ(e.AmpmCombo()->currentText(), QString::fromUtf8(c.ampm));
      EXPECT_EQ(e.HourEdit()->text(), QString::fromUtf8(c.h));
    }
    // What is shown reads back as the same value, also before 1900.
    EXPECT_NEAR(e.DateTime(), c.value, 1e-8);
  }
}

TEST(AbacorExDateEditTest, MidnightLeavesTheTimeFieldsAsTheyAre)
{
  TAbacorExDateEdit e;
  configure(e, TSetup{desYearMonthDayHMS, rsSeireki, yddigit4, false});
  e.SetDateTime(DT(2023, 4, 1, 12, 34, 56));
  e.SetDateTime(D(2023, 4, 2));
  EXPECT_EQ(e.DayEdit()->text(), QStringLiteral("2"));
  EXPECT_EQ(e.HourEdit()->text(), QStringLiteral("12"));
  EXPECT_EQ(e.MinuteEdit()->text(), QStringLiteral("34"));
  EXPECT_EQ(e.SecondEdit()->text(), QStringLiteral("56"));
  // A date-only style keeps only the date part of what is written.
  TAbacorExDateEdit d;
  configure(d, TSetup{});
  d.SetDateTime(DT(2023, 4, 1, 12, 0, 0));
  EXPECT_EQ(d.DateTime(), D(2023, 4, 1));
}

TEST(AbacorExDateEditTest, ErrorMessagesAreShownInTheBoxTitledDialogCaption)
{
  struct Case {
    const char *y, *m, *d;
    const char* text;
  } cases[] = {
      {"1872", "1", "1", "1873年01月01日(明治6年01月01日)より前の日付は処理できません．　　"},
      {"2023", "2", "30", "日付が正しくありません（変換できません）．　　"},
      {"2023", "", "1", "空白の入力欄があります．　　"},
      {"3100", "1", "1", "2999年以降は元号に変換できません．　　"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    QWidget form;
    auto* e = new TAbacorExDateEdit(&form);
    form.show();
    configure(*e, TSetup{desYearMonthDay, rsBoth});
    e->SetDisplayError(true);
    type(*e, "西暦", c.y, c.m, c.d);
    uitest::TModalWatcher watcher;
    EXPECT_THROW(e->DateTime(), EAbort);
    ASSERT_EQ(watcher.Texts.size(), 1);
    EXPECT_EQ(watcher.Texts[0], QString::fromUtf8(c.text));
    EXPECT_EQ(watcher.Titles[0], QStringLiteral("日付時刻入力"));
  }
}

TEST(AbacorExDateEditTest, KeysOnTheParts)
{
  QWidget form;
  auto* e = new TAbacorExDateEdit(&form);
  auto* after = new QLineEdit(&form);
  after->move(0, 40);
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  configure(*e, TSetup{});
  QList<QObject*> changes;
  e->OnChange = [&](QObject* sender) { changes << sender; };

  e->YearEdit()->setFocus();
  QTest::keyClicks(e->YearEdit(), QStringLiteral("1a-2"));
  EXPECT_EQ(e->YearEdit()->text(), QStringLiteral("12"));  // only digits pass
  QTest::keyClick(e->YearEdit(), Qt::Key_Return);          // Enter moves on
  EXPECT_EQ(QApplication::focusWidget(), e->MonthEdit());

  e->GengoCombo()->setCurrentIndex(1);
  changes.clear();
  QTest::keyClick(e->GengoCombo(), Qt::Key_Delete);  // clears the era
  EXPECT_EQ(e->GengoCombo()->currentIndex(), -1);
  EXPECT_EQ(changes, (QList<QObject*>{e->GengoCombo()}));
  QTest::keyClick(e->GengoCombo(), Qt::Key_Delete);  // nothing to clear: no change
  EXPECT_EQ(changes.size(), 1);
}

TEST(AbacorExDateEditTest, Ages)
{
  struct Case {
    TDateTime birth, on;
    int type;
    bool ok;
    int age, months;
  } cases[] = {
      {D(2000, 4, 2), D(2020, 4, 1), 1, true, 20, 0},  {D(2000, 4, 2), D(2020, 4, 1), 0, true, 19, 11},
      {D(2000, 3, 1), D(2020, 2, 29), 1, true, 20, 0}, {D(2000, 1, 1), D(2020, 12, 31), 1, true, 21, 0},
      {D(2000, 4, 1), D(2000, 9, 15), 0, true, 0, 5},  {D(2020, 4, 1), D(2000, 4, 1), 0, false, 0, 0},
  };
  for (const auto& c : cases) {
    int age = -1, months = -1;
    EXPECT_EQ(TAbacorExDateEdit::GetAge(c.birth, c.on, c.type, age, months), c.ok);
    EXPECT_EQ(age, c.age);
    EXPECT_EQ(months, c.months);
  }
}

TEST(AbacorExDateEditTest, Screenshots)
{
  QWidget form;
  form.resize(600, 110);
  auto* d = new TAbacorExDateEdit(&form);
  d->move(10, 10);
  configure(*d, TSetup{});
  d->SetDateTime(D(2023, 4, 1));
  auto* t = new TAbacorExDateEdit(&form);
  t->move(10, 50);
  configure(*t, TSetup{desYearMonthDayHMS, rsBoth, yddigit4, true, true});
  t->SetDateTime(DT(2024, 2, 29, 15, 30, 45));
  form.show();
  EXPECT_TRUE(uitest::saveScreenshot(&form, QStringLiteral("era_date_edit")));
}

}  // namespace
