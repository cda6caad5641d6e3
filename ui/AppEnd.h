// Ending the application from wherever it stands. The fatal path of a lost
// database connection asks for it while any dialog may be open, each with
// its own event loop: a plain request to quit the main loop would not reach
// them. The request closes every open modal dialog (innermost first, as
// Cancel), tells the main window (signal Ending: it records the failed end
// and closes), and then asks the main loop to quit.
#pragma once

#include <QObject>

class TAppEnd : public QObject {
  Q_OBJECT
 public:
  static TAppEnd& Instance();

  // Queued: the caller goes on and the ending runs from the event loop.
  // A second request while the first is pending or done does nothing.
  static void Request();
  // The ending has been asked for.
  static bool Requested();

 signals:
  // Sent once, after the modal dialogs have been closed.
  void Ending();

 private:
  TAppEnd() = default;
  void run();
};
