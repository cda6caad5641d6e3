// What a click on the lock column of the data list does, decided from the
// folder status just read (never from the row as it was drawn, which may be
// stale): an operator locks a free data set, releases only a lock of their
// own, and is refused with the holder's details when another operator holds
// it. Another operator's mark is never overwritten.
#pragma once

#include "common/DataInfomation.h"

struct TDataLockAction {
  enum TKind { Nothing, DoLock, DoRelease, ShowOnly, Refuse };
  TKind Kind = Nothing;
  int Locked = 0;            // the lock column afterwards (0 or 1)
  int OpNo = 0;              // the operator number column afterwards
  bool WriteStatus = false;  // write the folder status (jxdsLock or jxdsNone)
};

// AStatus/AStatusOpCode: the folder status just read and its holder;
// AShownLock: the lock column as drawn; AMyOpCode: the logged-on operator.
TDataLockAction fnDataLockAction(TJxDataStatus AStatus, int AStatusOpCode, int AShownLock, int AMyOpCode);
