// Shared set-up of the journal tests: a stand-alone data root built from the
// fixtures (the general and the medical sample company, with a year of
// journal lines), the data module connected to one of them with its
// accounting information read, and helpers that read the journal.
#pragma once

#include <QDir>
#include <QFile>

#include "common/AccTaxCmp.h"
#include "common/tests/DataModuleTestUtil.h"
#include "platform/DateTime.h"

namespace journaltest {

using namespace dmtest;

class JournalTest : public ::testing::Test {
 protected:
  void SetUp() override
  {
    sample::DataRootOptions options;
    options.journal = true;
    root = testfx::makeDataRoot(tmp.file(QStringLiteral("root")), options);
    pointRecordsAt(root.root, tmp.file(QStringLiteral("log")));
    QDir().mkpath(tmp.file(QStringLiteral("log")));
    dm = std::make_unique<TDM>();
    ASSERT_TRUE(dm->fnAccDefConnected(QString(), true));
  }
  void TearDown() override
  {
    close();
    dm.reset();
    DataHasonHanteiProc = nullptr;
    pcAccRecordReset();
  }

  // Connects the company database of a data folder and reads its
  // accounting information.
  void open(const QString& folder)
  {
    close();
    openFolder = folder;
    ASSERT_TRUE(dm->fnAccDatConnected(QString(), folder, false));
    ASSERT_TRUE(dm->fnGetAccInfo());
    SystemDef.OPSCODE = QStringLiteral("01");
  }
  void openDataSet(int index)
  {
    data = root.dataSets.at(index);
    open(data.folder);
  }
  void close()
  {
    if (dm && !openFolder.isEmpty()) {
      if (dm->IBTransactionDAT.inTransaction())
        dm->IBTransactionDAT.rollback();
      dm->fnAccDatDisConnected(openFolder, false, false, false);
      openFolder.clear();
    }
  }
  db::Transaction& tr() { return dm->IBTransactionDAT; }

  // First column of every row, through the module's connection.
  QStringList column(const QString& sql)
  {
    QStringList out;
    db::Transaction t(dm->IBDatabaseDAT);
    t.start();
    db::Query q(t, sql);
    for (q.open(); !q.eof(); q.next()) {
      QStringList row;
      for (int i = 0; i < q.fieldCount(); ++i)
        row << q.field(i).asString();
      out << row.join(QLatin1Char('|'));
    }
    q.close();
    t.commit();
    return out;
  }
  int count(const QString& sql) { return column(sql).value(0).toInt(); }
  void exec(const QString& sql)
  {
    db::Transaction t(dm->IBDatabaseDAT);
    t.start();
    db::Query q(t, sql);
    q.setParamCheck(false);
    q.exec();
    t.commit();
  }
  int entries() { return count(QStringLiteral("SELECT COUNT(*) FROM SIWAKE WHERE TAISHAKU=1 AND DELFLG=0")); }

  static TDateTime day(int y, int m, int d) { return EncodeDate(y, m, d); }

  TestTempDir tmp;
  sample::DataRoot root;
  sample::DataSet data;
  QString openFolder;
  RecordingHook hook;
  std::unique_ptr<TDM> dm;
};

}  // namespace journaltest
