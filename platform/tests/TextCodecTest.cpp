#include <gtest/gtest.h>

#include "PlatformTestUtil.h"
#include "platform/TextCodec.h"

namespace {

TEST(Cp932, CompanyNamesEncodeToTheWindowsCodePage)
{
  // 髙 (IBM extension), ① and ㈱ (NEC specials), ～ U+FF5E and － U+FF0D:
  // all outside strict Shift_JIS.
  const QString name = QStringLiteral("髙橋①商事～－㈱");
  const QByteArray expected =
      bytesOf({0xFB, 0xFC, 0x8B, 0xB4, 0x87, 0x40, 0x8F, 0xA4, 0x8E, 0x96, 0x81, 0x60, 0x81, 0x7C, 0x87, 0x8A});
  bool ok = false;
  EXPECT_EQ(toCp932(name, &ok), expected);
  EXPECT_TRUE(ok);
  EXPECT_EQ(fromCp932(expected, &ok), name);
  EXPECT_TRUE(ok);
  EXPECT_TRUE(isCp932Representable(QStringView(name)));

  const QString mixed = QStringLiteral("AZ az 09 ｱｲｳ \\~");
  EXPECT_EQ(fromCp932(toCp932(mixed)), mixed);
  EXPECT_EQ(toCp932(QStringLiteral("ｱ")), bytesOf({0xB1}));
}

TEST(Cp932, RepresentableCharacters)
{
  struct Case {
    char32_t cp;
    bool representable;
  };
  const Case cases[] = {
      {U'A', true},       {U'髙', true},     {U'①', true},           {U'㈱', true},
      {U'ｱ', true},       {U'\u301C', true},  // WAVE DASH: written as 81 60 like the fullwidth tilde
      {U'\u2212', true},                      // MINUS SIGN: written as 81 7C
      {U'\u00A5', false},                     // YEN SIGN would come back as a backslash
      {U'\u203E', false},                     // OVERLINE would come back as a tilde
      {U'€', false},      {U'한', false},    {U'\U0001F600', false}, {char32_t(0xD83D), false},
      {U'𠮷', false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(isCp932Representable(c.cp), c.representable) << std::hex << unsigned(c.cp);

  bool ok = true;
  EXPECT_EQ(toCp932(QStringLiteral("a€b"), &ok), QByteArray("a?b"));
  EXPECT_FALSE(ok);
  EXPECT_EQ(toCp932(QString::fromUcs4(U"x\U0001F600y"), &ok), QByteArray("x?y"));  // one '?' per character
  EXPECT_FALSE(ok);
  EXPECT_FALSE(isCp932Representable(QStringView(u"ab€")));
}

TEST(Cp932, MalformedBytesAreReported)
{
  struct Case {
    QByteArray bytes;
    QString text;
  };
  const Case cases[] = {
      {bytesOf({0x41, 0x81}), QStringLiteral("A\uFFFD")},         // lead byte at the end
      {bytesOf({0x85, 0x40, 0x41}), QStringLiteral("\uFFFD@A")},  // undefined pair
      {bytesOf({0x82, 0x20}), QStringLiteral("\uFFFD ")},         // bad trail byte
  };
  for (const Case& c : cases) {
    bool ok = true;
    EXPECT_EQ(fromCp932(c.bytes, &ok), c.text) << c.bytes.toHex().toStdString();
    EXPECT_FALSE(ok);
  }
}

TEST(TextEncoding, EncodeDecodeEveryEncoding)
{
  const QString text = QStringLiteral("会社=髙橋①商事\r\nline 2");
  struct Case {
    TextEncoding enc;
    QByteArray prefix;
  };
  const Case cases[] = {
      {TextEncoding::Utf8, QByteArray()},
      {TextEncoding::Utf8Bom, bytesOf({0xEF, 0xBB, 0xBF})},
      {TextEncoding::Utf16LeBom, bytesOf({0xFF, 0xFE})},
      {TextEncoding::Cp932, QByteArray()},
  };
  for (const Case& c : cases) {
    bool ok = false;
    const QByteArray bytes = encodeText(text, c.enc, &ok);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(bytes.startsWith(c.prefix));
    EXPECT_EQ(decodeText(bytes, c.enc, &ok), text) << int(c.enc);
    EXPECT_TRUE(ok);
    TextEncoding found;
    EXPECT_EQ(decodeDetected(bytes, &found, &ok), text) << int(c.enc);
    EXPECT_EQ(found, c.enc);
  }
  EXPECT_EQ(encodeText(QStringLiteral("A"), TextEncoding::Utf16LeBom), bytesOf({0xFF, 0xFE, 0x41, 0x00}));

  bool ok = true;
  decodeText(bytesOf({0x61, 0xE3, 0x81}), TextEncoding::Utf8, &ok);  // cut sequence
  EXPECT_FALSE(ok);
  decodeText(bytesOf({0xFF, 0xFE, 0x3D, 0xD8, 0x41, 0x00}), TextEncoding::Utf16LeBom, &ok);  // lone surrogate
  EXPECT_FALSE(ok);
  decodeText(bytesOf({0xFF, 0xFE, 0x41}), TextEncoding::Utf16LeBom, &ok);  // odd length
  EXPECT_FALSE(ok);
}

TEST(TextEncoding, CodePageDetectionOfByteSamples)
{
  const QByteArray ascii("plain text, nothing else\r\n");
  const QByteArray utf8a = QStringLiteral("あ").toUtf8();  // E3 81 82
  struct Case {
    const char* what;
    QByteArray sample;
    int code;
    TextEncoding read;
  };
  const Case cases[] = {
      {"empty", QByteArray(), 0, TextEncoding::Utf8},
      {"ascii", ascii, 1252, TextEncoding::Utf8},
      {"binary", bytesOf({0x41, 0x00, 0x42, 0x43}), 0, TextEncoding::Utf8},
      {"utf16 bom", bytesOf({0xFF, 0xFE, 0x41, 0x00}), 1200, TextEncoding::Utf16LeBom},
      {"utf16be bom", bytesOf({0xFE, 0xFF, 0x00, 0x41}), 1201, TextEncoding::Utf8},
      {"utf8 bom", bytesOf({0xEF, 0xBB, 0xBF, 0x41}), 65001, TextEncoding::Utf8Bom},
      {"sjis あ", QByteArray("ab") + bytesOf({0x82, 0xA0}) + "cdef", 932, TextEncoding::Cp932},
      {"sjis company", QByteArray("x,") + toCp932(QStringLiteral("株式会社髙橋①")) + ",y\r\n", 932,
       TextEncoding::Cp932},
      {"utf8 あ", QByteArray("ab") + utf8a + "cdef", 65002, TextEncoding::Utf8},
      {"utf8 あ alone", utf8a, 932, TextEncoding::Cp932},
      {"euc 漢字", QByteArray("a") + bytesOf({0xB4, 0xC1, 0xBB, 0xFA}) + "bc", 20932, TextEncoding::Utf8},
      {"iso-2022-jp", QByteArray("a") + bytesOf({0x1B, 0x24, 0x42, 0x30, 0x21, 0x1B, 0x28, 0x42}), 50220,
       TextEncoding::Utf8},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DetectTextCodePage(c.sample), c.code) << c.what;
    EXPECT_EQ(detectTextEncoding(c.sample), c.read) << c.what;
  }

  // Only the first 512 bytes count.
  QByteArray late = QByteArray(TextSampleSize, 'a') + bytesOf({0x82, 0xA0});
  EXPECT_EQ(DetectTextCodePage(late), 1252);
  EXPECT_EQ(detectTextEncoding(late), TextEncoding::Utf8);
  late = QByteArray(TextSampleSize - 20, 'a') + bytesOf({0x82, 0xA0}) + QByteArray(18, 'b');
  EXPECT_EQ(detectTextEncoding(late), TextEncoding::Cp932);
}

}  // namespace
