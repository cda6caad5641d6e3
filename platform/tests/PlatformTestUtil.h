#pragma once
#include <functional>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QString>

// Sets an environment variable for the life of the object, then puts the
// old value (or its absence) back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const QString& value) : m_name(name)
  {
    if (qEnvironmentVariableIsSet(name))
      m_old = qgetenv(name);
    qputenv(name, value.toLocal8Bit());
  }
  ~ScopedEnv()
  {
    if (m_old)
      qputenv(m_name, *m_old);
    else
      qunsetenv(m_name);
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* m_name;
  std::optional<QByteArray> m_old;
};

inline QByteArray bytesOf(std::initializer_list<int> list)
{
  QByteArray b;
  for (int v : list)
    b.append(char(v));
  return b;
}

// Runs fn in a child process without root rights (uid/gid 65534) when the
// tests run as root, so that file permissions apply; else in a child as the
// current user. Returns fn's verdict (false also when the child failed).
inline bool runUnprivileged(const std::function<bool()>& fn)
{
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
      ::_exit(3);
    bool ok = false;
    try {
      ok = fn();
    } catch (...) {
      ok = false;
    }
    ::_exit(ok ? 0 : 1);
  }
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid)
    return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
