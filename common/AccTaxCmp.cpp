#include "common/AccTaxCmp.h"

#include "common/AccDateText.h"
#include "common/AccFunctionNum.h"
#include "common/AccRecord.h"

TTaxKbnList TaxKbnList;
TZeiRituList ZeirituList;
int ZeirituLow = 0;
int ZeirituHigh = 0;

namespace {

TTaxMasterReader& reader()
{
  static TTaxMasterReader r;
  return r;
}

bool in(int v, int lo, int hi)
{
  return v >= lo && v <= hi;
}

bool isBaseKanniCode(int t)
{
  return t == 110 || t == 310 || t == 610 || t == 630;
}

bool isKanniCategoryCode(int t)
{
  return in(t, 111, 116) || in(t, 311, 316) || in(t, 611, 616) || in(t, 631, 636);
}

bool isCounterpart(int t)
{
  return t == 810 || t == 910;
}

const QString kTokuteiCodes = QStringLiteral("[551,552,553,581,582,583]");

}  // namespace

void pcSetTaxMasterReader(TTaxMasterReader r)
{
  reader() = std::move(r);
}

namespace {
int taxMasterHolds = 0;
bool taxMasterHeld = false;  // the held master was read
}  // namespace

TTaxMasterHold::TTaxMasterHold()
{
  if (taxMasterHolds++ == 0)
    taxMasterHeld = false;
  fnReloadTaxKbnList();
}

TTaxMasterHold::~TTaxMasterHold()
{
  if (--taxMasterHolds == 0)
    taxMasterHeld = false;
}

bool fnReloadTaxKbnList()
{
  if (taxMasterHolds > 0 && taxMasterHeld)
    return true;
  TaxKbnList.clear();
  if (!reader())
    return false;
  TTaxKbnList fresh;
  if (!reader()(fresh))
    return false;
  TaxKbnList = std::move(fresh);
  taxMasterHeld = taxMasterHolds > 0;
  return true;
}

int fnConvTaxCodeKanni(int& TaxCode)
{
  if (AccInf.TAXKANNI == 1) {
    if (isBaseKanniCode(TaxCode))
      TaxCode += AccInf.TAXJIGYOU;
  } else if (isKanniCategoryCode(TaxCode)) {
    TaxCode = TaxCode / 10 * 10;
  }
  return TaxCode;
}

bool fnGetTaxKbnInfo(int TCode, QString& GName, QString& TName, int& SinkokuKbn, int& KariukeKaribaraiKbn,
                     int& TaishakuKbn, int& ClassKbn)
{
  fnReloadTaxKbnList();
  GName = QStringLiteral("Error");
  TName.clear();
  SinkokuKbn = 9;
  KariukeKaribaraiKbn = 0;
  TaishakuKbn = 0;
  ClassKbn = 0;
  for (const auto& r : TaxKbnList) {
    if (r.TCODE != TCode)
      continue;
    GName = r.GNAME;
    TName = r.TNAME;
    SinkokuKbn = r.SinkokuKbn;
    KariukeKaribaraiKbn = r.KariukeKaribaraiKbn;
    TaishakuKbn = r.TaishakuKbn;
    ClassKbn = r.ClassKbn;
    return true;
  }
  return false;
}

bool fnGetTaxKbn(int TCode, QString& GName, QString& TName, int& SinkokuKbn, int& KariukeKaribaraiKbn, int& TaishakuKbn)
{
  int classKbn = 0;
  return fnGetTaxKbnInfo(TCode, GName, TName, SinkokuKbn, KariukeKaribaraiKbn, TaishakuKbn, classKbn);
}

void pcGetTaxKbnRec(int TCode, TTaxKbnRec& Rec)
{
  Rec.TCODE = TCode;
  fnGetTaxKbnInfo(TCode, Rec.GNAME, Rec.TNAME, Rec.SinkokuKbn, Rec.KariukeKaribaraiKbn, Rec.TaishakuKbn, Rec.ClassKbn);
}

int fnGetKariukeKaribaraiKbn(int TCode)
{
  TTaxKbnRec rec;
  pcGetTaxKbnRec(TCode, rec);
  return rec.KariukeKaribaraiKbn;
}

bool fnCheckTaxCodeKamoku(QString& Msg, const QString& KCode, int T)
{
  if (KCode == AccInf.UC_KARIHARAIZ) {
    const bool ok =
        in(T, 711, 716) || in(T, 721, 726) || in(T, 731, 733) || in(T, 761, 766) || in(T, 771, 776) || isCounterpart(T);
    if (!ok) {
      Msg = QStringLiteral("仮払消費税の税コードは[700番台,810,910]を使用してください。");
      return false;
    }
    Msg.clear();
  } else if (in(T, 700, 799)) {
    Msg = QStringLiteral("税コードが[700番台]は、科目に仮払消費税を使用してください。");
    return false;
  }

  if (KCode == AccInf.UC_KARIUKEZ) {
    const QString wrong = QStringLiteral("仮受消費税の税コードは[600番台,810,910]を使用してください。");
    if (AccInf.TAXKANNI == 0) {
      if (T == 610 || T == 620 || T == 630 || T == 640 || isCounterpart(T)) {
        Msg.clear();
      } else if (in(T, 611, 616) || in(T, 631, 636)) {
        Msg = QStringLiteral("注意：原則課税が選択されています。");
      } else {
        Msg = wrong;
        return false;
      }
    }
    if (AccInf.TAXKANNI == 1) {
      if (T == 610 || T == 630) {
        Msg = QStringLiteral("注意：簡易課税が選択されています。");
      } else if (in(T, 611, 616) || T == 620 || in(T, 631, 636) || T == 640 || isCounterpart(T)) {
        Msg.clear();
      } else {
        Msg = wrong;
        return false;
      }
    }
  } else if (in(T, 600, 699)) {
    Msg = QStringLiteral("税コードが[600番台]は、科目に仮受消費税を使用してください。");
    return false;
  }
  return true;
}

bool fnCheckAiteTaxCode(QString& Msg, const QString& KCode, int& OtherTaxCode)
{
  if ((KCode == AccInf.UC_KARIHARAIZ || KCode == AccInf.UC_KARIUKEZ) && !isCounterpart(OtherTaxCode)) {
    Msg = QStringLiteral("仮受消費税、仮払消費税の相手税コードは[810,910]を使用してください。");
    OtherTaxCode = 810;
    return false;
  }
  return true;
}

bool fnCheckSyokutiTaxCode(QString& Msg, const QString& KCode, int& TaxCode)
{
  if (KCode == AccInf.UC_SHOKUTI && !isCounterpart(TaxCode)) {
    Msg = QStringLiteral("諸口の消費税コードは、[810,910]を使用してください。");
    TaxCode = 810;
    return false;
  }
  return true;
}

bool fnIsTokuteiShiireCode(int TaxCode)
{
  return in(TaxCode, 551, 553) || in(TaxCode, 581, 583);
}

bool fnCheckTokuteiShiire(QString& Msg, int& TaxCode, int RateKbn, TDateTime Date)
{
  if (!fnIsTokuteiShiireCode(TaxCode))
    return true;
  bool result = true;
  const TDateTime start = EncodeDate(2015, 10, 1);
  if (Date < start) {
    Msg = QStringLiteral("特定課税仕入れ用の消費税コード") + kTokuteiCodes + QStringLiteral("では[") +
          fnDateToWarekiText(QStringLiteral("yyyy/mm/dd"), 3, start) +
          QStringLiteral("]より前の取引を登録できません。");
    result = false;
  }
  QString rate;
  switch (RateKbn) {
    case 1:
      rate = QStringLiteral("3%");
      break;
    case 2:
      rate = QStringLiteral("5%");
      break;
    case 4:
      rate = QStringLiteral("軽減8%");
      break;
    default:
      break;
  }
  if (!rate.isEmpty()) {
    Msg = QStringLiteral("特定課税仕入れ用の消費税コード") + kTokuteiCodes + QStringLiteral("では税率[") + rate +
          QStringLiteral("]は使用できません。");
    result = false;
  }
  return result;
}

int fnGetKoujoRitu(int TaxCode, Currency& Ratio)
{
  Ratio = Currency::fromInt(100);
  auto block = [&](int lo) {
    return in(TaxCode, 510 + lo, 512 + lo) || in(TaxCode, 560 + lo, 562 + lo) || in(TaxCode, 710 + lo, 712 + lo) ||
           in(TaxCode, 760 + lo, 762 + lo);
  };
  if (block(1))
    return 0;
  if (block(4)) {
    Ratio = Currency::fromInt(80);
    return 1;
  }
  if (block(7)) {
    Ratio = Currency::fromInt(50);
    return 2;
  }
  return -1;
}

bool fnCheckKoujoRitu(int TaxCodeL, int TaxCodeR)
{
  auto ratio = [](int code) {
    switch (fnGetKariukeKaribaraiKbn(code)) {
      case 1:
        return Currency::fromInt(100);
      case 2: {
        Currency r;
        fnGetKoujoRitu(code, r);
        return r;
      }
      default:
        return Currency();
    }
  };
  const Currency l = ratio(TaxCodeL), r = ratio(TaxCodeR);
  return !(l > Currency() && r > Currency() && l != r);
}

void pcZeirituListInit()
{
  ZeirituList.clear();
  auto row = [](const char16_t* name, int ritu, int kbn, int sinkoku, const char* start, int vmaj, int vmin,
                bool genkou, bool hyoujun, int idx) {
    TZeiRituRec r;
    r.Name = QString::fromUtf16(name);
    r.Ritu = Currency::fromInt(ritu);
    r.RateKbn = kbn;
    r.SinkokuKbn = sinkoku;
    r.StartDate = QString::fromLatin1(start);
    r.VerMajor = vmaj;
    r.VerMinor = vmin;
    r.GenkouKbn = genkou;
    r.HyoujunKbn = hyoujun;
    r.ZeirituIdx = idx;
    r.UseKbn = true;
    return r;
  };
  const QString ver =
      QStringLiteral("%1.%2.%3").arg(AccInf.DataVerMajor).arg(AccInf.DataVerMinor).arg(AccInf.DataVerRev);
  if (fnVersionGreaterEq(ver, QStringLiteral("11.1.0"))) {
    ZeirituList.push_back(row(u"10%", 10, 0, 4, "2019/10/01", 11, 1, true, true, 4));
    ZeirituList.push_back(row(u"8*%", 8, 4, 3, "2019/10/01", 11, 1, true, false, 3));
    ZeirituList.push_back(row(u"8%", 8, 3, 2, "2014/04/01", 6, 1, false, true, 2));
  } else {
    ZeirituList.push_back(row(u"8%", 8, 0, 2, "2014/04/01", 6, 1, true, true, 2));
  }
  ZeirituList.push_back(row(u"5%", 5, 2, 1, "1997/04/01", 1, 0, false, true, 1));
  ZeirituList.push_back(row(u"3%", 3, 1, 0, "1989/04/01", 1, 0, false, true, 0));
  ZeirituLow = 0;
  ZeirituHigh = static_cast<int>(ZeirituList.size()) - 1;
}

Currency fnGetZeiritu(int RateKbn, TDateTime /*Date*/)
{
  if (ZeirituList.empty())
    pcZeirituListInit();
  for (const auto& r : ZeirituList)
    if (r.RateKbn == RateKbn)
      return r.Ritu;
  return ZeirituList.front().Ritu;
}

int fnGetZeirituKbnByDate(int K, TDateTime D)
{
  if (ZeirituList.empty())
    pcZeirituListInit();
  for (const auto& r : ZeirituList)
    if (r.RateKbn == K && !r.HyoujunKbn)
      return K;
  int R = 0;
  for (const auto& r : ZeirituList) {
    if (fnStrToDateTimeJP(r.StartDate) <= D) {
      R = r.RateKbn;
      break;
    }
  }
  if (R != K) {
    for (const auto& r : ZeirituList)
      if (r.RateKbn == K && fnStrToDateTimeJP(r.StartDate) <= D)
        return K;
  }
  return R;
}

void fnGetZeirituName(int RateKbn, QString& Name, const Currency& Amount)
{
  Name.clear();
  if (Amount == Currency())
    return;
  for (const auto& r : ZeirituList) {
    if (r.RateKbn == RateKbn) {
      Name = r.Name;
      Name.remove(QLatin1Char('%'));
      return;
    }
  }
}
