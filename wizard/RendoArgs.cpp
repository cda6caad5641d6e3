#include "wizard/RendoArgs.h"

#include <limits>

#include <QRegularExpression>

namespace {

enum class TFieldRead { Ok, NotInteger, Negative, OutOfRange };

// A decimal integer with an optional sign, blanks around it allowed.
TFieldRead readDecimal(const QString& field, qint64 min, qint64 max, qint64& out)
{
  const QString t = field.trimmed();
  const qsizetype digitsFrom = (!t.isEmpty() && (t.at(0) == u'+' || t.at(0) == u'-')) ? 1 : 0;
  if (t.size() == digitsFrom)
    return TFieldRead::NotInteger;
  for (qsizetype i = digitsFrom; i < t.size(); ++i)
    if (t.at(i) < u'0' || t.at(i) > u'9')
      return TFieldRead::NotInteger;
  const bool negative = t.at(0) == u'-' && t.mid(1).contains(QRegularExpression(QStringLiteral("[1-9]")));
  if (negative && min >= 0)
    return TFieldRead::Negative;
  bool ok = false;
  const qint64 value = t.toLongLong(&ok, 10);
  if (!ok || value < min || value > max)
    return TFieldRead::OutOfRange;
  out = value;
  return TFieldRead::Ok;
}

}  // namespace

QString fnRendoArgsTooManyMessage()
{
  return QStringLiteral("不正な引数が渡されました。\r\rアプリケーションを強制終了します。");
}

TRendoArgsResult fnParseRendoArgs(const QStringList& arguments)
{
  TRendoArgsResult r;
  if (arguments.isEmpty())
    return r;
  if (arguments.size() > 1) {
    r.Kind = TRendoArgsKind::TooMany;
    r.Message = fnRendoArgsTooManyMessage();
    return r;
  }

  // Fields 1 to 3 end at the first three commas; the rest is the path.
  const QString& arg = arguments.first();
  QString fields[3];
  qsizetype from = 0;
  QString rest;
  bool restFound = true;
  for (int n = 0; n < 3; ++n) {
    const qsizetype comma = arg.indexOf(u',', from);
    if (comma < 0) {
      fields[n] = arg.mid(from);
      restFound = false;
      for (int m = n + 1; m < 3; ++m)
        fields[m].clear();
      break;
    }
    fields[n] = arg.mid(from, comma - from);
    from = comma + 1;
  }
  if (restFound)
    rest = arg.mid(from);

  static const char* const names[3] = {"PHandle", "MessageID", "FunctionID"};
  const qint64 mins[3] = {0, std::numeric_limits<int>::min(), std::numeric_limits<int>::min()};
  const qint64 maxs[3] = {std::numeric_limits<qint64>::max(), std::numeric_limits<int>::max(),
                          std::numeric_limits<int>::max()};
  qint64 values[3] = {0, 0, 0};
  for (int n = 0; n < 3; ++n) {
    const TFieldRead read = readDecimal(fields[n], mins[n], maxs[n], values[n]);
    if (read == TFieldRead::Ok)
      continue;
    // The reason in the message is the real one.
    QString why;
    switch (read) {
      case TFieldRead::Negative:
        why = QStringLiteral("%1 の値「%2」は負の数です。0 以上の整数を指定してください。");
        break;
      case TFieldRead::OutOfRange:
        why = QStringLiteral("%1 の値「%2」は扱える範囲を超えています。");
        break;
      default:
        why = QStringLiteral("%1 の値「%2」は整数ではありません。");
        break;
    }
    r.Kind = TRendoArgsKind::BadNumber;
    r.Message = QStringLiteral("不正な引数が渡されました。\r") + why.arg(QString::fromLatin1(names[n]), fields[n]) +
                QStringLiteral("\r\rアプリケーションを強制終了します。");
    return r;
  }
  r.Kind = TRendoArgsKind::Valid;
  r.Args.PHandle = quint64(values[0]);
  r.Args.MessageID = int(values[1]);
  r.Args.FunctionID = int(values[2]);
  r.Args.ExpFilePath = rest;
  return r;
}
