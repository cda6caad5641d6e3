// Start-up benchmark: how long the program takes from its start to the
// logon dialog on screen, on the demo installation (stand-alone, embedded
// engine). Each round starts a fresh process of this program in the child
// role, which runs the program block exactly as the real program does and
// reports the moment the logon dialog is shown; the dialog is then refused,
// so the program ends as after a refused logon.
//
//   rendo_wizard_startup_bench [--demo DIR] [--rounds N] [--screen offscreen|xvfb|both]
//
// Without --demo a demo installation is built in a temporary folder first
// (not timed). The program is measured offscreen and on a real X display
// (an Xvfb server this benchmark starts), both unless --screen says one. Printed per round: from the process start (as
// the parent saw it) and from the child's main() to the dialog shown; then the median and the fastest round.
#include <algorithm>
#include <cstdio>
#include <vector>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTimer>

#include "common/dialogs/AppIniCreateBox.h"
#include "common/dialogs/DataPasswordDlg.h"
#include "common/dialogs/Logon.h"
#include "datasel/dialogs/DataSentaku.h"
#include "platform/gui/Application.h"
#include "tests/support/PairedRounds.h"
#include "tools/demo_builder/DemoBuilder.h"
#include "ui/UiMessageHook.h"
#include "wizard/window/RendoProgram.h"

namespace {

const char* const kChildFlag = "--child";
const char* const kShownLine = "LOGON-SHOWN ";

// Child role: the program block of the real program, with a watcher that
// notes when the logon dialog shows and then refuses it.
class LogonWatcher : public QObject {
 public:
  explicit LogonWatcher(const QElapsedTimer& clock) : clock_(clock) {}
  bool eventFilter(QObject* watched, QEvent* e) override
  {
    if (e->type() == QEvent::Show && !seen_) {
      if (auto* box = qobject_cast<TLogonBox*>(watched)) {
        seen_ = true;
        std::printf("%s%lld\n", kShownLine, static_cast<long long>(clock_.nsecsElapsed() / 1000));
        std::fflush(stdout);
        QTimer::singleShot(0, box, [box] { box->reject(); });
      }
    }
    return QObject::eventFilter(watched, e);
  }

 private:
  const QElapsedTimer& clock_;
  bool seen_ = false;
};

int runChild(int argc, char** argv, const QElapsedTimer& clock)
{
  TApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  pcInstallUiMessageHook();
  RegisterDataSentakuBox();
  pcInstallDataPasswordPrompt();
  pcInstallAppIniCreateBoxHook();
  LogonWatcher watcher(clock);
  app.installEventFilter(&watcher);
  return fnRendoProgramMain({});
}

using bench::median;

// An Xvfb server on a free display, ended with the object.
class XvfbServer {
 public:
  bool start()
  {
    FProcess.setProgram(QStringLiteral("Xvfb"));
    FProcess.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                           QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                           QStringLiteral("1280x1024x24")});
    FProcess.start();
    if (!FProcess.waitForStarted(10000))
      return false;
    QByteArray out;
    while (!out.contains('\n') && FProcess.waitForReadyRead(10000))
      out += FProcess.readAllStandardOutput();
    bool ok = false;
    const int n = out.trimmed().toInt(&ok);
    if (!ok)
      return false;
    FDisplay = QStringLiteral(":%1").arg(n);
    return true;
  }
  QString display() const { return FDisplay; }
  ~XvfbServer()
  {
    if (FProcess.state() != QProcess::NotRunning) {
      FProcess.terminate();
      if (!FProcess.waitForFinished(5000))
        FProcess.kill();
      FProcess.waitForFinished(5000);
    }
  }

 private:
  QProcess FProcess;
  QString FDisplay;
};

// Runs the rounds in one environment; false when a round failed.
bool measure(const QProcessEnvironment& env, int rounds, const char* screen)
{
  std::vector<double> fromStart;
  std::vector<double> fromMain;
  for (int r = 1; r <= rounds; ++r) {
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer round;
    round.start();
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kChildFlag)});
    QByteArray out;
    double startMs = -1;
    double mainMs = -1;
    while (startMs < 0 && child.waitForReadyRead(60000)) {
      out += child.readAllStandardOutput();
      const int at = out.indexOf(kShownLine);
      const int end = at >= 0 ? out.indexOf('\n', at) : -1;
      if (end < 0)
        continue;
      startMs = round.nsecsElapsed() / 1e6;
      mainMs = out.mid(at + int(qstrlen(kShownLine)), end - at - int(qstrlen(kShownLine))).toLongLong() / 1e3;
    }
    if (startMs < 0) {
      child.kill();
      child.waitForFinished(5000);
      std::fprintf(stderr, "%s, round %d: the logon dialog never showed\n%s\n", screen, r,
                   child.readAllStandardError().constData());
      return false;
    }
    if (!child.waitForFinished(60000)) {
      child.kill();
      child.waitForFinished(5000);
      std::fprintf(stderr, "%s, round %d: the program did not end after the refused logon\n", screen, r);
      return false;
    }
    fromStart.push_back(startMs);
    fromMain.push_back(mainMs);
    std::printf("%s, round %d: start to logon dialog %.1f ms (from main() %.1f ms)\n", screen, r, startMs, mainMs);
    std::fflush(stdout);
  }
  std::printf("%s: start to logon dialog median %.1f ms, fastest %.1f ms; from main(): median %.1f ms (%d rounds)\n",
              screen, median(fromStart), *std::min_element(fromStart.begin(), fromStart.end()), median(fromMain),
              rounds);
  return true;
}

}  // namespace

int main(int argc, char** argv)
{
  QElapsedTimer clock;
  clock.start();
  for (int i = 1; i < argc; ++i)
    if (qstrcmp(argv[i], kChildFlag) == 0)
      return runChild(argc, argv, clock);

  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  const int demoAt = args.indexOf(QStringLiteral("--demo"));
  const int roundsAt = args.indexOf(QStringLiteral("--rounds"));
  const int rounds = roundsAt >= 0 && roundsAt + 1 < args.size() ? std::max(1, args[roundsAt + 1].toInt()) : 5;

  QTemporaryDir tmp;
  if (!tmp.isValid()) {
    std::fprintf(stderr, "no temporary folder\n");
    return 1;
  }
  DemoResult demo;
  try {
    DemoOptions o;
    o.folder = demoAt >= 0 && demoAt + 1 < args.size() ? QFileInfo(args[demoAt + 1]).absoluteFilePath()
                                                       : tmp.filePath(QStringLiteral("demo"));
    std::printf("demo installation: %s%s\n", qPrintable(o.folder),
                QFileInfo::exists(o.folder) ? "" : " (building, not timed)");
    std::fflush(stdout);
    demo = DemoBuilder::build(o);
    if (demo.folder.isEmpty())
      demo.folder = o.folder;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "demo installation failed: %s\n", e.what());
    return 1;
  }

  // The program's environment: the demo's data root, registry store and
  // identity file; lock files of the single-instance check in a folder of
  // ours; the screen is chosen per measurement.
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("RENDO_DATA_ROOT"), QDir(demo.folder).filePath(QStringLiteral("common")));
  env.insert(QStringLiteral("RENDO_REGISTRY_FILE"), QDir(demo.folder).filePath(QStringLiteral("registry.ini")));
  env.insert(QStringLiteral("RENDO_APPINFO_DIR"), demo.folder);
  QDir().mkpath(tmp.filePath(QStringLiteral("run")));
  env.insert(QStringLiteral("XDG_RUNTIME_DIR"), tmp.filePath(QStringLiteral("run")));
  const int screenAt = args.indexOf(QStringLiteral("--screen"));
  const QString screen = screenAt >= 0 && screenAt + 1 < args.size() ? args[screenAt + 1] : QStringLiteral("both");

  if (screen != QLatin1String("xvfb")) {
    QProcessEnvironment off = env;
    off.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (!measure(off, rounds, "offscreen"))
      return 1;
  }
  if (screen != QLatin1String("offscreen")) {
    XvfbServer x;
    if (!x.start()) {
      std::fprintf(stderr, "Xvfb could not be started (package xvfb)\n");
      return 1;
    }
    QProcessEnvironment onX = env;
    onX.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    onX.insert(QStringLiteral("DISPLAY"), x.display());
    onX.remove(QStringLiteral("WAYLAND_DISPLAY"));
    if (!measure(onX, rounds, "Xvfb"))
      return 1;
  }
  return 0;
}
