#pragma once
// A reporter that records what the computation reports.
#include <QStringList>

#include "acccalc/AccCalcEnv.h"
#include "db/DbError.h"

class TAccTestReporter : public TAccCalcReporter {
 public:
  QStringList messages;    // comma messages, as passed
  QList<int> fbCalcCodes;  // gdscodes reported as calculation errors
  QStringList fbCalcTitles;
  QStringList fbSteps;  // steps of errors for the common handler

  void ShowCommaMessage(const QString& AText, int ADlgType) override
  {
    messages << QStringLiteral("%1:%2").arg(ADlgType).arg(AText);
  }
  void ShowFbCalcError(const db::DbError& E, const QString& ATitle) override
  {
    fbCalcCodes << E.gdscode();
    fbCalcTitles << ATitle;
  }
  void ShowFbError(const db::DbError&, const QString& AStepName, const QString&) override { fbSteps << AStepName; }
};
