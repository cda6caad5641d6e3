// Text helpers of the common library: code points and display widths,
// trimming, cutting, padding and splitting Japanese text.
//
// Two measures are used and each routine says which: code points (a
// surrogate pair counts once) or display columns (a double-width character
// counts two). Positions are 1-based where a routine takes positions.
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

// --- character classes -----------------------------------------------------
bool fnIsHighSurrogate(QChar c);
bool fnIsLowSurrogate(QChar c);
// Code units that are not low surrogates (a pair counts once).
int fnCodePointLength(const QString& s);
// Display width of one code unit: a high surrogate 2 (for the pair), a low
// surrogate 0, U+0020..U+007E and half-width katakana U+FF61..U+FF9F 1,
// everything else 2.
int fnCharByteWidth(QChar c);
int fnTextByteWidth(const QString& s);
// A high surrogate, or a code unit 129..159 or 224..252.
bool fnIsLeadChar(QChar c);
// Whether the unit at Pos (1-based) is the first unit of a double-width
// character when s is scanned from its start (a lead character always takes
// the next unit as its second half). Beyond the end: the state of the last
// unit; an empty text gives false.
bool fnIsZenkakuTail(const QString& s, int pos);

// --- trimming ---------------------------------------------------------------
// Removes characters up to U+0020 at both ends.
QString fnTrim(const QString& s);
// Removes half-width and full-width spaces at both ends.
QString fnTrimZen(const QString& s);
// Removes every half-width and full-width space.
QString fnDelSpaceZen(const QString& s);
QString fnRemoveTabCrLf(const QString& s);

// --- cutting and padding ----------------------------------------------------
// N half-width spaces; empty when N is above 510 or below 1.
QString fnSpaceStr(int n);
// The first N code points of s, padded with spaces on the right.
QString fnCutStrL(const QString& s, int n, bool doTrim);
// The last N code points of s, padded with spaces on the left.
QString fnCutStrR(const QString& s, int n, bool doTrim);
QString fnTrimZenL(const QString& s);
// Leading characters of s (padded with spaces) whose widths add up to at
// most W columns; a double-width character that would pass W ends the result.
QString fnCutByteL(const QString& s, int w, bool doTrim);
// Trailing characters of s whose widths add up to at most W; no padding.
QString fnCutByteR(const QString& s, int w, bool doTrim);
// Characters from position From to To (1-based, both included), clamped.
QString fnMidByPos(const QString& s, int from, int to);
// "R" right-aligned, "L" left-aligned (both cut to W code points), "C"
// centred without cutting; any other Align: s unchanged.
QString fnAlignText(const QString& s, int w, const QString& align);
// s padded on the left with "0" to W code points (cut to its last W).
QString fnZeroPadLeft(const QString& s, int w);
QString fnReverseText(const QString& s);
// Full-width lower-case letters to full-width upper case.
QString fnZenAlphaToUpper(const QString& s);

// Locale string mapping flags understood by fnLCMapText.
inline constexpr unsigned LCMAP_LOWERCASE = 0x00000100;
inline constexpr unsigned LCMAP_UPPERCASE = 0x00000200;
inline constexpr unsigned LCMAP_HIRAGANA = 0x00100000;
inline constexpr unsigned LCMAP_KATAKANA = 0x00200000;
inline constexpr unsigned LCMAP_HALFWIDTH = 0x00400000;
inline constexpr unsigned LCMAP_FULLWIDTH = 0x00800000;
// Maps s by the flags: kana kind (hiragana/katakana), width (half/full, for
// ASCII, the space and katakana with voiced marks) and letter case.
QString fnLCMapText(unsigned flags, const QString& s);

// --- splitting ----------------------------------------------------------------
// Drops everything from the first "//" on. An empty rest returns 0 and leaves
// parts untouched; otherwise parts becomes the pieces between occurrences of
// sep and the result is the index of the last piece. After a match as many
// characters as the match position are removed, so the tail of a separator
// longer than one character starts the next piece.
int fnSplitText(const QString& s, const QString& sep, QStringList& parts);
// Trimmed piece Index (0-based) of fnSplitText; empty beyond the last.
QString fnGetSplitItem(const QString& s, const QString& sep, int index);
// Every sep made a line break, then line N (1-based); empty out of range.
QString fnGetLineByIndex(const QString& s, const QString& sep, int n);
// The lines of a text as a string list reads them: CR, LF and CR LF end a
// line; a final line break adds no empty line.
QStringList fnTextToLines(const QString& s);
