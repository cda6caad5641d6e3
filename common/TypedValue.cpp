#include "common/TypedValue.h"

#include <cmath>

#include "common/AccFunctionNum.h"
#include "common/AccRecord.h"
#include "platform/Exceptions.h"
#include "platform/Format.h"

namespace {

bool variantToBool(const QVariant& v)
{
  if (v.typeId() == QMetaType::Bool)
    return v.toBool();
  if (v.typeId() == QMetaType::QString) {
    const QString s = v.toString().trimmed();
    if (s.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0)
      return true;
    qint64 n = 0;
    return TryStrToInt64(s, n) && n != 0;
  }
  return v.toDouble() != 0;
}

TDateTime variantToDate(const QVariant& v, const TFormatSettings& fs)
{
  if (!v.isValid() || v.isNull())
    return 0;
  if (v.typeId() == QMetaType::QString) {
    TDateTime d = 0;
    if (TryStrToDateTime(v.toString(), d, fs))
      return d;
    double x = 0;
    return TryStrToFloat(v.toString(), x) ? x : 0;
  }
  if (v.typeId() == QMetaType::QDate)
    return FromQDate(v.toDate());
  if (v.typeId() == QMetaType::QDateTime)
    return FromQDateTime(v.toDateTime());
  return v.toDouble();
}

qint64 variantToInt64(const QVariant& v)
{
  if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float)
    return qint64(std::nearbyint(v.toDouble()));
  if (v.metaType() == QMetaType::fromType<Currency>())
    return v.value<Currency>().toUnits(Currency::Round::HalfAwayFromZero);
  if (v.typeId() == QMetaType::Bool)
    return v.toBool() ? -1 : 0;
  qint64 n = 0;
  if (v.typeId() == QMetaType::QString)
    return TryStrToInt64(v.toString(), n) ? n : 0;
  return v.toLongLong();
}

Currency variantToCurr(const QVariant& v)
{
  if (v.metaType() == QMetaType::fromType<Currency>())
    return v.value<Currency>();
  if (v.typeId() == QMetaType::QString)
    return fnStrToCurrDef(v.toString());
  if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float) {
    try {
      return Currency::fromDouble(v.toDouble());
    } catch (const EPlatformError&) {
      return Currency();  // not a finite number or out of the amount range: no amount
    }
  }
  try {
    return Currency::fromInt(v.toLongLong());
  } catch (const EPlatformError&) {
    return Currency();  // out of the amount range: no amount
  }
}

double variantToReal(const QVariant& v)
{
  if (v.metaType() == QMetaType::fromType<Currency>())
    return v.value<Currency>().toDouble();
  if (v.typeId() == QMetaType::QString) {
    double d = 0;
    return TryStrToFloat(v.toString(), d) ? d : 0;
  }
  return v.toDouble();
}

}  // namespace

bool fnTypedWordKnown(TTypedStore store, const QString& w)
{
  const bool basic =
      w == TypeWordText || w == TypeWordBool || w == TypeWordDate || w == TypeWordInt || w == TypeWordCurr;
  switch (store) {
    case TTypedStore::AccReg:
      return basic || w == TypeWordReal || w == TypeWordDateTime;
    case TTypedStore::MsdHoukoku:
    case TTypedStore::SysReg:
      return basic;
    case TTypedStore::SisetReg:
      return basic || w == TypeWordDateTime;
  }
  return false;
}

QVariant fnTypedValueToText(TTypedStore store, const QString& w, const QVariant& value)
{
  if (!fnTypedWordKnown(store, w))
    return QVariant();
  if (w == TypeWordText)
    return fnVarToStr(value);
  if (w == TypeWordBool)
    return fnBoolToStr(variantToBool(value));
  if (w == TypeWordDate)
    return fnDateToStrKind(4, variantToDate(value, AccFormatSettings()));
  if (w == TypeWordInt)
    return QString::number(variantToInt64(value));
  if (w == TypeWordCurr)
    return variantToCurr(value).toString();
  if (w == TypeWordReal)
    return FloatToStr(variantToReal(value));
  // "日時": the branch register writes it with the process-wide settings.
  const TFormatSettings& fs = store == TTypedStore::SisetReg ? FormatSettings() : AccFormatSettings();
  return FormatDateTime(QStringLiteral("yyyy/mm/dd hh:nn:ss"), variantToDate(value, fs), fs);
}

QVariant fnTypedTextToValue(TTypedStore store, const QString& w, const QString& stored)
{
  if (!fnTypedWordKnown(store, w))
    return TypedDataTypeError;
  QString text = stored;
  if (store != TTypedStore::SisetReg && text.isEmpty())
    text = QStringLiteral(" ");
  if (w == TypeWordText)
    return text;
  if (w == TypeWordBool) {
    if (store == TTypedStore::SysReg)
      return text == QLatin1String("TRUE");
    if (store == TTypedStore::SisetReg)
      return fnStrToBoolF(text);
    return fnStrToBoolT(text);
  }
  if (w == TypeWordDate)
    return fnStrToDateDef(text);
  if (w == TypeWordInt) {
    qint64 n = 0;
    return qlonglong(TryStrToInt64(text, n) ? n : 0);
  }
  if (w == TypeWordCurr)
    return QVariant::fromValue(fnStrToCurrDef(text));
  if (w == TypeWordReal) {
    double d = 0;
    return TryStrToFloat(text, d) ? d : 0.0;
  }
  // "日時"
  const TFormatSettings& fs = store == TTypedStore::SisetReg ? FormatSettings() : AccFormatSettings();
  TDateTime d = 0;
  return TryStrToDateTime(text, d, fs) ? d : 0.0;
}

QString fnBoolToStr(bool b)
{
  return b ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
}

bool fnStrToBoolT(const QString& s)
{
  return s.toUpper() == QLatin1String("TRUE");
}

bool fnStrToBoolF(const QString& s)
{
  return s.toUpper() != QLatin1String("FALSE");
}

int fnBoolToInt(bool b)
{
  return b ? 1 : 0;
}

bool fnIntToBool(int i)
{
  return i != 0;
}

Currency fnStrToCurrDef(const QString& s)
{
  Currency c;
  return TryStrToCurr(s, c) ? c : Currency();
}

TDateTime fnStrToDateDef(const QString& s)
{
  TDateTime d = 0;
  return TryStrToDate(s, d, AccFormatSettings()) ? d : 0;
}

TDateTime fnStrToDateTimeDef(const QString& s)
{
  TDateTime d = 0;
  return TryStrToDateTime(s, d, AccFormatSettings()) ? d : 0;
}

QString fnDateToStrKind(int kind, TDateTime d)
{
  if (d == 0)
    return QString();
  if (kind == 2)
    return FormatDateTime(QStringLiteral("yy/mm/dd"), d);
  if (kind == 4)
    return FormatDateTime(QStringLiteral("yyyy/mm/dd"), d);
  return FormatDateTime(QStringLiteral("yyyy/mm/dd hh:nn"), d);
}
