#pragma once
#include <compare>
#include <optional>

#include <QString>
#include <QStringView>
#include <QtGlobal>

// A fixed-point amount: a signed 64-bit integer holding the value times
// 10,000 (four decimals). Addition, subtraction and multiplication by an
// integer are exact; every operation that would leave the 64-bit range
// throws EOverflowError. No floating point is used inside.
class Currency {
 public:
  static constexpr qint64 Scale = 10000;

  // How an amount is brought to whole units (or to a number of decimals).
  enum class Round {
    HalfAwayFromZero,  // 2.5 -> 3, -2.5 -> -3
    Truncate,          // toward zero: 2.9 -> 2, -2.9 -> -2
    AwayFromZero,      // "ceil" away from zero: 2.1 -> 3, -2.1 -> -3
  };

  constexpr Currency() noexcept = default;

  static constexpr Currency fromRaw(qint64 raw) noexcept
  {
    Currency c;
    c.m_raw = raw;
    return c;
  }
  constexpr qint64 raw() const noexcept { return m_raw; }

  // Whole units; throws EOverflowError outside about +-922 trillion.
  static Currency fromInt(qint64 units);
  // Rounded to four decimals, half away from zero (1.00005 -> 1.0001).
  // Throws EConvertError for NaN/infinity, EOverflowError when out of range.
  static Currency fromDouble(double value);
  double toDouble() const noexcept;

  // Reads "1234.5", "-0.25", "+7", " 12 " (surrounding blanks allowed),
  // "." as the decimal point, no grouping, at most four decimals exact;
  // more decimals are rounded half away from zero. nullopt on anything else
  // or when out of range.
  static std::optional<Currency> tryFromString(QStringView text);
  // As tryFromString; throws EConvertError on bad text.
  static Currency fromString(QStringView text);
  // Shortest exact form: "1234.5", "-0.25", "7" (no grouping, "." point).
  QString toString() const;

  // Whole units under the given rounding, as an integer count of units.
  qint64 toUnits(Round mode) const;
  // The amount rounded to whole units, as a Currency.
  Currency rounded(Round mode) const { return fromInt(toUnits(mode)); }
  // The amount rounded to `decimals` decimals (0 to 4).
  Currency roundedTo(int decimals, Round mode) const;
  // Exact value * numerator / denominator, rounded to four decimals by the mode
  // (used for rates: tax = amount * 10 / 110). Throws on a zero denominator or overflow.
  Currency mulDiv(qint64 numerator, qint64 denominator, Round mode) const;

  Currency abs() const;
  constexpr bool isZero() const noexcept { return m_raw == 0; }
  constexpr int sign() const noexcept { return (m_raw > 0) - (m_raw < 0); }

  Currency operator-() const;
  Currency operator+(Currency o) const;
  Currency operator-(Currency o) const;
  Currency operator*(qint64 factor) const;
  Currency& operator+=(Currency o) { return *this = *this + o; }
  Currency& operator-=(Currency o) { return *this = *this - o; }
  Currency& operator*=(qint64 f) { return *this = *this * f; }

  friend constexpr bool operator==(Currency a, Currency b) noexcept { return a.m_raw == b.m_raw; }
  friend constexpr std::strong_ordering operator<=>(Currency a, Currency b) noexcept { return a.m_raw <=> b.m_raw; }

 private:
  qint64 m_raw = 0;
};

inline Currency operator*(qint64 factor, Currency c)
{
  return c * factor;
}
