// Trial-balance reading for medical-corporation data.
#include <QStringList>

#include "acccalc/AccCalc.h"
#include "acccalc/AccCalcEnv.h"
#include "acccalc/AccCalcUtil.h"
#include "acccalc/AccReadError.h"
#include "acccalc/AccReportSettings.h"
#include "acctables/AccCodeTable.h"
#include "common/AccRecord.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"

using namespace acccalc;

namespace {

const int kFirst = FirstAccountRowMedical;  // 61

class MedicalReader {
 public:
  MedicalReader(TBalanceArray& B, TQSortArray& S, db::Transaction& tr, const QString& SCODE, const QString& BCODE,
                int ZeiKbn, int BalanceType, int LayoutKbn, int YousikiKbn, int BumonHaifu, int JigyoKbn)
      : B(B),
        S(S),
        tr(tr),
        q(tr),
        SCODE(SCODE),
        BCODE(BCODE),
        ZeiKbn(ZeiKbn),
        BalanceType(BalanceType),
        LayoutKbn(LayoutKbn),
        YousikiKbn(YousikiKbn),
        BumonHaifu(BumonHaifu),
        JigyoKbn(JigyoKbn)
  {
  }

  void run()
  {
    ensureRow(B, S, kFirst - 1);
    const bool bcodeSet = !BCODE.trimmed().isEmpty();
    if (LayoutKbn == 3 || (LayoutKbn == 0 && (BalanceType == 0 || BalanceType == 5 || BalanceType == 6))) {
      const bool hide = LayoutKbn == 0 && (BalanceType == 6 || (BalanceType == 0 && bcodeSet));
      pcTotalNameSet_Iryou(0, 2, hide);
      divisionChecks(BalanceType == 5);
    } else if (LayoutKbn == 4) {
      pcTotalNameSet_Iryou(0, 2, false);
      divisionChecks(false);
    } else {
      if (JigyoKbn == 0)
        JigyoKbn = fnSisetuJigyoKbn(SCODE);
      pcTotalNameSet_Iryou(JigyoKbn, YousikiKbn, BalanceType == 3 || BalanceType == 4);
    }

    int r = 0;
    switch (LayoutKbn) {
      case 0:
        r = readTrialBalance(bcodeSet);
        break;
      case 1:
      case 2:
        r = readStatementLines(LayoutKbn == 1, bcodeSet);
        break;
      case 3:
      case 4:
        r = readStatement(LayoutKbn == 3, bcodeSet);
        break;
      default:
        break;
    }
    if (LayoutKbn == 4)
      for (int p = 0; p <= 16; ++p)
        pcKikanLineCalcu_Iryou(B, p, JigyoKbn);
    if (LayoutKbn != 1 && LayoutKbn != 2)
      S[17].Key = HiddenSortKey();
    if (r > 0)
      quickSortKeys(S, 1, std::min<int>(r, static_cast<int>(B.size()) - 1));
  }

 private:
  TBalanceArray& B;
  TQSortArray& S;
  db::Transaction& tr;
  db::Query q;
  QString SCODE, BCODE;
  int ZeiKbn, BalanceType, LayoutKbn, YousikiKbn, BumonHaifu, JigyoKbn;

  void pcTotalNameSet_Iryou(int d, int s, bool h)
  {
    const int bit = (d == 1 || d == 2 || d == 4 || d == 8) ? d : 16;
    q.setSql(QStringLiteral("SELECT * FROM ACCTOTALNAME WHERE BIN_AND( MB_JIGYOU, %1 )=%1 ORDER BY KGROUP ").arg(bit));
    q.open();
    Columns c(q);
    const bool zaidan = fnIsZaidanSyakaiTokutei();
    const bool kikin = fnIsKikinAri();
    for (; !q.eof(); q.next()) {
      const int a = q.field(c("ARRAYNUM")).asInt();
      if (a < 1 || a >= kFirst)
        continue;  // a total line outside the total-line rows would overwrite accounts
      const QString kgroup = q.field(c("KGROUP")).asString();
      TKMKREC& k = B[static_cast<std::size_t>(a)].KAMOKU;
      k.GROUPM1 = k.GROUPM2 = k.GROUPR1 = k.GROUPR2 = kgroup;
      k.KCODE.clear();
      k.KNAME = q.field(c("PLUSNAME")).asString();
      const int keskubun = q.field(c("KESKUBUN")).asInt();
      if (keskubun == 0 || keskubun == s) {
        k.BPFLG = kgroup < QLatin1String("4000") ? QStringLiteral("B") : QStringLiteral("P");
        S[static_cast<std::size_t>(a)] = TQSORT{kgroup, a};
        if ((d == 0 || d == 255) && kgroup != QLatin1String("4180")) {
          k.KNAME.replace(QStringLiteral("医業"), QStringLiteral("事業"));
          k.KNAME.replace(QStringLiteral("臨時"), QStringLiteral("特別"));
          if (kgroup == QLatin1String("4480"))
            k.KNAME = QStringLiteral("その他事業収益合計");
        }
      }
      if (k.GROUPM1 == QLatin1String("3180"))
        k.KNAME = zaidan  ? QStringLiteral("出資金合計")
                  : kikin ? QStringLiteral("基金合計")
                          : QStringLiteral("出資金合計");
      else if (k.GROUPM1 == QLatin1String("3800"))
        k.KNAME = QStringLiteral("純資産の部合計");
      else if (k.GROUPM1 == QLatin1String("3900"))
        k.KNAME = QStringLiteral("負債純資産の部合計");
      else if (k.GROUPM1 == QLatin1String("1108"))
        k.KNAME = QStringLiteral("現金及び預金");
    }
    q.close();
    if (s == 2)
      S[1].Key = HiddenSortKey();
    B[18].KAMOKU.GROUPM1 = B[18].KAMOKU.GROUPR1 = QStringLiteral("3460");
    B[32].KAMOKU.GROUPM1 = B[32].KAMOKU.GROUPR1 = QStringLiteral("4800");
    B[39].KAMOKU.GROUPM1 = QStringLiteral("6780");
    if (h) {
      for (int i = 46; i <= 53; ++i) {
        S[static_cast<std::size_t>(i)].Key = HiddenSortKey();
        B[static_cast<std::size_t>(i)].KAMOKU.GROUPM1.clear();
        B[static_cast<std::size_t>(i)].KAMOKU.GROUPM2.clear();
        B[static_cast<std::size_t>(i)].KAMOKU.KNAME.clear();
      }
    }
  }

  // Report settings of the company (capital lines).
  bool fnIsZaidanSyakaiTokutei() { return AccReportSettings().IsZaidanSyakaiTokutei(tr); }
  bool fnIsKikinAri() { return AccReportSettings().IsKikinAri(tr); }

  int facilityCount(int d, const QString* AGroup)
  {
    if (AGroup) {
      q.setSql(
          QStringLiteral("SELECT COUNT(*) FROM SISETUMST WHERE MB_JIGYOU=:JIGYOU AND (SCODE IN ( SELECT G.SCODE FROM "
                         "SISETUGROUPLIST G WHERE G.GCODE=:GCODE )) "));
      q.setParam(QStringLiteral("GCODE"), *AGroup);
    } else {
      q.setSql(QStringLiteral("SELECT COUNT(*) FROM SISETUMST WHERE MB_JIGYOU=:JIGYOU"));
    }
    q.setParam(QStringLiteral("JIGYOU"), d);
    q.open();
    const int n = q.eof() ? 0 : q.field(0).asInt();
    q.close();
    return n;
  }

  // Division lines that no facility uses are hidden; the division total
  // line is hidden when fewer than two division lines remain.
  void divisionChecks(bool AGroup)
  {
    const std::pair<int, int> lines[] = {{26, 8}, {28, 4}, {30, 2}, {31, 1}};
    for (const auto& [row, d] : lines)
      if (facilityCount(d, AGroup ? &SCODE : nullptr) == 0)
        S[static_cast<std::size_t>(row)].Key = HiddenSortKey();
    int shown = 0;
    for (const auto& [row, d] : lines)
      if (S[static_cast<std::size_t>(row)].Key != HiddenSortKey())
        ++shown;
    if (shown < 2)
      S[32].Key = HiddenSortKey();
  }

  int fnSisetuJigyoKbn(const QString& ACode)
  {
    q.setSql(QStringLiteral("SELECT MB_JIGYOU FROM SISETUMST WHERE SCODE=:SCODE "));
    q.setParam(QStringLiteral("SCODE"), ACode);
    q.open();
    const int d = q.eof() ? 0 : q.field(0).asInt();
    q.close();
    return d;
  }

  void pcGroupBumonList_Iryou(QStringList& AList)
  {
    AList.clear();
    q.setSql(
        QStringLiteral("SELECT BCODE FROM GROUPLIST WHERE GCODE=:GCODE AND ( BCODE IN (SELECT BCODE FROM SISETUBUM "
                       "WHERE SCODE=:SCODE)) "));
    q.setParam(QStringLiteral("GCODE"), BCODE);
    q.setParam(QStringLiteral("SCODE"), SCODE);
    for (q.open(); !q.eof(); q.next())
      AList << q.field(0).asString();
    q.close();
  }

  // Sets the query and every parameter it names.
  void setQuery(const QString& ASql, const QString& ABumon)
  {
    q.setSql(ASql);
    const auto set = [this](const char* name, auto value) {
      const QString n = QString::fromLatin1(name);
      if (q.hasParam(n))
        q.setParam(n, value);
    };
    set("TAX", ZeiKbn);
    set("SCODE", SCODE);
    set("BCODE", ABumon);
    set("HAIBUN", BumonHaifu);
    set("JIGYOU", JigyoKbn);
    set("GCODE", SCODE);
  }

  int place(const QString& ASql)
  {
    setQuery(ASql, BCODE);
    return fnSisanhyoRecSet_Iryou();
  }

  int placeDepartments(const QString& ASql)
  {
    QStringList list;
    pcGroupBumonList_Iryou(list);
    int r = 0;
    for (const QString& code : list) {
      setQuery(ASql, code);
      r = fnSisanhyoRecSet_Iryou();
    }
    return r;
  }

  int readTrialBalance(bool bcodeSet)
  {
    switch (BalanceType) {
      case 0:
        return place(bcodeSet ? QStringLiteral("SELECT * FROM SP_SISANHYO_BUMONGOKEI( :TAX, :BCODE, 0 ) ")
                              : QStringLiteral("SELECT * From SP_SISANHYO( '' ,:TAX,0 ) "));
      case 1:
        return place(bcodeSet ? QStringLiteral("SELECT * FROM SP_SISANHYO_BUMONGOKEI( :TAX, :BCODE, :JIGYOU ) ")
                              : QStringLiteral("SELECT * From SP_SISANHYO( '' ,:TAX ,:JIGYOU ) "));
      case 2:
        return place(QStringLiteral("SELECT * From SP_SISANHYO_SISETU( :SCODE, :TAX ) "));
      case 3:
        return place(QStringLiteral("SELECT * From SP_SISANHYO_BUMON( :SCODE, :BCODE ,:TAX, :HAIBUN ) "));
      case 4:
        return placeDepartments(QStringLiteral("SELECT * From SP_SISANHYO_BUMON( :SCODE, :BCODE ,:TAX, :HAIBUN ) "));
      case 5:
        return place(QStringLiteral("SELECT * FROM SP_SISANHYO_GROUP( :GCODE ,:TAX) "));
      case 6:
        return breakdown();
      default:
        return 0;
    }
  }

  int readStatementLines(bool AA4, bool bcodeSet)
  {
    switch (BalanceType) {
      case 1:
        if (bcodeSet)
          return place(AA4 ? QStringLiteral("SELECT * FROM SP_SISANHYO_JIGYOBETUBUMON_A4( :TAX, :BCODE, :JIGYOU ) ")
                           : QStringLiteral("SELECT * FROM SP_SISANHYO_JIGYOBETUBUMON_A3( :TAX, :BCODE, :JIGYOU )"));
        return place(AA4 ? QStringLiteral("SELECT * From SP_SISANHYO_A4( '' , :TAX, :JIGYOU ) ")
                         : QStringLiteral("SELECT * From SP_SISANHYO_A3( '' ,:TAX,:JIGYOU  ) "));
      case 2:
        return place(AA4 ? QStringLiteral("SELECT * From SP_SISANHYO_A4( :SCODE, :TAX ,0 ) ")
                         : QStringLiteral("SELECT * From SP_SISANHYO_A3( :SCODE, :TAX, 0 ) "));
      case 3:
        return place(AA4 ? QStringLiteral("SELECT * From SP_SISANHYO_BUMON_A4( :SCODE, :BCODE ,:TAX, :HAIBUN ) ")
                         : QStringLiteral("SELECT * From SP_SISANHYO_BUMON_A3( :SCODE, :BCODE ,:TAX, :HAIBUN) "));
      case 4:
        return placeDepartments(
            AA4 ? QStringLiteral("SELECT * From SP_SISANHYO_BUMON_A4(:SCODE, :BCODE ,:TAX, :HAIBUN ) ")
                : QStringLiteral("SELECT * From SP_SISANHYO_BUMON_A3( :SCODE, :BCODE ,:TAX, :HAIBUN ) "));
      case 6:
        return breakdown();
      default:
        return 0;
    }
  }

  int readStatement(bool A3Layout, bool bcodeSet)
  {
    switch (BalanceType) {
      case 0:
        if (A3Layout)
          return place(bcodeSet ? QStringLiteral("SELECT * FROM SP_SISANHYO_BUMONGOKEI_KS( :TAX ,:BCODE )")
                                : QStringLiteral("SELECT * FROM SP_SISETUHIKAKU_SISANHYO( '','' ,:TAX , 0, 0)"));
        return place(QStringLiteral("SELECT * FROM SP_SISETUHIKAKU_SISANHYO( '','',:TAX ,0 ,0 )"));
      case 1:
        return place(A3Layout
                         ? QStringLiteral("SELECT * FROM SP_SISETUHIKAKU_SISANHYO( '','' ,:TAX ,:JIGYOU, 0) ")
                         : QStringLiteral("SELECT * FROM SP_SISETUHIKAKU_SISANHYO( '', :SCODE,:TAX ,:JIGYOU , 1 ) "));
      case 2:
        return place(A3Layout ? QStringLiteral("SELECT * FROM SP_SISETUHIKAKU_SISANHYO( :SCODE, '', :TAX ,0, 0) ")
                              : QStringLiteral("SELECT * FROM SP_SISETUHIKAKU_SISANHYO( :SCODE,'' ,:TAX ,0, 1 ) "));
      case 5:
        return place(A3Layout ? QStringLiteral("SELECT * FROM SP_SISETUHIKAKU_SISANHYO( '', :GCODE ,:TAX ,0, 0) ")
                              : QStringLiteral("SELECT * FROM SP_SISETUHIKAKU_SISANHYO( '', :SCODE ,:TAX ,0, 1) "));
      case 6:
        return breakdown();
      default:
        return 0;
    }
  }

  // The facility and department breakdown; its result is the last row.
  int breakdown()
  {
    return pcSisetuBumonRead(B, S,
                             fnBreakdownSetting(BCODE, BalanceType, ZeiKbn, BumonHaifu, LayoutKbn, YousikiKbn, -1));
  }

  // Places every record of the prepared query into account rows from row
  // 61 on; returns the last account row written (60 when none).
  int fnSisanhyoRecSet_Iryou()
  {
    const bool zaidan = fnIsZaidanSyakaiTokutei();
    const bool kikin = fnIsKikinAri();
    if (!q.isPrepared())
      q.prepare();
    q.open();
    Columns c(q);
    int t = kFirst - 1;
    while (!q.eof()) {
      ++t;
      ensureRow(B, S, t);
      TBALANCE& r = B[static_cast<std::size_t>(t)];
      TKMKREC& k = r.KAMOKU;
      if (LayoutKbn == 3 || LayoutKbn == 4) {
        k.GROUPM1 = k.GROUPM2 = k.GROUPR1 = k.GROUPR2 = q.field(c("GROUPM3")).asString();
      } else if (JigyoKbn == 0 || JigyoKbn == 1 || JigyoKbn == 8 || JigyoKbn == 16 || JigyoKbn == 255) {
        k.GROUPM1 = q.field(c("GROUPM1")).asString();
        k.GROUPM2 = q.field(c("GROUPM2")).asString();
        k.GROUPR1 = k.GROUPM1;
        k.GROUPR2 = k.GROUPM2;
      } else if (JigyoKbn == 2 || JigyoKbn == 4) {
        k.GROUPR1 = q.field(c("GROUPR1")).asString();
        k.GROUPR2 = q.field(c("GROUPR2")).asString();
        k.GROUPM1 = k.GROUPR1;
        k.GROUPM2 = k.GROUPR2;
      }
      k.USERCODE = q.field(c("USERCODE")).asString();
      k.KCODE = q.field(c("KCODE")).asString();
      k.KNAME = q.field(c("KNAME")).asString();
      k.BPFLG = q.field(c("BSPL")).asString();
      k.DAC = q.field(c("TAISHAKU")).asInt();
      if (k.GROUPM1 == QLatin1String("3110") && !zaidan && k.KNAME == QStringLiteral("資本金"))
        k.KNAME = kikin ? QStringLiteral("基金") : QStringLiteral("出資金");

      int j = 0;
      if (LayoutKbn == 0) {
        j = q.field(c("HOJCNT")).asInt();
      } else if (LayoutKbn >= 1 && LayoutKbn <= 4) {
        r.WMSTREC = q.field(c("MSTREC")).asInt();
        r.WSUBREC = q.field(c("SUBREC")).asInt();
      }

      r.KAISIZAN += q.field(c("KAISIZAN")).asCurrency();
      r.TOUKI_KISHU = r.KAISIZAN;
      r.KAISIZAN_A[0] = r.KAISIZAN;
      for (int n = 1; n <= 16; ++n) {
        r.KARSUM[n] += q.field(c(("KAR" + twoDigits(n)).toLatin1().constData())).asCurrency();
        r.KASSUM[n] += q.field(c(("KAS" + twoDigits(n)).toLatin1().constData())).asCurrency();
      }
      r.EZANDAKA[0] = r.KAISIZAN;
      r.TZANDAKA[0] = r.KAISIZAN;
      for (int n = 1; n <= 16; ++n) {
        r.EZANDAKA[n] = signedMove(k.DAC, r.KARSUM[n], r.KASSUM[n]);
        r.TZANDAKA[n] = r.TZANDAKA[n - 1] + r.EZANDAKA[n];
      }

      TQSORT& key = S[static_cast<std::size_t>(t)];
      key.Rec = t;
      if (LayoutKbn == 0)
        key.Key = k.GROUPM1 + fitLeft(k.USERCODE, 4);
      else if (LayoutKbn >= 1 && LayoutKbn <= 4)
        key.Key = k.GROUPM2 + twoDigits(q.field(c("SUBREC")).asInt());

      q.next();
      if (LayoutKbn == 0 && j >= 1)
        placeSubAccounts(q, c, B[static_cast<std::size_t>(t)]);
    }
    q.close();
    return t;
  }
};

}  // namespace

bool pcSisanhyoRead_Iryou(TBalanceArray& ABalance, TQSortArray& ASort, const QString& ASCODE, const QString& ABCODE,
                          int AZeiKbn, int ABalanceType, int ALayoutKbn, int AYousikiKbn, int ABumonHaifu,
                          int AJigyoKbn)
{
  return runTrialBalanceReading(ABalance, ASort, [&](db::Transaction& tr) {
    MedicalReader reader(ABalance, ASort, tr, ASCODE, ABCODE, AZeiKbn, ABalanceType, ALayoutKbn, AYousikiKbn,
                         ABumonHaifu, AJigyoKbn);
    reader.run();
  });
}
