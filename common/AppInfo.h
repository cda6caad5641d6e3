#pragma once
// The application identity file "AppInfo.ini" beside the executable.

#include <QString>
#include <QStringList>

#include "common/AccRecord.h"

class IniFile;

// Result codes of fnReadAppInfoIni.
inline constexpr int AppInfoRead = 1;          // the file was read
inline constexpr int AppInfoMissing = 0;       // no file (record untouched)
inline constexpr int AppInfoNoOem = -1;        // OEM empty or missing (record holds the defaults)
inline constexpr int AppInfoReadFailed = -10;  // the file could not be opened or read

// Reads "AppInfo.ini" from the folder of the executable ExeName into Rec.
// Folder values (HomeDir, ShareDir, ServerDir, ServerTempDir and the data
// folders of the other products) are taken with "/" for "\". With
// AppInfoReadFailed, Why (when given) receives the cause naming the file.
int fnReadAppInfoIni(const QString& ExeName, TAppInfoRec& Rec, QString* Why = nullptr);

// The values without which the program cannot run, as "[Section] Key", that
// are empty in Rec (a truncated file reads, but lacks them).
QStringList fnAppInfoMissingValues(const TAppInfoRec& Rec);

// The built-in defaults.
void pcAppInfoDefault(TAppInfoRec& Rec);

// One key of an open identity file, with an empty default; Found is false
// when the text read is empty.
QString fnAppInfoReadKey(const IniFile& ini, const QString& Section, const QString& Key, bool& Found);

// The message the start-up shows for a result other than AppInfoRead
// (empty for AppInfoRead); Detail, when given, is the cause, shown before
// the closing line.
QString fnAppInfoResultMessage(int result, const QString& Detail = QString());
