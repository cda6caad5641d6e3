// Journal counts, entry and balance tests and the saved master information
// against a sample company with a few entries of its own: counts by branch,
// the conditions of every test as tables (the prior-year exclusion of the
// retained-earnings account included), the prior-period sums by first
// month, and the comparison of two snapshots.
#include "DataModuleTestUtil.h"
#include "fixtures/CompanyFixture.h"
#include "platform/Exceptions.h"

namespace dmtest {
namespace {

class Balance : public StandAlone {
 protected:
  void SetUp() override
  {
    StandAlone::SetUp();
    general = root.dataSets.at(0);
    {
      db::Database d;
      testfx::builder().open(d, general.database);
      CompanyFixture fx(d);
      const QDate day = sample::fiscalStart().addDays(20);
      // Branch 01: cash sales; branch 02: salaries of department 01 paid in
      // cash and a travel expense that is deleted again.
      JournalEntry sale = JournalEntry::plain(day, sample::acc::Genkin, sample::acc::Uriage, Currency::fromInt(1000));
      sale.scode = "01";
      fx.post(sale);
      JournalEntry salary = JournalEntry::plain(day, sample::acc::Kyuryo, sample::acc::Genkin, Currency::fromInt(3000));
      salary.scode = "02";
      salary.debit.bcode = "01";
      fx.post(salary);
      JournalEntry travel = JournalEntry::plain(day, sample::acc::Ryohi, sample::acc::Genkin, Currency::fromInt(500));
      travel.scode = "02";
      deleted = fx.post(travel);
      ASSERT_TRUE(fx.deleteEntry(deleted));
      // Periods before the first month (NENDO 0): salaries of department
      // 01 (period n: 100 n tax included, 10 n tax excluded) and cash
      // without a department.
      CompanyFixture::EarlierYear dept;
      dept.nendo = 0;
      dept.scode = "01";
      dept.bcode = "01";
      dept.kcode = sample::acc::Kyuryo;
      for (int n = 1; n <= 16; ++n) {
        dept.komi[std::size_t(n)] = Currency::fromInt(100 * n);
        dept.nuki[std::size_t(n)] = Currency::fromInt(10 * n);
      }
      fx.setEarlierYear(dept);
      CompanyFixture::EarlierYear cash;
      cash.nendo = 0;
      cash.scode = "01";
      cash.kcode = sample::acc::Genkin;
      cash.komi[1] = Currency::fromInt(7);
      fx.setEarlierYear(cash);
    }
    // Prior-year balances only on the retained-earnings account; one
    // depreciation asset of branch 01.
    execSql(general.database, "UPDATE KAMOKU_SZ SET KAKOZAN=-1672000 WHERE KCODE='" + sample::acc::Kurikosi + "'");
    execSql(general.database,
            "INSERT INTO KS_SISAN (REC, SCODE, KCODE, NAME) VALUES (1, '01', '" + sample::acc::Kyuryo + "', '機械')");
    ASSERT_TRUE(dm->fnAccDefConnected(QString(), true));
    ASSERT_TRUE(dm->fnAccDatConnected(QString(), general.folder, false));
    DM = dm.get();
    ASSERT_TRUE(dm->fnGetAccInfo());
    ASSERT_EQ(AccInf.DATATYPE, 1);
    ASSERT_EQ(AccInf.ZENKIKURIKOSI, sample::acc::Kurikosi);
  }
  void TearDown() override
  {
    DM = nullptr;
    if (dm)
      dm->fnAccDatDisConnected(general.folder, false, false, false);
    StandAlone::TearDown();
  }

  sample::DataSet general;
  int deleted = 0;
};

TEST_F(Balance, JournalCounts)
{
  struct Case {
    QString scode;
    int yukou, upDel;
  } cases[] = {
      {"", 2, 1},   {"  ", 2, 1},                                         // blank: every branch
      {"01", 1, 0}, {"02", 1, 1}, {"03", 0, 0}, {"01' OR '1'='1", 0, 0},  // a code is a value, never statement text
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scode.toStdString());
    EXPECT_EQ(dm->GetYukouSiwakeCount(c.scode), c.yukou);
    EXPECT_EQ(dm->GetUpDelSiwakeCount(c.scode), c.upDel);
    int yukou = -9, upDel = -9;
    EXPECT_EQ(dm->GetSiwakeCount(c.scode, yukou, upDel), c.yukou + c.upDel);
    EXPECT_EQ(yukou, c.yukou);
    EXPECT_EQ(upDel, c.upDel);
    EXPECT_EQ(dm->GetSiwakeCount(c.scode), c.yukou + c.upDel);
    EXPECT_EQ(dm->GetSiwakeCount(0, c.scode), c.yukou + c.upDel);
  }
  // The archived years: every line, 60 per year, all of branch 01.
  struct Year {
    int nendo;
    QString scode;
    int count;
  } years[] = {{1, "", 60}, {1, "01", 60}, {2, " ", 60}, {2, "02", 0}, {3, "", 0}, {-1, "", 0}};
  for (const auto& y : years)
    EXPECT_EQ(dm->GetSiwakeCount(y.nendo, y.scode), y.count) << y.nendo << " " << y.scode.toStdString();
  EXPECT_FALSE(dm->IBTransactionDAT.inTransaction());

  // A caller's open transaction is left open.
  dm->IBTransactionDAT.start();
  EXPECT_EQ(dm->GetSiwakeCount(QString()), 3);
  EXPECT_TRUE(dm->IBTransactionDAT.inTransaction());
  dm->IBTransactionDAT.commit();

  // Cash-book data counts the cash account's live lines.
  SystemKind = 3;
  EXPECT_EQ(dm->GetYukouSiwakeCount(""), 2);
  EXPECT_EQ(dm->GetYukouSiwakeCount("02"), 1);
  SystemKind = 4;
  EXPECT_EQ(dm->GetYukouSiwakeCount(""), -1);
  SystemKind = 0;
}

TEST_F(Balance, EntryTests)
{
  using sample::acc::Futsuu, sample::acc::Genkin, sample::acc::Kyuryo, sample::acc::Ryohi, sample::acc::Uriage,
      sample::acc::Urikake, sample::acc::Shiire;
  enum Test { Siwake0, Siwake1, Siwake2, Tounendo, Kaisi, Genka };
  struct Case {
    Test test;
    QString s, k, h, b;
    bool expected;
  } cases[] = {
      {Siwake0, "01", Genkin, "", "", true},
      {Siwake0, "02", Genkin, "", "", true},  // the credit line
      {Siwake0, "02", Uriage, "", "", false},
      {Siwake0, "02", Ryohi, "", "", true},  // deleted lines count
      {Siwake0, "", Kyuryo, "", "01", true},
      {Siwake0, "", Kyuryo, "", "02", false},
      {Siwake0, "", "", "", "", true},
      {Siwake1, "01", Futsuu, "02", "", true},
      {Siwake1, "02", Futsuu, "", "", false},
      {Siwake2, "", Urikake, "001", "", true},
      {Siwake2, "", Urikake, "003", "", false},
      {Tounendo, "01", Genkin, "", "", true},
      {Tounendo, "02", Ryohi, "", "", false},  // deleted: no balance left
      {Tounendo, "", Kyuryo, "", "01", true},
      {Tounendo, "", Kyuryo, " ", "01", true},  // the account's own figures
      {Tounendo, "", Kyuryo, "", "02", false},
      {Kaisi, "01", Genkin, "", "", true},
      {Kaisi, "02", Genkin, "", "", false},
      {Kaisi, "", Urikake, "001", "", true},
      {Kaisi, "", Urikake, "002", "", false},
      {Kaisi, "01", Shiire, "", "", false},
      {Kaisi, "", "", "", "", true},
      {Genka, "", "", "", "", true},
      {Genka, "01", "", "", "", true},
      {Genka, "02", "", "", "", false},
      {Genka, "", Kyuryo, "", "", true},
      {Genka, "01", Kyuryo, "", "", true},
      {Genka, "02", Kyuryo, "", "", false},
      {Genka, "02' OR '1'='1", "", "", "", false},  // bound, never spliced
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(QStringLiteral("%1 [%2|%3|%4|%5]").arg(c.test).arg(c.s, c.k, c.h, c.b).toStdString());
    bool got = !c.expected;
    switch (c.test) {
      case Siwake0:
        got = dm->GetTounendoSiwakeEntry(c.s, c.k, c.h, c.b);
        EXPECT_EQ(dm->GetSiwakeEntry(0, c.s, c.k, c.h, c.b), got);
        break;
      case Siwake1:
        got = dm->GetSiwakeEntry(1, c.s, c.k, c.h, c.b);
        break;
      case Siwake2:
        got = dm->GetSiwakeEntry(2, c.s, c.k, c.h, c.b);
        break;
      case Tounendo:
        got = dm->GetTounendoZanEntry(c.s, c.k, c.h, c.b);
        break;
      case Kaisi:
        got = dm->GetKaisiZanEntry(c.s, c.k, c.h, c.b);
        break;
      case Genka:
        got = dm->GetGenkaSyokyakuEntry(c.s, c.k);
        break;
    }
    EXPECT_EQ(got, c.expected);
  }
  EXPECT_THROW(dm->GetSiwakeEntry(3, "", "", "", ""), EPlatformError);
  EXPECT_TRUE(hook.boxes.empty());
}

TEST_F(Balance, PriorYearBalanceExcludesRetainedEarningsOnlyWithoutAnAccount)
{
  using sample::acc::Genkin, sample::acc::Kurikosi;
  // Only the retained-earnings account has a prior-year balance.
  struct Case {
    int dataType;
    QString s, k, h, b;
    bool expected;
  } cases[] = {
      {1, "", "", "", "", false},  // corporation data, no account: excluded
      {1, "01", "", "", "", false},        {1, "01", "", "", " ", false},
      {1, "", Kurikosi, "", "", true},  // named: counted
      {1, "01", Kurikosi, " ", " ", true}, {1, "02", Kurikosi, "", "", false},
      {1, "", Genkin, "", "", false},      {2, "", "", "", "", true},  // individual data: no exclusion
      {2, "01", "", "", "", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(QStringLiteral("%1 [%2|%3|%4|%5]").arg(c.dataType).arg(c.s, c.k, c.h, c.b).toStdString());
    AccInf.DATATYPE = c.dataType;
    EXPECT_EQ(dm->GetKanendoZanEntry(c.s, c.k, c.h, c.b), c.expected);
  }
  AccInf.DATATYPE = 1;
  // Once another account has one too, the company has prior-year balances.
  execSql(general.database, "UPDATE KAMOKU_SZ SET KAKOZAN=5 WHERE KCODE='" + Genkin + "'");
  EXPECT_TRUE(dm->GetKanendoZanEntry("", "", "", ""));
  EXPECT_TRUE(dm->GetKanendoZanEntry("01", "", "", ""));
}

TEST_F(Balance, ByBusinessKind)
{
  using sample::acc::Genkin, sample::acc::Kurikosi, sample::acc::Kyuryo, sample::acc::Ryohi;
  // Every branch of the sample is of kind 1; kinds outside 1, 2, 4, 8 set
  // no limit.
  enum Test { Siwake, Tounendo, Kanendo, Kaisi, Genka };
  struct Case {
    Test test;
    int jigyo;
    QString k, h, b;
    bool expected;
  } cases[] = {
      {Siwake, 1, Genkin, "", "", true},     {Siwake, 2, Genkin, "", "", false},
      {Siwake, 0, Genkin, "", "", true},     {Siwake, 3, Kyuryo, "", "01", true},
      {Siwake, 8, "", "", "", false},        {Tounendo, 1, Genkin, "", "", true},
      {Tounendo, 4, Genkin, "", "", false},  {Tounendo, 1, Ryohi, "", "", false},
      {Tounendo, 0, "", "", "", true},       {Kanendo, 1, "", "", "", false},
      {Kanendo, 1, Kurikosi, "", "", true},  {Kanendo, 2, Kurikosi, "", "", false},
      {Kanendo, 0, Kurikosi, " ", "", true}, {Kaisi, 1, Genkin, "", "", true},
      {Kaisi, 4, Genkin, "", "", false},     {Kaisi, 0, "", "", "", true},
      {Genka, 1, Kyuryo, "", "", true},      {Genka, 2, Kyuryo, "", "", false},
      {Genka, 0, "", "", "", true},          {Genka, 1, Genkin, "", "", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(QStringLiteral("%1 %2 [%3|%4|%5]").arg(c.test).arg(c.jigyo).arg(c.k, c.h, c.b).toStdString());
    bool got = !c.expected;
    switch (c.test) {
      case Siwake:
        got = dm->GetJigyobetuTounendoSiwakeEntry(c.jigyo, c.k, c.h, c.b);
        break;
      case Tounendo:
        got = dm->GetJigyobetuTounendoZanEntry(c.jigyo, c.k, c.h, c.b);
        break;
      case Kanendo:
        got = dm->GetJigyobetuKanendoZanEntry(c.jigyo, c.k, c.h, c.b);
        break;
      case Kaisi:
        got = dm->GetJigyobetuKaisiZanEntry(c.jigyo, c.k, c.h, c.b);
        break;
      case Genka:
        got = dm->GetJigyobetuGenkaSyokyakuEntry(c.jigyo, c.k);
        break;
    }
    EXPECT_EQ(got, c.expected);
  }
}

TEST_F(Balance, PriorPeriodSumsByFirstMonth)
{
  // Department rows of branch 01: period n holds 100 n + 10 n = 110 n.
  struct Case {
    int kaisiNo;
    qint64 sum;        // fnKanendZan("01")
    bool cashAccount;  // fnSisetuKmk_KanendZan("01", cash): period 1 only
  } cases[] = {
      {1, 0, false},       {2, 110, true},        {3, 110 * 3, true}, {4, 110 * 10, true}, {5, 110 * 15, true},
      {7, 110 * 36, true}, {12, 110 * 105, true}, {13, 0, false},     {0, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kaisiNo);
    AccInf.KAISINO = c.kaisiNo;
    EXPECT_EQ(dm->fnKanendZan("01"), Currency::fromInt(c.sum));
    EXPECT_EQ(dm->fnKanendZan("02"), Currency());
    EXPECT_EQ(dm->fnSisetuKmk_KanendZan("01", sample::acc::Genkin), c.cashAccount);
    EXPECT_EQ(dm->fnSisetuKmk_KanendZan("01", sample::acc::Kyuryo), c.sum != 0);
    EXPECT_FALSE(dm->fnSisetuKmk_KanendZan("02", sample::acc::Kyuryo));
  }
  EXPECT_TRUE(hook.boxes.empty());

  struct Branch {
    QString scode;
    bool bumon;
  } branches[] = {{"01", true}, {"02", true}, {"", false}, {"99", false}};
  for (const auto& b : branches) {
    SystemDef.OPSCODE = b.scode;
    EXPECT_EQ(dm->fnBumonTest(), b.bumon) << b.scode.toStdString();
  }
}

TEST_F(Balance, SavedMasterInformation)
{
  TSavedMasterInfoRec before;
  EXPECT_EQ(dm->GetNowMasterInfo(before), 0);
  EXPECT_EQ(before.NowSiwakeCnt, 3);
  EXPECT_EQ(before.NowYukouSiwakeCnt, 2);
  EXPECT_EQ(before.NowUpDelSiwakeCnt, 1);
  EXPECT_GT(before.NowUseKamokuCnt, 0);
  EXPECT_EQ(before.NowKaisizanSum,
            Currency::fromInt(2 * (500000 + 3000000 + 1200000 + 800000 + 600000 + 3000000 + 1900000)));
  EXPECT_GT(before.FinalKamokuDate, 0.0);

  auto postCash = [&]() {
    dm->IBDatabaseDAT.disconnect();
    {
      db::Database d;
      testfx::builder().open(d, general.database);
      CompanyFixture fx(d);
      JournalEntry e = JournalEntry::plain(sample::fiscalStart().addDays(30), sample::acc::Genkin, sample::acc::Kaikake,
                                           Currency::fromInt(100));
      e.scode = "01";
      fx.post(e);
    }
    ASSERT_TRUE(dm->fnAccDatConnected(QString(), general.folder, false));
  };
  struct Step {
    const char* what;
    std::function<void()> change;
    int result;  // compared with the snapshot before the change
  } steps[] = {
      {"nothing changed", [] {}, 0},
      {"a journal entry on existing balances", postCash, 1},
      {"an entry deleted (the total stays)",
       [&] { execSql(general.database, "UPDATE SIWAKE SET DELFLG=1 WHERE SWKREC=1"); }, 1},
      {"a sub-account changed",
       [&] { execSql(general.database, "UPDATE HOJOMST SET RTIME=CURRENT_TIMESTAMP WHERE HCODE='02'"); }, 2},
      {"an opening changed",
       [&] {
         execSql(general.database, "UPDATE KAMOKU_SZ SET KISHU_KOMI=KISHU_KOMI+1 WHERE KCODE='" + sample::acc::Genkin +
                                       "' AND SCODE='01'");
       },
       2},
  };
  TSavedMasterInfoRec last = before;
  for (const auto& s : steps) {
    SCOPED_TRACE(s.what);
    s.change();
    TSavedMasterInfoRec now;
    EXPECT_EQ(dm->GetNowMasterInfo(now), 0);
    EXPECT_EQ(TDM::MasterInfoHikaku(last, now), s.result);
    EXPECT_EQ(TDM::MasterInfoHikaku(now, last), s.result);
    last = now;
  }

  // The comparison alone: master facts outrank journal counts.
  struct Diff {
    const char* what;
    std::function<void(TSavedMasterInfoRec&)> change;
    int result;
  } diffs[] = {
      {"same", [](TSavedMasterInfoRec&) {}, 0},
      {"changed/deleted count", [](TSavedMasterInfoRec& r) { r.NowUpDelSiwakeCnt += 1; }, 1},
      {"live count", [](TSavedMasterInfoRec& r) { r.NowYukouSiwakeCnt -= 1; }, 1},
      {"total count", [](TSavedMasterInfoRec& r) { r.NowSiwakeCnt += 1; }, 1},
      {"sub-account date and a count",
       [](TSavedMasterInfoRec& r) {
         r.NowUpDelSiwakeCnt += 1;
         r.FinalHojoDate += 1.0 / 86400;
       },
       2},
      {"account date", [](TSavedMasterInfoRec& r) { r.FinalKamokuDate += 1; }, 2},
      {"opening sum", [](TSavedMasterInfoRec& r) { r.NowKaisizanSum = r.NowKaisizanSum + Currency::fromInt(1); }, 2},
      {"rows of balances", [](TSavedMasterInfoRec& r) { r.NowUseKamokuCnt += 1; }, 2},
  };
  for (const auto& d : diffs) {
    TSavedMasterInfoRec b = before;
    d.change(b);
    EXPECT_EQ(TDM::MasterInfoHikaku(before, b), d.result) << d.what;
  }
}

TEST_F(Balance, ErrorsAreReportedOrSwallowedAsEachOperationPromises)
{
  // A code longer than any code column: the server refuses the statement.
  const QString tooLong(30, u'9');
  EXPECT_THROW(dm->GetYukouSiwakeCount(tooLong), db::DbError);
  EXPECT_THROW(dm->GetUpDelSiwakeCount(tooLong), db::DbError);
  EXPECT_THROW(dm->GetSiwakeCount(tooLong), db::DbError);
  EXPECT_THROW(dm->GetSiwakeEntry(0, tooLong, "", "", ""), db::DbError);
  EXPECT_THROW(dm->GetKaisiZanEntry("", tooLong, "", ""), db::DbError);
  EXPECT_FALSE(dm->IBTransactionDAT.inTransaction());
  EXPECT_TRUE(hook.boxes.empty());  // logged without a box
  QFile log(tmp.file("log") + "/ErrFbAccess.log");
  ASSERT_TRUE(log.open(QIODevice::ReadOnly));
  const QByteArray logged = log.readAll();
  for (const char* step :
       {"TDM.GetYukouSiwakeCount", "TDM.GetUpDelSiwakeCount", "TDM.GetSiwakeEntry", "TDM.GetKaisiZanEntry"})
    EXPECT_TRUE(logged.contains(step)) << step;

  // Swallowed: the answer is 0 or false.
  EXPECT_EQ(dm->GetSiwakeCount(0, tooLong), 0);
  EXPECT_EQ(dm->GetSiwakeCount(1, tooLong), 0);
  EXPECT_FALSE(dm->GetGenkaSyokyakuEntry(tooLong, ""));
  EXPECT_FALSE(dm->GetJigyobetuKaisiZanEntry(1, tooLong, "", ""));
  EXPECT_TRUE(hook.boxes.empty());

  // Shown: the prior-period sums and the department test.
  AccInf.KAISINO = 4;
  EXPECT_EQ(dm->fnKanendZan(tooLong), Currency());
  EXPECT_FALSE(dm->fnSisetuKmk_KanendZan("01", tooLong));
  SystemDef.OPSCODE = tooLong;
  EXPECT_FALSE(dm->fnBumonTest());
  ASSERT_EQ(hook.boxes.size(), 3u);
  EXPECT_TRUE(hook.boxes[0].text.startsWith("過年度残高のチェックに失敗しました。"));
  EXPECT_TRUE(hook.boxes[1].text.startsWith("過年度残高のチェックに失敗しました。"));
  EXPECT_TRUE(hook.boxes[2].text.startsWith("支店別の部門有無のチェックに失敗しました。"));
  EXPECT_FALSE(dm->IBTransactionDAT.inTransaction());
  // The module still answers afterwards.
  EXPECT_EQ(dm->GetSiwakeCount(QString()), 3);
}

}  // namespace
}  // namespace dmtest
