#include "common/BackupFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>

#include "common/AccRecord.h"
#include "common/BufFileStream.h"
#include "common/DataModule.h"
#include "platform/Paths.h"
#include "platform/SafeSave.h"

QString fnTempBeside(const QString& ATarget, const QString& ATag)
{
  return ATarget + QStringLiteral(".%1%2").arg(ATag).arg(::getpid());
}

bool fnSyncFile(const QString& AFileName)
{
  const int fd = ::open(QFile::encodeName(AFileName).constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return false;
  const bool ok = ::fsync(fd) == 0;
  return ::close(fd) == 0 && ok;
}

namespace {

void syncFolder(const QString& AFileName)
{
  const int fd = ::open(QFile::encodeName(ExtractFileDir(AFileName)).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

}  // namespace

bool fnReplaceFile(const QString& ATemp, const QString& ATarget, int AAppType)
{
  if (AAppType != jxatSA)
    return DM && DM->AccMoveFile(ATemp, ATarget, AAppType);
  if (!QFileInfo(ATemp).isFile() || !fnSyncFile(ATemp))
    return false;
  if (::rename(QFile::encodeName(ATemp).constData(), QFile::encodeName(ATarget).constData()) == 0) {
    syncFolder(ATarget);
    return true;
  }
  if (errno != EXDEV)
    return false;
  try {
    CopyFileSafely(ATemp, ATarget);
  } catch (const std::exception&) {
    return false;
  }
  QFile::remove(ATemp);
  return true;
}

void pcCopyFileHead(const QString& ASource, const QString& ATarget, qint64 ABytes)
{
  QFile in(ASource);
  if (!in.open(QIODevice::ReadOnly))
    throw EFileStreamError(QStringLiteral("ファイルを開けません: %1 (%2)").arg(ASource, in.errorString()));
  TSafeFileWriter out(ATarget);
  out.Open();
  constexpr qint64 kChunk = 1024 * 1024;
  qint64 left = ABytes;
  while (left > 0) {
    const QByteArray chunk = in.read(std::min(kChunk, left));
    if (chunk.isEmpty())
      throw EFileStreamError(QStringLiteral("ファイルを読めません: %1 (%2)").arg(ASource, in.errorString()));
    out.Write(chunk);
    left -= chunk.size();
  }
  out.Commit();
}
