// TMojiBunkatu splits one text into items: at a delimiter with double-quote
// quoting (comma-separated texts and similar), or into pieces of a fixed
// number of characters that never cut a double-width character in two.
// A split that yields no item yields one empty item.
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

using TMojiArray = QStringList;

class TMojiBunkatu {
 public:
  TMojiBunkatu() { Clear(); }

  void SetDelimiter(QChar c) { FDelimiter = c; }
  int ItemCount() const { return FItemCount; }
  bool UseStringList2() const { return FUseStringList2; }
  void SetUseStringList2(bool on) { FUseStringList2 = on; }

  // Splits at the delimiter. Nothing is trimmed; an item that begins with a
  // double quote runs to the closing quote ("" inside stands for one quote).
  void Execute(const QString& text);
  // Splits into pieces of ALength characters; a piece whose last unit is the
  // first half of a double-width character ends one unit earlier. A length
  // below 1 gives the whole text as one item; with length 1 a double-width
  // character is kept whole.
  void Execute(const QString& text, int length);

  // Item AIndex; empty outside 0 .. ItemCount - 1.
  QString ItemGetter(int index) const;
  const TMojiArray& Items() const { return FMojiArray; }
  void Clear();

 private:
  void finish();

  QChar FDelimiter = QLatin1Char(',');
  TMojiArray FMojiArray;
  int FItemCount = 0;
  bool FUseStringList2 = false;
};
