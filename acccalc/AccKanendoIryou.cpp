// Prior-year and budget reading for medical-corporation data.
#include <QStringList>

#include "acccalc/AccCalc.h"
#include "acccalc/AccCalcEnv.h"
#include "acccalc/AccCalcUtil.h"
#include "acccalc/AccKanendo.h"
#include "acctables/AccCodeTable.h"
#include "acctables/AccKikan.h"
#include "common/AccRecord.h"
#include "db/Query.h"
#include "db/Transaction.h"

using namespace acccalc;

namespace {

const int kFirst = FirstAccountRowMedical;  // 61

class MedicalKanendo {
 public:
  MedicalKanendo(TBalanceArray& B, TQSortArray& S, db::Transaction& tr, const QString& SCODE, const QString& BCODE,
                 int ZeiKbn, int BalanceType, int LayoutKbn, int BumonHaifu, int JigyoKbn)
      : B(B),
        S(S),
        q(tr),
        SCODE(SCODE),
        BCODE(BCODE),
        ZeiKbn(ZeiKbn),
        BalanceType(BalanceType),
        LayoutKbn(LayoutKbn),
        BumonHaifu(BumonHaifu),
        JigyoKbn(JigyoKbn)
  {
    placer.FMedical = true;
    placer.FUseGroupR2 = JigyoKbn == 2 || JigyoKbn == 4;
  }

  void run(int AZenkiZeiAtukai)
  {
    FZenkiZeiAtukai = AZenkiZeiAtukai;
    if (AZenkiZeiAtukai == 1) {
      q.setSql(QStringLiteral("SELECT KURIKOSI1 FROM ACCDEF1 WHERE REC=1 "));
      q.open();
      if (!q.eof())
        ZeiKbn = q.field(0).asInt();
      q.close();
    }
    readKeihKubun(q, B, kFirst);
    if (BalanceType == 6 && LayoutKbn >= 0 && LayoutKbn <= 4) {
      const bool lineLayout = LayoutKbn <= 2;
      pcSisetuBumonKakoRead(B, S,
                            fnBreakdownSetting(BCODE, BalanceType, ZeiKbn, BumonHaifu, LayoutKbn, lineLayout ? 2 : 1,
                                               lineLayout ? -1 : FZenkiZeiAtukai));
    } else {
      readByLayout();
    }
    for (int p = -32; p <= 16; ++p)
      pcKikanLineCalcu_Iryou(B, p, JigyoKbn);
    openingLines([](TBALANCE& r) -> Currency& { return r.TOUKI_KISHU; });
    for (std::size_t k = 0; k < 3; ++k)
      openingLines([k](TBALANCE& r) -> Currency& { return r.KAISIZAN_A[k]; });
    for (int k = 1; k <= 15; ++k)
      pcYosanLineCalcu_Iryou(k);
  }

 private:
  TBalanceArray& B;
  TQSortArray& S;
  db::Query q;
  QString SCODE, BCODE;
  int ZeiKbn, BalanceType, LayoutKbn, BumonHaifu, JigyoKbn;
  TKanendoPlacer placer{B, kFirst};
  int FZenkiZeiAtukai = 0;

  bool lines() const { return LayoutKbn != 0; }

  // Sets the statement and every parameter it names.
  void setQuery(const QString& ASql, const QString& ABumon)
  {
    q.setSql(ASql);
    if (q.hasParam(QStringLiteral("TAX")))
      q.setParam(QStringLiteral("TAX"), ZeiKbn);
    if (q.hasParam(QStringLiteral("SCODE")))
      q.setParam(QStringLiteral("SCODE"), SCODE);
    if (q.hasParam(QStringLiteral("GCODE")))
      q.setParam(QStringLiteral("GCODE"), SCODE);
    if (q.hasParam(QStringLiteral("BCODE")))
      q.setParam(QStringLiteral("BCODE"), ABumon);
    if (q.hasParam(QStringLiteral("HAIBUN")))
      q.setParam(QStringLiteral("HAIBUN"), BumonHaifu);
    if (q.hasParam(QStringLiteral("JIGYOU")))
      q.setParam(QStringLiteral("JIGYOU"), JigyoKbn);
  }

  void read(const char* AKanendo, const char* AYosan, const QString& ABumon)
  {
    if (AKanendo) {
      setQuery(QString::fromLatin1(AKanendo), ABumon);
      placer.placeKanendo(q, lines());
    }
    if (AYosan) {
      setQuery(QString::fromLatin1(AYosan), ABumon);
      placer.placeYosan(q, lines());
    }
  }

  void read(const char* AKanendo, const char* AYosan) { read(AKanendo, AYosan, BCODE); }

  // Balance type 4: the departments of the group within the facility, each
  // in turn.
  void readDepartments(const char* AKanendo, const char* AYosan)
  {
    QStringList list;
    q.setSql(
        QStringLiteral("SELECT BCODE FROM GROUPLIST WHERE GCODE=:GCODE AND ( BCODE IN (SELECT BCODE FROM SISETUBUM "
                       "WHERE SCODE=:SCODE)) "));
    q.setParam(QStringLiteral("GCODE"), BCODE);
    q.setParam(QStringLiteral("SCODE"), SCODE);
    for (q.open(); !q.eof(); q.next())
      list << q.field(0).asString();
    q.close();
    for (const QString& code : list)
      read(AKanendo, AYosan, code);
  }

  void readByLayout()
  {
    const bool bumon = !BCODE.trimmed().isEmpty();
    switch (LayoutKbn) {
      case 0:
        switch (BalanceType) {
          case 0:
            if (bumon)
              read("SELECT * FROM SP_KANENDO_BUMONGOKEI( :TAX, :BCODE, 0 ) ",
                   "SELECT * FROM SP_YOSAN_BUMONGOKEI( :TAX, :BCODE, 0 )");
            else
              read("SELECT * From SP_KANENDO_ZANDAKA( '', :TAX , 0 ) ", "SELECT * FROM SP_YOSAN( :TAX, '' , 0 )");
            return;
          case 1:
            if (bumon)
              read("SELECT * FROM SP_KANENDO_BUMONGOKEI( :TAX, :BCODE, :JIGYOU ) ",
                   "SELECT * FROM SP_YOSAN_BUMONGOKEI( :TAX, :BCODE, :JIGYOU )");
            else
              read("SELECT * From SP_KANENDO_ZANDAKA( '', :TAX , :JIGYOU ) ",
                   "SELECT * FROM SP_YOSAN( :TAX ,'' ,:JIGYOU  )");
            return;
          case 2:
            read("SELECT * From SP_KANENDO_ZANDAK_SISETU( :SCODE , :TAX ) ",
                 "SELECT * FROM SP_YOSAN_SISETU(:TAX, :SCODE )");
            return;
          case 3:
            read("SELECT * From SP_KANENDO_BUMON_ZANDAKA( :SCODE, :BCODE, :TAX  ,:HAIBUN ) ",
                 "SELECT * FROM SP_YOSAN_BUMON( :TAX, :SCODE, :BCODE ,:HAIBUN )");
            return;
          case 4:
            readDepartments("SELECT * From SP_KANENDO_BUMON_ZANDAKA( :SCODE, :BCODE,  :TAX ,:HAIBUN ) ",
                            "SELECT * FROM SP_YOSAN_BUMON( :TAX, :SCODE, :BCODE ,:HAIBUN )");
            return;
          case 5:
            read("SELECT * FROM SP_KANENDO_ZANDAKA_GROUP( :GCODE , :TAX ) ",
                 "SELECT * FROM SP_YOSAN_GROUP( :TAX, :GCODE )");
            return;
          default:
            return;
        }
      case 1:
        switch (BalanceType) {
          case 1:
            if (bumon)
              read("SELECT * From SP_KANENDO_JIGYOBETUBUMON_A4(:TAX ,:BCODE, :JIGYOU ) ",
                   "SELECT * FROM SP_YOSAN_JIGYOBETUBUMON_A4( :BCODE, :JIGYOU )");
            else
              read("SELECT * From SP_KANENDO_ZANDAKA_A4( '' ,:TAX ,:JIGYOU ) ",
                   "SELECT * FROM SP_YOSAN_A4( '' , :JIGYOU )");
            return;
          case 2:
            read("SELECT * From SP_KANENDO_ZANDAKA_A4( :SCODE ,:TAX ,0 ) ", "SELECT * FROM SP_YOSAN_A4( :SCODE , 0 )");
            return;
          case 3:
            read("SELECT * From SP_KANENDO_BUMON_ZANDAKA_A4(  :SCODE, :BCODE, :TAX ,:HAIBUN )",
                 "SELECT * FROM SP_YOSAN_BUMON_A4( :SCODE ,:BCODE ,:HAIBUN )");
            return;
          case 4:
            readDepartments("SELECT * From SP_KANENDO_BUMON_ZANDAKA_A4( :SCODE, :BCODE ,:TAX ,:HAIBUN ) ",
                            "SELECT * FROM SP_YOSAN_BUMON_A4( :SCODE ,:BCODE ,:HAIBUN )");
            return;
          default:
            return;
        }
      case 2:
        switch (BalanceType) {
          case 0:
            SCODE.clear();
            read("SELECT * From SP_KANENDO_ZANDAKA_A3( :TAX, :SCODE ) ", nullptr);
            return;
          case 1:
            read("SELECT * From SP_KANENDO_JIGYOBETU_A3( :TAX, :JIGYOU ) ", nullptr);
            return;
          case 2:
            read("SELECT * From SP_KANENDO_ZANDAKA_A3( :TAX, :SCODE ) ", nullptr);
            return;
          default:
            return;
        }
      case 3:
      case 4:
        switch (BalanceType) {
          case 0:
            if (bumon)
              read("SELECT * FROM SP_KANENDO_BUMONGOKEI_KS( :TAX ,:BCODE, :JIGYOU )",
                   "SELECT * FROM SP_YOSAN_BUMONGOKEI_KS( :BCODE )");
            else
              read("SELECT * FROM SP_KANENDO_ZANDAKA_KESSAN( '','' , :TAX , 0)",
                   "SELECT * FROM SP_YOSAN_KESSAN( '','' , 0)");
            return;
          case 1:
            read("SELECT * FROM SP_KANENDO_ZANDAKA_KESSAN( '','' , :TAX, :JIGYOU) ",
                 "SELECT * FROM SP_YOSAN_KESSAN( '','' , :JIGYOU)");
            return;
          case 2:
            read("SELECT * FROM SP_KANENDO_ZANDAKA_KESSAN( :SCODE ,'', :TAX, 0) ",
                 "SELECT * FROM SP_YOSAN_KESSAN( :SCODE,'' , 0)");
            return;
          case 5:
            read("SELECT * FROM SP_KANENDO_ZANDAKA_KESSAN( '', :GCODE , :TAX , 0) ",
                 "SELECT * FROM SP_YOSAN_KESSAN( '',:GCODE ,0)");
            return;
          default:
            return;
        }
      default:
        return;
    }
  }

  TBALANCE& L(int n) { return B[static_cast<std::size_t>(n)]; }

  template <typename Get>
  void openingLines(const Get& X)
  {
    auto x = [&](int n) -> Currency& { return X(L(n)); };
    x(2) = x(2) + x(1);
    x(5) = x(2) + x(3) + x(4);
    x(9) = x(6) + x(7) + x(8);
    x(11) = x(5) + x(9) + x(10);
    x(14) = x(12) + x(13);
    x(19) = x(11) - (x(14) + x(15) + x(16) + x(17) + x(18) + x(22));
    x(21) = x(17) + x(18) + x(19);
    x(23) = x(15) + x(16) + x(21) + x(22);
    x(24) = x(14) + x(23);
  }

  template <typename Get>
  void budgetFormulas(const Get& X)
  {
    auto x = [&](int n) -> Currency& { return X(L(n)); };
    x(26) = x(25) + x(26);
    x(28) = x(27) + x(28);
    x(30) = x(29) + x(30);
    x(32) = x(26) + x(28) + x(30) + x(31);
    Currency s;
    for (int n = 33; n <= 40; ++n)
      s += x(n);
    x(41) = s;
    x(42) = x(32) - x(41);
    x(45) = x(42) + x(43) - x(44);
    x(48) = x(45) + x(46) - x(47);
    x(49) = x(48) - x(49);
    x(50) = x(49) + x(50);
    x(53) = x(50) + x(51) - x(52);
  }

  // Budget lines of period k: the accounts summed into the lines by their M
  // group codes, then the profit-and-loss formulas.
  void pcYosanLineCalcu_Iryou(int k)
  {
    if (B.size() <= static_cast<std::size_t>(kFirst))
      return;
    const auto p = static_cast<std::size_t>(k);
    QString prev = QStringLiteral("1000");
    for (int n = 1; n <= 53; ++n) {
      TBALANCE& line = L(n);
      if (line.KAMOKU.GROUPM1.isEmpty())
        continue;
      for (std::size_t ri = kFirst; ri < B.size(); ++ri) {
        const TBALANCE& r = B[ri];
        const QString& g = r.KAMOKU.GROUPM1;
        if (!(prev < g && g < line.KAMOKU.GROUPM1))
          continue;
        line.KAMOKU.DAC = r.KAMOKU.DAC;
        const int dac = r.KAMOKU.DAC;
        addBySumClass(dac, line.YOSAN[p], r.YOSAN[p]);
        for (std::size_t b = 0; b < 3; ++b)
          addBySumClass(dac, line.PROYOSAN[b][p], r.PROYOSAN[b][p]);
        addBySumClass(dac, line.PROJISSEKI[p], r.PROJISSEKI[p]);
      }
      prev = line.KAMOKU.GROUPM1;
    }
    budgetFormulas([p](TBALANCE& r) -> Currency& { return r.YOSAN[p]; });
    for (std::size_t b = 0; b < 3; ++b)
      budgetFormulas([p, b](TBALANCE& r) -> Currency& { return r.PROYOSAN[b][p]; });
    budgetFormulas([p](TBALANCE& r) -> Currency& { return r.PROJISSEKI[p]; });
  }
};

// Positions before the start month are emptied for the earlier figures; an
// account "9301" of a year that starts with its first month takes its
// period-1 balance as its movement.
void clearBeforeStart(TBalanceArray& B)
{
  const int s = fnTukiIdxToKikanNo(AccInf.KAISINO - 1);
  for (TBALANCE& r : B) {
    if (AccInf.KAISINO == 1 && r.KAMOKU.KCODE == QLatin1String("9301"))
      r.EZANDAKA[1] = r.TZANDAKA[1];
    for (int p = 0; p <= s - 1; ++p) {
      r.EZANDAKA[p] = r.TZANDAKA[p] = Currency();
      for (THOJOUTIWAKE& h : r.HOJOUTIWAKE)
        h.EZANDAKA[p] = h.TZANDAKA[p] = Currency();
    }
  }
}

}  // namespace

bool pcKanendoYosanRead_Iryou(TBalanceArray& ABalance, TQSortArray& ASort, const QString& ASCODE, const QString& ABCODE,
                              int AZeiKbn, int ABalanceType, int ALayoutKbn, int ABumonHaifu, int AJigyoKbn,
                              int AYousikiKbn, int AZenkiZeiAtukai)
{
  if (!pcSisanhyoRead_Iryou(ABalance, ASort, ASCODE, ABCODE, AZeiKbn, ABalanceType, ALayoutKbn, AYousikiKbn,
                            ABumonHaifu, AJigyoKbn))
    return false;
  clearBeforeStart(ABalance);
  runInSnapshot([&](db::Transaction& tr) {
    MedicalKanendo(ABalance, ASort, tr, ASCODE, ABCODE, AZeiKbn, ABalanceType, ALayoutKbn, ABumonHaifu, AJigyoKbn)
        .run(AZenkiZeiAtukai);
  });
  return true;
}
