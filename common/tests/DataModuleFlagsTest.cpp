// The data module's deferred actions, company-data flags and labels, the
// operator key values and the screen values store; the database questions
// against fixture databases.
#include <QCoreApplication>
#include <QElapsedTimer>

#include "DataModuleTestUtil.h"
#include "common/GamenKeyValue.h"
#include "platform/DateTime.h"

namespace dmtest {
namespace {

QString u(const char16_t* s)
{
  return QString::fromUtf16(s);
}

// Timers need an event loop; the core tests have no application object.
void ensureApp()
{
  if (QCoreApplication::instance())
    return;
  static int argc = 1;
  static char name[] = "rendo_common_tests";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
}

void spin(int ms)
{
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

class Closable : public QObject {
  Q_OBJECT
 public:
  int closes = 0;
  Q_INVOKABLE bool close()
  {
    ++closes;
    return true;
  }
};

TEST(DeferredActions, DataFolderNamesOfAPath)
{
  struct Case {
    QString path, dir, child;
  } cases[] = {
      {"C:\\ProgramData\\x\\DATA\\12\\3", "12", "3"},
      {"C:\\ProgramData\\x\\cb_data\\5", "5", ""},
      {"C:\\ProgramData\\x\\nothing\\5", "", ""},
      {"C:\\My Data\\DATA\\7", "7", ""},                 // "MyData" is no DATA part
      {u(u"/srv/ｘ/Data/0012/　0003"), "0012", "0003"},  // full-width spaces go too
      {"/home/a/DATA", "", ""},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path.toStdString());
    QString dir = "old", child = "old";
    TDM::LocalPathToDataDirName(c.path, dir, child);
    EXPECT_EQ(dir, c.dir);
    EXPECT_EQ(child, c.child);
  }
}

TEST(DeferredActions, LaunchOnlyThroughAnInstalledHook)
{
  ensureApp();
  pcAccRecordReset();
  TDM dm;
  QStringList calls;
  SyoriKidouProc = [&](const QString& id, int mode, const QString& options) {
    calls << QStringLiteral("%1|%2|%3").arg(id).arg(mode).arg(options);
    return 1;
  };
  dm.SetTimerSyoriKidou(QString(), 1, "a=1");
  EXPECT_FALSE(dm.TimerSyoriKidou.isActive());
  EXPECT_EQ(dm.SyoriOption(), "a=1");

  dm.SetTimerSyoriKidou("DuRoziZuvurad", 1, "SyoriType=3\r\n");
  EXPECT_TRUE(dm.TimerSyoriKidou.isActive());
  EXPECT_TRUE(calls.isEmpty());  // never from inside the call
  spin(300);
  EXPECT_EQ(calls, QStringList{"DuRoziZuvurad|1|SyoriType=3\r\n"});
  EXPECT_FALSE(dm.TimerSyoriKidou.isActive());
  EXPECT_TRUE(dm.SyoriID().isEmpty());
  EXPECT_EQ(dm.SyoriFormStyle(), 0);
  EXPECT_TRUE(dm.SyoriOption().isEmpty());

  // Without a hook the timer runs out harmlessly and forgets the request.
  SyoriKidouProc = nullptr;
  dm.SetTimerSyoriKidou("JxTusinSettei", 0, QString());
  spin(300);
  EXPECT_TRUE(dm.SyoriID().isEmpty());
}

TEST(DeferredActions, CloseTimerClosesTheStoredWindowLater)
{
  ensureApp();
  pcAccRecordReset();
  TDM dm;
  Closable w;
  dm.SetTimerFormClose(&w);
  EXPECT_EQ(dm.TimerFormCloseTag(), &w);
  spin(300);
  EXPECT_EQ(w.closes, 1);
  EXPECT_EQ(dm.TimerFormCloseTag(), nullptr);

  // A window destroyed before the timer fires is left alone.
  auto* gone = new Closable;
  dm.SetTimerFormClose(gone);
  delete gone;
  EXPECT_EQ(dm.TimerFormCloseTag(), nullptr);
  spin(300);
}

TEST(KeyValueTexts, EditLinesOfNameAndValue)
{
  QString text = "A=1\r\nB=2";
  TDM::SetExField_Value(text, "a", "9");
  EXPECT_EQ(text, "B=2\r\na=9\r\n");
  EXPECT_EQ(TDM::GetExField_Value("X=1", "Y"), "");
  EXPECT_EQ(TDM::GetExField_Value("X=1\nCOLOR=255\ncolor=1", "Color"), "255");
  EXPECT_EQ(TDM::GetExField_Value("X\r\nX=a=b", "X"), "a=b");  // a line without "=" has no name
  QString missing = "X=1";
  TDM::DeleteExField_Key(missing, "Y");
  EXPECT_EQ(missing, "X=1\r\n");
  QString twice = "K=1\r\nL=2\r\nk=3\r\n";
  TDM::DeleteExField_Key(twice, "K");
  EXPECT_EQ(twice, "L=2\r\nk=3\r\n");
  QString empty;
  TDM::SetExField_Value(empty, "N", "");
  EXPECT_EQ(empty, "N=\r\n");
}

class Flags : public ::testing::Test {
 protected:
  void SetUp() override { pcAccRecordReset(); }
  void TearDown() override { pcAccRecordReset(); }
};

TEST_F(Flags, CloudShareAndAccess)
{
  TDM dm;
  struct Case {
    int oem, kind;
    TJxAppType app;
    bool vestimar;
    int gassan, line;
    bool installation, data;
  } cases[] = {
      {0, 0, jxatSA, false, 0, 1, true, true},    {0, 0, jxatCS, false, 0, 0, true, false},   // no cloud-share line
      {0, 0, jxatCS, false, 1, 1, true, false},                                               // consolidated data
      {0, 0, jxatSBC, false, 0, 1, false, false}, {1, 0, jxatSA, false, 0, 1, false, false},  // partner edition
      {0, 2, jxatSA, false, 0, 1, true, true},    {0, 2, jxatSA, true, 0, 1, false, false},
      {0, 1, jxatSA, false, 0, 1, false, false},
  };
  for (const auto& c : cases) {
    OemEdition = c.oem;
    SystemKind = c.kind;
    AppType = c.app;
    TACCINF inf;
    inf.GassanDataKbn = c.gassan;
    inf.CLOUD_LINE = c.line;
    EXPECT_EQ(dm.IsCloudShare(c.vestimar), c.installation);
    EXPECT_EQ(dm.IsCloudShare(inf, c.vestimar), c.data);
  }
  OemEdition = 0;
  for (int kind : {0, 1, 2, 3}) {
    SystemKind = kind;
    for (int ro : {0, 1}) {
      AccInf.Read_Only = ro;
      EXPECT_EQ(dm.GetDataAccessKbn(), (kind == 1 || kind == 2 || ro == 1) ? 1 : 0);
    }
  }
}

TEST_F(Flags, AuditLock)
{
  TDM dm;
  const TDateTime fix = EncodeDate(2024, 3, 31);
  const TDateTime before = EncodeDate(2024, 3, 30), after = EncodeDate(2024, 4, 1);
  struct Case {
    bool kessanSiwake;
    TDateTime date;
    int kessan;
    bool closed;
  } cases[] = {
      {false, fix, 0, true}, {false, fix, 1, false}, {false, after, 0, false}, {false, before, 1, true},
      {true, fix, 0, true},  {true, fix, 1, true},   {true, after, 1, false},  {false, 0, 0, false},
  };
  AccInf.KANSA_FIXDATE = fix;
  AccInf.KANSA_DATE = EncodeDate(2024, 5, 10);
  AccInf.KANSA_LOCK = 1;
  for (const auto& c : cases) {
    AccInf.KANSA_FIXKessanSiwake = c.kessanSiwake;
    EXPECT_EQ(dm.IsKansaZumiHizuke(c.date, c.kessan), c.closed) << c.kessanSiwake << " " << c.date << " " << c.kessan;
  }
  // Switches that open everything: lock off, no audit date, an office or
  // level-9 operator (not in the cash-book product).
  AccInf.KANSA_FIXKessanSiwake = false;
  AccInf.KANSA_LOCK = 0;
  EXPECT_FALSE(dm.IsKansaZumiHizuke(before, 0));
  AccInf.KANSA_LOCK = 1;
  AccInf.KANSA_DATE = 0;
  EXPECT_FALSE(dm.IsKansaZumiHizuke(before, 0));
  AccInf.KANSA_DATE = fix;
  SystemDef.OPLevel = 9;
  EXPECT_FALSE(dm.IsKansaZumiHizuke(before, 0));
  SystemKind = 3;
  EXPECT_TRUE(dm.IsKansaZumiHizuke(before, 0));
  SystemKind = 0;
  SystemDef.OPLevel = 1;
  SystemDef.OPAccount = true;
  EXPECT_FALSE(dm.IsKansaZumiHizuke(before, 0));
}

TEST_F(Flags, Labels)
{
  TDM dm;
  AccInf.KobetuGenkaAlias = u(u"個別原価");
  struct Case {
    int kirikae, genka, outKbn;
    QString title;
  } cases[] = {
      {0, 0, 0, u(u"証憑")},     {1, 0, 0, u(u"仕訳番号")}, {0, 1, 0, u(u"個別原価")}, {0, 1, 2, u(u"個別　原価")},
      {1, 1, 2, u(u"仕訳番号")}, {0, 0, 2, u(u"証　憑")},   {1, 0, 1, u(u"証憑")},     {1, 1, 3, u(u"個別原価")},
      {0, 0, 3, u(u"証憑番号")}, {2, 0, 7, u(u"証憑")},
  };
  for (const auto& c : cases) {
    SystemDef.SyohyoKirikae = c.kirikae;
    AccInf.KobetuGenka_Use = c.genka;
    EXPECT_EQ(dm.GetShouhyouTitle(c.outKbn), c.title) << c.kirikae << c.genka << c.outKbn;
  }
  AccInf.KobetuGenkaAlias = "AB";
  SystemDef.SyohyoKirikae = 2;
  EXPECT_EQ(dm.GetShouhyouTitle(0), "AB  ");  // padded to four

  AccInf.ZaimuDataType = jxztCuravia;
  EXPECT_EQ(dm.GetKamokuUseKbnHyoukimei(10), u(u"病－訪－"));
  EXPECT_EQ(dm.GetKamokuUseKbnHyoukimei(15), u(u"病老訪他"));
  EXPECT_EQ(dm.GetKamokuUseKbnHyoukimei(0), u(u"－－－－"));
  AccInf.ZaimuDataType = jxztBasic;
  EXPECT_EQ(dm.GetKamokuUseKbnHyoukimei(1), u(u"○"));
  EXPECT_EQ(dm.GetKamokuUseKbnHyoukimei(2), "");

  for (const auto& [code, yes] : std::vector<std::pair<QString, bool>>{
           {"8", false}, {"80", true}, {"99", true}, {"79", false}, {"800", false}, {u(u"８０"), false}, {"", false}})
    EXPECT_EQ(TDM::IsGenkaKeisanBCODE(code), yes) << code.toStdString();

  SystemDef.JimushoPrintItem = 0b10000001;  // items 1 and 8
  SystemDef.JimushoPrintItem02 = 0b10;      // item 10
  for (int v = 1; v <= 12; ++v)
    EXPECT_FALSE(dm.IsJimushoNamePrintItem(v));
  SystemDef.JimushoPrint = 1;
  for (int v = 1; v <= 12; ++v)
    EXPECT_EQ(dm.IsJimushoNamePrintItem(v), v == 1 || v == 8 || v == 10) << v;

  EXPECT_EQ(TDM::GetIryoHojin_JigyoKbn(u(u"病院")), 8);
  EXPECT_EQ(TDM::GetIryoHojin_JigyoKbn(u(u"診療所")), 8);
  EXPECT_EQ(TDM::GetIryoHojin_JigyoKbn(u(u"老健")), 4);
  EXPECT_EQ(TDM::GetIryoHojin_JigyoKbn(u(u"訪問看護")), 2);
  EXPECT_EQ(TDM::GetIryoHojin_JigyoKbn(u(u"その他")), 1);
  EXPECT_EQ(TDM::GetIryoHojin_JigyoKbn(u(u"薬局")), -1);
  EXPECT_TRUE(TDM::fnIsIryoHojinType(u(u"医療法人")));
  EXPECT_TRUE(TDM::fnIsIryoHojinType(u(u"個人(クリニック)")));
  EXPECT_FALSE(TDM::fnIsIryoHojinType(u(u"株式会社")));

  EXPECT_EQ(dm.TolvaneDefaultHCode(), "");
  EXPECT_EQ(dm.TolvaneDefaultBCode(), "");
  OemEdition = 1;
  EXPECT_EQ(dm.TolvaneDefaultHCode(), "9999");
  AccInf.HCodeLenMode = jxkcLen3;
  EXPECT_EQ(dm.TolvaneDefaultHCode(), "999");
  EXPECT_EQ(dm.TolvaneDefaultBCode(), "00");
  OemEdition = 0;
}

// ---------------------------------------------------------------- databases

class FlagsOnData : public StandAlone {
 protected:
  void SetUp() override
  {
    StandAlone::SetUp();
    company = root.dataSets.at(0).database;
    ASSERT_TRUE(dm->fnAccDefConnected(QString(), true));
    ASSERT_TRUE(dm->fnAccDatConnected(QString(), root.dataSets.at(0).folder, false));
    execSql(company, "DELETE FROM SIWAKE");
    execSql(company, "DELETE FROM SIWAKE2");
  }
  // One journal line with its link row.
  void line(int swkrec, int delflg, int taishaku, int mnum, int linkkub, const QString& linkkey, bool approved)
  {
    execSql(company,
            QStringLiteral("INSERT INTO SIWAKE (SWKREC, DELFLG, TAISHAKU, MNUM, KCODE, SCODE, LINKKUB, LINKKEY) "
                           "VALUES (%1, %2, %3, %4, '1101', '', %5, '%6')")
                .arg(swkrec)
                .arg(delflg)
                .arg(taishaku)
                .arg(mnum)
                .arg(linkkub)
                .arg(linkkey));
    execSql(company,
            QStringLiteral("INSERT INTO SIWAKE2 (SWKREC, LINKKUB, LINKKEY, SHONIN_HIZUKE) VALUES (%1, %2, '%3', %4)")
                .arg(swkrec)
                .arg(linkkub)
                .arg(linkkey)
                .arg(approved ? QStringLiteral("DATE '2024-04-02'") : QStringLiteral("NULL")));
  }
  QString company;
};

TEST_F(FlagsOnData, JournalQuestions)
{
  EXPECT_FALSE(dm->IsFurikaeSiwake());
  EXPECT_FALSE(dm->IsSyouninZumiSiwake(""));
  EXPECT_FALSE(dm->IsKimatuZeinukiSeiseiZumi(0, 0));
  EXPECT_EQ(dm->GetOutputZeikbn_TaxSinkokusyo(0, 0, 0), 0);

  line(1, 0, 1, 3, 13, "x", false);
  line(2, 0, 1, 16, 9, "", true);
  line(3, 1, 1, 5, 9, "", true);  // deleted lines do not count
  EXPECT_TRUE(dm->IsFurikaeSiwake());
  EXPECT_TRUE(dm->IsSyouninZumiSiwake(""));
  EXPECT_TRUE(dm->IsSyouninZumiSiwake("(MNUM=16)"));
  EXPECT_FALSE(dm->IsSyouninZumiSiwake("(MNUM=3)"));
  EXPECT_FALSE(dm->IsSyouninZumiSiwake("(NOSUCHCOLUMN=1)"));  // an error answers false
  EXPECT_TRUE(dm->IsKimatuZeinukiSeiseiZumi(0, 0));
  EXPECT_TRUE(dm->IsKimatuZeinukiSeiseiZumi(1, 0));
  EXPECT_FALSE(dm->IsKimatuZeinukiSeiseiZumi(0, 1));
  EXPECT_FALSE(dm->IsKimatuZeinukiSeiseiZumi(0, 3));
  execSql(company, "UPDATE SIWAKE SET MNUM=15 WHERE SWKREC=2");
  EXPECT_TRUE(dm->IsKimatuZeinukiSeiseiZumi(0, 0));
  EXPECT_FALSE(dm->IsKimatuZeinukiSeiseiZumi(1, 0));  // the year-end period only
  EXPECT_EQ(dm->GetOutputZeikbn_TaxSinkokusyo(0, 0, 0), 1);
  EXPECT_EQ(dm->GetOutputZeikbn_TaxSinkokusyo(2, 0, 0), 2);
  EXPECT_EQ(dm->GetSyuukeiZeikbn(0, 0, 0), 0);
  EXPECT_EQ(dm->GetOutputZeikbn(3, 0, 0), 3);
  EXPECT_FALSE(dm->IBTransactionDAT.inTransaction());

  AccInf.SHOKUTI = "1101";
  EXPECT_FALSE(dm->IsSyokuchiHojoAri());
  execSql(company, QStringLiteral(u"UPDATE KAMOKUMST SET HOJOSW='○' WHERE KCODE='1101'"));
  EXPECT_TRUE(dm->IsSyokuchiHojoAri());
}

TEST_F(FlagsOnData, DepartmentCodeRenamedInDailyReportKeys)
{
  line(1, 0, 1, 1, 7, "01;2024;01;", false);
  line(2, 0, 1, 1, 7, "011;2024;", false);  // another code that starts alike
  line(3, 0, 1, 1, 6, "01;2024;", false);   // not a daily report
  line(4, 0, 1, 1, 7, "0%;2024;", false);
  EXPECT_TRUE(dm->UpdateSiwakeNippouLinkKey("01", " 01 "));
  EXPECT_TRUE(dm->UpdateSiwakeNippouLinkKey(" 01", "05"));
  const auto key = [&](int swkrec) {
    return readValue(company, QStringLiteral("SELECT LINKKEY FROM SIWAKE2 WHERE SWKREC=%1").arg(swkrec), "LINKKEY");
  };
  EXPECT_EQ(key(1), "05;2024;05;");
  EXPECT_EQ(key(2), "011;2024;");
  EXPECT_EQ(key(3), "01;2024;");
  // A code with a wildcard matches only itself, and quotes are data.
  EXPECT_TRUE(dm->UpdateSiwakeNippouLinkKey("0%", "0'9"));
  EXPECT_EQ(key(4), "0'9;2024;");
  EXPECT_EQ(key(2), "011;2024;");
  EXPECT_FALSE(dm->IBTransactionDAT.inTransaction());
}

TEST_F(FlagsOnData, OpenLimitAndProcessRows)
{
  EXPECT_TRUE(dm->IsOpenLimitDialog_ConnectData(1));  // stand-alone: never limited
  AppType = jxatCS;
  execSql(company, "DELETE FROM OPINF");
  EXPECT_TRUE(dm->IsOpenLimitDialog_ConnectData(1));
  execSql(company,
          QStringLiteral(u"INSERT INTO OPINF (OPCODE, JOBNAME) VALUES (%1, '翌年度更新')").arg(SystemDef.OPCODE));
  EXPECT_TRUE(dm->IsOpenLimitDialog_ConnectData(1));  // the operator's own
  execSql(company, QStringLiteral(u"INSERT INTO OPINF (OPCODE, JOBNAME) VALUES (1, '繰越残高調整')"));
  EXPECT_FALSE(dm->IsOpenLimitDialog_ConnectData(1));
  EXPECT_TRUE(dm->IsOpenLimitDialog_ConnectData(0));
  EXPECT_TRUE(dm->DeleteOpInf());
  EXPECT_EQ(readValue(company, "SELECT COUNT(*) AS N FROM OPINF", "N"), "0");
  AppType = jxatSA;
}

TEST_F(FlagsOnData, DataListNumberOfAFolder)
{
  int rec = -1, child = -1;
  dm->LocalPathToDataListRecNo("/x/DATA/0012/3", rec, child);
  EXPECT_EQ(rec, 12);
  EXPECT_EQ(child, 3);
  dm->LocalPathToDataListRecNo("/x/DATA/abc", rec, child);
  EXPECT_EQ(rec, 0);
  EXPECT_EQ(child, 0);

  AppType = jxatCS;
  execSql(root.systemDb, "UPDATE DATALIST SET PASNAME='C:\\TESSALY\\Data\\0042' WHERE REC=2 AND GROUPID=10000");
  dm->LocalPathToDataListRecNo("c:\\tessaly\\DATA\\0042", rec, child);
  EXPECT_EQ(rec, 2);
  EXPECT_EQ(child, 0);
  dm->LocalPathToDataListRecNo("c:\\elsewhere", rec, child);
  EXPECT_EQ(rec, 0);
  dm->LocalPathToDataListRecNo("   ", rec, child);
  EXPECT_EQ(rec, 0);
  EXPECT_FALSE(dm->IBTransactionDEF.inTransaction());
  AppType = jxatSA;
}

TEST_F(FlagsOnData, OperatorKeyValues)
{
  const int op = SystemDef.OPCODE;
  EXPECT_EQ(dm->ZenkaiKeyValue(op, "Pallet_CustomColor"), "");
  dm->KeyValueHozon(op, "Pallet_CustomColor", "ColorA=FFFFFF");
  dm->KeyValueHozon(op, "Pallet_CustomColor", "ColorA=000080");
  dm->KeyValueHozon(op + 1, "Pallet_CustomColor", "other");
  EXPECT_EQ(dm->ZenkaiKeyValue(op, "Pallet_CustomColor"), "ColorA=000080");
  EXPECT_EQ(readValue(root.systemDb,
                      QStringLiteral(
                          "SELECT COUNT(*) AS N FROM STYLECOLOR WHERE OPCODE=%1 AND STYLENAME='Pallet_CustomColor'")
                          .arg(op),
                      "N"),
            "1");
  EXPECT_EQ(readValue(root.systemDb,
                      QStringLiteral("SELECT LINECOLOR1+LINECOLOR5+NETCOLOR2 AS N FROM STYLECOLOR WHERE OPCODE=%1 "
                                     "AND STYLENAME='Pallet_CustomColor'")
                          .arg(op),
                      "N"),
            "-3");
  EXPECT_FALSE(dm->IBTransactionDEF.inTransaction());
  // Errors are swallowed: without the system database nothing is read.
  dm->IBDatabaseDEF.disconnect();
  EXPECT_EQ(dm->ZenkaiKeyValue(op, "Pallet_CustomColor"), "");
  dm->KeyValueHozon(op, "Pallet_CustomColor", "x");
  EXPECT_TRUE(hook.boxes.empty());
}

TEST_F(FlagsOnData, ScreenValuesStore)
{
  EXPECT_EQ(TGamenKeyValue::fnKeyName("DataSentakuBox"), "020-DATASENTAKUBOX");
  EXPECT_EQ(TGamenKeyValue::fnKeyName(QString(60, QLatin1Char('a'))).size(), 40);
  EXPECT_EQ(TGamenKeyValue::fnKeyName(QString(36, QLatin1Char('a')) + " b"), "020-" + QString(36, QLatin1Char('A')));

  TGamenKeyValue store;
  struct Case {
    QString value, stored;
  } cases[] = {
      {u(u"　　abc "), "abc"},
      {QString(1500, QLatin1Char('x')), QString(1024, QLatin1Char('x'))},
      {QString(1023, QLatin1Char('y')) + " z", QString(1023, QLatin1Char('y'))},
      {"second", "second"},
  };
  for (const auto& c : cases) {
    store.ValueHozon("DataSentakuBox", c.value);
    EXPECT_EQ(store.ItemValue(), c.stored);
    EXPECT_EQ(store.ValueFukugen("DataSentakuBox"), c.stored);
    EXPECT_TRUE(store.ItemValue().isEmpty());
  }
  EXPECT_EQ(readValue(root.systemDb, "SELECT COUNT(*) AS N FROM STYLECOLOR WHERE STYLENAME='020-DATASENTAKUBOX'", "N"),
            "1");
  EXPECT_EQ(store.ValueFukugen("Other"), "");

  // Without an operator nothing is read or written.
  TGamenKeyValue none;
  none.SetOPCODE(0);
  none.ValueHozon("DataSentakuBox", "zero");
  EXPECT_EQ(none.ValueFukugen("DataSentakuBox"), "");
  EXPECT_EQ(store.ValueFukugen("DataSentakuBox"), "second");

  dm->KeyValueHozon(7, "Pallet_CustomColor", "p");
  store.ClearRecord();
  EXPECT_EQ(readValue(root.systemDb, "SELECT COUNT(*) AS N FROM STYLECOLOR", "N"), "0");
  EXPECT_FALSE(dm->IBTransactionDEF.inTransaction());
  EXPECT_TRUE(hook.boxes.empty());

  // A failed save is reported with its message and leaves no transaction.
  dm->IBDatabaseDEF.disconnect();
  store.ValueHozon("DataSentakuBox", "v");
  ASSERT_FALSE(hook.boxes.empty());
  EXPECT_TRUE(hook.boxes.back().text.contains(u(u"画面値の保存に失敗しました。")));
}

}  // namespace
}  // namespace dmtest

#include "DataModuleFlagsTest.moc"
