// Server questions of the data module: who has a database attached,
// dropping a company database, whether the server answers, share paths,
// event rows and warming the balance tables.
#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QFileInfo>

#include "common/AccReg.h"
#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/FbError.h"
#include "common/MessageHook.h"
#include "db/DbError.h"
#include "db/Services.h"
#include "db/StoredProc.h"
#include "platform/Paths.h"

namespace {

QString normalisedDbPath(const QString& path)
{
  QString p = ToSlashes(path);
  const QFileInfo fi(p);
  if (fi.exists())
    p = fi.canonicalFilePath();
  return p.toLower();
}

// Opens a TCP connection to host:port within the timeout.
bool tcpReachable(const QString& host, int port, int timeoutMs)
{
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* res = nullptr;
  if (getaddrinfo(host.toUtf8().constData(), QByteArray::number(port).constData(), &hints, &res) != 0)
    return false;
  bool ok = false;
  for (addrinfo* ai = res; ai && !ok; ai = ai->ai_next) {
    const int fd = ::socket(ai->ai_family, ai->ai_socktype | SOCK_CLOEXEC, ai->ai_protocol);
    if (fd < 0)
      continue;
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    int rc = ::connect(fd, ai->ai_addr, ai->ai_addrlen);
    if (rc == 0) {
      ok = true;
    } else if (errno == EINPROGRESS) {
      pollfd p{fd, POLLOUT, 0};
      if (::poll(&p, 1, timeoutMs) == 1) {
        int err = 0;
        socklen_t len = sizeof err;
        ok = ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) == 0 && err == 0;
      }
    }
    ::close(fd);
  }
  freeaddrinfo(res);
  return ok;
}

}  // namespace

bool TDM::AccDatInConnection(int ADbKind, const QString& AHostName, const QString& ADataPath, bool AKeepConnection)
{
  const QString host = AHostName.isEmpty() ? SystemDef.SERVERNAME : AHostName;
  if (ADataPath.trimmed().isEmpty())
    return false;
  db::Database& own = ADbKind == 0 ? IBDatabaseDEF : IBDatabaseDAT;
  if (!AKeepConnection && own.isConnected()) {
    // Closing our own connection would drop its open work: answer "in use".
    const bool busy = ADbKind == 0
                          ? IBTransactionDEF.inTransaction()
                          : (IBTransactionDAT.inTransaction() || IBTransactionDATSS.inTransaction() ||
                             IBTransactionDATStable.inTransaction() || IBTransactionDAT_Thread.inTransaction());
    if (busy)
      return true;
  }
  const QString target = normalisedDbPath(
      AccLongToShortFileName(PathJoin(ADataPath, ADbKind == 0 ? AccDataDefFile : AccDataFile), AppType));
  db::Services svc;
  if (fnUseRemoteForm(host)) {
    svc.setHost(host);
    svc.setPort(FbPort);
  }
  svc.setUser(ServiceAdminUser);
  svc.setPassword(ServiceAdminPassword);
  bool closed = false;
  bool result = false;
  try {
    if (!AKeepConnection && own.isConnected()) {
      own.disconnect();
      closed = true;
    }
    svc.attach();
    const db::Services::AttachmentInfo info = svc.attachments();
    for (const QString& name : info.databaseNames) {
      if (normalisedDbPath(name) == target) {
        result = true;
        break;
      }
    }
  } catch (const db::DbError& e) {
    fnShowFbError(e, QStringLiteral("TDM.AccDatInConnection"),
                  QStringLiteral("データベースの使用情報の取得に失敗しました。"), true);
  } catch (const std::exception& e) {
    fnShowErrorDetail(QStringLiteral("データベースの使用情報の取得に失敗しました。"), QString::fromUtf8(e.what()),
                      mtError);
  }
  svc.detach();
  if (closed) {
    try {
      own.connect();
    } catch (const db::DbError& e) {
      fnShowFbError(e, QStringLiteral("TDM.AccDatInConnection"), QStringLiteral("データベースの再接続に失敗しました。"),
                    true);
    }
  }
  return result;
}

bool TDM::AccDatDropDatabase(const QString& AHostName, const QString& AIBPathDat)
{
  if (AIBPathDat.isEmpty())
    return false;
  const QString host = AHostName.isEmpty() ? SystemDef.SERVERNAME : AHostName;
  const QString message = QStringLiteral("ユーザーデータベースの削除処理に失敗しました。\r接続パスを確認して下さい。");
  try {
    db::Database d(fnDatabaseName(host, AIBPathDat, AccDataFile, AppType != jxatSA));
    d.setUser(SystemDef.IBUSER);
    d.setPassword(SystemDef.PASWORD);
    d.setCharset(FbCharSet);
    d.connect();
    d.drop();
    return true;
  } catch (const db::DbError& e) {
    fnShowFbError(e, QStringLiteral("TDM.AccDatDropDatabase"), message, true);
  } catch (const std::exception& e) {
    fnShowErrorDetail(message, QString::fromUtf8(e.what()), mtError);
  }
  return false;
}

bool TDM::IsFirebirdRunning()
{
  if (AppType == jxatSA)
    return true;
  if (tcpReachable(SystemDef.SERVERNAME, FbPort, 5000))
    return true;
  QStringList lines{QStringLiteral("ログイン処理に失敗しました。以下の理由が考えられます。")};
  if (AppType == jxatSBC) {
    lines << QStringLiteral("１）%1ソリューションが正常に動作しているか確認して下さい。")
                 .arg(AccSbcSolutionNames.value(SbcKind))
          << QStringLiteral("２）サーバー上でFireBirdサービスが起動しているか確認して下さい。")
          << QStringLiteral(
                 "３）ログイン画面の[サーバー設定]ボタンを押して正しい情報が設定されているか確認して下さい。")
          << QStringLiteral(
                 "４）Windowsファイヤーウォール(市販のセキュリティソフト含む)"
                 "が有効の場合は、このアプリケーションがサーバーと通信できる状態か確認して下さい。");
  } else {
    lines << QStringLiteral("１）サーバー上でFireBirdサービスが起動しているか確認して下さい。")
          << QStringLiteral(
                 "２）ログイン画面の[サーバー設定]ボタンを押して正しい情報が設定されているか確認して下さい。")
          << QStringLiteral(
                 "３）Windowsファイヤーウォール(市販のセキュリティソフト含む)"
                 "が有効の場合は、このアプリケーションがサーバーと通信できる状態か確認して下さい。");
  }
  MessageHook().ShowMessageLines(2, lines);
  return false;
}

bool TDM::GetConectionTcp(const QString& AUncPath, QString& ARemoteHostName, QString& ARemotePath)
{
  ARemoteHostName.clear();
  ARemotePath.clear();
  if (!AUncPath.startsWith(QLatin1String("\\\\")))
    return false;
  QString path = AUncPath;
  path.remove(QLatin1String("\\\\"));
  const QStringList parts = path.split(QLatin1Char('\\'));
  const QString host = parts.value(0).trimmed();
  const QString share = parts.value(1).trimmed();
  ARemoteHostName = host;
  ARemotePath = AUncPath;
  ARemotePath.replace(QStringLiteral("\\\\%1\\%2").arg(host, share), QStringLiteral("c:\\tessaly\\sharedata"));
  return true;
}

void TDM::SETEVENT(int EVENTNO, int OPCODE, const QString& TXT)
{
  try {
    TOwnTransaction tr(IBTransactionDEF);
    db::StoredProc sp(IBTransactionDEF, QStringLiteral("SP_SETEVENT"));
    sp.setParam("EVENTNO", EVENTNO);
    sp.setParam("OPCODE", OPCODE);
    sp.setParam("TXT", TXT);
    sp.execute();
    tr.Commit();
  } catch (const std::exception&) {
    // The event row is a record only: its failure is not reported.
  }
}

void TDM::GetZandakaCash(int AValue)
{
  if (AValue == -1) {
    AccInf.CashOn_ToukiZan = true;
    AccInf.CashOn_KakoZan = true;
    const QString key = QString::number(SystemDef.OPCODE2);
    for (const char16_t* group : {u"仕訳帳＿摘要履歴", u"仕訳帳＿取引履歴", u"総勘定元帳＿摘要履歴",
                                  u"総勘定元帳＿取引履歴", u"玄匠Ⅲ入力＿摘要履歴", u"玄匠Ⅲ入力＿取引履歴"}) {
      try {
        pcDelAccRegBlob(QString::fromUtf16(group), key, QString());
      } catch (const std::exception&) {
      }
    }
    return;
  }
  try {
    TOwnTransaction tr(IBTransactionDAT);
    auto touch = [this](const QString& table) {
      IBQACC1.setSql(QStringLiteral("SELECT COUNT(*) FROM ") + table);
      IBQACC1.open();
      IBQACC1.close();
    };
    if (!AccInf.CashOn_ToukiZan) {
      touch(QStringLiteral("KAMOKU_MS"));
      touch(QStringLiteral("KAMOKU_SZ"));
      AccInf.CashOn_ToukiZan = true;
    }
    if (AValue == 1 && !AccInf.CashOn_KakoZan) {
      touch(QStringLiteral("KAKOZAN"));
      AccInf.CashOn_KakoZan = true;
    }
    tr.Commit();
  } catch (const std::exception&) {
  }
}
