#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "db/Script.h"
#include "db/Services.h"
#include "db/tests/DbTestEnv.h"

using namespace db;

namespace {

QString user()
{
  return QString::fromLatin1(FirebirdServer::User);
}
QString password()
{
  return QString::fromLatin1(FirebirdServer::Password);
}

std::unique_ptr<Database> serverDb(const FirebirdServer& srv, const QString& path, bool create)
{
  if (create)
    Database::create(srv.remoteName(path), user(), password());
  auto d = std::make_unique<Database>(srv.remoteName(path));
  d->setUser(user());
  d->setPassword(password());
  d->connect();
  return d;
}

int readCount(Database& d, const QString& table)
{
  Transaction tr(d);
  tr.start();
  Query q(tr, QStringLiteral("SELECT COUNT(*) FROM ") + table);
  q.open();
  return q.field(0).asInt();
}

}  // namespace

TEST(ClientServer, ConnectCreateAndRoundTripThroughTheServer)
{
  const FirebirdServer& srv = FirebirdServer::shared();
  TestTempDir tmp;
  auto d = serverDb(srv, tmp.file(QStringLiteral("cs.fdb")), true);
  execCommit(
      *d, QStringLiteral("CREATE TABLE T (ID INTEGER, NAME VARCHAR(40), AMT NUMERIC(18,4), MEMO BLOB SUB_TYPE TEXT)"));
  Transaction tr(*d);
  tr.start();
  Query ins(tr, QStringLiteral("INSERT INTO T VALUES (:ID, :NAME, :AMT, :MEMO)"));
  ins.setParam(QStringLiteral("ID"), 1);
  ins.setParam(QStringLiteral("NAME"), QStringLiteral("髙橋①～－"));
  ins.setParam(QStringLiteral("AMT"), Currency::fromString(u"-12345.6789"));
  ins.setParam(QStringLiteral("MEMO"), QStringLiteral("摘要").repeated(40000));
  ins.exec();
  Query q(tr, QStringLiteral("SELECT * FROM T"));
  q.open();
  EXPECT_EQ(q.field(QStringLiteral("NAME")).asString(), QStringLiteral("髙橋①～－"));
  EXPECT_EQ(q.field(QStringLiteral("AMT")).asCurrency(), Currency::fromString(u"-12345.6789"));
  EXPECT_EQ(q.field(QStringLiteral("MEMO")).asString(), QStringLiteral("摘要").repeated(40000));
  Query who(tr,
            QStringLiteral(
                "SELECT TRIM(MON$REMOTE_PROTOCOL) FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION"));
  who.open();
  EXPECT_EQ(who.field(0).asString(), QStringLiteral("TCPv4"));
  tr.commit();
  d->drop();
}

TEST(ClientServer, LoginFailuresCarryTheirCode)
{
  const FirebirdServer& srv = FirebirdServer::shared();
  TestTempDir tmp;
  serverDb(srv, tmp.file(QStringLiteral("login.fdb")), true)->disconnect();
  const struct {
    const char* user;
    const char* password;
  } cases[] = {{"ABACOR", "wrong"}, {"NOBODY", "dormil"}, {"ABACOR", ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.user);
    Database d(srv.remoteName(tmp.file(QStringLiteral("login.fdb"))));
    d.setUser(QString::fromLatin1(c.user));
    d.setPassword(QString::fromLatin1(c.password));
    try {
      d.connect();
      FAIL() << "login accepted";
    } catch (const DbError& e) {
      EXPECT_EQ(e.gdscode(), DbError::LoginFailed) << e.message().toStdString();
      EXPECT_FALSE(e.isLostConnection());
    }
    EXPECT_FALSE(d.isConnected());
  }
  // Nothing listens on this port: the network error is the lost-connection kind.
  Database none(QStringLiteral("127.0.0.1/1:") + tmp.file(QStringLiteral("login.fdb")));
  none.setUser(user());
  none.setPassword(password());
  try {
    none.connect();
    FAIL() << "connected to nothing";
  } catch (const DbError& e) {
    EXPECT_EQ(e.gdscode(), DbError::NetworkError) << e.message().toStdString();
  }
}

// A server that dies under an open session: every later call reports the lost
// connection, and cleaning up does not throw. The test uses its own server so
// that parallel tests on the shared one go on undisturbed.
TEST(ClientServer, LostServerSurfacesAsLostConnection)
{
  FirebirdServer own;
  own.start();
  TestTempDir tmp;
  auto d = serverDb(own, tmp.file(QStringLiteral("lost.fdb")), true);
  execCommit(*d, QStringLiteral("CREATE TABLE T (ID INTEGER)"));
  Transaction tr(*d);
  tr.start();
  Query q(tr, QStringLiteral("SELECT COUNT(*) FROM T"));
  q.open();
  EXPECT_EQ(q.field(0).asInt(), 0);

  own.stop();
  EXPECT_FALSE(own.isRunning());

  QList<int> seen;
  for (int i = 0; i < 2; ++i) {
    try {
      Query again(tr, QStringLiteral("SELECT COUNT(*) FROM T"));
      again.open();
      FAIL() << "query ran on a stopped server";
    } catch (const DbError& e) {
      EXPECT_TRUE(e.isLostConnection()) << e.gdscode() << " " << e.message().toStdString();
      EXPECT_EQ(e.sqlcode(), -902) << e.message().toStdString();
      seen << e.gdscode();
    }
  }
  // The first call after the server died fails reading its answer
  // (335544726, "Error reading data from the connection"); a connection
  // attempt to a server that is not there fails with 335544721.
  EXPECT_EQ(seen.value(0), DbError::NetReadError) << seen.value(0);
  std::cerr << "lost-connection codes seen:";
  for (int c : seen)
    std::cerr << " " << c;
  std::cerr << "\n";
  EXPECT_THROW(tr.commit(), DbError);
  EXPECT_FALSE(tr.inTransaction());
  d->disconnect();  // releases without throwing
  EXPECT_FALSE(d->isConnected());
}

TEST(Services, BackupRestoreAndValidationThroughTheServer)
{
  const FirebirdServer& srv = FirebirdServer::shared();
  TestTempDir tmp;
  const QString src = tmp.file(QStringLiteral("wqacc2.fdb"));
  {
    auto d = serverDb(srv, src, true);
    execCommit(*d, QStringLiteral("CREATE TABLE T (ID INTEGER, NAME VARCHAR(20))"));
    execCommit(*d, QStringLiteral("INSERT INTO T VALUES (1, '会社')"));
  }
  Services svc(srv.host(), user(), password(), srv.port());
  EXPECT_EQ(svc.serviceName(), QStringLiteral("127.0.0.1/%1:service_mgr").arg(srv.port()));
  const QString fbk = tmp.file(QStringLiteral("wqacc2.fbk"));
  QStringList progress;
  Services::BackupOptions bo;
  bo.ignoreLimbo = bo.noGarbageCollection = bo.nonTransportable = true;
  const QStringList lines = svc.backup(src, fbk, bo, [&](const QString& l) { progress << l; });
  EXPECT_EQ(lines, progress);
  EXPECT_TRUE(lines.join(QLatin1Char('\n')).contains(QStringLiteral("closing file")))
      << lines.join(QLatin1Char('\n')).toStdString();
  EXPECT_GT(QFileInfo(fbk).size(), 0);

  const QString restored = tmp.file(QStringLiteral("restored/wqacc2.fdb"));
  ASSERT_TRUE(QDir().mkpath(tmp.file(QStringLiteral("restored"))));
  Services::RestoreOptions ro;
  ro.pageSize = 16384;
  ro.pageBuffers = 4096;
  const QStringList rlines = svc.restore(fbk, restored, ro);
  EXPECT_FALSE(rlines.isEmpty());
  {
    auto r = serverDb(srv, restored, false);
    EXPECT_EQ(readCount(*r, QStringLiteral("T")), 1);
    Transaction tr(*r);
    tr.start();
    Query q(tr, QStringLiteral("SELECT MON$PAGE_SIZE FROM MON$DATABASE"));
    q.open();
    EXPECT_EQ(q.field(0).asInt(), 16384);
  }
  // Restoring over the same file again replaces it.
  EXPECT_NO_THROW(svc.restore(fbk, restored, ro));
  // Create-only refuses an existing database.
  ro.replace = false;
  EXPECT_THROW(svc.restore(fbk, restored, ro), DbError);

  const Services::ValidationResult v = svc.validate(restored);
  EXPECT_TRUE(v.valid) << v.lines.join(QLatin1Char('\n')).toStdString();

  const DbError missing = [&] {
    try {
      svc.backup(tmp.file(QStringLiteral("nothere.fdb")), tmp.file(QStringLiteral("x.fbk")));
    } catch (const DbError& e) {
      return e;
    }
    return DbError(QString());
  }();
  EXPECT_EQ(missing.gdscode(), DbError::IoError) << missing.message().toStdString();
}

TEST(Services, ValidationFindsADamagedDatabase)
{
  TestTempDir tmp;
  const QString path = tmp.file(QStringLiteral("damaged.fdb"));
  {
    auto d = createTestDb(tmp, QStringLiteral("damaged.fdb"));
    d->setUser(user());
    execCommit(*d, QStringLiteral("CREATE TABLE T (ID INTEGER, PAD VARCHAR(1000))"));
    execCommit(*d, QStringLiteral("EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN WHILE (I < 2000) DO BEGIN "
                                  "INSERT INTO T VALUES (:I, LPAD('', 900, 'x')); I = I + 1; END END"));
  }
  Services local(QString(), user(), password());
  EXPECT_EQ(local.serviceName(), QStringLiteral("service_mgr"));
  EXPECT_TRUE(local.validate(path).valid);

  // Overwrite data pages in the middle of the file with garbage.
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadWrite));
  const qint64 size = f.size();
  for (qint64 pos = size / 2; pos < size / 2 + 16384 * 4; pos += 16384) {
    f.seek(pos + 100);
    f.write(QByteArray(2000, '\x5a'));
  }
  f.close();
  const Services::ValidationResult v = local.validate(path);
  EXPECT_FALSE(v.valid);
  EXPECT_FALSE(v.lines.isEmpty());
}

TEST(Services, LocalBackupRestoreWithoutAServer)
{
  TestTempDir tmp;
  {
    auto d = createTestDb(tmp, QStringLiteral("local.fdb"));
    execCommit(*d, QStringLiteral("CREATE TABLE T (ID INTEGER)"));
    execCommit(*d, QStringLiteral("INSERT INTO T VALUES (7)"));
  }
  Services local(QString(), user(), password());
  // A caller that stops reading half way leaves the service manager free.
  struct Stop {};
  EXPECT_THROW(local.backup(tmp.file(QStringLiteral("local.fdb")), tmp.file(QStringLiteral("partial.fbk")),
                            Services::BackupOptions{}, [](const QString&) { throw Stop{}; }),
               Stop);
  EXPECT_FALSE(local.isAttached());
  const QStringList out = local.backup(tmp.file(QStringLiteral("local.fdb")), tmp.file(QStringLiteral("local.fbk")));
  EXPECT_FALSE(out.isEmpty());
  local.restore(tmp.file(QStringLiteral("local.fbk")), tmp.file(QStringLiteral("copy.fdb")));
  Database c(tmp.file(QStringLiteral("copy.fdb")));
  c.setUser(user());
  c.connect();
  EXPECT_EQ(readCount(c, QStringLiteral("T")), 1);
}

TEST(Services, AttachmentsAndServerProperties)
{
  const FirebirdServer& srv = FirebirdServer::shared();
  TestTempDir tmp;
  const QString path = tmp.file(QStringLiteral("attached.fdb"));
  auto d = serverDb(srv, path, true);
  Services admin(srv.host(), QString::fromLatin1(FirebirdServer::AdminUser),
                 QString::fromLatin1(FirebirdServer::AdminPassword), srv.port());
  Services::AttachmentInfo info = admin.attachments();
  EXPECT_GE(info.attachments, 1);
  EXPECT_GE(info.databases, 1);
  EXPECT_TRUE(info.databaseNames.contains(path)) << info.databaseNames.join(QLatin1Char(',')).toStdString();
  d->disconnect();
  info = admin.attachments();
  EXPECT_FALSE(info.databaseNames.contains(path));

  EXPECT_TRUE(admin.serverVersion().contains(QStringLiteral("3.0"))) << admin.serverVersion().toStdString();
  EXPECT_EQ(QFileInfo(admin.homeDirectory()).canonicalFilePath(), QFileInfo(srv.rootDir()).canonicalFilePath())
      << admin.homeDirectory().toStdString();

  Services wrong(srv.host(), QString::fromLatin1(FirebirdServer::AdminUser), QStringLiteral("bad"), srv.port());
  try {
    wrong.attach();
    FAIL() << "attached with a wrong password";
  } catch (const DbError& e) {
    EXPECT_EQ(e.gdscode(), DbError::LoginFailed) << e.message().toStdString();
  }
}

TEST(ServerFiles, UdrProceduresRunOnTheServer)
{
  const FirebirdServer& srv = FirebirdServer::shared();
  TestTempDir tmp;
  auto d = serverDb(srv, tmp.file(QStringLiteral("wqaccdef2.fdb")), true);
  Script::runFile(*d, QStringLiteral(RENDO_SOURCE_DIR "/fixtures/udr/udr_procs.sql"));
  execCommit(*d,
             QStringLiteral(
                 "CREATE TABLE FILETRANS (CONTENT_ID VARCHAR(40) NOT NULL PRIMARY KEY, CONTENT BLOB SUB_TYPE BINARY)"));

  const QString a = tmp.file(QStringLiteral("dir/a.txt"));
  const QString b = tmp.file(QStringLiteral("dir2/sub/b.txt"));
  const QString folder = tmp.file(QStringLiteral("新しいフォルダ/x"));
  Transaction tr(*d);
  tr.start();
  Query fileOp(tr, QStringLiteral("SELECT WBOOL FROM FILEOPERATION(:MODE,:FILEPATH1,:FILEPATH2)"));
  Query dirOp(tr, QStringLiteral("SELECT WBOOL FROM DIRECTORYTEST(:MODE,:FILEPATH1)"));
  auto runFile = [&](const QString& mode, const QString& p1, const QString& p2) {
    fileOp.setParam(QStringLiteral("MODE"), mode);
    fileOp.setParam(QStringLiteral("FILEPATH1"), p1);
    fileOp.setParam(QStringLiteral("FILEPATH2"), p2);
    fileOp.open();
    const int r = fileOp.field(QStringLiteral("WBOOL")).asInt();
    fileOp.close();
    return r;
  };
  auto runDir = [&](const QString& mode, const QString& p1) {
    dirOp.setParam(QStringLiteral("MODE"), mode);
    dirOp.setParam(QStringLiteral("FILEPATH1"), p1);
    dirOp.open();
    const int r = dirOp.field(QStringLiteral("WBOOL")).asInt();
    dirOp.close();
    return r;
  };

  EXPECT_EQ(runDir(QStringLiteral("DExist"), tmp.file(QStringLiteral("dir"))), 0);
  EXPECT_EQ(runDir(QStringLiteral("MkDir"), tmp.file(QStringLiteral("dir"))), 1);
  EXPECT_EQ(runDir(QStringLiteral("mkdir"), tmp.file(QStringLiteral("dir"))), 1);  // exists already
  EXPECT_EQ(runDir(QStringLiteral("MKDIR"), folder), 1);
  EXPECT_TRUE(QFileInfo(folder).isDir());
  EXPECT_EQ(runDir(QStringLiteral("DEXIST"), folder), 1);
  QFile fa(a);
  ASSERT_TRUE(fa.open(QIODevice::WriteOnly));
  fa.write("contents");
  fa.close();

  const struct {
    const char* mode;
    QString p1, p2;
    int result;
  } fileCases[] = {
      {"FExist", a, QString(), 1},
      {"FEXIST", b, QString(), 0},
      {"FExist", tmp.file(QStringLiteral("dir")), QString(), 0},  // a folder is not a file
      {"FCopy", a, QString(), 0},                                 // no target
      {"FCopy", a, b, 1},                                         // target folders created
      {"FExist", b, QString(), 1},
      {"FCopy", tmp.file(QStringLiteral("none")), b, 0},
      {"FDel", a, QString(), 1},
      {"FDel", a, QString(), 0},
      {"FExist", a, QString(), 0},
      {"Bogus", b, QString(), 0},
      {"FExist", QStringLiteral("  "), QString(), 0},
  };
  for (const auto& c : fileCases)
    EXPECT_EQ(runFile(QString::fromLatin1(c.mode), c.p1, c.p2), c.result) << c.mode << " " << c.p1.toStdString();
  QFile fb(b);
  ASSERT_TRUE(fb.open(QIODevice::ReadOnly));
  EXPECT_EQ(fb.readAll(), QByteArray("contents"));
  fb.close();

  EXPECT_EQ(runDir(QStringLiteral("RmDir"), tmp.file(QStringLiteral("dir2"))), 1);
  EXPECT_FALSE(QFileInfo::exists(tmp.file(QStringLiteral("dir2"))));
  EXPECT_EQ(runDir(QStringLiteral("RmDir"), QStringLiteral("/")), 0);
  EXPECT_EQ(runDir(QStringLiteral("RmDir"), QStringLiteral("/tmp")), 0);
  EXPECT_TRUE(QFileInfo(QStringLiteral("/tmp")).isDir());

  Query shortName(tr, QStringLiteral("SELECT SHORTNAME FROM LONGTOSHORTFILENAME(:LONGNAME)"));
  shortName.setParam(QStringLiteral("LONGNAME"), folder);
  shortName.open();
  EXPECT_EQ(shortName.field(QStringLiteral("SHORTNAME")).asString(), folder);

  // Server file -> blob -> client, and client -> blob -> server file.
  QByteArray payload;
  for (int i = 0; i < 300000; ++i)
    payload.append(char(i % 251));
  const QString serverFile = tmp.file(QStringLiteral("payload.bin"));
  QFile pf(serverFile);
  ASSERT_TRUE(pf.open(QIODevice::WriteOnly));
  pf.write(payload);
  pf.close();
  Query put(tr, QStringLiteral("INSERT INTO FILETRANS(CONTENT_ID,CONTENT) VALUES(:KEY, SP_FILETOBLOB(:FILE))"));
  put.setParam(QStringLiteral("KEY"), QStringLiteral("WQZ_1"));
  put.setParam(QStringLiteral("FILE"), serverFile);
  put.exec();
  tr.commitRetaining();
  Query get(tr, QStringLiteral("SELECT CONTENT FROM FILETRANS WHERE CONTENT_ID = :KEY"));
  get.setParam(QStringLiteral("KEY"), QStringLiteral("WQZ_1"));
  get.open();
  EXPECT_EQ(get.field(0).asBytes(), payload);
  get.close();

  Query load(tr, QStringLiteral("INSERT INTO FILETRANS(CONTENT_ID,CONTENT) VALUES(:CONTENT_ID,:CONTENT)"));
  load.setParam(QStringLiteral("CONTENT_ID"), QStringLiteral("WQZ_2"));
  load.setParam(QStringLiteral("CONTENT"), payload);
  load.exec();
  tr.commitRetaining();
  const QString written = tmp.file(QStringLiteral("out/written.bin"));
  QDir().mkpath(tmp.file(QStringLiteral("out")));
  Query toFile(
      tr, QStringLiteral(
              "SELECT CONTENT_ID, SP_BLOBTOFILE(:FILE, CONTENT) AS CONTENT FROM FILETRANS WHERE CONTENT_ID = :KEY"));
  toFile.setParam(QStringLiteral("FILE"), written);
  toFile.setParam(QStringLiteral("KEY"), QStringLiteral("WQZ_2"));
  toFile.open();
  EXPECT_EQ(toFile.field(QStringLiteral("CONTENT")).asInt(), 1);
  toFile.close();
  QFile wf(written);
  ASSERT_TRUE(wf.open(QIODevice::ReadOnly));
  EXPECT_EQ(wf.readAll(), payload);

  // A server file that cannot be read is an error, not an empty blob.
  put.setParam(QStringLiteral("KEY"), QStringLiteral("WQZ_3"));
  put.setParam(QStringLiteral("FILE"), tmp.file(QStringLiteral("missing.bin")));
  EXPECT_THROW(put.exec(), DbError);
  tr.commit();
}
