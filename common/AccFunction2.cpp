#include "common/AccFunction2.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QThread>

#include "common/AccFunctionNum.h"
#include "common/AccRecord.h"
#include "common/FbError.h"
#include "common/MessageHook.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "platform/SafeSave.h"
#include "platform/SpecialFolders.h"
#include "platform/SystemInfo.h"

namespace {

const QString kLuaKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System");

bool isDriveRoot(const QString& p)
{
  if (p.size() < 2 || p.size() > 3)
    return false;
  const QChar d = p.at(0).toUpper();
  if (d < QLatin1Char('A') || d > QLatin1Char('Z') || p.at(1) != QLatin1Char(':'))
    return false;
  return p.size() == 2 || p.at(2) == QLatin1Char('\\') || p.at(2) == QLatin1Char('/');
}

QString cleanAbsolute(const QString& p)
{
  return QDir::cleanPath(QFileInfo(ToSlashes(p)).absoluteFilePath());
}

bool copyTree(const QString& src, const QString& dst)
{
  const QFileInfo si(src);
  if (si.isDir() && !si.isSymLink()) {
    if (!QDir().mkpath(dst))
      return false;
    const QDir d(src);
    for (const QFileInfo& e : d.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
      if (!copyTree(e.filePath(), PathJoin(dst, e.fileName())))
        return false;
    return true;
  }
  return fnFileCopy(src, dst);
}

bool removeTree(const QString& path)
{
  const QFileInfo fi(path);
  if (fi.isDir() && !fi.isSymLink())
    return QDir(path).removeRecursively();
  return QFile::remove(path);
}

}  // namespace

// --- computer, user and system ------------------------------------------------

QString fnGetPCName()
{
  if (AppType == jxatSBC)
    return SystemDef.SYSUSER.isEmpty() ? QStringLiteral("ANONYMOUS") : SystemDef.SYSUSER;
  const QString name = ComputerName();
  return name.isEmpty() ? QStringLiteral("PCNAME-ERROR") : name;
}

int fnGetOSMajorVersion()
{
  return QSysInfo::kernelVersion().section(QLatin1Char('.'), 0, 0).toInt();
}

QString fnGetWinUserName()
{
  return UserName().left(1024);
}

QString fnGetSystemDirectory()
{
  return QStringLiteral("/usr/bin");
}

QString fnGetSystemDrive()
{
  return DriveOf(fnGetSystemDirectory());
}

namespace {
int g_pixelsPerInch = 96;
int g_frameHeight = 4;
}  // namespace

void pcSetScreenMetrics(int pixelsPerInch, int frameHeight)
{
  g_pixelsPerInch = pixelsPerInch > 0 ? pixelsPerInch : 96;
  g_frameHeight = frameHeight;
}

int fnScaleDpi(int Value, int M, int D)
{
  if (D == 0)
    D = g_pixelsPerInch;
  if (M == D || D == 0)
    return Value;
  return int(qint64(Value) * M / D);
}

int fnFrameHeightAdjust(int H, int Kind)
{
  const int f = g_frameHeight;
  if (2 * f == 8 || 2 * f <= 6)
    return H;
  if (Kind == 0)
    return H - 2 * f + 8;
  if (Kind == 1)
    return H - 4 * f + 16;
  return H;
}

bool fnWaitMSec(int n)
{
  QDeadlineTimer deadline(std::max(n, 0));
  while (!deadline.hasExpired()) {
    if (QCoreApplication::instance())
      QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    QThread::msleep(1);
  }
  return true;
}

// --- special folders ------------------------------------------------------------

QString fnGetMyDocumentsDir()
{
  const QString d = DocumentsDir();
  return d.isEmpty() ? ProgramDir() : d;
}

QString fnGetAppDataDir(bool Common)
{
  const QString d = AppDataDir(Common);
  return d.isEmpty() ? ProgramDir() : d;
}

QString fnGetSpecialDir(const QString& Keyword)
{
  const QString k = Keyword.toLower();
  QString d;
  if (k == QLatin1String("desktop"))
    d = DesktopDir();
  else if (k == QLatin1String("mydocument"))
    d = DocumentsDir();
  else if (k == QLatin1String("programfiles"))
    d = ExtractFileDir(ProgramDir());
  return d.isEmpty() ? ProgramDir() : d;
}

QString fnGetTempDir(const QString& Default)
{
  const QString t = qEnvironmentVariable("TEMP");
  return !t.isEmpty() && DirectoryExists(t) ? t : Default;
}

QString fnGetUNCName(const QString& Path)
{
  if (Path.trimmed().isEmpty())
    return Path;
  return UncNameOf(Path);
}

void pcGetSubFolderList(const QString& Path, int NamesOnly, QStringList& List)
{
  List.clear();
  if (Path.trimmed().isEmpty() || !DirectoryExists(Path))
    return;
  const QDir d(Path);
  for (const QString& name : d.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden))
    List << (NamesOnly == 1 ? name : PathJoin(ExcludeTrailingPathDelimiter(Path), name));
}

bool fnFolderExists(const QString& Path)
{
  if (DirectoryExists(Path))
    return true;
  if (isDriveRoot(Path) || Path == QLatin1String("/"))
    return false;
  return ForceDirectories(Path);
}

QString fnExcludePathDelim(const QString& Path)
{
  return ExcludeTrailingPathDelimiter(Path);
}

QString fnIncludePathDelim(const QString& Path)
{
  return IncludeTrailingPathDelimiter(Path);
}

bool fnCheckSaveFolder(QString& Path)
{
  QString p = IncludeTrailingPathDelimiter(Path);
  bool result = true;
  QVariant lua;
  fnRegReadValue(QStringLiteral("HKEY_LOCAL_MACHINE"), kLuaKey, QStringLiteral("EnableLUA"), lua);
  if (lua.toInt() == 1 && QDir::cleanPath(ToSlashes(p)) == QLatin1String("/")) {
    const int answer = MessageHook().ShowMessageDlg(
        QStringLiteral("この場所に保存するアクセス許可がありません。\r管理者に連絡してアクセス許可を取得してください。"
                       "\r\r代わりに［ドキュメント］フォルダに保存しますか？\r"),
        mtWarning, mbYes | mbNo);
    if (answer == mrYes)
      p = IncludeTrailingPathDelimiter(fnGetMyDocumentsDir());
    else
      result = false;
  }
  Path = p;
  return result;
}

// --- guarded file operations ---------------------------------------------------

bool fnIsSafeFolder(const QString& Path)
{
  if (Path.trimmed().isEmpty())
    return false;
  if (isDriveRoot(Path.trimmed()))
    return false;
  const QString p = cleanAbsolute(Path.trimmed());
  if (p == QLatin1String("/"))
    return false;
  if (SamePath(p, fnGetSystemDirectory()))
    return false;
  if (SamePath(p, QDir::cleanPath(QDir::homePath())))
    return false;
  static const char* const kSystemFolders[] = {"/bin",   "/boot",  "/dev", "/etc", "/home", "/lib",  "/lib32",
                                               "/lib64", "/media", "/mnt", "/opt", "/proc", "/root", "/run",
                                               "/sbin",  "/srv",   "/sys", "/tmp", "/usr",  "/var"};
  for (const char* f : kSystemFolders)
    if (p == QLatin1String(f))
      return false;
  // Folders directly below /usr and /var (/usr/lib, /var/lib, ...) belong to the system too.
  if (p.startsWith(QLatin1String("/usr/")) && p.count(QLatin1Char('/')) == 2)
    return false;
  if (p.startsWith(QLatin1String("/var/")) && p.count(QLatin1Char('/')) == 2)
    return false;
  return true;
}

bool fnFileDelete(const QString& Path, int Op, bool ToRecycleBin, bool Report)
{
  if (!fnIsSafeFolder(Path)) {
    const QString text = Op == 4 ? QStringLiteral("ルート・システムディレクトリは、変更できません。<%1> ")
                                 : QStringLiteral("ルート・システムディレクトリは、削除できません。<%1> ");
    fnShowCommaMessage(text.arg(Path), mtError);
    return false;
  }
  if (Op != 3)
    return false;
  const QString p = ToSlashes(Path);
  if (!QFileInfo::exists(p) && !QFileInfo(p).isSymLink())
    return false;
  bool ok = false;
  if (ToRecycleBin)
    ok = QFile::moveToTrash(p);
  if (!ok)
    ok = removeTree(p);
  if (!ok && Report)
    fnShowErrorDetail(QStringLiteral("削除できませんでした。"), Path, mtError);
  return ok;
}

bool fnFileCopyMove(const QString& Src, const QString& Dst, int Op)
{
  if (!fnIsSafeFolder(Src) || !fnIsSafeFolder(Dst)) {
    fnShowCommaMessage(QStringLiteral("指定ディレクトリ[%1->%2]の複写・移動はできません。 ").arg(Src, Dst), mtError);
    return false;
  }
  const QString src = ExcludeTrailingPathDelimiter(ToSlashes(Src));
  QString dst = ExcludeTrailingPathDelimiter(ToSlashes(Dst));
  if (!QFileInfo::exists(src))
    return false;
  if (DirectoryExists(dst))
    dst = PathJoin(dst, ExtractFileName(src));
  if (SamePath(src, dst))
    return false;
  if (PathIsUnder(dst, src))
    return false;  // a folder into itself
  if (!ForceDirectories(ExtractFileDir(dst)))
    return false;
  if (Op == 1) {
    if (QFileInfo::exists(dst) && !QFileInfo(dst).isDir())
      QFile::remove(dst);
    if (QDir().rename(src, dst))
      return true;
    if (!copyTree(src, dst))
      return false;
    return removeTree(src);
  }
  if (Op == 2)
    return copyTree(src, dst);
  return false;
}

bool fnFileCopy(const QString& Src, const QString& Dst)
{
  try {
    CopyFileSafely(ToSlashes(Src), ToSlashes(Dst));
    return true;
  } catch (const ESafeSaveError& e) {
    qWarning("file not copied: %s", e.what());
    return false;
  }
}

// --- INI files and registry -------------------------------------------------------

void fnRegReadValue(const QString& /*Root*/, const QString& Key, const QString& Name, QVariant& Value)
{
  Value = 0;
  const Registry reg;
  const QVariant v = reg.ReadValue(Key, Name);
  if (v.isValid())
    Value = v;
}

void fnIniReadValue(const QString& File, const QString& Section, const QString& Key, QVariant& Value,
                    const QString& Default)
{
  const IniFile ini(File);
  Value = ini.ReadString(Section, Key, Default);
}

void pcIniWriteValue(const QString& File, const QString& Section, const QString& Key, const QVariant& Value,
                     bool Delete)
{
  IniFile ini(File, IniFile::Encoding::Utf16LeBom);
  if (Delete)
    ini.DeleteKey(Section, Key);
  else
    ini.WriteString(Section, Key, fnVarToStr(Value));
  ini.UpdateFile();
}

QString fnIniReadSection(const QString& File, const QString& Section)
{
  if (File.isEmpty() || Section.isEmpty())
    return QString();
  const IniFile ini(File);
  QString text;
  for (const QString& l : ini.ReadSectionValues(Section))
    text += l + QLatin1String("\r\n");
  return text;
}

void pcIniWriteSection(const QString& File, const QString& Section, const QStringList& Lines)
{
  if (File.isEmpty() || Section.isEmpty())
    return;
  IniFile ini(File, IniFile::Encoding::Utf16LeBom);
  ini.EraseSection(Section);
  QStringList written;
  for (const QString& line : Lines) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    const QString name = eq < 0 ? line : line.left(eq);
    if (name.trimmed().isEmpty() || written.contains(name.trimmed(), Qt::CaseInsensitive))
      continue;
    written << name.trimmed();
    ini.WriteString(Section, name.trimmed(), eq < 0 ? QString() : line.mid(eq + 1));
  }
  ini.UpdateFile();
}
