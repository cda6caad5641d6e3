#include "wizard/Ug13.h"

#include "platform/AppError.h"

TUtiwakesyoRows TUtiwakesyoDataMake::fnUtiwakesyoRows() const
{
  TUtiwakesyoRows rows;
  const std::size_t keys = std::min<std::size_t>(std::size_t(std::max(FRecMax, 0)), FBalanceSortRec.size());
  rows.reserve(keys);
  for (std::size_t k = 0; k < keys; ++k) {
    const TBALANCE& b = FBalanceRec.at(std::size_t(FBalanceSortRec[k].Rec));
    TUtiwakesyoRow row;
    row.KCODE = b.KAMOKU.KCODE;
    row.USERCODE = b.KAMOKU.USERCODE;
    row.KNAME = b.KAMOKU.KNAME;
    row.DAC = b.KAMOKU.DAC;
    row.WNUM4 = b.WNUM4;
    row.HOJONUM = b.HOJONUM;
    if (b.HOJONUM > 0) {
      const std::size_t n = std::min<std::size_t>(std::size_t(b.HOJONUM), b.HOJOUTIWAKE.size());
      row.HOJOUTIWAKE.reserve(n);
      for (std::size_t i = 0; i < n; ++i)
        row.HOJOUTIWAKE.push_back({b.HOJOUTIWAKE[i].HCODE, b.HOJOUTIWAKE[i].HNAME, b.HOJOUTIWAKE[i].WNUM4});
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

int TUtiwakesyoDataMake::fnUtiwakesyoXmlDataNodeSakusei(TXmlSaveDoc& _XmlSaveDoc)
{
  return fnUtiwakesyoWriteData(_XmlSaveDoc, fnUtiwakesyoRows(), prErrCode);
}

void TUtiwakesyoDataExport::pcConfigureLoader(TUtiwakesyoDataMake& loader) const
{
  loader.FStartMNum = KikanFrom;
  loader.FEndMNum = KikanTo;
  loader.FLastMNum = LastNo;
  loader.FZeiKbn = TaxUH;
  loader.FJigyoKbn = DataKUB1 == 3 ? 16 : 0;  // medical-corporation data
}

void TUtiwakesyoDataExport::SetDataNode(TXmlSaveDoc& _XmlSaveDoc)
{
  TUtiwakesyoDataMake loader;
  pcConfigureLoader(loader);
  try {
    loader.ReadSisanhyo();
  } catch (...) {
    pcLogDroppedError("TUtiwakesyoDataExport.SetDataNode");
    throw EDataExportError(QStringLiteral("科目の集計処理に失敗しました。"), QString(), 1);
  }
  loader.fnUtiwakesyoXmlDataNodeSakusei(_XmlSaveDoc);
}
