// The print colours and options of printed forms and the colour dialog's
// custom colours, kept per operator in a fixture system database.
#include "common/PrintStyleStore.h"
#include "tests/support/DataModuleEnv.h"

namespace {

using namespace fixtures;

const int kMe = sample::loginCode(sample::OperatorCode);

class PrintStyleStoreTest : public testenv::SharedDataRootTest<PrintStyleStoreTest> {
 protected:
  void SetUp() override
  {
    setUpDataModule({.root = root->root, .logFile = tmp->file("log")});
    exec(QStringLiteral("DELETE FROM STYLECOLOR"));
    SystemDef.LineColor1 = 0x7900;
    SystemDef.LineColor2 = 0x7900;
    SystemDef.NetColor1 = 0xD7FFD7;
    SystemDef.NetColor2 = 0xD7FFD7;
  }
  QString row(const QString& key)
  {
    return value(QStringLiteral("SELECT LINECOLOR1||','||LINECOLOR2||','||LINECOLOR3||','||LINECOLOR4||','||"
                                "LINECOLOR5||','||NETCOLOR1||','||NETCOLOR2||'|'||SSTR FROM STYLECOLOR "
                                "WHERE STYLENAME='%1'")
                     .arg(key));
  }
  testenv::ScopedMessageCollector boxes;
};

TEST(PrintStyleKeys, KeyAndStartValues)
{
  EXPECT_EQ(TPrintStyleStore::fnKeyName(QStringLiteral(" DataSentakuList")), QStringLiteral("020- DATASENTAKULIST"));
  EXPECT_EQ(TPrintStyleStore::fnKeyName(QString(60, QLatin1Char('a'))), QStringLiteral("020-") + QString(36, 'A'));
  pcAccRecordReset();
  SystemDef.LineColor1 = 1;
  SystemDef.LineColor2 = 2;
  SystemDef.NetColor1 = 3;
  SystemDef.NetColor2 = 4;
  TDefaultPrintRec rec;
  rec.PrintName = QStringLiteral("x");
  rec.StartPage = 9;
  rec.Sonota = QStringLiteral("C010=1");
  pcInitDefaultPrintRec(rec);
  EXPECT_EQ(rec.PrintName, QString());
  EXPECT_EQ(rec.ColorKbn, 0);
  EXPECT_EQ(rec.StartPage, 1);
  EXPECT_FALSE(rec.Both);
  EXPECT_EQ(rec.PrintFontType, 0);
  EXPECT_EQ(rec.TitleFontSize, 16);
  EXPECT_EQ(rec.HeaderFontSize, 9);
  EXPECT_EQ(rec.DetailFontSize, 10);
  EXPECT_EQ(QList<int>({rec.LineColor1, rec.LineColor2, rec.NetColor1, rec.NetColor2}), QList<int>({1, 2, 3, 4}));
  EXPECT_EQ(rec.Sonota, QString());
  pcAccRecordReset();
}

TEST(CustomColorsText, ReadAndWritten)
{
  TCustomColors white;
  white.fill(clWhite);
  EXPECT_EQ(fnCustomColorsFromText(QString()), white);

  TCustomColors mixed = white;
  mixed[0] = clRed;  // 0x0000FF: blue-green-red, red in the low byte
  mixed[1] = 0x123456;
  mixed[15] = clBlack;
  const QString text = fnCustomColorsToText(mixed);
  EXPECT_TRUE(text.startsWith(QStringLiteral("ColorA=0000FF\r\nColorB=123456\r\nColorC=FFFFFF\r\n")));
  EXPECT_TRUE(text.endsWith(QStringLiteral("ColorO=FFFFFF\r\nColorP=000000\r\n")));
  EXPECT_EQ(text.count(QStringLiteral("\r\n")), 16);
  EXPECT_EQ(fnCustomColorsFromText(text), mixed);

  // Names without regard to case, short hexadecimal values; a value that is
  // not a colour leaves white.
  struct Case {
    const char* text;
    int index;
    TColor colour;
  } cases[] = {
      {"colorc=ff", 2, 0xFF},         {"ColorD=abcdef", 3, 0xABCDEF}, {"ColorE=XYZ", 4, clWhite},
      {"ColorF=1234567", 5, clWhite}, {"ColorG=", 6, clWhite},        {"ColorH=-1", 7, clWhite},
      {"ColorI=0\nColorI=FF", 8, 0},  // the first line of a name counts
  };
  for (const Case& c : cases) {
    const TCustomColors read = fnCustomColorsFromText(QString::fromLatin1(c.text));
    EXPECT_EQ(read[std::size_t(c.index)], c.colour) << c.text;
  }
}

TEST_F(PrintStyleStoreTest, ColoursOfTheDefaultsStoredAsUnset)
{
  TPrintStyleStore store;
  TDefaultPrintRec rec;
  pcInitDefaultPrintRec(rec);
  rec.PrintName = QStringLiteral("TestList");
  rec.LineColor2 = 0x0000FF;
  rec.NetColor2 = 0x00FFFF;
  rec.Sonota = QStringLiteral("C010=1\r\n");
  ASSERT_TRUE(store.Write(rec));
  EXPECT_EQ(row(QStringLiteral("020-TESTLIST")), QStringLiteral("-1,255,-1,-1,-1,-1,65535|C010=1\r\n"));
  // Written again: still one row, the later values.
  rec.LineColor2 = SystemDef.LineColor2;
  rec.Sonota = QStringLiteral("C020=1\r\n");
  ASSERT_TRUE(store.Write(rec));
  EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM STYLECOLOR")), QStringLiteral("1"));
  EXPECT_EQ(row(QStringLiteral("020-TESTLIST")), QStringLiteral("-1,-1,-1,-1,-1,-1,65535|C020=1\r\n"));

  // A later change of the defaults applies to the form's unset colours.
  SystemDef.LineColor1 = 0x111111;
  SystemDef.NetColor2 = 0x222222;
  TDefaultPrintRec read;
  pcInitDefaultPrintRec(read);
  read.PrintName = QStringLiteral("testlist");
  ASSERT_TRUE(store.Read(read));
  EXPECT_EQ(read.LineColor1, 0x111111);
  EXPECT_EQ(read.LineColor2, 0x7900);
  EXPECT_EQ(read.NetColor2, 0x00FFFF);
  EXPECT_EQ(read.Sonota, QStringLiteral("C020=1\r\n"));

  // Another form and another operator read nothing; the record stays.
  TDefaultPrintRec other;
  pcInitDefaultPrintRec(other);
  other.PrintName = QStringLiteral("Other");
  other.Sonota = QStringLiteral("keep");
  ASSERT_TRUE(store.Read(other));
  EXPECT_EQ(other.Sonota, QStringLiteral("keep"));
  TPrintStyleStore clerk;
  clerk.SetOPCODE(sample::loginCode(sample::ClerkCode));
  read.Sonota = QStringLiteral("keep");
  ASSERT_TRUE(clerk.Read(read));
  EXPECT_EQ(read.Sonota, QStringLiteral("keep"));
  EXPECT_FALSE(dm->IBTransactionDEF.inTransaction());
  EXPECT_TRUE(boxes.texts.isEmpty()) << boxes.texts.join(QLatin1Char('\n')).toStdString();
}

TEST_F(PrintStyleStoreTest, FailedWriteReportedAndNothingStored)
{
  exec(QStringLiteral("CREATE EXCEPTION E_PRINTSTYLE_TEST 'refused'"));
  exec(QStringLiteral(
      "CREATE TRIGGER T_PRINTSTYLE_TEST FOR STYLECOLOR BEFORE INSERT AS BEGIN EXCEPTION E_PRINTSTYLE_TEST; END"));
  TPrintStyleStore store;
  TDefaultPrintRec rec;
  pcInitDefaultPrintRec(rec);
  rec.PrintName = QStringLiteral("TestList");
  EXPECT_FALSE(store.Write(rec));
  exec(QStringLiteral("DROP TRIGGER T_PRINTSTYLE_TEST"));
  exec(QStringLiteral("DROP EXCEPTION E_PRINTSTYLE_TEST"));
  EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM STYLECOLOR")), QStringLiteral("0"));
  EXPECT_FALSE(dm->IBTransactionDEF.inTransaction());
  ASSERT_EQ(boxes.texts.size(), 1);
  EXPECT_TRUE(boxes.texts[0].contains(QStringLiteral(u"ユーザー別帳票色情報の更新に失敗しました。")))
      << boxes.texts[0].toStdString();
}

TEST_F(PrintStyleStoreTest, CustomColoursPerOperator)
{
  TCustomColors white;
  white.fill(clWhite);
  EXPECT_EQ(fnReadCustomColors(kMe), white);
  TCustomColors mine = white;
  mine[3] = 0x00FF00;
  pcStoreCustomColors(kMe, mine);
  EXPECT_EQ(fnReadCustomColors(kMe), mine);
  EXPECT_EQ(fnReadCustomColors(sample::loginCode(sample::ClerkCode)), white);
  EXPECT_EQ(value(QStringLiteral("SELECT SSTR FROM STYLECOLOR WHERE STYLENAME='Pallet_CustomColor'")),
            fnCustomColorsToText(mine));
}

}  // namespace
