#include "common/AccFunctionNum.h"

#include <cmath>
#include <utility>

#include "common/AccFunction.h"
#include "platform/Format.h"

QString fnFormatIntComma(qint64 i)
{
  return FormatFloat(QStringLiteral("#,##0"), Currency::fromInt(i));
}

double fnRoundDecimal(int p, double x)
{
  const int e = p - 1;
  const double scale = std::pow(10.0, std::abs(e));
  const double t = e >= 0 ? x * scale : x / scale;
  const double f = t + 0.000001;
  double r = 0;
  if (t > 0)
    r = std::trunc(f);
  else if (t < 0)
    r = std::trunc(f) - 1;
  // Dividing by the exact power of ten keeps 12 -> 1.2 free of binary noise.
  return e >= 0 ? r / scale : r * scale;
}

double fnRealPower(double e, double b)
{
  if (b == 0)
    return 0;
  return std::exp(e * std::log(b));
}

void pcSetBit(std::uint32_t& flags, int n)
{
  if (n < 1 || n > 24)
    return;
  flags |= 1u << (n - 1);
}

bool fnGetBit(std::uint32_t flags, int n)
{
  const unsigned bit = unsigned(n - 1) & 31u;
  return (flags >> bit) & 1u;
}

void pcComposeWord(std::uint16_t& w, int hi, int lo, int factor)
{
  w = std::uint16_t(lo + hi * factor);
}

int fnGrayColor(int color)
{
  if (color == 0xFFFFFF || color == 0)
    return color;
  if (color < 0 || color > 0xFFFFFF)
    return 0x808080;
  const int r = color & 0xFF;
  const int g = (color >> 8) & 0xFF;
  const int b = (color >> 16) & 0xFF;
  const double mean = std::nearbyint((r + g + b) / 3.0);  // halves to even
  const int v = int(mean);
  return v | (v << 8) | (v << 16);
}

// --- Variants ---------------------------------------------------------------------

bool fnVarIsBlank(const QVariant& v)
{
  if (!v.isValid() || v.isNull())
    return true;
  if (v.typeId() == QMetaType::QString)
    return v.toString().isEmpty();
  return false;
}

QString fnVarToStr(const QVariant& v)
{
  if (!v.isValid() || v.isNull())
    return QString();
  if (v.canConvert<Currency>() && v.metaType() == QMetaType::fromType<Currency>())
    return v.value<Currency>().toString();
  switch (v.typeId()) {
    case QMetaType::Bool:
      return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Double:
    case QMetaType::Float:
      return FloatToStr(v.toDouble());
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
      return QString::number(v.toLongLong());
    default:
      return v.toString();
  }
}

QString fnVarToStrDef(const QVariant& v, const QString& def)
{
  return fnVarIsBlank(v) ? def : fnVarToStr(v);
}

int fnVarToIntDef(const QVariant& v, int def)
{
  const QString text = fnVarToStr(v);
  if (text.isEmpty())
    return def;
  return StrToIntDef(text, def);
}

Currency fnVarToCurrDef(const QVariant& v, Currency def)
{
  const QString text = fnVarToStr(v);
  if (text.isEmpty())
    return def;
  Currency c;
  return TryStrToCurr(text, c) ? c : def;
}

double fnVarToFloatDef(const QVariant& v, double def)
{
  const QString text = fnVarToStr(v);
  if (text.isEmpty())
    return def;
  double d = 0;
  return TryStrToFloat(text, d) ? d : def;
}

// --- version texts ------------------------------------------------------------------

void fnVersionTextToRec(const QString& s, TVersionRec& r)
{
  r = TVersionRec{};
  r.StringVersion = QStringLiteral("0.0.0.0");
  const QStringList parts = s.split(QLatin1Char('.'));
  std::uint32_t* fields[] = {&r.Major, &r.Minor, &r.Revision, &r.Build};
  for (int i = 0; i < 4 && i < parts.size(); ++i) {
    bool ok = false;
    const qlonglong value = fnTrim(parts.at(i)).toLongLong(&ok);
    *fields[i] = ok && value >= 0 && value <= 0xFFFFFFFFLL ? std::uint32_t(value) : 0u;
  }
  r.StringVersion = s;
}

TVersionRec fnVersionTextToRec(const QString& s)
{
  TVersionRec r;
  fnVersionTextToRec(s, r);
  return r;
}

int fnVersionCompare(const TVersionRec& a, const TVersionRec& b)
{
  if (a.Major != b.Major)
    return a.Major < b.Major ? -1 : 1;
  if (a.Minor != b.Minor)
    return a.Minor < b.Minor ? -1 : 1;
  if (a.Revision != b.Revision)
    return a.Revision < b.Revision ? -1 : 1;
  return 0;
}

bool fnVersionGreater(const TVersionRec& a, const TVersionRec& b)
{
  return fnVersionCompare(a, b) > 0;
}

bool fnVersionGreaterEq(const TVersionRec& a, const TVersionRec& b)
{
  return fnVersionCompare(a, b) >= 0;
}

bool fnVersionGreater(const QString& a, const QString& b)
{
  return fnVersionGreater(fnVersionTextToRec(a), fnVersionTextToRec(b));
}

bool fnVersionGreaterEq(const QString& a, const QString& b)
{
  return fnVersionGreaterEq(fnVersionTextToRec(a), fnVersionTextToRec(b));
}

// --- sorting ------------------------------------------------------------------------

namespace {

void quickSort(std::vector<TQSORT>& a, int lo, int hi)
{
  while (lo < hi) {
    int i = lo;
    int j = hi;
    const QString pivot = a[std::size_t((lo + hi) / 2)].Key;
    do {
      while (QString::compare(a[std::size_t(i)].Key, pivot) < 0)
        ++i;
      while (QString::compare(a[std::size_t(j)].Key, pivot) > 0)
        --j;
      if (i <= j) {
        std::swap(a[std::size_t(i)], a[std::size_t(j)]);
        ++i;
        --j;
      }
    } while (i <= j);
    // Recurse into the smaller half, loop over the larger one.
    if (j - lo < hi - i) {
      if (lo < j)
        quickSort(a, lo, j);
      lo = i;
    } else {
      if (i < hi)
        quickSort(a, i, hi);
      hi = j;
    }
  }
}

}  // namespace

void pcQuickSortQSort(std::vector<TQSORT>& a, int lo, int hi)
{
  if (a.empty())
    return;
  lo = std::max(lo, 0);
  hi = std::min(hi, int(a.size()) - 1);
  if (lo < hi)
    quickSort(a, lo, hi);
}
