#include "common/AccReg.h"

#include <QFile>

#include "common/AccFunction.h"
#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/TypedValue.h"
#include "db/DbError.h"
#include "platform/AppError.h"
#include "platform/Format.h"
#include "platform/Paths.h"
#include "platform/SafeSave.h"
#include "platform/TextCodec.h"

namespace {

db::Transaction& companyTransaction()
{
  if (!DM)
    throw db::DbError(QStringLiteral("データモジュールがありません。"));
  return DM->IBTransactionDAT;
}

std::unique_ptr<db::Query> companyQuery()
{
  auto q = fnCreateQuery(QStringLiteral("ACCDAT"), false);
  if (!q)
    throw db::DbError(QStringLiteral("データモジュールがありません。"));
  return q;
}

QVariant readTyped(TTypedStore store, const QString& table, const QString& groupCol, const QString& codeCol,
                   const QString& typeCol, const QString& textCol, const QString& Group, const QString& Code,
                   const QString& TypeWord, const QString& Default, db::Query& q)
{
  q.setSql(QStringLiteral("SELECT %1 FROM %2 WHERE %3=:%3 AND %4=:%4 ").arg(textCol, table, groupCol, codeCol));
  q.setParam(groupCol, Group);
  q.setParam(codeCol, Code);
  q.open();
  QString text;
  if (!q.eof()) {
    text = q.field(textCol).asString();
    q.close();
  } else {
    q.close();
    q.setSql(QStringLiteral("INSERT INTO %1(%2,%3,%4,%5) VALUES(:%2,:%3,:%4,:%5)")
                 .arg(table, groupCol, codeCol, typeCol, textCol));
    q.setParam(groupCol, Group);
    q.setParam(codeCol, Code);
    q.setParam(typeCol, TypeWord);
    q.setParam(textCol, Default);
    q.exec();
    text = Default;
  }
  return fnTypedTextToValue(store, TypeWord, text);
}

QByteArray memoBytes(const QString& text)
{
  QString lines;
  for (const QString& l : fnTextToLines(text))
    lines += l + QLatin1String("\r\n");
  return toCp932(lines);
}

}  // namespace

std::unique_ptr<db::Query> fnCreateQuery(const QString& DbName, bool Second)
{
  if (!DM)
    return nullptr;
  try {
    if (DbName == QLatin1String("ACCDEF"))
      return std::make_unique<db::Query>(DM->IBTransactionDEF);
    return std::make_unique<db::Query>(Second ? DM->IBTransactionDATSS : DM->IBTransactionDAT);
  } catch (...) {
    pcLogDroppedError("fnCreateQuery");
    return nullptr;
  }
}

std::unique_ptr<db::Query> fnCreateIBSQL(const QString& DbName, bool Second)
{
  return fnCreateQuery(DbName, Second);
}

QVariant fnGetAccReg(const QString& Group, const QString& Code, const QString& TypeWord, const QString& Default)
{
  auto q = companyQuery();
  TOwnTransaction tr(companyTransaction());
  const QVariant v =
      readTyped(TTypedStore::AccReg, QStringLiteral("ACCREG"), QStringLiteral("AGROUP"), QStringLiteral("ACODE"),
                QStringLiteral("ATYPE"), QStringLiteral("ATEXT"), Group, Code, TypeWord, Default, *q);
  q.reset();
  tr.Commit();
  return v;
}

void pcSetAccReg(const QString& Group, const QString& Code, const QString& TypeWord, const QVariant& Value)
{
  auto q = companyQuery();
  TOwnTransaction tr(companyTransaction());
  q->setSql(QStringLiteral("SELECT COUNT(AGROUP) AS RECCNT FROM ACCREG WHERE (AGROUP=:AGROUP) AND (ACODE=:ACODE)"));
  q->setParam("AGROUP", Group);
  q->setParam("ACODE", Code);
  q->open();
  const bool exists = q->field("RECCNT").asInt() > 0;
  q->close();
  if (exists) {
    q->setSql(QStringLiteral("UPDATE ACCREG SET ATEXT=:ATEXT WHERE AGROUP=:AGROUP AND ACODE=:ACODE"));
  } else {
    q->setSql(QStringLiteral("INSERT INTO ACCREG(AGROUP,ACODE,ATYPE,ATEXT) VALUES(:AGROUP,:ACODE,:ATYPE,:ATEXT)"));
    q->setParam("ATYPE", TypeWord);
  }
  q->setParam("AGROUP", Group);
  q->setParam("ACODE", Code);
  const QVariant text = fnTypedValueToText(TTypedStore::AccReg, TypeWord, Value);
  if (text.isValid())
    q->setParam("ATEXT", text.toString());
  else
    q->setParamNull("ATEXT");
  q->exec();
  q.reset();
  tr.Commit();
}

void pcDelAccReg(const QString& Group, const QString& Code)
{
  auto q = companyQuery();
  TOwnTransaction tr(companyTransaction());
  q->setSql(QStringLiteral("DELETE FROM ACCREG WHERE (AGROUP=:AGROUP) AND (ACODE=:ACODE)"));
  q->setParam("AGROUP", Group);
  q->setParam("ACODE", Code);
  q->exec();
  q.reset();
  tr.Commit();
}

QVariant fnGetMsdHoukoku(const QString& Group, const QString& Code, const QString& TypeWord, const QString& Default)
{
  auto q = companyQuery();
  db::Transaction& t = companyTransaction();
  if (!t.inTransaction())
    t.start();
  try {
    const QVariant v = readTyped(TTypedStore::MsdHoukoku, QStringLiteral("MSD_HOUKOKU"), QStringLiteral("MDGROUP"),
                                 QStringLiteral("MDCODE"), QStringLiteral("MDTYPE"), QStringLiteral("MDTEXT1"), Group,
                                 Code, TypeWord, Default, *q);
    q.reset();
    if (t.inTransaction())
      t.commit();
    return v;
  } catch (...) {
    q.reset();
    if (t.inTransaction()) {
      try {
        t.rollback();
      } catch (...) {
        pcLogDroppedError("fnGetMsdHoukoku");
      }
    }
    throw;
  }
}

bool fnIsZaidanSyakaiTokutei()
{
  const QString group = QStringLiteral("法人概要");
  const QString zaidan = fnGetAccReg(group, QStringLiteral("財団社団"), TypeWordText, QString()).toString();
  const QString iryo = fnGetAccReg(group, QStringLiteral("医療法人"), TypeWordText, QString()).toString();
  return zaidan == QStringLiteral("財団") || iryo == QStringLiteral("社会") || iryo == QStringLiteral("特定");
}

bool fnIsKikinAri()
{
  return fnGetAccReg(QStringLiteral("法人概要"), QStringLiteral("基金"), TypeWordText, QStringLiteral("無"))
             .toString() == QStringLiteral("有");
}

QVariant fnGetAccRegBlob(const QString& Group, const QString& Key)
{
  auto q = companyQuery();
  TOwnTransaction tr(companyTransaction());
  q->setSql(
      QStringLiteral("SELECT FGROUP,FKEY,FTYPE,FVALUE FROM ACCREG_BLOB_BINARY WHERE FGROUP=:FGROUP AND FKEY=:FKEY"));
  q->setParam("FGROUP", Group);
  q->setParam("FKEY", Key);
  q->open();
  QVariant result;
  if (!q->eof()) {
    const QString kind = q->field("FTYPE").asString();
    const QByteArray bytes = q->field("FVALUE").asBytes();
    if (kind == AccRegBlobPicture || kind == AccRegBlobJpeg) {
      const QString ext = kind == AccRegBlobJpeg ? QStringLiteral(".jpg") : QStringLiteral(".bmp");
      const QString name = PathJoin(
          SystemDef.TEMP, QStringLiteral("accreg-") + FormatDateTime(QStringLiteral("yyyymmddhhnnss"), Now()) + ext);
      ForceDirectories(SystemDef.TEMP);
      try {
        SaveFileSafely(name, bytes);
      } catch (const ESafeSaveError& e) {
        throw db::DbError(e.message());
      }
      result = name;
    } else if (kind == AccRegBlobMemo) {
      QString text;
      for (const QString& l : fnTextToLines(fromCp932(bytes)))
        text += l + QLatin1String("\r\n");
      result = text;
    }
  }
  q->close();
  q.reset();
  tr.Commit();
  return result;
}

void pcSetAccRegBlob(const QString& Group, const QString& Key, const QString& Kind, const QVariant& Value)
{
  QByteArray bytes;
  bool hasValue = false;
  if (Kind == AccRegBlobPicture || Kind == AccRegBlobJpeg) {
    QFile f(Value.toString());
    if (!f.open(QIODevice::ReadOnly))
      throw db::DbError(QStringLiteral("ファイルを読み込めません: %1").arg(Value.toString()));
    bytes = f.readAll();
    hasValue = true;
  } else if (Kind == AccRegBlobMemo) {
    bytes = memoBytes(Value.toString());
    hasValue = true;
  }
  auto q = companyQuery();
  TOwnTransaction tr(companyTransaction());
  q->setSql(
      QStringLiteral("SELECT COUNT(FGROUP) AS RECCNT FROM ACCREG_BLOB_BINARY WHERE (FGROUP=:FGROUP) AND (FKEY=:FKEY)"));
  q->setParam("FGROUP", Group);
  q->setParam("FKEY", Key);
  q->open();
  const bool exists = q->field("RECCNT").asInt() > 0;
  q->close();
  if (exists)
    q->setSql(QStringLiteral(
        "UPDATE ACCREG_BLOB_BINARY SET FTYPE=:FTYPE,FVALUE=:FVALUE WHERE FGROUP=:FGROUP AND FKEY=:FKEY"));
  else
    q->setSql(QStringLiteral(
        "INSERT INTO ACCREG_BLOB_BINARY(FGROUP,FKEY,FTYPE,FVALUE) VALUES(:FGROUP,:FKEY,:FTYPE,:FVALUE)"));
  q->setParam("FGROUP", Group);
  q->setParam("FKEY", Key);
  q->setParam("FTYPE", Kind);
  if (hasValue)
    q->setParam("FVALUE", bytes);
  else
    q->setParamNull("FVALUE");
  q->exec();
  q.reset();
  tr.Commit();
}

void pcDelAccRegBlob(const QString& Group, const QString& Key, const QString& Where)
{
  auto q = companyQuery();
  TOwnTransaction tr(companyTransaction());
  q->setSql(QStringLiteral("DELETE FROM ACCREG_BLOB_BINARY ") +
            (Where.isEmpty() ? QStringLiteral("WHERE (FGROUP=:FGROUP) AND (FKEY=:FKEY)") : Where));
  q->setParam("FGROUP", Group);
  q->setParam("FKEY", Key);
  q->exec();
  q.reset();
  tr.Commit();
}
