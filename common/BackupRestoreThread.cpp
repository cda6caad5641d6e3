#include "common/BackupRestoreThread.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "common/AccFunction2.h"
#include "common/BackupFile.h"
#include "common/BufFileStream.h"
#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/MessageHook.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "platform/Paths.h"
#include "platform/SafeSave.h"

namespace {

const QString kBackupProc = QStringLiteral("BackupDatabase");
const QString kRestoreProc = QStringLiteral("RestoreDatabase");
const QString kBackupStopped = QStringLiteral("データベースの保存処理を中止しました。");
const QString kRestoreStopped = QStringLiteral("データベースの復元処理を中止しました。");
const QString kNotOurData = QStringLiteral("指定されたファイルはタリマン財務用のデータではありません。");
const QString kLocalHost = QStringLiteral("127.0.0.1");
constexpr int kProtocolTcp = 0;
constexpr int kProtocolLocal = 3;

// The details of a failed transfer: the Firebird code of a database error
// and the error's message.
QString transferDetail(const QString& AStopped, const std::exception& e)
{
  QString detail = AStopped + QStringLiteral("\r[詳細]\r");
  if (const auto* dbe = dynamic_cast<const db::DbError*>(&e))
    return detail + QStringLiteral("IBエラー: %1\r").arg(dbe->gdscode()) + dbe->message();
  return detail + QString::fromUtf8(e.what());
}

// A copy of a backup without its information block, for the restore: the
// user's file is never changed. Only read by the restore and removed after
// it, so it is not synced.
void copyWithoutBlock(const QString& ASource, const QString& ATarget, qint64 ABytes)
{
  QFile in(ASource);
  QFile out(ATarget);
  if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly | QIODevice::Truncate))
    throw EFileStreamError(QStringLiteral("作業ファイルを作成できません: %1").arg(ATarget));
  constexpr qint64 kChunk = 1024 * 1024;
  qint64 left = ABytes;
  while (left > 0) {
    const QByteArray chunk = in.read(std::min(kChunk, left));
    if (chunk.isEmpty() || out.write(chunk) != chunk.size())
      throw EFileStreamError(QStringLiteral("作業ファイルに書き込めません: %1").arg(ATarget));
    left -= chunk.size();
  }
  if (!out.flush())
    throw EFileStreamError(QStringLiteral("作業ファイルに書き込めません: %1").arg(ATarget));
}

QString workFolder()
{
  const QString t = ExcludeTrailingPathDelimiter(SystemDef.TEMP);
  return !t.isEmpty() && QDir(t).exists() ? t : QDir::tempPath();
}

}  // namespace

TBackupRestoreThread::TBackupRestoreThread(bool /*ACreateSuspended*/)
{
  FSenderName = AppInfo.AppTitle;
  ZaimuInfClear();
}

TBackupRestoreThread::~TBackupRestoreThread()
{
  // The steps run on the main thread: keep its events flowing until the
  // sequencing thread has ended.
  while (isRunning() && !wait(10))
    QCoreApplication::processEvents();
}

void TBackupRestoreThread::ZaimuInfClear()
{
  Inf_Shougou.clear();
  Inf_Kishu.clear();
  Inf_Kimatu.clear();
  Inf_SiwakeCnt = 0;
  Inf_TotalSiwakeCnt = 0;
  Inf_DataVersion.clear();
  Inf_GassanKbn = 0;
  Inf_UseMyNumberKbn = 0;
}

QString TBackupRestoreThread::ZaimuInfText() const
{
  const QString crlf = QStringLiteral("\r\n");
  return ZaimuInfMarker + crlf + QStringLiteral("SHOUGOU=") + Inf_Shougou + crlf + QStringLiteral("KISHU=") +
         Inf_Kishu + crlf + QStringLiteral("KIMATU=") + Inf_Kimatu + crlf + QStringLiteral("SIWAKE=") +
         QString::number(Inf_SiwakeCnt) + crlf + QStringLiteral("TOTALSIWAKE=") + QString::number(Inf_TotalSiwakeCnt) +
         crlf + QStringLiteral("DATAVARSION=") + Inf_DataVersion + crlf + QStringLiteral("GASSAN=") +
         QString::number(Inf_GassanKbn) + crlf + QStringLiteral("USEMYNUMBER=") + QString::number(Inf_UseMyNumberKbn) +
         crlf;
}

int TBackupRestoreThread::GetZaimuInfFromBackupFile(const QString& ABackupFile, bool AFileUpdateFlg)
{
  QString text;
  qint64 offset = -1;
  try {
    offset = fnFindTailBlock(ABackupFile, ZaimuInfMarker, text);
  } catch (const std::exception&) {
    offset = -1;
    text.clear();
  }
  if (AFileUpdateFlg && offset > 0) {
    // The file is rewritten without the block under a temporary name and
    // renamed; on any failure it stays as it was.
    try {
      pcCopyFileHead(ABackupFile, ABackupFile, offset);
    } catch (const std::exception&) {
    }
  }
  ZaimuInfClear();
  for (const QString& line : text.split(QStringLiteral("\r\n"))) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
      continue;
    const QString key = line.left(eq);
    const QString value = line.mid(eq + 1);
    if (key == QLatin1String("SHOUGOU"))
      Inf_Shougou = value;
    else if (key == QLatin1String("KISHU"))
      Inf_Kishu = value;
    else if (key == QLatin1String("KIMATU"))
      Inf_Kimatu = value;
    else if (key == QLatin1String("SIWAKE"))
      Inf_SiwakeCnt = value.toInt();
    else if (key == QLatin1String("TOTALSIWAKE"))
      Inf_TotalSiwakeCnt = value.toInt();
    else if (key == QLatin1String("DATAVARSION"))
      Inf_DataVersion = value;
    else if (key == QLatin1String("GASSAN"))
      Inf_GassanKbn = value.toInt();
    else if (key == QLatin1String("USEMYNUMBER"))
      Inf_UseMyNumberKbn = value.toInt();
  }
  return Inf_Shougou.isEmpty() ? 0 : 1;
}

void TBackupRestoreThread::Resume()
{
  FTerminated = false;
  QCoreApplication* app = QCoreApplication::instance();
  if (app && QThread::currentThread() == app->thread()) {
    start();
    return;
  }
  Execute();
  FTerminated = true;
}

void TBackupRestoreThread::run()
{
  Execute();
  FTerminated = true;
}

bool TBackupRestoreThread::Step(const std::function<void()>& AStep)
{
  auto guarded = [&] {
    try {
      AStep();
    } catch (...) {
      FEscaped = true;
    }
  };
  QCoreApplication* app = QCoreApplication::instance();
  if (app && QThread::currentThread() != app->thread())
    QMetaObject::invokeMethod(app, guarded, Qt::BlockingQueuedConnection);
  else
    guarded();
  if (FEscaped) {
    FResult = false;
    FErrInfomation = TErrInfomation{};
  }
  return !FEscaped;
}

void TBackupRestoreThread::SetError(const QString& AProc, const QString& ANo, const QString& AMessage1,
                                    const QString& AMessage2)
{
  FErrInfomation.ErrResult = true;
  FErrInfomation.ErrProc = AProc;
  FErrInfomation.ErrNo = ANo;
  FErrInfomation.ErrMessage1 = AMessage1;
  FErrInfomation.ErrMessage2 = AMessage2;
}

bool TBackupRestoreThread::IsLocalServer() const
{
  return FServerName.isEmpty() || FServerName == kLocalHost;
}

void TBackupRestoreThread::Execute()
{
  FResult = false;
  FErrInfomation = TErrInfomation{};
  FEscaped = false;
  if (!DM)
    return;
  const bool company = FDataBaseType == 1;
  switch (FProcType) {
    case 0:
      if (company) {
        if (Inf_UseMyNumberKbn == 0) {
          FMyNumberLogAdd = false;
        } else {
          if (!Step([this] { MyNumberStep(); }) || !FResult)
            return;
        }
        FResult = false;
      }
      if (!Step([this] { BackupStep(); }))
        return;
      break;
    case 1:
      if (company) {
        if (!Step([this] { MyNumberStep(); }) || !FResult)
          return;
        FResult = false;
      }
      if (!Step([this] { RestoreStep(); }))
        return;
      break;
    case 2:
      if (!Step([this] { CopyStep(); }))
        return;
      break;
    case 3:
      FRecvDataBaseName = FDataBaseName;
      if (!Step([this] { CopyStep(); }))
        return;
      break;
    default:
      return;
  }
  FErrInfomation.ErrResult = !FResult;
}

void TBackupRestoreThread::MyNumberStep()
{
  FResult = true;
  if (FProcType == 0) {
    if (!FMyNumberKakunin) {
      FMyNumberLogKbn = jxlsHozon;
    } else if (SystemDef.OPMyNumberAdm) {
      if (MessageHook().ShowMessageDlg(QStringLiteral("保存データにマイナンバー情報を含めますか？"), mtConfirmation,
                                       mbYes | mbNo) == mrYes) {
        FMyNumberLogKbn = jxlsHozon;
        FMyNumberIO.GetMyNumberInfo(FServerName, FDataBaseName, FSenderName, QString());
        if (!IsMyNumberAdmPassword(FMyNumberIO.MyNumberPassword())) {
          FResult = false;
          SetError(kBackupProc, QStringLiteral("100"), kBackupStopped, QString());
        }
      } else {
        FMyNumberClear = true;
      }
    } else {
      MessageHook().ShowMessageLines(2, {QStringLiteral("保存データにマイナンバー情報は含まれません。")});
      FMyNumberClear = true;
    }
    return;
  }
  FMyNumberIO.GetMyNumberInfo(FServerName, FDataBaseName, FSenderName, QString());
  if (FMyNumberIO.MyNumberUseKbn() == 1 && Inf_UseMyNumberKbn == 0) {
    FResult = false;
    SetError(kRestoreProc, QStringLiteral("200"),
             QStringLiteral("マイナンバー情報を管理しているデータへの復元はおこなえません。"), kRestoreStopped);
  }
  if (Inf_UseMyNumberKbn == 1)
    FMyNumberLogKbn = jxlsFukugen;
}

void TBackupRestoreThread::BackupStep()
{
  const bool system = FDataBaseName.contains(AccDataDefFile);
  if (!system && !FDataBaseName.contains(AccDataFile)) {
    SetError(kBackupProc, QStringLiteral("101"), kNotOurData, kBackupStopped);
    return;
  }
  const bool company = !system;
  bool taken = false;
  if (company) {
    if (FMyNumberLogAdd && FMyNumberLogKbn == jxlsHozon) {
      TMyNumberLogRec rec;
      FMyNumberIO.InitLogRecord(rec, jxlsHozon, FSenderName);
      FMyNumberIO.AddLog(rec, FServerName, FDataBaseName);
    }
    if (FMyNumberClear) {
      Inf_UseMyNumberKbn = 0;
      taken = FMyNumberIO.GetMyNumberInfo(FServerName, FDataBaseName, FSenderName + QStringLiteral("＞データ保存"),
                                          QStringLiteral("MYNUMBER_CLEAR"));
    }
  }
  // The information taken out goes back into the data whatever happens
  // from here on: success, failure or an error that leaves the step.
  struct TPutBack {
    TBackupRestoreThread* self;
    bool active;
    ~TPutBack()
    {
      if (!active)
        return;
      try {
        self->FMyNumberIO.PasteMyNumber(self->FServerName, self->FDataBaseName);
        self->Inf_UseMyNumberKbn = self->FMyNumberIO.MyNumberUseKbn();
      } catch (...) {
      }
    }
  } putBack{this, company && FMyNumberClear};

  // A backup that should leave the My Number information out is not made
  // while the information could not be taken out.
  const bool ready = !(company && FMyNumberClear) || taken;
  const QString work = fnTempBeside(FFile, QStringLiteral("bk_"));
  QFile::remove(work);
  bool ok = false;
  try {
    if (ready && BeforeBackupProc)
      BeforeBackupProc();
    ok = ready && RunBackup(work);
    if (ok && FAddZaimuInf && !Inf_Shougou.isEmpty())
      pcAppendUtf16Text(work, ZaimuInfText());
    // The earlier backup stays until the new one is whole in its place.
    ok = ok && fnReplaceFile(work, FFile, jxatSA);
  } catch (...) {
    QFile::remove(work);
    throw;
  }
  if (!ok) {
    QFile::remove(work);
    if (!FErrInfomation.ErrResult)
      SetError(kBackupProc, QStringLiteral("100"), QStringLiteral("データベースの保存に失敗しました。"),
               kBackupStopped);
  }
  FResult = ok;
}

bool TBackupRestoreThread::RunBackup(const QString& AWorkFile)
{
  if (FToolType == jxttIBComp) {
    if (!IsLocalServer())
      return DM->BackupFDB(kProtocolTcp, FServerName, FDataBaseName, AWorkFile, true);
    return DM->BackupFDB(kProtocolLocal, QString(), FDataBaseName, AWorkFile, false);
  }
  struct TCloseFileMan {
    ~TCloseFileMan()
    {
      if (DM && DM->IBFileMan.isConnected())
        DM->IBFileMan.disconnect();
    }
  } closeFileMan;
  if (!DM->fnAccFileManConnected(SystemDef.SERVERNAME))
    return DM->BackupFDB_GBak(kProtocolTcp, FServerName, FDataBaseName, AWorkFile, true);
  if (!DM->AccDirectoryExists(SystemDef.SERVER_TEMP, jxatSA))
    DM->AccMakeDirectory(SystemDef.SERVER_TEMP, AppType);
  const QString serverFile =
      PathJoin(SystemDef.SERVER_TEMP, ChangeFileExt(AccDataBackupFile, QStringLiteral(".%1").arg(SystemDef.OPCODE)));
  const QString key = QStringLiteral("WQZ_%1").arg(SystemDef.OPCODE);
  if (!DM->BackupFDB(kProtocolTcp, FServerName, FDataBaseName, serverFile, true))
    return false;
  return TransferFromServer(serverFile, key, AWorkFile);
}

bool TBackupRestoreThread::TransferFromServer(const QString& AServerFile, const QString& AKey, const QString& AWorkFile)
{
  TOwnTransaction own(DM->IBTransFileMan);
  try {
    db::Query q(DM->IBTransFileMan);
    q.setSql(QStringLiteral("DELETE FROM FILETRANS\nWHERE CONTENT_ID=:CONTENT_ID"));
    q.setParam(QStringLiteral("CONTENT_ID"), AKey);
    q.exec();
    q.setSql(QStringLiteral("INSERT INTO FILETRANS(CONTENT_ID,CONTENT)\nVALUES(:CONTENT_ID,SP_FILETOBLOB(:FILENAME))"));
    q.setParam(QStringLiteral("CONTENT_ID"), AKey);
    q.setParam(QStringLiteral("FILENAME"), AServerFile);
    q.exec();
    DM->IBTransFileMan.commitRetaining();
    q.setSql(QStringLiteral("SELECT CONTENT_ID,CONTENT FROM FILETRANS\nWHERE CONTENT_ID=:CONTENT_ID"));
    q.setParam(QStringLiteral("CONTENT_ID"), AKey);
    q.open();
    bool result = false;
    if (!q.eof()) {
      const QByteArray bytes = q.field("CONTENT").asBytes();
      result = !bytes.isEmpty();
      SaveFileSafely(AWorkFile, bytes);
    }
    q.close();
    q.setSql(QStringLiteral("DELETE FROM FILETRANS\nWHERE CONTENT_ID=:CONTENT_ID"));
    q.setParam(QStringLiteral("CONTENT_ID"), AKey);
    q.exec();
    own.CommitOrRetain();
    return result;
  } catch (const std::exception& e) {
    own.Rollback();
    SetError(kBackupProc, QStringLiteral("102"),
             QStringLiteral("バックアップファイルの転送処理（wqfileman.fdb）に失敗しました。"),
             transferDetail(kBackupStopped, e));
    return false;
  }
}

void TBackupRestoreThread::RestoreStep()
{
  const bool system = FDataBaseName.contains(AccDataDefFile);
  if (!system && !FDataBaseName.contains(AccDataFile)) {
    SetError(kRestoreProc, QStringLiteral("201"), kNotOurData, kRestoreStopped);
    return;
  }
  const bool company = !system;
  if (DM->AccDatInConnection(company ? 1 : 0, FServerName, ExtractFileDir(FDataBaseName), false)) {
    SetError(kRestoreProc, QStringLiteral("202"),
             QStringLiteral("このデータは他のオペレータが使用中のため復元処理を行うことが出来ません。"),
             kRestoreStopped);
    return;
  }
  if (company && FMyNumberLogKbn == jxlsFukugen)
    FMyNumberIO.ExecuteLog(FServerName, FDataBaseName);

  // The information block is left out of a work copy; the user's file is
  // never changed.
  QString source = FFile;
  QString scratch;
  QString text;
  qint64 offset = -1;
  try {
    offset = fnFindTailBlock(FFile, ZaimuInfMarker, text);
  } catch (const std::exception&) {
    offset = -1;
  }
  bool ok = false;
  try {
    if (offset > 0) {
      scratch = PathJoin(workFolder(), QStringLiteral("rendo-restore-%1.fbk").arg(QCoreApplication::applicationPid()));
      copyWithoutBlock(FFile, scratch, offset);
      source = scratch;
    }
    ok = RunRestore(source);
  } catch (...) {
    if (!scratch.isEmpty())
      QFile::remove(scratch);
    throw;
  }
  if (!scratch.isEmpty())
    QFile::remove(scratch);
  if (!ok) {
    if (!FErrInfomation.ErrResult)
      SetError(kRestoreProc, QStringLiteral("200"), QStringLiteral("データベースの復元に失敗しました。"),
               kRestoreStopped);
    FResult = false;
    return;
  }
  if (company && FMyNumberLogKbn == jxlsFukugen) {
    if (FSenderName.isEmpty())
      FSenderName = AppInfo.AppTitle;
    if (FMyNumberLogAdd) {
      TMyNumberLogRec rec;
      FMyNumberIO.InitLogRecord(rec, jxlsFukugen, FSenderName);
      FMyNumberIO.AddLog(rec, FServerName, FDataBaseName);
    }
    FMyNumberIO.MergeLog(FServerName, FDataBaseName);
  }
  FResult = true;
}

bool TBackupRestoreThread::RunRestore(const QString& ASource)
{
  if (FToolType == jxttIBComp) {
    if (!IsLocalServer())
      return DM->RestoreFDB(kProtocolTcp, FServerName, FDataBaseName, ASource, FRestoreIndex);
    return DM->RestoreFDB(kProtocolLocal, QString(), FDataBaseName, ASource, FRestoreIndex);
  }
  struct TCloseFileMan {
    ~TCloseFileMan()
    {
      if (DM && DM->IBFileMan.isConnected())
        DM->IBFileMan.disconnect();
    }
  } closeFileMan;
  if (!DM->fnAccFileManConnected(SystemDef.SERVERNAME))
    return DM->RestoreFDB_GBak(kProtocolTcp, FServerName, FDataBaseName, ASource, FRestoreIndex);
  if (!DM->AccDirectoryExists(SystemDef.SERVER_TEMP, jxatSA))
    DM->AccMakeDirectory(SystemDef.SERVER_TEMP, AppType);
  const QString serverFile =
      PathJoin(SystemDef.SERVER_TEMP, ChangeFileExt(AccDataBackupFile, QStringLiteral(".%1").arg(SystemDef.OPCODE)));
  const QString key = QStringLiteral("WQZ_%1").arg(SystemDef.OPCODE);
  if (!TransferToServer(ASource, serverFile, key))
    return false;
  return DM->RestoreFDB(kProtocolTcp, FServerName, FDataBaseName, serverFile, FRestoreIndex);
}

bool TBackupRestoreThread::TransferToServer(const QString& ASource, const QString& AServerFile, const QString& AKey)
{
  TOwnTransaction own(DM->IBTransFileMan);
  try {
    QFile f(ASource);
    if (!f.open(QIODevice::ReadOnly))
      throw EFileStreamError(QStringLiteral("ファイルを開けません: %1 (%2)").arg(ASource, f.errorString()));
    const QByteArray bytes = f.readAll();
    if (bytes.size() != f.size())
      throw EFileStreamError(QStringLiteral("ファイルを読めません: %1").arg(ASource));
    db::Query q(DM->IBTransFileMan);
    q.setSql(QStringLiteral("DELETE FROM FILETRANS\nWHERE CONTENT_ID=:CONTENT_ID"));
    q.setParam(QStringLiteral("CONTENT_ID"), AKey);
    q.exec();
    q.setSql(QStringLiteral("INSERT INTO FILETRANS(CONTENT_ID,CONTENT)\nVALUES(:CONTENT_ID,:CONTENT)"));
    q.setParam(QStringLiteral("CONTENT_ID"), AKey);
    q.setParam(QStringLiteral("CONTENT"), bytes);
    q.exec();
    DM->IBTransFileMan.commitRetaining();
    q.setSql(
        QStringLiteral("SELECT CONTENT_ID,SP_BLOBTOFILE(:FILENAME, CONTENT) AS CONTENT FROM FILETRANS\n"
                       "WHERE CONTENT_ID=:CONTENT_ID"));
    q.setParam(QStringLiteral("FILENAME"), AServerFile);
    q.setParam(QStringLiteral("CONTENT_ID"), AKey);
    q.open();
    q.close();
    q.setSql(QStringLiteral("DELETE FROM FILETRANS\nWHERE CONTENT_ID=:CONTENT_ID"));
    q.setParam(QStringLiteral("CONTENT_ID"), AKey);
    q.exec();
    own.CommitOrRetain();
    return true;
  } catch (const std::exception& e) {
    own.Rollback();
    SetError(kRestoreProc, QStringLiteral("203"),
             QStringLiteral("バックアップファイルの転送処理（wqfileman.fdb）に失敗しました。"), kRestoreStopped);
    return false;
  }
}

void TBackupRestoreThread::CopyStep()
{
  bool ok = false;
  if (FToolType == jxttGBak) {
    ok = DM->BackupFDB_GBak(kProtocolTcp, FServerName, FDataBaseName, FFile, true) &&
         DM->RestoreFDB_GBak(kProtocolTcp, FServerName, FRecvDataBaseName, FFile, FRestoreIndex);
  } else if (!IsLocalServer()) {
    ok = DM->BackupFDB(kProtocolTcp, FServerName, FDataBaseName, FFile, true) &&
         DM->RestoreFDB(kProtocolTcp, FServerName, FRecvDataBaseName, FFile, FRestoreIndex);
  } else {
    ok = DM->BackupFDB(kProtocolLocal, QString(), FDataBaseName, FFile, false) &&
         DM->RestoreFDB(kProtocolLocal, QString(), FRecvDataBaseName, FFile, FRestoreIndex);
  }
  FResult = ok;
}
