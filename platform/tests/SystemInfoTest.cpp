#include <gtest/gtest.h>
#include <unistd.h>

#include <QSysInfo>

#include "platform/SystemInfo.h"

namespace {

TEST(SystemInfo, NamesOfThisMachineAndUser)
{
  EXPECT_FALSE(ComputerName().isEmpty());
  EXPECT_EQ(ComputerName(), QSysInfo::machineHostName());
  const QString user = UserName();
  EXPECT_FALSE(user.isEmpty());
  if (::getuid() == 0) {
    EXPECT_EQ(user, QStringLiteral("root"));
  }
}

}  // namespace
