#pragma once
// TBSDI: the base form of the framework's dialogs.
//
// It handles Esc and F12 itself on key release (a QDialog's own Esc and
// default-button handling is off), keeps the modal-result numbers of the
// framework (QDialog::done(mrOk) ...), frees itself on close unless
// ManualFree is set, tracks IME compositions (ImeOnFlg), swallows right
// clicks unless MouseRButtonEnable, shows hints in a hint area, presets
// period selectors and era date edits from the company's fiscal period,
// restores and stores its size per operator, and checks whether it may
// start when a host starts it by process name.
//
// A descendant builds its controls in its constructor and then calls
// FormCreate() (the presets need the controls), sets its own options and
// finally InitFlg := true.

#include <functional>
#include <memory>

#include <QDialog>
#include <QPointer>
#include <QRect>
#include <QVariant>

#include "common/AccRecord.h"  // TsdiDaialogShowPlace
#include "common/FormSizeStore.h"
#include "common/MojiBunkatu.h"
#include "platform/DateTime.h"
#include "ui/AccInterface.h"
#include "ui/z5MessageDlg2.h"

class QAbstractButton;
class TxKikanPanel16;
class TxGridView;
struct TSize;

namespace db {
class Transaction;
}

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

// Host hooks: the menu hook (code 10: number of screens open other than the
// host menu; 11 with the menu window name: minimise it and answer its
// previous state; 4: for the host) and the zoom hook. Both may be unset.
using TMenuSousaProc = std::function<int(int ACode, const QString& AText)>;
using TZoomProc = std::function<void(bool AZoom, int AZoomRank)>;
extern TMenuSousaProc MenuSousaProc;
extern TZoomProc ZoomProc;

// The store in use; nullptr keeps sizes nowhere. The caller keeps ownership.
void pcSetFormSizeStore(IFormSizeStore* AStore);
IFormSizeStore* fnFormSizeStore();

class TBSDI : public QDialog, public IProcShow {
  Q_OBJECT
 public:
  explicit TBSDI(QWidget* AParent = nullptr, TFormBorderStyle ABorderStyle = bsDialog);
  ~TBSDI() override;

  // The program's main window (placement and stored sizes refer to it).
  static void SetMainForm(QWidget* AForm);
  static QWidget* MainForm();

  // Creation steps that need the descendant's controls: the period and
  // era presets. Runs once; the first show runs it when nobody did.
  void FormCreate();

  // ---- IProcShow: descendants started by name override these.
  void SetOptions(const QStringList& AOptions) override { FOptions = AOptions; }
  int ShowDisplay(TIShowType AShowType) override;
  QStringList Options() const { return FOptions; }

  // 1 when the form may be shown; -1 when it has arranged its own closing.
  int fnShowDisplayCheck(TIShowType AShowType);

  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  bool IsDialogStyle() const { return FBorderStyle == bsDialog; }

  // ---- properties
  QWidget* ParentHandle() const { return FParentHandle; }
  void SetParentHandle(QWidget* AValue);
  QString ParentTitle() const { return FParentTitle; }
  int DataType = 0;
  bool MenuMin = false;
  bool HistAdd = false;
  bool MultiShow = false;
  bool FormSize = false;
  bool AccDefRead = false;
  bool Zoom = false;
  int ZoomRank = 0;
  bool CreateCancelFlg = false;
  bool InitFlg = false;
  bool ShoweEventExecFlg = false;
  bool FirstTimeFlg = true;
  bool BtnExecFlg = false;
  bool ImeOnFlg = false;
  bool ManualFree() const { return FManualFree; }
  void SetManualFree(bool AValue);
  QWidget* HintObject = nullptr;
  bool GridReSize = false;
  bool UpdateSiten = false, UpdateKamoku = false, UpdateHojo = false, UpdateBumon = false, UpdateKobetuGenka = false;
  QString GamenValue;
  int GamenMode = 0;
  bool MouseRButtonEnable = false;
  QString HelpFile;
  int LastKey() const { return FLastKey; }
  bool DeactivateFlg = false;
  int KikanPanelStno = 0;
  int MinWidth() const { return FMinWidth; }
  int MinHeight() const { return FMinHeight; }
  // Largest size of the form set at its first show (0: none): the
  // screen's size on screens of 96 pixels per inch or less.
  int MaxWidth() const { return FMaxWidth; }
  int MaxHeight() const { return FMaxHeight; }

  // The control acting as the descendant's OK button for F12: a push
  // button or a panel button.
  QPointer<QWidget> Child_OKButton;
  bool Child_OKButton_FocusMove = true;

  // ---- operations
  void SetHint(QWidget* AActiveObject, QWidget* AHintObject);
  int ShowHtmlHelp();
  void ZoomActive();
  void SetDaialogShowPlace(int ALeft, int ATop, int AWidth, int AHeight, TsdiDaialogShowPlace AShowPlace);
  static QChar fnKeyRestrict(int Mode, QChar Key, const QString& buff);
  static int fnGetFinNo(int Code);
  bool fnChangePermission() { return false; }
  // The form's IME handler: every composition start and end in the thread.
  void IMEStartEndNotify(QWidget* AWnd, bool AStart);
  // Cell of an accounting month (1..12) in a sixteen-period selector.
  static int fnKikanCellNo(int AMonth);
  // The text of the edit ASender with AText put in at the caret (over the
  // selection when there is one), cut to the edit's character limit and
  // trimmed of half- and full-width spaces. An empty edit gives AText as it
  // stands; a sender that is not an edit gives AText too. A limit of 0 cuts
  // nothing.
  QString CaretPosAddText(QWidget* ASender, const QString& AText);
  // 1 when AHizuke lies in the period the audit has closed (AKessan: a
  // closing entry), else 0. With AShowMessage 1 a closed date is explained
  // in a warning box by the operation AProcType (0 input, 1 change,
  // 2 deletion, 3 undeletion of an entry, 4 transfer, 5 deletion, 6 making
  // of entries of a period); other kinds show nothing.
  int IsKansaZumiHizuke(int AProcType, TDateTime AHizuke, int AKessan, int AShowMessage);
  // Splits texts for descendants; its delimiter is ",".
  TMojiBunkatu MojiBunkatu;

  // First-show adaptation to the operator's settings: the layout
  // correction in pixels (ChoseiPixcel) for forms with fixed positions,
  // size constraints and medical-corporation label texts, and the
  // operator's font with the zoom ratio.
  void ResetSizeContainer();
  void SetFSizeParUIControl();
  void InitFormProperty();
  int ZoomDpi = 96;
  // The form's pixels per inch: ZoomDpi once the first show has zoomed the
  // form, before that the screen's.
  int PixelsPerInch() const;

  // The form's grid styles on a grid view: content, odd and even rows,
  // headers, selection and inactive selection; ASwap exchanges the odd
  // and even styles of a view that uses them.
  void SetGridViewStyles(TxGridView* AView, bool ASwap);
  double ZoomRaito = 0;  // |NowFont height| / |DefaultFont height|, one decimal
  int Scale = 100;
  // The recorded design geometry and grid sizes (SDIZoom.cpp): built at the
  // first show, freed when the size is stored at close. Descendants that
  // rebuild a table or tree apply the zoom to it with ResetSizeGridUIControl
  // (ADefValueChange 1 also scales its row height).
  void FreeControlSize();
  void ResetFSizeParGridUIControl();
  void ResetSizeGridUIControl(QWidget* ASender, int ADefValueChange);
  const TSize* SizePar() const;

  // Stored size (per operator and form name).
  void GetFormSize();
  void PutFormSize();
  void SetInitFormSize(int ATop, int ALeft, int AWidth, int AHeight, bool AReSet);

  // Screen values (SDIGamenValue.cpp): GamenValue stored and restored per
  // operator under the form's name (common/GamenKeyValue.h).
  void GamenValueHozon();
  void ZenkaiGamenValueFukugen();

  // Open-process history in the company database (OPINF): 0 start, 1 end.
  void PutProcRirekiInfo(int AState);

  // Typed settings of the open company database. Reads create a missing
  // value with the caller's default; the type word is the caller's.
  // Word "実数" and unknown words read as "Data Type Error" (an empty
  // value when the text came from the RegGroup cache).
  QString RegGroup() const { return FREGGROUP; }
  void SetRegGroup(const QString& Value);
  QVariant fnGetAccReg(const QString& _GROUP, const QString& _Field, const QString& _TYPE, const QString& _Val);
  void pcPutAccReg(const QString& _GROUP, const QString& _Field, const QString& _Type, const QVariant& _Val);
  QVariant fnGetSisetuItem(const QString& _SCODE, const QString& _GROUP, const QString& _Field, const QString& _Type,
                           const QVariant& _Val);
  void pcPutSisetuItem(const QString& _SCODE, const QString& _GROUP, const QString& _Field, const QString& _Type,
                       const QVariant& _Val);
  // Account code of a name and name of a code (ACCDEF2); empty when none.
  QString fnGetSysKCODE(const QString& Par);
  QString fnGetSysKNAME(const QString& Par);
  // The form's own transaction on the company database (the data module's
  // company connection); nullptr without a data module.
  db::Transaction* IBTransactionDAT();

 protected:
  void showEvent(QShowEvent* AEvent) override;
  void closeEvent(QCloseEvent* AEvent) override;
  void keyPressEvent(QKeyEvent* AEvent) override;
  bool eventFilter(QObject* AWatched, QEvent* AEvent) override;
  bool event(QEvent* AEvent) override;
  void done(int AResult) override;

  // The form's own message box for descendants (made at its first use,
  // freed with the form) and the request they fill for fnShowMessageBox2.
  TMessageBox2* MessageBox2();
  TMessage2InfoRec MessageInfoRec;

  // Handlers descendants extend (call the base first).
  virtual void FormShow();
  virtual void FormClose();
  virtual void FormKeyUp(QKeyEvent* AEvent, int& AKey);
  void ShowingChanged();

 private:
  void presetPeriods();
  void closeLater();
  void onFocusChanged(QWidget* AOld, QWidget* ANow);
  void runCloseOnce();
  void applySizeConstraints();

  TFormBorderStyle FBorderStyle = bsDialog;
  QPointer<QWidget> FParentHandle;
  QString FParentTitle;
  bool FManualFree = false;
  int FLastKey = 0;
  bool FCreated = false;
  bool FClosing = false;
  int FMinWidth = 0;
  int FMinHeight = 0;
  int FMaxWidth = 0;
  int FMaxHeight = 0;
  bool FShowHint = true;  // tooltips of the form's widgets (SystemDef.ShowHint)
  bool FZoomDpiSet = false;
  QStringList FOptions;
  QString FREGGROUP;
  QStringList REGLIST1;
  QStringList REGLIST2;
  std::unique_ptr<db::Transaction> FIBTransactionDAT;
  bool FHistoryStarted = false;
  std::unique_ptr<TSize> FSizePar;
  QPointer<TMessageBox2> FMessageBox2;
  void recordControlSizes();
  void applyZoom(double AFactor);
};
