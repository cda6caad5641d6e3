#include "maint/dialogs/JournalProgress.h"

#include <QLabel>

#include "ui/xAnimeProgressDialog.h"

void TLabelProgressText::SetProgressText(const QString& text)
{
  if (!FLabel)
    return;
  FLabel->setText(text);
  FLabel->repaint();
}

void TProgressBoxText::SetProgressText(const QString& text)
{
  if (FBox)
    FBox->SetInfoLabel(text);
}
