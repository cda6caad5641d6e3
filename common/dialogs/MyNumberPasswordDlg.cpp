#include "common/dialogs/MyNumberPasswordDlg.h"

#include <memory>

#include <QGuiApplication>
#include <QScreen>

#include "common/MessageHook.h"
#include "common/MyNumber.h"
#include "ui/z5InputDlg.h"

TInputDlgBox* fnCreateMyNumberPasswordDlg(int ATry)
{
  auto* dlg = new TInputDlgBox(nullptr);
  dlg->SetProcType(1);
  dlg->SetWindowTitle(QStringLiteral("マイナンバー管理パスワードの確認"));
  dlg->SetInputText(QString());
  dlg->SetInputMaxLength(8);
  dlg->SetInputImeMode(imClose);
  dlg->SetInputType(30);
  dlg->SetInputHint(
      QStringLiteral("パスワード(英数字8文字以内)を入力し、[OK]ボタンを押して下さい。"
                     "3回続けて失敗すると呼出し元の画面に戻ります。"));
  if (ATry <= 1) {
    dlg->SetMainCaption(QStringLiteral("マイナンバー管理パスワードを入力して下さい。"));
    dlg->SetMainCaptionColor(dlg->palette().color(QPalette::WindowText));
  } else {
    dlg->SetMainCaption(QStringLiteral("正しいパスワードを入力して下さい。"));
    dlg->SetMainCaptionColor(Qt::red);
  }
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect r = screen->availableGeometry();
    dlg->move(r.center() - QPoint(dlg->width() / 2, dlg->height() / 2));
  }
  dlg->SetPrepare(true);
  return dlg;
}

void pcInstallMyNumberPasswordPrompt()
{
  MyNumberAdmPasswordPromptProc = [](int ATry, QString& AText) {
    std::unique_ptr<TInputDlgBox> dlg(fnCreateMyNumberPasswordDlg(ATry));
    if (dlg->exec() != mrOk)
      return false;
    AText = dlg->InputText();
    return true;
  };
}
