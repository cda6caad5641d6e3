#include "acccalc/AccCalcUtil.h"

#include <cmath>
#include <utility>

#include "db/Query.h"

namespace acccalc {

QString fitLeft(const QString& AText, int AWidth)
{
  QString out;
  int chars = 0;
  for (int i = 0; i < AText.size() && chars < AWidth; ++i) {
    out += AText[i];
    if (AText[i].isHighSurrogate() && i + 1 < AText.size() && AText[i + 1].isLowSurrogate())
      out += AText[++i];
    ++chars;
  }
  for (; chars < AWidth; ++chars)
    out += QLatin1Char(' ');
  return out;
}

QString twoDigits(int AValue)
{
  const QString digits = QString::number(std::abs(static_cast<long long>(AValue))).rightJustified(2, QLatin1Char('0'));
  return AValue < 0 ? QLatin1Char('-') + digits : digits;
}

int codeNumber(const QString& ACode)
{
  bool ok = false;
  const int n = ACode.trimmed().toInt(&ok);
  return ok ? n : 0;
}

void quickSortKeys(TQSortArray& AKeys, int ALo, int AHi)
{
  while (ALo < AHi) {
    int i = ALo;
    int j = AHi;
    const QString pivot = AKeys[static_cast<std::size_t>((ALo + AHi) / 2)].Key;
    do {
      while (AKeys[static_cast<std::size_t>(i)].Key < pivot)
        ++i;
      while (pivot < AKeys[static_cast<std::size_t>(j)].Key)
        --j;
      if (i <= j) {
        std::swap(AKeys[static_cast<std::size_t>(i)], AKeys[static_cast<std::size_t>(j)]);
        ++i;
        --j;
      }
    } while (i <= j);
    // Recurse into the smaller part, loop over the larger one.
    if (j - ALo < AHi - i) {
      if (ALo < j)
        quickSortKeys(AKeys, ALo, j);
      ALo = i;
    } else {
      if (i < AHi)
        quickSortKeys(AKeys, i, AHi);
      AHi = j;
    }
  }
}

Currency subAccountShare(Currency ASub, Currency AAccount)
{
  if (AAccount.isZero())
    return Currency();
  const double q = static_cast<double>(ASub.raw()) / static_cast<double>(AAccount.raw());
  const double perMille = q * 1000.0;
  // Beyond these the result is at a bound anyway; keeps the conversion in range.
  if (perMille > 99990.0)
    return Cur(9999);
  if (perMille < -9990.0)
    return Cur(-999);
  const qint64 units = Currency::fromDouble(perMille).toUnits(Currency::Round::HalfAwayFromZero);
  Currency share = Currency::fromRaw(units * 1000);  // units tenths of a per cent
  if (share > Cur(9999))
    share = Cur(9999);
  if (share < Cur(-999))
    share = Cur(-999);
  return share;
}

void ensureRow(TBalanceArray& ABalance, TQSortArray& ASort, int ARow)
{
  const auto need = static_cast<std::size_t>(ARow) + 1;
  if (ABalance.size() < need)
    ABalance.resize(need);
  if (ASort.size() < ABalance.size()) {
    const std::size_t from = ASort.size();
    ASort.resize(ABalance.size());
    for (std::size_t i = from; i < ASort.size(); ++i)
      ASort[i] = TQSORT{HiddenSortKey(), static_cast<int>(i)};
  }
}

int Columns::operator()(const char* AName)
{
  const QString name = QString::fromLatin1(AName);
  auto it = m_cache.constFind(name);
  if (it != m_cache.constEnd())
    return *it;
  const int index = m_q.fieldIndex(name);
  if (index < 0)
    throw db::DbError(QStringLiteral("Field '%1' not found").arg(name));
  m_cache.insert(name, index);
  return index;
}

namespace {

template <typename Row>
void foldRow(Row& r, int AFirst, int ALast, int AEnd)
{
  for (int p = AFirst; p <= ALast; ++p) {
    r.EZANDAKA[p] = Currency();
    r.TZANDAKA[p] = Currency();
  }
  r.EZANDAKA[AEnd] = r.TZANDAKA[AEnd] - r.TZANDAKA[AFirst - 1];
}

}  // namespace

void foldShortYear(TBalanceArray& B, int AFirst, int ALast, int AEnd, bool ASubs)
{
  for (TBALANCE& r : B) {
    foldRow(r, AFirst, ALast, AEnd);
    if (ASubs)
      for (THOJOUTIWAKE& h : r.HOJOUTIWAKE)
        foldRow(h, AFirst, ALast, AEnd);
  }
}

Currency truncRate(Currency AAmount, double ARate)
{
  return Currency::fromDouble(AAmount.toDouble() * ARate).rounded(Currency::Round::Truncate);
}

void placeSubAccounts(db::Query& AQuery, Columns& AColumns, TBALANCE& ARow)
{
  Columns& c = AColumns;
  ARow.HOJOUTIWAKE.resize(static_cast<std::size_t>(ARow.HOJONUM));
  while (!AQuery.eof() && AQuery.field(c("KCODE")).asString() == ARow.KAMOKU.KCODE) {
    const QString hcode = AQuery.field(c("HCODE")).asString();
    int i = 0;
    while (i < ARow.HOJONUM && ARow.HOJOUTIWAKE[static_cast<std::size_t>(i)].HCODE != hcode)
      ++i;
    if (i == ARow.HOJONUM) {
      ARow.HOJOUTIWAKE.emplace_back();
      ++ARow.HOJONUM;
    }
    THOJOUTIWAKE& h = ARow.HOJOUTIWAKE[static_cast<std::size_t>(i)];
    h.HCODE = hcode;
    h.HNAME = AQuery.field(c("HNAME")).asString();
    h.KAISIZAN += AQuery.field(c("KAISIZAN")).asCurrency();
    h.TOUKI_KISHU = h.KAISIZAN;
    h.KAISIZAN_A[0] = h.KAISIZAN;
    for (int n = 1; n <= 16; ++n) {
      h.KARSUM[n] += AQuery.field(c(("KAR" + twoDigits(n)).toLatin1().constData())).asCurrency();
      h.KASSUM[n] += AQuery.field(c(("KAS" + twoDigits(n)).toLatin1().constData())).asCurrency();
    }
    h.EZANDAKA[0] = h.KAISIZAN;
    h.TZANDAKA[0] = h.KAISIZAN;
    for (int n = 1; n <= 16; ++n) {
      h.EZANDAKA[n] = signedMove(ARow.KAMOKU.DAC, h.KARSUM[n], h.KASSUM[n]);
      h.TZANDAKA[n] = h.TZANDAKA[n - 1] + h.EZANDAKA[n];
    }
    AQuery.next();
  }
}

}  // namespace acccalc
