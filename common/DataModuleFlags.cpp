// Small answers about the open company data and the running installation:
// cloud share, read-only access, the audit lock, journal kinds, voucher
// titles, account-use marks, medical business kinds and the partner
// edition's default codes.
#include "common/AccFunction.h"
#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "platform/AppError.h"

namespace {

// Runs a counting statement on the company database through AQuery; the
// first row's RECCNT. Throws on a database error.
int countRows(db::Transaction& ATr, const QString& ASql, const std::function<void(db::Query&)>& ABind = {})
{
  TOwnTransaction own(ATr);
  db::Query q(ATr);
  q.setSql(ASql);
  if (ABind)
    ABind(q);
  q.open();
  const int count = q.eof() ? 0 : q.field(QStringLiteral("RECCNT")).asInt();
  q.close();
  own.Commit();
  return count;
}

}  // namespace

// ---------------------------------------------------------------- installation and data

bool TDM::IsCloudShare(bool AVestimar_StartControl)
{
  if (OemEdition != 0)
    return false;
  if (SystemKind != 0 && SystemKind != 2)
    return false;
  if (AppType == jxatSBC)
    return false;
  if (AVestimar_StartControl && SystemKind == 2)
    return false;
  return true;
}

bool TDM::IsCloudShare(const TACCINF& AACCINF, bool AVestimar_StartControl)
{
  if (!IsCloudShare(AVestimar_StartControl))
    return false;
  return AACCINF.GassanDataKbn == 0 && AACCINF.CLOUD_LINE != 0;
}

int TDM::GetDataAccessKbn()
{
  if (SystemKind == 1 || SystemKind == 2)
    return 1;
  return AccInf.Read_Only == 1 ? 1 : 0;
}

bool TDM::IsKansaZumiHizuke(TDateTime AHizuke, int AKessan)
{
  if (AHizuke == 0 || AccInf.KANSA_DATE == 0 || AccInf.KANSA_FIXDATE == 0 || AccInf.KANSA_LOCK == 0)
    return false;
  if ((SystemDef.OPAccount || SystemDef.OPLevel == 9) && SystemKind != 3)
    return false;
  if (AccInf.KANSA_FIXKessanSiwake)
    return AHizuke <= AccInf.KANSA_FIXDATE;
  // On the fixed date itself an ordinary entry is closed, a closing entry not.
  return AHizuke < AccInf.KANSA_FIXDATE || (AHizuke == AccInf.KANSA_FIXDATE && AKessan == 0);
}

// ---------------------------------------------------------------- journal flags

bool TDM::IsFurikaeSiwake()
{
  try {
    return countRows(IBTransactionDAT,
                     QStringLiteral("SELECT COUNT(REC) AS RECCNT FROM SIWAKE_VIEW WHERE (LINKKUB IN ") +
                         QStringLiteral("(%1,%2,%3)").arg(12).arg(13).arg(14) + QStringLiteral(")")) > 0;
  } catch (...) {
    pcLogDroppedError("TDM.IsFurikaeSiwake");
    return false;
  }
}

bool TDM::IsSyouninZumiSiwake(const QString& AJyoken)
{
  // AJyoken is a condition written by the calling code, never typed text.
  QString sql =
      QStringLiteral("SELECT COUNT(REC) AS RECCNT FROM SIWAKE_VIEW WHERE (DELFLG=0) AND (SHONIN_HIZUKE IS NOT NULL)");
  if (!AJyoken.isEmpty())
    sql += QStringLiteral(" AND ") + AJyoken;
  try {
    return countRows(IBTransactionDAT, sql) > 0;
  } catch (...) {
    pcLogDroppedError("TDM.IsSyouninZumiSiwake");
    return false;
  }
}

bool TDM::IsSyokuchiHojoAri()
{
  try {
    TOwnTransaction own(IBTransactionDAT);
    db::Query q(IBTransactionDAT);
    q.setSql(QStringLiteral("SELECT HOJOSW FROM KAMOKUMST WHERE KCODE=:KCODE"));
    q.setParam(QStringLiteral("KCODE"), AccInf.SHOKUTI);
    q.open();
    const bool result = !q.eof() && q.field(QStringLiteral("HOJOSW")).asString() == QStringLiteral(u"○");
    q.close();
    own.Commit();
    return result;
  } catch (...) {
    pcLogDroppedError("TDM.IsSyokuchiHojoAri");
    return false;
  }
}

bool TDM::IsKimatuZeinukiSeiseiZumi(int AType, int ASiwakeTable)
{
  static const char* const kViews[] = {"SIWAKE_VIEW", "KAKOSIWAKE1_VIEW", "KAKOSIWAKE2_VIEW"};
  if (ASiwakeTable < 0 || ASiwakeTable > 2)
    return false;
  QString sql = QStringLiteral("SELECT COUNT(SWKREC) AS RECCNT FROM ") + QString::fromLatin1(kViews[ASiwakeTable]) +
                QStringLiteral(" WHERE (DELFLG=0) AND (TAISHAKU=1) AND (LINKKUB=:LINKKUB)");
  if (AType == 1)
    sql += QStringLiteral(" AND (MNUM=16)");
  try {
    return countRows(IBTransactionDAT, sql, [](db::Query& q) { q.setParam(QStringLiteral("LINKKUB"), 9); }) >= 1;
  } catch (...) {
    pcLogDroppedError("TDM.IsKimatuZeinukiSeiseiZumi");
    return false;
  }
}

int TDM::GetSyuukeiZeikbn(int AZeikbn, int, int)
{
  return AZeikbn;
}

int TDM::GetOutputZeikbn(int AZeikbn, int, int)
{
  return AZeikbn;
}

int TDM::GetOutputZeikbn_TaxSinkokusyo(int AZeikbn, int AType, int ASiwakeTable)
{
  if (AZeikbn == 0 && IsKimatuZeinukiSeiseiZumi(AType, ASiwakeTable))
    return 1;
  return AZeikbn;
}

// ---------------------------------------------------------------- maintenance

bool TDM::UpdateSiwakeNippouLinkKey(const QString& AOLDBCODE, const QString& ANEWBCODE)
{
  const QString oldCode = AOLDBCODE.trimmed();
  const QString newCode = ANEWBCODE.trimmed();
  if (oldCode == newCode)
    return true;
  const QString oldKey = oldCode + QLatin1Char(';');
  const QString newKey = newCode + QLatin1Char(';');
  TOwnTransaction own(IBTransactionDAT);
  try {
    // The old code is bound, and matched as a prefix: a code holding "%"
    // or "_" matches only itself.
    QList<QPair<int, QString>> rows;
    {
      db::Query q(IBTransactionDAT);
      q.setSql(
          QStringLiteral("SELECT SWKREC,LINKKEY FROM SIWAKE_VIEW WHERE (TAISHAKU=1) AND (LINKKUB=7) "
                         "AND (LINKKEY STARTING WITH :OLDKEY) ORDER BY SWKREC"));
      q.setParam(QStringLiteral("OLDKEY"), oldKey);
      for (q.open(); !q.eof(); q.next())
        rows.append({q.field(QStringLiteral("SWKREC")).asInt(), q.field(QStringLiteral("LINKKEY")).asString()});
      q.close();
    }
    db::Query upd(IBTransactionDAT);
    upd.setSql(QStringLiteral("UPDATE SIWAKE2 SET LINKKEY=:LINKKEY WHERE (SWKREC=:SWKREC)"));
    for (const auto& [swkrec, linkKey] : rows) {
      QString key = linkKey;
      key.replace(oldKey, newKey);
      upd.setParam(QStringLiteral("LINKKEY"), key);
      upd.setParam(QStringLiteral("SWKREC"), swkrec);
      upd.exec();
    }
    own.Commit();
    return true;
  } catch (...) {
    pcLogDroppedError("TDM.UpdateSiwakeNippouLinkKey");
    own.Rollback();
    return false;
  }
}

bool TDM::IsOpenLimitDialog_ConnectData(int AType)
{
  if (AType != 1 || AppType == jxatSA)
    return true;
  bool result = true;
  try {
    TOwnTransaction own(IBTransactionDAT);
    db::Query q(IBTransactionDAT);
    q.setSql(
        QStringLiteral("SELECT COUNT(OPCODE) AS RECCNT FROM OPINF WHERE (OPCODE<>:OPCODE) "
                       "AND ((JOBNAME=:JOBNAME1)OR(JOBNAME=:JOBNAME2))"));
    q.setParam(QStringLiteral("OPCODE"), SystemDef.OPCODE);
    q.setParam(QStringLiteral("JOBNAME1"), QStringLiteral(u"翌年度更新"));
    q.setParam(QStringLiteral("JOBNAME2"), QStringLiteral(u"繰越残高調整"));
    q.open();
    result = q.eof() || q.field(QStringLiteral("RECCNT")).asInt() == 0;
    q.close();
    own.Commit();
  } catch (...) {
    pcLogDroppedError("TDM.IsOpenLimitDialog_ConnectData");
    // Before the count: open; after it: the answer found.
  }
  return result;
}

bool TDM::DeleteOpInf()
{
  TOwnTransaction own(IBTransactionDAT);
  db::Query q(IBTransactionDAT);
  q.setSql(QStringLiteral("DELETE FROM OPINF"));
  q.exec();
  own.Commit();
  return true;
}

// ---------------------------------------------------------------- labels

QString TDM::GetShouhyouTitle(int AOutKbn)
{
  int index = 0;
  switch (AOutKbn) {
    case 0:
    case 2:
      index = SystemDef.SyohyoKirikae;
      if (index == 0 && AccInf.KobetuGenka_Use == 1)
        index = 2;
      break;
    case 1:
    case 3:
      index = AccInf.KobetuGenka_Use == 1 ? 2 : 0;
      break;
    default:
      index = 0;
  }
  const QString alias = AccInf.KobetuGenkaAlias;
  QStringList titles;
  switch (AOutKbn) {
    case 2:
      titles = {QStringLiteral(u"証　憑"), QStringLiteral(u"仕訳番号"),
                (alias.mid(0, 2) + QChar(0x3000) + alias.mid(2, 2)).trimmed()};
      break;
    case 3:
      titles = {QStringLiteral(u"証憑番号"), QStringLiteral(u"仕訳番号"), alias};
      break;
    default:
      titles = {QStringLiteral(u"証憑"), QStringLiteral(u"仕訳番号"), fnCutStrL(alias, 4, false)};
  }
  return index >= 0 && index < titles.size() ? titles[index] : QString();
}

QString TDM::GetKamokuUseKbnHyoukimei(int AValue)
{
  if (AccInf.ZaimuDataType == jxztCuravia) {
    const QChar dash(0xFF0D);  // －
    QString text;
    text += (AValue & 8) ? QChar(0x75C5) : dash;  // 病
    text += (AValue & 4) ? QChar(0x8001) : dash;  // 老
    text += (AValue & 2) ? QChar(0x8A2A) : dash;  // 訪
    text += (AValue & 1) ? QChar(0x4ED6) : dash;  // 他
    return text;
  }
  return AValue == 1 ? QStringLiteral(u"○") : QString();
}

bool TDM::IsGenkaKeisanBCODE(const QString& ABCODE)
{
  if (ABCODE.size() != 2 || !ABCODE.at(0).isDigit() || !ABCODE.at(1).isDigit())
    return false;
  const int code = ABCODE.toInt();
  return code >= 80 && code <= 99;
}

bool TDM::IsJimushoNamePrintItem(int AValue)
{
  if (SystemDef.JimushoPrint != 1 || AValue < 1)
    return false;
  if (AValue <= 8)
    return (SystemDef.JimushoPrintItem >> (AValue - 1)) & 1;
  if (AValue - 9 >= 31)
    return false;
  return (SystemDef.JimushoPrintItem02 >> (AValue - 9)) & 1;
}

int TDM::GetIryoHojin_JigyoKbn(const QString& AJigyomei)
{
  if (AJigyomei == QStringLiteral(u"病院") || AJigyomei == QStringLiteral(u"診療所"))
    return 8;
  if (AJigyomei == QStringLiteral(u"老健"))
    return 4;
  if (AJigyomei == QStringLiteral(u"訪問看護"))
    return 2;
  if (AJigyomei == QStringLiteral(u"その他"))
    return 1;
  return -1;
}

bool TDM::fnIsIryoHojinType(const QString& AText)
{
  return AText == QStringLiteral(u"医療法人") || AText == QStringLiteral(u"個人(クリニック)");
}

QString TDM::TolvaneDefaultHCode()
{
  if (OemEdition != 1 && OemEdition != 2)
    return QString();
  return AccInf.HCodeLenMode == jxkcLen3 ? QStringLiteral("999") : QStringLiteral("9999");
}

QString TDM::TolvaneDefaultBCode()
{
  return OemEdition == 1 || OemEdition == 2 ? QStringLiteral("00") : QString();
}
