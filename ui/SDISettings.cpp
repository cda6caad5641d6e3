// TBSDI: typed settings of the company database, account look-ups and the
// open-process history, over the form's settings store.
#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "common/FormSettingsStore.h"
#include "common/TypedValue.h"
#include "db/Transaction.h"
#include "ui/SDI.h"

namespace {

bool baseFormWord(const QString& AType)
{
  // The base form's accessors know six of the seven type words.
  return AType != TypeWordReal && fnTypedWordKnown(TTypedStore::AccReg, AType);
}

QVariant readText(TTypedStore AStore, const QString& AType, const QString& AText)
{
  if (!baseFormWord(AType))
    return TypedDataTypeError;
  if (AType == TypeWordBool)
    return AText.toUpper() == QLatin1String("TRUE");
  return fnTypedTextToValue(AStore, AType, AText);
}

QVariant writeText(TTypedStore AStore, const QString& AType, const QVariant& AValue)
{
  if (!baseFormWord(AType))
    return QVariant();  // null
  return fnTypedValueToText(AStore, AType, AValue);
}

}  // namespace

db::Transaction* TBSDI::IBTransactionDAT()
{
  if (!FIBTransactionDAT && DM)
    FIBTransactionDAT = std::make_unique<db::Transaction>(DM->IBDatabaseDAT, db::Transaction::ReadCommitted);
  return FIBTransactionDAT.get();
}

// ---------------------------------------------------------------- history

void TBSDI::PutProcRirekiInfo(int AState)
{
  db::Transaction* tr = IBTransactionDAT();
  if (!tr || !DM->IBDatabaseDAT.isConnected())
    return;  // no company data open: nothing to record
  TFormSettingsStore(*tr).PutProcRireki(SystemDef.OPCODE, windowTitle(), SystemDef.PCNAME, AState);
  FHistoryStarted = AState == 0;
}

// ---------------------------------------------------------------- ACCREG

void TBSDI::SetRegGroup(const QString& Value)
{
  if (Value == FREGGROUP)
    return;
  FREGGROUP = Value;
  REGLIST1.clear();
  REGLIST2.clear();
  if (Value.isEmpty())
    return;
  db::Transaction* tr = IBTransactionDAT();
  if (!tr)
    return;
  TFormSettingsStore(*tr).ReadAccRegGroup(Value, REGLIST1, REGLIST2);
}

QVariant TBSDI::fnGetAccReg(const QString& _GROUP, const QString& _Field, const QString& _TYPE, const QString& _Val)
{
  if (!FREGGROUP.isEmpty() && _GROUP == FREGGROUP) {
    const qsizetype at = REGLIST1.indexOf(_Field);
    if (at >= 0) {
      if (!baseFormWord(_TYPE))
        return QVariant();
      return readText(TTypedStore::AccReg, _TYPE, REGLIST2.at(at));
    }
  }
  db::Transaction* tr = IBTransactionDAT();
  if (!tr)
    return readText(TTypedStore::AccReg, _TYPE, _Val);
  return readText(TTypedStore::AccReg, _TYPE, TFormSettingsStore(*tr).AccRegText(_GROUP, _Field, _TYPE, _Val));
}

void TBSDI::pcPutAccReg(const QString& _GROUP, const QString& _Field, const QString& _Type, const QVariant& _Val)
{
  db::Transaction* tr = IBTransactionDAT();
  if (!tr)
    return;
  TFormSettingsStore(*tr).PutAccRegText(_GROUP, _Field, writeText(TTypedStore::AccReg, _Type, _Val));
}

// ---------------------------------------------------------------- SISETREG

QVariant TBSDI::fnGetSisetuItem(const QString& _SCODE, const QString& _GROUP, const QString& _Field,
                                const QString& _Type, const QVariant& _Val)
{
  db::Transaction* tr = IBTransactionDAT();
  if (!tr)
    return QVariant();
  const std::optional<QString> text =
      TFormSettingsStore(*tr).SisetuText(_SCODE, _GROUP, _Field, _Type, _Val.toString());
  if (!text)
    return QVariant();
  return readText(TTypedStore::SisetReg, _Type, *text);
}

void TBSDI::pcPutSisetuItem(const QString& _SCODE, const QString& _GROUP, const QString& _Field, const QString& _Type,
                            const QVariant& _Val)
{
  db::Transaction* tr = IBTransactionDAT();
  if (!tr)
    return;
  TFormSettingsStore(*tr).PutSisetuText(_SCODE, _GROUP, _Field, writeText(TTypedStore::SisetReg, _Type, _Val));
}

// ---------------------------------------------------------------- ACCDEF2

QString TBSDI::fnGetSysKCODE(const QString& Par)
{
  db::Transaction* tr = IBTransactionDAT();
  if (!tr)
    return QString();
  return TFormSettingsStore(*tr).SysKCODE(Par);
}

QString TBSDI::fnGetSysKNAME(const QString& Par)
{
  db::Transaction* tr = IBTransactionDAT();
  if (!tr)
    return QString();
  return TFormSettingsStore(*tr).SysKNAME(Par);
}
