// Progress box: modeless use with a parent form, cancel, the work callback.
#include <gtest/gtest.h>
#include <stdexcept>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "ui/tests/UiTestUtil.h"
#include "ui/xAnimeProgressDialog.h"

namespace {

TEST(TxAnimeProgressDialogTest, ModelessBoxDisablesTheFormUntilHideAlsoAfterAnError)
{
  QWidget form;
  form.setObjectName(QStringLiteral("DataSentakuBox"));
  form.resize(500, 300);
  form.show();

  TxAnimeProgressDialog progress;
  EXPECT_FALSE(progress.Showing());
  EXPECT_TRUE(progress.CancelBtnShow());
  progress.SetCaption(QStringLiteral("接続中"));
  progress.SetInfoLabel(QStringLiteral("会計データに接続中です…"));
  progress.SetCommonAVI(aviCopyFiles);
  try {
    progress.Execute(&form);
    EXPECT_TRUE(progress.Showing());
    EXPECT_FALSE(form.isEnabled());
    ASSERT_NE(progress.Handle(), nullptr);
    EXPECT_TRUE(progress.Handle()->isVisible());
    EXPECT_EQ(progress.Handle()->windowTitle(), QStringLiteral("接続中"));
    EXPECT_EQ(progress.Handle()->size(), QSize(380, 100));
    EXPECT_TRUE(progress.AnimeActive());
    EXPECT_EQ(progress.Animate()->geometry(), QRect(20, 16, 32, 32));
    EXPECT_EQ(progress.Label()->pos(), QPoint(60, 24));
    EXPECT_EQ(progress.CancelButton()->geometry(), QRect(152, 67, 76, 23));
    EXPECT_EQ(progress.CancelButton()->text(), QStringLiteral("キャンセル"));
    // The job updates the step text and polls Cancel; a click on the
    // button is seen once messages run.
    for (int i = 1; i <= 3 && !progress.Cancel(); ++i) {
      progress.SetInfoLabel(QStringLiteral("処理中です… (%1/3)").arg(i));
      if (i == 2) {
        uitest::saveScreenshot(progress.Handle(), QStringLiteral("progress_box"));
        QTest::mouseClick(progress.CancelButton(), Qt::LeftButton);
      }
      QCoreApplication::processEvents();
    }
    EXPECT_TRUE(progress.Cancel());
    EXPECT_EQ(progress.Label()->text(), QStringLiteral("処理中です… (2/3)"));
    progress.CancelClear();
    EXPECT_FALSE(progress.Cancel());
    throw std::runtime_error("job failed");
  } catch (const std::runtime_error&) {
    progress.Hide();
  }
  EXPECT_TRUE(form.isEnabled());
  EXPECT_FALSE(progress.Showing());
  EXPECT_EQ(progress.Handle(), nullptr);
  EXPECT_FALSE(progress.AnimeActive());
  progress.SetAnimeActive(true);  // does nothing without a box
  EXPECT_FALSE(progress.AnimeActive());
}

TEST(TxAnimeProgressDialogTest, LabelPlacesWithAndWithoutTheCancelButton)
{
  struct Case {
    TxLabelPosition position;
    bool cancel;
    QPoint label;
  } cases[] = {
      {xlpRight, true, {60, 24}},
      {xlpBottom, true, {20, 52}},
      {xlpRight, false, {60, 100 / 2 - 8}},
      {xlpBottom, false, {20, 100 / 2 + 20}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.position) * 10 + c.cancel);
    TxAnimeProgressDialog progress;
    progress.SetCancelBtnShow(c.cancel);
    progress.SetLabelPosition(c.position);
    progress.Execute(nullptr);  // no form: shown on its own
    ASSERT_NE(progress.Handle(), nullptr);
    EXPECT_EQ(progress.Label()->pos(), c.label);
    EXPECT_EQ(progress.Animate()->pos(), QPoint(20, 16));
    EXPECT_EQ(progress.CancelButton()->isVisible(), c.cancel);
    EXPECT_FALSE(progress.AnimeActive());  // nothing to animate
    progress.Hide();
  }
}

TEST(TxAnimeProgressDialogTest, MissingAnimationFileIsClearedAndIgnored)
{
  TxAnimeProgressDialog progress;
  progress.SetAviFile(QStringLiteral("/nonexistent/anime.avi"));
  EXPECT_EQ(progress.AviFile(), QStringLiteral("/nonexistent/anime.avi"));  // kept until a box exists
  progress.Execute(nullptr);
  EXPECT_TRUE(progress.AviFile().isEmpty());
  EXPECT_FALSE(progress.AnimeActive());
  progress.Hide();
}

TEST(TxAnimeProgressDialogTest, WorkCallbackRunsInsideTheModalBox)
{
  QWidget form;
  form.setObjectName(QStringLiteral("Form1"));
  form.show();
  struct Case {
    bool raise;
  } cases[] = {{false}, {true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.raise);
    TxAnimeProgressDialog progress;
    bool ranModal = false;
    QObject* sender = nullptr;
    int closes = 0;
    progress.OnClose = [&](QObject*) { ++closes; };
    progress.OnShow = [&](QObject* ASender) {
      sender = ASender;
      ranModal = QApplication::activeModalWidget() == progress.Handle();
      progress.SetInfoLabel(QStringLiteral("集計中です…"));
      if (c.raise)
        throw std::runtime_error("callback failed");
    };
    if (c.raise)
      EXPECT_THROW(progress.Execute(&form), std::runtime_error);
    else
      EXPECT_NO_THROW(progress.Execute(&form));
    EXPECT_TRUE(ranModal);
    EXPECT_NE(sender, nullptr);
    EXPECT_EQ(progress.Handle(), nullptr);  // freed after the callback
    EXPECT_TRUE(form.isEnabled());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    progress.Hide();
    EXPECT_FALSE(progress.Showing());
  }
}

}  // namespace
