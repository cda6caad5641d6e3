// The schema switches of a migration against the project's own templates:
// the fixed lists name exactly the objects of the templates, switching off
// and on again leaves the schema as it was, and the first failing statement
// stops the list.
#include <functional>
#include <gtest/gtest.h>

#include <QSet>

#include "db/Database.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Services.h"
#include "db/Transaction.h"
#include "maint/ConvertFb30Switch.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TempDir.h"

namespace {

TEST(ConvertFb30Switch, StatementForms)
{
  const auto& general = ConvertFb30ConstraintList(1);
  auto find = [&](const QList<TConvertFb30Constraint>& list, const QString& name) {
    for (const auto& c : list)
      if (c.ConstraintName == name)
        return c;
    ADD_FAILURE() << name.toStdString();
    return TConvertFb30Constraint{};
  };
  const struct {
    QString name;
    int sw;
    QString sql;
  } cases[] = {
      {"ACCDEF5_C01", 1,
       "ALTER TABLE \"ACCDEF5\" ADD CONSTRAINT \"ACCDEF5_C01\" FOREIGN KEY (\"SCODE\") REFERENCES \"SISETUMST\" "
       "(\"SCODE\") ON UPDATE CASCADE ON DELETE CASCADE;"},
      {"AOPRO_KANSA_KOMOKU_C01", 1,
       "ALTER TABLE \"AOPRO_KANSA_KOMOKU\" ADD CONSTRAINT \"AOPRO_KANSA_KOMOKU_C01\" FOREIGN KEY (\"FBCODE\") "
       "REFERENCES \"BUMONMST\" (\"BCODE\") ON UPDATE CASCADE ON DELETE SET NULL;"},
      {"SIWAKE_C03", 1,
       "ALTER TABLE \"SIWAKE\" ADD CONSTRAINT \"SIWAKE_C03\" FOREIGN KEY (\"SCODE\", \"R_KCODE\", \"R_HCODE\", "
       "\"R_BCODE\") REFERENCES \"KAMOKU_SZ\" (\"SCODE\", \"KCODE\", \"HCODE\", \"BCODE\") ON UPDATE CASCADE ON "
       "DELETE NO ACTION;"},
      {"KS_SETSWK_INIT_C08", 1,
       "ALTER TABLE \"KS_SETSWK_INIT\" ADD CONSTRAINT \"KS_SETSWK_INIT_C08\" FOREIGN KEY (\"SYOKYAKU2_KCODE\") "
       "REFERENCES \"KAMOKUMST\" (\"KCODE\") ON UPDATE CASCADE;"},
      {"KSBUMONHB_C01", 1,
       "ALTER TABLE \"KS_BUMONHB\" ADD CONSTRAINT \"KSBUMONHB_C01\" FOREIGN KEY (\"KS_REC\") REFERENCES "
       "\"KS_SISAN\" (\"REC\") ON DELETE CASCADE;"},
      {"ACCDEF2_C01", 0, "ALTER TABLE \"ACCDEF2\" DROP CONSTRAINT \"ACCDEF2_C01\""},
      {"ACCDEF2_C01", 2, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(fnConvertFb30ConstraintSql(find(general, c.name), c.sw), c.sql) << c.name.toStdString();
  EXPECT_EQ(fnConvertFb30IndexSql("IDX_SIWAKE_A01", 0), "ALTER INDEX \"IDX_SIWAKE_A01\" INACTIVE");
  EXPECT_EQ(fnConvertFb30TriggerSql("SIWAKE_AFTER_INSERT", 1), "ALTER TRIGGER \"SIWAKE_AFTER_INSERT\" ACTIVE");
}

TEST(ConvertFb30Switch, ListsFollowTheDataKind)
{
  EXPECT_EQ(ConvertFb30IndexList().size(), 13);
  for (int kind : {1, 2}) {
    const QStringList& t = ConvertFb30TriggerList(kind);
    EXPECT_EQ(t.size(), 51);
    EXPECT_FALSE(t.contains("SISETUMST_BEFORE_UPDATE"));
    EXPECT_EQ(ConvertFb30ConstraintList(kind).size(), 169);
    EXPECT_EQ(ConvertFb30ConstraintList(kind).first().ConstraintName, "ACCDEF2_C01");
    EXPECT_EQ(ConvertFb30ConstraintList(kind).last().ConstraintName, "YOSOKUINF_C02");
  }
  for (int kind : {3, 0, -1}) {
    const QStringList& t = ConvertFb30TriggerList(kind);
    EXPECT_EQ(t.size(), 50);
    EXPECT_FALSE(t.contains("KOBETU_AFTER_INSET"));
    EXPECT_EQ(t.indexOf("SISETUMST_BEFORE_INSERT") + 1, t.indexOf("SISETUMST_AFTER_INSERT"));
    EXPECT_EQ(t.indexOf("SISETUMST_AFTER_INSERT3") + 1, t.indexOf("SISETUMST_BEFORE_UPDATE"));
    EXPECT_EQ(ConvertFb30ConstraintList(kind).size(), 202);
  }
  // Ordered by table name in character-code order, then by constraint name.
  for (int kind : {1, 3}) {
    const auto& list = ConvertFb30ConstraintList(kind);
    for (int i = 1; i < list.size(); ++i) {
      const auto& a = list[i - 1];
      const auto& b = list[i];
      const bool ordered = a.TableName.toLatin1() < b.TableName.toLatin1() ||
                           (a.TableName == b.TableName && a.ConstraintName.toLatin1() < b.ConstraintName.toLatin1());
      EXPECT_TRUE(ordered) << a.ConstraintName.toStdString() << " before " << b.ConstraintName.toStdString();
    }
  }
  QSet<QString> all;
  for (int kind : {1, 3})
    for (const auto& c : ConvertFb30ConstraintList(kind))
      all.insert(c.ConstraintName);
  EXPECT_EQ(all.size(), 206);
}

// A template database restored from the project's template backups.
class ConvertFb30SwitchDb : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override
  {
    const QStringList backups = testfx::makeInitTemplates(tmp.file("init"));
    const QString name = GetParam() == 3 ? "init_acc31.fbk" : "init_acc11.fbk";
    db::Services svc;
    svc.setUser(testfx::builder().credentials().user);
    svc.setPassword(testfx::builder().credentials().password);
    svc.restore(tmp.file("init/" + name), tmp.file("wqacc2.fdb"));
    svc.detach();
    testfx::builder().open(database, tmp.file("wqacc2.fdb"));
  }

  QStringList column(const QString& sql)
  {
    db::Transaction tr(database);
    tr.start();
    db::Query q(tr, sql);
    QStringList out;
    for (q.open(); !q.eof(); q.next())
      out << q.field(0).asString().trimmed();
    q.close();
    tr.commit();
    return out;
  }

  QStringList inactiveTriggers()
  {
    return column("SELECT RDB$TRIGGER_NAME FROM RDB$TRIGGERS WHERE RDB$TRIGGER_INACTIVE = 1 ORDER BY 1");
  }
  QStringList inactiveIndexes()
  {
    return column("SELECT RDB$INDEX_NAME FROM RDB$INDICES WHERE RDB$INDEX_INACTIVE = 1 ORDER BY 1");
  }
  // Every foreign key as "table name (keys) -> reftable (refkeys) update delete".
  QStringList foreignKeys()
  {
    return column(
        "SELECT TRIM(C.RDB$RELATION_NAME) || ' ' || TRIM(C.RDB$CONSTRAINT_NAME) || ' (' || "
        "(SELECT LIST(TRIM(S.RDB$FIELD_NAME), ', ') FROM (SELECT S1.RDB$FIELD_NAME FROM RDB$INDEX_SEGMENTS S1 "
        "WHERE S1.RDB$INDEX_NAME = C.RDB$INDEX_NAME ORDER BY S1.RDB$FIELD_POSITION) S) || ') -> ' || "
        "TRIM(P.RDB$RELATION_NAME) || ' ' || TRIM(R.RDB$UPDATE_RULE) || ' ' || TRIM(R.RDB$DELETE_RULE) "
        "FROM RDB$RELATION_CONSTRAINTS C JOIN RDB$REF_CONSTRAINTS R ON R.RDB$CONSTRAINT_NAME = C.RDB$CONSTRAINT_NAME "
        "JOIN RDB$RELATION_CONSTRAINTS P ON P.RDB$CONSTRAINT_NAME = R.RDB$CONST_NAME_UQ "
        "WHERE C.RDB$CONSTRAINT_TYPE = 'FOREIGN KEY' ORDER BY 1");
  }

  // Runs one switch group in a transaction, committed retaining as the
  // migration does, then committed.
  void run(const std::function<void(db::Query&)>& AStep)
  {
    db::Transaction tr(database);
    tr.start();
    db::Query q(tr);
    AStep(q);
    tr.commitRetaining();
    tr.commit();
  }

  TestTempDir tmp;
  db::Database database;
};

TEST_P(ConvertFb30SwitchDb, OffAndOnAgainLeaveTheTemplateAsItWas)
{
  const int kind = GetParam();
  EXPECT_TRUE(inactiveTriggers().isEmpty());
  EXPECT_TRUE(inactiveIndexes().isEmpty());
  const QStringList keys = foreignKeys();
  ASSERT_EQ(keys.size(), ConvertFb30ConstraintList(kind).size());
  EXPECT_TRUE(keys.contains("KS_SETSWK_INIT KS_SETSWK_INIT_C03 (BAISONKCODE) -> KAMOKUMST CASCADE RESTRICT"));

  run([&](db::Query& q) { pcConvertFb30Trigger(q, kind, ConvertFb30SwitchOff); });
  run([&](db::Query& q) { pcConvertFb30Constraint(q, kind, ConvertFb30SwitchOff); });
  run([&](db::Query& q) { pcConvertFb30Index(q, ConvertFb30SwitchOff); });
  QStringList triggers = ConvertFb30TriggerList(kind);
  triggers.sort();
  EXPECT_EQ(inactiveTriggers(), triggers);
  QStringList indexes = ConvertFb30IndexList();
  indexes.sort();
  EXPECT_EQ(inactiveIndexes(), indexes);
  EXPECT_TRUE(foreignKeys().isEmpty());

  run([&](db::Query& q) { pcConvertFb30Trigger(q, kind, ConvertFb30SwitchOn); });
  run([&](db::Query& q) { pcConvertFb30Constraint(q, kind, ConvertFb30SwitchOn); });
  run([&](db::Query& q) { pcConvertFb30Index(q, ConvertFb30SwitchOn); });
  EXPECT_TRUE(inactiveTriggers().isEmpty());
  EXPECT_TRUE(inactiveIndexes().isEmpty());
  EXPECT_EQ(foreignKeys(), keys);
}

TEST_P(ConvertFb30SwitchDb, AMissingObjectStopsTheList)
{
  const int kind = GetParam();
  // A template without one trigger of the list.
  run([](db::Query& q) {
    q.setSql("DROP TRIGGER KAMOKUSZ_AFTER_INSET");
    q.exec();
  });
  {
    db::Transaction tr(database);
    tr.start();
    db::Query q(tr);
    EXPECT_THROW(pcConvertFb30Trigger(q, kind, ConvertFb30SwitchOff), db::DbError);
    tr.commit();
  }
  // The statements before the missing trigger ran, none after it.
  const QStringList list = ConvertFb30TriggerList(kind);
  QStringList before = list.mid(0, list.indexOf("KAMOKUSZ_AFTER_INSET"));
  ASSERT_FALSE(before.isEmpty());
  before.sort();
  EXPECT_EQ(inactiveTriggers(), before);
  // A constraint switch value other than 0 or 1 runs nothing.
  run([&](db::Query& q) { pcConvertFb30Constraint(q, kind, 2); });
  EXPECT_EQ(foreignKeys().size(), ConvertFb30ConstraintList(kind).size());
}

INSTANTIATE_TEST_SUITE_P(Kinds, ConvertFb30SwitchDb, ::testing::Values(1, 3));

}  // namespace
