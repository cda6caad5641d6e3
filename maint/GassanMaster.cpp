// The master merge of a consolidation run: the member's branches and
// business kind, its departments and its accounts and sub-accounts (matched
// by user code) brought into the parent. Each difference that makes the
// merge impossible is logged (-110) and skips what it concerns.
#include <algorithm>

#include "common/AccRecord.h"
#include "common/BumonList.h"
#include "common/KamokuList.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "maint/GassanDataCtl.h"
#include "platform/DateTime.h"

namespace {

QString accountText(const QString& AUserCode, const QString& AName)
{
  return QStringLiteral("（%1: %2）").arg(AUserCode, AName);
}

int countOf(db::Query& q)
{
  q.open();
  const int n = q.eof() ? 0 : q.field(0).asInt();
  q.close();
  return n;
}

}  // namespace

void TGassanDataCtl::GetSitenList()
{
  FGassanSitenList.clear();
  const bool medical = AccInf.ZaimuDataType == jxztCuravia;
  bool mixed = false;
  if (FGassanSitenKbn == 1) {
    db::Query q(*FBunsanIBTransaction);
    q.setSql(medical ? QStringLiteral("SELECT SCODE,SNAME,MB_JIGYOU AS JIGYOKBN FROM SISETUMST WHERE SCODE<>''")
                     : QStringLiteral("SELECT SCODE,SNAME,0 AS JIGYOKBN FROM SISETUMST WHERE SCODE<>''"));
    bool first = true;
    for (q.open(); !q.eof(); q.next()) {
      FGassanSitenList << q.field("SCODE").asString() + QLatin1Char('=') + q.field("SNAME").asString();
      const int kind = q.field("JIGYOKBN").asInt();
      if (!first && kind != FGassanJigyoKbn)
        mixed = true;
      FGassanJigyoKbn = kind;
      first = false;
    }
    q.close();
    if (mixed)
      LogError(-110, QStringLiteral(
                         "分散データ内の支店ごとの事業区分が混在しています。（例：「病院」と「老人保健」施設が混在）"));
  }
  if (!medical)
    FGassanJigyoKbn = 1;
  else if (mixed)
    FGassanJigyoKbn = 16;
}

void TGassanDataCtl::GassanBumon()
{
  if (AccInf.BUMON_KANRI == 0)
    return;
  db::Transaction& parent = datTransaction();
  db::Query m(*FBunsanIBTransaction);
  db::Query p(parent);

  m.setSql(QStringLiteral("SELECT SCODE,BUMEX FROM SISETUMST WHERE SCODE<>'' ORDER BY SCODE"));
  bool first = true;
  int before = 0;
  bool mixed = false;
  for (m.open(); !m.eof(); m.next()) {
    const int bumex = m.field("BUMEX").asInt();
    if (!first && bumex != before)
      mixed = true;
    before = bumex;
    first = false;
  }
  m.close();
  if (mixed) {
    LogError(-110, QStringLiteral(
                       "分散データ内の支店ごとの部門使用区分が混在しています。（\"使用する\"と\"使用しない\"が混在）"));
    return;
  }

  TBumonList all;
  all.SetTransaction(&parent);
  all.Zentai = true;
  all.Execute(QString());
  m.setSql(QStringLiteral("SELECT BCODE,BNAME FROM BUMONMST WHERE BCODE<>'' ORDER BY BCODE"));
  p.setSql(QStringLiteral("INSERT INTO BUMONMST(BCODE,BNAME,XSTR) VALUES(:BCODE,:BNAME,'')"));
  for (m.open(); !m.eof(); m.next()) {
    const QString code = m.field("BCODE").asString();
    if (all.GetListIndex(code, 1) >= 0)
      continue;
    p.setParam("BCODE", code);
    p.setParam("BNAME", m.field("BNAME").asString());
    p.exec();
  }
  m.close();

  TBumonList branch;
  branch.SetTransaction(&parent);
  branch.Zentai = true;
  branch.Execute2(FGassanSCODE);
  const int parentCount = branch.ItemCount();
  const QString filter = FGassanSitenKbn != 0 ? QStringLiteral(" WHERE SCODE<>''") : QStringLiteral(" WHERE SCODE=''");
  m.setSql(QStringLiteral("SELECT COUNT(DISTINCT BCODE) AS RECCNT FROM SISETUBUM") + filter);
  const int memberCount = countOf(m);
  if (parentCount == 0 && memberCount == 0)
    return;
  if (parentCount > 0 && memberCount == 0) {
    LogError(-110, QStringLiteral(
                       "合算データと分散データの部門使用区分が混在しています。（\"使用する\"と\"使用しない\"が混在）"));
    return;
  }
  if (parentCount == 0) {
    p.setSql(QStringLiteral("UPDATE SISETUMST SET BUMEX=:BUMEX WHERE SCODE=:SCODE"));
    p.setParam("BUMEX", 1);
    p.setParam("SCODE", FGassanSCODE);
    p.exec();
  }
  m.setSql(QStringLiteral("SELECT DISTINCT BCODE FROM SISETUBUM") + filter + QStringLiteral(" ORDER BY BCODE"));
  p.setSql(QStringLiteral("INSERT INTO SISETUBUM(SCODE,BCODE) VALUES(:SCODE,:BCODE)"));
  for (m.open(); !m.eof(); m.next()) {
    const QString code = m.field("BCODE").asString();
    if (branch.GetListIndex(code, 1) >= 0)
      continue;
    p.setParam("SCODE", FGassanSCODE);
    p.setParam("BCODE", code);
    p.exec();
  }
  m.close();
}

void TGassanDataCtl::GassanKamoku()
{
  db::Transaction& parent = datTransaction();
  db::Query m(*FBunsanIBTransaction);
  db::Query p(parent);

  // Sub-account use must be the same in every branch of the member. The
  // branch codes are bound values; the flags are named by position.
  if (FGassanSitenList.size() > 1) {
    QString sql = QStringLiteral("SELECT ");
    for (int i = 0; i < FGassanSitenList.size(); ++i)
      sql += QStringLiteral("CASE WHEN SUM(CASE WHEN SCODE=:S%1 THEN 1 ELSE 0 END) >= 1 THEN 1 ELSE 0 END AS SIT%1,")
                 .arg(i);
    sql += QStringLiteral(
        "GROUPM0,KCODE,USERCODE,KNAME FROM KAMOKU_VIEW WHERE HCODE<>'' "
        "GROUP BY GROUPM0,KCODE,USERCODE,KNAME ORDER BY GROUPM0,USERCODE");
    m.setSql(sql);
    for (int i = 0; i < FGassanSitenList.size(); ++i)
      m.setParam(QStringLiteral("S%1").arg(i), FGassanSitenList[i].section(QLatin1Char('='), 0, 0));
    bool logged = false;
    for (m.open(); !m.eof(); m.next())
      for (int i = 0; i < FGassanSitenList.size(); ++i)
        if (m.field(i).asInt() == 0) {
          LogError(-110, QStringLiteral("分散データ内の支店ごとの補助使用区分が混在しています。") +
                             accountText(m.field("USERCODE").asString(), m.field("KNAME").asString()));
          logged = true;
          break;
        }
    m.close();
    if (logged)
      return;
  }

  TKamokuList accounts;
  accounts.SetTransaction(&parent);
  accounts.Execute(FGassanSCODE);

  const bool medical = AccInf.ZaimuDataType == jxztCuravia;
  QString filter = QStringLiteral(" WHERE USE>0");
  bool byKind = false;
  if (medical && FGassanJigyoKbn != 16) {
    filter = QStringLiteral(" WHERE :JIGYO1=BIN_AND(USE,:JIGYO2)");
    byKind = true;
  }
  db::Query rows(*FBunsanIBTransaction);
  rows.setSql(QStringLiteral("SELECT GROUPM0,KCODE,USERCODE,KNAME,KKANA,USE,HOJOSW,DAC FROM KAMOKUMST") + filter +
              QStringLiteral(" ORDER BY GROUPM0,USERCODE"));
  if (byKind) {
    rows.setParam("JIGYO1", FGassanJigyoKbn);
    rows.setParam("JIGYO2", FGassanJigyoKbn);
  }
  for (rows.open(); !rows.eof(); rows.next()) {
    const QString group = rows.field("GROUPM0").asString();
    const QString memberK = rows.field("KCODE").asString();
    const QString user = rows.field("USERCODE").asString();
    const QString name = rows.field("KNAME").asString();
    const QString text = accountText(user, name);

    p.setSql(
        QStringLiteral("SELECT COUNT(KCODE) AS RECCNT FROM KAMOKUMST WHERE GROUPM0=:GROUPM0 AND USERCODE=:USERCODE"));
    p.setParam("GROUPM0", group);
    p.setParam("USERCODE", user);
    if (countOf(p) <= 0) {
      LogError(-110, QStringLiteral("合算データに科目コードが登録されていないか、科目分類に違いがありました。") + text);
      continue;
    }
    p.setSql(QStringLiteral("SELECT COUNT(KCODE) AS RECCNT FROM KAMOKUMST WHERE DAC=:DAC AND USERCODE=:USERCODE"));
    p.setParam("DAC", rows.field("DAC").asString());
    p.setParam("USERCODE", user);
    if (countOf(p) <= 0) {
      LogError(-110, QStringLiteral("科目の貸借区分に違いがありました。") + text);
      continue;
    }

    QString parentK;
    const int at = accounts.GetListIndex(user);
    if (at >= 0) {
      parentK = accounts.ItemGetterCode(at);
    } else {
      // The parent's account is taken into use.
      int use = 0;
      if (medical) {
        p.setSql(QStringLiteral("SELECT USE FROM KAMOKUMST WHERE (USERCODE=:USERCODE)"));
        p.setParam("USERCODE", user);
        for (p.open(); !p.eof(); p.next())
          use = p.field(0).asInt();
        p.close();
        use |= rows.field("USE").asInt();
      } else {
        use = 1;
      }
      p.setSql(
          QStringLiteral("UPDATE KAMOKUMST SET KNAME=:KNAME,KKANA=:KKANA,USE=:USE,OPCODE=:OPCODE,RTIME=:RTIME "
                         "WHERE USERCODE=:USERCODE"));
      p.setParam("KNAME", name);
      p.setParam("KKANA", rows.field("KKANA").asString());
      p.setParam("USE", use);
      p.setParam("OPCODE", SystemDef.OPCODE);
      p.setParamDateTime("RTIME", Now());
      p.setParam("USERCODE", user);
      p.exec();
      p.setSql(QStringLiteral("SELECT KCODE,USERCODE FROM KAMOKUMST WHERE USERCODE=:USERCODE"));
      p.setParam("USERCODE", user);
      for (p.open(); !p.eof(); p.next())
        parentK = p.field(0).asString();
      p.close();
    }

    // Sub-account use: none, one code or several, in both.
    auto subKinds = [](db::Query& q) {
      int n = 0;
      for (q.open(); !q.eof() && n < 2; q.next())
        ++n;
      q.close();
      return n;
    };
    p.setSql(
        QStringLiteral("SELECT COUNT(DISTINCT SCODE) AS RECCNT,HCODE FROM KAMOKU_SZ "
                       "WHERE (SCODE=:SCODE) AND (KCODE=:KCODE) GROUP BY HCODE"));
    p.setParam("SCODE", FGassanSCODE);
    p.setParam("KCODE", parentK);
    m.setSql(
        QStringLiteral("SELECT COUNT(DISTINCT SCODE) AS RECCNT,HCODE FROM KAMOKU_SZ WHERE (KCODE=:KCODE) "
                       "GROUP BY HCODE"));
    m.setParam("KCODE", memberK);
    if (subKinds(p) != subKinds(m)) {
      LogError(-110, QStringLiteral("科目または補助の使用区分に違いがありました。") + text);
      continue;
    }

    THojoList subs;
    subs.SetTransaction(&parent);
    subs.Execute(FGassanSCODE, user);
    m.setSql(QStringLiteral(
        "SELECT DISTINCT H.KCODE,H.HCODE,H.HNAME,H.HKANA,H.REC,H.TAX_LCODE,H.TAX_RCODE,H.TAX_NUM,H.BPFLG "
        "FROM KAMOKU_SZ SZ INNER JOIN HOJOMST H ON(SZ.KCODE=H.KCODE AND SZ.HCODE=H.HCODE) "
        "WHERE (SZ.KCODE=:KCODE)AND(SZ.HCODE<>'') ORDER BY SZ.KCODE,SZ.HCODE"));
    m.setParam("KCODE", memberK);
    for (m.open(); !m.eof(); m.next())
      if (subs.GetListIndex(m.field("HCODE").asString()) < 0)
        gassanHojo(parentK, group, m);
    m.close();
  }
  rows.close();
}

void TGassanDataCtl::gassanHojo(const QString& AParentKCODE, const QString& AGroupM0, db::Query& AMemberRow)
{
  db::Transaction& parent = datTransaction();
  db::Query p(parent);
  const QString hcode = AMemberRow.field("HCODE").asString();
  const QString memberK = AMemberRow.field("KCODE").asString();

  p.setSql(QStringLiteral("SELECT COUNT(KCODE) AS RECCNT FROM HOJOMST WHERE KCODE=:KCODE AND HCODE=:HCODE"));
  p.setParam("KCODE", AParentKCODE);
  p.setParam("HCODE", hcode);
  if (countOf(p) <= 0) {
    p.setSql(QStringLiteral(
        "INSERT INTO HOJOMST(KCODE,HCODE,HNAME,HKANA,REC,TAX_LCODE,TAX_RCODE,TAX_NUM,BPFLG,XSTR,RTIME,OPCODE) "
        "VALUES(:KCODE,:HCODE,:HNAME,:HKANA,:REC,:TAX_LCODE,:TAX_RCODE,:TAX_NUM,:BPFLG,:XSTR,:RTIME,:OPCODE)"));
    p.setParam("KCODE", AParentKCODE);
    p.setParam("HCODE", hcode);
    p.setParam("HNAME", AMemberRow.field("HNAME").asString());
    p.setParam("HKANA", AMemberRow.field("HKANA").asString());
    p.setParam("REC", AMemberRow.field("REC").asInt());
    p.setParam("TAX_LCODE", AMemberRow.field("TAX_LCODE").asInt());
    p.setParam("TAX_RCODE", AMemberRow.field("TAX_RCODE").asInt());
    p.setParam("TAX_NUM", AMemberRow.field("TAX_NUM").asInt());
    p.setParam("BPFLG", AMemberRow.field("BPFLG").asString());
    p.setParam("XSTR", QString());
    p.setParamDateTime("RTIME", Now());
    p.setParam("OPCODE", SystemDef.OPCODE);
    p.exec();
  }

  db::Query m(*FBunsanIBTransaction);
  m.setSql(
      QStringLiteral("SELECT COUNT(DISTINCT SCODE) AS RECCNT FROM KAMOKU_SZ WHERE (KCODE=:KCODE) AND (HCODE=:HCODE)"));
  m.setParam("KCODE", memberK);
  m.setParam("HCODE", hcode);
  if (countOf(m) == 0)
    return;

  QStringList departments;
  p.setSql(
      QStringLiteral("SELECT DISTINCT BCODE FROM KAMOKU_SZ WHERE (SCODE=:SCODE) AND (KCODE=:KCODE) ORDER BY BCODE"));
  p.setParam("SCODE", FGassanSCODE);
  p.setParam("KCODE", AParentKCODE);
  for (p.open(); !p.eof(); p.next())
    departments << p.field(0).asString();
  p.close();
  const bool medical = AccInf.ZaimuDataType == jxztCuravia;
  for (const QString& b : departments) {
    addKamokuSz(FGassanSCODE, AParentKCODE, hcode, b, AGroupM0);
    if (AccInf.SITEN_KANRI != 1)
      continue;
    if (medical && b != QLatin1String(" "))
      continue;
    p.setSql(
        QStringLiteral("SELECT COUNT(DISTINCT SCODE) AS RECCNT FROM KAMOKU_SZ WHERE (SCODE=:SCODE) AND "
                       "(KCODE=:KCODE) AND (HCODE=:HCODE) AND (BCODE=:BCODE)"));
    p.setParam("SCODE", QStringLiteral(" "));
    p.setParam("KCODE", AParentKCODE);
    p.setParam("HCODE", hcode);
    p.setParam("BCODE", b);
    if (countOf(p) == 0)
      addKamokuSz(QStringLiteral(" "), AParentKCODE, hcode, b, AGroupM0);
  }
}

void TGassanDataCtl::addKamokuSz(const QString& ASCODE, const QString& AKCODE, const QString& AHCODE,
                                 const QString& ABCODE, const QString& AGroupM0)
{
  const QString b = ABCODE.trimmed();
  int haibun = 0;
  if (!b.isEmpty()) {
    const bool pl = AGroupM0 >= QLatin1String("4000") && AGroupM0 < QLatin1String("8000");
    if (!(FGassanBumonKbn == 2 || (FGassanBumonKbn == 1 && pl)))
      return;
    if (b == QLatin1String("00"))
      haibun = 100;
  }
  QString cols, vals;
  for (int n = 1; n <= 16; ++n) {
    cols += QString::asprintf(",HAIBUN%.2d", n);
    vals += QString::asprintf(",:HAIBUN%.2d", n);
  }
  db::Query p(datTransaction());
  p.setSql(QStringLiteral("INSERT INTO KAMOKU_SZ(SCODE,KCODE,HCODE,BCODE,KAISIZAN%1,KAKOZAN,KISHU_KOMI,KISHU_NUKI) "
                          "VALUES(:SCODE,:KCODE,:HCODE,:BCODE,0%2,0,0,0)")
               .arg(cols, vals));
  p.setParam("SCODE", ASCODE);
  p.setParam("KCODE", AKCODE);
  p.setParam("HCODE", AHCODE);
  p.setParam("BCODE", b.isEmpty() ? QStringLiteral(" ") : ABCODE);
  for (int n = 1; n <= 16; ++n)
    p.setParam(QString::asprintf("HAIBUN%.2d", n), haibun);
  p.exec();
}
