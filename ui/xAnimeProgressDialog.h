#pragma once
// Progress box for long jobs that run on the main thread.
//
// Modeless use: set the properties, Execute(form), do the work, update
// InfoLabel as it goes, poll Cancel() when the cancel button is shown, and
// call Hide() when done (also after an error: Hide re-enables the form).
// Modal use: assign OnShow; Execute then shows the box modally, runs OnShow
// inside the box's event loop, closes the box when it returns and raises an
// exception of OnShow again after the box has gone.

#include <exception>
#include <functional>
#include <memory>

#include <QDialog>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>

class QLabel;
class QMovie;
class QPushButton;
class QTimer;

enum TxLabelPosition { xlpRight, xlpBottom };

// The kinds of the built-in animation (drawn by the box itself).
enum TCommonAVI {
  aviNone,
  aviFindFolder,
  aviFindFile,
  aviFindComputer,
  aviCopyFiles,
  aviCopyFile,
  aviRecycleFile,
  aviEmptyRecycle,
  aviDeleteFile
};

// Event type the box posts to itself to start the work callback.
constexpr int WM_ANIMEPROGRESS_RUN = 0xB053;

// The animation: a file that Qt can play (an animated picture), or else our
// own drawing, a ring of dots turning once a second. It advances from the
// clock, so a repaint during a long job shows the current frame.
class TxAnimate : public QWidget {
  Q_OBJECT
 public:
  explicit TxAnimate(QWidget* AParent = nullptr);
  ~TxAnimate() override;

  void SetCommonAVI(TCommonAVI AValue);
  TCommonAVI CommonAVI() const { return FCommonAVI; }
  // Plays the file when Qt can read it as an animation; an empty name stops it.
  void SetFileName(const QString& AFile);
  QString FileName() const { return FFileName; }
  void SetActive(bool AValue);
  bool Active() const { return FActive; }
  // Whether something is set to animate (a built-in kind or a file).
  bool HasAnimation() const { return FCommonAVI != aviNone || !FFileName.isEmpty(); }

 protected:
  void paintEvent(QPaintEvent* AEvent) override;

 private:
  TCommonAVI FCommonAVI = aviNone;
  QString FFileName;
  bool FActive = false;
  QElapsedTimer FClock;
  QTimer* FTimer = nullptr;
  std::unique_ptr<QMovie> FMovie;
};

// The box itself, built at run time by TxAnimeProgressDialog::Execute.
class TxProgressForm : public QDialog {
  Q_OBJECT
 public:
  explicit TxProgressForm(QWidget* AParent = nullptr);

  std::function<void()> OnRun;  // handles WM_ANIMEPROGRESS_RUN
  std::function<void()> OnCloseForm;
  bool PostRunOnShow = false;

 protected:
  bool event(QEvent* AEvent) override;
  void showEvent(QShowEvent* AEvent) override;
  void closeEvent(QCloseEvent* AEvent) override;
  void keyPressEvent(QKeyEvent* AEvent) override;
};

class TxAnimeProgressDialog : public QObject {
  Q_OBJECT
 public:
  explicit TxAnimeProgressDialog(QObject* AOwner = nullptr);
  ~TxAnimeProgressDialog() override;

  // Shows the box. ASender is normally the calling form: a form with an
  // object name becomes the parent form, whose window is disabled while the
  // box is shown (modeless use).
  void Execute(QWidget* ASender = nullptr);
  void Hide();
  void CancelClear();
  void AnimationActive(bool AValue);

  TxProgressForm* Handle() const { return FForm.get(); }
  QWidget* ParentHandle() const { return FParentHandle; }
  void SetParentHandle(QWidget* AValue) { FParentHandle = AValue; }
  QString Caption() const { return FCaption; }
  void SetCaption(const QString& AValue);
  QString InfoLabel() const { return FInfoLabel; }
  void SetInfoLabel(const QString& AValue);
  TxLabelPosition LabelPosition() const { return FLabelPosition; }
  void SetLabelPosition(TxLabelPosition AValue);
  TCommonAVI CommonAVI() const { return FCommonAVI; }
  void SetCommonAVI(TCommonAVI AValue);
  QString AviFile() const { return FAviFile; }
  void SetAviFile(const QString& AValue);
  bool AnimeActive() const;
  void SetAnimeActive(bool AValue);
  bool CancelBtnShow() const { return FCancelBtnShow; }
  void SetCancelBtnShow(bool AValue) { FCancelBtnShow = AValue; }
  bool Cancel() const { return FCancel; }
  bool Showing() const { return FShowing; }

  // The box's controls while it exists (for the caller's layout and tests).
  QLabel* Label() const { return FLabel1; }
  TxAnimate* Animate() const { return FAnimate1; }
  QPushButton* CancelButton() const { return FCancelButton; }

  // The work callback of the modal use; the sender is the box.
  std::function<void(QObject*)> OnShow;
  // Called when the box closes; the sender is this dialog.
  std::function<void(QObject*)> OnClose;

  // Waits AMSec milliseconds without processing messages.
  static void WaitMSec(int AMSec);

 private:
  void layoutControls();
  void setFormPosition();
  void runWork();

  QPointer<QWidget> FParentHandle;
  QPointer<QWidget> FParentForm;
  std::unique_ptr<TxProgressForm> FForm;
  QLabel* FLabel1 = nullptr;
  TxAnimate* FAnimate1 = nullptr;
  QPushButton* FCancelButton = nullptr;
  QString FCaption;
  QString FInfoLabel;
  TxLabelPosition FLabelPosition = xlpRight;
  TCommonAVI FCommonAVI = aviNone;
  QString FAviFile;
  bool FShowing = false;
  bool FCancel = false;
  bool FCancelBtnShow = true;
  std::exception_ptr FException;
};
