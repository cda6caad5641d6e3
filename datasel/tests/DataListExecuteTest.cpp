// The listing of the data-list control, the remaining row operations and the
// search conditions, against a system database with a few hundred rows in
// two groups.
#include <gtest/gtest.h>
#include <memory>
#include <set>

#include <QDir>
#include <QFile>

#include "common/AccRecord.h"
#include "common/DataInfomation.h"
#include "common/DataModule.h"
#include "datasel/ComDataSentaku.h"
#include "datasel/DataFolderStatus.h"
#include "datasel/DataKensaku.h"
#include "datasel/DataLockToggle.h"
#include "datasel/tests/ManyDataSets.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "platform/IniFile.h"
#include "tests/support/DataModuleEnv.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TempDir.h"

namespace {

using namespace fixtures;

class ManyRows : public testenv::SharedDataRootTest<ManyRows> {
 protected:
  static void SetUpTestSuite()
  {
    testenv::SharedDataRootTest<ManyRows>::SetUpTestSuite();
    db::Database sysDb;
    testfx::builder().open(sysDb, root->systemDb);
    manydata::addMany(sysDb, root->root);
  }
  void SetUp() override { setUpDataModule({.root = root->root, .logFile = tmp->file("log")}); }
  int count(const QString& sql)
  {
    db::Transaction tr(dm->IBDatabaseDEF);
    tr.start();
    db::Query q(tr, sql);
    q.open();
    const int n = q.field(0).asInt();
    q.close();
    tr.commit();
    return n;
  }

  testenv::ScopedMessageCollector hook;
};

const int kGroupRows = sample::DataSlotCount + manydata::ExtraCount;

TEST_F(ManyRows, ListsOnlyTheGroupInEveryOrder)
{
  struct Case {
    TJxSelectType select;
    TJxSortField field;
    TJxSortType type;
    bool namedFirst;  // named rows before the free slots
  } cases[] = {
      {jxstAll, jxsfRec, jxstAsc, false},      {jxstAll, jxsfRec, jxstDesc, false},
      {jxstAll, jxsfName, jxstAsc, true},      {jxstAll, jxsfName, jxstDesc, true},
      {jxstAll, jxsfNendo, jxstAsc, true},     {jxstAll, jxsfKikan, jxstDesc, true},
      {jxstAll, jxsfPath, jxstAsc, true},      {jxstAll, jxsfDataVer, jxstAsc, true},
      {jxstAll, jxsfDataCode, jxstAsc, true},  {jxstData, jxsfName, jxstAsc, true},
      {jxstNonData, jxsfName, jxstAsc, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(int(c.select) * 100 + int(c.field) * 10 + int(c.type));
    TDataSentakuListCtl ctl;
    ctl.SelectType = c.select;
    ctl.Execute(0, c.field, c.type, QString());
    const auto& list = ctl.ItemList();
    std::set<int> recs;
    bool seenFree = false;
    for (const auto& e : list) {
      EXPECT_EQ(e.Data.Group, sample::GroupId);
      EXPECT_FALSE(e.Data.DataListName.startsWith(QStringLiteral("他グループ")));
      EXPECT_TRUE(recs.insert(e.Data.Rec).second) << "row listed twice: " << e.Data.Rec;
      const bool isFree = e.Data.DataListName.isEmpty();
      if (c.select == jxstData) {
        EXPECT_FALSE(isFree);
      }
      if (c.select == jxstNonData) {
        EXPECT_TRUE(isFree);
      }
      if (c.namedFirst && c.select == jxstAll) {
        if (isFree)
          seenFree = true;
        else {
          EXPECT_FALSE(seenFree) << "a named row after a free slot";
        }
      }
    }
    if (c.select == jxstAll) {
      EXPECT_EQ(int(list.size()), kGroupRows);
    }
    EXPECT_EQ(ctl.ItemCount(), int(list.size()));
    // The order within the named rows.
    for (std::size_t i = 1; i < list.size(); ++i) {
      const auto& a = list[i - 1].Data;
      const auto& b = list[i].Data;
      if (a.DataListName.isEmpty() != b.DataListName.isEmpty())
        continue;
      const bool desc = c.type == jxstDesc;
      switch (c.field) {
        case jxsfRec:
          EXPECT_TRUE(desc ? a.Rec > b.Rec : a.Rec < b.Rec);
          break;
        case jxsfNendo:
          if (!a.DataListName.isEmpty()) {
            EXPECT_LE(a.Nendo, b.Nendo);
          }
          break;
        case jxsfDataVer:
          if (!a.DataListName.isEmpty()) {
            EXPECT_LE(a.VerMajor * 100 + a.VerMinor, b.VerMajor * 100 + b.VerMinor);
          }
          break;
        case jxsfName:
          if (!a.DataListName.isEmpty() && a.DataListName == b.DataListName) {
            EXPECT_GE(a.Nendo, b.Nendo);
          }
          break;
        default:
          break;
      }
    }
  }
}

TEST_F(ManyRows, ACustomOrderIsTakenOnlyFromTheListsOwnLines)
{
  struct Case {
    QString text;
    bool descending;
  } cases[] = {
      {"ORDER BY REC DESC", true},
      {"order by rec desc", true},
      {"ORDER BY REC; DELETE FROM DATALIST", false},
      {"ORDER BY (SELECT 1 FROM RDB$DATABASE)", false},
      {"", false},
  };
  for (const auto& c : cases) {
    TDataSentakuListCtl ctl;
    ctl.Execute(0, jxsfCustom, jxstAsc, c.text);
    ASSERT_EQ(ctl.ItemCount(), kGroupRows) << c.text.toStdString();
    EXPECT_EQ(ctl.ItemList().front().Data.Rec, c.descending ? kGroupRows : 1) << c.text.toStdString();
  }
  EXPECT_TRUE(hook.texts.isEmpty()) << hook.texts.join('|').toStdString();
}

TEST_F(ManyRows, FiltersByTermNameAndShareLock)
{
  const TDataSentakuRec some = [] {
    TDataSentakuListCtl ctl;
    ctl.Execute(0, jxsfRec, jxstAsc, QString());
    return ctl.GetItem(manydata::FirstExtra);  // index 21 = REC 22
  }();
  exec(QStringLiteral("UPDATE DATALIST SET KYOYULOCK=1 WHERE REC=22 AND GROUPID=10000"));
  struct Case {
    TJxAppType app;
    int nozoku;
    int nendo;
    QString shogo;
    bool withShared;
  } cases[] = {
      {jxatSA, 1, 0, {}, false},
      {jxatCS, 1, 0, {}, true},
      {jxatSA, 0, 0, {}, true},
      {jxatSA, 0, some.Data.Nendo, {}, true},
      {jxatSA, 0, 0, some.Data.Shougou, true},
  };
  for (const auto& c : cases) {
    TDataSentakuListCtl ctl;
    ctl.SetAppType(c.app);
    ctl.SelectNendo = c.nendo;
    ctl.SelectShogo = c.shogo;
    ctl.Execute(c.nozoku, jxsfRec, jxstAsc, QString());
    bool found = false;
    for (const auto& e : ctl.ItemList()) {
      if (e.Data.Rec == 22)
        found = true;
      if (c.nendo > 0) {
        EXPECT_EQ(e.Data.Nendo, c.nendo);
      }
      if (!c.shogo.isEmpty()) {
        EXPECT_EQ(e.Data.Shougou, c.shogo);
      }
    }
    EXPECT_EQ(found, c.withShared);
  }
  exec(QStringLiteral("UPDATE DATALIST SET KYOYULOCK=0 WHERE REC=22 AND GROUPID=10000"));
}

TEST_F(ManyRows, MembersFollowTheirParentAndStrayMembersStayApart)
{
  exec(QStringLiteral("UPDATE DATALIST SET GASSAN=1 WHERE REC=30 AND GROUPID=10000"));
  TDataSentakuListCtl ctl;
  for (int i = 12; i >= 1; --i) {
    TDataListRec m;
    m.Rec = 30;
    m.RowNo = i;
    m.GassanDataKbn = 10;
    m.DataPath = root->root + QStringLiteral("/0030/%1").arg(i, 3, 10, QLatin1Char('0'));
    m.DataListName = QStringLiteral("支店%1").arg(i);
    ASSERT_TRUE(ctl.UpdateDataListChildRecord(m, 0, true));
  }
  TDataListRec stray;
  stray.Rec = 9999;
  stray.RowNo = 1;
  stray.GassanDataKbn = 10;
  stray.DataPath = root->root + QStringLiteral("/9999/001");
  ASSERT_TRUE(ctl.UpdateDataListChildRecord(stray, 0, true));

  ctl.Execute(0, jxsfRec, jxstAsc, QString());
  TDataSentakuRec parent;
  for (const auto& e : ctl.ItemList())
    if (e.Data.Rec == 30)
      parent = e;
  ASSERT_EQ(parent.ChildDataCnt, 12);
  EXPECT_EQ(ctl.GetGassanChildCount(30), 12);
  EXPECT_EQ(ctl.GetGassanChildCount(9999), 1);
  EXPECT_EQ(int(ctl.ItemChildList().size()), 13);
  TDataSentakuListCtl::SetChildData_DisplayDataListName(&parent);
  EXPECT_EQ(parent.ChildData[0].Display_DataListName, QStringLiteral("01 支店1"));
  EXPECT_EQ(parent.ChildData[11].Display_DataListName, QStringLiteral("12 支店12"));
  TDataSentakuListCtl::DeleteChildData(&parent, 0);
  EXPECT_EQ(parent.ChildDataCnt, 11);
  EXPECT_EQ(parent.ChildData[0].DataListName, QStringLiteral("支店2"));

  // The same members read for the single data set.
  TDataSentakuRec one;
  one.Data = ctl.GetItem(29).Data;
  ctl.GetDataListChildRecord(one, true);
  EXPECT_EQ(one.ChildDataCnt, 12);
  TDataSentakuRec plain;
  plain.Data = ctl.GetItem(30).Data;
  ctl.GetDataListChildRecord(plain, true);
  EXPECT_EQ(plain.ChildDataCnt, 0);

  // Members of a share data set go with their parent's folder only: a "%"
  // or "_" in a folder name is not a wildcard.
  exec(QStringLiteral("DELETE FROM CHILD_SERVERDATALIST"));
  const char* paths[] = {"/s/sv0001/001", "/s/sv0001/002", "/s/sv0001x/001", "/s/sv%/001", "/s/sv_001/001"};
  int rowNo = 0;
  for (const char* p : paths) {
    db::Transaction tr(dm->IBDatabaseDEF);
    tr.start();
    db::Query q(tr, QStringLiteral("INSERT INTO CHILD_SERVERDATALIST(GROUPID,DRIVELETTER,REC,ROWNO,PASNAME) "
                                   "VALUES(:G,'/',1,:R,:P)"));
    q.setParam("G", sample::GroupId);
    q.setParam("R", ++rowNo);
    q.setParam("P", QString::fromLatin1(p));
    q.exec();
    tr.commit();
  }
  struct Del {
    const char* path;
    int left;
  } dels[] = {{"/s/sv%", 4}, {"/s/sv0001", 2}, {"/s/sv_001", 1}};
  for (const auto& d : dels) {
    TDataListRec p;
    p.Rec = 1;
    p.NetDrive = 1;
    p.GassanDataKbn = 1;
    p.DataPath = QString::fromLatin1(d.path);
    ASSERT_TRUE(ctl.DeleteDataListChildRecord(p, true));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM CHILD_SERVERDATALIST")), d.left) << d.path;
  }
  exec(QStringLiteral("DELETE FROM CHILD_DATALIST"));
  exec(QStringLiteral("UPDATE DATALIST SET GASSAN=0 WHERE REC=30 AND GROUPID=10000"));
}

TEST_F(ManyRows, LookUpsStayWithinTheGroup)
{
  TDataSentakuListCtl ctl;
  const QString folder = root->root + QStringLiteral("/0040");
  EXPECT_EQ(ctl.GetRecMax(1), kGroupRows + 1);
  EXPECT_EQ(ctl.GetRecNo(folder), 40);
  EXPECT_EQ(ctl.GetRecNo(folder.toLower() + QStringLiteral("x")), 0);
  EXPECT_TRUE(ctl.IsExistDataPath(folder.toUpper()));
  EXPECT_FALSE(ctl.IsDataListNameMitouroku());
  int rec = -1;
  ctl.LocalPathToDataListRecNo(folder, rec);
  EXPECT_EQ(rec, 40);
  ctl.LocalPathToDataListRecNo(QString(), rec);
  EXPECT_EQ(rec, 0);

  // The other group alone: its rows share folder names but are not ours.
  SystemDef.GROUPID = 30000;
  EXPECT_EQ(ctl.GetRecNo(folder), 0);
  EXPECT_TRUE(ctl.IsDataListNameMitouroku());
  EXPECT_EQ(ctl.GetRecMax(1), 1);
  SystemDef.GROUPID = sample::GroupId;

  // Insert only in client/server use, numbered after the group's highest.
  TDataListRec r;
  ctl.InitDataListRecord(r, root->root + QStringLiteral("/new"));
  EXPECT_TRUE(ctl.InsertDataListRecord(r, true));
  EXPECT_EQ(r.Rec, 0);
  ctl.SetAppType(jxatCS);
  EXPECT_TRUE(ctl.InsertDataListRecord(r, true));
  EXPECT_EQ(r.Rec, kGroupRows + 1);
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM DATALIST WHERE GROUPID=20000 AND REC=%1").arg(kGroupRows + 1)),
            0);
  // Deleting: a fixed slot stays; an added row goes.
  AppInfo.DataListCnt = 120;
  TDataListRec fixed;
  fixed.DataPath = folder;
  EXPECT_TRUE(ctl.DeleteDataListRecord(fixed, true));
  EXPECT_EQ(ctl.GetRecNo(folder), 40);
  EXPECT_TRUE(ctl.DeleteDataListRecord(r, true));
  EXPECT_EQ(ctl.GetRecNo(r.DataPath), 0);
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM DATALIST WHERE GROUPID=20000")), manydata::ExtraCount);
}

TEST(DataListHelpers, StatusNamesAndFreeSlots)
{
  const struct {
    int status;
    const char* name;
  } names[] = {{0, "－"},         {1, "－"},    {2, "使用中"},    {3, "データロック中"},
               {7, "貼り付け中"}, {10, "破損"}, {11, "状態不明"}, {-1, "状態不明"}};
  for (const auto& n : names) {
    EXPECT_EQ(fnDataStatusName(n.status), QString::fromUtf8(n.name)) << n.status;
  }
  EXPECT_TRUE(IsFreeSlotName(QStringLiteral(" 　")));
  EXPECT_TRUE(IsFreeSlotName(QStringLiteral("空き領域")));
  EXPECT_TRUE(IsFreeSlotName(QStringLiteral("新しい領域")));
  EXPECT_FALSE(IsFreeSlotName(QStringLiteral("空き")));
}

TEST(DataListHelpers, SubFoldersAreSortedWithoutRegardToCase)
{
  TestTempDir tmp;
  for (const char* n : {"b02", "A01", "c", "B01", "a02"})
    QDir().mkpath(tmp.file(QString::fromLatin1(n)));
  QFile f(tmp.file("file.txt"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  TDataSentakuRec e;
  e.Data.DataPath = tmp.path();
  e.Data.LocalPath = tmp.path();
  QStringList names;
  for (const QString& p : TDataSentakuListCtl::DirChildDataList(e))
    names << QDir(p).dirName();
  EXPECT_EQ(names, (QStringList{"A01", "a02", "B01", "b02", "c"}));
  EXPECT_EQ(TDataSentakuListCtl::DirChildDataList_Local(e).size(), 5);
}

TEST(DataListHelpers, InformationRecordBecomesAListRecord)
{
  pcAccRecordReset();
  SystemDef.GROUPID = 10000;
  SystemDef.OPCODE = 100000101;
  struct Case {
    int group;
    TJxDataStatus status;
    int opCode;
    int rowNo;
    int netDrive;
    QString listName;
    int lock;
    int kind;
    QString name;
  } cases[] = {
      {10000, jxdsLock, 100000007, 0, 0, "名前", 7, 0, "名前"},
      {10000, jxdsExec, 100000007, 0, 0, "", 0, 0, "商号"},
      {0, jxdsLock, 77, 2, 0, "空き領域", 77, 10, "空き領域"},
      {10000, jxdsNone, 0, 0, 1, "新しい領域", 0, 0, "商号"},
  };
  for (const auto& c : cases) {
    SystemDef.GROUPID = c.group;
    TDataSentakuListCtl ctl;
    TDataInfomationRec info;
    info.Status = c.status;
    info.OpCode = c.opCode;
    info.DataListName = c.listName;
    info.Shougou = QStringLiteral("商号");
    info.Kishu = QStringLiteral("2024/04/01");
    info.Kimatu = QStringLiteral("not a date");
    info.KyoyuStatus = jxksExec;
    info.KyoyuOpCode = SystemDef.OPCODE;
    TDataListRec r;
    r.Rec = 5;
    r.RowNo = c.rowNo;
    r.NetDrive = c.netDrive;
    r.DataPath = QStringLiteral("/d/0005");
    ctl.DataInfoRecToDataListRec(info, r);
    EXPECT_EQ(r.DataLock, c.lock);
    EXPECT_EQ(int(r.GassanDataKbn), c.kind);
    EXPECT_EQ(r.DataListName, c.name);
    EXPECT_EQ(r.Rec, 5);
    EXPECT_EQ(r.KyoyuLock, 1);
    EXPECT_EQ(ToQDate(r.Kishu), QDate(2024, 4, 1));
    EXPECT_EQ(r.Kimatu, 0);
  }
  pcAccRecordReset();
}

TEST(DataListHelpers, FolderStatusFromTheSettingsFile)
{
  pcAccRecordReset();
  SystemDef.GROUPID = 10000;
  TestTempDir tmp;
  TDataInfomationRec info;
  EXPECT_EQ(fnReadDataFolderStatus(tmp.path(), info), jxdsNone);
  struct Case {
    int written;
    TJxDataStatus read;
  } cases[] = {{3, jxdsLock}, {10, jxdsHason}, {1, jxdsNone}, {42, jxdsError}, {-4, jxdsError}};
  for (const auto& c : cases) {
    {
      IniFile ini(TDataInfomation::IniFileName(tmp.path()));
      ini.WriteInteger(QStringLiteral("DATASTS"), QStringLiteral("STATUS"), c.written);
      ini.WriteInteger(QStringLiteral("DATASTS"), QStringLiteral("OPCODE"), 100000007);
      ini.WriteString(QStringLiteral("DATASTS"), QStringLiteral("OPERATOR"), QStringLiteral("髙橋"));
      ini.UpdateFile();
    }
    EXPECT_EQ(fnReadDataFolderStatus(tmp.path(), info), c.read) << c.written;
    EXPECT_EQ(info.OpName, QStringLiteral("髙橋"));
    EXPECT_EQ(fnOperatorNumber(info.OpCode), 7);
    // The dialog's reading (through the data-folder information) agrees.
    TDataInfomationRec read;
    EXPECT_EQ(fnReadDataStatus(jxatSA, tmp.path(), read), c.read) << c.written;
    EXPECT_EQ(read.OpName, QStringLiteral("髙橋"));
  }
  pcAccRecordReset();
}

TEST(DataListSearch, ConditionsTable)
{
  auto entry = [](int kind, int code, const char* name, const char* dcode, int tanto, int ma, int mi, int rev) {
    TDataListRec e;
    e.DataKbn = kind;
    e.CodeKbn = code;
    e.DataListName = QString::fromUtf8(name);
    e.DataCode = QString::fromUtf8(dcode);
    e.Tanto = tanto;
    e.VerMajor = ma;
    e.VerMinor = mi;
    e.VerRevision = rev;
    return e;
  };
  auto cond = [](int type, int code, const char* name, const char* dcode, int tanto, const char* ver, int kbn) {
    TDataKensakuRec c;
    c.DataType = type;
    c.CodeType = code;
    c.DataName = QString::fromUtf8(name);
    c.DataCode = QString::fromUtf8(dcode);
    c.Tanto = tanto;
    c.DataVer = QString::fromUtf8(ver);
    c.DataVerKbn = kbn;
    return c;
  };
  const struct {
    TDataKensakuRec c;
    TDataListRec e;
    bool pass;
  } cases[] = {
      {cond(-13, 0, "", "", 0, "", 0), entry(1, 1, "x", "", 0, 17, 0, 0), true},
      {cond(-13, 0, "", "", 0, "", 0), entry(3, 1, "x", "", 0, 17, 0, 0), true},
      {cond(-13, 0, "", "", 0, "", 0), entry(2, 1, "x", "", 0, 17, 0, 0), false},
      {cond(2, 3, "", "", 0, "", 0), entry(2, 3, "x", "", 0, 0, 0, 0), true},
      {cond(2, 3, "", "", 0, "", 0), entry(2, 1, "x", "", 0, 0, 0, 0), false},
      {cond(0, 0, "ａｂｃ", "", 0, "", 0), entry(1, 1, "xxABCyy", "", 0, 0, 0, 0), true},
      {cond(0, 0, "abc", "", 0, "", 0), entry(1, 1, "ＡＢＣ商事", "", 0, 0, 0, 0), true},
      {cond(0, 0, "ﾐﾄﾞﾘ", "", 0, "", 0), entry(1, 1, "ミドリ建設", "", 0, 0, 0, 0), true},
      {cond(0, 0, "abd", "", 0, "", 0), entry(1, 1, "ABC", "", 0, 0, 0, 0), false},
      {cond(0, 0, "", "a1", 0, "", 0), entry(1, 1, "", "A123", 0, 0, 0, 0), true},
      {cond(0, 0, "", " a1 ", 0, "", 0), entry(1, 1, "", "A123", 0, 0, 0, 0), true},
      {cond(0, 0, "", "a1", 0, "", 0), entry(1, 1, "", "XA1", 0, 0, 0, 0), false},
      {cond(0, 0, "", "a12", 0, "", 0), entry(1, 1, "", "A1", 0, 0, 0, 0), false},
      {cond(0, 0, "", "", 7, "", 0), entry(1, 1, "", "", 8, 0, 0, 0), false},
      {cond(0, 0, "", "", 0, "17", 1), entry(1, 1, "", "", 0, 17, 5, 2), true},
      {cond(0, 0, "", "", 0, "17", 1), entry(1, 1, "", "", 0, 16, 9, 9), false},
      {cond(0, 0, "", "", 0, "17", 1), entry(1, 1, "", "", 0, 18, 0, 0), false},
      {cond(0, 0, "", "", 0, "11.5", 2), entry(1, 1, "", "", 0, 11, 5, 3), true},
      {cond(0, 0, "", "", 0, "11.5", 2), entry(1, 1, "", "", 0, 12, 0, 0), true},
      {cond(0, 0, "", "", 0, "11.5", 2), entry(1, 1, "", "", 0, 11, 4, 9), false},
      {cond(0, 0, "", "", 0, "17.1.2", 3), entry(1, 1, "", "", 0, 17, 1, 2), true},
      {cond(0, 0, "", "", 0, "17.1.2", 3), entry(1, 1, "", "", 0, 17, 1, 3), false},
      {cond(0, 0, "", "", 0, "17.1", 0), entry(1, 1, "", "", 0, 17, 1, 7), true},
      {cond(0, 0, "", "", 0, "17.1", 0), entry(1, 1, "", "", 0, 17, 2, 0), false},
  };
  int i = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(fnDataKensakuPass(c.c, c.e), c.pass) << "case " << i++;
  }

  const struct {
    int code;
    int col;
  } sorts[] = {{0, 0}, {1, 14}, {2, 15}, {3, 16}, {4, 17}, {5, 18}, {6, 12}, {7, 0}, {-1, 0}};
  for (const auto& s : sorts) {
    EXPECT_EQ(ConvReadSortCol(s.code), s.col) << s.code;
  }
  for (const auto& s : sorts)
    if (s.col != 0) {
      EXPECT_EQ(ConvWriteSortCol(s.col), s.code);
    }
  EXPECT_EQ(ConvWriteSortCol(11), 0);
  EXPECT_EQ(ConvWriteSortCol(13), 0);

  const struct {
    int type, code, index;
  } kinds[] = {{1, 2, 1}, {3, 9, 4}, {2, 1, 2}, {2, 2, 3}, {2, 3, 5}, {2, 4, 6}, {2, 5, 0}, {0, 0, 0}};
  for (const auto& k : kinds) {
    EXPECT_EQ(DataKbnToIndex(k.type, k.code), k.index);
    if (k.index > 0 && k.type != 1 && k.type != 3) {
      int t = -1, c = -1;
      IndexToDataKbn(k.index, t, c);
      EXPECT_EQ(t, k.type);
      EXPECT_EQ(c, k.code);
    }
  }
}

TEST_F(ManyRows, SearchConditionsAreStoredPerOperatorAndList)
{
  TDataKensakuStore store(0);
  TDataKensakuRec r;
  ASSERT_EQ(store.SelectRecord(r), 1);
  EXPECT_EQ(r.JyokenUse, 0);
  EXPECT_EQ(r.SortCol, 0);
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM KENSAKUJYOKEN WHERE OPCODE=%1").arg(SystemDef.OPCODE)), 1);
  r.JyokenUse = 1;
  r.DataType = 3;
  r.DataCode = QStringLiteral("A1");
  r.DataName = QStringLiteral("髙橋");
  r.SortCol = 14;
  r.SortType = 1;
  ASSERT_EQ(store.UpdateRecord(r), 1);
  TDataKensakuRec back;
  ASSERT_EQ(store.SelectRecord(back), 1);
  EXPECT_EQ(back.DataType, 3);
  EXPECT_EQ(back.DataName, QStringLiteral("髙橋"));
  EXPECT_EQ(back.SortCol, 14);
  back.SortCol = 11;
  back.SortType = 0;
  ASSERT_EQ(store.UpdateRecordSortField(back), 1);
  TDataKensakuRec again;
  store.SelectRecord(again);
  EXPECT_EQ(again.SortCol, 0);
  EXPECT_EQ(again.DataCode, QStringLiteral("A1"));
  // The share-server list keeps its own row.
  TDataKensakuStore other(1);
  TDataKensakuRec o;
  other.SelectRecord(o);
  EXPECT_EQ(o.DataType, 0);
  EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM KENSAKUJYOKEN WHERE OPCODE=%1").arg(SystemDef.OPCODE)), 2);
  exec(QStringLiteral("DELETE FROM KENSAKUJYOKEN"));
}

}  // namespace

namespace {

TEST(DataListLock, TheToggleDecidesFromTheStatusJustRead)
{
  pcAccRecordReset();
  SystemDef.GROUPID = 10000;
  const int me = 100000101;
  const int other = 100000102;
  using K = TDataLockAction;
  const struct {
    TJxDataStatus status;
    int holder;
    int shown;
    K::TKind kind;
    int lock;
    int opNo;
    bool write;
  } cases[] = {
      {jxdsNone, 0, 0, K::DoLock, 1, 101, true},
      {jxdsExec, other, 0, K::DoLock, 1, 101, true},
      {jxdsLock, me, 1, K::DoRelease, 0, 0, true},
      {jxdsLock, other, 1, K::Refuse, 1, 102, false},
      // The row was drawn unlocked but another operator locked it meanwhile.
      {jxdsLock, other, 0, K::Refuse, 1, 102, false},
      // The row was drawn locked but the lock has gone meanwhile.
      {jxdsNone, 0, 1, K::ShowOnly, 0, 0, false},
      {jxdsLock, me, 0, K::ShowOnly, 1, 101, false},
      {jxdsBack, other, 0, K::Refuse, 0, 0, false},
      {jxdsError, 0, 1, K::Nothing, 0, 0, false},
  };
  int i = 0;
  for (const auto& c : cases) {
    const TDataLockAction a = fnDataLockAction(c.status, c.holder, c.shown, me);
    EXPECT_EQ(a.Kind, c.kind) << i;
    EXPECT_EQ(a.Locked, c.lock) << i;
    EXPECT_EQ(a.OpNo, c.opNo) << i;
    EXPECT_EQ(a.WriteStatus, c.write) << i;
    ++i;
  }
  pcAccRecordReset();
}

}  // namespace
