// The operator list against the fixture system and company databases: the
// list, the maintenance of operators with their branch rights in both
// databases at once, and the operator settings file.
#include <QFile>

#include "DataModuleTestUtil.h"
#include "common/UserList.h"
#include "platform/Exceptions.h"
#include "platform/TextCodec.h"

namespace dmtest {
namespace {

constexpr int G = sample::GroupId;

class UserListTest : public StandAlone {
 protected:
  void SetUp() override
  {
    StandAlone::SetUp();
    testfx::builder().open(sys, root.systemDb);
    testfx::builder().open(dat, root.dataSets.first().database);
  }
  void TearDown() override
  {
    sys.disconnect();
    dat.disconnect();
    StandAlone::TearDown();
  }

  void exec(db::Database& d, const QString& sql, const QVariantList& params = {})
  {
    db::Transaction tr(d);
    tr.start();
    db::Query q(tr, sql);
    const QStringList names = q.paramNames();
    for (int i = 0; i < params.size(); ++i) {
      const QVariant& v = params[i];
      if (v.typeId() == QMetaType::Int)
        q.setParam(names[i], v.toInt());
      else
        q.setParam(names[i], v.toString());
    }
    q.exec();
    tr.commit();
  }
  // Every row of a statement, columns joined by "|".
  QStringList rows(db::Database& d, const QString& sql)
  {
    QStringList out;
    db::Transaction tr(d);
    tr.start();
    db::Query q(tr, sql);
    for (q.open(); !q.eof(); q.next()) {
      QStringList cols;
      for (int i = 0; i < q.fieldCount(); ++i)
        cols << q.field(i).asString();
      out << cols.join(QLatin1Char('|'));
    }
    q.close();
    tr.commit();
    return out;
  }
  void addOperator(int group, int code, const QString& name, int level = 5, int shonin = 0,
                   const QString& password = QString())
  {
    exec(sys,
         "INSERT INTO OPERATOR (GROUPID, OPCODE, OPNAME, JOBLEVEL, PASWORD, DATAPAS, JIMUSHO, OKINIIRI, KANSA, "
         "MYNUMBER_ADM, SHONIN) VALUES (:G, :C, :N, :L, :P, :D, 0, 1, 2, 0, :S)",
         {group, code, name, level, password, name + "-d", shonin});
  }
  void addSysDef(int login, const QString& font, const QString& sstr, int base)
  {
    QStringList cols{"OPCODE", "FontName", "SSTR"};
    QStringList vals{QString::number(login), "'" + QString(font).replace("'", "''") + "'",
                     "'" + QString(sstr).replace("'", "''") + "'"};
    const char* ints[] = {"FontSize", "ColHeaderColor", "PLineColor1", "TEK_AUTOUP",
                          "Reserve1", "Reserve3",       "Reserve5",    "RowHeaderColor"};
    int k = 0;
    for (const char* c : ints) {
      cols << c;
      vals << QString::number(base + k++);
    }
    exec(sys, QString("INSERT INTO SYSDEF (%1) VALUES (%2)").arg(cols.join(','), vals.join(',')));
  }
  // What the settings file carries, as rows.
  QStringList setUpRows(int group)
  {
    const QString lo = QString::number(group * 10000 + 10), hi = QString::number(group * 10000 + 9999);
    return rows(sys,
                "SELECT GROUPID,OPCODE,OPNAME,JOBLEVEL,PASWORD,DATAPAS,JIMUSHO,OKINIIRI,KANSA FROM OPERATOR "
                "WHERE GROUPID=" +
                    QString::number(group) + " AND OPCODE>=10 ORDER BY OPCODE") +
           rows(sys,
                "SELECT OPCODE,FontName,FontSize,ColHeaderColor,PLineColor1,TEK_AUTOUP,Reserve1,Reserve3,Reserve5,"
                "SSTR,RowHeaderColor FROM SYSDEF WHERE OPCODE BETWEEN " +
                    lo + " AND " + hi + " ORDER BY OPCODE") +
           rows(sys, "SELECT LEVELNO,PAGENO,MENUNO FROM JOBCONTROL ORDER BY 1,2,3") +
           rows(sys, "SELECT LEVELNO,PROC_ID,PROC_OPTION FROM JOBCONTROL2 ORDER BY 1,2") +
           rows(sys, "SELECT LEVELNO,NAME FROM LEVELNAME ORDER BY 1");
  }

  db::Database sys;
  db::Database dat;
};

TEST_F(UserListTest, ListsTheGroupsOperatorsWithTopItemApproversAndFilterForm)
{
  exec(sys, "INSERT INTO LEVELNAME (LEVELNO, NAME) VALUES (5, '一般')");
  addOperator(G, 20, "佐藤 \"花子\"", 5, 1);
  addOperator(G, 11, "鈴木,一郎", 1);
  addOperator(G, 5, "下位コード");  // codes below 10 are not listed
  addOperator(G + 1, 30, "他グループ");

  TUserList list(sys, &dat);
  list.SetGroupID(G);
  list.Execute();
  QStringList expected{QString("11:鈴木,一郎"), QString("20:佐藤 \"花子\""),
                       QString("%1:%2").arg(sample::OperatorCode).arg(sample::operatorName()),
                       QString("%1:%2").arg(sample::ClerkCode).arg(sample::clerkName()),
                       QString("9999:システムユーザー")};
  EXPECT_EQ(list.Items(), expected);
  EXPECT_EQ(list.ItemStrings(), expected.join('\n'));
  EXPECT_FALSE(list.OwnTransaction().inTransaction());

  list.SetTopItem("選択なし");
  list.Execute();
  ASSERT_EQ(list.ItemCount(), 6);
  EXPECT_EQ(list.ItemGetter(0), "選択なし");
  EXPECT_EQ(list.GetListIndex(0), 0);
  EXPECT_EQ(list.GetListIndex(20), 2);
  EXPECT_EQ(list.GetListIndex(30), -1);
  EXPECT_EQ(list.GetUserInfo(0).Level, 9);
  for (int i : {-1, list.ItemCount()}) {
    EXPECT_EQ(list.ItemGetter(i), QString());
    EXPECT_EQ(list.ItemGetterCode(i), 0);
    EXPECT_EQ(list.ItemGetterOpCode(i), 0);
    EXPECT_EQ(list.ItemGetterName(i), QString());
  }
  EXPECT_EQ(list.GetUserInfo(777).GroupID, G);
  EXPECT_EQ(list.GetUserInfo(777).CODE, 0);

  list.SetSyouninsya(true);
  list.SetUseFilterCombo(true);
  list.Execute();
  EXPECT_EQ(list.Items(), (QStringList{"\"選択なし\"\t\"\"", "\"20\"\t\"佐藤 \"花子\"\""}));
  EXPECT_EQ(list.ItemGetterOpCode(1), G * 10000 + 20);
  EXPECT_TRUE(list.GetUserInfo(20).SyouninsyaKbn);
  EXPECT_TRUE(list.GetUserInfo(20).EasyMenu);
  EXPECT_EQ(list.GetUserInfo(20).LevelName, "一般");

  // A group without operators from 10 up: the top item alone, or nothing.
  list.SetGroupID(G + 5);
  list.Execute();
  EXPECT_EQ(list.ItemCount(), 1);
  list.SetTopItem(QString());
  list.Execute();
  EXPECT_EQ(list.ItemCount(), 0);
}

TEST_F(UserListTest, OperatorChangesAndTheirBranchRightsGoTogetherIntoBothDatabases)
{
  exec(sys, "INSERT INTO LEVELNAME (LEVELNO, NAME) VALUES (5, '一般')");
  TUserList list(sys, &dat);
  list.SetGroupID(G);
  auto rights = [&](int code) {
    return rows(dat, QString("SELECT 'L', SCODE FROM OPLICENSE WHERE OPCODE=%1 UNION ALL "
                             "SELECT 'D', SCODE FROM OPDEFSISETU WHERE OPCODE=%1 ORDER BY 1,2")
                         .arg(G * 10000 + code));
  };

  TUserListRec r;
  list.InitUserInfo(r);
  r.CODE = 20;
  r.NAME = "高橋";
  r.Level = 5;
  r.UseSiten = QStringList{"001", "002"};
  r.DefSiten = "002";
  ASSERT_TRUE(list.InsertUser(r));
  EXPECT_EQ(rights(20), (QStringList{"D|002", "L|001", "L|002"}));
  EXPECT_EQ(list.GetListIndex(20), 0);  // the list was read again
  list.GetSiyouSiten(20);
  EXPECT_EQ(list.GetUserInfo(20).UseSiten, (QStringList{"001", "002"}));
  EXPECT_EQ(list.GetUserInfo(20).DefSiten, "002");

  // Unrestricted operators get no rights rows; an empty branch list still
  // gives the default-branch row.
  struct Case {
    int code;
    bool accountant;
    int level;
    QStringList expected;
  } cases[] = {{21, true, 5, {}}, {22, false, 9, {}}, {23, false, 5, {"D|"}}};
  for (const Case& c : cases) {
    TUserListRec u;
    list.InitUserInfo(u);
    u.CODE = c.code;
    u.NAME = "x";
    u.Accountant = c.accountant;
    u.Level = c.level;
    ASSERT_TRUE(list.InsertUser(u)) << c.code;
    EXPECT_EQ(rights(c.code), c.expected) << c.code;
  }

  // A new code moves a restricted operator's rights; an unrestricted one's stay.
  r.CODE = 24;
  ASSERT_TRUE(list.UpdateUser(20, r));
  EXPECT_EQ(rights(20), QStringList());
  EXPECT_EQ(rights(24), (QStringList{"D|002", "L|001", "L|002"}));
  exec(dat, QString("INSERT INTO OPLICENSE (OPCODE, SCODE) VALUES (%1, '001')").arg(G * 10000 + 21));
  TUserListRec acc = list.GetUserInfo(21);
  acc.CODE = 25;
  ASSERT_TRUE(list.UpdateUser(21, acc));
  EXPECT_EQ(rights(21), QStringList{"L|001"});

  // A failure in the company database undoes the operator row in the system
  // database too (one transaction over both).
  TUserListRec bad;
  list.InitUserInfo(bad);
  bad.CODE = 30;
  bad.Level = 5;
  bad.UseSiten = QStringList{"001", "001"};
  EXPECT_FALSE(list.InsertUser(bad));
  EXPECT_EQ(rows(sys, QString("SELECT OPCODE FROM OPERATOR WHERE GROUPID=%1 AND OPCODE=30").arg(G)), QStringList());
  EXPECT_EQ(rights(30), QStringList());
  EXPECT_FALSE(list.OwnTransaction().inTransaction());
  ASSERT_EQ(hook.boxes.size(), 1u);
  EXPECT_TRUE(hook.boxes[0].text.contains("ユーザーの追加に失敗しました。"));

  // Inside a caller's transaction nothing is shown or ended.
  db::Transaction caller(sys);
  caller.addDatabase(dat);
  list.SetTransaction(&caller, 0);
  list.SetTransaction(&caller, 1);
  caller.start();
  EXPECT_FALSE(list.InsertUser(bad));
  EXPECT_TRUE(caller.inTransaction());
  caller.rollback();
  EXPECT_EQ(hook.boxes.size(), 1u);
  list.SetTransaction(nullptr, -1);

  ASSERT_TRUE(list.DeleteUser(24));
  EXPECT_EQ(rights(24), QStringList());
  EXPECT_EQ(list.GetListIndex(24), -1);
}

TEST_F(UserListTest, SettingsFileRoundTripKeepsQuotesCommasLineBreaksAndJapanese)
{
  const int A = sample::OperatorCode;
  const QString tricky = "渡辺 \"ナベ\", 経理部";
  addOperator(G, 20, tricky, 1, 0, "pa\"ss,word");
  addOperator(G, 21, "\"", 1);
  addOperator(G, 22, "①髙～", 9);
  addSysDef(G * 10000 + 20, "ＭＳ ゴシック", "KEY=\"a,b\"\r\nNEXT=2", 100);
  addSysDef(G * 10000 + 21, "\",\"", "", 200);
  addSysDef(G * 10000 + A, "IPAexGothic", "mine", 300);
  addSysDef((G + 1) * 10000 + 20, "other group", "", 400);
  exec(sys, "INSERT INTO JOBCONTROL (LEVELNO, PAGENO, MENUNO) VALUES (1001, 2, 3)");
  exec(sys, "INSERT INTO JOBCONTROL2 (LEVELNO, PROC_ID, PROC_OPTION) VALUES (1001, 'JxProc', 'A=1,B=\"x\"')");
  exec(sys, "UPDATE LEVELNAME SET NAME='入力, \"担当\"' WHERE LEVELNO=1");
  const QStringList before = setUpRows(G);

  TUserList list(sys, &dat);
  list.SetGroupID(G);
  const QString file = tmp.file("operators.csv");
  ASSERT_TRUE(list.BackupRecored(file));
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray bytes = f.readAll();
  EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
  EXPECT_TRUE(bytes.contains(QString("\"渡辺 \"\"ナベ\"\", 経理部\"").toUtf8()));
  EXPECT_TRUE(bytes.endsWith("\r\n"));

  // Everything changes; the restore brings it back.
  exec(sys, "UPDATE OPERATOR SET OPNAME='changed' WHERE OPCODE=20");
  exec(sys, "DELETE FROM OPERATOR WHERE OPCODE=22");
  exec(sys, QString("UPDATE SYSDEF SET SSTR='changed' WHERE OPCODE=%1").arg(G * 10000 + 20));
  exec(sys, "INSERT INTO JOBCONTROL (LEVELNO, PAGENO, MENUNO) VALUES (1, 1, 1)");
  exec(sys, "UPDATE LEVELNAME SET NAME='x'");
  addOperator(G, 40, "new");
  SystemDef.FontName = "before";
  ASSERT_TRUE(list.RestoreRecored(file, A));
  EXPECT_EQ(setUpRows(G), before);
  EXPECT_TRUE(hook.boxes.empty());
  // Another group's settings rows are not touched; the own record went into
  // the running settings.
  EXPECT_EQ(rows(sys, QString("SELECT FontName FROM SYSDEF WHERE OPCODE=%1").arg((G + 1) * 10000 + 20)),
            QStringList{"other group"});
  EXPECT_EQ(SystemDef.FontName, "IPAexGothic");
  EXPECT_EQ(SystemDef.FontSize, 300);
  EXPECT_EQ(SystemDef.LineColor1, 302);
  EXPECT_EQ(SystemDef.DicTekAutoAdd, 303);
  EXPECT_EQ(SystemDef.ZeigakuSanko, 304);
  EXPECT_EQ(SystemDef.SwkTorokuKakunin, 305);
  EXPECT_EQ(SystemDef.Reserve5, 306);
  EXPECT_EQ(SystemDef.RowHeaderColor, 307);

  // Restored into another group (also group 0) by operator 21: the rows are
  // re-based into that group, the restoring operator's rows are left alone.
  for (int target : {G + 2, 0}) {
    addOperator(target, 21, "restorer");
    TUserList other(sys, &dat);
    other.SetGroupID(target);
    ASSERT_TRUE(other.RestoreRecored(file, 21)) << target;
    const QString lo = QString::number(target * 10000), hi = QString::number(target * 10000 + 9999);
    EXPECT_EQ(
        rows(sys, QString("SELECT OPCODE, OPNAME FROM OPERATOR WHERE GROUPID=%1 ORDER BY 1").arg(target)),
        (QStringList{"20|" + tricky, "21|restorer", "22|①髙～", QString("%1|%2").arg(A).arg(sample::operatorName()),
                     QString("%1|%2").arg(sample::ClerkCode).arg(sample::clerkName()), "9999|システムユーザー"}))
        << target;
    EXPECT_EQ(
        rows(sys, "SELECT OPCODE - " + lo + " FROM SYSDEF WHERE OPCODE BETWEEN " + lo + " AND " + hi + " ORDER BY 1"),
        (QStringList{"20", QString::number(A)}))
        << target;
  }
  EXPECT_EQ(SystemDef.FontName, "\",\"");  // operator 21's own record
  EXPECT_TRUE(hook.boxes.empty());
}

TEST_F(UserListTest, OlderFilesAdjustedRecordsAndFailedRestores)
{
  const int A = sample::OperatorCode;
  const QString login20 = QString::number(G * 10000 + 20);
  QStringList ints;
  for (int i = 0; i < 35; ++i)
    ints << QString::number(i);
  const QString legacy = QStringList{"1,1,\"入力\"",
                                     "2,1,1,1",
                                     "20,1,\"JxAoYosanKihonRule\",\"SyoriType=1\"",
                                     "20,1,\"JxMBHokukuKansa\",\"\"",
                                     "20,1,\"JxAoYosanKihonRule\",\"SyoriType=2\"",
                                     "",
                                     "99,whatever",
                                     QString("3,%1,20,\"古い\"名前\",1,\"\",\"\",0,0,0").arg(G),
                                     "4," + login20 + ",\"Font\"," + ints.join(',') + ",\"s\""}
                             .join("\r\n");
  // Written in the Windows code page, without a byte-order mark.
  const QString file = tmp.file("legacy.csv");
  {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(encodeText(legacy, TextEncoding::Cp932));
  }
  TUserList list(sys, &dat);
  list.SetGroupID(G);
  ASSERT_TRUE(list.RestoreRecored(file, A));
  EXPECT_EQ(rows(sys, "SELECT LEVELNO, PROC_ID, PROC_OPTION FROM JOBCONTROL2 ORDER BY 2, 3"),
            (QStringList{"1|JxAoYosanKihonRule|SyoriType=2", "1|JxHensaiYoteihyo|SyoriType=1"}));
  EXPECT_EQ(rows(sys, "SELECT OPNAME FROM OPERATOR WHERE OPCODE=20"), QStringList{"古い\"名前"});
  EXPECT_EQ(rows(sys, "SELECT RowHeaderColor, Reserve5, SSTR FROM SYSDEF WHERE OPCODE=" + login20),
            QStringList{"14408667|34|s"});  // 0xDBDBDB when the file has no row-header colour

  // A record that is no number fails the restore and changes no table.
  const QStringList before = setUpRows(G);
  const QString broken = tmp.file("broken.csv");
  {
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(
        "\xEF\xBB\xBF"
        "2,1,1,2\r\n4," +
        login20.toUtf8() + ",\"F\",x\r\n");
  }
  EXPECT_FALSE(list.RestoreRecored(broken, A));
  EXPECT_EQ(setUpRows(G), before);
  ASSERT_EQ(hook.boxes.size(), 1u);
  EXPECT_TRUE(hook.boxes[0].text.contains("オペレータ情報の復元に失敗しました。"));
  EXPECT_FALSE(list.OwnTransaction().inTransaction());

  // A file that cannot be read is the caller's error, before any table.
  EXPECT_THROW(list.RestoreRecored(tmp.file("missing.csv"), A), EPlatformError);
  EXPECT_EQ(setUpRows(G), before);
  EXPECT_EQ(hook.boxes.size(), 1u);

  // A file that cannot be written: a message, no file.
  EXPECT_FALSE(list.BackupRecored(tmp.file("no/such/folder/x.csv")));
  EXPECT_EQ(hook.boxes.size(), 2u);
}

TEST(UserListFile, RecordsAreSplitAtUnquotedCommasAndLineEnds)
{
  struct Case {
    QString text;
    std::vector<QStringList> records;
  } cases[] = {
      {"1,\"a\"\r\n2,3", {{"1", "a"}, {"2", "3"}}},
      {"\"x \"\"y\"\", z\",1", {{"x \"y\", z", "1"}}},
      {"\"line\r\nbreak\"\n\n\"\"", {{"line\r\nbreak"}, {}, {""}}},
      {"\"old \"style\" quote\",2", {{"old \"style\" quote", "2"}}},
      {"a,,\"\"", {{"a", "", ""}}},
      {"\"\"\"\"", {{"\""}}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TUserList::SplitSettingsText(c.text), c.records) << c.text.toStdString();
  for (const QString& s : {QString("plain"), QString("\""), QString("a\"\",\r\n\"b"), QString()}) {
    const auto back = TUserList::SplitSettingsText("1," + TUserList::QuoteField(s) + ",2");
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0], (QStringList{"1", s, "2"})) << s.toStdString();
  }
}

}  // namespace
}  // namespace dmtest
