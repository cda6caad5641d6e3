#pragma once
#include <vector>

#include <QString>
#include <QStringList>

#include "platform/Exceptions.h"
#include "platform/TextCodec.h"

// Reading or writing an INI file failed (unreadable file, malformed
// encoding, write error). The message names the file.
class EIniFileError : public EPlatformError {
 public:
  using EPlatformError::EPlatformError;
};

// An INI file held in memory, with Windows INI semantics: section and key
// names compare without regard to letter case; values are kept as they
// stand (no quoting or escaping; blanks around names and values are
// trimmed); the first of duplicate keys wins on reading. Sections and keys
// keep their file order; lines that are neither section headers nor
// key=value (comments starting with ';', blank lines) are kept on rewrite.
//
// The constructor reads the file when it exists (UTF-16 with BOM, UTF-8
// with or without BOM, or CP932, as detected); a missing file starts empty.
// An unreadable file or undecodable bytes throw EIniFileError.
// Writes change memory only; UpdateFile() (or every write, with
// autoFlush) writes the whole file to a temporary name in the same folder
// and renames it into place, in writeEncoding().
class IniFile {
 public:
  enum class Encoding { Utf16LeBom, Utf8, Utf8Bom, Cp932 };

  explicit IniFile(const QString& fileName, Encoding writeEncoding = Encoding::Utf16LeBom, bool autoFlush = false);
  // A file built from bytes already read (no file behind it until
  // setFileName()); throws EIniFileError on undecodable bytes.
  static IniFile fromBytes(const QByteArray& bytes, Encoding writeEncoding = Encoding::Utf16LeBom);

  const QString& fileName() const { return m_fileName; }
  void setFileName(const QString& fileName) { m_fileName = fileName; }
  Encoding writeEncoding() const { return m_writeEncoding; }
  void setWriteEncoding(Encoding e) { m_writeEncoding = e; }
  // The encoding the file was read in (writeEncoding() when it did not exist).
  Encoding readEncoding() const { return m_readEncoding; }
  bool autoFlush() const { return m_autoFlush; }
  void setAutoFlush(bool on) { m_autoFlush = on; }

  QString ReadString(const QString& section, const QString& key, const QString& def = {}) const;
  // Decimal or "$hex"/"0x" integer; def when missing or not a number.
  int ReadInteger(const QString& section, const QString& key, int def = 0) const;
  // "0" is false, any other integer true; def when missing or not a number.
  bool ReadBool(const QString& section, const QString& key, bool def = false) const;
  // Decimal number with "." as the point; def when missing or unreadable.
  double ReadFloat(const QString& section, const QString& key, double def = 0) const;

  void WriteString(const QString& section, const QString& key, const QString& value);
  void WriteInteger(const QString& section, const QString& key, int value);
  void WriteBool(const QString& section, const QString& key, bool value);  // "1"/"0"
  void WriteFloat(const QString& section, const QString& key, double value);

  bool SectionExists(const QString& section) const;
  bool ValueExists(const QString& section, const QString& key) const;
  // Key names of a section in file order (empty when missing).
  QStringList ReadSection(const QString& section) const;
  QStringList ReadSections() const;
  // "key=value" lines of a section.
  QStringList ReadSectionValues(const QString& section) const;
  void EraseSection(const QString& section);
  void DeleteKey(const QString& section, const QString& key);
  void Clear();

  // Writes the whole file (temporary name + rename); throws EIniFileError.
  void UpdateFile();
  // The bytes UpdateFile would write.
  QByteArray toBytes() const;
  // Text form ("\r\n" line ends) of the whole file.
  QString toText() const;

 private:
  struct Entry {
    QString key;
    QString value;
    bool isKey;
    QString raw;
  };
  struct Section {
    QString name;
    std::vector<Entry> entries;
  };

  IniFile() = default;
  void parse(const QString& text);
  static void trimTrailingBlanks(Section& s);
  void changed();
  const Section* findSection(const QString& name) const;
  Section* findSection(const QString& name);
  static const Entry* findKey(const Section& s, const QString& key);

  QString m_fileName;
  Encoding m_writeEncoding = Encoding::Utf16LeBom;
  Encoding m_readEncoding = Encoding::Utf16LeBom;
  bool m_autoFlush = false;
  std::vector<Entry> m_preamble;  // lines before the first section
  std::vector<Section> m_sections;
};
