// The data-folder information: settings-file round trips in stand-alone use,
// the data-list lock and the attachments in client/server use, and writes of
// two writers at once that must not lose each other's keys.
#include <atomic>
#include <chrono>
#include <thread>

#include <QFile>

#include "DataModuleTestUtil.h"
#include "common/DataFolderLock.h"
#include "common/DataInfomation.h"
#include "platform/IniFile.h"
#include "tests/support/FirebirdServer.h"

namespace dmtest {
namespace {

TEST_F(StandAlone, FolderStatusRoundTrip)
{
  const auto& general = root.dataSets.at(0);
  ASSERT_TRUE(dm->fnAccDefConnected(QString(), true));
  TDataInfomation info;
  TDataInfomationRec r;

  // Nothing to read, and no path at all.
  EXPECT_EQ(info.ReadIniFile(tmp.file("nowhere"), r), 0);
  EXPECT_EQ(info.ReadIniFile(QString(), r), 1);
  EXPECT_EQ(r.Status, jxdsNone);

  // A folder without its settings file gets one, with the data free.
  QFile::remove(TDataInfomation::IniFileName(general.folder));
  ASSERT_EQ(info.ReadIniFile(general.folder, r), 1);
  EXPECT_TRUE(QFile::exists(TDataInfomation::IniFileName(general.folder)));
  EXPECT_EQ(r.Status, jxdsNone);
  EXPECT_EQ(r.Shougou, general.shougou);
  EXPECT_EQ(r.Kishu, general.kishu.toString("yyyy/MM/dd"));
  EXPECT_EQ(r.VerMajor, 17);

  struct Step {
    const char* what;
    std::function<void()> write;
    TJxDataStatus status;
    int opcode;
    TJxKyoyuStatus share;
    int shareOpcode;
  } steps[] = {
      {"locked", [&] { info.WriteIniFileDataStatus(general.folder, jxdsLock); }, jxdsLock,
       sample::loginCode(sample::OperatorCode), jxksNone, 0},
      {"taken out", [&] { info.WriteIniFileKyoyuDataStatus(general.folder, jxksExec); }, jxdsLock,
       sample::loginCode(sample::OperatorCode), jxksExec, sample::loginCode(sample::OperatorCode)},
      {"free", [&] { info.WriteIniFileDataStatus(general.folder, jxdsNone); }, jxdsNone, 0, jxksExec,
       sample::loginCode(sample::OperatorCode)},
      {"given back", [&] { info.WriteIniFileKyoyuDataStatus(general.folder, jxksNone); }, jxdsNone, 0, jxksNone, 0},
      {"reset",
       [&] {
         info.WriteIniFileDataStatus(general.folder, jxdsCopy);
         info.InitIniFile(general.folder, "DATASTS");
       },
       jxdsNone, 0, jxksNone, 0},
  };
  for (const auto& s : steps) {
    s.write();
    ASSERT_EQ(info.ReadIniFile(general.folder, r), 1) << s.what;
    EXPECT_EQ(r.Status, s.status) << s.what;
    EXPECT_EQ(r.OpCode, s.opcode) << s.what;
    EXPECT_EQ(r.KyoyuStatus, s.share) << s.what;
    EXPECT_EQ(r.KyoyuOpCode, s.shareOpcode) << s.what;
    EXPECT_EQ(r.Shougou, general.shougou) << s.what;  // the facts stay
  }

  // A list name that is missing shows the company name; a value read alone.
  info.WriteIniValue(general.folder, "DATAINFO", "DATALISTNAME", QVariant(), true);
  info.WriteIniValue(general.folder, "DATAINFO", "VERSION1", "12.3.4", false);
  ASSERT_EQ(info.ReadIniFile(general.folder, r), 1);
  EXPECT_EQ(r.DataListName, general.shougou);
  EXPECT_EQ(r.VerMinor, 3);
  EXPECT_EQ(r.VerRevision, 4);
  EXPECT_EQ(info.ReadIniValue(general.folder, "DATASTS", "STATUS").toString(), "1");

  // Copying the information to another folder.
  const QString copy = tmp.file("copy");
  QDir().mkpath(copy);
  EXPECT_EQ(info.CopyIniFile(general.folder, copy, QString()), 1);
  EXPECT_EQ(IniFile(TDataInfomation::IniFileName(copy)).ReadString("DATAINFO", "SHOUGOU"), general.shougou);
  EXPECT_TRUE(hook.boxes.empty());
}

TEST_F(StandAlone, TwoWritersKeepEachOthersKeys)
{
  const QString folder = tmp.file("shared");
  QDir().mkpath(folder);
  constexpr int kPerWriter = 40;
  auto writer = [&](const QString& prefix) {
    TDataInfomation info;
    for (int i = 0; i < kPerWriter; ++i)
      info.WriteIniValue(folder, "DATASTS", prefix + QString::number(i), i, false);
  };
  std::thread a(writer, QStringLiteral("A"));
  std::thread b(writer, QStringLiteral("B"));
  a.join();
  b.join();
  const IniFile f(TDataInfomation::IniFileName(folder));
  int missing = 0;
  for (int i = 0; i < kPerWriter; ++i)
    for (const char* p : {"A", "B"})
      if (!f.ValueExists("DATASTS", p + QString::number(i)))
        ++missing;
  EXPECT_EQ(missing, 0);

  // A writer waits for the folder's lock.
  std::atomic<bool> done{false};
  std::thread w;
  {
    const TDataFolderLock lock(folder);
    ASSERT_TRUE(lock.Locked());
    w = std::thread([&] {
      TDataInfomation info;
      info.WriteIniValue(folder, "DATASTS", "LATE", 1, false);
      done = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(done.load());
  }
  w.join();
  EXPECT_TRUE(done.load());
  EXPECT_TRUE(IniFile(TDataInfomation::IniFileName(folder)).ValueExists("DATASTS", "LATE"));
}

class InfoClientServer : public StandAlone {
 protected:
  void SetUp() override
  {
    StandAlone::SetUp();
    FirebirdServer::shared();
    AppType = jxatCS;
    SystemDef.SERVERNAME = "localhost";
  }
};

TEST_F(InfoClientServer, StatusFromTheDataListAndTheAttachments)
{
  const auto& general = root.dataSets.at(0);
  const QString sysdb = FirebirdServer::shared().remoteName(root.systemDb);
  ASSERT_TRUE(dm->fnAccDefConnected(QString(), true));
  TDataInfomation info;
  info.SetAppType(jxatCS);
  TDataInfomationRec r;

  // Free, then in use by another attachment; no settings file in this form.
  ASSERT_EQ(info.ReadIniFile(general.folder, r), 1);
  EXPECT_EQ(r.Status, jxdsNone);
  EXPECT_EQ(r.Shougou, general.shougou);
  EXPECT_EQ(r.VerMajor, 17);
  {
    db::Database other(FirebirdServer::shared().remoteName(general.database));
    other.setUser("ABACOR");
    other.setPassword("dormil");
    other.connect();
    ASSERT_EQ(info.ReadIniFile(general.folder, r), 1);
    EXPECT_EQ(r.Status, jxdsExec);
  }
  info.WriteIniFileDataStatus(general.folder, jxdsLock);
  EXPECT_FALSE(QFile::exists(TDataInfomation::IniFileName(general.folder)));

  // Locked in the data list: the holder with the group.
  execSql(sysdb,
          QStringLiteral("INSERT INTO DATALIST_EX (REC, DATAPLACEREC, GROUPID, PASNAME, DATALOCK, DATATYPE, SHOUGOU) "
                         "VALUES (77, 1, %1, '%2', %3, 1, 'locked co')")
              .arg(sample::GroupId)
              .arg(general.folder.toUpper())
              .arg(sample::OperatorCode));
  EXPECT_EQ(info.ReadIniFile(general.folder, r), 0);
  EXPECT_EQ(r.Status, jxdsLock);
  EXPECT_EQ(r.OpCode, sample::loginCode(sample::OperatorCode));
  EXPECT_EQ(r.Shougou, "locked co");

  // A holder whose operator row has gone is still named by the lock mark.
  execSql(sysdb,
          QStringLiteral("UPDATE DATALIST_EX SET DATALOCK=9876 WHERE REC=77 AND GROUPID=%1").arg(sample::GroupId));
  EXPECT_EQ(info.ReadIniFile(general.folder, r), 0);
  EXPECT_EQ(r.Status, jxdsLock);
  EXPECT_EQ(r.OpCode, 9876 + sample::GroupId * 10000);
  EXPECT_TRUE(r.OpName.isEmpty());

  // A folder without a database.
  EXPECT_EQ(info.ReadIniFile(tmp.file("empty"), r), 0);
  EXPECT_EQ(r.Status, jxdsNone);
  EXPECT_TRUE(hook.boxes.empty());
}

}  // namespace
}  // namespace dmtest
