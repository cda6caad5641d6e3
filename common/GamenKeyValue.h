// The screen values store: one text per operator and dialog in the system
// database table STYLECOLOR, under the key "020-" followed by the dialog's
// name (upper case, at most 40 characters). The base dialog form restores a
// dialog's last input with ValueFukugen and saves it with ValueHozon.
//
// Errors never reach the caller: a failed restore gives an empty text, a
// failed save leaves the table as it was. They are reported (common error
// handler or error box) when the operation started the transaction itself.
#pragma once

#include <array>

#include <QString>

namespace db {
class Transaction;
}

// Stores AText as the row (AOPCODE, AKey) of STYLECOLOR in ATransaction:
// updates the row when it exists, else inserts it (colour columns -1).
// Errors are the caller's.
void pcStoreStyleColorText(db::Transaction& ATransaction, int AOPCODE, const QString& AKey, const QString& AText);

// The colour columns of a STYLECOLOR row in the order LINECOLOR1 ...
// LINECOLOR5, NETCOLOR1, NETCOLOR2 (-1: not set).
using TStyleColorColumns = std::array<int, 7>;
// Stores the row (AOPCODE, AKey) with its colours and text the same way.
void pcStoreStyleColorRow(db::Transaction& ATransaction, int AOPCODE, const QString& AKey,
                          const TStyleColorColumns& AColors, const QString& AText);

class TGamenKeyValue {
 public:
  // Uses ATransaction, or the data module's system-database transaction.
  explicit TGamenKeyValue(db::Transaction* ATransaction = nullptr);

  void SetTransaction(db::Transaction* ATransaction) { FTransaction = ATransaction; }
  // The operator's login code (set at creation from SystemDef.OPCODE).
  void SetOPCODE(int AValue) { FOPCODE = AValue; }
  QString ItemValue() const { return FItemValue; }
  void Clear() { FItemValue.clear(); }

  // The key of an identifier: "020-" + identifier, upper case, cut to 40
  // characters (a surrogate pair counts once), trimmed.
  static QString fnKeyName(const QString& AIdentifier);

  QString ValueFukugen(const QString& ARecordID);
  void ValueHozon(const QString& ARecordID, const QString& AValue);
  // Removes every row of the table (all operators, all key forms).
  void ClearRecord();

  QString LastKey() const { return FKeyName; }

 private:
  db::Transaction* transaction() const;

  db::Transaction* FTransaction = nullptr;
  int FOPCODE = 0;
  QString FKeyName;
  QString FItemValue;
};
