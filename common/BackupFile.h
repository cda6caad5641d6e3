// File steps of backup and restore: every file a backup or restore leaves
// for someone else is written under a temporary name beside its target,
// synced to the disk and only then renamed into place, so a failure never
// leaves a half file where a whole one is expected and never removes the
// earlier one first.
#pragma once

#include <QString>

// The temporary name of a file being made for ATarget (beside it).
QString fnTempBeside(const QString& ATarget, const QString& ATag);

// Flushes a written file to the disk. False when it cannot be opened or
// synced.
bool fnSyncFile(const QString& AFileName);

// Puts ATemp in the place of ATarget: synced, then renamed over it (a
// rename across file systems becomes a synced copy under a temporary name
// and a rename). With a server access form the server copies the file into
// place (under a temporary name) and removes ATemp. ATarget keeps its
// earlier content until the new one is whole. False on any failure; ATemp
// is then left for the caller to remove.
bool fnReplaceFile(const QString& ATemp, const QString& ATarget, int AAppType);

// Copies the first ABytes of ASource into a new file ATarget (under a
// temporary name, synced, renamed). Throws ESafeSaveError or
// EFileStreamError.
void pcCopyFileHead(const QString& ASource, const QString& ATarget, qint64 ABytes);
