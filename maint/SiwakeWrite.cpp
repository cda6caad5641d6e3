// TSiwakeWrite: statements, the account list of a branch and its look-ups,
// the individual-cost list, rate kinds and the check of an entry.
#include "maint/SiwakeWrite.h"

#include <cmath>

#include "acctables/AccKikan.h"
#include "common/AccFunction.h"
#include "common/AccFunctionNum.h"
#include "common/AccTaxCmp.h"
#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/FbError.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"

namespace {

// Firebird compares text padded with blanks: 'A' equals 'A  '.
QString SqlText(const QString& s)
{
  qsizetype n = s.size();
  while (n > 0 && s.at(n - 1) == u' ')
    --n;
  return s.left(n);
}

bool SameSqlText(const QString& a, const QString& b)
{
  return SqlText(a) == SqlText(b);
}

bool BlankCode(const QString& s)
{
  return fnTrimZen(s).isEmpty();
}

const char* const KamokuCountSql =
    "SELECT COUNT(SZ.SCODE) AS RECCNT FROM KAMOKU_SZ SZ\n"
    "INNER JOIN SISETUMST SI ON (SZ.SCODE = SI.SCODE)\n"
    "INNER JOIN BUMONMST  BU ON (SZ.BCODE = BU.BCODE)\n"
    "INNER JOIN KAMOKUMST KM ON (SZ.KCODE = KM.KCODE)\n"
    "INNER JOIN HOJOMST   HM ON (SZ.KCODE = HM.KCODE AND SZ.HCODE=HM.HCODE)\n"
    "WHERE SZ.SCODE=:SCODE";

QString KamokuColumns(bool arrayForm)
{
  QString s = QStringLiteral(
      "SELECT SZ.SCODE,SZ.KCODE,SZ.HCODE,SZ.BCODE,SI.SNAME,KM.KCODE,KM.USERCODE,KM.REC,KM.GROUPM1,KM.GROUPM2,KM.KNAME,"
      "KM.BLDAC,KM.DAC,KM.DELFLG,KM.TAX_LCODE,KM.TAX_RCODE,KM.FUN_LCODE,KM.FUN_RCODE,KM.HOJOSW,KM.BPFLG,KM.KEIHKUBU,"
      "KM.EXT1_A4,KM.EXT1_A3,KM.EXT1_KS,HM.HNAME,");
  s += arrayForm ? QStringLiteral("HM.REC AS H_REC,") : QStringLiteral("HM.REC,");
  s += QStringLiteral(
      "HM.TAX_LCODE AS H_TAX_LCODE,HM.TAX_RCODE AS H_TAX_RCODE,HM.BPFLG,HM.SIME,HM.SAITO,HM.CoDATE,HM.GENDO,"
      "HM.WARIAISW,HM.WARI1,HM.WARI2,HM.WARI3,HM.TEGATA,HM.YOKKMK,HM.YOKHOJ,HM.ADDRESS,HM.KOUZA,HM.BANK,HM.SITEN,"
      "HM.KANKEI,HM.TORIHIK,HM.RIRITU,HM.RIYUU,HM.TANPO,HM.YOUTO,HM.FURIKOMI,HM.KARINAME,HM.KARIDADD,BU.BNAME");
  return s;
}

bool WithRateKinds()
{
  return fnVersionGreaterEq(
      QStringLiteral("%1.%2.%3").arg(AccInf.DataVerMajor).arg(AccInf.DataVerMinor).arg(AccInf.DataVerRev),
      QStringLiteral("11.1.0"));
}

// The message pairs of TestSiwake: wtInput, wtKousin.
struct TMsgPair {
  const char* input;
  const char* kousin;
};
enum {
  mHizuke,
  mKansaSiwake,
  mKansaHizuke,
  mLKamoku,
  mLHojo,
  mLBumon,
  mLTax,
  mRKamoku,
  mRHojo,
  mRBumon,
  mRTax,
  mKingaku,
  mMinus,
  mOver,
  mKobetu,
  mSiten,
  mSyounin,
  mRitu,
  mKoujo
};
const TMsgPair Messages[] = {
    {"日付が会計期間外または、決算区分の指定が不正です。", "日付が会計期間外または、決算区分の設定が不正です。"},
    {"監査済みの仕訳は訂正できません。", "監査済みの仕訳が設定されました。"},
    {"監査済みの日付は入力できません。", "日付に監査済みの日付が設定されました。"},
    {"借方の科目コードが見つかりません。", "借方の科目コードの設定が不正です。"},
    {"借方の補助コードを入力してください。", "借方の補助コードの設定が不正です。"},
    {"借方の部門コードが見つかりません。", "借方の部門コードの設定が不正です。"},
    {"借方の消費税コードを確認してください。", "借方の消費税コードの設定が不正です。"},
    {"貸方の科目コードが見つかりません。", "貸方の科目コードの設定が不正です。"},
    {"貸方の補助コードを入力してください。", "貸方の補助コードの設定が不正です。"},
    {"貸方の部門コードが見つかりません。", "貸方の部門コードの設定が不正です。"},
    {"貸方の消費税コードを確認してください。", "貸方の消費税コードの設定が不正です。"},
    {"金額を入力してください。", "金額の設定が不正です。（０円 または null）"},
    {"マイナス金額は入力できません。", "金額にマイナス値が設定されました。"},
    {"金額桁数がオーバーしています。", "金額の設定が不正です。（桁数オーバー）"},
    {"個別原価コードが見つかりません。", "個別原価コードの設定が不正です。"},
    {"本・支店コードが不正です。データを選択し直してください。", "本・支店コードが不正です。"},
    {"承認済みの仕訳は訂正できません。", "承認済みの仕訳が設定されました。"},
    {"借方と貸方の消費税率が違います。", "借方と貸方の消費税率が違います。"},
    {"借方・貸方消費税コードで仕入税額控除の割合が違います。",
     "借方・貸方消費税コードで仕入税額控除の割合が違います。"},
};

int DayNo(TDateTime d)
{
  return int(std::floor(d));
}

}  // namespace

// ---------------------------------------------------------------------------

TSiwakeWrite::TSiwakeWrite() = default;

TSiwakeWrite::~TSiwakeWrite() = default;

void TSiwakeWrite::SetIBTransaction(db::Transaction* v)
{
  FIBSQL1.clear();
  FIBTransaction = v;
}

db::Query& TSiwakeWrite::Sql(const QString& text)
{
  if (!FIBTransaction)
    throw db::DbError(QStringLiteral("TSiwakeWrite: no transaction set"));
  auto it = FIBSQL1.find(text);
  if (it == FIBSQL1.end())
    it = FIBSQL1.emplace(text, std::make_unique<db::Query>(*FIBTransaction, text)).first;
  db::Query& q = *it->second;
  q.close();
  q.clearParams();
  return q;
}

void TSiwakeWrite::CloseAll()
{
  for (auto& [text, q] : FIBSQL1)
    q->close();
}

void TSiwakeWrite::BeginOwn()
{
  if (FTransStart && FIBTransaction && !FIBTransaction->inTransaction())
    FIBTransaction->start();
}

void TSiwakeWrite::CommitOwn()
{
  CloseAll();
  if (FTransStart) {
    if (FIBTransaction && FIBTransaction->inTransaction())
      FIBTransaction->commit();
    FTransStart = false;
  }
}

void TSiwakeWrite::RollbackOwn()
{
  CloseAll();
  if (FTransStart) {
    FTransStart = false;
    try {
      if (FIBTransaction && FIBTransaction->inTransaction())
        FIBTransaction->rollback();
    } catch (...) {
      pcLogDroppedError("TSiwakeWrite rollback after a failure");
    }
  }
}

QString TSiwakeWrite::Msg(int AIndex) const
{
  const TMsgPair& m = Messages[AIndex];
  return QString::fromUtf8(FWriteType == wtInput ? m.input : m.kousin);
}

// ---------------------------------------------------------------------------
// Account list

void TSiwakeWrite::ExecuteKamokuList(const QString& ASCODE)
{
  FSCODE = ASCODE;
  GetKamokuArray(FSCODE);
}

void TSiwakeWrite::FillKamokuRec(TKamokuRec& R, const db::Query& q, bool AWithRates) const
{
  R.BUMON.BCODE = q.field(3).asString();
  R.BUMON.BNAME = q.field(QStringLiteral("BNAME")).asString();
  TKMKREC& k = R.KAMOKU;
  k.KCODE = q.field(5).asString();
  k.USERCODE = q.field(6).asString();
  k.REC = q.field(7).asInt();
  k.GROUPM1 = q.field(8).asString();
  k.GROUPM2 = q.field(9).asString();
  k.KNAME = q.field(10).asString();
  k.BLDAC = q.field(11).asInt();
  k.DAC = q.field(12).asInt();
  k.DELFLG = q.field(13).asInt();
  k.TAX_LCODE = q.field(14).asInt();
  k.TAX_RCODE = q.field(15).asInt();
  k.FUN_LCODE = q.field(16).asInt();
  k.FUN_RCODE = q.field(17).asInt();
  k.HOJOSW = fnTrim(q.field(18).asString());
  k.BPFLG = q.field(19).asString();
  k.KEIHKUBU = fnTrim(q.field(20).asString());
  k.EXT1_A4 = q.field(21).asInt();
  k.EXT1_A3 = q.field(22).asInt();
  k.EXT1_KS = q.field(23).asInt();
  k.ZEIRITUKBN = AWithRates ? q.field(QStringLiteral("ZEIRITUKBN")).asInt() : 0;
  THOJREC& h = R.HOJO;
  h.KCODE = q.field(1).asString();
  h.HCODE = q.field(2).asString();
  h.HNAME = q.field(24).asString();
  h.REC = q.field(25).asInt();
  h.TAX_LCODE = q.field(QStringLiteral("H_TAX_LCODE")).asInt();
  h.TAX_RCODE = q.field(QStringLiteral("H_TAX_RCODE")).asInt();
  h.ZEIRITUKBN = AWithRates ? q.field(QStringLiteral("H_ZEIRITUKBN")).asInt() : 0;
}

bool TSiwakeWrite::GetKamokuArray(const QString& ASCODE)
{
  try {
    BeginOwn();
    const bool rates = WithRateKinds();
    db::Query& c = Sql(QString::fromUtf8(KamokuCountSql));
    c.setParam(QStringLiteral("SCODE"), ASCODE);
    c.open();
    const int count = c.eof() ? 0 : c.field(QStringLiteral("RECCNT")).asInt();
    c.close();
    FKAMOKUREC.clear();
    FKamokuListSNAME.clear();
    FKamokuIndexList.clear();
    FKamokuIndexMap.clear();
    FKamokuCount = 0;
    FKamokuIndex = 0;
    if (count > 0) {
      QString sql = KamokuColumns(true);
      if (rates)
        sql += QStringLiteral(",KM.ZEIRITUKBN,HM.ZEIRITUKBN AS H_ZEIRITUKBN");
      sql += QStringLiteral(
          "\nFROM KAMOKU_SZ SZ\n"
          "INNER JOIN SISETUMST SI ON (SZ.SCODE = SI.SCODE)\n"
          "INNER JOIN BUMONMST  BU ON (SZ.BCODE = BU.BCODE)\n"
          "INNER JOIN KAMOKUMST KM ON (SZ.KCODE = KM.KCODE)\n"
          "INNER JOIN HOJOMST   HM ON (SZ.KCODE = HM.KCODE AND SZ.HCODE=HM.HCODE)\n"
          "WHERE SZ.SCODE=:SCODE\n"
          "ORDER BY SZ.SCODE,SZ.KCODE,SZ.HCODE,SZ.BCODE");
      db::Query& q = Sql(sql);
      q.setParam(QStringLiteral("SCODE"), ASCODE);
      FKAMOKUREC.reserve(count);
      int first = -1;
      for (q.open(); !q.eof(); q.next()) {
        TKamokuRec r;
        FillKamokuRec(r, q, rates);
        const int index = int(FKAMOKUREC.size());
        if (index == 0)
          FKamokuListSNAME = q.field(4).asString();
        // Blank and empty codes are the same code to the database.
        const bool hasHojo = !SqlText(r.HOJO.HCODE).isEmpty();
        const bool hasBumon = !SqlText(r.BUMON.BCODE).isEmpty();
        if (first < 0 || FKAMOKUREC[first].KAMOKU.USERCODE != r.KAMOKU.USERCODE) {
          first = index;
          FKamokuIndexList << QStringLiteral("%1=%2").arg(r.KAMOKU.USERCODE).arg(index);
          FKamokuIndexMap.emplace(r.KAMOKU.USERCODE, index);
        }
        FKAMOKUREC.push_back(std::move(r));
        if (hasHojo)
          FKAMOKUREC[first].HojoUmu = true;
        if (hasBumon)
          FKAMOKUREC[first].BumonUmu = true;
      }
      FKamokuCount = int(FKAMOKUREC.size());
    }
    FKamokuListLoaded = true;
    FKamokuListSCODE = ASCODE;
    CommitOwn();
    return true;
  } catch (const db::DbError& e) {
    fnShowFbError(e, QStringLiteral("TSiwakeWrite.GetKamokuArray"), QString(), true);
    RollbackOwn();
    throw;
  } catch (...) {
    RollbackOwn();
    throw;
  }
}

TKamokuRec TSiwakeWrite::GetKamokuRecArr(int AIndex) const
{
  if (AIndex < 0 || AIndex >= int(FKAMOKUREC.size()))
    return TKamokuRec();
  return FKAMOKUREC[AIndex];
}

QString TSiwakeWrite::KCodeToUserCode(const QString& AKCODE) const
{
  for (const TKamokuRec& r : FKAMOKUREC)
    if (r.KAMOKU.KCODE == AKCODE)
      return r.KAMOKU.USERCODE;
  return QString();
}

bool TSiwakeWrite::GetFindKCODE(const QString& AUC_KCODE)
{
  FKamokuIndex = 0;
  const auto it = FKamokuIndexMap.find(AUC_KCODE);
  if (it == FKamokuIndexMap.end())
    return false;
  FKamokuIndex = it->second;
  return true;
}

bool TSiwakeWrite::GetFindHCODE(const QString& AUC_KCODE, const QString& AHCODE)
{
  if (!GetFindKCODE(AUC_KCODE))
    return false;
  for (int i = FKamokuIndex; i < FKamokuCount && FKAMOKUREC[i].KAMOKU.USERCODE == AUC_KCODE; ++i) {
    if (FKAMOKUREC[i].HOJO.HCODE == AHCODE) {
      FKamokuIndex = i;
      return true;
    }
  }
  return false;
}

bool TSiwakeWrite::GetFindBCODE(const QString& AUC_KCODE, const QString& ABCODE)
{
  if (!GetFindKCODE(AUC_KCODE))
    return false;
  for (int i = FKamokuIndex; i < FKamokuCount && FKAMOKUREC[i].KAMOKU.USERCODE == AUC_KCODE; ++i) {
    if (FKAMOKUREC[i].BUMON.BCODE == ABCODE) {
      FKamokuIndex = i;
      return true;
    }
  }
  return false;
}

bool TSiwakeWrite::GetFindKamoku(const QString& AUC_KCODE, const QString& AHCODE, const QString& ABCODE)
{
  const QString h = fnTrim(AHCODE);
  const QString b = fnTrim(ABCODE);
  if (!GetFindKCODE(AUC_KCODE))
    return false;
  for (int i = FKamokuIndex; i < FKamokuCount && FKAMOKUREC[i].KAMOKU.USERCODE == AUC_KCODE; ++i) {
    const TKamokuRec& r = FKAMOKUREC[i];
    if (fnTrim(r.HOJO.HCODE) != h)
      continue;
    if (!b.isEmpty() && fnTrim(r.BUMON.BCODE) != b)
      continue;
    FKamokuIndex = i;
    return true;
  }
  return false;
}

TNeedItem TSiwakeWrite::GetNeedItem(const QString& AUC_KCODE)
{
  if (FKAMOKUREC.empty() || !GetFindKCODE(AUC_KCODE))
    return niNone;
  const TKamokuRec& r = FKAMOKUREC[FKamokuIndex];
  if (r.HojoUmu && r.BumonUmu)
    return niHojoBumon;
  if (r.HojoUmu)
    return niHojo;
  if (r.BumonUmu)
    return niBumon;
  return niNone;
}

bool TSiwakeWrite::GetKamokuRec(const QString& ASCODE, const QString& ABCODE, const QString& AHCODE,
                                const QString& AUC_KCODE)
{
  if (ASCODE.size() > 6 || ABCODE.size() > 6 || AHCODE.size() > 6 || AUC_KCODE.size() > 6)
    return false;
  FKMKREC = TBALANCE();
  const QString hcode = AHCODE.isEmpty() ? QStringLiteral(" ") : AHCODE;
  FKMKREC.SISETU.SCODE = ASCODE;
  FKMKREC.BUMON.BCODE = ABCODE;
  FKMKREC.KAMOKU.KCODE = AUC_KCODE;
  FKMKREC.HOJO.KCODE = AUC_KCODE;
  FKMKREC.HOJO.HCODE = hcode;

  // The branch's list already holds the rows this query would read.
  if (FKamokuListLoaded && FKamokuListSCODE == ASCODE) {
    const auto it = FKamokuIndexMap.find(AUC_KCODE);
    if (it == FKamokuIndexMap.end())
      return false;
    for (int i = it->second; i < FKamokuCount && FKAMOKUREC[i].KAMOKU.USERCODE == AUC_KCODE; ++i) {
      const TKamokuRec& r = FKAMOKUREC[i];
      if (!SameSqlText(r.HOJO.HCODE, hcode))
        continue;
      if (!ABCODE.isEmpty() && !SameSqlText(r.BUMON.BCODE, ABCODE))
        continue;
      FKMKREC.BUMON = r.BUMON;
      FKMKREC.KAMOKU = r.KAMOKU;
      FKMKREC.HOJO = r.HOJO;
      FKMKREC.SISETU.SNAME = FKamokuListSNAME;
      return true;
    }
    return false;
  }

  try {
    BeginOwn();
    const bool rates = WithRateKinds();
    QString sql = KamokuColumns(false);
    if (rates)
      sql += QStringLiteral(",KM.ZEIRITUKBN,HM.ZEIRITUKBN AS H_ZEIRITUKBN");
    sql += QStringLiteral(
        "\nFROM KAMOKU_SZ SZ\n"
        "INNER JOIN SISETUMST SI ON (SZ.SCODE = SI.SCODE)\n"
        "INNER JOIN BUMONMST  BU ON (SZ.BCODE = BU.BCODE)\n"
        "INNER JOIN KAMOKUMST KM ON (SZ.KCODE = KM.KCODE)\n"
        "INNER JOIN HOJOMST   HM ON (SZ.KCODE = HM.KCODE AND SZ.HCODE=HM.HCODE)\n");
    sql +=
        ABCODE.isEmpty()
            ? QStringLiteral("WHERE SZ.SCODE=:SCODE AND KM.USERCODE=:USERCODE AND SZ.HCODE=:HCODE")
            : QStringLiteral("WHERE SZ.SCODE=:SCODE AND KM.USERCODE=:USERCODE AND SZ.HCODE=:HCODE AND SZ.BCODE=:BCODE");
    db::Query& q = Sql(sql);
    q.setParam(QStringLiteral("SCODE"), ASCODE);
    q.setParam(QStringLiteral("USERCODE"), AUC_KCODE);
    q.setParam(QStringLiteral("HCODE"), hcode);
    if (!ABCODE.isEmpty())
      q.setParam(QStringLiteral("BCODE"), ABCODE);
    q.open();
    bool found = false;
    if (!q.eof()) {
      TKamokuRec r;
      FillKamokuRec(r, q, rates);
      FKMKREC.SISETU.SNAME = q.field(4).asString();
      FKMKREC.BUMON = r.BUMON;
      FKMKREC.KAMOKU = r.KAMOKU;
      FKMKREC.HOJO = r.HOJO;
      found = true;
    }
    q.close();
    CommitOwn();
    return found;
  } catch (...) {
    RollbackOwn();
    throw;
  }
}

TNeedItem TSiwakeWrite::GetStatusHojoOrBumon(const QString& ASCODE, const QString& AUC_KCODE)
{
  try {
    BeginOwn();
    const QString sql = ASCODE.isEmpty() ? QStringLiteral(
                                               "SELECT SCODE,BCODE,KCODE,HCODE FROM KAMOKU_VIEW\n"
                                               "WHERE USERCODE=:USERCODE")
                                         : QStringLiteral(
                                               "SELECT SCODE,BCODE,KCODE,HCODE FROM KAMOKU_VIEW\n"
                                               "WHERE SCODE=:SCODE AND USERCODE=:USERCODE");
    db::Query& q = Sql(sql);
    if (!ASCODE.isEmpty())
      q.setParam(QStringLiteral("SCODE"), ASCODE);
    q.setParam(QStringLiteral("USERCODE"), AUC_KCODE);
    bool hojo = false, bumon = false;
    for (q.open(); !q.eof(); q.next()) {
      if (!BlankCode(q.field(QStringLiteral("HCODE")).asString()))
        hojo = true;
      if (!BlankCode(q.field(QStringLiteral("BCODE")).asString()))
        bumon = true;
    }
    q.close();
    CommitOwn();
    if (hojo && bumon)
      return niHojoBumon;
    return hojo ? niHojo : bumon ? niBumon : niNone;
  } catch (const db::DbError& e) {
    fnShowFbError(e, QStringLiteral("TSiwakeWrite.GetStatusHojoOrBumon"), QString(), true);
    RollbackOwn();
    throw;
  } catch (...) {
    RollbackOwn();
    throw;
  }
}

bool TSiwakeWrite::IsHojo(const QString& ASCODE, const QString& AUC_KCODE, const QString& AHCODE,
                          const QList<TKamokuViewCondition>& AWhere)
{
  try {
    BeginOwn();
    QString sql = QStringLiteral(
        "SELECT COUNT(SCODE) AS RECCNT FROM KAMOKU_VIEW\n"
        "WHERE (SCODE=:SCODE AND USERCODE=:USERCODE AND HCODE=:HCODE)\n"
        "AND (HCODE<>' ')");
    // The extra condition: column names checked, values bound.
    for (int i = 0; i < AWhere.size(); ++i) {
      pcRequirePlainIdentifier(AWhere[i].first);
      sql += QStringLiteral("\nAND (%1=:XW%2)").arg(AWhere[i].first).arg(i);
    }
    db::Query& q = Sql(sql);
    q.setParam(QStringLiteral("SCODE"), ASCODE);
    q.setParam(QStringLiteral("USERCODE"), AUC_KCODE);
    q.setParam(QStringLiteral("HCODE"), AHCODE);
    for (int i = 0; i < AWhere.size(); ++i) {
      const QVariant& v = AWhere[i].second;
      const QString name = QStringLiteral("XW%1").arg(i);
      if (v.isNull())
        q.setParamNull(name);
      else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong)
        q.setParam(name, v.toLongLong());
      else
        q.setParam(name, v.toString());
    }
    q.open();
    const bool found = !q.eof() && q.field(QStringLiteral("RECCNT")).asInt() > 0;
    q.close();
    CommitOwn();
    return found;
  } catch (...) {
    RollbackOwn();
    throw;
  }
}

bool TSiwakeWrite::IsBumon(const QString& ASCODE, const QString& AUC_KCODE, const QString& ABCODE)
{
  try {
    BeginOwn();
    db::Query& q =
        Sql(QStringLiteral("SELECT COUNT(SCODE) AS RECCNT FROM KAMOKU_VIEW\n"
                           "WHERE (SCODE=:SCODE AND USERCODE=:USERCODE AND BCODE=:BCODE)\n"
                           "AND (BCODE<>' ')"));
    q.setParam(QStringLiteral("SCODE"), ASCODE);
    q.setParam(QStringLiteral("USERCODE"), AUC_KCODE);
    q.setParam(QStringLiteral("BCODE"), ABCODE);
    q.open();
    const bool found = !q.eof() && q.field(QStringLiteral("RECCNT")).asInt() > 0;
    q.close();
    CommitOwn();
    return found;
  } catch (...) {
    RollbackOwn();
    throw;
  }
}

// ---------------------------------------------------------------------------
// Individual costs

bool TSiwakeWrite::GetKobetuGenkaList()
{
  FKobetuGenkaList.clear();
  FKobetuGenkaCount = 0;
  FKobetuGenkaIndex = 0;
  if (AccInf.KobetuGenka_Use == 0) {
    FTransStart = false;
    return false;
  }
  try {
    BeginOwn();
    db::Query& c = Sql(QStringLiteral("SELECT COUNT(KOBETUCODESTR) AS RECCNT FROM KOBETU"));
    c.open();
    const int count = c.eof() ? 0 : c.field(QStringLiteral("RECCNT")).asInt();
    c.close();
    FKobetuGenkaList.reserve(count);
    db::Query& q =
        Sql(QStringLiteral("SELECT KOBETUCODESTR,KOBETUNAME FROM KOBETU\n"
                           "ORDER BY KOBETUCODESTR"));
    for (q.open(); !q.eof(); q.next())
      FKobetuGenkaList.push_back(
          {q.field(QStringLiteral("KOBETUCODESTR")).asString(), q.field(QStringLiteral("KOBETUNAME")).asString()});
    q.close();
    FKobetuGenkaCount = int(FKobetuGenkaList.size());
    CommitOwn();
    return true;
  } catch (const db::DbError& e) {
    fnShowFbError(e, QStringLiteral("TSiwakeWrite.GetKobetuGenkaList"), QString(), true);
    RollbackOwn();
    throw;
  } catch (...) {
    RollbackOwn();
    throw;
  }
}

bool TSiwakeWrite::IsKobetuGenkaCode(const QString& AKobetuGenkaCode)
{
  for (int i = 0; i < FKobetuGenkaCount; ++i) {
    if (FKobetuGenkaList[i].Key == AKobetuGenkaCode) {
      FKobetuGenkaIndex = i;
      return true;
    }
  }
  return false;
}

TComListRec_s TSiwakeWrite::GetKobetuGenkaRec(int AIndex) const
{
  if (AIndex < 0 || AIndex >= FKobetuGenkaCount)
    return TComListRec_s();
  return FKobetuGenkaList[AIndex];
}

bool TSiwakeWrite::IsYuukoKobetuGenkaSiwake(TSWKREC& ASWKREC) const
{
  if (AccInf.KobetuGenka_Use == 0 || ASWKREC.SNUM == 0)
    return true;
  const QString low = (EditionKind == 1 || EditionKind == 2) ? QStringLiteral("5510") : QStringLiteral("4100");
  const QString high = QStringLiteral("5880");
  auto inRange = [&](const QString& g) { return g >= low && g <= high; };
  if (inRange(ASWKREC.LK.KGROUP) || inRange(ASWKREC.RK.KGROUP))
    return true;
  ASWKREC.SNUM = 0;
  return false;
}

// ---------------------------------------------------------------------------
// Switches and rate kinds

void TSiwakeWrite::InitSiwakeTestItem(TSiwakeTestItem& AItemRec)
{
  AItemRec = TSiwakeTestItem();
}

void TSiwakeWrite::SetMasterZeirituKbn(TSWKREC& ASWKREC, TDateTime ABaseHizuke, int ALRKbn, const QString& ASerchKbn)
{
  TSwkBalance& side = ALRKbn == 2 ? ASWKREC.RK : ASWKREC.LK;
  side.ZEIRITUKBN = fnGetZeirituKbnByDate(side.ZEIRITUKBN, ABaseHizuke);
  const QString hcode = ASerchKbn == QStringLiteral("KAMOKU") ? QString() : side.HCODE;
  if (GetFindKamoku(side.KCODE, hcode, QString()))
    side.ZEIRITUKBN = fnGetZeirituKbnByDate(FKAMOKUREC[FKamokuIndex].HOJO.ZEIRITUKBN, ABaseHizuke);
  ASWKREC.OLDRATE = side.ZEIRITUKBN;
  side.RIT = fnGetZeiritu(side.ZEIRITUKBN, ABaseHizuke);
  if (fnGetKariukeKaribaraiKbn(side.TAXCODE) == 0)
    side.RIT = Currency();
}

void TSiwakeWrite::SetMasterZeirituKbn(TInSWKREC& AInSWKREC, TDateTime ABaseHizuke, int ALRKbn,
                                       const QString& ASerchKbn)
{
  const int i = ALRKbn == 2 ? 1 : 0;
  int kbn = fnGetZeirituKbnByDate(AInSWKREC.OldRate[i], ABaseHizuke);
  const QString hcode = ASerchKbn == QStringLiteral("KAMOKU") ? QString() : AInSWKREC.HCODE[i];
  if (GetFindKamoku(AInSWKREC.KCODE[i], hcode, QString()))
    kbn = fnGetZeirituKbnByDate(FKAMOKUREC[FKamokuIndex].HOJO.ZEIRITUKBN, ABaseHizuke);
  AInSWKREC.OldRate[i] = kbn;
  AInSWKREC.ZEIRITU[i] = fnGetZeiritu(kbn, ABaseHizuke);
  if (fnGetKariukeKaribaraiKbn(AInSWKREC.TCODE[i]) == 0)
    AInSWKREC.ZEIRITU[i] = Currency();
}

// ---------------------------------------------------------------------------
// The check

int TSiwakeWrite::SideRowCount(const QString& ASCODE, const QString& AUC_KCODE, bool AWithoutBumon)
{
  if (FKamokuListLoaded && FKamokuListSCODE == ASCODE) {
    int n = 0;
    const auto it = FKamokuIndexMap.find(AUC_KCODE);
    if (it == FKamokuIndexMap.end())
      return 0;
    for (int i = it->second; i < FKamokuCount && FKAMOKUREC[i].KAMOKU.USERCODE == AUC_KCODE; ++i) {
      const bool noBumon = SqlText(FKAMOKUREC[i].BUMON.BCODE).isEmpty();
      const bool noHojo = SqlText(FKAMOKUREC[i].HOJO.HCODE).isEmpty();
      if (AWithoutBumon ? noBumon : (noHojo && !noBumon))
        ++n;
    }
    return n;
  }
  db::Query& q =
      Sql(AWithoutBumon ? QStringLiteral("SELECT COUNT(K.SCODE) FROM KAMOKU_SZ K\n"
                                         "INNER JOIN KAMOKUMST KM ON (K.KCODE=KM.KCODE)\n"
                                         "WHERE (K.SCODE=:SCODE) AND (KM.USERCODE=:USERCODE) AND (K.BCODE=' ')")
                        : QStringLiteral("SELECT COUNT(K.SCODE) FROM KAMOKU_SZ K\n"
                                         "INNER JOIN KAMOKUMST KM ON (K.KCODE=KM.KCODE)\n"
                                         "WHERE (K.SCODE=:SCODE) AND (KM.USERCODE=:USERCODE) AND (K.HCODE=' ') AND "
                                         "(K.BCODE<>' ')"));
  q.setParam(QStringLiteral("SCODE"), ASCODE);
  q.setParam(QStringLiteral("USERCODE"), AUC_KCODE);
  q.open();
  const int n = q.eof() ? 0 : q.field(0).asInt();
  q.close();
  return n;
}

bool TSiwakeWrite::CheckSide(TSWKREC& E, const TSWKREC& Stored, bool ACredit, int& AErrNo, QString& AErrMsg)
{
  TSwkBalance& s = ACredit ? E.RK : E.LK;
  const TSwkBalance& old = ACredit ? Stored.RK : Stored.LK;
  TSwkBalance& other = ACredit ? E.LK : E.RK;
  const int base = ACredit ? 20 : 10;
  if (FSiwakeTestItem.Kamoku) {
    if (!GetKamokuRec(E.SCODE, s.BCODE, s.HCODE, s.KCODE)) {
      AErrNo = base + 1;
      AErrMsg = Msg(ACredit ? mRKamoku : mLKamoku);
      return false;
    }
    s.KGROUP = FKMKREC.KAMOKU.GROUPM1;
    s.SIKIN = ACredit ? FKMKREC.KAMOKU.FUN_RCODE : FKMKREC.KAMOKU.FUN_LCODE;
    const QString newH = FKMKREC.HOJO.HCODE;
    const QString newB = FKMKREC.BUMON.BCODE;
    if (E.REC == 0) {
      s.KNAME = FKMKREC.KAMOKU.KNAME;
      s.HNAME = FKMKREC.HOJO.HNAME;
      s.BNAME = FKMKREC.BUMON.BNAME;
    } else {
      if (s.KNAME != old.KNAME || s.KCODE != old.KCODE)
        s.KNAME = FKMKREC.KAMOKU.KNAME;
      if (s.HNAME != old.HNAME || s.KCODE != old.KCODE || newH != old.HCODE)
        s.HNAME = FKMKREC.HOJO.HNAME;
      if (s.BNAME != old.BNAME || newB != old.BCODE)
        s.BNAME = FKMKREC.BUMON.BNAME;
    }
    s.HCODE = newH;
    s.BCODE = newB;
    if (SideRowCount(E.SCODE, s.KCODE, true) > 1 && fnTrim(s.HCODE).isEmpty()) {
      AErrNo = base + 1;
      AErrMsg = Msg(ACredit ? mRHojo : mLHojo);
      return false;
    }
    if (SideRowCount(E.SCODE, s.KCODE, false) > 0 && fnTrim(s.BCODE).isEmpty()) {
      AErrNo = base + 1;
      AErrMsg = Msg(ACredit ? mRBumon : mLBumon);
      return false;
    }
  }
  if (FSiwakeTestItem.TaxKbn) {
    fnConvTaxCodeKanni(s.TAXCODE);
    QString gname, tname, msg;
    int sinkoku = 0;
    if (!fnGetTaxKbn(s.TAXCODE, gname, tname, sinkoku, s.TAXUH, s.TAXDC)) {
      AErrNo = base + 2;
      AErrMsg = Msg(ACredit ? mRTax : mLTax);
      return false;
    }
    if (!fnCheckTaxCodeKamoku(msg, s.KCODE, s.TAXCODE)) {
      AErrNo = base + 3;
      AErrMsg = msg;
      return false;
    }
    if (!fnCheckAiteTaxCode(msg, s.KCODE, other.TAXCODE)) {
      AErrNo = base + 4;
      AErrMsg = msg;
      return false;
    }
    if (!fnCheckSyokutiTaxCode(msg, s.KCODE, s.TAXCODE)) {
      AErrNo = base + 5;
      AErrMsg = msg;
      return false;
    }
    if (!fnCheckTokuteiShiire(msg, s.TAXCODE, E.OLDRATE, E.HIZUKE)) {
      AErrNo = base + 6;
      AErrMsg = msg;
      return false;
    }
  }
  return true;
}

bool TSiwakeWrite::TestSiwake(TSWKREC& ASWKREC, int& AErrNo, QString& AErrMsg)
{
  TSWKREC& E = ASWKREC;
  AErrNo = 0;
  AErrMsg.clear();
  try {
    BeginOwn();
    TSWKREC stored;
    if (E.REC != 0) {
      db::Query& q = Sql(QStringLiteral(
          "SELECT KCODE,USERCODE,HCODE,BCODE,KNAME,HNAME,BNAME,R_KCODE,R_USERCODE,R_HCODE,R_BCODE,R_KNAME,R_HNAME,"
          "R_BNAME FROM SIWAKE_VIEW\n"
          "WHERE REC=:REC"));
      q.setParam(QStringLiteral("REC"), E.REC);
      q.open();
      if (!q.eof()) {
        stored.LK.KCODE = q.field(QStringLiteral("USERCODE")).asString();
        stored.LK.HCODE = q.field(QStringLiteral("HCODE")).asString();
        stored.LK.BCODE = q.field(QStringLiteral("BCODE")).asString();
        stored.LK.KNAME = q.field(QStringLiteral("KNAME")).asString();
        stored.LK.HNAME = q.field(QStringLiteral("HNAME")).asString();
        stored.LK.BNAME = q.field(QStringLiteral("BNAME")).asString();
        stored.RK.KCODE = q.field(QStringLiteral("R_USERCODE")).asString();
        stored.RK.HCODE = q.field(QStringLiteral("R_HCODE")).asString();
        stored.RK.BCODE = q.field(QStringLiteral("R_BCODE")).asString();
        stored.RK.KNAME = q.field(QStringLiteral("R_KNAME")).asString();
        stored.RK.HNAME = q.field(QStringLiteral("R_HNAME")).asString();
        stored.RK.BNAME = q.field(QStringLiteral("R_BNAME")).asString();
      }
      q.close();
    }

    auto fail = [&](int no, const QString& msg) {
      AErrNo = no;
      AErrMsg = msg;
      CommitOwn();
      return false;
    };

    // Period of the date.
    int kikan = fnKikanNo(AccInf.SIME, E.KESSAN, AccInf.KISHU, AccInf.KIMATU, E.HIZUKE);
    if (SystemDef.ACCTIME > 0) {
      if (kikan > 0)
        kikan += 16;
    } else if (E.KESSAN == 1 && DayNo(E.HIZUKE) == DayNo(AccInf.KIMATU)) {
      kikan = 16;
    }
    if (kikan == -1 || DayNo(E.HIZUKE) < DayNo(AccInf.KAISI) || DayNo(E.HIZUKE) > DayNo(AccInf.KIMATU))
      return fail(1, Msg(mHizuke));
    E.MNUM = kikan;

    if (AccInf.KANSA_LOCK == 1) {
      if (E.CTIME > 0 && !(SystemDef.OPAccount || SystemDef.OPLevel == 9))
        return fail(2, Msg(mKansaSiwake));
      if (DM && DM->IsKansaZumiHizuke(E.HIZUKE, E.KESSAN))
        return fail(3, Msg(mKansaHizuke));
    }
    if (FSiwakeTestItem.Syounin && E.SYOUNIN_HIZUKE > 0)
      return fail(40, Msg(mSyounin));
    if (AccInf.KobetuGenka_Use != 0 && FSiwakeTestItem.KobetuGenka && E.SNUM != 0) {
      const int len = AccKobetuGenkaCodeLength[std::size_t(AccInf.KobetuGenkaLenMode) % 4];
      if (!IsKobetuGenkaCode(fnZeroPadLeft(QString::number(E.SNUM), len))) {
        QString m = Msg(mKobetu);
        if (!AccInf.KobetuGenkaAlias.isEmpty())
          m.replace(QStringLiteral("個別原価"), AccInf.KobetuGenkaAlias);
        return fail(4, m);
      }
    }
    if (AccInf.SITEN_KANRI == 1 && fnTrim(E.SCODE).isEmpty()) {
      QString m = Msg(mSiten);
      if (AccInf.DATATYPE == 3)
        m.replace(QStringLiteral("本・支店"), QStringLiteral("施設"));
      return fail(5, m);
    }
    int no = 0;
    QString msg;
    if (!CheckSide(E, stored, false, no, msg) || !CheckSide(E, stored, true, no, msg))
      return fail(no, msg);
    if (E.LK.RIT > Currency() && E.RK.RIT > Currency() && E.LK.ZEIRITUKBN != E.RK.ZEIRITUKBN)
      return fail(41, Msg(mRitu));
    if (!fnCheckKoujoRitu(E.LK.TAXCODE, E.RK.TAXCODE))
      return fail(42, Msg(mKoujo));
    if (E.LK.RIT == Currency() && E.RK.RIT == Currency())
      E.OLDRATE = fnGetZeirituKbnByDate(E.OLDRATE, E.HIZUKE);
    if (FSiwakeTestItem.Kingaku) {
      if (E.KINGAKU < Currency::fromInt(1))
        return fail(31, Msg(E.KINGAKU < Currency() ? mMinus : mKingaku));
      if (E.KINGAKU > Currency::fromInt(9999999999LL))
        return fail(31, Msg(mOver));
    }
    if (FSiwakeTestItem.Tekiyo) {
      E.TEKTEXT = fnRemoveTabCrLf(E.TEKTEXT);
      E.TORTEXT = fnRemoveTabCrLf(E.TORTEXT);
    }
    CommitOwn();
    return true;
  } catch (const db::DbError& e) {
    fnShowFbError(e, QStringLiteral("TSiwakeWrite.TestSiwake"), QString(), true);
    RollbackOwn();
    throw;
  } catch (...) {
    RollbackOwn();
    throw;
  }
}
