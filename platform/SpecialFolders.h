#pragma once
#include <QString>

// The original's special folders, without trailing delimiter:
// - common application data: $RENDO_DATA_ROOT when set, else
//   $XDG_DATA_HOME/rendo (default ~/.local/share/rendo);
// - the user's application data: $XDG_DATA_HOME/rendo/user
//   (or $RENDO_DATA_ROOT/user);
// - documents: QStandardPaths::DocumentsLocation (home when unknown);
// - desktop: QStandardPaths::DesktopLocation (home when unknown);
// - temp: $TEMP when that folder exists, else QDir::tempPath();
// - program folder: the running executable's folder.
// Nothing is created here.
QString CommonAppDataDir();
QString UserAppDataDir();
QString AppDataDir(bool common);
QString DocumentsDir();
QString DesktopDir();
QString TempDir();
QString ProgramDir();
// The executable's full path.
QString ProgramFile();
