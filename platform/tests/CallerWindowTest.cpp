#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include "PlatformTestUtil.h"
#include "platform/CallerWindow.h"
#include "platform/NamedMutex.h"
#include "tests/support/TempDir.h"

namespace {

QString fakeCallerPath()
{
  return QStringLiteral(RENDO_BINARY_DIR "/tools/fake_caller/rendo-fake-caller");
}

class CallerWindowTest : public ::testing::Test {
 protected:
  TestTempDir runtime;
  ScopedEnv env{"XDG_RUNTIME_DIR", runtime.path()};

  // Starts the fake caller and waits until it listens.
  bool startFakeCaller(QProcess& p, quint64 handle, const QStringList& extra)
  {
    if (!QFileInfo::exists(fakeCallerPath())) {
      ADD_FAILURE() << "fake caller not built: " << fakeCallerPath().toStdString();
      return false;
    }
    p.start(fakeCallerPath(), QStringList{QStringLiteral("--handle"), QString::number(handle)} + extra);
    if (!p.waitForStarted(5000))
      return false;
    QByteArray err;
    while (!err.contains("ready") && p.waitForReadyRead(5000))
      err += p.readAllStandardError();
    err += p.readAllStandardError();
    return err.contains("ready");
  }
};

TEST_F(CallerWindowTest, FakeCallerReceivesThePostedMessageWithBothParameters)
{
  const quint64 handle = 1312498;
  QProcess caller;
  caller.setReadChannel(QProcess::StandardError);
  ASSERT_TRUE(startFakeCaller(
      caller, handle,
      {QStringLiteral("--count"), QStringLiteral("5"), QStringLiteral("--timeout"), QStringLiteral("20000")}));

  // The end message sequence: to the front, enabled again, then the message.
  EXPECT_TRUE(CallerWindow::SetForegroundWindow(handle));
  EXPECT_TRUE(CallerWindow::EnableWindow(handle, true));
  EXPECT_TRUE(CallerWindow::PostMessage(handle, 0x8001, 3, 0));
  EXPECT_TRUE(CallerWindow::EnableWindow(handle, false));
  EXPECT_TRUE(CallerWindow::PostMessage(handle, 0xC123, -1, qint64(1) << 40));

  ASSERT_TRUE(caller.waitForFinished(20000));
  EXPECT_EQ(caller.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(caller.exitCode(), 0);
  const QList<QByteArray> lines = caller.readAllStandardOutput().split('\n');
  EXPECT_EQ(lines, (QList<QByteArray>{"FOREGROUND", "ENABLE 1", "POST 32769 3 0", "ENABLE 0",
                                      "POST 49443 -1 1099511627776", ""}));
  // The endpoint is gone with the receiver.
  EXPECT_FALSE(QFileInfo::exists(CallerWindow::SocketPath(handle)));
}

TEST_F(CallerWindowTest, FakeCallerWritesToAFileAndStopsOnASignal)
{
  const quint64 handle = 77;
  const QString out = runtime.file(QStringLiteral("received.txt"));
  QProcess caller;
  caller.setReadChannel(QProcess::StandardError);
  ASSERT_TRUE(startFakeCaller(caller, handle, {QStringLiteral("--output"), out}));
  EXPECT_TRUE(CallerWindow::PostMessage(handle, 1024, 7, 2));
  // Wait until the line is in the file, then stop the receiver.
  QByteArray got;
  for (int i = 0; i < 100 && !got.contains('\n'); ++i) {
    QThread::msleep(50);
    QFile f(out);
    if (f.open(QIODevice::ReadOnly))
      got = f.readAll();
  }
  caller.terminate();
  ASSERT_TRUE(caller.waitForFinished(10000));
  EXPECT_EQ(caller.exitCode(), 0);
  EXPECT_EQ(got, QByteArray("POST 1024 7 2\n"));
}

TEST_F(CallerWindowTest, SendingToNoOneFailsQuietly)
{
  EXPECT_FALSE(CallerWindow::PostMessage(0, 1, 2, 3));       // no handle given
  EXPECT_FALSE(CallerWindow::PostMessage(424242, 1, 2, 3));  // nobody listening
  EXPECT_FALSE(CallerWindow::EnableWindow(424242, true));
  EXPECT_FALSE(CallerWindow::SetForegroundWindow(424242));

  // A receiver that died leaves a socket file: sending fails, and a new
  // receiver takes the handle over.
  const quint64 handle = 99;
  {
    const QByteArray path = QFile::encodeName(CallerWindow::SocketPath(handle));
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.constData(), size_t(path.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ::close(fd);  // file stays behind
  }
  EXPECT_FALSE(CallerWindow::PostMessage(handle, 1, 2, 3));
  CallerWindowEndpoint endpoint(handle);
  ASSERT_TRUE(endpoint.isOpen()) << endpoint.errorString().toStdString();
  // A live receiver is not taken over.
  CallerWindowEndpoint second(handle);
  EXPECT_FALSE(second.isOpen());
  EXPECT_FALSE(second.errorString().isEmpty());

  EXPECT_TRUE(CallerWindow::PostMessage(handle, 5, 6, 7));
  QByteArray d;
  ASSERT_TRUE(endpoint.receive(d, 2000));
  EXPECT_EQ(d, CallerWindow::PostMessageDatagram(5, 6, 7));
  EXPECT_FALSE(endpoint.receive(d, 50));  // nothing more
}

}  // namespace
