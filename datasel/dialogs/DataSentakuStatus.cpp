// The data-selection dialog's status side: the function-key captions and
// the enabled states of the side buttons for the focused row, the folder
// status check behind the choice and the details, and the lock column.
#include <array>

#include <QCheckBox>
#include <QPushButton>
#include <QTableView>

#include "common/AccFunction.h"
#include "common/DataModule.h"
#include "datasel/DataFolderStatus.h"
#include "datasel/DataLockToggle.h"
#include "datasel/dialogs/DataSentaku.h"
#include "platform/Paths.h"

namespace {

const char* const kBareKeys[13] = {"ESC:", "F1:", "F2:", "F3:", "F4:", "F5:", "F6:", "F7:", "F8:", "", "", "", "F12:"};

QString trimBlanks(const QString& s)
{
  QString t = s;
  t.replace(QChar(0x3000), QLatin1Char(' '));
  return t.trimmed();
}

}  // namespace

void TDataSentakuBox::SetFuncKeyCaption()
{
  std::array<QString, 13> cap;
  const char* defaults[13] = {"ESC:ｷｬﾝｾﾙ",
                              "F1:ヘルプ",
                              "F2:コピー",
                              "F3:新規作成",
                              "F4:割当解除",
                              "F5:ﾃﾞｰﾀ削除",
                              "F6:保存",
                              "F7:復元",
                              "F8:印刷",
                              "",
                              "",
                              "",
                              "F12:選択"};
  // A key acts while it shows its function; off() leaves the bare key.
  std::array<bool, 13> on{};
  for (int k = 0; k < 13; ++k) {
    cap[std::size_t(k)] = QString::fromUtf8(defaults[k]);
    on[std::size_t(k)] = defaults[k][0] != 0;
  }
  auto off = [&cap, &on](int k) {
    cap[std::size_t(k)] = QString::fromUtf8(kBareKeys[k]);
    on[std::size_t(k)] = false;
  };
  auto set = [&cap, &on](int k, const QString& text) {
    cap[std::size_t(k)] = text;
    on[std::size_t(k)] = true;
  };
  if (AppType != jxatSA)
    set(4, QStringLiteral("F4:領域追加"));
  if (FProcType == dsptNendoKosinCall || FProcType == dsptConvertCall)
    off(3);

  FFuncMode = 0;
  const int row = FocusedRow();
  if (RowCount() > 0 && row >= 0) {
    FFuncMode = FCopy ? 2 : 1;
    if (FCopy)
      set(2, QStringLiteral("F2:貼り付け"));
    // Everything below follows the record of the focused row.
    int pi = -1;
    const TDataListRec e = GetRowDataRec(row, &pi);
    const TDataListRec p = pi >= 0 && pi < int(FDataList.size()) ? FDataList[std::size_t(pi)].Data : e;
    const bool named = !trimBlanks(e.DataListName).isEmpty();
    const bool member = FModel->Row(row).IsMember() && e.GassanDataKbn == 10;
    bool kyoyuGet = false;
    bool kyoyuPut = false;
    if (AppType == jxatSA && e.NetDrive == 0) {
      off(4);
      if (!named) {
        if (!FCopy)
          off(2);
        off(5);
        off(6);
      } else {
        off(3);
        if (e.GassanDataKbn == 1)
          set(3, QStringLiteral("F3:分散追加"));
        else if (p.GassanDataKbn == 2 && member)
          off(5);
      }
    } else if (AppType == jxatSA && e.NetDrive == 1 && e.KyoyuLock == 0) {
      off(2);
      off(3);
      off(5);
      off(7);
      if (member) {
        off(2);
        off(4);
        off(5);
      }
      if (FChkAuto->isVisible() && SystemDef.KyoyuDataAutoCopy == 0)
        off(12);
    } else if (AppType == jxatSA) {
      off(3);
      off(4);
      off(5);
      if ((e.DataListName == QStringLiteral("空き領域") && !member) || e.DataListName == QStringLiteral("新しい領域")) {
        set(3, QStringLiteral("F3:新規作成"));
        set(4, QStringLiteral("F4:割当解除"));
      }
      if (e.GassanDataKbn == 1)
        set(3, QStringLiteral("F3:分散追加"));
      else if (p.GassanDataKbn == 1 && member)
        set(5, QStringLiteral("F5:ﾃﾞｰﾀ削除"));
    } else if (named) {
      off(3);
      if (AppType == jxatCS)
        set(3, QStringLiteral("F3:持ち出し"));
    } else {
      if (!FCopy)
        off(2);
      off(5);
      off(6);
    }
    if (FFuncMode == 1) {
      if (!FChkAuto->isChecked()) {
        // While the automation is off the two share buttons follow the row.
        const QString name = trimBlanks(e.DataListName);
        if (e.NetDrive == 0) {
          kyoyuGet = name.isEmpty();
        } else if (!name.isEmpty() && name != QStringLiteral("空き領域") && name != QStringLiteral("新しい領域")) {
          kyoyuGet = e.KyoyuLock == 0;
          kyoyuPut = e.KyoyuLock == 1;
        }
        FBtnKyoyuGet->setEnabled(kyoyuGet);
        FBtnKyoyuPut->setEnabled(kyoyuPut);
      }
      bool cloud = true;
      bool ikou = false;
      if (e.Data_Status == jxdbHason) {
        for (int k : {2, 3, 4, 6, 12})
          off(k);
        FBtnKyoyuPut->setEnabled(false);
        cloud = false;
      }
      if (cap[3] == QStringLiteral("F3:新規作成"))
        ikou = true;
      if (e.VerMajor == 0)
        cloud = false;
      FBtnCloud->setEnabled(cloud);
      FBtnIkou->setEnabled(ikou);
    }
  }
  if (FFuncMode != 1) {
    FBtnKyoyuGet->setEnabled(false);
    FBtnKyoyuPut->setEnabled(false);
    FBtnIkou->setEnabled(false);
    FBtnCloud->setEnabled(FFuncMode == 2);
  }
  if (!FGrid->isEnabled() || !FBottomPanel->isEnabled()) {
    FFuncMode = 0;
    off(8);
    off(12);
  }
  if (FFuncMode == 0)
    for (int k = 2; k <= 7; ++k)
      off(k);
  if (FProcType == dsptGensyouCall || FProcType == dsptOnlySACall)
    for (int k = 1; k <= 8; ++k)
      off(k);
  if (FProcType == dsptConvertCall)
    for (int k : {1, 2, 3, 6, 7, 8})
      off(k);
  if (FProcType == dsptGensyouCall) {
    FBtnKensaku->setEnabled(false);
    FBtnKensakuKaijyo->setEnabled(false);
  }
  FFuncOn = on;
  for (int k : {0, 1, 2, 3, 4, 5, 6, 7, 8, 12})
    FFunc[std::size_t(k)]->setText(cap[std::size_t(k)]);
}

void TDataSentakuBox::ToggleLock(int ARow)
{
  if (AppType == jxatSA || ARow < 0 || ARow >= RowCount())
    return;
  int pi = -1, ci = -1;
  TDataListRec r = GetRowDataRec(ARow, &pi, &ci);
  if (pi < 0)
    return;
  const QString folder = GetRowDataPath(ARow);
  const TJxDataStatus st = DataStatusCheck(folder, true, false);
  const int shown = FModel->Row(ARow).IsLocked() ? 1 : 0;
  const TDataLockAction a = fnDataLockAction(st, FDataInfomationRec.OpCode, shown, SystemDef.OPCODE);
  if (a.Kind == TDataLockAction::Nothing)
    return;
  if (a.Kind == TDataLockAction::Refuse) {
    TMessageInfoRec box;
    pcInitMessageInfoRec(box);
    box.MessageType = 1;
    const bool other = st == jxdsLock;
    box.WindowTitle = other ? QStringLiteral("ロックデータの状態") : QStringLiteral("選択データの状態");
    box.MainCaption = other ? QStringLiteral("このデータは違うオペレータによりロックされているため解除は行えません。")
                            : QStringLiteral("このデータは%1のため処理が行えません。").arg(fnDataStatusName(int(st)));
    box.MessageCaption = {QStringLiteral("【データフォルダ】"),
                          QStringLiteral("　") + folder,
                          QString(),
                          QStringLiteral("【オペレータ】"),
                          QStringLiteral("　") + QString::number(fnOperatorNumber(FDataInfomationRec.OpCode)),
                          QString(),
                          QStringLiteral("【オペレータ名】"),
                          QStringLiteral("　") + FDataInfomationRec.OpName};
    StatusBoxShow(box);
    if (!other)
      return;
  }
  if (a.WriteStatus) {
    TDataInfomation info;
    info.SetAppType(AppType);
    info.WriteIniFileDataStatus(folder, a.Locked ? jxdsLock : jxdsNone);
  }
  r.DataLock = a.OpNo;
  keepRowData(ARow, r);
  UpdateListRecord(r);
  SetFuncKeyCaption();
}

TJxDataStatus TDataSentakuBox::DataStatusCheck(const QString& APath, bool AMessageNoData, bool AShowBox)
{
  if (AppType == jxatSA &&
      !(DM &&
        DM->AccFileExists(PathJoin(APath, AppInfo.DataFile.isEmpty() ? QStringLiteral("wqacc2.fdb") : AppInfo.DataFile),
                          AppType))) {
    if (AMessageNoData) {
      infoBox({QStringLiteral("このフォルダには財務データがありません。")});
      return jxdsError;
    }
    return jxdsNone;
  }
  const TJxDataStatus st = fnReadDataStatus(AppType, APath, FDataInfomationRec);
  const bool allowed = st == jxdsNone || (AppType != jxatSA && st == jxdsExec);
  if (st == jxdsError || st == jxdsHason || !AShowBox || allowed)
    return st;
  TMessageInfoRec box;
  pcInitMessageInfoRec(box);
  box.MessageType = 1;
  box.WindowTitle = QStringLiteral("選択データの状態");
  box.MainCaption = QStringLiteral("このデータは%1のため処理が行えません。").arg(fnDataStatusName(int(st)));
  if (st == jxdsExec)
    box.MainCaption += QStringLiteral("\r前回、異常終了した場合は情報ボタンを押してデータの状態を回復して下さい。");
  box.MessageCaption = {QStringLiteral("【データフォルダ】"),
                        QStringLiteral("　") + APath,
                        QString(),
                        QStringLiteral("【オペレータ】"),
                        QStringLiteral("　") + QString::number(fnOperatorNumber(FDataInfomationRec.OpCode)),
                        QString(),
                        QStringLiteral("【オペレータ名】"),
                        QStringLiteral("　") + FDataInfomationRec.OpName};
  box.AgreeCaption.clear();
  StatusBoxShow(box);
  return st;
}
