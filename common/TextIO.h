// Text files read in their detected encoding and written in UTF-8.
//
// Reading: the first 512 bytes of a file decide. A file is read as CP932
// (Shift-JIS, through iconv "CP932", so vendor characters such as ① and 髙
// survive) only when DetectTextCodePage finds Shift-JIS (932); every other
// file, UTF-16, EUC-JP and ISO-2022-JP included, is read as UTF-8. CR, LF
// and CR LF all end a line.
//
// Writing: always UTF-8, lines ended by CR LF. A file opened for writing
// ('W') is built under a temporary name beside its target and replaces the
// target only when it is closed: a run that fails half-way leaves the earlier
// file as it was. A file opened for appending ('A') whose last line has no
// line break gets one before the first appended text, so appended lines
// always stand on lines of their own.
//
// TTextIO is the base of the journal text import and export: it opens and
// closes text files by mode letter, skips "//" comment lines, splits lines
// into fields, finds the ".Lock" marker of an imported file, tests that a
// file belongs to the open company data, and carries the counters, error
// list and progress text of a run.
#pragma once

#include <memory>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include "platform/AppError.h"
#include "platform/TextCodec.h"

class TSafeFileWriter;
namespace db {
class Transaction;
class Query;
}  // namespace db

// An I/O failure of a text file: the file name and the cause.
class ETextFileError : public EAppError {
 public:
  explicit ETextFileError(const QString& message) : EAppError(message) {}
};

// ---------------------------------------------------------------------------
// Code-page detection (DetectTextCodePage itself lives in platform/TextCodec.h)

// False when the file does not exist; else reads min(file size, count) bytes
// into bytes and returns true. An open or read failure throws ETextFileError.
bool ReadFileHeadBytes(const QString& path, int count, QByteArray& bytes);

// Cp932 when the first 512 bytes of the file detect as 932, else Utf8 (also
// for a missing or empty file). Throws ETextFileError when an existing file
// cannot be read.
TextEncoding DetectTextEncoding(const QString& path);

// ---------------------------------------------------------------------------
// A text file, read line by line or written.
class TTextFile {
 public:
  TTextFile();
  ~TTextFile();  // closes; a file opened for writing and never closed is dropped
  TTextFile(const TTextFile&) = delete;
  TTextFile& operator=(const TTextFile&) = delete;

  // Names the file and the encoding it is read in (Utf8 or Cp932; the BOM
  // forms read as Utf8). Closes whatever was open.
  void Assign(const QString& path, TextEncoding encoding);
  const QString& FileName() const { return FFileName; }
  TextEncoding Encoding() const { return FEncoding; }
  bool IsOpen() const { return FMode != 0; }
  char Mode() const { return FMode; }  // 'R', 'W', 'A' or 0 when closed

  // Opens for reading; throws ETextFileError when the file cannot be opened.
  void Reset();
  // Creates or empties the file (written under a temporary name until Close).
  void Rewrite();
  // Opens an existing file for writing at its end.
  void Append();

  // Reading: true when no further line can be read.
  bool Eof();
  // Reading: the next line without its line break; "" at end of file.
  QString ReadLn();

  // Writing: text as UTF-8; WriteLn adds CR LF.
  void Write(const QString& text);
  void WriteLn(const QString& text);
  void Flush();

  // Ends the use: a 'W' file replaces its target here (throws
  // ETextFileError when that fails, and the target stays as it was).
  void Close();

 private:
  bool FillBuffer();
  void WriteBytes(const QByteArray& bytes);
  [[noreturn]] void Fail(const QString& what, const QString& cause) const;

  QString FFileName;
  TextEncoding FEncoding = TextEncoding::Utf8;
  char FMode = 0;
  QFile FFile;                            // 'R' and 'A'
  std::unique_ptr<TSafeFileWriter> FOut;  // 'W'
  QByteArray FBuf;                        // 'R': bytes read ahead
  qsizetype FPos = 0;
  bool FAtEnd = false;      // 'R': nothing more in the file behind FBuf
  bool FNeedBreak = false;  // 'A': the file's last line has no line break yet
};

// Assigns the file with the encoding DetectTextEncoding finds. Does not open
// it. Throws ETextFileError when an existing file cannot be sampled.
void AssignTextFileDetected(TTextFile& file, const QString& path);

// Splits a line at the separator. A field in double quotes may hold the
// separator: its parts are joined again with the separator. Every double
// quote is removed from the fields. A trailing separator gives no empty last
// field; an empty line gives no field.
QStringList SplitFields(const QString& line, const QString& separator);

// Where a run shows its progress text (a label, the info line of a progress
// box); the screens adapt their widgets to it.
class IProgressText {
 public:
  virtual ~IProgressText() = default;
  virtual void SetProgressText(const QString& text) = 0;
};

// ---------------------------------------------------------------------------
class TTextIO {
 public:
  TTextIO();
  virtual ~TTextIO();
  TTextIO(const TTextIO&) = delete;
  TTextIO& operator=(const TTextIO&) = delete;

  void SetHWD(quintptr value) { FHWD = value; }
  bool TransStart() const { return FTransStart; }
  void SetTransStart(bool value) { FTransStart = value; }
  // Gives both statements this transaction (and its database).
  void SetIBTransaction(db::Transaction* value);
  void SetSCODE(const QString& value) { FSCODE = value; }
  bool LogTxtWrite() const { return FLogTxtWrite; }
  void SetLogTxtWrite(bool value) { FLogTxtWrite = value; }
  const QString& LogTxtPath() const { return FLogTxtPath; }
  const QStringList& LogList() const { return FLogList; }
  int OKCount() const { return FOKCount; }
  int ErrCount() const { return FErrCount; }
  bool Locked() const { return FLocked; }
  bool ShougouOK() const { return FShougouOK; }
  void SetMessageCtl(IProgressText* value) { FMessageCtl = value; }
  void SetProgressBox(IProgressText* value) { FProgressBox = value; }
  void SetSeparator(const QString& value) { FSeparator = value; }
  int LogFormatType() const { return FLogFormatType; }
  void SetLogFormatType(int value) { FLogFormatType = value; }
  bool WriteBom() const { return FWriteBom; }
  void SetWriteBom(bool value) { FWriteBom = value; }
  const QString& FilePath() const { return FFilePath; }

  // Mode 'R': assigned as detected and opened; 'A': UTF-8, appended to;
  // 'W': UTF-8, rewritten, starting with EF BB BF when WriteBom is set. Any
  // other mode returns false without opening. I/O failures throw.
  bool OpenTextFile(TTextFile& file, const QString& path, char mode);
  // Reads lines until one does not begin with "//" (the first U+FEFF of each
  // line is removed before the test); "" at end of file.
  void ReadDataLine(TTextFile& file, QString& line);
  void WriteTextLine(TTextFile& file, const QString& text);
  // 'A' and 'W' flush and close, 'R' closes: true. Any other mode closes and
  // gives false.
  bool CloseTextFile(TTextFile& file, char mode);

  // True when a data line whose first field is ".Lock" stands anywhere in
  // the file. A file that cannot be read is reported and counts as not locked.
  bool CheckLocked(const QString& path, const QString& separator);
  // True when the first field of the first non-blank data line is the open
  // company's name. A file that cannot be read is reported and counts as not
  // matching.
  bool CheckShougou(const QString& path, const QString& separator);

 protected:
  // The statements of a run; a db error when no transaction is set.
  db::Query& IBSQL1();
  db::Query& IBSQL_Siwake2();
  // Sets the progress text and shows it where it is wanted.
  void SetMessageText(const QString& text);

  quintptr FHWD = 0;
  bool FTransStart = false;
  db::Transaction* FIBTransaction = nullptr;
  std::unique_ptr<db::Query> FIBSQL1;
  std::unique_ptr<db::Query> FIBSQL_Siwake2;
  QString FSCODE;
  QString FCurrentDir;
  bool FLogTxtWrite = false;
  QString FLogTxtPath;
  QStringList FLogList;
  int FOKCount = 0;
  int FErrCount = 0;
  bool FLocked = false;
  bool FShougouOK = false;
  QString FMessageText;
  IProgressText* FMessageCtl = nullptr;
  IProgressText* FProgressBox = nullptr;
  QString FSeparator = QStringLiteral(",");
  int FLogFormatType = 0;
  QString FFilePath;
  bool FWriteBom = false;
};
