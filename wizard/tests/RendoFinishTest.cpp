#include <functional>

#include <QFile>

#include "platform/TextCodec.h"
#include "wizard/RendoFinish.h"
#include "wizard/UtiwakesyoXml.h"
#include "wizard/tests/ExportEnv.h"

namespace {

// An export whose DATA element comes from given rows, or whose balance
// step fails as told.
class RowsExport : public TComDataExport {
 public:
  RowsExport(TUtiwakesyoRows rows, std::function<void()> fail)
      : TComDataExport(QString(), QString(), 3), rows_(std::move(rows)), fail_(std::move(fail))
  {
  }
  void SetDataNode(TXmlSaveDoc& doc) override
  {
    if (fail_)
      fail_();
    int code = 0;
    fnUtiwakesyoWriteData(doc, rows_, code);
  }

 private:
  TUtiwakesyoRows rows_;
  std::function<void()> fail_;
};

QByteArray readFile(const QString& path)
{
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

}  // namespace

TEST_F(ExportEnv, FinishGivesTheEndStateAndTheTextsToShow)
{
  TUtiwakesyoRow good;
  good.KCODE = good.USERCODE = QStringLiteral("111");
  good.KNAME = QStringLiteral("現金");
  good.DAC = 1;
  good.WNUM4 = Currency::fromInt(10);
  TUtiwakesyoRow nameless = good;
  nameless.USERCODE = QStringLiteral("112");
  nameless.KNAME = QStringLiteral("　");

  struct Case {
    const char* what;
    TUtiwakesyoRows rows;
    std::function<void()> fail;
    bool folderMissing;
    int endState;
    QString exportError;
    bool exceptionShown;
  };
  const Case cases[] = {
      {"created", {good}, nullptr, false, 0, QString(), false},
      {"account without name",
       {good, nameless},
       nullptr,
       false,
       2,
       QStringLiteral("空の科目名が設定されています。\r科目ｺｰﾄﾞ:112\r"),
       false},
      {"computation failed",
       {good},
       [] { throw EDataExportError(QStringLiteral("科目の集計処理に失敗しました。"), QString(), 1); },
       false,
       2,
       QStringLiteral("科目の集計処理に失敗しました。\r\r"),
       false},
      {"any other exception", {good}, [] { throw std::runtime_error("disk on fire"); }, false, 2, QString(), true},
      {"file cannot be written", {good}, nullptr, true, 2, QString(), true},
  };
  for (const Case& c : cases) {
    const QString out =
        c.folderMissing ? dir.file(QStringLiteral("missing/out.xml")) : dir.file(QStringLiteral("out.xml"));
    QFile::remove(out);
    if (!c.folderMissing) {
      QFile f(out);
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write("earlier");
    }
    RowsExport exp(c.rows, c.fail);
    const TRendoFinishOutcome r = fnRendoFinish(exp, out);
    EXPECT_EQ(r.EndState, c.endState) << c.what;
    EXPECT_EQ(r.Created, c.endState == 0) << c.what;
    EXPECT_EQ(r.ExportErrorText, c.exportError) << c.what;
    EXPECT_EQ(!r.ExceptionText.isEmpty(), c.exceptionShown) << c.what;
    if (c.endState == 0) {
      EXPECT_EQ(r.CreatedText, QStringLiteral("中間ファイルが作成されました。\r"));
      EXPECT_TRUE(r.FailureText.isEmpty());
      EXPECT_TRUE(readFile(out).contains("<KANJYOKAMOKU_ZANDAKA>10</KANJYOKAMOKU_ZANDAKA>")) << c.what;
    } else {
      EXPECT_EQ(r.FailureText, QStringLiteral("中間ファイルの作成に失敗しました。\r")) << c.what;
      EXPECT_TRUE(r.CreatedText.isEmpty());
      EXPECT_EQ(readFile(out), c.folderMissing ? QByteArray("<missing>") : QByteArray("earlier")) << c.what;
    }
  }
}

TEST_F(ExportEnv, CreatedFileByteForByte)
{
  RegistryWriter w(registryFile());
  w.WriteString(kComRegKey + QStringLiteral("\\WQZaimu17"), QStringLiteral("Product"), QStringLiteral("財務～会計"));
  w.WriteString(kComRegKey + QStringLiteral("\\WQZaimu17"), QStringLiteral("Version"), QStringLiteral("17.0.2"));
  w.UpdateFile();

  TUtiwakesyoRow cash;
  cash.KCODE = QStringLiteral("1101");
  cash.USERCODE = QStringLiteral("111");
  cash.KNAME = QStringLiteral("現金😀");
  cash.DAC = 1;
  cash.WNUM4 = Currency::fromInt(1200);
  TUtiwakesyoRow payable;
  payable.KCODE = QStringLiteral("3102");
  payable.USERCODE = QStringLiteral("321");
  payable.KNAME = QStringLiteral("買掛金");
  payable.DAC = 2;
  payable.WNUM4 = Currency::fromInt(800);
  payable.HOJONUM = 1;
  payable.HOJOUTIWAKE = {{QStringLiteral("01"), QStringLiteral("①髙木製作所"), Currency::fromInt(800)}};

  RowsExport exp({TUtiwakesyoRow{}, cash, payable}, nullptr);
  exp.KOMONSAKI = QStringLiteral("㈱髙橋～商事 \"A&B\"");
  exp.JIGYONENDOFROM = EncodeDate(2024, 4, 1);
  exp.JIGYONENDOTO = EncodeDate(2025, 3, 31);
  const QString out = dir.file(QStringLiteral("out.xml"));
  ASSERT_TRUE(fnRendoFinish(exp, out).Created);

  const QString body = QStringLiteral(
      "<REPORT><SYSTEM><GYOUMUPREFIX>UG13</GYOUMUPREFIX><VERSION>1</VERSION><FUNCTIONID>3</FUNCTIONID>"
      "<CONNECTEDPROGRAMVER>17.0.0</CONNECTEDPROGRAMVER><PROGRAMNAME>財務～会計</PROGRAMNAME>"
      "<PROGRAMVER>17.0.2</PROGRAMVER></SYSTEM>"
      "<BASIC><KOMONSAKINAME>㈱髙橋～商事 &amp;quot;A&amp;amp;B&amp;quot;</KOMONSAKINAME>"
      "<JIGYOUNENDOFROM>20240401</JIGYOUNENDOFROM><JIGYOUNENDOTO>20250331</JIGYOUNENDOTO></BASIC>"
      "<DATA><KANJYOKAMOKU Count=\"1\"><KANJYOKAMOKU_CODE>111</KANJYOKAMOKU_CODE>"
      "<KANJYOKAMOKU_NAME>現金&#x1F600;</KANJYOKAMOKU_NAME><KANJYOKAMOKU_ZANDAKA>1200</KANJYOKAMOKU_ZANDAKA>"
      "</KANJYOKAMOKU><KANJYOKAMOKU Count=\"2\"><KANJYOKAMOKU_CODE>321</KANJYOKAMOKU_CODE>"
      "<KANJYOKAMOKU_NAME>買掛金</KANJYOKAMOKU_NAME><KANJYOKAMOKU_ZANDAKA>-800</KANJYOKAMOKU_ZANDAKA>"
      "<HOJYOKAMOKU Count=\"1\"><HOJYOKAMOKU_CODE>01</HOJYOKAMOKU_CODE>"
      "<HOJYOKAMOKU_NAME>①髙木製作所</HOJYOKAMOKU_NAME><HOJYOKAMOKU_ZANDAKA>-800</HOJYOKAMOKU_ZANDAKA>"
      "</HOJYOKAMOKU></KANJYOKAMOKU></DATA></REPORT>");
  EXPECT_EQ(readFile(out), "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n" + toCp932(body) + "\n");
}
