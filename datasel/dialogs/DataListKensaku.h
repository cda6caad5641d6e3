// TDataListKensakuBox: the search conditions dialog of the data lists
// ("検索条件の設定"). The conditions are kept by TDataKensakuStore; the
// operators of the logged-on group come from the system database through
// TUserList, the versions from TSeihinVersionList (newest first).
//
// OK takes what the operator chose; a drop-down the operator left on the
// item that shows the saved condition keeps that condition as it was (the
// code kind, the version's second text and its kind of comparison, which
// the drop-downs do not show).
#pragma once

#include <memory>

#include "datasel/DataKensaku.h"
#include "ui/SDI.h"

class TUserList;
class TSeihinVersionList;
class TxCheckedComboBox;

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

class TDataListKensakuBox : public TBSDI {
  Q_OBJECT
 public:
  explicit TDataListKensakuBox(QWidget* AParent = nullptr);
  ~TDataListKensakuBox() override;
  void SetProcType(int AValue) { FProcType = AValue; }
  int ProcType() const { return FProcType; }
  const TDataKensakuRec& DataKensakuRec() const { return FRec; }
  void SetDataKensakuRec(const TDataKensakuRec& ARec) { FRec = ARec; }
  // Fills the controls from the record.
  void SetPrepar(bool AValue);

  QComboBox* KindCombo() const { return FKind; }
  QLineEdit* CodeEdit() const { return FCode; }
  QLineEdit* NameEdit() const { return FName; }
  QComboBox* TantoCombo() const { return FTanto; }
  QComboBox* VerCombo() const { return FVer; }
  // The operators as a checked list (placed hidden; codes by KeyUse).
  TxCheckedComboBox* TantoCheckCombo() const { return FTantoCheck; }
  QCheckBox* UseCheck() const { return FUse; }
  QPushButton* OkButton() const { return FOk; }

 private:
  void onOk();
  void fillLists();
  int FProcType = 0;
  std::unique_ptr<TUserList> FUserList;
  std::unique_ptr<TSeihinVersionList> FVerList;
  // The drop-down items that showed the record when it was prepared.
  int FKindShown = 0;
  int FTantoShown = 0;
  int FVerShown = 0;
  TDataKensakuRec FRec;
  QComboBox* FKind = nullptr;
  QLineEdit* FCode = nullptr;
  QLineEdit* FName = nullptr;
  QComboBox* FTanto = nullptr;
  QComboBox* FVer = nullptr;
  TxCheckedComboBox* FTantoCheck = nullptr;
  QCheckBox* FUse = nullptr;
  QPushButton* FOk = nullptr;
  QPushButton* FCancel = nullptr;
};
