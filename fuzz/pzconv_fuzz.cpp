// Decoders of mail and web texts: JIS, EUC-JP, URL form, Base64, MIME
// encoded words and Shift_JIS to Unicode. Decoders must never crash or read
// outside their input; Shift_JIS encoders may only fail with their own error.
#include <cstddef>
#include <cstdint>

#include "platform/PzConv.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  const QByteArray in(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  TxPzConv conv;
  const QByteArray sjis = conv.JisToSJis(in);
  conv.EucToSJis(in);
  conv.WebDecode(in);
  conv.B64Decode(in);
  conv.MIMEHeaderDecode(in);
  conv.SetJisKanaConvType(TJisKanaConvType(size % 3));
  try {
    SJisToUnicode(in);
  } catch (const EJapaneseCodeError&) {
    // invalid bytes are reported, never decoded
  }
  try {
    conv.SJisToJis(sjis);
    conv.SJisToEuc(in);
  } catch (const EJapaneseCodeError&) {
    // characters without a JIS code are reported
  }
  return 0;
}
