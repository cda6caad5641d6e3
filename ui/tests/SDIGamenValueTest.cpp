// The base form's screen value, kept per operator and form name in a
// fixture system database.
#include <gtest/gtest.h>
#include <memory>

#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TempDir.h"
#include "ui/SDI.h"

namespace {

TEST(TBSDIGamenValue, StoredPerOperatorAndFormName)
{
  const TSystemDef keep = SystemDef;
  TestTempDir dir;
  testfx::makeSystemDb(dir.path());
  SystemDef.IBPATHDEF = dir.path();
  SystemDef.IBUSER = QStringLiteral("ABACOR");
  SystemDef.PASWORD = QStringLiteral("dormil");
  SystemDef.LOG = dir.path();
  AppType = jxatSA;
  auto dm = std::make_unique<TDM>();
  DM = dm.get();
  ASSERT_TRUE(dm->fnAccDefConnected(QString(), true));

  struct Step {
    int op;
    const char* form;
    const char* save;      // nullptr: restore only
    const char* restored;  // what a new form of that name restores
  } steps[] = {
      {100000101, "DataSentakuBox", "  0001,0002 ", "0001,0002"},
      {100000101, "DataSentakuBox", "second", "second"},
      {100000101, "OtherBox", nullptr, ""},
      {100000102, "DataSentakuBox", nullptr, ""},  // another operator's own
      {0, "DataSentakuBox", "nobody", ""},         // no operator: nothing kept
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.form);
    SystemDef.OPCODE = s.op;
    if (s.save) {
      TBSDI form;
      form.SetManualFree(true);
      form.setObjectName(QString::fromLatin1(s.form));
      form.GamenValue = QString::fromUtf8(s.save);
      form.GamenValueHozon();
    }
    TBSDI again;
    again.SetManualFree(true);
    again.setObjectName(QString::fromLatin1(s.form));
    again.GamenValue = QStringLiteral("stale");
    again.ZenkaiGamenValueFukugen();
    EXPECT_EQ(again.GamenValue, QString::fromUtf8(s.restored));
  }
  EXPECT_FALSE(dm->IBTransactionDEF.inTransaction());
  dm.reset();
  DM = nullptr;
  SystemDef = keep;
}

}  // namespace
