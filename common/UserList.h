// TUserList: the operators of one operator group (codes from 10 up), read
// from the system database, with the maintenance of operators and of their
// branch rights, and the operator settings file that saves and restores the
// whole operator set-up (level names, menu and process rights, operators and
// their display settings).
//
// Operators live in the system database (OPERATOR, LEVELNAME, JOBCONTROL,
// JOBCONTROL2, SYSDEF); an operator's branches and default branch live in the
// open company database (OPLICENSE, OPDEFSISETU), keyed by the login code
// group x 10000 + operator code. The list's own transaction spans both
// databases (read_committed, rec_version, nowait), so a change of an operator
// and of its branch rights is committed or rolled back as one.
//
// Every operation starts the transaction of its statement only when that
// transaction is not active and ends only a transaction it started itself.
#pragma once

#include <memory>
#include <vector>

#include <QString>
#include <QStringList>

namespace db {
class Database;
class Query;
class Transaction;
}  // namespace db

struct TUserListRec {
  int GroupID = 0;
  int CODE = 0;  // 0 for the top item
  QString NAME;
  QString Password;
  int Level = 0;  // 9 for the top item
  QString LevelName;
  bool Accountant = false;  // accounting-office operator
  bool EasyMenu = false;
  bool SitenSettei = false;
  QStringList UseSiten;  // branches of OPLICENSE, ascending (GetSiyouSiten)
  QString DefSiten;      // branch of OPDEFSISETU (GetSiyouSiten)
  bool MyNumberAdm = false;
  bool SyouninsyaKbn = false;  // approver
};

class TUserList {
 public:
  // On the data module's system and company database connections.
  TUserList();
  // On the given connections; the company database may be absent.
  TUserList(db::Database& ASystemDb, db::Database* ACompanyDb);
  ~TUserList();
  TUserList(const TUserList&) = delete;
  TUserList& operator=(const TUserList&) = delete;

  QString TopItem() const { return FTopItem; }
  void SetTopItem(const QString& AValue) { FTopItem = AValue; }
  int GroupID() const { return FGroupID; }
  void SetGroupID(int AValue) { FGroupID = AValue; }
  bool UseFilterCombo() const { return FUseFilterCombo; }
  void SetUseFilterCombo(bool AValue) { FUseFilterCombo = AValue; }
  bool Syouninsya() const { return FSyouninsya; }
  void SetSyouninsya(bool AValue) { FSyouninsya = AValue; }

  int ItemCount() const { return int(FItems.size()); }
  QString ItemStrings() const { return FItems.join(QLatin1Char('\n')); }
  QStringList Items() const { return FItems; }
  const std::vector<TUserListRec>& Records() const { return FRecs; }

  // ADBSpace -1: both statements back on the list's own transaction; 0: the
  // system-database statement runs in ATransaction; any other value: the
  // company-database statement does.
  void SetTransaction(db::Transaction* ATransaction, int ADBSpace);
  // The list's own transaction over the system and company databases.
  db::Transaction& OwnTransaction() const { return *FOwnTr; }

  void Execute();
  void Clear();

  QString ItemGetter(int AIndex) const;
  int ItemGetterCode(int AIndex) const;
  int ItemGetterOpCode(int AIndex) const;  // group x 10000 + code
  QString ItemGetterName(int AIndex) const;
  // Index of the first record with the code (the top item has 0), else -1.
  int GetListIndex(int ACode) const;

  void InitUserInfo(TUserListRec& ARec) const;
  TUserListRec GetUserInfo(int ACode) const;
  // Fills UseSiten and DefSiten of the operator's record from the company
  // database. Errors are raised to the caller (with a message first when
  // the transaction was started here).
  void GetSiyouSiten(int ACode);

  bool InsertUser(const TUserListRec& ARec);
  bool UpdateUser(int AOldCode, const TUserListRec& ARec);
  bool DeleteUser(int ACode);

  // Writes the operator settings file (UTF-8 with byte-order mark, CR LF).
  bool BackupRecored(const QString& AFileName);
  // Reads it back into the list's group; AOpCode is the restoring
  // operator's code, whose own operator and settings rows stay. A file that
  // cannot be read raises EPlatformError before any table is touched.
  bool RestoreRecored(const QString& AFileName, int AOpCode);

  // One text field of the operator settings file: between double quotes,
  // a double quote inside doubled.
  static QString QuoteField(const QString& AText);
  // The records of an operator settings file's text, each split into its
  // items: a quoted field may hold commas, line breaks and doubled quotes;
  // an empty line gives an empty record.
  static std::vector<QStringList> SplitSettingsText(const QString& AText);

 private:
  void add(const TUserListRec& ARec);
  bool inRange(int i) const { return i >= 0 && i < int(FRecs.size()); }
  int loginCode(int ACode) const { return FGroupID * 10000 + ACode; }
  void readList();
  bool restricted(const TUserListRec& ARec) const { return !ARec.Accountant && ARec.Level != 9; }
  void insertSiyouSiten(int ACode, const TUserListRec& ARec);
  void deleteSiyouSiten(int ACode);
  void bindUser(db::Query& AQuery, const TUserListRec& ARec) const;
  QStringList backupLines();
  void restoreRecords(const std::vector<QStringList>& ARecords, int AOpCode, bool& AOwnFound, QStringList& AOwnLine);

  db::Database* FSystemDb;
  db::Database* FCompanyDb;
  std::unique_ptr<db::Transaction> FOwnTr;
  std::unique_ptr<db::Query> FSysQ;
  std::unique_ptr<db::Query> FDatQ;
  std::vector<TUserListRec> FRecs;
  QStringList FItems;
  QString FTopItem;
  int FGroupID = 0;
  bool FUseFilterCombo = false;
  bool FSyouninsya = false;
};
