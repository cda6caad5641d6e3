// The data module's connections, status records and server questions in
// stand-alone use (embedded engine, fixture databases).
#include <unistd.h>

#include <QDir>
#include <QFile>

#include "DataModuleTestUtil.h"
#include "common/DataInfomation.h"
#include "platform/IniFile.h"

namespace dmtest {
namespace {

TEST(DatabaseNames, LocalAndRemoteForms)
{
  pcAccRecordReset();
  struct Case {
    TJxAppType form;
    QString host;
    bool remote;
    QString name;
  } cases[] = {
      {jxatSA, "srv", false, "/data/0001/wqacc2.fdb"},
      {jxatCS, "127.0.0.1", false, "/data/0001/wqacc2.fdb"},
      {jxatCS, "srv", true, "srv/3051:/data/0001/wqacc2.fdb"},
      {jxatSBC, "srv", true, "srv/3051:/data/0001/wqacc2.fdb"},
  };
  for (const auto& c : cases) {
    AppType = c.form;
    EXPECT_EQ(TDM::fnUseRemoteForm(c.host), c.remote);
    EXPECT_EQ(TDM::fnDatabaseName(c.host, "/data/0001/", AccDataFile, TDM::fnUseRemoteForm(c.host)), c.name);
  }
  pcAccRecordReset();

  QString host, path;
  EXPECT_TRUE(TDM::GetConectionTcp("\\\\srv\\share\\abc\\def", host, path));
  EXPECT_EQ(host, "srv");
  EXPECT_EQ(path, "c:\\tessaly\\sharedata\\abc\\def");
  EXPECT_FALSE(TDM::GetConectionTcp("C:\\abc", host, path));
  EXPECT_TRUE(host.isEmpty());
  EXPECT_TRUE(path.isEmpty());
}

TEST_F(StandAlone, ConnectsEveryDatabaseAndRecordsTheFolderStatus)
{
  const sample::DataSet& general = root.dataSets.at(0);
  const sample::DataSet& previous = root.dataSets.at(2);
  ASSERT_TRUE(dm->fnAccDefConnected(QString(), true));
  EXPECT_EQ(dm->IBDatabaseDEF.databaseName(), root.root + "/wqaccdef2.fdb");
  EXPECT_TRUE(dm->fnAccDefConnected(QString(), true));  // already connected
  ASSERT_TRUE(dm->fnAccFileManConnected(QString()));
  EXPECT_TRUE(dm->IBFileMan.isConnected());

  // The list update on closing is handed the folder and what was read of it.
  QStringList updates;
  SetDataListUpdateProc([&](const QString& folder, const TDataInfomationRec& rec, bool replaceName) {
    updates << QStringLiteral("%1|%2|%3|%4").arg(folder, rec.Shougou, rec.DataListName).arg(replaceName);
  });

  ASSERT_TRUE(dm->fnAccDatConnected(QString(), general.folder, true));
  EXPECT_EQ(dm->IBDatabaseDAT.databaseName(), general.folder + "/wqacc2.fdb");
  const QString ini = general.folder + "/wqacc2.ini";
  {
    const IniFile f(ini);
    EXPECT_EQ(f.ReadInteger("DATASTS", "STATUS", -1), int(jxdsExec));
    EXPECT_EQ(f.ReadInteger("DATASTS", "OPCODE", -1), sample::loginCode(sample::OperatorCode));
    EXPECT_EQ(f.ReadString("DATASTS", "OPERATOR"), sample::operatorName());
    EXPECT_EQ(f.ReadString("DATAINFO", "SHOUGOU"), general.shougou);
    EXPECT_EQ(f.ReadString("DATAINFO", "KISHU"), general.kishu.toString("yyyy/MM/dd"));
    EXPECT_EQ(f.readEncoding(), IniFile::Encoding::Utf16LeBom);
  }
  ASSERT_TRUE(dm->fnAccDatZenkiConnected(QString(), previous.folder));
  EXPECT_EQ(dm->IBDatabaseZEN.databaseName(), previous.folder + "/wqacc2.fdb");
  EXPECT_FALSE(dm->fnAccDatZenkiConnected(QString(), QString()));  // no default folder

  EXPECT_TRUE(dm->fnAccDatDisConnected(general.folder, true, true, true));
  EXPECT_FALSE(dm->IBDatabaseDAT.isConnected());
  {
    const IniFile f(ini);
    EXPECT_EQ(f.ReadInteger("DATASTS", "STATUS", -1), int(jxdsNone));
    EXPECT_FALSE(f.ValueExists("DATASTS", "OPCODE"));
    EXPECT_FALSE(f.ValueExists("DATASTS", "OPERATOR"));
  }
  EXPECT_EQ(updates, QStringList{QStringLiteral("%1|%2|%3|1").arg(general.folder, general.shougou, general.listName)});
  SetDataListUpdateProc(nullptr);
  EXPECT_TRUE(dm->fnAccDatZenkiDisConnected(QString()));
  EXPECT_FALSE(dm->IBDatabaseZEN.isConnected());
  EXPECT_TRUE(hook.boxes.empty());
}

TEST_F(StandAlone, AMissingDatabaseFileLeavesTheOpenConnectionAlone)
{
  const sample::DataSet& general = root.dataSets.at(0);
  ASSERT_TRUE(dm->fnAccDatConnected(QString(), general.folder, false));
  EXPECT_FALSE(dm->fnAccDatConnected(QString(), tmp.file("nowhere"), false));
  EXPECT_TRUE(dm->IBDatabaseDAT.isConnected());
  EXPECT_EQ(dm->IBDatabaseDAT.databaseName(), general.folder + "/wqacc2.fdb");
  EXPECT_TRUE(hook.boxes.empty());
  // Without the settings-file write no settings file appears.
  EXPECT_FALSE(QFile::exists(general.folder + "/wqacc2.ini"));
}

TEST_F(StandAlone, OnlyADamagedDatabaseIsValidated)
{
  int validations = 0;
  DataHasonHanteiProc = [&](const QString&, const QString&, int silent) {
    ++validations;
    EXPECT_EQ(silent, 1);
    return QVariant(0);
  };
  SystemDef.DataHasonCheck = 1;

  struct Case {
    const char* name;
    QByteArray content;
    bool unreadable;
    bool validated;
  } cases[] = {
      {"garbage", QByteArray(8192, 'x'), false, true},
      {"unreadable", QByteArray(8192, 'x'), true, false},
  };
  for (const auto& c : cases) {
    if (c.unreadable && ::geteuid() == 0)
      continue;  // root reads everything
    validations = 0;
    hook.boxes.clear();
    const QString folder = tmp.file(c.name);
    QDir().mkpath(folder);
    QFile f(folder + "/wqacc2.fdb");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(c.content);
    f.close();
    if (c.unreadable)
      f.setPermissions(QFileDevice::Permissions());
    EXPECT_FALSE(dm->fnAccDatConnected(QString(), folder, false)) << c.name;
    EXPECT_EQ(validations, c.validated ? 1 : 0) << c.name;
    ASSERT_EQ(hook.boxes.size(), 1u) << c.name;
    EXPECT_TRUE(hook.boxes[0].text.startsWith("ユーザーデータベースの接続処理に失敗しました。")) << c.name;
    f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  }
  // Without the operator's check setting the hook is not asked.
  SystemDef.DataHasonCheck = 0;
  validations = 0;
  EXPECT_FALSE(dm->fnAccDatConnected(QString(), tmp.file("garbage"), false));
  EXPECT_EQ(validations, 0);
}

TEST_F(StandAlone, AttachmentQuestions)
{
  const sample::DataSet& general = root.dataSets.at(0);
  EXPECT_FALSE(dm->AccDatInConnection(1, QString(), "   ", false));
  ASSERT_TRUE(dm->fnAccDatConnected(QString(), general.folder, false));
  // Only this program has it open: not counted, and connected again after.
  EXPECT_FALSE(dm->AccDatInConnection(1, QString(), general.folder, false));
  EXPECT_TRUE(dm->IBDatabaseDAT.isConnected());
  // Someone else's attachment counts.
  {
    db::Database other;
    testfx::builder().open(other, general.database);
    EXPECT_TRUE(dm->AccDatInConnection(1, QString(), general.folder, false));
  }
  EXPECT_FALSE(dm->AccDatInConnection(1, QString(), general.folder, false));
  // Open work on the module's own connection is never dropped: answered "in use".
  dm->IBTransactionDAT.start();
  EXPECT_TRUE(dm->AccDatInConnection(1, QString(), general.folder, false));
  EXPECT_TRUE(dm->IBTransactionDAT.inTransaction());
  dm->IBTransactionDAT.commit();
  EXPECT_TRUE(hook.boxes.empty());
}

TEST_F(StandAlone, DropsACompanyDatabase)
{
  const sample::DataSet& previous = root.dataSets.at(2);
  EXPECT_FALSE(dm->AccDatDropDatabase(QString(), QString()));
  EXPECT_TRUE(dm->AccDatDropDatabase(QString(), previous.folder));
  EXPECT_FALSE(QFile::exists(previous.database));
  EXPECT_FALSE(dm->AccDatDropDatabase(QString(), previous.folder));
  ASSERT_EQ(hook.boxes.size(), 1u);
  EXPECT_TRUE(hook.boxes[0].text.startsWith("ユーザーデータベースの削除処理に失敗しました。"));
}

TEST_F(StandAlone, EventsAndBalanceTables)
{
  ASSERT_TRUE(dm->fnAccDefConnected(QString(), true));
  dm->SETEVENT(7, SystemDef.OPCODE, QStringLiteral("テスト①"));
  EXPECT_EQ(readValue(root.systemDb, "SELECT COUNT(*) AS N FROM EVENTLOG WHERE EVENTNO=7", "N"), "1");

  ASSERT_TRUE(dm->fnAccDatConnected(QString(), root.dataSets.at(0).folder, false));
  EXPECT_TRUE(dm->IsFirebirdRunning());  // stand-alone: no check
  dm->GetZandakaCash(0);
  EXPECT_TRUE(AccInf.CashOn_ToukiZan);
  EXPECT_FALSE(AccInf.CashOn_KakoZan);
  dm->GetZandakaCash(1);
  EXPECT_TRUE(AccInf.CashOn_KakoZan);
  EXPECT_FALSE(dm->IBTransactionDAT.inTransaction());
}

}  // namespace
}  // namespace dmtest
