#include <array>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "common/AccRecord.h"
#include "platform/IniFile.h"
#include "platform/Registry.h"
#include "platform/TextCodec.h"
#include "wizard/ComDataExp.h"
#include "wizard/Ug13.h"
#include "wizard/tests/ExportEnv.h"

namespace {

QByteArray readFile(const QString& path)
{
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly))
    return QByteArray("<missing>");
  return f.readAll();
}

}  // namespace

TEST_F(ExportEnv, InstalledProductIsTheLastMatchingRegistryKey)
{
  struct Case {
    const char* what;
    QList<std::array<QString, 3>> products;
    QString name;
    QString version;
  };
  const Case cases[] = {
      {"no registry at all", {}, QString(), QString()},
      {"last of two matching keys wins",
       {{QStringLiteral("WQZaimu16"), QStringLiteral("Old"), QStringLiteral("16.9.9")},
        {QStringLiteral("WqZaimu17Std"), QStringLiteral("Standard"), QStringLiteral("17.0.1")},
        {QStringLiteral("Other17"), QStringLiteral("Other"), QStringLiteral("99.0.0")},
        {QStringLiteral("WQZAIMU17Pro"), QStringLiteral("財務Pro"), QStringLiteral("17.2.0")}},
       QStringLiteral("財務Pro"),
       QStringLiteral("17.2.0")},
      {"only other versions installed",
       {{QStringLiteral("WQZaimu16"), QStringLiteral("Old"), QStringLiteral("16.9.9")},
        {QStringLiteral("WQZaimu1"), QStringLiteral("Older"), QStringLiteral("1.0.0")}},
       QString(),
       QString()},
      {"the matching key lacks the values: no fallback to an earlier key",
       {{QStringLiteral("WQZaimu17A"), QStringLiteral("A"), QStringLiteral("17.0.0")},
        {QStringLiteral("WQZaimu17B"), QString(), QString()}},
       QString(),
       QString()},
  };
  for (const Case& c : cases) {
    QFile::remove(registryFile());
    if (!c.products.isEmpty())
      registerProducts(c.products);
    TUtiwakesyoDataExport exp(QString(), QString(), 0);
    EXPECT_EQ(exp.PGNAME, c.name) << c.what;
    EXPECT_EQ(exp.PGVER, c.version) << c.what;
    EXPECT_EQ(exp.RENDOCAPTION, QStringLiteral("内訳概況書の玄匠 from ") + c.name + QStringLiteral("（内訳書）"))
        << c.what;
  }
}

TEST_F(ExportEnv, IdentityOfTheLink)
{
  struct Case {
    int functionId;
    int importType;
    int fileFunctionId;
  };
  const Case cases[] = {{0, 0, 1}, {1, 1, 1}, {3, 3, 3}};
  for (const Case& c : cases) {
    TUtiwakesyoDataExport exp(QStringLiteral("ignored"), QStringLiteral("/tmp/out.xml"), c.functionId);
    EXPECT_EQ(exp.IMPORTTYPE, c.importType);
    EXPECT_EQ(exp.FUNCTIONID, c.fileFunctionId);
    EXPECT_EQ(exp.GYOUMUPREFIX, QStringLiteral("UG13"));
    EXPECT_EQ(exp.RENDOSAKIID, QStringLiteral("UG"));
    EXPECT_EQ(exp.RENDOSAKIAPP, QStringLiteral("内訳概況書の玄匠（内訳書）"));
    EXPECT_EQ(exp.CONPGVER, QStringLiteral("17.0.0"));
    EXPECT_EQ(exp.WQZPERMITVER, QStringLiteral("17.0.0"));
    EXPECT_EQ(exp.KENSAKU_VERSION, QStringLiteral("17.0"));
    EXPECT_EQ(exp.KENSAKU_VERSION_MAJOR, QStringLiteral("17"));
    EXPECT_EQ(exp.SIME, 99);
    EXPECT_EQ(exp.FComDocIni, dir.file(QStringLiteral("common/Maker/Zaimu/ini")));
    EXPECT_TRUE(QFileInfo(exp.FComDocIni).isDir());
  }
}

TEST_F(ExportEnv, LinkSettingsAreReadAtCreation)
{
  struct Case {
    const char* what;
    bool fileExists;
    int functionId;
    QString argPath;
    QString expPath;  // ExpFilePath after creation
    QString data;
    QString komonsaki;
  };
  const Case cases[] = {
      {"no file, no function number: every value empty", false, 0, QStringLiteral("/arg.xml"), QString(), QString(),
       QString()},
      {"no file, a function number keeps the argument's path", false, 5, QStringLiteral("/arg.xml"),
       QStringLiteral("/arg.xml"), QString(), QString()},
      {"no function number: the remembered output file replaces the path", true, 0, QStringLiteral("/arg.xml"),
       QStringLiteral("/home/u/前回,出力.xml"), QStringLiteral("/data/0001"), QStringLiteral("㈱髙橋商店")},
      {"a function number: EXPORTFILE is not read", true, 2, QStringLiteral("/arg.xml"), QStringLiteral("/arg.xml"),
       QStringLiteral("/data/0001"), QStringLiteral("㈱髙橋商店")},
  };
  for (const Case& c : cases) {
    QFile::remove(linkFile());
    if (c.fileExists)
      writeLinkFile(QStringLiteral("/data/0001"), QStringLiteral("㈱髙橋商店"),
                    QStringLiteral("/home/u/前回,出力.xml"));
    TUtiwakesyoDataExport exp(QString(), c.argPath, c.functionId);
    EXPECT_EQ(exp.ExpFilePath, c.expPath) << c.what;
    EXPECT_EQ(exp.DataFilePathA, c.data) << c.what;
    EXPECT_EQ(exp.KOMONSAKI, c.komonsaki) << c.what;
    exp.pcSaveLinkSettings();  // leaves the file as it was read
  }
}

TEST_F(ExportEnv, LinkSettingsAreWrittenBackAtTheEnd)
{
  struct Case {
    const char* what;
    int functionId;
    QString komonsaki;
    QString exportFile;  // EXPORTFILE in the file afterwards
  };
  const Case cases[] = {
      {"without a function number the output file is remembered", 0, QStringLiteral("①産業㈱"),
       QStringLiteral("/out/new.xml")},
      {"with one it is left as it was", 4, QStringLiteral("①産業㈱"), QStringLiteral("/old.xml")},
      {"a name outside code page 932 survives", 0, QStringLiteral("Café 😀"), QStringLiteral("/out/new.xml")},
  };
  for (const Case& c : cases) {
    QFile::remove(linkFile());
    writeLinkFile(QStringLiteral("/data/old"), QStringLiteral("old"), QStringLiteral("/old.xml"));
    {
      TUtiwakesyoDataExport exp(QString(), QString(), c.functionId);
      exp.DataFilePathA = QStringLiteral("/data/0002");
      exp.KOMONSAKI = c.komonsaki;
      exp.ExpFilePath = QStringLiteral("/out/new.xml");
    }  // written when the export object goes
    const IniFile ini(linkFile());
    EXPECT_EQ(ini.ReadString(QStringLiteral("UTIWAKESYO"), QStringLiteral("DATA")), QStringLiteral("/data/0002"))
        << c.what;
    EXPECT_EQ(ini.ReadString(QStringLiteral("UTIWAKESYO"), QStringLiteral("KOMONSAKI")), c.komonsaki) << c.what;
    EXPECT_EQ(ini.ReadString(QStringLiteral("UTIWAKESYO"), QStringLiteral("EXPORTFILE")), c.exportFile) << c.what;
    EXPECT_EQ(ini.ReadString(QStringLiteral("OTHERKIND"), QStringLiteral("DATA")), QStringLiteral("keep me")) << c.what;
  }
  // A new file is written in code page 932, which the tax-form program reads.
  QFile::remove(linkFile());
  {
    TUtiwakesyoDataExport exp(QString(), QString(), 0);
    exp.KOMONSAKI = QStringLiteral("髙①");
  }
  EXPECT_TRUE(readFile(linkFile()).contains(QByteArray("KOMONSAKI=\xFB\xFC\x87\x40")));
}

TEST_F(ExportEnv, LinkSettingsWriteFailureIsReported)
{
  TUtiwakesyoDataExport exp(QString(), QString(), 0);
  // The settings folder is taken by a file: nothing can be written there.
  QDir(exp.FComDocIni).removeRecursively();
  QFile blocker(exp.FComDocIni);
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  EXPECT_THROW(exp.pcSaveLinkSettings(), EIniFileError);
}

TEST_F(ExportEnv, SystemAndBasicElements)
{
  registerProducts({{QStringLiteral("WQZaimu17"), QStringLiteral("財務会計<17>"), QStringLiteral("17.1.0")}});
  struct Case {
    int functionId;
    TDateTime from;
    TDateTime to;
    QString komonsaki;
    QString body;
  };
  const TDateTime apr1 = EncodeDate(2024, 4, 1);
  const TDateTime mar31 = EncodeDate(2025, 3, 31);
  const Case cases[] = {
      {0, apr1, mar31, QStringLiteral("A&B㈱"),
       QStringLiteral("<REPORT><SYSTEM><GYOUMUPREFIX>UG13</GYOUMUPREFIX><VERSION>1</VERSION>"
                      "<FUNCTIONID>1</FUNCTIONID><CONNECTEDPROGRAMVER>17.0.0</CONNECTEDPROGRAMVER>"
                      "<PROGRAMNAME>財務会計&amp;lt;17&amp;gt;</PROGRAMNAME><PROGRAMVER>17.1.0</PROGRAMVER></SYSTEM>"
                      "<BASIC><KOMONSAKINAME>A&amp;amp;B㈱</KOMONSAKINAME><JIGYOUNENDOFROM>20240401</JIGYOUNENDOFROM>"
                      "<JIGYOUNENDOTO>20250331</JIGYOUNENDOTO></BASIC></REPORT>")},
      {7, 0, 0, QString(),
       QStringLiteral("<REPORT><SYSTEM><GYOUMUPREFIX>UG13</GYOUMUPREFIX><VERSION>1</VERSION>"
                      "<FUNCTIONID>7</FUNCTIONID><CONNECTEDPROGRAMVER>17.0.0</CONNECTEDPROGRAMVER>"
                      "<PROGRAMNAME>財務会計&amp;lt;17&amp;gt;</PROGRAMNAME><PROGRAMVER>17.1.0</PROGRAMVER></SYSTEM>"
                      "<BASIC><KOMONSAKINAME/><JIGYOUNENDOFROM>18991230</JIGYOUNENDOFROM>"
                      "<JIGYOUNENDOTO>18991230</JIGYOUNENDOTO></BASIC></REPORT>")},
  };
  for (const Case& c : cases) {
    TUtiwakesyoDataExport exp(QString(), QString(), c.functionId);
    exp.KOMONSAKI = c.komonsaki;
    exp.JIGYONENDOFROM = c.from;
    exp.JIGYONENDOTO = c.to;
    TXmlSaveDoc doc(QStringLiteral("1.0"), QStringLiteral("Shift_JIS"), QString());
    exp.SetSystemNode(doc);
    exp.SetBasicNode(doc);
    EXPECT_EQ(doc.fnXmlSaveToBytes(), "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n" + toCp932(c.body) + "\n")
        << c.functionId;
  }
}

TEST(RendoExportFileName, NameWithoutFolderGoesToDocuments)
{
  struct Case {
    QString path;
    QString full;
  };
  const Case cases[] = {
      {QStringLiteral("out.xml"), QStringLiteral("/home/u/Documents/out.xml")},
      {QStringLiteral("/work/out.xml"), QStringLiteral("/work/out.xml")},
      {QStringLiteral("sub/out.xml"), QStringLiteral("sub/out.xml")},
      {QStringLiteral("C:\\work\\out.xml"), QStringLiteral("C:\\work\\out.xml")},
  };
  for (const Case& c : cases)
    EXPECT_EQ(fnRendoExportFileName(c.path, QStringLiteral("/home/u/Documents")), c.full) << c.path.toStdString();
}

TEST_F(ExportEnv, AFailedComputationWritesNoFile)
{
  // No company database is open: the balance reading cannot run.
  const QString out = dir.file(QStringLiteral("out.xml"));
  QFile earlier(out);
  ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
  earlier.write("earlier import file");
  earlier.close();

  TUtiwakesyoDataExport exp(QString(), out, 3);
  try {
    pcRendoWriteImportFile(exp, out);
    ADD_FAILURE() << "the export reported success";
  } catch (const EDataExportError& e) {
    EXPECT_EQ(e.ErrorCode(), 1);
    EXPECT_EQ(e.Message(), QStringLiteral("科目の集計処理に失敗しました。"));
    EXPECT_EQ(e.Context(), QString());
  }
  EXPECT_EQ(readFile(out), QByteArray("earlier import file"));
}
