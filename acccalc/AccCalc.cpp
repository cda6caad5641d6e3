// Entry points: dispatch to the general or the medical-corporation branch.
#include "acccalc/AccCalc.h"

#include "common/AccRecord.h"

bool pcSisanhyoRead(TBalanceArray& ABalance, TQSortArray& ASort, const QString& ASCODE, const QString& ABCODE,
                    int AZeiKbn, int ABalanceType, int ALayoutKbn, int AYousikiKbn, int ABumonHaifu, int AJigyoKbn,
                    int AZenkiZeiAtukai)
{
  if (AccInf.ZaimuDataType == jxztCuravia)
    return pcSisanhyoRead_Iryou(ABalance, ASort, ASCODE, ABCODE, AZeiKbn, ABalanceType, ALayoutKbn, AYousikiKbn,
                                ABumonHaifu, AJigyoKbn);
  return pcSisanhyoRead_Ippan(ABalance, ASort, ASCODE, ABCODE, AZeiKbn, ABalanceType, ALayoutKbn, AYousikiKbn,
                              ABumonHaifu, AZenkiZeiAtukai);
}

bool pcKessansyoRead(TBalanceArray& ABalance, TQSortArray& ASort, int AKind, int AZeiKbn, int AJigyoKbn,
                     int AZenkiZeiAtukai)
{
  if (AccInf.ZaimuDataType == jxztCuravia)
    return pcSisanhyoRead(ABalance, ASort, QString(), QString(), AZeiKbn, 0, 3, 1, 0, AJigyoKbn, 0);
  return pcSisanhyoRead(ABalance, ASort, QStringLiteral("dummy"), QStringLiteral("dummy"), AZeiKbn, AKind * 10, 4, 1, 0,
                        AJigyoKbn, AZenkiZeiAtukai);
}

void pcBalanceCalcu(TBalanceArray& ABalance, int ASyuukeiKbn, int AKikan, int AFrom, int ATo, int AJigyoKbn)
{
  if (AccInf.ZaimuDataType == jxztCuravia)
    pcBalanceSheet_CalcuIryou(ABalance, ASyuukeiKbn, AKikan, AFrom, ATo, AJigyoKbn);
  else
    pcBalanceSheet_Calcu(ABalance, ASyuukeiKbn, AKikan, AFrom, ATo);
}

bool pcKanendoYosanRead(TBalanceArray& ABalance, TQSortArray& ASort, const QString& ASCODE, const QString& ABCODE,
                        int AZeiKbn, int ABalanceType, int ALayoutKbn, int ABumonHaifu, int AJigyoKbn, int AZenkiTaxSw,
                        int AYousikiKbn, int AZenkiZeiAtukai)
{
  if (AccInf.ZaimuDataType == jxztCuravia)
    return pcKanendoYosanRead_Iryou(ABalance, ASort, ASCODE, ABCODE, AZeiKbn, ABalanceType, ALayoutKbn, ABumonHaifu,
                                    AJigyoKbn, AYousikiKbn, AZenkiZeiAtukai);
  return pcKanendoYosanRead_Ippan(ABalance, ASort, ASCODE, ABCODE, AZeiKbn, ABalanceType, ALayoutKbn, ABumonHaifu,
                                  AZenkiTaxSw);
}
