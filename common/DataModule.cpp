#include "common/DataModule.h"

#include <QtGlobal>

TDM* DM = nullptr;
TSyoriKidouProc SyoriKidouProc;
TDataHasonHanteiProc DataHasonHanteiProc;

namespace {

// The installation's services administrator; overridable by configuration.
constexpr char kDefaultServiceUser[] = "SYSDBA";
constexpr char kDefaultServicePassword[] = "pebrondal";

QString configured(const char* variable, const char* fallback)
{
  const QString value = qEnvironmentVariable(variable);
  return value.isEmpty() ? QString::fromLatin1(fallback) : value;
}

}  // namespace

TDM::TDM(QObject* parent)
    : QObject(parent),
      IBTransactionDEF(IBDatabaseDEF, db::Transaction::ReadCommitted),
      IBTransactionDAT(IBDatabaseDAT, db::Transaction::ReadCommitted),
      IBTransactionDATSS(IBDatabaseDAT, db::Transaction::Snapshot),
      IBTransactionDATStable(IBDatabaseDAT, db::Transaction::Consistency),
      IBTransactionDAT_Thread(IBDatabaseDAT, db::Transaction::ReadCommitted),
      IBTransactionZEN(IBDatabaseZEN, db::Transaction::ReadCommitted),
      IBTransactionZENStable(IBDatabaseZEN, db::Transaction::Consistency),
      IBTransFileMan(IBFileMan, db::Transaction::ReadCommitted),
      IBQSysDefGet(IBTransactionDEF),
      IBQSysDefPut(IBTransactionDEF),
      QueryDef(IBTransactionDEF),
      IBQACC1(IBTransactionDAT),
      IBQACC2(IBTransactionDAT),
      IBQACC3(IBTransactionDAT),
      IBSQL1(IBTransactionZEN),
      IBSQLDEF(IBTransactionDEF),
      IBQueryFileMan(IBTransFileMan),
      IBSQLFileMan(IBTransFileMan),
      ServiceAdminUser(configured("RENDO_SERVICE_USER", kDefaultServiceUser)),
      ServiceAdminPassword(configured("RENDO_SERVICE_PASSWORD", kDefaultServicePassword))
{
  for (QTimer* t : {&TimerFormClose, &TimerSyoriKidou}) {
    t->setInterval(100);
    t->setSingleShot(true);
  }
  if (!DM)
    DM = this;
  pcInstallTaxMasterReader();
}

TDM::~TDM()
{
  // A data set left marked in use is given back: the program is ending.
  releaseDatMark();
  // Statements and transactions end before their connections go.
  IBDatabaseDAT.disconnect();
  IBDatabaseZEN.disconnect();
  IBFileMan.disconnect();
  IBDatabaseDEF.disconnect();
  if (DM == this)
    DM = nullptr;
}
