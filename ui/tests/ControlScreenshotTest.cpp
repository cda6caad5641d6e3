// Each framework control drawn in a representative state and saved as a
// screenshot into <build>/screenshots, so its look can be checked by eye.
// The test fails when a control draws nothing (one flat colour) or when the
// picture cannot be written.
#include <functional>
#include <gtest/gtest.h>
#include <memory>

#include <QImage>
#include <QLabel>
#include <QSet>
#include <QTest>
#include <QVBoxLayout>

#include "ui/AbacorExDateEdit.h"
#include "ui/SDI.h"
#include "ui/tests/UiTestUtil.h"
#include "ui/xAnimeProgressDialog.h"
#include "ui/xKikanPanel12.h"
#include "ui/xKikanPanel16.h"
#include "ui/xKikanPanel4.h"
#include "ui/xWizard.h"

namespace {

int distinctColours(const QImage& AImage)
{
  QSet<QRgb> seen;
  for (int y = 0; y < AImage.height(); y += 2)
    for (int x = 0; x < AImage.width(); x += 2) {
      seen.insert(AImage.pixel(x, y));
      if (seen.size() > 2)
        return int(seen.size());
    }
  return int(seen.size());
}

struct TShot {
  const char* name;
  std::function<std::unique_ptr<QWidget>()> make;
};

std::unique_ptr<QWidget> periodPanel(TxKikanPanelBase* APanel)
{
  APanel->SetKikan(EncodeDate(2024, 4, 1), EncodeDate(2025, 3, 31), EncodeDate(2024, 4, 1), 99);
  APanel->SetStno(2);
  APanel->SetEdno(5);
  APanel->resize(APanel->sizeHint().expandedTo(QSize(200, 40)));
  return std::unique_ptr<QWidget>(APanel);
}

}  // namespace

TEST(ControlScreenshotTest, EachControlDrawsAndIsSaved)
{
  const TShot shots[] = {
      {"period16",
       [] {
         auto* p = new TxKikanPanel16;
         p->SetKessan(true);
         return periodPanel(p);
       }},
      {"period12", [] { return periodPanel(new TxKikanPanel12); }},
      {"period4", [] { return periodPanel(new TxKikanPanel4); }},
      {"era-date-edit",
       [] {
         auto e = std::make_unique<TAbacorExDateEdit>();
         e->SetGengoRec(TAbacorExDateEdit::BuiltInEras());
         e->SetEditGengo(true);
         e->SetDateTime(EncodeDate(2024, 5, 1));
         e->resize(e->sizeHint().expandedTo(QSize(160, 24)));
         return std::unique_ptr<QWidget>(std::move(e));
       }},
      {"wizard",
       [] {
         auto form = std::make_unique<QWidget>();
         auto* layout = new QVBoxLayout(form.get());
         auto* wizard = new TxWizard(form.get());
         wizard->addWidget(new QLabel(QStringLiteral("ページ 1 データの選択")));
         wizard->addWidget(new QLabel(QStringLiteral("ページ 2 期間の選択")));
         layout->addWidget(wizard);
         form->resize(320, 160);
         return form;
       }},
      {"base-form",
       [] {
         auto form = std::make_unique<TBSDI>();
         form->setWindowTitle(QStringLiteral("基本画面"));
         auto* layout = new QVBoxLayout(form.get());
         layout->addWidget(new QLabel(QStringLiteral("内容"), form.get()));
         form->resize(320, 200);
         return std::unique_ptr<QWidget>(std::move(form));
       }},
  };
  for (const TShot& shot : shots) {
    SCOPED_TRACE(shot.name);
    std::unique_ptr<QWidget> widget = shot.make();
    widget->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(widget.get()));
    const QImage image = widget->grab().toImage();
    EXPECT_GT(distinctColours(image), 1);
    EXPECT_TRUE(uitest::saveScreenshot(widget.get(), QString::fromLatin1(shot.name)));
    widget->close();
  }
}

TEST(ControlScreenshotTest, ProgressBoxWithStepTextAndCancel)
{
  TxAnimeProgressDialog progress;
  progress.SetCaption(QStringLiteral("処理中"));
  progress.SetInfoLabel(QStringLiteral("残高を計算しています..."));
  progress.SetCancelBtnShow(true);
  progress.Execute(nullptr);
  ASSERT_NE(progress.Handle(), nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(progress.Handle()));
  EXPECT_GT(distinctColours(progress.Handle()->grab().toImage()), 1);
  EXPECT_TRUE(uitest::saveScreenshot(progress.Handle(), QStringLiteral("progress-box")));
  progress.Hide();
}
