// The relay peer for the communication tests: a test CA and server
// certificates made with openssl in a temporary folder, and peer processes
// on loopback ports, each with its own state folder.
#pragma once

#include <gtest/gtest.h>
#include <memory>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>

#include "comm/RelayConnection.h"
#include "tests/support/TempDir.h"

namespace relaytest {

inline bool runOpenssl(const QString& dir, const QStringList& args)
{
  QProcess p;
  p.setWorkingDirectory(dir);
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(QStringLiteral("openssl"), args);
  if (!p.waitForFinished(60000) || p.exitCode() != 0) {
    ADD_FAILURE() << "openssl " << args.join(' ').toStdString() << ": " << p.readAll().toStdString();
    return false;
  }
  return true;
}

inline void writeText(const QString& path, const QByteArray& text)
{
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(text);
}

// A CA ("<name>-ca.pem") in dir.
inline void makeCa(const QString& dir, const QString& name)
{
  runOpenssl(dir, {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-keyout",
                   name + "-ca.key", "-out", name + "-ca.pem", "-days", "2", "-subj", "/CN=" + name + " test CA",
                   "-addext", "basicConstraints=critical,CA:TRUE", "-addext", "keyUsage=critical,keyCertSign,cRLSign"});
}

// A server certificate "<name>.pem"/"<name>.key" for the subject names
// `san`, signed by the CA `ca`.
inline void makeServerCert(const QString& dir, const QString& ca, const QString& name, const QString& san)
{
  writeText(dir + "/" + name + ".ext",
            ("basicConstraints=CA:FALSE\nkeyUsage=digitalSignature\nextendedKeyUsage=serverAuth\nsubjectAltName=" +
             san + "\n")
                .toUtf8());
  runOpenssl(dir, {"req", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-keyout",
                   name + ".key", "-out", name + ".csr", "-subj", "/CN=" + name});
  runOpenssl(dir, {"x509", "-req", "-in", name + ".csr", "-CA", ca + "-ca.pem", "-CAkey", ca + "-ca.key",
                   "-CAcreateserial", "-out", name + ".pem", "-days", "2", "-extfile", name + ".ext"});
}

// One peer process.
class Peer {
 public:
  Peer(const QString& dir, const QString& cert, const QString& state, const QStringList& extra = {}) : FState(state)
  {
    QDir().mkpath(state);
    const QString exe = QStringLiteral(RENDO_BINARY_DIR "/tools/relay_peer/rendo-relay-peer");
    FProcess.start(exe, QStringList{"--cert", dir + "/" + cert + ".pem", "--key", dir + "/" + cert + ".key", "--state",
                                    state, "--time", "20261211093015"} +
                            extra);
    if (!FProcess.waitForStarted(10000)) {
      ADD_FAILURE() << "the relay peer did not start";
      return;
    }
    while (!FProcess.canReadLine() && FProcess.waitForReadyRead(10000)) {
    }
    const QByteArray line = FProcess.readLine().trimmed();
    if (!line.startsWith("PORT ")) {
      ADD_FAILURE() << "the relay peer did not report its port: " << line.toStdString()
                    << FProcess.readAllStandardError().toStdString();
      return;
    }
    FPort = line.mid(5).toInt();
  }
  ~Peer()
  {
    FProcess.kill();
    FProcess.waitForFinished(5000);
  }
  int Port() const { return FPort; }
  const QString& State() const { return FState; }
  // Writes a control or state file of the peer.
  void Set(const QString& file, const QByteArray& text) const
  {
    QDir().mkpath(QFileInfo(FState + "/" + file).absolutePath());
    writeText(FState + "/" + file, text);
  }
  void Unset(const QString& file) const { QFile::remove(FState + "/" + file); }
  QStringList Requests() const
  {
    QFile f(FState + "/requests.log");
    if (!f.open(QIODevice::ReadOnly))
      return {};
    return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
  }

 private:
  QString FState;
  QProcess FProcess;
  int FPort = 0;
};

// The certificates and four peers: the good one (CA "test", names
// localhost and 127.0.0.1), one whose certificate comes from another CA, one
// whose certificate names another host, and the good certificate on a
// server that speaks TLS 1.1 at most.
class Env {
 public:
  Env()
  {
    const QString d = FDir.path();
    makeCa(d, "test");
    makeCa(d, "other");
    makeServerCert(d, "test", "good", "DNS:localhost,IP:127.0.0.1");
    makeServerCert(d, "other", "foreign", "DNS:localhost,IP:127.0.0.1");
    makeServerCert(d, "test", "misnamed", "DNS:wrong.example");
    Good = std::make_unique<Peer>(d, "good", d + "/state-good");
    Foreign = std::make_unique<Peer>(d, "foreign", d + "/state-foreign");
    Misnamed = std::make_unique<Peer>(d, "misnamed", d + "/state-misnamed");
    Old = std::make_unique<Peer>(d, "good", d + "/state-old", QStringList{"--max-tls", "1.1"});
  }
  QString CaFile() const { return FDir.path() + "/test-ca.pem"; }
  TRelayConfig Config(const Peer& APeer, const QString& AHost = QStringLiteral("localhost")) const
  {
    TRelayConfig c;
    c.Host = AHost;
    c.Port = APeer.Port();
    c.CaFile = CaFile();
    c.Serial = QStringLiteral("SN-0001");
    c.ConnectTimeoutMs = 5000;
    c.ReadTimeoutMs = 5000;
    return c;
  }

  TestTempDir FDir;
  std::unique_ptr<Peer> Good, Foreign, Misnamed, Old;
};

}  // namespace relaytest
