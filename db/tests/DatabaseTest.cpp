#include <QFileInfo>

#include "db/FirebirdRoot.h"
#include "db/tests/DbTestEnv.h"

using namespace db;

TEST(Database, CreateSetsPageSizeAndCharsetAndDropRemovesTheFile)
{
  TestTempDir tmp;
  const struct {
    int pageSize;
    const char* charset;
  } cases[] = {{16384, "UTF8"}, {4096, "NONE"}, {8192, "SJIS_0208"}};
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.charset);
    // A folder name with Japanese text: file names are passed as UTF-8.
    const QString path = tmp.file(QStringLiteral("データ%1.fdb").arg(++n));
    Database::create(path, QString::fromLatin1(FirebirdServer::User), QString::fromLatin1(FirebirdServer::Password),
                     c.pageSize, QString::fromLatin1(c.charset));
    ASSERT_TRUE(QFileInfo::exists(path));
    Database d(path);
    d.setUser(QString::fromLatin1(FirebirdServer::User));
    d.connect();
    EXPECT_TRUE(d.isConnected());
    EXPECT_TRUE(d.serverVersion().contains(QStringLiteral("3.0"))) << d.serverVersion().toStdString();
    {
      Transaction tr(d);
      tr.start();
      Query q(
          tr,
          QStringLiteral(
              "SELECT MON$PAGE_SIZE, MON$SQL_DIALECT, (SELECT TRIM(RDB$CHARACTER_SET_NAME) FROM RDB$DATABASE) AS CS,"
              " (SELECT TRIM(MON$USER) FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION) AS U,"
              " (SELECT TRIM(C.RDB$CHARACTER_SET_NAME) FROM MON$ATTACHMENTS A JOIN RDB$CHARACTER_SETS C ON "
              "C.RDB$CHARACTER_SET_ID = A.MON$CHARACTER_SET_ID"
              " WHERE A.MON$ATTACHMENT_ID = CURRENT_CONNECTION) AS CC FROM MON$DATABASE"));
      q.open();
      EXPECT_EQ(q.field(0).asInt(), c.pageSize);
      EXPECT_EQ(q.field(1).asInt(), 3);
      EXPECT_EQ(q.field(QStringLiteral("CS")).asString(), QString::fromLatin1(c.charset));
      EXPECT_EQ(q.field(QStringLiteral("U")).asString(), QStringLiteral("ABACOR"));
      EXPECT_EQ(q.field(QStringLiteral("CC")).asString(), QStringLiteral("UTF8"));
    }
    d.drop();
    EXPECT_FALSE(d.isConnected());
    EXPECT_FALSE(QFileInfo::exists(path));
  }
  EXPECT_THROW(
      Database::create(
          tmp.file(QStringLiteral("データ1.fdb")).replace(QStringLiteral("データ1"), QStringLiteral("no/such/dir")),
          QStringLiteral("ABACOR"), QString()),
      DbError);
}

TEST(Database, ConnectionParametersAndReconnect)
{
  TestTempDir tmp;
  auto d = createTestDb(tmp);
  EXPECT_EQ(Database::remoteName(QStringLiteral("srv"), QStringLiteral("/data/wqacc2.fdb")),
            QStringLiteral("srv/3051:/data/wqacc2.fdb"));
  EXPECT_EQ(Database::remoteName(QStringLiteral("127.0.0.1"), 3052, QStringLiteral("/x")),
            QStringLiteral("127.0.0.1/3052:/x"));
  d->disconnect();
  d->disconnect();  // twice is harmless
  d->setRole(QStringLiteral("RDB$ADMIN"));
  d->setCharset(QStringLiteral("NONE"));
  d->connect();
  d->connect();  // reconnects
  Transaction tr(*d);
  tr.start();
  Query q(tr,
          QStringLiteral(
              "SELECT TRIM(C.RDB$CHARACTER_SET_NAME) FROM MON$ATTACHMENTS A JOIN RDB$CHARACTER_SETS C"
              " ON C.RDB$CHARACTER_SET_ID = A.MON$CHARACTER_SET_ID WHERE A.MON$ATTACHMENT_ID = CURRENT_CONNECTION"));
  q.open();
  EXPECT_EQ(q.field(0).asString(), QStringLiteral("NONE"));
}

TEST(Database, EmbeddedEngineUsesThePrivateRootWithOurModule)
{
  const QString root = FirebirdRoot::currentRoot();
  EXPECT_NE(root, FirebirdRoot::installedRoot());
  EXPECT_TRUE(QFileInfo::exists(root + QStringLiteral("/plugins/udr/librendo_udr.so")));
  EXPECT_TRUE(QFileInfo::exists(root + QStringLiteral("/plugins/libEngine12.so")));
  EXPECT_TRUE(QFileInfo::exists(root + QStringLiteral("/firebird.msg")));
}
