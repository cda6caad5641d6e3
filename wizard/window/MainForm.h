// The wizard window: from an explanation, through the choice of the company
// data, the period range and the tax treatment, and the name of the import
// file, to a summary whose finish writes the import file. It is also the
// host of the shared framework (it installs the framework hooks), runs the
// logon when it first shows, and tells a calling program how the run ended.
#pragma once

#include <functional>
#include <memory>

#include <QStringList>
#include <QWidget>

#include "common/FormSizeStore.h"
#include "common/RecordTableModel.h"
#include "wizard/RendoArgs.h"
#include "wizard/RendoCaller.h"
#include "wizard/Ug13.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableView;
struct TACCINF;
class TxKikanPanel16;
class TxWizard;

// One line of the chosen data shown on page 2 ("項目" and "内容").
struct TChosenDataLine {
  QString Caption;
  QString Value;
};
using TChosenDataModel = TRecordTableModel<TChosenDataLine>;
// The lines of the open company data: kind, name, year and period.
std::vector<TChosenDataLine> fnChosenDataLines(const TACCINF& AInf);

// The texts of the program block and the window that callers and tests name.
namespace rendo_text {
extern const char* const kTessalyRunning;
extern const char* const kToolsRunning;
extern const char* const kAlreadyRunning;
extern const char* const kCancelQuestion;
extern const char* const kNoDataChosen;
extern const char* const kNoFileGiven;
extern const char* const kConnectFailed;
extern const char* const kChooseAgain;
}  // namespace rendo_text

class TForm1 : public QWidget {
  Q_OBJECT

 public:
  // Window creation: installs the hooks, reads the argument, the identity
  // file and the installed product's version, and creates the export object.
  // When one of these ends the program, Created() is false (the message has
  // been shown) and the program block destroys the window at once.
  // exeFile is the program's own file (its folder holds AppInfo.ini unless
  // RENDO_APPINFO_DIR names another folder).
  TForm1(const QStringList& arguments, const QString& exeFile, QWidget* parent = nullptr);
  // Writes the link settings file (a failure is logged and shown), clears
  // the hooks, gives the caller its window back and posts the end message.
  ~TForm1() override;

  bool Created() const { return FCreated; }
  // Initialisation: folders, local settings, the data module. False (after
  // the failure box) ends the program.
  bool InitForm();

  // The logon and the system definitions, run once when the window first
  // shows. False when the program is to end.
  bool FirstShow();

  // Page 2: the data choice (opens the data-selection dialog by name).
  void btnDataSentakuClick();
  bool fnDataSentaku(int ASyoriType, int AOpenFlg);
  bool fnPage2Check();
  // The option lines handed to the data-selection dialog.
  QString fnDataSentakuOptions() const;

  // The buttons.
  void btnCancelClick();
  void NextClick();
  void BackClick();

  int EndState() const { return FCaller.EndState; }
  const TRendoCaller& Caller() const { return FCaller; }
  TUtiwakesyoDataExport* DataExpInfo() const { return FDataExpInfo.get(); }
  QString ExpFilePath() const { return FExpFilePath; }
  // The current page's name ("page1" .. "page5").
  QString CurrentPageName() const;
  QStringList PageNames() const;

  // Controls, for the keyboard order and for tests.
  TxWizard* Wizard1 = nullptr;
  QPushButton* Button1 = nullptr;  // Back
  QPushButton* Button2 = nullptr;  // Next / Finish
  QPushButton* btnCancel = nullptr;
  QLabel* Memo1a = nullptr;
  QLabel* Memo1b = nullptr;
  QLabel* Label2a = nullptr;
  QPushButton* btnDataSentaku = nullptr;
  QTableView* listDataInfo = nullptr;  // over DataInfoModel()
  TxKikanPanel16* xKikanPanel3a = nullptr;
  QRadioButton* RadioButton3a = nullptr;  // tax included
  QRadioButton* RadioButton3b = nullptr;  // tax excluded
  QLineEdit* Edit4a = nullptr;
  QPushButton* BitBtn4a = nullptr;
  QPlainTextEdit* Memo5b = nullptr;
  // The chosen data set's lines; empty while none is chosen.
  TChosenDataModel* DataInfoModel() const { return FDataInfoModel; }

  // Chooses the output file (the file-save dialog); replaceable for tests.
  std::function<QString(const QString& startDir, const QString& startName)> OnChooseFile;

 signals:
  // The window has closed (after the release step): the program ends.
  void closed();

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void buildControls();
  void prepareTexts();
  void Wizard1NextClicking(bool FinalState, bool& AllowChange);
  void Wizard1NextClick(bool FinalState);
  void Wizard1PageChanged();
  void pcPreparePage3();
  void pcMakeSummary();
  bool fnOutputFileCheck();
  void BitBtn4aClick();
  void pcFinish();
  bool askChooseAgain(const QStringList& lines);
  void disconnectAsRefusal();
  void pcReleaseAtClose();
  void endProgram();
  void fillDataList();
  void clearDataList();

  TChosenDataModel* FDataInfoModel = nullptr;
  bool FCreated = false;
  bool FFirstShown = false;
  bool FClosing = false;
  bool FClosedByProgram = false;
  TRendoCaller FCaller;
  // Started with the argument (no output-file page; the summary is built on
  // leaving page 3; no success box). Not the same as having a caller to
  // tell: the argument may name the window handle 0.
  bool FHasArgument = false;
  QString FExpFilePath;
  QString FWindowsDrive;
  QString FMyDoc;
  QString FErrorMessage;
  bool FLogOn = false;
  bool FDefConnected = false;
  bool FDatConnected = false;
  QString FZenkaiDataPath;
  bool FDataSentakuFlg = false;
  std::unique_ptr<TUtiwakesyoDataExport> FDataExpInfo;
  // Where resizable forms keep their size per operator: installed once the
  // operator has logged on, taken away before the system database goes.
  std::unique_ptr<IFormSizeStore> FFormSizeStore;
  void installFormSizeStore();
  void removeFormSizeStore();
  QList<QWidget*> FPages;
};

// The process-wide application title ("連動ﾃﾞｰﾀの作成" until the window is
// initialised, then the window caption).
QString fnRendoApplicationTitle();
void pcSetRendoApplicationTitle(const QString& ATitle);
