// The data details dialog under the offscreen platform on real stand-alone
// data sets, alone and behind the 情報 button of the data-selection dialog.
#include <functional>
#include <gtest/gtest.h>
#include <memory>

#include <QCheckBox>
#include <QDir>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "common/AccRecord.h"
#include "common/DataInfomation.h"
#include "common/DataModule.h"
#include "common/MessageHook.h"
#include "datasel/ComDataSentaku.h"
#include "datasel/dialogs/DataSentaku.h"
#include "datasel/dialogs/DataSyosaiInfo.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "platform/IniFile.h"
#include "tests/support/DataModuleEnv.h"
#include "tests/support/FirebirdServer.h"
#include "tests/support/Fixtures.h"
#include "tests/support/MessageCollector.h"
#include "tests/support/TempDir.h"
#include "ui/AccInterface.h"
#include "ui/ModalResult.h"
#include "ui/tests/UiTestUtil.h"
#include "ui/z5MessageDlg2.h"

namespace {

using namespace fixtures;

const int kMe = sample::loginCode(sample::OperatorCode);
const int kClerk = sample::loginCode(sample::ClerkCode);

QString shotPath(const QString& name)
{
  return uitest::screenshotDir() + QLatin1Char('/') + name;
}

class DataSyosaiInfo : public testenv::SharedDataRootTest<DataSyosaiInfo> {
 protected:
  void SetUp() override
  {
    setUpDataModule({.root = root->root,
                     .logFile = tmp->file("log"),
                     .operatorName = true,
                     .tempFolder = tmp->file("temp"),
                     .dataFile = QStringLiteral("wqacc2.fdb"),
                     .connect = false});
    SystemDef.APPDATA = tmp->path();
    AppInfo.AppTitle = QStringLiteral("連動");
    pcSetMessageBox2Hook([this](TMessage2InfoRec& info) {
      QStringList lines;
      for (const auto& c : info.Caption)
        if (!c.Text.isEmpty())
          lines << c.Text;
      boxes << lines.join(QLatin1Char('\n'));
      const bool confirm = info.DlgButtons & mbOK;
      return confirm ? confirmAnswer : mrYes;
    });
    ASSERT_TRUE(dm->fnAccDefConnected(QString(), true));
  }
  void TearDown() override
  {
    delete details.data();
    if (selection)
      delete selection.data();
    DataHasonHanteiProc = nullptr;
    pcSetMessageBox2Hook(nullptr);
    DataModuleTest::TearDown();
    for (const auto& ds : root->dataSets)
      QFile::remove(TDataInfomation::IniFileName(ds.folder));
  }
  static TDataListRec entryOf(const sample::DataSet& ds)
  {
    TDataListRec r;
    r.Rec = ds.rec;
    r.DataListName = ds.listName;
    r.Shougou = ds.shougou;
    r.DataPath = ds.folder;
    r.Kishu = 1;
    return r;
  }
  // status < 0: no status entry.
  void setStatus(const QString& folder, int status, int holder)
  {
    QFile::remove(TDataInfomation::IniFileName(folder));
    if (status < 0)
      return;
    IniFile ini(TDataInfomation::IniFileName(folder));
    ini.WriteInteger("DATASTS", "STATUS", status);
    ini.WriteInteger("DATASTS", "OPCODE", holder);
    ini.WriteString("DATASTS", "OPERATOR", holder == kMe ? sample::operatorName() : sample::clerkName());
    ini.UpdateFile();
  }
  TDataSyosaiInfoBox* prepare(const TDataListRec& r, bool formEnabled = true)
  {
    if (!details)
      details = new TDataSyosaiInfoBox;
    details->SetProcType(0);
    details->SetDataListRec(r);
    details->SetDataPath(r.DataPath);
    details->SetData_UpdateLock(r.UpdateLock);
    details->SetData_ReadOnly(r.ReadOnly);
    details->SetListName(r.DataListName);
    details->SetFormEnabled(formEnabled);
    details->SetPrepar(true);
    return details;
  }
  QString value(const char* caption) const { return details->ValueLabel(QString::fromUtf8(caption))->text(); }
  QString companyValue(const QString& database, const char* column)
  {
    db::Database d(database);
    d.setUser("ABACOR");
    d.setPassword("dormil");
    d.connect();
    db::Transaction tr(d);
    tr.start();
    db::Query q(tr, QStringLiteral("SELECT %1 FROM ACCDEF1 WHERE REC=1").arg(QString::fromLatin1(column)));
    q.open();
    const QString v = q.field(column).asString();
    q.close();
    tr.commit();
    return v;
  }

  testenv::ScopedMessageCollector hook;
  QPointer<TDataSyosaiInfoBox> details;
  QPointer<TDataSentakuBox> selection;
  QStringList boxes;
  int confirmAnswer = mrOk;
};

TEST_F(DataSyosaiInfo, ShowsTheFolderAndTheBasicInformation)
{
  const sample::DataSet& ds = root->dataSets.at(0);
  prepare(entryOf(ds));
  details->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(details));
  EXPECT_EQ(details->windowTitle(), QStringLiteral("データの詳細情報"));
  EXPECT_EQ(value("データの状態:"), fnDataStatusName(int(jxdsNone)));
  EXPECT_EQ(details->FolderMemo()->toPlainText(), QStringLiteral("[連動のデータ]") + ds.folder.mid(tmp->path().size()));
  EXPECT_EQ(value("データ区分:"), QStringLiteral("法人"));
  EXPECT_EQ(details->ListNameEdit()->text(), ds.listName);
  EXPECT_EQ(value("会計年度:"), QStringLiteral("%1期").arg(ds.nendo));
  EXPECT_TRUE(value("会計期間:").contains(QStringLiteral("～"))) << value("会計期間:").toStdString();
  EXPECT_TRUE(value("仕訳件数:").endsWith(QStringLiteral("件")));
  EXPECT_NE(value("フリガナ:"), QStringLiteral("-"));
  // Editable, no status to clear, the rebuild offered on F7 only.
  EXPECT_FALSE(details->ListNameEdit()->isReadOnly());
  EXPECT_TRUE(details->ReadOnlyCheck()->isEnabled());
  EXPECT_FALSE(details->StatusClearCheck()->isVisible());
  EXPECT_TRUE(details->OkButton()->isVisible());
  for (int k = 1; k <= 6; ++k)
    EXPECT_EQ(details->FuncCaption(k), QStringLiteral("F%1:").arg(k));
  EXPECT_EQ(details->FuncCaption(7), QStringLiteral("F7:再構築"));
  EXPECT_TRUE(details->ListNameEdit()->hasFocus());
  details->grab().save(shotPath(QStringLiteral("data_syosai_info.png")));
  EXPECT_TRUE(boxes.isEmpty()) << boxes.join('|').toStdString();
}

TEST_F(DataSyosaiInfo, WhatMayBeChangedFollowsTheFolderStatus)
{
  const sample::DataSet& ds = root->dataSets.at(0);
  struct Case {
    const char* name;
    int status, holder;
    bool unrestricted;
    bool editable, clearShown, okShown;
    const char* journal;
  } cases[] = {
      {"free", -1, 0, false, true, false, true, ""},
      {"locked by another operator", 3, kClerk, false, false, false, false, "-件"},
      {"locked, unrestricted access", 3, kClerk, true, false, true, true, "-件"},
      {"left in use by me", 2, kMe, false, false, true, true, ""},
      {"left in use by another operator", 2, kClerk, false, true, false, true, ""},
      {"damaged", 10, kMe, false, false, false, false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    setStatus(ds.folder, c.status, c.holder);
    SystemDef.DataSeigenNasi = c.unrestricted ? 1 : 0;
    prepare(entryOf(ds));
    EXPECT_EQ(details->FormEnabled(), c.editable);
    EXPECT_EQ(details->ListNameEdit()->isReadOnly(), !c.editable);
    EXPECT_EQ(details->UpdateCheck()->isEnabled(), c.editable);
    EXPECT_EQ(details->StatusClearCheck()->isVisibleTo(details), c.clearShown);
    EXPECT_FALSE(details->StatusClearCheck()->isChecked());
    EXPECT_EQ(details->OkButton()->isVisibleTo(details), c.okShown);
    EXPECT_EQ(details->NoticeLabel()->isVisibleTo(details), c.unrestricted);
    if (*c.journal) {
      EXPECT_EQ(value("仕訳件数:"), QString::fromUtf8(c.journal));
      for (const char* l : {"フリガナ:", "部門管理:", "本支店管理:"})
        EXPECT_EQ(value(l), QStringLiteral("-")) << l;
    }
  }
  EXPECT_TRUE(boxes.isEmpty()) << boxes.join('|').toStdString();
}

TEST_F(DataSyosaiInfo, DataKindAndVersionFromTheSettingsFile)
{
  const sample::DataSet& ds = root->dataSets.at(0);
  struct Case {
    int kbn, code, major;
    const char* kind;
    bool nameEdit, journalBox;
  } cases[] = {
      {2, 3, 12, "個人(クリニック)", true, true},
      {3, 1, 11, "医療法人", true, false},
      {9, 1, 17, "設定なし", false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    TDataInfomationRec rec;
    TDataInfomation::InitRecord(rec);
    rec.Shougou = ds.shougou;
    rec.DataKbn = c.kbn;
    rec.CodeKbn = c.code;
    rec.VerMajor = c.major;
    rec.Kishu = QStringLiteral("2024/13/01");  // not a date
    rec.Kimatu = QStringLiteral("2025/03/31");
    rec.Nendo = 0;
    TDataInfomation info;
    info.WriteIniFile(ds.folder, QString(), rec);
    prepare(entryOf(ds));
    EXPECT_EQ(value("データ区分:"), QString::fromUtf8(c.kind));
    EXPECT_EQ(details->ListNameEdit()->isEnabled(), c.nameEdit);
    EXPECT_EQ(details->ReadOnlyCheck()->isEnabled(), c.journalBox);
    EXPECT_EQ(value("会計期間:"), QStringLiteral("設定なし"));
    EXPECT_EQ(value("会計年度:"), QStringLiteral("設定なし"));
    EXPECT_EQ(value("コード:"), QStringLiteral("設定なし"));
  }
}

TEST_F(DataSyosaiInfo, OkWithABlankNameAsksAndStaysOpen)
{
  const sample::DataSet& ds = root->dataSets.at(0);
  prepare(entryOf(ds));
  details->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(details));
  for (int answer : {mrCancel, mrOk}) {
    boxes.clear();
    confirmAnswer = answer;
    details->ListNameEdit()->setText(QStringLiteral(" 　"));
    details->OkButton()->click();
    EXPECT_EQ(boxes, QStringList({"データリスト名が入力されていません。会社名を設定しますか？"}));
    EXPECT_TRUE(details->isVisible());
    EXPECT_EQ(details->ListNameEdit()->text(), answer == mrOk ? ds.shougou : QStringLiteral(" 　"));
  }
  details->UpdateCheck()->setChecked(true);
  details->OkButton()->click();
  EXPECT_FALSE(details->isVisible());
  EXPECT_EQ(details->result(), mrOk);
  EXPECT_EQ(details->ListName(), ds.shougou);
  EXPECT_EQ(details->Data_UpdateLock(), 1);
  EXPECT_EQ(details->Data_ReadOnly(), 0);
  EXPECT_FALSE(details->StatusClear());
}

TEST_F(DataSyosaiInfo, ALongCompanyNameKeepsToTheEditsWidthAndIsTakenWhole)
{
  const sample::DataSet& ds = root->dataSets.at(0);
  TDataInfomationRec rec;
  TDataInfomation::InitRecord(rec);
  rec.Shougou = QStringLiteral("株式会社髙橋商事グループホールディングス西日本営業本部第二事業部").repeated(2).left(40);
  rec.DataKbn = 1;
  rec.CodeKbn = 1;
  rec.VerMajor = 17;
  TDataInfomation info;
  info.WriteIniFile(ds.folder, QString(), rec);
  TDataListRec entry = entryOf(ds);
  entry.DataListName.clear();
  prepare(entry);
  details->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(details));
  EXPECT_LE(details->ValueLabel(QStringLiteral("会社名:"))->fontMetrics().horizontalAdvance(value("会社名:")),
            details->ListNameEdit()->width());
  EXPECT_EQ(details->ListNameEdit()->text(), rec.Shougou);  // an empty list name shows the company name
  details->ListNameEdit()->clear();
  details->OkButton()->click();
  EXPECT_EQ(details->ListNameEdit()->text(), rec.Shougou);
}

TEST_F(DataSyosaiInfo, F7RebuildsOnlyWhenOfferedAndAsked)
{
  const sample::DataSet& ds = root->dataSets.at(0);
  // Not offered: an entry without a company name.
  TDataListRec unnamed = entryOf(ds);
  unnamed.Shougou.clear();
  prepare(unnamed);
  details->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(details));
  EXPECT_EQ(details->FuncCaption(7), QStringLiteral("F7:"));
  QTest::keyRelease(details, Qt::Key_F7);
  EXPECT_TRUE(boxes.isEmpty());

  // A composition in the list-name edit holds F7.
  prepare(entryOf(ds));
  EXPECT_EQ(details->FuncCaption(7), QStringLiteral("F7:再構築"));
  QInputMethodEvent compose(QStringLiteral("かぶしき"), {});
  QCoreApplication::sendEvent(details->ListNameEdit(), &compose);
  EXPECT_EQ(details->FuncCaption(7), QStringLiteral("F7:"));
  QTest::keyRelease(details, Qt::Key_F7);
  EXPECT_TRUE(boxes.isEmpty());
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("株式"));
  QCoreApplication::sendEvent(details->ListNameEdit(), &commit);
  EXPECT_EQ(details->FuncCaption(7), QStringLiteral("F7:再構築"));

  // Damaged data: both notes; a cancelled question changes nothing.
  setStatus(ds.folder, 10, kMe);
  prepare(entryOf(ds));
  confirmAnswer = mrCancel;
  QTest::keyRelease(details, Qt::Key_F7);
  ASSERT_EQ(boxes.size(), 1);
  EXPECT_TRUE(boxes[0].startsWith("データの再構築を行いますか？\n注意１）"));
  EXPECT_TRUE(boxes[0].contains("注意２）破損データの場合"));
  EXPECT_FALSE(details->SaikotikuZumi());

  // Asked and done: the folder is free again and the dialog says so.
  boxes.clear();
  confirmAnswer = mrOk;
  QTest::keyRelease(details, Qt::Key_F7);
  ASSERT_EQ(boxes.size(), 2) << boxes.join('|').toStdString();
  EXPECT_EQ(boxes[1], QStringLiteral("データの再構築は適正に行われました。"));
  EXPECT_TRUE(details->SaikotikuZumi());
  EXPECT_EQ(value("データの状態:"), fnDataStatusName(int(jxdsNone)));
  EXPECT_TRUE(details->isVisible());
  EXPECT_EQ(companyValue(ds.database, "SHOUGOU"), ds.shougou);
  EXPECT_FALSE(QFile::exists(ds.folder + "/wqacc2.fd_"));
}

class DataSyosaiClientServer : public DataSyosaiInfo {
 protected:
  void SetUp() override
  {
    DataSyosaiInfo::SetUp();
    dm->IBDatabaseDEF.disconnect();  // from here on every database through the server
    FirebirdServer::shared();
    AppType = jxatCS;
    SystemDef.SERVERNAME = QStringLiteral("localhost");
  }
};

TEST_F(DataSyosaiClientServer, NoRebuildWhileAnybodyIsAttached)
{
  const sample::DataSet& ds = root->dataSets.at(0);
  prepare(entryOf(ds));
  details->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(details));
  EXPECT_EQ(value("データ区分:"), QStringLiteral("法人"));  // read through the server
  EXPECT_EQ(details->FuncCaption(7), QStringLiteral("F7:再構築"));
  {
    db::Database other(FirebirdServer::shared().remoteName(ds.database));
    other.setUser("ABACOR");
    other.setPassword("dormil");
    other.connect();
    // In use is an accepted status here: nothing to clear, still editable.
    prepare(entryOf(ds));
    EXPECT_EQ(value("データの状態:"), fnDataStatusName(int(jxdsExec)));
    EXPECT_FALSE(details->StatusClearCheck()->isVisible());
    EXPECT_TRUE(details->FormEnabled());
    EXPECT_TRUE(details->OkButton()->isVisible());
    QTest::keyRelease(details, Qt::Key_F7);
    EXPECT_EQ(boxes, QStringList({"現在、他のユーザーがデータに接続中です。他のユーザーがデータに接続している間はデータ"
                                  "の再構築は行えません。"}));
  }
  boxes.clear();
  QTest::keyRelease(details, Qt::Key_F7);
  ASSERT_EQ(boxes.size(), 2) << boxes.join('|').toStdString();
  EXPECT_EQ(boxes[1], QStringLiteral("データの再構築は適正に行われました。"));
  EXPECT_TRUE(details->SaikotikuZumi());
  EXPECT_EQ(companyValue(FirebirdServer::shared().remoteName(ds.database), "SHOUGOU"), ds.shougou);
}

// ---------------------------------------------------------------- behind the 情報 button

class DataSyosaiFromTheList : public DataSyosaiInfo {
 protected:
  int openOn(const sample::DataSet& ds)
  {
    QObject* o = FormClassLookup(QStringLiteral("DuRoziZuvurad"));
    selection = qobject_cast<TDataSentakuBox*>(o);
    EXPECT_NE(selection, nullptr);
    if (!selection)
      return -1;
    selection->SetManualFree(true);
    selection->SetOptions(
        {"SyoriType=3", "JyokenSet=1", "DataType=-13", "CodeType=0", "DataVerMajor=17", "FormStyle=2"});
    selection->SetPrepare(true);
    selection->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(selection));
    for (int r = 0; r < selection->RowCount(); ++r)
      if (selection->GetRowDataRec(r).Rec == ds.rec) {
        selection->FocusRow(r);
        return r;
      }
    return -1;
  }
  // Presses 情報 and, inside the details dialog, runs the step.
  void info(const std::function<void(TDataSyosaiInfoBox*)>& AStep)
  {
    bool ran = false;
    QTimer::singleShot(0, selection, [&] {
      auto* d = selection->findChild<TDataSyosaiInfoBox*>();
      ASSERT_NE(d, nullptr);
      ASSERT_TRUE(d->isVisible());
      ran = true;
      AStep(d);
      if (d->isVisible())
        d->CancelButton()->click();
    });
    selection->InfoButton()->click();
    EXPECT_TRUE(ran);
  }
};

TEST_F(DataSyosaiFromTheList, ANewNameGoesToTheDataSetAndTheRow)
{
  const sample::DataSet& ds = root->dataSets.at(1);
  const int row = openOn(ds);
  ASSERT_GE(row, 0);
  info([](TDataSyosaiInfoBox* d) {
    EXPECT_TRUE(d->FormEnabled());
    d->ListNameEdit()->setText(QStringLiteral("　詳細で変えた名前"));
    d->UpdateCheck()->setChecked(true);
    d->OkButton()->click();
  });
  EXPECT_EQ(selection->Model()->Text(row, dscol::Name), QStringLiteral("詳細で変えた名前"));
  EXPECT_EQ(selection->GetRowDataRec(row).UpdateLock, 1);
  EXPECT_EQ(companyValue(ds.database, "ENTTEXT"), QStringLiteral("詳細で変えた名前"));
  EXPECT_EQ(companyValue(ds.database, "DATALOCK"), QStringLiteral("1"));
  const IniFile ini(TDataInfomation::IniFileName(ds.folder));
  EXPECT_EQ(ini.ReadString("DATAINFO", "DATALISTNAME"), QStringLiteral("詳細で変えた名前"));
  EXPECT_EQ(ini.ReadInteger("DATASTS", "UPDATE_LOCK", 0), 1);
  // The list table holds it too: a fresh read of the list shows it.
  TDataSentakuListCtl ctl;
  TDataListRec stored;
  stored.Rec = ds.rec;
  ctl.GetDataListRecord(jxrkRec, stored, false);
  EXPECT_EQ(stored.DataListName, QStringLiteral("詳細で変えた名前"));
  EXPECT_EQ(stored.UpdateLock, 1);
}

TEST_F(DataSyosaiFromTheList, StatusClearingNeverReplacesALockTakenMeanwhile)
{
  const sample::DataSet& ds = root->dataSets.at(1);
  struct Case {
    const char* name;
    bool lockedMeanwhile;
    int statusAfter;
    const char* lockColumn;
  } cases[] = {
      {"cleared", false, 1, ""},
      {"locked by another operator while the dialog was open", true, 3, "鍵"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    hook.texts.clear();
    setStatus(ds.folder, 2, kMe);  // left in use by this operator
    const int row = openOn(ds);
    ASSERT_GE(row, 0);
    info([&](TDataSyosaiInfoBox* d) {
      ASSERT_TRUE(d->StatusClearCheck()->isVisible());
      d->StatusClearCheck()->setChecked(true);
      if (c.lockedMeanwhile)
        setStatus(ds.folder, 3, kClerk);
      d->OkButton()->click();
    });
    const IniFile ini(TDataInfomation::IniFileName(ds.folder));
    EXPECT_EQ(ini.ReadInteger("DATASTS", "STATUS", 1), c.statusAfter);
    EXPECT_EQ(selection->Model()->Text(row, dscol::Kagi), QString::fromUtf8(c.lockColumn));
    EXPECT_EQ(selection->GetRowDataRec(row).DataLock, c.lockedMeanwhile ? sample::ClerkCode : 0);
    EXPECT_EQ(hook.texts.size(), c.lockedMeanwhile ? 1 : 0);
    delete selection.data();
  }
}

TEST_F(DataSyosaiFromTheList, ADamagedDataSetIsMarkedThenClearedByARebuild)
{
  const sample::DataSet& ds = root->dataSets.at(0);
  const int row = openOn(ds);
  ASSERT_GE(row, 0);
  SystemDef.DataHasonCheck = 1;
  int validations = 0;
  DataHasonHanteiProc = [&](const QString&, const QString&, int) {
    ++validations;
    return QVariant(0);  // the validation finds the database damaged
  };
  info([](TDataSyosaiInfoBox*) {});  // opened and cancelled
  DataHasonHanteiProc = nullptr;
  EXPECT_EQ(validations, 1);
  EXPECT_EQ(selection->GetRowDataRec(row).Data_Status, jxdbHason);
  EXPECT_EQ(selection->FuncCaption(12), QStringLiteral("F12:"));

  // A damaged row is not validated again; a rebuild clears the mark.
  info([](TDataSyosaiInfoBox* d) {
    QTest::keyRelease(d, Qt::Key_F7);
    EXPECT_TRUE(d->SaikotikuZumi());
  });
  EXPECT_EQ(validations, 1);
  EXPECT_EQ(selection->GetRowDataRec(row).Data_Status, jxdbOK);
  EXPECT_EQ(selection->FuncCaption(12), QStringLiteral("F12:選択"));
  EXPECT_TRUE(boxes.contains(QStringLiteral("データの再構築は適正に行われました。"))) << boxes.join('|').toStdString();
}

}  // namespace
