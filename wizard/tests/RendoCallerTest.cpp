#include <gtest/gtest.h>
#include <unistd.h>

#include <QFileInfo>
#include <QProcess>

#include "platform/CallerWindow.h"
#include "wizard/RendoCaller.h"

namespace {

// A handle of our own per test process, so parallel runs do not meet.
quint64 testHandle(int n)
{
  return quint64(::getpid()) * 100 + quint64(n);
}

QList<QByteArray> receiveAll(CallerWindowEndpoint& ep)
{
  QList<QByteArray> got;
  QByteArray d;
  while (ep.receive(d, 200))
    got << d;
  return got;
}

}  // namespace

TEST(RendoCaller, CallerIsDisabledWhileRunningAndToldTheEndState)
{
  const int states[] = {resCreated, resStopped, resFailed};
  for (int state : states) {
    const quint64 handle = testHandle(1 + state);
    CallerWindowEndpoint ep(handle);
    ASSERT_TRUE(ep.isOpen()) << ep.errorString().toStdString();

    TRendoArgs args;
    args.PHandle = handle;
    args.MessageID = 1025;
    args.FunctionID = 3;
    TRendoCaller caller(args);
    EXPECT_EQ(caller.EndState, resFailed);  // until the wizard ends otherwise
    caller.pcDisableCaller();
    caller.EndState = state;
    EXPECT_TRUE(caller.pcSendEndMessage());

    const QList<QByteArray> expected = {CallerWindow::EnableWindowDatagram(false), CallerWindow::ForegroundDatagram(),
                                        CallerWindow::EnableWindowDatagram(true),
                                        CallerWindow::PostMessageDatagram(1025, 3, state)};
    EXPECT_EQ(receiveAll(ep), expected) << "end state " << state;
  }
}

TEST(RendoCaller, WithoutTheArgumentNothingIsSent)
{
  const quint64 handle = testHandle(10);
  CallerWindowEndpoint ep(handle);
  ASSERT_TRUE(ep.isOpen());
  TRendoCaller caller;  // started by itself
  EXPECT_FALSE(caller.IsCalled());
  caller.pcDisableCaller();
  caller.EndState = resCreated;
  EXPECT_TRUE(caller.pcSendEndMessage());
  EXPECT_TRUE(receiveAll(ep).isEmpty());
}

TEST(RendoCaller, ACallerThatIsGoneIsReported)
{
  TRendoArgs args;
  args.PHandle = testHandle(11);  // nobody listens there
  args.MessageID = 1025;
  TRendoCaller caller(args);
  caller.pcDisableCaller();
  EXPECT_FALSE(caller.pcSendEndMessage());
}

// The same exchange with the calling program played by a separate process.
TEST(RendoCaller, FakeCallerProcessReceivesTheEndMessage)
{
  const QString tool = QStringLiteral(RENDO_BINARY_DIR "/tools/fake_caller/rendo-fake-caller");
  ASSERT_TRUE(QFileInfo::exists(tool)) << tool.toStdString();
  const quint64 handle = testHandle(20);
  QProcess caller;
  caller.setReadChannel(QProcess::StandardError);
  caller.start(tool, {QStringLiteral("--handle"), QString::number(handle), QStringLiteral("--count"),
                      QStringLiteral("4"), QStringLiteral("--timeout"), QStringLiteral("10000")});
  ASSERT_TRUE(caller.waitForStarted(5000));
  // Wait until its endpoint is bound.
  QByteArray err;
  while (!err.contains("ready") && caller.waitForReadyRead(5000))
    err += caller.readAllStandardError();
  err += caller.readAllStandardError();
  ASSERT_TRUE(err.contains("ready")) << err.toStdString();

  const TRendoArgsResult parsed = fnParseRendoArgs({QStringLiteral("%1,1025,7,/tmp/a,b.xml").arg(handle)});
  ASSERT_EQ(parsed.Kind, TRendoArgsKind::Valid);
  TRendoCaller protocol(parsed.Args);
  protocol.pcDisableCaller();
  protocol.EndState = resStopped;
  EXPECT_TRUE(protocol.pcSendEndMessage());

  ASSERT_TRUE(caller.waitForFinished(10000));
  EXPECT_EQ(caller.exitCode(), 0);
  EXPECT_EQ(caller.readAllStandardOutput(), QByteArray("ENABLE 0\nFOREGROUND\nENABLE 1\nPOST 1025 7 1\n"));
}
