#include "platform/SpecialFolders.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/Paths.h"

namespace {

QString clean(const QString& p)
{
  return ExcludeTrailingPathDelimiter(QDir::cleanPath(p));
}

QString xdgDataHome()
{
  const QString x = qEnvironmentVariable("XDG_DATA_HOME");
  if (!x.isEmpty() && QDir::isAbsolutePath(x))
    return x;
  return QDir::homePath() + QStringLiteral("/.local/share");
}

}  // namespace

QString CommonAppDataDir()
{
  const QString root = qEnvironmentVariable("RENDO_DATA_ROOT");
  if (!root.isEmpty())
    return clean(root);
  return clean(xdgDataHome() + QStringLiteral("/rendo"));
}

QString UserAppDataDir()
{
  return CommonAppDataDir() + QStringLiteral("/user");
}

QString AppDataDir(bool common)
{
  return common ? CommonAppDataDir() : UserAppDataDir();
}

QString DocumentsDir()
{
  const QString d = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return clean(d.isEmpty() ? QDir::homePath() : d);
}

QString DesktopDir()
{
  const QString d = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
  return clean(d.isEmpty() ? QDir::homePath() : d);
}

QString TempDir()
{
  const QString t = qEnvironmentVariable("TEMP");
  if (!t.isEmpty() && QFileInfo(t).isDir())
    return clean(t);
  return clean(QDir::tempPath());
}

QString ProgramFile()
{
  if (QCoreApplication::instance())
    return QCoreApplication::applicationFilePath();
  char buf[4096];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0)
    return {};
  buf[n] = 0;
  return QString::fromLocal8Bit(buf);
}

QString ProgramDir()
{
  const QString f = ProgramFile();
  if (f.isEmpty())
    return clean(QDir::currentPath());
  return clean(QFileInfo(f).absolutePath());
}
