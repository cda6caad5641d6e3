#include <gtest/gtest.h>

#include "platform/TextCodec.h"
#include "wizard/ComDataExp.h"
#include "wizard/UtiwakesyoXml.h"

namespace {

Currency yen(qint64 v)
{
  return Currency::fromInt(v);
}

TUtiwakesyoRow account(const QString& kcode, const QString& usercode, const QString& name, int dac, Currency amount,
                       std::vector<TUtiwakesyoHojo> hojo = {}, int hojonum = -1)
{
  TUtiwakesyoRow r;
  r.KCODE = kcode;
  r.USERCODE = usercode;
  r.KNAME = name;
  r.DAC = dac;
  r.WNUM4 = amount;
  r.HOJONUM = hojonum < 0 ? int(hojo.size()) : hojonum;
  r.HOJOUTIWAKE = std::move(hojo);
  return r;
}

TUtiwakesyoRow emptyRow(const QString& totalName = QString())
{
  TUtiwakesyoRow r;
  r.KNAME = totalName;
  return r;
}

// The file of an export whose SYSTEM and BASIC are left out: REPORT + DATA.
QByteArray dataDocument(const TUtiwakesyoRows& rows, int* errCode = nullptr)
{
  TXmlSaveDoc doc(QStringLiteral("1.0"), QStringLiteral("Shift_JIS"), QString());
  doc.fnXmlNewRootNode(QStringLiteral("REPORT"), QString());
  int code = 0;
  EXPECT_EQ(fnUtiwakesyoWriteData(doc, rows, code), 1);
  if (errCode)
    *errCode = code;
  return doc.fnXmlSaveToBytes();
}

QByteArray sjisFile(const QString& body)
{
  return "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n" + toCp932(body) + "\n";
}

}  // namespace

TEST(UtiwakesyoXml, WritesEveryAccountOfTheBalanceTableInOrder)
{
  const TUtiwakesyoRows rows = {
      emptyRow(),
      account(QStringLiteral("1110"), QStringLiteral("111  "), QStringLiteral("　現金 "), 1, yen(150000)),
      emptyRow(QStringLiteral("流動資産合計")),
      account(QStringLiteral("2110"), QStringLiteral("211"), QStringLiteral("買掛金"), 2, yen(150000),
              {{QStringLiteral("01 "), QStringLiteral("㈱髙橋商店"), yen(100000)},
               {QStringLiteral("02"), QStringLiteral(" A&B　"), yen(50000)},
               {QStringLiteral("03"), QStringLiteral("not counted"), yen(1)}},
              2),
      account(QStringLiteral("8110"), QStringLiteral("811"), QStringLiteral("売上高"), 3, Currency()),
      account(QStringLiteral("7110"), QStringLiteral("711"), QStringLiteral("雑費"), 4, yen(-2500),
              {{QStringLiteral("01"), QStringLiteral("left out"), yen(9)}}, 0),
      account(QStringLiteral("7120"), QStringLiteral("712"), QStringLiteral("支払手数料"), 1, yen(-30),
              {{QStringLiteral("1"), QStringLiteral("振込"), yen(-10)},
               {QStringLiteral("2"), QStringLiteral("小切手"), Currency()}}),
  };
  int errCode = 0;
  const QByteArray file = dataDocument(rows, &errCode);
  EXPECT_EQ(errCode, 1);
  const QString body = QStringLiteral(
      "<REPORT><DATA>"
      "<KANJYOKAMOKU Count=\"1\"><KANJYOKAMOKU_CODE>111  </KANJYOKAMOKU_CODE>"
      "<KANJYOKAMOKU_NAME>現金</KANJYOKAMOKU_NAME><KANJYOKAMOKU_ZANDAKA>150000</KANJYOKAMOKU_ZANDAKA>"
      "</KANJYOKAMOKU>"
      "<KANJYOKAMOKU Count=\"2\"><KANJYOKAMOKU_CODE>211</KANJYOKAMOKU_CODE>"
      "<KANJYOKAMOKU_NAME>買掛金</KANJYOKAMOKU_NAME><KANJYOKAMOKU_ZANDAKA>-150000</KANJYOKAMOKU_ZANDAKA>"
      "<HOJYOKAMOKU Count=\"1\"><HOJYOKAMOKU_CODE>01 </HOJYOKAMOKU_CODE>"
      "<HOJYOKAMOKU_NAME>㈱髙橋商店</HOJYOKAMOKU_NAME><HOJYOKAMOKU_ZANDAKA>-100000</HOJYOKAMOKU_ZANDAKA>"
      "</HOJYOKAMOKU>"
      "<HOJYOKAMOKU Count=\"2\"><HOJYOKAMOKU_CODE>02</HOJYOKAMOKU_CODE>"
      "<HOJYOKAMOKU_NAME>A&amp;amp;B</HOJYOKAMOKU_NAME><HOJYOKAMOKU_ZANDAKA>-50000</HOJYOKAMOKU_ZANDAKA>"
      "</HOJYOKAMOKU>"
      "</KANJYOKAMOKU>"
      "<KANJYOKAMOKU Count=\"3\"><KANJYOKAMOKU_CODE>811</KANJYOKAMOKU_CODE>"
      "<KANJYOKAMOKU_NAME>売上高</KANJYOKAMOKU_NAME><KANJYOKAMOKU_ZANDAKA/></KANJYOKAMOKU>"
      "<KANJYOKAMOKU Count=\"4\"><KANJYOKAMOKU_CODE>711</KANJYOKAMOKU_CODE>"
      "<KANJYOKAMOKU_NAME>雑費</KANJYOKAMOKU_NAME><KANJYOKAMOKU_ZANDAKA>2500</KANJYOKAMOKU_ZANDAKA>"
      "</KANJYOKAMOKU>"
      "<KANJYOKAMOKU Count=\"5\"><KANJYOKAMOKU_CODE>712</KANJYOKAMOKU_CODE>"
      "<KANJYOKAMOKU_NAME>支払手数料</KANJYOKAMOKU_NAME><KANJYOKAMOKU_ZANDAKA>-30</KANJYOKAMOKU_ZANDAKA>"
      "<HOJYOKAMOKU Count=\"1\"><HOJYOKAMOKU_CODE>1</HOJYOKAMOKU_CODE>"
      "<HOJYOKAMOKU_NAME>振込</HOJYOKAMOKU_NAME><HOJYOKAMOKU_ZANDAKA>-10</HOJYOKAMOKU_ZANDAKA></HOJYOKAMOKU>"
      "<HOJYOKAMOKU Count=\"2\"><HOJYOKAMOKU_CODE>2</HOJYOKAMOKU_CODE>"
      "<HOJYOKAMOKU_NAME>小切手</HOJYOKAMOKU_NAME><HOJYOKAMOKU_ZANDAKA/></HOJYOKAMOKU>"
      "</KANJYOKAMOKU>"
      "</DATA></REPORT>");
  EXPECT_EQ(file, sjisFile(body));
}

TEST(UtiwakesyoXml, SignFollowsTheAccountsDebitCreditClass)
{
  struct Case {
    int dac;
    qint64 amount;
    const char* account;  // the account's balance as written
    const char* hojo;     // a sub-account of the same amount
  };
  const Case cases[] = {
      {1, 150000, "150000", "150000"},
      {2, 150000, "-150000", "-150000"},
      {3, 150000, "150000", "150000"},
      {4, -2500, "2500", "2500"},
      {0, -7, "-7", "-7"},
      {5, 7, "7", "7"},
      {2, 0, "", ""},
  };
  for (const Case& c : cases) {
    const TUtiwakesyoRows rows = {account(QStringLiteral("K"), QStringLiteral("K"), QStringLiteral("N"), c.dac,
                                          yen(c.amount), {{QStringLiteral("H"), QStringLiteral("M"), yen(c.amount)}})};
    const QByteArray file = dataDocument(rows);
    const QByteArray zandaka = *c.account ? "<KANJYOKAMOKU_ZANDAKA>" + QByteArray(c.account) + "</KANJYOKAMOKU_ZANDAKA>"
                                          : QByteArray("<KANJYOKAMOKU_ZANDAKA/>");
    const QByteArray hojo = *c.hojo ? "<HOJYOKAMOKU_ZANDAKA>" + QByteArray(c.hojo) + "</HOJYOKAMOKU_ZANDAKA>"
                                    : QByteArray("<HOJYOKAMOKU_ZANDAKA/>");
    EXPECT_TRUE(file.contains(zandaka)) << "DAC " << c.dac << " " << file.toStdString();
    EXPECT_TRUE(file.contains(hojo)) << "DAC " << c.dac << " " << file.toStdString();
  }
}

TEST(UtiwakesyoXml, AmountsAreWholeYen)
{
  struct Case {
    const char* amount;
    QString text;
  };
  const Case cases[] = {
      {"0", QString()},
      {"1", QStringLiteral("1")},
      {"-1", QStringLiteral("-1")},
      {"1234567890123", QStringLiteral("1234567890123")},
      {"1234.5", QStringLiteral("1235")},
      {"-1234.5", QStringLiteral("-1235")},
      {"99.4999", QStringLiteral("99")},
      {"0.4", QString()},
      {"-0.4", QString()},
      {"0.5", QStringLiteral("1")},
  };
  for (const Case& c : cases)
    EXPECT_EQ(fnUtiwakesyoAmountText(Currency::fromString(QString::fromLatin1(c.amount))), c.text) << c.amount;
}

TEST(UtiwakesyoXml, AnAccountOrSubAccountWithoutNameStopsTheExport)
{
  struct Case {
    const char* what;
    TUtiwakesyoRows rows;
    QString message;
    QString context;
    int code;
  };
  const Case cases[] = {
      {"account name of blanks",
       {account(QStringLiteral("1"), QStringLiteral("101"), QStringLiteral("現金"), 1, yen(1)),
        account(QStringLiteral("2"), QStringLiteral("102 "), QStringLiteral("　 "), 1, yen(1))},
       QStringLiteral("空の科目名が設定されています。"),
       QStringLiteral("科目ｺｰﾄﾞ:102 "),
       2},
      {"sub-account without name",
       {account(QStringLiteral("3"), QStringLiteral("211"), QStringLiteral("買掛金"), 2, yen(1),
                {{QStringLiteral("01"), QStringLiteral("A社"), yen(1)}, {QStringLiteral("05"), QString(), yen(1)}})},
       QStringLiteral("空の補助名が設定されています。"),
       QStringLiteral("科目ｺｰﾄﾞ:211-05"),
       3},
      {"sub-account without name or code",
       {account(QStringLiteral("3"), QStringLiteral("211"), QStringLiteral("買掛金"), 2, yen(1),
                {{QString(), QStringLiteral("　"), yen(1)}})},
       QStringLiteral("空の補助名が設定されています。"),
       QStringLiteral("科目ｺｰﾄﾞ:211-"),
       3},
  };
  for (const Case& c : cases) {
    TXmlSaveDoc doc(QStringLiteral("1.0"), QStringLiteral("Shift_JIS"), QString());
    doc.fnXmlNewRootNode(QStringLiteral("REPORT"), QString());
    int errCode = 0;
    try {
      fnUtiwakesyoWriteData(doc, c.rows, errCode);
      ADD_FAILURE() << c.what << ": no error";
    } catch (const EDataExportError& e) {
      EXPECT_EQ(e.Message(), c.message) << c.what;
      EXPECT_EQ(e.Context(), c.context) << c.what;
      EXPECT_EQ(e.ErrorCode(), c.code) << c.what;
      EXPECT_EQ(errCode, 3) << c.what;
    }
  }
}

TEST(UtiwakesyoXml, SubAccountsOfARowWithoutAccountCodeJoinTheCurrentAccount)
{
  TUtiwakesyoRow total = emptyRow(QStringLiteral("合計"));
  total.HOJONUM = 1;
  total.HOJOUTIWAKE = {{QStringLiteral("9"), QStringLiteral("内訳"), yen(5)}};
  const TUtiwakesyoRows rows = {
      account(QStringLiteral("1"), QStringLiteral("101"), QStringLiteral("現金"), 1, yen(1),
              {{QStringLiteral("1"), QStringLiteral("本店"), yen(1)}}),
      total,
  };
  const QString body = QStringLiteral(
      "<REPORT><DATA><KANJYOKAMOKU Count=\"1\"><KANJYOKAMOKU_CODE>101</KANJYOKAMOKU_CODE>"
      "<KANJYOKAMOKU_NAME>現金</KANJYOKAMOKU_NAME><KANJYOKAMOKU_ZANDAKA>1</KANJYOKAMOKU_ZANDAKA>"
      "<HOJYOKAMOKU Count=\"1\"><HOJYOKAMOKU_CODE>1</HOJYOKAMOKU_CODE><HOJYOKAMOKU_NAME>本店</HOJYOKAMOKU_NAME>"
      "<HOJYOKAMOKU_ZANDAKA>1</HOJYOKAMOKU_ZANDAKA></HOJYOKAMOKU>"
      "<HOJYOKAMOKU Count=\"1\"><HOJYOKAMOKU_CODE>9</HOJYOKAMOKU_CODE><HOJYOKAMOKU_NAME>内訳</HOJYOKAMOKU_NAME>"
      "<HOJYOKAMOKU_ZANDAKA>5</HOJYOKAMOKU_ZANDAKA></HOJYOKAMOKU>"
      "</KANJYOKAMOKU></DATA></REPORT>");
  EXPECT_EQ(dataDocument(rows), sjisFile(body));
}
