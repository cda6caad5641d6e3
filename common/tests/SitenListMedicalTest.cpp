// The facility list of medical-corporation data against the medical fixture
// company: business-kind groups by the operator's rights, entry groups, the
// head office, the kind filter, the whole-company entry, and errors.
#include "DataModuleTestUtil.h"
#include "common/SitenList.h"

namespace dmtest {
namespace {

// Operator of the tests who may use the three hospitals only.
constexpr int kHospitalOperator = sample::loginCode(103);

class Facilities : public StandAlone {
 protected:
  void SetUp() override
  {
    StandAlone::SetUp();
    medical = root.dataSets.at(1);
    ASSERT_EQ(medical.kind, CompanyKind::Medical);
    // The sample has 00 本部, 01 髙田病院 (8, departments), 02 ①クリニック (4),
    // 03 介護老人保健施設～さくら (2) and the group G1 of 01 and 02. The head
    // office becomes a hospital here, so that it could wrongly count for the
    // hospitals' group, and two hospitals and a second group join.
    execSql(medical.database, "UPDATE SISETUMST SET MB_JIGYOU=8 WHERE SCODE='00'");
    execSql(medical.database,
            "INSERT INTO SISETUMST (SCODE, SNAME, BUMEX, MB_JIGYOU, SIWAKECOUNT, XSTR) VALUES "
            "('04', '北病院', 0, 8, 0, 'RENDOCODE=R04')");
    execSql(medical.database,
            "INSERT INTO SISETUMST (SCODE, SNAME, BUMEX, MB_JIGYOU, SIWAKECOUNT, XSTR) VALUES "
            "('05', '南病院', 0, 8, 0, '')");
    execSql(medical.database, "UPDATE SISETUMST SET XSTR='RENDOCODE=R00\r\nKIKANCODE=K00' WHERE SCODE=''");
    execSql(medical.database, "INSERT INTO SISETUGROUP (GCODE, GNAME) VALUES ('G2', '病院\"東\"')");
    for (const char* s : {"01", "04", "05"}) {
      execSql(medical.database,
              QStringLiteral("INSERT INTO SISETUGROUPLIST (GCODE, SCODE, GNAME) VALUES ('G2', '%1', '')")
                  .arg(QLatin1String(s)));
      execSql(medical.database, QStringLiteral("INSERT INTO OPLICENSE (OPCODE, SCODE, PERMIT) VALUES (%1, '%2', 1)")
                                    .arg(kHospitalOperator)
                                    .arg(QLatin1String(s)));
    }
    ASSERT_TRUE(dm->fnAccDefConnected(QString(), true));
    ASSERT_TRUE(dm->fnAccDatConnected(QString(), medical.folder, false));
    AccInf.ZaimuDataType = jxztCuravia;
    AccInf.SITEN_KANRI = 1;
    AccInf.BUMON_KANRI = 1;
    AccInf.DATATYPE = 3;
    AccInf.SHOUGOU = medical.shougou;
    unrestricted();
  }
  void TearDown() override
  {
    if (dm) {
      if (dm->IBTransactionDAT.inTransaction())
        dm->IBTransactionDAT.rollback();
      if (dm->IBTransactionDEF.inTransaction())
        dm->IBTransactionDEF.rollback();
      dm->fnAccDatDisConnected(medical.folder, false, false, false);
    }
    StandAlone::TearDown();
  }
  void unrestricted() { SystemDef.OPLevel = 9; }
  void restrictTo(int code)
  {
    SystemDef.OPCODE = code;
    SystemDef.OPLevel = 3;
    SystemDef.OPAccount = false;
    SystemDef.DataSeigenNasi = 0;
  }

  sample::DataSet medical;
};

const QString kHospitals = QStringLiteral("病院・診療所");
const QString kNursing = QStringLiteral("老人保健施設");
const QString kVisiting = QStringLiteral("指定訪問看護");

TEST_F(Facilities, EntriesByRightsKindAndOptions)
{
  const TJxSitenListSet all{jxslHoujin, jxslGroup, jxslSiten};
  const QStringList facilities{"00:本部",   "01:髙田病院", "02:①クリニック", "03:介護老人保健施設～さくら",
                               "04:北病院", "05:南病院"};
  struct Case {
    const char* what;
    int opcode;  // 0: unrestricted
    TJxSitenListSet read;
    int kind;  // SelectJigyoKbn
    bool honbu;
    bool entryGroups;
    QStringList items;
  } cases[] = {
      {"unrestricted", 0, all, 0, true, true,
       QStringList{"法人全体", kHospitals, kNursing, kVisiting, "(G1):医療施設", "(G2):病院\"東\""} + facilities},
      // Every hospital but not the rest: no whole company, the hospitals'
      // group (the head office does not count), the group of hospitals only.
      {"hospitals only",
       kHospitalOperator,
       all,
       0,
       true,
       true,
       {kHospitals, "(G2):病院\"東\"", "01:髙田病院", "04:北病院", "05:南病院"}},
      // One of three hospitals: no kind group at all.
      {"one hospital", sample::loginCode(sample::ClerkCode), all, 0, true, true, {"01:髙田病院"}},
      // The kind filter narrows facilities and kind groups, not entry groups.
      {"nursing care",
       0,
       all,
       4,
       true,
       true,
       {"法人全体", kNursing, "(G1):医療施設", "(G2):病院\"東\"", "02:①クリニック"}},
      {"without head office", 0, {jxslSiten}, 8, false, true, {"01:髙田病院", "04:北病院", "05:南病院"}},
      {"no entry groups", 0, {jxslGroup}, 0, true, false, {kHospitals, kNursing, kVisiting}},
      {"departments", 0, {jxslBumon}, 0, true, true, {"01:髙田病院"}},
  };
  for (const auto& c : cases) {
    if (c.opcode)
      restrictTo(c.opcode);
    else
      unrestricted();
    TSitenList list;
    list.SetReadType(c.read);
    list.SetSelectJigyoKbn(c.kind);
    list.SetUseHonbu(c.honbu);
    list.Execute(c.opcode ? c.opcode : 1, c.entryGroups);
    EXPECT_EQ(list.ItemStrings().split('\n', Qt::SkipEmptyParts), c.items) << c.what;
    EXPECT_EQ(list.OPCODE(), c.opcode ? c.opcode : -1) << c.what;
  }
  EXPECT_FALSE(dm->IBTransactionDAT.inTransaction());
  EXPECT_TRUE(hook.boxes.empty());
}

TEST_F(Facilities, FieldsLookupsAndFilterForm)
{
  TSitenList list;
  list.SetReadType({jxslHoujin, jxslGroup, jxslSiten, jxslBumon});
  list.Execute(1);
  struct Row {
    QString code;
    int blType, jigyo, bumon, color;
    QString rendo, kikan;
  } rows[] = {
      {" ", 0, 0, 0, 0xFFAF80, "R00", "K00"},
      {" ", 1, 8, 0, 0xFFAF80, "", ""},
      {" ", 1, 4, 0, 0xFFAF80, "", ""},
      {" ", 1, 2, 0, 0xFFAF80, "", ""},
      {"G1", 5, 0, 0, 0xFFAF80, "", ""},
      {"G2", 5, 0, 0, 0xFFAF80, "", ""},
      {"00", 2, 8, 0, 0xFFAF80, "", ""},
      {"01", 2, 8, 1, 16756608, "", "1310000001"},
      {"02", 2, 4, 0, 0xFFAF80, "", ""},
      {"03", 2, 2, 0, 0xFFAF80, "", ""},
      {"04", 2, 8, 0, 0xFFAF80, "R04", ""},
      {"05", 2, 8, 0, 0xFFAF80, "", ""},
      {"01", 3, 8, 1, 16756608, "", "1310000001"},
  };
  ASSERT_EQ(list.ItemCount(), int(std::size(rows)));
  for (int i = 0; i < list.ItemCount(); ++i) {
    const Row& r = rows[i];
    EXPECT_EQ(list.ItemGetterCode(i), r.code) << i;
    EXPECT_EQ(list.ItemGetterBLType(i), r.blType) << i;
    EXPECT_EQ(list.ItemGetterJigyoType(i), r.jigyo) << i;
    EXPECT_EQ(list.ItemGetterBumonKanri(i), r.bumon) << i;
    EXPECT_EQ(list.ItemGetterColor(i), r.color) << i;
    EXPECT_EQ(list.ItemGetterRendoCode(i), r.rendo) << i;
    EXPECT_EQ(list.ItemGetterKikanCode(i), r.kikan) << i;
  }
  EXPECT_EQ(list.GetListIndex_Jigyokbn(4, 1), 2);
  EXPECT_EQ(list.GetListIndex_Jigyokbn(1, 1), -1);  // no facility of kind 1
  EXPECT_EQ(list.GetListIndex("01", 3), 12);
  EXPECT_EQ(list.GetListIndex("G2", 5), 5);
  EXPECT_EQ(list.GetKikanCode("01"), "1310000001");
  EXPECT_EQ(list.GetRendoCode("04"), "R04");

  // Filter form: the name's double quotes become apostrophes in groups and
  // facilities; kind groups read like the whole company.
  list.SetUseFilterCombo(true);
  list.SetReadType({jxslGroup});
  list.Execute(1);
  EXPECT_EQ(list.ItemStrings().split('\n'),
            (QStringList{"\"病院・診療所\"\t\"\"\t\"\"", "\"老人保健施設\"\t\"\"\t\"\"", "\"指定訪問看護\"\t\"\"\t\"\"",
                         "\"(G1)\"\t\"G1\"\t\"医療施設\"", "\"(G2)\"\t\"G2\"\t\"病院'東'\""}));
  // The whole company shown to a restricted operator with every facility is
  // the plain entry in medical data.
  execSql(medical.database,
          QStringLiteral("INSERT INTO OPLICENSE (OPCODE, SCODE, PERMIT) SELECT %1, SCODE, 1 FROM SISETUMST "
                         "WHERE SCODE NOT IN ('', '01', '04', '05')")
              .arg(kHospitalOperator));
  restrictTo(kHospitalOperator);
  list.SetUseFilterCombo(false);
  list.SetReadType({jxslHoujin});
  list.Execute(kHospitalOperator);
  EXPECT_EQ(list.ItemStrings(), "法人全体");
  EXPECT_EQ(list.ItemGetterRendoCode(0), "");  // the restricted form reads no codes
}

TEST_F(Facilities, WithoutFacilityManagementTheCompanyStandsIn)
{
  AccInf.SITEN_KANRI = 0;
  struct Case {
    TJxSitenListSet read;
    int count;
    QString rendo;
  } cases[] = {
      {{jxslSiten}, 1, "R00"},
      {{jxslHoujin, jxslSiten}, 1, "R00"},
      {{jxslBumon}, 1, ""},
      {{jxslGroup}, 0, ""},
  };
  for (const auto& c : cases) {
    TSitenList list;
    list.SetReadType(c.read);
    list.Execute(1);
    ASSERT_EQ(list.ItemCount(), c.count);
    if (c.count == 0)
      continue;
    EXPECT_EQ(list.ItemGetter(0), medical.shougou);
    EXPECT_EQ(list.ItemGetterBLType(0), 0);
    EXPECT_EQ(list.ItemGetterJigyoType(0), 0);
    EXPECT_EQ(list.ItemGetterRendoCode(0), c.rendo);
  }
}

TEST_F(Facilities, WholeDataRightsCountTheFacilities)
{
  struct Case {
    const char* what;
    int opcode;
    bool expected;
  } cases[] = {
      {"one hospital", sample::loginCode(sample::ClerkCode), false},
      {"all but the head office", sample::loginCode(sample::OperatorCode), false},
      {"hospitals", kHospitalOperator, false},
  };
  for (const auto& c : cases) {
    restrictTo(c.opcode);
    EXPECT_EQ(dm->IsAuthSitenZentai(c.opcode), c.expected) << c.what;
  }
  execSql(medical.database,
          QStringLiteral("INSERT INTO OPLICENSE (OPCODE, SCODE, PERMIT) SELECT %1, SCODE, 1 FROM SISETUMST "
                         "WHERE SCODE NOT IN ('', '01', '04', '05')")
              .arg(kHospitalOperator));
  restrictTo(kHospitalOperator);
  EXPECT_TRUE(dm->IsAuthSitenZentai(kHospitalOperator));
}

TEST_F(Facilities, ErrorsAreReportedOnlyInTheListsOwnTransaction)
{
  // The system database has no facility table: every read fails.
  struct Case {
    const char* what;
    bool callersTransaction;
  } cases[] = {{"own", false}, {"caller's", true}};
  for (const auto& c : cases) {
    if (c.callersTransaction)
      dm->IBTransactionDEF.start();
    TSitenList list;
    list.SetTransaction(&dm->IBTransactionDEF);
    list.SetReadType({jxslSiten});
    hook.boxes.clear();
    EXPECT_ANY_THROW(list.Execute(1)) << c.what;
    EXPECT_EQ(dm->IBTransactionDEF.inTransaction(), c.callersTransaction) << c.what;
    EXPECT_EQ(hook.boxes.size(), c.callersTransaction ? 0u : 1u) << c.what;
    for (const auto& b : hook.boxes) {
      EXPECT_TRUE(b.text.contains("支店リストの取得に失敗しました。")) << b.text.toStdString();
      EXPECT_FALSE(b.text.contains("dormil")) << b.text.toStdString();
    }
    if (c.callersTransaction)
      dm->IBTransactionDEF.rollback();
  }
}

TEST_F(Facilities, OtherDataKindsReadNothing)
{
  TSitenList list;
  list.SetReadType({jxslSiten});
  list.Execute(1);
  ASSERT_GT(list.ItemCount(), 0);
  AccInf.ZaimuDataType = TJxZaimuDataType(7);
  list.Execute(1);
  list.Execute(1, false);
  EXPECT_GT(list.ItemCount(), 0);  // left as it was
}

}  // namespace
}  // namespace dmtest
