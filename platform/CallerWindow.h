#pragma once
#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The calling program's window. A window handle (PHandle, decimal) names an
// endpoint: the Unix datagram socket "caller-<handle>.sock" in
// NamedMutex::RuntimeDir(). Each request is one datagram of ASCII text:
//   "POST <msg> <wParam> <lParam>"
//   "ENABLE 1" / "ENABLE 0"
//   "FOREGROUND"
// (numbers in decimal; wParam and lParam as signed 64-bit). Sending never
// blocks for long and never crashes: a missing endpoint, a handle of 0 or
// a full queue gives false.
namespace CallerWindow {
// Path of the socket for a handle.
QString SocketPath(quint64 handle);

bool PostMessage(quint64 handle, quint32 msg, qint64 wParam, qint64 lParam);
bool EnableWindow(quint64 handle, bool enable);
bool SetForegroundWindow(quint64 handle);

// The datagram text of each request (for the receiver and tests).
QByteArray PostMessageDatagram(quint32 msg, qint64 wParam, qint64 lParam);
QByteArray EnableWindowDatagram(bool enable);
QByteArray ForegroundDatagram();

// Sends one raw datagram; false when it cannot be delivered.
bool SendDatagram(quint64 handle, const QByteArray& datagram);
}  // namespace CallerWindow

// The receiving end (used by the fake caller and by tests): binds the socket
// of a handle (replacing a stale socket file) and reads datagrams. The
// socket file is removed on destruction.
class CallerWindowEndpoint {
 public:
  explicit CallerWindowEndpoint(quint64 handle);
  ~CallerWindowEndpoint();
  CallerWindowEndpoint(const CallerWindowEndpoint&) = delete;
  CallerWindowEndpoint& operator=(const CallerWindowEndpoint&) = delete;

  bool isOpen() const { return m_fd >= 0; }
  QString errorString() const { return m_error; }
  int socketDescriptor() const { return m_fd; }
  // Waits up to timeoutMs (-1: forever) for one datagram; false on
  // timeout or error (an interrupting signal counts as timeout).
  bool receive(QByteArray& datagram, int timeoutMs);

 private:
  quint64 m_handle;
  QString m_path;
  int m_fd = -1;
  QString m_error;
};
