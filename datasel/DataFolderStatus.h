// The status entry of a data folder as the data-selection dialog reads it:
// the section DATASTS of the folder's settings file.
#pragma once

#include "common/DataInfomation.h"

#include <QString>

// Fills the status part of ARec (Status, OpCode, OpName, the share status,
// UpdateLock, ReadOnly) from the folder's settings file and returns the
// status. A folder without the file is free (jxdsNone); a file that cannot
// be read, or holds a status outside 0 .. 10, gives jxdsError.
TJxDataStatus fnReadDataFolderStatus(const QString& APath, TDataInfomationRec& ARec);

// The operator number shown for a status holder: the operator code modulo
// group x 10000, the code itself when there is no group.
int fnOperatorNumber(int AOpCode);
