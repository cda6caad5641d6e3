// The journal-entry writer of data maintenance: checks an entry against the
// company data's masters and rules and completes it from them (TestSiwake),
// stores, reads, deletes and restores entries, sets sticky notes and memos,
// keeps the per-operator extraction work table and hands out the next group
// and voucher numbers.
//
// Account codes in TSWKREC are the codes the user sees (USERCODE); the writer
// turns them into the internal account codes when it stores an entry.
//
// TransStart is a one-call ownership flag: an operation that finds it set
// starts the transaction when it is not active and commits it at its end
// (rolls back after a failure) and clears the flag. A caller that runs the
// transaction itself leaves it cleared.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "acccalc/AccBalance.h"
#include "common/AccRecord.h"
#include "common/SiwakeTax.h"

namespace db {
class Transaction;
class Query;
class DbError;
}  // namespace db

enum TWriteType { wtInput, wtKousin };

// Which checks TestSiwake applies (the date check always runs).
struct TSiwakeTestItem {
  bool Hizuke = true;
  bool Kamoku = true;
  bool TaxKbn = true;
  bool Kingaku = true;
  bool Tekiyo = true;
  bool KobetuGenka = true;
  bool Syounin = true;
};

enum TNeedItem { niNone, niHojo, niBumon, niHojoBumon };

// One row of the extraction work table.
struct TSiwakeChushutuWorkRec {
  int RecType = 0;
  int OPCODE = 0;
  int SwkRec = 0;
  QString Memo;
};
using PSiwakeChushutuWorkRec = TSiwakeChushutuWorkRec*;

// An entry as typed: the two sides as arrays (0 debit, 1 credit).
struct TInSWKREC {
  QString KCODE[2];
  QString HCODE[2];
  int TCODE[2] = {0, 0};
  Currency ZEIRITU[2];
  int OldRate[2] = {0, 0};
};

// One row of a branch's account list: account, sub-account, department.
struct TKamokuRec {
  TKMKREC KAMOKU;
  THOJREC HOJO;
  TBUMREC BUMON;
  bool HojoUmu = false;   // the account has sub-accounts (first row of the account)
  bool BumonUmu = false;  // the account has departments (first row of the account)
};

// One extra condition of IsHojo: a column of KAMOKU_VIEW and the value it
// must equal (bound, never put into the text).
using TKamokuViewCondition = QPair<QString, QVariant>;

class TSiwakeWrite {
 public:
  TSiwakeWrite();
  virtual ~TSiwakeWrite();
  TSiwakeWrite(const TSiwakeWrite&) = delete;
  TSiwakeWrite& operator=(const TSiwakeWrite&) = delete;

  TWriteType WriteType() const { return FWriteType; }
  void SetWriteType(TWriteType v) { FWriteType = v; }
  bool TransStart() const { return FTransStart; }
  void SetTransStart(bool v) { FTransStart = v; }
  void SetIBTransaction(db::Transaction* v);
  db::Transaction* IBTransaction() const { return FIBTransaction; }
  const QString& SCODE() const { return FSCODE; }
  void SetSCODE(const QString& v) { FSCODE = v; }
  const TBALANCE& KMKREC() const { return FKMKREC; }
  int KamokuCount() const { return FKamokuCount; }
  int KamokuIndex() const { return FKamokuIndex; }
  const TSiwakeTestItem& SiwakeTestItem() const { return FSiwakeTestItem; }
  void SetSiwakeTestItem(const TSiwakeTestItem& v) { FSiwakeTestItem = v; }
  int Nendo() const { return FNendo; }
  void SetNendo(int v) { FNendo = v; }
  int KobetuGenkaCount() const { return FKobetuGenkaCount; }
  int KobetuGenkaIndex() const { return FKobetuGenkaIndex; }

  // --- account list of a branch (SiwakeWrite.cpp) ---
  void ExecuteKamokuList(const QString& ASCODE);
  bool GetKamokuArray(const QString& ASCODE);
  TKamokuRec GetKamokuRecArr(int AIndex) const;
  QString KCodeToUserCode(const QString& AKCODE) const;
  bool GetFindKCODE(const QString& AUC_KCODE);
  bool GetFindHCODE(const QString& AUC_KCODE, const QString& AHCODE);
  bool GetFindBCODE(const QString& AUC_KCODE, const QString& ABCODE);
  bool GetFindKamoku(const QString& AUC_KCODE, const QString& AHCODE, const QString& ABCODE);
  TNeedItem GetNeedItem(const QString& AUC_KCODE);
  bool GetKamokuRec(const QString& ASCODE, const QString& ABCODE, const QString& AHCODE, const QString& AUC_KCODE);
  TNeedItem GetStatusHojoOrBumon(const QString& ASCODE, const QString& AUC_KCODE);
  bool IsHojo(const QString& ASCODE, const QString& AUC_KCODE, const QString& AHCODE,
              const QList<TKamokuViewCondition>& AWhere = {});
  bool IsBumon(const QString& ASCODE, const QString& AUC_KCODE, const QString& ABCODE);

  // --- individual costs ---
  bool GetKobetuGenkaList();
  void ExecuteKobetuGenkaList() { GetKobetuGenkaList(); }
  bool IsKobetuGenkaCode(const QString& AKobetuGenkaCode);
  TComListRec_s GetKobetuGenkaRec(int AIndex) const;
  bool IsYuukoKobetuGenkaSiwake(TSWKREC& ASWKREC) const;

  // --- switches and rate kinds ---
  static void InitSiwakeTestItem(TSiwakeTestItem& AItemRec);
  void SetMasterZeirituKbn(TSWKREC& ASWKREC, TDateTime ABaseHizuke, int ALRKbn, const QString& ASerchKbn);
  void SetMasterZeirituKbn(TInSWKREC& AInSWKREC, TDateTime ABaseHizuke, int ALRKbn, const QString& ASerchKbn);

  // --- the check ---
  bool TestSiwake(TSWKREC& ASWKREC, int& AErrNo, QString& AErrMsg);

  // --- writing and numbering (SiwakeWriteOps.cpp) ---
  static void InitSiwakeRec(TSWKREC& ASWKREC, int AKessan, TDateTime ADt);
  void GetSiwake(TSWKREC& ASWKREC, int ARec, int AReadSiwakeView);
  int PutSiwake(TSWKREC& ASWKREC);
  int DeleteSiwake(int ASwkRec);
  int RestoreSiwake(int ASwkRec);
  int GetSiwakeLinkKubun(int ARec);
  int IsYuukouSiwake(int ARec);
  static QString GetLinkKeyOfKeyName(const QString& ALinkKey, const QString& AKeyName);
  static QString GetLinkKeyOfValue(const QString& ALinkKey, const QString& AKeyName);
  int PutSiwakeFusenInfo(int ASwkRec, int ALinkKbn, int ALinkRec, const QString& ALinkKey, int AKbn, int AFusen);
  int PutSiwakeMemoInfo(int ASwkRec, int ALinkKbn, int ALinkRec, const QString& ALinkKey, int AKbn,
                        const QString& AMemo);
  int AddSiwakeChushutuWork(PSiwakeChushutuWorkRec AWKRec);
  int DeleteSiwakeChushutuWork(PSiwakeChushutuWorkRec AWKRec);
  int GetNextGroupNumber();
  int GetNextDenpyouNumber(int ADataLinkKbn);

  // How often PutSiwake runs its statement again after a lock conflict, and
  // the pause between the tries (events keep flowing).
  static constexpr int LockRetryCount = 10;
  static constexpr int LockRetryWaitMs = 200;

 protected:
  // A prepared statement of the writer's transaction, made once per text.
  db::Query& Sql(const QString& text);
  void BeginOwn();     // starts the transaction when TransStart asks for it
  void CommitOwn();    // commits when TransStart is set, then clears it
  void RollbackOwn();  // rolls back when TransStart is set, then clears it
  void CloseAll();     // closes the open cursors of the writer's statements
  QString ToInternalKCode(const QString& AUserCode);
  QString Msg(int AIndex) const;
  bool CheckSide(TSWKREC& E, const TSWKREC& Stored, bool ACredit, int& AErrNo, QString& AErrMsg);
  int SideRowCount(const QString& ASCODE, const QString& AUC_KCODE, bool AWithoutBumon);
  int PutSiwakeOnce(TSWKREC& ASWKREC);
  int PutSiwakeLinkInfo(const char* AStep, int ASwkRec, int ALinkKbn, int ALinkRec, const QString& ALinkKey,
                        const QString& ASetLine, const QString& AParam, const QVariant& AValue,
                        const QString& AVoucherWhere);
  void FillKamokuRec(TKamokuRec& R, const db::Query& q, bool AWithRates) const;

  TWriteType FWriteType = wtInput;
  bool FTransStart = false;
  db::Transaction* FIBTransaction = nullptr;
  std::map<QString, std::unique_ptr<db::Query>> FIBSQL1;  // the writer's statements by text
  QString FSCODE;
  TBALANCE FKMKREC;
  std::vector<TKamokuRec> FKAMOKUREC;
  QStringList FKamokuIndexList;  // "USERCODE=index" per account
  std::map<QString, int> FKamokuIndexMap;
  bool FKamokuListLoaded = false;
  QString FKamokuListSCODE;
  QString FKamokuListSNAME;  // the branch's name
  int FKamokuCount = 0;
  int FKamokuIndex = 0;
  TSiwakeTestItem FSiwakeTestItem;
  int FNendo = 0;
  std::vector<TComListRec_s> FKobetuGenkaList;
  int FKobetuGenkaCount = 0;
  int FKobetuGenkaIndex = 0;
  std::map<QString, QString> FInternalKCode;  // user code -> internal code
  bool FInternalKCodeLoaded = false;
};
