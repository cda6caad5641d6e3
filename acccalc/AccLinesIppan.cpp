// Statement lines of the general layout at one period position and for the
// budgets, built after a prior-year and budget reading.
#include "acccalc/AccCalc.h"
#include "acccalc/AccCalcUtil.h"
#include "acctables/AccCodeTable.h"
#include "common/AccRecord.h"

using namespace acccalc;

namespace {

const int kFirst = FirstAccountRowGeneral;

TBALANCE& line(TBalanceArray& B, int n)
{
  return B[static_cast<std::size_t>(generalLineRow(n))];
}

// The last account row of group "3340" (row 0 when there is none): the
// balancing row of corporation data.
int groupRow3340(TBalanceArray& B)
{
  int R = 0;
  for (std::size_t r = kFirst; r < B.size(); ++r)
    if (B[r].KAMOKU.GROUPM2 == QLatin1String("3340"))
      R = static_cast<int>(r);
  return R;
}

// The balance-sheet formulas on one figure of every line; X(n) is line n's
// figure, XR the balancing row's.
template <typename Get>
void balanceSheetFormulas(TBalanceArray& B, int R, const Get& X)
{
  TBALANCE& Rr = B[static_cast<std::size_t>(R)];
  Currency& XR = X(Rr);
  auto L = [&](int n) -> Currency& { return X(line(B, n)); };
  L(2) = L(2) + L(1);
  L(5) = L(2) + L(3) + L(4);
  L(9) = L(6) + L(7) + L(8);
  L(11) = L(5) + L(9) + L(10);
  L(15) = L(12) + L(13) + L(14);
  L(19) = L(17) + L(18);
  if (AccInf.DATATYPE == 1) {
    XR = L(11) - (L(15) + L(16) + L(19) + L(20) + L(21) + L(23) + L(24) + L(25));
    L(21) = L(21) + XR;
    L(22) = L(20) + L(21);
    L(23) = L(23) + L(16) + L(19) + L(22);
    L(26) = L(23) + L(24) + L(25);
  } else {
    L(22) = L(20) + L(21);
    L(23) = L(11) - (L(15) + L(16) + L(19) + L(22));
    L(26) = L(16) + L(19) + L(22) + L(23);
  }
  L(27) = L(15) + L(26);
}

// The profit-and-loss formulas (without the manufacturing-cost total).
template <typename Get>
void profitLossFormulas(TBalanceArray& B, const Get& X)
{
  auto L = [&](int n) -> Currency& { return X(line(B, n)); };
  L(35) = L(31) + L(32) + L(46) + L(33) + L(34);
  L(30) = L(29) + L(35) + L(30);
  L(29) = L(35);
  L(36) = L(28) - L(30);
  L(38) = L(36) - L(37);
  L(41) = L(38) + L(39) - L(40);
  L(44) = L(41) + L(42) - L(43);
  L(45) = L(44) - L(45);
}

// Base line of the composition ratio at a period position; 0 when none.
int ratioBaseAtPosition(const QString& g)
{
  if (codeBetween(g, "1000", "1900"))
    return 11;
  if (codeBetween(g, "2000", "3900"))
    return 27;
  if (codeBetween(g, "4000", "8400"))
    return 28;
  return 0;
}

}  // namespace

void pcTotalLineAddZan(TBALANCE& L, const TBALANCE& src, int P)
{
  const int dac = src.KAMOKU.DAC;
  L.KAMOKU.DAC = dac;
  addBySumClass(dac, L.TZANDAKA[P], src.TZANDAKA[P]);
  addBySumClass(dac, L.EZANDAKA[P], src.EZANDAKA[P]);
  addBySumClass(dac, L.TOUKI_KISHU, src.TOUKI_KISHU);
  if (P == 16)
    for (std::size_t k = 0; k < 3; ++k)
      addBySumClass(dac, L.KAISIZAN_A[k], src.KAISIZAN_A[k]);
}

void pcTotalLineAddYosan(TBALANCE& L, const TBALANCE& src, int P)
{
  const int dac = src.KAMOKU.DAC;
  const auto p = static_cast<std::size_t>(P);
  addBySumClass(dac, L.YOSAN[p], src.YOSAN[p]);
  for (std::size_t b = 0; b < 3; ++b)
    addBySumClass(dac, L.PROYOSAN[b][p], src.PROYOSAN[b][p]);
  addBySumClass(dac, L.PROJISSEKI[p], src.PROJISSEKI[p]);
}

void pcTotalLineBuildZan(TBalanceArray& B, int P)
{
  if (B.size() <= static_cast<std::size_t>(kFirst))
    return;
  for (int r = 0; r < kFirst; ++r) {
    B[static_cast<std::size_t>(r)].TOUKI_KISHU = Currency();
    if (P == 16)
      B[static_cast<std::size_t>(r)].KAISIZAN_A.fill(Currency());
  }
  const int R = groupRow3340(B);
  for (std::size_t r = kFirst; r < B.size(); ++r)
    if (B[r].KAMOKU.GROUPM2 == QLatin1String("3340"))
      B[r].WNUM1 = B[r].WNUM2 = B[r].WNUM3 = B[r].WNUM4 = Currency();
  for (std::size_t r = kFirst; r < B.size(); ++r) {
    const int n = generalLineOf(B[r].KAMOKU.GROUPM2, false);
    if (n != 0)
      pcTotalLineAddZan(line(B, n), B[r], P);
  }
  auto T = [P](TBALANCE& r) -> Currency& { return r.TZANDAKA[P]; };
  auto E = [P](TBALANCE& r) -> Currency& { return r.EZANDAKA[P]; };
  balanceSheetFormulas(B, R, T);
  balanceSheetFormulas(B, R, E);
  profitLossFormulas(B, T);
  profitLossFormulas(B, E);

  for (TBALANCE& row : B) {
    const int base = ratioBaseAtPosition(row.KAMOKU.GROUPM2);
    if (base == 0)
      continue;
    const Currency b = line(B, base).TZANDAKA[P];
    if (b.isZero())
      continue;
    row.KOUSEI[P] = fnRituClamp(fnRoundRitu(static_cast<double>(row.TZANDAKA[P].raw()) / static_cast<double>(b.raw())));
  }
}

void pcTotalLineBuildKishu(TBalanceArray& B)
{
  if (B.size() <= static_cast<std::size_t>(kFirst))
    return;
  const int R = groupRow3340(B);
  balanceSheetFormulas(B, R, [](TBALANCE& r) -> Currency& { return r.TOUKI_KISHU; });
  for (std::size_t k = 0; k < 3; ++k)
    balanceSheetFormulas(B, R, [k](TBALANCE& r) -> Currency& { return r.KAISIZAN_A[k]; });
}

void pcTotalLineBuildYosan(TBalanceArray& B, int P)
{
  if (B.size() <= static_cast<std::size_t>(kFirst) || P < 1 || P > 15)
    return;
  for (std::size_t r = kFirst; r < B.size(); ++r) {
    const int n = generalLineOf(B[r].KAMOKU.GROUPM2, false);
    if (n >= 28)
      pcTotalLineAddYosan(line(B, n), B[r], P);
  }
  const auto p = static_cast<std::size_t>(P);
  profitLossFormulas(B, [p](TBALANCE& r) -> Currency& { return r.YOSAN[p]; });
  for (std::size_t b = 0; b < 3; ++b)
    profitLossFormulas(B, [p, b](TBALANCE& r) -> Currency& { return r.PROYOSAN[b][p]; });
  profitLossFormulas(B, [p](TBALANCE& r) -> Currency& { return r.PROJISSEKI[p]; });
}
