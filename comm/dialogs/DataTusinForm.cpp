#include "comm/dialogs/DataTusinForm.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTableView>

#include "comm/dialogs/TusinSmallDlgs.h"
#include "common/AccFunction2.h"
#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "common/MessageHook.h"
#include "ui/ScreenCursor.h"
#include "ui/xPlButton.h"
#include "ui/z5MessageDlg.h"

namespace {

// Colours as the grid draws them.
const QColor kFocusText(255, 128, 0);
const QColor kFrameRelayRecv(0, 64, 128);

const QString kHintSend = QStringLiteral(
    "［F12］を押すと現在利用中のデータが中継先サーバーの選択したフォルダに送信されます。\r\n\r\n［F5］を押すと中継先"
    "サーバーのデータが削除されます。");
const QString kHintRecv = QStringLiteral(
    "［F12］を押すと選択したデータを受信して、現在利用中のデータに上書きします。\r\n\r\n［F5］を押すと中継先サーバーの"
    "データが削除されます。");
const QString kHintCheck = QStringLiteral(
    "１行目は現金出納帳から送信されたデータです。　　　２行目はタリマン財務が送信したデータです。\r\n３行目はタリマン財"
    "務が送信したマスターデータです。\r\n\r\n［F5］を押すと中継先サーバーのデータが削除されます。");
const QString kHintCloud = QStringLiteral(
    "どの行でクラウドシェアするかを選んで［F12：選択］を押します。\r\nこれからクラウドシェアを始める場合は空白行を、ク"
    "ラウ"
    "ドシェアがスタートしている場合は該当行を選択します。\r\n［F4：解除］は誰も使用してない筈なのに「使用中」のままにな"
    "ってしまった場合に使用します。\r\n［F5：削除］は既にクラウドシェアを止めたデータがリストに残っている場合に使用しま"
    "す。");

QString shownText(const QString& s)
{
  return QString(s).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace

// ---------------------------------------------------------------------------

TFolderGridDelegate::TLook TFolderGridDelegate::Look(int ARow, int AColumn, const QString& AText) const
{
  TLook l;
  if (ARow % 2 == 1)
    l.Background = ProcType == 1 ? QColor(255, 239, 225) : ProcType == 2 ? QColor(187, 218, 255) : QColor(Qt::white);
  else
    l.Background = Qt::white;
  const bool focused = ARow == FocusedRow;
  l.Text = focused ? kFocusText : QColor(Qt::black);
  const bool cloud = ProcType >= 19;
  if (AColumn == fgcol::Name) {
    l.Alignment = Qt::AlignLeft | Qt::AlignVCenter;
    l.Indent = 4;
  } else {
    l.Alignment = Qt::AlignCenter;
    if (!cloud && AColumn == fgcol::Year && AText.size() == 2)
      l.Indent = 1;
    if (cloud && ((AColumn == fgcol::Year && AText.size() == 3) || AColumn == fgcol::Status ||
                  AColumn == fgcol::Period || AColumn == fgcol::Ver))
      l.Indent = 1;
  }
  if (focused) {
    l.Frame = (ProcType == 2 && !cloud) ? kFrameRelayRecv : kFocusText;
    l.FrameLeft = AColumn == fgcol::No;
    l.FrameRight = AColumn == fgcol::Ver;
  }
  return l;
}

void TFolderGridDelegate::paint(QPainter* APainter, const QStyleOptionViewItem& AOption,
                                const QModelIndex& AIndex) const
{
  const QString text = AIndex.data().toString();
  const TLook l = Look(AIndex.row(), AIndex.column(), text);
  const QRect r = AOption.rect;
  APainter->save();
  APainter->fillRect(r, l.Background);
  APainter->setPen(l.Text);
  APainter->setFont(AOption.font);
  QRect tr = r;
  if (l.Alignment & Qt::AlignLeft)
    tr.adjust(l.Indent, 0, 0, 0);
  else
    tr.translate(-l.Indent, 0);
  APainter->drawText(tr, int(l.Alignment), text);
  if (l.Frame.isValid()) {
    const int w = 4;
    APainter->fillRect(QRect(r.left(), r.top(), r.width(), w / 2), l.Frame);
    APainter->fillRect(QRect(r.left(), r.bottom() - w / 2 + 1, r.width(), w / 2), l.Frame);
    if (l.FrameLeft)
      APainter->fillRect(QRect(r.left(), r.top(), w / 2, r.height()), l.Frame);
    if (l.FrameRight)
      APainter->fillRect(QRect(r.right() - w / 2 + 1, r.top(), w / 2, r.height()), l.Frame);
  }
  APainter->restore();
}

// ---------------------------------------------------------------------------

TfmDataTusin::TfmDataTusin(QWidget* AParent) : TBSDI(AParent, bsDialog)
{
  setWindowTitle(QStringLiteral("データ通信"));
  setFixedSize(989, 397);
  HistAdd = true;
  MenuMin = false;
  MultiShow = false;
  FormSize = false;
  Zoom = false;
  FSortType = 0;
  FSortRow = -1;
  syorimei = (EditionKind == 1 || EditionKind == 2) ? QStringLiteral("データ送受信") : QStringLiteral("データ通信");

  Label1 = new QLabel(QStringLiteral("中継サーバー情報"), this);
  Label1->move(24, 8);
  Model = new TServerFolderModel(this);
  cxgDt1 = new QTableView(this);
  cxgDt1->setObjectName(QStringLiteral("cxgDt1"));
  cxgDt1->setGeometry(16, 29, 955, 234);
  cxgDt1->setModel(Model);
  Delegate = new TFolderGridDelegate(cxgDt1);
  cxgDt1->setItemDelegate(Delegate);
  cxgDt1->setSelectionBehavior(QAbstractItemView::SelectRows);
  cxgDt1->setSelectionMode(QAbstractItemView::SingleSelection);
  cxgDt1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  cxgDt1->setSortingEnabled(false);
  cxgDt1->verticalHeader()->hide();
  cxgDt1->verticalHeader()->setDefaultSectionSize(21);
  cxgDt1->horizontalHeader()->setSectionsMovable(false);
  cxgDt1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  cxgDt1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  SetCloudLayout(false);
  FillGrid();

  HintArea = new QPlainTextEdit(this);
  HintArea->setGeometry(16, 275, 956, 65);
  HintArea->setReadOnly(true);
  HintArea->setEnabled(false);
  HintObject = HintArea;

  static const char* const blank[] = {
      "ESC:", "F1:", "F2:", "F3:", "F4:", "F5:", "F6:", "F7:", "F8:", "", "", "", "F12:"};
  for (int k : {0, 1, 2, 3, 4, 5, 6, 7, 8, 12}) {
    const int x = k == 12 ? 881 : 23 + (k > 5 ? 5 : k) * 96;
    FKeys[k] = fnNewPlButton(this, k == 0 ? QStringLiteral("ESC") : QStringLiteral("F%1").arg(k),
                             QString::fromUtf8(blank[k]), QRect(x, 356, 90, 26));
    FKeys[k]->setFocusPolicy(Qt::NoFocus);
    if (k >= 6 && k <= 8)
      FKeys[k]->setVisible(false);
  }
  FKeys[7]->CaptionA().setCaption(QStringLiteral("F7:閉じる"));
  FKeys[8]->CaptionA().setCaption(QStringLiteral("F8:印刷"));
  connect(FKeys[0], &TxPlButton::clicked, this, [this] { done(mrCancel); });
  connect(cxgDt1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& ANew, const QModelIndex& AOld) { focusedRecordChanged(AOld.row(), ANew.row()); });

  OnServerUnreachable = [this] {
    FKeys[5]->setEnabled(false);
    FKeys[12]->setEnabled(false);
  };
  OnEscHook = [](bool AOn) {
    if (AOn)
      pcEscHookInstall();
    else
      pcEscHookRemove();
  };
  AskAgreement = [this](const TTusinAgreement& A) {
    TMessageBox box(this);
    box.setProcType(2);
    box.setWindowTitleText(A.WindowTitle);
    box.setMainCaption(A.MainCaption);
    box.setMainCaptionColor(255);
    box.setMessageCaption(A.Lines);
    box.setAgreeCaption(A.AgreeCaption);
    box.setPrepare(true);
    return box.exec() == mrOk;
  };
  SetFuncKeyCaption();
  FormCreate();
  InitFlg = true;
}

TfmDataTusin::~TfmDataTusin()
{
  pcEscHookRemove();
}

TxPlButton* TfmDataTusin::Key(int ANo) const
{
  return ANo >= 0 && ANo <= 12 ? FKeys[ANo] : nullptr;
}

QString TfmDataTusin::KeyCaption(int ANo) const
{
  const TxPlButton* k = Key(ANo);
  return k ? const_cast<TxPlButton*>(k)->CaptionA().Caption() : QString();
}

void TfmDataTusin::SetProcType(int AValue)
{
  FProcType = AValue;
  Delegate->ProcType = AValue;
  if (const TTusinProcTypeInfo* info = fnTusinProcTypeInfo(AValue); info && *info->HelpFile)
    HelpFile = QString::fromUtf8(info->HelpFile);
  SetCloudLayout(AValue >= 19);
  SetFuncKeyCaption();
}

void TfmDataTusin::SetCloudLayout(bool ACloud)
{
  cxgDt1->setColumnHidden(fgcol::Status, !ACloud);
  static const int widths[] = {40, 75, 300, 80, 180, 134, 134, 85};
  for (int c = 0; c < fgcol::Count; ++c)
    cxgDt1->setColumnWidth(c, fnScaleDpi(widths[c], PixelsPerInch(), 96));
  Model->SetCloudCaptions(ACloud);
}

void TfmDataTusin::SetFuncKeyCaption()
{
  const bool sel = FProcType >= 25;
  const QString captions[13] = {QStringLiteral("ESC:ｷｬﾝｾﾙ"),
                                QStringLiteral("F1:ヘルプ"),
                                QStringLiteral("F2:"),
                                QStringLiteral("F3:"),
                                sel ? QStringLiteral("F4: 解除") : QStringLiteral("F4:"),
                                sel ? QStringLiteral("F5: 削除") : QStringLiteral("F5:ﾃﾞｰﾀ削除"),
                                QStringLiteral("F6:"),
                                QStringLiteral("F7:"),
                                QStringLiteral("F8:"),
                                {},
                                {},
                                {},
                                sel ? QStringLiteral("F12: 選択") : QStringLiteral("F12:実  行")};
  for (int k : {0, 1, 2, 3, 4, 5, 6, 7, 8, 12})
    FKeys[k]->CaptionA().setCaption(captions[k]);
}

void TfmDataTusin::FillGrid()
{
  const int focused = FocusedRecord();
  Model->SetRows(fnFolderGridRows(FServerInfo.Rows, FProcType));
  FocusRecord(focused < 0 ? 0 : focused);
}

void TfmDataTusin::SetDisplay()
{
  if (ReadDataList() <= 0)
    return;
  FZenkaiDataPath = TransferDataPath();
  switch (FProcType) {
    case 1:
      setWindowTitle(QStringLiteral("データ送信"));
      HintArea->setPlainText(shownText(kHintSend));
      break;
    case 2:
      setWindowTitle(QStringLiteral("データ受信"));
      HintArea->setPlainText(shownText(kHintRecv));
      break;
    case 8:
      setWindowTitle(QStringLiteral("サーバー確認"));
      FKeys[12]->setVisible(false);
      HintArea->setPlainText(shownText(kHintCheck));
      break;
    case 25:
      setWindowTitle(QStringLiteral("クラウドシェア領域を選択"));
      HintArea->setPlainText(shownText(kHintCloud));
      break;
    default:
      break;
  }
  pcSetScreenCursor(Qt::WaitCursor);
  if (FProcType >= 19) {
    HelpFile = QStringLiteral("cloudshare_sel.html");
    FShogou = AccInf.CLOUD_LINE >= 1 && AccInf.CLOUD_LINE <= 10
                  ? FServerInfo.Rows[std::size_t(AccInf.CLOUD_LINE - 1)].Data_Name.trimmed()
                  : QString();
  }
  Model->SetRows(fnFolderGridRows(FServerInfo.Rows, FProcType));
  FocusRecord(FProcType >= 19 && AccInf.CLOUD_LINE >= 1 && AccInf.CLOUD_LINE <= 10 ? AccInf.CLOUD_LINE - 1 : 0);
  applyFocusedKeys();
  pcSetScreenCursor(Qt::ArrowCursor);
}

void TfmDataTusin::FocusRecord(int ARow)
{
  if (ARow < 0 || ARow >= Model->rowCount())
    return;
  cxgDt1->setCurrentIndex(Model->index(ARow, fgcol::No));
  cxgDt1->selectRow(ARow);
  Delegate->FocusedRow = ARow;
  cxgDt1->viewport()->update();
}

int TfmDataTusin::FocusedRecord() const
{
  const QModelIndex i = cxgDt1->currentIndex();
  return i.isValid() ? i.row() : -1;
}

void TfmDataTusin::focusedRecordChanged(int AOld, int ANew)
{
  Delegate->FocusedRow = ANew;
  cxgDt1->viewport()->update();
  if (AOld >= 0 && ANew >= 0 && Model->IsRow(ANew) && FProcType >= 20) {
    const QString share = Model->Row(ANew).DataShare;
    FKeys[5]->setEnabled(share == QLatin1String("1"));
    FKeys[4]->setEnabled(share == QLatin1String("2"));
  }
  applyFocusedKeys();
  SetFuncKeyCaption();
}

void TfmDataTusin::applyFocusedKeys()
{
  const int row = FocusedRecord();
  if (!Model->IsRow(row))
    return;
  const TFolderGridRow& r = Model->Row(row);
  if (FProcType >= 20) {
    const bool named = !r.DataName.isEmpty();
    FKeys[4]->setEnabled(named);
    FKeys[5]->setEnabled(named);
  } else {
    FKeys[4]->setEnabled(true);
    FKeys[5]->setEnabled(true);
  }
  if (r.Cells[fgcol::Status] == QStringLiteral("未使用"))
    FKeys[4]->setEnabled(false);
  else if (r.Cells[fgcol::Status] == QStringLiteral("使用中"))
    FKeys[4]->setEnabled(true);
}

bool TfmDataTusin::event(QEvent* AEvent)
{
  // Focus changes reset the key captions before the base form's handling.
  if (AEvent->type() == QEvent::WindowActivate)
    SetFuncKeyCaption();
  return TBSDI::event(AEvent);
}

bool TfmDataTusin::DataReconnect()
{
  bool result = true;
  if (DM->IBDatabaseDAT.isConnected()) {
    if (DM->IBTransactionDEF.inTransaction())
      DM->IBTransactionDEF.commit();
    return true;
  }
  const QString folder = TransferDataPath();
  FDatConnected = DM->fnAccDatConnected(SystemDef.SERVERNAME, folder, true);
  const QString msg = QStringLiteral("　\r\nデータの接続に失敗したため、データ選択画面を開きます。\r\n ");
  if (!FDatConnected || !DM->fnGetAccInfo()) {
    MessageHook().ShowMessageDlg(msg, mtError, mbOK);
    SystemDef.IBPATHDAT.clear();
    result = false;
  } else if (!DM->fnGetExistsOpeDefSisetu()) {
    DisConectyoyaku = true;
  }
  if (DM->IBTransactionDEF.inTransaction())
    DM->IBTransactionDEF.commit();
  return result;
}

bool TfmDataTusin::DataDisconnect()
{
  try {
    if (DM->IBDatabaseDAT.isConnected())
      DM->fnAccDatDisConnected(TransferDataPath(), true, false, false);
    if (DM->IBTransactionDEF.inTransaction())
      DM->IBTransactionDEF.commit();
    return true;
  } catch (...) {
    pcLogDroppedError("TfmDataTusin::DataDisconnect");
    return false;
  }
}
