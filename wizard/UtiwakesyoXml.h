// The DATA element of the import file: one KANJYOKAMOKU per account of the
// balance table, in the table's sort order, each with its HOJYOKAMOKU
// sub-accounts and their balances at the end of the chosen period range.
#pragma once

#include <vector>

#include <QString>

#include "platform/Currency.h"
#include "wizard/XmlSaveDoc.h"

// What the writer reads of one sub-account row of the balance table.
struct TUtiwakesyoHojo {
  QString HCODE;
  QString HNAME;
  Currency WNUM4;  // closing balance on the account's own side
};

// What the writer reads of one balance row. A row without account code
// (an empty row or a statement total line) writes no account.
struct TUtiwakesyoRow {
  QString KCODE;
  QString USERCODE;
  QString KNAME;
  int DAC = 0;      // 2 and 4: the balance is written negated
  Currency WNUM4;   // closing balance on the account's own side
  int HOJONUM = 0;  // number of meaningful entries of HOJOUTIWAKE
  std::vector<TUtiwakesyoHojo> HOJOUTIWAKE;
};

// The rows in the order of the balance table's sort keys.
using TUtiwakesyoRows = std::vector<TUtiwakesyoRow>;

// An amount as written: whole yen (rounded half away from zero), a leading
// "-" when negative, no separators; empty when it is 0.
QString fnUtiwakesyoAmountText(Currency amount);

// Appends DATA to the document element (which must exist) and writes every
// account: codes as stored, names without half-width and full-width spaces
// at both ends. errCode is 3 while writing and 1 when complete. Returns 1.
// Throws EDataExportError (code 2 or 3) for an account or sub-account
// without name; nothing of that account is written.
int fnUtiwakesyoWriteData(TXmlSaveDoc& doc, const TUtiwakesyoRows& rows, int& errCode);
