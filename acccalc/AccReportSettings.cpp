#include "acccalc/AccReportSettings.h"

#include "db/Query.h"
#include "db/Transaction.h"

namespace {
TAccReportSettings g_default;
TAccReportSettings* g_settings = nullptr;
const QString kGroup = QStringLiteral("法人概要");
}  // namespace

QString TAccReportSettings::readText(db::Transaction& ATr, const QString& AGroup, const QString& ACode,
                                     const QString& ADefault)
{
  db::Query q(ATr);
  q.setSql(QStringLiteral("SELECT ATYPE,ATEXT FROM ACCREG WHERE AGROUP=:AGROUP AND ACODE=:ACODE "));
  q.setParam(QStringLiteral("AGROUP"), AGroup);
  q.setParam(QStringLiteral("ACODE"), ACode);
  q.open();
  return q.eof() ? ADefault : q.field(QStringLiteral("ATEXT")).asString();
}

bool TAccReportSettings::IsZaidanSyakaiTokutei(db::Transaction& ATr)
{
  if (readText(ATr, kGroup, QStringLiteral("財団社団"), QString()) == QStringLiteral("財団"))
    return true;
  const QString iryou = readText(ATr, kGroup, QStringLiteral("医療法人"), QString());
  return iryou == QStringLiteral("社会") || iryou == QStringLiteral("特定");
}

bool TAccReportSettings::IsKikinAri(db::Transaction& ATr)
{
  return readText(ATr, kGroup, QStringLiteral("基金"), QStringLiteral("無")) == QStringLiteral("有");
}

TAccReportSettings& AccReportSettings()
{
  return g_settings ? *g_settings : g_default;
}

void SetAccReportSettings(TAccReportSettings* ASettings)
{
  g_settings = ASettings;
}
