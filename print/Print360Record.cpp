#include "print/Print360Record.h"

const QString P360Version = QStringLiteral("VCL.2.5");

TP360DEF::TP360DEF()
{
  PaperName = QStringLiteral("A4");
  PageBango.FontName = QStringLiteral("ＭＳ 明朝");
  PageBango.Format = QStringLiteral("(%d/%d)");
}

TP360DEF P360Def;

void P360DefReset()
{
  P360Def = TP360DEF();
}

QString P360CutText(const QString& text, int length)
{
  if (text.size() <= length)
    return text;
  int n = length;
  if (n > 0 && text.at(n - 1).isHighSurrogate())
    --n;
  return text.left(n);
}
