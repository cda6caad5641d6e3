#include "platform/Registry.h"

#include <QDir>
#include <QFileInfo>

#include "platform/IniFile.h"

namespace {

// "\SOFTWARE\\Maker\" -> "SOFTWARE\Maker"
QString normKey(const QString& key)
{
  const QStringList parts = key.split(u'\\', Qt::SkipEmptyParts);
  QStringList trimmed;
  for (const QString& p : parts)
    if (!p.trimmed().isEmpty())
      trimmed << p.trimmed();
  return trimmed.join(u'\\');
}

bool isDword(const QString& raw, quint32& value)
{
  if (!raw.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive))
    return false;
  bool ok = false;
  const QString hex = raw.mid(6).trimmed();
  value = hex.toUInt(&ok, 16);
  return ok && !hex.isEmpty() && hex.size() <= 8;
}

}  // namespace

QString Registry::defaultFileName()
{
  const QString env = qEnvironmentVariable("RENDO_REGISTRY_FILE");
  if (!env.isEmpty())
    return env;
  QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (config.isEmpty() || !QDir::isAbsolutePath(config))
    config = QDir::homePath() + QStringLiteral("/.config");
  return config + QStringLiteral("/rendo/hklm.ini");
}

Registry::Registry() : Registry(defaultFileName()) {}

Registry::Registry(const QString& fileName) : m_fileName(fileName)
{
  try {
    if (QFileInfo::exists(fileName)) {
      m_ini = std::make_unique<IniFile>(fileName, IniFile::Encoding::Utf8);
      m_loaded = true;
    } else {
      m_error = QStringLiteral("The registry file \"%1\" does not exist").arg(fileName);
    }
  } catch (const EIniFileError& e) {
    m_error = e.message();
    m_ini.reset();
    m_loaded = false;
  }
}

Registry::~Registry() = default;

bool Registry::KeyExists(const QString& key) const
{
  if (!m_ini)
    return false;
  const QString k = normKey(key);
  if (k.isEmpty())
    return true;
  const QString prefix = k + u'\\';
  for (const QString& s : m_ini->ReadSections()) {
    const QString n = normKey(s);
    if (n.compare(k, Qt::CaseInsensitive) == 0 || n.startsWith(prefix, Qt::CaseInsensitive))
      return true;
  }
  return false;
}

bool Registry::ValueExists(const QString& key, const QString& name) const
{
  return ReadValue(key, name).isValid();
}

QVariant Registry::ReadValue(const QString& key, const QString& name) const
{
  if (!m_ini)
    return {};
  const QString k = normKey(key);
  for (const QString& s : m_ini->ReadSections()) {
    if (normKey(s).compare(k, Qt::CaseInsensitive) != 0)
      continue;
    if (!m_ini->ValueExists(s, name))
      continue;
    const QString raw = m_ini->ReadString(s, name);
    quint32 dw;
    if (isDword(raw, dw))
      return QVariant(int(dw));
    return QVariant(raw);
  }
  return {};
}

QString Registry::ReadString(const QString& key, const QString& name, const QString& def) const
{
  const QVariant v = ReadValue(key, name);
  if (!v.isValid())
    return def;
  return v.toString();
}

int Registry::ReadInteger(const QString& key, const QString& name, int def) const
{
  const QVariant v = ReadValue(key, name);
  if (!v.isValid())
    return def;
  if (v.typeId() == QMetaType::Int)
    return v.toInt();
  bool ok = false;
  const int n = v.toString().trimmed().toInt(&ok);
  return ok ? n : def;
}

QStringList Registry::GetKeyNames(const QString& key) const
{
  QStringList names;
  if (!m_ini)
    return names;
  const QString k = normKey(key);
  const QString prefix = k.isEmpty() ? QString() : k + u'\\';
  for (const QString& s : m_ini->ReadSections()) {
    const QString n = normKey(s);
    if (!n.startsWith(prefix, Qt::CaseInsensitive) || n.size() == prefix.size())
      continue;
    const QString child = n.mid(prefix.size()).section(u'\\', 0, 0);
    bool dup = false;
    for (const QString& x : names)
      dup = dup || x.compare(child, Qt::CaseInsensitive) == 0;
    if (!dup)
      names << child;
  }
  return names;
}

QStringList Registry::GetValueNames(const QString& key) const
{
  if (!m_ini)
    return {};
  const QString k = normKey(key);
  for (const QString& s : m_ini->ReadSections())
    if (normKey(s).compare(k, Qt::CaseInsensitive) == 0)
      return m_ini->ReadSection(s);
  return {};
}

// --- writer -----------------------------------------------------------------

RegistryWriter::RegistryWriter(const QString& fileName)
    : m_ini(std::make_unique<IniFile>(fileName, IniFile::Encoding::Utf8))
{
}

RegistryWriter::~RegistryWriter() = default;

namespace {
QString sectionFor(IniFile& ini, const QString& key)
{
  const QString k = normKey(key);
  for (const QString& s : ini.ReadSections())
    if (normKey(s).compare(k, Qt::CaseInsensitive) == 0)
      return s;
  return k;
}
}  // namespace

void RegistryWriter::WriteString(const QString& key, const QString& name, const QString& value)
{
  m_ini->WriteString(sectionFor(*m_ini, key), name, value);
}

void RegistryWriter::WriteInteger(const QString& key, const QString& name, quint32 value)
{
  m_ini->WriteString(sectionFor(*m_ini, key), name, QStringLiteral("dword:%1").arg(value, 8, 16, QLatin1Char('0')));
}

void RegistryWriter::DeleteValue(const QString& key, const QString& name)
{
  m_ini->DeleteKey(sectionFor(*m_ini, key), name);
}

void RegistryWriter::DeleteKey(const QString& key)
{
  const QString k = normKey(key);
  const QString prefix = k + u'\\';
  for (const QString& s : m_ini->ReadSections()) {
    const QString n = normKey(s);
    if (n.compare(k, Qt::CaseInsensitive) == 0 || n.startsWith(prefix, Qt::CaseInsensitive))
      m_ini->EraseSection(s);
  }
}

void RegistryWriter::UpdateFile()
{
  m_ini->UpdateFile();
}
