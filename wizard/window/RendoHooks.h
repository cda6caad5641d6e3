// The three procedures through which the shared framework reaches this
// program: the process launcher, the data validation and the menu request.
// The wizard window installs them when it is created and clears them when
// it is destroyed.
#pragma once

#include <QString>
#include <QVariant>

// Starts the dialog registered under ID (mode 1 modal); -1 when it cannot.
int fnRendoSyoriKidou(const QString& ID, int Mode, const QString& Options);

// Validates the company database in the folder ADataName (through the
// server AHostName, or locally when it is empty or "127.0.0.1"); 0 when
// damaged.
// A damaged database sets SystemDef.DataHasonFlg, shows the damage message
// unless ASilent, and is marked damaged in the data list (only the row of
// the logged-on group) and in the data folder's settings file; failures of
// the marking are ignored.
int fnRendoDataHasonHantei(const QString& AHostName, const QString& ADataName, int ASilent);

// The host's answer to the framework's menu requests: always 0 (no other
// process open, no menu window to minimise).
int fnRendoMenuRequest(int ACode, const QString& AText);

void pcInstallRendoHooks();
void pcClearRendoHooks();

// The damage message.
QString fnRendoHasonMessage();
