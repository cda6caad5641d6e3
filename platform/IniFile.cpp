#include "platform/IniFile.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>

#include "platform/Format.h"
#include "platform/SafeSave.h"

namespace {

bool isUtf8(QByteArrayView bytes)
{
  bool ok = false;
  (void)decodeText(bytes.toByteArray(), TextEncoding::Utf8, &ok);
  return ok;
}

QString describe(IniFile::Encoding e)
{
  switch (e) {
    case IniFile::Encoding::Utf16LeBom:
      return QStringLiteral("UTF-16LE");
    case IniFile::Encoding::Utf8:
      return QStringLiteral("UTF-8");
    case IniFile::Encoding::Utf8Bom:
      return QStringLiteral("UTF-8 with BOM");
    case IniFile::Encoding::Cp932:
      return QStringLiteral("CP932");
  }
  return {};
}

TextEncoding toTextEncoding(IniFile::Encoding e)
{
  switch (e) {
    case IniFile::Encoding::Utf16LeBom:
      return TextEncoding::Utf16LeBom;
    case IniFile::Encoding::Utf8:
      return TextEncoding::Utf8;
    case IniFile::Encoding::Utf8Bom:
      return TextEncoding::Utf8Bom;
    case IniFile::Encoding::Cp932:
      return TextEncoding::Cp932;
  }
  return TextEncoding::Utf8;
}

// Decodes the bytes of an INI file: BOMs first, then UTF-8 when the bytes
// are valid UTF-8, then CP932. Throws on anything else.
QString decodeIni(const QByteArray& bytes, const QString& name, IniFile::Encoding& found)
{
  bool ok = false;
  QString text;
  if (bytes.startsWith("\xFF\xFE")) {
    text = decodeText(bytes, TextEncoding::Utf16LeBom, &ok);
    found = IniFile::Encoding::Utf16LeBom;
  } else if (bytes.startsWith("\xFE\xFF")) {
    // UTF-16 big-endian: read it, write it back little-endian.
    QByteArray swapped = bytes.mid(2);
    for (qsizetype i = 0; i + 1 < swapped.size(); i += 2)
      std::swap(swapped[i], swapped[i + 1]);
    text = decodeText(swapped, TextEncoding::Utf16LeBom, &ok);
    ok = ok && bytes.size() % 2 == 0;
    found = IniFile::Encoding::Utf16LeBom;
  } else if (bytes.startsWith("\xEF\xBB\xBF")) {
    text = decodeText(bytes, TextEncoding::Utf8Bom, &ok);
    found = IniFile::Encoding::Utf8Bom;
  } else if (bytes.contains('\0')) {
    ok = false;  // UTF-16 without a byte-order mark or binary data
  } else if (isUtf8(bytes)) {
    text = decodeText(bytes, TextEncoding::Utf8, &ok);
    found = IniFile::Encoding::Utf8;
  } else {
    text = fromCp932(bytes, &ok);
    found = IniFile::Encoding::Cp932;
  }
  if (!ok)
    throw EIniFileError(
        QStringLiteral("設定ファイルを読み込めません: %1\r"
                       "UTF-16・UTF-8・Shift_JIS のどのテキストとしても読めません（壊れている可能性があります）。")
            .arg(name));
  return text;
}

bool nameIs(const QString& a, const QString& b)
{
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

void checkName(const QString& what, const QString& name)
{
  if (name.contains(u'\r') || name.contains(u'\n') || name.contains(u'\0'))
    throw EIniFileError(QStringLiteral("INI %1 \"%2\" contains a line break").arg(what, name));
}

}  // namespace

IniFile::IniFile(const QString& fileName, Encoding writeEncoding, bool autoFlush)
    : m_fileName(fileName), m_writeEncoding(writeEncoding), m_readEncoding(writeEncoding), m_autoFlush(autoFlush)
{
  // Only a file that is not there starts empty; a folder that cannot be
  // searched is an error, not an empty file.
  struct stat st {};
  if (::stat(QFile::encodeName(fileName).constData(), &st) != 0) {
    const int err = errno;
    if (err == ENOENT || err == ENOTDIR)
      return;
    throw EIniFileError(QStringLiteral("設定ファイルを読み込めません: %1\r%2")
                            .arg(fileName, QString::fromLocal8Bit(std::strerror(err))));
  }
  if (S_ISDIR(st.st_mode))
    throw EIniFileError(
        QStringLiteral("設定ファイルを読み込めません: %1\r同じ名前のフォルダがあります。").arg(fileName));
  QFile f(fileName);
  if (!f.open(QIODevice::ReadOnly))
    throw EIniFileError(QStringLiteral("設定ファイルを読み込めません: %1\r%2").arg(fileName, f.errorString()));
  const QByteArray bytes = f.readAll();
  if (f.error() != QFileDevice::NoError)
    throw EIniFileError(QStringLiteral("設定ファイルを読み込めません: %1\r%2").arg(fileName, f.errorString()));
  parse(decodeIni(bytes, fileName, m_readEncoding));
}

IniFile IniFile::fromBytes(const QByteArray& bytes, Encoding writeEncoding)
{
  IniFile ini;
  ini.m_writeEncoding = writeEncoding;
  ini.m_readEncoding = writeEncoding;
  ini.parse(decodeIni(bytes, QStringLiteral("(memory)"), ini.m_readEncoding));
  return ini;
}

// Blank lines at a section's end are layout; the writer puts one back.
void IniFile::trimTrailingBlanks(Section& s)
{
  while (!s.entries.empty() && !s.entries.back().isKey && s.entries.back().raw.trimmed().isEmpty())
    s.entries.pop_back();
}

void IniFile::parse(const QString& text)
{
  m_preamble.clear();
  m_sections.clear();
  Section* current = nullptr;
  QString norm = text;
  norm.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  norm.replace(u'\r', u'\n');
  const QStringList lines = norm.split(u'\n');
  for (qsizetype li = 0; li < lines.size(); ++li) {
    const QString& line = lines[li];
    if (li == lines.size() - 1 && line.isEmpty())
      break;  // the final line break
    const QString t = line.trimmed();
    if (t.startsWith(u'[')) {
      if (current)
        trimTrailingBlanks(*current);
      const qsizetype close = t.indexOf(u']');
      const QString name = (close > 0 ? t.mid(1, close - 1) : t.mid(1)).trimmed();
      current = findSection(name);
      if (!current) {
        m_sections.push_back(Section{name, {}});
        current = &m_sections.back();
      }
      continue;
    }
    Entry e;
    e.raw = line;
    e.isKey = false;
    const qsizetype eq = line.indexOf(u'=');
    if (current && eq > 0 && !t.startsWith(u';')) {
      e.key = line.left(eq).trimmed();
      e.value = line.mid(eq + 1).trimmed();
      e.isKey = !e.key.isEmpty();
    }
    (current ? current->entries : m_preamble).push_back(e);
  }
  for (Section& s : m_sections)
    trimTrailingBlanks(s);
}

const IniFile::Section* IniFile::findSection(const QString& name) const
{
  for (const Section& s : m_sections)
    if (nameIs(s.name, name))
      return &s;
  return nullptr;
}

IniFile::Section* IniFile::findSection(const QString& name)
{
  for (Section& s : m_sections)
    if (nameIs(s.name, name))
      return &s;
  return nullptr;
}

const IniFile::Entry* IniFile::findKey(const Section& s, const QString& key)
{
  for (const Entry& e : s.entries)
    if (e.isKey && nameIs(e.key, key))
      return &e;
  return nullptr;
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
  const Section* s = findSection(section);
  if (!s)
    return def;
  const Entry* e = findKey(*s, key);
  return e ? e->value : def;
}

int IniFile::ReadInteger(const QString& section, const QString& key, int def) const
{
  const QString v = ReadString(section, key);
  int n;
  return TryStrToInt(v, n) ? n : def;
}

bool IniFile::ReadBool(const QString& section, const QString& key, bool def) const
{
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

double IniFile::ReadFloat(const QString& section, const QString& key, double def) const
{
  const QString v = ReadString(section, key);
  double d;
  return TryStrToFloat(v, d) ? d : def;
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
  checkName(QStringLiteral("section"), section);
  checkName(QStringLiteral("key"), key);
  checkName(QStringLiteral("value"), value);
  if (section.trimmed().isEmpty() || section.contains(u']'))
    throw EIniFileError(QStringLiteral("Invalid INI section name \"%1\"").arg(section));
  if (key.trimmed().isEmpty() || key.contains(u'=') || key.trimmed().startsWith(u'[') || key.trimmed().startsWith(u';'))
    throw EIniFileError(QStringLiteral("Invalid INI key name \"%1\"").arg(key));
  Section* s = findSection(section);
  if (!s) {
    m_sections.push_back(Section{section.trimmed(), {}});
    s = &m_sections.back();
  }
  bool found = false;
  for (Entry& e : s->entries) {
    if (e.isKey && nameIs(e.key, key)) {
      e.value = value.trimmed();
      e.raw = e.key + u'=' + e.value;
      found = true;
      break;
    }
  }
  if (!found)
    s->entries.push_back(Entry{key.trimmed(), value.trimmed(), true, key.trimmed() + u'=' + value.trimmed()});
  changed();
}

void IniFile::WriteInteger(const QString& section, const QString& key, int value)
{
  WriteString(section, key, QString::number(value));
}

void IniFile::WriteBool(const QString& section, const QString& key, bool value)
{
  WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::WriteFloat(const QString& section, const QString& key, double value)
{
  WriteString(section, key, FloatToStr(value));
}

bool IniFile::SectionExists(const QString& section) const
{
  return findSection(section) != nullptr;
}

bool IniFile::ValueExists(const QString& section, const QString& key) const
{
  const Section* s = findSection(section);
  return s && findKey(*s, key);
}

QStringList IniFile::ReadSection(const QString& section) const
{
  QStringList keys;
  if (const Section* s = findSection(section)) {
    for (const Entry& e : s->entries) {
      if (!e.isKey)
        continue;
      bool dup = false;
      for (const QString& k : keys)
        dup = dup || nameIs(k, e.key);
      if (!dup)
        keys << e.key;
    }
  }
  return keys;
}

QStringList IniFile::ReadSections() const
{
  QStringList names;
  for (const Section& s : m_sections)
    names << s.name;
  return names;
}

QStringList IniFile::ReadSectionValues(const QString& section) const
{
  QStringList lines;
  if (const Section* s = findSection(section))
    for (const QString& k : ReadSection(section))
      lines << k + u'=' + findKey(*s, k)->value;
  return lines;
}

void IniFile::EraseSection(const QString& section)
{
  for (auto it = m_sections.begin(); it != m_sections.end(); ++it) {
    if (nameIs(it->name, section)) {
      m_sections.erase(it);
      changed();
      return;
    }
  }
}

void IniFile::DeleteKey(const QString& section, const QString& key)
{
  Section* s = findSection(section);
  if (!s)
    return;
  const auto before = s->entries.size();
  std::erase_if(s->entries, [&](const Entry& e) { return e.isKey && nameIs(e.key, key); });
  if (s->entries.size() != before)
    changed();
}

void IniFile::Clear()
{
  m_preamble.clear();
  m_sections.clear();
  changed();
}

void IniFile::changed()
{
  if (m_autoFlush)
    UpdateFile();
}

QString IniFile::toText() const
{
  QString out;
  for (const Entry& e : m_preamble)
    out += e.raw + QLatin1String("\r\n");
  bool first = true;
  for (const Section& s : m_sections) {
    if (!first)
      out += QLatin1String("\r\n");
    first = false;
    out += u'[' + s.name + QLatin1String("]\r\n");
    for (const Entry& e : s.entries)
      out += e.raw + QLatin1String("\r\n");
  }
  return out;
}

QByteArray IniFile::toBytes() const
{
  bool ok = true;
  const QByteArray bytes = encodeText(toText(), toTextEncoding(m_writeEncoding), &ok);
  if (!ok)
    throw EIniFileError(QStringLiteral("The INI file \"%1\" holds characters that %2 cannot hold")
                            .arg(m_fileName, describe(m_writeEncoding)));
  return bytes;
}

void IniFile::UpdateFile()
{
  if (m_fileName.isEmpty())
    throw EIniFileError(QStringLiteral("The INI file has no file name"));
  const QByteArray bytes = toBytes();
  try {
    SaveFileSafely(m_fileName, bytes);
  } catch (const ESafeSaveError& e) {
    throw EIniFileError(e.message());
  }
}
