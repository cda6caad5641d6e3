// Start-up folders and the local connection settings: what the program puts
// into the process-wide records before the data module connects.
#pragma once

#include <cstdint>

#include <QString>

// The value of the identity file's OEM key that names the partner edition
// ("PARTNER", compared without regard to case and surrounding spaces).
extern const QString RendoPartnerEditionOem;

// OemEdition for an OEM value: 1 for the partner edition, else 0.
std::uint8_t fnRendoOemEdition(const QString& AOem);

// After the identity file has been read into AppInfo: sets OemEdition from
// its OEM value, copies its names into the process-wide file and folder
// names, and switches the default colours of a new operator's screen
// settings to the partner edition's when OemEdition says so.
void pcRendoApplyAppInfo();

// Sets the folders, computer facts and database defaults of SystemDef,
// creates the working folders, creates the local settings file from the
// defaults when it is missing or its section LOCAL is empty, and reads that
// section. exeFile is the program's own file. Throws on failure (a settings
// file that cannot be written, no application-data folder).
void pcRendoStartupFolders(const QString& exeFile);
