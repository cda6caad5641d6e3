// The data-selection dialog under the offscreen platform against a system
// database with a few hundred registered data sets in two groups.
#include <gtest/gtest.h>
#include <memory>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "common/AccRecord.h"
#include "common/DataInfomation.h"
#include "common/DataModule.h"
#include "common/MessageHook.h"
#include "datasel/dialogs/DataListKensaku.h"
#include "datasel/dialogs/DataSentaku.h"
#include "datasel/tests/ManyDataSets.h"
#include "platform/IniFile.h"
#include "tests/support/DataModuleEnv.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TempDir.h"
#include "ui/AccInterface.h"
#include "ui/ModalResult.h"
#include "ui/tests/UiTestUtil.h"
#include "ui/z5MessageDlg2.h"

namespace {

using namespace fixtures;

const QStringList kWizardLines = {"SyoriType=3", "JyokenSet=1",     "DataType=-13",
                                  "CodeType=0",  "DataVerMajor=17", "FormStyle=2"};

QString shotPath(const QString& name)
{
  return uitest::screenshotDir() + QLatin1Char('/') + name;
}

class DataSentakuDialog : public testenv::SharedDataRootTest<DataSentakuDialog> {
 protected:
  static void SetUpTestSuite()
  {
    SharedDataRootTest::SetUpTestSuite();
    db::Database sysDb;
    testfx::builder().open(sysDb, root->systemDb);
    manydata::addMany(sysDb, root->root);
  }
  void SetUp() override
  {
    setUpDataModule(
        {.root = root->root, .logFile = tmp->file("log"), .dataFile = QStringLiteral("wqacc2.fdb"), .connect = false});
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
    for (const auto& ds : root->dataSets)
      QFile::remove(TDataInfomation::IniFileName(ds.folder));
  }
  TDataSentakuBox* open(const QStringList& lines)
  {
    QObject* o = FormClassLookup(QStringLiteral("DuRoziZuvurad"));
    box = qobject_cast<TDataSentakuBox*>(o);
    EXPECT_NE(box, nullptr);
    if (!box)
      return nullptr;
    box->SetManualFree(true);
    box->StatusBoxShow = [this](TMessageInfoRec& r) {
      statusBoxes << r.MainCaption + QLatin1Char('\n') + r.MessageCaption.join(QLatin1Char('\n'));
      return mrOk;
    };
    box->SetOptions(lines);
    box->SetPrepare(true);
    box->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(box));
    return box;
  }
  int rowOfRec(int rec) const
  {
    for (int r = 0; r < box->RowCount(); ++r)
      if (box->Model()->Row(r).Data.Rec == rec)
        return r;
    return -1;
  }
  void writeStatus(const QString& folder, int status)
  {
    IniFile ini(TDataInfomation::IniFileName(folder));
    ini.WriteInteger(QStringLiteral("DATASTS"), QStringLiteral("STATUS"), status);
    ini.WriteInteger(QStringLiteral("DATASTS"), QStringLiteral("OPCODE"), sample::loginCode(sample::ClerkCode));
    ini.WriteString(QStringLiteral("DATASTS"), QStringLiteral("OPERATOR"), sample::clerkName());
    ini.UpdateFile();
  }

  QPointer<TDataSentakuBox> box;
  QStringList boxes;
  QStringList statusBoxes;
  int confirmAnswer = mrOk;
};

TEST_F(DataSentakuDialog, WizardModeListsKindsOneAndThreeOfVersion17)
{
  ASSERT_TRUE(open(kWizardLines));
  EXPECT_EQ(box->ProcType(), dsptGensyouCall);
  EXPECT_EQ(box->FormStyle(), 2);
  int expected = 2;  // the two sample data sets
  for (int n = 0; n < manydata::ExtraCount; ++n)
    if (!manydata::freeOf(n) && (manydata::kindOf(n) == 1 || manydata::kindOf(n) == 3) && manydata::majorOf(n) == 17)
      ++expected;
  ASSERT_EQ(box->RowCount(), expected);
  for (int r = 0; r < box->RowCount(); ++r) {
    const TDataListRec d = box->GetRowDataRec(r);
    EXPECT_TRUE(d.DataKbn == 1 || d.DataKbn == 3) << d.Rec;
    EXPECT_EQ(d.VerMajor, 17) << d.Rec;
    EXPECT_FALSE(d.DataListName.startsWith(QStringLiteral("他グループ")));
  }
  // Only Esc and F12 act.
  EXPECT_EQ(box->FuncCaption(0), QStringLiteral("ESC:ｷｬﾝｾﾙ"));
  EXPECT_EQ(box->FuncCaption(12), QStringLiteral("F12:選択"));
  for (int k = 1; k <= 8; ++k)
    EXPECT_EQ(box->FuncCaption(k), QStringLiteral("F%1:").arg(k));
  EXPECT_FALSE(box->SearchButton()->isEnabled());
  EXPECT_FALSE(box->SearchCancelButton()->isEnabled());
  for (int key : {Qt::Key_F1, Qt::Key_F2, Qt::Key_F3, Qt::Key_F5, Qt::Key_F8}) {
    QTest::keyRelease(box->Grid(), Qt::Key(key));
    EXPECT_TRUE(box->isVisible());
  }
  EXPECT_TRUE(boxes.isEmpty()) << boxes.join('|').toStdString();
  box->Grid()->setFocus();
  box->grab().save(shotPath(QStringLiteral("data_sentaku_wizard.png")));
}

TEST_F(DataSentakuDialog, F12ChoosesTheFocusedDataSetIntoTheSystemDefinitions)
{
  SystemDef.IBPATHDAT = QString();
  ASSERT_TRUE(open(kWizardLines));
  const sample::DataSet& general = root->dataSets.at(0);
  const int row = rowOfRec(general.rec);
  ASSERT_GE(row, 0);
  box->FocusRow(row);
  QTest::keyRelease(box->Grid(), Qt::Key_F12);
  EXPECT_FALSE(box->isVisible());
  EXPECT_EQ(box->result(), mrOk);
  EXPECT_EQ(SystemDef.IBPATHDAT, general.folder);
  EXPECT_EQ(SystemDef.IBPATHDAT_Kyoyu, general.folder);
  EXPECT_EQ(box->DataPath(), general.folder);
}

TEST_F(DataSentakuDialog, FolderChecksAsATable)
{
  const sample::DataSet& general = root->dataSets.at(0);
  const sample::DataSet& medical = root->dataSets.at(1);
  const QString noDb = root->root + QStringLiteral("/0025");
  QDir().mkpath(noDb);
  struct Case {
    const char* name;
    QString folder;
    int status;  // -1: no settings file
    int result;
    const char* box;        // information box text, "" none
    const char* statusBox;  // start of the status box caption, "" none
  } cases[] = {
      {"free data set", general.folder, -1, 1, "", ""},
      {"free by its file", general.folder, 1, 1, "", ""},
      {"locked", medical.folder, 3, -1, "", "このデータはデータロック中のため処理が行えません。"},
      {"in use", medical.folder, 2, -1, "", "このデータは使用中のため処理が行えません。\r前回、異常終了した場合"},
      {"damaged", medical.folder, 10, -3, "", ""},
      {"being restored", medical.folder, 5, -1, "", "このデータは復元中のため"},
      {"no database", noDb, -1, -1, "このフォルダには財務データがありません。", ""},
      {"empty path", QString(), -1, -2, "", ""},
  };
  ASSERT_TRUE(open(kWizardLines));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.folder.isEmpty())
      QFile::remove(TDataInfomation::IniFileName(c.folder));
    if (c.status >= 0)
      writeStatus(c.folder, c.status);
    boxes.clear();
    statusBoxes.clear();
    EXPECT_EQ(box->DataFolderCheck(c.folder), c.result);
    EXPECT_EQ(boxes.join('|'), QString::fromUtf8(c.box));
    if (*c.statusBox) {
      ASSERT_EQ(statusBoxes.size(), 1);
      EXPECT_TRUE(statusBoxes[0].startsWith(QString::fromUtf8(c.statusBox))) << statusBoxes[0].toStdString();
      EXPECT_TRUE(statusBoxes[0].contains(QStringLiteral("【オペレータ】\n　%1").arg(sample::ClerkCode)));
      EXPECT_TRUE(statusBoxes[0].contains(sample::clerkName()));
    } else {
      EXPECT_TRUE(statusBoxes.isEmpty());
    }
    if (!c.folder.isEmpty())
      QFile::remove(TDataInfomation::IniFileName(c.folder));
  }
}

TEST_F(DataSentakuDialog, ARefusedChoiceKeepsTheDialogOpenAndMarksDamage)
{
  const sample::DataSet& medical = root->dataSets.at(1);
  SystemDef.IBPATHDAT = QString();
  ASSERT_TRUE(open(kWizardLines));
  const int row = rowOfRec(medical.rec);
  ASSERT_GE(row, 0);
  writeStatus(medical.folder, 10);
  box->FocusRow(row);
  QTest::keyRelease(box->Grid(), Qt::Key_F12);
  EXPECT_TRUE(box->isVisible());
  EXPECT_TRUE(SystemDef.IBPATHDAT.isEmpty());
  EXPECT_TRUE(box->DataPath().isEmpty());
  EXPECT_EQ(box->GetRowDataRec(row).Data_Status, jxdbHason);
  // A damaged row cannot be chosen any more.
  EXPECT_EQ(box->FuncCaption(12), QStringLiteral("F12:"));
}

TEST_F(DataSentakuDialog, EscTakesThePreviousDataSetBackOrSaysItIsGone)
{
  struct Case {
    QString previous;
    QString afterwards;
    const char* box;
  } cases[] = {
      {root->dataSets.at(0).folder, root->dataSets.at(0).folder, ""},
      {root->root + QStringLiteral("/0026"), root->root + QStringLiteral("/0026"),
       "前回選択したデータが削除されています。"},
  };
  QDir().mkpath(root->root + QStringLiteral("/0026"));
  for (const auto& c : cases) {
    SystemDef.IBPATHDAT = c.previous;
    boxes.clear();
    ASSERT_TRUE(open(kWizardLines));
    QTest::keyRelease(box->Grid(), Qt::Key_Escape);
    EXPECT_FALSE(box->isVisible());
    EXPECT_EQ(box->result(), mrCancel);
    EXPECT_EQ(SystemDef.IBPATHDAT, c.afterwards);
    EXPECT_EQ(boxes.join('|'), QString::fromUtf8(c.box));
    delete box.data();
  }
}

TEST_F(DataSentakuDialog, IncrementalSearchAppendsTypedCharacters)
{
  ASSERT_TRUE(open(QStringList{"SyoriType=0", "FormStyle=2"}));
  box->FocusRow(0);
  box->Grid()->setFocus();
  QTest::keyClicks(box->Grid(), QStringLiteral("c01"));
  EXPECT_EQ(box->KensakuKey(), QStringLiteral("c01"));
  box->FinishIncrementalSearch();
  const int first = box->FocusedRow();
  ASSERT_GT(first, 0);
  EXPECT_TRUE(box->GetRowDataRec(first).DataCode.startsWith(QStringLiteral("C01")));
  // The next search starts after the focused row and wraps to the top.
  QTest::keyClicks(box->Grid(), QStringLiteral("C01"));
  box->FinishIncrementalSearch();
  const int second = box->FocusedRow();
  EXPECT_NE(second, first);
  EXPECT_TRUE(box->GetRowDataRec(second).DataCode.startsWith(QStringLiteral("C01")));
  // A ninth character is swallowed.
  QTest::keyClicks(box->Grid(), QStringLiteral("123456789"));
  EXPECT_EQ(box->KensakuKey(), QStringLiteral("12345678"));
  box->FinishIncrementalSearch();
  EXPECT_TRUE(box->KensakuKey().isEmpty());
}

TEST_F(DataSentakuDialog, HeaderClicksSortAndMarkTheColumn)
{
  ASSERT_TRUE(open(QStringList{"SyoriType=0", "FormStyle=2"}));
  const int all = box->RowCount();
  EXPECT_EQ(all, sample::DataSlotCount + manydata::ExtraCount);
  auto caption = [this](int c) { return box->Model()->Caption(c); };
  box->SortByColumn(dscol::Name);
  EXPECT_EQ(caption(dscol::Name), QStringLiteral("データ名  ▲"));
  const QString firstName = box->GetRowDataRec(0).DataListName;
  for (int r = 1; r < box->RowCount() && !box->GetRowDataRec(r).DataListName.isEmpty(); ++r)
    EXPECT_LE(box->GetRowDataRec(r - 1).DataListName, box->GetRowDataRec(r).DataListName);
  box->SortByColumn(dscol::Name);
  EXPECT_EQ(caption(dscol::Name), QStringLiteral("データ名  ▼"));
  EXPECT_NE(box->GetRowDataRec(0).DataListName, firstName);
  box->SortByColumn(dscol::Kagi);
  EXPECT_EQ(caption(dscol::Name), QStringLiteral("データ名  ▼"));
  box->SortByColumn(dscol::Code);
  EXPECT_EQ(caption(dscol::Code), QStringLiteral("コード▲"));
  EXPECT_EQ(caption(dscol::Name), QStringLiteral("データ名  "));
  EXPECT_EQ(box->RowCount(), all);
  // The sort is kept for the next start.
  box->close();
  delete box.data();
  ASSERT_TRUE(open(QStringList{"SyoriType=0", "FormStyle=2"}));
  EXPECT_EQ(caption(dscol::Code), QStringLiteral("コード▲"));
}

TEST_F(DataSentakuDialog, OptionLines)
{
  struct Case {
    QStringList lines;
    bool throws;
    int mode;
    int use;
    QString ver;
    int kbn;
  } cases[] = {
      {{"SyoriType=6"}, true, 0, 0, {}, 0},
      {{"SyoriType=-1"}, false, 0, 0, {}, 0},
      {{"SyoriType=x"}, false, 0, 0, {}, 0},
      {{"SyoriType=4", "DataVerMore=11.5"}, false, 4, 0, {}, 0},
      {{"SyoriType=1", "JyokenSet", "DataVerMore=11.5"}, false, 1, 1, "11.5", 2},
      {{"JyokenSet=0", "DataVer=12.1", "DataVerFullMatch=12.1.3"}, false, 0, 1, "12.1.3", 3},
  };
  for (const auto& c : cases) {
    TDataSentakuBox b;
    if (c.throws) {
      EXPECT_THROW(b.SetOptions(c.lines), std::exception);
      continue;
    }
    b.SetOptions(c.lines);
    EXPECT_EQ(int(b.ProcType()), c.mode);
    EXPECT_EQ(b.OutDataKensakuRec().JyokenUse, c.use);
    EXPECT_EQ(b.OutDataKensakuRec().DataVer, c.ver);
    EXPECT_EQ(b.OutDataKensakuRec().DataVerKbn, c.kbn);
  }
  TDataSentakuBox a;
  a.SetOptions({"ManualFree=1"});
  EXPECT_FALSE(a.ManualFree());
  a.SetOptions({"JyokenSet=1", "ManualFree=1"});
  EXPECT_TRUE(a.ManualFree());
}

TEST_F(DataSentakuDialog, SearchConditionsDialogFiltersTheList)
{
  ASSERT_TRUE(open(QStringList{"SyoriType=0", "FormStyle=2"}));
  TDataListKensakuBox k;
  TDataKensakuRec r;
  r.DataType = 3;
  r.DataCode = QStringLiteral("C00");
  r.JyokenUse = 1;
  k.SetDataKensakuRec(r);
  k.SetPrepar(true);
  EXPECT_EQ(k.KindCombo()->currentText(), QStringLiteral("医療法人"));
  EXPECT_TRUE(k.UseCheck()->isChecked());
  k.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&k));
  k.grab().save(shotPath(QStringLiteral("data_list_kensaku.png")));
  k.NameEdit()->setText(QStringLiteral("ｻｸﾗ"));
  QTest::mouseClick(k.OkButton(), Qt::LeftButton);
  EXPECT_EQ(k.result(), mrOk);
  EXPECT_EQ(k.DataKensakuRec().DataType, 3);
  EXPECT_EQ(k.DataKensakuRec().DataName, QStringLiteral("ｻｸﾗ"));
  box->grab().save(shotPath(QStringLiteral("data_sentaku_all.png")));
}

}  // namespace

namespace {

TEST_F(DataSentakuDialog, RefreshTurnsARowWhoseDatabaseWentIntoAFreeSlot)
{
  const QString folder = root->root + QStringLiteral("/0028");
  QDir().mkpath(folder);
  QFile::remove(folder + QStringLiteral("/wqacc2.fdb"));
  ASSERT_TRUE(QFile::copy(root->dataSets.at(0).database, folder + QStringLiteral("/wqacc2.fdb")));
  writeStatus(folder, 3);
  ASSERT_TRUE(open(QStringList{"SyoriType=0", "FormStyle=2"}));
  const int row = rowOfRec(28);
  ASSERT_GE(row, 0);
  // The whole refresh asks first (answered No here: it would clear every
  // row of the shared fixture whose folder holds no database).
  confirmAnswer = mrCancel;
  QTest::mouseClick(box->RefreshButton(), Qt::LeftButton);
  EXPECT_EQ(boxes.join('|'), QStringLiteral("データリストの更新を行います。\nよろしいですか？"));
  EXPECT_EQ(box->GetRowDataRec(row).DataLock, 0);
  box->DataListRefreshRow(row);
  EXPECT_EQ(box->Model()->Text(row, dscol::Kagi).isEmpty(), false);  // locked by the clerk
  EXPECT_EQ(box->GetRowDataRec(row).DataLock, sample::ClerkCode);
  EXPECT_FALSE(box->Model()->Text(row, dscol::Name).isEmpty());

  ASSERT_TRUE(QFile::remove(folder + QStringLiteral("/wqacc2.fdb")));
  box->DataListRefreshRow(row);
  EXPECT_TRUE(box->Model()->Text(row, dscol::Name).isEmpty());
  EXPECT_TRUE(box->Model()->Text(row, dscol::Nendo).isEmpty());
  EXPECT_EQ(box->Model()->Text(row, dscol::Kikan), QStringLiteral("～"));
  EXPECT_FALSE(QFile::exists(TDataInfomation::IniFileName(folder)));
  // The list table says so too, for this group only.
  TDataSentakuListCtl ctl;
  TDataListRec r;
  r.Rec = 28;
  ctl.GetDataListRecord(jxrkRec, r, true);
  EXPECT_TRUE(r.DataListName.isEmpty());
  EXPECT_TRUE(r.Shougou.isEmpty());
  EXPECT_EQ(r.DataPath, folder);
  SystemDef.GROUPID = manydata::OtherGroup;
  TDataListRec other;
  other.Rec = 28;
  ctl.GetDataListRecord(jxrkRec, other, true);
  EXPECT_FALSE(other.DataListName.isEmpty());
  SystemDef.GROUPID = sample::GroupId;
}

}  // namespace

namespace {

TEST_F(DataSentakuDialog, ChoosingAPlaceForNewDataInModesTwoAndFour)
{
  const sample::DataSet& general = root->dataSets.at(0);
  const sample::DataSet& medical = root->dataSets.at(1);
  const QString empty = root->root + QStringLiteral("/0005");
  struct Case {
    int mode;
    int rec;
    int result;
    const char* box;
    QString oneTime;
  } cases[] = {
      {2, general.rec, mrNone, "このデータは現在選択中のデータです。\n他の場所を選んで下さい。", {}},
      {2, medical.rec, mrNone, "選択したパスには既にデータが存在します。\n他の場所を選んで下さい。", {}},
      {2, 5, mrOk, "", QStringLiteral("PATH1=%1\rPATH2=%1").arg(empty)},
      {4, 5, mrOk, "", QStringLiteral("PATH1=%1\rPATH2=%1").arg(empty)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode * 100 + c.rec);
    SystemDef.IBPATHDAT = general.folder;
    SystemDef.IBPATHDAT_Kyoyu = general.folder;
    SystemDef.OneTimeDataPath = QStringLiteral("old");
    boxes.clear();
    ASSERT_TRUE(open(QStringList{QStringLiteral("SyoriType=%1").arg(c.mode), "FormStyle=2"}));
    EXPECT_EQ(box->FuncCaption(3), QStringLiteral("F3:"));
    const int row = rowOfRec(c.rec);
    ASSERT_GE(row, 0);
    box->FocusRow(row);
    box->ChooseFocused();
    EXPECT_EQ(box->result(), c.result);
    EXPECT_EQ(boxes.join('|'), QString::fromUtf8(c.box));
    EXPECT_EQ(SystemDef.OneTimeDataPath, c.oneTime);
    EXPECT_EQ(SystemDef.IBPATHDAT, general.folder);
    delete box.data();
  }
}

TEST_F(DataSentakuDialog, SearchButtonAppliesTheConditionsAndCancelClearsThem)
{
  ASSERT_TRUE(open(QStringList{"SyoriType=0", "FormStyle=2"}));
  const int all = box->RowCount();
  int medicalC00 = 0;
  for (int r = 0; r < all; ++r)
    if (box->GetRowDataRec(r).DataKbn == 3 && box->GetRowDataRec(r).DataCode.startsWith(QStringLiteral("C00")))
      ++medicalC00;
  ASSERT_GT(medicalC00, 0) << all;
  ASSERT_TRUE(box->SearchButton()->isEnabled());
  EXPECT_FALSE(box->SearchCancelButton()->isEnabled());
  QTimer::singleShot(0, [] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* k = qobject_cast<TDataListKensakuBox*>(w); k && k->isVisible()) {
        k->KindCombo()->setCurrentIndex(4);  // 医療法人
        k->CodeEdit()->setText(QStringLiteral("c00"));
        QTest::mouseClick(k->OkButton(), Qt::LeftButton);
      }
  });
  QTest::mouseClick(box->SearchButton(), Qt::LeftButton);
  ASSERT_GT(box->RowCount(), 0) << box->KensakuInForce().DataType << " " << box->KensakuInForce().CodeType << " "
                                << box->KensakuInForce().DataCode.toStdString() << " "
                                << box->KensakuInForce().DataVer.toStdString() << " " << box->KensakuInForce().Tanto;
  EXPECT_LT(box->RowCount(), all);
  for (int r = 0; r < box->RowCount(); ++r) {
    EXPECT_EQ(box->GetRowDataRec(r).DataKbn, 3);
    EXPECT_TRUE(box->GetRowDataRec(r).DataCode.startsWith(QStringLiteral("C00")));
  }
  EXPECT_TRUE(box->SearchCancelButton()->isEnabled());
  EXPECT_EQ(box->KensakuInForce().JyokenUse, 1);
  QTest::mouseClick(box->SearchCancelButton(), Qt::LeftButton);
  EXPECT_EQ(box->RowCount(), all);
  EXPECT_FALSE(box->SearchCancelButton()->isEnabled());
  // The stored conditions stay for the next search.
  TDataKensakuStore store(0);
  TDataKensakuRec stored;
  store.SelectRecord(stored);
  EXPECT_EQ(stored.DataType, 3);
  EXPECT_EQ(stored.DataCode, QStringLiteral("c00"));
  stored = TDataKensakuRec{};
  store.InitRecord(stored);
  store.UpdateRecord(stored);
}

}  // namespace

namespace {

TEST_F(DataSentakuDialog, TheWizardStartsItByNameAndF12AnswersOk)
{
  const sample::DataSet& medical = root->dataSets.at(1);
  SystemDef.IBPATHDAT = medical.folder;  // the data set open before: focused at the start
  QString focusedFolder;
  QTimer::singleShot(100, [&focusedFolder] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* b = qobject_cast<TDataSentakuBox*>(w); b && b->isVisible()) {
        focusedFolder = b->GetRowDataPath(b->FocusedRow());
        QTest::keyRelease(b->Grid(), Qt::Key_F12);
      }
  });
  const int r = fnSyoriKidou(QStringLiteral("DuRoziZuvurad"), 1,
                             QStringLiteral("SyoriType=3\nJyokenSet=1\nDataType=-13\nCodeType=0\nDataVerMajor=17"));
  EXPECT_EQ(r, mrOk);
  EXPECT_EQ(focusedFolder, medical.folder);
  EXPECT_EQ(SystemDef.IBPATHDAT, medical.folder);
}

}  // namespace
