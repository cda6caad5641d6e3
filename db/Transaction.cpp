#include "db/Transaction.h"

#include <ibase.h>
#include <utility>

#include "db/Database.h"
#include "db/FbApi.h"
#include "db/Query.h"

using namespace Firebird;

namespace db {
namespace {

using Option = Transaction::Option;

// The parameter tag of each option, in the order they go into the buffer.
constexpr struct {
  Option option;
  int tag;
} kOptionTags[] = {
    {Option::ReadCommitted, isc_tpb_read_committed},
    {Option::Concurrency, isc_tpb_concurrency},
    {Option::Consistency, isc_tpb_consistency},
    {Option::RecVersion, isc_tpb_rec_version},
    {Option::NoRecVersion, isc_tpb_no_rec_version},
    {Option::Wait, isc_tpb_wait},
    {Option::NoWait, isc_tpb_nowait},
    {Option::Read, isc_tpb_read},
    {Option::Write, isc_tpb_write},
};

void requireConsistent(Transaction::Options o)
{
  const int isolations = int(o.testFlag(Option::ReadCommitted)) + int(o.testFlag(Option::Concurrency)) +
                         int(o.testFlag(Option::Consistency));
  const bool contradicts = isolations > 1 || (o.testFlag(Option::RecVersion) && o.testFlag(Option::NoRecVersion)) ||
                           (o.testFlag(Option::Wait) && o.testFlag(Option::NoWait)) ||
                           (o.testFlag(Option::Read) && o.testFlag(Option::Write));
  if (contradicts)
    throw DbError(QStringLiteral("Contradictory transaction options (0x%1)").arg(unsigned(o.toInt()), 0, 16));
}

}  // namespace

Transaction::Options Transaction::optionsFor(Kind kind)
{
  switch (kind) {
    case ReadCommitted:
      return Option::ReadCommitted | Option::RecVersion | Option::NoWait | Option::Write;
    case ReadCommittedReadOnly:
      return Option::ReadCommitted | Option::RecVersion | Option::NoWait | Option::Read;
    case Snapshot:
      return Option::Concurrency | Option::NoWait | Option::Write;
    case Consistency:
      return Option::Consistency | Option::Write;
  }
  return {};
}

Transaction::Transaction(Database& db, Kind kind) : m_db(&db), m_kind(kind), m_options(optionsFor(kind))
{
  m_db->registerTransaction(this);
}

Transaction::Transaction(Database& db, Options options) : Transaction(db, ReadCommitted)
{
  setOptions(options);
}

Transaction::~Transaction()
{
  leave();
}

Transaction::Transaction(Transaction&& other) noexcept : m_db(nullptr), m_kind(other.m_kind), m_options(other.m_options)
{
  takeOver(other);
}

Transaction& Transaction::operator=(Transaction&& other) noexcept
{
  if (this != &other) {
    leave();
    m_kind = other.m_kind;
    m_options = other.m_options;
    takeOver(other);
  }
  return *this;
}

void Transaction::leave() noexcept
{
  if (m_tra) {
    closeQueries();
    fb::Status st;
    m_tra->rollback(&st);
    if (!st.failed())
      m_tra.released();
    m_tra.reset();
  }
  // Queries made on this object cannot follow it: they lose their transaction.
  for (Query* q : std::exchange(m_queries, {})) {
    q->releaseForDisconnect();
    q->m_tr = nullptr;
  }
  if (m_db)
    m_db->unregisterTransaction(this);
  m_db = nullptr;
  for (Database* d : std::exchange(m_more, {}))
    d->unregisterTransaction(this);
}

void Transaction::takeOver(Transaction& other) noexcept
{
  // The Firebird transaction goes with the object; the queries of the
  // moved-from object (their cursors are on that transaction) are let go.
  for (Query* q : std::exchange(other.m_queries, {})) {
    q->releaseForDisconnect();
    q->m_tr = nullptr;
  }
  m_tra = std::move(other.m_tra);
  m_db = std::exchange(other.m_db, nullptr);
  if (m_db)
    m_db->replaceTransaction(&other, this);
  m_more = std::exchange(other.m_more, {});
  for (Database* d : m_more)
    d->replaceTransaction(&other, this);
}

void Transaction::addDatabase(Database& db)
{
  if (hasDatabase(db))
    return;
  if (!m_db)
    throw DbError(QStringLiteral("Transaction has no database"));
  if (m_tra)
    throw DbError(QStringLiteral("Transaction is active: no database can be added"));
  m_more.append(&db);
  db.registerTransaction(this);
}

void Transaction::removeDatabase(Database& db)
{
  if (!m_more.contains(&db))
    return;
  if (m_tra)
    throw DbError(QStringLiteral("Transaction is active: no database can be removed"));
  m_more.removeAll(&db);
  db.unregisterTransaction(this);
  for (Query* q : m_queries)
    if (q->m_db == &db)
      q->m_db = nullptr;
}

QList<Database*> Transaction::databases() const
{
  QList<Database*> out;
  if (m_db)
    out << m_db;
  return out + m_more;
}

bool Transaction::hasDatabase(const Database& db) const
{
  return m_db == &db || m_more.contains(const_cast<Database*>(&db));
}

void Transaction::forgetDatabase(Database* db) noexcept
{
  m_more.removeAll(db);
  if (m_db == db)
    m_db = nullptr;
  for (Query* q : m_queries)
    if (q->m_db == db)
      q->m_db = nullptr;
}

Database& Transaction::database() const
{
  if (!m_db)
    throw DbError(QStringLiteral("Transaction has no database (moved from, or its database was destroyed)"));
  return *m_db;
}

void Transaction::setKind(Kind kind)
{
  m_kind = kind;
  m_options = optionsFor(kind);
}

void Transaction::setOptions(Options options)
{
  requireConsistent(options);
  m_options = options;
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
  for (const auto& e : kOptionTags) {
    if (m_options.testFlag(e.option)) {
      tpb->insertTag(&st, e.tag);
      st.check();
    }
  }
  const unsigned tpbLength = tpb->getBufferLength(&st);
  st.check();
  const unsigned char* tpbBuffer = tpb->getBuffer(&st);
  st.check();
  QList<IAttachment*> atts{m_db->attachment()};
  for (Database* d : m_more)
    if (d->isConnected() && !atts.contains(d->attachment()))
      atts.append(d->attachment());
  if (atts.size() == 1) {
    fb::Ref<ITransaction> tra(m_db->attachment()->startTransaction(&st, tpbLength, tpbBuffer));
    st.check();
    m_tra = std::move(tra);
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
  fb::Ref<ITransaction> tra(builder->start(&st));
  if (st.failed()) {
    DbError e = st.error();
    builder->dispose();
    throw e;
  }
  m_tra = std::move(tra);
}

bool Transaction::startIfNeeded()
{
  if (m_tra)
    return false;
  start();
  return true;
}

namespace {
void requireActive(const fb::Ref<ITransaction>& t)
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
    if (e.isLostConnection())
      m_tra.reset();
    throw e;
  }
  m_tra.released();
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
    m_tra.reset();
    throw e;
  }
  m_tra.released();
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
    if (!st.failed())
      m_tra.released();
  } catch (...) {
    // Nothing is lost: the connection is being closed, which ends the
    // transaction on the server; the handle is dropped below.
  }
  m_tra.reset();
}

void Transaction::registerQuery(Query* q)
{
  m_queries.append(q);
}

void Transaction::replaceQuery(Query* from, Query* to) noexcept
{
  const qsizetype i = m_queries.indexOf(from);
  if (i >= 0)
    m_queries[i] = to;
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
