#include "common/dialogs/PasswordTryDlg.h"

#include <memory>

#include <QGuiApplication>
#include <QScreen>

#include "common/MessageHook.h"
#include "ui/z5InputDlg.h"

TInputDlgBox* fnCreatePasswordTryDlg(int ATry, const QString& ATitle, const QString& AFirstCaption,
                                     const QString& AHint)
{
  auto* dlg = new TInputDlgBox(nullptr);
  dlg->SetProcType(1);
  dlg->SetWindowTitle(ATitle);
  dlg->SetInputText(QString());
  dlg->SetInputMaxLength(8);
  dlg->SetInputImeMode(imClose);
  dlg->SetInputType(30);
  dlg->SetInputHint(AHint);
  if (ATry <= 1) {
    dlg->SetMainCaption(AFirstCaption);
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

bool fnAskPasswordTry(TInputDlgBox* (*ACreate)(int), int ATry, QString& AText)
{
  std::unique_ptr<TInputDlgBox> dlg(ACreate(ATry));
  if (dlg->exec() != mrOk)
    return false;
  AText = dlg->InputText();
  return true;
}
