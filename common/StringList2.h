// A string list whose delimited-text form treats spaces as ordinary
// characters: an item is quoted only when it holds a control character, the
// quote character or the delimiter, and reading splits only at the
// delimiter. Reading can trim every item.
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

class TStringList2 {
 public:
  QStringList Items;

  QChar Delimiter() const { return FDelimiter; }
  void SetDelimiter(QChar c) { FDelimiter = c; }
  QChar QuoteChar() const { return FQuoteChar; }
  void SetQuoteChar(QChar c) { FQuoteChar = c; }
  bool ItemTrim() const { return FItemTrim; }
  void SetItemTrim(bool on) { FItemTrim = on; }

  int Count() const { return int(Items.size()); }
  void Clear() { Items.clear(); }
  void Add(const QString& s) { Items.append(s); }

  // Items joined by the delimiter, quoted as needed; one empty item gives
  // two quote characters, an empty list an empty text.
  QString DelimitedText2() const;
  // Replaces the items by those read from the text.
  void SetDelimitedText2(const QString& text);

  // As above with the delimiter "," and the double quote, which stay set.
  QString CommaText2();
  void SetCommaText2(const QString& text);

 private:
  QChar FDelimiter = QLatin1Char(',');
  QChar FQuoteChar = QLatin1Char('"');
  bool FItemTrim = false;
};

// Reads a quoted item starting at text[pos] (which holds the quote
// character): two quote characters in a row stand for one; without a closing
// quote the item runs to the end. pos is left after the closing quote.
QString ExtractQuotedText(const QString& text, qsizetype& pos, QChar quote);
