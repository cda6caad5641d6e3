// Operator key values (named rows of STYLECOLOR) and the name=value texts
// in which company data keeps extra attributes of a record.
#include <QRegularExpression>

#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/GamenKeyValue.h"
#include "platform/AppError.h"

namespace {

QStringList splitLines(const QString& AText)
{
  static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
  QStringList lines = AText.split(breaks);
  // A final line break ends the last line; it does not start another.
  if (!lines.isEmpty() && lines.last().isEmpty())
    lines.removeLast();
  return lines;
}

QString joinLines(const QStringList& ALines)
{
  QString text;
  for (const QString& l : ALines)
    text += l + QStringLiteral("\r\n");
  return text;
}

// The index of the first line named AKey (a line without "=" has no name).
qsizetype findKey(const QStringList& ALines, const QString& AKey)
{
  for (qsizetype i = 0; i < ALines.size(); ++i) {
    const qsizetype eq = ALines[i].indexOf(QLatin1Char('='));
    if (eq >= 0 && ALines[i].left(eq).compare(AKey, Qt::CaseInsensitive) == 0)
      return i;
  }
  return -1;
}

}  // namespace

QString TDM::ZenkaiKeyValue(int AOPCODE, const QString& AKey)
{
  QString value;
  try {
    TOwnTransaction own(IBTransactionDEF);
    db::Query q(IBTransactionDEF);
    q.setSql(QStringLiteral("SELECT SSTR FROM STYLECOLOR WHERE OPCODE=:OPCODE AND STYLENAME=:STYLENAME"));
    q.setParam(QStringLiteral("OPCODE"), AOPCODE);
    q.setParam(QStringLiteral("STYLENAME"), AKey);
    for (q.open(); !q.eof(); q.next())
      value = q.field(QStringLiteral("SSTR")).asString();
    q.close();
    own.Commit();
  } catch (...) {
    pcLogDroppedError("TDM.ZenkaiKeyValue");
    return QString();
  }
  return value;
}

void TDM::KeyValueHozon(int AOPCODE, const QString& AKey, const QString& AValue)
{
  try {
    TOwnTransaction own(IBTransactionDEF);
    pcStoreStyleColorText(IBTransactionDEF, AOPCODE, AKey, AValue);
    own.Commit();
  } catch (...) {
    pcLogDroppedError("TDM.KeyValueHozon");
    // Nothing stored; the transaction started here is rolled back.
  }
}

QString TDM::GetExField_Value(const QString& AExField, const QString& AKey)
{
  const QStringList lines = splitLines(AExField);
  const qsizetype i = findKey(lines, AKey);
  if (i < 0)
    return QString();
  return lines[i].mid(lines[i].indexOf(QLatin1Char('=')) + 1);
}

void TDM::SetExField_Value(QString& AExField, const QString& AKey, const QString& AValue)
{
  QStringList lines = splitLines(AExField);
  const qsizetype i = findKey(lines, AKey);
  if (i >= 0)
    lines.removeAt(i);
  lines << AKey + QLatin1Char('=') + AValue;
  AExField = joinLines(lines);
}

void TDM::DeleteExField_Key(QString& AExField, const QString& AKey)
{
  QStringList lines = splitLines(AExField);
  const qsizetype i = findKey(lines, AKey);
  if (i >= 0)
    lines.removeAt(i);
  AExField = joinLines(lines);
}
