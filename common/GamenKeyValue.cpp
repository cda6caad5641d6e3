#include "common/GamenKeyValue.h"

#include "common/AccFunction.h"
#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/FbError.h"
#include "db/DbError.h"

namespace {

const QString kPrefix = QStringLiteral("020-");

// Runs AWork in the store's transaction; errors are reported as described
// in the header and never passed on. Answers whether AWork finished.
template <typename Work>
bool guarded(db::Transaction& ATr, const QString& AStep, const QString& AMessage, Work&& AWork)
{
  // Errors are the caller's business while the caller's transaction is open.
  const bool ours = !ATr.inTransaction();
  try {
    TOwnTransaction own(ATr);
    AWork();
    own.Commit();
    return true;
  } catch (const db::DbError& E) {
    if (ours)
      fnShowFbError(E, AStep, AMessage, false);
  } catch (const std::exception& E) {
    if (ours)
      fnShowErrorDetail(AMessage, QString::fromUtf8(E.what()), mtError);
  }
  return false;
}

}  // namespace

void pcStoreStyleColorText(db::Transaction& ATransaction, int AOPCODE, const QString& AKey, const QString& AText)
{
  TStyleColorColumns none;
  none.fill(-1);
  pcStoreStyleColorRow(ATransaction, AOPCODE, AKey, none, AText);
}

void pcStoreStyleColorRow(db::Transaction& ATransaction, int AOPCODE, const QString& AKey,
                          const TStyleColorColumns& AColors, const QString& AText)
{
  db::Query q(ATransaction);
  q.setSql(
      QStringLiteral("SELECT COUNT(OPCODE) AS RECCNT FROM STYLECOLOR WHERE OPCODE=:OPCODE AND STYLENAME=:STYLENAME"));
  q.setParam(QStringLiteral("OPCODE"), AOPCODE);
  q.setParam(QStringLiteral("STYLENAME"), AKey);
  q.open();
  const int count = q.eof() ? 0 : q.field(QStringLiteral("RECCNT")).asInt();
  q.close();
  if (count != 0)
    q.setSql(QStringLiteral(
        "UPDATE STYLECOLOR SET OPCODE=:OPCODE,STYLENAME=:STYLENAME,LINECOLOR1=:LINECOLOR1,LINECOLOR2=:LINECOLOR2,"
        "LINECOLOR3=:LINECOLOR3,LINECOLOR4=:LINECOLOR4,LINECOLOR5=:LINECOLOR5,NETCOLOR1=:NETCOLOR1,"
        "NETCOLOR2=:NETCOLOR2,SSTR=:SSTR WHERE OPCODE=:OPCODE AND STYLENAME=:STYLENAME"));
  else
    q.setSql(QStringLiteral(
        "INSERT INTO STYLECOLOR(OPCODE,STYLENAME,LINECOLOR1,LINECOLOR2,LINECOLOR3,LINECOLOR4,LINECOLOR5,"
        "NETCOLOR1,NETCOLOR2,SSTR) VALUES(:OPCODE,:STYLENAME,:LINECOLOR1,:LINECOLOR2,:LINECOLOR3,:LINECOLOR4,"
        ":LINECOLOR5,:NETCOLOR1,:NETCOLOR2,:SSTR)"));
  q.setParam(QStringLiteral("OPCODE"), AOPCODE);
  q.setParam(QStringLiteral("STYLENAME"), AKey);
  static const char* const columns[] = {"LINECOLOR1", "LINECOLOR2", "LINECOLOR3", "LINECOLOR4",
                                        "LINECOLOR5", "NETCOLOR1",  "NETCOLOR2"};
  for (std::size_t i = 0; i < AColors.size(); ++i)
    q.setParam(QString::fromLatin1(columns[i]), AColors[i]);
  q.setParam(QStringLiteral("SSTR"), AText);
  q.exec();
}

TGamenKeyValue::TGamenKeyValue(db::Transaction* ATransaction) : FTransaction(ATransaction), FOPCODE(SystemDef.OPCODE) {}

db::Transaction* TGamenKeyValue::transaction() const
{
  if (FTransaction)
    return FTransaction;
  return DM ? &DM->IBTransactionDEF : nullptr;
}

QString TGamenKeyValue::fnKeyName(const QString& AIdentifier)
{
  return fnCutStrL((kPrefix + AIdentifier).toUpper(), 40, false).trimmed();
}

QString TGamenKeyValue::ValueFukugen(const QString& ARecordID)
{
  FItemValue.clear();
  db::Transaction* tr = transaction();
  if (FOPCODE == 0 || ARecordID.isEmpty() || !tr)
    return QString();
  FKeyName = fnKeyName(ARecordID);
  QString value;
  const bool done = guarded(
      *tr, QStringLiteral("TGamenValue.FukugenValue"), QStringLiteral(u"前回の画面値の取得に失敗しました。"), [&] {
        db::Query q(*tr);
        q.setSql(QStringLiteral("SELECT SSTR FROM STYLECOLOR WHERE OPCODE=:OPCODE AND STYLENAME=:STYLENAME"));
        q.setParam(QStringLiteral("OPCODE"), FOPCODE);
        q.setParam(QStringLiteral("STYLENAME"), FKeyName);
        for (q.open(); !q.eof(); q.next())
          value = q.field(QStringLiteral("SSTR")).asString();
        q.close();
      });
  return done ? value : QString();
}

void TGamenKeyValue::ValueHozon(const QString& ARecordID, const QString& AValue)
{
  db::Transaction* tr = transaction();
  if (FOPCODE == 0 || ARecordID.isEmpty() || !tr)
    return;
  FKeyName = fnKeyName(ARecordID);
  QString value = fnTrimZen(AValue);
  if (fnCodePointLength(value) > 1024)
    value = fnCutStrL(value, 1024, false);
  while (value.endsWith(QLatin1Char(' ')))
    value.chop(1);
  while (value.startsWith(QLatin1Char(' ')))
    value.remove(0, 1);
  FItemValue = value;
  guarded(*tr, QStringLiteral("TGamenValue.HozonValue"), QStringLiteral(u"画面値の保存に失敗しました。"),
          [&] { pcStoreStyleColorText(*tr, FOPCODE, FKeyName, FItemValue); });
}

void TGamenKeyValue::ClearRecord()
{
  db::Transaction* tr = transaction();
  if (!tr)
    return;
  guarded(*tr, QStringLiteral("TGamenValue.ClearRecord"), QStringLiteral(u"画面値のレコード削除に失敗しました。"), [&] {
    db::Query q(*tr);
    q.setSql(QStringLiteral("DELETE FROM STYLECOLOR"));
    q.exec();
  });
}
