// Number, bit, colour, Variant, version-text and sorting helpers of the
// common library.
#pragma once

#include <cstdint>
#include <vector>

#include <QString>
#include <QVariant>

#include "common/AccRecord.h"
#include "platform/Currency.h"

// --- numbers, bits and colours -------------------------------------------------
// I with thousands separators ("#,##0").
QString fnFormatIntComma(qint64 i);
// Rounds X at decimal position P (P = 1 whole units, 2 one decimal, 0 tens):
// positive values down after a bias of one millionth, negative values to the
// next lower unit (so -2.5 gives -3).
double fnRoundDecimal(int p, double x);
// B to the power E (e^(E ln B)); 0 when B is 0; NaN for a negative B.
double fnRealPower(double e, double b);
// Sets bit N-1 of Flags for N from 1 to 24; other N change nothing.
void pcSetBit(std::uint32_t& flags, int n);
// Bit N-1 of Flags (the bit number taken modulo 32).
bool fnGetBit(std::uint32_t flags, int n);
// W := Lo + Hi * Factor in 16 bits.
void pcComposeWord(std::uint16_t& w, int hi, int lo, int factor);
// A BGR colour as gray: white and black unchanged, else the mean of the three
// bytes (halves to even) in all three; 0x808080 for a value that is not a
// plain colour (system colours, negative values).
int fnGrayColor(int color);

// --- Variants ---------------------------------------------------------------------
// True for an invalid or null QVariant and for a text that is empty.
bool fnVarIsBlank(const QVariant& v);
// The value as text: texts as they stand, booleans "True"/"False", numbers in
// the process-wide number format, Currency amounts and dates (TDateTime
// values are plain numbers here) as numbers.
QString fnVarToStr(const QVariant& v);
QString fnVarToStrDef(const QVariant& v, const QString& def);
int fnVarToIntDef(const QVariant& v, int def);
Currency fnVarToCurrDef(const QVariant& v, Currency def);
double fnVarToFloatDef(const QVariant& v, double def);

// --- version texts ------------------------------------------------------------------
// Splits "major.minor.revision.build"; missing or non-numeric parts are 0.
void fnVersionTextToRec(const QString& s, TVersionRec& r);
TVersionRec fnVersionTextToRec(const QString& s);
// Compare major, then minor, then revision (the build number is ignored).
int fnVersionCompare(const TVersionRec& a, const TVersionRec& b);
bool fnVersionGreater(const QString& a, const QString& b);
bool fnVersionGreaterEq(const QString& a, const QString& b);
bool fnVersionGreater(const TVersionRec& a, const TVersionRec& b);
bool fnVersionGreaterEq(const TVersionRec& a, const TVersionRec& b);

// --- sorting ------------------------------------------------------------------------
// Sort-key record: Key and the index of the row it stands for.
struct TQSORT {
  QString Key;
  int Rec = 0;
};
// Sorts A[Lo..Hi] by Key, ordinal by UTF-16 code units (equal keys in no
// particular order). Indexes outside the array are clamped.
void pcQuickSortQSort(std::vector<TQSORT>& a, int lo, int hi);
