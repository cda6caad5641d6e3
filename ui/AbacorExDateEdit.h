#pragma once
// Era date edit: a composite control for a date, a time or both, in Western
// years or Japanese eras: an era selector, an AM/PM selector and up to six
// number fields (year, month, day, hour, minute, second), each followed by
// its caption cell. Reading the value checks what the operator typed; an
// error is shown in a message box, the focus goes to the field at fault and
// the read ends with the silent abort (EAbort).

#include <cstdint>
#include <functional>

#include <QPointer>
#include <QWidget>

#include "acctables/AccGengo.h"
#include "platform/Color.h"
#include "platform/DateTime.h"

class QComboBox;
class QLineEdit;

enum TAbacorExDateEditStyle {
  desYearMonthDayHMS,
  desYearMonthDayHM,
  desYearMonthDayH,
  desYearMonthDay,
  desYearMonth,
  desYear,
  desHourMinuteSecond,
  desHourMinute,
  desHour
};

enum TAbacorExRekiSet { rsSeireki, rsWareki, rsBoth };
enum TAbacorExYeardigitSet { yddigit2, yddigit4 };

enum TAbacorExDateEditError {
  derAllEmpty,
  derYearEmpty,
  derMonthEmpty,
  derDayEmpty,
  derAMPMEmpty,
  derHourEmpty,
  derMinuteEmpty,
  derSecondEmpty,
  derBeforeBaseDate,
  derDateTimeError,
  derDateError,
  derTimeError,
  derSetDateTimeError,
  derSetDateError,
  derSetTimeError,
  derChangeGengo
};

// A set of errors: bit n is member n.
using TAbacorExDateEditErrors = std::uint16_t;
constexpr TAbacorExDateEditErrors derBit(TAbacorExDateEditError e)
{
  return static_cast<TAbacorExDateEditErrors>(1u << e);
}

class TAbacorExDateEdit;

// Caption cell after a number field: a raised cell with its text centred.
class TAbacorExDateEditLabel : public QWidget {
  Q_OBJECT
 public:
  explicit TAbacorExDateEditLabel(TAbacorExDateEdit* AOwner);
  QString Text() const { return FText; }
  void SetText(const QString& AText);
  TColor Color() const { return FColor; }
  void SetColor(TColor AColor);

 protected:
  void paintEvent(QPaintEvent* AEvent) override;

 private:
  TAbacorExDateEdit* FplDate = nullptr;
  QString FText;
  TColor FColor = RGBColor(228, 228, 228);
};

class TAbacorExDateEdit : public QWidget {
  Q_OBJECT
 public:
  explicit TAbacorExDateEdit(QWidget* AParent = nullptr);
  ~TAbacorExDateEdit() override;

  // ---- value
  // Reading checks the fields (EAbort after a reported error); an empty
  // control reads 0. Writing clamps into MinDate..MaxDate and shows it.
  TDateTime DateTime();
  void SetDateTime(TDateTime AValue);
  TDateTime Date() { return DateTime(); }
  void SetDate(TDateTime AValue) { SetDateTime(AValue); }
  bool IsEmpty() const;
  TAbacorExDateEditErrors ErrorKinds() const { return FErrorKinds; }
  bool HasError(TAbacorExDateEditError e) const { return (FErrorKinds & derBit(e)) != 0; }
  TDateTime BaseDate() const { return FBaseDate; }
  void SetEditEmpty();

  // Parts of the value (each read checks the fields first).
  int GengoYear();
  int Year();
  int Month();
  int Day();
  int Hour();
  int Minute();
  int Second();
  QString GengoStr();
  QString GengoYearStr();
  QString YearStr();
  QString MonthStr();
  QString DayStr();
  QString AmpmStr();
  QString HourStr();
  QString MinuteStr();
  QString SecondStr();

  // ---- era table
  void SetGengoRec(const TGengoArray& AValue);
  // The eras offered by the era selector (after "西暦" where it is offered).
  TGengoArray OfferedEras() const;

  // Age in whole years and months from Date1 (birth) to Date2. AgeType 0:
  // the age is reached on the anniversary; other: on the day before.
  static bool GetAge(TDateTime Date1, TDateTime Date2, int AgeType, int& gAge, int& gMonth);

  // ---- properties
  TDateTime MinDate() const { return FMinDate; }
  void SetMinDate(TDateTime AValue);
  TDateTime MaxDate() const { return FMaxDate; }
  void SetMaxDate(TDateTime AValue);
  TAbacorExDateEditStyle EditStyle() const { return FEditStyle; }
  void SetEditStyle(TAbacorExDateEditStyle AValue);
  bool EditGengo() const { return FEditGengo; }
  void SetEditGengo(bool AValue);
  bool EditAmpm() const { return FEditAmpm; }
  void SetEditAmpm(bool AValue);
  TColor LabelColor() const { return FLabelColor; }
  void SetLabelColor(TColor AValue);
  QString LabelYear() const { return FLabelTexts[0]; }
  void SetLabelYear(const QString& AValue) { setLabelText(0, AValue); }
  QString LabelMonth() const { return FLabelTexts[1]; }
  void SetLabelMonth(const QString& AValue) { setLabelText(1, AValue); }
  QString LabelDay() const { return FLabelTexts[2]; }
  void SetLabelDay(const QString& AValue) { setLabelText(2, AValue); }
  QString LabelHour() const { return FLabelTexts[3]; }
  void SetLabelHour(const QString& AValue) { setLabelText(3, AValue); }
  QString LabelMinute() const { return FLabelTexts[4]; }
  void SetLabelMinute(const QString& AValue) { setLabelText(4, AValue); }
  QString LabelSecond() const { return FLabelTexts[5]; }
  void SetLabelSecond(const QString& AValue) { setLabelText(5, AValue); }
  int SpaceWidth() const { return FSpaceWidth; }
  void SetSpaceWidth(int AValue);
  TAbacorExYeardigitSet Yeardigit() const { return FYeardigit; }
  void SetYeardigit(TAbacorExYeardigitSet AValue);
  bool UseWarekiTable() const { return FUseWarekiTable; }
  void SetUseWarekiTable(bool AValue);
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool AValue) { FAutoSelect = AValue; }
  bool CanEmpty() const { return FCanEmpty; }
  void SetCanEmpty(bool AValue) { FCanEmpty = AValue; }
  TAbacorExRekiSet Gengo() const { return FGengo; }
  void SetGengo(TAbacorExRekiSet AValue);
  TColor DisableColor() const { return FDisableColor; }
  void SetDisableColor(TColor AValue);
  TColor DisableFontColor() const { return FDisableFontColor; }
  void SetDisableFontColor(TColor AValue);
  bool DropDownKey() const { return FDropDownKey; }
  void SetDropDownKey(bool AValue) { FDropDownKey = AValue; }
  bool EnterNext() const { return FEnterNext; }
  void SetEnterNext(bool AValue) { FEnterNext = AValue; }
  bool DisplayError() const { return FDisplayError; }
  void SetDisplayError(bool AValue) { FDisplayError = AValue; }
  bool ExitCheck() const { return FExitCheck; }
  void SetExitCheck(bool AValue) { FExitCheck = AValue; }
  TColor FocusedColor() const { return FFocusedColor; }
  void SetFocusedColor(TColor AValue) { FFocusedColor = AValue; }
  QString DialogCaption() const { return FDialogCaption; }
  void SetDialogCaption(const QString& AValue) { FDialogCaption = AValue; }
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool AValue);
  TColor Color() const { return FColor; }
  void SetColor(TColor AValue);
  bool IsFocused() const { return FFocused; }

  // ---- parts
  QComboBox* GengoCombo() const { return FGengoCombo; }
  QComboBox* AmpmCombo() const { return FAmpmCombo; }
  QLineEdit* YearEdit() const { return FEdits[0]; }
  QLineEdit* MonthEdit() const { return FEdits[1]; }
  QLineEdit* DayEdit() const { return FEdits[2]; }
  QLineEdit* HourEdit() const { return FEdits[3]; }
  QLineEdit* MinuteEdit() const { return FEdits[4]; }
  QLineEdit* SecondEdit() const { return FEdits[5]; }
  TAbacorExDateEditLabel* YearLabel() const { return FLabels[0]; }
  TAbacorExDateEditLabel* MonthLabel() const { return FLabels[1]; }
  TAbacorExDateEditLabel* DayLabel() const { return FLabels[2]; }
  TAbacorExDateEditLabel* HourLabel() const { return FLabels[3]; }
  TAbacorExDateEditLabel* MinuteLabel() const { return FLabels[4]; }
  TAbacorExDateEditLabel* SecondLabel() const { return FLabels[5]; }

  // ---- events (the sender is the part that received the key, change or click)
  std::function<void(QObject* Sender, QChar& Key)> OnKeyPress;
  std::function<void(QObject* Sender, int& Key, Qt::KeyboardModifiers Shift)> OnKeyDown;
  std::function<void(QObject* Sender)> OnChange;
  std::function<void(QObject* Sender)> OnClick;

  // The built-in eras used when no table is given.
  static const TGengoArray& BuiltInEras();

 protected:
  virtual void FieldKeyPress(QObject* ASender, QKeyEvent* AEvent, bool& AHandled);
  virtual void FieldKeyDown(QObject* ASender, QKeyEvent* AEvent, bool& AHandled);
  virtual void FieldChange(QObject* ASender);
  virtual void FieldClick(QObject* ASender);
  virtual void FieldEnter(QObject* ASender);

  bool eventFilter(QObject* AWatched, QEvent* AEvent) override;
  void changeEvent(QEvent* AEvent) override;

 private:
  enum TPart { ptGengo, ptYear, ptMonth, ptDay, ptAmpm, ptHour, ptMinute, ptSecond };
  bool partShown(TPart APart) const;
  QWidget* partWidget(TPart APart) const;
  bool yearFourDigits() const;
  bool isEmptyValue(TDateTime AValue) const;
  bool minSet() const { return FMinDate > FEmptyDate; }
  bool maxSet() const { return FMaxDate > FEmptyDate; }
  TDateTime clampValue(TDateTime AValue) const;
  [[noreturn]] void fail(const QString& AText, TAbacorExDateEditErrors AErrors, QWidget* AFocus);
  TDateTime readFields();
  void showValue(TDateTime AValue);
  void clearFields();
  void rebuildEraWindow();
  void refillGengoCombo();
  void setLabelText(int AIndex, const QString& AText);
  void relayout();
  void recolour();
  void applyFieldColour(QWidget* AField, TColor ABack, TColor AFont);
  void leaveControl();

  TDateTime FBaseDate = 0;
  TDateTime FEmptyDate = 0;
  TDateTime FDateTime = 0;
  TDateTime FMinDate = 0;
  TDateTime FMaxDate = 0;
  TAbacorExRekiSet FGengo = rsWareki;
  bool FCanEmpty = true;
  bool FIsEmpty = true;
  bool FAutoSelect = true;
  QString FGengoStr, FGengoYearStr, FAmpmStr, FYearStr, FMonthStr, FDayStr, FHourStr, FMinuteStr, FSecondStr;
  int FGengoYear = 0, FYear = 0, FMonth = 0, FDay = 0, FHour = 0, FMinute = 0, FSecond = 0;
  TAbacorExYeardigitSet FYeardigit = yddigit4;
  TColor FFocusedColor = clWhite;
  TColor FDisableFontColor = clWhite;
  TColor FDisableColor = clGrayText;
  TColor FColor = clWhite;
  TColor FLabelColor = RGBColor(228, 228, 228);
  QLineEdit* FEdits[6] = {};
  TAbacorExDateEditLabel* FLabels[6] = {};
  QComboBox* FGengoCombo = nullptr;
  QComboBox* FAmpmCombo = nullptr;
  QString FLabelTexts[6];
  int FSpaceWidth = 7;
  bool FEditGengo = true;
  bool FEditAmpm = false;
  bool FEnterNext = true;
  bool FExitCheck = false;
  bool FDisplayError = true;
  bool FDropDownKey = true;
  QString FDialogCaption;
  TAbacorExDateEditStyle FEditStyle = desYearMonthDay;
  bool FTabStop = true;
  TAbacorExDateEditErrors FErrorKinds = 0;
  bool FFocused = false;
  int SingleHeight = 0;
  bool fgResize = false;
  bool fgTabStop = true;
  bool FUseWarekiTable = false;
  TGengoArray FGengoRec;
  TGengoArray FGengoRecA;
};
