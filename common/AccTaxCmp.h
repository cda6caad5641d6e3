#pragma once
// Consumption-tax rules of the accounting data: tax-code normalisation for
// the taxation method, tax-master look-ups, the codes an account may carry,
// deduction ratios, specified purchases and the tax-rate list.
// Process-wide state, main thread only.

#include <functional>
#include <vector>

#include <QString>

#include "platform/Currency.h"
#include "platform/DateTime.h"

// One row of the tax master.
struct TTaxKbnRec {
  int TCODE = 0;
  QString TNAME;
  QString GNAME;
  int SinkokuKbn = 0;
  int KariukeKaribaraiKbn = 0;  // 1 output tax, 2 input tax, other: no tax
  int TaishakuKbn = 0;
  int ClassKbn = 0;
};
using TTaxKbnList = std::vector<TTaxKbnRec>;

// The tax master of the open data, refilled on every look-up.
extern TTaxKbnList TaxKbnList;

// Reads the tax master of the open data into the list; false on failure
// (the list is then empty). The data module installs its reader.
using TTaxMasterReader = std::function<bool(TTaxKbnList&)>;
void pcSetTaxMasterReader(TTaxMasterReader reader);
bool fnReloadTaxKbnList();
// While one lives, the look-ups use the tax master read when it was made
// instead of reading it again each time (a long run over many lines).
class TTaxMasterHold {
 public:
  TTaxMasterHold();
  ~TTaxMasterHold();
  TTaxMasterHold(const TTaxMasterHold&) = delete;
  TTaxMasterHold& operator=(const TTaxMasterHold&) = delete;
};

// One tax rate.
struct TZeiRituRec {
  QString Name;
  Currency Ritu;
  int RateKbn = 0;
  int SinkokuKbn = 0;
  QString StartDate;  // "yyyy/mm/dd"
  int VerMajor = 0;
  int VerMinor = 0;
  bool GenkouKbn = false;
  bool HyoujunKbn = false;
  int ZeirituIdx = 0;
  bool UseKbn = true;
};
using TZeiRituList = std::vector<TZeiRituRec>;

extern TZeiRituList ZeirituList;
extern int ZeirituLow;
extern int ZeirituHigh;

int fnConvTaxCodeKanni(int& TaxCode);

bool fnGetTaxKbnInfo(int TCode, QString& GName, QString& TName, int& SinkokuKbn, int& KariukeKaribaraiKbn,
                     int& TaishakuKbn, int& ClassKbn);
bool fnGetTaxKbn(int TCode, QString& GName, QString& TName, int& SinkokuKbn, int& KariukeKaribaraiKbn,
                 int& TaishakuKbn);
void pcGetTaxKbnRec(int TCode, TTaxKbnRec& Rec);
int fnGetKariukeKaribaraiKbn(int TCode);

bool fnCheckTaxCodeKamoku(QString& Msg, const QString& KCode, int TaxCode);
bool fnCheckAiteTaxCode(QString& Msg, const QString& KCode, int& OtherTaxCode);
bool fnCheckSyokutiTaxCode(QString& Msg, const QString& KCode, int& TaxCode);

bool fnIsTokuteiShiireCode(int TaxCode);
bool fnCheckTokuteiShiire(QString& Msg, int& TaxCode, int RateKbn, TDateTime Date);

int fnGetKoujoRitu(int TaxCode, Currency& Ratio);
bool fnCheckKoujoRitu(int TaxCodeL, int TaxCodeR);

void pcZeirituListInit();
Currency fnGetZeiritu(int RateKbn, TDateTime Date);
int fnGetZeirituKbnByDate(int RateKbn, TDateTime Date);
void fnGetZeirituName(int RateKbn, QString& Name, const Currency& Amount);
