#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>

namespace {

bool isDelim(QChar c)
{
  return c == u'/' || c == u'\\';
}

qsizetype lastDelim(const QString& path)
{
  for (qsizetype i = path.size() - 1; i >= 0; --i)
    if (isDelim(path[i]))
      return i;
  return -1;
}

QString normForCompare(const QString& p)
{
  QString s = ToSlashes(p);
  while (s.size() > 1 && s.endsWith(u'/'))
    s.chop(1);
  return s;
}

}  // namespace

QString PathJoin(const QString& a, const QString& b)
{
  if (a.isEmpty())
    return b;
  if (b.isEmpty())
    return a;
  QString left = a;
  while (left.size() > 1 && isDelim(left.back()))
    left.chop(1);
  qsizetype start = 0;
  while (start < b.size() && isDelim(b[start]))
    ++start;
  if (left == u"/" || left == u"\\")
    return QStringLiteral("/") + b.mid(start);
  return left + u'/' + b.mid(start);
}

QString PathJoin(std::initializer_list<QString> parts)
{
  QString out;
  for (const QString& p : parts)
    out = PathJoin(out, p);
  return out;
}

QString ToSlashes(const QString& path)
{
  QString s = path;
  s.replace(u'\\', u'/');
  return s;
}

QString ToBackslashes(const QString& path)
{
  QString s = path;
  s.replace(u'/', u'\\');
  return s;
}

QString IncludeTrailingPathDelimiter(const QString& path)
{
  if (!path.isEmpty() && isDelim(path.back()))
    return path;
  return path + PathDelim;
}

QString ExcludeTrailingPathDelimiter(const QString& path)
{
  if (path.size() > 1 && isDelim(path.back()))
    return path.left(path.size() - 1);
  return path;
}

QString ExtractFilePath(const QString& path)
{
  return path.left(lastDelim(path) + 1);
}

QString ExtractFileDir(const QString& path)
{
  const qsizetype i = lastDelim(path);
  if (i < 0)
    return {};
  if (i == 0)
    return path.left(1);
  return path.left(i);
}

QString ExtractFileName(const QString& path)
{
  return path.mid(lastDelim(path) + 1);
}

QString ExtractFileExt(const QString& path)
{
  const QString name = ExtractFileName(path);
  const qsizetype dot = name.lastIndexOf(u'.');
  return dot < 0 ? QString() : name.mid(dot);
}

QString ChangeFileExt(const QString& path, const QString& ext)
{
  const qsizetype slash = lastDelim(path);
  const qsizetype dot = path.lastIndexOf(u'.');
  const QString base = (dot > slash) ? path.left(dot) : path;
  return base + ext;
}

QString ExtractFileDrive(const QString& path)
{
  if (path.size() >= 2 && path[1] == u':' && path[0].isLetter() && path[0].unicode() < 128)
    return path.left(2);
  if (path.startsWith(QLatin1String("\\\\")) || path.startsWith(QLatin1String("//"))) {
    // "\\host\share"
    qsizetype i = 2;
    int parts = 0;
    while (i < path.size()) {
      if (isDelim(path[i])) {
        if (++parts == 2)
          break;
      }
      ++i;
    }
    return path.left(i);
  }
  return {};
}

bool SameText(const QString& a, const QString& b)
{
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool SamePath(const QString& a, const QString& b)
{
  return SameText(normForCompare(a), normForCompare(b));
}

bool PathIsUnder(const QString& path, const QString& folder)
{
  const QString p = normForCompare(path), f = normForCompare(folder);
  if (SameText(p, f))
    return true;
  const QString prefix = f.endsWith(u'/') ? f : f + u'/';
  return p.startsWith(prefix, Qt::CaseInsensitive);
}

bool FileExists(const QString& path)
{
  QFileInfo fi(path);
  return fi.exists() && !fi.isDir();
}

bool DirectoryExists(const QString& path)
{
  return !path.isEmpty() && QFileInfo(path).isDir();
}

bool ForceDirectories(const QString& path)
{
  if (path.isEmpty())
    return false;
  return QDir().mkpath(path) && DirectoryExists(path);
}

// --- mount points -----------------------------------------------------------

namespace {

struct MountState {
  QMutex lock;
  bool loaded = false;
  QList<MountPoint> points;
  QChar local = u'C';
};

MountState& mountState()
{
  static MountState s;
  return s;
}

QList<MountPoint> parseMountEnv(const QString& spec)
{
  QList<MountPoint> out;
  for (const QString& entry : spec.split(u';', Qt::SkipEmptyParts)) {
    const QStringList f = entry.split(u'|');
    if (f.size() < 2 || f[0].trimmed().isEmpty() || f[1].trimmed().size() != 1)
      continue;
    const QChar label = f[1].trimmed()[0].toUpper();
    if (label < u'A' || label > u'Z')
      continue;
    out << MountPoint{QDir::cleanPath(f[0].trimmed()), label, f.size() > 2 ? f[2].trimmed() : QString()};
  }
  return out;
}

void ensureLoaded(MountState& s)
{
  if (!s.loaded) {
    s.points = parseMountEnv(qEnvironmentVariable("RENDO_MOUNT_POINTS"));
    s.loaded = true;
  }
}

bool underMount(const QString& path, const QString& mount)
{
  if (mount == u"/")
    return path.startsWith(u'/');
  return path == mount || path.startsWith(mount + u'/');
}

}  // namespace

QList<MountPoint> MountPoints()
{
  MountState& s = mountState();
  QMutexLocker l(&s.lock);
  ensureLoaded(s);
  return s.points;
}

void SetMountPoints(const QList<MountPoint>& points)
{
  MountState& s = mountState();
  QMutexLocker l(&s.lock);
  s.points.clear();
  for (MountPoint p : points) {
    p.path = QDir::cleanPath(p.path);
    p.label = p.label.toUpper();
    s.points << p;
  }
  s.loaded = true;
}

QChar LocalDiskLabel()
{
  MountState& s = mountState();
  QMutexLocker l(&s.lock);
  return s.local;
}

void SetLocalDiskLabel(QChar label)
{
  MountState& s = mountState();
  QMutexLocker l(&s.lock);
  s.local = label.toUpper();
}

std::optional<MountPoint> FindMountPoint(const QString& path)
{
  MountState& s = mountState();
  QMutexLocker l(&s.lock);
  ensureLoaded(s);
  const QString p = QDir::cleanPath(ToSlashes(path));
  const MountPoint* best = nullptr;
  for (const MountPoint& m : s.points)
    if (underMount(p, m.path) && (!best || m.path.size() > best->path.size()))
      best = &m;
  if (!best)
    return std::nullopt;
  return *best;
}

QChar DriveLabel(const QString& path)
{
  if (const auto m = FindMountPoint(path))
    return m->label;
  return LocalDiskLabel();
}

QString DriveOf(const QString& path)
{
  return QString(DriveLabel(path)) + u':';
}

QString UncNameOf(const QString& path)
{
  const auto m = FindMountPoint(path);
  if (!m || m->share.isEmpty())
    return path;
  const QString p = QDir::cleanPath(ToSlashes(path));
  QString rest = m->path == u"/" ? p.mid(1) : p.mid(m->path.size() + 1);
  QString unc = ExcludeTrailingPathDelimiter(m->share);
  if (!rest.isEmpty())
    unc += u'\\' + ToBackslashes(rest);
  return unc;
}

QString PathFromUncName(const QString& unc)
{
  const QString u = ToBackslashes(unc);
  for (const MountPoint& m : MountPoints()) {
    if (m.share.isEmpty())
      continue;
    const QString share = ToBackslashes(ExcludeTrailingPathDelimiter(m.share));
    if (SameText(u, share) || SameText(ExcludeTrailingPathDelimiter(u), share))
      return m.path;
    if (u.startsWith(share + u'\\', Qt::CaseInsensitive))
      return PathJoin(m.path, ToSlashes(u.mid(share.size() + 1)));
  }
  return {};
}
