// QColor conversions of platform/Color.h (they need QtGui).
#include <QColor>

#include "platform/Color.h"

QColor toQColor(TColor c)
{
  if (c == clNone)
    return QColor();
  if (c == clDefault)
    return QColor();
  const TColor rgb = ColorToRGB(c);
  return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TColor fromQColor(const QColor& c)
{
  if (!c.isValid())
    return clNone;
  const QColor rgb = c.toRgb();
  return RGBColor(rgb.red(), rgb.green(), rgb.blue());
}
