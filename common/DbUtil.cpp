#include "common/DbUtil.h"

#include "db/DbError.h"

bool fnIsPlainIdentifier(const QString& name)
{
  if (name.isEmpty() || name.size() > 63)
    return false;
  for (qsizetype i = 0; i < name.size(); ++i) {
    const char16_t c = name.at(i).unicode();
    const bool letter = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
    const bool digit = c >= u'0' && c <= u'9';
    if (i == 0 ? !letter : !(letter || digit || c == u'$'))
      return false;
  }
  return true;
}

void pcRequirePlainIdentifier(const QString& name)
{
  if (!fnIsPlainIdentifier(name))
    throw db::DbError(QStringLiteral("不正な識別子です: %1").arg(name));
}
