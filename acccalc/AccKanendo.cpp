// Placement of prior-year and budget records.
#include "acccalc/AccKanendo.h"

#include "acccalc/AccCalcEnv.h"
#include "acccalc/AccCalcUtil.h"
#include "acctables/AccKikan.h"
#include "common/AccRecord.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"

namespace acccalc {

namespace {

QString col(const char* APrefix, int n)
{
  return QString::fromLatin1(APrefix) + twoDigits(n);
}

template <typename Row>
void addYear(Row& r, int ANendo, Currency AKishu, const Currency (&AZan)[17], int ACount, int AFirstPos, bool AAssign,
             bool AFirstTakesKishu)
{
  if (ANendo == 0) {
    if (AAssign)
      r.TOUKI_KISHU = AKishu;
    else
      r.TOUKI_KISHU += AKishu;
  }
  if (ANendo == 2)
    r.TZANDAKA[-32] += AKishu;
  if (AAssign)
    r.KAISIZAN_A[static_cast<std::size_t>(ANendo)] = AKishu;
  else
    r.KAISIZAN_A[static_cast<std::size_t>(ANendo)] += AKishu;
  for (int i = 1; i <= ACount; ++i) {
    const int q = AFirstPos + i - 1;
    if (i == 1) {
      r.TZANDAKA[q] += AKishu + AZan[1];
      r.EZANDAKA[q] += AZan[1];
      if (AFirstTakesKishu)
        r.EZANDAKA[q] += AKishu;
    } else {
      r.EZANDAKA[q] += AZan[i];
      r.TZANDAKA[q] = r.TZANDAKA[q - 1] + r.EZANDAKA[q];
    }
  }
}

struct Budget {
  Currency yosan[3][16];
  Currency jisseki[17];
  int kubun[17] = {};
};

template <typename Row>
void addBudget(Row& r, const Budget& b, bool ALines, bool AAssignYosan)
{
  for (int p = 1; p <= 15; ++p) {
    if (AAssignYosan)
      r.YOSAN[static_cast<std::size_t>(p)] = b.yosan[0][p];
    else
      r.YOSAN[static_cast<std::size_t>(p)] += b.yosan[0][p];
  }
  if (ALines)
    return;
  for (std::size_t k = 0; k < 3; ++k)
    for (int p = 1; p <= 15; ++p)
      r.PROYOSAN[k][static_cast<std::size_t>(p)] += b.yosan[k][p];
  for (int k = 1; k <= 16; ++k) {
    const int t = (k % 4 == 0) ? k - 1 : k;
    const auto ti = static_cast<std::size_t>(t);
    if (k == t || r.PROJISSEKIKBN[ti] == 0) {
      r.PROJISSEKI[ti] += b.jisseki[k];
      r.PROJISSEKIKBN[ti] += b.kubun[k];
    }
  }
}

}  // namespace

void runInSnapshot(const std::function<void(db::Transaction&)>& ABody)
{
  db::Transaction* tr = AccCalcDatabase().SnapShot;
  if (!tr)
    throw db::DbError(QStringLiteral("The company database is not open."));
  tr->startIfNeeded();
  try {
    ABody(*tr);
  } catch (...) {
    // The reading only reads: what it saw is committed, and the error goes on
    // to the caller.
    if (tr->inTransaction())
      tr->commit();
    throw;
  }
  if (tr->inTransaction())
    tr->commit();
}

void clearEarlierPositions(TBalanceArray& B, bool AClearOpenings)
{
  const int m = fnTukiIdxToKikanNo(AccInf.KAISINO - 1);
  auto clear = [&](auto& r) {
    for (int p = 0; p <= m - 1; ++p) {
      r.EZANDAKA[p] = Currency();
      r.TZANDAKA[p] = Currency();
    }
    if (!AClearOpenings)
      return;
    if (AccInf.KAISINO > 1)
      r.KAISIZAN_A[0] = Currency();
    r.KAISIZAN_A[1] = Currency();
    r.KAISIZAN_A[2] = Currency();
  };
  for (TBALANCE& r : B) {
    clear(r);
    for (THOJOUTIWAKE& h : r.HOJOUTIWAKE)
      clear(h);
  }
}

void readKeihKubun(db::Query& q, TBalanceArray& B, int AFirstRow)
{
  q.setSql(QStringLiteral("SELECT KCODE,KEIHKUBU FROM KAMOKUMST WHERE BPFLG='P' "));
  for (q.open(); !q.eof(); q.next()) {
    const QString kcode = q.field(0).asString();
    for (std::size_t r = static_cast<std::size_t>(AFirstRow); r < B.size(); ++r) {
      if (B[r].KAMOKU.KCODE == kcode) {
        B[r].KAMOKU.KEIHKUBU = q.field(1).asString();
        break;
      }
    }
  }
  q.close();
}

int TKanendoPlacer::findRow(db::Query& q, bool ALines, int& AHojo)
{
  AHojo = -1;
  if (ALines) {
    const QString group = q.field(QStringLiteral("KGROUP")).asString();
    const int sub = q.field(QStringLiteral("SUBREC")).asInt();
    for (std::size_t r = static_cast<std::size_t>(FFirst); r < B.size(); ++r) {
      const QString& g = FUseGroupR2 ? B[r].KAMOKU.GROUPR2 : B[r].KAMOKU.GROUPM2;
      if (g == group && B[r].WSUBREC == sub)
        return static_cast<int>(r);
    }
    return 0;
  }
  const QString kcode = q.field(QStringLiteral("KCODE")).asString();
  for (std::size_t r = static_cast<std::size_t>(FFirst); r < B.size(); ++r) {
    if (B[r].KAMOKU.KCODE != kcode)
      continue;
    const QString hcode = q.field(QStringLiteral("HCODE")).asString();
    for (int i = 0; i < B[r].HOJONUM; ++i)
      if (B[r].HOJOUTIWAKE[static_cast<std::size_t>(i)].HCODE == hcode) {
        AHojo = i;
        break;
      }
    return static_cast<int>(r);
  }
  return 0;
}

void TKanendoPlacer::placeKanendo(db::Query& q, bool ALines)
{
  q.open();
  if (!FKishuCleared && AccInf.KAISINO > 1)
    for (TBALANCE& r : B)
      r.TOUKI_KISHU = Currency();
  FKishuCleared = true;
  Columns c(q);
  for (; !q.eof(); q.next()) {
    const int nendo = q.field(c("NENDO")).asInt();
    if (nendo < 0 || nendo > 2)
      continue;
    int h = -1;
    const int row = findRow(q, ALines, h);
    if (row == 0)
      continue;
    const Currency kishu = q.field(c("KISHU")).asCurrency();
    Currency zan[17];
    for (int i = 1; i <= 16; ++i)
      zan[i] = q.field(c(col("ZAN", i).toLatin1().constData())).asCurrency();
    int count = 16, first = -15;
    if (nendo == 0) {
      count = fnTukiIdxToKikanNo(AccInf.KAISINO - 1) - 1;
      first = 1;
    } else if (nendo == 2) {
      first = -31;
    }
    TBALANCE& r = B[static_cast<std::size_t>(row)];
    addYear(r, nendo, kishu, zan, count, first, false, FMedical && r.KAMOKU.KCODE == QLatin1String("9301"));
    if (h >= 0)
      addYear(r.HOJOUTIWAKE[static_cast<std::size_t>(h)], nendo, kishu, zan, count, first, true, false);
  }
  q.close();
  foldEarlierYears(B, false);
}

void TKanendoPlacer::placeYosan(db::Query& q, bool ALines)
{
  q.open();
  Columns c(q);
  for (; !q.eof(); q.next()) {
    int h = -1;
    const int row = findRow(q, ALines, h);
    if (row == 0)
      continue;
    Budget b;
    for (int p = 1; p <= 15; ++p)
      b.yosan[0][p] = q.field(c(col("YOSAN", p).toLatin1().constData())).asCurrency();
    if (!ALines) {
      for (int p = 1; p <= 15; ++p) {
        b.yosan[1][p] = q.field(c(col("YOSAN2", p).toLatin1().constData())).asCurrency();
        b.yosan[2][p] = q.field(c(col("YOSAN3", p).toLatin1().constData())).asCurrency();
      }
      for (int k = 1; k <= 16; ++k) {
        b.jisseki[k] = q.field(c(col("JISSEKI", k).toLatin1().constData())).asCurrency();
        b.kubun[k] = q.field(c(col("JKUBUN", k).toLatin1().constData())).asInt();
      }
    }
    TBALANCE& r = B[static_cast<std::size_t>(row)];
    addBudget(r, b, ALines, false);
    if (h >= 0)
      addBudget(r.HOJOUTIWAKE[static_cast<std::size_t>(h)], b, ALines, FMedical);
  }
  q.close();
}

void foldEarlierYears(TBalanceArray& B, bool ASubs)
{
  const TDateTime s1 = AccInf.zKISHU != 0 ? AccInf.zKISHU : fnTukiKasan(-12, AccInf.KISHU);
  const TDateTime s2 = AccInf.zzKISHU != 0 ? AccInf.zzKISHU : fnTukiKasan(-12, s1);
  const int k2 = fnTukisuuKikanNo(AccInf.SIME, s2, s1);
  if (k2 >= 1 && k2 <= 15)
    foldShortYear(B, k2 - 32, -17, -16, ASubs);
  const int k1 = fnTukisuuKikanNo(AccInf.SIME, s1, AccInf.KISHU);
  if (k1 >= 1 && k1 <= 15)
    foldShortYear(B, k1 - 16, -1, 0, ASubs);
}

}  // namespace acccalc
