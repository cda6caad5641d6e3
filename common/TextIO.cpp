#include "common/TextIO.h"

#include <QFileInfo>
#include <QRegularExpression>

#include "common/AccFunction.h"
#include "common/AccRecord.h"
#include "common/FbError.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "platform/SafeSave.h"

namespace {

constexpr qint64 ReadChunk = 64 * 1024;
const QString LockMarker = QStringLiteral(".Lock");

QString FirstField(const QString& line, const QString& separator)
{
  if (separator.isEmpty())
    return line;
  const qsizetype at = line.indexOf(separator);
  return at < 0 ? line : line.left(at);
}

}  // namespace

// ---------------------------------------------------------------------------

bool ReadFileHeadBytes(const QString& path, int count, QByteArray& bytes)
{
  bytes.clear();
  QFileInfo info(path);
  if (path.isEmpty() || !info.exists() || info.isDir())
    return false;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw ETextFileError(QStringLiteral("%1: %2").arg(path, file.errorString()));
  if (count <= 0)
    return true;
  bytes = file.read(count);
  if (file.error() != QFileDevice::NoError)
    throw ETextFileError(QStringLiteral("%1: %2").arg(path, file.errorString()));
  return true;
}

TextEncoding DetectTextEncoding(const QString& path)
{
  QByteArray sample;
  if (!ReadFileHeadBytes(path, TextSampleSize, sample))
    return TextEncoding::Utf8;
  return DetectTextCodePage(sample) == 932 ? TextEncoding::Cp932 : TextEncoding::Utf8;
}

void AssignTextFileDetected(TTextFile& file, const QString& path)
{
  file.Assign(path, DetectTextEncoding(path));
}

// ---------------------------------------------------------------------------

TTextFile::TTextFile() = default;

TTextFile::~TTextFile()
{
  if (FOut)
    FOut->Cancel();
  FFile.close();
}

void TTextFile::Fail(const QString& what, const QString& cause) const
{
  throw ETextFileError(QStringLiteral("%1: %2 (%3)").arg(FFileName, what, cause));
}

void TTextFile::Assign(const QString& path, TextEncoding encoding)
{
  if (FMode != 0) {
    if (FOut)
      FOut->Cancel();
    FOut.reset();
    FFile.close();
    FMode = 0;
  }
  FFileName = path;
  FEncoding = encoding == TextEncoding::Cp932 ? TextEncoding::Cp932 : TextEncoding::Utf8;
  FBuf.clear();
  FPos = 0;
  FAtEnd = false;
  FNeedBreak = false;
}

void TTextFile::Reset()
{
  Assign(FFileName, FEncoding);
  FFile.setFileName(FFileName);
  if (FFileName.isEmpty() || QFileInfo(FFileName).isDir() || !FFile.open(QIODevice::ReadOnly))
    Fail(QStringLiteral("cannot open for reading"),
         FFileName.isEmpty() ? QStringLiteral("no file name") : FFile.errorString());
  FMode = 'R';
}

void TTextFile::Rewrite()
{
  Assign(FFileName, FEncoding);
  auto out = std::make_unique<TSafeFileWriter>(FFileName);
  try {
    out->Open();
  } catch (const ESafeSaveError& e) {
    Fail(QStringLiteral("cannot open for writing"), e.message());
  }
  FOut = std::move(out);
  FMode = 'W';
}

void TTextFile::Append()
{
  Assign(FFileName, FEncoding);
  FFile.setFileName(FFileName);
  if (FFileName.isEmpty() || !QFileInfo(FFileName).isFile())
    Fail(QStringLiteral("cannot open for appending"), QStringLiteral("the file does not exist"));
  if (!FFile.open(QIODevice::ReadWrite))
    Fail(QStringLiteral("cannot open for appending"), FFile.errorString());
  const qint64 size = FFile.size();
  if (size > 0) {
    char last = 0;
    if (!FFile.seek(size - 1) || FFile.read(&last, 1) != 1)
      Fail(QStringLiteral("cannot read the end of the file"), FFile.errorString());
    FNeedBreak = last != '\n' && last != '\r';
  }
  if (!FFile.seek(size))
    Fail(QStringLiteral("cannot open for appending"), FFile.errorString());
  FMode = 'A';
}

bool TTextFile::FillBuffer()
{
  if (FAtEnd)
    return false;
  if (FPos > 0) {
    FBuf.remove(0, FPos);
    FPos = 0;
  }
  const QByteArray more = FFile.read(ReadChunk);
  if (FFile.error() != QFileDevice::NoError)
    Fail(QStringLiteral("cannot read"), FFile.errorString());
  if (more.isEmpty()) {
    FAtEnd = true;
    return false;
  }
  FBuf.append(more);
  return true;
}

bool TTextFile::Eof()
{
  if (FMode != 'R')
    Fail(QStringLiteral("not open for reading"), QStringLiteral("Eof"));
  while (FPos >= FBuf.size()) {
    if (!FillBuffer())
      return true;
  }
  return false;
}

QString TTextFile::ReadLn()
{
  if (FMode != 'R')
    Fail(QStringLiteral("not open for reading"), QStringLiteral("ReadLn"));
  qsizetype scan = FPos;
  for (;;) {
    qsizetype end = -1;
    for (qsizetype i = scan; i < FBuf.size(); ++i) {
      const char c = FBuf.at(i);
      if (c == '\n' || c == '\r') {
        end = i;
        break;
      }
    }
    if (end >= 0) {
      // A CR at the very end of the buffer may be the first half of CR LF.
      if (FBuf.at(end) == '\r' && end + 1 == FBuf.size() && !FAtEnd) {
        const qsizetype offset = end - FPos;
        FillBuffer();
        end = FPos + offset;
      }
      const QByteArray bytes = FBuf.mid(FPos, end - FPos);
      qsizetype next = end + 1;
      if (FBuf.at(end) == '\r' && next < FBuf.size() && FBuf.at(next) == '\n')
        ++next;
      FPos = next;
      return FEncoding == TextEncoding::Cp932 ? fromCp932(bytes) : QString::fromUtf8(bytes);
    }
    const qsizetype offset = FBuf.size() - FPos;
    if (!FillBuffer()) {
      const QByteArray bytes = FBuf.mid(FPos);
      FPos = FBuf.size();
      return FEncoding == TextEncoding::Cp932 ? fromCp932(bytes) : QString::fromUtf8(bytes);
    }
    scan = FPos + offset;
  }
}

void TTextFile::WriteBytes(const QByteArray& bytes)
{
  if (FMode == 'W') {
    try {
      FOut->Write(bytes);
    } catch (const ESafeSaveError& e) {
      Fail(QStringLiteral("cannot write"), e.message());
    }
    return;
  }
  if (FMode != 'A')
    Fail(QStringLiteral("not open for writing"), QStringLiteral("Write"));
  if (FFile.write(bytes) != bytes.size())
    Fail(QStringLiteral("cannot write"), FFile.errorString());
}

void TTextFile::Write(const QString& text)
{
  QByteArray bytes = text.toUtf8();
  if (FNeedBreak && !bytes.isEmpty()) {
    bytes.prepend("\r\n");
    FNeedBreak = false;
  }
  if (!bytes.isEmpty())
    WriteBytes(bytes);
}

void TTextFile::WriteLn(const QString& text)
{
  QByteArray bytes = text.toUtf8();
  if (FNeedBreak)
    bytes.prepend("\r\n");
  FNeedBreak = false;
  bytes.append("\r\n");
  WriteBytes(bytes);
}

void TTextFile::Flush()
{
  if (FMode == 'A' && !FFile.flush())
    Fail(QStringLiteral("cannot write"), FFile.errorString());
}

void TTextFile::Close()
{
  const char mode = FMode;
  FMode = 0;
  FBuf.clear();
  FPos = 0;
  FAtEnd = false;
  FNeedBreak = false;
  if (mode == 'W') {
    std::unique_ptr<TSafeFileWriter> out = std::move(FOut);
    try {
      out->Commit();
    } catch (const ESafeSaveError& e) {
      Fail(QStringLiteral("cannot write"), e.message());
    }
    return;
  }
  if (mode == 'A') {
    const bool flushed = FFile.flush();
    const QString cause = FFile.errorString();
    FFile.close();
    if (!flushed)
      Fail(QStringLiteral("cannot write"), cause);
    return;
  }
  FFile.close();
}

// ---------------------------------------------------------------------------

QStringList SplitFields(const QString& line, const QString& separator)
{
  QStringList pieces;
  if (separator.isEmpty()) {
    if (!line.isEmpty())
      pieces << line;
  } else {
    pieces = line.split(separator);
    // A trailing separator ends the text: no empty last piece.
    if (!pieces.isEmpty() && pieces.last().isEmpty())
      pieces.removeLast();
  }

  const QChar quote = u'"';
  QStringList fields;
  QString acc;
  bool open = false;  // a quoted field is being gathered in acc
  auto put = [&](QString field) { fields << field.remove(quote); };
  for (const QString& piece : pieces) {
    const bool starts = piece.startsWith(quote);
    const bool ends = piece.endsWith(quote);
    if (piece.isEmpty()) {
      if (open)
        acc += separator;  // an empty part inside a quoted field
      else
        put(QString());
    } else if (piece.size() == 1 && starts) {
      if (open) {
        // The quote that closes a field whose text ended with the separator.
        put(acc + piece);
        acc.clear();
        open = false;
      } else {
        acc = piece + separator;
        open = true;
      }
    } else if (starts && !ends) {
      if (open)
        put(acc.chopped(separator.size()));  // an unclosed field before it
      acc = piece + separator;
      open = true;
    } else if (!starts && ends) {
      put(acc + piece);
      acc.clear();
      open = false;
    } else if (!starts && !ends && open) {
      acc += piece + separator;
    } else {
      if (open) {
        put(acc.chopped(separator.size()));
        acc.clear();
        open = false;
      }
      put(piece);
    }
  }
  if (open)
    put(acc.chopped(separator.size()));  // a quote never closed: keep its text
  return fields;
}

// ---------------------------------------------------------------------------

TTextIO::TTextIO() = default;

TTextIO::~TTextIO() = default;

void TTextIO::SetIBTransaction(db::Transaction* value)
{
  FIBSQL1.reset();
  FIBSQL_Siwake2.reset();
  FIBTransaction = value;
  if (value) {
    FIBSQL1 = std::make_unique<db::Query>(*value);
    FIBSQL_Siwake2 = std::make_unique<db::Query>(*value);
  }
}

db::Query& TTextIO::IBSQL1()
{
  if (!FIBSQL1)
    throw db::DbError(QStringLiteral("TTextIO: no transaction set"));
  return *FIBSQL1;
}

db::Query& TTextIO::IBSQL_Siwake2()
{
  if (!FIBSQL_Siwake2)
    throw db::DbError(QStringLiteral("TTextIO: no transaction set"));
  return *FIBSQL_Siwake2;
}

void TTextIO::SetMessageText(const QString& text)
{
  FMessageText = text;
  if (FProgressBox)
    FProgressBox->SetProgressText(text);
  if (FMessageCtl)
    FMessageCtl->SetProgressText(text);
}

bool TTextIO::OpenTextFile(TTextFile& file, const QString& path, char mode)
{
  FFilePath = path;
  switch (mode) {
    case 'R':
      AssignTextFileDetected(file, path);
      file.Reset();
      return true;
    case 'A':
      file.Assign(path, TextEncoding::Utf8);
      file.Append();
      return true;
    case 'W':
      file.Assign(path, TextEncoding::Utf8);
      file.Rewrite();
      if (FWriteBom) {
        file.Write(QString(QChar(0xFEFF)));
        file.Flush();
      }
      return true;
    default:
      return false;
  }
}

void TTextIO::ReadDataLine(TTextFile& file, QString& line)
{
  do {
    line = file.ReadLn();
    const qsizetype bom = line.indexOf(QChar(0xFEFF));
    if (bom >= 0)
      line.remove(bom, 1);
  } while (line.startsWith(QStringLiteral("//")));
}

void TTextIO::WriteTextLine(TTextFile& file, const QString& text)
{
  file.WriteLn(text);
}

bool TTextIO::CloseTextFile(TTextFile& file, char mode)
{
  switch (mode) {
    case 'A':
    case 'W':
      file.Flush();
      file.Close();
      return true;
    case 'R':
      file.Close();
      return true;
    default:
      file.Close();
      return false;
  }
}

bool TTextIO::CheckLocked(const QString& path, const QString& separator)
{
  try {
    TTextFile file;
    OpenTextFile(file, path, 'R');
    bool locked = false;
    QString line;
    while (!file.Eof()) {
      ReadDataLine(file, line);
      const QString trimmed = fnTrim(line);
      if (!trimmed.isEmpty() && fnTrim(FirstField(trimmed, separator)) == LockMarker) {
        locked = true;
        break;
      }
    }
    CloseTextFile(file, 'R');
    return locked;
  } catch (const std::exception&) {
    fnShowErrorDetail(QStringLiteral("ファイルの参照に失敗しました。"), fnCurrentExceptionText(), mtError);
  }
  return false;
}

bool TTextIO::CheckShougou(const QString& path, const QString& separator)
{
  try {
    TTextFile file;
    OpenTextFile(file, path, 'R');
    bool same = false;
    QString line;
    while (!file.Eof()) {
      ReadDataLine(file, line);
      const QString trimmed = fnTrim(line);
      if (!trimmed.isEmpty()) {
        same = FirstField(trimmed, separator) == AccInf.SHOUGOU;
        break;
      }
    }
    CloseTextFile(file, 'R');
    return same;
  } catch (const std::exception&) {
    fnShowErrorDetail(QStringLiteral("ファイルの参照に失敗しました。"), fnCurrentExceptionText(), mtError);
  }
  return false;
}
