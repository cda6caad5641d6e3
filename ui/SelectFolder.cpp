#include "ui/SelectFolder.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QTreeView>

#include "common/AccFunction2.h"
#include "common/MessageHook.h"
#include "ui/ModalResult.h"
#include "ui/xPlButton.h"

namespace {

const QString kLuaKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System");

// A folder path as the picker hands it out: absolute, clean, no trailing
// delimiter (the root stays "/").
QString cleanFolder(const QString& APath)
{
  if (APath.trimmed().isEmpty())
    return QString();
  return QDir::cleanPath(QDir::fromNativeSeparators(APath.trimmed()));
}

bool isBelowOrSame(const QString& APath, const QString& ARoot)
{
  if (ARoot == QLatin1String("/"))
    return APath.startsWith(QLatin1Char('/'));
  return APath == ARoot || APath.startsWith(ARoot + QLatin1Char('/'));
}

}  // namespace

TSelectFolderBox::TSelectFolderBox(QWidget* AParent) : TBSDI(AParent, bsDialog)
{
  setObjectName(QStringLiteral("SelectFolderBox"));
  setWindowTitle(QStringLiteral(u"フォルダーの参照"));
  setFixedSize(400, 420);

  lblPrompt = new QLabel(this);
  lblPrompt->setObjectName(QStringLiteral("lblPrompt"));
  lblPrompt->setWordWrap(true);
  lblPrompt->setGeometry(12, 8, 376, 40);

  FModel = new QFileSystemModel(this);
  FModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  FModel->setReadOnly(false);
  FModel->setRootPath(QStringLiteral("/"));

  tvFolders = new QTreeView(this);
  tvFolders->setObjectName(QStringLiteral("tvFolders"));
  tvFolders->setGeometry(12, 52, 376, 280);
  tvFolders->setModel(FModel);
  tvFolders->setHeaderHidden(true);
  for (int c = 1; c < FModel->columnCount(); ++c)
    tvFolders->hideColumn(c);
  tvFolders->setEditTriggers(QAbstractItemView::EditKeyPressed);
  connect(tvFolders->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& ACurrent) { selectionMoved(ACurrent); });
  connect(FModel, &QAbstractItemModel::rowsInserted, this, [this] { hideOutsideRoot(); });

  lblStatus = new QLabel(this);
  lblStatus->setObjectName(QStringLiteral("lblStatus"));
  lblStatus->setGeometry(12, 336, 376, 36);
  lblStatus->setWordWrap(true);
  lblStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);

  btnNewFolder = fnNewPlButton(this, QStringLiteral("btnNewFolder"), QStringLiteral(u"新しいフォルダーの作成"),
                               QRect(12, 380, 150, 28));
  connect(btnNewFolder, &TxPlButton::clicked, this, [this] { NewFolderClick(); });

  btnOK = fnNewPlButton(this, QStringLiteral("btnOK"), QStringLiteral("OK"), QRect(226, 380, 78, 28));
  connect(btnOK, &TxPlButton::clicked, this, [this] { OkClick(); });

  btnCancel = fnNewCancelPlButton(this, QRect(310, 380, 78, 28));

  SetRoot(QString());
  selectionMoved(QModelIndex());

  FormCreate();
  MenuMin = false;
  MultiShow = false;
  FormSize = false;
  Zoom = false;
  Child_OKButton = btnOK;
  InitFlg = true;
}

void TSelectFolderBox::SetPrompt(const QString& AText)
{
  lblPrompt->setText(AText);
}

QString TSelectFolderBox::Prompt() const
{
  return lblPrompt->text();
}

void TSelectFolderBox::SetRoot(const QString& ARoot)
{
  const QString root = cleanFolder(ARoot);
  FRoot = root.isEmpty() || !QFileInfo(root).isDir() ? QStringLiteral("/") : QFileInfo(root).absoluteFilePath();
  // The root is shown as the one top item: the tree starts at its parent
  // with every sibling of the root hidden.
  const QModelIndex rootIndex = FModel->index(FRoot);
  tvFolders->setRootIndex(rootIndex.parent());
  hideOutsideRoot();
  tvFolders->expand(rootIndex);
}

void TSelectFolderBox::hideOutsideRoot()
{
  const QModelIndex rootIndex = FModel->index(FRoot);
  const QModelIndex top = rootIndex.parent();
  for (int r = 0; r < FModel->rowCount(top); ++r)
    tvFolders->setRowHidden(r, top, r != rootIndex.row());
}

void TSelectFolderBox::SetSelected(const QString& APath)
{
  QString path = cleanFolder(APath);
  if (path.isEmpty() || !QFileInfo(path).isDir() || !isBelowOrSame(QFileInfo(path).absoluteFilePath(), FRoot))
    path = FRoot;
  const QModelIndex index = FModel->index(QFileInfo(path).absoluteFilePath());
  for (QModelIndex p = index.parent(); p.isValid(); p = p.parent())
    tvFolders->expand(p);
  tvFolders->setCurrentIndex(index);
  tvFolders->scrollTo(index);
  selectionMoved(index);
}

QString TSelectFolderBox::Selected() const
{
  const QModelIndex index = tvFolders->currentIndex();
  if (!index.isValid())
    return QString();
  return cleanFolder(FModel->filePath(index));
}

QString TSelectFolderBox::StatusText() const
{
  return lblStatus->text();
}

void TSelectFolderBox::selectionMoved(const QModelIndex& ACurrent)
{
  const QString path = ACurrent.isValid() ? cleanFolder(FModel->filePath(ACurrent)) : QString();
  lblStatus->setText(QDir::toNativeSeparators(path));
  btnOK->setEnabled(!path.isEmpty());
  btnNewFolder->setEnabled(!path.isEmpty());
}

QString TSelectFolderBox::NewFolderClick()
{
  const QString parent = Selected();
  if (parent.isEmpty())
    return QString();
  const QString base = QStringLiteral(u"新しいフォルダー");
  QString name = base;
  for (int n = 2; QFileInfo::exists(QDir(parent).filePath(name)); ++n)
    name = QStringLiteral("%1 (%2)").arg(base).arg(n);
  const QModelIndex made = FModel->mkdir(FModel->index(parent), name);
  if (!made.isValid()) {
    MessageHook().ShowMessageDlg(QStringLiteral(u"フォルダを作成できませんでした。\r%1\r")
                                     .arg(QDir::toNativeSeparators(QDir(parent).filePath(name))),
                                 mtError, mbOK);
    return QString();
  }
  tvFolders->expand(made.parent());
  tvFolders->setCurrentIndex(made);
  tvFolders->scrollTo(made);
  if (isVisible())
    tvFolders->edit(made);
  return cleanFolder(FModel->filePath(made));
}

void TSelectFolderBox::OkClick()
{
  // Nothing selected is no choice: the picker stays open.
  if (Selected().isEmpty())
    return;
  done(mrOk);
}

bool fnSelectSaveFolder(const QString& ATitle, QString& APath, bool ANoCheck, const QString& ARoot, QWidget* AParent)
{
  const QString initial = APath;
  QWidget* owner = AParent ? AParent : QApplication::activeWindow();
  for (;;) {
    QString chosen;
    {
      TSelectFolderBox box(owner);
      box.SetManualFree(true);
      box.SetPrompt(ATitle.isEmpty() ? QStringLiteral(u"フォルダを選択して下さい") : ATitle);
      box.SetRoot(ARoot);
      box.SetSelected(initial);
      if (box.exec() != mrOk)
        return false;
      chosen = QDir::toNativeSeparators(box.Selected());
    }
    if (chosen.size() > 255) {
      APath = chosen;
      MessageHook().ShowMessageDlg(
          QStringLiteral(u"選択した場所(パス)の文字長が処理できる範囲を超えました。\r別の場所を選択して下さい。\r"),
          mtError, mbOK);
      return false;
    }
    if (!ANoCheck) {
      QVariant lua;
      fnRegReadValue(QStringLiteral("HKEY_LOCAL_MACHINE"), kLuaKey, QStringLiteral("EnableLUA"), lua);
      if (lua.toInt() == 1 && cleanFolder(chosen) == QLatin1String("/")) {
        const int answer = MessageHook().ShowMessageDlg(
            QStringLiteral(
                u"この場所に保存するアクセス許可がありません。\r管理者に連絡してアクセス許可を取得してください。"
                u"\r\r代わりに［ドキュメント］フォルダに保存しますか？\r"),
            mtWarning, mbYes | mbNo);
        if (answer == mrYes) {
          APath = fnGetMyDocumentsDir();
          return true;
        }
        continue;
      }
    }
    APath = chosen;
    return true;
  }
}
