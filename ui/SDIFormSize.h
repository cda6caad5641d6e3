#pragma once
// Form sizes kept per operator in the system database's FORMRSIZE table.

#include "ui/SDI.h"

namespace db {
class Transaction;
}

class TFormSizeStoreDB : public IFormSizeStore {
 public:
  // ATransaction: the system database's transaction (the data module's
  // IBTransactionDEF); each operation starts it only when it is not
  // active and ends only what it started.
  explicit TFormSizeStoreDB(db::Transaction& ATransaction);

  // A server error is reported through the common database error handler
  // under the operation's step name and rolled back; the form keeps its
  // current size. Other errors are rolled back and raised again.
  bool GetFormRect(int AOpCode, const QString& AFormName, QRect& ARect) override;
  void InsertFormRect(int AOpCode, const QString& AFormName, const QRect& ARect, const QString& AStep) override;
  void UpdateFormRect(int AOpCode, const QString& AFormName, const QRect& ARect) override;
  int CountFormRect(int AOpCode, const QString& AFormName) override;

 private:
  db::Transaction& FTransaction;
};
