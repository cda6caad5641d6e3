#include "tests/support/FirebirdServer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include "db/FirebirdRoot.h"

const char* const FirebirdServer::User = "ABACOR";
const char* const FirebirdServer::Password = "dormil";
const char* const FirebirdServer::AdminUser = "SYSDBA";
const char* const FirebirdServer::AdminPassword = "pebrondal";

namespace {

constexpr int IdleSecondsBeforeStop = 10;

[[noreturn]] void fail(const QString& what)
{
  throw std::runtime_error(("FirebirdServer: " + what).toStdString());
}

QString serverBinary()
{
  for (const char* p : {"/usr/sbin/firebird", "/usr/lib/x86_64-linux-gnu/firebird/3.0/bin/firebird"})
    if (QFileInfo::exists(QString::fromLatin1(p)))
      return QString::fromLatin1(p);
  fail(QStringLiteral("no firebird server binary found"));
}

bool portAccepts(int port)
{
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0)
    return false;
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(quint16(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
  ::close(fd);
  return ok;
}

int freePort()
{
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = 0;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
    if (fd >= 0)
      ::close(fd);
    fail(QStringLiteral("no free port"));
  }
  ::close(fd);
  return ntohs(a.sin_port);
}

int openLock(const QString& path)
{
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0)
    fail(QStringLiteral("cannot open lock %1").arg(path));
  return fd;
}

// Our UDR module when it has been built (a build of only some test targets
// may lack it: the server then runs without the file procedures).
QStringList availableUdrModules()
{
  const QString m = FirebirdServer::udrModulePath();
  if (QFileInfo::exists(m))
    return {m};
  qWarning("FirebirdServer: %s not built; the server file procedures are unavailable", qPrintable(m));
  return {};
}

// Builds a server root in `root`: links to the installed files, our UDR
// module, our firebird.conf, a fresh security database with our users.
void prepareServerRoot(const QString& root, int port)
{
  db::FirebirdRoot::prepare(
      root, availableUdrModules(),
      {QStringLiteral("RemoteServicePort = %1").arg(port), QStringLiteral("RemoteBindAddress = 127.0.0.1"),
       QStringLiteral("SecurityDatabase = %1/security3.fdb").arg(root), QStringLiteral("AuthServer = Srp, Legacy_Auth"),
       QStringLiteral("UserManager = Srp"), QStringLiteral("GuardianOption = 0")});
  const QString sec = root + QStringLiteral("/security3.fdb");
  QFile::remove(sec);
  QStringList sql;
  if (QFile::copy(QStringLiteral("/var/lib/firebird/3.0/system/security3.fdb"), sec)) {
    QFile::setPermissions(sec, QFile::ReadOwner | QFile::WriteOwner);
  } else {
    // Not readable for this user: start from an empty security database.
    sql << QStringLiteral("CREATE DATABASE '%1';").arg(sec);
  }
  QProcess isql;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("FIREBIRD"), root);
  isql.setProcessEnvironment(env);
  QStringList args{QStringLiteral("-q"), QStringLiteral("-bail"), QStringLiteral("-user"), QStringLiteral("SYSDBA")};
  if (sql.isEmpty())
    args << sec;
  sql << QStringLiteral("CREATE OR ALTER USER %1 PASSWORD '%2' USING PLUGIN Srp;")
             .arg(QLatin1String(FirebirdServer::AdminUser), QLatin1String(FirebirdServer::AdminPassword))
      << QStringLiteral("CREATE OR ALTER USER %1 PASSWORD '%2' USING PLUGIN Srp;")
             .arg(QLatin1String(FirebirdServer::User), QLatin1String(FirebirdServer::Password))
      << QStringLiteral("GRANT CREATE DATABASE TO USER %1;").arg(QLatin1String(FirebirdServer::User))
      << QStringLiteral("COMMIT;");
  isql.start(QStringLiteral("isql-fb"), args);
  if (!isql.waitForStarted(10000))
    fail(QStringLiteral("cannot run isql-fb"));
  isql.write(sql.join(QLatin1Char('\n')).toUtf8() + '\n');
  isql.closeWriteChannel();
  if (!isql.waitForFinished(60000) || isql.exitCode() != 0)
    fail(QStringLiteral("creating users failed: %1 %2")
             .arg(QString::fromLocal8Bit(isql.readAllStandardOutput()),
                  QString::fromLocal8Bit(isql.readAllStandardError())));
}

void waitForPort(int port, const std::function<bool()>& alive)
{
  QElapsedTimer t;
  t.start();
  while (!portAccepts(port)) {
    if (!alive())
      fail(QStringLiteral("the server on port %1 ended at start").arg(port));
    if (t.elapsed() > 30000)
      fail(QStringLiteral("the server on port %1 did not start").arg(port));
    QThread::msleep(50);
  }
}

// The watchdog owns the shared server: it starts it, and stops it once no
// test process has held the users lock for a while. Start and stop happen
// under the state lock, so a client never sees a server that is going away.
QString watchdogScript()
{
  return QStringLiteral(R"SH(
dir="$1"; root="$2"; server="$3"; idle_max="$4"
FIREBIRD="$root" "$server" </dev/null >>"$dir/server.out" 2>&1 &
spid=$!
echo "$spid" > "$dir/server.pid"
idle=0
while kill -0 "$spid" 2>/dev/null; do
  sleep 1
  exec 9>>"$dir/state.lock"
  flock -x 9
  if flock -n -x "$dir/users.lock" true; then idle=$((idle+1)); else idle=0; fi
  if [ "$idle" -ge "$idle_max" ]; then
    kill "$spid" 2>/dev/null
    for i in $(seq 1 100); do kill -0 "$spid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$spid" 2>/dev/null
    rm -f "$dir/server.pid"
    exit 0
  fi
  exec 9>&-
done
rm -f "$dir/server.pid"
)SH");
}

bool sharedServerRunning(const QString& dir, int port)
{
  QFile pidFile(dir + QStringLiteral("/server.pid"));
  if (!pidFile.open(QIODevice::ReadOnly))
    return false;
  const qint64 pid = pidFile.readAll().trimmed().toLongLong();
  return pid > 0 && ::kill(pid_t(pid), 0) == 0 && portAccepts(port);
}

}  // namespace

QString FirebirdServer::udrModulePath()
{
  QString bin = qEnvironmentVariable("RENDO_BINARY_DIR");
#ifdef RENDO_BINARY_DIR
  if (bin.isEmpty())
    bin = QStringLiteral(RENDO_BINARY_DIR);
#endif
  return bin + QStringLiteral("/fixtures/udr/librendo_udr.so");
}

void FirebirdServer::useEmbeddedRootWithUdr()
{
  db::FirebirdRoot::setupEmbedded(availableUdrModules());
}

QString FirebirdServer::remoteName(const QString& path) const
{
  return QStringLiteral("%1/%2:%3").arg(host()).arg(m_port).arg(path);
}

FirebirdServer::FirebirdServer(SharedTag) : m_port(SharedPort), m_shared(true)
{
  const QString dir = QDir::tempPath() + QStringLiteral("/rendo-fbserver-%1-%2").arg(::getuid()).arg(SharedPort);
  if (!QDir().mkpath(dir))
    fail(QStringLiteral("cannot create %1").arg(dir));
  m_root = dir + QStringLiteral("/root");

  const int stateFd = openLock(dir + QStringLiteral("/state.lock"));
  while (::flock(stateFd, LOCK_EX) != 0 && errno == EINTR) {
  }
  try {
    if (!sharedServerRunning(dir, SharedPort)) {
      if (portAccepts(SharedPort))
        fail(QStringLiteral("port %1 is taken by a server that is not ours").arg(SharedPort));
      prepareServerRoot(m_root, SharedPort);
      QFile::remove(dir + QStringLiteral("/server.pid"));
      const QString script = dir + QStringLiteral("/watchdog.sh");
      QFile f(script);
      if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        fail(QStringLiteral("cannot write %1").arg(script));
      f.write(watchdogScript().toUtf8());
      f.close();
      // setsid: the watchdog and the server outlive this test process.
      // Their standard streams must not be the test's: ctest reads a
      // test's output until every holder of the pipe has closed it.
      QProcess watchdog;
      watchdog.setProgram(QStringLiteral("setsid"));
      watchdog.setArguments(
          {QStringLiteral("bash"), script, dir, m_root, serverBinary(), QString::number(IdleSecondsBeforeStop)});
      watchdog.setStandardInputFile(QProcess::nullDevice());
      watchdog.setStandardOutputFile(QProcess::nullDevice());
      watchdog.setStandardErrorFile(QProcess::nullDevice());
      if (!watchdog.startDetached())
        fail(QStringLiteral("cannot start the watchdog"));
      const QString pidPath = dir + QStringLiteral("/server.pid");
      waitForPort(SharedPort, [&] {
        QFile p(pidPath);
        if (!p.open(QIODevice::ReadOnly))
          return true;  // not written yet
        const qint64 pid = p.readAll().trimmed().toLongLong();
        return pid <= 0 || ::kill(pid_t(pid), 0) == 0;
      });
    }
    // Held until this process ends: the watchdog keeps the server while any test holds it.
    m_usersLockFd = openLock(dir + QStringLiteral("/users.lock"));
    while (::flock(m_usersLockFd, LOCK_SH) != 0 && errno == EINTR) {
    }
  } catch (...) {
    ::close(stateFd);
    throw;
  }
  ::close(stateFd);
}

const FirebirdServer& FirebirdServer::shared()
{
  static std::unique_ptr<FirebirdServer> instance;
  static std::mutex m;
  std::lock_guard<std::mutex> g(m);
  if (!instance)
    instance.reset(new FirebirdServer(SharedTag{}));
  return *instance;
}

FirebirdServer::FirebirdServer() : m_port(freePort())
{
  m_root = QDir::tempPath() + QStringLiteral("/rendo-fbprivate-%1-%2").arg(::getpid()).arg(m_port);
}

FirebirdServer::~FirebirdServer()
{
  if (m_shared) {
    if (m_usersLockFd >= 0)
      ::close(m_usersLockFd);
    return;
  }
  stop();
  QDir(m_root).removeRecursively();
}

void FirebirdServer::start()
{
  if (m_shared || isRunning())
    return;
  prepareServerRoot(m_root, m_port);
  const pid_t pid = ::fork();
  if (pid < 0)
    fail(QStringLiteral("fork failed"));
  const QByteArray bin = QFile::encodeName(serverBinary());
  const QByteArray rootEnv = "FIREBIRD=" + QFile::encodeName(m_root);
  if (pid == 0) {
    ::setsid();
    ::putenv(const_cast<char*>(rootEnv.constData()));
    const int devnull = ::open("/dev/null", O_RDWR);
    ::dup2(devnull, 0);
    ::dup2(devnull, 1);
    ::dup2(devnull, 2);
    ::execl(bin.constData(), bin.constData(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  m_pid = pid;
  waitForPort(m_port, [this] { return isRunning(); });
}

bool FirebirdServer::isRunning() const
{
  if (m_shared)
    return true;
  if (m_pid <= 0)
    return false;
  int status = 0;
  const pid_t r = ::waitpid(pid_t(m_pid), &status, WNOHANG);
  if (r == pid_t(m_pid)) {
    const_cast<FirebirdServer*>(this)->m_pid = 0;
    return false;
  }
  return true;
}

void FirebirdServer::stop()
{
  if (m_shared)
    fail(QStringLiteral("the shared server is not stopped by a test; use a private one"));
  if (m_pid <= 0)
    return;
  ::kill(pid_t(m_pid), SIGKILL);
  int status = 0;
  ::waitpid(pid_t(m_pid), &status, 0);
  m_pid = 0;
}
