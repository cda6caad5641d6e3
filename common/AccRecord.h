// Process-wide records shared by every part of the program: the system
// definition, the accounting information of the open company data, the
// application identity, the access form, the connection defaults and the
// names of the accounting product's files and folders.
//
// Everything here is plain data on the main thread; nothing opens a file or a
// database. Other modules read and write the globals directly.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include <QChar>
#include <QString>
#include <QStringConverter>
#include <QStringList>

#include "platform/Currency.h"
#include "platform/DateTime.h"
#include "platform/Format.h"

class QObject;

// ---------------------------------------------------------------------------
// Enumerations (one byte each; the first member is 0)
// ---------------------------------------------------------------------------

// How the databases are reached.
enum TJxAppType : std::uint8_t { jxatSA, jxatCS, jxatSBC };

// General accounting data or medical-corporation data.
enum TJxZaimuDataType : std::uint8_t { jxztBasic, jxztCuravia };

// Kinds of rows of the branch list.
enum TJxSitenList : std::uint8_t { jxslHoujin, jxslGroup, jxslSiten, jxslBumon };

enum TJxSortType : std::uint8_t { jxstAsc, jxstDesc };

enum TJxPrintModalResult : std::uint8_t { jxprNone, jxprPrint, jxprPreview, jxprCopy, jxprText, jxprCsv, jxprExcel };

// Code length modes: 4, 2 or 3 characters (see AccKamokuCodeLength).
enum TJxKamokuCodeLen : std::uint8_t { jxkcLen4, jxkcLen2, jxkcLen3 };

// Job-cost code length modes: 3 to 6 characters.
enum TJxKobetuGenkaCodeLen : std::uint8_t { jxkbLen3, jxkbLen4, jxkbLen5, jxkbLen6 };

enum TJxSwkHizukeFocus : std::uint8_t { jxsfYY, jxsfMM, jxsfDD };

enum TJxCloudShare : std::uint8_t { jxcsUnUse, jxcsUse };

enum TsdiDaialogShowPlace : std::uint8_t { dsFree, dsCenter, dsOwnerCenter, dsScreenCenter };

enum TJxStatusType : std::uint8_t { jxstNone, jxstInformation, jxstWarning, jxstError };

enum TWindowState : std::uint8_t { wsNormal, wsMinimized, wsMaximized };

// A small set over an enumeration of at most 32 members.
template <typename E>
class TEnumSet {
 public:
  constexpr TEnumSet() = default;
  constexpr TEnumSet(std::initializer_list<E> items)
  {
    for (E e : items)
      include(e);
  }
  constexpr bool contains(E e) const { return (bits_ >> static_cast<unsigned>(e)) & 1u; }
  constexpr void include(E e) { bits_ |= 1u << static_cast<unsigned>(e); }
  constexpr void exclude(E e) { bits_ &= ~(1u << static_cast<unsigned>(e)); }
  constexpr bool empty() const { return bits_ == 0; }
  constexpr bool operator==(const TEnumSet&) const = default;

 private:
  std::uint32_t bits_ = 0;
};

using TJxSitenListSet = TEnumSet<TJxSitenList>;

// ---------------------------------------------------------------------------
// Small records
// ---------------------------------------------------------------------------

// One entry of a processing log.
struct TTessalySyoriInfo {
  QString ID;
  TJxStatusType StatusType = jxstNone;
  std::int32_t StatusCode = 0;
  QString Text;
};
using TTessalySyoriLog = std::vector<TTessalySyoriInfo>;

struct TComListRec_s {
  QString Key;
  QString Value;
};

struct TVersionRec {
  std::uint32_t Major = 0;
  std::uint32_t Minor = 0;
  std::uint32_t Revision = 0;
  std::uint32_t Build = 0;
  QString StringVersion;
};

// A font as the settings describe it (the widget layer turns it into a real
// font). Style: 0 regular, 1 bold, 2 italic, 3 bold italic.
struct TFontInfo {
  QString Name;
  int Size = 0;
  int Style = 0;
  int CharSet = 0;
  int Height = 0;
};

// ---------------------------------------------------------------------------
// TSystemDef: the one process-wide system definition
// Colours are BGR integers (0x00BBGGRR), as stored.
// ---------------------------------------------------------------------------
struct TSystemDef {
  // Environment and database connection
  int GROUPID = 0;
  QString APPINI;
  QString SYSUSER;
  QString SYSTEM;
  QString USER;
  QString APPDATA;
  QString ROOT;
  QString EXEPATH;
  QString FORM;
  QString IMAGE;
  QString HELP;
  QString SQL;
  QString CONF;
  QString INI;
  QString LOG;
  QString APPTEMP;
  QString TEMP;
  QString TEMP_IMAGE;
  QString PROGRAMFILES;
  QString DODEV_DATA;
  QString IBPATHDEF;   // folder of the system database
  QString IBPATHDAT;   // folder of the open company data
  QString SERVERNAME;  // host name of the database server
  bool GOGLOBAL = false;
  bool GROUP = false;
  bool ANONYMOUS = false;
  bool PLURALDB = false;
  QString IBUSER;
  QString PASWORD;
  QString ROLE;
  QString SERIAL;
  QString PCNAME;

  // Operator and branch
  int OPCODE = 0;
  int OPCODE2 = 0;
  QString OPNAME;
  int OPLevel = 0;
  bool OPAccount = false;
  QString OPSCODE;
  bool OPMyNumberAdm = false;
  bool OPSyouninsya = false;
  int ACCCLAS = 0;
  QString DEFOPSCODE;
  int ACCTIME = 0;
  bool GENKAOPTION = false;
  QString USERNAME;
  QString POST;
  QString ADD1;
  QString ADD2;
  QString TEL;
  QString MAIL;

  // Operator screen, print and input settings
  bool FormSizeInit = false;
  QString FontName;
  int FontSize = 0;
  int FontStyle = 0;
  int FontCharSet = 0;
  int FontHeight = 0;
  int GridResize = 0;
  int ShowHint = 0;
  int GridMaxRow = 0;
  int GridRsiz = 0;
  int PanelColor = 0;
  int PanelBackColor = 0;
  int MenuPrintSw = 0;
  int ColHeaderColor = 0;
  int FixedTopColor = 0;
  int RowHeaderColor = 0;
  int FixedLeftColor = 0;
  int ActiveColor = 0;
  int ClientColor = 0;
  int ClientColor1 = 0;
  int ClientColor2 = 0;
  int ClientColor3 = 0;
  int TotalColor = 0;
  int ColHeaderGradColor1 = 0;
  int ColHeaderGradColor2 = 0;
  int ForeColor = 0;
  int BorderColor = 0;
  int ThruBorderColor = 0;
  QString PrinterName;
  int PreviewZOOM = 0;
  int PrintFontType = 0;
  int NetColor1 = 0;
  int NetColor2 = 0;
  int LineColor1 = 0;
  int LineColor2 = 0;
  int HojWait = 0;
  int DicSwitch = 0;
  int DicTekAuto = 0;
  int DicTorAuto = 0;
  int DicUsednt = 0;
  int DicType = 0;
  int DicNum1 = 0;
  int DicNum2 = 0;
  int DicSortType = 0;
  int DicTekAutoAdd = 0;
  int DicTorAutoAdd = 0;
  int UserPrint = 0;
  int SwkTotal = 0;
  int SwkLine = 0;
  int SwkTorokuKakunin = 0;
  int ZeigakuSanko = 0;
  int KingakuPlus = 0;
  int ZeroPrint = 0;
  int SankakuPlus = 0;
  int FusainoBuKaiPage = 0;
  int KessansyoSotowaku = 0;
  int Reserve1 = 0;
  int Reserve2 = 0;
  int Reserve3 = 0;
  int Reserve4 = 0;
  int Reserve5 = 0;
  QString SSTR;
  QString AppName;
  QString AppPsName;
  QString AppNameA;
  QString AppVersion;
  int AppVerMajor = 0;
  int AppVerMinor = 0;
  int AppVerRev = 0;
  int AppVerBuild = 0;
  int AppVersionUp = 0;
  int AppTop = 0;
  int AppLeft = 0;
  int AppWidth = 0;
  int AppHeight = 0;
  QString DataVersion;
  int OSVersion = 0;
  TFontInfo DefaultFont;
  TFontInfo NowFont;
  int MenuBarHeight = 0;
  int ControlBarHeight = 0;
  int FlameHeight = 0;
  int TittleHeight = 0;
  int ChoseiPixcel = 0;
  int ShowDataSentaku = 0;
  QString ZenkaiDrive;
  int LastMenu = 0;
  QString OneTimeDataPath;
  TWindowState ZenkaiMenuWinState = wsNormal;
  bool DataUpFlg = false;
  QString Jimusho;
  QString JimushoAddr;
  QString JimushoTel;
  int JimushoPrint = 0;
  int JimushoPrintItem = 0;
  int JimushoPrintItem02 = 0;
  int KyoyuDataAutoCopy = 0;
  int KyoyuListKousin = 0;
  int SyohyoKirikae = 0;
  int SotaiSiwakeNoHyoji = 0;
  int BunsekiOutputGyoChosei = 0;
  int MotochoSaisyuGyoZanOut = 0;
  int SiwakeDefHizukeHyoji = 0;
  int DataSeigenNasi = 0;
  int MotochoInputModeZanHyoji = 0;
  int NengoSwitch = 0;
  int BunsekiNendoOrder = 0;
  int NextItemKeyPlus = 0;
  TJxKamokuCodeLen KCodeLenMode = jxkcLen4;
  TJxKamokuCodeLen HCodeLenMode = jxkcLen4;
  TJxKamokuCodeLen BCodeLenMode = jxkcLen4;
  TJxSwkHizukeFocus SwkHizukeFocus = jxsfYY;
  int DataHasonFlg = 0;
  int DataHasonCheck = 0;
  int SisanhyoSyukei_OutputKbn = 0;
  int MotochoTitle_OutputKbn = 0;
  int SisanhyoBS_KaipageKbn = 0;
  int SisanhyoTitle_OutputKbn = 0;
  QString SisanhyoTitle;
  std::array<QString, 3> SisanhyoSubTitle_BS;
  std::array<QString, 3> SisanhyoSubTitle_Sisan;
  std::array<QString, 3> SisanhyoSubTitle_Fusai;
  std::array<QString, 3> SisanhyoSubTitle_PL;
  std::array<QString, 3> SisanhyoSubTitle_Hanbai;
  int DataPlaceRec = 0;
  int TekiyoEditMode = 0;
  int Motocho1Gyo = 0;
  int MotochoFusenMark = 0;
  int RensoJisyoFilterKbn = 0;
  int SisanhyoJigyoNendo_OutputKbn = 0;
  QString IBPATHDAT_Kyoyu;
  int DicTekiyoNasi = 0;
  int DicTorihikiNasi = 0;
  int SiwakechoUramenKeisen = 0;
  int SiwakechoTCodeOut = 0;
  int KessansyoTegataSosai = 0;
  int KessansyoHanbaihiKumikomi = 0;
  int SisanhyoOutputGyoChosei = 0;
  int OPSitenColor = 0;
  int RensoDicInputKbn = 0;
  int RensoDicSortType = 0;
  QString SERVER_TEMP;
  int SystemDBVerMajor = 0;
  int SystemDBVerMinor = 0;
  int SystemDBVerRev = 0;
  int SisanhyoKikan_OutputKbn = 0;
  QString Sisanhyo2KiTitle;
  int SiwakeGroupTeisei = 0;
  std::array<int, 2> ImpCtrl_Jisyo{};
  std::array<int, 2> ImpCtrl_JisyoRenso{};
  std::array<int, 2> ImpCtrl_JisyoAuto{};
  std::array<int, 2> ImpCtrl_JisyoNasi{};
  QObject* AnimeDialog = nullptr;  // progress box in use, owned elsewhere
  int SeizoGenkaGokei_OutputKbn = 0;
  int Sisanhyo_ClipboardFormType = 0;
};

// ---------------------------------------------------------------------------
// TACCINF: accounting information of the open company data
// ---------------------------------------------------------------------------
struct TACCINF {
  int GROUPID = 0;
  QString ENTTEXT;
  QString SERIAL;
  int TANTOU = 0;
  int GYOUSHU = 0;
  int DATATYPE = 0;  // 1 corporation, 2 individual, 3 medical corporation
  QString DATATYPENAME;
  int CODETYPE = 0;
  QString CODETYPENAME;
  int SISETCNT = 0;
  int BUMCNT = 0;
  QString SCODE1;
  QString SCODE2;
  QString SKANA;
  QString SHOUGOU;
  QString POST;
  QString ADD1;
  QString ADD2;
  QString TEL;
  QString AO_ADD1;
  QString AO_ADD2;
  QString AO_KANA;
  QString AO_SIMEI;
  QString AO_GYOUSHU;
  QString AO_YAGO;
  QString AO_KANYU;
  QString AO_TEL;
  QString AO_SHOKUGYO1;
  QString AO_SHOKUGYO2;
  QString MAIL;
  TDateTime zzKISHU{};
  TDateTime zKISHU{};
  int NENDO = 0;
  TDateTime KISHU{};
  TDateTime KIMATU{};
  TDateTime KAISI{};
  int SIME = 0;  // 1..28 day of month, 99 month end
  int KAISINO = 0;
  int StartMNum = 0;
  int EndMNum = 0;
  int StartMNum12 = 0;
  int EndMNum12 = 0;
  int GENGOU_FLG = 0;
  int GENGOU_HOSEI = 0;
  QString GENGOU_NAME;
  std::array<QString, 3> YAKUMEI;
  std::array<Currency, 5> OLD_TAX_RATE{};
  std::array<Currency, 5> NEW_TAX_RATE{};
  std::array<TDateTime, 5> CHG_DAYS{};
  TDateTime KANSA_FIXDATE{};
  bool KANSA_FIXKessanSiwake = false;
  TDateTime KANSA_DATE{};
  int CALCU = 0;
  int TAXU_HASUU = 0;
  int TAXH_HASUU = 0;
  int TAXDEFUH = 0;
  int TAXKANNI = 0;
  int TAXJIGYOU = 0;
  int GENKAPRINT = 0;
  int KANSA_LOCK = 0;
  int TEGATADICSW = 0;
  int KESSAN_KIKAN = 0;
  int CASHFLOW_KIKAN1 = 0;
  int CASHFLOW_KIKAN2 = 0;
  int CASHFLOW_SYUKEI = 0;
  int SDAI_HASUU1 = 0;
  int SDAI_HASUU2 = 0;
  int SDAI_HASUU3 = 0;
  int CONVERT = 0;
  int SHOUHYOU = 0;
  int ShouhyouEcho = 0;
  int SITEN_KANRI = 0;
  int BUMON_KANRI = 0;
  int DATALOCK = 0;
  int SEIZOGENKA_USE = 0;
  QString SEIZOGENKA_TITLE;
  QString SEIZOGENKA_TOUKISEIZOGENKA;
  QString SEIZOGENKA_ZAIRYOHI;
  QString SEIZOGENKA_ROUMUHI;
  QString SEIZOGENKA_SEIZOKEIHI;
  QString SEIZOGENKA_TOUKISEIZOGENKA_SUM;
  QString SEIZOGENKA_ZAIRYOHI_SUM;
  QString SEIZOGENKA_ROUMUHI_SUM;
  QString SEIZOGENKA_SEIZOKEIHI_SUM;
  QString SEIZOGENKA_TOUKISEIZOHIYOU_SUM;
  QString PASWORD;
  QString WEB_HOLDER;
  std::array<QString, 6> PASWORD2;
  std::array<QString, 6> WEB_HOLDER2;
  // Internal account codes of fixed roles
  QString GENKIN;
  QString KARIHARAIZ;
  QString KARIUKEZ;
  QString SHOKUTI;
  QString ZENKIKURIKOSI;
  QString JIGYOKASI;
  QString JIGYOKARI;
  QString MOTOIREKIN;
  QString KYUYO;
  QString SYOYO;
  QString SYOYO_HIKIATE;
  QString TAISYOKU_KYUFU;
  // ... and their user codes
  QString UC_GENKIN;
  QString UC_KARIHARAIZ;
  QString UC_KARIUKEZ;
  QString UC_SHOKUTI;
  QString UC_ZENKIKURIKOSI;
  QString UC_JIGYOKASI;
  QString UC_JIGYOKARI;
  QString UC_MOTOIREKIN;
  QString UC_KYUYO;
  QString UC_SYOYO;
  QString UC_SYOYO_HIKIATE;
  QString UC_TAISYOKU_KYUFU;
  QString FUMEI_KCODE;
  QString UC_FUMEI_KCODE;
  int SWKNO_KIRIKAE = 0;
  TJxZaimuDataType ZaimuDataType = jxztBasic;
  int SITEN_HonbuUse = 0;
  std::array<TDateTime, 3> KISHU_A{};
  std::array<TDateTime, 3> KIMATU_A{};
  std::array<TDateTime, 3> KAISI_A{};
  std::array<int, 3> KikanTsukisu{};
  int KakoMeisaiUse = 0;
  std::uint8_t GassanDataKbn = 0;
  int GassanChildCnt = 0;
  TJxKamokuCodeLen KCodeLenMode = jxkcLen4;
  TJxKamokuCodeLen HCodeLenMode = jxkcLen4;
  TJxKamokuCodeLen BCodeLenMode = jxkcLen4;
  bool CashOn_ToukiZan = false;
  bool CashOn_KakoZan = false;
  int KimatuZeinukiKbn = 0;
  int KimatuZeinukiSeiseiZumi = 0;
  QString DataPassword;
  int PrintKikanUse = 0;
  TDateTime PrintKISHU{};
  TDateTime PrintKIMATU{};
  QString UKETORI_TEGATA;
  QString WARIBIKI_TEGATA;
  QString URAGAKI_TEGATA;
  QString UC_UKETORI_TEGATA;
  QString UC_WARIBIKI_TEGATA;
  QString UC_URAGAKI_TEGATA;
  std::array<int, 3> TAXDEFUH_A{};
  QString SEIZOGENKA_GAICHUHI;
  QString SEIZOGENKA_GAICHUHI_SUM;
  int DataVerMajor = 0;
  int DataVerMinor = 0;
  int DataVerRev = 0;
  int KobetuGenka_Use = 0;
  QString KobetuGenkaAlias;
  TJxKobetuGenkaCodeLen KobetuGenkaLenMode = jxkbLen3;
  int UseMyNumberKbn = 0;
  QString MyNumberPassWord;
  QString MyNumber;
  int UseVestimarCloudKbn = 0;
  int OutputSwkRecKbn = 0;
  int CLOUD_LINE = 0;
  TDateTime CLOUD_TIME{};
  std::array<bool, 5> UseZeiritu{};
  int Read_Only = 0;
  std::array<TDateTime, 4> KessanHizuke{};
  bool UseAbacorClub_RendoCD = false;
};

// ---------------------------------------------------------------------------
// TAppInfoRec: application identity read from AppInfo.ini
// ---------------------------------------------------------------------------
struct TAppInfoRec {
  QString OEM;
  QString Since;
  QString ComRegKey;
  QString QyxName;
  QString QyxAlias;
  int VerMajorDiff = 0;
  int VerMinorDiff = 0;
  int VerRevDiff = 0;
  QString VerTest;
  int OptionBlind = 0;
  int VeduvoruBlind = 0;
  QString CompanyName;
  QString CompanyZipCode;
  QString CompanyAddr;
  QString CompanyTEL;
  QString CompanyFAX;
  QString CompanyMail;
  QString CompanyURL;
  QString AppName;
  QString AppTitle;
  QString AppTitle_CL;
  QString RegKey;
  QString HomeDir;
  QString ShareDir;
  QString ServerDir;
  QString ServerTempDir;
  QString DataDefFile;
  QString DataFile;
  QString DataBackupFile;
  QString DataInitFile;
  QString DataIniFile;
  int DataListCnt = 0;
  QString RIvoraAppTitle;
  QString RIvoraDir;
  QString RIvoraWriteDirFmt;
  QString VestimarAppTitle;
  QString VestimarRegKey;
  QString VestimarDir;
  QString VeduvoruAppTitle;
  QString VeduvoruRegKey;
  QString VeduvoruDataDir;
  QString VeduvoruDataBackupFile;
  QString MenuDataCon;
  QString MenuDataCon01;
  QString MenuDataCon02;
  QString MenuDataCon03;
  QString MenuDataConQyx01;
  QString MenuDataConQyx02;
  QString WebVestimarSerever;
  QString MarluneSerever;
  bool MarluneMenuLimit = false;
  QString AbacorClubSerever;
};

// The error report of one backup or restore run (TBackupRestoreThread).
struct TErrInfomation {
  bool ErrResult = false;  // the run failed
  QString ErrProc;         // "BackupDatabase" or "RestoreDatabase"
  QString ErrNo;
  QString ErrMessage1;
  QString ErrMessage2;
};

// ---------------------------------------------------------------------------
// Process-wide values
// ---------------------------------------------------------------------------
extern TSystemDef SystemDef;
extern TACCINF AccInf;
extern TAppInfoRec AppInfo;
extern TJxAppType AppType;        // jxatSA at start
extern std::uint8_t SbcKind;      // index into AccSbcSolutionNames
extern std::uint8_t OemEdition;   // 1 or 2: the partner edition
extern std::uint8_t EditionKind;  // 1: the special edition named by AppInfo.ini OEM, else 0
extern std::uint8_t SystemKind;   // 0: the accounting product's data
extern bool FbFatalLatch;         // set once a connection is lost beyond repair
extern int FbPort;                // 3051
extern QString FbCharSet;         // "UTF8"

// Fixed Japanese date and time formats for reading stored date texts back,
// whatever the process-wide settings say ("YYYY/MM/DD", "hh:mm:ss", "/", ":").
const TFormatSettings& AccFormatSettings();

// Start-up of the shared records: fixes the process-wide date and time
// formats. Safe to call more than once.
void pcAccRecordInitialize();

// Encoding of the text files the system writes, and the byte-order mark
// written first into a new UTF-8 text file when asked.
inline constexpr QStringConverter::Encoding AccUtf8Encoding = QStringConverter::Utf8;
inline constexpr char16_t AccBomChar = u'\xFEFF';

// Names of the accounting product's files and folders (the start-up
// replaces them from the application identity file).
extern QString AccAppName;
extern QString AccHomeDir;
extern QString AccRIvoraDir;
extern QString AccShareDir;
extern QString AccServerDir;
extern QString AccServerTempDir;
extern QString AccDataDefFile;
extern QString AccDataFile;
extern QString AccDataBackupFile;
extern QString AccDataIniFile;
extern std::array<QString, 6> AccDataInitFile;  // kinds 11, 21, 22, 23, 24, 31
extern QString AccVeduvoruDataDir;
extern const QString AccFixedBackupFile;  // never replaced
extern int AccDataListCnt;

// Replaces the file and folder names from the application identity record;
// the entry of AccDataInitFile for 24 keeps its default.
void pcApplyAppInfoNames(const TAppInfoRec& info);

// Default colours of a new operator's screen settings (BGR).
extern int DefColHeaderColor;
extern int DefRowHeaderColor;
extern int DefColHeaderGradColor1;
extern int DefColHeaderGradColor2;
extern int DefClientColor;
extern int DefClientColor1;
extern int DefClientColor2;
extern int DefTotalColor;
extern int DefActiveColor;
inline constexpr std::array<int, 2> DefFormStyleColors{0xFFF0E1, 0xD3EDD9};

// Switches DefClientColor2, DefTotalColor and DefActiveColor to the partner
// edition's colours when OemEdition is 1 or 2 (called once at start-up).
void pcApplyOemDefaultColors();

// True for the OemEdition values of the partner edition.
inline bool IsOemEdition(std::uint8_t edition)
{
  return edition == 1 || edition == 2;
}

// Constant tables
inline constexpr std::array<int, 3> AccKamokuCodeLength{4, 2, 3};
inline constexpr std::array<int, 4> AccKobetuGenkaCodeLength{3, 4, 5, 6};

struct TAccIryoJigyoKind {
  int KindBit;
  const char16_t* Name;
};

extern const QStringList AccSbcSolutionNames;  // "", "GO-Global", "RDS", "XenDesktop"
extern const std::array<TAccIryoJigyoKind, 5> AccIryoJigyoKinds;
extern const QStringList AccFKeyCaptions;
extern const QStringList AccSortMarks;
extern const QStringList AccPrintFontNames;
extern const QStringList AccDataKindNames;
extern const QStringList AccSitenTopNames;
extern const QStringList AccIryoSisetuNames;

// Resets every process-wide record and value to its start value (used at
// program start and by tests).
void pcAccRecordReset();
