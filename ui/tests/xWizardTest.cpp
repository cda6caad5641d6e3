// Wizard control: page flow, button captions and events.
#include <gtest/gtest.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include "ui/tests/UiTestUtil.h"
#include "ui/xPlButton.h"
#include "ui/xWizard.h"

namespace {

struct TWizardForm {
  explicit TWizardForm(int APages)
  {
    form.setObjectName(QStringLiteral("WizardForm"));
    auto* layout = new QVBoxLayout(&form);
    header = new QLabel(QStringLiteral("(header)"), &form);
    info = new QLabel(QStringLiteral("(info)"), &form);
    wizard = new TxWizard(&form);
    for (int i = 0; i < APages; ++i)
      wizard->addWidget(new QLabel(QStringLiteral("ページ %1").arg(i + 1)));
    back = new QPushButton(&form);
    next = new QPushButton(&form);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(back);
    buttons->addWidget(next);
    layout->addWidget(header);
    layout->addWidget(info);
    layout->addWidget(wizard);
    layout->addLayout(buttons);
    wizard->SetHeaderCaption({QStringLiteral("データ選択"), QStringLiteral("期間の指定")});
    wizard->SetInfoCaption({QStringLiteral("会計データを選択してください。")});
    wizard->SetLblHeader(header);
    wizard->SetLblInfo(info);
    wizard->SetBackButton(back);
    wizard->SetNextButton(next);
    wizard->OnNextClicking = [this](QObject*, bool final, bool& allow) {
      clickingFinal.append(final);
      allow = allowNext;
    };
    wizard->OnNextClick = [this](QObject* sender, bool final) {
      EXPECT_EQ(sender, next);
      nextFinal.append(final);
    };
    wizard->OnBackClick = [this](QObject*) { ++backs; };
    QObject::connect(wizard, &QStackedWidget::currentChanged, [this](int) { ++pageChanges; });
    form.show();
  }

  QWidget form;
  TxWizard* wizard = nullptr;
  QLabel* header = nullptr;
  QLabel* info = nullptr;
  QPushButton* back = nullptr;
  QPushButton* next = nullptr;
  bool allowNext = true;
  QList<bool> clickingFinal;
  QList<bool> nextFinal;
  int backs = 0;
  int pageChanges = 0;
};

const QString kNext = QStringLiteral("次へ(&N) >");
const QString kFinish = QStringLiteral("完了(&F)");
const QString kBack = QStringLiteral("< 戻る(&B)");

TEST(TxWizardTest, ForwardAndBackThroughThreePages)
{
  TWizardForm f(3);
  EXPECT_EQ(f.next->text(), kNext);
  EXPECT_EQ(f.back->text(), kBack);
  EXPECT_FALSE(f.back->isVisible());
  EXPECT_EQ(f.header->text(), QStringLiteral("データ選択"));

  // A click-by-click script: action, page after, Next caption, Back shown,
  // header text, the FinalState that OnNextClick reported (-1: none).
  struct Step {
    char action;  // 'N' next, 'B' back
    int page;
    const QString* nextCap;
    bool backVisible;
    const char* header;
    int final;
  } steps[] = {
      {'N', 1, &kNext, true, "期間の指定", 0},
      {'N', 2, &kFinish, true, "期間の指定", 0},  // no entry for page 3: unchanged
      {'N', 2, &kFinish, true, "期間の指定", 1},  // finish: no move
      {'B', 1, &kNext, true, "期間の指定", -1},
      {'B', 0, &kNext, false, "データ選択", -1},
      {'B', 0, &kNext, false, "データ選択", -1},
  };
  int reported = 0;
  for (const auto& s : steps) {
    SCOPED_TRACE(QStringLiteral("%1 -> %2").arg(s.action).arg(s.page).toStdString());
    QTest::mouseClick(s.action == 'N' ? f.next : f.back, Qt::LeftButton);
    EXPECT_EQ(f.wizard->PageIndex(), s.page);
    EXPECT_EQ(f.next->text(), *s.nextCap);
    EXPECT_EQ(f.back->isVisible(), s.backVisible);
    EXPECT_EQ(f.header->text(), QString::fromUtf8(s.header));
    if (s.final >= 0) {
      ASSERT_EQ(f.nextFinal.size(), ++reported);
      EXPECT_EQ(f.nextFinal.last(), s.final == 1);
    }
  }
  EXPECT_EQ(f.info->text(), QStringLiteral("会計データを選択してください。"));
  EXPECT_EQ(f.clickingFinal, (QList<bool>{false, false, false}));  // always False
  EXPECT_EQ(f.backs, 3);
  EXPECT_EQ(f.pageChanges, 4);
  uitest::saveScreenshot(&f.form, QStringLiteral("wizard"));
}

TEST(TxWizardTest, RefusedChangeMovesNothingAndReportsNothing)
{
  TWizardForm f(3);
  f.allowNext = false;
  QTest::mouseClick(f.next, Qt::LeftButton);
  EXPECT_EQ(f.wizard->PageIndex(), 0);
  EXPECT_TRUE(f.nextFinal.isEmpty());
  EXPECT_EQ(f.clickingFinal.size(), 1);
  EXPECT_FALSE(f.back->isVisible());
}

TEST(TxWizardTest, OnePageWizardFinishesAtOnce)
{
  TWizardForm f(1);
  EXPECT_EQ(f.next->text(), kFinish);
  QTest::mouseClick(f.next, Qt::LeftButton);
  EXPECT_EQ(f.wizard->PageIndex(), 0);
  EXPECT_EQ(f.nextFinal, (QList<bool>{true}));
  f.back->show();
  QTest::mouseClick(f.back, Qt::LeftButton);
  EXPECT_FALSE(f.back->isVisible());
  EXPECT_EQ(f.backs, 1);
}

TEST(TxWizardTest, PanelButtonsDriveTheWizardToo)
{
  QWidget form;
  TxWizard wizard(&form);
  for (int i = 0; i < 2; ++i)
    wizard.addWidget(new QLabel(QStringLiteral("ページ %1").arg(i + 1)));
  TxPlButton back(&form), next(&form);
  wizard.SetBackButton(&back);
  wizard.SetNextButton(&next);
  QList<bool> finals;
  wizard.OnNextClick = [&](QObject*, bool final) { finals << final; };
  form.show();
  EXPECT_EQ(next.CaptionA().Caption(), kNext);
  EXPECT_EQ(back.CaptionA().Caption(), kBack);
  next.Click();
  EXPECT_EQ(wizard.PageIndex(), 1);
  EXPECT_EQ(next.CaptionA().Caption(), kFinish);
  EXPECT_TRUE(back.isVisible());
  next.Click();
  EXPECT_EQ(finals, (QList<bool>{false, true}));
  back.Click();
  EXPECT_EQ(wizard.PageIndex(), 0);
  EXPECT_EQ(next.CaptionA().Caption(), kNext);
  EXPECT_FALSE(back.isVisible());
}

}  // namespace
