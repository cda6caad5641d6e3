#pragma once
#include <QString>
#include <QStringList>

// Helpers shared by the print component, the preview and the interpreter:
// text widths in half-width units (printable ASCII and half-width katakana
// count 1, everything else 2, a surrogate pair 2 in all), padding and
// cutting, amount formatting, record field splitting, special folders.

// 1 for U+0020..U+007E and U+FF61..U+FF9F; 0 for a low surrogate (the high
// one already counted the pair); 2 for everything else.
int fnMojiHankaku(QChar c);
// Width of the text in half-width units.
int fnMojiHaba(const QString& text);
// Characters walked from the first one until the width reaches or passes
// limit (the character that does so included, both halves of a surrogate
// pair), or the whole text.
int fnHabaMojisu(const QString& text, int limit);
// The same, walking from the last character towards the first.
int fnHabaMojisuR(const QString& text, int limit);
// n spaces; empty when n is 0 or less or above 510.
QString fnSpaceMoji(int n);
// The text left-aligned in n half-width units (cut on the right when wider).
QString fnHidariYose(const QString& text, int n);
// The text right-aligned in n half-width units (cut on the left when wider).
QString fnMigiYose(const QString& text, int n);
// An amount given as text: with maxLen and decimals both not 0 read as a
// floating-point number and formatted with thousands separators and that
// many decimals (zeros kept when zeroFormat, else trailing zeros dropped);
// otherwise read as a 64-bit integer with thousands separators (0 gives "0"
// when zeroFormat, else an empty text). "Err" on any failure.
QString fnKingakuEdit(const QString& text, int maxLen, int decimals, bool zeroFormat);
// The text as a floating-point number with the process format; 0 when it
// cannot be read.
double fnStrToFloatZero(const QString& text);

// The fields of a record line: everything from the first "//" on is a
// comment; an empty rest gives no field. Fields are not trimmed.
QStringList fnFieldSplitList(const QString& line, QChar delimiter);
// As fnFieldSplitList, returning the index of the last field (the number of
// delimiters found), 0 when there is none.
int fnFieldSplit(const QString& line, QChar delimiter, QStringList& fields);
// The number of fields fnFieldGet looks at: fields 0 to 100.
constexpr int P360MaxFieldIndex = 100;
// Field index (from 0) of the split line, trimmed; empty when the line has
// fewer fields or the index is above P360MaxFieldIndex.
QString fnFieldGet(const QString& line, QChar delimiter, int index);

// Special folder identifiers the print framework asks for.
constexpr int CSIDL_PERSONAL = 5;  // the user's documents folder
constexpr int CSIDL_DESKTOPDIRECTORY = 16;
constexpr int CSIDL_APPDATA = 26;
constexpr int CSIDL_COMMON_APPDATA = 35;
// The folder's path, not created; empty for an identifier we do not know.
QString fnGetSpecialFolder(int csidl);

// Charts are reached through a holder that no part of this system fills, so
// every chart name is accepted and "CHART" records draw nothing.
bool fnChartFileCheck(const QString& fileName);
