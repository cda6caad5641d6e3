#pragma once
// Wizard control: a stack of pages, one visible at a time, driven by a Back
// and a Next button that the form places outside the stack (push buttons or
// panel buttons). The Next button
// shows the finish caption on the last page and there reports FinalState
// True instead of moving; a header and an information label show one line
// per page.

#include <functional>

#include <QLabel>
#include <QPointer>
#include <QStackedWidget>
#include <QStringList>

using TNextClickEvent = std::function<void(QObject* Sender, bool FinalState)>;
using TNextClickingEvent = std::function<void(QObject* Sender, bool FinalState, bool& AllowChange)>;
using TNotifyEvent = std::function<void(QObject* Sender)>;

class TxWizard : public QStackedWidget {
  Q_OBJECT
 public:
  explicit TxWizard(QWidget* AParent = nullptr);

  int PageIndex() const { return currentIndex(); }
  void SetPageIndex(int AIndex) { setCurrentIndex(AIndex); }
  int PageCount() const { return count(); }

  QString NextButtonCap() const { return FNextButtonCap; }
  void SetNextButtonCap(const QString& AValue) { FNextButtonCap = AValue; }
  QString NextButtonFinCap() const { return FNextButtonFinCap; }
  void SetNextButtonFinCap(const QString& AValue) { FNextButtonFinCap = AValue; }
  QString BackButtonCap() const { return FBackButtonCap; }
  void SetBackButtonCap(const QString& AValue) { FBackButtonCap = AValue; }

  // A QAbstractButton or a TxPlButton.
  QWidget* NextButton() const { return FNextButton; }
  void SetNextButton(QWidget* AButton);
  QWidget* BackButton() const { return FBackButton; }
  void SetBackButton(QWidget* AButton);

  // Caption of a push button or a panel button.
  static void SetButtonCaption(QWidget* AButton, const QString& ACaption);
  QLabel* LblHeader() const { return FLblHeader; }
  void SetLblHeader(QLabel* ALabel);
  QLabel* LblInfo() const { return FLblInfo; }
  void SetLblInfo(QLabel* ALabel);
  QStringList HeaderCaption() const { return FHeaderCaption; }
  void SetHeaderCaption(const QStringList& ALines) { FHeaderCaption = ALines; }
  QStringList InfoCaption() const { return FInfoCaption; }
  void SetInfoCaption(const QStringList& ALines) { FInfoCaption = ALines; }

  TNotifyEvent OnBackClick;
  TNextClickEvent OnNextClick;
  TNextClickingEvent OnNextClicking;

  // What a click of the Next and the Back button does.
  void NextClick();
  void BackClick();

 private:
  void showPageCaptions();

  QMetaObject::Connection connectClick(QWidget* AButton, void (TxWizard::*AHandler)());

  QPointer<QWidget> FNextButton;
  QPointer<QWidget> FBackButton;
  QPointer<QLabel> FLblHeader;
  QPointer<QLabel> FLblInfo;
  QStringList FHeaderCaption;
  QStringList FInfoCaption;
  QString FNextButtonCap;
  QString FNextButtonFinCap;
  QString FBackButtonCap;
  QMetaObject::Connection FNextConnection;
  QMetaObject::Connection FBackConnection;
};
