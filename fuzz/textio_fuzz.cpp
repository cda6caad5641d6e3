// The text reader: code-page detection, line reading with any line ends,
// comment skipping, the ".Lock" and company tests and field splitting, over
// a file holding the input. Nothing may crash, hang or read outside a buffer.
#include <cstddef>
#include <cstdint>

#include <QFile>
#include <QTemporaryDir>

#include "common/TextIO.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  static QTemporaryDir dir;
  const QByteArray in(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  DetectTextCodePage(in);
  const QString path = dir.filePath(QStringLiteral("in.txt"));
  {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(in) != in.size())
      return 0;
  }
  TTextIO io;
  TTextFile file;
  io.OpenTextFile(file, path, 'R');
  QString line;
  while (!file.Eof()) {
    io.ReadDataLine(file, line);
    SplitFields(line, QStringLiteral("\t"));
    SplitFields(line, QStringLiteral(","));
    SplitFields(line, QStringLiteral("\"\""));
  }
  io.CloseTextFile(file, 'R');
  io.CheckLocked(path, QStringLiteral("\t"));
  io.CheckShougou(path, QStringLiteral(","));
  return 0;
}
