// The operator settings file of TUserList: saving and restoring the level
// names, menu and process rights, operators and their display settings.
//
// One record per line (CR LF), fields separated by commas, the record type
// first: 1 level name, 2 menu right, 20 process right, 3 operator, 4 an
// operator's display settings (see kSysDefInts for the order of its
// numbers). Texts are written between double quotes with an inner double
// quote doubled, so a text with quotes, commas or line breaks reads back as
// it was.
#include <QFile>

#include "common/AccRecord.h"
#include "common/FbError.h"
#include "common/UserList.h"
#include "common/UserListTrans.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "platform/Exceptions.h"
#include "platform/Format.h"
#include "platform/SafeSave.h"
#include "platform/TextCodec.h"

namespace {

// The 35 number columns of SYSDEF in a type-4 record, items 3 to 37.
const char* const kSysDefInts[] = {"FontSize",
                                   "FontStyle",
                                   "FontCharSet",
                                   "ColHeaderColor",
                                   "ColHeaderGradColor1",
                                   "ColHeaderGradColor2",
                                   "ClientColor",
                                   "ClientColor1",
                                   "ClientColor2",
                                   "TotalColor",
                                   "ActiveColor",
                                   "NetColor1",
                                   "NetColor2",
                                   "PLineColor1",
                                   "PLineColor2",
                                   "ShowHint",
                                   "DicSwitch",
                                   "DicTekAuto",
                                   "DicTorAuto",
                                   "DicUsednt",
                                   "DicType",
                                   "DicNum1",
                                   "DicSortType",
                                   "ShowDataSentaku",
                                   "SwkLine",
                                   "KingakuPlus",
                                   "ZeroPrint",
                                   "SankakuPlus",
                                   "TEK_AUTOUP",
                                   "TOR_AUTOUP",
                                   "Reserve1",
                                   "Reserve2",
                                   "Reserve3",
                                   "Reserve4",
                                   "Reserve5"};
constexpr int kSysDefIntCount = int(sizeof kSysDefInts / sizeof kSysDefInts[0]);
static_assert(kSysDefIntCount == 35);

// The same numbers in the running settings, in the same order.
int TSystemDef::*const kSystemDefInts[] = {&TSystemDef::FontSize,
                                           &TSystemDef::FontStyle,
                                           &TSystemDef::FontCharSet,
                                           &TSystemDef::ColHeaderColor,
                                           &TSystemDef::ColHeaderGradColor1,
                                           &TSystemDef::ColHeaderGradColor2,
                                           &TSystemDef::ClientColor,
                                           &TSystemDef::ClientColor1,
                                           &TSystemDef::ClientColor2,
                                           &TSystemDef::TotalColor,
                                           &TSystemDef::ActiveColor,
                                           &TSystemDef::NetColor1,
                                           &TSystemDef::NetColor2,
                                           &TSystemDef::LineColor1,
                                           &TSystemDef::LineColor2,
                                           &TSystemDef::ShowHint,
                                           &TSystemDef::DicSwitch,
                                           &TSystemDef::DicTekAuto,
                                           &TSystemDef::DicTorAuto,
                                           &TSystemDef::DicUsednt,
                                           &TSystemDef::DicType,
                                           &TSystemDef::DicNum1,
                                           &TSystemDef::DicSortType,
                                           &TSystemDef::ShowDataSentaku,
                                           &TSystemDef::SwkLine,
                                           &TSystemDef::KingakuPlus,
                                           &TSystemDef::ZeroPrint,
                                           &TSystemDef::SankakuPlus,
                                           &TSystemDef::DicTekAutoAdd,
                                           &TSystemDef::DicTorAutoAdd,
                                           &TSystemDef::ZeigakuSanko,
                                           &TSystemDef::FusainoBuKaiPage,
                                           &TSystemDef::SwkTorokuKakunin,
                                           &TSystemDef::Reserve4,
                                           &TSystemDef::Reserve5};
static_assert(sizeof kSystemDefInts / sizeof kSystemDefInts[0] == kSysDefIntCount);

constexpr int kDefaultRowHeaderColor = 0xDBDBDB;

QString sysDefIntColumns(const QString& prefix)
{
  QStringList cols;
  for (const char* c : kSysDefInts)
    cols << prefix + QLatin1String(c);
  return cols.join(QLatin1Char(','));
}

// The row-header colour of a type-4 record: item 39 when there and a number.
int rowHeaderColor(const QStringList& r)
{
  int v = 0;
  if (r.size() >= 40 && TryStrToInt(r.at(39), v))
    return v;
  return kDefaultRowHeaderColor;
}

// Item i of a record as a number; a text that is no number fails.
int strictInt(const QStringList& r, int i)
{
  return StrToInt(i < r.size() ? r.at(i) : QString());
}

QString item(const QStringList& r, int i)
{
  return i < r.size() ? r.at(i) : QString();
}

int recordType(const QStringList& r)
{
  return r.isEmpty() ? 0 : StrToIntDef(r.at(0).trimmed(), 0);
}

}  // namespace

QString TUserList::QuoteField(const QString& AText)
{
  QString t = AText;
  t.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + t + QLatin1Char('"');
}

std::vector<QStringList> TUserList::SplitSettingsText(const QString& AText)
{
  // A field that begins with a double quote runs to the quote that is
  // followed by a comma, a line end or the end of the text; inside it a
  // doubled quote stands for one, and a single quote followed by anything
  // else is taken as it stands (older files did not double them). Commas and
  // line breaks inside such a field belong to the text.
  std::vector<QStringList> out;
  const qsizetype n = AText.size();
  const QChar quote = QLatin1Char('"');
  auto isEnd = [&](qsizetype i) {
    return i >= n || AText.at(i) == QLatin1Char(',') || AText.at(i) == QLatin1Char('\r') ||
           AText.at(i) == QLatin1Char('\n');
  };
  qsizetype i = 0;
  while (i < n) {
    QStringList fields;
    bool lineEnd = false;
    if (AText.at(i) == QLatin1Char('\r') || AText.at(i) == QLatin1Char('\n')) {
      // an empty line
      if (AText.at(i) == QLatin1Char('\r') && i + 1 < n && AText.at(i + 1) == QLatin1Char('\n'))
        ++i;
      ++i;
      out.push_back(fields);
      continue;
    }
    while (!lineEnd) {
      QString field;
      if (i < n && AText.at(i) == quote) {
        ++i;
        while (i < n) {
          if (AText.at(i) == quote) {
            if (i + 1 < n && AText.at(i + 1) == quote) {
              field += quote;
              i += 2;
              continue;
            }
            if (isEnd(i + 1)) {
              ++i;
              break;
            }
          }
          field += AText.at(i++);
        }
      }
      while (!isEnd(i))
        field += AText.at(i++);
      fields << field;
      if (i < n && AText.at(i) == QLatin1Char(',')) {
        ++i;
        continue;
      }
      lineEnd = true;
      if (i < n && AText.at(i) == QLatin1Char('\r'))
        ++i;
      if (i < n && AText.at(i) == QLatin1Char('\n'))
        ++i;
    }
    out.push_back(fields);
  }
  return out;
}

QStringList TUserList::backupLines()
{
  db::Query& q = *FSysQ;
  QStringList lines;
  q.setSql(QStringLiteral("SELECT LEVELNO,NAME FROM LEVELNAME\nORDER BY LEVELNO"));
  for (q.open(); !q.eof(); q.next())
    lines << QStringLiteral("1,%1,%2")
                 .arg(q.field(QStringLiteral("LEVELNO")).asInt())
                 .arg(QuoteField(q.field(QStringLiteral("NAME")).asString()));
  q.close();
  q.setSql(QStringLiteral("SELECT LEVELNO,PAGENO,MENUNO FROM JOBCONTROL\nORDER BY LEVELNO,PAGENO,MENUNO"));
  for (q.open(); !q.eof(); q.next())
    lines << QStringLiteral("2,%1,%2,%3")
                 .arg(q.field(QStringLiteral("LEVELNO")).asInt())
                 .arg(q.field(QStringLiteral("PAGENO")).asInt())
                 .arg(q.field(QStringLiteral("MENUNO")).asInt());
  q.close();
  q.setSql(QStringLiteral("SELECT LEVELNO,PROC_ID,PROC_OPTION FROM JOBCONTROL2\nORDER BY LEVELNO,PROC_ID"));
  for (q.open(); !q.eof(); q.next())
    lines << QStringLiteral("20,%1,%2,%3")
                 .arg(q.field(QStringLiteral("LEVELNO")).asInt())
                 .arg(QuoteField(q.field(QStringLiteral("PROC_ID")).asString()),
                      QuoteField(q.field(QStringLiteral("PROC_OPTION")).asString()));
  q.close();
  q.setSql(
      QStringLiteral("SELECT GROUPID,OPCODE,OPNAME,JOBLEVEL,PASWORD,DATAPAS,JIMUSHO,OKINIIRI,KANSA FROM OPERATOR\n"
                     "WHERE OPCODE>=10\nORDER BY OPCODE"));
  for (q.open(); !q.eof(); q.next())
    lines << QStringLiteral("3,%1,%2,%3,%4,%5,%6,%7,%8,%9")
                 .arg(q.field(QStringLiteral("GROUPID")).asInt())
                 .arg(q.field(QStringLiteral("OPCODE")).asInt())
                 .arg(QuoteField(q.field(QStringLiteral("OPNAME")).asString()))
                 .arg(q.field(QStringLiteral("JOBLEVEL")).asInt())
                 .arg(QuoteField(q.field(QStringLiteral("PASWORD")).asString()),
                      QuoteField(q.field(QStringLiteral("DATAPAS")).asString()))
                 .arg(q.field(QStringLiteral("JIMUSHO")).asInt())
                 .arg(q.field(QStringLiteral("OKINIIRI")).asInt())
                 .arg(q.field(QStringLiteral("KANSA")).asInt());
  q.close();
  q.setSql(QStringLiteral("SELECT OPCODE,FontName,") + sysDefIntColumns(QString()) +
           QStringLiteral(",SSTR,RowHeaderColor\nFROM SYSDEF\nWHERE OPCODE>=:OPCODE1 AND OPCODE<=:OPCODE2\n"
                          "ORDER BY OPCODE"));
  q.setParam(QStringLiteral("OPCODE1"), loginCode(10));
  q.setParam(QStringLiteral("OPCODE2"), loginCode(9999));
  for (q.open(); !q.eof(); q.next()) {
    QStringList f;
    f << QStringLiteral("4") << QString::number(q.field(QStringLiteral("OPCODE")).asInt())
      << QuoteField(q.field(QStringLiteral("FontName")).asString());
    for (const char* c : kSysDefInts)
      f << QString::number(q.field(QLatin1String(c)).asInt());
    f << QuoteField(q.field(QStringLiteral("SSTR")).asString())
      << QString::number(q.field(QStringLiteral("RowHeaderColor")).asInt());
    lines << f.join(QLatin1Char(','));
  }
  q.close();
  return lines;
}

bool TUserList::BackupRecored(const QString& AFileName)
{
  TOwnTransaction own(FSysQ->transaction());
  try {
    const QStringList lines = backupLines();
    own.Commit();
    QString text;
    for (const QString& l : lines)
      text += l + QStringLiteral("\r\n");
    SaveFileSafely(AFileName, encodeText(text, TextEncoding::Utf8Bom));
    return true;
  } catch (const std::exception& e) {
    FSysQ->close();
    fnReportError(e, QStringLiteral("TUserList.BackupRecored"), QStringLiteral("オペレータ情報の保存に失敗しました。"));
    own.EndAfterError();
    return false;
  }
}

void TUserList::restoreRecords(const std::vector<QStringList>& ARecords, int AOpCode, bool& AOwnFound,
                               QStringList& AOwnLine)
{
  db::Query& q = *FSysQ;
  const int G = FGroupID;

  // The file holds the display settings of one group (the one it was saved
  // in) but the operators of every group: the operators restored are those
  // of the saving group, or of this group when the file does not say.
  int sourceGroup = -1;
  for (const QStringList& r : ARecords)
    if (recordType(r) == 4) {
      sourceGroup = strictInt(r, 1) / 10000;
      break;
    }
  if (sourceGroup < 0) {
    for (const QStringList& r : ARecords)
      if (recordType(r) == 3 && (sourceGroup < 0 || strictInt(r, 1) == G))
        sourceGroup = strictInt(r, 1);
  }

  q.setSql(QStringLiteral("DELETE FROM JOBCONTROL"));
  q.exec();
  q.setSql(QStringLiteral("DELETE FROM JOBCONTROL2"));
  q.exec();
  q.setSql(QStringLiteral("DELETE FROM OPERATOR\nWHERE (GROUPID=:GROUPID) AND ((OPCODE>=10) AND (OPCODE<>:OPCODE))"));
  q.setParam(QStringLiteral("GROUPID"), G);
  q.setParam(QStringLiteral("OPCODE"), AOpCode);
  q.exec();
  // Only this group's operators lose their settings rows.
  q.setSql(
      QStringLiteral("DELETE FROM SYSDEF\nWHERE (OPCODE>=:OPCODE1) AND (OPCODE<=:OPCODE3) AND (OPCODE<>:OPCODE2)"));
  q.setParam(QStringLiteral("OPCODE1"), loginCode(10));
  q.setParam(QStringLiteral("OPCODE3"), loginCode(9999));
  q.setParam(QStringLiteral("OPCODE2"), loginCode(AOpCode));
  q.exec();

  const QString sysDefInsert = QStringLiteral("INSERT INTO SYSDEF(OPCODE,FontName,") + sysDefIntColumns(QString()) +
                               QStringLiteral(",SSTR,RowHeaderColor)\nVALUES(:OPCODE,:FontName,") +
                               sysDefIntColumns(QStringLiteral(":")) + QStringLiteral(",:SSTR,:RowHeaderColor)");

  for (const QStringList& r : ARecords) {
    switch (recordType(r)) {
      case 1:
        q.setSql(QStringLiteral("UPDATE LEVELNAME SET NAME=:NAME\nWHERE LEVELNO=:LEVELNO"));
        q.setParam(QStringLiteral("NAME"), item(r, 2));
        q.setParam(QStringLiteral("LEVELNO"), strictInt(r, 1));
        q.exec();
        break;
      case 2:
        q.setSql(QStringLiteral("INSERT INTO JOBCONTROL(LEVELNO,PAGENO,MENUNO)\nVALUES(:LEVELNO,:PAGENO,:MENUNO)"));
        q.setParam(QStringLiteral("LEVELNO"), strictInt(r, 1));
        q.setParam(QStringLiteral("PAGENO"), strictInt(r, 2));
        q.setParam(QStringLiteral("MENUNO"), strictInt(r, 3));
        q.exec();
        break;
      case 3: {
        const int code = strictInt(r, 2);
        if (code == AOpCode || code < 10 || strictInt(r, 1) != sourceGroup)
          break;
        q.setSql(QStringLiteral(
            "INSERT INTO OPERATOR(GROUPID,OPCODE,OPNAME,JOBLEVEL,PASWORD,DATAPAS,JIMUSHO,OKINIIRI,KANSA)\n"
            "VALUES(:GROUPID,:OPCODE,:OPNAME,:JOBLEVEL,:PASWORD,:DATAPAS,:JIMUSHO,:OKINIIRI,:KANSA)"));
        q.setParam(QStringLiteral("GROUPID"), G);
        q.setParam(QStringLiteral("OPCODE"), code);
        q.setParam(QStringLiteral("OPNAME"), item(r, 3));
        q.setParam(QStringLiteral("JOBLEVEL"), strictInt(r, 4));
        q.setParam(QStringLiteral("PASWORD"), item(r, 5));
        q.setParam(QStringLiteral("DATAPAS"), item(r, 6));
        q.setParam(QStringLiteral("JIMUSHO"), strictInt(r, 7));
        q.setParam(QStringLiteral("OKINIIRI"), strictInt(r, 8));
        q.setParam(QStringLiteral("KANSA"), strictInt(r, 9));
        q.exec();
        break;
      }
      case 4: {
        // The operator part of the saved login code, re-based into this group.
        const int code = strictInt(r, 1) % 10000;
        for (int i = 3; i < 3 + kSysDefIntCount; ++i)
          strictInt(r, i);  // a record that is no number fails before it is used
        if (code == AOpCode) {
          AOwnFound = true;
          AOwnLine = r;
          break;
        }
        if (code < 10)
          break;
        q.setSql(sysDefInsert);
        q.setParam(QStringLiteral("OPCODE"), loginCode(code));
        q.setParam(QStringLiteral("FontName"), item(r, 2));
        for (int i = 0; i < kSysDefIntCount; ++i)
          q.setParam(QLatin1String(kSysDefInts[i]), strictInt(r, 3 + i));
        q.setParam(QStringLiteral("SSTR"), item(r, 38));
        q.setParam(QStringLiteral("RowHeaderColor"), rowHeaderColor(r));
        q.exec();
        break;
      }
      case 20: {
        QString proc = item(r, 2);
        const QString option = item(r, 3);
        if (proc == QLatin1String("JxMBHokukuJigyo") || proc == QLatin1String("JxMBHokukuZaisan") ||
            proc == QLatin1String("JxMBHokukuKansa"))
          break;
        if (proc == QLatin1String("JxAoYosanKihonRule") && option == QLatin1String("SyoriType=1"))
          proc = QStringLiteral("JxHensaiYoteihyo");
        q.setSql(QStringLiteral(
            "INSERT INTO JOBCONTROL2(LEVELNO,PROC_ID,PROC_OPTION)\nVALUES(:LEVELNO,:PROC_ID,:PROC_OPTION)"));
        q.setParam(QStringLiteral("LEVELNO"), strictInt(r, 1));
        q.setParam(QStringLiteral("PROC_ID"), proc);
        q.setParam(QStringLiteral("PROC_OPTION"), option);
        q.exec();
        break;
      }
      default:
        break;
    }
  }
}

bool TUserList::RestoreRecored(const QString& AFileName, int AOpCode)
{
  QFile f(AFileName);
  if (!f.open(QIODevice::ReadOnly))
    throw EPlatformError(QStringLiteral("ファイルを開けません: %1 (%2)").arg(AFileName, f.errorString()));
  const QByteArray bytes = f.readAll();
  if (f.error() != QFileDevice::NoError)
    throw EPlatformError(QStringLiteral("ファイルを読めません: %1 (%2)").arg(AFileName, f.errorString()));
  f.close();
  // A byte-order mark names the encoding; a file without one is in the
  // Windows code page.
  TextEncoding enc = TextEncoding::Cp932;
  if (bytes.startsWith("\xEF\xBB\xBF"))
    enc = TextEncoding::Utf8Bom;
  else if (bytes.startsWith("\xFF\xFE"))
    enc = TextEncoding::Utf16LeBom;
  const std::vector<QStringList> records = SplitSettingsText(decodeText(bytes, enc));

  TOwnTransaction own(FSysQ->transaction());
  try {
    bool ownFound = false;
    QStringList ownLine;
    restoreRecords(records, AOpCode, ownFound, ownLine);
    own.Commit();
    // The running settings follow the restoring operator's own record once
    // the tables hold the restored set-up.
    if (ownFound) {
      SystemDef.FontName = item(ownLine, 2);
      for (int i = 0; i < kSysDefIntCount; ++i)
        SystemDef.*kSystemDefInts[i] = strictInt(ownLine, 3 + i);
      SystemDef.SSTR = item(ownLine, 38);
      SystemDef.RowHeaderColor = rowHeaderColor(ownLine);
    }
    return true;
  } catch (const std::exception& e) {
    FSysQ->close();
    fnReportError(e, QStringLiteral("TUserList.RestoreRecored"),
                  QStringLiteral("オペレータ情報の復元に失敗しました。"));
    own.Rollback();
    return false;
  }
}
