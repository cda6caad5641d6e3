// Start-up folders and the local connection settings: what the program puts
// into the process-wide records before the data module connects.
#pragma once

#include <QString>

// Copies the identity file's names (already read into AppInfo) into the
// process-wide file and folder names, and sets the partner edition's colours
// when OemEdition says so.
void pcRendoApplyAppInfo();

// Sets the folders, computer facts and database defaults of SystemDef,
// creates the working folders, creates the local settings file from the
// defaults when it is missing or its section LOCAL is empty, and reads that
// section. exeFile is the program's own file. Throws on failure (a settings
// file that cannot be written, no application-data folder).
void pcRendoStartupFolders(const QString& exeFile);
