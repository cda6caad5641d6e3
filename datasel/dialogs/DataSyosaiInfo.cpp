#include "datasel/dialogs/DataSyosaiInfo.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/AccDateText.h"
#include "common/AccFunction.h"
#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "datasel/DataFolderStatus.h"
#include "datasel/DataRebuild.h"
#include "platform/Paths.h"
#include "ui/xAnimeProgressDialog.h"
#include "ui/z5MessageDlg2.h"

namespace {

const QString kNone = QStringLiteral("設定なし");

const char* const kBare[8] = {"", "F1:", "F2:", "F3:", "F4:", "F5:", "F6:", "F7:"};

QString dataKindText(int AKbn, int ACode)
{
  struct Row {
    int kbn, code;
    const char* text;
  };
  static const Row rows[] = {{1, 1, "法人"},         {2, 1, "個人(一般)"},
                             {2, 2, "個人(不動産)"}, {2, 3, "個人(クリニック)"},
                             {2, 4, "個人(農業)"},   {3, 1, "医療法人"}};
  for (const Row& r : rows)
    if (r.kbn == AKbn && r.code == ACode)
      return QString::fromUtf8(r.text);
  return QString();
}

}  // namespace

TDataSyosaiInfoBox::TDataSyosaiInfoBox(QWidget* AParent) : TBSDI(AParent, bsDialog)
{
  MessageShow = [](int AKind, const QStringList& ALines) {
    TMessage2InfoRec info;
    pcInitMessage2InfoRec(AKind, info);
    for (int i = 0; i < ALines.size() && i < Message2LineCount; ++i)
      info.Caption[std::size_t(i)].Text = ALines[i];
    return fnShowMessageBox2(info);
  };
  SetManualFree(true);  // the caller keeps the dialog; closing hides it
  MenuMin = false;
  MultiShow = false;
  FormSize = false;
  Zoom = false;
  buildForm();
  HintObject = FHint;
  Child_OKButton = FOk;
  FOK_DataStatuses = {jxdsNone};
  FChkStatusClear->setText(QStringLiteral("データの状態を回復する"));
  FormCreate();
  InitFlg = true;
}

TDataSyosaiInfoBox::~TDataSyosaiInfoBox() = default;

void TDataSyosaiInfoBox::buildForm()
{
  setWindowTitle(QStringLiteral("データの詳細情報"));
  resize(520, 560);
  auto* root = new QVBoxLayout(this);
  auto addValue = [this](QGridLayout* g, int row, const QString& caption) {
    g->addWidget(new QLabel(caption, this), row, 0);
    auto* v = new QLabel(this);
    g->addWidget(v, row, 1, 1, 2);
    FValues.insert(caption, v);
    return v;
  };

  FGrpKanri = new QGroupBox(QStringLiteral("管理情報"), this);
  auto* gk = new QGridLayout(FGrpKanri);
  addValue(gk, 0, QStringLiteral("データの状態:"));
  gk->addWidget(new QLabel(QStringLiteral("データフォルダ:"), this), 1, 0, Qt::AlignTop);
  FMemoFolder = new QPlainTextEdit(this);
  FMemoFolder->setReadOnly(true);
  FMemoFolder->setFixedHeight(2 * fontMetrics().lineSpacing() + 12);
  FMemoFolder->setTabChangesFocus(true);
  gk->addWidget(FMemoFolder, 1, 1, 1, 2);
  FLblNotice = new QLabel(QStringLiteral("現在、オペレータ毎のデータ選択は制限されていません。"), this);
  FLblNotice->setStyleSheet(QStringLiteral("color: blue; font-weight: bold;"));
  gk->addWidget(FLblNotice, 2, 0, 1, 3);
  FLblUpdate = new QLabel(QStringLiteral("データの更新:"), this);
  FChkUpdate = new QCheckBox(QStringLiteral("禁止する"), this);
  gk->addWidget(FLblUpdate, 3, 0);
  gk->addWidget(FChkUpdate, 3, 1);
  FLblReadOnly = new QLabel(QStringLiteral("仕訳の入力:"), this);
  FChkReadOnly = new QCheckBox(QStringLiteral("禁止する"), this);
  gk->addWidget(FLblReadOnly, 4, 0);
  gk->addWidget(FChkReadOnly, 4, 1);
  FChkStatusClear = new QCheckBox(this);
  FChkStatusClear->setStyleSheet(QStringLiteral("color: red;"));
  gk->addWidget(FChkStatusClear, 5, 0, 1, 3);
  root->addWidget(FGrpKanri);

  FGrpKihon = new QGroupBox(QStringLiteral("基本情報"), this);
  auto* gb = new QGridLayout(FGrpKihon);
  int row = 0;
  addValue(gb, row++, QStringLiteral("コード:"));
  addValue(gb, row++, QStringLiteral("データ区分:"));
  FLblShougou = addValue(gb, row++, QStringLiteral("会社名:"));
  FLblShougou->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);  // the edit sets the width
  addValue(gb, row++, QStringLiteral("フリガナ:"));
  gb->addWidget(new QLabel(QStringLiteral("データリスト名:"), this), row, 0);
  FEdtName = new QLineEdit(this);
  FEdtName->setMaxLength(40);
  FEdtName->installEventFilter(this);
  gb->addWidget(FEdtName, row++, 1, 1, 2);
  for (const char* c : {"会計年度:", "会計期間:", "担当者コード:", "部門管理:", "本支店管理:", "仕訳件数:"})
    addValue(gb, row++, QString::fromUtf8(c));
  gb->setColumnStretch(1, 1);
  root->addWidget(FGrpKihon);

  FHint = new QLabel(this);
  FHint->setWordWrap(true);
  FHint->setMinimumHeight(3 * fontMetrics().lineSpacing());
  FHint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  FHint->setFrameShape(QFrame::StyledPanel);
  root->addWidget(FHint);

  auto* keys = new QHBoxLayout;
  for (int k = 1; k <= 7; ++k) {
    auto* b = new QPushButton(QString::fromUtf8(kBare[k]), this);
    b->setFocusPolicy(Qt::NoFocus);
    FFunc[std::size_t(k)] = b;
    keys->addWidget(b);
    connect(b, &QPushButton::clicked, this, [this, k] { onFunc(k); });
  }
  keys->addStretch(1);
  FOk = new QPushButton(QStringLiteral("OK"), this);
  FCancel = new QPushButton(QStringLiteral("キャンセル"), this);
  keys->addWidget(FOk);
  keys->addWidget(FCancel);
  root->addLayout(keys);
  connect(FOk, &QPushButton::clicked, this, [this] { onOk(); });
  connect(FCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

QLabel* TDataSyosaiInfoBox::ValueLabel(const QString& ACaption) const
{
  return FValues.value(ACaption, nullptr);
}

QString TDataSyosaiInfoBox::FuncCaption(int AKey) const
{
  return AKey >= 1 && AKey <= 7 ? FFunc[std::size_t(AKey)]->text() : QString();
}

QPushButton* TDataSyosaiInfoBox::FuncButton(int AKey) const
{
  return AKey >= 1 && AKey <= 7 ? FFunc[std::size_t(AKey)] : nullptr;
}

int TDataSyosaiInfoBox::showBox(int AKind, const QStringList& ALines)
{
  return MessageShow ? MessageShow(AKind, ALines) : mrOk;
}

void TDataSyosaiInfoBox::SetPrepar(bool AValue)
{
  if (AValue)
    DisplayDataInfo();
}

// ---------------------------------------------------------------- filling

void TDataSyosaiInfoBox::DisplayDataInfo()
{
  // 1. The folder's status and information.
  TDataInfomation reader;
  reader.SetAppType(AppType);
  TDataInfomation::InitRecord(FInfo);
  reader.ReadIniFile(FDataPath, FInfo);
  const TJxDataStatus st = FInfo.Status;
  const bool named = !fnTrimZen(FDataListRec.Shougou).isEmpty();

  // 2. What may be changed.
  if (st == jxdsError || st == jxdsLock || !named)
    FFormEnabled = false;
  FStatusClear = false;
  FSaikotikuZumi = false;
  FSaikotikuFlg = false;

  // 3. The rebuild.
  if (named) {
    if (FProcType == 0)
      FSaikotikuFlg = (FDataListRec.NetDrive == 0 && FDataListRec.KyoyuLock == 0) ||
                      (FDataListRec.NetDrive == 1 && FDataListRec.KyoyuLock == 1);
    else if (FProcType == 1)
      FSaikotikuFlg = FInfo.KyoyuStatus == jxksNone;
  }

  // 4. Status and folder.
  ValueLabel(QStringLiteral("データの状態:"))->setText(fnDataStatusName(int(st)));
  QString shown = FDataPath;
  if (!SystemDef.APPDATA.isEmpty())
    shown.replace(SystemDef.APPDATA, QStringLiteral("[%1のデータ]").arg(AppInfo.AppTitle), Qt::CaseSensitive);
  FMemoFolder->setPlainText(shown);

  // 5. The status clearing.
  FOK_DataStatuses = AppType == jxatSA ? TJxDataStatuses{jxdsNone} : TJxDataStatuses{jxdsNone, jxdsExec};
  if (FOK_DataStatuses.contains(st))
    FStatusClearShow = false;
  else if (DM && DM->IsDataAccessSeigenNasi())
    FStatusClearShow = true;
  else
    FStatusClearShow = fnOperatorNumber(SystemDef.OPCODE) == fnOperatorNumber(FInfo.OpCode);
  if (FStatusClearShow)
    FFormEnabled = false;
  FChkStatusClear->setVisible(FStatusClearShow);
  FChkStatusClear->setChecked(false);

  // 6. The two prohibitions and the notice.
  FChkUpdate->setChecked(FUpdateLock == 1);
  FChkReadOnly->setChecked(FReadOnly == 1);
  FLblNotice->setVisible(SystemDef.DataSeigenNasi == 1);

  // 7. The basic information.
  auto value = [this](const char* caption, const QString& text) {
    ValueLabel(QString::fromUtf8(caption))->setText(text.isEmpty() ? kNone : text);
  };
  value("コード:", FInfo.Code);
  const QString kind = dataKindText(FInfo.DataKbn, FInfo.CodeKbn);
  value("データ区分:", kind);
  showShougou();
  value("フリガナ:", FInfo.Kana);
  FEdtName->setText(FListName.isEmpty() ? FInfo.Shougou : FListName);
  FEdtName->setEnabled(!kind.isEmpty());
  value("会計年度:", FInfo.Nendo > 0 ? QStringLiteral("%1期").arg(FInfo.Nendo) : QString());
  const TDateTime kishu = FInfo.Kishu.isEmpty() ? 0 : fnStrToDateTimeJP(FInfo.Kishu);
  const TDateTime kimatu = FInfo.Kimatu.isEmpty() ? 0 : fnStrToDateTimeJP(FInfo.Kimatu);
  value("会計期間:", kishu != 0 && kimatu != 0 ? fnKikanToText(kishu, kimatu) : QString());
  value("担当者コード:", FInfo.Tanto != 0 ? QString::number(FInfo.Tanto) : QString());
  QString bumon;
  if (FInfo.BumonKanri == 1)
    bumon = QStringLiteral("損益のみに%1部門設定").arg(FInfo.BumonCnt);
  else if (FInfo.BumonKanri == 2)
    bumon = QStringLiteral("全科目に%1部門設定").arg(FInfo.BumonCnt);
  value("部門管理:", bumon);
  value("本支店管理:", FInfo.SitenKanri == 1 ? QStringLiteral("%1支店設定").arg(FInfo.SitenCnt) : QString());
  value("仕訳件数:", QStringLiteral("%1件").arg(FInfo.Siwake));
  if (st == jxdsLock) {
    for (const char* c : {"フリガナ:", "部門管理:", "本支店管理:"})
      ValueLabel(QString::fromUtf8(c))->setText(QStringLiteral("-"));
    ValueLabel(QStringLiteral("仕訳件数:"))->setText(QStringLiteral("-件"));
  }

  // 8. and 9. Enabling and the OK button.
  applyEnabled();
  FOk->setVisible((FFormEnabled || FStatusClearShow) && st != jxdsError && st != jxdsHason);
  if (st == jxdsHason)
    FChkStatusClear->setVisible(false);

  // 10.
  SetHintList();
  SetFuncKeyCaption();
}

void TDataSyosaiInfoBox::showShougou()
{
  // As wide as the list-name edit, with an ellipsis when longer.
  FLblShougou->setText(FInfo.Shougou.isEmpty()
                           ? kNone
                           : FLblShougou->fontMetrics().elidedText(FInfo.Shougou, Qt::ElideRight, FEdtName->width()));
}

void TDataSyosaiInfoBox::resizeEvent(QResizeEvent* AEvent)
{
  TBSDI::resizeEvent(AEvent);
  showShougou();
}

void TDataSyosaiInfoBox::applyEnabled()
{
  FChkUpdate->setEnabled(true);
  FLblUpdate->setEnabled(true);
  const bool journalBox = FInfo.VerMajor >= 12;
  FChkReadOnly->setEnabled(journalBox);
  FLblReadOnly->setEnabled(journalBox);
  FEdtName->setReadOnly(false);
  FEdtName->setFrame(true);
  FEdtName->setFocusPolicy(Qt::StrongFocus);
  FEdtName->setBackgroundRole(QPalette::Base);
  FEdtName->setAttribute(Qt::WA_InputMethodEnabled, true);  // hiragana entry
  if (!FFormEnabled) {
    for (QWidget* w : {static_cast<QWidget*>(FChkUpdate), static_cast<QWidget*>(FLblUpdate),
                       static_cast<QWidget*>(FChkReadOnly), static_cast<QWidget*>(FLblReadOnly)})
      w->setEnabled(false);
    FEdtName->setReadOnly(true);
    FEdtName->setFrame(false);
    FEdtName->setFocusPolicy(Qt::NoFocus);
    FEdtName->setBackgroundRole(QPalette::Window);
  }
}

void TDataSyosaiInfoBox::SetHintList()
{
  const QString place = QStringLiteral("[%1のデータ]").arg(AppInfo.AppTitle);
  FMemoFolder->setToolTip(FDataPath + QStringLiteral("|データの場所です。\r\n\r\n") + place + QStringLiteral("は、\"") +
                          SystemDef.APPDATA + QStringLiteral("\"です。"));
  FChkStatusClear->setToolTip(
      QStringLiteral("データ状態を回復します。|"
                     "「データ処理中にアプリケーションが異常終了した」等でデータが「使用中」になってしまった場合に、"
                     "この項目にチェックを入れて［OK］を押すと次回よりデータの選択が可能となります。"));
  FChkUpdate->setToolTip(QStringLiteral(
      "データ更新の許可／禁止を設定します。|この項目にチェックを入れると、「データ選択」画面から古いバージョンのデータ"
      "（更新が必要なデータ）の選択を不可にします。\r\n※選択不可データはグレー表示されます。"));
  FChkReadOnly->setToolTip(QStringLiteral(
      "仕訳入力の許可／禁止を設定します。|この項目にチェックを入れると、仕訳の入力、訂正及び削除処理を禁止にします。"));
  const QString tail =
      QStringLiteral("\r\n決算書、試算表、元帳などの社名の印字は「基本設定」の「名称・期間」ﾀﾌﾞで変更します。");
  FEdtName->setToolTip(
      FFormEnabled
          ? QStringLiteral("ﾃﾞｰﾀ選択画面におけるﾃﾞｰﾀの表示名を変更できます。|"
                           "「データ選択」画面におけるﾃﾞｰﾀの表示名を変更できます。") +
                tail
          : QStringLiteral("ﾃﾞｰﾀ選択画面におけるﾃﾞｰﾀの表示名です。|「データ選択」画面におけるﾃﾞｰﾀの表示名です。") +
                tail);
  FOk->setToolTip(QStringLiteral("内容を登録して画面を閉じます。|内容を登録して画面を閉じます。"));
  FCancel->setToolTip(QStringLiteral("画面を閉じます。|画面を閉じます。"));
}

void TDataSyosaiInfoBox::SetFuncKeyCaption()
{
  for (int k = 1; k <= 6; ++k)
    FFunc[std::size_t(k)]->setText(QString::fromUtf8(kBare[k]));
  FFunc[7]->setText(FSaikotikuFlg && !FImeOn ? QStringLiteral("F7:再構築") : QString::fromUtf8(kBare[7]));
}

// ---------------------------------------------------------------- events

void TDataSyosaiInfoBox::showEvent(QShowEvent* AEvent)
{
  TBSDI::showEvent(AEvent);
  showShougou();
  if (!InitFlg) {
    showBox(1, {QStringLiteral("%1画面の初期化に失敗しました。\r処理を終了します。").arg(windowTitle())});
    done(mrCancel);
    return;
  }
  if (FFormEnabled && FEdtName->isEnabled())
    FEdtName->setFocus();
  else if (!FFormEnabled)
    FCancel->setFocus();
  unsetCursor();
}

void TDataSyosaiInfoBox::FormClose()
{
  TBSDI::FormClose();
  hide();
}

bool TDataSyosaiInfoBox::eventFilter(QObject* AWatched, QEvent* AEvent)
{
  if (AWatched == FEdtName && AEvent->type() == QEvent::InputMethod) {
    // A composition in progress holds the function keys (F7 among them).
    const bool on = !static_cast<QInputMethodEvent*>(AEvent)->preeditString().isEmpty();
    if (on != FImeOn) {
      FImeOn = on;
      SetFuncKeyCaption();
    }
  }
  return TBSDI::eventFilter(AWatched, AEvent);
}

void TDataSyosaiInfoBox::FormKeyUp(QKeyEvent* AEvent, int& AKey)
{
  if (AKey >= Qt::Key_F1 && AKey <= Qt::Key_F7 && AEvent->modifiers() == Qt::NoModifier) {
    onFunc(AKey - Qt::Key_F1 + 1);
    AKey = 0;
    return;
  }
  if (AKey == Qt::Key_F8) {
    AKey = 0;
    return;
  }
  TBSDI::FormKeyUp(AEvent, AKey);
}

void TDataSyosaiInfoBox::onFunc(int AKey)
{
  if (AKey < 1 || AKey > 7 || FuncCaption(AKey) == QString::fromUtf8(kBare[AKey]))
    return;
  if (AKey == 7)
    onSaikotiku();
}

void TDataSyosaiInfoBox::onOk()
{
  if (FEdtName->isEnabled() && fnTrimZen(FEdtName->text()).isEmpty()) {
    if (showBox(3, {QStringLiteral("データリスト名が入力されていません。会社名を設定しますか？")}) == mrOk)
      FEdtName->setText(FInfo.Shougou);  // the full name, not the label's shortened text
    return;
  }
  FListName = FEdtName->text();
  FStatusClear = FStatusClearShow && FChkStatusClear->isChecked();
  FUpdateLock = FChkUpdate->isChecked() ? 1 : 0;
  FReadOnly = FChkReadOnly->isChecked() ? 1 : 0;
  done(mrOk);
}

// ---------------------------------------------------------------- the rebuild

void TDataSyosaiInfoBox::onSaikotiku()
{
  if (AppType != jxatSA && DM && DM->AccDatInConnection(1, SystemDef.SERVERNAME, FDataPath, false)) {
    showBox(2, {QStringLiteral("現在、他のユーザーがデータに接続中です。他のユーザーがデータに接続している間はデータの"
                               "再構築は行えません。")});
    return;
  }
  QStringList ask = {QStringLiteral("データの再構築を行いますか？"),
                     QStringLiteral("注意１）データサイズによりデータ再構築に時間がかかる場合があります。再構築中にコン"
                                    "ピュータの電源は切らないで下さい。")};
  if (FInfo.Status == jxdsHason)
    ask << QStringLiteral("注意２）破損データの場合はデータ再構築が適正に行われない場合があります。");
  if (showBox(3, ask) != mrOk)
    return;
  if (!DataSaikotiku())
    return;
  showBox(2, {QStringLiteral("データの再構築は適正に行われました。")});
  DisplayDataInfo();
  FSaikotikuZumi = true;
}

bool TDataSyosaiInfoBox::DataSaikotiku()
{
  if (!FProgress)
    FProgress = std::make_unique<TxAnimeProgressDialog>(this);
  FProgress->SetCaption(QStringLiteral("再構築中"));
  FProgress->SetInfoLabel(QStringLiteral("再構築中、しばらくお待ちください…"));
  FProgress->SetAviFile(PathJoin(SystemDef.EXEPATH, QStringLiteral("progress.avi")));
  FProgress->SetCancelBtnShow(false);
  FProgress->Execute(this);

  TDataSaikotiku job;
  job.ProcType = FProcType;
  job.Allowed = FSaikotikuFlg;
  job.DataPath = FDataPath;
  job.Rec = FDataListRec.Rec;
  job.DataLock = FDataListRec.DataLock;
  job.OnMessage = [this](const QStringList& ALines) {
    FProgress->AnimationActive(false);
    FProgress->Hide();
    showBox(2, ALines);
  };
  bool ok = false;
  try {
    ok = job.Execute();
  } catch (const std::exception& e) {
    job.OnMessage({QStringLiteral("データ再構築の処理に失敗しました。"), QString(), QStringLiteral("[詳細情報]"),
                   QString::fromUtf8(e.what())});
    ok = false;
  }
  FProgress->Hide();
  show();
  raise();
  activateWindow();
  return ok;
}
