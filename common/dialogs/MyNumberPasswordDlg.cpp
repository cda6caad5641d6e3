#include "common/dialogs/MyNumberPasswordDlg.h"

#include "common/MyNumber.h"
#include "common/dialogs/PasswordTryDlg.h"

TInputDlgBox* fnCreateMyNumberPasswordDlg(int ATry)
{
  return fnCreatePasswordTryDlg(ATry, QStringLiteral("マイナンバー管理パスワードの確認"),
                                QStringLiteral("マイナンバー管理パスワードを入力して下さい。"),
                                QStringLiteral("パスワード(英数字8文字以内)を入力し、[OK]ボタンを押して下さい。"
                                               "3回続けて失敗すると呼出し元の画面に戻ります。"));
}

void pcInstallMyNumberPasswordPrompt()
{
  MyNumberAdmPasswordPromptProc = [](int ATry, QString& AText) {
    return fnAskPasswordTry(&fnCreateMyNumberPasswordDlg, ATry, AText);
  };
}
