// Share-server copies over two real folders (a share folder on a mounted
// share and a local data folder) with a real company database, their share
// marks, and the data-use checks of branch rights and the data password.
#include <QDir>
#include <QDirIterator>
#include <QFile>

#include "DataModuleTestUtil.h"
#include "common/AccCipher.h"
#include "common/DataInfomation.h"
#include "fixtures/CompanyFixture.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"

namespace dmtest {
namespace {

const QString kDamaged = QStringLiteral(
    "共有サーバー上のデータが破損しているため、共有データの取得を中止します。\r"
    "データのバックアップを行っている場合は、適正な方法で破損前の状態へ戻して下さい。");
const QString kUnreachable = QStringLiteral(
    "共有サーバーが起動していない、接続が切断されている \rまたは "
    "共有サーバー上のデータ領域が削除された可能性があります。\r処理を中止します。");

QByteArray bytesOf(const QString& file)
{
  QFile f(file);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// The share marks and the data status of a folder's settings file.
struct Marks {
  int status = 0;
  int opcode = 0;
  int share = 0;
  int shareOpcode = 0;
  bool operator==(const Marks&) const = default;
};

Marks marksOf(const QString& folder)
{
  const IniFile f(TDataInfomation::IniFileName(folder));
  return {f.ReadInteger("DATASTS", "STATUS", 0), f.ReadInteger("DATASTS", "OPCODE", 0),
          f.ReadInteger("DATASTS", "SHARE_STATUS", 0), f.ReadInteger("DATASTS", "SHARE_OPCODE", 0)};
}

std::ostream& operator<<(std::ostream& os, const Marks& m)
{
  return os << "{status " << m.status << " op " << m.opcode << " share " << m.share << " holder " << m.shareOpcode
            << "}";
}

// Names left in a folder that a copy must not leave behind (its temporary
// files).
QStringList leftovers(const QString& folder)
{
  return QDir(folder).entryList({".*.tmp"}, QDir::Files | QDir::Hidden);
}

class ShareCopy : public StandAlone {
 protected:
  void SetUp() override
  {
    StandAlone::SetUp();
    me = sample::loginCode(sample::OperatorCode);
    srv = tmp.file("srv");
    share = srv + "/sv0001";
    local = tmp.file("local/0001");
    QDir().mkpath(share);
    SetMountPoints({MountPoint{srv, QChar(u'S'), QStringLiteral("\\\\fileserver\\share")}});
    // The share copy: the sample company's database and its settings file.
    const auto& general = root.dataSets.at(0);
    ASSERT_TRUE(QFile::copy(general.database, share + "/wqacc2.fdb"));
    IniFile ini(TDataInfomation::IniFileName(share), IniFile::Encoding::Utf16LeBom);
    ini.WriteInteger("DATASTS", "STATUS", jxdsNone);
    ini.WriteInteger("DATASTS", "SHARE_STATUS", jxksNone);
    ini.WriteString("DATAINFO", "SHOUGOU", general.shougou);
    ini.UpdateFile();
    // Not part of the data set.
    writeFile(share + "/memo.txt", "not data");
    info.SetAppType(jxatSA);
    DM = dm.get();
  }
  void TearDown() override
  {
    SetMountPoints({});
    DM = nullptr;
    StandAlone::TearDown();
  }
  static void writeFile(const QString& file, const QByteArray& bytes)
  {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  void setShareMarks(int status, int share_, int holder)
  {
    info.WriteIniValue(share, "DATASTS", "STATUS", status, false);
    info.WriteIniValue(share, "DATASTS", "SHARE_STATUS", share_, false);
    info.WriteIniValue(share, "DATASTS", "SHARE_OPCODE", holder, holder == 0);
  }
  QString shougouIn(const QString& folder)
  {
    return readValue(folder + "/wqacc2.fdb", "SELECT SHOUGOU FROM ACCDEF1 WHERE REC=1", "SHOUGOU");
  }

  int me = 0;
  QString srv, share, local;
  TDataInfomation info;
};

TEST_F(ShareCopy, TakeOutWorkAndCopyBack)
{
  const auto& general = root.dataSets.at(0);
  EXPECT_EQ(info.GetKyouyuState(share), jxksNone);

  ASSERT_EQ(info.DataDownLoad(share, local, 0), 1);
  EXPECT_TRUE(hook.boxes.empty());
  // Exactly the data set's files came over, and the database opens.
  EXPECT_EQ(QDir(local).entryList(QDir::Files), QStringList({"wqacc2.fdb", "wqacc2.ini"}));
  EXPECT_EQ(shougouIn(local), general.shougou);
  EXPECT_EQ(IniFile(TDataInfomation::IniFileName(local)).ReadString("DATAINFO", "SHOUGOU"), general.shougou);
  EXPECT_EQ(marksOf(local), (Marks{jxdsNone, 0, jxksExec, me}));
  EXPECT_EQ(marksOf(share), (Marks{jxdsNone, 0, jxksExec, me}));
  EXPECT_EQ(info.GetKyouyuState(share), jxksExec);
  EXPECT_TRUE(leftovers(local).isEmpty());

  // Work on the local copy, then copy it back.
  execSql(local + "/wqacc2.fdb", "UPDATE ACCDEF1 SET SHOUGOU='㈱髙橋商事② 変更後' WHERE REC=1");
  ASSERT_EQ(info.DataUpLoad(share, local, 0), 1);
  EXPECT_TRUE(hook.boxes.empty());
  EXPECT_EQ(shougouIn(share), "㈱髙橋商事② 変更後");
  EXPECT_EQ(marksOf(local), (Marks{jxdsNone, 0, jxksNone, 0}));
  EXPECT_EQ(marksOf(share), (Marks{jxdsNone, 0, jxksNone, 0}));
  EXPECT_EQ(bytesOf(share + "/memo.txt"), "not data");
  EXPECT_TRUE(leftovers(share).isEmpty());

  // Free again: another take-out works.
  EXPECT_EQ(info.DataDownLoad(share, local, 1), 1);
}

TEST_F(ShareCopy, RefusedTakeOuts)
{
  const int other = sample::loginCode(sample::ClerkCode);
  struct Case {
    const char* what;
    int status, shareStatus, holder;
    bool removeShare;
    int silent;
    int result;
    QString raised;  // the exception's message, when one is raised
    bool copied;     // the local folder got the share's files
  } cases[] = {
      {"damaged, silent", jxdsHason, jxksNone, 0, false, 1, -1, {}, false},
      {"damaged", jxdsHason, jxksNone, 0, false, 0, 0, kDamaged, false},
      {"taken by another", jxdsNone, jxksExec, other, false, 0, -1, {}, true},
      {"share gone, silent", jxdsNone, jxksNone, 0, true, 1, 0, {}, false},
      {"share gone", jxdsNone, jxksNone, 0, true, 0, 0, kUnreachable, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QDir(tmp.file("local")).removeRecursively();
    setShareMarks(c.status, c.shareStatus, c.holder);
    const QByteArray shareIni = bytesOf(TDataInfomation::IniFileName(share));
    const QString moved = srv + "/moved";
    if (c.removeShare) {
      ASSERT_TRUE(QDir().rename(share, moved));
    }
    int result = 0;
    QString raised;
    try {
      result = info.DataDownLoad(share, local, c.silent);
    } catch (const EPlatformError& e) {
      raised = e.message();
    }
    if (c.removeShare) {
      ASSERT_TRUE(QDir().rename(moved, share));
    }
    EXPECT_EQ(raised, c.raised);
    if (c.raised.isEmpty()) {
      EXPECT_EQ(result, c.result);
    }
    EXPECT_EQ(QFile::exists(local + "/wqacc2.fdb"), c.copied);
    // The share copy's marks are as they were.
    EXPECT_EQ(bytesOf(TDataInfomation::IniFileName(share)), shareIni);
    if (c.copied) {
      EXPECT_EQ(marksOf(local).shareOpcode, other);  // the share's marks came along, none of ours
    }
    EXPECT_TRUE(hook.boxes.empty());
  }
  EXPECT_EQ(info.DataDownLoad("", local, 0), 0);
  EXPECT_EQ(info.DataDownLoad(share, "", 0), 0);
  EXPECT_EQ(info.DataUpLoad(share, "", 0), 0);
}

TEST_F(ShareCopy, OwnWorkingCopyIsNeverOverwrittenByAStaleShareCopy)
{
  ASSERT_EQ(info.DataDownLoad(share, local, 0), 1);
  execSql(local + "/wqacc2.fdb", "UPDATE ACCDEF1 SET SHOUGOU='作業中' WHERE REC=1");
  const QByteArray work = bytesOf(local + "/wqacc2.fdb");
  // Fetching again while this operator holds it: refused, the work stays.
  EXPECT_EQ(info.DataDownLoad(share, local, 1), -1);
  EXPECT_EQ(bytesOf(local + "/wqacc2.fdb"), work);
  EXPECT_EQ(shougouIn(local), "作業中");
  EXPECT_EQ(marksOf(local), (Marks{jxdsNone, 0, jxksExec, me}));
}

TEST_F(ShareCopy, FailedTakeOutSetsNoMarkAndKeepsEarlierFiles)
{
  // The local folder has an earlier copy; a folder where the settings file
  // should go makes the copy fail after the database has been written in
  // full under its temporary name.
  QDir().mkpath(local);
  writeFile(local + "/wqacc2.fdb", "earlier database");
  QDir().mkpath(TDataInfomation::IniFileName(local));
  struct Case {
    const char* what;
    int status, opcode;
  } cases[] = {
      {"share free", jxdsNone, 0},
      {"share marked by someone else", jxdsExec, 555},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    setShareMarks(c.status, jxksNone, 0);
    info.WriteIniValue(share, "DATASTS", "OPCODE", c.opcode, c.opcode == 0);
    const Marks before = marksOf(share);
    EXPECT_EQ(info.DataDownLoad(share, local, 0), 0);
    EXPECT_EQ(bytesOf(local + "/wqacc2.fdb"), "earlier database");
    EXPECT_TRUE(leftovers(local).isEmpty());
    // Only the mark this call set is undone; nothing is marked taken out.
    EXPECT_EQ(marksOf(share), before);
    EXPECT_EQ(info.GetKyouyuState(share), jxksNone);
  }
  EXPECT_TRUE(hook.boxes.empty());
}

TEST_F(ShareCopy, FailedCopyBackStaysTakenOutInBothFolders)
{
  ASSERT_EQ(info.DataDownLoad(share, local, 0), 1);
  execSql(local + "/wqacc2.fdb", "UPDATE ACCDEF1 SET SHOUGOU='送れない' WHERE REC=1");
  // The share's database cannot be replaced (a folder has its name).
  ASSERT_TRUE(QFile::rename(share + "/wqacc2.fdb", share + "/kept.fdb"));
  QDir().mkpath(share + "/wqacc2.fdb");
  const QByteArray shareIni = bytesOf(TDataInfomation::IniFileName(share));
  EXPECT_EQ(info.DataUpLoad(share, local, 0), 0);
  EXPECT_TRUE(hook.boxes.empty());
  EXPECT_TRUE(leftovers(share).isEmpty());
  EXPECT_EQ(marksOf(local), (Marks{jxdsNone, 0, jxksExec, me}));
  EXPECT_EQ(marksOf(share), (Marks{jxdsNone, 0, jxksExec, me}));

  // With the obstacle gone the copy back goes through.
  QDir(share + "/wqacc2.fdb").removeRecursively();
  EXPECT_EQ(info.DataUpLoad(share, local, 1), 1);
  EXPECT_EQ(shougouIn(share), "送れない");
  EXPECT_EQ(marksOf(share), (Marks{jxdsNone, 0, jxksNone, 0}));
  EXPECT_EQ(marksOf(local), (Marks{jxdsNone, 0, jxksNone, 0}));
}

TEST_F(ShareCopy, CopyBackIntoDeletedShareFolderRecreatesIt)
{
  const auto& general = root.dataSets.at(0);
  ASSERT_EQ(info.DataDownLoad(share, local, 0), 1);
  ASSERT_TRUE(QDir(share).removeRecursively());
  EXPECT_EQ(info.DataUpLoad(share, local, 0), 1);
  ASSERT_EQ(hook.boxes.size(), 1u);
  EXPECT_EQ(hook.boxes[0].text,
            "共有サーバー上のデータ領域が削除された可能性があります。\r現在の領域設定情報でデータ領域を作成します。");
  EXPECT_EQ(hook.boxes[0].type, mtInformation);
  EXPECT_EQ(shougouIn(share), general.shougou);
  EXPECT_EQ(marksOf(share), (Marks{jxdsNone, 0, jxksNone, 0}));
  EXPECT_EQ(marksOf(local), (Marks{jxdsNone, 0, jxksNone, 0}));
}

TEST_F(ShareCopy, ShareStateChangesOnlyWhenDifferent)
{
  struct Step {
    TJxKyoyuStatus set;
    int result;
    TJxKyoyuStatus after;
    int holder;
  } steps[] = {
      {jxksExec, 1, jxksExec, me}, {jxksExec, 0, jxksExec, me}, {jxksNone, 1, jxksNone, 0},
      {jxksNone, 0, jxksNone, 0},  {jxksError, 0, jxksNone, 0},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(int(s.set));
    EXPECT_EQ(info.SetKyouyuState(share, s.set), s.result);
    EXPECT_EQ(info.GetKyouyuState(share), s.after);
    EXPECT_EQ(marksOf(share).shareOpcode, s.holder);
  }
}

// --- data-use checks ---------------------------------------------------------

class DataUse : public StandAlone {
 protected:
  void SetUp() override
  {
    StandAlone::SetUp();
    general = root.dataSets.at(0);
    ASSERT_TRUE(dm->fnAccDefConnected(QString(), true));
    DM = dm.get();
    info.SetAppType(jxatSA);
  }
  void TearDown() override
  {
    DataPasswordPromptProc = nullptr;
    DM = nullptr;
    StandAlone::TearDown();
  }
  void logOn(int code, int level)
  {
    SystemDef.OPCODE = sample::loginCode(code);
    SystemDef.OPLevel = level;
    SystemDef.OPAccount = false;
    SystemDef.DataSeigenNasi = 0;
  }

  sample::DataSet general;
  TDataInfomation info;
};

TEST_F(DataUse, BranchRights)
{
  const QString rights = "このデータを扱う権限がありません、他のデータを選択して下さい。";
  struct Case {
    const char* what;
    int code, level;
    QString folder;
    bool expected;
    bool told;
  } cases[] = {
      {"every branch permitted", sample::OperatorCode, 3, general.folder, true, false},
      {"one of two branches", sample::ClerkCode, 3, general.folder, false, true},
      {"no default branch", 999, 3, general.folder, false, true},
      {"unrestricted", 999, 9, general.folder, true, false},
      {"no database in the folder", 999, 3, tmp.file("empty"), true, false},
      {"no folder given", sample::OperatorCode, 3, QString(), false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    hook.boxes.clear();
    logOn(c.code, c.level);
    EXPECT_EQ(info.IsDataSiyouKengen(c.folder), c.expected);
    ASSERT_EQ(hook.boxes.size(), c.told ? 1u : 0u);
    if (c.told) {
      EXPECT_EQ(hook.boxes[0].type, 102);
      EXPECT_TRUE(hook.boxes[0].text.startsWith(rights));
    }
    EXPECT_FALSE(dm->IBDatabaseDAT.isConnected());
  }
}

TEST_F(DataUse, DataPassword)
{
  logOn(sample::OperatorCode, 3);
  EXPECT_TRUE(info.IsDataPasswordAuth(0, general.folder));  // none set: no prompt
  EXPECT_TRUE(info.IsDataPasswordAuth(0, tmp.file("empty")));
  EXPECT_FALSE(info.IsDataPasswordAuth(0, QString()));
  EXPECT_TRUE(hook.boxes.empty());

  TEasyEncodeInfo coded;
  coded.SecretKey = QStringLiteral("tobenza");
  coded.ValidLength = -1;
  coded.BasicText = QStringLiteral("abcd1234xyz");
  fnEasyEncodeInverse(coded);
  {
    db::Database d;
    testfx::builder().open(d, general.database);
    CompanyFixture fx(d);
    fx.setAccReg("基本設定", "データパスワードV2", "文字", coded.EncodeText);
  }
  struct Case {
    const char* what;
    QStringList typed;  // one answer per prompt; the prompt is cancelled after them
    bool expected;
  } cases[] = {
      {"right at once", {"abcd1234"}, true},
      {"right at the third try", {"x", "y", "abcd1234"}, true},
      {"three wrong", {"x", "y", "z"}, false},
      {"cancelled", {}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    hook.boxes.clear();
    int asked = 0;
    DataPasswordPromptProc = [&](int, QString& AText) {
      if (asked >= c.typed.size())
        return false;
      AText = c.typed.at(asked++);
      return true;
    };
    EXPECT_EQ(info.IsDataPasswordAuth(0, general.folder), c.expected);
    ASSERT_EQ(hook.boxes.size(), c.expected ? 0u : 1u);
    if (!c.expected) {
      EXPECT_EQ(hook.boxes[0].text,
                "このデータに設定されている「パスワード」と一致しませんでした。\n他のデータを選択して下さい。");
    }
    EXPECT_FALSE(dm->IBDatabaseDAT.isConnected());
  }
}

}  // namespace
}  // namespace dmtest
