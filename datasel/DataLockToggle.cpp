#include "datasel/DataLockToggle.h"

#include "datasel/DataFolderStatus.h"

TDataLockAction fnDataLockAction(TJxDataStatus AStatus, int AStatusOpCode, int AShownLock, int AMyOpCode)
{
  TDataLockAction a;
  if (AStatus != jxdsNone && AStatus != jxdsExec && AStatus != jxdsLock) {
    a.Kind = AStatus == jxdsError ? TDataLockAction::Nothing : TDataLockAction::Refuse;
    return a;
  }
  const bool lockedByMe = AStatus == jxdsLock && AStatusOpCode == AMyOpCode;
  const bool lockedByOther = AStatus == jxdsLock && !lockedByMe;
  const int mine = fnOperatorNumber(AMyOpCode);
  if (lockedByOther) {
    // Keep (and show) the holder's mark.
    a.Kind = TDataLockAction::Refuse;
    a.Locked = 1;
    a.OpNo = fnOperatorNumber(AStatusOpCode);
    return a;
  }
  if (AShownLock != 0) {
    // The operator asks to release.
    if (lockedByMe) {
      a.Kind = TDataLockAction::DoRelease;
      a.WriteStatus = true;
    } else {
      a.Kind = TDataLockAction::ShowOnly;  // already free: only the row was stale
    }
    a.Locked = 0;
    a.OpNo = 0;
    return a;
  }
  // The operator asks to lock.
  a.Locked = 1;
  a.OpNo = mine;
  if (lockedByMe) {
    a.Kind = TDataLockAction::ShowOnly;
  } else {
    a.Kind = TDataLockAction::DoLock;
    a.WriteStatus = true;
  }
  return a;
}
