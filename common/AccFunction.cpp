#include "common/AccFunction.h"

#include <algorithm>

#include <QHash>

namespace {

constexpr char16_t kZenSpace = u'\x3000';

bool isSpaceOrZen(QChar c)
{
  return c == QLatin1Char(' ') || c.unicode() == kZenSpace;
}

QString doTrimIf(const QString& s, bool doTrim)
{
  return doTrim ? fnTrim(s) : s;
}

}  // namespace

// --- character classes -----------------------------------------------------

bool fnIsHighSurrogate(QChar c)
{
  return c.unicode() >= 0xD800 && c.unicode() <= 0xDBFF;
}

bool fnIsLowSurrogate(QChar c)
{
  return c.unicode() >= 0xDC00 && c.unicode() <= 0xDFFF;
}

int fnCodePointLength(const QString& s)
{
  int n = 0;
  for (QChar c : s)
    if (!fnIsLowSurrogate(c))
      ++n;
  return n;
}

int fnCharByteWidth(QChar c)
{
  const char16_t u = c.unicode();
  if (fnIsHighSurrogate(c))
    return 2;
  if (fnIsLowSurrogate(c))
    return 0;
  if (u >= 0x20 && u <= 0x7E)
    return 1;
  if (u >= 0xFF61 && u <= 0xFF9F)
    return 1;
  return 2;
}

int fnTextByteWidth(const QString& s)
{
  int w = 0;
  for (QChar c : s)
    w += fnCharByteWidth(c);
  return w;
}

bool fnIsLeadChar(QChar c)
{
  const char16_t u = c.unicode();
  return fnIsHighSurrogate(c) || (u >= 129 && u <= 159) || (u >= 224 && u <= 252);
}

bool fnIsZenkakuTail(const QString& s, int pos)
{
  if (s.isEmpty() || pos < 1)
    return false;
  const int last = std::min<int>(pos, int(s.size()));
  bool first = false;  // state of the unit just scanned
  for (int i = 0; i < last; ++i) {
    if (first)
      first = false;  // second half of the character before
    else
      first = fnIsLeadChar(s.at(i));
  }
  return first;
}

// --- trimming ---------------------------------------------------------------

QString fnTrim(const QString& s)
{
  qsizetype b = 0;
  qsizetype e = s.size();
  while (b < e && s.at(b).unicode() <= 0x20)
    ++b;
  while (e > b && s.at(e - 1).unicode() <= 0x20)
    --e;
  return s.mid(b, e - b);
}

QString fnTrimZen(const QString& s)
{
  qsizetype b = 0;
  qsizetype e = s.size();
  while (b < e && isSpaceOrZen(s.at(b)))
    ++b;
  while (e > b && isSpaceOrZen(s.at(e - 1)))
    --e;
  return s.mid(b, e - b);
}

QString fnDelSpaceZen(const QString& s)
{
  QString out;
  out.reserve(s.size());
  for (QChar c : s)
    if (!isSpaceOrZen(c))
      out.append(c);
  return out;
}

QString fnRemoveTabCrLf(const QString& s)
{
  QString out;
  out.reserve(s.size());
  for (QChar c : s)
    if (c != QLatin1Char('\t') && c != QLatin1Char('\r') && c != QLatin1Char('\n'))
      out.append(c);
  return out;
}

// --- cutting and padding ----------------------------------------------------

QString fnSpaceStr(int n)
{
  if (n < 1 || n > 510)
    return QString();
  return QString(n, QLatin1Char(' '));
}

QString fnCutStrL(const QString& s, int n, bool doTrim)
{
  const QString t = s + QString(std::max(n, 0), QLatin1Char(' '));
  QString out;
  int count = 0;
  for (qsizetype i = 0; i < t.size() && count < n; ++i) {
    const QChar c = t.at(i);
    if (fnIsHighSurrogate(c))
      continue;  // counted with its low half
    if (fnIsLowSurrogate(c)) {
      if (i > 0 && fnIsHighSurrogate(t.at(i - 1)))
        out.append(t.at(i - 1));
      out.append(c);
    } else {
      out.append(c);
    }
    ++count;
  }
  return doTrimIf(out, doTrim);
}

QString fnCutStrR(const QString& s, int n, bool doTrim)
{
  const QString t = QString(std::max(n, 0), QLatin1Char(' ')) + s;
  QString out;
  int count = 0;
  for (qsizetype i = t.size() - 1; i >= 0 && count < n; --i) {
    const QChar c = t.at(i);
    if (fnIsLowSurrogate(c))
      continue;  // taken with its high half
    if (fnIsHighSurrogate(c)) {
      QString pair(c);
      if (i + 1 < t.size() && fnIsLowSurrogate(t.at(i + 1)))
        pair.append(t.at(i + 1));
      out.prepend(pair);
    } else {
      out.prepend(c);
    }
    ++count;
  }
  return doTrimIf(out, doTrim);
}

QString fnTrimZenL(const QString& s)
{
  return fnCutStrL(s, int(s.size()), true);
}

QString fnCutByteL(const QString& s, int w, bool doTrim)
{
  const QString t = s + QString(std::max(w, 0), QLatin1Char(' '));
  QString out;
  int sum = 0;
  for (qsizetype i = 0; i < t.size() && sum < w; ++i) {
    const QChar c = t.at(i);
    if (fnIsHighSurrogate(c)) {
      sum += 2;
      if (sum > w)
        break;
      out.append(c);
      if (i + 1 < t.size() && fnIsLowSurrogate(t.at(i + 1)))
        out.append(t.at(++i));
      continue;
    }
    if (fnIsLowSurrogate(c))
      continue;  // a low half on its own
    sum += fnCharByteWidth(c);
    if (sum > w)
      break;
    out.append(c);
  }
  return doTrimIf(out, doTrim);
}

QString fnCutByteR(const QString& s, int w, bool doTrim)
{
  QString out;
  int sum = 0;
  for (qsizetype i = s.size() - 1; i >= 0 && sum < w; --i) {
    const QChar c = s.at(i);
    if (fnIsLowSurrogate(c)) {
      if (i > 0 && fnIsHighSurrogate(s.at(i - 1))) {
        sum += 2;
        if (sum > w)
          break;
        out.prepend(c);
        out.prepend(s.at(--i));
      }
      continue;  // a low half on its own is skipped
    }
    if (fnIsHighSurrogate(c))
      continue;  // a high half on its own
    sum += fnCharByteWidth(c);
    if (sum > w)
      break;
    out.prepend(c);
  }
  return doTrimIf(out, doTrim);
}

QString fnMidByPos(const QString& s, int from, int to)
{
  if (to < from)
    return QString();
  const int f = std::max(from, 1);
  const int t = std::min<int>(to, int(s.size()));
  if (t < f)
    return QString();
  return s.mid(f - 1, t - f + 1);
}

QString fnAlignText(const QString& s, int w, const QString& align)
{
  if (align == QLatin1String("R"))
    return fnCutStrR(QString(256, QLatin1Char(' ')) + s, w, false);
  if (align == QLatin1String("L"))
    return fnCutStrL(s + QString(256, QLatin1Char(' ')), w, false);
  if (align == QLatin1String("C")) {
    QString out = s;
    while (out.size() < w) {
      if (out.size() % 2 == 1)
        out.prepend(QLatin1Char(' '));
      else
        out.append(QLatin1Char(' '));
    }
    return out;
  }
  return s;
}

QString fnZeroPadLeft(const QString& s, int w)
{
  return fnCutStrR(QString(256, QLatin1Char('0')) + s, w, false);
}

QString fnReverseText(const QString& s)
{
  QString out = s;
  std::reverse(out.begin(), out.end());
  return out;
}

QString fnZenAlphaToUpper(const QString& s)
{
  QString out = s;
  for (QChar& c : out)
    if (c.unicode() >= 0xFF41 && c.unicode() <= 0xFF5A)
      c = QChar(char16_t(c.unicode() - 0x20));
  return out;
}

// --- locale string mapping --------------------------------------------------

namespace {

// Half-width katakana U+FF61..U+FF9F and their full-width forms.
constexpr char16_t kHalfKana[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5,
    0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3,
    0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC,
    0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4,
    0x30E6, 0x30E8, 0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C};
static_assert(sizeof(kHalfKana) / sizeof(kHalfKana[0]) == 0xFF9F - 0xFF61 + 1);

constexpr char16_t kVoiced = 0xFF9E;
constexpr char16_t kSemiVoiced = 0xFF9F;

// Full-width katakana that take the voiced mark (the voiced form is +1).
bool takesVoiced(char16_t full)
{
  return (full >= 0x30AB && full <= 0x30C2 && (full % 2) == 1) ||         // KA..CHI
         (full >= 0x30C4 && full <= 0x30C8 && (full % 2) == 0) ||         // TSU, TE, TO
         (full >= 0x30CF && full <= 0x30DB && (full - 0x30CF) % 3 == 0);  // HA..HO
}

bool takesSemiVoiced(char16_t full)
{
  return full >= 0x30CF && full <= 0x30DB && (full - 0x30CF) % 3 == 0;
}

const QHash<char16_t, QString>& fullToHalf()
{
  static const QHash<char16_t, QString> map = [] {
    QHash<char16_t, QString> m;
    for (int i = 0; i < int(sizeof(kHalfKana) / sizeof(kHalfKana[0])); ++i) {
      const char16_t half = char16_t(0xFF61 + i);
      const char16_t full = kHalfKana[i];
      m.insert(full, QString(QChar(half)));
      if (takesVoiced(full))
        m.insert(char16_t(full + 1), QString(QChar(half)) + QChar(kVoiced));
      if (takesSemiVoiced(full))
        m.insert(char16_t(full + 2), QString(QChar(half)) + QChar(kSemiVoiced));
    }
    m.insert(0x30F4, QString(QChar(char16_t(0xFF73))) + QChar(kVoiced));  // VU
    return m;
  }();
  return map;
}

QString toFullWidth(const QString& s)
{
  QString out;
  out.reserve(s.size());
  for (qsizetype i = 0; i < s.size(); ++i) {
    const char16_t u = s.at(i).unicode();
    if (u == 0x20) {
      out.append(QChar(kZenSpace));
    } else if (u >= 0x21 && u <= 0x7E) {
      out.append(QChar(char16_t(u - 0x21 + 0xFF01)));
    } else if (u >= 0xFF61 && u <= 0xFF9F) {
      char16_t full = kHalfKana[u - 0xFF61];
      const char16_t next = i + 1 < s.size() ? s.at(i + 1).unicode() : 0;
      if (next == kVoiced && takesVoiced(full)) {
        full = char16_t(full + 1);
        ++i;
      } else if (next == kVoiced && full == 0x30A6) {
        full = 0x30F4;
        ++i;
      } else if (next == kSemiVoiced && takesSemiVoiced(full)) {
        full = char16_t(full + 2);
        ++i;
      }
      out.append(QChar(full));
    } else {
      out.append(QChar(u));
    }
  }
  return out;
}

QString toHalfWidth(const QString& s)
{
  QString out;
  out.reserve(s.size());
  const auto& map = fullToHalf();
  for (QChar c : s) {
    const char16_t u = c.unicode();
    if (u == kZenSpace) {
      out.append(QLatin1Char(' '));
    } else if (u >= 0xFF01 && u <= 0xFF5E) {
      out.append(QChar(char16_t(u - 0xFF01 + 0x21)));
    } else if (auto it = map.constFind(u); it != map.constEnd()) {
      out.append(*it);
    } else {
      out.append(c);
    }
  }
  return out;
}

QString toKatakana(const QString& s)
{
  QString out = s;
  for (QChar& c : out) {
    const char16_t u = c.unicode();
    if ((u >= 0x3041 && u <= 0x3096) || u == 0x309D || u == 0x309E)
      c = QChar(char16_t(u + 0x60));
  }
  return out;
}

QString toHiragana(const QString& s)
{
  QString out = s;
  for (QChar& c : out) {
    const char16_t u = c.unicode();
    if ((u >= 0x30A1 && u <= 0x30F6) || u == 0x30FD || u == 0x30FE)
      c = QChar(char16_t(u - 0x60));
  }
  return out;
}

}  // namespace

QString fnLCMapText(unsigned flags, const QString& s)
{
  QString out = s;
  if (flags & LCMAP_KATAKANA)
    out = toKatakana(out);
  if (flags & LCMAP_HIRAGANA)
    out = toHiragana(out);
  if (flags & LCMAP_FULLWIDTH)
    out = toFullWidth(out);
  if (flags & LCMAP_HALFWIDTH)
    out = toHalfWidth(out);
  if (flags & LCMAP_UPPERCASE)
    out = out.toUpper();
  if (flags & LCMAP_LOWERCASE)
    out = out.toLower();
  return out;
}

// --- splitting ----------------------------------------------------------------

int fnSplitText(const QString& s, const QString& sep, QStringList& parts)
{
  QString rest = s;
  const qsizetype comment = rest.indexOf(QLatin1String("//"));
  if (comment >= 0)
    rest.truncate(comment);
  if (rest.isEmpty())
    return 0;
  QStringList out;
  if (sep.isEmpty()) {
    out.append(rest);
  } else {
    for (;;) {
      const qsizetype p = rest.indexOf(sep);
      if (p < 0) {
        out.append(rest);
        break;
      }
      out.append(rest.left(p));
      rest.remove(0, p + 1);
    }
  }
  parts = out;
  return int(out.size()) - 1;
}

QString fnGetSplitItem(const QString& s, const QString& sep, int index)
{
  QStringList parts;
  const int last = fnSplitText(s, sep, parts);
  if (index < 0 || index > last || index >= parts.size())
    return QString();
  return fnTrim(parts.at(index));
}

QStringList fnTextToLines(const QString& s)
{
  QStringList lines;
  qsizetype start = 0;
  const qsizetype n = s.size();
  qsizetype i = 0;
  while (i < n) {
    const QChar c = s.at(i);
    if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
      lines.append(s.mid(start, i - start));
      if (c == QLatin1Char('\r') && i + 1 < n && s.at(i + 1) == QLatin1Char('\n'))
        ++i;
      start = ++i;
      continue;
    }
    ++i;
  }
  if (start < n)
    lines.append(s.mid(start));
  return lines;
}

QString fnGetLineByIndex(const QString& s, const QString& sep, int n)
{
  QString text = s;
  if (!sep.isEmpty())
    text.replace(sep, QStringLiteral("\r\n"));
  const QStringList lines = fnTextToLines(text);
  if (n < 1 || n > lines.size())
    return QString();
  return lines.at(n - 1);
}
