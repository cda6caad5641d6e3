#include "common/DataFolderLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QFile>

TDataFolderLock::TDataFolderLock(const QString& ADataPath)
{
  const QByteArray path = QFile::encodeName(ADataPath);
  FFd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (FFd < 0)
    return;
  int rc;
  do {
    rc = ::flock(FFd, LOCK_EX);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    ::close(FFd);
    FFd = -1;
  }
}

TDataFolderLock::~TDataFolderLock()
{
  if (FFd >= 0) {
    ::flock(FFd, LOCK_UN);
    ::close(FFd);
  }
}
