#include "platform/Currency.h"

#include <cmath>
#include <limits>

#include "platform/Exceptions.h"

namespace {

[[noreturn]] void overflow(const char* what)
{
  throw EOverflowError(QStringLiteral("Currency overflow in %1").arg(QLatin1String(what)));
}

// Divides n by d (d > 0) with the given rounding; exact on 128-bit values.
__int128 divRound(__int128 n, __int128 d, Currency::Round mode)
{
  __int128 q = n / d;  // truncates toward zero
  __int128 r = n % d;  // same sign as n
  if (r == 0)
    return q;
  const int s = n < 0 ? -1 : 1;
  const __int128 ar = r < 0 ? -r : r;
  switch (mode) {
    case Currency::Round::Truncate:
      return q;
    case Currency::Round::AwayFromZero:
      return q + s;
    case Currency::Round::HalfAwayFromZero:
      return (ar * 2 >= d) ? q + s : q;
  }
  return q;
}

qint64 checked(__int128 v, const char* what)
{
  if (v > std::numeric_limits<qint64>::max() || v < std::numeric_limits<qint64>::min())
    overflow(what);
  return qint64(v);
}

}  // namespace

Currency Currency::fromInt(qint64 units)
{
  qint64 r;
  if (__builtin_mul_overflow(units, Scale, &r))
    overflow("fromInt");
  return fromRaw(r);
}

Currency Currency::fromDouble(double value)
{
  if (!std::isfinite(value))
    throw EConvertError(QStringLiteral("Not a finite number"));
  // Scale and round half away from zero. The product is exact enough for
  // every amount within the range of 15 significant digits; a value like
  // 1.00005 (stored as 1.0000499999...) is first brought to 15 significant
  // digits so that it rounds as written.
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14e", value);
  auto c = tryFromString(QString::fromLatin1(buf));
  if (!c)
    overflow("fromDouble");
  return *c;
}

double Currency::toDouble() const noexcept
{
  // One correctly rounded division: the double nearest to the amount for
  // every amount below 2^53 / 10000.
  return double(m_raw) / double(Scale);
}

std::optional<Currency> Currency::tryFromString(QStringView text)
{
  text = text.trimmed();
  qsizetype i = 0;
  const qsizetype n = text.size();
  bool neg = false;
  if (i < n && (text[i] == u'-' || text[i] == u'+')) {
    neg = text[i] == u'-';
    ++i;
  }
  // Digits without the point; pointPos = number of digits before the point.
  QByteArray digits;
  qsizetype pointPos = -1;
  for (; i < n; ++i) {
    const QChar ch = text[i];
    if (ch == u'.') {
      if (pointPos >= 0)
        return std::nullopt;
      pointPos = digits.size();
      continue;
    }
    if (ch < u'0' || ch > u'9')
      break;
    if (digits.size() > 400)
      return std::nullopt;
    digits.append(char(ch.unicode()));
  }
  if (digits.isEmpty())
    return std::nullopt;
  if (pointPos < 0)
    pointPos = digits.size();
  int exp = 0;
  if (i < n && (text[i] == u'E' || text[i] == u'e')) {
    ++i;
    bool eneg = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
      eneg = text[i] == u'-';
      ++i;
    }
    bool eany = false;
    for (; i < n && text[i] >= u'0' && text[i] <= u'9'; ++i) {
      eany = true;
      exp = exp * 10 + (text[i].unicode() - u'0');
      if (exp > 400)
        return std::nullopt;
    }
    if (!eany)
      return std::nullopt;
    if (eneg)
      exp = -exp;
  }
  if (i != n)
    return std::nullopt;

  // Position of the point in the scaled value (value * 10^4).
  const qsizetype cut = pointPos + exp + 4;
  __int128 v = 0;
  const __int128 limit = __int128(1) << 70;
  for (qsizetype k = 0; k < cut; ++k) {
    const int d = k < digits.size() ? digits[k] - '0' : 0;
    v = v * 10 + d;
    if (v > limit)
      return std::nullopt;
  }
  // Half away from zero: the first dropped digit decides.
  if (cut >= 0 && cut < digits.size() && digits[cut] >= '5')
    v += 1;
  if (neg)
    v = -v;
  if (v > std::numeric_limits<qint64>::max() || v < std::numeric_limits<qint64>::min())
    return std::nullopt;
  return fromRaw(qint64(v));
}

Currency Currency::fromString(QStringView text)
{
  if (auto c = tryFromString(text))
    return *c;
  throw EConvertError(QStringLiteral("'%1' is not a valid amount").arg(text.toString()));
}

QString Currency::toString() const
{
  const bool neg = m_raw < 0;
  const unsigned __int128 a = neg ? (unsigned __int128)(-(__int128)m_raw) : (unsigned __int128)m_raw;
  const quint64 whole = quint64(a / Scale);
  quint64 frac = quint64(a % Scale);
  QString s;
  if (neg)
    s += u'-';
  s += QString::number(whole);
  if (frac) {
    QString f = QString::number(frac).rightJustified(4, u'0');
    while (f.endsWith(u'0'))
      f.chop(1);
    s += u'.';
    s += f;
  }
  return s;
}

qint64 Currency::toUnits(Round mode) const
{
  return qint64(divRound(m_raw, Scale, mode));
}

Currency Currency::roundedTo(int decimals, Round mode) const
{
  if (decimals < 0 || decimals > 4)
    throw EConvertError(QStringLiteral("Decimals out of range: %1").arg(decimals));
  qint64 p = 1;
  for (int k = decimals; k < 4; ++k)
    p *= 10;
  return fromRaw(checked(divRound(m_raw, p, mode) * p, "roundedTo"));
}

Currency Currency::mulDiv(qint64 numerator, qint64 denominator, Round mode) const
{
  if (denominator == 0)
    throw EConvertError(QStringLiteral("Division by zero"));
  __int128 n = __int128(m_raw) * numerator;
  __int128 d = denominator;
  if (d < 0) {
    n = -n;
    d = -d;
  }
  return fromRaw(checked(divRound(n, d, mode), "mulDiv"));
}

Currency Currency::abs() const
{
  if (m_raw == std::numeric_limits<qint64>::min())
    overflow("abs");
  return fromRaw(m_raw < 0 ? -m_raw : m_raw);
}

Currency Currency::operator-() const
{
  if (m_raw == std::numeric_limits<qint64>::min())
    overflow("negation");
  return fromRaw(-m_raw);
}

Currency Currency::operator+(Currency o) const
{
  qint64 r;
  if (__builtin_add_overflow(m_raw, o.m_raw, &r))
    overflow("addition");
  return fromRaw(r);
}

Currency Currency::operator-(Currency o) const
{
  qint64 r;
  if (__builtin_sub_overflow(m_raw, o.m_raw, &r))
    overflow("subtraction");
  return fromRaw(r);
}

Currency Currency::operator*(qint64 factor) const
{
  qint64 r;
  if (__builtin_mul_overflow(m_raw, factor, &r))
    overflow("multiplication");
  return fromRaw(r);
}
