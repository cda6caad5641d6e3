#include "datasel/dialogs/DataSentaku.h"

#include <algorithm>
#include <stdexcept>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/AccFunction.h"
#include "common/DataModule.h"
#include "datasel/ComDataSentakuRefresh.h"
#include "datasel/DataFolderStatus.h"
#include "datasel/DataLockToggle.h"
#include "datasel/DataSyosaiUpdate.h"
#include "datasel/dialogs/DataBasyo.h"
#include "datasel/dialogs/DataListKensaku.h"
#include "datasel/dialogs/DataSyosaiInfo.h"
#include "platform/Paths.h"
#include "ui/xAnimeProgressDialog.h"
#include "ui/z5MessageDlg2.h"

namespace {

const char* const kBareKeys[13] = {"ESC:", "F1:", "F2:", "F3:", "F4:", "F5:", "F6:", "F7:", "F8:", "", "", "", "F12:"};

QString gridHint(TJxAppType app, TdsProcType mode)
{
  const QString head = QStringLiteral("［ENTER］又はﾀﾞﾌﾞﾙｸﾘｯｸ又は［F12］で選択します。");
  if (mode == dsptConvertCall)
    return head + QStringLiteral("|［ENTER］又はﾀﾞﾌﾞﾙｸﾘｯｸ又は［F12］で空いている行を選択します。\r\n");
  const bool nendo = mode == dsptNendoKosinCall;
  if (app == jxatCS)
    return head + QLatin1Char('|') + head +
           (nendo ? QStringLiteral("\r\n") : QStringLiteral("\r\n空白行は選択できません。"));
  if (app == jxatSBC)
    return head + QLatin1Char('|') + head +
           (nendo ? QString()
                  : QStringLiteral("\r\n空白行は選択できません。［F3］で新規にﾃﾞｰﾀを作成するか、又は［F7］で作成済みのﾃ"
                                   "ﾞｰﾀを復元してください。")) +
           (nendo ? QStringLiteral("\r\n［F7］で作成済みのﾃﾞｰﾀを復元してください。") : QString()) +
           QStringLiteral(
               "\r\n選択ﾃﾞｰﾀを削除する場合は［F5］を、ﾌﾗｯｼｭﾒﾓﾘなどのﾒﾃﾞｨｱに保存する場合は［F6］を押します。");
  return head + QLatin1Char('|') + head +
         (nendo ? QStringLiteral("\r\n［F7］で作成済みのﾃﾞｰﾀを復元してください。")
                : QStringLiteral("\r\n空白行は選択できません。［F3］で新規にﾃﾞｰﾀを作成するか、又は［F7］で作成済みのﾃﾞｰ"
                                 "ﾀを復元してください。")) +
         QStringLiteral(
             "\r\n選択ﾃﾞｰﾀを削除する場合は［F5］、ﾌﾗｯｼｭﾒﾓﾘなどのﾒﾃﾞｨｱに保存する場合は［F6］を押します。"
             "\r\n共有ﾃﾞｰﾀを処理する場合は［共有取得］、取得した共有ﾃﾞｰﾀを他のｵﾍﾟﾚｰﾀが使えるようにする場合は［共有保管"
             "］をｸﾘｯｸします。");
}

QString trimBlanks(const QString& s)
{
  QString t = s;
  t.replace(QChar(0x3000), QLatin1Char(' '));
  return t.trimmed();
}

int optionInt(const QString& text)
{
  bool ok = false;
  const int v = text.trimmed().toInt(&ok);
  return ok ? v : 0;
}

bool hasOption(const QStringList& lines, const QString& name)
{
  for (const QString& l : lines) {
    const int eq = l.indexOf(QLatin1Char('='));
    const QString key = eq >= 0 ? l.left(eq) : l;
    if (QString::compare(key.trimmed(), name, Qt::CaseInsensitive) == 0)
      return true;
  }
  return false;
}

}  // namespace

void RegisterDataSentakuBox()
{
  RegisterFormClassByName<TDataSentakuBox>(QStringLiteral("DuRoziZuvurad"));
}

namespace {
const bool registered = (RegisterDataSentakuBox(), true);
}

TDataSentakuBox::TDataSentakuBox(QWidget* AParent) : TBSDI(AParent, bsDialog)
{
  (void)registered;
  StatusBoxShow = [](TMessageInfoRec& r) { return fnShowMessageBox(r); };
  MenuMin = false;
  MultiShow = false;
  FormSize = false;
  Zoom = false;
  HelpFile = QStringLiteral("file01.html");
  FDataPlaceRec = SystemDef.DataPlaceRec;
  FDataPlacePath = SystemDef.IBPATHDEF;
  FListCtl = std::make_unique<TDataSentakuListCtl>();
  FListCtl->SetAppType(AppType);
  FKensakuStore = std::make_unique<TDataKensakuStore>(0);
  buildForm();
  applyAppType();
  FormCreate();
  InitFlg = true;
}

TDataSentakuBox::~TDataSentakuBox() = default;

void TDataSentakuBox::buildForm()
{
  setWindowTitle(QStringLiteral("データ選択"));
  resize(992, 564);
  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(6, 6, 6, 6);

  auto* top = new QHBoxLayout;
  FPlacePanel = new QWidget(this);
  auto* pl = new QHBoxLayout(FPlacePanel);
  pl->setContentsMargins(0, 0, 0, 0);
  pl->addWidget(new QLabel(QStringLiteral("データの場所:"), FPlacePanel));
  FPlaceCombo = new QComboBox(FPlacePanel);
  FPlaceCombo->setMinimumWidth(220);
  pl->addWidget(FPlaceCombo);
  FBtnPlace = new QPushButton(QStringLiteral("設定"), FPlacePanel);
  pl->addWidget(FBtnPlace);
  top->addWidget(FPlacePanel);
  top->addStretch(1);
  FBtnKensaku = new QPushButton(QStringLiteral("検索"), this);
  FBtnKensakuKaijyo = new QPushButton(QStringLiteral("検索解除"), this);
  FBtnInfo = new QPushButton(QStringLiteral("情報"), this);
  FBtnRefresh = new QPushButton(QStringLiteral("更新"), this);
  FChkAuto = new QCheckBox(QStringLiteral("共有データの取得と保管を自動化する"), this);
  FBtnKyoyuGet = new QPushButton(QStringLiteral("共有取得"), this);
  FBtnKyoyuPut = new QPushButton(QStringLiteral("共有保管"), this);
  FBtnCloud = new QPushButton(QStringLiteral("ｸﾗｳﾄﾞ"), this);
  FBtnIkou = new QPushButton(QStringLiteral("ﾃﾞｰﾀ移行"), this);
  for (QWidget* w :
       {static_cast<QWidget*>(FBtnKensaku), static_cast<QWidget*>(FBtnKensakuKaijyo), static_cast<QWidget*>(FBtnInfo),
        static_cast<QWidget*>(FBtnRefresh), static_cast<QWidget*>(FChkAuto), static_cast<QWidget*>(FBtnKyoyuGet),
        static_cast<QWidget*>(FBtnKyoyuPut), static_cast<QWidget*>(FBtnCloud), static_cast<QWidget*>(FBtnIkou)})
    top->addWidget(w);
  root->addLayout(top);

  buildGrid();
  FGrid->installEventFilter(this);
  root->addWidget(FGrid, 1);

  FSearchEdit = new QLineEdit(FGrid->viewport());
  FSearchEdit->setReadOnly(true);
  FSearchEdit->setMaxLength(8);
  FSearchEdit->setFixedSize(80, 19);
  FSearchEdit->setFocusPolicy(Qt::NoFocus);
  FSearchEdit->setStyleSheet(QStringLiteral("QLineEdit{color:white;font-weight:bold;background:palette(highlight);}"));
  FSearchEdit->hide();
  FSearchTimer.setSingleShot(false);
  connect(&FSearchTimer, &QTimer::timeout, this, [this] {
    if (FGrid->hasFocus())
      FinishIncrementalSearch();
  });

  FHint = new QLabel(this);
  FHint->setWordWrap(true);
  FHint->setMinimumHeight(48);
  FHint->setFrameShape(QFrame::StyledPanel);
  root->addWidget(FHint);
  HintObject = FHint;

  FBottomPanel = new QWidget(this);
  auto* bl = new QHBoxLayout(FBottomPanel);
  bl->setContentsMargins(0, 0, 0, 0);
  for (int k : {0, 1, 2, 3, 4, 5, 6, 7, 8, 12}) {
    auto* b = new QPushButton(QString::fromUtf8(kBareKeys[k]), FBottomPanel);
    b->setFocusPolicy(Qt::NoFocus);
    b->setMinimumWidth(84);
    FFunc[std::size_t(k)] = b;
    if (k == 12)
      bl->addStretch(1);
    bl->addWidget(b);
    connect(b, &QPushButton::clicked, this, [this, k] { onFunc(k); });
  }
  root->addWidget(FBottomPanel);
  Child_OKButton = nullptr;  // F12 is this dialog's own business

  connect(FGrid, &TxGridView::doubleClicked, this, [this] { ChooseFocused(); });
  connect(FGrid, &TxGridView::pressed, this, [this](const QModelIndex& at) {
    if (AppType != jxatSA && at.column() == dscol::Kagi)
      ToggleLock(at.row());
  });
  connect(FGrid->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int c) { SortByColumn(c); });
  connect(FBtnKensaku, &QPushButton::clicked, this, [this] { onKensaku(); });
  connect(FBtnKensakuKaijyo, &QPushButton::clicked, this, [this] { onKensakuKaijyo(); });
  connect(FBtnInfo, &QPushButton::clicked, this, [this] { onInfo(); });
  connect(FBtnRefresh, &QPushButton::clicked, this, [this] { onRefresh(); });
  connect(FBtnKyoyuGet, &QPushButton::clicked, this, [this] { notYet(QStringLiteral("共有取得")); });
  connect(FBtnKyoyuPut, &QPushButton::clicked, this, [this] { notYet(QStringLiteral("共有保管")); });
  connect(FBtnCloud, &QPushButton::clicked, this, [this] { notYet(QStringLiteral("クラウドシェア")); });
  connect(FBtnIkou, &QPushButton::clicked, this, [this] { notYet(QStringLiteral("データ移行")); });
  connect(FBtnPlace, &QPushButton::clicked, this, [this] { onPlaceSetting(); });
  connect(FPlaceCombo, qOverload<int>(&QComboBox::activated), this, [this] { onPlaceChosen(); });
  FPlaceCombo->installEventFilter(this);
  connect(FGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { SetFuncKeyCaption(); });
}

void TDataSentakuBox::applyAppType()
{
  const bool cloud = false;  // cloud sharing is offered by the communication module
  if (AppType == jxatSA) {
    setWindowTitle(QStringLiteral("データ選択"));
    FPlacePanel->hide();
  } else {
    setWindowTitle(AppType == jxatSBC ? QStringLiteral("データ選択") : QStringLiteral("データ選択（サーバー）"));
    FBtnKyoyuGet->hide();
    FBtnKyoyuPut->hide();
    FChkAuto->hide();
    FPlacePanel->show();
  }
  if (!cloud)
    FBtnCloud->hide();
  applyGridAppType(cloud);
}

// ---------------------------------------------------------------- options

void TDataSentakuBox::SetProcType(int AValue)
{
  if (AValue > 5)
    throw std::runtime_error("処理タイプに範囲外の値が設定されました。");
  FProcType = AValue < 0 ? dsptStartCall : TdsProcType(AValue);
}

void TDataSentakuBox::SetOptions(const QStringList& AOptions)
{
  FOptionsList = AOptions;
  TBSDI::SetOptions(AOptions);
  FKensakuStore->InitRecord(FOutDataKensakuRec);
  FOnlySA_Syori = 0;
  FOnlySA_BackupPath.clear();
  bool ok = false;
  const int type = fnOptionValue(AOptions, QStringLiteral("SyoriType")).trimmed().toInt(&ok);
  SetProcType(ok ? type : 0);
  FFormStyle = optionInt(fnOptionValue(AOptions, QStringLiteral("FormStyle"), QStringLiteral("0")));
  if (hasOption(AOptions, QStringLiteral("JyokenSet"))) {
    TDataKensakuRec& r = FOutDataKensakuRec;
    r.JyokenUse = 1;
    r.DataType = optionInt(fnOptionValue(AOptions, QStringLiteral("DataType")));
    r.CodeType = optionInt(fnOptionValue(AOptions, QStringLiteral("CodeType")));
    const struct {
      const char* name;
      int kbn;
    } vers[] = {{"DataVer", 0}, {"DataVerMajor", 1}, {"DataVerMore", 2}, {"DataVerFullMatch", 3}};
    for (const auto& v : vers) {
      if (!hasOption(AOptions, QString::fromLatin1(v.name)))
        continue;
      r.DataVer = fnOptionValue(AOptions, QString::fromLatin1(v.name));
      if (v.kbn != 0)
        r.DataVer2.clear();
      r.DataVerKbn = v.kbn;
    }
    if (fnOptionValue(AOptions, QStringLiteral("ManualFree")).trimmed() == QStringLiteral("1"))
      SetManualFree(true);
  }
  if (FProcType == dsptOnlySACall) {
    const QString s = fnOptionValue(AOptions, QStringLiteral("OnlySA_Syori"));
    FOnlySA_Syori = s == QStringLiteral("Restore") ? 1 : 0;
    FOnlySA_BackupPath = fnOptionValue(AOptions, QStringLiteral("OnlySA_BackupPath"));
  }
  if (FFormStyle > 2)
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

int TDataSentakuBox::ShowDisplay(TIShowType AShowType)
{
  const int check = fnShowDisplayCheck(AShowType);
  if (check != 1)
    return check;
  int result = 1;
  if (AShowType == istShowModal) {
    SetPrepare(true);
    SetDaialogShowPlace(0, 0, 0, 0, dsScreenCenter);
    result = exec();
  } else {
    show();
  }
  QApplication::restoreOverrideCursor();
  return result;
}

void TDataSentakuBox::SetPrepare(bool AValue)
{
  FPrepare = AValue;
  if (!AValue)
    return;
  if (FProcType == dsptNendoKosinCall || FProcType == dsptOnlySACall) {
    SystemDef.OneTimeDataPath.clear();
    MenuMin = false;
  }
  if (FProcType == dsptNendoKosinCall && AppType == jxatSA) {
    // The automatic shared get and store rest while a place is chosen.
    FBackup_KyoyuDataAutoCopy = SystemDef.KyoyuDataAutoCopy;
    SystemDef.KyoyuDataAutoCopy = 0;
  }
  if (FProcType == dsptNendoKosinCall || FProcType == dsptGensyouCall || FProcType == dsptConvertCall) {
    FBtnCloud->hide();
    FBtnIkou->hide();
  }
  PrepareDataList();
  FirstTimeFlg = false;
}

// ---------------------------------------------------------------- list

void TDataSentakuBox::PrepareDataList()
{
  FGridHint = gridHint(AppType, FProcType);
  SetHintList();
  if (AppType != jxatSA)
    fillPlaceCombo();
  TDataKensakuRec stored;
  FKensakuStore->SelectRecord(stored);
  FDataKensakuRec[0] = stored;
  FDataKensakuRec[1] = stored;
  if (stored.JyokenUse == 0)
    pcClearKensakuFilter(FDataKensakuRec[1]);
  if (FOutDataKensakuRec.JyokenUse == 1) {
    FOutDataKensakuRec.SortCol = stored.SortCol;
    FOutDataKensakuRec.SortType = stored.SortType;
    FDataKensakuRec[1] = FOutDataKensakuRec;
  }
  FBtnKensakuKaijyo->setEnabled(FDataKensakuRec[1].JyokenUse == 1);
  FSortCol = FDataKensakuRec[1].SortCol;
  FSortType = FDataKensakuRec[1].SortType != 0 ? jxstDesc : jxstAsc;
  if (FSortCol == kDataListSortColNo && FSortType == jxstAsc)
    FSortCol = 0;
  if (DataListExecute() > 0) {
    DataListDisplay();
    if (AppType == jxatSA && FProcType == dsptStartCall && FListCtl->IsDataListNameMitouroku())
      DataListRefresh(-1);
  }
  FChkAuto->blockSignals(true);
  FChkAuto->setChecked(SystemDef.KyoyuDataAutoCopy == 1);
  FChkAuto->blockSignals(false);
  FZenkaiDataPath = SystemDef.IBPATHDAT;
  FEscCloseFlg = false;
  SetFuncKeyCaption();
}

int TDataSentakuBox::DataListExecute()
{
  FListCtl->SetAppType(AppType);
  FListCtl->SetDataPlaceRec(FDataPlaceRec);
  FListCtl->Execute(0, fnSortFieldOfColumn(FSortCol), FSortType, QString());
  FDataList = FListCtl->TakeItemList();
  FChildList = FListCtl->TakeItemChildList();
  DataListFilter();
  return int(FDataList.size());
}

void TDataSentakuBox::DataListFilter()
{
  FOutputDataList.clear();
  for (std::size_t i = 0; i < FDataList.size(); ++i)
    if (fnDataKensakuPass(FDataKensakuRec[1], FDataList[i].Data))
      FOutputDataList.push_back({int(i)});
}

void TDataSentakuBox::keepRowData(int ARow, const TDataListRec& AData)
{
  if (!FModel->IsRow(ARow))
    return;
  const TDataListRow& row = FModel->Row(ARow);
  if (row.Entry < 0 || row.Entry >= int(FDataList.size()))
    return;
  TDataSentakuRec& e = FDataList[std::size_t(row.Entry)];
  if (row.IsMember()) {
    if (row.Member < int(e.ChildData.size()))
      e.ChildData[std::size_t(row.Member)] = AData;
  } else {
    e.Data = AData;
  }
  FModel->SetRowData(ARow, AData);
}

void TDataSentakuBox::DataListDisplay()
{
  FModel->SetSortMark(FSortCol, FSortType);
  std::vector<int> order;
  order.reserve(FOutputDataList.size());
  for (const TDataSentakuRecDisp& d : FOutputDataList) {
    TDataSentakuRec& e = FDataList[std::size_t(d.Index)];
    if (IsGassanParent(e.Data.GassanDataKbn))
      TDataSentakuListCtl::SetChildData_DisplayDataListName(&e);
    order.push_back(d.Index);
  }
  FModel->ShowEntries(FDataList, order);
  if (RowCount() > 0)
    FocusRow(0);
}

int TDataSentakuBox::RowCount() const
{
  return FModel->rowCount();
}

TDataListRec TDataSentakuBox::GetRowDataRec(int ARow, int* AIndex, int* ACIndex) const
{
  if (!FModel->IsRow(ARow))
    return TDataListRec{};
  const TDataListRow& row = FModel->Row(ARow);
  if (AIndex)
    *AIndex = row.Entry;
  if (row.Entry < 0 || row.Entry >= int(FDataList.size()))
    return TDataListRec{};
  const TDataSentakuRec& e = FDataList[std::size_t(row.Entry)];
  if (!row.IsMember())
    return e.Data;
  if (ACIndex)
    *ACIndex = row.Member;
  return row.Member < int(e.ChildData.size()) ? e.ChildData[std::size_t(row.Member)] : TDataListRec{};
}

QString TDataSentakuBox::GetRowDataPath(int ARow) const
{
  const TDataListRec r = GetRowDataRec(ARow);
  if (r.NetDrive != 1)
    return ExcludeTrailingPathDelimiter(r.DataPath);
  const QString folder = QStringLiteral("%1").arg(r.Rec, 4, 10, QLatin1Char('0'));
  if (IsGassanOwnRow(r.GassanDataKbn))
    return PathJoin(SystemDef.IBPATHDEF, folder);
  return PathJoin({SystemDef.IBPATHDEF, folder, ExtractFileName(ExcludeTrailingPathDelimiter(r.DataPath))});
}

int TDataSentakuBox::GetKyoyuState(int ASource, int AIndex) const
{
  TDataListRec r;
  if (ASource == 0)
    r = GetRowDataRec(AIndex);
  else if (ASource == 1 && AIndex >= 0 && AIndex < int(FDataList.size()))
    r = FDataList[std::size_t(AIndex)].Data;
  else
    return 0;
  if (r.NetDrive != 1)
    return 0;
  return r.KyoyuLock == 1 ? 2 : 1;
}

int TDataSentakuBox::GetParentRow(int ARow) const
{
  return FModel->ParentRow(ARow);
}

void TDataSentakuBox::SortByColumn(int ACol)
{
  static const int sortable[] = {dscol::No,    dscol::Code,   dscol::Name,   dscol::Nendo,
                                 dscol::Kikan, dscol::Folder, dscol::Version};
  if (std::find(std::begin(sortable), std::end(sortable), ACol) == std::end(sortable))
    return;
  if (FSortCol == 0)
    FSortCol = kDataListSortColNo;
  const int sortCol = fnDataListSortColOfColumn(ACol);
  FSortType = sortCol == FSortCol && FSortType == jxstAsc ? jxstDesc : jxstAsc;
  FSortCol = sortCol;
  const int cur = FocusedRow();
  const QString keep = FModel->IsRow(cur) ? FModel->Text(cur, dscol::Folder).toUpper() : QString();
  DataListExecute();
  DataListDisplay();
  for (int r = 0; r < RowCount(); ++r)
    if (!keep.isEmpty() && fnDataListFolderText(GetRowDataRec(r).DataPath).toUpper() == keep) {
      FocusRow(r);
      break;
    }
  SetFuncKeyCaption();
}

void TDataSentakuBox::LocateZenkaiData()
{
  int target = 0;
  if (FZenkaiDataLocateFlg) {
    FZenkaiDataPath = SystemDef.IBPATHDAT;
    for (int r = 0; r < RowCount(); ++r)
      if (GetRowDataPath(r).toLower() == ExcludeTrailingPathDelimiter(FZenkaiDataPath).toLower())
        target = r;
  }
  // The row stands five rows below the top where the list allows.
  if (target < RowCount())
    pcCxGridFocusRecord(FGrid, target, dscol::Code, 5);
  FZenkaiDataLocateFlg = true;
}

// ---------------------------------------------------------------- captions and hints

void TDataSentakuBox::SetHintList()
{
  // A hint is "short|long"; the base form shows the long part in the hint area.
  FChkAuto->setToolTip(
      QStringLiteral("ﾁｪｯｸを入れると取得・保管ﾎﾞﾀﾝを使わずに共有ﾃﾞｰﾀを処理できます。空白行に共有ﾃﾞｰﾀを割り当てる場合やL"
                     "ANから切り離してﾃﾞｰﾀ持ち出す場合はﾁｪｯｸを外してください。|"));
  FBtnKyoyuPut->setToolTip(
      QStringLiteral("選択した共有ﾃﾞｰﾀを他のPCで使用可能にします。保管を行うと［共有］欄にｱｲｺﾝが付きます。|"));
  FBtnKyoyuGet->setToolTip(
      QStringLiteral("空白行を選択してｸﾘｯｸすると［共有ﾃﾞｰﾀの選択］画面が開きます。共有ﾃﾞｰﾀ行を選択してｸﾘｯｸすると選択可"
                     "能になります。（［共有］欄のｱｲｺﾝが外れます。）|"));
  FBtnKensakuKaijyo->setToolTip(QStringLiteral("検索状態を解除します。|"));
  FBtnKensaku->setToolTip(
      QStringLiteral("［検索条件の設定］画面を開きます。一定条件に該当するﾃﾞｰﾀを抽出表示する場合に使用します。|"));
  FBtnInfo->setToolTip(fnMessageLines(QStringLiteral(
      "「ﾃﾞｰﾀの詳細情報」画面を開きます。入力済み仕訳件数や部門・本支店の設定状況など、選択ﾃﾞｰﾀの基本情報を表示します。"
      "|「ﾃﾞｰﾀの詳細情報」画面を開きます。入力済み仕訳件数や部門・本支店の設定状況など、選択ﾃﾞｰﾀの基本情報を表示します"
      "。\r\nﾃﾞｰﾀ選択画面におけるﾃﾞｰﾀの表示名を変更することも可能です。")));
  FBtnRefresh->setToolTip(fnMessageLines(QStringLiteral(
      "ﾃﾞｰﾀﾘｽﾄを更新します。［F5：ﾃﾞｰﾀ削除］や［F7：復元］などの機能を使わずに移行したﾃﾞｰﾀを再表示します。|"
      "ﾃﾞｰﾀﾘｽﾄを更新します。入力済み仕訳件数や部門・本支店の設定状況など、選択ﾃﾞｰﾀの基本情報を表示します。\r\nﾃﾞｰﾀ選択"
      "画面におけるﾃﾞｰﾀの表示名を変更することも可能です。")));
  FPlaceCombo->setToolTip(
      QStringLiteral("データの場所を選択します。|"
                     "データの場所をドロップダウンリストより選択します。選択された場所のデータリストが表示されます。"));
  FBtnPlace->setToolTip(QStringLiteral("データの場所を設定します。|データの場所を設定する画面が開きます。"));
  if (FProcType != dsptOnlySACall)
    FGrid->setToolTip(fnMessageLines(FGridHint));
  FHint->setText(fnMessageLines(FGridHint.section(QLatin1Char('|'), 1)));
}

QString TDataSentakuBox::FuncCaption(int AKey) const
{
  return AKey >= 0 && AKey <= 12 && FFunc[std::size_t(AKey)] ? FFunc[std::size_t(AKey)]->text() : QString();
}

QPushButton* TDataSentakuBox::FuncButton(int AKey) const
{
  return AKey >= 0 && AKey <= 12 ? FFunc[std::size_t(AKey)] : nullptr;
}

bool TDataSentakuBox::funcOff(int AKey) const
{
  return AKey < 0 || AKey > 12 || !FFuncOn[std::size_t(AKey)];
}

// ---------------------------------------------------------------- keys

void TDataSentakuBox::FormKeyUp(QKeyEvent* AEvent, int& AKey)
{
  if (AEvent->modifiers() == Qt::NoModifier) {
    if (AKey == Qt::Key_Escape) {
      onEsc();
      AKey = 0;
      return;
    }
    if (AKey == Qt::Key_F12) {
      onFunc(12);
      AKey = 0;
      return;
    }
    if (AKey >= Qt::Key_F1 && AKey <= Qt::Key_F8) {
      onFunc(AKey - Qt::Key_F1 + 1);
      AKey = 0;
      return;
    }
  }
  TBSDI::FormKeyUp(AEvent, AKey);
}

void TDataSentakuBox::onFunc(int AKey)
{
  if (AKey == 0) {
    onEsc();
    return;
  }
  if (funcOff(AKey))
    return;
  switch (AKey) {
    case 1:
      ShowHtmlHelp();
      break;
    case 2:
      notYet(FCopy ? QStringLiteral("貼り付け") : QStringLiteral("コピー"));
      break;
    case 3:
      notYet(FuncCaption(3).mid(3));
      break;
    case 4:
      notYet(FuncCaption(4).mid(3));
      break;
    case 5:
      notYet(QStringLiteral("データ削除"));
      break;
    case 6:
      notYet(QStringLiteral("保存"));
      break;
    case 7:
      notYet(QStringLiteral("復元"));
      break;
    case 8:
      notYet(QStringLiteral("印刷"));
      break;
    case 12:
      ChooseFocused();
      return;
    default:
      return;
  }
  if (AKey >= 2)
    FGrid->setFocus();
  SetFuncKeyCaption();
}

void TDataSentakuBox::notYet(const QString& AWhat)
{
  infoBox({QStringLiteral("「%1」はこのバージョンではまだ使用できません。").arg(AWhat)});
}

void TDataSentakuBox::onEsc()
{
  if (!FBottomPanel->isEnabled())
    return;
  if (FCopy) {
    FCopy = false;
    FCopyDataPath.clear();
    SetFuncKeyCaption();
    return;
  }
  FEscCloseFlg = true;
  setResult(mrCancel);
  if (closeQuery())
    done(mrCancel);
}

bool TDataSentakuBox::eventFilter(QObject* AWatched, QEvent* AEvent)
{
  if (AWatched == FPlaceCombo && AEvent->type() == QEvent::FocusOut && FPlaceChanging &&
      static_cast<QFocusEvent*>(AEvent)->reason() != Qt::PopupFocusReason)
    DataPlaceLeave();
  if (AWatched == FGrid && AEvent->type() == QEvent::KeyPress) {
    auto* ke = static_cast<QKeyEvent*>(AEvent);
    if (RowCount() == 0)
      return TBSDI::eventFilter(AWatched, AEvent);
    if (ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter) {
      ChooseFocused();
      return true;
    }
    const QString text = ke->text();
    if (text.size() == 1 && text.at(0).unicode() > 0x20 && text.at(0).unicode() < 0x7F &&
        (ke->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == 0) {
      incrementalKey(text);
      return true;
    }
  }
  return TBSDI::eventFilter(AWatched, AEvent);
}

void TDataSentakuBox::incrementalKey(const QString& AText)
{
  if (FKensakuKey.size() >= 8)
    return;  // the edit holds eight characters
  FKensakuKey += AText;
  const int x = FGrid->columnWidth(dscol::No) + int(0.9 * FGrid->columnWidth(dscol::Code));
  const int y = int(0.6 * FGrid->verticalHeader()->defaultSectionSize());
  FSearchEdit->move(x, y);
  FSearchEdit->setText(FKensakuKey);
  FSearchEdit->setCursorPosition(FKensakuKey.size());
  FSearchEdit->show();
  int interval = FSearchTimer.interval();
  interval = interval < 2000 ? interval + 500 : interval;
  if (interval > 1000)
    interval = 1000;
  FSearchTimer.setInterval(interval);
  FSearchTimer.start();
}

void TDataSentakuBox::FinishIncrementalSearch()
{
  const int found = FModel->FindCode(FKensakuKey, FocusedRow());
  if (found >= 0)
    FocusRow(found);
  FSearchTimer.stop();
  FSearchTimer.setInterval(0);
  FKensakuKey.clear();
  FSearchEdit->clear();
  FSearchEdit->hide();
  SetFuncKeyCaption();
}

// ---------------------------------------------------------------- search, info, refresh

void TDataSentakuBox::onKensaku()
{
  if (!FKensakuBox)
    FKensakuBox = new TDataListKensakuBox(this);
  FKensakuBox->SetProcType(0);
  FKensakuBox->SetDataKensakuRec(FDataKensakuRec[0]);
  FKensakuBox->SetPrepar(true);
  if (FKensakuBox->exec() == mrOk) {
    FDataKensakuRec[0] = FKensakuBox->DataKensakuRec();
    FKensakuStore->UpdateRecord(FDataKensakuRec[0]);
    FDataKensakuRec[1] = FDataKensakuRec[0];
    FDataKensakuRec[1].JyokenUse = 1;
    DataListExecute();
    DataListDisplay();
    FBtnKensakuKaijyo->setEnabled(true);
  }
  SetFuncKeyCaption();
}

void TDataSentakuBox::onKensakuKaijyo()
{
  pcClearKensakuFilter(FDataKensakuRec[1]);
  DataListExecute();
  DataListDisplay();
  FBtnKensakuKaijyo->setEnabled(false);
  SetFuncKeyCaption();
}

void TDataSentakuBox::onInfo()
{
  // The details dialog of the focused data set; what the operator changed
  // there is written to the data set, its settings file and the list.
  if (!FGrid->isEnabled()) {
    infoBox({QStringLiteral("データリストが応答状態ではないので処理は行えません。")});
    return;
  }
  const int row = FocusedRow();
  int pi = -1, ci = -1;
  TDataListRec r = GetRowDataRec(row, &pi, &ci);
  if (row < 0 || pi < 0)
    return;
  auto keep = [&] { keepRowData(row, r); };
  const QString folder = GetRowDataPath(row);
  if ((r.Kishu > 0 || r.Kimatu > 0) && r.Data_Status != jxdbHason && DM &&
      DM->ValidateFbDataBase(SystemDef.SERVERNAME, folder, 0, 0) != 1) {
    r.Data_Status = jxdbHason;
    keep();
    SetFuncKeyCaption();
  }
  if (!FSyosaiBox)
    FSyosaiBox = new TDataSyosaiInfoBox(this);
  FSyosaiBox->SetProcType(0);
  FSyosaiBox->SetDataListRec(r);
  FSyosaiBox->SetDataPath(folder);
  FSyosaiBox->SetData_UpdateLock(r.UpdateLock);
  FSyosaiBox->SetData_ReadOnly(r.ReadOnly);
  FSyosaiBox->SetListName(r.DataListName);
  FSyosaiBox->SetFormEnabled(GetKyoyuState(0, row) != 1);
  FSyosaiBox->SetPrepar(true);
  if (FSyosaiBox->exec() == mrOk) {
    const TDataInfomationRec& shown = FSyosaiBox->DataInfomationRec();
    const TDataSyosaiOutcome o =
        fnApplyDataSyosai(folder,
                          {FSyosaiBox->ListName(), FSyosaiBox->Data_UpdateLock(), FSyosaiBox->Data_ReadOnly(),
                           FSyosaiBox->StatusClear(), shown.Status, shown.OpCode},
                          r);
    if (o.StatusCleared)
      FCopy = false;
    keep();
    if (ci < 0 && o.InfoWritten) {
      TDataSentakuRec& e = FDataList[std::size_t(pi)];
      TDataSentakuListCtl::SetChildData_DisplayDataListName(&e);
      for (int k = row + 1; FModel->IsRow(k) && FModel->Row(k).IsMember(); ++k) {
        const int c = FModel->Row(k).Member;
        if (c < int(e.ChildData.size()))
          FModel->SetRowData(k, e.ChildData[std::size_t(c)]);
      }
    }
    UpdateListRecord(r);
    FocusRow(row);
  }
  if (FSyosaiBox->SaikotikuZumi() && row < RowCount()) {
    r.Data_Status = jxdbOK;
    keep();
    DataListRefreshRow(row);
    FocusRow(row);
  }
  SetFuncKeyCaption();
}

void TDataSentakuBox::onRefresh()
{
  if (!FGrid->isEnabled()) {
    infoBox({QStringLiteral("データリストが応答状態ではないので処理は行えません。")});
    return;
  }
  if (confirmBox({QStringLiteral("データリストの更新を行います。"), QStringLiteral("よろしいですか？")}) != mrOk)
    return;
  TxAnimeProgressDialog progress(this);
  progress.SetCaption(QStringLiteral("更新中"));
  progress.SetInfoLabel(QStringLiteral("データリストの更新中…"));
  progress.SetAviFile(PathJoin(SystemDef.EXEPATH, QStringLiteral("progress.avi")));
  progress.SetCancelBtnShow(true);
  FProgress = &progress;
  try {
    progress.Execute(this);
    DataListRefresh(-1);
  } catch (...) {
    FProgress = nullptr;
    progress.Hide();
    raise();
    activateWindow();
    throw;
  }
  FProgress = nullptr;
  progress.Hide();
  raise();
  activateWindow();
  SetFuncKeyCaption();
}

int TDataSentakuBox::infoBox(const QStringList& ALines)
{
  TMessage2InfoRec info;
  pcInitMessage2InfoRec(2, info);
  for (int i = 0; i < ALines.size() && i < Message2LineCount; ++i)
    info.Caption[std::size_t(i)].Text = ALines[i];
  return fnShowMessageBox2(info);
}

int TDataSentakuBox::confirmBox(const QStringList& ALines)
{
  TMessage2InfoRec info;
  pcInitMessage2InfoRec(3, info);
  for (int i = 0; i < ALines.size() && i < Message2LineCount; ++i)
    info.Caption[std::size_t(i)].Text = ALines[i];
  return fnShowMessageBox2(info);
}

// ---------------------------------------------------------------- the choice

int TDataSentakuBox::DataFolderCheck(const QString& APath)
{
  if (trimBlanks(APath).isEmpty()) {
    if (FProcType == dsptGensyouCall)
      return -2;
    throw std::runtime_error("データフォルダパスが不正です。\r処理を中止します。");
  }
  const QString file = PathJoin(APath, AppInfo.DataFile.isEmpty() ? QStringLiteral("wqacc2.fdb") : AppInfo.DataFile);
  const bool choose = FProcType == dsptStartCall || FProcType == dsptMainCall || FProcType == dsptGensyouCall;
  if (AppType == jxatSA) {
    TJxDataStatus st = jxdsNone;
    if (choose)
      st = DataStatusCheck(APath, true, true);
    else if (FProcType != dsptOnlySACall)
      st = DataStatusCheck(APath, false, false);
    if (st == jxdsNone)
      return DM && DM->AccFileExists(file, AppType) ? 1 : 0;
    return SystemDef.DataHasonFlg == 1 || st == jxdsHason ? -3 : -1;
  }
  if (choose) {
    const TJxDataStatus st = DataStatusCheck(APath, true, true);
    if (st == jxdsNone || st == jxdsExec) {
      if (DM && DM->ServerFileOperation(QStringLiteral("FExist"), file, QString()))
        return 1;
      infoBox({QStringLiteral("このフォルダには財務データがありません。")});
      return -1;
    }
    return SystemDef.DataHasonFlg == 1 || st == jxdsHason ? -3 : -1;
  }
  if (FProcType == dsptOnlySACall)
    return -1;
  if (DataStatusCheck(APath, false, true) == jxdsNone)
    return DM && DM->ServerFileOperation(QStringLiteral("FExist"), file, QString()) ? 1 : 0;
  return -1;
}

void TDataSentakuBox::ChooseFocused()
{
  setResult(mrNone);
  SystemDef.DataHasonFlg = 0;
  const int row = FocusedRow();
  if (funcOff(12) || row < 0)
    return;
  int pi = -1, ci = -1;
  TDataListRec r = GetRowDataRec(row, &pi, &ci);
  FDataPath = GetRowDataPath(row);
  FKyoyuDataPath = r.DataPath;
  auto clearChoice = [this] {
    FDataPath.clear();
    FKyoyuDataPath.clear();
  };
  if (FProcType == dsptNendoKosinCall || FProcType == dsptConvertCall) {
    if (FDataPath == SystemDef.IBPATHDAT) {
      infoBox({QStringLiteral("このデータは現在選択中のデータです。"), QStringLiteral("他の場所を選んで下さい。")});
      clearChoice();
      return;
    }
    const int res = DataFolderCheck(FDataPath);
    if (res == 1) {
      infoBox({QStringLiteral("選択したパスには既にデータが存在します。"), QStringLiteral("他の場所を選んで下さい。")});
      clearChoice();
      return;
    }
    if (res == 0) {
      if (FProcType == dsptNendoKosinCall && AppType == jxatSA && SystemDef.IBPATHDAT != SystemDef.IBPATHDAT_Kyoyu &&
          FDataPath == FKyoyuDataPath) {
        if (confirmBox(
                {QStringLiteral("更新前データは共有データ領域で管理されています。"),
                 QStringLiteral("今回指定した保存先では他のオペレータとデータが共有できません。"),
                 QStringLiteral("共有の必要がなければこのメッセージを[OK]してください。"),
                 QStringLiteral("共有する必要がある場合は[キャンセル]し、データ選択画面右上の「共有取得」ボタン"),
                 QStringLiteral("より、共有データ領域をお選びください。")}) != mrOk)
          return;
      }
      SystemDef.OneTimeDataPath =
          QStringLiteral("PATH1=%1").arg(FDataPath) + QChar(13) + QStringLiteral("PATH2=%1").arg(FKyoyuDataPath);
      setResult(mrOk);
      done(mrOk);
      return;
    }
    clearChoice();
    DataListRefreshRow(row);
    return;
  }

  if (r.NetDrive == 1 && r.KyoyuLock == 0 && SystemDef.KyoyuDataAutoCopy == 0) {
    infoBox({QStringLiteral("このデータは共有サーバーに保管されています。"),
             QStringLiteral("共有取得を実行してから選択して下さい。")});
    return;
  }
  int res = 0;
  try {
    res = DataFolderCheck(FDataPath);
  } catch (const std::exception&) {
    res = DM && DM->ValidateFbDataBase(SystemDef.SERVERNAME, FDataPath, 0, 0) == 1 ? -1 : -3;
  }
  if (res == 1) {
    if ((FProcType == dsptStartCall || FProcType == dsptMainCall) && FModel->Row(row).IsUpdateForbidden()) {
      infoBox({QStringLiteral("このデータは「データの更新」処理を行うことが禁止されています。"),
               QStringLiteral(
                   "データを選択したい場合は、「データ選択」画面の[情報]ボタンを押し「データの詳細情報」画面を開き"),
               QStringLiteral("[データの更新: 禁止する]項目のチェックを外してください。"),
               QStringLiteral("または、過去バージョンのプログラムを起動し選択してください。")});
      return;
    }
    if (FProcType == dsptOnlySACall) {
      if (DM && DM->IsCloudShare(false) && r.CloudShare == jxcsUse) {
        infoBox({QStringLiteral("クラウドシェアデータのため選択できません。他の場所を選んで下さい。")});
        clearChoice();
        return;
      }
      // The save or restore of a take-out comes with the save and restore
      // operations; until then the choice ends here, the open data unchanged.
      notYet(FOnlySA_Syori == 0 ? QStringLiteral("保存") : QStringLiteral("復元"));
      clearChoice();
      return;
    }
    SystemDef.IBPATHDAT = FDataPath;
    SystemDef.IBPATHDAT_Kyoyu = FKyoyuDataPath;
    setResult(mrOk);
    FCloseChecked = true;
    done(mrOk);
    return;
  }
  if (res == 0) {
    if (FProcType == dsptOnlySACall && FOnlySA_Syori == 0)
      infoBox({QStringLiteral("この場所にはデータがありません。他の場所を選んで下さい。")});
    else if (FProcType == dsptOnlySACall)
      notYet(QStringLiteral("復元"));
    clearChoice();
    return;
  }
  clearChoice();
  DataListRefreshRow(row);
  if (res == -3 && pi >= 0) {
    TDataListRec damaged = GetRowDataRec(row);
    damaged.Data_Status = jxdbHason;
    keepRowData(row, damaged);
  }
  FocusRow(row);
  SetFuncKeyCaption();
}

// ---------------------------------------------------------------- show and close

void TDataSentakuBox::showEvent(QShowEvent* AEvent)
{
  TBSDI::showEvent(AEvent);
  LocateZenkaiData();
  FGrid->setFocus();
  SetFuncKeyCaption();
}

bool TDataSentakuBox::closeQuery()
{
  if (FCloseChecked)
    return true;
  if ((FProcType == dsptMainCall || FProcType == dsptGensyouCall) && result() != mrOk) {
    if (FProcType == dsptMainCall && result() == mrCancel && !FEscCloseFlg) {
      setResult(mrAbort);
      if (confirmBox({SystemDef.AppName + QStringLiteral("を終了します。よろしいですか？")}) != mrOk) {
        setResult(mrNone);
        FEscCloseFlg = false;
        return false;
      }
    } else {
      FDataPath = ExcludeTrailingPathDelimiter(FZenkaiDataPath);
      FKyoyuDataPath.clear();
      int res = -2;
      const QString file =
          PathJoin(FDataPath, AppInfo.DataFile.isEmpty() ? QStringLiteral("wqacc2.fdb") : AppInfo.DataFile);
      if (AppType == jxatSA && !trimBlanks(FDataPath).isEmpty() && !(DM && DM->AccFileExists(file, AppType))) {
        res = 0;  // the data set that was open is gone: say so, not "no data here"
      } else {
        try {
          res = DataFolderCheck(FDataPath);
        } catch (const std::exception&) {
          res = -1;
        }
      }
      if (res == 1) {
        SystemDef.IBPATHDAT = FDataPath;
        SystemDef.IBPATHDAT_Kyoyu.clear();
      } else {
        if (res == 0)
          infoBox({QStringLiteral("前回選択したデータが削除されています。")});
        FDataPath.clear();
        if (FProcType == dsptMainCall) {
          setResult(mrNone);
          FEscCloseFlg = false;
          return false;
        }
      }
    }
  }
  FCloseChecked = true;
  return true;
}

void TDataSentakuBox::closeEvent(QCloseEvent* AEvent)
{
  if (!FCloseChecked) {
    if (result() == mrNone)
      setResult(mrCancel);
    if (!closeQuery()) {
      AEvent->ignore();
      return;
    }
  }
  TBSDI::closeEvent(AEvent);
}

void TDataSentakuBox::FormClose()
{
  TBSDI::FormClose();
  FCopy = false;
  FCopyDataPath.clear();
  FDataKensakuRec[1].SortCol = FSortCol;
  FDataKensakuRec[1].SortType = FSortType == jxstDesc ? 1 : 0;
  FDataKensakuRec[1].OPCODE = SystemDef.OPCODE;
  FDataKensakuRec[1].ListType = 0;
  if (DM)
    FKensakuStore->UpdateRecordSortField(FDataKensakuRec[1]);
  if (FProcType == dsptOnlySACall)
    return;
  SystemDef.DataPlaceRec = AppType == jxatSA ? 0 : FDataPlaceRec;
  if (FProcType == dsptNendoKosinCall) {
    // The data set being carried over is open again whatever happened here.
    if (DM && !DM->IBDatabaseDAT.isConnected() && !SystemDef.IBPATHDAT.isEmpty())
      DM->fnAccDatConnected(SystemDef.SERVERNAME, SystemDef.IBPATHDAT, false);
    if (AppType == jxatSA)
      SystemDef.KyoyuDataAutoCopy = FBackup_KyoyuDataAutoCopy;
    return;
  }
  // The operator's automation choice and data place are kept for the next start.
  if (DM && DM->IBDatabaseDEF.isConnected())
    DM->fnPutSysdef();
}
