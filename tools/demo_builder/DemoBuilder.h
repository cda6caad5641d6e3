#pragma once
#include <QString>
#include <QStringList>

#include "fixtures/SampleData.h"

// Builds the demo installation: everything the program needs to start
// stand-alone on the embedded engine, in one folder.
//
//   <demo>/demo.env                 environment for the program (sourced by the run script)
//   <demo>/registry.ini             registry store: the installed accounting product, 17.x
//   <demo>/AppInfo.ini              identity file (also copied beside the program)
//   <demo>/common/                  common application-data root (RENDO_DATA_ROOT)
//     norvik/dedodozorav2/wqzaimu.ini          local settings (UTF-16LE, BOM)
//     norvik/dedodozorav2/ini/Gensyou.ini      link settings (CP932)
//     norvik/dedodozorav2/data/wqaccdef2.fdb   system database
//     norvik/dedodozorav2/data/wqfileman.fdb   file-manager database
//     norvik/dedodozorav2/data/0001 … 0003/wqacc2.fdb  company databases
//     norvik/dedodozorav2/data/0001 … 0003/wqacc2.ini  data-folder settings (UTF-16LE)
//   <demo>/output/                  where the import file goes by default
//
// The whole folder is built under a temporary name beside it and renamed
// into place, so a failure never leaves a half-built demo. A folder that
// already holds a complete demo is left as it is unless `rebuild` is set;
// then the new demo replaces it in one rename.
struct DemoOptions {
  QString folder;      // the demo folder
  QString programDir;  // where AppInfo.ini also goes ("" none): written when
                       // missing or the builder's own, otherwise kept
  bool rebuild = false;
  quint32 seed = 1;
};

struct DemoResult {
  bool built = false;  // false: a complete demo was already there
  QString folder;
  QString dataDir;  // the data root (system database folder)
  QString envFile;
  QString appInfoBesideProgram;  // "" when not written
  QString appInfoKept;           // an AppInfo.ini beside the program that is not ours, left as it is
  int groupId = fixtures::sample::GroupId;
  int operatorCode = fixtures::sample::OperatorCode;
  QString operatorPassword = fixtures::sample::operatorPassword();
  QList<fixtures::sample::DataSet> dataSets;
};

class DemoBuilder {
 public:
  // Names inside the demo.
  static QString homeDir() { return QStringLiteral("norvik/dedodozorav2"); }
  static QString appName() { return QStringLiteral("wqzaimu"); }
  static QString comRegKey() { return QStringLiteral("\\SOFTWARE\\NORVIK"); }
  static QString productRegKey() { return QStringLiteral("ABACORZAIMU"); }
  static QString productTitle() { return QStringLiteral("タリマン財務"); }
  static QString productVersion() { return QStringLiteral("17.0.3"); }
  static QString markerName() { return QStringLiteral(".rendo-demo-complete"); }

  // The default folder: $XDG_DATA_HOME/rendo-demo (~/.local/share/rendo-demo).
  static QString defaultFolder();
  // The program folder next to this build's tools (…/app), "" when absent.
  static QString defaultProgramDir(const QString& builderDir);

  // Builds (or keeps) the demo; throws on failure (fixtures::FixtureError,
  // db::DbError, EIniFileError), leaving any earlier demo untouched.
  static DemoResult build(const DemoOptions& options);

  // The content of AppInfo.ini (UTF-8), whose first line marks it as the
  // builder's own.
  static QByteArray appInfoIni();
  // Whether a file's content was written by this builder: it carries the
  // mark, or is the builder's content from before the mark was added.
  static bool isOwnAppInfo(const QByteArray& content);

 private:
  static void buildInto(const QString& physical, const QString& final, const DemoOptions& options, DemoResult& result);
};
