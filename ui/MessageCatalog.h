// The preset messages of the framework's message box, by code.
#pragma once

#include <QList>

#include "ui/z5MessageDlg2.h"

// Fills `Info` with the preset message `code`: the request is first reset
// as an information box (title "情報", the single button "はい(&Y)"), so the
// caller's lines, captions and agreement settings are discarded, then the
// catalogue's kind, buttons, title and lines are set. Returns false for a
// code outside the catalogue, which leaves the reset record (an empty
// information box). Code 0 changes nothing and returns false.
bool fnPresetMessage2(int code, TMessage2InfoRec& Info);

// The codes of the catalogue.
QList<int> fnPresetMessageCodes();
