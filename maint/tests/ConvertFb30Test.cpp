// Migrations of prepared work folders into the project's templates: every
// data system, the fix-ups, the version row, the members of a consolidated
// data set, the failures that remove the new folder, the script reader and
// the progress percentage.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "common/AccRecord.h"
#include "maint/ConvertFb30.h"
#include "maint/ConvertFb30Lists.h"
#include "platform/TextCodec.h"
#include "tests/support/ConvertFolder.h"
#include "tests/support/DataModuleEnv.h"

namespace {

using fixtures::CompanyKind;

struct ProgressLog : TConvertFb30Progress {
  void SetInfoLabel(const QString& AText) override { texts << AText; }
  QStringList texts;
};

QString readLog(const QString& file)
{
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly))
    return QString();
  return fromCp932(f.readAll());
}

// ---------------------------------------------------------------------------
// Pieces without a database.

TEST(ConvertFb30Script, StatementEndsAndEscapes)
{
  const struct {
    QString line;
    bool ends;
  } ends[] = {
      {"INSERT INTO T (A) VALUES (1);", true},
      {"  'x');", true},
      {"INSERT INTO T (A) VALUES ('a);b');", false},  // an earlier ");" keeps the statement open
      {"INSERT INTO T (A)", false},
      {");", true},
      {"); ", false},
      {"", false},
  };
  for (const auto& c : ends)
    EXPECT_EQ(fnConvertFb30StatementEnds(c.line), c.ends) << c.line.toStdString();
  EXPECT_EQ(fnConvertFb30Unescape("a%CL%b%CR%c%LF%d%CL%"), "a\r\nb\rc\nd\r\n");
}

TEST(ConvertFb30Info, ReadFromEveryEncoding)
{
  TestTempDir tmp;
  const QString text =
      "OpCode=101\r\nAPPTYPE=1\r\ndatatype=2\r\ncodetype=4\r\nsqlcount=abc\r\nGassanDataKbn=1\r\n"
      "gassanchildcnt=2\r\ngassanchilddata01=C:\\old\\髙橋\\m01\r\ngassanchildsqlcount01=7\r\n"
      "gassanchilddata02=/old/m02\r\n";
  QByteArray utf16("\xFF\xFE");
  for (QChar c : text)
    utf16.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
  const struct {
    const char* what;
    QByteArray bytes;
  } files[] = {{"cp932", toCp932(text)}, {"utf-8 bom", "\xEF\xBB\xBF" + text.toUtf8()}, {"utf-16", utf16}};
  for (const auto& f : files) {
    QFile out(tmp.file("convert_info.txt"));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(f.bytes);
    out.close();
    const TConvertFb30Info info = fnReadConvertFb30Info(tmp.file("convert_info.txt"));
    SCOPED_TRACE(f.what);
    EXPECT_EQ(info.OpCode, 101);
    EXPECT_EQ(info.AppType, 1);
    EXPECT_EQ(info.DataType, 2);
    EXPECT_EQ(info.CodeType, 4);
    EXPECT_EQ(info.SqlCount, 0);  // not a number: the default
    EXPECT_EQ(info.GassanDataKbn, 1);
    EXPECT_EQ(info.ChildData, QStringList({"C:\\old\\髙橋\\m01", "/old/m02"}));
    EXPECT_EQ(info.ChildSqlCount, QList<int>({7, 0}));
  }
  // Nothing given: the defaults.
  QFile out(tmp.file("empty.txt"));
  ASSERT_TRUE(out.open(QIODevice::WriteOnly));
  out.close();
  const TConvertFb30Info none = fnReadConvertFb30Info(tmp.file("empty.txt"));
  EXPECT_EQ(none.OpCode, 0);
  EXPECT_EQ(none.AppType, -1);
  EXPECT_EQ(none.DataType, -1);
  EXPECT_EQ(none.CodeType, -1);
  EXPECT_THROW(fnReadConvertFb30Info(tmp.file("missing.txt")), EAppError);
}

TEST(ConvertFb30Info, MemberFolderNames)
{
  const struct {
    QString path;
    QString name;
  } cases[] = {
      {"C:\\data\\0001\\m01", "m01"},
      {"/srv/data/m02", "m02"},
      {"m03", "m03"},
      {"C:\\data\\", ""},
      {"..", ""},
      {"C:\\data\\..", ""},
      {".", ""},
      {"", ""},
      {"   ", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(fnConvertFb30ChildFolderName(c.path), c.name) << c.path.toStdString();
}

TEST(ConvertFb30Fixup, RelayoutOfAddresses)
{
  const QString full13 = QString::fromUtf8("東京都千代田区丸の内一丁目");
  ASSERT_EQ(full13.size(), 13);
  const struct {
    QString text;
    int width;
    QString laid;
  } cases[] = {
      {"ABCDEFGHIJ", 22, "ABCDEFGHIJ" + QString(12, ' ')},
      {full13, 22, full13.left(11) + QString(11, ' ') + full13.right(2)},
      {"", 22, ""},
      {"  ab  ", 24, "ab" + QString(22, ' ')},
  };
  for (const auto& c : cases)
    EXPECT_EQ(fnConvertFb30Relayout(c.text, c.width), c.laid) << c.text.toStdString();
}

// ---------------------------------------------------------------------------
// Migrations.

class ConvertFb30Migration : public testenv::SharedDataRootTest<ConvertFb30Migration> {
 protected:
  static void SetUpTestSuite()
  {
    SharedDataRootTest::SetUpTestSuite();
    testfx::makeInitTemplates(tmp->file("install/bin_convert/init"));
    // The older data sets: the samples with a year of journals, with values
    // that must not carry over.
    for (CompanyKind kind : {CompanyKind::General, CompanyKind::Medical}) {
      const QString folder = tmp->file(kind == CompanyKind::General ? "old/general" : "old/medical");
      const QString file = testfx::makeCompanyDb(folder, kind, true);
      db::Database d;
      testfx::builder().open(d, file);
      testenv::execIn(d, "UPDATE ACCDEF1 SET CLOUD_LINE = 3, CLOUD_TIME = CURRENT_TIMESTAMP");
      testenv::execIn(d, "INSERT INTO TUSIN_ID (REC, HOLDER, PASWORD) VALUES (1, 'H1', 'P1')");
      testenv::execIn(d, "INSERT INTO TUSIN_ID (REC, HOLDER, PASWORD) VALUES (2, 'H2', 'P2')");
      testenv::execIn(d,
                      "UPDATE OR INSERT INTO ACCVERSION (REC, MAJOR, MINOR1, MINOR2, MEMO) "
                      "VALUES (1, 16, 2, 0, 'old')");
      for (const char* key : {"('基本設定', '合算データ区分', '整数', '10')",
                              "('基本設定', '合算データ数', '整数', '0')", "('通信設定', 'クラウド区分', '整数', '1')"})
        testenv::execIn(d, QStringLiteral("UPDATE OR INSERT INTO ACCREG (AGROUP, ACODE, ATYPE, ATEXT) VALUES %1")
                               .arg(QString::fromUtf8(key)));
      (kind == CompanyKind::General ? generalSource : medicalSource) = file;
    }
  }

  void SetUp() override
  {
    testenv::DataModuleSetup setup;
    setup.root = root->root;
    setup.logFile = tmp->file("log");
    setup.operatorName = true;
    setUpDataModule(setup);
    SystemDef.ROOT = tmp->file("install");
    SystemDef.OPCODE2 = 101;
    SystemDef.PCNAME = QStringLiteral("pc01");
    work = caseDir.file("convert_fb15");
    target = caseDir.file("data/0009");
  }

  // The work folder of the older data set `source` (its scripts, and the
  // info file from `info`), in `folder`; answers the statement count.
  static int prepare(const QString& source, const QString& folder, const QStringList& skip = {})
  {
    db::Database d;
    testfx::builder().open(d, source);
    int total = 0;
    for (int n : testfx::writeConvertScripts(d, folder, skip))
      total += n;
    return total;
  }
  void writeInfo(const QStringList& lines) { testfx::writeToolFile(work + "/convert_info.txt", lines); }

  bool migrate(ProgressLog* progress = nullptr)
  {
    TConvertFb30Rec rec;
    rec.SelDataNo = 9;
    rec.SelDataPath = target;
    rec.AppType = 0;
    rec.Fb15Folder = work;
    rec.Fb15InfoFile = work + "/convert_info.txt";
    ProgressLog own;
    return migration.fnConvertFb30(rec, progress ? progress : &own);
  }

  QString valueIn(const QString& file, const QString& sql)
  {
    db::Database d;
    testfx::builder().open(d, file);
    return testenv::valueOf(d, sql);
  }
  QStringList columnIn(const QString& file, const QString& sql)
  {
    db::Database d;
    testfx::builder().open(d, file);
    return testenv::columnOf(d, sql);
  }

  static inline QString generalSource;
  static inline QString medicalSource;
  TestTempDir caseDir;
  QString work;
  QString target;
  TConvertFb30 migration;
};

TEST_F(ConvertFb30Migration, EveryDataSystemIntoItsTemplate)
{
  const struct {
    int dataType, codeType, gassanKbn;
    bool medical;
    bool gassanKbnKept;
  } cases[] = {
      {1, 1, 0, false, true},
      {2, 4, 10, false, false},  // a member without members of its own loses its consolidation kind
      {3, 1, 0, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dataType * 10 + c.codeType);
    QDir(caseDir.path()).removeRecursively();
    const QString source = c.medical ? medicalSource : generalSource;
    const int count = prepare(source, work);
    // The fix-ups' tables, as the older edition left them.
    testfx::writeToolFile(
        work + "/OPMENU.sql",
        {"INSERT INTO OPMENU (REC, CAPTION, CLASS, OPTIONS) VALUES (1, '予算', 'JxAoYosanKihonRule', '');",
         "INSERT INTO OPMENU (REC, CAPTION, CLASS, OPTIONS)", "VALUES (2, '通信%CL%送信',",
         "'JxDataTusin', 'SyoriType=3');",
         "INSERT INTO OPMENU (REC, CAPTION, CLASS, OPTIONS) VALUES (3, '通信', 'JxDataTusin', 'SyoriType=1');",
         "INSERT INTO OPMENU (REC, CAPTION, CLASS, OPTIONS) VALUES (4, '会議', 'JxMeetingToolSetting', '');"});
    testfx::writeToolFile(work + "/UTIWAKE06.sql", {"INSERT INTO UTIWAKE06 (REC, KUBUN) VALUES (1, '  預金  ');"});
    if (c.medical)
      testfx::writeToolFile(work + "/MK_JYUNSHISAN_HENDO.sql",
                            {"INSERT INTO MK_JYUNSHISAN_HENDO (REC, NUM) VALUES (5, 0);",
                             "INSERT INTO MK_JYUNSHISAN_HENDO (REC, NUM) VALUES (8, 0);"});
    else
      testfx::writeToolFile(work + "/AO_FUDOUSAN.sql",
                            {"INSERT INTO AO_FUDOUSAN (REC, KUBUN, YOUTO, SHOZAITI, TINSYAKU) VALUES "
                             "(1, ' 土地 ', ' 事務所 ', 'ABCDEFGHIJ', '');"});
    writeInfo({"opcode=101", "apptype=0", QStringLiteral("datatype=%1").arg(c.dataType),
               QStringLiteral("codetype=%1").arg(c.codeType), QStringLiteral("sqlcount=%1").arg(count),
               QStringLiteral("gassandatakbn=%1").arg(c.gassanKbn), "gassanchildcnt=0"});
    ProgressLog progress;
    ASSERT_TRUE(migrate(&progress)) << migration.Log().join("\n").toStdString();
    EXPECT_EQ(Fb15OpCode, 101);
    EXPECT_EQ(Fb15AppType, 0);
    const QString db = target + "/wqacc2.fdb";
    ASSERT_TRUE(QFileInfo(db).isFile());

    // Every table holds what the older data held (the templates' built-in
    // rows are gone), and the balances were not booked twice: the journal
    // triggers were off during the load.
    db::Database src;
    testfx::builder().open(src, source);
    for (const QString& table : QStringList{"SIWAKE", "KAMOKUMST", "HOJOMST", "KAMOKU_SZ", "KAMOKU_MS", "KAKOZAN",
                                            "ACCTOTALNAME", "TAXMST", "SISETUMST", "BUMONMST"}) {
      const QString sql = "SELECT COUNT(*) FROM " + table;
      EXPECT_EQ(valueIn(db, sql), testenv::valueOf(src, sql)) << table.toStdString();
    }
    for (const QString& sql :
         QStringList{"SELECT SUM(KAR_NUK) - SUM(KAS_NUK) FROM KAMOKU_MS", "SELECT SUM(KAR_NUK) FROM KAMOKU_MS",
                     "SELECT SUM(SIWAKECOUNT) FROM SISETUMST"})
      EXPECT_EQ(valueIn(db, sql), testenv::valueOf(src, sql)) << sql.toStdString();
    // Generators recomputed.
    EXPECT_EQ(valueIn(db, "SELECT GEN_ID(GEN_SIWAKE_REC, 0) FROM RDB$DATABASE"),
              testenv::valueOf(src, "SELECT MAX(REC) FROM SIWAKE"));
    // Switched on again.
    EXPECT_EQ(valueIn(db, "SELECT COUNT(*) FROM RDB$TRIGGERS WHERE RDB$TRIGGER_INACTIVE = 1"), "0");
    EXPECT_EQ(valueIn(db, "SELECT COUNT(*) FROM RDB$INDICES WHERE RDB$INDEX_INACTIVE = 1"), "0");
    EXPECT_EQ(valueIn(db, "SELECT COUNT(*) FROM RDB$RELATION_CONSTRAINTS WHERE RDB$CONSTRAINT_TYPE = 'FOREIGN KEY'"),
              QString::number(ConvertFb30ConstraintList(c.dataType).size()));

    // Fix-ups.
    EXPECT_EQ(valueIn(db, "SELECT COUNT(*) FROM TUSIN_ID WHERE REC = 1"), "0");
    EXPECT_EQ(valueIn(db, "SELECT COUNT(*) FROM TUSIN_ID"), "1");
    EXPECT_EQ(valueIn(db,
                      "SELECT CLOUD_LINE || '/' || COALESCE(CAST(CLOUD_TIME AS VARCHAR(30)), '-') FROM ACCDEF1 "
                      "WHERE REC = 1"),
              "0/-");
    EXPECT_EQ(columnIn(db, "SELECT REC || ':' || CLASS || ':' || CAPTION FROM OPMENU ORDER BY REC"),
              QStringList({"1:JxHensaiYoteihyo:予算", "3:JxDataTusin:通信"}));
    EXPECT_EQ(valueIn(db, "SELECT '[' || KUBUN || ']' FROM UTIWAKE06"), "[預金]");
    // (Closing the new data reads the consolidation kind again, which puts
    // a removed value back with its default.)
    EXPECT_EQ(columnIn(db,
                       "SELECT ACODE || '=' || ATEXT FROM ACCREG WHERE AGROUP IN ('基本設定', '通信設定') AND "
                       "ACODE IN ('合算データ区分', '合算データ数', 'クラウド区分') ORDER BY ACODE"),
              c.gassanKbnKept ? QStringList({"合算データ区分=10", "合算データ数=0"})
                              : QStringList({"合算データ区分=0", "合算データ数=0"}));
    if (c.medical) {
      EXPECT_EQ(columnIn(db, "SELECT REC || '=' || NUM FROM MK_JYUNSHISAN_HENDO ORDER BY REC"),
                QStringList({"5=5", "8=8"}));
    } else {
      EXPECT_EQ(valueIn(db,
                        "SELECT '[' || KUBUN || '|' || YOUTO || '|' || SHOZAITI || '|' || TINSYAKU || ']' "
                        "FROM AO_FUDOUSAN"),
                "[土地|事務所|ABCDEFGHIJ" + QString(12, ' ') + "|]");
    }

    // The version row: 17.0.0 over the older row of the scripts.
    EXPECT_EQ(valueIn(db, "SELECT COUNT(*) FROM ACCVERSION"), "1");
    EXPECT_EQ(valueIn(db, "SELECT MAJOR || '.' || MINOR1 || '.' || MINOR2 FROM ACCVERSION WHERE REC = 1"), "17.0.0");
    const QString memo = valueIn(db, "SELECT MEMO FROM ACCVERSION WHERE REC = 1");
    EXPECT_TRUE(
        QRegularExpression("^\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d,101,.*,pc01,コンバート$").match(memo).hasMatch())
        << memo.toStdString();

    // The log, in CP932, with the steps in order.
    const QString log = readLog(work + "/convert.log");
    EXPECT_EQ(log, migration.Log().join("\r\n") + "\r\n");
    const QStringList lines = migration.Log();
    EXPECT_EQ(lines.value(0), "コンバート情報ファイルの参照要求");
    EXPECT_TRUE(lines.contains(QStringLiteral("データ体系: %1,%2").arg(c.dataType).arg(c.codeType)));
    EXPECT_TRUE(lines.contains("OPMENUテーブルのレコード登録要求"));
    EXPECT_EQ(lines.value(lines.indexOf("OPMENUテーブルのレコード登録要求") + 1), "4件登録");
    // A table without a script shows only the request and the end.
    const int ks = lines.indexOf("KS_DAICHOテーブルのレコード登録要求");
    ASSERT_GE(ks, 0);
    EXPECT_EQ(lines.value(ks + 1), "KS_DAICHOテーブルのレコード登録終了");
    EXPECT_EQ(lines.last(), "データバージョンの書き込み成功");
    EXPECT_EQ(progress.texts.last(), "終了処理中…");
    EXPECT_TRUE(progress.texts.contains("データの移行中( 100％ )…"));
  }
}

TEST_F(ConvertFb30Migration, UnknownDataSystemRemovesTheNewFolder)
{
  QDir().mkpath(target);
  writeInfo({"datatype=2", "codetype=5"});
  EXPECT_FALSE(migrate());
  EXPECT_FALSE(QFileInfo::exists(target));
  const QStringList lines = migration.Log();
  EXPECT_EQ(lines.mid(lines.size() - 2), QStringList({"データ体系: 2,5", "データ体系不明"}));
  EXPECT_EQ(readLog(work + "/convert.log"), lines.join("\r\n") + "\r\n");
}

TEST_F(ConvertFb30Migration, MembersGoIntoTheirSubFolders)
{
  prepare(generalSource, work);
  prepare(generalSource, work + "/m01");
  prepare(generalSource, work + "/m02");
  writeInfo({"datatype=1", "codetype=1", "gassandatakbn=1", "gassanchildcnt=2", "gassanchilddata01=C:\\old\\0001\\m01",
             "gassanchilddata02=C:\\old\\0001\\m02"});
  ASSERT_TRUE(migrate()) << migration.Log().join("\n").toStdString();
  for (const QString& m : QStringList{"", "/m01", "/m02"})
    EXPECT_EQ(valueIn(target + m + "/wqacc2.fdb", "SELECT MAJOR FROM ACCVERSION WHERE REC = 1"), "17")
        << m.toStdString();
  const QStringList lines = migration.Log();
  EXPECT_TRUE(lines.contains("分散データのコンバート要求  ※1"));
  EXPECT_TRUE(lines.contains("分散データのコンバート要求  ※2"));
  EXPECT_EQ(lines.count("分散データのコンバート成功"), 2);
  EXPECT_TRUE(lines.contains(target + "/m02"));
}

TEST_F(ConvertFb30Migration, AFailureInMemberTwoRemovesTheWholeTarget)
{
  prepare(generalSource, work);
  prepare(generalSource, work + "/m01");
  prepare(generalSource, work + "/m02");
  testfx::writeToolFile(work + "/m02/SWKSEARCH.sql", {"INSERT INTO SWKSEARCH (REC, NOSUCH) VALUES (1, 2);"});
  writeInfo({"datatype=1", "codetype=1", "gassandatakbn=1", "gassanchildcnt=2", "gassanchilddata01=m01",
             "gassanchilddata02=m02"});
  testenv::ScopedMessageCollector boxes;
  EXPECT_FALSE(migrate());
  EXPECT_FALSE(QFileInfo::exists(target));
  const QStringList lines = migration.Log();
  EXPECT_TRUE(lines.contains("分散データのコンバート要求  ※2"));
  EXPECT_EQ(lines.count("分散データのコンバート成功"), 1);
  EXPECT_TRUE(lines.last().startsWith("例外エラー: ")) << lines.last().toStdString();
  EXPECT_EQ(lines.value(lines.size() - 2), "0件登録");
  // The work folder is never touched.
  EXPECT_TRUE(QFileInfo(work + "/m02/SWKSEARCH.sql").isFile());
}

TEST_F(ConvertFb30Migration, MemberFolderNamesThatLeaveTheDataFolderAreRefused)
{
  for (const QString& name : QStringList{"..", "C:\\old\\0001\\", "C:\\old\\.."}) {
    SCOPED_TRACE(name.toStdString());
    QDir().mkpath(target);
    testfx::writeToolFile(caseDir.file("data/keep.txt"), {"keep"});
    writeInfo({"datatype=1", "codetype=1", "gassandatakbn=1", "gassanchildcnt=1", "gassanchilddata01=" + name});
    EXPECT_FALSE(migrate());
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_TRUE(QFileInfo(caseDir.file("data/keep.txt")).isFile());
    EXPECT_TRUE(migration.Log().last().startsWith("分散データのフォルダ名が正しくありません。"));
  }
}

TEST_F(ConvertFb30Migration, TextLeftAfterTheLastStatementIsAnError)
{
  prepare(generalSource, work);
  testfx::writeToolFile(work + "/SWKSEARCH.sql", {"INSERT INTO SWKSEARCH (REC, JYOKEN) VALUES (1, 'a');",
                                                  "INSERT INTO SWKSEARCH (REC, JYOKEN) VALUES (2, 'b'"});
  writeInfo({"datatype=1", "codetype=1"});
  testenv::ScopedMessageCollector boxes;
  EXPECT_FALSE(migrate());
  EXPECT_FALSE(QFileInfo::exists(target));
  const QStringList lines = migration.Log();
  EXPECT_EQ(lines.value(lines.size() - 2), "1件登録");
  EXPECT_TRUE(lines.last().startsWith("例外エラー: ")) << lines.last().toStdString();
  EXPECT_TRUE(lines.last().contains("SWKSEARCH.sql"));
}

TEST_F(ConvertFb30Migration, AJournalLineWithoutItsBalanceRowFailsTheForeignKey)
{
  // Without KAMOKU_SZ the journal lines' account combinations are missing.
  prepare(generalSource, work, {"KAMOKU_SZ"});
  writeInfo({"datatype=1", "codetype=1"});
  testenv::ScopedMessageCollector boxes;
  EXPECT_FALSE(migrate());
  EXPECT_FALSE(QFileInfo::exists(target));
  const QStringList lines = migration.Log();
  EXPECT_EQ(lines.value(lines.size() - 2), "制約の有効化要求");
  EXPECT_TRUE(lines.last().startsWith("例外エラー: "));
}

TEST_F(ConvertFb30Migration, PercentageOfTheLoad)
{
  QStringList script;
  for (int i = 1; i <= 4500; ++i)
    script << QStringLiteral("INSERT INTO SWKSEARCH (REC, JYOKEN) VALUES (%1, 'x');").arg(i);
  testfx::writeToolFile(work + "/SWKSEARCH.sql", script);
  writeInfo({"datatype=1", "codetype=1", "sqlcount=10000"});
  ProgressLog progress;
  ASSERT_TRUE(migrate(&progress)) << migration.Log().join("\n").toStdString();
  QStringList percents;
  for (const QString& t : progress.texts)
    if (t.contains("％"))
      percents << t;
  EXPECT_EQ(percents, QStringList({"データの移行中( 20％ )…", "データの移行中( 40％ )…", "データの移行中( 100％ )…"}));
  EXPECT_TRUE(migration.Log().contains("4500件登録"));
  EXPECT_EQ(valueIn(target + "/wqacc2.fdb", "SELECT COUNT(*) FROM SWKSEARCH"), "4500");
}

}  // namespace
