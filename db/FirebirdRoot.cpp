#include "db/FirebirdRoot.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>

#include "platform/SafeSave.h"

namespace db {

namespace {

[[noreturn]] void fail(const QString& what, const QString& path)
{
  throw DbError(QStringLiteral("%1 %2: %3").arg(what, path, QString::fromLocal8Bit(std::strerror(errno))));
}

// Creates or replaces the symbolic link `link` -> `target` atomically, so
// that processes preparing the same root at once never see it missing.
void replaceLink(const QString& target, const QString& link)
{
  const QByteArray tmp = QFile::encodeName(link + QStringLiteral(".tmp%1").arg(::getpid()));
  ::unlink(tmp.constData());
  if (::symlink(QFile::encodeName(target).constData(), tmp.constData()) != 0)
    fail(QStringLiteral("Cannot create link"), link);
  if (::rename(tmp.constData(), QFile::encodeName(link).constData()) != 0) {
    ::unlink(tmp.constData());
    fail(QStringLiteral("Cannot place link"), link);
  }
}

void makeDir(const QString& path)
{
  if (!QDir().mkpath(path))
    throw DbError(QStringLiteral("Cannot create folder %1").arg(path));
}

void writeAtomically(const QString& path, const QByteArray& content)
{
  try {
    SaveFileSafely(path, content);
  } catch (const ESafeSaveError& e) {
    throw DbError(e.message());
  }
}

QString confKey(const QString& line)
{
  const int eq = line.indexOf(QLatin1Char('='));
  return eq < 0 ? QString() : line.left(eq).trimmed().toLower();
}

}  // namespace

QString FirebirdRoot::installedRoot()
{
  const QByteArray env = qgetenv("RENDO_FIREBIRD_INSTALLED_ROOT");
  if (!env.isEmpty())
    return QString::fromLocal8Bit(env);
  QStringList candidates;
  const QDir lib(QStringLiteral("/usr/lib"));
  for (const QString& sub : lib.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
    candidates << lib.filePath(sub + QStringLiteral("/firebird/3.0"));
  candidates << QStringLiteral("/usr/lib/firebird/3.0") << QStringLiteral("/opt/firebird");
  for (const QString& c : candidates)
    if (QFileInfo::exists(c + QStringLiteral("/plugins/libEngine12.so")))
      return c;
  return QStringLiteral("/usr/lib/x86_64-linux-gnu/firebird/3.0");
}

void FirebirdRoot::prepare(const QString& folder, const QStringList& udrModules, const QStringList& confLines)
{
  const QString inst = installedRoot();
  makeDir(folder + QStringLiteral("/plugins/udr"));
  const QDir instDir(inst);
  for (const QFileInfo& fi : instDir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System)) {
    const QString name = fi.fileName();
    if (name == QLatin1String("plugins") || name == QLatin1String("firebird.conf") ||
        name == QLatin1String("plugins.conf"))
      continue;
    replaceLink(fi.absoluteFilePath(), folder + QLatin1Char('/') + name);
  }
  const QDir plugins(inst + QStringLiteral("/plugins"));
  for (const QFileInfo& fi : plugins.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System)) {
    if (fi.fileName() == QLatin1String("udr"))
      continue;
    replaceLink(fi.absoluteFilePath(), folder + QStringLiteral("/plugins/") + fi.fileName());
  }
  // Modules are copied, not linked: the engine checks that the entry point
  // it finds lies in the file it opened, and a link's target has another name.
  for (const QString& m : udrModules) {
    QFile src(m);
    if (!src.open(QIODevice::ReadOnly))
      throw DbError(QStringLiteral("UDR module not found: %1").arg(m));
    writeAtomically(folder + QStringLiteral("/plugins/udr/") + QFileInfo(m).fileName(), src.readAll());
  }
  // The installed plugins.conf names the UDR folder by the compiled-in
  // plugins path; ours names our folder.
  const QString udrDir = QDir(folder + QStringLiteral("/plugins/udr")).absolutePath();
  writeAtomically(folder + QStringLiteral("/plugins.conf"),
                  QStringLiteral("Plugin = UDR {\n\tModule = $(dir_plugins)/udr_engine\n\tConfig = UDR_config\n}\n"
                                 "Config = UDR_config {\n\tpath = %1\n}\n")
                      .arg(udrDir)
                      .toUtf8());

  // The installed settings, less those we set ourselves.
  QStringList ours;
  for (const QString& l : confLines)
    if (!confKey(l).isEmpty())
      ours << confKey(l);
  QByteArray conf;
  QFile installed(inst + QStringLiteral("/firebird.conf"));
  if (installed.open(QIODevice::ReadOnly)) {
    for (const QByteArray& raw : installed.readAll().split('\n')) {
      const QString line = QString::fromUtf8(raw).trimmed();
      if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
        continue;
      if (ours.contains(confKey(line)))
        continue;
      conf += line.toUtf8() + '\n';
    }
  }
  for (const QString& l : confLines)
    conf += l.toUtf8() + '\n';
  writeAtomically(folder + QStringLiteral("/firebird.conf"), conf);
}

bool FirebirdRoot::useForThisProcess(const QString& folder)
{
  if (clientStarted())
    return qgetenv("FIREBIRD") == QFile::encodeName(folder);
  qputenv("FIREBIRD", QFile::encodeName(folder));
  return true;
}

QString FirebirdRoot::setupEmbedded(const QStringList& udrModules)
{
  QStringList abs;
  for (const QString& m : udrModules)
    abs << QFileInfo(m).absoluteFilePath();
  const QByteArray hash =
      QCryptographicHash::hash(abs.join(QLatin1Char('\n')).toUtf8(), QCryptographicHash::Sha1).toHex().left(10);
  const QString folder =
      QDir::tempPath() + QStringLiteral("/rendo-firebird-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
  prepare(folder, abs);
  useForThisProcess(folder);
  return folder;
}

QString FirebirdRoot::currentRoot()
{
  const QByteArray env = qgetenv("FIREBIRD");
  return env.isEmpty() ? installedRoot() : QFile::decodeName(env);
}

}  // namespace db
