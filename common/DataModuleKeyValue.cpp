// Operator key values (named rows of STYLECOLOR) and the name=value texts
// in which company data keeps extra attributes of a record.
#include "common/DataModule.h"

#include "common/DbUtil.h"

#include <QRegularExpression>

namespace {

QStringList splitLines(const QString& AText)
{
  static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
  QStringList lines = AText.split(breaks);
  // A final line break ends the last line; it does not start another.
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
}

QString joinLines(const QStringList& ALines)
{
  QString text;
  for (const QString& l : ALines) text += l + QStringLiteral("\r\n");
  return text;
}

// The index of the first line named AKey (a line without "=" has no name).
qsizetype findKey(const QStringList& ALines, const QString& AKey)
{
  for (qsizetype i = 0; i < ALines.size(); ++i) {
    const qsizetype eq = ALines[i].indexOf(QLatin1Char('='));
    if (eq >= 0 && ALines[i].left(eq).compare(AKey, Qt::CaseInsensitive) == 0) return i;
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
    for (q.open(); !q.eof(); q.next()) value = q.field(QStringLiteral("SSTR")).asString();
    q.close();
    own.Commit();
  } catch (...) {
    return QString();
  }
  return value;
}

void TDM::KeyValueHozon(int AOPCODE, const QString& AKey, const QString& AValue)
{
  try {
    TOwnTransaction own(IBTransactionDEF);
    db::Query q(IBTransactionDEF);
    q.setSql(QStringLiteral("SELECT COUNT(OPCODE) AS RECCNT FROM STYLECOLOR WHERE OPCODE=:OPCODE AND STYLENAME=:STYLENAME"));
    q.setParam(QStringLiteral("OPCODE"), AOPCODE);
    q.setParam(QStringLiteral("STYLENAME"), AKey);
    q.open();
    const int count = q.eof() ? 0 : q.field(QStringLiteral("RECCNT")).asInt();
    q.close();
    if (count != 0)
      q.setSql(QStringLiteral(
          "UPDATE STYLECOLOR SET OPCODE=:OPCODE,STYLENAME=:STYLENAME,LINECOLOR1=:LINECOLOR1,LINECOLOR2=:LINECOLOR2,"
          "LINECOLOR3=:LINECOLOR3,LINECOLOR4=:LINECOLOR4,LINECOLOR5=:LINECOLOR5,NETCOLOR1=:NETCOLOR1,"
          "NETCOLOR2=:NETCOLOR2,SSTR=:SSTR WHERE OPCODE=:OPCODE AND STYLENAME=:STYLENAME"));
    else
      q.setSql(QStringLiteral(
          "INSERT INTO STYLECOLOR(OPCODE,STYLENAME,LINECOLOR1,LINECOLOR2,LINECOLOR3,LINECOLOR4,LINECOLOR5,"
          "NETCOLOR1,NETCOLOR2,SSTR) VALUES(:OPCODE,:STYLENAME,:LINECOLOR1,:LINECOLOR2,:LINECOLOR3,:LINECOLOR4,"
          ":LINECOLOR5,:NETCOLOR1,:NETCOLOR2,:SSTR)"));
    q.setParam(QStringLiteral("OPCODE"), AOPCODE);
    q.setParam(QStringLiteral("STYLENAME"), AKey);
    for (const char* c : {"LINECOLOR1", "LINECOLOR2", "LINECOLOR3", "LINECOLOR4", "LINECOLOR5", "NETCOLOR1",
                          "NETCOLOR2"})
      q.setParam(QString::fromLatin1(c), -1);
    q.setParam(QStringLiteral("SSTR"), AValue);
    q.exec();
    own.Commit();
  } catch (...) {
    // Nothing stored; the transaction started here is rolled back.
  }
}

QString TDM::GetExField_Value(const QString& AExField, const QString& AKey)
{
  const QStringList lines = splitLines(AExField);
  const qsizetype i = findKey(lines, AKey);
  if (i < 0) return QString();
  return lines[i].mid(lines[i].indexOf(QLatin1Char('=')) + 1);
}

void TDM::SetExField_Value(QString& AExField, const QString& AKey, const QString& AValue)
{
  QStringList lines = splitLines(AExField);
  const qsizetype i = findKey(lines, AKey);
  if (i >= 0) lines.removeAt(i);
  lines << AKey + QLatin1Char('=') + AValue;
  AExField = joinLines(lines);
}

void TDM::DeleteExField_Key(QString& AExField, const QString& AKey)
{
  QStringList lines = splitLines(AExField);
  const qsizetype i = findKey(lines, AKey);
  if (i >= 0) lines.removeAt(i);
  AExField = joinLines(lines);
}
