// The password prompts of the data password and the My Number administrator
// password: the input dialog in its password kind, asked up to three times.
#pragma once

#include <QString>

class TInputDlgBox;

// The dialog of try ATry (1 to 3), prepared and centred on the screen; the
// caller frees it. ATitle is the window title, AFirstCaption the first try's
// caption (from the second try on the caption asks again in red), AHint the
// hint line.
TInputDlgBox* fnCreatePasswordTryDlg(int ATry, const QString& ATitle, const QString& AFirstCaption,
                                     const QString& AHint);

// Shows the dialog made by ACreate for try ATry; true and the text typed
// when it was closed with OK.
bool fnAskPasswordTry(TInputDlgBox* (*ACreate)(int), int ATry, QString& AText);
