#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFileInfo>

#include "PlatformTestUtil.h"
#include "platform/NamedMutex.h"
#include "tests/support/TempDir.h"

namespace {

class NamedMutexTest : public ::testing::Test {
 protected:
  TestTempDir runtime;
  ScopedEnv env{"XDG_RUNTIME_DIR", runtime.path()};
};

// A second process that takes the mutex, reports it on a pipe and holds it
// until told to go (or is killed).
struct Holder {
  pid_t pid = -1;
  int toChild = -1, fromChild = -1;

  explicit Holder(const QString& name)
  {
    int down[2], up[2];
    if (::pipe(down) != 0 || ::pipe(up) != 0)
      return;
    pid = ::fork();
    if (pid == 0) {
      ::close(down[1]);
      ::close(up[0]);
      NamedMutex m(name);
      const char state = m.tryLock() ? 'L' : 'F';
      (void)!::write(up[1], &state, 1);
      char c;
      (void)!::read(down[0], &c, 1);
      ::_exit(0);
    }
    ::close(down[0]);
    ::close(up[1]);
    toChild = down[1];
    fromChild = up[0];
  }
  char waitState()
  {
    char c = 0;
    return ::read(fromChild, &c, 1) == 1 ? c : 0;
  }
  bool finish(bool kill = false)
  {
    if (kill)
      ::kill(pid, SIGKILL);
    else
      (void)!::write(toChild, "x", 1);
    int status = 0;
    const bool ok = ::waitpid(pid, &status, 0) == pid;
    ::close(toChild);
    ::close(fromChild);
    pid = -1;
    return ok;
  }
  ~Holder()
  {
    if (pid > 0)
      finish(true);
  }
};

TEST_F(NamedMutexTest, TwoProcessesContend)
{
  const QString name = QStringLiteral("GENSYOU_RENDO");
  EXPECT_FALSE(NamedMutex::Exists(name));

  Holder other(name);
  ASSERT_GT(other.pid, 0);
  ASSERT_EQ(other.waitState(), 'L');

  EXPECT_TRUE(NamedMutex::Exists(name));
  EXPECT_FALSE(NamedMutex::Exists(QStringLiteral("TESSALY000")));
  NamedMutex mine(name);
  EXPECT_FALSE(mine.tryLock());
  EXPECT_FALSE(mine.isHeld());
  EXPECT_FALSE(mine.errorString().isEmpty());

  ASSERT_TRUE(other.finish());
  EXPECT_FALSE(NamedMutex::Exists(name));
  ASSERT_TRUE(mine.tryLock());
  EXPECT_TRUE(NamedMutex::Exists(name));  // seen from a second descriptor too

  // While we hold it, another process cannot take it.
  Holder loser(name);
  EXPECT_EQ(loser.waitState(), 'F');
  loser.finish();

  mine.release();
  EXPECT_FALSE(NamedMutex::Exists(name));
}

TEST_F(NamedMutexTest, ADeadHolderLeavesNoStaleMutex)
{
  const QString name = QStringLiteral("TESSALY2_TOOLS");
  Holder crashed(name);
  ASSERT_EQ(crashed.waitState(), 'L');
  EXPECT_TRUE(NamedMutex::Exists(name));
  crashed.finish(/*kill=*/true);
  EXPECT_FALSE(NamedMutex::Exists(name));
  NamedMutex m(name);
  EXPECT_TRUE(m.tryLock());
}

TEST_F(NamedMutexTest, TwoObjectsInOneProcessExcludeEachOther)
{
  NamedMutex a(QStringLiteral("x")), b(QStringLiteral("x"));
  ASSERT_TRUE(a.tryLock());
  EXPECT_TRUE(a.tryLock());  // already held: stays held
  EXPECT_FALSE(b.tryLock());
  a.release();
  EXPECT_TRUE(b.tryLock());
}

TEST_F(NamedMutexTest, NamesMapToDistinctFilesInTheRuntimeFolder)
{
  const QString dir = NamedMutex::RuntimeDir();
  EXPECT_EQ(dir, runtime.path() + QStringLiteral("/rendo"));
  EXPECT_TRUE(QFileInfo(dir).isDir());
  EXPECT_EQ(QFileInfo(dir).permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);

  const QString names[] = {QStringLiteral("GENSYOU_RENDO"), QStringLiteral("gensyou_rendo"),
                           QStringLiteral("../escape"),     QStringLiteral("a/b"),
                           QStringLiteral("a%2Fb"),         QStringLiteral("連動"),
                           QStringLiteral(".hidden")};
  QStringList files;
  for (const QString& n : names) {
    const QString f = NamedMutex::LockFilePath(n);
    EXPECT_EQ(QFileInfo(f).absolutePath(), dir) << n.toStdString();
    EXPECT_FALSE(QFileInfo(f).fileName().startsWith(u'.')) << n.toStdString();
    EXPECT_FALSE(files.contains(f)) << n.toStdString();
    files << f;
  }
  // Each of them can be held at the same time.
  std::vector<std::unique_ptr<NamedMutex>> held;
  for (const QString& n : names) {
    held.push_back(std::make_unique<NamedMutex>(n));
    EXPECT_TRUE(held.back()->tryLock()) << n.toStdString();
  }

  // Without XDG_RUNTIME_DIR: a per-user folder under /tmp.
  ScopedEnv none("XDG_RUNTIME_DIR", QString());
  EXPECT_EQ(NamedMutex::RuntimeDir(), QStringLiteral("/tmp/rendo-%1").arg(::getuid()));
}

}  // namespace
