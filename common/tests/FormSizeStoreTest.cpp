// The form-size store on a fixture system database, without a screen.
#include <gtest/gtest.h>

#include "common/FormSizeStore.h"
#include "db/Database.h"
#include "db/Transaction.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TempDir.h"

namespace {

TEST(FormSizeStoreTest, RectanglesPerOperatorAndForm)
{
  TestTempDir tmp;
  const QString path = testfx::makeSystemDb(tmp.path());
  db::Database database;
  testfx::builder().open(database, path);
  db::Transaction tr(database);
  TFormSizeStoreDB store(tr);
  QRect r(1, 2, 3, 4);
  EXPECT_FALSE(store.GetFormRect(7, "Box", r));
  EXPECT_EQ(r, QRect(1, 2, 3, 4));  // untouched
  EXPECT_EQ(store.CountFormRect(7, "Box"), 0);

  store.InsertFormRect(7, "Box", QRect(0, 0, 600, 400), "test");
  store.UpdateFormRect(7, "Box", QRect(10, 20, 800, 500));
  store.InsertFormRect(8, "Box", QRect(0, 0, 300, 200), "test");
  store.InsertFormRect(7, "Other", QRect(5, 5, 100, 100), "test");
  ASSERT_TRUE(store.GetFormRect(7, "Box", r));
  EXPECT_EQ(r, QRect(10, 20, 800, 500));
  ASSERT_TRUE(store.GetFormRect(8, "Box", r));
  EXPECT_EQ(r, QRect(0, 0, 300, 200));
  ASSERT_TRUE(store.GetFormRect(7, "Other", r));
  EXPECT_EQ(r, QRect(5, 5, 100, 100));
  EXPECT_EQ(store.CountFormRect(7, "Box"), 1);
  EXPECT_FALSE(tr.inTransaction());
}

}  // namespace
