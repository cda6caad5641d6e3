// A read-buffered file stream, and trailing text blocks: a UTF-16 text that
// starts with a marker line and is appended after a file's own content (the
// backup files carry their information block this way).
//
// Offsets are 64-bit throughout, so files over 2 GiB work.
#pragma once

#include <cstdint>

#include <QByteArray>
#include <QFile>
#include <QString>

#include "platform/Exceptions.h"

// A file that cannot be opened, read or written, or a read larger than the
// buffer.
class EFileStreamError : public EPlatformError {
 public:
  using EPlatformError::EPlatformError;
};

enum TSeekOrigin : std::uint8_t { soBeginning, soCurrent, soEnd };

// Open modes.
enum TFileOpenMode : std::uint16_t {
  fmOpenRead = 0x0000,
  fmOpenWrite = 0x0001,
  fmOpenReadWrite = 0x0002,
  fmCreate = 0xFF00,
};

class TBufFileStream {
 public:
  // Opens the file (fmCreate creates or empties it) with a read buffer of
  // bufSizeKb kilobytes. Throws EFileStreamError when the file cannot be opened.
  TBufFileStream(const QString& fileName, std::uint16_t mode, std::uint8_t bufSizeKb);
  ~TBufFileStream();
  TBufFileStream(const TBufFileStream&) = delete;
  TBufFileStream& operator=(const TBufFileStream&) = delete;

  // Buffered read of up to count bytes; returns the number read (0 at the
  // end). Throws EFileStreamError when count exceeds the buffer size.
  qint64 Read(void* buffer, qint64 count);
  // Writes at the reader's position, straight to the file; the read buffer is
  // emptied so later reads see what was written.
  qint64 Write(const void* buffer, qint64 count);
  // Moves the position and empties the buffer; returns the new position.
  qint64 Seek(qint64 offset, TSeekOrigin origin);

  qint64 Position() const { return FFilePos; }
  qint64 Size() const { return FFile.size(); }
  int BufSize() const { return FBufSize; }

 private:
  qint64 fill(qint64 at, qint64 max);

  QFile FFile;
  QByteArray FBuf;
  int FBufSize = 0;
  qint64 FBufPos = 0;
  qint64 FBufEnd = 0;
  qint64 FFilePos = 0;
};

// Appends the UTF-16 code units of text (no byte-order mark, no zero) to the
// end of an existing file. Throws EFileStreamError on failure.
void pcAppendUtf16Text(const QString& fileName, const QString& text);

// Looks for the marker in the last 2048 bytes of the file. Returns its byte
// offset in the file, or -1 when it is not there. When the offset is above 0,
// text becomes the block from the marker on (up to a zero unit or the end of
// the bytes read, at most 1024 units); otherwise text stays empty.
qint64 fnFindTailBlock(const QString& fileName, const QString& marker, QString& text);

// text := the trailing block (empty when none). With truncate, a block found
// at an offset above 0 is cut off: the file ends where the marker began.
// Returns false when the file could not be cut (it is then left as it was).
bool fnGetTailBlock(const QString& fileName, const QString& marker, QString& text, bool truncate);
