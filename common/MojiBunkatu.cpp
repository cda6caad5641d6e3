#include "common/MojiBunkatu.h"

#include "common/AccFunction.h"
#include "common/StringList2.h"

void TMojiBunkatu::Clear()
{
  FMojiArray.clear();
  FItemCount = 0;
}

void TMojiBunkatu::finish()
{
  if (FMojiArray.isEmpty())
    FMojiArray.append(QString());
  FItemCount = int(FMojiArray.size());
}

void TMojiBunkatu::Execute(const QString& text)
{
  Clear();
  const QChar quote = QLatin1Char('"');
  if (FUseStringList2) {
    TStringList2 list;
    list.SetQuoteChar(quote);
    if (FDelimiter == QLatin1Char(',')) {
      list.SetCommaText2(text);
    } else {
      list.SetDelimiter(FDelimiter);
      list.SetDelimitedText2(text);
    }
    FMojiArray = list.Items;
    finish();
    return;
  }
  // Strict delimiting: only the delimiter ends an item.
  const qsizetype n = text.size();
  qsizetype p = 0;
  while (p < n) {
    if (text.at(p) == quote) {
      FMojiArray.append(ExtractQuotedText(text, p, quote));
    } else {
      const qsizetype start = p;
      while (p < n && text.at(p) != FDelimiter)
        ++p;
      FMojiArray.append(text.mid(start, p - start));
    }
    if (p < n && text.at(p) == FDelimiter) {
      if (p + 1 >= n)
        FMojiArray.append(QString());
      ++p;
    }
  }
  finish();
}

void TMojiBunkatu::Execute(const QString& text, int length)
{
  Clear();
  if (length < 1) {
    FMojiArray.append(text);
    finish();
    return;
  }
  const int n = int(text.size());
  int start = 1;  // 1-based
  while (start <= n) {
    int len = length;
    if (fnIsZenkakuTail(text, start + len - 1)) {
      // The last unit would be the first half of a double-width character.
      len = len > 1 ? len - 1 : 2;
    }
    FMojiArray.append(text.mid(start - 1, len));
    start += len;
  }
  finish();
}

QString TMojiBunkatu::ItemGetter(int index) const
{
  if (index < 0 || index >= FItemCount)
    return QString();
  return FMojiArray.at(index);
}
