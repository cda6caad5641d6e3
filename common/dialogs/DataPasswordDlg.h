// The data password prompt: the input dialog in its password kind, asked up
// to three times by TDM::IsDataPassword.
#pragma once

class TInputDlgBox;

// The dialog of try ATry (1 to 3), prepared and ready to show; the caller
// frees it. From the second try on the caption asks again in red.
TInputDlgBox* fnCreateDataPasswordDlg(int ATry);

// Installs the prompt as the data module's DataPasswordPromptProc.
void pcInstallDataPasswordPrompt();
