#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include "platform/TextCodec.h"
#include "print/Print360Engine.h"
#include "print/Print360Vdb.h"
#include "tests/support/MessageCollector.h"
#include "tests/support/TempDir.h"

namespace {

// Points the user's documents folder at a folder of the test (HOME, with no
// user-dirs file) for the life of the object.
class ScopedHome {
 public:
  explicit ScopedHome(const QString& home)
      : FHome(qgetenv("HOME")),
        FConfig(qgetenv("XDG_CONFIG_HOME")),
        FHadConfig(qEnvironmentVariableIsSet("XDG_CONFIG_HOME"))
  {
    qputenv("HOME", home.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/.config")).toLocal8Bit());
  }
  ~ScopedHome()
  {
    qputenv("HOME", FHome);
    if (FHadConfig)
      qputenv("XDG_CONFIG_HOME", FConfig);
    else
      qunsetenv("XDG_CONFIG_HOME");
  }

 private:
  QByteArray FHome, FConfig;
  bool FHadConfig;
};

QStringList logLines()
{
  QFile f(ErrorLogPath());
  if (!f.open(QIODevice::ReadOnly))
    return {};
  return QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

TEST(PrintEngine, ErrorLogCreatesItsFolderAndAppends)
{
  TestTempDir tmp;
  ScopedHome home(tmp.path());
  EXPECT_EQ(ErrorLogPath(), tmp.path() + QStringLiteral("/Documents/Print360_Error.log"));
  EXPECT_FALSE(QDir(tmp.file("Documents")).exists());
  WriteErrorLog(QStringLiteral("first"));
  WriteErrorLog(QStringLiteral("ImageOut.(TEXT):失敗"));
  const QStringList lines = logLines();
  ASSERT_EQ(lines.size(), 2);
  static const QRegularExpression stamp(QStringLiteral("^\\d\\d/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d  "));
  EXPECT_TRUE(stamp.match(lines[0]).hasMatch()) << lines[0].toStdString();
  EXPECT_TRUE(lines[0].endsWith(QStringLiteral("  first")));
  EXPECT_TRUE(lines[1].endsWith(QStringLiteral("  ImageOut.(TEXT):失敗")));
}

TEST(PrintEngine, ErrorLogThatCannotBeWrittenDoesNotThrow)
{
  TestTempDir tmp;
  // The documents folder is a file: neither the folder nor the log can be made.
  QFile blocker(tmp.file("Documents"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  ScopedHome home(tmp.path());
  EXPECT_NO_THROW(WriteErrorLog(QStringLiteral("lost")));
}

TEST(PrintEngine, OpenPrintTextFile)
{
  TestTempDir tmp;
  QFile f(tmp.file("data.TMP"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("*PRINT360*\r\nTEXT;1;1;あ;;;\r\nE;\r\n");
  f.close();

  testenv::ScopedMessageCollector messages;
  TPrintTextFile file;
  EXPECT_FALSE(OpenPrintTextFile(file, QString()));
  EXPECT_TRUE(messages.texts.isEmpty());

  const QString cwd = QDir::currentPath();
  QDir::setCurrent(tmp.path());
  EXPECT_TRUE(OpenPrintTextFile(file, QStringLiteral("data.TMP")));
  EXPECT_FALSE(OpenPrintTextFile(file, QStringLiteral("none.TMP")));
  QDir::setCurrent(cwd);
  EXPECT_EQ(messages.texts, QStringList{QStringLiteral("<none.TMP> が見つかりません。")});

  ASSERT_TRUE(OpenPrintTextFile(file, tmp.file("data.TMP")));
  file.Reset();
  EXPECT_EQ(file.ReadLine(), QStringLiteral("*PRINT360*"));
  EXPECT_EQ(file.ReadLine(), QStringLiteral("TEXT;1;1;あ;;;"));
}

TEST(PrintEngine, PrintTextFilesInTheirDetectedEncoding)
{
  TestTempDir tmp;
  const QString text = QStringLiteral("*PRINT360*□\r\nTEXT;1;1;日本語の帳票①;;;\r\n");
  struct Case {
    const char* name;
    QByteArray bytes;
  } cases[] = {
      {"utf8.TMP", text.toUtf8()},
      {"bom.TMP", QByteArray("\xEF\xBB\xBF") + text.toUtf8()},
      {"sjis.TMP", toCp932(text)},
  };
  for (const Case& c : cases) {
    QFile f(tmp.file(c.name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(c.bytes);
    f.close();
    TPrintTextFile file;
    ASSERT_TRUE(OpenPrintTextFile(file, tmp.file(c.name)));
    EXPECT_EQ(file.ReadLine(), QStringLiteral("*PRINT360*□")) << c.name;
    EXPECT_EQ(file.ReadLine(), QStringLiteral("TEXT;1;1;日本語の帳票①;;;")) << c.name;
    EXPECT_TRUE(file.Eof());
  }
}

TEST(PrintEngine, StartsWithFontListsAndThePrinterDevice)
{
  TestTempDir tmp;
  ScopedHome home(tmp.path());
  InitPrintEngine();
  EXPECT_TRUE(EngineReady);
  ASSERT_TRUE(VdbPrint);
  EXPECT_EQ(PageCount, 1);
  EXPECT_EQ(CurPageNo, 1);
  EXPECT_EQ(NumberedPages, 1);
  EXPECT_TRUE(PageNumberList.isEmpty());
  EXPECT_TRUE(SjisFonts.contains(QStringLiteral("IPAexMincho")) || SjisFonts.contains(QStringLiteral("IPAex明朝")));
  EXPECT_TRUE(SjisFonts.contains(QStringLiteral("ＭＳ 明朝")));
  EXPECT_TRUE(AllFonts.contains(QStringLiteral("ＭＳ ゴシック")));
  EXPECT_FALSE(AllFonts.isEmpty());
  for (const QStringList* list : {&SjisFonts, &SymbolFonts, &OemFonts, &EastEuropeFonts, &AllFonts})
    for (qsizetype i = 1; i < list->size(); ++i) {
      EXPECT_NE(list->at(i - 1).compare(list->at(i), Qt::CaseInsensitive), 0) << list->at(i).toStdString();
      EXPECT_LE(list->at(i).size(), 32);
    }
  QStringList faces;
  for (const char* f : {"Arial", "ARIAL", "arial", "Times", "Arial"})
    P360AddFaceName(faces, QLatin1String(f));
  P360AddFaceName(faces, QString(40, u'x'));
  EXPECT_EQ(faces, (QStringList{"Arial", "Times", "Arial", QString(32, u'x')}));
  EXPECT_EQ(P360FontFamily(QStringLiteral("ＭＳ 明朝")), QStringLiteral("IPAexMincho"));
  EXPECT_EQ(P360FontFamily(QStringLiteral("ＭＳ ゴシック")), QStringLiteral("IPAexGothic"));
  EXPECT_EQ(P360FontFamily(QStringLiteral("Other")), QStringLiteral("Other"));
  FinalizePrintEngine();
  EXPECT_FALSE(EngineReady);
  EXPECT_FALSE(VdbPrint);
}

TEST(PrintEngine, AMissingDocumentsFolderDoesNotStopTheEngine)
{
  TestTempDir tmp;
  QFile blocker(tmp.file("Documents"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  ScopedHome home(tmp.path());
  InitPrintEngine();
  EXPECT_TRUE(EngineReady);
  FinalizePrintEngine();
}

}  // namespace
