#include "common/AppIniCreate.h"

#include <QDir>
#include <QFile>

#include "common/AccRecord.h"
#include "platform/IniFile.h"
#include "platform/SpecialFolders.h"

namespace {

const QString kApplication = QStringLiteral("APPLICATION");

QString yesNo(bool v)
{
  return v ? QStringLiteral("YES") : QStringLiteral("NO");
}

void writeSection(IniFile& ini, const QString& section)
{
  ini.WriteString(section, QStringLiteral("HOSTNAME"), SystemDef.SERVERNAME);
  ini.WriteString(section, QStringLiteral("GOGLOBAL"), yesNo(SystemDef.GOGLOBAL));
  ini.WriteString(section, QStringLiteral("GROUP"), yesNo(SystemDef.GROUP));
  ini.WriteString(section, QStringLiteral("SYSDIR"), SystemDef.IBPATHDEF);
  ini.WriteString(section, QStringLiteral("USER"), SystemDef.IBUSER);
  ini.WriteString(section, QStringLiteral("PASSWORD"), SystemDef.PASWORD);
}

void save(IniFile& ini)
{
  ini.UpdateFile();
  pcSetOwnerOnly(ini.fileName());
}

}  // namespace

void pcSetOwnerOnly(const QString& fileName)
{
  QFile::setPermissions(fileName, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TAppIniCreate::TAppIniCreate()
{
  FInitFlg = true;
}

QString TAppIniCreate::SectionName(int AConType)
{
  switch (AConType) {
    case 1:
      return QStringLiteral("SERVER");
    case 2:
      return QStringLiteral("SBC");
    default:
      return QStringLiteral("LOCAL");
  }
}

bool TAppIniCreate::MakeLocalIniFile(int AInit)
{
  IniFile ini(SystemDef.APPINI, IniFile::Encoding::Utf16LeBom);
  if (AInit == 1) {
    if (AppType == jxatSA)
      SystemDef.SERVERNAME.clear();
    ini.EraseSection(QStringLiteral("DATABASE"));
    ini.EraseSection(QStringLiteral("MAINFORM"));
    ini.WriteString(kApplication, QStringLiteral("TOP"), QStringLiteral("0"));
    ini.WriteString(kApplication, QStringLiteral("LEFT"), QStringLiteral("0"));
    ini.WriteString(kApplication, QStringLiteral("WIDTH"), QStringLiteral("1024"));
    ini.WriteString(kApplication, QStringLiteral("HEIGHT"), QStringLiteral("738"));
    ini.WriteString(kApplication, QStringLiteral("CONNECT"), QStringLiteral("0"));
    writeSection(ini, QStringLiteral("LOCAL"));
    const QString server = QStringLiteral("SERVER");
    ini.WriteString(server, QStringLiteral("HOSTNAME"), QString());
    ini.WriteString(server, QStringLiteral("GOGLOBAL"), QStringLiteral("NO"));
    ini.WriteString(server, QStringLiteral("GROUP"), QStringLiteral("NO"));
    ini.WriteString(server, QStringLiteral("SYSDIR"), QString());
    ini.WriteString(server, QStringLiteral("USER"), SystemDef.IBUSER);
    ini.WriteString(server, QStringLiteral("PASSWORD"), SystemDef.PASWORD);
  } else {
    writeSection(ini, SectionName(static_cast<int>(AppType)));
  }
  save(ini);
  return true;
}

int TAppIniCreate::GetDataBaseInfoIniFile(int AConType)
{
  const IniFile ini(SystemDef.APPINI);
  const QString section = SectionName(AConType);
  SystemDef.SERVERNAME = ini.ReadString(section, QStringLiteral("HOSTNAME"), QString());
  SystemDef.GOGLOBAL =
      ini.ReadString(section, QStringLiteral("GOGLOBAL"), QStringLiteral("NO")) == QStringLiteral("YES");
  SystemDef.GROUP = false;
  SystemDef.ANONYMOUS = false;
  SystemDef.PLURALDB = false;
  // Folder names are compared without regard to case elsewhere; the path
  // itself is kept as stored, since the file system is case-sensitive.
  SystemDef.IBPATHDEF = ini.ReadString(section, QStringLiteral("SYSDIR"), QString());
  SystemDef.IBUSER = ini.ReadString(section, QStringLiteral("USER"), QStringLiteral("ABACOR")).toUpper();
  SystemDef.PASWORD = ini.ReadString(section, QStringLiteral("PASSWORD"), QStringLiteral("dormil")).toLower();
  return 1;
}

int TAppIniCreate::GetDataBaseInfo(int AConType)
{
  auto fixed = [](const QString& sysdir) {
    SystemDef.SERVERNAME.clear();
    SystemDef.GOGLOBAL = false;
    SystemDef.IBPATHDEF = sysdir;
    SystemDef.IBUSER = QStringLiteral("ABACOR");
    SystemDef.PASWORD = QStringLiteral("dormil");
    SystemDef.GROUP = false;
    SystemDef.ANONYMOUS = false;
    SystemDef.PLURALDB = false;
  };
  switch (SystemKind) {
    case 0:
    case 2:
      return GetDataBaseInfoIniFile(AConType);
    case 1:
      fixed(QDir(SystemDef.DODEV_DATA).filePath(QStringLiteral("data")));
      return 1;
    case 3: {
      fixed(QDir(SystemDef.APPDATA).filePath(AppInfo.VeduvoruDataDir));
      return 1;
    }
    default:
      return 0;
  }
}

void TAppIniCreate::SetConStateIniFile(int AValue)
{
  if (AValue >= 3 || AValue < 0 || SystemKind != 0)
    return;
  IniFile ini(SystemDef.APPINI, IniFile::Encoding::Utf16LeBom);
  ini.WriteString(kApplication, QStringLiteral("CONNECT"), QString::number(AValue));
  save(ini);
}

int TAppIniCreate::GetConStateIniFile() const
{
  if (SystemKind != 0)
    return 0;
  const IniFile ini(SystemDef.APPINI);
  bool ok = false;
  const int v = ini.ReadString(kApplication, QStringLiteral("CONNECT")).trimmed().toInt(&ok);
  return ok ? v : 0;
}

void TAppIniCreate::SetSyoriType(int AValue)
{
  FSyoriType = AValue;
  if (AValue != 1)
    return;
  AppType = jxatSBC;
  SystemKind = 0;
  SystemDef.APPDATA = CommonAppDataDir();
  while (SystemDef.APPDATA.endsWith(QLatin1Char('/')) && SystemDef.APPDATA.size() > 1)
    SystemDef.APPDATA.chop(1);
  if (!SystemDef.APPDATA.isEmpty()) {
    SystemDef.APPDATA = QDir(SystemDef.APPDATA).filePath(AppInfo.HomeDir);
    SystemDef.APPINI = QDir(SystemDef.APPDATA).filePath(AppInfo.AppName + QStringLiteral(".ini"));
  }
  SystemDef.IBUSER = QStringLiteral("ABACOR");
  SystemDef.PASWORD = QStringLiteral("dormil");
}
