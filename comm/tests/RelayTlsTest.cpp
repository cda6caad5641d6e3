// The request layer against our relay peer over TLS on loopback: every
// request code's round trip, the refused certificates, and the reply edge
// cases the peer can be told to produce.
#include <gtest/gtest.h>

#include "comm/DataTusin.h"
#include "comm/tests/RelayPeerEnv.h"
#include "common/AccRecord.h"
#include "db/Query.h"
#include "tests/support/Fixtures.h"
#include "tests/support/MessageCollector.h"

using relaytest::Env;
using testenv::ScopedMessageCollector;

namespace {

class RelayTls : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { env = new Env(); }
  static void TearDownTestSuite()
  {
    delete env;
    env = nullptr;
  }
  void SetUp() override
  {
    pcAccRecordReset();
    AccInf.WEB_HOLDER = "ID-0001";
    AccInf.PASWORD = "ABC123";
    SystemDef.OPCODE = 7;
    SystemDef.OPNAME = "山田";
    const relaytest::Peer& p = *env->Good;
    for (const char* f : {"result", "close-after", "ids", "requests.log"})
      p.Unset(f);
    QDir(p.State() + "/ID-0001").removeRecursively();
    t.RelayConfig = env->Config(p);
    t.OnServerUnreachable = [this] { ++unreachable; };
  }
  // Runs one request and answers the result line's code (line ALine).
  QString request(int ACode, const TRelayKeys& AKeys, int AEndLines = 1, int AResultLine = 5)
  {
    QString code;
    t.RelayRequest(ACode, AKeys, AEndLines,
                   [&](TRelayReplyReader& r) { code = fnRelayResultCode(r.Line(AResultLine)); });
    EXPECT_EQ(t.IdTCPClient, nullptr);
    return code;
  }
  TRelayKeys sendKeys(const QString& AFolder, const QString& AName)
  {
    return {{"sFName", AccInf.WEB_HOLDER},
            {"fSname", AFolder},
            {"fSg", TDataTusin::EncodeName(AName), true},
            {"fNe", "12"},
            {"fKis", "202604010000"},
            {"fKie", "202703310000"},
            {"fPa", AccInf.PASWORD},
            {"fYobi", "1501"}};
  }

  static Env* env;
  TDataTusin t;
  int unreachable = 0;
};
Env* RelayTls::env = nullptr;

}  // namespace

TEST_F(RelayTls, RelayFolderRoundTrip)
{
  ScopedMessageCollector boxes;
  EXPECT_EQ(request(1821, sendKeys("03", "株式会社　テスト＆商事"), 2, 6), "000");
  t.FProcType = 2;
  ASSERT_EQ(t.ServerInfoGet(), 1);
  EXPECT_EQ(t.FServerInfo.Ftp_Add, "127.0.0.1");
  const TServerFolderRow& row = t.Rows()[2];
  EXPECT_EQ(row.Fol_Name, "03");
  EXPECT_EQ(row.Data_Name, "株式会社　テスト＆商事");
  EXPECT_EQ(row.Kaikei_Nend, "12");
  EXPECT_EQ(row.Sta_Kikan, "2026/04/01 00:00");
  EXPECT_EQ(row.End_Kikan, "2027/03/31 00:00");
  EXPECT_EQ(row.Up_Day, "2026/12/11 09:30");
  EXPECT_EQ(row.Pas_Word, "ABC123");
  EXPECT_EQ(row.Data_Ver, "1501");
  EXPECT_EQ(row.Dn_Day2, "-");
  EXPECT_EQ(t.Rows()[0].Data_Name, "");

  // The receive notice, the fixed-folder notice and the delete.
  EXPECT_EQ(request(1831, {{"sFName", AccInf.WEB_HOLDER}, {"fSname", "03"}}, 2, 6), "000");
  EXPECT_EQ(request(1810, sendKeys("01", "出納帳"), 2, 6), "000");
  ASSERT_EQ(t.ServerInfoGet(), 1);
  EXPECT_EQ(t.Rows()[0].Data_Name, "出納帳");
  EXPECT_EQ(request(1752, {{"sFName", AccInf.WEB_HOLDER}, {"fSname", "03"}}), "000");
  ASSERT_EQ(t.ServerInfoGet(), 1);
  EXPECT_EQ(t.Rows()[2].Data_Name, "");
  EXPECT_TRUE(boxes.texts.isEmpty()) << boxes.texts.join('|').toStdString();

  // The request lines as the server saw them: keys in order, values encoded,
  // the password never in the peer's record.
  const QStringList log = env->Good->Requests();
  ASSERT_EQ(log.size(), 7);
  EXPECT_EQ(log[0], "GET /request.php?Scode=1821&sSno=SN-0001&sFName=ID-0001&fSname=03&fSg=" +
                        TDataTusin::EncodeName("株式会社　テスト＆商事") +
                        "&fNe=12&fKis=202604010000&fKie=202703310000&fPa=***&fYobi=1501 HTTP/1.0");
  EXPECT_EQ(log[1], "GET /request.php?Scode=1721&sSno=SN-0001&sFName=ID-0001 HTTP/1.0");
}

TEST_F(RelayTls, CloudLineRoundTrip)
{
  ScopedMessageCollector boxes;
  t.FProcType = 21;
  t.bRendou = true;
  t.ComputerNameProc = [] { return QStringLiteral("a-computer-name-longer-than-sixteen"); };
  ASSERT_TRUE(t.OpPcNameGet());
  EXPECT_EQ(t.fOpCode, "   7");
  EXPECT_EQ(t.fOpNameM, "   7山田");
  EXPECT_EQ(t.fPcNameM, "a-computer-name-longer-than-sixteen");

  TRelayKeys keys = sendKeys("10", "クラウド会社");
  keys << TRelayKey{"fOpName", t.fOpName, true} << TRelayKey{"fPcName", t.fPcName, true};
  EXPECT_EQ(
      request(
          1834,
          {{"sFName", AccInf.WEB_HOLDER}, {"fSname", "10"}, {"fOpName", t.fOpName, true}, {"fPcName", t.fPcName, true}},
          2, 6),
      "000");
  EXPECT_EQ(request(1824, keys, 2, 6), "000");
  ASSERT_TRUE(t.CloudShareState(10, 2));
  ASSERT_EQ(t.ServerInfoGet(), 1);
  const TServerFolderRow& row = t.Rows()[9];
  EXPECT_EQ(row.Data_Name, "クラウド会社");
  EXPECT_EQ(row.Data_Share, "2");
  EXPECT_EQ(row.Op_Name, "   7山田");
  EXPECT_EQ(row.Pc_Name, "a-computer-name-longer-than-sixteen");
  EXPECT_EQ(row.Wp_Day, "2026/12/11 09:30:15");

  ASSERT_TRUE(t.CloudShareState(10, 1));
  ASSERT_EQ(t.ServerInfoGet(), 1);
  EXPECT_EQ(t.Rows()[9].Data_Share, "1");
  EXPECT_EQ(t.Rows()[9].Op_Name, "");
  EXPECT_EQ(request(1754, {{"sFName", AccInf.WEB_HOLDER}, {"fSname", "10"}}), "000");
  ASSERT_EQ(t.ServerInfoGet(), 1);
  EXPECT_EQ(t.Rows()[9].Data_Name, "");
  EXPECT_TRUE(boxes.texts.isEmpty()) << boxes.texts.join('|').toStdString();

  const QStringList log = env->Good->Requests();
  EXPECT_TRUE(log.contains("GET /request.php?Scode=1731&sSno=SN-0001&sFName=ID-0001&fSname=10&fShare=2&fOpName=" +
                           t.fOpName + "&fPcName=" + t.fPcName + " HTTP/1.0"));
  EXPECT_TRUE(log.contains("GET /request.php?Scode=1726&sSno=SN-0001&sFName=ID-0001&sRendou=1 HTTP/1.0"));
}

TEST_F(RelayTls, TransferStartNoticeStampsTheData)
{
  TestTempDir dir;
  const QString folder = dir.path() + "/0001";
  const QString file = testfx::makeCompanyDb(folder, fixtures::CompanyKind::General);
  SystemDef.IBUSER = testfx::builder().credentials().user;
  SystemDef.PASWORD = testfx::builder().credentials().password;
  AccInf.CLOUD_LINE = 3;
  t.FProcType = 21;
  t.HIBPATHDAT = folder;
  ScopedMessageCollector boxes;
  ASSERT_TRUE(t.OpPcNameGet());
  ASSERT_TRUE(t.JyusinKanryou());
  EXPECT_TRUE(boxes.texts.isEmpty()) << boxes.texts.join('|').toStdString();
  EXPECT_EQ(t.sHizuke, "2026-12-11 09:30:15");
  EXPECT_EQ(t.sWHizuke, "2026/12/11 09:30:15");
  EXPECT_FALSE(t.IBDatabaseDAT.isConnected());

  db::Database d;
  testfx::builder().open(d, file);
  db::Transaction tr(d);
  tr.start();
  db::Query q(tr, "SELECT CLOUD_TIME FROM ACCDEF1 WHERE REC=1");
  q.open();
  EXPECT_DOUBLE_EQ(q.field("CLOUD_TIME").asDateTime(),
                   ComposeDateTime(EncodeDate(2026, 12, 11), EncodeTime(9, 30, 15)));
  q.close();
  tr.commit();
  EXPECT_TRUE(
      env->Good->Requests().last().startsWith("GET /request.php?Scode=1834&sSno=SN-0001&sFName=ID-0001&fSname=03&"));
}

TEST_F(RelayTls, CertificatesThatDoNotProveTheServerAreRefused)
{
  struct Case {
    const char* what;
    relaytest::Peer* peer;
    QString host;
    QString ca;
  } cases[] = {
      {"a certificate from another CA", env->Foreign.get(), "localhost", env->CaFile()},
      {"a certificate for another host", env->Misnamed.get(), "localhost", env->CaFile()},
      {"an address the certificate does not name", env->Misnamed.get(), "127.0.0.1", env->CaFile()},
      {"no CA given: the system store does not know the test CA", env->Good.get(), "localhost", ""},
      {"a server that speaks TLS 1.1 at most", env->Old.get(), "localhost", env->CaFile()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScopedMessageCollector boxes;
    t.RelayConfig = env->Config(*c.peer, c.host);
    t.RelayConfig.CaFile = c.ca;
    unreachable = 0;
    EXPECT_EQ(t.ServerInfoGet(), 0);
    EXPECT_EQ(boxes.texts, QStringList{"　\r\nサーバーに接続出来ません。\r\n "});
    EXPECT_EQ(unreachable, 1);
    EXPECT_TRUE(c.peer->Requests().isEmpty());
  }
  // The address the good certificate names is accepted.
  t.RelayConfig = env->Config(*env->Good, "127.0.0.1");
  EXPECT_EQ(t.ServerInfoGet(), 1);
}

TEST_F(RelayTls, ReplyEdgeCases)
{
  struct Case {
    const char* what;
    const char* file;
    QByteArray content;
    int result;
    QString box;
  } cases[] = {
      {"the ID is refused", "result", "920", 0, "　\r\nサーバーに接続出来ません、通信IDを確認して下さい。\r\n "},
      {"an unknown ID", "ids", "OTHER\n", 0, "　\r\nサーバーに接続出来ません、通信IDを確認して下さい。\r\n "},
      {"a short result line", "result", "12", 0, "　\r\nサーバーエラー(12)\r\n "},
      {"another code", "result", "501", 0, "　\r\nサーバーエラー(501)\r\n "},
      {"closed before the result", "close-after", "4", 0, "　\r\nサーバーに接続出来ません。\r\n "},
      {"closed in the rows", "close-after", "30", 0, "　\r\nサーバーに接続出来ません。\r\n "},
      {"empty data rows", "close-after", "1000", 1, ""},
  };
  t.FProcType = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    env->Good->Set(c.file, c.content);
    ScopedMessageCollector boxes;
    t.Rows()[5].Kaikei_Nend = "kept";
    EXPECT_EQ(t.ServerInfoGet(), c.result);
    EXPECT_EQ(boxes.texts, c.box.isEmpty() ? QStringList{} : QStringList{c.box});
    EXPECT_EQ(t.Rows()[5].Kaikei_Nend, "kept");
    env->Good->Unset(c.file);
  }
  // The cloud-line state reports codes and passes a broken connection on.
  ScopedMessageCollector boxes;
  env->Good->Set("result", "920");
  EXPECT_FALSE(t.CloudShareState(3, 1));
  EXPECT_EQ(boxes.texts.value(0), "　\r\nサーバーに接続出来ません、通信IDを確認して下さい。\r\n ");
  env->Good->Unset("result");
  env->Good->Set("close-after", "4");
  EXPECT_THROW(t.CloudShareState(3, 1), ERelayReplyError);
  EXPECT_EQ(t.IdTCPClient, nullptr);
  // The transfer-start notice cut short.
  boxes.texts.clear();
  int hidden = 0;
  t.OnHideProgress = [&] { ++hidden; };
  EXPECT_FALSE(t.JyusinKanryou());
  EXPECT_EQ(boxes.texts, QStringList{"　\r\n受信完了処理エラー\r\n "});
  EXPECT_EQ(hidden, 1);
  env->Good->Unset("close-after");
  env->Good->Set("result", "777");
  boxes.texts.clear();
  EXPECT_FALSE(t.JyusinKanryou());
  EXPECT_EQ(boxes.texts, QStringList{"　\r\n完了処理サーバーエラー(777)\r\n "});
  env->Good->Unset("result");
  // No server at all.
  t.RelayConfig.Port = 1;
  boxes.texts.clear();
  EXPECT_FALSE(t.JyusinKanryou());
  EXPECT_EQ(boxes.texts, QStringList{"　\r\nサーバーに接続出来ません。(完了処理)\r\n "});
}
