// A server file question whose answer is "no" is told apart from one the
// server could not answer, against a real Firebird server.
#include "DataModuleTestUtil.h"
#include "tests/support/FirebirdServer.h"

namespace dmtest {
namespace {

class ServerFileError : public StandAlone {
 protected:
  void SetUp() override
  {
    StandAlone::SetUp();
    FirebirdServer::shared();
    AppType = jxatCS;
    SystemDef.SERVERNAME = QStringLiteral("localhost");
  }
};

TEST_F(ServerFileError, AFailedQuestionIsNotAMissingFile)
{
  const QString file = root.dataSets.at(0).database;
  // Longer than the procedure's parameter: the server raises an error.
  const QString tooLong =
      root.root + QLatin1Char('/') + QString(1100, QLatin1Char('x')) + QStringLiteral("/wqacc2.fdb");
  struct Case {
    const char* name;
    QString path;
    bool answer;
    bool serverError;
    std::size_t boxes;  // error boxes shown so far
  } cases[] = {
      {"present", file, true, false, 0},
      {"missing", file + QStringLiteral(".none"), false, false, 0},
      {"server error", tooLong, false, true, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    bool serverError = !c.serverError;
    EXPECT_EQ(dm->ServerFileOperation(QStringLiteral("FExist"), c.path, QString(), serverError), c.answer);
    EXPECT_EQ(serverError, c.serverError);
    EXPECT_EQ(hook.boxes.size(), c.boxes);  // the error is reported, a plain "no" is not
  }
  // The older form still answers plain false for both.
  EXPECT_FALSE(dm->ServerFileOperation(QStringLiteral("FExist"), tooLong, QString()));
  EXPECT_FALSE(dm->IBDatabaseDEF.isConnected());
}

TEST_F(ServerFileError, AnUnreachableSystemDatabaseIsAServerError)
{
  SystemDef.IBPATHDEF = tmp.file(QStringLiteral("nowhere"));
  bool serverError = false;
  EXPECT_FALSE(dm->ServerFileOperation(QStringLiteral("FExist"), root.dataSets.at(0).database, QString(), serverError));
  EXPECT_TRUE(serverError);
  EXPECT_FALSE(hook.boxes.empty());
}

}  // namespace
}  // namespace dmtest
