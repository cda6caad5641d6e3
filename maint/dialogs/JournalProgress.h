// The progress text of a journal import or export on the screen: a label, or
// the info line of the progress box (shown modeless over its form while the
// run goes on).
#pragma once

#include <QPointer>

#include "common/TextIO.h"

class QLabel;
class TxAnimeProgressDialog;

class TLabelProgressText : public IProgressText {
 public:
  explicit TLabelProgressText(QLabel* label) : FLabel(label) {}
  void SetProgressText(const QString& text) override;

 private:
  QPointer<QLabel> FLabel;
};

class TProgressBoxText : public IProgressText {
 public:
  explicit TProgressBoxText(TxAnimeProgressDialog* box) : FBox(box) {}
  void SetProgressText(const QString& text) override;

 private:
  QPointer<TxAnimeProgressDialog> FBox;
};
