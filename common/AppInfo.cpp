#include "common/AppInfo.h"

#include <QDir>
#include <QFileInfo>

#include "platform/Exceptions.h"
#include "platform/IniFile.h"

namespace {

// Integer value of a key: def when missing or not a whole number.
int readInt(const IniFile& ini, const QString& section, const QString& key, int def)
{
  bool found = false;
  const QString text = fnAppInfoReadKey(ini, section, key, found).trimmed();
  bool ok = false;
  const int v = text.toInt(&ok);
  return ok ? v : def;
}

}  // namespace

void pcAppInfoDefault(TAppInfoRec& Rec)
{
  Rec = TAppInfoRec{};
  Rec.OEM = QStringLiteral("-");
  Rec.Since = QStringLiteral("2004-2026");
  Rec.ComRegKey = QStringLiteral("\\SOFTWARE\\NORVIK");
  Rec.QyxName = QStringLiteral("ＱｙＸキーステーション");
  Rec.QyxAlias = QStringLiteral("ＱｙＸ");
  Rec.VerMajorDiff = 0;
  Rec.VerMinorDiff = 0;
  Rec.VerRevDiff = 0;
  Rec.VerTest.clear();
  Rec.OptionBlind = 0;
  Rec.VeduvoruBlind = 0;
  Rec.WebVestimarSerever = QStringLiteral("vestimar.example.jp");
  Rec.MarluneSerever = QStringLiteral("marlune.example.jp");
  Rec.AbacorClubSerever = QStringLiteral("club.example.jp");
  Rec.CompanyName = QStringLiteral("株式会社ノルヴィク");
  Rec.CompanyZipCode = QStringLiteral("000-0000");
  Rec.CompanyAddr = QStringLiteral("東京都千代田区");
  Rec.CompanyTEL = QStringLiteral("03-0000-0000");
  Rec.CompanyFAX = QStringLiteral("03-0000-0001");
  Rec.CompanyMail = QStringLiteral("support@example.jp");
  Rec.CompanyURL = QStringLiteral("https://www.example.jp/");
  Rec.AppName = QStringLiteral("wqzaimu");
  Rec.AppTitle = QStringLiteral("タリマン財務");
  Rec.AppTitle_CL = QStringLiteral("顧問先版");
  Rec.RegKey = QStringLiteral("ABACORZAIMU");
  Rec.HomeDir = QStringLiteral("norvik/dedodozorav2");
  Rec.ShareDir = QStringLiteral("dedodozorav2");
  Rec.ServerDir = QStringLiteral("/dedodozorav2/data");
  Rec.ServerTempDir = QStringLiteral("/dedodozorav2/temp");
  Rec.DataDefFile = QStringLiteral("wqaccdef2.fdb");
  Rec.DataFile = QStringLiteral("wqacc2.fdb");
  Rec.DataBackupFile = QStringLiteral("wqacc2.fbk");
  Rec.DataInitFile = QStringLiteral("init_acc%d.fbk");
  Rec.DataIniFile = QStringLiteral("wqacc2.ini");
  Rec.DataListCnt = 120;
  Rec.RIvoraAppTitle = QStringLiteral("電子帳簿");
  Rec.RIvoraDir = QStringLiteral("wqzview");
  Rec.RIvoraWriteDirFmt = QStringLiteral("wqz%.2dcd");
  Rec.VestimarAppTitle = QStringLiteral("経営ベスティマ");
  Rec.VestimarRegKey = QStringLiteral("VESTIMAR");
  Rec.VestimarDir = QStringLiteral("norvik/dedodozorav2");
  Rec.VeduvoruAppTitle = QStringLiteral("タリマン現金出納帳");
  Rec.VeduvoruRegKey = QStringLiteral("VEDUVORU");
  Rec.VeduvoruDataDir = QStringLiteral("cb_data");
  Rec.VeduvoruDataBackupFile = QStringLiteral("wqcashbook.fbk");
  Rec.MenuDataCon = QStringLiteral("データ通信");
  Rec.MenuDataCon01 = QStringLiteral("データ送信");
  Rec.MenuDataCon02 = QStringLiteral("データ受信");
  Rec.MenuDataCon03 = QStringLiteral("通信設定");
  Rec.MenuDataConQyx01 = QStringLiteral("ＱｙＸ保存");
  Rec.MenuDataConQyx02 = QStringLiteral("ＱｙＸ復元");
  Rec.MarluneMenuLimit = true;
}

QString fnAppInfoReadKey(const IniFile& ini, const QString& Section, const QString& Key, bool& Found)
{
  const QString text = ini.ReadString(Section, Key, QString());
  Found = !text.isEmpty();
  return text;
}

int fnReadAppInfoIni(const QString& ExeName, TAppInfoRec& Rec, QString* Why)
{
  const QString fileName = QDir(QFileInfo(ExeName).absolutePath()).filePath(QStringLiteral("AppInfo.ini"));
  if (!QFileInfo::exists(fileName))
    return AppInfoMissing;

  try {
    const IniFile ini(fileName);
    bool found = false;
    const QString oem = fnAppInfoReadKey(ini, QStringLiteral("Application"), QStringLiteral("OEM"), found);
    if (!found) {
      pcAppInfoDefault(Rec);
      return AppInfoNoOem;
    }
    Rec.OEM = oem;

    // Every other key in reading order; a missing key leaves its text empty.
    auto text = [&](const char* section, const char* key, QString TAppInfoRec::*field) {
      Rec.*field = fnAppInfoReadKey(ini, QString::fromLatin1(section), QString::fromLatin1(key), found);
    };
    // A folder written in the Windows form ("norvik\dedodozorav2") is taken
    // with "/" here, once, so that every user of the value joins real paths.
    auto folder = [&](const char* section, const char* key, QString TAppInfoRec::*field) {
      text(section, key, field);
      (Rec.*field).replace(QLatin1Char('\\'), QLatin1Char('/'));
    };
    auto integer = [&](const char* section, const char* key, int TAppInfoRec::*field, int def) {
      Rec.*field = readInt(ini, QString::fromLatin1(section), QString::fromLatin1(key), def);
    };

    text("Application", "Since", &TAppInfoRec::Since);
    text("Application", "RegKey", &TAppInfoRec::ComRegKey);
    text("Application", "Qyx", &TAppInfoRec::QyxName);
    text("Application", "QyxAlias", &TAppInfoRec::QyxAlias);
    integer("Application", "VerMajorDiff", &TAppInfoRec::VerMajorDiff, 0);
    integer("Application", "VerMinorDiff", &TAppInfoRec::VerMinorDiff, 0);
    integer("Application", "VerRevDiff", &TAppInfoRec::VerRevDiff, 0);
    text("Application", "VerTest", &TAppInfoRec::VerTest);
    integer("Application", "OptionBlind", &TAppInfoRec::OptionBlind, 0);
    integer("Application", "VeduvoruBlind", &TAppInfoRec::VeduvoruBlind, 0);
    text("Application", "WebVestimarServer", &TAppInfoRec::WebVestimarSerever);
    text("Application", "MarluneServer", &TAppInfoRec::MarluneSerever);
    text("Application", "AbacorClubServer", &TAppInfoRec::AbacorClubSerever);
    text("Company", "Name", &TAppInfoRec::CompanyName);
    text("Company", "ZipCode", &TAppInfoRec::CompanyZipCode);
    text("Company", "Addr", &TAppInfoRec::CompanyAddr);
    text("Company", "TEL", &TAppInfoRec::CompanyTEL);
    text("Company", "FAX", &TAppInfoRec::CompanyFAX);
    text("Company", "Mail", &TAppInfoRec::CompanyMail);
    text("Company", "URL", &TAppInfoRec::CompanyURL);
    text("Zaimu", "AppName", &TAppInfoRec::AppName);
    text("Zaimu", "AppTitle", &TAppInfoRec::AppTitle);
    text("Zaimu", "AppTitle_CL", &TAppInfoRec::AppTitle_CL);
    text("Zaimu", "RegKey", &TAppInfoRec::RegKey);
    folder("Zaimu", "HomeDir", &TAppInfoRec::HomeDir);
    folder("Zaimu", "ShareDir", &TAppInfoRec::ShareDir);
    folder("Zaimu", "ServerDir", &TAppInfoRec::ServerDir);
    folder("Zaimu", "ServerTempDir", &TAppInfoRec::ServerTempDir);
    text("Zaimu", "DataDefFile", &TAppInfoRec::DataDefFile);
    text("Zaimu", "DataFile", &TAppInfoRec::DataFile);
    text("Zaimu", "DataBackupFile", &TAppInfoRec::DataBackupFile);
    text("Zaimu", "DataInitFile", &TAppInfoRec::DataInitFile);
    text("Zaimu", "DataIniFile", &TAppInfoRec::DataIniFile);
    integer("Zaimu", "DataListCnt", &TAppInfoRec::DataListCnt, 120);
    text("RIvora", "AppTitle", &TAppInfoRec::RIvoraAppTitle);
    folder("RIvora", "DataDir", &TAppInfoRec::RIvoraDir);
    text("RIvora", "WriteDirFmt", &TAppInfoRec::RIvoraWriteDirFmt);
    text("Vestimar", "AppTitle", &TAppInfoRec::VestimarAppTitle);
    text("Vestimar", "RegKey", &TAppInfoRec::VestimarRegKey);
    folder("Vestimar", "HomeDir", &TAppInfoRec::VestimarDir);
    text("Veduvoru", "AppTitle", &TAppInfoRec::VeduvoruAppTitle);
    text("Veduvoru", "RegKey", &TAppInfoRec::VeduvoruRegKey);
    folder("Veduvoru", "DataDir", &TAppInfoRec::VeduvoruDataDir);
    text("Veduvoru", "DataBackupFile", &TAppInfoRec::VeduvoruDataBackupFile);
    text("Menu", "DataCon", &TAppInfoRec::MenuDataCon);
    text("Menu", "DataCon01", &TAppInfoRec::MenuDataCon01);
    text("Menu", "DataCon02", &TAppInfoRec::MenuDataCon02);
    text("Menu", "DataCon03", &TAppInfoRec::MenuDataCon03);
    text("Menu", "DataConQyx01", &TAppInfoRec::MenuDataConQyx01);
    text("Menu", "DataConQyx02", &TAppInfoRec::MenuDataConQyx02);

    Rec.MarluneMenuLimit = true;
    const QString limit = fnAppInfoReadKey(ini, QStringLiteral("Menu"), QStringLiteral("MarluneMenuLimit"), found);
    if (limit.toLower() == QStringLiteral("false"))
      Rec.MarluneMenuLimit = false;
    return AppInfoRead;
  } catch (const EPlatformError& e) {
    if (Why)
      *Why = e.message();
  } catch (const std::exception& e) {
    if (Why)
      *Why = QString::fromUtf8(e.what());
  }
  return AppInfoReadFailed;
}

QStringList fnAppInfoMissingValues(const TAppInfoRec& Rec)
{
  const std::pair<const char*, const QString*> needed[] = {
      {"[Application] RegKey", &Rec.ComRegKey}, {"[Zaimu] AppName", &Rec.AppName},
      {"[Zaimu] AppTitle", &Rec.AppTitle},      {"[Zaimu] RegKey", &Rec.RegKey},
      {"[Zaimu] HomeDir", &Rec.HomeDir},        {"[Zaimu] DataDefFile", &Rec.DataDefFile},
      {"[Zaimu] DataFile", &Rec.DataFile},      {"[Zaimu] DataIniFile", &Rec.DataIniFile},
  };
  QStringList missing;
  for (const auto& [name, value] : needed)
    if (value->trimmed().isEmpty())
      missing << QString::fromLatin1(name);
  return missing;
}

QString fnAppInfoResultMessage(int result, const QString& Detail)
{
  if (result == AppInfoRead)
    return {};
  QString first;
  if (result == AppInfoMissing)
    first = QStringLiteral("アプリケーションの設定ファイル(AppInfo.ini)が見つかりませんでした。");
  else if (result == AppInfoNoOem)
    first = QStringLiteral("アプリケーションの設定ファイル(AppInfo.ini)の値を参照できませんでした。");
  else
    first = QStringLiteral("アプリケーションの設定ファイル(AppInfo.ini)を参照できませんでした。");
  // The cause, when known, between the statement and the consequence.
  const QString detail = Detail.trimmed();
  return first + QStringLiteral("\r") + (detail.isEmpty() ? QString() : detail + QStringLiteral("\r")) +
         QStringLiteral("アプリケーションを強制終了します。");
}
