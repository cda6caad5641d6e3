// My Number information: check digits and display forms as tables, the log
// entries' texts, the log kept in the company database (distinct rising
// stamps, collisions retried with later stamps, dropped after four), and the
// information taken out of a data set and put back (stand-alone and
// client/server), including a value this installation cannot decipher.
#include <cmath>

#include <QFile>

#include "DataModuleTestUtil.h"
#include "common/AccCipher.h"
#include "common/MyNumber.h"
#include "platform/DateTime.h"
#include "tests/support/FirebirdServer.h"

namespace dmtest {
namespace {

TEST(MyNumberDigits, CheckDigitsOfBothKinds)
{
  struct Case {
    TJxMyNumber kind;
    const char* number;
    bool ok;
  } cases[] = {
      {jxmnKojin, "123456789018", true},
      {jxmnKojin, "123456789017", false},
      {jxmnKojin, "000000000000", true},   // remainder 0: check digit 0
      {jxmnKojin, "000000000060", true},   // remainder 1: check digit 0
      {jxmnKojin, "000000000061", false},  // ... and not 1
      {jxmnKojin, "987654321093", true},
      {jxmnKojin, "1234567890180", false},             // 13 characters
      {jxmnKojin, "12345678901", false},               // 11 characters
      {jxmnKojin, "12345678901A", false},              // a letter
      {jxmnKojin, "１２３４５６７８９０１８", false},  // full-width digits
      {jxmnKojin, "", false},
      {jxmnHojin, "7000012050002", true},
      {jxmnHojin, "6000012050002", false},
      {jxmnHojin, "9000000000000", true},
      {jxmnHojin, "0000000000000", false},
      {jxmnHojin, "7123456789012", true},
      {jxmnHojin, "123456789018", false},  // 12 characters
      {jxmnHojin, "70000120500-2", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TMyNumberIO::CheckMyNumberDigit(c.kind, QString::fromUtf8(c.number)), c.ok)
        << c.number << " kind " << int(c.kind);
}

TEST(MyNumberDigits, DisplayForms)
{
  struct Case {
    const char* value;
    const char* type;
    const char* shown;
  } cases[] = {
      {"123456789018", "-", "1234-5678-9018"},
      {"7000012050002", "-", "7-0000-1205-0002"},
      {"12345678901234", "-", "12345678901234"},
      {"12345", "-", "12345"},
      {"1234-5678-9018", "", "123456789018"},
      {"7-0000-1205-0002", "", "7000012050002"},
      {"123456789018", "*", "************"},
      {"1234567890123456789012", "*", "********************  "},
      {"123456789018", "#", "123456789018"},
      {"", "-", ""},
      {"", "*", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TMyNumberIO::FormatMyNumber(QString::fromUtf8(c.value), QString::fromUtf8(c.type)),
              QString::fromUtf8(c.shown))
        << c.value << " '" << c.type << "'";
}

TEST(MyNumberLogRecord, CommentsByStateAndProcessName)
{
  struct Case {
    TJxLogState state;
    const char* proc;
    const char* comment;
  } cases[] = {
      {jxlsNone, "x", "マイナンバー情報**されました。"},
      {jxlsAdd, "x", "マイナンバー情報が登録されました。"},
      {jxlsDelete, "x", "マイナンバー情報が削除されました。"},
      {jxlsPrint, "x", "マイナンバー情報が印刷されました。"},
      {jxlsHozon, "データ保存", "マイナンバー情報を含むデータが保存されました。"},
      {jxlsHozon, "データ送信", "マイナンバー情報を含むデータが送信されました。"},
      {jxlsFukugen, "データ受信", "マイナンバー情報を含むデータが受信されました。"},
      {jxlsFukugen, "データ送信", "マイナンバー情報を含むデータが復元されました。"},
      {jxlsHozonDelMyNumber, "送信", "マイナンバー情報を含めずにデータが送信されました。"},
      {jxlsHozonDelMyNumber, "保存", "マイナンバー情報を含めずにデータが保存されました。"},
      {jxlsInitPassword, "送信", "マイナンバー管理パスワードを既定値に設定しました。"},
      {jxlsUpdatePassword, "x", "マイナンバー管理パスワードを変更しました。"},
  };
  pcAccRecordReset();
  SystemDef.SERIAL = QStringLiteral("SER-1");
  SystemDef.OPCODE2 = 101;
  SystemDef.OPNAME = QStringLiteral("山田");
  SystemDef.PCNAME = QString(70, QLatin1Char('h'));
  TMyNumberIO io;
  for (const auto& c : cases) {
    TMyNumberLogRec r;
    r.Hizuke = 5;
    io.InitLogRecord(r, c.state, QString::fromUtf8(c.proc));
    EXPECT_EQ(r.Comment, QString::fromUtf8(c.comment)) << c.proc;
    EXPECT_EQ(r.Hizuke, 0);
    EXPECT_EQ(r.OpCode, "101");
    EXPECT_EQ(r.SerialNo, "SER-1");
    EXPECT_EQ(r.HostName, QString(60, QLatin1Char('h')));
  }
  // The process name is cut to 40 characters (a surrogate pair counts once)
  // before the tests look at it: "送信" beyond the cut does not count.
  TMyNumberLogRec r;
  const QString wide = QStringLiteral("𠮷").repeated(39);
  io.InitLogRecord(r, jxlsHozon, wide + QStringLiteral(" 送信"));
  EXPECT_EQ(r.ProcName, wide);
  EXPECT_EQ(r.Comment, QStringLiteral("マイナンバー情報を含むデータが保存されました。"));
  pcAccRecordReset();
}

class MyNumberData : public StandAlone, public ::testing::WithParamInterface<TJxAppType> {
 protected:
  void SetUp() override
  {
    StandAlone::SetUp();
    general = root.dataSets.at(0);
    AppType = GetParam();
    if (AppType == jxatCS) {
      FirebirdServer::shared();
      SystemDef.SERVERNAME = QStringLiteral("localhost");
    }
    SystemDef.SERIAL = QStringLiteral("SER-1");
    SystemDef.PCNAME = QStringLiteral("pc01");
    DM = dm.get();
  }
  void TearDown() override
  {
    if (dm)
      dm->fnAccDatDisConnected(general.folder, false, false, false);
    DM = nullptr;
    StandAlone::TearDown();
  }
  QString database() const
  {
    return AppType == jxatCS ? FirebirdServer::shared().remoteName(general.database) : general.database;
  }
  QString reg(const QString& code)
  {
    return readValue(database(),
                     QStringLiteral("SELECT ATEXT FROM ACCREG WHERE AGROUP='基本設定' AND ACODE='%1'").arg(code),
                     "ATEXT");
  }
  void setReg(const QString& code, const QString& type, const QString& text)
  {
    execSql(database(), QStringLiteral("UPDATE OR INSERT INTO ACCREG(AGROUP,ACODE,ATYPE,ATEXT) "
                                       "VALUES('基本設定','%1','%2','%3') MATCHING (AGROUP,ACODE)")
                            .arg(code, type, text));
  }
  QStringList logComments()
  {
    QStringList out;
    db::Database d;
    testfx::builder().open(d, database());
    db::Transaction tr(d);
    tr.start();
    db::Query q(tr, QStringLiteral("SELECT FCOMMENT FROM MYNUMBER_LOG ORDER BY FHIZUKE"));
    for (q.open(); !q.eof(); q.next())
      out << q.field(0).asString();
    q.close();
    tr.commit();
    return out;
  }

  sample::DataSet general;
};

TEST_P(MyNumberData, TakenOutAndPutBack)
{
  const QString key = fnJxEncipher(QStringLiteral("adm12345"), QStringLiteral("tobenza"), 8);
  const QString value = fnJxEncipher(QStringLiteral("123456789018"), QStringLiteral("tobenza"), 12);
  setReg(QStringLiteral("＃USE"), QStringLiteral("整数"), QStringLiteral("1"));
  setReg(QStringLiteral("＃KEY"), QStringLiteral("文字"), key);
  setReg(QStringLiteral("＃VALUE"), QStringLiteral("文字"), value);

  TMyNumberIO io;
  ASSERT_TRUE(
      io.GetMyNumberInfo(QString(), general.database, QStringLiteral("保存"), QStringLiteral("MyNumber_Clear")));
  EXPECT_EQ(io.MyNumberUseKbn(), 1);
  EXPECT_EQ(io.MyNumberPassword(), "adm12345");
  EXPECT_EQ(io.MyNumber(), "123456789018");
  EXPECT_EQ(reg("＃USE"), "0");
  EXPECT_EQ(reg("＃KEY"), "<none>");
  EXPECT_EQ(reg("＃VALUE"), "<none>");
  EXPECT_EQ(logComments(), QStringList{"マイナンバー情報が削除されました。"});
  EXPECT_FALSE(dm->IBDatabaseDAT.isConnected());

  ASSERT_TRUE(io.PasteMyNumber(QString(), general.database));
  EXPECT_EQ(reg("＃USE"), "1");
  EXPECT_EQ(fnJxDecipher(reg("＃KEY"), QStringLiteral("tobenza"), 8), "adm12345");
  EXPECT_EQ(fnJxDecipher(reg("＃VALUE"), QStringLiteral("tobenza"), 12), "123456789018");
  // The clearing leaves no trace in the log.
  EXPECT_EQ(logComments(), QStringList{});

  // A read without the clear request changes nothing.
  TMyNumberIO reader;
  ASSERT_TRUE(reader.GetMyNumberInfo(QString(), general.database, QString(), QString()));
  EXPECT_EQ(reader.MyNumber(), "123456789018");
  EXPECT_EQ(reg("＃USE"), "1");

  ASSERT_TRUE(reader.DeleteMyNumber(QString(), general.database));
  EXPECT_EQ(reg("＃USE"), "0");
  EXPECT_EQ(reg("＃KEY"), "<none>");
  EXPECT_EQ(logComments(), QStringList{});
  EXPECT_TRUE(hook.boxes.empty());
}

TEST_P(MyNumberData, ValuesEncipheredElsewhereSurviveTakingOutAndPuttingBack)
{
  setReg(QStringLiteral("＃USE"), QStringLiteral("整数"), QStringLiteral("1"));
  setReg(QStringLiteral("＃KEY"), QStringLiteral("文字"), QStringLiteral("FOREIGNKEYTEXT"));
  setReg(QStringLiteral("＃VALUE"), QStringLiteral("文字"), QStringLiteral("FOREIGNVALUETEXT"));
  TMyNumberIO io;
  ASSERT_TRUE(io.GetMyNumberInfo(QString(), general.database, QString(), QStringLiteral("MYNUMBER_CLEAR")));
  EXPECT_EQ(io.MyNumber(), QString());
  EXPECT_EQ(reg("＃VALUE"), "<none>");
  ASSERT_TRUE(io.PasteMyNumber(QString(), general.database));
  EXPECT_EQ(reg("＃KEY"), "FOREIGNKEYTEXT");
  EXPECT_EQ(reg("＃VALUE"), "FOREIGNVALUETEXT");
}

TEST_P(MyNumberData, LogEntriesGetDistinctStampsAndCollisionsRetryLater)
{
  TMyNumberIO io;
  // Entries written one after the other, faster than the clock moves.
  for (int i = 0; i < 30; ++i) {
    TMyNumberLogRec r;
    io.InitLogRecord(r, jxlsShow, QStringLiteral("参照"));
    ASSERT_TRUE(io.AddLog(r, QString(), general.database)) << i;
  }
  EXPECT_EQ(logComments().size(), 30);

  // An entry with its own stamp whose next three stamps are taken: stored at
  // the fourth try, one millisecond after each; with four taken it is
  // dropped without a message.
  const double ms = 1.0 / 86400000.0;
  TDateTime base = 0;
  auto stampsTaken = [&](int n) {
    base = std::floor(Now()) + 10 - n;  // ahead of the clock and of every stamp given before
    execSql(database(), "DELETE FROM MYNUMBER_LOG");
    for (int i = 0; i < n; ++i) {
      db::Database d;
      testfx::builder().open(d, database());
      db::Transaction tr(d);
      tr.start();
      db::Query q(tr, QStringLiteral("INSERT INTO MYNUMBER_LOG(FHIZUKE,FSERIAL,FOPCODE) VALUES(:H,'SER-1',:OP)"));
      q.setParamDateTime("H", base + i * ms);
      q.setParam("OP", QString::number(SystemDef.OPCODE2));
      q.exec();
      tr.commit();
    }
  };
  for (int taken : {4, 3}) {
    stampsTaken(taken);
    TMyNumberLogRec r;
    io.InitLogRecord(r, jxlsShow, QStringLiteral("参照"));
    r.Hizuke = base;
    const bool stored = io.AddLog(r, QString(), general.database);
    EXPECT_EQ(stored, taken < 4) << taken;
    EXPECT_EQ(logComments().count(QStringLiteral("マイナンバー情報が参照されました。")), stored ? 1 : 0) << taken;
    if (stored)
      EXPECT_NEAR(r.Hizuke, base + 3 * ms, ms / 10);
  }
  EXPECT_TRUE(hook.boxes.empty());
}

TEST_P(MyNumberData, LogReadAndMergedBackIntoTheSameCompanyOnly)
{
  TMyNumberIO io;
  for (TJxLogState s : {jxlsAdd, jxlsShow, jxlsPrint}) {
    TMyNumberLogRec r;
    io.InitLogRecord(r, s, QStringLiteral("x"));
    ASSERT_TRUE(io.AddLog(r, QString(), general.database));
  }
  io.ExecuteLog(QString(), general.database);
  ASSERT_EQ(io.ItemCount(), 3);
  EXPECT_EQ(io.GetItem(0).State, jxlsAdd);
  EXPECT_EQ(io.GetItem(2).State, jxlsPrint);
  EXPECT_EQ(io.GetItem(3).State, jxlsNone);
  EXPECT_EQ(io.GetItem(-1).Comment, QString());
  EXPECT_EQ(io.ShougoHikaku(), general.shougou);

  // The data replaced by a backup of the same company with an older log.
  execSql(database(), "DELETE FROM MYNUMBER_LOG WHERE FSTATE<>1");
  io.MergeLog(QString(), general.database);
  EXPECT_EQ(logComments().size(), 3);

  // Another company's data keeps none of the old entries.
  execSql(database(), "DELETE FROM MYNUMBER_LOG");
  execSql(database(), "UPDATE ACCDEF1 SET SHOUGOU='別会社' WHERE REC=1");
  io.MergeLog(QString(), general.database);
  EXPECT_EQ(logComments().size(), 0);
  EXPECT_FALSE(dm->IBDatabaseDAT.isConnected());

  // The open data's log, newest first; then cleared.
  ASSERT_TRUE(dm->fnAccDatConnected(QString(), general.folder, false));
  for (int i = 0; i < 2; ++i) {
    TMyNumberLogRec r;
    io.InitLogRecord(r, i == 0 ? jxlsAdd : jxlsUpdate, QStringLiteral("x"));
    ASSERT_TRUE(io.AddLog(r));
  }
  io.ExecuteLog(1);
  ASSERT_EQ(io.ItemCount(), 2);
  EXPECT_EQ(io.GetItem(0).State, jxlsUpdate);
  io.DeleteLog(io.GetItem(0));
  io.ExecuteLog(0);
  ASSERT_EQ(io.ItemCount(), 1);
  EXPECT_EQ(io.GetItem(0).State, jxlsAdd);
  io.ClearLog();
  EXPECT_EQ(io.ItemCount(), 0);
  io.ExecuteLog(0);
  EXPECT_EQ(io.ItemCount(), 0);
  EXPECT_TRUE(hook.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(AccessForms, MyNumberData, ::testing::Values(jxatSA, jxatCS),
                         [](const auto& info) { return info.param == jxatSA ? "StandAlone" : "ClientServer"; });

}  // namespace
}  // namespace dmtest
