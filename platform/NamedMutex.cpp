#include "platform/NamedMutex.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QThread>

namespace {

QString sysError(int err)
{
  return QString::fromLocal8Bit(std::strerror(err));
}

// Creates the runtime folder when missing; false (with a reason) when it
// cannot be used: not a folder, or owned by another user.
bool ensureRuntimeDir(const QString& dir, QString* error)
{
  const QByteArray path = QFile::encodeName(dir);
  if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) {
    if (error)
      *error = QStringLiteral("Cannot create the runtime folder \"%1\": %2").arg(dir, sysError(errno));
    return false;
  }
  struct stat st {};
  if (::lstat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) {
    if (error)
      *error = QStringLiteral("The runtime folder \"%1\" is not a folder of this user").arg(dir);
    return false;
  }
  return true;
}

}  // namespace

QString NamedMutex::RuntimeDir()
{
  const QString xdg = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!xdg.isEmpty() && QFileInfo(xdg).isDir()) {
    const QString dir = QDir::cleanPath(xdg) + QStringLiteral("/rendo");
    ensureRuntimeDir(dir, nullptr);
    return dir;
  }
  const QString dir = QStringLiteral("/tmp/rendo-%1").arg(::getuid());
  ensureRuntimeDir(dir, nullptr);
  return dir;
}

QString NamedMutex::LockFilePath(const QString& name)
{
  QString safe;
  const QByteArray utf8 = name.toUtf8();
  for (char ch : utf8) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
        (c == '.' && !safe.isEmpty()))
      safe += QChar(c);
    else
      safe += QStringLiteral("%%1").arg(c, 2, 16, QLatin1Char('0')).toUpper();
  }
  return RuntimeDir() + u'/' + safe + QStringLiteral(".lock");
}

NamedMutex::NamedMutex(const QString& name) : m_name(name) {}

NamedMutex::~NamedMutex()
{
  release();
}

bool NamedMutex::tryLock()
{
  if (m_fd >= 0)
    return true;
  m_error.clear();
  const QString dir = RuntimeDir();
  if (!ensureRuntimeDir(dir, &m_error))
    return false;
  const QString file = LockFilePath(m_name);
  const int fd = ::open(QFile::encodeName(file).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
    m_error = QStringLiteral("Cannot open the lock file \"%1\": %2").arg(file, sysError(errno));
    return false;
  }
  // A process that only probes (Exists) holds a shared lock for a moment;
  // a few short retries keep such a probe from looking like a holder.
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      m_fd = fd;
      return true;
    }
    if (errno != EWOULDBLOCK && errno != EINTR) {
      m_error = QStringLiteral("Cannot lock \"%1\": %2").arg(file, sysError(errno));
      ::close(fd);
      return false;
    }
    QThread::msleep(10);
  }
  ::close(fd);
  m_error = QStringLiteral("The mutex \"%1\" is held by another process").arg(m_name);
  return false;
}

void NamedMutex::release()
{
  if (m_fd >= 0) {
    ::flock(m_fd, LOCK_UN);
    ::close(m_fd);
    m_fd = -1;
  }
}

bool NamedMutex::Exists(const QString& name)
{
  const QString file = LockFilePath(name);
  const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0)
    return false;
  bool held = false;
  if (::flock(fd, LOCK_SH | LOCK_NB) == 0)
    ::flock(fd, LOCK_UN);
  else
    held = errno == EWOULDBLOCK;
  ::close(fd);
  return held;
}
