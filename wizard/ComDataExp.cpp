#include "wizard/ComDataExp.h"

#include <optional>

#include <QDebug>

#include "common/AccRecord.h"
#include "platform/Format.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "platform/SpecialFolders.h"
#include "platform/TextCodec.h"
#include "wizard/RendoVersion.h"

namespace {

const QString kSection = QStringLiteral("UTIWAKESYO");
const QString kKeyData = QStringLiteral("DATA");
const QString kKeyKomonsaki = QStringLiteral("KOMONSAKI");
const QString kKeyExportFile = QStringLiteral("EXPORTFILE");

// Major version of the accounting product this link belongs to.
constexpr int kProductMajor = 17;

}  // namespace

EDataExportError::EDataExportError(const QString& NativeError, const QString& Context, int ErrCode)
    : EAppError(NativeError), context_(Context), errorCode_(ErrCode)
{
}

QString fnRendoProductValue(const QString& comRegKey, const QString& regKey, const QString& valueName)
{
  const Registry registry;
  if (comRegKey.isEmpty() || !registry.KeyExists(comRegKey))
    return QString();
  const QString wanted = regKey.toLower() + QStringLiteral("%1").arg(kProductMajor, 2, 10, QLatin1Char('0'));
  const QStringList names = registry.GetKeyNames(comRegKey);
  for (qsizetype i = names.size() - 1; i >= 0; --i) {
    if (names.at(i).toLower().contains(wanted))
      return registry.ReadString(comRegKey + u'\\' + names.at(i), valueName);
  }
  return QString();
}

TComDataExport::TComDataExport(const QString& /*_EXEPATH*/, const QString& _EXPFILEPATH, int _FUNCTIONID)
{
  const QString program = ProgramFile();
  EXENAME = ExtractFileName(program).toUpper();
  EXEPATH = ExcludeTrailingPathDelimiter(ProgramDir());
  FEXECDRIVE = DriveOf(EXEPATH);
  FComDocHome = PathJoin(ExcludeTrailingPathDelimiter(CommonAppDataDir()), AccHomeDir);
  FComDocIni = PathJoin(FComDocHome, QStringLiteral("ini"));
  ForceDirectories(FComDocIni);  // a failure shows when the file is written

  PGNAME = fnRendoProductValue(AppInfo.ComRegKey, AppInfo.RegKey, QStringLiteral("Product"));
  PGVER = fnRendoProductValue(AppInfo.ComRegKey, AppInfo.RegKey, QStringLiteral("Version"));

  RENDOCAPTION = QStringLiteral("内訳概況書の玄匠 from ") + PGNAME + QStringLiteral("（内訳書）");
  RENDOSAKIAPP = QStringLiteral("内訳概況書の玄匠（内訳書）");
  RENDOSAKIID = QStringLiteral("UG");
  IMPORTTYPE = _FUNCTIONID;
  GYOUMUPREFIX = QStringLiteral("UG13");
  VERSION = 1;
  FUNCTIONID = _FUNCTIONID == 0 ? 1 : _FUNCTIONID;
  CONPGVER = QStringLiteral("17.0.0");
  WQZPERMITVER = fnRendoPermitVersion();
  ExpFilePath = _EXPFILEPATH;
  KENSAKU_DATATYPE = 1;
  KENSAKU_VERSION = QStringLiteral("%1.%2").arg(kProductMajor).arg(0);
  KENSAKU_VERSION_MAJOR = QString::number(kProductMajor);

  readLinkSettings();
}

TComDataExport::~TComDataExport()
{
  if (linkSaved_)
    return;
  try {
    pcSaveLinkSettings();
  } catch (const std::exception& e) {
    qWarning().noquote() << "link settings not written:" << QString::fromUtf8(e.what());
  }
}

QString TComDataExport::LinkSettingsFile() const
{
  return PathJoin(FComDocIni, QStringLiteral("Gensyou.ini"));
}

void TComDataExport::readLinkSettings()
{
  // An unreadable file counts as a missing one: every value reads empty.
  try {
    const IniFile ini(LinkSettingsFile());
    DataFilePathA = ini.ReadString(kSection, kKeyData);
    KOMONSAKI = ini.ReadString(kSection, kKeyKomonsaki);
    if (IMPORTTYPE == 0)
      ExpFilePath = ini.ReadString(kSection, kKeyExportFile);
  } catch (const EIniFileError& e) {
    qWarning().noquote() << e.message();
    DataFilePathA.clear();
    KOMONSAKI.clear();
    if (IMPORTTYPE == 0)
      ExpFilePath.clear();
  }
}

void TComDataExport::pcSaveLinkSettings()
{
  linkSaved_ = true;
  std::optional<IniFile> ini;
  try {
    ini.emplace(LinkSettingsFile(), IniFile::Encoding::Cp932);
    if (FileExists(LinkSettingsFile()))
      ini->setWriteEncoding(ini->readEncoding());
  } catch (const EIniFileError&) {
    // An unreadable earlier file is replaced by a new one.
    ini.emplace(IniFile::fromBytes(QByteArray(), IniFile::Encoding::Cp932));
    ini->setFileName(LinkSettingsFile());
  }
  ini->WriteString(kSection, kKeyData, DataFilePathA);
  ini->WriteString(kSection, kKeyKomonsaki, KOMONSAKI);
  if (IMPORTTYPE == 0)
    ini->WriteString(kSection, kKeyExportFile, ExpFilePath);
  // The file is shared with the tax-form program, which reads code page 932;
  // a value that code page cannot hold keeps the file in UTF-16 instead.
  if (ini->writeEncoding() == IniFile::Encoding::Cp932 && !isCp932Representable(QStringView(ini->toText())))
    ini->setWriteEncoding(IniFile::Encoding::Utf16LeBom);
  ini->UpdateFile();
}

void TComDataExport::SetSystemNode(TXmlSaveDoc& _XmlSaveDoc)
{
  TXmlNode root = _XmlSaveDoc.fnXmlNewRootNode(QStringLiteral("REPORT"), QString());
  TXmlNode system = _XmlSaveDoc.fnXmlNewChildNode(root, QStringLiteral("SYSTEM"), QString(), QString());
  const auto text = [&](const QString& name, const QString& value) {
    _XmlSaveDoc.fnXmlNewChildBottomNode(system, name, value, QString(), QString());
  };
  text(QStringLiteral("GYOUMUPREFIX"), GYOUMUPREFIX);
  text(QStringLiteral("VERSION"), QString::number(VERSION));
  text(QStringLiteral("FUNCTIONID"), QString::number(FUNCTIONID));
  text(QStringLiteral("CONNECTEDPROGRAMVER"), CONPGVER);
  text(QStringLiteral("PROGRAMNAME"), PGNAME);
  text(QStringLiteral("PROGRAMVER"), PGVER);
}

void TComDataExport::SetBasicNode(TXmlSaveDoc& _XmlSaveDoc)
{
  TXmlNode basic = _XmlSaveDoc.fnXmlNewChildNode(nullptr, QStringLiteral("BASIC"), QString(), QString());
  const auto text = [&](const QString& name, const QString& value) {
    _XmlSaveDoc.fnXmlNewChildBottomNode(basic, name, value, QString(), QString());
  };
  text(QStringLiteral("KOMONSAKINAME"), KOMONSAKI);
  text(QStringLiteral("JIGYOUNENDOFROM"), FormatDateTime(QStringLiteral("yyyymmdd"), JIGYONENDOFROM));
  text(QStringLiteral("JIGYOUNENDOTO"), FormatDateTime(QStringLiteral("yyyymmdd"), JIGYONENDOTO));
}

QString fnRendoExportFileName(const QString& expFilePath, const QString& myDoc)
{
  if (!ExtractFilePath(expFilePath).isEmpty())
    return expFilePath;
  return PathJoin(myDoc, expFilePath);
}

void pcRendoWriteImportFile(TComDataExport& exp, const QString& fileName)
{
  TXmlSaveDoc doc(QStringLiteral("1.0"), QStringLiteral("Shift_JIS"), QString());
  exp.SetSystemNode(doc);
  exp.SetBasicNode(doc);
  exp.SetDataNode(doc);
  doc.pcXmlSaveToFile(fileName);
}
