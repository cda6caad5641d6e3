#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "common/AppInfo.h"
#include "common/AppIniCreate.h"
#include "common/SeihinVersionList.h"
#include "platform/IniFile.h"
#include "platform/Registry.h"
#include "tests/support/TempDir.h"

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

class AppInfoFile : public ::testing::Test {
 protected:
  void SetUp() override { pcAccRecordReset(); }
  QString exe() const { return dir.file(QStringLiteral("rendo")); }
  QString ini() const { return dir.file(QStringLiteral("AppInfo.ini")); }
  TestTempDir dir;
};

TEST_F(AppInfoFile, MissingFileLeavesTheRecordUntouched)
{
  TAppInfoRec rec;
  rec.AppName = QStringLiteral("keep");
  EXPECT_EQ(fnReadAppInfoIni(exe(), rec), AppInfoMissing);
  EXPECT_EQ(rec.AppName, QStringLiteral("keep"));
  EXPECT_FALSE(fnAppInfoResultMessage(AppInfoMissing).isEmpty());
}

TEST_F(AppInfoFile, EmptyOemGivesTheDefaults)
{
  writeFile(ini(), "[Application]\r\nOEM=\r\n[Zaimu]\r\nAppName=other\r\n");
  TAppInfoRec rec, def;
  pcAppInfoDefault(def);
  EXPECT_EQ(fnReadAppInfoIni(exe(), rec), AppInfoNoOem);
  EXPECT_EQ(rec.OEM, QStringLiteral("-"));
  EXPECT_EQ(rec.AppName, def.AppName);
  EXPECT_EQ(rec.DataListCnt, 120);
  EXPECT_EQ(rec.DataDefFile, QStringLiteral("wqaccdef2.fdb"));
}

TEST_F(AppInfoFile, OnlyOemLeavesTextsEmptyAndNumbersAtTheirReadDefaults)
{
  writeFile(ini(), "[Application]\r\nOEM=standard\r\n");
  TAppInfoRec rec;
  pcAppInfoDefault(rec);
  EXPECT_EQ(fnReadAppInfoIni(exe(), rec), AppInfoRead);
  EXPECT_EQ(rec.OEM, QStringLiteral("standard"));
  EXPECT_TRUE(rec.AppName.isEmpty());
  EXPECT_TRUE(rec.ComRegKey.isEmpty());
  EXPECT_TRUE(rec.MenuDataConQyx02.isEmpty());
  EXPECT_EQ(rec.VerMajorDiff + rec.VerMinorDiff + rec.VerRevDiff + rec.OptionBlind + rec.VeduvoruBlind, 0);
  EXPECT_EQ(rec.DataListCnt, 120);
  EXPECT_TRUE(rec.MarluneMenuLimit);
}

TEST_F(AppInfoFile, NumbersAndTheMenuLimitAsATable)
{
  struct Case {
    const char* cnt;
    int expectCnt;
    const char* limit;
    bool expectLimit;
  } cases[] = {
      {"abc", 120, "FALSE", false},
      {"", 120, "no", true},
      {"0", 0, "false", false},
      {"300", 300, "", true},
  };
  for (const auto& c : cases) {
    const QByteArray text = QByteArray("[Application]\r\nOEM=x\r\nOptionBlind=1\r\n[Zaimu]\r\nDataListCnt=") + c.cnt +
                            "\r\n[Menu]\r\nMarluneMenuLimit=" + c.limit + "\r\n";
    writeFile(ini(), text);
    TAppInfoRec rec;
    ASSERT_EQ(fnReadAppInfoIni(exe(), rec), AppInfoRead) << c.cnt;
    EXPECT_EQ(rec.DataListCnt, c.expectCnt) << c.cnt;
    EXPECT_EQ(rec.MarluneMenuLimit, c.expectLimit) << c.limit;
    EXPECT_EQ(rec.OptionBlind, 1);
  }
}

TEST_F(AppInfoFile, JapaneseValuesInUtf16AndAnUnreadableFile)
{
  IniFile w(ini(), IniFile::Encoding::Utf16LeBom);
  w.WriteString(QStringLiteral("Application"), QStringLiteral("OEM"), QStringLiteral("標準"));
  w.WriteString(QStringLiteral("Zaimu"), QStringLiteral("AppTitle"), QStringLiteral("髙橋①財務"));
  w.UpdateFile();
  TAppInfoRec rec;
  ASSERT_EQ(fnReadAppInfoIni(exe(), rec), AppInfoRead);
  EXPECT_EQ(rec.AppTitle, QStringLiteral("髙橋①財務"));

  QFile::remove(ini());
  ASSERT_TRUE(QDir().mkdir(ini()));  // a folder where the file should be
  QString why;
  EXPECT_EQ(fnReadAppInfoIni(exe(), rec, &why), AppInfoReadFailed);
  EXPECT_TRUE(why.contains(ini())) << why.toStdString();
  EXPECT_TRUE(fnAppInfoResultMessage(AppInfoReadFailed, why).contains(QStringLiteral("参照できませんでした")));
  EXPECT_TRUE(fnAppInfoResultMessage(AppInfoReadFailed, why).contains(ini()));
}

TEST_F(AppInfoFile, FolderValuesInTheWindowsFormAreTakenWithSlashes)
{
  writeFile(ini(),
            "[Application]\r\nOEM=STANDARD\r\n[Zaimu]\r\nHomeDir=norvik\\dedodozorav2\r\nShareDir=dedodozorav2\r\n"
            "ServerDir=\\dedodozorav2\\data\r\nServerTempDir=\\dedodozorav2\\temp\r\nDataFile=wqacc2.fdb\r\n"
            "[RIvora]\r\nDataDir=a\\b\r\nWriteDirFmt=wqz%.2dcd\r\n[Vestimar]\r\nHomeDir=norvik\\v\r\n"
            "[Veduvoru]\r\nDataDir=cb\\data\r\n");
  TAppInfoRec rec;
  ASSERT_EQ(fnReadAppInfoIni(exe(), rec), AppInfoRead);
  EXPECT_EQ(rec.HomeDir, QStringLiteral("norvik/dedodozorav2"));
  EXPECT_EQ(rec.ShareDir, QStringLiteral("dedodozorav2"));
  EXPECT_EQ(rec.ServerDir, QStringLiteral("/dedodozorav2/data"));
  EXPECT_EQ(rec.ServerTempDir, QStringLiteral("/dedodozorav2/temp"));
  EXPECT_EQ(rec.RIvoraDir, QStringLiteral("a/b"));
  EXPECT_EQ(rec.VestimarDir, QStringLiteral("norvik/v"));
  EXPECT_EQ(rec.VeduvoruDataDir, QStringLiteral("cb/data"));
  // Only folders: names and registry keys keep what they hold.
  EXPECT_EQ(rec.DataFile, QStringLiteral("wqacc2.fdb"));
  EXPECT_EQ(rec.RIvoraWriteDirFmt, QStringLiteral("wqz%.2dcd"));
  // The defaults are in the same form.
  TAppInfoRec def;
  pcAppInfoDefault(def);
  for (const QString& v : {def.HomeDir, def.ServerDir, def.ServerTempDir, def.VestimarDir})
    EXPECT_FALSE(v.contains(u'\\')) << v.toStdString();
  EXPECT_EQ(def.ComRegKey, QStringLiteral("\\SOFTWARE\\NORVIK"));

  // The folders built from it are real paths below the data root.
  pcApplyAppInfoNames(rec);
  EXPECT_EQ(AccHomeDir, QStringLiteral("norvik/dedodozorav2"));
}

TEST_F(AppInfoFile, ATruncatedFileNamesWhatIsMissing)
{
  // Cut off after the product's name: the folders and files are gone.
  writeFile(ini(), "[Application]\r\nOEM=STANDARD\r\nRegKey=\\SOFTWARE\\NORVIK\r\n[Zaimu]\r\nAppName=wqzaimu\r\nAppTi");
  TAppInfoRec rec;
  ASSERT_EQ(fnReadAppInfoIni(exe(), rec), AppInfoRead);
  const QStringList missing = fnAppInfoMissingValues(rec);
  EXPECT_EQ(missing, (QStringList{"[Zaimu] AppTitle", "[Zaimu] RegKey", "[Zaimu] HomeDir", "[Zaimu] DataDefFile",
                                  "[Zaimu] DataFile", "[Zaimu] DataIniFile"}));
  TAppInfoRec def;
  pcAppInfoDefault(def);
  EXPECT_TRUE(fnAppInfoMissingValues(def).isEmpty());
  const QString message = fnAppInfoResultMessage(AppInfoNoOem, missing.join(u'\r'));
  EXPECT_EQ(message, QStringLiteral(
                         "アプリケーションの設定ファイル(AppInfo.ini)の値を参照できませんでした。\r[Zaimu] AppTitle\r"
                         "[Zaimu] RegKey\r[Zaimu] HomeDir\r[Zaimu] DataDefFile\r[Zaimu] DataFile\r[Zaimu] DataIniFile\r"
                         "アプリケーションを強制終了します。"));
}

class LocalSettings : public ::testing::Test {
 protected:
  void SetUp() override
  {
    pcAccRecordReset();
    SystemDef.APPINI = dir.file(QStringLiteral("wqzaimu.ini"));
    SystemDef.IBUSER = QStringLiteral("ABACOR");
    SystemDef.PASWORD = QStringLiteral("dormil");
    SystemDef.IBPATHDEF = QStringLiteral("/srv/acc/Data");
    SystemDef.SERVERNAME = QStringLiteral("host1");
  }
  TestTempDir dir;
};

TEST_F(LocalSettings, NewFileHasItsSectionsInUtf16AndIsOwnerOnly)
{
  AppType = jxatSA;
  TAppIniCreate box;
  EXPECT_TRUE(box.InitFlg());
  EXPECT_EQ(box.ConType(), 1);
  ASSERT_TRUE(box.MakeLocalIniFile(1));

  QFile f(SystemDef.APPINI);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray bytes = f.readAll();
  ASSERT_GE(bytes.size(), 2);
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
  EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xFE);
  EXPECT_EQ(f.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), QFileDevice::Permissions());

  const IniFile ini(SystemDef.APPINI);
  EXPECT_EQ(ini.ReadString("APPLICATION", "WIDTH"), QStringLiteral("1024"));
  EXPECT_EQ(ini.ReadString("APPLICATION", "HEIGHT"), QStringLiteral("738"));
  EXPECT_EQ(ini.ReadString("APPLICATION", "CONNECT"), QStringLiteral("0"));
  EXPECT_TRUE(ini.SectionExists("LOCAL"));
  EXPECT_TRUE(ini.SectionExists("SERVER"));
  EXPECT_FALSE(ini.SectionExists("SBC"));
  // Stand-alone use never keeps a server name.
  EXPECT_EQ(ini.ReadString("LOCAL", "HOSTNAME", "x"), QString());
  EXPECT_EQ(ini.ReadString("SERVER", "USER"), QStringLiteral("ABACOR"));
}

TEST_F(LocalSettings, SectionValuesAreReadByTheirRules)
{
  IniFile ini(SystemDef.APPINI, IniFile::Encoding::Utf16LeBom);
  ini.WriteString("SERVER", "HOSTNAME", "dbhost");
  ini.WriteString("SERVER", "GOGLOBAL", "yes");
  ini.WriteString("SERVER", "GROUP", "YES");
  ini.WriteString("SERVER", "SYSDIR", "/srv/Data");
  ini.WriteString("SERVER", "USER", "abacor");
  ini.WriteString("SBC", "GOGLOBAL", "YES");
  ini.WriteString("SBC", "PASSWORD", "SeCret");
  ini.WriteString("APPLICATION", "CONNECT", "7");
  ini.UpdateFile();

  TAppIniCreate box;
  SystemDef.GROUP = true;
  EXPECT_EQ(box.GetDataBaseInfoIniFile(1), 1);
  EXPECT_EQ(SystemDef.SERVERNAME, QStringLiteral("dbhost"));
  EXPECT_FALSE(SystemDef.GOGLOBAL);  // the comparison is exact
  EXPECT_FALSE(SystemDef.GROUP);     // never read back
  EXPECT_EQ(SystemDef.IBPATHDEF, QStringLiteral("/srv/Data"));
  EXPECT_EQ(SystemDef.IBUSER, QStringLiteral("ABACOR"));
  EXPECT_EQ(SystemDef.PASWORD, QStringLiteral("dormil"));  // missing key

  box.GetDataBaseInfoIniFile(2);
  EXPECT_TRUE(SystemDef.GOGLOBAL);
  EXPECT_EQ(SystemDef.PASWORD, QStringLiteral("secret"));

  SystemKind = 0;
  EXPECT_EQ(box.GetConStateIniFile(), 7);
  box.SetConStateIniFile(3);  // ignored
  EXPECT_EQ(box.GetConStateIniFile(), 7);
  box.SetConStateIniFile(1);
  EXPECT_EQ(box.GetConStateIniFile(), 1);
  SystemKind = 9;
  EXPECT_EQ(box.GetDataBaseInfo(0), 0);
  SystemKind = 0;
}

TEST_F(LocalSettings, LaterWritesTouchOnlyTheCurrentSection)
{
  AppType = jxatCS;
  TAppIniCreate box;
  box.MakeLocalIniFile(1);
  SystemDef.SERVERNAME = QStringLiteral("newhost");
  box.MakeLocalIniFile(0);
  const IniFile ini(SystemDef.APPINI);
  EXPECT_EQ(ini.ReadString("SERVER", "HOSTNAME"), QStringLiteral("newhost"));
  EXPECT_EQ(ini.ReadString("LOCAL", "HOSTNAME"), QStringLiteral("host1"));
  AppType = jxatSA;
}

TEST(SeihinVersionList, LabelsAndInstalledEditions)
{
  pcAccRecordReset();
  TestTempDir dir;
  const QString regFile = dir.file(QStringLiteral("hklm.ini"));
  {
    RegistryWriter w(regFile);
    w.WriteString("SOFTWARE\\NORVIK\\ABACORZAIMU170", "Version", "17.0.3");
    w.WriteString("SOFTWARE\\NORVIK\\ABACORZAIMU170", "Type", "dup");
    w.WriteString("SOFTWARE\\NORVIK\\ABACORZAIMU175", "Version", "17.5.0");
    w.WriteString("SOFTWARE\\NORVIK\\ABACORZAIMU175", "Type", "25版 改");
    w.WriteString("SOFTWARE\\NORVIK\\ABACORZAIMU4", "Version", "18.1");
    w.WriteString("SOFTWARE\\NORVIK\\ABACORZAIMU5", "Version", "18.1.0.2");
    w.WriteString("SOFTWARE\\NORVIK\\OTHER", "Version", "19.0.0");
    w.UpdateFile();
  }
  const Registry reg(regFile);
  AppInfo.ComRegKey = QStringLiteral("\\SOFTWARE\\NORVIK");
  AppInfo.RegKey = QStringLiteral("ABACORZAIMU");
  SystemDef.AppVerMajor = 18;

  TSeihinVersionList list;
  list.SetTopItem(QStringLiteral("すべて"));
  list.Execute(jxstAsc, reg);
  ASSERT_EQ(list.ItemCount(), 4);
  EXPECT_EQ(list.ItemGetter(0), QStringLiteral("すべて"));
  EXPECT_EQ(list.ItemGetter(1), QStringLiteral("25版"));
  EXPECT_EQ(list.ItemGetter(2), QStringLiteral("26版"));
  EXPECT_EQ(list.ItemGetter(3), QStringLiteral("25版 改"));
  EXPECT_EQ(list.ItemGetterVersion(0), QString());
  EXPECT_EQ(list.ItemGetterVersion(3), QStringLiteral("17.5"));
  EXPECT_EQ(list.GetListIndex(QStringLiteral("26版")), 2);
  EXPECT_EQ(list.GetListIndex(QStringLiteral("18.0")), -1);
  EXPECT_EQ(list.ItemGetter(9), QString());

  list.Execute(jxstDesc, reg);
  EXPECT_EQ(list.ItemGetter(0), QStringLiteral("すべて"));
  EXPECT_EQ(list.ItemGetter(1), QStringLiteral("26版"));
  EXPECT_EQ(list.ItemGetter(2), QStringLiteral("25版 改"));

  SystemDef.AppVerMajor = 16;
  TSeihinVersionList empty;
  empty.Execute(jxstAsc, Registry(dir.file(QStringLiteral("none.ini"))));
  EXPECT_EQ(empty.ItemCount(), 0);
}

}  // namespace
