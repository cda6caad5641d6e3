#include <functional>
#include <optional>

#include "db/StoredProc.h"
#include "db/tests/DbTestEnv.h"
#include "platform/TextCodec.h"

using namespace db;

namespace {

struct Row {
  int id;
  std::optional<QString> name;     // VARCHAR(40) UTF8
  std::optional<Currency> amount;  // NUMERIC(18,4)
  std::optional<double> dbl;       // DOUBLE PRECISION
  std::optional<TDateTime> day;    // DATE
  std::optional<TDateTime> stamp;  // TIMESTAMP
  std::optional<bool> flag;        // BOOLEAN
  std::optional<qint64> big;       // BIGINT
  std::optional<QString> memo;     // BLOB SUB_TYPE TEXT
  std::optional<QByteArray> bin;   // BLOB SUB_TYPE BINARY
};

const char* const createTable =
    "CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(40), AMOUNT NUMERIC(18,4), DBL DOUBLE PRECISION,"
    " DAY_ DATE, STAMP TIMESTAMP, FLAG BOOLEAN, BIG BIGINT, MEMO BLOB SUB_TYPE TEXT, BIN BLOB SUB_TYPE BINARY,"
    " CODE CHAR(4), NONETEXT VARCHAR(40) CHARACTER SET NONE, SMALLFLAG SMALLINT)";

QByteArray binaryBytes(int n)
{
  QByteArray b;
  for (int i = 0; i < n; ++i)
    b.append(char((i * 7 + 3) & 0xff));
  return b;
}

}  // namespace

TEST(Query, ValuesRoundTripThroughNamedParameters)
{
  TestTempDir tmp;
  auto d = createTestDb(tmp);
  execCommit(*d, QString::fromLatin1(createTable));

  const QString longMemo = QString(QStringLiteral("長い摘要テキスト、")).repeated(5000);  // > 64 KB as UTF-8
  const Row rows[] = {
      {1, QStringLiteral("株式会社タリマン①髙～"), Currency::fromString(u"1234567890.1234"), 0.1,
       EncodeDate(2024, 2, 29), EncodeDate(2024, 3, 31) + EncodeTime(23, 59, 58, 0), true,
       Q_INT64_C(9000000000000000000), QStringLiteral("メモ\r\n二行目"), binaryBytes(300)},
      {2, QString(), Currency::fromString(u"-0.0001"), -1e300, EncodeDate(1899, 12, 30),
       EncodeDate(1850, 1, 1) + EncodeTime(6, 0, 0, 0), false, Q_INT64_C(-9000000000000000000), longMemo,
       binaryBytes(200000)},
      {3, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
       std::nullopt, std::nullopt},
      {4, QStringLiteral("O'Brien; :NAME -- not a param"), Currency::fromString(u"-922337203685477.5807"), 0,
       EncodeDate(9999, 12, 31), EncodeDate(2000, 1, 1), false, 0, QString(), QByteArray()},
  };

  {
    Transaction tr(*d);
    tr.start();
    Query q(tr);
    q.setSql(
        QStringLiteral("INSERT INTO T (ID, NAME, AMOUNT, DBL, DAY_, STAMP, FLAG, BIG, MEMO, BIN) "
                       "VALUES (:ID, :NAME, :AMOUNT, :DBL, :DAY, :STAMP, :FLAG, :BIG, :MEMO, :BIN)"));
    for (const Row& r : rows) {
      q.clearParams();
      q.setParam(QStringLiteral("id"), r.id);  // names match without regard to case
      if (r.name)
        q.setParam(QStringLiteral("NAME"), *r.name);
      if (r.amount)
        q.setParam(QStringLiteral("AMOUNT"), *r.amount);
      if (r.dbl)
        q.setParam(QStringLiteral("DBL"), *r.dbl);
      if (r.day)
        q.setParamDateTime(QStringLiteral("DAY"), *r.day);
      if (r.stamp)
        q.setParamDateTime(QStringLiteral("STAMP"), *r.stamp);
      if (r.flag)
        q.setParam(QStringLiteral("FLAG"), *r.flag);
      if (r.big)
        q.setParam(QStringLiteral("BIG"), *r.big);
      if (r.memo)
        q.setParam(QStringLiteral("MEMO"), *r.memo);
      if (r.bin)
        q.setParam(QStringLiteral("BIN"), *r.bin);
      q.exec();
      EXPECT_EQ(q.rowsAffected(), 1);
    }
    tr.commit();
  }

  Transaction tr(*d, Transaction::ReadCommittedReadOnly);
  tr.start();
  Query q(tr, QStringLiteral("SELECT * FROM T WHERE ID = :ID"));
  for (const Row& r : rows) {
    SCOPED_TRACE(r.id);
    q.setParam(QStringLiteral("ID"), r.id);
    q.open();
    ASSERT_FALSE(q.eof());
    EXPECT_EQ(q.field(QStringLiteral("NAME")).isNull(), !r.name.has_value());
    if (r.name) {
      EXPECT_EQ(q.field(QStringLiteral("NAME")).asString(), *r.name);
    }
    if (r.amount) {
      EXPECT_EQ(q.field(QStringLiteral("AMOUNT")).asCurrency(), *r.amount);
      EXPECT_EQ(q.field(QStringLiteral("AMOUNT")).asString(), r.amount->toString());
    } else {
      EXPECT_TRUE(q.field(QStringLiteral("AMOUNT")).isNull());
      EXPECT_EQ(q.field(QStringLiteral("AMOUNT")).asCurrency(), Currency());
    }
    if (r.dbl) {
      EXPECT_EQ(q.field(QStringLiteral("DBL")).asDouble(), *r.dbl);
    }
    if (r.day) {
      EXPECT_EQ(q.field(QStringLiteral("DAY_")).asDateTime(), *r.day);
    }
    if (r.stamp) {
      EXPECT_NEAR(q.field(QStringLiteral("STAMP")).asDateTime(), *r.stamp, 1e-9);
    } else
      EXPECT_EQ(q.field(QStringLiteral("STAMP")).asDateTime(), 0.0);
    if (r.flag) {
      EXPECT_EQ(q.field(QStringLiteral("FLAG")).asBool(), *r.flag);
    }
    if (r.big) {
      EXPECT_EQ(q.field(QStringLiteral("BIG")).asInt64(), *r.big);
    }
    EXPECT_EQ(q.field(QStringLiteral("MEMO")).isNull(), !r.memo.has_value());
    if (r.memo) {
      EXPECT_EQ(q.field(QStringLiteral("MEMO")).asString(), *r.memo);
    }
    if (r.bin) {
      EXPECT_EQ(q.field(QStringLiteral("BIN")).asBytes(), *r.bin);
    }
    EXPECT_TRUE(q.field(QStringLiteral("CODE")).isNull());
    EXPECT_EQ(q.field(QStringLiteral("CODE")).asString(), QString());
    q.next();
    EXPECT_TRUE(q.eof());
  }
}

TEST(Query, SelectStarListsColumnsInTableOrder)
{
  TestTempDir tmp;
  auto d = createTestDb(tmp);
  execCommit(*d, QString::fromLatin1(createTable));
  Transaction tr(*d);
  tr.start();
  Query q(tr, QStringLiteral("SELECT * FROM T"));
  q.open();
  EXPECT_TRUE(q.eof());
  EXPECT_EQ(q.fieldNames(), (QStringList{"ID", "NAME", "AMOUNT", "DBL", "DAY_", "STAMP", "FLAG", "BIG", "MEMO", "BIN",
                                         "CODE", "NONETEXT", "SMALLFLAG"}));
  EXPECT_EQ(q.fieldIndex(QStringLiteral("memo")), 8);
  EXPECT_EQ(q.fieldIndex(QStringLiteral("NOPE")), -1);
  EXPECT_THROW(q.field(QStringLiteral("NOPE")), DbError);
  EXPECT_THROW(q.field(QStringLiteral("ID")).asInt(), DbError);  // no current row
}

TEST(Query, NamedParametersBecomePositionalOutsideQuotesAndComments)
{
  Database d;  // not connected: parsing needs no server
  Transaction tr(d);
  Query q(tr);
  const struct {
    const char* sql;
    const char* sent;
    QStringList names;
  } cases[] = {
      {"SELECT * FROM T WHERE A = :A AND B = :b", "SELECT * FROM T WHERE A = ? AND B = ?", {"A", "B"}},
      {"SELECT * FROM T WHERE A = :X OR B = :x OR C = :Y", "SELECT * FROM T WHERE A = ? OR B = ? OR C = ?", {"X", "Y"}},
      {"SELECT ':A', \":B\" FROM T WHERE C = :C", "SELECT ':A', \":B\" FROM T WHERE C = ?", {"C"}},
      {"SELECT 'it''s :A' FROM T -- :B\nWHERE /* :C */ D=:D_1$",
       "SELECT 'it''s :A' FROM T -- :B\nWHERE /* :C */ D=?",
       {"D_1$"}},
      {"SELECT 1 FROM RDB$DATABASE", "SELECT 1 FROM RDB$DATABASE", {}},
      {"UPDATE T SET N = :名前 WHERE ID = :ID", "UPDATE T SET N = ? WHERE ID = ?", {"名前", "ID"}},
  };
  for (const auto& c : cases) {
    q.setSql(QString::fromUtf8(c.sql));
    EXPECT_EQ(q.processedSql(), QString::fromUtf8(c.sent)) << c.sql;
    EXPECT_EQ(q.paramNames(), c.names) << c.sql;
  }
  q.setSql(QStringLiteral("SELECT * FROM T WHERE A = :A"));
  EXPECT_THROW(q.setParam(QStringLiteral("B"), 1), DbError);
  q.setParamCheck(false);
  EXPECT_EQ(q.processedSql(), QStringLiteral("SELECT * FROM T WHERE A = :A"));
}

TEST(Query, SameParameterBoundAtEveryPlaceAndValuesNeverEnterTheText)
{
  TestTempDir tmp;
  auto d = createTestDb(tmp);
  execCommit(*d, QStringLiteral("CREATE TABLE P (ID INTEGER, PARENT INTEGER, NAME VARCHAR(60))"));
  Transaction tr(*d);
  tr.start();
  Query ins(tr, QStringLiteral("INSERT INTO P VALUES (:ID, :PARENT, :NAME)"));
  const struct {
    int id;
    int parent;
    const char* name;
  } data[] = {{1, 0, "a"}, {2, 1, "b"}, {3, 5, "c"}, {5, 9, "x'); DROP TABLE P; --"}};
  for (const auto& r : data) {
    ins.setParam(QStringLiteral("ID"), r.id);
    ins.setParam(QStringLiteral("PARENT"), r.parent);
    ins.setParam(QStringLiteral("NAME"), QString::fromUtf8(r.name));
    ins.exec();
  }
  Query q(tr, QStringLiteral("SELECT ID FROM P WHERE ID = :K OR PARENT = :K ORDER BY ID"));
  q.setParam(QStringLiteral("K"), 5);
  QList<int> ids;
  for (q.open(); !q.eof(); q.next())
    ids << q.field(0).asInt();
  EXPECT_EQ(ids, (QList<int>{3, 5}));

  Query upd(tr, QStringLiteral("UPDATE P SET NAME = :NAME WHERE PARENT >= :P"));
  upd.setParam(QStringLiteral("NAME"), QStringLiteral("z"));
  upd.setParam(QStringLiteral("P"), 1);
  upd.exec();
  EXPECT_EQ(upd.rowsAffected(), 3);

  Query name(tr, QStringLiteral("SELECT NAME FROM P WHERE ID = :ID"));
  name.setParam(QStringLiteral("ID"), 1);
  name.open();
  EXPECT_EQ(name.field(QStringLiteral("NAME")).asString(), QStringLiteral("a"));
}

TEST(Query, ConversionsBetweenColumnTypesAndReadMethods)
{
  TestTempDir tmp;
  auto d = createTestDb(tmp);
  Transaction tr(*d);
  tr.start();
  Query q(tr,
          QStringLiteral("SELECT CAST(12.345 AS NUMERIC(9,3)) AS N3, CAST(-2.5 AS NUMERIC(9,1)) AS NHALF,"
                         " CAST(1.23456789 AS NUMERIC(18,8)) AS N8, CAST('ab' AS CHAR(4)) AS C4,"
                         " CAST('漢字' AS CHAR(3)) AS CJ, CAST('42' AS VARCHAR(5)) AS S42, CAST(7 AS SMALLINT) AS SM,"
                         " CAST('2024-01-31 12:00:00' AS TIMESTAMP) AS TS, CAST('12:00:00' AS TIME) AS TM,"
                         " CAST(0.5 AS DOUBLE PRECISION) AS DH, CAST(NULL AS INTEGER) AS NUL FROM RDB$DATABASE"));
  q.open();
  ASSERT_FALSE(q.eof());
  EXPECT_EQ(q.field(QStringLiteral("N3")).asCurrency(), Currency::fromString(u"12.345"));
  EXPECT_EQ(q.field(QStringLiteral("N3")).asString(), QStringLiteral("12.345"));
  EXPECT_EQ(q.field(QStringLiteral("N3")).asInt(), 12);
  EXPECT_EQ(q.field(QStringLiteral("NHALF")).asInt(), -3);  // half away from zero
  EXPECT_DOUBLE_EQ(q.field(QStringLiteral("NHALF")).asDouble(), -2.5);
  EXPECT_EQ(q.field(QStringLiteral("N8")).asCurrency(), Currency::fromString(u"1.2346"));
  EXPECT_EQ(q.field(QStringLiteral("C4")).asString(), QStringLiteral("ab  "));
  EXPECT_EQ(q.field(QStringLiteral("CJ")).asString(), QStringLiteral("漢字 "));
  EXPECT_EQ(q.field(QStringLiteral("S42")).asInt(), 42);
  EXPECT_EQ(q.field(QStringLiteral("SM")).asCurrency(), Currency::fromInt(7));
  EXPECT_EQ(q.field(QStringLiteral("TS")).asDateTime(), EncodeDate(2024, 1, 31) + 0.5);
  EXPECT_EQ(q.field(QStringLiteral("TS")).asString(), QStringLiteral("2024/01/31 12:00:00"));
  EXPECT_DOUBLE_EQ(q.field(QStringLiteral("TM")).asDateTime(), 0.5);
  EXPECT_EQ(q.field(QStringLiteral("DH")).asCurrency(), Currency::fromString(u"0.5"));
  EXPECT_TRUE(q.field(QStringLiteral("NUL")).isNull());
  EXPECT_EQ(q.field(QStringLiteral("NUL")).asInt(), 0);
  EXPECT_THROW(q.field(QStringLiteral("TS")).asCurrency(), DbError);
}

TEST(Query, TextInNoneCharsetColumnsReadsAsUtf8OrCp932)
{
  TestTempDir tmp;
  auto d = createTestDb(tmp);
  execCommit(
      *d,
      QStringLiteral(
          "CREATE TABLE N (ID INTEGER, T VARCHAR(40) CHARACTER SET NONE, B BLOB SUB_TYPE TEXT CHARACTER SET NONE)"));
  Transaction tr(*d);
  tr.start();
  const QString jp = QStringLiteral("㈱髙橋商店①");
  Query ins(tr, QStringLiteral("INSERT INTO N VALUES (:ID, :T, :B)"));
  ins.setParam(QStringLiteral("ID"), 1);
  ins.setParam(QStringLiteral("T"), jp);  // sent as UTF-8
  ins.setParam(QStringLiteral("B"), jp);
  ins.exec();
  ins.setParam(QStringLiteral("ID"), 2);
  ins.setParam(QStringLiteral("T"), toCp932(jp));  // bytes an older client stored
  ins.setParam(QStringLiteral("B"), toCp932(jp));
  ins.exec();
  Query q(tr, QStringLiteral("SELECT T, B FROM N ORDER BY ID"));
  for (q.open(); !q.eof(); q.next()) {
    EXPECT_EQ(q.field(QStringLiteral("T")).asString(), jp);
    EXPECT_EQ(q.field(QStringLiteral("B")).asString(), jp);
  }
}

TEST(Query, ExecuteProcedureAndSelectableProcedure)
{
  TestTempDir tmp;
  auto d = createTestDb(tmp);
  execCommit(*d, QStringLiteral("CREATE TABLE EV (EVNO INTEGER, OPCODE INTEGER, TXT VARCHAR(100))"));
  execCommit(*d, QStringLiteral("CREATE PROCEDURE SP_ADD (EVENTNO INTEGER, OPCODE INTEGER, TXT VARCHAR(100)) RETURNS "
                                "(TOTAL INTEGER, ECHO VARCHAR(100)) AS\n"
                                "BEGIN INSERT INTO EV VALUES (:EVENTNO, :OPCODE, :TXT); SELECT COUNT(*) FROM EV INTO "
                                ":TOTAL; ECHO = :TXT; END"));
  execCommit(
      *d,
      QStringLiteral(
          "CREATE PROCEDURE SP_LIST (FROMNO INTEGER) RETURNS (EVNO INTEGER, TXT VARCHAR(100)) AS\n"
          "BEGIN FOR SELECT EVNO, TXT FROM EV WHERE EVNO >= :FROMNO ORDER BY EVNO INTO :EVNO, :TXT DO SUSPEND; END"));
  Transaction tr(*d);
  tr.start();
  StoredProc sp(tr, QStringLiteral("sp_add"));
  EXPECT_EQ(sp.inputNames(), (QStringList{"EVENTNO", "OPCODE", "TXT"}));
  for (int i = 1; i <= 3; ++i) {
    sp.setParam(QStringLiteral("EVENTNO"), i);
    sp.setParam(QStringLiteral("OPCODE"), 100);
    sp.setParam(QStringLiteral("TXT"), QStringLiteral("事象%1").arg(i));
    sp.execute();
    EXPECT_EQ(sp.field(QStringLiteral("TOTAL")).asInt(), i);
    EXPECT_EQ(sp.field(QStringLiteral("ECHO")).asString(), QStringLiteral("事象%1").arg(i));
  }
  Query q(tr, QStringLiteral("SELECT * FROM SP_LIST(:FROMNO)"));
  q.setParam(QStringLiteral("FROMNO"), 2);
  QStringList texts;
  for (q.open(); !q.eof(); q.next())
    texts << q.field(QStringLiteral("TXT")).asString();
  EXPECT_EQ(texts, (QStringList{QStringLiteral("事象2"), QStringLiteral("事象3")}));
  EXPECT_EQ(q.fieldNames(), (QStringList{"EVNO", "TXT"}));

  StoredProc missing(tr, QStringLiteral("NO_SUCH_PROC"));
  EXPECT_THROW(missing.execute(), DbError);
}

TEST(Query, RowsAffectedAndReturningRows)
{
  TestTempDir tmp;
  auto d = createTestDb(tmp);
  execCommit(*d, QStringLiteral("CREATE TABLE R (ID INTEGER NOT NULL PRIMARY KEY, V INTEGER)"));
  Transaction tr(*d);
  tr.start();
  const struct {
    const char* sql;
    qint64 rows;
  } steps[] = {
      {"INSERT INTO R VALUES (1, 10)", 1},
      {"INSERT INTO R SELECT 2, 20 FROM RDB$DATABASE UNION ALL SELECT 3, 30 FROM RDB$DATABASE", 2},
      {"UPDATE R SET V = V + 1 WHERE ID > 1", 2},
      {"UPDATE R SET V = 0 WHERE ID > 99", 0},
      {"UPDATE OR INSERT INTO R (ID, V) VALUES (4, 40) MATCHING (ID)", 1},
      {"MERGE INTO R USING RDB$DATABASE ON R.ID = 1 WHEN MATCHED THEN UPDATE SET V = 11", 1},
      {"DELETE FROM R WHERE ID IN (1, 2)", 2},
      {"SELECT COUNT(*) FROM R", 0},
  };
  Query q(tr);
  for (const auto& s : steps) {
    q.setSql(QString::fromLatin1(s.sql));
    q.exec();
    EXPECT_EQ(q.rowsAffected(), s.rows) << s.sql;
  }
  q.setSql(QStringLiteral("UPDATE R SET V = V * 2 WHERE ID = :ID RETURNING V"));
  q.setParam(QStringLiteral("ID"), 4);
  q.exec();
  ASSERT_FALSE(q.eof());
  EXPECT_EQ(q.field(QStringLiteral("V")).asInt(), 80);
  EXPECT_EQ(q.rowsAffected(), 1);
}

TEST(Query, MisuseIsADbErrorAndLeavesTheQueryUsable)
{
  TestTempDir tmp;
  auto d = createTestDb(tmp);
  execCommit(*d, QStringLiteral("CREATE TABLE M (ID INTEGER, S VARCHAR(10), B BLOB SUB_TYPE TEXT)"));
  Transaction tr(*d);
  tr.start();
  Query q(tr);
  const struct {
    const char* what;
    std::function<void()> run;
  } cases[] = {
      {"unknown parameter",
       [&] {
         q.setSql(QStringLiteral("SELECT * FROM M WHERE ID = :ID"));
         q.setParam(QStringLiteral("IDX"), 1);
       }},
      {"open on a statement without columns",
       [&] {
         q.setSql(QStringLiteral("DELETE FROM M"));
         q.open();
       }},
      {"empty text",
       [&] {
         q.setSql(QStringLiteral("  "));
         q.exec();
       }},
      {"text longer than a VARCHAR parameter",
       [&] {
         q.setSql(QStringLiteral("SELECT * FROM M WHERE S = :S"));
         q.setParam(QStringLiteral("S"), QString(40000, QLatin1Char('x')));
         q.open();
       }},
      {"text longer than the column",
       [&] {
         q.setSql(QStringLiteral("INSERT INTO M (S) VALUES (:S)"));
         q.setParam(QStringLiteral("S"), QStringLiteral("12345678901"));
         q.exec();
       }},
      {"field index out of range",
       [&] {
         q.setSql(QStringLiteral("SELECT ID FROM M"));
         q.open();
         q.field(1);
       }},
  };
  for (const auto& c : cases)
    EXPECT_THROW(c.run(), DbError) << c.what;
  // Long text goes into a BLOB parameter, and the query object still works.
  q.setSql(QStringLiteral("INSERT INTO M (ID, B) VALUES (:ID, :B)"));
  q.setParam(QStringLiteral("ID"), 1);
  q.setParam(QStringLiteral("B"), QString(40000, QLatin1Char('x')));
  q.exec();
  q.setSql(QStringLiteral("SELECT CHAR_LENGTH(B) FROM M WHERE ID = :ID"));
  q.setParam(QStringLiteral("ID"), 1);
  q.open();
  EXPECT_EQ(q.field(0).asInt(), 40000);
}
