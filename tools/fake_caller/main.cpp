// rendo-fake-caller: plays the calling program's window in tests.
//
//   rendo-fake-caller --handle N [--output FILE] [--count N] [--timeout MS]
//
// Binds the endpoint of window handle N, prints "ready <socket path>" on
// stderr once datagrams can arrive, and writes one line per datagram (its
// text as received) to FILE or stdout, flushed at once. Ends after --count
// datagrams, after --timeout milliseconds, or on SIGINT/SIGTERM.
// Exit status: 0 normally, 1 on a usage or binding error, 2 when the
// timeout passed before --count datagrams arrived.
#include <csignal>
#include <cstdio>
#include <cstring>

#include <QElapsedTimer>
#include <QFile>
#include <QString>

#include "platform/CallerWindow.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;

extern "C" void onSignal(int)
{
  g_stop = 1;
}

int usage()
{
  std::fprintf(stderr, "usage: rendo-fake-caller --handle N [--output FILE] [--count N] [--timeout MS]\n");
  return 1;
}

}  // namespace

int main(int argc, char** argv)
{
  quint64 handle = 0;
  QString output;
  long long count = -1;
  long long timeoutMs = -1;
  for (int i = 1; i < argc; ++i) {
    const char* a = argv[i];
    const bool hasValue = i + 1 < argc;
    bool ok = true;
    if (std::strcmp(a, "--handle") == 0 && hasValue)
      handle = QByteArray(argv[++i]).toULongLong(&ok);
    else if (std::strcmp(a, "--output") == 0 && hasValue)
      output = QString::fromLocal8Bit(argv[++i]);
    else if (std::strcmp(a, "--count") == 0 && hasValue)
      count = QByteArray(argv[++i]).toLongLong(&ok);
    else if (std::strcmp(a, "--timeout") == 0 && hasValue)
      timeoutMs = QByteArray(argv[++i]).toLongLong(&ok);
    else
      return usage();
    if (!ok)
      return usage();
  }
  if (handle == 0)
    return usage();

  struct sigaction sa;
  std::memset(&sa, 0, sizeof sa);
  sa.sa_handler = onSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = 0;  // no SA_RESTART: poll returns on the signal
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);

  CallerWindowEndpoint endpoint(handle);
  if (!endpoint.isOpen()) {
    std::fprintf(stderr, "rendo-fake-caller: %s\n", qPrintable(endpoint.errorString()));
    return 1;
  }

  QFile out;
  bool opened;
  if (output.isEmpty())
    opened = out.open(stdout, QIODevice::WriteOnly);
  else
    opened = (out.setFileName(output), out.open(QIODevice::WriteOnly | QIODevice::Append));
  if (!opened) {
    std::fprintf(stderr, "rendo-fake-caller: cannot open the output: %s\n", qPrintable(out.errorString()));
    return 1;
  }

  std::fprintf(stderr, "ready %s\n", qPrintable(CallerWindow::SocketPath(handle)));
  std::fflush(stderr);

  QElapsedTimer clock;
  clock.start();
  long long received = 0;
  while (!g_stop && (count < 0 || received < count)) {
    int wait = 200;
    if (timeoutMs >= 0) {
      const long long left = timeoutMs - clock.elapsed();
      if (left <= 0)
        break;
      wait = int(std::min<long long>(left, 200));
    }
    QByteArray datagram;
    if (!endpoint.receive(datagram, wait))
      continue;
    out.write(datagram + '\n');
    out.flush();
    ++received;
  }
  out.close();
  return (count >= 0 && received < count && !g_stop) ? 2 : 0;
}
