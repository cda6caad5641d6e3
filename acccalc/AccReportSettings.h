#pragma once
// The company's report settings that decide the names of the capital lines
// of medical-corporation statements (法人概要: 財団社団, 医療法人, 基金).
// The default reads the company settings table ACCREG in the reader's
// transaction and takes a missing value as its default; the common services
// may install their own (which also records the defaults).

#include <QString>

namespace db {
class Transaction;
}

class TAccReportSettings {
 public:
  virtual ~TAccReportSettings() = default;
  // 財団社団 is "財団", or 医療法人 is "社会" or "特定".
  virtual bool IsZaidanSyakaiTokutei(db::Transaction& ATr);
  // 基金 is "有" (default "無").
  virtual bool IsKikinAri(db::Transaction& ATr);

 protected:
  // The text of a setting, ADefault when there is no row.
  static QString readText(db::Transaction& ATr, const QString& AGroup, const QString& ACode, const QString& ADefault);
};

TAccReportSettings& AccReportSettings();
void SetAccReportSettings(TAccReportSettings* ASettings);
