// A test fixture that points the registry and the common application-data
// folder at a temporary folder and sets the identity values the export reads.
#pragma once

#include <array>
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QList>

#include "common/AccRecord.h"
#include "platform/IniFile.h"
#include "platform/Registry.h"
#include "tests/support/TempDir.h"

inline const QString kComRegKey = QStringLiteral("SOFTWARE\\Maker\\Products");

// Points the registry and the common application-data folder at a
// temporary folder, and sets the identity values the export reads.
class ExportEnv : public ::testing::Test {
 protected:
  void SetUp() override
  {
    ASSERT_TRUE(dir.isValid());
    saved = {qgetenv("RENDO_REGISTRY_FILE"), qgetenv("RENDO_DATA_ROOT")};
    qputenv("RENDO_REGISTRY_FILE", registryFile().toLocal8Bit());
    qputenv("RENDO_DATA_ROOT", dir.file(QStringLiteral("common")).toLocal8Bit());
    pcAccRecordReset();
    AppInfo.ComRegKey = kComRegKey;
    AppInfo.RegKey = QStringLiteral("WQZaimu");
    AccHomeDir = QStringLiteral("Maker/Zaimu");
  }
  void TearDown() override
  {
    restore("RENDO_REGISTRY_FILE", saved.first);
    restore("RENDO_DATA_ROOT", saved.second);
    pcAccRecordReset();
  }
  static void restore(const char* name, const QByteArray& value)
  {
    if (value.isNull())
      qunsetenv(name);
    else
      qputenv(name, value);
  }

  QString registryFile() const { return dir.file(QStringLiteral("hklm.ini")); }
  QString linkFile() const { return dir.file(QStringLiteral("common/Maker/Zaimu/ini/Gensyou.ini")); }

  // Registers products: sub-key name, Product, Version (empty: value absent).
  void registerProducts(const QList<std::array<QString, 3>>& products)
  {
    RegistryWriter w(registryFile());
    for (const auto& p : products) {
      const QString key = kComRegKey + u'\\' + p[0];
      w.WriteString(key, QStringLiteral("Dummy"), QStringLiteral("x"));
      if (!p[1].isEmpty())
        w.WriteString(key, QStringLiteral("Product"), p[1]);
      if (!p[2].isEmpty())
        w.WriteString(key, QStringLiteral("Version"), p[2]);
    }
    w.UpdateFile();
  }

  void writeLinkFile(const QString& data, const QString& komonsaki, const QString& exportFile)
  {
    IniFile ini(linkFile(), IniFile::Encoding::Cp932);
    ini.WriteString(QStringLiteral("UTIWAKESYO"), QStringLiteral("DATA"), data);
    ini.WriteString(QStringLiteral("UTIWAKESYO"), QStringLiteral("KOMONSAKI"), komonsaki);
    ini.WriteString(QStringLiteral("UTIWAKESYO"), QStringLiteral("EXPORTFILE"), exportFile);
    ini.WriteString(QStringLiteral("OTHERKIND"), QStringLiteral("DATA"), QStringLiteral("keep me"));
    QDir().mkpath(QFileInfo(linkFile()).path());
    ini.UpdateFile();
  }

  TestTempDir dir;
  QPair<QByteArray, QByteArray> saved;
};
