// The print data reader and interpreter: a print data or form file of any
// content is read, counted, numbered, its field definitions loaded and every
// page drawn. Nothing may crash, hang or grow without bound.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QByteArray>
#include <QFile>
#include <QtGlobal>

#include "common/MessageHook.h"
#include "print/Print360Engine.h"
#include "print/Print360Form.h"
#include "print/Print360ImageOut.h"
#include "print/Print360Record.h"
#include "print/PrintCanvas.h"

namespace {

class TSilentHook : public IMessageHook {
 public:
  int ShowMessageDlg(const QString&, TMsgDlgType, TMsgDlgButtons) override { return mrOk; }
  int ShowMessageLines(int, const QStringList&) override { return mrOk; }
  void RequestTerminate() override {}
};

void dropMessages(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
  // The error log cannot be written (its folder is a file), and what would
  // have gone to it is dropped: runs leave nothing behind.
  static char home[] = "/tmp/print360-fuzz-XXXXXX";
  if (mkdtemp(home)) {
    qputenv("HOME", home);
    qputenv("XDG_CONFIG_HOME", QByteArray(home) + "/.config");
    QFile blocker(QString::fromLocal8Bit(home) + QStringLiteral("/Documents"));
    if (blocker.open(QIODevice::WriteOnly))
      blocker.close();
  }
  qInstallMessageHandler(dropMessages);
  static TSilentHook hook;
  SetMessageHook(&hook);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const unsigned mode = size ? data[0] : 0;
  P360DefReset();
  ResetPrintJobState();
  P360Def.PageBango.Switch = mode & 1;
  P360Def.PageBango.ParamCount = 1 + ((mode >> 1) & 1);
  P360Def.GrayScale = mode & 4;
  // Form records would open files named in the input: they are left out on
  // the printer's canvas with form printing off.
  P360Def.FORMPRINT = false;

  TPrintTextFile f;
  f.AssignBytes(bytes);
  CountPagesIn(f, true);
  PageOrientationsIn(f, 0);
  HensuuYomikomiFrom(f, 10, 20);
  f.Reset();
  SkipPages(f, 1 + int(mode % 4), mode & 8);

  f.Reset();
  const QString kind = (mode & 16) ? QStringLiteral("FOM") : QStringLiteral("DAT");
  for (int page = 1; page <= 10000; ++page) {
    CurPageNo = page;
    TRecordingCanvas canvas(true);
    if (ImageOut(kind, f, canvas, 96, 1.5, 1.5, 10, page % 2 == 0, int(mode % 7) - 1, 0, 0))
      break;
  }
  return 0;
}
