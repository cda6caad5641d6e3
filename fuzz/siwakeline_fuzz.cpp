// The journal line splitter and the readers of its fields: TAB splitting with
// quoted fields, voucher texts (a text that reads as a voucher writes back to
// the same voucher), the text cleaning and the date, amount and number
// readers of the import.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "common/TextIO.h"
#include "maint/SiwakeTextIO.h"
#include "platform/Currency.h"
#include "platform/Format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QStringList lines = text.split(QLatin1Char('\n'));
  for (const QString& line : lines) {
    const QStringList fields = SplitFields(line, QStringLiteral("\t"));
    for (const QString& f : fields) {
      if (f.contains(QLatin1Char('"')))
        std::abort();  // every quote is removed
      int kind = 0, number = 0;
      if (ParseDenpyouNo(f, kind, number)) {
        int kind2 = 0, number2 = 0;
        if (!ParseDenpyouNo(FormatDenpyouNo(kind, number), kind2, number2) || kind2 != kind || number2 != number)
          std::abort();
      }
      const QString cleaned = CleanImportText(f);
      if (cleaned.contains(QLatin1Char('\t')) || CleanExportText(cleaned).contains(QLatin1Char('"')))
        std::abort();
      TDateTime d = 0;
      TryStrToDate(f, d);
      TryStrToDateTime(f, d);
      Currency c;
      TryStrToCurr(f, c);
      int i = 0;
      TryStrToInt(f, i);
    }
  }
  return 0;
}
