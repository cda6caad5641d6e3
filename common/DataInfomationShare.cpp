// Share-server copies of stand-alone data and the checks made before a data
// set is opened from a list.
//
// A data set kept in a share folder is taken out to a local folder, worked
// on there and copied back. The share marks (SHARE_STATUS with the holder)
// in the settings files of both folders say who holds it; the data status
// (STATUS) of a folder reads 7 while files are being copied into it.
#include <functional>
#include <memory>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "common/AccFunction2.h"
#include "common/DataFolderLock.h"
#include "common/DataInfomation.h"
#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/FbError.h"
#include "common/MessageHook.h"
#include "common/SitenList.h"
#include "db/DbError.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/SafeSave.h"

namespace {

const QString kSts = QStringLiteral("DATASTS");

const QString kUnreachable = QStringLiteral(
    "共有サーバーが起動していない、接続が切断されている \rまたは "
    "共有サーバー上のデータ領域が削除された可能性があります。\r処理を中止します。");
const QString kDamaged = QStringLiteral(
    "共有サーバー上のデータが破損しているため、共有データの取得を中止します。\r"
    "データのバックアップを行っている場合は、適正な方法で破損前の状態へ戻して下さい。");
const QString kShareGone = QStringLiteral(
    "共有サーバー上のデータ領域が削除された可能性があります。\r現在の領域設定情報でデータ領域を作成します。");

constexpr qint64 kCopyChunk = 1 << 20;

QString folderOf(const QString& APath)
{
  return ExcludeTrailingPathDelimiter(ToSlashes(APath));
}

// Writes the source file into an open writer; false (AError set) on a read
// failure. Write failures throw ESafeSaveError.
bool streamInto(const QString& ASource, TSafeFileWriter& AWriter, QString& AError)
{
  QFile in(ASource);
  if (!in.open(QIODevice::ReadOnly)) {
    AError = QStringLiteral("%1\r%2").arg(ASource, in.errorString());
    return false;
  }
  for (;;) {
    const QByteArray chunk = in.read(kCopyChunk);
    if (chunk.isEmpty()) {
      if (in.error() != QFileDevice::NoError) {
        AError = QStringLiteral("%1\r%2").arg(ASource, in.errorString());
        return false;
      }
      return true;
    }
    AWriter.Write(chunk);
  }
}

// Whether the local folder holds a working copy that this operator has
// taken out (its own settings file says so).
bool heldHereByOperator(const QString& ALocalPath)
{
  const QString ini = TDataInfomation::IniFileName(ALocalPath);
  if (!QFileInfo::exists(ini))
    return false;
  try {
    const IniFile f(ini);
    return f.ReadInteger(kSts, QStringLiteral("SHARE_STATUS"), jxksNone) == jxksExec &&
           f.ReadInteger(kSts, QStringLiteral("SHARE_OPCODE"), 0) == SystemDef.OPCODE;
  } catch (const EPlatformError&) {
    return false;
  }
}

}  // namespace

QStringList TDataInfomation::DataSetFiles(const QString& AFolder)
{
  const QDir dir(folderOf(AFolder));
  const QString pattern = ChangeFileExt(ExtractFileName(AccDataFile), QStringLiteral(".*"));
  QStringList out;
  for (const QString& name : dir.entryList({pattern}, QDir::Files, QDir::Name | QDir::IgnoreCase))
    out << dir.filePath(name);
  return out;
}

bool TDataInfomation::CopyDataSetFiles(const QString& AFromPath, const QString& AToPath, QString* AError)
{
  QString error;
  bool done = false;
  const QString target = folderOf(AToPath);
  const QStringList files = DataSetFiles(AFromPath);
  if (!DirectoryExists(folderOf(AFromPath))) {
    error = QStringLiteral("%1\rフォルダがありません。").arg(AFromPath);
  } else if (files.isEmpty()) {
    error = QStringLiteral("%1\rコピーするファイルがありません。").arg(AFromPath);
  } else if (SamePath(folderOf(AFromPath), target)) {
    error = QStringLiteral("%1\r同じフォルダへはコピーできません。").arg(AToPath);
  } else if (!ForceDirectories(target)) {
    error = QStringLiteral("%1\rフォルダを作成できません。").arg(AToPath);
  } else {
    // Every file is written in full first; only then do they replace the
    // earlier files, the settings file under the folder's lock.
    std::vector<std::unique_ptr<TSafeFileWriter>> writers;
    try {
      bool read = true;
      for (const QString& file : files) {
        writers.push_back(std::make_unique<TSafeFileWriter>(PathJoin(target, ExtractFileName(file))));
        writers.back()->Open();
        if (!streamInto(file, *writers.back(), error)) {
          read = false;
          break;
        }
      }
      if (read) {
        const QString iniName = ExtractFileName(IniFileName(target));
        for (auto& w : writers) {
          if (SameText(ExtractFileName(w->fileName()), iniName)) {
            const TDataFolderLock lock(target);
            w->Commit();
          } else {
            w->Commit();
          }
        }
        done = true;
      }
    } catch (const ESafeSaveError& e) {
      error = e.message();
    }
  }
  if (!done && AError)
    *AError = error;
  if (!done)
    qWarning("data set not copied: %s", qUtf8Printable(error));
  return done;
}

int TDataInfomation::SetKyouyuState(const QString& AKyoyuPath, TJxKyoyuStatus AKyoyuStatus)
{
  if (FAppType != jxatSA || AKyoyuPath.isEmpty())
    return 0;
  if (AKyoyuStatus != jxksExec && AKyoyuStatus != jxksNone)
    return 0;
  TDataInfomationRec r;
  ReadIniFile(SystemDef.SERVERNAME, AKyoyuPath, r);
  FDataInfoRec = r;
  if (r.KyoyuStatus == AKyoyuStatus)
    return 0;
  WriteIniFileKyoyuDataStatus(AKyoyuPath, AKyoyuStatus);
  return 1;
}

TJxKyoyuStatus TDataInfomation::GetKyouyuState(const QString& AKyoyuPath)
{
  TDataInfomationRec r;
  ReadIniFile(SystemDef.SERVERNAME, AKyoyuPath, r);
  FDataInfoRec = r;
  return r.KyoyuStatus;
}

int TDataInfomation::DataUpLoad(const QString& AKyoyuPath, const QString& ALocalPath, int ASilent)
{
  if (AKyoyuPath.isEmpty() || ALocalPath.isEmpty())
    return 0;
  const bool silent = ASilent == 1;
  try {
    try {
      WriteIniFileDataStatus(AKyoyuPath, jxdsPaste);
    } catch (const EPlatformError&) {
      // The share folder has gone; the copy makes it again.
      if (!silent)
        MessageHook().ShowMessageDlg(kShareGone, mtInformation, mbOK);
    }
    // The share marks are released only once the copy is in place: until
    // then nobody else can take out the share copy being replaced.
    if (CopyDataSetFiles(ALocalPath, AKyoyuPath)) {
      WriteIniFileDataStatus(ALocalPath, jxdsNone);
      WriteIniFileKyoyuDataStatus(ALocalPath, jxksNone);
      WriteIniFileDataStatus(AKyoyuPath, jxdsNone);
      SetKyouyuState(AKyoyuPath, jxksNone);
      return 1;
    }
    // Not copied: the data stays taken out, in this folder first.
    WriteIniFileDataStatus(ALocalPath, jxdsNone);
    WriteIniFileKyoyuDataStatus(ALocalPath, jxksExec);
    if (DirectoryExists(folderOf(AKyoyuPath))) {
      WriteIniFileDataStatus(AKyoyuPath, jxdsNone);
      SetKyouyuState(AKyoyuPath, jxksExec);
    }
    return 0;
  } catch (const EPlatformError&) {
    if (!silent)
      throw;
    return 0;
  }
}

int TDataInfomation::DataDownLoad(const QString& AKyoyuPath, const QString& ALocalPath, int ASilent)
{
  if (AKyoyuPath.isEmpty() || ALocalPath.isEmpty())
    return 0;
  const bool silent = ASilent == 1;
  if (!ForceDirectories(folderOf(ALocalPath))) {
    if (!silent)
      MessageHook().ShowMessageDlg(QStringLiteral("\"%1\"の作成に失敗しました。").arg(ALocalPath), mtWarning, mbYes);
    return 0;
  }
  TDataInfomationRec share;
  ReadIniFile(SystemDef.SERVERNAME, AKyoyuPath, share);
  FDataInfoRec = share;
  const bool shareThere = DirectoryExists(folderOf(AKyoyuPath));

  if (share.Status == jxdsHason) {
    if (silent)
      return -1;
    throw EPlatformError(kDamaged);
  }
  if (share.KyoyuStatus == jxksExec) {
    // Already taken out: a fresh copy of it, no mark changes. A working
    // copy this operator holds here is newer than the share copy and stays.
    if (!shareThere) {
      if (!silent)
        throw EPlatformError(kUnreachable);
      return -1;
    }
    if (!heldHereByOperator(ALocalPath))
      CopyDataSetFiles(AKyoyuPath, ALocalPath);
    return -1;
  }
  if (!shareThere) {
    if (!silent)
      throw EPlatformError(kUnreachable);
    return 0;
  }

  // Marks set by this call, put back when the take-out fails.
  bool pasteSet = false;
  bool localTaken = false;
  auto undo = [&]() noexcept {
    try {
      if (localTaken)
        WriteIniFileKyoyuDataStatus(ALocalPath, jxksNone);
    } catch (const EPlatformError&) {
    }
    try {
      if (pasteSet) {
        WriteIniValue(AKyoyuPath, kSts, QStringLiteral("STATUS"), int(share.Status), false);
        WriteIniValue(AKyoyuPath, kSts, QStringLiteral("OPCODE"), share.OpCode, share.OpCode == 0);
        WriteIniValue(AKyoyuPath, kSts, QStringLiteral("OPERATOR"), share.OpName, share.OpCode == 0);
      }
    } catch (const EPlatformError&) {
    }
  };
  try {
    WriteIniFileDataStatus(AKyoyuPath, jxdsPaste);
    pasteSet = true;
    if (!CopyDataSetFiles(AKyoyuPath, ALocalPath)) {
      undo();
      return 0;
    }
    fnWaitMSec(300);
    WriteIniFileDataStatus(AKyoyuPath, jxdsNone);
    WriteIniFileDataStatus(ALocalPath, jxdsNone);
    localTaken = true;
    WriteIniFileKyoyuDataStatus(ALocalPath, jxksExec);
    SetKyouyuState(AKyoyuPath, jxksExec);
    return 1;
  } catch (const EPlatformError&) {
    undo();
    if (!silent)
      throw;
    return 0;
  }
}

namespace {

// Connects the company database of the folder, runs AWork in the company
// transaction (started when none is active) and disconnects. Errors are
// reported with AStep and AText when the transaction was started here and
// dropped otherwise; the answer is then false.
bool askFolderData(const QString& ADataPath, const QString& AStep, const QString& AText,
                   const std::function<bool()>& AWork)
{
  if (!DM->fnAccDatConnected(SystemDef.SERVERNAME, ADataPath, false))
    return false;
  bool result = false;
  {
    TOwnTransaction own(DM->IBTransactionDAT);
    try {
      result = AWork();
      own.Commit();
    } catch (const db::DbError& e) {
      result = false;
      if (own.Started())
        fnShowFbError(e, AStep, AText, true);
      own.EndAfterError();
    } catch (const std::exception&) {
      result = false;
      if (own.Started())
        fnShowErrorDetail(AText, QString(), mtError);
      own.EndAfterError();
    }
  }
  DM->fnAccDatDisConnected(ADataPath, false, false, false);
  return result;
}

}  // namespace

bool TDataInfomation::IsDataSiyouKengen(const QString& ADataPath)
{
  if (ADataPath.isEmpty() || !DM)
    return false;
  if (!DM->AccFileExists(PathJoin(ExcludeTrailingPathDelimiter(ADataPath), AccDataFile), FAppType) ||
      DM->IsDataAccessSeigenNasi())
    return true;
  bool refused = false;
  const bool result = askFolderData(ADataPath, QStringLiteral("TDataInfomation.IsDataSiyouKengen"),
                                    QStringLiteral("データ使用権限の問い合わせに失敗しました。"), [&]() {
                                      bool ok = false;
                                      if (DM->fnGetExistsOpeDefSisetu() && DM->fnGetAccInfo()) {
                                        TSitenList all;
                                        all.SetReadType(TJxSitenListSet{jxslSiten});
                                        all.Execute(-1);
                                        TSitenList mine;
                                        mine.SetReadType(TJxSitenListSet{jxslSiten});
                                        mine.Execute(SystemDef.OPCODE);
                                        ok = all.ItemCount() == mine.ItemCount();
                                      }
                                      refused = !ok;
                                      return ok;
                                    });
  // Only a clear refusal is told as missing rights; a failed question has
  // been reported already.
  if (refused)
    MessageHook().ShowMessageLines(
        2, {QStringLiteral("このデータを扱う権限がありません、他のデータを選択して下さい。"),
            QStringLiteral("権限を付与するには管理者でログインし、「オペレータ登録」より[選択中のデータを処理します]"
                           "にチェックを入れて下さい。")});
  return result;
}

bool TDataInfomation::IsDataPasswordAuth(int AHandle, const QString& ADataPath)
{
  if (ADataPath.isEmpty() || !DM)
    return false;
  if (!DM->AccFileExists(PathJoin(ExcludeTrailingPathDelimiter(ADataPath), AccDataFile), FAppType))
    return true;
  bool refused = false;
  const bool result = askFolderData(ADataPath, QStringLiteral("TDataInfomation.IsDataPasswordAuth"),
                                    QStringLiteral("データのパスワード認証に失敗しました。"), [&]() {
                                      if (!DM->fnGetAccInfo())
                                        return false;
                                      refused = !DM->IsDataPassword(AHandle);
                                      return !refused;
                                    });
  if (refused)
    MessageHook().ShowMessageLines(2, {QStringLiteral("このデータに設定されている「パスワード」と一致しませんでした。"),
                                       QStringLiteral("他のデータを選択して下さい。")});
  return result;
}
