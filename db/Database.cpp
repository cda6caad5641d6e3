#include "db/Database.h"

#include <ibase.h>

#include "db/FbApi.h"
#include "db/Query.h"
#include "db/Transaction.h"

using namespace Firebird;

namespace db {

struct Database::Children {
  QList<Transaction*> transactions;
};

Database::Database() : m_children(std::make_unique<Children>()) {}

Database::Database(const QString& databaseName) : Database()
{
  m_name = databaseName;
}

Database::~Database()
{
  disconnect();
  for (Transaction* t : m_children->transactions)
    t->forgetDatabase(this);
}

QString Database::remoteName(const QString& host, int port, const QString& path)
{
  return QStringLiteral("%1/%2:%3").arg(host).arg(port).arg(path);
}

namespace {

// Connection parameters common to attach and create. File names travel as
// their UTF-8 bytes, which is what the file system holds (the engine would
// otherwise transliterate them to the process locale, which may be "C").
void addLogin(IXpbBuilder* dpb, fb::Status& st, const QString& user, const QString& password, const QString& role,
              const QString& charset)
{
  if (!user.isEmpty())
    dpb->insertString(&st, isc_dpb_user_name, user.toUtf8().constData());
  st.check();
  if (!password.isEmpty())
    dpb->insertString(&st, isc_dpb_password, password.toUtf8().constData());
  st.check();
  if (!role.isEmpty())
    dpb->insertString(&st, isc_dpb_sql_role_name, role.toUtf8().constData());
  st.check();
  dpb->insertString(&st, isc_dpb_lc_ctype, (charset.isEmpty() ? QStringLiteral("UTF8") : charset).toUtf8().constData());
  st.check();
  dpb->insertInt(&st, isc_dpb_sql_dialect, 3);
  st.check();
}

}  // namespace

void Database::connect()
{
  if (isConnected())
    disconnect();
  if (m_name.trimmed().isEmpty())
    throw DbError(QStringLiteral("No database name given"));
  fb::Status st;
  fb::Disposable<IXpbBuilder> dpb(fb::util()->getXpbBuilder(&st, IXpbBuilder::DPB, nullptr, 0));
  st.check();
  addLogin(dpb.get(), st, m_user, m_password, m_role, m_charset);
  fb::Ref<IProvider> prov(fb::master()->getDispatcher());
  fb::Ref<IAttachment> att(
      prov->attachDatabase(&st, m_name.toUtf8().constData(), dpb->getBufferLength(&st), dpb->getBuffer(&st)));
  st.check();
  m_attachment = std::move(att);
}

void Database::disconnect() noexcept
{
  if (!m_attachment)
    return;
  for (Transaction* t : m_children->transactions)
    t->endForDisconnect();
  try {
    fb::Status st;
    m_attachment->detach(&st);
    if (!st.failed())
      m_attachment.released();
  } catch (...) {
    // Nothing is lost: only the status object could fail here (no memory),
    // and the handle is dropped below either way; disconnect never throws.
  }
  m_attachment.reset();  // a connection that is gone: just drop our handle
}

void Database::create(const QString& databaseName, const QString& user, const QString& password, int pageSize,
                      const QString& charset, bool forcedWrites)
{
  fb::Status st;
  fb::Disposable<IXpbBuilder> dpb(fb::util()->getXpbBuilder(&st, IXpbBuilder::DPB, nullptr, 0));
  st.check();
  addLogin(dpb.get(), st, user, password, QString(), QStringLiteral("UTF8"));
  dpb->insertInt(&st, isc_dpb_page_size, pageSize);
  st.check();
  dpb->insertString(&st, isc_dpb_set_db_charset, charset.toUtf8().constData());
  st.check();
  if (!forcedWrites) {
    dpb->insertInt(&st, isc_dpb_force_write, 0);
    st.check();
  }
  fb::Ref<IProvider> prov(fb::master()->getDispatcher());
  fb::Ref<IAttachment> att(
      prov->createDatabase(&st, databaseName.toUtf8().constData(), dpb->getBufferLength(&st), dpb->getBuffer(&st)));
  st.check();
  att->detach(&st);
  st.check();
  att.released();
}

void Database::createAndConnect(int pageSize, const QString& defaultCharset)
{
  create(m_name, m_user, m_password, pageSize, defaultCharset, m_forcedWrites);
  connect();
}

void Database::drop()
{
  requireConnected();
  for (Transaction* t : m_children->transactions)
    t->endForDisconnect();
  fb::Status st;
  m_attachment->dropDatabase(&st);
  if (st.failed()) {
    DbError e = st.error();
    if (e.isLostConnection())
      m_attachment.reset();
    throw e;
  }
  m_attachment.released();  // released by a successful drop
}

QString Database::serverVersion()
{
  requireConnected();
  fb::Status st;
  const unsigned char items[] = {isc_info_firebird_version, isc_info_end};
  unsigned char buf[1024] = {};
  m_attachment->getInfo(&st, sizeof items, items, sizeof buf, buf);
  st.check();
  // isc_info_firebird_version, length (2 bytes), count, then (length, text) pairs
  if (buf[0] != isc_info_firebird_version)
    return QString();
  const unsigned char* p = buf + 3;
  const int count = *p++;
  QStringList parts;
  for (int i = 0; i < count && p < buf + sizeof buf; ++i) {
    const int len = *p++;
    parts << QString::fromLatin1(reinterpret_cast<const char*>(p), len);
    p += len;
  }
  return parts.join(QLatin1Char('\n'));
}

void Database::registerTransaction(Transaction* t)
{
  if (!m_children->transactions.contains(t))
    m_children->transactions.append(t);
}

void Database::replaceTransaction(Transaction* from, Transaction* to) noexcept
{
  const qsizetype i = m_children->transactions.indexOf(from);
  if (i >= 0)
    m_children->transactions[i] = to;
}

void Database::unregisterTransaction(Transaction* t) noexcept
{
  m_children->transactions.removeAll(t);
}

void Database::requireConnected() const
{
  if (!m_attachment)
    throw DbError(QStringLiteral("Database is not connected: %1").arg(m_name));
}

}  // namespace db
