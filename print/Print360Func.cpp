#include "print/Print360Func.h"

#include "platform/Format.h"
#include "platform/SpecialFolders.h"

int fnMojiHankaku(QChar c)
{
  const char16_t u = c.unicode();
  if ((u >= 0x20 && u <= 0x7E) || (u >= 0xFF61 && u <= 0xFF9F))
    return 1;
  if (c.isLowSurrogate())
    return 0;
  return 2;
}

int fnMojiHaba(const QString& text)
{
  int w = 0;
  for (QChar c : text)
    w += fnMojiHankaku(c);
  return w;
}

int fnHabaMojisu(const QString& text, int limit)
{
  int w = 0;
  for (int i = 0; i < text.size(); ++i) {
    w += fnMojiHankaku(text.at(i));
    if (w >= limit) {
      // A character outside the basic plane is walked whole, never halved.
      if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
        ++i;
      return i + 1;
    }
  }
  return int(text.size());
}

int fnHabaMojisuR(const QString& text, int limit)
{
  int w = 0;
  for (int i = int(text.size()) - 1; i >= 0; --i) {
    w += fnMojiHankaku(text.at(i));
    if (w >= limit)
      return int(text.size()) - i;
  }
  return int(text.size());
}

QString fnSpaceMoji(int n)
{
  if (n <= 0 || n > 510)
    return QString();
  return QString(n, u' ');
}

QString fnHidariYose(const QString& text, int n)
{
  const QString s = text + fnSpaceMoji(n);
  return s.left(fnHabaMojisu(s, n));
}

QString fnMigiYose(const QString& text, int n)
{
  const QString s = fnSpaceMoji(n) + text;
  return s.right(fnHabaMojisuR(s, n));
}

namespace {

QString groupDigits(quint64 v)
{
  QString digits = QString::number(v);
  const QChar sep = FormatSettings().ThousandSeparator;
  for (int i = int(digits.size()) - 3; i > 0; i -= 3)
    digits.insert(i, sep);
  return digits;
}

}  // namespace

QString fnKingakuEdit(const QString& text, int maxLen, int decimals, bool zeroFormat)
{
  try {
    if (maxLen != 0 && decimals != 0) {
      const double v = fnStrToFloatZero(text);
      if (v == 0)
        return QStringLiteral("0");
      const int n = qBound(0, decimals, 8);
      const QString picture =
          zeroFormat ? QStringLiteral("0,.") + QString(n, u'0') : QStringLiteral("#,.") + QString(n, u'#');
      return FormatFloat(picture, v);
    }
    qint64 v = 0;
    if (!TryStrToInt64(text.trimmed(), v))
      v = 0;
    if (v == 0)
      return zeroFormat ? QStringLiteral("0") : QString();
    // The magnitude of the smallest value does not fit a signed 64-bit number.
    const quint64 mag = v < 0 ? quint64(0) - quint64(v) : quint64(v);
    return (v < 0 ? QStringLiteral("-") : QString()) + groupDigits(mag);
  } catch (...) {
    return QStringLiteral("Err");
  }
}

double fnStrToFloatZero(const QString& text)
{
  double v = 0;
  if (!TryStrToFloat(text.trimmed(), v))
    return 0;
  return v;
}

QStringList fnFieldSplitList(const QString& line, QChar delimiter)
{
  QString rest = line;
  const qsizetype comment = rest.indexOf(QStringLiteral("//"));
  if (comment >= 0)
    rest.truncate(comment);
  if (rest.isEmpty())
    return {};
  return rest.split(delimiter);
}

int fnFieldSplit(const QString& line, QChar delimiter, QStringList& fields)
{
  fields = fnFieldSplitList(line, delimiter);
  return fields.isEmpty() ? 0 : int(fields.size()) - 1;
}

QString fnFieldGet(const QString& line, QChar delimiter, int index)
{
  if (index < 0 || index > P360MaxFieldIndex)
    return QString();
  const QStringList fields = fnFieldSplitList(line, delimiter);
  if (index >= fields.size())
    return QString();
  return fields.at(index).trimmed();
}

QString fnGetSpecialFolder(int csidl)
{
  switch (csidl) {
    case CSIDL_PERSONAL:
      return DocumentsDir();
    case CSIDL_DESKTOPDIRECTORY:
      return DesktopDir();
    case CSIDL_APPDATA:
      return UserAppDataDir();
    case CSIDL_COMMON_APPDATA:
      return CommonAppDataDir();
    default:
      return QString();
  }
}

bool fnChartFileCheck(const QString&)
{
  return true;
}
