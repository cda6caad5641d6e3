#pragma once
// Internal to the database layer: access to the Firebird OO API, status
// checking (the RAII holders are in db/FbRef.h). Not for use outside db/.
#include <firebird/Interface.h>

#include <QByteArray>
#include <QString>

#include "db/DbError.h"
#include "db/FbRef.h"

namespace db::fb {

// The master interface of the client library (started on first use).
Firebird::IMaster* master();
Firebird::IUtil* util();

// A status object for one call sequence; check() turns an error state into a DbError.
class Status {
 public:
  Status();
  Status(const Status&) = delete;
  Status& operator=(const Status&) = delete;
  Firebird::CheckStatusWrapper* operator&() { return &m_wrapper; }
  Firebird::CheckStatusWrapper* get() { return &m_wrapper; }
  bool failed() const;
  // Throws DbError when the last call failed; clears the status otherwise.
  void check();
  void clear() { m_wrapper.clearException(); }
  DbError error() const;

 private:
  Disposable<Firebird::IStatus> m_status;
  Firebird::CheckStatusWrapper m_wrapper;
};

// Builds a DbError from a status vector.
DbError errorFromStatus(Firebird::IStatus* status);

// Character set ids of Firebird.
enum Charset : unsigned { CsNone = 0, CsOctets = 1, CsAscii = 2, CsUnicodeFss = 3, CsUtf8 = 4, CsSjis = 5 };

// Text bytes of a column in the given character set to QString.
QString decodeText(const QByteArray& bytes, unsigned charset);

}  // namespace db::fb
