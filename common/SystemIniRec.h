// One numbered system setting of the system database (a row of SYSTEMINI).
#pragma once

#include <QString>

struct TSystemIniRec {
  int Rec = 0;  // the key
  int Info1 = 0;
  int Info2 = 0;
  int Info3 = 0;
  int Info4 = 0;
  int Info5 = 0;
  QString InfoText;
};
