#pragma once
#include <QString>

// A named mutex across the processes of one user: a lock file
// "<name>.lock" in RuntimeDir() held with flock(LOCK_EX). The lock goes
// with the process (closing the descriptor or dying releases it), so a
// crashed holder never leaves a stale mutex behind.
class NamedMutex {
 public:
  // Does not take the lock yet.
  explicit NamedMutex(const QString& name);
  ~NamedMutex();  // releases when held
  NamedMutex(const NamedMutex&) = delete;
  NamedMutex& operator=(const NamedMutex&) = delete;

  const QString& name() const { return m_name; }

  // Takes the lock without waiting; false when another process (or
  // another NamedMutex object) holds it or the lock file cannot be opened
  // (errorString() tells which).
  bool tryLock();
  bool isHeld() const { return m_fd >= 0; }
  void release();
  QString errorString() const { return m_error; }

  // True when someone else holds the mutex now. Never creates anything
  // that stays: a missing lock file means "not held".
  static bool Exists(const QString& name);

  // The per-user runtime folder: $XDG_RUNTIME_DIR/rendo when that variable
  // names an existing folder, else /tmp/rendo-<uid>; created (mode 0700)
  // on first use.
  static QString RuntimeDir();
  // The lock file of a name (characters other than letters, digits, '-',
  // '_' and '.' are written as %XX so any name maps to one file).
  static QString LockFilePath(const QString& name);

 private:
  QString m_name;
  int m_fd = -1;
  QString m_error;
};
