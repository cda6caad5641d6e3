#include "wizard/window/RendoDataOps.h"

#include <array>

#include <QDir>
#include <QFileInfo>

#include "acccalc/AccCalcEnv.h"
#include "acctables/AccCodeTable.h"
#include "acctables/AccGengo.h"
#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "db/Query.h"
#include "db/Transaction.h"

namespace {

TRendoDataOps defaults()
{
  TRendoDataOps ops;
  ops.GetAccInfo = [] {
    if (DM == nullptr || !DM->fnGetAccInfo())
      return false;
    // The computation reads through the data module's two company transactions.
    SetAccCalcDatabase({&DM->IBTransactionDATSS, &DM->IBTransactionDAT});
    return true;
  };
  ops.GetSYSDEF = [] { return DM != nullptr && DM->fnGetSYSDEF(); };
  ops.SetGengoRecord = [] {
    if (DM)
      DM->SetGengoRecord();
  };
  ops.DeleteLogonInfo = [] {
    if (DM)
      DM->DeleteLogonInfo();
  };
  ops.GetDataBaseVer = [] { return DM ? DM->fnGetDataBaseVer() : QStringLiteral("0.0.0"); };
  ops.IsDataPassword = [](void*) { return DM != nullptr && DM->IsDataPassword(0); };
  ops.GetExistsOpeDefSisetu = [] { return DM != nullptr && DM->fnGetExistsOpeDefSisetu(); };
  ops.IsAuthSitenZentai = [](int AOpCode) { return DM != nullptr && DM->IsAuthSitenZentai(AOpCode); };
  // Without a data module nothing can be validated: the database passes.
  ops.ValidateFDB = [](int AProtocol, const QString& AServerName, const QString& ADataBaseName) {
    return DM ? DM->ValidateFDB(AProtocol, AServerName, ADataBaseName) : 1;
  };
  ops.LocalPathToDataListRecNo = [](const QString& p, int& r, int& c) {
    r = 0;
    c = 0;
    if (DM)
      DM->LocalPathToDataListRecNo(p, r, c);
  };
  return ops;
}

TRendoDataOps& current()
{
  static TRendoDataOps ops = defaults();
  return ops;
}

}  // namespace

TRendoDataOps& RendoDataOps()
{
  return current();
}

void pcResetRendoDataOps()
{
  current() = defaults();
}
