#include "ui/UiMessageHook.h"

#include <vector>

#include <QApplication>
#include <QDateTime>
#include <QMessageBox>
#include <QMetaObject>
#include <QPushButton>

#include "common/AccRecord.h"
#include "common/FbError.h"
#include "platform/Exceptions.h"
#include "platform/Paths.h"
#include "platform/gui/Application.h"
#include "ui/AppEnd.h"
#include "ui/z5MessageDlg2.h"

namespace {

QString standardTitle(TMsgDlgType type)
{
  switch (type) {
    case mtWarning:
      return QStringLiteral(u"警告");
    case mtError:
      return QStringLiteral(u"エラー");
    case mtInformation:
      return QStringLiteral(u"情報");
    case mtConfirmation:
      return QStringLiteral(u"確認");
    case mtCustom:
      break;
  }
  return QApplication::applicationName();
}

}  // namespace

int TUiMessageHook::ShowMessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons)
{
  QMessageBox box(QApplication::activeWindow());
  box.setWindowTitle(standardTitle(type));
  box.setText(fnMessageLines(text));
  switch (type) {
    case mtWarning:
      box.setIcon(QMessageBox::Warning);
      break;
    case mtError:
      box.setIcon(QMessageBox::Critical);
      break;
    case mtInformation:
      box.setIcon(QMessageBox::Information);
      break;
    case mtConfirmation:
      box.setIcon(QMessageBox::Question);
      break;
    case mtCustom:
      break;
  }
  std::vector<std::pair<QPushButton*, int>> made;
  QPushButton* escape = nullptr;
  for (TMsgDlgBtn kind : MsgDlgBtnOrder) {
    if (!(buttons & kind))
      continue;
    QPushButton* b = box.addButton(fnMsgDlgBtnCaption(kind), QMessageBox::ActionRole);
    made.emplace_back(b, fnMsgDlgBtnResult(kind));
    if (kind == mbCancel || (kind == mbNo && !escape))
      escape = b;
  }
  if (made.empty())
    made.emplace_back(box.addButton(fnMsgDlgBtnCaption(mbOK), QMessageBox::ActionRole), mrOk);
  box.setDefaultButton(made.front().first);
  if (!escape && made.size() == 1)
    escape = made.front().first;
  if (escape)
    box.setEscapeButton(escape);
  box.exec();
  for (const auto& [b, result] : made)
    if (box.clickedButton() == b)
      return result;
  return mrCancel;
}

int TUiMessageHook::ShowMessageLines(int kind, const QStringList& lines)
{
  TMessage2InfoRec info;
  pcInitMessage2InfoRec(kind, info);
  for (int i = 0; i < lines.size() && i < Message2LineCount; ++i)
    info.Caption[i].Text = lines[i];
  return fnShowMessageBox2(info);
}

void TUiMessageHook::RequestTerminate()
{
  // From any dialog: the open dialogs are closed and the main window told.
  TAppEnd::Request();
}

void pcInstallUiMessageHook()
{
  static TUiMessageHook hook;
  SetMessageHook(&hook);
  pcInstallExceptionReport();
}

void pcReportUnhandledException(const QString& AMessage)
{
  const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"));
  QString line = AMessage;
  line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
  try {
    const QString folder = SystemDef.LOG.isEmpty() ? SystemDef.EXEPATH : SystemDef.LOG;
    if (folder.isEmpty())
      throw EPlatformError(QStringLiteral("no log folder"));
    pcWriteLogLines(PathJoin(folder, QStringLiteral("ErrApplication.log")), {stamp + QLatin1Char('\t') + line}, false);
  } catch (const std::exception& e) {
    // The box below still tells the operator; the log keeps the reason.
    qWarning("Unhandled exception not logged (%s): %s", e.what(), qPrintable(line));
  }
  MessageHook().ShowMessageDlg(AMessage, mtError, mbOK);
}

void pcInstallExceptionReport()
{
  TApplication::setExceptionHook(&pcReportUnhandledException);
}
