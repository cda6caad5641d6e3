// The accounting information of the open company data, read into AccInf
// each time a company database has been connected.
#include "acctables/AccKikan.h"
#include "common/AccCipher.h"
#include "common/AccFunction.h"
#include "common/AccReg.h"
#include "common/AccTaxCmp.h"
#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/FbError.h"
#include "db/DbError.h"
#include "platform/AppError.h"
#include "platform/DateTime.h"
#include "platform/Exceptions.h"

namespace {

const QString kBasic = QStringLiteral("基本設定");
const QString kMyNumberKey = QStringLiteral("tobenza");

// One year back, keeping the day (clamped at a shorter month's end).
TDateTime yearBefore(TDateTime d)
{
  return IncMonth(d, -12);
}

}  // namespace

bool TDM::fnGetAccInfo()
{
  TACCINF& a = AccInf;
  const QString message = QStringLiteral("基本情報の取得に失敗しました。\r");
  try {
    IBTransactionDAT.startIfNeeded();
    {
      db::Query q(IBTransactionDAT);
      q.setSql(QStringLiteral("SELECT * FROM ACCDEF1"));
      q.open();
      if (q.eof())
        throw EPlatformError(QStringLiteral("基本設定(ACCDEF1)のレコードが見つかりませんでした。"));
      auto has = [&](const char* c) { return q.fieldIndex(QLatin1String(c)) >= 0; };
      auto S = [&](const char* c) { return q.field(QLatin1String(c)).asString(); };
      auto I = [&](const char* c) { return q.field(QLatin1String(c)).asInt(); };
      auto D = [&](const char* c) { return q.field(QLatin1String(c)).asDateTime(); };
      auto C = [&](const char* c) { return q.field(QLatin1String(c)).asCurrency(); };

      a.GROUPID = I("GROUPID");
      a.ENTTEXT = S("ENTTEXT");
      a.SERIAL = S("SERIAL");
      a.TANTOU = I("TANTOU");
      a.GYOUSHU = I("GYOUSHU");
      a.DATATYPE = I("DATATYPE");
      a.DATATYPENAME = fnGetDataTypeName(a.DATATYPE);
      a.CODETYPE = I("CODETYPE");
      a.CODETYPENAME = fnGetCodeTypeName(a.DATATYPE, a.CODETYPE, false);
      a.SCODE1 = S("SCODE1");
      a.SCODE2 = S("SCODE2");
      a.SKANA = S("SKANA");
      a.SHOUGOU = S("SHOUGOU");
      a.POST = S("POST");
      a.ADD1 = S("ADD1");
      a.ADD2 = S("ADD2");
      a.TEL = S("TEL");
      a.AO_ADD1 = S("AO_ADD1");
      a.AO_ADD2 = S("AO_ADD2");
      a.AO_KANA = S("AO_KANA");
      a.AO_SIMEI = S("AO_SIMEI");
      a.AO_GYOUSHU = S("AO_GYOUSHU");
      a.AO_YAGO = S("AO_YAGO");
      a.AO_KANYU = S("AO_KANYU");
      a.AO_TEL = S("AO_TEL");
      a.AO_SHOKUGYO1 = S("AO_SHOKUGYO1");
      a.AO_SHOKUGYO2 = S("AO_SHOKUGYO2");
      a.MAIL = S("MAIL");
      a.zzKISHU = D("ZZKISHU");
      a.zKISHU = D("ZKISHU");
      a.NENDO = I("NENDO");
      a.KISHU = D("KISHU");
      a.KIMATU = D("KIMATU");
      a.KAISI = D("KAISI");
      a.SIME = I("SIME");
      a.KAISINO = I("KAISINO");
      a.GENGOU_FLG = I("GENGOU_FLG");
      a.GENGOU_HOSEI = I("GENGOU_HOSEI");
      a.GENGOU_NAME = S("GENGOU_NAME");
      const char* yakumei[] = {"YAKUMEI1", "YAKUMEI2", "YAKUMEI3"};
      for (int i = 0; i < 3; ++i)
        a.YAKUMEI[i] = S(yakumei[i]);
      const char* oldRate[] = {"OLD_TAX_RATE1", "OLD_TAX_RATE2", "OLD_TAX_RATE3", "OLD_TAX_RATE4", "OLD_TAX_RATE5"};
      const char* newRate[] = {"NEW_TAX_RATE1", "NEW_TAX_RATE2", "NEW_TAX_RATE3", "NEW_TAX_RATE4", "NEW_TAX_RATE5"};
      const char* chgDays[] = {"CHG_DAYS1", "CHG_DAYS2", "CHG_DAYS3", "CHG_DAYS4", "CHG_DAYS5"};
      for (int i = 0; i < 5; ++i) {
        a.OLD_TAX_RATE[i] = C(oldRate[i]);
        a.NEW_TAX_RATE[i] = C(newRate[i]);
        a.CHG_DAYS[i] = D(chgDays[i]);
      }
      a.KANSA_FIXDATE = D("KANSA_FIXDATE");
      a.KANSA_DATE = D("KANSA_DATE");
      a.CALCU = I("CALCU");
      a.TAXU_HASUU = I("TAXU_HASUU");
      a.TAXH_HASUU = I("TAXH_HASUU");
      a.TAXDEFUH = I("TAXDEFUH");
      a.TAXKANNI = I("TAXKANNI");
      a.TAXJIGYOU = I("TAXJIGYOU");
      a.GENKAPRINT = I("GENKAPRINT");
      a.KANSA_LOCK = I("KANSA_LOCK");
      a.TEGATADICSW = I("TEGATADICSW");
      // Optional columns: a company without them shows no value of the
      // company opened before.
      a.KESSAN_KIKAN = has("KESSAN_KIKAN") ? I("KESSAN_KIKAN") : 0;
      a.CASHFLOW_KIKAN1 = has("CASHFLOW_KIKAN1") ? I("CASHFLOW_KIKAN1") : 0;
      a.CASHFLOW_KIKAN2 = has("CASHFLOW_KIKAN2") ? I("CASHFLOW_KIKAN2") : 0;
      a.CASHFLOW_SYUKEI = I("CASHFLOWSW");
      a.SDAI_HASUU1 = I("SDAI_HASUU1");
      a.SDAI_HASUU2 = I("SDAI_HASUU2");
      a.SDAI_HASUU3 = has("SDAI_HASUU3") ? I("SDAI_HASUU3") : 0;
      a.CONVERT = I("CONVERT");
      a.SHOUHYOU = I("SHOUHYOU");
      a.ShouhyouEcho = 0;
      a.SITEN_KANRI = I("SITEN");
      a.BUMON_KANRI = I("BUMON");
      a.DATALOCK = I("DATALOCK");
      a.SEIZOGENKA_USE = I("GENKA_USE");
      a.SEIZOGENKA_TITLE = S("GENKA_HWORD1");
      a.SEIZOGENKA_TOUKISEIZOGENKA = S("GENKA_HWORD2");
      a.SEIZOGENKA_ZAIRYOHI = S("GENKA_HWORD3");
      a.SEIZOGENKA_ROUMUHI = S("GENKA_HWORD4");
      a.SEIZOGENKA_SEIZOKEIHI = S("GENKA_HWORD5");
      a.PASWORD = S("PASWORD");
      a.WEB_HOLDER = has("WEB_HOLDER") ? S("WEB_HOLDER") : QString();
      a.FUMEI_KCODE = S("FUMEI_KCODE");
      a.SEIZOGENKA_GAICHUHI = has("GENKA_HWORD6") ? S("GENKA_HWORD6") : QString();
      a.CLOUD_LINE = 0;
      a.CLOUD_TIME = 0;
      if (has("CLOUD_LINE")) {
        a.CLOUD_LINE = I("CLOUD_LINE");
        a.CLOUD_TIME = has("CLOUD_TIME") ? D("CLOUD_TIME") : 0;
      }
      a.Read_Only = has("READ_ONLY") ? I("READ_ONLY") : 0;
      a.TAXDEFUH_A = {a.TAXDEFUH, a.TAXDEFUH, a.TAXDEFUH};
      if (has("KURIKOSI1"))
        a.TAXDEFUH_A[1] = I("KURIKOSI1");
      if (has("KURIKOSI2"))
        a.TAXDEFUH_A[2] = I("KURIKOSI2");
      q.close();
    }

    // Total-line names of the manufacturing-cost statement.
    const QString plus = QStringLiteral("PLUSNAME");
    a.SEIZOGENKA_TOUKISEIZOGENKA_SUM = fnGetAccTotalName(QStringLiteral("5880"), plus);
    a.SEIZOGENKA_ZAIRYOHI_SUM = fnGetAccTotalName(QStringLiteral("5580"), plus);
    a.SEIZOGENKA_ROUMUHI_SUM = fnGetAccTotalName(QStringLiteral("5680"), plus);
    a.SEIZOGENKA_SEIZOKEIHI_SUM = fnGetAccTotalName(QStringLiteral("5780"), plus);
    a.SEIZOGENKA_GAICHUHI_SUM = fnGetAccTotalName(QStringLiteral("5688"), plus);
    a.SEIZOGENKA_TOUKISEIZOHIYOU_SUM = fnGetAccTotalName(QStringLiteral("5790"), plus);

    a.SWKNO_KIRIKAE = 1;
    a.ZaimuDataType = GetZaimuDataType();
    a.SITEN_HonbuUse = (a.DATATYPE == 3 && fnGetJigyoukubun(QStringLiteral("00")) == 16) ? 1 : 0;

    // Period numbers.
    a.StartMNum = fnTukiNoToKikanIdx(a.KAISINO);
    a.EndMNum = fnKikanNo(a.SIME, 0, a.KISHU, a.KIMATU, a.KIMATU);
    a.StartMNum12 = fnTukisuu(a.SIME, a.KISHU, a.KAISI);
    a.EndMNum12 = fnTukisuu(a.SIME, a.KISHU, a.KIMATU);

    // Accounts of fixed roles.
    SetSystemCode(QStringLiteral("現金"), a.GENKIN, a.UC_GENKIN);
    SetSystemCode(QStringLiteral("仮払消費税"), a.KARIHARAIZ, a.UC_KARIHARAIZ);
    SetSystemCode(QStringLiteral("仮受消費税"), a.KARIUKEZ, a.UC_KARIUKEZ);
    SetSystemCode(QStringLiteral("繰越利益剰余金"), a.ZENKIKURIKOSI, a.UC_ZENKIKURIKOSI);
    SetSystemCode(QStringLiteral("諸口"), a.SHOKUTI, a.UC_SHOKUTI);
    // The bills accounts belong to corporate data only; other data shows
    // none (not those of the data opened before).
    for (QString* f : {&a.UKETORI_TEGATA, &a.WARIBIKI_TEGATA, &a.URAGAKI_TEGATA, &a.UC_UKETORI_TEGATA,
                       &a.UC_WARIBIKI_TEGATA, &a.UC_URAGAKI_TEGATA})
      f->clear();
    if (a.DATATYPE == 1) {
      SetSystemCode(QStringLiteral("受取手形"), a.UKETORI_TEGATA, a.UC_UKETORI_TEGATA);
      SetSystemCode(QStringLiteral("割引手形"), a.WARIBIKI_TEGATA, a.UC_WARIBIKI_TEGATA);
      SetSystemCode(QStringLiteral("裏書手形"), a.URAGAKI_TEGATA, a.UC_URAGAKI_TEGATA);
    }
    for (QString* f : {&a.JIGYOKASI, &a.JIGYOKARI, &a.MOTOIREKIN, &a.UC_JIGYOKASI, &a.UC_JIGYOKARI, &a.UC_MOTOIREKIN})
      f->clear();
    if (a.DATATYPE == 2) {
      SetSystemCode(QStringLiteral("事業主貸"), a.JIGYOKASI, a.UC_JIGYOKASI);
      SetSystemCode(QStringLiteral("事業主借"), a.JIGYOKARI, a.UC_JIGYOKARI);
      SetSystemCode(QStringLiteral("元入金"), a.MOTOIREKIN, a.UC_MOTOIREKIN);
    }
    for (QString* f : {&a.KYUYO, &a.SYOYO, &a.SYOYO_HIKIATE, &a.TAISYOKU_KYUFU, &a.UC_KYUYO, &a.UC_SYOYO,
                       &a.UC_SYOYO_HIKIATE, &a.UC_TAISYOKU_KYUFU})
      f->clear();
    if (a.DATATYPE == 3 && a.CODETYPE == 1) {
      SetSystemCode(QStringLiteral("給料"), a.KYUYO, a.UC_KYUYO);
      SetSystemCode(QStringLiteral("賞与"), a.SYOYO, a.UC_SYOYO);
      SetSystemCode(QStringLiteral("賞与引当金繰入額"), a.SYOYO_HIKIATE, a.UC_SYOYO_HIKIATE);
      SetSystemCode(QStringLiteral("退職給付費用"), a.TAISYOKU_KYUFU, a.UC_TAISYOKU_KYUFU);
      SetSystemCode(QStringLiteral("前期繰越利益"), a.ZENKIKURIKOSI, a.UC_ZENKIKURIKOSI);
    }
    a.UC_FUMEI_KCODE = KCodeToUserKcode(a.FUMEI_KCODE);
    a.WEB_HOLDER2[0] = a.WEB_HOLDER;
    a.PASWORD2[0] = a.PASWORD;
    a.WEB_HOLDER2[1].clear();
    a.PASWORD2[1].clear();

    // The three fiscal years the data holds.
    a.KISHU_A[0] = a.KISHU;
    a.KIMATU_A[0] = a.KIMATU;
    a.KAISI_A[0] = a.KAISI;
    const TDateTime back[] = {0, a.zKISHU, a.zzKISHU};
    for (int i = 1; i <= 2; ++i) {
      a.KISHU_A[i] = back[i] != 0 ? back[i] : yearBefore(a.KISHU_A[i - 1]);
      a.KIMATU_A[i] = a.KISHU_A[i - 1] - 1;
      a.KAISI_A[i] = a.KISHU_A[i];
    }
    for (int i = 0; i < 3; ++i)
      a.KikanTsukisu[i] = fnTukisuu(a.SIME, a.KISHU_A[i], a.KIMATU_A[i]) + 1;

    // Typed settings of the company.
    auto regInt = [&](const QString& code, const QString& group = QString()) {
      return int(fnGetAccReg(group.isEmpty() ? kBasic : group, code, QStringLiteral("整数"), QStringLiteral("0"))
                     .toLongLong());
    };
    a.KakoMeisaiUse = regInt(QStringLiteral("過去明細取り込み"));
    try {
      a.GassanDataKbn = std::uint8_t(regInt(QStringLiteral("合算データ区分")));
    } catch (const std::exception&) {
      a.GassanDataKbn = 0;
    }
    a.GassanChildCnt = regInt(QStringLiteral("合算データ数"));
    regInt(QStringLiteral("一括税抜処理"));
    a.KimatuZeinukiKbn = 0;
    a.KimatuZeinukiSeiseiZumi = 0;
    a.KCodeLenMode = TJxKamokuCodeLen(regInt(QStringLiteral("科目コード桁数")));
    a.HCodeLenMode = TJxKamokuCodeLen(regInt(QStringLiteral("補助コード桁数")));
    a.BCodeLenMode = TJxKamokuCodeLen(regInt(QStringLiteral("部門コード桁数")));
    const QString genka = QStringLiteral("減価償却設定");
    regInt(QStringLiteral("250%定率法で償却する経過措置"), genka);
    regInt(QStringLiteral("200%定率法で償却する経過措置"), genka);
    a.PrintKikanUse = regInt(QStringLiteral("印刷用期間使用区分"));
    a.PrintKISHU =
        fnGetAccReg(kBasic, QStringLiteral("印刷用期間（期首）"), QStringLiteral("日付"), QStringLiteral("0"))
            .toDouble();
    a.PrintKIMATU =
        fnGetAccReg(kBasic, QStringLiteral("印刷用期間（期末）"), QStringLiteral("日付"), QStringLiteral("0"))
            .toDouble();
    a.KobetuGenka_Use = regInt(QStringLiteral("個別原価使用区分"));
    a.KobetuGenkaAlias =
        fnGetAccReg(kBasic, QStringLiteral("個別原価別名"), QStringLiteral("文字"), QStringLiteral("個別原価"))
            .toString();
    a.KobetuGenkaLenMode = TJxKobetuGenkaCodeLen(regInt(QStringLiteral("個別原価コード桁数")));
    a.UseMyNumberKbn = regInt(QStringLiteral("＃USE"));
    a.MyNumberPassWord = fnGetAccReg(kBasic, QStringLiteral("＃KEY"), QStringLiteral("文字"), QString()).toString();
    a.MyNumber = fnGetAccReg(kBasic, QStringLiteral("＃VALUE"), QStringLiteral("文字"), QString()).toString();
    if (!a.MyNumberPassWord.isEmpty())
      a.MyNumberPassWord = fnJxDecipher(a.MyNumberPassWord, kMyNumberKey, 8);
    if (!a.MyNumber.isEmpty())
      a.MyNumber = fnJxDecipher(a.MyNumber, kMyNumberKey, int(a.MyNumber.size()));
    a.UseVestimarCloudKbn = 0;

    // Departments, branch link codes and the database version.
    a.BUMCNT = 0;
    {
      db::Query q(IBTransactionDAT);
      if (a.BUMON_KANRI != 0) {
        q.setSql(QStringLiteral("SELECT COUNT(BCODE) AS RECCNT FROM BUMONMST WHERE BCODE<>''"));
        q.open();
        a.BUMCNT = q.field("RECCNT").asInt();
        q.close();
      }
      QString sql = QStringLiteral("SELECT COUNT(*) AS RECCNT FROM SISETUMST WHERE (XSTR LIKE '%RENDOCODE=%')");
      if (a.SITEN_KANRI == 1)
        sql += QStringLiteral(" AND (SCODE<>'')");
      q.setSql(sql);
      q.open();
      a.UseAbacorClub_RendoCD = q.field("RECCNT").asInt() > 0;
      q.close();
      a.DataVerMajor = a.DataVerMinor = a.DataVerRev = 0;
      q.setSql(
          QStringLiteral("SELECT MAJOR,MINOR1,MINOR2 FROM ACCVERSION ORDER BY MAJOR DESC,MINOR1 DESC,MINOR2 DESC"));
      q.open();
      if (!q.eof()) {
        a.DataVerMajor = q.field("MAJOR").asInt();
        a.DataVerMinor = q.field("MINOR1").asInt();
        a.DataVerRev = q.field("MINOR2").asInt();
      }
      q.close();
    }
    if (IBTransactionDAT.inTransaction())
      IBTransactionDAT.commit();

    // The data set's own password: plain up to version 6, coded from 7 on.
    a.DataPassword = fnTrimZen(
        fnGetAccReg(kBasic, QStringLiteral("データパスワード"), QStringLiteral("文字"), QString()).toString());
    if (a.DataVerMajor > 6) {
      TEasyEncodeInfo info;
      info.SecretKey = kMyNumberKey;
      pcEasyEncodeInit(info);
      info.EncodeLength = 8;
      info.ValidLength = 8;
      info.EncodeText = fnTrimZen(
          fnGetAccReg(kBasic, QStringLiteral("データパスワードV2"), QStringLiteral("文字"), QString()).toString());
      a.DataPassword.clear();
      if (fnEasyEncode(info))
        a.DataPassword = info.BasicText;
    }

    a.OutputSwkRecKbn = a.SITEN_KANRI == 0 ? 1 : SystemDef.SotaiSiwakeNoHyoji;
    auto regBool = [&](const QString& code, const QString& def) {
      return fnGetAccReg(kBasic, code, QStringLiteral("論理"), def).toBool();
    };
    a.UseZeiritu[0] = regBool(QStringLiteral("使用税率3%"), QStringLiteral("FALSE"));
    a.UseZeiritu[1] = regBool(QStringLiteral("使用税率5%"), QStringLiteral("FALSE"));
    a.UseZeiritu[2] = regBool(QStringLiteral("使用税率8%"), QStringLiteral("TRUE"));
    a.UseZeiritu[3] = true;
    a.UseZeiritu[4] = true;
    pcZeirituListInit();

    // Closing dates of the first three quarters and of the year.
    a.KessanHizuke[0] = fnSimebiHizuke(2, a.SIME, a.KISHU_A[0]);
    a.KessanHizuke[1] = fnSimebiHizuke(5, a.SIME, a.KISHU_A[0]);
    a.KessanHizuke[2] = fnSimebiHizuke(8, a.SIME, a.KISHU_A[0]);
    a.KessanHizuke[3] = a.KIMATU_A[0];
    bool fixedOnClosing = false;
    for (TDateTime d : a.KessanHizuke)
      if (d == a.KANSA_FIXDATE)
        fixedOnClosing = true;
    a.KANSA_FIXKessanSiwake = regBool(QStringLiteral("監査処理＿決算仕訳含む"),
                                      fixedOnClosing ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));

    // Code lengths of the shared edit repository.
    cxEditRepoLengths = TEditRepoLengths{};
    if (IsOemEdition(OemEdition)) {
      auto len = [](int mode) { return AccKamokuCodeLength.at(std::size_t(std::clamp(mode, 0, 2))); };
      cxEditRepoLengths.BCODE = len(a.BCodeLenMode);
      cxEditRepoLengths.KCODE = len(a.KCodeLenMode);
      cxEditRepoLengths.HCODE = len(a.HCodeLenMode);
      if (a.KobetuGenka_Use == 1)
        cxEditRepoLengths.Syohyo =
            AccKobetuGenkaCodeLength.at(std::size_t(std::clamp(int(a.KobetuGenkaLenMode), 0, 3)));
    }
    return true;
  } catch (const db::DbError& e) {
    fnShowFbError(e, QStringLiteral("TDM.fnGetAccInfo"), message, true);
  } catch (const std::exception& e) {
    fnShowErrorDetail(message, QString::fromUtf8(e.what()), mtError);
  }
  try {
    if (IBTransactionDAT.inTransaction())
      IBTransactionDAT.commit();
  } catch (...) {
    pcLogDroppedError("TDM.fnGetAccInfo");
    try {
      IBTransactionDAT.rollback();
    } catch (...) {
      pcLogDroppedError("TDM.fnGetAccInfo");
    }
  }
  return false;
}
