#pragma once

#include "common/AccFunctionNum.h"
// The balance table: one row per account and per statement total line, each
// with its sub-account rows, and the sort keys that give the order in which a
// caller walks the rows. Amounts are Currency throughout.

#include <array>
#include <cstdint>
#include <vector>

#include <QString>

#include "platform/Currency.h"

// Per-period figures indexed by period position -32..19: 1..16 are this
// year's periods, 0 the opening of this year, n-16 period n of the previous
// year and n-32 period n of the year before that. Indexing outside -32..19
// throws std::out_of_range.
template <typename T>
class TPeriodArray {
 public:
  static constexpr int First = -32;
  static constexpr int Last = 19;
  static constexpr int Count = Last - First + 1;  // 52

  T& operator[](int APos) { return m_v.at(static_cast<std::size_t>(APos - First)); }
  const T& operator[](int APos) const { return m_v.at(static_cast<std::size_t>(APos - First)); }
  void fill(const T& AValue) { m_v.fill(AValue); }

 private:
  std::array<T, Count> m_v{};
};

using TPeriodCurr = TPeriodArray<Currency>;

// Facility (branch).
struct TSISREC {
  QString SCODE;
  QString SNAME;
  int BUMEX = 0;
  QString SCLASNAME;
  int ACCCLAS = 0;
  int SUBCLAS = 0;
  QString SADD;
  QString SNUMBER;
  bool CLASBOOL = false;
};

// Department.
struct TBUMREC {
  QString BCODE;
  QString BNAME;
  int ACCCLAS = 0;
  std::array<Currency, 20> HAIBUNRITU{};
};

// Sub-account.
struct THOJREC {
  QString KCODE;
  QString HCODE;
  QString HKANA;
  QString HNAME;
  int REC = 0;
  int TAX_LCODE = 0;
  int TAX_RCODE = 0;
  int ZEIRITUKBN = 0;
};

// Account: one row of the account master.
struct TKMKREC {
  QString KCODE;
  QString USERCODE;
  int REC = 0;
  QString GROUPM1;
  QString GROUPM2;
  QString GROUPR1;
  QString GROUPR2;
  QString KKANA;
  QString KNAME;
  int USE = 0;
  int BLDAC = 0;
  int DAC = 0;  // 1, 4: debit-natured; 2, 3: credit-natured
  int ACCCLAS = 0;
  int CLASLOCK = 0;
  int DELFLG = 0;
  int TAX_LCODE = 0;
  int TAX_RCODE = 0;
  int TAX_NUM = 0;
  int FUN_LCODE = 0;
  int FUN_RCODE = 0;
  QString HOJOSW;
  QString BPFLG;  // "B" balance sheet, "P" profit and loss
  QString KEIHKUBU;
  int CFCODE = 0;
  int EXT1_KS = 0;
  int EXT1_A4 = 0;
  int EXT1_A3 = 0;
  int EXT2_A4 = 0;
  int EXT2_A3 = 0;
  int EXT3_A4 = 0;
  int EXT3_A3 = 0;
  int EXT4_A4 = 0;
  int EXT4_A3 = 0;
  int EXTER1 = 0;
  int EXTER2 = 0;
  int EXTER3 = 0;
  int EXTER4 = 0;
  int HOJBAN = 0;
  int USEDEF = 0;
  int ZEIRITUKBN = 0;
};

// One sub-account row of a balance row.
struct THOJOUTIWAKE {
  QString HCODE;
  QString HNAME;
  int WFLG = 0;
  Currency WNUM1, WNUM2, WNUM3, WNUM4, WNUM5;
  Currency KAISIZAN;
  TPeriodCurr KARSUM, KASSUM, EZANDAKA, TZANDAKA;
  std::array<Currency, 20> YOSAN{};
  std::array<std::array<Currency, 16>, 3> PROYOSAN{};
  std::array<Currency, 16> PROJISSEKI{};
  std::array<int, 16> PROJISSEKIKBN{};
  Currency ZENKI, ZENKI_KOUSEI, SAGAKU, ZENKIHI;
  Currency TOUKI_KISHU;
  std::array<Currency, 3> KAISIZAN_A{};
};

// One balance row: an account or a statement total line.
struct TBALANCE {
  TSISREC SISETU;
  TBUMREC BUMON;
  TKMKREC KAMOKU;
  THOJREC HOJO;
  Currency KAISIZAN;
  Currency KKousei;
  int HOJONUM = 0;  // meaningful elements of HOJOUTIWAKE
  std::vector<THOJOUTIWAKE> HOJOUTIWAKE;
  int WMSTREC = 0;
  int WSUBREC = 0;
  int WCNT = 0;
  int WFLG = 0;
  Currency WNUM1;  // opening of the range
  Currency WNUM2;  // debit sum of the range
  Currency WNUM3;  // credit sum of the range
  Currency WNUM4;  // closing balance of the range
  Currency WNUM5;  // ratio or share, per cent with one decimal
  Currency ZENKI;
  Currency ZENKI_KOUSEI, SAGAKU, ZENKIHI;
  TPeriodCurr KARSUM, KASSUM, EZANDAKA, TZANDAKA, KOUSEI;
  std::array<Currency, 20> YOSAN{};
  std::array<Currency, 20> YKOUSEI{};
  std::array<std::array<Currency, 16>, 3> PROYOSAN{};
  std::array<Currency, 16> PROJISSEKI{};
  std::array<int, 16> PROJISSEKIKBN{};
  int REFER = 0;
  Currency TOUKI_KISHU;
  std::array<Currency, 3> KAISIZAN_A{};
};

// Sort keys (TQSORT, common/AccFunctionNum.h): the caller walks the keys in
// order and reads row Rec of each.

// The key of an entry that stands for no filled row (U+FF9F); it orders after
// every key built from codes.
inline const QString& HiddenSortKey()
{
  static const QString k(QChar(0xFF9F));
  return k;
}

// Settings a reader hands to the facility and department breakdown.
struct TCalcSisanhyoSettingRec;
// The settings a reader hands to the facility and department breakdown:
// no facility restriction, the reader's department (or group) code, the
// business division 0, the other fields as given.
TCalcSisanhyoSettingRec fnBreakdownSetting(const QString& ABCODE, int ABalanceType, int AZeiKbn, int ABumonHaifu,
                                           int ALayoutKbn, int AYousikiKbn, int AZenkiZeiAtukai);

struct TCalcSisanhyoSettingRec {
  QString SCODE;
  int SGROUP = 0;
  QString BCODE;
  int BGROUP = 0;
  int BalanceType = 0;
  int ZeiKbn = 0;
  int BumonHaifu = 0;
  int LayoutKbn = 0;
  int YousikiKbn = 0;
  int ZenkiZeiAtukai = 0;
  int JigyoKbn = 0;
};

using TBalanceArray = std::vector<TBALANCE>;
using TQSortArray = std::vector<TQSORT>;

// Number of balance rows: 700 for medical-corporation data, 500 otherwise.
int fnBalanceRecMax();

// Clears one row (codes, names, amounts, period figures); keeps its
// sub-account array, WMSTREC, WSUBREC, WCNT and the prior-year fields.
void pcBalanceRecClear(TBALANCE& ARec);

// Clears every row and sets every sort key to (hidden key, own index). The
// key array is grown to the table's length when it is shorter.
void pcBalanceRecReset(TBalanceArray& ABalance, TQSortArray& ASort);

// A ratio as a percentage rounded half away from zero to one decimal.
Currency fnRoundRitu(double ARitu);
