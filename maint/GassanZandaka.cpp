// The balance merge of a consolidation run: the member's opening balances,
// past-year balances and per-period budgets added into the parent's rows of
// the run branch (matched by account user code, sub-account, department and
// year or period), and its individual cost codes with their openings.
#include "common/AccRecord.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "maint/GassanDataCtl.h"
#include "platform/Currency.h"

void TGassanDataCtl::GassanZandaka()
{
  db::Query m(*FBunsanIBTransaction);
  db::Query p(datTransaction());

  // Opening balances.
  p.setSql(QStringLiteral(
      "UPDATE KAMOKU_SZ SET KAISIZAN=0,"
      "KISHU_KOMI=(SELECT SZ.KISHU_KOMI FROM KAMOKU_SZ SZ INNER JOIN KAMOKUMST K ON (SZ.KCODE=K.KCODE)"
      " WHERE SZ.SCODE=:SCODE1 AND K.USERCODE=:USERCODE1 AND SZ.HCODE=:HCODE1 AND SZ.BCODE=:BCODE1)+:KISHU_KOMI,"
      "KISHU_NUKI=(SELECT SZ.KISHU_NUKI FROM KAMOKU_SZ SZ INNER JOIN KAMOKUMST K ON (SZ.KCODE=K.KCODE)"
      " WHERE SZ.SCODE=:SCODE2 AND K.USERCODE=:USERCODE2 AND SZ.HCODE=:HCODE2 AND SZ.BCODE=:BCODE2)+:KISHU_NUKI "
      "WHERE SCODE=:UP_SCODE AND KCODE=(SELECT KCODE FROM KAMOKUMST WHERE USERCODE=:UP_KCODE) AND HCODE=:UP_HCODE "
      "AND BCODE=:UP_BCODE"));
  p.prepare();
  m.setSql(QStringLiteral(
      "SELECT SZ.SCODE,SZ.KCODE,K.USERCODE,SZ.HCODE,SZ.BCODE,SZ.KAISIZAN,SZ.KISHU_KOMI,SZ.KISHU_NUKI FROM KAMOKU_SZ SZ "
      "INNER JOIN KAMOKUMST K ON (SZ.KCODE=K.KCODE) WHERE (SZ.KISHU_KOMI<>0) OR (SZ.KISHU_NUKI<>0) "
      "ORDER BY SZ.SCODE,SZ.KCODE,SZ.HCODE,SZ.BCODE"));
  for (m.open(); !m.eof(); m.next()) {
    const QString user = m.field("USERCODE").asString();
    const QString h = m.field("HCODE").asString();
    const QString b = m.field("BCODE").asString();
    for (const char* s : {"UP_SCODE", "SCODE1", "SCODE2"})
      p.setParam(QString::fromLatin1(s), FGassanSCODE);
    for (const char* s : {"UP_KCODE", "USERCODE1", "USERCODE2"})
      p.setParam(QString::fromLatin1(s), user);
    for (const char* s : {"UP_HCODE", "HCODE1", "HCODE2"})
      p.setParam(QString::fromLatin1(s), h);
    for (const char* s : {"UP_BCODE", "BCODE1", "BCODE2"})
      p.setParam(QString::fromLatin1(s), b);
    p.setParam("KISHU_KOMI", m.field("KISHU_KOMI").asCurrency());
    p.setParam("KISHU_NUKI", m.field("KISHU_NUKI").asCurrency());
    p.exec();
  }
  m.close();

  // Past-year balances, only for a run that carries them.
  if (FGassanKbn == jxgkDataGassan) {
    QString sets = QStringLiteral("UPDATE KAKOZAN SET KISHU=KISHU+:KISHU,");
    QString cols = QStringLiteral("SELECT KZ.NENDO,KZ.SCODE,KZ.KCODE,K.USERCODE,KZ.HCODE,KZ.BCODE,KZ.KISHU");
    for (int n = 1; n <= 16; ++n)
      for (const char* kind : {"KOMIZAN", "NUKIZAN", "IKKATSU"}) {
        const QString c = QStringLiteral("%1_%2").arg(QLatin1String(kind)).arg(n);
        sets += QStringLiteral("%1=%1+:%1,").arg(c);
        cols += QStringLiteral(",KZ.") + c;
      }
    sets += QStringLiteral(
        "TRIGGER_SWITCH=1 WHERE NENDO=:UP_NENDO AND SCODE=:UP_SCODE AND KCODE=(SELECT KCODE FROM KAMOKUMST WHERE "
        "USERCODE=:UP_KCODE) AND HCODE=:UP_HCODE AND BCODE=:UP_BCODE");
    p.setSql(sets);
    p.prepare();
    m.setSql(cols + QStringLiteral(" FROM KAKOZAN KZ INNER JOIN KAMOKUMST K ON (KZ.KCODE=K.KCODE) "
                                   "ORDER BY KZ.SCODE,KZ.KCODE,KZ.HCODE,KZ.BCODE"));
    for (m.open(); !m.eof(); m.next()) {
      p.setParam("UP_NENDO", m.field("NENDO").asInt());
      p.setParam("UP_SCODE", FGassanSCODE);
      p.setParam("UP_KCODE", m.field("USERCODE").asString());
      p.setParam("UP_HCODE", m.field("HCODE").asString());
      p.setParam("UP_BCODE", m.field("BCODE").asString());
      p.setParam("KISHU", m.field("KISHU").asCurrency());
      for (int n = 1; n <= 16; ++n)
        for (const char* kind : {"KOMIZAN", "NUKIZAN", "IKKATSU"}) {
          const QString c = QStringLiteral("%1_%2").arg(QLatin1String(kind)).arg(n);
          p.setParam(c, m.field(c).asCurrency());
        }
      p.exec();
    }
    m.close();
  }

  // Per-period budgets.
  p.setSql(QStringLiteral(
      "UPDATE KAMOKU_MS SET BYOSAN=(SELECT MS.BYOSAN FROM KAMOKU_MS MS INNER JOIN KAMOKUMST K ON (MS.KCODE=K.KCODE) "
      "WHERE MS.SCODE=:SCODE1 AND K.USERCODE=:USERCODE1 AND MS.HCODE=:HCODE1 AND MS.BCODE=:BCODE1 AND "
      "MS.MNUM=:MNUM1)+:BYOSAN WHERE SCODE=:UP_SCODE AND KCODE=(SELECT KCODE FROM KAMOKUMST WHERE "
      "USERCODE=:UP_KCODE) AND HCODE=:UP_HCODE AND BCODE=:UP_BCODE AND MNUM=:UP_MNUM"));
  p.prepare();
  m.setSql(
      QStringLiteral("SELECT MS.SCODE,MS.KCODE,K.USERCODE,MS.HCODE,MS.BCODE,MS.MNUM,MS.BYOSAN FROM KAMOKU_MS MS "
                     "INNER JOIN KAMOKUMST K ON (MS.KCODE=K.KCODE) WHERE BYOSAN<>0 "
                     "ORDER BY MS.SCODE,MS.KCODE,MS.HCODE,MS.BCODE,MS.MNUM"));
  for (m.open(); !m.eof(); m.next()) {
    p.setParam("SCODE1", FGassanSCODE);
    p.setParam("UP_SCODE", FGassanSCODE);
    for (const char* s : {"UP_KCODE", "USERCODE1"})
      p.setParam(QString::fromLatin1(s), m.field("USERCODE").asString());
    for (const char* s : {"UP_HCODE", "HCODE1"})
      p.setParam(QString::fromLatin1(s), m.field("HCODE").asString());
    for (const char* s : {"UP_BCODE", "BCODE1"})
      p.setParam(QString::fromLatin1(s), m.field("BCODE").asString());
    for (const char* s : {"UP_MNUM", "MNUM1"})
      p.setParam(QString::fromLatin1(s), m.field("MNUM").asInt());
    p.setParam("BYOSAN", m.field("BYOSAN").asCurrency());
    p.exec();
  }
  m.close();
}

void TGassanDataCtl::GassanKobetu()
{
  if (AccInf.KobetuGenka_Use != 1)
    return;
  db::Query m(*FBunsanIBTransaction);
  db::Query p(datTransaction());
  db::Query add(datTransaction());

  p.setSql(QStringLiteral("SELECT COUNT(KOBETUCODE) AS RECCNT FROM KOBETU WHERE KOBETUCODE=:KOBETUCODE"));
  add.setSql(
      QStringLiteral("INSERT INTO KOBETU(KOBETUCODE,KOBETUCODESTR,KOBETUNAME,KURIKOSIKUBUN) "
                     "VALUES(:KOBETUCODE,:KOBETUCODESTR,:KOBETUNAME,:KURIKOSIKUBUN)"));
  m.setSql(QStringLiteral("SELECT KOBETUCODE,KOBETUCODESTR,KOBETUNAME,KURIKOSIKUBUN FROM KOBETU ORDER BY KOBETUCODE"));
  for (m.open(); !m.eof(); m.next()) {
    p.setParam("KOBETUCODE", m.field("KOBETUCODE").asInt());
    p.open();
    const int there = p.eof() ? 0 : p.field(0).asInt();
    p.close();
    if (there > 0)
      continue;
    add.setParam("KOBETUCODE", m.field("KOBETUCODE").asInt());
    add.setParam("KOBETUCODESTR", m.field("KOBETUCODESTR").asString());
    add.setParam("KOBETUNAME", m.field("KOBETUNAME").asString());
    add.setParam("KURIKOSIKUBUN", m.field("KURIKOSIKUBUN").asInt());
    add.exec();
  }
  m.close();

  // The member's account is found in the parent by its user code: the
  // internal codes of the two data sets need not agree.
  p.setSql(
      QStringLiteral("UPDATE KOBETU_KAMOKU SET KAISIZAN=KAISIZAN+:KAISIZAN WHERE KOBETUCODE=:KOBETUCODE AND "
                     "KCODE=(SELECT KCODE FROM KAMOKUMST WHERE USERCODE=:USERCODE)"));
  m.setSql(
      QStringLiteral("SELECT KK.KOBETUCODE,KK.KCODE,K.USERCODE,KK.KAISIZAN FROM KOBETU_KAMOKU KK "
                     "INNER JOIN KAMOKUMST K ON (KK.KCODE=K.KCODE) ORDER BY KK.KOBETUCODE,KK.KCODE"));
  for (m.open(); !m.eof(); m.next()) {
    p.setParam("KAISIZAN", m.field("KAISIZAN").asCurrency());
    p.setParam("KOBETUCODE", m.field("KOBETUCODE").asInt());
    p.setParam("USERCODE", m.field("USERCODE").asString());
    p.exec();
  }
  m.close();
}
