// The folder picker and the saving rules of fnSelectSaveFolder: cancel,
// a plain choice, the root of the system disk while the user-account
// control is on, paths too long to be handled, and new folders.
#include <deque>
#include <functional>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "common/AccFunction2.h"
#include "common/MessageHook.h"
#include "platform/Registry.h"
#include "ui/SelectFolder.h"
#include "ui/tests/UiTestUtil.h"
#include "ui/xPlButton.h"

namespace {

// Records the boxes of the widget-free libraries and answers from a list
// (No when the list is empty).
class TAnswerHook : public IMessageHook {
 public:
  TAnswerHook() { FPrevious = SetMessageHook(this); }
  ~TAnswerHook() override { SetMessageHook(FPrevious); }

  int ShowMessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons) override
  {
    texts << text;
    kinds << type;
    if (answers.empty())
      return mrNo;
    const int a = answers.front();
    answers.pop_front();
    return a;
  }
  int ShowMessageLines(int, const QStringList& lines) override
  {
    texts << lines.join(QLatin1Char('\n'));
    return mrYes;
  }
  void RequestTerminate() override {}

  QStringList texts;
  QList<TMsgDlgType> kinds;
  std::deque<int> answers;

 private:
  IMessageHook* FPrevious = nullptr;
};

// Plays the user at each folder picker that opens: selects a folder and
// presses OK, or presses Cancel (an empty path). Records what each picker
// showed when it opened.
class TPickerPlayer {
 public:
  explicit TPickerPlayer(std::deque<QString> AChoices) : FChoices(std::move(AChoices))
  {
    FTimer.setInterval(10);
    QObject::connect(&FTimer, &QTimer::timeout, [this] { poll(); });
    FTimer.start();
  }

  QStringList prompts, preselected, statusTexts;

 private:
  void poll()
  {
    auto* box = qobject_cast<TSelectFolderBox*>(QApplication::activeModalWidget());
    if (!box || box == FLast || !box->isVisible())
      return;
    FLast = box;
    prompts << box->Prompt();
    preselected << box->Selected();
    const QString choice = FChoices.empty() ? QString() : FChoices.front();
    if (!FChoices.empty())
      FChoices.pop_front();
    if (choice.isEmpty()) {
      box->CancelButton()->Click();
      return;
    }
    box->SetSelected(choice);
    statusTexts << box->StatusText();
    box->OkButton()->Click();
  }

  std::deque<QString> FChoices;
  QTimer FTimer;
  QPointer<QWidget> FLast;
};

// Points the registry store at a file of the test with "EnableLUA" set.
class TLuaSwitch {
 public:
  explicit TLuaSwitch(const QString& AFile)
  {
    FOld = qgetenv("RENDO_REGISTRY_FILE");
    FHadOld = qEnvironmentVariableIsSet("RENDO_REGISTRY_FILE");
    qputenv("RENDO_REGISTRY_FILE", AFile.toUtf8());
    FFile = AFile;
  }
  ~TLuaSwitch()
  {
    if (FHadOld)
      qputenv("RENDO_REGISTRY_FILE", FOld);
    else
      qunsetenv("RENDO_REGISTRY_FILE");
  }
  void Set(int AValue)
  {
    QFile::remove(FFile);
    RegistryWriter w(FFile);
    w.WriteInteger(QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System"),
                   QStringLiteral("EnableLUA"), static_cast<quint32>(AValue));
    w.UpdateFile();
  }

 private:
  QString FFile;
  QByteArray FOld;
  bool FHadOld = false;
};

const QString kQuestion = QStringLiteral(
    u"この場所に保存するアクセス許可がありません。\r管理者に連絡してアクセス許可を取得してください。"
    u"\r\r代わりに［ドキュメント］フォルダに保存しますか？\r");
const QString kTooLong =
    QStringLiteral(u"選択した場所(パス)の文字長が処理できる範囲を超えました。\r別の場所を選択して下さい。\r");

TEST(SelectSaveFolder, ChoicesAndTheSavingRules)
{
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  const QString work = tmp.filePath(QStringLiteral("work"));
  const QString start = tmp.filePath(QStringLiteral("start"));
  QDir().mkpath(work);
  QDir().mkpath(start);
  // A folder whose path is longer than 255 characters.
  QString deep = tmp.path();
  while (deep.size() <= 255)
    deep += QLatin1Char('/') + QString(60, QLatin1Char('d'));
  ASSERT_TRUE(QDir().mkpath(deep));
  TLuaSwitch lua(tmp.filePath(QStringLiteral("hklm.ini")));

  struct Case {
    const char* name;
    int luaValue;
    bool noCheck;
    QString title;
    std::deque<QString> choices;  // one per picker shown; empty: Cancel
    std::deque<int> answers;      // to the no-permission question
    bool result;
    QString path;  // afterwards
    int pickers;
    QStringList messages;
  } cases[] = {
      {"cancel", 1, false, "", {""}, {}, false, start, 1, {}},
      {"a folder", 1, false, "保存先", {work}, {}, true, work, 1, {}},
      {"the system root: Documents instead", 1, false, "", {"/"}, {mrYes}, true, fnGetMyDocumentsDir(), 1, {kQuestion}},
      {"the system root refused: picker again", 1, false, "", {"/", work}, {mrNo}, true, work, 2, {kQuestion}},
      {"refused, then cancelled", 1, false, "", {"/", ""}, {mrNo}, false, start, 2, {kQuestion}},
      {"no check", 1, true, "", {"/"}, {}, true, "/", 1, {}},
      {"control off", 0, false, "", {"/"}, {}, true, "/", 1, {}},
      {"path too long", 1, false, "", {deep}, {}, false, deep, 1, {kTooLong}},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    lua.Set(c.luaValue);
    TAnswerHook hook;
    hook.answers = c.answers;
    TPickerPlayer player(c.choices);
    QString path = start;
    EXPECT_EQ(fnSelectSaveFolder(c.title, path, c.noCheck), c.result);
    EXPECT_EQ(path, c.path);
    EXPECT_EQ(hook.texts, c.messages);
    ASSERT_EQ(player.prompts.size(), c.pickers);
    for (int i = 0; i < c.pickers; ++i) {
      EXPECT_EQ(player.prompts[i], c.title.isEmpty() ? QStringLiteral(u"フォルダを選択して下さい") : c.title);
      EXPECT_EQ(player.preselected[i], start) << "every picker opens at the caller's folder";
    }
    if (!player.statusTexts.isEmpty()) {
      EXPECT_EQ(player.statusTexts.front(), c.choices.front()) << "the status shows the selected path";
    }
  }
}

TEST(SelectSaveFolder, PickerStaysUnderItsRoot)
{
  QTemporaryDir tmp;
  const QString root = tmp.filePath(QStringLiteral("top/root"));
  const QString sibling = tmp.filePath(QStringLiteral("top/sibling"));
  QDir().mkpath(root + QStringLiteral("/a/b"));
  QDir().mkpath(sibling);

  TSelectFolderBox box;
  box.SetManualFree(true);
  box.SetRoot(root + QLatin1Char('/'));
  EXPECT_EQ(box.Root(), root);
  struct Case {
    QString asked, selected;
  } cases[] = {
      {root + QStringLiteral("/a/b"), root + QStringLiteral("/a/b")},
      {root + QStringLiteral("/a/b/"), root + QStringLiteral("/a/b")},  // no trailing delimiter
      {sibling, root},                                                  // outside: the root
      {tmp.path(), root},
      {tmp.filePath(QStringLiteral("missing")), root},
      {QString(), root},
  };
  for (const Case& c : cases) {
    box.SetSelected(c.asked);
    EXPECT_EQ(box.Selected(), c.selected) << c.asked.toStdString();
    EXPECT_EQ(box.StatusText(), c.selected);
  }

  // The root is the one item at the top of the tree, once the folder
  // beside it has been read too.
  auto* model = qobject_cast<QFileSystemModel*>(box.FolderTree()->model());
  ASSERT_NE(model, nullptr);
  const QModelIndex top = box.FolderTree()->rootIndex();
  EXPECT_EQ(model->filePath(top), tmp.filePath(QStringLiteral("top")));
  QTRY_COMPARE(model->rowCount(top), 2);
  for (int r = 0; r < model->rowCount(top); ++r)
    EXPECT_EQ(box.FolderTree()->isRowHidden(r, top), model->filePath(model->index(r, 0, top)) != root);

  box.SetPrompt(QStringLiteral(u"保存先のフォルダを選択して下さい"));
  box.SetSelected(root + QStringLiteral("/a/b"));
  box.show();
  uitest::saveScreenshot(&box, QStringLiteral("SelectFolderBox"));
  box.hide();

  TSelectFolderBox whole;
  whole.SetManualFree(true);
  whole.SetRoot(QString());
  EXPECT_EQ(whole.Root(), QStringLiteral("/"));
  whole.SetSelected(QStringLiteral("/"));
  EXPECT_EQ(whole.Selected(), QStringLiteral("/"));
}

TEST(SelectSaveFolder, NewFoldersAreNumberedAndFailuresReported)
{
  QTemporaryDir tmp;
  TAnswerHook hook;
  TSelectFolderBox box;
  box.SetManualFree(true);
  box.SetRoot(tmp.path());
  box.SetSelected(tmp.path());
  const QString first = box.NewFolderClick();
  EXPECT_EQ(first, tmp.filePath(QStringLiteral(u"新しいフォルダー")));
  EXPECT_TRUE(QFileInfo(first).isDir());
  EXPECT_EQ(box.Selected(), first) << "the new folder is selected";
  box.SetSelected(tmp.path());
  EXPECT_EQ(box.NewFolderClick(), tmp.filePath(QStringLiteral(u"新しいフォルダー (2)")));
  EXPECT_TRUE(hook.texts.isEmpty());

  // A folder where nothing can be made, not even by the superuser.
  const QString locked = QStringLiteral("/proc");
  box.SetRoot(QString());
  box.SetSelected(locked);
  ASSERT_EQ(box.Selected(), locked);
  EXPECT_EQ(box.NewFolderClick(), QString());
  ASSERT_EQ(hook.texts.size(), 1);
  EXPECT_TRUE(hook.texts[0].contains(locked));
  EXPECT_EQ(hook.kinds[0], mtError);
  EXPECT_EQ(box.Selected(), locked);
}

}  // namespace
