// The data list brought up to date when a company data set is closed, once
// this library has installed its update in the data module.
#include <gtest/gtest.h>

#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "datasel/DataListUpdate.h"
#include "tests/support/DataModuleEnv.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TempDir.h"

namespace {

using namespace fixtures;

class DataListUpdate : public testenv::DataModuleTest {
 protected:
  void SetUp() override
  {
    root = testfx::makeDataRoot(tmp.file(QStringLiteral("root")));
    setUpDataModule(
        {.root = root.root, .logFile = tmp.file("log"), .dataFile = QStringLiteral("wqacc2.fdb"), .dataListCnt = 120});
    pcInstallDataListUpdateProc();
  }
  void TearDown() override
  {
    SetDataListUpdateProc(nullptr);
    testenv::DataModuleTest::TearDown();
  }
  QString listValue(const QString& column, int rec)
  {
    return testenv::valueOf(dm->IBDatabaseDEF, QStringLiteral("SELECT %1 FROM DATALIST WHERE REC=%2 AND GROUPID=%3")
                                                   .arg(column)
                                                   .arg(rec)
                                                   .arg(SystemDef.GROUPID));
  }

  TestTempDir tmp;
  sample::DataRoot root;
  testenv::ScopedMessageCollector hook{testenv::MessageCollector::Replies::FirstButton};
};

TEST_F(DataListUpdate, ClosingADataSetBringsItsRowUpToDate)
{
  const sample::DataSet& general = root.dataSets.at(0);
  for (const bool replaceName : {false, true}) {
    testenv::execIn(dm->IBDatabaseDEF, QStringLiteral("UPDATE DATALIST SET SHOUGOU='old', ENTTEXT='old', NENDO=9 "
                                                      "WHERE REC=%1 AND GROUPID=%2")
                                           .arg(general.rec)
                                           .arg(SystemDef.GROUPID));
    ASSERT_TRUE(dm->fnAccDatConnected(QString(), general.folder, true));
    EXPECT_TRUE(dm->fnAccDatDisConnected(general.folder, true, true, replaceName));
    EXPECT_EQ(listValue(QStringLiteral("SHOUGOU"), general.rec), general.shougou);
    EXPECT_EQ(listValue(QStringLiteral("NENDO"), general.rec).toInt(), general.nendo);
    EXPECT_EQ(listValue(QStringLiteral("ENTTEXT"), general.rec),
              replaceName ? general.listName : QStringLiteral("old"));
  }
  EXPECT_TRUE(hook.texts.isEmpty()) << hook.texts.join('|').toStdString();
}

}  // namespace
