#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>

#include "PlatformTestUtil.h"
#include "platform/Paths.h"
#include "platform/SpecialFolders.h"
#include "tests/support/TempDir.h"

namespace {

TEST(Paths, FileNameParts)
{
  struct Case {
    const char16_t *path, *dir, *fileDir, *name, *ext, *changed;
  };
  // changed = ChangeFileExt(path, ".bak")
  const Case cases[] = {
      {u"/data/0001/wqacc2.fdb", u"/data/0001/", u"/data/0001", u"wqacc2.fdb", u".fdb", u"/data/0001/wqacc2.bak"},
      {u"C:\\Data\\0001\\wqacc2.fdb", u"C:\\Data\\0001\\", u"C:\\Data\\0001", u"wqacc2.fdb", u".fdb",
       u"C:\\Data\\0001\\wqacc2.bak"},
      {u"/data/v1.2/file", u"/data/v1.2/", u"/data/v1.2", u"file", u"", u"/data/v1.2/file.bak"},
      {u"name.tar.gz", u"", u"", u"name.tar.gz", u".gz", u"name.tar.bak"},
      {u"/folder/", u"/folder/", u"/folder", u"", u"", u"/folder/.bak"},
      {u"/x", u"/", u"/", u"x", u"", u"/x.bak"},
      {u"", u"", u"", u"", u"", u".bak"},
  };
  for (const Case& c : cases) {
    const QString p = QString::fromUtf16(c.path);
    EXPECT_EQ(ExtractFilePath(p), QString::fromUtf16(c.dir)) << p.toStdString();
    EXPECT_EQ(ExtractFileDir(p), QString::fromUtf16(c.fileDir)) << p.toStdString();
    EXPECT_EQ(ExtractFileName(p), QString::fromUtf16(c.name)) << p.toStdString();
    EXPECT_EQ(ExtractFileExt(p), QString::fromUtf16(c.ext)) << p.toStdString();
    EXPECT_EQ(ChangeFileExt(p, u".bak"_qs), QString::fromUtf16(c.changed)) << p.toStdString();
  }
  EXPECT_EQ(ChangeFileExt(u"/a/b.txt"_qs, QString()), u"/a/b"_qs);
  EXPECT_EQ(ExtractFileDrive(u"C:\\Data"_qs), u"C:"_qs);
  EXPECT_EQ(ExtractFileDrive(u"\\\\srv\\share\\dir\\f"_qs), u"\\\\srv\\share"_qs);
  EXPECT_EQ(ExtractFileDrive(u"/data"_qs), QString());
}

TEST(Paths, JoinAndDelimiters)
{
  struct Case {
    const char16_t *a, *b, *joined;
  };
  const Case cases[] = {
      {u"/data", u"0001", u"/data/0001"},
      {u"/data/", u"0001", u"/data/0001"},
      {u"/data", u"/0001", u"/data/0001"},
      {u"/data\\", u"0001", u"/data/0001"},
      {u"/", u"x", u"/x"},
      {u"", u"x", u"x"},
      {u"/data", u"", u"/data"},
      {u"rel", u"a/b", u"rel/a/b"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PathJoin(QString::fromUtf16(c.a), QString::fromUtf16(c.b)), QString::fromUtf16(c.joined));
  EXPECT_EQ(PathJoin({u"/a"_qs, u"b"_qs, u"c.ini"_qs}), u"/a/b/c.ini"_qs);

  EXPECT_EQ(IncludeTrailingPathDelimiter(u"/a"_qs), u"/a/"_qs);
  EXPECT_EQ(IncludeTrailingPathDelimiter(u"/a/"_qs), u"/a/"_qs);
  EXPECT_EQ(IncludeTrailingPathDelimiter(u"C:\\a\\"_qs), u"C:\\a\\"_qs);
  EXPECT_EQ(ExcludeTrailingPathDelimiter(u"/a/"_qs), u"/a"_qs);
  EXPECT_EQ(ExcludeTrailingPathDelimiter(u"/"_qs), u"/"_qs);
  EXPECT_EQ(ToSlashes(u"C:\\a\\b"_qs), u"C:/a/b"_qs);
  EXPECT_EQ(ToBackslashes(u"/a/b"_qs), u"\\a\\b"_qs);
}

TEST(Paths, CaseInsensitiveComparisons)
{
  struct Case {
    const char16_t *a, *b;
    bool same, under;
  };
  const Case cases[] = {
      {u"/Data/0001", u"/data/0001/", true, true},     {u"C:\\DATA\\0001", u"c:/data/0001", true, true},
      {u"/data/0001/sub", u"/DATA/0001", false, true}, {u"/data/00011", u"/data/0001", false, false},
      {u"/data", u"/data/0001", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SamePath(QString::fromUtf16(c.a), QString::fromUtf16(c.b)), c.same)
        << QString::fromUtf16(c.a).toStdString();
    EXPECT_EQ(PathIsUnder(QString::fromUtf16(c.a), QString::fromUtf16(c.b)), c.under)
        << QString::fromUtf16(c.a).toStdString();
  }
  EXPECT_TRUE(SameText(u"ＡbC"_qs, u"ａBc"_qs));
}

TEST(Paths, MountPointsGiveDriveLabelsAndShareNames)
{
  const QList<MountPoint> saved = MountPoints();
  SetMountPoints({{u"/mnt/srv"_qs, u's', u"\\\\fileserver\\data"_qs},
                  {u"/mnt/srv/deep"_qs, u'T', u"\\\\other\\deep"_qs},
                  {u"/media/usb"_qs, u'E', QString()}});
  struct Case {
    const char16_t* path;
    QChar label;
    const char16_t* unc;
  };
  const Case cases[] = {
      {u"/mnt/srv/Tessaly/0001", u'S', u"\\\\fileserver\\data\\Tessaly\\0001"},
      {u"/mnt/srv", u'S', u"\\\\fileserver\\data"},
      {u"/mnt/srv/deep/x", u'T', u"\\\\other\\deep\\x"},           // the longest mount wins
      {u"/mnt/srv2/x", u'C', u"/mnt/srv2/x"},                      // not inside /mnt/srv
      {u"/media/usb/backup.fbk", u'E', u"/media/usb/backup.fbk"},  // no share: unchanged
      {u"/home/user/data", u'C', u"/home/user/data"},
  };
  for (const Case& c : cases) {
    const QString p = QString::fromUtf16(c.path);
    EXPECT_EQ(DriveLabel(p), c.label) << p.toStdString();
    EXPECT_EQ(DriveOf(p), QString(c.label) + u':');
    EXPECT_EQ(UncNameOf(p), QString::fromUtf16(c.unc)) << p.toStdString();
  }
  EXPECT_EQ(PathFromUncName(u"\\\\FILESERVER\\Data\\Tessaly\\0001"_qs), u"/mnt/srv/Tessaly/0001"_qs);
  EXPECT_EQ(PathFromUncName(u"\\\\fileserver\\data"_qs), u"/mnt/srv"_qs);
  EXPECT_EQ(PathFromUncName(u"\\\\unknown\\share\\x"_qs), QString());
  SetLocalDiskLabel(u'd');
  EXPECT_EQ(DriveLabel(u"/home"_qs), u'D');
  SetLocalDiskLabel(u'C');
  SetMountPoints(saved);
}

TEST(SpecialFolders, ComeFromTheEnvironment)
{
  TestTempDir dir;
  {
    ScopedEnv root("RENDO_DATA_ROOT", dir.file(u"root/"_qs));
    EXPECT_EQ(CommonAppDataDir(), dir.file(u"root"_qs));
    EXPECT_EQ(AppDataDir(true), dir.file(u"root"_qs));
    EXPECT_EQ(AppDataDir(false), dir.file(u"root/user"_qs));
  }
  {
    ScopedEnv root("RENDO_DATA_ROOT", QString());
    ScopedEnv xdg("XDG_DATA_HOME", dir.path());
    EXPECT_EQ(CommonAppDataDir(), dir.file(u"rendo"_qs));
  }
  {
    ScopedEnv temp("TEMP", dir.path());
    EXPECT_EQ(TempDir(), dir.path());
  }
  {
    ScopedEnv temp("TEMP", dir.file(u"does-not-exist"_qs));
    EXPECT_EQ(TempDir(), QDir::cleanPath(QDir::tempPath()));
  }
  EXPECT_TRUE(DirectoryExists(ProgramDir()));
  EXPECT_TRUE(FileExists(ProgramFile()));
  EXPECT_EQ(ExtractFileDir(ProgramFile()), ProgramDir());
  EXPECT_FALSE(DocumentsDir().isEmpty());
  EXPECT_FALSE(DocumentsDir().endsWith(u'/'));

  EXPECT_TRUE(ForceDirectories(dir.file(u"a/b/c"_qs)));
  EXPECT_TRUE(DirectoryExists(dir.file(u"a/b/c"_qs)));
  EXPECT_FALSE(FileExists(dir.file(u"a/b/c"_qs)));
}

}  // namespace
