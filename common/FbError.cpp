#include "common/FbError.h"

#include <QDebug>
#include <QFile>

#include "common/AccFunction.h"
#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "common/IBErrorText.h"
#include "db/DbError.h"
#include "platform/DateTime.h"
#include "platform/Exceptions.h"
#include "platform/Format.h"
#include "platform/Paths.h"
#include "platform/SafeSave.h"
#include "platform/TextCodec.h"

const QString FbNetworkText = QStringLiteral(
    "何らかの原因でネットワークが物理的に切断されている か Firebirdサービス(RDBMS)との通信が切断されました。"
    "\r\r[OK]ボタンを押すとアプリケーションの終了処理に入ります。（[OK]後、何回かメッセージが表示される場合があります）"
    "\rアプリケーションが終了しましたら再起動して下さい。\r");
const QString FbFatalTail = QStringLiteral(
    "\r\r[OK]ボタンを押すとアプリケーションの終了処理に入ります。（[OK]後、何回かメッセージが表示される場合があります）"
    "\rアプリケーションが終了しましたら再起動して下さい。\r");
const QString FbStandAloneNote = QStringLiteral("\r※注意 共有サーバーのデータ利用時は自動保管されません。\r");

namespace {

const QString kDetailHeading = QStringLiteral("[詳細情報]");

QString datDatabaseName()
{
  return DM ? DM->IBDatabaseDAT.databaseName() : QString();
}

QString nowText()
{
  return FormatDateTime(QStringLiteral("yyyy/mm/dd hh:nn:ss"), Now());
}

// A log line must stay one line.
QString oneLine(QString s)
{
  s.replace(QLatin1String("\r\n"), QLatin1String(" "));
  s.replace(QLatin1Char('\r'), QLatin1Char(' '));
  s.replace(QLatin1Char('\n'), QLatin1Char(' '));
  return s;
}

}  // namespace

void pcWriteLogLines(const QString& fileName, const QStringList& lines, bool rewrite)
{
  ForceDirectories(ExtractFileDir(fileName));
  QString text;
  for (const QString& l : lines)
    text += l + QLatin1String("\r\n");
  const QByteArray bytes = toCp932(text);
  if (rewrite) {
    // The last-error file is replaced whole or kept as it was.
    SaveFileSafely(fileName, bytes);
    return;
  }
  QFile f(fileName);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
    throw EPlatformError(QStringLiteral("ログファイルに書き込めません: %1 (%2)").arg(fileName, f.errorString()));
  if (f.write(bytes) != bytes.size() || !f.flush())
    throw EPlatformError(QStringLiteral("ログファイルに書き込めません: %1 (%2)").arg(fileName, f.errorString()));
}

bool fnIsFatalFbError(const db::DbError& E)
{
  return E.gdscode() == db::DbError::NetworkError || E.gdscode() == db::DbError::BugCheck || E.isLostConnection();
}

TFbErrorLogLines fnFbErrorLogLines(const db::DbError& E, const QString& StepName)
{
  const QString explanation = fnGetIBErrorText(E.gdscode(), E.sqlcode());
  TFbErrorLogLines lines;
  lines.Line1 = QStringLiteral("%1,%2,%3,%4,%5,%6,%7")
                    .arg(nowText(), SystemDef.PCNAME, QString::number(SystemDef.OPCODE),
                         QStringLiteral("Serial=") + SystemDef.SERIAL, QStringLiteral("AppVer=") + SystemDef.AppVersion,
                         QStringLiteral("DBName=") + SystemDef.SERVERNAME + QLatin1Char(':') + datDatabaseName(),
                         QStringLiteral("DataVer="));
  lines.Line2 =
      oneLine(QStringLiteral("Error=%1 [%2] (%3) %4,%5")
                  .arg(StepName, QString::number(E.gdscode()), QString::number(E.sqlcode()), explanation, E.message()));
  return lines;
}

void fnShowFbError(const db::DbError& E, const QString& StepName, const QString& Message, bool /*Reconnect*/)
{
  if (FbFatalLatch)
    return;
  const QString explanation = fnGetIBErrorText(E.gdscode(), E.sqlcode());
  QString message = Message;

  // The latch is set before anything that may fail, so that a lost
  // connection always ends the application.
  if (fnIsFatalFbError(E)) {
    FbFatalLatch = true;
    if (E.gdscode() == db::DbError::BugCheck)
      message = explanation + FbFatalTail;
    else
      message = FbNetworkText;
  }

  try {
    const TFbErrorLogLines lines = fnFbErrorLogLines(E, StepName);
    const QString base = PathJoin(SystemDef.LOG, QStringLiteral("ErrFbAccess"));
    pcWriteLogLines(base + QStringLiteral(".log"), {lines.Line1, lines.Line2}, false);
    pcWriteLogLines(base + QStringLiteral(".txt"), {lines.Line1, lines.Line2}, true);
  } catch (const std::exception& ex) {
    qWarning() << "database error log not written:" << ex.what();
  }

  if (!message.isEmpty()) {
    if (FbFatalLatch) {
      if (AppType == jxatSA)
        message += FbStandAloneNote;
      MessageHook().ShowMessageDlg(message, mtError, mbOK);
    } else {
      const QString detail = QStringLiteral("IBXエラーコード:%1").arg(E.gdscode()) + QLatin1Char('\r') + E.message() +
                             QLatin1Char('\r') + explanation;
      fnShowErrorDetail(message, detail, mtError);
    }
  }

  if (FbFatalLatch)
    MessageHook().RequestTerminate();
}

void fnShowErrorDetail(const QString& Text, const QString& Detail, TMsgDlgType DlgType)
{
  if (Text.isEmpty() && Detail.isEmpty())
    return;
  QString shown = Text;
  if (!Detail.isEmpty())
    shown += QStringLiteral("\r\r") + kDetailHeading + QLatin1Char('\r') + Detail;
  MessageHook().ShowMessageDlg(shown, DlgType, mbOK);
}

void fnShowCommaMessage(const QString& Text, TMsgDlgType DlgType)
{
  QStringList parts{QString()};
  fnSplitText(Text, QStringLiteral(","), parts);
  QString shown;
  for (const QString& p : parts)
    shown += p + QLatin1Char('\r');
  MessageHook().ShowMessageDlg(shown, DlgType, mbOK);
}

void fnShowFbCalcError(const db::DbError& E, const QString& Title, bool NoServerMessage)
{
  // After a lost connection every later database error is left unsaid.
  if (FbFatalLatch)
    return;
  // A lost connection (335544721, and the read and write errors 335544726
  // and 335544727 a Firebird 3 client reports for it) is not a computation
  // error: the operator is told the connection is gone, and the program ends.
  if (fnIsFatalFbError(E)) {
    fnShowFbError(E, Title, QString(), true);
    return;
  }
  const QString crlf = QStringLiteral("\r\n");
  QString text = Title + crlf + QStringLiteral("ErrCode<%1>  SQLCODE<%2>").arg(E.gdscode()).arg(E.sqlcode()) + crlf;
  if (!NoServerMessage)
    text += E.message() + QStringLiteral("\r") + crlf;
  text += fnGetIBErrorText(E.gdscode(), E.sqlcode()) + crlf;
  MessageHook().ShowMessageDlg(text, mtError, mbOK);

  QStringList lines = fnTextToLines(text);
  lines << QStringLiteral("PG_VERSION[") + SystemDef.AppVersion + QLatin1Char(']') << QStringLiteral("DB_VERSION[]")
        << QStringLiteral("Serial[") + SystemDef.SERIAL + QLatin1Char(']')
        << QStringLiteral("Server[") + SystemDef.SERVERNAME + QLatin1Char(']')
        << QStringLiteral("DatabaseName[") + datDatabaseName() + QLatin1Char(']') << nowText() << SystemDef.PCNAME
        << QString::number(SystemDef.OPCODE);
  try {
    pcWriteLogLines(PathJoin(SystemDef.LOG, QStringLiteral("FB_ERROR.TXT")), lines, true);
    pcWriteLogLines(PathJoin(SystemDef.LOG, QStringLiteral("FB_ERROR.LOG")), lines, false);
  } catch (const std::exception& ex) {
    qWarning() << "trial-balance error report not written:" << ex.what();
  }
}

void fnReportError(const std::exception& E, const QString& StepName, const QString& Text)
{
  if (const auto* dbe = dynamic_cast<const db::DbError*>(&E))
    fnShowFbError(*dbe, StepName, Text, true);
  else
    fnShowErrorDetail(Text, QString::fromUtf8(E.what()), mtError);
}
