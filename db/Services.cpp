#include "db/Services.h"

#include <ibase.h>

#include <QtEndian>

#include "db/FbApi.h"

using namespace Firebird;

namespace db {

Services::Services() = default;

Services::Services(const QString& host, const QString& user, const QString& password, int port)
    : m_host(host), m_port(port), m_user(user), m_password(password)
{
}

Services::~Services()
{
  detach();
}

QString Services::serviceName() const
{
  if (m_host.trimmed().isEmpty())
    return QStringLiteral("service_mgr");
  return QStringLiteral("%1/%2:service_mgr").arg(m_host.trimmed()).arg(m_port);
}

void Services::attach()
{
  if (m_svc)
    return;
  fb::Status st;
  fb::Disposable<IXpbBuilder> spb(fb::util()->getXpbBuilder(&st, IXpbBuilder::SPB_ATTACH, nullptr, 0));
  st.check();
  if (!m_user.isEmpty())
    spb->insertString(&st, isc_spb_user_name, m_user.toUtf8().constData());
  if (!m_password.isEmpty())
    spb->insertString(&st, isc_spb_password, m_password.toUtf8().constData());
  st.check();
  fb::Ref<IProvider> prov(fb::master()->getDispatcher());
  fb::Ref<IService> svc(prov->attachServiceManager(&st, serviceName().toUtf8().constData(), spb->getBufferLength(&st),
                                                   spb->getBuffer(&st)));
  st.check();
  m_svc = std::move(svc);
}

void Services::detach() noexcept
{
  if (!m_svc)
    return;
  try {
    fb::Status st;
    m_svc->detach(&st);
    if (!st.failed())
      m_svc.released();
  } catch (...) {
    // Nothing is lost: only the status object could fail here (no memory);
    // the handle is dropped below and detach never throws.
  }
  m_svc.reset();
}

namespace {

// Reads a 2-byte little-endian length followed by text from an info buffer.
QString takeString(const unsigned char*& p, const unsigned char* end)
{
  if (p + 2 > end)
    return QString();
  const unsigned len = qFromLittleEndian<quint16>(p);
  p += 2;
  if (p + len > end)
    return QString();
  const QString s = QString::fromUtf8(reinterpret_cast<const char*>(p), int(len));
  p += len;
  return s;
}

int takeInt(const unsigned char*& p, const unsigned char* end)
{
  if (p + 4 > end)
    return 0;
  const int v = qFromLittleEndian<qint32>(p);
  p += 4;
  return v;
}

// Services report a lost connection with the same codes as attachments; an
// error while the service runs is reported through the query that reads it.
void startService(IService* svc, IXpbBuilder* spb, fb::Status& st)
{
  svc->start(&st, spb->getBufferLength(&st), spb->getBuffer(&st));
  st.check();
}

}  // namespace

QByteArray Services::query(const QByteArray& items)
{
  attach();
  fb::Status st;
  QByteArray buf(16 * 1024, '\0');  // the wire protocol limits a reply to 64 KB - 1
  m_svc->query(&st, 0, nullptr, unsigned(items.size()), reinterpret_cast<const unsigned char*>(items.constData()),
               unsigned(buf.size()), reinterpret_cast<unsigned char*>(buf.data()));
  st.check();
  return buf;
}

QStringList Services::runAndCollect(const QByteArray&, const LineHandler& onLine)
{
  QStringList lines;
  const QByteArray items(1, char(isc_info_svc_line));
  try {
    for (;;) {
      const QByteArray buf = query(items);
      const auto* p = reinterpret_cast<const unsigned char*>(buf.constData());
      const auto* end = p + buf.size();
      if (*p != isc_info_svc_line)
        break;
      ++p;
      const unsigned len = qFromLittleEndian<quint16>(p);
      if (len == 0)
        break;  // the service has finished
      const QString line = takeString(p, end);
      lines << line;
      if (onLine)
        onLine(line);
    }
  } catch (...) {
    // A service left half read would keep the manager busy: let it go.
    detach();
    throw;
  }
  return lines;
}

QStringList Services::backup(const QString& databasePath, const QString& backupFile, const BackupOptions& options,
                             const LineHandler& onLine)
{
  attach();
  fb::Status st;
  fb::Disposable<IXpbBuilder> spb(fb::util()->getXpbBuilder(&st, IXpbBuilder::SPB_START, nullptr, 0));
  st.check();
  spb->insertTag(&st, isc_action_svc_backup);
  spb->insertString(&st, isc_spb_dbname, databasePath.toUtf8().constData());
  spb->insertString(&st, isc_spb_bkp_file, backupFile.toUtf8().constData());
  int flags = 0;
  if (options.ignoreLimbo)
    flags |= isc_spb_bkp_ignore_limbo;
  if (options.noGarbageCollection)
    flags |= isc_spb_bkp_no_garbage_collect;
  if (options.nonTransportable)
    flags |= isc_spb_bkp_non_transportable;
  if (flags)
    spb->insertInt(&st, isc_spb_options, flags);
  if (options.verbose)
    spb->insertTag(&st, isc_spb_verbose);
  st.check();
  startService(m_svc.get(), spb.get(), st);
  return runAndCollect({}, onLine);
}

QStringList Services::restore(const QString& backupFile, const QString& databasePath, const RestoreOptions& options,
                              const LineHandler& onLine)
{
  attach();
  fb::Status st;
  fb::Disposable<IXpbBuilder> spb(fb::util()->getXpbBuilder(&st, IXpbBuilder::SPB_START, nullptr, 0));
  st.check();
  spb->insertTag(&st, isc_action_svc_restore);
  spb->insertString(&st, isc_spb_bkp_file, backupFile.toUtf8().constData());
  spb->insertString(&st, isc_spb_dbname, databasePath.toUtf8().constData());
  int flags = options.replace ? isc_spb_res_replace : isc_spb_res_create;
  if (options.deactivateIndexes)
    flags |= isc_spb_res_deactivate_idx;
  spb->insertInt(&st, isc_spb_options, flags);
  if (options.pageSize > 0)
    spb->insertInt(&st, isc_spb_res_page_size, options.pageSize);
  if (options.pageBuffers > 0)
    spb->insertInt(&st, isc_spb_res_buffers, options.pageBuffers);
  if (options.verbose)
    spb->insertTag(&st, isc_spb_verbose);
  st.check();
  startService(m_svc.get(), spb.get(), st);
  return runAndCollect({}, onLine);
}

void Services::startValidation(const QString& databasePath)
{
  attach();
  fb::Status st;
  fb::Disposable<IXpbBuilder> spb(fb::util()->getXpbBuilder(&st, IXpbBuilder::SPB_START, nullptr, 0));
  st.check();
  spb->insertTag(&st, isc_action_svc_repair);
  spb->insertString(&st, isc_spb_dbname, databasePath.toUtf8().constData());
  spb->insertInt(&st, isc_spb_options, isc_spb_rpr_validate_db | isc_spb_rpr_full | isc_spb_rpr_ignore_checksum);
  st.check();
  startService(m_svc.get(), spb.get(), st);
}

Services::ValidationResult Services::validate(const QString& databasePath)
{
  ValidationResult r;
  try {
    startValidation(databasePath);
    for (const QString& line : runAndCollect({}, {}))
      if (!line.trimmed().isEmpty())
        r.lines << line;
  } catch (const DbError& e) {
    // Damage found is reported as the service's error ("Summary of
    // validation errors ..."); any other error (no such file, no rights)
    // is the caller's to handle.
    if (!e.hasCode(DbError::ValidationErrors)) {
      throw;
    }
    for (const QString& line : e.message().split(QLatin1Char('\n')))
      if (!line.trimmed().isEmpty())
        r.lines << line.trimmed();
  }
  r.valid = r.lines.isEmpty();
  return r;
}

bool Services::validateLines(const QString& databasePath, const LineFilter& onLine)
{
  try {
    startValidation(databasePath);
    const QByteArray items(1, char(isc_info_svc_line));
    for (;;) {
      const QByteArray buf = query(items);
      const auto* p = reinterpret_cast<const unsigned char*>(buf.constData());
      const auto* end = p + buf.size();
      if (*p != isc_info_svc_line)
        return true;
      ++p;
      if (qFromLittleEndian<quint16>(p) == 0)
        return true;  // the service has finished
      const QString line = takeString(p, end);
      if (onLine && !onLine(line)) {
        detach();  // the rest of the output is not wanted
        return false;
      }
    }
  } catch (...) {
    detach();  // as in runAndCollect; the error goes on to the caller
    throw;
  }
}

Services::AttachmentInfo Services::attachments()
{
  const QByteArray buf = query(QByteArray(1, char(isc_info_svc_svr_db_info)));
  AttachmentInfo info;
  const auto* p = reinterpret_cast<const unsigned char*>(buf.constData());
  const auto* end = p + buf.size();
  if (*p != isc_info_svc_svr_db_info)
    return info;
  ++p;
  while (p < end && *p != isc_info_flag_end && *p != isc_info_end) {
    const unsigned char tag = *p++;
    if (tag == isc_spb_num_att)
      info.attachments = takeInt(p, end);
    else if (tag == isc_spb_num_db)
      info.databases = takeInt(p, end);
    else if (tag == isc_spb_dbname)
      info.databaseNames << takeString(p, end);
    else
      break;
  }
  return info;
}

QString Services::serverVersion()
{
  const QByteArray buf = query(QByteArray(1, char(isc_info_svc_server_version)));
  const auto* p = reinterpret_cast<const unsigned char*>(buf.constData());
  if (*p != isc_info_svc_server_version)
    return QString();
  ++p;
  return takeString(p, p + buf.size() - 1);
}

QString Services::homeDirectory()
{
  const QByteArray buf = query(QByteArray(1, char(isc_info_svc_get_env)));
  const auto* p = reinterpret_cast<const unsigned char*>(buf.constData());
  if (*p != isc_info_svc_get_env)
    return QString();
  ++p;
  return takeString(p, p + buf.size() - 1);
}

}  // namespace db
