// Small database helpers shared by the data module and the common library.
#pragma once

#include <QString>

#include "db/Transaction.h"
#include "platform/AppError.h"

// Uses a transaction the way every database operation of the program does:
// starts it only when none is active, and commits or rolls back only the
// one it started. A transaction this scope started and did not commit is
// rolled back when the scope ends (also on an exception).
class TOwnTransaction {
 public:
  explicit TOwnTransaction(db::Transaction& tr) : FTr(tr), FStarted(tr.startIfNeeded()) {}
  ~TOwnTransaction() { Rollback(); }
  TOwnTransaction(const TOwnTransaction&) = delete;
  TOwnTransaction& operator=(const TOwnTransaction&) = delete;

  bool Started() const { return FStarted; }
  // Commits when this scope started the transaction.
  void Commit()
  {
    if (FStarted && FTr.inTransaction())
      FTr.commit();
    FStarted = false;
  }
  // Rolls back when this scope started the transaction; never throws.
  void Rollback() noexcept
  {
    if (FStarted && FTr.inTransaction()) {
      try {
        FTr.rollback();
      } catch (...) {
        pcLogDroppedError("TOwnTransaction.Rollback");
      }
    }
    FStarted = false;
  }

  // After a failed read: ends what this scope started with a commit, or a
  // rollback when the commit fails; never throws.
  void EndAfterError() noexcept
  {
    try {
      Commit();
    } catch (...) {
      pcLogDroppedError("TOwnTransaction.EndAfterError");
      Rollback();
    }
  }
  // Commits what this scope started; a transaction the caller had open is
  // committed with its context kept.
  void CommitOrRetain()
  {
    if (FStarted)
      Commit();
    else if (FTr.inTransaction())
      FTr.commitRetaining();
  }

 private:
  db::Transaction& FTr;
  bool FStarted;
};

// True for a plain SQL identifier (a letter or "_", then letters, digits,
// "_" or "$"; at most 63 characters). Table, column and generator names are
// checked with it before they are formatted into a statement.
bool fnIsPlainIdentifier(const QString& name);

// Throws db::DbError (gdscode 0) unless name is a plain identifier.
void pcRequirePlainIdentifier(const QString& name);
