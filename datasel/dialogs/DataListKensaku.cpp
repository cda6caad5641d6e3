#include "datasel/dialogs/DataListKensaku.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/MessageHook.h"

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
  FTanto->addItem(QStringLiteral("選択なし"));
  FVer = new QComboBox(this);
  FVer->addItem(QStringLiteral("選択なし"));
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

void TDataListKensakuBox::SetPrepar(bool AValue)
{
  if (!AValue)
    return;
  FKind->setCurrentIndex(DataKbnToIndex(FRec.DataType, FRec.CodeType));
  FCode->setText(FRec.DataCode);
  FName->setText(FRec.DataName);
  FTanto->setCurrentIndex(0);
  FVer->setCurrentIndex(0);
  FUse->setChecked(FRec.JyokenUse != 0);
}

void TDataListKensakuBox::onOk()
{
  FRec.DataType = 0;
  FRec.CodeType = 0;
  IndexToDataKbn(FKind->currentIndex(), FRec.DataType, FRec.CodeType);
  FRec.DataCode = FCode->text();
  FRec.DataName = FName->text();
  FRec.Tanto = 0;
  FRec.DataVer.clear();
  FRec.DataVer2.clear();
  FRec.DataVerKbn = 0;
  FRec.Seihin.clear();
  FRec.JyokenUse = FUse->isChecked() ? 1 : 0;
  done(mrOk);
}
