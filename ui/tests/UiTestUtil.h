#pragma once
// Helpers of the widget tests: answering modal boxes from a timer, saving
// screenshots into the build folder.

#include <functional>
#include <memory>

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

namespace uitest {

// Folder for screenshots: <build>/screenshots.
inline QString screenshotDir()
{
  QString root = qEnvironmentVariable("RENDO_BINARY_DIR");
#ifdef RENDO_BINARY_DIR
  if (root.isEmpty())
    root = QStringLiteral(RENDO_BINARY_DIR);
#endif
  QDir dir(root);
  dir.mkpath(QStringLiteral("screenshots"));
  return dir.filePath(QStringLiteral("screenshots"));
}

inline bool saveScreenshot(QWidget* AWidget, const QString& AName)
{
  return AWidget->grab().save(screenshotDir() + QLatin1Char('/') + AName + QStringLiteral(".png"));
}

// Watches for modal boxes while alive: each one that appears is handed to
// AOnBox (which may read it) and then closed. Texts of message boxes are
// collected in Texts.
class TModalWatcher {
 public:
  explicit TModalWatcher(std::function<void(QWidget*)> AOnBox = {}) : FOnBox(std::move(AOnBox))
  {
    FTimer.setInterval(20);
    QObject::connect(&FTimer, &QTimer::timeout, [this] { poll(); });
    FTimer.start();
  }

  QStringList Texts;
  QStringList Titles;
  int Count = 0;

 private:
  void poll()
  {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == FLast)
      return;
    FLast = modal;
    ++Count;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      Texts << box->text();
      Titles << box->windowTitle();
    }
    if (FOnBox)
      FOnBox(modal);
    if (auto* box = qobject_cast<QMessageBox*>(modal))
      box->done(QMessageBox::Ok);
    else if (auto* dialog = qobject_cast<QDialog*>(modal))
      dialog->done(QDialog::Accepted);
    else
      modal->close();
  }

  std::function<void(QWidget*)> FOnBox;
  QTimer FTimer;
  QPointer<QWidget> FLast;
};

}  // namespace uitest
