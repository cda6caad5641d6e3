// Window and screen helpers: bringing a window to the front, discarding the
// input queued for a window, finding windows, the screen facts handed to the
// scaling routines and the pixel width of a text.
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include "common/AccFunction2.h"
#include "common/AccRecord.h"
#include "ui/AccFunctionUi.h"
#include "ui/SDI.h"

namespace {

// Records the types of the events that reach it.
class TEventLog : public QWidget {
 public:
  using QWidget::QWidget;
  QList<QEvent::Type> types;

 protected:
  bool event(QEvent* AEvent) override
  {
    switch (AEvent->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove:
      case QEvent::Wheel:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::User:
        types << AEvent->type();
        break;
      default:
        break;
    }
    return QWidget::event(AEvent);
  }
};

QMouseEvent* mouse(QEvent::Type AType)
{
  const QPointF p(5, 5);
  return new QMouseEvent(AType, p, p, p, Qt::LeftButton,
                         AType == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
}

// Posts one event of every kind of input, and a non-input event, to AWidget.
void postAllInput(QWidget* AWidget)
{
  for (QEvent::Type t :
       {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick, QEvent::MouseMove})
    QCoreApplication::postEvent(AWidget, mouse(t));
  QCoreApplication::postEvent(AWidget, new QWheelEvent(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 120),
                                                       Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false));
  QCoreApplication::postEvent(AWidget, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a")));
  QCoreApplication::postEvent(AWidget,
                              new QKeyEvent(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("a")));
  QCoreApplication::postEvent(AWidget, new QEvent(QEvent::User));
}

TEST(AccFunctionUi, FlushDiscardsOnlyTheQueuedInputOfTheWindow)
{
  QWidget winA;
  auto* inA = new TEventLog(&winA);
  auto* deepA = new TEventLog(inA);
  QWidget winB;
  auto* inB = new TEventLog(&winB);
  winA.show();
  winB.show();
  QCoreApplication::processEvents();
  inA->types.clear();
  inB->types.clear();

  postAllInput(inA);
  postAllInput(deepA);
  postAllInput(inB);
  // Input that reaches the window while the queue is being emptied goes too.
  QTimer::singleShot(0, deepA, [deepA] {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, QStringLiteral("b"));
    QCoreApplication::sendEvent(deepA, &press);
  });
  pcFlushInputMessages(&winA);
  QCoreApplication::processEvents();

  const QList<QEvent::Type> onlyUser{QEvent::User};
  EXPECT_EQ(inA->types, onlyUser);
  EXPECT_EQ(deepA->types, onlyUser);
  EXPECT_EQ(inB->types.size(), 8) << "another window's input stays queued";

  // Afterwards input reaches the window again.
  QTest::mouseClick(inA, Qt::LeftButton);
  EXPECT_TRUE(inA->types.contains(QEvent::MouseButtonPress));
  pcFlushInputMessages(nullptr);
}

TEST(AccFunctionUi, ForceForegroundRestoresRaisesAndActivates)
{
  QWidget first;
  QWidget second;
  auto* edit = new QLineEdit(&second);
  first.show();
  second.show();
  second.showMinimized();
  first.activateWindow();
  QTRY_COMPARE(QApplication::activeWindow(), &first);

  pcForceForegroundWindow(edit);  // any widget stands for its window
  EXPECT_FALSE(second.isMinimized());
  QTRY_COMPARE(QApplication::activeWindow(), &second);

  QWidget hidden;
  pcForceForegroundWindow(&hidden);
  EXPECT_FALSE(hidden.isVisible()) << "a hidden window is not shown";
  pcForceForegroundWindow(nullptr);
}

TEST(AccFunctionUi, FindWindowByClassAndTitle)
{
  QDialog dialog;
  dialog.setWindowTitle(QStringLiteral("Data Copy"));
  QDialog hiddenDialog;
  hiddenDialog.setWindowTitle(QStringLiteral("Data Copy"));
  QMainWindow main;
  main.setWindowTitle(QStringLiteral("連動ﾃﾞｰﾀの作成"));
  dialog.show();
  main.show();

  struct Case {
    const char *className, *title;
    QWidget* expected;
  } cases[] = {
      {"QDialog", "Data Copy", &dialog},
      {"qdialog", "DATA COPY", &dialog},  // neither compare minds case
      {"", "連動ﾃﾞｰﾀの作成", &main},
      {"QMainWindow", "", &main},
      {"QDialog", "Other", nullptr},
      {"QMainWindow", "Data Copy", nullptr},
      {"", "", nullptr},
      {"Desktop", "", nullptr},  // no desktop icon view among our windows
      {"desktop", "Data Copy", nullptr},
  };
  for (const Case& c : cases)
    EXPECT_EQ(fnFindWindowEx(QString::fromUtf8(c.className), QString::fromUtf8(c.title)), c.expected)
        << c.className << " / " << c.title;

  dialog.hide();
  QWidget* found = fnFindWindowEx(QStringLiteral("QDialog"), QStringLiteral("Data Copy"));
  EXPECT_TRUE(found == &dialog || found == &hiddenDialog) << "hidden windows are found when nothing else is";
}

TEST(AccFunctionUi, ScreenMetricsComeFromTheMainFormOrTheScreen)
{
  const TSystemDef keep = SystemDef;
  const int screenPpi = static_cast<int>(std::lround(QGuiApplication::primaryScreen()->logicalDotsPerInchY()));

  TBSDI::SetMainForm(nullptr);
  pcApplyScreenMetrics();
  EXPECT_EQ(fnScaleDpi(960, 96, 0), 960 * 96 / screenPpi);
  EXPECT_EQ(fnFrameHeightAdjust(500, 0), 500) << "no frame correction";
  EXPECT_EQ(fnFrameHeightAdjust(500, 1), 500);

  // A base form as main form: its zoomed resolution once it has been shown.
  SystemDef.NowFont = {QString(), 12, 0, 0, -16};
  SystemDef.DefaultFont = {QString(), 10, 0, 0, -13};
  auto form = std::make_unique<TBSDI>(nullptr, bsDialog);
  form->SetManualFree(true);
  TBSDI::SetMainForm(form.get());
  EXPECT_EQ(fnScaleDpi(960, 96, 0), 960 * 96 / form->logicalDpiY()) << "not shown yet";
  form->FormCreate();
  form->InitFlg = true;
  form->show();
  ASSERT_NE(form->ZoomDpi, 96);
  pcApplyScreenMetrics();
  EXPECT_EQ(fnScaleDpi(960, 96, 0), 960 * 96 / form->ZoomDpi);

  TBSDI::SetMainForm(nullptr);
  form.reset();
  SystemDef = keep;
  pcSetScreenMetrics(96, 4);
}

TEST(AccFunctionUi, TextPixelWidthScalesAndTruncates)
{
  QFont small = QApplication::font();
  small.setPointSize(10);
  QFont large = small;
  large.setPointSize(20);
  const QString text = QStringLiteral("Account 123");

  const int w = fnTextPixelWidth(text, small, 1.0);
  ASSERT_GT(w, 0);
  EXPECT_EQ(fnTextPixelWidth(QString(), small, 1.0), 0);
  EXPECT_EQ(fnTextPixelWidth(text, small, 2.0), 2 * w);
  EXPECT_EQ(fnTextPixelWidth(text, small, 0.5), w / 2) << "truncated, not rounded";
  EXPECT_EQ(fnTextPixelWidth(text, small, 0.0), 0);
  EXPECT_GT(fnTextPixelWidth(text, large, 1.0), w);
  EXPECT_GT(fnTextPixelWidth(text + text, small, 1.0), w);
}

}  // namespace
