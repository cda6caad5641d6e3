// The export of the breakdown form "UG13": the export object the wizard
// creates, and the loader that turns the balance table into the import
// file's DATA element.
#pragma once

#include "wizard/ComDataExp.h"
#include "wizard/ComRendo.h"
#include "wizard/UtiwakesyoXml.h"

class TUtiwakesyoDataMake : public TZaimuDataLoad {
 public:
  // 3 while the DATA element is being written, 1 when it is complete.
  int prErrCode = 0;

  // The rows the DATA element is written from: every balance row in the
  // order of the sort keys (rows without account code included).
  TUtiwakesyoRows fnUtiwakesyoRows() const;

  // Writes the DATA element (see fnUtiwakesyoWriteData). Returns 1.
  int fnUtiwakesyoXmlDataNodeSakusei(TXmlSaveDoc& _XmlSaveDoc);
};

class TUtiwakesyoDataExport : public TComDataExport {
 public:
  using TComDataExport::TComDataExport;

  // Reads the balances of the chosen range from the open company data and
  // writes the DATA element. A failed reading or computation raises
  // EDataExportError code 1 ("科目の集計処理に失敗しました。").
  void SetDataNode(TXmlSaveDoc& _XmlSaveDoc) override;

  // How the loader is configured from the export object.
  void pcConfigureLoader(TUtiwakesyoDataMake& loader) const;
};
