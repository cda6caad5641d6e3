#include "maint/dialogs/DbUpdateBox.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QStyle>
#include <QTableView>
#include <QTextEdit>

#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "common/LoginUserList.h"
#include "common/MessageHook.h"
#include "platform/Paths.h"
#include "ui/ScreenCursor.h"
#include "ui/xAnimeProgressDialog.h"
#include "ui/xCheckBox.h"
#include "ui/xPlButton.h"
#include "ui/z5MessageDlg.h"
#include "ui/z5MessageDlg2.h"

namespace {

const QString kStatusDone = QStringLiteral("完了");
const QString kStatusFailed = QStringLiteral("失敗");
const QString kStatusFileMissing = QStringLiteral("ﾌｧｲﾙ不足");

}  // namespace

TDbUpdateBox::TDbUpdateBox(QWidget* AParent) : QDialog(AParent)
{
  setObjectName(QStringLiteral("DbUpdateBox"));
  setWindowTitle(QStringLiteral("データベースの更新"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setFixedSize(472, 520);

  const QIcon warn = style()->standardIcon(QStyle::SP_MessageBoxWarning);
  const QIcon info = style()->standardIcon(QStyle::SP_MessageBoxInformation);
  ImageRed = new QLabel(this);
  ImageRed->setPixmap(warn.pixmap(33, 33));
  ImageRed->setGeometry(12, 12, 33, 33);
  ImageGrn = new QLabel(this);
  ImageGrn->setPixmap(info.pixmap(33, 33));
  ImageGrn->setGeometry(12, 12, 33, 33);
  lblTitle1 = new QLabel(QStringLiteral("データの更新を行います。"), this);
  lblTitle1->setGeometry(56, 18, 400, 22);

  FModel = new TRecordTableModel<TDbUpdateRow>(
      {{QStringLiteral("Ver."), [](const TDbUpdateRow& r, int) { return QVariant(r.Version); }},
       {QStringLiteral("説明"), [](const TDbUpdateRow& r, int) { return QVariant(r.Comment1); }},
       {QStringLiteral("状況"), [](const TDbUpdateRow& r, int) { return QVariant(r.Status); }}},
      this);
  ListView1 = new QTableView(this);
  ListView1->setModel(FModel);
  ListView1->setGeometry(12, 56, 448, 230);
  ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
  ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListView1->setFocusPolicy(Qt::NoFocus);
  ListView1->setShowGrid(true);
  ListView1->verticalHeader()->hide();
  connect(ListView1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& AIndex) { ListView1SelectItem(AIndex.row()); });

  RichEdit1 = new QTextEdit(this);
  RichEdit1->setReadOnly(true);
  RichEdit1->setGeometry(12, 292, 448, 90);

  cboxAgree = new TxCheckBox(QStringLiteral("データの更新に同意します。"), this);
  cboxAgree->setGeometry(12, 390, 300, 22);
  connect(cboxAgree, &QCheckBox::clicked, this, [this] { cboxAgreeClick(); });
  lblTitle2 = new QLabel(QStringLiteral("バックアップを取得せずに、この処理を行うと元に戻すことが出来ません。"), this);
  lblTitle2->setGeometry(12, 416, 448, 20);
  lblTitle3 = new QLabel(QStringLiteral("必ずバックアップを取得後に実行することを強く推奨します。"), this);
  lblTitle3->setGeometry(12, 436, 448, 20);

  pnlProgress = new QWidget(this);
  pnlProgress->setGeometry(12, 140, 448, 70);
  pnlProgress->setAutoFillBackground(true);
  Label1 = new QLabel(QStringLiteral("データの更新中です…"), pnlProgress);
  Label1->setGeometry(10, 8, 420, 20);
  ProgressBar1 = new QProgressBar(pnlProgress);
  ProgressBar1->setGeometry(10, 34, 428, 22);
  pnlProgress->hide();

  btnOk = fnNewPlButton(this, QStringLiteral("btnOk"), QStringLiteral("OK"), QRect(380, 470, 80, 36));
  connect(btnOk, &TxPlButton::clicked, this, [this] { btnOkClick(); });
  btnCancel = fnNewPlButton(this, QStringLiteral("btnCancel"), QStringLiteral("キャンセル"), QRect(380, 470, 80, 36));
  connect(btnCancel, &TxPlButton::clicked, this, [this] { btnCancelClick(); });

  xAnimeProgressDialog1 = new TxAnimeProgressDialog(this);
  FUpdate.SetView(this);
}

TDbUpdateBox::~TDbUpdateBox() = default;

int TDbUpdateBox::Scaled(int APixels) const
{
  return APixels * logicalDpiX() / 96;
}

void TDbUpdateBox::DbUpdateInit(quint8 ADbType, const QString& AVersion)
{
  FUpdate.DbUpdateInit(ADbType, AVersion);
  ListView1->horizontalHeader()->resizeSection(0, Scaled(60));
  ListView1->horizontalHeader()->resizeSection(1, Scaled(280));
  ListView1->horizontalHeader()->resizeSection(2, Scaled(80));

  btnCancel->setVisible(ADbType == 1);
  if (ADbType == 0) {
    ImageRed->show();
    ImageGrn->hide();
    lblTitle1->setText(QStringLiteral("システムデータの更新を行います。"));
    lblTitle2->clear();
    lblTitle3->clear();
    cboxAgree->hide();
    btnOk->move(Scaled(380), btnOk->y());
  } else {
    ImageGrn->show();
    ImageRed->hide();
    lblTitle1->setText(QStringLiteral("会計データの更新を行います。"));
    lblTitle2->setText(QStringLiteral("バックアップを取得せずに、この処理を行うと元に戻すことが出来ません。"));
    lblTitle3->setText(QStringLiteral("必ずバックアップを取得後に実行することを強く推奨します。"));
    lblTitle2->setStyleSheet(QStringLiteral("color: red"));
    lblTitle3->setStyleSheet(QStringLiteral("color: red"));
    cboxAgree->show();
    btnOk->move(Scaled(280), btnOk->y());
    btnCancel->move(Scaled(380), btnCancel->y());
  }
  cboxAgreeClick();

  std::vector<TDbUpdateRow> rows;
  if (FUpdate.DataUpdateJikkoFlg()) {
    const TArrayDbUpdateListRec& list = FUpdate.CurrentList();
    for (int i = FUpdate.StartIndex(); i <= FUpdate.EndIndex(); ++i) {
      const TDbUpdateListRec& step = list[std::size_t(i)];
      rows.push_back({QStringLiteral("%1.%2.%3").arg(step.Major).arg(step.Minor).arg(step.Rev), step.Comment1, {}});
    }
  }
  FModel->SetRows(std::move(rows));
  RichEdit1->clear();
  if (FModel->RowCount() > 0)
    ListView1->selectRow(0);
}

void TDbUpdateBox::ListView1SelectItem(int ARow)
{
  RichEdit1->clear();
  const int index = ARow + FUpdate.StartIndex();
  const TArrayDbUpdateListRec& list = FUpdate.CurrentList();
  if (ARow >= 0 && index >= 0 && index < int(list.size()))
    RichEdit1->setPlainText(list[std::size_t(index)].Comment2);
}

void TDbUpdateBox::cboxAgreeClick()
{
  btnOk->setEnabled(cboxAgree->isHidden() || cboxAgree->isChecked());
}

void TDbUpdateBox::btnCancelClick()
{
  if (!FRunning)
    done(mrCancel);
}

void TDbUpdateBox::keyReleaseEvent(QKeyEvent* AEvent)
{
  if (AEvent->key() == Qt::Key_Escape) {
    btnCancelClick();
    AEvent->accept();
    return;
  }
  if (AEvent->key() == Qt::Key_F12) {
    if (btnOk->isEnabled())
      btnOkClick();
    AEvent->accept();
    return;
  }
  QDialog::keyReleaseEvent(AEvent);
}

void TDbUpdateBox::showEvent(QShowEvent* AEvent)
{
  QDialog::showEvent(AEvent);
  pcSetScreenCursor(Qt::ArrowCursor);
  repaint();
}

QString TDbUpdateBox::GetLoginOperatorText()
{
  if (FUpdate.DbType() != 0 || !DM)
    return QString();
  QString text;
  if (DM->fnAccDefConnected(SystemDef.SERVERNAME, true)) {
    try {
      TLoginUserListOnDef users;
      users.Execute(SystemDef.GROUPID, SystemDef.OPCODE, false);
      for (int i = 0; i < users.ItemCount(); ++i)
        text += QStringLiteral("[ %1 ]:  %2\r")
                    .arg(users.ItemGetterCode(i), 4, 10, QLatin1Char('0'))
                    .arg(users.ItemGetterName(i));
    } catch (const std::exception&) {
      // Reported by the list itself.
    }
  }
  DM->IBDatabaseDEF.disconnect();
  return text;
}

void TDbUpdateBox::Reconnect()
{
  if (FUpdate.DbType() == 0) {
    if (!DM->IBDatabaseDEF.isConnected())
      DM->fnAccDefConnected(SystemDef.SERVERNAME, true);
  } else if (!SystemDef.IBPATHDAT.isEmpty()) {
    if (!DM->IBDatabaseDAT.isConnected())
      DM->fnAccDatConnected(SystemDef.SERVERNAME, SystemDef.IBPATHDAT, false);
    DM->fnAccDatDisConnected(SystemDef.IBPATHDAT, true, true, false);
    DM->fnAccDatConnected(SystemDef.SERVERNAME, SystemDef.IBPATHDAT, false);
    if (DM->IBDatabaseDAT.isConnected())
      DM->fnGetAccInfo();
  }
  FRunning = false;
}

void TDbUpdateBox::btnOkClick()
{
  if (FRunning)
    return;
  FRunning = true;
  FResult = mrRetry;
  try {
    bool inUse = false;
    if (FUpdate.DbType() == 0) {
      DM->IBDatabaseDEF.disconnect();
      if (DM->AccDatInConnection(0, SystemDef.SERVERNAME, SystemDef.IBPATHDEF, true)) {
        inUse = true;
        TMessageInfoRec info;
        pcInitMessageInfoRec(info);
        info.MessageType = 1;
        info.WindowPosition = poScreenCenter;
        info.WindowTitle = QStringLiteral("情報");
        info.MainCaption = QStringLiteral(
            "現在、他のオペレータがシステムを利用中です。\rデータベースの更新を行うにはシステムを終了するようにご連絡"
            "して下さい。");
        info.MessageCaption << QStringLiteral("利用中のオペレータ (異常終了時のオペレータ含む)") << QString();
        for (const QString& l : GetLoginOperatorText().split(QLatin1Char('\r'), Qt::SkipEmptyParts))
          info.MessageCaption << l;
        fnShowMessageBox(info);
      }
    } else {
      if (DM->IBDatabaseDAT.isConnected())
        DM->fnAccDatDisConnected(SystemDef.IBPATHDAT, false, false, false);
      if (DM->AccDatInConnection(1, SystemDef.SERVERNAME, SystemDef.IBPATHDAT, true)) {
        inUse = true;
        MessageHook().ShowMessageDlg(
            QStringLiteral(
                "現在、他のオペレータが会計データを利用中です。\rデータベースの更新を行うには会計データの利用"
                "を停止するようにご連絡して下さい。"),
            mtInformation, mbYes);
      }
    }
    if (!inUse) {
      const int r = FUpdate.DbUpdateJikkou();
      FUpdate.DeleteBackupFile();
      if (r == 1) {
        FResult = mrOk;
      } else {
        TMessage2InfoRec box;
        pcInitMessage2InfoRec(1, box);
        const QStringList lines = FUpdate.ErrorLines();
        for (int i = 0; i < lines.size() && i < int(box.Caption.size()); ++i)
          box.Caption[std::size_t(i)].Text = lines[i];
        fnShowMessageBox2(box);
      }
    }
    Reconnect();
  } catch (...) {
    FUpdate.DeleteBackupFile();
    Reconnect();
    throw;
  }
  done(FResult);
}

void TDbUpdateBox::ProgressShow(const QString& ACaption, const QString& AText)
{
  xAnimeProgressDialog1->SetCaption(ACaption);
  xAnimeProgressDialog1->SetInfoLabel(AText);
  xAnimeProgressDialog1->SetAviFile(PathJoin(SystemDef.EXEPATH, QStringLiteral("progress.avi")));
  xAnimeProgressDialog1->SetCancelBtnShow(false);
  xAnimeProgressDialog1->Execute(this);
}

void TDbUpdateBox::ProgressHide()
{
  raise();
  xAnimeProgressDialog1->Hide();
  show();
}

void TDbUpdateBox::StepsBegin(int ACount)
{
  ProgressBar1->setRange(0, ACount);
  ProgressBar1->setValue(0);
  pnlProgress->show();
  pnlProgress->raise();
  pcSetScreenCursor(Qt::WaitCursor);
}

void TDbUpdateBox::StepEnded(int AIndex, int AResult)
{
  if (!FModel->IsRow(AIndex))
    return;
  TDbUpdateRow row = FModel->Row(AIndex);
  if (AResult == DbUpdateStepDone) {
    row.Status = kStatusDone;
    ProgressBar1->setValue(ProgressBar1->value() + 1);
  } else {
    row.Status = AResult == DbUpdateStepFileMissing ? kStatusFileMissing : kStatusFailed;
  }
  FModel->SetRow(AIndex, row);
}

void TDbUpdateBox::StepsEnd()
{
  pnlProgress->hide();
  pcSetScreenCursor(Qt::ArrowCursor);
}
