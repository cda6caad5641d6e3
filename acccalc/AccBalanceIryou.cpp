// Balances over a period range and the statement lines, medical-corporation
// data.
#include "acccalc/AccCalc.h"
#include "acccalc/AccCalcEnv.h"
#include "acccalc/AccCalcUtil.h"
#include "acctables/AccCodeTable.h"
#include "acctables/AccKikan.h"
#include "common/AccRecord.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"

using namespace acccalc;

namespace {

const int kFirst = FirstAccountRowMedical;  // 61

bool usesRCodes(int d)
{
  return d == 2 || d == 4;
}

const QString& chosenCode(const TBALANCE& r, bool AUseR)
{
  return AUseR ? r.KAMOKU.GROUPR1 : r.KAMOKU.GROUPM1;
}

Currency clampRitu(Currency v)
{
  if (v > Cur(9999))
    return Cur(9999);
  if (v < Cur(-999))
    return Cur(-999);
  return v;
}

Currency fnRituCheck(Currency v)
{
  return (v > Cur(9999) || v < Cur(-999)) ? Currency() : v;
}

// Divisor line of a row's component ratio: 11 (assets), 24 (liabilities and
// net assets) or 32 (profit and loss); 0 when the code is in none.
int ratioLineOf(int n)
{
  if (n >= 1000 && n <= 1900)
    return 11;
  if (n >= 2000 && n <= 3900)
    return 24;
  if (n >= 4000 && n <= 9500)
    return 32;
  return 0;
}

bool isSignDependent(const QString& g)
{
  static const char* const codes[] = {"3480", "6950", "7300", "8300", "9280", "9380", "9600"};
  for (const char* c : codes)
    if (g == QLatin1String(c))
      return true;
  return false;
}

void rollbackQuietly(db::Transaction& tr, bool started)
{
  if (started && tr.inTransaction()) {
    try {
      tr.rollback();
    } catch (const db::DbError&) {
    }
  }
}

// The name of a sign-dependent total line by the sign of its amount.
QString pcTotalNameSign_Iryou(const QString& g, const QString& AName, Currency AAmount, int d)
{
  if (!isSignDependent(g))
    return AName;
  db::Transaction* tr = AccCalcDatabase().Main;
  if (!tr)
    return AName;
  const QString step = QStringLiteral("合計名称読込");
  bool started = false;
  QString name = AName;
  try {
    started = tr->startIfNeeded();
    db::Query q(*tr);
    q.setSql(QStringLiteral(
        "SELECT PLUSNAME,MINUSNAME,MODIFY FROM ACCTOTALNAME "
        "WHERE (BIN_AND( MB_JIGYOU,CAST(:JIGYOU AS INTEGER))=CAST(:JIGYOU AS INTEGER) ) AND (KGROUP=:KGROUP)"));
    q.setParam(QStringLiteral("JIGYOU"), d);
    q.setParam(QStringLiteral("KGROUP"), g);
    q.open();
    if (!q.eof()) {
      if (q.field(QStringLiteral("MODIFY")).asInt() == 1) {
        name = AAmount >= Currency() ? q.field(QStringLiteral("PLUSNAME")).asString()
                                     : q.field(QStringLiteral("MINUSNAME")).asString();
        if (d == 0 || d == 255)
          name.replace(QStringLiteral("医業"), QStringLiteral("事業"));
      } else {
        name = q.field(QStringLiteral("PLUSNAME")).asString();
      }
    }
    q.close();
    if (started)
      tr->commit();
  } catch (const db::DbError& e) {
    rollbackQuietly(*tr, started);
    if (e.gdscode() != 0)
      AccCalcReporter().ShowFbCalcError(e, step);
    else
      AccCalcReporter().ShowCommaMessage(step + QLatin1Char(',') + e.message(), 1);
    return AName;
  } catch (...) {
    rollbackQuietly(*tr, started);
    throw;
  }
  return name;
}

int fnKamokuRecFind_Iryou(const TBalanceArray& B, const QString& ACode)
{
  if (ACode.isEmpty())
    return 0;
  for (std::size_t i = kFirst; i < B.size(); ++i)
    if (B[i].KAMOKU.KCODE == ACode)
      return static_cast<int>(i);
  return 0;
}

}  // namespace

void pcBalanceSheet_CalcuIryou(TBalanceArray& B, int ASyuukeiKbn, int sel, int From, int To, int d)
{
  bool useR = usesRCodes(d);
  if (!(d == 0 || d == 1 || d == 2 || d == 4 || d == 8 || d == 16 || d == 255)) {
    AccCalcReporter().ShowCommaMessage(QStringLiteral("事業区分の設定が必要です。"), 1);
    useR = false;
  }
  periodRange(sel, From, To);
  if (sel > 0) {
    const int m = fnTukiIdxToKikanNo(fnTukisuu(AccInf.SIME, AccInf.KISHU, AccInf.KIMATU));
    if (m < To)
      To = 16;
  }

  for (TBALANCE& row : B) {
    row.WNUM1 = row.WNUM2 = row.WNUM3 = row.WNUM4 = row.WNUM5 = row.ZENKI = Currency();
    for (int i = 0; i < row.HOJONUM; ++i) {
      THOJOUTIWAKE& h = row.HOJOUTIWAKE[static_cast<std::size_t>(i)];
      h.WNUM1 = h.WNUM2 = h.WNUM3 = h.WNUM4 = Currency();
    }
  }

  auto subsOf = [](TBALANCE& r, auto f) {
    for (int i = 0; i < r.HOJONUM; ++i)
      f(r.HOJOUTIWAKE[static_cast<std::size_t>(i)]);
  };

  for (std::size_t ri = kFirst; ri < B.size(); ++ri) {
    TBALANCE& r = B[ri];
    const int dac = r.KAMOKU.DAC;
    if (ASyuukeiKbn != 1) {
      r.WNUM1 = r.KAISIZAN;
      subsOf(r, [](THOJOUTIWAKE& h) { h.WNUM1 = h.KAISIZAN; });
      for (int l = 1; l <= From - 1; ++l) {
        r.WNUM1 += signedMove(dac, r.KARSUM[l], r.KASSUM[l]);
        subsOf(r, [&](THOJOUTIWAKE& h) { h.WNUM1 += signedMove(dac, h.KARSUM[l], h.KASSUM[l]); });
      }
    }
    for (int l = From; l <= To; ++l) {
      r.WNUM2 += r.KARSUM[l];
      r.WNUM3 += r.KASSUM[l];
      subsOf(r, [&](THOJOUTIWAKE& h) {
        h.WNUM2 += h.KARSUM[l];
        h.WNUM3 += h.KASSUM[l];
      });
    }
    if (sel == 0 || sel == 1 || sel == 5 || r.KAMOKU.BPFLG != QLatin1String("P")) {
      r.ZENKI = r.TZANDAKA[To - 16];
    } else {
      for (int l = From; l <= To; ++l)
        r.ZENKI += r.EZANDAKA[l - 16];
    }
  }

  if (sel == 2 || sel == 3 || sel == 4 || sel == 6 || sel == 7) {
    const bool clearPL =
        sel != 7 || (AccInf.KAISINO == 1 && From > 1) || (AccInf.KAISINO != 1 && AccInf.KAISINO < From);
    Currency A, Bsum;
    for (std::size_t ri = kFirst; ri < B.size(); ++ri) {
      TBALANCE& r = B[ri];
      const QString& g = r.KAMOKU.GROUPM1;
      if (g < QLatin1String("2000")) {
        if (isDebitNatured(r.KAMOKU.DAC))
          A += r.WNUM1;
        else
          A -= r.WNUM1;
      } else if (g < QLatin1String("4000")) {
        if (r.KAMOKU.DAC == 3 || r.KAMOKU.DAC == 2)
          Bsum += r.WNUM1;
        else
          Bsum -= r.WNUM1;
      }
      // A profit-and-loss range starts from zero; its sub-accounts with
      // it, so that they still add up to their account.
      if (clearPL && r.KAMOKU.BPFLG == QLatin1String("P")) {
        r.WNUM1 = Currency();
        subsOf(r, [](THOJOUTIWAKE& h) { h.WNUM1 = Currency(); });
      }
    }
    B[static_cast<std::size_t>(fnKamokuRecFind_Iryou(B, AccInf.ZENKIKURIKOSI))].WNUM1 = A - Bsum;
  }

  for (std::size_t ri = kFirst; ri < B.size(); ++ri) {
    TBALANCE& r = B[ri];
    const int dac = r.KAMOKU.DAC;
    r.WNUM4 = r.WNUM1 + signedMove(dac, r.WNUM2, r.WNUM3);
    subsOf(r, [&](THOJOUTIWAKE& h) {
      h.WNUM4 = h.WNUM1 + signedMove(dac, h.WNUM2, h.WNUM3);
      h.WNUM5 = subAccountShare(h.WNUM4, r.WNUM4);
    });
  }

  // Summing the accounts into the total lines.
  const int lastLine = std::min<int>(53, static_cast<int>(B.size()) - 1);
  QString prev = QStringLiteral("1000");
  for (int n = 1; n <= lastLine; ++n) {
    TBALANCE& L = B[static_cast<std::size_t>(n)];
    L.WCNT = 0;
    if (L.KAMOKU.GROUPM1.isEmpty())
      continue;
    const QString& u = chosenCode(L, useR);
    for (std::size_t ri = kFirst; ri < B.size(); ++ri) {
      const TBALANCE& r = B[ri];
      const QString& g = chosenCode(r, useR);
      if (!(prev < g && g < u))
        continue;
      L.WCNT += 1;
      L.WNUM2 += r.WNUM2;
      L.WNUM3 += r.WNUM3;
      L.KAMOKU.DAC = r.KAMOKU.DAC;
      if (r.KAMOKU.DAC == 2 || r.KAMOKU.DAC == 4)
        L.ZENKI -= r.ZENKI;
      else
        L.ZENKI += r.ZENKI;
      addBySumClass(r.KAMOKU.DAC, L.WNUM1, r.WNUM1);
      addBySumClass(r.KAMOKU.DAC, L.WNUM4, r.WNUM4);
    }
    prev = L.KAMOKU.GROUPM1;
  }

  if (B.size() > 54) {
    auto Ln = [&B](int n) -> TBALANCE& { return B[static_cast<std::size_t>(n)]; };
    using M = Currency TBALANCE::*;
    const M four[] = {&TBALANCE::WNUM1, &TBALANCE::WNUM2, &TBALANCE::WNUM3, &TBALANCE::WNUM4};
    auto all = [&](auto f) {
      for (M m : four)
        f(m);
    };
    // WNUM1 and WNUM4 by the formula, WNUM3 as their difference.
    auto diff = [&](int n, auto f) {
      f(&TBALANCE::WNUM1);
      f(&TBALANCE::WNUM4);
      Ln(n).WNUM3 = Ln(n).WNUM4 - Ln(n).WNUM1;
    };
    all([&](M m) { Ln(2).*m = Ln(2).*m + Ln(1).*m; });
    all([&](M m) { Ln(5).*m = Ln(2).*m + Ln(3).*m + Ln(4).*m; });
    all([&](M m) { Ln(9).*m = Ln(6).*m + Ln(7).*m + Ln(8).*m; });
    all([&](M m) { Ln(11).*m = Ln(5).*m + Ln(9).*m + Ln(10).*m; });
    all([&](M m) { Ln(14).*m = Ln(12).*m + Ln(13).*m; });
    diff(19,
         [&](M m) { Ln(19).*m = Ln(11).*m - (Ln(14).*m + Ln(15).*m + Ln(16).*m + Ln(17).*m + Ln(18).*m + Ln(22).*m); });
    Ln(19).WNUM2 = Currency();
    all([&](M m) { Ln(21).*m = Ln(17).*m + Ln(18).*m + Ln(19).*m; });
    all([&](M m) { Ln(23).*m = Ln(15).*m + Ln(16).*m + Ln(21).*m + Ln(22).*m; });
    all([&](M m) { Ln(24).*m = Ln(14).*m + Ln(23).*m; });
    all([&](M m) { Ln(26).*m = Ln(25).*m + Ln(26).*m; });
    all([&](M m) { Ln(28).*m = Ln(27).*m + Ln(28).*m; });
    all([&](M m) { Ln(30).*m = Ln(29).*m + Ln(30).*m; });
    all([&](M m) { Ln(32).*m = Ln(26).*m + Ln(28).*m + Ln(30).*m + Ln(31).*m; });
    all([&](M m) {
      Ln(41).*m = Ln(33).*m + Ln(34).*m + Ln(35).*m + Ln(36).*m + Ln(37).*m + Ln(38).*m + Ln(39).*m + Ln(40).*m;
    });
    diff(42, [&](M m) { Ln(42).*m = Ln(32).*m - Ln(41).*m; });
    diff(45, [&](M m) { Ln(45).*m = Ln(42).*m + Ln(43).*m - Ln(44).*m; });
    diff(48, [&](M m) { Ln(48).*m = Ln(45).*m + Ln(46).*m - Ln(47).*m; });
    diff(49, [&](M m) { Ln(49).*m = Ln(48).*m - Ln(49).*m; });
    diff(50, [&](M m) { Ln(50).*m = Ln(49).*m + Ln(50).*m; });
    diff(53, [&](M m) { Ln(53).*m = Ln(50).*m + Ln(51).*m - Ln(52).*m; });
    all([&](M m) { Ln(20).*m = Ln(49).*m; });
    Ln(54).WNUM4 = Ln(49).WNUM4 - Ln(45).WNUM4 - Ln(46).WNUM4;

    const Currency c = Ln(32).WNUM4;
    for (TBALANCE& row : B) {
      row.KAMOKU.KNAME = pcTotalNameSign_Iryou(row.KAMOKU.GROUPM1, row.KAMOKU.KNAME, row.WNUM4, d);
      const int line = ratioLineOf(codeNumber(chosenCode(row, useR)));
      if (line == 0)
        continue;
      const Currency divisor = line == 32 ? c : Ln(line).WNUM4;
      if (divisor.isZero())
        continue;
      row.WNUM5 = clampRitu(fnRoundRitu(static_cast<double>(row.WNUM4.raw()) / static_cast<double>(divisor.raw())));
    }
  }
}

void pcKikanLineCalcu_Iryou(TBalanceArray& B, int p, int d)
{
  if (B.size() < static_cast<std::size_t>(kFirst))
    return;  // not a medical-corporation table
  for (int i = 0; i <= 60; ++i) {
    B[static_cast<std::size_t>(i)].TOUKI_KISHU = Currency();
    if (p == 16)
      B[static_cast<std::size_t>(i)].KAISIZAN_A.fill(Currency());
  }
  for (int i = 0; i <= 53; ++i) {
    B[static_cast<std::size_t>(i)].TZANDAKA[p] = Currency();
    B[static_cast<std::size_t>(i)].EZANDAKA[p] = Currency();
  }
  const bool useR = usesRCodes(d);
  QString prev = QStringLiteral("1000");
  for (int n = 1; n <= 53; ++n) {
    TBALANCE& L = B[static_cast<std::size_t>(n)];
    if (L.KAMOKU.GROUPM1.isEmpty())
      continue;
    const QString& u = chosenCode(L, useR);
    for (std::size_t ri = kFirst; ri < B.size(); ++ri) {
      const TBALANCE& r = B[ri];
      const QString& g = chosenCode(r, useR);
      if (!(prev < g && g < u))
        continue;
      L.KAMOKU.DAC = r.KAMOKU.DAC;
      const int dac = r.KAMOKU.DAC;
      addBySumClass(dac, L.TZANDAKA[p], r.TZANDAKA[p]);
      addBySumClass(dac, L.EZANDAKA[p], r.EZANDAKA[p]);
      addBySumClass(dac, L.TOUKI_KISHU, r.TOUKI_KISHU);
      if (p == 16)
        for (int k = 0; k < 3; ++k)
          addBySumClass(dac, L.KAISIZAN_A[static_cast<std::size_t>(k)], r.KAISIZAN_A[static_cast<std::size_t>(k)]);
    }
    prev = L.KAMOKU.GROUPM1;
  }

  auto both = [&](auto f) {
    f([&](int n) -> Currency& { return B[static_cast<std::size_t>(n)].TZANDAKA[p]; });
    f([&](int n) -> Currency& { return B[static_cast<std::size_t>(n)].EZANDAKA[p]; });
  };
  both([](auto X) {
    X(2) = X(2) + X(1);
    X(5) = X(2) + X(3) + X(4);
    X(9) = X(6) + X(7) + X(8);
    X(11) = X(5) + X(9) + X(10);
    X(14) = X(12) + X(13);
    X(19) = X(11) - (X(14) + X(15) + X(16) + X(17) + X(18) + X(22));
    X(21) = X(17) + X(18) + X(19);
    X(23) = X(15) + X(16) + X(21) + X(22);
    X(24) = X(14) + X(23);
    X(26) = X(25) + X(26);
    X(28) = X(27) + X(28);
    X(30) = X(29) + X(30);
    X(32) = X(26) + X(28) + X(30) + X(31);
    X(41) = X(33) + X(34) + X(35) + X(36) + X(37) + X(38) + X(39) + X(40);
    X(42) = X(32) - X(41);
    X(45) = X(42) + X(43) - X(44);
    X(48) = X(45) + X(46) - X(47);
    X(49) = X(48) - X(49);
    X(50) = X(49) + X(50);
    X(53) = X(50) + X(51) - X(52);
    X(20) = X(49);
  });

  const Currency a = B[11].TZANDAKA[p], b = B[24].TZANDAKA[p], c = B[32].TZANDAKA[p];
  for (TBALANCE& row : B) {
    const int line = ratioLineOf(codeNumber(row.KAMOKU.GROUPM1));
    if (line == 0)
      continue;
    const Currency divisor = line == 11 ? a : line == 24 ? b : c;
    if (divisor.isZero())
      continue;
    row.KOUSEI[p] =
        fnRituCheck(fnRoundRitu(static_cast<double>(row.TZANDAKA[p].raw()) / static_cast<double>(divisor.raw())));
  }
}
