// The consolidation controller on real data sets: a consolidated parent made
// from the sample general company, its members created as cleared copies,
// registered, matched to the expected set and deleted.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "datasel/DataListUpdate.h"
#include "db/Database.h"
#include "fixtures/SystemFixture.h"
#include "maint/GassanDataCtl.h"
#include "tests/support/DataModuleEnv.h"

namespace {

using namespace fixtures;

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

  QStringList progress;
  ctl->SetProgressBox([&](const QString& t) { progress << t; });
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
  QStringList progress;
  ctl->SetProgressBox([&](const QString& t) { progress << t; });
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
