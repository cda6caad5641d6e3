#pragma once
// Grid styles: named colour sets (background, text colour, optional font)
// that grid views refer to. A view keeps a reference to a style, not a copy,
// so a style changed later (the operator's colours applied at a form's first
// show) shows in every view that uses it.
//
// Two repositories exist: the data module's, shared by the whole process and
// filled from the data module's values (common/DataModule.h), and the one
// each base form keeps for its own grids ("cxStyleRepoDef"), whose colours
// follow the operator's settings once the form is first shown.

#include <optional>

#include <QFont>
#include <QObject>
#include <QPointer>

#include "platform/Color.h"

struct TSystemDef;
struct TFontInfo;

class TcxStyle : public QObject {
  Q_OBJECT
 public:
  explicit TcxStyle(const QString& AName, QObject* AParent = nullptr);

  // clNone = not set (the view's own colour is used).
  TColor Color() const { return FColor; }
  TColor TextColor() const { return FTextColor; }
  // A font only when one was given.
  const std::optional<QFont>& Font() const { return FFont; }

  void SetColor(TColor AValue);
  void SetTextColor(TColor AValue);
  void SetFont(const QFont& AValue);

 signals:
  void changed();

 private:
  TColor FColor = clNone;
  TColor FTextColor = clNone;
  std::optional<QFont> FFont;
};

// The style repository of a base form, with its design values.
class TcxStyleRepoDef : public QObject {
  Q_OBJECT
 public:
  explicit TcxStyleRepoDef(QObject* AParent = nullptr);

  TcxStyle* cxStyleTitle;
  TcxStyle* cxStyleTitleTop;
  TcxStyle* cxStyleTitleEnd;
  TcxStyle* cxStyleMeisai;
  TcxStyle* cxStyleMeisaiOdd;
  TcxStyle* cxStyleMeisaiEven;
  TcxStyle* cxStyleGokei;
  TcxStyle* cxStyleSelect;
  TcxStyle* cxStyleLine;
  TcxStyle* cxStyleHason;
  TcxStyle* cxStyleKinsi;
  TcxStyle* cxStyleKinsiCell;
  TcxStyle* cxStyleInactive;
  TcxStyle* cxStyleTouka;
  TcxStyle* cxStyleTitleRow;
  TcxStyle* cxStyleKinsiFrame;
  TcxStyle* cxStyleHighlight;
  TcxStyle* cxStyleMeisaiZenki;
  TcxStyle* cxStyleMeisaiZZenki;

  QList<TcxStyle*> Styles() const;

  // The operator's look, applied at the form's first show: every style
  // takes AFormFont; nine styles take the operator's colours of ASysDef,
  // the inactive style the system's inactive-caption gradient, and the
  // previous-year and year-before styles their fixed colours.
  void ApplySystemDef(const TSystemDef& ASysDef, const QFont& AFormFont);
};

// The repository of a form (a child object named "cxStyleRepoDef"), made
// with the design values on first use.
TcxStyleRepoDef* fnFormStyleRepoDef(QObject* AForm);

// The data module's grid styles, process-wide. fnDataModuleStyles() brings
// the colours and font up to date from the data module when one exists, and
// keeps the design values otherwise.
struct TcxDataModuleStyles {
  TcxStyle* cxStyleTitle;
  TcxStyle* cxStyleTitleTop;
  TcxStyle* cxStyleTitleEnd;
  TcxStyle* cxStyleMeisai;
  TcxStyle* cxStyleMeisaiOdd;
  TcxStyle* cxStyleMeisaiEven;
  TcxStyle* cxStyleGokei;
  TcxStyle* cxStyleSelect;
  TcxStyle* cxStyleLine;
  TcxStyle* cxStyleHason;
  TcxStyle* cxStyleKinsi;
  TcxStyle* cxStyleKinsiCell;
  TcxStyle* cxStyleInactive;
  TcxStyle* cxStyleTouka;
  TcxStyle* cxStyleTitleRow;
  TcxStyle* cxStyleKinsiFrame;
};
const TcxDataModuleStyles& fnDataModuleStyles();

// A QFont from the stored font description (name, point size, style bits
// 1 bold, 2 italic, 4 underline, 8 strike-out; a negative height is a pixel
// height and wins over the size).
QFont fnFontFromInfo(const TFontInfo& AInfo);
