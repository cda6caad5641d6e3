// The data list kept up to date when a company data set is closed: the data
// module asks for it (SetDataListUpdateProc) and this library answers with
// the data-list control. Programs that use the data list install it at
// start-up.
#pragma once

#include <QString>

struct TDataInfomationRec;

// Updates the list row of AFolder from the folder's information ARec (the
// list name too when AReplaceListName), with the data-list control of the
// current access form and data place.
void pcDataListUpdateAtClose(const QString& AFolder, const TDataInfomationRec& ARec, bool AReplaceListName);

// Installs pcDataListUpdateAtClose as the data module's list update.
void pcInstallDataListUpdateProc();
