// The reply reader on fixed replies: line counting, result codes, server
// times and the folder blocks of the server-information reply.
#include <gtest/gtest.h>

#include "acctables/AccGengo.h"
#include "comm/DataTusin.h"
#include "comm/RelayReply.h"
#include "common/AccRecord.h"

namespace {

QString b64(const QString& s)
{
  return QString::fromLatin1(s.toUtf8().toBase64());
}

// One folder block as the server writes it.
QStringList block(const QString& no, const QString& name, const QString& up, const QString& dn, bool cloud = false,
                  const QString& share = "1", const QString& op = "", const QString& pc = "")
{
  QStringList l{"FolderName  :" + no,
                "DataName :" + (name.isEmpty() ? QString() : b64(name)),
                "KaiNend  :12",
                "StaKikan  :2026-04-01 00:00",
                "EndKikan  :2027-03-31 00:00",
                "UpDate   :" + up,
                "PassWord :ABC123",
                "DataVer    :1501",
                "DnDate   :" + dn};
  if (cloud)
    l << "DataShare   :" + share << "OpName       :" + b64(op) << "PcName       :" + b64(pc);
  return l;
}

QByteArray infoReply(const QList<QStringList>& blocks, bool cloud)
{
  QStringList l{"",
                "",
                "HTTP/1.0 200 OK",
                "Content-Type: text/plain",
                "Connection: close",
                "",
                "ResultCode000",
                "FtpAdd:ftp.example",
                "FtpPas:secret",
                "FtpEnd:"};
  for (int i = 0; i < 10; ++i)
    l << (i < blocks.size() ? blocks[i]
                            : block(QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0')), "", "", "", cloud));
  return l.join("\r\n").toLatin1() + "\r\n";
}

}  // namespace

TEST(RelayReply, LinesAreCountedFromTheFirstNonEmptyLine)
{
  TRelayBufferSource src("\n\r\nfirst\n\nthird\r\nfourth\nResultCode000 tail");
  TRelayReplyReader r(src);
  EXPECT_EQ(r.Line(1), "first");
  EXPECT_EQ(r.Line(3), "third");  // an empty line after line 1 counts
  EXPECT_EQ(fnRelayResultCode(r.Line(5)), "000");
  EXPECT_THROW(r.Next(), ERelayReplyError);
}

TEST(RelayReply, ResultCodeAndValuePositions)
{
  struct Case {
    const char* line;
    const char* code;
  } cases[] = {{"ResultCode000", "000"}, {"ResultCode920xyz", "920"}, {"ResultCode12", "12"}, {"Result", ""}};
  for (const Case& c : cases)
    EXPECT_EQ(fnRelayResultCode(c.line), c.code) << c.line;
  EXPECT_EQ(fnRelayValue("SvTime:2026-12-11 09:30:15", 8), "2026-12-11 09:30:15");
  EXPECT_EQ(fnRelayValue("short", 8), "");
}

TEST(RelayReply, ServerTimeForms)
{
  QString text;
  TDateTime t = 0;
  pcRelayServerTime("2026-12-11 09:30:15", false, text, t);
  EXPECT_EQ(text, "2026/12/11 09:30:15");
  EXPECT_DOUBLE_EQ(t, ComposeDateTime(EncodeDate(2026, 12, 11), EncodeTime(9, 30, 15)));
  pcRelayServerTime("20261211093015", true, text, t);
  EXPECT_EQ(text, "2026/12/11 09:30:15");
  for (const char* bad : {"", "2026-13-11 09:30:15", "2026121109301", "2026-12-11 25:00:00", "abcd-ef-gh ij:kl:mn"})
    EXPECT_THROW(pcRelayServerTime(bad, QString(bad).size() == 13, text, t), ERelayReplyError) << bad;
}

TEST(RelayReply, RelayRowsShowADownloadOnlyAfterTheLastUpload)
{
  TServerInfo info;
  info.Rows[2].Dn_Day = "kept";
  info.Rows[3].Kaikei_Nend = "old";
  const QByteArray reply = infoReply({block("01", "会社Ａ", "2026-12-01 10:00:00", "2026-12-02 11:00:00"),
                                      block("02", "会社Ｂ", "2026-12-02 10:00:00", "2026-12-01 11:00:00"),
                                      block("03", "会社Ｃ", "2026-12-01 10:00:00", "2026-12-01 10:00:00"),
                                      block("04", "", "2026-12-01 10:00:00", "2026-12-01 12:00:00"),
                                      block("05", "会社Ｅ", "2026-12-01 10:00:00", "0000-00-00 00:00:00")},
                                     false);
  TRelayBufferSource src(reply);
  TRelayReplyReader r(src);
  ASSERT_EQ(fnRelayResultCode(r.Line(5)), "000");
  pcReadServerInfo(r, false, 0, info);
  EXPECT_EQ(info.Ftp_Add, "ftp.example");
  EXPECT_EQ(info.Ftp_Pass, "secret");
  const TServerFolderRow& a = info.Rows[0];
  EXPECT_EQ(a.Fol_Name, "01");
  EXPECT_EQ(a.Data_Name, "会社Ａ");
  EXPECT_EQ(a.Kaikei_Nend, "12");
  EXPECT_EQ(a.Sta_Kikan, "2026/04/01 00:00");
  EXPECT_EQ(a.End_Kikan2, "2027/03/31 00:00");
  EXPECT_EQ(a.Up_Day, "2026/12/01 10:00");
  EXPECT_EQ(a.Dn_Day, "2026/12/02 11:00");
  EXPECT_EQ(a.Dn_Day2, "2026/12/02 11:00");
  EXPECT_EQ(a.Pas_Word, "ABC123");
  EXPECT_EQ(a.Data_Ver, "1501");
  EXPECT_EQ(info.Rows[1].Dn_Day2, "-");  // downloaded before the last upload
  EXPECT_EQ(info.Rows[2].Dn_Day2, "-");  // same time: not later
  EXPECT_EQ(info.Rows[2].Dn_Day, "kept");
  EXPECT_EQ(info.Rows[3].Data_Name, "");  // an empty folder keeps its other fields
  EXPECT_EQ(info.Rows[3].Kaikei_Nend, "old");
  EXPECT_EQ(info.Rows[4].Dn_Day2, "-");  // never downloaded
  EXPECT_EQ(r.LineNo(), 8 + 10 * 9);
}

TEST(RelayReply, CloudRowsCarryStateAndHolder)
{
  TServerInfo info;
  info.Rows[1].Op_Name = "stale";
  const QByteArray reply =
      infoReply({block("01", "会社Ａ", "2026-12-01 10:00:05", "0000-00-00 00:00:00", true, "2", "   1山田", "PC-01"),
                 block("02", "会社Ｂ", "2026-12-01 10:00:05", "2026-11-30 09:00:00", true, "1", "   2佐藤", "PC-02")},
                true);
  TRelayBufferSource src(reply);
  TRelayReplyReader r(src);
  r.Line(5);
  pcReadServerInfo(r, true, 0, info);
  EXPECT_EQ(info.Rows[0].Data_Share, "2");
  EXPECT_EQ(info.Rows[0].Op_Name, "   1山田");
  EXPECT_EQ(info.Rows[0].Pc_Name, "PC-01");
  EXPECT_EQ(info.Rows[0].Wp_Day, "2026/12/01 10:00:05");
  EXPECT_EQ(info.Rows[0].Dn_Day2, "-");
  EXPECT_EQ(info.Rows[1].Data_Share, "1");
  EXPECT_EQ(info.Rows[1].Op_Name, "");                  // not in use: no holder
  EXPECT_EQ(info.Rows[1].Dn_Day2, "2026/11/30 09:00");  // cloud rows always show the download
  EXPECT_EQ(r.LineNo(), 8 + 10 * 12);
}

TEST(RelayReply, ARowsReplyCutShortKeepsTheRowsAlreadyRead)
{
  QByteArray reply = infoReply({block("01", "会社Ａ", "2026-12-01 10:00:00", "0000-00-00 00:00:00")}, false);
  reply.truncate(reply.indexOf("FolderName  :03"));
  TServerInfo info;
  TRelayBufferSource src(reply);
  TRelayReplyReader r(src);
  r.Line(5);
  EXPECT_THROW(pcReadServerInfo(r, false, 0, info), ERelayReplyError);
  EXPECT_EQ(info.Rows[0].Data_Name, "会社Ａ");
  EXPECT_EQ(info.Rows[1].Fol_Name, "02");
  EXPECT_EQ(info.Rows[2].Fol_Name, "");
}

TEST(RelayReply, EraDisplayForms)
{
  pcAccRecordReset();
  pcGengoTableSet();
  SystemDef.NengoSwitch = 1;
  const QString date = fnRelayDisplayDate("2026/04/01 09:05", 1, false);
  const QString withTime = fnRelayDisplayDate("2026/04/01 09:05", 1, true);
  EXPECT_NE(date, "2026/04/01 09:05");
  EXPECT_TRUE(date.endsWith("08/04/01")) << date.toStdString();
  EXPECT_EQ(withTime, date + " 09:05");
  EXPECT_EQ(fnRelayDisplayDate("2026/04/01 09:05", 0, true), "2026/04/01 09:05");
}

TEST(RelayReply, RequestLineKeepsKeysInOrderAndEncodesEveryValue)
{
  const QByteArray line = fnRelayRequestLine(1821, "SN 1&x",
                                             {{"sFName", "ID&01"},
                                              {"fSname", "03"},
                                              {"fSg", TDataTusin::EncodeName("  株式会社　テスト "), true},
                                              {"fPa", "a b%c=d"},
                                              {"fYobi", "1501"}});
  EXPECT_EQ(line, "GET /request.php?Scode=1821&sSno=SN%201%26x&sFName=ID%2601&fSname=03&fSg=" +
                      TDataTusin::EncodeName("株式会社　テスト").toLatin1() + "&fPa=a%20b%25c%3Dd&fYobi=1501 HTTP/1.0");
}

TEST(RelayReply, UrlEscapeAndEncodedNames)
{
  EXPECT_EQ(TDataTusin::UrlEscape("ab+/c=="), "ab%2b/c%3d%3d");
  // A long name is one Base64 line, padding escaped.
  const QString longName(80, QChar(0x3042));
  const QString enc = TDataTusin::EncodeName(longName);
  EXPECT_FALSE(enc.contains('\n'));
  EXPECT_EQ(QString::fromUtf8(QByteArray::fromBase64(QString(enc).replace("%2b", "+").replace("%3d", "=").toLatin1())),
            longName);
}
