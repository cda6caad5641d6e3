#pragma once
// Where forms keep their position and size per operator: the interface the
// base form uses, and the store of the system database's FORMRSIZE table.

#include <QRect>
#include <QString>

namespace db {
class Transaction;
}

// Tests may use a store of their own.
class IFormSizeStore {
 public:
  virtual ~IFormSizeStore() = default;
  // The stored rectangle (left, top, width, height); false when none.
  virtual bool GetFormRect(int AOpCode, const QString& AFormName, QRect& ARect) = 0;
  // Creates the row (with the rectangle's size as its creation size);
  // AStep names the operation for error reports.
  virtual void InsertFormRect(int AOpCode, const QString& AFormName, const QRect& ARect, const QString& AStep) = 0;
  virtual void UpdateFormRect(int AOpCode, const QString& AFormName, const QRect& ARect) = 0;
  virtual int CountFormRect(int AOpCode, const QString& AFormName) = 0;
};

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
