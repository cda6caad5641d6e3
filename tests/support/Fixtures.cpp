#include "tests/support/Fixtures.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <stdexcept>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QMutex>
#include <QTemporaryDir>

#include "db/Database.h"
#include "db/Services.h"
#include "tests/support/FirebirdServer.h"

// Building a database from the scripts takes seconds; a test process builds
// each kind once into a template folder and copies the file for every test
// that asks for one (the copies are independent databases).
//
// When RENDO_FIXTURE_CACHE names a folder, the templates are shared between
// test processes through that folder: the first process that needs a kind
// builds it under a file lock and renames it into place; the others copy it.
// The test command empties the folder at the start of every run, so a
// template never outlives the code that built it.

namespace testfx {

namespace {

QTemporaryDir& templateDir()
{
  static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/rendo-fixture-templates-XXXXXX"));
  return dir;
}

QMutex& templateMutex()
{
  static QMutex m;
  return m;
}

QString sharedCacheDir()
{
  return QString::fromLocal8Bit(qgetenv("RENDO_FIXTURE_CACHE"));
}

// Holds an exclusive advisory lock on `path` for its lifetime.
class FileLock {
 public:
  explicit FileLock(const QString& path)
  {
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0)
      throw std::runtime_error(("cannot open the fixture cache lock " + path).toStdString());
    while (::flock(m_fd, LOCK_EX) != 0) {
      if (errno != EINTR) {
        ::close(m_fd);
        throw std::runtime_error(("cannot lock the fixture cache lock " + path).toStdString());
      }
    }
  }
  ~FileLock()
  {
    ::flock(m_fd, LOCK_UN);
    ::close(m_fd);
  }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

 private:
  int m_fd = -1;
};

// The template in the shared cache folder, built by this process when no
// other process has built it yet.
QString sharedTemplateFile(const QString& cache, const QString& key, const std::function<void(const QString&)>& make)
{
  QDir().mkpath(cache);
  const QString base = QDir(cache).filePath(key);
  const QString path = base + QStringLiteral(".fdb");
  FileLock lock(base + QStringLiteral(".lock"));
  if (QFileInfo::exists(path))
    return path;
  const QString building = base + QStringLiteral(".building-%1.fdb").arg(::getpid());
  QFile::remove(building);
  try {
    make(building);
  } catch (...) {
    QFile::remove(building);
    throw;
  }
  if (::rename(QFile::encodeName(building).constData(), QFile::encodeName(path).constData()) != 0) {
    QFile::remove(building);
    throw std::runtime_error(("cannot move the fixture template into " + path).toStdString());
  }
  return path;
}

// The template file for `key`, made by `make` (given the path) on first use.
QString templateFile(const QString& key, const std::function<void(const QString&)>& make)
{
  QMutexLocker lock(&templateMutex());
  static QMap<QString, QString> made;
  if (made.contains(key))
    return made.value(key);
  const QString cache = sharedCacheDir();
  if (!cache.isEmpty()) {
    const QString path = sharedTemplateFile(cache, key, make);
    made.insert(key, path);
    return path;
  }
  if (!templateDir().isValid())
    throw std::runtime_error("cannot create the fixture template folder");
  const QString dir = templateDir().filePath(QString::number(made.size()));
  QDir().mkpath(dir);
  const QString path = dir + QStringLiteral("/template.fdb");
  make(path);
  made.insert(key, path);
  return path;
}

void copyInto(const QString& from, const QString& to)
{
  QDir().mkpath(QFileInfo(to).absolutePath());
  if (QFileInfo::exists(to))
    throw std::runtime_error(("fixture database already exists: " + to).toStdString());
  if (!QFile::copy(from, to))
    throw std::runtime_error(("cannot copy the fixture database to " + to).toStdString());
  QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup);
}

QString systemTemplate(fixtures::SystemGeneration generation)
{
  return templateFile(QStringLiteral("sys-%1").arg(int(generation)), [&](const QString& path) {
    builder().createSystemDatabase(path, generation);
    db::Database database;
    builder().open(database, path);
    fixtures::SystemFixture fx(database);
    fixtures::sample::fillSystem(fx, QFileInfo(path).absolutePath());
  });
}

QString companyTemplate(const fixtures::sample::DataSet& ds, const fixtures::sample::DataRootOptions& options)
{
  const QString key = QStringLiteral("com-%1-%2-%3-%4-%5")
                          .arg(int(ds.kind))
                          .arg(ds.nendo)
                          .arg(ds.kishu.toString(Qt::ISODate))
                          .arg(options.journal ? 1 : 0)
                          .arg(options.journal ? fixtures::sample::journalSeed(ds, options) : 0);
  return templateFile(key, [&](const QString& path) {
    builder().createCompanyDatabase(path, ds.kind);
    db::Database database;
    builder().open(database, path);
    fixtures::CompanyFixture fx(database);
    fixtures::sample::fillDataSet(fx, ds, options);
  });
}

QString fileManagerTemplate()
{
  return templateFile(QStringLiteral("fm"), [](const QString& path) { builder().createFileManagerDatabase(path); });
}

}  // namespace

void prepareEngine()
{
  static const bool done = [] {
    FirebirdServer::useEmbeddedRootWithUdr();
    return true;
  }();
  (void)done;
}

const fixtures::FixtureBuilder& builder()
{
  // Templates and their copies are scratch databases: forced writes off
  // builds them several times faster with the same contents.
  static const fixtures::FixtureBuilder b = [] {
    fixtures::FixtureBuilder fb;
    fb.setForcedWrites(false);
    return fb;
  }();
  return b;
}

QString makeSystemDb(const QString& folder, fixtures::SystemGeneration generation)
{
  prepareEngine();
  const QString root = QDir(folder).absolutePath();
  const QString path = root + QLatin1Char('/') + fixtures::sample::systemDbName();
  copyInto(systemTemplate(generation), path);
  db::Database database;
  builder().open(database, path);
  fixtures::SystemFixture fx(database);
  fx.relocateDataSlots(fixtures::sample::GroupId, root);
  return path;
}

QString makeCompanyDb(const QString& folder, fixtures::CompanyKind kind, bool journal)
{
  prepareEngine();
  fixtures::sample::DataSet ds;
  ds.kind = kind;
  ds.rec = 1;
  ds.nendo = 1;
  ds.kishu = fixtures::sample::fiscalStart();
  fixtures::sample::DataRootOptions options;
  options.journal = journal;
  const QString path = QDir(folder).absoluteFilePath(fixtures::sample::companyDbName());
  copyInto(companyTemplate(ds, options), path);
  return path;
}

QString makeFileManagerDb(const QString& folder)
{
  prepareEngine();
  const QString path = QDir(folder).absoluteFilePath(fixtures::sample::fileManagerDbName());
  copyInto(fileManagerTemplate(), path);
  return path;
}

fixtures::sample::DataRoot makeDataRoot(const QString& folder, const fixtures::sample::DataRootOptions& options)
{
  prepareEngine();
  fixtures::sample::DataRoot out;
  out.root = QDir(folder).absolutePath();
  out.systemDb = makeSystemDb(out.root, options.generation);
  out.fileManagerDb = makeFileManagerDb(out.root);
  db::Database sysDb;
  builder().open(sysDb, out.systemDb);
  fixtures::SystemFixture sys(sysDb);
  for (const fixtures::sample::DataSet& ds : fixtures::sample::plannedDataSets(out.root, options)) {
    copyInto(companyTemplate(ds, options), ds.database);
    fixtures::sample::registerDataSet(sys, ds);
    out.dataSets << ds;
  }
  return out;
}

QStringList makeInitTemplates(const QString& folder)
{
  prepareEngine();
  static QMutex backupMutex;
  static QMap<int, QString> backups;
  QMutexLocker lock(&backupMutex);
  QDir().mkpath(folder);
  QStringList out;
  const struct {
    fixtures::CompanyKind kind;
    QStringList names;
  } sets[] = {
      {fixtures::CompanyKind::General,
       {QStringLiteral("init_acc11.fbk"), QStringLiteral("init_acc21.fbk"), QStringLiteral("init_acc22.fbk"),
        QStringLiteral("init_acc23.fbk"), QStringLiteral("init_acc24.fbK")}},
      {fixtures::CompanyKind::Medical, {QStringLiteral("init_acc31.fbk")}},
  };
  for (const auto& set : sets) {
    const int key = int(set.kind);
    if (!backups.contains(key)) {
      const QString fdb = templateFile(QStringLiteral("init-%1").arg(key), [&](const QString& path) {
        builder().createInitTemplateDatabase(path, set.kind);
      });
      // The backup is taken of a private copy: the shared template may be
      // read by other test processes at the same time.
      if (!templateDir().isValid())
        throw std::runtime_error("cannot create the fixture template folder");
      const QString copy = templateDir().filePath(QStringLiteral("init-%1.fdb").arg(key));
      const QString fbk = templateDir().filePath(QStringLiteral("init-%1.fbk").arg(key));
      QFile::remove(copy);
      QFile::remove(fbk);
      copyInto(fdb, copy);
      db::Services svc;
      svc.setUser(builder().credentials().user);
      svc.setPassword(builder().credentials().password);
      svc.backup(copy, fbk);
      svc.detach();
      QFile::remove(copy);
      backups.insert(key, fbk);
    }
    for (const QString& name : set.names) {
      const QString to = QDir(folder).absoluteFilePath(name);
      QFile::remove(to);
      if (!QFile::copy(backups.value(key), to))
        throw std::runtime_error(("cannot copy the template backup to " + to).toStdString());
      out << to;
    }
  }
  return out;
}

}  // namespace testfx
