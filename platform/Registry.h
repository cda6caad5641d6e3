#pragma once
#include <memory>

#include <QString>
#include <QStringList>
#include <QVariant>

class IniFile;

// Stand-in for the HKEY_LOCAL_MACHINE values the program reads (installed
// products and their versions): an INI-format file. The file is
// $RENDO_REGISTRY_FILE, else $XDG_CONFIG_HOME/rendo/hklm.ini (default
// ~/.config/rendo/hklm.ini). Each key is a section named by its path
// ("SOFTWARE\Maker\Product160"; "\" separated, case-insensitive, leading
// and trailing "\" ignored); each value a line "name=text". A text value is
// stored as it stands; a double word as "dword:" followed by eight hex
// digits (as in .reg files).
//
// Reading never throws: a missing or unreadable file, key or value gives
// "not found" results.
class Registry {
 public:
  // Reads the default file (see above).
  Registry();
  // Reads the given file.
  explicit Registry(const QString& fileName);

  static QString defaultFileName();
  const QString& fileName() const { return m_fileName; }
  // False when the file could not be read (missing or unreadable).
  bool isLoaded() const { return m_loaded; }
  // Why the file could not be read ("" when it was).
  const QString& errorString() const { return m_error; }

  bool KeyExists(const QString& key) const;
  bool ValueExists(const QString& key, const QString& name) const;
  // Text value as QString, double word as int; invalid QVariant when missing.
  QVariant ReadValue(const QString& key, const QString& name) const;
  // Text of a value (a double word as its decimal text); def when missing.
  QString ReadString(const QString& key, const QString& name, const QString& def = {}) const;
  // A double word, or a text holding a decimal number; def otherwise.
  int ReadInteger(const QString& key, const QString& name, int def = 0) const;
  // Names of the direct subkeys, in file order of their first appearance.
  QStringList GetKeyNames(const QString& key) const;
  // Value names of a key.
  QStringList GetValueNames(const QString& key) const;

  Registry(const Registry&) = delete;
  Registry& operator=(const Registry&) = delete;
  ~Registry();

 private:
  QString m_fileName;
  bool m_loaded = false;
  QString m_error;
  std::unique_ptr<IniFile> m_ini;
};

// Writes the registry file (UTF-8); for tests and the demo builder only.
// Starts from the file's current content; throws EIniFileError when the file
// cannot be read or written.
class RegistryWriter {
 public:
  explicit RegistryWriter(const QString& fileName);
  void WriteString(const QString& key, const QString& name, const QString& value);
  void WriteInteger(const QString& key, const QString& name, quint32 value);
  void DeleteValue(const QString& key, const QString& name);
  void DeleteKey(const QString& key);  // with its subkeys
  void UpdateFile();

  RegistryWriter(const RegistryWriter&) = delete;
  RegistryWriter& operator=(const RegistryWriter&) = delete;
  ~RegistryWriter();

 private:
  std::unique_ptr<IniFile> m_ini;
};
