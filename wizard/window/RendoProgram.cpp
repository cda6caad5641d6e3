#include "wizard/window/RendoProgram.h"

#include <memory>

#include <QApplication>
#include <QEventLoop>

#include "common/MessageHook.h"
#include "platform/NamedMutex.h"
#include "ui/AppEnd.h"
#include "wizard/window/MainForm.h"

TRendoInstanceCheck fnRendoInstanceCheck()
{
  const std::pair<const char*, const char*> checks[] = {
      {"TESSALY000", rendo_text::kTessalyRunning},
      {"TESSALY2_TOOLS", rendo_text::kToolsRunning},
      {"GENSYOU_RENDO", rendo_text::kAlreadyRunning},
  };
  for (const auto& [name, text] : checks)
    if (NamedMutex::Exists(QString::fromLatin1(name)))
      return {QString::fromLatin1(name), QString::fromUtf8(text)};
  return {};
}

int fnRendoProgramMain(const QStringList& arguments)
{
  const TRendoInstanceCheck running = fnRendoInstanceCheck();
  if (!running.Mutex.isEmpty()) {
    MessageHook().ShowMessageDlg(running.Message, mtInformation, mbOK);
    return 0;
  }
  NamedMutex mutex(QStringLiteral("GENSYOU_RENDO"));
  if (!mutex.tryLock()) {
    // Taken between the check and now: another copy is starting.
    MessageHook().ShowMessageDlg(QString::fromUtf8(rendo_text::kAlreadyRunning), mtInformation, mbOK);
    return 0;
  }
  pcSetRendoApplicationTitle(QStringLiteral("連動ﾃﾞｰﾀの作成"));
  auto form = std::make_unique<TForm1>(arguments, QApplication::applicationFilePath());
  if (!form->Created())
    return 0;  // the window is destroyed: the caller hears of it
  if (!form->InitForm()) {
    QApplication::processEvents();
    return 0;
  }
  QApplication::processEvents();
  QEventLoop loop;
  QObject::connect(form.get(), &TForm1::closed, &loop, &QEventLoop::quit, Qt::QueuedConnection);
  QObject::connect(&TAppEnd::Instance(), &TAppEnd::Ending, &loop, &QEventLoop::quit, Qt::QueuedConnection);
  form->show();
  loop.exec();
  form.reset();
  mutex.release();
  return 0;
}
