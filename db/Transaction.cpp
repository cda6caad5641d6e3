#include "db/Transaction.h"

#include <ibase.h>

#include "db/Database.h"
#include "db/FbApi.h"
#include "db/Query.h"

using namespace Firebird;

namespace db {
namespace {

QStringList wordsFor(Transaction::Kind kind)
{
  switch (kind) {
    case Transaction::ReadCommitted:
      return {QStringLiteral("read_committed"), QStringLiteral("rec_version"), QStringLiteral("nowait"),
              QStringLiteral("write")};
    case Transaction::ReadCommittedReadOnly:
      return {QStringLiteral("read_committed"), QStringLiteral("rec_version"), QStringLiteral("nowait"),
              QStringLiteral("read")};
    case Transaction::Snapshot:
      return {QStringLiteral("concurrency"), QStringLiteral("nowait"), QStringLiteral("write")};
    case Transaction::Consistency:
      return {QStringLiteral("write"), QStringLiteral("consistency")};
  }
  return {};
}

int tagFor(const QString& word)
{
  static const struct {
    const char* word;
    int tag;
  } table[] = {
      {"read_committed", isc_tpb_read_committed},
      {"rec_version", isc_tpb_rec_version},
      {"no_rec_version", isc_tpb_no_rec_version},
      {"nowait", isc_tpb_nowait},
      {"wait", isc_tpb_wait},
      {"concurrency", isc_tpb_concurrency},
      {"consistency", isc_tpb_consistency},
      {"read", isc_tpb_read},
      {"write", isc_tpb_write},
  };
  const QString w = word.trimmed().toLower();
  for (const auto& e : table)
    if (w == QLatin1String(e.word))
      return e.tag;
  return -1;
}

}  // namespace

Transaction::Transaction(Database& db, Kind kind) : m_db(&db), m_dbs{&db}, m_kind(kind), m_params(wordsFor(kind))
{
  m_db->registerTransaction(this);
}

Transaction::~Transaction()
{
  if (m_tra) {
    closeQueries();
    fb::Status st;
    m_tra->rollback(&st);
    if (st.failed())
      m_tra->release();
    m_tra = nullptr;
  }
  for (Query* q : m_queries)
    q->m_tr = nullptr;
  for (Database* d : m_dbs)
    d->unregisterTransaction(this);
}

void Transaction::addDatabase(Database& db)
{
  if (m_dbs.contains(&db))
    return;
  if (m_tra)
    throw DbError(QStringLiteral("Transaction is active: no database can be added"));
  m_dbs.append(&db);
  db.registerTransaction(this);
}

void Transaction::removeDatabase(Database& db)
{
  if (m_tra)
    throw DbError(QStringLiteral("Transaction is active: no database can be removed"));
  if (&db == m_db || !m_dbs.contains(&db))
    return;
  m_dbs.removeAll(&db);
  db.unregisterTransaction(this);
  for (Query* q : m_queries)
    if (q->m_db == &db)
      q->m_db = nullptr;
}

bool Transaction::hasDatabase(const Database& db) const
{
  for (const Database* d : m_dbs)
    if (d == &db)
      return true;
  return false;
}

void Transaction::forgetDatabase(Database* db) noexcept
{
  m_dbs.removeAll(db);
  if (m_db == db)
    m_db = nullptr;
  for (Query* q : m_queries)
    if (q->m_db == db)
      q->m_db = nullptr;
}

void Transaction::setKind(Kind kind)
{
  m_kind = kind;
  m_params = wordsFor(kind);
}

void Transaction::setParams(const QStringList& words)
{
  for (const QString& w : words)
    if (tagFor(w) < 0)
      throw DbError(QStringLiteral("Unknown transaction parameter: %1").arg(w));
  m_params = words;
}

void Transaction::start()
{
  if (!m_db)
    throw DbError(QStringLiteral("Transaction has no database"));
  if (m_tra)
    throw DbError(QStringLiteral("Transaction is already active"));
  m_db->requireConnected();
  fb::Status st;
  fb::Disposable<IXpbBuilder> tpb(fb::util()->getXpbBuilder(&st, IXpbBuilder::TPB, nullptr, 0));
  st.check();
  for (const QString& w : m_params) {
    tpb->insertTag(&st, tagFor(w));
    st.check();
  }
  const unsigned tpbLength = tpb->getBufferLength(&st);
  st.check();
  const unsigned char* tpbBuffer = tpb->getBuffer(&st);
  st.check();
  QList<IAttachment*> atts;
  for (Database* d : m_dbs)
    if (d->isConnected() && !atts.contains(d->attachment()))
      atts.append(d->attachment());
  if (atts.size() == 1) {
    ITransaction* tra = m_db->attachment()->startTransaction(&st, tpbLength, tpbBuffer);
    st.check();
    m_tra = tra;
    return;
  }
  // One distributed transaction over every attachment. The builder disposes
  // of itself when start() succeeds; otherwise it is ours to dispose of.
  IDtcStart* builder = fb::master()->getDtc()->startBuilder(&st);
  st.check();
  for (IAttachment* att : atts) {
    builder->addWithTpb(&st, att, tpbLength, tpbBuffer);
    if (st.failed()) {
      DbError e = st.error();
      builder->dispose();
      throw e;
    }
  }
  ITransaction* tra = builder->start(&st);
  if (st.failed()) {
    DbError e = st.error();
    builder->dispose();
    throw e;
  }
  m_tra = tra;
}

bool Transaction::startIfNeeded()
{
  if (m_tra)
    return false;
  start();
  return true;
}

namespace {
void requireActive(ITransaction* t)
{
  if (!t)
    throw DbError(QStringLiteral("Transaction is not active"));
}
}  // namespace

void Transaction::commit()
{
  requireActive(m_tra);
  closeQueries();
  fb::Status st;
  m_tra->commit(&st);
  if (st.failed()) {
    DbError e = st.error();
    if (e.isLostConnection()) {
      m_tra->release();
      m_tra = nullptr;
    }
    throw e;
  }
  m_tra = nullptr;
}

void Transaction::rollback()
{
  requireActive(m_tra);
  closeQueries();
  fb::Status st;
  m_tra->rollback(&st);
  if (st.failed()) {
    // A rollback that fails leaves nothing to keep: drop the handle.
    DbError e = st.error();
    m_tra->release();
    m_tra = nullptr;
    throw e;
  }
  m_tra = nullptr;
}

void Transaction::commitRetaining()
{
  requireActive(m_tra);
  fb::Status st;
  m_tra->commitRetaining(&st);
  st.check();
}

void Transaction::rollbackRetaining()
{
  requireActive(m_tra);
  fb::Status st;
  m_tra->rollbackRetaining(&st);
  st.check();
}

void Transaction::endForDisconnect() noexcept
{
  for (Query* q : m_queries)
    q->releaseForDisconnect();
  if (!m_tra)
    return;
  try {
    fb::Status st;
    m_tra->rollback(&st);
    if (st.failed())
      m_tra->release();
  } catch (...) {
  }
  m_tra = nullptr;
}

void Transaction::registerQuery(Query* q)
{
  m_queries.append(q);
}

void Transaction::unregisterQuery(Query* q) noexcept
{
  m_queries.removeAll(q);
}

void Transaction::closeQueries() noexcept
{
  for (Query* q : m_queries)
    q->close();
}

}  // namespace db
