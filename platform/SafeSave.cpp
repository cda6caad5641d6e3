#include "platform/SafeSave.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

namespace {

std::atomic<qint64> g_faultAfter{-1};
std::atomic<int> g_faultError{ENOSPC};

QByteArray native(const QString& path)
{
  return QFile::encodeName(path);
}

// The cause in the operator's words where we have them, else the system's.
QString causeText(int error)
{
  switch (error) {
    case ENOSPC:
    case EDQUOT:
      return QStringLiteral("ディスクの空き容量が足りません。");
    case EFBIG:
      return QStringLiteral("ファイルの大きさが上限を超えました。");
    case EACCES:
    case EPERM:
      return QStringLiteral("書き込む権限がありません。");
    case EROFS:
      return QStringLiteral("読み取り専用の場所には書き込めません。");
    case ENOENT:
    case ENOTDIR:
      return QStringLiteral("フォルダが見つかりません。");
    case EIO:
      return QStringLiteral("ディスクの入出力でエラーが発生しました。");
    default:
      break;
  }
  return QString::fromLocal8Bit(std::strerror(error));
}

// One write(2), or the injected fault: what is left of the allowance is
// stored, after that the write fails.
ssize_t writeOnce(int fd, const char* data, size_t size)
{
  qint64 left = g_faultAfter.load();
  if (left >= 0) {
    if (left == 0) {
      errno = g_faultError.load();
      return -1;
    }
    size = std::min<size_t>(size, size_t(left));
    const ssize_t n = ::write(fd, data, size);
    if (n > 0)
      g_faultAfter.compare_exchange_strong(left, left - n);
    return n;
  }
  return ::write(fd, data, size);
}

QString resolvedTarget(const QString& fileName)
{
  const QFileInfo info(fileName);
  if (info.isSymLink()) {
    const QString target = info.symLinkTarget();
    if (!target.isEmpty())
      return target;
  }
  return fileName;
}

}  // namespace

void SetSafeSaveFaultAfter(qint64 bytes, int error)
{
  g_faultError.store(error);
  g_faultAfter.store(bytes < 0 ? -1 : bytes);
}

TSafeFileWriter::TSafeFileWriter(const QString& fileName) : FFileName(resolvedTarget(fileName)) {}

TSafeFileWriter::~TSafeFileWriter()
{
  if (!FCommitted)
    discard();
}

void TSafeFileWriter::fail(int error, const QString& what)
{
  if (FError == 0) {
    FError = error ? error : EIO;
    FFailure = what;
  }
  discard();
  throw ESafeSaveError(
      QStringLiteral("ファイルを保存できません: %1\r%2 %3").arg(FFileName, FFailure, causeText(FError)), FError);
}

void TSafeFileWriter::discard()
{
  if (FFd >= 0) {
    ::close(FFd);
    FFd = -1;
  }
  if (!FTempName.isEmpty()) {
    ::unlink(native(FTempName).constData());
    FTempName.clear();
  }
  if (isOpen())
    QIODevice::close();
}

void TSafeFileWriter::Open()
{
  if (FFd >= 0 || FCommitted)
    return;
  if (FFileName.isEmpty())
    fail(ENOENT, QStringLiteral("ファイル名がありません。"));
  const QFileInfo target(FFileName);
  const QString dir = target.absolutePath();
  // The target's permissions carry over to the new file; a new file gets
  // the usual ones (0666 less the umask).
  struct stat st {};
  const bool exists = ::stat(native(FFileName).constData(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode))
    fail(EISDIR, QStringLiteral("同じ名前のフォルダがあります。"));
  for (int attempt = 0; attempt < 100 && FFd < 0; ++attempt) {
    const QString name = QStringLiteral("%1/.%2.%3.tmp")
                             .arg(dir, target.fileName())
                             .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    const int fd = ::open(native(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      FFd = fd;
      FTempName = name;
    } else if (errno != EEXIST) {
      fail(errno, QStringLiteral("一時ファイルを作成できません。"));
    }
  }
  if (FFd < 0)
    fail(EEXIST, QStringLiteral("一時ファイルを作成できません。"));
  if (exists && ::fchmod(FFd, st.st_mode & 07777) != 0)
    fail(errno, QStringLiteral("ファイルの属性を設定できません。"));
  QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

bool TSafeFileWriter::writeAll(const char* data, qint64 size)
{
  if (FFd < 0 || FError != 0)
    return false;
  qint64 done = 0;
  while (done < size) {
    const ssize_t n = writeOnce(FFd, data + done, size_t(size - done));
    if (n < 0) {
      if (errno == EINTR)
        continue;
      FError = errno ? errno : EIO;
      FFailure = QStringLiteral("書き込みに失敗しました。");
      return false;
    }
    if (n == 0) {
      // No progress and no error: the disk takes nothing more.
      FError = ENOSPC;
      FFailure = QStringLiteral("書き込みに失敗しました。");
      return false;
    }
    done += n;
  }
  return true;
}

void TSafeFileWriter::Write(const QByteArray& bytes)
{
  if (FFd < 0 && FError == 0)
    fail(EBADF, QStringLiteral("ファイルが開かれていません。"));
  if (!writeAll(bytes.constData(), bytes.size()))
    fail(FError, FFailure);
}

qint64 TSafeFileWriter::writeData(const char* data, qint64 size)
{
  if (!writeAll(data, size)) {
    setErrorString(causeText(FError));
    return -1;
  }
  return size;
}

void TSafeFileWriter::Commit()
{
  if (FCommitted)
    return;
  if (FError != 0)
    fail(FError, FFailure);
  if (FFd < 0)
    fail(EBADF, QStringLiteral("ファイルが開かれていません。"));
  if (::fsync(FFd) != 0)
    fail(errno, QStringLiteral("ディスクへの書き込みに失敗しました。"));
  const int fd = FFd;
  FFd = -1;
  if (::close(fd) != 0)
    fail(errno, QStringLiteral("ファイルを閉じられません。"));
  if (::rename(native(FTempName).constData(), native(FFileName).constData()) != 0)
    fail(errno, QStringLiteral("ファイルを置き換えられません。"));
  FTempName.clear();
  FCommitted = true;
  QIODevice::close();
  // The rename itself reaches the disk with the folder (best effort: not
  // every file system syncs folders).
  const int dirFd = ::open(native(QFileInfo(FFileName).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
}

void TSafeFileWriter::Cancel()
{
  if (!FCommitted)
    discard();
}

void TSafeFileWriter::close()
{
  // Closing the device without Commit() gives up the save.
  if (!FCommitted)
    discard();
  else if (isOpen())
    QIODevice::close();
}

void SaveFileSafely(const QString& fileName, const QByteArray& bytes)
{
  TSafeFileWriter w(fileName);
  w.Open();
  w.Write(bytes);
  w.Commit();
}

void CopyFileSafely(const QString& source, const QString& target)
{
  QFile in(source);
  if (!in.open(QIODevice::ReadOnly))
    throw ESafeSaveError(QStringLiteral("ファイルを読み込めません: %1\r%2").arg(source, in.errorString()), ENOENT);
  TSafeFileWriter w(target);
  w.Open();
  constexpr qint64 kChunk = 1 << 20;
  while (true) {
    const QByteArray chunk = in.read(kChunk);
    if (chunk.isEmpty()) {
      if (in.error() != QFileDevice::NoError)
        throw ESafeSaveError(QStringLiteral("ファイルを読み込めません: %1\r%2").arg(source, in.errorString()), EIO);
      break;
    }
    w.Write(chunk);
  }
  w.Commit();
}
