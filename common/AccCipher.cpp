#include "common/AccCipher.h"

#include <cstring>
#include <memory>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <QByteArray>
#include <QCryptographicHash>

namespace {

constexpr int kAlphabetSize = 62;

int alphabetIndex(QChar c)
{
  return int(EasyEncodeAlphabet().indexOf(c));
}

int positiveMod(long long v, int m)
{
  const long long r = v % m;
  return int(r < 0 ? r + m : r);
}

// Runs the coder in one direction (sign -1 reads stored text, +1 stores).
QString runCoder(const QString& input, const QString& key, int validLength, int sign)
{
  QString out;
  long long sum = 0;
  int j = 0;
  for (int i = 0; i < input.size(); ++i) {
    if (i == validLength)
      break;
    if (j >= key.size())
      j = 0;
    if (!key.isEmpty())
      sum += key.at(j).unicode();
    const int k = alphabetIndex(input.at(i));
    if (k < 0)
      break;  // a character outside the alphabet ends the result
    out.append(EasyEncodeAlphabet().at(positiveMod(k + sign * sum, kAlphabetSize)));
    ++j;
  }
  return out;
}

// --- the cipher -----------------------------------------------------------

constexpr int kNonceLen = 12;
constexpr int kTagLen = 16;
constexpr int kMaxOut = 255;  // characters of the 512-byte output buffer before its zero

QByteArray cipherKey()
{
  static const QByteArray key =
      QCryptographicHash::hash(QByteArrayLiteral("rendo-common/value-cipher/2026:protect stored numbers and passwords"),
                               QCryptographicHash::Sha256);
  return key;
}

struct CtxFree {
  void operator()(EVP_CIPHER_CTX* c) const { EVP_CIPHER_CTX_free(c); }
};
using CtxPtr = std::unique_ptr<EVP_CIPHER_CTX, CtxFree>;

bool encipher(const QString& plain, QString& out)
{
  const QByteArray pt = plain.toUtf8();
  QByteArray blob(kNonceLen + pt.size() + kTagLen, Qt::Uninitialized);
  auto* nonce = reinterpret_cast<unsigned char*>(blob.data());
  if (RAND_bytes(nonce, kNonceLen) != 1)
    return false;
  CtxPtr ctx(EVP_CIPHER_CTX_new());
  if (!ctx)
    return false;
  const QByteArray key = cipherKey();
  int len = 0;
  if (EVP_EncryptInit_ex(ctx.get(), EVP_aes_256_gcm(), nullptr, reinterpret_cast<const unsigned char*>(key.constData()),
                         nonce) != 1)
    return false;
  auto* ct = nonce + kNonceLen;
  if (!pt.isEmpty() && EVP_EncryptUpdate(ctx.get(), ct, &len, reinterpret_cast<const unsigned char*>(pt.constData()),
                                         int(pt.size())) != 1)
    return false;
  int fin = 0;
  if (EVP_EncryptFinal_ex(ctx.get(), ct + len, &fin) != 1)
    return false;
  if (EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_GET_TAG, kTagLen, ct + pt.size()) != 1)
    return false;
  out = QString::fromLatin1(blob.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
  return out.size() <= kMaxOut;
}

bool decipher(const QString& coded, QString& out)
{
  const auto decoded = QByteArray::fromBase64Encoding(
      coded.trimmed().toLatin1(), QByteArray::Base64UrlEncoding | QByteArray::AbortOnBase64DecodingErrors);
  if (!decoded)
    return false;
  const QByteArray blob = *decoded;
  if (blob.size() < kNonceLen + kTagLen)
    return false;
  const auto* nonce = reinterpret_cast<const unsigned char*>(blob.constData());
  const int ctLen = int(blob.size()) - kNonceLen - kTagLen;
  const auto* ct = nonce + kNonceLen;
  QByteArray tag = blob.right(kTagLen);
  CtxPtr ctx(EVP_CIPHER_CTX_new());
  if (!ctx)
    return false;
  const QByteArray key = cipherKey();
  if (EVP_DecryptInit_ex(ctx.get(), EVP_aes_256_gcm(), nullptr, reinterpret_cast<const unsigned char*>(key.constData()),
                         nonce) != 1)
    return false;
  QByteArray pt(ctLen, Qt::Uninitialized);
  int len = 0;
  if (ctLen > 0 && EVP_DecryptUpdate(ctx.get(), reinterpret_cast<unsigned char*>(pt.data()), &len, ct, ctLen) != 1)
    return false;
  if (EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_GCM_SET_TAG, kTagLen, tag.data()) != 1)
    return false;
  int fin = 0;
  if (EVP_DecryptFinal_ex(ctx.get(), reinterpret_cast<unsigned char*>(pt.data()) + len, &fin) != 1)
    return false;  // tampered or not ours
  out = QString::fromUtf8(pt);
  return out.size() <= kMaxOut;
}

QString callCipher(const QString& text, const char16_t* mode)
{
  if (text.trimmed().isEmpty())
    return QString();
  char16_t out1[256] = {};
  char16_t out2[256] = {};
  const std::u16string src(reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size()));
  if (P_Check1(src.c_str(), mode, out1, out2) != 1)
    return QString();
  return QString::fromUtf16(out1);
}

}  // namespace

const QString& EasyEncodeAlphabet()
{
  static const QString alphabet = QStringLiteral("Q7wE2rT9yUi4OpA1sDf8GhJ3kLz6XcV0bNm5qWeRtYuIoPaSdFgHjKlZxCvBnM");
  return alphabet;
}

void pcEasyEncodeInit(TEasyEncodeInfo& info)
{
  info.EncodeLength = 0;
  info.ValidLength = 0;
  info.BasicText.clear();
  info.EncodeText.clear();
}

bool fnEasyEncode(TEasyEncodeInfo& info)
{
  info.BasicText = runCoder(info.EncodeText, info.SecretKey, info.ValidLength, -1);
  return true;
}

bool fnEasyEncodeInverse(TEasyEncodeInfo& info)
{
  info.EncodeText = runCoder(info.BasicText, info.SecretKey, info.ValidLength, +1);
  return true;
}

int P_Check1(const char16_t* source, const char16_t* mode, char16_t* out1, char16_t* /*out2*/)
{
  if (!source || !mode || !out1)
    return 0;
  const QString src = QString::fromUtf16(source);
  const QString m = QString::fromUtf16(mode);
  QString result;
  bool ok = false;
  if (m == QLatin1String("160"))
    ok = encipher(src, result);
  else if (m == QLatin1String("161"))
    ok = decipher(src, result);
  if (!ok)
    return 0;
  std::memset(out1, 0, 512);
  std::memcpy(out1, result.utf16(), std::size_t(result.size()) * sizeof(char16_t));
  return 1;
}

QString fnJxEncipher(const QString& text, const QString& /*key*/, int /*len*/)
{
  return callCipher(text, u"160");
}

QString fnJxDecipher(const QString& text, const QString& /*key*/, int /*len*/)
{
  return callCipher(text, u"161");
}
