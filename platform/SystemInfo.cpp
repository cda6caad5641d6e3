#include "platform/SystemInfo.h"

#include <pwd.h>
#include <unistd.h>
#include <vector>

QString ComputerName()
{
  char buf[256 + 1] = {};
  if (gethostname(buf, sizeof buf - 1) != 0)
    return {};
  return QString::fromLocal8Bit(buf);
}

QString UserName()
{
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  if (size <= 0)
    size = 16384;
  std::vector<char> buf(size_t(size), 0);
  passwd pw{};
  passwd* result = nullptr;
  if (getpwuid_r(getuid(), &pw, buf.data(), buf.size(), &result) == 0 && result && result->pw_name)
    return QString::fromLocal8Bit(result->pw_name);
  return qEnvironmentVariable("USER");
}
