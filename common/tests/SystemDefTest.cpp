// System definitions, the system and branch registers, the era table, the
// system database's version, the numbered system settings and the operator
// look-ups, against fixture system databases.
#include "DataModuleTestUtil.h"
#include "acctables/AccGengo.h"
#include "common/TypedValue.h"
#include "platform/DateTime.h"

namespace dmtest {
namespace {

class SysDef : public StandAlone {
 protected:
  void SetUp() override
  {
    StandAlone::SetUp();
    ASSERT_TRUE(dm->fnAccDefConnected(QString(), true));
  }
  QString sys(const QString& sql, const QString& field) const { return readValue(root.systemDb, sql, field); }
};

TEST_F(SysDef, NewOperatorRowDefaultsAndRoundTrip)
{
  SystemDef.OPCODE = sample::loginCode(55);  // no SYSDEF row yet
  execSql(root.systemDb, "DELETE FROM USERCODE");
  ASSERT_TRUE(dm->fnGetSYSDEF()) << (hook.boxes.empty() ? "" : hook.boxes.back().text.toStdString());
  EXPECT_EQ(SystemDef.SankakuPlus, 1);
  EXPECT_EQ(SystemDef.NetColor1, 0xD7FFD7);
  EXPECT_EQ(SystemDef.NetColor2, 0xD7FFD7);
  EXPECT_EQ(SystemDef.LineColor1, 0x7900);
  EXPECT_EQ(SystemDef.LineColor2, 0x7900);
  EXPECT_EQ(SystemDef.RowHeaderColor, SystemDef.ColHeaderColor);
  EXPECT_EQ(SystemDef.DicSwitch, 0);
  EXPECT_EQ(SystemDef.DicTekAuto, 1);
  EXPECT_EQ(SystemDef.DicTorAuto, 1);
  // The register holds the seeded values for a new operator.
  EXPECT_EQ(SystemDef.ImpCtrl_JisyoAuto[0], 1);
  EXPECT_EQ(SystemDef.ImpCtrl_Jisyo[1], 1);
  EXPECT_EQ(SystemDef.SiwakechoTCodeOut, 1);
  EXPECT_EQ(SystemDef.SisanhyoTitle, "試　算　表");
  EXPECT_EQ(SystemDef.Jimusho, "髙橋会計事務所～本所");
  EXPECT_EQ(SystemDef.JimushoTel, "03-0000-0000");
  EXPECT_EQ(SystemDef.SystemDBVerMajor, 12);
  EXPECT_EQ(sys("SELECT COUNT(*) AS N FROM USERCODE", "N"), "20");
  EXPECT_EQ(sys("SELECT MIN(RECNO) || '-' || MAX(RECNO) AS R FROM USERCODE", "R"), "1-20");
  EXPECT_FALSE(dm->IBTransactionDEF.inTransaction());
  // The group-wide damage check lives under the group code.
  EXPECT_EQ(sys("SELECT STEXT FROM SYSREG WHERE OPCODE=100009999 AND SCODE='データ破損チェック区'", "STEXT"), "1");

  // The stored voucher column is kept by every save; packed switches are
  // rebuilt from their fields; grey gradient zeros read as the defaults.
  execSql(root.systemDb,
          "UPDATE SYSDEF SET Shouhyou=7, Reserve4=48 + 4096 + 4, Reserve2=2 + 8, ColHeaderGradColor1=0, "
          "ColHeaderGradColor2=0 WHERE OPCODE=100000055");
  execSql(root.systemDb, "UPDATE SYSREG SET STEXT='0' WHERE OPCODE=100000055 AND SCODE='消費税コード印刷区分'");
  execSql(root.systemDb, "UPDATE SYSREG SET STEXT='' WHERE OPCODE=100000055 AND SCODE='試算表タイトル'");
  ASSERT_TRUE(dm->fnGetSYSDEF());
  EXPECT_EQ(SystemDef.BunsekiOutputGyoChosei, 1);
  EXPECT_EQ(SystemDef.SyohyoKirikae, 1);
  EXPECT_EQ(SystemDef.KessansyoSotowaku, 1);
  EXPECT_EQ(SystemDef.ColHeaderGradColor1, 0xFFFFFF);
  EXPECT_EQ(SystemDef.ColHeaderGradColor2, 0xBBBBBB);
  EXPECT_EQ(SystemDef.SiwakechoTCodeOut, 1);
  EXPECT_EQ(SystemDef.SisanhyoTitle, " ");
  SystemDef.PrinterName = "プリンタ①";
  SystemDef.AppWidth = 1280;
  SystemDef.MotochoSaisyuGyoZanOut = 1;
  ASSERT_TRUE(dm->fnPutSysdef());
  EXPECT_EQ(sys("SELECT Shouhyou FROM SYSDEF WHERE OPCODE=100000055", "SHOUHYOU"), "7");
  EXPECT_EQ(sys("SELECT Reserve4 FROM SYSDEF WHERE OPCODE=100000055", "RESERVE4"), QString::number(16 + 4 + 64));
  EXPECT_EQ(sys("SELECT Reserve2 FROM SYSDEF WHERE OPCODE=100000055", "RESERVE2"), "2");
  EXPECT_EQ(sys("SELECT ColHeaderGradColor2 FROM SYSDEF WHERE OPCODE=100000055", "COLHEADERGRADCOLOR2"),
            QString::number(0xBBBBBB));
  EXPECT_EQ(sys("SELECT PrinterName FROM SYSDEF WHERE OPCODE=100000055", "PRINTERNAME"), "プリンタ①");
  EXPECT_EQ(sys("SELECT STEXT FROM SYSREG WHERE OPCODE=100000055 AND SCODE='消費税コード印刷区分'", "STEXT"), "1");
  EXPECT_EQ(sys("SELECT STEXT FROM SYSREG WHERE OPCODE=100000055 AND SCODE='元帳最終行残高出力区'", "STEXT"), "1");

  // A second operator's reading leaves the USERCODE slots alone.
  execSql(root.systemDb, "DELETE FROM USERCODE WHERE RECNO>1");
  SystemDef.OPCODE = sample::loginCode(56);
  ASSERT_TRUE(dm->fnGetSYSDEF());
  EXPECT_EQ(sys("SELECT COUNT(*) AS N FROM USERCODE", "N"), "1");
}

TEST_F(SysDef, FontAppliedOnlyWhenInstalled)
{
  execSql(root.systemDb,
          "INSERT INTO SYSDEF (OPCODE, FontName, FontSize, FontStyle) VALUES (100000101, 'IPAexGothic', 12, 1)");
  SystemDef.NowFont = TFontInfo{"Start", 9, 0, 0, -12};
  struct Case {
    bool installed;
    QString name;
    int size, style;
  } cases[] = {{false, "Start", 9, 0}, {true, "IPAexGothic", 12, 1}};
  for (const Case& c : cases) {
    TDM::FontExistsProc = [&](const QString& n) { return c.installed && n == "IPAexGothic"; };
    ASSERT_TRUE(dm->fnGetSYSDEF());
    EXPECT_EQ(SystemDef.NowFont.Name, c.name);
    EXPECT_EQ(SystemDef.NowFont.Size, c.size);
    EXPECT_EQ(SystemDef.NowFont.Style, c.style);
    EXPECT_EQ(dm->cxStyleRepository1.Font.Name, c.name);
    EXPECT_EQ(dm->cxStyleRepository1.Title, SystemDef.ColHeaderColor);
  }
  TDM::FontExistsProc = nullptr;
}

TEST_F(SysDef, MessageLogonAndSizeRows)
{
  execSql(root.systemDb, "INSERT INTO SYSDEF (OPCODE, SSTR) VALUES (100000101, 'hello')");
  execSql(root.systemDb,
          "INSERT INTO LOGONUSERLIST (GROUPID, OPERATORCODE, OPCODE, PCNAME) VALUES (10000, 101, 100000101, 'pc')");
  execSql(root.systemDb, "INSERT INTO FORMRSIZE (OPCODE, FMNAME) VALUES (100000101, 'F')");
  EXPECT_EQ(dm->fnGetMessage(), "hello");
  EXPECT_EQ(SystemDef.SSTR, "hello");
  dm->DeleteLogonInfo();
  dm->DeleteFormSizeInfo();
  EXPECT_EQ(sys("SELECT COUNT(*) AS N FROM LOGONUSERLIST WHERE OPCODE=100000101", "N"), "0");
  EXPECT_EQ(sys("SELECT COUNT(*) AS N FROM FORMRSIZE WHERE OPCODE=100000101", "N"), "0");
  SystemDef.OPCODE = sample::loginCode(77);
  EXPECT_EQ(dm->fnGetMessage(), "");
  EXPECT_EQ(SystemDef.SSTR, "hello");
  SystemDef.DicNum1 = 3;
  SystemDef.OPCODE = sample::loginCode(101);
  EXPECT_TRUE(dm->fnPutSysdefJisyoField());
  EXPECT_EQ(sys("SELECT DicNum1 FROM SYSDEF WHERE OPCODE=100000101", "DICNUM1"), "3");
}

TEST_F(SysDef, SystemRegisterTable)
{
  struct Case {
    QString key, type, def, stored;  // stored: "<none>" for a missing row
    QString expected;
  } cases[] = {
      {"k1", "整数", "0", "<none>", "0"},
      {"k2", "論理", "FALSE", "true", "false"},
      {"k3", "論理", "FALSE", "TRUE", "true"},
      {"k4", "文字", "x", "", " "},
      {"k5", "整数", "5", "", "0"},
      {"k6", "実数", "1", "1.5", "Data Type Error"},
      {"k7", "日付", "", "2024/05/01", QString::number(EncodeDate(2024, 5, 1))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key.toStdString());
    if (c.stored != "<none>")
      execSql(root.systemDb,
              QStringLiteral("INSERT INTO SYSREG (OPCODE, SCODE, STYPE, STEXT) VALUES (100000101, '%1', '%2', '%3')")
                  .arg(c.key, c.type, c.stored));
    const QVariant v = dm->funcGetSysReg(c.key, c.type, c.def);
    EXPECT_EQ(v.toString(), c.expected);
  }
  EXPECT_EQ(sys("SELECT STYPE || ':' || STEXT AS T FROM SYSREG WHERE OPCODE=100000101 AND SCODE='k1'", "T"), "整数:0");

  dm->funcPutSysReg("w1", "日付", EncodeDate(2024, 5, 1));
  dm->funcPutSysReg("w2", "日付", 0.0);
  dm->funcPutSysReg("w3", "実数", 1.5);
  EXPECT_EQ(sys("SELECT STEXT FROM SYSREG WHERE SCODE='w1'", "STEXT"), "2024/05/01");
  EXPECT_EQ(sys("SELECT STEXT FROM SYSREG WHERE SCODE='w2'", "STEXT"), "");
  EXPECT_EQ(sys("SELECT COALESCE(STEXT, '<null>') AS S FROM SYSREG WHERE SCODE='w3'", "S"), "<null>");

  // Inside the caller's transaction the write waits for the caller's commit.
  dm->IBTransactionDEF.start();
  dm->funcPutSysReg("w4", "整数", 4);
  EXPECT_EQ(sys("SELECT COUNT(*) AS N FROM SYSREG WHERE SCODE='w4'", "N"), "0");
  dm->IBTransactionDEF.commit();
  EXPECT_EQ(sys("SELECT STEXT FROM SYSREG WHERE SCODE='w4'", "STEXT"), "4");
}

TEST_F(SysDef, BranchRegister)
{
  const sample::DataSet& general = root.dataSets.at(0);
  ASSERT_TRUE(dm->fnAccDatConnected(QString(), general.folder, false));
  dm->pcPutSisetuItem("01", "G", "never", "文字", "x");
  EXPECT_EQ(readValue(general.database, "SELECT COUNT(*) AS N FROM SISETREG", "N"), "0");
  EXPECT_EQ(dm->fnGetSisetuItem("01", "G", "b", "論理", true).toBool(), true);
  execSql(general.database, "UPDATE SISETREG SET RTEXT='true' WHERE RCODE='b'");
  EXPECT_TRUE(dm->fnGetSisetuItem("01", "G", "b", "論理", false).toBool());
  dm->pcPutSisetuItem("01", "G", "b", "論理", false);
  EXPECT_FALSE(dm->fnGetSisetuItem("01", "G", "b", "論理", true).toBool());
  EXPECT_EQ(dm->fnGetSisetuItem("01", "G", "t", "文字", "").toString(), "");
}

TEST_F(SysDef, EraTableFromGengoAndFallback)
{
  // Rows stored oldest first load newest first.
  execSql(root.systemDb, "DELETE FROM GENGO");
  execSql(root.systemDb, "INSERT INTO GENGO VALUES ('平成', 'H', '1989-01-08', 1989)");
  execSql(root.systemDb, "INSERT INTO GENGO VALUES ('令和', 'R', '2019-05-01', 2019)");
  execSql(root.systemDb, "INSERT INTO GENGO VALUES ('新元', 'N', '2040-01-01', 2040)");
  dm->SetGengoRecord();
  ASSERT_EQ(GengoTable.size(), 3u);
  EXPECT_EQ(GengoTable[0].Name, "新元");
  EXPECT_EQ(GengoTable[0].StartDate, EncodeDate(2040, 1, 1));
  EXPECT_EQ(GengoTable[2].YearOffSet, 1989);
  EXPECT_EQ(dm->cxEditRepo_Combo_Gengo_Items, QStringList({"N", "R", "H"}));
  EXPECT_FALSE(dm->IBTransactionDEF.inTransaction());

  for (const char* sql : {"DELETE FROM GENGO", "DROP TABLE GENGO"}) {
    SCOPED_TRACE(sql);
    dm->IBDatabaseDEF.disconnect();
    execSql(root.systemDb, sql);
    ASSERT_TRUE(dm->fnAccDefConnected(QString(), true));
    dm->SetGengoRecord();
    ASSERT_EQ(GengoTable.size(), 5u);
    EXPECT_EQ(GengoTable[0].Name, "令和");
    EXPECT_EQ(dm->cxEditRepo_Combo_Gengo_Items, QStringList({"R", "H", "S", "T", "M"}));
  }
  EXPECT_TRUE(hook.boxes.empty());
}

TEST(SystemDbVersion, ByGeneration)
{
  TestTempDir tmp;
  RecordingHook hook;
  struct Case {
    SystemGeneration generation;
    int major, minor, rev;
    QStringList extra;
  } cases[] = {
      {SystemGeneration::Current, 12, 0, 0, {}},
      {SystemGeneration::V1000, 10, 0, 0, {}},
      {SystemGeneration::V1101,
       17,
       0,
       1,
       {"INSERT INTO VERSION VALUES (16, 2, 9)", "INSERT INTO VERSION VALUES (17, 0, 1)"}},
      {SystemGeneration::V1101, 0, 0, 0, {"DROP TABLE VERSION"}},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(n);
    const QString folder = tmp.file(QStringLiteral("s%1").arg(n++));
    const QString systemDb = testfx::makeSystemDb(folder, c.generation);
    for (const QString& sql : c.extra)
      execSql(systemDb, sql);
    pointRecordsAt(folder, tmp.file("log"));
    SystemDef.SystemDBVerMajor = 99;
    TDM dm;
    ASSERT_TRUE(dm.fnAccDefConnected(QString(), true));
    dm.SetSystemDBVersion();
    EXPECT_EQ(SystemDef.SystemDBVerMajor, c.major);
    EXPECT_EQ(SystemDef.SystemDBVerMinor, c.minor);
    EXPECT_EQ(SystemDef.SystemDBVerRev, c.rev);
    EXPECT_TRUE(hook.boxes.empty());
  }
  pcAccRecordReset();
}

TEST_F(SysDef, NumberedSettingsOperatorsAndServerTime)
{
  TSystemIniRec rec;
  rec.Rec = 77;
  rec.Info1 = 9;
  rec.InfoText = "x";
  EXPECT_TRUE(dm->GetSysIni(rec));
  EXPECT_EQ(rec.Info1, 0);
  EXPECT_EQ(rec.InfoText, "");
  rec.Info2 = 5;
  rec.InfoText = "first";
  EXPECT_TRUE(dm->SetSysIni(rec));
  rec.InfoText = "second";
  EXPECT_TRUE(dm->SetSysIni(rec));
  TSystemIniRec back;
  back.Rec = 77;
  EXPECT_TRUE(dm->GetSysIni(back));
  EXPECT_EQ(back.Info2, 5);
  EXPECT_EQ(back.InfoText, "second");
  EXPECT_EQ(sys("SELECT COUNT(*) AS N FROM SYSTEMINI WHERE REC=77", "N"), "1");

  QStringList codes;
  const QString list = dm->GetOperatorList(codes, sample::GroupId, "選択なし");
  EXPECT_EQ(codes.value(0), "");
  EXPECT_TRUE(list.startsWith("選択なし\r\n"));
  EXPECT_TRUE(list.contains("101:" + sample::operatorName() + "\r\n"));
  EXPECT_EQ(codes.size(), list.count("\r\n"));
  EXPECT_FALSE(codes.contains("9"));

  struct Op {
    int login, password;
    bool ok;
    int level;
  } ops[] = {
      {sample::loginCode(101), 0, true, 9},     {sample::loginCode(101), 1234, true, 9},
      {sample::loginCode(101), 1235, false, 0}, {sample::loginCode(102), 1, false, 0},  // stored "abcd" is not a number
      {sample::loginCode(555), 0, false, 0},
  };
  for (const Op& o : ops) {
    SCOPED_TRACE(o.login);
    EXPECT_EQ(dm->IsOpCode(o.login, o.password), o.ok);
    EXPECT_EQ(SystemDef.OPLevel, o.level);
    EXPECT_EQ(SystemDef.OPCODE2, o.login % 10000);
  }
  EXPECT_EQ(SystemDef.OPCODE, sample::loginCode(sample::OperatorCode));

  AppType = jxatSA;
  const TDateTime before = Now();
  EXPECT_GE(dm->GetDBServerNow(), before);
}

}  // namespace
}  // namespace dmtest
