// The checks before received data replaces a local data set, and the direct
// reads and writes of a transferred data set's company database.
#include <gtest/gtest.h>

#include <QDir>

#include "acctables/AccGengo.h"
#include "comm/DataTusin.h"
#include "common/DataInfomation.h"
#include "tests/support/DataModuleEnv.h"
#include "tests/support/MessageCollector.h"

using testenv::ScopedMessageCollector;

namespace {

TDataInfomationRec info(const QString& AShougou, const QString& AKishu, const QString& AKimatu, int ATotal)
{
  TDataInfomationRec r;
  r.Shougou = AShougou;
  r.Kishu = AKishu;
  r.Kimatu = AKimatu;
  r.TotalSiwake = ATotal;
  return r;
}

}  // namespace

TEST(DataHikaku, DifferencesAndTheAgreement)
{
  const TDataInfomationRec base = info("テスト商事", "2026/04/01", "2027/03/31", 1200);
  struct Case {
    const char* what;
    TDataInfomationRec source, target;
    int nengo;
    bool answer;
    bool result;
    QStringList lines;  // empty: no dialog
    QStringList boxes;
  } cases[] = {
      {"the same", base, base, 0, false, true, {}, {}},
      {"more journal entries received",
       info("テスト商事", "2026/04/01", "2027/03/31", 1300),
       base,
       0,
       false,
       true,
       {},
       {}},
      {"fewer journal entries, agreed",
       info("テスト商事", "2026/04/01", "2027/03/31", 999),
       base,
       0,
       true,
       true,
       {"仕訳件数(修正・削除仕訳含む)が減っています。", "　【復元元】：999 件", "　【復元先】：1,200 件", ""},
       {}},
      {"another company and first day, refused",
       info("テスト物産", "2025/04/01", "2027/03/31", 1200),
       base,
       0,
       false,
       false,
       {"会社名に違いがありました。", "　【復元元】：テスト物産", "　【復元先】：テスト商事", "",
        "期首に違いがありました。", "　【復元元】：2025/04/01", "　【復元先】：2026/04/01", ""},
       {}},
      {"last day in era form",
       info("テスト商事", "2026/04/01", "2026/12/31", 1200),
       base,
       1,
       true,
       true,
       {"期末に違いがありました。", "　【復元元】：R 08/12/31", "　【復元先】：R 09/03/31", ""},
       {}},
      {"case differs",
       info("ﾃｽﾄ", "2026/04/01", "2027/03/31", 1200),
       info("ﾃｽﾄ ", "2026/04/01", "2027/03/31", 1200),
       0,
       true,
       true,
       {"会社名に違いがありました。", "　【復元元】：ﾃｽﾄ", "　【復元先】：ﾃｽﾄ ", ""},
       {}},
      {"no source information",
       TDataInfomationRec{},
       base,
       0,
       true,
       false,
       {},
       {"復元処理元のデータ情報が不正です。\r"}},
      {"no target information",
       base,
       TDataInfomationRec{},
       0,
       true,
       false,
       {},
       {"復元処理先のデータ情報が不正です。\r"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    pcAccRecordReset();
    pcGengoTableSet();
    SystemDef.NengoSwitch = c.nengo;
    TDataTusin t;
    t.FProcType = 21;
    QList<TTusinAgreement> asked;
    t.AskAgreement = [&](const TTusinAgreement& a) {
      asked << a;
      return c.answer;
    };
    ScopedMessageCollector boxes;
    EXPECT_EQ(t.DataHikaku("復元", c.source, c.target), c.result);
    EXPECT_EQ(boxes.texts, c.boxes);
    if (c.lines.isEmpty()) {
      EXPECT_TRUE(asked.isEmpty());
    } else {
      ASSERT_EQ(asked.size(), 1);
      EXPECT_EQ(asked[0].Lines, c.lines);
      EXPECT_EQ(asked[0].WindowTitle, "データ照合チェックの結果");
      EXPECT_EQ(asked[0].MainCaption, "以下の項目に違いが検出されました。");
      EXPECT_EQ(asked[0].AgreeCaption, "データ復元処理の続行に同意します。");
      EXPECT_TRUE(asked[0].ScreenCentered);
    }
  }
}

namespace {

class TransferCheck : public testenv::SharedDataRootTest<TransferCheck> {
 protected:
  void SetUp() override
  {
    testenv::DataModuleSetup s;
    s.root = root->root;
    s.logFile = tmp->file("log");
    setUpDataModule(s);
    data = root->dataSets.at(0);
    t.FProcType = 21;
    t.HIBPATHDAT = data.folder;
    t.AskAgreement = [this](const TTusinAgreement& a) {
      asked << a;
      return false;
    };
  }
  void company(const QString& sql) { testenv::execIn(data.database, sql); }
  QString companyValue(const QString& sql)
  {
    db::Database d;
    testfx::builder().open(d, data.database);
    return testenv::valueOf(d, sql);
  }

  fixtures::sample::DataSet data;
  TDataTusin t;
  QList<TTusinAgreement> asked;
};

}  // namespace

TEST_F(TransferCheck, GatherersCompareWithTheLocalDataSet)
{
  ScopedMessageCollector boxes;
  TDataInfomationRec target;
  ASSERT_EQ(TDataInfomation().ReadIniFile(data.folder, target), 1);

  struct Case {
    const char* what;
    QString target;
    bool result;
    QStringList boxes;
    int asked;
  } cases[] = {
      {"no target path", "", false, {"復元処理先のデータパスが不正です。\r"}, 0},
      {"a target folder that does not exist", tmp->file("new/0009"), true, {}, 0},
      {"a target folder without a company database", tmp->file("empty"), true, {}, 0},
      {"the local data set", data.folder, false, {}, 1},
  };
  QDir().mkpath(tmp->file("empty"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    boxes.texts.clear();
    asked.clear();
    TDataInfomationRec source = target;
    source.Shougou = "受信した会社";
    EXPECT_EQ(t.BackupInfoHikaku("復元", source, c.target), c.result);
    EXPECT_EQ(boxes.texts, c.boxes);
    EXPECT_EQ(asked.size(), c.asked);
    if (!c.target.isEmpty())
      EXPECT_TRUE(QDir(c.target).exists());
  }
  ASSERT_EQ(asked.size(), 1);
  EXPECT_EQ(asked[0].Lines.mid(0, 3), (QStringList{"会社名に違いがありました。", "　【復元元】：受信した会社",
                                                   "　【復元先】：" + target.Shougou}));

  // A work folder restored from the received data: the same data set
  // compares equal.
  boxes.texts.clear();
  asked.clear();
  EXPECT_TRUE(t.WorkDataHikaku("復元", QString(), data.folder, data.folder));
  EXPECT_TRUE(asked.isEmpty());
  EXPECT_FALSE(t.WorkDataHikaku("復元", QString(), data.folder, ""));
  EXPECT_EQ(boxes.texts, QStringList{"復元処理元のデータパスが不正です。\r"});
}

TEST_F(TransferCheck, ConsolidationValuesRoundTrip)
{
  ASSERT_TRUE(t.GassanInfoRead());
  EXPECT_EQ(t.gassanKb, "0");
  EXPECT_EQ(t.gassanSu, "0");
  t.gassanKb = "10";
  t.gassanSu = "3";
  ASSERT_TRUE(t.GassanInfoWrite());
  EXPECT_FALSE(t.IBDatabaseDAT.isConnected());
  t.gassanKb.clear();
  t.gassanSu.clear();
  ASSERT_TRUE(t.GassanInfoRead());
  EXPECT_EQ(t.gassanKb, "10");
  EXPECT_EQ(t.gassanSu, "3");
  t.gassanKb = "0";
  t.gassanSu = "0";
  ASSERT_TRUE(t.GassanInfoWrite());

  // A data set that cannot be opened: reported, values kept, nothing written.
  ScopedMessageCollector boxes;
  t.HIBPATHDAT = tmp->file("missing");
  t.gassanKb = "kept";
  EXPECT_TRUE(t.GassanInfoRead());
  EXPECT_EQ(t.gassanKb, "kept");
  EXPECT_FALSE(t.GassanInfoWrite());
  EXPECT_FALSE(t.IBDatabaseDAT.isConnected());
  EXPECT_FALSE(boxes.texts.isEmpty());
}

TEST_F(TransferCheck, CloudLineClearByDataVersion)
{
  struct Case {
    const char* what;
    int major, minor1, minor2, mode;
    QString lineAfter;
  } cases[] = {
      {"reads the version", 17, 0, 3, 1, "5"},         {"17.0.3 is tied to no line", 17, 0, 3, 0, "0"},
      {"11.0.1 is tied to no line", 11, 0, 1, 0, "0"}, {"11.1.0 is tied to no line", 11, 1, 0, 0, "0"},
      {"11.0.0 is left alone", 11, 0, 0, 0, "5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    company(QStringLiteral("UPDATE ACCVERSION SET MAJOR=%1, MINOR1=%2, MINOR2=%3 WHERE REC=1")
                .arg(c.major)
                .arg(c.minor1)
                .arg(c.minor2));
    company("UPDATE ACCDEF1 SET CLOUD_LINE=5 WHERE REC=1");
    t.itDataVerMajor = 0;
    ASSERT_TRUE(t.CloudLineClear(c.mode));
    EXPECT_EQ(companyValue("SELECT CLOUD_LINE FROM ACCDEF1 WHERE REC=1"), c.lineAfter);
    if (c.mode)
      EXPECT_EQ(QStringLiteral("%1.%2.%3").arg(t.itDataVerMajor).arg(t.itDataVerMinor1).arg(t.itDataVerMinor2),
                "17.0.3");
    EXPECT_FALSE(t.IBDatabaseDAT.isConnected());
  }
  company("UPDATE ACCVERSION SET MAJOR=17, MINOR1=0, MINOR2=0 WHERE REC=1");
  ScopedMessageCollector boxes;
  t.HIBPATHDAT = tmp->file("missing");
  EXPECT_FALSE(t.CloudLineClear(0));
  EXPECT_FALSE(boxes.texts.isEmpty());
}
