// The journal transfer of a consolidation run: the member's live journal
// entries are written to "GassanSwk01.txt" in the temporary folder, every
// entry under the run branch, and read into the parent.
#include "common/AccRecord.h"
#include "db/Transaction.h"
#include "maint/GassanDataCtl.h"
#include "maint/SiwakeTextIO.h"
#include "platform/Paths.h"

namespace {

const QString kTab = QStringLiteral("\t");

}  // namespace

QString TGassanDataCtl::GassanSiwakeFile()
{
  return PathJoin(SystemDef.TEMP, QStringLiteral("GassanSwk01.txt"));
}

void TGassanDataCtl::GassanSiwake()
{
  QString columns = QStringLiteral(
      "HIZUKE,KESSAN,SDAYNUM,DNUM,SNUM,SCODE,KGROUP,KCODE,USERCODE,HCODE,BCODE,TAXCODE,RIT,R_KGROUP,R_KCODE,"
      "R_USERCODE,R_HCODE,R_BCODE,R_TAXCODE,R_RIT,KINGAKU,ZEIGAKU,ZEIRITUNO,AUTCALCU,TAXCALCU,OLDRATE,TEKTEXT,"
      "TORTEXT,FUSEN1,FUSEN2,LINKKEY,LINKKUB,LINKREC,CTIME,RTIME,COMMENT,AO_COMMENT,KNAME,HNAME,BNAME,SIKIN,R_KNAME,"
      "R_HNAME,R_BNAME,R_SIKIN,SHONIN_OPCODE,SHONIN_NAME,SHONIN_HIZUKE");
  // Every entry carries the run branch. The code is a literal of the
  // statement, so it is quoted with any quote in it doubled.
  QString code = FGassanSCODE;
  code.replace(QLatin1Char('\''), QStringLiteral("''"));
  columns.replace(QStringLiteral(",SCODE,"), QStringLiteral(",'%1' AS SCODE,").arg(code));
  const QStringList sql{QStringLiteral("SELECT %1 FROM SIWAKE_VIEW").arg(columns),
                        QStringLiteral("WHERE (DELFLG=0)AND(TAISHAKU=1)")};

  TSiwakeTextIO io;
  io.SetSeparator(kTab);
  io.SetHWD(0);
  io.SetProgressBox(nullptr);
  io.SetMessageCtl(FMessageCtl);
  io.SetIBTransaction(FBunsanIBTransaction.get());
  io.SetGassanIO(true);
  if (!io.fnSiwakeOutput(GassanSiwakeFile(), kTab, sql))
    return;

  db::Transaction& parent = datTransaction();
  io.SetSeparator(kTab);
  io.SetHWD(0);
  io.SetProgressBox(nullptr);
  io.SetMessageCtl(FMessageCtl);
  io.SetIBTransaction(&parent);
  io.SetSCODE(FGassanSCODE);
  io.SetHokaSitenGet(false);
  io.SetWriteLock(false);
  io.SetLogTxtWrite(false);
  io.SetLogFormatType(1);
  io.SetGassanIO(true);
  io.fnSiwakeInput(GassanSiwakeFile(), kTab);
  if (!parent.inTransaction())
    parent.start();
  if (io.ErrCount() > 0)
    for (const QString& line : io.LogList())
      LogError(-120, line);
}
