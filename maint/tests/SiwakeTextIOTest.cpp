// The journal text file: voucher texts and text cleaning, the export, the
// import (refused files, numbering, error lines and the log, one transaction
// per file) and an export → import round trip between two fixture companies.
#include "maint/SiwakeTextIO.h"
#include "maint/SiwakeWrite.h"
#include "maint/tests/JournalTestUtil.h"
#include "platform/Format.h"

namespace journaltest {
namespace {

QByteArray readAll(const QString& path)
{
  QFile f(path);
  f.open(QIODevice::ReadOnly);
  return f.readAll();
}

void writeFile(const QString& path, const QString& text)
{
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(text.toUtf8());
}

TEST(JournalText, VoucherTextsAndCleaning)
{
  struct Case {
    QString text;
    bool ok;
    int kind, number;
  };
  const Case cases[] = {
      {"入:7", true, 13, 7},  {"　振 :3", true, 12, 3}, {"出:12", true, 14, 12}, {"振:0", false, 0, 0},
      {"振:", false, 0, 0},   {"振3", false, 0, 0},     {"売:3", false, 0, 0},   {"0", false, 0, 0},
      {"振:-2", false, 0, 0}, {"振:x", false, 0, 0},
  };
  for (const Case& c : cases) {
    int kind = -1, number = -1;
    EXPECT_EQ(ParseDenpyouNo(c.text, kind, number), c.ok) << c.text.toStdString();
    EXPECT_EQ(kind, c.kind) << c.text.toStdString();
    EXPECT_EQ(number, c.number) << c.text.toStdString();
  }
  EXPECT_EQ(FormatDenpyouNo(12, 3), QStringLiteral("振:3"));
  EXPECT_EQ(FormatDenpyouNo(14, 1), QStringLiteral("出:1"));
  EXPECT_EQ(FormatDenpyouNo(9, 3), QStringLiteral("0"));
  EXPECT_EQ(FormatDenpyouNo(13, 0), QStringLiteral("0"));

  EXPECT_EQ(CleanExportText("a\t\"b\"\r\nc'"), QStringLiteral("a'b'c'"));
  EXPECT_EQ(CleanImportText("a\t'b'\r\nc\""), QStringLiteral("a\"b\"c\""));

  TSiwakeTextIO io;
  io.SetImportColumns();
  EXPECT_EQ(io.ImportColumns().ITEMCOUNT, 30);
  EXPECT_EQ(io.ImportColumns().DENPYOU_NO, 27);
  io.SetGassanIO(true);
  io.SetExportColumns();
  EXPECT_EQ(io.ExportColumns().ITEMCOUNT, 41);
  EXPECT_EQ(io.ExportColumns().R_BNAME, 36);
  EXPECT_EQ(io.ExportColumns().R_SIKIN, 37);
  EXPECT_TRUE(io.WriteLock());
  EXPECT_TRUE(io.WriteBom());
}

class SiwakeTextIOTest : public JournalTest {
 protected:
  // One journal line of 30 columns (branch 01, cash against capital).
  static QString line(int group, const QString& text, const QString& voucher = "0", const QString& scode = "01",
                      const QString& debit = "111", qint64 amount = 1000)
  {
    QStringList c{"2024/06/10",
                  "0",
                  QString::number(group),
                  "0",
                  scode,
                  "",
                  debit,
                  " ",
                  "",
                  "0",
                  "",
                  "411",
                  " ",
                  "",
                  "0",
                  QString::number(amount),
                  "0",
                  "0",
                  "0",
                  "0",
                  "0",
                  "\"" + text + "\"",
                  "\"\"",
                  "0",
                  "0",
                  "\"\"",
                  "\"\"",
                  "\"" + voucher + "\"",
                  "",
                  "2024/06/10"};
    return c.join(QLatin1Char('\t'));
  }
  QString file(const QString& name, const QStringList& lines)
  {
    const QString path = tmp.file(name);
    writeFile(path, AccInf.SHOUGOU + "\r\n" + lines.join("\r\n") + "\r\n");
    return path;
  }
  void prepare(TSiwakeTextIO& io)
  {
    io.SetIBTransaction(&tr());
    io.SetSCODE(QStringLiteral("01"));
    io.SetSeparator(QStringLiteral("\t"));
  }
  QString emptyCompany(const QString& name, CompanyKind kind = CompanyKind::General)
  {
    const QString folder = tmp.file(name);
    testfx::makeCompanyDb(folder, kind, false);
    return folder;
  }
};

TEST_F(SiwakeTextIOTest, RefusedFilesWriteNothing)
{
  open(emptyCompany("c"));
  const int before = entries();
  {
    const QString locked = file("locked.txt", {line(1, "a"), ".Lock"});
    TSiwakeTextIO io;
    prepare(io);
    EXPECT_FALSE(io.fnSiwakeInput(locked, "\t"));
    EXPECT_TRUE(io.Locked());
    EXPECT_EQ(entries(), before);

    TSiwakeTextIO again;
    prepare(again);
    again.SetWriteLock(false);
    EXPECT_TRUE(again.fnSiwakeInput(locked, "\t"));
    EXPECT_EQ(again.OKCount(), 1);
    EXPECT_EQ(QString::fromUtf8(readAll(locked)).count(".Lock"), 1);
  }
  {
    const QString path = tmp.file("foreign.txt");
    writeFile(path, "//comment\r\n別の会社\r\n" + line(1, "a") + "\r\n");
    TSiwakeTextIO io;
    prepare(io);
    EXPECT_FALSE(io.fnSiwakeInput(path, "\t"));
    EXPECT_FALSE(io.ShougouOK());
  }
  {
    const QString path = tmp.file("names.txt");
    writeFile(path, "//x\r\n" + AccInf.SHOUGOU + "\r\n//y\r\n\r\n");
    TSiwakeTextIO io;
    prepare(io);
    EXPECT_TRUE(io.fnSiwakeInput(path, "\t"));
    EXPECT_EQ(io.OKCount() + io.ErrCount(), 0);
    EXPECT_FALSE(QString::fromUtf8(readAll(path)).contains(".Lock"));
  }
  EXPECT_EQ(entries(), before + 1);
}

TEST_F(SiwakeTextIOTest, GroupAndVoucherNumbersAreMappedPerFile)
{
  open(emptyCompany("c"));
  const QString path =
      file("groups.txt", {line(5, "a", "振:3"), line(5, "b", "振:3"), line(9, "c", "振:4"), line(0, "d", "入:3")});
  TSiwakeTextIO io;
  prepare(io);
  ASSERT_TRUE(io.fnSiwakeInput(path, "\t"));
  EXPECT_EQ(io.OKCount(), 4) << io.LogList().join("\n").toStdString();
  EXPECT_EQ(column("SELECT TEKTEXT, DNUM, LINKKUB, LINKREC FROM SIWAKE WHERE TAISHAKU=1 ORDER BY SWKREC"),
            (QStringList{"a|1|12|1", "b|1|12|1", "c|2|12|2", "d|0|13|1"}));
  EXPECT_TRUE(QString::fromUtf8(readAll(path)).endsWith("\r\n.Lock\r\n"));
}

TEST_F(SiwakeTextIOTest, BadLinesAreListedLoggedAndSkipped)
{
  open(emptyCompany("c"));
  const QString shortLine = line(1, "short").section('\t', 0, 28);
  const QString longLine = line(1, "long") + "\tx";
  const QStringList lines{shortLine, line(1, "ok"), longLine, line(2, "branch", "0", "99"),
                          line(3, "nokamoku", "0", "01", "998")};
  const QString path = file("bad.txt", lines);
  TSiwakeTextIO io;
  prepare(io);
  io.SetLogTxtWrite(true);
  ASSERT_TRUE(io.fnSiwakeInput(path, "\t"));
  EXPECT_EQ(io.OKCount(), 1);
  EXPECT_EQ(io.ErrCount(), 4);
  const QStringList& list = io.LogList();
  ASSERT_EQ(list.size(), 8);
  EXPECT_EQ(list[0], QStringLiteral("セパレーター(タブ)で区切られた項目(ﾌｨｰﾙﾄﾞ)が足りません。"));
  EXPECT_EQ(list[1], "// " + shortLine.trimmed());  // lines are taken trimmed
  EXPECT_EQ(list[2], QStringLiteral("セパレーター(タブ)で区切られた項目(ﾌｨｰﾙﾄﾞ)が多いです。"));
  EXPECT_EQ(list[4],
            QStringLiteral("// 本・支店コードが登録されていない または オペレータ権限外の本・支店の仕訳です。"));
  EXPECT_EQ(list[5], lines[3]);
  EXPECT_EQ(list[6], QStringLiteral("// 借方の科目コードの設定が不正です。"));

  const QByteArray logBytes = readAll(io.LogTxtPath());
  const QString log = QString::fromUtf8(logBytes);
  EXPECT_TRUE(io.LogTxtPath().startsWith(QFileInfo(path).absolutePath() + "/importlog"));
  EXPECT_TRUE(logBytes.startsWith("\xEF\xBB\xBF"));
  EXPECT_TRUE(log.contains(path + " 1行目 W-1:")) << log.toStdString();
  EXPECT_TRUE(log.contains(path + " 4行目 W-3:"));
  EXPECT_TRUE(log.contains(path + " 5行目 E-11:借方の科目コードの設定が不正です。"));

  // The short form of the list.
  TSiwakeTextIO brief;
  prepare(brief);
  brief.SetWriteLock(false);
  brief.SetLogFormatType(1);
  ASSERT_TRUE(brief.fnSiwakeInput(path, "\t"));
  EXPECT_EQ(brief.LogList().value(0),
            QStringLiteral("(ファイル形式) セパレーター(タブ)で区切られた項目(ﾌｨｰﾙﾄﾞ)が足りません。"));
  EXPECT_EQ(
      brief.LogList().value(3),
      QStringLiteral("(日付:2024/06/10 科目:998/411 摘要:nokamoku 金額:1000) 借方の科目コードの設定が不正です。"));
}

TEST_F(SiwakeTextIOTest, FailedImportLeavesNothingAndRunsAgainOnce)
{
  open(emptyCompany("c"));
  exec("CREATE EXCEPTION E_STOP 'stopped'");
  exec("CREATE TRIGGER T_STOP FOR SIWAKE BEFORE INSERT AS BEGIN IF (NEW.TEKTEXT = 'FAIL') THEN EXCEPTION E_STOP; END");
  QStringList lines;
  for (int i = 1; i <= 2000; ++i)
    lines << line(i, i == 1500 ? QStringLiteral("FAIL") : QStringLiteral("L%1").arg(i));
  const QString path = file("big.txt", lines);

  {
    TSiwakeTextIO io;
    prepare(io);
    EXPECT_THROW(io.fnSiwakeInput(path, "\t"), db::DbError);
    EXPECT_TRUE(io.LogList().last().startsWith("// [IB例外] Code=")) << io.LogList().last().toStdString();
  }
  if (tr().inTransaction())
    tr().commit();
  EXPECT_EQ(entries(), 0);
  EXPECT_FALSE(QString::fromUtf8(readAll(path)).contains(".Lock"));

  exec("DROP TRIGGER T_STOP");
  {
    TSiwakeTextIO io;
    prepare(io);
    ASSERT_TRUE(io.fnSiwakeInput(path, "\t"));
    EXPECT_EQ(io.OKCount(), 2000);
  }
  EXPECT_EQ(entries(), 2000);
  EXPECT_EQ(count("SELECT COUNT(DISTINCT DNUM) FROM SIWAKE"), 2000);
  // The file now carries the marker: a third run stores nothing.
  TSiwakeTextIO io;
  prepare(io);
  EXPECT_FALSE(io.fnSiwakeInput(path, "\t"));
  EXPECT_EQ(entries(), 2000);
}

TEST_F(SiwakeTextIOTest, ExportWritesTheLayout)
{
  open(emptyCompany("c"));
  TSiwakeWrite w;
  w.SetIBTransaction(&tr());
  tr().startIfNeeded();
  TSWKREC e;
  TSiwakeWrite::InitSiwakeRec(e, 0, day(2024, 6, 10));
  e.SCODE = "01";
  e.LK.KCODE = "111";
  e.LK.HCODE = " ";
  e.LK.KNAME = "現金";
  e.RK.KCODE = "411";
  e.RK.HCODE = " ";
  e.KINGAKU = Currency::fromInt(1000);
  e.TEKTEXT = "元入\t\"金\"\r\n";
  e.LINKKUB = 12;
  e.LINKREC = 3;
  ASSERT_GT(w.PutSiwake(e), 0);
  tr().commit();
  const QStringList sql{"SELECT * FROM SIWAKE_VIEW", "WHERE TAISHAKU=1 AND DELFLG=0", "ORDER BY SWKREC"};

  TSiwakeTextIO io;
  io.SetIBTransaction(&tr());
  const QString path = tmp.file("out.txt");
  ASSERT_TRUE(io.fnSiwakeOutput(path, ",", sql));
  EXPECT_EQ(io.OKCount(), 1);
  const QByteArray bytes = readAll(path);
  ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
  const QStringList lines = QString::fromUtf8(bytes.mid(3)).split("\r\n");
  ASSERT_EQ(lines.size(), 3);
  EXPECT_EQ(lines[0], AccInf.SHOUGOU);
  const QStringList cols = lines[1].split('\t');
  ASSERT_EQ(cols.size(), 30);
  EXPECT_EQ(cols[0], "2024/06/10");
  EXPECT_EQ(cols[6], "111");
  EXPECT_EQ(cols[21], QStringLiteral("\"元入'金'\""));
  EXPECT_EQ(cols[27], QStringLiteral("\"振:3\""));
  EXPECT_EQ(cols[28], "");
  EXPECT_EQ(cols[29].size(), 10);
  EXPECT_FALSE(tr().inTransaction());

  io.SetGassanIO(true);
  ASSERT_TRUE(io.fnSiwakeOutput(path, ",", sql));
  const QStringList g = QString::fromUtf8(readAll(path).mid(3)).split("\r\n")[1].split('\t');
  ASSERT_EQ(g.size(), 41);
  EXPECT_EQ(g[29].size(), 19);
  EXPECT_EQ(g[30], QStringLiteral("\"現金\""));
  EXPECT_EQ(g[38] + g[39] + g[40], "\"\"\"\"\"\"");

  // A query that delivers nothing: the mark and the name only.
  ASSERT_TRUE(io.fnSiwakeOutput(path, ",", {"SELECT * FROM SIWAKE_VIEW WHERE REC < 0"}));
  EXPECT_EQ(readAll(path), "\xEF\xBB\xBF" + AccInf.SHOUGOU.toUtf8() + "\r\n");
  // A failing query leaves the earlier file as it was.
  EXPECT_THROW(io.fnSiwakeOutput(path, ",", {"SELECT NOPE FROM SIWAKE_VIEW"}), db::DbError);
  EXPECT_EQ(readAll(path), "\xEF\xBB\xBF" + AccInf.SHOUGOU.toUtf8() + "\r\n");
}

// Export from the sample company with a year of journal lines, import into a
// fresh company of the same name and masters, compare what the file carries;
// then carry that company's journal on to a third one through the
// consolidation variant and compare every column the entries were stored
// with.
class RoundTrip : public SiwakeTextIOTest, public ::testing::WithParamInterface<int> {};

TEST_P(RoundTrip, BetweenCompanies)
{
  const int dataSet = GetParam();
  const CompanyKind kind = dataSet == 0 ? CompanyKind::General : CompanyKind::Medical;
  const QString carried = QStringLiteral(
      "SELECT HIZUKE, KESSAN, SCODE, USERCODE, TRIM(HCODE), TRIM(BCODE), R_USERCODE, TRIM(R_HCODE), TRIM(R_BCODE), "
      "KINGAKU, TEKTEXT FROM SIWAKE_VIEW WHERE TAISHAKU=1 AND DELFLG=0 "
      "ORDER BY 1, 3, 11, 10, 4, 7, 5, 6, 8, 9");
  const QString stored = QStringLiteral(
      "SELECT HIZUKE, KESSAN, MNUM, SCODE, KGROUP, USERCODE, HCODE, BCODE, KNAME, HNAME, BNAME, TAXCODE, TAXUH, SIKIN, "
      "R_KGROUP, R_USERCODE, R_HCODE, R_BCODE, R_KNAME, R_HNAME, R_BNAME, R_TAXCODE, R_TAXUH, R_SIKIN, KINGAKU, "
      "ZEIGAKU, NUK, ZEI, R_NUK, R_ZEI, TAXCALCU, OLDRATE, TEKTEXT, TORTEXT, COMMENT, AO_COMMENT, FUSEN1, FUSEN2, "
      "LINKKUB FROM SIWAKE_VIEW WHERE TAISHAKU=1 AND DELFLG=0 "
      "ORDER BY HIZUKE, SCODE, TEKTEXT, KINGAKU, USERCODE, R_USERCODE, HCODE, BCODE, R_HCODE, R_BCODE");
  const QString exportSql = QStringLiteral("SELECT * FROM SIWAKE_VIEW WHERE TAISHAKU=1 AND DELFLG=0");

  openDataSet(dataSet);
  SystemDef.OPSCODE = sample::branchCodes(kind).value(0);
  const QStringList source = column(carried);
  const QStringList keys = column("SELECT SCODE, BCODE, KCODE, HCODE FROM KAMOKU_SZ");
  ASSERT_GT(source.size(), 50);
  auto carry = [&](const QString& name, bool gassan) {
    TSiwakeTextIO out;
    out.SetIBTransaction(&tr());
    out.SetGassanIO(gassan);
    const QString path = tmp.file(name);
    EXPECT_TRUE(out.fnSiwakeOutput(path, "\t", {exportSql}));
    const int written = out.OKCount();
    open(emptyCompany(name + ".data", kind));
    SystemDef.OPSCODE = sample::branchCodes(kind).value(0);
    for (const QString& k : keys) {
      const QStringList p = k.split('|');
      exec(QStringLiteral("UPDATE OR INSERT INTO KAMOKU_SZ (SCODE, BCODE, KCODE, HCODE) VALUES ('%1', '%2', '%3', "
                          "'%4') MATCHING (SCODE, BCODE, KCODE, HCODE)")
               .arg(p[0], p[1], p[2], p[3]));
    }
    TSiwakeTextIO in;
    prepare(in);
    in.SetHokaSitenGet(true);
    in.SetGassanIO(gassan);
    if (gassan) {
      in.SetWriteLock(false);
      in.SetLogFormatType(1);
    }
    EXPECT_TRUE(in.fnSiwakeInput(path, "\t"));
    EXPECT_EQ(in.ErrCount(), 0) << in.LogList().join("\n").toStdString();
    EXPECT_EQ(in.OKCount(), written);
  };
  carry("journal.txt", false);
  EXPECT_EQ(column(carried), source);
  const QStringList first = column(stored);
  carry("GassanSwk01.txt", true);
  EXPECT_EQ(column(stored), first);
}

INSTANTIATE_TEST_SUITE_P(Kinds, RoundTrip, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& i) { return i.param == 0 ? "general" : "medical"; });

}  // namespace
}  // namespace journaltest
