// The logged-on operators list against a fixture system database.
#include "DataModuleTestUtil.h"
#include "common/LoginUserList.h"

namespace dmtest {
namespace {

TEST_F(StandAlone, LoggedOnOperatorsByComputer)
{
  const int me = sample::loginCode(sample::OperatorCode);
  const int clerk = sample::loginCode(sample::ClerkCode);
  ASSERT_TRUE(dm->fnAccDefConnected(QString(), true));
  execSql(root.systemDb, "DELETE FROM LOGONUSERLIST");
  const QString insert =
      QStringLiteral("INSERT INTO LOGONUSERLIST (GROUPID, OPERATORCODE, OPCODE, PCNAME) VALUES (%1, %2, %3, '%4')");
  struct Row {
    int code, login;
    const char* pc;
  } rows[] = {
      {sample::OperatorCode, me, "pc1"}, {sample::OperatorCode, me, "pc2"}, {sample::ClerkCode, clerk, "pc3"},
      {sample::ClerkCode, clerk, "pc4"}, {sample::ClerkCode, clerk, "pc3"}, {555, sample::loginCode(555), "pc5"},
  };
  for (const auto& r : rows)
    execSql(root.systemDb, insert.arg(sample::GroupId).arg(r.code).arg(r.login).arg(r.pc));

  TLoginUserListOnDef list;
  struct Case {
    bool mySelf;
    QStringList items;
  } cases[] = {
      {false,
       {QString("%1:%2").arg(sample::ClerkCode).arg(sample::clerkName()),
        QString("%1:%2").arg(sample::ClerkCode).arg(sample::clerkName())}},
      {true,
       {QString("%1:%2").arg(sample::OperatorCode).arg(sample::operatorName()),
        QString("%1:%2").arg(sample::OperatorCode).arg(sample::operatorName()),
        QString("%1:%2").arg(sample::ClerkCode).arg(sample::clerkName()),
        QString("%1:%2").arg(sample::ClerkCode).arg(sample::clerkName())}},
  };
  for (const auto& c : cases) {
    list.Execute(sample::GroupId, me, c.mySelf);
    EXPECT_EQ(list.ItemStrings().split('\n'), c.items) << c.mySelf;
    EXPECT_EQ(list.ItemGetterCode(list.ItemCount()), 0);
    EXPECT_EQ(list.ItemGetter(-1), QString());
  }
  EXPECT_EQ(list.GetListIndex(sample::ClerkCode), 2);
  EXPECT_EQ(list.ItemGetterPcName(2), "pc3");
  EXPECT_EQ(list.GetListIndex(555), -1);  // not an operator of the group

  execSql(root.systemDb, QString("DELETE FROM LOGONUSERLIST WHERE OPCODE<>%1").arg(me));
  list.Execute(sample::GroupId, me, false);
  EXPECT_EQ(list.ItemCount(), 0);
  EXPECT_FALSE(dm->IBTransactionDEF.inTransaction());
}

}  // namespace
}  // namespace dmtest
