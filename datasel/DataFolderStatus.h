// The status of a data folder as the data-selection dialog reads it.
#pragma once

#include <QString>

#include "common/DataInfomation.h"

// The status and information of the data folder APath as they stand now,
// read through TDataInfomation::ReadIniFile with the system host name: in
// stand-alone use from the folder's settings file, in client/server and
// server-based use from the lock column of the data list (a lock gives
// jxdsLock with the holder's operator code and name) and otherwise from
// whether anybody is attached to the company database. ARec gets the
// status, its holder and the facts read. A status outside 0 .. 10 (a
// settings file written by hand or damaged) gives jxdsError.
TJxDataStatus fnReadDataStatus(TJxAppType AAppType, const QString& APath, TDataInfomationRec& ARec);

// Only the section DATASTS of the folder's settings file (Status, OpCode,
// OpName, the share status, UpdateLock, ReadOnly), nothing created or
// connected; returns the status. A folder without the file is free
// (jxdsNone); a file that cannot be read, or holds a status outside
// 0 .. 10, gives jxdsError.
TJxDataStatus fnReadDataFolderStatus(const QString& APath, TDataInfomationRec& ARec);

// The operator number shown for a status holder: the operator code modulo
// group x 10000, the code itself when there is no group.
int fnOperatorNumber(int AOpCode);
