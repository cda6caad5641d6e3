// The communication dialog offscreen: the grid records of both layouts and
// their drawing, the keys by record, the display of a process type on a
// real data list, the small dialogs and the Esc hook; screenshots.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "comm/dialogs/DataTusinForm.h"
#include "comm/dialogs/FolderGrid.h"
#include "comm/dialogs/TusinSmallDlgs.h"
#include "tests/support/DataModuleEnv.h"
#include "tests/support/MessageCollector.h"
#include "ui/tests/UiTestUtil.h"
#include "ui/xEdit.h"
#include "ui/xPlButton.h"

using testenv::ScopedMessageCollector;

namespace {

TServerFolderRow row(const QString& name, const QString& ver, const QString& share = "")
{
  TServerFolderRow r;
  r.Data_Name = name;
  r.Kaikei_Nend = "12";
  r.Sta_Kikan2 = "2026/04/01 00:00";
  r.End_Kikan2 = "2027/03/31 00:00";
  r.Up_Day2 = "2026/12/01 10:00";
  r.Dn_Day2 = "2026/12/02 11:00";
  r.Data_Ver = ver;
  r.Data_Share = share;
  return r;
}

TServerFolderRows sampleRows(bool cloud)
{
  TServerFolderRows rows;
  rows[0] = row("株式会社テスト", "1501", cloud ? "2" : "");
  rows[1] = row("テスト商事", "0300", cloud ? "1" : "");
  rows[3] = row("壊れた版", "1X01", cloud ? "9" : "");
  return rows;
}

}  // namespace

TEST(FolderGrid, VersionTexts)
{
  struct Case {
    int major, minor;
    const char* text;
  } cases[] = {{15, 1, "23消改版"}, {11, 1, "19消改版"}, {6, 1, "14消改版"}, {15, 2, "15.2"},
               {3, 0, "11版"},      {1, 0, "09版"},      {2, 0, "10版"},     {17, 0, "25版"}};
  for (const Case& c : cases)
    EXPECT_EQ(fnTusinVersionText(c.major, c.minor), c.text) << c.major << "." << c.minor;
  EXPECT_EQ(fnTusinDataVerText("1501"), "23消改版");
  EXPECT_EQ(fnTusinDataVerText("0100"), "09版");
  EXPECT_EQ(fnTusinDataVerText("1X01"), "");  // garbled: blank, the list goes on
  EXPECT_EQ(fnTusinDataVerText("ab"), "");
}

TEST(FolderGrid, RecordsOfBothLayouts)
{
  const auto relay = fnFolderGridRows(sampleRows(false), 1);
  ASSERT_EQ(relay.size(), 10u);
  EXPECT_EQ(relay[0].Cells[fgcol::No], "1");
  EXPECT_EQ(relay[0].Cells[fgcol::Name], "株式会社テスト");
  EXPECT_EQ(relay[0].Cells[fgcol::Year], "12期");
  EXPECT_EQ(relay[0].Cells[fgcol::Period], "2026/04/01 ～ 2027/03/31");
  EXPECT_EQ(relay[0].Cells[fgcol::SendTime], "2026/12/01 10:00");
  EXPECT_EQ(relay[0].Cells[fgcol::RecvTime], "2026/12/02 11:00");
  EXPECT_EQ(relay[0].Cells[fgcol::Ver], "23消改版");
  EXPECT_EQ(relay[1].Cells[fgcol::Ver], "11版");
  EXPECT_EQ(relay[2].Cells[fgcol::Name], "");
  EXPECT_EQ(relay[3].Cells[fgcol::Name], "壊れた版");
  EXPECT_EQ(relay[3].Cells[fgcol::Ver], "");
  EXPECT_EQ(relay[9].Cells[fgcol::No], "10");

  const auto cloud = fnFolderGridRows(sampleRows(true), 25);
  EXPECT_EQ(cloud[0].Cells[fgcol::Status], "使用中");
  EXPECT_EQ(cloud[0].Cells[fgcol::SendTime], "2026/12/02 11:00");
  EXPECT_EQ(cloud[0].Cells[fgcol::RecvTime], "-");
  EXPECT_EQ(cloud[1].Cells[fgcol::Status], "未使用");
  EXPECT_EQ(cloud[1].Cells[fgcol::SendTime], "-");
  EXPECT_EQ(cloud[1].Cells[fgcol::RecvTime], "2026/12/01 10:00");
  EXPECT_EQ(cloud[3].Cells[fgcol::Status], "");  // an unknown state shows nothing
  EXPECT_EQ(cloud[3].Cells[fgcol::Name], "");
}

TEST(DataTusinForm, RelayGridDrawingAndKeys)
{
  pcAccRecordReset();
  TfmDataTusin f;
  EXPECT_EQ(f.windowTitle(), "データ通信");
  EXPECT_EQ(f.size(), QSize(989, 397));
  EXPECT_TRUE(f.cxgDt1->isColumnHidden(fgcol::Status));
  EXPECT_EQ(f.Model->rowCount(), 10);
  f.SetProcType(2);
  f.FServerInfo.Rows = sampleRows(false);
  f.FillGrid();
  f.FocusRecord(1);
  EXPECT_EQ(f.KeyCaption(0), "ESC:ｷｬﾝｾﾙ");
  EXPECT_EQ(f.KeyCaption(5), "F5:ﾃﾞｰﾀ削除");
  EXPECT_EQ(f.KeyCaption(12), "F12:実  行");
  EXPECT_EQ(f.HelpFile, "tsusin02.html");

  const auto focused = f.Delegate->Look(1, fgcol::No, "2");
  EXPECT_EQ(focused.Text, QColor(255, 128, 0));
  EXPECT_EQ(focused.Frame, QColor(0, 64, 128));  // the receive's frame in the relay layout
  EXPECT_TRUE(focused.FrameLeft);
  EXPECT_EQ(focused.Background, QColor(187, 218, 255));  // odd record, receive tint
  const auto other = f.Delegate->Look(2, fgcol::Name, "x");
  EXPECT_EQ(other.Text, QColor(Qt::black));
  EXPECT_FALSE(other.Frame.isValid());
  EXPECT_EQ(other.Background, QColor(Qt::white));
  EXPECT_EQ(other.Indent, 4);
  EXPECT_TRUE(f.Delegate->Look(1, fgcol::Ver, "").FrameRight);
  f.SetProcType(1);
  EXPECT_EQ(f.Delegate->Look(1, fgcol::No, "").Frame, QColor(255, 128, 0));
  EXPECT_EQ(f.Delegate->Look(3, fgcol::No, "").Background, QColor(255, 239, 225));

  f.show();
  QTest::qWaitForWindowExposed(&f);
  const QImage img = f.grab().toImage();
  uitest::saveScreenshot(&f, "comm_data_tusin_relay");
  const QRect cell = f.cxgDt1->visualRect(f.Model->index(1, fgcol::Name));
  const QPoint top = f.cxgDt1->viewport()->mapTo(&f, cell.topLeft() + QPoint(20, 0));
  EXPECT_EQ(img.pixelColor(top * img.devicePixelRatio()), QColor(255, 128, 0));

  // An unreachable server takes F5 and F12 away.
  f.OnServerUnreachable();
  EXPECT_FALSE(f.Key(5)->isEnabled());
  EXPECT_FALSE(f.Key(12)->isEnabled());
}

TEST(DataTusinForm, CloudLayoutAndKeysByRecord)
{
  pcAccRecordReset();
  TfmDataTusin f;
  f.SetProcType(25);
  EXPECT_FALSE(f.cxgDt1->isColumnHidden(fgcol::Status));
  EXPECT_EQ(f.Model->headerData(fgcol::Year, Qt::Horizontal, Qt::DisplayRole).toString(), "年度");
  EXPECT_EQ(f.Model->headerData(fgcol::SendTime, Qt::Horizontal, Qt::DisplayRole).toString(), "使用開始日時");
  EXPECT_EQ(f.KeyCaption(4), "F4: 解除");
  EXPECT_EQ(f.KeyCaption(5), "F5: 削除");
  EXPECT_EQ(f.KeyCaption(12), "F12: 選択");
  f.FServerInfo.Rows = sampleRows(true);
  f.FillGrid();
  struct Case {
    int record;
    bool f4, f5;
  } cases[] = {{0, true, true}, {1, false, true}, {2, false, false}, {0, true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.record);
    f.FocusRecord(c.record);
    EXPECT_EQ(f.Key(4)->isEnabled(), c.f4);
    EXPECT_EQ(f.Key(5)->isEnabled(), c.f5);
  }
  f.show();
  QTest::qWaitForWindowExposed(&f);
  EXPECT_TRUE(uitest::saveScreenshot(&f, "comm_data_tusin_cloud"));
}

namespace {

class DataTusinDisplay : public testenv::SharedDataRootTest<DataTusinDisplay> {
 protected:
  void SetUp() override
  {
    testenv::DataModuleSetup s;
    s.root = root->root;
    s.logFile = tmp->file("log");
    setUpDataModule(s);
  }
};

}  // namespace

TEST_F(DataTusinDisplay, CaptionHintAndRowsOfAProcessType)
{
  TfmDataTusin f;
  f.SetProcType(1);
  f.FServerInfo.Rows = sampleRows(false);
  f.SetDisplay();
  EXPECT_EQ(f.windowTitle(), "データ送信");
  EXPECT_TRUE(f.HintArea->toPlainText().startsWith("［F12］を押すと現在利用中のデータが"));
  EXPECT_EQ(f.Model->Row(0).Cells[fgcol::Name], "株式会社テスト");
  EXPECT_FALSE(f.FAllSentakuListRec.empty());
  if (dm->IBTransactionDEF.inTransaction())
    dm->IBTransactionDEF.commit();

  // A group without data-list rows leaves the form as it was.
  TfmDataTusin g;
  g.SetProcType(8);
  SystemDef.GROUPID = 987654;
  g.SetDisplay();
  EXPECT_EQ(g.windowTitle(), "データ通信");
  EXPECT_TRUE(g.Key(12)->isVisible() || !g.isVisible());
  if (dm->IBTransactionDEF.inTransaction())
    dm->IBTransactionDEF.commit();
}

TEST_F(DataTusinDisplay, DisconnectAndReconnectAroundATransfer)
{
  const fixtures::sample::DataSet data = root->dataSets.at(0);
  SystemDef.IBPATHDAT = data.folder;
  TfmDataTusin f;
  f.SetProcType(1);
  ScopedMessageCollector boxes;
  ASSERT_TRUE(f.DataReconnect());
  EXPECT_TRUE(dm->IBDatabaseDAT.isConnected());
  EXPECT_EQ(AccInf.SHOUGOU, data.shougou);
  EXPECT_TRUE(f.DataReconnect());  // already up
  ASSERT_TRUE(f.DataDisconnect());
  EXPECT_FALSE(dm->IBDatabaseDAT.isConnected());
  EXPECT_FALSE(dm->IBTransactionDEF.inTransaction());

  // A data set that cannot be opened: the operator is told and the data
  // selection is offered again.
  SystemDef.IBPATHDAT = tmp->file("gone/0042");
  EXPECT_FALSE(f.DataReconnect());
  EXPECT_TRUE(boxes.texts.contains("　\r\nデータの接続に失敗したため、データ選択画面を開きます。\r\n "));
  EXPECT_TRUE(SystemDef.IBPATHDAT.isEmpty());
  EXPECT_FALSE(dm->IBTransactionDEF.inTransaction());
}

TEST(TusinSettiPas, OnlyATickedBoxAndTheExactPasswordPass)
{
  struct Case {
    const char* what;
    bool tick;
    QString caption;
    QString typed;
    int result;
    QStringList boxes;
  } cases[] = {
      {"right", true, "削除処理を実行します", "ABC123", mrOk, {}},
      {"other case", true, "削除処理を実行します", "abc123", mrNone, {"パスワードが違います。"}},
      {"not ticked",
       false,
       "削除処理を実行します",
       "ABC123",
       mrNone,
       {"「削除処理を実行します」をチェックしてください。"}},
      {"not ticked, release",
       false,
       "解除処理を実行します",
       "ABC123",
       mrNone,
       {"「解除処理を実行します」をチェックしてください。"}},
      {"a pasted full-width blank",
       true,
       "削除処理を実行します",
       "AB　12",
       mrNone,
       {"パスワードはスペース（空白）なしの英数６桁以内で入力して下さい。"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    pcAccRecordReset();
    TfmTusinSettiPas f;
    f.Label2->setText("ABC123");
    f.CheckBox1->setText(c.caption);
    f.CheckBox1->setChecked(c.tick);
    f.txtConPasswd->setText(c.typed);
    ScopedMessageCollector boxes;
    f.btnOKClick();
    EXPECT_EQ(f.result(), c.result);
    EXPECT_EQ(boxes.texts, c.boxes);
  }
  // The key filter lets letters and digits through, nothing else.
  TfmTusinSettiPas f;
  f.show();
  QTest::qWaitForWindowExposed(&f);
  f.txtConPasswd->setFocus();
  QTest::keyClicks(f.txtConPasswd, "a-b 1!Z");
  EXPECT_EQ(f.txtConPasswd->text(), "ab1Z");
  uitest::saveScreenshot(&f, "comm_tusin_setti_pas");
}

TEST(TusinSmallDialogs, WaitWindowsAndComparison)
{
  TfmWaitMess w;
  EXPECT_TRUE(w.Box(1)->isChecked());
  EXPECT_TRUE(w.Box(5)->isHidden());
  w.SetStep(2, "送信用データ圧縮　実行中", 0xFF0000, true);
  EXPECT_EQ(w.Box(2)->palette().color(QPalette::WindowText), QColor(0, 0, 255));
  w.SetStep(1, "送信用データ保存　終了", 0x808080, true);
  EXPECT_EQ(w.Box(1)->palette().color(QPalette::WindowText), QColor(128, 128, 128));
  EXPECT_EQ(w.Box(1)->text(), "送信用データ保存　終了");
  w.show();
  QTest::qWaitForWindowExposed(&w);
  uitest::saveScreenshot(&w, "comm_wait_mess");
  TfmWaitMess2 w2;
  EXPECT_EQ(w2.Box(1)->text(), "クラウドシェア認証チェック");
  EXPECT_EQ(w2.Box(2), nullptr);

  struct Case {
    const char* what;
    int action;  // 1 はい, 2 いいえ, 0 closed otherwise
    bool answer;
  } cases[] = {{"はい", 1, true}, {"いいえ", 2, false}, {"closed", 0, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HikakuAnswer = false;
    TfmHikakuMess2 h;
    EXPECT_TRUE(HikakuAnswer);  // creation says yes
    h.show();
    if (c.action == 1)
      h.Button1->click();
    else if (c.action == 2)
      h.Button2->click();
    else
      h.close();
    EXPECT_EQ(HikakuAnswer, c.answer);
  }
}

namespace {

class TKeyRecorder : public QLineEdit {
 public:
  QList<int> Down, Up;

 protected:
  void keyPressEvent(QKeyEvent* e) override
  {
    Down << e->key();
    QLineEdit::keyPressEvent(e);
  }
  void keyReleaseEvent(QKeyEvent* e) override
  {
    Up << e->key();
    QLineEdit::keyReleaseEvent(e);
  }
};

}  // namespace

TEST(TusinEscHook, SwallowsEscOnlyWhileInstalled)
{
  TKeyRecorder w;
  w.show();
  QTest::qWaitForWindowExposed(&w);
  pcEscHookInstall();
  pcEscHookInstall();  // the second keeps the first
  EXPECT_TRUE(fnEscHookInstalled());
  QTest::keyClick(&w, Qt::Key_Escape);
  QTest::keyClick(&w, Qt::Key_A);
  EXPECT_EQ(w.Down, QList<int>{Qt::Key_A});
  EXPECT_EQ(w.Up, QList<int>{Qt::Key_A});
  pcEscHookRemove();
  EXPECT_FALSE(fnEscHookInstalled());
  QTest::keyClick(&w, Qt::Key_Escape);
  EXPECT_EQ(w.Down.last(), Qt::Key_Escape);
}
