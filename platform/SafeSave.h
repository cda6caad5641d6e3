// Every file the system writes for someone to read later (INI files, the
// import file, backups, packages, PDFs) goes through this routine: the bytes
// go to a temporary file in the target's folder, every write is checked for
// every byte, the file is flushed and synced to the disk, and only then is it
// renamed over the target. On any failure the temporary file is removed and
// an earlier file of that name stays byte for byte as it was.
//
// A short write is never taken for success: a write that stores fewer bytes
// than asked is continued, and the disk's refusal (full, over quota, over a
// file-size limit) ends the save with ESafeSaveError naming the file and the
// cause.
#pragma once

#include <atomic>

#include <QIODevice>
#include <QString>

#include "platform/Exceptions.h"

// A save failed; the message names the file and the cause ("\r" between
// them), and the earlier file is untouched.
class ESafeSaveError : public EPlatformError {
 public:
  ESafeSaveError(const QString& message, int error) : EPlatformError(message), m_error(error) {}
  // The system error number of the cause (ENOSPC, EFBIG, EACCES ...).
  int error() const { return m_error; }

 private:
  int m_error = 0;
};

// A file being written under a temporary name. It is also a write-only
// QIODevice, so that streaming writers (a PDF writer, an XML stream, a zip
// writer) can write into it; a failed write is remembered and Commit() then
// refuses. Destroying an uncommitted writer removes the temporary file.
class TSafeFileWriter : public QIODevice {
 public:
  explicit TSafeFileWriter(const QString& fileName);
  ~TSafeFileWriter() override;
  TSafeFileWriter(const TSafeFileWriter&) = delete;
  TSafeFileWriter& operator=(const TSafeFileWriter&) = delete;

  // The target file (a symbolic link is followed: its target is replaced).
  const QString& fileName() const { return FFileName; }

  // Creates the temporary file beside the target (with the target's
  // permissions when it exists) and opens the device for writing. Throws
  // ESafeSaveError.
  void Open();
  // Writes all of bytes; throws ESafeSaveError (and the writer is then
  // failed for good).
  void Write(const QByteArray& bytes);
  // Syncs the temporary file and renames it over the target. Throws
  // ESafeSaveError when any earlier write failed or this step fails; the
  // temporary file is then removed.
  void Commit();
  // Gives up: the temporary file is removed and the target left alone.
  void Cancel();

  bool isSequential() const override { return true; }
  void close() override;

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override;

 private:
  [[noreturn]] void fail(int error, const QString& what);
  bool writeAll(const char* data, qint64 size);
  void discard();

  QString FFileName;
  QString FTempName;
  int FFd = -1;
  int FError = 0;  // first failure's errno; 0 while sound
  QString FFailure;
  bool FCommitted = false;
};

// Saves bytes as fileName through TSafeFileWriter. Throws ESafeSaveError.
void SaveFileSafely(const QString& fileName, const QByteArray& bytes);

// Copies source to target through TSafeFileWriter (the target's earlier
// content stays until the whole copy is on the disk). Throws ESafeSaveError;
// an unreadable source names the source.
void CopyFileSafely(const QString& source, const QString& target);

// For tests that need a disk that fills up without a disk: after the given
// number of further bytes written through TSafeFileWriter, writes store only
// what is left and then fail with error (ENOSPC: the disk is full). A
// negative count turns the fault off. Process-wide.
void SetSafeSaveFaultAfter(qint64 bytes, int error);
