// Exceptions that reach the event loop: the operator sees each one in an
// error box and the log folder keeps it, whether or not the log can be
// written; the silent abort stays silent.
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>

#include <QFile>

#include "common/AccRecord.h"
#include "common/MessageHook.h"
#include "platform/Abort.h"
#include "platform/IniFile.h"
#include "platform/TextCodec.h"
#include "platform/gui/Application.h"
#include "tests/support/TempDir.h"
#include "ui/UiMessageHook.h"

namespace {

class Recorder : public IMessageHook {
 public:
  int ShowMessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons) override
  {
    shown << text;
    types << type;
    return FirstButtonResult(buttons);
  }
  int ShowMessageLines(int, const QStringList& lines) override
  {
    shown << lines.join(u'\r');
    types << mtCustom;
    return mrOk;
  }
  void RequestTerminate() override {}
  QStringList shown;
  QList<TMsgDlgType> types;
};

}  // namespace

TEST(ExceptionReport, EveryExceptionReachingTheEventLoopIsShownAndLogged)
{
  TestTempDir dir;
  const QString saved = SystemDef.LOG;
  const TApplication::ExceptionHook savedHook = TApplication::exceptionHook();
  Recorder rec;
  IMessageHook* previous = SetMessageHook(&rec);
  pcInstallExceptionReport();

  const QString ini = dir.file(QStringLiteral("0051/wqacc2.ini"));
  struct Case {
    const char* what;
    std::function<void()> raise;
    QString logFolder;  // empty: a folder that cannot be written
    QString expected;   // shown and logged; empty: nothing at all
  };
  const Case cases[] = {
      {"an unreadable settings file names the file",
       [&] { throw EIniFileError(QStringLiteral("設定ファイルを読み込めません: %1\r壊れています。").arg(ini)); },
       dir.path(), ini},
      {"any other failure", [] { throw std::runtime_error("disk gone"); }, dir.path(), QStringLiteral("disk gone")},
      {"the log cannot be written: still shown", [] { throw std::runtime_error("second"); },
       QStringLiteral("/proc/no-such-folder"), QStringLiteral("second")},
      {"the silent abort", [] { throw EAbort(); }, dir.path(), QString()},
  };
  const QString log = dir.file(QStringLiteral("ErrApplication.log"));
  for (const Case& c : cases) {
    rec.shown.clear();
    rec.types.clear();
    QFile::remove(log);
    SystemDef.LOG = c.logFolder;
    EXPECT_FALSE(TApplication::guarded([&] {
      c.raise();
      return true;
    })) << c.what;
    if (c.expected.isEmpty()) {
      EXPECT_TRUE(rec.shown.isEmpty()) << c.what;
      EXPECT_FALSE(QFile::exists(log)) << c.what;
      continue;
    }
    ASSERT_EQ(rec.shown.size(), 1) << c.what;
    EXPECT_EQ(rec.types.value(0), mtError) << c.what;
    EXPECT_TRUE(rec.shown.value(0).contains(c.expected)) << c.what;
    if (c.logFolder == dir.path()) {
      QFile f(log);
      ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << c.what;
      EXPECT_TRUE(fromCp932(f.readAll()).contains(c.expected)) << c.what;
    }
  }
  SystemDef.LOG = saved;
  TApplication::setExceptionHook(savedHook);
  SetMessageHook(previous);
}

// Within one action only the first error box reaches the operator; the
// others are held back, other kinds of box pass, and the hook found is put
// back when the scope ends.
TEST(ExceptionReport, OneActionReportsItsFirstErrorOnly)
{
  Recorder rec;
  IMessageHook* previous = SetMessageHook(&rec);
  {
    TFirstErrorOnlyScope scope;
    MessageHook().ShowMessageDlg(QStringLiteral("first"), mtError, mbOK);
    MessageHook().ShowMessageDlg(QStringLiteral("again"), mtError, mbOK);
    MessageHook().ShowMessageLines(1, {QStringLiteral("again, as lines")});
    MessageHook().ShowMessageDlg(QStringLiteral("a warning"), mtWarning, mbOK);
    EXPECT_EQ(scope.HeldBack(), 2);
  }
  EXPECT_EQ(&MessageHook(), &rec);
  MessageHook().ShowMessageDlg(QStringLiteral("after"), mtError, mbOK);
  EXPECT_EQ(rec.shown, (QStringList{QStringLiteral("first"), QStringLiteral("a warning"), QStringLiteral("after")}));
  SetMessageHook(previous);
}
