// Requests to the relay server.
#include <QUrl>

#include "comm/DataTusin.h"
#include "common/AccFunction.h"
#include "common/AccFunction2.h"
#include "common/AccRecord.h"
#include "common/MessageHook.h"
#include "platform/SystemInfo.h"

namespace {

const QString msgNoConnect = QStringLiteral("　\r\nサーバーに接続出来ません。\r\n ");
const QString msgBadId = QStringLiteral("　\r\nサーバーに接続出来ません、通信IDを確認して下さい。\r\n ");

QString serverErrorText(const QString& ACode)
{
  return QStringLiteral("　\r\nサーバーエラー(") + ACode + QStringLiteral(")\r\n ");
}

void showError(const QString& AText)
{
  MessageHook().ShowMessageDlg(AText, mtError, mbOK);
}

// "01" .. "10" for a line or folder number.
QString twoDigits(int ANo)
{
  return (QStringLiteral("0") + QString::number(ANo)).right(2);
}

}  // namespace

QByteArray fnRelayRequestLine(int ACode, const QString& ASerial, const TRelayKeys& AKeys)
{
  QByteArray line = "GET /request.php?Scode=" + QByteArray::number(ACode) + "&sSno=" + QUrl::toPercentEncoding(ASerial);
  for (const TRelayKey& k : AKeys) {
    line += '&' + k.Key.toLatin1() + '=';
    line += k.Encoded ? k.Value.toLatin1() : QUrl::toPercentEncoding(k.Value);
  }
  line += " HTTP/1.0";
  return line;
}

TDataTusin::TDataTusin()
    : IBTransaction1(IBDatabaseDAT, db::Transaction::ReadCommitted), ComputerNameProc([] { return ComputerName(); })
{
  RelayConfig = RelayConfigFromEnvironment();
  Pause = [] { pcTusinWaitUnit(); };
  WaitMSec = [](int AMSec) { fnWaitMSec(AMSec); };
  FDataInfomation.SetAppType(AppType);
}

TDataTusin::~TDataTusin() = default;

QString TDataTusin::TransferDataPath() const
{
  return FProcType < 20 ? SystemDef.IBPATHDAT : HIBPATHDAT;
}

void TDataTusin::HideProgress()
{
  if (OnHideProgress)
    OnHideProgress();
}

QString TDataTusin::UrlEscape(const QString& AText)
{
  QString out;
  out.reserve(AText.size());
  for (QChar c : AText) {
    if (c == QLatin1Char('+'))
      out += QStringLiteral("%2b");
    else if (c == QLatin1Char('='))
      out += QStringLiteral("%3d");
    else
      out += c;
  }
  return out;
}

QString TDataTusin::EncodeName(const QString& AName)
{
  return UrlEscape(QString::fromLatin1(fnTrimZen(AName).toUtf8().toBase64()));
}

void TDataTusin::RelayRequest(int ACode, const TRelayKeys& AKeys, int AEndLines,
                              const std::function<void(TRelayReplyReader&)>& AReadReply)
{
  struct TRelease {
    std::unique_ptr<TRelayConnection>& C;
    ~TRelease()
    {
      // The field is cleared before the object goes.
      std::unique_ptr<TRelayConnection> gone = std::move(C);
    }
  } release{IdTCPClient};
  IdTCPClient = std::make_unique<TRelayConnection>();
  IdTCPClient->Connect(RelayConfig);
  IdTCPClient->WriteLine(fnRelayRequestLine(ACode, RelayConfig.Serial, AKeys));
  IdTCPClient->WriteLine("Host: " + RelayConfig.Host.toUtf8());
  IdTCPClient->WriteLine("User-Agent: Tessaly");
  IdTCPClient->WriteLine("Connection: Close");
  for (int i = 0; i < AEndLines; ++i)
    IdTCPClient->WriteLine(QByteArray());
  TRelayReplyReader reader(*IdTCPClient);
  AReadReply(reader);
}

int TDataTusin::ServerInfoGet()
{
  const bool cloud = IsCloud();
  const int code = cloud ? 1726 : 1721;
  TRelayKeys keys{{QStringLiteral("sFName"), AccInf.WEB_HOLDER}};
  if (EditionKind == 1 || EditionKind == 2)
    keys.append({QStringLiteral("sTRKubn"), QStringLiteral("10")});
  else if (cloud)
    keys.append({QStringLiteral("sRendou"), (bRendou || SystemKind == 2) ? QStringLiteral("1") : QStringLiteral("0")});
  QString result;
  try {
    RelayRequest(code, keys, 1, [&](TRelayReplyReader& r) {
      result = fnRelayResultCode(r.Line(5));
      if (result == QLatin1String("000"))
        pcReadServerInfo(r, cloud, SystemDef.NengoSwitch, FServerInfo);
    });
  } catch (const std::exception&) {
    showError(msgNoConnect);
    if (OnServerUnreachable)
      OnServerUnreachable();
    return 0;
  }
  if (result == QLatin1String("000"))
    return 1;
  showError(result == QLatin1String("920") ? msgBadId : serverErrorText(result));
  return 0;
}

bool TDataTusin::CloudShareState(int ALine, int AShare)
{
  const TRelayKeys keys{{QStringLiteral("sFName"), AccInf.WEB_HOLDER},
                        {QStringLiteral("fSname"), twoDigits(ALine)},
                        {QStringLiteral("fShare"), QString::number(AShare)},
                        {QStringLiteral("fOpName"), fOpName, true},
                        {QStringLiteral("fPcName"), fPcName, true}};
  QString result;
  RelayRequest(1731, keys, 1, [&](TRelayReplyReader& r) { result = fnRelayResultCode(r.Line(5)); });
  if (result == QLatin1String("000"))
    return true;
  showError(result == QLatin1String("920") ? msgBadId : serverErrorText(result));
  return false;
}

bool TDataTusin::JyusinKanryou()
{
  const TRelayKeys keys{{QStringLiteral("sFName"), AccInf.WEB_HOLDER},
                        {QStringLiteral("fSname"), twoDigits(AccInf.CLOUD_LINE)},
                        {QStringLiteral("fOpName"), fOpName, true},
                        {QStringLiteral("fPcName"), fPcName, true}};
  QString result;
  bool connected = false;
  try {
    RelayRequest(1834, keys, 1, [&](TRelayReplyReader& r) {
      connected = true;
      sHizuke = fnRelayValue(r.Line(5), 8);
      result = fnRelayResultCode(r.Line(6));
      if (result == QLatin1String("000"))
        pcRelayServerTime(sHizuke, false, sWHizuke, tHizuke);
    });
  } catch (const ERelayConnectError&) {
    HideProgress();
    showError(connected ? QStringLiteral("　\r\n受信完了処理エラー\r\n ")
                        : QStringLiteral("　\r\nサーバーに接続出来ません。(完了処理)\r\n "));
    return false;
  } catch (const std::exception&) {
    HideProgress();
    showError(QStringLiteral("　\r\n受信完了処理エラー\r\n "));
    return false;
  }
  if (result != QLatin1String("000")) {
    HideProgress();
    showError(QStringLiteral("　\r\n完了処理サーバーエラー(") + result + QStringLiteral(")\r\n "));
    return false;
  }
  bool stamped = false;
  try {
    stamped = CloudTimeUpdate(tHizuke);
  } catch (const std::exception&) {
    pcLogDroppedError("TDataTusin::JyusinKanryou");
  }
  if (!stamped)
    showError(QStringLiteral("ローカルデータの最終更新日付更新エラー"));
  // The server side is done either way.
  return true;
}

bool TDataTusin::OpPcNameGet()
{
  fOpCode.clear();
  fOpName.clear();
  fPcName.clear();
  try {
    fOpCode = fnCutStrR(QString::number(SystemDef.OPCODE), 4, false);
    // Trimmed at the right end only: the code keeps its four positions so
    // that code and name parse from fixed places.
    QString op = fOpCode + SystemDef.OPNAME;
    while (!op.isEmpty() && (op.back() == QLatin1Char(' ') || op.back() == QChar(0x3000)))
      op.chop(1);
    fOpNameM = op;
    fOpName = UrlEscape(QString::fromLatin1(op.toUtf8().toBase64()));
    QString pc = fnTrimZen(ComputerNameProc ? ComputerNameProc() : QString());
    if (PcNameLimit > 0 && pc.size() > PcNameLimit)
      pc = pc.left(PcNameLimit);
    fPcNameM = pc;
    fPcName = EncodeName(pc);
  } catch (const std::exception&) {
    showError(QStringLiteral("コンピュータ名取得エラー\r\n") + QStringLiteral("std::exception") +
              QStringLiteral(" error , with message : ") + fnCurrentExceptionText());
    return false;
  }
  return true;
}
