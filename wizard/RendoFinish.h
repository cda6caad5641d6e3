// The finish of the wizard without its boxes: the import file is built and
// saved, and the outcome says which end state the run takes and which texts
// the window shows, in this order: the export error (message and context),
// then the failure text, then another exception's own message; or, when the
// file was created, the success text (shown only when the program runs by
// itself).
#pragma once

#include "wizard/ComDataExp.h"

struct TRendoFinishOutcome {
  bool Created = false;
  int EndState = 2;         // 0 created, 2 failed
  QString ExportErrorText;  // "<message>\r<context>\r" of an export error
  QString FailureText;      // "中間ファイルの作成に失敗しました。\r"
  QString ExceptionText;    // the message of any other exception
  QString CreatedText;      // "中間ファイルが作成されました。\r"
};

// Builds and saves the import file under fileName; never throws. A failure
// leaves no new file (an earlier file of that name stays as it was).
TRendoFinishOutcome fnRendoFinish(TComDataExport& exp, const QString& fileName);
