// Validation of a company database through the main program's hook.
#include "common/DataModule.h"

int TDM::ValidateFbDataBase(const QString& AHostName, const QString& ADataName, int ASilent, int AKyoseiCheck)
{
  if ((AKyoseiCheck == 1 || SystemDef.DataHasonCheck == 1) && DataHasonHanteiProc)
    return DataHasonHanteiProc(AHostName, ADataName, ASilent).toInt();
  return 1;
}
