// Saving a file over an earlier one: the new content arrives whole or not at
// all. The failures are real: a file-size limit makes the kernel refuse the
// write part way (a short write, then EFBIG), as a full disk does.
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>

#include "PlatformTestUtil.h"
#include "platform/IniFile.h"
#include "platform/SafeSave.h"
#include "tests/support/TempDir.h"

namespace {

QByteArray readAll(const QString& path)
{
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  ASSERT_EQ(f.write(bytes), bytes.size());
}

// Every entry of the folder, hidden ones too (a temporary file left behind
// shows here).
QStringList entries(const QString& dir)
{
  return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// Files may not grow beyond `bytes` while the object lives; the signal the
// kernel sends for it is ignored so that the write fails with EFBIG.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes)
  {
    ::getrlimit(RLIMIT_FSIZE, &FOld);
    FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit l = FOld;
    l.rlim_cur = bytes;
    FSet = ::setrlimit(RLIMIT_FSIZE, &l) == 0;
  }
  ~FileSizeLimit()
  {
    ::setrlimit(RLIMIT_FSIZE, &FOld);
    std::signal(SIGXFSZ, FOldHandler);
  }
  bool isSet() const { return FSet; }

 private:
  rlimit FOld{};
  void (*FOldHandler)(int) = nullptr;
  bool FSet = false;
};

QByteArray bigContent()
{
  QByteArray b;
  for (int i = 0; i < 6000; ++i)
    b += "line " + QByteArray::number(i) + " of the new content\r\n";
  return b;  // well over the 16 KiB limit below
}

}  // namespace

TEST(SafeSave, ReplacesTheFileKeepingItsPermissionsAndLeavesNothingBeside)
{
  TestTempDir dir;
  const QString path = dir.file(QStringLiteral("出力.xml"));
  writeAll(path, "earlier");
  ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);

  SaveFileSafely(path, "new content");
  EXPECT_EQ(readAll(path), QByteArray("new content"));
  EXPECT_EQ(QFile(path).permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther), QFile::ReadGroup);
  EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("出力.xml")});

  // A link is followed: its target gets the content and the link stays.
  const QString real = dir.file(QStringLiteral("real.ini"));
  writeAll(real, "old");
  const QString link = dir.file(QStringLiteral("link.ini"));
  ASSERT_TRUE(QFile::link(real, link));
  SaveFileSafely(link, "through the link");
  EXPECT_TRUE(QFileInfo(link).isSymLink());
  EXPECT_EQ(readAll(real), QByteArray("through the link"));

  // The copy of a file, and a streaming writer through the device.
  CopyFileSafely(real, dir.file(QStringLiteral("copy.ini")));
  EXPECT_EQ(readAll(dir.file(QStringLiteral("copy.ini"))), QByteArray("through the link"));
  TSafeFileWriter w(dir.file(QStringLiteral("stream.txt")));
  w.Open();
  EXPECT_EQ(w.write("abc", 3), 3);
  EXPECT_EQ(w.write("def", 3), 3);
  EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("stream.txt"))));  // nothing before the commit
  w.Commit();
  EXPECT_EQ(readAll(dir.file(QStringLiteral("stream.txt"))), QByteArray("abcdef"));
}

TEST(SafeSave, AWriteTheDiskRefusesLeavesTheEarlierFileByteForByte)
{
  TestTempDir dir;
  const QByteArray earlier = "the earlier good file\r\n";
  const QByteArray content = bigContent();
  const QString source = dir.file(QStringLiteral("source.bin"));
  writeAll(source, content);

  struct Case {
    const char* what;
    std::function<void(const QString& path)> save;
  };
  const Case cases[] = {
      {"bytes", [&](const QString& p) { SaveFileSafely(p, content); }},
      {"streaming device",
       [&](const QString& p) {
         TSafeFileWriter w(p);
         w.Open();
         // The writer of a PDF or an XML stream goes on after a failed write;
         // the failure is remembered for the commit.
         for (qsizetype at = 0; at < content.size(); at += 1000)
           w.write(content.mid(at, 1000));
         w.Commit();
       }},
      {"copy", [&](const QString& p) { CopyFileSafely(source, p); }},
      {"INI file",
       [&](const QString& p) {
         IniFile ini(p, IniFile::Encoding::Utf8);
         for (int i = 0; i < 2000; ++i)
           ini.WriteString(QStringLiteral("S"), QStringLiteral("Key%1").arg(i), QStringLiteral("a value to fill"));
         try {
           ini.UpdateFile();
         } catch (const EIniFileError& e) {
           // The INI file's own error carries the save's message: the cause
           // read back from it for the common check below.
           const bool limit = e.message().contains(QStringLiteral("ファイルの大きさが上限を超えました。"));
           throw ESafeSaveError(e.message(), limit ? EFBIG : 0);
         }
       }},
  };
  for (const Case& c : cases) {
    const QString path = dir.file(QStringLiteral("target.out"));
    writeAll(path, earlier);
    QString message;
    int error = 0;
    {
      FileSizeLimit limit(16 * 1024);
      ASSERT_TRUE(limit.isSet());
      try {
        c.save(path);
      } catch (const ESafeSaveError& e) {
        message = e.message();
        error = e.error();
      }
    }
    EXPECT_EQ(error, EFBIG) << c.what;
    EXPECT_TRUE(message.contains(path)) << c.what << ": " << message.toStdString();
    EXPECT_EQ(readAll(path), earlier) << c.what;
    EXPECT_EQ(entries(dir.path()), (QStringList{QStringLiteral("source.bin"), QStringLiteral("target.out")})) << c.what;
  }
}

TEST(SafeSave, AFullDiskStopsTheSaveAndTellsWhy)
{
  TestTempDir dir;
  const QString path = dir.file(QStringLiteral("out.xml"));
  writeAll(path, "earlier");
  // The disk takes 100 more bytes, then reports itself full.
  SetSafeSaveFaultAfter(100, ENOSPC);
  try {
    SaveFileSafely(path, bigContent());
    ADD_FAILURE() << "the save reported success";
  } catch (const ESafeSaveError& e) {
    EXPECT_EQ(e.error(), ENOSPC);
    EXPECT_TRUE(e.message().contains(QStringLiteral("ディスクの空き容量が足りません。"))) << e.message().toStdString();
  }
  SetSafeSaveFaultAfter(-1, 0);
  EXPECT_EQ(readAll(path), QByteArray("earlier"));
  EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("out.xml")});

  // A missing folder, a folder in the way, a missing source.
  EXPECT_THROW(SaveFileSafely(dir.file(QStringLiteral("no/such/out.xml")), "x"), ESafeSaveError);
  QDir().mkpath(dir.file(QStringLiteral("folder.xml")));
  EXPECT_THROW(SaveFileSafely(dir.file(QStringLiteral("folder.xml")), "x"), ESafeSaveError);
  EXPECT_THROW(CopyFileSafely(dir.file(QStringLiteral("none")), path), ESafeSaveError);
  EXPECT_EQ(readAll(path), QByteArray("earlier"));
}

TEST(SafeSave, AFolderWithoutWriteRightsIsRefused)
{
  TestTempDir dir;
  ::chmod(QFile::encodeName(dir.path()).constData(), 0755);  // the child must reach "locked"
  const QString sub = dir.file(QStringLiteral("locked"));
  ASSERT_TRUE(QDir().mkpath(sub));
  const QString path = sub + QStringLiteral("/out.xml");
  writeAll(path, "earlier");
  ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0666), 0);
  ASSERT_EQ(::chmod(QFile::encodeName(sub).constData(), 0555), 0);
  EXPECT_TRUE(runUnprivileged([&] {
    try {
      SaveFileSafely(path, "new");
    } catch (const ESafeSaveError& e) {
      return e.error() == EACCES && readAll(path) == "earlier";
    }
    return false;
  }));
  ::chmod(QFile::encodeName(sub).constData(), 0755);
}
