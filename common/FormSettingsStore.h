// The company-database statements of the base form: the open-process
// history (OPINF), the company settings (ACCREG), the branch settings
// (SISETREG) and the account look-ups of ACCDEF2. Texts go in and out as
// stored; the typed conversions are the caller's.
#pragma once

#include <optional>

#include <QString>
#include <QStringList>
#include <QVariant>

namespace db {
class Transaction;
}

class TFormSettingsStore {
 public:
  // ATransaction: the form's transaction on the company database. Each
  // operation starts it only when it is not active and ends only what it
  // started.
  explicit TFormSettingsStore(db::Transaction& ATransaction);

  // History of opened processes: OPINF_DELETE closes the operator's earlier
  // entry of AJobName with the end text of AState (0 "エラー終了" while the
  // process is open, 1 "正常終了", others none); AState 0 then records the
  // opening. A database error is rolled back, reported under
  // "TBSDI.PutProcRirekiInfo" and raised.
  void PutProcRireki(int AOpCode, const QString& AJobName, const QString& APcName, int AState);

  // ACCREG: the codes and texts of one group, in the table's order.
  void ReadAccRegGroup(const QString& AGroup, QStringList& ACodes, QStringList& ATexts);
  // The text of a setting; a missing one is created with ADefault (and its
  // type word AType) and ADefault is the answer. Database errors are raised.
  QString AccRegText(const QString& AGroup, const QString& ACode, const QString& AType, const QString& ADefault);
  // Sets the text of an existing setting (a null AText stores null).
  // Database errors are raised.
  void PutAccRegText(const QString& AGroup, const QString& ACode, const QVariant& AText);

  // SISETREG: the text of a branch setting; a missing one is created with
  // ADefault. A database error is reported under "TBSDI.fnGetSisetuItem"
  // and gives nothing.
  std::optional<QString> SisetuText(const QString& ASCode, const QString& AGroup, const QString& ACode,
                                    const QString& AType, const QString& ADefault);
  // Sets the text of an existing branch setting (a null AText stores null).
  // A database error is rolled back and reported under
  // "TBSDI.pcPutSisetuItem"; false then.
  bool PutSisetuText(const QString& ASCode, const QString& AGroup, const QString& ACode, const QVariant& AText);

  // ACCDEF2: the system code of a name and the name of a system code (""
  // when none). Database errors are raised; the name look-up reports them
  // under "fnGetSysKname" first.
  QString SysKCODE(const QString& AName);
  QString SysKNAME(const QString& ACode);

 private:
  db::Transaction& FTransaction;
};
