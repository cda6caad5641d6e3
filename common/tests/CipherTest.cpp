#include <gtest/gtest.h>

#include "common/AccCipher.h"

namespace {

TEST(EasyEncode, ReadsStoredTextBack)
{
  struct Case {
    QString key;
    QString plain;
  } cases[] = {{"k3y", "Pass1234"}, {"", "abcXYZ09"}, {"長いキー", "z"}, {"a", ""}};
  for (const auto& c : cases) {
    TEasyEncodeInfo info;
    info.SecretKey = c.key;
    pcEasyEncodeInit(info);
    info.BasicText = c.plain;
    info.ValidLength = -1;
    fnEasyEncodeInverse(info);
    if (!c.key.isEmpty() && !c.plain.isEmpty()) {
      EXPECT_NE(info.EncodeText, c.plain);
    }
    const QString stored = info.EncodeText;
    pcEasyEncodeInit(info);
    EXPECT_EQ(info.SecretKey, c.key);  // the key survives the reset
    info.EncodeText = stored;
    info.ValidLength = -1;
    EXPECT_TRUE(fnEasyEncode(info));
    EXPECT_EQ(info.BasicText, c.plain);
  }
}

TEST(EasyEncode, LengthEmptyKeyAndForeignCharacters)
{
  TEasyEncodeInfo info;
  info.SecretKey = "";
  info.EncodeText = "abc123";
  info.ValidLength = -1;
  fnEasyEncode(info);
  EXPECT_EQ(info.BasicText, "abc123");  // an empty key maps every character to itself
  info.SecretKey = "key";
  info.ValidLength = 0;
  fnEasyEncode(info);
  EXPECT_EQ(info.BasicText, "");
  info.ValidLength = 3;
  fnEasyEncode(info);
  EXPECT_EQ(info.BasicText.size(), 3);
  info.ValidLength = -1;
  info.EncodeText = "ab-cd";
  fnEasyEncode(info);
  EXPECT_EQ(info.BasicText.size(), 2);  // "-" is outside the alphabet and ends the text
}

TEST(Cipher, RoundTripsAndRejectsForeignOrBrokenValues)
{
  const QString values[] = {"123456789012", "パスワード", "p", QString(150, QLatin1Char('x'))};
  for (const QString& v : values) {
    const QString coded = fnJxEncipher(v, "key", int(v.size()));
    ASSERT_FALSE(coded.isEmpty()) << v.toStdString();
    EXPECT_LE(coded.size(), 255);
    EXPECT_NE(coded, v);
    EXPECT_EQ(fnJxDecipher(coded, "other key", 8), v);  // key and length do not matter
  }
  // Each enciphering differs (random nonce) but all decipher the same.
  EXPECT_NE(fnJxEncipher("same", "", 4), fnJxEncipher("same", "", 4));
  // Blank input: empty without calling the cipher.
  EXPECT_EQ(fnJxDecipher("", "", 0), "");
  EXPECT_EQ(fnJxDecipher("   ", "", 0), "");
  EXPECT_EQ(fnJxEncipher(" ", "", 0), "");
  // A value from elsewhere, or a changed one, gives an empty text.
  EXPECT_EQ(fnJxDecipher("not-our-cipher-text", "", 0), "");
  QString coded = fnJxEncipher("123456789012", "", 12);
  coded[20] = coded[20] == QLatin1Char('A') ? QLatin1Char('B') : QLatin1Char('A');
  EXPECT_EQ(fnJxDecipher(coded, "", 12), "");
  // Too long for the 256-character result: refused, not cut.
  EXPECT_EQ(fnJxEncipher(QString(240, QLatin1Char('y')), "", 240), "");
  // An unknown mode fails.
  char16_t out1[256] = {};
  char16_t out2[256] = {};
  EXPECT_EQ(P_Check1(u"abc", u"999", out1, out2), 0);
}

}  // namespace
