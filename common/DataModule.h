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

#include "common/AccRecord.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariant>

#include <functional>

namespace db {
class DbError;
}

// Hooks through which the data module reaches the main program (installed by
// the main window, nil until then).
//   SyoriKidouProc: starts a registered process by identifier.
//   DataHasonHanteiProc: validates a company database; 0 means damaged.
using TSyoriKidouProc = std::function<int(const QString& ID, int Mode, const QString& Options)>;
using TDataHasonHanteiProc =
    std::function<QVariant(const QString& AHostName, const QString& ADataName, int ASilent)>;
extern TSyoriKidouProc SyoriKidouProc;
extern TDataHasonHanteiProc DataHasonHanteiProc;

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

  db::Query IBQSysDefGet;   // DEF
  db::Query IBQSysDefPut;   // DEF
  db::Query QueryDef;       // DEF
  db::Query IBQACC1;        // DAT
  db::Query IBQACC2;        // DAT
  db::Query IBQACC3;        // DAT
  db::Query IBSQL1;         // ZEN
  db::Query IBSQLDEF;       // DEF
  db::Query IBQueryFileMan; // file manager
  db::Query IBSQLFileMan;   // file manager

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
  static QString fnDatabaseName(const QString& AHostName, const QString& AFolder,
                                const QString& AFileName, bool ARemote);
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
  bool AccDatInConnection(int ADbKind, const QString& AHostName, const QString& ADataPath,
                          bool AKeepConnection);
  bool AccDatDropDatabase(const QString& AHostName, const QString& AIBPathDat);
  bool IsFirebirdRunning();
  static bool GetConectionTcp(const QString& AUncPath, QString& ARemoteHostName,
                              QString& ARemotePath);
  void SETEVENT(int EVENTNO, int OPCODE, const QString& TXT);
  void GetZandakaCash(int AValue);

  // =========================================================================
  // File operations by access form (DataModuleFileOp.cpp)
  // =========================================================================
  bool ServerFileOperation(const QString& AMode, const QString& AFilePath1,
                           const QString& AFilePath2);
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
  int ValidateFbDataBase(const QString& AHostName, const QString& ADataName, int ASilent,
                         int AKyoseiCheck);

  // =========================================================================
  // Checks of the shared edit repository (DataModuleEditRepo.cpp); each gets
  // the display value, the error flag and the error text as a grid's
  // validation passes them. A replaced value clears the flag and the text.
  // =========================================================================
  // Percentages: above 100 becomes "100", below 0 or not a number "0".
  static void cxEditRepo_Curr_WariaiP1_PlusPropertiesValidate(QVariant& DisplayValue, QString& ErrorText,
                                                              bool& Error);
  // Dates typed with blanks (" 1/ 2/ 3"): every part gets two digits.
  static void cxEditRepo_Text_Hizuke6PropertiesValidate(QVariant& DisplayValue, QString& ErrorText, bool& Error);

  // =========================================================================
  // (Further operations of the data module are added below by their own
  // modules: system definitions, accounting information, registers, ...)
  // =========================================================================

private:
  bool connectCompany(db::Database& ADb, const QString& AStep, const QString& AHostName,
                      const QString& AIBPathDat);
};

// The one data module of the program (created at start-up, nullptr before).
extern TDM* DM;
