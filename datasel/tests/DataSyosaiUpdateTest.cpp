// Applying the details dialog's changes to a stand-alone data set: the list
// name and prohibitions written to the company database and the settings
// file, and the status clearing decided from the status just read.
#include <gtest/gtest.h>
#include <optional>

#include <QDir>
#include <QFile>

#include "common/AccRecord.h"
#include "common/DataInfomation.h"
#include "common/DataModule.h"
#include "common/MessageHook.h"
#include "datasel/DataSyosaiUpdate.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "platform/IniFile.h"
#include "tests/support/DataModuleEnv.h"
#include "tests/support/Fixtures.h"
#include "tests/support/MessageCollector.h"
#include "tests/support/TempDir.h"

namespace {

using namespace fixtures;

const int kMe = sample::loginCode(sample::OperatorCode);
const int kClerk = sample::loginCode(sample::ClerkCode);

class ApplyDetails : public testenv::SharedDataRootTest<ApplyDetails> {
 protected:
  void SetUp() override
  {
    setUpDataModule({.root = root->root,
                     .logFile = tmp->file("log"),
                     .operatorName = true,
                     .systemDbVerMajor = std::nullopt,
                     .connect = false});
  }
  // status < 0: no status entry at all.
  void setStatus(const QString& folder, int status, int opCode)
  {
    QFile::remove(TDataInfomation::IniFileName(folder));
    if (status < 0)
      return;
    IniFile ini(TDataInfomation::IniFileName(folder));
    ini.WriteInteger("DATASTS", "STATUS", status);
    ini.WriteInteger("DATASTS", "OPCODE", opCode);
    ini.WriteString("DATASTS", "OPERATOR", opCode == kMe ? sample::operatorName() : sample::clerkName());
    ini.UpdateFile();
  }
  QVariantList accdef1(const QString& database)
  {
    db::Database d(database);
    d.setUser("ABACOR");
    d.setPassword("dormil");
    d.connect();
    db::Transaction tr(d);
    tr.start();
    db::Query q(tr, "SELECT ENTTEXT,DATALOCK,READ_ONLY FROM ACCDEF1 WHERE REC=1");
    q.open();
    QVariantList v{q.field("ENTTEXT").asString(), q.field("DATALOCK").asInt(), q.field("READ_ONLY").asInt()};
    q.close();
    tr.commit();
    return v;
  }
  testenv::ScopedMessageCollector hook;
};

TEST_F(ApplyDetails, NameAndProhibitionsGoToTheDatabaseAndTheSettingsFile)
{
  const sample::DataSet& ds = root->dataSets.at(0);
  const QString forty(40, QChar(0x3042));
  struct Case {
    const char* name;
    QString typed;
    int flags;  // update lock and read-only flag
    QString stored;
  } cases[] = {
      {"trimmed of both kinds of space", QStringLiteral("　新しい名前 "), 1, QStringLiteral("新しい名前")},
      {"cut to forty characters", QString(45, QChar(0x3042)), 0, forty},
      {"a blank name keeps the stored one", QStringLiteral(" 　"), 1, forty},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    setStatus(ds.folder, -1, 0);
    TDataListRec r;
    r.DataPath = ds.folder;
    const TDataSyosaiOutcome o = fnApplyDataSyosai(ds.folder, {c.typed, c.flags, c.flags, false, jxdsNone, 0}, r);
    EXPECT_TRUE(o.InfoWritten);
    EXPECT_EQ(r.DataListName, c.stored);
    EXPECT_EQ(r.Display_DataListName, c.stored);
    EXPECT_EQ(r.UpdateLock, c.flags);
    EXPECT_EQ(r.ReadOnly, c.flags);
    EXPECT_EQ(accdef1(ds.database), QVariantList({c.stored, c.flags, c.flags}));
    const IniFile ini(TDataInfomation::IniFileName(ds.folder));
    EXPECT_EQ(ini.ReadString("DATAINFO", "DATALISTNAME"), c.stored);
    EXPECT_EQ(ini.ReadInteger("DATASTS", "UPDATE_LOCK", -1), c.flags);
    EXPECT_EQ(ini.ReadInteger("DATASTS", "READ_ONLY", -1), c.flags);
  }
  EXPECT_TRUE(hook.texts.isEmpty());
}

TEST_F(ApplyDetails, DataBeforeVersion12KeepsItsJournalFlag)
{
  const sample::DataSet& ds = root->dataSets.at(1);
  testenv::execIn(ds.database, "UPDATE ACCVERSION SET MAJOR=11 WHERE REC=1");
  setStatus(ds.folder, -1, 0);
  TDataListRec r;
  const TDataSyosaiOutcome o = fnApplyDataSyosai(ds.folder, {QStringLiteral("旧版"), 1, 1, false, jxdsNone, 0}, r);
  EXPECT_TRUE(o.InfoWritten);
  EXPECT_EQ(accdef1(ds.database), QVariantList({QStringLiteral("旧版"), 1, 0}));
  testenv::execIn(ds.database, "UPDATE ACCVERSION SET MAJOR=17 WHERE REC=1");
}

TEST_F(ApplyDetails, StatusClearingFollowsTheStatusJustRead)
{
  const sample::DataSet& ds = root->dataSets.at(0);
  struct Case {
    const char* name;
    int status, holder;            // the folder now (status -1: no entry)
    int shownStatus, shownHolder;  // what the dialog read when it opened
    bool clear, unrestricted;
    bool written, cleared, refused;
    int lockColumn, statusAfter;
  } cases[] = {
      {"my run left it in use", 2, kMe, 2, kMe, true, false, false, true, false, 0, 1},
      {"in use, not asked", 2, kMe, 2, kMe, false, false, false, false, false, 0, 2},
      {"my own lock", 3, kMe, 3, kMe, true, false, false, true, false, 0, 1},
      {"another operator's lock", 3, kClerk, 3, kClerk, true, false, false, false, true, sample::ClerkCode, 3},
      {"another's lock, unrestricted access", 3, kClerk, 3, kClerk, true, true, false, true, false, 0, 1},
      {"locked by another since it was shown", 3, kClerk, 2, kMe, true, false, false, false, true, sample::ClerkCode,
       3},
      {"locked since, even with unrestricted access", 3, kClerk, 2, kMe, true, true, false, false, true,
       sample::ClerkCode, 3},
      {"freed by someone meanwhile", -1, 0, 2, kMe, true, false, true, false, false, 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    hook.texts.clear();
    setStatus(ds.folder, c.status, c.holder);
    SystemDef.DataSeigenNasi = c.unrestricted ? 1 : 0;
    TDataListRec r;
    r.DataLock = 77;  // stale: whatever the list showed before
    const TDataSyosaiOutcome o =
        fnApplyDataSyosai(ds.folder, {ds.listName, 0, 0, c.clear, TJxDataStatus(c.shownStatus), c.shownHolder}, r);
    EXPECT_EQ(o.InfoWritten, c.written);
    EXPECT_EQ(o.StatusCleared, c.cleared);
    EXPECT_EQ(o.ClearRefused, c.refused);
    EXPECT_EQ(r.DataLock, c.lockColumn);
    const IniFile ini(TDataInfomation::IniFileName(ds.folder));
    EXPECT_EQ(ini.ReadInteger("DATASTS", "STATUS", 1), c.statusAfter);
    if (c.statusAfter != 1) {
      EXPECT_EQ(ini.ReadInteger("DATASTS", "OPCODE", 0), c.holder);  // the holder's mark stays
    }
    ASSERT_EQ(hook.texts.size(), c.refused ? 1 : 0);
    if (c.refused) {
      EXPECT_TRUE(hook.texts[0].startsWith("このデータはデータロック中のため処理が行えません。"))
          << hook.texts[0].toStdString();
    }
  }
  setStatus(ds.folder, -1, 0);
}

TEST_F(ApplyDetails, AFolderWithoutItsDatabaseIsReportedAndLeftAlone)
{
  const QString folder = tmp->file("gone");
  QDir().mkpath(folder);
  TDataListRec r;
  r.DataListName = QStringLiteral("元の名前");
  const TDataSyosaiOutcome o = fnApplyDataSyosai(folder, {QStringLiteral("新"), 1, 1, true, jxdsExec, kMe}, r);
  EXPECT_EQ(o.Status, jxdsError);
  EXPECT_FALSE(o.InfoWritten);
  EXPECT_FALSE(o.StatusCleared);
  EXPECT_EQ(r.DataListName, QStringLiteral("元の名前"));
  EXPECT_EQ(hook.texts, QStringList({"このフォルダには財務データがありません。"}));
  EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());
}

}  // namespace
