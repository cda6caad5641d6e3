// Trial-balance reading for general data.
#include <QStringList>

#include "acccalc/AccCalc.h"
#include "acccalc/AccCalcEnv.h"
#include "acccalc/AccCalcUtil.h"
#include "acccalc/AccReadError.h"
#include "acctables/AccCodeTable.h"
#include "common/AccRecord.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"

using namespace acccalc;

namespace {

const int kFirst = FirstAccountRowGeneral;  // 51

// Row of statement total line n (1..49) in the general layout.
int lineRow(int n)
{
  return n <= 45 ? TotalLineRows.second(n) : n;
}

// Periods of the sixteen-period year that precede month AMonth of the year;
// 0 for a month outside 1..12.
int fnKaisiKikanSu(int AMonth)
{
  static const int table[13] = {0, 0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14};
  return (AMonth >= 1 && AMonth <= 12) ? table[AMonth] : 0;
}

class GeneralReader {
 public:
  GeneralReader(TBalanceArray& B, TQSortArray& S, db::Transaction& tr, const QString& SCODE, const QString& BCODE,
                int ZeiKbn, int BalanceType, int LayoutKbn, int YousikiKbn, int BumonHaifu, int ZenkiZeiAtukai)
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
        ZenkiZeiAtukai(ZenkiZeiAtukai)
  {
  }

  // Steps after the reset: total lines, reading, sort. Returns normally or
  // throws what the database raised.
  void run()
  {
    pcTotalNameSet(BalanceType == 3 || BalanceType == 4);
    int last = -1;
    switch (LayoutKbn) {
      case 0:
        last = readTrialBalance();
        break;
      case 1:
      case 2:
        last = readStatementLines(LayoutKbn == 1);
        break;
      case 4:
        last = readStatement();
        break;
      default:
        break;
    }
    // Nothing placed: the total lines alone are sorted.
    if (last < kFirst - 1)
      last = kFirst - 1;
    last = std::min<int>(last, static_cast<int>(B.size()) - 1);
    quickSortKeys(S, 0, last);
  }

 private:
  TBalanceArray& B;
  TQSortArray& S;
  db::Transaction& tr;
  db::Query q;
  QString SCODE, BCODE;
  int ZeiKbn, BalanceType, LayoutKbn, YousikiKbn, BumonHaifu, ZenkiZeiAtukai;

  void hideLine(int n, bool clearName = false)
  {
    const int r = lineRow(n);
    if (r <= 0 || r >= static_cast<int>(B.size()))
      return;
    S[r].Key = HiddenSortKey();
    B[r].KAMOKU.GROUPM1.clear();
    B[r].KAMOKU.GROUPM2.clear();
    if (clearName)
      B[r].KAMOKU.KNAME.clear();
  }

  void pcTotalNameSet(bool AHideBumon)
  {
    q.setSql(QStringLiteral("SELECT * FROM ACCTOTALNAME ORDER BY KGROUP "));
    q.open();
    Columns c(q);
    for (; !q.eof(); q.next()) {
      const int a = q.field(c("ARRAYNUM")).asInt();
      if (a < 1 || a >= kFirst || a >= static_cast<int>(B.size()))
        continue;  // a total line outside the total-line rows would overwrite accounts
      const QString kgroup = q.field(c("KGROUP")).asString();
      TKMKREC& k = B[a].KAMOKU;
      k.GROUPM1 = kgroup;
      k.GROUPM2 = kgroup;
      k.KCODE.clear();
      k.KNAME = q.field(c("PLUSNAME")).asString();
      if ((BalanceType == 10 || BalanceType == 30) && q.field(c("KESSAN_USE")).asInt() == 1) {
        const QString text = q.field(c("KESSAN_TEXT")).asString();
        switch (a) {
          case 6:
          case 7:
          case 8:
            k.KNAME = QStringLiteral("（") + text + QStringLiteral("）");
            break;
          case 5:
          case 9:
          case 10:
          case 12:
          case 13:
          case 14:
          case 23:
          case 24:
          case 25:
          case 28:
          case 30:
          case 31:
          case 32:
          case 33:
          case 37:
          case 39:
          case 40:
          case 42:
          case 43:
          case 46:
            k.KNAME = QStringLiteral("【") + text + QStringLiteral("】");
            break;
          case 19:
          case 22:
            k.KNAME = text;
            break;
          default:
            break;
        }
      }
      const int keskubun = q.field(c("KESKUBUN")).asInt();
      if (keskubun == 0 || keskubun == YousikiKbn) {
        k.BPFLG = kgroup < QLatin1String("4000") ? QStringLiteral("B") : QStringLiteral("P");
        S[a] = TQSORT{kgroup, a};
      }
    }
    q.close();

    B[lineRow(29)].KAMOKU.KNAME = B[lineRow(35)].KAMOKU.KNAME;
    if (YousikiKbn == 1) {
      hideLine(3);
      hideLine(4);
      hideLine(2);
    } else {
      hideLine(47);
    }
    if (AHideBumon) {
      q.setSql(QStringLiteral("SELECT BUMON FROM ACCDEF1 WHERE REC=1"));
      q.open();
      const bool bumon = !q.eof() && q.field(QStringLiteral("BUMON")).asInt() == 1;
      q.close();
      if (bumon) {
        for (int r = TotalLineRows.first(1); r <= TotalLineRows.first(27); ++r)
          hideRow(r);
        for (int r = TotalLineRows.first(42); r <= TotalLineRows.first(45); ++r)
          hideRow(r);
      }
    }
  }

  void hideRow(int r)
  {
    if (r <= 0 || r >= static_cast<int>(B.size()))
      return;
    S[r].Key = HiddenSortKey();
    B[r].KAMOKU.GROUPM1.clear();
    B[r].KAMOKU.GROUPM2.clear();
    B[r].KAMOKU.KNAME.clear();
  }

  void pcGroupBumonList(QStringList& AList)
  {
    AList.clear();
    q.setSql(QStringLiteral("SELECT BCODE FROM GROUPLIST WHERE GCODE=:GCODE"));
    q.setParam(QStringLiteral("GCODE"), BCODE);
    for (q.open(); !q.eof(); q.next())
      AList << q.field(0).asString();
    q.close();
  }

  void setQuery(const QString& ASql)
  {
    q.setSql(ASql);
    q.setParam(QStringLiteral("TAX"), ZeiKbn);
  }

  void setParamIfUsed(const QString& AName, const QString& AValue)
  {
    if (q.hasParam(AName))
      q.setParam(AName, AValue);
  }

  int readTrialBalance()
  {
    S[lineRow(29)].Key = HiddenSortKey();
    S[lineRow(30)].Key = QStringLiteral("5882");
    if (AccInf.SEIZOGENKA_USE == 0)
      S[lineRow(35)].Key = HiddenSortKey();

    const bool byCodeA = YousikiKbn == 3;  // placement A: bills by account code with form style 3
    switch (BalanceType) {
      case 0:
        if (!BCODE.trimmed().isEmpty()) {
          setQuery(QStringLiteral("SELECT * FROM SP_SISANHYO_BUMONGOKEI( :TAX, :BCODE ) "));
          q.setParam(QStringLiteral("BCODE"), BCODE);
          return fnSisanhyoRecSet(false, false);
        }
        setQuery(QStringLiteral("SELECT * From SP_SISANHYO( :TAX, '' ,'' ) "));
        return fnSisanhyoRecSet(false, byCodeA);
      case 1:
        setQuery(QStringLiteral("SELECT * From SP_SISANHYO( :TAX, '' , :SITENGROUP ) "));
        q.setParam(QStringLiteral("SITENGROUP"), SCODE);
        return fnSisanhyoRecSet(false, byCodeA);
      case 2:
        setQuery(QStringLiteral("SELECT * From SP_SISANHYO( :TAX, :SCODE ,''  ) "));
        q.setParam(QStringLiteral("SCODE"), SCODE);
        return fnSisanhyoRecSet(false, byCodeA);
      case 3:
        setQuery(QStringLiteral("SELECT * From SP_SISANHYO_BUMON(  :TAX, :HAIBUN,  :SCODE, :BCODE ) "));
        setDepartmentParams(BCODE);
        return fnSisanhyoRecSet(false, byCodeA);
      case 4:
        return readDepartments(QStringLiteral("SELECT * FROM SP_SISANHYO_BUMON( :TAX, :HAIBUN,  :SCODE, :BCODE) "),
                               byCodeA);
      case 6:
        return pcSisetuBumonRead(B, S, breakdownSettings());
      default:
        return -1;
    }
  }

  void setDepartmentParams(const QString& ABumon)
  {
    q.setParam(QStringLiteral("SCODE"), SCODE);
    q.setParam(QStringLiteral("BCODE"), ABumon);
    q.setParam(QStringLiteral("HAIBUN"), BumonHaifu);
  }

  int readDepartments(const QString& ASql, bool AByCode)
  {
    QStringList list;
    pcGroupBumonList(list);
    int last = -1;
    for (const QString& code : list) {
      setQuery(ASql);
      setDepartmentParams(code);
      last = fnSisanhyoRecSet(false, AByCode);
    }
    return last;
  }

  void execUpdate(const QStringList& ALines)
  {
    q.setSql(ALines.join(QLatin1Char('\n')));
    q.exec();
  }

  int readStatementLines(bool AA4)
  {
    if (AA4) {
      execUpdate({QStringLiteral("UPDATE \"EXTERA4\" SET KNAME1='' "),
                  QStringLiteral("WHERE REC IN ( SELECT EXT1_A4 FROM \"KAMOKUMST\" WHERE USE=1 AND EXT1_A4 IN ( SELECT "
                                 "EXT1_A4 FROM \"KAMOKUMST\" GROUP BY EXT1_A4 HAVING  COUNT( * ) > 1 )  GROUP BY "
                                 "EXT1_A4  HAVING  COUNT( * ) = 1) AND"),
                  QStringLiteral("KNAME1 IN (SELECT KNAME FROM \"KAMOKUMST\" WHERE USE=1 AND EXT1_A4 IN ( SELECT "
                                 "EXT1_A4 FROM \"KAMOKUMST\" GROUP BY EXT1_A4 HAVING  COUNT( * )>1 ))")});
      execUpdate({QStringLiteral("UPDATE \"EXTERA4\" SET KNAME1='' "),
                  QStringLiteral("WHERE ( REC  IN (SELECT EXT1_A4 FROM \"KAMOKUMST\" WHERE USE=1 AND EXT1_A4 IN "
                                 "(SELECT EXT1_A4 FROM \"KAMOKUMST\" GROUP BY EXT1_A4 HAVING  COUNT( * ) = 1 )) )"),
                  QStringLiteral(" AND (KNAME1 IN (SELECT KNAME   FROM \"KAMOKUMST\" WHERE USE=1 AND EXT1_A4 IN "
                                 "(SELECT EXT1_A4 FROM \"KAMOKUMST\" GROUP BY EXT1_A4 HAVING  COUNT( * ) = 1 )) )")});
    } else {
      execUpdate(
          {QStringLiteral("UPDATE \"EXTERA3\" SET KNAME1='' "),
           QStringLiteral(
               "WHERE REC IN ( SELECT EXT1_A3 FROM \"KAMOKUMST\" WHERE USE=1 AND EXT1_A3 IN ( SELECT EXT1_A3 FROM "
               "\"KAMOKUMST\" GROUP BY EXT1_A3 HAVING  COUNT(*) > 1 )  GROUP BY EXT1_A3  HAVING  COUNT(*) = 1) AND"),
           QStringLiteral("KNAME1 IN (SELECT KNAME FROM \"KAMOKUMST\" WHERE USE=1 AND EXT1_A3 IN ( SELECT EXT1_A3 FROM "
                          "\"KAMOKUMST\" GROUP BY EXT1_A3 HAVING  COUNT(*)>1 ))")});
      execUpdate({QStringLiteral("UPDATE \"EXTERA3\" SET KNAME1='' "),
                  QStringLiteral("WHERE ( REC  IN (SELECT EXT1_A3 FROM \"KAMOKUMST\" WHERE USE=1 AND EXT1_A3 IN "
                                 "(SELECT EXT1_A3 FROM \"KAMOKUMST\" GROUP BY EXT1_A3 HAVING  COUNT( * ) = 1 )) )"),
                  QStringLiteral(" AND (KNAME1 IN (SELECT KNAME   FROM \"KAMOKUMST\" WHERE USE=1 AND EXT1_A3 IN "
                                 "(SELECT EXT1_A3 FROM \"KAMOKUMST\" GROUP BY EXT1_A3 HAVING  COUNT( * ) = 1 )) )")});
    }
    switch (BalanceType) {
      case 0:
        if (!BCODE.trimmed().isEmpty()) {
          setQuery(AA4 ? QStringLiteral("SELECT * From SP_Sisanhyo_BumonGokei_A4( :TAX, :BCODE ) ")
                       : QStringLiteral("SELECT * From SP_Sisanhyo_BumonGokei_A3( :TAX, :BCODE ) "));
          q.setParam(QStringLiteral("BCODE"), BCODE);
        } else {
          setQuery(AA4 ? QStringLiteral("SELECT * From SP_SISANHYO_A4( :TAX, '' , '' ) ")
                       : QStringLiteral("SELECT * From SP_SISANHYO_A3(:TAX, '', '' ) "));
        }
        return fnSisanhyoRecSet(false, false);
      case 1:
        setQuery(AA4 ? QStringLiteral("SELECT * From SP_SISANHYO_A4( :TAX, '' ,:SITENGROUP ) ")
                     : QStringLiteral("SELECT * From SP_SISANHYO_A3(:TAX, '', :SITENGROUP) "));
        q.setParam(QStringLiteral("SITENGROUP"), SCODE);
        return fnSisanhyoRecSet(false, false);
      case 2:
        setQuery(AA4 ? QStringLiteral("SELECT * From SP_SISANHYO_A4( :TAX, :SCODE , '' ) ")
                     : QStringLiteral("SELECT * From SP_SISANHYO_A3(:TAX, :SCODE , '' ) "));
        q.setParam(QStringLiteral("SCODE"), SCODE);
        return fnSisanhyoRecSet(false, false);
      case 3:
        setQuery(AA4 ? QStringLiteral("SELECT * From SP_SISANHYO_BUMON_A4( :TAX, :HAIBUN, :SCODE, :BCODE ) ")
                     : QStringLiteral("SELECT * From SP_SISANHYO_BUMON_A3( :TAX, :HAIBUN, :SCODE, :BCODE ) "));
        setDepartmentParams(BCODE);
        return fnSisanhyoRecSet(false, false);
      case 4:
        return readDepartments(
            AA4 ? QStringLiteral("SELECT * From SP_SISANHYO_BUMON_A4( :TAX, :HAIBUN,  :SCODE, :BCODE) ")
                : QStringLiteral("SELECT * From SP_SISANHYO_BUMON_A3( :TAX, :HAIBUN, :SCODE, :BCODE ) "),
            false);
      case 6:
        return pcSisetuBumonRead(B, S, breakdownSettings());
      default:
        return -1;
    }
  }

  // The settings the facility and department breakdown reads with.
  TCalcSisanhyoSettingRec breakdownSettings() const
  {
    return fnBreakdownSetting(BCODE, BalanceType, ZeiKbn, BumonHaifu, LayoutKbn, YousikiKbn, ZenkiZeiAtukai);
  }

  int readStatement()
  {
    setQuery(QStringLiteral("SELECT * FROM SP_SISANHYO_KESSAN( :TAX , :ZENTAX ) "));
    q.setParam(QStringLiteral("ZENTAX"), ZenkiZeiAtukai > 0 ? 1 : -1);
    const int last = fnSisanhyoRecSet(true, false);

    auto key = [this](int n, const char* k) { S[lineRow(n)].Key = QString::fromLatin1(k); };
    auto name = [this](int n) -> QString& { return B[lineRow(n)].KAMOKU.KNAME; };
    auto balanceLine = [this](int n, const char* group) {
      TBALANCE& r = B[lineRow(n)];
      r.KAMOKU.GROUPM1 = QString::fromLatin1(group);
      r.KAMOKU.GROUPM2 = r.KAMOKU.GROUPM1;
      r.KAMOKU.BPFLG = QStringLiteral("B");
      r.WFLG = 0;
    };
    if (BalanceType == 10 || BalanceType == 30) {
      key(5, "110/");
      key(9, "140-");
      key(6, "140/");
      key(7, "160/");
      key(8, "170/");
      key(10, "180/");
      key(12, "210/");
      key(13, "220/");
      key(14, "230/");
      key(23, "310/");
      key(19, "320/");
      key(18, "322/");
      key(22, "330/");
      key(21, "332/");
      key(24, "350/");
      key(25, "360/");
      key(28, "410/");
      key(30, "510/");
      key(37, "610/");
      key(39, "710/");
      key(40, "720/");
      key(42, "810/");
      key(43, "820/");
      key(31, "551/");
      key(32, "560/");
      key(46, "565/");
      key(33, "570/");
      name(18) = QStringLiteral("その他") + name(19);
      name(21) = QStringLiteral("その他") + name(22);
      name(31) = QStringLiteral("【") + AccInf.SEIZOGENKA_ZAIRYOHI + QStringLiteral("】");
      name(32) = QStringLiteral("【") + AccInf.SEIZOGENKA_ROUMUHI + QStringLiteral("】");
      name(46) = QStringLiteral("【") + AccInf.SEIZOGENKA_GAICHUHI + QStringLiteral("】");
      name(33) = QStringLiteral("【") + AccInf.SEIZOGENKA_SEIZOKEIHI + QStringLiteral("】");
      balanceLine(18, "3270");
      balanceLine(21, "3330");
      balanceLine(25, "3680");
    } else if (BalanceType == 20) {
      name(31) = AccInf.SEIZOGENKA_ZAIRYOHI_SUM;
      name(32) = AccInf.SEIZOGENKA_ROUMUHI_SUM;
      name(46) = AccInf.SEIZOGENKA_GAICHUHI_SUM;
      name(33) = AccInf.SEIZOGENKA_SEIZOKEIHI_SUM;
      key(25, "3680");
      balanceLine(25, "3680");
    }
    return last;
  }

  // Regrouping of individual data's statement groups by the account's
  // master record number.
  static void regroup(QString& AGroup, int AMstRec)
  {
    const auto is = [&AGroup](const char* g) { return AGroup == QLatin1String(g); };
    switch (AccInf.CODETYPE) {
      case 1:
        if (is("4100") && AMstRec > 97)
          AGroup = QStringLiteral("7100");
        else if (is("6100") && AMstRec > 97)
          AGroup = QStringLiteral("7200");
        else if (is("7100") && AMstRec < 98)
          AGroup = QStringLiteral("4100");
        else if (is("7200") && AMstRec < 98)
          AGroup = QStringLiteral("6100");
        break;
      case 2:
        if (is("6100") && AMstRec > 63)
          AGroup = QStringLiteral("7200");
        else if (is("7200") && AMstRec < 64)
          AGroup = QStringLiteral("6100");
        break;
      case 4:
        if (is("4100") && AMstRec > 78)
          AGroup = QStringLiteral("7100");
        else if (is("6100") && AMstRec > 78)
          AGroup = QStringLiteral("7200");
        else if (is("7100") && AMstRec < 79)
          AGroup = QStringLiteral("4100");
        else if (is("7200") && AMstRec < 79)
          AGroup = QStringLiteral("6100");
        break;
      default:
        break;
    }
  }

  // Places every record of the prepared query into account rows from row
  // 51 on; returns the last account row written (50 when none).
  int fnSisanhyoRecSet(bool AKessan, bool ATegataByCode)
  {
    if (!q.isPrepared())
      q.prepare();
    q.open();
    Columns c(q);
    int t = kFirst - 1;
    int uketori = 0, waribiki = 0, uragaki = 0;
    const QString amountCols[2] = {QStringLiteral("KAR%1"), QStringLiteral("KAS%1")};
    while (!q.eof()) {
      if (q.field(c("GROUPM1")).asString() == QLatin1String("9900")) {
        q.next();
        continue;
      }
      ++t;
      ensureRow(B, S, t);
      TBALANCE& r = B[static_cast<std::size_t>(t)];
      TKMKREC& k = r.KAMOKU;
      k.GROUPM1 = q.field(c("GROUPM1")).asString();
      k.GROUPM2 = q.field(c("GROUPM2")).asString();
      k.USERCODE = q.field(c("USERCODE")).asString();
      k.KCODE = q.field(c("KCODE")).asString();
      k.KNAME = q.field(c("KNAME")).asString();
      k.BPFLG = q.field(c("BSPL")).asString();
      k.DAC = q.field(c("TAISHAKU")).asInt();

      int j = 0;
      if (LayoutKbn == 0) {
        j = q.field(c("HOJCNT")).asInt();
      } else if (LayoutKbn == 1 || LayoutKbn == 2 || AKessan) {
        r.WMSTREC = q.field(c("MSTREC")).asInt();
        r.WSUBREC = q.field(c("SUBREC")).asInt();
        if (!k.KCODE.isEmpty()) {
          if (k.KCODE == AccInf.UKETORI_TEGATA)
            uketori = t;
          if (k.KCODE == AccInf.WARIBIKI_TEGATA)
            waribiki = t;
          if (k.KCODE == AccInf.URAGAKI_TEGATA)
            uragaki = t;
        }
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

      if (AKessan) {
        if (BalanceType == 30) {
          const Currency k1 = q.field(c("KISHU1")).asCurrency();
          for (int n = -15; n <= 0; ++n) {
            const Currency v = q.field(c(("ZANM" + twoDigits(-n)).toLatin1().constData())).asCurrency();
            r.TZANDAKA[n] = (n == -15) ? v + k1 : r.TZANDAKA[n - 1] + v;
            r.EZANDAKA[n] = v;
          }
        }
        if (AccInf.KAISINO > 1) {
          const int m = fnKaisiKikanSu(AccInf.KAISINO);
          const Currency k0 = q.field(c("KISHU0")).asCurrency();
          r.KKousei = k0;
          for (int n = 1; n <= m; ++n) {
            const Currency v = q.field(c(("ZANP" + twoDigits(n)).toLatin1().constData())).asCurrency();
            r.TZANDAKA[n] = (n == 1) ? v + k0 : r.TZANDAKA[n - 1] + v;
            r.EZANDAKA[n] = v;
          }
        }
      }

      TQSORT& key = S[static_cast<std::size_t>(t)];
      key.Rec = t;
      if (LayoutKbn == 0) {
        key.Key = (k.GROUPM1 == QLatin1String("5300") ? QStringLiteral("5881") : k.GROUPM2) + fitLeft(k.USERCODE, 4);
      } else if (LayoutKbn == 1 || LayoutKbn == 2) {
        key.Key = k.GROUPM2 + twoDigits(q.field(c("SUBREC")).asInt());
      } else if (AKessan) {
        if (AccInf.DATATYPE == 2)
          regroup(k.GROUPM1, q.field(c("MSTREC")).asInt());
        key.Key = k.GROUPM1 + twoDigits(q.field(c("SUBREC")).asInt());
      }

      q.next();
      if (LayoutKbn == 0 && j >= 1)
        placeSubAccounts(q, c, B[static_cast<std::size_t>(t)]);
    }
    q.close();

    if ((AKessan || ATegataByCode) && AccInf.DATATYPE == 1 && SystemDef.KessansyoTegataSosai == 1) {
      if (uketori == 0)
        uketori = fnTegataRecFind(AccInf.UKETORI_TEGATA, ATegataByCode, t);
      if (waribiki == 0)
        waribiki = fnTegataRecFind(AccInf.WARIBIKI_TEGATA, ATegataByCode, t);
      if (uragaki == 0)
        uragaki = fnTegataRecFind(AccInf.URAGAKI_TEGATA, ATegataByCode, t);
      if (waribiki == uragaki)
        uragaki = 0;
      if (uketori != 0) {
        if (waribiki != 0)
          pcTegataSosai(uketori, waribiki, 48);
        if (uragaki != 0)
          pcTegataSosai(uketori, uragaki, 49);
      }
    }
    return t;
  }

  // Row of a bill account among the placed account rows: by account code,
  // or by the account's statement line; 0 when none.
  int fnTegataRecFind(const QString& ACode, bool AByCode, int ALast)
  {
    if (ACode.isEmpty())
      return 0;
    if (AByCode) {
      for (int i = kFirst; i <= ALast; ++i)
        if (B[static_cast<std::size_t>(i)].KAMOKU.KCODE == ACode)
          return i;
      return 0;
    }
    db::Query s(tr);
    s.setSql(QStringLiteral("SELECT EXT1_KS FROM KAMOKUMST WHERE KCODE=:TOKUTEI AND USE>0 "));
    s.setParam(QStringLiteral("TOKUTEI"), ACode);
    s.open();
    if (s.eof())
      return 0;
    const int ks = s.field(0).asInt();
    s.close();
    for (int i = kFirst; i <= ALast; ++i)
      if (B[static_cast<std::size_t>(i)].WMSTREC == ks)
        return i;
    return 0;
  }

  // Offsets discounted (T = 48) or endorsed (T = 49) bills W against the
  // received bills U; row T shows W's figures and W is hidden.
  void pcTegataSosai(int AU, int AW, int AT)
  {
    TBALANCE& U = B[static_cast<std::size_t>(AU)];
    TBALANCE& W = B[static_cast<std::size_t>(AW)];
    TBALANCE& T = B[static_cast<std::size_t>(AT)];
    T.KAMOKU.GROUPM1 = W.KAMOKU.GROUPM1;
    T.KAMOKU.GROUPM2 = W.KAMOKU.GROUPM2;
    T.KAMOKU.USERCODE = W.KAMOKU.USERCODE;
    T.KAMOKU.KCODE = W.KAMOKU.KCODE;
    T.KAMOKU.KNAME = W.KAMOKU.KNAME;
    T.KAMOKU.BPFLG = W.KAMOKU.BPFLG;
    T.KAMOKU.DAC = W.KAMOKU.DAC;
    T.KAISIZAN = W.KAISIZAN;
    if (W.KAMOKU.DAC == 3)
      U.KAISIZAN -= W.KAISIZAN;
    else
      U.KAISIZAN += W.KAISIZAN;
    const bool uDebit = isDebitNatured(U.KAMOKU.DAC);
    for (int n = -15; n <= 0; ++n) {
      if (uDebit) {
        U.TZANDAKA[n] -= W.TZANDAKA[n];
        U.EZANDAKA[n] -= W.EZANDAKA[n];
      } else {
        U.TZANDAKA[n] += W.TZANDAKA[n];
        U.EZANDAKA[n] += W.EZANDAKA[n];
      }
    }
    for (int n = 1; n <= 16; ++n) {
      U.KARSUM[n] += W.KARSUM[n];
      U.KASSUM[n] += W.KASSUM[n];
      U.EZANDAKA[n] = signedMove(U.KAMOKU.DAC, U.KARSUM[n], U.KASSUM[n]);
      U.TZANDAKA[n] = U.TZANDAKA[n - 1] + U.EZANDAKA[n];
      T.KARSUM[n] = W.KARSUM[n];
      T.KASSUM[n] = W.KASSUM[n];
      T.EZANDAKA[n] = W.EZANDAKA[n];
      T.TZANDAKA[n] = W.TZANDAKA[n];
      W.KARSUM[n] = Currency();
      W.KASSUM[n] = Currency();
    }
    for (int n = -15; n <= 16; ++n) {
      W.EZANDAKA[n] = Currency();
      W.TZANDAKA[n] = Currency();
    }
    W.KAISIZAN = Currency();
    S[static_cast<std::size_t>(AW)].Key = HiddenSortKey();
  }
};

}  // namespace

bool pcSisanhyoRead_Ippan(TBalanceArray& ABalance, TQSortArray& ASort, const QString& ASCODE, const QString& ABCODE,
                          int AZeiKbn, int ABalanceType, int ALayoutKbn, int AYousikiKbn, int ABumonHaifu,
                          int AZenkiZeiAtukai)
{
  return runTrialBalanceReading(ABalance, ASort, [&](db::Transaction& tr) {
    GeneralReader reader(ABalance, ASort, tr, ASCODE, ABCODE, AZeiKbn, ABalanceType, ALayoutKbn, AYousikiKbn,
                         ABumonHaifu, AZenkiZeiAtukai);
    reader.run();
  });
}
