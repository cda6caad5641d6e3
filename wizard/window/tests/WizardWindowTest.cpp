// The wizard window end to end on a demo installation built in a temporary
// folder: logon against its system database, the data choice through the
// process launcher, the period range and tax mode, the finish, the import
// file checked against the posted journal lines and byte for byte against
// the export core's own file, and the end message the calling program
// receives; also the partner edition and the framework's validation hook.
#include <gtest/gtest.h>
#include <map>

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>

#include "acccalc/AccCalcEnv.h"
#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "common/FbError.h"
#include "common/MessageHook.h"
#include "common/dialogs/Logon.h"
#include "common/tests/DamagedDatabase.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "platform/CallerWindow.h"
#include "platform/IniFile.h"
#include "platform/NamedMutex.h"
#include "platform/SafeSave.h"
#include "platform/TextCodec.h"
#include "tests/support/FirebirdServer.h"
#include "tests/support/ModelTester.h"
#include "tests/support/TempDir.h"
#include "tools/demo_builder/DemoBuilder.h"
#include "ui/AccInterface.h"
#include "ui/AppEnd.h"
#include "ui/SDI.h"
#include "ui/xEdit.h"
#include "ui/xKikanPanel16.h"
#include "ui/z5MessageDlg2.h"
#include "wizard/ComDataExp.h"
#include "wizard/Ug13.h"
#include "wizard/UtiwakesyoXml.h"
#include "wizard/window/MainForm.h"
#include "wizard/window/RendoDataOps.h"
#include "wizard/window/RendoHooks.h"
#include "wizard/window/RendoProgram.h"

namespace {

namespace sample = fixtures::sample;

// What the fake data-selection dialog answers.
QString g_chosenFolder;
int g_dialogResult = 1;
QStringList g_dialogOptions;
int g_dialogCalls = 0;
// The server goes away while the dialog is open: it reports the lost
// connection through the common handler, as the dialog's own reading does.
bool g_dialogLosesServer = false;

}  // namespace

// Stands in for the data-selection dialog: it hands back the chosen folder
// the way the dialog does (in SystemDef.IBPATHDAT) and answers 1 or Cancel.
class FakeDataSentaku : public QObject, public IProcShow {
  Q_OBJECT
 public:
  explicit FakeDataSentaku(QObject* parent = nullptr) : QObject(parent) {}
  void SetOptions(const QStringList& AOptions) override { g_dialogOptions = AOptions; }
  int ShowDisplay(TIShowType) override
  {
    ++g_dialogCalls;
    if (g_dialogLosesServer) {
      deleteLater();
      QDialog dlg;
      QTimer::singleShot(50, &dlg, [] {
        fnShowFbError(db::DbError(QStringLiteral("Error reading data from the connection."), 335544726, -902),
                      QStringLiteral("TDataSentakuBox.DataListRefresh"),
                      QStringLiteral("データリストの更新に失敗しました。"), true);
      });
      return dlg.exec() == QDialog::Accepted ? 1 : 2;
    }
    if (g_dialogResult == 1)
      SystemDef.IBPATHDAT = g_chosenFolder;
    deleteLater();
    return g_dialogResult;
  }
};

namespace {

// Records every message and answers Yes/OK (or the queued answers).
class RecordingHook : public IMessageHook {
 public:
  int ShowMessageDlg(const QString& text, TMsgDlgType, TMsgDlgButtons buttons) override
  {
    texts << text;
    if (!answers.isEmpty())
      return answers.takeFirst();
    return FirstButtonResult(buttons);
  }
  int ShowMessageLines(int, const QStringList& lines) override
  {
    texts << lines.join(u'\r');
    return mrOk;
  }
  // The application's own ending, as the user interface's hook does it.
  void RequestTerminate() override
  {
    ++terminates;
    TAppEnd::Request();
  }
  QStringList texts;
  int terminates = 0;
  QList<int> answers;
};

constexpr quint64 kCallerHandle = 4660;
constexpr int kMessageId = 1025;
constexpr int kFunctionId = 3;

class WizardWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite()
  {
    suiteDir = new TestTempDir;
    DemoOptions o;
    o.folder = suiteDir->file(QStringLiteral("demo"));
    o.programDir = suiteDir->file(QStringLiteral("prog"));
    QDir().mkpath(o.programDir);
    demo = new DemoResult(DemoBuilder::build(o));
    RegisterFormClassByName<FakeDataSentaku>(QStringLiteral("DuRoziZuvurad"));
  }
  static void TearDownTestSuite()
  {
    delete demo;
    delete suiteDir;
  }

  void SetUp() override
  {
    ASSERT_TRUE(demo->built);
    for (const char* name : {"RENDO_DATA_ROOT", "RENDO_REGISTRY_FILE", "RENDO_APPINFO_DIR", "XDG_RUNTIME_DIR"})
      saved[name] = qgetenv(name);
    qputenv("RENDO_DATA_ROOT", QDir(demo->folder).filePath(QStringLiteral("common")).toLocal8Bit());
    qputenv("RENDO_REGISTRY_FILE", QDir(demo->folder).filePath(QStringLiteral("registry.ini")).toLocal8Bit());
    qputenv("RENDO_APPINFO_DIR", suiteDir->file(QStringLiteral("prog")).toLocal8Bit());
    QDir().mkpath(dir.file(QStringLiteral("run")));
    qputenv("XDG_RUNTIME_DIR", dir.file(QStringLiteral("run")).toLocal8Bit());
    pcAccRecordReset();
    pcResetRendoDataOps();
    SetMessageHook(&hook);
    pcSetMessageBox2Hook([this](TMessage2InfoRec& r) {
      QStringList lines;
      for (const auto& c : r.Caption)
        if (!c.Text.isEmpty())
          lines << c.Text;
      boxes << lines.join(u'\r');
      return box2Answers.isEmpty() ? box2Answer : box2Answers.takeFirst();
    });
    g_chosenFolder = general().folder;
    g_dialogResult = 1;
    g_dialogCalls = 0;
    g_dialogLosesServer = false;
  }
  void TearDown() override
  {
    SetMessageHook(nullptr);
    pcSetMessageBox2Hook(nullptr);
    pcResetRendoDataOps();
    SetAccCalcDatabase({});
    if (DM) {
      DM->IBDatabaseDAT.disconnect();
      DM->IBDatabaseDEF.disconnect();
    }
    for (const auto& [name, value] : saved) {
      if (value.isNull())
        qunsetenv(name.c_str());
      else
        qputenv(name.c_str(), value);
    }
  }

  static const sample::DataSet& general()
  {
    for (const auto& d : demo->dataSets)
      if (d.kind == fixtures::CompanyKind::General)
        return d;
    return demo->dataSets.first();
  }

  // Answers the logon dialog as soon as it shows.
  void answerLogon(bool ok)
  {
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, ok] {
      auto* box = qobject_cast<TLogonBox*>(QApplication::activeModalWidget());
      if (!box)
        return;
      timer->stop();
      timer->deleteLater();
      if (!ok) {
        box->reject();
        return;
      }
      box->OpCodeEdit()->setText(QString::number(sample::OperatorCode));
      box->PasswordEdit()->setText(sample::operatorPassword());
      box->RunOk();
    });
    timer->start();
  }

  // Creates, initialises and shows the window, and logs on.
  std::unique_ptr<TForm1> start(const QStringList& args)
  {
    auto form = std::make_unique<TForm1>(args, suiteDir->file(QStringLiteral("prog/rendo")));
    EXPECT_TRUE(form->Created()) << hook.texts.join(u'|').toStdString();
    if (!form->Created())
      return form;
    EXPECT_TRUE(form->InitForm()) << hook.texts.join(u'|').toStdString();
    answerLogon(true);
    form->show();
    // The logon runs from the event loop once the window shows.
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return SystemDef.OPCODE != 0 && QApplication::activeModalWidget() == nullptr; }, 20000));
    return form;
  }

  QStringList callerArgs(const QString& out) const
  {
    return {QStringLiteral("%1,%2,%3,%4").arg(kCallerHandle).arg(kMessageId).arg(kFunctionId).arg(out)};
  }

  // Goes to page 3 with the demo's general company chosen.
  void toPage3(TForm1& form)
  {
    form.Button2->click();  // page1 -> page2
    ASSERT_EQ(form.CurrentPageName(), QStringLiteral("page2"));
    {
      testenv::ScopedModelTester tester(form.DataInfoModel());
      form.btnDataSentaku->click();
    }
    ASSERT_EQ(form.DataInfoModel()->RowCount(), 4)
        << hook.texts.join(u'|').toStdString() << boxes.join(u'|').toStdString();
    EXPECT_EQ(form.listDataInfo->model()->index(2, 0).data().toString(), QStringLiteral("会計年度"));
    form.Button2->click();
    ASSERT_EQ(form.CurrentPageName(), QStringLiteral("page3"));
  }

  // The import file the export core writes on its own for the general data
  // set, the periods 0..edno of a full year and the tax mode: the choices
  // the test made on the pages, not what the window handed on.
  QByteArray coreImportFile(int edno, bool taxOut, const QString& path)
  {
    const sample::DataSet& d = general();
    AccInf = TACCINF{};
    EXPECT_TRUE(DM->fnAccDatConnected(QString(), d.folder, false));
    EXPECT_TRUE(DM->fnGetAccInfo());
    SetAccCalcDatabase({&DM->IBTransactionDATSS, &DM->IBTransactionDAT});
    {
      TUtiwakesyoDataExport exp(suiteDir->file(QStringLiteral("prog/rendo")), path, kFunctionId);
      exp.DataFilePath = d.folder;
      exp.KOMONSAKI = d.shougou;
      exp.JIGYONENDOFROM = FromQDate(d.kishu);
      exp.JIGYONENDOTO = FromQDate(d.kishu.addYears(1).addDays(-1));
      exp.DataKUB1 = 1;
      exp.KikanFrom = 0;
      exp.KikanTo = edno;
      exp.LastNo = 15;
      exp.TaxUH = taxOut ? 1 : 0;
      EXPECT_NO_THROW(pcRendoWriteImportFile(exp, path));
    }
    SetAccCalcDatabase({});
    DM->fnAccDatDisConnected(d.folder, false, false, false);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
  }

  static QList<QByteArray> receiveAll(CallerWindowEndpoint& ep)
  {
    QList<QByteArray> got;
    QByteArray d;
    while (ep.receive(d, 200))
      got << d;
    return got;
  }

  static inline TestTempDir* suiteDir = nullptr;
  static inline DemoResult* demo = nullptr;
  TestTempDir dir;
  RecordingHook hook;
  QStringList boxes;
  int box2Answer = mrOk;
  QList<int> box2Answers;
  std::map<std::string, QByteArray> saved;
};

// The balances of the written file by account code.
std::map<QString, QString> readBalances(const QString& path, QString& komonsaki, QString& functionId)
{
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
  const QByteArray bytes = f.readAll();
  EXPECT_TRUE(bytes.startsWith("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>"));
  bool ok = false;
  const QString text = fromCp932(bytes, &ok);
  EXPECT_TRUE(ok);
  QXmlStreamReader xml(text.mid(text.indexOf(u'\n') + 1));
  std::map<QString, QString> out;
  QString code;
  while (!xml.atEnd()) {
    xml.readNext();
    if (!xml.isStartElement())
      continue;
    const QString n = xml.name().toString();
    if (n == u"KANJYOKAMOKU_CODE")
      code = xml.readElementText();
    else if (n == u"KANJYOKAMOKU_ZANDAKA")
      out[code] = xml.readElementText();
    else if (n == u"KOMONSAKINAME")
      komonsaki = xml.readElementText();
    else if (n == u"FUNCTIONID")
      functionId = xml.readElementText();
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  return out;
}

// The first line where two import files differ, decoded, for the report.
std::string firstDifference(const QByteArray& a, const QByteArray& b)
{
  const QList<QByteArray> la = a.split('\n');
  const QList<QByteArray> lb = b.split('\n');
  for (qsizetype i = 0; i < std::max(la.size(), lb.size()); ++i) {
    const QByteArray x = la.value(i);
    const QByteArray y = lb.value(i);
    if (x != y)
      return QStringLiteral("line %1: window \"%2\", core \"%3\"")
          .arg(i + 1)
          .arg(fromCp932(x), fromCp932(y))
          .toStdString();
  }
  return "no difference";
}

int periodOf(const QDate& date, const QDate& kishu)
{
  const int month = (date.year() - kishu.year()) * 12 + date.month() - kishu.month();
  return month + 1 + month / 3;
}

}  // namespace

TEST_F(WizardWindow, CalledRunWritesTheBalancesOfTheRangeAndTellsTheCaller)
{
  struct Case {
    const char* what;
    int edno;     // last period cell chosen
    bool taxOut;  // tax excluded
    int calcTo;   // last period of the computation (1-based)
  };
  const Case cases[] = {
      {"first quarter, tax excluded", 2, true, 3},
      {"whole year, tax included", 15, false, 16},
  };
  for (const Case& c : cases) {
    const QString out = dir.file(QStringLiteral("out,%1.xml").arg(c.edno));
    CallerWindowEndpoint ep(kCallerHandle);
    ASSERT_TRUE(ep.isOpen());
    {
      auto form = start(callerArgs(out));
      ASSERT_TRUE(form->Created());
      // With the argument there is no output-file page.
      EXPECT_EQ(form->PageNames(), (QStringList{"page1", "page2", "page3", "page5"}));
      toPage3(*form);
      EXPECT_EQ(g_dialogOptions.mid(0, 5),
                (QStringList{"SyoriType=3", "JyokenSet=1", "DataType=-13", "CodeType=0", "DataVerMajor=17"}));
      EXPECT_TRUE(g_dialogOptions.contains(QStringLiteral("FormStyle=2")));
      form->xKikanPanel3a->SetEdno(c.edno);
      (c.taxOut ? form->RadioButton3b : form->RadioButton3a)->setChecked(true);
      form->Button2->click();
      ASSERT_EQ(form->CurrentPageName(), QStringLiteral("page5"));
      const QString summary = form->Memo5b->toPlainText();
      EXPECT_TRUE(summary.contains(c.taxOut ? QStringLiteral("税抜き") : QStringLiteral("税込み")));
      EXPECT_FALSE(summary.contains(QStringLiteral("【中間ファイル】")));
      form->Button2->click();  // finish
      EXPECT_EQ(form->EndState(), 0) << c.what << hook.texts.join(u'|').toStdString();
      // No success box when called.
      EXPECT_FALSE(hook.texts.join(u'|').contains(QStringLiteral("中間ファイルが作成されました。")));
    }
    const QList<QByteArray> got = receiveAll(ep);
    ASSERT_FALSE(got.isEmpty());
    EXPECT_EQ(got.first(), CallerWindow::EnableWindowDatagram(false));
    EXPECT_TRUE(got.contains(CallerWindow::EnableWindowDatagram(true)));
    EXPECT_EQ(got.last(), CallerWindow::PostMessageDatagram(kMessageId, kFunctionId, 0)) << c.what;

    // The file against the journal the demo posted: profit-and-loss accounts
    // start the year at zero, so their balance is the movement of the range.
    QString komonsaki, functionId;
    const auto written = readBalances(out, komonsaki, functionId);
    EXPECT_EQ(komonsaki, general().shougou);
    EXPECT_EQ(functionId, QString::number(kFunctionId));
    db::Database database(general().database);
    database.setUser(QStringLiteral("ABACOR"));
    database.setPassword(QStringLiteral("dormil"));
    database.connect();
    db::Transaction tr(database, db::Transaction::ReadCommittedReadOnly);
    tr.start();
    for (const QString& kcode : {sample::acc::Kyuryo, sample::acc::Uriage, sample::acc::Shiire, sample::acc::Ryohi}) {
      db::Query q(tr, QStringLiteral("SELECT DAC, USERCODE FROM KAMOKUMST WHERE KCODE = :KCODE"));
      q.setParam(QStringLiteral("KCODE"), kcode);
      q.open();
      ASSERT_FALSE(q.eof());
      const int dac = q.field(QStringLiteral("DAC")).asInt();
      const QString usercode = q.field(QStringLiteral("USERCODE")).asString();
      Currency sum;
      for (const fixtures::JournalEntry& e :
           sample::yearOfJournal(fixtures::CompanyKind::General, 1, general().kishu)) {
        const int p = e.period ? e.period : periodOf(e.date, general().kishu);
        if (p < 1 || p > c.calcTo)
          continue;
        if (e.debit.kcode == kcode)
          sum += e.debit.amount + (c.taxOut ? Currency() : e.debit.tax);
        if (e.credit.kcode == kcode)
          sum -= e.credit.amount + (c.taxOut ? Currency() : e.credit.tax);
      }
      const Currency ownSide = (dac == 1 || dac == 4) ? sum : -sum;
      const Currency expected = (dac == 2 || dac == 4) ? -ownSide : ownSide;
      ASSERT_TRUE(written.count(usercode)) << c.what << " " << usercode.toStdString();
      EXPECT_EQ(written.at(usercode), fnUtiwakesyoAmountText(expected)) << c.what << " " << usercode.toStdString();
    }
    tr.commit();
    database.disconnect();

    // The whole file, byte for byte, against the one the export core writes
    // for the same data set and choices: anything the window's road adds,
    // drops or passes on wrongly shows here.
    QFile windowFile(out);
    ASSERT_TRUE(windowFile.open(QIODevice::ReadOnly));
    const QByteArray windowBytes = windowFile.readAll();
    const QByteArray coreBytes = coreImportFile(c.edno, c.taxOut, dir.file(QStringLiteral("core-%1.xml").arg(c.edno)));
    ASSERT_FALSE(coreBytes.isEmpty()) << c.what;
    EXPECT_TRUE(windowBytes == coreBytes) << c.what << ": " << firstDifference(windowBytes, coreBytes);
  }
}

// The argument may name the window handle 0: the run has the argument (no
// output-file page, the summary built on leaving page 3) but nobody to tell.
TEST_F(WizardWindow, AnArgumentWithHandleZeroTakesTheChoicesAndTellsNobody)
{
  const QString out = dir.file(QStringLiteral("zero.xml"));
  CallerWindowEndpoint elsewhere(kCallerHandle);
  bool taxOut = false;
  {
    auto form = start({QStringLiteral("0,%1,%2,%3").arg(kMessageId).arg(kFunctionId).arg(out)});
    ASSERT_TRUE(form->Created());
    EXPECT_FALSE(form->Caller().IsCalled());
    EXPECT_EQ(form->PageNames(), (QStringList{"page1", "page2", "page3", "page5"}));
    toPage3(*form);
    // Choices other than the data's defaults: the first quarter and the
    // other tax mode.
    form->xKikanPanel3a->SetEdno(2);
    taxOut = form->RadioButton3a->isChecked();
    (taxOut ? form->RadioButton3b : form->RadioButton3a)->setChecked(true);
    form->Button2->click();
    ASSERT_EQ(form->CurrentPageName(), QStringLiteral("page5"));
    const QString summary = form->Memo5b->toPlainText();
    EXPECT_TRUE(summary.contains(taxOut ? QStringLiteral("税抜き") : QStringLiteral("税込み")))
        << summary.toStdString();
    EXPECT_FALSE(summary.contains(QStringLiteral("【中間ファイル】")));
    form->Button2->click();  // finish
    EXPECT_EQ(form->EndState(), 0) << hook.texts.join(u'|').toStdString();
    // With the argument there is no success box.
    EXPECT_FALSE(hook.texts.join(u'|').contains(QStringLiteral("中間ファイルが作成されました。")));
  }
  EXPECT_TRUE(receiveAll(elsewhere).isEmpty());
  QFile windowFile(out);
  ASSERT_TRUE(windowFile.open(QIODevice::ReadOnly));
  const QByteArray windowBytes = windowFile.readAll();
  const QByteArray coreBytes = coreImportFile(2, taxOut, dir.file(QStringLiteral("core-zero.xml")));
  ASSERT_FALSE(coreBytes.isEmpty());
  EXPECT_TRUE(windowBytes == coreBytes) << firstDifference(windowBytes, coreBytes);
}

TEST_F(WizardWindow, CancelAndCloseBoxStopTheRun)
{
  struct Case {
    const char* what;
    bool closeBox;
  };
  for (const Case c : {Case{"cancel button, answered Yes", false}, Case{"close box", true}}) {
    CallerWindowEndpoint ep(kCallerHandle);
    {
      auto form = start(callerArgs(dir.file(QStringLiteral("never.xml"))));
      toPage3(*form);
      if (c.closeBox) {
        form->close();
      } else {
        hook.answers = {mrNo};
        form->btnCancel->click();  // No: nothing happens
        EXPECT_TRUE(form->isVisible()) << c.what;
        EXPECT_TRUE(hook.texts.last().startsWith(QStringLiteral("[キャンセル]ボタンが押されました。")));
        form->btnCancel->click();  // Yes
      }
      EXPECT_FALSE(form->isVisible()) << c.what;
      EXPECT_EQ(form->EndState(), 1) << c.what;
      // The data set was released and the logon record removed.
      EXPECT_FALSE(DM->IBDatabaseDAT.isConnected());
      EXPECT_FALSE(DM->IBDatabaseDEF.isConnected());
    }
    const QList<QByteArray> got = receiveAll(ep);
    ASSERT_FALSE(got.isEmpty());
    EXPECT_EQ(got.last(), CallerWindow::PostMessageDatagram(kMessageId, kFunctionId, 1)) << c.what;
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("never.xml"))));
  }
}

TEST_F(WizardWindow, FailedComputationWritesNoFileAndEndsWithTwo)
{
  const QString out = dir.file(QStringLiteral("out.xml"));
  {
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("earlier");
  }
  // The company database goes away under the computation.
  auto read = RendoDataOps().GetAccInfo;
  RendoDataOps().GetAccInfo = [read] {
    const bool ok = read();
    SetAccCalcDatabase({});
    return ok;
  };
  CallerWindowEndpoint ep(kCallerHandle);
  {
    auto form = start(callerArgs(out));
    toPage3(*form);
    form->Button2->click();
    form->Button2->click();  // finish
    EXPECT_EQ(form->EndState(), 2);
    EXPECT_FALSE(form->isVisible());
    const QString shown = hook.texts.join(u'|');
    EXPECT_TRUE(shown.contains(QStringLiteral("科目の集計処理に失敗しました。"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("中間ファイルの作成に失敗しました。"))) << shown.toStdString();
  }
  QFile f(out);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("earlier"));
  const QList<QByteArray> got = receiveAll(ep);
  ASSERT_FALSE(got.isEmpty());
  EXPECT_EQ(got.last(), CallerWindow::PostMessageDatagram(kMessageId, kFunctionId, 2));
}

TEST_F(WizardWindow, AFullDiskKeepsTheEarlierFileAndEndsWithTwo)
{
  const QString out = dir.file(QStringLiteral("out.xml"));
  {
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("the earlier good file");
  }
  CallerWindowEndpoint ep(kCallerHandle);
  {
    auto form = start(callerArgs(out));
    toPage3(*form);
    form->Button2->click();
    // The disk takes a few hundred bytes of the new file, then is full.
    SetSafeSaveFaultAfter(300, ENOSPC);
    form->Button2->click();  // finish
    SetSafeSaveFaultAfter(-1, 0);
    EXPECT_EQ(form->EndState(), 2);
    EXPECT_FALSE(form->isVisible());
    const QString shown = hook.texts.join(u'|');
    EXPECT_TRUE(shown.contains(QStringLiteral("中間ファイルの作成に失敗しました。"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("ディスクの空き容量が足りません。"))) << shown.toStdString();
  }
  QFile f(out);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("the earlier good file"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("out.xml")});
  const QList<QByteArray> got = receiveAll(ep);
  ASSERT_FALSE(got.isEmpty());
  EXPECT_EQ(got.last(), CallerWindow::PostMessageDatagram(kMessageId, kFunctionId, 2));
}

// A lost server while the data-selection dialog is open ends the whole
// program: the dialog closes, the window records the failure and closes,
// the program block returns, and the caller hears 2.
TEST_F(WizardWindow, ALostServerInTheDataSelectionEndsTheProgramWithTwo)
{
  g_dialogLosesServer = true;
  CallerWindowEndpoint ep(kCallerHandle);
  answerLogon(true);
  // Once logged on: page 2 and the data selection.
  QTimer driver;
  driver.setInterval(20);
  QObject::connect(&driver, &QTimer::timeout, [&] {
    TForm1* form = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* f = qobject_cast<TForm1*>(w))
        form = f;
    if (!form || !form->isVisible() || SystemDef.OPCODE == 0 || QApplication::activeModalWidget())
      return;
    driver.stop();
    form->Button2->click();
    form->btnDataSentaku->click();
  });
  driver.start();
  bool stuck = false;
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, [&] {
    stuck = true;
    for (QWidget* w : QApplication::topLevelWidgets())
      w->close();
  });
  watchdog.start(60000);
  EXPECT_EQ(fnRendoProgramMain(callerArgs(dir.file(QStringLiteral("never.xml")))), 0);
  watchdog.stop();
  EXPECT_FALSE(stuck) << "the program did not end";
  EXPECT_EQ(g_dialogCalls, 1);
  EXPECT_EQ(hook.terminates, 1);
  EXPECT_EQ(hook.texts.filter(QStringLiteral("ネットワークが物理的に切断されている")).size(), 1)
      << hook.texts.join(u'|').toStdString();
  EXPECT_TRUE(TAppEnd::Requested());
  // The program block has let go: another copy could start now.
  EXPECT_FALSE(NamedMutex::Exists(QStringLiteral("GENSYOU_RENDO")));
  const QList<QByteArray> got = receiveAll(ep);
  ASSERT_FALSE(got.isEmpty());
  EXPECT_EQ(got.last(), CallerWindow::PostMessageDatagram(kMessageId, kFunctionId, 2));
  EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("never.xml"))));
}

// The server goes away during the export: a private server holds the
// company database the computation reads, and is killed before the finish.
// The operator reads at once that the connection is gone (once, without the
// server's English text), the program is asked to end once, the run ends 2.
TEST_F(WizardWindow, ALostServerDuringTheExportShowsTheNetworkTextAndEndsOnce)
{
  FirebirdServer server;
  server.start();
  ASSERT_TRUE(QDir().mkpath(dir.file(QStringLiteral("remote"))));
  const QString copy = dir.file(QStringLiteral("remote/wqacc2.fdb"));
  ASSERT_TRUE(QFile::copy(general().database, copy));
  db::Database remote(server.remoteName(copy));
  remote.setUser(QString::fromLatin1(FirebirdServer::User));
  remote.setPassword(QString::fromLatin1(FirebirdServer::Password));
  remote.connect();
  db::Transaction snapshot(remote, db::Transaction::Snapshot);
  db::Transaction main(remote);
  auto read = RendoDataOps().GetAccInfo;
  RendoDataOps().GetAccInfo = [&, read] {
    const bool ok = read();
    SetAccCalcDatabase({&snapshot, &main});
    return ok;
  };
  const QString out = dir.file(QStringLiteral("lost.xml"));
  CallerWindowEndpoint ep(kCallerHandle);
  {
    auto form = start(callerArgs(out));
    toPage3(*form);
    form->Button2->click();
    server.stop();
    const qsizetype before = hook.texts.size();
    form->Button2->click();  // finish
    EXPECT_EQ(form->EndState(), 2);
    EXPECT_FALSE(form->isVisible());
    const QStringList shown = hook.texts.mid(before);
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_TRUE(shown.first().startsWith(FbNetworkText)) << shown.join(u'|').toStdString();
    EXPECT_EQ(shown.filter(QStringLiteral("ネットワークが物理的に切断されている")).size(), 1);
    EXPECT_TRUE(shown.filter(QStringLiteral("ErrCode<")).isEmpty()) << shown.join(u'|').toStdString();
    EXPECT_EQ(hook.terminates, 1);
    SetAccCalcDatabase({});
  }
  EXPECT_FALSE(QFile::exists(out));
  const QList<QByteArray> got = receiveAll(ep);
  ASSERT_FALSE(got.isEmpty());
  EXPECT_EQ(got.last(), CallerWindow::PostMessageDatagram(kMessageId, kFunctionId, 2));
}

TEST_F(WizardWindow, RefusedArgumentsEndBeforeTheWizard)
{
  struct Case {
    const char* what;
    QStringList args;
    QString message;
    bool posted;
  };
  const Case cases[] = {
      {"two arguments",
       {"4660,1025,3,/tmp/a", "b.xml"},
       "不正な引数が渡されました。\r\rアプリケーションを強制終了します。",
       false},
      {"a window handle that is not a number",
       {"x,1025,3,/tmp/a.xml"},
       "不正な引数が渡されました。\rPHandle の値「x」は整数ではありません。",
       false},
      {"a negative window handle",
       {"-4660,1025,3,/tmp/a.xml"},
       "不正な引数が渡されました。\rPHandle の値「-4660」は負の数です。",
       false},
  };
  for (const Case& c : cases) {
    hook.texts.clear();
    CallerWindowEndpoint ep(kCallerHandle);
    {
      TForm1 form(c.args, suiteDir->file(QStringLiteral("prog/rendo")));
      EXPECT_FALSE(form.Created()) << c.what;
      ASSERT_FALSE(hook.texts.isEmpty()) << c.what;
      EXPECT_TRUE(hook.texts.first().startsWith(c.message)) << c.what << " " << hook.texts.first().toStdString();
    }
    // The caller's window was never disabled, and nothing is posted.
    EXPECT_TRUE(receiveAll(ep).isEmpty()) << c.what;
  }
}

TEST_F(WizardWindow, AMissingOrTruncatedIdentityFileIsNamedAndEndsWithTwo)
{
  QByteArray full;
  {
    QFile f(suiteDir->file(QStringLiteral("prog/AppInfo.ini")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    full = f.readAll();
  }
  struct Case {
    const char* what;
    QByteArray content;  // empty: no file
    QStringList named;   // what the message names
  };
  const Case cases[] = {
      {"missing", QByteArray(), {dir.file(QStringLiteral("ident/AppInfo.ini"))}},
      {"cut off before the data files",
       full.left(full.indexOf("HomeDir=")),
       {"[Zaimu] HomeDir", "[Zaimu] DataDefFile", "[Zaimu] DataFile", "[Zaimu] DataIniFile"}},
  };
  for (const Case& c : cases) {
    hook.texts.clear();
    const QString folder = dir.file(QStringLiteral("ident"));
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    if (!c.content.isEmpty()) {
      QFile f(folder + QStringLiteral("/AppInfo.ini"));
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write(c.content);
    }
    qputenv("RENDO_APPINFO_DIR", folder.toLocal8Bit());
    CallerWindowEndpoint ep(kCallerHandle);
    {
      TForm1 form(callerArgs(dir.file(QStringLiteral("x.xml"))), suiteDir->file(QStringLiteral("prog/rendo")));
      EXPECT_FALSE(form.Created()) << c.what;
      ASSERT_EQ(hook.texts.size(), 1) << c.what;
      const QString shown = hook.texts.first();
      EXPECT_TRUE(shown.startsWith(QStringLiteral("アプリケーションの設定ファイル(AppInfo.ini)"))) << c.what;
      EXPECT_TRUE(shown.endsWith(QStringLiteral("\rアプリケーションを強制終了します。"))) << c.what;
      for (const QString& n : c.named)
        EXPECT_TRUE(shown.contains(n)) << c.what << ": " << shown.toStdString();
    }
    const QList<QByteArray> got = receiveAll(ep);
    ASSERT_FALSE(got.isEmpty()) << c.what;
    EXPECT_EQ(got.last(), CallerWindow::PostMessageDatagram(kMessageId, kFunctionId, 2)) << c.what;
  }
}

TEST_F(WizardWindow, AFailedInitialisationNamesTheProgramAndTheCauseAndEndsWithTwo)
{
  struct Case {
    const char* what;
    std::function<QString()> prepare;  // the data root; the file the message must name
  };
  QString named;
  const Case cases[] = {
      {"the application-data root is a file: no settings file can be written",
       [&] {
         const QString blocker = dir.file(QStringLiteral("blocker"));
         QFile f(blocker);
         f.open(QIODevice::WriteOnly);
         named = blocker;
         return blocker;
       }},
      {"the local settings file is random bytes",
       [&] {
         const QString root = dir.file(QStringLiteral("root"));
         const QString folder = root + u'/' + DemoBuilder::homeDir();
         QDir().mkpath(folder);
         named = folder + u'/' + DemoBuilder::appName() + QStringLiteral(".ini");
         QFile f(named);
         f.open(QIODevice::WriteOnly);
         QByteArray noise;
         for (int i = 0; i < 512; ++i)
           noise.append(char((i * 73 + 41) % 256 | 0x80));
         f.write(noise);
         return root;
       }},
  };
  for (const Case& c : cases) {
    hook.texts.clear();
    qputenv("RENDO_DATA_ROOT", c.prepare().toLocal8Bit());
    CallerWindowEndpoint ep(kCallerHandle);
    {
      TForm1 form(callerArgs(dir.file(QStringLiteral("x.xml"))), suiteDir->file(QStringLiteral("prog/rendo")));
      ASSERT_TRUE(form.Created()) << c.what;
      EXPECT_FALSE(form.InitForm()) << c.what;
      ASSERT_FALSE(hook.texts.isEmpty()) << c.what;
      const QString shown = hook.texts.last();
      EXPECT_TRUE(shown.startsWith(
          QStringLiteral("アプリケーションの初期化に失敗しました。\r連動ﾃﾞｰﾀの作成を終了します。\r\r")))
          << c.what << ": " << shown.toStdString();
      EXPECT_TRUE(shown.contains(named)) << c.what << ": " << shown.toStdString();
    }
    const QList<QByteArray> got = receiveAll(ep);
    ASSERT_FALSE(got.isEmpty()) << c.what;
    EXPECT_EQ(got.last(), CallerWindow::PostMessageDatagram(kMessageId, kFunctionId, 2)) << c.what;
  }
}

TEST_F(WizardWindow, ASecondCopyOrTheAccountingProgramIsRefused)
{
  struct Case {
    const char* mutex;
    const char* message;
  };
  const Case cases[] = {
      {"TESSALY000", rendo_text::kTessalyRunning},
      {"TESSALY2_TOOLS", rendo_text::kToolsRunning},
      {"GENSYOU_RENDO", rendo_text::kAlreadyRunning},
  };
  for (const Case& c : cases) {
    hook.texts.clear();
    // The mutex is held (a lock of its own counts as another holder).
    NamedMutex holder(QString::fromLatin1(c.mutex));
    ASSERT_TRUE(holder.tryLock()) << c.mutex;
    EXPECT_EQ(fnRendoInstanceCheck().Mutex, QString::fromLatin1(c.mutex));
    EXPECT_EQ(fnRendoProgramMain({}), 0);
    ASSERT_EQ(hook.texts.size(), 1) << c.mutex;
    EXPECT_EQ(hook.texts.first(), QString::fromUtf8(c.message));
    holder.release();
  }
  EXPECT_TRUE(fnRendoInstanceCheck().Mutex.isEmpty());
}

TEST_F(WizardWindow, RefusedLogonEndsWithTwo)
{
  CallerWindowEndpoint ep(kCallerHandle);
  {
    TForm1 form(callerArgs(dir.file(QStringLiteral("x.xml"))), suiteDir->file(QStringLiteral("prog/rendo")));
    ASSERT_TRUE(form.Created());
    ASSERT_TRUE(form.InitForm());
    bool closed = false;
    QObject::connect(&form, &TForm1::closed, [&] { closed = true; });
    answerLogon(false);
    form.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return closed; }, 20000));
    EXPECT_EQ(form.EndState(), 2);
  }
  const QList<QByteArray> got = receiveAll(ep);
  ASSERT_FALSE(got.isEmpty());
  EXPECT_EQ(got.last(), CallerWindow::PostMessageDatagram(kMessageId, kFunctionId, 2));
}

TEST_F(WizardWindow, StandAloneRunAsksForTheFileAndTellsNobody)
{
  const QString out = dir.file(QStringLiteral("alone.xml"));
  auto form = start({});
  EXPECT_EQ(form->PageNames(), (QStringList{"page1", "page2", "page3", "page4", "page5"}));
  toPage3(*form);
  form->Button2->click();
  ASSERT_EQ(form->CurrentPageName(), QStringLiteral("page4"));
  // No file name: refused with the warning, the page stays.
  form->Edit4a->clear();
  form->Button2->click();
  EXPECT_EQ(form->CurrentPageName(), QStringLiteral("page4"));
  EXPECT_EQ(hook.texts.last(), QString::fromUtf8(rendo_text::kNoFileGiven));
  form->Edit4a->setText(out);
  form->Button2->click();
  ASSERT_EQ(form->CurrentPageName(), QStringLiteral("page5"));
  EXPECT_TRUE(form->Memo5b->toPlainText().contains(QStringLiteral("【中間ファイル】\n ") + out));
  form->Button2->click();
  EXPECT_EQ(form->EndState(), 0) << hook.texts.join(u'|').toStdString();
  EXPECT_EQ(hook.texts.last(), QStringLiteral("中間ファイルが作成されました。\r"));
  EXPECT_TRUE(QFile::exists(out));
}

TEST_F(WizardWindow, PageTwoNeedsAChosenDataSet)
{
  auto form = start({});
  form->Button2->click();
  // The dialog cancelled before anything was chosen: nothing is open.
  g_dialogResult = 2;
  form->btnDataSentaku->click();
  EXPECT_EQ(form->DataInfoModel()->RowCount(), 0);
  EXPECT_TRUE(SystemDef.IBPATHDAT.isEmpty());
  form->Button2->click();
  EXPECT_EQ(form->CurrentPageName(), QStringLiteral("page2"));
  EXPECT_EQ(hook.texts.last(), QString::fromUtf8(rendo_text::kNoDataChosen));
  // A data set whose version is too old is refused with the offer to choose
  // again; Cancel ends the choice with nothing open.
  g_dialogResult = 1;
  RendoDataOps().GetDataBaseVer = [] { return QStringLiteral("16.9.9"); };
  box2Answer = mrCancel;
  form->btnDataSentaku->click();
  ASSERT_FALSE(boxes.isEmpty());
  EXPECT_TRUE(boxes.last().startsWith(QStringLiteral("このプログラムで処理できるデータバージョンに達していません。")));
  EXPECT_TRUE(boxes.last().endsWith(QString::fromUtf8(rendo_text::kChooseAgain)));
  EXPECT_EQ(form->DataInfoModel()->RowCount(), 0);
  EXPECT_FALSE(DM->IBDatabaseDAT.isConnected());
  form->close();
}

TEST_F(WizardWindow, KeyboardAloneLeadsFromLogonToTheFile)
{
  const QString out = dir.file(QStringLiteral("keys.xml"));
  CallerWindowEndpoint ep(kCallerHandle);
  {
    auto form = start(callerArgs(out));
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    auto key = [](Qt::Key k) {
      // A dialog or progress box that closed hands the activation back
      // through the event loop.
      static_cast<void>(QTest::qWaitFor([] { return QApplication::focusWidget() != nullptr; }, 2000));
      QWidget* w = QApplication::focusWidget();
      ASSERT_NE(w, nullptr);
      QTest::keyClick(w, k);
    };
    EXPECT_EQ(QApplication::focusWidget(), form->Button2);
    key(Qt::Key_Return);  // page1 -> page2
    ASSERT_EQ(form->CurrentPageName(), QStringLiteral("page2"));
    EXPECT_EQ(QApplication::focusWidget(), form->btnDataSentaku);
    key(Qt::Key_Return);  // the data choice
    ASSERT_EQ(form->DataInfoModel()->RowCount(), 4);
    static_cast<void>(QTest::qWaitFor([] { return QApplication::focusWidget() != nullptr; }, 2000));
    EXPECT_EQ(QApplication::focusWidget(), form->Button2);
    key(Qt::Key_Return);  // page2 -> page3
    ASSERT_EQ(form->CurrentPageName(), QStringLiteral("page3"));
    EXPECT_EQ(QApplication::focusWidget(), form->xKikanPanel3a);
    for (int i = 0; i < 16; ++i)
      key(Qt::Key_Left);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    key(Qt::Key_Return);  // the range ends at the third month
    EXPECT_EQ(form->xKikanPanel3a->Stno(), AccInf.StartMNum);
    EXPECT_EQ(form->xKikanPanel3a->Edno(), 2);
    ASSERT_TRUE(qobject_cast<QRadioButton*>(QApplication::focusWidget()));
    key(Qt::Key_Right);  // 税抜き
    EXPECT_TRUE(form->RadioButton3b->isChecked());
    key(Qt::Key_Return);  // page3 -> page5
    ASSERT_EQ(form->CurrentPageName(), QStringLiteral("page5"));
    EXPECT_TRUE(form->Memo5b->toPlainText().contains(QStringLiteral(" 消費税計算区分: 税抜き")));
    EXPECT_EQ(QApplication::focusWidget(), form->Button2);
    key(Qt::Key_Return);  // finish
    EXPECT_EQ(form->EndState(), 0) << hook.texts.join(u'|').toStdString();
  }
  EXPECT_TRUE(QFile::exists(out));
  const QList<QByteArray> got = receiveAll(ep);
  ASSERT_FALSE(got.isEmpty());
  EXPECT_EQ(got.last(), CallerWindow::PostMessageDatagram(kMessageId, kFunctionId, 0));
}

TEST_F(WizardWindow, AnUnwritableLinkFileStillGivesTheCallerItsWindow)
{
  const QString out = dir.file(QStringLiteral("link.xml"));
  CallerWindowEndpoint ep(kCallerHandle);
  QString linkFile;
  {
    auto form = start(callerArgs(out));
    linkFile = form->DataExpInfo()->LinkSettingsFile();
    // A folder where the file should go: the file cannot be replaced.
    ASSERT_TRUE(QFile::rename(linkFile, linkFile + QStringLiteral(".saved")));
    ASSERT_TRUE(QDir().mkpath(linkFile + QStringLiteral("/x")));
    toPage3(*form);
    form->Button2->click();
    form->Button2->click();
    EXPECT_EQ(form->EndState(), 0);
    hook.texts.clear();
  }
  // The failure was shown, and the caller still heard how the run ended.
  ASSERT_FALSE(hook.texts.isEmpty());
  EXPECT_TRUE(hook.texts.last().contains(linkFile)) << hook.texts.last().toStdString();
  const QList<QByteArray> got = receiveAll(ep);
  EXPECT_TRUE(got.contains(CallerWindow::EnableWindowDatagram(true)));
  ASSERT_FALSE(got.isEmpty());
  EXPECT_EQ(got.last(), CallerWindow::PostMessageDatagram(kMessageId, kFunctionId, 0));
  QDir(linkFile).removeRecursively();
  EXPECT_TRUE(QFile::rename(linkFile + QStringLiteral(".saved"), linkFile));
}

TEST_F(WizardWindow, ADamagedDataSetIsMarkedOnlyInTheOperatorsGroup)
{
  auto form = start({});
  const sample::DataSet& target = demo->dataSets.last();
  ASSERT_GT(target.rec, 0);
  auto statusOf = [&](int group) {
    db::Transaction tr(DM->IBDatabaseDEF);
    tr.start();
    db::Query q(tr, QStringLiteral("SELECT DATA_STATUS FROM DATALIST WHERE REC=:REC AND GROUPID=:GROUPID"));
    q.setParam(QStringLiteral("REC"), target.rec);
    q.setParam(QStringLiteral("GROUPID"), group);
    q.open();
    const int v = q.eof() ? -1 : q.field(QStringLiteral("DATA_STATUS")).asInt();
    q.close();
    tr.commit();
    return v;
  };
  {
    // A row of the same number in another group.
    db::Transaction tr(DM->IBDatabaseDEF);
    tr.start();
    db::Query q(tr, QStringLiteral("INSERT INTO DATALIST (REC, GROUPID, DATA_STATUS) VALUES (:REC, 20000, 0)"));
    q.setParam(QStringLiteral("REC"), target.rec);
    q.exec();
    tr.commit();
  }
  struct Case {
    const char* what;
    int validation;
    int silent;
    int status;  // of the operator's row afterwards
    int flag;    // DataHasonFlg
    bool message;
  };
  const Case cases[] = {
      {"sound", 1, 0, 0, 0, false},
      {"damaged, silent", 0, 1, 1, 1, false},
      {"damaged, with the message", 0, 0, 1, 1, true},
  };
  for (const Case& c : cases) {
    hook.texts.clear();
    QString validated;
    RendoDataOps().ValidateFDB = [&](int, const QString&, const QString& file) {
      validated = file;
      return c.validation;
    };
    EXPECT_EQ(DataHasonHanteiProc(QString(), target.folder, c.silent).toInt(), c.validation) << c.what;
    EXPECT_EQ(validated, target.folder + QStringLiteral("/wqacc2.fdb")) << c.what;
    EXPECT_EQ(SystemDef.DataHasonFlg, c.flag) << c.what;
    EXPECT_EQ(statusOf(SystemDef.GROUPID), c.status) << c.what;
    EXPECT_EQ(statusOf(20000), 0) << c.what;
    EXPECT_EQ(!hook.texts.isEmpty(), c.message) << c.what;
  }
  form->close();
}

// A damaged data set (it opens, but none of its tables can be read) chosen
// twice: each choice reports the failure in one error box before the offer
// to choose again, and the data set is free afterwards: its settings file
// holds no in-use mark and keeps what it knew of the data set.
TEST_F(WizardWindow, ADamagedDataSetIsReportedOnceAndLeftFree)
{
  auto form = start({});
  const QString folder = QDir(QFileInfo(general().folder).path()).filePath(QStringLiteral("0061"));
  QDir().mkpath(folder);
  ASSERT_GT(dmtest::makeDamagedCopy(general().database, folder + QStringLiteral("/wqacc2.fdb"), true), 0);
  const QString iniPath = folder + QStringLiteral("/wqacc2.ini");
  {
    IniFile ini(iniPath, IniFile::Encoding::Utf16LeBom);
    ini.WriteInteger(QStringLiteral("DATASTS"), QStringLiteral("STATUS"), 1);
    ini.WriteString(QStringLiteral("DATAINFO"), QStringLiteral("SHOUGOU"), QStringLiteral("壊れた会社"));
    ini.WriteString(QStringLiteral("DATAINFO"), QStringLiteral("CODE"), QStringLiteral("0061"));
    ini.UpdateFile();
  }
  g_chosenFolder = folder;
  form->Button2->click();
  box2Answers = {mrOk, mrCancel};
  form->btnDataSentaku->click();
  EXPECT_EQ(g_dialogCalls, 2);
  ASSERT_EQ(boxes.size(), 2) << boxes.join(u'|').toStdString();
  EXPECT_EQ(hook.texts.size(), 2) << hook.texts.join(u'|').toStdString();
  EXPECT_EQ(form->DataInfoModel()->RowCount(), 0);
  EXPECT_FALSE(DM->IBDatabaseDAT.isConnected());
  const IniFile ini(iniPath);
  EXPECT_EQ(ini.ReadInteger(QStringLiteral("DATASTS"), QStringLiteral("STATUS"), -1), 1);
  EXPECT_FALSE(ini.ValueExists(QStringLiteral("DATASTS"), QStringLiteral("OPCODE")));
  EXPECT_EQ(ini.ReadString(QStringLiteral("DATAINFO"), QStringLiteral("SHOUGOU"), QString()),
            QStringLiteral("壊れた会社"));
  EXPECT_EQ(ini.ReadString(QStringLiteral("DATAINFO"), QStringLiteral("CODE"), QString()), QStringLiteral("0061"));
  form->close();
}

// Once the operator has logged on, a resizable form keeps its size for him
// in the system database, and the program takes the store away at its end.
TEST_F(WizardWindow, ResizableFormsKeepTheirSizePerOperator)
{
  auto form = start({});
  ASSERT_NE(fnFormSizeStore(), nullptr);
  auto openProbe = [] {
    auto* box = new TBSDI(nullptr, bsSizeable);
    box->setObjectName(QStringLiteral("SizeProbeBox"));
    box->FormSize = true;
    box->show();
    return box;
  };
  auto closeProbe = [](TBSDI* box) {
    box->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  };
  TBSDI* box = openProbe();
  box->resize(700, 500);
  closeProbe(box);
  box = openProbe();
  EXPECT_EQ(box->size(), QSize(700, 500));
  closeProbe(box);
  {
    db::Transaction tr(DM->IBDatabaseDEF);
    tr.start();
    db::Query q(tr,
                QStringLiteral("SELECT FMWIDTH, FMHEIGHT FROM FORMRSIZE WHERE FMNAME='SizeProbeBox' AND OPCODE=:OP"));
    q.setParam(QStringLiteral("OP"), SystemDef.OPCODE);
    q.open();
    ASSERT_FALSE(q.eof());
    EXPECT_EQ(q.field(0).asInt(), 700);
    EXPECT_EQ(q.field(1).asInt(), 500);
    q.close();
    tr.commit();
  }
  form->close();
  EXPECT_EQ(fnFormSizeStore(), nullptr);
}

// The partner edition is taken from the identity file's OEM value when the
// window is created, before the logon: a new operator row then gets the
// partner edition's colours.
TEST_F(WizardWindow, TheIdentityFileChoosesThePartnerEdition)
{
  QByteArray appInfo;
  {
    QFile f(suiteDir->file(QStringLiteral("prog/AppInfo.ini")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    appInfo = f.readAll();
  }
  ASSERT_TRUE(appInfo.contains("OEM=STANDARD"));
  const QString systemDb = QDir(demo->dataDir).filePath(QStringLiteral("wqaccdef2.fdb"));
  const QString systemCopy = dir.file(QStringLiteral("wqaccdef2.saved"));
  ASSERT_TRUE(QFile::copy(systemDb, systemCopy));
  const int loginCode = sample::loginCode(sample::OperatorCode);

  struct Case {
    const char* oem;
    int edition;
    int client2, total, active;  // of a new operator row
  };
  const Case cases[] = {
      {"STANDARD", 0, 0xE1F0FF, 0x8EC7FF, 0x246BFF},
      {"PARTNER", 1, 0xF2FFEE, 0xD6FFC8, 0x8000},
      {"partner", 1, 0xF2FFEE, 0xD6FFC8, 0x8000},
      {"PARTNERS", 0, 0xE1F0FF, 0x8EC7FF, 0x246BFF},
  };
  for (const Case& c : cases) {
    pcAccRecordReset();  // as in a new process
    const QString folder = dir.file(QStringLiteral("oem-%1").arg(QString::fromLatin1(c.oem)));
    QDir().mkpath(folder);
    {
      QFile f(folder + QStringLiteral("/AppInfo.ini"));
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write(QByteArray(appInfo).replace("OEM=STANDARD", QByteArray("OEM=") + c.oem));
    }
    qputenv("RENDO_APPINFO_DIR", folder.toLocal8Bit());
    {
      // The operator has no screen settings yet.
      db::Database d(systemDb);
      d.setUser(QStringLiteral("ABACOR"));
      d.setPassword(QStringLiteral("dormil"));
      d.connect();
      db::Transaction tr(d);
      tr.start();
      db::Query q(tr, QStringLiteral("DELETE FROM SYSDEF WHERE OPCODE = :OPCODE"));
      q.setParam(QStringLiteral("OPCODE"), loginCode);
      q.exec();
      tr.commit();
    }
    auto form = start({});
    ASSERT_TRUE(form->Created()) << c.oem;
    EXPECT_EQ(int(OemEdition), c.edition) << c.oem;
    EXPECT_EQ(DefClientColor2, c.client2) << c.oem;
    EXPECT_EQ(DefTotalColor, c.total) << c.oem;
    EXPECT_EQ(DefActiveColor, c.active) << c.oem;
    {
      db::Transaction tr(DM->IBDatabaseDEF);
      tr.start();
      db::Query q(tr,
                  QStringLiteral("SELECT CLIENTCOLOR2, TOTALCOLOR, ACTIVECOLOR FROM SYSDEF WHERE OPCODE = :OPCODE"));
      q.setParam(QStringLiteral("OPCODE"), loginCode);
      q.open();
      ASSERT_FALSE(q.eof()) << c.oem;
      EXPECT_EQ(q.field(0).asInt(), c.client2) << c.oem;
      EXPECT_EQ(q.field(1).asInt(), c.total) << c.oem;
      EXPECT_EQ(q.field(2).asInt(), c.active) << c.oem;
      q.close();
      tr.commit();
    }
    EXPECT_EQ(SystemDef.ClientColor2, c.client2) << c.oem;
    form->close();
  }
  // The partner edition's settings stay out of the other tests.
  ASSERT_FALSE(DM->IBDatabaseDEF.isConnected());
  ASSERT_TRUE(QFile::remove(systemDb));
  ASSERT_TRUE(QFile::copy(systemCopy, systemDb));
}

TEST_F(WizardWindow, TheValidationHookChoosesLocalOrServerByHostName)
{
  auto form = start({});
  struct Case {
    const char* host;
    int protocol;  // 0 TCP, 3 local
    const char* server;
  };
  const Case cases[] = {{"", 3, ""}, {"127.0.0.1", 3, ""}, {"localhost", 0, "localhost"}, {"db-host", 0, "db-host"}};
  for (const Case& c : cases) {
    int protocol = -1;
    QString server = QStringLiteral("unset");
    RendoDataOps().ValidateFDB = [&](int p, const QString& s, const QString&) {
      protocol = p;
      server = s;
      return 1;
    };
    EXPECT_EQ(DataHasonHanteiProc(QString::fromLatin1(c.host), general().folder, 1).toInt(), 1) << c.host;
    EXPECT_EQ(protocol, c.protocol) << c.host;
    EXPECT_EQ(server, QString::fromLatin1(c.server)) << c.host;
  }
  form->close();
}

// The hook over the real validation: a sound copy of a company database
// passes and changes nothing; a damaged copy is marked in the data list of
// the operator's group (the member row for a member folder) and in the
// folder's settings file; the message is shown unless silent.
TEST_F(WizardWindow, TheValidationHookMarksARealDamagedDatabase)
{
  auto form = start({});
  const QString dataRoot = QFileInfo(general().folder).path();
  auto exec = [](const QString& sql) {
    db::Transaction tr(DM->IBDatabaseDEF);
    tr.start();
    db::Query q(tr, sql);
    q.exec();
    tr.commit();
  };
  for (int group : {SystemDef.GROUPID, 20000}) {
    for (int rec : {50, 51, 52})
      exec(QStringLiteral("UPDATE OR INSERT INTO DATALIST (GROUPID, REC, DATA_STATUS) VALUES (%1, %2, 0) "
                          "MATCHING (GROUPID, REC)")
               .arg(group)
               .arg(rec));
    exec(QStringLiteral("UPDATE OR INSERT INTO CHILD_DATALIST (GROUPID, REC, ROWNO, DATA_STATUS) VALUES (%1, 52, 2, 0) "
                        "MATCHING (GROUPID, REC, ROWNO)")
             .arg(group));
  }
  const FirebirdServer& server = FirebirdServer::shared();
  ASSERT_EQ(server.port(), FbPort);

  struct Case {
    const char* what;
    const char* folder;  // below the data root
    bool damage;
    const char* host;  // "localhost" validates through the server
    int silent;
    const char* row;  // the list row marked, as "REC" or "REC/ROWNO"
  };
  const Case cases[] = {
      {"sound, local", "0050", false, "", 0, nullptr},
      {"sound, through the server", "0050", false, "localhost", 0, nullptr},
      {"damaged, local, silent", "0051", true, "", 1, "51"},
      {"damaged member, through the server, with the message", "0052/0002", true, "localhost", 0, "52/2"},
  };
  const QString rowsSql = QStringLiteral(
      "SELECT (SELECT LIST(GROUPID || ':' || REC, ',') FROM DATALIST WHERE DATA_STATUS <> 0 AND REC BETWEEN 50 AND "
      "52), "
      "(SELECT LIST(GROUPID || ':' || REC || '/' || ROWNO, ',') FROM CHILD_DATALIST WHERE DATA_STATUS <> 0) "
      "FROM RDB$DATABASE");
  auto marked = [&] {
    db::Transaction tr(DM->IBDatabaseDEF);
    tr.start();
    db::Query q(tr, rowsSql);
    q.open();
    const QString v = q.field(0).asString() + u'|' + q.field(1).asString();
    q.close();
    tr.commit();
    return v;
  };
  for (const Case& c : cases) {
    hook.texts.clear();
    const QString folder = QDir(dataRoot).filePath(QString::fromLatin1(c.folder));
    const QString file = folder + QStringLiteral("/wqacc2.fdb");
    if (!QFile::exists(file)) {
      QDir().mkpath(folder);
      if (c.damage) {
        ASSERT_GT(dmtest::makeDamagedCopy(general().database, file), 0) << c.what;
      } else {
        ASSERT_TRUE(QFile::copy(general().database, file)) << c.what;
      }
    }
    const QString before = marked();
    const int result = DM->ValidateFbDataBase(QString::fromLatin1(c.host), folder, c.silent, 1);
    EXPECT_EQ(result, c.damage ? 0 : 1) << c.what;
    EXPECT_EQ(SystemDef.DataHasonFlg, c.damage ? 1 : 0) << c.what;
    const QStringList shown = c.damage && c.silent == 0 ? QStringList{fnRendoHasonMessage()} : QStringList();
    EXPECT_EQ(hook.texts, shown) << c.what;
    const IniFile ini(folder + QStringLiteral("/wqacc2.ini"));
    if (c.damage) {
      EXPECT_EQ(ini.ReadString(QStringLiteral("DATASTS"), QStringLiteral("STATUS"), QString()), QStringLiteral("10"))
          << c.what;
      const QString nowMarked = marked();
      const QString expectedRow = QStringLiteral("%1:%2").arg(SystemDef.GROUPID).arg(QString::fromLatin1(c.row));
      EXPECT_TRUE(nowMarked.contains(expectedRow)) << c.what << " " << nowMarked.toStdString();
      EXPECT_FALSE(nowMarked.contains(QStringLiteral("20000:"))) << c.what << " " << nowMarked.toStdString();
    } else {
      // Nothing changed: no settings file written, no row marked.
      EXPECT_FALSE(QFile::exists(folder + QStringLiteral("/wqacc2.ini"))) << c.what;
      EXPECT_EQ(marked(), before) << c.what;
    }
  }
  EXPECT_EQ(marked(), QStringLiteral("%1:51|%1:52/2").arg(SystemDef.GROUPID));
  form->close();
}

#include "WizardWindowTest.moc"
