// Typed settings, account look-ups and the open-process history of the base
// form, on a fixture company database.
#include <gtest/gtest.h>

#include <QApplication>

#include "common/AccDateText.h"
#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "tests/support/Fixtures.h"
#include "tests/support/MessageCollector.h"
#include "tests/support/TempDir.h"
#include "ui/SDI.h"

namespace {

class TSettingsBox : public TBSDI {
 public:
  explicit TSettingsBox(TFormBorderStyle AStyle = bsDialog) : TBSDI(nullptr, AStyle)
  {
    setObjectName(QStringLiteral("SettingsBox"));
    setWindowTitle(QStringLiteral("設定テスト"));
    FormCreate();
    InitFlg = true;
  }
};

class SDISettingsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite()
  {
    dir = new TestTempDir;
    path = testfx::makeCompanyDb(dir->path() + QStringLiteral("/DATA/1"), fixtures::CompanyKind::General);
  }
  static void TearDownTestSuite()
  {
    delete dir;
    dir = nullptr;
  }
  void SetUp() override
  {
    dm = std::make_unique<TDM>();
    dm->IBDatabaseDAT.setDatabaseName(path);
    dm->IBDatabaseDAT.setUser(QStringLiteral("ABACOR"));
    dm->IBDatabaseDAT.setPassword(QStringLiteral("dormil"));
    dm->IBDatabaseDAT.connect();
  }
  void TearDown() override
  {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    dm->IBDatabaseDAT.disconnect();
    dm.reset();
  }
  // One column of one row, read in a transaction of its own.
  QString select(const QString& ASql)
  {
    db::Transaction tr(dm->IBDatabaseDAT);
    tr.start();
    db::Query q(tr, ASql);
    q.open();
    const QString v = q.eof()               ? QStringLiteral("<none>")
                      : q.field(0).isNull() ? QStringLiteral("<null>")
                                            : q.field(0).asString();
    q.close();
    tr.commit();
    return v;
  }
  void exec(const QString& ASql)
  {
    db::Transaction tr(dm->IBDatabaseDAT);
    tr.start();
    db::Query q(tr, ASql);
    q.exec();
    tr.commit();
  }

  static TestTempDir* dir;
  static QString path;
  std::unique_ptr<TDM> dm;
};
TestTempDir* SDISettingsTest::dir = nullptr;
QString SDISettingsTest::path;

TEST_F(SDISettingsTest, AccRegReadsCreateWithTheDefaultAndConvertByTheCallersWord)
{
  TSettingsBox box;
  box.SetManualFree(true);
  struct Case {
    const char *code, *type, *def;
    QVariant want;
  } cases[] = {
      {"INT1", "整数", "5", QVariant(qlonglong(5))},
      {"TXT1", "文字", "あいう", QVariant(QStringLiteral("あいう"))},
      {"BOOL1", "論理", "true", QVariant(true)},  // any letter case
      {"BOOL2", "論理", "YES", QVariant(false)},
      {"REAL1", "実数", "1.5", QVariant(QStringLiteral("Data Type Error"))},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    const QString code = QString::fromUtf8(c.code);
    for (int pass = 0; pass < 2; ++pass) {  // creates, then reads what it created
      const QVariant got =
          box.fnGetAccReg(QStringLiteral("TEST"), code, QString::fromUtf8(c.type), QString::fromUtf8(c.def));
      EXPECT_EQ(got.toString(), c.want.toString());
    }
    EXPECT_EQ(select(QStringLiteral("SELECT ATEXT FROM ACCREG WHERE AGROUP='TEST' AND ACODE='%1'").arg(code)),
              QString::fromUtf8(c.def));
    EXPECT_EQ(select(QStringLiteral("SELECT ATYPE FROM ACCREG WHERE AGROUP='TEST' AND ACODE='%1'").arg(code)),
              QString::fromUtf8(c.type));
  }
  EXPECT_FALSE(box.IBTransactionDAT()->inTransaction());
}

TEST_F(SDISettingsTest, AccRegWritesUpdateOnlyExistingRows)
{
  TSettingsBox box;
  box.SetManualFree(true);
  box.fnGetAccReg(QStringLiteral("W"), QStringLiteral("DATE1"), QStringLiteral("日付"), QStringLiteral("2020/01/01"));
  box.fnGetAccReg(QStringLiteral("W"), QStringLiteral("DATE2"), QStringLiteral("日付"), QStringLiteral("2020/01/01"));
  box.fnGetAccReg(QStringLiteral("W"), QStringLiteral("BOOL"), QStringLiteral("論理"), QStringLiteral("FALSE"));
  box.pcPutAccReg(QStringLiteral("W"), QStringLiteral("DATE1"), QStringLiteral("日付"), EncodeDate(2024, 3, 9));
  box.pcPutAccReg(QStringLiteral("W"), QStringLiteral("DATE2"), QStringLiteral("日付"), 0.0);
  box.pcPutAccReg(QStringLiteral("W"), QStringLiteral("BOOL"), QStringLiteral("論理"), true);
  box.pcPutAccReg(QStringLiteral("W"), QStringLiteral("MISSING"), QStringLiteral("整数"), 3);
  EXPECT_EQ(select(QStringLiteral("SELECT ATEXT FROM ACCREG WHERE AGROUP='W' AND ACODE='DATE1'")),
            QStringLiteral("2024/03/09"));
  EXPECT_EQ(select(QStringLiteral("SELECT ATEXT FROM ACCREG WHERE AGROUP='W' AND ACODE='DATE2'")), QString());
  EXPECT_EQ(select(QStringLiteral("SELECT ATEXT FROM ACCREG WHERE AGROUP='W' AND ACODE='BOOL'")),
            QStringLiteral("TRUE"));
  EXPECT_EQ(select(QStringLiteral("SELECT ATEXT FROM ACCREG WHERE AGROUP='W' AND ACODE='MISSING'")),
            QStringLiteral("<none>"));
  EXPECT_EQ(box.fnGetAccReg(QStringLiteral("W"), QStringLiteral("DATE1"), QStringLiteral("日付"), QString()).toDouble(),
            EncodeDate(2024, 3, 9));
}

TEST_F(SDISettingsTest, RegGroupCacheAnswersWithoutTheDatabase)
{
  exec(QStringLiteral("INSERT INTO ACCREG(AGROUP,ACODE,ATYPE,ATEXT) VALUES('CACHED','A','整数','1')"));
  exec(QStringLiteral("INSERT INTO ACCREG(AGROUP,ACODE,ATYPE,ATEXT) VALUES('CACHED','R','実数','2.5')"));
  TSettingsBox box;
  box.SetManualFree(true);
  box.SetRegGroup(QStringLiteral("CACHED"));
  // Changed behind the form's back: the cache still answers the old value.
  exec(QStringLiteral("UPDATE ACCREG SET ATEXT='9' WHERE AGROUP='CACHED' AND ACODE='A'"));
  exec(QStringLiteral("INSERT INTO ACCREG(AGROUP,ACODE,ATYPE,ATEXT) VALUES('CACHED','B','整数','7')"));
  EXPECT_EQ(box.fnGetAccReg(QStringLiteral("CACHED"), QStringLiteral("A"), QStringLiteral("整数"), QStringLiteral("0"))
                .toInt(),
            1);
  // A code created later comes from the database.
  EXPECT_EQ(box.fnGetAccReg(QStringLiteral("CACHED"), QStringLiteral("B"), QStringLiteral("整数"), QStringLiteral("0"))
                .toInt(),
            7);
  // Unknown word from the cache: an empty value.
  EXPECT_FALSE(
      box.fnGetAccReg(QStringLiteral("CACHED"), QStringLiteral("R"), QStringLiteral("実数"), QString()).isValid());
  box.SetRegGroup(QString());
  EXPECT_EQ(box.fnGetAccReg(QStringLiteral("CACHED"), QStringLiteral("A"), QStringLiteral("整数"), QStringLiteral("0"))
                .toInt(),
            9);
}

TEST_F(SDISettingsTest, BranchSettingsAndAccountNames)
{
  TSettingsBox box;
  box.SetManualFree(true);
  EXPECT_EQ(
      box.fnGetSisetuItem(QStringLiteral("001"), QStringLiteral("G"), QStringLiteral("N"), QStringLiteral("整数"), 4)
          .toInt(),
      4);
  box.pcPutSisetuItem(QStringLiteral("001"), QStringLiteral("G"), QStringLiteral("N"), QStringLiteral("整数"), 12);
  EXPECT_EQ(
      box.fnGetSisetuItem(QStringLiteral("001"), QStringLiteral("G"), QStringLiteral("N"), QStringLiteral("整数"), 4)
          .toInt(),
      12);
  EXPECT_EQ(
      box.fnGetSisetuItem(QStringLiteral("002"), QStringLiteral("G"), QStringLiteral("N"), QStringLiteral("整数"), 4)
          .toInt(),
      4);

  EXPECT_EQ(box.fnGetSysKCODE(QStringLiteral("現金")), QStringLiteral("1101"));
  EXPECT_EQ(box.fnGetSysKNAME(QStringLiteral("9901")), QStringLiteral("諸口"));
  EXPECT_EQ(box.fnGetSysKCODE(QStringLiteral("ない科目")), QString());
  EXPECT_EQ(box.fnGetSysKNAME(QStringLiteral("0000")), QString());
}

TEST_F(SDISettingsTest, OpenProcessHistoryWhileTheFormIsOpen)
{
  const int keepOp = SystemDef.OPCODE;
  SystemDef.OPCODE = 21;
  SystemDef.PCNAME = QStringLiteral("TESTPC");
  auto* box = new TSettingsBox(bsSizeable);  // HistAdd on
  ASSERT_TRUE(box->HistAdd);
  box->show();
  EXPECT_EQ(select(QStringLiteral("SELECT PCNAME FROM OPINF WHERE OPCODE=21 AND JOBNAME='設定テスト'")),
            QStringLiteral("TESTPC"));
  box->hide();
  box->show();  // no second row, no error
  box->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(select(QStringLiteral("SELECT COUNT(*) FROM OPINF WHERE OPCODE=21")), QStringLiteral("0"));
  SystemDef.OPCODE = keepOp;
}

// A form that is not a dialog reads the company's accounting information
// again at its first show; a dialog-style form leaves it as it is.
TEST_F(SDISettingsTest, AccountingInformationIsReadAgainAtTheFirstShow)
{
  const QString shougou = select(QStringLiteral("SELECT SHOUGOU FROM ACCDEF1"));
  ASSERT_NE(shougou, QStringLiteral("<none>"));
  for (const TFormBorderStyle style : {bsSizeable, bsDialog}) {
    SCOPED_TRACE(style == bsDialog ? "dialog" : "sizeable");
    AccInf.SHOUGOU = QStringLiteral("古い商号");
    auto* box = new TSettingsBox(style);
    EXPECT_EQ(box->AccDefRead, style != bsDialog);
    box->HistAdd = false;
    box->show();
    EXPECT_EQ(AccInf.SHOUGOU, style == bsDialog ? QStringLiteral("古い商号") : shougou);
    // Only once per form.
    AccInf.SHOUGOU = QStringLiteral("古い商号");
    box->hide();
    box->show();
    EXPECT_EQ(AccInf.SHOUGOU, QStringLiteral("古い商号"));
    box->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

TEST_F(SDISettingsTest, AuditClosedDatesAreRefusedWithTheOperationsWarning)
{
  const TACCINF keepAcc = AccInf;
  const bool keepAccount = SystemDef.OPAccount;
  const int keepLevel = SystemDef.OPLevel;
  AccInf.KANSA_DATE = EncodeDate(2024, 4, 30);
  AccInf.KANSA_FIXDATE = EncodeDate(2024, 3, 31);
  AccInf.KANSA_LOCK = 1;
  AccInf.KANSA_FIXKessanSiwake = false;
  SystemDef.OPAccount = false;
  SystemDef.OPLevel = 1;
  const QString fix = fnDateToWarekiText(QStringLiteral("yyyy/mm/dd"), 2, AccInf.KANSA_FIXDATE);
  ASSERT_FALSE(fix.isEmpty());
  TSettingsBox box;
  box.SetManualFree(true);
  struct Case {
    int procType;
    QString text;  // empty: no box
  } cases[] = {
      {0, fix + QStringLiteral("以前の日付は監査処理が終了しているため、入力が禁止されています。")},
      {1, QStringLiteral("この仕訳は監査処理が終了しているため、修正は禁止されています。")},
      {2, QStringLiteral("この仕訳は監査処理が終了しているため、削除は禁止されています。")},
      {3, QStringLiteral("この仕訳は監査処理が終了しているため、削除取消は禁止されています。")},
      {4, fix + QStringLiteral("以前の日付は監査処理が終了しているため、転送が禁止されています。")},
      {5, fix + QStringLiteral("以前の日付は監査処理が終了しているため、削除は禁止されています。")},
      {6, fix + QStringLiteral("以前の日付は監査処理が終了しているため、作成が禁止されています。")},
      {7, QString()},
  };
  const TDateTime closed = EncodeDate(2024, 3, 1);
  const TDateTime open = EncodeDate(2024, 4, 1);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.procType);
    testenv::ScopedMessageCollector messages;
    EXPECT_EQ(box.IsKansaZumiHizuke(c.procType, closed, 0, 1), 1);
    EXPECT_EQ(messages.texts, c.text.isEmpty() ? QStringList() : QStringList{c.text});
    messages.texts.clear();
    EXPECT_EQ(box.IsKansaZumiHizuke(c.procType, closed, 0, 0), 1);
    EXPECT_EQ(box.IsKansaZumiHizuke(c.procType, open, 0, 1), 0);
    EXPECT_TRUE(messages.texts.isEmpty());
  }
  // A closing entry on the fixed date itself is still open.
  EXPECT_EQ(box.IsKansaZumiHizuke(0, AccInf.KANSA_FIXDATE, 1, 0), 0);
  EXPECT_EQ(box.IsKansaZumiHizuke(0, AccInf.KANSA_FIXDATE, 0, 0), 1);
  AccInf = keepAcc;
  SystemDef.OPAccount = keepAccount;
  SystemDef.OPLevel = keepLevel;
}

}  // namespace
