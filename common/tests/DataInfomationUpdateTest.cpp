// The data-folder information by path: reading a folder's company database,
// storing its list name, update lock and read-only flag (stand-alone and
// client/server), journal counts and the cloud-share mark of the record, and
// folders on network shares, which get no settings file.
#include <functional>

#include <QFile>
#include <QFileInfo>

#include "DataModuleTestUtil.h"
#include "common/DataInfomation.h"
#include "platform/Paths.h"
#include "tests/support/FirebirdServer.h"

namespace dmtest {
namespace {

QString dbValue(const QString& database, const QString& column)
{
  return readValue(database, QStringLiteral("SELECT ") + column + QStringLiteral(" AS V FROM ACCDEF1 WHERE REC=1"),
                   QStringLiteral("V"));
}

class InfoByPath : public StandAlone, public ::testing::WithParamInterface<TJxAppType> {
 protected:
  void SetUp() override
  {
    StandAlone::SetUp();
    general = root.dataSets.at(0);
    AppType = GetParam();
    if (AppType == jxatCS) {
      FirebirdServer::shared();
      SystemDef.SERVERNAME = QStringLiteral("localhost");
    }
    info.SetAppType(AppType);
    ASSERT_TRUE(dm->fnAccDefConnected(QString(), true));
  }
  void TearDown() override
  {
    if (dm)
      dm->fnAccDatDisConnected(general.folder, false, false, false);
    StandAlone::TearDown();
  }

  // The company database as this test's own statements reach it: through
  // the server in client/server use.
  QString database() const
  {
    return AppType == jxatCS ? FirebirdServer::shared().remoteName(general.database) : general.database;
  }

  sample::DataSet general;
  TDataInfomation info;
};

TEST_P(InfoByPath, ReadsTheFoldersDatabaseAndLeavesItClosed)
{
  TDataInfomationRec r;
  r.Shougou = QStringLiteral("stale");
  EXPECT_EQ(info.GetDataInfoRec(tmp.file("nowhere"), r), 0);
  EXPECT_EQ(r.Shougou, QString());
  EXPECT_EQ(info.GetDataInfoRec(QString(), r), 0);

  ASSERT_EQ(info.GetDataInfoRec(general.folder, r), 1);
  EXPECT_EQ(r.Shougou, general.shougou);
  EXPECT_EQ(r.DataListName, general.listName);
  EXPECT_EQ(r.Kishu, general.kishu.toString("yyyy/MM/dd"));
  EXPECT_EQ(r.VerMajor, 17);
  EXPECT_EQ(r.SitenCnt, 2);
  EXPECT_FALSE(dm->IBDatabaseDAT.isConnected());
  // No settings file is written by a read.
  if (AppType == jxatCS) {
    EXPECT_FALSE(QFile::exists(TDataInfomation::IniFileName(general.folder)));
  }
  EXPECT_TRUE(hook.boxes.empty());
}

TEST_P(InfoByPath, ListNameIsCutTrimmedStoredAndReadBack)
{
  const QString body = QStringLiteral("髙橋商事") + QString(36, QChar(u'①'));  // 40 characters
  struct Case {
    const char* what;
    QString given;
    QString stored;
  } cases[] = {
      {"plain", "新しい名前", "新しい名前"},
      {"spaces around", QStringLiteral("　 新しい名前 　"), "新しい名前"},
      {"longer than 40", body + QStringLiteral("はみ出し"), body},
      {"cut leaves a space", QString(39, QChar(u'x')) + QStringLiteral("　tail"), QString(39, QChar(u'x'))},
  };
  for (const auto& c : cases) {
    QString name = c.given;
    info.UpdateDataListName(QString(), general.folder, name);
    EXPECT_EQ(name, c.stored) << c.what;
    EXPECT_EQ(dbValue(database(), "ENTTEXT"), c.stored) << c.what;
    QString read;
    info.UpdateDataListName(QString(), general.folder, read);
    EXPECT_EQ(read, c.stored) << c.what;
    EXPECT_FALSE(dm->IBDatabaseDAT.isConnected()) << c.what;
  }
  // A stored name with spaces around reads back trimmed.
  execSql(database(), "UPDATE ACCDEF1 SET ENTTEXT='  padded　' WHERE REC=1");
  QString read;
  info.UpdateDataListName(QString(), general.folder, read);
  EXPECT_EQ(read, "padded");
  // A folder without a database changes nothing.
  QString untouched = QStringLiteral("x");
  info.UpdateDataListName(QString(), tmp.file("nowhere"), untouched);
  EXPECT_EQ(untouched, "x");
  EXPECT_TRUE(hook.boxes.empty());
}

TEST_P(InfoByPath, InformationStoresNameLockAndReadOnlyByVersion)
{
  struct Case {
    const char* what;
    int major;
    QString name;
    QString storedName;
    QString readOnly;  // READ_ONLY after the update (written as 1 from 12.0.0)
  } cases[] = {
      {"version 17", 17, QStringLiteral(" 名前A "), "名前A", "1"},
      {"blank name keeps the stored one", 17, QStringLiteral("　"), "名前A", "1"},
      {"version 11 has no read-only flag", 11, "名前B", "名前B", "0"},
  };
  for (const auto& c : cases) {
    execSql(database(), QStringLiteral("UPDATE ACCVERSION SET MAJOR=%1 WHERE REC=1").arg(c.major));
    execSql(database(), "UPDATE ACCDEF1 SET READ_ONLY=0, DATALOCK=0 WHERE REC=1");
    TDataInfomationRec r;
    r.DataListName = c.name;
    r.UpdateLock = 1;
    r.ReadOnly = 1;
    info.UpdateDataInfomation(QString(), general.folder, &r);
    EXPECT_EQ(r.DataListName, c.storedName) << c.what;
    EXPECT_EQ(r.VerMajor, c.major) << c.what;
    EXPECT_EQ(dbValue(database(), "ENTTEXT"), c.storedName) << c.what;
    EXPECT_EQ(dbValue(database(), "DATALOCK"), "1") << c.what;
    EXPECT_EQ(dbValue(database(), "READ_ONLY"), c.readOnly) << c.what;
    EXPECT_FALSE(dm->IBDatabaseDAT.isConnected()) << c.what;
  }
  info.UpdateDataInfomation(QString(), general.folder, nullptr);
  EXPECT_TRUE(hook.boxes.empty());
}

TEST_P(InfoByPath, FailedWritesAreReportedAndChangeNothing)
{
  execSql(database(), "CREATE EXCEPTION E_ACCDEF1_FROZEN 'frozen'");
  execSql(database(),
          "CREATE TRIGGER ACCDEF1_FROZEN FOR ACCDEF1 BEFORE UPDATE AS BEGIN EXCEPTION E_ACCDEF1_FROZEN; END");
  const QString before = dbValue(database(), "ENTTEXT");

  QString name = QStringLiteral("変更");
  info.UpdateDataListName(QString(), general.folder, name);
  EXPECT_EQ(name, "変更");  // not the stored form of a name that was not stored
  ASSERT_EQ(hook.boxes.size(), 1u);
  EXPECT_TRUE(hook.boxes[0].text.contains("データリスト名の更新に失敗しました。")) << hook.boxes[0].text.toStdString();

  TDataInfomationRec r;
  r.DataListName = QStringLiteral("  変更  ");
  r.UpdateLock = 1;
  info.UpdateDataInfomation(QString(), general.folder, &r);
  EXPECT_EQ(r.DataListName, "  変更  ");
  EXPECT_EQ(r.VerMajor, 0);
  ASSERT_EQ(hook.boxes.size(), 2u);
  EXPECT_TRUE(hook.boxes[1].text.contains("データ情報の更新に失敗しました。")) << hook.boxes[1].text.toStdString();

  EXPECT_EQ(dbValue(database(), "ENTTEXT"), before);
  EXPECT_FALSE(dm->IBDatabaseDAT.isConnected());
  EXPECT_FALSE(dm->IBTransactionDAT.inTransaction());
}

INSTANTIATE_TEST_SUITE_P(AccessForms, InfoByPath, ::testing::Values(jxatSA, jxatCS),
                         [](const ::testing::TestParamInfo<TJxAppType>& p) {
                           return p.param == jxatSA ? std::string("StandAlone") : std::string("ClientServer");
                         });

TEST_F(StandAlone, RecordCountsJournalEntriesAndMarksCloudShareByEdition)
{
  const auto& general = root.dataSets.at(0);
  execSql(general.database, "DELETE FROM SIWAKE");
  // Entries 1 and 2 live (entry 1 with both sides), 3 changed, 4 deleted.
  const char* rows[] = {
      "(1, 1, '01', 'K100', 'K200', 0, 1, 1)", "(2, 1, '01', 'K200', 'K100', 0, 2, 1)",
      "(3, 2, '02', 'K100', 'K300', 0, 1, 1)", "(4, 3, '01', 'K100', 'K300', 1, 1, 1)",
      "(5, 4, '02', 'K100', 'K300', 2, 1, 1)", "(6, 4, '02', 'K300', 'K100', 2, 2, 1)",
  };
  for (const char* row : rows)
    execSql(general.database,
            QStringLiteral("INSERT INTO SIWAKE (REC, SWKREC, SCODE, KCODE, R_KCODE, DELFLG, TAISHAKU, MNUM) VALUES ") +
                QLatin1String(row));
  execSql(general.database, "UPDATE ACCDEF1 SET CLOUD_LINE=1 WHERE REC=1");
  TDataInfomation info;
  struct Case {
    std::uint8_t oem;
    TJxCloudShare cloud;
  } cases[] = {{0, jxcsUse}, {1, jxcsUnUse}};
  for (const auto& c : cases) {
    OemEdition = c.oem;
    TDataInfomationRec r;
    ASSERT_EQ(info.GetDataInfoRec(general.folder, r), 1);
    EXPECT_EQ(r.Siwake, 2);
    EXPECT_EQ(r.TotalSiwake, 4);
    EXPECT_EQ(r.CloudShare, c.cloud) << int(c.oem);
  }
  EXPECT_TRUE(hook.boxes.empty());
}

TEST_F(StandAlone, FolderOnANetworkShareGetsNoSettingsFile)
{
  const auto& general = root.dataSets.at(0);
  const QString ini = TDataInfomation::IniFileName(general.folder);
  const QList<MountPoint> previous = MountPoints();
  ASSERT_TRUE(dm->fnAccDefConnected(QString(), true));
  TDataInfomation info;
  struct Case {
    const char* what;
    QString share;
    bool created;
  } cases[] = {
      {"network share", QStringLiteral("\\\\server\\data"), false},
      {"local mount", QString(), true},
  };
  for (const auto& c : cases) {
    SetMountPoints({MountPoint{root.root, QChar(u'Z'), c.share}});
    QFile::remove(ini);
    TDataInfomationRec r;
    ASSERT_EQ(info.ReadIniFile(general.folder, r), 1) << c.what;
    EXPECT_EQ(QFile::exists(ini), c.created) << c.what;
    EXPECT_EQ(r.Status, jxdsNone) << c.what;
    EXPECT_EQ(r.Shougou, c.created ? general.shougou : QString()) << c.what;
    QFile::remove(ini);
    info.InitIniFile(general.folder, QString());
    EXPECT_EQ(QFile::exists(ini), c.created) << c.what;
  }
  SetMountPoints(previous);
  EXPECT_TRUE(hook.boxes.empty());
}

TEST(DataInfomationWriters, AFolderThatIsGoneRaisesInStandAloneUseOnly)
{
  TestTempDir tmp;
  const QString gone = tmp.file("gone");
  TDataInfomationRec r;
  const std::function<void(TDataInfomation&)> writes[] = {
      [&](TDataInfomation& i) { i.WriteIniFileDataStatus(gone, jxdsLock); },
      [&](TDataInfomation& i) { i.WriteIniFileKyoyuDataStatus(gone, jxksExec); },
      [&](TDataInfomation& i) { i.WriteIniFile(gone, QString(), r); },
      [&](TDataInfomation& i) { i.WriteIniValue(gone, "DATASTS", "STATUS", 3, false); },
  };
  for (std::size_t n = 0; n < std::size(writes); ++n) {
    TDataInfomation info;
    EXPECT_ANY_THROW(writes[n](info)) << n;
    info.SetAppType(jxatCS);
    EXPECT_NO_THROW(writes[n](info)) << n;
  }
  EXPECT_FALSE(QFileInfo::exists(gone));
}

}  // namespace
}  // namespace dmtest
