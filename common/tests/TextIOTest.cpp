// Text files in their detected encoding: detection over real files, line
// reading with every kind of line end, writing, appending, the ".Lock" and
// company tests and field splitting.
#include <cerrno>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "common/AccRecord.h"
#include "common/TextIO.h"
#include "common/tests/RecordingHook.h"
#include "platform/SafeSave.h"
#include "platform/TextCodec.h"

namespace {

QByteArray bytesOf(std::initializer_list<int> list)
{
  QByteArray b;
  for (int v : list)
    b.append(char(v));
  return b;
}

class TextIOTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  void TearDown() override { pcAccRecordReset(); }

  QString write(const QString& name, const QByteArray& bytes)
  {
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
    f.close();
    return path;
  }
  QByteArray read(const QString& path)
  {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
  }
  QStringList readLines(const QString& path)
  {
    TTextFile file;
    AssignTextFileDetected(file, path);
    file.Reset();
    QStringList lines;
    while (!file.Eof())
      lines << file.ReadLn();
    file.Close();
    return lines;
  }

  QTemporaryDir dir;
};

TEST_F(TextIOTest, EncodingOfFilesFollowsTheFirst512Bytes)
{
  const QByteArray utf8a = QStringLiteral("あ").toUtf8();
  struct Case {
    const char* what;
    QByteArray bytes;
    TextEncoding read;
  };
  const Case cases[] = {
      {"empty", QByteArray(), TextEncoding::Utf8},
      {"ascii", "a,b\r\n", TextEncoding::Utf8},
      {"sjis あ", QByteArray("x") + bytesOf({0x82, 0xA0}) + "\r\n", TextEncoding::Cp932},
      {"utf8 あ well before the end", QByteArray("ab") + utf8a + "cdef", TextEncoding::Utf8},
      {"utf8 あ alone", utf8a, TextEncoding::Cp932},
      {"utf16 bom", bytesOf({0xFF, 0xFE, 0x41, 0x00, 0x42, 0x00}), TextEncoding::Utf8},
      {"utf8 bom", bytesOf({0xEF, 0xBB, 0xBF, 0x82, 0xA0}), TextEncoding::Utf8},
      {"euc", QByteArray("a") + bytesOf({0xB4, 0xC1, 0xBB, 0xFA}) + "bc", TextEncoding::Utf8},
      {"iso-2022-jp", QByteArray("a") + bytesOf({0x1B, 0x24, 0x42, 0x30, 0x21, 0x1B, 0x28, 0x42}), TextEncoding::Utf8},
      {"sjis only after 512 bytes", QByteArray(TextSampleSize, 'a') + bytesOf({0x82, 0xA0}), TextEncoding::Utf8},
      {"short sjis file", QByteArray(10, 'a') + bytesOf({0x82, 0xA0}) + "bc", TextEncoding::Cp932},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DetectTextEncoding(write("f.txt", c.bytes)), c.read) << c.what;

  EXPECT_EQ(DetectTextEncoding(dir.filePath("missing.txt")), TextEncoding::Utf8);
  QByteArray head;
  EXPECT_FALSE(ReadFileHeadBytes(dir.filePath("missing.txt"), 512, head));
  ASSERT_TRUE(ReadFileHeadBytes(write("g.txt", QByteArray(600, 'z')), 512, head));
  EXPECT_EQ(head.size(), 512);
}

TEST_F(TextIOTest, ReadsEveryLineEndAndVendorCharacters)
{
  EXPECT_EQ(readLines(write("ends.txt", "a\r\nb\nc\rd\r\n\r\ne")), (QStringList{"a", "b", "c", "d", "", "e"}));
  EXPECT_EQ(readLines(write("tail.txt", "a\r\n")), QStringList{"a"});
  EXPECT_EQ(readLines(write("empty.txt", "")), QStringList{});

  // A CR LF split over the reader's 64 KiB steps is still one line end.
  QByteArray big(65535, 'x');
  big += "\r\nlast";
  const QStringList lines = readLines(write("big.txt", big));
  ASSERT_EQ(lines.size(), 2);
  EXPECT_EQ(lines[0].size(), 65535);
  EXPECT_EQ(lines[1], "last");

  const QString vendor = QStringLiteral("株式会社髙橋①～－");
  EXPECT_EQ(readLines(write("sjis.txt", "x\t" + toCp932(vendor) + "\r\n")), QStringList{"x\t" + vendor});
  EXPECT_EQ(readLines(write("utf8.txt", ("x\t" + vendor + "\n").toUtf8())), QStringList{"x\t" + vendor});

  TTextFile missing;
  AssignTextFileDetected(missing, dir.filePath("nope.txt"));
  EXPECT_THROW(missing.Reset(), ETextFileError);
}

TEST_F(TextIOTest, WrittenFileStartsWithBomAndReadsBackWithoutCommentLines)
{
  TTextIO io;
  io.SetWriteBom(true);
  const QString path = dir.filePath("out.txt");
  TTextFile file;
  ASSERT_TRUE(io.OpenTextFile(file, path, 'W'));
  io.WriteTextLine(file, "//head");
  io.WriteTextLine(file, "名前");
  io.WriteTextLine(file, "// comment");
  io.WriteTextLine(file, " //kept");
  io.WriteTextLine(file, "last");
  ASSERT_TRUE(io.CloseTextFile(file, 'W'));
  EXPECT_TRUE(read(path).startsWith(bytesOf({0xEF, 0xBB, 0xBF, '/', '/'})));
  EXPECT_TRUE(read(path).endsWith("last\r\n"));

  ASSERT_TRUE(io.OpenTextFile(file, path, 'R'));
  QStringList got;
  QString line;
  while (!file.Eof()) {
    io.ReadDataLine(file, line);
    got << line;
  }
  EXPECT_TRUE(io.CloseTextFile(file, 'R'));
  EXPECT_EQ(got, (QStringList{"名前", " //kept", "last"}));
  EXPECT_FALSE(io.OpenTextFile(file, path, 'X'));
  EXPECT_EQ(io.FilePath(), path);
}

TEST_F(TextIOTest, FailedOrAbandonedRewriteKeepsTheEarlierFile)
{
  TTextIO io;
  const QString path = write("keep.txt", "earlier\r\n");
  {
    TTextFile file;
    io.OpenTextFile(file, path, 'W');
    io.WriteTextLine(file, "half");
  }  // never closed
  EXPECT_EQ(read(path), "earlier\r\n");

  TTextFile file;
  io.OpenTextFile(file, path, 'W');
  SetSafeSaveFaultAfter(3, ENOSPC);
  EXPECT_THROW(
      {
        io.WriteTextLine(file, "a longer line than three bytes");
        io.CloseTextFile(file, 'W');
      },
      ETextFileError);
  SetSafeSaveFaultAfter(-1, 0);
  EXPECT_EQ(read(path), "earlier\r\n");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"keep.txt"});
}

TEST_F(TextIOTest, AppendedLineStandsOnALineOfItsOwn)
{
  TTextIO io;
  struct Case {
    const char* what;
    QByteArray before;
    QByteArray after;
  };
  const Case cases[] = {
      {"no break at the end", "a\tb", "a\tb\r\n.Lock\r\n"},
      {"CR LF at the end", "a\tb\r\n", "a\tb\r\n.Lock\r\n"},
      {"LF at the end", "a\n", "a\n.Lock\r\n"},
      {"empty", "", ".Lock\r\n"},
  };
  for (const Case& c : cases) {
    const QString path = write("app.txt", c.before);
    TTextFile file;
    ASSERT_TRUE(io.OpenTextFile(file, path, 'A'));
    io.WriteTextLine(file, ".Lock");
    ASSERT_TRUE(io.CloseTextFile(file, 'A'));
    EXPECT_EQ(read(path), c.after) << c.what;
    EXPECT_TRUE(io.CheckLocked(path, "\t")) << c.what;
  }
  TTextFile file;
  EXPECT_THROW(io.OpenTextFile(file, dir.filePath("missing.txt"), 'A'), ETextFileError);
}

TEST_F(TextIOTest, LockMarkerAndCompanyName)
{
  RecordingHook hook;
  AccInf.SHOUGOU = QStringLiteral("株式会社髙橋");
  TTextIO io;
  struct Case {
    const char* what;
    QByteArray bytes;
    bool locked;
    bool same;
  };
  const QByteArray name = QStringLiteral("株式会社髙橋").toUtf8();
  const QByteArray other = QStringLiteral("別会社").toUtf8();
  const Case cases[] = {
      {"name then lines", name + "\r\n1\t2\r\n", false, true},
      {"comments first", "//x\r\n\r\n  \r\n" + name + "\r\n", false, true},
      {"lock in the middle", name + "\r\n.Lock\r\n1\t2\r\n", true, true},
      {"lock with fields", name + "\r\n.Lock\tx\r\n", true, true},
      {"lock in a comment only", name + "\r\n//.Lock\r\n", false, true},
      {"other company", other + "\r\n" + name + "\r\n", false, false},
      {"name with fields", name + "\tx\r\n", false, true},
      {"cp932 file", toCp932(QStringLiteral("株式会社髙橋")) + "\r\n.Lock\r\n", true, true},
      {"empty", "", false, false},
  };
  for (const Case& c : cases) {
    const QString path = write("chk.txt", c.bytes);
    EXPECT_EQ(io.CheckLocked(path, "\t"), c.locked) << c.what;
    EXPECT_EQ(io.CheckShougou(path, "\t"), c.same) << c.what;
  }
  EXPECT_TRUE(hook.boxes.empty());

  // A file that cannot be read is reported and counts as neither.
  EXPECT_FALSE(io.CheckLocked(dir.filePath("missing.txt"), "\t"));
  EXPECT_FALSE(io.CheckShougou(dir.filePath("missing.txt"), "\t"));
  ASSERT_EQ(hook.boxes.size(), 2u);
  EXPECT_TRUE(hook.boxes[0].text.startsWith("ファイルの参照に失敗しました。\r\r[詳細情報]\r"))
      << hook.boxes[0].text.toStdString();
  EXPECT_EQ(hook.boxes[0].type, int(mtError));
}

TEST(SplitFields, QuotedFieldsAndSeparators)
{
  struct Case {
    const char* what;
    QString line;
    QString separator;
    QStringList fields;
  };
  const Case cases[] = {
      {"quoted comma", "a,\"b,c\",d", ",", {"a", "b,c", "d"}},
      {"trailing separator", "a,b,", ",", {"a", "b"}},
      {"empty fields", "a,,b", ",", {"a", "", "b"}},
      {"empty line", "", ",", {}},
      {"quotes removed", "\"a\",\"\",x\"y", ",", {"a", "", "xy"}},
      {"tab separated", "1\t\"摘要\"\t\"\"\t", "\t", {"1", "摘要", ""}},
      {"quoted tab", "1\t\"a\tb\"\t2", "\t", {"1", "a\tb", "2"}},
      {"quoted field starting with the separator", "x,\",a\",y", ",", {"x", ",a", "y"}},
      {"quoted field ending with the separator", "x,\"a,\",y", ",", {"x", "a,", "y"}},
      {"quoted field holding two separators", "x,\"a,,b\",y", ",", {"x", "a,,b", "y"}},
      {"quoted field over three parts", "\"a,b,c\"", ",", {"a,b,c"}},
      {"quote never closed keeps its text", "x,\"a,b", ",", {"x", "a,b"}},
      {"no separator", "abc", "", {"abc"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SplitFields(c.line, c.separator), c.fields) << c.what;
}

}  // namespace
