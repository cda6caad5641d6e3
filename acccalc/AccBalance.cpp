#include "acccalc/AccBalance.h"

#include <cmath>
#include <limits>

#include "common/AccRecord.h"

int fnBalanceRecMax()
{
  return AccInf.ZaimuDataType == jxztCuravia ? 700 : 500;
}

void pcBalanceRecClear(TBALANCE& R)
{
  R.SISETU.SCODE.clear();
  R.SISETU.SNAME.clear();
  R.SISETU.BUMEX = 0;

  R.BUMON.BCODE.clear();
  R.BUMON.BNAME.clear();
  R.BUMON.HAIBUNRITU.fill(Currency());

  TKMKREC& k = R.KAMOKU;
  k.KCODE.clear();
  k.USERCODE.clear();
  k.REC = 0;
  k.GROUPM1.clear();
  k.GROUPM2.clear();
  k.GROUPR1.clear();
  k.GROUPR2.clear();
  k.KKANA.clear();
  k.KNAME.clear();
  k.USE = 0;
  k.BLDAC = 0;
  k.DAC = 0;
  k.DELFLG = 0;
  k.TAX_LCODE = 0;
  k.TAX_RCODE = 0;
  k.TAX_NUM = 0;
  k.FUN_LCODE = 0;
  k.FUN_RCODE = 0;
  k.HOJOSW.clear();
  k.BPFLG.clear();
  k.KEIHKUBU.clear();
  k.EXT1_KS = 0;
  k.EXT1_A4 = 0;
  k.EXT1_A3 = 0;
  k.USEDEF = 0;

  THOJREC& h = R.HOJO;
  h.KCODE.clear();
  h.HCODE.clear();
  h.HKANA.clear();
  h.HNAME.clear();
  h.REC = 0;
  h.TAX_LCODE = 0;
  h.TAX_RCODE = 0;

  R.KAISIZAN = Currency();
  R.KKousei = Currency();
  R.HOJONUM = 0;
  R.WFLG = 0;
  R.WNUM1 = R.WNUM2 = R.WNUM3 = R.WNUM4 = R.WNUM5 = Currency();
  R.KARSUM.fill(Currency());
  R.KASSUM.fill(Currency());
  R.EZANDAKA.fill(Currency());
  R.TZANDAKA.fill(Currency());
  R.KOUSEI.fill(Currency());
  R.YOSAN.fill(Currency());
  R.YKOUSEI.fill(Currency());
  for (auto& block : R.PROYOSAN)
    block.fill(Currency());
  R.PROJISSEKI.fill(Currency());
  R.PROJISSEKIKBN.fill(0);
  R.TOUKI_KISHU = Currency();
  R.KAISIZAN_A.fill(Currency());
}

void pcBalanceRecReset(TBalanceArray& ABalance, TQSortArray& ASort)
{
  if (ASort.size() < ABalance.size())
    ASort.resize(ABalance.size());
  for (std::size_t i = 0; i < ABalance.size(); ++i) {
    pcBalanceRecClear(ABalance[i]);
    ASort[i].Key = HiddenSortKey();
    ASort[i].Rec = static_cast<int>(i);
  }
}

Currency fnRoundRitu(double ARitu)
{
  const long double x = static_cast<long double>(ARitu) * 1000.0L;
  long double t = std::trunc(x >= 0 ? x + 0.5L : x - 0.5L);
  // Keep the tenths of a per cent inside what a Currency can hold.
  const long double limit = static_cast<long double>(std::numeric_limits<qint64>::max() / 1000);
  if (!(t < limit))
    t = x >= 0 ? limit : -limit;  // also catches NaN
  if (t < -limit)
    t = -limit;
  return Currency::fromRaw(static_cast<qint64>(t) * 1000);
}

TCalcSisanhyoSettingRec fnBreakdownSetting(const QString& ABCODE, int ABalanceType, int AZeiKbn, int ABumonHaifu,
                                           int ALayoutKbn, int AYousikiKbn, int AZenkiZeiAtukai)
{
  TCalcSisanhyoSettingRec set;
  set.BCODE = ABCODE;
  set.BalanceType = ABalanceType;
  set.ZeiKbn = AZeiKbn;
  set.BumonHaifu = ABumonHaifu;
  set.LayoutKbn = ALayoutKbn;
  set.YousikiKbn = AYousikiKbn;
  set.ZenkiZeiAtukai = AZenkiZeiAtukai;
  set.JigyoKbn = 0;
  return set;
}
