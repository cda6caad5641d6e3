#include "datasel/DataKensaku.h"

#include <functional>
#include <optional>

#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/FbError.h"
#include "db/DbError.h"
#include "db/Query.h"

namespace {

struct SortCode {
  int code;
  int col;
};
constexpr SortCode kSortCodes[] = {{0, 11}, {1, 14}, {2, 15}, {3, 16}, {4, 17}, {5, 18}, {6, 12}};

// Runs AWork in the system-database transaction (started here when none is
// active) and commits what it started: 1 when done, 0 after a failure, which
// is reported when this call started the transaction.
int inOwnTransaction(const QString& AStep, const QString& AText, const std::function<void(db::Query&)>& AWork)
{
  std::optional<TOwnTransaction> tr;
  try {
    tr.emplace(DM->IBTransactionDEF);
    db::Query q(DM->IBTransactionDEF);
    AWork(q);
    tr->Commit();
    return 1;
  } catch (const std::exception& e) {
    if (tr && tr->Started()) {
      tr->Rollback();
      fnReportError(e, AStep, AText);
    }
    return 0;
  }
}

// Half-width katakana U+FF61 .. U+FF9D and their full-width forms.
constexpr char16_t kKana[] = {0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9,
                              0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB,
                              0x30AD, 0x30AF, 0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1,
                              0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5,
                              0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9,
                              0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3};

void parseVersion(const QString& text, int& major, int& minor)
{
  const QStringList p = text.split(QLatin1Char('.'));
  bool ok = false;
  major = p.value(0).trimmed().toInt(&ok);
  if (!ok)
    major = 0;
  minor = p.size() > 1 ? p.value(1).trimmed().toInt(&ok) : 0;
  if (!ok)
    minor = 0;
}

}  // namespace

int ConvReadSortCol(int ASortCol)
{
  for (const auto& s : kSortCodes)
    if (s.code == ASortCol)
      return s.code == 0 ? 0 : s.col;
  return 0;
}

int ConvWriteSortCol(int ASortCol)
{
  for (const auto& s : kSortCodes)
    if (s.col == ASortCol)
      return s.code;
  return 0;
}

QStringList DataKbnItems()
{
  return {QStringLiteral("選択なし"),     QStringLiteral("法人"),     QStringLiteral("個人(一般)"),
          QStringLiteral("個人(不動産)"), QStringLiteral("医療法人"), QStringLiteral("個人(クリニック)"),
          QStringLiteral("個人(農業)")};
}

int DataKbnToIndex(int ADataType, int ACodeType)
{
  if (ADataType == 1)
    return 1;
  if (ADataType == 3)
    return 4;
  if (ADataType == 2) {
    switch (ACodeType) {
      case 1:
        return 2;
      case 2:
        return 3;
      case 3:
        return 5;
      case 4:
        return 6;
      default:
        return 0;
    }
  }
  return 0;
}

void IndexToDataKbn(int AIndex, int& ADataType, int& ACodeType)
{
  static const int t[7][2] = {{0, 0}, {1, 1}, {2, 1}, {2, 2}, {3, 1}, {2, 3}, {2, 4}};
  ADataType = 0;
  ACodeType = 0;
  if (AIndex < 0 || AIndex > 6)
    return;
  ADataType = t[AIndex][0];
  ACodeType = t[AIndex][1];
}

void TDataKensakuStore::InitRecord(TDataKensakuRec& ARec) const
{
  ARec = TDataKensakuRec{};
  ARec.OPCODE = SystemDef.OPCODE;
  ARec.ListType = FListType;
}

int TDataKensakuStore::SelectRecord(TDataKensakuRec& ARec)
{
  InitRecord(ARec);
  return inOwnTransaction(
      QStringLiteral("TDataListKensakuBox.SelectRecord"), QStringLiteral("検索条件レコードの参照に失敗しました。"),
      [&](db::Query& q) {
        q.setSql(
            QStringLiteral("SELECT JYOKENUSE,DATATYPE,CODETYPE,DATACODE,DATANAME,TANTO,DATAVER,SEIHINNAME,SORTCOL,"
                           "SORTTYPE FROM KENSAKUJYOKEN WHERE (OPCODE=:OPCODE)AND(LISTTYPE=:LISTTYPE)"));
        q.setParam("OPCODE", ARec.OPCODE);
        q.setParam("LISTTYPE", ARec.ListType);
        bool found = false;
        for (q.open(); !q.eof(); q.next()) {
          found = true;
          ARec.JyokenUse = q.field("JYOKENUSE").asInt();
          ARec.DataType = q.field("DATATYPE").asInt();
          ARec.CodeType = q.field("CODETYPE").asInt();
          ARec.DataCode = q.field("DATACODE").asString();
          ARec.DataName = q.field("DATANAME").asString();
          ARec.Tanto = q.field("TANTO").asInt();
          ARec.DataVer = q.field("DATAVER").asString();
          ARec.Seihin = q.field("SEIHINNAME").asString();
          ARec.SortCol = ConvReadSortCol(q.field("SORTCOL").asInt());
          ARec.SortType = q.field("SORTTYPE").asInt();
        }
        q.close();
        if (!found) {
          q.setSql(QStringLiteral(
              "INSERT INTO KENSAKUJYOKEN(OPCODE,LISTTYPE,JYOKENUSE,DATATYPE,CODETYPE,DATACODE,DATANAME,TANTO,DATAVER,"
              "SEIHINNAME,SORTCOL,SORTTYPE) "
              "VALUES(:OPCODE,:LISTTYPE,:JYOKENUSE,:DATATYPE,:CODETYPE,:DATACODE,:DATANAME,"
              ":TANTO,:DATAVER,:SEIHINNAME,:SORTCOL,:SORTTYPE)"));
          q.setParam("OPCODE", ARec.OPCODE);
          q.setParam("LISTTYPE", ARec.ListType);
          q.setParam("JYOKENUSE", 0);
          q.setParam("DATATYPE", 0);
          q.setParam("CODETYPE", 0);
          q.setParam("DATACODE", QString());
          q.setParam("DATANAME", QString());
          q.setParam("TANTO", 0);
          q.setParam("DATAVER", QString());
          q.setParam("SEIHINNAME", QString());
          q.setParam("SORTCOL", 0);
          q.setParam("SORTTYPE", 0);
          q.exec();
          q.close();
        }
      });
}

int TDataKensakuStore::UpdateRecord(const TDataKensakuRec& ARec)
{
  return inOwnTransaction(QStringLiteral("TDataListKensakuBox.UpdateRecord"),
                          QStringLiteral("検索条件レコードの更新に失敗しました。"), [&](db::Query& q) {
                            q.setSql(QStringLiteral(
                                "UPDATE KENSAKUJYOKEN SET JYOKENUSE=:JYOKENUSE,DATATYPE=:DATATYPE,CODETYPE=:CODETYPE,"
                                "DATACODE=:DATACODE,DATANAME=:DATANAME,TANTO=:TANTO,DATAVER=:DATAVER,"
                                "SEIHINNAME=:SEIHINNAME,SORTCOL=:SORTCOL,SORTTYPE=:SORTTYPE "
                                "WHERE (OPCODE=:OPCODE)AND(LISTTYPE=:LISTTYPE)"));
                            q.setParam("JYOKENUSE", ARec.JyokenUse);
                            q.setParam("DATATYPE", ARec.DataType);
                            q.setParam("CODETYPE", ARec.CodeType);
                            q.setParam("DATACODE", ARec.DataCode);
                            q.setParam("DATANAME", ARec.DataName);
                            q.setParam("TANTO", ARec.Tanto);
                            q.setParam("DATAVER", ARec.DataVer);
                            q.setParam("SEIHINNAME", ARec.Seihin);
                            q.setParam("SORTCOL", ConvWriteSortCol(ARec.SortCol));
                            q.setParam("SORTTYPE", ARec.SortType);
                            q.setParam("OPCODE", ARec.OPCODE);
                            q.setParam("LISTTYPE", ARec.ListType);
                            q.exec();
                            q.close();
                          });
}

int TDataKensakuStore::UpdateRecordSortField(const TDataKensakuRec& ARec)
{
  return inOwnTransaction(QStringLiteral("TDataListKensakuBox.UpdateRecordSortField"),
                          QStringLiteral("検索条件レコードの更新に失敗しました。"), [&](db::Query& q) {
                            q.setSql(
                                QStringLiteral("UPDATE KENSAKUJYOKEN SET SORTCOL=:SORTCOL,SORTTYPE=:SORTTYPE "
                                               "WHERE (OPCODE=:OPCODE)AND(LISTTYPE=:LISTTYPE)"));
                            q.setParam("SORTCOL", ConvWriteSortCol(ARec.SortCol));
                            q.setParam("SORTTYPE", ARec.SortType);
                            q.setParam("OPCODE", ARec.OPCODE);
                            q.setParam("LISTTYPE", ARec.ListType);
                            q.exec();
                            q.close();
                          });
}

void pcClearKensakuFilter(TDataKensakuRec& ARec)
{
  ARec.JyokenUse = 0;
  ARec.DataType = 0;
  ARec.CodeType = 0;
  ARec.DataCode.clear();
  ARec.DataName.clear();
  ARec.Tanto = 0;
  ARec.DataVer.clear();
  ARec.Seihin.clear();
}

QString fnFullWidthUpper(const QString& AText)
{
  QString out;
  out.reserve(AText.size());
  for (QChar ch : AText) {
    const char16_t c = ch.unicode();
    if (c == 0x20)
      out += QChar(0x3000);
    else if (c >= 0x21 && c <= 0x7E)
      out += QChar(char16_t(c - 0x21 + 0xFF01));
    else if (c >= 0xFF61 && c <= 0xFF9D)
      out += QChar(kKana[c - 0xFF61]);
    else if (c == 0xFF9E)
      out += QChar(0x3099);
    else if (c == 0xFF9F)
      out += QChar(0x309A);
    else
      out += ch;
  }
  out = out.normalized(QString::NormalizationForm_C);
  for (QChar& ch : out)
    if (ch.unicode() >= 0xFF41 && ch.unicode() <= 0xFF5A)
      ch = QChar(char16_t(ch.unicode() - 0x20));
  return out;
}

bool fnDataKensakuPass(const TDataKensakuRec& C, const TDataListRec& E)
{
  if (C.DataType > 0 && E.DataKbn != C.DataType)
    return false;
  if (C.CodeType != 0 && E.CodeKbn != C.CodeType)
    return false;
  if (C.DataType == -13 && E.DataKbn != 1 && E.DataKbn != 3)
    return false;
  if (!C.DataName.isEmpty() && !fnFullWidthUpper(E.DataListName).contains(fnFullWidthUpper(C.DataName)))
    return false;
  if (C.Tanto != 0 && E.Tanto != C.Tanto)
    return false;
  if (!C.DataVer.isEmpty()) {
    int major = 0, minor = 0;
    parseVersion(C.DataVer, major, minor);
    switch (C.DataVerKbn) {
      case 1:
        if (E.VerMajor != major)
          return false;
        break;
      case 2:
        if (E.VerMajor < major || (E.VerMajor == major && E.VerMinor < minor))
          return false;
        break;
      case 3:
        if (QStringLiteral("%1.%2.%3").arg(E.VerMajor).arg(E.VerMinor).arg(E.VerRevision) != C.DataVer)
          return false;
        break;
      default:
        if (QStringLiteral("%1.%2").arg(E.VerMajor).arg(E.VerMinor) != C.DataVer)
          return false;
        break;
    }
  }
  const QString code = C.DataCode.trimmed();
  if (!code.isEmpty()) {
    const QString head = E.DataCode.left(code.size()).leftJustified(code.size(), QLatin1Char(' '));
    if (head.toUpper() != code.toUpper())
      return false;
  }
  return true;
}

TJxSortField fnSortFieldOfColumn(int ACol)
{
  switch (ACol) {
    case 12:
      return jxsfDataCode;
    case 14:
      return jxsfName;
    case 15:
      return jxsfNendo;
    case 16:
      return jxsfKikan;
    case 17:
      return jxsfPath;
    case 18:
      return jxsfDataVer;
    default:
      return jxsfRec;
  }
}
