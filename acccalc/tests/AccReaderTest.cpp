// The general trial-balance reader against a procedure that returns chosen
// records: skipped rows, sub-account records, failures and bound codes.
#include <gtest/gtest.h>

#include <QMap>

#include "acccalc/AccCalc.h"
#include "acccalc/AccCalcEnv.h"
#include "acccalc/tests/AccTestReporter.h"
#include "acctables/AccCodeTable.h"
#include "common/AccRecord.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TempDir.h"

namespace {

// One record of the stand-in trial-balance procedure.
struct Rec {
  const char *group, *user, *kcode, *name;
  int dac;
  int hojcnt;
  const char* hcode;
  int opening;
  int kar1;
  int divisor = 1;  // 0 makes the procedure fail at this record
};

QString sqlText(const char* s)
{
  return QStringLiteral("'") + QString::fromUtf8(s).replace(QLatin1Char('\''), QStringLiteral("''")) +
         QLatin1Char('\'');
}

class AccReader : public ::testing::Test {
 protected:
  void SetUp() override
  {
    path = testfx::makeCompanyDb(dir.path(), fixtures::CompanyKind::General, false);
    testfx::builder().open(d, path);
    exec(QStringLiteral(
        "CREATE TABLE TEST_TB (SEQ INTEGER, GROUPM1 VARCHAR(10), USERCODE VARCHAR(20), KCODE VARCHAR(20), "
        "KNAME VARCHAR(100), TAISHAKU INTEGER, HOJCNT INTEGER, HCODE VARCHAR(20), KAISIZAN NUMERIC(18,4), "
        "KAR01 NUMERIC(18,4), DIVISOR INTEGER)"));
    useProcedure(true);
    AccInf = TACCINF{};
    AccInf.DATATYPE = 1;
    AccInf.CODETYPE = 1;
    pcSetKamokuCodeTable(false);
    snapshot = std::make_unique<db::Transaction>(d, db::Transaction::Snapshot);
    main = std::make_unique<db::Transaction>(d, db::Transaction::ReadCommitted);
    SetAccCalcDatabase({snapshot.get(), main.get()});
    SetAccCalcReporter(&reporter);
    table.resize(500);
    keys.resize(500);
  }
  void TearDown() override
  {
    SetAccCalcDatabase({});
    SetAccCalcReporter(nullptr);
    AccInf = TACCINF{};
  }

  void exec(const QString& sql)
  {
    db::Transaction tr(d);
    tr.start();
    db::Query q(tr);
    q.setParamCheck(false);
    q.setSql(sql);
    q.exec();
    tr.commit();
  }

  // The stand-in procedure; without HOJCNT when told so.
  void useProcedure(bool withHojcnt)
  {
    QString amounts, zero;
    for (int n = 2; n <= 16; ++n) {
      amounts += QStringLiteral(", KAR%1 NUMERIC(18,4)").arg(n, 2, 10, QLatin1Char('0'));
      zero += QStringLiteral(" KAR%1 = 0;").arg(n, 2, 10, QLatin1Char('0'));
    }
    for (int n = 1; n <= 16; ++n) {
      amounts += QStringLiteral(", KAS%1 NUMERIC(18,4)").arg(n, 2, 10, QLatin1Char('0'));
      zero += QStringLiteral(" KAS%1 = 0;").arg(n, 2, 10, QLatin1Char('0'));
    }
    const QString hoj = withHojcnt ? QStringLiteral("HOJCNT INTEGER, ") : QString();
    const QString hojInto = withHojcnt ? QStringLiteral(":HOJCNT, ") : QString();
    const QString hojSel = withHojcnt ? QStringLiteral("T.HOJCNT, ") : QString();
    exec(
        QStringLiteral("CREATE OR ALTER PROCEDURE SP_SISANHYO (TAX INTEGER, SCODE VARCHAR(20), SITENGROUP VARCHAR(20)) "
                       "RETURNS (GROUPM1 VARCHAR(10), GROUPM2 VARCHAR(10), USERCODE VARCHAR(20), KCODE VARCHAR(20), "
                       "KNAME VARCHAR(100), "
                       "BSPL VARCHAR(2), TAISHAKU INTEGER, %1MSTREC INTEGER, SUBREC INTEGER, HCODE VARCHAR(20), HNAME "
                       "VARCHAR(100), "
                       "KAISIZAN NUMERIC(18,4), KAR01 NUMERIC(18,4)%2) AS "
                       "DECLARE VARIABLE DIV INTEGER; "
                       "BEGIN %3 MSTREC = 0; SUBREC = 0; BSPL = 'B'; "
                       "FOR SELECT T.GROUPM1, T.GROUPM1, T.USERCODE, T.KCODE, T.KNAME, T.TAISHAKU, %4T.HCODE, T.KNAME, "
                       "T.KAISIZAN, T.KAR01, T.DIVISOR "
                       "FROM TEST_TB T ORDER BY T.SEQ "
                       "INTO :GROUPM1, :GROUPM2, :USERCODE, :KCODE, :KNAME, :TAISHAKU, %5:HCODE, :HNAME, :KAISIZAN, "
                       ":KAR01, :DIV DO "
                       "BEGIN KAISIZAN = KAISIZAN / DIV; SUSPEND; END END")
            .arg(hoj, amounts, zero, hojSel, hojInto));
  }

  void records(std::initializer_list<Rec> recs)
  {
    exec(QStringLiteral("DELETE FROM TEST_TB"));
    int seq = 0;
    for (const Rec& r : recs)
      exec(QStringLiteral("INSERT INTO TEST_TB VALUES (%1, %2, %3, %4, %5, %6, %7, %8, %9, %10, %11)")
               .arg(++seq)
               .arg(sqlText(r.group), sqlText(r.user), sqlText(r.kcode), sqlText(r.name))
               .arg(r.dac)
               .arg(r.hojcnt)
               .arg(sqlText(r.hcode))
               .arg(r.opening)
               .arg(r.kar1)
               .arg(r.divisor));
  }

  bool read(int balanceType = 0, const QString& bcode = QStringLiteral(" "), int yousiki = 2,
            const QString& scode = QStringLiteral(" "))
  {
    return pcSisanhyoRead(table, keys, scode, bcode, 0, balanceType, 0, yousiki, 0, 0, 0);
  }

  TestTempDir dir;
  QString path;
  db::Database d;
  std::unique_ptr<db::Transaction> snapshot, main;
  TAccTestReporter reporter;
  TBalanceArray table;
  TQSortArray keys;
};

}  // namespace

TEST_F(AccReader, SundryAccountsAreSkippedAndKeysFollowTheGroups)
{
  records({{"1100", "111", "1101", "現金", 1, 0, "", 100, 5},
           {"9900", "999", "9901", "諸口", 1, 0, "", 7, 7},
           {"5300", "741", "5301", "期末棚卸高", 2, 0, "", 0, 0},
           {"1200", "151", "1202", "売掛金", 1, 0, "", 30, 0}});
  ASSERT_TRUE(read());
  EXPECT_TRUE(reporter.messages.isEmpty());
  EXPECT_EQ(table[51].KAMOKU.KCODE, QStringLiteral("1101"));
  EXPECT_EQ(table[52].KAMOKU.KCODE, QStringLiteral("5301"));  // the sundry record took no row
  EXPECT_EQ(table[53].KAMOKU.KCODE, QStringLiteral("1202"));
  EXPECT_TRUE(table[54].KAMOKU.KCODE.isEmpty());
  QStringList order;
  for (const TQSORT& k : keys)
    if (k.Rec >= 51 && !table[static_cast<std::size_t>(k.Rec)].KAMOKU.KCODE.isEmpty())
      order << k.Key;
  // "5300" sorts as "5881" + code, just before the line keyed "5882"
  EXPECT_EQ(order, (QStringList{QStringLiteral("1100111 "), QStringLiteral("1200151 "), QStringLiteral("5881741 ")}));
}

TEST_F(AccReader, SubAccountRowsAreTheRecordsActuallyRead)
{
  struct Case {
    std::initializer_list<Rec> recs;
    QStringList codes;  // sub-account codes of the first account, in order
    const char* next;   // account of the following row
  };
  const Case cases[] = {
      // a blank-coded record of the account's own figures comes first
      {{{"1200", "151", "1202", "売掛金", 1, 2, "", 60, 0},
        {"1200", "151", "1202", "売掛金", 1, 2, "", 10, 0},
        {"1200", "151", "1202", "売掛金", 1, 2, "001", 20, 0},
        {"1200", "151", "1202", "売掛金", 1, 2, "002", 30, 0},
        {"3100", "321", "3102", "買掛金", 2, 0, "", 5, 0}},
       {QString(), QStringLiteral("001"), QStringLiteral("002")},
       "3102"},
      // fewer records than announced: no empty rows, the next account keeps its row
      {{{"1200", "151", "1202", "売掛金", 1, 3, "", 20, 0},
        {"1200", "151", "1202", "売掛金", 1, 3, "001", 20, 0},
        {"3100", "321", "3102", "買掛金", 2, 0, "", 5, 0}},
       {QStringLiteral("001")},
       "3102"},
      // the result ends inside the announced sub-accounts
      {{{"1200", "151", "1202", "売掛金", 1, 2, "", 20, 0}, {"1200", "151", "1202", "売掛金", 1, 2, "001", 20, 0}},
       {QStringLiteral("001")},
       ""},
  };
  for (const Case& c : cases) {
    records(c.recs);
    ASSERT_TRUE(read());
    const TBALANCE& r = table[51];
    ASSERT_EQ(r.HOJONUM, c.codes.size());
    ASSERT_EQ(static_cast<int>(r.HOJOUTIWAKE.size()), r.HOJONUM);
    Currency subs;
    for (int i = 0; i < r.HOJONUM; ++i) {
      EXPECT_EQ(r.HOJOUTIWAKE[static_cast<std::size_t>(i)].HCODE, c.codes[i]);
      subs += r.HOJOUTIWAKE[static_cast<std::size_t>(i)].KAISIZAN;
    }
    EXPECT_EQ(subs, r.KAISIZAN);
    EXPECT_EQ(table[52].KAMOKU.KCODE, QString::fromLatin1(c.next));
    EXPECT_EQ(table[52].HOJONUM, 0);
  }
}

TEST_F(AccReader, DatabaseErrorsAreReportedAndTheReadingFails)
{
  records({{"1100", "111", "1101", "現金", 1, 0, "", 100, 5}, {"1200", "151", "1202", "売掛金", 1, 0, "", 30, 0, 0}});
  EXPECT_FALSE(read());
  ASSERT_EQ(reporter.fbCalcTitles, QStringList{QStringLiteral("試算表読込")});
  EXPECT_NE(reporter.fbCalcCodes.value(0), 0);
  EXPECT_FALSE(snapshot->inTransaction());

  // A result without a column the reader needs is an error of the
  // database layer: reported as a message, and the reading fails too.
  reporter = TAccTestReporter{};
  SetAccCalcReporter(&reporter);
  useProcedure(false);
  records({{"1100", "111", "1101", "現金", 1, 0, "", 100, 5}});
  EXPECT_FALSE(read());
  ASSERT_EQ(reporter.messages.size(), 1);
  EXPECT_TRUE(reporter.messages[0].startsWith(QStringLiteral("1:試算表読込,"))) << reporter.messages[0].toStdString();
  EXPECT_TRUE(reporter.messages[0].contains(QStringLiteral("HOJCNT")));
  EXPECT_FALSE(snapshot->inTransaction());

  // Without a company database the reading fails with a message.
  SetAccCalcDatabase({});
  reporter.messages.clear();
  EXPECT_FALSE(read());
  EXPECT_EQ(reporter.messages.size(), 1);
}

TEST_F(AccReader, CodesAreBoundNotFormattedIn)
{
  exec(QStringLiteral("INSERT INTO GROUPMST (GCODE, GNAME) VALUES ('G''1', 'quote')"));
  records({{"1100", "111", "1101", "現金", 1, 0, "", 100, 5}});
  // A department group code with a quote reads the group's (no) departments.
  EXPECT_TRUE(read(4, QStringLiteral("G'1")));
  EXPECT_TRUE(reporter.messages.isEmpty());
  EXPECT_TRUE(reporter.fbCalcTitles.isEmpty());
  EXPECT_TRUE(table[51].KAMOKU.KCODE.isEmpty());
  // the total lines are still there (with departments kept, the
  // balance-sheet lines are hidden for a department reading)
  EXPECT_FALSE(table[28].KAMOKU.KNAME.isEmpty());
  EXPECT_TRUE(table[1].KAMOKU.KNAME.isEmpty());
}

TEST_F(AccReader, DiscountedBillsAreOffsetAgainstReceivedBills)
{
  AccInf.UKETORI_TEGATA = QStringLiteral("1201");
  AccInf.WARIBIKI_TEGATA = QStringLiteral("1203");
  AccInf.URAGAKI_TEGATA = QStringLiteral("1203");  // the same account: only one offset line
  SystemDef.KessansyoTegataSosai = 1;
  records(
      {{"1200", "141", "1201", "受取手形", 1, 0, "", 1000, 50}, {"1200", "152", "1203", "割引手形", 3, 0, "", 300, 0}});
  ASSERT_TRUE(read(0, QStringLiteral(" "), 3));
  SystemDef.KessansyoTegataSosai = 0;
  EXPECT_EQ(table[48].KAMOKU.KCODE, QStringLiteral("1203"));
  EXPECT_EQ(table[48].KAISIZAN, Currency::fromInt(300));
  EXPECT_TRUE(table[49].KAMOKU.KCODE.isEmpty());
  EXPECT_EQ(table[51].KAISIZAN, Currency::fromInt(700));
  EXPECT_EQ(table[51].KARSUM[1], Currency::fromInt(50));
  EXPECT_EQ(table[52].KAISIZAN, Currency());
  for (const TQSORT& k : keys)
    if (k.Rec == 52) {
      EXPECT_EQ(k.Key, HiddenSortKey());
    }

  // Form style 2 looks the bills up by statement line only: no offset here.
  SystemDef.KessansyoTegataSosai = 1;
  ASSERT_TRUE(read(0, QStringLiteral(" "), 2));
  SystemDef.KessansyoTegataSosai = 0;
  EXPECT_EQ(table[51].KAISIZAN, Currency::fromInt(1000));
  EXPECT_TRUE(table[48].KAMOKU.KCODE.isEmpty());
}

TEST_F(AccReader, DepartmentGroupSumsItsDepartments)
{
  namespace acc = fixtures::sample::acc;
  const QDate day = fixtures::sample::fiscalStart().addDays(10);
  struct Line {
    const char* bcode;
    const QString& debit;
    const char* hcode;
    const QString& credit;
    int amount;
    int period;
  };
  const Line lines[] = {
      {"01", acc::Futsuu, "01", acc::Uriage, 1000, 1}, {"02", acc::Futsuu, "01", acc::Uriage, 300, 1},
      {"02", acc::Futsuu, "02", acc::Uriage, 20, 2},   {"01", acc::Ryohi, "", acc::Genkin, 7, 3},
      {"", acc::Ryohi, "", acc::Genkin, 90000, 3},  // no department: outside the group
  };
  QList<fixtures::JournalEntry> entries;
  for (const Line& l : lines) {
    fixtures::JournalEntry e =
        fixtures::JournalEntry::plain(day.addMonths(l.period - 1), l.debit, l.credit, Currency::fromInt(l.amount));
    e.period = l.period;
    e.scode = QStringLiteral("01");
    e.debit.bcode = e.credit.bcode = QString::fromLatin1(l.bcode);
    e.debit.hcode = QString::fromLatin1(l.hcode);
    entries << e;
  }
  fixtures::CompanyFixture(d).post(entries);

  ASSERT_TRUE(read(4, QStringLiteral("B1"), 2, QString()));
  EXPECT_TRUE(reporter.messages.isEmpty());
  QMap<QString, const TBALANCE*> rows;
  for (std::size_t r = 51; r < table.size(); ++r)
    if (!table[r].KAMOKU.KCODE.isEmpty())
      rows[table[r].KAMOKU.KCODE] = &table[r];
  ASSERT_TRUE(rows.contains(acc::Futsuu));
  const TBALANCE& futsuu = *rows[acc::Futsuu];
  EXPECT_EQ(futsuu.KARSUM[1], Currency::fromInt(1300));
  EXPECT_EQ(futsuu.KARSUM[2], Currency::fromInt(20));
  ASSERT_EQ(futsuu.HOJONUM, 2);
  EXPECT_EQ(futsuu.HOJOUTIWAKE[0].KARSUM[1], Currency::fromInt(1300));
  EXPECT_EQ(futsuu.HOJOUTIWAKE[1].KARSUM[2], Currency::fromInt(20));
  EXPECT_EQ(rows[acc::Uriage]->KASSUM[1], Currency::fromInt(1300));
  EXPECT_EQ(rows[acc::Ryohi]->KARSUM[3], Currency::fromInt(7));
  EXPECT_EQ(rows[acc::Genkin]->KASSUM[3], Currency::fromInt(7));
}
