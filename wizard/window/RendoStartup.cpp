#include "wizard/window/RendoStartup.h"

#include <QDir>
#include <QFileInfo>

#include "common/AccFunction2.h"
#include "common/AccRecord.h"
#include "common/AppIniCreate.h"
#include "platform/Exceptions.h"
#include "platform/IniFile.h"
#include "platform/SpecialFolders.h"

const QString RendoPartnerEditionOem = QStringLiteral("PARTNER");

std::uint8_t fnRendoOemEdition(const QString& AOem)
{
  return AOem.trimmed().compare(RendoPartnerEditionOem, Qt::CaseInsensitive) == 0 ? 1 : 0;
}

void pcRendoApplyAppInfo()
{
  OemEdition = fnRendoOemEdition(AppInfo.OEM);
  pcApplyAppInfoNames(AppInfo);
  pcApplyOemDefaultColors();
}

namespace {

QString join(const QString& a, const QString& b)
{
  return fnExcludePathDelim(a) + u'/' + b;
}

// Section LOCAL as name=value lines; empty when the section is empty or absent.
QString readLocalSection()
{
  return fnIniReadSection(SystemDef.APPINI, QStringLiteral("LOCAL")).trimmed();
}

void makeDefaultFile()
{
  TAppIniCreate box;
  if (box.InitFlg())
    box.MakeLocalIniFile(1);
  if (!QFileInfo::exists(SystemDef.APPINI))
    throw EPlatformError(QStringLiteral("ローカル設定ファイルを作成できませんでした: %1").arg(SystemDef.APPINI));
}

}  // namespace

void pcRendoStartupFolders(const QString& exeFile)
{
  SystemDef.AppName.clear();
  SystemDef.AppPsName.clear();
  SystemDef.OSVersion = fnGetOSMajorVersion();
  // Window metrics of the platform this program was made for; nothing here
  // lays windows out by them.
  SystemDef.MenuBarHeight = 15;
  SystemDef.ControlBarHeight = 0;
  SystemDef.TittleHeight = 4;
  SystemDef.FlameHeight = 33;
  SystemDef.ChoseiPixcel = SystemDef.FlameHeight > 4 ? 2 * (SystemDef.FlameHeight - 4) : 0;
  SystemDef.SYSUSER = fnGetWinUserName();
  SystemDef.PCNAME = fnGetPCName();
  SystemDef.EXEPATH = fnExcludePathDelim(QFileInfo(exeFile).absolutePath());
  SystemDef.ROOT = fnExcludePathDelim(QFileInfo(SystemDef.EXEPATH).absolutePath());
  SystemDef.FORM = join(SystemDef.ROOT, QStringLiteral("print"));
  SystemDef.HELP = join(SystemDef.ROOT, QStringLiteral("help"));
  SystemDef.SQL = join(SystemDef.ROOT, QStringLiteral("sql"));
  const QString appData = fnExcludePathDelim(fnGetAppDataDir(true));
  if (appData.isEmpty())
    throw EPlatformError(
        QStringLiteral("アプリケーションデータのフォルダを作成できませんでした: %1").arg(CommonAppDataDir()));
  SystemDef.APPDATA = join(appData, AccHomeDir);
  SystemDef.INI = join(SystemDef.APPDATA, QStringLiteral("ini"));
  SystemDef.LOG = join(SystemDef.APPDATA, QStringLiteral("log"));
  SystemDef.APPTEMP = join(SystemDef.APPDATA, QStringLiteral("temp"));
  SystemDef.TEMP = fnGetTempDir(SystemDef.TEMP.isEmpty() ? QDir::tempPath() : SystemDef.TEMP);
  SystemDef.SYSTEM = fnGetSystemDrive();
  SystemDef.USER = join(fnGetMyDocumentsDir(), AccHomeDir);
  SystemDef.DODEV_DATA = join(SystemDef.TEMP, AccRIvoraDir);
  SystemDef.IBPATHDEF = join(SystemDef.APPDATA, QStringLiteral("data"));
  SystemDef.IBPATHDAT.clear();
  SystemDef.SERVERNAME = SystemDef.PCNAME;
  SystemDef.IBUSER = QStringLiteral("ABACOR");
  SystemDef.PASWORD = QStringLiteral("dormil");
  SystemKind = 0;

  // A folder that cannot be made is not reported here; its first use fails.
  for (const QString& d : {SystemDef.INI, SystemDef.LOG, SystemDef.APPTEMP, SystemDef.USER})
    fnFolderExists(d);

  SystemDef.APPINI = join(SystemDef.APPDATA, AccAppName + QStringLiteral(".ini"));
  if (!QFileInfo::exists(SystemDef.APPINI)) {
    fnFolderExists(SystemDef.APPDATA);
    makeDefaultFile();
  }
  if (readLocalSection().isEmpty()) {
    makeDefaultFile();
    if (readLocalSection().isEmpty())
      throw EPlatformError(
          QStringLiteral("ローカル設定ファイルに接続の設定 [LOCAL] がありません: %1").arg(SystemDef.APPINI));
  }

  const IniFile ini(SystemDef.APPINI);
  const QString sec = QStringLiteral("LOCAL");
  SystemDef.SERVERNAME = ini.ReadString(sec, QStringLiteral("HOSTNAME"), QString());
  SystemDef.GOGLOBAL = ini.ReadString(sec, QStringLiteral("GOGLOBAL"), QString()).toUpper() == QStringLiteral("YES");
  SystemDef.GROUP = ini.ReadString(sec, QStringLiteral("GROUP"), QString()).toUpper() == QStringLiteral("YES");
  SystemDef.IBPATHDEF = ini.ReadString(sec, QStringLiteral("SYSDIR"), QString());
  SystemDef.IBUSER = ini.ReadString(sec, QStringLiteral("USER"), QString()).toUpper();
  SystemDef.PASWORD = ini.ReadString(sec, QStringLiteral("PASSWORD"), QString()).toLower();

  // The program starts stand-alone.
  SystemDef.SERVERNAME.clear();
  SystemDef.GOGLOBAL = false;
  SystemDef.ANONYMOUS = false;
  SystemDef.GROUPID = 10000;
}
