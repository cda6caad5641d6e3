#include "common/SitenList.h"

#include <map>

#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/FbError.h"
#include "common/MessageHook.h"
#include "db/DbError.h"
#include "db/Query.h"

namespace {

constexpr int kDefaultColor = 0xFFAF80;

const QString kPermit = QStringLiteral(
    "CASE WHEN MIN(CASE WHEN S.SCODE IN (SELECT SCODE FROM OPLICENSE WHERE OPCODE=:OPCODE) THEN 1\n"
    "ELSE 0\n"
    "END)=1 THEN 1\n"
    "       ELSE 0 END AS PERMIT\n");

// Branch groups with a permission column: 1 when the operator may use the
// group (every member is among his branches; always 1 unrestricted). Groups
// without any member have no row.
QString groupSql(bool restricted)
{
  QString sql = restricted ? QStringLiteral("SELECT G.GCODE,G.GNAME,\n") + kPermit
                           : QStringLiteral("SELECT G.GCODE,G.GNAME, 1 AS PERMIT\n");
  return sql + QStringLiteral(
                   "FROM SISETUGROUPLIST S\n"
                   "INNER JOIN SISETUGROUP G ON (S.GCODE=G.GCODE)\n"
                   "WHERE S.SCODE <> ''\n"
                   "GROUP BY G.GCODE,G.GNAME\n"
                   "ORDER BY G.GCODE");
}

QString quoted(const QString& a, const QString& b, const QString& c)
{
  return QStringLiteral("\"%1\"\t\"%2\"\t\"%3\"").arg(a, b, c);
}

QString noQuotes(QString s)
{
  return s.replace(QLatin1Char('"'), QLatin1Char('\''));
}

}  // namespace

bool TSitenList::permitsWholeCompany(db::Query& q, int AOPCODE)
{
  q.setSql(QStringLiteral("SELECT\n") + kPermit + QStringLiteral("FROM SISETUMST S\nWHERE S.SCODE <> ''"));
  q.setParam(QStringLiteral("OPCODE"), AOPCODE);
  q.open();
  const bool permit = !q.eof() && q.field("PERMIT").asInt() == 1;
  q.close();
  return permit;
}

void TSitenList::addGroups(db::Query& q, bool ARestricted, int AOPCODE, int ABLType, int AJigyoType)
{
  q.setSql(groupSql(ARestricted));
  if (ARestricted)
    q.setParam(QStringLiteral("OPCODE"), AOPCODE);
  for (q.open(); !q.eof(); q.next()) {
    if (q.field("PERMIT").asInt() != 1)
      continue;
    TSitenListRec r;
    r.CODE = q.field("GCODE").asString();
    r.NAME = q.field("GNAME").asString();
    r.BLType = ABLType;
    r.JigyoType = AJigyoType;
    add(r, QString());
  }
  q.close();
}

TSitenList::TSitenList()
{
  if (DM)
    FTransaction = &DM->IBTransactionDAT;
}

TSitenList::~TSitenList() = default;

QString TSitenList::HoujinName()
{
  if (AccInf.SITEN_KANRI == 0)
    return AccInf.SHOUGOU;
  switch (AccInf.DATATYPE) {
    case 2:
      return QStringLiteral("総体");
    case 1:
    case 3:
      return QStringLiteral("法人全体");
    default:
      return QString();
  }
}

void TSitenList::Clear()
{
  FRecs.clear();
  FItems.clear();
  FOPCODE = 0;
}

QString TSitenList::itemText(const TSitenListRec& r) const
{
  switch (r.BLType) {
    case 1:
    case 5:
      // Business-kind groups of medical data (code one space) read like the
      // whole company; branch groups and entry groups show their code.
      if (r.BLType == 5 || AccInf.ZaimuDataType == jxztBasic || r.CODE.trimmed().size() > 0) {
        return FUseFilterCombo ? quoted(QStringLiteral("(%1)").arg(r.CODE), r.CODE, noQuotes(r.NAME))
                               : QStringLiteral("(%1):%2").arg(r.CODE, r.NAME);
      }
      [[fallthrough]];
    case 0:
      return FUseFilterCombo ? quoted(r.NAME, QString(), QString()) : r.NAME;
    default:
      return FUseFilterCombo ? quoted(r.CODE, QString(), noQuotes(r.NAME))
                             : QStringLiteral("%1:%2").arg(r.CODE, r.NAME);
  }
}

void TSitenList::add(const TSitenListRec& r, const QString& item)
{
  FRecs.push_back(r);
  FItems.append(item.isNull() ? itemText(r) : item);
}

void TSitenList::Execute(int AOPCODE)
{
  if (AccInf.ZaimuDataType == jxztBasic) {
    FUseEntryGroup = true;
    readBasic(AOPCODE);
  } else if (AccInf.ZaimuDataType == jxztCuravia) {
    readMedical(AOPCODE);
  }
}

void TSitenList::Execute(int AOPCODE, bool AUseEntryGroup)
{
  if (AccInf.ZaimuDataType == jxztBasic) {
    readBasic(AOPCODE);
  } else if (AccInf.ZaimuDataType == jxztCuravia) {
    FUseEntryGroup = AUseEntryGroup;
    readMedical(AOPCODE);
  }
}

QString TSitenList::JigyoGroupName(int AJigyoKbn)
{
  switch (AJigyoKbn) {
    case 8:
      return QStringLiteral("病院・診療所");
    case 4:
      return QStringLiteral("老人保健施設");
    case 2:
      return QStringLiteral("指定訪問看護");
    case 1:
      return QStringLiteral("その他の事業");
    default:
      return QString();
  }
}

void TSitenList::readBasic(int AOPCODE)
{
  Clear();
  int op = AOPCODE;
  if (DM && DM->IsDataAccessSeigenNasi())
    op = -1;
  FOPCODE = op;
  if (!FTransaction)
    return;
  const bool restricted = op != -1;
  const QString houjin = HoujinName();
  TOwnTransaction own(*FTransaction);
  db::Query q(*FTransaction);

  auto companyRendoCode = [&]() {
    QString code;
    q.setSql(
        QStringLiteral("SELECT S.SCODE,S.SNAME,S.BUMEX,S.XSTR FROM SISETUMST S\n"
                       "WHERE (S.SCODE='')\n"
                       "ORDER BY S.SCODE"));
    for (q.open(); !q.eof(); q.next())
      code = TDM::GetSitenExInfoValue(q.field("XSTR").asString(), QStringLiteral("RENDOCODE")).toString();
    q.close();
    return code;
  };
  auto company = [&](int bumon) {
    TSitenListRec r;
    r.CODE = QStringLiteral(" ");
    r.NAME = houjin;
    r.BLType = 0;
    r.JigyoType = 1;
    r.BumonKanri = bumon;
    return r;
  };

  try {
    if (FReadType.contains(jxslHoujin)) {
      if (restricted && AccInf.SITEN_KANRI != 0) {
        const bool permit = permitsWholeCompany(q, op);
        if (permit)
          add(company(0), QStringLiteral("%1,%2,%3").arg(houjin, QString(), QString()));
      } else {
        TSitenListRec r = company(0);
        r.RendoCode = companyRendoCode();
        add(r, QString());
      }
    }
    if (FReadType.contains(jxslGroup) && AccInf.SITEN_KANRI == 1) {
      addGroups(q, restricted, op, 1, 1);
    }
    auto readBranches = [&](bool bumonOnly) {
      QString sql = bumonOnly ? QStringLiteral("SELECT S.SCODE,S.SNAME,S.XSTR FROM SISETUMST S\n")
                              : QStringLiteral("SELECT S.SCODE,S.SNAME,S.BUMEX,S.XSTR FROM SISETUMST S\n");
      const QString bumonCond = bumonOnly ? QStringLiteral(" AND (S.BUMEX=1)") : QString();
      if (restricted)
        sql += QStringLiteral("INNER JOIN OPLICENSE O ON (O.SCODE=S.SCODE)\nWHERE (S.SCODE<>'')") + bumonCond +
               QStringLiteral(" AND (O.OPCODE=:OPCODE)\n");
      else
        sql += QStringLiteral("WHERE (S.SCODE<>'')") + bumonCond + QStringLiteral("\n");
      sql += QStringLiteral("ORDER BY S.SCODE");
      q.setSql(sql);
      if (restricted)
        q.setParam(QStringLiteral("OPCODE"), op);
      for (q.open(); !q.eof(); q.next()) {
        const QString code = q.field("SCODE").asString();
        if (code.trimmed().isEmpty())
          continue;
        const QString xstr = q.field("XSTR").asString();
        TSitenListRec r;
        r.CODE = code;
        r.NAME = q.field("SNAME").asString();
        r.BLType = bumonOnly ? 3 : 2;
        r.JigyoType = 1;
        r.BumonKanri = bumonOnly ? 1 : q.field("BUMEX").asInt();
        r.Color = TDM::GetSitenExInfoValue(xstr, QStringLiteral("COLOR")).toInt();
        r.RendoCode = TDM::GetSitenExInfoValue(xstr, QStringLiteral("RENDOCODE")).toString();
        add(r, QString());
      }
      q.close();
    };
    if (FReadType.contains(jxslSiten)) {
      if (AccInf.SITEN_KANRI == 1) {
        readBranches(false);
      } else if (AccInf.SITEN_KANRI == 0 && !FReadType.contains(jxslHoujin)) {
        TSitenListRec r = company(AccInf.BUMON_KANRI);
        r.RendoCode = companyRendoCode();
        add(r, QString());
      }
    }
    if (FReadType.contains(jxslBumon)) {
      if (AccInf.SITEN_KANRI == 1)
        readBranches(true);
      else if (AccInf.SITEN_KANRI == 0 && !FReadType.contains(jxslHoujin))
        add(company(0), QString());
    }
    own.Commit();
  } catch (const db::DbError& e) {
    q.close();
    // The connection's parameter lines (user name and password) are never
    // shown; a caller's transaction is left to the caller.
    fnShowFbError(e, QStringLiteral("TSitenList.Execute"), QStringLiteral("支店リストの取得に失敗しました。"), true);
    own.Rollback();
    throw;
  } catch (const std::exception& e) {
    q.close();
    fnShowErrorDetail(QStringLiteral("支店リストの取得に失敗しました。"), QString::fromUtf8(e.what()), mtError);
    own.Rollback();
    throw;
  }
}

void TSitenList::readMedical(int AOPCODE)
{
  Clear();
  int op = AOPCODE;
  if (DM && DM->IsDataAccessSeigenNasi())
    op = -1;
  FOPCODE = op;
  if (!FTransaction)
    return;
  const bool restricted = op != -1;
  const QString houjin = HoujinName();
  // The business-kind filter narrows the facility queries (not the entry
  // groups); the kind is bound like every other value.
  const bool byKind = FSelectJigyoKbn > 0;
  const QString kindCond = byKind ? QStringLiteral("AND (S.MB_JIGYOU=:MB_JIGYOU)\n") : QString();
  TOwnTransaction own(*FTransaction);
  db::Query q(*FTransaction);
  auto bind = [&]() {
    if (restricted)
      q.setParam(QStringLiteral("OPCODE"), op);
    if (byKind)
      q.setParam(QStringLiteral("MB_JIGYOU"), FSelectJigyoKbn);
  };

  // The link and organ codes of the company's own row (code '').
  auto companyCodes = [&](TSitenListRec& r) {
    q.setSql(
        QStringLiteral("SELECT S.SCODE,S.SNAME,S.BUMEX,S.XSTR FROM SISETUMST S\n"
                       "WHERE (S.SCODE='')\n"
                       "ORDER BY S.SCODE"));
    for (q.open(); !q.eof(); q.next()) {
      const QString xstr = q.field("XSTR").asString();
      r.RendoCode = TDM::GetSitenExInfoValue(xstr, QStringLiteral("RENDOCODE")).toString();
      r.KikanCode = TDM::GetSitenExInfoValue(xstr, QStringLiteral("KIKANCODE")).toString();
    }
    q.close();
  };
  auto company = [&]() {
    TSitenListRec r;
    r.CODE = QStringLiteral(" ");
    r.NAME = houjin;
    r.BLType = 0;
    r.JigyoType = 0;
    return r;
  };
  // Facilities (level 2) or facilities that keep departments (level 3).
  auto readFacilities = [&](bool bumonOnly) {
    QString sql = bumonOnly ? QStringLiteral("SELECT S.SCODE,S.SNAME,S.MB_JIGYOU,S.XSTR FROM SISETUMST S\n")
                            : QStringLiteral("SELECT S.SCODE,S.SNAME,S.MB_JIGYOU,S.BUMEX,S.XSTR FROM SISETUMST S\n");
    const QString bumonCond = bumonOnly ? QStringLiteral(" AND (S.BUMEX=1)") : QString();
    if (restricted)
      sql += QStringLiteral("INNER JOIN OPLICENSE O ON (O.SCODE=S.SCODE)\nWHERE (S.SCODE<>'')") + bumonCond +
             QStringLiteral(" AND (O.OPCODE=:OPCODE)\n");
    else
      sql += QStringLiteral("WHERE (S.SCODE<>'')") + bumonCond + QStringLiteral("\n");
    sql += kindCond + QStringLiteral("ORDER BY S.SCODE");
    q.setSql(sql);
    bind();
    for (q.open(); !q.eof(); q.next()) {
      const QString code = q.field("SCODE").asString();
      if (code.trimmed().isEmpty())
        continue;
      if (!FUseHonbu && code == QLatin1String("00"))
        continue;
      const QString xstr = q.field("XSTR").asString();
      TSitenListRec r;
      r.CODE = code;
      r.NAME = q.field("SNAME").asString();
      r.BLType = bumonOnly ? 3 : 2;
      r.JigyoType = q.field("MB_JIGYOU").asInt();
      r.BumonKanri = bumonOnly ? 1 : q.field("BUMEX").asInt();
      r.Color = TDM::GetSitenExInfoValue(xstr, QStringLiteral("COLOR")).toInt();
      r.RendoCode = TDM::GetSitenExInfoValue(xstr, QStringLiteral("RENDOCODE")).toString();
      r.KikanCode = TDM::GetSitenExInfoValue(xstr, QStringLiteral("KIKANCODE")).toString();
      add(r, QString());
    }
    q.close();
  };
  // Facilities per business kind (the head office "00" never counts), all
  // of them or the operator's.
  auto countByKind = [&](bool mineOnly) {
    QString sql = QStringLiteral("SELECT S.MB_JIGYOU,COUNT(S.SCODE) AS RECCNT FROM SISETUMST S\n");
    if (mineOnly)
      sql += QStringLiteral(
          "INNER JOIN OPLICENSE O ON (O.SCODE=S.SCODE)\n"
          "WHERE (S.SCODE NOT IN ('','00')) AND (O.OPCODE=:OPCODE)\n");
    else
      sql += QStringLiteral("WHERE (S.SCODE NOT IN ('','00'))\n");
    sql += kindCond + QStringLiteral("GROUP BY S.MB_JIGYOU\nORDER BY S.MB_JIGYOU DESC");
    q.setSql(sql);
    if (mineOnly)
      q.setParam(QStringLiteral("OPCODE"), op);
    if (byKind)
      q.setParam(QStringLiteral("MB_JIGYOU"), FSelectJigyoKbn);
    std::map<int, int> counts;
    for (q.open(); !q.eof(); q.next())
      counts[q.field("MB_JIGYOU").asInt()] = q.field("RECCNT").asInt();
    q.close();
    return counts;
  };

  try {
    if (FReadType.contains(jxslHoujin)) {
      if (restricted && AccInf.SITEN_KANRI != 0) {
        const bool permit = permitsWholeCompany(q, op);
        if (permit)
          add(company(), QString());
      } else {
        TSitenListRec r = company();
        companyCodes(r);
        add(r, QString());
      }
    }
    if (FReadType.contains(jxslGroup) && AccInf.SITEN_KANRI == 1) {
      const std::map<int, int> total = countByKind(false);
      const std::map<int, int> mine = restricted ? countByKind(true) : total;
      for (const int kind : {8, 4, 2, 1}) {
        const auto t = total.find(kind);
        const auto m = mine.find(kind);
        if (t == total.end() || t->second <= 0 || m == mine.end() || m->second != t->second)
          continue;
        TSitenListRec r;
        r.CODE = QStringLiteral(" ");
        r.NAME = JigyoGroupName(kind);
        r.BLType = 1;
        r.JigyoType = kind;
        add(r, QString());
      }
      if (FUseEntryGroup) {
        addGroups(q, restricted, op, 5, 0);
      }
    }
    // Without facility management the company stands in for the
    // facilities, unless it is listed already.
    for (const bool bumonOnly : {false, true}) {
      if (!FReadType.contains(bumonOnly ? jxslBumon : jxslSiten))
        continue;
      if (AccInf.SITEN_KANRI == 1) {
        readFacilities(bumonOnly);
      } else if (AccInf.SITEN_KANRI == 0 && !FReadType.contains(jxslHoujin)) {
        TSitenListRec r = company();
        if (!bumonOnly)
          companyCodes(r);
        add(r, QString());
      }
    }
    own.Commit();
  } catch (const db::DbError& e) {
    q.close();
    // Reported only when the read started the transaction; a caller's
    // transaction and the report are the caller's.
    if (own.Started())
      fnShowFbError(e, QStringLiteral("TSitenList.Execute"), QStringLiteral("支店リストの取得に失敗しました。"), true);
    own.Rollback();
    throw;
  } catch (const std::exception& e) {
    q.close();
    if (own.Started())
      fnShowErrorDetail(QStringLiteral("支店リストの取得に失敗しました。"), QString::fromUtf8(e.what()), mtError);
    own.Rollback();
    throw;
  }
}

QString TSitenList::ItemGetter(int i) const
{
  return inRange(i) ? FItems.at(i) : QString();
}
QString TSitenList::ItemGetterCode(int i) const
{
  return inRange(i) ? FRecs[i].CODE : QString();
}
QString TSitenList::ItemGetterName(int i) const
{
  return inRange(i) ? FRecs[i].NAME : QString();
}
QString TSitenList::ItemGetterExField(int i) const
{
  return inRange(i) ? FRecs[i].ExField : QString();
}
QString TSitenList::ItemGetterKensakuKey(int i) const
{
  return inRange(i) ? FRecs[i].KensakuKey : QString();
}
QString TSitenList::ItemGetterRendoCode(int i) const
{
  return inRange(i) ? FRecs[i].RendoCode : QString();
}
QString TSitenList::ItemGetterKikanCode(int i) const
{
  return inRange(i) ? FRecs[i].KikanCode : QString();
}
int TSitenList::ItemGetterBLType(int i) const
{
  return inRange(i) ? FRecs[i].BLType : -1;
}
int TSitenList::ItemGetterJigyoType(int i) const
{
  return inRange(i) ? FRecs[i].JigyoType : -1;
}

int TSitenList::ItemGetterBumonKanri(int i) const
{
  if (!inRange(i))
    return -1;
  if (AccInf.SITEN_KANRI == 0 && AccInf.BUMON_KANRI > 0)
    return 1;
  return FRecs[i].BumonKanri;
}

int TSitenList::ItemGetterColor(int i) const
{
  if (!inRange(i) || FRecs[i].Color == 0)
    return kDefaultColor;
  return FRecs[i].Color;
}

int TSitenList::effectiveLevel(int ABLType) const
{
  if (AccInf.SITEN_KANRI == 0)
    return 0;
  if (FReadType == TJxSitenListSet{jxslBumon})
    return 3;
  return ABLType;
}

int TSitenList::GetListIndex(const QString& ACode, int ABLType) const
{
  const int level = effectiveLevel(ABLType);
  for (int i = 0; i < int(FRecs.size()); ++i)
    if (FRecs[i].CODE == ACode && FRecs[i].BLType == level)
      return i;
  return -1;
}

int TSitenList::GetListIndex2(const QString& ACode) const
{
  for (int i = 0; i < int(FRecs.size()); ++i)
    if (FRecs[i].CODE == ACode)
      return i;
  return -1;
}

QString TSitenList::GetSitenName(const QString& ACode, int ABLType) const
{
  const int i = GetListIndex(ACode, ABLType);
  return i >= 0 ? FRecs[i].NAME : QString();
}

int TSitenList::GetBumonKanri(const QString& ACode, int ABLType) const
{
  const int i = GetListIndex(ACode, ABLType);
  return i >= 0 ? FRecs[i].BumonKanri : 0;
}

int TSitenList::GetListIndex_Jigyokbn(int AJigyoKbn, int ABLType) const
{
  for (int i = 0; i < int(FRecs.size()); ++i)
    if (FRecs[i].JigyoType == AJigyoKbn && FRecs[i].BLType == ABLType)
      return i;
  return -1;
}

QString TSitenList::GetRendoCode(const QString& ACode) const
{
  if (AccInf.SITEN_KANRI != 0) {
    for (const auto& r : FRecs)
      if (r.CODE == ACode && r.BLType == 2)
        return r.RendoCode;
    return QString();
  }
  return FRecs.empty() ? QString() : FRecs.front().RendoCode;
}

QString TSitenList::GetKikanCode(const QString& ACode) const
{
  if (AccInf.SITEN_KANRI != 0) {
    for (const auto& r : FRecs)
      if (r.CODE == ACode && r.BLType == 2)
        return r.KikanCode;
    return QString();
  }
  return FRecs.empty() ? QString() : FRecs.front().KikanCode;
}
