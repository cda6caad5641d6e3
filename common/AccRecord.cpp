#include "common/AccRecord.h"

TSystemDef SystemDef;
TACCINF AccInf;
TAppInfoRec AppInfo;
TJxAppType AppType = jxatSA;
std::uint8_t SbcKind = 0;
std::uint8_t OemEdition = 0;
std::uint8_t EditionKind = 0;
std::uint8_t SystemKind = 0;
bool FbFatalLatch = false;
int FbPort = 3051;
QString FbCharSet = QStringLiteral("UTF8");

namespace {
const std::array<QString, 6> kDefaultInitFiles{QStringLiteral("init_acc11.fbK"), QStringLiteral("init_acc21.fbK"),
                                               QStringLiteral("init_acc22.fbK"), QStringLiteral("init_acc23.fbK"),
                                               QStringLiteral("init_acc24.fbK"), QStringLiteral("init_acc31.fbK")};
}

QString AccAppName = QStringLiteral("dedodozorav2");
QString AccHomeDir = QStringLiteral("norvik/dedodozorav2");
QString AccRIvoraDir = QStringLiteral("wqzview");
QString AccShareDir = QStringLiteral("dedodozorav2");
QString AccServerDir = QStringLiteral("/dedodozorav2/data");
QString AccServerTempDir = QStringLiteral("/dedodozorav2/temp");
QString AccDataDefFile = QStringLiteral("wqaccdef2.fdb");
QString AccDataFile = QStringLiteral("wqacc2.fdb");
QString AccDataBackupFile = QStringLiteral("wqacc2.fbk");
QString AccDataIniFile = QStringLiteral("wqacc2.ini");
std::array<QString, 6> AccDataInitFile = kDefaultInitFiles;
QString AccVeduvoruDataDir = QStringLiteral("cb_data");
const QString AccFixedBackupFile = QStringLiteral("wqacc2.fbk");
int AccDataListCnt = 120;

int DefColHeaderColor = 0xDBDBDB;
int DefRowHeaderColor = 0xDBDBDB;
int DefColHeaderGradColor1 = 0xFFFFFF;
int DefColHeaderGradColor2 = 0xDBDBDB;
int DefClientColor = 0xFFFFFF;
int DefClientColor1 = 0xFFFFFF;
int DefClientColor2 = 0xE1F0FF;
int DefTotalColor = 0x8EC7FF;
int DefActiveColor = 0x246BFF;

const QStringList AccSbcSolutionNames{QString(), QStringLiteral("GO-Global"), QStringLiteral("RDS"),
                                      QStringLiteral("XenDesktop")};

const std::array<TAccIryoJigyoKind, 5> AccIryoJigyoKinds{
    {{8, u"病院"}, {8, u"診療所"}, {4, u"老健"}, {2, u"訪問看護"}, {1, u"その他"}}};

const QStringList AccFKeyCaptions{
    QStringLiteral("ESC:"), QStringLiteral("F1:"),  QStringLiteral("F2:"), QStringLiteral("F3:"), QStringLiteral("F4:"),
    QStringLiteral("F5:"),  QStringLiteral("F6:"),  QStringLiteral("F7:"), QStringLiteral("F8:"), QStringLiteral("F9:"),
    QStringLiteral("F10:"), QStringLiteral("F11:"), QStringLiteral("F12:")};

const QStringList AccSortMarks{QStringLiteral("▲"), QStringLiteral("▼")};

const QStringList AccPrintFontNames{QStringLiteral("ＭＳ 明朝"), QStringLiteral("ＭＳ ゴシック")};

const QStringList AccDataKindNames{
    QStringLiteral("法人"),     QStringLiteral("個人(一般)"),       QStringLiteral("個人(不動産)"),
    QStringLiteral("医療法人"), QStringLiteral("個人(クリニック)"), QStringLiteral("個人(農業)")};

const QStringList AccSitenTopNames{QStringLiteral("法人全体"), QStringLiteral("総体"), QStringLiteral("法人全体")};

const QStringList AccIryoSisetuNames{QStringLiteral("法人全体"), QStringLiteral("病院・診療所"),
                                     QStringLiteral("老人保健施設"), QStringLiteral("指定訪問看護"),
                                     QStringLiteral("その他の事業")};

void pcApplyAppInfoNames(const TAppInfoRec& info)
{
  AccAppName = info.AppName;
  AccHomeDir = info.HomeDir;
  AccRIvoraDir = info.RIvoraDir;
  AccShareDir = info.ShareDir;
  AccServerDir = info.ServerDir;
  AccServerTempDir = info.ServerTempDir;
  AccDataDefFile = info.DataDefFile;
  AccDataFile = info.DataFile;
  AccDataBackupFile = info.DataBackupFile;
  AccDataIniFile = info.DataIniFile;
  // The format holds one "%d"; the entry for 24 keeps its default.
  static constexpr int kKinds[] = {11, 21, 22, 23, -1, 31};
  for (int i = 0; i < 6; ++i) {
    if (kKinds[i] < 0)
      continue;
    QString name = info.DataInitFile;
    const int at = name.indexOf(QLatin1String("%d"));
    if (at >= 0)
      name.replace(at, 2, QString::number(kKinds[i]));
    AccDataInitFile[static_cast<std::size_t>(i)] = name;
  }
  AccVeduvoruDataDir = info.VeduvoruDataDir;
  AccDataListCnt = info.DataListCnt;
}

void pcApplyOemDefaultColors()
{
  if (!IsOemEdition(OemEdition))
    return;
  DefClientColor2 = 0xF2FFEE;
  DefTotalColor = 0xD6FFC8;
  DefActiveColor = 0x8000;
}

void pcAccRecordReset()
{
  SystemDef = TSystemDef{};
  AccInf = TACCINF{};
  AppInfo = TAppInfoRec{};
  AppType = jxatSA;
  SbcKind = 0;
  OemEdition = 0;
  EditionKind = 0;
  SystemKind = 0;
  FbFatalLatch = false;
  FbPort = 3051;
  FbCharSet = QStringLiteral("UTF8");
  AccAppName = QStringLiteral("dedodozorav2");
  AccHomeDir = QStringLiteral("norvik/dedodozorav2");
  AccRIvoraDir = QStringLiteral("wqzview");
  AccShareDir = QStringLiteral("dedodozorav2");
  AccServerDir = QStringLiteral("/dedodozorav2/data");
  AccServerTempDir = QStringLiteral("/dedodozorav2/temp");
  AccDataDefFile = QStringLiteral("wqaccdef2.fdb");
  AccDataFile = QStringLiteral("wqacc2.fdb");
  AccDataBackupFile = QStringLiteral("wqacc2.fbk");
  AccDataIniFile = QStringLiteral("wqacc2.ini");
  AccDataInitFile = kDefaultInitFiles;
  AccVeduvoruDataDir = QStringLiteral("cb_data");
  AccDataListCnt = 120;
  DefClientColor2 = 0xE1F0FF;
  DefTotalColor = 0x8EC7FF;
  DefActiveColor = 0x246BFF;
}

const TFormatSettings& AccFormatSettings()
{
  static const TFormatSettings settings = [] {
    TFormatSettings fs = TFormatSettings::JapaneseDefaults();
    fs.DateSeparator = u'/';
    fs.TimeSeparator = u':';
    fs.ShortDateFormat = QStringLiteral("YYYY/MM/DD");
    fs.LongDateFormat = QStringLiteral("YYYY年MM月DD日");
    fs.ShortTimeFormat = QStringLiteral("hh:mm");
    fs.LongTimeFormat = QStringLiteral("hh:mm:ss");
    return fs;
  }();
  return settings;
}

void pcAccRecordInitialize()
{
  ApplyProcessDateFormats();
  FbPort = 3051;
  FbCharSet = QStringLiteral("UTF8");
}
