#include "common/AccDateText.h"

#include <initializer_list>

#include <QStringList>

#include "acctables/AccGengo.h"
#include "common/AccFunction.h"
#include "common/AccRecord.h"

namespace {

bool eraForm()
{
  return SystemDef.NengoSwitch == 1;
}

// "%Nd": right-aligned in N columns.
QString sp(int v, int width)
{
  return QStringLiteral("%1").arg(v, width, 10, QLatin1Char(' '));
}
// "%.Nd": at least N digits, zero-padded.
QString zp(int v, int width)
{
  return QStringLiteral("%1").arg(v, width, 10, QLatin1Char('0'));
}

bool among(const QString& key, std::initializer_list<const char16_t*> keys)
{
  for (const char16_t* k : keys)
    if (key == QString::fromUtf16(k))
      return true;
  return false;
}

QString eraPrefix(int kind, const TWarekiRec& w)
{
  switch (kind) {
    case 0:
      return QString();
    case 2:
    case 3:
      return w.GengoSign;
    default:
      return w.Gengo;
  }
}

// Kind 0 trims the result; kind 3 (slash form only) removes every space.
QString finish(int kind, const QString& text, bool slashForm)
{
  if (kind == 0)
    return text.trimmed();
  if (kind == 3 && slashForm)
    return fnDelSpaceZen(text);
  return text;
}

QString eraSlash(const QString& key, int kind, TDateTime d)
{
  TWarekiRec w;
  pcWarekiHenkan(w, d);
  const QString e = eraPrefix(kind, w);
  const int ee = w.ee, mm = w.mm, dd = w.dd;
  QString r;
  if (among(key, {u"yyyy/mm/dd", u"yy/mm/dd"}))
    r = e + u' ' + zp(ee, 2) + u'/' + zp(mm, 2) + u'/' + zp(dd, 2);
  else if (among(key, {u"yyyy/mm", u"yy/mm"}))
    r = e + u' ' + zp(ee, 2) + u'/' + zp(mm, 2);
  else if (among(key, {u"yyyy", u"yy"}))
    r = e + u' ' + zp(ee, 2);
  else if (among(key, {u"yyyy/m/d", u"yy/m/d", u"y/m/d"}))
    r = e + u' ' + sp(ee, 2) + u'/' + sp(mm, 2) + u'/' + sp(dd, 2);
  else if (among(key, {u"yyyy/m", u"yy/m", u"y/m"}))
    r = e + u' ' + sp(ee, 2) + u'/' + sp(mm, 2);
  else if (key == QStringLiteral("y"))
    r = e + u' ' + sp(ee, 2);
  else if (key == QStringLiteral("yy2/mm/dd"))
    r = e + zp(ee, 2) + u'/' + zp(mm, 2) + u'/' + zp(dd, 2);
  else
    return QString();
  return finish(kind, r, true);
}

QString westernSlash(const QString& key, TDateTime d)
{
  int y = 0, m = 0, dd = 0;
  DecodeDate(d, y, m, dd);
  const int yy = y % 100;
  if (key == QStringLiteral("yyyy/m/d"))
    return sp(y, 4) + u'/' + sp(m, 2) + u'/' + sp(dd, 2);
  if (among(key, {u"yy/m/d", u"y/m/d"}))
    return sp(yy, 2) + u'/' + sp(m, 2) + u'/' + sp(dd, 2);
  if (key == QStringLiteral("yyyy/m"))
    return sp(y, 4) + u'/' + sp(m, 2);
  if (among(key, {u"yy/m", u"y/m/"}))
    return sp(yy, 2) + u'/' + sp(m, 2);
  if (key == QStringLiteral("yy2/mm/dd"))
    return FormatDateTime(QStringLiteral("yy/mm/dd"), d);
  return FormatDateTime(key, d);
}

QString eraJ(const QString& key, int kind, TDateTime d)
{
  TWarekiRec w;
  pcWarekiHenkan(w, d);
  const QString e = eraPrefix(kind, w);
  const int ee = w.ee, mm = w.mm, dd = w.dd;
  QString r;
  if (among(key, {u"yyyy年mm月dd日", u"yy年mm月dd日"}))
    r = e + u' ' + zp(ee, 2) + u'年' + zp(mm, 2) + u'月' + zp(dd, 2) + u'日';
  else if (among(key, {u"yyyy年mm月", u"yy年mm月"}))
    r = e + u' ' + zp(ee, 2) + u'年' + zp(mm, 2) + u'月';
  else if (among(key, {u"yyyy年", u"yy年"}))
    r = e + u' ' + zp(ee, 2) + u'年';
  else if (among(key, {u"yyyy年m月d日", u"yy年m月d日", u"y年m月d日"}))
    r = e + u' ' + sp(ee, 2) + u'年' + sp(mm, 2) + u'月' + sp(dd, 2) + u'日';
  else if (among(key, {u"yyyy年m月", u"yy年m月", u"y年m月"}))
    r = e + u' ' + sp(ee, 2) + u'年' + sp(mm, 2) + u'月';
  else if (among(key, {u"y年", u"y"}))
    r = e + u' ' + QString::number(ee) + u'年';
  else if (among(key, {u"yyyy年 m月 d日", u"yy年 m月 d日", u"y年 m月 d日"}))
    r = e + u' ' + sp(ee, 2) + QStringLiteral("年 ") + QString::number(mm) + QStringLiteral("月 ") +
        QString::number(dd) + u'日';
  else if (among(key, {u"yyyy年 m月", u"yy年 m月", u"y年 m月"}))
    r = e + u' ' + sp(ee, 2) + QStringLiteral("年 ") + QString::number(mm) + u'月';
  else if (among(key, {u"yyyy年 mm月 dd日", u"yy年 mm月 dd日"}))
    r = e + u' ' + zp(ee, 2) + QStringLiteral("年 ") + zp(mm, 2) + QStringLiteral("月 ") + zp(dd, 2) + u'日';
  else if (among(key, {u"yyyy年 mm月", u"yy年 mm月"}))
    r = e + u' ' + zp(ee, 2) + QStringLiteral("年 ") + zp(mm, 2) + u'月';
  else
    return QString();
  return finish(kind, r, false);
}

QString westernJ(const QString& key, TDateTime d)
{
  int y = 0, m = 0, dd = 0;
  DecodeDate(d, y, m, dd);
  const int yy = y % 100;
  if (key == QStringLiteral("yyyy年m月d日"))
    return sp(y, 4) + u'年' + sp(m, 2) + u'月' + sp(dd, 2) + u'日';
  if (among(key, {u"yy年m月d日", u"y年m月d日"}))
    return sp(yy, 2) + u'年' + sp(m, 2) + u'月' + sp(dd, 2) + u'日';
  if (key == QStringLiteral("yyyy年m月"))
    return sp(y, 4) + u'年' + sp(m, 2) + u'月';
  if (among(key, {u"yy年m月", u"y年m月"}))
    return zp(yy, 2) + u'年' + sp(m, 2) + u'月';
  if (among(key, {u"y年", u"y"}))
    return sp(y, 4) + u'年';
  if (key == QStringLiteral("yyyy年 m月 d日"))
    return sp(y, 4) + QStringLiteral("年 ") + QString::number(m) + QStringLiteral("月 ") + QString::number(dd) + u'日';
  if (key == QStringLiteral("yyyy年 m月"))
    return sp(y, 4) + QStringLiteral("年 ") + QString::number(m) + u'月';
  if (among(key, {u"yy年 m月 d日", u"y年 m月 d日"}))
    return zp(yy, 2) + QStringLiteral("年 ") + QString::number(m) + QStringLiteral("月 ") + QString::number(dd) + u'日';
  if (among(key, {u"yy年 m月", u"y年 m月"}))
    return zp(yy, 2) + QStringLiteral("年 ") + QString::number(m) + u'月';
  return FormatDateTime(key, d);
}

}  // namespace

QString fnFormatDateTimeFS(const QString& Format, const TFormatSettings& Settings, TDateTime D)
{
  return FormatDateTime(Format, D, Settings);
}

TDateTime fnStrToDateTimeJP(const QString& S)
{
  TFormatSettings fs = TFormatSettings::JapaneseDefaults();
  fs.DateSeparator = u'/';
  fs.TimeSeparator = u':';
  fs.ShortDateFormat = QStringLiteral("yyyy/MM/dd");
  fs.LongDateFormat = QStringLiteral("yyyy年MM月dd日");
  fs.ShortTimeFormat = QStringLiteral("hh:mm");
  fs.LongTimeFormat = QStringLiteral("hh:mm:ss");
  TDateTime out = 0;
  return TryStrToDateTime(S, out, fs) ? out : TDateTime(0);
}

QString fnKikanToText(TDateTime From, TDateTime To)
{
  auto one = [](TDateTime d) {
    if (eraForm()) {
      TWarekiRec w;
      pcWarekiHenkan(w, d);
      return w.GengoSign + u' ' + zp(w.ee, 2) + u'/' + zp(w.mm, 2) + u'/' + zp(w.dd, 2);
    }
    return FormatDateTime(QStringLiteral("yyyy/mm/dd"), d);
  };
  return one(From) + QStringLiteral(" ～ ") + one(To);
}

QString fnDateToWarekiText(const QString& Keyword, int Kind, TDateTime D)
{
  try {
    return eraForm() ? eraSlash(Keyword, Kind, D) : westernSlash(Keyword, D);
  } catch (const std::exception&) {
    return FormatDateTime(QStringLiteral("yyyy/mm/dd"), D);
  }
}

QString fnDateToWarekiTextJ(const QString& Keyword, int Kind, TDateTime D)
{
  try {
    return eraForm() ? eraJ(Keyword, Kind, D) : westernJ(Keyword, D);
  } catch (const std::exception&) {
    return FormatDateTime(QStringLiteral("yyyy年mm月dd日"), D);
  }
}
