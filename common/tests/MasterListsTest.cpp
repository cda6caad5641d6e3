// The account, sub-account and department lists against the sample company
// data (general and medical): what is listed and in which form, look-ups,
// extra information, temporary department groups and errors.
#include "DataModuleTestUtil.h"
#include "common/BumonList.h"
#include "common/KamokuList.h"

namespace dmtest {
namespace {

class MasterLists : public StandAlone {
 protected:
  void open(int index)
  {
    data = root.dataSets.at(index);
    ASSERT_TRUE(dm->fnAccDefConnected(QString(), true));
    ASSERT_TRUE(dm->fnAccDatConnected(QString(), data.folder, false));
    AccInf.SHOKUTI = sample::acc::Shokuchi;
    AccInf.SITEN_KANRI = 1;
    AccInf.BUMON_KANRI = 1;
    const bool medical = data.kind == CompanyKind::Medical;
    AccInf.ZaimuDataType = medical ? jxztCuravia : jxztBasic;
    AccInf.DATATYPE = medical ? 3 : 1;
  }
  void TearDown() override
  {
    if (dm) {
      if (dm->IBTransactionDAT.inTransaction())
        dm->IBTransactionDAT.rollback();
      dm->fnAccDatDisConnected(data.folder, false, false, false);
    }
    StandAlone::TearDown();
  }
  int count(const QString& sql) { return readValue(data.database, sql, QStringLiteral("N")).toInt(); }
  QStringList items(const QString& text) { return text.split(QLatin1Char('\n')); }

  sample::DataSet data;
};

TEST_F(MasterLists, AccountsOnceEachWithTopItemAndKinds)
{
  open(0);
  const int accounts = count(QStringLiteral("SELECT COUNT(*) AS N FROM KAMOKUMST"));
  const int pl = count(QStringLiteral("SELECT COUNT(*) AS N FROM KAMOKUMST WHERE BPFLG='P' AND KCODE<>'9901'"));
  ASSERT_GT(accounts, 10);

  TKamokuList list;
  list.TopItem = QStringLiteral("選択なし");
  list.Execute(QString());
  // The receivables account has three sub-accounts in three branches: once.
  EXPECT_EQ(list.ItemCount(), accounts + 1);
  EXPECT_EQ(list.ItemGetter(0), QStringLiteral("選択なし"));
  EXPECT_EQ(list.ItemGetterLTCODE(0), 910);
  EXPECT_TRUE(list.ItemStrings().split(QLatin1Char('\n')).contains(QStringLiteral("131:普通預金")));
  list.Execute(QStringLiteral("01"));
  EXPECT_EQ(list.SCODE(), QStringLiteral("01"));
  EXPECT_EQ(list.ItemCount(), accounts + 1);
  list.Execute(QStringLiteral("99"));
  EXPECT_EQ(list.ItemCount(), 1);

  // Profit and loss without the sundry account, which stays excluded.
  list.TopItem.clear();
  list.SetSelectBP(QStringLiteral("P"));
  list.Execute(QString());
  EXPECT_EQ(list.ItemCount(), pl);
  EXPECT_EQ(list.GetListIndex2(sample::acc::Shokuchi), -1);
  for (int i = 0; i < list.ItemCount(); ++i)
    EXPECT_EQ(list.ItemGetterBPFlg(i), QStringLiteral("P"));
  list.SetSelectBP(QString());
  list.Execute(QString());
  EXPECT_EQ(list.ItemCount(), accounts - 1);
  EXPECT_EQ(list.KinsiKamoku(), QStringList{sample::acc::Shokuchi});
}

TEST_F(MasterLists, AccountGroupsAndExclusionsAreBound)
{
  open(0);
  TKamokuList list;
  list.SetSelectGroups({QStringLiteral("1100"), QStringLiteral("1200")});
  list.Execute(QString());
  const int n = count(QStringLiteral("SELECT COUNT(*) AS N FROM KAMOKUMST WHERE GROUPM0 IN ('1100','1200')"));
  ASSERT_GT(n, 2);
  EXPECT_EQ(list.ItemCount(), n);
  list.SetKinsiKamoku({sample::acc::Genkin, QStringLiteral("x'OR''='")});
  list.Execute(QStringLiteral("01"));
  EXPECT_EQ(list.ItemCount(), n - 1);
  EXPECT_EQ(list.GetListIndex2(sample::acc::Genkin), -1);
  // A group text that would change the statement if it were pasted in.
  list.SetSelectGroups({QStringLiteral("1'OR''='")});
  list.Execute(QString());
  EXPECT_EQ(list.ItemCount(), 0);
  EXPECT_TRUE(hook.boxes.empty());
}

TEST_F(MasterLists, AccountLookUpsFilterFormAndExtraInformation)
{
  open(0);
  execSql(data.database, QStringLiteral("UPDATE KAMOKUMST SET KNAME='普通\"預金\"', KKANA='ﾌﾂｳ' WHERE KCODE='1103'"));
  execSql(data.database, QStringLiteral("UPDATE KAMOKUMST SET XSTR='A=1' WHERE KCODE='1101'"));
  TKamokuList list;
  list.TopItem = QStringLiteral("全科目");
  list.SetUseFilterCombo(true);
  list.ExFieldSansyoFlg = true;
  list.Execute(QString());
  const int i = list.GetListIndex(QStringLiteral("131"));
  ASSERT_GT(i, 0);
  EXPECT_EQ(list.ItemGetter(0), QStringLiteral("\"全科目\"\t\"\"\t\"\""));
  EXPECT_EQ(list.ItemGetter(i), QStringLiteral("\"131\"\t\"ﾌﾂｳ\"\t\"普通'預金'\""));
  EXPECT_EQ(list.ItemGetterName(i), QStringLiteral("普通\"預金\""));
  EXPECT_EQ(list.GetListIndex2(sample::acc::Futsuu), i);
  EXPECT_EQ(list.KCODEtoUC_KCODE(sample::acc::Futsuu), QStringLiteral("131"));
  EXPECT_EQ(list.UC_KCODEtoKCODE(QStringLiteral("131")), sample::acc::Futsuu);
  EXPECT_EQ(list.KCODEtoUC_KCODE(QStringLiteral("0000")), QString());
  EXPECT_EQ(list.ItemGetterExField(list.GetListIndex2(sample::acc::Genkin)), QStringLiteral("A=1"));
  EXPECT_EQ(list.ItemGetterExField(i), QString());
  EXPECT_EQ(list.ItemGetterLTCODE(-1), 910);
  EXPECT_EQ(list.ItemGetterRTCODE(list.ItemCount()), 910);
  EXPECT_EQ(list.ItemGetterZeirituKbn(-1), 0);
  EXPECT_EQ(list.ItemGetterCode(list.ItemCount()), QString());

  list.UpdateExField(QStringLiteral("131"), QStringLiteral("B=2"));
  EXPECT_EQ(
      readValue(data.database, QStringLiteral("SELECT XSTR FROM KAMOKUMST WHERE KCODE='1103'"), QStringLiteral("XSTR")),
      QStringLiteral("B=2"));
  EXPECT_FALSE(dm->IBTransactionDAT.inTransaction());
}

TEST_F(MasterLists, UpdateExFieldRollsBackWhatItStartedOnAnError)
{
  open(0);
  // Another connection holds the row: the update conflicts.
  db::Database other;
  testfx::builder().open(other, data.database);
  db::Transaction tr(other);
  tr.start();
  db::Query lock(tr, QStringLiteral("UPDATE BUMONMST SET XSTR='held' WHERE BCODE='01'"));
  lock.exec();
  db::Query lock2(tr, QStringLiteral("UPDATE KAMOKUMST SET XSTR='held' WHERE KCODE='1103'"));
  lock2.exec();

  TBumonList bumon;
  EXPECT_THROW(bumon.UpdateExField(QStringLiteral("01"), QStringLiteral("x")), db::DbError);
  EXPECT_FALSE(dm->IBTransactionDAT.inTransaction());
  TKamokuList kamoku;
  EXPECT_THROW(kamoku.UpdateExField(QStringLiteral("131"), QStringLiteral("x")), db::DbError);
  EXPECT_FALSE(dm->IBTransactionDAT.inTransaction());
  // A caller's transaction stays the caller's.
  dm->IBTransactionDAT.start();
  EXPECT_THROW(bumon.UpdateExField(QStringLiteral("01"), QStringLiteral("x")), db::DbError);
  EXPECT_TRUE(dm->IBTransactionDAT.inTransaction());
  dm->IBTransactionDAT.rollback();
  tr.rollback();
}

TEST_F(MasterLists, AccountUseOfSubAccountsAndDepartments)
{
  open(0);
  TKamokuList list;
  list.Execute(QString());
  EXPECT_EQ(list.IsHojoBumon(QStringLiteral("842")), 0);
  execSql(data.database,
          QStringLiteral("INSERT INTO KAMOKU_SZ (SCODE, BCODE, KCODE, HCODE) VALUES ('01', '', '6104', '01')"));
  EXPECT_EQ(list.IsHojoBumon(QStringLiteral("842")), 1);
  execSql(data.database,
          QStringLiteral("INSERT INTO KAMOKU_SZ (SCODE, BCODE, KCODE, HCODE) VALUES ('01', '02', '6104', ' ')"));
  EXPECT_EQ(list.IsHojoBumon(QStringLiteral("842")), 3);
  list.Execute(QStringLiteral("02"));
  EXPECT_EQ(list.IsHojoBumon(QStringLiteral("842")), 0);
  EXPECT_FALSE(dm->IBTransactionDAT.inTransaction());
}

TEST_F(MasterLists, SubAccountsOfOneAccount)
{
  open(1);
  execSql(data.database,
          QStringLiteral("UPDATE HOJOMST SET XSTR='X=3', HKANA='ｶﾝｼﾞｬ' WHERE KCODE='1202' AND HCODE='003'"));
  THojoList list;
  list.TopItem = QStringLiteral("選択なし");
  list.ExFieldSansyoFlg = true;
  list.Execute(QString(), QStringLiteral("151"));
  EXPECT_EQ(items(list.ItemStrings()),
            (QStringList{QStringLiteral("選択なし"), QStringLiteral("001:社会保険診療報酬支払基金"),
                         QStringLiteral("002:国民健康保険団体連合会"), QStringLiteral("003:患者～自己負担分")}));
  EXPECT_EQ(list.USERCODE(), QStringLiteral("151"));
  EXPECT_EQ(list.GetListIndex(QStringLiteral("003")), 3);
  EXPECT_EQ(list.ItemGetterExField(3), QStringLiteral("X=3"));
  EXPECT_EQ(list.ItemGetterLTCODE(0), 910);
  list.SetUseFilterCombo(true);
  list.Execute(QStringLiteral("01"), QStringLiteral("151"));
  EXPECT_EQ(list.ItemCount(), 4);
  EXPECT_EQ(list.ItemGetter(3), QStringLiteral("\"003\"\t\"ｶﾝｼﾞｬ\"\t\"患者～自己負担分\""));
  // An account without sub-accounts: the top item alone, or nothing.
  list.Execute(QString(), QStringLiteral("111"));
  EXPECT_EQ(list.ItemCount(), 1);
  list.TopItem.clear();
  list.Execute(QString(), QStringLiteral("111"));
  EXPECT_EQ(list.ItemCount(), 0);
  EXPECT_EQ(list.GetListIndex(QStringLiteral("001")), -1);

  list.UpdateExField(QStringLiteral("1202"), QStringLiteral("001"), QStringLiteral("Y=4"));
  EXPECT_EQ(readValue(data.database, QStringLiteral("SELECT XSTR FROM HOJOMST WHERE KCODE='1202' AND HCODE='001'"),
                      QStringLiteral("XSTR")),
            QStringLiteral("Y=4"));
}

TEST_F(MasterLists, DepartmentsOfTheCompanyAndOfABranch)
{
  open(0);
  TBumonList list;
  list.TopItem = QStringLiteral("全部門");
  // The company row keeps no departments: nothing, not even the top item.
  list.Execute(QString());
  EXPECT_EQ(list.ItemCount(), 0);
  list.Zentai = true;
  list.GroupAdd = true;
  ASSERT_TRUE(list.InsertTempBumonGroup(QStringLiteral("^T1"), QStringLiteral("01\r\n\r\n  \r\n")));
  list.Execute(QString());
  EXPECT_EQ(items(list.ItemStrings()), (QStringList{QStringLiteral("全部門"), QStringLiteral("(B1):全部門"),
                                                    QStringLiteral("01:営業部"), QStringLiteral("02:総務部")}));
  EXPECT_EQ(list.ItemGetterType(1), 0);
  EXPECT_EQ(list.ItemGetterType(2), 1);
  EXPECT_EQ(list.ItemGetterType(4), -1);
  EXPECT_EQ(list.GetListIndex(QStringLiteral(" 02 "), 1), 3);
  EXPECT_EQ(list.GetListIndex(QStringLiteral("B1"), 1), -1);
  EXPECT_EQ(list.GetListIndex(QStringLiteral("B1"), 0), 1);

  // A branch's departments, with every group that has one of them (caret
  // groups too).
  execSql(data.database, QStringLiteral("INSERT INTO SISETUBUM (SCODE, BCODE) VALUES ('02', '01')"));
  list.Zentai = false;
  list.SetUseFilterCombo(true);
  list.Execute2(QStringLiteral("02"));
  EXPECT_EQ(items(list.ItemStrings()),
            (QStringList{QStringLiteral("\"全部門\"\t\"\"\t\"\""), QStringLiteral("\"(B1)\"\t\"B1\"\t\"全部門\""),
                         QStringLiteral("\"(^T1)\"\t\"^T1\"\t\"部門比較ワーク\""),
                         QStringLiteral("\"01\"\t\"\"\t\"営業部\"")}));
  list.Execute2(QStringLiteral("01"));
  EXPECT_EQ(list.ItemCount(), 1);
}

TEST_F(MasterLists, DepartmentExclusionsOnMedicalData)
{
  open(1);
  for (const char* code : {"00", "79", "80", "85", "99"})
    execSql(data.database,
            QStringLiteral("INSERT INTO BUMONMST (BCODE, BNAME) VALUES ('%1', '部門%1')").arg(QLatin1String(code)));
  TBumonList list;
  list.Zentai = true;
  list.RemoveCommon = true;
  list.SetRemoveGenka(true);
  EXPECT_TRUE(list.RemoveGenka());
  list.Execute(QString());
  QStringList codes;
  for (int i = 0; i < list.ItemCount(); ++i)
    codes << list.ItemGetterCode(i);
  EXPECT_EQ(codes, (QStringList{QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("79")}));
  list.RemoveCommon = false;
  list.SetRemoveGenka(false);
  list.Execute(QString());
  EXPECT_EQ(list.ItemCount(), 7);

  AccInf.ZaimuDataType = jxztBasic;
  list.SetRemoveGenka(true);
  EXPECT_FALSE(list.RemoveGenka());
}

TEST_F(MasterLists, DepartmentExtraInformationAfterGroups)
{
  open(0);
  execSql(data.database, QStringLiteral("UPDATE BUMONMST SET XSTR='K=1' WHERE BCODE='01'"));
  execSql(data.database, QStringLiteral("UPDATE BUMONMST SET XSTR='K=2' WHERE BCODE='02'"));
  TBumonList list;
  list.Zentai = true;
  list.GroupAdd = true;
  list.ExFieldSansyoFlg = true;
  list.Execute(QString());
  ASSERT_EQ(list.ItemCount(), 3);
  EXPECT_EQ(list.ItemGetterExField(0), QString());
  EXPECT_EQ(list.ItemGetterExField(1), QStringLiteral("K=1"));
  EXPECT_EQ(list.ItemGetterExField(2), QStringLiteral("K=2"));
  list.UpdateExField(QStringLiteral("02"), QStringLiteral("K=9"));
  list.Execute(QString());
  EXPECT_EQ(list.ItemGetterExField(2), QStringLiteral("K=9"));
}

TEST_F(MasterLists, TemporaryDepartmentGroups)
{
  open(0);
  TBumonList list;
  ASSERT_TRUE(list.InsertTempBumonGroup(QStringLiteral("^W"), QStringLiteral("10\r20")));
  EXPECT_EQ(list.GetBumonKosei(QStringLiteral("^W")), QStringLiteral("10\r20\r"));
  // Made again: only the new members.
  ASSERT_TRUE(list.InsertTempBumonGroup(QStringLiteral("^W"), QStringLiteral("30\n")));
  EXPECT_EQ(list.GetBumonKosei(QStringLiteral("^W")), QStringLiteral("30\r"));
  EXPECT_EQ(
      readValue(data.database, QStringLiteral("SELECT GNAME FROM GROUPMST WHERE GCODE='^W'"), QStringLiteral("GNAME")),
      QStringLiteral("部門比較ワーク"));
  ASSERT_TRUE(list.DeleteTempBumonGroup(QStringLiteral("^W")));
  EXPECT_EQ(list.GetBumonKosei(QStringLiteral("^W")), QString());
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) AS N FROM GROUPLIST WHERE GCODE='^W'")), 0);
  EXPECT_FALSE(dm->IBTransactionDAT.inTransaction());

  // A member code too long for the column: false, no message.
  EXPECT_FALSE(list.InsertTempBumonGroup(QStringLiteral("^X"), QString(40, QLatin1Char('9'))));
  EXPECT_TRUE(hook.boxes.empty());
  EXPECT_FALSE(dm->IBTransactionDAT.inTransaction());
}

TEST(BumonLevels, TypeAndLevelAdjustment)
{
  pcAccRecordReset();
  EXPECT_EQ(TBumonList::BumonTypeChosei(0), 0);
  EXPECT_EQ(TBumonList::BumonTypeChosei(1), 1);
  EXPECT_EQ(TBumonList::BumonTypeChosei(5), 1);
  EXPECT_EQ(TBumonList::BumonTypeChosei(-1), 1);

  TBumonList list;
  struct Case {
    int dataType, siten, level;
    const char *scode, *bcode;
    int type, expect;
  } cases[] = {
      {3, 1, 1, "", "01", 1, 1},   {1, 0, 2, "", "01", 0, 4},   {1, 0, 2, "", "01", 1, 3},
      {1, 1, 2, "01", "01", 7, 3}, {1, 1, 2, "", "01", 0, 6},   {1, 1, 2, "", "01", 1, 0},
      {1, 1, 2, "", " ", 1, 2},    {1, 2, 5, "01", "01", 1, 5}, {3, 1, 2, " ", "02", 0, 6},
  };
  for (const auto& c : cases) {
    AccInf.DATATYPE = c.dataType;
    AccInf.SITEN_KANRI = c.siten;
    EXPECT_EQ(list.BLTypeChosei(c.level, QString::fromLatin1(c.scode), QString::fromLatin1(c.bcode), c.type), c.expect)
        << c.dataType << "/" << c.siten << "/" << c.level << "/" << c.scode << "/" << c.bcode << "/" << c.type;
  }

  AccInf.BUMON_KANRI = 0;
  EXPECT_FALSE(TBumonList::IsBumonListSakusei(0));
  AccInf.BUMON_KANRI = 1;
  AccInf.ZaimuDataType = jxztBasic;
  EXPECT_TRUE(TBumonList::IsBumonListSakusei(0));
  EXPECT_FALSE(TBumonList::IsBumonListSakusei(1));
  EXPECT_TRUE(TBumonList::IsBumonListSakusei(2));
  AccInf.ZaimuDataType = jxztCuravia;
  EXPECT_TRUE(TBumonList::IsBumonListSakusei(1));
  EXPECT_FALSE(TBumonList::IsBumonListSakusei(3));
  pcAccRecordReset();
}

}  // namespace
}  // namespace dmtest
