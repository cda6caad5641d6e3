#include "ui/xWizard.h"

#include <QAbstractButton>
#include <QLabel>

#include "ui/xPlButton.h"

TxWizard::TxWizard(QWidget* AParent) : QStackedWidget(AParent)
{
  if (FNextButtonCap.isEmpty())
    FNextButtonCap = QStringLiteral("次へ(&N) >");
  if (FNextButtonFinCap.isEmpty())
    FNextButtonFinCap = QStringLiteral("完了(&F)");
  if (FBackButtonCap.isEmpty())
    FBackButtonCap = QStringLiteral("< 戻る(&B)");
}

void TxWizard::SetButtonCaption(QWidget* AButton, const QString& ACaption)
{
  if (auto* b = qobject_cast<QAbstractButton*>(AButton))
    b->setText(ACaption);
  else if (auto* p = qobject_cast<TxPlButton*>(AButton))
    p->CaptionA().setCaption(ACaption);
}

QMetaObject::Connection TxWizard::connectClick(QWidget* AButton, void (TxWizard::*AHandler)())
{
  if (auto* b = qobject_cast<QAbstractButton*>(AButton))
    return connect(b, &QAbstractButton::clicked, this, AHandler);
  if (auto* p = qobject_cast<TxPlButton*>(AButton))
    return connect(p, &TxPlButton::clicked, this, AHandler);
  return {};
}

void TxWizard::SetNextButton(QWidget* AButton)
{
  if (FNextButton)
    disconnect(FNextConnection);
  FNextButton = AButton;
  if (!AButton)
    return;
  FNextConnection = connectClick(AButton, &TxWizard::NextClick);
  SetButtonCaption(AButton, count() == 1 ? FNextButtonFinCap : FNextButtonCap);
}

void TxWizard::SetBackButton(QWidget* AButton)
{
  if (FBackButton)
    disconnect(FBackConnection);
  FBackButton = AButton;
  if (!AButton)
    return;
  FBackConnection = connectClick(AButton, &TxWizard::BackClick);
  AButton->setVisible(false);
  SetButtonCaption(AButton, FBackButtonCap);
}

void TxWizard::SetLblHeader(QLabel* ALabel)
{
  FLblHeader = ALabel;
  if (ALabel && currentIndex() >= 0 && currentIndex() < FHeaderCaption.size())
    ALabel->setText(FHeaderCaption.at(currentIndex()));
}

void TxWizard::SetLblInfo(QLabel* ALabel)
{
  FLblInfo = ALabel;
  if (ALabel && currentIndex() >= 0 && currentIndex() < FInfoCaption.size())
    ALabel->setText(FInfoCaption.at(currentIndex()));
}

void TxWizard::showPageCaptions()
{
  const int page = currentIndex();
  if (FLblHeader && page >= 0 && page < FHeaderCaption.size())
    FLblHeader->setText(FHeaderCaption.at(page));
  if (FLblInfo && page >= 0 && page < FInfoCaption.size())
    FLblInfo->setText(FInfoCaption.at(page));
}

void TxWizard::NextClick()
{
  QObject* sender = FNextButton ? static_cast<QObject*>(FNextButton.data()) : this;
  const bool last = count() == currentIndex() + 1;
  bool final = false;
  bool allow = true;
  if (OnNextClicking)
    OnNextClicking(sender, false, allow);
  if (!allow)
    return;
  if (count() == 1 || last) {
    final = true;
  } else {
    setCurrentIndex(currentIndex() + 1);
    showPageCaptions();
    if (FBackButton)
      FBackButton->setVisible(true);
  }
  if (count() == currentIndex() + 1 && FNextButton)
    SetButtonCaption(FNextButton, FNextButtonFinCap);
  if (OnNextClick)
    OnNextClick(sender, final);
}

void TxWizard::BackClick()
{
  QObject* sender = FBackButton ? static_cast<QObject*>(FBackButton.data()) : this;
  if (count() == 1 || currentIndex() == 0) {
    if (FBackButton)
      FBackButton->setVisible(false);
  } else {
    setCurrentIndex(currentIndex() - 1);
    showPageCaptions();
    if (FNextButton)
      SetButtonCaption(FNextButton, FNextButtonCap);
  }
  if (currentIndex() == 0 && count() > 1 && FBackButton)
    FBackButton->setVisible(false);
  if (OnBackClick)
    OnBackClick(sender);
}
