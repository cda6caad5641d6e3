// Enciphered values of a company data set: the program's own substitution
// coder over a 62-character alphabet (the data set's stored password), and
// the cipher used for the stored My Number value and its password.
//
// The cipher is our own authenticated encryption (AES-256-GCM) behind the
// P_Check1 contract: a text goes in, a text of at most 256 characters comes
// out, 1 means success. Values enciphered by another installation's cipher
// library cannot be read by it.
#pragma once

#include <QString>

struct TEasyEncodeInfo {
  int EncodeLength = 0;  // cleared by pcEasyEncodeInit; not used by the coder
  int ValidLength = 0;   // characters to convert (negative: all)
  QString SecretKey;     // used in turn, cyclically
  QString BasicText;     // result: the plain text
  QString EncodeText;    // input: the stored text
};

// Clears everything but SecretKey.
void pcEasyEncodeInit(TEasyEncodeInfo& info);
// Turns EncodeText into BasicText: each character's alphabet index minus the
// running sum of the key characters used so far (mod 62). A character outside
// the alphabet ends the result. Always true.
bool fnEasyEncode(TEasyEncodeInfo& info);
// The inverse: turns BasicText into the stored form EncodeText.
bool fnEasyEncodeInverse(TEasyEncodeInfo& info);
// The coder's alphabet (62 distinct characters).
const QString& EasyEncodeAlphabet();

// The cipher entry: Mode "160" enciphers, "161" deciphers Source into Out1
// (a zero-terminated text of at most 256 characters; both buffers hold 512
// bytes). Returns 1 on success. Out2 is not written.
int P_Check1(const char16_t* source, const char16_t* mode, char16_t* out1, char16_t* out2);

// Wrappers: empty for a text that is blank after trimming spaces (the cipher
// is then not called) and for any failure. Key and Len are accepted for the
// callers and do not change the result.
QString fnJxEncipher(const QString& text, const QString& key, int len);
QString fnJxDecipher(const QString& text, const QString& key, int len);
