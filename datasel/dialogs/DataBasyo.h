// TDataPlaceBox: the data places dialog ("データの場所の設定"): names new
// places, renames and deletes them and changes their order; every change is
// stored at once. The data-selection dialog creates one and keeps it.
#pragma once

#include <functional>

#include "common/RecordTableModel.h"
#include "datasel/DataPlaceList.h"
#include "ui/SDI.h"

class QLabel;
class QPushButton;
class QTableView;

// The list of places: one row per place of DATAPLACEMAN in display order.
namespace dpcol {
enum : int { No = 0, Name, Path, Count };
}
class TDataPlaceModel : public TRecordTableModel<TDataPlaceRec> {
 public:
  explicit TDataPlaceModel(QObject* AParent = nullptr);
};

// What the keys and buttons may do on the focused row of the list.
struct TDataPlaceActions {
  bool New = false;     // F2: a free place gets a name
  bool Rename = false;  // F3
  bool Delete = false;  // F5: a named place other than place 0
  bool Up = false;
  bool Down = false;
};
TDataPlaceActions fnDataPlaceActions(const TDataPlaceModel& AModel, int ARow);

class TDataPlaceBox : public TBSDI {
  Q_OBJECT
 public:
  explicit TDataPlaceBox(QWidget* AParent = nullptr);

  void SetProcType(int AValue) { FProcType = AValue; }
  // Reads all places into the list, focuses the first row, sets the captions.
  void SetPrepar(bool AValue);

  // The look-ups over the places as last read (see TDataPlaceStore).
  QString GetItemList() { return FStore.GetItemList(); }
  int SelectRec(int AIndex) const { return FStore.SelectRec(AIndex); }
  QString SelectName(int AIndex) const { return FStore.SelectName(AIndex); }
  QString SelectPath(int AIndex) const { return FStore.SelectPath(AIndex); }
  int RecToIndex(int ARec) const { return FStore.RecToIndex(ARec); }
  QString RecToPath(int ARec) const { return FStore.RecToPath(ARec); }
  int PathToIndex(const QString& APath) const { return FStore.PathToIndex(APath); }
  int PathToRec(const QString& APath) const { return FStore.PathToRec(APath); }
  const TDataPlaceList& DataPlaceList() const { return FStore.List(); }

  // ---- for the keys, the buttons and tests
  QTableView* Grid() const { return FGrid; }
  TDataPlaceModel* Model() const { return FModel; }
  QPushButton* Button(int AKey) const;  // 2, 3, 5; 20 上へ, 21 下へ; 0 閉じる
  QString Caption(int AKey) const;
  void FocusRow(int ARow);
  int FocusedRow() const;
  void NewName();  // F2
  void Rename();   // F3
  void Remove();   // F5
  void Move(int ADelta);

  // How a name is asked (tests replace it): window title, caption, hint and
  // the text in and out; true for OK.
  std::function<bool(const QString&, const QString&, const QString&, QString&)> InputShow;

 protected:
  void FormKeyUp(QKeyEvent* AEvent, int& AKey) override;
  void showEvent(QShowEvent* AEvent) override;

 private:
  void fillGrid();
  void setCaptions();
  bool store();
  int infoBox(const QStringList& ALines);
  TDataPlaceRec* focusedPlace();

  int FProcType = 0;
  TDataPlaceStore FStore;
  QTableView* FGrid = nullptr;
  TDataPlaceModel* FModel = nullptr;
  QPushButton* FBtnNew = nullptr;
  QPushButton* FBtnRename = nullptr;
  QPushButton* FBtnDelete = nullptr;
  QPushButton* FBtnUp = nullptr;
  QPushButton* FBtnDown = nullptr;
  QPushButton* FBtnClose = nullptr;
  QLabel* FHint = nullptr;
};
