// Checks of the edit repository shared by the data dialogs' grids.
#include "common/DataModule.h"
#include "platform/Format.h"

void TDM::cxEditRepo_Curr_WariaiP1_PlusPropertiesValidate(QVariant& DisplayValue, QString& ErrorText, bool& Error)
{
  double value = 0;
  const bool number = TryStrToFloat(DisplayValue.toString().trimmed(), value);
  QString replacement;
  if (!number || value < 0)
    replacement = QStringLiteral("0");
  else if (value > 100)
    replacement = QStringLiteral("100");
  if (replacement.isEmpty())
    return;
  DisplayValue = replacement;
  Error = false;
  ErrorText.clear();
}

void TDM::cxEditRepo_Text_Hizuke6PropertiesValidate(QVariant& DisplayValue, QString& ErrorText, bool& Error)
{
  const QString typed = DisplayValue.toString();
  if (typed.isEmpty())
    return;
  QString joined;
  for (const QString& part : typed.split(QLatin1Char('/')))
    joined += (QStringLiteral("00") + part.trimmed()).right(2) + QLatin1Char('/');
  joined.truncate(typed.size());
  if (joined == typed)
    return;
  DisplayValue = joined;
  Error = false;
  ErrorText.clear();
}
