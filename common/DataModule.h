// The data module: the one object through which every part of the program
// reaches the databases. It owns the connections to the system database,
// the open company database, the previous-year company database and the
// file-manager database, their transactions and the statement objects of the
// shared database operations.
//
// The implementation is split over several source files by area
// (DataModule*.cpp); each section below names its file. Other modules add
// their operations in sections of their own, implemented in their own
// DataModule<Area>.cpp.
//
// All operations run on the main thread.
#pragma once

#include <functional>

#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariant>

#include "common/AccRecord.h"
#include "common/AccTaxCmp.h"
#include "common/SystemIniRec.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"

namespace db {
class DbError;
}

// Hooks through which the data module reaches the main program (installed by
// the main window, nil until then).
//   SyoriKidouProc: starts a registered process by identifier.
//   DataHasonHanteiProc: validates a company database; 0 means damaged.
using TSyoriKidouProc = std::function<int(const QString& ID, int Mode, const QString& Options)>;
using TDataHasonHanteiProc = std::function<QVariant(const QString& AHostName, const QString& ADataName, int ASilent)>;
extern TSyoriKidouProc SyoriKidouProc;
extern TDataHasonHanteiProc DataHasonHanteiProc;
// The data password prompt (installed by the dialogs library): ATry is 1 to
// 3; answers false on cancel, else true with the typed text in AText.
using TDataPasswordPromptProc = std::function<bool(int ATry, QString& AText)>;
extern TDataPasswordPromptProc DataPasswordPromptProc;

// A snapshot of the open data's journal counts and masters, to tell later
// whether they changed (TDM::GetNowMasterInfo, TDM::MasterInfoHikaku).
struct TSavedMasterInfoRec {
  int NowSiwakeCnt = 0;       // all journal entries
  int NowYukouSiwakeCnt = 0;  // live entries
  int NowUpDelSiwakeCnt = 0;  // changed or deleted entries
  int NowUseKamokuCnt = 0;    // rows of the yearly balances
  Currency NowKaisizanSum;    // sum of the absolute opening balances
  TDateTime FinalKamokuDate = 0;
  TDateTime FinalHojoDate = 0;
};

class TDM : public QObject {
  Q_OBJECT

 public:
  explicit TDM(QObject* parent = nullptr);
  ~TDM() override;

  // =========================================================================
  // Components: connections, transactions, statement objects
  // (DataModule.cpp)
  // =========================================================================
  db::Database IBDatabaseDEF;  // the system database
  db::Database IBDatabaseDAT;  // the open company database
  db::Database IBDatabaseZEN;  // the previous-year company database
  db::Database IBFileMan;      // the file-manager database

  db::Transaction IBTransactionDEF;         // read_committed, rec_version, nowait
  db::Transaction IBTransactionDAT;         // read_committed, rec_version, nowait
  db::Transaction IBTransactionDATSS;       // concurrency, nowait
  db::Transaction IBTransactionDATStable;   // write, consistency
  db::Transaction IBTransactionDAT_Thread;  // for the backup and restore worker
  db::Transaction IBTransactionZEN;         // read_committed, rec_version, nowait
  db::Transaction IBTransactionZENStable;   // write, consistency
  db::Transaction IBTransFileMan;           // read_committed, rec_version, nowait

  db::Query IBQSysDefGet;    // DEF
  db::Query IBQSysDefPut;    // DEF
  db::Query QueryDef;        // DEF
  db::Query IBQACC1;         // DAT
  db::Query IBQACC2;         // DAT
  db::Query IBQACC3;         // DAT
  db::Query IBSQL1;          // ZEN
  db::Query IBSQLDEF;        // DEF
  db::Query IBQueryFileMan;  // file manager
  db::Query IBSQLFileMan;    // file manager

  // One-shot 100 ms timers (their handlers belong to the deferred actions).
  QTimer TimerFormClose;
  QTimer TimerSyoriKidou;

  // The services administrator used for server questions (attachment lists,
  // validation). Taken from RENDO_SERVICE_USER / RENDO_SERVICE_PASSWORD when
  // set, else the installation's default; never logged or shown.
  QString ServiceAdminUser;
  QString ServiceAdminPassword;

  // =========================================================================
  // Database names and connections (DataModuleConnect.cpp)
  // =========================================================================
  // "host/port:folder/file" (remote) or "folder/file" (local).
  static QString fnDatabaseName(const QString& AHostName, const QString& AFolder, const QString& AFileName,
                                bool ARemote);
  // The connections use the remote form unless the access form is jxatSA or
  // the host is "127.0.0.1".
  static bool fnUseRemoteForm(const QString& AHostName);

  bool fnAccDefConnected(const QString& AHostName, bool AExceptOn);
  bool fnAccFileManConnected(const QString& AHostName);
  bool fnAccDatConnected(const QString& AHostName, const QString& AIBPathDat, bool AIniWrite);
  bool fnAccDatDisConnected(const QString& AIBPathDat, bool AIniWrite, bool ADataListUpdate,
                            bool AReplace_AccDef1_ListName);
  bool fnAccDatZenkiConnected(const QString& AHostName, const QString& AIBPathDat);
  bool fnAccDatZenkiDisConnected(const QString& AIBPathDat);

  // Whether a failed company connection may mean a damaged database (and so
  // deserves the damage validation): not for a wrong password, a missing
  // user, a lost network, a lock conflict or a database in use.
  static bool fnIsDamageError(const db::DbError& E);

  // =========================================================================
  // Server questions, drop, events, balance tables (DataModuleServer.cpp)
  // =========================================================================
  bool AccDatInConnection(int ADbKind, const QString& AHostName, const QString& ADataPath, bool AKeepConnection);
  bool AccDatDropDatabase(const QString& AHostName, const QString& AIBPathDat);
  bool IsFirebirdRunning();
  static bool GetConectionTcp(const QString& AUncPath, QString& ARemoteHostName, QString& ARemotePath);
  void SETEVENT(int EVENTNO, int OPCODE, const QString& TXT);
  void GetZandakaCash(int AValue);

  // =========================================================================
  // File operations by access form (DataModuleFileOp.cpp)
  // =========================================================================
  bool ServerFileOperation(const QString& AMode, const QString& AFilePath1, const QString& AFilePath2);
  // The same; AServerError tells a failed question (the server or its
  // procedure raised an error, which has been reported) from a plain "no".
  bool ServerFileOperation(const QString& AMode, const QString& AFilePath1, const QString& AFilePath2,
                           bool& AServerError);
  QString ServerLongToShortFileName(const QString& AFilePath1);
  bool AccDirectoryExists(const QString& AFilePath, int AAppType);
  bool AccMakeDirectory(const QString& AFilePath, int AAppType);
  bool AccDeleteDirectory(const QString& AFilePath, int AAppType, bool AGomiBako);
  bool AccFileExists(const QString& AFilePath, int AAppType);
  bool AccDeleteFile(const QString& AFilePath, int AAppType, bool AGomiBako);
  bool AccMoveFile(const QString& AMotoFilePath, const QString& ASakiFilePath, int AAppType);
  bool AccCopyFile(const QString& AMotoFilePath, const QString& ASakiFilePath, int AAppType);
  QString AccLongToShortFileName(const QString& AFilePath, int AAppType);
  bool BackupAccFDB(const QString& ADestPath);
  bool RestoreAccFDB(const QString& ASourcePath);

  // =========================================================================
  // Database validation (DataModuleValidate.cpp)
  // =========================================================================
  // With AKyoseiCheck 1 or SystemDef.DataHasonCheck 1, and a validation hook
  // installed: the hook's answer (1 valid, 0 damaged); otherwise 1.
  int ValidateFbDataBase(const QString& AHostName, const QString& ADataName, int ASilent, int AKyoseiCheck);
  // Full validation (checksums ignored) of a database file through the
  // services of the server AServerName (AProtocl 0, TCP) or of this process's
  // engine (AProtocl 3, local). 1 sound, 0 damaged: any non-blank line of
  // the validation's output, the damage summary and every other database
  // error count as damage, except a file that cannot be opened or read
  // (335544344), bad attach parameters (335544325, a database attached
  // elsewhere), a server that cannot be reached or refuses the login, which
  // give 1. The open company connection is closed for the
  // validation and opened again afterwards, except after an error taken for
  // damage; a company connection with a transaction under way stays open.
  int ValidateFDB(int AProtocl, const QString& AServerName, const QString& ADataBaseName);

  // =========================================================================
  // Checks of the shared edit repository (DataModuleEditRepo.cpp); each gets
  // the display value, the error flag and the error text as a grid's
  // validation passes them. A replaced value clears the flag and the text.
  // =========================================================================
  // Percentages: above 100 becomes "100", below 0 or not a number "0".
  static void cxEditRepo_Curr_WariaiP1_PlusPropertiesValidate(QVariant& DisplayValue, QString& ErrorText, bool& Error);
  // Dates typed with blanks (" 1/ 2/ 3"): every part gets two digits.
  static void cxEditRepo_Text_Hizuke6PropertiesValidate(QVariant& DisplayValue, QString& ErrorText, bool& Error);

  // =========================================================================
  // (Further operations of the data module are added below by their own
  // modules: system definitions, accounting information, registers, ...)
  // =========================================================================

  // =========================================================================
  // Tax master, total-line names and data kinds (DataModuleTax.cpp)
  // =========================================================================
  // Leaves a list that already holds entries alone (true). Otherwise fills it
  // from TAXMST in code order; on failure the list is left empty.
  bool fnGetTaxMst(TTaxKbnList& ATaxKbnList);
  QString fnGetAccTotalName(const QString& AKGroup, const QString& AField);
  bool fnPutAccTotalName(const QString& AKGroup, const QString& AField, const QString& AValue);
  // Medical-corporation data exactly for data kind 3 with code kind 1; also
  // sets up the statement code tables and the cash-flow item list.
  TJxZaimuDataType GetZaimuDataType();
  TJxZaimuDataType GetZaimuDataType(int ADataType, int ACodeType);
  // Names of data and code kinds; an unknown kind throws EPlatformError.
  static QString fnGetDataTypeName(int ADataType);
  static QString fnGetCodeTypeName(int ADataType, int ACodeType, bool AMerge);
  bool IsConnectDataType(int ADataType, int ACodeType, bool AMessageOut);
  // Installs fnGetTaxMst of the data module as the tax-code look-ups' reader.
  static void pcInstallTaxMasterReader();

  // =========================================================================
  // Account codes, operators and server time (DataModuleKamoku.cpp)
  // =========================================================================
  void SetSystemCode(const QString& AName, QString& AKCODE, QString& AUSERCODE);
  QString UserKcodeToKCode(const QString& AUKCode);
  QString KCodeToUserKcode(const QString& AKCode);
  QString GetOperatorList(QStringList& AOperatorList, int AGroup, const QString& ATopItem);
  bool IsOpCode(int AOPCODE, int APassword);
  TDateTime GetDBServerNow();

  // =========================================================================
  // System register (SYSREG) and branch register (SISETREG)
  // (DataModuleRegister.cpp). Reading a missing entry creates it.
  // =========================================================================
  QVariant funcGetSysReg(const QString& _Field, const QString& _TYPE, const QString& _Val, int AOPCODE);
  QVariant funcGetSysReg(const QString& _Field, const QString& _TYPE, const QString& _Val);
  void funcPutSysReg(const QString& _Field, const QString& _Type, const QVariant& _Val, int AOPCODE);
  void funcPutSysReg(const QString& _Field, const QString& _Type, const QVariant& _Val);
  QVariant fnGetSisetuItem(const QString& _SCODE, const QString& _GROUP, const QString& _Field, const QString& _Type,
                           const QVariant& _Val);
  void pcPutSisetuItem(const QString& _SCODE, const QString& _GROUP, const QString& _Field, const QString& _Type,
                       const QVariant& _Val);

  // =========================================================================
  // Era table and system-database version (DataModuleGengo.cpp)
  // =========================================================================
  // Loads GengoTable from GENGO (newest first), else the built-in eras, and
  // the era-sign items of the date grids.
  void SetGengoRecord();
  void SetSystemDBVersion();
  QStringList cxEditRepo_Combo_Gengo_Items;

  // =========================================================================
  // Database metadata tests and generators (DataModuleMeta.cpp)
  // =========================================================================
  bool fnExistence_Table(const QString& __TableName);
  bool fnExistence_Field(const QString& __TableName, const QString& __FieldName);
  bool fnExistence_VIEW(const QString& __VIEWName);
  bool fnExistence_Procedure(const QString& __ProcName);
  bool fnExistence_Trigger(const QString& __TriggerName);
  qint64 GetGeneratorValue(const QString& AGenName);
  void SetGeneratorValue(const QString& AGenName, qint64 AValue);
  static void SendCommit(db::Transaction& AIBTransaction);
  static void SendRollBack(db::Transaction& AIBTransaction);

  // =========================================================================
  // System settings, relay-server and company text stores
  // (DataModuleTextStore.cpp)
  // =========================================================================
  bool GetSysIni(TSystemIniRec& ASysIni);
  bool SetSysIni(const TSystemIniRec& ASysIni);
  void SetRelayServerInfo(int ARec, int AIndex);
  void UpdateRelayServerInfo(int ARec, int AIndex);
  void UpdateRelayServerInfo(int ARec, const QString& AWeb_Holder, const QString& APassword);
  void GetAccInfoXStrField(QString& AValue);
  void SetAccInfoXStrField(const QString& AValue);
  Currency GetMotoirekinKaisizan(int ANendo, const QString& ASCODE, const QString& ABCODE);

  // =========================================================================
  // System definitions (DataModuleSysDef.cpp)
  // =========================================================================
  bool fnGetSYSDEF();
  bool fnPutSysdef();
  bool fnPutSysdefJisyoField();
  QString fnGetMessage();
  void DeleteLogonInfo();
  void DeleteFormSizeInfo();
  // Whether the system has a screen font of that name (installed by the user
  // interface; without it the operator's font is not applied).
  static std::function<bool(const QString&)> FontExistsProc;
  // The grid styles of the data dialogs: the operator's font for every style
  // and the colours (BGR) that the operator's settings replace.
  struct TGridStyles {
    TFontInfo Font;
    int Title = 0xFBDDB9;
    int TitleTop = 0xFFFFFF;
    int TitleEnd = -1;  // the system's 3-D light colour
    int TitleRow = 0xFFFBF7;
    int Meisai = 0xFFFFFF;
    int MeisaiOdd = 0xFFFFFF;
    int MeisaiEven = -1;  // the system's info background
    int Gokei = 0xD1ECFE;
    int Select = 0x0080FF;
    bool InactiveFromSystem = true;  // the inactive caption's gradient colour
  };
  TGridStyles cxStyleRepository1;

  // =========================================================================
  // Accounting information of the open data (DataModuleAccInfo.cpp)
  // =========================================================================
  bool fnGetAccInfo();
  // Code lengths of the shared edit repository (characters).
  struct TEditRepoLengths {
    int SCODE = 2;
    int BCODE = 4;
    int KCODE = 4;
    int HCODE = 4;
    int Syohyo = 6;
  };
  TEditRepoLengths cxEditRepoLengths;

  // =========================================================================
  // Operator rights and branches (DataModuleRights.cpp)
  // =========================================================================
  // Unrestricted data access: the system-wide switch, an accounting-office
  // operator or level 9. No database access.
  bool IsDataAccessSeigenNasi();
  // Whether the operator's level may run the process AMenuID (with an option
  // contained in its stored options when AOption is not blank).
  bool IsUseMenu(const QString& AMenuID, const QString& AOption);
  bool fnJobRestrict();
  bool fnGetExistsOpeDefSisetu();
  // The operator's default branch: sets DEFOPSCODE, OPSCODE, ACCCLAS and
  // OPSitenColor and returns the branch's name.
  QString GetOpeDefSisetu();
  // Whether the operator may use every branch of the open data.
  bool IsAuthSitenZentai(int AOPCODE);
  // A value of the key=value lines of a branch; "COLOR" gives an integer.
  static QVariant GetSitenExInfoValue(const QString& AKeyValueList, const QString& AKey);
  QString fnGetSisetumei(const QString& pSCODE);
  int fnGetJigyoukubun(const QString& pSCODE);
  int fnGetBumEX(const QString& pSCODE);

  // =========================================================================
  // Journal counts, journal deletion and the database version
  // (DataModuleJournal.cpp). These commit a caller's open company transaction
  // first and work in a fresh one.
  // =========================================================================
  int fnGetKamokuCount();
  int fnGetSiwakeCount(int Mode, const QString& Scode, const QString& KCODE, const QString& HCODE);
  void pcSiwakeDEL(int Mode, const QString& Scode, const QString& KCODE, const QString& HCODE);
  QString fnGetDataBaseVer();

  // =========================================================================
  // Journal counts, entry and balance tests, saved master information
  // (DataModuleBalance.cpp). Each works in the company transaction (started
  // and committed here when none is active, a caller's open one left open);
  // codes are bound, an empty code means any code.
  // =========================================================================
  // Live entries of the branch (all branches when blank): the branches'
  // counters; cash-book data (SystemKind 3) counts the cash account's live
  // lines. -1 for another system kind. These three and the tests of this
  // year's journal, balances and openings log a database error (no box)
  // and raise it again.
  int GetYukouSiwakeCount(const QString& ASCODE);
  // Changed or deleted entries of the branch (all when blank).
  int GetUpDelSiwakeCount(const QString& ASCODE);
  // Both counts into the arguments; their sum.
  int GetSiwakeCount(const QString& ASCODE, int& AYukouSiwake, int& AUpDelSiwake);
  int GetSiwakeCount(const QString& ASCODE);
  // ANendo 0 as above; 1 and 2 every line of the archived years; any other
  // 0. Errors give 0.
  int GetSiwakeCount(int ANendo, const QString& ASCODE);
  // Whether a journal line (periods 1 to 19, deleted ones included) of the
  // year ANendo (0 to 2; another year throws EPlatformError) has the codes.
  bool GetSiwakeEntry(int ANendo, const QString& ASCODE, const QString& AKCODE, const QString& AHCODE,
                      const QString& ABCODE);
  bool GetTounendoSiwakeEntry(const QString& ASCODE, const QString& AKCODE, const QString& AHCODE,
                              const QString& ABCODE);
  // Whether this year's period sums are not all zero.
  bool GetTounendoZanEntry(const QString& ASCODE, const QString& AKCODE, const QString& AHCODE, const QString& ABCODE);
  // Whether a prior-year balance is not zero; corporation data asked
  // without an account leaves out the retained-earnings account.
  bool GetKanendoZanEntry(const QString& ASCODE, const QString& AKCODE, const QString& AHCODE, const QString& ABCODE);
  // Whether an opening balance is not zero.
  bool GetKaisiZanEntry(const QString& ASCODE, const QString& AKCODE, const QString& AHCODE, const QString& ABCODE);
  // Whether a depreciation asset of the cost calculation has the codes.
  // Errors give false (as for the business-kind forms below).
  bool GetGenkaSyokyakuEntry(const QString& ASCODE, const QString& AKCODE);
  // The same tests limited to the branches of one business kind (1, 2, 4
  // or 8; another kind sets no limit); the prior-year form always leaves
  // out the retained-earnings account when asked without an account.
  bool GetJigyobetuTounendoSiwakeEntry(int AJigyo, const QString& AKCODE, const QString& AHCODE, const QString& ABCODE);
  bool GetJigyobetuTounendoZanEntry(int AJigyo, const QString& AKCODE, const QString& AHCODE, const QString& ABCODE);
  bool GetJigyobetuKanendoZanEntry(int AJigyo, const QString& AKCODE, const QString& AHCODE, const QString& ABCODE);
  bool GetJigyobetuKaisiZanEntry(int AJigyo, const QString& AKCODE, const QString& AHCODE, const QString& ABCODE);
  bool GetJigyobetuGenkaSyokyakuEntry(int AJigyo, const QString& AKCODE);
  // Balances of the periods before the data's first month (AccInf.KAISINO,
  // 2 to 12; otherwise there are none): of the branch's department rows,
  // and whether one account of the branch has any. Errors are shown; the
  // answer is then 0 or false.
  Currency fnKanendZan(const QString& pSCODE);
  bool fnSisetuKmk_KanendZan(const QString& pSCODE, const QString& pKCODE);
  // Whether the operator's branch (SystemDef.OPSCODE) keeps departments.
  bool fnBumonTest();
  // A snapshot of the counts and masters now (0); database errors are
  // logged and raised again.
  int GetNowMasterInfo(TSavedMasterInfoRec& ASavedMasterInfoRec);
  // 2 when the masters or openings differ, else 1 when a journal count
  // differs, else 0.
  static int MasterInfoHikaku(const TSavedMasterInfoRec& AMasterInfoRecA, const TSavedMasterInfoRec& AMasterInfoRecB);

  // =========================================================================
  // Data password (DataModulePassword.cpp): asks through the prompt hook
  // (DataPasswordPromptProc) up to three times.
  // =========================================================================
  bool IsDataPassword(int AHandle);

  // =========================================================================
  // Deferred actions and data-folder numbers (DataModuleDeferred.cpp)
  // =========================================================================
  // Closes AWindow (as its close button would) 100 ms later, from the event
  // loop; a window destroyed meanwhile is left alone. nullptr disarms.
  void SetTimerFormClose(QObject* AWindow);
  QObject* TimerFormCloseTag() const { return FFormCloseTarget; }
  void TimerFormCloseTimer();
  // Starts the registered process AID through the launch hook 100 ms later
  // (AFormStyle is the hook's show mode: 1 modal); an empty AID only stores.
  void SetTimerSyoriKidou(const QString& AID, int AFormStyle, const QString& AOption);
  void TimerSyoriKidouTimer();
  QString SyoriID() const { return FSyoriID; }
  int SyoriFormStyle() const { return FSyoriFormStyle; }
  QString SyoriOption() const { return FSyoriOption; }
  // The data-set folder and member folder after the "DATA" (or "CB_DATA")
  // part of a local path; spaces are ignored, "\" and "/" both separate.
  static void LocalPathToDataDirName(const QString& ALocalPath, QString& ADirName, QString& AChildDirName);
  // The data-list number of a data folder: from the folder names for local
  // data, from DATALIST (the operator's group, path without regard to case)
  // for data on a server. 0 when unknown.
  void LocalPathToDataListRecNo(const QString& ALocalPath, int& ARec, int& AChildRec);

  // =========================================================================
  // Operator key values and key=value texts (DataModuleKeyValue.cpp)
  // =========================================================================
  // The value stored for an operator's login code and a named key in
  // STYLECOLOR; empty when none (errors are swallowed).
  QString ZenkaiKeyValue(int AOPCODE, const QString& AKey);
  // Stores the value under the named key (one row per operator and key).
  void KeyValueHozon(int AOPCODE, const QString& AKey, const QString& AValue);
  // Lines of name=value (names without regard to case; the first counts).
  static QString GetExField_Value(const QString& AExField, const QString& AKey);
  static void SetExField_Value(QString& AExField, const QString& AKey, const QString& AValue);
  static void DeleteExField_Key(QString& AExField, const QString& AKey);

  // =========================================================================
  // Company-data flags and labels (DataModuleFlags.cpp). The journal
  // questions answer false on any error and never show a message.
  // =========================================================================
  bool IsCloudShare(bool AVestimar_StartControl);
  bool IsCloudShare(const TACCINF& AACCINF, bool AVestimar_StartControl);
  int GetDataAccessKbn();
  bool IsKansaZumiHizuke(TDateTime AHizuke, int AKessan);
  bool IsFurikaeSiwake();
  bool IsSyouninZumiSiwake(const QString& AJyoken);
  bool IsSyokuchiHojoAri();
  bool IsKimatuZeinukiSeiseiZumi(int AType, int ASiwakeTable);
  int GetSyuukeiZeikbn(int AZeikbn, int AType, int ASiwakeTable);
  int GetOutputZeikbn(int AZeikbn, int AType, int ASiwakeTable);
  int GetOutputZeikbn_TaxSinkokusyo(int AZeikbn, int AType, int ASiwakeTable);
  bool UpdateSiwakeNippouLinkKey(const QString& AOLDBCODE, const QString& ANEWBCODE);
  bool IsOpenLimitDialog_ConnectData(int AType);
  bool DeleteOpInf();
  QString GetShouhyouTitle(int AOutKbn);
  QString GetKamokuUseKbnHyoukimei(int AValue);
  static bool IsGenkaKeisanBCODE(const QString& ABCODE);
  bool IsJimushoNamePrintItem(int AValue);
  static int GetIryoHojin_JigyoKbn(const QString& AJigyomei);
  static bool fnIsIryoHojinType(const QString& AText);
  QString TolvaneDefaultHCode();
  QString TolvaneDefaultBCode();

 private:
  void ConnectDeferredTimers();
  bool FDeferredTimersConnected = false;
  QObject* FFormCloseTarget = nullptr;
  QMetaObject::Connection FFormCloseWatch;
  QString FSyoriID;
  int FSyoriFormStyle = 0;
  QString FSyoriOption;

 public:
 private:
  bool connectCompany(db::Database& ADb, const QString& AStep, const QString& AHostName, const QString& AIBPathDat);
  // The in-use mark of a company data set's settings file: written when the
  // data set is opened, given back on every way out (disconnect, a failed
  // open, the end of the program), also when the database cannot be read.
  void writeDatStatus(const QString& AFolder, int AStatus);
  void releaseDatMark();
  QString FDatMarkedFolder;
};

// The one data module of the program (created at start-up, nullptr before).
extern TDM* DM;

struct TDataInfomationRec;
// Brings the data list's row of a company data folder up to date when the
// data set is closed with its list update asked for (fnAccDatDisConnected):
// AFolder, the folder's information just read, and whether the row takes
// the data set's own list name. The data-selection library installs it
// (pcInstallDataListUpdateProc); until then the list is left as it is.
using TDataListUpdateProc =
    std::function<void(const QString& AFolder, const TDataInfomationRec& ARec, bool AReplaceListName)>;
void SetDataListUpdateProc(TDataListUpdateProc AProc);
const TDataListUpdateProc& DataListUpdateProc();
