#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "common/BufFileStream.h"

namespace {

const QString kMarker = QStringLiteral("## TessalyZone");

QByteArray readAll(const QString& path)
{
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::ReadOnly));
  return f.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray pattern(int n)
{
  QByteArray b(n, '\0');
  for (int i = 0; i < n; ++i)
    b[i] = char((i * 7 + 3) & 0xFF);
  return b;
}

TEST(BufFileStream, ReadsInOrderAndSeekEmptiesTheBuffer)
{
  QTemporaryDir dir;
  const QString path = dir.filePath("data.bin");
  const QByteArray content = pattern(40000);
  writeFile(path, content);
  TBufFileStream s(path, fmOpenRead, 16);
  char buf[10];
  QByteArray got;
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(s.Read(buf, 10), 10);
    got.append(buf, 10);
  }
  EXPECT_EQ(got, content.left(30));
  EXPECT_EQ(s.Seek(20000, soBeginning), 20000);
  ASSERT_EQ(s.Read(buf, 10), 10);
  EXPECT_EQ(QByteArray(buf, 10), content.mid(20000, 10));
  EXPECT_EQ(s.Seek(-5, soCurrent), 20005);
  ASSERT_EQ(s.Read(buf, 10), 10);
  EXPECT_EQ(QByteArray(buf, 10), content.mid(20005, 10));
  // Reads across the buffer's end keep the order.
  s.Seek(16380, soBeginning);
  ASSERT_EQ(s.Read(buf, 10), 10);
  EXPECT_EQ(QByteArray(buf, 10), content.mid(16380, 10));
  // A read near the end is short, then 0.
  s.Seek(-4, soEnd);
  EXPECT_EQ(s.Read(buf, 10), 4);
  EXPECT_EQ(s.Read(buf, 10), 0);
  // A read larger than the buffer is refused.
  std::vector<char> big(17 * 1024);
  EXPECT_THROW(s.Read(big.data(), qint64(big.size())), EFileStreamError);
  EXPECT_THROW(TBufFileStream(dir.filePath("missing"), fmOpenRead, 1), EFileStreamError);
}

TEST(BufFileStream, WriteGoesToTheReadersPosition)
{
  QTemporaryDir dir;
  const QString path = dir.filePath("w.bin");
  writeFile(path, QByteArray("0123456789"));
  {
    TBufFileStream s(path, fmOpenReadWrite, 1);
    char buf[3];
    ASSERT_EQ(s.Read(buf, 3), 3);
    EXPECT_EQ(s.Write("ab", 2), 2);
    ASSERT_EQ(s.Read(buf, 3), 3);
    EXPECT_EQ(QByteArray(buf, 3), "567");
  }
  EXPECT_EQ(readAll(path), "012ab56789");
}

TEST(TailBlock, AppendFindAndCut)
{
  QTemporaryDir dir;
  struct Case {
    const char* name;
    int contentSize;
  } cases[] = {{"small file", 100}, {"odd length", 101}, {"larger than the window", 50000}, {"empty", 0}};
  const QString block = kMarker + "\r\nDATA=1\r\nNAME=髙橋①\r\n";
  for (const auto& c : cases) {
    const QString path = dir.filePath(QString::fromLatin1(c.name));
    const QByteArray content = pattern(c.contentSize);
    writeFile(path, content);
    QString text;
    EXPECT_EQ(fnFindTailBlock(path, kMarker, text), -1) << c.name;
    EXPECT_TRUE(text.isEmpty());
    pcAppendUtf16Text(path, block);
    const qint64 at = fnFindTailBlock(path, kMarker, text);
    EXPECT_EQ(at, c.contentSize) << c.name;
    if (c.contentSize == 0) {
      // A marker at offset 0 is reported with an empty text and never cut.
      EXPECT_TRUE(text.isEmpty());
      EXPECT_TRUE(fnGetTailBlock(path, kMarker, text, true));
      EXPECT_EQ(QFile(path).size(), block.size() * 2);
      continue;
    }
    EXPECT_EQ(text, block) << c.name;
    // Without truncate the file stays as it is.
    EXPECT_TRUE(fnGetTailBlock(path, kMarker, text, false));
    EXPECT_EQ(text, block);
    EXPECT_EQ(QFile(path).size(), c.contentSize + block.size() * 2);
    // With truncate the file is back to its earlier content.
    EXPECT_TRUE(fnGetTailBlock(path, kMarker, text, true));
    EXPECT_EQ(text, block);
    EXPECT_EQ(readAll(path), content) << c.name;
  }
  EXPECT_THROW(pcAppendUtf16Text(dir.filePath("none"), block), EFileStreamError);
}

TEST(TailBlock, CutLeavesNoBlockBytesWhenTheTextHasAZeroUnit)
{
  QTemporaryDir dir;
  const QString path = dir.filePath("zero.bin");
  const QByteArray content = pattern(300);
  writeFile(path, content);
  pcAppendUtf16Text(path, kMarker + QString("A") + QChar(0) + QString("tail after zero"));
  QString text;
  EXPECT_TRUE(fnGetTailBlock(path, kMarker, text, true));
  EXPECT_EQ(text, kMarker + "A");
  EXPECT_EQ(readAll(path), content);
}

TEST(TailBlock, WorksBeyondTwoGigabytes)
{
  QTemporaryDir dir;
  const QString path = dir.filePath("big.fbk");
  const qint64 size = (qint64(1) << 31) + 1001;  // sparse file over 2 GiB
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    if (!f.resize(size))
      GTEST_SKIP() << "no sparse file support";
  }
  const QString block = kMarker + "\r\nX=1\r\n";
  pcAppendUtf16Text(path, block);
  QString text;
  EXPECT_EQ(fnFindTailBlock(path, kMarker, text), size);
  EXPECT_EQ(text, block);
  EXPECT_TRUE(fnGetTailBlock(path, kMarker, text, true));
  EXPECT_EQ(QFile(path).size(), size);
}

}  // namespace
