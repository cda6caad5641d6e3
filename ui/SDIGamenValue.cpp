// The base form's screen value: one text per operator and form, kept in the
// screen values store under the form's name.
#include "common/GamenKeyValue.h"
#include "ui/SDI.h"

void TBSDI::GamenValueHozon()
{
  TGamenKeyValue store;
  store.ValueHozon(objectName(), GamenValue);
}

void TBSDI::ZenkaiGamenValueFukugen()
{
  TGamenKeyValue store;
  GamenValue = store.ValueFukugen(objectName());
}
