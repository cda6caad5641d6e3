#include "common/MyNumber.h"

#include <algorithm>
#include <cmath>

#include "common/AccCipher.h"
#include "common/AccFunction.h"
#include "common/AccRecord.h"
#include "common/AccReg.h"
#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/FbError.h"
#include "common/MessageHook.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "platform/Paths.h"

TMyNumberAdmPasswordPromptProc MyNumberAdmPasswordPromptProc;

namespace {

const QString kGroup = QStringLiteral("基本設定");
const QString kUse = QStringLiteral("＃USE");
const QString kKey = QStringLiteral("＃KEY");
const QString kValue = QStringLiteral("＃VALUE");
const QString kCipherKey = QStringLiteral("tobenza");
const QString kClearRequest = QStringLiteral("MYNUMBER_CLEAR");
constexpr int kDuplicateKey = 335544665;
constexpr int kLogAttempts = 4;
constexpr double kMilliSecond = 1.0 / 86400000.0;

// The last time stamp this process gave a log entry: entries written in the
// same millisecond still get distinct, rising stamps.
TDateTime LastLogStamp = 0;

QString cutTrim(const QString& s, int n)
{
  return fnCutStrL(s, n, false).trimmed();
}

// A time stamp on a whole millisecond, so that it reads back as it was sent.
TDateTime wholeMilliseconds(TDateTime t)
{
  return std::round(t / kMilliSecond) * kMilliSecond;
}

QString errorText(const std::exception& e)
{
  if (const auto* dbe = dynamic_cast<const db::DbError*>(&e))
    return dbe->message();
  return QString::fromUtf8(e.what());
}

void showFailure(const QString& AText, const std::exception& e)
{
  fnShowErrorDetail(AText, errorText(e), mtError);
}

void bindKey(db::Query& q, const TMyNumberLogRec& r)
{
  q.setParamDateTime(QStringLiteral("FHIZUKE"), r.Hizuke);
  q.setParam(QStringLiteral("FSERIAL"), r.SerialNo);
  q.setParam(QStringLiteral("FOPCODE"), r.OpCode);
}

}  // namespace

bool IsMyNumberAdmPassword(const QString& APassword)
{
  if (!SystemDef.OPMyNumberAdm)
    return true;
  if (APassword.isEmpty())
    return false;
  if (!MyNumberAdmPasswordPromptProc)
    return false;
  for (int attempt = 1; attempt <= 3; ++attempt) {
    QString text;
    if (!MyNumberAdmPasswordPromptProc(attempt, text))
      return false;
    if (fnTrimZen(text) == APassword)
      return true;
  }
  return false;
}

QString fnMyNumberLogComment(TJxLogState AState, const QString& AProcName)
{
  const bool sending = AProcName.contains(QStringLiteral("送信"));
  const bool receiving = AProcName.contains(QStringLiteral("受信"));
  QString state;
  switch (AState) {
    case jxlsNone:
      state = QStringLiteral("**");
      break;
    case jxlsAdd:
      state = QStringLiteral("が登録");
      break;
    case jxlsUpdate:
      state = QStringLiteral("が変更");
      break;
    case jxlsDelete:
      state = QStringLiteral("が削除");
      break;
    case jxlsShow:
      state = QStringLiteral("が参照");
      break;
    case jxlsPrint:
      state = QStringLiteral("が印刷");
      break;
    case jxlsHozon:
      if (sending)
        return QStringLiteral("マイナンバー情報を含むデータが送信されました。");
      state = QStringLiteral("を含むデータが保存");
      break;
    case jxlsFukugen:
      if (receiving)
        return QStringLiteral("マイナンバー情報を含むデータが受信されました。");
      state = QStringLiteral("を含むデータが復元");
      break;
    case jxlsHozonDelMyNumber:
      if (sending)
        return QStringLiteral("マイナンバー情報を含めずにデータが送信されました。");
      state = QStringLiteral("を含めずにデータが保存");
      break;
    case jxlsInitPassword:
      return QStringLiteral("マイナンバー管理パスワードを既定値に設定しました。");
    case jxlsUpdatePassword:
      return QStringLiteral("マイナンバー管理パスワードを変更しました。");
  }
  return QStringLiteral("マイナンバー情報") + state + QStringLiteral("されました。");
}

void TMyNumberIO::InitLogRecord(TMyNumberLogRec& ARec, TJxLogState AState, const QString& AProcName) const
{
  ARec = TMyNumberLogRec{};
  ARec.SerialNo = SystemDef.SERIAL;
  ARec.OpCode = QString::number(SystemDef.OPCODE2);
  ARec.OpName = SystemDef.OPNAME;
  ARec.HostName = cutTrim(SystemDef.PCNAME, 60);
  ARec.State = AState;
  ARec.ProcName = cutTrim(AProcName, 40);
  ARec.Comment = cutTrim(fnMyNumberLogComment(AState, ARec.ProcName), 100);
}

bool TMyNumberIO::insertLog(TMyNumberLogRec& ARec)
{
  TDateTime collided = 0;
  for (int attempt = 0; attempt < kLogAttempts; ++attempt) {
    TOwnTransaction tr(DM->IBTransactionDAT);
    if (ARec.Hizuke == 0) {
      // A retry after a collision takes a stamp strictly after the one that
      // collided (and after every stamp this process gave before), so that
      // the same clock reading is never tried twice.
      TDateTime stamp = wholeMilliseconds(Now());
      const TDateTime floor = std::max(collided, LastLogStamp);
      if (floor != 0 && stamp <= floor)
        stamp = wholeMilliseconds(floor + kMilliSecond);
      ARec.Hizuke = stamp;
      LastLogStamp = stamp;
    }
    try {
      db::Query q(DM->IBTransactionDAT);
      q.setSql(
          QStringLiteral("INSERT INTO MYNUMBER_LOG(FHIZUKE,FSERIAL,FOPCODE,FOPNAME,FHOST,FSTATE,FPROCNAME,FCOMMENT)"
                         "VALUES(:FHIZUKE,:FSERIAL,:FOPCODE,:FOPNAME,:FHOST,:FSTATE,:FPROCNAME,:FCOMMENT)"));
      bindKey(q, ARec);
      q.setParam(QStringLiteral("FOPNAME"), ARec.OpName);
      q.setParam(QStringLiteral("FHOST"), ARec.HostName);
      q.setParam(QStringLiteral("FSTATE"), int(ARec.State));
      q.setParam(QStringLiteral("FPROCNAME"), ARec.ProcName);
      q.setParam(QStringLiteral("FCOMMENT"), ARec.Comment);
      q.exec();
      tr.Commit();
      return true;
    } catch (const db::DbError& e) {
      tr.Rollback();
      if (!e.hasCode(kDuplicateKey)) {
        fnShowFbError(e, QStringLiteral("TMyNumberIO.AddLog"), QStringLiteral("管理ログリストの追加に失敗しました。"),
                      true);
        return false;
      }
      collided = std::max(collided, ARec.Hizuke);
      ARec.Hizuke = 0;
    } catch (const std::exception& e) {
      tr.Rollback();
      showFailure(QStringLiteral("管理ログリストの追加に失敗しました。"), e);
      return false;
    }
  }
  return false;
}

bool TMyNumberIO::AddLog(TMyNumberLogRec& ARec)
{
  if (!DM || !DM->IBDatabaseDAT.isConnected())
    return false;
  return insertLog(ARec);
}

bool TMyNumberIO::AddLog(TMyNumberLogRec& ARec, const QString& AHostName, const QString& AIBPathDat)
{
  bool stored = false;
  withDataSet(AHostName, AIBPathDat, QStringLiteral("TMyNumberIO.AddLog"),
              QStringLiteral("管理ログリストの追加に失敗しました。"), [&] { stored = insertLog(ARec); });
  return stored;
}

bool TMyNumberIO::withDataSet(const QString& AHostName, const QString& ADataPath, const QString& AStep,
                              const QString& AText, const std::function<void()>& AWork)
{
  if (!DM)
    return false;
  QString folder = ADataPath;
  folder.remove(QLatin1Char('/') + AccDataFile);
  const QString host = AHostName.isEmpty() ? SystemDef.SERVERNAME : AHostName;
  const QString name = TDM::fnDatabaseName(host, folder, AccDataFile, TDM::fnUseRemoteForm(host));
  // The open company database is used as it is when it is this one; any
  // other is never written to.
  const bool opened = !(DM->IBDatabaseDAT.isConnected() && DM->IBDatabaseDAT.databaseName() == name);
  if (opened && !DM->fnAccDatConnected(AHostName, folder, false))
    return false;
  bool done = false;
  try {
    AWork();
    done = true;
  } catch (const std::exception& e) {
    fnReportError(e, AStep, AText);
  }
  if (opened)
    DM->fnAccDatDisConnected(folder, false, false, false);
  return done;
}

void TMyNumberIO::readLog(int AHizukeOrder)
{
  db::Query q(DM->IBTransactionDAT);
  q.setSql(QStringLiteral("SELECT SHOUGOU FROM ACCDEF1\nWHERE REC=1"));
  q.open();
  FShougo_Hikaku = q.eof() ? QString() : q.field("SHOUGOU").asString();
  q.close();
  q.setSql(QStringLiteral("SELECT COUNT(FSERIAL) AS RECCNT FROM MYNUMBER_LOG"));
  q.open();
  const int count = q.field("RECCNT").asInt();
  q.close();
  if (count > 0) {
    q.setSql(QStringLiteral("SELECT FHIZUKE,FSERIAL,FOPCODE,FOPNAME,FHOST,FSTATE,FPROCNAME,FCOMMENT\n"
                            "FROM MYNUMBER_LOG\n") +
             (AHizukeOrder == 1 ? QStringLiteral("ORDER BY FHIZUKE DESC,FSERIAL,FOPCODE")
                                : QStringLiteral("ORDER BY FHIZUKE,FSERIAL,FOPCODE")));
    for (q.open(); !q.eof() && FItemList.size() < count; q.next()) {
      TMyNumberLogRec r;
      r.Hizuke = q.field("FHIZUKE").asDateTime();
      r.SerialNo = q.field("FSERIAL").asString();
      r.OpCode = q.field("FOPCODE").asString();
      r.OpName = q.field("FOPNAME").asString();
      r.HostName = q.field("FHOST").asString();
      r.State = TJxLogState(q.field("FSTATE").asInt());
      r.ProcName = q.field("FPROCNAME").asString();
      r.Comment = q.field("FCOMMENT").asString();
      FItemList.append(r);
    }
    q.close();
  }
  FItemCount = int(FItemList.size());
}

void TMyNumberIO::ExecuteLog(int AHizukeOrder)
{
  FItemList.clear();
  FItemCount = 0;
  if (!DM)
    return;
  TOwnTransaction tr(DM->IBTransactionDAT);
  try {
    readLog(AHizukeOrder);
    tr.Commit();
  } catch (const std::exception& e) {
    tr.Rollback();
    FItemList.clear();
    FItemCount = 0;
    showFailure(QStringLiteral("管理ログリストの取得に失敗しました。"), e);
  }
}

void TMyNumberIO::ExecuteLog(const QString& AHostName, const QString& ADataPath)
{
  FItemList.clear();
  FItemCount = 0;
  if (!DM)
    return;
  QString folder = ADataPath;
  folder.remove(QLatin1Char('/') + AccDataFile);
  if (!DM->AccFileExists(PathJoin(folder, AccDataFile), int(AppType)))
    return;
  withDataSet(AHostName, ADataPath, QStringLiteral("TMyNumberIO.ExecuteLog"),
              QStringLiteral("管理ログリストの取得に失敗しました。"), [&] {
                TOwnTransaction tr(DM->IBTransactionDAT);
                try {
                  readLog(0);
                  tr.Commit();
                } catch (...) {
                  FItemList.clear();
                  FItemCount = 0;
                  throw;
                }
              });
}

void TMyNumberIO::MergeLog(const QString& AHostName, const QString& ADataPath)
{
  if (FShougo_Hikaku.isEmpty() || !DM)
    return;
  withDataSet(AHostName, ADataPath, QStringLiteral("TMyNumberIO.MergeLog"),
              QStringLiteral("管理ログリストのマージに失敗しました。"), [&] {
                TOwnTransaction tr(DM->IBTransactionDAT);
                db::Query q(DM->IBTransactionDAT);
                q.setSql(QStringLiteral("SELECT SHOUGOU FROM ACCDEF1\nWHERE REC=1"));
                q.open();
                const QString shougou = q.eof() ? QString() : q.field("SHOUGOU").asString();
                q.close();
                if (shougou == FShougo_Hikaku) {
                  q.setSql(
                      QStringLiteral("SELECT COUNT(FHIZUKE) AS RECCNT FROM MYNUMBER_LOG\n"
                                     "WHERE (FHIZUKE=:FHIZUKE) AND (FSERIAL=:FSERIAL) AND (FOPCODE=:FOPCODE) "
                                     "AND (FHOST=:FHOST)"));
                  for (const TMyNumberLogRec& item : FItemList) {
                    bindKey(q, item);
                    q.setParam(QStringLiteral("FHOST"), item.HostName);
                    q.open();
                    const int found = q.field("RECCNT").asInt();
                    q.close();
                    if (found == 0) {
                      TMyNumberLogRec copy = item;
                      insertLog(copy);
                    }
                  }
                }
                tr.Commit();
              });
}

void TMyNumberIO::DeleteLog(const TMyNumberLogRec& ARec)
{
  if (!DM)
    return;
  TOwnTransaction tr(DM->IBTransactionDAT);
  try {
    db::Query q(DM->IBTransactionDAT);
    q.setSql(
        QStringLiteral("DELETE FROM MYNUMBER_LOG\n"
                       "WHERE (FHIZUKE=:FHIZUKE) AND (FSERIAL=:FSERIAL) AND (FOPCODE=:FOPCODE)"));
    bindKey(q, ARec);
    q.exec();
    tr.Commit();
  } catch (const std::exception& e) {
    tr.Rollback();
    showFailure(QStringLiteral("管理ログリストの削除に失敗しました。"), e);
  }
}

void TMyNumberIO::ClearLog()
{
  FItemList.clear();
  FItemCount = 0;
  if (!DM)
    return;
  TOwnTransaction tr(DM->IBTransactionDAT);
  try {
    db::Query q(DM->IBTransactionDAT);
    q.setSql(QStringLiteral("DELETE FROM MYNUMBER_LOG"));
    q.exec();
    tr.Commit();
  } catch (const std::exception& e) {
    tr.Rollback();
    showFailure(QStringLiteral("ログのクリアに失敗しました。"), e);
  }
}

TMyNumberLogRec TMyNumberIO::GetItem(int AIndex) const
{
  if (AIndex < 0 || AIndex >= FItemCount || AIndex >= FItemList.size())
    return {};
  return FItemList.at(AIndex);
}

bool TMyNumberIO::GetMyNumberInfo(const QString& AHostName, const QString& ADataPath, const QString& ASenderName,
                                  const QString& AMyNumberInfoClear)
{
  FUseKbn = 0;
  FPassword.clear();
  FMyNumber.clear();
  FStoredPassword.clear();
  FStoredMyNumber.clear();
  if (!DM)
    return false;
  QString folder = ADataPath;
  folder.remove(QLatin1Char('/') + AccDataFile);
  const int form = AHostName == QLatin1String("127.0.0.1") ? int(jxatSA) : int(AppType);
  if (!DM->AccFileExists(PathJoin(folder, AccDataFile), form))
    return false;
  return withDataSet(AHostName, ADataPath, QStringLiteral("TMyNumberIO.GetMyNumberInfo"),
                     QStringLiteral("マイナンバー情報の取得に失敗しました。"), [&] {
                       TOwnTransaction tr(DM->IBTransactionDAT);
                       FUseKbn = fnGetAccReg(kGroup, kUse, QStringLiteral("整数"), QStringLiteral("0")).toInt();
                       FStoredPassword = fnGetAccReg(kGroup, kKey, QStringLiteral("文字"), QString()).toString();
                       FStoredMyNumber = fnGetAccReg(kGroup, kValue, QStringLiteral("文字"), QString()).toString();
                       if (!FStoredPassword.isEmpty())
                         FPassword = fnJxDecipher(FStoredPassword, kCipherKey, 8);
                       if (!FStoredMyNumber.isEmpty())
                         FMyNumber = fnJxDecipher(FStoredMyNumber, kCipherKey, int(FStoredMyNumber.size()));
                       if (AMyNumberInfoClear.toUpper() == kClearRequest) {
                         pcSetAccReg(kGroup, kUse, QStringLiteral("整数"), 0);
                         pcDelAccReg(kGroup, kKey);
                         pcDelAccReg(kGroup, kValue);
                         InitLogRecord(FLogRec, jxlsDelete,
                                       ASenderName.isEmpty() ? QStringLiteral("アプリケーション") : ASenderName);
                         FLogRecStored = insertLog(FLogRec);
                       }
                       tr.Commit();
                     });
}

// The stored text of a value: enciphered afresh from the plain text, or,
// when the plain text could not be read (a value enciphered elsewhere) or
// the cipher fails, the text exactly as it was stored, so that nothing that
// was taken out is lost by putting it back.
static QString storedForm(const QString& APlain, const QString& AStored, int ALength)
{
  if (!APlain.isEmpty()) {
    const QString enciphered = fnJxEncipher(APlain, QStringLiteral("tobenza"), ALength);
    if (!enciphered.isEmpty())
      return enciphered;
  }
  return AStored;
}

bool TMyNumberIO::PasteMyNumber(const QString& AHostName, const QString& ADataPath)
{
  if (FUseKbn != 1)
    return true;
  return withDataSet(AHostName, ADataPath, QStringLiteral("TMyNumberIO.PasteMyNumber"),
                     QStringLiteral("マイナンバー情報の取得に失敗しました。"), [&] {
                       TOwnTransaction tr(DM->IBTransactionDAT);
                       pcSetAccReg(kGroup, kUse, QStringLiteral("整数"), FUseKbn);
                       const QString key = storedForm(FPassword, FStoredPassword, 8);
                       if (!key.isEmpty())
                         pcSetAccReg(kGroup, kKey, QStringLiteral("文字"), key);
                       const QString value = storedForm(FMyNumber, FStoredMyNumber, int(FMyNumber.size()));
                       if (!value.isEmpty())
                         pcSetAccReg(kGroup, kValue, QStringLiteral("文字"), value);
                       if (FLogRecStored) {
                         db::Query q(DM->IBTransactionDAT);
                         q.setSql(
                             QStringLiteral("DELETE FROM MYNUMBER_LOG\n"
                                            "WHERE (FHIZUKE=:FHIZUKE) AND (FSERIAL=:FSERIAL) AND (FOPCODE=:FOPCODE)"));
                         bindKey(q, FLogRec);
                         q.exec();
                       }
                       tr.Commit();
                       FLogRecStored = false;
                     });
}

bool TMyNumberIO::DeleteMyNumber(const QString& AHostName, const QString& ADataPath)
{
  if (FUseKbn != 1)
    return true;
  return withDataSet(AHostName, ADataPath, QStringLiteral("TMyNumberIO.DeleteMyNumber"),
                     QStringLiteral("マイナンバー情報の取得に失敗しました。"), [&] {
                       TOwnTransaction tr(DM->IBTransactionDAT);
                       pcSetAccReg(kGroup, kUse, QStringLiteral("整数"), 0);
                       pcDelAccReg(kGroup, kKey);
                       pcDelAccReg(kGroup, kValue);
                       tr.Commit();
                     });
}

bool TMyNumberIO::CheckMyNumberDigit(TJxMyNumber AType, const QString& AMyNumber)
{
  for (const QChar c : AMyNumber) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9'))
      return false;
  }
  auto digit = [&](qsizetype i) { return AMyNumber.at(i).unicode() - u'0'; };
  if (AType == jxmnKojin && AMyNumber.size() == 12) {
    int sum = 0;
    for (int n = 1; n <= 11; ++n) {
      const int weight = n <= 6 ? n + 1 : n - 5;
      sum += digit(11 - n) * weight;
    }
    const int r = sum % 11;
    const int expected = r <= 1 ? 0 : 11 - r;
    return expected == digit(11);
  }
  if (AType == jxmnHojin && AMyNumber.size() == 13) {
    int sum = 0;
    for (int n = 1; n <= 12; ++n)
      sum += digit(13 - n) * (n % 2 == 1 ? 1 : 2);
    const int expected = 9 - (sum % 9);
    return expected == digit(0);
  }
  return false;
}

QString TMyNumberIO::FormatMyNumber(const QString& AValue, const QString& AFormatType)
{
  if (AValue.isEmpty())
    return QString();
  if (AFormatType == QLatin1String("-")) {
    if (AValue.size() == 12)
      return AValue.mid(0, 4) + u'-' + AValue.mid(4, 4) + u'-' + AValue.mid(8, 4);
    if (AValue.size() == 13)
      return AValue.mid(0, 1) + u'-' + AValue.mid(1, 4) + u'-' + AValue.mid(5, 4) + u'-' + AValue.mid(9, 4);
    return AValue;
  }
  if (AFormatType.isEmpty()) {
    QString out = AValue;
    out.remove(QLatin1Char('-'));
    return out;
  }
  if (AFormatType == QLatin1String("*")) {
    const qsizetype n = AValue.size();
    return QString(std::min<qsizetype>(n, 20), QLatin1Char('*')) + QString(std::max<qsizetype>(n - 20, 0), u' ');
  }
  return AValue;
}
