// The journal-entry writer against the fixture companies: the checks of
// TestSiwake with their numbers and both wordings, storing, numbering,
// deleting and restoring, sticky notes on voucher rows, bound conditions and
// lock conflicts.
#include <chrono>
#include <future>
#include <thread>

#include "maint/SiwakeWrite.h"
#include "maint/tests/JournalTestUtil.h"

namespace journaltest {
namespace {

class SiwakeWriteTest : public JournalTest {
 protected:
  // A plain entry of branch 01 that passes every check: cash against capital.
  TSWKREC goodEntry()
  {
    TSWKREC e;
    TSiwakeWrite::InitSiwakeRec(e, 0, day(2024, 6, 10));
    e.SCODE = QStringLiteral("01");
    e.LK.KCODE = QStringLiteral("111");
    e.LK.HCODE = QStringLiteral(" ");
    e.RK.KCODE = QStringLiteral("411");
    e.RK.HCODE = QStringLiteral(" ");
    e.KINGAKU = Currency::fromInt(1000);
    e.TEKTEXT = QStringLiteral("元入\t金");
    return e;
  }
  void start(TSiwakeWrite& w, TWriteType type = wtKousin)
  {
    w.SetWriteType(type);
    w.SetIBTransaction(&tr());
    w.SetTransStart(true);
    w.ExecuteKamokuList(QStringLiteral("01"));
  }
};

TEST_F(SiwakeWriteTest, ChecksGiveTheirNumberAndWording)
{
  openDataSet(0);
  // The bank account's own row beside its two sub-accounts.
  exec("INSERT INTO KAMOKU_SZ (SCODE, BCODE, KCODE, HCODE) VALUES ('01', '', '1103', ' ')");
  AccInf.SITEN_KANRI = 1;
  struct Case {
    const char* what;
    std::function<void(TSWKREC&, TSiwakeTestItem&)> change;
    int errNo;
    QString kousin;
    QString input;
  };
  const Case cases[] = {
      {"passes", [](TSWKREC&, TSiwakeTestItem&) {}, 0, "", ""},
      {"day before the start", [](TSWKREC& e, TSiwakeTestItem&) { e.HIZUKE = AccInf.KAISI - 1; }, 1,
       "日付が会計期間外または、決算区分の設定が不正です。", "日付が会計期間外または、決算区分の指定が不正です。"},
      {"day after the end", [](TSWKREC& e, TSiwakeTestItem&) { e.HIZUKE = AccInf.KIMATU + 1; }, 1,
       "日付が会計期間外または、決算区分の設定が不正です。", "日付が会計期間外または、決算区分の指定が不正です。"},
      {"approved", [](TSWKREC& e, TSiwakeTestItem&) { e.SYOUNIN_HIZUKE = day(2024, 6, 11); }, 40,
       "承認済みの仕訳が設定されました。", "承認済みの仕訳は訂正できません。"},
      {"approval not checked",
       [](TSWKREC& e, TSiwakeTestItem& t) {
         e.SYOUNIN_HIZUKE = day(2024, 6, 11);
         t.Syounin = false;
       },
       0, "", ""},
      {"no branch", [](TSWKREC& e, TSiwakeTestItem&) { e.SCODE = QStringLiteral(" "); }, 5,
       "本・支店コードが不正です。", "本・支店コードが不正です。データを選択し直してください。"},
      {"unknown debit account", [](TSWKREC& e, TSiwakeTestItem&) { e.LK.KCODE = QStringLiteral("998"); }, 11,
       "借方の科目コードの設定が不正です。", "借方の科目コードが見つかりません。"},
      {"code longer than 6", [](TSWKREC& e, TSiwakeTestItem&) { e.LK.HCODE = QStringLiteral("1234567"); }, 11,
       "借方の科目コードの設定が不正です。", "借方の科目コードが見つかりません。"},
      {"bank without sub-account", [](TSWKREC& e, TSiwakeTestItem&) { e.LK.KCODE = QStringLiteral("131"); }, 11,
       "借方の補助コードの設定が不正です。", "借方の補助コードを入力してください。"},
      {"unknown credit account", [](TSWKREC& e, TSiwakeTestItem&) { e.RK.KCODE = QStringLiteral("998"); }, 21,
       "貸方の科目コードの設定が不正です。", "貸方の科目コードが見つかりません。"},
      {"unknown debit tax code", [](TSWKREC& e, TSiwakeTestItem&) { e.LK.TAXCODE = 999; }, 12,
       "借方の消費税コードの設定が不正です。", "借方の消費税コードを確認してください。"},
      {"unknown credit tax code", [](TSWKREC& e, TSiwakeTestItem&) { e.RK.TAXCODE = 999; }, 22,
       "貸方の消費税コードの設定が不正です。", "貸方の消費税コードを確認してください。"},
      {"half a unit", [](TSWKREC& e, TSiwakeTestItem&) { e.KINGAKU = Currency::fromDouble(0.5); }, 31,
       "金額の設定が不正です。（０円 または null）", "金額を入力してください。"},
      {"negative", [](TSWKREC& e, TSiwakeTestItem&) { e.KINGAKU = Currency::fromInt(-1); }, 31,
       "金額にマイナス値が設定されました。", "マイナス金額は入力できません。"},
      {"too large", [](TSWKREC& e, TSiwakeTestItem&) { e.KINGAKU = Currency::fromInt(10000000000LL); }, 31,
       "金額の設定が不正です。（桁数オーバー）", "金額桁数がオーバーしています。"},
      {"largest amount", [](TSWKREC& e, TSiwakeTestItem&) { e.KINGAKU = Currency::fromInt(9999999999LL); }, 0, "", ""},
      {"amount not checked",
       [](TSWKREC& e, TSiwakeTestItem& t) {
         e.KINGAKU = Currency::fromInt(-5);
         t.Kingaku = false;
       },
       0, "", ""},
  };
  for (const TWriteType type : {wtKousin, wtInput}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.what);
      TSiwakeWrite w;
      start(w, type);
      TSWKREC e = goodEntry();
      TSiwakeTestItem items;
      c.change(e, items);
      w.SetSiwakeTestItem(items);
      w.SetTransStart(true);
      int no = -1;
      QString msg;
      EXPECT_EQ(w.TestSiwake(e, no, msg), c.errNo == 0);
      EXPECT_EQ(no, c.errNo);
      EXPECT_EQ(msg, type == wtKousin ? c.kousin : c.input);
      EXPECT_FALSE(w.TransStart());
      EXPECT_FALSE(tr().inTransaction());
    }
  }
  EXPECT_TRUE(hook.boxes.empty());
}

TEST_F(SiwakeWriteTest, AuditCostAndTaxRules)
{
  openDataSet(0);
  exec("INSERT INTO KOBETU (KOBETUCODE, KOBETUCODESTR, KOBETUNAME) VALUES (1, '001', '髙橋邸')");
  exec("INSERT INTO KAMOKU_SZ (SCODE, BCODE, KCODE, HCODE) VALUES ('01', '', '1402', ' ')");
  exec(
      "INSERT INTO TAXMST (TAX_CODE, TAX_REC, TAX_GNAM, TAX_NAME, TAX_HOUSIKI, TAX_UH, TAX_DAC, TAX_NAME2) "
      "VALUES (514, 9, '課税仕入', '課税仕入80%', 1, 2, 1, '課税仕入80%')");
  const TACCINF saved = AccInf;
  struct Case {
    const char* what;
    std::function<void(TSWKREC&)> change;
    int errNo;
    QString msg;
  };
  const Case cases[] = {
      {"audited entry",
       [](TSWKREC& e) {
         AccInf.KANSA_LOCK = 1;
         e.CTIME = day(2024, 7, 1);
       },
       2, "監査済みの仕訳が設定されました。"},
      {"audited date",
       [](TSWKREC&) {
         AccInf.KANSA_LOCK = 1;
         AccInf.KANSA_DATE = day(2024, 7, 1);
         AccInf.KANSA_FIXDATE = day(2024, 6, 30);
       },
       3, "日付に監査済みの日付が設定されました。"},
      {"unknown cost code",
       [](TSWKREC& e) {
         AccInf.KobetuGenka_Use = 1;
         AccInf.KobetuGenkaAlias = QStringLiteral("工事");
         e.SNUM = 2;
       },
       4, "工事コードの設定が不正です。"},
      {"known cost code",
       [](TSWKREC& e) {
         AccInf.KobetuGenka_Use = 1;
         e.SNUM = 1;
       },
       0, ""},
      {"input tax account with a sales code",
       [](TSWKREC& e) {
         e.LK.KCODE = QStringLiteral("189");
         e.LK.TAXCODE = 501;
         e.RK.TAXCODE = 910;
       },
       13, "仮払消費税の税コードは[700番台,810,910]を使用してください。"},
      {"same on the credit side",
       [](TSWKREC& e) {
         e.RK.KCODE = QStringLiteral("189");
         e.RK.TAXCODE = 501;
       },
       23, "仮払消費税の税コードは[700番台,810,910]を使用してください。"},
      {"rates differ",
       [](TSWKREC& e) {
         e.LK.RIT = Currency::fromInt(10);
         e.RK.RIT = Currency::fromInt(8);
         e.LK.ZEIRITUKBN = 1;
         e.RK.ZEIRITUKBN = 2;
       },
       41, "借方と貸方の消費税率が違います。"},
      {"deduction ratios differ",
       [](TSWKREC& e) {
         e.LK.TAXCODE = 101;
         e.RK.TAXCODE = 514;
       },
       42, "借方・貸方消費税コードで仕入税額控除の割合が違います。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AccInf = saved;
    TSWKREC e = goodEntry();
    c.change(e);
    TSiwakeWrite w;
    start(w);
    w.SetTransStart(true);
    w.ExecuteKobetuGenkaList();
    w.SetTransStart(true);
    int no = -1;
    QString msg;
    EXPECT_EQ(w.TestSiwake(e, no, msg), c.errNo == 0);
    EXPECT_EQ(no, c.errNo);
    EXPECT_EQ(msg, c.msg);
  }
  AccInf = saved;

  // Cost codes stay only on entries of cost accounts.
  AccInf.KobetuGenka_Use = 1;
  TSiwakeWrite w;
  TSWKREC e = goodEntry();
  e.SNUM = 1;
  e.LK.KGROUP = QStringLiteral("1110");
  e.RK.KGROUP = QStringLiteral("3510");
  EXPECT_FALSE(w.IsYuukoKobetuGenkaSiwake(e));
  EXPECT_EQ(e.SNUM, 0);
  e.SNUM = 1;
  e.RK.KGROUP = QStringLiteral("5880");
  EXPECT_TRUE(w.IsYuukoKobetuGenkaSiwake(e));
  EXPECT_EQ(e.SNUM, 1);
  AccInf = saved;
}

TEST_F(SiwakeWriteTest, CheckCompletesTheEntryFromTheMasters)
{
  openDataSet(0);
  TSiwakeWrite w;
  start(w);
  TSWKREC e = goodEntry();
  e.LK.KCODE = QStringLiteral("131");
  e.LK.HCODE = QStringLiteral("02");
  int no = 0;
  QString msg;
  ASSERT_TRUE(w.TestSiwake(e, no, msg)) << msg.toStdString();
  EXPECT_EQ(e.LK.KNAME, QStringLiteral("普通預金"));
  EXPECT_EQ(e.LK.HNAME, QStringLiteral("髙島信用金庫"));
  EXPECT_FALSE(e.LK.KGROUP.isEmpty());
  EXPECT_EQ(e.TEKTEXT, QStringLiteral("元入金"));
  EXPECT_GE(e.MNUM, 1);

  // A closing entry on the fiscal end belongs to period 16.
  TSWKREC closing = goodEntry();
  closing.KESSAN = 1;
  closing.HIZUKE = AccInf.KIMATU;
  ASSERT_TRUE(w.TestSiwake(closing, no, msg));
  EXPECT_EQ(closing.MNUM, 16);

  // Without the account check nothing is completed.
  TSiwakeTestItem items;
  items.Kamoku = false;
  w.SetSiwakeTestItem(items);
  TSWKREC asGiven = goodEntry();
  asGiven.LK.KGROUP = QStringLiteral("X");
  asGiven.LK.KNAME = QStringLiteral("given");
  ASSERT_TRUE(w.TestSiwake(asGiven, no, msg));
  EXPECT_EQ(asGiven.LK.KGROUP, QStringLiteral("X"));
  EXPECT_EQ(asGiven.LK.KNAME, QStringLiteral("given"));

  // Medical data names the facility.
  openDataSet(1);
  AccInf.SITEN_KANRI = 1;
  TSiwakeWrite m;
  start(m);
  TSWKREC noBranch = goodEntry();
  noBranch.SCODE.clear();
  EXPECT_FALSE(m.TestSiwake(noBranch, no, msg));
  EXPECT_EQ(no, 5);
  EXPECT_EQ(msg, QStringLiteral("施設コードが不正です。"));
}

TEST_F(SiwakeWriteTest, StoringAndNumbering)
{
  const QString folder = tmp.file(QStringLiteral("empty"));
  testfx::makeCompanyDb(folder, CompanyKind::General, false);
  open(folder);
  TSiwakeWrite w;
  w.SetIBTransaction(&tr());
  EXPECT_EQ(w.GetNextGroupNumber(), 1);
  EXPECT_EQ(w.GetNextDenpyouNumber(12), 1);

  tr().startIfNeeded();
  TSWKREC e = goodEntry();
  e.DNUM = 7;
  e.LINKKUB = 13;
  e.LINKREC = 5;
  const int rec = w.PutSiwake(e);
  EXPECT_GT(rec, 0);
  EXPECT_EQ(e.REC, rec);
  EXPECT_EQ(e.SWKNO, e.SWKREC);
  EXPECT_EQ(w.GetNextGroupNumber(), 8);  // same transaction
  EXPECT_EQ(w.GetNextDenpyouNumber(12), 1);
  EXPECT_EQ(w.GetNextDenpyouNumber(13), 6);
  tr().commit();
  // Stored with the internal account code of the user code.
  EXPECT_EQ(column(QStringLiteral("SELECT KCODE, R_KCODE FROM SIWAKE WHERE TAISHAKU=1")),
            QStringList{sample::acc::Genkin + "|" + sample::acc::Shihon});

  TSWKREC back;
  w.SetTransStart(true);
  w.GetSiwake(back, rec, 0);
  EXPECT_EQ(back.LK.KCODE, QStringLiteral("111"));
  EXPECT_EQ(back.RK.KCODE, QStringLiteral("411"));
  EXPECT_EQ(back.KINGAKU, Currency::fromInt(1000));
  EXPECT_EQ(back.DNUM, 7);

  // Delete, then restore on a day without live entries: sequence 0.
  w.SetTransStart(true);
  EXPECT_EQ(w.DeleteSiwake(e.SWKREC), 1);
  tr().start();
  EXPECT_EQ(w.IsYuukouSiwake(rec), -1);
  EXPECT_EQ(w.IsYuukouSiwake(999999), 0);
  tr().commit();
  w.SetTransStart(true);
  EXPECT_EQ(w.RestoreSiwake(e.SWKREC), 1);
  tr().start();
  EXPECT_EQ(w.IsYuukouSiwake(rec), 1);
  tr().commit();
  EXPECT_EQ(column(QStringLiteral("SELECT SDAYNUM FROM SIWAKE WHERE TAISHAKU=1")), QStringList{"0"});
  // Nothing to restore is no success.
  w.SetTransStart(true);
  EXPECT_EQ(w.RestoreSiwake(424242), 0);
  EXPECT_FALSE(tr().inTransaction());
}

TEST_F(SiwakeWriteTest, StickyNotesReachTheVoucherRowOnly)
{
  const QString folder = tmp.file(QStringLiteral("voucher"));
  testfx::makeCompanyDb(folder, CompanyKind::General, false);
  open(folder);
  TSiwakeWrite w;
  w.SetIBTransaction(&tr());
  tr().startIfNeeded();
  QList<int> swk;
  const QStringList keys{"LRKBN=L,ROW=3", "LRKBN=R,ROW=3", "ROW=4", "ROW=3"};
  for (const QString& key : keys) {
    TSWKREC e = goodEntry();
    e.LINKKUB = 12;
    e.LINKREC = 9;
    e.LINKKEY = key;
    ASSERT_GT(w.PutSiwake(e), 0);
    swk << e.SWKREC;
  }
  tr().commit();
  auto fusen = [&]() { return column(QStringLiteral("SELECT FUSEN1 FROM SIWAKE WHERE TAISHAKU=1 ORDER BY SWKREC")); };

  w.SetTransStart(true);
  EXPECT_EQ(w.PutSiwakeFusenInfo(swk[0], 12, 9, QStringLiteral("ROW=3"), 0, 2), 2);
  EXPECT_EQ(fusen(), (QStringList{"2", "2", "0", "2"}));
  w.SetTransStart(true);
  EXPECT_EQ(w.PutSiwakeFusenInfo(swk[2], 12, 9, QStringLiteral("LRKBN=-,ROW=4"), 0, 3), 1);
  EXPECT_EQ(fusen(), (QStringList{"2", "2", "3", "2"}));
  // A key without ROW changes the entry itself, never the whole voucher.
  w.SetTransStart(true);
  EXPECT_EQ(w.PutSiwakeFusenInfo(swk[1], 12, 9, QStringLiteral("LRKBN=R"), 0, 1), 1);
  EXPECT_EQ(fusen(), (QStringList{"2", "1", "3", "2"}));
  w.SetTransStart(true);
  EXPECT_EQ(w.PutSiwakeMemoInfo(swk[3], 12, 9, QStringLiteral("ROW=3"), 1, QStringLiteral("確認'済")), 2);
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM SIWAKE WHERE AO_COMMENT='確認''済'")), 6);
  // No entry changed: no success.
  w.SetTransStart(true);
  EXPECT_EQ(w.PutSiwakeFusenInfo(777777, 0, 0, QString(), 0, 1), 0);
  EXPECT_EQ(w.PutSiwakeFusenInfo(0, 0, 0, QString(), 0, 1), 0);

  EXPECT_EQ(TSiwakeWrite::GetLinkKeyOfKeyName("A=1,ROW=3,B=2", "ROW"), QStringLiteral("ROW=3"));
  EXPECT_EQ(TSiwakeWrite::GetLinkKeyOfValue("A=1,ROW=3,B=2", "ROW"), QStringLiteral("3"));
  EXPECT_EQ(TSiwakeWrite::GetLinkKeyOfValue("A=1", "ROW"), QString());
}

TEST_F(SiwakeWriteTest, LookUpsBindEveryCode)
{
  openDataSet(0);
  TSiwakeWrite w;
  start(w);
  EXPECT_TRUE(w.GetFindKCODE(QStringLiteral("131")));
  EXPECT_EQ(w.GetNeedItem(QStringLiteral("131")), niHojo);
  EXPECT_EQ(w.GetNeedItem(QStringLiteral("nope")), niNone);
  EXPECT_TRUE(w.GetFindKamoku(QStringLiteral("131"), QStringLiteral("01 "), QString()));
  EXPECT_EQ(w.GetKamokuRecArr(w.KamokuIndex()).HOJO.HNAME, QStringLiteral("①みずなみ銀行"));
  EXPECT_EQ(w.KCodeToUserCode(sample::acc::Futsuu), QStringLiteral("131"));
  // The caller's transaction (the writer neither starts nor ends it).
  tr().start();
  EXPECT_EQ(w.GetStatusHojoOrBumon(QStringLiteral("01"), QStringLiteral("131")), niHojo);
  EXPECT_TRUE(w.IsHojo(QStringLiteral("01"), QStringLiteral("131"), QStringLiteral("01")));
  EXPECT_TRUE(w.IsHojo(QStringLiteral("01"), QStringLiteral("131"), QStringLiteral("01"),
                       {{QStringLiteral("BPFLG"), QStringLiteral("B")}}));
  EXPECT_FALSE(w.IsHojo(QStringLiteral("01"), QStringLiteral("131"), QStringLiteral("01"),
                        {{QStringLiteral("KCODE"), QStringLiteral("x' OR 'a'='a")}}));
  EXPECT_THROW(w.IsHojo(QStringLiteral("01"), QStringLiteral("131"), QStringLiteral("01"),
                        {{QStringLiteral("1=1 OR BPFLG"), QStringLiteral("B")}}),
               db::DbError);
  EXPECT_FALSE(w.IsHojo(QStringLiteral("01' OR '1'='1"), QStringLiteral("131"), QStringLiteral("01")));
  EXPECT_FALSE(w.IsBumon(QStringLiteral("01"), QStringLiteral("131"), QStringLiteral("01")));
  EXPECT_TRUE(tr().inTransaction());
  tr().commit();
}

TEST_F(SiwakeWriteTest, LockConflictIsTriedAgainThenReported)
{
  const QString folder = tmp.file(QStringLiteral("lock"));
  testfx::makeCompanyDb(folder, CompanyKind::General, false);
  open(folder);
  const QString file = folder + "/" + sample::companyDbName();
  // Another connection holds the branch row that storing an entry updates,
  // and lets go after holdMs (never with a negative value).
  auto holder = [&](int holdMs, std::promise<void>& holding, std::future<void> release) {
    db::Database other;
    testfx::builder().open(other, file);
    db::Transaction t(other);
    t.start();
    db::Query q(t, QStringLiteral("UPDATE SISETUMST SET SNAME=SNAME WHERE SCODE='01'"));
    q.exec();
    holding.set_value();
    if (holdMs >= 0)
      std::this_thread::sleep_for(std::chrono::milliseconds(holdMs));
    else
      release.wait();
    t.commit();
  };

  TSiwakeWrite w;
  w.SetIBTransaction(&tr());
  {
    std::promise<void> holding, release;
    std::thread t(holder, 500, std::ref(holding), release.get_future());
    holding.get_future().wait();
    TSWKREC e = goodEntry();
    w.SetTransStart(true);
    EXPECT_GT(w.PutSiwake(e), 0);
    t.join();
  }
  EXPECT_EQ(entries(), 1);
  EXPECT_TRUE(hook.boxes.empty());

  // A holder that never lets go: a bounded number of tries, then the
  // failure is passed on and nothing is stored.
  {
    std::promise<void> holding, release;
    std::thread t(holder, -1, std::ref(holding), release.get_future());
    holding.get_future().wait();
    TSWKREC e = goodEntry();
    w.SetTransStart(true);
    EXPECT_THROW(w.PutSiwake(e), db::DbError);
    EXPECT_FALSE(tr().inTransaction());
    release.set_value();
    t.join();
  }
  EXPECT_EQ(entries(), 1);
}

}  // namespace
}  // namespace journaltest
