#include "common/StringList2.h"

QString ExtractQuotedText(const QString& text, qsizetype& pos, QChar quote)
{
  QString out;
  const qsizetype n = text.size();
  ++pos;  // opening quote
  while (pos < n) {
    const QChar c = text.at(pos);
    if (c == quote) {
      if (pos + 1 < n && text.at(pos + 1) == quote) {
        out.append(quote);
        pos += 2;
        continue;
      }
      ++pos;  // closing quote
      return out;
    }
    out.append(c);
    ++pos;
  }
  return out;
}

QString TStringList2::DelimitedText2() const
{
  if (Items.size() == 1 && Items.first().isEmpty())
    return QString(2, FQuoteChar);
  QString out;
  for (qsizetype i = 0; i < Items.size(); ++i) {
    const QString& item = Items.at(i);
    bool quote = false;
    for (QChar c : item) {
      if (c.unicode() < 0x20 || c == FQuoteChar || c == FDelimiter) {
        quote = true;
        break;
      }
    }
    if (i > 0)
      out.append(FDelimiter);
    if (quote) {
      QString doubled = item;
      doubled.replace(FQuoteChar, QString(2, FQuoteChar));
      out.append(FQuoteChar).append(doubled).append(FQuoteChar);
    } else {
      out.append(item);
    }
  }
  return out;
}

void TStringList2::SetDelimitedText2(const QString& text)
{
  Items.clear();
  const qsizetype n = text.size();
  auto isCtl = [](QChar c) { return c.unicode() >= 1 && c.unicode() <= 31; };
  qsizetype p = 0;
  while (p < n && isCtl(text.at(p)))
    ++p;
  while (p < n && text.at(p) != QChar(0)) {
    QString item;
    if (text.at(p) == FQuoteChar) {
      item = ExtractQuotedText(text, p, FQuoteChar);
    } else {
      const qsizetype start = p;
      while (p < n && text.at(p).unicode() >= 0x20 && text.at(p) != FDelimiter)
        ++p;
      item = text.mid(start, p - start);
    }
    Items.append(FItemTrim ? item.trimmed() : item);
    while (p < n && isCtl(text.at(p)))
      ++p;
    if (p < n && text.at(p) == FDelimiter) {
      if (p + 1 >= n)
        Items.append(QString());
      ++p;
      while (p < n && isCtl(text.at(p)))
        ++p;
    }
  }
}

QString TStringList2::CommaText2()
{
  FDelimiter = QLatin1Char(',');
  FQuoteChar = QLatin1Char('"');
  return DelimitedText2();
}

void TStringList2::SetCommaText2(const QString& text)
{
  FDelimiter = QLatin1Char(',');
  FQuoteChar = QLatin1Char('"');
  SetDelimitedText2(text);
}
