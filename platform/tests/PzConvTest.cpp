#include <gtest/gtest.h>

#include "PlatformTestUtil.h"
#include "platform/PzConv.h"
#include "platform/TextCodec.h"

namespace {

QByteArray hex(const QByteArray& b)
{
  return b.toHex(' ').toUpper();
}

TEST(PzConv, CodeSetsByByteCases)
{
  // Shift_JIS, the JIS form (with its escapes) and EUC-JP of the same text.
  struct Case {
    QByteArray sjis;
    QByteArray jis;
    QByteArray euc;
  };
  const Case cases[] = {
      {bytesOf({0x82, 0xA0}), QByteArray("\x1B$B\x24\x22\x1B(B"), bytesOf({0xA4, 0xA2})},  // あ
      {bytesOf({0x8A, 0xBF, 0x8E, 0x9A}), QByteArray("\x1B$B\x34\x41\x3B\x7A\x1B(B"),
       bytesOf({0xB4, 0xC1, 0xBB, 0xFA})},                                                 // 漢字
      {bytesOf({0x87, 0x40}), QByteArray("\x1B$B\x2D\x21\x1B(B"), bytesOf({0xAD, 0xA1})},  // ①
      {bytesOf({0x81, 0x60}), QByteArray("\x1B$B\x21\x41\x1B(B"), bytesOf({0xA1, 0xC1})},  // ～
      {bytesOf({0xEE, 0xE0}), QByteArray("\x1B$B\x7C\x62\x1B(B"), bytesOf({0xFC, 0xE2})},  // 髙 (NEC-selected)
      {bytesOf({0x9F, 0xFC, 0xE0, 0x40}), QByteArray("\x1B$B\x5E\x7E\x5F\x21\x1B(B"),
       bytesOf({0xDE, 0xFE, 0xDF, 0xA1})},  // row edges
      {QByteArray("A") + bytesOf({0x82, 0xA0}) + "B", QByteArray("A\x1B$B\x24\x22\x1B(BB"),
       QByteArray("A\xA4\xA2"
                  "B")},
      {QByteArray("plain \\~"), QByteArray("plain \\~"), QByteArray("plain \\~")},
  };
  TxPzConv conv;
  for (const Case& c : cases) {
    EXPECT_EQ(hex(conv.SJisToJis(c.sjis)), hex(c.jis)) << hex(c.sjis).toStdString();
    EXPECT_EQ(hex(conv.JisToSJis(c.jis)), hex(c.sjis)) << hex(c.sjis).toStdString();
    EXPECT_EQ(hex(conv.SJisToEuc(c.sjis)), hex(c.euc)) << hex(c.sjis).toStdString();
    EXPECT_EQ(hex(conv.EucToSJis(c.euc)), hex(c.sjis)) << hex(c.sjis).toStdString();
  }

  // 髙 as the IBM extension (what the system's files hold) leaves as its
  // NEC-selected JIS code, and a JIS run may end with ESC "(J".
  EXPECT_EQ(conv.SJisToJis(bytesOf({0xFB, 0xFC})), QByteArray("\x1B$B\x7C\x62\x1B(B"));
  conv.SetJisByteCodeType(btRoman);
  EXPECT_EQ(conv.SJisToJis(bytesOf({0x82, 0xA0})), QByteArray("\x1B$B\x24\x22\x1B(J"));
  EXPECT_EQ(conv.JisToSJis(QByteArray("\x1B$B\x24\x22\x1B(Jx")), bytesOf({0x82, 0xA0, 'x'}));
  // Broken JIS input: a pair outside 0x21..0x7E and a lone last byte give nothing;
  // an unknown escape is copied.
  EXPECT_EQ(conv.JisToSJis(QByteArray("\x1B$B\x24\x22\x90\x21\x24")), bytesOf({0x82, 0xA0}));
  EXPECT_EQ(conv.JisToSJis(QByteArray("\x1B$@ab")), QByteArray("\x1B$@ab"));
}

TEST(PzConv, UnicodeRoundTripsThroughJisAndEuc)
{
  const QString text = QStringLiteral("髙橋①商事～ ｶﾞｲﾄﾞ ABC");
  const QString zen = QStringLiteral("髙橋①商事～ ガイド ABC");
  const QByteArray sjis = UnicodeToSJis(text);
  EXPECT_EQ(SJisToUnicode(sjis), text);

  TxPzConv conv;  // ktZenWithDaku: half-width katakana leaves as full-width
  EXPECT_EQ(SJisToUnicode(conv.JisToSJis(conv.SJisToJis(sjis))), zen);
  EXPECT_EQ(SJisToUnicode(conv.EucToSJis(conv.SJisToEuc(sjis))), zen);
  EXPECT_EQ(SJisToUnicode(conv.MIMEHeaderDecode(conv.MIMEHeaderEncode(sjis))), zen);

  conv.SetJisKanaConvType(ktNone);  // kept as single bytes (8 bit in JIS, 8E xx in EUC)
  EXPECT_EQ(SJisToUnicode(conv.JisToSJis(conv.SJisToJis(sjis))), text);
  EXPECT_EQ(SJisToUnicode(conv.EucToSJis(conv.SJisToEuc(sjis))), text);
  EXPECT_EQ(conv.SJisToEuc(UnicodeToSJis(QStringLiteral("ｶﾞ"))), bytesOf({0x8E, 0xB6, 0x8E, 0xDE}));
}

TEST(PzConv, WhatTheTargetCannotHoldIsAClearError)
{
  try {
    UnicodeToSJis(QString::fromUcs4(U"予定\U0001F600です"));
    FAIL() << "an emoji was encoded";
  } catch (const EJapaneseCodeError& e) {
    EXPECT_TRUE(e.message().contains(QStringLiteral("U+1F600"))) << e.what();
  }
  for (const QString& s : {QStringLiteral("€"), QStringLiteral("한"), QStringLiteral("\u00A5")})
    EXPECT_THROW(UnicodeToSJis(s), EJapaneseCodeError) << s.toStdString();
  EXPECT_THROW(UnicodeToSJis(QString(QChar(0xD83D))), EJapaneseCodeError);  // lone surrogate

  TxPzConv conv;
  const QByteArray cannot[] = {
      bytesOf({0xF0, 0x40}),  // user-defined character: no JIS code
      bytesOf({'a', 0x82}),   // cut double-byte character
      bytesOf({0x82, 0x20}),  // not a trail byte
  };
  for (const QByteArray& b : cannot) {
    EXPECT_THROW(conv.SJisToJis(b), EJapaneseCodeError) << hex(b).toStdString();
    EXPECT_THROW(conv.SJisToEuc(b), EJapaneseCodeError) << hex(b).toStdString();
    EXPECT_THROW(conv.MIMEHeaderEncode(bytesOf({0x82, 0xA0}) + b), EJapaneseCodeError) << hex(b).toStdString();
  }
  EXPECT_THROW(SJisToUnicode(bytesOf({0x41, 0x81})), EJapaneseCodeError);
  EXPECT_THROW(SJisToUnicode(bytesOf({0x80})), EJapaneseCodeError);
  EXPECT_THROW(SJisToUnicode(bytesOf({0xF0, 0x40})), EJapaneseCodeError);
}

TEST(PzConv, TablesAgreeWithTheSystemsCodePage)
{
  // Our table writes every character exactly as the system's CP932 files do
  // (TextCodec), and holds exactly the characters those files can hold,
  // user-defined characters aside.
  int encoded = 0;
  for (char32_t cp = 1; cp < 0x10000; ++cp) {
    if ((cp >= 0xD800 && cp <= 0xDFFF) || (cp >= 0xE000 && cp <= 0xF8FF))
      continue;  // surrogates; private-use characters (user-defined codes) are not ours to write
    const QString s = QString(QChar(char16_t(cp)));
    bool ok = false;
    const QByteArray theirs = toCp932(s, &ok);
    const bool representable = isCp932Representable(cp);
    try {
      const QByteArray ours = UnicodeToSJis(s);
      ASSERT_TRUE(representable) << std::hex << unsigned(cp);
      ASSERT_EQ(hex(ours), hex(theirs)) << std::hex << unsigned(cp);
      ++encoded;
    } catch (const EJapaneseCodeError&) {
      ASSERT_FALSE(representable) << std::hex << unsigned(cp);
    }
  }
  EXPECT_GT(encoded, 7000);
}

TEST(PzConv, HalfWidthKatakanaStep)
{
  struct Case {
    TJisKanaConvType kind;
    QString in;
    QString out;
  };
  const Case cases[] = {
      {ktZenWithDaku, QStringLiteral("ｶﾞ"), QStringLiteral("ガ")},
      {ktZenWithDaku, QStringLiteral("ｳﾞ"), QStringLiteral("ヴ")},
      {ktZenWithDaku, QStringLiteral("ﾊﾟﾎﾟ"), QStringLiteral("パポ")},
      {ktZenWithDaku, QStringLiteral("ｱﾞﾜﾞｶﾟ"), QStringLiteral("ア゛ワ゛カ゜")},  // marks that do not merge
      {ktZenWithDaku, QStringLiteral("｡｢｣､･ｦｧｰﾞﾟ"), QStringLiteral("。「」、・ヲァー゛゜")},
      {ktZenSepaDaku, QStringLiteral("ｶﾞﾊﾟ"), QStringLiteral("カ゛ハ゜")},
      {ktNone, QStringLiteral("ｶﾞ"), QStringLiteral("ｶﾞ")},
      {ktZenWithDaku, QStringLiteral("ソ表ｿ"), QStringLiteral("ソ表ソ")},  // trail bytes 0x5C are not kana
  };
  for (const Case& c : cases) {
    TxPzConv conv;
    conv.SetJisKanaConvType(c.kind);
    EXPECT_EQ(SJisToUnicode(conv.HanKanaToZen(UnicodeToSJis(c.in))), c.out) << c.in.toStdString();
  }
  TxPzConv conv;
  EXPECT_EQ(conv.HanKanaToZen(bytesOf({0xB3, 0xDE})), bytesOf({0x83, 0x94}));
}

TEST(PzConv, Base64KeepsEveryByte)
{
  const std::pair<QByteArray, QByteArray> cases[] = {
      {"", ""},
      {"f", "Zg=="},
      {"fo", "Zm8="},
      {"foo", "Zm9v"},
      {QByteArray("\0\0\0", 3), "AAAA"},
      {QByteArray("a\0", 2), "YQA="},
      {QByteArray("\0b\0", 3), "AGIA"},
      {bytesOf({0xFF, 0xFE, 0x00, 0x01}), "//4AAQ=="},
  };
  TxPzConv conv;
  for (const auto& [data, text] : cases) {
    EXPECT_EQ(conv.B64Encode(data), text);
    EXPECT_EQ(hex(conv.B64Decode(text)), hex(data)) << text.toStdString();
  }
  EXPECT_EQ(conv.B64Decode("Zm9vYg"), QByteArray("foo"));  // an incomplete last group gives nothing
  QByteArray all;
  for (int i = 0; i < 256; ++i)
    all.append(char(i));
  EXPECT_EQ(conv.B64Decode(conv.B64Encode(all)), all);
}

TEST(PzConv, UrlFormEncoding)
{
  TxPzConv conv;
  EXPECT_EQ(conv.WebEncode(QByteArray("a b+c%d&e=f") + bytesOf({0x82, 0xA0})), QByteArray("a+b%2bc%25d%26e%3df%82%a0"));
  const std::pair<QByteArray, QByteArray> decodes[] = {
      {"a+b%2Bc%2bd", "a b+c+d"}, {"%82%A0%82%a0", "\x82\xA0\x82\xA0"}, {"100%", "100%"},
      {"%zz%4", "%zz%4"},         {"%00x", QByteArray("\0x", 2)},
  };
  for (const auto& [in, out] : decodes)
    EXPECT_EQ(hex(conv.WebDecode(in)), hex(out)) << in.toStdString();
  const QByteArray text = QByteArray("q=1&r=a+b 100%") + bytesOf({0x8A, 0xBF});
  EXPECT_EQ(conv.WebDecode(conv.WebEncode(text)), text);
}

TEST(PzConv, MimeEncodedWords)
{
  TxPzConv conv;
  const QByteArray a = UnicodeToSJis(QStringLiteral("あ"));
  EXPECT_EQ(conv.MIMEHeaderEncode("Re: hello"), QByteArray("Re: hello"));
  EXPECT_EQ(conv.MIMEHeaderEncode(a), QByteArray("=?ISO-2022-JP?B?GyRCJCIbKEI=?="));

  const QByteArray i = UnicodeToSJis(QStringLiteral("い"));
  const QByteArray wa = "=?ISO-2022-JP?B?GyRCJCIbKEI=?=";
  const QByteArray wi = "=?iso-2022-jp?b?GyRCJCQbKEI=?=";
  const std::pair<QByteArray, QByteArray> cases[] = {
      {"Subject " + wa + " end", "Subject " + a + " end"},
      {wa + wi, a + i},  // side by side: both decoded
      {wa + " " + wi, a + " " + i},
      {"x " + QByteArray("=?ISO-2022-JP?B?GyRCJCIbKEI="), "x "},  // still open at the end
  };
  for (const auto& [in, out] : cases)
    EXPECT_EQ(hex(conv.MIMEHeaderDecode(in)), hex(out)) << in.toStdString();
}

}  // namespace
