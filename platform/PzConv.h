#pragma once
#include <QByteArray>
#include <QString>

#include "platform/Exceptions.h"

// A text that the target Japanese code set cannot hold (an emoji in Shift_JIS,
// a user-defined character in JIS), or bytes that are not valid in the source
// code set. The message names the character or the bytes.
class EJapaneseCodeError : public EPlatformError {
 public:
  using EPlatformError::EPlatformError;
};

// Escape that ends a double-byte run in JIS output: ESC "(B" or ESC "(J".
enum TJisByteCodeType { btAscii, btRoman };
// Half-width katakana before JIS, EUC and MIME output: unchanged, full-width
// with the voiced marks merged into the letter, or full-width letter by letter.
enum TJisKanaConvType { ktNone, ktZenWithDaku, ktZenSepaDaku };

// Conversions that Japanese mail and web texts need. Every operation works on
// bytes; a Japanese text is meant as Shift_JIS (the Windows code page 932
// repertoire: ①, ㈱, 髙 and ～ included). The code tables are our own
// (platform/SJisTable.inc, written by scripts/gen-sjis-table.py).
class TxPzConv {
 public:
  TJisByteCodeType JisByteCodeType() const { return FJisByteCodeType; }
  void SetJisByteCodeType(TJisByteCodeType value) { FJisByteCodeType = value; }
  TJisKanaConvType JisKanaConvType() const { return FJisKanaConvType; }
  void SetJisKanaConvType(TJisKanaConvType value) { FJisKanaConvType = value; }

  // ISO-2022-JP to Shift_JIS. ESC "$B" starts a double-byte run, ESC "(B" and
  // ESC "(J" end it (the escapes are dropped); other escapes are copied. In a
  // run a pair outside 0x21..0x7E and a lone last byte give nothing.
  QByteArray JisToSJis(const QByteArray& text) const;
  // Shift_JIS to ISO-2022-JP, after the half-width katakana step. IBM
  // extension codes (0xFA40..) are written as their NEC-selected equals;
  // a character without a JIS code throws EJapaneseCodeError.
  QByteArray SJisToJis(const QByteArray& text) const;
  // EUC-JP to Shift_JIS: A1..FE pairs, 8E + half-width katakana; other
  // bytes copied.
  QByteArray EucToSJis(const QByteArray& text) const;
  // Shift_JIS to EUC-JP, after the half-width katakana step.
  QByteArray SJisToEuc(const QByteArray& text) const;

  // URL form encoding: bytes from 0x80 and the bytes "+", "%", "&" and "="
  // become "%xx" (lower case), a space "+".
  QByteArray WebEncode(const QByteArray& text) const;
  // "%" and two hexadecimal digits give that byte ("%2B" a plus sign), a
  // plain "+" a space; a "%" without two digits after it is copied.
  QByteArray WebDecode(const QByteArray& text) const;

  // Base64, standard alphabet, "=" padding, one line.
  QByteArray B64Encode(const QByteArray& data) const;
  // Groups of four characters; the padding says how many bytes the last
  // group holds (zero bytes are kept). Characters outside the alphabet count
  // as 0; an incomplete last group gives nothing.
  QByteArray B64Decode(const QByteArray& text) const;

  // "=?ISO-2022-JP?B?" + Base64 of the JIS text + "?=" when the text holds a
  // double-byte character, else the text unchanged.
  QByteArray MIMEHeaderEncode(const QByteArray& text) const;
  // Decodes every ISO-2022-JP "B" encoded word (two written side by side
  // both), copying the text between them; a word still open at the end is
  // dropped.
  QByteArray MIMEHeaderDecode(const QByteArray& text) const;

  // The half-width katakana step of SJisToJis, SJisToEuc and
  // MIMEHeaderEncode, by JisKanaConvType.
  QByteArray HanKanaToZen(const QByteArray& text) const;

 private:
  TJisByteCodeType FJisByteCodeType = btAscii;
  TJisKanaConvType FJisKanaConvType = ktZenWithDaku;
};

// Unicode text to Shift_JIS (code page 932 repertoire) by our tables. A
// character it cannot hold throws EJapaneseCodeError naming it; nothing is
// ever written as "?".
QByteArray UnicodeToSJis(const QString& text);
// Shift_JIS bytes to Unicode; a byte sequence that is not Shift_JIS throws
// EJapaneseCodeError naming its offset.
QString SJisToUnicode(const QByteArray& bytes);
