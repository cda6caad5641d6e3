// The data-selection dialog's status side: the folder status behind the
// lock column and the choice in client/server use (against the test
// server), the side buttons' states for the focused row and the period
// shown for a row without dates (stand-alone).
#include <gtest/gtest.h>
#include <memory>

#include <QCheckBox>
#include <QDir>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "common/AccRecord.h"
#include "common/DataInfomation.h"
#include "common/DataModule.h"
#include "common/MessageHook.h"
#include "datasel/dialogs/DataSentaku.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "tests/support/DataModuleEnv.h"
#include "tests/support/FirebirdServer.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TempDir.h"
#include "ui/AccInterface.h"
#include "ui/ModalResult.h"
#include "ui/tests/UiTestUtil.h"
#include "ui/z5MessageDlg2.h"

namespace {

using namespace fixtures;

QString shotPath(const QString& name)
{
  return uitest::screenshotDir() + QLatin1Char('/') + name;
}

class DataSentakuStatus : public testenv::DataModuleTest {
 protected:
  // AServer: client/server use against the test server.
  void prepare(bool AServer)
  {
    // The installation's own data folder is "…/DATA": its data sets are rows
    // of DATALIST.
    root = testfx::makeDataRoot(tmp.file(QStringLiteral("DATA")));
    setUpDataModule({.root = root.root,
                     .logFile = tmp.file("log"),
                     .operatorName = true,
                     .dataFile = QStringLiteral("wqacc2.fdb"),
                     .dataListCnt = sample::DataSlotCount,
                     .connect = false});
    SystemDef.AppName = QStringLiteral("連動");
    if (AServer) {
      FirebirdServer::shared();
      AppType = jxatCS;
      SystemDef.SERVERNAME = QStringLiteral("localhost");
    }
    pcSetMessageBox2Hook([this](TMessage2InfoRec& info) {
      QStringList lines;
      for (const auto& c : info.Caption)
        if (!c.Text.isEmpty())
          lines << c.Text;
      boxes << lines.join(QLatin1Char('\n'));
      return mrOk;
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
  TDataSentakuBox* open()
  {
    box = qobject_cast<TDataSentakuBox*>(FormClassLookup(QStringLiteral("DuRoziZuvurad")));
    EXPECT_NE(box, nullptr);
    if (!box)
      return nullptr;
    box->SetManualFree(true);
    box->StatusBoxShow = [this](TMessageInfoRec& r) {
      statusBoxes << r.WindowTitle + QLatin1Char('\n') + r.MainCaption + QLatin1Char('\n') +
                         r.MessageCaption.join(QLatin1Char('\n'));
      return mrOk;
    };
    box->SetOptions(QStringList{"SyoriType=0", "FormStyle=2"});
    box->SetPrepare(true);
    box->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(box));
    return box;
  }
  int rowOfRec(int rec) const
  {
    for (int r = 0; r < box->RowCount(); ++r)
      if (box->Model()->Row(r).Data.Rec == rec && !box->Model()->Row(r).IsMember())
        return r;
    return -1;
  }
  int storedLock(int rec)
  {
    db::Transaction tr(dm->IBDatabaseDEF);
    tr.start();
    db::Query q(tr, QStringLiteral("SELECT DATALOCK FROM DATALIST WHERE GROUPID=:G AND REC=:R"));
    q.setParam(QStringLiteral("G"), sample::GroupId);
    q.setParam(QStringLiteral("R"), rec);
    q.open();
    const int v = q.eof() ? -1 : q.field(0).asInt();
    q.close();
    tr.commit();
    return v;
  }
  QPushButton* button(const QString& caption) const
  {
    for (QPushButton* b : box->findChildren<QPushButton*>())
      if (b->text() == caption)
        return b;
    ADD_FAILURE() << caption.toStdString();
    return nullptr;
  }
  void clickLock(int row)
  {
    box->Grid()->scrollTo(box->Model()->index(row, dscol::Kagi));
    const QRect rect = box->Grid()->visualRect(box->Model()->index(row, dscol::Kagi));
    QTest::mouseClick(box->Grid()->viewport(), Qt::LeftButton, {}, rect.center());
  }

  TestTempDir tmp;
  sample::DataRoot root;
  QPointer<TDataSentakuBox> box;
  QStringList boxes;
  QStringList statusBoxes;
};

// ---------------------------------------------------------------- client/server

class DataSentakuStatusServer : public DataSentakuStatus {
 protected:
  void SetUp() override { prepare(true); }
};

TEST_F(DataSentakuStatusServer, LockColumnInClientServerUseNeverReplacesAnotherOperatorsLock)
{
  const sample::DataSet& general = root.dataSets.at(0);
  const sample::DataSet& medical = root.dataSets.at(1);
  // The clerk holds the medical data set: the lock lives in the list table.
  exec(QStringLiteral("UPDATE DATALIST SET DATALOCK=%1 WHERE REC=%2").arg(sample::ClerkCode).arg(medical.rec));
  ASSERT_TRUE(open());
  const int mrow = rowOfRec(medical.rec);
  const int grow = rowOfRec(general.rec);
  ASSERT_GE(mrow, 0);
  ASSERT_GE(grow, 0);

  // Another operator's lock: refused with the holder's details, kept.
  clickLock(mrow);
  ASSERT_EQ(statusBoxes.size(), 1);
  EXPECT_EQ(statusBoxes[0],
            QStringList({"ロックデータの状態", "このデータは違うオペレータによりロックされているため解除は行えません。",
                         "【データフォルダ】", "　" + medical.folder, "", "【オペレータ】",
                         "　" + QString::number(sample::ClerkCode), "", "【オペレータ名】", "　" + sample::clerkName()})
                .join('\n'));
  EXPECT_EQ(box->GetRowDataRec(mrow).DataLock, sample::ClerkCode);
  EXPECT_FALSE(box->Model()->Text(mrow, dscol::Kagi).isEmpty());
  EXPECT_EQ(storedLock(medical.rec), sample::ClerkCode);

  // A free data set is locked for this operator, and the status read back
  // is that lock.
  clickLock(grow);
  EXPECT_EQ(box->GetRowDataRec(grow).DataLock, sample::OperatorCode);
  EXPECT_FALSE(box->Model()->Text(grow, dscol::Kagi).isEmpty());
  EXPECT_EQ(storedLock(general.rec), sample::OperatorCode);
  EXPECT_EQ(box->DataStatusCheck(general.folder, true, false), jxdsLock);
  box->grab().save(shotPath(QStringLiteral("data_sentaku_server.png")));

  // One's own lock is released.
  clickLock(grow);
  EXPECT_EQ(box->GetRowDataRec(grow).DataLock, 0);
  EXPECT_TRUE(box->Model()->Text(grow, dscol::Kagi).isEmpty());
  EXPECT_EQ(storedLock(general.rec), 0);
  EXPECT_EQ(box->DataStatusCheck(general.folder, true, false), jxdsNone);
  EXPECT_EQ(statusBoxes.size(), 1);
  EXPECT_TRUE(boxes.isEmpty()) << boxes.join('|').toStdString();
}

TEST_F(DataSentakuStatusServer, TheChoiceRefusesADataSetAnotherOperatorLockedInTheList)
{
  const sample::DataSet& general = root.dataSets.at(0);
  const sample::DataSet& medical = root.dataSets.at(1);
  exec(QStringLiteral("UPDATE DATALIST SET DATALOCK=%1 WHERE REC=%2").arg(sample::ClerkCode).arg(medical.rec));
  SystemDef.IBPATHDAT = QStringLiteral("/open/before");
  ASSERT_TRUE(open());

  box->FocusRow(rowOfRec(medical.rec));
  box->ChooseFocused();
  ASSERT_EQ(statusBoxes.size(), 1);
  EXPECT_TRUE(statusBoxes[0].startsWith(
      QStringLiteral("選択データの状態\nこのデータは%1のため処理が行えません。").arg(fnDataStatusName(int(jxdsLock)))))
      << statusBoxes[0].toStdString();
  EXPECT_TRUE(statusBoxes[0].contains(QStringLiteral("　") + sample::clerkName()));
  EXPECT_TRUE(box->isVisible());
  EXPECT_TRUE(box->DataPath().isEmpty());
  EXPECT_EQ(SystemDef.IBPATHDAT, QStringLiteral("/open/before"));
  EXPECT_EQ(storedLock(medical.rec), sample::ClerkCode);

  // A free data set is still chosen.
  box->FocusRow(rowOfRec(general.rec));
  box->ChooseFocused();
  EXPECT_EQ(statusBoxes.size(), 1);
  EXPECT_EQ(SystemDef.IBPATHDAT, general.folder);
}

// ---------------------------------------------------------------- stand-alone

class DataSentakuStatusLocal : public DataSentakuStatus {
 protected:
  void SetUp() override { prepare(false); }
};

TEST_F(DataSentakuStatusLocal, SideButtonsFollowTheFocusedRow)
{
  const sample::DataSet& general = root.dataSets.at(0);
  const sample::DataSet& medical = root.dataSets.at(1);
  // Slots 5 to 8 are entries of a share server: not held, held, an empty
  // area, and one held whose name is blank. Slot 12 stays free.
  const QString share = tmp.file(QStringLiteral("share"));
  struct ShareRow {
    int rec;
    const char* name;
    int held;
  } shares[] = {{5, "共有一", 0}, {6, "共有二", 1}, {7, "空き領域", 0}, {8, "新しい領域", 1}};
  for (const auto& s : shares)
    exec(QStringLiteral("UPDATE DATALIST SET ENTTEXT='%1',SHOUGOU='%1社',NETDRIVE=1,KYOYULOCK=%2,VER_MAJOR=17,"
                        "PASNAME='%3/%4' WHERE REC=%4")
             .arg(QString::fromUtf8(s.name))
             .arg(s.held)
             .arg(share)
             .arg(s.rec));
  exec(QStringLiteral("UPDATE DATALIST SET DATA_STATUS=1 WHERE REC=%1").arg(medical.rec));
  ASSERT_TRUE(open());
  QPushButton* get = button(QStringLiteral("共有取得"));
  QPushButton* put = button(QStringLiteral("共有保管"));
  QPushButton* cloud = button(QStringLiteral("ｸﾗｳﾄﾞ"));
  QPushButton* ikou = button(QStringLiteral("ﾃﾞｰﾀ移行"));
  ASSERT_TRUE(get && put && cloud && ikou);

  struct Case {
    const char* what;
    int rec;
    bool get, put, cloud, ikou;
  } cases[] = {
      {"local data set", general.rec, false, false, true, false},
      {"damaged local data set", medical.rec, false, false, false, false},
      {"free local slot", 12, true, false, false, true},
      {"share entry not held", 5, true, false, true, false},
      {"share entry held", 6, false, true, true, false},
      {"empty share area", 7, false, false, true, false},
      {"new share area", 8, false, false, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const int row = rowOfRec(c.rec);
    ASSERT_GE(row, 0);
    box->FocusRow(row);
    EXPECT_EQ(get->isEnabled(), c.get);
    EXPECT_EQ(put->isEnabled(), c.put);
    EXPECT_EQ(cloud->isEnabled(), c.cloud);
    EXPECT_EQ(ikou->isEnabled(), c.ikou);
  }
  EXPECT_EQ(box->FuncCaption(12), QStringLiteral("F12:選択"));
  box->FocusRow(rowOfRec(medical.rec));
  EXPECT_EQ(box->FuncCaption(12), QStringLiteral("F12:"));

  // With the automation ticked the two share buttons keep their state.
  box->FocusRow(rowOfRec(6));
  QCheckBox* automation = nullptr;
  for (QCheckBox* c : box->findChildren<QCheckBox*>())
    if (c->text() == QStringLiteral("共有データの取得と保管を自動化する"))
      automation = c;
  ASSERT_NE(automation, nullptr);
  automation->setChecked(true);
  box->FocusRow(rowOfRec(5));
  EXPECT_FALSE(get->isEnabled());
  EXPECT_TRUE(put->isEnabled());
  EXPECT_TRUE(cloud->isEnabled());
  automation->setChecked(false);
  box->FocusRow(rowOfRec(6));
  box->FocusRow(rowOfRec(5));
  EXPECT_TRUE(get->isEnabled());

  // Pressed, each says plainly that it is not available yet.
  box->FocusRow(rowOfRec(12));
  const struct {
    QPushButton* b;
    const char* name;
  } pressed[] = {{get, "共有取得"}, {ikou, "データ移行"}};
  for (const auto& p : pressed) {
    boxes.clear();
    QTest::mouseClick(p.b, Qt::LeftButton);
    EXPECT_EQ(
        boxes,
        QStringList{QStringLiteral("「%1」はこのバージョンではまだ使用できません。").arg(QString::fromUtf8(p.name))});
  }
  box->FocusRow(rowOfRec(6));
  for (QPushButton* b : {put, cloud}) {
    boxes.clear();
    QTest::mouseClick(b, Qt::LeftButton);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].endsWith(QStringLiteral("」はこのバージョンではまだ使用できません。")));
  }
}

TEST_F(DataSentakuStatusLocal, ARowWithoutDatesShowsABarePeriod)
{
  const sample::DataSet& general = root.dataSets.at(0);
  const sample::DataSet& medical = root.dataSets.at(1);
  exec(QStringLiteral("UPDATE DATALIST SET KISHU=NULL,KIMATU=NULL WHERE REC=%1").arg(medical.rec));
  ASSERT_TRUE(open());
  const int mrow = rowOfRec(medical.rec);
  const int grow = rowOfRec(general.rec);
  ASSERT_GE(mrow, 0);
  ASSERT_GE(grow, 0);
  EXPECT_FALSE(box->Model()->Text(mrow, dscol::Name).isEmpty());
  EXPECT_EQ(box->Model()->Text(mrow, dscol::Kikan), QStringLiteral("～"));
  EXPECT_EQ(box->GetRowDataRec(mrow).Kikan, QStringLiteral("～"));
  const QString dated = box->Model()->Text(grow, dscol::Kikan);
  EXPECT_TRUE(dated.startsWith(general.kishu.toString(QStringLiteral("yyyy/MM/dd")) + QStringLiteral(" ～ ")))
      << dated.toStdString();
  EXPECT_EQ(box->Model()->Text(rowOfRec(12), dscol::Kikan), QStringLiteral("～"));
}

}  // namespace
