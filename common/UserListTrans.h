// Internal to TUserList: the transactions of one operation, that of the
// system-database statement and, when it is another one, that of the
// company-database statement; each is started only when idle and ended only
// when started here.
#pragma once

#include <memory>

#include "common/DbUtil.h"
#include "db/Query.h"

class TUserListTrans {
 public:
  TUserListTrans(db::Query* ASys, db::Query* ADat)
  {
    FSys = std::make_unique<TOwnTransaction>(ASys->transaction());
    if (ADat && &ADat->transaction() != &ASys->transaction())
      FDat = std::make_unique<TOwnTransaction>(ADat->transaction());
  }
  // True when the system statement's transaction was started here.
  bool Started() const { return FSys->Started(); }
  void Commit()
  {
    FSys->Commit();
    if (FDat)
      FDat->Commit();
  }
  void Rollback() noexcept
  {
    FSys->Rollback();
    if (FDat)
      FDat->Rollback();
  }
  void EndAfterError() noexcept
  {
    FSys->EndAfterError();
    if (FDat)
      FDat->EndAfterError();
  }

 private:
  std::unique_ptr<TOwnTransaction> FSys;
  std::unique_ptr<TOwnTransaction> FDat;
};
