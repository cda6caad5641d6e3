#include "common/BumonList.h"

#include <QRegularExpression>

#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/FbError.h"
#include "common/KamokuList.h"
#include "db/DbError.h"
#include "db/Query.h"

namespace {

const QString kTempGroupName = QStringLiteral("部門比較ワーク");

void throwNoTransaction()
{
  throw db::DbError(QStringLiteral("No company database transaction"));
}

}  // namespace

TBumonList::TBumonList()
{
  if (DM)
    FTransaction = &DM->IBTransactionDAT;
}

TBumonList::~TBumonList() = default;

void TBumonList::SetRemoveGenka(bool v)
{
  FRemoveGenka = v && AccInf.ZaimuDataType == jxztCuravia;
}

void TBumonList::Clear()
{
  FRecs.clear();
  FItems.clear();
  FSCODE.clear();
}

QString TBumonList::itemText(const TBumonListRec& r, bool top) const
{
  if (top)
    return FUseFilterCombo ? fnFilterComboItem(r.NAME, QString(), QString()) : r.NAME;
  if (r.BType == 0)
    return FUseFilterCombo ? fnFilterComboItem(QStringLiteral("(%1)").arg(r.CODE), r.CODE, fnFilterComboText(r.NAME))
                           : QStringLiteral("(%1):%2").arg(r.CODE, r.NAME);
  return FUseFilterCombo ? fnFilterComboItem(r.CODE, QString(), fnFilterComboText(r.NAME))
                         : QStringLiteral("%1:%2").arg(r.CODE, r.NAME);
}

void TBumonList::add(const TBumonListRec& r, bool top)
{
  FRecs.push_back(r);
  FItems << itemText(r, top);
}

void TBumonList::Execute(const QString& ASCODE)
{
  read(ASCODE, false);
}

void TBumonList::Execute2(const QString& ASCODE)
{
  read(ASCODE, true);
}

void TBumonList::read(const QString& ASCODE, bool ABySiten)
{
  Clear();
  FSCODE = ASCODE;
  if (!FTransaction)
    throwNoTransaction();
  TOwnTransaction own(*FTransaction);
  db::Query q(*FTransaction);
  try {
    if (!Zentai) {
      int bumex = 0;
      q.setSql(QStringLiteral("SELECT BUMEX FROM SISETUMST\nWHERE SCODE=:SCODE"));
      q.setParam(QStringLiteral("SCODE"), ASCODE);
      for (q.open(); !q.eof(); q.next())
        bumex = q.field("BUMEX").asInt();
      q.close();
      if (bumex == 0) {
        own.Commit();
        return;
      }
    }
    if (!TopItem.isEmpty()) {
      TBumonListRec r;
      r.NAME = TopItem;
      r.BType = 1;
      add(r, true);
    }
    if (GroupAdd) {
      if (ABySiten) {
        q.setSql(
            QStringLiteral("SELECT DISTINCT GM.GCODE,GM.GNAME FROM GROUPMST GM\n"
                           "INNER JOIN GROUPLIST GL ON (GL.GCODE=GM.GCODE)\n"
                           "INNER JOIN SISETUBUM SB ON (SB.BCODE=GL.BCODE)\n"
                           "WHERE SB.SCODE=:SCODE\n"
                           "ORDER BY GM.GCODE"));
        q.setParam(QStringLiteral("SCODE"), ASCODE);
      } else {
        q.setSql(QStringLiteral("SELECT GCODE,GNAME FROM GROUPMST\nWHERE GCODE NOT LIKE '^%'\nORDER BY GCODE"));
      }
      for (q.open(); !q.eof(); q.next()) {
        TBumonListRec r;
        r.CODE = q.field("GCODE").asString();
        r.NAME = q.field("GNAME").asString();
        r.BType = 0;
        add(r, false);
      }
      q.close();
    }
    QString exclusion = QStringLiteral("' '");
    if (RemoveCommon)
      exclusion += QStringLiteral(",'00'");
    if (FRemoveGenka) {
      exclusion += QStringLiteral(",'80','81','82','83','84','85','86','87','88','89'");
      exclusion += QStringLiteral(",'90','91','92','93','94','95','96','97','98','99'");
    }
    if (ABySiten) {
      q.setSql(QStringLiteral("SELECT S.BCODE,B.BNAME FROM SISETUBUM S\n"
                              "INNER JOIN BUMONMST B ON (B.BCODE=S.BCODE)\n"
                              "WHERE (S.SCODE=:SCODE)\n"
                              "AND   (B.BCODE NOT IN(") +
               exclusion + QStringLiteral("))\nORDER BY S.BCODE"));
      q.setParam(QStringLiteral("SCODE"), ASCODE);
    } else {
      q.setSql(QStringLiteral("SELECT BCODE,BNAME FROM BUMONMST\nWHERE BCODE NOT IN(") + exclusion +
               QStringLiteral(")\nORDER BY BCODE"));
    }
    for (q.open(); !q.eof(); q.next()) {
      TBumonListRec r;
      r.CODE = q.field("BCODE").asString();
      r.NAME = q.field("BNAME").asString();
      r.BType = 1;
      add(r, false);
    }
    q.close();
    if (ExFieldSansyoFlg) {
      // Forward over the department master in code order; group entries are
      // not departments and take no part in it.
      q.setSql(QStringLiteral("SELECT BCODE,XSTR FROM BUMONMST\nORDER BY BCODE"));
      q.open();
      for (auto& r : FRecs) {
        if (r.CODE.isEmpty() || r.BType == 0)
          continue;
        while (!q.eof() && q.field("BCODE").asString() != r.CODE)
          q.next();
        if (q.eof())
          break;
        r.ExField = q.field("XSTR").asString();
      }
      q.close();
    }
    own.Commit();
  } catch (const std::exception& e) {
    q.close();
    if (own.Started())
      fnReportError(e, QStringLiteral("TBumonList.Execute"), QStringLiteral("部門リストの取得に失敗しました。"));
    own.EndAfterError();
    throw;
  }
}

QString TBumonList::ItemGetter(int i) const
{
  return i >= 0 && i < FItems.size() ? FItems.at(i) : QString();
}
QString TBumonList::ItemGetterCode(int i) const
{
  return inRange(i) ? FRecs[i].CODE : QString();
}
QString TBumonList::ItemGetterName(int i) const
{
  return inRange(i) ? FRecs[i].NAME : QString();
}
QString TBumonList::ItemGetterExField(int i) const
{
  return inRange(i) ? FRecs[i].ExField : QString();
}
QString TBumonList::ItemGetterKensakuKey(int i) const
{
  return inRange(i) ? FRecs[i].KensakuKey : QString();
}
int TBumonList::ItemGetterType(int i) const
{
  return inRange(i) ? FRecs[i].BType : -1;
}

int TBumonList::GetListIndex(const QString& ABCODE, int ABumonType) const
{
  const QString code = ABCODE.trimmed();
  for (int i = 0; i < int(FRecs.size()); ++i)
    if (FRecs[i].CODE == code && FRecs[i].BType == ABumonType)
      return i;
  return -1;
}

int TBumonList::BumonTypeChosei(int ABumonType)
{
  return ABumonType == 0 || ABumonType == 1 ? ABumonType : 1;
}

int TBumonList::BLTypeChosei(int ABLType, const QString& ASCODE, const QString& ABCODE, int ABumonType) const
{
  const int t = BumonTypeChosei(ABumonType);
  const bool hasSiten = !ASCODE.trimmed().isEmpty();
  const bool hasBumon = !ABCODE.trimmed().isEmpty();
  if (AccInf.DATATYPE == 3 && ABLType == 1)
    return 1;
  if (AccInf.SITEN_KANRI == 0 || (AccInf.SITEN_KANRI == 1 && hasSiten)) {
    if (hasBumon)
      return t == 0 ? 4 : 3;
  } else if (AccInf.SITEN_KANRI == 1 && !hasSiten && FSCODE.trimmed().isEmpty()) {
    if (hasBumon)
      return t == 0 ? 6 : 0;
  }
  return ABLType;
}

bool TBumonList::IsBumonListSakusei(int ABLType)
{
  if (AccInf.BUMON_KANRI == 0)
    return false;
  if (AccInf.ZaimuDataType == jxztCuravia)
    return ABLType == 0 || ABLType == 1 || ABLType == 2;
  return ABLType == 0 || ABLType == 2;
}

void TBumonList::UpdateExField(const QString& ABCODE, const QString& AValue)
{
  if (!FTransaction)
    throwNoTransaction();
  TOwnTransaction own(*FTransaction);
  db::Query q(*FTransaction, QStringLiteral("UPDATE BUMONMST SET XSTR=:XSTR\nWHERE BCODE=:BCODE"));
  q.setParam(QStringLiteral("XSTR"), AValue);
  q.setParam(QStringLiteral("BCODE"), ABCODE);
  q.exec();
  own.Commit();
}

bool TBumonList::InsertTempBumonGroup(const QString& AGCODE, const QString& ABCODEList)
{
  if (!FTransaction)
    return false;
  bool result = false;
  try {
    TOwnTransaction own(*FTransaction);
    try {
      DeleteTempBumonGroup(AGCODE);
      db::Query q(*FTransaction);
      q.setSql(QStringLiteral("INSERT INTO GROUPMST(GCODE,GNAME)\nVALUES(:GCODE,:GNAME)"));
      q.setParam(QStringLiteral("GCODE"), AGCODE);
      q.setParam(QStringLiteral("GNAME"), kTempGroupName);
      q.exec();
      q.setSql(QStringLiteral("INSERT INTO GROUPLIST(GCODE,BCODE)\nVALUES(:GCODE,:BCODE)"));
      const QStringList lines = ABCODEList.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
      for (const QString& line : lines) {
        if (line.trimmed().isEmpty())
          continue;
        q.setParam(QStringLiteral("GCODE"), AGCODE);
        q.setParam(QStringLiteral("BCODE"), line);
        q.exec();
      }
      result = true;
    } catch (const std::exception&) {
      // Reported to the caller as false; what was written stays.
      result = false;
    }
    own.Commit();
  } catch (const std::exception&) {
    result = false;
  }
  return result;
}

bool TBumonList::DeleteTempBumonGroup(const QString& AGCODE)
{
  if (!FTransaction)
    return false;
  bool result = false;
  try {
    TOwnTransaction own(*FTransaction);
    try {
      db::Query q(*FTransaction);
      q.setSql(QStringLiteral("DELETE FROM GROUPLIST\nWHERE GCODE=:GCODE"));
      q.setParam(QStringLiteral("GCODE"), AGCODE);
      q.exec();
      q.setSql(QStringLiteral("DELETE FROM GROUPMST\nWHERE GCODE=:GCODE"));
      q.setParam(QStringLiteral("GCODE"), AGCODE);
      q.exec();
      result = true;
    } catch (const std::exception&) {
      result = false;
    }
    own.Commit();
  } catch (const std::exception&) {
    result = false;
  }
  return result;
}

QString TBumonList::GetBumonKosei(const QString& AGCODE)
{
  QString result;
  if (!FTransaction)
    return result;
  try {
    TOwnTransaction own(*FTransaction);
    try {
      db::Query q(*FTransaction, QStringLiteral("SELECT BCODE FROM GROUPLIST\nWHERE GCODE=:GCODE"));
      q.setParam(QStringLiteral("GCODE"), AGCODE);
      for (q.open(); !q.eof(); q.next())
        result += q.field("BCODE").asString() + QLatin1Char('\r');
      q.close();
    } catch (const std::exception&) {
      // What was read so far is the answer.
    }
    own.Commit();
  } catch (const std::exception&) {
    // The commit failed: the members read are still the answer.
  }
  return result;
}
