// Balances over a period range and the statement total lines, general data.
#include "acccalc/AccCalc.h"
#include "acccalc/AccCalcEnv.h"
#include "acccalc/AccCalcUtil.h"
#include "acctables/AccCodeTable.h"
#include "common/AccRecord.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"

using namespace acccalc;

namespace {

const int kFirst = FirstAccountRowGeneral;

int lineRow(int n)
{
  return n <= 45 ? TotalLineRows.second(n) : n;
}

// The total line of a group code for the range figures; 0 when none.
int rangeLineOfRange(const QString& g)
{
  struct Range {
    int line;
    const char *lo, *hi;
  };
  static const Range ranges[] = {
      {1, "1000", "1120"},  {2, "1120", "1180"},  {3, "1180", "1280"},  {4, "1280", "1380"},  {5, "1380", "1390"},
      {6, "1390", "1580"},  {7, "1580", "1680"},  {8, "1680", "1780"},  {9, "1780", "1790"},  {10, "1790", "1880"},
      {11, "1880", "1900"}, {12, "1900", "2180"}, {13, "2180", "2280"}, {14, "2280", "2380"}, {15, "2380", "2800"},
      {16, "2800", "3180"}, {17, "3180", "3210"}, {18, "3210", "3270"}, {19, "3270", "3280"}, {20, "3280", "3310"},
      {21, "3310", "3330"}, {23, "3380", "3480"}, {24, "3480", "3580"}, {25, "3580", "3680"}, {26, "3680", "3800"},
      {27, "3800", "3900"}, {28, "3900", "4800"}, {29, "4800", "5250"}, {30, "5250", "5400"}, {31, "5400", "5580"},
      {32, "5580", "5680"}, {46, "5680", "5688"}, {33, "5688", "5780"}, {34, "5790", "5830"}, {36, "5800", "5900"},
      {37, "5900", "6180"}, {38, "6180", "6200"}, {39, "6200", "7180"}, {40, "7180", "7280"}, {41, "7280", "7300"},
      {42, "7300", "8180"}, {43, "8180", "8280"}, {44, "8280", "8290"}, {45, "8290", "8400"},
  };
  for (const Range& r : ranges)
    if (codeBetween(g, r.lo, r.hi))
      return r.line;
  return 0;
}

}  // namespace

namespace acccalc {

int generalLineRow(int n)
{
  return lineRow(n);
}

// The total line an account's group code is added into; 0 when none. For
// the range figures line 34 starts above 5790, for period balances and
// budgets above 5780.
int generalLineOf(const QString& g, bool ARangeFigures)
{
  if (!ARangeFigures && codeBetween(g, "5780", "5830"))
    return 34;
  return rangeLineOfRange(g);
}

Currency fnRituClamp(Currency v)
{
  if (v > Cur(9999))
    return Cur(9999);
  if (v < Cur(-999))
    return Cur(-999);
  return v;
}

}  // namespace acccalc

namespace {

int rangeLineOf(const QString& g)
{
  return rangeLineOfRange(g);
}

// The line whose WNUM1 takes an account's later-start opening; 0 when none.
int openingLineOf(const QString& g)
{
  struct Range {
    int line;
    const char *lo, *hi;
  };
  static const Range ranges[] = {
      {11, "1000", "1900"}, {15, "1900", "2800"}, {16, "2800", "3180"}, {17, "3180", "3210"},
      {18, "3210", "3270"}, {19, "3270", "3280"}, {20, "3280", "3310"}, {21, "3310", "3330"},
      {23, "3380", "3480"}, {24, "3480", "3580"}, {25, "3580", "3680"}, {26, "3680", "3800"},
  };
  for (const Range& r : ranges)
    if (codeBetween(g, r.lo, r.hi))
      return r.line;
  return 0;
}

// Base line of the composition ratio of a row's group; 0 when none.
int ratioBaseOf(const QString& g)
{
  if (codeBetween(g, "1000", "1900"))
    return 11;
  if (codeBetween(g, "2000", "3900"))
    return 27;
  if (codeBetween(g, "4000", "8400") || g == QLatin1String("8400"))
    return 28;
  return 0;
}

void pcTotalLineAdd(TBALANCE& L, const TBALANCE& src)
{
  L.WCNT += 1;
  L.WNUM2 += src.WNUM2;
  L.WNUM3 += src.WNUM3;
  L.KAMOKU.DAC = src.KAMOKU.DAC;
  addBySumClass(src.KAMOKU.DAC, L.WNUM1, src.WNUM1);
  addBySumClass(src.KAMOKU.DAC, L.WNUM4, src.WNUM4);
  addBySumClass(src.KAMOKU.DAC, L.ZENKI, src.ZENKI);
}

QString fnTotalName(db::Transaction& tr, const QString& AGroup, const QString& AName, Currency AAmount)
{
  db::Query q(tr);
  q.setSql(QStringLiteral("SELECT PLUSNAME,MINUSNAME,MODIFY FROM ACCTOTALNAME WHERE (KGROUP=:KGROUP)"));
  q.setParam(QStringLiteral("KGROUP"), AGroup);
  q.open();
  if (q.eof())
    return AName;
  if (q.field(QStringLiteral("MODIFY")).asInt() == 1) {
    QString name = AAmount >= Currency() ? q.field(QStringLiteral("PLUSNAME")).asString()
                                         : q.field(QStringLiteral("MINUSNAME")).asString();
    if (SystemDef.KingakuPlus == 1)
      name += QStringLiteral("金額");
    return name;
  }
  return q.field(QStringLiteral("PLUSNAME")).asString();
}

class GeneralLines {
 public:
  GeneralLines(TBalanceArray& B, int S, int L, int R) : B(B), S(S), Lp(L), R(R) {}

  void run()
  {
    assign();
    if (SystemDef.KessansyoTegataSosai == 1) {
      B[48].WNUM4 = B[48].TZANDAKA[Lp];
      B[49].WNUM4 = B[49].TZANDAKA[Lp];
    }
    formulas();
    names();
    ratios();
    laterStart();
  }

 private:
  TBalanceArray& B;
  int S, Lp, R;

  TBALANCE& L(int n) { return B[static_cast<std::size_t>(lineRow(n))]; }

  void assign()
  {
    for (int n = 1; n <= 49; ++n)
      L(n).WCNT = 0;
    for (std::size_t r = kFirst; r < B.size(); ++r) {
      const int line = rangeLineOf(B[r].KAMOKU.GROUPM2);
      if (line != 0)
        pcTotalLineAdd(L(line), B[r]);
    }
  }

  // X(target) := f(X of other lines) for every field of the set.
  template <typename F>
  void each(const F& f)
  {
    static Currency TBALANCE::*const fields[] = {&TBALANCE::WNUM1, &TBALANCE::WNUM2, &TBALANCE::WNUM3, &TBALANCE::WNUM4,
                                                 &TBALANCE::ZENKI};
    for (Currency TBALANCE::*m : fields)
      f(m);
  }

  // A result line: WNUM1, WNUM4 and ZENKI by the formula, no debit sum, and
  // the credit sum as the difference.
  template <typename F>
  void result(int n, const F& f)
  {
    for (Currency TBALANCE::*m : {&TBALANCE::WNUM1, &TBALANCE::WNUM4, &TBALANCE::ZENKI})
      f(m);
    L(n).WNUM2 = Currency();
    L(n).WNUM3 = L(n).WNUM4 - L(n).WNUM1;
  }

  void formulas()
  {
    TBALANCE& Rr = B[static_cast<std::size_t>(R)];
    each([&](auto m) { L(2).*m = L(2).*m + L(1).*m; });
    each([&](auto m) { L(5).*m = L(2).*m + L(3).*m + L(4).*m; });
    each([&](auto m) { L(9).*m = L(6).*m + L(7).*m + L(8).*m; });
    each([&](auto m) { L(11).*m = L(5).*m + L(9).*m + L(10).*m; });
    each([&](auto m) { L(15).*m = L(12).*m + L(13).*m + L(14).*m; });
    each([&](auto m) { L(19).*m = L(17).*m + L(18).*m; });
    if (AccInf.DATATYPE == 1) {
      for (Currency TBALANCE::*m : {&TBALANCE::WNUM1, &TBALANCE::WNUM4, &TBALANCE::ZENKI})
        Rr.*m = L(11).*m - (L(15).*m + L(16).*m + L(19).*m + L(20).*m + L(21).*m + L(23).*m + L(24).*m + L(25).*m);
      Rr.WNUM3 = Rr.WNUM4 - Rr.WNUM1 + Rr.WNUM2;
      each([&](auto m) { L(21).*m = L(21).*m + Rr.*m; });
      each([&](auto m) { L(22).*m = L(20).*m + L(21).*m; });
      each([&](auto m) { L(23).*m = L(23).*m + L(16).*m + L(19).*m + L(22).*m; });
      each([&](auto m) { L(26).*m = L(23).*m + L(24).*m + L(25).*m; });
    } else {
      each([&](auto m) { L(22).*m = L(20).*m + L(21).*m; });
      result(23, [&](auto m) { L(23).*m = L(11).*m - (L(15).*m + L(16).*m + L(19).*m + L(22).*m); });
      each([&](auto m) { L(26).*m = L(16).*m + L(19).*m + L(22).*m + L(23).*m; });
    }
    each([&](auto m) { L(27).*m = L(15).*m + L(26).*m; });

    each([&](auto m) { L(47).*m = L(31).*m + L(32).*m + L(46).*m + L(33).*m; });
    each([&](auto m) { L(35).*m = L(31).*m + L(32).*m + L(46).*m + L(33).*m + L(34).*m; });
    each([&](auto m) { L(30).*m = L(29).*m + L(35).*m + L(30).*m; });
    each([&](auto m) { L(29).*m = L(35).*m; });
    result(36, [&](auto m) { L(36).*m = L(28).*m - L(30).*m; });
    result(38, [&](auto m) { L(38).*m = L(36).*m - L(37).*m; });
    result(41, [&](auto m) { L(41).*m = L(38).*m + L(39).*m - L(40).*m; });
    result(44, [&](auto m) { L(44).*m = L(41).*m + L(42).*m - L(43).*m; });
    result(45, [&](auto m) { L(45).*m = L(44).*m - L(45).*m; });
  }

  void names()
  {
    db::Transaction* tr = AccCalcDatabase().Main;
    if (!tr)
      return;  // no company database: the lines keep their names
    bool started = false;
    try {
      started = tr->startIfNeeded();
      for (int n : {36, 38, 41, 44, 45})
        L(n).KAMOKU.KNAME = fnTotalName(*tr, L(n).KAMOKU.GROUPM2, L(n).KAMOKU.KNAME, L(n).WNUM4);
      if (started)
        tr->commit();
    } catch (const db::DbError& e) {
      if (e.gdscode() != 0)
        AccCalcReporter().ShowFbError(e, QStringLiteral("pcBalanceSheet_Calcu"), QString());
      if (started && tr->inTransaction()) {
        try {
          tr->rollback();
        } catch (const db::DbError&) {
        }
      }
      throw;
    } catch (...) {
      if (started && tr->inTransaction()) {
        try {
          tr->rollback();
        } catch (const db::DbError&) {
        }
      }
      throw;
    }
  }

  void ratios()
  {
    for (auto& row : B) {
      const int base = ratioBaseOf(row.KAMOKU.GROUPM2);
      if (base == 0)
        continue;
      const Currency b = L(base).WNUM4;
      if (b.isZero())
        continue;
      row.WNUM5 = fnRituClamp(fnRoundRitu(static_cast<double>(row.WNUM4.raw()) / static_cast<double>(b.raw())));
    }
    L(11).WNUM5 = L(27).WNUM5 = L(28).WNUM5 = Cur(100);
  }

  void laterStart()
  {
    if (!(AccInf.KAISINO > 1 && (S == -1 || S == 7)))
      return;
    for (int n : {11, 15, 16, 17, 18, 19, 20, 21, 23, 24, 25, 26, 27})
      L(n).WNUM1 = Currency();
    int A = 0, Bb = 0, C = 0;
    for (std::size_t r = kFirst; r < B.size(); ++r) {
      TBALANCE& row = B[r];
      const QString& g = row.KAMOKU.GROUPM2;
      if (!codeBetween(g, "1000", "3800"))
        continue;
      row.WNUM1 = row.KKousei;
      if (AccInf.DATATYPE == 2) {
        const QString& g1 = row.KAMOKU.GROUPM1;
        if (g1 == QLatin1String("1100") && row.WSUBREC == 24)
          A = static_cast<int>(r);
        if (g1 == QLatin1String("2100") && row.WSUBREC == 22)
          Bb = static_cast<int>(r);
        if (g1 == QLatin1String("2100") && row.WSUBREC == 23)
          C = static_cast<int>(r);
      }
      const int line = openingLineOf(g);
      if (line != 0)
        addBySumClass(row.KAMOKU.DAC, L(line).WNUM1, row.KKousei);
    }
    if (AccInf.DATATYPE == 2) {
      const Currency t = L(11).WNUM1 - (L(15).WNUM1 + L(16).WNUM1);
      B[C].WNUM1 = B[Bb].WNUM1 - B[A].WNUM1 + B[C].WNUM1 + t;
      B[A].WNUM1 = Currency();
      B[Bb].WNUM1 = Currency();
    } else if (AccInf.DATATYPE == 1) {
      TBALANCE& Rr = B[static_cast<std::size_t>(R)];
      L(19).WNUM1 = L(17).WNUM1 + L(18).WNUM1;
      Rr.WNUM1 = L(11).WNUM1 - (L(15).WNUM1 + L(16).WNUM1 + L(19).WNUM1 + L(20).WNUM1 + L(21).WNUM1 + L(23).WNUM1 +
                                L(24).WNUM1 + L(25).WNUM1);
      L(21).WNUM1 += Rr.WNUM1;
      L(22).WNUM1 = L(20).WNUM1 + L(21).WNUM1;
      L(23).WNUM1 = L(23).WNUM1 + L(16).WNUM1 + L(19).WNUM1 + L(22).WNUM1;
      L(26).WNUM1 = L(23).WNUM1 + L(24).WNUM1 + L(25).WNUM1;
      L(45).WNUM3 = Rr.WNUM4 - Rr.WNUM1;
    }
  }
};

}  // namespace

QString fnKikanErrorText(int AFrom, int ATo)
{
  return QStringLiteral("期間番号は「1～16」です。 [%1-%2]").arg(AFrom).arg(ATo);
}

namespace acccalc {

// The range of a selector; reports a range outside 1..16 and brings it into
// 1..16 so that no period array is read out of its bounds.
void periodRange(int AKikan, int& AFrom, int& ATo)
{
  static const int ranges[7][2] = {{0, 0}, {1, 4}, {5, 8}, {9, 12}, {13, 16}, {1, 8}, {9, 16}};
  bool reported = false;
  if (AFrom < 1 && AKikan == 0) {
    AccCalcReporter().ShowCommaMessage(fnKikanErrorText(AFrom, ATo), 1);
    reported = true;
  }
  if (AKikan >= 1 && AKikan <= 6) {
    AFrom = ranges[AKikan][0];
    ATo = ranges[AKikan][1];
  }
  if (AFrom < 1 || AFrom > 16 || ATo < 1 || ATo > 16) {
    if (!reported)
      AccCalcReporter().ShowCommaMessage(fnKikanErrorText(AFrom, ATo), 1);
    AFrom = std::clamp(AFrom, 1, 16);
    ATo = std::clamp(ATo, 1, 16);
  }
}

}  // namespace acccalc

void pcBalanceSheet_Calcu(TBalanceArray& B, int ASyuukeiKbn, int S, int F, int L)
{
  periodRange(S, F, L);

  for (TBALANCE& row : B) {
    row.WNUM1 = row.WNUM2 = row.WNUM3 = row.WNUM4 = row.WNUM5 = row.ZENKI = Currency();
    for (int i = 0; i < row.HOJONUM; ++i) {
      THOJOUTIWAKE& h = row.HOJOUTIWAKE[static_cast<std::size_t>(i)];
      h.WNUM1 = h.WNUM2 = h.WNUM3 = h.WNUM4 = Currency();
    }
  }

  const bool zeroPL = S == 2 || S == 3 || S == 4 || S == 6 || S == 7;
  const bool zeroPL7 = S != 7 || (AccInf.KAISINO == 1 && F > 1) || (AccInf.KAISINO != 1 && AccInf.KAISINO < F);
  int R = 0;
  for (std::size_t ri = kFirst; ri < B.size(); ++ri) {
    TBALANCE& r = B[ri];
    const int dac = r.KAMOKU.DAC;
    auto subs = [&r](auto f) {
      for (int i = 0; i < r.HOJONUM; ++i)
        f(r.HOJOUTIWAKE[static_cast<std::size_t>(i)]);
    };
    if (ASyuukeiKbn != 1) {
      r.WNUM1 = r.KAISIZAN;
      subs([](THOJOUTIWAKE& h) { h.WNUM1 = h.KAISIZAN; });
      for (int p = 1; p <= F - 1; ++p) {
        r.WNUM1 += signedMove(dac, r.KARSUM[p], r.KASSUM[p]);
        subs([&](THOJOUTIWAKE& h) { h.WNUM1 += signedMove(dac, h.KARSUM[p], h.KASSUM[p]); });
      }
    }
    for (int p = F; p <= L; ++p) {
      r.WNUM2 += r.KARSUM[p];
      r.WNUM3 += r.KASSUM[p];
      subs([&](THOJOUTIWAKE& h) {
        h.WNUM2 += h.KARSUM[p];
        h.WNUM3 += h.KASSUM[p];
      });
    }
    if (S == -1 || S == 0 || S == 1 || S == 5 || r.KAMOKU.BPFLG != QLatin1String("P")) {
      r.ZENKI = r.TZANDAKA[L - 16];
    } else {
      for (int p = F; p <= L; ++p)
        r.ZENKI += r.EZANDAKA[p - 16];
    }
    // A profit-and-loss range starts from zero; its sub-accounts with it,
    // so that they still add up to their account.
    if (zeroPL && zeroPL7 && r.KAMOKU.BPFLG == QLatin1String("P")) {
      r.WNUM1 = Currency();
      subs([](THOJOUTIWAKE& h) { h.WNUM1 = Currency(); });
    }
    r.WNUM4 = r.WNUM1 + signedMove(dac, r.WNUM2, r.WNUM3);
    subs([&](THOJOUTIWAKE& h) {
      h.WNUM4 = h.WNUM1 + signedMove(dac, h.WNUM2, h.WNUM3);
      h.WNUM5 = subAccountShare(h.WNUM4, r.WNUM4);
    });
    if (r.KAMOKU.GROUPM2 == QLatin1String("3340")) {
      r.WNUM1 = r.WNUM4 = r.ZENKI = Currency();
      R = static_cast<int>(ri);
    }
  }

  GeneralLines(B, S, L, R).run();
}
