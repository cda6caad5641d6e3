#include "comm/RelayConnection.h"

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

TRelayConfig RelayConfigFromEnvironment()
{
  TRelayConfig c;
  c.Host = qEnvironmentVariable("RENDO_RELAY_HOST");
  bool ok = false;
  const int port = qEnvironmentVariable("RENDO_RELAY_PORT").toInt(&ok);
  if (ok && port > 0 && port < 65536)
    c.Port = port;
  c.CaFile = qEnvironmentVariable("RENDO_RELAY_CA_FILE");
  c.Serial = qEnvironmentVariable("RENDO_RELAY_SERIAL");
  return c;
}

namespace {

QString sslErrorText()
{
  QString out;
  while (const unsigned long e = ERR_get_error()) {
    char buf[256];
    ERR_error_string_n(e, buf, sizeof buf);
    if (!out.isEmpty())
      out += QStringLiteral("; ");
    out += QString::fromLatin1(buf);
  }
  return out;
}

// Connects a socket to one address within ATimeoutMs; -1 on failure (errno set).
int connectWithin(const addrinfo* a, int ATimeoutMs)
{
  const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
  if (fd < 0)
    return -1;
  const int flags = ::fcntl(fd, F_GETFL, 0);
  ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
  int rc = ::connect(fd, a->ai_addr, a->ai_addrlen);
  if (rc < 0 && errno == EINPROGRESS) {
    pollfd p{fd, POLLOUT, 0};
    rc = ::poll(&p, 1, ATimeoutMs);
    if (rc == 0) {
      errno = ETIMEDOUT;
      rc = -1;
    } else if (rc > 0) {
      int err = 0;
      socklen_t len = sizeof err;
      ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len);
      errno = err;
      rc = err == 0 ? 0 : -1;
    }
  }
  if (rc < 0) {
    const int saved = errno;
    ::close(fd);
    errno = saved;
    return -1;
  }
  ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  return fd;
}

}  // namespace

struct TRelayConnection::TImpl {
  int Fd = -1;
  SSL_CTX* Ctx = nullptr;
  SSL* Ssl = nullptr;
  QByteArray Buffer;
  bool Eof = false;

  ~TImpl() { Close(); }
  void Close()
  {
    if (Ssl) {
      SSL_shutdown(Ssl);
      SSL_free(Ssl);
      Ssl = nullptr;
    }
    if (Ctx) {
      SSL_CTX_free(Ctx);
      Ctx = nullptr;
    }
    if (Fd >= 0) {
      ::close(Fd);
      Fd = -1;
    }
    Buffer.clear();
    Eof = false;
  }
};

TRelayConnection::TRelayConnection() : FImpl(std::make_unique<TImpl>()) {}
TRelayConnection::~TRelayConnection() = default;

bool TRelayConnection::Connected() const
{
  return FImpl->Ssl != nullptr;
}

void TRelayConnection::Close()
{
  FImpl->Close();
}

void TRelayConnection::Connect(const TRelayConfig& AConfig)
{
  Close();
  // A peer that goes away while we write must end in an error, not the process.
  static std::once_flag noSigPipe;
  std::call_once(noSigPipe, [] { std::signal(SIGPIPE, SIG_IGN); });
  if (AConfig.Host.trimmed().isEmpty())
    throw ERelayConnectError(QStringLiteral("No relay server host is configured."));
  TImpl& m = *FImpl;

  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* list = nullptr;
  const QByteArray host = AConfig.Host.toUtf8();
  const QByteArray port = QByteArray::number(AConfig.Port);
  if (const int rc = ::getaddrinfo(host.constData(), port.constData(), &hints, &list); rc != 0)
    throw ERelayConnectError(QStringLiteral("The relay server %1 cannot be found: %2")
                                 .arg(AConfig.Host, QString::fromLocal8Bit(gai_strerror(rc))));
  int lastErr = 0;
  for (addrinfo* a = list; a && m.Fd < 0; a = a->ai_next) {
    m.Fd = connectWithin(a, AConfig.ConnectTimeoutMs);
    if (m.Fd < 0)
      lastErr = errno;
  }
  ::freeaddrinfo(list);
  if (m.Fd < 0)
    throw ERelayConnectError(QStringLiteral("The relay server %1:%2 cannot be reached: %3")
                                 .arg(AConfig.Host)
                                 .arg(AConfig.Port)
                                 .arg(QString::fromLocal8Bit(std::strerror(lastErr))));
  timeval tv{};
  tv.tv_sec = AConfig.ReadTimeoutMs / 1000;
  tv.tv_usec = (AConfig.ReadTimeoutMs % 1000) * 1000;
  ::setsockopt(m.Fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
  ::setsockopt(m.Fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);

  auto fail = [&](const QString& what) {
    const QString detail = sslErrorText();
    Close();
    throw ERelayConnectError(detail.isEmpty() ? what : what + QStringLiteral(": ") + detail);
  };
  m.Ctx = SSL_CTX_new(TLS_client_method());
  if (!m.Ctx)
    fail(QStringLiteral("TLS cannot be set up"));
  SSL_CTX_set_min_proto_version(m.Ctx, TLS1_2_VERSION);
  SSL_CTX_set_verify(m.Ctx, SSL_VERIFY_PEER, nullptr);
  if (!AConfig.CaFile.isEmpty()) {
    if (SSL_CTX_load_verify_locations(m.Ctx, AConfig.CaFile.toLocal8Bit().constData(), nullptr) != 1)
      fail(QStringLiteral("The CA file %1 cannot be read").arg(AConfig.CaFile));
  } else if (SSL_CTX_set_default_verify_paths(m.Ctx) != 1) {
    fail(QStringLiteral("The system's certificate store cannot be read"));
  }
  m.Ssl = SSL_new(m.Ctx);
  if (!m.Ssl)
    fail(QStringLiteral("TLS cannot be set up"));
  SSL_set_fd(m.Ssl, m.Fd);
  // The certificate must name the host: an address by its IP entry, a
  // name by its DNS entries.
  in6_addr any{};
  const bool isAddress =
      ::inet_pton(AF_INET, host.constData(), &any) == 1 || ::inet_pton(AF_INET6, host.constData(), &any) == 1;
  if (isAddress) {
    if (X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(m.Ssl), host.constData()) != 1)
      fail(QStringLiteral("The host address cannot be checked"));
  } else {
    SSL_set_tlsext_host_name(m.Ssl, host.constData());
    if (SSL_set1_host(m.Ssl, host.constData()) != 1)
      fail(QStringLiteral("The host name cannot be checked"));
  }
  if (SSL_connect(m.Ssl) != 1) {
    const long verify = SSL_get_verify_result(m.Ssl);
    if (verify != X509_V_OK)
      fail(QStringLiteral("The relay server's certificate was refused (%1)")
               .arg(QString::fromLatin1(X509_verify_cert_error_string(verify))));
    fail(QStringLiteral("The TLS handshake with the relay server failed"));
  }
  if (SSL_get_verify_result(m.Ssl) != X509_V_OK)
    fail(QStringLiteral("The relay server's certificate was refused"));
}

void TRelayConnection::WriteLine(const QByteArray& ALine)
{
  TImpl& m = *FImpl;
  if (!m.Ssl)
    throw ERelayConnectError(QStringLiteral("Not connected to the relay server."));
  const QByteArray data = ALine + "\r\n";
  qsizetype done = 0;
  while (done < data.size()) {
    const int n = SSL_write(m.Ssl, data.constData() + done, int(data.size() - done));
    if (n <= 0)
      throw ERelayConnectError(QStringLiteral("Writing to the relay server failed: %1").arg(sslErrorText()));
    done += n;
  }
}

bool TRelayConnection::ReadLine(QByteArray& ALine)
{
  TImpl& m = *FImpl;
  if (!m.Ssl)
    return false;
  for (;;) {
    const qsizetype lf = m.Buffer.indexOf('\n');
    if (lf >= 0) {
      ALine = m.Buffer.left(lf);
      m.Buffer.remove(0, lf + 1);
      if (ALine.endsWith('\r'))
        ALine.chop(1);
      return true;
    }
    if (m.Eof || m.Buffer.size() > RelayMaxLineLength) {
      if (m.Buffer.isEmpty())
        return false;
      // The last line without LF, or a line beyond any sane length (the
      // reader refuses it).
      ALine = m.Buffer;
      m.Buffer.clear();
      m.Eof = true;
      return true;
    }
    char buf[4096];
    const int n = SSL_read(m.Ssl, buf, sizeof buf);
    if (n > 0) {
      m.Buffer.append(buf, n);
      continue;
    }
    const int err = SSL_get_error(m.Ssl, n);
    if (err == SSL_ERROR_ZERO_RETURN) {
      m.Eof = true;
      continue;
    }
    if (err == SSL_ERROR_SYSCALL && (errno == EAGAIN || errno == EWOULDBLOCK))
      throw ERelayConnectError(QStringLiteral("The relay server did not answer in time."));
    // A peer that closes without a TLS close notice: the reply has ended.
    ERR_clear_error();
    m.Eof = true;
  }
}
