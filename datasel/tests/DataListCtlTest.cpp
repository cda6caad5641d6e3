// The data-list records and the row operations of the data-list control,
// against a real system database.
#include <gtest/gtest.h>
#include <memory>

#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "common/MessageHook.h"
#include "datasel/ComDataSentaku.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "tests/support/DataModuleEnv.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TempDir.h"

namespace {

using namespace fixtures;

TEST(DataListRecord, LocalPathAndClearedRecord)
{
  pcAccRecordReset();
  SystemDef.IBPATHDEF = "/data";
  SystemDef.GROUPID = 10000;
  struct Case {
    int netDrive;
    int rec;
    int kind;
    QString dataPath;
    QString local;
  } cases[] = {
      {0, 3, 0, "/x/DATA/0003/", "/x/DATA/0003"},
      {1, 7, 0, "/share/sv0002", "/data/0007"},
      {1, 7, 2, "/share/sv0002", "/data/0007"},
      {1, 7, 10, "/share/sv0002/001", "/data/0007/001"},
      {1, 7, 0, "", ""},
  };
  for (const auto& c : cases) {
    TDataListRec r;
    r.NetDrive = c.netDrive;
    r.Rec = c.rec;
    r.GassanDataKbn = std::uint8_t(c.kind);
    r.DataPath = c.dataPath;
    EXPECT_EQ(pcDataListRecLocalPath(r), c.local) << c.dataPath.toStdString();
    EXPECT_EQ(r.LocalPath, c.local);
  }
  TDataSentakuListCtl ctl;
  TDataListRec r;
  r.Rec = 9;
  r.Shougou = "x";
  r.TempKey = 3;
  ctl.InitDataListRecord(r, "/y/0001/");
  EXPECT_EQ(r.Rec, 0);
  EXPECT_EQ(r.Nendo, 1);
  EXPECT_EQ(r.Group, 10000);
  EXPECT_TRUE(r.Shougou.isEmpty());
  EXPECT_EQ(r.TempKey, 0);
  EXPECT_EQ(r.DataPath, "/y/0001/");
  EXPECT_EQ(r.LocalPath, "/y/0001");
  EXPECT_TRUE(IsGassanOwnRow(0) && !IsGassanOwnRow(10) && IsGassanParent(2) && !IsGassanParent(0));
  pcAccRecordReset();
}

TEST(DataListRecord, DataPlaceIsKeptOnlyInClientServerUse)
{
  pcAccRecordReset();
  struct Case {
    TJxAppType form;
    int value;
    int kept;
    const char* table;
  } cases[] = {
      {jxatSA, 5, 0, "DATALIST"}, {jxatCS, 5, 5, "DATALIST_EX"}, {jxatSBC, 3, 3, "DATALIST_EX"},
      {jxatCS, 0, 0, "DATALIST"}, {jxatCS, -2, -2, "DATALIST"},
  };
  for (const auto& c : cases) {
    TDataSentakuListCtl ctl;
    ctl.SetAppType(c.form);
    ctl.SetDataPlaceRec(c.value);
    EXPECT_EQ(ctl.DataPlaceRec(), c.kept);
    EXPECT_EQ(ctl.ListTable(), c.table);
  }
}

class DataListRows : public testenv::DataModuleTest {
 protected:
  void SetUp() override { build(SystemGeneration::Current, 12); }
  void TearDown() override
  {
    SetMessageHook(nullptr);
    testenv::DataModuleTest::TearDown();
  }
  // A new system database of `generation` and a module connected to it (not
  // made the process's DM).
  void build(SystemGeneration generation, int majorVersion)
  {
    closeDataModule();
    pcAccRecordReset();
    root = testfx::makeDataRoot(tmp.file(QStringLiteral("root%1").arg(int(generation))),
                                sample::DataRootOptions{generation});
    setUpDataModule({.root = root.root,
                     .logFile = tmp.file("log"),
                     .sampleOperator = false,
                     .systemDbVerMajor = majorVersion,
                     .setDM = false});
  }
  TestTempDir tmp;
  sample::DataRoot root;
};

TEST_F(DataListRows, ReadsARowByFolderOrNumber)
{
  const sample::DataSet& general = root.dataSets.at(0);
  TDataSentakuListCtl ctl;
  TDataListRec r;
  ctl.InitDataListRecord(r, general.folder);
  ctl.GetDataListRecord(jxrkPath, r, true);
  EXPECT_EQ(r.Rec, general.rec);
  EXPECT_EQ(r.Shougou, general.shougou);
  EXPECT_EQ(r.DataListName, general.listName);
  EXPECT_EQ(r.Display_DataListName, general.listName);
  EXPECT_EQ(ToQDate(r.Kishu), general.kishu);
  EXPECT_EQ(r.LocalPath, general.folder);
  EXPECT_EQ(r.VerMajor, 17);

  TDataListRec byRec;
  ctl.InitDataListRecord(byRec, QString());
  byRec.Rec = root.dataSets.at(1).rec;
  ctl.GetDataListRecord(jxrkRec, byRec, true);
  EXPECT_EQ(byRec.Shougou, root.dataSets.at(1).shougou);
  EXPECT_FALSE(dm->IBTransactionDEF.inTransaction());

  // A folder with no row keeps the cleared record.
  TDataListRec none;
  ctl.InitDataListRecord(none, tmp.file("nowhere"));
  ctl.GetDataListRecord(jxrkPath, none, true);
  EXPECT_EQ(none.Rec, 0);
}

TEST_F(DataListRows, AnUpdateTouchesOnlyTheRowOfTheOperatorsGroup)
{
  const sample::DataSet& general = root.dataSets.at(0);
  exec(QStringLiteral("INSERT INTO DATALIST (REC, GROUPID, PASNAME, ENTTEXT, SHOUGOU) VALUES (%1, 20000, "
                      "'/other/0001', 'other', 'other')")
           .arg(general.rec));
  TDataSentakuListCtl ctl;
  TDataListRec r;
  ctl.InitDataListRecord(r, general.folder);
  ctl.GetDataListRecord(jxrkPath, r, true);
  r.Shougou = QStringLiteral("新しい名前㈱");
  r.Kishu = 0;  // no date is stored as NULL
  EXPECT_TRUE(ctl.UpdateDataListRecord(r, 0, true));
  EXPECT_EQ(value(QStringLiteral("SELECT SHOUGOU FROM DATALIST WHERE REC=%1 AND GROUPID=10000").arg(general.rec)),
            QStringLiteral("新しい名前㈱"));
  EXPECT_EQ(value(QStringLiteral(
                      "SELECT COALESCE(CAST(KISHU AS VARCHAR(20)),'null') FROM DATALIST WHERE REC=%1 AND GROUPID=10000")
                      .arg(general.rec)),
            "null");
  EXPECT_EQ(value(QStringLiteral("SELECT SHOUGOU FROM DATALIST WHERE REC=%1 AND GROUPID=20000").arg(general.rec)),
            "other");

  // Nothing to write without a number or a folder.
  TDataListRec empty;
  EXPECT_FALSE(ctl.UpdateDataListRecord(empty, 0, true));
}

TEST_F(DataListRows, ClientServerUpdateLeavesARowThatBelongsToAnotherFolder)
{
  const sample::DataSet& general = root.dataSets.at(0);
  AppType = jxatCS;
  TDataSentakuListCtl ctl;
  ctl.SetAppType(jxatCS);
  TDataListRec r;
  ctl.InitDataListRecord(r, general.folder);
  ctl.GetDataListRecord(jxrkPath, r, true);
  ASSERT_EQ(r.Rec, general.rec);
  r.DataPath = tmp.file("elsewhere");
  r.Shougou = "changed";
  EXPECT_TRUE(ctl.UpdateDataListRecord(r, 0, true));
  EXPECT_EQ(value(QStringLiteral("SELECT SHOUGOU FROM DATALIST WHERE REC=%1 AND GROUPID=10000").arg(general.rec)),
            general.shougou);
  r.DataPath = general.folder.toUpper();  // the same folder in other letter case
  EXPECT_TRUE(ctl.UpdateDataListRecord(r, 0, true));
  EXPECT_EQ(value(QStringLiteral("SELECT SHOUGOU FROM DATALIST WHERE REC=%1 AND GROUPID=10000").arg(general.rec)),
            "changed");
  // A caller's open transaction is committed with retaining and stays open.
  dm->IBTransactionDEF.start();
  r.Shougou = "again";
  EXPECT_TRUE(ctl.UpdateDataListRecord(r, 0, true));
  EXPECT_TRUE(dm->IBTransactionDEF.inTransaction());
  dm->IBTransactionDEF.rollback();
  EXPECT_EQ(value(QStringLiteral("SELECT SHOUGOU FROM DATALIST WHERE REC=%1 AND GROUPID=10000").arg(general.rec)),
            "again");
}

TEST_F(DataListRows, MembersAreWrittenAndGoWithAnEmptiedParent)
{
  const sample::DataSet& general = root.dataSets.at(0);
  TDataSentakuListCtl ctl;
  TDataListRec m;
  ctl.InitDataListRecord(m, general.folder + "/001");
  m.Rec = general.rec;
  m.RowNo = 1;
  m.GassanDataKbn = 10;
  m.Shougou = "本社";
  EXPECT_TRUE(ctl.UpdateDataListRecord(m, 0, true));  // inserted
  m.Shougou = "本店";
  EXPECT_TRUE(ctl.UpdateDataListRecord(m, 0, true));  // updated
  EXPECT_EQ(value(QStringLiteral("SELECT SHOUGOU FROM CHILD_DATALIST WHERE REC=%1 AND ROWNO=1").arg(general.rec)),
            "本店");
  TDataListRec read;
  ctl.InitDataListRecord(read, QString());
  read.Rec = general.rec;
  read.RowNo = 1;
  read.GassanDataKbn = 10;
  ctl.GetDataListRecord(jxrkRec, read, true);
  EXPECT_EQ(read.Shougou, "本店");
  EXPECT_EQ(read.RowNo, 1);

  TDataListRec parent;
  ctl.InitDataListRecord(parent, general.folder);
  parent.Rec = general.rec;
  EXPECT_TRUE(ctl.UpdateDataListRecord(parent, 0, true));  // emptied: no name, no dates
  EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM CHILD_DATALIST WHERE REC=%1").arg(general.rec)), "0");
}

TEST_F(DataListRows, ALocalWorkingFolderResolvesToItsShareRow)
{
  // Slot 5 holds a data set whose master copy is on a share server; its
  // working copy is the local folder 0005 under the data root.
  exec(
      QStringLiteral("UPDATE DATALIST SET PASNAME='/mnt/share/sv0002', NETDRIVE=1, ENTTEXT='共有', SHOUGOU='共有㈱' "
                     "WHERE REC=5 AND GROUPID=10000"));
  exec(QStringLiteral(
      "INSERT INTO DATALIST (REC, GROUPID, PASNAME, ENTTEXT) VALUES (5, 20000, '/x/other', 'other group')"));
  TDataSentakuListCtl ctl;
  TDataListRec r;
  ctl.InitDataListRecord(r, root.root + "/0005");
  ctl.GetDataListRecord(jxrkPath, r, true);
  EXPECT_EQ(r.Rec, 5);
  EXPECT_EQ(r.DataPath, "/mnt/share/sv0002");
  EXPECT_EQ(r.NetDrive, 1);
  EXPECT_EQ(r.Shougou, QStringLiteral("共有㈱"));
  EXPECT_EQ(r.LocalPath, root.root + "/0005");
}

TEST_F(DataListRows, OlderSystemDatabasesWithoutTheNewColumns)
{
  build(SystemGeneration::V1000, 10);
  const sample::DataSet& general = root.dataSets.at(0);
  TDataSentakuListCtl ctl;
  EXPECT_FALSE(ctl.HasCloudColumn());
  EXPECT_FALSE(ctl.HasReadOnlyColumn());
  TDataListRec r;
  ctl.InitDataListRecord(r, general.folder);
  ctl.GetDataListRecord(jxrkPath, r, false);
  EXPECT_EQ(r.Rec, general.rec);
  r.Shougou = "old generation";
  EXPECT_TRUE(ctl.UpdateDataListRecord(r, 0, false));
  EXPECT_EQ(value(QStringLiteral("SELECT SHOUGOU FROM DATALIST WHERE REC=%1").arg(general.rec)), "old generation");
}

// The damage mark of a data set or of one member, within the group only.
TEST_F(DataListRows, DamageMarkTouchesOnlyTheNamedRowOfTheGroup)
{
  const int rec = root.dataSets.at(0).rec;
  exec(
      QStringLiteral("INSERT INTO DATALIST (REC, GROUPID, PASNAME, ENTTEXT) VALUES (%1, 20000, '/x/o', 'o')").arg(rec));
  for (int group : {10000, 20000})
    for (int row : {1, 2})
      exec(QStringLiteral("INSERT INTO CHILD_DATALIST (REC, ROWNO, GROUPID, PASNAME, ENTTEXT) "
                          "VALUES (%1, %2, %3, '/x/m%2', 'm')")
               .arg(rec)
               .arg(row)
               .arg(group));
  auto marks = [&] {
    return column(QStringLiteral("SELECT GROUPID||':'||COALESCE(DATA_STATUS,0) FROM DATALIST WHERE REC=%1 "
                                 "ORDER BY GROUPID")
                      .arg(rec)) +
           column(QStringLiteral("SELECT GROUPID||'/'||ROWNO||':'||COALESCE(DATA_STATUS,0) FROM CHILD_DATALIST "
                                 "WHERE REC=%1 ORDER BY GROUPID,ROWNO")
                      .arg(rec));
  };
  pcMarkDataListDamaged(dm->IBTransactionDEF, rec, 2, 10000);
  EXPECT_EQ(marks(), (QStringList{"10000:0", "20000:0", "10000/1:0", "10000/2:1", "20000/1:0", "20000/2:0"}));
  EXPECT_FALSE(dm->IBTransactionDEF.inTransaction());
  // In the caller's transaction: left open, and its rollback takes the mark back.
  dm->IBTransactionDEF.start();
  pcMarkDataListDamaged(dm->IBTransactionDEF, rec, 0, 10000);
  EXPECT_TRUE(dm->IBTransactionDEF.inTransaction());
  dm->IBTransactionDEF.rollback();
  EXPECT_EQ(marks().value(0), "10000:0");
  pcMarkDataListDamaged(dm->IBTransactionDEF, rec, 0, 10000);
  EXPECT_EQ(marks(), (QStringList{"10000:1", "20000:0", "10000/1:0", "10000/2:1", "20000/1:0", "20000/2:0"}));
}

}  // namespace
