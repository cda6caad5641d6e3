#include <gtest/gtest.h>

#include <QStringList>
#include <QtGlobal>

#include "platform/Abort.h"
#include "platform/AppError.h"
#include "platform/Exceptions.h"

namespace {

QStringList g_warnings;

void collect(QtMsgType type, const QMessageLogContext&, const QString& text)
{
  if (type == QtWarningMsg)
    g_warnings << text;
}

}  // namespace

TEST(AppError, MessageAndWhatAreTheSameText)
{
  const QString text = QStringLiteral("帳票ファイル \"a.ini\" を書けません");
  const EPlatformError e(text);
  const EAppError& base = e;
  EXPECT_EQ(base.message(), text);
  EXPECT_EQ(QString::fromUtf8(base.what()), text);
  const std::runtime_error& std = e;
  EXPECT_EQ(QString::fromUtf8(std.what()), text);
  static_assert(!std::is_base_of_v<EAppError, EAbort>, "the silent abort is not an error");
}

TEST(AppError, CatchBlocksThatGoOnLogTheReason)
{
  const struct {
    const char* what;
    void (*raise)();
    const char* text;
  } cases[] = {
      {"our error", [] { throw EConvertError(QStringLiteral("「x」は数値ではありません")); },
       "「x」は数値ではありません"},
      {"standard error", [] { throw std::out_of_range("index 17"); }, "index 17"},
      {"silent abort", [] { Abort(); }, "Operation aborted"},
      {"anything else", [] { throw 42; }, "unknown exception"},
  };
  EXPECT_TRUE(fnCurrentExceptionText().isEmpty());  // outside a catch block
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    g_warnings.clear();
    const QtMessageHandler old = qInstallMessageHandler(collect);
    try {
      c.raise();
    } catch (...) {
      EXPECT_EQ(fnCurrentExceptionText(), QString::fromUtf8(c.text));
      pcLogDroppedError("TTest.Step");
    }
    qInstallMessageHandler(old);
    EXPECT_EQ(g_warnings, QStringList{QStringLiteral("TTest.Step: ") + QString::fromUtf8(c.text)});
  }
}
