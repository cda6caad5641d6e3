#include "db/FbApi.h"

#include <atomic>
#include <clocale>
#include <cstring>
#include <ibase.h>
#include <langinfo.h>

#include <QStringDecoder>

#include "db/FirebirdRoot.h"
#include "platform/TextCodec.h"

namespace db {
namespace {
std::atomic<bool> g_started{false};
}

bool FirebirdRoot::clientStarted()
{
  return g_started.load();
}

namespace fb {

Firebird::IMaster* master()
{
  static Firebird::IMaster* m = [] {
    // The engine converts file names between UTF-8 and the character
    // type of the C locale, and refuses what that cannot hold. File
    // names are UTF-8 bytes here (as Qt writes them), so a process that
    // still runs in the "C" locale gets a UTF-8 character type.
    if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0) {
      if (!std::setlocale(LC_CTYPE, "C.UTF-8"))
        std::setlocale(LC_CTYPE, "C.utf8");
    }
    g_started = true;
    return Firebird::fb_get_master_interface();
  }();
  return m;
}

Firebird::IUtil* util()
{
  return master()->getUtilInterface();
}

Status::Status() : m_status(master()->getStatus()), m_wrapper(m_status.get()) {}

bool Status::failed() const
{
  return (m_status->getState() & Firebird::IStatus::STATE_ERRORS) != 0;
}

DbError Status::error() const
{
  return errorFromStatus(m_status.get());
}

void Status::check()
{
  if (failed()) {
    DbError e = errorFromStatus(m_status.get());
    m_wrapper.clearException();
    throw e;
  }
}

DbError errorFromStatus(Firebird::IStatus* status)
{
  const intptr_t* vec = status->getErrors();
  QList<int> codes;
  // The vector is a sequence of clusters: isc_arg_gds <code>, isc_arg_string
  // <ptr>, isc_arg_number <n>, ... ended by isc_arg_end.
  for (const intptr_t* p = vec; p && *p != isc_arg_end;) {
    const intptr_t kind = p[0];
    if (kind == isc_arg_gds)
      codes << int(p[1]);
    if (kind == isc_arg_cstring)
      p += 3;
    else
      p += 2;
  }
  const int gdscode = codes.isEmpty() ? 0 : codes.first();

  const int sqlcode = vec ? int(isc_sqlcode(vec)) : 0;
  // The SQLSTATE the client library derives from the same vector ("00000"
  // when it knows none: kept empty then).
  char state[6] = {};
  if (vec)
    fb_sqlstate(state, vec);
  QString sqlstate = QString::fromLatin1(state, int(qstrnlen(state, 5)));
  if (sqlstate == QLatin1String("00000"))
    sqlstate.clear();

  char buf[4096];
  unsigned len = util()->formatStatus(buf, sizeof buf - 1, status);
  buf[qMin<unsigned>(len, sizeof buf - 1)] = 0;
  QString text = QString::fromUtf8(buf).trimmed();
  if (text.isEmpty())
    text = QStringLiteral("Firebird error %1").arg(gdscode);
  return DbError(text, gdscode, sqlcode, codes, sqlstate);
}

QString decodeText(const QByteArray& bytes, unsigned charset)
{
  switch (charset) {
    case CsOctets:
    case CsNone: {
      // NONE holds whatever bytes the writer sent: UTF-8 from our own
      // connections, CP932 from older Windows clients.
      auto dec = QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
      QString s = dec(bytes);
      if (!dec.hasError())
        return s;
      bool ok = false;
      QString sj = fromCp932(bytes, &ok);
      return ok ? sj : QString::fromLatin1(bytes);
    }
    case CsSjis:
      return fromCp932(bytes);
    default:
      return QString::fromUtf8(bytes);
  }
}

}  // namespace fb
}  // namespace db
