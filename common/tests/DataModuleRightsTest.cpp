// Operator rights, default branches, the branch list, journal counts and
// deletion, the database version and the data password, against fixture
// databases.
#include "DataModuleTestUtil.h"
#include "common/SitenList.h"

namespace dmtest {
namespace {

class Rights : public StandAlone {
 protected:
  void SetUp() override
  {
    StandAlone::SetUp();
    general = root.dataSets.at(0);
    ASSERT_TRUE(dm->fnAccDefConnected(QString(), true));
    ASSERT_TRUE(dm->fnAccDatConnected(QString(), general.folder, false));
    AccInf.ZaimuDataType = jxztBasic;
    AccInf.SITEN_KANRI = 1;
    AccInf.DATATYPE = 1;
    AccInf.SHOUGOU = general.shougou;
    SystemDef.OPLevel = 3;
  }
  void TearDown() override
  {
    if (dm) {
      if (dm->IBTransactionDAT.inTransaction())
        dm->IBTransactionDAT.rollback();
      dm->fnAccDatDisConnected(general.folder, false, false, false);
    }
    StandAlone::TearDown();
  }
  void restrictTo(int code)
  {
    SystemDef.OPCODE = code;
    SystemDef.OPLevel = 3;
    SystemDef.OPAccount = false;
    SystemDef.DataSeigenNasi = 0;
  }

  fixtures::sample::DataSet general;
};

TEST_F(Rights, UnrestrictedAccessNeedsNoQuery)
{
  struct Case {
    int seigenNasi;
    bool account;
    int level;
    bool expected;
  } cases[] = {
      {1, false, 3, true}, {0, true, 3, true}, {0, false, 9, true}, {0, false, 8, false}, {2, false, 0, false}};
  for (const auto& c : cases) {
    SystemDef.DataSeigenNasi = c.seigenNasi;
    SystemDef.OPAccount = c.account;
    SystemDef.OPLevel = c.level;
    SystemDef.OPCODE = 999;  // no default branch at all
    EXPECT_EQ(dm->IsDataAccessSeigenNasi(), c.expected) << c.seigenNasi << c.account << c.level;
    EXPECT_EQ(dm->fnGetExistsOpeDefSisetu(), c.expected) << c.level;
  }
  restrictTo(sample::loginCode(sample::ClerkCode));
  EXPECT_TRUE(dm->fnGetExistsOpeDefSisetu());
  EXPECT_FALSE(dm->IBTransactionDAT.inTransaction());
}

TEST_F(Rights, MenuRightsPerLevelAndOption)
{
  execSql(root.systemDb,
          "INSERT INTO JOBCONTROL2 (LEVELNO, PROC_ID, PROC_OPTION) VALUES (3, 'DuRoziZuvurad', 'CLOUD,SHARE')");
  execSql(root.systemDb, "INSERT INTO JOBCONTROL2 (LEVELNO, PROC_ID, PROC_OPTION) VALUES (1004, 'JxDataTusin', '')");
  struct Case {
    TJxZaimuDataType kind;
    int level;
    QString proc, option;
    bool expected;
  } cases[] = {
      {jxztBasic, 5, "JxDataTusin", "", true},  // a level without rows may do everything
      {jxztBasic, 3, "DuRoziZuvurad", "", true},
      {jxztBasic, 3, "DuRoziZuvurad", "SHARE", true},  // part of a stored list
      {jxztBasic, 3, "DuRoziZuvurad", "MOVE", false},
      {jxztBasic, 3, "DuRoziZuvurad", "   ", true},  // blank option: no option condition
      {jxztBasic, 3, "JxDataTusin", "", false},      // a process without a row
      {jxztBasic, 3, "x' OR ''='", "", false},       // codes are values, never statement text
      {jxztCuravia, 3, "DuRoziZuvurad", "", true},   // medical data has its own levels
      {jxztCuravia, 4, "DuRoziZuvurad", "", false},
  };
  for (const auto& c : cases) {
    AccInf.ZaimuDataType = c.kind;
    SystemDef.OPLevel = c.level;
    EXPECT_EQ(dm->IsUseMenu(c.proc, c.option), c.expected) << c.level << c.proc.toStdString() << c.option.toStdString();
    EXPECT_FALSE(dm->IBTransactionDEF.inTransaction());
  }
}

TEST_F(Rights, JobRestrictCountsTheTwoMenus)
{
  SystemDef.OPLevel = 7;
  EXPECT_TRUE(dm->fnJobRestrict());
  execSql(root.systemDb, "INSERT INTO JOBCONTROL (LEVELNO, PAGENO, MENUNO) VALUES (7, 0, 201)");
  EXPECT_TRUE(dm->fnJobRestrict());
  execSql(root.systemDb, "INSERT INTO JOBCONTROL (LEVELNO, PAGENO, MENUNO) VALUES (7, 0, 211)");
  EXPECT_FALSE(dm->fnJobRestrict());
}

TEST_F(Rights, DefaultBranchOfTheOperator)
{
  struct Case {
    const char* what;
    int level;
    int opcode;
    int sitenKanri;
    QString code, name;
    int color;
  } cases[] = {
      {"unrestricted, branches", 9, 1, 1, "01", "本店", 16756608},
      {"unrestricted, no branches", 9, 1, 0, " ", general.shougou, 0xFFAF80},
      {"restricted clerk", 3, sample::loginCode(sample::ClerkCode), 1, "01", "本店", 16756608},
  };
  for (const auto& c : cases) {
    SystemDef.OPLevel = c.level;
    SystemDef.OPCODE = c.opcode;
    SystemDef.DEFOPSCODE = SystemDef.OPSCODE = "?";
    SystemDef.ACCCLAS = 0;
    AccInf.SITEN_KANRI = c.sitenKanri;
    EXPECT_EQ(dm->GetOpeDefSisetu(), c.name) << c.what;
    EXPECT_EQ(SystemDef.DEFOPSCODE, c.code) << c.what;
    EXPECT_EQ(SystemDef.OPSCODE, c.code) << c.what;
    EXPECT_EQ(SystemDef.ACCCLAS, 1) << c.what;
    EXPECT_EQ(SystemDef.OPSitenColor, c.color) << c.what;
  }
  // An operator without a default branch leaves the fields as they were.
  restrictTo(999);
  SystemDef.DEFOPSCODE = "x";
  EXPECT_EQ(dm->GetOpeDefSisetu(), QString());
  EXPECT_EQ(SystemDef.DEFOPSCODE, "x");
  EXPECT_FALSE(dm->fnGetExistsOpeDefSisetu());
}

TEST_F(Rights, MedicalDataWithoutFacilityManagementIsReportedAsDamaged)
{
  AccInf.ZaimuDataType = jxztCuravia;
  AccInf.SITEN_KANRI = 0;
  SystemDef.OPLevel = 9;
  SystemDef.DEFOPSCODE = "x";
  hook.boxes.clear();
  EXPECT_EQ(dm->GetOpeDefSisetu(), QString());
  EXPECT_EQ(SystemDef.DEFOPSCODE, "x");
  ASSERT_EQ(hook.boxes.size(), 1u);
  EXPECT_TRUE(hook.boxes[0].text.contains("施設管理がおこなわれていません")) << hook.boxes[0].text.toStdString();
  EXPECT_FALSE(dm->IBTransactionDAT.inTransaction());
}

TEST_F(Rights, WholeDataRightsCompareTheBranchCounts)
{
  struct Case {
    int opcode;
    int sitenKanri;
    bool expected;
  } cases[] = {
      {sample::loginCode(sample::OperatorCode), 1, true},
      {sample::loginCode(sample::ClerkCode), 1, false},
      {sample::loginCode(sample::ClerkCode), 0, true},
      {999, 1, false},
  };
  for (const auto& c : cases) {
    restrictTo(c.opcode);
    AccInf.SITEN_KANRI = c.sitenKanri;
    EXPECT_EQ(dm->IsAuthSitenZentai(c.opcode), c.expected) << c.opcode << " " << c.sitenKanri;
  }
}

TEST(SitenExInfo, ValuesAndColours)
{
  struct Case {
    QString lines, key;
    QVariant expected;
  } cases[] = {
      {"COLOR=255", "COLOR", 255},
      {"COLOR=0", "color", 0xFFAF80},
      {"COLOR=blue", "COLOR", 0xFFAF80},
      {"COLOR=-5", "COLOR", 0xFFAF80},
      {"RENDOCODE=A1", "COLOR", 0xFFAF80},
      {"COLOR=1\r\nRENDOCODE=R-7\r\nRENDOCODE=second", "rendocode", "R-7"},
      {"", "RENDOCODE", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TDM::GetSitenExInfoValue(c.lines, c.key), c.expected) << c.lines.toStdString();
}

TEST_F(Rights, BranchLookupsBindTheirCodes)
{
  SystemDef.OPLevel = 9;
  EXPECT_EQ(dm->fnGetJigyoukubun("01"), 1);
  EXPECT_EQ(dm->fnGetJigyoukubun("99"), -1);
  EXPECT_EQ(dm->fnGetJigyoukubun("01' OR ''='"), -1);
  EXPECT_EQ(dm->fnGetBumEX("01"), 1);
  EXPECT_EQ(dm->fnGetBumEX(""), 0);  // the company's own row
  EXPECT_EQ(dm->fnGetBumEX("99"), 1);
  EXPECT_FALSE(dm->IBTransactionDAT.inTransaction());  // it ends what it started
  dm->IBTransactionDAT.start();
  EXPECT_EQ(dm->fnGetBumEX("01"), 1);
  EXPECT_TRUE(dm->IBTransactionDAT.inTransaction());  // a caller's stays open
  dm->IBTransactionDAT.commit();
  EXPECT_EQ(dm->fnGetSisetumei("02"), "髙崎支店");
  // An unknown code names the operator's default branch.
  EXPECT_EQ(dm->fnGetSisetumei("02' OR ''='"), "本店");
  EXPECT_FALSE(dm->IBTransactionDAT.inTransaction());
}

TEST_F(Rights, BranchListByOperator)
{
  struct Case {
    const char* what;
    int level;
    int opcode;
    TJxSitenListSet read;
    QStringList items;
  } cases[] = {
      {"unrestricted", 9, 1, {jxslHoujin, jxslGroup, jxslSiten}, {"法人全体", "(G1):全店", "01:本店", "02:髙崎支店"}},
      {"all branches",
       3,
       sample::loginCode(sample::OperatorCode),
       {jxslHoujin, jxslGroup, jxslSiten},
       {"法人全体,,", "(G1):全店", "01:本店", "02:髙崎支店"}},
      {"one branch", 3, sample::loginCode(sample::ClerkCode), {jxslHoujin, jxslGroup, jxslSiten}, {"01:本店"}},
      {"departments", 9, 1, {jxslSiten, jxslBumon}, {"01:本店", "02:髙崎支店", "01:本店", "02:髙崎支店"}},
  };
  for (const auto& c : cases) {
    restrictTo(c.opcode);
    SystemDef.OPLevel = c.level;
    TSitenList list;
    list.SetReadType(c.read);
    list.Execute(c.opcode);
    EXPECT_EQ(list.ItemStrings().split('\n'), c.items) << c.what;
    EXPECT_EQ(list.OPCODE(), c.level == 9 ? -1 : c.opcode) << c.what;
  }
  SystemDef.OPLevel = 9;
  TSitenList list;
  list.SetReadType({jxslSiten, jxslBumon});
  list.Execute(1);
  EXPECT_EQ(list.ItemGetterColor(0), 16756608);
  EXPECT_EQ(list.ItemGetterColor(1), 0xFFAF80);  // no COLOR
  EXPECT_EQ(list.ItemGetterColor(9), 0xFFAF80);
  EXPECT_EQ(list.ItemGetterBLType(2), 3);
  EXPECT_EQ(list.GetListIndex("01", 3), 2);
  EXPECT_EQ(list.GetSitenName("02", 2), "髙崎支店");
  EXPECT_EQ(list.GetListIndex(" 01", 2), -1);

  // Without branch management the company stands in for the branches.
  AccInf.SITEN_KANRI = 0;
  AccInf.BUMON_KANRI = 1;
  for (const TJxSitenListSet read : {TJxSitenListSet{jxslSiten}, TJxSitenListSet{jxslHoujin, jxslSiten}}) {
    list.SetReadType(read);
    list.Execute(1);
    ASSERT_EQ(list.ItemCount(), 1);
    EXPECT_EQ(list.ItemGetter(0), general.shougou);
    EXPECT_EQ(list.ItemGetterBLType(0), 0);
    EXPECT_EQ(list.GetListIndex(" ", 2), 0);  // any level means the company
  }
}

TEST_F(Rights, BranchListErrorKeepsTheCallersTransactionAndHidesTheConnection)
{
  // The system database has no branch table: every read fails.
  SystemDef.OPLevel = 9;
  dm->IBTransactionDEF.start();
  db::Query ins(dm->IBTransactionDEF, "INSERT INTO JOBCONTROL (LEVELNO, PAGENO, MENUNO) VALUES (77, 0, 1)");
  ins.exec();
  TSitenList list;
  list.SetTransaction(&dm->IBTransactionDEF);
  list.SetReadType({jxslSiten});
  hook.boxes.clear();
  EXPECT_ANY_THROW(list.Execute(1));
  EXPECT_TRUE(dm->IBTransactionDEF.inTransaction());
  ASSERT_FALSE(hook.boxes.empty());
  for (const auto& b : hook.boxes) {
    EXPECT_FALSE(b.text.contains("dormil")) << b.text.toStdString();
    EXPECT_FALSE(b.text.contains("password", Qt::CaseInsensitive)) << b.text.toStdString();
  }
  dm->IBTransactionDEF.rollback();
  EXPECT_EQ(readValue(root.systemDb, "SELECT COUNT(*) AS N FROM JOBCONTROL WHERE LEVELNO=77", "N"), "0");
}

// --- journal counts, deletion and version ---------------------------------

class Journal : public Rights {
 protected:
  void SetUp() override
  {
    Rights::SetUp();
    execSql(general.database, "DELETE FROM SIWAKE");
    const char* rows[] = {
        "(1, 1, '01', 'K100', 'H1', 'K200', '', 0, 1, 1)", "(2, 2, '01', 'K100', 'H1', 'K300', '', 1, 1, 2)",
        "(3, 3, '02', 'K200', '', 'K100', 'H1', 2, 1, 3)", "(4, 7, '02', 'K100', 'H1', 'K300', '', 0, 1, 17)",
        "(5, 5, '01', 'K400', '', 'K500', '', 1, 1, 4)",   "(6, 5, '01', 'K400', '', 'K100', '', 1, 2, 4)",
    };
    for (const char* r : rows)
      execSql(general.database,
              QStringLiteral("INSERT INTO SIWAKE (REC, SWKREC, SCODE, KCODE, HCODE, R_KCODE, R_HCODE, DELFLG, "
                             "TAISHAKU, MNUM) VALUES ") +
                  QLatin1String(r));
  }
  QString recs()
  {
    db::Database d;
    testfx::builder().open(d, general.database);
    db::Transaction tr(d);
    tr.start();
    QStringList out;
    db::Query q(tr, "SELECT REC FROM SIWAKE ORDER BY REC");
    for (q.open(); !q.eof(); q.next())
      out << q.field("REC").asString();
    q.close();
    tr.commit();
    return out.join(',');
  }
};

TEST_F(Journal, CountsByMode)
{
  struct Case {
    int mode;
    QString scode, kcode, hcode;
    int expected;
  } cases[] = {
      {1, "", "", "", 2},   {1, "01", "", "", 2},          {1, "02", "", "", 0},       {2, "", "", "", 1},
      {3, "", "", "", 2},   {3, "02", "", "", 1},          {4, "", "", "", 1},         {4, "01", "", "", 5},
      {4, "09", "", "", 0}, {5, "", "K100", "H1", 2},      {5, "02", "K100", "H1", 1}, {0, "", "", "", 7},
      {9, "02", "", "", 7}, {1, "01' OR ''='", "", "", 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(dm->fnGetSiwakeCount(c.mode, c.scode, c.kcode, c.hcode), c.expected)
        << c.mode << " " << c.scode.toStdString();
  SystemDef.OPSCODE = "01";
  EXPECT_EQ(dm->fnGetKamokuCount(),
            readValue(general.database, "SELECT COUNT(*) AS N FROM KAMOKU_SZ WHERE SCODE='01'", "N").toInt());
  EXPECT_FALSE(dm->IBTransactionDAT.inTransaction());
}

TEST_F(Journal, DeletionRemovesOnlyLinesThatAreNotLive)
{
  struct Case {
    int mode;
    QString scode, kcode, hcode;
    QString left;
  } cases[] = {
      {3, "01", "", "", "1,2,3,4,5,6"},  // no statement for other modes
      {1, " 01 ", "", "", "1,3,4"},      // trimmed branch, DELFLG 1 only
      {0, "", "K100", "H1", "1,4"},      // either side, live lines stay
  };
  for (const auto& c : cases) {
    dm->pcSiwakeDEL(c.mode, c.scode, c.kcode, c.hcode);
    EXPECT_EQ(recs(), c.left) << c.mode << " " << c.kcode.toStdString();
  }
  execSql(general.database, "UPDATE SIWAKE SET DELFLG=2 WHERE REC=1");
  execSql(general.database, "INSERT INTO SIWAKE (REC, KCODE, R_KCODE, DELFLG) VALUES (7, 'K9', 'K200', 1)");
  dm->pcSiwakeDEL(0, "", "K200", "");
  EXPECT_EQ(recs(), "4");  // REC 1 names K200 as its counter account
  EXPECT_FALSE(dm->IBTransactionDAT.inTransaction());
}

TEST_F(Journal, VersionAndTheCallersTransaction)
{
  EXPECT_EQ(dm->fnGetDataBaseVer(), "17.0.0");
  // A caller's open work is committed before the version is read.
  dm->IBTransactionDAT.start();
  db::Query upd(dm->IBTransactionDAT, "UPDATE ACCVERSION SET MINOR2=3 WHERE REC=1");
  upd.exec();
  EXPECT_EQ(dm->fnGetDataBaseVer(), "17.0.3");
  EXPECT_FALSE(dm->IBTransactionDAT.inTransaction());
  EXPECT_EQ(readValue(general.database, "SELECT MINOR2 FROM ACCVERSION WHERE REC=1", "MINOR2"), "3");
  execSql(general.database, "DELETE FROM ACCVERSION");
  EXPECT_EQ(dm->fnGetDataBaseVer(), "0.0.0");
}

// --- data password --------------------------------------------------------

TEST(DataPassword, ThreeTriesTrimmedCaseSensitive)
{
  pcAccRecordReset();
  struct Case {
    const char* what;
    QString password;
    int systemKind;
    QStringList answers;  // "<cancel>" cancels
    bool expected;
    int prompts;
  } cases[] = {
      {"no password", "", 0, {}, true, 0},
      {"other system kind", "abc12", 1, {}, true, 0},
      {"spaces around", "abc12", 0, {" abc12　"}, true, 1},
      {"letter case", "abc12", 0, {"ABC12", "Abc12", "abC12"}, false, 3},
      {"second try", "abc12", 0, {"x", "abc12"}, true, 2},
      {"cancel", "abc12", 0, {"<cancel>", "abc12"}, false, 1},
      {"inner space", "abc12", 0, {"abc 12", "abc12 ", "x"}, true, 2},
  };
  TDM dm;
  for (const auto& c : cases) {
    AccInf.DataPassword = c.password;
    SystemKind = std::uint8_t(c.systemKind);
    QList<int> tries;
    DataPasswordPromptProc = [&](int ATry, QString& AText) {
      tries << ATry;
      const QString a = c.answers.value(int(tries.size()) - 1);
      if (a == "<cancel>")
        return false;
      AText = a;
      return true;
    };
    EXPECT_EQ(dm.IsDataPassword(0), c.expected) << c.what;
    EXPECT_EQ(tries.size(), c.prompts) << c.what;
    for (int i = 0; i < tries.size(); ++i)
      EXPECT_EQ(tries[i], i + 1) << c.what;
  }
  // Without a prompt a protected data set stays closed.
  SystemKind = 0;
  DataPasswordPromptProc = nullptr;
  AccInf.DataPassword = "abc12";
  EXPECT_FALSE(dm.IsDataPassword(0));
  pcAccRecordReset();
}

}  // namespace
}  // namespace dmtest
