// rendo-relay-peer: a relay server of our own for the tests and the demo.
//
//   rendo-relay-peer --cert FILE --key FILE --state DIR [--port N]
//                    [--early-close N] [--time yyyymmddhhnnss] [--max-tls 1.1]
//
// Listens on 127.0.0.1 only (port 0: a free one), speaks TLS 1.2 or later
// with the given server certificate, and answers one request per
// connection, one connection at a time, in the relay server's reply layout:
// four head lines, the result line ("ResultCode" and the code at characters
// 11 to 13), time lines ("SvTime:" and the value from character 8), the FTP
// lines and the folder blocks of nine (relay) or twelve (cloud-share) lines.
// Prints "PORT <n>" on a line of its own once it listens.
//
// Its state lives in the state folder:
//   ids                  accepted communication IDs, one a line (missing: all)
//   ftp                  FTP host and password lines of the information reply
//   <id>/relay/NN.ini    a relay folder's data (NN 01..10)
//   <id>/cloud/NN.ini    a cloud-share line's data
//   requests.log         every request line received (the fPa value masked)
//   result               when present: its text replaces the result code
//   close-after          when present: the reply is cut after that many lines
#include <arpa/inet.h>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QSettings>
#include <QStringList>
#include <QUrl>

namespace {

QString gState;
int gEarlyClose = -1;
QString gTime;

QByteArray readFile(const QString& path)
{
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly))
    return {};
  return f.readAll();
}

void appendFile(const QString& path, const QByteArray& data)
{
  QFile f(path);
  if (f.open(QIODevice::Append))
    f.write(data);
}

QString nowCompact()
{
  return gTime.isEmpty() ? QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss")) : gTime;
}

// "yyyy-mm-dd hh:nn:ss" from a compact time.
QString separated(const QString& c)
{
  return c.mid(0, 4) + '-' + c.mid(4, 2) + '-' + c.mid(6, 2) + ' ' + c.mid(8, 2) + ':' + c.mid(10, 2) + ':' +
         c.mid(12, 2);
}

// "yyyy-mm-dd 00:00" from "yyyymmdd0000".
QString period(const QString& v)
{
  if (v.size() < 8)
    return QStringLiteral("0000-00-00 00:00");
  return v.mid(0, 4) + '-' + v.mid(4, 2) + '-' + v.mid(6, 2) + ' ' + v.mid(8, 2).leftJustified(2, '0') + ':' +
         v.mid(10, 2).leftJustified(2, '0');
}

struct Request {
  int Code = 0;
  QMap<QString, QString> Keys;
  bool Valid = false;
};

Request parseRequest(const QByteArray& line)
{
  Request r;
  static const QByteArray head = "GET /request.php?";
  if (!line.startsWith(head) || !line.endsWith(" HTTP/1.0"))
    return r;
  const QByteArray query = line.mid(head.size(), line.size() - head.size() - 9);
  for (const QByteArray& kv : query.split('&')) {
    const qsizetype eq = kv.indexOf('=');
    if (eq < 0)
      return r;
    r.Keys.insert(QString::fromLatin1(kv.left(eq)), QString::fromUtf8(QByteArray::fromPercentEncoding(kv.mid(eq + 1))));
  }
  bool ok = false;
  r.Code = r.Keys.value(QStringLiteral("Scode")).toInt(&ok);
  r.Valid = ok;
  return r;
}

QString folderFile(const QString& id, bool cloud, const QString& no)
{
  return gState + '/' + id + (cloud ? "/cloud/" : "/relay/") + no + ".ini";
}

bool validNo(const QString& no)
{
  bool ok = false;
  const int n = no.toInt(&ok);
  return no.size() == 2 && ok && n >= 1 && n <= 10;
}

class Reply {
 public:
  void line(const QString& s) { FLines << s; }
  void result(const QString& code)
  {
    const QByteArray forced = readFile(gState + "/result").trimmed();
    line(QStringLiteral("ResultCode") + (QFile::exists(gState + "/result") ? QString::fromLatin1(forced) : code));
  }
  QByteArray bytes() const
  {
    int n = FLines.size();
    bool ok = false;
    const int cut = QString::fromLatin1(readFile(gState + "/close-after")).trimmed().toInt(&ok);
    if (ok)
      n = std::min(n, cut);
    else if (gEarlyClose >= 0)
      n = std::min(n, gEarlyClose);
    QByteArray out;
    for (int i = 0; i < n; ++i)
      out += FLines[i].toLatin1() + "\r\n";
    return out;
  }

 private:
  QStringList FLines;
};

void folderBlock(Reply& rp, const QString& id, bool cloud, int no)
{
  const QString nn = QStringLiteral("%1").arg(no, 2, 10, QLatin1Char('0'));
  QSettings s(folderFile(id, cloud, nn), QSettings::IniFormat);
  rp.line(QStringLiteral("FolderName  :") + nn);
  rp.line(QStringLiteral("DataName :") + s.value("name").toString());
  rp.line(QStringLiteral("KaiNend  :") + s.value("nendo").toString());
  rp.line(QStringLiteral("StaKikan  :") + period(s.value("kis").toString()));
  rp.line(QStringLiteral("EndKikan  :") + period(s.value("kie").toString()));
  rp.line(QStringLiteral("UpDate   :") + separated(s.value("up", "00000000000000").toString()));
  rp.line(QStringLiteral("PassWord :") + s.value("pass").toString());
  rp.line(QStringLiteral("DataVer    :") + s.value("ver").toString());
  rp.line(QStringLiteral("DnDate   :") + separated(s.value("dn", "00000000000000").toString()));
  if (cloud) {
    rp.line(QStringLiteral("DataShare   :") + s.value("share", "1").toString());
    rp.line(QStringLiteral("OpName       :") + s.value("op").toString());
    rp.line(QStringLiteral("PcName       :") + s.value("pc").toString());
  }
}

void storeSend(const Request& r, const QString& id, bool cloud)
{
  QSettings s(folderFile(id, cloud, r.Keys.value("fSname")), QSettings::IniFormat);
  s.setValue("name", r.Keys.value("fSg"));
  s.setValue("nendo", r.Keys.value("fNe"));
  s.setValue("kis", r.Keys.value("fKis"));
  s.setValue("kie", r.Keys.value("fKie"));
  s.setValue("pass", r.Keys.value("fPa"));
  s.setValue("ver", r.Keys.value("fYobi"));
  s.setValue("up", nowCompact());
  if (cloud) {
    s.setValue("op", r.Keys.value("fOpName"));
    s.setValue("pc", r.Keys.value("fPcName"));
  }
}

QByteArray answer(const Request& r)
{
  Reply rp;
  rp.line(QStringLiteral("HTTP/1.0 200 OK"));
  rp.line(QStringLiteral("Content-Type: text/plain; charset=us-ascii"));
  rp.line(QStringLiteral("Connection: close"));
  rp.line(QString());
  const QString id = r.Keys.value("sFName");
  const QStringList ids = QString::fromUtf8(readFile(gState + "/ids")).split('\n', Qt::SkipEmptyParts);
  const bool idOk = !id.isEmpty() && (!QFile::exists(gState + "/ids") || ids.contains(id));
  const QString no = r.Keys.value("fSname");
  const bool notice = r.Code == 1810 || r.Code == 1821 || r.Code == 1824 || r.Code == 1831 || r.Code == 1834;
  if (notice)
    rp.line(QStringLiteral("SvTime:") + (r.Code == 1834 ? separated(nowCompact()) : nowCompact()));
  QString code = QStringLiteral("000");
  if (!r.Valid)
    code = QStringLiteral("900");
  else if (!idOk)
    code = QStringLiteral("920");
  else if (r.Code != 1721 && r.Code != 1726 && !validNo(no))
    code = QStringLiteral("910");
  if (code != QLatin1String("000") || !r.Valid) {
    rp.result(code);
    return rp.bytes();
  }
  QDir().mkpath(gState + '/' + id + "/relay");
  QDir().mkpath(gState + '/' + id + "/cloud");
  switch (r.Code) {
    case 1721:
    case 1726: {
      rp.result(code);
      const QStringList ftp = QString::fromUtf8(readFile(gState + "/ftp")).split('\n');
      rp.line(QStringLiteral("FtpAdd:") + (ftp.value(0).isEmpty() ? QStringLiteral("127.0.0.1") : ftp.value(0)));
      rp.line(QStringLiteral("FtpPas:") + ftp.value(1));
      rp.line(QStringLiteral("FtpEnd:"));
      for (int i = 1; i <= 10; ++i)
        folderBlock(rp, id, r.Code == 1726, i);
      return rp.bytes();
    }
    case 1731: {
      QSettings s(folderFile(id, true, no), QSettings::IniFormat);
      s.setValue("share", r.Keys.value("fShare"));
      s.setValue("op", r.Keys.value("fOpName"));
      s.setValue("pc", r.Keys.value("fPcName"));
      break;
    }
    case 1752:
    case 1754:
      QFile::remove(folderFile(id, r.Code == 1754, no));
      break;
    case 1810:
    case 1821:
      storeSend(r, id, false);
      break;
    case 1824:
      storeSend(r, id, true);
      break;
    case 1831: {
      QSettings s(folderFile(id, false, no), QSettings::IniFormat);
      s.setValue("dn", nowCompact());
      break;
    }
    case 1834: {
      QSettings s(folderFile(id, true, no), QSettings::IniFormat);
      s.setValue("share", "2");
      s.setValue("op", r.Keys.value("fOpName"));
      s.setValue("pc", r.Keys.value("fPcName"));
      s.setValue("dn", nowCompact());
      break;
    }
    default:
      code = QStringLiteral("900");
  }
  rp.result(code);
  return rp.bytes();
}

// Reads the request head up to its first empty line; the request line.
bool readHead(SSL* ssl, QByteArray& first)
{
  QByteArray buf;
  for (;;) {
    const qsizetype end = buf.indexOf("\r\n\r\n");
    if (end >= 0) {
      first = buf.left(buf.indexOf("\r\n"));
      return true;
    }
    if (buf.size() > 65536)
      return false;
    char tmp[2048];
    const int n = SSL_read(ssl, tmp, sizeof tmp);
    if (n <= 0)
      return false;
    buf.append(tmp, n);
  }
}

QByteArray masked(const QByteArray& line)
{
  QByteArray out = line;
  const qsizetype p = out.indexOf("&fPa=");
  if (p >= 0) {
    qsizetype e = out.indexOf('&', p + 1);
    if (e < 0)
      e = out.indexOf(' ', p);
    out.replace(p + 5, e - p - 5, "***");
  }
  return out;
}

}  // namespace

int main(int argc, char** argv)
{
  QString cert, key;
  int port = 0;
  QString maxTls;
  for (int i = 1; i + 1 < argc; i += 2) {
    const QString a = QString::fromLocal8Bit(argv[i]);
    const QString v = QString::fromLocal8Bit(argv[i + 1]);
    if (a == "--cert")
      cert = v;
    else if (a == "--key")
      key = v;
    else if (a == "--state")
      gState = v;
    else if (a == "--port")
      port = v.toInt();
    else if (a == "--early-close")
      gEarlyClose = v.toInt();
    else if (a == "--time")
      gTime = v;
    else if (a == "--max-tls")
      maxTls = v;
    else {
      std::fprintf(stderr, "unknown option %s\n", argv[i]);
      return 2;
    }
  }
  if (cert.isEmpty() || key.isEmpty() || gState.isEmpty()) {
    std::fprintf(stderr,
                 "usage: rendo-relay-peer --cert FILE --key FILE --state DIR [--port N] "
                 "[--early-close N] [--time yyyymmddhhnnss]\n");
    return 2;
  }
  std::signal(SIGPIPE, SIG_IGN);
  QDir().mkpath(gState);

  SSL_CTX* ctx = SSL_CTX_new(TLS_server_method());
  SSL_CTX_set_min_proto_version(ctx, TLS1_2_VERSION);
  if (maxTls == QLatin1String("1.1")) {
    // An old server, for the test that such a server is refused.
    SSL_CTX_set_security_level(ctx, 0);
    SSL_CTX_set_cipher_list(ctx, "DEFAULT:@SECLEVEL=0");
    SSL_CTX_set_min_proto_version(ctx, TLS1_VERSION);
    SSL_CTX_set_max_proto_version(ctx, TLS1_1_VERSION);
  }
  if (SSL_CTX_use_certificate_chain_file(ctx, cert.toLocal8Bit().constData()) != 1 ||
      SSL_CTX_use_PrivateKey_file(ctx, key.toLocal8Bit().constData(), SSL_FILETYPE_PEM) != 1) {
    ERR_print_errors_fp(stderr);
    return 1;
  }

  const int lfd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const int one = 1;
  ::setsockopt(lfd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = htons(quint16(port));
  if (::bind(lfd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(lfd, 16) != 0) {
    std::perror("bind");
    return 1;
  }
  socklen_t len = sizeof addr;
  ::getsockname(lfd, reinterpret_cast<sockaddr*>(&addr), &len);
  std::printf("PORT %d\n", ntohs(addr.sin_port));
  std::fflush(stdout);

  for (;;) {
    const int fd = ::accept4(lfd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0)
      continue;
    timeval tv{10, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    SSL* ssl = SSL_new(ctx);
    SSL_set_fd(ssl, fd);
    QByteArray first;
    if (SSL_accept(ssl) == 1 && readHead(ssl, first)) {
      appendFile(gState + "/requests.log", masked(first) + '\n');
      const QByteArray out = answer(parseRequest(first));
      SSL_write(ssl, out.constData(), int(out.size()));
      SSL_shutdown(ssl);
      // A lingering close: what the client still sends (a second empty line)
      // is read and dropped, so the reply is not lost to a reset.
      ::shutdown(fd, SHUT_WR);
      timeval drain{1, 0};
      ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &drain, sizeof drain);
      char sink[1024];
      while (::read(fd, sink, sizeof sink) > 0) {
      }
    }
    ERR_clear_error();
    SSL_free(ssl);
    ::close(fd);
  }
}
