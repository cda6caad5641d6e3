#include "tests/support/TempDir.h"

#include <QDir>

QString TestTempDir::QDir_tempTemplate()
{
  return QDir::tempPath() + QStringLiteral("/rendo-test-XXXXXX");
}
