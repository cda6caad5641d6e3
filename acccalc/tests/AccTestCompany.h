#pragma once
// A fixture company database of one kind, opened and wired to the
// computation as the data module does it (the sample's fiscal year, the
// two transactions, the test reporter), and a balance table of its size.
#include <memory>

#include "acccalc/AccCalc.h"
#include "acccalc/AccCalcEnv.h"
#include "acccalc/tests/AccTestReporter.h"
#include "acctables/AccCodeTable.h"
#include "common/AccRecord.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TempDir.h"

struct TAccTestCompany {
  explicit TAccTestCompany(fixtures::CompanyKind kind) : medical(kind == fixtures::CompanyKind::Medical)
  {
    path = testfx::makeCompanyDb(dir.path(), kind, false);
    testfx::builder().open(d, path);
    SetAccCalcReporter(&reporter);
    AccInf = TACCINF{};
    AccInf.DATATYPE = medical ? 3 : 1;
    AccInf.CODETYPE = 1;
    AccInf.ZaimuDataType = medical ? jxztCuravia : jxztBasic;
    AccInf.SIME = 99;
    AccInf.KAISINO = 1;
    AccInf.KISHU = FromQDate(fixtures::sample::fiscalStart());
    AccInf.KISHU_A = {AccInf.KISHU, FromQDate(fixtures::sample::fiscalStart().addYears(-1)),
                      FromQDate(fixtures::sample::fiscalStart().addYears(-2))};
    AccInf.KIMATU = FromQDate(fixtures::sample::fiscalStart().addYears(1).addDays(-1));
    pcSetKamokuCodeTable(medical);
    snapshot = std::make_unique<db::Transaction>(d, db::Transaction::Snapshot);
    main = std::make_unique<db::Transaction>(d, db::Transaction::ReadCommitted);
    SetAccCalcDatabase({snapshot.get(), main.get()});
    balance.resize(static_cast<std::size_t>(fnBalanceRecMax()));
    keys.resize(balance.size());
  }
  ~TAccTestCompany()
  {
    SetAccCalcDatabase({});
    SetAccCalcReporter(nullptr);
    AccInf = TACCINF{};
  }
  TAccTestCompany(const TAccTestCompany&) = delete;
  TAccTestCompany& operator=(const TAccTestCompany&) = delete;

  // One statement in a transaction of its own.
  void exec(const QString& sql)
  {
    db::Transaction tr(d);
    tr.start();
    db::Query q(tr);
    q.setParamCheck(false);
    q.setSql(sql);
    q.exec();
    tr.commit();
  }

  // The account row of a code (nullptr when the table has none).
  const TBALANCE* row(const QString& kcode) const
  {
    for (std::size_t r = static_cast<std::size_t>(FirstAccountRow(medical)); r < balance.size(); ++r)
      if (balance[r].KAMOKU.KCODE == kcode)
        return &balance[r];
    return nullptr;
  }
  static const THOJOUTIWAKE* sub(const TBALANCE& r, const QString& hcode)
  {
    for (int i = 0; i < r.HOJONUM; ++i)
      if (r.HOJOUTIWAKE[static_cast<std::size_t>(i)].HCODE == hcode)
        return &r.HOJOUTIWAKE[static_cast<std::size_t>(i)];
    return nullptr;
  }

  bool medical;
  TestTempDir dir;
  QString path;
  db::Database d;
  std::unique_ptr<db::Transaction> snapshot, main;
  TAccTestReporter reporter;
  TBalanceArray balance;
  TQSortArray keys;
};
