#include <gtest/gtest.h>

#include <QFile>

#include "PlatformTestUtil.h"
#include "platform/IniFile.h"
#include "platform/Registry.h"
#include "tests/support/TempDir.h"

namespace {

TEST(Registry, MissingFileGivesNotFoundResults)
{
  TestTempDir dir;
  const QString path = dir.file(QStringLiteral("none.ini"));
  const Registry reg(path);
  EXPECT_FALSE(reg.isLoaded());
  EXPECT_TRUE(reg.errorString().contains(path));
  EXPECT_FALSE(reg.KeyExists(QStringLiteral("SOFTWARE")));
  EXPECT_FALSE(reg.ValueExists(QStringLiteral("SOFTWARE\\Maker"), QStringLiteral("Version")));
  EXPECT_FALSE(reg.ReadValue(QStringLiteral("SOFTWARE\\Maker"), QStringLiteral("Version")).isValid());
  EXPECT_EQ(reg.ReadString(QStringLiteral("SOFTWARE\\Maker"), QStringLiteral("Version"), QStringLiteral("d")),
            QStringLiteral("d"));
  EXPECT_EQ(reg.ReadInteger(QStringLiteral("SOFTWARE\\Maker"), QStringLiteral("Type"), -3), -3);
  EXPECT_TRUE(reg.GetKeyNames(QStringLiteral("SOFTWARE")).isEmpty());
  EXPECT_TRUE(reg.GetValueNames(QStringLiteral("SOFTWARE")).isEmpty());
}

TEST(Registry, BrokenFileGivesNotFoundResultsAndAReason)
{
  TestTempDir dir;
  const QString path = dir.file(QStringLiteral("broken.ini"));
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytesOf({0x5B, 0x85, 0x40, 0xFF, 0x5D, 0x0D, 0x0A}));
  }
  const Registry reg(path);
  EXPECT_FALSE(reg.isLoaded());
  EXPECT_FALSE(reg.errorString().isEmpty());
  EXPECT_FALSE(reg.KeyExists(QStringLiteral("x")));
  EXPECT_TRUE(reg.ReadString(QStringLiteral("x"), QStringLiteral("y")).isEmpty());
}

TEST(Registry, WrittenKeysReadBackWithoutRegardToCaseOrDelimiters)
{
  TestTempDir dir;
  const QString path = dir.file(QStringLiteral("hklm.ini"));
  {
    RegistryWriter w(path);
    w.WriteString(QStringLiteral("SOFTWARE\\Maker\\Zaimu160"), QStringLiteral("Version"), QStringLiteral("16.2.0"));
    w.WriteString(QStringLiteral("SOFTWARE\\Maker\\Zaimu170"), QStringLiteral("Version"), QStringLiteral("17.0.3"));
    w.WriteString(QStringLiteral("SOFTWARE\\Maker\\Zaimu170"), QStringLiteral("Product"), QStringLiteral("財務会計４"));
    w.WriteInteger(QStringLiteral("SOFTWARE\\Maker\\Zaimu170"), QStringLiteral("Type"), 3);
    w.WriteString(QStringLiteral("SOFTWARE\\Maker\\Zaimu170"), QStringLiteral("Count"), QStringLiteral("12"));
    w.WriteInteger(QStringLiteral("\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System\\"),
                   QStringLiteral("EnableLUA"), 1);
    w.WriteString(QStringLiteral("SOFTWARE\\Maker\\Other\\Deep"), QStringLiteral("X"), QStringLiteral("y"));
    w.UpdateFile();
  }
  const Registry reg(path);
  ASSERT_TRUE(reg.isLoaded()) << reg.errorString().toStdString();

  EXPECT_TRUE(reg.KeyExists(QStringLiteral("software\\maker")));  // parent of stored keys
  EXPECT_TRUE(reg.KeyExists(QStringLiteral("\\SOFTWARE\\MAKER\\zaimu170\\")));
  EXPECT_FALSE(reg.KeyExists(QStringLiteral("SOFTWARE\\Make")));
  EXPECT_EQ(reg.GetKeyNames(QStringLiteral("SOFTWARE\\Maker")),
            (QStringList{QStringLiteral("Zaimu160"), QStringLiteral("Zaimu170"), QStringLiteral("Other")}));
  EXPECT_EQ(reg.GetKeyNames(QString()), (QStringList{QStringLiteral("SOFTWARE")}));
  EXPECT_EQ(reg.GetValueNames(QStringLiteral("software\\maker\\zaimu170")),
            (QStringList{QStringLiteral("Version"), QStringLiteral("Product"), QStringLiteral("Type"),
                         QStringLiteral("Count")}));

  const QString k = QStringLiteral("SOFTWARE\\MAKER\\ZAIMU170");
  EXPECT_EQ(reg.ReadValue(k, QStringLiteral("VERSION")), QVariant(QStringLiteral("17.0.3")));
  EXPECT_EQ(reg.ReadString(k, QStringLiteral("Product")), QStringLiteral("財務会計４"));
  EXPECT_EQ(reg.ReadValue(k, QStringLiteral("Type")).typeId(), QMetaType::Int);
  EXPECT_EQ(reg.ReadInteger(k, QStringLiteral("Type")), 3);
  EXPECT_EQ(reg.ReadString(k, QStringLiteral("Type")), QStringLiteral("3"));
  EXPECT_EQ(reg.ReadInteger(k, QStringLiteral("Count")), 12);
  EXPECT_EQ(reg.ReadInteger(k, QStringLiteral("Version"), -1), -1);
  EXPECT_EQ(reg.ReadInteger(QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System"),
                            QStringLiteral("EnableLUA")),
            1);

  // Deleting a key takes its subkeys with it.
  {
    RegistryWriter w(path);
    w.DeleteKey(QStringLiteral("software\\maker\\other"));
    w.DeleteValue(k, QStringLiteral("count"));
    w.UpdateFile();
  }
  const Registry after(path);
  EXPECT_FALSE(after.KeyExists(QStringLiteral("SOFTWARE\\Maker\\Other\\Deep")));
  EXPECT_FALSE(after.ValueExists(k, QStringLiteral("Count")));
  EXPECT_TRUE(after.ValueExists(k, QStringLiteral("Version")));
}

TEST(Registry, DefaultFileComesFromTheEnvironment)
{
  TestTempDir dir;
  const QString path = dir.file(QStringLiteral("env.ini"));
  {
    RegistryWriter w(path);
    w.WriteString(QStringLiteral("K"), QStringLiteral("V"), QStringLiteral("from env"));
    w.UpdateFile();
  }
  {
    ScopedEnv env("RENDO_REGISTRY_FILE", path);
    EXPECT_EQ(Registry::defaultFileName(), path);
    EXPECT_EQ(Registry().ReadString(QStringLiteral("k"), QStringLiteral("v")), QStringLiteral("from env"));
  }
  ScopedEnv unset("RENDO_REGISTRY_FILE", QString());
  ScopedEnv config("XDG_CONFIG_HOME", dir.path());
  EXPECT_EQ(Registry::defaultFileName(), dir.file(QStringLiteral("rendo/hklm.ini")));
}

}  // namespace
