#include "datasel/dialogs/DataListKensaku.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "common/MessageHook.h"
#include "common/SeihinVersionList.h"
#include "common/UserList.h"
#include "ui/xCheckedComboBox.h"

TDataListKensakuBox::TDataListKensakuBox(QWidget* AParent) : TBSDI(AParent, bsDialog)
{
  setWindowTitle(QStringLiteral("検索条件の設定"));
  resize(420, 240);
  SetManualFree(true);  // kept by its owner and reused
  MenuMin = false;
  MultiShow = false;
  FormSize = false;
  Zoom = false;
  auto* root = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  FCode = new QLineEdit(this);
  FCode->setMaxLength(8);
  FCode->setAttribute(Qt::WA_InputMethodEnabled, false);
  FKind = new QComboBox(this);
  FKind->addItems(DataKbnItems());
  FKind->setMaxVisibleItems(10);
  FName = new QLineEdit(this);
  FName->setMaxLength(40);
  FTanto = new QComboBox(this);
  FTanto->setMaxVisibleItems(10);
  FVer = new QComboBox(this);
  FVer->setMaxVisibleItems(10);
  FTantoCheck = new TxCheckedComboBox(this);
  FTantoCheck->SetKeyUse(true);
  FTantoCheck->hide();
  fillLists();
  form->addRow(QStringLiteral("コード:"), FCode);
  form->addRow(QStringLiteral("データ区分:"), FKind);
  form->addRow(QStringLiteral("データリスト名:"), FName);
  form->addRow(QStringLiteral("担当者:"), FTanto);
  form->addRow(QStringLiteral("データバージョン:"), FVer);
  root->addLayout(form);
  FUse = new QCheckBox(QStringLiteral("この検索条件を毎回有効にする"), this);
  root->addWidget(FUse);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  FOk = new QPushButton(QStringLiteral("OK"), this);
  FCancel = new QPushButton(QStringLiteral("キャンセル"), this);
  buttons->addWidget(FOk);
  buttons->addWidget(FCancel);
  root->addLayout(buttons);
  Child_OKButton = FOk;
  connect(FOk, &QPushButton::clicked, this, [this] { onOk(); });
  connect(FCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
  FormCreate();
  InitFlg = true;
}

TDataListKensakuBox::~TDataListKensakuBox() = default;

void TDataListKensakuBox::fillLists()
{
  const QString none = QStringLiteral("選択なし");
  FTanto->clear();
  if (DM && DM->IBDatabaseDEF.isConnected()) {
    FUserList = std::make_unique<TUserList>();
    FUserList->SetTransaction(&DM->IBTransactionDEF, 0);
    FUserList->SetGroupID(SystemDef.GROUPID);
    FUserList->SetTopItem(none);
    FUserList->Execute();
    FTanto->addItems(FUserList->Items());
    FTantoCheck->SetItems(FUserList->Items().mid(1));
  }
  if (FTanto->count() == 0)
    FTanto->addItem(none);

  FVer->clear();
  FVerList = std::make_unique<TSeihinVersionList>();
  FVerList->SetTopItem(none);
  FVerList->Execute(jxstDesc);
  for (int i = 0; i < FVerList->ItemCount(); ++i)
    FVer->addItem(FVerList->ItemGetter(i));
}

void TDataListKensakuBox::SetPrepar(bool AValue)
{
  if (!AValue)
    return;
  FKindShown = DataKbnToIndex(FRec.DataType, FRec.CodeType);
  FKind->setCurrentIndex(FKindShown);
  FCode->setText(FRec.DataCode);
  FName->setText(FRec.DataName);
  FTantoShown = FUserList ? std::max(0, FUserList->GetListIndex(FRec.Tanto)) : 0;
  FTanto->setCurrentIndex(FTantoShown);
  // No saved edition is "選択なし", also when an installed edition has no text.
  FVerShown = FVerList && !FRec.Seihin.isEmpty() ? std::max(0, FVerList->GetListIndex(FRec.Seihin)) : 0;
  FVer->setCurrentIndex(FVerShown);
  FUse->setChecked(FRec.JyokenUse != 0);
}

void TDataListKensakuBox::onOk()
{
  // A drop-down left on the item that showed a saved condition keeps it; an
  // item the operator chose, and "選択なし", give the item's values.
  const int kind = FKind->currentIndex();
  if (kind != FKindShown || kind <= 0) {
    FRec.DataType = 0;
    FRec.CodeType = 0;
    IndexToDataKbn(kind, FRec.DataType, FRec.CodeType);
  }
  FRec.DataCode = FCode->text();
  FRec.DataName = FName->text();
  const int tanto = FTanto->currentIndex();
  if (tanto != FTantoShown || tanto <= 0)
    FRec.Tanto = FUserList ? FUserList->ItemGetterCode(tanto) : 0;
  const int ver = FVer->currentIndex();
  if (ver != FVerShown || ver <= 0) {
    FRec.DataVer = FVerList ? FVerList->ItemGetterVersion(ver) : QString();
    FRec.DataVer2.clear();
    FRec.DataVerKbn = 0;
    FRec.Seihin = FVerList ? FVerList->ItemGetterSeihin(ver) : QString();
  }
  FRec.JyokenUse = FUse->isChecked() ? 1 : 0;
  done(mrOk);
}
