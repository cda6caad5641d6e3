#include "common/dialogs/DataPasswordDlg.h"

#include "common/DataModule.h"
#include "common/dialogs/PasswordTryDlg.h"

TInputDlgBox* fnCreateDataPasswordDlg(int ATry)
{
  return fnCreatePasswordTryDlg(ATry, QStringLiteral("パスワードの確認"),
                                QStringLiteral("パスワードを入力して下さい。"),
                                QStringLiteral("パスワード(英数字8文字以内)を入力し、[OK]ボタンを押して下さい。"
                                               "3回続けて失敗すると「データ選択」画面に戻ります。"));
}

void pcInstallDataPasswordPrompt()
{
  DataPasswordPromptProc = [](int ATry, QString& AText) {
    return fnAskPasswordTry(&fnCreateDataPasswordDlg, ATry, AText);
  };
}
