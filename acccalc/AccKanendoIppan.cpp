// Prior-year and budget reading for general data.
#include <QStringList>

#include "acccalc/AccCalc.h"
#include "acccalc/AccCalcEnv.h"
#include "acccalc/AccCalcUtil.h"
#include "acccalc/AccKanendo.h"
#include "acctables/AccCodeTable.h"
#include "acctables/AccKikan.h"
#include "common/AccRecord.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"

using namespace acccalc;

namespace {

const int kFirst = FirstAccountRowGeneral;

class GeneralKanendo {
 public:
  GeneralKanendo(TBalanceArray& B, TQSortArray& S, db::Transaction& tr, const QString& SCODE, const QString& BCODE,
                 int ZeiKbn, int BalanceType, int LayoutKbn, int BumonHaifu)
      : B(B),
        S(S),
        q(tr),
        SCODE(SCODE),
        BCODE(BCODE),
        ZeiKbn(ZeiKbn),
        BalanceType(BalanceType),
        LayoutKbn(LayoutKbn),
        BumonHaifu(BumonHaifu)
  {
  }

  void run(int AZenkiTaxSw)
  {
    if (AZenkiTaxSw == 1) {
      q.setSql(QStringLiteral("SELECT KURIKOSI1 FROM ACCDEF1 WHERE REC=1"));
      q.open();
      ZeiKbn = (!q.eof() && q.field(0).asInt() == 1) ? 1 : 0;
      q.close();
    }
    clearEarlierPositions(B, true);
    readKeihKubun(q, B, kFirst);
    if (BalanceType == 6) {
      pcSisetuBumonKakoRead(B, S, fnBreakdownSetting(BCODE, BalanceType, ZeiKbn, BumonHaifu, LayoutKbn, 2, -1));
    } else {
      readByBalanceType();
    }
    for (int p = -32; p <= 16; ++p)
      pcTotalLineBuildZan(B, p);
    pcTotalLineBuildKishu(B);
    for (int p = 1; p <= 15; ++p)
      pcTotalLineBuildYosan(B, p);
  }

 private:
  TBalanceArray& B;
  TQSortArray& S;
  db::Query q;
  QString SCODE, BCODE;
  int ZeiKbn, BalanceType, LayoutKbn, BumonHaifu;
  TKanendoPlacer placer{B, kFirst};

  bool lines() const { return LayoutKbn != 0; }

  void kanendo(const QString& ASql, std::initializer_list<std::pair<const char*, QVariant>> AParams)
  {
    setQuery(ASql, AParams);
    placer.placeKanendo(q, lines());
  }

  void yosan(const QString& ASql, std::initializer_list<std::pair<const char*, QVariant>> AParams)
  {
    setQuery(ASql, AParams);
    placer.placeYosan(q, lines());
  }

  void setQuery(const QString& ASql, std::initializer_list<std::pair<const char*, QVariant>> AParams)
  {
    q.setSql(ASql);
    for (const auto& [name, value] : AParams) {
      if (value.typeId() == QMetaType::Int)
        q.setParam(QString::fromLatin1(name), value.toInt());
      else
        q.setParam(QString::fromLatin1(name), value.toString());
    }
  }

  // The queries of each balance type and layout. A layout that has no query
  // for the balance type reads nothing.
  void readByBalanceType()
  {
    const QVariant tax(ZeiKbn);
    const int L = LayoutKbn;
    switch (BalanceType) {
      case 0:
        if (!BCODE.trimmed().isEmpty()) {
          if (L == 0)
            kanendo(QStringLiteral("SELECT * FROM SP_Kanendo_BumonGokei( :TAX, :BCODE)"),
                    {{"TAX", tax}, {"BCODE", BCODE}});
          else if (L == 1)
            kanendo(QStringLiteral("SELECT * FROM SP_Kanendo_BumonGokei_A4( :TAX, :BCODE)"),
                    {{"TAX", tax}, {"BCODE", BCODE}});
          if (L == 0)
            yosan(QStringLiteral("SELECT * FROM SP_Yosan_BumonGokei(:TAX, :BCODE)"), {{"TAX", tax}, {"BCODE", BCODE}});
          else if (L == 1)
            yosan(QStringLiteral("SELECT * FROM SP_Yosan_BumonGokei_A4(:BCODE)"), {{"BCODE", BCODE}});
        } else {
          if (L == 0)
            kanendo(QStringLiteral("SELECT * FROM SP_KANENDO_ZANDAKA( :TAX,'')"), {{"TAX", tax}});
          else if (L == 1)
            kanendo(QStringLiteral("SELECT * FROM SP_KANENDO_ZANDAKA_A4( :TAX,'')"), {{"TAX", tax}});
          else if (L == 2)
            kanendo(QStringLiteral("SELECT * FROM SP_KANENDO_ZANDAKA_A3( :TAX,'')"), {{"TAX", tax}});
          if (L == 0)
            yosan(QStringLiteral("SELECT * FROM SP_YOSAN( :TAX,'' )"), {{"TAX", tax}});
          else if (L == 1)
            yosan(QStringLiteral("SELECT * FROM SP_YOSAN_A4( '' )"), {});
        }
        break;
      case 1:
        kanendo(L == 0 ? QStringLiteral("SELECT * FROM SP_KANENDO_GROUPZANDAKA( :TAX, :SCODE)")
                       : QStringLiteral("SELECT * FROM SP_KANENDO_GROUPZANDAKA_A4( :TAX, :SCODE)"),
                {{"TAX", tax}, {"SCODE", SCODE}});
        if (L == 0)
          yosan(QStringLiteral("SELECT * FROM SP_YOSAN_GROUP( :TAX,:SCODE )"), {{"TAX", tax}, {"SCODE", SCODE}});
        else
          yosan(QStringLiteral("SELECT * FROM SP_YOSAN_GROUP_A4( :SCODE )"), {{"SCODE", SCODE}});
        break;
      case 2:
        if (L == 0)
          kanendo(QStringLiteral("SELECT * FROM SP_KANENDO_ZANDAKA( :TAX, :SCODE)"), {{"TAX", tax}, {"SCODE", SCODE}});
        else if (L == 1)
          kanendo(QStringLiteral("SELECT * FROM SP_KANENDO_ZANDAKA_A4( :TAX, :SCODE)"),
                  {{"TAX", tax}, {"SCODE", SCODE}});
        else if (L == 2)
          kanendo(QStringLiteral("SELECT * FROM SP_KANENDO_ZANDAKA_A3( :TAX, :SCODE)"),
                  {{"TAX", tax}, {"SCODE", SCODE}});
        if (L == 0)
          yosan(QStringLiteral("SELECT * FROM SP_YOSAN( :TAX, :SCODE) "), {{"TAX", tax}, {"SCODE", SCODE}});
        else if (L == 1)
          yosan(QStringLiteral("SELECT * FROM SP_YOSAN_A4(:SCODE)"), {{"SCODE", SCODE}});
        break;
      case 3:
        readDepartment(BCODE, true, true);
        break;
      case 4: {
        QStringList list;
        q.setSql(QStringLiteral("SELECT BCODE FROM GROUPLIST WHERE GCODE=:GCODE"));
        q.setParam(QStringLiteral("GCODE"), BCODE);
        for (q.open(); !q.eof(); q.next())
          list << q.field(0).asString();
        q.close();
        for (const QString& code : list)
          readDepartment(code, true, false);
        for (const QString& code : list)
          readDepartment(code, false, true);
        break;
      }
      default:
        break;
    }
  }

  void readDepartment(const QString& ABumon, bool AKanendo, bool AYosan)
  {
    const QVariant tax(ZeiKbn);
    const QVariant haibun(BumonHaifu);
    if (AKanendo)
      kanendo(LayoutKbn == 0
                  ? QStringLiteral("SELECT * FROM SP_KANENDO_BUMON_ZANDAKA( :TAX, :SCODE, :BCODE, :HAIBUN)")
                  : QStringLiteral("SELECT * FROM SP_KANENDO_BUMON_ZANDAKA_A4( :TAX, :SCODE, :BCODE, :HAIBUN)"),
              {{"TAX", tax}, {"SCODE", SCODE}, {"BCODE", ABumon}, {"HAIBUN", haibun}});
    if (AYosan) {
      if (LayoutKbn == 0)
        yosan(QStringLiteral("SELECT * FROM SP_YOSAN_BUMON( :TAX, :SCODE, :BCODE, :HAIBUN ) "),
              {{"TAX", tax}, {"SCODE", SCODE}, {"BCODE", ABumon}, {"HAIBUN", haibun}});
      else
        yosan(QStringLiteral("SELECT * FROM SP_YOSAN_BUMON_A4( :SCODE, :BCODE, :HAIBUN)"),
              {{"SCODE", SCODE}, {"BCODE", ABumon}, {"HAIBUN", haibun}});
    }
  }
};

}  // namespace

bool pcKanendoYosanRead_Ippan(TBalanceArray& ABalance, TQSortArray& ASort, const QString& ASCODE, const QString& ABCODE,
                              int AZeiKbn, int ABalanceType, int ALayoutKbn, int ABumonHaifu, int AZenkiTaxSw)
{
  if (!pcSisanhyoRead_Ippan(ABalance, ASort, ASCODE, ABCODE, AZeiKbn, ABalanceType, ALayoutKbn,
                            AZenkiTaxSw == 1 ? 3 : 2, ABumonHaifu, -1))
    return false;
  runInSnapshot([&](db::Transaction& tr) {
    GeneralKanendo(ABalance, ASort, tr, ASCODE, ABCODE, AZeiKbn, ABalanceType, ALayoutKbn, ABumonHaifu)
        .run(AZenkiTaxSw);
  });
  return true;
}
