#include "platform/TextCodec.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <memory>

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

// Conversion tables for code page 932, built once through iconv "CP932".
// Encoding: BMP code unit -> 0 (none), 0x00XX (one byte) or 0xLLTT (two
// bytes). A character is taken when iconv encodes it to two bytes (this
// includes the usual JIS/Microsoft variants such as U+301C -> 81 60, read
// back as U+FF5E) or to one byte that decodes back to the same character
// (so U+00A5 is not silently turned into a backslash).
// Decoding: single byte -> code unit, lead/trail pair -> code unit.
struct Cp932Tables {
  std::array<quint16, 65536> enc{};
  std::array<bool, 65536> encOk{};
  std::array<char16_t, 256> single{};
  std::array<bool, 256> singleOk{};
  std::array<bool, 256> lead{};
  std::array<char16_t, 256 * 256> dbl{};
  std::array<bool, 256 * 256> dblOk{};
  bool available = false;

  Cp932Tables()
  {
    iconv_t toCp = iconv_open("CP932", "UTF-16LE");
    iconv_t fromCp = iconv_open("UTF-16LE", "CP932");
    if (toCp == iconv_t(-1) || fromCp == iconv_t(-1)) {
      if (toCp != iconv_t(-1))
        iconv_close(toCp);
      if (fromCp != iconv_t(-1))
        iconv_close(fromCp);
      return;
    }
    available = true;

    auto decode = [&](const char* bytes, size_t len, char16_t& out) -> bool {
      iconv(fromCp, nullptr, nullptr, nullptr, nullptr);
      char in[2];
      memcpy(in, bytes, len);
      char* ip = in;
      size_t il = len;
      char outb[8];
      char* op = outb;
      size_t ol = sizeof outb;
      if (iconv(fromCp, &ip, &il, &op, &ol) == size_t(-1) || il != 0 || sizeof outb - ol != 2)
        return false;
      out = char16_t(quint8(outb[0]) | (quint8(outb[1]) << 8));
      return true;
    };

    for (int b = 0; b < 256; ++b) {
      const char c = char(b);
      char16_t u;
      if (decode(&c, 1, u)) {
        single[b] = u;
        singleOk[b] = true;
      }
    }
    for (int l = 0x81; l <= 0xFC; ++l) {
      if (singleOk[l])
        continue;
      lead[l] = true;
      for (int t = 0x40; t <= 0xFC; ++t) {
        const char pair[2] = {char(l), char(t)};
        char16_t u;
        if (decode(pair, 2, u)) {
          dbl[l * 256 + t] = u;
          dblOk[l * 256 + t] = true;
        }
      }
    }
    for (int u = 0; u < 65536; ++u) {
      if (u >= 0xD800 && u <= 0xDFFF)
        continue;
      iconv(toCp, nullptr, nullptr, nullptr, nullptr);
      char in[2] = {char(u & 0xFF), char(u >> 8)};
      char* ip = in;
      size_t il = 2;
      char outb[8];
      char* op = outb;
      size_t ol = sizeof outb;
      if (iconv(toCp, &ip, &il, &op, &ol) == size_t(-1) || il != 0)
        continue;
      const size_t n = sizeof outb - ol;
      if (n == 1) {
        const quint8 b = quint8(outb[0]);
        if (singleOk[b] && single[b] == u) {
          enc[u] = b;
          encOk[u] = true;
        }
      } else if (n == 2) {
        enc[u] = quint16((quint8(outb[0]) << 8) | quint8(outb[1]));
        encOk[u] = true;
      }
    }
    iconv_close(toCp);
    iconv_close(fromCp);
  }
};

const Cp932Tables& tables()
{
  static const std::unique_ptr<Cp932Tables> t = std::make_unique<Cp932Tables>();
  return *t;
}

}  // namespace

bool isCp932Representable(char32_t codePoint)
{
  if (codePoint > 0xFFFF)
    return false;
  return tables().encOk[codePoint];
}

bool isCp932Representable(QStringView text)
{
  const Cp932Tables& t = tables();
  for (QChar c : text)
    if (!t.encOk[c.unicode()])
      return false;
  return true;
}

QByteArray toCp932(const QString& text, bool* ok)
{
  const Cp932Tables& t = tables();
  QByteArray out;
  out.reserve(text.size() * 2);
  bool good = t.available;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t u = text[i].unicode();
    if (QChar::isHighSurrogate(u) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
      ++i;  // one '?' for the whole supplementary character
      out.append('?');
      good = false;
      continue;
    }
    if (!t.encOk[u]) {
      out.append('?');
      good = false;
      continue;
    }
    const quint16 code = t.enc[u];
    if (code > 0xFF)
      out.append(char(code >> 8));
    out.append(char(code & 0xFF));
  }
  if (ok)
    *ok = good;
  return out;
}

QString fromCp932(const QByteArray& bytes, bool* ok)
{
  const Cp932Tables& t = tables();
  QString out;
  out.reserve(bytes.size());
  bool good = t.available;
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const quint8 b = quint8(bytes[i]);
    if (t.singleOk[b]) {
      out.append(QChar(t.single[b]));
      continue;
    }
    if (t.lead[b] && i + 1 < bytes.size()) {
      const quint8 tr = quint8(bytes[i + 1]);
      if (t.dblOk[b * 256 + tr]) {
        out.append(QChar(t.dbl[b * 256 + tr]));
        ++i;
        continue;
      }
    }
    out.append(QChar(QChar::ReplacementCharacter));
    good = false;
  }
  if (ok)
    *ok = good;
  return out;
}

QByteArray encodeText(const QString& text, TextEncoding enc, bool* ok)
{
  if (ok)
    *ok = true;
  switch (enc) {
    case TextEncoding::Utf8:
      return text.toUtf8();
    case TextEncoding::Utf8Bom:
      return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    case TextEncoding::Utf16LeBom: {
      QByteArray out("\xFF\xFE");
      out.reserve(2 + text.size() * 2);
      for (QChar c : text) {
        out.append(char(c.unicode() & 0xFF));
        out.append(char(c.unicode() >> 8));
      }
      return out;
    }
    case TextEncoding::Cp932:
      return toCp932(text, ok);
  }
  return {};
}

namespace {

QString decodeUtf8(QByteArrayView bytes, bool* ok)
{
  QStringDecoder dec(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString s = dec.decode(bytes);
  if (ok)
    *ok = !dec.hasError();
  return s;
}

QString decodeUtf16(QByteArrayView bytes, bool littleEndian, bool* ok)
{
  QString s;
  s.reserve(bytes.size() / 2);
  bool good = bytes.size() % 2 == 0;
  for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
    const quint8 a = quint8(bytes[i]), b = quint8(bytes[i + 1]);
    s.append(QChar(littleEndian ? char16_t(a | (b << 8)) : char16_t(b | (a << 8))));
  }
  // Unpaired surrogates are malformed.
  for (qsizetype i = 0; i < s.size(); ++i) {
    const char16_t u = s[i].unicode();
    if (QChar::isHighSurrogate(u)) {
      if (i + 1 < s.size() && QChar::isLowSurrogate(s[i + 1].unicode()))
        ++i;
      else
        good = false;
    } else if (QChar::isLowSurrogate(u)) {
      good = false;
    }
  }
  if (ok)
    *ok = good;
  return s;
}

}  // namespace

QString decodeText(const QByteArray& bytes, TextEncoding enc, bool* ok)
{
  switch (enc) {
    case TextEncoding::Utf8:
    case TextEncoding::Utf8Bom: {
      QByteArrayView v(bytes);
      if (v.startsWith("\xEF\xBB\xBF"))
        v = v.sliced(3);
      return decodeUtf8(v, ok);
    }
    case TextEncoding::Utf16LeBom: {
      QByteArrayView v(bytes);
      if (v.startsWith("\xFF\xFE"))
        v = v.sliced(2);
      return decodeUtf16(v, true, ok);
    }
    case TextEncoding::Cp932:
      return fromCp932(bytes, ok);
  }
  if (ok)
    *ok = false;
  return {};
}

int DetectTextCodePage(const QByteArray& sampleIn)
{
  const QByteArray sample = sampleIn.left(TextSampleSize);
  const qsizetype n = sample.size();
  auto b = [&](qsizetype i) -> int { return i < n ? quint8(sample[i]) : -1; };
  if (n == 0)
    return 0;
  int result = 1252;
  if (n > 2) {
    if (b(0) == 0xFF && b(1) == 0xFE)
      return 1200;
    if (b(0) == 0xFE && b(1) == 0xFF)
      return 1201;
  }
  if (n > 3 && b(0) == 0xEF && b(1) == 0xBB && b(2) == 0xBF)
    return 65001;

  qsizetype i = 0;
  while ((result == 1252 || result == 2) && i < n - 2) {
    const int a = b(i), c = b(i + 1);
    if (a == 0x1B) {
      if (c == 0x24) {
        if (b(i + 2) == 0x42 || b(i + 2) == 0x40)
          result = 50220;
        i += 3;
      } else {
        i += 2;
      }
    } else if (a <= 0x07 || a == 0xFF) {
      result = 0;
      i += 1;
    } else if (a < 0x80) {
      i += 1;
    } else if ((a >= 0x81 && a <= 0x8D) || (a >= 0x8F && a <= 0x9F)) {
      result = 932;
      i += 1;
    } else if (a == 0x8E) {
      if ((c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xA0) || (c >= 0xE0 && c <= 0xFC))
        result = 932;
      else if (c >= 0xA1 && c <= 0xDF)
        result = 2;
      i += 2;
    } else if (a >= 0xA1 && a <= 0xDF) {
      if (c >= 0xF0 && c <= 0xFE) {
        result = 20932;
        i += 2;
      } else if (c >= 0xA1 && c <= 0xDF) {
        result = 2;
        i += 2;
      } else if (c >= 0xE0 && c <= 0xEF) {
        result = 20932;
        i += 3;
      } else if (c <= 0x9F) {
        result = 932;
        i += 2;
      } else {
        i += 2;  // A0 or FF: no change
      }
    } else if (a >= 0xE0 && a <= 0xEF) {
      if ((c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xA0))
        result = 932;
      else if (c == 0xFD || c == 0xFE)
        result = 20932;
      else if (c >= 0xA1 && c <= 0xFC)
        result = 2;
      i += 2;
    } else if (a >= 0xF0 && a <= 0xFE) {
      result = 20932;
      i += 1;
    } else {  // 0x80, 0xA0
      i += 1;
    }
  }

  if (result == 2 || result == 932 || result == 20932) {
    qsizetype k = 0;
    while (k < n - 4 && b(k) < 0x80)
      ++k;
    if (k < n - 4) {
      const int x = b(k), y = b(k + 1), z = b(k + 2);
      if ((x == 0xE0 && y >= 0xA0 && y <= 0xBF && z >= 0x80 && z <= 0xBF) ||
          (x >= 0xE1 && x <= 0xEF && y >= 0x80 && y <= 0xBF && z >= 0x80 && z <= 0xBF))
        result = 65002;
    }
  }
  return result;
}

TextEncoding detectTextEncoding(const QByteArray& bytes)
{
  if (bytes.startsWith("\xFF\xFE"))
    return TextEncoding::Utf16LeBom;
  if (bytes.startsWith("\xEF\xBB\xBF"))
    return TextEncoding::Utf8Bom;
  return DetectTextCodePage(bytes.left(TextSampleSize)) == 932 ? TextEncoding::Cp932 : TextEncoding::Utf8;
}

QString decodeDetected(const QByteArray& bytes, TextEncoding* detected, bool* ok)
{
  const TextEncoding enc = detectTextEncoding(bytes);
  if (detected)
    *detected = enc;
  return decodeText(bytes, enc, ok);
}
