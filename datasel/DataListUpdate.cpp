#include "datasel/DataListUpdate.h"

#include "common/DataInfomation.h"
#include "common/DataModule.h"
#include "datasel/ComDataSentaku.h"
#include "platform/Format.h"

void pcDataListUpdateAtClose(const QString& AFolder, const TDataInfomationRec& ARec, bool AReplaceListName)
{
  TDataSentakuListCtl ctl;
  ctl.SetAppType(AppType);
  ctl.SetDataPlaceRec(SystemDef.DataPlaceRec);
  TDataListRec d;
  ctl.InitDataListRecord(d, AFolder);
  d.GassanDataKbn = ARec.GassanDataKbn;
  ctl.GetDataListRecord(jxrkPath, d, true);
  d.Group = SystemDef.GROUPID;
  d.DataCode = ARec.Code;
  d.Shougou = ARec.Shougou;
  d.Nendo = ARec.Nendo;
  d.Kishu = StrToDateDef(ARec.Kishu, 0);
  d.Kimatu = StrToDateDef(ARec.Kimatu, 0);
  d.DataKbn = ARec.DataKbn;
  d.CodeKbn = ARec.CodeKbn;
  d.Tanto = ARec.Tanto;
  d.VerMajor = ARec.VerMajor;
  d.VerMinor = ARec.VerMinor;
  d.VerRevision = ARec.VerRevision;
  d.VerText = ARec.VerText;
  d.GassanDataKbn = ARec.GassanDataKbn;
  d.CloudShare = ARec.CloudShare;
  if (AReplaceListName)
    d.DataListName = ARec.DataListName;
  ctl.UpdateDataListRecord(d, 0, true);
}

void pcInstallDataListUpdateProc()
{
  SetDataListUpdateProc(&pcDataListUpdateAtClose);
}
