#pragma once
// The Japanese era table and dates in era form.

#include <cstdint>
#include <vector>

#include <QString>

#include "acctables/AccDate.h"

// One era.
struct TGengoRec {
  QString Name;                 // era name, e.g. "令和"
  QString Sign;                 // one-letter era sign, e.g. "R"
  TDateTime StartDate = 0;      // first day of the era
  std::int32_t YearOffSet = 0;  // Western year in which era year 1 falls
};

using TGengoArray = std::vector<TGengoRec>;

// The process-wide era table, newest era first. Empty at start; the data
// module fills it from the system database's GENGO table after logon and
// falls back on pcGengoTableSet when that gives nothing.
extern TGengoArray GengoTable;

// A date in era form.
struct TWarekiRec {
  QString Gengo;         // era name, empty when no era applies
  QString GengoSign;     // era sign, empty when no era applies
  std::uint16_t ee = 0;  // era year, or the Western year when no era applies
  std::uint16_t mm = 0;
  std::uint16_t dd = 0;
};

// Replaces GengoTable with the five built-in eras, newest first; the start
// dates are read with the process-wide date format.
void pcGengoTableSet();

// Converts ADate into era form by GengoTable: the newest era that had started
// by ADate; a date before the oldest era's start keeps the oldest era while its
// era year is not negative; otherwise (and for a date of 0 or less) the
// Western year with an empty era. Never fails.
void pcWarekiHenkan(TWarekiRec& W, TDateTime ADate);

// The era names (AKind 0) or signs (AKind 1) of GengoTable, newest first, each
// followed by a carriage return; with a date above 0 only the eras from the
// newest down to the one in force on that date. Any other kind: empty text.
QString fnGengoList(int AKind, TDateTime ADate = TDateTime(0));
void fnGengoList(int AKind, QString& AText);
