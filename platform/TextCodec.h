#pragma once
#include <QByteArray>
#include <QString>
#include <QStringView>

// Text encodings used by the system's files. CP932 is the Windows code page
// 932 mapping (through iconv "CP932"): it holds ①, ㈱, 髙, ～ (U+FF5E) and
// － (U+FF0D), which strict Shift_JIS cannot.
enum class TextEncoding {
  Utf8,        // UTF-8 without byte-order mark
  Utf8Bom,     // UTF-8 with EF BB BF
  Utf16LeBom,  // UTF-16 little-endian with FF FE
  Cp932,       // Windows code page 932 (Shift-JIS family)
};

// Characters that CP932 cannot hold are written as '?' and *ok is set to
// false (true otherwise).
QByteArray toCp932(const QString& text, bool* ok = nullptr);
// Bytes that are not valid CP932 become U+FFFD and *ok is set to false.
QString fromCp932(const QByteArray& bytes, bool* ok = nullptr);

// True when the character (a BMP code unit, or a full code point) has a
// CP932 encoding. Surrogates, and code points above U+FFFF, never have one.
bool isCp932Representable(char32_t codePoint);
inline bool isCp932Representable(QChar c)
{
  return isCp932Representable(char32_t(c.unicode()));
}
// True when every character of the text is representable.
bool isCp932Representable(QStringView text);

// Encodes with the byte-order mark the encoding calls for. *ok false when
// a character could not be encoded (only possible for Cp932).
QByteArray encodeText(const QString& text, TextEncoding enc, bool* ok = nullptr);
// Decodes; a leading byte-order mark of the encoding is dropped. *ok false on
// malformed bytes (replaced by U+FFFD).
QString decodeText(const QByteArray& bytes, TextEncoding enc, bool* ok = nullptr);

// Byte-sample code-page detection (first 512 bytes of a file). Results:
// 0 binary or empty, 1200 UTF-16LE BOM, 1201 UTF-16BE BOM, 65001 UTF-8 BOM,
// 50220 ISO-2022-JP, 932 Shift-JIS, 20932 EUC-JP, 2 fits both Shift-JIS and
// EUC-JP, 65002 UTF-8 without BOM (a three-byte sequence met first),
// 1252 only single-byte text.
constexpr int TextSampleSize = 512;
int DetectTextCodePage(const QByteArray& sample);

// The encoding a text file is read in: UTF-16LE or UTF-8 by their byte-order
// marks; else CP932 when the first 512 bytes detect as Shift-JIS (932);
// else UTF-8.
TextEncoding detectTextEncoding(const QByteArray& bytes);
// Decodes with the detected encoding.
QString decodeDetected(const QByteArray& bytes, TextEncoding* detected = nullptr, bool* ok = nullptr);
