// The My Number administrator password prompt: the input dialog in its
// password kind, asked up to three times by IsMyNumberAdmPassword.
#pragma once

class TInputDlgBox;

// The dialog of try ATry (1 to 3), prepared and ready to show; the caller
// frees it. From the second try on the caption asks again in red.
TInputDlgBox* fnCreateMyNumberPasswordDlg(int ATry);

// Installs the prompt as MyNumberAdmPasswordPromptProc.
void pcInstallMyNumberPasswordPrompt();
