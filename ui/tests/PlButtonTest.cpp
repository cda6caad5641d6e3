// The panel button: its drawing arithmetic, the modal result it hands to the
// form before its click handlers, Enter and Esc, the round shape and the
// kinds of picture it keeps.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTest>

#include "tests/support/TempDir.h"
#include "ui/ModalResult.h"
#include "ui/xEdit.h"
#include "ui/xPlButton.h"

namespace {

struct TDialog {
  QDialog dlg;
  TxEdit* edit;
  TxPlButton* ok;
  TxPlButton* cancel;

  TDialog()
  {
    dlg.resize(300, 120);
    edit = new TxEdit(&dlg);
    edit->setGeometry(10, 10, 100, 24);
    ok = new TxPlButton(&dlg);
    ok->move(10, 60);
    cancel = new TxPlButton(&dlg);
    cancel->move(100, 60);
    dlg.open();
    QApplication::setActiveWindow(&dlg);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dlg));
  }
};

}  // namespace

TEST(PlButton, NewButtonHasItsStartValues)
{
  TxPlButton b;
  EXPECT_EQ(b.size(), QSize(75, 26));
  EXPECT_EQ(b.ButtonStyle(), bsNormal);
  EXPECT_TRUE(b.Gradation());
  EXPECT_EQ(b.GradBeginColor(), QColor(255, 255, 255));
  EXPECT_EQ(b.GradEndColor(), QColor(192, 192, 192));
  EXPECT_TRUE(b.HasFocus());
  EXPECT_EQ(b.focusPolicy(), Qt::StrongFocus);
  EXPECT_EQ(b.ModalResult(), mrNone);
  EXPECT_EQ(b.CaptionLineSpace(), 4);
  EXPECT_EQ(b.RoundDiameter(), 10);
  EXPECT_EQ(b.Image().Left(), 10);
  EXPECT_TRUE(b.Image().VertCenter());
  EXPECT_FALSE(b.Image().HorzCenter());

  // The first parent gives the first caption line the button's name.
  QWidget form;
  auto* named = new TxPlButton;
  named->setObjectName(QStringLiteral("btnKakutei"));
  named->setParent(&form);
  EXPECT_EQ(named->CaptionA().Caption(), QStringLiteral("btnKakutei"));
  named->CaptionA().setCaption(QStringLiteral("OK"));
  named->setParent(nullptr);
  named->setParent(&form);
  EXPECT_EQ(named->CaptionA().Caption(), QStringLiteral("OK"));
}

TEST(PlButton, GradientRowsAreDrawnWithTruncatingArithmetic)
{
  TxPlButton b;
  b.setButtonStyle(bsFlatNoFrame);
  b.setHasFocus(false);
  const QImage img = b.grab().toImage();
  ASSERT_EQ(img.height(), 26);
  struct TCase {
    int row;
    int value;
  } cases[] = {{0, 255}, {12, 225}, {13, 223}, {25, 192}};
  for (const TCase& c : cases) {
    const QColor px = img.pixelColor(37, c.row);
    EXPECT_EQ(px.red(), c.value) << "row " << c.row;
    EXPECT_EQ(px.green(), c.value) << "row " << c.row;
    EXPECT_EQ(px.blue(), c.value) << "row " << c.row;
    EXPECT_EQ(TxPlButton::fnGradientRow(QColor(255, 255, 255), QColor(192, 192, 192), c.row, 26),
              QColor(c.value, c.value, c.value));
  }
  // A falling channel with a negative step truncates toward zero.
  EXPECT_EQ(TxPlButton::fnGradientRow(QColor(0, 100, 200), QColor(10, 50, 200), 1, 4), QColor(3, 84, 200));
  EXPECT_EQ(TxPlButton::fnGradientRow(QColor(7, 7, 7), QColor(9, 9, 9), 0, 1), QColor(7, 7, 7));
}

TEST(PlButton, EvenCaptionSpreadsTheRestOverTheFirstGaps)
{
  struct TCase {
    const char* what;
    int available;
    std::vector<int> expected;
  } cases[] = {
      {"5 pixels to spare: gaps 2, 2, 1", 45, {2, 14, 26, 37}},
      {"6 pixels to spare: gaps 2, 2, 2", 46, {2, 14, 26, 38}},
      {"2 pixels short: gaps -1, -1, 0", 38, {2, 11, 20, 30}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(TxPlButton::fnEvenPositions(2, c.available, {10, 10, 10, 10}), c.expected);
  }
}

TEST(PlButton, CaptionLinesAreCentredVertically)
{
  TxPlButton b;
  b.CaptionA().setCaption(QStringLiteral("OK"));
  b.grab();
  const int hA = QFontMetrics(b.font()).height();
  EXPECT_EQ(b.CaptionTop(), (26 - hA) / 2 + 1);
  b.CaptionB().setCaption(QStringLiteral("F12"));
  b.grab();
  EXPECT_EQ(b.CaptionTop(), (26 - 2 * hA - 4) / 2);
  b.setCaptionTop(2);
  EXPECT_FALSE(b.CaptionVertCenter());
  b.grab();
  EXPECT_EQ(b.CaptionTop(), 2);
}

TEST(PlButton, ModalResultReachesTheFormBeforeTheClickHandler)
{
  struct TCase {
    const char* what;
    int buttonResult;
    int handlerSets;  // -1: the handler leaves the result alone
    bool staysOpen;
    int dialogResult;
  } cases[] = {
      {"OK closes after the handler", mrOk, -1, false, mrOk},
      {"none leaves the dialog open", mrNone, -1, true, 0},
      {"the handler clears the result", mrOk, mrNone, true, 0},
      {"the handler changes the result", mrOk, mrRetry, false, mrRetry},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    TDialog d;
    d.ok->setModalResult(c.buttonResult);
    int seenInHandler = -1;
    QObject::connect(d.ok, &TxPlButton::clicked, [&] {
      seenInHandler = fnFormModalResult(&d.dlg);
      EXPECT_TRUE(d.dlg.isVisible()) << "the form is still open while the handler runs";
      if (c.handlerSets >= 0)
        pcSetFormModalResult(&d.dlg, c.handlerSets);
    });
    QTest::mouseClick(d.ok, Qt::LeftButton);
    EXPECT_EQ(seenInHandler, c.buttonResult);
    EXPECT_EQ(d.dlg.isVisible(), c.staysOpen);
    if (!c.staysOpen) {
      EXPECT_EQ(d.dlg.result(), c.dialogResult);
    }
  }
}

TEST(PlButton, EnterPressesTheFocusedButtonAndEscTheCancelButton)
{
  {
    TDialog d;
    d.ok->setModalResult(mrOk);
    d.ok->setFocus();
    QTest::keyClick(d.ok, Qt::Key_Return);
    EXPECT_FALSE(d.dlg.isVisible());
    EXPECT_EQ(d.dlg.result(), mrOk);
  }
  {
    // Esc from an edit reaches the cancel button; the other button
    // ignores it.
    TDialog d;
    int okClicks = 0;
    QObject::connect(d.ok, &TxPlButton::clicked, [&] { ++okClicks; });
    d.ok->setModalResult(mrOk);
    d.cancel->setModalResult(mrCancel);
    d.cancel->setCancel(true);
    d.edit->setFocus();
    QTest::keyClick(d.edit, Qt::Key_Escape);
    EXPECT_EQ(okClicks, 0);
    EXPECT_FALSE(d.dlg.isVisible());
    EXPECT_EQ(d.dlg.result(), mrCancel);
  }
  {
    // Shift+Esc is not a cancel key; a disabled cancel button is not pressed.
    TDialog d;
    int cancelClicks = 0;
    QObject::connect(d.cancel, &TxPlButton::clicked, [&] { ++cancelClicks; });
    d.cancel->setCancel(true);
    d.edit->setFocus();
    QTest::keyClick(d.edit, Qt::Key_Escape, Qt::ShiftModifier);
    d.cancel->setEnabled(false);
    QTest::keyClick(d.edit, Qt::Key_Escape);
    EXPECT_EQ(cancelClicks, 0);
  }
  {
    // Ctrl+Enter fires the click handler alone: no modal result.
    TDialog d;
    int clicks = 0;
    QObject::connect(d.ok, &TxPlButton::clicked, [&] { ++clicks; });
    d.ok->setModalResult(mrOk);
    d.ok->setFocus();
    QTest::keyClick(d.ok, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(d.dlg.isVisible());
  }
}

TEST(PlButton, ButtonWithoutHasFocusIsNeverFocused)
{
  TDialog d;
  d.ok->setHasFocus(false);
  EXPECT_EQ(d.ok->focusPolicy(), Qt::NoFocus);
  d.edit->setFocus();
  int clicks = 0;
  QObject::connect(d.ok, &TxPlButton::clicked, [&] { ++clicks; });
  QTest::mouseClick(d.ok, Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(QApplication::focusWidget(), d.edit);
}

TEST(PlButton, RoundStylesShapeTheWindowAndOthersRestoreIt)
{
  TxPlButton b;
  b.show();
  b.setButtonStyle(bsRoundRect);
  EXPECT_FALSE(b.mask().isEmpty());
  EXPECT_FALSE(b.mask().contains(QPoint(0, 0))) << "the corner is cut";
  EXPECT_TRUE(b.mask().contains(QPoint(37, 13)));
  b.resize(100, 40);
  EXPECT_TRUE(b.mask().contains(QPoint(90, 20))) << "the shape follows a resize";
  b.setButtonStyle(bsNormal);
  EXPECT_TRUE(b.mask().isEmpty());
}

TEST(PlButton, PictureKeepsBitmapsAndIconsOnly)
{
  TestTempDir tmp;
  QImage img(8, 8, QImage::Format_RGB32);
  img.fill(Qt::red);
  struct TCase {
    const char* file;
    const char* format;
    bool kept;
  } cases[] = {{"a.bmp", "BMP", true}, {"a.ico", "ICO", true}, {"a.png", "PNG", false}, {"a.jpg", "JPG", false}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.file);
    const QString path = tmp.file(QString::fromLatin1(c.file));
    ASSERT_TRUE(img.save(path, c.format));
    TxPlButton b;
    b.Image().setBitmap(QPixmap::fromImage(img));
    EXPECT_EQ(b.Image().LoadFromFile(path), c.kept);
    EXPECT_EQ(!b.Image().PictureEmpty(), c.kept);
  }
}

TEST(PlButton, DisabledButtonDrawsItsCaptionInTheDisabledColour)
{
  TxPlButton b;
  b.setGradation(false);
  b.setColor(Qt::white);
  b.setButtonStyle(bsFlatNoFrame);
  b.CaptionA().setCaption(QStringLiteral(u"■■■■"));
  b.setHasFocus(false);
  b.setEnabled(false);
  const QImage img = b.grab().toImage();
  const QColor grey = b.palette().color(QPalette::Disabled, QPalette::ButtonText);
  bool found = false;
  for (int y = 0; y < img.height() && !found; ++y)
    for (int x = 0; x < img.width() && !found; ++x)
      found = img.pixelColor(x, y) == grey;
  EXPECT_TRUE(found);
}
