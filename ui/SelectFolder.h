#pragma once
// The folder picker of the save and copy dialogs: a tree of the file
// system's folders under a root, the caller's prompt above it, the path of
// the selected folder below it, and a button that makes a new folder in the
// selected one. fnSelectSaveFolder adds the rules for saving: a path too
// long to be handled is refused, and the root of the system disk is offered
// to be replaced by the Documents folder while the user-account control is
// on (the "EnableLUA" switch of the registry store).

#include <QString>

#include "ui/SDI.h"

class QFileSystemModel;
class QLabel;
class QModelIndex;
class QTreeView;
class TxPlButton;

class TSelectFolderBox : public TBSDI {
  Q_OBJECT
 public:
  explicit TSelectFolderBox(QWidget* AParent = nullptr);

  void SetPrompt(const QString& AText);
  QString Prompt() const;
  // The top folder of the tree (empty: the root of the file system). Only
  // it and the folders below it can be chosen.
  void SetRoot(const QString& ARoot);
  QString Root() const { return FRoot; }
  // Selects APath when it is a folder below the root (else the root) and
  // opens the tree down to it.
  void SetSelected(const QString& APath);
  // The selected folder without a trailing delimiter (the root of the
  // file system is "/"); empty when nothing is selected.
  QString Selected() const;
  // The path shown under the tree: the selected folder's.
  QString StatusText() const;

  // Makes a new folder "新しいフォルダー" (numbered when the name is taken)
  // in the selected folder, selects it and opens its name for editing.
  // A folder that cannot be made is reported. Answers the new folder's path
  // (empty on failure).
  QString NewFolderClick();

  QTreeView* FolderTree() const { return tvFolders; }
  TxPlButton* OkButton() const { return btnOK; }
  TxPlButton* CancelButton() const { return btnCancel; }
  TxPlButton* NewFolderButton() const { return btnNewFolder; }

 private:
  void selectionMoved(const QModelIndex& ACurrent);
  void hideOutsideRoot();
  void OkClick();

  QString FRoot = QStringLiteral("/");
  QFileSystemModel* FModel = nullptr;
  QLabel* lblPrompt = nullptr;
  QLabel* lblStatus = nullptr;
  QTreeView* tvFolders = nullptr;
  TxPlButton* btnNewFolder = nullptr;
  TxPlButton* btnOK = nullptr;
  TxPlButton* btnCancel = nullptr;
};

// Shows the folder picker titled ATitle ("フォルダを選択して下さい" when empty),
// rooted at ARoot (empty: the whole file system) with APath pre-selected,
// owned by AParent or else by the active window.
// - Cancel: false, APath unchanged.
// - A chosen path longer than 255 characters: the path-too-long error,
//   false, APath := that path.
// - Unless ANoCheck: when "EnableLUA" reads 1 and the choice is the root of
//   the system disk ("/"), the no-permission question; Yes: APath := the
//   Documents folder and true; No: the picker again.
// - Any other choice: true, APath := the chosen folder.
bool fnSelectSaveFolder(const QString& ATitle, QString& APath, bool ANoCheck, const QString& ARoot = QString(),
                        QWidget* AParent = nullptr);
