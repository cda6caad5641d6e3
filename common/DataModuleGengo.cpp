// The era table and the system database's version, read from the system
// database.
#include <algorithm>

#include "acctables/AccGengo.h"
#include "common/DataModule.h"
#include "common/DbUtil.h"

void TDM::SetGengoRecord()
{
  GengoTable.clear();
  try {
    db::Query q(IBTransactionDEF);
    TOwnTransaction tr(IBTransactionDEF);
    q.setSql(QStringLiteral("SELECT COUNT(*) AS RECCNT FROM GENGO"));
    q.open();
    const int count = q.field("RECCNT").asInt();
    q.close();
    TGengoArray eras;
    eras.reserve(std::max(count, 0));
    q.setSql(QStringLiteral("SELECT GNAME,GSIGN,STARTDATE,YEAROFFSET FROM GENGO ORDER BY YEAROFFSET DESC"));
    // Rows beyond the count taken first are not part of this reading.
    for (q.open(); !q.eof() && int(eras.size()) < count; q.next()) {
      TGengoRec g;
      g.Name = q.field("GNAME").asString();
      g.Sign = q.field("GSIGN").asString();
      g.StartDate = q.field("STARTDATE").asDateTime();
      g.YearOffSet = q.field("YEAROFFSET").asInt();
      eras.push_back(std::move(g));
    }
    q.close();
    tr.Commit();
    GengoTable = std::move(eras);
  } catch (const std::exception&) {
    GengoTable.clear();
  }
  if (GengoTable.empty())
    pcGengoTableSet();
  cxEditRepo_Combo_Gengo_Items = fnGengoList(1).split(QLatin1Char('\r'), Qt::SkipEmptyParts);
}

void TDM::SetSystemDBVersion()
{
  try {
    db::Query q(IBTransactionDEF);
    TOwnTransaction tr(IBTransactionDEF);
    q.setSql(QStringLiteral("SELECT MAJOR,MINOR1,MINOR2 FROM VERSION ORDER BY MAJOR DESC,MINOR1 DESC,MINOR2 DESC"));
    q.open();
    if (!q.eof()) {
      SystemDef.SystemDBVerMajor = q.field("MAJOR").asInt();
      SystemDef.SystemDBVerMinor = q.field("MINOR1").asInt();
      SystemDef.SystemDBVerRev = q.field("MINOR2").asInt();
    }
    q.close();
    tr.Commit();
  } catch (const std::exception&) {
    SystemDef.SystemDBVerMajor = 0;
    SystemDef.SystemDBVerMinor = 0;
    SystemDef.SystemDBVerRev = 0;
  }
}
