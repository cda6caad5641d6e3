// The base form's settings store on a fixture company database, without a
// screen: texts as stored, rows created with their defaults, writes to
// existing rows only, the caller's open transaction left open, the account
// look-ups and the open-process history.
#include <gtest/gtest.h>

#include "common/FormSettingsStore.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TempDir.h"

namespace {

class FormSettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override
  {
    path = testfx::makeCompanyDb(tmp.path() + QStringLiteral("/1"), fixtures::CompanyKind::General);
    testfx::builder().open(database, path);
  }
  void TearDown() override { database.disconnect(); }

  // One column of one row ("<none>", "<null>"), in a transaction of its own.
  QString select(const QString& ASql)
  {
    db::Transaction tr(database);
    tr.start();
    db::Query q(tr, ASql);
    q.open();
    const QString v = q.eof()               ? QStringLiteral("<none>")
                      : q.field(0).isNull() ? QStringLiteral("<null>")
                                            : q.field(0).asString();
    q.close();
    tr.commit();
    return v;
  }

  TestTempDir tmp;
  QString path;
  db::Database database;
};

TEST_F(FormSettingsStoreTest, AccRegTextsAreCreatedWithTheDefaultAndWrittenOnlyWhereTheyExist)
{
  db::Transaction tr(database);
  TFormSettingsStore store(tr);
  EXPECT_EQ(store.AccRegText("S", "A", "整数", "5"), "5");
  EXPECT_EQ(select("SELECT ATYPE||':'||ATEXT FROM ACCREG WHERE AGROUP='S' AND ACODE='A'"), "整数:5");
  EXPECT_EQ(store.AccRegText("S", "A", "整数", "7"), "5");  // the stored text wins
  store.PutAccRegText("S", "A", QStringLiteral("8"));
  store.PutAccRegText("S", "B", QStringLiteral("1"));  // no row: nothing
  store.AccRegText("S", "C", "文字", "x");
  store.PutAccRegText("S", "C", QVariant());  // null stays null
  EXPECT_EQ(select("SELECT ATEXT FROM ACCREG WHERE AGROUP='S' AND ACODE='C'"), "<null>");
  EXPECT_EQ(select("SELECT COUNT(*) FROM ACCREG WHERE AGROUP='S' AND ACODE='B'"), "0");
  QStringList codes, texts;
  store.ReadAccRegGroup("S", codes, texts);
  ASSERT_EQ(codes.size(), 2);
  EXPECT_EQ(texts.at(codes.indexOf("A")), "8");
  EXPECT_EQ(texts.at(codes.indexOf("C")), "");
  EXPECT_FALSE(tr.inTransaction());

  // Inside the caller's transaction nothing is committed by the store.
  tr.start();
  store.PutAccRegText("S", "A", QStringLiteral("9"));
  EXPECT_TRUE(tr.inTransaction());
  tr.rollback();
  EXPECT_EQ(select("SELECT ATEXT FROM ACCREG WHERE AGROUP='S' AND ACODE='A'"), "8");
}

TEST_F(FormSettingsStoreTest, BranchSettingsAccountLookUpsAndHistory)
{
  db::Transaction tr(database);
  TFormSettingsStore store(tr);
  EXPECT_EQ(store.SisetuText("001", "G", "N", "整数", "4"), std::optional<QString>("4"));
  EXPECT_TRUE(store.PutSisetuText("001", "G", "N", QStringLiteral("12")));
  EXPECT_EQ(store.SisetuText("001", "G", "N", "整数", "4"), std::optional<QString>("12"));
  EXPECT_EQ(store.SisetuText("002", "G", "N", "整数", "4"), std::optional<QString>("4"));
  EXPECT_EQ(select("SELECT RTYPE FROM SISETREG WHERE SCODE='002' AND RGROUP='G' AND RCODE='N'"), "整数");

  EXPECT_EQ(store.SysKCODE("現金"), "1101");
  EXPECT_EQ(store.SysKNAME("9901"), "諸口");
  EXPECT_EQ(store.SysKCODE("ない科目"), "");
  EXPECT_EQ(store.SysKNAME("0000"), "");

  // Opened: one row per operator and process; closed: gone.
  store.PutProcRireki(21, "処理", "PC1", 0);
  store.PutProcRireki(22, "処理", "PC2", 0);
  EXPECT_EQ(select("SELECT PCNAME FROM OPINF WHERE OPCODE=21 AND JOBNAME='処理'"), "PC1");
  store.PutProcRireki(21, "処理", "PC1", 1);
  EXPECT_EQ(select("SELECT COUNT(*) FROM OPINF WHERE OPCODE=21"), "0");
  EXPECT_EQ(select("SELECT COUNT(*) FROM OPINF WHERE OPCODE=22"), "1");
  EXPECT_FALSE(tr.inTransaction());
}

}  // namespace
