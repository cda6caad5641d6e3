#include <gtest/gtest.h>

#include "common/AccRecord.h"
#include "common/DbUtil.h"
#include "db/DbError.h"
#include "platform/Format.h"

namespace {

TEST(AccRecord, FixedDateFormatsAndProcessFormats)
{
  pcAccRecordInitialize();
  TDateTime d = 0;
  ASSERT_TRUE(TryStrToDate("2024/05/01", d, AccFormatSettings()));
  EXPECT_EQ(d, EncodeDate(2024, 5, 1));
  // The fixed settings do not follow a changed process-wide short date format.
  TFormatSettings& fs = FormatSettings();
  const QString saved = fs.ShortDateFormat;
  fs.ShortDateFormat = "dd/MM/yyyy";
  ASSERT_TRUE(TryStrToDate("2024/05/01", d, AccFormatSettings()));
  EXPECT_EQ(d, EncodeDate(2024, 5, 1));
  fs.ShortDateFormat = saved;
  pcAccRecordInitialize();
  EXPECT_EQ(FormatDateTime(FormatSettings().LongDateFormat, EncodeDate(2024, 5, 1)), "2024年05月01日");
  EXPECT_EQ(FbPort, 3051);
  EXPECT_EQ(FbCharSet, "UTF8");
}

TEST(AccRecord, NamesFromTheIdentityFileAndPartnerColours)
{
  pcAccRecordReset();
  EXPECT_EQ(AppType, jxatSA);
  EXPECT_EQ(AccDataInitFile[4], "init_acc24.fbK");
  TAppInfoRec info;
  info.AppName = "app";
  info.DataFile = "data.fdb";
  info.DataInitFile = "tmpl%d.fbk";
  info.DataListCnt = 50;
  pcApplyAppInfoNames(info);
  EXPECT_EQ(AccAppName, "app");
  EXPECT_EQ(AccDataFile, "data.fdb");
  EXPECT_EQ(AccDataInitFile[0], "tmpl11.fbk");
  EXPECT_EQ(AccDataInitFile[3], "tmpl23.fbk");
  EXPECT_EQ(AccDataInitFile[4], "init_acc24.fbK");  // never replaced
  EXPECT_EQ(AccDataInitFile[5], "tmpl31.fbk");
  EXPECT_EQ(AccDataListCnt, 50);
  EXPECT_EQ(AccFixedBackupFile, "wqacc2.fbk");

  struct Case {
    std::uint8_t edition;
    int client2, total, active;
  } cases[] = {{0, 0xE1F0FF, 0x8EC7FF, 0x246BFF},
               {1, 0xF2FFEE, 0xD6FFC8, 0x8000},
               {2, 0xF2FFEE, 0xD6FFC8, 0x8000},
               {3, 0xE1F0FF, 0x8EC7FF, 0x246BFF}};
  for (const auto& c : cases) {
    pcAccRecordReset();
    OemEdition = c.edition;
    pcApplyOemDefaultColors();
    EXPECT_EQ(DefClientColor2, c.client2) << int(c.edition);
    EXPECT_EQ(DefTotalColor, c.total);
    EXPECT_EQ(DefActiveColor, c.active);
  }
  pcAccRecordReset();
  EXPECT_EQ(AccDataFile, "wqacc2.fdb");
  TJxSitenListSet levels{jxslHoujin, jxslSiten};
  EXPECT_TRUE(levels.contains(jxslSiten));
  EXPECT_FALSE(levels.contains(jxslGroup));
}

TEST(DbUtil, PlainIdentifiers)
{
  struct Case {
    QString name;
    bool ok;
  } cases[] = {{"ACCREG", true},
               {"GEN_EVENTLOG_REC", true},
               {"RDB$DATABASE", true},
               {"_x1", true},
               {"", false},
               {"1ABC", false},
               {"A B", false},
               {"A;DROP", false},
               {"A'--", false},
               {"表", false},
               {QString(64, 'A'), false}};
  for (const auto& c : cases)
    EXPECT_EQ(fnIsPlainIdentifier(c.name), c.ok) << c.name.toStdString();
  EXPECT_THROW(pcRequirePlainIdentifier("X;Y"), db::DbError);
}

}  // namespace

#include "common/DataModule.h"

namespace {

TEST(EditRepository, PercentageAndDateChecks)
{
  struct Case {
    QString in;
    QString out;
    bool cleared;
  } percent[] = {{"150", "100", true},    {"-3", "0", true},     {"abc", "0", true},
                 {"55.5", "55.5", false}, {"100", "100", false}, {"0", "0", false}};
  for (const auto& c : percent) {
    QVariant v = c.in;
    QString text = "bad";
    bool error = true;
    TDM::cxEditRepo_Curr_WariaiP1_PlusPropertiesValidate(v, text, error);
    EXPECT_EQ(v.toString(), c.out) << c.in.toStdString();
    EXPECT_EQ(error, !c.cleared);
    EXPECT_EQ(text.isEmpty(), c.cleared);
  }
  Case dates[] = {{" 1/ 2/ 3", "01/02/03", true},
                  {"24/05/01", "24/05/01", false},
                  {" 5/ 1", "05/01", true},
                  {" 7", "07", true},
                  {"", "", false}};
  for (const auto& c : dates) {
    QVariant v = c.in;
    QString text = "bad";
    bool error = true;
    TDM::cxEditRepo_Text_Hizuke6PropertiesValidate(v, text, error);
    EXPECT_EQ(v.toString(), c.out) << c.in.toStdString();
    EXPECT_EQ(error, !c.cleared);
  }
}

}  // namespace

#include "RecordingHook.h"

namespace {

TEST(ServerProbe, AnUnreachableServerIsExplainedByAccessForm)
{
  RecordingHook hook;
  struct Case {
    TJxAppType form;
    std::uint8_t sbc;
    const char16_t* firstReason;
  } cases[] = {
      {jxatCS, 0, u"１）サーバー上でFireBirdサービスが起動しているか確認して下さい。"},
      {jxatSBC, 2, u"１）RDSソリューションが正常に動作しているか確認して下さい。"},
  };
  for (const auto& c : cases) {
    pcAccRecordReset();
    hook.boxes.clear();
    AppType = c.form;
    SbcKind = c.sbc;
    SystemDef.SERVERNAME = "127.0.0.1";
    FbPort = 1;  // nothing listens there
    TDM dm;
    EXPECT_FALSE(dm.IsFirebirdRunning());
    ASSERT_EQ(hook.boxes.size(), 1u);
    EXPECT_EQ(hook.boxes[0].type, 102);  // the information box of lines
    const QStringList lines = hook.boxes[0].text.split('\n');
    EXPECT_EQ(lines.value(0), "ログイン処理に失敗しました。以下の理由が考えられます。");
    EXPECT_EQ(lines.value(1), QString::fromUtf16(c.firstReason));
    EXPECT_EQ(lines.size(), c.form == jxatSBC ? 5 : 4);
  }
  pcAccRecordReset();
  TDM dm;
  EXPECT_TRUE(dm.IsFirebirdRunning());  // stand-alone: no check
}

}  // namespace

#include "common/DataInfomation.h"

namespace {

TEST(DataInfomation, EditionTextOfADataVersion)
{
  pcAccRecordReset();
  SystemDef.AppVerMajor = 17;
  TDataInfomation info;
  EXPECT_EQ(info.GetSeihinText(0, 5, "x"), "評価版");
  EXPECT_EQ(info.GetSeihinText(17, 0, "x"), "25版");  // the label of major 17 in the product list
  EXPECT_EQ(info.GetSeihinText(12, 3, "x"), "12.3");
  EXPECT_EQ(TDataInfomation::IniFileName("/d/0001/"), "/d/0001/wqacc2.ini");
  pcAccRecordReset();
}

}  // namespace
