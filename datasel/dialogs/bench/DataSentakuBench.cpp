// Data-selection benchmark: on a stand-alone system database holding many
// registered data sets, measures the bare statement of the operator's rows
// (opened, every column the list reads fetched) against the data-selection
// dialog from its opening to the list shown (model filled, view laid out and
// painted once).
//
//   rendo_datasel_bench [--rows N] [--others N] [--rounds N] [--keep DIR]
//
// The operator's group gets N data sets (5000 unless told), three other
// groups --others each (1000); every data set has its folder on disk. With
// --keep the data root is built in DIR and left there; a DIR that already
// holds one is used as it stands (the counts are then those it was built with).
#include <algorithm>
#include <cstdio>
#include <memory>
#include <sys/resource.h>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include "common/AccRecord.h"
#include "common/DataModule.h"
#include "datasel/dialogs/DataSentaku.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "fixtures/FixtureBuilder.h"
#include "fixtures/SampleData.h"
#include "fixtures/SystemFixture.h"
#include "tests/support/PairedRounds.h"

namespace {

using namespace fixtures;

// How the list reads each column of its statement: i number, s text, d date.
constexpr char kColumnKinds[] = {'i', 'i', 's', 's', 's', 'i', 'i', 'i', 'i', 'd', 'd', 'i', 'i', 'i',
                                 'i', 'i', 'i', 's', 'i', 'i', 's', 'i', 's', 's', 's', 'i', 'i'};

// The other groups of the database.
constexpr int kOtherGroups[] = {20000, 30000, 40000};

QString argValue(const QStringList& args, const char* name)
{
  const int at = args.indexOf(QString::fromLatin1(name));
  return at >= 0 && at + 1 < args.size() ? args[at + 1] : QString();
}

// Registers data sets rec first .. first + count - 1 of a group, each with its
// folder under root (created for the operator's group).
void registerMany(SystemFixture& sys, const QString& root, int groupId, int first, int count, bool folders)
{
  static const QStringList names = {QStringLiteral("髙橋商事"), QStringLiteral("ABC物産"), QStringLiteral("さくら医院"),
                                    QStringLiteral("①工業"), QStringLiteral("ﾐﾄﾞﾘ建設")};
  for (int n = 0; n < count; ++n) {
    DataSetSpec s;
    s.groupId = groupId;
    s.rec = first + n;
    s.path = SystemFixture::dataFolder(root, s.rec);
    s.listName = names[n % names.size()] + QStringLiteral(" %1").arg(s.rec);
    s.shougou = s.listName;
    s.dataType = n % 3 + 1;
    s.codeType = 1;
    s.nendo = n % 5 + 1;
    s.kishu = QDate(2020 + n % 5, 4, 1);
    s.kimatu = s.kishu.addYears(1).addDays(-1);
    s.verMajor = 16 + n % 3;
    s.verMinor = n % 2;
    s.verText = QStringLiteral("%1.%2.0").arg(s.verMajor).arg(s.verMinor);
    s.dataCode = QStringLiteral("C%1").arg(s.rec, 5, 10, QLatin1Char('0'));
    sys.registerDataSet(s);
    if (folders && !QDir().mkpath(s.path))
      throw std::runtime_error(("cannot create " + s.path).toStdString());
  }
}

// The process records of a stand-alone operator logged on to `root`.
void logOn(const QString& root, const QString& logFolder)
{
  pcAccRecordReset();
  AppType = jxatSA;
  SystemDef.IBPATHDEF = root;
  SystemDef.IBUSER = Credentials().user;
  SystemDef.PASWORD = Credentials().password;
  SystemDef.LOG = logFolder;
  SystemDef.GROUPID = sample::GroupId;
  SystemDef.OPCODE = sample::loginCode(sample::OperatorCode);
  SystemDef.SystemDBVerMajor = 12;
  SystemDef.AppName = QStringLiteral("連動");
  AppInfo.DataFile = QStringLiteral("wqacc2.fdb");
  SystemDef.ColHeaderColor = DefColHeaderColor;
  SystemDef.RowHeaderColor = DefColHeaderColor;
  SystemDef.ColHeaderGradColor1 = DefColHeaderGradColor1;
  SystemDef.ColHeaderGradColor2 = DefColHeaderGradColor2;
  SystemDef.ClientColor = DefClientColor;
  SystemDef.ClientColor1 = DefClientColor1;
  SystemDef.ClientColor2 = DefClientColor2;
  SystemDef.TotalColor = DefTotalColor;
  SystemDef.ActiveColor = DefActiveColor;
}

// Notes the first paint of a widget.
class PaintWatch : public QObject {
 public:
  bool painted = false;
  bool eventFilter(QObject* o, QEvent* e) override
  {
    if (e->type() == QEvent::Paint)
      painted = true;
    return QObject::eventFilter(o, e);
  }
};

}  // namespace

int main(int argc, char** argv)
{
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QStringList args = app.arguments();
  const int rows = std::max(3, argValue(args, "--rows").isEmpty() ? 5000 : argValue(args, "--rows").toInt());
  const int others = std::max(0, argValue(args, "--others").isEmpty() ? 1000 : argValue(args, "--others").toInt());
  const int rounds = std::max(1, argValue(args, "--rounds").isEmpty() ? 7 : argValue(args, "--rounds").toInt());
  const QString keep = argValue(args, "--keep");

  // Settings files and the registry look-up stay in a folder of ours.
  QTemporaryDir tmp;
  qputenv("RENDO_DATA_ROOT", tmp.filePath(QStringLiteral("common")).toLocal8Bit());
  qputenv("RENDO_REGISTRY_FILE", tmp.filePath(QStringLiteral("hklm.ini")).toLocal8Bit());
  const QString root = keep.isEmpty() ? tmp.filePath(QStringLiteral("root")) : QFileInfo(keep).absoluteFilePath();

  try {
    FixtureBuilder::prepareEmbeddedEngine();
    FixtureBuilder builder;
    builder.setForcedWrites(false);
    if (!QDir().mkpath(root))
      throw std::runtime_error("cannot create the data root");
    sample::DataRoot dataRoot;
    if (!keep.isEmpty() && QFileInfo::exists(QDir(root).filePath(sample::systemDbName()))) {
      // A root an earlier run kept: used as it stands.
      dataRoot.root = root;
      dataRoot.systemDb = QDir(root).filePath(sample::systemDbName());
      std::printf("using the data root kept in %s\n", qPrintable(root));
    } else {
      std::printf("building the data root in %s ...\n", qPrintable(root));
      std::fflush(stdout);
      dataRoot = sample::buildDataRoot(builder, root);
      db::Database sysDb;
      builder.open(sysDb, dataRoot.systemDb);
      SystemFixture sys(sysDb);
      // The sample data sets keep their slots; the operator's group is filled
      // up to `rows` named data sets, each other group gets `others`.
      const int first = int(dataRoot.dataSets.size()) + 1;
      registerMany(sys, dataRoot.root, sample::GroupId, first, rows - first + 1, true);
      for (int g : kOtherGroups)
        registerMany(sys, dataRoot.root, g, 1, others, false);
      std::printf("registered: %d data sets of the operator's group, %d in each of %zu other groups\n", rows, others,
                  std::size(kOtherGroups));
    }

    logOn(dataRoot.root, tmp.filePath(QStringLiteral("log")));
    QDir().mkpath(SystemDef.LOG);
    TDM dm;
    DM = &dm;
    if (!dm.fnAccDefConnected(QString(), true))
      throw std::runtime_error("cannot connect the system database");

    // The bare statement: the operator's rows in the list's order and the
    // members of consolidated data, every column the list reads fetched.
    int bareRows = 0;
    auto bareSelect = [&] {
      db::Transaction tr(dm.IBDatabaseDEF, db::Transaction::ReadCommitted);
      tr.start();
      db::Query q(tr);
      const QString cols = QStringLiteral(
          ",ENTTEXT,SHOUGOU,PASNAME,NETDRIVE,DATATYPE,CODETYPE,NENDO,KISHU,KIMATU,DATALOCK,KYOYULOCK,"
          "TANTOU,VER_MAJOR,VER_MINOR1,VER_MINOR2,VER_TEXT,UPDATE_LOCK,GASSAN,DATACODE,DATA_STATUS,"
          "YOBI1,YOBI2,YOBI3,CLOUD,READ_ONLY");
      bareRows = 0;
      for (const QString& sql :
           {QStringLiteral("SELECT REC,0 AS ROWNO") + cols +
                QStringLiteral(" FROM DATALIST WHERE (GROUPID=:GROUPID) ORDER BY REC"),
            QStringLiteral("SELECT REC,ROWNO") + cols +
                QStringLiteral(" FROM CHILD_DATALIST WHERE (GROUPID=:GROUPID) ORDER BY REC,PASNAME")}) {
        q.setSql(sql);
        q.setParam("GROUPID", SystemDef.GROUPID);
        for (q.open(); !q.eof(); q.next()) {
          for (int c = 0; c < int(std::size(kColumnKinds)); ++c) {
            if (kColumnKinds[c] == 's')
              (void)q.field(c).asString();
            else if (kColumnKinds[c] == 'd')
              (void)q.field(c).asDateTime();
            else
              (void)q.field(c).asInt();
          }
          ++bareRows;
        }
        q.close();
      }
      tr.commit();
    };

    // The dialog: made, prepared and shown as the program does, until its
    // list has been painted once. The dialogs are closed after the rounds.
    std::vector<std::unique_ptr<TDataSentakuBox>> shown;
    int listRows = 0;
    // Where the dialog's time goes, per round: made, list read and filled,
    // shown, painted.
    std::vector<double> phase[4];
    std::vector<double> faults;  // minor page faults until the list is filled
    auto openDialog = [&] {
      QElapsedTimer t;
      t.start();
      struct rusage ru0;
      getrusage(RUSAGE_SELF, &ru0);
      auto box = std::make_unique<TDataSentakuBox>();
      PaintWatch watch;
      box->Grid()->viewport()->installEventFilter(&watch);
      box->SetManualFree(true);
      box->SetOptions({QStringLiteral("SyoriType=1")});
      phase[0].push_back(t.nsecsElapsed() / 1e6);
      box->SetPrepare(true);
      phase[1].push_back(t.nsecsElapsed() / 1e6);
      struct rusage ru1;
      getrusage(RUSAGE_SELF, &ru1);
      faults.push_back(double(ru1.ru_minflt - ru0.ru_minflt));
      box->show();
      phase[2].push_back(t.nsecsElapsed() / 1e6);
      while (!watch.painted)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
      phase[3].push_back(t.nsecsElapsed() / 1e6);
      box->Grid()->viewport()->removeEventFilter(&watch);
      listRows = box->RowCount();
      shown.push_back(std::move(box));
    };

    const bench::PairedResult r = bench::runPaired(rounds, bareSelect, openDialog);
    std::printf("rows: bare statement %d, dialog list %d\n", bareRows, listRows);
    bench::printPaired(r, "bare SELECT", "dialog to the shown list", 2.0);
    std::printf(
        "dialog phases (median, ms from the start): made %.1f, list read and filled %.1f, shown %.1f, "
        "painted %.1f\n",
        bench::median(phase[0]), bench::median(phase[1]), bench::median(phase[2]), bench::median(phase[3]));
    std::printf("minor page faults of the dialog until its list is filled (median): %.0f\n", bench::median(faults));
    for (auto& b : shown)
      b->hide();
    shown.clear();
    DM = nullptr;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "benchmark failed: %s\n", e.what());
    return 1;
  }
  if (!keep.isEmpty())
    std::printf("data root kept in %s\n", qPrintable(root));
  return 0;
}
