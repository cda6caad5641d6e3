// The consolidation controller on real data sets: a consolidated parent made
// from the sample general company, its members created as cleared copies,
// registered, matched to the expected set and deleted.
#include <algorithm>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMap>

#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "datasel/DataListUpdate.h"
#include "db/Database.h"
#include "fixtures/CompanyFixture.h"
#include "fixtures/SystemFixture.h"
#include "maint/GassanDataCtl.h"
#include "tests/support/DataModuleEnv.h"

namespace {

using namespace fixtures;

// Keeps every progress text shown.
struct ProgressTexts : IProgressText {
  QStringList texts;
  void SetProgressText(const QString& text) override { texts << text; }
};

void mkdirs(const QString& root, const QStringList& names)
{
  for (const QString& n : names)
    ASSERT_TRUE(QDir().mkpath(root + "/" + n));
}

TEST(GassanFolders, NextNumberedFolderName)
{
  struct Case {
    const char* name;
    QStringList folders;
    int offset;
    QString expected;
  } cases[] = {
      {"empty folder", {}, 1, "001"},
      {"empty folder, highest", {}, 0, "000"},
      {"names that are not numbers are ignored", {"abc", "002", "010", "x9"}, 1, "011"},
      {"highest existing", {"001", "007"}, 0, "007"},
      {"last one allowed", {"998"}, 1, "999"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TestTempDir t;
    mkdirs(t.path(), c.folders);
    EXPECT_EQ(TGassanDataCtl::GetChildFolderName(t.path(), c.offset), c.expected);
  }
  TestTempDir t;
  EXPECT_EQ(TGassanDataCtl::GetChildFolderName(t.file("missing"), 1), QString());
  mkdirs(t.path(), {"999"});
  try {
    TGassanDataCtl::GetChildFolderName(t.path(), 1);
    FAIL() << "no error above 999";
  } catch (const EGassanError& e) {
    EXPECT_EQ(e.message(), kGassanFolderLimitMessage);
  }
  EXPECT_EQ(QDir(t.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList({"999"}));
}

TEST(GassanLog, StatusIsTheFirstErrorOrFinishElseTheLastCode)
{
  struct Case {
    const char* name;
    std::vector<std::pair<TJxStatusType, int>> entries;
    int expected;
  } cases[] = {
      {"empty", {}, 0},
      {"started only", {{jxstInformation, 0}}, 0},
      {"finished", {{jxstInformation, 0}, {jxstInformation, 1}}, 1},
      {"error before the finish", {{jxstInformation, 0}, {jxstError, -110}, {jxstInformation, 1}}, -110},
      {"first error counts", {{jxstError, -101}, {jxstError, -110}}, -101},
      {"warning does not stop", {{jxstWarning, -5}, {jxstInformation, 0}}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TGassanDataCtl ctl;
    for (const auto& [type, code] : c.entries) {
      ctl.GassanInfo() = TTessalySyoriInfo{QStringLiteral("DataGassan"), type, code, QString()};
      ctl.AddSyoriLog();
    }
    EXPECT_EQ(ctl.GassanStatus(), c.expected);
    EXPECT_EQ(ctl.GassanLog().size(), c.entries.size());
  }
}

class Gassan : public testenv::SharedDataRootTest<Gassan> {
 protected:
  void SetUp() override
  {
    setUpDataModule({.root = root->root, .logFile = tmp->file("log"), .tempFolder = tmp->file("temp")});
    AppType = jxatSA;
    SystemDef.AppVerMajor = 17;
    SystemDef.TEMP = tmp->file("temp");
    pcInstallDataListUpdateProc();
  }
  void TearDown() override
  {
    ctl.reset();
    DataModuleTest::TearDown();
  }

  // A consolidated parent: a copy of the sample general company in folder
  // `rec` of the root, registered with kind 1, expecting `count` members;
  // `siten` is its branch management.
  QString makeParent(int rec, int count, int siten, int sample = 0)
  {
    const QString folder = root->root + QString::asprintf("/%04d", rec);
    QDir(folder).removeRecursively();
    EXPECT_TRUE(QDir().mkpath(folder));
    EXPECT_TRUE(QFile::copy(root->dataSets.at(sample).database, folder + "/wqacc2.fdb"));
    const QString db = folder + "/wqacc2.fdb";
    testenv::execIn(db, QString("UPDATE ACCDEF1 SET SITEN=%1").arg(siten));
    testenv::execIn(db, "UPDATE OR INSERT INTO ACCVERSION (REC,MAJOR,MINOR1,MINOR2) VALUES (1,17,0,0) MATCHING (REC)");
    testenv::execIn(db,
                    "UPDATE OR INSERT INTO ACCREG (AGROUP,ACODE,ATYPE,ATEXT) VALUES "
                    "('基本設定','合算データ区分','整数','1') MATCHING (AGROUP,ACODE)");
    testenv::execIn(db, QString("UPDATE OR INSERT INTO ACCREG (AGROUP,ACODE,ATYPE,ATEXT) VALUES "
                                "('基本設定','合算データ数','整数','%1') MATCHING (AGROUP,ACODE)")
                            .arg(count));
    exec(QString("DELETE FROM DATALIST WHERE REC=%1 AND GROUPID=%2").arg(rec).arg(sample::GroupId));
    exec(QString("DELETE FROM CHILD_DATALIST WHERE REC=%1").arg(rec));
    SystemFixture sys(dm->IBDatabaseDEF);
    DataSetSpec s;
    s.groupId = sample::GroupId;
    s.rec = rec;
    s.path = folder;
    s.listName = QStringLiteral("合算 %1").arg(rec);
    s.shougou = s.listName;
    s.kishu = root->dataSets.at(0).kishu;
    s.kimatu = s.kishu.addYears(1).addDays(-1);
    s.gassan = 1;
    sys.registerDataSet(s);
    return folder;
  }
  void prepare(const QString& folder, int rec)
  {
    ctl = std::make_unique<TGassanDataCtl>();
    ctl->SetParentAccDataPath(folder);
    ctl->SetParentDataRec(rec);
    ctl->SetPrepare(true);
  }
  QString in(const QString& folder, const QString& sql)
  {
    db::Database d;
    testfx::builder().open(d, folder + "/wqacc2.fdb");
    return testenv::valueOf(d, sql);
  }
  QStringList childRows(int rec)
  {
    return column(QString("SELECT ROWNO || ':' || PASNAME || ':' || GASSAN FROM CHILD_DATALIST "
                          "WHERE REC=%1 ORDER BY ROWNO")
                      .arg(rec));
  }

  // Opens the parent as the program's company data, as a run wants it.
  void openParent(const QString& folder)
  {
    ASSERT_TRUE(dm->fnAccDatConnected(SystemDef.SERVERNAME, folder, false));
    ASSERT_TRUE(dm->fnGetAccInfo());
  }
  void closeParent(const QString& folder) { dm->fnAccDatDisConnected(folder, false, false, false); }
  void execDb(const QString& folder, const QString& sql) { testenv::execIn(folder + "/wqacc2.fdb", sql); }
  // Rows of a statement as "a|b|c" lines.
  QStringList rows(const QString& folder, const QString& sql)
  {
    db::Database d;
    testfx::builder().open(d, folder + "/wqacc2.fdb");
    db::Transaction tr(d);
    tr.start();
    db::Query q(tr, sql);
    QStringList out;
    for (q.open(); !q.eof(); q.next()) {
      QStringList f;
      for (int i = 0; i < q.fieldCount(); ++i)
        f << q.field(i).asString();
      out << f.join('|');
    }
    q.close();
    tr.commit();
    return out;
  }
  QStringList logTexts() const
  {
    QStringList out;
    for (const TTessalySyoriInfo& e : ctl->GassanLog())
      out << QString("%1 %2").arg(e.StatusCode).arg(e.Text);
    return out;
  }

  std::unique_ptr<TGassanDataCtl> ctl;
  testenv::ScopedMessageCollector hook;
};

TEST_F(Gassan, NumberedMembersAreClearedCopiesMatchedToTheExpectedCount)
{
  const QString parent = makeParent(21, 2, 0);
  // The parent has entries, balances and an audit lock that a member must
  // not inherit.
  testenv::execIn(parent + "/wqacc2.fdb", "UPDATE ACCDEF1 SET KANSA_LOCK=1, KANSA_DATE='2024-06-30'");
  testenv::execIn(parent + "/wqacc2.fdb", "UPDATE KAMOKU_SZ SET KISHU_KOMI=1234.5678, KAISIZAN=5");
  testenv::execIn(parent + "/wqacc2.fdb", "INSERT INTO KOBETU (KOBETUCODE, KOBETUNAME) VALUES (1, 'x')");
  const QString masters = in(parent, "SELECT COUNT(*) FROM KAMOKUMST");

  prepare(parent, 21);
  EXPECT_EQ(ctl->GassanData().RecNo, 21);
  EXPECT_EQ(ctl->GassanData().SitenCount, 2);
  EXPECT_EQ(ctl->GassanChildMaster().size(), 2u);
  EXPECT_TRUE(ctl->GassanChildData().empty());
  EXPECT_FALSE(dm->IBDatabaseDAT.isConnected());

  ProgressTexts box;
  ctl->SetProgressBox(&box);
  const QStringList& progress = box.texts;
  EXPECT_TRUE(ctl->ChildDataSaisakusei());
  EXPECT_TRUE(hook.texts.isEmpty()) << hook.texts.join("\n").toStdString();
  EXPECT_EQ(progress.value(0), QStringLiteral("分散データの整合処理中です…"));
  ASSERT_EQ(ctl->GassanChildData().size(), 2u);
  EXPECT_EQ(ctl->GassanChildData()[0].RowNo, 1);
  EXPECT_EQ(ctl->GassanChildData()[1].RowNo, 2);
  EXPECT_EQ(childRows(21), QStringList({"1:" + parent + "/001:10", "2:" + parent + "/002:10"}));

  for (const char* m : {"001", "002"}) {
    SCOPED_TRACE(m);
    const QString member = parent + "/" + m;
    EXPECT_EQ(in(member, "SELECT ATEXT FROM ACCREG WHERE ACODE='合算データ区分'"), "10");
    EXPECT_EQ(in(member, "SELECT ATEXT FROM ACCREG WHERE ACODE='合算データ数'"), "0");
    EXPECT_EQ(in(member, "SELECT COUNT(*) FROM SIWAKE"), "0");
    EXPECT_EQ(in(member, "SELECT COUNT(*) FROM KAMOKU_SZ WHERE KISHU_KOMI<>0 OR KAISIZAN<>0"), "0");
    EXPECT_EQ(in(member, "SELECT KANSA_LOCK FROM ACCDEF1"), "0");
    EXPECT_EQ(in(member, "SELECT COUNT(*) FROM KAMOKUMST"), masters);
    EXPECT_EQ(in(member, "SELECT COUNT(*) FROM KOBETU"), "1");  // masters stay
    EXPECT_TRUE(QFile::exists(member + "/wqacc2.ini"));
  }
  // The parent keeps everything.
  EXPECT_EQ(in(parent, "SELECT COUNT(*) FROM KAMOKU_SZ WHERE KISHU_KOMI=1234.5678"),
            in(parent, "SELECT COUNT(*) FROM KAMOKU_SZ"));
  EXPECT_EQ(in(parent, "SELECT ATEXT FROM ACCREG WHERE ACODE='合算データ区分'"), "1");

  // The registered members as the data selection reads them.
  TDataListArray rows;
  EXPECT_TRUE(ctl->GetChildDataList(parent, rows));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].LocalPath, parent + "/001");
  EXPECT_EQ(rows[1].RowNo, 2);

  // One member fewer expected: the highest numbered goes, with its row.
  ctl->SetGassanDataKbn(1, 1);
  ctl->SetPrepare(true);
  EXPECT_EQ(ctl->GassanChildMaster().size(), 1u);
  EXPECT_EQ(ctl->GassanChildData().size(), 2u);
  ctl->ChildDataSaisakusei();
  EXPECT_FALSE(QDir(parent + "/002").exists());
  EXPECT_EQ(childRows(21), QStringList({"1:" + parent + "/001:10"}));

  // A new member takes the next row number; numbers are not reused below it.
  EXPECT_TRUE(ctl->AddChildData(QString()));
  EXPECT_EQ(childRows(21).value(1), "2:" + parent + "/002:10");

  // Everything registered goes.
  EXPECT_TRUE(ctl->ChildDataZenSakujyo());
  EXPECT_TRUE(childRows(21).isEmpty());
  EXPECT_FALSE(QDir(parent + "/001").exists());
  EXPECT_TRUE(QFile::exists(parent + "/wqacc2.fdb"));
}

TEST_F(Gassan, MembersFoundAreReadInNameOrderAndMatchedToTheirRows)
{
  const QString parent = makeParent(22, 3, 0);
  mkdirs(parent, {"010", "002", "abc", "00"});
  prepare(parent, 22);
  ASSERT_EQ(ctl->GassanChildData().size(), 2u);  // "00" counts only for medical data
  EXPECT_EQ(ctl->GassanChildData()[0].DataPath, parent + "/002");
  EXPECT_EQ(ctl->GassanChildData()[1].DataPath, parent + "/010");
  EXPECT_EQ(ctl->GassanChildData()[1].RowNo, 2);
  // Deleting without a name removes the highest numbered folder.
  EXPECT_TRUE(ctl->DeleteChildData(QString()));
  EXPECT_FALSE(QDir(parent + "/010").exists());
  EXPECT_TRUE(QDir(parent + "/002").exists());
  QDir(parent).removeRecursively();
}

TEST_F(Gassan, BranchMembersFollowTheParentsBranches)
{
  const QString parent = makeParent(23, 0, 1);
  prepare(parent, 23);
  const QStringList branches = sample::branchCodes(CompanyKind::General);
  ASSERT_EQ(ctl->GassanChildMaster().size(), std::size_t(branches.size()));
  EXPECT_EQ(ctl->GassanData().SitenCount, branches.size());
  EXPECT_EQ(ctl->GassanChildMaster()[0].SCODE, branches[0]);

  EXPECT_FALSE(ctl->AddChildData(QString()));  // a branch code is needed
  EXPECT_TRUE(ctl->AddChildData(branches[0]));
  ProgressTexts box;
  ctl->SetProgressBox(&box);
  const QStringList& progress = box.texts;
  EXPECT_TRUE(ctl->ChildDataSaisakusei());
  for (const QString& b : branches)
    EXPECT_TRUE(QFile::exists(parent + "/" + b + "/wqacc2.fdb")) << b.toStdString();
  EXPECT_TRUE(progress.contains(QStringLiteral("分散データ[%1]の作成中です…").arg(branches[1])));
  EXPECT_TRUE(progress.contains(QStringLiteral("分散データ[%1]の作成中です(仕訳クリア)…").arg(branches[1])));

  // A branch folder that is no longer a branch is removed.
  mkdirs(parent, {"07"});
  ctl->SetPrepare(true);
  EXPECT_EQ(ctl->GassanChildData().size(), std::size_t(branches.size() + 1));
  ctl->ChildDataSaisakusei();
  EXPECT_FALSE(QDir(parent + "/07").exists());
  EXPECT_TRUE(QDir(parent + "/" + branches[0]).exists());
  ctl->ChildDataZenSakujyo();
  QDir(parent).removeRecursively();
}

TEST_F(Gassan, AMedicalMemberKeepsOnlyItsOwnFacility)
{
  const QString parent = makeParent(26, 0, 1, 1);
  prepare(parent, 26);
  const QStringList branches = sample::branchCodes(CompanyKind::Medical);
  // The head office "00" is a facility of its own.
  EXPECT_EQ(ctl->GassanChildMaster().size(), std::size_t(branches.size() + 1));
  EXPECT_TRUE(ctl->AddChildData(branches[1]));
  db::Database d;
  testfx::builder().open(d, parent + "/" + branches[1] + "/wqacc2.fdb");
  EXPECT_EQ(testenv::columnOf(d, "SELECT SCODE FROM SISETUMST ORDER BY SCODE"), QStringList({"", branches[1]}));
  d.disconnect();
  // "00" is a member of medical data.
  mkdirs(parent, {"00"});
  ctl->SetPrepare(true);
  EXPECT_EQ(ctl->GassanChildData().front().DataPath, parent + "/00");
  ctl->ChildDataZenSakujyo();
  QDir(parent).removeRecursively();
}

TEST_F(Gassan, SettingsOfOrdinaryAndMemberKindsCarryNoCount)
{
  const QString parent = makeParent(24, 2, 0);
  prepare(parent, 24);
  struct Case {
    std::uint8_t kind;
    int count;
    const char* stored;
    const char* listed;  // the parent's data-list row follows (a member kind only on member rows)
  } cases[] = {{1, 3, "3", "1"}, {2, 4, "4", "2"}, {0, 5, "0", "0"}, {10, 6, "0", "0"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(int(c.kind));
    ctl->SetGassanDataKbn(c.kind, c.count);
    EXPECT_EQ(in(parent, "SELECT ATEXT FROM ACCREG WHERE ACODE='合算データ区分'"), QString::number(c.kind));
    EXPECT_EQ(in(parent, "SELECT ATEXT FROM ACCREG WHERE ACODE='合算データ数'"), c.stored);
    EXPECT_FALSE(dm->IBDatabaseDAT.isConnected());
    EXPECT_EQ(value("SELECT GASSAN FROM DATALIST WHERE REC=24"), c.listed);
  }
}

TEST_F(Gassan, AMemberIsNeverCopiedFromAParentInUse)
{
  const QString parent = makeParent(25, 1, 0);
  prepare(parent, 25);
  {
    db::Database other;
    testfx::builder().open(other, parent + "/wqacc2.fdb");
    EXPECT_FALSE(ctl->AddChildData(QString()));
  }
  EXPECT_FALSE(QDir(parent + "/001").exists());
  EXPECT_TRUE(hook.texts.join("\n").contains(QStringLiteral("分散データを作成できません")));
  EXPECT_TRUE(childRows(25).isEmpty());
  // Free again: the member is made.
  EXPECT_TRUE(ctl->AddChildData(QString()));
  EXPECT_TRUE(QDir(parent + "/001").exists());
}

TEST_F(Gassan, MemberListOutsideStandAloneOrForABlankFolder)
{
  TGassanDataCtl c;
  TDataListArray rows(1);
  EXPECT_FALSE(c.GetChildDataList(QStringLiteral("  "), rows));
  EXPECT_TRUE(rows.empty());
  AppType = jxatCS;
  rows.resize(1);
  EXPECT_TRUE(c.GetChildDataList(root->dataSets.at(0).folder, rows));
  EXPECT_TRUE(rows.empty());
}

}  // namespace

namespace {

const char* kAccount = "(SELECT KCODE FROM KAMOKUMST WHERE USERCODE='131')";

class GassanRun : public Gassan {
 protected:
  // A parent managing branches with members "01" and "02", each holding
  // balances of the cash account in every branch, past-year balances,
  // budgets and individual-cost openings.
  void SetUp() override
  {
    Gassan::SetUp();
    parent = makeParent(31, 0, 1);
    for (const QString& f : {parent})
      execDb(f,
             "UPDATE OR INSERT INTO ACCREG (AGROUP,ACODE,ATYPE,ATEXT) VALUES "
             "('基本設定','個別原価使用区分','整数','1') MATCHING (AGROUP,ACODE)");
    // Both branches keep every account, sub-account and department.
    execDb(parent,
           "INSERT INTO KAMOKU_SZ (SCODE, BCODE, KCODE, HCODE) SELECT '02', BCODE, KCODE, HCODE FROM KAMOKU_SZ Z "
           "WHERE SCODE='01' AND NOT EXISTS (SELECT 1 FROM KAMOKU_SZ Y WHERE Y.SCODE='02' AND "
           "Y.BCODE=Z.BCODE AND Y.KCODE=Z.KCODE AND Y.HCODE=Z.HCODE)");
    execDb(parent, "INSERT INTO KOBETU (KOBETUCODE, KOBETUCODESTR, KOBETUNAME) VALUES (1, '001', '工事A')");
    execDb(parent, QString("INSERT INTO KOBETU_KAMOKU (KOBETUCODE, KCODE, KAISIZAN) VALUES (1, %1, 0)").arg(kAccount));
    prepare(parent, 31);
    ASSERT_TRUE(ctl->AddChildData("01"));
    ASSERT_TRUE(ctl->AddChildData("02"));
    m1 = parent + "/01";
    m2 = parent + "/02";
    execDb(m1, QString("UPDATE KAMOKU_SZ SET KISHU_KOMI=1234.5678, KISHU_NUKI=1000 WHERE KCODE=%1").arg(kAccount));
    execDb(m2, QString("UPDATE KAMOKU_SZ SET KISHU_KOMI=1, KISHU_NUKI=2 WHERE KCODE=%1 AND SCODE='02'").arg(kAccount));
    execDb(m1, QString("UPDATE KAKOZAN SET KISHU=10, KOMIZAN_3=5, IKKATSU_16=1 WHERE KCODE=%1").arg(kAccount));
    execDb(m2, QString("UPDATE KAKOZAN SET KISHU=20 WHERE KCODE=%1").arg(kAccount));
    execDb(m1, "UPDATE KAMOKU_MS SET BYOSAN=7 WHERE BYOSAN IS NOT NULL");
    execDb(m1, QString("UPDATE KOBETU_KAMOKU SET KAISIZAN=100 WHERE KOBETUCODE=1"));
    execDb(m2, QString("UPDATE KOBETU_KAMOKU SET KAISIZAN=50 WHERE KOBETUCODE=1"));
  }
  void TearDown() override
  {
    if (dm && dm->IBDatabaseDAT.isConnected())
      closeParent(parent);
    Gassan::TearDown();
    QDir(root->root + "/0031").removeRecursively();
  }
  // Both members under the branch "01", after a clear of the whole data set.
  void runAll(TJxGassanKbn kind)
  {
    openParent(parent);
    ASSERT_TRUE(ctl->DataGassanClear(QString(), kind));
    EXPECT_TRUE(ctl->DataGassan("01", "一号", m1, kind)) << logTexts().join("\n").toStdString();
    EXPECT_TRUE(ctl->DataGassan("01", "二号", m2, kind)) << logTexts().join("\n").toStdString();
    closeParent(parent);
  }
  // The parent's cash account in the run branch: sub-account, department
  // and both openings.
  QStringList cashOpenings()
  {
    return rows(parent, QString("SELECT HCODE, BCODE, KISHU_KOMI, KISHU_NUKI, KAISIZAN FROM KAMOKU_SZ "
                                "WHERE SCODE='01' AND KCODE=%1 ORDER BY HCODE, BCODE")
                            .arg(kAccount));
  }
  QStringList kakozan()
  {
    return rows(parent,
                "SELECT NENDO, SCODE, KCODE, KISHU, KOMIZAN_3, IKKATSU_16 FROM KAKOZAN "
                "ORDER BY NENDO, SCODE, BCODE, KCODE, HCODE");
  }

  QString parent, m1, m2;
};

TEST_F(GassanRun, MembersAddUpExactlyIntoTheRunBranchAndASecondRunGivesTheSame)
{
  // Member rows of every member branch with the same account, sub-account
  // and department add into the one parent row of the run branch.
  QMap<QString, double> komi, nuki;
  for (const QString& m : {m1, m2})
    for (const QString& r :
         rows(m, QString("SELECT HCODE, BCODE, KISHU_KOMI, KISHU_NUKI FROM KAMOKU_SZ WHERE KCODE=%1").arg(kAccount))) {
      const QStringList f = r.split('|');
      komi[f[0] + "|" + f[1]] += f[2].toDouble();
      nuki[f[0] + "|" + f[1]] += f[3].toDouble();
    }
  runAll(jxgkDataGassan);
  EXPECT_EQ(ctl->GassanStatus(), 1);
  EXPECT_EQ(ctl->GassanLog().back().Text, QStringLiteral("『二号』のデータ合算は正常に行われました。"));
  const QStringList first = cashOpenings();
  ASSERT_FALSE(first.isEmpty());
  bool sawExact = false;
  for (const QString& r : first) {
    const QStringList f = r.split('|');
    const QString key = f[0] + "|" + f[1];
    EXPECT_NEAR(f[2].toDouble(), komi.value(key), 1e-9) << r.toStdString();
    EXPECT_NEAR(f[3].toDouble(), nuki.value(key), 1e-9) << r.toStdString();
    EXPECT_EQ(f[4].toDouble(), 0.0);
    sawExact = sawExact || f[2] == "2469.1356" || f[2] == "2470.1356";
  }
  EXPECT_TRUE(sawExact) << first.join("\n").toStdString();
  // Other branches were cleared and stay empty.
  EXPECT_EQ(rows(parent, "SELECT COUNT(*) FROM KAMOKU_SZ WHERE SCODE<>'01' AND KISHU_KOMI<>0"), QStringList({"0"}));
  // Past years and budgets came along; individual-cost openings add up.
  EXPECT_FALSE(rows(parent, "SELECT 1 FROM KAKOZAN WHERE SCODE='01' AND KISHU=30").isEmpty());
  EXPECT_EQ(rows(parent, "SELECT KAISIZAN FROM KOBETU_KAMOKU WHERE KOBETUCODE=1"), QStringList({"150"}));
  EXPECT_EQ(rows(parent, "SELECT KOBETUNAME FROM KOBETU"), QStringList({"工事A"}));

  // Again after a clear: the same figures, nothing doubled.
  const QStringList pastFirst = kakozan();
  runAll(jxgkDataGassan);
  EXPECT_EQ(cashOpenings(), first);
  EXPECT_EQ(kakozan(), pastFirst);
  EXPECT_EQ(rows(parent, "SELECT KAISIZAN FROM KOBETU_KAMOKU WHERE KOBETUCODE=1"), QStringList({"150"}));
}

TEST_F(GassanRun, JournalEntriesOfEveryMemberLandUnderTheRunBranch)
{
  const QDate day = root->dataSets.at(0).kishu.addDays(10);
  int posted = 0;
  for (const QString& m : {m1, m2}) {
    db::Database d;
    testfx::builder().open(d, m + "/wqacc2.fdb");
    CompanyFixture fx(d);
    JournalEntry e = JournalEntry::plain(day, sample::acc::Futsuu, sample::acc::Genkin,
                                         Currency::fromInt(1000 + posted), QStringLiteral("預入 %1").arg(posted));
    e.scode = QStringLiteral("02");
    fx.post(e);
    ++posted;
  }
  execDb(parent,
         "UPDATE OR INSERT INTO ACCREG (AGROUP,ACODE,ATYPE,ATEXT) VALUES "
         "('基本設定','個別原価使用区分','整数','0') MATCHING (AGROUP,ACODE)");
  for (const QString& m : {m1, m2})
    execDb(m,
           "UPDATE OR INSERT INTO ACCREG (AGROUP,ACODE,ATYPE,ATEXT) VALUES "
           "('基本設定','個別原価使用区分','整数','0') MATCHING (AGROUP,ACODE)");
  runAll(jxgkDataGassanTouki);
  EXPECT_EQ(rows(parent, "SELECT SCODE, KINGAKU, TEKTEXT FROM SIWAKE WHERE DELFLG=0 AND TAISHAKU=1 ORDER BY KINGAKU"),
            QStringList({"01|1000|預入 0", "01|1001|預入 1"}));
  EXPECT_TRUE(QFile::exists(TGassanDataCtl::GassanSiwakeFile()));
  // A clear of the whole data set takes them away again.
  openParent(parent);
  ctl->DataGassanClear(QString(), jxgkDataGassanTouki);
  closeParent(parent);
  EXPECT_EQ(rows(parent, "SELECT COUNT(*) FROM SIWAKE"), QStringList({"0"}));
}

TEST_F(GassanRun, ClearingOneBranchLeavesTheOthersAndSwitchesThePastYearTriggerBackOn)
{
  execDb(parent, "UPDATE KAMOKU_SZ SET KISHU_KOMI=5");
  openParent(parent);
  EXPECT_TRUE(ctl->DataGassanClear("02", jxgkDataGassan));
  closeParent(parent);
  EXPECT_EQ(rows(parent, "SELECT DISTINCT SCODE, KISHU_KOMI FROM KAMOKU_SZ WHERE SCODE IN ('01','02') ORDER BY 1"),
            QStringList({"01|5", "02|0"}));
  EXPECT_EQ(rows(parent, "SELECT COUNT(*) FROM KOBETU"), QStringList({"0"}));
  EXPECT_EQ(rows(parent, "SELECT RDB$TRIGGER_INACTIVE FROM RDB$TRIGGERS WHERE RDB$TRIGGER_NAME='KAKOZAN_AFTER_UPDATE'"),
            QStringList({"0"}));
  // The blank branch has no counter of its own and clears all the same.
  openParent(parent);
  EXPECT_TRUE(ctl->DataGassanClear(" ", jxgkDataGassan));
  closeParent(parent);
}

TEST_F(GassanRun, ARunWithoutPastYearsLeavesThemAsTheyWere)
{
  const QStringList before = kakozan();
  runAll(jxgkDataGassanTouki);
  EXPECT_EQ(kakozan(), before);
  EXPECT_FALSE(cashOpenings().isEmpty());
}

TEST_F(GassanRun, VersionAndStructureDifferencesAreLoggedAndStopTheMember)
{
  execDb(m1, "UPDATE ACCVERSION SET MAJOR=10, MINOR1=0, MINOR2=3");
  execDb(m2, "UPDATE ACCDEF1 SET KISHU=KISHU+1, SIME=20");
  openParent(parent);
  const QStringList before = cashOpenings();
  EXPECT_FALSE(ctl->DataGassan("01", "一号", m1, jxgkDataGassan));
  EXPECT_EQ(logTexts(), QStringList({QString("0 『一号』のデータ合算を開始します。（%1）").arg(m1),
                                     "-100 データバージョンがVer10.0.4に達していません。",
                                     "-110 『一号』のデータ合算中にエラーが発生しました。"}));
  EXPECT_EQ(ctl->GassanStatus(), -100);

  EXPECT_FALSE(ctl->DataGassan("01", "二号", m2, jxgkDataCheck));
  const QStringList log = logTexts();
  ASSERT_EQ(log.size(), 4) << log.join("\n").toStdString();
  EXPECT_TRUE(log[1].startsWith("-110 会計期間（期首）に違いがありました。（")) << log[1].toStdString();
  EXPECT_TRUE(log[2].startsWith(QString("-110 締日に違いがありました。（%1日≠20日）").arg(AccInf.SIME)))
      << log[2].toStdString();
  EXPECT_EQ(log[3], "-110 『二号』のデータ体系チェック中にエラーが発生しました。");
  EXPECT_EQ(cashOpenings(), before);

  // A folder without company data.
  EXPECT_FALSE(ctl->DataGassan("01", "三号", parent + "/09", jxgkDataGassan));
  EXPECT_EQ(logTexts().value(1),
            QString("-102 指定された分散データパスに会計データがありませんでした。（%1/09）").arg(parent));
  EXPECT_EQ(ctl->GassanStatus(), -102);
}

TEST_F(GassanRun, ACheckRunMergesMastersOnly)
{
  execDb(m1, QString("INSERT INTO HOJOMST (KCODE, HCODE, HNAME) VALUES (%1, '77', '新規補助')").arg(kAccount));
  execDb(m1, QString("INSERT INTO KAMOKU_SZ (SCODE, BCODE, KCODE, HCODE) SELECT FIRST 1 SCODE, BCODE, KCODE, '77' "
                     "FROM KAMOKU_SZ WHERE KCODE=%1")
                 .arg(kAccount));
  const QStringList before = cashOpenings();
  openParent(parent);
  EXPECT_TRUE(ctl->DataGassan("01", "一号", m1, jxgkDataCheck)) << logTexts().join("\n").toStdString();
  EXPECT_EQ(ctl->GassanLog().back().Text, QStringLiteral("『一号』のデータ体系チェックは正常に行われました。"));
  EXPECT_EQ(ctl->GassanStatus(), 1);
  closeParent(parent);
  EXPECT_EQ(rows(parent, QString("SELECT HNAME FROM HOJOMST WHERE HCODE='77' AND KCODE=%1").arg(kAccount)),
            QStringList({"新規補助"}));
  EXPECT_FALSE(rows(parent, "SELECT 1 FROM KAMOKU_SZ WHERE HCODE='77' AND SCODE='01'").isEmpty());
  // The balances are as they were, apart from the new sub-account's rows.
  QStringList after = cashOpenings();
  after.erase(std::remove_if(after.begin(), after.end(), [](const QString& r) { return r.startsWith("77|"); }),
              after.end());
  EXPECT_EQ(after, before);
}

TEST_F(GassanRun, SubAccountsUsedInOnlyOneBranchOfTheMemberAreLogged)
{
  execDb(m1, QString("DELETE FROM KAMOKU_SZ WHERE SCODE='02' AND HCODE<>' ' AND KCODE=%1").arg(kAccount));
  openParent(parent);
  EXPECT_FALSE(ctl->DataGassan("01", "一号", m1, jxgkDataGassan));
  EXPECT_EQ(logTexts().mid(1),
            QStringList({"-110 分散データ内の支店ごとの補助使用区分が混在しています。（131: 普通預金）",
                         "-110 『一号』のデータ合算中にエラーが発生しました。"}));
  closeParent(parent);
}

TEST_F(GassanRun, AnAccountTheParentLacksIsLoggedAndTheOthersStillMerge)
{
  execDb(m1,
         "INSERT INTO KAMOKUMST (KCODE, USERCODE, GROUPM0, KNAME, DAC) VALUES ('X99', '9988', '1100', '謎の科目', 1)");
  openParent(parent);
  EXPECT_FALSE(ctl->DataGassan("01", "一号", m1, jxgkDataGassan));
  EXPECT_TRUE(logTexts().contains(
      "-110 合算データに科目コードが登録されていないか、科目分類に違いがありました。（9988: 謎の科目）"))
      << logTexts().join("\n").toStdString();
  closeParent(parent);
}

}  // namespace
