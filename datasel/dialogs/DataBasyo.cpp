#include "datasel/dialogs/DataBasyo.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "common/FbError.h"
#include "db/DbError.h"
#include "ui/ModalResult.h"
#include "ui/z5InputDlg.h"
#include "ui/z5MessageDlg2.h"

namespace {

QString trimmedBlanks(const QString& s)
{
  QString t = s;
  t.replace(QChar(0x3000), QLatin1Char(' '));
  return t.trimmed();
}

}  // namespace

TDataPlaceModel::TDataPlaceModel(QObject* AParent)
    : TRecordTableModel<TDataPlaceRec>(
          {{QStringLiteral("No"), [](const TDataPlaceRec&, int ARow) { return QVariant(QString::number(ARow + 1)); },
            Qt::AlignRight | Qt::AlignVCenter},
           {QStringLiteral("名称"), [](const TDataPlaceRec& p, int) { return QVariant(p.Name); }},
           {QStringLiteral("データフォルダ"), [](const TDataPlaceRec& p, int) { return QVariant(p.DataPath); }}},
          AParent)
{
}

TDataPlaceActions fnDataPlaceActions(const TDataPlaceModel& AModel, int ARow)
{
  TDataPlaceActions a;
  const int rows = AModel.RowCount();
  a.Up = rows > 0 && ARow > 0 && ARow < rows;
  a.Down = ARow >= 0 && ARow < rows - 1;
  if (!AModel.IsRow(ARow))
    return a;
  const TDataPlaceRec& p = AModel.Row(ARow);
  const bool named = !trimmedBlanks(p.Name).isEmpty();
  a.New = !named;
  a.Rename = named;
  a.Delete = named && p.Rec != 0;
  return a;
}

TDataPlaceBox::TDataPlaceBox(QWidget* AParent) : TBSDI(AParent, bsDialog)
{
  setWindowTitle(QStringLiteral("データの場所の設定"));
  resize(560, 420);
  SetManualFree(true);  // kept by the data-selection dialog; closing hides it
  MenuMin = false;
  MultiShow = false;
  FormSize = false;
  Zoom = false;
  InputShow = [this](const QString& title, const QString& caption, const QString& hint, QString& text) {
    TInputDlgBox box(this);
    box.SetProcType(0);
    box.SetWindowTitle(title);
    box.SetMainCaption(caption);
    box.SetInputText(text);
    box.SetInputMaxLength(40);
    box.SetInputImeMode(imHira);
    box.SetInputCheck(true);
    box.SetInputHint(hint);
    box.SetPrepare(true);
    if (box.exec() != mrOk)
      return false;
    text = box.InputText();
    return true;
  };

  auto* root = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  FBtnNew = new QPushButton(QStringLiteral("F2:新規作成"), this);
  FBtnRename = new QPushButton(QStringLiteral("F3:名称変更"), this);
  FBtnDelete = new QPushButton(QStringLiteral("F5:削除"), this);
  FBtnUp = new QPushButton(QStringLiteral("上へ"), this);
  FBtnDown = new QPushButton(QStringLiteral("下へ"), this);
  for (QPushButton* b : {FBtnNew, FBtnRename, FBtnDelete, FBtnUp, FBtnDown}) {
    b->setFocusPolicy(Qt::NoFocus);
    top->addWidget(b);
  }
  top->addStretch(1);
  root->addLayout(top);

  FModel = new TDataPlaceModel(this);
  FGrid = new QTableView(this);
  FGrid->setModel(FModel);
  FGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
  FGrid->setSelectionMode(QAbstractItemView::SingleSelection);
  FGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  FGrid->setAlternatingRowColors(true);
  FGrid->setColumnWidth(dpcol::No, 40);
  FGrid->setColumnWidth(dpcol::Name, 230);
  FGrid->setColumnWidth(dpcol::Path, 230);
  root->addWidget(FGrid, 1);

  FHint = new QLabel(this);
  FHint->setWordWrap(true);
  FHint->setFrameShape(QFrame::StyledPanel);
  root->addWidget(FHint);
  HintObject = FHint;

  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  FBtnClose = new QPushButton(QStringLiteral("閉じる"), this);
  bottom->addWidget(FBtnClose);
  root->addLayout(bottom);
  Child_OKButton = FBtnClose;

  connect(FBtnNew, &QPushButton::clicked, this, [this] { NewName(); });
  connect(FBtnRename, &QPushButton::clicked, this, [this] { Rename(); });
  connect(FBtnDelete, &QPushButton::clicked, this, [this] { Remove(); });
  connect(FBtnUp, &QPushButton::clicked, this, [this] { Move(-1); });
  connect(FBtnDown, &QPushButton::clicked, this, [this] { Move(1); });
  connect(FBtnClose, &QPushButton::clicked, this, [this] { done(mrOk); });
  connect(FGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { setCaptions(); });
  FormCreate();
  InitFlg = true;
}

void TDataPlaceBox::SetPrepar(bool AValue)
{
  if (!AValue)
    return;
  QString serverDir = AppInfo.ServerDir.isEmpty() ? QStringLiteral("/dedodozorav2/data") : AppInfo.ServerDir;
  QString shown = QStringLiteral("ﾄﾞﾗｲﾌﾞ:\\dedodozorav2\\data");
  shown.replace(QStringLiteral("\\dedodozorav2\\data"), serverDir.toUpper(), Qt::CaseInsensitive);
  FGrid->setToolTip(
      QStringLiteral("データ管理フォルダの情報を管理します。|[F2]で新規作成、[F3]で名称変更、[F5]で削除します。"
                     "（例外：\"%1\"行の削除は禁止）\r\n[上へ][下へ]でリストの並べ替えが行えます。")
          .arg(shown));
  FBtnClose->setToolTip(QStringLiteral("内容を登録して画面を閉じます。|内容を登録して画面を閉じます。"));
  FHint->setText(FGrid->toolTip().section(QLatin1Char('|'), 1).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  FStore.Read(false);
  fillGrid();
  FocusRow(0);
  setCaptions();
}

void TDataPlaceBox::fillGrid()
{
  FModel->SetRows(FStore.List());
}

QPushButton* TDataPlaceBox::Button(int AKey) const
{
  switch (AKey) {
    case 2:
      return FBtnNew;
    case 3:
      return FBtnRename;
    case 5:
      return FBtnDelete;
    case 20:
      return FBtnUp;
    case 21:
      return FBtnDown;
    case 0:
      return FBtnClose;
    default:
      return nullptr;
  }
}

QString TDataPlaceBox::Caption(int AKey) const
{
  const QPushButton* b = Button(AKey);
  return b ? b->text() : QString();
}

void TDataPlaceBox::FocusRow(int ARow)
{
  if (ARow < 0 || ARow >= FModel->rowCount())
    return;
  FGrid->setCurrentIndex(FModel->index(ARow, dpcol::No));
  FGrid->selectRow(ARow);
}

int TDataPlaceBox::FocusedRow() const
{
  const QModelIndex i = FGrid->currentIndex();
  return i.isValid() ? i.row() : -1;
}

TDataPlaceRec* TDataPlaceBox::focusedPlace()
{
  const int row = FocusedRow();
  if (row < 0 || row >= int(FStore.List().size()))
    return nullptr;
  return &FStore.List()[std::size_t(row)];
}

void TDataPlaceBox::setCaptions()
{
  const TDataPlaceActions a = fnDataPlaceActions(*FModel, FocusedRow());
  FBtnNew->setText(a.New ? QStringLiteral("F2:新規作成") : QStringLiteral("F2:"));
  FBtnRename->setText(a.Rename ? QStringLiteral("F3:名称変更") : QStringLiteral("F3:"));
  FBtnDelete->setText(a.Delete ? QStringLiteral("F5:削除") : QStringLiteral("F5:"));
  FBtnUp->setEnabled(a.Up);
  FBtnDown->setEnabled(a.Down);
}

int TDataPlaceBox::infoBox(const QStringList& ALines)
{
  TMessage2InfoRec info;
  pcInitMessage2InfoRec(2, info);
  for (int i = 0; i < ALines.size() && i < Message2LineCount; ++i)
    info.Caption[std::size_t(i)].Text = ALines[i];
  return fnShowMessageBox2(info);
}

bool TDataPlaceBox::store()
{
  try {
    FStore.StoreChanges();
    return true;
  } catch (const db::DbError& e) {
    fnShowFbError(e, QStringLiteral("TDataPlaceBox.UpdateDataPlace"),
                  QStringLiteral("データの場所の登録に失敗しました。"), true);
  } catch (const std::exception& e) {
    fnShowErrorDetail(QStringLiteral("データの場所の登録に失敗しました。"), QString::fromUtf8(e.what()), mtError);
  }
  // What was not stored is read again, so the list shows what is stored.
  const int row = FocusedRow();
  FStore.Read(false);
  fillGrid();
  FocusRow(row);
  return false;
}

void TDataPlaceBox::NewName()
{
  if (!fnDataPlaceActions(*FModel, FocusedRow()).New)
    return;
  TDataPlaceRec* p = focusedPlace();
  if (!p)
    return;
  QString text;
  if (!InputShow(QStringLiteral("新規作成"), QStringLiteral("新しく作成するデータ管理フォルダの名称を入力して下さい。"),
                 QStringLiteral("新しく作成するデータ管理フォルダの名称を入力します。"), text))
    return;
  text = trimmedBlanks(text);
  if (text.isEmpty()) {
    infoBox({QStringLiteral("名称が入力されていません。")});
    return;
  }
  if (DM && DM->AccDirectoryExists(p->DataPath, AppType)) {
    infoBox({QStringLiteral("既にデータサーバーにフォルダが作成されています。")});
  } else if (!DM || !DM->AccMakeDirectory(p->DataPath, AppType)) {
    infoBox({QStringLiteral("データサーバーへフォルダの作成に失敗しました。")});
    return;
  }
  const int row = FocusedRow();
  p->Name = text;
  p->RecKbn = 1;
  if (store())
    FModel->SetRow(row, *p);
  setCaptions();
}

void TDataPlaceBox::Rename()
{
  if (!fnDataPlaceActions(*FModel, FocusedRow()).Rename)
    return;
  TDataPlaceRec* p = focusedPlace();
  if (!p)
    return;
  QString text = p->Name;
  if (!InputShow(QStringLiteral("名称の変更"), QStringLiteral("データ管理フォルダの名称を入力して下さい。"),
                 QStringLiteral("データ管理フォルダの管理名称を変更します。"), text))
    return;
  text = trimmedBlanks(text);
  if (text.isEmpty()) {
    infoBox({QStringLiteral("名称が入力されていません。")});
    return;
  }
  const int row = FocusedRow();
  p->Name = text;
  p->RecKbn = 2;
  if (store())
    FModel->SetRow(row, *p);
  setCaptions();
}

void TDataPlaceBox::Remove()
{
  if (!fnDataPlaceActions(*FModel, FocusedRow()).Delete)
    return;
  TDataPlaceRec* p = focusedPlace();
  if (!p || p->Rec == 0)
    return;
  QStringList folders;
  bool held = !FStore.PlaceFolders(p->Rec, folders);
  for (const QString& f : folders)
    if (!held && DM && DM->AccDirectoryExists(f, AppType))
      held = true;
  if (held) {
    infoBox({QStringLiteral("このフォルダ配下には会計データが存在しているため削除することが出来ません。"),
             QStringLiteral("どうしても削除を行いたい場合は、配下の会計データをすべて削除してから処理して下さい。")});
    return;
  }
  TMessage2InfoRec ask;
  pcInitMessage2InfoRec(3, ask);
  ask.Caption[0].Text = QStringLiteral("[") + p->Name + QStringLiteral("]を削除します。よろしいですか？");
  if (fnShowMessageBox2(ask) != mrOk)
    return;
  const int row = FocusedRow();
  p->Name.clear();
  p->RecKbn = 9;
  if (store())
    FModel->SetRow(row, *p);
  setCaptions();
}

void TDataPlaceBox::Move(int ADelta)
{
  const int row = FocusedRow();
  const int other = row + ADelta;
  TDataPlaceList& list = FStore.List();
  if (list.size() < 2 || row < 0 || other < 0 || other >= int(list.size()))
    return;
  // Orders are numbered by position first; a place whose stored order was
  // another number is written too, so the stored order follows the list.
  for (std::size_t i = 0; i < list.size(); ++i)
    if (list[i].Order != int(i) + 1) {
      list[i].Order = int(i) + 1;
      list[i].RecKbn = 2;
    }
  list[std::size_t(row)].Order += ADelta;
  list[std::size_t(row)].RecKbn = 2;
  list[std::size_t(other)].Order -= ADelta;
  list[std::size_t(other)].RecKbn = 2;
  std::swap(list[std::size_t(row)], list[std::size_t(other)]);
  if (store()) {
    fillGrid();
    FocusRow(other);
  }
  setCaptions();
}

void TDataPlaceBox::FormKeyUp(QKeyEvent* AEvent, int& AKey)
{
  if (AEvent->modifiers() == Qt::NoModifier) {
    switch (AKey) {
      case Qt::Key_F2:
        NewName();
        AKey = 0;
        return;
      case Qt::Key_F3:
        Rename();
        AKey = 0;
        return;
      case Qt::Key_F5:
        Remove();
        AKey = 0;
        return;
      case Qt::Key_F4:
      case Qt::Key_F6:
      case Qt::Key_F7:
      case Qt::Key_F8:
      case Qt::Key_F12:
        AKey = 0;
        return;
      default:
        break;
    }
  }
  TBSDI::FormKeyUp(AEvent, AKey);
}

void TDataPlaceBox::showEvent(QShowEvent* AEvent)
{
  TBSDI::showEvent(AEvent);
  FGrid->setFocus();
}
