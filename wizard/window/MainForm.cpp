#include "wizard/window/MainForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "acctables/AccCodeTable.h"
#include "acctables/AccKikan.h"
#include "common/AccDateText.h"
#include "common/AccFunction2.h"
#include "common/AccRecord.h"
#include "common/AppInfo.h"
#include "common/DataModule.h"
#include "common/MessageHook.h"
#include "common/dialogs/Logon.h"
#include "datasel/DataListUpdate.h"
#include "platform/Exceptions.h"
#include "ui/AppEnd.h"
#include "ui/SDI.h"
#include "ui/ScreenCursor.h"
#include "ui/xAnimeProgressDialog.h"
#include "ui/xKikanPanel16.h"
#include "ui/xWizard.h"
#include "ui/z5MessageDlg2.h"
#include "wizard/RendoFinish.h"
#include "wizard/RendoVersion.h"
#include "wizard/window/RendoDataOps.h"
#include "wizard/window/RendoHooks.h"
#include "wizard/window/RendoStartup.h"

namespace rendo_text {
const char* const kTessalyRunning = "タリマン財務が起動しています。同時に起動することは出来ません。";
const char* const kToolsRunning = "タリマン財務ツールが起動しています。同時に起動することは出来ません。";
const char* const kAlreadyRunning = "アプリケーションは既に起動しています。";
const char* const kCancelQuestion =
    "[キャンセル]ボタンが押されました。\r連動データの作成ウィザードを終了してもよろしいですか？\r";
const char* const kNoDataChosen =
    "会計データの選択が行われていません。\r「データ選択を開く」ボタンを押して選択して下さい。";
const char* const kNoFileGiven = "中間ﾌｧｲﾙが指定されていません。\r指定してから[次へ]をｸﾘｯｸしてください。\r";
const char* const kConnectFailed = "データの接続に失敗しました。";
const char* const kChooseAgain = "データ選択画面を開き、別のデータを選択しますか？";
}  // namespace rendo_text

namespace {

QString g_appTitle = QStringLiteral("連動ﾃﾞｰﾀの作成");

QString tr8(const char* s)
{
  return QString::fromUtf8(s);
}

int showDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons)
{
  return MessageHook().ShowMessageDlg(text, type, buttons);
}

QString pageName(int i)
{
  return QStringLiteral("page%1").arg(i);
}

}  // namespace

QString fnRendoApplicationTitle()
{
  return g_appTitle;
}
void pcSetRendoApplicationTitle(const QString& ATitle)
{
  g_appTitle = ATitle;
}

// ---------------------------------------------------------------------------
// Window creation and destruction
// ---------------------------------------------------------------------------

TForm1::TForm1(const QStringList& arguments, const QString& exeFile, QWidget* parent) : QWidget(parent)
{
  setObjectName(QStringLiteral("Form1"));
  pcInstallRendoHooks();
  FWindowsDrive = fnGetSystemDrive();
  FCaller.EndState = resFailed;
  buildControls();
  // A fatal error (a lost connection) ends the program from any dialog: the
  // run has failed, whatever page it stood on.
  connect(&TAppEnd::Instance(), &TAppEnd::Ending, this, [this] {
    if (FClosing)
      return;
    FCaller.EndState = resFailed;
    FClosedByProgram = true;
    close();
  });

  const TRendoArgsResult args = fnParseRendoArgs(arguments);
  if (args.Kind == TRendoArgsKind::TooMany || args.Kind == TRendoArgsKind::BadNumber) {
    showDlg(args.Message, mtError, mbOK);
    return;
  }
  if (args.Kind == TRendoArgsKind::Valid) {
    FCaller = TRendoCaller(args.Args);
    FCaller.EndState = resFailed;
    // The argument decides the pages and the summary; whether anybody is
    // told at the end is the caller's window handle's business (0: nobody).
    FHasArgument = true;
    FExpFilePath = args.Args.ExpFilePath;
    FCaller.pcDisableCaller();
    // The output path comes from the caller: no output-file page.
    QWidget* page4 = FPages[3];
    Wizard1->removeWidget(page4);
    FPages.removeAt(3);
    page4->deleteLater();
  }

  QString appInfoExe = exeFile;
  const QString overrideDir = qEnvironmentVariable("RENDO_APPINFO_DIR");
  if (!overrideDir.isEmpty())
    appInfoExe = QDir(overrideDir).filePath(QFileInfo(exeFile).fileName());
  QString why;
  int read = fnReadAppInfoIni(appInfoExe, AppInfo, &why);
  if (read == AppInfoMissing) {
    why = QDir(QFileInfo(appInfoExe).absolutePath()).filePath(QStringLiteral("AppInfo.ini"));
  } else if (read == AppInfoNoOem) {
    why = QStringLiteral("[Application] OEM");
  } else if (read == AppInfoRead) {
    // A file cut short reads without error but lacks what the program needs.
    const QStringList missing = fnAppInfoMissingValues(AppInfo);
    if (!missing.isEmpty()) {
      read = AppInfoNoOem;
      why = missing.join(u'\r');
    }
  }
  if (read != AppInfoRead) {
    showDlg(fnAppInfoResultMessage(read, why), mtError, mbOK);
    return;
  }
  pcRendoApplyAppInfo();

  FDataExpInfo = std::make_unique<TUtiwakesyoDataExport>(exeFile, FExpFilePath, FCaller.FunctionID);
  if (!fnRendoVersionAccepted(FDataExpInfo->PGVER, FDataExpInfo->WQZPERMITVER)) {
    showDlg(fnRendoVersionMessage(AppInfo.AppTitle, FDataExpInfo->WQZPERMITVER), mtError, mbOK);
    return;
  }
  FMyDoc = fnGetMyDocumentsDir();
  FZenkaiDataPath.clear();
  FDataSentakuFlg = false;
  setWindowTitle(FDataExpInfo->RENDOCAPTION);
  prepareTexts();
  FCreated = true;
}

TForm1::~TForm1()
{
  if (FDataExpInfo) {
    try {
      FDataExpInfo->pcSaveLinkSettings();
    } catch (const std::exception& e) {
      qWarning("link settings file not written: %s", e.what());
      showDlg(QStringLiteral("連動設定ファイルを保存できませんでした。\r%1\r%2")
                  .arg(FDataExpInfo->LinkSettingsFile(), QString::fromUtf8(e.what())),
              mtError, mbOK);
    }
    FDataExpInfo.reset();
  }
  removeFormSizeStore();
  pcClearRendoHooks();
  // The caller gets its window back in every case.
  FCaller.pcSendEndMessage();
}

void TForm1::buildControls()
{
  auto* outer = new QVBoxLayout(this);
  Wizard1 = new TxWizard(this);
  Wizard1->setObjectName(QStringLiteral("Wizard1"));
  Wizard1->SetNextButtonCap(QStringLiteral("次へ(&N) >"));
  Wizard1->SetNextButtonFinCap(QStringLiteral("完了(&F)"));
  Wizard1->SetBackButtonCap(QStringLiteral("< 戻る(&B)"));
  outer->addWidget(Wizard1, 1);

  // page1: explanation
  auto* p1 = new QWidget;
  auto* l1 = new QVBoxLayout(p1);
  Memo1a = new QLabel;
  Memo1b = new QLabel;
  Memo1a->setWordWrap(true);
  Memo1b->setWordWrap(true);
  l1->addWidget(Memo1a);
  l1->addWidget(Memo1b);
  l1->addStretch();

  // page2: data choice
  auto* p2 = new QWidget;
  auto* l2 = new QVBoxLayout(p2);
  Label2a = new QLabel(QStringLiteral("連動元となる対象データを「データ選択を開く」ボタンを押して指定します。"));
  Label2a->setWordWrap(true);
  btnDataSentaku = new QPushButton(QStringLiteral("データ選択を開く(&D)"));
  btnDataSentaku->setObjectName(QStringLiteral("btnDataSentaku"));
  FDataInfoModel =
      new TChosenDataModel({{QStringLiteral("項目"), [](const TChosenDataLine& l, int) { return QVariant(l.Caption); }},
                            {QStringLiteral("内容"), [](const TChosenDataLine& l, int) { return QVariant(l.Value); }}},
                           this);
  listDataInfo = new QTableView;
  listDataInfo->setObjectName(QStringLiteral("listDataInfo"));
  listDataInfo->setModel(FDataInfoModel);
  listDataInfo->verticalHeader()->hide();
  listDataInfo->horizontalHeader()->setStretchLastSection(true);
  listDataInfo->setEditTriggers(QAbstractItemView::NoEditTriggers);
  listDataInfo->setFocusPolicy(Qt::NoFocus);
  auto* label2c =
      new QLabel(QStringLiteral("対象のデータが正しく指定されているか確認し、[次へ]をクリックしてください。"));
  label2c->setWordWrap(true);
  l2->addWidget(Label2a);
  l2->addWidget(btnDataSentaku, 0, Qt::AlignLeft);
  l2->addWidget(listDataInfo, 1);
  l2->addWidget(label2c);

  // page3: period and tax
  auto* p3 = new QWidget;
  auto* l3 = new QVBoxLayout(p3);
  l3->addWidget(new QLabel(QStringLiteral("計算条件を指定してください。")));
  auto* g31 = new QGroupBox(QStringLiteral("計算対象期間"));
  auto* lg31 = new QVBoxLayout(g31);
  xKikanPanel3a = new TxKikanPanel16;
  xKikanPanel3a->setObjectName(QStringLiteral("xKikanPanel3a"));
  xKikanPanel3a->SetKikanMove(false);
  lg31->addWidget(xKikanPanel3a);
  auto* g32 = new QGroupBox(QStringLiteral("消費税計算区分"));
  auto* lg32 = new QHBoxLayout(g32);
  RadioButton3a = new QRadioButton(QStringLiteral("税込み(&I)"));
  RadioButton3b = new QRadioButton(QStringLiteral("税抜き(&E)"));
  lg32->addWidget(RadioButton3a);
  lg32->addWidget(RadioButton3b);
  lg32->addStretch();
  l3->addWidget(g31);
  l3->addWidget(g32);
  auto* label3b = new QLabel(QStringLiteral("計算条件が正しく指定されているか確認し、[次へ]をクリックしてください。"));
  label3b->setWordWrap(true);
  l3->addWidget(label3b);
  l3->addStretch();

  // page4: output file
  auto* p4 = new QWidget;
  auto* l4 = new QVBoxLayout(p4);
  auto* label4a = new QLabel;
  label4a->setObjectName(QStringLiteral("Label4a"));
  label4a->setWordWrap(true);
  auto* g4 = new QGroupBox(QStringLiteral("中間ﾌｧｲﾙ"));
  auto* lg4 = new QHBoxLayout(g4);
  Edit4a = new QLineEdit;
  Edit4a->setObjectName(QStringLiteral("Edit4a"));
  BitBtn4a = new QPushButton(QStringLiteral("参照(&R)"));
  lg4->addWidget(Edit4a, 1);
  lg4->addWidget(BitBtn4a);
  auto* label4b =
      new QLabel(QStringLiteral("中間ファイル名が正しく指定されているか確認し、[次へ]をクリックしてください。"));
  label4b->setWordWrap(true);
  l4->addWidget(label4a);
  l4->addWidget(g4);
  l4->addWidget(label4b);
  l4->addStretch();

  // page5: summary
  auto* p5 = new QWidget;
  auto* l5 = new QVBoxLayout(p5);
  auto* memo5a = new QLabel(
      QStringLiteral("以上で設定が完了しました。\n内容を確認し、よろしければ[完了]をクリックしてください。"));
  Memo5b = new QPlainTextEdit;
  Memo5b->setObjectName(QStringLiteral("Memo5b"));
  Memo5b->setReadOnly(true);
  Memo5b->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QFont fixed(QStringLiteral("ＭＳ ゴシック"));
  fixed.setStyleHint(QFont::Monospace);
  Memo5b->setFont(fixed);
  l5->addWidget(memo5a);
  l5->addWidget(Memo5b, 1);

  FPages = {p1, p2, p3, p4, p5};
  for (int i = 0; i < FPages.size(); ++i) {
    FPages[i]->setObjectName(pageName(i + 1));
    Wizard1->addWidget(FPages[i]);
  }

  auto* buttons = new QHBoxLayout;
  Button1 = new QPushButton(Wizard1->BackButtonCap());
  Button2 = new QPushButton(Wizard1->NextButtonCap());
  btnCancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"));
  Button1->setObjectName(QStringLiteral("Button1"));
  Button2->setObjectName(QStringLiteral("Button2"));
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  buttons->addStretch();
  buttons->addWidget(Button1);
  buttons->addWidget(Button2);
  buttons->addWidget(btnCancel);
  outer->addLayout(buttons);

  Wizard1->SetBackButton(Button1);
  Wizard1->SetNextButton(Button2);
  Wizard1->OnNextClicking = [this](QObject*, bool fin, bool& allow) { Wizard1NextClicking(fin, allow); };
  Wizard1->OnNextClick = [this](QObject*, bool fin) { Wizard1NextClick(fin); };
  connect(Wizard1, &QStackedWidget::currentChanged, this, [this] { Wizard1PageChanged(); });
  connect(btnCancel, &QPushButton::clicked, this, &TForm1::btnCancelClick);
  connect(btnDataSentaku, &QPushButton::clicked, this, &TForm1::btnDataSentakuClick);
  connect(BitBtn4a, &QPushButton::clicked, this, &TForm1::BitBtn4aClick);
  // The range always starts at the data's first period; the operator
  // chooses its end (by mouse or by keys).
  connect(xKikanPanel3a, &TxKikanPanelBase::OnMouseUp, this, [this] {
    if (!xKikanPanel3a->KikanMove())
      xKikanPanel3a->SetStno(AccInf.StartMNum);
  });
  Wizard1->SetPageIndex(0);
  Button1->setVisible(false);
  resize(640, 460);
}

void TForm1::prepareTexts()
{
  const QString pg = FDataExpInfo->PGNAME;
  const QString saki = FDataExpInfo->RENDOSAKIAPP;
  Memo1a->setText(
      FHasArgument
          ? QStringLiteral("『%1』から『%2』へデータの連動を行います。").arg(pg, saki)
          : QStringLiteral("『%1』から『%2』へデータを連動させるための中間ファイルを作成します。").arg(pg, saki));
  Memo1b->setText(QStringLiteral("『%1』が起動している場合は終了してください。\n\n\n\n\n\n"
                                 "作成を始めるには[次へ]をクリックしてください。")
                      .arg(pg));
  if (auto* label4a = findChild<QLabel*>(QStringLiteral("Label4a")))
    label4a->setText(QStringLiteral("連動先となる『%1』で使用する中間ファイルを指定します。").arg(saki));
  Edit4a->setText(FDataExpInfo->ExpFilePath);
}

QString TForm1::CurrentPageName() const
{
  QWidget* w = Wizard1->currentWidget();
  return w ? w->objectName() : QString();
}

QStringList TForm1::PageNames() const
{
  QStringList names;
  for (int i = 0; i < Wizard1->count(); ++i)
    names << Wizard1->widget(i)->objectName();
  return names;
}

// ---------------------------------------------------------------------------
// Initialisation and first show
// ---------------------------------------------------------------------------

bool TForm1::InitForm()
{
  // The program's name fills the message (the system definitions that would
  // name it are read only after the logon), and the cause follows it.
  FErrorMessage =
      QStringLiteral("アプリケーションの初期化に失敗しました。\r%1を終了します。").arg(fnRendoApplicationTitle());
  QString cause;
  try {
    pcRendoStartupFolders(QApplication::applicationFilePath());
    pcSetRendoApplicationTitle(FDataExpInfo->RENDOCAPTION);
    setWindowTitle(FDataExpInfo->RENDOCAPTION);
    if (DM == nullptr)
      DM = new TDM(qApp);
    // Closing the data set brings its data-list row up to date.
    pcInstallDataListUpdateProc();
    return true;
  } catch (const EPlatformError& e) {
    cause = e.message();
  } catch (const std::exception& e) {
    cause = QString::fromUtf8(e.what());
  } catch (...) {
    cause = QStringLiteral("不明なエラーが発生しました。");
  }
  qWarning("initialisation failed: %s", qPrintable(cause));
  showDlg(FErrorMessage + QStringLiteral("\r\r") + cause, mtError, mbYes);
  return false;
}

void TForm1::showEvent(QShowEvent* e)
{
  QWidget::showEvent(e);
  if (FFirstShown || !isVisible())
    return;
  FFirstShown = true;
  // The logon runs once the window is on screen.
  QTimer::singleShot(0, this, [this] {
    if (!FirstShow())
      endProgram();
  });
}

bool TForm1::FirstShow()
{
  repaint();
  SystemDef.AppName = QStringLiteral("玄匠連動コンポーネント");
  FLogOn = false;
  {
    auto* box = new TLogonBox(nullptr);
    if (box->InitFlg())
      FLogOn = box->exec() == mrOk;
    delete box;
  }
  FDefConnected = FLogOn;
  if (FLogOn) {
    if (RendoDataOps().GetSYSDEF()) {
      RendoDataOps().SetGengoRecord();
      installFormSizeStore();
      if (Wizard1->currentIndex() == 0)
        Button2->setFocus();
      return true;
    }
    if (FDefConnected)
      RendoDataOps().DeleteLogonInfo();
    return false;
  }
  if (DM)
    DM->IBDatabaseDEF.disconnect();
  return false;
}

void TForm1::installFormSizeStore()
{
  if (DM == nullptr || FFormSizeStore)
    return;
  FFormSizeStore = std::make_unique<TFormSizeStoreDB>(DM->IBTransactionDEF);
  pcSetFormSizeStore(FFormSizeStore.get());
}

void TForm1::removeFormSizeStore()
{
  if (!FFormSizeStore)
    return;
  if (fnFormSizeStore() == FFormSizeStore.get())
    pcSetFormSizeStore(nullptr);
  FFormSizeStore.reset();
}

// Ends the program from inside the window: the end state stays as it is.
void TForm1::endProgram()
{
  FClosedByProgram = true;
  close();
}

// ---------------------------------------------------------------------------
// Closing
// ---------------------------------------------------------------------------

void TForm1::btnCancelClick()
{
  if (showDlg(tr8(rendo_text::kCancelQuestion), mtInformation, mbYes | mbNo) != mrYes)
    return;
  FCaller.EndState = resStopped;
  FClosedByProgram = true;
  close();
}

void TForm1::closeEvent(QCloseEvent* e)
{
  if (FClosing) {
    e->accept();
    return;
  }
  // A close request from the window system (the close box) stops the run.
  if (!FClosedByProgram)
    FCaller.EndState = resStopped;
  FClosing = true;
  pcReleaseAtClose();
  e->accept();
  emit closed();
}

void TForm1::pcReleaseAtClose()
{
  if (DM == nullptr)
    return;
  try {
    if (FDatConnected && !SystemDef.IBPATHDAT.trimmed().isEmpty()) {
      if (!DM->IBDatabaseDAT.isConnected())
        DM->fnAccDatConnected(SystemDef.SERVERNAME, SystemDef.IBPATHDAT, false);
      if (DM->IBDatabaseDAT.isConnected())
        DM->fnAccDatDisConnected(QString(), true, true, false);
      FDatConnected = false;
    }
    removeFormSizeStore();
    if (FDefConnected) {
      if (!DM->IBDatabaseDEF.isConnected())
        DM->fnAccDefConnected(SystemDef.SERVERNAME, true);
      RendoDataOps().DeleteLogonInfo();
      DM->IBDatabaseDEF.disconnect();
    }
  } catch (const std::exception& e) {
    qWarning("release at close: %s", e.what());
  }
  FDefConnected = false;
}

void TForm1::keyPressEvent(QKeyEvent* e)
{
  // Enter presses the focused button (the window is not a dialog, so the
  // buttons do not take Enter themselves).
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    // On an option button Enter moves on, as on the last field of a page.
    if (qobject_cast<QRadioButton*>(focusWidget())) {
      Button2->click();
      return;
    }
    if (auto* b = qobject_cast<QAbstractButton*>(focusWidget())) {
      b->click();
      return;
    }
    if (focusWidget() == Edit4a) {
      Button2->click();
      return;
    }
  }
  QWidget::keyPressEvent(e);
}

bool TForm1::eventFilter(QObject* watched, QEvent* e)
{
  return QWidget::eventFilter(watched, e);
}

// ---------------------------------------------------------------------------
// Page flow
// ---------------------------------------------------------------------------

void TForm1::NextClick()
{
  Wizard1->NextClick();
}
void TForm1::BackClick()
{
  Wizard1->BackClick();
}

void TForm1::Wizard1NextClicking(bool, bool& AllowChange)
{
  AllowChange = false;
  const QString page = CurrentPageName();
  if (page == QLatin1String("page1")) {
    AllowChange = true;
  } else if (page == QLatin1String("page2")) {
    if (!fnPage2Check())
      return;
    pcPreparePage3();
    AllowChange = true;
  } else if (page == QLatin1String("page3")) {
    // With the argument there is no output-file page: the summary is built here.
    if (FHasArgument)
      pcMakeSummary();
    AllowChange = true;
  } else if (page == QLatin1String("page4")) {
    if (!fnOutputFileCheck())
      return;
    pcMakeSummary();
    AllowChange = true;
  } else if (page == QLatin1String("page5")) {
    AllowChange = true;
  }
}

void TForm1::Wizard1NextClick(bool FinalState)
{
  if (FinalState)
    pcFinish();
}

void TForm1::Wizard1PageChanged()
{
  const QString page = CurrentPageName();
  if (page == QLatin1String("page2") && FDataInfoModel->RowCount() == 0)
    btnDataSentaku->setFocus();
  else if (page == QLatin1String("page3"))
    xKikanPanel3a->setFocus();
  else if (page == QLatin1String("page4"))
    Edit4a->setFocus();
  else
    Button2->setFocus();
}

void TForm1::pcPreparePage3()
{
  xKikanPanel3a->SetKikan(AccInf.KISHU, AccInf.KIMATU, AccInf.KAISI, AccInf.SIME);
  xKikanPanel3a->SetStno(AccInf.StartMNum);
  xKikanPanel3a->SetEdno(AccInf.EndMNum);
  if (AccInf.TAXDEFUH == 0)
    RadioButton3a->setChecked(true);
  else if (AccInf.TAXDEFUH == 1)
    RadioButton3b->setChecked(true);

  TComDataExport& x = *FDataExpInfo;
  x.DataFilePath = SystemDef.IBPATHDAT;
  x.KOMONSAKI = AccInf.SHOUGOU;
  x.KAIKEINENDO = AccInf.NENDO;
  x.JIGYONENDOFROM = AccInf.KISHU;
  x.JIGYONENDOTO = AccInf.KIMATU;
  x.SIME = AccInf.SIME;
  x.KikanFrom = AccInf.StartMNum;
  x.KikanTo = AccInf.EndMNum;
  x.LastNo = AccInf.EndMNum;
  x.TaxUH = AccInf.TAXDEFUH;
  x.TaxKAZEI = AccInf.TAXKANNI;
  x.TaxJIGYOU = AccInf.TAXJIGYOU;
  x.TaxKEISAN = 0;
  x.Tax2wariTokurei = false;
  x.DataKUB1 = AccInf.DATATYPE;
  x.DataKUB2 = AccInf.CODETYPE;
  x.SYOTOKUSYURUI = 0;
  if (AccInf.DATATYPE == 2) {
    x.SYOTOKUSYURUI = 1;
    if (AccInf.CODETYPE == 2)
      x.SYOTOKUSYURUI = 3;
    if (AccInf.CODETYPE == 4)
      x.SYOTOKUSYURUI = 4;
  }
}

void TForm1::pcMakeSummary()
{
  TComDataExport& x = *FDataExpInfo;
  QStringList lines;
  lines << QStringLiteral("【連動元情報】");
  lines << QStringLiteral(" 会社名        : %1").arg(x.KOMONSAKI);
  if (x.KAIKEINENDO > 0)
    lines << QStringLiteral(" 会計年度      : %1 期").arg(x.KAIKEINENDO);
  else
    lines << QStringLiteral(" 会計年度      : %1 期").arg(QStringLiteral("-"));
  const QString ymd = QStringLiteral("yyyy年m月d日");
  lines << QStringLiteral(" 会計期間      : %1 ～ %2")
               .arg(fnDateToWarekiTextJ(ymd, 1, x.JIGYONENDOFROM), fnDateToWarekiTextJ(ymd, 1, x.JIGYONENDOTO));

  x.KikanFrom = xKikanPanel3a->Stno();
  x.KikanTo = xKikanPanel3a->Edno();
  x.LastNo = xKikanPanel3a->LastNo();
  x.TaxUH = RadioButton3a->isChecked() ? 0 : 1;

  lines << QString() << QStringLiteral("【計算条件】");
  auto monthDate = [&](int index) {
    const int i = std::clamp(index, 0, 15);
    return fnSimebiHizuke(KikanToTukiNo[static_cast<size_t>(i)] - 1, x.SIME, x.JIGYONENDOFROM);
  };
  const QString ym = QStringLiteral("yyyy年m月");
  if (x.KikanFrom == x.KikanTo) {
    lines << QStringLiteral(" 計算対象期間  : ") + fnDateToWarekiTextJ(ym, 1, monthDate(x.KikanFrom));
  } else {
    const int edno = xKikanPanel3a->Edno();
    int m = KikanToTukiNo[static_cast<size_t>(std::clamp(edno, 0, 15))] - 1;
    if (xKikanPanel3a->LastNo() != 15 && xKikanPanel3a->LastNo() == edno && edno > 0)
      m = KikanToTukiNo[static_cast<size_t>(std::clamp(edno - 1, 0, 15))] - 1;
    lines << QStringLiteral(" 計算対象期間  : ") + fnDateToWarekiTextJ(ym, 1, monthDate(x.KikanFrom)) +
                 QStringLiteral(" ～ ") +
                 fnDateToWarekiTextJ(QStringLiteral("yy年m月"), 1, fnSimebiHizuke(m, x.SIME, x.JIGYONENDOFROM));
  }
  lines << (x.TaxUH == 1 ? QStringLiteral(" 消費税計算区分: 税抜き") : QStringLiteral(" 消費税計算区分: 税込み"));
  if (!FHasArgument) {
    x.ExpFilePath = Edit4a->text();
    lines << QString() << QStringLiteral("【中間ファイル】");
    lines << QStringLiteral(" %1").arg(fnRendoExportFileName(x.ExpFilePath, FMyDoc));
  }
  Memo5b->setPlainText(lines.join(u'\n'));
}

bool TForm1::fnOutputFileCheck()
{
  const QString text = Edit4a->text();
  if (text.isEmpty() || QFileInfo(text).fileName().isEmpty() || text.endsWith(u'/')) {
    showDlg(tr8(rendo_text::kNoFileGiven), mtWarning, mbOK);
    Wizard1->SetButtonCaption(Button2, Wizard1->NextButtonCap());
    return false;
  }
  // A file directly in the root of the system disk is refused.
  if (text.contains(u'/') && QFileInfo(text).path() == QStringLiteral("/")) {
    showDlg(QStringLiteral("ｼｽﾃﾑﾄﾞﾗｲﾌﾞ(%1)直下にﾌｧｲﾙは指定できません。\r"
                           "別のﾄﾞﾗｲﾌﾞまたはﾌｫﾙﾀﾞを指定してから[次へ]をｸﾘｯｸしてください。\r")
                .arg(FWindowsDrive),
            mtWarning, mbOK);
    Wizard1->SetButtonCaption(Button2, Wizard1->NextButtonCap());
    return false;
  }
  return true;
}

void TForm1::BitBtn4aClick()
{
  const QFileInfo current(Edit4a->text());
  const QString startDir =
      (!Edit4a->text().isEmpty() && current.dir().exists() && Edit4a->text().contains(u'/')) ? current.path() : FMyDoc;
  const QString startName = current.exists() ? current.fileName() : QString();
  QString chosen;
  if (OnChooseFile) {
    chosen = OnChooseFile(startDir, startName);
  } else {
    QFileDialog dlg(this, QStringLiteral("中間ﾌｧｲﾙの指定"), startDir,
                    QStringLiteral("中間ﾌｧｲﾙ (*.xml *.XML);;すべてのﾌｧｲﾙ(*)"));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setDefaultSuffix(QStringLiteral("xml"));
    if (!startName.isEmpty())
      dlg.selectFile(startName);
    if (dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty())
      chosen = dlg.selectedFiles().first();
  }
  if (!chosen.isEmpty())
    Edit4a->setText(chosen);
}

void TForm1::pcFinish()
{
  TxAnimeProgressDialog progress;
  progress.SetCaption(QStringLiteral("連動データの作成中"));
  progress.SetInfoLabel(QStringLiteral("連動データの作成中です…"));
  progress.SetAviFile(QDir(SystemDef.EXEPATH).filePath(QStringLiteral("progress.avi")));
  progress.SetCancelBtnShow(false);
  progress.Execute(this);
  pcSetScreenCursor(Qt::WaitCursor);
  const QString fileName = fnRendoExportFileName(FDataExpInfo->ExpFilePath, FMyDoc);
  const TRendoFinishOutcome out = fnRendoFinish(*FDataExpInfo, fileName);
  if (!out.ExportErrorText.isEmpty()) {
    progress.AnimationActive(false);
    showDlg(out.ExportErrorText, mtError, mbOK);
  }
  progress.Hide();
  pcSetScreenCursor(Qt::ArrowCursor);
  if (out.Created) {
    if (!FHasArgument)
      showDlg(out.CreatedText, mtInformation, mbOK);
    FCaller.EndState = resCreated;
  } else {
    showDlg(out.FailureText, mtError, mbOK);
    if (!out.ExceptionText.isEmpty())
      showDlg(out.ExceptionText, mtError, mbOK);
    FCaller.EndState = resFailed;
  }
  FClosedByProgram = true;
  close();
}
