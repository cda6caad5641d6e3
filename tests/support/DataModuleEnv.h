// Shared set-up for tests that drive the data module against real databases:
// a base fixture that logs the sample operator on to a data root, creates the
// data module (DM) and runs statements for the test. The box collector of
// MessageCollector.h comes with it.
//
// Header only: it needs the common library, which only the test programs of
// folders above it link (the support library itself stays below common).
#pragma once

#include <gtest/gtest.h>
#include <memory>
#include <optional>

#include <QDir>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "tests/support/FirebirdServer.h"
#include "tests/support/Fixtures.h"
#include "tests/support/MessageCollector.h"
#include "tests/support/TempDir.h"

namespace testenv {

// What a test sets before the data module is made. The settings not named
// here stay as the reset of the process records leaves them.
struct DataModuleSetup {
  QString root{};                            // data root (system database folder)
  QString logFile{};                         // log folder
  bool sampleOperator = true;                // logged on as the sample operator (code)
  bool operatorName = false;                 // ... and with the operator's name
  QString tempFolder{};                      // work folder (created), when not empty
  std::optional<int> systemDbVerMajor = 12;  // major version of the system database
  QString dataFile{};                        // company database file name, when not empty
  int dataListCnt = 0;                       // rows of the data list, when above 0
  bool defaultColours = true;                // grid colours a new operator starts with
  bool setDM = true;                         // the module made is the process's DM
  bool connect = true;                       // connect the system database
};

// Runs one statement in its own transaction on an open database; the values
// of `params` are bound as text by name.
inline void execIn(db::Database& database, const QString& sql, const QVariantMap& params = {})
{
  db::Transaction tr(database);
  tr.start();
  db::Query q(tr, sql);
  for (auto it = params.begin(); it != params.end(); ++it)
    q.setParam(it.key().toUtf8().constData(), it.value().toString());
  q.exec();
  tr.commit();
}

// Runs one statement on a database file: opened directly in stand-alone use,
// through the test server otherwise (the server holds the files open).
inline void execIn(const QString& databaseFile, const QString& sql)
{
  db::Database d;
  testfx::builder().open(d, AppType == jxatSA ? databaseFile : FirebirdServer::shared().remoteName(databaseFile));
  execIn(d, sql);
}

// The first column of every row a query answers, as text.
inline QStringList columnOf(db::Database& database, const QString& sql)
{
  QStringList out;
  db::Transaction tr(database);
  tr.start();
  db::Query q(tr, sql);
  for (q.open(); !q.eof(); q.next())
    out << q.field(0).asString();
  q.close();
  tr.commit();
  return out;
}

// The first column of the first row a query answers, as text; "<none>" when
// it answers no row.
inline QString valueOf(db::Database& database, const QString& sql)
{
  db::Transaction tr(database);
  tr.start();
  db::Query q(tr, sql);
  q.open();
  const QString v = q.eof() ? QStringLiteral("<none>") : q.field(0).asString();
  q.close();
  tr.commit();
  return v;
}

// Base fixture: the process records reset, the settings of a DataModuleSetup
// and a data module; TearDown undoes it. A derived SetUp calls
// setUpDataModule; a derived TearDown that adds work calls this one.
class DataModuleTest : public ::testing::Test {
 protected:
  void setUpDataModule(const DataModuleSetup& setup)
  {
    pcAccRecordReset();
    SystemDef.IBPATHDEF = setup.root;
    SystemDef.IBUSER = "ABACOR";
    SystemDef.PASWORD = "dormil";
    SystemDef.LOG = setup.logFile;
    if (!setup.tempFolder.isEmpty()) {
      SystemDef.APPTEMP = setup.tempFolder + "/";
      QDir().mkpath(SystemDef.APPTEMP);
    }
    SystemDef.GROUPID = fixtures::sample::GroupId;
    if (setup.sampleOperator)
      SystemDef.OPCODE = fixtures::sample::loginCode(fixtures::sample::OperatorCode);
    if (setup.operatorName)
      SystemDef.OPNAME = fixtures::sample::operatorName();
    if (setup.systemDbVerMajor)
      SystemDef.SystemDBVerMajor = *setup.systemDbVerMajor;
    if (!setup.dataFile.isEmpty())
      AppInfo.DataFile = setup.dataFile;
    if (setup.dataListCnt > 0)
      AppInfo.DataListCnt = setup.dataListCnt;
    if (setup.defaultColours) {
      // Forms copy these into their grid styles when first shown; left at 0
      // the grids would draw black.
      SystemDef.ColHeaderColor = DefColHeaderColor;
      SystemDef.RowHeaderColor = DefColHeaderColor;
      SystemDef.ColHeaderGradColor1 = DefColHeaderGradColor1;
      SystemDef.ColHeaderGradColor2 = DefColHeaderGradColor2;
      SystemDef.ClientColor = DefClientColor;
      SystemDef.ClientColor1 = DefClientColor1;
      SystemDef.ClientColor2 = DefClientColor2;
      SystemDef.TotalColor = DefTotalColor;
      SystemDef.ActiveColor = DefActiveColor;
    }
    openDataModule(setup.setDM, setup.connect);
  }
  // A new data module (the one before goes), optionally connected.
  void openDataModule(bool setDM = true, bool connect = true)
  {
    closeDataModule();
    dm = std::make_unique<TDM>();
    if (setDM)
      DM = dm.get();
    if (connect) {
      ASSERT_TRUE(dm->fnAccDefConnected(QString(), true));
    }
  }
  void closeDataModule()
  {
    DM = nullptr;
    dm.reset();
  }
  void TearDown() override
  {
    closeDataModule();
    pcAccRecordReset();
  }

  // A statement on the system database the module holds.
  void exec(const QString& sql, const QVariantMap& params = {}) { execIn(dm->IBDatabaseDEF, sql, params); }
  QStringList column(const QString& sql) { return columnOf(dm->IBDatabaseDEF, sql); }
  QString value(const QString& sql) { return valueOf(dm->IBDatabaseDEF, sql); }

  std::unique_ptr<TDM> dm;
};

// A DataModuleTest whose tests share one temporary folder (`tmp`) and one
// sample data root in it (`root`, made from "root"), made before the first
// test of the suite and removed after the last. `Suite` is the fixture
// itself, so that every suite has its own. A suite that adds to the root
// hides SetUpTestSuite and calls this one first.
template <class Suite>
class SharedDataRootTest : public DataModuleTest {
 protected:
  static void SetUpTestSuite()
  {
    tmp = new TestTempDir;
    root = new fixtures::sample::DataRoot(testfx::makeDataRoot(tmp->file("root"), fixtures::sample::DataRootOptions{}));
  }
  static void TearDownTestSuite()
  {
    delete root;
    root = nullptr;
    delete tmp;
    tmp = nullptr;
  }

  static inline TestTempDir* tmp = nullptr;
  static inline fixtures::sample::DataRoot* root = nullptr;
};

}  // namespace testenv
