// TDataListKensakuBox: the search conditions dialog of the data lists
// ("検索条件の設定"). The conditions are kept by TDataKensakuStore.
#pragma once

#include "datasel/DataKensaku.h"
#include "ui/SDI.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

class TDataListKensakuBox : public TBSDI {
  Q_OBJECT
 public:
  explicit TDataListKensakuBox(QWidget* AParent = nullptr);
  void SetProcType(int AValue) { FProcType = AValue; }
  int ProcType() const { return FProcType; }
  const TDataKensakuRec& DataKensakuRec() const { return FRec; }
  void SetDataKensakuRec(const TDataKensakuRec& ARec) { FRec = ARec; }
  // Fills the controls from the record.
  void SetPrepar(bool AValue);

  QComboBox* KindCombo() const { return FKind; }
  QLineEdit* CodeEdit() const { return FCode; }
  QLineEdit* NameEdit() const { return FName; }
  QCheckBox* UseCheck() const { return FUse; }
  QPushButton* OkButton() const { return FOk; }

 private:
  void onOk();
  int FProcType = 0;
  TDataKensakuRec FRec;
  QComboBox* FKind = nullptr;
  QLineEdit* FCode = nullptr;
  QLineEdit* FName = nullptr;
  QComboBox* FTanto = nullptr;
  QComboBox* FVer = nullptr;
  QCheckBox* FUse = nullptr;
  QPushButton* FOk = nullptr;
  QPushButton* FCancel = nullptr;
};
