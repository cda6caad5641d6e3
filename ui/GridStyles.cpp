// Grid styles of the data module and of the base forms.
#include "ui/GridStyles.h"

#include <QCoreApplication>

#include "common/AccRecord.h"
#include "common/DataModule.h"

namespace {

// The design font of the first styles of both repositories.
QFont designFont()
{
  QFont f(QStringLiteral("Segoe UI"));
  f.setPixelSize(12);
  return f;
}

struct TStyleDesign {
  const char* Name;
  TColor Color;
  TColor TextColor;
  bool WithFont;
};

TcxStyle* makeStyle(QObject* AOwner, const TStyleDesign& AD)
{
  auto* s = new TcxStyle(QString::fromLatin1(AD.Name), AOwner);
  s->SetColor(AD.Color);
  s->SetTextColor(AD.TextColor);
  if (AD.WithFont)
    s->SetFont(designFont());
  return s;
}

}  // namespace

// ---------------------------------------------------------------- TcxStyle

TcxStyle::TcxStyle(const QString& AName, QObject* AParent) : QObject(AParent)
{
  setObjectName(AName);
}

void TcxStyle::SetColor(TColor AValue)
{
  if (FColor == AValue)
    return;
  FColor = AValue;
  emit changed();
}

void TcxStyle::SetTextColor(TColor AValue)
{
  if (FTextColor == AValue)
    return;
  FTextColor = AValue;
  emit changed();
}

void TcxStyle::SetFont(const QFont& AValue)
{
  if (FFont && *FFont == AValue)
    return;
  FFont = AValue;
  emit changed();
}

// ---------------------------------------------------------------- TcxStyleRepoDef

TcxStyleRepoDef::TcxStyleRepoDef(QObject* AParent) : QObject(AParent)
{
  setObjectName(QStringLiteral("cxStyleRepoDef"));
  cxStyleTitle = makeStyle(this, {"cxStyleTitle", 0xFBDDB9, clWindowText, true});
  cxStyleTitleTop = makeStyle(this, {"cxStyleTitleTop", clWhite, clNone, true});
  cxStyleTitleEnd = makeStyle(this, {"cxStyleTitleEnd", cl3DLight, clNone, true});
  cxStyleMeisai = makeStyle(this, {"cxStyleMeisai", clWhite, clNone, true});
  cxStyleMeisaiOdd = makeStyle(this, {"cxStyleMeisaiOdd", clWhite, clNone, false});
  cxStyleMeisaiEven = makeStyle(this, {"cxStyleMeisaiEven", clInfoBk, clNone, false});
  cxStyleGokei = makeStyle(this, {"cxStyleGokei", 0xD1ECFE, clNone, false});
  cxStyleSelect = makeStyle(this, {"cxStyleSelect", 0x0080FF, clWhite, false});
  cxStyleLine = makeStyle(this, {"cxStyleLine", clWindowFrame, clWindowFrame, false});
  cxStyleHason = makeStyle(this, {"cxStyleHason", clRed, clNone, false});
  cxStyleKinsi = makeStyle(this, {"cxStyleKinsi", clWhite, clGrayText, false});
  cxStyleKinsiCell = makeStyle(this, {"cxStyleKinsiCell", cl3DLight, clNone, false});
  cxStyleInactive = makeStyle(this, {"cxStyleInactive", clGradientInactiveCaption, clNone, false});
  cxStyleTouka = makeStyle(this, {"cxStyleTouka", clGreen, clNone, false});
  cxStyleTitleRow = makeStyle(this, {"cxStyleTitleRow", 0xFFFBF7, clNone, false});
  cxStyleKinsiFrame = makeStyle(this, {"cxStyleKinsiFrame", clGrayText, clNone, false});
  cxStyleHighlight = makeStyle(this, {"cxStyleHighlight", clHighlight, clWhite, false});
  cxStyleMeisaiZenki = makeStyle(this, {"cxStyleMeisaiZenki", clNone, clNone, false});
  cxStyleMeisaiZZenki = makeStyle(this, {"cxStyleMeisaiZZenki", clNone, clNone, false});
}

QList<TcxStyle*> TcxStyleRepoDef::Styles() const
{
  return {cxStyleTitle,      cxStyleTitleTop,  cxStyleTitleEnd,    cxStyleMeisai,      cxStyleMeisaiOdd,
          cxStyleMeisaiEven, cxStyleGokei,     cxStyleSelect,      cxStyleLine,        cxStyleHason,
          cxStyleKinsi,      cxStyleKinsiCell, cxStyleInactive,    cxStyleTouka,       cxStyleTitleRow,
          cxStyleKinsiFrame, cxStyleHighlight, cxStyleMeisaiZenki, cxStyleMeisaiZZenki};
}

void TcxStyleRepoDef::ApplySystemDef(const TSystemDef& ASysDef, const QFont& AFormFont)
{
  for (TcxStyle* s : Styles())
    s->SetFont(AFormFont);
  cxStyleTitle->SetColor(ASysDef.ColHeaderColor);
  cxStyleTitleTop->SetColor(ASysDef.ColHeaderGradColor1);
  cxStyleTitleEnd->SetColor(ASysDef.ColHeaderGradColor2);
  cxStyleTitleRow->SetColor(ASysDef.RowHeaderColor);
  cxStyleMeisai->SetColor(ASysDef.ClientColor);
  cxStyleMeisaiOdd->SetColor(ASysDef.ClientColor1);
  cxStyleMeisaiEven->SetColor(ASysDef.ClientColor2);
  cxStyleGokei->SetColor(ASysDef.TotalColor);
  cxStyleSelect->SetColor(ASysDef.ActiveColor);
  cxStyleInactive->SetColor(clGradientInactiveCaption);
  cxStyleMeisaiZenki->SetColor(RGBColor(225, 240, 255));
  cxStyleMeisaiZZenki->SetColor(RGBColor(217, 237, 211));
}

TcxStyleRepoDef* fnFormStyleRepoDef(QObject* AForm)
{
  if (!AForm)
    return nullptr;
  if (auto* r = AForm->findChild<TcxStyleRepoDef*>(QStringLiteral("cxStyleRepoDef"), Qt::FindDirectChildrenOnly))
    return r;
  return new TcxStyleRepoDef(AForm);
}

// ---------------------------------------------------------------- data module

namespace {

struct TDataModuleRepo : QObject {
  TcxDataModuleStyles Styles{};

  explicit TDataModuleRepo(QObject* AParent) : QObject(AParent)
  {
    TcxDataModuleStyles& s = Styles;
    s.cxStyleTitle = makeStyle(this, {"cxStyleTitle", 0xFBDDB9, clWindowText, true});
    s.cxStyleTitleTop = makeStyle(this, {"cxStyleTitleTop", clWhite, clWindowText, true});
    s.cxStyleTitleEnd = makeStyle(this, {"cxStyleTitleEnd", cl3DLight, clHighlightText, true});
    s.cxStyleMeisai = makeStyle(this, {"cxStyleMeisai", clWhite, clNone, true});
    s.cxStyleMeisaiOdd = makeStyle(this, {"cxStyleMeisaiOdd", clWhite, clBlack, false});
    s.cxStyleMeisaiEven = makeStyle(this, {"cxStyleMeisaiEven", clInfoBk, clBlack, false});
    s.cxStyleGokei = makeStyle(this, {"cxStyleGokei", 0xD1ECFE, clBlack, false});
    s.cxStyleSelect = makeStyle(this, {"cxStyleSelect", 0x0080FF, clWhite, false});
    s.cxStyleLine = makeStyle(this, {"cxStyleLine", clWindowFrame, clWindowFrame, false});
    s.cxStyleHason = makeStyle(this, {"cxStyleHason", clRed, clBlack, false});
    s.cxStyleKinsi = makeStyle(this, {"cxStyleKinsi", clNone, clGrayText, false});
    s.cxStyleKinsiCell = makeStyle(this, {"cxStyleKinsiCell", cl3DLight, clNone, false});
    s.cxStyleInactive = makeStyle(this, {"cxStyleInactive", clGradientInactiveCaption, clNone, false});
    s.cxStyleTouka = makeStyle(this, {"cxStyleTouka", clGreen, clNone, false});
    s.cxStyleTitleRow = makeStyle(this, {"cxStyleTitleRow", 0xFFFBF7, clNone, false});
    s.cxStyleKinsiFrame = makeStyle(this, {"cxStyleKinsiFrame", clGrayText, clNone, false});
  }

  // The data module holds the font and the nine operator colours (-1 for
  // the two that stand for system colours).
  void Sync()
  {
    if (!DM)
      return;
    const TDM::TGridStyles& g = DM->cxStyleRepository1;
    TcxDataModuleStyles& s = Styles;
    if (!g.Font.Name.isEmpty()) {
      const QFont f = fnFontFromInfo(g.Font);
      for (QObject* o : children())
        if (auto* st = qobject_cast<TcxStyle*>(o))
          st->SetFont(f);
    }
    s.cxStyleTitle->SetColor(g.Title);
    s.cxStyleTitleTop->SetColor(g.TitleTop);
    s.cxStyleTitleEnd->SetColor(g.TitleEnd == clNone ? cl3DLight : g.TitleEnd);
    s.cxStyleTitleRow->SetColor(g.TitleRow);
    s.cxStyleMeisai->SetColor(g.Meisai);
    s.cxStyleMeisaiOdd->SetColor(g.MeisaiOdd);
    s.cxStyleMeisaiEven->SetColor(g.MeisaiEven == clNone ? clInfoBk : g.MeisaiEven);
    s.cxStyleGokei->SetColor(g.Gokei);
    s.cxStyleSelect->SetColor(g.Select);
    s.cxStyleInactive->SetColor(clGradientInactiveCaption);
  }
};

// Owned by the application object, so that its fonts go before the
// application does.
TDataModuleRepo& dataModuleRepo()
{
  static QPointer<TDataModuleRepo> repo;
  if (!repo)
    repo = new TDataModuleRepo(QCoreApplication::instance());
  return *repo;
}

}  // namespace

const TcxDataModuleStyles& fnDataModuleStyles()
{
  TDataModuleRepo& r = dataModuleRepo();
  r.Sync();
  return r.Styles;
}

QFont fnFontFromInfo(const TFontInfo& AInfo)
{
  QFont f;
  if (!AInfo.Name.isEmpty())
    f.setFamily(AInfo.Name);
  if (AInfo.Height < 0)
    f.setPixelSize(-AInfo.Height);
  else if (AInfo.Size > 0)
    f.setPointSize(AInfo.Size);
  f.setBold(AInfo.Style & 1);
  f.setItalic(AInfo.Style & 2);
  f.setUnderline(AInfo.Style & 4);
  f.setStrikeOut(AInfo.Style & 8);
  return f;
}
