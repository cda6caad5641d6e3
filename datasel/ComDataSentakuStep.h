// The one way a step of the data-list control uses the system database's
// transaction and reports its failure. Included by the control's sources only.
#pragma once

#include <exception>
#include <optional>

#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/FbError.h"
#include "datasel/ComDataSentaku.h"
#include "db/DbError.h"

template <typename R, typename Body>
R TDataSentakuListCtl::runListStep(TStepOnError AOnError, bool AErrorTrap, const char* AStep, const char* AText,
                                   R AFailed, Body&& ABody)
{
  std::optional<TOwnTransaction> tr;
  try {
    if (!DM)
      throw db::DbError(QStringLiteral("データモジュールがありません。"));
    tr.emplace(DM->IBTransactionDEF);
    return ABody(*tr);
  } catch (const std::exception& e) {
    if (tr) {
      if (AOnError == TStepOnError::EndRead)
        tr->EndAfterError();
      else
        tr->Rollback();
    }
    if (!AErrorTrap)
      throw;
    fnReportError(e, QString::fromUtf8(AStep), QString::fromUtf8(AText));
    return AFailed;
  }
}
