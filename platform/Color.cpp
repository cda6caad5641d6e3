#include "platform/Color.h"

#include <QString>

namespace {

struct NamedColor {
  const char* name;
  TColor value;
};

constexpr NamedColor kNames[] = {
    {"clBlack", clBlack},
    {"clMaroon", clMaroon},
    {"clGreen", clGreen},
    {"clOlive", clOlive},
    {"clNavy", clNavy},
    {"clPurple", clPurple},
    {"clTeal", clTeal},
    {"clGray", clGray},
    {"clSilver", clSilver},
    {"clRed", clRed},
    {"clLime", clLime},
    {"clYellow", clYellow},
    {"clBlue", clBlue},
    {"clFuchsia", clFuchsia},
    {"clAqua", clAqua},
    {"clWhite", clWhite},
    {"clMoneyGreen", clMoneyGreen},
    {"clSkyBlue", clSkyBlue},
    {"clCream", clCream},
    {"clMedGray", clMedGray},
    {"clNone", clNone},
    {"clDefault", clDefault},
    {"clScrollBar", clScrollBar},
    {"clBackground", clBackground},
    {"clActiveCaption", clActiveCaption},
    {"clInactiveCaption", clInactiveCaption},
    {"clMenu", clMenu},
    {"clWindow", clWindow},
    {"clWindowFrame", clWindowFrame},
    {"clMenuText", clMenuText},
    {"clWindowText", clWindowText},
    {"clCaptionText", clCaptionText},
    {"clActiveBorder", clActiveBorder},
    {"clInactiveBorder", clInactiveBorder},
    {"clAppWorkSpace", clAppWorkSpace},
    {"clHighlight", clHighlight},
    {"clHighlightText", clHighlightText},
    {"clBtnFace", clBtnFace},
    {"clBtnShadow", clBtnShadow},
    {"clGrayText", clGrayText},
    {"clBtnText", clBtnText},
    {"clInactiveCaptionText", clInactiveCaptionText},
    {"clBtnHighlight", clBtnHighlight},
    {"cl3DDkShadow", cl3DDkShadow},
    {"cl3DLight", cl3DLight},
    {"clInfoText", clInfoText},
    {"clInfoBk", clInfoBk},
    {"clHotLight", clHotLight},
    {"clGradientActiveCaption", clGradientActiveCaption},
    {"clGradientInactiveCaption", clGradientInactiveCaption},
    {"clMenuHighlight", clMenuHighlight},
    {"clMenuBar", clMenuBar},
};

// The classic desktop palette for the system colour indexes 0..30.
constexpr TColor kSystem[31] = {
    RGBColor(200, 200, 200), RGBColor(0, 0, 0),       RGBColor(153, 180, 209), RGBColor(191, 205, 219),
    RGBColor(240, 240, 240), RGBColor(255, 255, 255), RGBColor(100, 100, 100), RGBColor(0, 0, 0),
    RGBColor(0, 0, 0),       RGBColor(0, 0, 0),       RGBColor(180, 180, 180), RGBColor(244, 247, 252),
    RGBColor(171, 171, 171), RGBColor(0, 120, 215),   RGBColor(255, 255, 255), RGBColor(240, 240, 240),
    RGBColor(160, 160, 160), RGBColor(109, 109, 109), RGBColor(0, 0, 0),       RGBColor(0, 0, 0),
    RGBColor(255, 255, 255), RGBColor(105, 105, 105), RGBColor(227, 227, 227), RGBColor(0, 0, 0),
    RGBColor(255, 255, 225), RGBColor(180, 180, 180), RGBColor(0, 102, 204),   RGBColor(185, 209, 234),
    RGBColor(215, 228, 242), RGBColor(51, 153, 255),  RGBColor(240, 240, 240),
};

}  // namespace

TColor ColorToRGB(TColor c)
{
  if (c == clNone || c == clDefault)
    return c;
  if (IsSystemColor(c)) {
    const int idx = c & 0xFF;
    return idx < 31 ? kSystem[idx] : clBlack;
  }
  return c & 0x00FFFFFF;
}

bool IdentToColor(const QString& text, TColor& out)
{
  const QString t = text.trimmed();
  for (const NamedColor& n : kNames) {
    if (t.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0) {
      out = n.value;
      return true;
    }
  }
  if (t.startsWith(u'$') && t.size() > 1 && t.size() <= 9) {
    bool ok = false;
    const quint32 v = t.mid(1).toUInt(&ok, 16);
    if (ok) {
      out = TColor(v);
      return true;
    }
  }
  return false;
}

QString ColorToString(TColor c)
{
  for (const NamedColor& n : kNames)
    if (n.value == c)
      return QLatin1String(n.name);
  return QStringLiteral("$%1").arg(quint32(c), 8, 16, QLatin1Char('0')).toUpper();
}
