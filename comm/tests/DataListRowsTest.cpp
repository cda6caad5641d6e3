// The data-list rows the communication dialog reads and writes back.
#include <gtest/gtest.h>

#include "comm/DataTusin.h"
#include "tests/support/DataModuleEnv.h"
#include "tests/support/MessageCollector.h"

using testenv::ScopedMessageCollector;

namespace {

class DataListRows : public testenv::SharedDataRootTest<DataListRows> {
 protected:
  void SetUp() override
  {
    testenv::DataModuleSetup s;
    s.root = root->root;
    s.logFile = tmp->file("log");
    setUpDataModule(s);
    data = root->dataSets.at(0);
  }
  // The row of the first data set as read.
  const TDataListRec* find(int ARec)
  {
    for (const TDataSentakuRec& r : t.FAllSentakuListRec)
      if (r.Data.Rec == ARec)
        return &r.Data;
    return nullptr;
  }

  fixtures::sample::DataSet data;
  TDataTusin t;
};

}  // namespace

TEST_F(DataListRows, ReadsTheGroupsRowsInEitherOrder)
{
  const int expected =
      value(QStringLiteral("SELECT COUNT(*) FROM DATALIST WHERE GROUPID=%1").arg(SystemDef.GROUPID)).toInt();
  ASSERT_GT(expected, 0);
  ASSERT_EQ(t.ReadDataList(), expected);
  ASSERT_EQ(int(t.FAllSentakuListRec.size()), expected);
  EXPECT_LT(t.FAllSentakuListRec.front().Data.Rec, t.FAllSentakuListRec.back().Data.Rec);
  const int rec = data.folder.right(4).toInt();
  const TDataListRec* e = find(rec);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(
      e->DataPath,
      value(
          QStringLiteral("SELECT PASNAME FROM DATALIST WHERE REC=%1 AND GROUPID=%2").arg(rec).arg(SystemDef.GROUPID)));
  EXPECT_EQ(e->Shougou, data.shougou);
  EXPECT_EQ(e->Group, SystemDef.GROUPID);
  EXPECT_TRUE(e->Kikan.contains(" ～ "));
  EXPECT_TRUE(dm->IBTransactionDEF.inTransaction());  // left open on success
  dm->IBTransactionDEF.commit();

  t.FSortRow = 0;
  t.FSortType = 1;
  ASSERT_EQ(t.ReadDataList(), expected);
  EXPECT_GT(t.FAllSentakuListRec.front().Data.Rec, t.FAllSentakuListRec.back().Data.Rec);
  dm->IBTransactionDEF.commit();

  // A group without rows.
  SystemDef.GROUPID = 987654;
  EXPECT_EQ(t.ReadDataList(), 0);
  EXPECT_TRUE(t.FAllSentakuListRec.empty());
}

TEST_F(DataListRows, WritesTheRowOfItsTable)
{
  ASSERT_GT(t.ReadDataList(), 0);
  dm->IBTransactionDEF.commit();
  const int rec = data.folder.right(4).toInt();
  int index = 0;
  while (t.FAllSentakuListRec[std::size_t(index)].Data.Rec != rec)
    ++index;
  TDataListRec& e = t.FAllSentakuListRec[std::size_t(index)].Data;
  auto rowText = [&](const QString& ATable, const QString& AWhere) {
    return value(
        QStringLiteral("SELECT ENTTEXT || '|' || VER_TEXT || '|' || READ_ONLY FROM %1 WHERE %2").arg(ATable, AWhere));
  };

  // Stand-alone: by the folder number.
  e.DataListName = "受信後の名前";
  e.VerText = "17.0.3";
  e.ReadOnly = 1;
  t.WriteDataListRow(index);
  EXPECT_EQ(rowText("DATALIST", QStringLiteral("REC=%1 AND GROUPID=%2").arg(rec).arg(SystemDef.GROUPID)),
            "受信後の名前|17.0.3|1");
  EXPECT_FALSE(dm->IBTransactionDEF.inTransaction());

  // A blank folder path writes nothing.
  const QString path = e.DataPath;
  e.DataPath = "　 ";
  EXPECT_THROW(t.WriteDataListRow(index), EAppError);
  e.DataPath = path;

  // Client/server: the installation's own data folder is in DATALIST, any
  // other (or the same in other letter case) in DATALIST_EX.
  const int g = SystemDef.GROUPID;
  exec(QStringLiteral("INSERT INTO DATALIST (REC, GROUPID, PASNAME) VALUES (901, %1, 'C:/DEDODOZORAV2/DATA/0901')")
           .arg(g));
  exec(QStringLiteral("INSERT INTO DATALIST_EX (REC, GROUPID, DATAPLACEREC, PASNAME) VALUES (901, %1, 1, "
                      "'C:/dedodozorav2/DATA/0901')")
           .arg(g));
  AppType = jxatCS;
  t.FProcType = 2;
  struct Case {
    QString folder;
    QString table;
  } cases[] = {{"C:/DEDODOZORAV2/DATA/0901", "DATALIST"}, {"C:/dedodozorav2/DATA/0901", "DATALIST_EX"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder.toStdString());
    SystemDef.IBPATHDAT = c.folder;
    e.DataPath = c.folder;
    e.DataListName = c.table;
    t.WriteDataListRow(index);
    EXPECT_EQ(rowText(c.table, QStringLiteral("PASNAME='%1'").arg(c.folder)), c.table + "|17.0.3|1");
  }
  AppType = jxatSA;

  // A distributed member in a sub-folder of two or three characters.
  exec(QStringLiteral("INSERT INTO CHILD_DATALIST (REC, ROWNO, GROUPID, PASNAME) VALUES (%1, 1, %2, '%3/01')")
           .arg(rec)
           .arg(g)
           .arg(path));
  exec(QStringLiteral("INSERT INTO CHILD_DATALIST (REC, ROWNO, GROUPID, PASNAME) VALUES (%1, 2, %2, '%3/102')")
           .arg(rec)
           .arg(g)
           .arg(path));
  t.gassanKb = "10";
  for (const QString& member : {QStringLiteral("01"), QStringLiteral("102")}) {
    e.DataPath = path + "/" + member;
    e.DataListName = "member " + member;
    t.WriteDataListRow(index);
    EXPECT_EQ(rowText("CHILD_DATALIST", QStringLiteral("PASNAME='%1'").arg(e.DataPath)),
              "member " + member + "|17.0.3|1");
  }
  ScopedMessageCollector boxes;
  e.DataPath = path + "/9";
  t.WriteDataListRow(index);
  e.DataPath = path + "/77";
  t.WriteDataListRow(index);
  EXPECT_EQ(boxes.texts, (QStringList{"C_DATALISTが更新出来ません。(1)", "C_DATALISTが更新出来ません。(2)"}));
  if (dm->IBTransactionDEF.inTransaction())
    dm->IBTransactionDEF.commit();
}
