// Folder, file-operation, INI and registry helpers, and the data module's
// local file operations.
#include <QDir>
#include <QFile>

#include "DataModuleTestUtil.h"
#include "common/AccFunction2.h"
#include "platform/IniFile.h"
#include "platform/Registry.h"
#include "platform/SafeSave.h"

namespace dmtest {
namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

QByteArray readFile(const QString& path)
{
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

TEST(PlatformHelpers, ScalingAndFrameHeights)
{
  pcSetScreenMetrics(144, 4);
  struct Scale {
    int value, m, d, expected;
  } scales[] = {{100, 96, 96, 100}, {100, 144, 96, 150}, {100, 96, 0, 66},
                {10, 120, 96, 12},  {-10, 120, 96, -12}, {7, 96, 144, 4}};
  for (const auto& c : scales)
    EXPECT_EQ(fnScaleDpi(c.value, c.m, c.d), c.expected) << c.value << " " << c.m << "/" << c.d;
  struct Frame {
    int frame, h, kind, expected;
  } frames[] = {{4, 100, 0, 100}, {3, 100, 1, 100}, {5, 100, 0, 98},
                {5, 100, 1, 96},  {6, 100, 0, 96},  {6, 100, 2, 100}};
  for (const auto& c : frames) {
    pcSetScreenMetrics(96, c.frame);
    EXPECT_EQ(fnFrameHeightAdjust(c.h, c.kind), c.expected) << c.frame << " " << c.kind;
  }
  pcSetScreenMetrics(96, 4);
  EXPECT_TRUE(fnWaitMSec(5));
}

TEST(PlatformHelpers, SafeFolders)
{
  struct Case {
    QString path;
    bool safe;
  } cases[] = {
      {"", false},
      {"   ", false},
      {"C:", false},
      {"c:\\", false},
      {"Z:/", false},
      {"/", false},
      {"/usr", false},
      {"/usr/bin", false},
      {"/usr/lib", false},
      {"/etc/", false},
      {"/var/lib", false},
      {"/home", false},
      {QDir::homePath(), false},
      {QDir::homePath() + "/", false},
      {"/usr/../etc", false},
      {"/tmp/x", true},
      {QDir::homePath() + "/data", true},
      {"/srv/data/0001", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(fnIsSafeFolder(c.path), c.safe) << c.path.toStdString();
}

TEST(PlatformHelpers, DeleteAndCopyRefuseSystemFoldersAndWorkElsewhere)
{
  RecordingHook hook;
  TestTempDir tmp;
  EXPECT_FALSE(fnFileDelete("/", 3, false, true));
  EXPECT_FALSE(fnFileDelete(QDir::homePath(), 3, false, true));
  EXPECT_FALSE(fnFileCopyMove("/etc", tmp.file("etc"), 2));
  ASSERT_EQ(hook.boxes.size(), 3u);
  EXPECT_EQ(hook.boxes[0].text,
            QStringLiteral("ルート・システムディレクトリは、削除できません。<\\/> \r").replace("\\/", "/"));
  EXPECT_EQ(hook.boxes[2].text,
            QStringLiteral("指定ディレクトリ[/etc->%1/etc]の複写・移動はできません。 \r").arg(tmp.path()));
  EXPECT_TRUE(QDir("/etc").exists());

  writeFile(tmp.file("src/a.txt"), "A");
  writeFile(tmp.file("src/sub/b.txt"), "B");
  // A folder copied to a new name, then into an existing folder.
  EXPECT_TRUE(fnFileCopyMove(tmp.file("src"), tmp.file("copy"), 2));
  EXPECT_EQ(readFile(tmp.file("copy/sub/b.txt")), "B");
  QDir().mkpath(tmp.file("into"));
  EXPECT_TRUE(fnFileCopyMove(tmp.file("src"), tmp.file("into"), 2));
  EXPECT_EQ(readFile(tmp.file("into/src/a.txt")), "A");
  // A file copied over another, with missing target folders created.
  writeFile(tmp.file("deep/x/a.txt"), "old");
  EXPECT_TRUE(fnFileCopyMove(tmp.file("src/a.txt"), tmp.file("deep/x/a.txt"), 2));
  EXPECT_EQ(readFile(tmp.file("deep/x/a.txt")), "A");
  EXPECT_TRUE(fnFileCopyMove(tmp.file("src/a.txt"), tmp.file("new/y/z.txt"), 2));
  EXPECT_EQ(readFile(tmp.file("new/y/z.txt")), "A");
  EXPECT_FALSE(fnFileCopyMove(tmp.file("src"), tmp.file("src/sub"), 2));  // a folder into itself
  // Move, then delete.
  EXPECT_TRUE(fnFileCopyMove(tmp.file("copy"), tmp.file("moved"), 1));
  EXPECT_FALSE(QDir(tmp.file("copy")).exists());
  EXPECT_TRUE(fnFileDelete(tmp.file("moved"), 3, false, false));
  EXPECT_FALSE(QDir(tmp.file("moved")).exists());
  EXPECT_FALSE(fnFileDelete(tmp.file("moved"), 3, false, false));  // already gone
  EXPECT_FALSE(fnFileDelete(tmp.file("into"), 4, false, false));   // rename has no target
  EXPECT_EQ(hook.boxes.size(), 3u);
}

TEST(PlatformHelpers, FoldersAndSpecialFolders)
{
  TestTempDir tmp;
  EXPECT_TRUE(fnFolderExists(tmp.file("a/b/c")));
  EXPECT_TRUE(QDir(tmp.file("a/b/c")).exists());
  EXPECT_FALSE(fnFolderExists("Q:"));
  QStringList list{"old"};
  pcGetSubFolderList(tmp.file("a"), 1, list);
  EXPECT_EQ(list, QStringList{"b"});
  pcGetSubFolderList(tmp.file("a"), 0, list);
  EXPECT_EQ(list, QStringList{tmp.file("a/b")});
  pcGetSubFolderList(tmp.file("none"), 1, list);
  EXPECT_TRUE(list.isEmpty());
  EXPECT_EQ(fnGetSpecialDir("anything"), fnGetSpecialDir("PROGRAMDIR?"));
  EXPECT_EQ(fnExcludePathDelim("/x/"), "/x");
  EXPECT_EQ(fnIncludePathDelim("/x"), "/x/");
  qputenv("TEMP", tmp.path().toUtf8());
  EXPECT_EQ(fnGetTempDir("/default"), tmp.path());
  qputenv("TEMP", tmp.file("missing").toUtf8());
  EXPECT_EQ(fnGetTempDir("/default"), "/default");
  qunsetenv("TEMP");

  pcAccRecordReset();
  AppType = jxatSBC;
  EXPECT_EQ(fnGetPCName(), "ANONYMOUS");
  SystemDef.SYSUSER = "user1";
  EXPECT_EQ(fnGetPCName(), "user1");
  AppType = jxatSA;
  EXPECT_FALSE(fnGetPCName().isEmpty());
  EXPECT_NE(fnGetPCName(), "user1");
  pcAccRecordReset();
}

TEST(PlatformHelpers, SavingIntoTheRootAsksForTheDocumentsFolder)
{
  RecordingHook hook;
  TestTempDir tmp;
  const QString regFile = tmp.file("hklm.ini");
  {
    RegistryWriter w(regFile);
    w.WriteInteger("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System", "EnableLUA", 1);
    w.UpdateFile();
  }
  const QByteArray oldReg = qgetenv("RENDO_REGISTRY_FILE");
  qputenv("RENDO_REGISTRY_FILE", regFile.toUtf8());
  QVariant v;
  fnRegReadValue("HKEY_LOCAL_MACHINE", "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System", "EnableLUA",
                 v);
  EXPECT_EQ(v.toInt(), 1);
  fnRegReadValue("HKEY_LOCAL_MACHINE", "SOFTWARE\\None", "X", v);
  EXPECT_EQ(v.toInt(), 0);

  QString path = "/";
  hook.answer = mrYes;
  EXPECT_TRUE(fnCheckSaveFolder(path));
  EXPECT_EQ(path, fnIncludePathDelim(fnGetMyDocumentsDir()));
  path = "/";
  hook.answer = mrNo;
  EXPECT_FALSE(fnCheckSaveFolder(path));
  path = tmp.path();
  EXPECT_TRUE(fnCheckSaveFolder(path));
  EXPECT_EQ(path, tmp.path() + "/");
  EXPECT_EQ(hook.boxes.size(), 2u);  // asked only for the root
  qputenv("RENDO_REGISTRY_FILE", oldReg);
}

TEST(PlatformHelpers, IniRoutinesRewriteAsUtf16)
{
  TestTempDir tmp;
  const QString file = tmp.file("s.ini");
  writeFile(file, QByteArray("[A]\r\nKEY=値\r\nX=1\r\n"));
  QVariant v;
  fnIniReadValue(file, "a", "key", v, "def");
  EXPECT_EQ(v.toString(), "値");
  fnIniReadValue(file, "A", "none", v, "def");
  EXPECT_EQ(v.toString(), "def");
  pcIniWriteValue(file, "A", "New", QStringLiteral("髙"), false);
  pcIniWriteValue(file, "A", "X", QVariant(), true);
  EXPECT_EQ(readFile(file).left(2), QByteArray("\xFF\xFE"));
  EXPECT_EQ(fnIniReadSection(file, "A"), QStringLiteral("KEY=値\r\nNew=髙\r\n"));
  EXPECT_EQ(fnIniReadSection(file, ""), "");
  pcIniWriteSection(file, "B", {"p=1", "q=2", "p=3"});
  EXPECT_EQ(fnIniReadSection(file, "B"), "p=1\r\nq=2\r\n");
  EXPECT_EQ(IniFile(file).readEncoding(), IniFile::Encoding::Utf16LeBom);
}

TEST_F(StandAlone, LocalFileOperationsAndThePlainCopySave)
{
  const sample::DataSet& general = root.dataSets.at(0);
  const QString dir = tmp.file("work/new");
  EXPECT_TRUE(dm->AccMakeDirectory(dir, jxatSA));
  EXPECT_TRUE(dm->AccDirectoryExists(dir, jxatSA));
  EXPECT_FALSE(dm->AccMakeDirectory("C:", jxatSA));
  EXPECT_FALSE(dm->AccDirectoryExists(dir, 5));
  EXPECT_FALSE(dm->AccDeleteDirectory("/", jxatSA, false));
  EXPECT_EQ(hook.boxes.size(), 1u);  // the refusal

  SystemDef.IBPATHDAT = general.folder;
  // An open company database is closed first.
  ASSERT_TRUE(dm->fnAccDatConnected(QString(), general.folder, false));
  EXPECT_TRUE(dm->BackupAccFDB(dir + "/"));
  EXPECT_FALSE(dm->IBDatabaseDAT.isConnected());
  const QByteArray original = readFile(general.database);  // as closed (opening changes the header)
  EXPECT_EQ(readFile(dir + "/wqacc2.fdb"), original);
  // A backup that fails part way (the disk fills up) keeps the earlier
  // backup whole.
  SetSafeSaveFaultAfter(4096, ENOSPC);
  EXPECT_FALSE(dm->BackupAccFDB(dir));
  SetSafeSaveFaultAfter(-1, 0);
  EXPECT_EQ(readFile(dir + "/wqacc2.fdb"), original);
  EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("wqacc2.fdb")});
  writeFile(general.database, "broken");
  EXPECT_TRUE(dm->RestoreAccFDB(dir));
  EXPECT_EQ(readFile(general.database), original);
  EXPECT_TRUE(dm->fnAccDatConnected(QString(), general.folder, false));
  EXPECT_TRUE(dm->AccMoveFile(dir + "/wqacc2.fdb", dir + "/moved.fdb", jxatSA));
  EXPECT_TRUE(dm->AccFileExists(dir + "/moved.fdb", jxatSA));
  EXPECT_TRUE(dm->AccDeleteFile(dir + "/moved.fdb", jxatSA, false));
  EXPECT_TRUE(dm->AccDeleteDirectory(dir, jxatSA, false));
  EXPECT_FALSE(dm->AccDirectoryExists(dir, jxatSA));
}

}  // namespace
}  // namespace dmtest
