#pragma once
// The application identity file "AppInfo.ini" beside the executable.

#include <QString>

#include "common/AccRecord.h"

class IniFile;

// Result codes of fnReadAppInfoIni.
inline constexpr int AppInfoRead = 1;          // the file was read
inline constexpr int AppInfoMissing = 0;       // no file (record untouched)
inline constexpr int AppInfoNoOem = -1;        // OEM empty or missing (record holds the defaults)
inline constexpr int AppInfoReadFailed = -10;  // the file could not be opened or read

// Reads "AppInfo.ini" from the folder of the executable ExeName into Rec.
int fnReadAppInfoIni(const QString& ExeName, TAppInfoRec& Rec);

// The built-in defaults.
void pcAppInfoDefault(TAppInfoRec& Rec);

// One key of an open identity file, with an empty default; Found is false
// when the text read is empty.
QString fnAppInfoReadKey(const IniFile& ini, const QString& Section, const QString& Key, bool& Found);

// The message the start-up shows for a result other than AppInfoRead
// (empty for AppInfoRead).
QString fnAppInfoResultMessage(int result);
