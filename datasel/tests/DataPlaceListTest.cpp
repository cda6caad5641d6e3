// The data places of the system database: seeding, reading, look-ups and
// storing the changes, against a real system database.
#include <gtest/gtest.h>
#include <memory>

#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "datasel/DataPlaceList.h"
#include "tests/support/DataModuleEnv.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TempDir.h"

namespace {

using namespace fixtures;

class DataPlaces : public testenv::DataModuleTest {
 protected:
  void SetUp() override
  {
    pcAccRecordReset();
    folder = tmp.file(QStringLiteral("data"));
    sysDb = testfx::makeSystemDb(folder);
    setUpDataModule({.root = folder,
                     .logFile = tmp.file("log"),
                     .sampleOperator = false,
                     .systemDbVerMajor = std::nullopt,
                     .dataListCnt = 3});
  }

  TestTempDir tmp;
  QString folder;
  QString sysDb;
};

TEST_F(DataPlaces, AnEmptyTableIsSeededWithAHundredSlotsBesideTheSystemFolder)
{
  exec(QStringLiteral("DELETE FROM DATAPLACEMAN"));
  TDataPlaceStore store;
  ASSERT_TRUE(store.Read(false));
  ASSERT_EQ(store.List().size(), 100u);
  EXPECT_EQ(store.SelectRec(0), 0);
  EXPECT_EQ(store.SelectName(0), folder);
  EXPECT_EQ(store.SelectPath(0), folder);
  EXPECT_EQ(store.RecToPath(1), folder + QStringLiteral("01"));
  EXPECT_EQ(store.RecToPath(99), folder + QStringLiteral("99"));
  EXPECT_TRUE(store.SelectName(1).isEmpty());
  EXPECT_EQ(column(QStringLiteral("SELECT ORDERKBN FROM DATAPLACEMAN WHERE REC=99")), QStringList{"100"});
  // Only the root place has a name.
  EXPECT_EQ(store.GetItemList(), folder + QLatin1Char('\r'));
  // A second reading seeds nothing more.
  ASSERT_TRUE(store.Read(false));
  EXPECT_EQ(column(QStringLiteral("SELECT COUNT(*) FROM DATAPLACEMAN")), QStringList{"100"});
  EXPECT_FALSE(dm->IBTransactionDEF.inTransaction());
}

TEST_F(DataPlaces, LookUpsFollowTheDisplayOrder)
{
  exec(QStringLiteral("DELETE FROM DATAPLACEMAN"));
  TDataPlaceStore store;
  ASSERT_TRUE(store.Read(false));
  exec(QStringLiteral("UPDATE DATAPLACEMAN SET NAME='本社' WHERE REC=0"));
  exec(QStringLiteral("UPDATE DATAPLACEMAN SET NAME='東京',ORDERKBN=0 WHERE REC=7"));
  EXPECT_EQ(store.GetItemList(), QStringLiteral("東京\r本社\r"));
  struct Case {
    int index;
    int rec;
    const char* name;
  } cases[] = {{0, 7, "東京"}, {1, 0, "本社"}, {2, -1, ""}, {-1, -1, ""}};
  for (const auto& c : cases) {
    EXPECT_EQ(store.SelectRec(c.index), c.rec) << c.index;
    EXPECT_EQ(store.SelectName(c.index), QString::fromUtf8(c.name)) << c.index;
  }
  EXPECT_EQ(store.RecToIndex(0), 1);
  EXPECT_EQ(store.RecToIndex(5), -1);  // not named: not in the item list
  EXPECT_TRUE(store.RecToPath(5).isEmpty());
  EXPECT_EQ(store.PathToRec((folder + QStringLiteral("07")).toUpper()), 7);
  EXPECT_EQ(store.PathToIndex(QStringLiteral("/nowhere")), -1);
  EXPECT_EQ(store.PathToRec(QStringLiteral("/nowhere")), -1);
}

TEST_F(DataPlaces, StoredChangesNameRenameMoveAndDeletePlaces)
{
  exec(QStringLiteral("DELETE FROM DATAPLACEMAN"));
  TDataPlaceStore store;
  ASSERT_TRUE(store.Read(false));
  auto at = [&store](int rec) -> TDataPlaceRec& { return store.List()[std::size_t(store.RecToIndex(rec))]; };
  // Naming a place gives it its data-list rows.
  at(4).Name = QStringLiteral("大阪");
  at(4).RecKbn = 1;
  store.StoreChanges();
  EXPECT_EQ(at(4).RecKbn, 0);
  EXPECT_EQ(column(QStringLiteral("SELECT NAME FROM DATAPLACEMAN WHERE REC=4")), QStringList{QStringLiteral("大阪")});
  EXPECT_EQ(
      column(QStringLiteral("SELECT PASNAME FROM DATALIST_EX WHERE DATAPLACEREC=4 AND GROUPID=10000 ORDER BY REC")),
      (QStringList{folder + "04/0001", folder + "04/0002", folder + "04/0003"}));
  QStringList folders;
  ASSERT_TRUE(store.PlaceFolders(4, folders));
  EXPECT_EQ(folders.size() % 3, 0);
  // Renaming and moving touch only the place's row.
  at(4).Name = QStringLiteral("大阪支社");
  at(4).Order = 1;
  at(4).RecKbn = 2;
  at(0).Order = 2;
  at(0).RecKbn = 2;
  store.StoreChanges();
  EXPECT_EQ(column(QStringLiteral("SELECT REC FROM DATAPLACEMAN WHERE NAME<>'' ORDER BY ORDERKBN,REC")),
            (QStringList{"4", "0"}));
  EXPECT_EQ(store.GetItemList(), QStringLiteral("大阪支社\r") + folder + QLatin1Char('\r'));
  // Deleting empties the name and removes the place's rows; the folder stays.
  ASSERT_TRUE(store.Read(false));
  at(4).Name.clear();
  at(4).RecKbn = 9;
  store.StoreChanges();
  EXPECT_EQ(column(QStringLiteral("SELECT COUNT(*) FROM DATALIST_EX WHERE DATAPLACEREC=4")), QStringList{"0"});
  EXPECT_EQ(column(QStringLiteral("SELECT PATH FROM DATAPLACEMAN WHERE REC=4")), QStringList{folder + "04"});
  EXPECT_FALSE(dm->IBTransactionDEF.inTransaction());
}

}  // namespace
