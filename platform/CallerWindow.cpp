#include "platform/CallerWindow.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QFile>

#include "platform/NamedMutex.h"

namespace {

bool makeAddress(const QString& path, sockaddr_un& addr, socklen_t& len)
{
  const QByteArray p = QFile::encodeName(path);
  if (p.isEmpty() || size_t(p.size()) >= sizeof addr.sun_path)
    return false;
  std::memset(&addr, 0, sizeof addr);
  addr.sun_family = AF_UNIX;
  std::memcpy(addr.sun_path, p.constData(), size_t(p.size()));
  len = socklen_t(offsetof(sockaddr_un, sun_path) + size_t(p.size()) + 1);
  return true;
}

QString sysError(int err)
{
  return QString::fromLocal8Bit(std::strerror(err));
}

}  // namespace

namespace CallerWindow {

QString SocketPath(quint64 handle)
{
  return NamedMutex::RuntimeDir() + QStringLiteral("/caller-%1.sock").arg(handle);
}

QByteArray PostMessageDatagram(quint32 msg, qint64 wParam, qint64 lParam)
{
  return "POST " + QByteArray::number(msg) + ' ' + QByteArray::number(wParam) + ' ' + QByteArray::number(lParam);
}

QByteArray EnableWindowDatagram(bool enable)
{
  return enable ? QByteArray("ENABLE 1") : QByteArray("ENABLE 0");
}

QByteArray ForegroundDatagram()
{
  return QByteArray("FOREGROUND");
}

bool SendDatagram(quint64 handle, const QByteArray& datagram)
{
  if (handle == 0)
    return false;
  sockaddr_un addr;
  socklen_t len;
  if (!makeAddress(SocketPath(handle), addr, len))
    return false;
  const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0)
    return false;
  // A receiver that does not read for a second counts as gone.
  timeval tv{1, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
  ssize_t sent;
  do {
    sent = ::sendto(fd, datagram.constData(), size_t(datagram.size()), MSG_NOSIGNAL,
                    reinterpret_cast<const sockaddr*>(&addr), len);
  } while (sent < 0 && errno == EINTR);
  ::close(fd);
  return sent == datagram.size();
}

bool PostMessage(quint64 handle, quint32 msg, qint64 wParam, qint64 lParam)
{
  return SendDatagram(handle, PostMessageDatagram(msg, wParam, lParam));
}

bool EnableWindow(quint64 handle, bool enable)
{
  return SendDatagram(handle, EnableWindowDatagram(enable));
}

bool SetForegroundWindow(quint64 handle)
{
  return SendDatagram(handle, ForegroundDatagram());
}

}  // namespace CallerWindow

CallerWindowEndpoint::CallerWindowEndpoint(quint64 handle) : m_handle(handle), m_path(CallerWindow::SocketPath(handle))
{
  sockaddr_un addr;
  socklen_t len;
  if (handle == 0 || !makeAddress(m_path, addr, len)) {
    m_error = QStringLiteral("Invalid endpoint path \"%1\"").arg(m_path);
    return;
  }
  const QByteArray p = QFile::encodeName(m_path);
  // A socket file left behind by a dead receiver is replaced; a live one
  // (a datagram can be delivered to it) is not.
  struct stat st {};
  if (::lstat(p.constData(), &st) == 0) {
    if (!S_ISSOCK(st.st_mode)) {
      m_error = QStringLiteral("\"%1\" exists and is not a socket").arg(m_path);
      return;
    }
    const int probe = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const bool live = probe >= 0 && ::connect(probe, reinterpret_cast<const sockaddr*>(&addr), len) == 0;
    if (probe >= 0)
      ::close(probe);
    if (live) {
      m_error = QStringLiteral("Another receiver is bound to \"%1\"").arg(m_path);
      return;
    }
    ::unlink(p.constData());
  }
  const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    m_error = sysError(errno);
    return;
  }
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&addr), len) != 0) {
    m_error = QStringLiteral("Cannot bind \"%1\": %2").arg(m_path, sysError(errno));
    ::close(fd);
    return;
  }
  ::chmod(p.constData(), 0600);
  m_fd = fd;
}

CallerWindowEndpoint::~CallerWindowEndpoint()
{
  if (m_fd >= 0) {
    ::close(m_fd);
    ::unlink(QFile::encodeName(m_path).constData());
  }
}

bool CallerWindowEndpoint::receive(QByteArray& datagram, int timeoutMs)
{
  if (m_fd < 0)
    return false;
  pollfd pfd{m_fd, POLLIN, 0};
  const int r = ::poll(&pfd, 1, timeoutMs);
  if (r <= 0)
    return false;
  char buf[4096];
  const ssize_t n = ::recv(m_fd, buf, sizeof buf, 0);
  if (n < 0)
    return false;
  datagram = QByteArray(buf, n);
  return true;
}
