// Shared set-up of the data-module tests: a stand-alone data root built from
// the fixtures, the process-wide records pointed at it, and a data module.
#pragma once

#include <gtest/gtest.h>
#include <memory>

#include "RecordingHook.h"
#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TempDir.h"

namespace dmtest {

using namespace fixtures;

inline void pointRecordsAt(const QString& root, const QString& logDir)
{
  pcAccRecordReset();
  SystemDef.IBPATHDEF = root;
  SystemDef.IBUSER = QStringLiteral("ABACOR");
  SystemDef.PASWORD = QStringLiteral("dormil");
  SystemDef.LOG = logDir;
  SystemDef.TEMP = logDir;
  SystemDef.GROUPID = sample::GroupId;
  SystemDef.OPCODE = sample::loginCode(sample::OperatorCode);
  SystemDef.OPCODE2 = sample::OperatorCode;
  SystemDef.OPNAME = sample::operatorName();
  SystemDef.SystemDBVerMajor = 12;
}

// One value of a table row of a database, read in a transaction of its own.
inline QString readValue(const QString& database, const QString& sql, const QString& field)
{
  db::Database d;
  testfx::builder().open(d, database);
  db::Transaction tr(d);
  tr.start();
  db::Query q(tr, sql);
  q.open();
  const QString v = q.eof() ? QStringLiteral("<none>") : q.field(field).asString();
  q.close();
  tr.commit();
  return v;
}

inline void execSql(const QString& database, const QString& sql)
{
  db::Database d;
  testfx::builder().open(d, database);
  db::Transaction tr(d);
  tr.start();
  db::Query q(tr, sql);
  q.exec();
  tr.commit();
}

class StandAlone : public ::testing::Test {
 protected:
  void SetUp() override
  {
    sample::DataRootOptions options;
    options.previousYear = true;
    root = testfx::makeDataRoot(tmp.file(QStringLiteral("root")), options);
    pointRecordsAt(root.root, tmp.file(QStringLiteral("log")));
    dm = std::make_unique<TDM>();
  }
  void TearDown() override
  {
    dm.reset();
    DataHasonHanteiProc = nullptr;
    pcAccRecordReset();
  }

  TestTempDir tmp;
  sample::DataRoot root;
  RecordingHook hook;
  std::unique_ptr<TDM> dm;
};

}  // namespace dmtest
