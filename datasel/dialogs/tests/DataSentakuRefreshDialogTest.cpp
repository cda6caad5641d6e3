// The data-selection dialog's list update, member rows, data places and
// close, under the offscreen platform against a data root of each test's own.
#include <gtest/gtest.h>
#include <memory>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "common/AccRecord.h"
#include "common/DataInfomation.h"
#include "common/DataModule.h"
#include "common/MessageHook.h"
#include "datasel/dialogs/DataBasyo.h"
#include "datasel/dialogs/DataSentaku.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "tests/support/DataModuleEnv.h"
#include "tests/support/FirebirdServer.h"
#include "tests/support/Fixtures.h"
#include "tests/support/MessageCollector.h"
#include "tests/support/ModelTester.h"
#include "tests/support/TempDir.h"
#include "ui/AccInterface.h"
#include "ui/ModalResult.h"
#include "ui/tests/UiTestUtil.h"
#include "ui/xAnimeProgressDialog.h"
#include "ui/z5MessageDlg2.h"

namespace {

using namespace fixtures;

QString shotPath(const QString& name)
{
  return uitest::screenshotDir() + QLatin1Char('/') + name;
}

class DataSentakuRefreshDialog : public testenv::DataModuleTest {
 protected:
  void SetUp() override
  {
    root = testfx::makeDataRoot(tmp.file(QStringLiteral("root")));
    setUpDataModule({.root = root.root,
                     .logFile = tmp.file("log"),
                     .dataFile = QStringLiteral("wqacc2.fdb"),
                     .dataListCnt = 20,
                     .connect = false});
    SystemDef.AppName = QStringLiteral("連動");
    pcSetMessageBox2Hook([this](TMessage2InfoRec& info) {
      QStringList lines;
      for (const auto& c : info.Caption)
        if (!c.Text.isEmpty())
          lines << c.Text;
      boxes << lines.join(QLatin1Char('\n'));
      return info.DlgButtons & mbOK ? confirmAnswer : mrYes;
    });
    ASSERT_TRUE(dm->fnAccDefConnected(QString(), true));
  }
  void TearDown() override
  {
    if (box)
      delete box.data();
    pcSetMessageBox2Hook(nullptr);
    DataModuleTest::TearDown();
  }
  TDataSentakuBox* open(const QStringList& lines)
  {
    box = qobject_cast<TDataSentakuBox*>(FormClassLookup(QStringLiteral("DuRoziZuvurad")));
    EXPECT_NE(box, nullptr);
    if (!box)
      return nullptr;
    box->SetManualFree(true);
    box->StatusBoxShow = [](TMessageInfoRec&) { return mrOk; };
    box->SetOptions(lines);
    box->SetPrepare(true);
    box->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(box));
    return box;
  }
  int rowOfRec(int rec, int from = 0) const
  {
    for (int r = from; r < box->RowCount(); ++r)
      if (box->Model()->Row(r).Data.Rec == rec && !box->Model()->Row(r).IsMember())
        return r;
    return -1;
  }
  // Slot `rec` becomes a named data set holding a copy of the general sample.
  void namedCopy(int rec, const QString& name, int gassan = 0)
  {
    const QString folder = SystemFixture::dataFolder(root.root, rec);
    QDir().mkpath(folder);
    ASSERT_TRUE(QFile::copy(root.dataSets.at(0).database, folder + QStringLiteral("/wqacc2.fdb")));
    exec(QStringLiteral("UPDATE DATALIST SET ENTTEXT='%1',SHOUGOU='x',DATATYPE=1,GASSAN=%2 WHERE REC=%3")
             .arg(name)
             .arg(gassan)
             .arg(rec));
  }
  void setAccReg(const QString& database, const QString& text)
  {
    db::Database d;
    testfx::builder().open(d, database);
    db::Transaction tr(d);
    tr.start();
    db::Query q(tr, QStringLiteral("UPDATE OR INSERT INTO ACCREG (AGROUP,ACODE,ATYPE,ATEXT) "
                                   "VALUES ('基本設定','合算データ区分','整数',:T) MATCHING (AGROUP,ACODE)"));
    q.setParam(QStringLiteral("T"), text);
    q.exec();
    tr.commit();
  }

  TestTempDir tmp;
  sample::DataRoot root;
  QPointer<TDataSentakuBox> box;
  testenv::ScopedMessageCollector hook{testenv::MessageCollector::Replies::FirstButton};
  QStringList boxes;
  int confirmAnswer = mrOk;
};

TEST_F(DataSentakuRefreshDialog, TheListUpdateRefillsRowsAndPutsMembersBelowTheirDataSet)
{
  // Slot 19 becomes consolidated data with two members; slot 20 stays last.
  const QString folder19 = SystemFixture::dataFolder(root.root, 19);
  namedCopy(19, QStringLiteral("合算"));
  setAccReg(folder19 + QStringLiteral("/wqacc2.fdb"), QStringLiteral("1"));
  for (const char* sub : {"/b1", "/b2"}) {
    QDir().mkpath(folder19 + QLatin1String(sub));
    ASSERT_TRUE(
        QFile::copy(root.dataSets.at(0).database, folder19 + QLatin1String(sub) + QStringLiteral("/wqacc2.fdb")));
  }
  namedCopy(20, QStringLiteral("最後"));
  // Slot 18 is named but its database has gone.
  exec(QStringLiteral("UPDATE DATALIST SET ENTTEXT='消えた',SHOUGOU='消えた社' WHERE REC=18"));
  // The list says something old about the general sample.
  exec(QStringLiteral("UPDATE DATALIST SET SHOUGOU='古い' WHERE REC=%1").arg(root.dataSets.at(0).rec));

  ASSERT_TRUE(open(QStringList{"SyoriType=0", "FormStyle=2"}));
  testenv::ScopedModelTester tester(box->Model());
  const int before = box->RowCount();
  QTest::mouseClick(box->RefreshButton(), Qt::LeftButton);
  EXPECT_EQ(boxes.join('|'), QStringLiteral("データリストの更新を行います。\nよろしいですか？"));
  EXPECT_EQ(box->RefreshProgress(), nullptr);
  EXPECT_TRUE(box->isEnabled());
  ASSERT_EQ(box->RowCount(), before + 2);

  const int parent = rowOfRec(19);
  ASSERT_GE(parent, 0);
  EXPECT_EQ(box->GetRowDataRec(parent).GassanDataKbn, 1);
  for (int k = 0; k < 2; ++k) {
    const int row = parent + 1 + k;
    EXPECT_TRUE(box->Model()->Row(row).IsMember());
    EXPECT_EQ(box->Model()->Row(row).Member, k);
    EXPECT_TRUE(
        box->Model()->Text(row, dscol::Name).startsWith(QStringLiteral("%1 ").arg(k + 1, 2, 10, QLatin1Char('0'))))
        << box->Model()->Text(row, dscol::Name).toStdString();
    EXPECT_EQ(box->GetRowDataPath(row), folder19 + (k == 0 ? QStringLiteral("/b1") : QStringLiteral("/b2")));
  }
  EXPECT_EQ(rowOfRec(20), parent + 3);  // the last row stays after the members
  const int gone = rowOfRec(18);
  EXPECT_TRUE(box->Model()->Text(gone, dscol::Name).isEmpty());
  EXPECT_EQ(box->Model()->Text(gone, dscol::Kikan), QStringLiteral("～"));
  EXPECT_EQ(box->GetRowDataRec(rowOfRec(root.dataSets.at(0).rec)).Shougou, root.dataSets.at(0).shougou);
  EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM CHILD_DATALIST WHERE REC=19")), QStringLiteral("2"));

  // Dropping all members (before a paste or restore) clears the rows, the
  // list rows and the local member folders.
  box->RemoveChildRows(parent + 1, true);
  EXPECT_EQ(box->RowCount(), before);
  EXPECT_EQ(rowOfRec(20), parent + 1);
  EXPECT_FALSE(QDir(folder19 + QStringLiteral("/b1")).exists());
  EXPECT_TRUE(QFile::exists(folder19 + QStringLiteral("/wqacc2.fdb")));
  EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM CHILD_DATALIST WHERE REC=19")), QStringLiteral("0"));
  EXPECT_TRUE(hook.texts.isEmpty()) << hook.texts.join('|').toStdString();
}

TEST_F(DataSentakuRefreshDialog, AListWithoutAnyRegisteredCompanyIsRefreshedAtTheStart)
{
  exec(QStringLiteral("UPDATE DATALIST SET SHOUGOU=''"));
  struct Case {
    const char* lines;
    bool refreshed;
  } cases[] = {
      {"SyoriType=3", false},  // only the start of a program refreshes
      {"SyoriType=0", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines);
    ASSERT_TRUE(open(QStringList{QString::fromUtf8(c.lines), "FormStyle=2"}));
    const TDataListRec general = box->GetRowDataRec(rowOfRec(root.dataSets.at(0).rec));
    EXPECT_EQ(general.Shougou, c.refreshed ? root.dataSets.at(0).shougou : QString());
    delete box.data();
  }
}

TEST_F(DataSentakuRefreshDialog, AMemberWhoseDatabaseWentLeavesAndTheOthersKeepTheirPlace)
{
  const QString folder = SystemFixture::dataFolder(root.root, 17);
  namedCopy(17, QStringLiteral("合算"), 1);
  setAccReg(folder + QStringLiteral("/wqacc2.fdb"), QStringLiteral("1"));
  for (const char* sub : {"/m1", "/m2", "/m3"}) {
    QDir().mkpath(folder + QLatin1String(sub));
    ASSERT_TRUE(QFile::copy(root.dataSets.at(0).database, folder + QLatin1String(sub) + QStringLiteral("/wqacc2.fdb")));
  }
  ASSERT_TRUE(open(QStringList{"SyoriType=0", "FormStyle=2"}));
  testenv::ScopedModelTester tester(box->Model());
  const int parent = rowOfRec(17);
  ASSERT_GE(parent, 0);
  box->DataListRefresh(parent);
  ASSERT_TRUE(box->Model()->Row(parent + 3).IsMember());
  ASSERT_TRUE(QFile::remove(folder + QStringLiteral("/m2/wqacc2.fdb")));
  box->DataListRefresh(parent + 2);
  // The remaining members are drawn again with their new positions.
  for (int k = 0; k < 2; ++k) {
    const int row = parent + 1 + k;
    EXPECT_EQ(box->Model()->Row(row).Member, k);
    EXPECT_EQ(box->GetRowDataPath(row), folder + (k == 0 ? QStringLiteral("/m1") : QStringLiteral("/m3")));
  }
  EXPECT_FALSE(box->Model()->Row(parent + 3).IsMember());
}

TEST_F(DataSentakuRefreshDialog, CancellingTheListUpdateStopsIt)
{
  for (int rec = 3; rec <= 20; ++rec)
    exec(QStringLiteral("UPDATE DATALIST SET ENTTEXT='n%1',SHOUGOU='s%1' WHERE REC=%1").arg(rec));
  ASSERT_TRUE(open(QStringList{"SyoriType=0", "FormStyle=2"}));
  // The cancel button is pressed as soon as the progress box shows it.
  QTimer press;
  int presses = 0;
  QObject::connect(&press, &QTimer::timeout, [this, &presses] {
    TxAnimeProgressDialog* p = box ? box->RefreshProgress() : nullptr;
    if (presses == 0 && p && p->CancelButton() && p->CancelButton()->isVisible()) {
      ++presses;
      QTest::mouseClick(p->CancelButton(), Qt::LeftButton);
    }
  });
  press.start(0);
  QTest::mouseClick(box->RefreshButton(), Qt::LeftButton);
  press.stop();
  EXPECT_EQ(presses, 1);
  EXPECT_EQ(box->RefreshProgress(), nullptr);
  // The rows after the cancel keep their (stale) names.
  EXPECT_EQ(box->Model()->Text(rowOfRec(20), dscol::Name), QStringLiteral("n20"));
  EXPECT_EQ(value(QStringLiteral("SELECT ENTTEXT FROM DATALIST WHERE REC=20 AND GROUPID=10000")),
            QStringLiteral("n20"));
}

TEST_F(DataSentakuRefreshDialog, ClosingStoresTheSystemDefinitionsExceptWhenChoosingANewYearsPlace)
{
  exec(QStringLiteral("INSERT INTO SYSDEF (OPCODE,DataDir) VALUES (%1,'before')").arg(SystemDef.OPCODE));
  struct Case {
    const char* lines;
    int autoCopyDuring;
    const char* stored;
  } cases[] = {
      {"SyoriType=2", 0, "before"},
      {"SyoriType=5", 1, "before"},
      {"SyoriType=0", 1, "/chosen/before"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines);
    SystemDef.IBPATHDAT = QStringLiteral("/chosen/before");
    SystemDef.KyoyuDataAutoCopy = 1;
    ASSERT_TRUE(open(QStringList{QString::fromUtf8(c.lines), "FormStyle=2"}));
    EXPECT_EQ(SystemDef.KyoyuDataAutoCopy, c.autoCopyDuring);
    QTest::keyRelease(box->Grid(), Qt::Key_Escape);
    EXPECT_FALSE(box->isVisible());
    EXPECT_EQ(SystemDef.KyoyuDataAutoCopy, 1);
    EXPECT_EQ(value(QStringLiteral("SELECT DataDir FROM SYSDEF WHERE OPCODE=%1").arg(SystemDef.OPCODE)),
              QString::fromUtf8(c.stored));
    delete box.data();
  }
}

TEST_F(DataSentakuRefreshDialog, TheNewYearsPlaceChoiceOpensTheCarriedDataAgain)
{
  const sample::DataSet& general = root.dataSets.at(0);
  SystemDef.IBPATHDAT = general.folder;
  SystemDef.IBPATHDAT_Kyoyu = general.folder;
  ASSERT_TRUE(dm->fnAccDatConnected(QString(), general.folder, false));
  ASSERT_TRUE(open(QStringList{"SyoriType=2", "FormStyle=2"}));
  // A refresh may close the company connection; the close opens it again.
  dm->fnAccDatDisConnected(general.folder, false, false, false);
  const int row = rowOfRec(5);
  box->FocusRow(row);
  box->ChooseFocused();
  EXPECT_EQ(box->result(), mrOk);
  EXPECT_TRUE(dm->IBDatabaseDAT.isConnected());
  EXPECT_TRUE(dm->IBDatabaseDAT.databaseName().contains(general.folder));
}

TEST_F(DataSentakuRefreshDialog, TakeOutModeRefusesCloudDataAndLeavesTheOpenDataAlone)
{
  const sample::DataSet& general = root.dataSets.at(0);
  const sample::DataSet& medical = root.dataSets.at(1);
  exec(QStringLiteral("UPDATE DATALIST SET CLOUD=1 WHERE REC=%1").arg(medical.rec));
  SystemDef.IBPATHDAT = QStringLiteral("/open/before");
  SystemDef.OneTimeDataPath = QStringLiteral("old");
  ASSERT_TRUE(open(QStringList{"SyoriType=5", "OnlySA_Syori=Backup", "OnlySA_BackupPath=/media/x", "FormStyle=2"}));
  EXPECT_TRUE(SystemDef.OneTimeDataPath.isEmpty());
  for (int k = 1; k <= 8; ++k)
    EXPECT_EQ(box->FuncCaption(k), QStringLiteral("F%1:").arg(k));
  struct Case {
    int rec;
    const char* box;
  } cases[] = {
      {medical.rec, "クラウドシェアデータのため選択できません。他の場所を選んで下さい。"},
      {general.rec, "「保存」はこのバージョンではまだ使用できません。"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rec);
    boxes.clear();
    box->FocusRow(rowOfRec(c.rec));
    box->ChooseFocused();
    EXPECT_EQ(boxes.join('|'), QString::fromUtf8(c.box));
    EXPECT_TRUE(box->isVisible());
    EXPECT_TRUE(box->DataPath().isEmpty());
    EXPECT_EQ(SystemDef.IBPATHDAT, QStringLiteral("/open/before"));
  }
}

// ---------------------------------------------------------------- data places

class DataPlacesDialog : public DataSentakuRefreshDialog {
 protected:
  void SetUp() override
  {
    DataSentakuRefreshDialog::SetUp();
    osaka = tmp.file(QStringLiteral("osaka"));
    closeDataModule();
    {
      db::Database sysDb;
      testfx::builder().open(sysDb, root.systemDb);
      SystemFixture sys(sysDb);
      sys.addDataPlace(3, QStringLiteral("大阪"), osaka, 4, 2);
      DataSetSpec s;
      s.rec = 2;
      s.dataPlaceRec = 3;
      s.path = osaka + QStringLiteral("/0002");
      s.listName = QStringLiteral("大阪データ");
      s.shougou = QStringLiteral("大阪商事");
      sys.registerDataSet(s);
    }
    // Client/server use against the test server (which then holds the files).
    FirebirdServer::shared();
    AppType = jxatCS;
    SystemDef.SERVERNAME = QStringLiteral("localhost");
    openDataModule();
    ASSERT_FALSE(HasFatalFailure());
    exec(QStringLiteral(
             "UPDATE OR INSERT INTO DATAPLACEMAN (REC,ORDERKBN,NAME,PATH) VALUES (0,1,'標準','%1') MATCHING (REC)")
             .arg(root.root));
    // A named place without data-list rows.
    exec(QStringLiteral(
             "UPDATE OR INSERT INTO DATAPLACEMAN (REC,ORDERKBN,NAME,PATH) VALUES (5,3,'空','%1/empty') MATCHING (REC)")
             .arg(tmp.path()));
  }
  QStringList comboItems() const
  {
    QStringList s;
    for (int i = 0; i < box->PlaceCombo()->count(); ++i)
      s << box->PlaceCombo()->itemText(i);
    return s;
  }
  void choose(int index)
  {
    box->PlaceCombo()->setCurrentIndex(index);
    emit box->PlaceCombo()->activated(index);
  }
  QString osaka;
};

TEST_F(DataPlacesDialog, ChoosingAPlaceShowsItsListWhenTheComboIsLeft)
{
  ASSERT_TRUE(open(QStringList{"SyoriType=0", "FormStyle=2"}));
  EXPECT_TRUE(box->PlaceCombo()->isVisible());
  EXPECT_EQ(comboItems(), (QStringList{"標準", "大阪", "空"}));
  EXPECT_EQ(box->PlaceCombo()->currentIndex(), 0);
  EXPECT_EQ(box->DataPlaceRec(), 0);
  const int rootRows = box->RowCount();
  EXPECT_EQ(rootRows, sample::DataSlotCount);

  choose(1);
  // Nothing is read yet; the list and its keys rest.
  EXPECT_FALSE(box->Grid()->isEnabled());
  EXPECT_FALSE(box->SearchButton()->isEnabled());
  EXPECT_EQ(box->FuncCaption(12), QStringLiteral("F12:"));
  EXPECT_EQ(box->FuncCaption(8), QStringLiteral("F8:"));
  EXPECT_EQ(box->RowCount(), rootRows);
  box->DataPlaceLeave();
  EXPECT_TRUE(box->Grid()->isEnabled());
  EXPECT_EQ(box->DataPlaceRec(), 3);
  EXPECT_EQ(box->DataPlacePath(), osaka);
  ASSERT_EQ(box->RowCount(), 4);
  EXPECT_EQ(box->GetRowDataRec(1).DataListName, QStringLiteral("大阪データ"));
  EXPECT_EQ(box->GetRowDataRec(1).DataPath, osaka + QStringLiteral("/0002"));
  box->grab().save(shotPath(QStringLiteral("data_sentaku_place.png")));

  // A place without data sets keeps the rows shown before.
  choose(2);
  box->DataPlaceLeave();
  EXPECT_EQ(box->DataPlaceRec(), 5);
  EXPECT_EQ(box->RowCount(), 4);

  // The place shown last is kept for the next start.
  choose(1);
  box->DataPlaceLeave();
  QTest::keyRelease(box->Grid(), Qt::Key_Escape);
  EXPECT_EQ(SystemDef.DataPlaceRec, 3);
  delete box.data();
  ASSERT_TRUE(open(QStringList{"SyoriType=0", "FormStyle=2"}));
  EXPECT_EQ(box->PlaceCombo()->currentIndex(), 1);
  EXPECT_EQ(box->RowCount(), 4);
}

TEST_F(DataPlacesDialog, TheSettingButtonTakesTheNamesAgainAndFallsBackWhenThePlaceWasDeleted)
{
  SystemDef.DataPlaceRec = 3;
  ASSERT_TRUE(open(QStringList{"SyoriType=0", "FormStyle=2"}));
  ASSERT_EQ(box->DataPlaceRec(), 3);
  struct Step {
    const char* what;
    std::function<void(TDataPlaceBox*)> act;
    QStringList items;
    int place;
    int rows;
  } steps[] = {
      {"rename",
       [](TDataPlaceBox* b) {
         b->InputShow = [](const QString&, const QString&, const QString&, QString& text) {
           text = QStringLiteral(" 大阪支社 ");
           return true;
         };
         b->FocusRow(b->RecToIndex(3));
         b->Rename();
       },
       {"標準", "大阪支社", "空"},
       3,
       4},
      {"delete the place shown",
       [](TDataPlaceBox* b) {
         b->FocusRow(b->RecToIndex(3));
         b->Remove();
       },
       {"標準", "空"},
       0,
       sample::DataSlotCount},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.what);
    QTimer::singleShot(0, [&s] {
      for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* b = qobject_cast<TDataPlaceBox*>(w); b && b->isVisible()) {
          s.act(b);
          QTest::mouseClick(b->Button(0), Qt::LeftButton);
        }
    });
    QTest::mouseClick(box->PlaceButton(), Qt::LeftButton);
    EXPECT_EQ(comboItems(), s.items);
    EXPECT_EQ(box->DataPlaceRec(), s.place);
    EXPECT_EQ(box->PlaceCombo()->currentText(), s.items.value(s.place == 3 ? 1 : 0));
    EXPECT_EQ(box->RowCount(), s.rows);
  }
  EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM DATALIST_EX WHERE DATAPLACEREC=3")), QStringLiteral("0"));
}

// The data places dialog itself (stand-alone file operations).
TEST_F(DataPlacesDialog, TheListUpdateInClientServerUseNumbersAddedRowsAgainAndAsksTheServer)
{
  for (int rec : {21, 23})
    exec(QStringLiteral(
             "INSERT INTO DATALIST (REC,GROUPID,PASNAME,ENTTEXT,SHOUGOU) VALUES (%1,10000,'%2/%1','a%1','b%1')")
             .arg(rec)
             .arg(root.root));
  exec(QStringLiteral("UPDATE DATALIST SET ENTTEXT='消えた',SHOUGOU='消えた社' WHERE REC=12"));
  exec(QStringLiteral("UPDATE DATALIST SET SHOUGOU='古い' WHERE REC=%1").arg(root.dataSets.at(0).rec));
  ASSERT_TRUE(open(QStringList{"SyoriType=0", "FormStyle=2"}));
  ASSERT_EQ(box->RowCount(), sample::DataSlotCount + 2);
  QTest::mouseClick(box->RefreshButton(), Qt::LeftButton);
  ASSERT_EQ(box->RowCount(), sample::DataSlotCount + 2);
  EXPECT_GE(rowOfRec(22), 0);
  EXPECT_EQ(rowOfRec(23), -1);
  EXPECT_EQ(value(QStringLiteral("SELECT LIST(REC) FROM DATALIST WHERE GROUPID=10000 AND REC>20")),
            QStringLiteral("21,22"));
  // Rows whose database the server does not report are free slots now.
  EXPECT_TRUE(box->Model()->Text(rowOfRec(12), dscol::Name).isEmpty());
  EXPECT_TRUE(box->Model()->Text(rowOfRec(22), dscol::Name).isEmpty());
  // A data set the server reports is read through it.
  EXPECT_EQ(box->GetRowDataRec(rowOfRec(root.dataSets.at(0).rec)).Shougou, root.dataSets.at(0).shougou);
  EXPECT_EQ(
      value(QStringLiteral("SELECT SHOUGOU FROM DATALIST WHERE GROUPID=10000 AND REC=%1").arg(root.dataSets.at(0).rec)),
      root.dataSets.at(0).shougou);
  EXPECT_TRUE(hook.texts.isEmpty()) << hook.texts.join('|').toStdString();
}

class DataPlaceBoxTest : public DataSentakuRefreshDialog {
 protected:
  void SetUp() override
  {
    DataSentakuRefreshDialog::SetUp();
    exec(QStringLiteral("DELETE FROM DATAPLACEMAN"));
    place = std::make_unique<TDataPlaceBox>();
    place->SetPrepar(true);
    place->InputShow = [this](const QString& title, const QString&, const QString&, QString& text) {
      titles << title;
      text = answer;
      return true;
    };
  }
  void TearDown() override
  {
    place.reset();
    DataSentakuRefreshDialog::TearDown();
  }
  std::unique_ptr<TDataPlaceBox> place;
  QStringList titles;
  QString answer;
};

TEST_F(DataPlaceBoxTest, CaptionsFollowTheFocusedPlace)
{
  ASSERT_EQ(place->Model()->rowCount(), 100);
  place->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(place.get()));
  place->grab().save(shotPath(QStringLiteral("data_basyo.png")));
  struct Case {
    int row;
    const char* f2;
    const char* f3;
    const char* f5;
    bool up;
    bool down;
  } cases[] = {
      {0, "F2:", "F3:名称変更", "F5:", false, true},  // the root place is never deleted
      {1, "F2:新規作成", "F3:", "F5:", true, true},   // a free slot can only be named
      {99, "F2:新規作成", "F3:", "F5:", true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    place->FocusRow(c.row);
    EXPECT_EQ(place->Caption(2), QString::fromUtf8(c.f2));
    EXPECT_EQ(place->Caption(3), QString::fromUtf8(c.f3));
    EXPECT_EQ(place->Caption(5), QString::fromUtf8(c.f5));
    EXPECT_EQ(place->Button(20)->isEnabled(), c.up);
    EXPECT_EQ(place->Button(21)->isEnabled(), c.down);
  }
  // An off key does nothing.
  place->FocusRow(1);
  place->Rename();
  place->Remove();
  EXPECT_TRUE(titles.isEmpty());
  EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(DataPlaceBoxTest, NamingDeletingAndMovingPlaces)
{
  const QString folder2 = root.root + QStringLiteral("02");
  const QString folder3 = root.root + QStringLiteral("03");
  QDir().mkpath(folder3);  // already on the data server
  testenv::ScopedModelTester tester(place->Model());
  struct Case {
    const char* what;
    int row;
    QString answer;
    std::function<void()> act;
    const char* box;
    const char* stored;  // NAME of the row's place afterwards
  } cases[] = {
      {"an empty name", 2, QStringLiteral("　 "), [this] { place->NewName(); }, "名称が入力されていません。", ""},
      {"a new place", 2, QStringLiteral("支店"), [this] { place->NewName(); }, "", "支店"},
      {"a folder that exists", 3, QStringLiteral("既存"), [this] { place->NewName(); },
       "既にデータサーバーにフォルダが作成されています。", "既存"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    boxes.clear();
    answer = c.answer;
    place->FocusRow(c.row);
    c.act();
    EXPECT_EQ(boxes.join('|'), QString::fromUtf8(c.box));
    EXPECT_EQ(value(QStringLiteral("SELECT NAME FROM DATAPLACEMAN WHERE REC=%1").arg(c.row)),
              QString::fromUtf8(c.stored));
    EXPECT_EQ(place->Model()->Text(c.row, dpcol::Name), QString::fromUtf8(c.stored)) << "the row shows what is stored";
  }
  EXPECT_TRUE(QDir(folder2).exists());
  EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM DATALIST_EX WHERE DATAPLACEREC=2 AND GROUPID=10000")),
            QStringLiteral("20"));

  // A place whose data-set folder exists is not deleted.
  QDir().mkpath(folder2 + QStringLiteral("/0001"));
  boxes.clear();
  place->FocusRow(2);
  place->Remove();
  EXPECT_TRUE(boxes.join('|').startsWith(
      QStringLiteral("このフォルダ配下には会計データが存在しているため削除することが出来ません。")));
  EXPECT_EQ(value(QStringLiteral("SELECT NAME FROM DATAPLACEMAN WHERE REC=2")), QStringLiteral("支店"));
  // Without it, after the question, the name and the rows go; the folder stays.
  QDir(folder2 + QStringLiteral("/0001")).removeRecursively();
  boxes.clear();
  confirmAnswer = mrCancel;
  place->Remove();
  EXPECT_EQ(boxes.join('|'), QStringLiteral("[支店]を削除します。よろしいですか？"));
  EXPECT_EQ(value(QStringLiteral("SELECT NAME FROM DATAPLACEMAN WHERE REC=2")), QStringLiteral("支店"));
  confirmAnswer = mrOk;
  place->Remove();
  EXPECT_TRUE(value(QStringLiteral("SELECT NAME FROM DATAPLACEMAN WHERE REC=2")).isEmpty());
  EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM DATALIST_EX WHERE DATAPLACEREC=2")), QStringLiteral("0"));
  EXPECT_TRUE(QDir(folder2).exists());

  // Moving the place of row 3 up twice: the focus follows it.
  place->FocusRow(3);
  place->Move(-1);
  place->Move(-1);
  EXPECT_EQ(place->FocusedRow(), 1);
  EXPECT_EQ(place->Model()->Text(1, dpcol::Name), QStringLiteral("既存"));
  EXPECT_EQ(
      value(QStringLiteral("SELECT LIST(REC, ',') FROM (SELECT REC FROM DATAPLACEMAN ORDER BY ORDERKBN,REC ROWS 4)")),
      QStringLiteral("0,3,1,2"));
  EXPECT_FALSE(dm->IBTransactionDEF.inTransaction());
}

}  // namespace
