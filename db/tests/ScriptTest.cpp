#include <QFile>

#include "db/Script.h"
#include "db/tests/DbTestEnv.h"

using namespace db;

TEST(Script, SplitsAtTerminatorsOutsideStringsAndComments)
{
  const QString text = QStringLiteral(
      "-- a comment; with a semicolon\n"
      "CREATE TABLE A (X VARCHAR(10));\n"
      "INSERT INTO A VALUES ('a;b'); INSERT INTO A VALUES ('it''s');\n"
      "/* block; comment */\n"
      "SET TERM ^ ;\n"
      "CREATE PROCEDURE P AS\n"
      "BEGIN\n"
      "  INSERT INTO A VALUES ('x;y'); -- inner; comment\n"
      "END^\n"
      "SET TERM ; ^\n"
      "COMMENT ON TABLE A IS 'テーブル;説明';\n"
      "SELECT \"semi;colon\" FROM A");
  const QList<Script::Statement> s = Script::split(text);
  ASSERT_EQ(s.size(), 6);
  EXPECT_EQ(s[0].text, QStringLiteral("CREATE TABLE A (X VARCHAR(10))"));
  EXPECT_EQ(s[0].line, 2);
  EXPECT_EQ(s[1].text, QStringLiteral("INSERT INTO A VALUES ('a;b')"));
  EXPECT_EQ(s[2].text, QStringLiteral("INSERT INTO A VALUES ('it''s')"));
  EXPECT_EQ(s[2].line, 3);
  EXPECT_TRUE(s[3].text.startsWith(QStringLiteral("CREATE PROCEDURE P AS")));
  EXPECT_TRUE(s[3].text.contains(QStringLiteral("VALUES ('x;y');")));
  EXPECT_TRUE(s[3].text.endsWith(QStringLiteral("END")));
  EXPECT_EQ(s[3].line, 6);
  EXPECT_EQ(s[4].text, QStringLiteral("COMMENT ON TABLE A IS 'テーブル;説明'"));
  EXPECT_EQ(s[4].line, 11);
  EXPECT_EQ(s[5].text, QStringLiteral("SELECT \"semi;colon\" FROM A"));
  EXPECT_TRUE(Script::split(QStringLiteral("  \n-- only a comment\n")).isEmpty());
}

TEST(Script, RunsStatementsAndReportsTheFailingLine)
{
  TestTempDir tmp;
  auto d = createTestDb(tmp);
  const QString good = QStringLiteral(
      "SET SQL DIALECT 3;\n"
      "CREATE TABLE A (ID INTEGER NOT NULL PRIMARY KEY, X VARCHAR(10));\n"
      "SET TERM !! ;\n"
      "CREATE TRIGGER A_BI FOR A BEFORE INSERT AS BEGIN NEW.X = UPPER(NEW.X); END!!\n"
      "SET TERM ; !!\n"
      "INSERT INTO A VALUES (1, 'abc');\n"
      "COMMIT WORK;\n");
  EXPECT_EQ(Script::run(*d, good), 3);
  {
    Transaction tr(*d);
    tr.start();
    Query q(tr, QStringLiteral("SELECT X FROM A"));
    q.open();
    EXPECT_EQ(q.field(0).asString(), QStringLiteral("ABC"));
  }

  const QString bad = QStringLiteral(
      "INSERT INTO A VALUES (2, 'x');\n\nINSERT INTO NOPE VALUES (1);\nINSERT INTO A VALUES (3, 'y');\n");
  try {
    Script::run(*d, bad);
    FAIL() << "expected an error";
  } catch (const DbError& e) {
    EXPECT_TRUE(e.message().startsWith(QStringLiteral("line 3: "))) << e.message().toStdString();
    EXPECT_EQ(e.gdscode(), DbError::DsqlError);
  }
  Transaction tr(*d);
  tr.start();
  Query q(tr, QStringLiteral("SELECT COUNT(*) FROM A"));
  q.open();
  EXPECT_EQ(q.field(0).asInt(), 2);  // statements before the failure stay, none after it ran

  EXPECT_THROW(Script::run(*d, QStringLiteral("CREATE DATABASE 'x.fdb';")), DbError);
  EXPECT_THROW(Script::runFile(*d, tmp.file(QStringLiteral("missing.sql"))), DbError);
}

TEST(Script, UdrDeclarationsLoadAndRunInTheEmbeddedEngine)
{
  TestTempDir tmp;
  auto d = createTestDb(tmp);
  EXPECT_EQ(Script::runFile(*d, QStringLiteral(RENDO_SOURCE_DIR "/fixtures/udr/udr_procs.sql")), 5);
  Transaction tr(*d);
  tr.start();
  Query q(tr, QStringLiteral("SELECT WBOOL FROM DIRECTORYTEST(:MODE, :FILEPATH1)"));
  q.setParam(QStringLiteral("MODE"), QStringLiteral("DExist"));
  q.setParam(QStringLiteral("FILEPATH1"), tmp.path());
  q.open();
  EXPECT_EQ(q.field(QStringLiteral("WBOOL")).asInt(), 1);
}
