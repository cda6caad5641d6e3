// The typed-value format of the settings stores: a value is kept as text
// under a type word ("文字", "論理", "日付", "整数", "金額", "実数", "日時").
// One codec serves the company settings (ACCREG), the report settings of
// medical-corporation data (MSD_HOUKOKU), the system register (SYSREG) and
// the branch register (SISETREG), with the differences each store has.
//
// Values read back: "文字" QString, "論理" bool, "整数" qlonglong, "金額"
// Currency, "実数" double, "日付"/"日時" double (a TDateTime). A type word a
// store does not know reads as the text "Data Type Error" and writes a null.
#pragma once

#include <QString>
#include <QVariant>

#include "platform/Currency.h"
#include "platform/DateTime.h"

enum class TTypedStore { AccReg, MsdHoukoku, SysReg, SisetReg };

inline const QString TypeWordText = QStringLiteral("文字");
inline const QString TypeWordBool = QStringLiteral("論理");
inline const QString TypeWordDate = QStringLiteral("日付");
inline const QString TypeWordInt = QStringLiteral("整数");
inline const QString TypeWordCurr = QStringLiteral("金額");
inline const QString TypeWordReal = QStringLiteral("実数");
inline const QString TypeWordDateTime = QStringLiteral("日時");
inline const QString TypedDataTypeError = QStringLiteral("Data Type Error");

// Whether the store knows the type word.
bool fnTypedWordKnown(TTypedStore store, const QString& typeWord);

// The stored text of a value (a null QVariant for an unknown word).
QVariant fnTypedValueToText(TTypedStore store, const QString& typeWord, const QVariant& value);

// The value of a stored text, by the type word the caller names. ACCREG,
// MSD_HOUKOKU and SYSREG read an empty text as one space first.
QVariant fnTypedTextToValue(TTypedStore store, const QString& typeWord, const QString& text);

// --- value/text conversions -----------------------------------------------
QString fnBoolToStr(bool b);          // "TRUE" / "FALSE"
bool fnStrToBoolT(const QString& s);  // True only for "TRUE" (any case)
bool fnStrToBoolF(const QString& s);  // False only for "FALSE" (any case)
int fnBoolToInt(bool b);
bool fnIntToBool(int i);
Currency fnStrToCurrDef(const QString& s);   // 0 when it does not parse
TDateTime fnStrToDateDef(const QString& s);  // with the fixed formats; 0 when not a date
TDateTime fnStrToDateTimeDef(const QString& s);
// Zero date: empty; kind 2 "yy/mm/dd", kind 4 "yyyy/mm/dd", any other kind
// "yyyy/mm/dd hh:nn".
QString fnDateToStrKind(int kind, TDateTime d);
