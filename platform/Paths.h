#pragma once
#include <optional>

#include <QChar>
#include <QList>
#include <QString>

// Path helpers. Paths are native POSIX paths joined with "/"; a "\" that
// comes from stored data or Windows-style joins is turned into "/" by
// ToSlashes before a path is opened. Comparisons that must ignore letter
// case use SamePath / SameText.

constexpr QChar PathDelim = u'/';

// Joins parts with single "/" between them (empty parts are skipped;
// a leading "/" of the first part is kept).
QString PathJoin(const QString& a, const QString& b);
QString PathJoin(std::initializer_list<QString> parts);
QString ToSlashes(const QString& path);      // every "\" -> "/"
QString ToBackslashes(const QString& path);  // every "/" -> "\"

// Both delimiters count in the helpers below.
QString IncludeTrailingPathDelimiter(const QString& path);       // adds "/" unless it ends in "/" or "\"
QString ExcludeTrailingPathDelimiter(const QString& path);       // removes one trailing "/" or "\" (not of "/")
QString ExtractFilePath(const QString& path);                    // up to and including the last delimiter
QString ExtractFileDir(const QString& path);                     // up to the last delimiter, without it ("/" for "/x")
QString ExtractFileName(const QString& path);                    // after the last delimiter
QString ExtractFileExt(const QString& path);                     // ".ext" of the name part, or empty
QString ChangeFileExt(const QString& path, const QString& ext);  // ext with its dot, "" removes it
QString ExtractFileDrive(const QString& path);  // "X:" of "X:..." or "\\host\share" of a UNC path, else ""

bool SameText(const QString& a, const QString& b);  // case-insensitive equality
// Case-insensitive comparison of two paths with "\" and "/" equal and one
// trailing delimiter ignored.
bool SamePath(const QString& a, const QString& b);
// Case-insensitive "path lies in folder (or is it)".
bool PathIsUnder(const QString& path, const QString& folder);

bool FileExists(const QString& path);  // a file (not a folder)
bool DirectoryExists(const QString& path);
bool ForceDirectories(const QString& path);  // creates missing parents; true when it exists afterwards

// --- drive labels and share names -----------------------------------------
// Linux has no drive letters or UNC names. A configured list of mount points
// stands in for them: each has a one-letter label and optionally a share name
// "\\host\share". A path outside every mount point belongs to the local disk
// (label LocalDiskLabel(), default 'C').
struct MountPoint {
  QString path;   // folder, e.g. "/mnt/server"
  QChar label;    // 'A'..'Z'
  QString share;  // "\\host\share", or empty for a local disk
};

// Read from RENDO_MOUNT_POINTS on first use when not set:
// "path|label|share" entries separated by ";", e.g.
// "/mnt/srv|S|\\srv\data;/media/usb|E|".
QList<MountPoint> MountPoints();
void SetMountPoints(const QList<MountPoint>& points);
QChar LocalDiskLabel();
void SetLocalDiskLabel(QChar label);

// The mount point containing path (the longest match, case-sensitive as the
// file system is); nullopt when outside all.
std::optional<MountPoint> FindMountPoint(const QString& path);
// The upper-case label of the path's mount point, or the local disk label.
QChar DriveLabel(const QString& path);
// "X:" for DriveLabel.
QString DriveOf(const QString& path);
// For a path on a mount point with a share: "\\host\share\rest\of\path";
// any other path is returned unchanged.
QString UncNameOf(const QString& path);
// The reverse: "\\host\share\rest" -> mount path + "/rest" when a mount
// point has that share (case-insensitive); else empty.
QString PathFromUncName(const QString& unc);
