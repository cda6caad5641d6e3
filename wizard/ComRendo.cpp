#include "wizard/ComRendo.h"

#include <stdexcept>

#include "acccalc/AccCalc.h"
#include "acctables/AccCodeTable.h"
#include "common/AccRecord.h"
#include "platform/AppError.h"

namespace {

void checkIndex(int index)
{
  if (index < 0 || index > 15)
    throw std::out_of_range("period index " + std::to_string(index) + " outside 0..15");
}

// Thrown when a reading reports that it stopped (its error has been shown).
class EZaimuReadFailed : public EAppError {
 public:
  EZaimuReadFailed() : EAppError(QStringLiteral("the balance reading stopped on a database error")) {}
};

}  // namespace

TZaimuLoadRange fnZaimuLoadRange(int StartMNum, int EndMNum, int LastMNum)
{
  checkIndex(StartMNum);
  checkIndex(EndMNum);
  TZaimuLoadRange r;
  const bool toYearEnd = LastMNum != 15 && LastMNum == EndMNum;
  r.SelEndNum12 = KikanToTukiNo.at(std::size_t(toYearEnd ? std::max(EndMNum - 1, 0) : EndMNum));
  r.From = StartMNum + 1;
  r.To = toYearEnd ? 16 : EndMNum + 1;
  r.EndMNum = toYearEnd ? 15 : EndMNum;
  return r;
}

void TZaimuDataLoad::resetTable()
{
  FRecMax = fnBalanceRecMax();
  FBalanceRec.clear();
  FBalanceSortRec.clear();
  FBalanceRec.resize(std::size_t(FRecMax));
  FBalanceSortRec.resize(std::size_t(FRecMax));
}

void TZaimuDataLoad::ReadSisanhyo()
{
  resetTable();
  const TZaimuLoadRange range = fnZaimuLoadRange(FStartMNum, FEndMNum, FLastMNum);
  FSelEndNum12 = range.SelEndNum12;
  if (!pcSisanhyoRead(FBalanceRec, FBalanceSortRec, FSCODE, FBCODE, FZeiKbn, FBalanceType, FPaperKbn, 2, FHaifu,
                      FJigyoKbn, 0))
    throw EZaimuReadFailed();
  FEndMNum = range.EndMNum;
  pcBalanceCalcu(FBalanceRec, FSyuukeiKbn, 0, range.From, range.To, FJigyoKbn);
}

void TZaimuDataLoad::ReadKessansyo()
{
  resetTable();
  TZaimuLoadRange range = fnZaimuLoadRange(FStartMNum, FEndMNum, FLastMNum);
  FSelEndNum12 = range.SelEndNum12;
  FKikan = 7;
  if (AccInf.KAISINO > 1)
    FStartMNum = 0;
  FEndMNum = range.EndMNum;
  if (FEndMNum < 15) {
    FStartMNum = 0;
    FEndMNum = 7;
  }
  if (!pcKessansyoRead(FBalanceRec, FBalanceSortRec, 1, FZeiKbn, FJigyoKbn, 0))
    throw EZaimuReadFailed();
  pcBalanceCalcu(FBalanceRec, 0, FKikan, FStartMNum + 1, FEndMNum + 1, FJigyoKbn);
}
