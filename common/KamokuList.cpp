#include "common/KamokuList.h"

#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/FbError.h"
#include "db/DbError.h"
#include "db/Query.h"

namespace {

constexpr int kNoTaxCode = 910;

// Reads XSTR of a master forward, in the list's order: for each code the
// rows are passed over from the current one until one with that code; a
// code that is not found uses up the remaining rows.
template <typename Recs, typename CodeOf>
void mergeForward(db::Query& q, const QString& keyField, Recs& recs, CodeOf codeOf)
{
  q.open();
  for (auto& r : recs) {
    const QString code = codeOf(r);
    if (code.isEmpty())
      continue;
    while (!q.eof() && q.field(keyField).asString() != code)
      q.next();
    if (q.eof())
      break;
    r.ExField = q.field("XSTR").asString();
  }
  q.close();
}

void throwNoTransaction()
{
  throw db::DbError(QStringLiteral("No company database transaction"));
}

}  // namespace

QString fnFilterComboItem(const QString& A, const QString& B, const QString& C)
{
  return QStringLiteral("\"%1\"\t\"%2\"\t\"%3\"").arg(A, B, C);
}

QString fnFilterComboText(QString S)
{
  return S.replace(QLatin1Char('"'), QLatin1Char('\''));
}

// ---------------------------------------------------------------------------
// TKamokuList

TKamokuList::TKamokuList()
{
  if (DM)
    FTransaction = &DM->IBTransactionDAT;
}

TKamokuList::~TKamokuList() = default;

void TKamokuList::Clear()
{
  FRecs.clear();
  FItems.clear();
  FSCODE.clear();
}

QString TKamokuList::itemText(const TKamokuListRec& r, bool top) const
{
  if (top)
    return FUseFilterCombo ? fnFilterComboItem(r.NAME, QString(), QString()) : r.NAME;
  return FUseFilterCombo ? fnFilterComboItem(r.USERCODE, fnFilterComboText(r.KANA), fnFilterComboText(r.NAME))
                         : QStringLiteral("%1:%2").arg(r.USERCODE, r.NAME);
}

void TKamokuList::Execute(const QString& ASCODE)
{
  Clear();
  FSCODE = ASCODE;
  if (!FTransaction)
    throwNoTransaction();

  // Conditions; every code is bound as a parameter.
  QStringList conds;
  QList<QPair<QString, QString>> params;
  if (FSelectBP == QLatin1String("B")) {
    conds << QStringLiteral("BPFLG='B'");
  } else if (FSelectBP == QLatin1String("P")) {
    conds << QStringLiteral("BPFLG='P'");
    if (!FKinsiKamoku.contains(AccInf.SHOKUTI))
      FKinsiKamoku << AccInf.SHOKUTI;
  }
  if (!FSelectGroups.isEmpty()) {
    QStringList parts;
    for (int i = 0; i < FSelectGroups.size(); ++i) {
      const QString name = QStringLiteral("GROUPM0_%1").arg(i);
      parts << QStringLiteral("(GROUPM0=:%1)").arg(name);
      params.append({name, FSelectGroups.at(i)});
    }
    conds << parts.join(QStringLiteral(" OR "));
  }
  if (!FKinsiKamoku.isEmpty()) {
    QStringList parts;
    for (int i = 0; i < FKinsiKamoku.size(); ++i) {
      const QString name = QStringLiteral("KINSI_%1").arg(i);
      parts << QStringLiteral("(KCODE<>:%1)").arg(name);
      params.append({name, FKinsiKamoku.at(i)});
    }
    conds << parts.join(QStringLiteral(" AND "));
  }

  QString sql = QStringLiteral(
      "SELECT DISTINCT GROUPM0,KCODE,USERCODE,KNAME,BPFLG,KKANA,KTAX_LCODE,KTAX_RCODE,KZEIRITUKBN FROM "
      "KAMOKU_VIEW2\n");
  const bool bySiten = !ASCODE.isEmpty();
  if (bySiten)
    sql += QStringLiteral("WHERE (SCODE=:SCODE)\n");
  for (int i = 0; i < conds.size(); ++i)
    sql += QStringLiteral("%1 (%2)\n")
               .arg(bySiten || i > 0 ? QStringLiteral("AND") : QStringLiteral("WHERE"), conds.at(i));
  sql += QStringLiteral("ORDER BY GROUPM0,USERCODE");

  TOwnTransaction own(*FTransaction);
  db::Query q(*FTransaction);
  try {
    if (!TopItem.isEmpty()) {
      TKamokuListRec r;
      r.NAME = TopItem;
      r.LTCODE = kNoTaxCode;
      r.RTCODE = kNoTaxCode;
      FRecs.push_back(r);
      FItems << itemText(r, true);
    }
    q.setSql(sql);
    if (bySiten)
      q.setParam(QStringLiteral("SCODE"), ASCODE);
    for (const auto& p : params)
      q.setParam(p.first, p.second);
    for (q.open(); !q.eof(); q.next()) {
      TKamokuListRec r;
      r.GCODE = q.field("GROUPM0").asString();
      r.CODE = q.field("KCODE").asString();
      r.USERCODE = q.field("USERCODE").asString();
      r.NAME = q.field("KNAME").asString();
      r.BPFLG = q.field("BPFLG").asString();
      r.KANA = q.field("KKANA").asString();
      r.LTCODE = q.field("KTAX_LCODE").asInt();
      r.RTCODE = q.field("KTAX_RCODE").asInt();
      r.ZeirituKbn = q.field("KZEIRITUKBN").asInt();
      FRecs.push_back(r);
      FItems << itemText(r, false);
    }
    q.close();
    if (ExFieldSansyoFlg) {
      q.setSql(QStringLiteral("SELECT GROUPM0,KCODE,USERCODE,XSTR FROM KAMOKUMST\nORDER BY GROUPM0,USERCODE"));
      mergeForward(q, QStringLiteral("KCODE"), FRecs, [](const TKamokuListRec& r) { return r.CODE; });
    }
    own.Commit();
  } catch (const std::exception& e) {
    q.close();
    if (own.Started())
      fnReportError(e, QStringLiteral("TKamokuList.Execute"), QStringLiteral("科目リストの取得に失敗しました。"));
    own.EndAfterError();
    throw;
  }
}

QString TKamokuList::ItemGetter(int i) const
{
  return i >= 0 && i < FItems.size() ? FItems.at(i) : QString();
}
QString TKamokuList::ItemGetterCode(int i) const
{
  return inRange(i) ? FRecs[i].CODE : QString();
}
QString TKamokuList::ItemGetterName(int i) const
{
  return inRange(i) ? FRecs[i].NAME : QString();
}
QString TKamokuList::ItemGetterExField(int i) const
{
  return inRange(i) ? FRecs[i].ExField : QString();
}
QString TKamokuList::ItemGetterKensakuKey(int i) const
{
  return inRange(i) ? FRecs[i].KensakuKey : QString();
}
QString TKamokuList::ItemGetterGCode(int i) const
{
  return inRange(i) ? FRecs[i].GCODE : QString();
}
QString TKamokuList::ItemGetterUserCode(int i) const
{
  return inRange(i) ? FRecs[i].USERCODE : QString();
}
QString TKamokuList::ItemGetterBPFlg(int i) const
{
  return inRange(i) ? FRecs[i].BPFLG : QString();
}
int TKamokuList::ItemGetterLTCODE(int i) const
{
  return inRange(i) ? FRecs[i].LTCODE : kNoTaxCode;
}
int TKamokuList::ItemGetterRTCODE(int i) const
{
  return inRange(i) ? FRecs[i].RTCODE : kNoTaxCode;
}
int TKamokuList::ItemGetterZeirituKbn(int i) const
{
  return inRange(i) ? FRecs[i].ZeirituKbn : 0;
}

int TKamokuList::GetListIndex(const QString& AUSERCODE) const
{
  for (int i = 0; i < int(FRecs.size()); ++i)
    if (FRecs[i].USERCODE == AUSERCODE)
      return i;
  return -1;
}

int TKamokuList::GetListIndex2(const QString& AKCODE) const
{
  for (int i = 0; i < int(FRecs.size()); ++i)
    if (FRecs[i].CODE == AKCODE)
      return i;
  return -1;
}

QString TKamokuList::KCODEtoUC_KCODE(const QString& AKCODE) const
{
  return ItemGetterUserCode(GetListIndex2(AKCODE));
}

QString TKamokuList::UC_KCODEtoKCODE(const QString& AUSERCODE) const
{
  return ItemGetterCode(GetListIndex(AUSERCODE));
}

int TKamokuList::IsHojoBumon(const QString& AUSERCODE)
{
  if (!FTransaction)
    return 0;
  int result = 0;
  try {
    TOwnTransaction own(*FTransaction);
    db::Query q(*FTransaction);
    const bool bySiten = !FSCODE.isEmpty();
    q.setSql(QStringLiteral("SELECT SCODE,BCODE,KCODE,HCODE FROM KAMOKU_VIEW\n") +
             (bySiten ? QStringLiteral("WHERE SCODE=:SCODE AND USERCODE=:USERCODE")
                      : QStringLiteral("WHERE USERCODE=:USERCODE")));
    if (bySiten)
      q.setParam(QStringLiteral("SCODE"), FSCODE);
    q.setParam(QStringLiteral("USERCODE"), AUSERCODE);
    bool hojo = false;
    bool bumon = false;
    for (q.open(); !q.eof(); q.next()) {
      hojo = hojo || !q.field("HCODE").asString().trimmed().isEmpty();
      bumon = bumon || !q.field("BCODE").asString().trimmed().isEmpty();
    }
    q.close();
    own.Commit();
    result = (hojo ? 1 : 0) + (bumon ? 2 : 0);
  } catch (const std::exception&) {
    // An account whose use cannot be read counts as one without
    // sub-accounts and departments.
    result = 0;
  }
  return result;
}

void TKamokuList::UpdateExField(const QString& AUSERCODE, const QString& AValue)
{
  if (!FTransaction)
    throwNoTransaction();
  TOwnTransaction own(*FTransaction);
  db::Query q(*FTransaction, QStringLiteral("UPDATE KAMOKUMST SET XSTR=:XSTR\nWHERE USERCODE=:USERCODE"));
  q.setParam(QStringLiteral("XSTR"), AValue);
  q.setParam(QStringLiteral("USERCODE"), AUSERCODE);
  q.exec();
  own.Commit();
}

// ---------------------------------------------------------------------------
// THojoList

THojoList::THojoList()
{
  if (DM)
    FTransaction = &DM->IBTransactionDAT;
}

THojoList::~THojoList() = default;

void THojoList::Clear()
{
  FRecs.clear();
  FItems.clear();
  FSCODE.clear();
  FUSERCODE.clear();
}

QString THojoList::itemText(const THojoListRec& r, bool top) const
{
  if (top)
    return FUseFilterCombo ? fnFilterComboItem(r.NAME, QString(), QString()) : r.NAME;
  return FUseFilterCombo ? fnFilterComboItem(r.CODE, fnFilterComboText(r.KANA), fnFilterComboText(r.NAME))
                         : QStringLiteral("%1:%2").arg(r.CODE, r.NAME);
}

void THojoList::Execute(const QString& ASCODE, const QString& AUSERCODE)
{
  Clear();
  FSCODE = ASCODE;
  FUSERCODE = AUSERCODE;
  if (!FTransaction)
    throwNoTransaction();
  TOwnTransaction own(*FTransaction);
  db::Query q(*FTransaction);
  try {
    if (!TopItem.isEmpty()) {
      THojoListRec r;
      r.NAME = TopItem;
      r.LTCODE = kNoTaxCode;
      r.RTCODE = kNoTaxCode;
      FRecs.push_back(r);
      FItems << itemText(r, true);
    }
    const bool bySiten = !ASCODE.isEmpty();
    q.setSql(QStringLiteral("SELECT DISTINCT HCODE,HNAME,HKANA,HTAX_LCODE,HTAX_RCODE,HZEIRITUKBN FROM KAMOKU_VIEW2\n") +
             (bySiten ? QStringLiteral("WHERE SCODE=:SCODE AND USERCODE=:USERCODE AND HCODE<>' ' \n")
                      : QStringLiteral("WHERE USERCODE=:USERCODE AND HCODE<>' ' \n")) +
             QStringLiteral("ORDER BY HCODE"));
    if (bySiten)
      q.setParam(QStringLiteral("SCODE"), ASCODE);
    q.setParam(QStringLiteral("USERCODE"), AUSERCODE);
    for (q.open(); !q.eof(); q.next()) {
      THojoListRec r;
      r.CODE = q.field("HCODE").asString();
      r.NAME = q.field("HNAME").asString();
      r.KANA = q.field("HKANA").asString();
      r.LTCODE = q.field("HTAX_LCODE").asInt();
      r.RTCODE = q.field("HTAX_RCODE").asInt();
      r.ZeirituKbn = q.field("HZEIRITUKBN").asInt();
      FRecs.push_back(r);
      FItems << itemText(r, false);
    }
    q.close();
    if (ExFieldSansyoFlg) {
      q.setSql(
          QStringLiteral("SELECT HM.HCODE,HM.XSTR FROM HOJOMST HM\n"
                         "INNER JOIN KAMOKUMST KM ON(KM.KCODE=HM.KCODE)\n"
                         "WHERE KM.USERCODE=:USERCODE AND HM.HCODE<>' ' \n"
                         "ORDER BY HM.HCODE"));
      q.setParam(QStringLiteral("USERCODE"), AUSERCODE);
      mergeForward(q, QStringLiteral("HCODE"), FRecs, [](const THojoListRec& r) { return r.CODE; });
    }
    own.Commit();
  } catch (const std::exception& e) {
    q.close();
    if (own.Started())
      fnReportError(e, QStringLiteral("THojoList.Execute"), QStringLiteral("補助リストの取得に失敗しました。"));
    own.EndAfterError();
    throw;
  }
}

QString THojoList::ItemGetter(int i) const
{
  return i >= 0 && i < FItems.size() ? FItems.at(i) : QString();
}
QString THojoList::ItemGetterCode(int i) const
{
  return inRange(i) ? FRecs[i].CODE : QString();
}
QString THojoList::ItemGetterName(int i) const
{
  return inRange(i) ? FRecs[i].NAME : QString();
}
QString THojoList::ItemGetterExField(int i) const
{
  return inRange(i) ? FRecs[i].ExField : QString();
}
QString THojoList::ItemGetterKensakuKey(int i) const
{
  return inRange(i) ? FRecs[i].KensakuKey : QString();
}
int THojoList::ItemGetterLTCODE(int i) const
{
  return inRange(i) ? FRecs[i].LTCODE : kNoTaxCode;
}
int THojoList::ItemGetterRTCODE(int i) const
{
  return inRange(i) ? FRecs[i].RTCODE : kNoTaxCode;
}
int THojoList::ItemGetterZeirituKbn(int i) const
{
  return inRange(i) ? FRecs[i].ZeirituKbn : 0;
}

int THojoList::GetListIndex(const QString& AHCODE) const
{
  for (int i = 0; i < int(FRecs.size()); ++i)
    if (FRecs[i].CODE == AHCODE)
      return i;
  return -1;
}

void THojoList::UpdateExField(const QString& AKCODE, const QString& AHCODE, const QString& AValue)
{
  if (!FTransaction)
    throwNoTransaction();
  TOwnTransaction own(*FTransaction);
  db::Query q(*FTransaction, QStringLiteral("UPDATE HOJOMST SET XSTR=:XSTR\nWHERE KCODE=:KCODE AND HCODE=:HCODE"));
  q.setParam(QStringLiteral("XSTR"), AValue);
  q.setParam(QStringLiteral("KCODE"), AKCODE);
  q.setParam(QStringLiteral("HCODE"), AHCODE);
  q.exec();
  own.Commit();
}
