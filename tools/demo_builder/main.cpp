// Builds the demo installation (see DemoBuilder.h) and prints how to log on.
#include <cstdio>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include "db/DbError.h"
#include "fixtures/FixtureError.h"
#include "platform/IniFile.h"
#include "tools/demo_builder/DemoBuilder.h"

int main(int argc, char* argv[])
{
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("rendo-demo-builder"));
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Creates the demo data set and settings with which the program starts stand-alone."));
  parser.addHelpOption();
  parser.addPositionalArgument(QStringLiteral("folder"),
                               QStringLiteral("Demo folder (default: %1).").arg(DemoBuilder::defaultFolder()));
  QCommandLineOption rebuild(QStringLiteral("rebuild"),
                             QStringLiteral("Replace a complete demo that is already there."));
  QCommandLineOption programDir(QStringLiteral("program-dir"),
                                QStringLiteral("Folder of the program, where AppInfo.ini is also written."),
                                QStringLiteral("dir"));
  QCommandLineOption noProgramDir(QStringLiteral("no-program-dir"),
                                  QStringLiteral("Write AppInfo.ini into the demo folder only."));
  parser.addOption(rebuild);
  parser.addOption(programDir);
  parser.addOption(noProgramDir);
  parser.process(app);

  DemoOptions options;
  options.folder = parser.positionalArguments().value(0, DemoBuilder::defaultFolder());
  options.rebuild = parser.isSet(rebuild);
  if (parser.isSet(programDir))
    options.programDir = parser.value(programDir);
  else if (!parser.isSet(noProgramDir))
    options.programDir = DemoBuilder::defaultProgramDir(QCoreApplication::applicationDirPath());

  QTextStream out(stdout);
  QTextStream err(stderr);
  try {
    const DemoResult r = DemoBuilder::build(options);
    out << (r.built ? "Demo built in " : "Demo already complete in ") << r.folder << "\n";
    out << "  data folder:        " << r.dataDir << "\n";
    for (const auto& ds : r.dataSets)
      out << "  data set " << QStringLiteral("%1").arg(ds.rec, 4, 10, QLatin1Char('0')) << ":      " << ds.listName
          << " (" << ds.shougou << ")\n";
    out << "  environment:        " << r.envFile << "\n";
    if (!r.appInfoBesideProgram.isEmpty())
      out << "  AppInfo.ini:        " << r.appInfoBesideProgram << "\n";
    if (!r.appInfoKept.isEmpty())
      out << "  AppInfo.ini:        " << r.appInfoKept << " is not the builder's own and was left as it is\n";
    out << "Log on as operator " << r.operatorCode << " with password " << r.operatorPassword << ".\n";
    return 0;
  } catch (const db::DbError& e) {
    err << "rendo-demo-builder: database error " << e.gdscode() << ": " << e.message() << "\n";
  } catch (const fixtures::FixtureError& e) {
    err << "rendo-demo-builder: " << e.message() << "\n";
  } catch (const EIniFileError& e) {
    err << "rendo-demo-builder: " << QString::fromUtf8(e.what()) << "\n";
  } catch (const std::exception& e) {
    err << "rendo-demo-builder: " << QString::fromUtf8(e.what()) << "\n";
  }
  return 1;
}
