// The data password: a company data set may carry a password that the
// operator must type before the data is used. The prompt itself is a dialog,
// installed as a hook by the dialogs library.
#include "common/AccFunction.h"
#include "common/DataModule.h"

TDataPasswordPromptProc DataPasswordPromptProc;

bool TDM::IsDataPassword(int /*AHandle*/)
{
  if (SystemKind == 1 || SystemKind == 3 || AccInf.DataPassword.isEmpty())
    return true;
  // Without a prompt nobody can type the password: the data stays closed.
  if (!DataPasswordPromptProc)
    return false;
  for (int attempt = 1; attempt <= 3; ++attempt) {
    QString text;
    if (!DataPasswordPromptProc(attempt, text))
      return false;
    if (fnTrimZen(text) == AccInf.DataPassword)
      return true;
  }
  return false;
}
