// The search conditions dialog against a system database with several
// operators and a registry with several editions: what the two drop-downs
// offer, and what OK stores.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "common/AccRecord.h"
#include "datasel/DataKensaku.h"
#include "datasel/dialogs/DataListKensaku.h"
#include "platform/Registry.h"
#include "tests/support/DataModuleEnv.h"
#include "ui/ModalResult.h"
#include "ui/xCheckedComboBox.h"

namespace {

using namespace fixtures;

QStringList itemsOf(const QComboBox* c)
{
  QStringList out;
  for (int i = 0; i < c->count(); ++i)
    out << c->itemText(i);
  return out;
}

class DataListKensakuDialog : public testenv::SharedDataRootTest<DataListKensakuDialog> {
 protected:
  static void SetUpTestSuite()
  {
    SharedDataRootTest::SetUpTestSuite();
    db::Database sysDb;
    testfx::builder().open(sysDb, root->systemDb);
    const QString insert =
        QStringLiteral("INSERT INTO OPERATOR (GROUPID, OPCODE, OPNAME, JOBLEVEL) VALUES (%1, %2, '%3', 1)");
    testenv::execIn(sysDb, insert.arg(sample::GroupId).arg(20).arg("佐藤 花子"));
    testenv::execIn(sysDb, insert.arg(sample::GroupId).arg(5).arg("コード5"));  // below 10: not listed
    testenv::execIn(sysDb, insert.arg(sample::GroupId + 1).arg(30).arg("他グループ"));
    RegistryWriter w(tmp->file("hklm.ini"));
    w.WriteString("SOFTWARE\\NORVIK\\ABACORZAIMU185", "Version", "18.5.0");
    w.WriteString("SOFTWARE\\NORVIK\\ABACORZAIMU185", "Type", "26版 改");
    w.WriteString("SOFTWARE\\NORVIK\\OTHER190", "Version", "19.0.0");
    w.UpdateFile();
  }
  void SetUp() override
  {
    qputenv("RENDO_REGISTRY_FILE", tmp->file("hklm.ini").toUtf8());
    setUpDataModule({.root = root->root, .logFile = tmp->file("log")});
    AppInfo.ComRegKey = QStringLiteral("\\SOFTWARE\\NORVIK");
    AppInfo.RegKey = QStringLiteral("ABACORZAIMU");
    SystemDef.AppVerMajor = 19;
  }
  void TearDown() override
  {
    DataModuleTest::TearDown();
    qunsetenv("RENDO_REGISTRY_FILE");
  }
  // Shows the record, presses OK after `change`, and gives what OK left.
  TDataKensakuRec okWith(const TDataKensakuRec& r, const std::function<void(TDataListKensakuBox&)>& change = {})
  {
    TDataListKensakuBox k;
    k.SetDataKensakuRec(r);
    k.SetPrepar(true);
    k.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&k));
    if (change)
      change(k);
    QTest::mouseClick(k.OkButton(), Qt::LeftButton);
    EXPECT_EQ(k.result(), mrOk);
    return k.DataKensakuRec();
  }
};

TEST_F(DataListKensakuDialog, OperatorsOfTheGroupAndEditionsNewestFirst)
{
  TDataListKensakuBox k;
  EXPECT_EQ(
      itemsOf(k.TantoCombo()),
      (QStringList{"選択なし", "20:佐藤 花子", QString("%1:%2").arg(sample::OperatorCode).arg(sample::operatorName()),
                   QString("%1:%2").arg(sample::ClerkCode).arg(sample::clerkName()), "9999:システムユーザー"}));
  EXPECT_EQ(itemsOf(k.VerCombo()), (QStringList{"選択なし", "27版", "26版 改", "26版", "25版"}));
  EXPECT_FALSE(dm->IBTransactionDEF.inTransaction());
}

TEST_F(DataListKensakuDialog, OkKeepsWhatWasNotChangedAndTakesWhatWasChosen)
{
  TDataKensakuRec saved;
  saved.OPCODE = SystemDef.OPCODE;
  saved.JyokenUse = 1;
  saved.DataType = 1;
  saved.CodeType = 2;  // shown as 法人
  saved.DataCode = "C0";
  saved.DataName = "サクラ";
  saved.Tanto = sample::ClerkCode;
  saved.DataVer = "18.5";
  saved.DataVer2 = "18.9";
  saved.DataVerKbn = 2;
  saved.Seihin = "26版 改";
  saved.SortCol = 14;
  saved.SortType = 1;

  // Stored and read back, shown, OK without a change: the same conditions.
  TDataKensakuStore store(0);
  TDataKensakuRec stored;
  ASSERT_EQ(store.SelectRecord(stored), 1);
  ASSERT_EQ(store.UpdateRecord(saved), 1);
  ASSERT_EQ(store.SelectRecord(stored), 1);
  {
    TDataListKensakuBox k;
    k.SetDataKensakuRec(stored);
    k.SetPrepar(true);
    EXPECT_EQ(k.KindCombo()->currentText(), "法人");
    EXPECT_EQ(k.TantoCombo()->currentText(), QString("%1:%2").arg(sample::ClerkCode).arg(sample::clerkName()));
    EXPECT_EQ(k.VerCombo()->currentText(), "26版 改");
  }
  const TDataKensakuRec back = okWith(stored);
  ASSERT_EQ(store.UpdateRecord(back), 1);
  TDataKensakuRec again;
  ASSERT_EQ(store.SelectRecord(again), 1);
  for (const TDataKensakuRec* r : {&back, static_cast<const TDataKensakuRec*>(&again)}) {
    EXPECT_EQ(r->DataType, 1);
    EXPECT_EQ(r->CodeType, 2);
    EXPECT_EQ(r->DataCode, "C0");
    EXPECT_EQ(r->DataName, "サクラ");
    EXPECT_EQ(r->Tanto, sample::ClerkCode);
    EXPECT_EQ(r->DataVer, "18.5");
    EXPECT_EQ(r->Seihin, "26版 改");
    EXPECT_EQ(r->JyokenUse, 1);
    EXPECT_EQ(r->SortCol, 14);
    EXPECT_EQ(r->SortType, 1);
  }
  // What the table does not hold stays too when the caller kept it.
  const TDataKensakuRec kept = okWith(saved);
  EXPECT_EQ(kept.DataVerKbn, 2);
  EXPECT_EQ(kept.DataVer2, "18.9");
  EXPECT_EQ(kept.CodeType, 2);

  // What the operator chooses is taken from the item.
  const TDataKensakuRec chosen = okWith(saved, [](TDataListKensakuBox& k) {
    k.TantoCombo()->setCurrentIndex(1);  // 20
    k.VerCombo()->setCurrentIndex(1);    // 27版
    k.KindCombo()->setCurrentIndex(2);   // 個人(一般)
  });
  EXPECT_EQ(chosen.Tanto, 20);
  EXPECT_EQ(chosen.DataVer, "19.0");
  EXPECT_EQ(chosen.Seihin, "27版");
  EXPECT_EQ(chosen.DataVerKbn, 0);
  EXPECT_EQ(chosen.DataVer2, QString());
  EXPECT_EQ(chosen.DataType, 2);
  EXPECT_EQ(chosen.CodeType, 1);

  // An operator no longer in the group, an edition no longer installed and a
  // kind the list cannot show appear as 選択なし, and OK stores them so.
  TDataKensakuRec stale = saved;
  stale.Tanto = 555;
  stale.Seihin = "なくなった版";
  stale.DataType = 2;
  stale.CodeType = 5;
  const TDataKensakuRec cleared = okWith(stale);
  EXPECT_EQ(cleared.Tanto, 0);
  EXPECT_EQ(cleared.DataVer, QString());
  EXPECT_EQ(cleared.Seihin, "選択なし");
  EXPECT_EQ(cleared.DataVerKbn, 0);
  EXPECT_EQ(cleared.DataType, 0);
  EXPECT_EQ(cleared.CodeType, 0);
  // No saved edition is 選択なし too.
  TDataKensakuRec none;
  none.Seihin.clear();
  const TDataKensakuRec noneBack = okWith(none);
  EXPECT_EQ(noneBack.DataVer, QString());
  EXPECT_EQ(noneBack.Tanto, 0);

  TDataKensakuRec reset;
  store.InitRecord(reset);
  store.UpdateRecord(reset);
}

}  // namespace

namespace {

TEST_F(DataListKensakuDialog, TheCheckedOperatorListStandsHiddenWithTheOperatorsCodes)
{
  TDataListKensakuBox k;
  k.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&k));
  TxCheckedComboBox* c = k.TantoCheckCombo();
  ASSERT_NE(c, nullptr);
  EXPECT_FALSE(c->isVisible());
  ASSERT_EQ(c->Items().size(), 4);
  EXPECT_EQ(c->Items().first(), "20:佐藤 花子");
  c->SetChecked(1, true);
  c->SetChecked(0, true);
  EXPECT_EQ(c->CheckedItems(), (QStringList{"20", QString::number(sample::OperatorCode)}));
}

}  // namespace
