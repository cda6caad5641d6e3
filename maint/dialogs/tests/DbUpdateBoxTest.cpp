// The update screen: the layout of each kind, the agreement, the list of
// pending steps with their descriptions and states, and OK with nothing to
// run ending in the kind's error box.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTableView>
#include <QTextEdit>

#include "maint/dialogs/DbUpdateBox.h"
#include "tests/support/DataModuleEnv.h"
#include "ui/xCheckBox.h"
#include "ui/xPlButton.h"
#include "ui/z5MessageDlg2.h"

namespace {

class DbUpdateBoxTest : public testenv::SharedDataRootTest<DbUpdateBoxTest> {
 protected:
  void SetUp() override
  {
    testenv::DataModuleSetup setup;
    setup.root = root->root;
    setup.logFile = tmp->file("log");
    setup.tempFolder = work.file("apptemp");
    setUpDataModule(setup);
    company = work.file("data");
    QDir().mkpath(company);
    QFile::copy(root->dataSets.at(0).database, company + "/wqacc2.fdb");
    SystemDef.IBPATHDAT = company;
    pcSetMessageBox2Hook([this](TMessage2InfoRec& AInfo) {
      QStringList lines;
      for (const auto& c : AInfo.Caption)
        if (!c.Text.isEmpty())
          lines << c.Text;
      boxes << lines;
      return mrYes;
    });
  }
  void TearDown() override
  {
    pcSetMessageBox2Hook(nullptr);
    if (dm)
      dm->IBDatabaseDAT.disconnect();
    DataModuleTest::TearDown();
  }

  TestTempDir work;
  QString company;
  QList<QStringList> boxes;
};

TEST_F(DbUpdateBoxTest, EachKindItsLayoutAndAgreement)
{
  TDbUpdateBox box;
  box.DbUpdateInit(0, "12.0.0");
  EXPECT_EQ(box.lblTitle1->text(), "システムデータの更新を行います。");
  EXPECT_TRUE(box.btnCancel->isHidden());
  EXPECT_TRUE(box.cboxAgree->isHidden());
  EXPECT_TRUE(box.btnOk->isEnabled());
  EXPECT_TRUE(box.lblTitle2->text().isEmpty());

  box.DbUpdateInit(1, "17.0.3");
  EXPECT_EQ(box.DataConnectFlg(), 2);
  EXPECT_FALSE(box.DataUpdateJikkoFlg());
  EXPECT_EQ(box.lblTitle1->text(), "会計データの更新を行います。");
  EXPECT_FALSE(box.btnCancel->isHidden());
  EXPECT_FALSE(box.cboxAgree->isHidden());
  EXPECT_FALSE(box.btnOk->isEnabled());
  box.cboxAgree->click();
  EXPECT_TRUE(box.btnOk->isEnabled());
  box.cboxAgree->click();
  EXPECT_FALSE(box.btnOk->isEnabled());
}

TEST_F(DbUpdateBoxTest, PendingStepsListedWithTheirStates)
{
  TDbUpdateBox box;
  auto step = [](int major, int result, const QString& c1, const QString& c2) {
    TDbUpdateListRec s;
    s.Major = major;
    s.Comment1 = c1;
    s.Comment2 = c2;
    s.UpdateFunc = [result] { return result; };
    return s;
  };
  box.Update().UserDbUpdateList() = {step(17, 1, "old", "old step"), step(18, 1, "first", "first step"),
                                     step(19, DbUpdateStepFileMissing, "second", "second step"),
                                     step(20, 1, "third", "third step")};
  box.DbUpdateInit(1, "17.0.0");
  QAbstractItemModel* model = box.ListView1->model();
  ASSERT_EQ(model->rowCount(), 3);
  EXPECT_EQ(model->index(0, 0).data().toString(), "18.0.0");
  EXPECT_EQ(model->index(2, 1).data().toString(), "third");
  EXPECT_EQ(box.RichEdit1->toPlainText(), "first step");
  box.ListView1->selectRow(1);
  EXPECT_EQ(box.RichEdit1->toPlainText(), "second step");

  EXPECT_EQ(box.DbUpdateJikkou(), 0);
  EXPECT_EQ(model->index(0, 2).data().toString(), "完了");
  EXPECT_EQ(model->index(1, 2).data().toString(), "ﾌｧｲﾙ不足");
  EXPECT_EQ(model->index(2, 2).data().toString(), "");
  EXPECT_TRUE(box.pnlProgress->isHidden());
}

TEST_F(DbUpdateBoxTest, OkWithNothingPendingShowsTheKindsErrorBox)
{
  TDbUpdateBox box;
  box.DbUpdateInit(1, "17.0.0");
  box.cboxAgree->click();
  box.btnOkClick();
  EXPECT_EQ(box.result(), mrRetry);
  ASSERT_EQ(boxes.size(), 1);
  EXPECT_EQ(boxes.first(), QStringList{"会計データの更新に失敗しました。"});
  // Reconnected to the open data afterwards.
  EXPECT_TRUE(dm->IBDatabaseDAT.isConnected());
}

}  // namespace
