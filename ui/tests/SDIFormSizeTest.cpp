// Form sizes stored in a fixture system database.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>

#include "common/AccRecord.h"
#include "common/FormSizeStore.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TempDir.h"
#include "ui/SDI.h"

namespace {

class TSizedBox : public TBSDI {
 public:
  TSizedBox() : TBSDI(nullptr, bsSizeable)
  {
    setObjectName(QStringLiteral("DataSentakuBox"));
    resize(600, 400);
    FormCreate();
    InitFlg = true;
  }
};

struct TRow {
  int top, left, height, width, defHeight, defWidth;
  bool operator==(const TRow&) const = default;
};

std::vector<TRow> rows(db::Transaction& tr, int op)
{
  const bool started = tr.startIfNeeded();
  db::Query q(tr, QStringLiteral("SELECT FMTOP,FMLEFT,FMHEIGHT,FMWIDTH,DEFHEIGHT,DEFWIDTH FROM FORMRSIZE "
                                 "WHERE OPCODE=:OP AND FMNAME='DataSentakuBox'"));
  q.setParam(QStringLiteral("OP"), op);
  std::vector<TRow> out;
  for (q.open(); !q.eof(); q.next())
    out.push_back({q.field(QStringLiteral("FMTOP")).asInt(), q.field(QStringLiteral("FMLEFT")).asInt(),
                   q.field(QStringLiteral("FMHEIGHT")).asInt(), q.field(QStringLiteral("FMWIDTH")).asInt(),
                   q.field(QStringLiteral("DEFHEIGHT")).asInt(), q.field(QStringLiteral("DEFWIDTH")).asInt()});
  q.close();
  if (started)
    tr.commit();
  return out;
}

TEST(TFormSizeStoreDBTest, FirstOpeningCreatesTheRowAndClosingUpdatesIt)
{
  TestTempDir dir;
  const QString path = testfx::makeSystemDb(dir.path());
  db::Database database(path);
  database.setUser(QStringLiteral("ABACOR"));
  database.setPassword(QStringLiteral("dormil"));
  database.connect();
  db::Transaction tr(database);
  TFormSizeStoreDB store(tr);
  pcSetFormSizeStore(&store);
  const int keepOp = SystemDef.OPCODE;

  struct Step {
    int op;
    QPoint moveTo;
    QSize resizeTo;
    QSize shownAt;  // size right after the show
    TRow stored;
  } steps[] = {
      // First opening by operator 3: the default size, then what the
      // operator left it at.
      {3, {40, 50}, {800, 500}, {1002, 642}, {50, 40, 500, 800, 642, 1002}},
      // Second opening: restored; moved off screen: kept as 0.
      {3, {-30, -5}, {700, 450}, {800, 500}, {0, 0, 450, 700, 642, 1002}},
      // Another operator has a row of his own.
      {4, {10, 10}, {900, 600}, {1002, 642}, {10, 10, 600, 900, 642, 1002}},
  };
  // On a screen of 96 pixels per inch a form grows no larger than the
  // screen (the test screen may be smaller than the default size).
  const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
  for (const auto& s : steps) {
    SCOPED_TRACE(s.op);
    SystemDef.OPCODE = s.op;
    auto* box = new TSizedBox;
    box->show();
    EXPECT_EQ(box->size(), s.shownAt.boundedTo(screen));
    box->move(s.moveTo);
    box->resize(s.resizeTo);
    box->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const auto got = rows(tr, s.op);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].top, s.stored.top);
    EXPECT_EQ(got[0].left, s.stored.left);
    EXPECT_EQ(got[0].height, std::min(s.stored.height, screen.height()));
    EXPECT_EQ(got[0].width, std::min(s.stored.width, screen.width()));
    EXPECT_EQ(got[0].defHeight, s.stored.defHeight);
    EXPECT_EQ(got[0].defWidth, s.stored.defWidth);
    EXPECT_FALSE(tr.inTransaction());  // what was started here was ended
  }

  // SetInitFormSize: inserts only when the operator has no row (or asked to).
  SystemDef.OPCODE = 5;
  {
    TSizedBox box;
    box.SetManualFree(true);
    box.SetInitFormSize(0, 0, 0, 0, false);
    box.SetInitFormSize(0, 0, 300, 200, false);  // has a row now: nothing
    const auto got = rows(tr, 5);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0], (TRow{0, 0, 400, 600, 400, 600}));
  }
  SystemDef.OPCODE = keepOp;
  pcSetFormSizeStore(nullptr);
  database.disconnect();
}

}  // namespace
