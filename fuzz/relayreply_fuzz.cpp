// The relay server's reply: the line reader, the result code, the server
// times and the server-information rows in both layouts.
#include <cstddef>
#include <cstdint>

#include "comm/RelayReply.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  for (const bool cloud : {false, true}) {
    TRelayBufferSource src(bytes);
    TRelayReplyReader reader(src);
    TServerInfo info;
    try {
      const QString line5 = reader.Line(5);
      (void)fnRelayResultCode(line5);
      QString text;
      TDateTime t = 0;
      try {
        pcRelayServerTime(fnRelayValue(line5, 8), cloud, text, t);
      } catch (const ERelayReplyError&) {
      }
      pcReadServerInfo(reader, cloud, cloud ? 1 : 0, info);
    } catch (const ERelayReplyError&) {
    }
  }
  return 0;
}
