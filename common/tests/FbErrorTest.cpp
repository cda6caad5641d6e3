#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "RecordingHook.h"
#include "common/AccRecord.h"
#include "common/FbError.h"
#include "common/IBErrorText.h"
#include "db/DbError.h"
#include "platform/TextCodec.h"

namespace {

QStringList readLog(const QString& path)
{
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly))
    return {};
  QString text = fromCp932(f.readAll());
  QStringList lines = text.split(QStringLiteral("\r\n"));
  if (!lines.isEmpty() && lines.last().isEmpty())
    lines.removeLast();
  return lines;
}

class FbErrorTest : public ::testing::Test {
 protected:
  void SetUp() override
  {
    pcAccRecordReset();
    SystemDef.LOG = dir.filePath("log");
    SystemDef.PCNAME = "pc-1";
    SystemDef.OPCODE = 100000101;
    SystemDef.SERVERNAME = "srv";
    SystemDef.AppVersion = "17.0.0";
  }
  void TearDown() override { pcAccRecordReset(); }

  QString logFile() const { return dir.filePath("log/ErrFbAccess.log"); }
  QString lastFile() const { return dir.filePath("log/ErrFbAccess.txt"); }

  QTemporaryDir dir;
  RecordingHook hook;
};

TEST(IBErrorText, TableOfCodes)
{
  struct Case {
    int code;
    int sqlcode;
    const char16_t* text;
  } cases[] = {
      {335544321, -802, u"（算術式の例外，数値のオーバーフロー，文字列の切り捨てのいずれかが発生しました）"},
      {335544323, -902, u"（ファイル<\"\"> は有効なデータベースではありません）"},
      {335544333, -902, u"（isc 内部のソフトウェア一貫性チェック）"},
      {335544335, -902, u"（データベースファイルが破損している可能性があります"},
      {335544344, -902, u"（ファイルの入出力エラーが発生しました）"},
      {335544345, -901, u"（NO WAIT トランザクションのロックが衝突しています）"},
      {335544466, -530,
       u"（他のテーブルが参照しているか？ "
       u"又は、マスターが登録されていません。,『キーの追加・削除・変更はできません』）"},
      {335544472, -902, u"（ユーザー名とパスワードが定義されていません。）"},
      {335544665, -803, u"（同じコードが登録されています。「PRIMARY KEY またはUNIQUE KEY 制約に違反」）"},
      {335544701, 0, u"（符号なし16 ビット整数を入力してください）"},
      {335544788, -901,
       u"（操作を実行することができません。データベースのSYSDBAか所有者のどちらかでなければなりません。）"},
      {335544788, 0, u" "},
      {336330766, 0, u"（データベースの上書きはできません。）"},
      {336330817, -902, u"（ディレクトリ名・データーベスに全角文字は使用できません。）"},
      {336330817, -901, u" "},
      {335544450, -901, u" "},  // in the code range, explained by nothing
      {335544721, -902, u" "},  // the network error has no row
      {335544379, 0, u" "},     // a gap in the table
      {0, 0, u" "},
      {-1, 0, u" "},
  };
  for (const auto& c : cases)
    EXPECT_EQ(fnGetIBErrorText(c.code, c.sqlcode), QString::fromUtf16(c.text)) << c.code << "/" << c.sqlcode;
}

TEST_F(FbErrorTest, CodesToBoxesAndFatalState)
{
  struct Case {
    int code;
    bool fatal;
    const char16_t* mustShow;  // a piece of the box text
  } cases[] = {
      {335544345, false, u"（NO WAIT トランザクションのロックが衝突しています）"},
      {335544472, false, u"IBXエラーコード:335544472"},
      {335544665, false, u"[詳細情報]"},
      {335544344, false, u"（ファイルの入出力エラーが発生しました）"},
      {335544721, true, u"何らかの原因でネットワークが物理的に切断されている"},
      {335544726, true, u"何らかの原因でネットワークが物理的に切断されている"},
      {335544333, true, u"（isc 内部のソフトウェア一貫性チェック）\r\r[OK]ボタンを押すと"},
  };
  for (const auto& c : cases) {
    FbFatalLatch = false;
    hook.boxes.clear();
    hook.terminations = 0;
    const db::DbError e(QStringLiteral("server says no"), c.code, -901);
    EXPECT_EQ(fnIsFatalFbError(e), c.fatal) << c.code;
    fnShowFbError(e, QStringLiteral("TDM.Step"), QStringLiteral("データリストの更新に失敗しました。"), true);
    EXPECT_EQ(FbFatalLatch, c.fatal) << c.code;
    EXPECT_EQ(hook.terminations, c.fatal ? 1 : 0) << c.code;
    ASSERT_EQ(hook.boxes.size(), 1u) << c.code;
    EXPECT_EQ(hook.boxes[0].type, int(mtError));
    EXPECT_EQ(hook.boxes[0].buttons, TMsgDlgButtons(mbOK));
    EXPECT_TRUE(hook.boxes[0].text.contains(QString::fromUtf16(c.mustShow))) << c.code;
    // A fatal box replaces the caller's text; stand-alone use adds the note.
    EXPECT_EQ(hook.boxes[0].text.contains(QStringLiteral("データリストの更新に失敗しました。")), !c.fatal);
    EXPECT_EQ(hook.boxes[0].text.endsWith(FbStandAloneNote), c.fatal);
  }
}

TEST_F(FbErrorTest, NonFatalBoxLayoutAndEmptyMessage)
{
  const db::DbError lock(QStringLiteral("lock conflict on no wait transaction"), 335544345, -913);
  fnShowFbError(lock, QStringLiteral("TDataSentakuListCtl.UpdateDataListRecord"),
                QStringLiteral("データリストの更新に失敗しました。"), true);
  ASSERT_EQ(hook.boxes.size(), 1u);
  EXPECT_EQ(
      hook.boxes[0].text,
      QStringLiteral("データリストの更新に失敗しました。\r\r[詳細情報]\rIBXエラーコード:335544345\r"
                     "lock conflict on no wait transaction\r（NO WAIT トランザクションのロックが衝突しています）"));
  // An empty message and a non-fatal code: logged, no box.
  fnShowFbError(lock, QStringLiteral("Step2"), QString(), true);
  EXPECT_EQ(hook.boxes.size(), 1u);
  EXPECT_EQ(readLog(logFile()).size(), 4);
  EXPECT_FALSE(FbFatalLatch);
}

TEST_F(FbErrorTest, LogLinesAndTheLatch)
{
  SystemDef.SERIAL = "S-1";
  const db::DbError first(QStringLiteral("line one\nline two"), 335544665, -803);
  fnShowFbError(first, QStringLiteral("TDM.First"), QString(), true);
  const QStringList log1 = readLog(logFile());
  ASSERT_EQ(log1.size(), 2);
  const QStringList fields = log1[0].split(QLatin1Char(','));
  ASSERT_EQ(fields.size(), 7);
  EXPECT_TRUE(
      QRegularExpression(QStringLiteral("^\\d{4}/\\d{2}/\\d{2} \\d{2}:\\d{2}:\\d{2}$")).match(fields[0]).hasMatch())
      << fields[0].toStdString();
  EXPECT_EQ(fields.mid(1),
            (QStringList{"pc-1", "100000101", "Serial=S-1", "AppVer=17.0.0", "DBName=srv:", "DataVer="}));
  EXPECT_EQ(log1[1], QStringLiteral("Error=TDM.First [335544665] (-803) （同じコードが登録されています。「PRIMARY KEY "
                                    "またはUNIQUE KEY 制約に違反」）,line one line two"));
  EXPECT_EQ(readLog(lastFile()), log1);

  const db::DbError lost(QStringLiteral("connection lost"), 335544721, -902);
  fnShowFbError(lost, QStringLiteral("TDM.Second"), QString(), true);
  EXPECT_TRUE(FbFatalLatch);
  EXPECT_EQ(readLog(logFile()).size(), 4);
  EXPECT_EQ(readLog(lastFile()).size(), 2);
  EXPECT_TRUE(readLog(lastFile())[1].startsWith("Error=TDM.Second [335544721]"));
  ASSERT_EQ(hook.boxes.size(), 1u);  // fatal: shown even without a message
  EXPECT_EQ(hook.terminations, 1);

  // After the latch every later error is ignored: no log line, no box.
  fnShowFbError(first, QStringLiteral("TDM.Third"), QStringLiteral("x"), true);
  EXPECT_EQ(readLog(logFile()).size(), 4);
  EXPECT_EQ(hook.boxes.size(), 1u);
  EXPECT_EQ(hook.terminations, 1);
}

TEST_F(FbErrorTest, AFailedLogWriteStillEndsTheApplication)
{
  // The log folder cannot be created: a plain file stands in its way.
  QFile blocker(dir.filePath("blocked"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  SystemDef.LOG = dir.filePath("blocked/log");
  AppType = jxatCS;
  fnShowFbError(db::DbError(QStringLiteral("gone"), 335544721, -902), QStringLiteral("S"), QString(), true);
  EXPECT_TRUE(FbFatalLatch);
  EXPECT_EQ(hook.terminations, 1);
  ASSERT_EQ(hook.boxes.size(), 1u);
  EXPECT_EQ(hook.boxes[0].text, FbNetworkText);  // no stand-alone note in client/server use
}

TEST_F(FbErrorTest, DetailCommaAndCalcReports)
{
  fnShowErrorDetail(QString(), QString(), mtError);
  EXPECT_TRUE(hook.boxes.empty());
  fnShowErrorDetail(QStringLiteral("本文"), QString(), mtWarning);
  fnShowErrorDetail(QStringLiteral("本文"), QStringLiteral("詳細"), mtError);
  fnShowCommaMessage(QStringLiteral("一行目,二行目//comment"), mtError);
  fnShowCommaMessage(QString(), mtInformation);
  ASSERT_EQ(hook.boxes.size(), 4u);
  EXPECT_EQ(hook.boxes[0].text, QStringLiteral("本文"));
  EXPECT_EQ(hook.boxes[0].type, int(mtWarning));
  EXPECT_EQ(hook.boxes[1].text, QStringLiteral("本文\r\r[詳細情報]\r詳細"));
  EXPECT_EQ(hook.boxes[2].text, QStringLiteral("一行目\r二行目\r"));
  EXPECT_EQ(hook.boxes[3].text, QStringLiteral("\r"));

  hook.boxes.clear();
  const db::DbError e(QStringLiteral("msg"), 335544345, -913);
  fnShowFbCalcError(e, QStringLiteral("試算表読込"), false);
  fnShowFbCalcError(e, QStringLiteral("合計名称読込"), false);
  ASSERT_EQ(hook.boxes.size(), 2u);
  EXPECT_EQ(hook.boxes[0].text, QStringLiteral("試算表読込\r\nErrCode<335544345>  SQLCODE<-913>\r\nmsg\r\r\n（NO WAIT "
                                               "トランザクションのロックが衝突しています）\r\n"));
  const QStringList txt = readLog(dir.filePath("log/FB_ERROR.TXT"));
  ASSERT_EQ(txt.size(), 13);
  EXPECT_EQ(txt.mid(0, 5), (QStringList{"合計名称読込", "ErrCode<335544345>  SQLCODE<-913>", "msg", "",
                                        "（NO WAIT トランザクションのロックが衝突しています）"}));
  EXPECT_EQ(txt[5], "PG_VERSION[17.0.0]");
  EXPECT_EQ(txt[8], "Server[srv]");
  EXPECT_EQ(txt[11], "pc-1");
  EXPECT_EQ(readLog(dir.filePath("log/FB_ERROR.LOG")).size(), 26);
  EXPECT_FALSE(FbFatalLatch);
}

// A lost connection during a computation (the read and write errors a
// Firebird 3 client reports, or the network error itself) is told as the
// network text, once, and ends the application; later errors say nothing.
TEST_F(FbErrorTest, ALostConnectionInAComputationIsTheNetworkTextOnce)
{
  for (const int code : {335544726, 335544727, 335544721}) {
    FbFatalLatch = false;
    hook.boxes.clear();
    hook.terminations = 0;
    AppType = jxatCS;
    const db::DbError lost(QStringLiteral("Error reading data from the connection."), code, -902);
    fnShowFbCalcError(lost, QStringLiteral("試算表読込"), false);
    fnShowFbCalcError(lost, QStringLiteral("合計名称読込"), false);
    fnShowFbCalcError(db::DbError(QStringLiteral("msg"), 335544345, -913), QStringLiteral("試算表読込"), false);
    EXPECT_TRUE(FbFatalLatch) << code;
    EXPECT_EQ(hook.terminations, 1) << code;
    ASSERT_EQ(hook.boxes.size(), 1u) << code;
    EXPECT_EQ(hook.boxes[0].text, FbNetworkText) << code;
    // Logged as the database error it is.
    EXPECT_TRUE(readLog(lastFile())[1].startsWith(QStringLiteral("Error=試算表読込 [%1]").arg(code))) << code;
  }
}

}  // namespace
