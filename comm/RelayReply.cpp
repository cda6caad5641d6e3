#include "comm/RelayReply.h"

#include "common/AccDateText.h"

bool TRelayBufferSource::ReadLine(QByteArray& ALine)
{
  if (FPos >= FData.size())
    return false;
  qsizetype end = FData.indexOf('\n', FPos);
  qsizetype next = end < 0 ? FData.size() : end + 1;
  if (end < 0)
    end = FData.size();
  ALine = FData.mid(FPos, end - FPos);
  if (ALine.endsWith('\r'))
    ALine.chop(1);
  FPos = next;
  return true;
}

QByteArray TRelayReplyReader::ReadRaw()
{
  QByteArray line;
  if (!FSource.ReadLine(line))
    throw ERelayReplyError(QStringLiteral("The relay server's reply ended after line %1.").arg(FLineNo));
  if (line.size() > RelayMaxLineLength)
    throw ERelayReplyError(QStringLiteral("Line %1 of the relay server's reply is too long.").arg(FLineNo + 1));
  return line;
}

QString TRelayReplyReader::Line(int ANo)
{
  if (ANo <= FLineNo)
    throw ERelayReplyError(QStringLiteral("Line %1 of the relay server's reply was already read.").arg(ANo));
  QByteArray line;
  if (FLineNo == 0) {
    do
      line = ReadRaw();
    while (line.isEmpty());
    FLineNo = 1;
  }
  while (FLineNo < ANo) {
    line = ReadRaw();
    ++FLineNo;
  }
  // Every value the server sends is ASCII; names travel in Base64.
  return QString::fromLatin1(line);
}

QString fnRelayValue(const QString& ALine, int AFrom)
{
  return ALine.mid(AFrom - 1);
}

QString fnRelayResultCode(const QString& ALine)
{
  return ALine.mid(10, 3);
}

namespace {

bool allDigits(const QString& s)
{
  for (QChar c : s)
    if (c < QLatin1Char('0') || c > QLatin1Char('9'))
      return false;
  return !s.isEmpty();
}

// Characters AFrom..AFrom+ALen-1 (1-based) of s.
QString part(const QString& s, int AFrom, int ALen)
{
  return s.mid(AFrom - 1, ALen);
}

// "yyyy/mm/dd hh:nn" out of a value written "yyyy?mm?dd?hh:nn..." (the
// separators at 5, 8 and 11 may be any character); AWithSeconds keeps ":ss".
QString rebuildDate(const QString& v, bool AWithSeconds)
{
  QString out = part(v, 1, 4) + QLatin1Char('/') + part(v, 6, 2) + QLatin1Char('/') + part(v, 9, 2) + QLatin1Char(' ') +
                part(v, 12, AWithSeconds ? 8 : 5);
  return out;
}

QString decodeName(const QString& ABase64)
{
  return QString::fromUtf8(QByteArray::fromBase64(ABase64.trimmed().toLatin1()));
}

}  // namespace

void pcRelayServerTime(const QString& AValue, bool ACompact, QString& AWText, TDateTime& ATime)
{
  QString y, mo, d, h, mi, s;
  if (ACompact) {
    y = part(AValue, 1, 4), mo = part(AValue, 5, 2), d = part(AValue, 7, 2);
    h = part(AValue, 9, 2), mi = part(AValue, 11, 2), s = part(AValue, 13, 2);
  } else {
    y = part(AValue, 1, 4), mo = part(AValue, 6, 2), d = part(AValue, 9, 2);
    h = part(AValue, 12, 2), mi = part(AValue, 15, 2), s = part(AValue, 18, 2);
  }
  const QString text = QStringLiteral("%1/%2/%3 %4:%5:%6").arg(y, mo, d, h, mi, s);
  TDateTime date = 0, time = 0;
  const bool ok = y.size() == 4 && mo.size() == 2 && d.size() == 2 && h.size() == 2 && mi.size() == 2 &&
                  s.size() == 2 && allDigits(y + mo + d + h + mi + s) &&
                  TryEncodeDate(y.toInt(), mo.toInt(), d.toInt(), date) &&
                  TryEncodeTime(h.toInt(), mi.toInt(), s.toInt(), 0, time);
  if (!ok)
    throw ERelayReplyError(QStringLiteral("'%1' is not a valid server time.").arg(AValue));
  AWText = text;
  ATime = ComposeDateTime(date, time);
}

QString fnRelayDisplayDate(const QString& AText, int ANengoSwitch, bool AWithTime)
{
  if (ANengoSwitch == 0)
    return AText;
  const TDateTime d = fnStrToDateTimeJP(AText.left(10));
  if (IsNoDate(d))
    return AText;
  QString out = fnDateToWarekiText(QStringLiteral("yy/mm/dd"), 2, d);
  if (AWithTime)
    out += QLatin1Char(' ') + AText.mid(11, 5);
  return out;
}

void pcReadServerInfo(TRelayReplyReader& AReader, bool ACloud, int ANengoSwitch, TServerInfo& AInfo)
{
  AInfo.Ftp_Add = fnRelayValue(AReader.Line(6), 8);
  AInfo.Ftp_Pass = fnRelayValue(AReader.Line(7), 8);
  AReader.Line(8);
  const int blockLines = ACloud ? 12 : 9;
  for (TServerFolderRow& row : AInfo.Rows) {
    QString l[13];
    for (int i = 1; i <= blockLines; ++i)
      l[i] = AReader.Next();
    row.Fol_Name = fnRelayValue(l[1], 14);
    row.Data_Name = decodeName(fnRelayValue(l[2], 11));
    if (ACloud) {
      row.Op_Name.clear();
      row.Pc_Name.clear();
    }
    if (row.Data_Name.trimmed().isEmpty())
      continue;
    row.Kaikei_Nend = fnRelayValue(l[3], 11);
    row.Sta_Kikan = rebuildDate(fnRelayValue(l[4], 12), false);
    row.Sta_Kikan2 = fnRelayDisplayDate(row.Sta_Kikan, ANengoSwitch, false);
    row.End_Kikan = rebuildDate(fnRelayValue(l[5], 12), false);
    row.End_Kikan2 = fnRelayDisplayDate(row.End_Kikan, ANengoSwitch, false);
    const QString upRaw = fnRelayValue(l[6], 11);
    row.Up_Day = rebuildDate(upRaw, false);
    if (ACloud)
      row.Wp_Day = rebuildDate(upRaw, true);
    row.Up_Day2 = fnRelayDisplayDate(row.Up_Day, ANengoSwitch, true);
    row.Pas_Word = fnRelayValue(l[7], 11);
    row.Data_Ver = fnRelayValue(l[8], 13);
    const QString dnRaw = fnRelayValue(l[9], 11);
    if (ACloud || upRaw < dnRaw) {
      row.Dn_Day = rebuildDate(dnRaw, false);
      row.Dn_Day2 = row.Dn_Day.left(4) == QLatin1String("0000") ? QStringLiteral("-")
                                                                : fnRelayDisplayDate(row.Dn_Day, ANengoSwitch, true);
    } else {
      // Downloaded before the last upload: nothing to show.
      row.Dn_Day2 = QStringLiteral("-");
    }
    if (ACloud) {
      row.Data_Share = fnRelayValue(l[10], 14);
      if (row.Data_Share == QLatin1String("2")) {
        row.Op_Name = decodeName(fnRelayValue(l[11], 15));
        row.Pc_Name = decodeName(fnRelayValue(l[12], 15));
      }
    }
  }
}
