// The typed-value codec over the four stores, and the company settings
// routines against a real company database.
#include <QFile>

#include "DataModuleTestUtil.h"
#include "common/AccReg.h"
#include "common/TypedValue.h"
#include "platform/DateTime.h"

namespace dmtest {
namespace {

const TTypedStore kStores[] = {TTypedStore::AccReg, TTypedStore::MsdHoukoku, TTypedStore::SysReg,
                               TTypedStore::SisetReg};
const char* kStoreNames[] = {"ACCREG", "MSD_HOUKOKU", "SYSREG", "SISETREG"};

QString show(const QVariant& v)
{
  if (!v.isValid())
    return QStringLiteral("<null>");
  if (v.metaType() == QMetaType::fromType<Currency>())
    return QStringLiteral("C:") + v.value<Currency>().toString();
  if (v.typeId() == QMetaType::Bool)
    return v.toBool() ? QStringLiteral("B:true") : QStringLiteral("B:false");
  if (v.typeId() == QMetaType::LongLong)
    return QStringLiteral("I:") + QString::number(v.toLongLong());
  if (v.typeId() == QMetaType::Double)
    return QStringLiteral("D:") + QString::number(v.toDouble(), 'f', 6);
  return QStringLiteral("S:[") + v.toString() + QLatin1Char(']');
}

TEST(TypedValueCodec, ReadingAsOneTableOverTheStores)
{
  ApplyProcessDateFormats();
  const QString may1 = QString::number(EncodeDate(2024, 5, 1), 'f', 6);
  const QString may1noon = QString::number(EncodeDate(2024, 5, 1) + 0.5, 'f', 6);
  // Expected per store: ACCREG, MSD_HOUKOKU, SYSREG, SISETREG.
  struct Case {
    QString word;
    QString stored;
    QString expected[4];
  } cases[] = {
      {"文字", "abc", {"S:[abc]", "S:[abc]", "S:[abc]", "S:[abc]"}},
      {"文字", "", {"S:[ ]", "S:[ ]", "S:[ ]", "S:[]"}},
      {"論理", "TRUE", {"B:true", "B:true", "B:true", "B:true"}},
      {"論理", "true", {"B:true", "B:true", "B:false", "B:true"}},
      {"論理", "false", {"B:false", "B:false", "B:false", "B:false"}},
      {"論理", "yes", {"B:false", "B:false", "B:false", "B:true"}},
      {"論理", "", {"B:false", "B:false", "B:false", "B:true"}},
      {"日付", "2024/05/01", {"D:" + may1, "D:" + may1, "D:" + may1, "D:" + may1}},
      {"日付", "", {"D:0.000000", "D:0.000000", "D:0.000000", "D:0.000000"}},
      {"日付", "0", {"D:0.000000", "D:0.000000", "D:0.000000", "D:0.000000"}},
      {"整数", "42", {"I:42", "I:42", "I:42", "I:42"}},
      {"整数", "9000000000", {"I:9000000000", "I:9000000000", "I:9000000000", "I:9000000000"}},
      {"整数", "x", {"I:0", "I:0", "I:0", "I:0"}},
      {"整数", "", {"I:0", "I:0", "I:0", "I:0"}},
      {"金額", "1234.5678", {"C:1234.5678", "C:1234.5678", "C:1234.5678", "C:1234.5678"}},
      {"金額", "-3", {"C:-3", "C:-3", "C:-3", "C:-3"}},
      {"金額", "abc", {"C:0", "C:0", "C:0", "C:0"}},
      {"実数", "2.5", {"D:2.500000", "S:[Data Type Error]", "S:[Data Type Error]", "S:[Data Type Error]"}},
      {"日時", "2024/05/01 12:00:00", {"D:" + may1noon, "S:[Data Type Error]", "S:[Data Type Error]", "D:" + may1noon}},
      {"数値", "1", {"S:[Data Type Error]", "S:[Data Type Error]", "S:[Data Type Error]", "S:[Data Type Error]"}},
  };
  for (const auto& c : cases)
    for (int s = 0; s < 4; ++s)
      EXPECT_EQ(show(fnTypedTextToValue(kStores[s], c.word, c.stored)), c.expected[s])
          << kStoreNames[s] << " " << c.word.toStdString() << " [" << c.stored.toStdString() << "]";
}

TEST(TypedValueCodec, WritingAsOneTableOverTheStores)
{
  ApplyProcessDateFormats();
  const QVariant may1 = EncodeDate(2024, 5, 1);
  struct Case {
    QString word;
    QVariant value;
    QString expected[4];
  } cases[] = {
      {"文字", QStringLiteral("髙橋①"), {"S:[髙橋①]", "S:[髙橋①]", "S:[髙橋①]", "S:[髙橋①]"}},
      {"論理", true, {"S:[TRUE]", "S:[TRUE]", "S:[TRUE]", "S:[TRUE]"}},
      {"論理", false, {"S:[FALSE]", "S:[FALSE]", "S:[FALSE]", "S:[FALSE]"}},
      {"日付", may1, {"S:[2024/05/01]", "S:[2024/05/01]", "S:[2024/05/01]", "S:[2024/05/01]"}},
      {"日付", 0.0, {"S:[]", "S:[]", "S:[]", "S:[]"}},
      {"整数", qlonglong(9000000000LL), {"S:[9000000000]", "S:[9000000000]", "S:[9000000000]", "S:[9000000000]"}},
      {"整数", QStringLiteral("17"), {"S:[17]", "S:[17]", "S:[17]", "S:[17]"}},
      {"金額",
       QVariant::fromValue(Currency::fromDouble(1234.5)),
       {"S:[1234.5]", "S:[1234.5]", "S:[1234.5]", "S:[1234.5]"}},
      {"実数", 2.25, {"S:[2.25]", "<null>", "<null>", "<null>"}},
      {"日時",
       EncodeDate(2024, 5, 1) + 0.5,
       {"S:[2024/05/01 12:00:00]", "<null>", "<null>", "S:[2024/05/01 12:00:00]"}},
      {"数値", 1, {"<null>", "<null>", "<null>", "<null>"}},
  };
  for (const auto& c : cases)
    for (int s = 0; s < 4; ++s)
      EXPECT_EQ(show(fnTypedValueToText(kStores[s], c.word, c.value)), c.expected[s])
          << kStoreNames[s] << " " << c.word.toStdString();
}

TEST(TypedValueCodec, SmallConversions)
{
  ApplyProcessDateFormats();
  EXPECT_EQ(fnBoolToStr(true), "TRUE");
  EXPECT_TRUE(fnStrToBoolT("True"));
  EXPECT_FALSE(fnStrToBoolT("1"));
  EXPECT_FALSE(fnStrToBoolF("false"));
  EXPECT_TRUE(fnStrToBoolF(""));
  EXPECT_EQ(fnBoolToInt(true), 1);
  EXPECT_TRUE(fnIntToBool(-2));
  EXPECT_EQ(fnStrToCurrDef("x"), Currency());
  EXPECT_EQ(fnStrToDateDef("2024/13/01"), 0);
  const TDateTime d = EncodeDate(2024, 5, 1) + EncodeTime(9, 5, 0);
  EXPECT_EQ(fnDateToStrKind(2, d), "24/05/01");
  EXPECT_EQ(fnDateToStrKind(4, d), "2024/05/01");
  EXPECT_EQ(fnDateToStrKind(0, d), "2024/05/01 09:05");
  EXPECT_EQ(fnDateToStrKind(4, 0), "");
}

class CompanySettings : public StandAlone {
 protected:
  void SetUp() override
  {
    StandAlone::SetUp();
    ApplyProcessDateFormats();
    ASSERT_TRUE(dm->fnAccDatConnected(QString(), root.dataSets.at(0).folder, false));
  }
  QString stored(const QString& table, const QString& column, const QString& where)
  {
    return readValue(root.dataSets.at(0).database,
                     QStringLiteral("SELECT %1 FROM %2 WHERE %3").arg(column, table, where), column);
  }
};

TEST_F(CompanySettings, MissingValuesAreCreatedAndWritesKeepTheTypeWord)
{
  const QString g = QStringLiteral("テスト");
  EXPECT_EQ(fnGetAccReg(g, "個数", "整数", "5").toLongLong(), 5);
  EXPECT_EQ(stored("ACCREG", "ATYPE", "AGROUP='テスト' AND ACODE='個数'"), "整数");
  EXPECT_EQ(stored("ACCREG", "ATEXT", "AGROUP='テスト' AND ACODE='個数'"), "5");
  EXPECT_EQ(fnGetAccReg(g, "個数", "整数", "9").toLongLong(), 5);  // read from the row now

  pcSetAccReg(g, "個数", "文字", QStringLiteral("12"));
  EXPECT_EQ(stored("ACCREG", "ATYPE", "AGROUP='テスト' AND ACODE='個数'"), "整数");
  pcSetAccReg(g, "日", "日付", EncodeDate(2024, 5, 1));
  EXPECT_EQ(stored("ACCREG", "ATEXT", "AGROUP='テスト' AND ACODE='日'"), "2024/05/01");
  pcSetAccReg(g, "日", "日付", 0.0);
  EXPECT_EQ(stored("ACCREG", "ATEXT", "AGROUP='テスト' AND ACODE='日'"), "");
  EXPECT_EQ(fnGetAccReg(g, "日", "文字", "").toString(), " ");  // an empty text reads as one space
  EXPECT_EQ(fnGetAccReg(g, "日", "整数", "").toLongLong(), 0);
  pcSetAccReg(g, "型", "数値", 1);
  EXPECT_EQ(readValue(root.dataSets.at(0).database,
                      "SELECT COALESCE(ATEXT,'<null>') AS T FROM ACCREG WHERE AGROUP='テスト' AND ACODE='型'", "T"),
            "<null>");
  EXPECT_EQ(fnGetAccReg(g, "型", "数値", "").toString(), "Data Type Error");
  pcDelAccReg(g, "型");
  EXPECT_EQ(stored("ACCREG", "ATEXT", "AGROUP='テスト' AND ACODE='型'"), "<none>");

  EXPECT_FALSE(fnIsKikinAri());
  EXPECT_EQ(stored("ACCREG", "ATEXT", "AGROUP='法人概要' AND ACODE='基金'"), "無");
  pcSetAccReg("法人概要", "医療法人", "文字", QStringLiteral("社会"));
  EXPECT_EQ(fnGetAccReg("法人概要", "医療法人", "文字", "").toString(), "社会");
  EXPECT_TRUE(fnIsZaidanSyakaiTokutei());
  EXPECT_TRUE(hook.boxes.empty());
}

TEST_F(CompanySettings, TransactionsOfTheCallerAreKeptOrCommittedAsEachRoutineSays)
{
  db::Transaction& t = dm->IBTransactionDAT;
  t.start();
  fnGetAccReg("T", "a", "整数", "1");
  EXPECT_TRUE(t.inTransaction());  // the caller's transaction stays open
  fnGetMsdHoukoku("T", "b", "整数", "2");
  EXPECT_FALSE(t.inTransaction());  // the report settings commit it
  EXPECT_EQ(stored("ACCREG", "ATEXT", "AGROUP='T' AND ACODE='a'"), "1");
  EXPECT_EQ(fnGetMsdHoukoku("T", "c", "実数", "2.5").toString(), "Data Type Error");
  EXPECT_EQ(stored("MSD_HOUKOKU", "MDTYPE", "MDGROUP='T' AND MDCODE='c'"), "実数");

  // A failure inside rolls back only what the routine started.
  t.start();
  pcSetAccReg("T", "d", "整数", 4);
  EXPECT_THROW(pcDelAccRegBlob("T", "k", "WHERE FGROUP=:FGROUP"), db::DbError);
  EXPECT_TRUE(t.inTransaction());
  t.rollback();
  EXPECT_EQ(stored("ACCREG", "ATEXT", "AGROUP='T' AND ACODE='d'"), "<none>");
}

TEST_F(CompanySettings, BlobSettings)
{
  const QString memo = QStringLiteral("一行目\r\n髙橋①\r\nlast");
  pcSetAccRegBlob("B", "memo", "メモ", memo);
  EXPECT_EQ(fnGetAccRegBlob("B", "memo").toString(), memo + "\r\n");
  const QString pic = tmp.file("pic.jpg");
  {
    QFile f(pic);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("\xFF\xD8jpeg-bytes\x00\x01", 14));
  }
  pcSetAccRegBlob("B", "pic", "画Ｊ", pic);
  const QString out = fnGetAccRegBlob("B", "pic").toString();
  EXPECT_TRUE(out.startsWith(SystemDef.TEMP + "/accreg-"));
  EXPECT_TRUE(out.endsWith(".jpg"));
  QFile f(out);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("\xFF\xD8jpeg-bytes\x00\x01", 14));
  EXPECT_FALSE(fnGetAccRegBlob("B", "none").isValid());
  pcDelAccRegBlob("B", "memo", QString());
  EXPECT_FALSE(fnGetAccRegBlob("B", "memo").isValid());
  // The input-history groups go when the balance tables are first warmed.
  pcSetAccRegBlob("仕訳帳＿摘要履歴", QString::number(SystemDef.OPCODE2), "メモ", QStringLiteral("x"));
  dm->GetZandakaCash(-1);
  EXPECT_FALSE(fnGetAccRegBlob("仕訳帳＿摘要履歴", QString::number(SystemDef.OPCODE2)).isValid());
  EXPECT_TRUE(AccInf.CashOn_ToukiZan && AccInf.CashOn_KakoZan);
}

}  // namespace
}  // namespace dmtest
