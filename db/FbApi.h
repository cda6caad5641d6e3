#pragma once
// Internal to the database layer: access to the Firebird OO API, status
// checking and small RAII holders. Not for use outside db/.
#include <firebird/Interface.h>

#include <QByteArray>
#include <QString>

#include "db/DbError.h"

namespace db::fb {

// The master interface of the client library (started on first use).
Firebird::IMaster* master();
Firebird::IUtil* util();

// A status object for one call sequence; check() turns an error state into a DbError.
class Status {
 public:
  Status();
  ~Status();
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
  Firebird::IStatus* m_status;
  Firebird::CheckStatusWrapper m_wrapper;
};

// Builds a DbError from a status vector.
DbError errorFromStatus(Firebird::IStatus* status);

// Releases a reference-counted interface when it goes out of scope.
template <typename T>
class Ref {
 public:
  Ref() = default;
  explicit Ref(T* p) : m_p(p) {}
  ~Ref() { reset(); }
  Ref(const Ref&) = delete;
  Ref& operator=(const Ref&) = delete;
  T* get() const { return m_p; }
  T* operator->() const { return m_p; }
  explicit operator bool() const { return m_p != nullptr; }
  void reset(T* p = nullptr)
  {
    if (m_p)
      m_p->release();
    m_p = p;
  }
  T* take()
  {
    T* p = m_p;
    m_p = nullptr;
    return p;
  }

 private:
  T* m_p = nullptr;
};

// Disposes a disposable interface (IXpbBuilder) when it goes out of scope.
template <typename T>
class Disposable {
 public:
  explicit Disposable(T* p) : m_p(p) {}
  ~Disposable()
  {
    if (m_p)
      m_p->dispose();
  }
  Disposable(const Disposable&) = delete;
  Disposable& operator=(const Disposable&) = delete;
  T* operator->() const { return m_p; }
  T* get() const { return m_p; }

 private:
  T* m_p;
};

// Character set ids of Firebird.
enum Charset : unsigned { CsNone = 0, CsOctets = 1, CsAscii = 2, CsUnicodeFss = 3, CsUtf8 = 4, CsSjis = 5 };

// Text bytes of a column in the given character set to QString.
QString decodeText(const QByteArray& bytes, unsigned charset);

}  // namespace db::fb
