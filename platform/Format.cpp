#include "platform/Format.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>

#include "platform/Exceptions.h"

// ===========================================================================
// Settings
// ===========================================================================

TFormatSettings::TFormatSettings()
{
  for (int m = 1; m <= 12; ++m) {
    ShortMonthNames << QString::number(m) + QStringLiteral("月");
    LongMonthNames << QString::number(m) + QStringLiteral("月");
  }
  ShortDayNames = {QStringLiteral("日"), QStringLiteral("月"), QStringLiteral("火"), QStringLiteral("水"),
                   QStringLiteral("木"), QStringLiteral("金"), QStringLiteral("土")};
  LongDayNames = {QStringLiteral("日曜日"), QStringLiteral("月曜日"), QStringLiteral("火曜日"),
                  QStringLiteral("水曜日"), QStringLiteral("木曜日"), QStringLiteral("金曜日"),
                  QStringLiteral("土曜日")};
}

TFormatSettings TFormatSettings::JapaneseDefaults()
{
  return TFormatSettings();
}

namespace {
void applyDateFormats(TFormatSettings& fs)
{
  fs.DateSeparator = u'/';
  fs.TimeSeparator = u':';
  fs.ShortDateFormat = QStringLiteral("yyyy/MM/dd");
  fs.LongDateFormat = QStringLiteral("yyyy年MM月dd日");
  fs.ShortTimeFormat = QStringLiteral("hh:mm");
  fs.LongTimeFormat = QStringLiteral("hh:mm:ss");
}
}  // namespace

// The program fixes its date and time formats before anything runs, so the
// process-wide settings carry them from the start.
TFormatSettings& FormatSettings()
{
  static TFormatSettings settings = [] {
    TFormatSettings fs = TFormatSettings::JapaneseDefaults();
    applyDateFormats(fs);
    return fs;
  }();
  return settings;
}

void ApplyProcessDateFormats()
{
  applyDateFormats(FormatSettings());
}

// ===========================================================================
// FormatDateTime
// ===========================================================================

namespace {

QString pad(int v, int width)
{
  return QString::number(v).rightJustified(width, u'0');
}

struct DateParts {
  int year, month, day, hour, min, sec, msec, dow;
  bool hasTime;
};

bool startsWithCI(QStringView s, qsizetype pos, QLatin1String what)
{
  return s.mid(pos).startsWith(what, Qt::CaseInsensitive);
}

void appendFormat(QString& out, QStringView fmt, const DateParts& p, const TFormatSettings& fs, int level)
{
  if (level >= 2)
    return;
  QChar lastToken = u' ';
  qsizetype i = 0;
  const qsizetype n = fmt.size();
  while (i < n) {
    const QChar starter = fmt[i];
    QChar token = starter.toUpper();
    const bool letter = token >= u'A' && token <= u'Z';
    if (letter) {
      if (token == u'M' && lastToken == u'H')
        token = u'N';
      lastToken = token;
    }
    // Length of the run of the same character (as written).
    qsizetype count = 1;
    while (i + count < n && fmt[i + count] == starter)
      ++count;

    if (starter == u'\'' || starter == u'"') {
      qsizetype j = i + 1;
      while (j < n && fmt[j] != starter)
        ++j;
      out += fmt.mid(i + 1, j - i - 1);
      i = j < n ? j + 1 : n;
      continue;
    }
    if (starter == u'/') {
      if (!fs.DateSeparator.isNull())
        out += fs.DateSeparator;
      ++i;
      continue;
    }
    if (starter == u':') {
      if (!fs.TimeSeparator.isNull())
        out += fs.TimeSeparator;
      ++i;
      continue;
    }
    if (!letter) {
      out += starter;
      ++i;
      continue;
    }
    switch (token.unicode()) {
      case u'Y':
        out += count <= 2 ? pad(p.year % 100, 2) : pad(p.year, 4);
        i += count;
        break;
      case u'M':
        if (count <= 2)
          out += pad(p.month, int(count));
        else if (count == 3)
          out += fs.ShortMonthNames.value(p.month - 1);
        else
          out += fs.LongMonthNames.value(p.month - 1);
        i += count;
        break;
      case u'D':
        if (count <= 2)
          out += pad(p.day, int(count));
        else if (count == 3)
          out += fs.ShortDayNames.value(p.dow - 1);
        else if (count == 4)
          out += fs.LongDayNames.value(p.dow - 1);
        else if (count == 5)
          appendFormat(out, fs.ShortDateFormat, p, fs, level + 1);
        else
          appendFormat(out, fs.LongDateFormat, p, fs, level + 1);
        i += count;
        break;
      case u'H': {
        // A 12-hour clock when an am/pm marker follows before the next "h".
        bool twelve = false;
        for (qsizetype j = i + count; j < n; ++j) {
          const QChar c = fmt[j];
          if (c == u'h' || c == u'H')
            break;
          if (c == u'\'' || c == u'"') {
            qsizetype k = j + 1;
            while (k < n && fmt[k] != c)
              ++k;
            j = k;
            continue;
          }
          if ((c == u'a' || c == u'A') &&
              (startsWithCI(fmt, j, QLatin1String("am/pm")) || startsWithCI(fmt, j, QLatin1String("a/p")) ||
               startsWithCI(fmt, j, QLatin1String("ampm")))) {
            twelve = true;
            break;
          }
        }
        int h = p.hour;
        if (twelve) {
          h %= 12;
          if (h == 0)
            h = 12;
        }
        out += pad(h, count >= 2 ? 2 : 1);
        i += count;
        break;
      }
      case u'N':
        out += pad(p.min, count >= 2 ? 2 : 1);
        i += count;
        break;
      case u'S':
        out += pad(p.sec, count >= 2 ? 2 : 1);
        i += count;
        break;
      case u'Z':
        out += pad(p.msec, count >= 2 ? 3 : 1);
        i += count;
        break;
      case u'T':
        appendFormat(out, count == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, p, fs, level + 1);
        i += count;
        break;
      case u'C':
        appendFormat(out, fs.ShortDateFormat, p, fs, level + 1);
        if (p.hasTime) {
          out += u' ';
          appendFormat(out, fs.LongTimeFormat, p, fs, level + 1);
        }
        i += count;
        break;
      case u'A': {
        const bool pm = p.hour >= 12;
        if (startsWithCI(fmt, i, QLatin1String("am/pm"))) {
          out += pm ? fmt.mid(i + 3, 2) : fmt.mid(i, 2);
          i += 5;
        } else if (startsWithCI(fmt, i, QLatin1String("a/p"))) {
          out += pm ? fmt[i + 2] : fmt[i];
          i += 3;
        } else if (startsWithCI(fmt, i, QLatin1String("ampm"))) {
          out += pm ? fs.TimePMString : fs.TimeAMString;
          i += 4;
        } else {
          out += starter;
          ++i;
        }
        break;
      }
      default:
        out += starter;
        ++i;
        break;
    }
  }
}

DateParts decompose(TDateTime dt)
{
  DateParts p;
  DecodeDate(dt, p.year, p.month, p.day);
  DecodeTime(dt, p.hour, p.min, p.sec, p.msec);
  p.dow = DayOfWeek(dt);
  p.hasTime = p.hour || p.min || p.sec || p.msec;
  return p;
}

}  // namespace

QString FormatDateTime(const QString& format, TDateTime dt, const TFormatSettings& fs)
{
  const DateParts p = decompose(dt);
  QString out;
  if (format.isEmpty())
    appendFormat(out, u"c", p, fs, 0);
  else
    appendFormat(out, format, p, fs, 0);
  return out;
}

QString DateToStr(TDateTime d, const TFormatSettings& fs)
{
  return FormatDateTime(fs.ShortDateFormat, d, fs);
}
QString TimeToStr(TDateTime d, const TFormatSettings& fs)
{
  return FormatDateTime(fs.LongTimeFormat, d, fs);
}
QString DateTimeToStr(TDateTime d, const TFormatSettings& fs)
{
  return FormatDateTime(QStringLiteral("c"), d, fs);
}

// ===========================================================================
// Text to dates and times
// ===========================================================================

namespace {

struct Scanner {
  QStringView s;
  qsizetype pos = 0;

  void blanks()
  {
    while (pos < s.size() && (s[pos] == u' ' || s[pos] == u'\t' || s[pos] == u'\u3000'))
      ++pos;
  }
  bool atEnd() const { return pos >= s.size(); }
  // Up to four digits after optional blanks.
  bool number(int& value, int& len)
  {
    blanks();
    const qsizetype start = pos;
    value = 0;
    while (pos < s.size() && pos - start < 4 && s[pos] >= u'0' && s[pos] <= u'9') {
      value = value * 10 + (s[pos].unicode() - u'0');
      ++pos;
    }
    len = int(pos - start);
    return len > 0;
  }
  bool ch(QChar c)
  {
    const qsizetype save = pos;
    if (c != u' ')
      blanks();
    if (pos < s.size() && s[pos] == c) {
      ++pos;
      return true;
    }
    pos = save;
    return false;
  }
  bool text(const QString& t)
  {
    if (t.isEmpty())
      return false;
    const qsizetype save = pos;
    blanks();
    if (s.mid(pos).startsWith(t, Qt::CaseInsensitive)) {
      pos += t.size();
      return true;
    }
    pos = save;
    return false;
  }
};

enum class DateOrder { MDY, DMY, YMD };

DateOrder dateOrder(const QString& shortDateFormat)
{
  for (QChar c : shortDateFormat) {
    switch (c.toUpper().unicode()) {
      case u'D':
        return DateOrder::DMY;
      case u'M':
        return DateOrder::MDY;
      case u'Y':
        return DateOrder::YMD;
      default:
        break;
    }
  }
  return DateOrder::MDY;
}

bool scanDate(Scanner& sc, TDateTime& out, const TFormatSettings& fs)
{
  const DateOrder order = dateOrder(fs.ShortDateFormat);
  int n1, n2, n3, l1, l2, l3;
  if (!(sc.number(n1, l1) && sc.ch(fs.DateSeparator) && sc.number(n2, l2)))
    return false;
  int y, m, d;
  const int currentYear = QDate::currentDate().year();
  if (sc.ch(fs.DateSeparator)) {
    if (!sc.number(n3, l3))
      return false;
    int yl;
    switch (order) {
      case DateOrder::MDY:
        y = n3;
        yl = l3;
        m = n1;
        d = n2;
        break;
      case DateOrder::DMY:
        y = n3;
        yl = l3;
        m = n2;
        d = n1;
        break;
      default:
        y = n1;
        yl = l1;
        m = n2;
        d = n3;
        break;
    }
    if (yl <= 2) {
      const int base = currentYear - fs.TwoDigitYearCenturyWindow;
      y += base / 100 * 100;
      if (fs.TwoDigitYearCenturyWindow > 0 && y < base)
        y += 100;
    }
  } else {
    y = currentYear;
    if (order == DateOrder::DMY) {
      d = n1;
      m = n2;
    } else {
      m = n1;
      d = n2;
    }
  }
  sc.ch(fs.DateSeparator);
  sc.blanks();
  return TryEncodeDate(y, m, d, out);
}

bool scanTime(Scanner& sc, TDateTime& out, const TFormatSettings& fs)
{
  int base = -1;
  if (sc.text(fs.TimeAMString) || sc.text(QStringLiteral("AM")))
    base = 0;
  else if (sc.text(fs.TimePMString) || sc.text(QStringLiteral("PM")))
    base = 12;
  int hour, min = 0, sec = 0, msec = 0, l;
  if (!sc.number(hour, l))
    return false;
  if (sc.ch(fs.TimeSeparator)) {
    if (!sc.number(min, l))
      return false;
    if (sc.ch(fs.TimeSeparator)) {
      if (!sc.number(sec, l))
        return false;
      if (sc.ch(fs.DecimalSeparator)) {
        if (!sc.number(msec, l))
          return false;
      }
    }
  }
  if (base < 0) {
    if (sc.text(fs.TimeAMString) || sc.text(QStringLiteral("AM")) || sc.text(QStringLiteral("A")))
      base = 0;
    else if (sc.text(fs.TimePMString) || sc.text(QStringLiteral("PM")) || sc.text(QStringLiteral("P")))
      base = 12;
  }
  if (base >= 0) {
    if (hour == 0 || hour > 12)
      return false;
    if (hour == 12)
      hour = 0;
    hour += base;
  }
  sc.blanks();
  return TryEncodeTime(hour, min, sec, msec, out);
}

}  // namespace

bool TryStrToDate(const QString& text, TDateTime& out, const TFormatSettings& fs)
{
  Scanner sc{text};
  TDateTime d;
  if (!scanDate(sc, d, fs) || !sc.atEnd())
    return false;
  out = d;
  return true;
}

bool TryStrToTime(const QString& text, TDateTime& out, const TFormatSettings& fs)
{
  Scanner sc{text};
  TDateTime t;
  if (!scanTime(sc, t, fs) || !sc.atEnd())
    return false;
  out = t;
  return true;
}

bool TryStrToDateTime(const QString& text, TDateTime& out, const TFormatSettings& fs)
{
  Scanner sc{text};
  TDateTime d = 0, t = 0;
  if (scanDate(sc, d, fs) && (sc.atEnd() || (scanTime(sc, t, fs) && sc.atEnd()))) {
    out = ComposeDateTime(d, t);
    return true;
  }
  return TryStrToTime(text, out, fs);
}

namespace {
[[noreturn]] void badText(const QString& text, const char* what)
{
  throw EConvertError(QStringLiteral("'%1' is not a valid %2").arg(text, QLatin1String(what)));
}
}  // namespace

TDateTime StrToDate(const QString& text, const TFormatSettings& fs)
{
  TDateTime d;
  if (!TryStrToDate(text, d, fs))
    badText(text, "date");
  return d;
}

TDateTime StrToDateTime(const QString& text, const TFormatSettings& fs)
{
  TDateTime d;
  if (!TryStrToDateTime(text, d, fs))
    badText(text, "date and time");
  return d;
}

TDateTime StrToTime(const QString& text, const TFormatSettings& fs)
{
  TDateTime d;
  if (!TryStrToTime(text, d, fs))
    badText(text, "time");
  return d;
}

TDateTime StrToDateDef(const QString& text, TDateTime def, const TFormatSettings& fs)
{
  TDateTime d;
  return TryStrToDate(text, d, fs) ? d : def;
}

// ===========================================================================
// Numbers
// ===========================================================================

namespace {

// A decimal number: value = 0.DIGITS x 10^pointPos, digits without leading or
// trailing zeros (empty for zero).
struct Decimal {
  bool negative = false;
  QByteArray digits;
  int pointPos = 0;

  bool isZero() const { return digits.isEmpty(); }

  void normalise()
  {
    int lead = 0;
    while (lead < digits.size() && digits[lead] == '0')
      ++lead;
    digits.remove(0, lead);
    pointPos -= lead;
    while (!digits.isEmpty() && digits.endsWith('0'))
      digits.chop(1);
    if (digits.isEmpty()) {
      pointPos = 0;
    }
  }

  // Rounds half away from zero to `decimals` digits after the point.
  void roundTo(int decimals)
  {
    const int keep = pointPos + decimals;
    if (keep >= digits.size())
      return;
    if (keep < 0) {
      digits.clear();
      pointPos = 0;
      return;
    }
    const bool up = digits[keep] >= '5';
    digits.truncate(keep);
    if (up) {
      int k = keep - 1;
      while (k >= 0 && digits[k] == '9') {
        digits[k] = '0';
        --k;
      }
      if (k >= 0) {
        digits[k] = char(digits[k] + 1);
      } else {
        digits.prepend('1');
        ++pointPos;
      }
    }
    normalise();
  }

  // Integer digits (no leading zeros, "" for < 1).
  QByteArray intDigits() const
  {
    if (pointPos <= 0)
      return {};
    QByteArray r = digits.left(pointPos);
    while (r.size() < pointPos)
      r.append('0');
    return r;
  }
  // The first `count` digits after the point, padded with zeros.
  QByteArray fracDigits(int count) const
  {
    QByteArray r;
    for (int k = 0; k < count; ++k) {
      const int idx = pointPos + k;
      r.append(idx >= 0 && idx < digits.size() ? digits[idx] : '0');
    }
    return r;
  }
};

Decimal decimalOf(double v)
{
  Decimal d;
  if (v == 0 || !std::isfinite(v))
    return d;
  d.negative = v < 0;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14e", std::fabs(v));
  // "d.dddddddddddddde[+-]xx"
  QByteArray s(buf);
  const int e = s.indexOf('e');
  const int exp = s.mid(e + 1).toInt();
  d.digits = s.left(1) + s.mid(2, e - 2);
  d.pointPos = exp + 1;
  d.normalise();
  return d;
}

Decimal decimalOf(Currency c)
{
  Decimal d;
  const qint64 raw = c.raw();
  if (raw == 0)
    return d;
  d.negative = raw < 0;
  const unsigned __int128 a = raw < 0 ? (unsigned __int128)(-(__int128)raw) : (unsigned __int128)raw;
  d.digits = QByteArray::number(quint64(a));
  d.pointPos = int(d.digits.size()) - 4;
  d.normalise();
  return d;
}

// Plain form: 15 significant digits, fixed notation when the exponent is
// reasonable, else "1.5E20".
QString generalForm(const Decimal& d, const TFormatSettings& fs)
{
  if (d.isZero())
    return QStringLiteral("0");
  QString out;
  if (d.negative)
    out += u'-';
  const int n = int(d.digits.size());
  if (d.pointPos > 15 || d.pointPos < -4) {
    out += QLatin1Char(d.digits[0]);
    if (n > 1) {
      out += fs.DecimalSeparator;
      out += QString::fromLatin1(d.digits.mid(1));
    }
    out += u'E';
    out += QString::number(d.pointPos - 1);
    return out;
  }
  if (d.pointPos <= 0) {
    out += u'0';
    out += fs.DecimalSeparator;
    out += QString(-d.pointPos, u'0');
    out += QString::fromLatin1(d.digits);
    return out;
  }
  out += QString::fromLatin1(d.intDigits());
  if (n > d.pointPos) {
    out += fs.DecimalSeparator;
    out += QString::fromLatin1(d.digits.mid(d.pointPos));
  }
  return out;
}

QList<QStringView> splitSections(QStringView picture)
{
  QList<QStringView> sections;
  qsizetype start = 0;
  QChar quote;
  for (qsizetype i = 0; i < picture.size(); ++i) {
    const QChar c = picture[i];
    if (!quote.isNull()) {
      if (c == quote)
        quote = QChar();
    } else if (c == u'\'' || c == u'"') {
      quote = c;
    } else if (c == u';') {
      sections << picture.mid(start, i - start);
      start = i + 1;
    }
  }
  sections << picture.mid(start);
  return sections;
}

struct SectionInfo {
  int intPlaceholders = 0;
  int minIntDigits = 0;  // placeholders from the first '0' on
  bool thousands = false;
  int decimals = 0;     // placeholders after the point
  int minDecimals = 0;  // up to the last '0' after the point
};

SectionInfo analyse(QStringView sec)
{
  SectionInfo info;
  bool point = false;
  int firstZero = -1;
  QChar quote;
  for (QChar c : sec) {
    if (!quote.isNull()) {
      if (c == quote)
        quote = QChar();
      continue;
    }
    if (c == u'\'' || c == u'"') {
      quote = c;
    } else if (c == u'.') {
      point = true;
    } else if (c == u',') {
      if (!point)
        info.thousands = true;
    } else if (c == u'0' || c == u'#') {
      if (!point) {
        if (c == u'0' && firstZero < 0)
          firstZero = info.intPlaceholders;
        ++info.intPlaceholders;
      } else {
        ++info.decimals;
        if (c == u'0')
          info.minDecimals = info.decimals;
      }
    }
  }
  if (firstZero >= 0)
    info.minIntDigits = info.intPlaceholders - firstZero;
  return info;
}

QString formatSection(QStringView sec, const Decimal& value, bool withMinus, const TFormatSettings& fs)
{
  const SectionInfo info = analyse(sec);
  QByteArray intDigits = value.intDigits();
  const int e = std::max<int>(int(intDigits.size()), info.minIntDigits);
  while (intDigits.size() < e)
    intDigits.prepend('0');
  QByteArray frac = value.fracDigits(info.decimals);
  while (frac.size() > info.minDecimals && frac.endsWith('0'))
    frac.chop(1);

  QString out;
  if (withMinus)
    out += u'-';
  int emitted = 0;                 // integer digits written so far
  auto emitDigit = [&](int pos) {  // pos: 1-based from the right
    out += QLatin1Char(intDigits[e - pos]);
    ++emitted;
    if (info.thousands && pos > 1 && (pos - 1) % 3 == 0)
      out += fs.ThousandSeparator;
  };
  auto emitRemainingInt = [&]() {
    for (int pos = e - emitted; pos >= 1; --pos)
      emitDigit(pos);
  };

  bool point = false;
  int intIdx = 0, fracIdx = 0;
  QChar quote;
  for (QChar c : sec) {
    if (!quote.isNull()) {
      if (c == quote)
        quote = QChar();
      else
        out += c;
      continue;
    }
    if (c == u'\'' || c == u'"') {
      quote = c;
      continue;
    }
    if (!point && (c == u'0' || c == u'#')) {
      const int r = info.intPlaceholders - intIdx;  // this placeholder's position from the right
      if (intIdx == 0) {
        for (int pos = e; pos > r; --pos)
          emitDigit(pos);
      }
      if (r <= e)
        emitDigit(r);
      ++intIdx;
    } else if (!point && c == u',') {
      // grouping flag only
    } else if (c == u'.' && !point) {
      point = true;
      emitRemainingInt();
      if (!frac.isEmpty())
        out += fs.DecimalSeparator;
    } else if (point && (c == u'0' || c == u'#')) {
      if (fracIdx < frac.size())
        out += QLatin1Char(frac[fracIdx]);
      ++fracIdx;
    } else if (point && c == u',') {
      // ignored after the point
    } else {
      out += c;
    }
  }
  if (!point)
    emitRemainingInt();
  return out;
}

QString formatPicture(const QString& picture, Decimal value, const TFormatSettings& fs)
{
  const QList<QStringView> sections = splitSections(picture);
  auto section = [&](int k) -> QStringView {
    if (k < sections.size() && !sections[k].isEmpty())
      return sections[k];
    return sections[0];
  };
  if (sections[0].isEmpty() && (sections.size() == 1 || picture.isEmpty()))
    return generalForm(value, fs);

  int which = 0;
  if (value.isZero())
    which = sections.size() >= 3 && !sections[2].isEmpty() ? 2 : 0;
  else if (value.negative)
    which = sections.size() >= 2 && !sections[1].isEmpty() ? 1 : 0;
  QStringView sec = section(which);
  if (sec.isEmpty())
    return generalForm(value, fs);

  const bool wasZero = value.isZero();
  value.roundTo(analyse(sec).decimals);
  if (!wasZero && value.isZero()) {
    // Rounded to nothing: formatted as zero, without a sign.
    which = sections.size() >= 3 && !sections[2].isEmpty() ? 2 : 0;
    sec = section(which);
    value.negative = false;
  }
  const bool withMinus = value.negative && which == 0;
  return formatSection(sec, value, withMinus, fs);
}

}  // namespace

QString FormatFloat(const QString& picture, double value, const TFormatSettings& fs)
{
  if (std::isnan(value))
    return QStringLiteral("NAN");
  if (std::isinf(value))
    return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
  return formatPicture(picture, decimalOf(value), fs);
}

QString FormatFloat(const QString& picture, Currency value, const TFormatSettings& fs)
{
  return formatPicture(picture, decimalOf(value), fs);
}

QString FloatToStr(double value, const TFormatSettings& fs)
{
  if (std::isnan(value))
    return QStringLiteral("NAN");
  if (std::isinf(value))
    return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
  return generalForm(decimalOf(value), fs);
}

QString IntToStr(qint64 value)
{
  return QString::number(value);
}

bool TryStrToInt64(const QString& text, qint64& out)
{
  const QString t = text.trimmed();
  if (t.isEmpty())
    return false;
  qsizetype i = 0;
  bool neg = false;
  if (t[i] == u'-' || t[i] == u'+') {
    neg = t[i] == u'-';
    ++i;
  }
  int base = 10;
  if (i < t.size() && t[i] == u'$') {
    base = 16;
    ++i;
  } else if (i + 1 < t.size() && t[i] == u'0' && (t[i + 1] == u'x' || t[i + 1] == u'X')) {
    base = 16;
    i += 2;
  }
  if (i >= t.size())
    return false;
  unsigned __int128 v = 0;
  for (; i < t.size(); ++i) {
    const char16_t c = t[i].unicode();
    int d;
    if (c >= u'0' && c <= u'9')
      d = c - u'0';
    else if (base == 16 && c >= u'a' && c <= u'f')
      d = c - u'a' + 10;
    else if (base == 16 && c >= u'A' && c <= u'F')
      d = c - u'A' + 10;
    else
      return false;
    v = v * base + d;
    if (v > (unsigned __int128)1 << 64)
      return false;
  }
  if (base == 16 && !neg && v <= 0xFFFFFFFFFFFFFFFFull) {
    out = qint64(quint64(v));  // hex texts may state the bit pattern
    return true;
  }
  if (neg) {
    if (v > (unsigned __int128)1 << 63)
      return false;
    out = qint64(-(__int128)v);
  } else {
    if (v > (unsigned __int128)0x7FFFFFFFFFFFFFFFull)
      return false;
    out = qint64(v);
  }
  return true;
}

bool TryStrToInt(const QString& text, int& out)
{
  qint64 v;
  if (!TryStrToInt64(text, v))
    return false;
  const QString t = text.trimmed();
  const bool hex = t.contains(u'$') || t.contains(QLatin1String("0x"), Qt::CaseInsensitive);
  if (hex && v >= 0 && v <= 0xFFFFFFFFll) {
    out = int(quint32(v));
    return true;
  }
  if (v < INT_MIN || v > INT_MAX)
    return false;
  out = int(v);
  return true;
}

int StrToIntDef(const QString& text, int def)
{
  int v;
  return TryStrToInt(text, v) ? v : def;
}

int StrToInt(const QString& text)
{
  int v;
  if (!TryStrToInt(text, v))
    badText(text, "integer");
  return v;
}

bool TryStrToFloat(const QString& text, double& out, const TFormatSettings& fs)
{
  const QString t = text.trimmed();
  if (t.isEmpty())
    return false;
  QByteArray ascii;
  ascii.reserve(t.size());
  bool digit = false;
  for (QChar c : t) {
    if (c == fs.DecimalSeparator)
      ascii.append('.');
    else if (c.unicode() < 128 && (c.isDigit() || c == u'-' || c == u'+' || c == u'e' || c == u'E')) {
      ascii.append(char(c.unicode()));
      digit = digit || c.isDigit();
    } else
      return false;
  }
  if (!digit)
    return false;
  const char* b = ascii.constData();
  const char* e = b + ascii.size();
  if (*b == '+')
    ++b;
  double v = 0;
  auto [p, ec] = std::from_chars(b, e, v, std::chars_format::general);
  if (ec != std::errc() || p != e)
    return false;
  out = v;
  return true;
}

bool TryStrToCurr(const QString& text, Currency& out, const TFormatSettings& fs)
{
  QString t = text;
  if (fs.DecimalSeparator != u'.') {
    if (t.contains(u'.'))
      return false;
    t.replace(fs.DecimalSeparator, u'.');
  }
  if (auto c = Currency::tryFromString(t)) {
    out = *c;
    return true;
  }
  return false;
}
