#pragma once
// Shared pieces of the facility and department breakdown: the facility and
// department conditions (codes bound as parameters), the snapshot scope
// and the lists the allocation passes walk. Internal to the computation.

#include <vector>

#include <QString>
#include <QStringList>

#include "acccalc/AccBalance.h"

namespace db {
class Query;
class Transaction;
}  // namespace db

namespace acccalc {

// A condition on the facility or the department column: one code, the
// members of a group, or nothing (no restriction).
struct TSisetuBumonWhere {
  QString FPrefix;  // parameter name prefix
  bool FGroup = false;
  QStringList FCodes;

  bool isEmpty() const { return FCodes.isEmpty(); }
  // The condition on AColumn ("SCODE", "MAIN.SCODE", "MS.BCODE"); empty
  // when there is none.
  QString text(const QString& AColumn) const;
  // Sets the condition's parameters on a query that names them.
  void bind(db::Query& AQuery) const;
};

// The facility condition for ASet's SCODE/SGROUP (AFacility) or the
// department condition for its BCODE/BGROUP.
TSisetuBumonWhere fnSisetuBumonWhere(db::Transaction& ATr, bool AFacility, const TCalcSisanhyoSettingRec& ASet);

// Both conditions of a settings record.
struct TSisetuBumonConds {
  TSisetuBumonConds(db::Transaction& ATr, const TCalcSisanhyoSettingRec& ASet);
  TSisetuBumonWhere FFacility, FDepartment;

  // The facility condition, " AND ", the department condition, or whichever
  // is not empty; APrefix goes before each column name.
  QString combined(const QString& APrefix = QString()) const;
  void bind(db::Query& AQuery) const;
};

// The snapshot transaction of the company database for one breakdown step:
// started when not active, committed by commit() only when started here,
// rolled back when the step is left by an exception.
class TSnapshotScope {
 public:
  TSnapshotScope();
  ~TSnapshotScope();
  TSnapshotScope(const TSnapshotScope&) = delete;
  TSnapshotScope& operator=(const TSnapshotScope&) = delete;
  db::Transaction& tr() { return *FTr; }
  void commit();

 private:
  db::Transaction* FTr = nullptr;
  bool FStarted = false;
};

// Facilities whose figures are kept by department, and the departments of
// a department group, in code order: what the allocation passes walk.
QStringList facilitiesByDepartment(db::Transaction& ATr);
QStringList departmentsOfGroup(db::Transaction& ATr, const QString& AGroup);

// The settings of every facility and department pair that an allocation
// pass reads: ASet with one facility kept by department and one department
// of ASet's department group (facility order, then department order).
std::vector<TCalcSisanhyoSettingRec> facilityDepartmentSettings(db::Transaction& ATr,
                                                                const TCalcSisanhyoSettingRec& ASet);

// First account row of the breakdown (medical layout for data type 3).
int sisetuBumonFirstRow();

}  // namespace acccalc
