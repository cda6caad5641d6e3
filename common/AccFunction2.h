// Platform helpers of the common library: computer and user facts, waiting
// while events keep flowing, special folders, the saving rule for the root
// of the system disk, guarded file operations, and one-value access to INI
// files and the registry store.
//
// The folder and computer pickers are dialogs and live with the widgets.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

// --- computer, user and system ------------------------------------------------
// Server-based use: SystemDef.SYSUSER, or "ANONYMOUS" when that is empty;
// otherwise the computer name ("PCNAME-ERROR" when it cannot be read).
QString fnGetPCName();
int fnGetOSMajorVersion();
QString fnGetWinUserName();
// The folder of the system's programs ("/usr/bin"), and its drive ("C:" by
// the mount-point labels).
QString fnGetSystemDirectory();
QString fnGetSystemDrive();

// Screen facts the widget layer provides at start-up (defaults: 96 pixels
// per inch, a frame height of 4 pixels).
void pcSetScreenMetrics(int pixelsPerInch, int frameHeight);
// Value scaled by M/D (truncated); D = 0 means the screen's pixels per inch.
int fnScaleDpi(int Value, int M, int D);
// With F the frame height: H unchanged when 2F is 8 or at most 6; Kind 0
// H - 2F + 8, Kind 1 H - 4F + 16, other kinds H.
int fnFrameHeightAdjust(int H, int Kind);

// Waits N milliseconds while pending events are processed; always true.
bool fnWaitMSec(int n);

// --- special folders ------------------------------------------------------------
QString fnGetMyDocumentsDir();
QString fnGetAppDataDir(bool Common);
// "desktop", "mydocument", "programfiles" (any case); any other keyword the
// program's folder.
QString fnGetSpecialDir(const QString& Keyword);
// The folder named by TEMP when it exists, else Default.
QString fnGetTempDir(const QString& Default);
// The share name of a path on a shared mount point; other paths unchanged.
QString fnGetUNCName(const QString& Path);
// The sub-folders of Path (names only when NamesOnly is 1, else full paths).
void pcGetSubFolderList(const QString& Path, int NamesOnly, QStringList& List);
// True when the folder exists or could be created with its parents; a bare
// drive or the root gives false when it does not exist.
bool fnFolderExists(const QString& Path);
QString fnExcludePathDelim(const QString& Path);
QString fnIncludePathDelim(const QString& Path);

// With the control switch "EnableLUA" on, saving into the root of the system
// disk asks whether to use the Documents folder instead (Yes: Path becomes
// it, true; No: false). Path gets a trailing delimiter.
bool fnCheckSaveFolder(QString& Path);

// --- guarded file operations ---------------------------------------------------
// False for a blank path, a drive root, the root folder, the home folder,
// the system directory and the system's own folders (/usr, /etc, ...).
bool fnIsSafeFolder(const QString& Path);
// Op 3 deletes Path (a file or a whole folder), to the trash when
// ToRecycleBin; Op 4 (rename) has no target here and fails. An unsafe path
// is refused with a message. Report shows failures.
bool fnFileDelete(const QString& Path, int Op, bool ToRecycleBin, bool Report);
// Op 2 copies, Op 1 moves Src to Dst (a file or a folder; into Dst when it is
// an existing folder; missing folders are created; files are overwritten).
// Unsafe paths are refused with a message.
bool fnFileCopyMove(const QString& Src, const QString& Dst, int Op);
// Copies one file over Dst (through a temporary name in Dst's folder).
bool fnFileCopy(const QString& Src, const QString& Dst);

// --- INI files and registry -------------------------------------------------------
// Value := 0, then the registry value (text or integer) when it exists.
void fnRegReadValue(const QString& Root, const QString& Key, const QString& Name, QVariant& Value);
void fnIniReadValue(const QString& File, const QString& Section, const QString& Key, QVariant& Value,
                    const QString& Default);
// Writes (or deletes) one key; the file is rewritten as UTF-16.
void pcIniWriteValue(const QString& File, const QString& Section, const QString& Key, const QVariant& Value,
                     bool Delete);
// The "name=value" lines of a section, each ended by CR LF.
QString fnIniReadSection(const QString& File, const QString& Section);
// Replaces a section by the "name=value" lines (the first line of a name wins).
void pcIniWriteSection(const QString& File, const QString& Section, const QStringList& Lines);
