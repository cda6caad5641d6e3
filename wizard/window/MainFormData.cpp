// The wizard window's page 2: choosing and opening the company data.
#include <optional>

#include <QDir>
#include <QPushButton>

#include "common/AccDateText.h"
#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "common/MessageHook.h"
#include "ui/xAnimeProgressDialog.h"
#include "ui/z5MessageDlg2.h"
#include "wizard/RendoVersion.h"
#include "wizard/window/MainForm.h"
#include "wizard/window/RendoDataOps.h"

QString TForm1::fnDataSentakuOptions() const
{
  QStringList lines;
  lines << QStringLiteral("SyoriType=%1").arg(3) << QStringLiteral("JyokenSet=1")
        << QStringLiteral("DataType=%1").arg(-13) << QStringLiteral("CodeType=%1").arg(0)
        << QStringLiteral("DataVerMajor=%1").arg(FDataExpInfo ? FDataExpInfo->KENSAKU_VERSION_MAJOR : QString());
  return lines.join(u'\r');
}

// The confirmation box of a refused data set; true when the operator wants
// to choose again.
bool TForm1::askChooseAgain(const QStringList& lines)
{
  TMessage2InfoRec rec;
  pcInitMessage2InfoRec(3, rec);
  int i = 0;
  for (const QString& l : lines) {
    if (i >= Message2LineCount - 1)
      break;
    rec.Caption[static_cast<size_t>(i++)].Text = l;
  }
  rec.Caption[static_cast<size_t>(i)].Text = QString::fromUtf8(rendo_text::kChooseAgain);
  return fnShowMessageBox2(rec) == mrOk;
}

void TForm1::disconnectAsRefusal()
{
  if (DM)
    DM->fnAccDatDisConnected(SystemDef.IBPATHDAT, true, false, false);
  FDatConnected = false;
}

std::vector<TChosenDataLine> fnChosenDataLines(const TACCINF& AInf)
{
  return {{QStringLiteral("データ区分"), AInf.CODETYPENAME.isEmpty()
                                             ? AInf.DATATYPENAME
                                             : QStringLiteral("%1／%2").arg(AInf.DATATYPENAME, AInf.CODETYPENAME)},
          {(AInf.DATATYPE == 1 || AInf.DATATYPE == 3) ? QStringLiteral("会社名") : QStringLiteral("データ名"),
           AInf.SHOUGOU},
          {QStringLiteral("会計年度"), QStringLiteral("%1期").arg(AInf.NENDO)},
          {QStringLiteral("会計期間"), fnKikanToText(AInf.KISHU, AInf.KIMATU)}};
}

void TForm1::clearDataList()
{
  FDataInfoModel->Clear();
}

void TForm1::fillDataList()
{
  FDataInfoModel->SetRows(fnChosenDataLines(AccInf));
}

void TForm1::btnDataSentakuClick()
{
  if (fnDataSentaku(3, 1))
    fillDataList();
  if (!(FDatConnected && !SystemDef.IBPATHDAT.isEmpty())) {
    clearDataList();
    if (DM && DM->IBDatabaseDAT.isConnected())
      DM->fnAccDatDisConnected(SystemDef.IBPATHDAT, true, false, false);
    FDatConnected = false;
  }
  // The dialogs and the progress box took the focus: give it back to the
  // window, on Next when a data set is listed.
  activateWindow();
  if (FDataInfoModel->RowCount() > 0)
    Button2->setFocus();
  else
    btnDataSentaku->setFocus();
}

bool TForm1::fnDataSentaku(int, int)
{
  SystemDef.DataVersion.clear();
  SystemDef.DataUpFlg = false;
  bool result = false;
  bool accepted = false;
  const QString permit = fnRendoPermitVersion();
  // One choice's failure is reported once: the steps after the first one
  // that fails on a damaged data set would only repeat it.
  std::optional<TFirstErrorOnlyScope> oneError;
  while (!accepted) {
    // Hand back the data set chosen before.
    if (SystemKind == 0 && FDataSentakuFlg) {
      if (DM && DM->IBDatabaseDAT.isConnected())
        disconnectAsRefusal();
      FDatConnected = false;
    }
    // Choose and fetch.
    bool leave = false;
    while (true) {
      oneError.reset();
      const int r = SyoriKidouProc ? SyoriKidouProc(QStringLiteral("DuRoziZuvurad"), 1, fnDataSentakuOptions()) : -1;
      if (r == 1) {
        result = true;
      } else if (FDataSentakuFlg) {
        result = true;
        SystemDef.IBPATHDAT = FZenkaiDataPath;
      } else {
        result = false;
        FZenkaiDataPath.clear();
        SystemDef.IBPATHDAT.clear();
      }
      if (SystemDef.IBPATHDAT.isEmpty()) {
        leave = true;
        break;
      }
      oneError.emplace();
      FDatConnected = DM && DM->fnAccDatConnected(SystemDef.SERVERNAME, SystemDef.IBPATHDAT, true);
      const bool info = FDatConnected && RendoDataOps().GetAccInfo();
      if (FDatConnected && info) {
        // Share-server and cloud hand-over: a data set that needs it is
        // refused until that hand-over is available.
        int fetch = 1;
        if (AccInf.CLOUD_LINE > 0 && AppType != jxatSBC && !IsOemEdition(OemEdition))
          fetch = -922;
        // Handed back until the data set is opened for good below.
        DM->fnAccDatDisConnected(SystemDef.IBPATHDAT, true, false, false);
        FDatConnected = false;
        if (fetch > 0)
          break;
        MessageHook().ShowMessageLines(
            2, {QStringLiteral("このデータはクラウド共有されているため、ここでは受信できません。"),
                QStringLiteral("データ選択画面を開きます。")});
        SystemDef.IBPATHDAT = FZenkaiDataPath;
        continue;
      }
      // Refused: the data set is handed back (also when it could be opened
      // but not read) before the operator is asked.
      disconnectAsRefusal();
      if (!askChooseAgain({QString::fromUtf8(rendo_text::kConnectFailed)})) {
        result = false;
        leave = true;
        SystemDef.IBPATHDAT.clear();
        break;
      }
    }
    if (leave)
      break;
    FDataSentakuFlg = true;

    TxAnimeProgressDialog progress;
    progress.SetCaption(QStringLiteral("接続中"));
    progress.SetInfoLabel(QStringLiteral("会計データに接続中です…"));
    progress.SetAviFile(QDir(SystemDef.EXEPATH).filePath(QStringLiteral("progress.avi")));
    progress.SetCancelBtnShow(false);
    progress.Execute(this);

    FDatConnected = DM->fnAccDatConnected(SystemDef.SERVERNAME, SystemDef.IBPATHDAT, true);
    if (!FDatConnected) {
      progress.Hide();
      accepted = false;
      if (!askChooseAgain({QString::fromUtf8(rendo_text::kConnectFailed)})) {
        result = false;
        break;
      }
      continue;
    }
    accepted = true;
    QStringList refusal;
    bool keepOpen = false;
    if (!RendoDataOps().GetAccInfo()) {
      refusal << QString::fromUtf8(rendo_text::kConnectFailed);
      keepOpen = true;
    } else {
      SystemDef.DataVersion = RendoDataOps().GetDataBaseVer();
      if (!fnRendoVersionAccepted(SystemDef.DataVersion, permit)) {
        refusal << QStringLiteral("このプログラムで処理できるデータバージョンに達していません。")
                << QStringLiteral("データバージョン:") + permit + QStringLiteral("以降のデータを選択して下さい。");
      } else {
        progress.Hide();
        if (!RendoDataOps().IsDataPassword(this)) {
          refusal << QStringLiteral("このデータに設定されている「パスワード」と一致しませんでした。");
        } else if (!RendoDataOps().GetExistsOpeDefSisetu()) {
          refusal << QStringLiteral("このデータを扱う権限がありません。");
        } else if (!RendoDataOps().IsAuthSitenZentai(SystemDef.OPCODE)) {
          refusal << QStringLiteral("このデータを扱う権限が不足しています。（支店毎の処理権限をすべて有していない）");
        }
      }
    }
    progress.Hide();
    if (!refusal.isEmpty()) {
      accepted = false;
      if (!keepOpen)
        disconnectAsRefusal();
      const bool again = askChooseAgain(refusal);
      FZenkaiDataPath = SystemDef.IBPATHDAT;
      if (!again) {
        result = false;
        break;
      }
      continue;
    }
    FZenkaiDataPath = SystemDef.IBPATHDAT;
  }
  oneError.reset();
  if (!result && DM && DM->IBDatabaseDAT.isConnected())
    disconnectAsRefusal();
  return result;
}

bool TForm1::fnPage2Check()
{
  if (SystemDef.IBPATHDAT.isEmpty() || FDataInfoModel->RowCount() == 0) {
    MessageHook().ShowMessageDlg(QString::fromUtf8(rendo_text::kNoDataChosen), mtWarning, mbOK);
    btnDataSentaku->setFocus();
    return false;
  }
  return true;
}
