// TSiwakeWrite: preparing, reading, storing, deleting and restoring entries,
// sticky notes and memos, the extraction work table and the next numbers.
#include <QCoreApplication>

#include "common/AccFunction.h"
#include "common/AccFunction2.h"
#include "common/AccRecord.h"
#include "common/AccTaxCmp.h"
#include "common/FbError.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "maint/SiwakeWrite.h"

namespace {

const char* const SiwakeParams =
    ":HIZUKE,:MNUM,:KESSAN,:SDAYNUM,:MDAYNUM,:DNUM,:SNUM,:SCODE,:L_KGROUP,:L_KCODE,:L_HCODE,:L_BCODE,:L_KNAME,:L_HNAME,"
    ":L_BNAME,:L_TAXCODE,:L_TAXUH,:L_TAXDC,:L_NUK,:L_ZEI,:L_RIT,:L_SIKIN,:R_KGROUP,:R_KCODE,:R_HCODE,:R_BCODE,:R_KNAME,"
    ":R_HNAME,:R_BNAME,:R_TAXCODE,:R_TAXUH,:R_TAXDC,:R_NUK,:R_ZEI,:R_RIT,:R_SIKIN,:KINGAKU,:ZEIGAKU,:ZEIRITUNO,:"
    "AUTCALCU,"
    ":TAXCALCU,:OLDRATE,:TEKCODE,:TEKTEXT,:TORCODE,:TORTEXT, :FUSEN1,:FUSEN2,:FUSEN3,:FUSEN4,:FUSEN5,:CTIME,:COMMENT,"
    ":AO_COMMENT,:LINKKEY,:LINKKUB,:LINKREC,:LOCALFLG,:Reserve1,:Reserve2,:OPNCODE ";

// Another transaction holds the rows: a lock conflict, or an update conflict
// of a no-wait transaction.
constexpr int LockConflict = 335544345;
constexpr int UpdateConflict = 335544336;

void SetDate(db::Query& q, const QString& name, TDateTime value)
{
  if (value == 0)
    q.setParamNull(name);
  else
    q.setParamDateTime(name, value);
}

void ReadSide(const db::Query& q, TSwkBalance& s, const QString& p, const QString& userCode)
{
  s.KGROUP = q.field(p + "KGROUP").asString();
  s.KCODE = q.field(userCode).asString();
  s.HCODE = q.field(p + "HCODE").asString();
  s.BCODE = q.field(p + "BCODE").asString();
  s.KNAME = q.field(p + "KNAME").asString();
  s.HNAME = q.field(p + "HNAME").asString();
  s.BNAME = q.field(p + "BNAME").asString();
  s.TAXCODE = q.field(p + "TAXCODE").asInt();
  s.TAXUH = q.field(p + "TAXUH").asInt();
  s.TAXDC = q.field(p + "TAXDC").asInt();
  s.NUK = q.field(p + "NUK").asCurrency();
  s.ZEI = q.field(p + "ZEI").asCurrency();
  s.RIT = q.field(p + "RIT").asCurrency();
  s.SIKIN = q.field(p + "SIKIN").asInt();
}

}  // namespace

void TSiwakeWrite::InitSiwakeRec(TSWKREC& ASWKREC, int AKessan, TDateTime ADt)
{
  ASWKREC = TSWKREC();
  ASWKREC.PCNAME = SystemDef.PCNAME;
  ASWKREC.TAISHAKU = 1;
  ASWKREC.HIZUKE = ADt;
  ASWKREC.KESSAN = AKessan;
  ASWKREC.LK.TAXCODE = 910;
  ASWKREC.RK.TAXCODE = 910;
  ASWKREC.RTIME = Now();
  ASWKREC.OPCODE = SystemDef.OPCODE;
  ASWKREC.OLDRATE = fnGetZeirituKbnByDate(0, ADt);
  ASWKREC.LK.ZEIRITUKBN = ASWKREC.OLDRATE;
  ASWKREC.RK.ZEIRITUKBN = ASWKREC.OLDRATE;
}

QString TSiwakeWrite::ToInternalKCode(const QString& AUserCode)
{
  if (!FInternalKCodeLoaded) {
    db::Query& q = Sql(QStringLiteral("SELECT KCODE,USERCODE FROM KAMOKUMST"));
    for (q.open(); !q.eof(); q.next())
      FInternalKCode[q.field(1).asString()] = q.field(0).asString();
    q.close();
    FInternalKCodeLoaded = true;
  }
  const auto it = FInternalKCode.find(AUserCode);
  return it == FInternalKCode.end() ? AUserCode : it->second;
}

void TSiwakeWrite::GetSiwake(TSWKREC& ASWKREC, int ARec, int AReadSiwakeView)
{
  InitSiwakeRec(ASWKREC, 0, Date());
  try {
    BeginOwn();
    QString sql;
    if (FNendo == 1)
      sql = QStringLiteral("SELECT * FROM KAKOSIWAKE1_VIEW WHERE REC=:REC");
    else if (FNendo == 2)
      sql = QStringLiteral("SELECT * FROM KAKOSIWAKE2_VIEW WHERE REC=:REC");
    else if (AReadSiwakeView != 0)
      sql = QStringLiteral("SELECT * FROM SIWAKE_VIEW WHERE REC=:REC");
    else
      sql = QStringLiteral(
          "SELECT "
          "S.REC,S.SWKREC,S.SWKNO,S.DELFLG,S.TAISHAKU,S.HIZUKE,S.MNUM,S.KESSAN,S.DNUM,S.SNUM,S.SDAYNUM,S.MDAYNUM,"
          "S.SCODE,S.SITREC,\n"
          "S.KGROUP,S.KCODE,K1.USERCODE,S.HCODE,S.BCODE,S.KNAME,S.HNAME,S.BNAME,S.TAXCODE,S.TAXUH,S.TAXDC,S.NUK,S.ZEI,"
          "S.RIT,S.SIKIN,\n"
          "S.R_KGROUP,S.R_KCODE,K2.USERCODE AS "
          "R_USERCODE,S.R_HCODE,S.R_BCODE,S.R_KNAME,S.R_HNAME,S.R_BNAME,S.R_TAXCODE,"
          "S.R_TAXUH,S.R_TAXDC,S.R_NUK,S.R_ZEI,S.R_RIT,S.R_SIKIN,\n"
          "S.KINGAKU,S.ZEIGAKU,S.ZEIRITUNO,S.AUTCALCU,S.TAXCALCU,S.OLDRATE,S.TEKCODE,S.TEKTEXT,S.TORCODE,S.TORTEXT,"
          "S.FUSEN1,S.FUSEN2,S.FUSEN3,S.FUSEN4,S.FUSEN5,S.CTIME,S.COMMENT,S.AO_COMMENT,\n"
          "S.LINKKEY,S.LINKKUB,S.LINKREC,S.LOCALFLG,S.RESERVE1,S.RESERVE2,S.RTIME,S.OPCODE,\n"
          "NULL AS SHONIN_HIZUKE,0 AS SHONIN_OPCODE, '' AS SHONIN_NAME\n"
          "FROM SIWAKE S\n"
          "INNER JOIN KAMOKUMST K1 ON (S.KCODE = K1.KCODE)\n"
          "INNER JOIN KAMOKUMST K2 ON (S.R_KCODE = K2.KCODE)\n"
          "WHERE S.REC=:REC");
    db::Query& q = Sql(sql);
    q.setParam(QStringLiteral("REC"), ARec);
    q.open();
    if (!q.eof()) {
      TSWKREC& E = ASWKREC;
      E.REC = q.field(QStringLiteral("REC")).asInt();
      E.SWKREC = q.field(QStringLiteral("SWKREC")).asInt();
      E.SWKNO = q.field(QStringLiteral("SWKNO")).asInt();
      E.DELFLG = q.field(QStringLiteral("DELFLG")).asInt();
      E.TAISHAKU = q.field(QStringLiteral("TAISHAKU")).asInt();
      E.HIZUKE = q.field(QStringLiteral("HIZUKE")).asDateTime();
      E.MNUM = q.field(QStringLiteral("MNUM")).asInt();
      E.KESSAN = q.field(QStringLiteral("KESSAN")).asInt();
      E.DNUM = q.field(QStringLiteral("DNUM")).asInt();
      E.SNUM = q.field(QStringLiteral("SNUM")).asInt();
      E.SDAYNUM = q.field(QStringLiteral("SDAYNUM")).asInt();
      E.MDAYNUM = q.field(QStringLiteral("MDAYNUM")).asInt();
      E.SCODE = q.field(QStringLiteral("SCODE")).asString();
      E.SITREC = q.field(QStringLiteral("SITREC")).asInt();
      ReadSide(q, E.LK, QString(), QStringLiteral("USERCODE"));
      ReadSide(q, E.RK, QStringLiteral("R_"), QStringLiteral("R_USERCODE"));
      E.KINGAKU = q.field(QStringLiteral("KINGAKU")).asCurrency();
      E.ZEIGAKU = q.field(QStringLiteral("ZEIGAKU")).asCurrency();
      E.ZEIRITUNO = q.field(QStringLiteral("ZEIRITUNO")).asInt();
      E.AUTCALCU = q.field(QStringLiteral("AUTCALCU")).asInt();
      E.TAXCALCU = q.field(QStringLiteral("TAXCALCU")).asInt();
      E.OLDRATE = q.field(QStringLiteral("OLDRATE")).asInt();
      E.TEKCODE = q.field(QStringLiteral("TEKCODE")).asInt();
      E.TEKTEXT = q.field(QStringLiteral("TEKTEXT")).asString();
      E.TORCODE = q.field(QStringLiteral("TORCODE")).asInt();
      E.TORTEXT = q.field(QStringLiteral("TORTEXT")).asString();
      E.FUSEN1 = q.field(QStringLiteral("FUSEN1")).asInt();
      E.FUSEN2 = q.field(QStringLiteral("FUSEN2")).asInt();
      E.FUSEN3 = q.field(QStringLiteral("FUSEN3")).asInt();
      E.FUSEN4 = q.field(QStringLiteral("FUSEN4")).asInt();
      E.FUSEN5 = q.field(QStringLiteral("FUSEN5")).asInt();
      E.CTIME = q.field(QStringLiteral("CTIME")).asDateTime();
      E.COMMENT = q.field(QStringLiteral("COMMENT")).asString();
      E.AO_COMMENT = q.field(QStringLiteral("AO_COMMENT")).asString();
      E.LINKKEY = q.field(QStringLiteral("LINKKEY")).asString();
      E.LINKKUB = q.field(QStringLiteral("LINKKUB")).asInt();
      E.LINKREC = q.field(QStringLiteral("LINKREC")).asInt();
      E.LOCALFLG = q.field(QStringLiteral("LOCALFLG")).asInt();
      E.RESERVE1 = q.field(QStringLiteral("RESERVE1")).asInt();
      E.RESERVE2 = q.field(QStringLiteral("RESERVE2")).asInt();
      E.RTIME = q.field(QStringLiteral("RTIME")).asDateTime();
      E.OPCODE = q.field(QStringLiteral("OPCODE")).asInt();
      E.SYOUNIN_HIZUKE = q.field(QStringLiteral("SHONIN_HIZUKE")).asDateTime();
      E.SYOUNIN_OPCODE = q.field(QStringLiteral("SHONIN_OPCODE")).asInt();
      E.SYOUNIN_OPNAME = q.field(QStringLiteral("SHONIN_NAME")).asString();
      E.LK.ZEIRITUKBN = E.OLDRATE;
      E.RK.ZEIRITUKBN = E.OLDRATE;
    }
    q.close();
    CommitOwn();
  } catch (const db::DbError& e) {
    fnShowFbError(e, QStringLiteral("TSiwakeWrite.GetSiwake"), QString(), true);
    RollbackOwn();
    throw;
  } catch (...) {
    RollbackOwn();
    throw;
  }
}

int TSiwakeWrite::PutSiwakeOnce(TSWKREC& E)
{
  const QString params = QString::fromUtf8(SiwakeParams);
  QString sql;
  if (E.REC == 0) {
    const bool old = AccInf.DataVerMajor < 6 || (AccInf.DataVerMajor == 6 && AccInf.DataVerMinor == 0);
    sql = (old ? QStringLiteral("SELECT NEWREC,NEWSWKREC,NEWSDAYNUM,0 AS NEWSITREC FROM SP_SIWAKE_INS(")
               : QStringLiteral("SELECT NEWREC,NEWSWKREC,NEWSDAYNUM,NEWSITREC FROM SP_SIWAKE_INS(")) +
          params + QStringLiteral(")");
  } else {
    sql = QStringLiteral("SELECT NEWREC,NEWSWKREC,NEWSWKNO,UPREC,NEWSDAYNUM FROM SP_SIWAKE_UPD(") +
          QStringLiteral(":REC,:SWKREC,:SWKNO,:DELFLG,") + params + QStringLiteral(")");
  }
  db::Query& q = Sql(sql);
  if (E.REC != 0) {
    q.setParam(QStringLiteral("REC"), E.REC);
    q.setParam(QStringLiteral("SWKREC"), E.SWKREC);
    q.setParam(QStringLiteral("SWKNO"), E.SWKNO);
    q.setParam(QStringLiteral("DELFLG"), E.DELFLG);
  }
  SetDate(q, QStringLiteral("HIZUKE"), E.HIZUKE);
  q.setParam(QStringLiteral("MNUM"), E.MNUM);
  q.setParam(QStringLiteral("KESSAN"), E.KESSAN);
  q.setParam(QStringLiteral("SDAYNUM"), E.SDAYNUM);
  q.setParam(QStringLiteral("MDAYNUM"), E.MDAYNUM);
  q.setParam(QStringLiteral("DNUM"), E.DNUM);
  q.setParam(QStringLiteral("SNUM"), E.SNUM);
  q.setParam(QStringLiteral("SCODE"), E.SCODE);
  for (int side = 0; side < 2; ++side) {
    const TSwkBalance& s = side == 0 ? E.LK : E.RK;
    const QString p = side == 0 ? QStringLiteral("L_") : QStringLiteral("R_");
    q.setParam(p + "KGROUP", s.KGROUP);
    q.setParam(p + "KCODE", ToInternalKCode(s.KCODE));
    q.setParam(p + "HCODE", s.HCODE);
    q.setParam(p + "BCODE", s.BCODE);
    q.setParam(p + "KNAME", s.KNAME);
    q.setParam(p + "HNAME", s.HNAME);
    q.setParam(p + "BNAME", s.BNAME);
    q.setParam(p + "TAXCODE", s.TAXCODE);
    q.setParam(p + "TAXUH", s.TAXUH);
    q.setParam(p + "TAXDC", s.TAXDC);
    q.setParam(p + "NUK", s.NUK);
    q.setParam(p + "ZEI", s.ZEI);
    q.setParam(p + "RIT", s.RIT);
    q.setParam(p + "SIKIN", s.SIKIN);
  }
  q.setParam(QStringLiteral("KINGAKU"), E.KINGAKU);
  q.setParam(QStringLiteral("ZEIGAKU"), E.ZEIGAKU);
  q.setParam(QStringLiteral("ZEIRITUNO"), E.ZEIRITUNO);
  q.setParam(QStringLiteral("AUTCALCU"), E.AUTCALCU);
  q.setParam(QStringLiteral("TAXCALCU"), E.TAXCALCU);
  q.setParam(QStringLiteral("OLDRATE"), E.OLDRATE);
  q.setParam(QStringLiteral("TEKCODE"), E.TEKCODE);
  q.setParam(QStringLiteral("TEKTEXT"), E.TEKTEXT);
  q.setParam(QStringLiteral("TORCODE"), E.TORCODE);
  q.setParam(QStringLiteral("TORTEXT"), E.TORTEXT);
  q.setParam(QStringLiteral("FUSEN1"), E.FUSEN1);
  q.setParam(QStringLiteral("FUSEN2"), E.FUSEN2);
  q.setParam(QStringLiteral("FUSEN3"), E.FUSEN3);
  q.setParam(QStringLiteral("FUSEN4"), E.FUSEN4);
  q.setParam(QStringLiteral("FUSEN5"), E.FUSEN5);
  SetDate(q, QStringLiteral("CTIME"), E.CTIME);
  q.setParam(QStringLiteral("COMMENT"), E.COMMENT);
  q.setParam(QStringLiteral("AO_COMMENT"), E.AO_COMMENT);
  q.setParam(QStringLiteral("LINKKEY"), E.LINKKEY);
  q.setParam(QStringLiteral("LINKKUB"), E.LINKKUB);
  q.setParam(QStringLiteral("LINKREC"), E.LINKREC);
  q.setParam(QStringLiteral("LOCALFLG"), E.LOCALFLG);
  q.setParam(QStringLiteral("Reserve1"), E.RESERVE1);
  q.setParam(QStringLiteral("Reserve2"), E.RESERVE2);
  q.setParam(QStringLiteral("OPNCODE"), SystemDef.OPCODE);
  q.open();
  int result = 0;
  if (q.eof())
    throw db::DbError(QStringLiteral("TSiwakeWrite.PutSiwake: the procedure returned no row"));
  if (E.REC == 0) {
    E.REC = q.field(QStringLiteral("NEWREC")).asInt();
    E.SWKREC = q.field(QStringLiteral("NEWSWKREC")).asInt();
    E.SDAYNUM = q.field(QStringLiteral("NEWSDAYNUM")).asInt();
    E.SWKNO = E.SWKREC;
    E.SITREC = q.field(QStringLiteral("NEWSITREC")).asInt();
    E.RTIME = Now();
    result = E.REC;
  } else {
    const int uprec = q.field(QStringLiteral("UPREC")).asInt();
    if (uprec == -2) {
      E.REC = q.field(QStringLiteral("NEWREC")).asInt();
      result = -2;
    } else if (uprec == -1) {
      result = -1;
    } else {
      E.REC = q.field(QStringLiteral("NEWREC")).asInt();
      E.SWKREC = q.field(QStringLiteral("NEWSWKREC")).asInt();
      E.SWKNO = q.field(QStringLiteral("NEWSWKNO")).asInt();
      E.SDAYNUM = q.field(QStringLiteral("NEWSDAYNUM")).asInt();
      E.RTIME = Now();
      result = 0;
    }
  }
  q.close();
  return result;
}

int TSiwakeWrite::PutSiwake(TSWKREC& ASWKREC)
{
  // A lock conflict (another connection holds the rows) is tried again a
  // bounded number of times, with a pause in which events keep flowing; the
  // last conflict is reported and passed on.
  for (int attempt = 1;; ++attempt) {
    const bool owner = FTransStart;
    try {
      BeginOwn();
      const int result = PutSiwakeOnce(ASWKREC);
      CommitOwn();
      return result;
    } catch (const db::DbError& e) {
      CloseAll();
      if ((e.hasCode(LockConflict) || e.hasCode(UpdateConflict)) && attempt < LockRetryCount) {
        if (owner) {
          try {
            if (FIBTransaction->inTransaction())
              FIBTransaction->rollback();
          } catch (...) {
            pcLogDroppedError("TSiwakeWrite.PutSiwake rollback before a retry");
          }
          FTransStart = true;
        }
        fnWaitMSec(LockRetryWaitMs);
        continue;
      }
      fnShowFbError(e, QStringLiteral("TSiwakeWrite.PutSiwake"), QString(), true);
      RollbackOwn();
      throw;
    } catch (...) {
      RollbackOwn();
      throw;
    }
  }
}

int TSiwakeWrite::DeleteSiwake(int ASwkRec)
{
  try {
    BeginOwn();
    db::Query& q = Sql(QStringLiteral("SELECT RESULT+1 AS RES FROM SP_SIWAKE_DEL(:SWKREC,:OPCODE)"));
    q.setParam(QStringLiteral("SWKREC"), ASwkRec);
    q.setParam(QStringLiteral("OPCODE"), SystemDef.OPCODE);
    q.open();
    const int res = q.eof() ? 0 : q.field(QStringLiteral("RES")).asInt();
    q.close();
    CommitOwn();
    return res;
  } catch (const db::DbError& e) {
    fnShowFbError(e, QStringLiteral("TSiwakeWrite.DeleteSiwake"), QString(), true);
    RollbackOwn();
    throw;
  } catch (...) {
    RollbackOwn();
    throw;
  }
}

int TSiwakeWrite::RestoreSiwake(int ASwkRec)
{
  try {
    BeginOwn();
    db::Query& d =
        Sql(QStringLiteral("SELECT HIZUKE,SDAYNUM FROM SIWAKE\n"
                           "WHERE (SWKREC=:SWKREC) AND (TAISHAKU=1)"));
    d.setParam(QStringLiteral("SWKREC"), ASwkRec);
    TDateTime hizuke = 0;
    bool found = false;
    for (d.open(); !d.eof(); d.next()) {
      hizuke = d.field(QStringLiteral("HIZUKE")).asDateTime();
      found = true;
    }
    d.close();
    int sdaynum = 0;
    if (found) {
      db::Query& m =
          Sql(QStringLiteral("SELECT MAX(SDAYNUM) AS MAX_SDAYNUM FROM SIWAKE\n"
                             "WHERE (HIZUKE=:HIZUKE) AND (DELFLG=0)"));
      SetDate(m, QStringLiteral("HIZUKE"), hizuke);
      m.open();
      const int max = m.eof() ? 0 : m.field(QStringLiteral("MAX_SDAYNUM")).asInt();
      m.close();
      sdaynum = max > 0 ? max + 1 : 0;
    }
    db::Query& u =
        Sql(QStringLiteral("UPDATE SIWAKE SET DELFLG=0,OPCODE=:OPCODE,RTIME=:RTIME,SDAYNUM=:SDAYNUM\n"
                           "WHERE SWKREC=:SWKREC"));
    u.setParam(QStringLiteral("OPCODE"), SystemDef.OPCODE);
    u.setParamDateTime(QStringLiteral("RTIME"), Now());
    u.setParam(QStringLiteral("SDAYNUM"), sdaynum);
    u.setParam(QStringLiteral("SWKREC"), ASwkRec);
    u.exec();
    // No row changed: nothing was restored.
    if (u.rowsAffected() == 0) {
      RollbackOwn();
      return 0;
    }
    CommitOwn();
    return 1;
  } catch (const db::DbError& e) {
    fnShowFbError(e, QStringLiteral("TSiwakeWrite.RestoreSiwake"), QString(), true);
    RollbackOwn();
    throw;
  } catch (...) {
    RollbackOwn();
    throw;
  }
}

int TSiwakeWrite::GetSiwakeLinkKubun(int ARec)
{
  try {
    BeginOwn();
    db::Query& q =
        Sql(QStringLiteral("SELECT LINKKUB FROM SIWAKE2\n"
                           "WHERE REC=:REC"));
    q.setParam(QStringLiteral("REC"), ARec);
    q.open();
    const int kub = q.eof() ? 0 : q.field(QStringLiteral("LINKKUB")).asInt();
    q.close();
    CommitOwn();
    return kub;
  } catch (const db::DbError& e) {
    fnShowFbError(e, QStringLiteral("TSiwakeWrite.GetSiwakeLinkKubun"), QString(), true);
    RollbackOwn();
    throw;
  } catch (...) {
    RollbackOwn();
    throw;
  }
}

int TSiwakeWrite::IsYuukouSiwake(int ARec)
{
  int result = 0;
  try {
    BeginOwn();
    db::Query& q =
        Sql(QStringLiteral("SELECT REC,DELFLG FROM SIWAKE\n"
                           "WHERE (REC=:REC)"));
    q.setParam(QStringLiteral("REC"), ARec);
    q.open();
    if (!q.eof())
      result = q.field(QStringLiteral("DELFLG")).asInt() <= 0 ? 1 : -1;
    q.close();
    CommitOwn();
  } catch (...) {
    pcLogDroppedError("TSiwakeWrite.IsYuukouSiwake");
    RollbackOwn();
  }
  return result;
}

QString TSiwakeWrite::GetLinkKeyOfKeyName(const QString& ALinkKey, const QString& AKeyName)
{
  const QStringList items = ALinkKey.split(QLatin1Char(','));
  for (const QString& item : items) {
    const qsizetype eq = item.indexOf(QLatin1Char('='));
    const QString name = eq < 0 ? item : item.left(eq);
    if (name == AKeyName)
      return item;
  }
  return QString();
}

QString TSiwakeWrite::GetLinkKeyOfValue(const QString& ALinkKey, const QString& AKeyName)
{
  const QString item = GetLinkKeyOfKeyName(ALinkKey, AKeyName);
  const qsizetype eq = item.indexOf(QLatin1Char('='));
  return eq < 0 ? QString() : item.mid(eq + 1);
}

int TSiwakeWrite::PutSiwakeLinkInfo(const char* AStep, int ASwkRec, int ALinkKbn, int ALinkRec, const QString& ALinkKey,
                                    const QString& ASetLine, const QString& AParam, const QVariant& AValue,
                                    const QString& AVoucherWhere)
{
  if (ASwkRec == 0)
    return 0;
  // A voucher row is named by the ROW item of the key; a key without one
  // names no row, and only the entry itself is changed.
  const QString rowItem = GetLinkKeyOfKeyName(ALinkKey, QStringLiteral("ROW"));
  const bool voucherRow = ALinkKbn >= 12 && ALinkKbn <= 14 && !ALinkKey.contains(QStringLiteral("LRKBN=-")) &&
                          !GetLinkKeyOfValue(ALinkKey, QStringLiteral("ROW")).isEmpty();
  try {
    BeginOwn();
    QString sql = QStringLiteral("UPDATE SIWAKE\n") + ASetLine + QLatin1Char('\n');
    if (voucherRow)
      sql += QStringLiteral("WHERE SWKREC IN\n(\nSELECT DISTINCT SWKREC FROM SIWAKE2\n") + AVoucherWhere +
             QStringLiteral("\n)");
    else
      sql += QStringLiteral("WHERE SWKREC=:SWKREC");
    db::Query& q = Sql(sql);
    if (AValue.typeId() == QMetaType::Int)
      q.setParam(AParam, AValue.toInt());
    else
      q.setParam(AParam, AValue.toString());
    if (voucherRow) {
      q.setParam(QStringLiteral("LINKKUB"), ALinkKbn);
      q.setParam(QStringLiteral("LINKREC"), ALinkRec);
      q.setParam(QStringLiteral("LINKKEY"), QStringLiteral("%") + rowItem);
    } else {
      q.setParam(QStringLiteral("SWKREC"), ASwkRec);
    }
    q.exec();
    // No row changed is no success.
    const int result = q.rowsAffected() == 0 ? 0 : voucherRow ? 2 : 1;
    if (result > 0)
      CommitOwn();
    else
      RollbackOwn();
    return result;
  } catch (const db::DbError& e) {
    fnShowFbError(e, QString::fromUtf8(AStep), QString(), true);
    RollbackOwn();
    throw;
  } catch (...) {
    RollbackOwn();
    throw;
  }
}

int TSiwakeWrite::PutSiwakeFusenInfo(int ASwkRec, int ALinkKbn, int ALinkRec, const QString& ALinkKey, int AKbn,
                                     int AFusen)
{
  return PutSiwakeLinkInfo(
      "TSiwakeWrite.PutSiwakeFusenInfo", ASwkRec, ALinkKbn, ALinkRec, ALinkKey,
      AKbn == 0 ? QStringLiteral("SET FUSEN1=:FUSEN") : QStringLiteral("SET FUSEN2=:FUSEN"), QStringLiteral("FUSEN"),
      QVariant(AFusen), QStringLiteral("WHERE (LINKKUB=:LINKKUB) AND (LINKREC=:LINKREC) AND (LINKKEY LIKE :LINKKEY)"));
}

int TSiwakeWrite::PutSiwakeMemoInfo(int ASwkRec, int ALinkKbn, int ALinkRec, const QString& ALinkKey, int AKbn,
                                    const QString& AMemo)
{
  return PutSiwakeLinkInfo(
      "TSiwakeWrite.PutSiwakeMemoInfo", ASwkRec, ALinkKbn, ALinkRec, ALinkKey,
      AKbn == 0 ? QStringLiteral("SET COMMENT=:COMMENT") : QStringLiteral("SET AO_COMMENT=:COMMENT"),
      QStringLiteral("COMMENT"), QVariant(AMemo),
      QStringLiteral("WHERE LINKKUB=:LINKKUB AND LINKREC=:LINKREC AND LINKKEY LIKE :LINKKEY"));
}

int TSiwakeWrite::AddSiwakeChushutuWork(PSiwakeChushutuWorkRec AWKRec)
{
  try {
    BeginOwn();
    db::Query& q =
        Sql(QStringLiteral("INSERT INTO WK_SIWAKE_CHUSHUTU(RECTYPE,OPCODE,SWKREC,MEMO)\n"
                           "VALUES(:RECTYPE,:OPCODE,:SWKREC,:MEMO)"));
    q.setParam(QStringLiteral("RECTYPE"), AWKRec->RecType);
    q.setParam(QStringLiteral("OPCODE"), AWKRec->OPCODE);
    q.setParam(QStringLiteral("SWKREC"), AWKRec->SwkRec);
    q.setParam(QStringLiteral("MEMO"), AWKRec->Memo);
    q.exec();
    CommitOwn();
    return 1;
  } catch (...) {
    RollbackOwn();
    throw;
  }
}

int TSiwakeWrite::DeleteSiwakeChushutuWork(PSiwakeChushutuWorkRec AWKRec)
{
  try {
    BeginOwn();
    db::Query& q =
        Sql(QStringLiteral("DELETE FROM WK_SIWAKE_CHUSHUTU\n"
                           "WHERE (RECTYPE=:RECTYPE AND OPCODE=:OPCODE)"));
    q.setParam(QStringLiteral("RECTYPE"), AWKRec->RecType);
    q.setParam(QStringLiteral("OPCODE"), AWKRec->OPCODE);
    q.exec();
    CommitOwn();
    return 1;
  } catch (...) {
    RollbackOwn();
    throw;
  }
}

int TSiwakeWrite::GetNextGroupNumber()
{
  try {
    if (FIBTransaction && !FIBTransaction->inTransaction())
      FIBTransaction->start();
    db::Query& q = Sql(QStringLiteral("SELECT MAX(DNUM) AS MAXNUM FROM SIWAKE"));
    q.open();
    const int next = (q.eof() ? 0 : q.field(QStringLiteral("MAXNUM")).asInt()) + 1;
    q.close();
    CommitOwn();
    return next;
  } catch (const db::DbError& e) {
    fnShowFbError(e, QStringLiteral("TSiwakeWrite.GetNextGroupNumber"), QString(), true);
    RollbackOwn();
    throw;
  } catch (...) {
    RollbackOwn();
    throw;
  }
}

int TSiwakeWrite::GetNextDenpyouNumber(int ADataLinkKbn)
{
  try {
    if (FIBTransaction && !FIBTransaction->inTransaction())
      FIBTransaction->start();
    db::Query& q =
        Sql(QStringLiteral("SELECT MAX(LINKREC) AS MAXNUM FROM SIWAKE_VIEW\n"
                           "WHERE LINKKUB=:LINKKUB"));
    q.setParam(QStringLiteral("LINKKUB"), ADataLinkKbn);
    q.open();
    const int next = (q.eof() ? 0 : q.field(QStringLiteral("MAXNUM")).asInt()) + 1;
    q.close();
    CommitOwn();
    return next;
  } catch (const db::DbError& e) {
    fnShowFbError(e, QStringLiteral("TSiwakeWrite.GetNextFurikaeDenpyouNumber"), QString(), true);
    RollbackOwn();
    throw;
  } catch (...) {
    RollbackOwn();
    throw;
  }
}
