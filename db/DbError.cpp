#include "db/DbError.h"

namespace db {

DbError::DbError(const QString& message, int gdscode, int sqlcode, QList<int> codes, const QString& sqlstate)
    : EAppError(message), m_gdscode(gdscode), m_sqlcode(sqlcode), m_codes(std::move(codes)), m_sqlstate(sqlstate)
{
  if (m_gdscode != 0 && !m_codes.contains(m_gdscode))
    m_codes.prepend(m_gdscode);
}

bool DbError::isLostConnection() const
{
  // The codes a client sees when the server process dies, the network goes
  // away, or the server shuts the attachment down.
  static constexpr int lost[] = {NetworkError, NetReadError, NetWriteError, LostDbConnection,
                                 AttShutdown,  Shutdown,     BugCheck};
  for (int c : lost)
    if (hasCode(c))
      return true;
  return false;
}

void DbError::addContext(const QString& context)
{
  setMessage(context + message());
}

}  // namespace db
