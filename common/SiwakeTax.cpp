#include "common/SiwakeTax.h"

#include <exception>
#include <limits>

#include "common/AccRecord.h"
#include "common/AccTaxCmp.h"
#include "common/FbError.h"
#include "platform/Exceptions.h"

namespace {

using i128 = __int128;

// n / d rounded to the nearest integer, ties to even.
qint64 divNearestEven(i128 n, i128 d)
{
  if (d == 0)
    throw EPlatformError(QStringLiteral("Division by zero"));
  if (d < 0) {
    n = -n;
    d = -d;
  }
  i128 q = n / d;
  i128 r = n % d;
  if (r < 0) {  // floor division
    q -= 1;
    r += d;
  }
  const i128 twice = r * 2;
  if (twice > d || (twice == d && (q % 2) != 0))
    q += 1;
  constexpr i128 lo = std::numeric_limits<qint64>::min();
  constexpr i128 hi = std::numeric_limits<qint64>::max();
  if (q < lo || q > hi)
    throw EPlatformError(QStringLiteral("Amount out of range"));
  return static_cast<qint64>(q);
}

// Raw (scaled) value of a x b / c where all three are Currency raws.
Currency mulDivRaw(const Currency& a, const Currency& b, i128 cRaw)
{
  return Currency::fromRaw(divNearestEven(i128(a.raw()) * b.raw(), cRaw));
}

bool isTaxAccount(const QString& kcode)
{
  return kcode == AccInf.UC_KARIHARAIZ || kcode == AccInf.UC_KARIUKEZ;
}

}  // namespace

Currency fnMulDivNearest(const Currency& Amount, qint64 Num, qint64 Den)
{
  return Currency::fromRaw(divNearestEven(i128(Amount.raw()) * Num, Den));
}

Currency fnRoundCurr(int Mode, const Currency& Amount)
{
  switch (Mode) {
    case 0:
      return Amount.rounded(Currency::Round::Truncate);
    case 2:
      return Amount.rounded(Currency::Round::AwayFromZero);
    default:
      return Amount.rounded(Currency::Round::HalfAwayFromZero);
  }
}

bool fnCalcSiwakeTax(TSWKREC& Line, TSwkBalance& Side)
{
  try {
    TTaxKbnRec tax;
    pcGetTaxKbnRec(Side.TAXCODE, tax);
    Side.TAXUH = tax.KariukeKaribaraiKbn;
    Side.TAXDC = tax.TaishakuKbn;
    Side.NUK = Currency();
    Side.ZEI = Currency();
    Side.RIT = Currency();

    Currency r = fnGetZeiritu(Line.OLDRATE, Line.HIZUKE);
    if (Side.ZEIRITUKBN != Line.OLDRATE)
      r = fnGetZeiritu(Side.ZEIRITUKBN, Line.HIZUKE);
    if (Side.TAXUH != 0)
      Side.RIT = r;

    const Currency K = Line.KINGAKU;
    const Currency hundred = Currency::fromInt(100);
    if (Side.TAXUH != 0 && !isTaxAccount(Side.KCODE)) {
      if (Line.AUTCALCU == 0) {
        if (Line.TAXCALCU == 0) {
          Side.NUK = K - Line.ZEIGAKU;
          Side.ZEI = Line.ZEIGAKU;
        } else if (Line.TAXCALCU == 1) {
          Side.NUK = K;
          Side.ZEI = Line.ZEIGAKU;
        } else {
          Side.NUK = K;
          Side.ZEI = Currency();
        }
      } else if (Line.TAXCALCU == 0 || Line.TAXCALCU == 1) {
        Currency ratio;
        const int koujo = Side.TAXUH == 1 ? -1 : fnGetKoujoRitu(Side.TAXCODE, ratio);
        const qint64 d = koujo == 1 ? 80 : koujo == 2 ? 50 : 100;
        Currency T;
        if (Line.TAXCALCU == 0) {
          // K x r / (100 + r)
          const Currency X = mulDivRaw(K, r, i128(hundred.raw()) + r.raw());
          T = fnRoundCurr(Side.TAXUH == 1 ? AccInf.TAXU_HASUU : AccInf.TAXH_HASUU, X);
          if (koujo == 1 || koujo == 2)
            T = fnRoundCurr(1, fnMulDivNearest(T, d, 100));
          Side.NUK = K - T;
        } else {
          // K x r / 100
          const Currency X = mulDivRaw(K, r, hundred.raw());
          T = fnRoundCurr(Side.TAXUH == 1 ? AccInf.TAXU_HASUU : AccInf.TAXH_HASUU, X);
          if (koujo == 1 || koujo == 2) {
            // Base B = K x 100 / (100 + r x (100 - d) / 100), then its tax by
            // the output-tax mode, then the deductible share.
            const qint64 part = 100 - d;  // 20 or 50
            const i128 den = i128(hundred.raw()) * 100 + i128(r.raw()) * part;
            const Currency B =
                fnRoundCurr(1, Currency::fromRaw(divNearestEven(i128(K.raw()) * hundred.raw() * 100, den)));
            T = fnRoundCurr(AccInf.TAXU_HASUU, mulDivRaw(B, r, hundred.raw()));
            T = fnRoundCurr(1, fnMulDivNearest(T, d, 100));
          }
          Side.NUK = K;
        }
        Side.ZEI = T;
      } else {
        Side.NUK = K;
        Side.ZEI = Currency();
      }
    } else {
      Side.NUK = K;
      Side.ZEI = Currency();
      if (Side.TAXUH != 0 && isTaxAccount(Side.KCODE) && Side.TAXCODE != 810 && Side.TAXCODE != 910)
        Side.RIT = r;
      else
        Side.RIT = Currency();
    }
    return true;
  } catch (const std::exception&) {
    fnShowCommaMessage(QStringLiteral("仕訳の消費税額が計算できません。"), mtError);
    return false;
  }
}

bool fnCalcSiwakeZeigaku(TSWKREC& Line)
{
  if (fnIsTokuteiShiireCode(Line.LK.TAXCODE) || fnIsTokuteiShiireCode(Line.RK.TAXCODE))
    Line.TAXCALCU = 2;
  Line.KINGAKU = fnRoundCurr(0, Line.KINGAKU);
  Line.ZEIGAKU = fnRoundCurr(0, Line.ZEIGAKU);
  if (!fnCalcSiwakeTax(Line, Line.LK) || !fnCalcSiwakeTax(Line, Line.RK))
    return false;

  try {
    const bool l = Line.LK.RIT > Currency();
    const bool rr = Line.RK.RIT > Currency();
    if (l && Line.RK.RIT.isZero())
      Line.OLDRATE = Line.LK.ZEIRITUKBN;
    else if (Line.LK.RIT.isZero() && rr)
      Line.OLDRATE = Line.RK.ZEIRITUKBN;
    else if (l && rr && Line.LK.ZEIRITUKBN == Line.RK.ZEIRITUKBN)
      Line.OLDRATE = Line.LK.ZEIRITUKBN;

    if (Line.TAXCALCU == 1) {
      // The side without tax pays the gross amount.
      const Currency sl = Line.LK.NUK + Line.LK.ZEI;
      const Currency sr = Line.RK.NUK + Line.RK.ZEI;
      if (sl < sr) {
        Line.LK.NUK = sr;
        Line.LK.ZEI = Currency();
      } else if (sr < sl) {
        Line.RK.NUK = sl;
        Line.RK.ZEI = Currency();
      }
    }
  } catch (const std::exception&) {
    // A gross amount beyond the range of amounts.
    fnShowCommaMessage(QStringLiteral("仕訳の消費税額が計算できません。"), mtError);
    return false;
  }
  Line.ZEIGAKU = Line.LK.ZEI > Line.RK.ZEI ? Line.LK.ZEI : Line.RK.ZEI;
  return true;
}
