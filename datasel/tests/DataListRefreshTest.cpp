// Bringing data-list entries up to date with their data folders, the
// renumbering of added rows and the clearing of members, against real
// system and company databases.
#include <gtest/gtest.h>
#include <memory>

#include <QDir>
#include <QFile>

#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "datasel/ComDataSentakuRefresh.h"
#include "platform/IniFile.h"
#include "tests/support/DataModuleEnv.h"
#include "tests/support/FirebirdServer.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TempDir.h"

namespace {

using namespace fixtures;

class DataListRefresh : public testenv::DataModuleTest {
 protected:
  void SetUp() override
  {
    root = testfx::makeDataRoot(tmp.file(QStringLiteral("root")));
    setUpDataModule(
        {.root = root.root, .logFile = tmp.file("log"), .dataFile = QStringLiteral("wqacc2.fdb"), .dataListCnt = 120});
  }
  void TearDown() override
  {
    DataHasonHanteiProc = nullptr;
    testenv::DataModuleTest::TearDown();
  }
  // Through the server in client/server use (it holds the files open).
  void exec(const QString& database, const QString& sql) { testenv::execIn(database, sql); }
  TDataSentakuRec entry(int rec)
  {
    TDataSentakuListCtl ctl;
    TDataSentakuRec e;
    e.Data.Rec = rec;
    ctl.GetDataListRecord(jxrkRec, e.Data, true);
    pcDataListRecLocalPath(e.Data);
    return e;
  }
  // A copy of the general sample's company database in a new folder.
  QString copyCompany(const QString& folder)
  {
    QDir().mkpath(folder);
    const QString to = folder + QStringLiteral("/wqacc2.fdb");
    EXPECT_TRUE(QFile::copy(root.dataSets.at(0).database, to));
    return to;
  }
  static void garbage(const QString& folder)
  {
    QDir().mkpath(folder);
    QFile f(folder + QStringLiteral("/wqacc2.fdb"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(8192, 'x'));
  }

  TestTempDir tmp;
  sample::DataRoot root;
  // Counts the error boxes the code under test reports.
  testenv::ScopedMessageCollector hook{testenv::MessageCollector::Replies::FirstButton};
};

TEST_F(DataListRefresh, AnEntryIsFilledFromItsDatabaseAndItsSettingsFile)
{
  const sample::DataSet& general = root.dataSets.at(0);
  const sample::DataSet& medical = root.dataSets.at(1);
  exec(root.systemDb,
       QStringLiteral("UPDATE DATALIST SET SHOUGOU='old',DATACODE='',NENDO=9 WHERE REC=%1").arg(general.rec));
  // The data set open before stays open.
  SystemDef.IBPATHDAT = medical.folder;
  ASSERT_TRUE(dm->fnAccDatConnected(QString(), medical.folder, false));

  TDataSentakuListCtl ctl;
  TDataListRefresher refresher(ctl, jxatSA);
  TDataSentakuRec e = entry(general.rec);
  ASSERT_EQ(e.Data.Shougou, QStringLiteral("old"));
  EXPECT_EQ(refresher.RefreshEntry(e, -1, general.folder, true), drrFilled);
  EXPECT_EQ(e.Data.Shougou, general.shougou);
  EXPECT_EQ(e.Data.Nendo, general.nendo);
  EXPECT_EQ(e.Data.DataListName, general.listName);  // the list name stays
  EXPECT_EQ(ToQDate(e.Data.Kishu), general.kishu);
  EXPECT_FALSE(e.Data.Kikan.isEmpty());
  EXPECT_EQ(e.Data.VerMajor, 17);
  EXPECT_EQ(column(QStringLiteral("SELECT SHOUGOU FROM DATALIST WHERE REC=%1 AND GROUPID=10000").arg(general.rec)),
            QStringList{general.shougou});
  const IniFile ini(TDataInfomation::IniFileName(general.folder));
  EXPECT_EQ(ini.ReadString(QStringLiteral("DATAINFO"), QStringLiteral("SHOUGOU")), general.shougou);
  EXPECT_EQ(ini.ReadString(QStringLiteral("DATASTS"), QStringLiteral("UPDATE_LOCK")), QStringLiteral("0"));
  EXPECT_TRUE(dm->IBDatabaseDAT.isConnected());
  EXPECT_TRUE(dm->IBDatabaseDAT.databaseName().contains(medical.folder));
  EXPECT_TRUE(hook.texts.isEmpty()) << hook.texts.join('|').toStdString();
}

TEST_F(DataListRefresh, ALockInTheSettingsFileShowsItsHolder)
{
  const sample::DataSet& general = root.dataSets.at(0);
  {
    IniFile ini(TDataInfomation::IniFileName(general.folder));
    ini.WriteInteger(QStringLiteral("DATASTS"), QStringLiteral("STATUS"), int(jxdsLock));
    ini.WriteInteger(QStringLiteral("DATASTS"), QStringLiteral("OPCODE"), sample::loginCode(sample::ClerkCode));
    ini.UpdateFile();
  }
  TDataSentakuListCtl ctl;
  TDataListRefresher refresher(ctl, jxatSA);
  TDataSentakuRec e = entry(general.rec);
  EXPECT_EQ(refresher.RefreshEntry(e, -1, general.folder, true), drrFilled);
  EXPECT_EQ(e.Data.DataLock, sample::ClerkCode);
  EXPECT_EQ(column(QStringLiteral("SELECT DATALOCK FROM DATALIST WHERE REC=%1 AND GROUPID=10000").arg(general.rec)),
            QStringList{QString::number(sample::ClerkCode)});
}

TEST_F(DataListRefresh, AConsolidatedDataSetGetsItsMembersFromItsSubFolders)
{
  const int rec = 10;
  const QString folder = SystemFixture::dataFolder(root.root, rec);
  const QString parentDb = copyCompany(folder);
  exec(parentDb, QStringLiteral("UPDATE OR INSERT INTO ACCREG (AGROUP,ACODE,ATYPE,ATEXT) "
                                "VALUES ('基本設定','合算データ区分','整数','1') MATCHING (AGROUP,ACODE)"));
  copyCompany(folder + QStringLiteral("/a"));
  QDir().mkpath(folder + QStringLiteral("/b"));  // no database: no member
  copyCompany(folder + QStringLiteral("/c"));
  garbage(folder + QStringLiteral("/d"));  // unreadable, and its settings name nothing
  // A stale member row that the rebuild replaces.
  exec(root.systemDb, QStringLiteral("INSERT INTO CHILD_DATALIST (REC,ROWNO,GROUPID,PASNAME,ENTTEXT) "
                                     "VALUES (%1,7,10000,'%2/zz','stale')")
                          .arg(rec)
                          .arg(folder));
  exec(root.systemDb, QStringLiteral("UPDATE DATALIST SET ENTTEXT='合算',GASSAN=1 WHERE REC=%1").arg(rec));

  TDataSentakuListCtl ctl;
  TDataListRefresher refresher(ctl, jxatSA);
  TDataSentakuRec e = entry(rec);
  EXPECT_EQ(refresher.RefreshEntry(e, -1, folder, true), drrFilled);
  EXPECT_EQ(e.Data.GassanDataKbn, 1);
  ASSERT_EQ(e.ChildDataCnt, 3);
  ASSERT_EQ(e.ChildData.size(), 3u);
  const struct {
    int rowNo;
    const char* sub;
    bool damaged;
  } expected[] = {{1, "a", false}, {3, "c", false}, {4, "d", true}};
  for (std::size_t i = 0; i < 3; ++i) {
    const TDataListRec& m = e.ChildData[i];
    SCOPED_TRACE(expected[i].sub);
    EXPECT_EQ(m.RowNo, expected[i].rowNo);
    EXPECT_EQ(m.Rec, rec);
    EXPECT_EQ(m.GassanDataKbn, 10);
    EXPECT_EQ(m.DataPath, folder + QLatin1Char('/') + QLatin1String(expected[i].sub));
    EXPECT_EQ(m.Data_Status, expected[i].damaged ? jxdbHason : jxdbOK);
    // A member that cannot be read shows the parent's company.
    EXPECT_EQ(m.DataListName, expected[i].damaged ? QStringLiteral("破損データ") : root.dataSets.at(0).listName);
    EXPECT_EQ(m.Shougou, root.dataSets.at(0).shougou);
  }
  EXPECT_EQ(column(QStringLiteral("SELECT ROWNO FROM CHILD_DATALIST WHERE REC=%1 ORDER BY ROWNO").arg(rec)),
            (QStringList{"1", "3", "4"}));
  EXPECT_EQ(column(QStringLiteral("SELECT DATA_STATUS FROM CHILD_DATALIST WHERE REC=%1 ORDER BY ROWNO").arg(rec)),
            (QStringList{"0", "0", "1"}));
  // The members' own settings files were written from their databases.
  EXPECT_EQ(IniFile(TDataInfomation::IniFileName(folder + QStringLiteral("/a")))
                .ReadString(QStringLiteral("DATAINFO"), QStringLiteral("SHOUGOU")),
            root.dataSets.at(0).shougou);

  // A member whose database has gone leaves its data set (and the list).
  ASSERT_TRUE(QFile::remove(folder + QStringLiteral("/c/wqacc2.fdb")));
  EXPECT_EQ(refresher.RefreshEntry(e, 1, folder + QStringLiteral("/c"), true), drrMemberRemoved);
  EXPECT_EQ(e.ChildDataCnt, 2);
  EXPECT_EQ(column(QStringLiteral("SELECT ROWNO FROM CHILD_DATALIST WHERE REC=%1 ORDER BY ROWNO").arg(rec)),
            (QStringList{"1", "4"}));
  // A damaged member is not rebuilt: a refresh of the parent keeps it.
  EXPECT_EQ(refresher.RefreshEntry(e, -1, folder, true), drrFilled);
  EXPECT_EQ(e.ChildDataCnt, 2);
}

TEST_F(DataListRefresh, ADataSetWhoseDatabaseWentBecomesAFreeSlot)
{
  const int rec = 18;
  const QString folder = SystemFixture::dataFolder(root.root, rec);
  exec(root.systemDb, QStringLiteral("UPDATE DATALIST SET ENTTEXT='gone',SHOUGOU='gone co',NENDO=4,DATATYPE=1 "
                                     "WHERE REC=%1")
                          .arg(rec));
  QDir().mkpath(folder);
  {
    IniFile ini(TDataInfomation::IniFileName(folder));
    ini.WriteInteger(QStringLiteral("DATASTS"), QStringLiteral("STATUS"), 1);
    ini.UpdateFile();
  }
  TDataSentakuListCtl ctl;
  TDataListRefresher refresher(ctl, jxatSA);
  struct Case {
    const char* name;
    bool showsName;
    TDataRefreshResult result;
    const char* listName;
  } cases[] = {
      {"a blank row stays", false, drrNothing, "gone"},
      {"a named row is cleared", true, drrCleared, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TDataSentakuRec e = entry(rec);
    EXPECT_EQ(refresher.RefreshEntry(e, -1, folder, c.showsName), c.result);
    EXPECT_EQ(column(QStringLiteral("SELECT ENTTEXT FROM DATALIST WHERE REC=%1 AND GROUPID=10000").arg(rec)),
              QStringList{QString::fromUtf8(c.listName)});
    EXPECT_FALSE(QFile::exists(TDataInfomation::IniFileName(folder)));  // the leftover settings go
  }
  TDataSentakuRec e = entry(rec);
  EXPECT_TRUE(e.Data.Shougou.isEmpty());
  EXPECT_EQ(e.Data.Kishu, 0);
  EXPECT_EQ(e.Data.DataPath, folder);

  // A share entry becomes the free slot held here.
  TDataListRec s;
  s.Rec = 5;
  s.NetDrive = 1;
  s.DataPath = QStringLiteral("/srv/share/sv0005");
  s.DataListName = QStringLiteral("x");
  pcDataInfoToListRec(TDataInfomationRec{}, s, true);
  EXPECT_EQ(s.DataListName, QStringLiteral("空き領域"));
  EXPECT_EQ(s.KyoyuLock, 1);
  EXPECT_EQ(s.DataPath, QStringLiteral("/srv/share/sv0005"));
  EXPECT_EQ(s.LocalPath, root.root + QStringLiteral("/0005"));
}

TEST_F(DataListRefresh, AnUnreadableDatabaseIsMarkedDamagedOnlyWhenTheValidationSaysSo)
{
  const int rec = 19;
  const QString folder = SystemFixture::dataFolder(root.root, rec);
  exec(root.systemDb, QStringLiteral("UPDATE DATALIST SET ENTTEXT='kept',SHOUGOU='kept co' WHERE REC=%1").arg(rec));
  garbage(folder);
  SystemDef.DataHasonCheck = 1;
  struct Case {
    const char* name;
    int validation;  // the validation's answer: 1 sound, 0 damaged
    TDataRefreshResult result;
    TJxDBStatus status;
  } cases[] = {
      {"sound", 1, drrKept, jxdbOK},
      {"damaged", 0, drrDamaged, jxdbHason},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SystemDef.DataHasonFlg = 1;  // left over from before: not taken for this folder
    DataHasonHanteiProc = [&c](const QString&, const QString&, int) {
      if (c.validation == 0)
        SystemDef.DataHasonFlg = 1;
      return QVariant(c.validation);
    };
    TDataSentakuListCtl ctl;
    TDataListRefresher r2(ctl, jxatSA);
    TDataSentakuRec e = entry(rec);
    EXPECT_EQ(r2.RefreshEntry(e, -1, folder, true), c.result);
    EXPECT_EQ(e.Data.Data_Status, c.status);
    EXPECT_EQ(e.Data.Shougou, QStringLiteral("kept co"));
    EXPECT_EQ(column(QStringLiteral("SELECT SHOUGOU FROM DATALIST WHERE REC=%1 AND GROUPID=10000").arg(rec)),
              QStringList{QStringLiteral("kept co")});
  }
}

TEST_F(DataListRefresh, ClearingMembersTouchesLocalFoldersOnly)
{
  const QString share = tmp.file(QStringLiteral("share"));
  struct Case {
    const char* name;
    int netDrive;
    int kyoyuLock;
    bool localGone;
  } cases[] = {
      {"local data set", 0, 0, true},
      {"share data set held here", 1, 1, true},
      {"share data set on the server", 1, 0, false},
  };
  int rec = 11;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ++rec;
    const QString local = SystemFixture::dataFolder(root.root, rec);
    const QString server = share + QStringLiteral("/sv%1").arg(rec, 4, 10, QLatin1Char('0'));
    for (const QString& sub : {QStringLiteral("/m1"), QStringLiteral("/m2")}) {
      QDir().mkpath(local + sub);
      QDir().mkpath(server + sub);
    }
    TDataSentakuRec e;
    e.Data.Rec = rec;
    e.Data.NetDrive = c.netDrive;
    e.Data.KyoyuLock = c.kyoyuLock;
    e.Data.GassanDataKbn = 1;
    e.Data.DataPath = c.netDrive == 1 ? server : local;
    e.ChildData.resize(2);
    e.ChildDataCnt = 2;
    exec(root.systemDb,
         QStringLiteral("INSERT INTO CHILD_DATALIST (REC,ROWNO,GROUPID,PASNAME) VALUES (%1,1,10000,'%2/m1')")
             .arg(rec)
             .arg(e.Data.DataPath));
    exec(root.systemDb, QStringLiteral("INSERT INTO CHILD_SERVERDATALIST (GROUPID,DRIVELETTER,REC,ROWNO,PASNAME) "
                                       "VALUES (10000,'%1',%2,1,'%3/m1')")
                            .arg(server.left(1))
                            .arg(rec)
                            .arg(server));
    TDataSentakuListCtl ctl;
    TDataListRefresher refresher(ctl, jxatSA);
    refresher.ClearChildData(e);
    EXPECT_EQ(e.ChildDataCnt, 0);
    EXPECT_TRUE(e.ChildData.empty());
    EXPECT_EQ(QDir(local + QStringLiteral("/m1")).exists(), !c.localGone);
    EXPECT_EQ(QDir(local + QStringLiteral("/m2")).exists(), !c.localGone);
    EXPECT_TRUE(QDir(local).exists());
    // The share server's copy is never touched: its folders and its rows.
    EXPECT_TRUE(QDir(server + QStringLiteral("/m1")).exists());
    EXPECT_TRUE(QDir(server + QStringLiteral("/m2")).exists());
    EXPECT_EQ(column(QStringLiteral("SELECT COUNT(*) FROM CHILD_SERVERDATALIST WHERE REC=%1").arg(rec)),
              QStringList{"1"});
    EXPECT_EQ(column(QStringLiteral("SELECT COUNT(*) FROM CHILD_DATALIST WHERE REC=%1").arg(rec)), QStringList{"0"});
  }
}

TEST_F(DataListRefresh, AddedRowsAreNumberedAgainWithinEachGroup)
{
  for (int rec : {121, 122, 123, 124, 125, 126})
    exec(root.systemDb,
         QStringLiteral("INSERT INTO DATALIST (REC,GROUPID,PASNAME,ENTTEXT) VALUES (%1,10000,'/d/%1','n%1')").arg(rec));
  // The other group has rows with the same numbers: they must not be mixed.
  for (int rec : {121, 124})
    exec(root.systemDb,
         QStringLiteral("INSERT INTO DATALIST (REC,GROUPID,PASNAME,ENTTEXT) VALUES (%1,20000,'/o/%1','o%1')").arg(rec));
  exec(root.systemDb, QStringLiteral("DELETE FROM DATALIST WHERE GROUPID=10000 AND REC IN (123,125)"));
  TDataSentakuListCtl ctl;
  ctl.SetAppType(jxatCS);
  ctl.RestoreDataRecNo();
  EXPECT_EQ(
      column(QStringLiteral("SELECT REC || ':' || ENTTEXT FROM DATALIST WHERE GROUPID=10000 AND REC>120 ORDER BY REC")),
      (QStringList{"121:n121", "122:n122", "123:n124", "124:n126"}));
  EXPECT_EQ(
      column(QStringLiteral("SELECT REC || ':' || ENTTEXT FROM DATALIST WHERE GROUPID=20000 AND REC>120 ORDER BY REC")),
      (QStringList{"121:o121", "122:o124"}));
  EXPECT_EQ(column(QStringLiteral("SELECT COUNT(*) FROM DATALIST WHERE GROUPID=10000 AND REC<=120")),
            QStringList{QString::number(sample::DataSlotCount)});
  EXPECT_FALSE(dm->IBTransactionDEF.inTransaction());
  // Stand-alone use has no added rows to number.
  TDataSentakuListCtl sa;
  exec(root.systemDb, QStringLiteral("UPDATE DATALIST SET REC=130 WHERE GROUPID=10000 AND REC=124"));
  sa.RestoreDataRecNo();
  EXPECT_EQ(column(QStringLiteral("SELECT MAX(REC) FROM DATALIST WHERE GROUPID=10000")), QStringList{"130"});
}

// Client/server use against the test server: the server's answer decides.
class DataListRefreshServer : public DataListRefresh {
 protected:
  void SetUp() override
  {
    FirebirdServer::shared();
    DataListRefresh::SetUp();
    closeDataModule();
    AppType = jxatCS;
    SystemDef.SERVERNAME = QStringLiteral("localhost");
    openDataModule();
  }
};

TEST_F(DataListRefreshServer, AServerErrorIsNotTakenForNoDatabase)
{
  const sample::DataSet& general = root.dataSets.at(0);
  const QString gone = SystemFixture::dataFolder(root.root, 15);
  const QString tooLong = root.root + QLatin1Char('/') + QString(1100, QLatin1Char('y'));
  struct Case {
    const char* name;
    int rec;
    QString folder;
    TDataRefreshResult result;
    const char* shougou;  // in memory and in the list table afterwards
    int boxes;
  } cases[] = {
      {"the server reports the file", general.rec, general.folder, drrFilled, "", 0},
      {"the server says there is none", 15, gone, drrCleared, "", 0},
      {"the server cannot answer", 1, tooLong, drrServerError, "named co", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    hook.texts.clear();
    exec(root.systemDb,
         QStringLiteral("UPDATE DATALIST SET ENTTEXT='named',SHOUGOU='named co' WHERE REC=%1").arg(c.rec));
    TDataSentakuListCtl ctl;
    ctl.SetAppType(jxatCS);
    TDataListRefresher refresher(ctl, jxatCS);
    TDataSentakuRec e = entry(c.rec);
    ASSERT_EQ(e.Data.Shougou, QStringLiteral("named co"));
    EXPECT_EQ(refresher.RefreshEntry(e, -1, c.folder, true), c.result);
    const QString expected = *c.shougou              ? QString::fromUtf8(c.shougou)
                             : c.result == drrFilled ? general.shougou
                                                     : QString();
    EXPECT_EQ(e.Data.Shougou, expected);
    EXPECT_EQ(column(QStringLiteral("SELECT SHOUGOU FROM DATALIST WHERE REC=%1 AND GROUPID=10000").arg(c.rec)),
              QStringList{expected});
    EXPECT_EQ(hook.texts.size(), c.boxes) << hook.texts.join('|').toStdString();
  }
}

}  // namespace
