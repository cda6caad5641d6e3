// One TLS connection to the relay server, made for one request.
//
// TLS 1.2 or later only; the server's certificate chain is verified against
// the configured CA file (or the system's store when none is configured) and
// its name against the host name. Nothing is sent over a connection that
// fails either test. Connect and read timeouts come from the configuration.
#pragma once

#include <memory>

#include <QByteArray>
#include <QString>

#include "comm/RelayReply.h"
#include "platform/AppError.h"

// Where and how the relay server is reached. Host, port, CA file and serial
// number are configuration of the installation (RelayConfigFromEnvironment).
struct TRelayConfig {
  QString Host;
  int Port = 443;
  // PEM file of the CAs to trust; empty: the system's store.
  QString CaFile;
  // The installation's identifier, sent as sSno.
  QString Serial;
  int ConnectTimeoutMs = 100000;
  int ReadTimeoutMs = 500000;
};

// The configuration from the environment: RENDO_RELAY_HOST,
// RENDO_RELAY_PORT, RENDO_RELAY_CA_FILE, RENDO_RELAY_SERIAL.
TRelayConfig RelayConfigFromEnvironment();

// A connection that could not be made or broke (name resolution, connect,
// TLS handshake, certificate, timeout, write).
class ERelayConnectError : public EAppError {
 public:
  using EAppError::EAppError;
};

class TRelayConnection : public TRelayLineSource {
 public:
  TRelayConnection();
  ~TRelayConnection() override;
  TRelayConnection(const TRelayConnection&) = delete;
  TRelayConnection& operator=(const TRelayConnection&) = delete;

  // Connects and completes the TLS handshake with verification; throws
  // ERelayConnectError.
  void Connect(const TRelayConfig& AConfig);
  bool Connected() const;
  // Writes ALine followed by CR LF.
  void WriteLine(const QByteArray& ALine);
  bool ReadLine(QByteArray& ALine) override;
  void Close();

 private:
  struct TImpl;
  std::unique_ptr<TImpl> FImpl;
};
