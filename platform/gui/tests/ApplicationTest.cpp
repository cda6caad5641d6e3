#include <gtest/gtest.h>
#include <stdexcept>

#include <QColor>
#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QProcess>

#include "platform/Abort.h"
#include "platform/Color.h"
#include "platform/gui/Application.h"

namespace {

// An object whose event handler fails in the chosen way.
class Thrower : public QObject {
 public:
  enum Kind { None, Abort, Error, Unknown } kind = None;
  int handled = 0;
  bool event(QEvent* e) override
  {
    if (e->type() != QEvent::User)
      return QObject::event(e);
    switch (kind) {
      case Abort:
        throw EAbort();
      case Error:
        throw std::runtime_error("disk full");
      case Unknown:
        throw 42;
      case None:
        break;
    }
    ++handled;
    return true;
  }
};

TEST(TApplication, DispatchSwallowsTheSilentAbortAndReportsOtherErrors)
{
  QStringList reported;
  TApplication::setExceptionHook([&](const QString& m) { reported << m; });

  struct Case {
    Thrower::Kind kind;
    bool result;
    QStringList reports;
  };
  const Case cases[] = {
      {Thrower::None, true, {}},
      {Thrower::Abort, false, {}},
      {Thrower::Error, false, {QStringLiteral("disk full")}},
      {Thrower::Unknown, false, {QStringLiteral("Unknown exception")}},
  };
  for (const Case& c : cases) {
    reported.clear();
    Thrower t;
    t.kind = c.kind;
    QEvent e(QEvent::User);
    // Qt's own dispatch passes the exception through to the guard.
    const bool r = TApplication::guarded([&] { return QCoreApplication::sendEvent(&t, &e); });
    EXPECT_EQ(r, c.result) << int(c.kind);
    EXPECT_EQ(reported, c.reports) << int(c.kind);
  }
  TApplication::setExceptionHook({});
}

// The real application object, in a process of its own: events posted to
// failing handlers do not end the program, EAbort is silent, other errors
// reach the hook.
TEST(TApplication, RealEventLoopSurvivesFailingHandlers)
{
  const QString probe = QStringLiteral(RENDO_BINARY_DIR "/platform/gui/rendo_platform_gui_probe");
  ASSERT_TRUE(QFileInfo::exists(probe)) << probe.toStdString();
  QProcess p;
  p.start(probe, {});
  ASSERT_TRUE(p.waitForFinished(30000));
  EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
  EXPECT_EQ(p.readAllStandardOutput(), QByteArray("hook: probe failure\nhandled: 2\n"));
}

TEST(ColorQt, ConversionsToAndFromQColor)
{
  struct Case {
    TColor c;
    QColor q;
  };
  const Case cases[] = {
      {clRed, QColor(255, 0, 0)},
      {clBlue, QColor(0, 0, 255)},
      {TColor(0xFFAF80), QColor(0x80, 0xAF, 0xFF)},
      {clBlack, QColor(0, 0, 0)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(toQColor(c.c), c.q);
    EXPECT_EQ(fromQColor(c.q), c.c);
  }
  EXPECT_EQ(toQColor(clWindow), QColor(255, 255, 255));
  EXPECT_FALSE(toQColor(clNone).isValid());
  EXPECT_EQ(fromQColor(QColor()), clNone);
  EXPECT_EQ(fromQColor(QColor(1, 2, 3, 100)), RGBColor(1, 2, 3));
}

}  // namespace
