// The print colour dialog: the four colours of printed forms (frame lines,
// grid lines, heading rows, total rows), each picked with the platform's
// colour dialog. ProcType 0 edits the operator's default colours (stored
// with the system definitions on OK); ProcType 1 edits the colours of one
// printed form, which the caller reads back after OK, and offers a link that
// puts the defaults back. The colour dialog's sixteen custom colours are
// kept per operator. The caller sets the properties, sets Prepare, shows the
// form modally and frees it.
#pragma once

#include <array>
#include <functional>

#include <QLabel>

#include "platform/Color.h"
#include "ui/SDI.h"

class QColorDialog;
class QFrame;
class TxPlButton;

// A label that acts on a click of the left mouse button.
class TLinkLabel : public QLabel {
 public:
  using QLabel::QLabel;
  std::function<void()> OnClick;

 protected:
  void mouseReleaseEvent(QMouseEvent* AEvent) override;
};

class TPrnColorSetBox : public TBSDI {
  Q_OBJECT
 public:
  explicit TPrnColorSetBox(QWidget* AParent = nullptr);
  ~TPrnColorSetBox() override;

  void SetPrepare(bool AValue);
  int ProcType() const { return FProcType; }
  void SetProcType(int AValue) { FProcType = AValue; }

  // The four colours; setting one also colours its sample.
  TColor LineColor1() const { return FColors[0]; }
  void SetLineColor1(TColor AValue) { setColor(0, AValue); }
  TColor LineColor2() const { return FColors[1]; }
  void SetLineColor2(TColor AValue) { setColor(1, AValue); }
  TColor NetColor1() const { return FColors[2]; }
  void SetNetColor1(TColor AValue) { setColor(2, AValue); }
  TColor NetColor2() const { return FColors[3]; }
  void SetNetColor2(TColor AValue) { setColor(3, AValue); }

  // The colour a sample (0 ... 3, in row order) shows.
  TColor SampleColor(int ARow) const { return FSampleColors[std::size_t(ARow)]; }

  // The controls (tests and callers that need to reach them).
  std::array<QLabel*, 4> lblRow{};
  std::array<QFrame*, 4> pnlSample{};
  std::array<TxPlButton*, 4> btnChange{};
  TLinkLabel* lblDefault = nullptr;
  TxPlButton* btnOK = nullptr;
  TxPlButton* btnCancel = nullptr;
  QColorDialog* ColorDialog = nullptr;

  void btnChangeClick(int ATag);
  void lblDefaultClick();
  void btnOKClick();

 protected:
  void FormShow() override;
  void FormClose() override;
  bool event(QEvent* AEvent) override;

 private:
  void setColor(int ARow, TColor AValue);
  void setSample(int ARow, TColor AValue);
  void setLinkColor(const QColor& AColor);

  bool FPrepare = false;
  int FProcType = 0;
  std::array<TColor, 4> FColors{};
  std::array<TColor, 4> FSampleColors{};
};
