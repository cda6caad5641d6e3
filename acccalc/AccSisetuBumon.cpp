// The breakdown by facility and department (balance type 6): the balance
// table filled from the figure tables KAMOKU_SZ, KAMOKU_MS and KAMOKU_TAX,
// and the earlier years (KAKOZAN) and budgets (KAMOKU_MS) added to its rows.
#include "acccalc/AccSisetuBumon.h"

#include <QStringList>

#include "acccalc/AccCalc.h"
#include "acccalc/AccCalcEnv.h"
#include "acccalc/AccCalcUtil.h"
#include "acctables/AccCodeTable.h"
#include "acctables/AccKikan.h"
#include "common/AccRecord.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"

namespace acccalc {

namespace {

QString listParams(const char* APrefix, int ACount)
{
  QStringList p;
  for (int i = 0; i < ACount; ++i)
    p << QStringLiteral(":%1%2").arg(QLatin1String(APrefix)).arg(i);
  return p.join(QLatin1Char(','));
}

}  // namespace

// One condition on facilities or departments; the codes are bound, never
// written into the text.
QString TSisetuBumonWhere::text(const QString& AColumn) const
{
  if (FCodes.isEmpty())
    return QString();
  if (!FGroup)
    return QStringLiteral("(%1=:%2%3)").arg(AColumn, FPrefix).arg(0);
  return QStringLiteral("(%1 IN (%2))").arg(AColumn, listParams(FPrefix.toLatin1().constData(), FCodes.size()));
}

void TSisetuBumonWhere::bind(db::Query& q) const
{
  for (int i = 0; i < FCodes.size(); ++i) {
    const QString name = FPrefix + QString::number(i);
    if (q.hasParam(name))
      q.setParam(name, FCodes[i]);
  }
}

TSisetuBumonWhere fnSisetuBumonWhere(db::Transaction& tr, bool AFacility, const TCalcSisanhyoSettingRec& ASet)
{
  TSisetuBumonWhere w;
  w.FPrefix = AFacility ? QStringLiteral("W_S") : QStringLiteral("W_B");
  const QString code = AFacility ? ASet.SCODE : ASet.BCODE;
  const int one = AFacility ? ASet.SGROUP : ASet.BGROUP;
  if (one != 0) {
    if (!code.trimmed().isEmpty())
      w.FCodes << code;
    return w;
  }
  w.FGroup = true;
  db::Query q(tr);
  q.setSql(AFacility ? QStringLiteral("SELECT SCODE FROM SISETUGROUPLIST WHERE (GCODE=:GCODE) AND (SCODE<>'')")
                     : QStringLiteral("SELECT BCODE FROM GROUPLIST WHERE (GCODE=:GCODE) AND (BCODE<>'')"));
  q.setParam(QStringLiteral("GCODE"), code);
  for (q.open(); !q.eof(); q.next())
    w.FCodes << q.field(0).asString();
  return w;
}

QString TSisetuBumonConds::combined(const QString& APrefix) const
{
  const QString s = FFacility.text(APrefix + QStringLiteral("SCODE"));
  const QString b = FDepartment.text(APrefix + QStringLiteral("BCODE"));
  if (!s.isEmpty() && !b.isEmpty())
    return s + QStringLiteral(" AND ") + b;
  return s.isEmpty() ? b : s;
}

void TSisetuBumonConds::bind(db::Query& q) const
{
  FFacility.bind(q);
  FDepartment.bind(q);
}

TSisetuBumonConds::TSisetuBumonConds(db::Transaction& tr, const TCalcSisanhyoSettingRec& ASet)
    : FFacility(fnSisetuBumonWhere(tr, true, ASet)), FDepartment(fnSisetuBumonWhere(tr, false, ASet))
{
}

TSnapshotScope::TSnapshotScope()
{
  FTr = AccCalcDatabase().SnapShot;
  if (!FTr)
    throw db::DbError(QStringLiteral("The company database is not open."));
  FStarted = FTr->startIfNeeded();
}

void TSnapshotScope::commit()
{
  if (FStarted && FTr->inTransaction())
    FTr->commit();
  FStarted = false;
}

TSnapshotScope::~TSnapshotScope()
{
  // A scope left by an exception: the breakdown only read, and the error is
  // on its way to the reader, which rolls back what it started.
  if (FStarted && FTr->inTransaction()) {
    try {
      FTr->rollback();
    } catch (const db::DbError& e) {
      qWarning("rollback after a failed breakdown: %s", qPrintable(e.message()));
    }
  }
}

QStringList facilitiesByDepartment(db::Transaction& tr)
{
  QStringList out;
  db::Query q(tr);
  q.setSql(QStringLiteral("SELECT SCODE FROM SISETUMST WHERE (SCODE<>'') AND (BUMEX=1) ORDER BY SCODE"));
  for (q.open(); !q.eof(); q.next())
    out << q.field(0).asString();
  return out;
}

QStringList departmentsOfGroup(db::Transaction& tr, const QString& AGroup)
{
  QStringList out;
  db::Query q(tr);
  q.setSql(QStringLiteral("SELECT BCODE FROM GROUPLIST WHERE (GCODE=:GCODE) AND (BCODE<>'') ORDER BY BCODE"));
  q.setParam(QStringLiteral("GCODE"), AGroup);
  for (q.open(); !q.eof(); q.next())
    out << q.field(0).asString();
  return out;
}

std::vector<TCalcSisanhyoSettingRec> facilityDepartmentSettings(db::Transaction& tr, const TCalcSisanhyoSettingRec& set)
{
  std::vector<TCalcSisanhyoSettingRec> out;
  const QStringList facilities = facilitiesByDepartment(tr);
  const QStringList departments = departmentsOfGroup(tr, set.BCODE);
  for (const QString& f : facilities)
    for (const QString& d : departments) {
      TCalcSisanhyoSettingRec s = set;
      s.SCODE = f;
      s.SGROUP = 1;
      s.BCODE = d;
      s.BGROUP = 1;
      out.push_back(s);
    }
  return out;
}

int sisetuBumonFirstRow()
{
  return AccInf.DATATYPE == 3 ? FirstAccountRowMedical : FirstAccountRowGeneral;
}

}  // namespace acccalc
