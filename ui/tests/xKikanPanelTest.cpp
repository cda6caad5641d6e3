// Period selectors: layout from the fiscal year, mouse drags and keys.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

#include "ui/tests/UiTestUtil.h"
#include "ui/xKikanPanel12.h"
#include "ui/xKikanPanel16.h"
#include "ui/xKikanPanel4.h"

namespace {

TDateTime D(int y, int m, int d)
{
  return EncodeDate(y, m, d);
}

QString labels(const TxKikanPanelBase& p)
{
  QStringList out;
  for (int i = 0; i < p.CellCount(); ++i)
    out << (p.Cell(i)->text().isEmpty() ? QStringLiteral("_") : p.Cell(i)->text());
  return out.join(QLatin1Char(' '));
}

QString enabledCells(const TxKikanPanelBase& p)
{
  QString out;
  for (int i = 0; i < p.CellCount(); ++i)
    out += p.Cell(i)->isEnabled() ? QLatin1Char('E') : QLatin1Char('.');
  return out;
}

// Sends a mouse event to a cell as the window system does: while a button
// is held, moves go to the cell that was pressed.
void sendMouse(QWidget* ACell, QEvent::Type AType, QPoint APos, Qt::MouseButton AButton, Qt::MouseButtons AButtons)
{
  QMouseEvent e(AType, QPointF(APos), ACell->mapToGlobal(QPointF(APos)), AButton, AButtons, Qt::NoModifier);
  QApplication::sendEvent(ACell, &e);
}

// Press on cell AFrom, move over the cells of APath, release.
void drag(TxKikanPanelBase& p, int AFrom, std::initializer_list<int> APath, Qt::MouseButton AButton = Qt::LeftButton)
{
  QLabel* start = p.Cell(AFrom);
  sendMouse(start, QEvent::MouseButtonPress, QPoint(3, 3), AButton, AButton);
  QPoint last(3, 3);
  for (int to : APath) {
    last = start->mapFrom(&p, p.CellRect(to).center());
    sendMouse(start, QEvent::MouseMove, last, Qt::NoButton, AButton);
  }
  sendMouse(start, QEvent::MouseButtonRelease, last, AButton, Qt::NoButton);
}

struct TSignals {
  explicit TSignals(TxKikanPanelBase& p)
  {
    QObject::connect(&p, &TxKikanPanelBase::OnMouseDown,
                     [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint) { downs.append(b); });
    QObject::connect(&p, &TxKikanPanelBase::OnMouseUp,
                     [this](Qt::MouseButton, Qt::KeyboardModifiers, QPoint) { ++ups; });
    QObject::connect(&p, &TxKikanPanelBase::OnDblClick, [this] { ++dbl; });
  }
  QList<Qt::MouseButton> downs;
  int ups = 0;
  int dbl = 0;
};

// ------------------------------------------------------------ 16 cells

TEST(TxKikanPanel16Test, CellsFollowTheFiscalYear)
{
  struct Case {
    const char* name;
    TDateTime kishu, kimatu, kaisi;
    int sime;
    const char* labels;
    const char* enabled;
    int stMonth, kikan, lastNo, stno, edno;
  } cases[] = {
      {"calendar year", D(2024, 1, 1), D(2024, 12, 31), D(2024, 1, 1), 99, "1 2 3 ・ 4 5 6 ・ 7 8 9 ・ 10 11 12 決",
       "EEEEEEEEEEEEEEEE", 0, 15, 15, 0, 15},
      {"April to March", D(2024, 4, 1), D(2025, 3, 31), D(2024, 4, 1), 99, "4 5 6 ・ 7 8 9 ・ 10 11 12 ・ 1 2 3 決",
       "EEEEEEEEEEEEEEEE", 0, 15, 15, 0, 15},
      {"six months", D(2024, 4, 1), D(2024, 9, 30), D(2024, 4, 1), 99, "4 5 6 ・ 7 8 9 決 _ _ _ _ _ _ _ _",
       "EEEEEEEE........", 0, 7, 7, 0, 7},
      {"closing day 20", D(2024, 4, 21), D(2025, 4, 20), D(2024, 4, 21), 20, "5 6 7 ・ 8 9 10 ・ 11 12 1 ・ 2 3 4 決",
       "EEEEEEEEEEEEEEEE", 0, 15, 15, 0, 15},
      {"data from the fourth month", D(2024, 4, 1), D(2025, 3, 31), D(2024, 7, 1), 99,
       "4 5 6 ・ 7 8 9 ・ 10 11 12 ・ 1 2 3 決", "....EEEEEEEEEEEE", 4, 15, 15, 4, 15},
      {"data from the last month", D(2024, 1, 1), D(2024, 12, 31), D(2024, 12, 5), 99,
       "1 2 3 ・ 4 5 6 ・ 7 8 9 ・ 10 11 12 決", "..............EE", 14, 15, 15, 14, 15},
      // Longer years never index past the sixteen cells: the months after
      // the twelfth share the last month cell.
      {"fifteen months", D(2024, 1, 1), D(2025, 3, 31), D(2024, 1, 1), 99, "1 2 3 ・ 4 5 6 ・ 7 8 9 ・ 10 11 12 決",
       "EEEEEEEEEEEEEEEE", 0, 15, 15, 0, 15},
      {"eighteen months", D(2024, 4, 1), D(2025, 9, 30), D(2024, 4, 1), 99, "4 5 6 ・ 7 8 9 ・ 10 11 12 ・ 1 2 3 決",
       "EEEEEEEEEEEEEEEE", 0, 15, 15, 0, 15},
  };
  TxKikanPanel16 p;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    p.SetKikan(c.kishu, c.kimatu, c.kaisi, c.sime);
    EXPECT_EQ(labels(p), QString::fromUtf8(c.labels));
    EXPECT_EQ(enabledCells(p), QString::fromUtf8(c.enabled));
    EXPECT_EQ(p.StMonth(), c.stMonth);
    EXPECT_EQ(p.Kikan(), c.kikan);
    EXPECT_EQ(p.LastNo(), c.lastNo);
    EXPECT_EQ(p.Stno(), c.stno);
    EXPECT_EQ(p.Edno(), c.edno);
    EXPECT_EQ(p.EdMonthNo(), 15);  // the closing cell stands for period index 15
  }
}

TEST(TxKikanPanel16Test, ConstructionCoversTheCurrentCalendarYear)
{
  TxKikanPanel16 p;
  EXPECT_EQ(labels(p), QStringLiteral("1 2 3 ・ 4 5 6 ・ 7 8 9 ・ 10 11 12 決"));
  EXPECT_EQ(p.Stno(), 0);
  EXPECT_EQ(p.Edno(), 15);
  EXPECT_EQ(p.LastNo(), 15);
  EXPECT_EQ(p.BackColor(), clNavy);
  EXPECT_EQ(p.Cell(0)->objectName(), QStringLiteral("No1"));
  EXPECT_EQ(p.Cell(15)->objectName(), QStringLiteral("No16"));
  EXPECT_TRUE(p.KikanMove());
  EXPECT_TRUE(p.Kessan());
}

TEST(TxKikanPanel16Test, SwitchingTheClosingCellOffKeepsTheRangeSelectable)
{
  struct Case {
    const char* name;
    TDateTime kimatu;
    int stno, edno;      // preset before Kessan := False
    int wantSt, wantEd;  // after
    int wantKikan, wantLastNo;
    int offCell;  // the cell switched off
  } cases[] = {
      {"full year, whole range", D(2025, 3, 31), 0, 15, 0, 14, 14, 15, 15},
      {"full year, only the closing cell", D(2025, 3, 31), 15, 15, 14, 14, 14, 15, 15},
      {"six months", D(2024, 9, 30), 4, 7, 4, 6, 6, 7, 7},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TxKikanPanel16 p;
    p.SetKikan(D(2024, 4, 1), c.kimatu, D(2024, 4, 1), 99);
    p.SetStno(c.stno);
    p.SetEdno(c.edno);
    p.SetKessan(false);
    EXPECT_EQ(p.Stno(), c.wantSt);
    EXPECT_EQ(p.Edno(), c.wantEd);
    EXPECT_EQ(p.Kikan(), c.wantKikan);
    EXPECT_EQ(p.LastNo(), c.wantLastNo);
    EXPECT_FALSE(p.Cell(c.offCell)->isEnabled());
    EXPECT_TRUE(p.Cell(c.offCell)->text().isEmpty());
    // Nor can a drag reach it.
    drag(p, c.wantKikan - 1, {c.wantKikan, c.offCell});
    EXPECT_EQ(p.Edno(), c.wantKikan);

    p.SetKessan(true);
    EXPECT_TRUE(p.Cell(c.offCell)->isEnabled());
    EXPECT_EQ(p.Cell(c.offCell)->text(), QStringLiteral("決"));
    EXPECT_EQ(p.Kikan(), c.offCell);
  }
}

TEST(TxKikanPanel16Test, KessanOffBeforeSetKikanLeavesTheCellAfterTheLastMonthDisabled)
{
  TxKikanPanel16 p;
  p.SetKessan(false);
  p.SetKikan(D(2024, 4, 1), D(2025, 3, 31), D(2024, 4, 1), 99);
  EXPECT_EQ(p.Kikan(), 14);
  EXPECT_EQ(p.LastNo(), 15);
  EXPECT_EQ(p.Edno(), 14);
  EXPECT_FALSE(p.Cell(15)->isEnabled());
  EXPECT_TRUE(p.Cell(15)->text().isEmpty());
}

TEST(TxKikanPanel16Test, RangeSetters)
{
  TxKikanPanel16 p;
  p.SetKikan(D(2024, 4, 1), D(2024, 9, 30), D(2024, 4, 1), 99);  // LastNo 7
  p.SetEdno(12);
  EXPECT_EQ(p.Edno(), 7);
  p.SetStno(9);  // stored as given
  EXPECT_EQ(p.Stno(), 9);
  EXPECT_EQ(p.StMonthNo(), -1);  // an unlabelled cell
  p.SetStno(2);
  p.SetKikanMove(false);
  EXPECT_EQ(p.Edno(), 2);
}

TEST(TxKikanPanel16Test, MouseDrags)
{
  struct Case {
    const char* name;
    bool kikanMove;
    TDateTime kimatu;
    int from;
    std::initializer_list<int> path;
    int stno, edno;
  } cases[] = {
      {"single press", true, D(2025, 3, 31), 6, {}, 6, 6},
      {"drag forward", true, D(2025, 3, 31), 2, {3, 4, 8}, 2, 8},
      {"drag back from 9 to 5", true, D(2025, 3, 31), 9, {8, 6, 5}, 5, 9},
      {"over the closing cell", true, D(2025, 3, 31), 12, {15}, 12, 15},
      {"into the disabled cells", true, D(2024, 9, 30), 2, {5, 11, 14}, 2, 5},
      {"no range allowed", false, D(2025, 3, 31), 3, {8}, 3, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QWidget form;
    TxKikanPanel16 p(&form);
    form.show();
    TSignals s(p);
    p.SetKikanMove(c.kikanMove);
    p.SetKikan(D(2024, 4, 1), c.kimatu, D(2024, 4, 1), 99);
    drag(p, c.from, c.path);
    EXPECT_EQ(p.Stno(), c.stno);
    EXPECT_EQ(p.Edno(), c.edno);
    EXPECT_FALSE(p.Dragging());
    EXPECT_EQ(s.downs, (QList<Qt::MouseButton>{Qt::LeftButton}));
    EXPECT_EQ(s.ups, 1);
    // Selected cells are painted in BackColor, the others in button face.
    for (int i = 0; i < 16; ++i) {
      const bool in = i >= c.stno && i <= c.edno;
      EXPECT_EQ(p.Cell(i)->palette().color(QPalette::Window), toQColor(in ? clNavy : clBtnFace)) << i;
    }
  }
}

TEST(TxKikanPanel16Test, OtherButtonsAndDisabledCellsChangeNothing)
{
  QWidget form;
  TxKikanPanel16 p(&form);
  form.show();
  p.SetKikan(D(2024, 4, 1), D(2025, 3, 31), D(2024, 7, 1), 99);  // cells 0-3 disabled
  TSignals s(p);
  drag(p, 8, {10}, Qt::RightButton);
  EXPECT_EQ(p.Stno(), 4);
  EXPECT_EQ(p.Edno(), 15);
  EXPECT_EQ(s.downs, (QList<Qt::MouseButton>{Qt::RightButton}));  // press reported
  EXPECT_EQ(s.ups, 0);                                            // release not
  drag(p, 1, {6});                                                // a disabled cell cannot be pressed
  EXPECT_EQ(p.Stno(), 4);
  EXPECT_EQ(p.Edno(), 15);
  EXPECT_EQ(s.ups, 0);
  sendMouse(p.Cell(9), QEvent::MouseButtonDblClick, QPoint(2, 2), Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(s.dbl, 1);
  p.setEnabled(false);
  EXPECT_EQ(p.Cell(5)->palette().color(QPalette::Window), toQColor(clSilver));
  EXPECT_EQ(p.Cell(2)->palette().color(QPalette::Window), toQColor(clBtnFace));
}

TEST(TxKikanPanel16Test, Keys)
{
  struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers mods = Qt::NoModifier;
  };
  const Key R{Qt::Key_Right}, L{Qt::Key_Left}, SR{Qt::Key_Right, Qt::ShiftModifier},
      SL{Qt::Key_Left, Qt::ShiftModifier}, SHIFTUP{Qt::Key_Shift}, ENTER{Qt::Key_Return};
  struct Case {
    const char* name;
    TDateTime kaisi;
    int stno, edno;  // preset
    std::vector<Key> keys;
    int wantSt, wantEd, ups;
  } cases[] = {
      {"right from a range moves one cell", D(2024, 4, 1), 0, 15, {R}, 1, 1, 0},
      {"left stops at the first month", D(2024, 4, 1), 1, 1, {L, L, L}, 0, 0, 0},
      {"left stops at the data start", D(2024, 7, 1), 5, 5, {L, L, L}, 4, 4, 0},
      {"right stops at the closing cell", D(2024, 4, 1), 14, 14, {R, R, R}, 15, 15, 0},
      {"shift extends forward", D(2024, 4, 1), 2, 2, {SR, SR, SHIFTUP}, 2, 4, 0},
      {"shift extends backward, release orders", D(2024, 4, 1), 5, 5, {SL, SL, SHIFTUP}, 3, 5, 0},
      {"shift stops at the data start", D(2024, 7, 1), 5, 5, {SL, SL, SL, SHIFTUP}, 4, 5, 0},
      {"enter reports the selection", D(2024, 4, 1), 3, 3, {R, ENTER}, 4, 4, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QWidget form;
    TxKikanPanel16 p(&form);
    form.show();
    p.SetKikan(D(2024, 4, 1), D(2025, 3, 31), c.kaisi, 99);
    p.SetStno(c.stno);
    p.SetEdno(c.edno);
    TSignals s(p);
    for (const Key& k : c.keys) {
      if (k.key == Qt::Key_Shift)
        QTest::keyRelease(&p, Qt::Key_Shift);
      else
        QTest::keyClick(&p, k.key, k.mods);
    }
    EXPECT_EQ(p.Stno(), c.wantSt);
    EXPECT_EQ(p.Edno(), c.wantEd);
    EXPECT_EQ(s.ups, c.ups);
  }
}

TEST(TxKikanPanel16Test, LeavingAfterArrowKeysReportsTheSelection)
{
  QWidget form;
  TxKikanPanel16 p(&form);
  QLineEdit* next = new QLineEdit(&form);
  next->move(0, 40);
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  p.setFocus();
  TSignals s(p);
  EXPECT_EQ(p.palette().color(QPalette::Window), QColor(128, 128, 128));  // focus mark
  QTest::keyClick(&p, Qt::Key_Right);
  EXPECT_TRUE(p.KbdMouse());
  next->setFocus();
  EXPECT_EQ(s.ups, 1);
  EXPECT_FALSE(p.KbdMouse());
  p.setFocus();
  next->setFocus();  // no arrow key this time
  EXPECT_EQ(s.ups, 1);
}

TEST(TxKikanPanel16Test, FinalisedPeriodsAreMarked)
{
  TxKikanPanel16 p;
  p.SetKikan(D(2024, 4, 1), D(2025, 3, 31), D(2024, 4, 1), 99);
  p.SetStno(6);
  p.SetEdno(8);
  p.SetKakuteiMNo(5);
  p.SetKakuteiMode(true);
  const QColor orange = toQColor(RGBColor(255, 128, 64));
  for (int i = 0; i < 16; ++i) {
    const QColor want = (i >= 6 && i <= 8) ? toQColor(clNavy) : i < 5 ? orange : toQColor(clBtnFace);
    EXPECT_EQ(p.Cell(i)->palette().color(QPalette::Window), want) << i;
  }
}

// ------------------------------------------------------------ 12 and 4 cells

TEST(TxKikanPanel12Test, MonthsAndNormalisedRange)
{
  TxKikanPanel12 p;
  EXPECT_EQ(labels(p), QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 12"));
  EXPECT_EQ(p.LastNo(), 11);
  p.SetKikan(D(2024, 4, 1), D(2025, 3, 31), D(2024, 4, 1), 99);
  EXPECT_EQ(labels(p), QStringLiteral("4 5 6 7 8 9 10 11 12 1 2 3"));
  EXPECT_EQ(p.EdMonNo(), 14);

  struct Case {
    char which;
    int value;
    int wantSt, wantEd;
  } cases[] = {
      {'E', 3, 0, 3},
      {'S', 9, 3, 9},    // past Edno: the two swap
      {'E', 20, 3, 11},  // capped at the last month
      {'S', -4, 0, 11},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    if (c.which == 'S')
      p.SetStno(c.value);
    else
      p.SetEdno(c.value);
    EXPECT_EQ(p.Stno(), c.wantSt);
    EXPECT_EQ(p.Edno(), c.wantEd);
  }
  drag(p, 10, {7});
  EXPECT_EQ(p.Stno(), 7);
  EXPECT_EQ(p.Edno(), 10);
  EXPECT_EQ(p.StMonNo(), 9);
}

TEST(TxKikanPanel4Test, QuartersAndHalves)
{
  struct Case {
    const char* name;
    int btnCnt;
    bool kikanMove;
    TDateTime kaisi;
    const char* labels;
    const char* enabled;
    int stno, edno;
  } cases[] = {
      {"quarters, whole year", 4, true, D(2024, 4, 1), "1 2 3 4", "EEEE", 0, 0},
      {"quarters, data from month 5", 4, false, D(2024, 8, 1), "1 2 3 4", ".EEE", 1, 3},
      {"halves, data from month 8", 2, true, D(2024, 11, 1), "上 下 _ _", ".E..", 1, 1},
      {"halves, whole year", 2, false, D(2024, 4, 1), "上 下 _ _", "EE..", 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TxKikanPanel4 p;
    p.SetBtnCnt(c.btnCnt);
    p.SetKikanMove(c.kikanMove);
    p.SetKikan(D(2024, 4, 1), D(2025, 3, 31), c.kaisi, 99);
    EXPECT_EQ(labels(p), QString::fromUtf8(c.labels));
    EXPECT_EQ(enabledCells(p).left(c.btnCnt), QString::fromUtf8(c.enabled).left(c.btnCnt));
    EXPECT_EQ(p.Stno(), c.stno);
    EXPECT_EQ(p.Edno(), c.edno);
  }
  TxKikanPanel4 p;
  p.SetBtnCnt(3);
  EXPECT_EQ(p.BtnCnt(), 4);
  EXPECT_EQ(labels(p), QStringLiteral("1 2 3 4"));
}

TEST(TxKikanPanel4Test, ArrowKeysMoveWithinTheEnabledQuarters)
{
  struct Case {
    const char* name;
    TDateTime kaisi;
    std::vector<Qt::Key> keys;
    int want;
  } cases[] = {
      {"right", D(2024, 7, 1), {Qt::Key_Right}, 2},
      {"right wraps to the first enabled", D(2024, 7, 1), {Qt::Key_Right, Qt::Key_Right, Qt::Key_Right}, 1},
      {"left from the last", D(2024, 7, 1), {Qt::Key_Right, Qt::Key_Right, Qt::Key_Left}, 2},
      {"left stops at the first enabled", D(2024, 7, 1), {Qt::Key_Left, Qt::Key_Left}, 1},
      {"whole year", D(2024, 4, 1), {Qt::Key_Right, Qt::Key_Right, Qt::Key_Left}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QWidget form;
    TxKikanPanel4 p(&form);
    form.show();
    p.SetKikan(D(2024, 4, 1), D(2025, 3, 31), c.kaisi, 99);
    for (Qt::Key k : c.keys)
      QTest::keyClick(&p, k);
    EXPECT_EQ(p.Stno(), c.want);
    EXPECT_EQ(p.Edno(), c.want);
  }
}

TEST(TxKikanPanelScreens, Screenshots)
{
  QWidget form;
  form.resize(400, 120);
  TxKikanPanel16 p16(&form);
  p16.setGeometry(10, 10, 16 * 22 + 8, 24);
  p16.SetKikan(D(2024, 4, 1), D(2025, 3, 31), D(2024, 4, 1), 99);
  p16.SetStno(4);
  p16.SetEdno(9);
  TxKikanPanel12 p12(&form);
  p12.setGeometry(10, 45, 12 * 22 + 8, 24);
  p12.SetKikan(D(2024, 4, 1), D(2025, 3, 31), D(2024, 4, 1), 99);
  p12.SetStno(2);
  p12.SetEdno(5);
  TxKikanPanel4 p4(&form);
  p4.move(10, 80);
  p4.SetKikan(D(2024, 4, 1), D(2025, 3, 31), D(2024, 7, 1), 99);
  form.show();
  EXPECT_TRUE(uitest::saveScreenshot(&form, QStringLiteral("kikan_panels")));
}

}  // namespace
