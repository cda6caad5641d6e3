// Applying what the operator changed in the data details dialog to a data
// set: the list name, the update and journal-entry prohibitions, and the
// clearing of a status left behind by an interrupted run. Every decision is
// taken from the folder status read at the moment of writing, never from the
// status the dialog showed when it opened.
#pragma once

#include <QString>

#include "common/DataInfomation.h"
#include "datasel/ComDataSentaku.h"

// The status of a data folder as it stands now (fnReadDataStatus; in
// stand-alone use a folder without the company database gives jxdsError).
// ARec gets the holder.
TJxDataStatus fnReadDataStatusNow(const QString& ADataPath, TDataInfomationRec& ARec);

// What the operator asked for in the dialog.
struct TDataSyosaiRequest {
  QString ListName;
  int UpdateLock = 0;
  int ReadOnly = 0;
  bool StatusClear = false;
  // The status the dialog offered to clear, as it read it.
  TJxDataStatus ShownStatus = jxdsNone;
  int ShownOpCode = 0;
};

struct TDataSyosaiOutcome {
  TJxDataStatus Status = jxdsNone;  // the status just read
  TDataInfomationRec Holder;        // its holder
  bool InfoWritten = false;         // name and flags written to the data set
  bool StatusCleared = false;
  bool ClearRefused = false;  // the status had changed: left as it is
};

// Applies a request to the data set of ARec in folder ADataPath and brings
// ARec up to date (name, flags, and the lock column taken from the status
// just read, or 0 when this call cleared it). ARec is not written to the
// list table; that is the caller's.
TDataSyosaiOutcome fnApplyDataSyosai(const QString& ADataPath, const TDataSyosaiRequest& AReq, TDataListRec& ARec);
