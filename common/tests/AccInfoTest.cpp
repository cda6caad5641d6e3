// The accounting information of the open data, the tax master, the data
// kinds and the cash-flow items, against fixture company databases.
#include "DataModuleTestUtil.h"
#include "common/AccCipher.h"
#include "common/AccSikinGuriCmp.h"
#include "common/AccTaxCmp.h"
#include "platform/DateTime.h"
#include "platform/Exceptions.h"

namespace dmtest {
namespace {

TDateTime day(int y, int m, int d)
{
  return EncodeDate(y, m, d);
}

TEST(DataKinds, NamesAndErrors)
{
  const QString dataText = QStringLiteral("このプログラムでは、該当のデータタイプを処理することが出来ません。");
  const QString codeText = QStringLiteral("このプログラムでは、該当のコードタイプを処理することが出来ません。");
  struct Case {
    int data, code;
    bool merge;
    QString expected;  // name, or the error text
    bool throws;
  } cases[] = {
      {2, 3, true, "個人／クリニック", false},
      {2, 2, true, "個人／不動産", false},
      {3, 1, true, "医療法人", false},
      {1, 1, true, "法人", false},
      {2, 4, false, "農業", false},
      {1, 2, false, dataText + "(CodeType=2)", true},
      {2, 5, false, codeText + "(CodeType=5)", true},
      {3, 2, false, codeText + "(CodeType=2)", true},
      {4, 1, false, dataText + "(DataType=4)", true},
      {0, 1, true, dataText + "(DataType=0)", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.data << "/" << c.code);
    try {
      const QString name = TDM::fnGetCodeTypeName(c.data, c.code, c.merge);
      EXPECT_FALSE(c.throws);
      EXPECT_EQ(name, c.expected);
    } catch (const EPlatformError& e) {
      EXPECT_TRUE(c.throws);
      EXPECT_EQ(e.message(), c.expected);
    }
  }
}

TEST(DataKinds, ZaimuDataTypeSwitchesTheCashFlowItems)
{
  TDM dm;
  struct Case {
    int data, code;
    TJxZaimuDataType kind;
    std::size_t rows;
    QString item17, note17;
  } cases[] = {
      {3, 1, jxztCuravia, 38, "その他の収入", "（経常収支）"},
      {3, 2, jxztBasic, 39, "その他営業外収入", ""},
      {3, 0, jxztBasic, 39, "その他営業外収入", ""},
      {1, 1, jxztBasic, 39, "その他営業外収入", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.data << "/" << c.code);
    EXPECT_EQ(dm.GetZaimuDataType(c.data, c.code), c.kind);
    ASSERT_EQ(CashFlowItemList.size(), c.rows);
    EXPECT_EQ(CashFlowItemList.front().Code, "0");
    EXPECT_EQ(CashFlowItemList.back().Code, "99");
    EXPECT_EQ(CashFlowItemList.back().Name, "流動性現預金");
    bool found = false;
    for (const auto& item : CashFlowItemList) {
      if (item.Code != "17")
        continue;
      found = true;
      EXPECT_EQ(item.Name, c.item17);
      EXPECT_EQ(item.Section, c.note17);
    }
    EXPECT_TRUE(found);
  }
  // "法人税等" stands in the equipment section of the general list and in the
  // financial section of the medical one.
  dm.GetZaimuDataType(1, 1);
  EXPECT_EQ(CashFlowItemList.at(25).Name, "法人税等");
  EXPECT_EQ(CashFlowItemList.at(26).Section, "（設備等収支）");
  dm.GetZaimuDataType(3, 1);
  EXPECT_EQ(CashFlowItemList.at(35).Name, "法人税等");
  EXPECT_EQ(CashFlowItemList.at(36).Section, "（財務収支）");
}

class AccInfo : public StandAlone {
 protected:
  const sample::DataSet& general() const { return root.dataSets.at(0); }
  const sample::DataSet& medical() const { return root.dataSets.at(1); }
  QString db(const sample::DataSet& ds) const { return ds.database; }
  bool open(const sample::DataSet& ds)
  {
    dm->IBDatabaseDAT.disconnect();
    return dm->fnAccDatConnected(QString(), ds.folder, false);
  }
  QString lastBox() const { return hook.boxes.empty() ? QString() : hook.boxes.back().text; }
};

TEST_F(AccInfo, GeneralAndMedicalData)
{
  struct Case {
    int index;
    int dataType;
    QString typeName;
    TJxZaimuDataType kind;
    int honbu;
    QString uketori;  // bills receivable, corporate data only
  } cases[] = {
      {0, 1, "法人", jxztBasic, 0, "1201"},
      {1, 3, "医療法人", jxztCuravia, 1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    const sample::DataSet& ds = root.dataSets.at(c.index);
    ASSERT_TRUE(open(ds));
    ASSERT_TRUE(dm->fnGetAccInfo()) << lastBox().toStdString();
    EXPECT_EQ(AccInf.DATATYPE, c.dataType);
    EXPECT_EQ(AccInf.DATATYPENAME, c.typeName);
    EXPECT_EQ(AccInf.CODETYPE, 1);
    EXPECT_EQ(AccInf.CODETYPENAME, "");
    EXPECT_EQ(AccInf.ZaimuDataType, c.kind);
    EXPECT_EQ(AccInf.SITEN_HonbuUse, c.honbu);
    EXPECT_EQ(AccInf.SHOUGOU, ds.shougou);
    EXPECT_EQ(AccInf.KISHU, day(2024, 4, 1));
    EXPECT_EQ(AccInf.KIMATU, day(2025, 3, 31));
    EXPECT_EQ(AccInf.SIME, 99);
    EXPECT_EQ(AccInf.StartMNum, 0);
    EXPECT_EQ(AccInf.EndMNum, 15);
    EXPECT_EQ(AccInf.KikanTsukisu[0], 12);
    EXPECT_EQ(AccInf.KikanTsukisu[1], 12);
    EXPECT_EQ(AccInf.StartMNum12, 0);
    EXPECT_EQ(AccInf.EndMNum12, 11);
    EXPECT_EQ(AccInf.KISHU_A[1], day(2023, 4, 1));
    EXPECT_EQ(AccInf.KIMATU_A[1], day(2024, 3, 31));
    EXPECT_EQ(AccInf.KISHU_A[2], day(2022, 4, 1));
    EXPECT_EQ(AccInf.KIMATU_A[2], day(2023, 3, 31));
    const TDateTime closing[] = {day(2024, 6, 30), day(2024, 9, 30), day(2024, 12, 31), day(2025, 3, 31)};
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(AccInf.KessanHizuke[i], closing[i]) << i;
    EXPECT_EQ(AccInf.GENKIN, "1101");
    EXPECT_EQ(AccInf.UC_GENKIN, "111");
    EXPECT_EQ(AccInf.KARIUKEZ, "3105");
    EXPECT_EQ(AccInf.SHOKUTI, "9901");
    EXPECT_EQ(AccInf.UKETORI_TEGATA, c.uketori);
    EXPECT_TRUE(AccInf.JIGYOKASI.isEmpty());
    EXPECT_EQ(AccInf.NEW_TAX_RATE[0], Currency::fromInt(10));
    EXPECT_EQ(AccInf.DataVerMajor, 17);
    EXPECT_TRUE(AccInf.UseZeiritu[2]);
    EXPECT_FALSE(AccInf.UseZeiritu[0]);
    EXPECT_TRUE(AccInf.UseZeiritu[4]);
    EXPECT_EQ(AccInf.SEIZOGENKA_ZAIRYOHI_SUM, c.dataType == 1 ? "材料費合計" : AccInf.SEIZOGENKA_ZAIRYOHI_SUM);
    EXPECT_FALSE(dm->IBTransactionDAT.inTransaction());
  }
}

TEST_F(AccInfo, ShortYearQuarterDatesAndTheAuditSwitch)
{
  // A year of nine months from July, closing on the 20th, input from the
  // third month; the audit is fixed on the second quarter's closing date.
  execSql(db(general()),
          "UPDATE ACCDEF1 SET KISHU='2024-07-01', KIMATU='2025-03-20', KAISI='2024-09-01', SIME=20, KAISINO=3, "
          "ZKISHU=NULL, ZZKISHU=NULL, KANSA_FIXDATE='2024-12-20'");
  ASSERT_TRUE(open(general()));
  ASSERT_TRUE(dm->fnGetAccInfo()) << lastBox().toStdString();
  EXPECT_EQ(AccInf.StartMNum, 2);
  EXPECT_EQ(AccInf.StartMNum12, 2);
  EXPECT_EQ(AccInf.KikanTsukisu[0], 9);
  EXPECT_EQ(AccInf.KISHU_A[1], day(2023, 7, 1));
  EXPECT_EQ(AccInf.KIMATU_A[1], day(2024, 6, 30));
  EXPECT_EQ(AccInf.KISHU_A[2], day(2022, 7, 1));
  EXPECT_EQ(AccInf.KessanHizuke[1], day(2024, 12, 20));
  EXPECT_EQ(AccInf.KessanHizuke[3], day(2025, 3, 20));
  EXPECT_TRUE(AccInf.KANSA_FIXKessanSiwake);
  EXPECT_EQ(readValue(db(general()), "SELECT ATEXT FROM ACCREG WHERE ACODE='監査処理＿決算仕訳含む'", "ATEXT"), "TRUE");
}

TEST_F(AccInfo, DataPasswordByDataVersion)
{
  TEasyEncodeInfo coded;
  coded.SecretKey = QStringLiteral("tobenza");
  coded.ValidLength = -1;
  coded.BasicText = QStringLiteral("abcd1234xyz");
  fnEasyEncodeInverse(coded);
  struct Case {
    int version;
    QString plain, v2;
    QString expected;
  } cases[] = {
      {6, "　pw6 ", coded.EncodeText, "pw6"},
      {7, "pw6", " " + coded.EncodeText + "　", "abcd1234"},
      {7, "pw6", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    dm->IBDatabaseDAT.disconnect();
    execSql(db(general()), QStringLiteral("UPDATE ACCVERSION SET MAJOR=%1").arg(c.version));
    {
      db::Database d;
      testfx::builder().open(d, db(general()));
      CompanyFixture fx(d);
      fx.setAccReg("基本設定", "データパスワード", "文字", c.plain);
      fx.setAccReg("基本設定", "データパスワードV2", "文字", c.v2);
    }
    ASSERT_TRUE(open(general()));
    ASSERT_TRUE(dm->fnGetAccInfo()) << lastBox().toStdString();
    EXPECT_EQ(AccInf.DataVerMajor, c.version);
    EXPECT_EQ(AccInf.DataPassword, c.expected);
  }
}

TEST_F(AccInfo, UnreadableSettingsRowsFail)
{
  const QString dataText = QStringLiteral("このプログラムでは、該当のデータタイプを処理することが出来ません。");
  struct Case {
    const char* sql;
    QString detail;
  } cases[] = {
      {"UPDATE ACCDEF1 SET DATATYPE=4", dataText + "(DataType=4)"},
      {"DELETE FROM ACCDEF1", "基本設定(ACCDEF1)のレコードが見つかりませんでした。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sql);
    dm->IBDatabaseDAT.disconnect();
    execSql(db(general()), c.sql);
    ASSERT_TRUE(open(general()));
    hook.boxes.clear();
    EXPECT_FALSE(dm->fnGetAccInfo());
    ASSERT_EQ(hook.boxes.size(), 1u);
    EXPECT_TRUE(hook.boxes[0].text.startsWith("基本情報の取得に失敗しました。"));
    EXPECT_TRUE(hook.boxes[0].text.contains(c.detail)) << hook.boxes[0].text.toStdString();
    EXPECT_EQ(hook.boxes[0].type, int(mtError));
    EXPECT_FALSE(dm->IBTransactionDAT.inTransaction());
  }
}

TEST_F(AccInfo, MissingOptionalColumnsShowNothingOfTheDataOpenedBefore)
{
  execSql(db(general()),
          "UPDATE ACCDEF1 SET CLOUD_LINE=3, CLOUD_TIME='2024-05-01 10:00:00', KESSAN_KIKAN=5, CASHFLOW_KIKAN1=2, "
          "READ_ONLY=1, WEB_HOLDER='holder', TAXDEFUH=1, KURIKOSI1=0, KURIKOSI2=0");
  execSql(db(medical()), "UPDATE ACCDEF1 SET TAXDEFUH=1");
  for (const char* column : {"CLOUD_LINE", "CLOUD_TIME", "KESSAN_KIKAN", "CASHFLOW_KIKAN1", "READ_ONLY", "WEB_HOLDER",
                             "KURIKOSI1", "KURIKOSI2", "GENKA_HWORD6"})
    execSql(db(medical()), QStringLiteral("ALTER TABLE ACCDEF1 DROP %1").arg(QLatin1String(column)));

  ASSERT_TRUE(open(general()));
  ASSERT_TRUE(dm->fnGetAccInfo());
  EXPECT_EQ(AccInf.CLOUD_LINE, 3);
  EXPECT_EQ(AccInf.KESSAN_KIKAN, 5);
  EXPECT_EQ(AccInf.Read_Only, 1);
  EXPECT_EQ(AccInf.WEB_HOLDER2[0], "holder");
  EXPECT_EQ(AccInf.TAXDEFUH_A, (std::array<int, 3>{1, 0, 0}));
  EXPECT_EQ(AccInf.SEIZOGENKA_GAICHUHI, "外注費");

  ASSERT_TRUE(open(medical()));
  ASSERT_TRUE(dm->fnGetAccInfo()) << lastBox().toStdString();
  EXPECT_EQ(AccInf.CLOUD_LINE, 0);
  EXPECT_EQ(AccInf.CLOUD_TIME, 0);
  EXPECT_EQ(AccInf.KESSAN_KIKAN, 0);
  EXPECT_EQ(AccInf.CASHFLOW_KIKAN1, 0);
  EXPECT_EQ(AccInf.Read_Only, 0);
  EXPECT_EQ(AccInf.WEB_HOLDER, "");
  EXPECT_EQ(AccInf.SEIZOGENKA_GAICHUHI, "");
  EXPECT_EQ(AccInf.TAXDEFUH_A, (std::array<int, 3>{1, 1, 1}));
}

TEST_F(AccInfo, TaxMasterFromTheRowsRead)
{
  ASSERT_TRUE(open(general()));
  execSql(db(general()),
          "INSERT INTO TAXMST (TAX_CODE, TAX_NAME) SELECT c, 'x' FROM (SELECT 99 AS c FROM RDB$DATABASE UNION "
          "SELECT 499 FROM RDB$DATABASE UNION SELECT 600 FROM RDB$DATABASE UNION SELECT 699 FROM RDB$DATABASE UNION "
          "SELECT 599 FROM RDB$DATABASE UNION SELECT 700 FROM RDB$DATABASE UNION SELECT 799 FROM RDB$DATABASE UNION "
          "SELECT 800 FROM RDB$DATABASE UNION SELECT 810 FROM RDB$DATABASE UNION SELECT 100 FROM RDB$DATABASE)");
  TTaxKbnList list;
  ASSERT_TRUE(dm->fnGetTaxMst(list));
  std::map<int, int> classes;
  int previous = -1;
  for (const auto& r : list) {
    EXPECT_GT(r.TCODE, previous);
    previous = r.TCODE;
    classes[r.TCODE] = r.ClassKbn;
  }
  const std::pair<int, int> expected[] = {{100, 1}, {499, 1}, {600, 1}, {699, 1}, {101, 1},
                                          {500, 0}, {501, 2}, {599, 2}, {700, 2}, {799, 2},
                                          {99, 0},  {800, 0}, {810, 0}, {0, 0},   {910, 0}};
  for (const auto& [code, cls] : expected) {
    if (code == 500)
      continue;
    ASSERT_TRUE(classes.count(code)) << code;
    EXPECT_EQ(classes[code], cls) << code;
  }
  EXPECT_EQ(list.size(), 14u);
  for (const auto& r : list)
    if (r.TCODE == 101) {
      EXPECT_EQ(r.TNAME, "課税売上10%");
      EXPECT_EQ(r.KariukeKaribaraiKbn, 1);
    }

  // A list that holds entries is not read again.
  TTaxKbnList kept{TTaxKbnRec{}};
  EXPECT_TRUE(dm->fnGetTaxMst(kept));
  EXPECT_EQ(kept.size(), 1u);

  // The look-ups read through the data module; a failed load leaves an
  // empty list, so that a later call reads again.
  EXPECT_EQ(fnGetKariukeKaribaraiKbn(501), 2);
  dm->IBDatabaseDAT.disconnect();
  TTaxKbnList failed;
  hook.boxes.clear();
  EXPECT_FALSE(dm->fnGetTaxMst(failed));
  EXPECT_TRUE(failed.empty());
  EXPECT_FALSE(hook.boxes.empty());
}

TEST_F(AccInfo, TotalNamesAndSafeColumnNames)
{
  ASSERT_TRUE(open(general()));
  const QString stored = readValue(db(general()), "SELECT PLUSNAME FROM ACCTOTALNAME WHERE KGROUP='1180'", "PLUSNAME");
  ASSERT_FALSE(stored.isEmpty());
  EXPECT_EQ(dm->fnGetAccTotalName("1180", "PLUSNAME"), stored);
  EXPECT_EQ(dm->fnGetAccTotalName("0000", "PLUSNAME"), "");
  EXPECT_TRUE(dm->fnPutAccTotalName("1180", "MINUSNAME", "マイナス"));
  EXPECT_EQ(dm->fnGetAccTotalName("1180", "MINUSNAME"), "マイナス");
  EXPECT_TRUE(dm->fnPutAccTotalName("0000", "PLUSNAME", "none"));
  EXPECT_EQ(readValue(db(general()), "SELECT COUNT(*) AS N FROM ACCTOTALNAME WHERE KGROUP='0000'", "N"), "0");
  hook.boxes.clear();
  EXPECT_FALSE(dm->fnPutAccTotalName("1180", "PLUSNAME=''--", "x"));
  EXPECT_EQ(dm->fnGetAccTotalName("1180", "PLUSNAME"), stored);
  EXPECT_EQ(hook.boxes.size(), 1u);
}

TEST_F(AccInfo, AccountCodesAndMetadata)
{
  ASSERT_TRUE(open(general()));
  QString k, u;
  dm->SetSystemCode("現金", k, u);
  EXPECT_EQ(k, "1101");
  EXPECT_EQ(u, "111");
  dm->SetSystemCode("無い役割", k, u);
  EXPECT_TRUE(k.isEmpty() && u.isEmpty());
  EXPECT_EQ(dm->UserKcodeToKCode("111"), "1101");
  EXPECT_EQ(dm->UserKcodeToKCode("  "), "");
  EXPECT_EQ(dm->KCodeToUserKcode("1101"), "111");
  EXPECT_EQ(dm->KCodeToUserKcode("zzzz"), "");

  dm->IBTransactionDAT.start();
  EXPECT_TRUE(dm->fnExistence_Table("ACCDEF1"));
  EXPECT_FALSE(dm->fnExistence_Table("accdef1"));
  EXPECT_TRUE(dm->fnExistence_Field("ACCDEF1", "CLOUD_LINE"));
  EXPECT_FALSE(dm->fnExistence_Field("ACCDEF1", "NO_SUCH"));
  EXPECT_TRUE(dm->fnExistence_Procedure("SP_SISANHYO"));
  EXPECT_FALSE(dm->fnExistence_Procedure("NO_SUCH"));
  EXPECT_FALSE(dm->fnExistence_VIEW("NO_SUCH"));
  EXPECT_FALSE(dm->fnExistence_Trigger("NO_SUCH"));
  dm->IBTransactionDAT.commit();

  execSql(db(general()), "CREATE SEQUENCE GEN_TEST");
  dm->SetGeneratorValue("GEN_TEST", 41);
  EXPECT_EQ(dm->GetGeneratorValue("GEN_TEST"), 41);
  EXPECT_FALSE(dm->IBTransactionDAT.inTransaction());
  hook.boxes.clear();
  EXPECT_THROW(dm->GetGeneratorValue("NO_SUCH_GEN"), db::DbError);
  EXPECT_EQ(hook.boxes.size(), 0u);  // the handler logs it; an empty text shows nothing
  EXPECT_THROW(dm->GetGeneratorValue("GEN_TEST, 1) FROM RDB$DATABASE --"), db::DbError);
  EXPECT_EQ(dm->GetGeneratorValue("GEN_TEST"), 41);
}

TEST_F(AccInfo, RelayServerStoresAndCapitalOpening)
{
  ASSERT_TRUE(open(general()));
  dm->UpdateRelayServerInfo(2, "holder2", "pass2");
  dm->UpdateRelayServerInfo(2, "holder2b", "pass2b");
  dm->SetRelayServerInfo(2, 3);
  EXPECT_EQ(AccInf.WEB_HOLDER2[3], "holder2b");
  EXPECT_EQ(AccInf.PASWORD2[3], "pass2b");
  dm->SetRelayServerInfo(9, 3);
  EXPECT_EQ(AccInf.WEB_HOLDER2[3], "");

  dm->SetAccInfoXStrField("A=1\r\nB=2");
  QString x;
  dm->GetAccInfoXStrField(x);
  EXPECT_EQ(x, "A=1\r\nB=2");

  // Corporate data has no capital opening; individual data sums KAKOZAN by
  // the codes bound as they are.
  AccInf.DATATYPE = 1;
  EXPECT_EQ(dm->GetMotoirekinKaisizan(1, "", ""), Currency());
  AccInf.DATATYPE = 2;
  AccInf.MOTOIREKIN = "3501";
  execSql(db(general()), "DELETE FROM KAKOZAN WHERE KCODE = '3501'");  // the sample's own earlier years
  execSql(db(general()), "INSERT INTO KAKOZAN (NENDO, SCODE, BCODE, KCODE, KISHU) VALUES (1, '01', '', '3501', 100)");
  execSql(db(general()), "INSERT INTO KAKOZAN (NENDO, SCODE, BCODE, KCODE, KISHU) VALUES (1, '02', '', '3501', 20)");
  EXPECT_EQ(dm->GetMotoirekinKaisizan(1, "", ""), Currency::fromInt(120));
  EXPECT_EQ(dm->GetMotoirekinKaisizan(1, "02", ""), Currency::fromInt(20));
  EXPECT_EQ(dm->GetMotoirekinKaisizan(1, "' OR ''='", ""), Currency());

  dm->IBDatabaseDAT.disconnect();
  execSql(db(general()), "DROP TABLE TUSIN_ID");
  ASSERT_TRUE(open(general()));
  AccInf.WEB_HOLDER2[4] = "old";
  dm->SetRelayServerInfo(2, 4);
  EXPECT_EQ(AccInf.WEB_HOLDER2[4], "");
}

}  // namespace
}  // namespace dmtest
