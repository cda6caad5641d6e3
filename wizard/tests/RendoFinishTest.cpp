#include "wizard/RendoFinish.h"

#include "wizard/UtiwakesyoXml.h"
#include "wizard/tests/ExportEnv.h"

#include <QFile>

#include <functional>

namespace {

// An export whose DATA element comes from given rows, or whose balance
// step fails as told.
class RowsExport : public TComDataExport {
public:
  RowsExport(TUtiwakesyoRows rows, std::function<void()> fail)
      : TComDataExport(QString(), QString(), 3), rows_(std::move(rows)), fail_(std::move(fail)) {}
  void SetDataNode(TXmlSaveDoc& doc) override {
    if (fail_) fail_();
    int code = 0;
    fnUtiwakesyoWriteData(doc, rows_, code);
  }

private:
  TUtiwakesyoRows rows_;
  std::function<void()> fail_;
};

QByteArray readFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

}  // namespace

TEST_F(ExportEnv, FinishGivesTheEndStateAndTheTextsToShow) {
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
      {"account without name", {good, nameless}, nullptr, false, 2,
       QStringLiteral("空の科目名が設定されています。\r科目ｺｰﾄﾞ:112\r"), false},
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
    const QString out = c.folderMissing ? dir.file(QStringLiteral("missing/out.xml")) : dir.file(QStringLiteral("out.xml"));
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
