// Tax master, names of the statement total lines and the data kinds of the
// open company data.
#include "acctables/AccCodeTable.h"
#include "common/AccSikinGuriCmp.h"
#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/FbError.h"
#include "db/DbError.h"
#include "platform/AppError.h"
#include "platform/Exceptions.h"

namespace {

const QString kDataTypeText = QStringLiteral("このプログラムでは、該当のデータタイプを処理することが出来ません。");
const QString kCodeTypeText = QStringLiteral("このプログラムでは、該当のコードタイプを処理することが出来ません。");

int taxClass(int code)
{
  if ((code >= 100 && code <= 499) || (code >= 600 && code <= 699))
    return 1;
  if ((code >= 500 && code <= 599) || (code >= 700 && code <= 799))
    return 2;
  return 0;
}

[[noreturn]] void kindError(const QString& sentence, const char* what, int value)
{
  throw EPlatformError(sentence + QStringLiteral("(%1=%2)").arg(QLatin1String(what)).arg(value));
}

}  // namespace

void TDM::pcInstallTaxMasterReader()
{
  pcSetTaxMasterReader([](TTaxKbnList& list) { return DM != nullptr && DM->fnGetTaxMst(list); });
}

bool TDM::fnGetTaxMst(TTaxKbnList& ATaxKbnList)
{
  if (!ATaxKbnList.empty())
    return true;
  const QString message = QStringLiteral("消費税区分マスタの取得に失敗しました。");
  try {
    TOwnTransaction tr(IBTransactionDAT);
    IBQACC1.close();
    IBQACC1.setSql(
        QStringLiteral("SELECT TAX_CODE,TAX_REC,TAX_GNAM,TAX_NAME,TAX_HOUSIKI,TAX_UH,TAX_DAC,TAX_NAME2 "
                       "FROM TAXMST ORDER BY TAX_CODE"));
    // The list holds exactly the rows read.
    TTaxKbnList rows;
    for (IBQACC1.open(); !IBQACC1.eof(); IBQACC1.next()) {
      TTaxKbnRec r;
      r.TCODE = IBQACC1.field("TAX_CODE").asInt();
      r.TNAME = IBQACC1.field("TAX_NAME").asString();
      r.GNAME = IBQACC1.field("TAX_GNAM").asString();
      r.SinkokuKbn = IBQACC1.field("TAX_HOUSIKI").asInt();
      r.KariukeKaribaraiKbn = IBQACC1.field("TAX_UH").asInt();
      r.TaishakuKbn = IBQACC1.field("TAX_DAC").asInt();
      r.ClassKbn = taxClass(r.TCODE);
      rows.push_back(std::move(r));
    }
    IBQACC1.close();
    tr.Commit();
    ATaxKbnList = std::move(rows);
    return true;
  } catch (const db::DbError& e) {
    IBQACC1.close();
    fnShowFbError(e, QStringLiteral("TDM.fnGetTaxMst"), message, true);
  } catch (const std::exception& e) {
    IBQACC1.close();
    fnShowErrorDetail(message, QString::fromUtf8(e.what()), mtError);
  }
  // A failed load leaves no half list behind, so the next call reads again.
  ATaxKbnList.clear();
  return false;
}

QString TDM::fnGetAccTotalName(const QString& AKGroup, const QString& AField)
{
  QString result;
  const QString message = QStringLiteral("集計名称の取得に失敗しました。");
  TOwnTransaction tr(IBTransactionDAT);
  try {
    pcRequirePlainIdentifier(AField);
    IBQACC1.close();
    IBQACC1.setSql(QStringLiteral("SELECT %1 FROM ACCTOTALNAME WHERE KGROUP=:KGROUP").arg(AField));
    IBQACC1.setParam("KGROUP", AKGroup);
    for (IBQACC1.open(); !IBQACC1.eof(); IBQACC1.next())
      result = IBQACC1.field(0).asString();
    IBQACC1.close();
  } catch (const db::DbError& e) {
    IBQACC1.close();
    fnShowFbError(e, QStringLiteral("TDM.fnGetAccTotalName"), message, true);
  } catch (const std::exception& e) {
    IBQACC1.close();
    fnShowErrorDetail(message, QString::fromUtf8(e.what()), mtError);
  }
  try {
    tr.Commit();
  } catch (...) {
    pcLogDroppedError("TDM.fnGetAccTotalName");
  }
  return result;
}

bool TDM::fnPutAccTotalName(const QString& AKGroup, const QString& AField, const QString& AValue)
{
  const QString message = QStringLiteral("集計名称の更新に失敗しました。");
  TOwnTransaction tr(IBTransactionDAT);
  try {
    pcRequirePlainIdentifier(AField);
    IBQACC1.close();
    IBQACC1.setSql(QStringLiteral("UPDATE ACCTOTALNAME SET %1=:VALUE WHERE KGROUP=:KGROUP").arg(AField));
    IBQACC1.setParam("VALUE", AValue);
    IBQACC1.setParam("KGROUP", AKGroup);
    IBQACC1.exec();
    tr.Commit();
    return true;
  } catch (const db::DbError& e) {
    tr.Rollback();
    fnShowFbError(e, QStringLiteral("TDM.pcPutAccTotalName"), message, true);
  } catch (const std::exception& e) {
    tr.Rollback();
    fnShowErrorDetail(message, QString::fromUtf8(e.what()), mtError);
  }
  return false;
}

TJxZaimuDataType TDM::GetZaimuDataType()
{
  return GetZaimuDataType(AccInf.DATATYPE, AccInf.CODETYPE);
}

TJxZaimuDataType TDM::GetZaimuDataType(int ADataType, int ACodeType)
{
  const bool medical = ADataType == 3 && ACodeType == 1;
  pcSetKamokuCodeTable(medical);
  pcSetCashFlowItemList(medical);
  return medical ? jxztCuravia : jxztBasic;
}

QString TDM::fnGetDataTypeName(int ADataType)
{
  switch (ADataType) {
    case 1:
      return QStringLiteral("法人");
    case 2:
      return QStringLiteral("個人");
    case 3:
      return QStringLiteral("医療法人");
  }
  kindError(kDataTypeText, "DataType", ADataType);
}

QString TDM::fnGetCodeTypeName(int ADataType, int ACodeType, bool AMerge)
{
  if (AMerge) {
    QString name = fnGetDataTypeName(ADataType);
    const QString code = fnGetCodeTypeName(ADataType, ACodeType, false);
    if (!code.isEmpty())
      name += QStringLiteral("／") + code;
    return name;
  }
  switch (ADataType) {
    case 1:
      if (ACodeType == 1)
        return QString();
      kindError(kDataTypeText, "CodeType", ACodeType);
    case 2:
      switch (ACodeType) {
        case 1:
          return QStringLiteral("一般");
        case 2:
          return QStringLiteral("不動産");
        case 3:
          return QStringLiteral("クリニック");
        case 4:
          return QStringLiteral("農業");
      }
      kindError(kCodeTypeText, "CodeType", ACodeType);
    case 3:
      if (ACodeType == 1)
        return QString();
      kindError(kCodeTypeText, "CodeType", ACodeType);
  }
  kindError(kDataTypeText, "DataType", ADataType);
}

bool TDM::IsConnectDataType(int /*ADataType*/, int /*ACodeType*/, bool /*AMessageOut*/)
{
  // This program carries no application version of the accounting product
  // (the version fields stay 0), so every data and code kind may connect.
  return true;
}
