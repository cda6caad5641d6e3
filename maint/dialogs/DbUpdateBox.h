// The screen of the data-version update ("データベースの更新"): the pending
// steps of the database's kind, the agreement, the progress of a run, the
// check that nobody else uses the database (with the list of logged-on
// operators for the system database) and the reconnection afterwards. The
// data selection keeps one instance and calls DbUpdateInit for every row it
// compares; the update itself is maint/DbUpdate.h.
#pragma once

#include <QDialog>
#include <QString>

#include "common/RecordTableModel.h"
#include "maint/DbUpdate.h"

class QLabel;
class QProgressBar;
class QTableView;
class QTextEdit;
class QWidget;
class TxAnimeProgressDialog;
class TxCheckBox;
class TxPlButton;

// One row of the list: a pending step and its state.
struct TDbUpdateRow {
  QString Version;
  QString Comment1;
  QString Status;
};

class TDbUpdateBox : public QDialog, private TDbUpdateView {
 public:
  explicit TDbUpdateBox(QWidget* AParent = nullptr);
  ~TDbUpdateBox() override;

  void DbUpdateInit(quint8 ADbType, const QString& AVersion = QString());
  int DbUpdateJikkou() { return FUpdate.DbUpdateJikkou(); }
  int DbSilentUpdateJikkou() { return FUpdate.DbSilentUpdateJikkou(); }

  bool DataUpdateJikkoFlg() const { return FUpdate.DataUpdateJikkoFlg(); }
  bool DataUpdateKekkaFlg() const { return FUpdate.DataUpdateKekkaFlg(); }
  int DataConnectFlg() const { return FUpdate.DataConnectFlg(); }
  int DbMajor() const { return FUpdate.DbMajor(); }
  int DbMinor() const { return FUpdate.DbMinor(); }
  int DbRev() const { return FUpdate.DbRev(); }
  QString DBVersion() const { return FUpdate.DBVersion(); }
  TDbUpdate& Update() { return FUpdate; }

  // The operators logged on to the system besides this one, one line each
  // ("[ %.4d ]:  %s" and "\r"); empty for company data.
  QString GetLoginOperatorText();

  // Handlers.
  void ListView1SelectItem(int ARow);
  void cboxAgreeClick();
  void btnOkClick();
  void btnCancelClick();

  // Components.
  QLabel* ImageRed = nullptr;
  QLabel* ImageGrn = nullptr;
  QLabel* lblTitle1 = nullptr;
  QTableView* ListView1 = nullptr;
  QTextEdit* RichEdit1 = nullptr;
  TxCheckBox* cboxAgree = nullptr;
  QLabel* lblTitle2 = nullptr;
  QLabel* lblTitle3 = nullptr;
  QWidget* pnlProgress = nullptr;
  QLabel* Label1 = nullptr;
  QProgressBar* ProgressBar1 = nullptr;
  TxPlButton* btnOk = nullptr;
  TxPlButton* btnCancel = nullptr;
  TxAnimeProgressDialog* xAnimeProgressDialog1 = nullptr;

 protected:
  void keyReleaseEvent(QKeyEvent* AEvent) override;
  void showEvent(QShowEvent* AEvent) override;

 private:
  // TDbUpdateView
  void ProgressShow(const QString& ACaption, const QString& AText) override;
  void ProgressHide() override;
  void StepsBegin(int ACount) override;
  void StepEnded(int AIndex, int AResult) override;
  void StepsEnd() override;

  int Scaled(int APixels) const;
  void Reconnect();

  TDbUpdate FUpdate;
  TRecordTableModel<TDbUpdateRow>* FModel = nullptr;
  bool FRunning = false;  // OK's run guard
  int FResult = 0;
};
