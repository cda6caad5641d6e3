#include "common/BufFileStream.h"

#include <algorithm>
#include <cstring>
#include <unistd.h>

TBufFileStream::TBufFileStream(const QString& fileName, std::uint16_t mode, std::uint8_t bufSizeKb)
    : FFile(fileName), FBufSize(int(bufSizeKb) * 1024)
{
  QIODevice::OpenMode qmode = QIODevice::ReadOnly;
  if (mode == fmCreate)
    qmode = QIODevice::ReadWrite | QIODevice::Truncate;
  else if ((mode & 0x3) == fmOpenWrite)
    qmode = QIODevice::WriteOnly;
  else if ((mode & 0x3) == fmOpenReadWrite)
    qmode = QIODevice::ReadWrite;
  if (mode != fmCreate && !FFile.exists())
    throw EFileStreamError(QStringLiteral("ファイルが見つかりません: %1").arg(fileName));
  if (!FFile.open(qmode))
    throw EFileStreamError(QStringLiteral("ファイルを開けません: %1 (%2)").arg(fileName, FFile.errorString()));
  FBuf.resize(std::max(FBufSize, 0));
}

TBufFileStream::~TBufFileStream() = default;

qint64 TBufFileStream::fill(qint64 at, qint64 max)
{
  if (max <= 0)
    return 0;
  if (!FFile.seek(FFilePos + (FBufEnd - FBufPos)))
    return 0;
  const qint64 n = FFile.read(FBuf.data() + at, max);
  return n < 0 ? 0 : n;
}

qint64 TBufFileStream::Read(void* buffer, qint64 count)
{
  if (count > FBufSize)
    throw EFileStreamError(QStringLiteral("バッファの大きさを越えています。"));
  if (count <= 0)
    return 0;
  if (FBufEnd == 0) {
    FBufPos = 0;
    FBufEnd = fill(0, FBufSize);
    if (FBufEnd == 0)
      return 0;
  } else {
    const qint64 rest = FBufEnd - FBufPos;
    if (rest < count) {
      std::memmove(FBuf.data(), FBuf.constData() + FBufPos, std::size_t(rest));
      FBufPos = 0;
      FBufEnd = rest;
      FBufEnd = rest + fill(rest, FBufSize - rest);
      if (FBufEnd == 0)
        return 0;
    }
  }
  // Never hand out more than the buffer holds (a short file gives a short read).
  count = std::min(count, FBufEnd - FBufPos);
  std::memcpy(buffer, FBuf.constData() + FBufPos, std::size_t(count));
  FBufPos += count;
  FFilePos += count;
  return count;
}

qint64 TBufFileStream::Write(const void* buffer, qint64 count)
{
  if (count <= 0)
    return 0;
  if (!FFile.seek(FFilePos))
    throw EFileStreamError(QStringLiteral("ファイルに書き込めません: %1").arg(FFile.fileName()));
  const qint64 n = FFile.write(static_cast<const char*>(buffer), count);
  if (n < 0)
    throw EFileStreamError(QStringLiteral("ファイルに書き込めません: %1").arg(FFile.fileName()));
  FBufPos = 0;
  FBufEnd = 0;
  FFilePos += n;
  return n;
}

qint64 TBufFileStream::Seek(qint64 offset, TSeekOrigin origin)
{
  qint64 target = offset;
  if (origin == soCurrent)
    target = FFilePos + offset;
  if (origin == soEnd)
    target = FFile.size() + offset;
  target = std::max<qint64>(target, 0);
  FFile.seek(target);
  FBufPos = 0;
  FBufEnd = 0;
  FFilePos = target;
  return FFilePos;
}

void pcAppendUtf16Text(const QString& fileName, const QString& text)
{
  QFile f(fileName);
  if (!f.exists())
    throw EFileStreamError(QStringLiteral("ファイルが見つかりません: %1").arg(fileName));
  if (!f.open(QIODevice::ReadWrite))
    throw EFileStreamError(QStringLiteral("ファイルを開けません: %1 (%2)").arg(fileName, f.errorString()));
  QByteArray bytes;
  bytes.reserve(text.size() * 2);
  for (QChar c : text) {
    bytes.append(char(c.unicode() & 0xFF));
    bytes.append(char(c.unicode() >> 8));
  }
  const qint64 before = f.size();
  if (!f.seek(before) || f.write(bytes) != bytes.size() || !f.flush() || ::fsync(f.handle()) != 0) {
    const QString why = f.errorString();
    // A block written in part is cut off again: the file keeps its own content only.
    f.resize(before);
    throw EFileStreamError(QStringLiteral("ファイルに書き込めません: %1 (%2)").arg(fileName, why));
  }
}

qint64 fnFindTailBlock(const QString& fileName, const QString& marker, QString& text)
{
  text.clear();
  constexpr qint64 kWindow = 2048;
  TBufFileStream stream(fileName, fmOpenRead, 16);
  const qint64 start = std::max<qint64>(stream.Size() - kWindow, 0);
  stream.Seek(start, soBeginning);
  QByteArray bytes(int(kWindow), '\0');
  qint64 got = 0;
  while (got < kWindow) {
    const qint64 n = stream.Read(bytes.data() + got, kWindow - got);
    if (n <= 0)
      break;
    got += n;
  }
  bytes.truncate(int(got));
  QByteArray pattern;
  for (QChar c : marker) {
    pattern.append(char(c.unicode() & 0xFF));
    pattern.append(char(c.unicode() >> 8));
  }
  if (pattern.isEmpty())
    return -1;
  // Every byte offset is tried: a block appended after content of odd length
  // sits at an odd offset.
  const qsizetype at = bytes.indexOf(pattern);
  if (at < 0)
    return -1;
  const qint64 offset = start + at;
  if (offset > 0) {
    for (qsizetype i = at; i + 1 < bytes.size() && text.size() < 1024; i += 2) {
      const char16_t u = char16_t(quint8(bytes.at(i)) | (quint8(bytes.at(i + 1)) << 8));
      if (u == 0)
        break;
      text.append(QChar(u));
    }
  }
  return offset;
}

bool fnGetTailBlock(const QString& fileName, const QString& marker, QString& text, bool truncate)
{
  text.clear();
  const qint64 offset = fnFindTailBlock(fileName, marker, text);
  if (offset <= 0 || !truncate)
    return true;
  QFile f(fileName);
  if (!f.resize(offset))
    return false;
  return true;
}
