#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>

#include "PlatformTestUtil.h"
#include "platform/IniFile.h"
#include "tests/support/TempDir.h"

namespace {

QByteArray readAll(const QString& path)
{
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

const QString kSection = QStringLiteral("会社情報");
const QString kKey = QStringLiteral("商号");
const QString kValue = QStringLiteral("髙橋①商事～－㈱");

TEST(IniFile, JapaneseNamesRoundTripThroughUtf16File)
{
  TestTempDir dir;
  const QString path = dir.file(QStringLiteral("設定.ini"));
  {
    IniFile ini(path, IniFile::Encoding::Utf16LeBom);
    ini.WriteString(kSection, kKey, kValue);
    ini.WriteInteger(QStringLiteral("APPLICATION"), QStringLiteral("WIDTH"), 1024);
    ini.UpdateFile();
  }
  const QByteArray bytes = readAll(path);
  ASSERT_TRUE(bytes.startsWith(bytesOf({0xFF, 0xFE})));
  // "[会社情報]\r\n" in UTF-16LE right after the BOM.
  const QString header = u'[' + kSection + QStringLiteral("]\r\n");
  EXPECT_EQ(bytes.mid(2, header.size() * 2),
            QByteArray(reinterpret_cast<const char*>(header.utf16()), header.size() * 2));

  IniFile back(path);
  EXPECT_EQ(back.readEncoding(), IniFile::Encoding::Utf16LeBom);
  EXPECT_EQ(back.ReadSections(), (QStringList{kSection, QStringLiteral("APPLICATION")}));
  EXPECT_EQ(back.ReadSection(kSection), QStringList{kKey});
  EXPECT_EQ(back.ReadString(kSection, kKey), kValue);
  EXPECT_EQ(back.ReadInteger(QStringLiteral("application"), QStringLiteral("width")), 1024);
  // No temporary file is left beside it.
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("設定.ini")});
}

TEST(IniFile, ReadsEveryEncodingAndWritesTheChosenOne)
{
  const QString text = u'[' + kSection + QStringLiteral("]\r\n") + kKey + u'=' + kValue + QStringLiteral("\r\n");
  struct Case {
    IniFile::Encoding enc;
    TextEncoding te;
  };
  const Case cases[] = {
      {IniFile::Encoding::Utf16LeBom, TextEncoding::Utf16LeBom},
      {IniFile::Encoding::Utf8, TextEncoding::Utf8},
      {IniFile::Encoding::Utf8Bom, TextEncoding::Utf8Bom},
      {IniFile::Encoding::Cp932, TextEncoding::Cp932},
  };
  for (const Case& from : cases) {
    for (const Case& to : cases) {
      TestTempDir dir;
      const QString path = dir.file(QStringLiteral("a.ini"));
      writeAll(path, encodeText(text, from.te));
      IniFile ini(path, to.enc);
      EXPECT_EQ(ini.readEncoding(), from.enc);
      EXPECT_EQ(ini.ReadString(kSection, kKey), kValue) << int(from.enc);
      ini.WriteString(kSection, QStringLiteral("KEY2"), QStringLiteral("x"));
      ini.UpdateFile();
      EXPECT_EQ(readAll(path), encodeText(text + QStringLiteral("KEY2=x\r\n"), to.te))
          << int(from.enc) << " -> " << int(to.enc);
    }
  }
}

TEST(IniFile, WindowsSemantics)
{
  const QByteArray src =
      "; leading comment\r\n"
      "[Application]\r\n"
      "Top = 5 \r\n"
      "Name=\"quoted; value\"\r\n"
      "Expr=a=b\r\n"
      "top=99\r\n"
      "; inner comment\r\n"
      "no equals sign\r\n"
      "\r\n"
      "[Flags]\r\n"
      "On=1\r\nOff=0\r\nHex=$10\r\nBad=abc\r\nTwo=2\r\n"
      "[application]\r\n"
      "Later=1\r\n";
  IniFile ini = IniFile::fromBytes(src, IniFile::Encoding::Utf8);
  EXPECT_EQ(ini.ReadInteger(QStringLiteral("APPLICATION"), QStringLiteral("TOP")), 5);  // first key wins
  EXPECT_EQ(ini.ReadString(QStringLiteral("application"), QStringLiteral("name")), QStringLiteral("\"quoted; value\""));
  EXPECT_EQ(ini.ReadString(QStringLiteral("Application"), QStringLiteral("Expr")), QStringLiteral("a=b"));
  EXPECT_EQ(ini.ReadString(QStringLiteral("Application"), QStringLiteral("Later")), QStringLiteral("1"));
  EXPECT_EQ(ini.ReadString(QStringLiteral("Application"), QStringLiteral("Missing"), QStringLiteral("def")),
            QStringLiteral("def"));
  EXPECT_EQ(ini.ReadString(QStringLiteral("Nowhere"), QStringLiteral("Top"), QStringLiteral("d")), QStringLiteral("d"));
  EXPECT_EQ(ini.ReadSections(), (QStringList{QStringLiteral("Application"), QStringLiteral("Flags")}));
  EXPECT_EQ(
      ini.ReadSection(QStringLiteral("APPLICATION")),
      (QStringList{QStringLiteral("Top"), QStringLiteral("Name"), QStringLiteral("Expr"), QStringLiteral("Later")}));
  EXPECT_EQ(ini.ReadSectionValues(QStringLiteral("flags")),
            (QStringList{QStringLiteral("On=1"), QStringLiteral("Off=0"), QStringLiteral("Hex=$10"),
                         QStringLiteral("Bad=abc"), QStringLiteral("Two=2")}));

  struct B {
    const char* key;
    bool def;
    bool expected;
    int asInt;
  };
  const B bools[] = {{"On", false, true, 1},     {"Off", true, false, 0},   {"Hex", false, true, 16},
                     {"Bad", true, true, -1},    {"Bad", false, false, -1}, {"Two", false, true, 2},
                     {"Missing", true, true, -1}};
  for (const B& b : bools) {
    EXPECT_EQ(ini.ReadBool(QStringLiteral("Flags"), QLatin1String(b.key), b.def), b.expected) << b.key;
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Flags"), QLatin1String(b.key), -1), b.asInt) << b.key;
  }

  EXPECT_TRUE(ini.SectionExists(QStringLiteral("FLAGS")));
  EXPECT_FALSE(ini.SectionExists(QStringLiteral("Flag")));
  EXPECT_TRUE(ini.ValueExists(QStringLiteral("flags"), QStringLiteral("HEX")));
  EXPECT_FALSE(ini.ValueExists(QStringLiteral("flags"), QStringLiteral("no equals sign")));

  // Updating keeps the stored spelling of names, comments and order.
  ini.WriteString(QStringLiteral("APPLICATION"), QStringLiteral("TOP"), QStringLiteral("7"));
  ini.DeleteKey(QStringLiteral("application"), QStringLiteral("expr"));
  ini.EraseSection(QStringLiteral("FLAGS"));
  ini.WriteBool(QStringLiteral("New"), QStringLiteral("B"), true);
  ini.WriteFloat(QStringLiteral("New"), QStringLiteral("F"), 1.25);
  EXPECT_EQ(ini.toText(), QStringLiteral("; leading comment\r\n"
                                         "[Application]\r\n"
                                         "Top=7\r\n"
                                         "Name=\"quoted; value\"\r\n"
                                         "top=99\r\n"
                                         "; inner comment\r\n"
                                         "no equals sign\r\n"
                                         "Later=1\r\n"
                                         "\r\n"
                                         "[New]\r\n"
                                         "B=1\r\n"
                                         "F=1.25\r\n"));
  EXPECT_DOUBLE_EQ(ini.ReadFloat(QStringLiteral("new"), QStringLiteral("f")), 1.25);
}

TEST(IniFile, InputThatWouldCorruptTheFileIsRefused)
{
  IniFile ini = IniFile::fromBytes(QByteArray());
  const QString ok = QStringLiteral("ok");
  struct Case {
    QString section, key, value;
  };
  const Case cases[] = {
      {ok, ok, QStringLiteral("two\r\nlines")},
      {ok, QStringLiteral("a=b"), ok},
      {ok, QStringLiteral("[x"), ok},
      {ok, QStringLiteral(";x"), ok},
      {ok, QString(), ok},
      {QStringLiteral("a]b"), ok, ok},
      {QString(), ok, ok},
      {QStringLiteral("a\nb"), ok, ok},
  };
  for (const Case& c : cases)
    EXPECT_THROW(ini.WriteString(c.section, c.key, c.value), EIniFileError)
        << c.section.toStdString() << "/" << c.key.toStdString();
  EXPECT_TRUE(ini.ReadSections().isEmpty());
}

TEST(IniFile, BrokenEncodingGivesAClearError)
{
  struct Case {
    const char* what;
    QByteArray bytes;
  };
  const Case cases[] = {
      {"neither UTF-8 nor CP932", QByteArray("[a]\r\nk=") + bytesOf({0x85, 0x40, 0xFF})},
      {"UTF-16 with an odd byte", bytesOf({0xFF, 0xFE, 0x5B, 0x00, 0x61})},
      {"UTF-16 lone surrogate", bytesOf({0xFF, 0xFE, 0x00, 0xD8, 0x41, 0x00})},
      {"UTF-16 without BOM", bytesOf({0x5B, 0x00, 0x61, 0x00, 0x5D, 0x00})},
      {"UTF-8 BOM then bad bytes", bytesOf({0xEF, 0xBB, 0xBF, 0x5B, 0xC3, 0x28, 0x5D})},
  };
  for (const Case& c : cases) {
    TestTempDir dir;
    const QString path = dir.file(QStringLiteral("broken.ini"));
    writeAll(path, c.bytes);
    try {
      IniFile ini(path);
      ADD_FAILURE() << c.what << ": no error";
    } catch (const EIniFileError& e) {
      EXPECT_TRUE(e.message().contains(path)) << e.what();
    }
    EXPECT_EQ(readAll(path), c.bytes) << c.what;  // untouched
  }
}

TEST(IniFile, FailedWritesLeaveTheOldFileWhole)
{
  TestTempDir dir;
  const QString path = dir.file(QStringLiteral("keep.ini"));
  const QByteArray original = encodeText(QStringLiteral("[S]\r\nK=old\r\n"), TextEncoding::Cp932);
  writeAll(path, original);

  IniFile ini(path, IniFile::Encoding::Cp932);
  ini.WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("€ not in CP932"));
  EXPECT_THROW(ini.UpdateFile(), EIniFileError);
  EXPECT_EQ(readAll(path), original);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.ini")});

  // A missing folder and a folder path are errors, not silent no-ops.
  IniFile nowhere(dir.file(QStringLiteral("missing/folder/x.ini")));
  nowhere.WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("v"));
  EXPECT_THROW(nowhere.UpdateFile(), EIniFileError);
  EXPECT_THROW(IniFile{dir.path()}, EIniFileError);

  // autoFlush writes through at once.
  IniFile direct(dir.file(QStringLiteral("direct.ini")), IniFile::Encoding::Utf8, true);
  direct.WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("v"));
  EXPECT_EQ(readAll(dir.file(QStringLiteral("direct.ini"))), QByteArray("[S]\r\nK=v\r\n"));
}

TEST(IniFile, UnreadableFolderGivesAClearError)
{
  TestTempDir dir;
  ::chmod(QFile::encodeName(dir.path()).constData(), 0755);  // the child must reach "locked"
  const QString locked = dir.file(QStringLiteral("locked"));
  ASSERT_TRUE(QDir().mkpath(locked));
  const QString path = locked + QStringLiteral("/a.ini");
  writeAll(path, "[S]\r\nK=v\r\n");
  ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0), 0);

  const bool readRefused = runUnprivileged([&] {
    try {
      IniFile ini(path);
      return false;  // read as empty: the error was swallowed
    } catch (const EIniFileError& e) {
      return e.message().contains(path);
    }
  });
  // A folder that can be read but not written.
  const QString readOnly = dir.file(QStringLiteral("readonly"));
  ASSERT_TRUE(QDir().mkpath(readOnly));
  ASSERT_EQ(::chmod(QFile::encodeName(readOnly).constData(), 0555), 0);
  const bool writeRefused = runUnprivileged([&] {
    IniFile ini(readOnly + QStringLiteral("/b.ini"));
    ini.WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("v"));
    try {
      ini.UpdateFile();
      return false;
    } catch (const EIniFileError& e) {
      return e.message().contains(QStringLiteral("b.ini"));
    }
  });
  ::chmod(QFile::encodeName(locked).constData(), 0700);
  EXPECT_TRUE(readRefused);
  EXPECT_TRUE(writeRefused);
}

}  // namespace
