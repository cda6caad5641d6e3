// The small dialogs of data communication: the password confirmation
// before a delete or release on the server (TfmTusinSettiPas), the two step
// windows of a transfer (TfmWaitMess, TfmWaitMess2), the comparison window
// (TfmHikakuMess2), and the hook that swallows Esc while a transfer step
// runs.
#pragma once

#include <QDialog>

#include "ui/SDI.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class TxEdit;
class TxPlButton;

// Owners of the two wait windows, and the comparison window's answer.
extern QWidget* WaitMessParent;
extern QWidget* WaitMess2Parent;
extern bool HikakuAnswer;

// ---- the Esc hook: an application event filter that swallows the key-down
// and key-up of Esc; other keys pass. Installing twice keeps the first.
void pcEscHookInstall();
void pcEscHookRemove();
bool fnEscHookInstalled();

class TfmTusinSettiPas : public TBSDI {
  Q_OBJECT
 public:
  explicit TfmTusinSettiPas(QWidget* AParent = nullptr);
  void SetProcType(int AValue) { FProcType = AValue; }
  void SetPrepare(bool) {}

  QCheckBox* CheckBox1 = nullptr;
  TxEdit* txtConPasswd = nullptr;
  QLabel* Label2 = nullptr;  // hidden: the expected password
  QPlainTextEdit* HintArea = nullptr;
  QPushButton* btnOK = nullptr;
  QPushButton* btnESC = nullptr;

  // OK: the box must be ticked and the password match (exactly).
  void btnOKClick();
  // Leaving the edit: no blanks allowed.
  bool CheckPasswordBlanks();

 protected:
  bool eventFilter(QObject* AWatched, QEvent* AEvent) override;

 private:
  int FProcType = 0;
};

// The step window of a send: five check boxes used as a list of steps.
class TfmWaitMess : public QDialog {
  Q_OBJECT
 public:
  explicit TfmWaitMess(QWidget* AParent = nullptr, int ABoxes = 5);
  QCheckBox* Box(int ANo) const;  // 1-based
  // A step's text, tick and colour (BGR: $FF0000 running, $808080 done, 0
  // pending), then a repaint.
  void SetStep(int ANo, const QString& AText, int AColorBgr, bool AChecked);
  int Frame() const { return FFrame; }

 protected:
  void paintEvent(QPaintEvent* AEvent) override;

 private:
  QList<QCheckBox*> FBoxes;
  QTimer* FTimer = nullptr;
  int FFrame = 0;
};

// The window of the cloud-share check: one step.
class TfmWaitMess2 : public TfmWaitMess {
  Q_OBJECT
 public:
  explicit TfmWaitMess2(QWidget* AParent = nullptr);
};

// The comparison window: the differences found and whether to go on.
class TfmHikakuMess2 : public QDialog {
  Q_OBJECT
 public:
  explicit TfmHikakuMess2(QWidget* AParent = nullptr);
  QLabel* Label[10] = {};  // Label1 .. Label9 at 1 .. 9
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;
};
