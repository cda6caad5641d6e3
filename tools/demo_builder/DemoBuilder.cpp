#include "tools/demo_builder/DemoBuilder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "fixtures/CompanyFixture.h"
#include "fixtures/FixtureBuilder.h"
#include "fixtures/FixtureError.h"
#include "fixtures/SystemFixture.h"
#include "platform/IniFile.h"
#include "platform/Registry.h"
#include "platform/SafeSave.h"
#include "platform/SystemInfo.h"

namespace {

QString joined(const QString& a, const QString& b)
{
  return QDir::cleanPath(a + QLatin1Char('/') + b);
}

void writeFileAtomically(const QString& path, const QByteArray& bytes)
{
  QDir().mkpath(QFileInfo(path).absolutePath());
  try {
    SaveFileSafely(path, bytes);
  } catch (const ESafeSaveError& e) {
    throw fixtures::FixtureError(e.message());
  }
}

QString shellQuote(const QString& s)
{
  QString q = s;
  q.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
  return QLatin1Char('\'') + q + QLatin1Char('\'');
}

// Replaces the leading `from` of a path by `to`.
QString rebase(const QString& path, const QString& from, const QString& to)
{
  return to + path.mid(from.size());
}

int countOf(db::Database& d, const QString& sql)
{
  db::Transaction tr(d);
  tr.start();
  db::Query q(tr, sql);
  q.open();
  const int n = q.eof() ? 0 : q.field(0).asInt();
  q.close();
  tr.commit();
  return n;
}

// The data folder's settings file: status "free" and a copy of the data
// set's facts, as the program keeps it for stand-alone data.
void writeDataFolderSettings(db::Database& company, const QString& folder, const fixtures::sample::DataSet& ds)
{
  IniFile ini(folder + QStringLiteral("/wqacc2.ini"), IniFile::Encoding::Utf16LeBom);
  const QString sts = QStringLiteral("DATASTS");
  ini.WriteInteger(sts, QStringLiteral("STATUS"), 1);
  ini.WriteInteger(sts, QStringLiteral("OPCODE"), 0);
  ini.WriteString(sts, QStringLiteral("OPERATOR"), QString());
  ini.WriteInteger(sts, QStringLiteral("SHARE_STATUS"), 1);
  ini.WriteInteger(sts, QStringLiteral("SHARE_OPCODE"), 0);
  ini.WriteString(sts, QStringLiteral("SHARE_OPERATOR"), QString());
  ini.WriteInteger(sts, QStringLiteral("UPDATE_LOCK"), 0);
  ini.WriteInteger(sts, QStringLiteral("READ_ONLY"), 0);
  const QString inf = QStringLiteral("DATAINFO");
  const bool medical = ds.kind == fixtures::CompanyKind::Medical;
  ini.WriteString(inf, QStringLiteral("DATALISTNAME"), ds.listName);
  ini.WriteString(inf, QStringLiteral("CODE"), medical ? QStringLiteral("M001") : QStringLiteral("G001"));
  ini.WriteInteger(inf, QStringLiteral("DATAKBN"), medical ? 3 : 1);
  ini.WriteInteger(inf, QStringLiteral("CODEKBN"), 1);
  ini.WriteString(inf, QStringLiteral("SHOUGOU"), ds.shougou);
  ini.WriteString(inf, QStringLiteral("KANA"), QString());
  ini.WriteInteger(inf, QStringLiteral("NENDO"), ds.nendo);
  ini.WriteString(inf, QStringLiteral("KISHU"), ds.kishu.toString(QStringLiteral("yyyy/MM/dd")));
  ini.WriteString(inf, QStringLiteral("KIMATU"),
                  ds.kishu.addYears(1).addDays(-1).toString(QStringLiteral("yyyy/MM/dd")));
  ini.WriteInteger(inf, QStringLiteral("TANTO"), 0);
  ini.WriteInteger(inf, QStringLiteral("SITEN"), 1);
  ini.WriteInteger(inf, QStringLiteral("SITENCNT"),
                   countOf(company, QStringLiteral("SELECT COUNT(*) FROM SISETUMST WHERE SCODE <> ''")));
  ini.WriteInteger(inf, QStringLiteral("BUMON"), 1);
  ini.WriteInteger(inf, QStringLiteral("BUMONCNT"),
                   countOf(company, QStringLiteral("SELECT COUNT(*) FROM BUMONMST WHERE BCODE <> ''")));
  ini.WriteInteger(inf, QStringLiteral("SIWAKE"),
                   countOf(company, QStringLiteral("SELECT COUNT(*) FROM SIWAKE WHERE TAISHAKU = 1 AND DELFLG = 0")));
  ini.WriteInteger(inf, QStringLiteral("TOTALSIWAKE"),
                   countOf(company, QStringLiteral("SELECT COUNT(*) FROM SIWAKE WHERE TAISHAKU = 1")));
  ini.WriteString(inf, QStringLiteral("VERSION1"), QStringLiteral("17.0.0"));
  ini.WriteString(inf, QStringLiteral("VERSION2"), QStringLiteral("17.0.0"));
  ini.WriteInteger(inf, QStringLiteral("GASSANKBN"), 0);
  ini.WriteInteger(inf, QStringLiteral("USEMYNUMBER"), 0);
  ini.WriteInteger(inf, QStringLiteral("CLOUD_SHARE"), 0);
  ini.UpdateFile();
}

}  // namespace

QString DemoBuilder::defaultFolder()
{
  QString base = qEnvironmentVariable("XDG_DATA_HOME");
  if (base.isEmpty())
    base = QDir::homePath() + QStringLiteral("/.local/share");
  return joined(base, QStringLiteral("rendo-demo"));
}

QString DemoBuilder::defaultProgramDir(const QString& builderDir)
{
  const QString dir = QDir::cleanPath(builderDir + QStringLiteral("/../../app"));
  return QFileInfo(dir + QStringLiteral("/rendo")).exists() ? dir : QString();
}

namespace {
QByteArray appInfoMark()
{
  return QByteArrayLiteral(
      "; Demo installation: written by rendo-demo-builder, which rewrites it while this line stays.\n");
}
}  // namespace

QByteArray DemoBuilder::appInfoIni()
{
  IniFile ini(QString(), IniFile::Encoding::Utf8);
  auto w = [&](const char* s, const char* k, const QString& v) {
    ini.WriteString(QString::fromLatin1(s), QString::fromLatin1(k), v);
  };
  w("Application", "OEM", QStringLiteral("STANDARD"));
  w("Application", "Since", QStringLiteral("2008-2025"));
  w("Application", "RegKey", comRegKey());
  w("Application", "Qyx", QStringLiteral("ＱｙＸキーステーション"));
  w("Application", "QyxAlias", QStringLiteral("ＱｙＸ"));
  w("Application", "VerMajorDiff", QStringLiteral("0"));
  w("Application", "VerMinorDiff", QStringLiteral("0"));
  w("Application", "VerRevDiff", QStringLiteral("0"));
  w("Application", "VerTest", QString());
  w("Application", "OptionBlind", QStringLiteral("0"));
  w("Application", "VeduvoruBlind", QStringLiteral("0"));
  w("Application", "WebVestimarServer", QStringLiteral("localhost"));
  w("Application", "MarluneServer", QStringLiteral("localhost"));
  w("Application", "AbacorClubServer", QStringLiteral("localhost"));
  w("Company", "Name", QStringLiteral("デモ用～髙橋ソフト㈱"));
  w("Company", "ZipCode", QStringLiteral("100-0001"));
  w("Company", "Addr", QStringLiteral("東京都千代田区①－１"));
  w("Company", "TEL", QStringLiteral("03-0000-0000"));
  w("Company", "FAX", QStringLiteral("03-0000-0001"));
  w("Company", "Mail", QStringLiteral("support@example.invalid"));
  w("Company", "URL", QStringLiteral("https://example.invalid/"));
  w("Zaimu", "AppName", appName());
  w("Zaimu", "AppTitle", productTitle());
  w("Zaimu", "AppTitle_CL", QStringLiteral("顧問先版"));
  w("Zaimu", "RegKey", productRegKey());
  w("Zaimu", "HomeDir", homeDir());
  w("Zaimu", "ShareDir", QStringLiteral("dedodozorav2"));
  w("Zaimu", "ServerDir", QStringLiteral("/dedodozorav2/data"));
  w("Zaimu", "ServerTempDir", QStringLiteral("/dedodozorav2/temp"));
  w("Zaimu", "DataDefFile", fixtures::sample::systemDbName());
  w("Zaimu", "DataFile", fixtures::sample::companyDbName());
  w("Zaimu", "DataBackupFile", QStringLiteral("wqacc2.fbk"));
  w("Zaimu", "DataInitFile", QStringLiteral("init_acc%d.fbk"));
  w("Zaimu", "DataIniFile", QStringLiteral("wqacc2.ini"));
  w("Zaimu", "DataListCnt", QString::number(fixtures::sample::DataSlotCount));
  w("RIvora", "AppTitle", QStringLiteral("電子帳簿"));
  w("RIvora", "DataDir", QStringLiteral("wqzview"));
  w("RIvora", "WriteDirFmt", QStringLiteral("wqz%.2dcd"));
  w("Vestimar", "AppTitle", QStringLiteral("経営ベスティマ"));
  w("Vestimar", "RegKey", QStringLiteral("VESTIMAR"));
  w("Vestimar", "HomeDir", homeDir());
  w("Veduvoru", "AppTitle", QStringLiteral("タリマン現金出納帳"));
  w("Veduvoru", "RegKey", QStringLiteral("VEDUVORU"));
  w("Veduvoru", "DataDir", QStringLiteral("cb_data"));
  w("Veduvoru", "DataBackupFile", QStringLiteral("wqcashbook.fbk"));
  w("Menu", "DataCon", QStringLiteral("データ通信"));
  w("Menu", "DataCon01", QStringLiteral("データ送信"));
  w("Menu", "DataCon02", QStringLiteral("データ受信"));
  w("Menu", "DataCon03", QStringLiteral("通信設定"));
  w("Menu", "DataConQyx01", QStringLiteral("ＱｙＸ保存"));
  w("Menu", "DataConQyx02", QStringLiteral("ＱｙＸ復元"));
  w("Menu", "MarluneMenuLimit", QStringLiteral("True"));
  return appInfoMark() + ini.toBytes();
}

bool DemoBuilder::isOwnAppInfo(const QByteArray& content)
{
  const QByteArray mark = appInfoMark();
  return content.startsWith(mark) || mark + content == appInfoIni();
}

void DemoBuilder::buildInto(const QString& physical, const QString& final, const DemoOptions& options,
                            DemoResult& result)
{
  using namespace fixtures;
  const QString commonFinal = joined(final, QStringLiteral("common"));
  const QString appDataFinal = joined(commonFinal, homeDir());
  const QString dataFinal = joined(appDataFinal, QStringLiteral("data"));
  const QString dataPhysical = rebase(dataFinal, final, physical);
  const QString appDataPhysical = rebase(appDataFinal, final, physical);
  if (!QDir().mkpath(dataPhysical) || !QDir().mkpath(joined(physical, QStringLiteral("output"))))
    throw FixtureError(QStringLiteral("cannot create folders in %1").arg(physical));

  // Databases.
  FixtureBuilder::prepareEmbeddedEngine();
  const FixtureBuilder builder;
  const QString sysPath = joined(dataPhysical, sample::systemDbName());
  builder.createSystemDatabase(sysPath);
  builder.createFileManagerDatabase(joined(dataPhysical, sample::fileManagerDbName()));
  sample::DataRootOptions rootOptions;
  rootOptions.journal = true;
  rootOptions.previousYear = true;
  rootOptions.seed = options.seed;
  {
    db::Database sysDb;
    builder.open(sysDb, sysPath);
    SystemFixture sys(sysDb);
    sample::fillSystem(sys, dataFinal);
    for (const sample::DataSet& ds : sample::plannedDataSets(dataFinal, rootOptions)) {
      const QString folder = rebase(ds.folder, final, physical);
      const QString dbPath = rebase(ds.database, final, physical);
      if (!QDir().mkpath(folder))
        throw FixtureError(QStringLiteral("cannot create %1").arg(folder));
      builder.createCompanyDatabase(dbPath, ds.kind);
      {
        db::Database company;
        builder.open(company, dbPath);
        CompanyFixture fx(company);
        sample::fillDataSet(fx, ds, rootOptions);
        writeDataFolderSettings(company, folder, ds);
      }
      sample::registerDataSet(sys, ds);
      result.dataSets << ds;
    }
  }

  // Identity file.
  writeFileAtomically(joined(physical, QStringLiteral("AppInfo.ini")), appInfoIni());

  // Local settings file: UTF-16LE with BOM.
  {
    IniFile ini(joined(appDataPhysical, appName() + QStringLiteral(".ini")), IniFile::Encoding::Utf16LeBom);
    ini.WriteString(QStringLiteral("APPLICATION"), QStringLiteral("TOP"), QStringLiteral("0"));
    ini.WriteString(QStringLiteral("APPLICATION"), QStringLiteral("LEFT"), QStringLiteral("0"));
    ini.WriteString(QStringLiteral("APPLICATION"), QStringLiteral("WIDTH"), QStringLiteral("1024"));
    ini.WriteString(QStringLiteral("APPLICATION"), QStringLiteral("HEIGHT"), QStringLiteral("738"));
    ini.WriteString(QStringLiteral("APPLICATION"), QStringLiteral("CONNECT"), QStringLiteral("0"));
    ini.WriteString(QStringLiteral("LOCAL"), QStringLiteral("HOSTNAME"), ComputerName());
    ini.WriteString(QStringLiteral("LOCAL"), QStringLiteral("GOGLOBAL"), QStringLiteral("NO"));
    ini.WriteString(QStringLiteral("LOCAL"), QStringLiteral("GROUP"), QStringLiteral("NO"));
    ini.WriteString(QStringLiteral("LOCAL"), QStringLiteral("SYSDIR"), dataFinal);
    ini.WriteString(QStringLiteral("LOCAL"), QStringLiteral("USER"), builder.credentials().user);
    ini.WriteString(QStringLiteral("LOCAL"), QStringLiteral("PASSWORD"), builder.credentials().password);
    ini.UpdateFile();
  }

  // Link settings file of the outside program (code page 932).
  {
    QDir().mkpath(joined(appDataPhysical, QStringLiteral("ini")));
    IniFile ini(joined(appDataPhysical, QStringLiteral("ini/Gensyou.ini")), IniFile::Encoding::Cp932);
    const sample::DataSet first = result.dataSets.value(0);
    ini.WriteString(QStringLiteral("UTIWAKESYO"), QStringLiteral("DATA"), first.folder);
    ini.WriteString(QStringLiteral("UTIWAKESYO"), QStringLiteral("KOMONSAKI"), first.shougou);
    ini.WriteString(QStringLiteral("UTIWAKESYO"), QStringLiteral("EXPORTFILE"),
                    joined(final, QStringLiteral("output/uchiwake.xml")));
    ini.UpdateFile();
  }

  // Registry store: the installed accounting product.
  {
    RegistryWriter reg(joined(physical, QStringLiteral("registry.ini")));
    const QString key = comRegKey() + QLatin1Char('\\') + productRegKey() + QStringLiteral("170");
    reg.WriteString(key, QStringLiteral("Product"), productTitle());
    reg.WriteString(key, QStringLiteral("Version"), productVersion());
    reg.WriteString(key, QStringLiteral("Type"), QStringLiteral("25版"));
    reg.UpdateFile();
  }

  // Environment of the program.
  {
    QByteArray env;
    env += "# Environment of the demo installation; source it before starting the program.\n";
    env += "export RENDO_DATA_ROOT=" + shellQuote(commonFinal).toUtf8() + "\n";
    env += "export RENDO_REGISTRY_FILE=" + shellQuote(joined(final, QStringLiteral("registry.ini"))).toUtf8() + "\n";
    writeFileAtomically(joined(physical, QStringLiteral("demo.env")), env);
  }

  writeFileAtomically(joined(physical, markerName()),
                      QStringLiteral("operator=%1\n").arg(sample::OperatorCode).toUtf8());
  result.dataDir = dataFinal;
}

DemoResult DemoBuilder::build(const DemoOptions& options)
{
  if (options.folder.isEmpty())
    throw fixtures::FixtureError(QStringLiteral("no demo folder given"));
  const QString final = QDir(options.folder).absolutePath();
  DemoResult result;
  result.folder = final;
  result.envFile = joined(final, QStringLiteral("demo.env"));

  const bool complete = QFileInfo::exists(joined(final, markerName()));
  if (QFileInfo::exists(final) && !QFileInfo(final).isDir())
    throw fixtures::FixtureError(QStringLiteral("%1 exists and is not a folder").arg(final));
  if (QFileInfo::exists(final) && !complete && !QDir(final).isEmpty())
    throw fixtures::FixtureError(
        QStringLiteral("%1 exists and holds no complete demo; remove it or choose another folder").arg(final));

  if (complete && !options.rebuild) {
    result.built = false;
    result.dataDir = joined(joined(joined(final, QStringLiteral("common")), homeDir()), QStringLiteral("data"));
    fixtures::sample::DataRootOptions o;
    o.previousYear = true;
    result.dataSets = fixtures::sample::plannedDataSets(result.dataDir, o);
  } else {
    const QString parent = QFileInfo(final).absolutePath();
    if (!QDir().mkpath(parent))
      throw fixtures::FixtureError(QStringLiteral("cannot create %1").arg(parent));
    QTemporaryDir work(joined(parent, QFileInfo(final).fileName() + QStringLiteral(".building-XXXXXX")));
    if (!work.isValid())
      throw fixtures::FixtureError(QStringLiteral("cannot create a work folder in %1").arg(parent));
    const QString physical = joined(work.path(), QStringLiteral("demo"));
    buildInto(physical, final, options, result);

    // Swap into place: the old demo (if any) moves aside first, then goes.
    QString aside;
    if (QFileInfo::exists(final)) {
      aside = joined(work.path(), QStringLiteral("old"));
      if (!QDir().rename(final, aside))
        throw fixtures::FixtureError(QStringLiteral("cannot move the old demo %1 aside").arg(final));
    }
    if (!QDir().rename(physical, final)) {
      if (!aside.isEmpty())
        QDir().rename(aside, final);
      throw fixtures::FixtureError(QStringLiteral("cannot move the new demo into %1").arg(final));
    }
    result.built = true;
    // `work` removes itself with the old demo in it.
  }

  if (!options.programDir.isEmpty()) {
    const QString target = joined(options.programDir, QStringLiteral("AppInfo.ini"));
    const QByteArray bytes = appInfoIni();
    QFile existing(target);
    if (!existing.exists()) {
      writeFileAtomically(target, bytes);
      result.appInfoBesideProgram = target;
    } else {
      if (!existing.open(QIODevice::ReadOnly))
        throw fixtures::FixtureError(QStringLiteral("cannot read %1: %2").arg(target, existing.errorString()));
      const QByteArray old = existing.readAll();
      existing.close();
      if (isOwnAppInfo(old)) {
        if (old != bytes)
          writeFileAtomically(target, bytes);
        result.appInfoBesideProgram = target;
      } else {
        result.appInfoKept = target;
      }
    }
  }
  return result;
}
