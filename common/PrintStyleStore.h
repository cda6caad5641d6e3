// What the print dialogs keep per operator in the system database table
// STYLECOLOR, without widgets:
//
// - TDefaultPrintRec, the print settings a caller hands to the print dialog
//   and then to its printing code;
// - TPrintStyleStore, the print colours and further options of one printed
//   form ("020-" + the form's name): a colour equal to the operator's
//   default is stored as -1, so that a later change of the defaults applies
//   to the form as well, and a reader applies only colours other than -1;
// - the sixteen custom colours of the colour dialog as the text kept under
//   the named key "Pallet_CustomColor": lines "ColorA=FFFFFF" ...
//   "ColorP=FFFFFF", six hexadecimal digits of the 0x00BBGGRR value.
#pragma once

#include <array>

#include <QString>

#include "common/AccRecord.h"  // TJxPrintModalResult
#include "platform/Color.h"

namespace db {
class Transaction;
}

struct TDefaultPrintRec {
  QString PrintName;  // name of the printed form; selects the stored colours and options
  int ColorKbn = 0;   // 0 mono, 1 colour
  int StartPage = 1;  // number of the first page
  bool Both = false;  // margins adjusted for duplex printing
  int PrintFontType = 0;
  int TitleFontSize = 16;
  int HeaderFontSize = 9;
  int DetailFontSize = 10;
  int LineColor1 = 0;  // frame lines
  int LineColor2 = 0;  // grid lines
  int NetColor1 = 0;   // heading rows
  int NetColor2 = 0;   // total rows
  QString Sonota;      // further options, lines of name=value
};
using PDefaultPrintRec = TDefaultPrintRec*;

// The start values: the fields above with the operator's default colours of
// SystemDef.
void pcInitDefaultPrintRec(TDefaultPrintRec& APrintRec);

// The value of the first line named AName (without regard to case) in a
// text of name=value lines; empty when there is none.
QString fnOptionValue(const QString& AText, const QString& AName);

class TPrintStyleStore {
 public:
  // Uses ATransaction, or the data module's system-database transaction.
  explicit TPrintStyleStore(db::Transaction* ATransaction = nullptr);

  // The operator's login code (set at creation from SystemDef.OPCODE).
  void SetOPCODE(int AValue) { FOPCODE = AValue; }

  // "020-" + the form's name, upper case, cut to 40 characters, trimmed.
  static QString fnKeyName(const QString& APrintName);

  // The stored colours other than -1 and the stored options replace those of
  // APrintRec (of its PrintName). False when the reading failed: the error is
  // reported (common handler or error box) and APrintRec keeps what it had.
  bool Read(TDefaultPrintRec& APrintRec);
  // Stores the four colours (-1 where equal to the operator's defaults in
  // SystemDef) and Sonota of APrintRec under its PrintName. False when the
  // writing failed: the error is reported and the table is left as it was.
  bool Write(const TDefaultPrintRec& APrintRec);

 private:
  db::Transaction* transaction() const;

  db::Transaction* FTransaction = nullptr;
  int FOPCODE = 0;
};

// ---- the colour dialog's custom colours

inline constexpr int CustomColorCount = 16;
using TCustomColors = std::array<TColor, CustomColorCount>;

// The key of the custom colours among the operator's named values.
QString fnCustomColorKey();
// Sixteen lines "ColorA=FFFFFF" ... "ColorP=FFFFFF", each ended by "\r\n".
QString fnCustomColorsToText(const TCustomColors& AColors);
// The colours of such a text by name (without regard to case); a colour
// that is missing or not six hexadecimal digits or fewer is white.
TCustomColors fnCustomColorsFromText(const QString& AText);

// The operator's stored custom colours (all white when none are stored or
// without a data module) and their storing (through the data module's
// operator key values; errors are not reported, nothing is stored then).
TCustomColors fnReadCustomColors(int AOPCODE);
void pcStoreCustomColors(int AOPCODE, const TCustomColors& AColors);
