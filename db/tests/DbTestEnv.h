#pragma once
#include <gtest/gtest.h>
#include <memory>

#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "tests/support/FirebirdServer.h"
#include "tests/support/TempDir.h"

// Embedded connections of these tests use a private Firebird root holding
// our UDR module; set before the first connection of the process.
class DbTestEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { FirebirdServer::useEmbeddedRootWithUdr(); }
};

// A fresh database file in a temporary folder, connected as ABACOR.
inline std::unique_ptr<db::Database> createTestDb(const TestTempDir& tmp, const QString& file = QStringLiteral("t.fdb"),
                                                  const QString& nameForConnect = QString())
{
  const QString path = tmp.file(file);
  db::Database::create(nameForConnect.isEmpty() ? path : nameForConnect, QString::fromLatin1(FirebirdServer::User),
                       QString::fromLatin1(FirebirdServer::Password));
  auto d = std::make_unique<db::Database>(nameForConnect.isEmpty() ? path : nameForConnect);
  d->setUser(QString::fromLatin1(FirebirdServer::User));
  d->setPassword(QString::fromLatin1(FirebirdServer::Password));
  d->connect();
  return d;
}

// Runs one statement in its own transaction and commits.
inline void execCommit(db::Database& d, const QString& sql)
{
  db::Transaction tr(d);
  tr.start();
  db::Query q(tr);
  q.setParamCheck(false);
  q.setSql(sql);
  q.exec();
  tr.commit();
}
